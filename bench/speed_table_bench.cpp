#include <benchmark/benchmark.h>

#include "linkcalc/memory_sheet.h"
#include "planning/speed_table.h"

namespace {

using linkcalc::Field;

linkcalc::MemorySheet Link(const char* band, const char* distance, const char* unit) {
    linkcalc::MemorySheet sheet;
    sheet.SetText(Field::TxtAntG, "23");
    sheet.SetText(Field::TxtAntG2, "23");
    sheet.SetText(Field::TxtCblLss1, "1.5");
    sheet.SetText(Field::TxtCblLoss2, "0.5");
    sheet.SetText(Field::TxtDM, distance);
    sheet.SetText(Field::Cmbmilekm, unit);
    sheet.SetText(Field::CmbEFreq, band);
    return sheet;
}

// The whole table: seven runs at the path and seven reach searches.
void BM_SpeedTable(benchmark::State& state, const linkcalc::MemorySheet& inputs) {
    for (auto _ : state) {
        const linkcalc::planning::SpeedTable table = linkcalc::planning::MakeSpeedTable(inputs);
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK_CAPTURE(BM_SpeedTable, 5800_miles_10, Link("5800", "10", "Miles"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SpeedTable, 5400_km_40, Link("5400", "40", "Km"))
    ->Unit(benchmark::kMillisecond);

}  // namespace
