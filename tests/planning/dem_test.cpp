// Heights from elevation models made here: SRTM tiles and rasters of a known plane or ridge,
// sampled along north-south and east-west lines against the heights they were made from.
#include <unistd.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <numbers>
#include <string>
#include <string_view>
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

    // A Float32 GeoTIFF in degrees of WGS84 from its cells, north row first: written raw
    // (EHdr), so that inf and NaN reach the raster exactly.
    std::string MakeFloatGeoTiff(int columns, double west, double south, double cell,
                                 const std::vector<float>& cells) const {
        const auto rows = static_cast<int>(cells.size()) / columns;
        {
            std::ofstream header(folder_ / "cells.hdr");
            header.precision(17);
            header << "ncols " << columns << "\nnrows " << rows << "\nxllcorner " << west
                   << "\nyllcorner " << south << "\ncellsize " << cell << "\nbyteorder "
                   << (std::endian::native == std::endian::little ? "LSBFIRST" : "MSBFIRST")
                   << "\nnbits 32\npixeltype float\n";
        }
        std::ofstream(folder_ / "cells.flt", std::ios::binary)
            .write(reinterpret_cast<const char*>(cells.data()),
                   static_cast<std::streamsize>(cells.size() * sizeof(float)));
        const fs::path tiff = folder_ / "cells.tif";
        const std::string command = "gdal_translate -q -ot Float32 -a_srs EPSG:4326 " +
                                    (folder_ / "cells.flt").string() + " " + tiff.string();
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

// Each tile a plane of its own, 1 m a node northward and 2 m a node eastward from 100 m at its
// south-west corner: the height read names the tile it came from, as its edges differ.
double TileLocal(int south, int west, double lat, double lon) {
    // A turn either way is the same meridian: 180 is the east edge of E179.
    return 100 + 1200 * (lat - south) + 2400 * std::remainder(lon - west, 360);
}

struct EdgeCase {
    const char* what;
    std::vector<std::pair<int, int>> tiles;  // south-west corners in the folder
    GeoPoint point;
    std::pair<int, int> from;  // the tile that must give the height
};

std::string TileNameOf(int south, int west) {
    std::string name = south < 0 ? "S" : "N";
    name += std::to_string(100 + std::abs(south)).substr(1);
    name += west < 0 ? "W" : "E";
    name += std::to_string(1000 + std::abs(west)).substr(1);
    return name + ".hgt";
}

TEST_F(DemTest, APointOnATileEdgeIsReadFromATileThatHoldsIt) {
    const EdgeCase cases[] = {
        {"west edge: the tile it lies in", {{40, -80}, {40, -79}}, {40.5, -79}, {40, -79}},
        {"east edge of the only tile", {{40, -80}}, {40.5, -79}, {40, -80}},
        {"south edge: the tile it lies in", {{40, -80}, {41, -80}}, {41, -79.5}, {41, -80}},
        {"north edge of the only tile", {{40, -80}}, {41, -79.5}, {40, -80}},
        {"north-east corner of the only tile", {{40, -80}}, {41, -79}, {40, -80}},
        {"south-west corner", {{40, -80}, {41, -79}}, {41, -79}, {41, -79}},
        {"180 on the east edge of E179", {{40, 179}}, {40.5, 180}, {40, 179}},
        {"-180 on the east edge of E179", {{40, 179}}, {40.5, -180}, {40, 179}},
        {"180 on the west edge of W180", {{40, -180}}, {40.5, 180}, {40, -180}},
        {"-180 on the west edge of W180", {{40, -180}}, {40.5, -180}, {40, -180}},
        {"180 with both: the tile it lies in", {{40, 179}, {40, -180}}, {40.5, 180}, {40, -180}},
        {"a longitude a turn away", {{40, -80}}, {40.5, 280.5}, {40, -80}},
        {"the north pole", {{89, 0}}, {90, 0}, {89, 0}},
        {"the north pole on 180", {{89, 179}}, {90, 180}, {89, 179}},
        {"the south pole", {{-90, 10}}, {-90, 10.5}, {-90, 10}},
        {"the equator and the prime meridian", {{-1, -1}}, {0, 0}, {-1, -1}},
    };
    for (const EdgeCase& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(Folder());
        fs::create_directories(Folder());
        for (const auto& [south, west] : c.tiles) {
            MakeTile(TileNameOf(south, west), south, west, [south, west](double lat, double lon) {
                return TileLocal(south, west, lat, lon);
            });
        }
        const std::vector<double> heights = ElevationsAt(Folder(), {c.point});
        ASSERT_EQ(heights.size(), 1U);
        EXPECT_NEAR(heights[0], TileLocal(c.from.first, c.from.second, c.point.lat, c.point.lon),
                    1e-6);
    }
}

TEST_F(DemTest, PathsAcrossTheAntimeridianAndOverThePoleReadTheTilesOnBothSides) {
    // A plane through 40.5 N that is the same on either side of 180.
    const Height across = [](double lat, double lon) {
        return 1000 + 1200 * (lat - 40.5) + 2400 * std::abs(lon < 0 ? lon + 180 : lon - 180);
    };
    MakeTile("N40E179.hgt", 40, 179, across);
    MakeTile("N40W180.hgt", 40, -180, across);
    std::vector<GeoPoint> points = Line({40.2, 179.3}, {40.8, 180.7}, 141);  // beyond 180 too
    ExpectHeights(Folder(), points, across, 1e-6);
    for (GeoPoint& point : points) point.lon = point.lon > 180 ? point.lon - 360 : point.lon;
    ExpectHeights(Folder(), points, across, 1e-6);

    // Up the meridian of 10 E to the pole and down that of 170 W.
    const Height polar = [](double lat, double /*lon*/) { return 500 + 1200 * (lat - 89); };
    MakeTile("N89E010.hgt", 89, 10, polar);
    MakeTile("N89W170.hgt", 89, -170, polar);
    std::vector<GeoPoint> over = Line({89.2, 10.5}, {90, 10.5}, 9);
    const std::vector<GeoPoint> down = Line({90, -169.5}, {89.2, -169.5}, 9);
    over.insert(over.end(), down.begin(), down.end());
    ExpectHeights(Folder(), over, polar, 1e-6);
}

TEST_F(DemTest, WithNoTileHoldingAnEdgeTheOneItLiesInIsNamed) {
    MakeTile("N40W081.hgt", 40, -81, Plane);
    try {
        ElevationsAt(Folder(), {{40.5, -79}});
        FAIL() << "no error";
    } catch (const ElevationError& error) {
        EXPECT_EQ(error.WhatFailed(), ElevationError::Kind::CannotOpen);
        EXPECT_EQ(std::string(error.what()),
                  "the DEM folder " + Folder() + " has no tile N40W079.hgt (for 40.5,-79)");
    }
}

// One row of cells between rows of 100 m, 0.125° each (exact in binary, so that a centre is
// one) from 80° W, 40° N: what each cell of the middle row gives at its centre. A cell that is not
// a number is a hole; one beyond the earth's grounds is garbage, named with the point.
TEST_F(DemTest, ACellThatIsNoHeightIsAHoleAndOneBeyondTheEarthIsRefused) {
    constexpr float kInf = std::numeric_limits<float>::infinity();
    const struct {
        float cell;
        const char* said;  // empty: the cell's own height
    } cases[] = {
        {kInf, "has no height"},
        {-kInf, "has no height"},
        {std::numeric_limits<float>::quiet_NaN(), "has no height"},
        {1e30F, "has a height of 1e+30 m"},
        {-1e30F, "has a height of -1e+30 m"},
        {std::numeric_limits<float>::max(), "has a height of 3.40282e+38 m"},
        {9000.5F, "has a height of 9000.5 m"},
        {-11000.5F, "has a height of -11000.5 m"},
        {9000, ""},
        {-11000, ""},
        {250.5F, ""},
    };
    const int columns = std::ssize(cases) + 2;
    std::vector<float> cells(static_cast<std::size_t>(3 * columns), 100.0F);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        cells[static_cast<std::size_t>(columns) + i + 1] = cases[i].cell;
    }
    const std::string dem = MakeFloatGeoTiff(columns, -80, 40, 0.125, cells);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const GeoPoint centre{40.1875, -80 + 0.125 * static_cast<double>(i + 1) + 0.0625};
        SCOPED_TRACE(cases[i].cell);
        if (*cases[i].said == '\0') {
            ExpectHeights(
                dem, {centre}, [&](double, double) { return cases[i].cell; }, 1e-9);
            continue;
        }
        try {
            ElevationsAt(dem, {{40.0625, -79.9375}, centre});
            FAIL() << "no error";
        } catch (const ElevationError& error) {
            EXPECT_EQ(error.WhatFailed(), ElevationError::Kind::NoData);
            std::string at = std::to_string(centre.lon);
            while (at.back() == '0') at.pop_back();
            const std::string said = "the DEM " + dem + " " + cases[i].said + " at 40.1875," + at;
            EXPECT_EQ(std::string(error.what()).substr(0, said.size()), said) << error.what();
            if (std::string_view(cases[i].said).starts_with("has a ")) {
                EXPECT_EQ(std::string(error.what()).substr(said.size()),
                          ": the ground lies from -11000 to 9000 m");
            }
        }
    }
    // Beside a hole the cells around it share its weight.
    ExpectHeights(
        dem, {{40.25, -79.875}, {40.125, -79.8125}}, [](double, double) { return 100; }, 1e-9);
}

