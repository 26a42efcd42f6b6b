// Zoom of the calculation page (Ctrl+plus, Ctrl+minus, Ctrl+0): the screen font steps through a list of
// sizes and the whole page, stacked fractions included, is laid out again from the new cell size; the size
// that suits a device's page; and the least font size of large print, at which the smallest text of the
// page is 12 pixels high.
#pragma once

// Font sizes, in points, that zoom steps through.
inline constexpr int ZOOM_SIZES[] = {8,  9,  10, 11, 12, 14, 16, 18, 20, 22,
                                     24, 28, 32, 36, 40, 48, 56, 64, 72};
inline constexpr int ZOOM_DEFAULT_SIZE = 14;

// Moves FONTSIZE steps sizes up (positive) or down (negative) through ZOOM_SIZES (a size between two
// entries counts as the one below it), prepares the screen surface for it and repaints. Returns the new
// size.
int ZoomScreen(int steps);
// Ctrl+0: back to the home size (or to the large-print minimum when large print is on).
int ZoomReset();

// The size Ctrl+0 goes back to: ZOOM_DEFAULT_SIZE, or the size that suits the device the page is shown on
// (the browser edition sets it from its window).
extern int ZoomHomeSize;

// The font size that suits a page of width × height pixels: the default on a laptop's 1024 × 768 page,
// larger in proportion to a taller page that is wide enough for it (an iPad's 820 × 1180 draws the line's
// digits 20 pixels high or more), never below the default. One of ZOOM_SIZES.
int DeviceFontSize(int width, int height);

// Ctrl with "+" (";" key, keypad +, or "=" typed with Shift), "-" or "0": zooms and returns true;
// any other key returns false and is left to the key map.
bool ZoomKey(int key, int shift);

// The least screen font size, at a resolution in pixels per inch, at which the smallest text of the page
// (the verdict, drawn at six tenths of the size) is drawn 12 pixels high or more.
int LargePrintMinimumSize(int pixelsPerInch);
