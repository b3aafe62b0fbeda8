#include "cli/clearance_report.h"

#include <array>
#include <cmath>

#include <nlohmann/json.hpp>

#include "planning/clearance_text.h"

namespace linkcalc::cli {
namespace {

// Millimetres are more than any profile knows.
double Rounded(double value, int places) {
    const double scale = std::pow(10.0, places);
    const double rounded = std::round(value * scale) / scale;
    return rounded == 0 ? 0 : rounded;
}

std::string Row(const std::string& label, const std::string& value) {
    std::string line = "  " + label;
    line.append(label.size() < 26 ? 26 - label.size() : 1, ' ');
    return line + value + "\n";
}

}  // namespace

std::string ClearanceBlock(const planning::LinkClearance& link, std::string_view ground) {
    const planning::ClearanceUnits units{link.path.metric};
    const planning::Clearance& c = link.clearance;
    const planning::ClearancePoint& worst = c.points[c.worst];
    std::string out = "Clearance\n";
    out += Row("Ground", std::string(ground));
    out += Row("Earth radius factor k", planning::KFactorText(c.k));
    out += Row("Samples", std::to_string(c.points.size()));
    out += Row("Antenna heights", units.Height(link.input.end1.mast_m) + " at site 1, " +
                                      units.Height(link.input.end2.mast_m) + " at site 2");
    out += Row("Worst point", units.Distance(worst.distance_m) + " from site 1, clearance " +
                                  units.Height(worst.clearance_m) + ", " +
                                  planning::RatioText(worst.ratio) + " of the zone radius");
    out += Row("60 % of the zone clear", c.clear60 ? "yes" : "no");
    out += Row("Masts for 60 % clear", units.Height(c.mast60_m));
    out += Row("Masts for 100 % clear", units.Height(c.mast100_m));
    return out;
}

std::string ClearanceJson(const planning::Clearance& c) {
    using Json = nlohmann::ordered_json;
    const planning::ClearancePoint& worst = c.points[c.worst];
    Json json;
    json["k"] = c.k;
    json["samples"] = c.points.size();
    json["worst"] = {{"distance_m", Rounded(worst.distance_m, 3)},
                     {"clearance_m", Rounded(worst.clearance_m, 3)},
                     {"ratio", Rounded(worst.ratio, 4)}};
    json["clear60"] = c.clear60;
    json["mast60_m"] = Rounded(c.mast60_m, 3);
    json["mast100_m"] = Rounded(c.mast100_m, 3);
    return json.dump();
}

std::array<std::string, 8> ClearanceValues(const planning::Clearance& c) {
    const planning::ClearancePoint& worst = c.points[c.worst];
    return {planning::Shortest(c.k),
            std::to_string(c.points.size()),
            planning::Shortest(Rounded(worst.distance_m, 3)),
            planning::Shortest(Rounded(worst.clearance_m, 3)),
            planning::Shortest(Rounded(worst.ratio, 4)),
            c.clear60 ? "true" : "false",
            planning::Shortest(Rounded(c.mast60_m, 3)),
            planning::Shortest(Rounded(c.mast100_m, 3))};
}

}  // namespace linkcalc::cli
