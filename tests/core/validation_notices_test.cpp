// The notices of input validation: message, title, focus and selection, and which one a run shows
// when several inputs are bad.

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

struct ExpectedNotice {
    const char* message;
    const char* title;  // empty: the application title
    Field focus;
};

const ExpectedNotice kN1{"Enter a numeric value for the cable loss.\r\ne.i -1, 0, 1, etc...",
                         "Invalid Input!", Field::TxtCblLss1};
const ExpectedNotice kN2{"Select an antenna.", "Invalid Input!", Field::TxtAntG};
const ExpectedNotice kN3{"Enter correct cable loss", "Missing Input!", Field::TxtCblLss1};
const ExpectedNotice kN4{"Enter a numeric value for antenna 1.\r\ne.i 0, 1, 2, 30 etc...",
                         "Invalid Input!", Field::TxtAntG};
const ExpectedNotice kN5{"Enter a none negative numeric value for antenna 1.\r\nInvalid Input!", "",
                         Field::TxtAntG};
const ExpectedNotice kN6{"Select miles or Km.", "Invalid Input!", Field::Cmbmilekm};
const ExpectedNotice kN7{"Enter the distance in miles or Km.", "Invalid Input!", Field::TxtDM};
const ExpectedNotice kN8{"You must enter a numeric value\r\nThis value should be in miles or KM.",
                         "Invalid Input!", Field::TxtDM};
const ExpectedNotice kN9{"Select a band or frequency.", "Invalid Input!", Field::CmbEFreq};
const ExpectedNotice kN10{"Select a speed.", "Invalid Input!", Field::CmbSlcSpeed};
const ExpectedNotice kN11{"Select an antenna.", "Invalid Input!", Field::TxtAntG2};
const ExpectedNotice kN12{"Enter correct cable loss", "Missing Input!", Field::TxtCblLoss2};
const ExpectedNotice kN13{"Enter a numeric value for antenna 2.\r\ne.i 0, 1, 2, 30 etc...",
                          "Invalid Input!", Field::TxtAntG2};
const ExpectedNotice kN14{"Enter a none negative numeric value for antenna 2.\r\nInvalid Input!",
                          "", Field::TxtAntG2};
const ExpectedNotice kN15{"Enter a numeric value for the cable loss.\r\ne.i -1, 0, 1, etc...",
                          "Invalid Input!", Field::TxtCblLoss2};

struct NoticeCase {
    const char* name;
    LinkInputs inputs;
    const ExpectedNotice* expected;
};

LinkInputs With(void (*edit)(LinkInputs&)) {
    LinkInputs in;
    edit(in);
    return in;
}

// The main window as it opens: both cable losses "0", nothing else entered or chosen.
LinkInputs Untouched() {
    return LinkInputs{"", "0", "", "0", "", "", "", "", ""};
}

