#pragma once

#include <optional>

#include "internal_header.h"
#include "linkcalc/calc_sheet.h"
#include "linkcalc/notice.h"
#include "linkcalc/run_values.h"
#include "staged_sheet.h"

namespace linkcalc {

// The seven stages of a calculation run, in run order. A stage that cannot carry out a step
// throws RunFailureError. The computing stages write to the staged sheet of the run.

// Checks the inputs and repairs some of them; the notice of the first bad input, if any.
std::optional<Notice> ValidateInputs(CalcSheet& sheet, RunValues& values);
void ComputePathGeometry(StagedSheet& sheet, RunValues& values);
void ComputeRadioProfile(StagedSheet& sheet, RunValues& values);
void ComputePowerBudget(StagedSheet& sheet, RunValues& values);
void ComputeNoiseFloor(StagedSheet& sheet, RunValues& values);
void ComputeThroughput(StagedSheet& sheet, RunValues& values);
void ComputeFadeMargin(StagedSheet& sheet, RunValues& values);

}  // namespace linkcalc
