#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "internal_header.h"

namespace linkcalc {

// A positive number rounded to 15 significant digits: the digits as an integer from 10^14 to
// 10^15 - 1, and the decimal exponent of the first one.
struct FifteenDigits {
    std::uint64_t digits;
    int exponent;
};

// Exact, ties to even; nothing outside 1E-4 to 1E+15, where TextOfNumber reads the digits from
// the library's scientific form.
std::optional<FifteenDigits> RoundedToFifteenDigits(double x);

// NumberOfText(TextOfNumber(x)) without the text, when the digits give it in one exact step.
std::optional<double> ShownValueOf(double x);

// IntegerOfText of a text already read as `value`; throws NumericTextError out of range.
std::int16_t IntegerOfValue(double value);

// roundoff(TextOfNumber(x)) and roundoff2(TextOfNumber(x)): a stage's figure rounded for the sheet.
std::string RoundoffOfNumber(double x);
std::string Roundoff2OfNumber(double x);

}  // namespace linkcalc
