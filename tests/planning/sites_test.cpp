#include "planning/sites.h"

#include <gtest/gtest.h>

#include "linkcalc/memory_sheet.h"
#include "linkcalc/numeric_text.h"
#include "planning/module_loader.h"

namespace linkcalc::planning {
namespace {

// Over 10 km the earth of radius 4/3 · 6371008.8 m drops the line of sight by
// 10000 / (2 · 8494678.4) = 0.000588604 rad = 0.0337245°.
TEST(SitesTest, EqualHeightsTiltBothAntennasDownByTheCurvature) {
    EXPECT_NEAR(TiltDeg(30, 30, 10000), -0.0337245, 1e-7);
}

// atan(100 / 10000) = 0.0099996667 rad: site 1 looks up 0.0094111 rad = 0.539214°, site 2
// down 0.0105883 rad = 0.606663°.
TEST(SitesTest, AHigherSite2TiltsSite1Up) {
    EXPECT_NEAR(TiltDeg(10, 110, 10000), 0.539214, 1e-6);
    EXPECT_NEAR(TiltDeg(110, 10, 10000), -0.606663, 1e-6);
}

TEST(SitesTest, TheDistanceTextIsRoundedToTheMetreInTheRunsUnit) {
    const struct {
        double metres;
        const char* unit;
        const char* text;
    } cases[] = {
        {12345.678, "Km", "12.346"},
        {10000.2, "Km", "10"},
        {999.5, "Km", "1"},
        {0, "Km", "0"},
        {16093.44, "Miles", "9.99973"},
        {1609.7, "Miles", "1.00041"},
        {1000, "km", "0.62137"},
        {20003931.46, "Km", "20003.931"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DistanceText(c.metres, c.unit), c.text) << c.metres << " " << c.unit;
    }
}

LinkGeometry TenKilometres() {
    LinkGeometry geometry;
    geometry.distance_m = 10000;
    geometry.ground1_m = 100;
    geometry.ground2_m = 200;
    return geometry;
}

TEST(SitesTest, MastsLeftOutAreTheSuggestedHeightInMetres) {
    MemorySheet sheet;
    sheet.SetText(Field::TxtSAH, "60");
    sheet.SetText(Field::Cmbmilekm, "Miles");
    LinkGeometry geometry = TenKilometres();
    geometry.mast2_m = 5;
    CompleteHeights(geometry, sheet, RunOutcome::Completed);
    EXPECT_DOUBLE_EQ(*geometry.mast1_m, 60 * 0.3048);
    EXPECT_DOUBLE_EQ(*geometry.mast2_m, 5);
    EXPECT_DOUBLE_EQ(*geometry.tilt1_deg, TiltDeg(100 + 18.288, 205, 10000));

    sheet.SetText(Field::Cmbmilekm, "Km");
    geometry = TenKilometres();
    CompleteHeights(geometry, sheet, RunOutcome::Completed);
    EXPECT_DOUBLE_EQ(*geometry.mast1_m, 60);
    EXPECT_DOUBLE_EQ(*geometry.tilt2_deg, TiltDeg(260, 160, 10000));
}

TEST(SitesTest, WithoutARunsHeightOrADistanceThereIsNoTilt) {
    MemorySheet sheet;
    sheet.SetText(Field::TxtSAH, "60");
    LinkGeometry geometry = TenKilometres();
    CompleteHeights(geometry, sheet, RunOutcome::Stopped);
    EXPECT_FALSE(geometry.mast1_m);
    EXPECT_FALSE(geometry.tilt1_deg);

    geometry.mast1_m = geometry.mast2_m = 10;  // given: a stopped run does not matter
    CompleteHeights(geometry, sheet, RunOutcome::Stopped);
    EXPECT_TRUE(geometry.tilt1_deg);

    geometry.distance_m = 0;
    CompleteHeights(geometry, sheet, RunOutcome::Completed);
    EXPECT_FALSE(geometry.tilt1_deg);
    EXPECT_FALSE(geometry.tilt2_deg);
}

const Geodesy& Geo() {
    return LoadModule<Geodesy>("geodesy");
}

SiteInputs Points(std::string point1, std::string point2) {
    SiteInputs inputs;
    inputs.point1 = std::move(point1);
    inputs.point2 = std::move(point2);
    return inputs;
}

void FillLink(MemorySheet& sheet) {
    sheet.SetText(Field::TxtAntG, "23");
    sheet.SetText(Field::TxtAntG2, "23");
    sheet.SetText(Field::CmbEFreq, "5800");
    sheet.SetText(Field::CmbSlcSpeed, "54 Mbps");
}

TEST(SitesTest, ARunFromSitesGivesTheDistanceFieldTheGeodesicInKm) {
    MemorySheet sheet;
    FillLink(sheet);
    RunValues values;
    SiteInputs inputs{"40.4406,-79.9959", "40.5,-79.9", 300, 250, std::nullopt, 12};
    const SiteRun run = RunWithSites(Geo(), inputs, sheet, values);
    ASSERT_EQ(run.result.outcome, RunOutcome::Completed);
    const GeodesicInverse path = Geo().Inverse({40.4406, -79.9959}, {40.5, -79.9});
    EXPECT_EQ(sheet.Text(Field::Cmbmilekm), "Km");
    EXPECT_EQ(sheet.Text(Field::TxtDM), DistanceText(path.distance_m, "Km"));
    EXPECT_DOUBLE_EQ(run.geometry.distance_m, path.distance_m);
    EXPECT_DOUBLE_EQ(run.geometry.azimuth2_deg, path.azimuth2_deg);
    EXPECT_DOUBLE_EQ(*run.geometry.mast1_m, NumberOfText(sheet.Text(Field::TxtSAH)));
    EXPECT_DOUBLE_EQ(*run.geometry.tilt1_deg,
                     TiltDeg(300 + *run.geometry.mast1_m, 262, path.distance_m));
}

TEST(SitesTest, ARunFromSitesKeepsAUnitGivenAndFailsOverAZeroPath) {
    MemorySheet sheet;
    FillLink(sheet);
    sheet.SetText(Field::Cmbmilekm, "Miles");
    RunValues values;
    const SiteRun run = RunWithSites(Geo(), Points("10,20", "10,20"), sheet, values);
    EXPECT_EQ(sheet.Text(Field::TxtDM), "0");
    EXPECT_EQ(sheet.Text(Field::Cmbmilekm), "Miles");
    EXPECT_EQ(run.result.outcome, RunOutcome::Failed);
    ASSERT_TRUE(run.result.failure);
    EXPECT_EQ(run.result.failure->message, "The distance must be greater than zero.");
    EXPECT_FALSE(run.geometry.tilt1_deg);
}

TEST(SitesTest, ABadPointNamesItsSiteAndPartAndLeavesTheSheet) {
    MemorySheet sheet;
    RunValues values;
    try {
        RunWithSites(Geo(), Points("10,20", "10,abc"), sheet, values);
        FAIL() << "no error";
    } catch (const SiteError& error) {
        EXPECT_EQ(error.Site(), 2);
        EXPECT_EQ(error.Part(), PointError::Part::Second);
    }
    EXPECT_EQ(sheet.Text(Field::TxtDM), "");
    EXPECT_EQ(sheet.Text(Field::Cmbmilekm), "");
}

}  // namespace
}  // namespace linkcalc::planning
