// Draws expression texts in school notation on a Canvas: fractions stacked over a teal bar (denominator
// below), mixed numbers, raised exponents, repeating-decimal dots, full-width signs, the remainder word and
// the answer column with its "【答】" label. Expression fractions "[...]" are handed to bunHCanvDsp.h;
// the keystroke rules that decide which texts exist are elsewhere (InpCheck), as is the value of a line.
//
// Every call receives the top-left corner (x, y) of one text row and the cell size (cw, ch) of the current
// font and returns the x where its drawing ended. Widths are counted in cells, never measured, except that
// the pen position is read back after each TextOut.
#pragma once

#include <climits>
#include <cstdint>
#include <string>

#include "engine/Bunsuu.h"
#include "engine/Bunsuuh.h"
#include "platform/Canvas.h"

// State shared with the calculation line and the screen page. One instance each; ResetTypeset() restores
// the start values (the settings themselves, EQUAL_KAIGYO among them, live in engine/Settings.h).

// The typesetter's pen, cursor and last results (state records: tools/ProgramState.h). LastLongForm
// is named in bunHCanvDsp.h, FractionDepth in TypesetCommon.h.
struct TypesetState {
  bool CursorFollowsPen = true;
  Color CursorColour = CLR_BLUE;
  bool RaisedMode = false;
  int RaisedTop = 0;
  int BreakCount = 0;
  CanvasPoint EqualsPoint;
  bool AnswerMovedDown = false;
  int LinePitch = 5;
  CanvasPoint CursorPos;
  char MarkFound = 0;
  std::string ReducedText;
  std::string ReducedIntegerText;
  BunsuuH LastLongForm{"0", "0", "0", "0"};  // BUNSUUH_EMPTY, spelt out: no order between files at start
  int FractionDepth = 0;

  void Reset();
};
extern TypesetState TypesetData;

// Set at the start of every token; while set the blinking cursor follows the pen. Constructs that place
// the cursor themselves clear it and write CursorPos.
inline auto& CursorFollowsPen = TypesetData.CursorFollowsPen;
// Colour of the cursor cell: blue normally, red after a lone "[", magenta in a repeating part.
inline auto& CursorColour = TypesetData.CursorColour;
// Set while an exponent is being typed: the cursor cell is then drawn at RaisedTop, 0.7 cells high.
inline auto& RaisedMode = TypesetData.RaisedMode;
inline auto& RaisedTop = TypesetData.RaisedTop;
// Number of "=" moved to a new row in the current drawing of the line; callers reset it to 0 before a
// fresh drawing (the screen on every repaint, ClearLine).
inline auto& BreakCount = TypesetData.BreakCount;
// Where the last "＝" was drawn; the line places its verdict relative to it.
inline auto& EqualsPoint = TypesetData.EqualsPoint;
// Set by TypesetLineAndAnswer when the answer did not fit in its column and went below.
inline auto& AnswerMovedDown = TypesetData.AnswerMovedDown;
// Row-advance factor (working copy of GYOKEISUU): a new row is LinePitch * ch / 2 lower.
inline auto& LinePitch = TypesetData.LinePitch;
// Top-left of the blinking cursor cell.
inline auto& CursorPos = TypesetData.CursorPos;
// The mark FindMark found last (0 when none).
inline auto& MarkFound = TypesetData.MarkFound;
// Texts left by TypesetReduction and ReductionTexts: the reduced fraction, and its integer form (empty
// when the reduced value is not an integer).
inline auto& ReducedText = TypesetData.ReducedText;
inline auto& ReducedIntegerText = TypesetData.ReducedIntegerText;

// Start values of every shared value above (LinePitch 5, cursor blue, counters 0).
void ResetTypeset();

// One notation character as it is shown: display text and token code; code 0 means "no glyph" (digits,
// "." and every character not in the table).
struct Glyph {
  const char* text = "";
  int code = 0;
};
Glyph GlyphOf(char c);

// The marks that start a new token.
inline constexpr const char* TYPESET_MARKS = "+-*/^=()bkpm.u@!PCKB$xyz<>:KB[]R";

// A bar from (x, y) to (x + length, y) and back, with the current pen; returns x.
int DrawBar(Canvas& surface, int x, int y, int length);

// 1-based position of the first mark of TYPESET_MARKS in the text, or -1; MarkFound receives the mark.
int FindMark(const std::string& text);

// Up to count characters (-1 for all) of a text without fraction marks, character by character; "|"
// starts a new row 1.5 * ch lower. ch < 0 takes the cell height of the surface's current font (height of
// "1234567890"). Returns the end x.
int TypesetRun(Canvas& surface, const std::string& text, int x, int y, int count, int cw, int ch = -1);

// One expression text (complete or as far as it is typed); returns the end x. An empty text draws nothing.
int TypesetLine(Canvas& surface, const std::string& text, int x, int y, int cw, int ch);

// Where the answer column starts: four cells after the line, under the line start three rows lower, or
// at a column (below the line when it would touch it, setting AnswerMovedDown).
struct AnswerPlace {
  enum class Kind { AfterLine, BelowLine, AtColumn };
  Kind kind = Kind::AfterLine;
  int column = 0;  // AtColumn only

  // The settings' code: 0 after the line, > 0 below it, -c at column c.
  static AnswerPlace FromCode(int layout) {
    if (layout == 0) return {};
    if (layout > 0) return {.kind = Kind::BelowLine};
    return {.kind = Kind::AtColumn, .column = layout == INT_MIN ? INT_MAX : -layout};
  }
};

// A text "line&answer": the line by TypesetLine, the answer in the answer column at place. number > 0
// writes "【number の答】". Returns the last end x.
int TypesetLineAndAnswer(Canvas& surface, const std::string& text, int x, int y, int cw, int ch,
                         AnswerPlace place, int number = 0);

// The answer column itself: red label, the answer, a teal underline. Returns the end x.
int TypesetAnswer(Canvas& surface, const std::string& answer, int x, int y, int cw, int ch, int number);

// A value stacked (sign, whole part, numerator over denominator); returns the end x.
int TypesetFractionValue(Canvas& surface, const Bunsuu& value, int x, int y, int cw, int ch,
                         bool parenthesise);

// A number struck through with its replacement written small below or above; number -1 draws nothing
// and gives -1, else 1.
int DrawCancelledNumber(Canvas& surface, int64_t number, int64_t replacement, bool below, int x, int y,
                        int cw, int ch);

// A fraction with both parts struck through and divided by their gcd, optionally followed by the long
// form and "=" the reduced value. Leaves ReducedText / ReducedIntegerText; returns the x after the fraction.
struct ReductionShown {
  bool parenthesise = false;  // a negative value in parentheses
  bool result = false;  // "=" and the reduced value after the figure
  bool longForm = false;  // the long form of the division under the figure
};
int TypesetReduction(Canvas& surface, const Bunsuu& value, int x, int y, int cw, int ch,
                     ReductionShown shown);

// The two texts of TypesetReduction without drawing; -1 (texts unchanged) when the numerator is 0, else 1.
int ReductionTexts(const Bunsuu& value, bool withParentheses);

// Width of an expression text in cells: "+-*/=pm" 2 each, "().0123456789!PCxyz:" 1 each, others 0.
int CellCount(const std::string& text);
// CellCount less the shorter of denominator and numerator of a text holding "b" (stacked parts share
// columns); the width in characters the notice box sizes an expression by.
int FractionCellCount(const std::string& text);
