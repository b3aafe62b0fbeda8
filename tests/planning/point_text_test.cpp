// The point texts the sites take: each accepted form reads as GeographicLib's DMS decoding reads
// it, to the bit; every other text is one message naming the part and the reason.
#include "planning/point_text.h"

#include <gtest/gtest.h>
#include <GeographicLib/DMS.hpp>
#include <GeographicLib/Math.hpp>

#include <cstring>
#include <string>

#include "planning/module_loader.h"

namespace linkcalc::planning {
namespace {

const Geodesy& Geo() {
    return LoadModule<Geodesy>("geodesy");
}

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(PointTextTest, EachAcceptedFormIsTheLibrarysReadingToTheBit) {
    const struct {
        const char* text;
        double lat;
        double lon;
    } cases[] = {
        {"40.4406,-79.9959", 40.440600000000003, -79.995900000000006},
        {" 40.4406 , -79.9959 ", 40.440600000000003, -79.995900000000006},
        {"+40.4406\t -79.9959", 40.440600000000003, -79.995900000000006},
        {"40:26:46N 79:58:56W", 40.446111111111108, -79.982222222222219},
        {"N40:26:46 W79:58:56", 40.446111111111108, -79.982222222222219},
        {"40:30n 79:54w", 40.5, -79.900000000000006},
        {"40:26:46.5,-79:58:56.25", 40.446249999999999, -79.982291666666669},
        {"40:26.77,-79:58.93", 40.446166666666663, -79.982166666666672},
        {"40d26'46\"N 79d58'56\"W", 40.446111111111108, -79.982222222222219},
        {"79d58'56\"W 40d26'46\"N", 40.446111111111108, -79.982222222222219},
        {"40D26'46''N,79d58'56''W", 40.446111111111108, -79.982222222222219},
        {"40\xC2\xB0"
         "26'46\"N 79\xC2\xB0"
         "58'56\"W",
         40.446111111111108, -79.982222222222219},
        {"40\xC2\xB0"
         "26\xE2\x80\xB2"
         "46\xE2\x80\xB3N 79\xC2\xB0"
         "58\xE2\x80\xB2"
         "56\xE2\x80\xB3W",
         40.446111111111108, -79.982222222222219},
        {"40\xC2\xB0"
         "26\xE2\x80\x99"
         "46\xE2\x80\x9DN 79\xC2\xBA"
         "58\xC2\xB4"
         "56\xE2\x80\xB2\xE2\x80\xB2W",
         40.446111111111108, -79.982222222222219},
        {"40d26' 79d58", 40.43333333333333, 79.966666666666669},
        {"40d26'46 -79d58'56", 40.446111111111108, -79.982222222222219},
        {"40.4406\xC2\xB0N 79.9959\xCB\x9AW", 40.440600000000003, -79.995900000000006},
        {"40.4406,\xE2\x88\x92"
         "79.9959",
         40.440600000000003, -79.995900000000006},
        {"S33.9 E151.2", -33.899999999999999, 151.19999999999999},
        {"33.9S,151.2e", -33.899999999999999, 151.19999999999999},
        {"10E 20", 20, 10},
        {"0,190", 0, -170},
        {"-90,0", -90, 0},
        {"90,0", 90, 0},
        {"10,540", 10, 180},
        {"10,-540", 10, -180},
        {"-0,-0", -0.0, -0.0},
        {"40:59.99999999999999999,0", 41, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const GeoPoint point = Geo().ParsePoint(c.text);
        EXPECT_TRUE(SameBits(point.lat, c.lat)) << point.lat;
        EXPECT_TRUE(SameBits(point.lon, c.lon)) << point.lon;
        const PointParts parts = SplitPoint(c.text);
        double lat = 0;
        double lon = 0;
        GeographicLib::DMS::DecodeLatLon(parts.first, parts.second, lat, lon);
        EXPECT_TRUE(SameBits(lat, point.lat)) << lat;
        EXPECT_TRUE(SameBits(GeographicLib::Math::AngNormalize(lon), point.lon)) << lon;
    }
}

TEST(PointTextTest, EveryOtherTextIsOneMessageNamingThePartAndTheReason) {
    using Part = PointError::Part;
    const struct {
        const char* text;
        Part part;
        const char* said;
    } cases[] = {
        // Texts on which GeographicLib 2.1.2 writes past its pieces and crashes.
        {"1:1:1:1:1:1 1", Part::First,
         "the first part \"1:1:1:1:1:1\": more than three numbers (degrees, minutes, seconds)"},
        {"1 1:1:1:1d1'1\"", Part::Second,
         "the second part \"1:1:1:1d1'1\"\": more than three numbers (degrees, minutes, "
         "seconds)"},
        {"40d26'46\"10,1", Part::First,
         "the first part \"40d26'46\"10\": more than three numbers (degrees, minutes, seconds)"},
        {"40x,-79.9", Part::First, "the first part \"40x\": unexpected character x"},
        {"40.4,abc", Part::Second, "the second part \"abc\": unexpected character a"},
        {"40*,1", Part::First, "the first part \"40*\": unexpected character *"},
        {"40\x01,1", Part::First, "the first part \"40\\x01\": unexpected character U+0001"},
        {"40\xFF,1", Part::First, "the first part \"40\\xFF\": unexpected character byte \\xFF"},
        {"40\xC2\xA0N,1", Part::First,
         "the first part \"40\xC2\xA0N\": unexpected character U+00A0"},
        {"40 26 46, 79", Part::First,
         "the first part \"40 26 46\": a blank inside an angle (one comma or one run of blanks "
         "separates the latitude and the longitude)"},
        {"4:60,10", Part::First, "the first part \"4:60\": minutes 60 not in [0, 60)"},
        {"4:5:60.5,10", Part::First, "the first part \"4:5:60.5\": seconds 60.5 not in [0, 60)"},
        {"1.5:2,3", Part::First,
         "the first part \"1.5:2\": a decimal point in the degrees: only the last number may "
         "have one"},
        {"40:,1", Part::First, "the first part \"40:\": a : at the end"},
        {"40:26'46,1", Part::First,
         "the first part \"40:26'46\": both : and marks of degrees, minutes or seconds"},
        {"40d26\",1", Part::First,
         "the first part \"40d26\"\": the marks go degrees, minutes, seconds, each once, as in "
         "40d26'46\""},
        {"26',1", Part::First,
         "the first part \"26'\": the marks go degrees, minutes, seconds, each once, as in "
         "40d26'46\""},
        {"1\xC2\xB0\xC2\xB0,1", Part::First,
         "the first part \"1\xC2\xB0\xC2\xB0\": no number before the mark of degrees"},
        {"10-5,1", Part::First, "the first part \"10-5\": a sign inside an angle"},
        {"N-40,1", Part::First, "the first part \"N-40\": a sign and a hemisphere letter together"},
        {"-40N,1", Part::First, "the first part \"-40N\": a sign and a hemisphere letter together"},
        {"N40S,1", Part::First, "the first part \"N40S\": two hemisphere letters"},
        {"4N0,1", Part::First,
         "the first part \"4N0\": a hemisphere letter goes before or after the angle"},
        {"1,N", Part::Second, "the second part \"N\": no number"},
        {".5,1", Part::First, "the first part \".5\": a decimal point needs digits on both sides"},
        {"5.,1", Part::First, "the first part \"5.\": a decimal point needs digits on both sides"},
        {"1.2.3,1", Part::First, "the first part \"1.2.3\": two decimal points in a number"},
        {"1234567890,1", Part::First,
         "the first part \"1234567890\": a number of more than 9 digits before the decimal "
         "point"},
        {"40.123456789012345678901,1", Part::First,
         "the first part \"40.123456789012345678901\": more than 20 decimals"},
        {"nan,10", Part::First, "the first part \"nan\" is not a finite angle"},
        {"10,-INF", Part::Second, "the second part \"-INF\" is not a finite angle"},
        {",-79.9", Part::First, "the first part is empty"},
        {"91,10", Part::Whole, "\"91,10\": Latitude 91 not in [-90d, 90d]"},
        {"-90.0000001,0", Part::Whole,
         "\"-90.0000001,0\": Latitude -90.0000001 not in [-90d, 90d]"},
        {"10E S90:00:01", Part::Whole, "\"10E S90:00:01\": Latitude S90:00:01 not in [-90d, 90d]"},
        {"10,540.5", Part::Whole, "\"10,540.5\": longitude 540.5 not in [-540d, 540d]"},
        {"40N 30S", Part::Whole, "\"40N 30S\": Both 40N and 30S interpreted as latitudes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            Geo().ParsePoint(c.text);
            ADD_FAILURE() << "read as a point";
        } catch (const PointError& error) {
            EXPECT_EQ(error.At(), c.part);
            EXPECT_EQ(std::string(error.what()), c.said);
        }
    }
}

TEST(PointTextTest, AMessageShowsALongTextCut) {
    const std::string text = std::string(100000, '7') + "x,1";
    try {
        Geo().ParsePoint(text);
        ADD_FAILURE() << "read as a point";
    } catch (const PointError& error) {
        const std::string message = error.what();
        EXPECT_EQ(error.At(), PointError::Part::First);
        EXPECT_LT(message.size(), 200U) << message;
        EXPECT_NE(message.find("...\""), std::string::npos) << message;
    }
}

}  // namespace
}  // namespace linkcalc::planning
