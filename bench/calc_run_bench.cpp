#include <benchmark/benchmark.h>

#include "linkcalc/calc_run.h"
#include "linkcalc/memory_sheet.h"

namespace {

using linkcalc::Field;

linkcalc::MemorySheet TypedSheet() {
    linkcalc::MemorySheet sheet;
    sheet.SetText(Field::TxtAntG, "23");
    sheet.SetText(Field::TxtAntG2, "27");
    sheet.SetText(Field::TxtCblLss1, "-1.5");
    sheet.SetText(Field::TxtCblLoss2, "0.5");
    sheet.SetText(Field::TxtDM, "16.0934");
    sheet.SetText(Field::Cmbmilekm, "Km");
    sheet.SetText(Field::CmbEFreq, "5800");
    sheet.SetText(Field::CmbSlcSpeed, "54 Mbps");
    return sheet;
}

// A completed run on a copy of a freshly typed sheet, so every run starts from the inputs as
// typed and repairs them; the copy of the sheet is timed too.
void BM_CalcRunOnTypedSheet(benchmark::State& state) {
    const linkcalc::MemorySheet typed = TypedSheet();
    linkcalc::RunValues values;
    for (auto _ : state) {
        linkcalc::MemorySheet sheet = typed;
        const auto result = linkcalc::CalcRun(sheet, values);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_CalcRunOnTypedSheet);

// One completed run, repeated on the same sheet as pressing Calc again does.
void BM_CompletedCalcRun(benchmark::State& state) {
    linkcalc::RunValues values;
    linkcalc::MemorySheet sheet;
    sheet.SetText(Field::TxtAntG, "22.5");
    sheet.SetText(Field::TxtAntG2, "22.5");
    sheet.SetText(Field::TxtDM, "3");
    sheet.SetText(Field::Cmbmilekm, "Miles");
    sheet.SetText(Field::CmbEFreq, "5400");
    sheet.SetText(Field::CmbSlcSpeed, " 6 Mbps");
    sheet.SetText(Field::TxtCblLss1, "0.5");
    sheet.SetText(Field::TxtCblLoss2, "1");
    for (auto _ : state) {
        const auto result = linkcalc::CalcRun(sheet, values);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_CompletedCalcRun);

}  // namespace
