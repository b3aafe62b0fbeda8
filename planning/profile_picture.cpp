#include "planning/profile_picture.h"

#include <algorithm>
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

ProfileDrawing DrawingOfRun(const MemorySheet& sheet, const RunPath& path,
                            const ClearanceInput& input, const Clearance& clearance,
                            const std::vector<LegendLine>& siteLines) {
    const ClearanceUnits units{path.metric};
    const auto text = [&](Field field) { return sheet.Text(field); };

    ProfileDrawing drawing;
    drawing.clearance = clearance;
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
