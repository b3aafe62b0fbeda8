// Heights from elevation models made here: SRTM tiles and rasters of a known plane or ridge,
// sampled along north-south and east-west lines against the heights they were made from.
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "planning/elevation.h"

namespace linkcalc::planning {
namespace {

namespace fs = std::filesystem;
using Height = std::function<double(double lat, double lon)>;

class DemTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("linkcalc-dem-test-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    // A 3-second tile (1201 × 1201 nodes, big-endian 16-bit) of its south-west corner.
    void MakeTile(const std::string& name, int south, int west, const Height& height) const {
        constexpr int kNodes = 1201;
        std::vector<char> bytes;
        bytes.reserve(kNodes * kNodes * 2);
        for (int row = 0; row < kNodes; ++row) {
            for (int column = 0; column < kNodes; ++column) {
                const double lat = south + 1 - row / 1200.0;
                const double lon = west + column / 1200.0;
                const auto value = static_cast<std::int16_t>(std::lround(height(lat, lon)));
                const auto word = static_cast<std::uint16_t>(value);
                bytes.push_back(static_cast<char>(word >> 8));
                bytes.push_back(static_cast<char>(word & 0xff));
            }
        }
        std::ofstream(folder_ / name, std::ios::binary).write(bytes.data(), std::ssize(bytes));
    }

    // An ASCII grid of cell centres from (west, south), turned into a GeoTIFF in `srs`.
    std::string MakeGeoTiff(const std::string& srs, int columns, int rows, double west,
                            double south, double cell, const Height& heightAtXY) const {
        const fs::path grid = folder_ / "grid.asc";
        {
            std::ofstream out(grid);
            out.precision(17);
            out << "ncols " << columns << "\nnrows " << rows << "\nxllcenter " << west
                << "\nyllcenter " << south << "\ncellsize " << cell << "\n";
            for (int row = rows - 1; row >= 0; --row) {
                for (int column = 0; column < columns; ++column) {
                    out << heightAtXY(south + row * cell, west + column * cell) << " ";
                }
                out << "\n";
            }
        }
        const fs::path tiff = folder_ / "model.tif";
        const std::string command = "gdal_translate -q -ot Float64 -a_srs " + srs + " " +
                                    grid.string() + " " + tiff.string();
        EXPECT_EQ(std::system(command.c_str()), 0) << command << " (Debian: gdal-bin)";
        return tiff.string();
    }

    std::string Folder() const { return folder_.string(); }

  private:
    fs::path folder_;
};

std::vector<GeoPoint> Line(GeoPoint from, GeoPoint to, int count) {
    std::vector<GeoPoint> points;
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / (count - 1);
        points.push_back({from.lat + (to.lat - from.lat) * t, from.lon + (to.lon - from.lon) * t});
    }
    return points;
}

void ExpectHeights(const std::string& dem, const std::vector<GeoPoint>& points,
                   const Height& height, double tolerance) {
    const std::vector<double> heights = ElevationsAt(dem, points);
    ASSERT_EQ(heights.size(), points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_NEAR(heights[i], height(points[i].lat, points[i].lon), tolerance)
            << points[i].lat << "," << points[i].lon;
    }
}

// Rises 2 m a node eastward and 3 m a node southward over two tiles, one above the other.
double Plane(double lat, double lon) {
    return 100 + 2400 * (lon + 80) + 3600 * (42 - lat);
}

TEST_F(DemTest, TilesGiveThePlaneAlongBothDirectionsAndAcrossTheirSeam) {
    MakeTile("N40W080.hgt", 40, -80, Plane);
    MakeTile("n41w080.hgt", 41, -80, Plane);  // the name in lower case is found too
    ExpectHeights(Folder(), Line({40.1, -79.5}, {41.9, -79.5}, 181), Plane, 1e-6);
    ExpectHeights(Folder(), Line({40.5, -79.9}, {40.5, -79.1}, 101), Plane, 1e-6);
    ExpectHeights(Folder(), Line({41.0004, -79.99}, {41.0004, -79.0001}, 50), Plane, 1e-6);
}

TEST_F(DemTest, AMissingTileIsNamed) {
    MakeTile("N40W080.hgt", 40, -80, Plane);
    try {
        ElevationsAt(Folder(), Line({40.5, -79.5}, {39.5, -79.5}, 11));
        FAIL() << "no error";
    } catch (const ElevationError& error) {
        EXPECT_EQ(error.WhatFailed(), ElevationError::Kind::CannotOpen);
        EXPECT_EQ(std::string(error.what()),
                  "the DEM folder " + Folder() + " has no tile N39W080.hgt (for 39.9,-79.5)");
    }
}

TEST_F(DemTest, AHoleInATileIsNamed) {
    MakeTile("N40W080.hgt", 40, -80, [](double lat, double lon) {
        return std::abs(lat - 40.5) < 1e-9 && std::abs(lon + 79.5) < 1e-9 ? -32768 : 10;
    });
    try {
        ElevationsAt(Folder(), {{40.4, -79.4}, {40.5, -79.5}});
        FAIL() << "no error";
    } catch (const ElevationError& error) {
        EXPECT_EQ(error.WhatFailed(), ElevationError::Kind::NoData);
        EXPECT_STREQ(error.what(), "the DEM N40W080.hgt has no height at 40.5,-79.5");
    }
}

// A ridge running north-south along 79.5° W, its crest on a cell centre: 800 m, falling 10 m
// each 0.01° to either side.
double Ridge(double /*lat*/, double lon) {
    return 800 - 1000 * std::abs(lon + 79.5);
}

TEST_F(DemTest, AGeoTiffGivesTheRidgeAcrossAndAlongIt) {
    const std::string dem = MakeGeoTiff("EPSG:4326", 101, 101, -80, 40, 0.01,
                                        [](double y, double x) { return Ridge(y, x); });
    ExpectHeights(dem, Line({40.5, -79.995}, {40.5, -79.005}, 199), Ridge, 1e-6);
    ExpectHeights(dem, Line({40.1, -79.5}, {40.9, -79.5}, 100), Ridge, 1e-6);
    ExpectHeights(dem, Line({40.1, -79.3}, {40.9, -79.3}, 100), Ridge, 1e-6);
}

TEST_F(DemTest, PointsOutsideARasterAreCountedAndTheFirstNamed) {
    const std::string dem = MakeGeoTiff("EPSG:4326", 101, 101, -80, 40, 0.01,
                                        [](double y, double x) { return Ridge(y, x); });
    try {
        ElevationsAt(dem, Line({40.5, -79.2}, {40.5, -78.8}, 5));
        FAIL() << "no error";
    } catch (const ElevationError& error) {
        EXPECT_EQ(error.WhatFailed(), ElevationError::Kind::NoData);
        EXPECT_EQ(std::string(error.what()),
                  "2 of 5 points lie outside the DEM " + dem + ", the first at 40.5,-78.9");
    }
}

// A raster in metres of Web Mercator, rising 1 m each 100 m eastward: WGS84 points are turned
// into its coordinates.
TEST_F(DemTest, AProjectedRasterIsSampledInItsOwnCoordinates) {
    constexpr double kRadius = 6378137;
    const double west = kRadius * -80 * std::numbers::pi / 180;
    const double south =
        kRadius * std::log(std::tan(std::numbers::pi / 4 + 40 * std::numbers::pi / 360));
    const auto plane = [west](double /*y*/, double x) { return 50 + (x - west) / 100; };
    const std::string dem = MakeGeoTiff("EPSG:3857", 200, 200, west, south, 500, plane);
    const auto height = [&](double /*lat*/, double lon) {
        return plane(0, kRadius * lon * std::numbers::pi / 180);
    };
    ExpectHeights(dem, Line({40.2, -79.9}, {40.2, -79.2}, 100), height, 1e-4);
    ExpectHeights(dem, Line({40.1, -79.6}, {40.6, -79.6}, 100), height, 1e-4);
}

TEST_F(DemTest, ADemThatCannotBeOpenedIsNamed) {
    try {
        ElevationsAt(Folder() + "/absent.tif", {{40, -80}});
        FAIL() << "no error";
    } catch (const ElevationError& error) {
        EXPECT_EQ(error.WhatFailed(), ElevationError::Kind::CannotOpen);
        EXPECT_EQ(std::string(error.what()),
                  "cannot open the DEM " + Folder() + "/absent.tif: No such file or directory");
    }
    std::ofstream(Folder() + "/junk.tif") << "not a raster";
    EXPECT_THROW(ElevationsAt(Folder() + "/junk.tif", {{40, -80}}), ElevationError);
}

}  // namespace
}  // namespace linkcalc::planning
