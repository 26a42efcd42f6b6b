// Exact geometry and colours of the line typesetter on the recording surface (cell 10 × 20 at size 14):
// rows, bars, offsets, the cursor while a line is typed, "=" line breaks, answer layouts and reductions.
#include "typeset/bunCanvasDsp.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/Settings.h"
#include "platform/RecordingCanvas.h"
#include "platform/ShiftJis.h"
#include "support/TestSupport.h"
#include "support/TypesetExpect.h"

namespace {

using namespace typeset_test;

// Bars must be teal even if the pen were set otherwise, so a black pen is used to catch that.
class Typeset : public TypesetSurface {
 protected:
  Typeset() : TypesetSurface(CLR_BLACK) {}
};

// ---- fractions and numbers, complete and while typed ----

TEST_F(Typeset, FractionWithoutNumeratorShowsDenominatorUnderBarAndCursorAbove) {
  Line("3b");
  EXPECT_EQ(Drawn(), Ops({{T(100, 113, "3", CLR_BLACK)}, Bar(100, 110, 10)}));
  EXPECT_FALSE(CursorFollowsPen);
  EXPECT_EQ(CursorPos, (CanvasPoint{100, 87}));
}

TEST_F(Typeset, FractionStacksNumeratorOverDenominatorAndCursorFollowsNumerator) {
  Line("3b2");
  EXPECT_EQ(Drawn(), Ops({Bar(100, 110, 10), {T(100, 113, "3", CLR_BLACK), T(100, 87, "2", CLR_BLACK)}}));
  EXPECT_TRUE(CursorFollowsPen);
  EXPECT_EQ(canvas.PenPos(), (CanvasPoint{110, 87}));
}

TEST_F(Typeset, ShorterPartIsCentredByHalfACellPerMissingDigit) {
  EXPECT_EQ(Line("12b5"), 120);
  EXPECT_EQ(Drawn(),
            Ops({Bar(100, 110, 20),
                 {T(100, 113, "1", CLR_BLACK), T(110, 113, "2", CLR_BLACK), T(105, 87, "5", CLR_BLACK)}}));
  canvas.ClearOps();
  TypesetLine(canvas, "3b125", X, Y, CW, CH);
  EXPECT_EQ(canvas.Describe()[2], T(110, 113, "3", CLR_BLACK));
}

TEST_F(Typeset, MixedNumberStartsItsFractionOnePixelAfterTheWholePart) {
  EXPECT_EQ(Line("1k3b2"), 121);
  EXPECT_EQ(Drawn(), Ops({{T(100, 100, "1", CLR_BLACK)},
                          Bar(111, 110, 10),
                          Bar(111, 110, 10),
                          {T(111, 113, "3", CLR_BLACK), T(111, 87, "2", CLR_BLACK)}}));
}

TEST_F(Typeset, MixedNumberWhileItsDenominatorIsTypedShowsItRawInBlue) {
  Line("1k3");
  EXPECT_EQ(Drawn(), Ops({{T(100, 100, "1", CLR_BLACK)},
                          Bar(111, 110, 10),
                          {T(111, 113, "3", CLR_BLUE)},
                          Bar(111, 110, 10)}));
  EXPECT_FALSE(CursorFollowsPen);
  EXPECT_EQ(CursorPos, (CanvasPoint{121, 113}));

  canvas.ClearOps();
  TypesetLine(canvas, "1k", X, Y, CW, CH);
  EXPECT_EQ(canvas.Describe(), Ops({{T(100, 100, "1", CLR_BLACK)}, Bar(111, 110, 10)}));
  EXPECT_EQ(CursorPos, (CanvasPoint{111, 113}));
}

// Kana, kanji and other characters the notation does not know are drawn whole, each in its own cells,
// never byte by byte; a byte that starts no whole character stays one piece of its own.
TEST_F(Typeset, CharactersBeyondAsciiAreDrawnWhole) {
  EXPECT_EQ(Line("あ2"), 130);
  EXPECT_EQ(Drawn(), Ops({{T(100, 100, "あ", CLR_BLACK), T(120, 100, "2", CLR_BLACK)}}));
  canvas.ClearOps();
  TypesetLine(canvas, "２ｂ", X, Y, CW, CH);
  EXPECT_EQ(canvas.Describe(), Ops({{T(100, 100, "２", CLR_BLACK), T(120, 100, "ｂ", CLR_BLACK)}}));
  canvas.ClearOps();
  TypesetLine(canvas, std::string("1\xE3\x81", 3), X, Y, CW, CH);
  const std::vector<std::string> cut = canvas.Describe();
  ASSERT_EQ(cut.size(), 3u);
  EXPECT_EQ(cut[1], T(110, 100, "\xE3", CLR_BLACK));
}

TEST_F(Typeset, NumeratorZeroIsDrawnAsTyped) {
  Line("3b0");
  EXPECT_EQ(Drawn(), Ops({Bar(100, 110, 10), {T(100, 113, "3", CLR_BLACK), T(100, 87, "0", CLR_BLACK)}}));
}

TEST_F(Typeset, RepeatingDecimalGetsRedDotsOverFirstAndLastRepeatingDigit) {
  Line("0.1@6");
  EXPECT_EQ(Drawn(),
            Ops({{T(100, 100, "0", CLR_BLACK), T(110, 100, ".", CLR_BLACK), T(120, 100, "1", CLR_BLACK),
                  // 0.3 cell right of the digit, 0.4 cell height up, at 0.3 of size 14.
                  T(133, 92, "●", CLR_RED, 4), T(130, 100, "6", CLR_BLACK)}}));
  EXPECT_EQ(CursorColour, CLR_MAGENTA);

  canvas.ClearOps();
  TypesetLine(canvas, "0.@18", X, Y, CW, CH);
  EXPECT_EQ(canvas.Describe(),
            Ops({{T(100, 100, "0", CLR_BLACK), T(110, 100, ".", CLR_BLACK), T(123, 92, "●", CLR_RED, 4),
                  T(120, 100, "1", CLR_BLACK), T(130, 100, "8", CLR_BLACK), T(132, 92, "●", CLR_RED, 4)}}));

  // A mark after the repeating digits ends the repeating part: the cursor is blue again.
  TypesetLine(canvas, "0.@3=", X, Y, CW, CH);
  EXPECT_EQ(CursorColour, CLR_BLUE);
}

TEST_F(Typeset, ExponentIsBoldMaroonAtSevenTenthsRaisedByAQuarterCell) {
  Line("2^10");
  EXPECT_EQ(Drawn(), Ops({{T(100, 100, "2", CLR_BLACK), T(110, 98, "10", CLR_MAROON, 9, true)}}));
  EXPECT_TRUE(RaisedMode);
  EXPECT_EQ(RaisedTop, 98);

  canvas.ClearOps();
  TypesetLine(canvas, "2^m1", X, Y, CW, CH);
  EXPECT_EQ(canvas.Describe(), Ops({{T(100, 100, "2", CLR_BLACK), T(110, 98, "－", CLR_RED, 9, true),
                                     T(122, 98, "1", CLR_MAROON, 9, true)}}));

  // A started exponent: nothing drawn yet, the cursor cell is raised.
  canvas.ClearOps();
  TypesetLine(canvas, "2^", X, Y, CW, CH);
  EXPECT_EQ(canvas.Describe(), Ops({{T(100, 100, "2", CLR_BLACK)}}));
  EXPECT_TRUE(RaisedMode);
}

TEST_F(Typeset, OperatorAfterExponentLowersTheCursorAgain) {
  Line("2^3+");
  EXPECT_EQ(Drawn().back(), T(116, 100, "＋", CLR_RED));
  EXPECT_FALSE(RaisedMode);
}

TEST_F(Typeset, RemainderWordIsRedBoldSmallerAndLowered) {
  Line("3.3R0.1");
  const auto ops = Drawn();
  ASSERT_GE(ops.size(), 4u);
  // After "3." and "3": a quarter cell in, 0.3 cell down; a quarter cell again after it.
  EXPECT_EQ(ops[3], T(132, 106, "あまり", CLR_RED, 9, true));
  EXPECT_EQ(ops[4], T(170, 100, "0", CLR_BLACK));
}

TEST_F(Typeset, SignTokensHaveTheirGlyphsAndColours) {
  struct Case {
    std::string text;
    std::string glyph;  // drawn second, after the digit at 100
    Color colour;
    bool bold;
  };
  const std::vector<Case> cases = {
      {"1+", "＋", CLR_RED, false},    {"1-", "－", CLR_RED, false},  {"1*", "×", CLR_RED, false},
      {"1/", "÷", CLR_RED, false},     {"1)", ")", CLR_BLUE, false},  {"1=", "＝", CLR_BLUE, false},
      {"3!", "!", CLR_MAROON, true},   {"5P", "P", CLR_MAROON, true}, {"5C", "C", CLR_MAROON, true},
      {"2x", "x", CLR_HOTTRACK, true}, {"1<", "＜", CLR_BLUE, false}, {"1>", "＞", CLR_BLUE, false},
      {"1<=", "≦", CLR_BLUE, false},   {"1>=", "≧", CLR_BLUE, false}, {"1u", "…", CLR_BLUE, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    canvas.ClearOps();
    TypesetLine(canvas, c.text, X, Y, CW, CH);
    const auto ops = canvas.Describe();
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_EQ(ops[1], T(110, 100, c.glyph, c.colour, 14, c.bold));
  }
  // Signs in a sign position.
  canvas.ClearOps();
  TypesetLine(canvas, "m3+p2", X, Y, CW, CH);
  EXPECT_EQ(canvas.Describe(),
            Ops({{T(100, 100, "－", CLR_RED), T(120, 100, "3", CLR_BLACK), T(130, 100, "＋", CLR_RED),
                  T(150, 100, "＋", CLR_RED), T(170, 100, "2", CLR_BLACK)}}));
}

TEST_F(Typeset, RatioColonIsHalfWidthMaroonWithAQuarterCellEachSide) {
  EXPECT_EQ(Line("1:2"), 134);
  EXPECT_EQ(Drawn(), Ops({{T(100, 100, "1", CLR_BLACK), T(112, 100, ":", CLR_MAROON, 14, true),
                           T(124, 100, "2", CLR_BLACK)}}));
}

TEST_F(Typeset, StyleAndSizeAreRestoredAfterEveryToken) {
  canvas.SetFontColor(CLR_NAVY);
  Line("3!+2^2*5P2x");
  EXPECT_EQ(canvas.FontSize(), 14);
  EXPECT_FALSE(canvas.FontBold());
  EXPECT_EQ(canvas.FontColor(), CLR_NAVY);
}

// ---- "=" and rows ----

TEST_F(Typeset, EqualsRecordsItsPointWithoutLineBreaks) {
  Line("1+2=3");
  EXPECT_EQ(EqualsPoint, (CanvasPoint{140, 100}));
  EXPECT_EQ(BreakCount, 0);
}

TEST_F(Typeset, EqualsStartsANewRowWhenLinesBreakAtEquals) {
  EQUAL_KAIGYO = 1;
  LinePitch = 5;
  Line("2b1+3b1=6b5");
  const auto ops = Drawn();
  // "＝" one ch left of the line start, LinePitch × ch / 2 lower; 6b5 on that row.
  const std::vector<std::string> tail(ops.end() - 5, ops.end());
  EXPECT_EQ(tail, Ops({{T(80, 150, "＝", CLR_BLUE)},
                       Bar(100, 160, 10),
                       {T(100, 163, "6", CLR_BLACK), T(100, 137, "5", CLR_BLACK)}}));
  EXPECT_EQ(BreakCount, 1);
  EXPECT_EQ(EqualsPoint, (CanvasPoint{80, 150}));

  // Each further "=" goes one more row down.
  canvas.ClearOps();
  BreakCount = 0;
  TypesetLine(canvas, "1=2=3", X, Y, CW, CH);
  EXPECT_EQ(canvas.Describe()[3], T(80, 200, "＝", CLR_BLUE));
  EXPECT_EQ(BreakCount, 2);
}

TEST_F(Typeset, LineWithAnUnknownNeverBreaksAtEquals) {
  EQUAL_KAIGYO = 1;
  Line("x+1=3");
  EXPECT_EQ(Drawn()[3], T(140, 100, "＝", CLR_BLUE));
  EXPECT_EQ(BreakCount, 0);
}

TEST_F(Typeset, RunStartsANewRowAtBar) {
  EXPECT_EQ(TypesetRun(canvas, "1,2|3", X, Y, -1, CW, CH), 110);
  EXPECT_EQ(Drawn(), Ops({{T(100, 100, "1", CLR_BLACK), T(110, 100, ",", CLR_BLACK),
                           T(120, 100, "2", CLR_BLACK), T(100, 130, "3", CLR_BLACK)}}));
}

TEST_F(Typeset, RunDrawsAtMostCountCharactersAndRaisesAfterCaret) {
  EXPECT_EQ(TypesetRun(canvas, "12345", X, Y, 2, CW, CH), 120);
  EXPECT_EQ(Drawn().size(), 2u);
  canvas.ClearOps();
  TypesetRun(canvas, "2^3+x", X, Y, -1, CW);
  EXPECT_EQ(canvas.Describe(), Ops({{T(100, 100, "2", CLR_BLACK), T(110, 98, "3", CLR_MAROON, 9),
                                     T(116, 100, "＋", CLR_RED), T(136, 100, "x", CLR_NAVY, 14, true)}}));
  EXPECT_FALSE(RaisedMode);
}

// ---- values ----

TEST_F(Typeset, FractionValueWithSignWholePartAndParentheses) {
  // −2 1/12 in parentheses; the ")" is not counted in the returned end.
  EXPECT_EQ(TypesetFractionValue(canvas, Bunsuu{-1, 2, 12, 1}, X, Y, CW, CH, true), 160);
  EXPECT_EQ(Drawn(),
            Ops({{T(100, 100, "(", CLR_BLUE), T(110, 100, "－", CLR_RED), T(130, 100, "2", CLR_BLACK)},
                 Bar(140, 110, 20),
                 {T(140, 113, "1", CLR_BLACK), T(150, 113, "2", CLR_BLACK), T(145, 87, "1", CLR_BLACK),
                  T(160, 100, ")", CLR_BLUE)}}));
}

TEST_F(Typeset, ZeroValueAndWholeOnlyValue) {
  EXPECT_EQ(TypesetFractionValue(canvas, BUNSUU_ZERO, X, Y, CW, CH, false), 110);
  EXPECT_EQ(Drawn(), Ops({{T(100, 100, "0", CLR_BLACK)}}));
  canvas.ClearOps();
  EXPECT_EQ(TypesetFractionValue(canvas, Bunsuu{1, 5, 1, 0}, X, Y, CW, CH, false), 110);
  EXPECT_EQ(canvas.Describe(), Ops({{T(100, 100, "5", CLR_BLACK)}}));
  // A negative integer in parentheses is closed too.
  canvas.ClearOps();
  TypesetFractionValue(canvas, Bunsuu{-1, 5, 1, 0}, X, Y, CW, CH, true);
  EXPECT_EQ(canvas.Describe().back(), T(140, 100, ")", CLR_BLUE));
}

// ---- answers ----

TEST_F(Typeset, AnswerColumnLayouts) {
  struct Case {
    int layout;
    int ax, ay;
    bool movedDown;
  };
  // "1+2=3" ends at 170; the answer "3" is drawn after the 6-byte label "【答】".
  const std::vector<Case> cases = {
      {0, 210, 100, false},  // four cells after the line
      {1, 100, 160, false},  // under the line start, three rows lower
      {-12, 220, 100, false},  // column 12 is right of the line end + 2 cells
      {-3, 130, 150, true},  // column 3 would touch the line: 2.5 rows lower
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.layout);
    canvas.ClearOps();
    int end = TypesetLineAndAnswer(canvas, "1+2=3&3", X, Y, CW, CH, AnswerPlace::FromCode(c.layout));
    EXPECT_EQ(end, c.ax + 70);
    EXPECT_EQ(AnswerMovedDown, c.movedDown);
    const auto ops = canvas.Describe();
    ASSERT_EQ(ops.size(), 8u);
    EXPECT_EQ(ops[5], T(c.ax, c.ay, "【答】", CLR_RED));
    EXPECT_EQ(ops[6], T(c.ax + 60, c.ay, "3", CLR_BLACK));
    EXPECT_EQ(ops[7], L(c.ax + 5, c.ay + 25, c.ax + 75, c.ay + 25));
  }
}

TEST_F(Typeset, AnswerRowFollowsTheLineBreaksOfTheLine) {
  EQUAL_KAIGYO = 1;
  TypesetLineAndAnswer(canvas, "1+2=3&3", X, Y, CW, CH, {.kind = AnswerPlace::Kind::BelowLine});
  // One break: the answer row is LinePitch × ch / 2 lower, then three rows down.
  EXPECT_EQ(Drawn()[5], T(100, 210, "【答】", CLR_RED));
  // The answer itself never breaks at its "=".
  canvas.ClearOps();
  BreakCount = 0;
  TypesetAnswer(canvas, "1k2b1=2b3", X, Y, CW, CH, 0);
  EXPECT_EQ(BreakCount, 0);
  EXPECT_EQ(EQUAL_KAIGYO, 1);
}

TEST_F(Typeset, NumberedLabelWidthCountsShiftJisBytesAndFractionsUnderlineLower) {
  int end = TypesetAnswer(canvas, "2b1", X, Y, CW, CH, 2);
  // "【2の答】" is 9 bytes: the answer starts 9 cells in.
  EXPECT_EQ(end, 200);
  EXPECT_EQ(Drawn(), Ops({{T(100, 100, "【2の答】", CLR_RED)},
                          Bar(190, 110, 10),
                          {T(190, 113, "2", CLR_BLACK), T(190, 87, "1", CLR_BLACK)},
                          {L(105, 135, 205, 135)}}));
}

TEST_F(Typeset, IndeterminateAnswerIsPlainBlackText) {
  TypesetAnswer(canvas, "x=(不能)", X, Y, CW, CH, 0);
  EXPECT_EQ(Drawn()[1], T(160, 100, "x=(不能)", CLR_BLACK));
}

TEST_F(Typeset, TextWithoutAnswerPartDrawsOnlyTheLine) {
  EXPECT_EQ(TypesetLineAndAnswer(canvas, "1+2", X, Y, CW, CH, {.kind = AnswerPlace::Kind::BelowLine}), 140);
  EXPECT_EQ(Drawn().size(), 3u);
  EXPECT_FALSE(AnswerMovedDown);
}

// ---- reductions ----

TEST_F(Typeset, CancelledNumberIsStruckThroughWithReplacementBelowOrAbove) {
  EXPECT_EQ(DrawCancelledNumber(canvas, 12, 3, true, X, 113, CW, CH), 1);
  EXPECT_EQ(
      Drawn(),
      Ops({{T(100, 113, "12", CLR_BLACK), T(110, 133, "3", CLR_MAROON, 9, true), L(100, 113, 120, 133)}}));
  canvas.ClearOps();
  DrawCancelledNumber(canvas, 4, 2, false, X, 87, CW, CH);
  EXPECT_EQ(canvas.Describe()[1], T(105, 75, "2", CLR_MAROON, 9, true));
  canvas.ClearOps();
  EXPECT_EQ(DrawCancelledNumber(canvas, -1, 2, false, X, Y, CW, CH), -1);
  EXPECT_TRUE(canvas.Describe().empty());
}

TEST_F(Typeset, ReductionStrikesBothPartsAndWritesTheResult) {
  EXPECT_EQ(TypesetReduction(canvas, Bunsuu{1, 0, 6, 4}, X, Y, CW, CH, {.result = true}), 110);
  EXPECT_EQ(Drawn(),
            Ops({Bar(100, 110, 10),
                 {T(100, 113, "6", CLR_BLACK), T(105, 133, "3", CLR_MAROON, 9, true), L(100, 113, 110, 133),
                  T(100, 87, "4", CLR_BLACK), T(105, 75, "2", CLR_MAROON, 9, true), L(100, 87, 110, 107),
                  T(110, 100, "＝", CLR_BLUE)},
                 Bar(130, 110, 10),
                 {T(130, 113, "3", CLR_BLACK), T(130, 87, "2", CLR_BLACK)}}));
  EXPECT_EQ(ReducedText, "3b2");
  EXPECT_EQ(ReducedIntegerText, "");
}

TEST_F(Typeset, ReductionToAnIntegerOnBrokenRows) {
  EQUAL_KAIGYO = 1;
  TypesetReduction(canvas, Bunsuu{1, 0, 2, 4}, X, Y, CW, CH, {.result = true});
  const auto ops = Drawn();
  // "=" and 1b2 two cells left of the start, at (87 + 20) + 5 × 20 / 2; then "=2" one pitch below the
  // pen's row after that drawing (the numerator's row 144).
  EXPECT_EQ(ops[8], T(80, 157, "＝", CLR_BLUE));
  EXPECT_EQ(ops.back(), T(100, 194, "2", CLR_BLACK));
  EXPECT_EQ(ReducedText, "1b2");
  EXPECT_EQ(ReducedIntegerText, "2");
  EXPECT_EQ(EQUAL_KAIGYO, 1);
}

TEST_F(Typeset, ReductionOfZeroAndOfAnInteger) {
  EXPECT_EQ(TypesetReduction(canvas, BUNSUU_ZERO, X, Y, CW, CH, {.result = true}), 110);
  ReducedText = "keep";
  canvas.ClearOps();
  // A whole part only is drawn in navy; nothing is left for the caller.
  EXPECT_EQ(TypesetReduction(canvas, Bunsuu{1, 7, 1, 0}, X, Y, CW, CH, {.result = true}), 110);
  EXPECT_EQ(canvas.Describe(), Ops({{T(100, 100, "7", CLR_NAVY)}}));
  EXPECT_EQ(ReducedText, "keep");
}

TEST_F(Typeset, ReductionTextsWithoutDrawing) {
  EXPECT_EQ(ReductionTexts(Bunsuu{-1, 2, 6, 4}, true), 1);
  EXPECT_EQ(ReducedText, "(m2k3b2)");
  EXPECT_EQ(ReducedIntegerText, "");
  EXPECT_EQ(ReductionTexts(Bunsuu{1, 0, 3, 6}, false), 1);
  EXPECT_EQ(ReducedText, "1b2");
  EXPECT_EQ(ReducedIntegerText, "2");
  EXPECT_EQ(ReductionTexts(Bunsuu{1, 4, 1, 0}, false), -1);
  EXPECT_EQ(ReducedText, "1b2");
}

// ---- measuring ----

TEST_F(Typeset, CellCountsAndMarks) {
  struct Case {
    std::string text;
    int cells, fractionCells;
  };
  const std::vector<Case> cases = {
      {"1+2", 4, 4}, {"3b2", 2, 1}, {"12b5+1", 6, 5}, {"1k3b125", 5, 4}, {"(1)!x:m", 8, 8}, {"[6B1]", 2, 2},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CellCount(c.text), c.cells) << c.text;
    EXPECT_EQ(FractionCellCount(c.text), c.fractionCells) << c.text;
  }
  EXPECT_EQ(FindMark("12+3"), 3);
  EXPECT_EQ(MarkFound, '+');
  EXPECT_EQ(FindMark("1k3b2"), 2);
  EXPECT_EQ(MarkFound, 'k');
  EXPECT_EQ(FindMark("123"), -1);
}

