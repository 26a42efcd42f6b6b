// Typesetting cost of one keystroke: every key redraws the whole line, so drawing a long line (257
// characters with fractions, mixed numbers, exponents, a repeating decimal and an expression fraction)
// must stay far below a frame. Measured on the recording surface, which does the layout work without
// rasterising; the cost onto a real image is measured by the picture test of the window build.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/Settings.h"
#include "platform/RecordingCanvas.h"
#include "typeset/bunCanvasDsp.h"

namespace {

// A typed line of exactly 257 characters.
std::string LongLine() {
  const std::string piece = "1k3b2+12b5*2^10-(3b1+7)*0.1@6+";
  std::string t = "[2K3+1B1]+";
  while (t.size() < 257) t += piece;
  t.resize(257);
  while (!t.empty() && !(t.back() >= '0' && t.back() <= '9')) t.pop_back();
  while (t.size() < 257) t += '1';
  return t;
}

// A canvas that measures like the recording one but keeps nothing: the typesetter's own cost.
class NullCanvas : public RecordingCanvas {
 public:
  void TextOut(int x, int y, const std::string& text) override { pen_ = {x + TextWidth(text), y}; }
  void MoveTo(int x, int y) override { pen_ = {x, y}; }
  void LineTo(int x, int y) override { pen_ = {x, y}; }
  CanvasPoint PenPos() const override { return pen_; }

 private:
  CanvasPoint pen_;
};

void BM_TypesetLongLineRecording(benchmark::State& state) {
  ResetSettings();
  ResetTypeset();
  const std::string line = LongLine();
  RecordingCanvas canvas;
  for (auto _ : state) {
    canvas.ClearOps();
    BreakCount = 0;
    benchmark::DoNotOptimize(TypesetLine(canvas, line, 40, 30, 10, 20));
  }
  state.counters["ops"] = static_cast<double>(canvas.ops.size());
  state.SetLabel(std::to_string(line.size()) + " chars");
}
BENCHMARK(BM_TypesetLongLineRecording)->Unit(benchmark::kMicrosecond);

void BM_TypesetLongLineNoRecord(benchmark::State& state) {
  ResetSettings();
  ResetTypeset();
  const std::string line = LongLine();
  NullCanvas canvas;
  for (auto _ : state) benchmark::DoNotOptimize(TypesetLine(canvas, line, 40, 30, 10, 20));
}
BENCHMARK(BM_TypesetLongLineNoRecord)->Unit(benchmark::kMicrosecond);

void BM_TypesetLineAndAnswer(benchmark::State& state) {
  ResetSettings();
  ResetTypeset();
  const std::string text = "1k3b2+12b5*2^3-[2K3+1B1]=5351b11640&5351b11640";
  RecordingCanvas canvas;
  for (auto _ : state) {
    canvas.ClearOps();
    BreakCount = 0;
    benchmark::DoNotOptimize(
        TypesetLineAndAnswer(canvas, text, 40, 30, 10, 20, {.kind = AnswerPlace::Kind::BelowLine}));
  }
}
BENCHMARK(BM_TypesetLineAndAnswer)->Unit(benchmark::kMicrosecond);

}  // namespace
