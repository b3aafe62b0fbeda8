// The terrain's bounds: its line ends, its lines and rows, the heights the earth holds, cells
// shown whole in a message, and a text read in pieces of any size.
#include <cstddef>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "planning/earth_bounds.h"
#include "planning/input_limits.h"
#include "planning/terrain_csv.h"

namespace linkcalc::planning {
namespace {

std::vector<ProfileSample> ReadInPieces(std::string_view text, std::size_t piece) {
    TerrainReader reader;
    for (std::size_t at = 0; at < text.size(); at += piece) reader.Add(text.substr(at, piece));
    return reader.Finish();
}

std::string ErrorOf(std::string_view text, std::size_t piece = 0) {
    try {
        if (piece == 0) {
            ReadTerrainCsv(text);
        } else {
            ReadInPieces(text, piece);
        }
    } catch (const TerrainError& error) {
        return error.what();
    }
    return "(read)";
}

TEST(TerrainBoundsTest, LfCrlfAndCrAloneReadTheSameInPiecesOfAnySize) {
    const std::string lf = "distance,elevation,obstruction\n0,10,0\n\n2500,20.5,3\n5000,30,0\n";
    std::string crlf, cr;
    for (const char c : lf) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        cr += c == '\n' ? '\r' : c;
    }
    const std::vector<ProfileSample> expected = ReadTerrainCsv(lf);
    ASSERT_EQ(expected.size(), 3u);
    for (const std::string& text : {lf, crlf, cr, crlf.substr(0, crlf.size() - 2)}) {
        for (const std::size_t piece :
             {std::size_t{1}, std::size_t{2}, std::size_t{7}, text.size()}) {
            SCOPED_TRACE(testing::Message() << text << " in pieces of " << piece);
            const std::vector<ProfileSample> rows = ReadInPieces(text, piece);
            ASSERT_EQ(rows.size(), expected.size());
            for (std::size_t i = 0; i < rows.size(); ++i) {
                EXPECT_EQ(rows[i].distance_m, expected[i].distance_m);
                EXPECT_EQ(rows[i].elevation_m, expected[i].elevation_m);
                EXPECT_EQ(rows[i].obstruction_m, expected[i].obstruction_m);
            }
        }
    }
    // A CRLF is one line end wherever the pieces cut it; CR LF CR is two.
    for (const std::size_t piece : {std::size_t{1}, std::size_t{3}, std::size_t{100}}) {
        EXPECT_EQ(ErrorOf("0,1\r\n10,2\r\n5,3\r\n", piece),
                  "line 3: distance 5 m does not follow 10 m: rows go in increasing distance");
        EXPECT_EQ(ErrorOf("0,1\r\n\r10,2\r5,3\n", piece),
                  "line 4: distance 5 m does not follow 10 m: rows go in increasing distance");
    }
}

struct Bound {
    std::string text;
    std::string message;  // empty: read
};

class TerrainBoundTest : public ::testing::TestWithParam<Bound> {};

TEST_P(TerrainBoundTest, IsHeldAtItsEdge) {
    const std::string& message = GetParam().message;
    EXPECT_EQ(ErrorOf(GetParam().text), message.empty() ? "(read)" : message);
}

const std::string kHeader = "distance,elevation,obstruction\n0,0,0\n";

INSTANTIATE_TEST_SUITE_P(
    Heights, TerrainBoundTest,
    ::testing::Values(
        Bound{kHeader + "10,-11000,1000\n20,9000,0\n", ""},
        Bound{kHeader + "10,-11000.5,0\n",
              "line 3: elevation \"-11000.5\" is beyond what the earth holds (from -11000 m to "
              "9000 m)"},
        Bound{kHeader + "10,9000.01,0\n",
              "line 3: elevation \"9000.01\" is beyond what the earth holds (from -11000 m to "
              "9000 m)"},
        Bound{kHeader + "10,1e308,0\n",
              "line 3: elevation \"1e308\" is beyond what the earth holds (from -11000 m to 9000 "
              "m)"},
        Bound{kHeader + "10,-1e308,0\n",
              "line 3: elevation \"-1e308\" is beyond what the earth holds (from -11000 m to "
              "9000 m)"},
        Bound{kHeader + "10,0,1000.1\n",
              "line 3: obstruction \"1000.1\" is beyond what the earth holds (from 0 m to 1000 "
              "m)"},
        Bound{kHeader + "10,0,1e300\n",
              "line 3: obstruction \"1e300\" is beyond what the earth holds (from 0 m to 1000 "
              "m)"},
        Bound{kHeader + "20015114,0,0\n", ""},
        Bound{kHeader + "20015115,0,0\n",
              "line 3: distance \"20015115\" is longer than any path on the earth (20015114.4 "
              "m)"},
        Bound{kHeader + "1e308,0,0\n",
              "line 3: distance \"1e308\" is longer than any path on the earth (20015114.4 m)"},
        Bound{"-1e308,0\n", "line 1: distance \"-1e308\" is negative: distances are from site 1"},
        Bound{kHeader + "10,0,0\n-5,0,0\n",
              "line 4: distance \"-5\" is negative: distances are from site 1"}));

// Cells with control characters: the message is one whole line that shows them.
INSTANTIATE_TEST_SUITE_P(
    Characters, TerrainBoundTest,
    ::testing::Values(
        Bound{std::string("0,1\n10,1\0"
                          "5\n",
                          10),
              "line 2: elevation \"1\\05\" is not a number"},
        Bound{"0,1\n10,\x01\x1B[31m\x7F\n",
              "line 2: elevation \"\\x01\\x1B[31m\\x7F\" is not a number"},
        Bound{"0,1\n10,a\\b\n", "line 2: elevation \"a\\\\b\" is not a number"},
        Bound{std::string("dist\0ance,elevation\n", 20),
              "line 1: unknown column \"dist\\0ance\" (the columns are distance, elevation and "
              "obstruction)"},
        // Cut after 40 bytes, never inside a character.
        Bound{"0,1\n10," + std::string(39, 'x') + "\xC3\xA9" + "yy\n",
              "line 2: elevation \"" + std::string(39, 'x') + "...\" is not a number"}));

TEST(TerrainBoundsTest, ALineHoldsAtMostOneMebibyte) {
    const std::string padded = "0,1" + std::string(kMaxLineBytes - 3, ' ');
    EXPECT_EQ(ReadTerrainCsv(padded + "\n10,2\n").size(), 2u);
    EXPECT_EQ(ReadTerrainCsv(padded + "\r10,2").size(), 2u);
    const std::string over = "longer than 1 MiB (more than 1048576 bytes)";
    EXPECT_EQ(ErrorOf(padded + " \n10,2\n"), "line 1: " + over);
    EXPECT_EQ(ErrorOf("0,1\n\n10,2" + padded + "\n"), "line 3: " + over);
    EXPECT_EQ(ErrorOf("0,1\n10,2\n" + padded + " ", 4096), "line 3: " + over);
}

TEST(TerrainBoundsTest, AnEndlessLineIsRefusedWithinItsBound) {
    TerrainReader reader;
    const std::string zeros(4096, '\0');
    std::size_t fed = 0;
    try {
        for (; fed < 4 * kMaxLineBytes; fed += zeros.size()) reader.Add(zeros);
        FAIL() << "read " << fed << " bytes on one line";
    } catch (const TerrainError& error) {
        EXPECT_STREQ(error.what(), "line 1: longer than 1 MiB (more than 1048576 bytes)");
    }
    EXPECT_LE(fed, kMaxLineBytes);
}

TEST(TerrainBoundsTest, ATerrainHoldsAtMostAMillionRows) {
    std::string text = "distance,elevation\n";
    text.reserve(12 * kMaxTerrainRows);
    for (std::size_t i = 0; i < kMaxTerrainRows; ++i) text.append(std::to_string(i)).append(",1\n");
    EXPECT_EQ(ReadTerrainCsv(text).size(), kMaxTerrainRows);
    text.append("\n").append(std::to_string(kMaxTerrainRows)).append(",1\n");
    EXPECT_EQ(ErrorOf(text),
              "line 1000003: more than 1000000 rows: a terrain holds at most 1000000");
}

}  // namespace
}  // namespace linkcalc::planning
