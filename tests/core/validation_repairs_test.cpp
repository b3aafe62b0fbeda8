// What input validation changes: the repaired inputs, the unit labels and the four run values it
// sets, and what of it stays when a later check stops the run.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "linkcalc/calc_run.h"
#include "linkcalc/memory_sheet.h"
#include "sheet_helpers.h"

namespace linkcalc {
namespace {

using helpers::Fill;
using helpers::LinkInputs;

struct RepairCase {
    const char* typed;
    const char* repaired;
};

// Runs the inputs and expects the run to stop with the given message.
void RunExpectingNotice(MemorySheet& sheet, RunValues& values, const std::string& message) {
    const RunResult result = CalcRun(sheet, values);
    ASSERT_EQ(result.outcome, RunOutcome::Stopped);
    ASSERT_TRUE(result.notice.has_value());
    EXPECT_EQ(result.notice->message, message);
}

TEST(ValidationRepairTest, CableLoss1IsRewrittenAsTheCanonicalTextOfItsValue) {
    struct Case {
        const char* typed;
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"2.5", "2.5", 2.5},     {"-2.5", "2.5", 2.5},     {"2.5-", "2.5", 2.5},
        {" 2.50 ", "2.5", 2.5},  {"000", "0", 0},          {"-0", "0", 0},
        {"0.0", "0", 0},         {"+3", "3", 3},           {"3+", "3", 3},
        {"1e1", "10", 10},       {"1E-3", "0.001", 0.001}, {"-1E-3", "1000", 1000},
        {"1E-3-", "1000", 1000}, {" -2.5", "-2.5", -2.5},  {"2.5- ", "-2.5", -2.5},
        {"1E20", "1E+20", 1e20}, {".5", "0.5", 0.5},       {"40000", "40000", 40000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        MemorySheet sheet;
        LinkInputs in;
        in.cableLoss1 = c.typed;
        in.gain1 = "";  // stops the run right after the rewrite
        Fill(sheet, in);
        RunValues values;
        RunExpectingNotice(sheet, values, "Select an antenna.");
        EXPECT_EQ(sheet.Text(Field::TxtCblLss1), c.text);
        EXPECT_EQ(values.CableLoss1, c.value);
    }
}

TEST(ValidationRepairTest, NegativeCableLoss1WithGain20GoesOn) {
    MemorySheet sheet;
    LinkInputs in;
    in.gain1 = "20";
    in.cableLoss1 = "-2.5";
    Fill(sheet, in);
    RunValues values;
    EXPECT_EQ(CalcRun(sheet, values).outcome, RunOutcome::Completed);
    EXPECT_EQ(sheet.Text(Field::TxtCblLss1), "2.5");
    EXPECT_EQ(values.CableLoss1, 2.5);
    EXPECT_EQ(values.AntennaGain1, 20);
}

TEST(ValidationRepairTest, CableLoss1ThatReadsAsZeroIsRewrittenBeforeTheZeroLossNotice) {
    for (const char* typed : {"0.0", "-0", "000", "0-"}) {
        SCOPED_TRACE(typed);
        MemorySheet sheet;
        LinkInputs in;
        in.gain1 = "20";
        in.cableLoss1 = typed;
        Fill(sheet, in);
        RunValues values;
        RunExpectingNotice(sheet, values, "Enter correct cable loss");
        EXPECT_EQ(sheet.Text(Field::TxtCblLss1), "0");
        EXPECT_EQ(sheet.Focus(), Field::TxtCblLss1);
    }
}

TEST(ValidationRepairTest, DistanceLosesItsMinusSignsOnlyWhenOneStandsAtAnEnd) {
    const RepairCase cases[] = {
        {"12", "12"},     {"-12", "12"},    {"12-", "12"},  {"-12 ", "12 "},  {"1E-3", "1E-3"},
        {"-1E-3", "1E3"}, {"1E-3-", "1E3"}, {" -5", " -5"}, {" 12 ", " 12 "}, {"+12", "+12"},
    };
    for (const RepairCase& c : cases) {
        SCOPED_TRACE(c.typed);
        MemorySheet sheet;
        LinkInputs in;
        in.distance = c.typed;
        in.band = "";  // stops the run after the repairs
        Fill(sheet, in);
        RunValues values;
        RunExpectingNotice(sheet, values, "Select a band or frequency.");
        EXPECT_EQ(sheet.Text(Field::TxtDM), c.repaired);
    }
}

TEST(ValidationRepairTest, PacketSizeIsDefaultedOrLosesItsMinusSigns) {
    const RepairCase cases[] = {
        {"", "1518"},     {"1518", "1518"}, {"-64", "64"},   {"64-", "64"},
        {"abc", "abc"},   {" -64", " -64"}, {"-abc", "abc"}, {"-", ""},
        {"-1E-3", "1E3"}, {"0", "0"},       {" ", " "},      {"6-4", "6-4"},
    };
    for (const RepairCase& c : cases) {
        SCOPED_TRACE(std::string("typed \"") + c.typed + "\"");
        MemorySheet sheet;
        LinkInputs in;
        in.packetSize = c.typed;
        in.band = "";
        Fill(sheet, in);
        RunValues values;
        RunExpectingNotice(sheet, values, "Select a band or frequency.");
        EXPECT_EQ(sheet.Text(Field::Txtepksz), c.repaired);
    }
}

TEST(ValidationRepairTest, UnitLabelsFollowOnlyTheExactUnitTexts) {
    struct Case {
        const char* unit;
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {"Miles", "m", "ft"}, {"Miles", "ft", "ft"}, {"Km", "ft", "m"},  {"Km", "m", "m"},
        {"km", "m", "m"},     {"km", "ft", "ft"},    {"KM", "ft", "ft"}, {"Km ", "ft", "ft"},
        {" Km", "ft", "ft"},  {"miles", "m", "m"},   {"Mile", "m", "m"}, {"kilometres", "ft", "ft"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.unit) + " after " + c.before);
        MemorySheet sheet;
        LinkInputs in;
        in.unit = c.unit;
        in.band = "";
        Fill(sheet, in);
        for (const Field label : {Field::Lblft1, Field::Lblft2, Field::Lblft3}) {
            sheet.SetCaption(label, c.before);
        }
        RunValues values;
        RunExpectingNotice(sheet, values, "Select a band or frequency.");
        EXPECT_EQ(sheet.Text(Field::Lblft1), c.after);
        EXPECT_EQ(sheet.Text(Field::Lblft2), c.after);
        EXPECT_EQ(sheet.Text(Field::Lblft3), c.after);
    }
}

TEST(ValidationRepairTest, KmWithoutADistanceSwitchesTheLabelsBeforeTheNotice) {
    MemorySheet sheet;
    LinkInputs in;
    in.unit = "Km";
    in.distance = "";
    Fill(sheet, in);
    RunValues values;
    RunExpectingNotice(sheet, values, "Enter the distance in miles or Km.");
    EXPECT_EQ(sheet.Text(Field::Lblft1), "m");
    EXPECT_EQ(sheet.Text(Field::Lblft2), "m");
    EXPECT_EQ(sheet.Text(Field::Lblft3), "m");
}

TEST(ValidationRepairTest, RepairsAfterTheFailingCheckAreNotMade) {
    // The antenna check stops the run before the unit, distance and packet size are looked at.
    MemorySheet sheet;
    LinkInputs in;
    in.gain1 = "";
    in.cableLoss1 = "-2.5";
    in.unit = "Km";
    in.distance = "-12";
    in.packetSize = "";
    Fill(sheet, in);
    RunValues values;
    RunExpectingNotice(sheet, values, "Select an antenna.");
    EXPECT_EQ(sheet.Text(Field::TxtCblLss1), "2.5");  // made before the check
    EXPECT_EQ(sheet.Text(Field::Lblft1), "ft");
    EXPECT_EQ(sheet.Text(Field::TxtDM), "-12");
    EXPECT_EQ(sheet.Text(Field::Txtepksz), "");
}

TEST(ValidationRepairTest, RepairsBeforeALaterNoticeStay) {
    MemorySheet sheet;
    LinkInputs in;
    in.cableLoss1 = " 2.50 ";
    in.unit = "Km";
    in.distance = "16-";
    in.packetSize = "";
    in.gain2 = "-3";  // stops the run at the very end of the checks
    Fill(sheet, in);
    RunValues values;
    RunExpectingNotice(sheet, values,
                       "Enter a none negative numeric value for antenna 2.\r\nInvalid Input!");
    EXPECT_EQ(sheet.Text(Field::TxtCblLss1), "2.5");
    EXPECT_EQ(sheet.Text(Field::Lblft2), "m");
    EXPECT_EQ(sheet.Text(Field::TxtDM), "16");
    EXPECT_EQ(sheet.Text(Field::Txtepksz), "1518");
    EXPECT_EQ(sheet.Text(Field::TxtAntG2), "-3");
}

// Run values with marks that no check would set, to see which ones a run changes.
RunValues MarkedValues() {
    RunValues v;
    v.CableLoss1 = 91;
    v.AntennaGain1 = 92;
    v.AntennaGain2 = 93;
    v.CableLoss2 = 94;
    v.FrequencyMHz = 95;
    v.DistanceMiles = 96;
    v.RadioTxPower = 97;
    v.RxSensitivity = 98;
    v.DataBitsPerSymbol = 99;
    v.Eirp1 = 100;
    v.Eirp2 = 101;
    v.EirpExcess1 = 102;
    v.EirpExcess2 = 103;
    v.FreeSpaceLoss = 104;
    v.ExpectedRssi1 = 105;
    v.ExpectedRssi2 = 106;
    return v;
}

TEST(ValidationRepairTest, RunValuesSetBeforeANoticeStayAndTheOthersKeepTheirValues) {
    struct Case {
        const char* name;
        void (*edit)(LinkInputs&);
        double cableLoss1;
        double gain1;
        double gain2;
    };
    const Case cases[] = {
        {"no numeric cable loss 1", [](LinkInputs& in) { in.cableLoss1 = "x"; }, 91, 92, 93},
        {"no antenna 1", [](LinkInputs& in) { in.gain1 = ""; }, 1, 92, 93},
        {"antenna 1 not numeric", [](LinkInputs& in) { in.gain1 = "x"; }, 1, 92, 93},
        {"antenna 1 negative", [](LinkInputs& in) { in.gain1 = "-3"; }, 1, 92, 93},
        {"no unit", [](LinkInputs& in) { in.unit = ""; }, 1, 23, 93},
        {"distance not numeric", [](LinkInputs& in) { in.distance = "x"; }, 1, 23, 93},
        {"no band", [](LinkInputs& in) { in.band = ""; }, 1, 23, 93},
        {"antenna 2 negative", [](LinkInputs& in) { in.gain2 = "3-"; }, 1, 23, 93},
        {"cable loss 2 not numeric", [](LinkInputs& in) { in.cableLoss2 = "x"; }, 1, 23, 27},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemorySheet sheet;
        LinkInputs in;
        c.edit(in);
        Fill(sheet, in);
        RunValues values = MarkedValues();
        ASSERT_EQ(CalcRun(sheet, values).outcome, RunOutcome::Stopped);
        RunValues expected = MarkedValues();
        expected.CableLoss1 = c.cableLoss1;
        expected.AntennaGain1 = c.gain1;
        expected.AntennaGain2 = c.gain2;
        EXPECT_EQ(values.CableLoss1, expected.CableLoss1);
        EXPECT_EQ(values.AntennaGain1, expected.AntennaGain1);
        EXPECT_EQ(values.AntennaGain2, expected.AntennaGain2);
        EXPECT_TRUE(values == expected) << "a stopped run changed a later stage's run value";
    }
}

TEST(ValidationRepairTest, CableLoss2IsWholeWhenTypedWithALeadingMinusAndKeepsItsText) {
    struct Case {
        const char* typed;
        double value;
    };
    const Case cases[] = {
        {"-2.5", 2},     {"-3.5", 4},         {"-1.2", 1},   {"-0.5", 0},     {"-1.5", 2},
        {"2.5-", -2.5},  {"2.5", 2.5},        {"+2.5", 2.5}, {" -2.5", -2.5}, {"1e1", 10},
        {"-1E-3", 1000}, {"-32767.4", 32767}, {"-0", 0},     {"0.25", 0.25},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        MemorySheet sheet;
        LinkInputs in;
        in.cableLoss2 = c.typed;
        Fill(sheet, in);
        RunValues values;
        EXPECT_EQ(CalcRun(sheet, values).outcome, RunOutcome::Completed);
        EXPECT_EQ(values.CableLoss2, c.value);
        EXPECT_EQ(sheet.Text(Field::TxtCblLoss2), c.typed);
    }
}

TEST(ValidationRepairTest, AntennaGainsAreTheValuesOfTheirTexts) {
    struct Case {
        const char* typed;
        double value;
    };
    const Case cases[] = {
        {"20", 20},  {"+20", 20}, {"20+", 20}, {" 22.5 ", 22.5}, {"1e1", 10},
        {".5", 0.5}, {"0", 0},    {"19", 19},  {"23", 23},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        MemorySheet sheet;
        LinkInputs in;
        in.gain1 = c.typed;
        in.gain2 = c.typed;
        Fill(sheet, in);
        RunValues values;
        EXPECT_EQ(CalcRun(sheet, values).outcome, RunOutcome::Completed);
        EXPECT_EQ(values.AntennaGain1, c.value);
        EXPECT_EQ(values.AntennaGain2, c.value);
        EXPECT_EQ(sheet.Text(Field::TxtAntG), c.typed);
        EXPECT_EQ(sheet.Text(Field::TxtAntG2), c.typed);
    }
}

}  // namespace
}  // namespace linkcalc
