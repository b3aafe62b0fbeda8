// Band and speed texts that the window's lists never offer (a sheet filled by other means): the
// run works with what the band list and the speed list know, and fails naming the choice when it
// cannot calculate.

#include <gtest/gtest.h>

#include <string>

#include "linkcalc/calc_run.h"
#include "linkcalc/memory_sheet.h"
#include "sheet_helpers.h"

namespace linkcalc {
namespace {

using helpers::Fill;
using helpers::HoldsNonFinite;
using helpers::LinkInputs;
using helpers::ResultTexts;

constexpr const char* kSpeedNotInList = "Select a speed from the list.";
constexpr const char* kBandNotInList = "Select a band or frequency from the list.";

TEST(OffListSpeedTest, FirstRunWithASpeedOutsideTheListFails) {
    for (const char* speed : {"9 Mbps", "6 Mbps", "54 mbps", "54Mbps", " 54 Mbps", "x"}) {
        SCOPED_TRACE(speed);
        MemorySheet sheet;
        LinkInputs in;
        in.speed = speed;
        Fill(sheet, in);
        RunValues values;
        const RunResult result = CalcRun(sheet, values);
        ASSERT_EQ(result.outcome, RunOutcome::Failed);
        ASSERT_TRUE(result.failure.has_value());
        EXPECT_EQ(result.failure->message, kSpeedNotInList);
        EXPECT_EQ(result.failure->focus, Field::CmbSlcSpeed);
        EXPECT_EQ(sheet.Focus(), Field::CmbSlcSpeed);
        ASSERT_EQ(sheet.Notices().size(), 1U);
        EXPECT_EQ(sheet.Notices().back().ShownTitle(), "ZIDORER");
        EXPECT_EQ(sheet.Text(Field::TxtRECI), "");
        EXPECT_FALSE(HoldsNonFinite(sheet));
    }
}

TEST(OffListSpeedTest, LaterRunKeepsTheSpeedFiguresOfTheEarlierRun) {
    // At 5800 MHz the earlier run's speed figures and radio power are kept, so the sheet reads
    // as it did; at 5300 MHz the band still sets its power.
    for (const char* band : {"5800", "5300"}) {
        SCOPED_TRACE(band);
        LinkInputs in;
        in.band = band;
        in.speed = "24 Mbps";
        MemorySheet sheet;
        Fill(sheet, in);
        RunValues values;
        ASSERT_EQ(CalcRun(sheet, values).outcome, RunOutcome::Completed);
        const auto before = ResultTexts(sheet);

        in.speed = "24 mbps";
        Fill(sheet, in);
        EXPECT_EQ(CalcRun(sheet, values).outcome, RunOutcome::Completed);
        EXPECT_EQ(ResultTexts(sheet), before);
        EXPECT_EQ(values.DataBitsPerSymbol, 96);
        EXPECT_EQ(values.RxSensitivity, -84);
    }
}

TEST(OffListSpeedTest, SpeedFiguresComeFromTheLastRunWithAListedSpeed) {
    // First 6 Mbps at 5800, then 5300 with a speed outside the list: the result is that of 5300
    // at 6 Mbps.
    LinkInputs in;
    in.speed = " 6 Mbps";
    MemorySheet sheet;
    Fill(sheet, in);
    RunValues values;
    ASSERT_EQ(CalcRun(sheet, values).outcome, RunOutcome::Completed);
    in.band = "5300";
    in.speed = "6 Mbps";
    Fill(sheet, in);
    ASSERT_EQ(CalcRun(sheet, values).outcome, RunOutcome::Completed);

    MemorySheet listed;
    in.speed = " 6 Mbps";
    Fill(listed, in);
    RunValues listedValues;
    ASSERT_EQ(CalcRun(listed, listedValues).outcome, RunOutcome::Completed);
    EXPECT_EQ(ResultTexts(sheet), ResultTexts(listed));
}

TEST(OffListBandTest, BandOutsideTheListGivesThePathFiguresOfItsFrequency) {
    // After a completed run, a band that reads as a number: the path figures are those of 5000
    // MHz over 10 miles.
    MemorySheet sheet;
    LinkInputs in;
    Fill(sheet, in);
    RunValues values;
    ASSERT_EQ(CalcRun(sheet, values).outcome, RunOutcome::Completed);
    in.band = "5000";
    Fill(sheet, in);
    const RunResult result = CalcRun(sheet, values);
    ASSERT_EQ(result.outcome, RunOutcome::Completed);
    EXPECT_EQ(sheet.Text(Field::TxtFSL), "130");  // 130.579
    EXPECT_EQ(sheet.Text(Field::TxtFR), "51");    // 50.982
    EXPECT_EQ(sheet.Text(Field::TxtEC), "12");
    EXPECT_EQ(sheet.Text(Field::TxtSAH), "63");  // 63.482
    EXPECT_EQ(sheet.Text(Field::TxtReqSS), "-73dBm");
    EXPECT_FALSE(HoldsNonFinite(sheet));
}

TEST(OffListBandTest, BandOutsideTheListOnAFreshSheetCompletesOrFailsNamingTheBand) {
    for (const char* band : {"5000", "2400", "5800.5", " 5800", "5800 "}) {
        SCOPED_TRACE(std::string("band \"") + band + "\"");
        MemorySheet sheet;
        LinkInputs in;
        in.band = band;
        Fill(sheet, in);
        RunValues values;
        const RunResult result = CalcRun(sheet, values);
        EXPECT_FALSE(HoldsNonFinite(sheet));
        if (result.outcome == RunOutcome::Failed) {
            ASSERT_TRUE(result.failure.has_value());
            EXPECT_EQ(result.failure->focus, Field::CmbEFreq) << result.failure->message;
            EXPECT_EQ(result.failure->message, kBandNotInList);
        } else {
            EXPECT_EQ(result.outcome, RunOutcome::Completed);
            EXPECT_NE(sheet.Text(Field::TxtFSL), "");
        }
    }
}

TEST(OffListBandTest, BandThatIsNotANumberFailsNamingTheBand) {
    for (const char* band : {"abc", "5.8 GHz", "0", "-5800 "}) {
        SCOPED_TRACE(band);
        MemorySheet sheet;
        LinkInputs in;
        Fill(sheet, in);
        RunValues values;
        ASSERT_EQ(CalcRun(sheet, values).outcome, RunOutcome::Completed);
        const auto before = ResultTexts(sheet);
        in.band = band;
        Fill(sheet, in);
        const RunResult result = CalcRun(sheet, values);
        ASSERT_EQ(result.outcome, RunOutcome::Failed);
        ASSERT_TRUE(result.failure.has_value());
        EXPECT_EQ(result.failure->message, kBandNotInList);
        EXPECT_EQ(sheet.Focus(), Field::CmbEFreq);
        EXPECT_EQ(ResultTexts(sheet), before);
    }
}

}  // namespace
}  // namespace linkcalc
