#include "planning/number_text.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <system_error>

namespace linkcalc::planning {
namespace {

// The integer digits of the largest double, and room for a sign, a point and an exponent.
constexpr std::size_t kLongestInteger = std::numeric_limits<double>::max_exponent10 + 1;
constexpr std::size_t kRoom = kLongestInteger + 8;

// Seventeen significant digits say any double, in at most 24 characters.
std::string Scientific(double value) {
    char buffer[32];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 16).ptr;
    return std::string(buffer, end);
}

std::string Written(double value, std::chars_format format, int precision) {
    precision = std::max(precision, 0);
    std::string text(kRoom + static_cast<std::size_t>(precision), '\0');
    char* const first = text.data();
    const auto [end, error] = std::to_chars(first, first + text.size(), value, format, precision);
    // The room above holds every text of these formats; should a library need more, the
    // number is still said whole.
    if (error != std::errc()) return Scientific(value);
    text.resize(static_cast<std::size_t>(end - first));
    return text;
}

}  // namespace

std::string Fixed(double value, int places) {
    return Written(value, std::chars_format::fixed, places);
}

std::string FixedText(double value, int places) {
    std::string text = Fixed(value, places);
    // Below half the last place, or at half where to_chars rounds to the even zero.
    if (text.starts_with('-') && text.find_first_not_of("-0.") == std::string::npos) {
        text.erase(0, 1);
    }
    return text;
}

std::string TrimmedFixed(double value, int places) {
    std::string text = Fixed(value, places);
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') text.pop_back();
    }
    return text;
}

std::string Shortest(double value) {
    // "-2.2250738585072014e-308" is as long as a shortest text gets.
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return error == std::errc() ? std::string(buffer, end) : Scientific(value);
}

std::string General(double value, int precision) {
    return Written(value, std::chars_format::general, precision);
}

}  // namespace linkcalc::planning
