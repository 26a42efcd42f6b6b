// Speed and allocation of the expression evaluator: short lines as a pupil types them, a full
// 256-character line, and lines of growing length to show that allocation grows with the text.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "BenchLines.h"
#include "engine/BunMath.h"
#include "engine/Bunsuuh.h"

// Every allocation of the program is counted, so a benchmark can report what one evaluation costs.
namespace {
std::atomic<long long> AllocCount{0};
std::atomic<long long> AllocBytes{0};
}  // namespace

// The replacement pair is malloc/free on both sides, which the compiler cannot see across the calls.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t n) {
  AllocCount.fetch_add(1, std::memory_order_relaxed);
  AllocBytes.fetch_add(static_cast<long long>(n), std::memory_order_relaxed);
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

// 1 + (2b1-3b1)*6 + … up to the given length: each group worth 1, so the answer is known.
std::string LongLine(size_t length) {
  std::string text = "1";
  while (text.size() + 13 <= length) text += "+(2b1-3b1)*6";
  while (text.size() + 2 <= length) text += "+0";
  return text;
}

void Report(benchmark::State& state, long long allocs, long long bytes) {
  const double n = static_cast<double>(state.iterations());
  state.counters["allocs/eval"] = static_cast<double>(allocs) / n;
  state.counters["bytes/eval"] = static_cast<double>(bytes) / n;
}

void BM_EvaluateShortLines(benchmark::State& state) {
  QuietPlatform quiet;
  const auto& lines = ShortLines();
  size_t i = 0;
  long long a0 = AllocCount, b0 = AllocBytes;
  for (auto _ : state) {
    benchmark::DoNotOptimize(EvaluateExpression(lines[i], {.forms = AnswerForms::Both, .decimal = true}));
    if (++i == lines.size()) i = 0;
  }
  Report(state, AllocCount - a0, AllocBytes - b0);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EvaluateShortLines);

void BM_EvaluateLongLine(benchmark::State& state) {
  QuietPlatform quiet;
  const std::string text = LongLine(static_cast<size_t>(state.range(0)));
  long long a0 = AllocCount, b0 = AllocBytes;
  for (auto _ : state)
    benchmark::DoNotOptimize(EvaluateExpression(text, {.forms = AnswerForms::Both, .decimal = true}));
  Report(state, AllocCount - a0, AllocBytes - b0);
  if (EvalStatus != 1) state.SkipWithError("the long line did not evaluate");
}
BENCHMARK(BM_EvaluateLongLine)->Arg(32)->Arg(64)->Arg(128)->Arg(256)->Unit(benchmark::kMicrosecond);

void BM_ReplaceExpressionFractions(benchmark::State& state) {
  QuietPlatform quiet;
  const std::string text = "[2K3+1B1]+[6B1+2]*[mK3B1]-1";
  for (auto _ : state) benchmark::DoNotOptimize(ReplaceExpressionFractions(text));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReplaceExpressionFractions);

}  // namespace
