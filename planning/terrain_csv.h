#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "planning/input_limits.h"
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
// columns are in that order. Separators: the first of "," ";" and tab on the first line. Lines
// end in LF, CRLF or CR alone, and hold at most kMaxLineBytes; at most kMaxTerrainRows rows.
// Elevations, obstructions and distances beyond what the earth holds (earth_bounds.h) are
// refused.
class TerrainReader {
  public:
    enum class Column { Distance, Elevation, Obstruction };

    // The next bytes of the text, in pieces of any size: only a line not yet ended is kept.
    // Throws TerrainError as soon as a line or the rows go beyond their bounds.
    void Add(std::string_view bytes);
    // The rows, once the text has ended. Throws TerrainError.
    std::vector<ProfileSample> Finish();

  private:
    void Keep(std::string_view piece);
    void TakeLine(std::string_view line);
    // The columns of the first line: true when it names them, else they go in order and the
    // line is a row.
    bool TakeHeader(std::string_view line);
    void TakeRow(std::string_view line);

    std::string pending_;   // the line not yet ended
    bool afterCr_ = false;  // an LF next ends no line of its own
    std::size_t lineNumber_ = 0;
    std::vector<Column> columns_;
    char separator_ = ',';
    std::vector<ProfileSample> rows_;
};

// The whole text through a TerrainReader. Throws TerrainError.
std::vector<ProfileSample> ReadTerrainCsv(std::string_view text);

// Throws TerrainLengthError unless the terrain's last distance is within 1 % of the path's.
void CheckTerrainLength(const std::vector<ProfileSample>& rows, double pathLength_m);

// A length for a message: "10100 m", "10012.5 m".
std::string MetresText(double metres);

}  // namespace linkcalc::planning
