#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "linkcalc/calc_sheet.h"
#include "linkcalc/failure.h"
#include "linkcalc/notice.h"
#include "linkcalc/run_values.h"

namespace linkcalc {

enum class RunOutcome : std::uint8_t { Completed, Stopped, Failed };

struct RunResult {
    RunOutcome outcome = RunOutcome::Completed;
    std::optional<Notice> notice;    // shown when stopped
    std::optional<Failure> failure;  // shown when failed
};

// One calculation run: validates the inputs, then computes every result into the sheet. A
// notice or a failure is shown through the sheet, after which the focus moves to its field.
// A stopped or failed run leaves every result field and the computed run values as they were;
// the repairs and run values of validation stay.
RunResult CalcRun(CalcSheet& sheet, RunValues& values);

// Number of UTF-16 code units of a UTF-8 text: the unit a sheet selection counts in.
int Utf16Length(std::string_view text);

}  // namespace linkcalc
