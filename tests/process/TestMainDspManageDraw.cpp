// Placement of a drawn process on the recording surface (cell 10 × 20 at size 14, row factor 5, so half a
// step is 50, the gap of a figure line 63 and the advice size 9): title, plain lines, hidden steps,
// advice rows, reduction figures and the cancellation figure.
#include "process/MainDspManage-Draw.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/BunMath.h"
#include "engine/Bunio.h"
#include "engine/Settings.h"
#include "platform/RecordingCanvas.h"
#include "process/CalcProcManage.h"
#include "process/MainDspManage.h"
#include "typeset/bunCanvasDsp.h"

namespace {

constexpr int X0 = 40, Y0 = 80, CW = 10, CH = 20;
const LinePlace PLACE{X0, Y0, CW, CH};

class ProcessDraw : public ::testing::Test {
 protected:
  void SetUp() override {
    LinePitch = GYOKEISUU;
    canvas.SetBrushColor(CLR_CREAM);
    canvas.SetPenColor(CLR_TEAL);
    canvas.SetPenWidth(2);
  }

  // Draws a normalised process text of the given type the way the screen does.
  void Draw(const std::string& text, int type = 1) {
    ProcessState.processText = text;
    ProcessState.processType = static_cast<ProcessType>(type);
    canvas.ClearOps();
    DrawCurrentLine(canvas, "", true, PLACE);
  }

  std::vector<CanvasOp> TextsStartingWith(const std::string& prefix) const {
    std::vector<CanvasOp> out;
    for (const CanvasOp& op : canvas.OpsOf(CanvasOp::Kind::Text))
      if (op.text.rfind(prefix, 0) == 0) out.push_back(op);
    return out;
  }
  // The y of every "＝" drawn, in order (each line after the first starts with one).
  std::vector<int> EqualsRows() const {
    std::vector<int> ys;
    for (const CanvasOp& op : TextsStartingWith("＝")) ys.push_back(op.y);
    return ys;
  }
  // The texts drawn in the advice colour and size.
  std::vector<CanvasOp> AdviceOps() const {
    std::vector<CanvasOp> out;
    for (const CanvasOp& op : canvas.OpsOf(CanvasOp::Kind::Text))
      if (op.fontColor == CLR_NAVY && op.fontSize == 9) out.push_back(op);
    return out;
  }

