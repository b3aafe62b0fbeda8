// The clearance from the command line: a terrain file, the bare earth and k, the picture, the
// report's block and JSON object, batch columns, every fault with its exit status, and a plain
// run that loads neither GDAL nor cairo.
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli_runner.h"
#include "csv_rows.h"

namespace linkcalc::cli_test {
namespace {

namespace fs = std::filesystem;

// 10 km from 100 m to 200 m ground with a 300 m ridge and 15 m of trees at mid-path.
constexpr const char* kRidge =
    "distance,elevation,obstruction\n0,100,0\n4000,100,0\n5000,300,15\n6000,150,0\n10000,200,0\n";

class ClearanceCliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ =
            fs::temp_directory_path() / ("linkcalc-clearance-cli-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string File(const std::string& name, const std::string& text) const {
        const fs::path path = folder_ / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }
    std::string Path(const std::string& name) const { return (folder_ / name).string(); }

    static Inputs KmLink(const Inputs& changes = {}) {
        Inputs inputs = CompleteLink({{"unit", "Km"}, {"speed", "24"}});
        for (const auto& [name, text] : changes) inputs[name] = text;
        return inputs;
    }
    static std::vector<std::string> With(Inputs inputs, const std::vector<std::string>& more) {
        std::vector<std::string> args = ArgsOf(inputs);
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }

