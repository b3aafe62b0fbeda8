#pragma once

#include <string>
#include <string_view>

#include "planning/geodesy.h"

namespace linkcalc::planning {

// The point texts the tool reads, by a grammar of its own: a latitude and a longitude,
// separated by a comma or by blanks, each one of
//   40.4406   -79.9959   +40.4406                   decimal degrees
//   40:26:46  40:26.77   -79:58:56.5                degrees:minutes[:seconds]
//   40d26'46" 40°26′46″  40d26.77'  40.4406°        marks of degrees, minutes and seconds
// with a hemisphere letter (N S E W, either case) before or after the angle instead of a sign.
// The marks are d D ° º ˚ for degrees, ' ′ ’ ´ for minutes, " ″ ” or two minute marks for
// seconds, and − may stand for -. Every text it accepts reads as GeographicLib's DMS decoding
// reads it, to the bit; it refuses every other text, so that text never reaches that decoding.

// The two parts of a point text as written, without the blanks around them.
struct PointParts {
    std::string first;
    std::string second;
};

// The angle a hemisphere letter makes of a part (as DMS::flag: NONE, LATITUDE, LONGITUDE).
enum class Hemisphere { None = 0, Latitude = 1, Longitude = 2 };

struct Angle {
    double degrees = 0;
    Hemisphere hemisphere = Hemisphere::None;
};

// Split at the comma when there is one, otherwise at blanks; anything but two parts throws
// PointError (the whole text).
PointParts SplitPoint(std::string_view text);

// One part by the grammar above; throws PointError naming `part` and the reason.
Angle ReadAngle(std::string_view text, PointError::Part part);

// The latitude and the longitude the two angles make: the hemisphere letters say which is which,
// otherwise the latitude comes first. The longitude is in [-540, 540], as written (not brought
// into [-180, 180]). Throws PointError (the whole text) for two latitudes or two longitudes and
// for a latitude or a longitude out of range, showing the part as written.
GeoPoint PointOf(std::string_view text, const PointParts& parts, Angle first, Angle second);

// SplitPoint, ReadAngle on each part, then PointOf.
GeoPoint ReadPoint(std::string_view text);

}  // namespace linkcalc::planning
