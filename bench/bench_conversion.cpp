// Our conversions next to glibc's on the same corpus. Each benchmark runs the
// whole corpus per iteration; items/s counts values.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/corpus.h"
#include "engine/conversion.h"
#include "engine/error.h"

namespace tallix::bench {
namespace {

void BM_TexteEnNombre(benchmark::State& state) {
  const auto& texts = corpus().texts;
  for (auto _ : state) {
    for (const std::string& text : texts) benchmark::DoNotOptimize(TexteEnNombre(text, U'.'));
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * texts.size()));
}
BENCHMARK(BM_TexteEnNombre);

void BM_strtold(benchmark::State& state) {
  const auto& texts = corpus().texts;
  for (auto _ : state) {
    for (const std::string& text : texts) benchmark::DoNotOptimize(std::strtold(text.c_str(), nullptr));
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * texts.size()));
}
BENCHMARK(BM_strtold);

// Arg: the number of decimals (2, 4, or 18 for the all-decimals mode).
void BM_NombreEnTexteFixe(benchmark::State& state) {
  const auto& values = corpus().values;
  const int decimals = static_cast<int>(state.range(0));
  for (auto _ : state) {
    for (Extended v : values) benchmark::DoNotOptimize(NombreEnTexteFixe(v, decimals, U'.'));
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * values.size()));
}
BENCHMARK(BM_NombreEnTexteFixe)->Arg(2)->Arg(4)->Arg(18);

// The same result type as ours: a std::string per value.
void BM_snprintf_18Lg(benchmark::State& state) {
  const auto& values = corpus().values;
  for (auto _ : state) {
    for (Extended v : values) {
      char buffer[64];
      const int n = std::snprintf(buffer, sizeof buffer, "%.18Lg", v);
      benchmark::DoNotOptimize(std::string(buffer, static_cast<std::size_t>(n)));
    }
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * values.size()));
}
BENCHMARK(BM_snprintf_18Lg);

// The display text of a result: the fixed text and the all-decimals trimming.
void BM_TexteResultat(benchmark::State& state) {
  const auto& values = corpus().values;
  for (auto _ : state) {
    for (Extended v : values) benchmark::DoNotOptimize(TexteResultat(v, DecimalMode::Toutes, U'.', U'.'));
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * values.size()));
}
BENCHMARK(BM_TexteResultat);

// A digit string far beyond the largest value: read to the end, then the
// conversion error quoting all of it. Arg: length in bytes.
void BM_TexteEnNombreLongDigits(benchmark::State& state) {
  const std::string text(static_cast<std::size_t>(state.range(0)), '7');
  for (auto _ : state) {
    try {
      TexteEnNombre(text, U'.');
    } catch (const CalcError& error) {
      benchmark::DoNotOptimize(error.message().size());
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
  state.SetComplexityN(state.range(0));
}
// 1, 4 and 16 MB, with the fitted growth (O(N) is the goal; a quadratic
// reading would show as N^2).
BENCHMARK(BM_TexteEnNombreLongDigits)
    ->RangeMultiplier(4)
    ->Range(1 << 20, 16 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

}  // namespace
}  // namespace tallix::bench