    fs::path folder_;
};

TEST_F(ClearanceCliTest, WithoutAnyOfItThereIsNoClearance) {
    const JsonRun json = RunJson(KmLink());
    EXPECT_TRUE(json.report.at("clearance").is_null());
    const CliRun text = RunCli(ArgsOf(KmLink()));
    EXPECT_EQ(text.out.find("Clearance"), std::string::npos);
}

TEST_F(ClearanceCliTest, BareEarthNeedsTheSuggestedAntennaHeight) {
    // Asked for through k, at its usual value.
    const JsonRun json =
        RunJson(With(KmLink({{"distance", "16.0934"}}), {"--k-factor", "1.3333333333333333"}));
    ASSERT_EQ(json.exitStatus, 0) << json.err;
    const auto& c = json.report.at("clearance");
    EXPECT_DOUBLE_EQ(c.at("k").get<double>(), 4.0 / 3.0);
    EXPECT_EQ(c.at("samples").get<int>(), 538);  // every 30 m, both ends
    EXPECT_NEAR(c.at("worst").at("distance_m").get<double>(), 8046.7, 15);
    EXPECT_TRUE(c.at("clear60").get<bool>());  // masts of the suggested height clear 60 %
    // The window shows 18 m; the zone and bulge with its constants sum to 18.238 m.
    EXPECT_NEAR(c.at("mast100_m").get<double>(), 18.238, 0.02);
    EXPECT_EQ(json.Field("TxtSAH"), "18");
}

TEST_F(ClearanceCliTest, ATerrainGivesTheRidgeAndItsMasts) {
    const std::string terrain = File("ridge.csv", kRidge);
    const JsonRun json = RunJson(With(KmLink(), {"--terrain", terrain}));
    ASSERT_EQ(json.exitStatus, 0) << json.err;
    EXPECT_EQ(json.Field("TxtDM"), "10");
    const auto& c = json.report.at("clearance");
    EXPECT_EQ(c.at("worst").at("distance_m").get<double>(), 5000);
    EXPECT_FALSE(c.at("clear60").get<bool>());
    EXPECT_NEAR(c.at("mast60_m").get<double>(), 173.292, 0.001);
    EXPECT_NEAR(c.at("mast100_m").get<double>(), 177.839, 0.001);
    // Masts of the suggested height (TxtSAH, here 13 m) on the terrain's ends: the sight at
    // mid-path is 113 + (213 - 113) / 2 = 163, the top 316.4715.
    EXPECT_EQ(json.Field("TxtSAH"), "13");
    EXPECT_NEAR(c.at("worst").at("clearance_m").get<double>(), 163 - 316.4715, 0.001);

    const CliRun text = RunCli(With(KmLink(), {"--terrain", terrain, "--k-factor", "1"}));
    EXPECT_NE(text.out.find("Clearance\n  Ground                    terrain \"" + terrain +
                            "\"\n"
                            "  Earth radius factor k     1\n"),
              std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("  60 % of the zone clear    no\n"), std::string::npos);
    EXPECT_NE(text.out.find("  Masts for 100 % clear     178.3 m\n"), std::string::npos);
}

TEST_F(ClearanceCliTest, WithoutADistanceTheTerrainGivesIt) {
    const std::string terrain = File("ridge.csv", kRidge);
    Inputs inputs = KmLink();
    inputs.erase("distance");
    inputs.erase("unit");
    const JsonRun km = RunJson(With(inputs, {"--terrain", terrain}));
    ASSERT_EQ(km.exitStatus, 0) << km.err;
    EXPECT_EQ(km.Field("TxtDM"), "10");
    EXPECT_EQ(km.Field("Cmbmilekm"), "Km");
    inputs["unit"] = "Miles";
    const JsonRun miles = RunJson(With(inputs, {"--terrain", terrain}));
    ASSERT_EQ(miles.exitStatus, 0) << miles.err;
    EXPECT_EQ(miles.Field("TxtDM"), "6.21373");  // 10000 / 1609.34
    EXPECT_EQ(miles.Field("Lblft3"), "ft");
    // From standard input as well.
    const CliRun piped = RunCli(With(inputs, {"--terrain", "-", "--json"}), std::string(kRidge));
    EXPECT_EQ(piped.exitStatus, 0) << piped.err;
}

TEST_F(ClearanceCliTest, TheProfileIsWrittenInTheFormatOfItsName) {
    const std::string terrain = File("ridge.csv", kRidge);
    for (const std::string name : {"p.svg", "p.png", "p.pdf"}) {
        const CliRun run = RunCli(With(KmLink(), {"--terrain", terrain, "--profile", Path(name)}));
        EXPECT_EQ(run.exitStatus, 0) << run.err;
        EXPECT_GT(fs::file_size(Path(name)), 1000u) << name;
    }
    std::string png(8, '\0');
    std::ifstream(Path("p.png"), std::ios::binary).read(png.data(), 8);
    EXPECT_EQ(png, "\x89PNG\r\n\x1a\n");
    // A stopped run draws nothing.
    Inputs stopped = KmLink();
    stopped.erase("gain1");
    const CliRun none = RunCli(With(stopped, {"--profile", Path("none.png")}));
    EXPECT_EQ(none.exitStatus, 1);
    EXPECT_FALSE(fs::exists(Path("none.png")));
}

struct FaultCase {
    std::vector<std::string> more;
    int exitStatus;
    std::string complaint;  // the whole of standard error but the usage hint
};

TEST_F(ClearanceCliTest, EachFaultHasItsStatusAndOneLine) {
    const std::string ridge = File("ridge.csv", kRidge);
    const std::string unsorted = File("unsorted.csv", "distance,elevation\n0,1\n200,2\n100,3\n");
    const std::string shortRow = File("short.csv", "distance,elevation\n0,1\n200\n");
    const std::vector<FaultCase> cases{
        {{"--terrain", ridge, "--distance", "12"},
         64,
         "the terrain ends at 10000 m but the path is 12000 m: they differ by more than 1 %"},
        {{"--terrain", unsorted},
         65,
         "terrain \"" + unsorted +
             "\": line 4: distance 100 m does not follow 200 m: rows go in increasing distance"},
        {{"--terrain", shortRow}, 65, "terrain \"" + shortRow + "\": line 3: 1 field, expected 2"},
        {{"--terrain", Path("absent.csv")},
         66,
         "cannot open \"" + Path("absent.csv") + "\": No such file or directory"},
        {{"--terrain", ridge, "--profile", Path("absent/p.svg")},
         74,
         "cannot write " + Path("absent/p.svg") + ": No such file or directory"},
        {{"--profile", Path("p.gif")},
         64,
         "--profile \"" + Path("p.gif") + "\": the picture's name ends in .svg, .png or .pdf"},
        // Longer than any path on the earth: its profile would only fill the memory.
        {{"--distance", "30000", "--k-factor", "1"},
         65,
         "a path of 30000000 m is longer than any on the earth (20015114.4 m): no clearance"},
        {{"--k-factor", "0"}, 64, "--k-factor \"0\" is not a positive number"},
        {{"--k-factor", "4/0"}, 64, "--k-factor \"4/0\" is not a positive number"},
        {{"--k-factor", "-4/3"}, 64, "--k-factor \"-4/3\" is not a positive number"},
        {{"--k-factor", "4/3/2"}, 64, "--k-factor \"4/3/2\" is not a positive number"},
        {{"--k-factor", "1e300/1e-300"},
         64,
         "--k-factor \"1e300/1e-300\" is not a positive number"},
        {{"--terrain", ridge, "--dem", Path("dem")},
         64,
         "--terrain and --dem cannot go together: the ground comes from one"},
        {{"--dem", Path("dem")}, 64, "--dem needs the two sites, --site1 and --site2"},
        {{"--terrain="}, 64, "--terrain needs a file name"},
        {{"--speed-table", "--k-factor", "1"},
         64,
         "--k-factor goes with one link, not with --speed-table"},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.complaint);
        Inputs inputs = KmLink();
        if (c.more.front() == "--speed-table") inputs.erase("speed");
        const CliRun run = RunCli(With(inputs, c.more));
        EXPECT_EQ(run.exitStatus, c.exitStatus);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.substr(0, run.err.find('\n') + 1), "linkcalc-cli: " + c.complaint + "\n");
    }
    const CliRun batch = RunCli({"--csv", "-", "--terrain", ridge}, "gain1\n23\n");
    EXPECT_EQ(batch.exitStatus, 64);
    EXPECT_NE(batch.err.find("give no --terrain with it"), std::string::npos) << batch.err;
    Inputs noDistance = KmLink();
    noDistance.erase("distance");
    const CliRun farTerrain = RunCli(
        With(noDistance, {"--terrain", File("far.csv", "distance,elevation\n0,1\n1e10,2\n")}));
    EXPECT_EQ(farTerrain.exitStatus, 65);
    EXPECT_EQ(farTerrain.err, "linkcalc-cli: terrain \"" + Path("far.csv") +
                                  "\": line 3: distance \"1e10\" is longer than any path on the "
                                  "earth (20015114.4 m)\n");
    const CliRun far = RunCli({"--csv", "-"},
                              "gain1,gain2,unit,band,speed,distance,k-factor\n"
                              "23,23,Km,5800,24,30000,1\n23,23,Km,5800,24,10,1\n");
    ASSERT_EQ(far.exitStatus, 0) << far.err;
    const std::vector<Row> rows = RowsOf(far.out);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].at("outcome"), "invalid");
    EXPECT_EQ(rows[0].at("message"),
              "a path of 30000000 m is longer than any on the earth (20015114.4 m): no clearance");
    EXPECT_EQ(rows[1].at("outcome"), "completed");
}

