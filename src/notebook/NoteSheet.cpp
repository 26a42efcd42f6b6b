// The notebook sheet drawn on a Canvas (title, numbered lines, answer column and blanks, rulers), its
// measures, and the notebook's keys and wheel turned into commands.
#include "notebook/NoteSheet.h"
#include "notebook/NoteSteps.h"

#include <algorithm>
#include <climits>

#include "engine/Settings.h"
#include "notebook/NotePage.h"
#include "platform/ShiftedCanvas.h"
#include "platform/VirtualKeys.h"
#include "typeset/bunCanvasDsp.h"

NoteSheetState NoteSheetData;

namespace {

int Clamp(long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN / 2, INT_MAX / 2)); }

std::string Trimmed(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 0x20) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 0x20) --e;
  return s.substr(b, e - b);
}

std::string BaseName(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Puts the typesetter's shared values back after the sheet was drawn, so that the calculation screen
// keeps its own line pitch and its own break-at-equals setting.
class TypesetScope {
 public:
  TypesetScope() : pitch_(LinePitch), kaigyo_(EQUAL_KAIGYO) {
    LinePitch = KANKAKU;
    EQUAL_KAIGYO = NoteEqualBreak ? 1 : 0;
  }
  ~TypesetScope() {
    LinePitch = pitch_;
    EQUAL_KAIGYO = kaigyo_;
  }
  TypesetScope(const TypesetScope&) = delete;
  TypesetScope& operator=(const TypesetScope&) = delete;

 private:
  int pitch_;
  int kaigyo_;
};

// The marks of the page command after a line: a navy circle for a right step, a red cross for the others.
void DrawLineMarks(Canvas& s, int line, int x, int y) {
  const std::string marks = CurrentNoteMarks(line);
  if (marks.empty()) return;
  const Color colour = s.FontColor();
  const bool bold = s.FontBold();
  s.SetFontBold(true);
  const std::string circle = "○", cross = "×";
  for (size_t k = 0; k < marks.size();) {
    const bool right = marks.compare(k, circle.size(), circle) == 0;
    const std::string& mark = right ? circle : cross;
    s.SetFontColor(right ? Color{0, 0, 128} : CLR_RED);
    s.TextOut(x, y, mark);
    x = s.PenPos().x;
    k += mark.size();
  }
  s.SetFontBold(bold);
  s.SetFontColor(colour);
}

void DrawRulers(Canvas& s, const NoteSheetView& v) {
  const int size = s.FontSize();
  const Color colour = s.FontColor();
  const int a4 = NoteA4Height(v.ppi);
  const int pageHeight = NotePageHeight(v.ppi);
  const int pageWidth = NotePageWidth(v.ppi);

  // Left ruler: one mark per line position, numbered every fifth; red past one A4 page, green past two.
  s.SetFontSize(std::max(1, size * 3 / 4));
  const long long step = static_cast<long long>(KANKAKU) * v.ch / 2;
  const long long marks = step > 0 ? pageHeight / step : 0;
  Color markColour = CLR_HOTTRACK;
  for (long long k = 0; k < marks; ++k) {
    const long long y = 4LL * v.ch + (k * KANKAKU * v.ch) / 2;
    if (y > 2LL * a4 - 60)
      markColour = CLR_GREEN;
    else if (y > a4 - 60 && markColour == CLR_HOTTRACK)
      markColour = CLR_RED;
    s.SetFontColor(markColour);
    const std::string mark = k == 0 ? "1" : (k + 1) % 5 == 0 ? std::to_string(k + 1) : "*";
    s.TextOut(4 - v.hScroll, Clamp(y - v.vScroll), mark);
  }

  // Top ruler: one mark per character width, "+" every tenth; red near the right edge of the page.
  s.SetFontSize(size);
  const long long columns = v.cw > 0 ? pageWidth / v.cw : 0;
  markColour = CLR_HOTTRACK;
  for (long long k = 0; k < columns; ++k) {
    if (k * v.cw > pageWidth - 32) markColour = CLR_RED;
    s.SetFontColor(markColour);
    s.TextOut(Clamp(k * v.cw - v.hScroll + 4), 2 - v.vScroll, (k + 1) % 10 == 0 ? "+" : "-");
  }
  s.SetFontColor(colour);
}

}  // namespace

void NoteSheetState::Reset() { *this = NoteSheetState{}; }

void ResetNoteSheet() { NoteSheetData.Reset(); }

int NotePageWidth(int ppi) { return static_cast<int>(8.3 * ppi); }
int NoteA4Height(int ppi) { return static_cast<int>(11.7 * ppi); }
int NotePageHeight(int ppi) { return Clamp(static_cast<long long>(NoteA4Height(ppi)) * PAGEA4BAIN / 100); }

