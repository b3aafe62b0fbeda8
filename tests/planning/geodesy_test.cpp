#include "planning/geodesy.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>

#include "planning/module_loader.h"

namespace linkcalc::planning {
namespace {

const Geodesy& Geo() {
    return LoadModule<Geodesy>("geodesy");
}

double Seconds(int degrees, int minutes, double seconds) {
    return degrees + minutes / 60.0 + seconds / 3600.0;
}

// The route of GeodSolve's manual: JFK to Singapore Changi, azimuths 003:18:29.9 and
// 177:29:09.2 (forward at Changi, so the bearing back is 180 more), 15347628 m.
TEST(GeodesyTest, SolvesThePublishedRouteFromJfkToChangi) {
    const GeoPoint jfk = Geo().ParsePoint("40:38:23N 073:46:44W");
    const GeoPoint changi = Geo().ParsePoint("01:21:33N 103:59:22E");
    EXPECT_DOUBLE_EQ(jfk.lat, Seconds(40, 38, 23));
    EXPECT_DOUBLE_EQ(jfk.lon, -Seconds(73, 46, 44));
    const GeodesicInverse route = Geo().Inverse(jfk, changi);
    EXPECT_NEAR(route.distance_m, 15347628, 0.5);
    EXPECT_NEAR(route.azimuth1_deg, Seconds(3, 18, 29.9), 0.05 / 3600);
    EXPECT_NEAR(route.azimuth2_deg, Seconds(177, 29, 9.2) + 180, 0.05 / 3600);
}

TEST(GeodesyTest, PointsAlongThePublishedRouteAreItsWaypoints) {
    const GeoPoint jfk = Geo().ParsePoint("40:38:23N 073:46:44W");
    const GeoPoint changi = Geo().ParsePoint("01:21:33N 103:59:22E");
    const auto points = Geo().PointsAlong(jfk, changi, 11);
    ASSERT_EQ(points.size(), 11U);
    EXPECT_EQ(points.front().lat, jfk.lat);
    EXPECT_EQ(points.back().lon, changi.lon);
    // 54:24:51.3N 072:25:39.6W, 83:43:26.0N 080:37:16.9E, 15:13:18.6N 103:22:08.0E
    const double second = 0.05 / 3600;
    EXPECT_NEAR(points[1].lat, Seconds(54, 24, 51.3), second);
    EXPECT_NEAR(points[1].lon, -Seconds(72, 25, 39.6), second);
    EXPECT_NEAR(points[4].lat, Seconds(83, 43, 26.0), second);
    EXPECT_NEAR(points[4].lon, Seconds(80, 37, 16.9), second);
    EXPECT_NEAR(points[9].lat, Seconds(15, 13, 18.6), second);
    EXPECT_NEAR(points[9].lon, Seconds(103, 22, 8.0), second);
}

// Across 180° and over a pole the points stay on the earth's own ranges, equally spaced along
// the geodesic, and pass where they must.
TEST(GeodesyTest, PointsAlongPathsAcrossTheAntimeridianAndOverAPoleStayInRange) {
    const struct {
        const char* what;
        GeoPoint from;
        GeoPoint to;
        double farthestLat;  // the latitude of the path's point nearest a pole
    } paths[] = {
        {"east across 180", {40.5, 179.5}, {40.5, -179.5}, 40.5},
        {"west across 180", {40.5, -179.5}, {40.5, 179.5}, 40.5},
        {"from 180", {40.5, 180}, {40.6, 179.9}, 40.6},
        {"over the north pole", {89.5, 10}, {89.5, -170}, 90},
        {"over the south pole", {-89.5, 0}, {-89.5, 180}, -90},
        {"Tokyo to San Francisco", {35.68, 139.77}, {37.77, -122.42}, 48.69},  // its vertex
        {"longitudes a turn away", {10, 350}, {10.2, 710.5}, 10.2},
    };
    for (const auto& path : paths) {
        SCOPED_TRACE(path.what);
        const std::vector<GeoPoint> points = Geo().PointsAlong(path.from, path.to, 101);
        ASSERT_EQ(points.size(), 101U);
        const double length = Geo().Inverse(path.from, path.to).distance_m;
        double farthest = 0;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const GeoPoint point = points[i];
            EXPECT_GE(point.lat, -90) << i;
            EXPECT_LE(point.lat, 90) << i;
            EXPECT_GE(point.lon, -180) << i;
            EXPECT_LE(point.lon, 180) << i;
            if (std::fabs(point.lat) > std::fabs(farthest)) farthest = point.lat;
            if (i == 0) continue;
            EXPECT_NEAR(Geo().Inverse(points[i - 1], point).distance_m, length / 100, 1e-6) << i;
        }
        EXPECT_NEAR(farthest, path.farthestLat, 0.05);
        EXPECT_NEAR(Geo().Inverse(points.front(), path.from).distance_m, 0, 1e-9);
        EXPECT_NEAR(Geo().Inverse(points.back(), path.to).distance_m, 0, 1e-9);
    }
}

struct Pair {
    const char* what;
    GeoPoint from;
    GeoPoint to;
};

// azimuth1, forward azimuth at `to`, distance, as GeodSolve -i prints them.
std::vector<double> GeodSolve(const Pair& pair) {
    std::ostringstream command;
    command.precision(17);
    command << "echo " << pair.from.lat << ' ' << pair.from.lon << ' ' << pair.to.lat << ' '
            << pair.to.lon << " | GeodSolve -i -p 9";
    FILE* pipe = ::popen(command.str().c_str(), "r");
    if (pipe == nullptr) return {};
    double a = 0, b = 0, s = 0;
    const int read = std::fscanf(pipe, "%lf %lf %lf", &a, &b, &s);
    const int status = ::pclose(pipe);
    if (read != 3 || status != 0) return {};
    return {a, b, s};
}

double Bearing(double degrees) {
    double bearing = std::fmod(degrees, 360.0);
    return bearing < 0 ? bearing + 360.0 : bearing;
}

// The smallest turn between two bearings, so that 359.9999999 and 0 agree.
double Turn(double a, double b) {
    const double d = std::fabs(Bearing(a) - Bearing(b));
    return std::min(d, 360.0 - d);
}

TEST(GeodesyTest, AgreesWithGeodSolveOnATableOfPairs) {
    const Pair pairs[] = {
        {"short link", {40.4406, -79.9959}, {40.4500, -79.9000}},
        {"pole to pole", {90, 0}, {-90, 0}},
        {"toward the north pole", {89.5, 20}, {90, 0}},
        {"from the south pole", {-90, 0}, {-60, 45}},
        {"across the antimeridian", {10, 179.5}, {10, -179.5}},
        {"antipodal on the equator", {0, 0}, {0, 180}},
        {"antipodal off the equator", {30, 0}, {-30, 180}},
        {"zero length", {40, -80}, {40, -80}},
        {"southern hemisphere, westward", {-33.9, 151.2}, {-34.0, 150.0}},
    };
    for (const Pair& pair : pairs) {
        SCOPED_TRACE(pair.what);
        const std::vector<double> expected = GeodSolve(pair);
        ASSERT_EQ(expected.size(), 3U) << "GeodSolve (Debian geographiclib-tools) did not run";
        const GeodesicInverse got = Geo().Inverse(pair.from, pair.to);
        EXPECT_NEAR(got.distance_m, expected[2], 1e-6);
        EXPECT_GE(got.azimuth1_deg, 0);
        EXPECT_LT(got.azimuth1_deg, 360);
        EXPECT_GE(got.azimuth2_deg, 0);
        EXPECT_LT(got.azimuth2_deg, 360);
        EXPECT_LT(Turn(got.azimuth1_deg, expected[0]), 1e-9);
        EXPECT_LT(Turn(got.azimuth2_deg, expected[1] + 180), 1e-9);
    }
}

TEST(GeodesyTest, ReadsThePointFormsOfDmsDecoding) {
    const struct {
        const char* text;
        GeoPoint point;
    } cases[] = {
        {"40.4406,-79.9959", {40.4406, -79.9959}},
        {" 40.4406 , -79.9959 ", {40.4406, -79.9959}},
        {"40.4406 -79.9959", {40.4406, -79.9959}},
        {"40\xC2\xB0"
         "26'46\"N 79\xC2\xB0"
         "58'56\"W",
         {Seconds(40, 26, 46), -Seconds(79, 58, 56)}},
        {"79d58'56\"W 40d26'46\"N", {Seconds(40, 26, 46), -Seconds(79, 58, 56)}},
        {"40:26:46,-79:58:56", {Seconds(40, 26, 46), -Seconds(79, 58, 56)}},
        {"S33.9 E151.2", {-33.9, 151.2}},
        {"0,190", {0, -170}},
        {"-90,0", {-90, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const GeoPoint point = Geo().ParsePoint(c.text);
        EXPECT_NEAR(point.lat, c.point.lat, 1e-12);
        EXPECT_NEAR(point.lon, c.point.lon, 1e-12);
    }
}

TEST(GeodesyTest, ABadPointSaysWhichPartAndWhy) {
    using Part = PointError::Part;
    const struct {
        const char* text;
        Part part;
        const char* said;
    } cases[] = {
        {"", Part::Whole, "the point is empty"},
        {"   ", Part::Whole, "the point is empty"},
        {"40.4406", Part::Whole, "has 1 part: a point is a latitude and a longitude"},
        {"1,2,3", Part::Whole, "has 3 parts"},
        {"1 2 3", Part::Whole, "has 3 parts"},
        {",-79.9", Part::First, "the first part is empty"},
        {"40.4,", Part::Second, "the second part is empty"},
        {"40x,-79.9", Part::First, "the first part \"40x\": "},
        {"40.4,abc", Part::Second, "the second part \"abc\": "},
        {"4:60,10", Part::First, "the first part \"4:60\": "},
        {"nan,10", Part::First, "is not a finite angle"},
        {"10,inf", Part::Second, "is not a finite angle"},
        {"91,10", Part::Whole, "\"91,10\": Latitude 91 not in [-90d, 90d]"},
        {"40N 30S", Part::Whole, "interpreted as latitudes"},
        {"10E 20W", Part::Whole, "interpreted as longitudes"},
        {"10,600", Part::Whole, "\"10,600\": longitude 600 not in [-540d, 540d]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            Geo().ParsePoint(c.text);
            ADD_FAILURE() << "read as a point";
        } catch (const PointError& error) {
            EXPECT_EQ(error.At(), c.part);
            EXPECT_NE(std::string(error.what()).find(c.said), std::string::npos) << error.what();
        }
    }
}

}  // namespace
}  // namespace linkcalc::planning
