#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "linkcalc/memory_sheet.h"
#include "linkcalc/run_values.h"
#include "planning/clearance.h"
#include "planning/earth_bounds.h"
#include "planning/geodesy.h"
#include "planning/run_path.h"

namespace linkcalc::planning {

// Where the ground under the path comes from: a terrain's rows, a DEM sampled between the two
// sites, or else a bare earth at sea level.
struct GroundSource {
    std::optional<std::vector<ProfileSample>> terrain;
    std::optional<std::string> dem;
    std::optional<GeoPoint> site1, site2;  // needed by a DEM
    // The sites' geodesic distance: the path length, rather than the one the run kept from
    // its distance text.
    std::optional<double> length_m;
};

// What is known of the two ends beyond the ground source; left out, the ground is the
// profile's first and last height and the mast the run's suggested antenna height.
struct EndsGiven {
    std::optional<double> ground1_m, ground2_m, mast1_m, mast2_m;
};

struct LinkClearance {
    RunPath path;
    ClearanceInput input;
    Clearance clearance;
};

class PathLengthError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The clearance of a completed run's path. Throws PathLengthError for a path longer than
// kLongestPath_m, TerrainLengthError when the terrain's length disagrees with the path's, and what
// DemProfile throws.
LinkClearance ClearanceOfRun(const MemorySheet& sheet, const RunValues& values,
                             const GroundSource& ground, const EndsGiven& ends = {},
                             double k = kDefaultKFactor);

// The distance text typed for a path of this length in the unit text ("Km" or else miles),
// to the metre: 10100 m is "10.1" in Km and "6.27586" in miles.
std::string TypedDistance(double metres, const std::string& unit);

}  // namespace linkcalc::planning
