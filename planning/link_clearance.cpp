#include "planning/link_clearance.h"

#include <cmath>

#include "planning/elevation.h"
#include "planning/number_text.h"
#include "planning/terrain_csv.h"

namespace linkcalc::planning {

LinkClearance ClearanceOfRun(const MemorySheet& sheet, const RunValues& values,
                             const GroundSource& ground, const EndsGiven& ends, double k) {
    LinkClearance link;
    link.path = PathOfRun(sheet, values);
    if (ground.length_m) link.path.length_m = *ground.length_m;
    ClearanceInput& input = link.input;
    input.pathLength_m = link.path.length_m;
    input.frequencyMHz = link.path.frequencyMHz;
    input.k = k;
    if (!(input.pathLength_m <= kLongestPath_m)) {
        throw PathLengthError("a path of " + MetresText(input.pathLength_m) +
                              " is longer than any on the earth (" + MetresText(kLongestPath_m) +
                              "): no clearance");
    }
    if (ground.terrain) {
        CheckTerrainLength(*ground.terrain, input.pathLength_m);
        input.samples = ProfileFromRows(*ground.terrain, input.pathLength_m);
    } else if (ground.dem && ground.site1 && ground.site2) {
        input.samples = DemProfile(*ground.dem, *ground.site1, *ground.site2, input.pathLength_m);
    } else {
        input.samples = BareEarthProfile(input.pathLength_m);
    }
    input.end1.ground_m = ends.ground1_m.value_or(input.samples.front().elevation_m);
    input.end2.ground_m = ends.ground2_m.value_or(input.samples.back().elevation_m);
    input.end1.mast_m = ends.mast1_m.value_or(link.path.suggestedMast_m);
    input.end2.mast_m = ends.mast2_m.value_or(link.path.suggestedMast_m);
    link.clearance = ComputeClearance(input);
    return link;
}

std::string TypedDistance(double metres, const std::string& unit) {
    const bool km = unit == "Km";
    // Five decimals of a mile are 16 mm: the whole metre survives the trip.
    const double value = km ? std::round(metres) / 1000 : std::round(metres) / kMetresPerMile;
    return TrimmedFixed(value, km ? 3 : 5);
}

}  // namespace linkcalc::planning
