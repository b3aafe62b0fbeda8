#pragma once

// The earth that tilts, bulge and clearance are worked over; free of the core's headers, so
// that the modules can include it too.
namespace linkcalc::planning {

inline constexpr double kEarthMeanRadius_m = 6371008.8;  // WGS84 mean radius R1
// Effective earth radius factor of standard refraction: the earth drawn k times its radius.
inline constexpr double kDefaultKFactor = 4.0 / 3.0;

}  // namespace linkcalc::planning
