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