TEST_F(ClearanceCliTest, BatchRowsTakeTheirOwnTerrainAndK) {
    const std::string ridge = File("ridge.csv", kRidge);
    const std::string unsorted = File("unsorted.csv", "0,1\n200,2\n100,3\n");
    const std::string batch =
        "gain1,gain2,band,speed,distance,unit,terrain,k-factor\n"
        "23,23,5800,24,10,Km," +
        ridge +
        ",\n"
        "23,23,5800,24,,," +
        ridge +
        ",1\n"
        "23,23,5800,24,16,Km,,\n"
        "23,23,5800,24,12,Km," +
        ridge +
        ",\n"
        "23,23,5800,24,10,Km," +
        unsorted +
        ",\n"
        "23,23,5800,24,10,Km,,-1\n"
        ",23,5800,24,10,Km,,\n";
    const CliRun run = RunCli({"--csv", "-"}, batch);
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const std::vector<std::string> lines = CrlfLines(run.out);
    ASSERT_EQ(lines.size(), 8u) << run.out;
    const auto tail = [](const std::string& line, std::size_t fields) {
        std::size_t at = line.size();
        for (std::size_t i = 0; i < fields; ++i) at = line.rfind(',', at - 1);
        return line.substr(at + 1);
    };
    EXPECT_EQ(
        tail(lines[0], 8),
        "k,samples,worst_distance_m,worst_clearance_m,worst_ratio,clear60,mast60_m,mast100_m");
    EXPECT_EQ(tail(lines[1], 8),
              "1.3333333333333333,337,5000,-153.472,-13.5009,false,173.292,177.839");
    EXPECT_EQ(tail(lines[2], 8), "1,337,5000,-153.962,-13.544,false,173.783,178.33");
    EXPECT_EQ(tail(lines[3], 8), "1.3333333333333333,535,8000,14.233,0.9898,true,12.394,18.146");
    EXPECT_NE(
        lines[4].find(",invalid,terrain: the terrain ends at 10000 m but the path is 12000 m"),
        std::string::npos)
        << lines[4];
    EXPECT_NE(lines[5].find(",invalid,\"terrain \"\"" + unsorted + "\"\": line 3:"),
              std::string::npos)
        << lines[5];
    EXPECT_NE(lines[6].find(",invalid,\"k-factor \"\"-1\"\" is not a positive number\""),
              std::string::npos)
        << lines[6];
    EXPECT_EQ(tail(lines[7], 8), ",,,,,,,");  // stopped: no clearance
    EXPECT_NE(lines[7].find(",stopped,"), std::string::npos) << lines[7];
}

