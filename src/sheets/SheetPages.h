// The printed practice sheet and its answer key laid out on A4 pages of any drawing surface: the pupils'
// sheet through the notebook's own sheet drawing with a name line, the key through the typesetter and the
// process display, one problem block after another; also the rows of problems the 問題づくり dialogs
// preview. The desktop prints these on a printer, the browser edition draws them as drawing lists.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Canvas.h"

struct Sheet;

// A page of paper on the surface: its drawable size, pixels per inch and the pen width of bars.
struct SheetPaper {
  int width = 0;
  int height = 0;
  int ppi = 96;
  int penWidth = 1;
};

// Called between two pages; false stops the printing (the surface could not start another page).
using NextSheetPage = std::function<bool()>;

// The pupils' sheet: title (skill, version, seed), a name line, the numbered problems with answer blanks;
// as many pages as the problems need. Returns the pages drawn. Everything the drawing changes (the
// notebook's page, its answer blanks) is as it was afterwards.
int DrawSheetPages(Canvas& surface, const Sheet& sheet, const SheetPaper& paper, const NextSheetPage& next);

// The answer key: its title, then each problem numbered, with its answer and, for skills with a process,
// the process type's title and every step (advice after the steps when advice is true). A problem goes on
// to a new page where the page is full. Returns the pages drawn; the process state and the settings the
// drawing changes are as they were afterwards.
int DrawSheetKeyPages(Canvas& surface, const Sheet& sheet, bool advice, const SheetPaper& paper,
                      const NextSheetPage& next);

// Problems in school notation on a white surface, one row of rowHeight each from the top, with "(1)" …
// in front when numbered.
void DrawSheetRows(Canvas& surface, const std::vector<std::string>& rows, bool numbered, int rowHeight);

// 「ノートに作る」 of both editions: the sheet's problems and title become the notebook's page (a backup taken
// first), asking before edited lines are replaced; when the sheet has no problems the teacher is told why.
// False when nothing was put on the page.
bool MakeSheetIntoNotebook(const Sheet& sheet);
