#include "planning/elevation.h"

#include "planning/module_loader.h"

namespace linkcalc::planning {

std::vector<double> ElevationsAt(const std::string& dem, const std::vector<GeoPoint>& points) {
    Elevations elevations = LoadModule<ElevationModel>("dem").At(dem, points);
    if (!elevations.fault.empty()) throw ElevationError(elevations.kind, elevations.fault);
    return std::move(elevations.metres);
}

std::vector<ProfileSample> DemProfile(const std::string& dem, GeoPoint site1, GeoPoint site2,
                                      double pathLength_m) {
    const std::size_t count = SampleCount(pathLength_m);
    const std::vector<GeoPoint> points =
        LoadModule<Geodesy>("geodesy").PointsAlong(site1, site2, count);
    const std::vector<double> heights = ElevationsAt(dem, points);
    std::vector<ProfileSample> samples(count);
    for (std::size_t i = 0; i < count; ++i) {
        samples[i].distance_m =
            pathLength_m * static_cast<double>(i) / static_cast<double>(count - 1);
        samples[i].elevation_m = heights[i];
    }
    return samples;
}

}  // namespace linkcalc::planning
