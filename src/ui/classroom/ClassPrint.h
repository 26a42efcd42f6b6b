// Prints the class summary on A4 landscape through the summary's own page drawing (ClassSummaryDraw), for
// the summary window's 印刷 and kazoru-cli class --pdf.
#pragma once

#include "classroom/ClassSummary.h"

class QPrinter;

// Sets the printer to A4 landscape and prints every page; false when the printer could not start.
bool PrintClassSummary(QPrinter& printer, const ClassSummary& summary, int& pages);