  RecordingCanvas canvas;
};

TEST_F(ProcessDraw, TitleStandsTwoRowsAboveTheLineSmallBoldMaroonAndUnderlined) {
  Draw("003X2b1+3b1~");
  std::vector<CanvasOp> titles = TextsStartingWith("タイプ[01]");
  ASSERT_EQ(titles.size(), 1u);
  const CanvasOp& t = titles[0];
  EXPECT_EQ(t.x, 4 * CW);
  EXPECT_EQ(t.y, Y0 - 2 * CH);
  EXPECT_EQ(t.fontSize, 11);  // 0.8 × 14 truncated
  EXPECT_EQ(t.fontColor, CLR_MAROON);
  EXPECT_TRUE(t.bold);
  // The underline runs along the foot of the title in maroon.
  bool underlined = false;
  for (const CanvasOp& op : canvas.OpsOf(CanvasOp::Kind::Line))
    if (op.penColor == CLR_MAROON && op.x == t.x && op.x2 == t.x2 && op.y == t.y2 - 1) underlined = true;
  EXPECT_TRUE(underlined);
  // Afterwards the surface is as before: size, boldness and pen.
  EXPECT_EQ(canvas.FontSize(), 14);
  EXPECT_FALSE(canvas.FontBold());
  EXPECT_EQ(canvas.PenColor(), CLR_TEAL);
  EXPECT_EQ(canvas.PenWidth(), 2);
}

TEST_F(ProcessDraw, OneRecordIsOneLineAtTheOriginWithItsAdviceAfterIt) {
  ADVICEDSP = 1;
  Draw("003X2b1+3b1~");
  RecordingCanvas plain;
  const int end = TypesetLine(plain, "2b1+3b1", X0, Y0, CW, CH);
  std::vector<CanvasOp> advice = AdviceOps();
  ASSERT_EQ(advice.size(), 1u);
  EXPECT_EQ(advice[0].text, AdviceTexts[3]);
  EXPECT_EQ(advice[0].x, end + 2 * CH);
  EXPECT_EQ(advice[0].y, Y0);
  EXPECT_TRUE(EqualsRows().empty());
}

TEST_F(ProcessDraw, AdviceSizeUsesTheSinglePrecisionFactor) {
  // 0.7f × 10 is 6.99999988…, so a ten-point font gives six-point advice; the size is put back after.
  ADVICEDSP = 1;
  canvas.SetFontSize(10);
  Draw("003X2b1+3b1~");
  std::vector<CanvasOp> advice = TextsStartingWith("⇒ 分母を同じに");
  ASSERT_EQ(advice.size(), 1u);
  EXPECT_EQ(advice[0].fontSize, 6);
  EXPECT_EQ(advice[0].fontColor, CLR_NAVY);
  EXPECT_EQ(canvas.FontSize(), 10);
}

TEST_F(ProcessDraw, AdviceOffDrawsNoAdviceButPlacesEveryLineAlike) {
  const std::string text = NormalizeProcessText("~003X=2b1+3b1~004X=6b3+6b2~005X=6b5~020X=6b5");
  ADVICEDSP = 1;
  PROCTEIDO = 1;
  Draw(text);
  auto withoutAdvice = [&] {
    std::vector<std::string> out;
    for (const CanvasOp& op : canvas.ops)
      if (!(op.kind == CanvasOp::Kind::Text && op.fontColor == CLR_NAVY && op.fontSize == 9))
        out.push_back(op.Describe());
    return out;
  };
  const std::vector<std::string> with = withoutAdvice();
  EXPECT_FALSE(AdviceOps().empty());
  ADVICEDSP = 0;
  Draw(text);
  EXPECT_TRUE(AdviceOps().empty());
  EXPECT_EQ(withoutAdvice(), with);
}

TEST_F(ProcessDraw, PlainLinesStandHalfAStepApartAndHiddenStepsLeaveNoGap) {
  // Advice 1 and 35 are hidden at the normal level unless they come first.
  const std::string text = "001X2b1~035X=3b1~001X=4b1~020X=5b1~";
  PROCTEIDO = 1;
  Draw(text);
  EXPECT_EQ(EqualsRows(), (std::vector<int>{Y0 + 50, Y0 + 100, Y0 + 150}));
  PROCTEIDO = 0;
  ADVICEDSP = 1;
  Draw(text);
  EXPECT_EQ(EqualsRows(), (std::vector<int>{Y0 + 50}));
  // The first record is drawn with its advice although its number is hidden elsewhere.
  std::vector<CanvasOp> advice = AdviceOps();
  ASSERT_EQ(advice.size(), 2u);
  EXPECT_EQ(advice[0].text, AdviceTexts[1]);
  EXPECT_EQ(advice[0].y, Y0);
  EXPECT_EQ(advice[1].y, Y0 + 50);
  // Every line after the first starts one character height left of the origin.
  for (const CanvasOp& op : TextsStartingWith("＝")) EXPECT_EQ(op.x, X0 - CH);
}

TEST_F(ProcessDraw, AdviceWithARowBreakIsDrawnOnTwoRowsAtOneLeftEdge) {
  ADVICEDSP = 1;
  PROCTEIDO = 1;
  Draw("090X2b1+3b1~004X=6b3+6b2~");
  std::vector<CanvasOp> advice = AdviceOps();
  ASSERT_EQ(advice.size(), 3u);  // advice 90, then the two rows of advice 4
  EXPECT_EQ(advice[1].text, "⇔ ▼[通分] 分母がそろうよう､各分数の分母・分子に同じ数を");
  EXPECT_EQ(advice[2].text, "　　かけます。(普通は､各分母の最小公倍数にそろえるよ)[4]");
  EXPECT_EQ(advice[2].x, advice[1].x);
  EXPECT_EQ(advice[2].y, advice[1].y + CH);

  // DrawAdvice itself drops a break at the very start.
  RecordingCanvas c;
  DrawAdvice(c, 2, 5, 7, CH);
  EXPECT_EQ(c.Texts(), (std::vector<std::string>{"⇔ [約分] 約分は､分母・分子を同じ数で割ります。",
                                                 "　　(割り切れなくなるまで､割るよ)▼[2]"}));
  c.ClearOps();
  DrawAdvice(c, 0, 5, 7, CH);
  DrawAdvice(c, 100, 5, 7, CH);
  EXPECT_TRUE(c.ops.empty());
}

TEST_F(ProcessDraw, ReductionLineIsLoweredAndTheNextLineFollowsAGapAndARowLater) {
  ADVICEDSP = 1;
  Draw("090X4b2+6b3~002Y=4b2+6b3~020X=1~");
  // The "＝" of the reduction line: 0.7 × 20 = 13 below the row, plus half a step.
  std::vector<int> rows = EqualsRows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], Y0 + 13 + 50);
  // The next plain line starts at y + gap + H and draws its "＝" half a step lower.
  EXPECT_EQ(rows[1], Y0 + 63 + 20 + 50);
  std::vector<CanvasOp> blue = TextsStartingWith("＝");
  EXPECT_EQ(blue[0].fontColor, CLR_BLUE);
  EXPECT_EQ(blue[0].x, X0 - CH);
  // Both fractions are struck through with their quotients: 4 → 2, 2 → 1, 6 → 2, 3 → 1.
  std::vector<std::string> small;
  for (const CanvasOp& op : canvas.OpsOf(CanvasOp::Kind::Text))
    if (op.fontColor == CLR_MAROON && op.bold && op.fontSize == 9) small.push_back(op.text);
  EXPECT_EQ(small, (std::vector<std::string>{"2", "1", "2", "1"}));
  // The advice of the reduction line stands on the lowered row, after the figure.
  std::vector<CanvasOp> advice = TextsStartingWith("⇔ [約分]");
  ASSERT_EQ(advice.size(), 1u);
  EXPECT_EQ(advice[0].y, Y0 + 63);
}

