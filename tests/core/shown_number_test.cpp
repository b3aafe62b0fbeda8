// The run's shortcuts for a figure rounded for the sheet give what the text route gives: the
// text of the number, read back, rounded by roundoff or roundoff2.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "linkcalc/numeric_text.h"
#include "shown_number.h"

namespace linkcalc {
namespace {

std::string Outcome(const auto& step) {
    try {
        return step();
    } catch (const NumericTextError&) {
        return "<fails>";
    }
}

void ExpectSameAsTheTextRoute(double x) {
    SCOPED_TRACE(TextOfNumber(x));
    EXPECT_EQ(Outcome([&] { return RoundoffOfNumber(x); }),
              Outcome([&] { return roundoff(TextOfNumber(x)); }));
    EXPECT_EQ(Outcome([&] { return Roundoff2OfNumber(x); }),
              Outcome([&] { return roundoff2(TextOfNumber(x)); }));
    if (const auto shown = ShownValueOf(x)) {
        const double read = NumberOfText(TextOfNumber(x));
        EXPECT_EQ(std::memcmp(&*shown, &read, sizeof read), 0) << *shown << " vs " << read;
    }
}

// Ties of the tenths and hundredths, the 8-tenths threshold, minus a half ("-0"), the ends of
// the plain range and of the exact digits, and values past them.
const std::vector<double> kEdges = {0.0,         -0.0,
                                    0.05,        -0.05,
                                    0.5,         -0.5,
                                    0.75,        -0.75,
                                    0.8,         -0.8,
                                    0.85,        -0.85,
                                    12.74,       12.75,
                                    12.96,       -3.2,
                                    -3.8,        130.5,
                                    0.125,       0.375,
                                    1.005,       -1.005,
                                    2.25,        2.35,
                                    0.0001,      0.00005,
                                    -0.00005,    1e-5,
                                    99999.95,    1e14,
                                    1e14 - 0.05, 1e15,
                                    1e15 - 1,    123456789012345.6,
                                    1e16,        -1e16,
                                    1e17,        1e22,
                                    1e300,       -1e300,
                                    1.7e308,     5e-324,
                                    1e-300,      132.0135,
                                    47.2,        11.8,
                                    59.0,        -69.5,
                                    27.625,      33.775,
                                    4.195,       46.685};

TEST(ShownNumberTest, RoundedFiguresMatchTheTextRouteAtTheEdges) {
    for (const double x : kEdges) {
        ExpectSameAsTheTextRoute(x);
        ExpectSameAsTheTextRoute(std::nextafter(x, INFINITY));
        ExpectSameAsTheTextRoute(std::nextafter(x, -INFINITY));
    }
}

TEST(ShownNumberTest, RoundedFiguresMatchTheTextRouteOverManyValues) {
    std::mt19937_64 random(20240611);
    std::uniform_int_distribution<int> decade(-8, 17);
    std::uniform_real_distribution<double> mantissa(-10, 10);
    std::uniform_int_distribution<long long> cents(-100000000, 100000000);
    for (int i = 0; i < 20000; ++i) {
        ExpectSameAsTheTextRoute(mantissa(random) * std::pow(10.0, decade(random)));
        // Near decimals of few places, where the roundings tie or nearly tie.
        const double near = static_cast<double>(cents(random)) / 1000;
        ExpectSameAsTheTextRoute(near);
        ExpectSameAsTheTextRoute(near + 0.05);
        ExpectSameAsTheTextRoute(near + 0.005);
        if (HasFailure()) return;
    }
}

}  // namespace
}  // namespace linkcalc
