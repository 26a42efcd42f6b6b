// Checks the calculation line written as a chain and draws its marks, advice and hint.
#include "screen/ScreenSteps.h"

#include <algorithm>
#include <vector>

#include "engine/Settings.h"
#include "platform/RecordSnapshot.h"
#include "screen/ScreenPage.h"
#include "screen/sikiInp.h"
#include "typeset/bunCanvasDsp.h"

ScreenStepsData ScreenSteps;

namespace {

constexpr const char* NO_STEP_TEXT = "◆途中の式を書いたら Ctrl+G で＝を入れて、続けて書こう。";
constexpr const char* UNKNOWN_TEXT = "◆文字の入った式や不等式は、途中式を調べられません。";
constexpr const char* HINT_LABEL = "ヒント：";
constexpr Color MARK_RIGHT{0, 0, 128};  // navy circle
constexpr Color MARK_WRONG{255, 0, 0};  // red cross

std::string ChainOf(const std::string& line) {
  std::string chain = line.substr(0, line.find('&'));
  return chain;
}

// A surface that measures with the real one and draws nothing, so that the positions of the steps come
// from the same fonts the line was drawn with.
class MeasuringCanvas : public Canvas {
 public:
  explicit MeasuringCanvas(Canvas& real) : real_(real) {}
  void TextOut(int x, int y, const std::string& text) override { pen_ = {x + real_.TextWidth(text), y}; }
  int TextWidth(const std::string& text) override { return real_.TextWidth(text); }
  int TextHeight(const std::string& text) override { return real_.TextHeight(text); }
  void MoveTo(int x, int y) override { pen_ = {x, y}; }
  void LineTo(int x, int y) override { pen_ = {x, y}; }
  CanvasPoint PenPos() const override { return pen_; }
  void FillRect(const CanvasRect&) override {}
  void SetFontName(const std::string& name) override { real_.SetFontName(name); }
  std::string FontName() const override { return real_.FontName(); }
  void SetFontSize(int points) override { real_.SetFontSize(points); }
  int FontSize() const override { return real_.FontSize(); }
  void SetFontColor(Color c) override { real_.SetFontColor(c); }
  Color FontColor() const override { return real_.FontColor(); }
  void SetFontBold(bool bold) override { real_.SetFontBold(bold); }
  bool FontBold() const override { return real_.FontBold(); }
  void SetFontPitch(FontPitch p) override { real_.SetFontPitch(p); }
  FontPitch GetFontPitch() const override { return real_.GetFontPitch(); }
  void SetPenColor(Color c) override { real_.SetPenColor(c); }
  Color PenColor() const override { return real_.PenColor(); }
  void SetPenWidth(int w) override { real_.SetPenWidth(w); }
  int PenWidth() const override { return real_.PenWidth(); }
  void SetBrushColor(Color c) override { real_.SetBrushColor(c); }
  Color BrushColor() const override { return real_.BrushColor(); }
  int PixelsPerInch() const override { return real_.PixelsPerInch(); }

 private:
  Canvas& real_;
  CanvasPoint pen_{};
};

// The surface's drawing attributes and the typesetter's record, put back when it goes.
class DrawingScope {
 public:
  explicit DrawingScope(Canvas& s)
      : s_(s),
        size_(s.FontSize()),
        font_(s.FontColor()),
        bold_(s.FontBold()),
        pitch_(s.GetFontPitch()),
        pen_(s.PenColor()),
        penWidth_(s.PenWidth()),
        brush_(s.BrushColor()) {}
  ~DrawingScope() {
    s_.SetFontSize(size_);
    s_.SetFontColor(font_);
    s_.SetFontBold(bold_);
    s_.SetFontPitch(pitch_);
    s_.SetPenColor(pen_);
    s_.SetPenWidth(penWidth_);
    s_.SetBrushColor(brush_);
  }
  DrawingScope(const DrawingScope&) = delete;
  DrawingScope& operator=(const DrawingScope&) = delete;

 private:
  Canvas& s_;
  int size_;
  Color font_;
  bool bold_;
  FontPitch pitch_;
  Color pen_;
  int penWidth_;
  Color brush_;
  RecordSnapshot<TypesetState> typeset_{TypesetData};
};

void Check() {
  ScreenSteps = ScreenStepsData{};
  ScreenSteps.forLine = LineText;
  ScreenSteps.result = CheckChain(ChainOf(LineText), StepOptionsFromSettings());
  if (ScreenSteps.result.steps.empty()) SetStatusText(NO_STEP_TEXT);
}

}  // namespace

void ResetScreenSteps() { ScreenSteps = ScreenStepsData{}; }

const char* StepMark(StepVerdict v) { return IsRightVerdict(v) ? "○" : "×"; }

