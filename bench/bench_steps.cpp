// Speed of the step checker: one step (with and without the program's own next step as a hint), and a
// notebook page of 50 problems with 5 steps of working each, as the page command checks it.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "engine/Settings.h"
#include "notebook/NoteSteps.h"
#include "steps/StepCheck.h"

namespace {

void BM_OneStep(benchmark::State& state) {
  ResetSettings();
  const StepOptions options{StepFinalForm::Mixed, state.range(0) != 0};
  for (auto _ : state) {
    ChainResult r = CheckChain("1k2b1+2k3b1=3b2+3b8", options);
    benchmark::DoNotOptimize(r.steps.data());
  }
}
BENCHMARK(BM_OneStep)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// A step with a mistake to find: every known mistake is tried at every place of a longer piece.
void BM_OneMistakenStep(benchmark::State& state) {
  ResetSettings();
  const StepOptions options{StepFinalForm::Mixed, state.range(0) != 0};
  for (auto _ : state) {
    ChainResult r = CheckChain("1k2b1+2k3b1-3b2*4b3+5b6/7b8=1k2b1+2k3b1-10b8+5b6", options);
    benchmark::DoNotOptimize(r.steps.data());
  }
}
BENCHMARK(BM_OneMistakenStep)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// 50 problems, each followed by five working lines: right steps, a jump, a mistake and a wrong step.
std::vector<std::string> Page() {
  const std::vector<std::vector<std::string>> kinds = {
      {"2b1+3b1", "=6b3+6b2", "=[6B3+2]", "=6b5", "=6b5", "=12b10"},
      {"2k3b1*3b2", "=3b7*3b2", "=9b14", "=1k9b5", "=1k9b5", "=1k9b6"},
      {"3-4b1", "=2+1-4b1", "=2+4b4-4b1", "=2+4b3", "=2k4b3", "=3k4b1"},
      {"3b2/5b4", "=15b8", "=3b2*4b5", "=12b10", "=6b5", "=1k6b1"},
      {"1k2b1+2k3b1", "=3b2+3b8", "=6b9+6b16", "=6b25", "=4k6b1", "=4k6b1"},
  };
  std::vector<std::string> lines;
  for (int k = 0; k < 50; ++k)
    for (const std::string& l : kinds[static_cast<size_t>(k) % kinds.size()]) lines.push_back(l);
  return lines;
}

void BM_Page50x5(benchmark::State& state) {
  ResetSettings();
  const std::vector<std::string> lines = Page();
  const StepOptions options{StepFinalForm::Mixed, state.range(0) != 0};
  int steps = 0;
  for (auto _ : state) {
    NotePageCheck page = CheckNoteLines(lines, options);
    steps = page.summary.steps;
    benchmark::DoNotOptimize(page.problems.data());
  }
  if (steps != 250) state.SkipWithError("the page does not hold 250 steps");
}
BENCHMARK(BM_Page50x5)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
