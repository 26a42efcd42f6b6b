// The class summary drawn on a Canvas: the printed pages (A4 landscape: per assignment the table of pupils
// × problems with the right counts, then the bar chart of mistakes, then the files that were replaced,
// edited or could not be read) and the bar chart alone for the summary window. The same drawing goes to
// the printer, a PDF and the recording canvas of the tests.
#pragma once

#include "classroom/ClassSummary.h"
#include "platform/Canvas.h"

// Pages of the printout on a page of width × height device pixels (the canvas gives the resolution).
int ClassSummaryPageCount(Canvas& c, const ClassSummary& s, int width, int height);
// Draws one page (0-based) of the printout.
void DrawClassSummaryPage(Canvas& c, const ClassSummary& s, int width, int height, int page);
// The bar chart of an assignment's mistakes inside r: one bar per mistake, as long as the number of
// pupils who made it, with its Japanese name, its example and the number.
void DrawMistakeChart(Canvas& c, const AssignmentSummary& a, const CanvasRect& r);
