// Run failures: inputs that pass every check but cannot be calculated. The run ends as failed
// with a plain message naming the input, shown through the sheet with the application title, and
// the focus on that input; the results of the previous run stay as they were.

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
using helpers::HoldsNonFinite;
using helpers::LinkInputs;
using helpers::ResultTexts;

constexpr const char* kDistanceNotPositive = "The distance must be greater than zero.";
constexpr const char* kDistanceTooLarge = "The distance is too large to calculate.";
constexpr const char* kPacketNotNumber = "The packet size must be a number of bytes.";
constexpr const char* kPacketNegative = "The packet size must not be negative.";
constexpr const char* kPacketTooLarge = "The packet size is too large to calculate.";
constexpr const char* kCableLoss1TooLarge =
    "The cable loss of antenna 1 is too large to calculate.";
constexpr const char* kCableLoss2TooLarge =
    "The cable loss of antenna 2 is too large to calculate.";
constexpr const char* kPower1OutOfRange =
    "The maximum transmit power of side 1 is out of range; check the gain and cable loss of "
    "antenna 1.";
constexpr const char* kSide1TooLarge =
    "The gain or cable loss of antenna 1 is too large to calculate.";
constexpr const char* kSide2TooLarge =
    "The gain or cable loss of antenna 2 is too large to calculate.";
constexpr const char* kGainsTooLarge = "The antenna gains are too large to calculate.";
constexpr const char* kBandNotInList = "Select a band or frequency from the list.";

struct FailureCase {
    const char* name;
    void (*edit)(LinkInputs&);
    const char* message;
    Field focus;
};

const std::vector<FailureCase> kFailureCases = {
    {"DistanceZero", [](LinkInputs& in) { in.distance = "0"; }, kDistanceNotPositive, Field::TxtDM},
    {"DistanceMinusZero", [](LinkInputs& in) { in.distance = "-0"; }, kDistanceNotPositive,
     Field::TxtDM},
    {"DistanceZeroKm",
     [](LinkInputs& in) {
         in.distance = "0.0";
         in.unit = "Km";
     },
     kDistanceNotPositive, Field::TxtDM},
    {"DistanceNegativeAfterABlank", [](LinkInputs& in) { in.distance = " -5"; },
     kDistanceNotPositive, Field::TxtDM},
    {"DistanceBelowTheSmallestDouble", [](LinkInputs& in) { in.distance = "1E-400"; },
     kDistanceNotPositive, Field::TxtDM},
    {"DistanceTooLargeMiles", [](LinkInputs& in) { in.distance = "1E200"; }, kDistanceTooLarge,
     Field::TxtDM},
    {"DistanceTooLargeKm",
     [](LinkInputs& in) {
         in.distance = "1E200";
         in.unit = "Km";
     },
     kDistanceTooLarge, Field::TxtDM},
    {"DistanceLargestDouble", [](LinkInputs& in) { in.distance = "1.7976931348623157E308"; },
     kDistanceTooLarge, Field::TxtDM},
    {"PacketSizeLetters", [](LinkInputs& in) { in.packetSize = "abc"; }, kPacketNotNumber,
     Field::Txtepksz},
    {"PacketSizeLoneMinus", [](LinkInputs& in) { in.packetSize = "-"; }, kPacketNotNumber,
     Field::Txtepksz},
    {"PacketSizeMinusInside", [](LinkInputs& in) { in.packetSize = "6-4"; }, kPacketNotNumber,
     Field::Txtepksz},
    {"PacketSizeBlank", [](LinkInputs& in) { in.packetSize = " "; }, kPacketNotNumber,
     Field::Txtepksz},
    {"PacketSizeNegativeAfterABlank", [](LinkInputs& in) { in.packetSize = " -64"; },
     kPacketNegative, Field::Txtepksz},
    {"PacketSizeNegativeAt6Mbps",
     [](LinkInputs& in) {
         in.packetSize = " -1518";
         in.speed = " 6 Mbps";
     },
     kPacketNegative, Field::Txtepksz},
    {"PacketSizeTooLarge", [](LinkInputs& in) { in.packetSize = "1E308"; }, kPacketTooLarge,
     Field::Txtepksz},
    {"CableLoss1MagnitudeBeyondDoubles", [](LinkInputs& in) { in.cableLoss1 = "-1E-400"; },
     kCableLoss1TooLarge, Field::TxtCblLss1},
    {"CableLoss2MinusFortyThousand", [](LinkInputs& in) { in.cableLoss2 = "-40000"; },
     kCableLoss2TooLarge, Field::TxtCblLoss2},
    {"CableLoss2RoundsTo32768", [](LinkInputs& in) { in.cableLoss2 = "-32767.5"; },
     kCableLoss2TooLarge, Field::TxtCblLoss2},
    {"CableLoss2MagnitudeBeyondDoubles", [](LinkInputs& in) { in.cableLoss2 = "-1E-400"; },
     kCableLoss2TooLarge, Field::TxtCblLoss2},
    {"TransmitPower1FarBelowRangeAt5300",
     [](LinkInputs& in) {
         in.band = "5300";
         in.gain1 = "50000";
     },
     kPower1OutOfRange, Field::TxtAntG},
    {"TransmitPower1FarBelowRangeAt5400",
     [](LinkInputs& in) {
         in.band = "5400";
         in.gain1 = "40000";
     },
     kPower1OutOfRange, Field::TxtAntG},
    {"TransmitPower1JustBelowRange",
     [](LinkInputs& in) {
         in.band = "5300";
         in.gain1 = "32800";  // 30 - 32800 + 1 = -32769
     },
     kPower1OutOfRange, Field::TxtAntG},
    {"HugeGain1AtTheTopOfTheDoubleRange",
     [](LinkInputs& in) { in.gain1 = "1.7976931348623157E308"; }, kSide1TooLarge, Field::TxtAntG},
    {"HugeGain2AndNegativeCableLoss2",
     [](LinkInputs& in) {
         in.gain2 = "1.7E308";
         in.cableLoss2 = "1.7E308-";
     },
     kSide2TooLarge, Field::TxtAntG2},
    {"HugeGainsOutweighedByTheirCables",
     [](LinkInputs& in) {
         in.gain1 = "1E308";
         in.cableLoss1 = "1E308";
         in.gain2 = "1E308";
         in.cableLoss2 = "1E308";
     },
     kGainsTooLarge, Field::TxtAntG},
    {"BandLetters", [](LinkInputs& in) { in.band = "abc"; }, kBandNotInList, Field::CmbEFreq},
    {"BandZero", [](LinkInputs& in) { in.band = "0"; }, kBandNotInList, Field::CmbEFreq},
    {"BandNegative", [](LinkInputs& in) { in.band = " -5800"; }, kBandNotInList, Field::CmbEFreq},
};