const std::vector<NoticeCase> kNoticeCases = {
    // One bad input each.
    {"N1_CableLoss1Empty", With([](LinkInputs& in) { in.cableLoss1 = ""; }), &kN1},
    {"N1_CableLoss1Letters", With([](LinkInputs& in) { in.cableLoss1 = "abc"; }), &kN1},
    {"N1_CableLoss1LoneMinus", With([](LinkInputs& in) { in.cableLoss1 = "-"; }), &kN1},
    {"N1_CableLoss1BeyondDoubles", With([](LinkInputs& in) { in.cableLoss1 = "1E400"; }), &kN1},
    {"N2_Gain1Empty", With([](LinkInputs& in) { in.gain1 = ""; }), &kN2},
    {"N3_ZeroLossWithGain20", With([](LinkInputs& in) {
         in.gain1 = "20";
         in.cableLoss1 = "0";
     }),
     &kN3},
    {"N3_ZeroPointZeroLoss", With([](LinkInputs& in) {
         in.gain1 = "20";
         in.cableLoss1 = "0.0";
     }),
     &kN3},
    {"N3_MinusZeroLoss", With([](LinkInputs& in) {
         in.gain1 = "20";
         in.cableLoss1 = "-0";
     }),
     &kN3},
    {"N3_TripleZeroLossWithBlanks", With([](LinkInputs& in) {
         in.gain1 = "20";
         in.cableLoss1 = " 000 ";
     }),
     &kN3},
    {"N3_Gain19Point0", With([](LinkInputs& in) {
         in.gain1 = "19.0";
         in.cableLoss1 = "0";
     }),
     &kN3},
    {"N3_Gain19WithLeadingBlank", With([](LinkInputs& in) {
         in.gain1 = " 19";
         in.cableLoss1 = "0";
     }),
     &kN3},
    {"N4_Gain1Letters", With([](LinkInputs& in) { in.gain1 = "abc"; }), &kN4},
    {"N4_Gain1Blank", With([](LinkInputs& in) { in.gain1 = " "; }), &kN4},
    {"N4_Gain1MinusInside", With([](LinkInputs& in) { in.gain1 = "1-2"; }), &kN4},
    {"N5_Gain1LeadingMinus", With([](LinkInputs& in) { in.gain1 = "-3"; }), &kN5},
    {"N5_Gain1TrailingMinus", With([](LinkInputs& in) { in.gain1 = "3-"; }), &kN5},
    {"N5_Gain1MinusZero", With([](LinkInputs& in) { in.gain1 = "-0"; }), &kN5},
    {"N6_UnitEmpty", With([](LinkInputs& in) { in.unit = ""; }), &kN6},
    {"N7_DistanceEmpty", With([](LinkInputs& in) { in.distance = ""; }), &kN7},
    {"N8_DistanceWord", With([](LinkInputs& in) { in.distance = "ten"; }), &kN8},
    {"N8_DistanceWithUnit", With([](LinkInputs& in) { in.distance = "12 miles"; }), &kN8},
    {"N8_DistanceBeyondDoubles", With([](LinkInputs& in) { in.distance = "1E400"; }), &kN8},
    {"N8_DistanceBlank", With([](LinkInputs& in) { in.distance = " "; }), &kN8},
    {"N9_BandEmpty", With([](LinkInputs& in) { in.band = ""; }), &kN9},
    {"N10_SpeedEmpty", With([](LinkInputs& in) { in.speed = ""; }), &kN10},
    {"N11_Gain2Empty", With([](LinkInputs& in) { in.gain2 = ""; }), &kN11},
    {"N12_ZeroLossWithGain20", With([](LinkInputs& in) {
         in.gain2 = "20";
         in.cableLoss2 = "0";
     }),
     &kN12},
    {"N12_Gain19Point0", With([](LinkInputs& in) {
         in.gain2 = "19.0";
         in.cableLoss2 = "0";
     }),
     &kN12},
    {"N13_Gain2Letters", With([](LinkInputs& in) { in.gain2 = "x"; }), &kN13},
    {"N13_Gain2Blank", With([](LinkInputs& in) { in.gain2 = " "; }), &kN13},
    {"N14_Gain2LeadingMinus", With([](LinkInputs& in) { in.gain2 = "-3"; }), &kN14},
    {"N14_Gain2TrailingMinus", With([](LinkInputs& in) { in.gain2 = "3-"; }), &kN14},
    {"N15_CableLoss2Letters", With([](LinkInputs& in) { in.cableLoss2 = "abc"; }), &kN15},
    {"N15_CableLoss2Empty", With([](LinkInputs& in) { in.cableLoss2 = ""; }), &kN15},
    {"N15_CableLoss2LoneMinus", With([](LinkInputs& in) { in.cableLoss2 = "-"; }), &kN15},

    // Several bad inputs: the first failing check wins.
    {"First_EverythingEmptyGivesN1", LinkInputs{"", "", "", "", "", "", "", "", ""}, &kN1},
    {"First_WindowAsOpenedGivesN2", Untouched(), &kN2},
    {"First_Gain1AndDistanceEmptyGivesN2", With([](LinkInputs& in) {
         in.gain1 = "";
         in.distance = "";
     }),
     &kN2},
    {"First_ZeroLossBeforeGain1Letters", With([](LinkInputs& in) {
         in.gain1 = "abc";
         in.cableLoss1 = "0";
     }),
     &kN3},
    {"First_ZeroLossBeforeNegativeGain1", With([](LinkInputs& in) {
         in.gain1 = "-3";
         in.cableLoss1 = "0";
     }),
     &kN3},
    {"First_Gain1BeforeGain2", With([](LinkInputs& in) {
         in.gain1 = "abc";
         in.gain2 = "abc";
     }),
     &kN4},
    {"First_UnitBeforeDistanceAndBand", With([](LinkInputs& in) {
         in.unit = "";
         in.distance = "";
         in.band = "";
     }),
     &kN6},
    {"First_DistanceBeforeBandAndSpeed", With([](LinkInputs& in) {
         in.distance = "ten";
         in.band = "";
         in.speed = "";
     }),
     &kN8},
    {"First_BandBeforeSpeedAndGain2", With([](LinkInputs& in) {
         in.band = "";
         in.speed = "";
         in.gain2 = "";
     }),
     &kN9},
    {"First_SpeedBeforeGain2", With([](LinkInputs& in) {
         in.speed = "";
         in.gain2 = "";
     }),
     &kN10},
    {"First_ZeroLossBeforeGain2Letters", With([](LinkInputs& in) {
         in.gain2 = "abc";
         in.cableLoss2 = "0";
     }),
     &kN12},
    {"First_NegativeGain2BeforeCableLoss2", With([](LinkInputs& in) {
         in.gain2 = "-3";
         in.cableLoss2 = "abc";
     }),
     &kN14},
};

class ValidationNoticeTest : public ::testing::TestWithParam<NoticeCase> {};

