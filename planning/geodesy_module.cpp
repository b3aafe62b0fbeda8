// The geodesy module: points and geodesics on WGS84 by GeographicLib.
#include <GeographicLib/DMS.hpp>
#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/GeodesicLine.hpp>
#include <GeographicLib/Math.hpp>
#include <GeographicLib/Utility.hpp>

#include <cmath>
#include <string>
#include <vector>

#include "planning/geodesy.h"
#include "planning/module_loader.h"

namespace linkcalc::planning {
namespace {

using GeographicLib::DMS;
using GeographicLib::GeographicErr;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string Trimmed(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return std::string(text.substr(begin, end - begin));
}

// The latitude and the longitude as written: split at a comma when there is one, otherwise at
// blanks, since a DMS angle holds neither.
std::vector<std::string> PartsOf(std::string_view text) {
    std::vector<std::string> parts;
    if (text.find(',') != std::string_view::npos) {
        std::size_t begin = 0;
        for (;;) {
            const std::size_t comma = text.find(',', begin);
            parts.push_back(Trimmed(text.substr(begin, comma - begin)));
            if (comma == std::string_view::npos) break;
            begin = comma + 1;
        }
        return parts;
    }
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i])) ++i;
        const std::size_t begin = i;
        while (i < text.size() && !IsBlank(text[i])) ++i;
        if (i > begin) parts.emplace_back(text.substr(begin, i - begin));
    }
    return parts;
}

std::string Quoted(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    out += text;
    out += '"';
    return out;
}

// GeographicLib's own reason for a part it cannot read, or a value that is not finite.
void CheckPart(const std::string& part, PointError::Part which) {
    const std::string name = which == PointError::Part::First ? "first part " : "second part ";
    if (part.empty()) throw PointError("the " + name + "is empty", which);
    DMS::flag hemisphere = DMS::NONE;
    double value = 0;
    try {
        value = DMS::Decode(part, hemisphere);
    } catch (const GeographicErr& error) {
        throw PointError("the " + name + Quoted(part) + ": " + error.what(), which);
    }
    if (!std::isfinite(value)) {
        throw PointError("the " + name + Quoted(part) + " is not a finite angle", which);
    }
}

double Bearing(double degrees) {
    double bearing = std::fmod(degrees, 360.0);
    if (bearing < 0) bearing += 360.0;
    return bearing >= 360.0 ? 0.0 : bearing + 0.0;  // never -0
}

class GeographicLibGeodesy final : public Geodesy {
  public:
    GeoPoint ParsePoint(std::string_view text) const override {
        const std::vector<std::string> parts = PartsOf(text);
        if (parts.empty()) throw PointError("the point is empty: give a latitude and a longitude");
        if (parts.size() != 2) {
            throw PointError(Quoted(text) + " has " + std::to_string(parts.size()) +
                             (parts.size() == 1 ? " part" : " parts") +
                             ": a point is a latitude and a longitude, separated by a comma "
                             "or blanks");
        }
        CheckPart(parts[0], PointError::Part::First);
        CheckPart(parts[1], PointError::Part::Second);
        GeoPoint point;
        try {
            DMS::DecodeLatLon(parts[0], parts[1], point.lat, point.lon);
        } catch (const GeographicErr& error) {
            throw PointError(Quoted(text) + ": " + error.what());
        }
        // GeographicLib takes any longitude; one past a turn and a half is a slip of the hand.
        if (std::fabs(point.lon) > 540) {
            throw PointError(Quoted(text) + ": longitude " +
                             GeographicLib::Utility::str(point.lon) + "d not in [-540d, 540d]");
        }
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
