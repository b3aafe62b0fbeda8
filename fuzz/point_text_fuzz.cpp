// Any bytes as a point text: what the grammar accepts reads, to the bit, as GeographicLib's DMS
// decoding reads it (the same angles, hemispheres and refusals); the library sees no other text.
#include <GeographicLib/DMS.hpp>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "planning/point_text.h"

namespace {

using namespace linkcalc::planning;
using GeographicLib::DMS;

void Check(bool condition, const char* what) {
    FuzzCheck(condition, "point text", what);
}

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

std::optional<Angle> Accepted(const std::string& part, PointError::Part which) {
    try {
        return ReadAngle(part, which);
    } catch (const PointError& error) {
        Check(error.At() == which, "a part's refusal names another part");
        return std::nullopt;
    }
}

void CompareAngle(const std::string& part, const Angle& angle) {
    DMS::flag flag = DMS::NONE;
    double degrees = 0;
    try {
        degrees = DMS::Decode(part, flag);
    } catch (const GeographicLib::GeographicErr&) {
        Check(false, "the library refuses a part the grammar reads");
    }
    Check(SameBits(degrees, angle.degrees), "the library reads another angle");
    Check(static_cast<int>(flag) == static_cast<int>(angle.hemisphere),
          "the library reads another hemisphere");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    PointParts parts;
    try {
        parts = SplitPoint(text);
    } catch (const PointError& error) {
        Check(error.At() == PointError::Part::Whole, "a split names a part");
        return 0;
    }
    const auto first = Accepted(parts.first, PointError::Part::First);
    const auto second = Accepted(parts.second, PointError::Part::Second);
    if (first) CompareAngle(parts.first, *first);
    if (second) CompareAngle(parts.second, *second);
    if (!first || !second) return 0;

    std::optional<GeoPoint> ours;
    try {
        ours = PointOf(text, parts, *first, *second);
    } catch (const PointError& error) {
        Check(error.At() == PointError::Part::Whole, "a point's refusal names a part");
    }
    double lat = 0;
    double lon = 0;
    try {
        DMS::DecodeLatLon(parts.first, parts.second, lat, lon);
    } catch (const GeographicLib::GeographicErr&) {
        Check(!ours, "the grammar reads a point the library refuses");
        return 0;
    }
    if (!ours) {
        // Beyond the library: a longitude past a turn and a half.
        Check(std::fabs(lon) > 540, "the grammar refuses a point the library reads");
        return 0;
    }
    Check(SameBits(lat, ours->lat), "the library reads another latitude");
    Check(SameBits(lon, ours->lon), "the library reads another longitude");
    return 0;
}