void CheckLineSteps() {
  if (LineText.empty()) {
    SetStatusText(NO_STEP_TEXT);
    return;
  }
  if (LineText.find_first_of("x<>") != std::string::npos) {
    SetStatusText(UNKNOWN_TEXT);
    return;
  }
  const bool marked = LineOpen && LineText.back() != '=';
  if (marked && !AppendStepMark()) return;
  Check();
  // A right last step that is the finished answer has no step after it: the "=" written for one goes
  // again, so the line does not end in a lone "=" (nor its reading in 「イコール」).
  const ChainResult& r = ScreenSteps.result;
  if (marked && r.allRight && NextStepHint(r.steps.back().to, StepOptionsFromSettings()).empty() &&
      BackSpaceLine() == 1)
    Check();
  RefreshScreen();
  RepaintScreen();
}

void ShowStepHint() {
  if (LineText.empty()) {
    SetStatusText(NO_STEP_TEXT);
    return;
  }
  if (ScreenSteps.forLine != LineText) Check();
  ScreenSteps.hintShown = true;
  ScreenSteps.hint = ScreenSteps.result.hint;
  RefreshScreen();
  RepaintScreen();
}

int DrawLineSteps(Canvas& s) {
  const ChainResult& r = ScreenSteps.result;
  if (ScreenSteps.forLine.empty() || ScreenSteps.forLine != LineText) return 0;
  if (r.steps.empty() && !ScreenSteps.hintShown) return 0;
  DrawingScope scope(s);
  const std::string chain = ChainOf(LineText);
  const int x0 = LineOrigin.x, y0 = LineOrigin.y, cw = CharWidth, ch = CharHeight;

  // Where each piece ends: the line typed up to it, measured with the screen's fonts.
  std::vector<CanvasPoint> ends;
  int lowest = y0;
  {
    MeasuringCanvas m(s);
    size_t at = 0;
    while (at <= chain.size()) {
      size_t eq = chain.find('=', at);
      size_t stop = eq == std::string::npos ? chain.size() : eq;
      BreakCount = 0;
      int row = y0;
      if (!ends.empty() || at > 0) {
        // The row of this piece is the row of the "=" before it.
        BreakCount = 0;
        TypesetLine(m, chain.substr(0, at), x0, y0, cw, ch);
        row = EqualsPoint.y;
      }
      BreakCount = 0;
      int endX = TypesetLine(m, chain.substr(0, stop), x0, y0, cw, ch);
      ends.push_back({endX, row});
      lowest = std::max(lowest, row);
      if (eq == std::string::npos) break;
      at = eq + 1;
      if (at >= chain.size()) break;
    }
  }

  // The marks: a circle or a cross under each step, below the denominators of its row and above the
  // advice rows, so that the first line's marks stay clear of the top of the page.
  const int markSize = std::max(1, FONTSIZE * 8 / 10);
  s.SetFontSize(markSize);
  s.SetFontBold(true);
  for (size_t k = 0; k < r.steps.size() && k + 1 < ends.size(); ++k) {
    const bool right = IsRightVerdict(r.steps[k].verdict);
    s.SetFontColor(right ? MARK_RIGHT : MARK_WRONG);
    const CanvasPoint from = ends[k], to = ends[k + 1];
    // The step runs from after the "=" that follows the piece before it to its own end; on a row of its
    // own (a break at "=") it starts at the line's start.
    const int start = from.y == to.y ? from.x + 2 * cw : x0;
    const int middle = to.x > start ? (start + to.x) / 2 : to.x - cw / 2;
    s.TextOut(middle - s.TextWidth("○") / 2, to.y + 2 * ch + ch / 8, StepMark(r.steps[k].verdict));
  }
  s.SetFontBold(false);

  // The advice rows under the line, as the process writes its advice.
  const int adviceSize = std::max(1, static_cast<int>(FONTSIZE * 0.7f));
  s.SetFontSize(adviceSize);
  int y = lowest + 3 * ch + ch / 2;
  int rows = 0;
  for (size_t k = 0; k < r.steps.size(); ++k) {
    const StepResult& st = r.steps[k];
    s.SetFontColor(IsRightVerdict(st.verdict) ? MARK_RIGHT : MARK_WRONG);
    std::string row = "(" + std::to_string(k + 1) + ") " + StepMark(st.verdict) + " " + st.advice;
    s.TextOut(x0, y, row);
    y += ch;
    ++rows;
  }
  if (ScreenSteps.hintShown) {
    s.SetFontColor(CLR_GREEN);
    s.TextOut(x0, y + ch / 2, HINT_LABEL);
    int x = s.PenPos().x;
    if (ScreenSteps.hint.empty()) {
      s.TextOut(x, y + ch / 2, "（もう答えの形です）");
    } else {
      s.SetFontSize(FONTSIZE);
      s.SetFontColor(CLR_BLACK);
      BreakCount = 0;
      TypesetLine(s, ScreenSteps.hint, x + cw, y + ch / 2, cw, ch);
    }
    ++rows;
  }
  return rows;
}
