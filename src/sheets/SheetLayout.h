// The pupils' practice sheet on paper: the problems in two columns, numbered [1], [2], … as the notebook
// numbers its lines, each in a cell of its own with room to work under the problem and the answer blank
// at the cell's foot; the name line and the title on top of the first page. It lays out and draws on any
// surface: the printer in the batch tool and the notebook window, a recording surface in tests.
#pragma once

#include <vector>

#include "platform/Canvas.h"

#include "sheets/SheetPages.h"

struct Sheet;

// Where one problem stands: its page (0 for the first) and its cell on that page.
struct SheetCell {
  int page = 0;
  CanvasRect rect;
};

struct SheetLayout {
  int fontSize = 0;  // the page font's size the sheet is drawn at (at most the notebook's)
  int cw = 1;
  int ch = 1;
  int pages = 1;
  std::vector<SheetCell> cells;  // one per problem, in the sheet's order
};

inline constexpr int SHEET_ROWS_PER_PAGE = 10;  // twenty problems to a page
inline constexpr int SHEET_MIN_FONT_SIZE = 8;

// Lays the sheet out on the surface (set up with the notebook's page font): the largest font size up to
// the surface's own at which a page holds its rows with at least six rows of the font to each cell;
// problems fill the left column, then the right, then a new page. The surface's font size is left as it
// was.
SheetLayout LayOutSheet(Canvas& surface, const Sheet& sheet, const SheetPaper& paper);

// Draws one page of the sheet as laid out: on the first the name line and the title, then the page's
// problems, each with its number, its expression in school notation and its answer blank.
void DrawSheetPage(Canvas& surface, const Sheet& sheet, const SheetPaper& paper, const SheetLayout& layout,
                   int page);
