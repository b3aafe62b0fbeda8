#include "planning/profile_picture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "planning/clearance_text.h"

namespace linkcalc::planning {
namespace {

// A list text without the blank that pads it (" 6 Mbps").
std::string Bare(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

}  // namespace

Clearance DrawnClearance(const Clearance& clearance, double pathLength_m) {
    const std::vector<ClearancePoint>& points = clearance.points;
    if (points.size() <= 4 * kDrawnColumns || !(pathLength_m > 0)) return clearance;
    Clearance drawn;
    drawn.k = clearance.k;
    drawn.clear60 = clearance.clear60;
    drawn.mast60_m = clearance.mast60_m;
    drawn.mast100_m = clearance.mast100_m;
    const auto columnOf = [&](const ClearancePoint& p) {
        const double column = std::floor(p.distance_m / pathLength_m * kDrawnColumns);
        return static_cast<std::size_t>(
            std::clamp(column, 0.0, static_cast<double>(kDrawnColumns - 1)));
    };
    const auto ground = [](const ClearancePoint& p) { return p.elevation_m + p.bulge_m; };
    std::size_t begin = 0;
    while (begin < points.size()) {
        const std::size_t column = columnOf(points[begin]);
        std::size_t end = begin + 1;
        while (end < points.size() && columnOf(points[end]) == column) ++end;
        std::array<std::size_t, 7> kept{begin, end - 1, begin, begin, begin, begin, begin};
        for (std::size_t i = begin; i < end; ++i) {
            const ClearancePoint& p = points[i];
            if (ground(p) < ground(points[kept[2]])) kept[2] = i;
            if (ground(p) > ground(points[kept[3]])) kept[3] = i;
            if (p.top_m > points[kept[4]].top_m) kept[4] = i;
            if (p.ratio < points[kept[5]].ratio) kept[5] = i;
            if (i == clearance.worst) kept[6] = i;
        }
        std::sort(kept.begin(), kept.end());
        for (std::size_t k = 0; k < kept.size(); ++k) {
            if (k > 0 && kept[k] == kept[k - 1]) continue;
            if (kept[k] == clearance.worst) drawn.worst = drawn.points.size();
            drawn.points.push_back(points[kept[k]]);
        }
        begin = end;
    }
    return drawn;
}

ProfileDrawing DrawingOfRun(const MemorySheet& sheet, const RunPath& path,
                            const ClearanceInput& input, const Clearance& clearance,
                            const std::vector<LegendLine>& siteLines) {
    const ClearanceUnits units{path.metric};
    const auto text = [&](Field field) { return sheet.Text(field); };

    ProfileDrawing drawing;
    drawing.clearance = DrawnClearance(clearance, input.pathLength_m);
    drawing.pathLength_m = input.pathLength_m;
    drawing.end1 = input.end1;
    drawing.end2 = input.end2;
    drawing.distanceUnit = units.DistanceUnit();
    drawing.metresPerDistanceUnit = units.MetresPerDistance();
    drawing.heightUnit = units.HeightUnit();
    drawing.metresPerHeightUnit = units.MetresPerHeight();
    drawing.title = "Path profile: " + text(Field::TxtDM) + " " + text(Field::Cmbmilekm) + " at " +
                    text(Field::CmbEFreq) + " MHz";
    drawing.site1Label = "Site 1: mast " + units.Height(input.end1.mast_m);
    drawing.site2Label = "Site 2: mast " + units.Height(input.end2.mast_m);
    const ClearancePoint& worst = clearance.points[clearance.worst];
    drawing.worstLabel =
        worst.clearance_m < 0
            ? "Worst point: " + units.Height(-worst.clearance_m) + " above the line of sight"
            : "Worst point: " + units.Height(worst.clearance_m) + " clear, " +
                  RatioText(worst.ratio) + " of the zone radius";
    double bulge = 0;
    for (const ClearancePoint& point : clearance.points) bulge = std::max(bulge, point.bulge_m);
    drawing.bulgeLabel =
        "Earth bulge " + units.Height(bulge) + " (k = " + KFactorText(clearance.k) + ")";

    auto& legend = drawing.legend;
    legend.push_back({"Link", ""});
    legend.push_back({"Distance", text(Field::TxtDM) + " " + text(Field::Cmbmilekm)});
    legend.push_back({"Band", text(Field::CmbEFreq) + " MHz"});
    legend.push_back({"Speed", Bare(text(Field::CmbSlcSpeed))});
    legend.push_back({"Free-space loss", text(Field::TxtFSL) + " dB"});
    legend.push_back(
        {"Expected RSSI 1 / 2", text(Field::TxtERSSI) + " / " + text(Field::TxtERSSI2) + " dBm"});
    legend.push_back({"Fade margin", text(Field::TxtFM) + " dB"});
    legend.push_back({"Bit rate one way", text(Field::TxtEBtRateUni) + " Mbit/s"});
    legend.push_back({"Bit rate both ways", text(Field::TxtEBRBi) + " Mbit/s"});
    legend.insert(legend.end(), siteLines.begin(), siteLines.end());

    legend.push_back({"Clearance", ""});
    legend.push_back({"Worst point at", units.Distance(worst.distance_m)});
    legend.push_back({"Clearance there", units.Height(worst.clearance_m)});
    legend.push_back({"Clearance / zone radius", RatioText(worst.ratio)});
    legend.push_back({"60 % of the zone clear", clearance.clear60 ? "yes" : "no"});
    legend.push_back({"Masts drawn 1 / 2",
                      units.Height(input.end1.mast_m) + " / " + units.Height(input.end2.mast_m)});
    legend.push_back({"Masts for 60 % clear", units.Height(clearance.mast60_m)});
    legend.push_back({"Masts for 100 % clear", units.Height(clearance.mast100_m)});
    legend.push_back({"Earth radius factor k", KFactorText(clearance.k)});
    return drawing;
}

}  // namespace linkcalc::planning
