// The input checks of a run, end to end through `linkcalc-cli --json`: every notice with its
// title, focus and selection, the repairs made on the way, and which check wins.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "cli_runner.h"

namespace linkcalc::cli_test {
namespace {

struct ExpectedNotice {
    std::string message;
    std::string title;
    std::string focus;
    bool selectAll = false;
};

const ExpectedNotice kCableLoss1NotNumeric{
    "Enter a numeric value for the cable loss.\r\ne.i -1, 0, 1, etc...", "Invalid Input!",
    "TxtCblLss1"};
const ExpectedNotice kSelectAntenna1{"Select an antenna.", "Invalid Input!", "TxtAntG"};
const ExpectedNotice kCableLoss1Missing{"Enter correct cable loss", "Missing Input!", "TxtCblLss1"};
const ExpectedNotice kGain1NotNumeric{
    "Enter a numeric value for antenna 1.\r\ne.i 0, 1, 2, 30 etc...", "Invalid Input!", "TxtAntG"};
const ExpectedNotice kGain1Negative{
    "Enter a none negative numeric value for antenna 1.\r\nInvalid Input!", "ZIDORER", "TxtAntG"};
const ExpectedNotice kSelectUnit{"Select miles or Km.", "Invalid Input!", "Cmbmilekm"};
const ExpectedNotice kDistanceMissing{"Enter the distance in miles or Km.", "Invalid Input!",
                                      "TxtDM"};
const ExpectedNotice kDistanceNotNumeric{
    "You must enter a numeric value\r\nThis value should be in miles or KM.", "Invalid Input!",
    "TxtDM", true};
const ExpectedNotice kSelectBand{"Select a band or frequency.", "Invalid Input!", "CmbEFreq"};
const ExpectedNotice kSelectSpeed{"Select a speed.", "Invalid Input!", "CmbSlcSpeed"};
const ExpectedNotice kSelectAntenna2{"Select an antenna.", "Invalid Input!", "TxtAntG2"};
const ExpectedNotice kCableLoss2Missing{"Enter correct cable loss", "Missing Input!",
                                        "TxtCblLoss2"};
const ExpectedNotice kGain2NotNumeric{
    "Enter a numeric value for antenna 2.\r\ne.i 0, 1, 2, 30 etc...", "Invalid Input!", "TxtAntG2"};
const ExpectedNotice kGain2Negative{
    "Enter a none negative numeric value for antenna 2.\r\nInvalid Input!", "ZIDORER", "TxtAntG2"};
const ExpectedNotice kCableLoss2NotNumeric{
    "Enter a numeric value for the cable loss.\r\ne.i -1, 0, 1, etc...", "Invalid Input!",
    "TxtCblLoss2"};

struct CheckCase {
    const char* name;
    Inputs inputs;
    const ExpectedNotice* notice;  // nullptr: the run completes
    std::vector<std::pair<std::string, std::string>> fields;
};

// Runs one case and checks the outcome, the notice and the named fields. A stopped run must leave
// every result field as the fresh sheet has it: empty.
void Check(const CheckCase& c) {
    SCOPED_TRACE(std::string(c.name) + ": " + Describe(c.inputs));
    const JsonRun run = RunJson(c.inputs);
    ASSERT_TRUE(run.report.is_object());
    EXPECT_TRUE(run.report.at("failure").is_null()) << run.report.at("failure").dump();
    if (c.notice == nullptr) {
        EXPECT_EQ(run.exitStatus, 0);
        EXPECT_EQ(run.Outcome(), "completed");
        EXPECT_TRUE(run.report.at("notice").is_null()) << run.report.at("notice").dump();
    } else {
        EXPECT_EQ(run.exitStatus, 1);
        EXPECT_EQ(run.Outcome(), "stopped");
        const auto& notice = run.report.at("notice");
        ASSERT_TRUE(notice.is_object());
        EXPECT_EQ(notice.at("message").get<std::string>(), c.notice->message);
        EXPECT_EQ(notice.at("title").get<std::string>(), c.notice->title);
        EXPECT_EQ(notice.at("focus").get<std::string>(), c.notice->focus);
        EXPECT_EQ(notice.at("selectAll").get<bool>(), c.notice->selectAll);
        for (const std::string& name : ResultFieldNames()) {
            EXPECT_EQ(run.Field(name), "") << "result field " << name;
        }
    }
    ExpectFields(run, c.fields);
}

TEST(InputChecks, EachNoticeCarriesItsMessageTitleFocusAndSelection) {
    const std::vector<CheckCase> cases{
        {"cable loss 1 not numeric", CompleteLink({{"loss1", "abc"}}), &kCableLoss1NotNumeric, {}},
        {"antenna 1 empty", CompleteLink({{"gain1", ""}}), &kSelectAntenna1, {}},
        {"antenna 1 needs a cable loss", CompleteLink({{"gain1", "20"}}), &kCableLoss1Missing, {}},
        {"antenna 1 not numeric",
         CompleteLink({{"gain1", "abc"}, {"loss1", "1"}}),
         &kGain1NotNumeric,
         {}},
        {"antenna 1 negative",
         CompleteLink({{"gain1", "-3"}, {"loss1", "1"}}),
         &kGain1Negative,
         {}},
        {"unit empty", CompleteLink({{"unit", ""}}), &kSelectUnit, {}},
        {"distance empty", CompleteLink({{"distance", ""}}), &kDistanceMissing, {}},
        {"distance not numeric", CompleteLink({{"distance", "ten"}}), &kDistanceNotNumeric, {}},
        {"band empty", CompleteLink({{"band", ""}}), &kSelectBand, {}},
        {"speed empty", CompleteLink({{"speed", ""}}), &kSelectSpeed, {}},
        {"antenna 2 empty", CompleteLink({{"gain2", ""}}), &kSelectAntenna2, {}},
        {"antenna 2 needs a cable loss", CompleteLink({{"gain2", "20"}}), &kCableLoss2Missing, {}},
        {"antenna 2 not numeric",
         CompleteLink({{"gain2", "abc"}, {"loss2", "1"}}),
         &kGain2NotNumeric,
         {}},
        {"antenna 2 negative",
         CompleteLink({{"gain2", "3-"}, {"loss2", "1"}}),
         &kGain2Negative,
         {}},
        {"cable loss 2 not numeric", CompleteLink({{"loss2", "abc"}}), &kCableLoss2NotNumeric, {}},
    };
    for (const CheckCase& c : cases) Check(c);
}

TEST(InputChecks, FirstFailingCheckWins) {
    const std::vector<CheckCase> cases{
        {"every field empty",
         {{"loss1", ""}, {"loss2", ""}},
         &kCableLoss1NotNumeric,
         {{"TxtCblLss1", ""}}},
        {"nothing entered: cable losses stay \"0\"",
         {},
         &kSelectAntenna1,
         {{"TxtCblLss1", "0"}, {"TxtCblLoss2", "0"}}},
        {"antenna 1 and distance empty",
         CompleteLink({{"gain1", ""}, {"distance", ""}}),
         &kSelectAntenna1,
         {}},
        {"distance and band empty: the packet size is not reached",
         CompleteLink({{"distance", ""}, {"band", ""}}),
         &kDistanceMissing,
         {{"Txtepksz", ""}}},
        {"band and speed empty", CompleteLink({{"band", ""}, {"speed", ""}}), &kSelectBand, {}},
    };
    for (const CheckCase& c : cases) Check(c);
}

TEST(InputChecks, CableLossOfSide1IsRewrittenInCanonicalForm) {
    const std::vector<CheckCase> cases{
        {"leading minus",
         CompleteLink({{"gain1", "20"}, {"loss1", "-2.5"}}),
         nullptr,
         {{"TxtCblLss1", "2.5"}, {"TxtEIRP1", "34.5"}}},
        {"trailing minus",
         CompleteLink({{"gain1", "20"}, {"loss1", "2.5-"}}),
         nullptr,
         {{"TxtCblLss1", "2.5"}, {"TxtEIRP1", "34.5"}}},
        {"blanks and a trailing zero",
         CompleteLink({{"gain1", "20"}, {"loss1", " 2.50 "}}),
         nullptr,
         {{"TxtCblLss1", "2.5"}, {"TxtEIRP1", "34.5"}}},
        {"0.0 reads as no cable",
         CompleteLink({{"gain1", "20"}, {"loss1", "0.0"}}),
         &kCableLoss1Missing,
         {{"TxtCblLss1", "0"}}},
        {"-0 reads as no cable",
         CompleteLink({{"gain1", "20"}, {"loss1", "-0"}}),
         &kCableLoss1Missing,
         {{"TxtCblLss1", "0"}}},
        {"000 reads as no cable",
         CompleteLink({{"gain1", "20"}, {"loss1", "000"}}),
         &kCableLoss1Missing,
         {{"TxtCblLss1", "0"}}},
    };
    for (const CheckCase& c : cases) Check(c);
}

TEST(InputChecks, NoCableIsAcceptedOnlyWithTheTwoRecommendedGainTexts) {
    const std::vector<CheckCase> cases{
        {"side 1 gain 19",
         CompleteLink({{"gain1", "19"}, {"loss1", "0"}}),
         nullptr,
         {{"TxtEIRP1", "36"}}},
        {"side 1 gain 23",
         CompleteLink({{"gain1", "23"}, {"loss1", "0"}}),
         nullptr,
         {{"TxtEIRP1", "40"}}},
        {"side 1 gain 19.0", CompleteLink({{"gain1", "19.0"}}), &kCableLoss1Missing, {}},
        {"side 1 gain with a leading blank",
         CompleteLink({{"gain1", " 19"}}),
         &kCableLoss1Missing,
         {}},
        {"side 2 gain 19",
         CompleteLink({{"gain2", "19"}, {"loss2", "0"}}),
         nullptr,
         {{"TxtEIRP2", "36"}}},
        {"side 2 gain 20 with \"0\"",
         CompleteLink({{"gain2", "20"}, {"loss2", "0"}}),
         &kCableLoss2Missing,
         {}},
        // Side 2 compares the text as typed, so 0.0 passes and counts as no loss.
        {"side 2 gain 20 with 0.0",
         CompleteLink({{"gain2", "20"}, {"loss2", "0.0"}}),
         nullptr,
         {{"TxtCblLoss2", "0.0"}, {"TxtEIRP2", "37"}}},
    };
    for (const CheckCase& c : cases) Check(c);
}

// At 5800 MHz and 54 Mbps the side-2 EIRP is 17 + 23 - cable loss 2, so it shows the loss used.
TEST(InputChecks, CableLossOfSide2IsReadAsTypedAndNeverRewritten) {
    const std::vector<CheckCase> cases{
        {"-2.5 rounds to 2 (ties to even)",
         CompleteLink({{"loss2", "-2.5"}}),
         nullptr,
         {{"TxtCblLoss2", "-2.5"}, {"TxtEIRP2", "38"}}},
        {"-3.5 rounds to 4",
         CompleteLink({{"loss2", "-3.5"}}),
         nullptr,
         {{"TxtCblLoss2", "-3.5"}, {"TxtEIRP2", "36"}}},
        {"-1.2 rounds to 1",
         CompleteLink({{"loss2", "-1.2"}}),
         nullptr,
         {{"TxtCblLoss2", "-1.2"}, {"TxtEIRP2", "39"}}},
        {"a trailing minus keeps the loss negative",
         CompleteLink({{"loss2", "2.5-"}}),
         nullptr,
         {{"TxtCblLoss2", "2.5-"}, {"TxtEIRP2", "42.5"}}},
        {"a plain fraction is kept",
         CompleteLink({{"loss2", "2.5"}}),
         nullptr,
         {{"TxtCblLoss2", "2.5"}, {"TxtEIRP2", "37.5"}}},
    };
    for (const CheckCase& c : cases) Check(c);
}

TEST(InputChecks, AntennaGainWithAMinusAtEitherEndIsRefused) {
    const std::vector<CheckCase> cases{
        {"side 1 leading minus",
         CompleteLink({{"gain1", "-3"}, {"loss1", "1"}}),
         &kGain1Negative,
         {}},
        {"side 1 trailing minus",
         CompleteLink({{"gain1", "3-"}, {"loss1", "1"}}),
         &kGain1Negative,
         {}},
        {"side 2 leading minus",
         CompleteLink({{"gain2", "-3"}, {"loss2", "1"}}),
         &kGain2Negative,
         {}},
        {"side 2 trailing minus",
         CompleteLink({{"gain2", "3-"}, {"loss2", "1"}}),
         &kGain2Negative,
         {}},
    };
    for (const CheckCase& c : cases) Check(c);
}

TEST(InputChecks, DistanceLosesItsMinusSignsOnlyWhenOneStandsAtAnEnd) {
    const std::vector<CheckCase> cases{
        {"leading minus", CompleteLink({{"distance", "-12"}}), nullptr, {{"TxtDM", "12"}}},
        {"trailing minus", CompleteLink({{"distance", "12-"}}), nullptr, {{"TxtDM", "12"}}},
        {"minus in the exponent only",
         CompleteLink({{"distance", "1E-3"}}),
         nullptr,
         {{"TxtDM", "1E-3"}, {"TxtFSL", "52"}}},
        // Every "-" goes once one stands at an end: a thousandth of a mile becomes 1000 miles.
        {"leading minus and a minus in the exponent",
         CompleteLink({{"distance", "-1E-3"}}),
         nullptr,
         {{"TxtDM", "1E3"}, {"TxtEC", "12500"}}},
    };
    for (const CheckCase& c : cases) Check(c);
}

TEST(InputChecks, PacketSizeIsFilledInOrRepairedButNotChecked) {
    const std::vector<CheckCase> cases{
        {"empty", CompleteLink({{"packet", ""}}), nullptr, {{"Txtepksz", "1518"}}},
        {"leading minus", CompleteLink({{"packet", "-64"}}), nullptr, {{"Txtepksz", "64"}}},
        {"trailing minus", CompleteLink({{"packet", "64-"}}), nullptr, {{"Txtepksz", "64"}}},
        // A later check stops these runs, so only the input checks have seen the packet size.
        {"letters pass unchanged",
         CompleteLink({{"packet", "abc"}, {"band", ""}}),
         &kSelectBand,
         {{"Txtepksz", "abc"}}},
        {"empty, then a later notice",
         CompleteLink({{"packet", ""}, {"band", ""}}),
         &kSelectBand,
         {{"Txtepksz", "1518"}}},
    };
    for (const CheckCase& c : cases) Check(c);
}

TEST(InputChecks, RepairsMadeBeforeTheNoticeStayOnTheSheet) {
    Check({"every repair, then no band",
           CompleteLink({{"gain1", "20"},
                         {"loss1", "-2.5"},
                         {"distance", "12-"},
                         {"packet", "-64"},
                         {"unit", "Km"},
                         {"band", ""}}),
           &kSelectBand,
           {{"TxtCblLss1", "2.5"},
            {"TxtDM", "12"},
            {"Txtepksz", "64"},
            {"Lblft1", "m"},
            {"Lblft2", "m"},
            {"Lblft3", "m"}}});
}

TEST(InputChecks, UnitLabelsFollowTheExactUnitText) {
    const std::vector<CheckCase> cases{
        {"Miles",
         CompleteLink({{"unit", "Miles"}}),
         nullptr,
         {{"Lblft1", "ft"}, {"Lblft2", "ft"}, {"Lblft3", "ft"}}},
        {"Km",
         CompleteLink({{"unit", "Km"}}),
         nullptr,
         {{"Lblft1", "m"}, {"Lblft2", "m"}, {"Lblft3", "m"}}},
        {"Km, then no distance",
         CompleteLink({{"unit", "Km"}, {"distance", ""}}),
         &kDistanceMissing,
         {{"Lblft1", "m"}, {"Lblft2", "m"}, {"Lblft3", "m"}}},
        {"km in small letters keeps the captions",
         CompleteLink({{"unit", "km"}}),
         nullptr,
         {{"Lblft1", "ft"}, {"Lblft2", "ft"}, {"Lblft3", "ft"}}},
        {"another word keeps the captions",
         CompleteLink({{"unit", "Kilometres"}, {"distance", ""}}),
         &kDistanceMissing,
         {{"Lblft1", "ft"}, {"Lblft2", "ft"}, {"Lblft3", "ft"}}},
    };
    for (const CheckCase& c : cases) Check(c);
}

}  // namespace
}  // namespace linkcalc::cli_test
