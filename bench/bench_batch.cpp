// The batch tool's work for one line of standard input, without its input and output: the reset that
// makes every run start as a freshly started program, then the check or the evaluation of a short line.
// Arg 0 resets the engine layer's records with the settings (ResetEngineState(), as kazoru-cli does
// between the runs of solve; check and eval reset less); arg 1 resets every record of the program.
#include <benchmark/benchmark.h>

#include <string>

#include "BenchLines.h"
#include "engine/BunMath.h"
#include "engine/InpCheck.h"
#include "tools/ProgramState.h"

namespace {

void ResetBetweenRuns(const benchmark::State& state) {
  if (state.range(0) == 0)
    ResetEngineState();
  else
    ResetProgramState();
}

void BM_ResetBetweenRuns(benchmark::State& state) {
  for (auto _ : state) {
    ResetBetweenRuns(state);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ResetBetweenRuns)->Arg(0)->Arg(1);

// One short line after another, each after the reset between runs.
template <typename Run>
void RunBatchLines(benchmark::State& state, Run run) {
  QuietPlatform quiet;
  const auto& lines = ShortLines();
  size_t i = 0;
  for (auto _ : state) {
    ResetBetweenRuns(state);
    run(lines[i]);
    if (++i == lines.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_BatchCheckLine(benchmark::State& state) {
  RunBatchLines(state, [](const std::string& line) {
    benchmark::DoNotOptimize(CheckText(line, {.collectText = true}));
    benchmark::DoNotOptimize(CheckedText.data());
  });
}
BENCHMARK(BM_BatchCheckLine)->Arg(0)->Arg(1);

void BM_BatchEvalLine(benchmark::State& state) {
  RunBatchLines(state, [](const std::string& line) { benchmark::DoNotOptimize(EvaluateExpression(line)); });
}
BENCHMARK(BM_BatchEvalLine)->Arg(0)->Arg(1);

}  // namespace
