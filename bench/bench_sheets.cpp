// Practice sheets: one sheet of twenty problems made and checked, its page written, and with Qt its
// pupils' sheet and answer key printed as PDF; and a class set of forty such sheets with their keys.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "sheets/Sheet.h"

#ifdef KAZORU_BENCH_HAS_QT
#include <QApplication>
#include <QPrinter>

#include "ui/SheetPrint.h"
#endif

namespace {

SheetControls Controls(const char* skill, uint64_t seed, char version = 'A') {
  SheetControls c;
  c.skill = skill;
  c.count = 20;
  c.seed = seed;
  c.version = version;
  return c;
}

void BM_MakeSheet(benchmark::State& state, const char* skill) {
  uint64_t seed = 1;
  for (auto _ : state) {
    const Sheet s = MakeSheet(Controls(skill, seed++));
    std::string bytes;
    SheetSikiBytes(s, bytes);
    benchmark::DoNotOptimize(bytes);
  }
}
BENCHMARK_CAPTURE(BM_MakeSheet, sum_unlike, "sum-unlike")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MakeSheet, difference_borrow, "difference-borrow")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MakeSheet, product_cancel, "product-cancel")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MakeSheet, repeating_to_fraction, "repeating-to-fraction")
    ->Unit(benchmark::kMillisecond);

// Every skill once: the slowest skill to generate bounds what a teacher waits for.
void BM_MakeSheetEverySkill(benchmark::State& state) {
  uint64_t seed = 1;
  for (auto _ : state)
    for (const SheetSkill& s : SheetSkills()) benchmark::DoNotOptimize(MakeSheet(Controls(s.id, seed++)));
  state.counters["skills"] = static_cast<double>(SheetSkills().size());
}
BENCHMARK(BM_MakeSheetEverySkill)->Unit(benchmark::kMillisecond);

#ifdef KAZORU_BENCH_HAS_QT
void EnsureApplication() {
  if (QCoreApplication::instance()) return;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "bench_sheets";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

bool PrintPdf(const Sheet& s, const std::string& path, bool key) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(path));
  printer.setPageSize(QPageSize(QPageSize::A4));
  return key ? PrintSheetKey(printer, s, true) : PrintSheetPage(printer, s);
}

std::string Folder() {
  const std::string dir = std::filesystem::temp_directory_path().string() + "/kazoru-bench-sheets";
  std::filesystem::create_directories(dir);
  return dir;
}

// One sheet with its page, its printed sheet and its answer key (with advice), as a teacher makes it.
void BM_OneSheetWithPdfs(benchmark::State& state) {
  EnsureApplication();
  const std::string dir = Folder();
  uint64_t seed = 1;
  for (auto _ : state) {
    const Sheet s = MakeSheet(Controls("sum-unlike", seed++));
    std::string bytes;
    SheetSikiBytes(s, bytes);
    PrintPdf(s, dir + "/sheet.pdf", false);
    PrintPdf(s, dir + "/key.pdf", true);
  }
}
BENCHMARK(BM_OneSheetWithPdfs)->Unit(benchmark::kMillisecond)->UseRealTime();

// A class set: forty sheets of twenty problems (versions A, B, … of one seed for neighbouring desks),
// each with its printed sheet and answer key as PDF.
void BM_ClassSet(benchmark::State& state, const char* skill) {
  EnsureApplication();
  const std::string dir = Folder();
  for (auto _ : state) {
    for (int i = 0; i < 40; ++i) {
      const Sheet s =
          MakeSheet(Controls(skill, 2026 + static_cast<uint64_t>(i / 26), static_cast<char>('A' + i % 26)));
      PrintPdf(s, dir + "/sheet" + std::to_string(i) + ".pdf", false);
      PrintPdf(s, dir + "/key" + std::to_string(i) + ".pdf", true);
    }
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK_CAPTURE(BM_ClassSet, sum_unlike, "sum-unlike")
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_ClassSet, product_cancel, "product-cancel")
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->Iterations(1);
#endif

}  // namespace
