#include <cmath>

#include "linkcalc/numeric_text.h"
#include "run_failure.h"
#include "stages.h"

namespace linkcalc {
namespace {

constexpr double kFramingBytes = 26;
constexpr double kBitsPerByte = 8;
constexpr double kSymbolMicroseconds = 4;
constexpr double kPacketMicroseconds = 24;
constexpr double kMicrosecondsPerMile = 10.758;
constexpr double kOneWayMicroseconds = 80;
constexpr double kMillion = 1000000;

}  // namespace

void ComputeThroughput(CalcSheet& sheet, RunValues& v) {
    using Cause = FailureCause;
    const double s = Checked(Cause::PacketSizeNotNumeric,
                             [&] { return NumberOfText(sheet.Text(Field::Txtepksz)); });
    // A blank before a minus sign gets past validation; a negative size gives no rate.
    if (s < 0) Fail(Cause::PacketSizeNegative);

    const double bits =
        Checked(Cause::PacketSizeTooLarge, [&] { return (s + kFramingBytes) * kBitsPerByte; });
    const double symbols =
        Checked(Cause::SpeedInvalid, [&] { return std::floor(bits / v.DataBitsPerSymbol); });
    const double propagation =
        Checked(Cause::DistanceTooLarge, [&] { return v.DistanceMiles * kMicrosecondsPerMile; });

    const auto rate = [&](double extraMicroseconds) {
        return Checked(Cause::PacketSizeTooLarge, [&] {
            double airTime = (symbols * kSymbolMicroseconds + kPacketMicroseconds) + propagation;
            if (extraMicroseconds != 0) airTime = airTime + extraMicroseconds;
            const double packetsPerSecond = std::floor(kMillion / airTime);
            return ((packetsPerSecond * s) * kBitsPerByte) / kMillion;
        });
    };
    const double oneWay = rate(kOneWayMicroseconds);
    const double twoWay = rate(0);
    sheet.SetText(Field::TxtEBtRateUni, Checked(Cause::PacketSizeTooLarge,
                                                [&] { return roundoff2(TextOfNumber(oneWay)); }));
    sheet.SetText(Field::TxtEBRBi, Checked(Cause::PacketSizeTooLarge,
                                           [&] { return roundoff2(TextOfNumber(twoWay)); }));
}

}  // namespace linkcalc
