#pragma once

#include <numbers>

#include "planning/earth.h"

// What the earth holds: heights and lengths beyond these are slips of the hand or broken data,
// refused before any figure is worked out from them. Free of the core's headers, so that the
// modules can include it too.
namespace linkcalc::planning {

// Ground and terrain elevations, metres above sea level: below the deepest ocean floor
// (10 935 m) to above the highest summit (8 849 m).
inline constexpr double kLowestGround_m = -11000;
inline constexpr double kHighestGround_m = 9000;
// Obstructions standing on the ground and masts above it, metres: above the tallest building
// (828 m).
inline constexpr double kHighestObstruction_m = 1000;
inline constexpr double kHighestMast_m = 1000;
// No geodesic is longer than half the earth's circumference.
inline constexpr double kLongestPath_m = std::numbers::pi * kEarthMeanRadius_m;

}  // namespace linkcalc::planning
