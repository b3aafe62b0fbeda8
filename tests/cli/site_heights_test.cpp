// Grounds and masts within what the earth holds, from the options and from the batch columns:
// each bound taken, just beyond it refused with the value and the bound.
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli_runner.h"
#include "csv_rows.h"

namespace linkcalc::cli_test {
namespace {

constexpr const char* kGroundBounds =
    ": a ground elevation lies from -11000 to 9000 m above sea level";
constexpr const char* kMastBound = ": an antenna height above the ground is at most 1000 m";
constexpr const char* kMastNegative = ": an antenna height above the ground cannot be negative";

struct HeightCase {
    const char* name;   // ground1, ground2, mast1 or mast2
    const char* value;  // as typed
    const char* why;    // nullptr: taken
};

const HeightCase kCases[] = {
    {"ground1", "-11000", nullptr},
    {"ground1", "9000", nullptr},
    {"ground2", "-11000", nullptr},
    {"ground2", "9000", nullptr},
    {"ground1", "-11000.001", kGroundBounds},
    {"ground1", "9000.001", kGroundBounds},
    {"ground2", "-11000.001", kGroundBounds},
    {"ground2", "9000.001", kGroundBounds},
    {"ground1", "1e308", kGroundBounds},
    {"ground2", "-1e308", kGroundBounds},
    {"ground1", "-5e-324", nullptr},
    {"mast1", "0", nullptr},
    {"mast1", "1000", nullptr},
    {"mast2", "0", nullptr},
    {"mast2", "1000", nullptr},
    {"mast1", "1000.001", kMastBound},
    {"mast2", "1000.001", kMastBound},
    {"mast1", "1e300", kMastBound},
    {"mast2", "1.7976931348623157e308", kMastBound},
    {"mast1", "-0.001", kMastNegative},
};

std::string Said(const std::string& source, const HeightCase& c) {
    return source + " \"" + c.value + "\"" + c.why;
}

// 10 km along the equator.
const std::vector<std::string> kLink{"--gain1=23", "--gain2=23",  "--band=5800",
                                     "--speed=54", "--site1=0,0", "--site2=0,0.09"};

TEST(SiteHeights, AnOptionBeyondTheEarthIsAUsageErrorGivingTheValueAndTheBound) {
    for (const HeightCase& c : kCases) {
        std::vector<std::string> args = kLink;
        args.push_back("--" + std::string(c.name) + "=" + c.value);
        SCOPED_TRACE(args.back());
        if (c.why == nullptr) {
            const JsonRun run = RunJson(args);
            ASSERT_EQ(run.exitStatus, 0) << run.err;
            const std::string name(c.name);
            const auto& site = run.report.at("sites").at("site" + name.substr(name.size() - 1));
            EXPECT_EQ(site.at(name.starts_with("mast") ? "mast_m" : "ground_m").get<double>(),
                      std::strtod(c.value, nullptr));
            continue;
        }
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.exitStatus, 64);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.substr(0, run.err.find('\n')),
                  "linkcalc-cli: " + Said("--" + std::string(c.name), c));
    }
}

TEST(SiteHeights, AColumnBeyondTheEarthMakesItsRowInvalidAndTheBatchGoesOn) {
    std::string batch = "gain1,gain2,band,speed,site1,site2,ground1,ground2,mast1,mast2\n";
    for (const HeightCase& c : kCases) {
        std::string cells[4];
        const std::string name(c.name);
        cells[(name.starts_with("mast") ? 2 : 0) + (name.back() - '1')] = c.value;
        batch += "23,23,5800,54,\"0,0\",\"0,0.09\"," + cells[0] + "," + cells[1] + "," + cells[2] +
                 "," + cells[3] + "\n";
    }
    batch += "23,23,5800,54,\"0,0\",\"0,0.09\",,,,\n";
    const CliRun run = RunCli({"--csv", "-"}, batch);
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const std::vector<Row> rows = RowsOf(run.out);
    ASSERT_EQ(rows.size(), std::size(kCases) + 1);
    for (std::size_t i = 0; i < std::size(kCases); ++i) {
        const HeightCase& c = kCases[i];
        SCOPED_TRACE(std::string(c.name) + " " + c.value);
        if (c.why == nullptr) {
            EXPECT_EQ(rows[i].at("outcome"), "completed") << rows[i].at("message");
            EXPECT_NE(rows[i].at("tilt1_deg"), "");
        } else {
            EXPECT_EQ(rows[i].at("outcome"), "invalid");
            EXPECT_EQ(rows[i].at("message"), Said("column " + std::string(c.name), c));
            EXPECT_EQ(rows[i].at("tilt1_deg"), "");
        }
    }
    EXPECT_EQ(rows.back().at("outcome"), "completed");
}

}  // namespace
}  // namespace linkcalc::cli_test
