// Draws the page of the calculation screen on a Canvas in the screen's paint order and computes its
// geometry; the window only supplies the surface and its size.
#include "screen/ScreenPage.h"

#include <algorithm>
#include <climits>

#include "engine/Settings.h"
#include "platform/ShiftedCanvas.h"
#include "process/CalcProcManage.h"
#include "screen/ScreenSteps.h"
#include "screen/sikiInp.h"
#include "typeset/bunCanvasDsp.h"

namespace {

int DrawLinePlainly(Canvas& surface, const std::string& lineText, bool /*withProcess*/) {
  TypesetLineAndAnswer(surface, lineText, LineOrigin.x, LineOrigin.y, CharWidth, CharHeight,
                       {.kind = AnswerPlace::Kind::BelowLine});
  return 1;
}

}  // namespace

ScreenPageState ScreenPageData{.DrawCurrentLineHook = DrawLinePlainly};

void ScreenPageState::Reset() { *this = ScreenPageState{.DrawCurrentLineHook = DrawLinePlainly}; }

void ResetScreenPage() { ScreenPageData.Reset(); }

int A4Height() { return ScreenPixelsPerInch * 117 / 10; }
int A4Width() { return ScreenPixelsPerInch * 83 / 10; }

int PageLength() { return A4Height() * PAGEA4BAI / 100; }

int ProcessOffset() { return PROCDSP ? CharHeight * 3 / 2 : 0; }

CanvasPoint ComputeLineOrigin() {
  LineOrigin.x = 2 * CharHeight;
  LineOrigin.y = 3 * CharHeight / 2 + ProcessOffset() - ScrollPos + (INPUTSTR_DSP ? INPUT_STRIP_HEIGHT : 0);
  return LineOrigin;
}

void PrepareScreenSurface(Canvas& surface) {
  surface.SetFontName(FONTNAME);
  surface.SetFontSize(FONTSIZE);
  surface.SetFontPitch(FontPitch::Fixed);
  surface.SetFontBold(false);
  surface.SetFontColor(CLR_BLACK);
  surface.SetPenColor(CLR_TEAL);
  surface.SetPenWidth(2);
  surface.SetBrushColor(CLR_CREAM);
  // A cell of zero pixels would stack every character on one spot; one pixel is the least.
  CharWidth = std::max(1, surface.TextWidth("1234567890") / 10);
  CharHeight = std::max(1, surface.TextHeight("1234567890"));
  ScreenPixelsPerInch = surface.PixelsPerInch() > 0 ? surface.PixelsPerInch() : 96;
}

StartMarkStyle StartMark() {
  if (PROCDSP) return {"■ ", CLR_NAVY};
  if (BaseMode) return {"Ｎ ", CLR_GREEN};
  return {"◆ ", CLR_RED};
}

int DrawStartMark(Canvas& surface) {
  ComputeLineOrigin();
  const StartMarkStyle mark = StartMark();
  Color before = surface.FontColor();
  surface.SetFontColor(mark.color);
  surface.TextOut(CharHeight / 2, LineOrigin.y, mark.text);
  surface.SetFontColor(before);
  return surface.PenPos().x;
}

