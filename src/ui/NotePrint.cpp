// Prints the notebook sheet: measures its lines on the printer's surface, splits them over sheets of
// paper and draws each sheet with its title.
#include "ui/NotePrint.h"

#include <QPainter>
#include <QPrinter>

#include "notebook/NoteSheet.h"
#include "ui/QtCanvas.h"

int PrintNoteSheets(QPrinter& printer, const NotePrintStart& start) {
  // The sheet's pen is 3 printer dots wide; at 300 dots per inch that is a bar a pupil sees on paper
  // (at a high-resolution printer's 1200 it would be a hairline).
  printer.setResolution(300);
  QPainter painter;
  if (!painter.begin(&printer)) return 0;
  QtCanvas canvas(&printer);
  canvas.Begin(&painter);
  PrepareNoteSurface(canvas, 3, true);
  NoteSheetView v;
  MeasureNoteCells(canvas, v.cw, v.ch);
  v.ppi = canvas.PixelsPerInch();
  v.printing = true;
  // The window's scroll is counted in its own characters: the paper scrolls by as many of its own.
  if (start.cw > 0) v.hScroll = static_cast<int>(static_cast<long long>(start.hScroll) * v.cw / start.cw);
  const std::vector<NoteSheetPart> parts =
      SplitNoteSheet(NoteLineBands(canvas, v), start.firstLine, painter.device()->height());
  int printed = 0;
  for (const NoteSheetPart& part : parts) {
    if (printed > 0 && !printer.newPage()) break;
    v.firstLine = part.firstLine;
    v.lastLine = part.lastLine;
    v.lineShift = part.lineShift;
    DrawNoteSheet(canvas, v);
    ++printed;
  }
  canvas.End();
  const bool ended = painter.end();
  return ended && printed == static_cast<int>(parts.size()) ? printed : 0;
}