// The run values that only the computing stages set.
std::vector<double> ComputedValues(const RunValues& v) {
    return {v.FrequencyMHz,  v.DistanceMiles,     static_cast<double>(v.RadioTxPower),
            v.RxSensitivity, v.DataBitsPerSymbol, v.Eirp1,
            v.Eirp2,         v.EirpExcess1,       v.EirpExcess2,
            v.FreeSpaceLoss, v.ExpectedRssi1,     v.ExpectedRssi2};
}

class RunFailureTest : public ::testing::TestWithParam<FailureCase> {
  protected:
    // A completed link at 5300 MHz first, so that every result field and run value is set.
    void SetUp() override {
        LinkInputs first;
        first.band = "5300";
        first.speed = "36 Mbps";
        first.distance = "5";
        Fill(sheet_, first);
        ASSERT_EQ(CalcRun(sheet_, values_).outcome, RunOutcome::Completed);
        resultsBefore_ = ResultTexts(sheet_);
        computedBefore_ = ComputedValues(values_);
    }

    MemorySheet sheet_;
    RunValues values_;
    std::vector<std::string> resultsBefore_;
    std::vector<double> computedBefore_;
};

TEST_P(RunFailureTest, FailsNamingTheInputAndKeepsThePreviousResults) {
    const FailureCase& c = GetParam();
    LinkInputs in;
    c.edit(in);
    Fill(sheet_, in);

    const RunResult result = CalcRun(sheet_, values_);

    ASSERT_EQ(result.outcome, RunOutcome::Failed);
    EXPECT_FALSE(result.notice.has_value());
    ASSERT_TRUE(result.failure.has_value());
    EXPECT_EQ(result.failure->message, c.message);
    EXPECT_EQ(result.failure->focus, c.focus);

    // Shown through the sheet with the application title; then the focus moves.
    ASSERT_EQ(sheet_.Notices().size(), 1U);
    const Notice& shown = sheet_.Notices().back();
    EXPECT_EQ(shown.message, c.message);
    EXPECT_EQ(shown.title, "");
    EXPECT_EQ(shown.ShownTitle(), "ZIDORER");
    EXPECT_EQ(sheet_.Focus(), c.focus);
    EXPECT_FALSE(sheet_.LastSelection().has_value());

    EXPECT_EQ(ResultTexts(sheet_), resultsBefore_);
    EXPECT_EQ(ComputedValues(values_), computedBefore_);
    EXPECT_FALSE(HoldsNonFinite(sheet_)) << ::testing::PrintToString(AllTexts(sheet_));
}

TEST_P(RunFailureTest, FailsTheSameWayOnAFreshSheetWithoutWritingAResult) {
    const FailureCase& c = GetParam();
    MemorySheet sheet;
    LinkInputs in;
    c.edit(in);
    Fill(sheet, in);
    RunValues values;

    const RunResult result = CalcRun(sheet, values);

    ASSERT_EQ(result.outcome, RunOutcome::Failed);
    ASSERT_TRUE(result.failure.has_value());
    EXPECT_EQ(result.failure->message, c.message);
    EXPECT_EQ(sheet.Focus(), c.focus);
    for (const Field field : helpers::kResultFields) {
        EXPECT_EQ(sheet.Text(field), "") << NameOf(field);
    }
    EXPECT_EQ(ComputedValues(values), ComputedValues(RunValues{}));
}

