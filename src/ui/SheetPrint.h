// Prints a practice sheet on a printer (a PDF file is a printer too): the pupils' sheet in the notebook's
// printed layout with a name line, and the answer key with every problem's answer and its calculation
// process as the process display draws it. Used by the batch tool and the notebook window.
#pragma once

class QPrinter;
struct Sheet;

// The pupils' sheet: title (skill, version, seed), a name line, the numbered problems with answer blanks;
// as many pages as the problems need. False when the printer could not start.
bool PrintSheetPage(QPrinter& printer, const Sheet& sheet);

// The answer key: its title, then each problem numbered, with its answer and, for skills with a process,
// the process type's title and every step (advice after the steps when advice is true). Problems go on
// to a new page where the page is full. False when the printer could not start.
bool PrintSheetKey(QPrinter& printer, const Sheet& sheet, bool advice);

// The number of pages the last print of either kind made.
int LastSheetPrintPages();
