// The page set-up every printed sheet shares (the notebook sheet, the practice sheet and its key): the
// printer's resolution, the painter begun on it and the canvas drawing through that painter.
#pragma once

#include <QPainter>
#include <QPrinter>

#include "ui/QtCanvas.h"

// The printed sheets' pen is 3 printer dots wide at 300 dots per inch: a bar a pupil sees on paper (at a
// high-resolution printer's 1200 it would be a hairline).
inline constexpr int PRINT_DPI = 300;
inline constexpr int PRINT_PEN = 3;

// Sets the printer to PRINT_DPI and runs draw(canvas, painter) on a canvas over a painter begun on it.
// False when the painter could not begin (draw does not run) or could not finish the document.
template <typename Draw>
bool DrawOnPrinter(QPrinter& printer, Draw draw) {
  printer.setResolution(PRINT_DPI);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  QtCanvas canvas(&printer);
  canvas.Begin(&painter);
  draw(canvas, painter);
  canvas.End();
  return painter.end();
}
