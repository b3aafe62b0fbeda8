// The number rules: which texts are numbers, what they read as, and how numbers are written.

#include "linkcalc/numeric_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace linkcalc {
namespace {

struct NumericCase {
    const char* text;
    double value;
};

// Texts of the numeric form: blanks, a sign before or after, a mantissa, an exponent, blanks.
const std::vector<NumericCase> kNumericTexts = {
    {"5", 5},
    {"-5", -5},
    {"+5", 5},
    {"5-", -5},
    {"5+", 5},
    {".5", 0.5},
    {"5.", 5},
    {"0", 0},
    {"000", 0},
    {"0.0", 0},
    {"-0", 0},
    {"007", 7},
    {" 5- ", -5},
    {" -5 ", -5},
    {" +5 ", 5},
    {"  .5  ", 0.5},
    {" 5. ", 5},
    {"   1E3   ", 1000},
    {" 1e-3 ", 0.001},
    {"1e+3", 1000},
    {"1.5E2", 150},
    {"-1.5e-2", -0.015},
    {"1.5e2-", -150},
    {"1E-3-", -0.001},
    {"5.E3", 5000},
    {"05e05", 500000},
    {".5e1", 5},
    {"1E0", 1},
    {"1e-0", 1},
    {"2.50", 2.5},
    {"130.5", 130.5},
    {"0.1", 0.1},
    {"00000000000000000000001", 1},
    // The nearest double to the decimal value written.
    {"123456789012345678901234567890", 123456789012345678901234567890.0},
    {"9007199254740993", 9007199254740992.0},
    {"0.30000000000000004", 0.30000000000000004},
    {"0.001E310", 1e307},
    {"1E308", 1e308},
    {"-1E308", -1e308},
    {"1.7976931348623157E308", DBL_MAX},
    {"1E-310", 1e-310},
    {"4.9406564584124654E-324", std::numeric_limits<double>::denorm_min()},
    // Below the smallest double: numeric, and read as zero.
    {"1E-400", 0},
    {"-1E-400", 0},
    {"1E-999999999999999999999", 0},
    {"0E999999999", 0},
    {"0.000E400", 0},
};

// Texts that are not numbers: outside the numeric form, or outside the double range.
const std::vector<const char*> kNonNumericTexts = {
    "",
    " ",
    "   ",
    "-",
    "+",
    ".",
    "-.",
    " . ",
    "1-2",
    "abc",
    "five",
    "5a",
    "1E",
    "1E+",
    "1e-",
    "E5",
    "e5",
    ".E5",
    "--5",
    "-5-",
    "+5-",
    "-5+",
    "5--",
    "1.2.3",
    "1E3.5",
    "1E3E3",
    "1 000",
    "inf",
    "-inf",
    "Infinity",
    "nan",
    "NaN",
    "1E400",
    "-1E400",
    "1E309",
    "1000E306",
    "1.79769313486232E+308",
    "-1.79769313486232E+308",
    "1E999999999999999999999",
};

// Forms the number rules leave open; only the agreement of the two operations is fixed for them.
const std::vector<const char*> kOpenForms = {
    "- 5",
    "5 -",
    "+ 5",
    "0x10",
    "(5)",
    "1,000",
    "1,5",
    "$5",
    "1d3",
    "1D3",
    "\t5",
    "5\t",
    "5\n",
    "\xC2\xA0"
    "5",
    "+-5",
    "-+5",
    "1e5.",
    "1_000",
};

double Read(const char* text) {
    return NumberOfText(text);
}

TEST(NumberOfTextTest, ReadsNumericTexts) {
    for (const NumericCase& c : kNumericTexts) {
        SCOPED_TRACE(std::string("text \"") + c.text + "\"");
        ASSERT_TRUE(IsNumericText(c.text));
        EXPECT_EQ(NumberOfText(c.text), c.value);
    }
}

TEST(NumberOfTextTest, RefusesTextsThatAreNotNumbers) {
    for (const char* text : kNonNumericTexts) {
        SCOPED_TRACE(std::string("text \"") + text + "\"");
        EXPECT_FALSE(IsNumericText(text));
        EXPECT_THROW(Read(text), NumericTextError);
    }
}

TEST(NumberOfTextTest, IsNumericTextAgreesWithNumberOfTextOnEveryForm) {
    std::vector<std::string> texts;
    for (const NumericCase& c : kNumericTexts) texts.emplace_back(c.text);
    for (const char* text : kNonNumericTexts) texts.emplace_back(text);
    for (const char* text : kOpenForms) texts.emplace_back(text);
    for (const std::string& text : texts) {
        SCOPED_TRACE("text \"" + text + "\"");
        bool converted = false;
        double value = 0;
        try {
            value = NumberOfText(text);
            converted = true;
        } catch (const NumericTextError&) {
        }
        EXPECT_EQ(IsNumericText(text), converted);
        EXPECT_EQ(ParseNumericText(text).has_value(), converted);
        if (converted) {
            EXPECT_TRUE(std::isfinite(value));
        }
    }
}

TEST(NumberOfTextTest, TrailingMinusNegatesLikeALeadingOne) {
    for (const char* digits : {"2.5", "17", ".25", "1e3", "6.02E23", "0.001"}) {
        SCOPED_TRACE(digits);
        const std::string text(digits);
        EXPECT_EQ(NumberOfText(text + "-"), -NumberOfText(text));
        EXPECT_EQ(NumberOfText("-" + text), -NumberOfText(text));
        EXPECT_EQ(NumberOfText(" " + text + "- "), -NumberOfText(text));
    }
}

TEST(NumberOfTextTest, PlacesOfTheMantissaAndTheExponentOffsetEachOther) {
    const std::string tiny = "0." + std::string(399, '0') + "1";  // 1E-400
    const std::string huge = "1" + std::string(400, '0');         // 1E+400
    EXPECT_TRUE(IsNumericText(tiny));
    EXPECT_EQ(NumberOfText(tiny), 0);
    EXPECT_EQ(NumberOfText(tiny + "E400"), 1);
    EXPECT_EQ(NumberOfText(tiny + "E402-"), -100);
    EXPECT_FALSE(IsNumericText(huge));
    EXPECT_THROW(NumberOfText(huge), NumericTextError);
    EXPECT_EQ(NumberOfText(huge + "E-400"), 1);
    EXPECT_EQ(NumberOfText(" " + huge + ".5E-401 "), 0.1);
}

struct TextCase {
    double value;
    const char* text;
};

TEST(TextOfNumberTest, WritesFifteenSignificantDigitsInPlainOrExponentForm) {
    const std::vector<TextCase> cases = {
        {0.0, "0"},
        {-0.0, "0"},
        {0.5, "0.5"},
        {-0.25, "-0.25"},
        {30, "30"},
        {1.0 / 3.0, "0.333333333333333"},
        {2.0 / 3.0, "0.666666666666667"},
        {0.1 + 0.2, "0.3"},
        {130.5, "130.5"},
        {-130.5, "-130.5"},
        {100, "100"},
        {1, "1"},
        {-7, "-7"},
        {123.456, "123.456"},
        {1.0000000000000002, "1"},
        {1.00000000000001, "1.00000000000001"},
        {12345678901234.5, "12345678901234.5"},
        {123456789012345.6, "123456789012346"},
        {1234567.891, "1234567.891"},
        // Plain form from 0.0001 up to below 1E+15.
        {0.0001, "0.0001"},
        {-0.0001, "-0.0001"},
        {0.00012345, "0.00012345"},
        {1e14, "100000000000000"},
        {999999999999999.0, "999999999999999"},
        // The boundaries are decided after rounding to 15 digits.
        {0.000099999999999999999, "0.0001"},
        {999999999999999.9, "1E+15"},
        // Fifteen digits whose first guess of the exponent is one too high.
        {99999999999.999893, "99999999999.9999"},
        {9.99999999999999e-5, "9.99999999999999E-05"},
        // Exponent form, with at least two exponent digits.
        {0.00001, "1E-05"},
        {-0.00001, "-1E-05"},
        {0.00009999, "9.999E-05"},
        {1.5e-7, "1.5E-07"},
        {1e15, "1E+15"},
        {-1e15, "-1E+15"},
        {1.25e15, "1.25E+15"},
        {123456789012345678.0, "1.23456789012346E+17"},
        {1e100, "1E+100"},
        {1e-100, "1E-100"},
        {DBL_MAX, "1.79769313486232E+308"},
        {std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(std::string("expected ") + c.text);
        EXPECT_EQ(TextOfNumber(c.value), c.text);
    }
}

// Values over many magnitudes, for the rules every written number obeys.
std::vector<double> ValuesOfEveryMagnitude() {
    std::vector<double> values;
    for (int exponent = -320; exponent <= 307; exponent += 7) {
        for (const double mantissa : {1.0, 1.5, 2.0 / 3.0, 9.87654321012345678, 5.0000001}) {
            const double x = mantissa * std::pow(10.0, exponent);
            values.push_back(x);
            values.push_back(-x);
        }
    }
    return values;
}

TEST(TextOfNumberTest, WrittenNumbersFollowTheTextRules) {
    for (const double x : ValuesOfEveryMagnitude()) {
        const std::string text = TextOfNumber(x);
        SCOPED_TRACE(text);
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(text.find(' '), std::string::npos);
        EXPECT_EQ(text.find(','), std::string::npos);
        EXPECT_NE(text.front(), '+');
        EXPECT_NE(text.back(), '.');
        EXPECT_EQ(text.front() == '-', x < 0);
        const std::string magnitude = text.front() == '-' ? text.substr(1) : text;
        const std::size_t e = magnitude.find('E');
        const std::string mantissa = magnitude.substr(0, e);
        if (mantissa.find('.') != std::string::npos) {
            EXPECT_NE(mantissa.back(), '0');
        }
        std::size_t digitCount = 0;
        for (const char c : mantissa) digitCount += (c >= '0' && c <= '9') ? 1 : 0;
        if (e == std::string::npos) {
            // Plain form: a magnitude below 1 starts "0.", otherwise no leading zero.
            if (std::fabs(x) < 1) {
                EXPECT_EQ(magnitude.rfind("0.", 0), 0U);
            } else {
                EXPECT_NE(magnitude.front(), '0');
            }
        } else {
            // Exponent form: one digit before the point, a signed exponent of two digits or more.
            EXPECT_TRUE(mantissa.size() == 1 || mantissa[1] == '.');
            EXPECT_NE(mantissa.front(), '0');
            EXPECT_LE(digitCount, 15U);
            ASSERT_GE(magnitude.size(), e + 4);
            EXPECT_TRUE(magnitude[e + 1] == '+' || magnitude[e + 1] == '-');
            EXPECT_TRUE(std::fabs(x) < 0.0001 || std::fabs(x) >= 9.999999999999995e14);
        }
        // The written text reads back, and writing it again gives the same text.
        if (IsNumericText(text)) {
            EXPECT_EQ(TextOfNumber(NumberOfText(text)), text);
            EXPECT_LE(std::fabs(NumberOfText(text) - x), std::fabs(x) * 1e-14);
        } else {
            // Only a value that rounds beyond the largest double can give an unreadable text.
            EXPECT_GT(std::fabs(x), 1.797693134862315e308);
        }
    }
}

// The text rule written out over the C library's correctly rounded digits, as an independent
// check: "%.14e" gives the 15 significant digits of the exact value of x.
std::string TextByTheRule(double x) {
    if (x == 0) return "0";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(x));
    std::string digits(1, buffer[0]);
    digits += std::string(buffer + 2, 14);
    const int exponent = std::atoi(buffer + 17);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    std::string out = x < 0 ? "-" : "";
    if (exponent >= -4 && exponent < 15) {
        if (exponent < 0) {
            out += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
        } else {
            const auto whole = static_cast<std::size_t>(exponent) + 1;
            if (digits.size() <= whole) {
                out += digits + std::string(whole - digits.size(), '0');
            } else {
                out += digits.substr(0, whole) + "." + digits.substr(whole);
            }
        }
    } else {
        out += digits.substr(0, 1);
        if (digits.size() > 1) out += "." + digits.substr(1);
        const int magnitude = std::abs(exponent);
        out += exponent < 0 ? "E-" : "E+";
        if (magnitude < 10) out += "0";
        out += std::to_string(magnitude);
    }
    return out;
}

// True when the exact value of x lies halfway between two 15-digit decimals, where the choice
// is free.
bool IsTieAtTheSixteenthDigit(double x) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "%.60e", std::fabs(x));
    const std::string text(buffer);
    const std::string rest = text.substr(17, text.find('e') - 17);  // from the 16th digit on
    return rest[0] == '5' && rest.find_first_not_of('0', 1) == std::string::npos;
}