void PrepareNoteSurface(Canvas& surface, int penWidth, bool printing) {
  surface.SetFontName(NOTE_FONTNAME);
  surface.SetFontPitch(FontPitch::Fixed);
  surface.SetFontSize(NOTE_FONTSIZE);
  surface.SetFontColor(CLR_BLACK);
  surface.SetFontBold(false);
  surface.SetPenColor(CLR_TEAL);
  surface.SetPenWidth(penWidth);
  surface.SetBrushColor(printing ? CLR_WHITE : NOTE_PAGE_COLOR);
}

void MeasureNoteCells(Canvas& surface, int& cw, int& ch) {
  cw = std::max(1, surface.TextWidth("1234567890") / 10);
  ch = std::max(1, surface.TextHeight("1234567890"));
}

std::string NoteTitleText() {
  std::string t = NotePage.title;
  if (NoteAppendFileName) t += "　[ " + BaseName(NotePage.fileName) + " ]";
  return t;
}

std::string NoteWindowCaption() { return "ノート画面 [ " + NotePage.fileName + "]"; }

void DrawNoteTitle(Canvas& s, const NoteSheetView& v) {
  const std::string name = s.FontName();
  const int size = s.FontSize();
  const Color colour = s.FontColor();
  const bool bold = s.FontBold();
  s.SetFontName(NoteTitleFont.name);
  s.SetFontSize(NoteTitleFont.size);
  s.SetFontColor(NoteTitleFont.color);
  s.SetFontBold(NoteTitleFont.bold);
  s.TextOut(3 * v.ch - v.hScroll, static_cast<int>(1.5 * v.ch) - v.vScroll, NoteTitleText());
  s.SetFontName(name);
  s.SetFontSize(size);
  s.SetFontColor(colour);
  s.SetFontBold(bold);
}

namespace {

// Line i at row y: selection mark, problem number (none for working), the expression with its answer, the answer blank.
// added grows by the rows the line pushes the later lines down.
void DrawLine(Canvas& s, const NoteSheetView& v, int i, int y, const std::string& text, Color colour,
              int& added) {
  const int cw = v.cw, ch = v.ch;
  if (i == NotePage.selected) {
    s.SetFontColor(CLR_RED);
    s.TextOut(2 * ch - v.hScroll, y, "◆");
  }
  // A problem is numbered among the problems; the working under it has no number and starts two
  // characters further in than the problem's text.
  const int number = NoteProblemNumber(i);
  const bool working = number == 0 && IsWorkingLine(text);
  int x = 0;
  if (working) {
    x = 4 * ch - v.hScroll + s.TextWidth("[1] ") + ch + 2 * cw;
  } else {
    s.SetFontColor(NOTE_NUMBER_COLOR);
    s.TextOut(4 * ch - v.hScroll, y, "[" + std::to_string(number) + "] ");
    x = s.PenPos().x + ch - (number >= 10 ? cw : 0);
  }
  s.SetFontColor(colour);
  // A working line already stands on a row of its own: its leading "=" breaks the line back onto that row
  // (the line is set one pitch higher), so working follows its problem row by row with no empty row
  // above each step.
  const bool risesToItsRow = working && EQUAL_KAIGYO != 0 && text.find('x') == std::string::npos;
  const int rise = risesToItsRow ? Clamp(static_cast<long long>(LinePitch) * ch / 2) : 0;
  const int end =
      TypesetLineAndAnswer(s, text, x, Clamp(static_cast<long long>(y) - rise), cw, ch, AnswerPlace::FromCode(6 - KAITOURAN_ITI));
  if (risesToItsRow && BreakCount > 0) --BreakCount;
  s.SetFontColor(colour);
  // With a break at "=" the line ends on the row of its last "=".
  DrawLineMarks(s, i, end + cw, BreakCount > 0 ? EqualsPoint.y : y);
  if (AnswerMovedDown) ++added;
  // Working is written under its problem: it gets no answer blank of its own.
  if (NOTE_KAITOURAN_FLAG && !working && text.find('&') == std::string::npos) {
    const int xa = Clamp(4LL * ch + static_cast<long long>(KAITOURAN_ITI) * cw - v.hScroll);
    int ya = y;
    if (xa < static_cast<long long>(end) + 2LL * cw) {
      ya = Clamp(static_cast<long long>(y + 2.5 * ch));
      ++added;
    }
    s.SetFontColor(CLR_RED);
    s.TextOut(xa, ya, "【答】");
    s.SetFontColor(colour);
    const int lineY = Clamp(static_cast<long long>(ya + 1.25 * ch));
    const int lineEnd = Clamp(static_cast<long long>(s.PenPos().x + 9.5 * cw));
    const Color pen = s.PenColor();
    s.SetPenColor(CLR_TEAL);
    s.MoveTo(xa + ch / 4, lineY);
    s.LineTo(lineEnd, lineY);
    s.SetPenColor(pen);
  }
}

// The sheet on the surface; bands (when given) receives each line's place, unscrolled.
int DrawSheet(Canvas& s, const NoteSheetView& v, std::vector<NoteLineBand>* bands) {
  TypesetScope scope;
  const int ch = v.ch;
  if (!v.printing) {
    const Color brush = s.BrushColor();
    s.SetBrushColor(NOTE_PAGE_COLOR);
    s.FillRect({0, 0, v.clientWidth, v.clientHeight});
    s.SetBrushColor(brush);
  }
  DrawNoteTitle(s, v);

  int added = 0;
  BreakCount = 0;
  const Color colour = s.FontColor();
  // Every line is drawn through this surface: muted outside the sheet's lines, moved up by lineShift,
  // measuring how far each line reaches.
  ShiftedCanvas line(s, 0, v.lineShift);
  line.SetTrackBottom(bands != nullptr);
  for (int i = 1; i <= NotePage.lineCount; ++i) {
    added += BreakCount;
    BreakCount = 0;
    const int y = Clamp(4LL * ch + (static_cast<long long>(i - 1 + added) * KANKAKU * ch) / 2 - v.vScroll);
    const std::string text = Trimmed(NoteLine(i));
    line.SetMuted(i < v.firstLine || i > v.lastLine);
    line.ResetExtent();
    DrawLine(line, v, i, y, text, colour, added);
    if (bands) bands->push_back({y + v.vScroll, std::max(y, line.Bottom()) + v.vScroll});
  }
  added += BreakCount;
  BreakCount = 0;
  if (!v.printing) DrawRulers(s, v);
  return added;
}

}  // namespace

