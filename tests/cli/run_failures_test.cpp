// Runs that pass the input checks but cannot be carried out: each fails with a message naming the
// input at fault, and leaves the result fields as they were (empty on the tool's fresh sheet).
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli_runner.h"

namespace linkcalc::cli_test {
namespace {

struct FailureCase {
    const char* name;
    Inputs inputs;
    std::string message;
    std::string focus;
};

TEST(RunFailures, EachCauseNamesItsInput) {
    const std::vector<FailureCase> cases{
        {"zero distance", CompleteLink({{"distance", "0"}}),
         "The distance must be greater than zero.", "TxtDM"},
        {"zero distance with a trailing minus", CompleteLink({{"distance", "0-"}}),
         "The distance must be greater than zero.", "TxtDM"},
        {"a blank before the minus keeps the distance negative",
         CompleteLink({{"distance", " -5"}}), "The distance must be greater than zero.", "TxtDM"},
        {"distance beyond the double range when squared", CompleteLink({{"distance", "1E300"}}),
         "The distance is too large to calculate.", "TxtDM"},
        {"packet size of letters", CompleteLink({{"packet", "abc"}}),
         "The packet size must be a number of bytes.", "Txtepksz"},
        {"packet size beyond the double range in bits", CompleteLink({{"packet", "1E308"}}),
         "The packet size is too large to calculate.", "Txtepksz"},
        {"side-2 cable loss with a minus, beyond 16 bits", CompleteLink({{"loss2", "-40000"}}),
         "The cable loss of antenna 2 is too large to calculate.", "TxtCblLoss2"},
        {"side-1 maximum transmit power beyond 16 bits",
         CompleteLink({{"band", "5300"}, {"gain1", "40000"}, {"loss1", "1"}}),
         "The maximum transmit power of side 1 is out of range; check the gain and cable loss of "
         "antenna 1.",
         "TxtAntG"},
        {"side-1 RSSI overflows",
         CompleteLink({{"gain1", "1.7E308"}, {"loss1", "1"}, {"gain2", "1.7E308"}, {"loss2", "1"}}),
         "The gain or cable loss of antenna 1 is too large to calculate.", "TxtAntG"},
        {"side-2 EIRP overflows", CompleteLink({{"gain2", "1.7E308"}, {"loss2", "1.7E308-"}}),
         "The gain or cable loss of antenna 2 is too large to calculate.", "TxtAntG2"},
        {"sum of the gains overflows",
         CompleteLink({{"band", "5300"},
                       {"gain1", "1E308"},
                       {"loss1", "1E308"},
                       {"gain2", "1E308"},
                       {"loss2", "1E308"}}),
         "The antenna gains are too large to calculate.", "TxtAntG"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(std::string(c.name) + ": " + Describe(c.inputs));
        const JsonRun run = RunJson(c.inputs);
        ASSERT_TRUE(run.report.is_object());
        EXPECT_EQ(run.exitStatus, 2);
        EXPECT_EQ(run.Outcome(), "failed");
        EXPECT_TRUE(run.report.at("notice").is_null());
        const auto& failure = run.report.at("failure");
        ASSERT_TRUE(failure.is_object());
        EXPECT_EQ(failure.at("message").get<std::string>(), c.message);
        EXPECT_EQ(failure.at("focus").get<std::string>(), c.focus);
        for (const std::string& name : ResultFieldNames()) {
            EXPECT_EQ(run.Field(name), "") << "result field " << name;
        }
    }
}

TEST(RunFailures, InputRepairsStayWhenTheRunFails) {
    const JsonRun run =
        RunJson(CompleteLink({{"distance", "0-"}, {"packet", "-64"}, {"unit", "Km"}}));
    ASSERT_TRUE(run.report.is_object());
    EXPECT_EQ(run.Outcome(), "failed");
    ExpectFields(run, {{"TxtDM", "0"}, {"Txtepksz", "64"}, {"Lblft1", "m"}});
}

}  // namespace
}  // namespace linkcalc::cli_test
