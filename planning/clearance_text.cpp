#include "planning/clearance_text.h"

#include <array>
#include <charconv>
#include <cmath>

#include "planning/run_path.h"

namespace linkcalc::planning {

std::string FixedText(double value, int decimals) {
    if (std::abs(value) < 0.5 * std::pow(10.0, -decimals)) value = 0;
    std::array<char, 64> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                   std::chars_format::fixed, decimals)
                         .ptr;
    return std::string(buffer.data(), end);
}

double ClearanceUnits::MetresPerHeight() const {
    return metric ? 1.0 : kMetresPerFoot;
}

double ClearanceUnits::MetresPerDistance() const {
    return metric ? 1000.0 : kMetresPerMile;
}

std::string ClearanceUnits::Height(double metres) const {
    return FixedText(metres / MetresPerHeight(), 1) + " " + HeightUnit();
}

std::string ClearanceUnits::Distance(double metres) const {
    return FixedText(metres / MetresPerDistance(), 2) + " " + DistanceUnit();
}

std::string KFactorText(double k) {
    if (k == kDefaultKFactor) return "4/3";
    std::array<char, 32> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), k,
                                   std::chars_format::general, 6)
                         .ptr;
    return std::string(buffer.data(), end);
}

std::string RatioText(double ratio) {
    return FixedText(ratio, 2);
}

}  // namespace linkcalc::planning