int DrawNoteSheet(Canvas& s, const NoteSheetView& v) { return DrawSheet(s, v, nullptr); }

std::vector<NoteLineBand> NoteLineBands(Canvas& surface, const NoteSheetView& view) {
  ShiftedCanvas silent(surface);
  silent.SetMuted(true);
  std::vector<NoteLineBand> bands;
  bands.reserve(static_cast<std::size_t>(std::max(0, NotePage.lineCount)));
  DrawSheet(silent, view, &bands);
  return bands;
}

int NoteFirstShownLine(const std::vector<NoteLineBand>& bands, int vScroll) {
  for (std::size_t i = 0; i < bands.size(); ++i)
    if (bands[i].top >= vScroll) return static_cast<int>(i) + 1;
  return bands.empty() ? 1 : static_cast<int>(bands.size());
}

std::vector<NoteSheetPart> SplitNoteSheet(const std::vector<NoteLineBand>& bands, int firstLine,
                                          int sheetHeight) {
  std::vector<NoteSheetPart> parts;
  const int count = static_cast<int>(bands.size());
  int first = std::max(1, firstLine);
  if (first > count) {
    parts.push_back({first, first - 1, 0});
    return parts;
  }
  while (first <= count) {
    // The first line of every sheet stands where line 1 stands on the page.
    const long long shift =
        static_cast<long long>(bands[static_cast<std::size_t>(first - 1)].top) - bands[0].top;
    int last = first;
    while (last < count && bands[static_cast<std::size_t>(last)].bottom - shift <= sheetHeight) ++last;
    parts.push_back({first, last, Clamp(shift)});
    first = last + 1;
  }
  return parts;
}

