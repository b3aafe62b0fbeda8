// For any text: the number rules agree with each other and fail only where their rules say so.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "linkcalc/numeric_text.h"

namespace {

using namespace linkcalc;

void Check(bool condition, const char* what) {
    FuzzCheck(condition, "number rules", what);
}

template <class Step>
bool Fails(Step&& step) {
    try {
        step();
        return false;
    } catch (const NumericTextError&) {
        return true;
    }
}

bool HasMinusAtAnEnd(std::string_view text) {
    return StartsWithMinus(text) || EndsWithMinus(text);
}

bool RoundingOverflows(double x, int places) {
    return !std::isfinite(x * std::pow(10.0, places));
}

// x rounded to 15 significant digits by the C library, the reference for the shown texts.
double RoundedTo15Digits(double x) {
    char text[64];
    std::snprintf(text, sizeof text, "%.14e", x);
    return std::strtod(text, nullptr);
}

void CheckText(std::string_view text) {
    const auto parsed = ParseNumericText(text);
    Check(IsNumericText(text) == parsed.has_value(), "IsNumericText disagrees with the parser");
    Check(Fails([&] { NumberOfText(text); }) == !parsed, "NumberOfText disagrees");
    if (parsed) Check(std::isfinite(*parsed), "a numeric text gave a value out of range");

    const bool integerFails = Fails([&] { IntegerOfText(text); });
    const bool integerInRange =
        parsed && std::nearbyint(*parsed) >= -32768 && std::nearbyint(*parsed) <= 32767;
    Check(integerFails == !integerInRange, "IntegerOfText fails where it should not, or passes");

    for (const int places : {1, 2}) {
        const bool fails =
            places == 1 ? Fails([&] { roundoff(text); }) : Fails([&] { roundoff2(text); });
        Check(fails == (!parsed || RoundingOverflows(*parsed, places)),
              "roundoff/roundoff2 fail where they should not, or pass");
    }

    const bool withoutMinusNumeric = IsNumericText(WithoutMinusSigns(text));
    Check(Fails([&] { negativenumb(text); }) ==
              (!parsed || (HasMinusAtAnEnd(text) && !withoutMinusNumeric)),
          "negativenumb fails where it should not, or passes");
}

void CheckNumber(double x) {
    if (!std::isfinite(x)) return;
    const std::string text = TextOfNumber(x);
    Check(!text.empty() && text.find(' ') == std::string::npos, "TextOfNumber made a blank");
    // At most: sign, 15 digits, point, E, exponent sign, three exponent digits.
    Check(text.size() <= 22, "TextOfNumber made a text of more than 15 digits");
    const double reference = RoundedTo15Digits(x);
    const auto back = ParseNumericText(text);
    if (!std::isfinite(reference)) {
        Check(!back, "a text beyond the double range read back as a number");
        return;
    }
    Check(back.has_value(), "TextOfNumber made a text that is not numeric");
    Check(*back == reference || (x == 0 && *back == 0),
          "TextOfNumber does not read back as x rounded to 15 digits");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckText(text);
    if (size >= sizeof(double)) {
        double x = 0;
        std::memcpy(&x, data, sizeof x);
        CheckNumber(x);
    }
    if (const auto value = ParseNumericText(text)) CheckNumber(*value);
    return 0;
}