// A raster once around the earth, 1° cells whose height is ten times their column, and one
// from 170° E to 170° W: a longitude is read on either side of 180.
TEST_F(DemTest, ARasterAcrossTheAntimeridianIsReadOnBothSides) {
    const std::string global = MakeGeoTiff("EPSG:4326", 360, 3, -179.5, 39.5, 1,
                                           [](double, double x) { return 10 * (x + 179.5); });
    const struct {
        GeoPoint point;
        double height;
    } around[] = {
        {{40.5, -179.5}, 0},   {{40.5, 179.5}, 3590},
        {{40.5, 180}, 1795},   {{40.5, -180}, 1795},  // between the last and first columns
        {{40.5, 179.9}, 2154}, {{40.5, -179.9}, 1436},
        {{40.5, 540}, 1795},   {{40.5, 0}, 1795},
    };
    for (const auto& c : around) {
        SCOPED_TRACE(c.point.lon);
        ExpectHeights(
            global, {c.point}, [&](double, double) { return c.height; }, 1e-6);
    }
    const std::string beyond = MakeGeoTiff("EPSG:4326", 20, 3, 170.5, 39.5, 1,
                                           [](double, double x) { return 10 * (x - 170.5); });
    ExpectHeights(
        beyond, {{40.5, 175}, {40.5, 180}, {40.5, -180}, {40.5, -175}, {40.5, 189.5}},
        [](double, double lon) { return 10 * ((lon < 0 ? lon + 360 : lon) - 170.5); }, 1e-6);
}

}  // namespace
}  // namespace linkcalc::planning
