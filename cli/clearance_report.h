#pragma once

#include <array>
#include <string>
#include <string_view>

#include "planning/link_clearance.h"

namespace linkcalc::cli {

// The "Clearance" block of the text report, heights in the run's units.
std::string ClearanceBlock(const planning::LinkClearance& link, std::string_view ground);

// {"k", "samples", "worst": {"distance_m", "clearance_m", "ratio"}, "clear60", "mast60_m",
// "mast100_m"} as JSON text, in metres.
std::string ClearanceJson(const planning::Clearance& clearance);

// The batch's clearance columns, and their values for one completed run.
inline constexpr std::array<std::string_view, 8> kClearanceColumns{
    "k",           "samples", "worst_distance_m", "worst_clearance_m",
    "worst_ratio", "clear60", "mast60_m",         "mast100_m"};
std::array<std::string, 8> ClearanceValues(const planning::Clearance& clearance);

}  // namespace linkcalc::cli
