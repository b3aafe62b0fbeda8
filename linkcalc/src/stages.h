#pragma once

#include <optional>

#include "internal_header.h"
#include "linkcalc/calc_sheet.h"
#include "linkcalc/notice.h"
#include "linkcalc/run_values.h"

namespace linkcalc {

// The seven stages of a calculation run, in run order. A stage that cannot carry out a step
// throws RunFailureError.

// Checks the inputs and repairs some of them; the notice of the first bad input, if any.
std::optional<Notice> ValidateInputs(CalcSheet& sheet, RunValues& values);
void ComputePathGeometry(CalcSheet& sheet, RunValues& values);
void ComputeRadioProfile(CalcSheet& sheet, RunValues& values);
void ComputePowerBudget(CalcSheet& sheet, RunValues& values);
void ComputeNoiseFloor(CalcSheet& sheet, RunValues& values);
void ComputeThroughput(CalcSheet& sheet, RunValues& values);
void ComputeFadeMargin(CalcSheet& sheet, RunValues& values);

}  // namespace linkcalc
