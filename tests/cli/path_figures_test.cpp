// The path figures table: free-space loss, Fresnel radius, earth curvature and suggested antenna
// height for both units, with the rounding and the field length limits they are shown with.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli_runner.h"

namespace linkcalc::cli_test {
namespace {

struct PathCase {
    std::string band;
    std::string distance;
    std::string unit;
    std::string loss;        // TxtFSL
    std::string radius;      // TxtFR
    std::string bulge;       // TxtEC
    std::string height;      // TxtSAH
    std::string lengthUnit;  // Lblft1..3
};

TEST(PathFigures, TableOfBandsDistancesAndUnits) {
    const std::vector<PathCase> cases{
        {"5800", "10", "Miles", "132", "47", "12", "60", "ft"},
        // 16.0934 km is 10 miles: same loss, the lengths in metres.
        {"5800", "16.0934", "Km", "132", "14", "4", "18", "m"},
        // One mile: the distance term of the loss is zero.
        {"4900", "1", "Miles", "110", "16", "0", "16", "ft"},
        {"5300", "5", "Miles", "125", "35", "3", "38", "ft"},
        {"5400", "8", "Km", "125", "10", "1", "11", "m"},
        // 125000 ft and 125473 ft do not fit the five-character fields and are cut.
        {"5800", "1000", "Miles", "172", "473", "12500", "12547", "ft"},
        // Any unit text but "Km" counts as miles.
        {"5800", "10", "km", "132", "47", "12", "60", "ft"},
        {"5800", "10", "KM", "132", "47", "12", "60", "ft"},
        // A distance typed with a minus sign is taken without it.
        {"5800", "-10", "Miles", "132", "47", "12", "60", "ft"},
        {"5800", "16.0934-", "Km", "132", "14", "4", "18", "m"},
    };
    for (const PathCase& c : cases) {
        SCOPED_TRACE(c.band + " MHz, \"" + c.distance + "\" \"" + c.unit + "\"");
        const JsonRun run =
            RunJson(CompleteLink({{"band", c.band}, {"distance", c.distance}, {"unit", c.unit}}));
        ASSERT_TRUE(run.report.is_object());
        EXPECT_EQ(run.exitStatus, 0);
        EXPECT_EQ(run.Outcome(), "completed");
        ExpectFields(run, {{"TxtFSL", c.loss},
                           {"TxtFR", c.radius},
                           {"TxtEC", c.bulge},
                           {"TxtSAH", c.height},
                           {"Lblft1", c.lengthUnit},
                           {"Lblft2", c.lengthUnit},
                           {"Lblft3", c.lengthUnit}});
    }
}

TEST(PathFigures, AntennaHeightIsRoundedFromTheUnroundedSum) {
    // 47.34 + 12.5 = 59.84 gives 60, not the 47 + 12 of the shown texts.
    const JsonRun run = RunJson(CompleteLink());
    ASSERT_TRUE(run.report.is_object());
    ExpectFields(run, {{"TxtFR", "47"}, {"TxtEC", "12"}, {"TxtSAH", "60"}});
}

}  // namespace
}  // namespace linkcalc::cli_test
