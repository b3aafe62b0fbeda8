#include "linkcalc/numeric_text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <system_error>

#include "shown_number.h"

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

constexpr std::uint64_t kTwoToThe53 = std::uint64_t{1} << 53;

// Value of an integer below 2^53 times 10^power, |power| <= 22: both factors are exact doubles,
// so one multiplication or division rounds correctly.
double ExactScaled(std::uint64_t integer, long long power) {
    const auto whole = static_cast<double>(integer);
    return power < 0 ? whole / kPowersOfTen[-power] : whole * kPowersOfTen[power];
}

// Value of 0.<head><tail> x 10^exponent, where head and tail together have no leading or
// trailing zero and at least one digit.
std::optional<double> ValueOfDigits(std::string_view head, std::string_view tail,
                                    long long exponent, bool negative) {
    if (exponent > 400) return std::nullopt;            // beyond the largest double
    if (exponent < -400) return negative ? -0.0 : 0.0;  // below the smallest one
    const std::size_t count = head.size() + tail.size();

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

// The reader for texts whose digits do not fit the quick reading: more than 19 significant
// digits, or a power of ten beyond 10^22 either way.
std::optional<double> ParseLongNumericText(std::string_view text) {
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

__extension__ typedef unsigned __int128 Wide;

constexpr std::uint64_t kFifteenDigits = 1'000'000'000'000'000ULL;  // 10^15

constexpr auto kPowersOfFive = [] {
    std::array<std::uint64_t, 21> powers{};
    powers[0] = 1;
    for (std::size_t k = 1; k < powers.size(); ++k) powers[k] = powers[k - 1] * 5;
    return powers;
}();

// Writes the decimal digits of a positive integer so that they end at `end`; returns the first.
char* DigitsBefore(char* end, std::uint64_t value) {
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    while (value >= 100) {
        const auto pair = static_cast<std::size_t>(value % 100) * 2;
        value /= 100;
        *--end = kPairs[pair + 1];
        *--end = kPairs[pair];
    }
    if (value >= 10) {
        const auto pair = static_cast<std::size_t>(value) * 2;
        *--end = kPairs[pair + 1];
        *--end = kPairs[pair];
    } else {
        *--end = static_cast<char>('0' + value);
    }
    return end;
}

// The text of a number from its significant digits (no trailing zero) and the decimal exponent
// of the first one.
std::string Formatted(bool negative, std::string_view digits, int exponent) {
    char buffer[48];
    char* out = buffer;
    if (negative) *out++ = '-';
    if (exponent < -4 || exponent >= 15) {
        *out++ = digits.front();
        if (digits.size() > 1) {
            *out++ = '.';
            out = std::copy(digits.begin() + 1, digits.end(), out);
        }
        *out++ = 'E';
        *out++ = exponent < 0 ? '-' : '+';
        const int magnitude = exponent < 0 ? -exponent : exponent;
        if (magnitude < 10) *out++ = '0';
        out = std::to_chars(out, buffer + sizeof buffer, magnitude).ptr;
    } else if (exponent < 0) {
        *out++ = '0';
        *out++ = '.';
        out = std::fill_n(out, -exponent - 1, '0');
        out = std::copy(digits.begin(), digits.end(), out);
    } else {
        const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= integerDigits) {
            out = std::copy(digits.begin(), digits.end(), out);
            out = std::fill_n(out, integerDigits - digits.size(), '0');
        } else {
            out = std::copy_n(digits.begin(), integerDigits, out);
            *out++ = '.';
            out = std::copy(digits.begin() + static_cast<std::ptrdiff_t>(integerDigits),
                            digits.end(), out);
        }
    }
    return std::string(buffer, static_cast<std::size_t>(out - buffer));
}

// The text of x outside the range of RoundedToFifteenDigits, by the C++ library's correctly
// rounded scientific form.
std::string TextOfFarNumber(double x) {
    char buffer[40];
    const std::to_chars_result printed = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(x),
                                                       std::chars_format::scientific, 14);
    const std::string_view rounded(buffer, static_cast<std::size_t>(printed.ptr - buffer));
    const std::size_t ePos = rounded.find('e');
    char digits[20];
    std::size_t count = 0;
    digits[count++] = rounded.front();
    if (rounded[1] == '.') {
        for (const char digit : rounded.substr(2, ePos - 2)) digits[count++] = digit;
    }
    while (count > 1 && digits[count - 1] == '0') --count;
    int exponent = 0;
    if (ePos != std::string_view::npos) {
        std::from_chars(rounded.data() + ePos + (rounded[ePos + 1] == '+' ? 2 : 1),
                        rounded.data() + rounded.size(), exponent);
    }
    return Formatted(x < 0, std::string_view(digits, count), exponent);
}

