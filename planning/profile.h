#pragma once

#include <cstddef>
#include <vector>

#include "planning/earth_bounds.h"

namespace linkcalc::planning {

// The ground under the path at one distance from site 1.
struct ProfileSample {
    double distance_m = 0;
    double elevation_m = 0;    // above sea level
    double obstruction_m = 0;  // trees or buildings standing on the ground
};

inline constexpr double kSampleSpacing_m = 30;
inline constexpr std::size_t kMinimumSamples = 100;
// The samples of the longest path: no path is looked at in more.
inline constexpr std::size_t kMaxPathSamples =
    static_cast<std::size_t>(kLongestPath_m / kSampleSpacing_m) + 2;

// How many equally spaced samples, both ends included, a path of this length is looked at in:
// no gap wider than the spacing, and never fewer than the minimum. Throws std::invalid_argument
// for a length below 0 or beyond kLongestPath_m.
std::size_t SampleCount(double pathLength_m);

// A bare earth at sea level, sampled as SampleCount says.
std::vector<ProfileSample> BareEarthProfile(double pathLength_m);

// The rows of a terrain (increasing distance, from site 1 to site 2) on the equally spaced
// samples, plus every row itself so that no ridge is cut off; between rows the ground and what
// stands on it are taken as straight. The rows' distances are stretched to the path length,
// which they are expected to agree with closely. At most SampleCount and the rows' count.
std::vector<ProfileSample> ProfileFromRows(const std::vector<ProfileSample>& rows,
                                           double pathLength_m);

}  // namespace linkcalc::planning