// What the dynamic loader maps, from its own account on standard error.
std::string LoadedLibraries(const std::vector<std::string>& args) {
    ::setenv("LD_DEBUG", "files", 1);
    const CliRun run = RunCli(args);
    ::unsetenv("LD_DEBUG");
    EXPECT_EQ(run.exitStatus, 0);
    return run.err;
}

TEST_F(ClearanceCliTest, APlainRunLoadsNeitherGdalNorCairo) {
    const std::string ridge = File("ridge.csv", kRidge);
    const std::string plain = LoadedLibraries(ArgsOf(KmLink()));
    ASSERT_NE(plain.find("libc.so"), std::string::npos) << "LD_DEBUG gave no account";
    for (const char* library : {"libgdal", "libcairo", "libpango", "liblinkcalc-"}) {
        EXPECT_EQ(plain.find(library), std::string::npos) << library;
    }
    const std::string terrain = LoadedLibraries(With(KmLink(), {"--terrain", ridge}));
    EXPECT_EQ(terrain.find("libgdal"), std::string::npos);
    EXPECT_EQ(terrain.find("libcairo"), std::string::npos);
    const std::string picture =
        LoadedLibraries(With(KmLink(), {"--terrain", ridge, "--profile", Path("p.png")}));
    EXPECT_NE(picture.find("liblinkcalc-picture.so"), std::string::npos);
    EXPECT_NE(picture.find("libcairo"), std::string::npos);
    EXPECT_EQ(picture.find("libgdal"), std::string::npos);
}

// A 3-second SRTM tile of a plane: 2 m a node eastward, 3 m a node southward.
double Plane(double lat, double lon) {
    return 100 + 2400 * (lon + 80) + 3600 * (41 - lat);
}

void MakePlaneTile(const fs::path& file) {
    constexpr int kNodes = 1201;
    std::string bytes;
    bytes.reserve(kNodes * kNodes * 2);
    for (int row = 0; row < kNodes; ++row) {
        for (int column = 0; column < kNodes; ++column) {
            const auto value = static_cast<std::uint16_t>(
                std::lround(Plane(41 - row / 1200.0, -80 + column / 1200.0)));
            bytes += static_cast<char>(value >> 8);
            bytes += static_cast<char>(value & 0xff);
        }
    }
    std::ofstream(file, std::ios::binary) << bytes;
}

