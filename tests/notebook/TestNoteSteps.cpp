// The pupil's working on a notebook page: problems and the working lines under them as chains, the marks
// after each line on the recording canvas, the summary for the teacher, and marks that go stale.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/Settings.h"
#include "notebook/NotePage.h"
#include "notebook/NoteSheet.h"
#include "notebook/NoteSteps.h"
#include "platform/RecordingCanvas.h"
#include "platform/VirtualKeys.h"
#include "support/TestSupport.h"
#include "typeset/bunCanvasDsp.h"

namespace {

class NoteStepsTest : public ::testing::Test {
 protected:
  RecordingCanvas Draw() {
    RecordingCanvas c;
    NoteSheetView v;
    PrepareNoteSurface(c, 1, false);
    MeasureNoteCells(c, v.cw, v.ch);
    v.clientWidth = 600;
    v.clientHeight = 600;
    DrawNoteSheet(c, v);
    return c;
  }
};

void SetLines(const std::vector<std::string>& lines) {
  for (std::size_t i = 0; i < lines.size(); ++i) NotePage.lines[i] = lines[i];
  NotePage.lineCount = static_cast<int>(lines.size());
}

const std::vector<std::string> PAGE = {
    "2b1+3b1",  // 1: problem
    "=6b3+6b2",  // 2: working
    "=6b5",  // 3: working
    "4b3-2b1=2b2",  // 4: problem and its one step on one line
    "1+1=2&2",  // 5: a line the program answered
    "2*x+1=7",  // 6: an equation: no working
    "3b2/5b4",  // 7: problem
    "=15b8",  // 8: working with a mistake
    "=8b15",  // 9: upside-down after it
    "5b1",  // 10: a problem without working
};

TEST_F(NoteStepsTest, ProblemsAndTheirWorkingLinesAreChains) {
  NotePageCheck page = CheckNoteLines(PAGE, StepOptions{});
  ASSERT_EQ(page.problems.size(), 5u);  // the equation is left out, the last problem has no steps
  EXPECT_EQ(page.problems[0].line, 1);
  EXPECT_EQ(page.problems[0].result.input, "2b1+3b1=6b3+6b2=6b5");
  EXPECT_EQ(page.problems[0].stepLines, (std::vector<int>{2, 3}));
  EXPECT_EQ(page.problems[1].stepLines, (std::vector<int>{4}));
  EXPECT_EQ(page.problems[3].result.input, "3b2/5b4=15b8=8b15");
  EXPECT_TRUE(page.problems[4].result.steps.empty());

  const NoteStepSummary& s = page.summary;
  EXPECT_EQ(s.problems, 4);
  EXPECT_EQ(s.problemsRight, 2);
  EXPECT_EQ(s.steps, 6);
  EXPECT_EQ(s.stepsRight, 3);
  for (const auto& [id, n] : s.mistakes) {
    int want = id == "subtract-across" || id == "divide-not-inverted" || id == "upside-down" ? 1 : 0;
    EXPECT_EQ(n, want) << id;
  }
  std::vector<std::string> rows = NoteSummaryRows(s);
  ASSERT_GE(rows.size(), 5u);
  EXPECT_EQ(rows[1], "正しいステップ: 3 / 6");
  // The teacher reads the mistakes' names, not their ids.
  for (const std::string& row : rows) EXPECT_EQ(row.find('['), std::string::npos) << row;
  EXPECT_NE(std::find(rows.begin(), rows.end(), "・分母どうし・分子どうしをひいた: 1回"), rows.end());
  NoteStepSummary finals;
  finals.finals = {{"not-reduced", 2}, {"improper-left", 0}, {"not-finished", 1}};
  EXPECT_EQ(NoteSummaryRows(finals),
            (std::vector<std::string>{"途中式を書いた問題: 0問（全部正しい: 0問）", "正しいステップ: 0 / 0",
                                      "・約分していない答え: 2回", "・計算のとちゅうで終わった答え: 1回"}));
}

TEST_F(NoteStepsTest, MarksAreDrawnAfterTheLinesTheStepsWereWrittenOn) {
  SetLines(PAGE);
  std::string summary = CheckNotePageWorking(StepOptions{});
  EXPECT_NE(summary.find("正しいステップ: 3 / 6"), std::string::npos);
  EXPECT_EQ(CurrentNoteMarks(2), "○");
  EXPECT_EQ(CurrentNoteMarks(4), "×");
  EXPECT_EQ(CurrentNoteMarks(5), "○");
  EXPECT_EQ(CurrentNoteMarks(9), "×");
  EXPECT_EQ(CurrentNoteMarks(1), "");

  RecordingCanvas c = Draw();
  std::vector<CanvasOp> marks;
  for (const CanvasOp& op : c.OpsOf(CanvasOp::Kind::Text))
    // The multiplication sign of a line is the same glyph as the cross: a mark is bold.
    if ((op.text == "○" || op.text == "×") && op.bold) marks.push_back(op);
  ASSERT_EQ(marks.size(), 6u);
  // Where each line stands (working lines have no number label to find them by).
  RecordingCanvas measure;
  NoteSheetView v;
  PrepareNoteSurface(measure, 1, false);
  MeasureNoteCells(measure, v.cw, v.ch);
  const std::vector<NoteLineBand> bands = NoteLineBands(measure, v);
  ASSERT_EQ(bands.size(), PAGE.size());
  // Each mark stands within its line (from its row down to the next line's row), after the text starts,
  // in its own colour.
  const int rows[] = {2, 3, 4, 5, 8, 9};
  for (size_t k = 0; k < marks.size(); ++k) {
    const NoteLineBand& line = bands[static_cast<size_t>(rows[k] - 1)];
    const NoteLineBand& next = bands[static_cast<size_t>(rows[k])];
    EXPECT_GE(marks[k].y, line.top) << k;
    EXPECT_LT(marks[k].y, next.top) << k;
    EXPECT_GT(marks[k].x, 4 * v.ch + 4 * v.cw + v.ch) << k;
    EXPECT_EQ(marks[k].fontColor, marks[k].text == "○" ? (Color{0, 0, 128}) : CLR_RED) << k;
  }
}

TEST_F(NoteStepsTest, WithABreakAtEqualsTheMarkStandsOnTheRowWhereTheLineEnds) {
  SetLines({"2b1+3b1", "=6b5"});
  NoteEqualBreak = true;
  CheckNotePageWorking(StepOptions{});
  RecordingCanvas c = Draw();
  std::vector<CanvasOp> equals, marks;
  for (const CanvasOp& op : c.OpsOf(CanvasOp::Kind::Text)) {
    if (op.text == "＝") equals.push_back(op);
    if (op.text == "○" && op.bold) marks.push_back(op);
  }
  ASSERT_EQ(equals.size(), 1u);
  ASSERT_EQ(marks.size(), 1u);
  EXPECT_EQ(marks[0].y, equals[0].y);
  EXPECT_GT(marks[0].x, equals[0].x2);
}

TEST_F(NoteStepsTest, MarksOfAChangedPageAreNotDrawn) {
  SetLines(PAGE);
  CheckNotePageWorking(StepOptions{});
  NotePage.lines[1] = "=6b4+6b2";
  EXPECT_EQ(CurrentNoteMarks(2), "");
  RecordingCanvas c = Draw();
  for (const CanvasOp& op : c.OpsOf(CanvasOp::Kind::Text))
    EXPECT_FALSE((op.text == "○" || op.text == "×") && op.bold);
}

TEST_F(NoteStepsTest, PageWithoutWorkingSaysWhereToWriteIt) {
  SetLines({"2b1+3b1", "5b1"});
  std::string summary = CheckNotePageWorking(StepOptions{});
  EXPECT_NE(summary.find("＝から始めて"), std::string::npos);
}

TEST_F(NoteStepsTest, WorkingLinesAreNeitherBadLinesNorCalculated) {
  EXPECT_EQ(LoadSikiBytes("#title\r\n2b1+3b1\r\n=6b3+6b2\r\n=6b5\r\n=6b**\r\n"),
            1);  // only the unreadable one
  std::vector<NoteOutcome> outcomes = CalculateAll();
  ASSERT_EQ(outcomes.size(), 1u);
  EXPECT_EQ(outcomes[0].line, 4);  // the unreadable working line
  EXPECT_EQ(NoteLine(1), "2b1+3b1=6b5&6b5");
  EXPECT_EQ(NoteLine(2), "=6b3+6b2");
  EXPECT_EQ(NoteLine(3), "=6b5");
  // The problem's own answer is now its first step.
  NotePageCheck page = CheckNotePageSteps(StepOptions{});
  ASSERT_EQ(page.problems.size(), 1u);
  EXPECT_EQ(page.problems[0].result.input, "2b1+3b1=6b5=6b3+6b2=6b5=6b**");
  EXPECT_EQ(page.problems[0].result.steps.back().verdict, StepVerdict::Unreadable);
}

TEST_F(NoteStepsTest, CtrlShiftGIsThePageCommand) {
  EXPECT_EQ(NoteKeyCommand('G', SHIFT_CTRL | SHIFT_SHIFT), NoteCommand::CheckWorking);
  EXPECT_EQ(NoteKeyCommand('G', SHIFT_CTRL), NoteCommand::EditPage);
}

}  // namespace
