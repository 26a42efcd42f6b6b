// The notebook sheet without a window: its measures (A4 width, page height, cell size), its drawing on a
// Canvas (title, numbered lines in school notation, answer column and blanks, selection mark, rulers),
// the notebook's keys and wheel as commands, and the window state that outlives the window (title font,
// the append-file-name and line-break flags). The window (ui/notebook/Notebook) carries the commands out.
#pragma once

#include <climits>
#include <string>
#include <vector>

#include "platform/BrowserKeys.h"
#include "platform/Canvas.h"

// ---- State held for the running program (not stored in the settings file) --------------------------

struct NoteTitleFontData {
  std::string name = "ＭＳ ゴシック";
  int size = 14;
  Color color = CLR_BLACK;
  bool bold = false;
  bool italic = false;  // kept for the font dialog; the drawing surface draws upright text only
};
// The printed notebook sheet's record (state records: tools/ProgramState.h).
struct NoteSheetState {
  NoteTitleFontData NoteTitleFont;
  bool NoteAppendFileName = false;
  bool NoteEqualBreak = true;

  void Reset();
};
extern NoteSheetState NoteSheetData;

inline auto& NoteTitleFont = NoteSheetData.NoteTitleFont;
inline auto& NoteAppendFileName = NoteSheetData.NoteAppendFileName;  // the title is followed by the file name
inline auto& NoteEqualBreak = NoteSheetData.NoteEqualBreak;  // lines continue on a new row after "="

// Start values of the three above.
void ResetNoteSheet();

// ---- Measures ------------------------------------------------------------------------------------

inline constexpr Color NOTE_PAGE_COLOR{255, 252, 217};
inline constexpr Color NOTE_CLEARED_COLOR{255, 251, 240};
inline constexpr Color NOTE_NUMBER_COLOR{0, 128, 0};
inline constexpr int NOTE_SCROLL_STEP = 20;
inline constexpr int KANKAKU_MIN_KEYS = 5;  // the keys stop here; the command box goes down to 2
inline constexpr int KANKAKU_MIN_BOX = 2;
inline constexpr int KANKAKU_MAX = 25;
inline constexpr int PAGEA4BAIN_MIN = 80;
inline constexpr int PAGEA4BAIN_MAX = 300;
inline constexpr int KAITOURAN_ITI_MIN = 10;
inline constexpr int KAITOURAN_ITI_MAX = 80;

// 8.3 and 11.7 inches at ppi (integer parts); the page height is the A4 height × PAGEA4BAIN / 100.
int NotePageWidth(int ppi);
int NoteA4Height(int ppi);
int NotePageHeight(int ppi);

// Sets up a surface as the sheet is drawn on it: the page font (NOTE_FONTNAME, fixed pitch, NOTE_FONTSIZE,
// black), a teal pen of penWidth and the brush (page colour on screen, white on paper).
void PrepareNoteSurface(Canvas& surface, int penWidth, bool printing);
// cw = width of "1234567890" / 10, ch = its height, on the surface's current font.
void MeasureNoteCells(Canvas& surface, int& cw, int& ch);

struct NoteSheetView {
  int cw = 10;
  int ch = 20;
  int ppi = 96;  // the screen's resolution: page width and height are counted in it
  int hScroll = 0;
  int vScroll = 0;
  int clientWidth = 0;  // area filled with the page colour (screen only)
  int clientHeight = 0;
  bool printing = false;  // no background, no rulers
  // A printed sheet holds lines firstLine … lastLine: the others are laid out (they push the later lines
  // down as on screen) but not drawn, and the drawn lines move up by lineShift. The title stays.
  int firstLine = 1;
  int lastLine = INT_MAX;
  int lineShift = 0;
};

// The title as drawn: the page title, with "　[ " + file name without folders + " ]" when asked for.
std::string NoteTitleText();
// "ノート画面 [ " + fileName + "]".
std::string NoteWindowCaption();

