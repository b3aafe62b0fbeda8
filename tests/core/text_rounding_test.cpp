// Rounding to decimal places and the window's text functions: roundoff (path figures), roundoff2
// (bit rates and fade margin) and negativenumb (drops minus signs).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "linkcalc/numeric_text.h"

namespace linkcalc {
namespace {

struct TextCase {
    const char* text;
    const char* expected;
};

TEST(RoundToPlacesTest, RoundsTheScaledProductTiesToEven) {
    EXPECT_EQ(RoundToPlaces(2.25, 1), 2.2);
    EXPECT_EQ(RoundToPlaces(2.35, 1), 2.4);  // 23.5 is a tie and goes to 24
    EXPECT_EQ(RoundToPlaces(12.75, 1), 12.8);
    EXPECT_EQ(RoundToPlaces(0.125, 2), 0.12);
    EXPECT_EQ(RoundToPlaces(0.375, 2), 0.38);
    EXPECT_EQ(RoundToPlaces(1.005, 2), 1.0);  // 100.49999... in double arithmetic
    EXPECT_EQ(RoundToPlaces(-0.125, 2), -0.12);
    EXPECT_EQ(RoundToPlaces(-2.35, 1), -2.4);
    EXPECT_EQ(RoundToPlaces(19.296816, 2), 19.3);
    EXPECT_EQ(RoundToPlaces(54, 2), 54.0);
}

TEST(RoundToPlacesTest, FailsWhenTheScaledValueOverflows) {
    EXPECT_THROW(RoundToPlaces(1e308, 2), NumericTextError);
    EXPECT_THROW(RoundToPlaces(-1e308, 1), NumericTextError);
}

TEST(RoundoffTest, GivesAWholeNumberRoundingUpOnlyFromEightTenths) {
    const std::vector<TextCase> cases = {
        {"45", "45"},
        {"45.7", "45"},
        {"45.8", "46"},
        {"45.79", "46"},
        {"45.74", "45"},
        {"12.74", "12"},
        {"12.75", "13"},  // 12.8 after the tie to the even 128 tenths
        {"12.85", "13"},
        {"12.96", "13"},  // 13.0 has no point
        {"130.5", "130"},
        {"0.8", "1"},
        {"0.79", "1"},
        {"0.7", "0"},
        {"0.04", "0"},
        {"0", "0"},
        {"9.8", "10"},
        {"99.9", "100"},
        {"131.86855987125873", "132"},
        {"59.83596904592997", "60"},
        {"125473.35969", "125473"},
        // Negative values: the rule works on the text, so 1 is added to the integer part.
        {"-3.2", "-3"},
        {"-3.8", "-2"},
        {"-3", "-3"},
        {"-0.8", "1"},
        {"-0.3", "-0"},
        // Typed forms of a number.
        {" 45.8 ", "46"},
        {"45.8-", "-44"},
        {"4.58E1", "46"},
        // An exponent form without a point stays as it is; with a point only the text before
        // the point is kept.
        {"1E+20", "1E+20"},
        {"1.5E+20", "1"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(roundoff(c.text), c.expected);
    }
}

TEST(Roundoff2Test, RoundsToTwoPlacesAndDropsTrailingZeros) {
    const std::vector<TextCase> cases = {
        {"54", "54"},
        {"0.125", "0.12"},
        {"0.375", "0.38"},
        {"1.005", "1"},
        {"19.296816", "19.3"},
        {"27.615456", "27.62"},
        {"33.772464", "33.77"},
        {"-2.996038360716753", "-3"},
        {"8.200319246760671", "8.2"},
        {"-0.125", "-0.12"},
        {"-4.8", "-4.8"},
        {"0.004", "0"},
        {"-0.004", "0"},
        {"0", "0"},
        {"1E-05", "0"},
        {"1E+15", "1E+15"},
        {" 2.345 ", "2.35"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(roundoff2(c.text), c.expected);
    }
}

// Near 10^15 the rounded text turns to the exponent form, so the rules read it differently.
TEST(RoundingFunctionsTest, FollowTheTextAtTheEndsOfThePlainRange) {
    const std::vector<TextCase> roundoffCases = {
        {"-0.5", "-0"},
        {"-0.05", "0"},  // -0.5 tenths ties to minus zero, whose text is "0"
        {"-0.85", "1"},
        {"-1.15", "-1"},
        {"-12.75", "-11"},
        {"99999999999999.95", "100000000000000"},
        {"123456789012345.6", "123456789012346"},
        {"1E15", "1E+15"},
        {"-1E15", "-1E+15"},
        {"2.5E-5", "0"},
    };
    for (const TextCase& c : roundoffCases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(roundoff(c.text), c.expected);
    }
    const std::vector<TextCase> roundoff2Cases = {
        {"-0.005", "0"},
        {"-0.015", "-0.02"},
        {"-0.999", "-1"},
        {"1234567890123.455", "1234567890123.46"},
        {"9999999999999.995", "9999999999999.99"},
        {"-1E13", "-10000000000000"},
        {"3E16", "3E+16"},
    };
    for (const TextCase& c : roundoff2Cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(roundoff2(c.text), c.expected);
    }
}

TEST(NegativenumbTest, DropsMinusSignsAtEitherEnd) {
    const std::vector<TextCase> cases = {
        {"-2.5", "2.5"},   {"2.5-", "2.5"},   {" 2.50 ", "2.5"}, {"-0", "0"},
        {"0.0", "0"},      {"000", "0"},      {"5", "5"},        {"+5", "5"},
        {"5+", "5"},       {"1E-3", "0.001"},  // an exponent's minus alone stays
        {"-1E-3", "1000"},                     // every minus goes when the text starts with one
        {"1E-3-", "1000"},                     // or ends with one
        {" -2.5", "-2.5"},                     // a blank is the first character: the sign stays
        {"2.5- ", "-2.5"},                     // a blank is the last character
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(negativenumb(c.text), c.expected);
    }
}

TEST(NegativenumbTest, FailsOnTextsThatAreNotNumbersEvenWithoutTheirMinusSigns) {
    // "--5" and "5-5" would be numbers without their minus signs; "-1E-400" would not.
    for (const char* text : {"", " ", "abc", "-", "--5", "5-5", "-5-", "-1E-400", "1E-400-"}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(negativenumb(text), NumericTextError);
    }
}

TEST(RoundingFunctionsTest, FailOnTextsThatAreNotNumbers) {
    for (const char* text : {"", " ", "abc", "-", "1-2", "1E400"}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(roundoff(text), NumericTextError);
        EXPECT_THROW(roundoff2(text), NumericTextError);
    }
}

}  // namespace
}  // namespace linkcalc
