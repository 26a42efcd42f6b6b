// Prints the current line on a printer page through the same drawing the screen uses.
#include "ui/screen/PrintLine.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "engine/Settings.h"
#include "platform/Platform.h"
#include "process/CalcProcManage.h"
#include "screen/ScreenPage.h"
#include "screen/sikiInp.h"
#include "typeset/bunCanvasDsp.h"
#include "ui/AppStart.h"
#include "ui/PdfOutput.h"
#include "ui/QtCanvas.h"
#include "ui/QtPlatform.h"

namespace {

bool DefaultPrintLineSetup(QPrinter& printer) {
  QPrintDialog dialog(&printer, TheQtPlatform().Owner());
  JapanesePrintDialog(dialog);
  return dialog.exec() == QDialog::Accepted;
}

// The start-of-line mark at the printed line's own origin (the screen's mark follows the screen's
// origin, which the page does not use).
void PrintStartMark(Canvas& surface) {
  const StartMarkStyle mark = StartMark();
  surface.SetFontColor(mark.color);
  surface.TextOut(CharHeight / 2, LineOrigin.y, mark.text);
  surface.SetFontColor(CLR_BLACK);
}

}  // namespace

PrintLineHooks PrintLineWiring{DefaultPrintLineSetup};

void PreparePrintedLineSurface(QtCanvas& canvas) {
  canvas.SetPenWidth(3);
  canvas.SetPenColor(CLR_TEAL);
  canvas.SetFontName(FONTNAME);
  canvas.SetFontPitch(FontPitch::Fixed);
  canvas.SetFontSize(FONTSIZE);
  canvas.SetFontColor(CLR_BLACK);
  canvas.SetFontBold(false);
  canvas.SetBrushColor(CLR_WHITE);
}

bool PrintLineOn(QPrinter& printer) {
  // At 300 dots per inch a pen of 3 dots is a bar a pupil sees on paper (at 1200 it would be a hairline).
  printer.setResolution(300);
  QPainter painter;
  if (!painter.begin(&printer)) return false;

  Canvas* screen = ScreenSurface;
  const int savedWidth = CharWidth, savedHeight = CharHeight;
  const CanvasPoint savedOrigin = LineOrigin;
  const int savedBreaks = BreakCount;

  QtCanvas canvas(&printer);
  canvas.Begin(&painter);
  PreparePrintedLineSurface(canvas);
  ScreenSurface = &canvas;
  CharWidth = std::max(1, canvas.TextWidth("1234567890") / 10);
  CharHeight = std::max(1, canvas.TextHeight("1234567890"));
  LineOrigin = CanvasPoint{2 * CharHeight, 2 * CharHeight};

  BreakCount = 0;
  LinePitch = GYOKEISUU;
  PrintStartMark(canvas);
  DrawCurrentLineHook(canvas, LineText, ProcessState.processType != ProcessType::None);
  canvas.End();
  const bool ok = painter.end();

  CharWidth = savedWidth;
  CharHeight = savedHeight;
  LineOrigin = savedOrigin;
  BreakCount = savedBreaks;
  ScreenSurface = screen;
  // The screen's bars are drawn one pixel wide from now on, as they always have been after printing.
  if (ScreenSurface) ScreenSurface->SetPenWidth(1);
  return ok;
}

void PrintLine() {
  if (LineText.empty()) {
    ShowMessage("印刷する行がありません。", "報告！");
    return;
  }
  CurrentPlatform().ShowNotice(".......", "準備中!!", 20);
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setDocName(QStringLiteral("Kazoru"));
  if (!PrintLineSetup(printer)) return;
  if (!PrintSafely(printer, PrintLineOn)) ShowMessage(PrintFailedText(printer), "報告！");
  RepaintScreen();
}
