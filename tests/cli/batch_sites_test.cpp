// Batches of links given by their sites: the same figures as one link from its sites, the
// geometry columns, and rows and headers that cannot be read.
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/csv.h"
#include "cli_runner.h"
#include "csv_rows.h"

namespace linkcalc::cli_test {
namespace {

CliRun RunBatch(const std::string& csv) {
    return RunCli({"--csv", "-"}, csv);
}

const std::string kLink = "23,23,5800,54";

// Each row as one link from its sites gives it.
void ExpectSameAsOneLink(const Row& row, const std::vector<std::string>& args) {
    std::vector<std::string> link{"--gain1=23", "--gain2=23", "--band=5800", "--speed=54"};
    link.insert(link.end(), args.begin(), args.end());
    const JsonRun one = RunJson(link);
    SCOPED_TRACE(Describe(Inputs(row.begin(), row.end())));
    EXPECT_EQ(row.at("outcome"), one.Outcome());
    for (const std::string& name : ResultFieldNames()) EXPECT_EQ(row.at(name), one.Field(name));
    const auto& sites = one.report.at("sites");
    for (const char* name :
         {"distance_m", "azimuth1_deg", "azimuth2_deg", "tilt1_deg", "tilt2_deg"}) {
        if (sites.at(name).is_null()) {
            EXPECT_EQ(row.at(name), "") << name;
        } else {
            EXPECT_EQ(std::stod(row.at(name)), sites.at(name).get<double>()) << name;
        }
    }
}

TEST(BatchSites, ARowFromSitesIsTheLinkFromThoseSites) {
    const CliRun run =
        RunBatch("gain1,gain2,band,speed,site1,site2,ground1,ground2,mast1,mast2,unit\n" + kLink +
                 ",\"40.4406,-79.9959\",40:30N 79:54W,300,250,,12,\n" + kLink +
                 ",0 0,0 0.09,,,20,20,Miles\n" + kLink + ",\"10,20\",\"10,20\",,,,,\n");
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_NE(run.out.find(",TxtFM,distance_m,azimuth1_deg,azimuth2_deg,tilt1_deg,tilt2_deg\r\n"),
              std::string::npos);
    const std::vector<Row> rows = RowsOf(run.out);
    ASSERT_EQ(rows.size(), 3U);
    ExpectSameAsOneLink(rows[0], {"--site1=40.4406,-79.9959", "--site2=40:30N 79:54W",
                                  "--ground1=300", "--ground2=250", "--mast2=12"});
    ExpectSameAsOneLink(
        rows[1], {"--site1=0 0", "--site2=0 0.09", "--mast1=20", "--mast2=20", "--unit=Miles"});
    EXPECT_EQ(rows[2].at("outcome"), "failed");
    EXPECT_EQ(rows[2].at("message"), "The distance must be greater than zero.");
    EXPECT_EQ(rows[2].at("distance_m"), "0");
}

TEST(BatchSites, LatitudeAndLongitudeColumnsAreTheSameSites) {
    const CliRun degrees = RunBatch(
        "lat1,lon1,lat2,lon2,gain1,gain2,band,speed\n"
        "40.4406,-79.9959,40.5,-79.9," +
        kLink + "\n");
    const CliRun sites = RunBatch(
        "site1,site2,gain1,gain2,band,speed\n"
        "\"40.4406,-79.9959\",\"40.5,-79.9\"," +
        kLink + "\n");
    ASSERT_EQ(degrees.exitStatus, 0) << degrees.err;
    const std::vector<Row> a = RowsOf(degrees.out);
    const std::vector<Row> b = RowsOf(sites.out);
    ASSERT_EQ(a.size(), 1U);
    ASSERT_EQ(b.size(), 1U);
    for (const auto& [name, value] : b[0]) {
        if (name != "site1" && name != "site2") {
            EXPECT_EQ(a[0].at(name), value) << name;
        }
    }
    EXPECT_EQ(a[0].at("outcome"), "completed");
}

TEST(BatchSites, ARowThatCannotBeReadIsInvalidNamingTheColumn) {
    const CliRun run = RunBatch(
        "lat1,lon1,lat2,lon2,ground1,mast2,gain1,gain2,band,speed\n"
        "40x,-79.9,40.5,-79.9,,," +
        kLink + "\n" + "40.4,-79.9,40.5,abc,,," + kLink + "\n" + "40.4,-79.9,,-79.9,,," + kLink +
        "\n" + "40.4,-79.9,40.5,-79.9,high,," + kLink + "\n" + "40.4,-79.9,40.5,-79.9,,-2," +
        kLink + "\n" + "95,-79.9,40.5,-79.9,,," + kLink + "\n" +
        "40.4,-79.9,40.5,-79.9,,,23,23,5900,54\n" + "40.4,-79.9,40.5,-79.9,,," + kLink + "\n");
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const std::vector<Row> rows = RowsOf(run.out);
    ASSERT_EQ(rows.size(), 8U);
    const char* said[] = {
        "column lat1: the first part \"40x\": ",
        "column lon2: the second part \"abc\": ",
        "column lat2: the first part is empty",
        "column ground1 \"high\" is not a number of metres",
        "column mast2 \"-2\": an antenna height above the ground cannot be negative",
        "column lat1, lon1: \"95,-79.9\": Latitude 95 not in [-90d, 90d]",
        "band \"5900\" is not in the list",
    };
    for (std::size_t i = 0; i < std::size(said); ++i) {
        SCOPED_TRACE(said[i]);
        EXPECT_EQ(rows[i].at("outcome"), "invalid");
        EXPECT_EQ(rows[i].at("message").rfind(said[i], 0), 0U) << rows[i].at("message");
        EXPECT_EQ(rows[i].at("distance_m"), "");
        EXPECT_EQ(rows[i].at("TxtFM"), "");
    }
    EXPECT_EQ(rows[7].at("outcome"), "completed");
}

// A site that once crashed GeographicLib's DMS decoding, and the whole batch with it: the row
// is invalid and the rows around it come out completed.
TEST(BatchSites, ARowWithACrashingSiteTextIsInvalidAndTheBatchGoesOn) {
    const CliRun run = RunBatch(
        "site1,site2,gain1,gain2,band,speed\n"
        "\"40.4406,-79.9959\",\"40.5,-79.9\"," +
        kLink + "\n" + "1:1:1:1:1:1 1,\"40.5,-79.9\"," + kLink + "\n" +
        "\"40.4406,-79.9959\",\"1 1:1:1:1d1'1\"\"\"," + kLink + "\n" +
        "\"40.4406,-79.9959\",\"40.5,-79.9\"," + kLink + "\n");
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const std::vector<Row> rows = RowsOf(run.out);
    ASSERT_EQ(rows.size(), 4U);
    EXPECT_EQ(rows[0].at("outcome"), "completed");
    EXPECT_EQ(rows[3].at("outcome"), "completed");
    EXPECT_EQ(rows[0].at("TxtFM"), rows[3].at("TxtFM"));
    EXPECT_NE(rows[0].at("distance_m"), "");
    const char* said[] = {
        "column site1: the first part \"1:1:1:1:1:1\": more than three numbers",
        "column site2: the second part \"1:1:1:1d1'1\"\": more than three numbers",
    };
    for (std::size_t i = 0; i < std::size(said); ++i) {
        SCOPED_TRACE(said[i]);
        EXPECT_EQ(rows[i + 1].at("outcome"), "invalid");
        EXPECT_EQ(rows[i + 1].at("message").rfind(said[i], 0), 0U) << rows[i + 1].at("message");
        EXPECT_EQ(rows[i + 1].at("distance_m"), "");
    }
}

TEST(BatchSites, AHeaderWithSitesThatDoNotMakeALinkIsAUsageError) {
    const struct {
        const char* header;
        const char* said;
    } cases[] = {
        {"site1,gain1", "line 1: column site1 needs site2"},
        {"site2,gain1", "line 1: column site2 needs site1"},
        {"lat1,lon1,lat2",
         "line 1: the sites by degrees need lat1, lon1, lat2 and lon2: no "
         "column lon2"},
        {"site1,site2,lat1", "line 1: the sites are site1 and site2, or lat1"},
        {"site1,site2,distance", "line 1: column distance cannot go with the sites"},
        {"gain1,mast1", "line 1: column mast1 goes with the sites"},
        {"site1,site2,site1", "line 1: column \"site1\" appears twice"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.header);
        const CliRun run = RunBatch(std::string(c.header) + "\n");
        EXPECT_EQ(run.exitStatus, 64);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind(std::string("linkcalc-cli: ") + c.said, 0), 0U) << run.err;
    }
}

// More rows than one block: the blocks run on every core and come out in input order.
TEST(BatchSites, ALongBatchFromSitesComesOutInInputOrder) {
    std::string csv = "site1,site2,gain1,gain2,band,speed\n";
    constexpr int kRows = 6000;
    for (int i = 0; i < kRows; ++i) {
        csv += "\"0,0\",\"0," + std::to_string(0.01 + 0.001 * (i % 50)) + "\"," + kLink + "\n";
    }
    const CliRun run = RunBatch(csv);
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const std::vector<Row> rows = RowsOf(run.out);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(kRows));
    for (int i = 0; i < kRows; ++i) {
        const Row& row = rows[static_cast<std::size_t>(i)];
        ASSERT_EQ(row.at("site2"), "0," + std::to_string(0.01 + 0.001 * (i % 50))) << i;
        ASSERT_EQ(row.at("outcome"), "completed") << i;
        ASSERT_EQ(row.at("azimuth1_deg"), "90") << i;
        if (i >= 50) {
            ASSERT_EQ(row.at("distance_m"), rows[static_cast<std::size_t>(i - 50)].at("distance_m"))
                << i;
        }
    }
    EXPECT_LT(std::stod(rows[0].at("distance_m")), std::stod(rows[49].at("distance_m")));
}

}  // namespace
}  // namespace linkcalc::cli_test
