// Prints the notebook sheet: measures its lines on the printer's surface, splits them over sheets of
// paper and draws each sheet with its title.
#include "ui/NotePrint.h"

#include "notebook/NoteSheet.h"
#include "ui/PrintPages.h"

int PrintNoteSheets(QPrinter& printer, const NotePrintStart& start) {
  int printed = 0;
  size_t sheets = 0;
  const bool ended = DrawOnPrinter(printer, [&](QtCanvas& canvas, QPainter& painter) {
    PrepareNoteSurface(canvas, PRINT_PEN, true);
    NoteSheetView v;
    MeasureNoteCells(canvas, v.cw, v.ch);
    v.ppi = canvas.PixelsPerInch();
    v.printing = true;
    // The window's scroll is counted in its own characters: the paper scrolls by as many of its own.
    if (start.cw > 0) v.hScroll = static_cast<int>(static_cast<long long>(start.hScroll) * v.cw / start.cw);
    const std::vector<NoteSheetPart> parts =
        SplitNoteSheet(NoteLineBands(canvas, v), start.firstLine, painter.device()->height());
    sheets = parts.size();
    for (const NoteSheetPart& part : parts) {
      if (printed > 0 && !printer.newPage()) break;
      v.firstLine = part.firstLine;
      v.lastLine = part.lastLine;
      v.lineShift = part.lineShift;
      DrawNoteSheet(canvas, v);
      ++printed;
    }
  });
  return ended && printed == static_cast<int>(sheets) ? printed : 0;
}
