// Long paths: the most samples a path is looked at in, a terrain of many rows merged in one
// pass, and the points a picture of a long profile is drawn from.
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

#include "planning/clearance.h"
#include "planning/earth_bounds.h"
#include "planning/profile.h"
#include "planning/profile_picture.h"

namespace linkcalc::planning {
namespace {

TEST(LongProfileTest, NoPathIsSampledBeyondTheLongest) {
    EXPECT_LE(SampleCount(kLongestPath_m), kMaxPathSamples);
    EXPECT_EQ(SampleCount(kLongestPath_m), 667172u);
    EXPECT_THROW(SampleCount(std::nextafter(kLongestPath_m, 1e300)), std::invalid_argument);
    EXPECT_THROW(SampleCount(1e308), std::invalid_argument);
    EXPECT_THROW(SampleCount(-1), std::invalid_argument);
    EXPECT_THROW(SampleCount(std::nan("")), std::invalid_argument);
}

TEST(LongProfileTest, ManyRowsMergeWithTheSamplesInOrder) {
    // Rows every 7 m, some of them on a sample's distance (every 210 m), which they replace.
    std::vector<ProfileSample> rows;
    for (int i = 0; i <= 3000; ++i) rows.push_back({7.0 * i, 100.0 + i % 13, i % 5 == 0 ? 4.0 : 0});
    const double length = rows.back().distance_m;
    const std::vector<ProfileSample> profile = ProfileFromRows(rows, length);
    EXPECT_EQ(profile.size(), SampleCount(length) + rows.size() - 3000 / 30 - 1);
    for (std::size_t i = 1; i < profile.size(); ++i) {
        ASSERT_LT(profile[i - 1].distance_m, profile[i].distance_m) << i;
    }
    for (const ProfileSample& row : rows) {
        const auto at = std::find_if(profile.begin(), profile.end(), [&](const ProfileSample& p) {
            return p.distance_m == row.distance_m;
        });
        ASSERT_NE(at, profile.end()) << row.distance_m;
        EXPECT_EQ(at->elevation_m, row.elevation_m);
        EXPECT_EQ(at->obstruction_m, row.obstruction_m);
    }
}

Clearance ClearanceOver(double length, const std::vector<ProfileSample>& samples) {
    ClearanceInput input;
    input.samples = samples;
    input.pathLength_m = length;
    input.frequencyMHz = 5800;
    input.end1 = {100, 30};
    input.end2 = {100, 30};
    return ComputeClearance(input);
}

TEST(LongProfileTest, AShortProfileIsDrawnWhole) {
    const Clearance clearance = ClearanceOver(10000, BareEarthProfile(10000));
    const Clearance drawn = DrawnClearance(clearance, 10000);
    ASSERT_EQ(drawn.points.size(), clearance.points.size());
    EXPECT_EQ(drawn.worst, clearance.worst);
}

TEST(LongProfileTest, ALongProfileIsDrawnFromWhatItsColumnsShow) {
    const double length = kLongestPath_m;
    std::vector<ProfileSample> samples = BareEarthProfile(length);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i].elevation_m = 100 + 50 * std::sin(static_cast<double>(i) / 7);
        samples[i].obstruction_m = i % 101 == 0 ? 40 : 0;
    }
    const Clearance clearance = ClearanceOver(length, samples);
    const Clearance drawn = DrawnClearance(clearance, length);
    EXPECT_LE(drawn.points.size(), 7 * kDrawnColumns);
    EXPECT_GE(drawn.points.size(), 2 * kDrawnColumns);
    EXPECT_EQ(drawn.points[drawn.worst].distance_m, clearance.points[clearance.worst].distance_m);
    EXPECT_EQ(drawn.points.front().distance_m, 0);
    EXPECT_EQ(drawn.points.back().distance_m, length);
    EXPECT_EQ(drawn.mast60_m, clearance.mast60_m);
    EXPECT_EQ(drawn.clear60, clearance.clear60);
    // Each column keeps its lowest and highest ground and its highest top.
    std::vector<double> low(kDrawnColumns, 1e9), high(kDrawnColumns, -1e9),
        top(kDrawnColumns, -1e9);
    const auto column = [&](const ClearancePoint& p) {
        return std::min(kDrawnColumns - 1,
                        static_cast<std::size_t>(p.distance_m / length * kDrawnColumns));
    };
    for (const ClearancePoint& p : clearance.points) {
        const std::size_t c = column(p);
        low[c] = std::min(low[c], p.elevation_m + p.bulge_m);
        high[c] = std::max(high[c], p.elevation_m + p.bulge_m);
        top[c] = std::max(top[c], p.top_m);
    }
    std::vector<double> drawnLow(kDrawnColumns, 1e9), drawnHigh(kDrawnColumns, -1e9),
        drawnTop(kDrawnColumns, -1e9);
    for (std::size_t i = 0; i < drawn.points.size(); ++i) {
        const ClearancePoint& p = drawn.points[i];
        if (i > 0) {
            ASSERT_LT(drawn.points[i - 1].distance_m, p.distance_m);
        }
        const std::size_t c = column(p);
        drawnLow[c] = std::min(drawnLow[c], p.elevation_m + p.bulge_m);
        drawnHigh[c] = std::max(drawnHigh[c], p.elevation_m + p.bulge_m);
        drawnTop[c] = std::max(drawnTop[c], p.top_m);
    }
    EXPECT_EQ(drawnLow, low);
    EXPECT_EQ(drawnHigh, high);
    EXPECT_EQ(drawnTop, top);
}

}  // namespace
}  // namespace linkcalc::planning
