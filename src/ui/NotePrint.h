// The notebook sheet printed on a printer, sheet after sheet, for the notebook window and for the batch
// tool alike; it knows no window.
#pragma once

class QPrinter;

// Where the print starts: the first line to print and the window's sideways scroll with the character
// width it was counted in (0: not scrolled), so that paper starts where the window shows the sheet.
struct NotePrintStart {
  int firstLine = 1;
  int hScroll = 0;
  int cw = 0;
};

// Prints the lines from start.firstLine to the last one, on as many sheets as they need, each with the
// title line: pen 3 dots wide at 300 dots per inch, the page font, no background, no rulers. Returns the
// number of sheets printed, 0 when the printer did not start or a sheet could not be begun.
int PrintNoteSheets(QPrinter& printer, const NotePrintStart& start);
