// Lays out the practice sheet and its key page by page on any surface.
#include "sheets/SheetPages.h"

#include <algorithm>

#include "engine/Settings.h"
#include "notebook/NotePage.h"
#include "notebook/NoteSheet.h"
#include "platform/Platform.h"
#include "platform/RecordSnapshot.h"
#include "platform/ShiftedCanvas.h"
#include "process/CalcProcManage.h"
#include "process/MainDspManage-Draw.h"
#include "sheets/Sheet.h"
#include "sheets/SheetLayout.h"
#include "typeset/bunCanvasDsp.h"

namespace {

// The key is set a little smaller than the screen, so that a page holds more than one worked problem.
constexpr int KEY_FONT_SIZE = 10;

// Puts back everything the drawing of a sheet changes.
struct SheetStateGuard {
  RecordSnapshot<NotePageData, NoteSheetState, ProcessStateData, SettingsState, TypesetState> saved_{
      NotePage, NoteSheetData, ProcessState, SettingsData, TypesetData};
};

// The printed line's surface: the screen's font on white, teal bars.
void PrepareKeySurface(Canvas& s, int penWidth) {
  s.SetPenWidth(penWidth);
  s.SetPenColor(CLR_TEAL);
  s.SetFontName(FONTNAME);
  s.SetFontPitch(FontPitch::Fixed);
  s.SetFontSize(std::min(FONTSIZE, KEY_FONT_SIZE));
  s.SetFontColor(CLR_BLACK);
  s.SetFontBold(false);
  s.SetBrushColor(CLR_WHITE);
}

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
    ProcessState.processType = p.processType;
    ProcessState.processText = p.processText;
    ProcessState.figure = p.figure;
    ProcessState.factors = p.factors;
    EQUAL_KAIGYO = 1;  // the process display breaks its lines at "="
    const LinePlace place{x, bottom + 2 * ch, cw, ch};
    DrawProcessTitle(s, ProcessTypeNumber(p.processType), x, bottom, true);
    const int last = DrawProcessText(s, p.processText, place);
    bottom = last + 3 * ch;
  }
  s.SetFontColor(CLR_BLACK);
  return bottom;
}

}  // namespace

int DrawSheetPages(Canvas& surface, const Sheet& sheet, const SheetPaper& paper, const NextSheetPage& next) {
  SheetStateGuard guard;
  PrepareNoteSurface(surface, paper.penWidth, true);
  // Two columns of cells, each problem with room to work under it: twenty to an A4 page.
  const SheetLayout layout = LayOutSheet(surface, sheet, paper);
  int drawn = 0;
  for (int k = 0; k < layout.pages; ++k) {
    if (k > 0 && !next()) break;
    DrawSheetPage(surface, sheet, paper, layout, k);
    ++drawn;
  }
  return drawn;
}

int DrawSheetKeyPages(Canvas& surface, const Sheet& sheet, bool advice, const SheetPaper& paper,
                      const NextSheetPage& next) {
  SheetStateGuard guard;
  ADVICEDSP = advice ? 1 : 0;
  PROCTEIDO = 0;
  LinePitch = GYOKEISUU;

  PrepareKeySurface(surface, paper.penWidth);
  const int cw = std::max(1, surface.TextWidth("1234567890") / 10);
  const int ch = std::max(1, surface.TextHeight("1234567890"));
  // A block is measured by drawing it once without ink.
  ShiftedCanvas measure(surface);
  measure.SetMuted(true);

  auto header = [&](int pageNo) {
    surface.SetFontBold(true);
    surface.SetFontColor(CLR_RED);
    surface.TextOut(2 * ch, ch, "【解答】");
    surface.SetFontColor(CLR_BLACK);
    // The skill's name on the first row, version and seed under it: a long name still fits the width.
    surface.TextOut(surface.PenPos().x + ch, ch, sheet.skill ? sheet.skill->name : sheet.controls.skill);
    surface.SetFontBold(false);
    std::string second =
        std::string(1, sheet.controls.version) + "版　シード" + std::to_string(sheet.controls.seed);
    if (pageNo > 1) second += "　（" + std::to_string(pageNo) + "）";
    surface.TextOut(2 * ch + 5 * cw, 2 * ch + ch / 2, second);
    return 5 * ch;
  };
  int pageNo = 1;
  int y = header(pageNo);
  int drawn = 1;
  for (size_t i = 0; i < sheet.problems.size(); ++i) {
    const int h = DrawKeyProblem(measure, sheet, i, 0, cw, ch);
    if (y + h > paper.height && y > 5 * ch) {
      if (!next()) break;
      y = header(++pageNo);
      ++drawn;
    }
    y = DrawKeyProblem(surface, sheet, i, y, cw, ch);
  }
  return drawn;
}

void DrawSheetRows(Canvas& surface, const std::vector<std::string>& rows, bool numbered, int rowHeight) {
  surface.SetFontName(NOTE_FONTNAME);
  surface.SetFontPitch(FontPitch::Fixed);
  surface.SetFontSize(11);
  surface.SetFontColor(CLR_BLACK);
  surface.SetPenColor(CLR_TEAL);
  surface.SetPenWidth(1);
  surface.SetBrushColor(CLR_WHITE);
  int cw, ch;
  MeasureNoteCells(surface, cw, ch);
  const int pitch = LinePitch, kaigyo = EQUAL_KAIGYO, breaks = BreakCount;
  EQUAL_KAIGYO = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    const int y = static_cast<int>(i) * rowHeight + (rowHeight - ch) / 2;
    int x = ch / 2;
    if (numbered) {
      surface.SetFontColor(NOTE_NUMBER_COLOR);
      surface.TextOut(x, y, "[" + std::to_string(i + 1) + "]");  // as the printed sheet numbers them
      surface.SetFontColor(CLR_BLACK);
      x += 5 * cw;
    }
    BreakCount = 0;
    TypesetLine(surface, rows[i], x, y, cw, ch);
  }
  LinePitch = pitch;
  EQUAL_KAIGYO = kaigyo;
  BreakCount = breaks;
}

bool MakeSheetIntoNotebook(const Sheet& sheet) {
  if (sheet.problems.empty()) {
    ShowMessage(sheet.message.empty() ? "問題がありません。" : sheet.message, "ご注意！");
    return false;
  }
  if (NotePage.modified && NotePage.lineCount > 0 &&
      AskQuestion("ノートの式は編集されています。\n\n作った問題で置きかえますか？", "ご確認",
                  MsgButtons::OkCancel) != MsgAnswer::Ok)
    return false;
  TakeBackup();
  PutSheetOnPage(sheet);
  return true;
}
