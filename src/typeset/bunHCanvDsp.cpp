// Draws an expression fraction over one bar (its denominator and numerator are drawn as whole lines by
// the line typesetter) and writes the long form of a reduction.
#include "typeset/bunHCanvDsp.h"

#include <cstdlib>

#include "engine/Bunio.h"
#include "typeset/TypesetCommon.h"
#include "typeset/bunCanvasDsp.h"

using namespace typeset_detail;

int TypesetExpressionFraction(Canvas& surface, const BunsuuH& fraction, int x, int y, int cw, int ch,
                              bool parenthesise, bool showPlus) {
  FontGuard guard(surface);
  surface.SetFontPitch(FontPitch::Fixed);
  x += 2;
  const int s = SignOfText(fraction.sign);
  if (s == 0) {
    Put(surface, x, y, "0", CLR_BLACK);
    return x + cw;
  }
  bool opened = false;
  if (s == -1 || (s == 1 && showPlus)) {
    if (parenthesise) {
      Put(surface, x, y, "(", CLR_BLUE);
      x += cw;
      opened = true;
    }
    Put(surface, x, y, s == -1 ? "－" : "＋", CLR_RED);
    surface.SetFontColor(CLR_BLACK);
    x += 2 * cw;
  }
  if (s == -2 || fraction.whole.empty() || !FitsInt64Text(fraction.whole, 0)) {
    BunsuuhError = 50;
    return x;
  }
  if (std::strtoll(fraction.whole.c_str(), nullptr, 10) > 0)
    x = Put(surface, x, y, fraction.whole, CLR_BLACK);

  // The narrower part is centred over (or under) the wider one.
  const long long wd = CellCount(fraction.den), wn = CellCount(fraction.num);
  const int shiftD = wd < wn ? ClampInt(cw * (wn - wd) / 2) : 0;
  const int shiftN = wn < wd ? ClampInt(cw * (wd - wn) / 2) : 0;
  ++FractionDepth;
  const int endD = TypesetLine(surface, fraction.den, x + shiftD + 3, y + ch / 2 + 3, cw, ch);
  surface.SetFontSize(guard.Size());
  const int endN = TypesetLine(surface, fraction.num, x + shiftN + 3, y - ch / 2 - 2, cw, ch);
  --FractionDepth;
  const int end = std::max(endD, endN);
  DrawBar(surface, x, y + ch / 2, end - x);
  CursorPos = {endN, y - ch / 2 - 2};
  x = end;
  if (opened) {
    x = Put(surface, x, y, ")", CLR_BLUE);
    CursorPos.x = x;
  }
  return x + 2;
}

std::string LongFormText(const Bunsuu& value, int withValue) {
  if (value.sign == 0) return "0";
  // Built by appending (GCC 12 warns falsely on "literal" + std::string chains).
  std::string sw;
  if (value.sign < 0) sw += '-';
  if (value.whole != 0) sw += std::to_string(value.whole);
  if (value.num == 0) return sw;
  int64_t g = Gcd64(value.den, value.num);
  if (g == 0) g = 1;  // only for a damaged value with den and num both 0
  const std::string gs = std::to_string(g);
  std::string t = "[";
  t += sw;
  t += 'K';
  t += std::to_string(value.den);
  t += '/';
  t += gs;
  t += 'B';
  t += std::to_string(value.num);
  t += '/';
  t += gs;
  t += ']';
  LastLongForm = ParseBunsuuh(t);
  if (withValue == 1) {
    t += '=';
    t += FormatBunsuu(BunsuuhValue(LastLongForm), 0);
  }
  return t;
}
