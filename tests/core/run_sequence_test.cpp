// Whole calculation runs on an in-memory sheet: a few complete links, what a stopped run leaves,
// and that a run depends only on the sheet it is given.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "linkcalc/calc_run.h"
#include "linkcalc/memory_sheet.h"
#include "sheet_helpers.h"

namespace linkcalc {
namespace {

using helpers::AllTexts;
using helpers::Fill;
using helpers::LinkInputs;
using helpers::ResultTexts;

struct Expected {
    Field field;
    const char* text;
};

void ExpectTexts(const MemorySheet& sheet, const std::vector<Expected>& expected) {
    for (const Expected& e : expected) {
        EXPECT_EQ(sheet.Text(e.field), e.text) << NameOf(e.field);
    }
}

TEST(RunSequenceTest, FreshSheetHoldsWhatTheWindowShowsWhenItOpens) {
    const MemorySheet sheet;
    for (const FieldInfo& info : kFields) {
        std::string expected;
        if (info.field == Field::TxtCblLss1 || info.field == Field::TxtCblLoss2) expected = "0";
        if (info.role == FieldRole::UnitLabel) expected = "ft";
        EXPECT_EQ(sheet.Text(info.field), expected) << info.name;
    }
    EXPECT_FALSE(sheet.Focus().has_value());
    EXPECT_FALSE(sheet.LastSelection().has_value());
    EXPECT_TRUE(sheet.Notices().empty());
}

TEST(RunSequenceTest, FirstRunOnTheOpenedWindowAsksForAnAntenna) {
    MemorySheet sheet;
    RunValues values;
    const RunResult result = CalcRun(sheet, values);
    EXPECT_EQ(result.outcome, RunOutcome::Stopped);
    ASSERT_EQ(sheet.Notices().size(), 1U);
    EXPECT_EQ(sheet.Notices().front().message, std::string("Select an antenna."));
    EXPECT_EQ(sheet.Focus(), Field::TxtAntG);
    EXPECT_EQ(sheet.Text(Field::TxtCblLss1), "0");
}

TEST(RunSequenceTest, CompletesA5800MHzLinkOverTenMiles) {
    MemorySheet sheet;
    Fill(sheet, LinkInputs{});
    RunValues values;
    const RunResult result = CalcRun(sheet, values);
    ASSERT_EQ(result.outcome, RunOutcome::Completed);
    EXPECT_FALSE(result.notice.has_value());
    EXPECT_FALSE(result.failure.has_value());
    EXPECT_TRUE(sheet.Notices().empty());
    ExpectTexts(sheet, {
                           {Field::TxtFSL, "132"},
                           {Field::TxtFR, "47"},
                           {Field::TxtEC, "12"},
                           {Field::TxtSAH, "60"},
                           {Field::TxtReqSS, "-73dBm"},
                           {Field::TxtRECI, "25"},
                           {Field::TxtEIRP1, "39"},
                           {Field::TxtEIRP2, "43.5"},
                           {Field::TxtMTP, "17"},
                           {Field::TxtMTP2, "17"},
                           {Field::TxtERSSI, "-66.5"},
                           {Field::TxtERSSI2, "-66.5"},
                           {Field::TxtRNFL, "-91.5"},
                           {Field::TxtRNFL2, "-91.5"},
                           {Field::TxtEBtRateUni, "27.62"},
                           {Field::TxtEBRBi, "33.77"},
                           {Field::TxtFM, "8.2"},
                           {Field::Lblft1, "ft"},
                       });
    // The fade margin leaves the frequency in GHz and the shown side-1 power.
    EXPECT_DOUBLE_EQ(values.FrequencyMHz, 5.8);
    EXPECT_EQ(values.RadioTxPower, 17);
    EXPECT_EQ(values.DistanceMiles, 10);
    EXPECT_EQ(values.RxSensitivity, -73);
    EXPECT_EQ(values.DataBitsPerSymbol, 216);
}

TEST(RunSequenceTest, CompletesA5300MHzLinkWithTheTransmitPowerCapped) {
    MemorySheet sheet;
    LinkInputs in;
    in.band = "5300";
    in.distance = "5";
    in.gain1 = "23";
    in.cableLoss1 = "0";
    in.gain2 = "19";
    in.cableLoss2 = "1";
    Fill(sheet, in);
    RunValues values;
    ASSERT_EQ(CalcRun(sheet, values).outcome, RunOutcome::Completed);
    ExpectTexts(sheet, {
                           {Field::TxtFSL, "125"},
                           {Field::TxtFR, "35"},
                           {Field::TxtEC, "3"},
                           {Field::TxtSAH, "38"},
                           {Field::TxtReqSS, "-73dBm"},
                           {Field::TxtRECI, "25"},
                           {Field::TxtEIRP1, "30"},
                           {Field::TxtEIRP2, "30"},
                           {Field::TxtMTP, "7"},
                           {Field::TxtMTP2, "7"},
                           {Field::TxtERSSI, "-72"},
                           {Field::TxtERSSI2, "-77"},
                           {Field::TxtRNFL, "-97"},
                           {Field::TxtRNFL2, "-102"},
                           {Field::TxtEBtRateUni, "31.48"},
                           {Field::TxtEBRBi, "39.71"},
                           {Field::TxtFM, "-3"},
                       });
}

TEST(RunSequenceTest, KilometresGiveMetresAndLongResultsAreCutToTheirFields) {
    MemorySheet sheet;
    LinkInputs in;
    in.unit = "Km";
    in.distance = "16.0934";
    Fill(sheet, in);
    RunValues values;
    ASSERT_EQ(CalcRun(sheet, values).outcome, RunOutcome::Completed);
    ExpectTexts(sheet, {{Field::TxtFSL, "132"},
                        {Field::TxtFR, "14"},
                        {Field::TxtEC, "4"},
                        {Field::TxtSAH, "18"},
                        {Field::Lblft1, "m"},
                        {Field::Lblft2, "m"},
                        {Field::Lblft3, "m"}});

    in.unit = "Miles";
    in.distance = "1000";
    Fill(sheet, in);
    ASSERT_EQ(CalcRun(sheet, values).outcome, RunOutcome::Completed);
    ExpectTexts(sheet, {{Field::TxtFSL, "172"},
                        {Field::TxtFR, "473"},
                        {Field::TxtEC, "12500"},
                        {Field::TxtSAH, "12547"},
                        {Field::Lblft1, "ft"}});
}

TEST(RunSequenceTest, PacketSizeZeroGivesZeroRates) {
    MemorySheet sheet;
    LinkInputs in;
    in.packetSize = "0";
    Fill(sheet, in);
    RunValues values;
    ASSERT_EQ(CalcRun(sheet, values).outcome, RunOutcome::Completed);
    EXPECT_EQ(sheet.Text(Field::TxtEBtRateUni), "0");
    EXPECT_EQ(sheet.Text(Field::TxtEBRBi), "0");
}

TEST(RunSequenceTest, HugeCableLoss1OnACappedBandShowsTheCap) {
    struct Case {
        const char* band;
        const char* cap;
    };
    for (const Case c : {Case{"5300", "7"}, Case{"5400", "11"}}) {
        SCOPED_TRACE(c.band);
        MemorySheet sheet;
        LinkInputs in;
        in.band = c.band;
        in.gain1 = "20";
        in.cableLoss1 = "40000";
        Fill(sheet, in);
        RunValues values;
        ASSERT_EQ(CalcRun(sheet, values).outcome, RunOutcome::Completed);
        EXPECT_EQ(sheet.Text(Field::TxtMTP), c.cap);
        // The other side's 30 dBm EIRP, less the 131 dB path, through antenna 1 and its cable.
        EXPECT_EQ(sheet.Text(Field::TxtFSL), "131");
        EXPECT_EQ(sheet.Text(Field::TxtERSSI), "-40081");
    }
}

TEST(RunSequenceTest, StoppedRunLeavesThePreviousResultsBesideChangedInputs) {
    MemorySheet sheet;
    LinkInputs in;
    Fill(sheet, in);
    RunValues values;
    ASSERT_EQ(CalcRun(sheet, values).outcome, RunOutcome::Completed);
    const auto results = ResultTexts(sheet);
    const RunValues afterFirst = values;

    // New inputs, one of them bad: the run stops at the last check.
    in.band = "5300";
    in.distance = "-3";
    in.packetSize = "";
    in.unit = "Km";
    in.cableLoss2 = "abc";
    Fill(sheet, in);
    const RunResult result = CalcRun(sheet, values);
    ASSERT_EQ(result.outcome, RunOutcome::Stopped);
    EXPECT_EQ(ResultTexts(sheet), results);
    EXPECT_EQ(sheet.Text(Field::CmbEFreq), "5300");
    EXPECT_EQ(sheet.Text(Field::TxtDM), "3");
    EXPECT_EQ(sheet.Text(Field::Txtepksz), "1518");
    EXPECT_EQ(sheet.Text(Field::Lblft1), "m");
    EXPECT_EQ(sheet.Text(Field::TxtCblLoss2), "abc");
    EXPECT_EQ(sheet.Focus(), Field::TxtCblLoss2);
    // Only validation's run values moved; those of the later stages are the first run's.
    EXPECT_EQ(values.FrequencyMHz, afterFirst.FrequencyMHz);
    EXPECT_EQ(values.DistanceMiles, afterFirst.DistanceMiles);
    EXPECT_EQ(values.RadioTxPower, afterFirst.RadioTxPower);
    EXPECT_EQ(values.DataBitsPerSymbol, afterFirst.DataBitsPerSymbol);
}

TEST(RunSequenceTest, TwoRunsWithTheSameInputsGiveTheSameSheet) {
    std::vector<LinkInputs> links(3);
    links[1].cableLoss1 = "-2.50";
    links[1].distance = "-10";
    links[1].packetSize = "";
    links[1].unit = "Km";
    links[1].cableLoss2 = "-3.5";
    links[2].band = "5400";
    links[2].speed = " 6 Mbps";
    links[2].gain1 = "22.5";
    links[2].cableLoss1 = "0.5-";
    links[2].distance = "3-";
    links[2].packetSize = "-64";
    for (std::size_t i = 0; i < links.size(); ++i) {
        SCOPED_TRACE("link " + std::to_string(i));
        MemorySheet sheet;
        Fill(sheet, links[i]);
        RunValues values;
        ASSERT_EQ(CalcRun(sheet, values).outcome, RunOutcome::Completed);
        const auto first = AllTexts(sheet);
        const RunValues firstValues = values;
        ASSERT_EQ(CalcRun(sheet, values).outcome, RunOutcome::Completed);
        EXPECT_EQ(AllTexts(sheet), first);
        EXPECT_TRUE(values == firstValues);
        EXPECT_TRUE(sheet.Notices().empty());
    }
}

TEST(RunSequenceTest, CompletedRunDoesNotDependOnWhatEarlierRunsLeft) {
    LinkInputs at5300;
    at5300.band = "5300";
    at5300.speed = " 6 Mbps";
    at5300.gain1 = "30";
    at5300.cableLoss1 = "2";
    at5300.unit = "Km";
    at5300.distance = "8";
    LinkInputs at4900;
    at4900.band = "4900";
    at4900.speed = "54 Mbps";
    at4900.gain2 = "19";
    at4900.cableLoss2 = "-3.5";
    at4900.packetSize = "64";
    LinkInputs at5400;
    at5400.band = "5400";
    at5400.speed = "24 Mbps";
    at5400.gain1 = "18";
    at5400.cableLoss1 = "0.3";
    at5400.distance = "2.5";
    const LinkInputs at5800;

    struct Pair {
        const char* name;
        LinkInputs first;
        LinkInputs second;
    };
    const Pair pairs[] = {
        {"5300 then 5800", at5300, at5800}, {"5800 then 5300", at5800, at5300},
        {"5300 then 4900", at5300, at4900}, {"4900 then 5400", at4900, at5400},
        {"5400 then 5300", at5400, at5300},
    };
    for (const Pair& p : pairs) {
        SCOPED_TRACE(p.name);
        MemorySheet fresh;
        Fill(fresh, p.second);
        RunValues freshValues;
        ASSERT_EQ(CalcRun(fresh, freshValues).outcome, RunOutcome::Completed);

        MemorySheet reused;
        RunValues reusedValues;
        Fill(reused, p.first);
        ASSERT_EQ(CalcRun(reused, reusedValues).outcome, RunOutcome::Completed);
        Fill(reused, p.second);
        ASSERT_EQ(CalcRun(reused, reusedValues).outcome, RunOutcome::Completed);

        EXPECT_EQ(AllTexts(reused), AllTexts(fresh));
    }
}

TEST(RunSequenceTest, CompletedRunDoesNotDependOnRunValuesLeftBeforeIt) {
    RunValues leftOver;
    leftOver.CableLoss1 = 7;
    leftOver.AntennaGain1 = -8;
    leftOver.AntennaGain2 = 9;
    leftOver.CableLoss2 = -10;
    leftOver.FrequencyMHz = 4.9;
    leftOver.DistanceMiles = 123;
    leftOver.RadioTxPower = 3;
    leftOver.RxSensitivity = -50;
    leftOver.DataBitsPerSymbol = 24;
    leftOver.Eirp1 = 1;
    leftOver.Eirp2 = 2;
    leftOver.EirpExcess1 = 3;
    leftOver.EirpExcess2 = 4;
    leftOver.FreeSpaceLoss = 5;
    leftOver.ExpectedRssi1 = 6;
    leftOver.ExpectedRssi2 = 7;
    for (const char* band : {"4900", "5300", "5400", "5800"}) {
        SCOPED_TRACE(band);
        LinkInputs in;
        in.band = band;
        MemorySheet fresh;
        Fill(fresh, in);
        RunValues freshValues;
        ASSERT_EQ(CalcRun(fresh, freshValues).outcome, RunOutcome::Completed);
        MemorySheet used;
        Fill(used, in);
        RunValues usedValues = leftOver;
        ASSERT_EQ(CalcRun(used, usedValues).outcome, RunOutcome::Completed);
        EXPECT_EQ(AllTexts(used), AllTexts(fresh));
    }
}

}  // namespace
}  // namespace linkcalc