TEST_F(ProcessDraw, LongFormLineAdviceStandsOneHeightLeftOfThePen) {
  ADVICEDSP = 1;
  Draw("056X4b2~057A=4b2~059X=2b1~", 9);
  std::vector<CanvasOp> close = TextsStartingWith("〕");
  ASSERT_EQ(close.size(), 1u);
  std::vector<CanvasOp> advice = TextsStartingWith("⇔ 斜線を引いて");
  ASSERT_EQ(advice.size(), 1u);
  EXPECT_EQ(advice[0].x, close[0].x2 - CH + 2 * CH);
  EXPECT_EQ(advice[0].y, Y0 + 63);
}

TEST_F(ProcessDraw, CancellationFigureOfTwoThirdsTimesThreeQuarters) {
  ADVICEDSP = 1;
  ASSERT_EQ(MakeProcess("3b2*4b3", true), 1);
  const CancellationFigure& fig = ProcessState.figure;
  ASSERT_EQ(fig.numeratorRows, 1);
  ASSERT_EQ(fig.denominatorRows, 1);
  canvas.ClearOps();
  DrawCurrentLine(canvas, "", true, PLACE);

  // Lines: 3b2*4b3 (advice 1, first), the figure (62), [1*2B1*1] (64), 2b1 (20).
  // The figure's reference row: y + half + H/4 + 0.7 × H × 1 = 80 + 50 + 5 + 13.
  const int yF = Y0 + 68;
  std::vector<CanvasOp> eq = TextsStartingWith("＝");
  ASSERT_GE(eq.size(), 1u);
  EXPECT_EQ(eq[0].x, X0 - CH);
  EXPECT_EQ(eq[0].y, yF);

  // First values in black on their rows; cancelled ones struck through, quotients small above / below.
  auto find = [&](const std::string& text, int y) {
    for (const CanvasOp& op : canvas.OpsOf(CanvasOp::Kind::Text))
      if (op.text == text && op.y == y) return true;
    return false;
  };
  const int numTop = yF - CH / 2 - 3, denTop = yF + CH / 2 + 3;
  EXPECT_TRUE(find("2", numTop));
  EXPECT_TRUE(find("3", numTop));
  EXPECT_TRUE(find("3", denTop));
  EXPECT_TRUE(find("4", denTop));
  // Quotients: a numerator's at top + 0.1 H − 0.7 H, a denominator's at top + 0.3 H + 0.7 H, each product
  // truncated (0.3 × 20 gives 5 and 0.7 × 20 gives 13, as the layout has always been computed).
  EXPECT_TRUE(find("1", numTop + 2 - 13));
  EXPECT_TRUE(find("2", denTop + 5 + 13));
  int strikes = 0;
  for (const CanvasOp& op : canvas.OpsOf(CanvasOp::Kind::Line))
    if ((op.y == numTop + 2 || op.y == denTop + 2) && op.y2 == op.y + CH - 4) ++strikes;
  EXPECT_EQ(strikes, 4);  // every first value was cancelled once

  // The next line starts at y + gap + H + 0.7 H × 2 − 5H/4 = y + 63 + 20 + 27 − 25 and draws its "＝"
  // half a step below.
  ASSERT_EQ(eq.size(), 3u);
  EXPECT_EQ(eq[1].y, Y0 + 85 + 50);
  EXPECT_EQ(eq[2].y, Y0 + 85 + 100);

  // The figure's advice: y + gap + 0.7 H × 1 − H.
  bool adviceFound = false;
  for (const CanvasOp& op : AdviceOps())
    if (op.text.rfind("⇒ かけてある分数どうしでは", 0) == 0) {
      adviceFound = true;
      EXPECT_EQ(op.y, Y0 + 63 + 13 - 20);
    }
  EXPECT_TRUE(adviceFound);
}

