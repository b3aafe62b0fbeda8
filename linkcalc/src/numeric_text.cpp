#include "linkcalc/numeric_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

namespace linkcalc {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Saturating bound for decimal exponents: far beyond the double range either way.
constexpr long long kExponentBound = 1'000'000'000LL;

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Value of 0.<head><tail> x 10^exponent, where head and tail together have no leading or
// trailing zero and at least one digit.
std::optional<double> ValueOfDigits(std::string_view head, std::string_view tail,
                                    long long exponent, bool negative) {
    if (exponent > 400) return std::nullopt;            // beyond the largest double
    if (exponent < -400) return negative ? -0.0 : 0.0;  // below the smallest one
    const std::size_t count = head.size() + tail.size();

    // The common short case: an integer below 2^53 and a power of ten up to 1e22 are exact
    // doubles, so one multiplication or division rounds correctly.
    const long long power = exponent - static_cast<long long>(count);
    if (count <= 15 && power >= -22 && power <= 22) {
        std::int64_t integer = 0;
        for (const char digit : head) integer = integer * 10 + (digit - '0');
        for (const char digit : tail) integer = integer * 10 + (digit - '0');
        const auto whole = static_cast<double>(integer);
        const double value = power < 0 ? whole / kPowersOfTen[-power] : whole * kPowersOfTen[power];
        return negative ? -value : value;
    }

    char shortLiteral[64];
    std::string longLiteral;
    char* literal = shortLiteral;
    const std::size_t size = count + 2 + 24;
    if (size > sizeof shortLiteral) {
        longLiteral.resize(size);
        literal = longLiteral.data();
    }
    char* end = literal;
    *end++ = '0';
    *end++ = '.';
    end = std::copy(head.begin(), head.end(), end);
    end = std::copy(tail.begin(), tail.end(), end);
    *end++ = 'e';
    end = std::to_chars(end, literal + size, exponent).ptr;

    double value = 0;
    const auto result = std::from_chars(literal, end, value);
    if (result.ec == std::errc::result_out_of_range) {
        if (exponent > 0) return std::nullopt;
        value = 0;
    } else if (result.ec != std::errc{}) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

// The text of x when x is the double nearest to a decimal of at most six places and at most 15
// significant digits, in plain notation: most of the figures a run shows.
std::optional<std::string> ShortPlainText(double x) {
    const double magnitude = std::fabs(x);
    if (!(magnitude >= 1e-4 && magnitude < 1e15)) return std::nullopt;
    for (int places = 0; places <= 6; ++places) {
        const double scaled = magnitude * kPowersOfTen[places];
        if (scaled >= 1e15) return std::nullopt;
        const auto whole = static_cast<std::int64_t>(scaled);
        if (scaled != static_cast<double>(whole) || scaled / kPowersOfTen[places] != magnitude) {
            continue;
        }
        char digits[24];
        const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, whole);
        if (ec != std::errc{}) return std::nullopt;
        std::string_view all(digits, static_cast<std::size_t>(end - digits));
        // A product can be whole at more places than needed: drop the surplus zeros.
        auto fraction = static_cast<std::size_t>(places);
        while (fraction > 0 && all.back() == '0') {
            all.remove_suffix(1);
            --fraction;
        }
        std::string out;
        if (x < 0) out += '-';
        if (all.size() <= fraction) {
            out += "0.";
            out.append(fraction - all.size(), '0');
            out += all;
        } else {
            out += all.substr(0, all.size() - fraction);
            if (fraction > 0) {
                out += '.';
                out += all.substr(all.size() - fraction);
            }
        }
        return out;
    }
    return std::nullopt;
}

// x (positive, finite) rounded to 15 significant digits: the digits without trailing zeros,
// and the decimal exponent of the first one.
struct Significand {
    std::string digits;
    int exponent;
};

__extension__ typedef unsigned __int128 Wide;

constexpr std::uint64_t kFifteenDigits = 1'000'000'000'000'000ULL;  // 10^15

// Exact for the plain range: x * 10^k = m * 5^k * 2^(e+k) with m below 2^53 and 5^k below 2^47
// fits 128 bits, so the rounding (ties to even) needs no decimal expansion.
std::optional<Significand> ExactSignificand(double x) {
    if (!(x >= 1e-4 && x < 1e15)) return std::nullopt;
    int binaryExponent = 0;
    const double fraction = std::frexp(x, &binaryExponent);
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    int decimalExponent = static_cast<int>(std::floor(std::log10(x)));
    for (int attempt = 0; attempt < 4; ++attempt) {
        const int k = 14 - decimalExponent;  // digits wanted before the point: 15
        if (k < 0 || k > 20) return std::nullopt;
        Wide product = mantissa;
        for (int i = 0; i < k; ++i) product *= 5;
        const int shift = 53 - binaryExponent - k;  // value = product / 2^shift
        if (shift <= 0 || shift >= 127) return std::nullopt;
        Wide whole = product >> shift;
        // Settle the exponent on the digits before rounding: a carry may then add one.
        if (whole >= kFifteenDigits) {
            ++decimalExponent;
            continue;
        }
        if (whole < kFifteenDigits / 10) {
            --decimalExponent;
            continue;
        }
        const Wide rest = product - (whole << shift);
        const Wide half = Wide{1} << (shift - 1);
        if (rest > half || (rest == half && (whole & 1U) != 0)) ++whole;
        if (whole == kFifteenDigits) {
            whole /= 10;
            ++decimalExponent;
        }
        std::string digits = std::to_string(static_cast<std::uint64_t>(whole));
        digits.erase(digits.find_last_not_of('0') + 1);
        return Significand{std::move(digits), decimalExponent};
    }
    return std::nullopt;
}

Significand SignificantDigits(double x) {
    if (auto exact = ExactSignificand(x)) return *std::move(exact);
    char buffer[40];
    const std::to_chars_result printed =
        std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific, 14);
    const std::string_view rounded(buffer, static_cast<std::size_t>(printed.ptr - buffer));
    const std::size_t ePos = rounded.find('e');
    std::string digits(1, rounded.front());
    if (rounded[1] == '.') digits.append(rounded.substr(2, ePos - 2));
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    int exponent = 0;
    std::from_chars(rounded.data() + ePos + (rounded[ePos + 1] == '+' ? 2 : 1),
                    rounded.data() + rounded.size(), exponent);
    return {std::move(digits), exponent};
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
    std::string_view intDigits = text.substr(intBegin, i - intBegin);
    std::string_view fracDigits;
    if (i < n && text[i] == '.') {
        const std::size_t fracBegin = ++i;
        while (i < n && IsDigit(text[i])) ++i;
        fracDigits = text.substr(fracBegin, i - fracBegin);
    }
    if (intDigits.empty() && fracDigits.empty()) return std::nullopt;

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

