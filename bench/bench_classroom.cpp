// Speed of the class summary: 40 and 1,000 pupils' result files of 20 problems each (right answers in one
// and in two steps, named mistakes, a wrong step, problems not done), read from their bytes, grouped,
// every working checked again and the table counted; and the same with the CSV and JSON written.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "classroom/ClassSummary.h"
#include "engine/Settings.h"
#include "steps/StepCheck.h"

namespace {

std::vector<ClassInputFile> Class(int pupils) {
  Assignment a;
  a.controls.skill = "sum-unlike";
  a.controls.count = 20;
  a.controls.seed = 2026;
  a.title = "5年2組 分数のたし算";
  std::string code;
  EncodeAssignment(a, code);
  const Sheet sheet = AssignmentSheet(a);
  std::vector<ClassInputFile> files;
  for (int n = 1; n <= pupils; ++n) {
    ResultFile r;
    r.code = code;
    r.className = "5年" + std::to_string(1 + n / 40) + "組";
    r.number = 1 + n % 40;
    r.name = "児童 " + std::to_string(n);
    r.started = "2026-05-12T10:30:00+09:00";
    r.handedIn = "2026-05-12T10:50:00+09:00";
    for (size_t k = 0; k < sheet.problems.size(); ++k) {
      const SheetProblem& p = sheet.problems[k];
      ResultProblem rp;
      rp.problem = p.expr;
      rp.seconds = 30;
      switch ((n + static_cast<int>(k)) % 5) {
        case 0: rp.working = {p.answer}; break;
        case 1: rp.working = {NextStepHint(p.expr, StepOptions{}), p.answer}; break;
        case 2: rp.working = {"1b2", p.answer}; break;
        case 3: rp.working = {"2b1+3b1", "5b2"}; break;
        default: break;
      }
      if (!rp.working.empty()) rp.answer = rp.working.back();
      r.problems.push_back(rp);
    }
    files.push_back({std::to_string(n) + ".kazoru", WriteResultFile(r), ""});
  }
  return files;
}

void BM_ClassSummary(benchmark::State& state) {
  ResetSettings();
  const std::vector<ClassInputFile> files = Class(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    ClassSummary s = SummariseClass(files);
    benchmark::DoNotOptimize(s.assignments.data());
  }
}
BENCHMARK(BM_ClassSummary)->Arg(40)->Arg(1000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_ClassSummaryWithOutputs(benchmark::State& state) {
  ResetSettings();
  const std::vector<ClassInputFile> files = Class(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    ClassSummary s = SummariseClass(files);
    std::string csv = ClassSummaryCsv(s);
    std::vector<std::string> json = ClassSummaryJson(s);
    benchmark::DoNotOptimize(csv.data());
    benchmark::DoNotOptimize(json.data());
  }
}
BENCHMARK(BM_ClassSummaryWithOutputs)
    ->Arg(40)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

}  // namespace
