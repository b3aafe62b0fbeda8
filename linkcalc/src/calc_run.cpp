#include "linkcalc/calc_run.h"

#include <exception>

#include "run_failure.h"
#include "staged_sheet.h"
#include "stages.h"

namespace linkcalc {
namespace {

void ShowAndFocus(CalcSheet& sheet, const Notice& notice) {
    sheet.ShowNotice(notice);
    if (notice.selectAll) sheet.Select(notice.focus, 0, Utf16Length(sheet.Text(notice.focus)));
    sheet.SetFocus(notice.focus);
}

RunResult Failed(CalcSheet& sheet, FailureCause cause) {
    const Failure& failure = FailureOf(cause);
    ShowAndFocus(sheet, Notice{failure.message, {}, failure.focus});
    return {RunOutcome::Failed, std::nullopt, failure};
}

}  // namespace

RunResult CalcRun(CalcSheet& sheet, RunValues& values) {
    try {
        if (const auto notice = ValidateInputs(sheet, values)) {
            ShowAndFocus(sheet, *notice);
            return {RunOutcome::Stopped, notice, std::nullopt};
        }
        StagedSheet staged(sheet);
        RunValues computed = values;
        ComputePathGeometry(staged, computed);
        ComputeRadioProfile(staged, computed);
        ComputePowerBudget(staged, computed);
        ComputeNoiseFloor(staged, computed);
        ComputeThroughput(staged, computed);
        ComputeFadeMargin(staged, computed);
        staged.Commit();
        values = computed;
        return {};
    } catch (const RunFailureError& error) {
        return Failed(sheet, error.Cause());
    } catch (const std::exception&) {
        return Failed(sheet, FailureCause::Unexpected);
    }
}

int Utf16Length(std::string_view text) {
    int units = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0U) == 0x80U) continue;  // continuation byte
        units += byte >= 0xF0U ? 2 : 1;         // four-byte sequences need a surrogate pair
    }
    return units;
}

}  // namespace linkcalc
