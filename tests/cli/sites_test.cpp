// Links given by their sites: the distance they give the run, the geometry reported, and the
// command lines that cannot be carried out.
#include <gtest/gtest.h>

#include "cli_runner.h"

namespace linkcalc::cli_test {
namespace {

using Args = std::vector<std::string>;

// A link without a distance: the sites give it.
Args SiteLink(const Args& extra) {
    Args args{"--gain1=23", "--gain2=23", "--band=5800", "--speed=54"};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
}

// Two points on the equator 0.09 degrees apart: GeodSolve -i gives 10018.754 m, due east.
const Args kEquator{"--site1=0,0", "--site2=0,0.09"};

Args With(Args args, const Args& more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST(Sites, TheGeodesicDistanceGoesToTheDistanceFieldInKmRoundedToTheMetre) {
    const JsonRun run = RunJson(SiteLink(kEquator));
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    ExpectFields(run, {{"TxtDM", "10.019"}, {"Cmbmilekm", "Km"}, {"Lblft3", "m"}});
    const auto& sites = run.report.at("sites");
    EXPECT_NEAR(sites.at("distance_m").get<double>(), 10018.754, 1e-3);
    EXPECT_NEAR(sites.at("azimuth1_deg").get<double>(), 90, 1e-9);
    EXPECT_NEAR(sites.at("azimuth2_deg").get<double>(), 270, 1e-9);
    EXPECT_EQ(sites.at("site2").at("lon").get<double>(), 0.09);

    // The run is the run of the typed distance.
    const JsonRun typed = RunJson(SiteLink({"--distance=10.019", "--unit=Km"}));
    EXPECT_EQ(typed.report.at("fields"), run.report.at("fields"));
}

TEST(Sites, TheDistanceTakesTheUnitOfUnit) {
    const JsonRun run = RunJson(SiteLink(With(kEquator, {"--unit=Miles"})));
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    ExpectFields(run, {{"TxtDM", "6.22552"}, {"Cmbmilekm", "Miles"}, {"Lblft3", "ft"}});
}

TEST(Sites, MastsDefaultToTheSuggestedAntennaHeightInMetres) {
    const JsonRun km = RunJson(SiteLink(kEquator));
    ASSERT_EQ(km.exitStatus, 0) << km.err;
    const double suggested = std::stod(km.Field("TxtSAH"));
    EXPECT_EQ(km.report.at("sites").at("site1").at("mast_m").get<double>(), suggested);
    EXPECT_EQ(km.report.at("sites").at("site2").at("mast_m").get<double>(), suggested);

    const JsonRun miles = RunJson(SiteLink(With(kEquator, {"--unit=Miles", "--mast2=7"})));
    const double feet = std::stod(miles.Field("TxtSAH"));
    EXPECT_DOUBLE_EQ(miles.report.at("sites").at("site1").at("mast_m").get<double>(),
                     feet * 0.3048);
    EXPECT_EQ(miles.report.at("sites").at("site2").at("mast_m").get<double>(), 7);
}

// 10018.754 m over 4/3 · 6371008.8 m: the curvature term is 0.000589708 rad = 0.0337878°.
// 100 m higher at site 2: atan(100 / 10018.754) = 0.0099809 rad, so site 1 tilts up by
// 0.0093912 rad = 0.538079° and site 2 down by 0.0105707 rad = 0.605654°.
TEST(Sites, TiltsAreTheElevationTowardTheOtherAntennaTop) {
    const JsonRun level = RunJson(SiteLink(With(kEquator, {"--mast1=20", "--mast2=20"})));
    ASSERT_EQ(level.exitStatus, 0) << level.err;
    EXPECT_NEAR(level.report.at("sites").at("tilt1_deg").get<double>(), -0.0337878, 1e-7);
    EXPECT_NEAR(level.report.at("sites").at("tilt2_deg").get<double>(), -0.0337878, 1e-7);

    const JsonRun higher = RunJson(
        SiteLink(With(kEquator, {"--ground2=90", "--mast1=20", "--mast2=30", "--ground1=0"})));
    ASSERT_EQ(higher.exitStatus, 0) << higher.err;
    EXPECT_NEAR(higher.report.at("sites").at("tilt1_deg").get<double>(), 0.538079, 1e-6);
    EXPECT_NEAR(higher.report.at("sites").at("tilt2_deg").get<double>(), -0.605654, 1e-6);
    EXPECT_EQ(higher.report.at("sites").at("site2").at("ground_m").get<double>(), 90);
}

TEST(Sites, TheTextReportOpensWithTheSitesBlock) {
    const CliRun run = RunCli(SiteLink(With(kEquator, {"--mast1=20", "--mast2=20"})));
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out.rfind("Sites\n", 0), 0U) << run.out;
    for (const char* line : {"  Site 1 (lat, lon)         0.000000, 0.000000\n",
                             "  Site 2 (lat, lon)         0.000000, 0.090000\n",
                             "  Geodesic distance         10018.8 m\n",
                             "  Antenna above ground      20.0 m        20.0 m\n",
                             "  Bearing (true)            90.00 deg     270.00 deg\n",
                             "  Tilt                      -0.034 deg    -0.034 deg\n"}) {
        EXPECT_NE(run.out.find(line), std::string::npos) << line << run.out;
    }
    EXPECT_NE(run.out.find("\nPath\n"), std::string::npos);
}

TEST(Sites, AZeroLengthPathIsARunFailureOfAZeroDistance) {
    const JsonRun run = RunJson(SiteLink({"--site1=10,20", "--site2=10N 20E"}));
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.Outcome(), "failed");
    EXPECT_EQ(run.report.at("failure").at("message"), "The distance must be greater than zero.");
    EXPECT_EQ(run.report.at("sites").at("distance_m").get<double>(), 0);
    EXPECT_TRUE(run.report.at("sites").at("tilt1_deg").is_null());
}

TEST(Sites, ASpeedTableRunsAtTheSitesDistance) {
    const CliRun sites =
        RunCli(With({"--speed-table", "--gain1=23", "--gain2=23", "--band=5800"}, kEquator));
    const CliRun typed = RunCli({"--speed-table", "--gain1=23", "--gain2=23", "--band=5800",
                                 "--distance=10.019", "--unit=Km"});
    EXPECT_EQ(sites.exitStatus, 0) << sites.err;
    EXPECT_EQ(sites.out, typed.out);
}

TEST(Sites, CommandLinesThatCannotBeCarriedOutAreUsageErrors) {
    const struct {
        Args args;
        const char* said;
    } cases[] = {
        {{"--site1=0,0", "--site2=0,1", "--distance=5"}, "--distance cannot go with the sites"},
        {{"--site1=0,0"}, "--site1 needs --site2"},
        {{"--site2=0,0"}, "--site2 needs --site1"},
        {{"--ground1=5"}, "go with the sites"},
        {{"--mast2=5", "--distance=5"}, "go with the sites"},
        {{"--kml=map.kml", "--distance=5"}, "--kml maps sites"},
        {{"--speed-table", "--site1=0,0", "--site2=0,1", "--kml=m.kml"},
         "--kml cannot go with --speed-table"},
        {{"--site1=0,0", "--site2=0,1", "--kml="}, "--kml needs a file name"},
        {{"--site1=0,0", "--site2=0,1", "--ground1=high"},
         "--ground1 \"high\" is not a number of metres"},
        {{"--site1=0,0", "--site2=0,1", "--mast1=-3"}, "--mast1 \"-3\": an antenna height"},
        {{"--site1=0,0", "--site2=0,1", "--mast2"}, "--mast2 needs a value"},
        {{"--csv=-", "--site1=0,0", "--site2=0,1"}, "--csv takes the sites from the file"},
        {{"--site1=0,0", "--site2=0,abc"}, "--site2: the second part \"abc\": "},
        {{"--site1=91,0", "--site2=0,1"}, "--site1: \"91,0\": Latitude 91 not in [-90d, 90d]"},
        {{"--site1=40.44", "--site2=0,1"}, "--site1: \"40.44\" has 1 part"},
        {{"--site1=", "--site2=0,1"}, "--site1: the point is empty"},
        {{"--site1=0,0", "--site2=40N 30S"}, "interpreted as latitudes"},
        {{"--site1=0,0", "--site2=x,1"}, "--site2: the first part \"x\": "},
    };
    for (const auto& c : cases) {
        // --csv takes no input option: its case has none.
        const CliRun run = RunCli(c.args.front() == "--csv=-" ? c.args : SiteLink(c.args));
        SCOPED_TRACE(c.said);
        EXPECT_EQ(run.exitStatus, 64) << run.err;
        EXPECT_TRUE(run.out.empty());
        const std::string first = run.err.substr(0, run.err.find('\n'));
        EXPECT_EQ(first.rfind("linkcalc-cli: ", 0), 0U) << run.err;
        EXPECT_NE(first.find(c.said), std::string::npos) << run.err;
    }
}

// Texts that once ended the tool with SIGSEGV inside GeographicLib's DMS decoding, and a few
// more of their kind: each is a usage error of one line naming the option and the part.
TEST(Sites, PointTextsThatCrashedTheLibraryAreUsageErrors) {
    const struct {
        const char* option;
        const char* text;
        const char* said;
    } cases[] = {
        {"--site1", "1:1:1:1:1:1 1", "--site1: the first part \"1:1:1:1:1:1\": more than three"},
        {"--site2", "1 1:1:1:1d1'1\"", "--site2: the second part \"1:1:1:1d1'1\"\": more than"},
        {"--site1", "1:1:1:1:1:1:1:1:1:1:1:1:1:1:1:1:1:1,1", "--site1: the first part "},
        {"--site2", "0 1d1'1\"1d1'1\"1\"", "--site2: the second part "},
        {"--site1", "N1:1:1:1:1:1:1:1 1", "--site1: the first part "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string point = c.text;
        const CliRun run = RunCli(SiteLink(std::string(c.option) == "--site1"
                                               ? Args{"--site1=" + point, "--site2=0,1"}
                                               : Args{"--site1=0,1", "--site2=" + point}));
        EXPECT_EQ(run.exitStatus, 64) << run.err;
        EXPECT_TRUE(run.out.empty());
        // One line of what failed, then the pointer to --help that every usage error has.
        const std::string first = run.err.substr(0, run.err.find('\n'));
        EXPECT_EQ(first.rfind(std::string("linkcalc-cli: ") + c.said, 0), 0U) << run.err;
        EXPECT_EQ(run.err.substr(first.size()),
                  "\nTry 'linkcalc-cli --help' for more information.\n");
    }
}

}  // namespace
}  // namespace linkcalc::cli_test