TEST_F(ClearanceCliTest, ADemBetweenTheSitesGivesTheGroundAndTheClearance) {
    fs::create_directories(folder_ / "dem");
    MakePlaneTile(folder_ / "dem" / "N40W080.hgt");
    Inputs inputs = KmLink();
    inputs.erase("distance");
    const JsonRun json = RunJson(
        With(inputs, {"--site1", "40.1,-79.5", "--site2", "40.5,-79.3", "--dem", Path("dem")}));
    ASSERT_EQ(json.exitStatus, 0) << json.err;
    const auto& sites = json.report.at("sites");
    const double distance = sites.at("distance_m").get<double>();
    EXPECT_NEAR(sites.at("site1").at("ground_m").get<double>(), Plane(40.1, -79.5), 1e-6);
    EXPECT_NEAR(sites.at("site2").at("ground_m").get<double>(), Plane(40.5, -79.3), 1e-6);
    const auto& c = json.report.at("clearance");
    EXPECT_EQ(c.at("samples").get<double>(), std::ceil(distance / 30) + 1);
    // The plane falls toward site 2 less than the line of sight does: the worst point is near
    // site 2, where the zone is narrow, never at an end.
    EXPECT_GT(c.at("worst").at("distance_m").get<double>(), 0);
    EXPECT_LT(c.at("worst").at("distance_m").get<double>(), distance);

    // A ground given stands; the mast follows it.
    const JsonRun given =
        RunJson(With(inputs, {"--site1", "40.1,-79.5", "--site2", "40.5,-79.3", "--dem",
                              Path("dem"), "--ground1", "5", "--mast2", "12"}));
    ASSERT_EQ(given.exitStatus, 0) << given.err;
    EXPECT_EQ(given.report.at("sites").at("site1").at("ground_m").get<double>(), 5);
    EXPECT_EQ(given.report.at("sites").at("site2").at("mast_m").get<double>(), 12);
    EXPECT_NE(given.report.at("clearance").at("mast100_m"), c.at("mast100_m"));
}

TEST_F(ClearanceCliTest, AMissingTileIsNamed) {
    fs::create_directories(folder_ / "dem");
    MakePlaneTile(folder_ / "dem" / "N40W080.hgt");
    Inputs inputs = KmLink();
    inputs.erase("distance");
    const CliRun run = RunCli(
        With(inputs, {"--site1", "40.5,-79.5", "--site2", "39.9,-79.5", "--dem", Path("dem")}));
    EXPECT_EQ(run.exitStatus, 66);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(
        run.err.find("linkcalc-cli: the DEM folder " + Path("dem") + " has no tile N39W080.hgt"),
        std::string::npos)
        << run.err;
}

TEST_F(ClearanceCliTest, BetweenSitesATerrainAgreesWithTheirDistance) {
    const std::string terrain = File("ridge.csv", kRidge);
    Inputs inputs = KmLink();
    inputs.erase("distance");
    // 9.99 km along the meridian: within 1 % of the terrain's 10 km.
    const JsonRun near = RunJson(
        With(inputs, {"--site1", "40.1,-79.5", "--site2", "40.19,-79.5", "--terrain", terrain}));
    ASSERT_EQ(near.exitStatus, 0) << near.err;
    EXPECT_EQ(near.report.at("sites").at("site1").at("ground_m").get<double>(), 100);
    EXPECT_EQ(near.report.at("sites").at("site2").at("ground_m").get<double>(), 200);
    EXPECT_FALSE(near.report.at("clearance").at("clear60").get<bool>());
    const CliRun far = RunCli(
        With(inputs, {"--site1", "40.1,-79.5", "--site2", "40.2,-79.5", "--terrain", terrain}));
    EXPECT_EQ(far.exitStatus, 64);
    EXPECT_EQ(far.out, "");
    EXPECT_EQ(far.err.substr(0, far.err.find('\n')),
              "linkcalc-cli: the terrain ends at 10000 m but the path is 11103.8 m: they differ "
              "by more than 1 %");
}

