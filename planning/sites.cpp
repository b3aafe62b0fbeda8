#include "planning/sites.h"

#include <cmath>
#include <numbers>

#include "linkcalc/numeric_text.h"
#include "planning/number_text.h"

namespace linkcalc::planning {
namespace {

constexpr double kMetresPerMile = 1609.344;
constexpr double kMetresPerFoot = 0.3048;

GeoPoint PointOf(const Geodesy& geodesy, std::string_view text, int site) {
    try {
        return geodesy.ParsePoint(text);
    } catch (const PointError& error) {
        throw SiteError(site, error.At(), error.what());
    }
}

}  // namespace

LinkGeometry LocateSites(const Geodesy& geodesy, const SiteInputs& inputs) {
    LinkGeometry geometry;
    geometry.site1 = PointOf(geodesy, inputs.point1, 1);
    geometry.site2 = PointOf(geodesy, inputs.point2, 2);
    const GeodesicInverse path = geodesy.Inverse(geometry.site1, geometry.site2);
    geometry.distance_m = path.distance_m;
    geometry.azimuth1_deg = path.azimuth1_deg;
    geometry.azimuth2_deg = path.azimuth2_deg;
    geometry.ground1_m = inputs.ground1_m;
    geometry.ground2_m = inputs.ground2_m;
    geometry.mast1_m = inputs.mast1_m;
    geometry.mast2_m = inputs.mast2_m;
    return geometry;
}

std::string DistanceText(double distance_m, std::string_view unitText) {
    const double metres = std::round(distance_m);
    // Five places of a mile are 1.6 cm: the text keeps the whole metres.
    if (unitText == "Km") return TrimmedFixed(metres / 1000, 3);
    return TrimmedFixed(metres / kMetresPerMile, 5);
}

double TiltDeg(double from_m, double to_m, double distance_m) {
    const double radians = std::atan((to_m - from_m) / distance_m) -
                           distance_m / (2 * kDefaultKFactor * kEarthMeanRadius_m);
    return radians * 180 / std::numbers::pi;
}

void CompleteHeights(LinkGeometry& geometry, const CalcSheet& sheet, RunOutcome outcome) {
    if (outcome == RunOutcome::Completed && (!geometry.mast1_m || !geometry.mast2_m)) {
        // The shown height, in metres when the unit text is "Km" and in feet otherwise.
        const auto suggested = ParseNumericText(sheet.Text(Field::TxtSAH));
        if (suggested) {
            const double metres =
                sheet.Text(Field::Cmbmilekm) == "Km" ? *suggested : *suggested * kMetresPerFoot;
            if (!geometry.mast1_m) geometry.mast1_m = metres;
            if (!geometry.mast2_m) geometry.mast2_m = metres;
        }
    }
    geometry.tilt1_deg.reset();
    geometry.tilt2_deg.reset();
    if (!geometry.mast1_m || !geometry.mast2_m || !(geometry.distance_m > 0)) return;
    const double top1 = geometry.ground1_m + *geometry.mast1_m;
    const double top2 = geometry.ground2_m + *geometry.mast2_m;
    geometry.tilt1_deg = TiltDeg(top1, top2, geometry.distance_m);
    geometry.tilt2_deg = TiltDeg(top2, top1, geometry.distance_m);
}

void WriteSiteDistance(CalcSheet& sheet, double distance_m) {
    if (sheet.Text(Field::Cmbmilekm).empty()) sheet.SetText(Field::Cmbmilekm, "Km");
    sheet.SetText(Field::TxtDM, DistanceText(distance_m, sheet.Text(Field::Cmbmilekm)));
}

SiteRun RunWithSites(const Geodesy& geodesy, const SiteInputs& inputs, CalcSheet& sheet,
                     RunValues& values) {
    SiteRun run;
    run.geometry = LocateSites(geodesy, inputs);
    WriteSiteDistance(sheet, run.geometry.distance_m);
    run.result = CalcRun(sheet, values);
    CompleteHeights(run.geometry, sheet, run.result.outcome);
    return run;
}

}  // namespace linkcalc::planning
