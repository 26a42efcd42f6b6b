// Draws the current line on paper through the same drawing the screen uses.
#include "screen/PrintedLine.h"

#include <algorithm>

#include "engine/Settings.h"
#include "process/CalcProcManage.h"
#include "screen/ScreenPage.h"
#include "screen/sikiInp.h"
#include "typeset/bunCanvasDsp.h"

namespace {

// The start-of-line mark at the printed line's own origin (the screen's mark follows the screen's
// origin, which the page does not use).
void PrintStartMark(Canvas& surface) {
  const StartMarkStyle mark = StartMark();
  surface.SetFontColor(mark.color);
  surface.TextOut(CharHeight / 2, LineOrigin.y, mark.text);
  surface.SetFontColor(CLR_BLACK);
}

}  // namespace

void DrawPrintedLine(Canvas& surface, int penWidth) {
  surface.SetPenWidth(penWidth);
  surface.SetPenColor(CLR_TEAL);
  surface.SetFontName(FONTNAME);
  surface.SetFontPitch(FontPitch::Fixed);
  surface.SetFontSize(FONTSIZE);
  surface.SetFontColor(CLR_BLACK);
  surface.SetFontBold(false);
  surface.SetBrushColor(CLR_WHITE);

  Canvas* screen = ScreenSurface;
  const int savedWidth = CharWidth, savedHeight = CharHeight;
  const CanvasPoint savedOrigin = LineOrigin;
  const int savedBreaks = BreakCount;
  ScreenSurface = &surface;
  CharWidth = std::max(1, surface.TextWidth("1234567890") / 10);
  CharHeight = std::max(1, surface.TextHeight("1234567890"));
  LineOrigin = CanvasPoint{2 * CharHeight, 2 * CharHeight};
  BreakCount = 0;
  LinePitch = GYOKEISUU;
  PrintStartMark(surface);
  DrawCurrentLineHook(surface, LineText, ProcessState.processType != ProcessType::None);
  CharWidth = savedWidth;
  CharHeight = savedHeight;
  LineOrigin = savedOrigin;
  BreakCount = savedBreaks;
  ScreenSurface = screen;
}
