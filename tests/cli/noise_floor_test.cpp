// The maximum noise floors: each RSSI text less the one required C/I text.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli_runner.h"

namespace linkcalc::cli_test {
namespace {

struct FloorCase {
    Inputs inputs;
    std::string rssi1, rssi2, requiredCi, floor1, floor2;
};

TEST(NoiseFloor, TableOfRssiAndRequiredCi) {
    const std::vector<FloorCase> cases{
        {MilesLink("5300", "54 Mbps", "5", "23", "0", "19", "1"), "-72", "-77", "25", "-97",
         "-102"},
        {MilesLink("5800", " 6 Mbps", "10", "23", "1", "23", "0.5"), "-66.5", "-66.5", "5", "-71.5",
         "-71.5"},
        {MilesLink("5400", "36 Mbps", "5", "34.5", "0.5", "22", "0.5"), "-61", "-73.5", "19", "-80",
         "-92.5"},
    };
    for (const FloorCase& c : cases) {
        SCOPED_TRACE(Describe(c.inputs));
        const JsonRun run = RunJson(c.inputs);
        ASSERT_TRUE(run.report.is_object());
        EXPECT_EQ(run.Outcome(), "completed");
        ExpectFields(run, {{"TxtERSSI", c.rssi1},
                           {"TxtERSSI2", c.rssi2},
                           {"TxtRECI", c.requiredCi},
                           {"TxtRNFL", c.floor1},
                           {"TxtRNFL2", c.floor2}});
    }
}

// Each RSSI text less its noise floor text is the C/I text, on links with fractional levels.
TEST(NoiseFloor, RssiLessFloorIsTheRequiredCiOnBothSides) {
    const std::vector<Inputs> links{
        CompleteLink({{"loss1", "1.37"}, {"gain2", "21.9"}, {"loss2", "2.25"}, {"speed", "18"}}),
        CompleteLink({{"band", "5400"},
                      {"gain1", "16.4"},
                      {"loss1", "0.7"},
                      {"speed", "48"},
                      {"distance", "7.3"},
                      {"unit", "Km"}}),
        CompleteLink({{"band", "4900"}, {"loss1", "3.1"}, {"gain2", "19"}, {"speed", "12"}}),
    };
    for (const Inputs& link : links) {
        SCOPED_TRACE(Describe(link));
        const JsonRun run = RunJson(link);
        ASSERT_TRUE(run.report.is_object());
        ASSERT_EQ(run.Outcome(), "completed");
        const double ci = std::stod(run.Field("TxtRECI"));
        EXPECT_NEAR(std::stod(run.Field("TxtERSSI")) - std::stod(run.Field("TxtRNFL")), ci, 1e-9);
        EXPECT_NEAR(std::stod(run.Field("TxtERSSI2")) - std::stod(run.Field("TxtRNFL2")), ci, 1e-9);
    }
}

TEST(NoiseFloor, SpeedAloneMovesBothFloorsByTheChangeOfCi) {
    const JsonRun fast =
        RunJson(MilesLink("5300", "54 Mbps", "5", "23", "0", "19", "1"));  // C/I 25
    const JsonRun slow =
        RunJson(MilesLink("5300", "18 Mbps", "5", "23", "0", "19", "1"));  // C/I 10
    ASSERT_TRUE(fast.report.is_object());
    ASSERT_TRUE(slow.report.is_object());
    EXPECT_EQ(slow.Field("TxtERSSI"), fast.Field("TxtERSSI"));
    EXPECT_EQ(slow.Field("TxtERSSI2"), fast.Field("TxtERSSI2"));
    ExpectFields(fast, {{"TxtRNFL", "-97"}, {"TxtRNFL2", "-102"}});
    ExpectFields(slow, {{"TxtRECI", "10"}, {"TxtRNFL", "-82"}, {"TxtRNFL2", "-87"}});
}

}  // namespace
}  // namespace linkcalc::cli_test
