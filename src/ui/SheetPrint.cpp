// Prints a practice sheet and its answer key on a printer: the pages are laid out by sheets/SheetPages.h.
#include "ui/SheetPrint.h"

#include "sheets/Sheet.h"
#include "sheets/SheetPages.h"
#include "ui/PrintPages.h"

namespace {

int LastPages = 0;

QRect PageRect(QPrinter& printer) { return printer.pageLayout().paintRectPixels(printer.resolution()); }

// Draws the pages of one kind on the printer.
template <typename Draw>
bool PrintPages(QPrinter& printer, Draw draw) {
  LastPages = 0;
  return DrawOnPrinter(printer, [&](QtCanvas& canvas, QPainter&) {
    const QRect page = PageRect(printer);
    const SheetPaper paper{page.width(), page.height(), canvas.PixelsPerInch(), PRINT_PEN};
    LastPages = draw(canvas, paper, [&printer] { return printer.newPage(); });
  });
}

}  // namespace

int LastSheetPrintPages() { return LastPages; }

bool PrintSheetPage(QPrinter& printer, const Sheet& sheet) {
  return PrintPages(printer, [&sheet](Canvas& c, const SheetPaper& paper, const NextSheetPage& next) {
    return DrawSheetPages(c, sheet, paper, next);
  });
}

bool PrintSheetKey(QPrinter& printer, const Sheet& sheet, bool advice) {
  return PrintPages(printer, [&sheet, advice](Canvas& c, const SheetPaper& paper, const NextSheetPage& next) {
    return DrawSheetKeyPages(c, sheet, advice, paper, next);
  });
}
