#include "planning/link_map.h"

#include <algorithm>
#include <cmath>

#include "linkcalc/numeric_text.h"
#include "planning/number_text.h"

namespace linkcalc::planning {
namespace {

constexpr double kMapStep_m = 10000;
constexpr std::size_t kMaxMapPoints = 512;

}  // namespace

LinkColour ColourOf(const MapLink& link) {
    if (link.outcome != "completed") return LinkColour::Red;
    const auto margin = ParseNumericText(link.fadeMargin);
    if (!margin || *margin < 0) return LinkColour::Red;
    return *margin >= 10 ? LinkColour::Green : LinkColour::Yellow;
}

std::string DescriptionOf(const MapLink& link) {
    const LinkGeometry& g = link.geometry;
    std::string out = "Inputs: " + link.inputs + "\n";
    out += "Outcome: " + link.outcome;
    if (!link.message.empty()) out += ": " + link.message;
    out += "\n";
    out += "Distance: " + Fixed(g.distance_m, 0) + " m\n";
    out += "Bearings: " + Fixed(g.azimuth1_deg, 2) + " deg at site 1, " + Fixed(g.azimuth2_deg, 2) +
           " deg at site 2\n";
    if (g.tilt1_deg && g.tilt2_deg) {
        out += "Tilts: " + Fixed(*g.tilt1_deg, 3) + " deg at site 1, " + Fixed(*g.tilt2_deg, 3) +
               " deg at site 2\n";
    }
    out += "Fade margin: " + (link.fadeMargin.empty() ? "-" : link.fadeMargin + " dB") + "\n";
    out += "Bit rates: " + (link.bitRateUni.empty() ? "-" : link.bitRateUni) + " Mbit/s one way, " +
           (link.bitRateBi.empty() ? "-" : link.bitRateBi) + " Mbit/s both ways";
    return out;
}

MapLine LineOf(const MapLink& link) {
    MapLine line;
    line.name = link.name;
    line.description = DescriptionOf(link);
    line.colour = ColourOf(link);
    line.site1 = link.geometry.site1;
    line.site2 = link.geometry.site2;
    line.path = link.path.empty() ? std::vector<GeoPoint>{line.site1, line.site2} : link.path;
    return line;
}

std::vector<GeoPoint> MapPathOf(const Geodesy& geodesy, const LinkGeometry& geometry) {
    const double steps = std::ceil(geometry.distance_m / kMapStep_m);
    const std::size_t count = steps > static_cast<double>(kMaxMapPoints - 1)
                                  ? kMaxMapPoints
                                  : std::max<std::size_t>(2, static_cast<std::size_t>(steps) + 1);
    if (count == 2) return {geometry.site1, geometry.site2};
    return geodesy.PointsAlong(geometry.site1, geometry.site2, count);
}

}  // namespace linkcalc::planning
