// Prints the current line on a printer page through the same drawing the screen uses.
#include "ui/screen/PrintLine.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "engine/Settings.h"
#include "platform/Platform.h"
#include "process/CalcProcManage.h"
#include "screen/PrintedLine.h"
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

  QtCanvas canvas(&printer);
  canvas.Begin(&painter);
  DrawPrintedLine(canvas, 3);
  canvas.End();
  const bool ok = painter.end();
  // The screen's bars are drawn one pixel wide from now on, as they always have been after printing.
  if (ScreenSurface) ScreenSurface->SetPenWidth(1);
  return ok;
}

void PrintLine() {
  if (LineText.empty()) {
    ShowMessage(PRINT_NO_LINE_TEXT, PRINT_NO_LINE_CAPTION);
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
