#include "linkcalc/numeric_text.h"
#include "run_failure.h"
#include "stages.h"

namespace linkcalc {
namespace {

// Noise floor below the RSSI text by the required C/I text, as both stand on the sheet.
void WriteNoiseFloor(StagedSheet& sheet, double requiredCi, Field rssi, Field noiseFloor,
                     FailureCause cause) {
    const double level = Checked(cause, [&] { return NumberOfText(sheet.View(rssi)); });
    const double floor = Checked(cause, [&] { return level - requiredCi; });
    sheet.SetText(noiseFloor, TextOfNumber(floor));
}

}  // namespace

void ComputeNoiseFloor(StagedSheet& sheet, RunValues& /*values*/) {
    // Read once for both sides, before side 1's RSSI.
    const double requiredCi = Checked(FailureCause::SpeedInvalid,
                                      [&] { return NumberOfText(sheet.View(Field::TxtRECI)); });
    WriteNoiseFloor(sheet, requiredCi, Field::TxtERSSI, Field::TxtRNFL,
                    FailureCause::Side1TooLarge);
    WriteNoiseFloor(sheet, requiredCi, Field::TxtERSSI2, Field::TxtRNFL2,
                    FailureCause::Side2TooLarge);
}

}  // namespace linkcalc
