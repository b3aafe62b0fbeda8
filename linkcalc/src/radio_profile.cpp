#include <string>

#include "radio_tables.h"
#include "stages.h"

namespace linkcalc {

void ComputeRadioProfile(CalcSheet& sheet, RunValues& values) {
    const std::string band = sheet.Text(Field::CmbEFreq);
    const std::string speed = sheet.Text(Field::CmbSlcSpeed);

    for (const FlatBandPower& flat : kFlatBandPowers) {
        if (band == flat.band) values.RadioTxPower = flat.radioTxPower;
    }

    std::size_t row = kSpeedProfiles.size();
    for (std::size_t i = 0; i < kSpeedProfiles.size(); ++i) {
        if (speed == kSpeedProfiles[i].speed) {
            row = i;
            break;
        }
    }
    // A speed outside the table leaves the speed figures as they were.
    if (row == kSpeedProfiles.size()) return;

    const SpeedProfile& profile = kSpeedProfiles[row];
    values.RxSensitivity = profile.rxSensitivity;
    sheet.SetText(Field::TxtReqSS, profile.sensitivityText);
    sheet.SetText(Field::TxtRECI, profile.requiredCiText);
    values.DataBitsPerSymbol = profile.dataBitsPerSymbol;

    for (const BandProfile& bandProfile : kBandProfiles) {
        if (band == bandProfile.band) {
            values.RadioTxPower = bandProfile.radioTxPower[row];
            values.RxSensitivity = bandProfile.rxSensitivity[row];
            values.DataBitsPerSymbol = profile.dataBitsPerSymbol;
        }
    }
}

}  // namespace linkcalc