TEST(TextOfNumberTest, AgreesWithCorrectlyRoundedDigitsOverManyValues) {
    std::mt19937_64 random(20240611);
    std::vector<double> values;
    // Short decimals, as most results are: whole numbers, tenths, hundredths and so on.
    std::uniform_int_distribution<long long> wholes(0, 999'999'999'999'999LL);
    std::uniform_int_distribution<int> places(0, 12);
    for (int i = 0; i < 20000; ++i) {
        values.push_back(static_cast<double>(wholes(random) >> (random() % 50)) /
                         std::pow(10.0, places(random)));
    }
    // Arbitrary doubles over the whole range, and values next to the form boundaries.
    std::uniform_int_distribution<std::uint64_t> bits(0, 0x7FEF'FFFF'FFFF'FFFFULL);
    for (int i = 0; i < 20000; ++i) {
        const std::uint64_t pattern = bits(random);
        double x = 0;
        static_assert(sizeof x == sizeof pattern);
        std::memcpy(&x, &pattern, sizeof x);
        values.push_back(x);
    }
    for (const double edge : {1e-4, 1e15, 1.0, 1e-5, 0.5, 999999999999999.0}) {
        double below = edge;
        double above = edge;
        for (int step = 0; step < 50; ++step) {
            below = std::nextafter(below, 0.0);
            above = std::nextafter(above, 2 * edge);
            values.push_back(below);
            values.push_back(above);
        }
    }
    int checked = 0;
    for (const double magnitude : values) {
        for (const double x : {magnitude, -magnitude}) {
            if (IsTieAtTheSixteenthDigit(x)) continue;
            ++checked;
            ASSERT_EQ(TextOfNumber(x), TextByTheRule(x)) << "x = " << std::hexfloat << x;
        }
    }
    EXPECT_GT(checked, 80000);
}

TEST(NumberOfTextTest, ReadsTheNearestDoubleOfRandomDecimalTexts) {
    std::mt19937_64 random(1518);
    std::uniform_int_distribution<int> digitCount(1, 22);
    std::uniform_int_distribution<int> digit(0, 9);
    std::uniform_int_distribution<int> exponent(-340, 330);
    for (int i = 0; i < 50000; ++i) {
        const int count = digitCount(random);
        std::string digits;
        for (int d = 0; d < count; ++d) digits += static_cast<char>('0' + digit(random));
        const auto point = static_cast<std::size_t>(random() % (digits.size() + 1));
        std::string text = digits.substr(0, point) + "." + digits.substr(point);
        if (text == ".") text = "0";
        if (random() % 2) text += "E" + std::to_string(exponent(random) / (random() % 3 + 1));
        SCOPED_TRACE(text);
        const double expected = std::strtod(text.c_str(), nullptr);
        if (!std::isfinite(expected)) {
            ASSERT_FALSE(IsNumericText(text));
            continue;
        }
        ASSERT_TRUE(IsNumericText(text));
        ASSERT_EQ(NumberOfText(text), expected);
        ASSERT_EQ(NumberOfText(text + "-"), -expected);
    }
}

TEST(IntegerOfTextTest, RoundsTiesToEven) {
    const std::vector<NumericCase> cases = {
        {"2.5", 2},       {"3.5", 4},         {"-2.5", -2},       {"0.5", 0},
        {"1.5", 2},       {"-1.5", -2},       {"-0.4", 0},        {"2.4999", 2},
        {"2.5001", 3},    {" 7 ", 7},         {"7-", -7},         {"1e2", 100},
        {"32767", 32767}, {"32767.4", 32767}, {"-32768", -32768}, {"-32768.5", -32768},
        {"1E-400", 0},    {"6.5", 6},         {"7.5", 8},         {"-32767.5", -32768},
    };
    for (const NumericCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(IntegerOfText(c.text), static_cast<std::int16_t>(c.value));
    }
}

TEST(IntegerOfTextTest, FailsOutsideTheSixteenBitRangeAndOnTextsThatAreNotNumbers) {
    for (const char* text : {"32767.5", "32768", "-32768.6", "-32769", "40000", "-40000", "1E308",
                             "1E400", "", "abc", "-", "1-2"}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(IntegerOfText(text), NumericTextError);
    }
}

TEST(TextOfIntegerTest, WritesDigitsWithAMinusOnlyForNegativeValues) {
    EXPECT_EQ(TextOfInteger(0), "0");
    EXPECT_EQ(TextOfInteger(7), "7");
    EXPECT_EQ(TextOfInteger(-7), "-7");
    EXPECT_EQ(TextOfInteger(22), "22");
    EXPECT_EQ(TextOfInteger(32767), "32767");
    EXPECT_EQ(TextOfInteger(-32768), "-32768");
}

}  // namespace
}  // namespace linkcalc
