// Printing the current line of the calculation screen, with its process, on a printer (a PDF file is a
// printer too): the printer setup dialog, then the line drawn on the printer's page as on the screen.
#pragma once

#include <functional>

class QPrinter;

// The "印刷(&P)" command: refuses an empty line, shows the printer setup dialog, prints, and puts the
// screen's cell size and surface back.
void PrintLine();

// Draws the line (and its process when one is stored) on one printer page: pen 3 wide, the screen's face
// at FONTSIZE, the line two character heights in from the top-left corner. false when the printer could
// not start.
bool PrintLineOn(QPrinter& printer);

// The printed line's surface: the screen's face and colours, a teal pen 3 printer dots wide. The answer
// key of a practice sheet is drawn on the same surface.
class QtCanvas;
void PreparePrintedLineSurface(QtCanvas& canvas);

// The window's hooks that tests replace (state records: tools/ProgramState.h).
struct PrintLineHooks {
  // The printer setup dialog; tests replace it to print to a PDF file without a dialog. false: cancelled.
  std::function<bool(QPrinter&)> PrintLineSetup;
};
extern PrintLineHooks PrintLineWiring;
inline auto& PrintLineSetup = PrintLineWiring.PrintLineSetup;
