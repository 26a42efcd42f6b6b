// The pupil's working on the calculation screen: Ctrl+G writes the step mark and checks the line, the
// marks ○ and × are drawn above the end of each step, the advice under the line, the hint on request;
// "=" keeps its meaning, and the screen's reduction, decimal and repeating-decimal processes check as
// right working.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/BunMath.h"
#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "platform/RecordingCanvas.h"
#include "process/CalcProcManage.h"
#include "process/MainDspManage.h"
#include "screen/ScreenPage.h"
#include "screen/ScreenSteps.h"
#include "screen/sikiInp.h"
#include "screen/sikiInpCommands.h"
#include "support/TestSupport.h"
#include "support/TypeKeys.h"
#include "tools/ProgramState.h"
#include "typeset/bunCanvasDsp.h"

namespace {

void Fresh() { ResetProgramState(); }

void Type(const std::string& keys) { TypeKeys(keys); }

std::vector<CanvasOp> TextsOf(const RecordingCanvas& c, const std::string& text) {
  std::vector<CanvasOp> out;
  for (const CanvasOp& op : c.OpsOf(CanvasOp::Kind::Text))
    if (op.text == text) out.push_back(op);
  return out;
}

bool Drew(const RecordingCanvas& c, const std::string& part) {
  for (const CanvasOp& op : c.OpsOf(CanvasOp::Kind::Text))
    if (op.text.find(part) != std::string::npos) return true;
  return false;
}

class ScreenStepsTest : public ::testing::Test {
 protected:
  void SetUp() override { Fresh(); }
};

TEST_F(ScreenStepsTest, CtrlGWritesTheStepMarkAndKeepsTheLineOpen) {
  Type("2b1+3b1{Ctrl+G}");
  EXPECT_EQ(LineText, "2b1+3b1=");
  EXPECT_TRUE(LineOpen);
  EXPECT_TRUE(ScreenSteps.result.steps.empty());  // no step written yet: the status line says what to do
  EXPECT_FALSE(StatusText.empty());
  Type("6b3+6b2{Ctrl+G}");
  EXPECT_EQ(LineText, "2b1+3b1=6b3+6b2=");
  // On the finished answer no step follows: no "=" is left after it.
  Type("6b5{Ctrl+G}");
  EXPECT_EQ(LineText, "2b1+3b1=6b3+6b2=6b5");
  EXPECT_TRUE(LineOpen);
  ASSERT_EQ(ScreenSteps.result.steps.size(), 2u);
  EXPECT_TRUE(ScreenSteps.result.allRight);
  EXPECT_EQ(ScreenSteps.forLine, LineText);
  // "=" keeps its meaning: it does not evaluate a line of working, and a second Ctrl+G only checks again.
  Type("=");
  EXPECT_EQ(LineText, "2b1+3b1=6b3+6b2=6b5");
  EXPECT_TRUE(LineOpen);
  Type("{Ctrl+G}");
  EXPECT_EQ(LineText, "2b1+3b1=6b3+6b2=6b5");
  // Backspace types the working again without evaluating it.
  Type("{Back}{Back}");
  EXPECT_EQ(LineText, "2b1+3b1=6b3+6b2=6");
  EXPECT_TRUE(LineOpen);
}

// The "=" for the next step stays where a step can follow: a right step not yet finished, a wrong one, an
// answer not reduced.
TEST_F(ScreenStepsTest, CtrlGKeepsTheStepMarkWhereAStepCanFollow) {
  const char* lines[] = {"2b1+3b1{Ctrl+G}6b3+6b2{Ctrl+G}", "2b1+3b1{Ctrl+G}5b2{Ctrl+G}",
                         "2b1+4b1{Ctrl+G}8b6{Ctrl+G}"};
  for (const char* keys : lines) {
    Fresh();
    Type(keys);
    EXPECT_EQ(LineText.back(), '=') << keys;
    EXPECT_FALSE(ScreenSteps.result.steps.empty()) << keys;
  }
}

TEST_F(ScreenStepsTest, EqualsStillEvaluatesAPlainLine) {
  Type("2b1+3b1=");
  EXPECT_FALSE(LineOpen);
  EXPECT_EQ(LineText.substr(0, 8), "2b1+3b1=");
}

TEST_F(ScreenStepsTest, RefusedStepMarkLeavesTheLineAsItWas) {
  Type("(2b1+3b1{Ctrl+G}");
  EXPECT_EQ(LineText, "(2b1+3b1");
  EXPECT_EQ(StatusText, CheckMessage(19));
  Fresh();
  Type("2*x{Ctrl+G}");
  EXPECT_EQ(LineText, "2*x");
}

TEST_F(ScreenStepsTest, MarksStandUnderEachStepAndAdviceUnderTheMarks) {
  RecordingCanvas c;
  ScreenSurface = &c;
  Type("2b1+3b1{Ctrl+G}6b3+6b2{Ctrl+G}12b5{Ctrl+G}");
  c.ClearOps();
  PaintPage(c, 600, 400);
  std::vector<CanvasOp> circles = TextsOf(c, "○");
  std::vector<CanvasOp> crosses = TextsOf(c, "×");
  ASSERT_EQ(circles.size(), 1u);
  ASSERT_EQ(crosses.size(), 1u);
  // Each mark stands under the step it judges, between the "=" before it and the "=" after it, below
  // the line's fractions: never above the line, where the first line meets the top of the page.
  std::vector<CanvasOp> equals = TextsOf(c, "＝");
  ASSERT_EQ(equals.size(), 3u);
  for (const CanvasOp& mark : {circles[0], crosses[0]}) {
    EXPECT_GE(mark.y, equals[0].y + 2 * CharHeight);
    EXPECT_GE(mark.y, 0);
  }
  EXPECT_GT(circles[0].x, equals[0].x2);
  EXPECT_LT(circles[0].x2, equals[1].x);
  EXPECT_GT(crosses[0].x, equals[1].x2);
  EXPECT_LT(crosses[0].x2, equals[2].x);
  EXPECT_EQ(crosses[0].fontColor, (Color{255, 0, 0}));
  // The advice rows, under the line, each with its mark.
  EXPECT_TRUE(Drew(c, "(1) ○ "));
  EXPECT_TRUE(Drew(c, std::string("(2) × ") + MistakeAdvice("add-across")));
  EXPECT_FALSE(Drew(c, "ヒント"));
  for (const CanvasOp& op : c.OpsOf(CanvasOp::Kind::Text)) {
    if (op.text.rfind("(1)", 0) == 0) {
      EXPECT_GE(op.y, circles[0].y2);
    }
  }

  // The hint on request: the program's next step from the piece before the mistake, in school notation.
  Type("{Ctrl+Shift+G}");
  EXPECT_EQ(ScreenSteps.hint, "6b5");
  c.ClearOps();
  PaintPage(c, 600, 400);
  EXPECT_TRUE(Drew(c, "ヒント"));
  EXPECT_FALSE(TextsOf(c, "5").empty());
  ScreenSurface = nullptr;
}

// Before any step is written the hint is the program's first step, with the problem alone or closed
// with the step mark.
TEST_F(ScreenStepsTest, HintBeforeAnyStepIsTheFirstStep) {
  RecordingCanvas c;
  ScreenSurface = &c;
  for (const char* keys : {"3b2+4b1{Ctrl+Shift+G}", "3b2+4b1{Ctrl+G}{Ctrl+Shift+G}"}) {
    Fresh();
    ScreenSurface = &c;
    Type(keys);
    EXPECT_EQ(ScreenSteps.hint, "12b8+12b3") << keys;
    c.ClearOps();
    PaintPage(c, 600, 400);
    EXPECT_TRUE(Drew(c, "ヒント")) << keys;
    EXPECT_FALSE(TextsOf(c, "8").empty()) << keys;  // the numerator of the hint's first fraction
    EXPECT_TRUE(TextsOf(c, "○").empty()) << keys;
  }
  ScreenSurface = nullptr;
}

TEST_F(ScreenStepsTest, MarksBelongToTheLineTheyWereMadeFor) {
  RecordingCanvas c;
  ScreenSurface = &c;
  Type("2b1+3b1{Ctrl+G}5b2{Ctrl+G}");
  Type("{Back}");
  c.ClearOps();
  PaintPage(c, 600, 400);
  EXPECT_TRUE(TextsOf(c, "×").empty());
  EXPECT_FALSE(Drew(c, "(1)"));
  ScreenSurface = nullptr;
}

// The screen's own processes (reduction, decimal to fraction, repeating decimal to fraction) as chains.
TEST_F(ScreenStepsTest, TheScreensConversionProcessesCheckAsRight) {
  struct Case {
    const char* keys;
    ScreenCommand command;
  };
  const Case cases[] = {
      {"6b4", ScreenCommand::YakuProcDsp},       {"12b18", ScreenCommand::YakuProcDsp},
      {"2k6b4", ScreenCommand::YakuProcDsp},     {"0.25", ScreenCommand::DecimalToFraction},
      {"1.5", ScreenCommand::DecimalToFraction}, {"0.@3", ScreenCommand::JunkanSyori},
      {"0.1@6", ScreenCommand::JunkanSyori},     {"1.2@34", ScreenCommand::JunkanSyori},
  };
  int checked = 0;
  for (const Case& c : cases)
    for (int detail : {0, 1}) {
      Fresh();
      PROCDSP = 1;
      InstallLineCommands();
      Type(c.keys);
      std::string typed = LineText;
      RunScreenCommand(c.command);
      if (ProcessTypeNumber(ProcessState.processType) == 0) continue;
      std::string chain = typed;
      for (const ProcessLine& l : VisibleProcessLines(ProcessState.processText, detail)) {
        std::string e = l.expr;
        while (!e.empty() && e.front() == '=') e.erase(0, 1);
        if (!e.empty() && e != "n") chain += "=" + e;
      }
      ++checked;
      // These processes end in the form of the value itself (mixed when it has a whole part).
      const bool mixed = chain.substr(chain.rfind('=') + 1).find('k') != std::string::npos;
      ChainResult r =
          CheckChain(chain, StepOptions{mixed ? StepFinalForm::Mixed : StepFinalForm::Improper, false});
      for (const StepResult& s : r.steps)
        EXPECT_TRUE(IsRightVerdict(s.verdict)) << chain << ": " << s.to << " " << StepVerdictName(s.verdict);
      ASSERT_FALSE(r.steps.empty()) << chain;
      EXPECT_EQ(r.steps.back().finalNote, "") << chain;
    }
  EXPECT_GT(checked, 8);
}

}  // namespace
