#include <string_view>

#include "linkcalc/numeric_text.h"
#include "run_failure.h"
#include "stages.h"

namespace linkcalc {
namespace {

constexpr double kLimitedEirp = 30;  // dBm, 5300 and 5400 MHz

struct PowerCap {
    double frequencyMHz;
    double cap;  // dBm
    std::string_view capText;
};

constexpr PowerCap kPowerCaps[] = {{5300, 7, "7"}, {5400, 11, "11"}};

}  // namespace

void ComputePowerBudget(CalcSheet& sheet, RunValues& v) {
    using Cause = FailureCause;
    const double p = v.RadioTxPower;
    const double g1 = v.AntennaGain1;
    const double g2 = v.AntennaGain2;
    const double l1 = v.CableLoss1;
    const double l2 = v.CableLoss2;

    for (const PowerCap& limit : kPowerCaps) {
        if (v.FrequencyMHz != limit.frequencyMHz) continue;
        v.Eirp1 = kLimitedEirp;
        v.Eirp2 = kLimitedEirp;
        v.EirpExcess1 = Checked(Cause::Side1TooLarge, [&] { return (p + g1 - l1) - v.Eirp1; });
        v.EirpExcess2 = Checked(Cause::Side2TooLarge, [&] { return (p + g2 - l2) - v.Eirp2; });
        sheet.SetText(Field::TxtEIRP1, TextOfNumber(v.Eirp1));
        sheet.SetText(Field::TxtEIRP2, TextOfNumber(v.Eirp2));
        // The transmit power that gives exactly 30 dBm EIRP, capped by the band.
        const double m1 = Checked(Cause::Side1TooLarge, [&] { return p - v.EirpExcess1; });
        sheet.SetText(Field::TxtMTP,
                      m1 > limit.cap ? std::string(limit.capText) : TextOfNumber(m1));
        const double m2 = Checked(Cause::Side2TooLarge, [&] { return p - v.EirpExcess2; });
        sheet.SetText(Field::TxtMTP2,
                      m2 > limit.cap ? std::string(limit.capText) : TextOfNumber(m2));
    }

    if (v.FrequencyMHz == 5800 || v.FrequencyMHz == 4900) {
        sheet.SetText(Field::TxtMTP, TextOfInteger(v.RadioTxPower));
        sheet.SetText(Field::TxtMTP2, TextOfInteger(v.RadioTxPower));
        // The EIRP carried on is the shown text read back.
        sheet.SetText(Field::TxtEIRP1,
                      TextOfNumber(Checked(Cause::Side1TooLarge, [&] { return p + g1 - l1; })));
        v.Eirp1 = Checked(Cause::Side1TooLarge,
                          [&] { return NumberOfText(sheet.Text(Field::TxtEIRP1)); });
        sheet.SetText(Field::TxtEIRP2,
                      TextOfNumber(Checked(Cause::Side2TooLarge, [&] { return p + g2 - l2; })));
        v.Eirp2 = Checked(Cause::Side2TooLarge,
                          [&] { return NumberOfText(sheet.Text(Field::TxtEIRP2)); });
    }

    v.FreeSpaceLoss =
        Checked(Cause::DistanceTooLarge, [&] { return NumberOfText(sheet.Text(Field::TxtFSL)); });
    v.ExpectedRssi1 =
        Checked(Cause::Side1TooLarge, [&] { return ((v.Eirp2 - v.FreeSpaceLoss) + g1) - l1; });
    sheet.SetText(Field::TxtERSSI, TextOfNumber(v.ExpectedRssi1));
    v.ExpectedRssi2 =
        Checked(Cause::Side2TooLarge, [&] { return ((v.Eirp1 - v.FreeSpaceLoss) + g2) - l2; });
    sheet.SetText(Field::TxtERSSI2, TextOfNumber(v.ExpectedRssi2));
}

}  // namespace linkcalc
