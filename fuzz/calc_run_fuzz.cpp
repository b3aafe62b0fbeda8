// A whole run on a sheet of arbitrary texts (band and speed from their lists): it completes,
// stops or fails, never crashes, never leaves an infinity, a not-a-number or an over-long text,
// and a stopped or failed run leaves the results of the previous run.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "linkcalc/calc_run.h"
#include "linkcalc/choice_lists.h"
#include "linkcalc/memory_sheet.h"
#include "linkcalc/numeric_text.h"

namespace {

using namespace linkcalc;

void Check(bool condition, const char* what) {
    FuzzCheck(condition, "calculation run", what);
}

constexpr std::array<Field, 7> kTypedFields{Field::TxtAntG,     Field::TxtAntG2, Field::TxtCblLss1,
                                            Field::TxtCblLoss2, Field::TxtDM,    Field::Cmbmilekm,
                                            Field::Txtepksz};

std::vector<std::string> ResultTexts(const MemorySheet& sheet) {
    std::vector<std::string> texts;
    for (const FieldInfo& info : kFields) {
        if (info.role == FieldRole::Result) texts.push_back(sheet.Text(info.field));
    }
    return texts;
}

void CheckResults(const MemorySheet& sheet) {
    for (const FieldInfo& info : kFields) {
        if (info.role != FieldRole::Result) continue;
        const std::string text = sheet.Text(info.field);
        Check(text.find("inf") == std::string::npos && text.find("nan") == std::string::npos,
              "a result holds an infinity or a not-a-number");
        if (info.maxLength != 0) Check(text.size() <= info.maxLength, "a result is over-long");
        if (info.field != Field::TxtReqSS) Check(IsNumericText(text), "a result is not a number");
    }
}

// A completed link, so that a later stopped or failed run has results to leave alone.
void RunKnownLink(MemorySheet& sheet, RunValues& values) {
    sheet.SetText(Field::TxtAntG, "23");
    sheet.SetText(Field::TxtAntG2, "27");
    sheet.SetText(Field::TxtCblLss1, "1");
    sheet.SetText(Field::TxtCblLoss2, "0.5");
    sheet.SetText(Field::TxtDM, "10");
    sheet.SetText(Field::Cmbmilekm, "Miles");
    sheet.SetText(Field::CmbEFreq, "5800");
    sheet.SetText(Field::CmbSlcSpeed, "54 Mbps");
    sheet.SetText(Field::Txtepksz, "");
    Check(CalcRun(sheet, values).outcome == RunOutcome::Completed,
          "the known link did not complete");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    // Two bytes choose band and speed (past the list: nothing chosen); the rest, split at
    // line feeds, are the typed texts.
    const std::size_t band = data[0] % (kBandList.size() + 1);
    const std::size_t speed = data[1] % (kSpeedList.size() + 1);
    std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);

    MemorySheet sheet;
    RunValues values;
    RunKnownLink(sheet, values);
    const std::vector<std::string> before = ResultTexts(sheet);

    for (const Field field : kTypedFields) {
        const std::size_t end = rest.find('\n');
        sheet.SetText(field, rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    }
    sheet.SetText(Field::CmbEFreq, band < kBandList.size() ? kBandList[band] : "");
    sheet.SetText(Field::CmbSlcSpeed, speed < kSpeedList.size() ? kSpeedList[speed] : "");

    const RunResult result = CalcRun(sheet, values);
    CheckResults(sheet);
    switch (result.outcome) {
        case RunOutcome::Completed: {
            Check(!result.notice && !result.failure, "a completed run reported a message");
            // Pressing Calc again gives the same sheet once the run's repairs are in place. (The
            // first repeat may differ: a side-1 cable loss typed with a blank before its minus
            // sign is written back without the blank, and the next run drops the minus.)
            MemorySheet again = sheet;
            Check(CalcRun(again, values).outcome == RunOutcome::Completed,
                  "a rerun did not complete");
            MemorySheet third = again;
            Check(CalcRun(third, values).outcome == RunOutcome::Completed,
                  "a rerun did not complete");
            for (const FieldInfo& info : kFields) {
                Check(third.Text(info.field) == again.Text(info.field),
                      "a rerun changed the sheet");
            }
            break;
        }
        case RunOutcome::Stopped:
        case RunOutcome::Failed:
            Check(result.notice.has_value() != result.failure.has_value(),
                  "a run that ended early reported both or neither message");
            Check(ResultTexts(sheet) == before, "a stopped or failed run changed the results");
            Check(sheet.Focus().has_value(), "the focus did not move after the message");
            break;
    }
    return 0;
}
