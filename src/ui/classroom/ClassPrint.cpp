// The class summary's pages on a printer: A4 landscape at 300 dots per inch, drawn through QtCanvas.
#include "ui/classroom/ClassPrint.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

#include "classroom/ClassSummaryDraw.h"
#include "ui/QtCanvas.h"

bool PrintClassSummary(QPrinter& printer, const ClassSummary& summary, int& pages) {
  pages = 0;
  printer.setResolution(300);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageOrientation(QPageLayout::Landscape);
  printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  QtCanvas canvas(&printer);
  canvas.Begin(&painter);
  const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
  const int count = ClassSummaryPageCount(canvas, summary, page.width(), page.height());
  for (int k = 0; k < count; ++k) {
    if (k > 0 && !printer.newPage()) break;
    DrawClassSummaryPage(canvas, summary, page.width(), page.height(), k);
    ++pages;
  }
  canvas.End();
  return painter.end();
}