void PaintPage(Canvas& page, int width, int height) {
  page.SetBrushColor(CLR_CREAM);
  page.FillRect(CanvasRect{0, 0, width, height});
  // The drawing goes through a shifted surface: it scrolls sideways and tells how wide the page is.
  ShiftedCanvas surface(page, PageScrollX, 0);
  ComputeLineOrigin();
  BreakCount = 0;
  LinePitch = GYOKEISUU;
  DrawStartMark(surface);
  surface.SetFontColor(CLR_BLACK);
  surface.SetPenColor(CLR_TEAL);

  CursorFollowsPen = true;
  if (LineOpen) {
    CursorPos = LineOrigin;
    if (!LineText.empty())
      TypesetLineAndAnswer(surface, LineText, LineOrigin.x, LineOrigin.y, CharWidth, CharHeight,
                           {.kind = AnswerPlace::Kind::BelowLine});
  } else if (!LineText.empty()) {
    DrawCurrentLineHook(surface, LineText, ProcessState.processType != ProcessType::None);
  }
  // Constructs that place the cursor themselves (a fraction waiting for its numerator) have cleared the
  // follow flag and written CursorPos; otherwise the cursor stands where the drawing ended.
  if (CursorFollowsPen && !LineText.empty()) CursorPos = surface.PenPos();
  CursorFollowsPen = false;

  if (!LineVerdict.text.empty() && LineVerdict.forLine == LineText) {
    int x = LineOrigin.x + LineVerdict.offset.x;
    int y = LineOrigin.y + LineVerdict.offset.y;
    if (LineVerdict.atEquals) {
      x = EqualsPoint.x + 2 * CharWidth;
      y = EqualsPoint.y + CharHeight;
    }
    int size = surface.FontSize();
    Color color = surface.FontColor();
    surface.SetFontSize(std::max(1, FONTSIZE * LineVerdict.sizeTenths / 10));
    surface.SetFontColor(LineVerdict.color);
    surface.TextOut(x, y, LineVerdict.text);
    surface.SetFontSize(size);
    surface.SetFontColor(color);
  }
  DrawLineSteps(surface);
  surface.SetFontSize(FONTSIZE);
  surface.SetFontColor(CLR_BLACK);
  surface.SetBrushColor(CLR_CREAM);
  PageContentRight = std::max(0, surface.Right());
}

int PageViewWidth(int clientWidth) { return std::max(0, clientWidth - (WAKIGAKI ? SIDE_PANEL_WIDTH : 0)); }

int PageScrollXRange(int clientWidth) {
  // The cursor after the last character counts as drawn: the page scrolls far enough to show it.
  const long long right =
      std::max<long long>(PageContentRight, static_cast<long long>(CursorPos.x) + CharWidth);
  const long long need = right + CharWidth - PageViewWidth(clientWidth);
  return static_cast<int>(std::clamp<long long>(need, 0, INT_MAX / 2));
}

PageScrollPlace ScrollShowingCursor(int clientWidth, int clientHeight) {
  PageScrollPlace to{PageScrollX, ScrollPos};
  const int view = PageViewWidth(clientWidth);
  const int cw = std::max(1, CharWidth), ch = std::max(1, CharHeight);
  // Sideways, in page coordinates: the cell and one more after it stay left of the view's right edge.
  const long long left = CursorPos.x, right = static_cast<long long>(CursorPos.x) + 2 * cw;
  if (right - to.x > view) to.x = static_cast<int>(std::clamp<long long>(right - view, 0, INT_MAX / 2));
  if (left - cw < to.x) to.x = static_cast<int>(std::clamp<long long>(left - cw, 0, INT_MAX / 2));
  // Downwards: CursorPos.y is already on the view, moved up by the scroll position.
  const int cellTop = RaisedMode ? RaisedTop : CursorPos.y;
  const int top = (INPUTSTR_DSP ? INPUT_STRIP_HEIGHT : 0) + ch / 2;
  const long long bottom = static_cast<long long>(CursorPos.y) + 2 * ch;
  long long y = to.y;
  if (bottom > clientHeight) y += bottom - clientHeight;
  if (cellTop < top) y -= top - cellTop;
  to.y = static_cast<int>(std::clamp<long long>(y, 0, std::max(0, PageLength())));
  return to;
}

CanvasRect CursorCell() {
  int top = CursorPos.y;
  int cellHeight = CharHeight;
  if (RaisedMode) {
    top = RaisedTop;
    cellHeight = CharHeight * 7 / 10;
  }
  const int x = CursorPos.x - PageScrollX;
  return CanvasRect{x + 2, top + 2, x + CharWidth - 2, top + cellHeight - 2};
}