NoteCommand NoteKeyCommand(int vk, int shift) {
  const bool sh = (shift & SHIFT_SHIFT) != 0;
  const bool alt = (shift & SHIFT_ALT) != 0;
  const bool ctrl = (shift & SHIFT_CTRL) != 0;

  // Menu shortcuts with two modifiers first.
  if (ctrl && alt && !sh) {
    if (vk == 'B') return NoteCommand::Restore;
    if (vk == 'S') return NoteCommand::ToggleAnswerBlank;
    if (vk == 'C') return NoteCommand::AnswerColumnStart;
  }
  if (ctrl && sh && !alt && vk == VK_F8) return NoteCommand::WindowA4Width;
  if (ctrl && sh && !alt && vk == 'G') return NoteCommand::CheckWorking;
  if (sh && !ctrl && !alt) {
    switch (vk) {
      case 'F': return NoteCommand::Font;
      case VK_UP: return NoteCommand::SelectPrevious;
      case VK_DOWN: return NoteCommand::SelectNext;
      case VK_PRIOR: return NoteCommand::PitchUp;
      case VK_NEXT: return NoteCommand::PitchDown;
      default: break;
    }
  }
  if (ctrl && !sh && !alt) {
    switch (vk) {
      case 'L': return NoteCommand::ToggleEqualBreak;
      case 'N': return NoteCommand::Clear;
      case 'B': return NoteCommand::Restore;
      case 'C': return NoteCommand::Close;
      case 'H': return NoteCommand::CopySelected;
      case 'D': return NoteCommand::DeleteSelected;
      case 'E': return NoteCommand::EditSelected;
      case 'O': return NoteCommand::Open;
      case 'G': return NoteCommand::EditPage;
      case 'Q': return NoteCommand::CalculateSelected;
      case 'Y': return NoteCommand::DeleteAnswer;
      case 'S': return NoteCommand::Save;
      case 'T': return NoteCommand::Title;
      case 'U': return NoteCommand::DeleteAllAnswers;
      case 'Z': return NoteCommand::CalculateAll;
      case 'W': return NoteCommand::AddNew;
      case 'J': return NoteCommand::Conditions;
      case 'A': return NoteCommand::SaveAs;
      case 'P': return NoteCommand::Print;
      case 'I': return NoteCommand::CommandBox;
      case VK_PRIOR: return NoteCommand::PageHeightUp;
      case VK_NEXT: return NoteCommand::PageHeightDown;
      default: break;
    }
  }
  if (alt && !ctrl && !sh && vk == 'J') return NoteCommand::Conditions;
  // Everything else, with or without modifiers, as the plain key.
  switch (vk) {
    case VK_F8: return NoteCommand::CommandBox;
    case VK_BACK: return NoteCommand::Restore;
    case VK_UP: return NoteCommand::ScrollUp;
    case VK_DOWN: return NoteCommand::ScrollDown;
    case VK_LEFT: return NoteCommand::ScrollLeft;
    case VK_RIGHT: return NoteCommand::ScrollRight;
    default: return NoteCommand::None;
  }
}

const std::vector<BrowserKey>& NoteBrowserKeys() {
  static const std::vector<BrowserKey> keys = {
      {{'W', SHIFT_CTRL}, {'W', SHIFT_ALT}},           {{'T', SHIFT_CTRL}, {'T', SHIFT_ALT}},
      {{'N', SHIFT_CTRL}, {'N', SHIFT_ALT}},           {{'Q', SHIFT_CTRL}, {'Q', SHIFT_ALT}},
      {{VK_PRIOR, SHIFT_CTRL}, {VK_PRIOR, SHIFT_ALT}}, {{VK_NEXT, SHIFT_CTRL}, {VK_NEXT, SHIFT_ALT}},
  };
  return keys;
}

NoteCommand NoteBrowserKeyCommand(int vk, int shift) {
  const KeyStroke k = DesktopKeyOf(NoteBrowserKeys(), vk, shift);
  return NoteKeyCommand(k.vk, k.shift);
}

NoteCommand NoteWheelCommand(bool down, bool rightButton, bool leftButton) {
  if (rightButton) return down ? NoteCommand::ScrollRight : NoteCommand::ScrollLeft;
  if (leftButton) return down ? NoteCommand::SelectNext : NoteCommand::SelectPrevious;
  return down ? NoteCommand::ScrollDown : NoteCommand::ScrollUp;
}

bool SetKankaku(int value, int minimum) {
  const int v = std::clamp(value, minimum, KANKAKU_MAX);
  const bool changed = v != KANKAKU;
  KANKAKU = v;
  LinePitch = v;
  return changed;
}

bool SetPageA4Bain(int value) {
  const int v = std::clamp(value, PAGEA4BAIN_MIN, PAGEA4BAIN_MAX);
  const bool changed = v != PAGEA4BAIN;
  PAGEA4BAIN = v;
  return changed;
}

bool ParseAnswerColumn(const std::string& text, int& value) {
  const std::string t = Trimmed(text);
  if (t.empty() || t.size() > 4) return false;
  int v = 0;
  for (char c : t) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  if (v < KAITOURAN_ITI_MIN || v > KAITOURAN_ITI_MAX) return false;
  value = v;
  return true;
}

std::string AnswerColumnPrompt() {
  return "解答欄の現在の開始位置は\n 　< " + std::to_string(KAITOURAN_ITI) +
         " >\n 字め[半角] です。\n必要な数値(10～80)を入力して変更して下さい。";
}