// ---- failures and robustness ----

TEST_F(Typeset, NumberBeyond64BitsStopsTheDrawingAfterTheMessage) {
  Line("1+99999999999999999999b1+2");
  EXPECT_EQ(Drawn(), Ops({{T(100, 100, "1", CLR_BLACK), T(110, 100, "＋", CLR_RED)}}));
  const auto shown = TestPlatform().Shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "警告!!");
  EXPECT_NE(shown[0].text.find("99999999999999999999"), std::string::npos);
}

TEST_F(Typeset, EmptyTextDrawsNothing) {
  EXPECT_EQ(Line(""), X);
  EXPECT_TRUE(Drawn().empty());
}

TEST_F(Typeset, TinyFontSizesAreDrawnAtOnePoint) {
  canvas.SetFontSize(3);
  TypesetLine(canvas, "0.@3", X, Y, CW, CH);
  bool dot = false;
  for (const auto& op : canvas.ops)
    if (op.text == "●") {
      dot = true;
      EXPECT_EQ(op.fontSize, 1);
    }
  EXPECT_TRUE(dot);
}

TEST_F(Typeset, AnyTextOfTheNotationIsDrawnWithoutFault) {
  // Random texts over the whole alphabet, many of them not typable: drawing must end, draw only inside a
  // sane area and never touch a byte outside the text.
  const std::string alphabet = "0123456789.@ubkKBmp+-*/^!PC()[]:=<>xyzXYZ&Rn|$ ";
  std::mt19937 rng(7);
  for (int i = 0; i < 3000; ++i) {
    std::string t;
    const int len = static_cast<int>(rng() % 40);
    for (int j = 0; j < len; ++j) t += alphabet[rng() % alphabet.size()];
    canvas.ClearOps();
    BreakCount = 0;
    TypesetLineAndAnswer(canvas, t, X, Y, CW, CH, AnswerPlace::FromCode(static_cast<int>(rng() % 5) - 2));
    for (const auto& op : canvas.ops) {
      ASSERT_GT(op.x, -2000) << t;
      ASSERT_LT(op.x, 100000) << t;
      ASSERT_GT(op.y, -2000) << t;
      ASSERT_LT(op.y, 100000) << t;
    }
  }
}

}  // namespace
