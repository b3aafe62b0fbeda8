// The bit rate estimate from the packet size, the speed and the distance (in miles).
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli_runner.h"

namespace linkcalc::cli_test {
namespace {

struct RateCase {
    const char* name;
    std::string packet;
    std::string speed;
    std::string distance;
    std::string oneWay;  // TxtEBtRateUni
    std::string twoWay;  // TxtEBRBi
};

TEST(Throughput, TableOfPacketSizesSpeedsAndDistances) {
    const std::vector<RateCase> cases{
        {"full frame at 54 Mbps: 57.19 symbols count as 57", "1518", "54 Mbps", "10", "27.62",
         "33.77"},
        {"full frame at 6 Mbps", "1518", " 6 Mbps", "10", "5.34", "5.55"},
        {"small packet over one mile", "64", "54 Mbps", "1", "4.04", "10.95"},
        {"1500 bytes at 24 Mbps", "1500", "24 Mbps", "3.1", "18.59", "21.22"},
        {"empty packet at 54 Mbps", "0", "54 Mbps", "10", "0", "0"},
        {"empty packet at 6 Mbps", "0", " 6 Mbps", "1", "0", "0"},
        {"no packet size: 1518", "", "54 Mbps", "10", "27.62", "33.77"},
        {"a minus typed at the start is dropped", "-64", "54 Mbps", "1", "4.04", "10.95"},
        // 19.296816 Mbit/s: trailing zeros of the two decimals are dropped.
        {"19.30 is shown as 19.3", "1518", "54 Mbps", "27.63", "19.3", "22.1"},
        // The one-way air time is just over a second, the two-way one just under.
        {"one-way air time over a second", "6749218", "54 Mbps", "1", "0", "53.99"},
    };
    for (const RateCase& c : cases) {
        SCOPED_TRACE(std::string(c.name) + ": packet \"" + c.packet + "\", \"" + c.speed + "\", " +
                     c.distance + " miles");
        const JsonRun run = RunJson(CompleteLink({{"packet", c.packet},
                                                  {"speed", c.speed},
                                                  {"distance", c.distance},
                                                  {"unit", "Miles"}}));
        ASSERT_TRUE(run.report.is_object());
        EXPECT_EQ(run.Outcome(), "completed");
        ExpectFields(run, {{"TxtEBtRateUni", c.oneWay}, {"TxtEBRBi", c.twoWay}});
    }
}

TEST(Throughput, NegativePacketSizeFailsInsteadOfGivingNegativeRates) {
    // The blank before the minus keeps the sign: the input checks let it through, and the run
    // fails rather than showing -4.8 and -19.13.
    const JsonRun run =
        RunJson(CompleteLink({{"packet", " -64"}, {"speed", "54 Mbps"}, {"distance", "1"}}));
    ASSERT_TRUE(run.report.is_object());
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.Outcome(), "failed");
    ASSERT_TRUE(run.report.at("failure").is_object());
    EXPECT_EQ(run.report.at("failure").at("message"), "The packet size must not be negative.");
    EXPECT_EQ(run.report.at("failure").at("focus"), "Txtepksz");
    ExpectFields(run, {{"Txtepksz", " -64"}, {"TxtEBtRateUni", ""}, {"TxtEBRBi", ""}});
}

TEST(Throughput, BandGainsAndLossesDoNotChangeTheRates) {
    const std::vector<Inputs> links{
        CompleteLink({{"packet", "900"}, {"speed", "36"}, {"distance", "4.5"}}),
        CompleteLink({{"packet", "900"},
                      {"speed", "36"},
                      {"distance", "4.5"},
                      {"band", "5300"},
                      {"gain1", "14"},
                      {"loss1", "2"},
                      {"gain2", "30"},
                      {"loss2", "-3"}}),
        CompleteLink({{"packet", "900"},
                      {"speed", "36"},
                      {"distance", "4.5"},
                      {"band", "4900"},
                      {"gain1", "19"},
                      {"loss2", "7.5"}}),
    };
    const JsonRun reference = RunJson(links.front());
    ASSERT_TRUE(reference.report.is_object());
    ASSERT_EQ(reference.Outcome(), "completed");
    for (const Inputs& link : links) {
        SCOPED_TRACE(Describe(link));
        const JsonRun run = RunJson(link);
        ASSERT_TRUE(run.report.is_object());
        EXPECT_EQ(run.Outcome(), "completed");
        EXPECT_EQ(run.Field("TxtEBtRateUni"), reference.Field("TxtEBtRateUni"));
        EXPECT_EQ(run.Field("TxtEBRBi"), reference.Field("TxtEBRBi"));
    }
}

}  // namespace
}  // namespace linkcalc::cli_test
