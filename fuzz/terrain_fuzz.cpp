// Any bytes as a terrain file: rows from 0 in increasing distance with finite heights, or an
// error that says why; a profile and a clearance over any rows it accepts, with finite figures
// and masts that clear what they say; never a crash.
#include <cmath>
#include <cstdint>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "planning/clearance.h"
#include "planning/profile.h"
#include "planning/terrain_csv.h"

namespace {

using namespace linkcalc::planning;

void Check(bool condition, const char* what) {
    FuzzCheck(condition, "terrain", what);
}

void CheckRows(const std::vector<ProfileSample>& rows) {
    Check(!rows.empty() && rows.front().distance_m == 0, "the rows do not start at 0");
    for (std::size_t i = 0; i < rows.size(); ++i) {
        Check(std::isfinite(rows[i].elevation_m) && std::isfinite(rows[i].obstruction_m),
              "a height is not finite");
        if (i > 0) Check(rows[i].distance_m > rows[i - 1].distance_m, "distances do not increase");
    }
}

void CheckClearance(const std::vector<ProfileSample>& rows) {
    const double length = rows.back().distance_m;
    // Lengths beyond a planet's make no path, and a sampled profile of them would not fit in
    // memory; the command line refuses them by the 1 % check against the run's distance.
    if (!(length > 0 && length < 1e7) || rows.size() < 2) return;
    ClearanceInput input;
    input.samples = ProfileFromRows(rows, length);
    input.pathLength_m = length;
    input.frequencyMHz = 5800;
    input.end1 = {rows.front().elevation_m, 10};
    input.end2 = {rows.back().elevation_m, 10};
    const Clearance clearance = ComputeClearance(input);
    Check(clearance.points.size() == input.samples.size(), "a sample has no point");
    Check(clearance.worst < clearance.points.size(), "the worst point is not a point");
    Check(std::isfinite(clearance.mast60_m) && std::isfinite(clearance.mast100_m),
          "a mast is not finite");
    Check(clearance.mast60_m >= 0 && clearance.mast60_m <= clearance.mast100_m + 1e-6,
          "the 60 % mast is not between 0 and the 100 % mast");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const std::vector<ProfileSample> rows = ReadTerrainCsv(text);
        CheckRows(rows);
        CheckClearance(rows);
    } catch (const TerrainError& error) {
        Check(*error.what() != '\0', "an error says nothing");
    }
    return 0;
}
