// Writes a text downwards, one character under the other (the goal label beside the calculation screen).
#include "typeset/Tategakicanv.h"

#include <algorithm>
#include <climits>
#include <string_view>

#include "platform/ShiftJis.h"
#include "typeset/TypesetCommon.h"

using namespace typeset_detail;

namespace {

// Byte length of the UTF-8 sequence that starts with lead (1 for a stray byte, so every step advances).
size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC2) return 2;
  return 1;
}

}  // namespace

void DrawVerticalText(Canvas& surface, int x, int y, const std::string& text, int align, int advance) {
  const int q = surface.TextWidth("山川草木") / 4;
  const int h = surface.TextHeight("山川草木");
  if (align == 1)
    x -= q / 2;
  else if (align != 0)
    x -= q;
  long long k = 0;
  for (size_t i = 0; i < text.size(); ++k) {
    size_t len = std::min(SequenceLength(static_cast<unsigned char>(text[i])), text.size() - i);
    const std::string ch = text.substr(i, len);
    i += len;
    const int top = ClampInt(y + static_cast<long long>(advance) * k * h / 100);
    // A full-width character fills the column; a single-byte one is moved in by a quarter of it.
    surface.TextOut(SjisLength(ch) >= 2 ? x : x + q / 4, top, ch);
  }
}

int VerticalTextFitSize(Canvas& surface, const std::string& text, int height, int advance, int minSize) {
  long long steps = 0;
  for (size_t i = 0; i < text.size(); ++steps)
    i += std::min(SequenceLength(static_cast<unsigned char>(text[i])), text.size() - i);
  const int start = surface.FontSize();
  int size = start;
  for (; size > minSize; --size) {
    surface.SetFontSize(size);
    const long long h = surface.TextHeight("山川草木");
    // The last character starts (steps − 1) advances down and is one character high.
    const long long bottom = steps > 0 ? static_cast<long long>(advance) * (steps - 1) * h / 100 + h : 0;
    if (bottom <= height) break;
  }
  surface.SetFontSize(start);
  return std::max(size, std::min(start, minSize));
}

namespace {

long long CharacterCount(const std::string& text) {
  long long steps = 0;
  for (size_t i = 0; i < text.size(); ++steps)
    i += std::min(SequenceLength(static_cast<unsigned char>(text[i])), text.size() - i);
  return steps;
}

}  // namespace

VerticalColumns FitVerticalColumns(Canvas& surface, const std::string& text, int width, int height,
                                   int advance, int minSize) {
  const long long steps = CharacterCount(text);
  const int start = surface.FontSize();
  VerticalColumns fit;
  bool found = false;
  for (int columns = 1; columns <= 4 && !found; ++columns) {
    const long long per = std::max(1LL, (steps + columns - 1) / columns);
    for (int size = start; size >= std::min(start, minSize); --size) {
      surface.SetFontSize(size);
      const long long h = surface.TextHeight("山川草木");
      const int w = surface.TextWidth("山川草木") / 4;
      const long long bottom = steps > 0 ? static_cast<long long>(advance) * (per - 1) * h / 100 + h : 0;
      fit = {size, static_cast<int>(std::min<long long>(per, INT_MAX)), columns, w};
      if (bottom <= height && (columns == 1 || static_cast<long long>(columns) * w <= width)) {
        found = true;
        break;
      }
    }
  }
  surface.SetFontSize(start);
  return fit;
}

void DrawVerticalColumns(Canvas& surface, int x, int y, const std::string& text,
                         const VerticalColumns& layout, int advance) {
  const int per = std::max(1, layout.perColumn);
  size_t i = 0;
  for (int column = 0; i < text.size(); ++column) {
    size_t end = i;
    for (int k = 0; k < per && end < text.size(); ++k)
      end += std::min(SequenceLength(static_cast<unsigned char>(text[end])), text.size() - end);
    const long long cx = static_cast<long long>(x) - static_cast<long long>(column) * layout.columnWidth;
    DrawVerticalText(surface, ClampInt(cx), y, text.substr(i, end - i), 1, advance);
    i = end;
  }
}
