#pragma once

#include <array>
#include <string_view>

namespace linkcalc {

// The window's choice lists, in list order.
inline constexpr std::array<std::string_view, 4> kBandList{"4900", "5300", "5400", "5800"};
inline constexpr std::array<std::string_view, 7> kSpeedList{
    " 6 Mbps", "12 Mbps", "18 Mbps", "24 Mbps", "36 Mbps", "48 Mbps", "54 Mbps"};
inline constexpr std::array<std::string_view, 2> kUnitList{"Miles", "Km"};

}  // namespace linkcalc
