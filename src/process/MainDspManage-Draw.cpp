// Draws the current line, or the stored calculation process with its title, figures and advice texts, on
// a Canvas at the place the caller gives (the screen's line origin or the printer page's).
#include "process/MainDspManage-Draw.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include "engine/Bunio.h"
#include "engine/Bunsuu.h"
#include "engine/Settings.h"
#include "process/CalcProcManage.h"
#include "process/MainDspManage.h"
#include "typeset/bunCanvasDsp.h"

namespace {

// Pixel positions are computed wide and clamped, so an absurd cell size or row count cannot overflow.
int Clamp(long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN / 2, INT_MAX / 2)); }

// value × factor truncated towards zero. The factor is the double nearest to 0.7, 0.8 or 0.1 and the
// product is formed in extended precision, so 20 × 0.7 gives 13 as the layout has always been computed
// (a double product would round to 14 first).
int Times(long double factor, long long value) {
  long double v = factor * static_cast<long double>(value);
  v = std::clamp(v, static_cast<long double>(INT_MIN / 2), static_cast<long double>(INT_MAX / 2));
  return static_cast<int>(v);
}

// A font size scaled by 0.7 or 0.8, never below one point.
int ScaledFontSize(long double factor, int size) { return std::max(1, Times(factor, size)); }

int DigitCount(int64_t v) { return static_cast<int>(std::to_string(v).size()); }

// Puts EQUAL_KAIGYO back as it was when the drawing of a process ends.
class BreakAtEquals {
 public:
  BreakAtEquals() : saved_(EQUAL_KAIGYO) { EQUAL_KAIGYO = 1; }
  ~BreakAtEquals() { EQUAL_KAIGYO = saved_; }
  BreakAtEquals(const BreakAtEquals&) = delete;
  BreakAtEquals& operator=(const BreakAtEquals&) = delete;

 private:
  int saved_;
};

// Restores size, colour, boldness and pen of the surface on scope exit.
class StyleGuard {
 public:
  explicit StyleGuard(Canvas& s)
      : s_(s),
        size_(s.FontSize()),
        color_(s.FontColor()),
        bold_(s.FontBold()),
        pen_(s.PenColor()),
        penWidth_(s.PenWidth()) {}
  ~StyleGuard() {
    s_.SetFontSize(size_);
    s_.SetFontColor(color_);
    s_.SetFontBold(bold_);
    s_.SetPenColor(pen_);
    s_.SetPenWidth(penWidth_);
  }
  StyleGuard(const StyleGuard&) = delete;
  StyleGuard& operator=(const StyleGuard&) = delete;

 private:
  Canvas& s_;
  int size_;
  Color color_;
  bool bold_;
  Color pen_;
  int penWidth_;
};

// The pieces of one reduction line: numbers (a fraction, a mixed number, an integer or a decimal, with
// its unary sign), operators, parentheses and whole expression fractions "[...]".
std::vector<std::string> SplitTerms(const std::string& expr) {
  std::vector<std::string> out;
  std::string cur;
  auto flush = [&] {
    if (!cur.empty()) out.push_back(cur);
    cur.clear();
  };
  for (size_t i = 0; i < expr.size(); ++i) {
    char c = expr[i];
    if (c == '[') {
      flush();
      size_t close = expr.find(']', i);
      size_t end = close == std::string::npos ? expr.size() : close + 1;
      out.push_back(expr.substr(i, end - i));
      i = end - 1;
    } else if (c == '+' || c == '-' || c == '*' || c == '/' || c == '(' || c == ')' || c == '=') {
      flush();
      out.push_back(std::string(1, c));
    } else {
      cur += c;
    }
  }
  flush();
  return out;
}

// A term that the reduction figure strikes through: a fraction (or mixed number) with a common divisor.
bool IsReducibleTerm(const std::string& term, Bunsuu& value) {
  if (term.find('b') == std::string::npos || term.find('[') != std::string::npos) return false;
  value = ParseNumber(term);
  return !IsError(value) && IsReducible(value);
}

