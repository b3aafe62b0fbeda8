#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "internal_header.h"

namespace linkcalc {

struct SpeedProfile {
    std::string_view speed;
    double rxSensitivity;  // dBm
    std::string_view sensitivityText;
    std::string_view requiredCiText;  // dB
    double dataBitsPerSymbol;
};

// Rows in the order a speed text is tried.
inline constexpr std::array<SpeedProfile, 7> kSpeedProfiles{{
    {"54 Mbps", -73, "-73dBm", "25", 216},
    {"48 Mbps", -75, "-75dBm", "23", 192},
    {"36 Mbps", -80, "-80dBm", "19", 144},
    {"24 Mbps", -84, "-84dBm", "15", 96},
    {"18 Mbps", -85, "-85dBm", "10", 72},
    {"12 Mbps", -87, "-87dBm", "8", 48},
    {" 6 Mbps", -92, "-92dBm", "5", 24},
}};

// Bands whose radio power and sensitivity differ by speed; columns follow kSpeedProfiles.
struct BandProfile {
    std::string_view band;
    std::array<std::int16_t, 7> radioTxPower;  // dBm
    std::array<double, 7> rxSensitivity;       // dBm
};

inline constexpr std::array<BandProfile, 2> kBandProfiles{{
    {"4900", {18, 17, 18, 18, 19, 19, 22}, {-71, -75, -80, -84, -85, -87, -91}},
    {"5800", {17, 17, 18, 18, 19, 19, 21}, {-73, -75, -80, -84, -85, -87, -92}},
}};

// Bands with one radio power for every speed.
struct FlatBandPower {
    std::string_view band;
    std::int16_t radioTxPower;  // dBm
};

inline constexpr std::array<FlatBandPower, 2> kFlatBandPowers{{{"5300", 7}, {"5400", 11}}};

}  // namespace linkcalc
