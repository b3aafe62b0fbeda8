// The geodesy module: geodesics on WGS84 by GeographicLib, and the points they join.
#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/GeodesicLine.hpp>
#include <GeographicLib/Math.hpp>

#include <cmath>
#include <string>
#include <vector>

#include "planning/geodesy.h"
#include "planning/module_loader.h"
#include "planning/point_text.h"

namespace linkcalc::planning {
namespace {

double Bearing(double degrees) {
    double bearing = std::fmod(degrees, 360.0);
    if (bearing < 0) bearing += 360.0;
    return bearing >= 360.0 ? 0.0 : bearing + 0.0;  // never -0
}

class GeographicLibGeodesy final : public Geodesy {
  public:
    // Read by our own grammar: GeographicLib's DMS decoding is never handed a point text.
    GeoPoint ParsePoint(std::string_view text) const override {
        GeoPoint point = ReadPoint(text);
        point.lon = GeographicLib::Math::AngNormalize(point.lon);
        return point;
    }

    GeodesicInverse Inverse(GeoPoint from, GeoPoint to) const override {
        double distance = 0;
        double azimuth1 = 0;
        double azimuth2 = 0;
        GeographicLib::Geodesic::WGS84().Inverse(from.lat, from.lon, to.lat, to.lon, distance,
                                                 azimuth1, azimuth2);
        // GeographicLib gives the forward azimuth at `to`; the bearing back is its reverse.
        return {distance, Bearing(azimuth1), Bearing(azimuth2 + 180.0)};
    }

    std::vector<GeoPoint> PointsAlong(GeoPoint from, GeoPoint to,
                                      std::size_t count) const override {
        if (count < 2) count = 2;
        const GeographicLib::GeodesicLine line =
            GeographicLib::Geodesic::WGS84().InverseLine(from.lat, from.lon, to.lat, to.lon);
        std::vector<GeoPoint> points;
        points.reserve(count);
        const double step = line.Distance() / static_cast<double>(count - 1);
        for (std::size_t i = 0; i < count; ++i) {
            GeoPoint point;
            if (i == 0) {
                point = from;
            } else if (i + 1 == count) {
                point = to;
            } else {
                line.Position(step * static_cast<double>(i), point.lat, point.lon);
            }
            // The ends as given, though a turn away: every point in [-180, 180].
            point.lon = GeographicLib::Math::AngNormalize(point.lon);
            points.push_back(point);
        }
        return points;
    }
};

const GeographicLibGeodesy geodesy;

}  // namespace
}  // namespace linkcalc::planning

LINKCALC_MODULE_IMPLEMENTS(linkcalc::planning::Geodesy, linkcalc::planning::geodesy)
