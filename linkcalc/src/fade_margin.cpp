#include <string>

#include "linkcalc/numeric_text.h"
#include "run_failure.h"
#include "shown_number.h"
#include "stages.h"

namespace linkcalc {
namespace {

constexpr double kMhzPerGhz = 1000;
// The fade margin converts with 1.609, the path geometry with 1.60934: each stage keeps its own
// constant, and the shown fade margin depends on this one.
constexpr double kKilometresPerMile = 1.609;
constexpr double kFreeSpaceLossConstant = 92.4;  // GHz and kilometres

}  // namespace

void ComputeFadeMargin(StagedSheet& sheet, RunValues& v) {
    using Cause = FailureCause;
    v.FrequencyMHz = v.FrequencyMHz / kMhzPerGhz;
    const double bandTerm = Checked(Cause::BandInvalid, [&] { return 20 * Log10(v.FrequencyMHz); });
    const double km =
        Checked(Cause::DistanceTooLarge, [&] { return v.DistanceMiles * kKilometresPerMile; });
    const double distanceTerm = Checked(Cause::DistanceNotPositive, [&] { return 20 * Log10(km); });

    // The power budget leaves the transmit power unwritten only for a band it does not know.
    const auto shownPower = ParseNumericText(sheet.View(Field::TxtMTP));
    if (!shownPower) Fail(Cause::BandInvalid);
    v.RadioTxPower =
        Checked(Cause::TransmitPower1OutOfRange, [&] { return IntegerOfValue(*shownPower); });
    const double power = v.RadioTxPower;
    const double margin = Checked(Cause::GainsTooLarge, [&] {
        return (((v.AntennaGain2 + v.AntennaGain1) + power) - v.RxSensitivity) -
               ((bandTerm + kFreeSpaceLossConstant) + distanceTerm);
    });
    sheet.SetText(Field::TxtFM,
                  Checked(Cause::GainsTooLarge, [&] { return Roundoff2OfNumber(margin); }));
}

}  // namespace linkcalc
