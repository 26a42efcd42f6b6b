// Small helpers the typesetter's source files share: scaled font sizes, clamped pixel arithmetic and a
// guard that puts the font back as it was. Not part of the typesetter's interface.
#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/Characters.h"
#include "platform/Canvas.h"
#include "typeset/bunCanvasDsp.h"

namespace typeset_detail {

// Pixel positions are computed wide and clamped, so an absurd cell size or row count cannot overflow.
inline int ClampInt(long long v) {
  return static_cast<int>(std::clamp<long long>(v, INT_MIN / 2, INT_MAX / 2));
}

// base × tenths / 10 truncated towards zero; a size below 1 point is drawn at 1 point.
inline int ScaledSize(int base, int tenths) {
  long long v = static_cast<long long>(base) * tenths / 10;
  return static_cast<int>(std::clamp<long long>(v, 1, INT_MAX / 2));
}

// Number of decimal digits a value is written with (a minus sign counts as a cell too).
inline int DigitCount(int64_t v) { return static_cast<int>(std::to_string(v).size()); }

// Restores size, colour and boldness of the font on scope exit: every local change is undone.
class FontGuard {
 public:
  explicit FontGuard(Canvas& s) : s_(s), size_(s.FontSize()), color_(s.FontColor()), bold_(s.FontBold()) {}
  ~FontGuard() {
    s_.SetFontSize(size_);
    s_.SetFontColor(color_);
    s_.SetFontBold(bold_);
  }
  FontGuard(const FontGuard&) = delete;
  FontGuard& operator=(const FontGuard&) = delete;
  int Size() const { return size_; }
  Color Colour() const { return color_; }
  bool Bold() const { return bold_; }

 private:
  Canvas& s_;
  int size_;
  Color color_;
  bool bold_;
};

// Draws text in a colour (and boldness) and returns the pen x afterwards; the font colour is left set.
inline int Put(Canvas& s, int x, int y, const std::string& text, Color c) {
  s.SetFontColor(c);
  s.TextOut(x, y, text);
  return s.PenPos().x;
}

// A teal line from (x1, y1) to (x2, y2) with the current pen width; the pen colour is put back.
inline void TealLine(Canvas& s, int x1, int y1, int x2, int y2) {
  Color old = s.PenColor();
  s.SetPenColor(CLR_TEAL);
  s.MoveTo(x1, y1);
  s.LineTo(x2, y2);
  s.SetPenColor(old);
}

// Depth of nested expression fractions being drawn; brackets never nest in a valid text, so a deep
// nesting only comes from a damaged text and is drawn flat instead of recursing further.
inline constexpr int MAX_FRACTION_DEPTH = 4;
inline auto& FractionDepth = TypesetData.FractionDepth;

}  // namespace typeset_detail