// The tool copied where no module stands beside it: a plain run needs none, a picture cannot
// be drawn without its module.
TEST_F(ClearanceCliTest, WithoutItsModuleAPictureIsUnavailable) {
    fs::create_directories(folder_ / "bin");
    const fs::path copy = folder_ / "bin" / "linkcalc-cli";
    fs::copy_file(LINKCALC_CLI_PATH, copy);
    const std::string link = copy.string() + " --gain1 23 --gain2 23 --distance 10 --unit Km " +
                             "--band 5800 --speed 24";
    EXPECT_EQ(std::system((link + " >/dev/null").c_str()), 0);
    const std::string err = Path("err");
    const int status =
        std::system((link + " --profile " + Path("p.png") + " >/dev/null 2>" + err).c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 69);
    std::ifstream in(err);
    const std::string message((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(message.rfind("linkcalc-cli: cannot load the picture module: ", 0), 0u) << message;
    EXPECT_NE(message.find("liblinkcalc-picture.so"), std::string::npos) << message;
    EXPECT_FALSE(fs::exists(Path("p.png")));
}

TEST_F(ClearanceCliTest, BatchRowsBetweenSitesTakeTheirDem) {
    fs::create_directories(folder_ / "dem");
    MakePlaneTile(folder_ / "dem" / "N40W080.hgt");
    const std::string dem = Path("dem");
    const std::string batch =
        "gain1,gain2,band,speed,unit,site1,site2,ground1,dem\n"
        "23,23,5800,24,Km,\"40.1,-79.5\",\"40.5,-79.3\",," +
        dem + "\n" + "23,23,5800,24,Km,\"40.1,-79.5\",\"40.5,-79.3\",5," + dem + "\n" +
        "23,23,5800,24,Km,\"40.5,-79.5\",\"39.9,-79.5\",," + dem + "\n" +
        "23,23,5800,24,Km,\"40.1,-79.5\",\"40.5,-79.3\",,\n";
    const CliRun run = RunCli({"--csv", "-"}, batch);
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const std::vector<std::string> lines = CrlfLines(run.out);
    ASSERT_EQ(lines.size(), 5u) << run.out;
    EXPECT_NE(lines[0].find(",distance_m,azimuth1_deg,azimuth2_deg,tilt1_deg,tilt2_deg,k,samples,"),
              std::string::npos)
        << lines[0];
    // The same link on the DEM's ground and on a ground of 5 m at site 1: the tilts differ.
    const auto tilt1 = [](const std::string& line) {
        std::size_t at = line.size();
        for (int i = 0; i < 10; ++i) at = line.rfind(',', at - 1);
        const std::size_t end = line.find(',', at + 1);
        return line.substr(at + 1, end - at - 1);
    };
    EXPECT_NE(lines[1].find(",completed,"), std::string::npos) << lines[1];
    EXPECT_NE(lines[2].find(",completed,"), std::string::npos) << lines[2];
    EXPECT_NE(tilt1(lines[1]), tilt1(lines[2]));
    EXPECT_NE(lines[3].find(",invalid,\"dem: the DEM folder " + dem + " has no tile N39W080.hgt"),
              std::string::npos)
        << lines[3];
    // An empty cell is a bare earth.
    EXPECT_NE(lines[4].find(",completed,"), std::string::npos) << lines[4];

    const CliRun noSites = RunCli({"--csv", "-"},
                                  "gain1,gain2,band,speed,distance,unit,dem\n"
                                  "23,23,5800,24,10,Km," +
                                      dem + "\n");
    EXPECT_NE(noSites.out.find(",invalid,\"dem: a DEM needs the two sites, site1 and site2\""),
              std::string::npos)
        << noSites.out;
}

}  // namespace
}  // namespace linkcalc::cli_test