TEST_P(ValidationNoticeTest, ShowsTheNoticeAndMovesTheFocus) {
    const NoticeCase& c = GetParam();
    const ExpectedNotice& expected = *c.expected;
    MemorySheet sheet;
    Fill(sheet, c.inputs);
    RunValues values;

    const RunResult result = CalcRun(sheet, values);

    EXPECT_EQ(result.outcome, RunOutcome::Stopped);
    EXPECT_FALSE(result.failure.has_value());
    ASSERT_TRUE(result.notice.has_value());
    EXPECT_EQ(result.notice->message, expected.message);
    EXPECT_EQ(result.notice->title, expected.title);
    EXPECT_EQ(result.notice->focus, expected.focus);

    // The sheet showed exactly this notice, then moved the focus.
    ASSERT_EQ(sheet.Notices().size(), 1U);
    const Notice& shown = sheet.Notices().front();
    EXPECT_EQ(shown.message, expected.message);
    EXPECT_EQ(shown.title, expected.title);
    const std::string shownTitle = *expected.title ? expected.title : "ZIDORER";
    EXPECT_EQ(shown.ShownTitle(), shownTitle);
    EXPECT_EQ(sheet.Focus(), expected.focus);

    // Only the numeric test of the distance selects its whole text.
    if (c.expected == &kN8) {
        ASSERT_TRUE(sheet.LastSelection().has_value());
        EXPECT_EQ(sheet.LastSelection()->field, Field::TxtDM);
        EXPECT_EQ(sheet.LastSelection()->start, 0);
        EXPECT_EQ(sheet.LastSelection()->length, static_cast<int>(sheet.Text(Field::TxtDM).size()));
    } else {
        EXPECT_FALSE(sheet.LastSelection().has_value());
    }

    // A stopped run writes no result.
    for (const Field field : helpers::kResultFields) {
        EXPECT_EQ(sheet.Text(field), "") << NameOf(field);
    }
}

INSTANTIATE_TEST_SUITE_P(Notices, ValidationNoticeTest, ::testing::ValuesIn(kNoticeCases),
                         [](const ::testing::TestParamInfo<NoticeCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(ValidationNoticeTest, N8SelectsTheWholeTextCountedInUtf16Units) {
    struct Case {
        const char* distance;
        int length;
    };
    const Case cases[] = {
        {"ten", 3},
        {"12 miles", 8},
        {"5\xC2\xBD", 2},         // "5" and the one-half sign
        {"\xF0\x9D\x9F\x93", 2},  // a mathematical digit five: a surrogate pair
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.distance);
        MemorySheet sheet;
        LinkInputs in;
        in.distance = c.distance;
        Fill(sheet, in);
        RunValues values;
        ASSERT_EQ(CalcRun(sheet, values).outcome, RunOutcome::Stopped);
        ASSERT_TRUE(sheet.LastSelection().has_value());
        EXPECT_EQ(sheet.LastSelection()->field, Field::TxtDM);
        EXPECT_EQ(sheet.LastSelection()->start, 0);
        EXPECT_EQ(sheet.LastSelection()->length, c.length);
        EXPECT_EQ(sheet.Focus(), Field::TxtDM);
    }
}

TEST(ValidationNoticeTest, ZeroCableLossPassesWithTheGainsOfTheCablelessAntennas) {
    for (const char* gain : {"19", "23"}) {
        SCOPED_TRACE(gain);
        MemorySheet sheet;
        LinkInputs in;
        in.gain1 = gain;
        in.cableLoss1 = "0";
        in.gain2 = gain;
        in.cableLoss2 = "0";
        Fill(sheet, in);
        RunValues values;
        EXPECT_EQ(CalcRun(sheet, values).outcome, RunOutcome::Completed);
        EXPECT_TRUE(sheet.Notices().empty());
    }
}

TEST(ValidationNoticeTest, SideTwoTestsTheCableLossAsTyped) {
    // "0.0" and "-0" are not the text "0", so gain 20 passes on side 2 (unlike side 1).
    for (const char* loss : {"0.0", "-0", " 0"}) {
        SCOPED_TRACE(loss);
        MemorySheet sheet;
        LinkInputs in;
        in.gain2 = "20";
        in.cableLoss2 = loss;
        Fill(sheet, in);
        RunValues values;
        EXPECT_EQ(CalcRun(sheet, values).outcome, RunOutcome::Completed);
        EXPECT_EQ(values.CableLoss2, 0.0);
        EXPECT_EQ(sheet.Text(Field::TxtCblLoss2), loss);
    }
}

TEST(ValidationNoticeTest, EachRunShowsOneNoticeAndTheFocusFollowsTheLatest) {
    MemorySheet sheet;
    RunValues values;
    LinkInputs in;
    in.gain1 = "";
    Fill(sheet, in);
    CalcRun(sheet, values);
    EXPECT_EQ(sheet.Focus(), Field::TxtAntG);

    in.gain1 = "23";
    in.band = "";
    Fill(sheet, in);
    CalcRun(sheet, values);
    ASSERT_EQ(sheet.Notices().size(), 2U);
    EXPECT_EQ(sheet.Notices().back().message, std::string("Select a band or frequency."));
    EXPECT_EQ(sheet.Focus(), Field::CmbEFreq);

    in.band = "5800";
    Fill(sheet, in);
    EXPECT_EQ(CalcRun(sheet, values).outcome, RunOutcome::Completed);
    EXPECT_EQ(sheet.Notices().size(), 2U);
}

}  // namespace
}  // namespace linkcalc
