// Clearance over a profile: the bare earth needs the window's suggested antenna height, a ridge
// worked by hand, and masts that clear exactly what they promise.
#include "planning/clearance.h"

#include <algorithm>
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "linkcalc/calc_run.h"
#include "linkcalc/memory_sheet.h"
#include "linkcalc/numeric_text.h"
#include "planning/run_path.h"

namespace linkcalc::planning {
namespace {

struct BareCase {
    std::string band, distance, unit;
};

class BareEarthTest : public ::testing::TestWithParam<BareCase> {};

// The window's height is the Fresnel radius plus the bulge at mid-path, with its own constants
// (72.1, d²/8 in feet and miles), shown rounded down unless the fraction reaches .8.
TEST_P(BareEarthTest, TheFullZoneMastIsTheSuggestedAntennaHeight) {
    const BareCase& c = GetParam();
    MemorySheet sheet;
    sheet.SetText(Field::TxtAntG, "23");
    sheet.SetText(Field::TxtAntG2, "23");
    sheet.SetText(Field::TxtCblLss1, "1");
    sheet.SetText(Field::TxtCblLoss2, "1");
    sheet.SetText(Field::CmbEFreq, c.band);
    sheet.SetText(Field::CmbSlcSpeed, "24 Mbps");
    sheet.SetText(Field::TxtDM, c.distance);
    sheet.SetText(Field::Cmbmilekm, c.unit);
    RunValues values;
    ASSERT_EQ(CalcRun(sheet, values).outcome, RunOutcome::Completed);

    const RunPath path = PathOfRun(sheet, values);
    ClearanceInput input;
    input.samples = BareEarthProfile(path.length_m);
    input.pathLength_m = path.length_m;
    input.frequencyMHz = path.frequencyMHz;
    const Clearance clearance = ComputeClearance(input);

    const double toShown = c.unit == "Km" ? 1.0 : 1.0 / kMetresPerFoot;
    const double mast = clearance.mast100_m * toShown;
    const double shown = NumberOfText(sheet.TextRef(Field::TxtSAH));
    EXPECT_GE(mast, shown - 0.2 - 0.002 * shown) << c.distance << " " << c.unit;
    EXPECT_LT(mast, shown + 0.8 + 0.002 * shown) << c.distance << " " << c.unit;
    // With no mast the bare earth itself is the worst, at mid-path, and blocks 60 %.
    EXPECT_FALSE(clearance.clear60);
    EXPECT_NEAR(clearance.points[clearance.worst].distance_m, path.length_m / 2,
                path.length_m / 100);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, BareEarthTest,
    ::testing::Values(BareCase{"5800", "16.0934", "Km"}, BareCase{"5800", "10", "Miles"},
                      BareCase{"4900", "1", "Miles"}, BareCase{"5300", "5", "Miles"},
                      BareCase{"5400", "8", "Km"}, BareCase{"5800", "60", "Km"},
                      BareCase{"5300", "0.5", "Km"}));

// 10 km at 5800 MHz from 100 m (mast 10) to 200 m (mast 20), a ridge of 300 m with 15 m of trees
// at mid-path. Worked by hand: bulge 5000²/(2·4/3·6371008.8) = 1.47151, zone radius
// √(0.0516884·5000²/10000) = 11.36754, top 316.47151, sight 165.
const std::vector<ProfileSample> kRidge = {
    {0, 100, 0}, {4000, 100, 0}, {5000, 300, 15}, {6000, 150, 0}, {10000, 200, 0}};

ClearanceInput RidgeInput(std::vector<ProfileSample> samples) {
    ClearanceInput input;
    input.samples = std::move(samples);
    input.pathLength_m = 10000;
    input.frequencyMHz = 5800;
    input.end1 = {100, 10};
    input.end2 = {200, 20};
    return input;
}

TEST(ClearanceTest, OneRidgeWorkedByHand) {
    const Clearance clearance = ComputeClearance(RidgeInput(kRidge));
    ASSERT_EQ(clearance.points.size(), kRidge.size());
    const ClearancePoint& ridge = clearance.points[2];
    EXPECT_NEAR(ridge.bulge_m, 1.471510, 1e-6);
    EXPECT_NEAR(ridge.fresnel_m, 11.367537, 1e-6);
    EXPECT_NEAR(ridge.sight_m, 165, 1e-9);
    EXPECT_NEAR(ridge.top_m, 316.471510, 1e-6);
    EXPECT_NEAR(ridge.clearance_m, -151.471510, 1e-6);
    EXPECT_NEAR(ridge.ratio, -13.324920, 1e-6);
    EXPECT_EQ(clearance.worst, 2u);
    EXPECT_FALSE(clearance.clear60);
    EXPECT_NEAR(clearance.mast60_m, 173.292031, 1e-6);
    EXPECT_NEAR(clearance.mast100_m, 177.839046, 1e-6);
    // The ends: no zone, no bulge, the antennas above their ground.
    EXPECT_EQ(clearance.points.front().fresnel_m, 0);
    EXPECT_EQ(clearance.points.back().bulge_m, 0);
    EXPECT_DOUBLE_EQ(clearance.points.front().clearance_m, 10);
    EXPECT_DOUBLE_EQ(clearance.points.back().clearance_m, 20);
}

TEST(ClearanceTest, TheRidgeStaysTheWorstOnTheSampledProfile) {
    const Clearance clearance = ComputeClearance(RidgeInput(ProfileFromRows(kRidge, 10000)));
    EXPECT_DOUBLE_EQ(clearance.points[clearance.worst].distance_m, 5000);
    EXPECT_NEAR(clearance.mast60_m, 173.292031, 1e-6);
    EXPECT_NEAR(clearance.mast100_m, 177.839046, 1e-6);
}

// Masts of the reported heights clear the zone everywhere, and a little lower they do not.
TEST(ClearanceTest, TheReportedMastsClearWhatTheyPromise) {
    for (const double q : {0.6, 1.0}) {
        const Clearance bare = ComputeClearance(RidgeInput(ProfileFromRows(kRidge, 10000)));
        const double mast = q == 0.6 ? bare.mast60_m : bare.mast100_m;
        for (const double change : {0.0, -0.01}) {
            ClearanceInput input = RidgeInput(ProfileFromRows(kRidge, 10000));
            input.end1.mast_m = input.end2.mast_m = mast + change;
            const Clearance raised = ComputeClearance(input);
            const double worst = raised.points[raised.worst].ratio;
            if (change == 0) {
                EXPECT_GE(worst, q - 1e-9) << q;
            } else {
                EXPECT_LT(worst, q) << q;
            }
            if (q == 0.6) {
                EXPECT_EQ(raised.clear60, change == 0);
            }
        }
    }
}

TEST(ClearanceTest, ALowerKRaisesTheBulge) {
    ClearanceInput input = RidgeInput(kRidge);
    input.k = 2.0 / 3.0;
    const Clearance clearance = ComputeClearance(input);
    EXPECT_DOUBLE_EQ(clearance.k, 2.0 / 3.0);
    EXPECT_NEAR(clearance.points[2].bulge_m, 2 * 1.471510, 1e-6);
}

TEST(ProfileTest, SamplesEvery30MetresAndAtLeast100) {
    EXPECT_EQ(SampleCount(10), 100u);
    EXPECT_EQ(SampleCount(30 * 99), 100u);
    EXPECT_EQ(SampleCount(30 * 99 + 1), 101u);
    EXPECT_EQ(SampleCount(50000), 1668u);
    const auto samples = BareEarthProfile(50000);
    ASSERT_EQ(samples.size(), 1668u);
    EXPECT_EQ(samples.front().distance_m, 0);
    EXPECT_EQ(samples.back().distance_m, 50000);
    for (std::size_t i = 1; i < samples.size(); ++i) {
        EXPECT_LE(samples[i].distance_m - samples[i - 1].distance_m, 30.0);
    }
}

TEST(ProfileTest, RowsAreStretchedKeptAndJoinedByStraightLines) {
    // Measured over 10100 m for a path of 10 km: every distance shrinks by 1 %.
    const std::vector<ProfileSample> rows = {{0, 10, 0}, {5050, 110, 20}, {10100, 10, 0}};
    const auto samples = ProfileFromRows(rows, 10000);
    EXPECT_GE(samples.size(), SampleCount(10000));
    EXPECT_EQ(samples.front().distance_m, 0);
    EXPECT_EQ(samples.back().distance_m, 10000);
    const auto peak = std::find_if(samples.begin(), samples.end(),
                                   [](const auto& s) { return s.distance_m == 5000; });
    ASSERT_NE(peak, samples.end());
    EXPECT_EQ(peak->elevation_m, 110);
    EXPECT_EQ(peak->obstruction_m, 20);
    for (const ProfileSample& s : samples) {
        const double expected = s.distance_m <= 5000 ? 10 + 100 * s.distance_m / 5000
                                                     : 110 - 100 * (s.distance_m - 5000) / 5000;
        EXPECT_NEAR(s.elevation_m, expected, 1e-9) << s.distance_m;
        EXPECT_NEAR(s.obstruction_m, 20 * (expected - 10) / 100, 1e-9) << s.distance_m;
    }
    for (std::size_t i = 1; i < samples.size(); ++i) {
        EXPECT_GT(samples[i].distance_m, samples[i - 1].distance_m);
    }
}

}  // namespace
}  // namespace linkcalc::planning
