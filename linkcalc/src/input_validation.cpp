#include <string>

#include "linkcalc/numeric_text.h"
#include "run_failure.h"
#include "stages.h"

namespace linkcalc {
namespace {

constexpr std::string_view kInvalidInput = "Invalid Input!";
constexpr std::string_view kMissingInput = "Missing Input!";

// The notices, numbered as the calculator numbers them: its own names, kept as they are.
constexpr Notice kN1{"Enter a numeric value for the cable loss.\r\ne.i -1, 0, 1, etc...",
                     kInvalidInput, Field::TxtCblLss1};
constexpr Notice kN2{"Select an antenna.", kInvalidInput, Field::TxtAntG};
constexpr Notice kN3{"Enter correct cable loss", kMissingInput, Field::TxtCblLss1};
constexpr Notice kN4{"Enter a numeric value for antenna 1.\r\ne.i 0, 1, 2, 30 etc...",
                     kInvalidInput, Field::TxtAntG};
constexpr Notice kN5{
    "Enter a none negative numeric value for antenna 1.\r\nInvalid Input!", {}, Field::TxtAntG};
constexpr Notice kN6{"Select miles or Km.", kInvalidInput, Field::Cmbmilekm};
constexpr Notice kN7{"Enter the distance in miles or Km.", kInvalidInput, Field::TxtDM};
constexpr Notice kN8{"You must enter a numeric value\r\nThis value should be in miles or KM.",
                     kInvalidInput, Field::TxtDM, true};
constexpr Notice kN9{"Select a band or frequency.", kInvalidInput, Field::CmbEFreq};
constexpr Notice kN10{"Select a speed.", kInvalidInput, Field::CmbSlcSpeed};
constexpr Notice kN11{"Select an antenna.", kInvalidInput, Field::TxtAntG2};
constexpr Notice kN12{"Enter correct cable loss", kMissingInput, Field::TxtCblLoss2};
constexpr Notice kN13{"Enter a numeric value for antenna 2.\r\ne.i 0, 1, 2, 30 etc...",
                      kInvalidInput, Field::TxtAntG2};
constexpr Notice kN14{
    "Enter a none negative numeric value for antenna 2.\r\nInvalid Input!", {}, Field::TxtAntG2};
constexpr Notice kN15{"Enter a numeric value for the cable loss.\r\ne.i -1, 0, 1, etc...",
                      kInvalidInput, Field::TxtCblLoss2};

// The two gains of the recommended antennas that are sold with no cable.
bool IsCablelessGain(std::string_view gain) {
    return gain == "23" || gain == "19";
}

bool HasMinusAtAnEnd(std::string_view text) {
    return StartsWithMinus(text) || EndsWithMinus(text);
}

void SetUnitCaptions(CalcSheet& sheet, std::string_view caption) {
    sheet.SetCaption(Field::Lblft1, caption);
    sheet.SetCaption(Field::Lblft2, caption);
    sheet.SetCaption(Field::Lblft3, caption);
}

}  // namespace

std::optional<Notice> ValidateInputs(CalcSheet& sheet, RunValues& values) {
    const std::string cableLoss1 = sheet.Text(Field::TxtCblLss1);
    if (!IsNumericText(cableLoss1)) return kN1;
    values.CableLoss1 = Checked(FailureCause::CableLoss1TooLarge,
                                [&] { return NumberOfText(negativenumb(cableLoss1)); });
    sheet.SetText(Field::TxtCblLss1, TextOfNumber(values.CableLoss1));

    const std::string gain1 = sheet.Text(Field::TxtAntG);
    if (gain1.empty()) return kN2;
    if (!IsCablelessGain(gain1) && sheet.Text(Field::TxtCblLss1) == "0") return kN3;
    const auto gain1Value = ParseNumericText(gain1);
    if (!gain1Value) return kN4;
    if (HasMinusAtAnEnd(gain1)) return kN5;
    values.AntennaGain1 = *gain1Value;

    const std::string unit = sheet.Text(Field::Cmbmilekm);
    if (unit.empty()) return kN6;
    if (unit == "Miles") SetUnitCaptions(sheet, "ft");
    if (unit == "Km") SetUnitCaptions(sheet, "m");

    const std::string distance = sheet.Text(Field::TxtDM);
    if (distance.empty()) return kN7;
    if (!IsNumericText(distance)) return kN8;
    if (HasMinusAtAnEnd(distance)) sheet.SetText(Field::TxtDM, WithoutMinusSigns(distance));

    const std::string packetSize = sheet.Text(Field::Txtepksz);
    if (packetSize.empty()) {
        sheet.SetText(Field::Txtepksz, "1518");
    } else if (HasMinusAtAnEnd(packetSize)) {
        sheet.SetText(Field::Txtepksz, WithoutMinusSigns(packetSize));
    }

    if (sheet.Text(Field::CmbEFreq).empty()) return kN9;
    if (sheet.Text(Field::CmbSlcSpeed).empty()) return kN10;

    const std::string gain2 = sheet.Text(Field::TxtAntG2);
    if (gain2.empty()) return kN11;
    // Side 2 compares the cable loss as typed: it is never rewritten.
    if (!IsCablelessGain(gain2) && sheet.Text(Field::TxtCblLoss2) == "0") return kN12;
    const auto gain2Value = ParseNumericText(gain2);
    if (!gain2Value) return kN13;
    if (HasMinusAtAnEnd(gain2)) return kN14;
    values.AntennaGain2 = *gain2Value;

    const std::string cableLoss2 = sheet.Text(Field::TxtCblLoss2);
    const auto cableLoss2Value = ParseNumericText(cableLoss2);
    if (!cableLoss2Value) return kN15;
    if (StartsWithMinus(cableLoss2)) {
        values.CableLoss2 = Checked(FailureCause::CableLoss2TooLarge, [&] {
            return static_cast<double>(IntegerOfText(WithoutMinusSigns(cableLoss2)));
        });
    } else {
        values.CableLoss2 = *cableLoss2Value;
    }
    return std::nullopt;
}

}  // namespace linkcalc
