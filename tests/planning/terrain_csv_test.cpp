// The terrain file: its forms, every fault named with its line, and its length against the path.
#include "planning/terrain_csv.h"

#include <string>

#include <gtest/gtest.h>

namespace linkcalc::planning {
namespace {

TEST(TerrainCsvTest, ReadsTheColumnsByTheirNamesInAnyOrder) {
    const auto rows = ReadTerrainCsv(
        "\xEF\xBB\xBF"
        "Elevation, distance ,obstruction\r\n"
        "120,0,0\r\n"
        "\r\n"
        "135.5,2500,12\r\n"
        "\"118\",5000,\"0\"\r\n");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1].distance_m, 2500);
    EXPECT_EQ(rows[1].elevation_m, 135.5);
    EXPECT_EQ(rows[1].obstruction_m, 12);
    EXPECT_EQ(rows[2].elevation_m, 118);
}

TEST(TerrainCsvTest, WithoutAHeaderOrObstructionsTheColumnsGoInOrder) {
    const auto noHeader = ReadTerrainCsv("0;10\n1000;-2.5e0\n2000;30\n");
    ASSERT_EQ(noHeader.size(), 3u);
    EXPECT_EQ(noHeader[1].elevation_m, -2.5);
    EXPECT_EQ(noHeader[1].obstruction_m, 0);
    const auto tabs = ReadTerrainCsv("distance\televation\n0\t1\n10\t2");
    ASSERT_EQ(tabs.size(), 2u);
    EXPECT_EQ(tabs[1].elevation_m, 2);
}

struct Fault {
    std::string text, message;
};

class TerrainFaultTest : public ::testing::TestWithParam<Fault> {};

TEST_P(TerrainFaultTest, IsNamedWithItsLine) {
    try {
        ReadTerrainCsv(GetParam().text);
        FAIL() << "read " << GetParam().text;
    } catch (const TerrainError& error) {
        EXPECT_EQ(error.what(), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, TerrainFaultTest,
    ::testing::Values(
        Fault{"distance,elevation\n0,1\n200,2\n100,3\n",
              "line 4: distance 100 m does not follow 200 m: rows go in increasing distance"},
        Fault{"distance,elevation\n0,1\n200,2\n200,3\n",
              "line 4: distance 200 m does not follow 200 m: rows go in increasing distance"},
        Fault{"distance,elevation\n0,1\n200\n", "line 3: 1 field, expected 2"},
        Fault{"distance,elevation,obstruction\n0,1,0\n100,2\n", "line 3: 2 fields, expected 3"},
        Fault{"0,1\n100,2,5,7\n", "line 2: 4 fields, expected 2"},
        Fault{"distance,elevation\n0,1\n100,high\n", "line 3: elevation \"high\" is not a number"},
        Fault{"distance,elevation\n0,1\n1e999,2\n", "line 3: distance \"1e999\" is not a number"},
        Fault{"distance,elevation,obstruction\n0,1,-3\n10,1,0\n",
              "line 2: obstruction \"-3\" is below the ground"},
        Fault{"distance,elevation\n15,1\n100,2\n",
              "line 2: the first distance is 15 m, not 0 (site 1)"},
        Fault{"distance,height\n0,1\n",
              "line 1: unknown column \"height\" (the columns are distance, elevation and "
              "obstruction)"},
        Fault{"distance,distance\n", "line 1: column \"distance\" twice"},
        Fault{"\n\nelevation,obstruction\n", "line 3: no distance column"},
        Fault{"0\n10\n", "line 1: no elevation"}, Fault{"distance,elevation\n", "no rows"},
        Fault{"", "no rows"},
        Fault{"distance,elevation\n0,5\n", "one row only: a terrain needs both sites"}));

TEST(TerrainCsvTest, ItsLengthMustAgreeWithThePathWithinOnePercent) {
    const auto rows = ReadTerrainCsv("0,1\n10100,2\n");
    EXPECT_NO_THROW(CheckTerrainLength(rows, 10000));
    EXPECT_NO_THROW(CheckTerrainLength(rows, 10200));
    try {
        CheckTerrainLength(rows, 10000 - 1);
        FAIL() << "no error";
    } catch (const TerrainLengthError& error) {
        EXPECT_STREQ(error.what(),
                     "the terrain ends at 10100 m but the path is 9999 m: they differ by more "
                     "than 1 %");
    }
    EXPECT_THROW(CheckTerrainLength(rows, 10203), TerrainLengthError);
}

TEST(TerrainCsvTest, MetresAreShownToTheTenth) {
    EXPECT_EQ(MetresText(10000), "10000 m");
    EXPECT_EQ(MetresText(16093.44), "16093.4 m");
    EXPECT_EQ(MetresText(0.04), "0 m");
}

}  // namespace
}  // namespace linkcalc::planning
