// The power budget: EIRP, maximum transmit power and expected RSSI of both sides, in the
// EIRP-limited bands (5300, 5400 MHz) and the power-limited bands (4900, 5800 MHz).
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli_runner.h"

namespace linkcalc::cli_test {
namespace {

struct BudgetCase {
    const char* name;
    Inputs inputs;
    std::string freeSpaceLoss;  // TxtFSL the row is meant for
    std::string eirp1, eirp2, maxPower1, maxPower2, rssi1, rssi2;
};

void CheckBudget(const BudgetCase& c) {
    SCOPED_TRACE(std::string(c.name) + ": " + Describe(c.inputs));
    const JsonRun run = RunJson(c.inputs);
    ASSERT_TRUE(run.report.is_object());
    EXPECT_EQ(run.Outcome(), "completed");
    ExpectFields(run, {{"TxtFSL", c.freeSpaceLoss},
                       {"TxtEIRP1", c.eirp1},
                       {"TxtEIRP2", c.eirp2},
                       {"TxtMTP", c.maxPower1},
                       {"TxtMTP2", c.maxPower2},
                       {"TxtERSSI", c.rssi1},
                       {"TxtERSSI2", c.rssi2}});
}

// 5 miles gives a free-space loss of 125 at 5300 and at 5400 MHz, 10 miles gives 132 at 5800 MHz.
TEST(PowerBudget, TableOfBandsGainsAndLosses) {
    const std::vector<BudgetCase> cases{
        // Side 1 needs exactly 7 dBm (written as computed); side 2 would need 12 and gets the cap.
        {"5300, cap reached on side 2", MilesLink("5300", "54 Mbps", "5", "23", "0", "19", "1"),
         "125", "30", "30", "7", "7", "-72", "-77"},
        // Side 2 has no cable: "0.0" is the way to type that with a 34 dBi antenna.
        {"5400, below the cap and below zero",
         MilesLink("5400", "54 Mbps", "5", "22", "0.5", "34", "0.0"), "125", "30", "30", "8.5",
         "-4", "-73.5", "-61"},
        // Side 1 needs 12 and gets the cap; side 2 needs exactly 11. A side-1 loss of exactly
        // zero with an 18 dBi antenna is refused by the input checks, so the smallest loss that
        // reads as not zero stands for it: it vanishes in every sum.
        {"5400, cap reached on both sides",
         MilesLink("5400", "54 Mbps", "5", "18", "1E-300", "19", "0"), "125", "30", "30", "11",
         "11", "-77", "-76"},
        {"5800 at 54 Mbps", MilesLink("5800", "54 Mbps", "10", "23", "1", "27", "0.5"), "132", "39",
         "43.5", "17", "17", "-66.5", "-66.5"},
        // Below 30 dBm EIRP the field still reads 30; the power needed (20) is capped at 7.
        {"5300, 10 dBi without cable on side 2",
         MilesLink("5300", "54 Mbps", "5", "23", "0", "10", "0.0"), "125", "30", "30", "7", "7",
         "-72", "-85"},
        {"4900 at 6 Mbps", MilesLink("4900", " 6 Mbps", "5", "19", "0.3", "23", "0"), "124", "40.7",
         "45", "22", "22", "-60.3", "-60.3"},
    };
    for (const BudgetCase& c : cases) CheckBudget(c);
}

TEST(PowerBudget, SpeedAloneChangesNothingInTheEirpLimitedBands) {
    for (const std::string band : {"5300", "5400"}) {
        SCOPED_TRACE(band);
        const JsonRun reference = RunJson(MilesLink(band, "54 Mbps", "5", "22", "0.5", "34", "2"));
        ASSERT_TRUE(reference.report.is_object());
        for (const std::string speed : {" 6 Mbps", "12 Mbps", "24 Mbps", "48 Mbps"}) {
            SCOPED_TRACE(speed);
            const JsonRun run = RunJson(MilesLink(band, speed, "5", "22", "0.5", "34", "2"));
            ASSERT_TRUE(run.report.is_object());
            for (const char* field :
                 {"TxtEIRP1", "TxtEIRP2", "TxtMTP", "TxtMTP2", "TxtERSSI", "TxtERSSI2"}) {
                EXPECT_EQ(run.Field(field), reference.Field(field)) << field;
            }
        }
    }
}

TEST(PowerBudget, LongerPathLowersBothRssiByTheLossTextDifference) {
    const Inputs link = CompleteLink({{"loss1", "1.25"}, {"loss2", "0.5"}});
    Inputs farther = link;
    farther["distance"] = "27";
    const JsonRun near = RunJson(link);
    const JsonRun far = RunJson(farther);
    ASSERT_TRUE(near.report.is_object());
    ASSERT_TRUE(far.report.is_object());
    const double lossStep = std::stod(far.Field("TxtFSL")) - std::stod(near.Field("TxtFSL"));
    EXPECT_GT(lossStep, 0);
    for (const char* field : {"TxtERSSI", "TxtERSSI2"}) {
        EXPECT_DOUBLE_EQ(std::stod(near.Field(field)) - std::stod(far.Field(field)), lossStep)
            << field;
    }
}

}  // namespace
}  // namespace linkcalc::cli_test
