// The texts of numbers are whole for every double: powers of ten over the whole range, the
// subnormals, both zeros, the limits, the infinities and NaN; each reads back as its number.
#include "planning/number_text.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "planning/clearance_text.h"
#include "planning/link_clearance.h"
#include "planning/sites.h"
#include "planning/terrain_csv.h"

namespace linkcalc::planning {
namespace {

using Limits = std::numeric_limits<double>;

// Every power of ten a double holds, either sign, and the values at the edges.
std::vector<double> Values() {
    std::vector<double> values{0.0,
                               -0.0,
                               Limits::denorm_min(),
                               -Limits::denorm_min(),
                               Limits::min(),
                               -Limits::min(),
                               Limits::max(),
                               Limits::lowest(),
                               Limits::epsilon(),
                               0.5,
                               -0.5,
                               0.05,
                               0.0049,
                               1.0 / 3,
                               123456.789,
                               Limits::infinity(),
                               -Limits::infinity(),
                               Limits::quiet_NaN(),
                               -Limits::quiet_NaN()};
    for (int power = -308; power <= 308; ++power) {
        const double value = std::pow(10.0, power);
        values.push_back(value);
        values.push_back(-value);
    }
    return values;
}

// The number a text says, read as a whole: nothing when it is not a number to its end.
std::optional<double> ReadBack(const std::string& text) {
    double value = 0;
    const char* const end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || ptr != end) return std::nullopt;
    return value;
}

bool IsFixedForm(const std::string& text, int places, bool trimmed) {
    std::size_t at = text.starts_with('-') ? 1 : 0;
    const std::size_t digits = text.find_first_not_of("0123456789", at);
    if (digits == at) return false;
    if (digits == std::string::npos) return trimmed || places == 0;
    if (text[digits] != '.' || places == 0) return false;
    const std::string decimals = text.substr(digits + 1);
    if (decimals.find_first_not_of("0123456789") != std::string::npos) return false;
    if (trimmed)
        return !decimals.empty() && decimals.size() <= static_cast<std::size_t>(places) &&
               decimals.back() != '0';
    return decimals.size() == static_cast<std::size_t>(places);
}

// The text of a number that is not finite, as std::to_chars writes it.
std::string NonFinite(double value) {
    if (std::isnan(value)) return std::signbit(value) ? "-nan" : "nan";
    return value < 0 ? "-inf" : "inf";
}

std::string Shown(double value) {
    return Shortest(value) + (std::signbit(value) ? " (sign bit)" : "");
}

TEST(NumberText, FixedTextsAreWholeAndReadBackWithinHalfTheirLastPlace) {
    struct Helper {
        const char* name;
        std::function<std::string(double, int)> text;
        bool trimmed;
        bool negativeZero;  // "-0" may be written
    };
    const std::vector<Helper> helpers{{"Fixed", Fixed, false, true},
                                      {"FixedText", FixedText, false, false},
                                      {"TrimmedFixed", TrimmedFixed, true, true}};
    for (const Helper& helper : helpers) {
        for (const int places : {0, 1, 2, 3, 5, 6}) {
            for (const double value : Values()) {
                SCOPED_TRACE(std::string(helper.name) + "(" + Shown(value) + ", " +
                             std::to_string(places) + ")");
                const std::string text = helper.text(value, places);
                ASSERT_EQ(text.find('\0'), std::string::npos);
                if (!std::isfinite(value)) {
                    EXPECT_EQ(text, NonFinite(value));
                    continue;
                }
                EXPECT_TRUE(IsFixedForm(text, places, helper.trimmed)) << text;
                // The largest double has 309 integer digits; a sign and the decimals besides.
                EXPECT_LE(text.size(), 311u + static_cast<std::size_t>(places));
                const std::optional<double> back = ReadBack(text);
                ASSERT_TRUE(back) << text;
                // An integer beyond 2^53 is written exactly and reads back as itself.
                const double half = 0.5 * std::pow(10.0, -places);
                EXPECT_LE(std::abs(*back - value), half * (1 + 1e-9) + std::abs(value) * 1e-15)
                    << text;
                if (std::abs(value) >= 0x1p53) {
                    EXPECT_EQ(*back, value) << text;
                }
                if (!helper.negativeZero && *back == 0) {
                    EXPECT_NE(text.front(), '-') << text;
                }
            }
        }
    }
}

TEST(NumberText, ShortestAndGeneralTextsReadBack) {
    for (const double value : Values()) {
        SCOPED_TRACE(Shown(value));
        const std::string shortest = Shortest(value);
        const std::string general = General(value, 6);
        for (const std::string& text : {shortest, general}) {
            ASSERT_FALSE(text.empty());
            ASSERT_EQ(text.find('\0'), std::string::npos);
        }
        if (!std::isfinite(value)) {
            EXPECT_EQ(shortest, NonFinite(value));
            EXPECT_EQ(general, NonFinite(value));
            continue;
        }
        const std::optional<double> exact = ReadBack(shortest);
        ASSERT_TRUE(exact) << shortest;
        EXPECT_EQ(*exact, value) << shortest;
        EXPECT_EQ(std::signbit(*exact), std::signbit(value)) << shortest;
        EXPECT_LE(shortest.size(), 24u) << shortest;
        const std::optional<double> near = ReadBack(general);
        ASSERT_TRUE(near) << general;
        EXPECT_LE(std::abs(*near - value), std::abs(value) * 5e-6) << general;
    }
}

// The texts that printed whole before print the same; the largest print every digit.
TEST(NumberText, KnownTexts) {
    struct Case {
        std::string text;
        std::string expected;
    };
    const std::string max = Fixed(Limits::max(), 0);
    const std::vector<Case> cases{
        {Fixed(2.5, 2), "2.50"},
        {Fixed(-0.01, 1), "-0.0"},
        {Fixed(-0.0, 0), "-0"},
        {Fixed(1e21, 0), "1000000000000000000000"},
        {Fixed(Limits::denorm_min(), 3), "0.000"},
        {Fixed(-Limits::denorm_min(), 3), "-0.000"},
        {Fixed(Limits::lowest(), 1), "-" + max + ".0"},
        {max.substr(0, 17), "17976931348623157"},
        {std::to_string(max.size()), "309"},
        {std::to_string(Fixed(1e308, 0).size()), "309"},
        {Fixed(1e308, 0).substr(0, 22), "1000000000000000010979"},
        {FixedText(-0.04, 1), "0.0"},
        {FixedText(-0.05, 1), "-0.1"},
        {FixedText(-0.5, 0), "0"},
        {FixedText(-Limits::quiet_NaN(), 1), "-nan"},
        {FixedText(-Limits::denorm_min(), 6), "0.000000"},
        {FixedText(12.3456, 2), "12.35"},
        {FixedText(-1e300, 0).substr(0, 18), "-10000000000000000"},
        {TrimmedFixed(12.30, 3), "12.3"},
        {TrimmedFixed(2, 3), "2"},
        {TrimmedFixed(100, 0), "100"},
        {TrimmedFixed(-0.0001, 3), "-0"},
        {TrimmedFixed(0.1, 6), "0.1"},
        {Shortest(0.1), "0.1"},
        {Shortest(1e300), "1e+300"},
        {Shortest(-Limits::min()), "-2.2250738585072014e-308"},
        {Shortest(Limits::denorm_min()), "5e-324"},
        {General(4.0 / 3 * 1.5, 6), "2"},
        {General(1.0 / 3, 6), "0.333333"},
        {General(Limits::max(), 6), "1.79769e+308"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.text, c.expected);
}

// The texts built on them: every one whole, with its unit, for the numbers that used to come
// out cut or as NUL bytes.
TEST(NumberText, TheFiguresOfMessagesAndReportsAreWhole) {
    const ClearanceUnits metric{true};
    const ClearanceUnits imperial{false};
    const std::vector<std::function<std::string(double)>> texts{
        [](double v) { return MetresText(v); },
        [&](double v) { return metric.Height(v); },
        [&](double v) { return imperial.Height(v); },
        [&](double v) { return metric.Distance(v); },
        [&](double v) { return imperial.Distance(v); },
        [](double v) { return KFactorText(v); },
        [](double v) { return RatioText(v); },
        [](double v) { return TypedDistance(v, "Km"); },
        [](double v) { return TypedDistance(v, "Miles"); },
        [](double v) { return DistanceText(v, "Km"); },
        [](double v) { return DistanceText(v, "Miles"); },
    };
    for (const double value : Values()) {
        for (std::size_t i = 0; i < texts.size(); ++i) {
            SCOPED_TRACE(std::to_string(i) + ": " + Shown(value));
            const std::string text = texts[i](value);
            ASSERT_EQ(text.find('\0'), std::string::npos);
            // A number first, then the unit if any.
            const std::string number = text.substr(0, text.find(' '));
            if (std::isfinite(value)) {
                EXPECT_TRUE(ReadBack(number)) << text;
            } else {
                EXPECT_NE(number.find_first_of("in"), std::string::npos) << text;
            }
        }
    }
    EXPECT_EQ(MetresText(1e308).size(), 311u);
    EXPECT_TRUE(MetresText(1e308).starts_with("1000000000000000010979"));
    EXPECT_TRUE(MetresText(1e308).ends_with("336 m"));
    EXPECT_EQ(metric.Height(1e300).substr(0, 5), "10000");
    EXPECT_TRUE(metric.Height(1e300).ends_with(".0 m"));
    EXPECT_EQ(TypedDistance(1e308, "Km").size(), 305u);  // 1e305 as a double: 9.99...e304
    EXPECT_EQ(KFactorText(4.0 / 3), "4/3");
    EXPECT_EQ(KFactorText(1e300), "1e+300");
}

}  // namespace
}  // namespace linkcalc::planning
