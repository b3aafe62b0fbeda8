#include <benchmark/benchmark.h>

#include <array>
#include <string_view>

#include "linkcalc/numeric_text.h"

namespace {

constexpr std::array<std::string_view, 6> kTexts{"132",  "-66.5",  " 16.0934 ",
                                                 "2.5-", "1.5E-3", "0.333333333333333"};
constexpr std::array<double, 6> kNumbers{132, -66.5, 16.0934, 1.0 / 3, 1e-5, 125473.35969};

void BM_NumberOfText(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(linkcalc::NumberOfText(kTexts[i++ % kTexts.size()]));
    }
}
BENCHMARK(BM_NumberOfText);

void BM_TextOfNumber(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(linkcalc::TextOfNumber(kNumbers[i++ % kNumbers.size()]));
    }
}
BENCHMARK(BM_TextOfNumber);

}  // namespace
