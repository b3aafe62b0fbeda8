// The KML map of --kml, read back by GDAL's ogrinfo (Debian gdal-bin), and maps that cannot
// be written, which leave no file.
#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli_runner.h"

namespace linkcalc::cli_test {
namespace {

class KmlMap : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/linkcalc-kml-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder_ = pattern;
    }
    void TearDown() override {
        for (const std::string& name : Files()) std::remove((folder_ + "/" + name).c_str());
        ::rmdir(folder_.c_str());
    }

    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        if (DIR* dir = ::opendir(folder_.c_str())) {
            while (const dirent* entry = ::readdir(dir)) {
                const std::string name = entry->d_name;
                if (name != "." && name != "..") names.push_back(name);
            }
            ::closedir(dir);
        }
        return names;
    }

    std::string folder_;
};

// What ogrinfo reads of a map: its features' lines, without the layer's header.
std::string OgrInfo(const std::string& path) {
    const std::string command = "ogrinfo -ro -al -q '" + path + "' 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return {};
    std::string out;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    const int status = ::pclose(pipe);
    EXPECT_EQ(status, 0) << "ogrinfo (Debian gdal-bin) failed:\n" << out;
    return out;
}

std::vector<std::string> LinesHolding(const std::string& text, const std::string& part) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (line.find(part) != std::string::npos) lines.push_back(line);
    }
    return lines;
}

const std::string kLink = "23,23,5800,";

TEST_F(KmlMap, ABatchMapsEachLinkRunFromSitesColouredByItsFadeMargin) {
    const std::string map = folder_ + "/links.kml";
    const CliRun run =
        RunCli({"--csv", "-", "--kml", map},
               "site1,site2,gain1,gain2,band,speed\n"
               "\"40.4406,-79.9959\",\"40.5,-79.9\"," +
                   kLink + "6\n" +                                            // 30.93 dB
                   "\"40.4406,-79.9959\",\"40.5,-79.9\"," + kLink + "54\n" +  // 7.93
                   "\"40.4406,-79.9959\",\"41.4,-79.9\"," + kLink + "54\n" +  // -12.24
                   "\"10,20\",\"10,20\"," + kLink + "54\n" +                  // failed
                   "\"0,0\",\"0,1\",23,,5800,54\n" +                          // stopped
                   "\"0,0\",\"0,x\"," + kLink + "54\n");                      // invalid
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(Files(), std::vector<std::string>{"links.kml"});

    const std::string info = OgrInfo(map);
    const std::vector<std::string> lines = LinesHolding(info, "LINESTRING");
    ASSERT_EQ(lines.size(), 5U) << info;
    EXPECT_EQ(LinesHolding(info, "POINT").size(), 10U);
    // KML's aabbggrr colours, as OGR's RGBA: green, yellow, red, red, red.
    const std::vector<std::string> styles = LinesHolding(info, "Style = PEN(c:");
    ASSERT_EQ(styles.size(), 5U) << info;
    const char* colours[] = {"#00FF00FF", "#FFFF00FF", "#FF0000FF", "#FF0000FF", "#FF0000FF"};
    for (std::size_t i = 0; i < styles.size(); ++i) {
        EXPECT_NE(styles[i].find(colours[i]), std::string::npos) << i << ": " << styles[i];
    }
    // The line from site 1 to site 2: 10.5 km, so one point between them.
    EXPECT_NE(lines[0].find("LINESTRING Z (-79.9959 40.4406 0,"), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find(",-79.9 40.5 0)"), std::string::npos) << lines[0];
    EXPECT_NE(info.find("Name (String) = Link at line 2: site 1"), std::string::npos);
    EXPECT_NE(info.find("Fade margin: 7.93 dB"), std::string::npos);
    EXPECT_NE(info.find("Outcome: failed: The distance must be greater than zero."),
              std::string::npos);
    EXPECT_NE(info.find("Bit rates: 30.2 Mbit/s one way, 37.71 Mbit/s both ways"),
              std::string::npos);
    EXPECT_NE(info.find("Bearings: 50.93 deg at site 1, 230.99 deg at site 2"), std::string::npos);
}

TEST_F(KmlMap, OneLinkIsOneLineWithItsInputsInTheDescription) {
    const std::string map = folder_ + "/link.kml";
    const CliRun run = RunCli({"--gain1=23", "--gain2=23", "--band=5800", "--speed=6",
                               "--site1=0 0", "--site2=0 0.5", "--mast1=10", "--kml=" + map});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const std::string info = OgrInfo(map);
    const std::vector<std::string> lines = LinesHolding(info, "LINESTRING");
    ASSERT_EQ(lines.size(), 1U) << info;
    // 55.7 km along the equator: a point each 10 km or less.
    EXPECT_NE(lines[0].find("LINESTRING Z (0 0 0,0.083333333333333 0.0 0,"), std::string::npos)
        << lines[0];
    EXPECT_NE(lines[0].find(",0.5 0.0 0)"), std::string::npos) << lines[0];
    EXPECT_NE(info.find("Inputs: gain1=23, gain2=23, band=5800, speed= 6 Mbps, site1=0 0, "
                        "site2=0 0.5, mast1=10.00"),
              std::string::npos)
        << info;
}

TEST_F(KmlMap, AMapThatCannotBeWrittenLeavesNoFileAndExits74) {
    const std::vector<std::string> link{"--gain1=23", "--gain2=23",  "--band=5800",
                                        "--speed=54", "--site1=0,0", "--site2=0,1"};
    const struct {
        std::string path;
        const char* reason;
    } cases[] = {
        {folder_ + "/missing/map.kml", "No such file or directory"},
        {folder_, "Is a directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        std::vector<std::string> args = link;
        args.push_back("--kml=" + c.path);
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.exitStatus, 74);
        EXPECT_EQ(run.err, "linkcalc-cli: cannot write the map " + c.path + ": " + c.reason + "\n");
        EXPECT_TRUE(Files().empty());
    }
}

// A file size limit stops the map partway through a batch.
TEST_F(KmlMap, ABatchWhoseMapFailsPartwayLeavesNoMap) {
    std::string csv = "site1,site2,gain1,gain2,band,speed\n";
    for (int i = 0; i < 3000; ++i) csv += "\"0,0\",\"0,0.1\"," + kLink + "54\n";
    const std::string map = folder_ + "/big.kml";

    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);  // the tool inherits it ignored
    rlimit small = saved;
    small.rlim_cur = 64 * 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const CliRun run = RunCli({"--csv", "-", "--kml", map}, csv);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedSignal);

    EXPECT_EQ(run.exitStatus, 74);
    EXPECT_EQ(run.err, "linkcalc-cli: cannot write the map " + map + ": File too large\n");
    EXPECT_TRUE(Files().empty());
}

TEST_F(KmlMap, ABatchWithoutSitesCannotBeMapped) {
    const std::string map = folder_ + "/none.kml";
    const CliRun run = RunCli({"--csv", "-", "--kml", map}, "gain1,distance\n23,5\n");
    EXPECT_EQ(run.exitStatus, 64);
    EXPECT_EQ(run.err.rfind("linkcalc-cli: --kml maps sites: the header names none", 0), 0U)
        << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(Files().empty());
}

}  // namespace
}  // namespace linkcalc::cli_test
