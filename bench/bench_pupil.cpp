// Speed of the pupil's side of an assignment on the path of the pupil's keys: opening a 20-problem
// assignment from its code (the page waits for it before the first problem can be typed), the verdicts of
// one problem when a working line is taken (Enter), with and without the hint, and the storage form written
// after every change and read back when the link is opened again.
#include <benchmark/benchmark.h>

#include <string>

#include "classroom/PupilWork.h"
#include "engine/Settings.h"
#include "steps/StepCheck.h"

namespace {

std::string Code() {
  Assignment a;
  a.controls.skill = "sum-unlike";
  a.controls.count = 20;
  a.controls.seed = 2026;
  a.title = "5年2組 分数のたし算";
  std::string code;
  EncodeAssignment(a, code);
  return code;
}

// Every problem worked in three lines: the program's own next step, a mistaken line, the answer.
PupilWork Worked() {
  PupilWork w;
  OpenPupilWork(Code(), w);
  SetPupilName(w, "5年2組", 12, "山田 はな");
  for (size_t k = 0; k < w.problems.size(); ++k) {
    const std::string answer = AssignmentSheet(w.assignment).problems[k].answer;
    SetPupilWorking(w, k,
                    "=" + NextStepHint(w.problems[k].problem, StepOptions{}) + "\n=2b1+3b1\n=" + answer);
    AddPupilSeconds(w, k, 40);
  }
  return w;
}

void BM_OpenAssignment(benchmark::State& state) {
  ResetSettings();
  const std::string code = Code();
  for (auto _ : state) {
    PupilWork w;
    benchmark::DoNotOptimize(OpenPupilWork(code, w));
  }
}
BENCHMARK(BM_OpenAssignment)->Unit(benchmark::kMicrosecond);

void BM_ProblemFeedback(benchmark::State& state) {
  ResetSettings();
  PupilWork w = Worked();
  if (state.range(0)) AskPupilHint(w, 3);
  for (auto _ : state) {
    PupilFeedback f = PupilProblemFeedback(w, 3);
    benchmark::DoNotOptimize(f.steps.data());
  }
}
BENCHMARK(BM_ProblemFeedback)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_KeepWork(benchmark::State& state) {
  ResetSettings();
  const PupilWork w = Worked();
  for (auto _ : state) {
    std::string text = WritePupilWork(w);
    benchmark::DoNotOptimize(text.data());
  }
}
BENCHMARK(BM_KeepWork)->Unit(benchmark::kMicrosecond);

void BM_TakeBackWork(benchmark::State& state) {
  ResetSettings();
  const std::string text = WritePupilWork(Worked());
  for (auto _ : state) {
    PupilWork w;
    benchmark::DoNotOptimize(ReadPupilWork(text, w));
  }
}
BENCHMARK(BM_TakeBackWork)->Unit(benchmark::kMicrosecond);

}  // namespace
