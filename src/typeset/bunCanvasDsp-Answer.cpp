// The typesetter's drawings of values: a line with its answer column, a fraction value stacked, and the
// reduction figure (both parts struck through and divided by their greatest common divisor).
#include <cstdint>
#include <string>

#include "engine/Bunio.h"
#include "engine/Settings.h"
#include "platform/ShiftJis.h"
#include "typeset/TypesetCommon.h"
#include "typeset/bunCanvasDsp.h"
#include "typeset/bunHCanvDsp.h"

using namespace typeset_detail;

namespace {

// "=" followed by a text (built by appending: GCC 12 warns falsely on "literal" + std::string).
std::string Equals(const std::string& text) {
  std::string t = "=";
  t += text;
  return t;
}

// Switches EQUAL_KAIGYO off for the scope and puts the saved value back on every return.
class NoBreakAtEquals {
 public:
  NoBreakAtEquals() : saved_(EQUAL_KAIGYO) { EQUAL_KAIGYO = 0; }
  ~NoBreakAtEquals() { EQUAL_KAIGYO = saved_; }
  NoBreakAtEquals(const NoBreakAtEquals&) = delete;
  NoBreakAtEquals& operator=(const NoBreakAtEquals&) = delete;
  int Saved() const { return saved_; }

 private:
  int saved_;
};

// The "(" and red "－" of a negative value (the "(" only with parenthesise); returns the x after them.
int NegativeSign(Canvas& s, int x, int y, int cw, bool parenthesise) {
  FontGuard g(s);
  if (parenthesise) {
    Put(s, x, y, "(", CLR_BLUE);
    x += cw;
  }
  Put(s, x, y, "－", CLR_RED);
  return x + 2 * cw;
}

void CloseParen(Canvas& s, int x, int y) {
  FontGuard g(s);
  Put(s, x, y, ")", CLR_BLUE);
}

// Magnitude of a stored part as a non-negative value (parts are non-negative in every valid value).
int64_t Part(int64_t v) { return v < 0 ? (v == INT64_MIN ? INT64_MAX : -v) : v; }

// The reduced value and its texts, as TypesetReduction leaves them.
struct Reduction {
  Bunsuu reduced;
  std::string text;
  std::string integerText;
  int64_t g = 1;
};

Reduction ReduceForFigure(const Bunsuu& value, bool withParentheses) {
  Reduction r;
  r.g = Gcd64(Part(value.den), Part(value.num));
  if (r.g <= 0) r.g = 1;
  r.reduced = value;
  r.reduced.den = value.den / r.g;
  r.reduced.num = value.num / r.g;
  r.text = FormatBunsuu(r.reduced, withParentheses ? 1 : 0);
  if (r.reduced.den != 0 && r.reduced.num % r.reduced.den == 0)
    r.integerText = FormatBunsuu(ToMixed(r.reduced), withParentheses ? 1 : 0);
  return r;
}

}  // namespace

int TypesetFractionValue(Canvas& surface, const Bunsuu& value, int x, int y, int cw, int ch,
                         bool parenthesise) {
  if (value.sign == 0) {
    FontGuard g(surface);
    // The end of the "0", so that what follows is not drawn over it.
    return Put(surface, x, y, "0", CLR_BLACK);
  }
  if (value.sign < 0) x = NegativeSign(surface, x, y, cw, parenthesise);
  if (value.whole != 0) {
    // In the caller's colour: a value shown in navy is navy throughout its whole part.
    surface.TextOut(x, y, std::to_string(value.whole));
    x = surface.PenPos().x;
  }
  if (value.num != 0) {
    const std::string d = std::to_string(value.den), n = std::to_string(value.num);
    const long long ld = static_cast<long long>(d.size()), ln = static_cast<long long>(n.size());
    const int width = ClampInt(cw * std::max(ld, ln));
    DrawBar(surface, x, y + ch / 2, width);
    TypesetRun(surface, d, ClampInt(x + cw * std::max(0LL, ln - ld) / 2), y + ch / 2 + 3, -1, cw, ch);
    TypesetRun(surface, n, ClampInt(x + cw * std::max(0LL, ld - ln) / 2), y - ch / 2 - 3, -1, cw, ch);
    x = ClampInt(static_cast<long long>(x) + width);
  }
  // The closing ")" is not part of the returned width; it is drawn for an integer value too, so that a
  // parenthesised negative integer is never left open.
  if (parenthesise && value.sign < 0) CloseParen(surface, x, y);
  return x;
}

int TypesetAnswer(Canvas& surface, const std::string& answer, int x, int y, int cw, int ch, int number) {
  NoBreakAtEquals noBreak;
  FontGuard guard(surface);
  const std::string label = number > 0 ? "【" + std::to_string(number) + "の答】" : "【答】";
  Put(surface, x, y, label, CLR_RED);
  const int ax = ClampInt(x + static_cast<long long>(cw) * static_cast<long long>(SjisLength(label)));
  int end;
  if (answer.find("不") != std::string::npos) {
    // "(不定)" and "(不能)" are words, not expressions.
    end = Put(surface, ax, y, answer, CLR_BLACK);
  } else {
    surface.SetFontColor(guard.Colour());
    end = TypesetLine(surface, answer, ax, y, cw, ch);
  }
  const int row = answer.find('b') != std::string::npos ? y + 7 * ch / 4 : y + 5 * ch / 4;
  TealLine(surface, x + cw / 2, row, end + cw / 2, row);
  return end;
}

