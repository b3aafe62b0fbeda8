#pragma once

#include <cstdint>

namespace linkcalc {

// Numbers kept by the main window from one run to the next; zero when it is created.
struct RunValues {
    double CableLoss1 = 0;
    double AntennaGain1 = 0;
    double AntennaGain2 = 0;
    double CableLoss2 = 0;
    double FrequencyMHz = 0;  // GHz once the fade margin has divided it by 1000
    double DistanceMiles = 0;
    std::int16_t RadioTxPower = 0;
    double RxSensitivity = 0;
    double DataBitsPerSymbol = 0;
    double Eirp1 = 0;
    double Eirp2 = 0;
    double EirpExcess1 = 0;
    double EirpExcess2 = 0;
    double FreeSpaceLoss = 0;
    double ExpectedRssi1 = 0;
    double ExpectedRssi2 = 0;

    bool operator==(const RunValues&) const = default;
};

}  // namespace linkcalc
