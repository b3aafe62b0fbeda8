#pragma once

#include <string>

#include "linkcalc/calc_run.h"
#include "linkcalc/memory_sheet.h"

namespace linkcalc::cli {

// The results laid out like the main window, with units.
std::string TextReport(const MemorySheet& sheet);

// One line for standard error: a notice's title, the message, and the field to correct.
std::string ErrorLine(const RunResult& result);

// {"outcome", "notice", "failure", "fields"} as one JSON object.
std::string JsonReport(const RunResult& result, const MemorySheet& sheet);

std::string_view OutcomeName(RunOutcome outcome);

}  // namespace linkcalc::cli
