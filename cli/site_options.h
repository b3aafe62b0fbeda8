#pragma once

#include <string>

#include "cli/command_line.h"
#include "linkcalc/memory_sheet.h"
#include "planning/sites.h"

namespace linkcalc::cli {

// The geodesy module, loaded on first use; throws planning::ModuleError.
const planning::Geodesy& GeodesyModule();

planning::SiteInputs SiteInputsOf(const CommandLine& line);

// The message of a point that cannot be read, naming where it came from (an option or a column).
std::string PointRefusal(const std::string& source, const planning::SiteError& error);

// One run of the command line's link from its sites on `sheet`, which holds its other inputs;
// a point that cannot be read is a UsageError naming its option.
planning::SiteRun RunFromSites(const CommandLine& line, MemorySheet& sheet, RunValues& values);

// For runs that take the path as typed (the speed table): the distance and unit inputs of the
// sites' geodesic distance join the command line's inputs.
void AddSiteDistance(CommandLine& line);

}  // namespace linkcalc::cli
