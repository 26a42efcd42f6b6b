// Writes a text downwards, one character under the other, for the goal label beside the calculation
// screen. It knows nothing of goals or settings; the side panel passes position, alignment and advance.
#pragma once

#include <string>

#include "platform/Canvas.h"

// Draws text from (x, y) downwards in the surface's current font. align 0 keeps x, 1 centres on x, any
// other value right-aligns at x; advance is the step in percent of the character height (JIOKURI).
// A full-width character is one step; a single-byte character is drawn a quarter cell to the right.
void DrawVerticalText(Canvas& surface, int x, int y, const std::string& text, int align, int advance);

// The font size at which the whole text, written downwards with this advance, fits into height pixels:
// the surface's current size when it fits, else the largest smaller one, but not below minSize. The
// surface's font size is left as it was.
int VerticalTextFitSize(Canvas& surface, const std::string& text, int height, int advance, int minSize = 6);

// A text written downwards in a box, in as few columns as it needs: the font size, the characters each
// column takes and the number of columns. Columns follow one another right to left, as vertical Japanese
// is read.
struct VerticalColumns {
  int size = 0;
  int perColumn = 0;
  int columns = 1;
  int columnWidth = 0;  // the width of a full-width character at size, a column's pitch
};
// One column at the largest size from the surface's own down to minSize that fits height; when even
// minSize does not, two columns (then three, four) at the largest size that fits both the height and,
// side by side, the width. A text too long for four columns gets four at minSize. The surface's font
// size is left as it was.
VerticalColumns FitVerticalColumns(Canvas& surface, const std::string& text, int width, int height,
                                   int advance, int minSize = 6);
// Draws the text in its columns at the surface's current size (set it to layout.size first): the first
// column centred on x, each next one a column's pitch to the left.
void DrawVerticalColumns(Canvas& surface, int x, int y, const std::string& text,
                         const VerticalColumns& layout, int advance);