    // The significant digits, as 0.<digits> x 10^(exponent + pointShift).
    intDigits.remove_prefix(std::min(intDigits.find_first_not_of('0'), intDigits.size()));
    long long pointShift = static_cast<long long>(intDigits.size());
    if (intDigits.empty()) {
        const std::size_t zeros = std::min(fracDigits.find_first_not_of('0'), fracDigits.size());
        fracDigits.remove_prefix(zeros);
        pointShift = -static_cast<long long>(std::min<std::size_t>(zeros, kExponentBound));
    }
    if (fracDigits.find_first_not_of('0') == std::string_view::npos) {
        fracDigits = {};
        intDigits = intDigits.substr(0, intDigits.find_last_not_of('0') + 1);
    } else {
        fracDigits = fracDigits.substr(0, fracDigits.find_last_not_of('0') + 1);
    }
    if (intDigits.empty() && fracDigits.empty()) return negative ? -0.0 : 0.0;
    return ValueOfDigits(intDigits, fracDigits, exponent + pointShift, negative);
}

bool IsNumericText(std::string_view text) {
    return ParseNumericText(text).has_value();
}

double NumberOfText(std::string_view text) {
    if (const auto value = ParseNumericText(text)) return *value;
    throw NumericTextError("not a numeric text");
}

std::string TextOfNumber(double x) {
    if (x == 0) return "0";
    if (auto plain = ShortPlainText(x)) return *std::move(plain);
    const bool negative = x < 0;
    const auto [digits, exponent] = SignificantDigits(std::fabs(x));

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

std::string TextOfInteger(std::int16_t value) {
    return std::to_string(value);
}

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

bool StartsWithMinus(std::string_view text) {
    return !text.empty() && text.front() == '-';
}
bool EndsWithMinus(std::string_view text) {
    return !text.empty() && text.back() == '-';
}

std::string WithoutMinusSigns(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c != '-') out += c;
    }
    return out;
}

// ln x / ln 10 rather than std::log10: the quotient can differ from log10 in the last bit, and
// the shown texts are those of the quotient.
double Log10(double x) {
    static const double kLn10 = std::log(10.0);
    return std::log(x) / kLn10;
}

}  // namespace linkcalc
