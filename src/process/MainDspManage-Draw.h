// Draws the current line of the calculation screen on a Canvas: plainly through the typesetter, or as
// the stored calculation process — the type title, one line per step record in its style (plain,
// reduction figure, reduction figure with the long form, cancellation figure of a product) and the
// advice text after each line. It makes no process (CalcProcManage.h) and owns no state: the geometry of
// the line comes from the caller, the process from ProcessState, the switches from the settings.
#pragma once

#include <string>

#include "platform/Canvas.h"

// Where a line is drawn: its top-left (x0, y0) and the cell size of the current font (CharWidth and
// CharHeight of the screen or of the printer page).
struct LinePlace {
  int x0 = 0;
  int y0 = 0;
  int cw = 10;
  int ch = 20;
};

// The current line. withProcess false: lineText by the typesetter at (x0, y0), with its answer column
// under it. withProcess true: the title of ProcessState.processType and ProcessState.processText (lineText
// is not used); while the process is drawn lines break at "=" (EQUAL_KAIGYO treated as on, restored
// afterwards). Returns 1.
int DrawCurrentLine(Canvas& surface, const std::string& lineText, bool withProcess, const LinePlace& place);

// The title of a process type at (x, y): 0.8 × the current size, maroon, bold and underlined; onPaper
// leaves out the key hint that only the screen can act on.
void DrawProcessTitle(Canvas& surface, int type, int x, int y, bool onPaper = false);

// A normalised process text from (x0, y0), each record in its style, with the advice texts when
// ADVICEDSP is on; at PROCTEIDO 0 the hidden steps after the first record are left out without a gap.
// Returns the y where a further line would start.
int DrawProcessText(Canvas& surface, const std::string& text, const LinePlace& place);

// The advice text of step number n at (x, y) in the current font; every "||" starts a row ch lower at
// the same left edge (a "||" at the very start is dropped). A number outside 1–99 draws nothing.
void DrawAdvice(Canvas& surface, int number, int x, int y, int ch);

// One line in the reduction figure at row y (not yet lowered): every reducible fraction struck through
// with its quotients, with the long form when longForm (style A), the other terms plainly; a leading "="
// is drawn as a blue "＝" one character height left of x. Returns the pen x afterwards.
int DrawReductionLine(Canvas& surface, const std::string& expr, int x, int y, const LinePlace& place,
                      bool longForm);

// The cancellation figure of the last product run (ProcessState.figure) for a line at row y: "=", the
// sign, and every factor as a stacked fraction whose cancelled values are struck through with their
// quotients written small above (numerators) or below (denominators). Returns the pen x afterwards.
int DrawCancellationFigure(Canvas& surface, int y, const LinePlace& place);