TEST_F(ProcessDraw, ANegativeProductFigureCarriesItsSign) {
  ASSERT_EQ(MakeProcess("(m3b2)*4b3", true), 1);
  ASSERT_EQ(ProcessState.figure.signMode, FigureSign::Minus);
  canvas.ClearOps();
  DrawCurrentLine(canvas, "", true, PLACE);
  std::vector<std::string> texts = canvas.Texts();
  auto eq = std::find(texts.begin(), texts.end(), "＝");
  bool signAfterFigureEquals = false;
  for (auto it = texts.begin(); it + 1 != texts.end(); ++it)
    if (*it == "＝" && *(it + 1) == "－") signAfterFigureEquals = true;
  EXPECT_NE(eq, texts.end());
  EXPECT_TRUE(signAfterFigureEquals);
}

TEST_F(ProcessDraw, ProcessDrawingBreaksAtEqualsOnlyWhileItDraws) {
  EQUAL_KAIGYO = 0;
  Draw("090X2b1~020X=3b1~");
  EXPECT_EQ(EqualsRows(), (std::vector<int>{Y0 + 50}));
  EXPECT_EQ(EQUAL_KAIGYO, 0);
}

TEST_F(ProcessDraw, PlainDrawingIsTheTypesettersLineWithItsAnswer) {
  RecordingCanvas expected;
  expected.SetBrushColor(CLR_CREAM);
  expected.SetPenColor(CLR_TEAL);
  expected.SetPenWidth(2);
  TypesetLineAndAnswer(expected, "2b1+3b1=6b5&6b5", X0, Y0, CW, CH, {.kind = AnswerPlace::Kind::BelowLine});
  DrawCurrentLine(canvas, "2b1+3b1=6b5&6b5", false, PLACE);
  EXPECT_EQ(canvas.Describe(true), expected.Describe(true));
}

TEST_F(ProcessDraw, AnEmptyProcessDrawsOnlyItsTitle) {
  Draw("", 10);
  EXPECT_EQ(canvas.Texts(), (std::vector<std::string>{std::string(ProcessTypeTitles[10])}));
}

TEST_F(ProcessDraw, RealProcessesDrawEveryVisibleLine) {
  // Every line the batch tool lists is drawn: one "＝" per line after the first.
  for (const char* expr : {"2b1+3b1", "3b2/3b4", "2k3b1+1", "3-4b1", "2k3b1*4b3", "0.5+3b1"}) {
    for (int detail : {0, 1}) {
      SetUp();
      PROCTEIDO = detail;
      ASSERT_EQ(MakeProcess(expr, true), 1) << expr;
      const size_t lines = VisibleProcessLines(ProcessState.processText, detail).size();
      canvas.ClearOps();
      DrawCurrentLine(canvas, "", true, PLACE);
      EXPECT_EQ(EqualsRows().size(), lines - 1) << expr << " detail " << detail;
    }
  }
}

}  // namespace
