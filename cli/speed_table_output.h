#pragma once

#include <string>

#include "cli/command_line.h"
#include "cli/io.h"
#include "planning/speed_table.h"

namespace linkcalc::cli {

// The three forms of a speed table that has rows (validation did not stop it).

// A readable table, one line per speed, then the recommended speed on the last line.
std::string SpeedTableText(const planning::SpeedTable& table);

// CSV with CRLF line ends: a header, then one record per speed.
std::string SpeedTableCsv(const planning::SpeedTable& table);

// {"margin", "unit", "rows", "recommended"} as one JSON object.
std::string SpeedTableJson(const planning::SpeedTable& table);

// --speed-table: runs the table over the command line's inputs and writes it in the form asked
// for; a stopped validation is reported like a single run. Returns the exit status; a failed
// write throws IoError.
int RunSpeedTable(const CommandLine& line, ByteSink& out);

}  // namespace linkcalc::cli
