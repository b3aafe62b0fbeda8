// The radio profile of every band and speed. The sensitivity and C/I texts show directly; the
// radio power shows as the side-1 maximum transmit power at 4900 and 5800 MHz, the sensitivity the
// run computes with shows in the fade margin, and the data bits per symbol in the bit rate.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli_runner.h"

namespace linkcalc::cli_test {
namespace {

struct ProfileCase {
    std::string band;
    std::string speed;
    std::string sensitivityText;  // TxtReqSS
    std::string requiredCi;       // TxtRECI
    std::string maxPower;         // TxtMTP
    std::string fadeMargin;       // TxtFM
    std::string oneWayRate;       // TxtEBtRateUni
};

// Two 23 dBi antennas without cable, 10 miles, 1518-byte packets. At 5300 and 5400 MHz the side-1
// maximum transmit power is 30 - 23 + 0 = 7 whatever the radio power. At 4900 MHz the margin is
// computed with -71 dBm at 54 Mbps and -91 dBm at 6 Mbps, not with the sensitivity text shown.
TEST(RadioProfile, EveryBandAndSpeed) {
    const std::vector<ProfileCase> cases{
        {"4900", " 6 Mbps", "-92dBm", "5", "22", "28.66", "5.34"},
        {"4900", "12 Mbps", "-87dBm", "8", "19", "21.66", "9.79"},
        {"4900", "18 Mbps", "-85dBm", "10", "19", "19.66", "13.55"},
        {"4900", "24 Mbps", "-84dBm", "15", "18", "17.66", "16.78"},
        {"4900", "36 Mbps", "-80dBm", "19", "18", "13.66", "22"},
        {"4900", "48 Mbps", "-75dBm", "23", "17", "7.66", "25.96"},
        {"4900", "54 Mbps", "-73dBm", "25", "18", "4.66", "27.62"},
        {"5300", " 6 Mbps", "-92dBm", "5", "7", "13.98", "5.34"},
        {"5300", "12 Mbps", "-87dBm", "8", "7", "8.98", "9.79"},
        {"5300", "18 Mbps", "-85dBm", "10", "7", "6.98", "13.55"},
        {"5300", "24 Mbps", "-84dBm", "15", "7", "5.98", "16.78"},
        {"5300", "36 Mbps", "-80dBm", "19", "7", "1.98", "22"},
        {"5300", "48 Mbps", "-75dBm", "23", "7", "-3.02", "25.96"},
        {"5300", "54 Mbps", "-73dBm", "25", "7", "-5.02", "27.62"},
        {"5400", " 6 Mbps", "-92dBm", "5", "7", "13.82", "5.34"},
        {"5400", "12 Mbps", "-87dBm", "8", "7", "8.82", "9.79"},
        {"5400", "18 Mbps", "-85dBm", "10", "7", "6.82", "13.55"},
        {"5400", "24 Mbps", "-84dBm", "15", "7", "5.82", "16.78"},
        {"5400", "36 Mbps", "-80dBm", "19", "7", "1.82", "22"},
        {"5400", "48 Mbps", "-75dBm", "23", "7", "-3.18", "25.96"},
        {"5400", "54 Mbps", "-73dBm", "25", "7", "-5.18", "27.62"},
        {"5800", " 6 Mbps", "-92dBm", "5", "21", "27.2", "5.34"},
        {"5800", "12 Mbps", "-87dBm", "8", "19", "20.2", "9.79"},
        {"5800", "18 Mbps", "-85dBm", "10", "19", "18.2", "13.55"},
        {"5800", "24 Mbps", "-84dBm", "15", "18", "16.2", "16.78"},
        {"5800", "36 Mbps", "-80dBm", "19", "18", "12.2", "22"},
        {"5800", "48 Mbps", "-75dBm", "23", "17", "6.2", "25.96"},
        {"5800", "54 Mbps", "-73dBm", "25", "17", "4.2", "27.62"},
    };
    for (const ProfileCase& c : cases) {
        SCOPED_TRACE(c.band + " MHz at \"" + c.speed + "\"");
        const JsonRun run = RunJson(CompleteLink({{"band", c.band}, {"speed", c.speed}}));
        ASSERT_TRUE(run.report.is_object());
        EXPECT_EQ(run.Outcome(), "completed");
        ExpectFields(run, {{"CmbSlcSpeed", c.speed},
                           {"TxtReqSS", c.sensitivityText},
                           {"TxtRECI", c.requiredCi},
                           {"TxtMTP", c.maxPower},
                           {"TxtMTP2", c.maxPower},
                           {"TxtFM", c.fadeMargin},
                           {"TxtEBtRateUni", c.oneWayRate}});
    }
}

}  // namespace
}  // namespace linkcalc::cli_test