int TypesetLineAndAnswer(Canvas& surface, const std::string& text, int x, int y, int cw, int ch,
                         AnswerPlace place, int number) {
  const size_t amp = text.find('&');
  const std::string line = text.substr(0, amp);
  const int e = TypesetLine(surface, line, x, y, cw, ch);
  const int y2 = ClampInt(y + static_cast<long long>(LinePitch) * BreakCount * ch / 2);
  AnswerMovedDown = false;
  if (amp == std::string::npos || amp + 1 >= text.size()) return e;
  const std::string answer = text.substr(amp + 1);
  int ax, ay;
  if (place.kind == AnswerPlace::Kind::AfterLine) {
    ax = ClampInt(static_cast<long long>(e) + 4LL * cw);
    ay = y2;
  } else if (place.kind == AnswerPlace::Kind::BelowLine) {
    ax = x;
    ay = ClampInt(static_cast<long long>(y2) + 3LL * ch);
  } else {
    const long long c = place.column;
    ax = ClampInt(x + c * cw);
    ay = y2;
    if (ax < static_cast<long long>(e) + 2LL * cw) {
      ay = ClampInt(y2 + ch * 5LL / 2);
      AnswerMovedDown = true;
    }
  }
  return TypesetAnswer(surface, answer, ax, ay, cw, ch, number);
}

int DrawCancelledNumber(Canvas& surface, int64_t number, int64_t replacement, bool below, int x, int y,
                        int cw, int ch) {
  if (number == -1) return -1;
  FontGuard guard(surface);
  const std::string digits = std::to_string(number);
  const long long len = static_cast<long long>(digits.size());
  Put(surface, x, y, digits, CLR_BLACK);
  surface.SetFontBold(true);
  surface.SetFontSize(ScaledSize(guard.Size(), 7));
  const int rx = ClampInt(x + cw * len / 2);
  const int ry = below ? y + ch : y - ch * 6 / 10;
  Put(surface, rx, ry, std::to_string(replacement), CLR_MAROON);
  TealLine(surface, x, y, ClampInt(x + cw * len), y + ch);
  return 1;
}

int TypesetReduction(Canvas& surface, const Bunsuu& value, int x, int y, int cw, int ch,
                     ReductionShown shown) {
  NoBreakAtEquals noBreak;
  FontGuard guard(surface);
  const int entryX = x, entryY = y;
  const int lowerTop = y + ch / 2 + 3, upperTop = y - ch / 2 - 3;
  if (value.sign == 0) {
    Put(surface, x, y, "0", CLR_BLACK);
    return x + cw;
  }
  if (value.sign < 0) x = NegativeSign(surface, x, y, cw, shown.parenthesise);
  if (value.whole != 0) {
    x = Put(surface, x, y, std::to_string(value.whole), CLR_NAVY);
    surface.SetFontColor(guard.Colour());
  }
  if (value.num == 0) return x;

  const Reduction r = ReduceForFigure(value, shown.parenthesise);
  const long long ld = DigitCount(value.den), ln = DigitCount(value.num);
  const int width = ClampInt(cw * std::max(ld, ln));
  DrawBar(surface, x, y + ch / 2, width);
  DrawCancelledNumber(surface, value.den, r.reduced.den, true, ClampInt(x + cw * std::max(0LL, ln - ld) / 2),
                      lowerTop, cw, ch);
  DrawCancelledNumber(surface, value.num, r.reduced.num, false, ClampInt(x + cw * std::max(0LL, ld - ln) / 2),
                      upperTop, cw, ch);
  x = ClampInt(static_cast<long long>(x) + width);
  if (shown.parenthesise && value.sign < 0) CloseParen(surface, x, y);

  if (shown.longForm) {
    Put(surface, x + cw, y, "〔", CLR_MAGENTA);
    surface.SetFontColor(guard.Colour());
    const int start = surface.PenPos().x;
    const int end = TypesetLine(surface, Equals(LongFormText(value, 0)), start, y, cw, ch);
    Put(surface, end + cw, y, "〕", CLR_MAGENTA);
    surface.SetFontColor(guard.Colour());
  }

  // Where "=" and the reduced value go: on a new row when lines break at "=", else right after.
  const bool breaks = noBreak.Saved() != 0;
  const int step = ClampInt(static_cast<long long>(LinePitch) * ch / 2);
  int rx = breaks ? entryX - 2 * cw : x;
  int ry = breaks ? ClampInt(static_cast<long long>(upperTop) + ch + step) : entryY;
  if (shown.result) {
    TypesetLine(surface, Equals(r.text), rx, ry, cw, ch);
    ry = surface.PenPos().y;
  }
  if (!r.integerText.empty() && shown.result) {
    if (breaks)
      ry = ClampInt(static_cast<long long>(ry) + step);
    else
      ry = entryY;
    TypesetLine(surface, Equals(r.integerText), rx, ry, cw, ch);
  }
  ReducedText = r.text;
  ReducedIntegerText = r.integerText;
  return x;
}

int ReductionTexts(const Bunsuu& value, bool withParentheses) {
  if (value.num == 0) return -1;
  const Reduction r = ReduceForFigure(value, withParentheses);
  ReducedText = r.text;
  ReducedIntegerText = r.integerText;
  return 1;
}
