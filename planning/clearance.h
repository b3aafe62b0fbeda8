#pragma once

#include <cstddef>
#include <vector>

#include "planning/earth.h"
#include "planning/profile.h"

namespace linkcalc::planning {

inline constexpr double kSpeedOfLight_m_s = 299792458;

// One end of the path: the ground under the mast and the antenna's height above it.
struct PathEnd {
    double ground_m = 0;
    double mast_m = 0;
};

struct ClearanceInput {
    std::vector<ProfileSample> samples;  // from 0 to the path length, increasing
    double pathLength_m = 0;
    double frequencyMHz = 0;
    double k = kDefaultKFactor;  // effective earth radius factor
    PathEnd end1, end2;
};

// What the path looks like at one sample, all heights in metres above sea level.
struct ClearancePoint {
    double distance_m = 0;
    double elevation_m = 0;
    double obstruction_m = 0;
    double bulge_m = 0;      // x·y / (2kR)
    double fresnel_m = 0;    // first Fresnel zone radius, √(λ·x·y / d)
    double sight_m = 0;      // the straight line between the antennas
    double top_m = 0;        // ground + obstruction + bulge
    double clearance_m = 0;  // sight − top
    double ratio = 0;        // clearance / Fresnel radius; 0 at the ends, where there is no zone
};

struct Clearance {
    double k = kDefaultKFactor;
    std::vector<ClearancePoint> points;
    std::size_t worst = 0;  // index of the point with the smallest ratio between the ends
    bool clear60 = false;   // 60 % of the first zone clear at every point
    // The smallest mast, the same at both ends, that clears 60 % and 100 % of the zone at every
    // point; never below zero.
    double mast60_m = 0;
    double mast100_m = 0;
};

// Needs two samples at least, a positive path length, frequency and k.
Clearance ComputeClearance(const ClearanceInput& input);

}  // namespace linkcalc::planning
