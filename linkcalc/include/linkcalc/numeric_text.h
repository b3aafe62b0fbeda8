#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace linkcalc {

// A conversion that cannot be carried out: a text that is not numeric, or a value out of range.
class NumericTextError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The value of a numeric text, or nothing when the text is not numeric. A text is numeric when it
// reads as: blanks, an optional sign, digits with an optional "." (or "." and digits), an optional
// exponent (E or e, optional sign, digits), an optional sign after the number when none stood
// before it, blanks; and its value lies within the double range.
std::optional<double> ParseNumericText(std::string_view text);

bool IsNumericText(std::string_view text);
double NumberOfText(std::string_view text);         // throws NumericTextError
std::string TextOfNumber(double x);                 // 15 significant digits; x must be finite
std::int16_t IntegerOfText(std::string_view text);  // ties to even; throws NumericTextError
std::string TextOfInteger(std::int16_t value);

// x rounded to `places` decimal places, ties to even; throws NumericTextError on overflow.
double RoundToPlaces(double x, int places);

// The window's text functions that a run calls, under the calculator's own names, kept as they
// are.
std::string roundoff(std::string_view text);      // whole number, rounding up only from .8
std::string roundoff2(std::string_view text);     // two decimal places at most
std::string negativenumb(std::string_view text);  // the value without its minus signs

// The text operations of the run.
bool StartsWithMinus(std::string_view text);
bool EndsWithMinus(std::string_view text);
std::string WithoutMinusSigns(std::string_view text);

// Decimal logarithm as ln x / ln 10.
double Log10(double x);

}  // namespace linkcalc