// One list of successive values of a numerator or denominator: the first value in black, struck through
// when it was cancelled; each further value small, bold and maroon, right-aligned to the first, going up
// for a numerator and down for a denominator; all but the last struck through.
void DrawValueList(Canvas& s, const std::vector<int64_t>& values, int left, int top, bool numerator, int cw,
                   int ch) {
  if (values.empty()) return;
  StyleGuard guard(s);
  const int size = s.FontSize();
  const std::string first = std::to_string(values[0]);
  s.SetFontColor(CLR_BLACK);
  s.TextOut(left, top, first);
  const int end = s.PenPos().x;
  if (values.size() > 1) {
    s.MoveTo(left, top + 2);
    s.LineTo(Clamp(left + static_cast<long long>(cw) * DigitCount(values[0])),
             Clamp(static_cast<long long>(top) + ch - 2));
  }
  s.SetFontColor(CLR_MAROON);
  s.SetFontBold(true);
  s.SetFontSize(ScaledFontSize(0.7, size));
  for (size_t k = 1; k < values.size(); ++k) {
    const std::string text = std::to_string(values[k]);
    const int step = Times(static_cast<long double>(0.7) * static_cast<long double>(k), ch);
    const int y = numerator ? Clamp(static_cast<long long>(top) + Times(0.1, ch) - step)
                            : Clamp(static_cast<long long>(top) + Times(0.3, ch) + step);
    const int x = end - s.TextWidth(text);
    s.TextOut(x, y, text);
    if (k + 1 < values.size()) {
      s.MoveTo(x, y);
      s.LineTo(end, Clamp(static_cast<long long>(y) + Times(0.7, ch) - 2));
    }
  }
}

}  // namespace

void DrawAdvice(Canvas& surface, int number, int x, int y, int ch) {
  std::string text(AdviceText(number));
  if (text.rfind("||", 0) == 0) text.erase(0, 2);
  // The gothic faces draw "~" as a raised bar, so "(~_~)" would read as an overline: the advice shows a
  // full-width tilde, which reads as one on screen and on paper.
  for (std::size_t at = text.find('~'); at != std::string::npos; at = text.find('~', at))
    text.replace(at, 1, "～");
  int row = 0;
  size_t start = 0;
  while (true) {
    size_t cut = text.find("||", start);
    std::string part = text.substr(start, cut == std::string::npos ? std::string::npos : cut - start);
    if (!part.empty()) surface.TextOut(x, Clamp(y + static_cast<long long>(row) * ch), part);
    if (cut == std::string::npos) break;
    start = cut + 2;
    ++row;
  }
}

void DrawProcessTitle(Canvas& surface, int type, int x, int y, bool onPaper) {
  StyleGuard guard(surface);
  const int size = surface.FontSize();
  surface.SetFontSize(ScaledFontSize(0.8, size));
  surface.SetFontColor(CLR_MAROON);
  surface.SetFontBold(true);
  const std::string title = onPaper ? PaperProcessTypeTitle(type) : std::string(ProcessTypeTitle(type));
  surface.TextOut(x, y, title);
  // The surface has no underlined face; the underline is a maroon rule along the foot of the title.
  const int end = surface.PenPos().x;
  const int foot = Clamp(static_cast<long long>(y) + surface.TextHeight(title) - 1);
  surface.SetPenColor(CLR_MAROON);
  surface.SetPenWidth(1);
  surface.MoveTo(x, foot);
  surface.LineTo(end, foot);
  surface.SetFontBold(false);
}

int DrawReductionLine(Canvas& surface, const std::string& expr, int x, int y, const LinePlace& place,
                      bool longForm) {
  const int h = place.ch;
  const int half = Clamp(static_cast<long long>(h) * LinePitch / 2);
  int yT = Clamp(static_cast<long long>(y) + Times(0.7, h));
  std::string text = expr;
  surface.SetFontColor(CLR_BLACK);
  if (!text.empty() && text[0] == '=') {
    yT = Clamp(static_cast<long long>(yT) + half);
    surface.SetFontColor(CLR_BLUE);
    surface.TextOut(x - h, yT, "＝");
    surface.SetFontColor(CLR_BLACK);
    text.erase(0, 1);
  }
  for (const std::string& term : SplitTerms(text)) {
    Bunsuu value;
    surface.SetFontColor(CLR_BLACK);
    if (IsReducibleTerm(term, value))
      x = TypesetReduction(surface, value, x, yT, place.cw, h, {.longForm = longForm});
    else
      x = TypesetLine(surface, term, x, yT, place.cw, h);
  }
  surface.SetFontColor(CLR_BLACK);
  return surface.PenPos().x;
}

