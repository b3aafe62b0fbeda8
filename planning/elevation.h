#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "planning/geodesy.h"
#include "planning/profile.h"

namespace linkcalc::planning {

// Elevations that cannot be had: the DEM or one of its tiles cannot be opened, or a point lies
// outside it or on a hole in it. The message names the file, tile or point.
class ElevationError : public std::runtime_error {
  public:
    enum class Kind : std::uint8_t { CannotOpen, NoData };
    ElevationError(Kind kind, const std::string& what) : std::runtime_error(what), kind_(kind) {}
    Kind WhatFailed() const { return kind_; }

  private:
    Kind kind_;
};

struct Elevations {
    std::vector<double> metres;  // one for each point, above sea level
    // When not empty, what failed; `metres` is then empty.
    std::string fault;
    ElevationError::Kind kind = ElevationError::Kind::NoData;
};

// Ground heights from a digital elevation model, by GDAL; implemented by the dem module.
struct ElevationModel {
    static constexpr const char* kInterfaceName = "elevation/1";
    virtual ~ElevationModel() = default;

    // `dem` is a raster file GDAL reads, in any coordinate system it names (degrees of WGS84
    // when it names none), or a folder of SRTM tiles named after their south-west corner
    // (N40W080.hgt). Between the cells' centres the height is bilinear. Safe to call from
    // several threads at once.
    virtual Elevations At(const std::string& dem, const std::vector<GeoPoint>& points) const = 0;
};

// The heights at the points, through the dem module: throws ModuleError when it cannot be
// loaded and ElevationError when the heights cannot be had.
std::vector<double> ElevationsAt(const std::string& dem, const std::vector<GeoPoint>& points);

// The ground along the geodesic from site 1 to site 2, sampled as SampleCount says, through the
// geodesy and dem modules; throws as ElevationsAt.
std::vector<ProfileSample> DemProfile(const std::string& dem, GeoPoint site1, GeoPoint site2,
                                      double pathLength_m);

}  // namespace linkcalc::planning
