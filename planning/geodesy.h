#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace linkcalc::planning {

// A point on the WGS84 ellipsoid, in degrees.
struct GeoPoint {
    double lat = 0;
    double lon = 0;
};

// A point text that cannot be read; the message says which part and why.
class PointError : public std::runtime_error {
  public:
    // The part at fault: the whole text, or its first or second part (as written, before
    // hemisphere letters say which is the latitude).
    enum class Part { Whole, First, Second };
    explicit PointError(const std::string& what, Part part = Part::Whole)
        : std::runtime_error(what), part_(part) {}
    Part At() const { return part_; }

  private:
    Part part_;
};

struct GeodesicInverse {
    double distance_m = 0;
    double azimuth1_deg = 0;  // at `from`, toward `to`, true bearing in [0, 360)
    double azimuth2_deg = 0;  // at `to`, toward `from`, true bearing in [0, 360)
};

// Geodesics on WGS84, by GeographicLib; implemented by the geodesy module.
struct Geodesy {
    static constexpr const char* kInterfaceName = "geodesy/1";
    virtual ~Geodesy() = default;

    // A latitude and a longitude in a form point_text.h reads ("40.4406,-79.9959",
    // "40°26'46\"N 79°58'56\"W", ...), the longitude in [-180, 180]; throws PointError.
    virtual GeoPoint ParsePoint(std::string_view text) const = 0;
    virtual GeodesicInverse Inverse(GeoPoint from, GeoPoint to) const = 0;
    // `count` points (at least 2) equally spaced along the geodesic, both ends included.
    virtual std::vector<GeoPoint> PointsAlong(GeoPoint from, GeoPoint to,
                                              std::size_t count) const = 0;
};

}  // namespace linkcalc::planning