// The text of sign and whole / 10^places for a whole number below 10^15. Such a decimal has at
// most 15 significant digits, so these digits are the text of the double nearest to it.
std::string DecimalText(bool negative, std::uint64_t whole, int places) {
    if (whole == 0) return "0";
    char buffer[32];
    char* const end = buffer + sizeof buffer;
    char* first = end;
    while (places > 0 && whole % 10 == 0) {
        whole /= 10;
        --places;
    }
    if (places > 0) {
        for (int i = 0; i < places; ++i) {
            *--first = static_cast<char>('0' + whole % 10);
            whole /= 10;
        }
        *--first = '.';
    }
    first = DigitsBefore(first, whole);
    if (negative) *--first = '-';
    return std::string(first, static_cast<std::size_t>(end - first));
}

// x times 10^places rounded to a whole number, ties to even: RoundToPlaces before its division.
double ScaledAndRounded(double x, int places) {
    // 10^places for 0 to 22 places is an exact double, as the power function also gives it.
    const double scale =
        places >= 0 && places <= 22 ? kPowersOfTen[places] : std::pow(10.0, places);
    const double scaled = x * scale;
    if (!std::isfinite(scaled)) throw NumericTextError("rounding overflows");
    return std::nearbyint(scaled);
}

// roundoff of the value of a text. It works on the text of the value rounded to tenths, which
// for fewer than 10^15 tenths is the decimal: the tenths digit and the whole part before it.
std::string RoundoffOfValue(double value) {
    const double tenths = ScaledAndRounded(value, 1);
    if (!(std::fabs(tenths) < 1e15)) {
        const std::string r = TextOfNumber(tenths / 10);
        const std::size_t point = r.find('.');
        if (point == std::string::npos) return r;
        std::string whole = r.substr(0, point);
        if (r.back() < '8') return whole;
        return TextOfNumber(NumberOfText(whole) + 1);
    }
    const bool negative = tenths < 0;
    const auto count = static_cast<std::uint64_t>(std::fabs(tenths));
    const std::uint64_t whole = count / 10;
    const std::uint64_t tenthsDigit = count % 10;
    if (tenthsDigit == 0) return DecimalText(negative, whole, 0);
    if (tenthsDigit < 8) {
        // The whole part as written, so minus a half gives "-0".
        std::string out = negative ? "-" : "";
        char digits[24];
        const char* first = DigitsBefore(digits + sizeof digits, whole);
        out.append(first, static_cast<std::size_t>(digits + sizeof digits - first));
        return out;
    }
    const auto shown = static_cast<double>(whole);
    return TextOfNumber((negative ? -shown : shown) + 1);
}

// roundoff2 of the value of a text, written from the hundredths as a decimal.
std::string Roundoff2OfValue(double value) {
    const double hundredths = ScaledAndRounded(value, 2);
    if (!(std::fabs(hundredths) < 1e15)) return TextOfNumber(hundredths / 100);
    return DecimalText(hundredths < 0, static_cast<std::uint64_t>(std::fabs(hundredths)), 2);
}

}  // namespace

// Exact for the plain range: x * 10^k = m * 5^k * 2^(e+k) with m below 2^53 and 5^k below 2^47
// fits 128 bits, so the rounding (ties to even) needs no decimal expansion.
std::optional<FifteenDigits> RoundedToFifteenDigits(double x) {
    if (!(x >= 1e-4 && x < 1e15)) return std::nullopt;
    const auto bits = std::bit_cast<std::uint64_t>(x);
    // x = mantissa * 2^(binaryExponent - 53), the mantissa with its leading bit: x is normal here.
    const std::uint64_t mantissa = (bits & (kTwoToThe53 / 2 - 1)) | (kTwoToThe53 / 2);
    const int binaryExponent = static_cast<int>(bits >> 52) - 1022;
    // floor(log10 x) is this or one more: x lies in [2^(e-1), 2^e).
    int decimalExponent = ((binaryExponent - 1) * 78913) >> 18;
    for (int attempt = 0; attempt < 4; ++attempt) {
        const int k = 14 - decimalExponent;  // digits wanted before the point: 15
        if (k < 0 || k > 20) return std::nullopt;
        const Wide product = Wide{mantissa} * kPowersOfFive[static_cast<std::size_t>(k)];
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
        return FifteenDigits{static_cast<std::uint64_t>(whole), decimalExponent};
    }
    return std::nullopt;
}

std::optional<double> ShownValueOf(double x) {
    if (x == 0) return 0.0;
    const auto rounded = RoundedToFifteenDigits(std::fabs(x));
    if (!rounded) return std::nullopt;
    const long long power = rounded->exponent - 14;
    if (power < -22 || power > 22) return std::nullopt;
    const double value = ExactScaled(rounded->digits, power);
    return x < 0 ? -value : value;
}

