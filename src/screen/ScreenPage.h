// The page of the calculation screen drawn on a Canvas, without a window: its geometry (A4 page length,
// the line origin, the process offset), the paint order, the start-of-line mark and the cursor cell. The
// window (ui/screen/Kazoru) owns scroll bar, strip, side panel and status line and calls these; the batch
// tool's render command draws the same page onto an image.
#pragma once

#include <string>

#include "platform/Canvas.h"

inline constexpr int INPUT_STRIP_HEIGHT = 28;
inline constexpr int SIDE_PANEL_WIDTH = 32;
inline constexpr int SCROLL_STEP = 4;  // keys and the wheel move the page by this much
inline constexpr int PAGEA4BAI_MIN = 80;
inline constexpr int PAGEA4BAI_MAX = 400;
inline constexpr int GYOKEISUU_MIN = 1;
inline constexpr int GYOKEISUU_MAX = 12;

// The page's record (state records: tools/ProgramState.h).
struct ScreenPageState {
  Canvas* ScreenSurface = nullptr;
  int ScreenPixelsPerInch = 96;
  int PageScrollX = 0;
  int PageContentRight = 0;
  int (*DrawCurrentLineHook)(Canvas& surface, const std::string& lineText, bool withProcess) = nullptr;

  void Reset();  // DrawCurrentLineHook back to the plain typesetting
};
extern ScreenPageState ScreenPageData;

// The current drawing surface of the calculation screen (the window's page); the line draws nothing
// while none is set. Not owned.
inline auto& ScreenSurface = ScreenPageData.ScreenSurface;
// The resolution the page length is computed from (the screen's pixels per inch).
inline auto& ScreenPixelsPerInch = ScreenPageData.ScreenPixelsPerInch;
// The page scrolled sideways by this many pixels (a line or a process wider than the window).
inline auto& PageScrollX = ScreenPageData.PageScrollX;
// The right edge of what the last PaintPage drew, in page coordinates (before the sideways scroll).
inline auto& PageContentRight = ScreenPageData.PageContentRight;

// A4 height and width in pixels at the screen's resolution (11.7 and 8.3 inches, truncated).
int A4Height();
int A4Width();
// The range of the vertical scroll bar: A4 height × PAGEA4BAI / 100.
int PageLength();
// 1.5 × CharHeight while process display is on, else 0.
int ProcessOffset();
// x = 2 × CharHeight; y = 3 × CharHeight / 2 + process offset − scroll position (+ strip height when the
// input-string strip is shown). Also stored in LineOrigin.
CanvasPoint ComputeLineOrigin();

// Sets up a surface as the screen draws on it: font FONTNAME at FONTSIZE, fixed pitch, teal pen of
// width 2, cream brush; then measures CharWidth and CharHeight on it.
void PrepareScreenSurface(Canvas& surface);

// The page as a freshly started program has it: no surface, no sideways scroll, the line drawn plainly.
void ResetScreenPage();

// The start-of-line mark at (CharHeight / 2, LineOrigin.y): "■ " navy with process display on, else
// "Ｎ " green in base mode, else "◆ " red. Returns the pen x afterwards.
int DrawStartMark(Canvas& surface);
// The start-of-line mark for the line's mode and its colour: "◆ " red, "■ " navy while the process is
// shown, "Ｎ " green in base mode.
struct StartMarkStyle {
  const char* text;
  Color color;
};
StartMarkStyle StartMark();

// Paints the page in the screen's order: background over width × height, the line origin, the mark,
// the line (open: typeset with its answer column; closed: the current line, with its process when one
// is stored), the verdict, and the cursor position taken from the drawing. Everything but the
// background is drawn PageScrollX further left; PageContentRight records how far the drawing reached.
void PaintPage(Canvas& surface, int width, int height);

// The width of the client area the page may use: the date strip at the right takes SIDE_PANEL_WIDTH of
// it while it is shown.
int PageViewWidth(int clientWidth);
// How far the page scrolls sideways: far enough that the content of the last paint and the cursor, with
// one cell to spare, end left of the date strip; 0 when they fit.
int PageScrollXRange(int clientWidth);

// The scroll positions, sideways (PageScrollX) and downwards (ScrollPos), that show the cursor cell of
// the last paint in a client area of this size with a cell to spare round it, moving the page as little
// as possible: the current ones while the cell is in view. The window follows the cursor with them
// whenever the line has changed, so that a pupil never types out of sight.
struct PageScrollPlace {
  int x = 0;
  int y = 0;
};
PageScrollPlace ScrollShowingCursor(int clientWidth, int clientHeight);

// The draws of a closed line. The process display installs its own (with the process when
// withProcess); until then the line is typeset with its answer under it.
inline auto& DrawCurrentLineHook = ScreenPageData.DrawCurrentLineHook;

// The cursor cell at CursorPos: (x + 2, y + 2) – (x + CharWidth − 2, y + height − 2), its top at
// RaisedTop and 0.7 cells high while an exponent is typed; moved left by the sideways scroll.
CanvasRect CursorCell();
