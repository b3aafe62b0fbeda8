#pragma once

#include <string>

#include "linkcalc/calc_run.h"
#include "linkcalc/memory_sheet.h"
#include "planning/clearance.h"

namespace linkcalc::cli {

// The results laid out like the main window, with units.
std::string TextReport(const MemorySheet& sheet);

// One line for standard error: a notice's title, the message, and the field to correct.
std::string ErrorLine(const RunResult& result);

// {"outcome", "notice", "failure", "fields", "clearance"} as one JSON object; "clearance" is
// null when it was not worked out.
std::string JsonReport(const RunResult& result, const MemorySheet& sheet,
                       const planning::Clearance* clearance = nullptr);

std::string_view OutcomeName(RunOutcome outcome);

}  // namespace linkcalc::cli