// Draws the whole sheet. Returns the number of rows the drawing added below lines (answers moved down,
// breaks at "="), which tests read.
int DrawNoteSheet(Canvas& surface, const NoteSheetView& view);
// The title line alone (the title box's Apply redraws it at once).
void DrawNoteTitle(Canvas& surface, const NoteSheetView& view);

// ---- Printing on sheets of paper -------------------------------------------------------------------

// Where a line of the page lies, before scrolling: top is the y its row is drawn at, bottom how far its
// drawing (fractions, an answer moved down, an answer blank) reaches.
struct NoteLineBand {
  int top = 0;
  int bottom = 0;
};
// Lays the page out on the surface as the view would draw it, drawing nothing: one band per line.
std::vector<NoteLineBand> NoteLineBands(Canvas& surface, const NoteSheetView& view);
// The first line whose row is seen whole in a window scrolled down by vScroll (the last line when the
// window is scrolled past every line; 1 on an empty page).
int NoteFirstShownLine(const std::vector<NoteLineBand>& bands, int vScroll);

// One printed sheet: the title, then lines firstLine … lastLine moved up by lineShift, so that
// firstLine stands where line 1 stands on the page. lastLine < firstLine on a sheet without lines.
struct NoteSheetPart {
  int firstLine = 1;
  int lastLine = 0;
  int lineShift = 0;
};
// The sheets that print lines firstLine … last on paper sheetHeight high: each holds as many lines as
// end on it, at least one (a line taller than the paper gets a sheet of its own). A page without lines
// from firstLine on prints one sheet with the title.
std::vector<NoteSheetPart> SplitNoteSheet(const std::vector<NoteLineBand>& bands, int firstLine,
                                          int sheetHeight);

// ---- Keys and wheel ------------------------------------------------------------------------------

enum class NoteCommand {
  None,
  Font,
  SelectPrevious,
  SelectNext,
  PitchUp,
  PitchDown,
  ToggleEqualBreak,
  Clear,
  Open,
  Save,
  SaveAs,
  Print,
  Close,
  DeleteAnswer,
  DeleteSelected,
  EditSelected,
  CalculateSelected,
  CopySelected,
  AddNew,
  DeleteAllAnswers,
  EditPage,
  CalculateAll,
  Restore,
  Title,
  CommandBox,
  Conditions,
  ToggleAnswerBlank,
  AnswerColumnStart,
  WindowA4Width,
  PageHeightUp,
  PageHeightDown,
  ScrollUp,
  ScrollDown,
  ScrollLeft,
  ScrollRight,
  CheckWorking,
};

// KeySyori's table: a virtual key with its modifier bits (platform/VirtualKeys.h) to a command, including
// the menu shortcuts, so that the command box forwarding its keys reaches every command. A Shift or
// Ctrl combination that is not in the table falls through to the plain key.
NoteCommand NoteKeyCommand(int vk, int shift);
// The browser edition's own keys for the commands whose desktop key a browser keeps (Ctrl+W closes the tab):
// Alt with the same key.
const std::vector<BrowserKey>& NoteBrowserKeys();
// NoteKeyCommand in the browser edition: a key of NoteBrowserKeys stands for its desktop key.
NoteCommand NoteBrowserKeyCommand(int vk, int shift);
// The wheel: right button held scrolls sideways, left button held moves the selection, else it scrolls.
NoteCommand NoteWheelCommand(bool down, bool rightButton, bool leftButton);

// Line pitch and page height steps of the keys and the command box, clamped to their ranges; LinePitch
// follows KANKAKU. Each returns whether the value changed.
bool SetKankaku(int value, int minimum);
bool SetPageA4Bain(int value);

// The answer column box's entry: a whole number 10–80 (blanks around it allowed).
bool ParseAnswerColumn(const std::string& text, int& value);
// Its prompt with the current value.
std::string AnswerColumnPrompt();
