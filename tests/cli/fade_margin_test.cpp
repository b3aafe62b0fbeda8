// The fade margin: side-1 maximum transmit power as shown (made whole), both gains, the
// sensitivity of band and speed, and a free-space loss of its own.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli_runner.h"

namespace linkcalc::cli_test {
namespace {

struct MarginCase {
    const char* name;
    Inputs inputs;
    std::string maxPower1;  // TxtMTP
    std::string margin;     // TxtFM
};

TEST(FadeMargin, TableOfBandsGainsAndDistances) {
    const std::vector<MarginCase> cases{
        {"5800 at 54 Mbps", MilesLink("5800", "54 Mbps", "10", "23", "0", "23", "0"), "17", "4.2"},
        {"5800: the side-1 cable loss does not count",
         MilesLink("5800", "54 Mbps", "10", "23", "5", "23", "0"), "17", "4.2"},
        // -2.996 is shown as -3.
        {"5300 at 54 Mbps", MilesLink("5300", "54 Mbps", "5", "23", "0", "19", "1"), "7", "-3"},
        // Swapped gains: side 1 would need 11 and shows 7, so the margin stays.
        {"5300 with the gains swapped", MilesLink("5300", "54 Mbps", "5", "19", "0", "23", "1"),
         "7", "-3"},
        // 7.5 enters as 8. A side-1 loss of exactly zero with 22.5 dBi is refused by the input
        // checks; the smallest loss that reads as not zero stands for it.
        {"5400 at 6 Mbps, shown power 7.5",
         MilesLink("5400", " 6 Mbps", "3", "22.5", "1E-300", "22.5", "1"), "7.5", "24.28"},
        // 6.5 enters as 6 (ties to even).
        {"5400 at 6 Mbps, shown power 6.5",
         MilesLink("5400", " 6 Mbps", "3", "23.5", "1E-300", "22.5", "1"), "6.5", "23.28"},
        // The band's sensitivity -91 counts, not the -92 of the text.
        {"4900 at 6 Mbps", MilesLink("4900", " 6 Mbps", "1", "23", "0", "23", "0"), "22", "48.66"},
        {"4900: neither cable loss counts", MilesLink("4900", " 6 Mbps", "1", "23", "7", "23", "3"),
         "22", "48.66"},
        {"5300: the side-2 cable loss does not count",
         MilesLink("5300", "54 Mbps", "5", "23", "0", "19", "9"), "7", "-3"},
    };
    for (const MarginCase& c : cases) {
        SCOPED_TRACE(std::string(c.name) + ": " + Describe(c.inputs));
        const JsonRun run = RunJson(c.inputs);
        ASSERT_TRUE(run.report.is_object());
        EXPECT_EQ(run.Outcome(), "completed");
        ExpectFields(run, {{"TxtMTP", c.maxPower1}, {"TxtFM", c.margin}});
    }
}

}  // namespace
}  // namespace linkcalc::cli_test
