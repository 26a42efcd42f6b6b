// Expression fractions on the recording surface (cell 10 × 20 at size 14): the closed group, the group
// while it is typed (cursor and purple "["), parentheses and signs, and the long form of a reduction.
#include "typeset/bunHCanvDsp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Bunsuuh.h"
#include "engine/Settings.h"
#include "platform/RecordingCanvas.h"
#include "platform/ShiftJis.h"
#include "support/TestSupport.h"
#include "support/TypesetExpect.h"
#include "typeset/bunCanvasDsp.h"

namespace {

using namespace typeset_test;

class ExpressionFraction : public TypesetSurface {
 protected:
  ExpressionFraction() : TypesetSurface(CLR_TEAL) {}
};

TEST_F(ExpressionFraction, ClosedGroupCentresTheNarrowerPartUnderOneBar) {
  // 1+2 counts 4 cells and 6 one, so the 6 moves right by 3 / 2 cells; both parts start 2 + 3 pixels in.
  EXPECT_EQ(Line("[6B1+2]"), 147);
  EXPECT_EQ(Drawn(), Ops({{T(120, 113, "6", CLR_BLACK), T(105, 88, "1", CLR_BLACK), T(115, 88, "＋", CLR_RED),
                           T(135, 88, "2", CLR_BLACK)},
                          Bar(102, 110, 43)}));
  EXPECT_FALSE(CursorFollowsPen);
  EXPECT_EQ(CursorPos, (CanvasPoint{147, 100}));
  EXPECT_EQ(CursorColour, CLR_BLUE);
  EXPECT_EQ(canvas.GetFontPitch(), FontPitch::Fixed);
}

TEST_F(ExpressionFraction, NegativeGroupAfterAnOperatorIsParenthesised) {
  EXPECT_EQ(Line("1+[mK3B1]"), 187);
  EXPECT_EQ(Drawn(),
            Ops({{T(100, 100, "1", CLR_BLACK), T(110, 100, "＋", CLR_RED), T(132, 100, "(", CLR_BLUE),
                  T(142, 100, "－", CLR_RED), T(165, 113, "3", CLR_BLACK), T(165, 88, "1", CLR_BLACK)},
                 Bar(162, 110, 13),
                 {T(175, 100, ")", CLR_BLUE)}}));
}

TEST_F(ExpressionFraction, ParenthesesOnlyAfterAnOperatorOrBeforeTimesOrDivide) {
  struct Case {
    std::string text;
    bool paren;
  };
  const std::vector<Case> cases = {
      {"[mK3B1]", false},   {"[mK3B1]*2", true}, {"[mK3B1]/2", true},
      {"[mK3B1]+2", false}, {"2*[mK3B1]", true}, {"2^[mK3B1]", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    canvas.ClearOps();
    TypesetLine(canvas, c.text, X, Y, CW, CH);
    bool paren = false;
    for (const auto& op : canvas.ops)
      if (op.text == "(") paren = true;
    EXPECT_EQ(paren, c.paren);
  }
}

TEST_F(ExpressionFraction, ExplicitPlusSignIsShownInRed) {
  Line("[pK3B1]");
  EXPECT_EQ(Drawn()[0], T(102, 100, "＋", CLR_RED));
}

TEST_F(ExpressionFraction, WholePartStandsBeforeTheBar) {
  EXPECT_EQ(Line("[2K3+1B1]"), 157);
  EXPECT_EQ(Drawn(),
            Ops({{T(102, 100, "2", CLR_BLACK), T(115, 113, "3", CLR_BLACK), T(125, 113, "＋", CLR_RED),
                  T(145, 113, "1", CLR_BLACK), T(130, 88, "1", CLR_BLACK)},
                 Bar(112, 110, 43)}));
  EXPECT_EQ(CursorPos, (CanvasPoint{157, 100}));
}

TEST_F(ExpressionFraction, GroupWhileTyped) {
  struct Case {
    std::string text;
    std::vector<std::string> ops;
    bool follows;
    CanvasPoint cursor;  // when the cursor does not follow the pen
  };
  const std::string lb = T(100, 100, "[", CLR_PURPLE);
  const std::vector<Case> cases = {
      {"[", {lb}, true, {}},
      {"[12", {lb, T(110, 100, "1", CLR_BLACK), T(120, 100, "2", CLR_BLACK)}, true, {}},
      {"[m", {lb, T(110, 100, "－", CLR_RED)}, true, {}},
      // whole part typed: a one-cell bar waits for the denominator
      {"[2K", Ops({{lb, T(110, 100, "2", CLR_BLACK)}, Bar(120, 110, 10)}), false, {120, 113}},
      {"[2K3",
       Ops({{lb, T(110, 100, "2", CLR_BLACK)},
            Bar(120, 110, 10),
            Bar(120, 110, 10),
            {T(120, 113, "3", CLR_BLACK)}}),
       true,
       {}},
      {"[2K3B",
       Ops({{lb, T(110, 100, "2", CLR_BLACK), T(120, 113, "3", CLR_BLACK)}, Bar(120, 110, 10)}),
       false,
       {120, 87}},
      // numerator typed: drawn as a group from after the "[", cursor after the numerator
      {"[2K3B1",
       Ops({{lb, T(112, 100, "2", CLR_BLACK), T(125, 113, "3", CLR_BLACK), T(125, 88, "1", CLR_BLACK)},
            Bar(122, 110, 13)}),
       false,
       {135, 88}},
      {"[6B", Ops({{lb, T(110, 113, "6", CLR_BLACK)}, Bar(110, 110, 10)}), false, {110, 87}},
      {"[6B1",
       Ops({{lb, T(115, 113, "6", CLR_BLACK), T(115, 88, "1", CLR_BLACK)}, Bar(112, 110, 13)}),
       false,
       {125, 88}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    canvas.ClearOps();
    ResetTypeset();
    TypesetLine(canvas, c.text, X, Y, CW, CH);
    EXPECT_EQ(canvas.Describe(), c.ops);
    EXPECT_EQ(CursorFollowsPen, c.follows);
    if (!c.follows) {
      EXPECT_EQ(CursorPos, c.cursor);
    }
  }
  // A lone "[" turns the cursor red.
  ResetTypeset();
  TypesetLine(canvas, "1+[", X, Y, CW, CH);
  EXPECT_EQ(CursorColour, CLR_RED);
}

TEST_F(ExpressionFraction, DrawingContinuesAfterTheGroup) {
  Line("[3B1]+[3B2]");
  const auto ops = Drawn();
  ASSERT_EQ(ops.size(), 9u);
  EXPECT_EQ(ops[4], T(117, 100, "＋", CLR_RED));
  EXPECT_EQ(ops[5], T(142, 113, "3", CLR_BLACK));
  EXPECT_EQ(ops[7], L(139, 110, 152, 110));
}

TEST_F(ExpressionFraction, UndrawableSignSetsTheErrorAndDrawsNothing) {
  EXPECT_EQ(TypesetExpressionFraction(canvas, BunsuuH{"7", "0", "3", "1"}, X, Y, CW, CH, false, false), 102);
  EXPECT_TRUE(Drawn().empty());
  EXPECT_EQ(BunsuuhError, 50);
  // A zero sign draws "0".
  EXPECT_EQ(TypesetExpressionFraction(canvas, BUNSUUH_EMPTY, X, Y, CW, CH, false, false), 112);
  EXPECT_EQ(Drawn(), Ops({{T(102, 100, "0", CLR_BLACK)}}));
}

TEST_F(ExpressionFraction, LongForms) {
  struct Case {
    Bunsuu value;
    std::string text;
  };
  const std::vector<Case> cases = {
      {{1, 0, 6, 4}, "[K6/2B4/2]"}, {{1, 2, 6, 4}, "[2K6/2B4/2]"}, {{-1, 0, 6, 4}, "[-K6/2B4/2]"},
      {BUNSUU_ZERO, "0"},           {{1, 5, 1, 0}, "5"},           {{-1, 5, 1, 0}, "-5"},
  };
  for (const auto& c : cases) EXPECT_EQ(LongFormText(c.value, 0), c.text);
  LongFormText(Bunsuu{1, 2, 6, 4}, 0);
  EXPECT_EQ(LastLongForm, (BunsuuH{"+1", "2", "6/2", "4/2"}));
  EXPECT_EQ(LongFormText(Bunsuu{1, 0, 6, 4}, 1), "[K6/2B4/2]=3b2");
}

TEST_F(ExpressionFraction, ReductionWithLongFormInMagentaBrackets) {
  TypesetReduction(canvas, Bunsuu{1, 0, 6, 4}, X, Y, CW, CH, {.longForm = true});
  const auto ops = Drawn();
  ASSERT_GE(ops.size(), 10u);
  EXPECT_EQ(ops[8], T(120, 100, "〔", CLR_MAGENTA));
  EXPECT_EQ(ops[9], T(140, 100, "＝", CLR_BLUE));
  // [K6/2B4/2] ends 2 pixels after its bar (162 .. 205); the "〕" stands one cell after that.
  EXPECT_EQ(ops.back(), T(217, 100, "〕", CLR_MAGENTA));
}

}  // namespace
