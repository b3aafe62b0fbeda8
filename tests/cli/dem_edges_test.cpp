// Links over the edges of a DEM: sites on a tile's edge, on 180°, paths across the
// antimeridian and over a pole, and rasters whose cells are no height or garbage.
#include <unistd.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli_runner.h"
#include "csv_rows.h"

namespace linkcalc::cli_test {
namespace {

namespace fs = std::filesystem;
using Height = std::function<double(double lat, double lon)>;

class DemEdgesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("linkcalc-dem-edges-" + std::to_string(::getpid()));
        fs::create_directories(folder_ / "tiles");
    }
    void TearDown() override { fs::remove_all(folder_); }

    // A 3-second SRTM tile (1201 × 1201 nodes, big-endian 16-bit) of its south-west corner.
    void MakeTile(const std::string& name, int south, int west, const Height& height) const {
        constexpr int kNodes = 1201;
        std::string bytes;
        bytes.reserve(kNodes * kNodes * 2);
        for (int row = 0; row < kNodes; ++row) {
            for (int column = 0; column < kNodes; ++column) {
                const auto value = static_cast<std::uint16_t>(static_cast<std::int16_t>(
                    std::lround(height(south + 1 - row / 1200.0, west + column / 1200.0))));
                bytes += static_cast<char>(value >> 8);
                bytes += static_cast<char>(value & 0xff);
            }
        }
        std::ofstream(folder_ / "tiles" / name, std::ios::binary) << bytes;
    }

    // A Float32 GeoTIFF in degrees of WGS84, cells of 0.125° from 80° W, 40° N, north row first.
    std::string MakeFloatGeoTiff(int columns, const std::vector<float>& cells) const {
        {
            std::ofstream header(folder_ / "cells.hdr");
            header << "ncols " << columns << "\nnrows " << cells.size() / columns
                   << "\nxllcorner -80\nyllcorner 40\ncellsize 0.125\nbyteorder "
                   << (std::endian::native == std::endian::little ? "LSBFIRST" : "MSBFIRST")
                   << "\nnbits 32\npixeltype float\n";
        }
        std::ofstream(folder_ / "cells.flt", std::ios::binary)
            .write(reinterpret_cast<const char*>(cells.data()),
                   static_cast<std::streamsize>(cells.size() * sizeof(float)));
        const std::string tiff = (folder_ / "cells.tif").string();
        fs::remove(tiff);
        const std::string command = "gdal_translate -q -ot Float32 -a_srs EPSG:4326 " +
                                    (folder_ / "cells.flt").string() + " " + tiff;
        EXPECT_EQ(std::system(command.c_str()), 0) << command << " (Debian: gdal-bin)";
        return tiff;
    }

    std::string Tiles() const { return (folder_ / "tiles").string(); }

    static std::vector<std::string> Link(const std::string& site1, const std::string& site2,
                                         const std::string& dem) {
        return {"--gain1=23", "--gain2=23",       "--band=5800",      "--speed=24",
                "--unit=Km",  "--site1=" + site1, "--site2=" + site2, "--dem=" + dem};
    }

  private:
    fs::path folder_;
};

// 1000 m on 180°, rising 2 m a node away from it and 1 m a node northward.
double AcrossTheAntimeridian(double lat, double lon) {
    return 1000 + 1200 * (lat - 40.5) + 2400 * (180 - std::abs(lon));
}

