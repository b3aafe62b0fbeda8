#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "linkcalc/memory_sheet.h"
#include "planning/link_clearance.h"
#include "planning/picture.h"
#include "planning/sites.h"

namespace linkcalc::cli {

// Input that was read but does not hold what it should; exit status 65.
class DataError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The rows of a terrain file ("-": standard input). Throws IoError, and DataError naming the
// file, the line and the fault.
std::vector<planning::ProfileSample> ReadTerrainFile(const std::string& path);

// Without a typed distance the terrain's length is the path's: typed into the distance field
// in the unit of --unit, Km when none is given.
void TypeTerrainLength(const std::vector<planning::ProfileSample>& rows, const CommandLine& line,
                       MemorySheet& sheet);

// The clearance of the completed run on `sheet`. Throws UsageError when the terrain's length
// disagrees with the path's, IoError or DataError when a DEM cannot give the heights.
planning::LinkClearance ClearanceOfLink(const MemorySheet& sheet, const RunValues& values,
                                        const planning::GroundSource& ground,
                                        const planning::EndsGiven& ends, double k);

// The sites take the profile's ground at their ends, when not given, and their tilts follow.
void TakeProfileGround(const planning::LinkClearance& link, const MemorySheet& sheet,
                       planning::LinkGeometry& geometry);

// The bearings for the picture's legend, as the Sites block shows them.
std::vector<planning::LegendLine> BearingLines(const planning::LinkGeometry& geometry);

// The picture of the path, through the picture module. Throws IoError when it cannot be written.
void WriteProfile(const std::string& path, const MemorySheet& sheet,
                  const planning::LinkClearance& link,
                  const std::vector<planning::LegendLine>& siteLines = {});

}  // namespace linkcalc::cli
