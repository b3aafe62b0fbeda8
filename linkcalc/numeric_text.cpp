#include "linkcalc/numeric_text.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace linkcalc {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Saturating bound for decimal exponents: far beyond the double range either way.
constexpr long long kExponentBound = 1'000'000'000LL;

// Value of 0.<digits> x 10^exponent, where digits has no leading or trailing zero.
std::optional<double> ValueOfDigits(std::string_view digits, long long exponent, bool negative) {
    if (exponent > 400) return std::nullopt;               // beyond the largest double
    if (exponent < -400) return negative ? -0.0 : 0.0;     // below the smallest one
    std::string literal;
    literal.reserve(digits.size() + 8);
    literal += "0.";
    literal += digits;
    literal += 'e';
    char buffer[24];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, exponent);
    (void)ec;
    literal.append(buffer, end);
    double value = 0;
    const auto result =
        std::from_chars(literal.data(), literal.data() + literal.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        if (exponent > 0) return std::nullopt;
        value = 0;
    } else if (result.ec != std::errc{}) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

}  // namespace

std::optional<double> ParseNumericText(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == ' ') ++i;

    bool negative = false;
    bool leadingSign = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        leadingSign = true;
        negative = text[i] == '-';
        ++i;
    }

    const std::size_t intBegin = i;
    while (i < n && IsDigit(text[i])) ++i;
    const std::size_t intEnd = i;
    std::size_t fracBegin = i;
    std::size_t fracEnd = i;
    if (i < n && text[i] == '.') {
        fracBegin = ++i;
        while (i < n && IsDigit(text[i])) ++i;
        fracEnd = i;
    }
    if (intBegin == intEnd && fracBegin == fracEnd) return std::nullopt;

    long long exponent = 0;
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        bool exponentNegative = false;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            exponentNegative = text[i] == '-';
            ++i;
        }
        const std::size_t exponentBegin = i;
        while (i < n && IsDigit(text[i])) {
            if (exponent < kExponentBound) exponent = exponent * 10 + (text[i] - '0');
            ++i;
        }
        if (i == exponentBegin) return std::nullopt;
        if (exponentNegative) exponent = -exponent;
    }

    if (!leadingSign && i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    while (i < n && text[i] == ' ') ++i;
    if (i != n) return std::nullopt;

    // Gather the significant digits as 0.<digits> x 10^exponent.
    std::string_view intDigits = text.substr(intBegin, intEnd - intBegin);
    std::string_view fracDigits = text.substr(fracBegin, fracEnd - fracBegin);
    while (!intDigits.empty() && intDigits.front() == '0') intDigits.remove_prefix(1);
    long long pointShift = static_cast<long long>(intDigits.size());
    if (intDigits.empty()) {
        while (!fracDigits.empty() && fracDigits.front() == '0') {
            fracDigits.remove_prefix(1);
            --pointShift;
            if (pointShift < -kExponentBound) pointShift = -kExponentBound;
        }
    }
    std::string digits;
    digits.reserve(intDigits.size() + fracDigits.size());
    digits.append(intDigits);
    digits.append(fracDigits);
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
    if (digits.empty()) return negative ? -0.0 : 0.0;
    return ValueOfDigits(digits, exponent + pointShift, negative);
}

bool IsNumericText(std::string_view text) { return ParseNumericText(text).has_value(); }

double NumberOfText(std::string_view text) {
    if (const auto value = ParseNumericText(text)) return *value;
    throw NumericTextError("not a numeric text");
}

std::string TextOfNumber(double x) {
    if (x == 0) return "0";
    // d.dddddddddddddde+XX: rounded to 15 significant digits.
    char buffer[40];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific, 14);
    if (ec != std::errc{}) return "0";
    const std::string_view rounded(buffer, static_cast<std::size_t>(end - buffer));
    const bool negative = rounded.front() == '-';
    const std::size_t first = negative ? 1 : 0;
    const std::size_t ePos = rounded.find('e');
    std::string digits;
    digits += rounded[first];
    digits.append(rounded.substr(first + 2, ePos - first - 2));
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    int exponent = 0;
    std::from_chars(rounded.data() + ePos + (rounded[ePos + 1] == '+' ? 2 : 1),
                    rounded.data() + rounded.size(), exponent);

    std::string out;
    if (negative) out += '-';
    if (exponent < -4 || exponent >= 15) {
        out += digits.front();
        if (digits.size() > 1) {
            out += '.';
            out.append(digits, 1);
        }
        out += 'E';
        out += exponent < 0 ? '-' : '+';
        const int magnitude = exponent < 0 ? -exponent : exponent;
        if (magnitude < 10) out += '0';
        out += std::to_string(magnitude);
    } else if (exponent < 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
    } else {
        const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= integerDigits) {
            out += digits;
            out.append(integerDigits - digits.size(), '0');
        } else {
            out.append(digits, 0, integerDigits);
            out += '.';
            out.append(digits, integerDigits);
        }
    }
    return out;
}

std::int16_t IntegerOfText(std::string_view text) {
    const double rounded = std::nearbyint(NumberOfText(text));  // ties to even
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) {
        throw NumericTextError("outside the 16-bit integer range");
    }
    return static_cast<std::int16_t>(rounded);
}

std::string TextOfInteger(std::int16_t value) { return std::to_string(value); }

double RoundToPlaces(double x, int places) {
    const double scale = std::pow(10.0, places);
    const double scaled = x * scale;
    if (!std::isfinite(scaled)) throw NumericTextError("rounding overflows");
    return std::nearbyint(scaled) / scale;
}

std::string roundoff(std::string_view text) {
    const std::string r = TextOfNumber(RoundToPlaces(NumberOfText(text), 1));
    const std::size_t point = r.find('.');
    if (point == std::string::npos) return r;
    std::string whole = r.substr(0, point);
    if (r.back() < '8') return whole;
    return TextOfNumber(NumberOfText(whole) + 1);
}

std::string roundoff2(std::string_view text) {
    return TextOfNumber(RoundToPlaces(NumberOfText(text), 2));
}

std::string negativenumb(std::string_view text) {
    double value = NumberOfText(text);
    if (StartsWithMinus(text) || EndsWithMinus(text)) value = NumberOfText(WithoutMinusSigns(text));
    return TextOfNumber(value);
}

bool StartsWithMinus(std::string_view text) { return !text.empty() && text.front() == '-'; }
bool EndsWithMinus(std::string_view text) { return !text.empty() && text.back() == '-'; }

std::string WithoutMinusSigns(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c != '-') out += c;
    }
    return out;
}

double Log10(double x) {
    static const double kLn10 = std::log(10.0);
    return std::log(x) / kLn10;
}

}  // namespace linkcalc