TEST_F(DemEdgesTest, LinksOverTileEdgesAnd180ReadTheTilesThatHoldThem) {
    MakeTile("N40E179.hgt", 40, 179, AcrossTheAntimeridian);
    MakeTile("N40W180.hgt", 40, -180, AcrossTheAntimeridian);
    const auto polar = [](double lat, double /*lon*/) { return 500 + 1200 * (lat - 89); };
    MakeTile("N89E010.hgt", 89, 10, polar);
    MakeTile("N89W170.hgt", 89, -170, polar);
    const auto plane = [](double lat, double lon) {
        return 100 + 1200 * (lat - 40) + 2400 * (lon + 80);
    };
    MakeTile("N40W080.hgt", 40, -80, plane);
    const struct {
        const char* what;
        const char* site1;
        const char* site2;
        double ground1;
        double ground2;
    } cases[] = {
        {"to 180", "40.5,179.5", "40.5,180", 2200, 1000},
        {"to -180", "40.5,179.5", "40.5,-180", 2200, 1000},
        {"across 180", "40.5,179.5", "40.6,-179.5", 2200, 2320},
        {"across 180 westward", "40.6,-179.5", "40.5,179.5", 2320, 2200},
        {"over the north pole", "89.5,10.5", "89.6,-169.5", 1100, 1220},
        {"to the east edge of the only tile", "40.5,-79.5", "40.5,-79", 1900, 3100},
        {"to the north edge of the only tile", "40.5,-79.5", "41,-79.5", 1900, 2500},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const JsonRun run = RunJson(Link(c.site1, c.site2, Tiles()));
        ASSERT_EQ(run.exitStatus, 0) << run.err;
        const auto& sites = run.report.at("sites");
        EXPECT_NEAR(sites.at("site1").at("ground_m").get<double>(), c.ground1, 1e-6);
        EXPECT_NEAR(sites.at("site2").at("ground_m").get<double>(), c.ground2, 1e-6);
        const auto& clearance = run.report.at("clearance");
        EXPECT_TRUE(clearance.at("mast60_m").is_number()) << clearance;
        EXPECT_TRUE(clearance.at("worst").at("clearance_m").is_number()) << clearance;
    }
}

// 100 m around, one cell of infinity and one of 1e30.
TEST_F(DemEdgesTest, ACellOfNoHeightIsAHoleAndAGarbageCellIsADataError) {
    constexpr int kColumns = 4;
    std::vector<float> cells(kColumns * 4, 100.0F);
    cells[1 * kColumns + 1] = std::numeric_limits<float>::infinity();
    cells[2 * kColumns + 2] = 1e30F;
    const std::string dem = MakeFloatGeoTiff(kColumns, cells);

    // On the hole's centre nothing holds a height; beside it its neighbours do.
    const CliRun hole = RunCli(Link("40.3125,-79.8125", "40.4375,-79.5625", dem));
    EXPECT_EQ(hole.exitStatus, 65);
    EXPECT_EQ(hole.out, "");
    EXPECT_EQ(hole.err, "linkcalc-cli: the DEM " + dem + " has no height at 40.3125,-79.8125\n");
    const JsonRun beside = RunJson(Link("40.3125,-79.85", "40.4375,-79.5625", dem));
    ASSERT_EQ(beside.exitStatus, 0) << beside.err;
    EXPECT_EQ(beside.report.at("sites").at("site1").at("ground_m").get<double>(), 100);

    const CliRun garbage = RunCli(Link("40.4375,-79.9375", "40.0625,-79.5625", dem));
    EXPECT_EQ(garbage.exitStatus, 65);
    EXPECT_EQ(garbage.out, "");
    const std::string said = "linkcalc-cli: the DEM " + dem + " has a height of 1e+30 m at ";
    EXPECT_EQ(garbage.err.substr(0, said.size()), said) << garbage.err;
    const std::string bounds = ": the ground lies from -11000 to 9000 m\n";
    ASSERT_GT(garbage.err.size(), bounds.size());
    EXPECT_EQ(garbage.err.substr(garbage.err.size() - bounds.size()), bounds) << garbage.err;

    // In a batch the row is invalid, and the batch goes on.
    const CliRun batch = RunCli(
        {"--csv", "-"},
        "gain1,gain2,band,speed,site1,site2,dem\n"
        "23,23,5800,24,\"40.4375,-79.9375\",\"40.0625,-79.5625\"," +
            dem + "\n" + "23,23,5800,24,\"40.3125,-79.85\",\"40.4375,-79.5625\"," + dem + "\n");
    ASSERT_EQ(batch.exitStatus, 0) << batch.err;
    const std::vector<Row> rows = RowsOf(batch.out);
    ASSERT_EQ(rows.size(), 2U);
    EXPECT_EQ(rows[0].at("outcome"), "invalid");
    EXPECT_EQ(
        rows[0].at("message").rfind("dem: the DEM " + dem + " has a height of 1e+30 m at ", 0), 0U)
        << rows[0].at("message");
    EXPECT_EQ(rows[1].at("outcome"), "completed") << rows[1].at("message");
}

}  // namespace
}  // namespace linkcalc::cli_test
