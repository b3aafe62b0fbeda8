#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "planning/profile.h"

namespace linkcalc::planning {

// A terrain text that cannot be read; the message names the line and the fault.
class TerrainError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A terrain whose length disagrees with the path's; the message gives both figures.
class TerrainLengthError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

inline constexpr double kTerrainLengthTolerance = 0.01;  // of the path length

// The rows of a terrain CSV: a header naming the columns distance (metres from site 1) and
// elevation (metres above sea level), in any order, and optionally obstruction (metres standing
// on the ground), then one row a sample in increasing distance from 0. Without a header the
// columns are in that order. Separators: the first of "," ";" and tab on the first line.
// Throws TerrainError.
std::vector<ProfileSample> ReadTerrainCsv(std::string_view text);

// Throws TerrainLengthError unless the terrain's last distance is within 1 % of the path's.
void CheckTerrainLength(const std::vector<ProfileSample>& rows, double pathLength_m);

// A length for a message: "10100 m", "10012.5 m".
std::string MetresText(double metres);

}  // namespace linkcalc::planning