int DrawCancellationFigure(Canvas& surface, int y, const LinePlace& place) {
  const CancellationFigure& fig = ProcessState.figure;
  const int h = place.ch, cw = place.cw;
  const int half = Clamp(static_cast<long long>(h) * LinePitch / 2);
  int x = place.x0;
  int yF = y;
  if (EQUAL_KAIGYO) {
    x = place.x0 - h;
    yF = Clamp(static_cast<long long>(y) + half + h / 4 +
               Times(static_cast<long double>(0.7) * fig.numeratorRows, h));
  }
  StyleGuard guard(surface);
  surface.SetFontColor(CLR_BLACK);
  x = TypesetRun(surface, "=", x, yF, -1, cw, h);
  if (fig.signMode == FigureSign::Minus) x = TypesetRun(surface, "m", x, yF, -1, cw, h);
  if (fig.signMode == FigureSign::Plus) x = TypesetRun(surface, "p", x, yF, -1, cw, h);
  const size_t n = std::min(fig.numeratorValues.size(), fig.denominatorValues.size());
  for (size_t i = 0; i < n; ++i) {
    const std::vector<int64_t>& nums = fig.numeratorValues[i];
    const std::vector<int64_t>& dens = fig.denominatorValues[i];
    if (nums.empty() || dens.empty()) continue;
    if (i > 0) x = TypesetRun(surface, "*", x, yF, -1, cw, h);
    const int ln = DigitCount(nums[0]), ld = DigitCount(dens[0]);
    const int width = Clamp(static_cast<long long>(cw) * std::max(ln, ld));
    DrawBar(surface, x, yF + h / 2, width);
    DrawValueList(surface, nums, Clamp(x + static_cast<long long>(cw) * std::max(0, ld - ln) / 2),
                  yF - h / 2 - 3, true, cw, h);
    DrawValueList(surface, dens, Clamp(x + static_cast<long long>(cw) * std::max(0, ln - ld) / 2),
                  yF + h / 2 + 3, false, cw, h);
    x = Clamp(static_cast<long long>(x) + width);
  }
  return surface.PenPos().x;
}

int DrawProcessText(Canvas& surface, const std::string& text, const LinePlace& place) {
  const int h = place.ch;
  const int half = Clamp(static_cast<long long>(h) * LinePitch / 2);
  const int gap = Clamp(static_cast<long long>(half) + Times(0.7, h));
  // The advice factor is the single-precision 0.7 (0.699999988…): a size of 10 gives 6.
  const int adviceSize = std::max(1, Times(static_cast<long double>(0.7f), surface.FontSize()));
  const CancellationFigure& fig = ProcessState.figure;

  int x = place.x0, y = place.y0;
  const std::vector<ProcessLine> lines = SplitProcessText(text);
  for (size_t i = 0; i < lines.size(); ++i) {
    const ProcessLine& line = lines[i];
    if (PROCTEIDO == 0 && i > 0 && IsHiddenStep(line.advice)) continue;
    const std::string expr = line.newRow ? "=" + line.expr : line.expr;
    int adviceX = x, adviceY = y;
    surface.SetFontColor(CLR_BLACK);
    switch (line.style) {
      case 'Y':
      case 'A': {
        if (line.newRow) x = place.x0;
        int end = DrawReductionLine(surface, expr, x, y, place, line.style == 'A');
        adviceX = line.style == 'A' ? end - h : end;
        adviceY = Clamp(static_cast<long long>(y) + gap);
        x = end;
        y = Clamp(static_cast<long long>(y) + gap + h);
        break;
      }
      case 'Z': {
        int end = DrawCancellationFigure(surface, y, place);
        adviceX = end;
        adviceY = Clamp(static_cast<long long>(y) + gap +
                        Times(static_cast<long double>(0.7) * fig.numeratorRows, h) - h);
        x = end;
        y = Clamp(static_cast<long long>(y) + gap + h +
                  Times(static_cast<long double>(0.7) * (fig.numeratorRows + fig.denominatorRows), h) -
                  (5LL * h) / 4);
        break;
      }
      default: {
        if (line.newRow) x = place.x0;
        BreakCount = 0;
        int end = TypesetLine(surface, expr, x, y, place.cw, h);
        adviceX = end;
        adviceY = Clamp(y + static_cast<long long>(LinePitch) * h * BreakCount / 2);
        x = end;
        y = adviceY;
        break;
      }
    }
    if (line.advice > 0 && ADVICEDSP == 1) {
      StyleGuard guard(surface);
      surface.SetFontColor(CLR_NAVY);
      surface.SetFontSize(adviceSize);
      DrawAdvice(surface, line.advice, Clamp(static_cast<long long>(adviceX) + 2LL * h), adviceY, h);
    }
  }
  surface.SetFontColor(CLR_BLACK);
  return y;
}

int DrawCurrentLine(Canvas& surface, const std::string& lineText, bool withProcess, const LinePlace& place) {
  if (!withProcess) {
    TypesetLineAndAnswer(surface, lineText, place.x0, place.y0, place.cw, place.ch,
                         {.kind = AnswerPlace::Kind::BelowLine});
    return 1;
  }
  BreakAtEquals breakAtEquals;
  DrawProcessTitle(surface, ProcessTypeNumber(ProcessState.processType), 4 * place.cw,
                   place.y0 - 2 * place.ch);
  DrawProcessText(surface, ProcessState.processText, place);
  return 1;
}
