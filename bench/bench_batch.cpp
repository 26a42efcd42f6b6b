// The batch tool's work for one line of standard input, without its input and output: the reset that
// makes every run start as a freshly started program, then the check or the evaluation of a short line.
// Arg 0 resets the engine layer's records with the settings (ResetEngineState(), as kazoru-cli does
// between the runs of solve; check and eval reset less); arg 1 resets every record of the program.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "engine/BunMath.h"
#include "engine/InpCheck.h"
#include "platform/Platform.h"
#include "tools/ProgramState.h"

namespace {

// The lines of the evaluator's own short-line benchmark.
const std::vector<std::string>& ShortLines() {
  static const std::vector<std::string> lines = {
      "1+1",
      "3b1+3b1",
      "2b1+1",
      "1k2b1+1k2b1-3b2*2",
      "(1+2)*(3+4)",
      "2^3^2+m2^2",
      "3k4b1-(2b1+5b3)/7",
      "(3b2-1k4b3)*2b1+0.25",
      "12/(4-1)+5P2-3!",
      "[6B1+2]+1k3b1",
  };
  return lines;
}

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

void BM_BatchCheckLine(benchmark::State& state) {
  RecordingPlatform quiet;
  SetPlatform(&quiet);
  const auto& lines = ShortLines();
  size_t i = 0;
  for (auto _ : state) {
    ResetBetweenRuns(state);
    benchmark::DoNotOptimize(CheckText(lines[i], {.collectText = true}));
    benchmark::DoNotOptimize(CheckedText.data());
    if (++i == lines.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
  SetPlatform(nullptr);
}
BENCHMARK(BM_BatchCheckLine)->Arg(0)->Arg(1);

void BM_BatchEvalLine(benchmark::State& state) {
  RecordingPlatform quiet;
  SetPlatform(&quiet);
  const auto& lines = ShortLines();
  size_t i = 0;
  for (auto _ : state) {
    ResetBetweenRuns(state);
    benchmark::DoNotOptimize(EvaluateExpression(lines[i]));
    if (++i == lines.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
  SetPlatform(nullptr);
}
BENCHMARK(BM_BatchEvalLine)->Arg(0)->Arg(1);

}  // namespace