INSTANTIATE_TEST_SUITE_P(Causes, RunFailureTest, ::testing::ValuesIn(kFailureCases),
                         [](const ::testing::TestParamInfo<FailureCase>& info) {
                             return std::string(info.param.name);
                         });

class RunFailureEffectsTest : public ::testing::Test {
  protected:
    void RunCompleted(const LinkInputs& in) {
        Fill(sheet_, in);
        ASSERT_EQ(CalcRun(sheet_, values_).outcome, RunOutcome::Completed);
    }

    MemorySheet sheet_;
    RunValues values_;
};

TEST_F(RunFailureEffectsTest, ValidationRepairsAndRunValuesStayAfterAFailure) {
    RunCompleted(LinkInputs{});
    const auto results = ResultTexts(sheet_);

    LinkInputs in;
    in.cableLoss1 = "-2.50";
    in.gain1 = "21";
    in.gain2 = "24";
    in.cableLoss2 = "-3.5";
    in.unit = "Km";
    in.distance = "-0";
    in.packetSize = "";
    Fill(sheet_, in);
    ASSERT_EQ(CalcRun(sheet_, values_).outcome, RunOutcome::Failed);

    EXPECT_EQ(sheet_.Text(Field::TxtCblLss1), "2.5");
    EXPECT_EQ(sheet_.Text(Field::TxtDM), "0");
    EXPECT_EQ(sheet_.Text(Field::Txtepksz), "1518");
    EXPECT_EQ(sheet_.Text(Field::Lblft1), "m");
    EXPECT_EQ(sheet_.Text(Field::Lblft3), "m");
    EXPECT_EQ(sheet_.Text(Field::TxtCblLoss2), "-3.5");
    EXPECT_EQ(values_.CableLoss1, 2.5);
    EXPECT_EQ(values_.AntennaGain1, 21);
    EXPECT_EQ(values_.AntennaGain2, 24);
    EXPECT_EQ(values_.CableLoss2, 4);
    EXPECT_EQ(ResultTexts(sheet_), results);
}

TEST_F(RunFailureEffectsTest, RunAfterAFailureStartsAfresh) {
    LinkInputs in;
    in.band = "5400";
    in.distance = "0";
    Fill(sheet_, in);
    ASSERT_EQ(CalcRun(sheet_, values_).outcome, RunOutcome::Failed);
    in.distance = "3";
    RunCompleted(in);

    MemorySheet fresh;
    Fill(fresh, in);
    RunValues freshValues;
    ASSERT_EQ(CalcRun(fresh, freshValues).outcome, RunOutcome::Completed);
    EXPECT_EQ(AllTexts(sheet_), AllTexts(fresh));
}

TEST_F(RunFailureEffectsTest, HugeGainsFailNamingAGain) {
    LinkInputs in;
    in.gain1 = "1E308";
    in.gain2 = "1E308";
    Fill(sheet_, in);
    const RunResult result = CalcRun(sheet_, values_);
    ASSERT_EQ(result.outcome, RunOutcome::Failed);
    ASSERT_TRUE(result.failure.has_value());
    EXPECT_NE(std::string(result.failure->message).find("gain"), std::string::npos)
        << result.failure->message;
    EXPECT_TRUE(result.failure->focus == Field::TxtAntG ||
                result.failure->focus == Field::TxtAntG2);
    EXPECT_EQ(sheet_.Focus(), result.failure->focus);
    EXPECT_FALSE(HoldsNonFinite(sheet_));
}

TEST_F(RunFailureEffectsTest, TransmitPower1AtTheBottomOfTheRangeStillCompletes) {
    LinkInputs in;
    in.band = "5300";
    in.gain1 = "32799";  // 30 - 32799 + 1 = -32768
    RunCompleted(in);
    EXPECT_EQ(sheet_.Text(Field::TxtMTP), "-32768");
    EXPECT_EQ(values_.RadioTxPower, -32768);
}

TEST_F(RunFailureEffectsTest, NegativeSideTwoCableLossAtTheEdgeOfTheRangeCompletes) {
    LinkInputs in;
    in.cableLoss2 = "-32767.4";
    RunCompleted(in);
    EXPECT_EQ(values_.CableLoss2, 32767);
}

TEST_F(RunFailureEffectsTest, HugeCableLoss1OnAPowerLimitedBandCompletes) {
    LinkInputs in;
    in.gain1 = "20";
    in.cableLoss1 = "40000";
    RunCompleted(in);
    EXPECT_EQ(sheet_.Text(Field::TxtMTP), "17");
    EXPECT_EQ(sheet_.Text(Field::TxtEIRP1), "-39963");
    EXPECT_FALSE(HoldsNonFinite(sheet_));
}

}  // namespace
}  // namespace linkcalc