std::optional<double> ParseNumericText(std::string_view text) {
    // One pass for the common texts: at most 19 significant digits, all kept in an integer.
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p != end && *p == ' ') ++p;

    bool negative = false;
    bool leadingSign = false;
    if (p != end && (*p == '+' || *p == '-')) {
        leadingSign = true;
        negative = *p == '-';
        ++p;
    }

    std::uint64_t significand = 0;
    int kept = 0;          // digits in the significand, from its first nonzero one
    bool dropped = false;  // digits beyond the 19th: left to the long reader
    long long scale = 0;   // value = significand x 10^(scale + exponent)
    const char* const intBegin = p;
    for (; p != end && IsDigit(*p); ++p) {
        const auto digit = static_cast<unsigned>(*p - '0');
        if (kept == 19) {
            dropped = true;
        } else if (significand != 0 || digit != 0) {
            significand = significand * 10 + digit;
            ++kept;
        }
    }
    bool anyDigit = p != intBegin;
    if (p != end && *p == '.') {
        const char* const fracBegin = ++p;
        for (; p != end && IsDigit(*p); ++p) {
            const auto digit = static_cast<unsigned>(*p - '0');
            if (kept == 19) {
                dropped = true;
                continue;
            }
            if (significand != 0 || digit != 0) {
                significand = significand * 10 + digit;
                ++kept;
            }
            --scale;
        }
        anyDigit = anyDigit || p != fracBegin;
    }
    if (!anyDigit) return std::nullopt;

    long long exponent = 0;
    if (p != end && (*p == 'E' || *p == 'e')) {
        ++p;
        bool exponentNegative = false;
        if (p != end && (*p == '+' || *p == '-')) {
            exponentNegative = *p == '-';
            ++p;
        }
        const char* const exponentBegin = p;
        for (; p != end && IsDigit(*p); ++p) {
            if (exponent < kExponentBound) exponent = exponent * 10 + (*p - '0');
        }
        if (p == exponentBegin) return std::nullopt;
        if (exponentNegative) exponent = -exponent;
    }

    if (!leadingSign && p != end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    while (p != end && *p == ' ') ++p;
    if (p != end) return std::nullopt;

    if (dropped) return ParseLongNumericText(text);
    if (significand == 0) return negative ? -0.0 : 0.0;
    const long long power = scale + exponent;
    if (significand >= kTwoToThe53 || power < -22 || power > 22) return ParseLongNumericText(text);
    const double value = ExactScaled(significand, power);
    return negative ? -value : value;
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
    const double magnitude = std::fabs(x);
    char digits[24];
    char* const digitsEnd = digits + sizeof digits;
    // A whole number below 10^15 keeps all its digits: most of the figures a run shows.
    if (magnitude < 1e15) {
        const auto whole = static_cast<std::uint64_t>(magnitude);
        if (static_cast<double>(whole) == magnitude) {
            char* first = DigitsBefore(digitsEnd, whole);
            if (x < 0) *--first = '-';
            return std::string(first, static_cast<std::size_t>(digitsEnd - first));
        }
    }
    // A number with one or two decimal places: the next most common.
    if (magnitude < 1e13) {
        for (const int places : {1, 2}) {
            const double scaled = magnitude * kPowersOfTen[places];
            const auto whole = static_cast<std::uint64_t>(scaled);
            if (static_cast<double>(whole) == scaled &&
                static_cast<double>(whole) / kPowersOfTen[places] == magnitude) {
                return DecimalText(x < 0, whole, places);
            }
        }
    }
    const auto rounded = RoundedToFifteenDigits(magnitude);
    if (!rounded) return TextOfFarNumber(x);
    std::uint64_t significant = rounded->digits;
    while (significant % 10 == 0) significant /= 10;  // the first of the 15 digits is never 0
    const char* first = DigitsBefore(digitsEnd, significant);
    return Formatted(x < 0, std::string_view(first, static_cast<std::size_t>(digitsEnd - first)),
                     rounded->exponent);
}

std::int16_t IntegerOfText(std::string_view text) {
    return IntegerOfValue(NumberOfText(text));
}

std::int16_t IntegerOfValue(double value) {
    const double rounded = std::nearbyint(value);  // ties to even
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) {
        throw NumericTextError("outside the 16-bit integer range");
    }
    return static_cast<std::int16_t>(rounded);
}

std::string TextOfInteger(std::int16_t value) {
    return std::to_string(value);
}

double RoundToPlaces(double x, int places) {
    const double scale =
        places >= 0 && places <= 22 ? kPowersOfTen[places] : std::pow(10.0, places);
    return ScaledAndRounded(x, places) / scale;
}

std::string roundoff(std::string_view text) {
    return RoundoffOfValue(NumberOfText(text));
}

std::string roundoff2(std::string_view text) {
    return Roundoff2OfValue(NumberOfText(text));
}

std::string RoundoffOfNumber(double x) {
    if (const auto shown = ShownValueOf(x)) return RoundoffOfValue(*shown);
    return roundoff(TextOfNumber(x));
}

std::string Roundoff2OfNumber(double x) {
    if (const auto shown = ShownValueOf(x)) return Roundoff2OfValue(*shown);
    return roundoff2(TextOfNumber(x));
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
