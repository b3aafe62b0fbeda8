// Any bytes as a site: the geodesy module's point reader, linked in, gives a point on the
// earth or one line that says which part is at fault and why; never a crash.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "planning/geodesy.h"

extern "C" const void* linkcalc_module_interface(const char* interfaceName);

namespace {

using namespace linkcalc::planning;

void Check(bool condition, const char* what) {
    FuzzCheck(condition, "point parser", what);
}

const Geodesy& Module() {
    static const Geodesy* geodesy =
        static_cast<const Geodesy*>(linkcalc_module_interface(Geodesy::kInterfaceName));
    return *geodesy;
}

bool IsOneLine(const std::string& message) {
    for (const char c : message) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const GeoPoint point = Module().ParsePoint(text);
        Check(std::isfinite(point.lat) && std::fabs(point.lat) <= 90, "a latitude off the earth");
        Check(std::isfinite(point.lon) && std::fabs(point.lon) <= 180,
              "a longitude outside [-180, 180]");
        const GeodesicInverse path = Module().Inverse(point, GeoPoint{0, 0});
        Check(std::isfinite(path.distance_m), "the distance to it is not finite");
    } catch (const PointError& error) {
        const std::string message = error.what();
        Check(!message.empty(), "an error says nothing");
        Check(IsOneLine(message), "an error is not one line of text");
        Check(message.size() < 600, "an error repeats the whole text");
    }
    return 0;
}
