#include <cmath>

#include "linkcalc/numeric_text.h"
#include "run_failure.h"
#include "stages.h"

namespace linkcalc {
namespace {

// Not the fade margin's 1.609: the two stages convert miles with their own constants.
constexpr double kKilometresPerMile = 1.60934;
constexpr double kFreeSpaceLossConstant = 36.6;  // MHz and miles
constexpr double kFresnelConstant = 72.1;        // miles, GHz, feet
constexpr double kMhzPerGhz = 1000;
constexpr double kCurvatureDivisor = 8;  // feet, miles
constexpr double kMetresPerFoot = 0.3048;

void WriteRounded(CalcSheet& sheet, Field field, double value) {
    sheet.SetText(field, Checked(FailureCause::DistanceTooLarge,
                                 [&] { return roundoff(TextOfNumber(value)); }));
}

}  // namespace

void ComputePathGeometry(CalcSheet& sheet, RunValues& values) {
    using Cause = FailureCause;
    const double f =
        Checked(Cause::BandInvalid, [&] { return NumberOfText(sheet.Text(Field::CmbEFreq)); });
    values.FrequencyMHz = f;
    const double bandTerm = Checked(Cause::BandInvalid, [&] { return 20 * Log10(f); });

    const double entered =
        Checked(Cause::DistanceTooLarge, [&] { return NumberOfText(sheet.Text(Field::TxtDM)); });
    const bool metric = sheet.Text(Field::Cmbmilekm) == "Km";
    const double d = metric ? entered / kKilometresPerMile : entered;
    values.DistanceMiles = d;

    const double distanceTerm = Checked(Cause::DistanceNotPositive, [&] { return 20 * Log10(d); });
    const double loss = (bandTerm + kFreeSpaceLossConstant) + distanceTerm;
    WriteRounded(sheet, Field::TxtFSL, loss);

    double radius = Checked(Cause::DistanceTooLarge, [&] {
        return kFresnelConstant * std::pow(std::pow(d / 2, 2) * kMhzPerGhz / (f * d), 0.5);
    });
    if (metric) radius = radius * kMetresPerFoot;
    WriteRounded(sheet, Field::TxtFR, radius);

    double curvature =
        Checked(Cause::DistanceTooLarge, [&] { return std::pow(d, 2) / kCurvatureDivisor; });
    if (metric) curvature = curvature * kMetresPerFoot;
    WriteRounded(sheet, Field::TxtEC, curvature);

    const double height = Checked(Cause::DistanceTooLarge, [&] { return radius + curvature; });
    WriteRounded(sheet, Field::TxtSAH, height);
}

}  // namespace linkcalc
