// Speed of a whole notebook page: computing every answer of a full 50-line page of mixed expressions,
// equations and ratios, and reading and writing its .siki file.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/BunMath.h"
#include "engine/Houtei1ji.h"
#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "notebook/NotePage.h"
#include "platform/Platform.h"

namespace {

// Fifty lines as a pupil fills a page: sums and products of fractions and mixed numbers, decimals,
// powers, brackets, expression fractions, permutations, equations, inequalities and ratios.
const std::vector<std::string>& PageLines() {
  static const std::vector<std::string> pieces = {
      "1k3b2+2k4b3=",     "5b3-7b2=",         "2k3b1*1k5b2=",   "7b4/3b2=",  "(1b2+1b3)*6=",     "0.25+3b1=",
      "2^10-1000=",       "[3B1+2]*4b3=",     "5P2+4C2=",       "2x+1=5",    "3x-2<7",           "4:6=",
      "1k2b1/(3b2-1b3)=", "0.1@6*3=",         "12b5+7b10-3b4=", "x/3+1b2=2", "(2k3b1-1k6b5)^2=", "15:25=",
      "3(x+1)=2x",        "1b2*1b3*1b4*1b5=",
  };
  static std::vector<std::string> lines;
  if (lines.empty())
    for (int i = 0; i < NOTE_MAX_LINES; ++i)
      lines.push_back(pieces[static_cast<std::size_t>(i) % pieces.size()]);
  return lines;
}

void FillPage() {
  ResetNotePage();
  ReplaceAllLines(PageLines());
}

void BM_CalculateAll50(benchmark::State& state) {
  ResetSettings();
  ANSSYU = 2;
  SYOUDSP = 1;
  RecordingPlatform recording;
  Platform* old = SetPlatform(&recording);
  for (auto _ : state) {
    state.PauseTiming();
    FillPage();
    recording.Clear();
    state.ResumeTiming();
    auto outcomes = CalculateAll();
    benchmark::DoNotOptimize(outcomes.data());
  }
  if (NotePage.lineCount != NOTE_MAX_LINES || NotePage.lines[0].find('&') == std::string::npos)
    state.SkipWithError("the page was not computed");
  SetPlatform(old);
}
BENCHMARK(BM_CalculateAll50)->Unit(benchmark::kMillisecond);

// The computed page, as it is saved.
void ComputedPage() {
  ResetSettings();
  ANSSYU = 2;
  SYOUDSP = 1;
  RecordingPlatform recording;
  Platform* old = SetPlatform(&recording);
  FillPage();
  CalculateAll();
  NotePage.title = "分数の計算　練習問題";
  SetPlatform(old);
}

std::string Folder(const char* preferred) { return access(preferred, W_OK) == 0 ? preferred : "/tmp"; }

// Saving: composing the CP932 bytes, writing a temporary file, syncing it to the disk and renaming it.
// Arg 0 writes to memory-backed /dev/shm (the program's own work), arg 1 to the disk's /tmp (adds the
// device's sync time).
void BM_SaveSiki50(benchmark::State& state) {
  ComputedPage();
  const std::string path = (state.range(0) == 0 ? Folder("/dev/shm") : std::string("/tmp")) +
                           "/kazoru_bench_" + std::to_string(getpid()) + ".siki";
  for (auto _ : state) {
    if (!SaveSikiFile(path)) {
      state.SkipWithError("save failed");
      break;
    }
  }
  unlink(path.c_str());
}
BENCHMARK(BM_SaveSiki50)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_LoadSiki50(benchmark::State& state) {
  ComputedPage();
  const std::string path = Folder("/dev/shm") + "/kazoru_bench_load_" + std::to_string(getpid()) + ".siki";
  if (!SaveSikiFile(path)) {
    state.SkipWithError("save failed");
    return;
  }
  RecordingPlatform recording;
  Platform* old = SetPlatform(&recording);
  for (auto _ : state) {
    int bad = LoadSikiFile(path);
    benchmark::DoNotOptimize(bad);
  }
  if (NotePage.lineCount != NOTE_MAX_LINES) state.SkipWithError("the page did not come back whole");
  SetPlatform(old);
  unlink(path.c_str());
}
BENCHMARK(BM_LoadSiki50)->Unit(benchmark::kMicrosecond);

}  // namespace
