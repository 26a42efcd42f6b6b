// Prints a practice sheet and its answer key: the sheet through the notebook's own sheet drawing on the
// sheet's page, the key through the typesetter and the process display, one problem block after another.
#include "ui/SheetPrint.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <algorithm>

#include "engine/Settings.h"
#include "notebook/NotePage.h"
#include "notebook/NoteSheet.h"
#include "process/CalcProcManage.h"
#include "process/MainDspManage-Draw.h"
#include "sheets/Sheet.h"
#include "sheets/SheetLayout.h"
#include "typeset/bunCanvasDsp.h"
#include "ui/QtCanvas.h"
#include "ui/screen/PrintLine.h"

namespace {

int LastPages = 0;

// The sheet's pen is 3 printer dots wide at 300 dots per inch, as the notebook prints.
constexpr int PRINT_DPI = 300;
// The key is set a little smaller than the screen, so that a page holds more than one worked problem.
constexpr int KEY_FONT_SIZE = 10;

// Puts back everything the printing of a sheet changes.
class PrintStateGuard {
 public:
  PrintStateGuard()
      : page_(NotePage),
        appendName_(NoteAppendFileName),
        blanks_(NOTE_KAITOURAN_FLAG),
        process_(ProcessState),
        advice_(ADVICEDSP),
        teido_(PROCTEIDO),
        kaigyo_(EQUAL_KAIGYO),
        pitch_(LinePitch),
        breaks_(BreakCount) {}
  ~PrintStateGuard() {
    NotePage = page_;
    NoteAppendFileName = appendName_;
    NOTE_KAITOURAN_FLAG = blanks_;
    ProcessState = process_;
    ADVICEDSP = advice_;
    PROCTEIDO = teido_;
    EQUAL_KAIGYO = kaigyo_;
    LinePitch = pitch_;
    BreakCount = breaks_;
  }
  PrintStateGuard(const PrintStateGuard&) = delete;
  PrintStateGuard& operator=(const PrintStateGuard&) = delete;

 private:
  NotePageData page_;
  bool appendName_;
  int blanks_;
  ProcessStateData process_;
  int advice_, teido_, kaigyo_, pitch_, breaks_;
};

QRect PageRect(QPrinter& printer) { return printer.pageLayout().paintRectPixels(printer.resolution()); }

// One problem of the key from row y: its number, the problem with its answer, then its process under
// the process type's title. Returns the y below the block.
int DrawKeyProblem(Canvas& s, const Sheet& sheet, size_t index, int y, int cw, int ch) {
  const SheetProblem& p = sheet.problems[index];
  s.SetFontColor(NOTE_NUMBER_COLOR);
  // Numbered as the pupils' sheet numbers its problems.
  s.TextOut(2 * ch, y, "[" + std::to_string(index + 1) + "]");
  s.SetFontColor(CLR_BLACK);
  const int x = 2 * ch + 5 * cw;
  BreakCount = 0;
  EQUAL_KAIGYO = 0;
  const int end = TypesetLine(s, p.expr, x, y, cw, ch);
  TypesetAnswer(s, p.answer, std::max(end + 3 * cw, x + 24 * cw), y, cw, ch, 0);
  int bottom = y + 3 * ch;
  if (!p.processText.empty()) {
    ProcessState.processType = static_cast<ProcessType>(p.processType);
    ProcessState.processText = p.processText;
    ProcessState.figure = p.figure;
    ProcessState.factors = p.factors;
    EQUAL_KAIGYO = 1;  // the process display breaks its lines at "="
    const LinePlace place{x, bottom + 2 * ch, cw, ch};
    DrawProcessTitle(s, p.processType, x, bottom, true);
    const int last = DrawProcessText(s, p.processText, place);
    bottom = last + 3 * ch;
  }
  s.SetFontColor(CLR_BLACK);
  return bottom;
}

}  // namespace

int LastSheetPrintPages() { return LastPages; }

bool PrintSheetPage(QPrinter& printer, const Sheet& sheet) {
  LastPages = 0;
  printer.setResolution(PRINT_DPI);
  PrintStateGuard guard;

  QPainter painter;
  if (!painter.begin(&printer)) return false;
  QtCanvas canvas(&printer);
  canvas.Begin(&painter);
  PrepareNoteSurface(canvas, 3, true);
  const QRect page = PageRect(printer);
  const SheetPaper paper{page.width(), page.height()};
  const SheetLayout layout = LayOutSheet(canvas, sheet, paper);
  for (int k = 0; k < layout.pages; ++k) {
    if (k > 0 && !printer.newPage()) break;
    DrawSheetPage(canvas, sheet, paper, layout, k);
    ++LastPages;
  }
  canvas.End();
  return painter.end();
}

bool PrintSheetKey(QPrinter& printer, const Sheet& sheet, bool advice) {
  LastPages = 0;
  printer.setResolution(PRINT_DPI);
  PrintStateGuard guard;
  ADVICEDSP = advice ? 1 : 0;
  PROCTEIDO = 0;
  LinePitch = GYOKEISUU;

  QPainter painter;
  if (!painter.begin(&printer)) return false;
  QtCanvas canvas(&printer);
  canvas.Begin(&painter);
  PreparePrintedLineSurface(canvas);
  canvas.SetFontSize(std::min(FONTSIZE, KEY_FONT_SIZE));
  const int cw = std::max(1, canvas.TextWidth("1234567890") / 10);
  const int ch = std::max(1, canvas.TextHeight("1234567890"));
  const QRect page = PageRect(printer);

  // A block is measured by drawing it once on a scratch image of the printer's resolution.
  QImage scratch(4, 4, QImage::Format_RGB32);
  scratch.setDotsPerMeterX(qRound(PRINT_DPI / 0.0254));
  scratch.setDotsPerMeterY(qRound(PRINT_DPI / 0.0254));
  QtCanvas measure(&scratch);
  PreparePrintedLineSurface(measure);
  measure.SetFontSize(canvas.FontSize());
  auto blockHeight = [&](size_t i) {
    QPainter p(&scratch);
    measure.Begin(&p);
    const int h = DrawKeyProblem(measure, sheet, i, 0, cw, ch);
    measure.End();
    return h;
  };

  auto header = [&](int pageNo) {
    canvas.SetFontBold(true);
    canvas.SetFontColor(CLR_RED);
    canvas.TextOut(2 * ch, ch, "【解答】");
    canvas.SetFontColor(CLR_BLACK);
    // The skill's name on the first row, version and seed under it: a long name still fits the width.
    canvas.TextOut(canvas.PenPos().x + ch, ch, sheet.skill ? sheet.skill->name : sheet.controls.skill);
    canvas.SetFontBold(false);
    std::string second =
        std::string(1, sheet.controls.version) + "版　シード" + std::to_string(sheet.controls.seed);
    if (pageNo > 1) second += "　（" + std::to_string(pageNo) + "）";
    canvas.TextOut(2 * ch + 5 * cw, 2 * ch + ch / 2, second);
    return 5 * ch;
  };
  int pageNo = 1;
  int y = header(pageNo);
  LastPages = 1;
  for (size_t i = 0; i < sheet.problems.size(); ++i) {
    const int h = blockHeight(i);
    if (y + h > page.height() && y > 5 * ch) {
      if (!printer.newPage()) break;
      y = header(++pageNo);
      ++LastPages;
    }
    y = DrawKeyProblem(canvas, sheet, i, y, cw, ch);
  }
  canvas.End();
  return painter.end();
}
