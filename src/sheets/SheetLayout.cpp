// Lays out the pupils' practice sheet in two columns of cells and draws its pages.
#include "sheets/SheetLayout.h"

#include <algorithm>
#include <string>

#include "engine/Settings.h"
#include "notebook/NoteSheet.h"
#include "sheets/Sheet.h"
#include "typeset/bunCanvasDsp.h"

namespace {

constexpr int MIN_CELL_ROWS = 6;  // the problem, three rows to work in, the answer blank
constexpr const char* NAME_LINE = "　　年　　組　　番　名前";
constexpr Color RULE_COLOUR{192, 192, 192};  // the light rule between cells

// The rows the top of a page takes: name line and title on the first page, the title on later ones.
int HeaderHeight(int page, int ch) { return page == 0 ? 5 * ch : 3 * ch; }

// Puts back the typesetter's shared values the drawing changes.
class SheetTypesetScope {
 public:
  SheetTypesetScope() : pitch_(LinePitch), kaigyo_(EQUAL_KAIGYO), breaks_(BreakCount) {}
  ~SheetTypesetScope() {
    LinePitch = pitch_;
    EQUAL_KAIGYO = kaigyo_;
    BreakCount = breaks_;
  }
  SheetTypesetScope(const SheetTypesetScope&) = delete;
  SheetTypesetScope& operator=(const SheetTypesetScope&) = delete;

 private:
  int pitch_, kaigyo_, breaks_;
};

}  // namespace

SheetLayout LayOutSheet(Canvas& s, const Sheet& sheet, const SheetPaper& paper) {
  SheetLayout layout;
  const int count = static_cast<int>(sheet.problems.size());
  const int rowsWanted = std::clamp((count + 1) / 2, 1, SHEET_ROWS_PER_PAGE);
  const int start = s.FontSize();
  int size = start;
  for (; size > SHEET_MIN_FONT_SIZE; --size) {
    s.SetFontSize(size);
    const int ch = std::max(1, s.TextHeight("1234567890"));
    if (HeaderHeight(0, ch) + static_cast<long long>(rowsWanted) * MIN_CELL_ROWS * ch <= paper.height) break;
  }
  s.SetFontSize(size);
  MeasureNoteCells(s, layout.cw, layout.ch);
  s.SetFontSize(start);
  layout.fontSize = size;
  const int ch = layout.ch;

  // Rows of a page: as many as the problems need, up to the page's ten; the cells share the height.
  const int perPageRows = std::max(
      1, std::min(rowsWanted, (paper.height - HeaderHeight(0, ch)) / std::max(1, MIN_CELL_ROWS * ch)));
  const int perPage = 2 * perPageRows;
  const int columnWidth = std::max(1, paper.width / 2);
  for (int k = 0; k < count; ++k) {
    const int page = k / perPage;
    const int onPage = k % perPage;
    // A page's problems fill its left column first.
    const int column = onPage < perPageRows ? 0 : 1;
    const int row = column == 0 ? onPage : onPage - perPageRows;
    const int top0 = HeaderHeight(page, ch);
    const int cellHeight = std::max(1, (paper.height - top0) / perPageRows);
    SheetCell cell;
    cell.page = page;
    cell.rect = {column * columnWidth, top0 + row * cellHeight, (column + 1) * columnWidth,
                 top0 + (row + 1) * cellHeight};
    layout.cells.push_back(cell);
  }
  layout.pages = count == 0 ? 1 : (count + perPage - 1) / perPage;
  return layout;
}

void DrawSheetPage(Canvas& s, const Sheet& sheet, const SheetPaper& paper, const SheetLayout& layout,
                   int page) {
  SheetTypesetScope state;
  const int size = s.FontSize();
  const Color colour = s.FontColor();
  const Color pen = s.PenColor();
  const int penWidth = s.PenWidth();
  s.SetFontSize(layout.fontSize);
  const int cw = layout.cw, ch = layout.ch;
  LinePitch = KANKAKU;
  EQUAL_KAIGYO = 0;

  // The top of the page: the name line at the right of the first page, the title under it.
  int titleY = ch / 2;
  if (page == 0) {
    s.SetFontColor(CLR_BLACK);
    const int nameX = std::max(0, paper.width - 40 * cw);
    s.TextOut(nameX, ch / 2, NAME_LINE);
    const int start = s.PenPos().x;
    s.SetPenColor(CLR_BLACK);
    s.MoveTo(start, ch / 2 + ch);
    s.LineTo(std::min(paper.width, start + 12 * cw), ch / 2 + ch);
    titleY = 2 * ch + ch / 2;
  }
  s.SetFontBold(true);
  s.SetFontColor(CLR_BLACK);
  s.TextOut(cw, titleY, SheetTitle(sheet));
  if (page > 0) s.TextOut(s.PenPos().x, titleY, "　（" + std::to_string(page + 1) + "）");
  s.SetFontBold(false);

  for (size_t k = 0; k < layout.cells.size() && k < sheet.problems.size(); ++k) {
    const SheetCell& cell = layout.cells[k];
    if (cell.page != page) continue;
    const CanvasRect& r = cell.rect;
    // A rule between the cells, so that each problem's working stays in its own place.
    s.SetPenColor(RULE_COLOUR);
    s.SetPenWidth(1);
    s.MoveTo(r.left + cw, r.top);
    s.LineTo(r.right - cw, r.top);
    // The number as the notebook draws it, then the problem one row down (room for a numerator).
    const int y = r.top + ch;
    s.SetFontColor(NOTE_NUMBER_COLOR);
    s.TextOut(r.left + cw, y, "[" + std::to_string(k + 1) + "]");
    s.SetFontColor(CLR_BLACK);
    s.SetPenColor(CLR_TEAL);
    s.SetPenWidth(std::max(1, ch / 20));
    BreakCount = 0;
    TypesetLine(s, sheet.problems[k].expr, r.left + 7 * cw, y, cw, ch);
    // The answer blank at the foot of the cell, at its right.
    const int ya = r.bottom - 2 * ch;
    const int xa = std::max(r.left + 7 * cw, r.right - 18 * cw);
    s.SetFontColor(CLR_RED);
    s.TextOut(xa, ya, "【答】");
    s.SetPenColor(CLR_TEAL);
    s.MoveTo(s.PenPos().x, ya + ch + ch / 4);
    s.LineTo(r.right - 2 * cw, ya + ch + ch / 4);
  }
  s.SetFontSize(size);
  s.SetFontColor(colour);
  s.SetPenColor(pen);
  s.SetPenWidth(penWidth);
}
