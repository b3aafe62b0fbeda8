#pragma once

#include <string>

#include "linkcalc/calc_run.h"
#include "linkcalc/memory_sheet.h"
#include "planning/clearance.h"
#include "planning/sites.h"

namespace linkcalc::cli {

// The results laid out like the main window, with units; first the sites, when given.
std::string TextReport(const MemorySheet& sheet, const planning::LinkGeometry* sites = nullptr);

// One line for standard error: a notice's title, the message, and the field to correct.
std::string ErrorLine(const RunResult& result);

// {"outcome", "notice", "failure", "fields", "sites", "clearance"} as one JSON object; "sites"
// is null without sites, "clearance" when it was not worked out.
std::string JsonReport(const RunResult& result, const MemorySheet& sheet,
                       const planning::LinkGeometry* sites = nullptr,
                       const planning::Clearance* clearance = nullptr);

// A number with `places` decimal places, "." as the point.
std::string Fixed(double value, int places);

std::string_view OutcomeName(RunOutcome outcome);

}  // namespace linkcalc::cli
