#pragma once

#include <string>

// Texts of numbers for reports, messages, maps and pictures: locale-free, and whole for every
// double, the 309 digits of the largest included. Infinities are "inf" and "-inf", a NaN
// "nan" or "-nan", as std::to_chars writes them. Free of the core's headers, so that the
// modules can use it too.
namespace linkcalc::planning {

// `places` decimals as std::to_chars writes them: Fixed(2.5, 2) "2.50", Fixed(-0.01, 1) "-0.0".
std::string Fixed(double value, int places);

// Fixed, never "-0": a value that rounds to zero at `places` decimals is written as 0.
std::string FixedText(double value, int places);

// At most `places` decimals, without trailing zeros or a bare point: TrimmedFixed(12.30, 3)
// "12.3", TrimmedFixed(2, 3) "2".
std::string TrimmedFixed(double value, int places);

// The shortest text that reads back as the same double: "0.1", "1e+300".
std::string Shortest(double value);

// `precision` significant digits, in fixed or scientific form, whichever is shorter: "1.33333".
std::string General(double value, int precision);

}  // namespace linkcalc::planning
