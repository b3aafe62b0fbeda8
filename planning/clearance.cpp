#include "planning/clearance.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace linkcalc::planning {
namespace {

// A mast of exactly the reported height clears, whatever the last bit of its arithmetic.
constexpr double kHeightTolerance_m = 1e-6;

// The mast, the same at both ends, that lifts the line of sight `q` zone radii above the top.
double MastFor(double q, const ClearancePoint& point, const ClearanceInput& input) {
    const double ground1 = input.end1.ground_m;
    const double ground2 = input.end2.ground_m;
    return q * point.fresnel_m + point.top_m - ground1 -
           (ground2 - ground1) * point.distance_m / input.pathLength_m;
}

}  // namespace

Clearance ComputeClearance(const ClearanceInput& input) {
    if (input.samples.size() < 2 || !(input.pathLength_m > 0) || !(input.frequencyMHz > 0) ||
        !(input.k > 0)) {
        throw std::invalid_argument("clearance needs two samples, a path, a frequency and k");
    }
    const double d = input.pathLength_m;
    const double wavelength = kSpeedOfLight_m_s / (input.frequencyMHz * 1e6);
    const double h1 = input.end1.ground_m + input.end1.mast_m;
    const double h2 = input.end2.ground_m + input.end2.mast_m;

    Clearance result;
    result.k = input.k;
    result.points.reserve(input.samples.size());
    result.clear60 = true;
    double mast60 = 0;
    double mast100 = 0;
    double worstRatio = std::numeric_limits<double>::infinity();
    bool worstFound = false;
    for (const ProfileSample& sample : input.samples) {
        ClearancePoint point;
        point.distance_m = sample.distance_m;
        point.elevation_m = sample.elevation_m;
        point.obstruction_m = sample.obstruction_m;
        const double x = std::clamp(sample.distance_m, 0.0, d);
        const double y = d - x;
        point.bulge_m = x * y / (2 * input.k * kEarthMeanRadius_m);
        point.fresnel_m = std::sqrt(wavelength * x * y / d);
        point.sight_m = h1 + (h2 - h1) * x / d;
        point.top_m = sample.elevation_m + sample.obstruction_m + point.bulge_m;
        point.clearance_m = point.sight_m - point.top_m;
        point.ratio = point.fresnel_m > 0 ? point.clearance_m / point.fresnel_m : 0;
        if (point.clearance_m < 0.6 * point.fresnel_m - kHeightTolerance_m) result.clear60 = false;
        mast60 = std::max(mast60, MastFor(0.6, point, input));
        mast100 = std::max(mast100, MastFor(1.0, point, input));
        if (point.fresnel_m > 0 && point.ratio < worstRatio) {
            worstRatio = point.ratio;
            result.worst = result.points.size();
            worstFound = true;
        }
        result.points.push_back(point);
    }
    // A path of two samples has no point between its ends: the worst is the lower end.
    if (!worstFound) {
        result.worst = result.points.front().clearance_m <= result.points.back().clearance_m
                           ? 0
                           : result.points.size() - 1;
    }
    result.mast60_m = mast60;
    result.mast100_m = mast100;
    return result;
}

}  // namespace linkcalc::planning
