#include "linkcalc/numeric_text.h"
#include "run_failure.h"
#include "stages.h"

namespace linkcalc {
namespace {

// Noise floor below the RSSI text by the required C/I text, as both stand on the sheet.
void WriteNoiseFloor(CalcSheet& sheet, Field rssi, Field noiseFloor, FailureCause cause) {
    const double requiredCi = Checked(FailureCause::SpeedInvalid,
                                      [&] { return NumberOfText(sheet.Text(Field::TxtRECI)); });
    const double level = Checked(cause, [&] { return NumberOfText(sheet.Text(rssi)); });
    const double floor = Checked(cause, [&] { return level - requiredCi; });
    sheet.SetText(noiseFloor, TextOfNumber(floor));
}

}  // namespace

void ComputeNoiseFloor(CalcSheet& sheet, RunValues& /*values*/) {
    WriteNoiseFloor(sheet, Field::TxtERSSI, Field::TxtRNFL, FailureCause::Side1TooLarge);
    WriteNoiseFloor(sheet, Field::TxtERSSI2, Field::TxtRNFL2, FailureCause::Side2TooLarge);
}

}  // namespace linkcalc
