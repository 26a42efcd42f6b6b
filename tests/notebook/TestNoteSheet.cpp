// Tests of the notebook sheet on a recording canvas: line positions, labels, selection mark, answer
// column and blanks, rulers, printing mode, the title; and the keys, wheel and value steps of the window.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "engine/Settings.h"
#include "notebook/NotePage.h"
#include "notebook/NoteSheet.h"
#include "platform/BrowserKeys.h"
#include "platform/RecordingCanvas.h"
#include "platform/VirtualKeys.h"
#include "support/TestSupport.h"
#include "typeset/bunCanvasDsp.h"

namespace {

class NoteSheetTest : public ::testing::Test {
 protected:
  // Draws the page on a fresh canvas (cell 10 × 20) and returns the canvas.
  RecordingCanvas Draw(NoteSheetView v = {}) {
    RecordingCanvas c;
    PrepareNoteSurface(c, 1, v.printing);
    MeasureNoteCells(c, v.cw, v.ch);
    v.ppi = 96;
    if (v.clientWidth == 0) v.clientWidth = 450;
    if (v.clientHeight == 0) v.clientHeight = 550;
    added = DrawNoteSheet(c, v);
    return c;
  }

  int added = 0;
};

void SetLines(const std::vector<std::string>& lines) {
  for (std::size_t i = 0; i < lines.size(); ++i) NotePage.lines[i] = lines[i];
  NotePage.lineCount = static_cast<int>(lines.size());
}

const CanvasOp* FindText(const RecordingCanvas& c, const std::string& text, std::size_t from = 0) {
  for (std::size_t i = from; i < c.ops.size(); ++i)
    if (c.ops[i].kind == CanvasOp::Kind::Text && c.ops[i].text == text) return &c.ops[i];
  return nullptr;
}

// The first text drawn after the label of line n.
const CanvasOp* AfterLabel(const RecordingCanvas& c, int n) {
  const std::string label = "[" + std::to_string(n) + "] ";
  for (std::size_t i = 0; i < c.ops.size(); ++i)
    if (c.ops[i].kind == CanvasOp::Kind::Text && c.ops[i].text == label)
      for (std::size_t k = i + 1; k < c.ops.size(); ++k)
        if (c.ops[k].kind == CanvasOp::Kind::Text) return &c.ops[k];
  return nullptr;
}

int CountTexts(const RecordingCanvas& c, const std::string& text) {
  int n = 0;
  for (const auto& op : c.ops) n += op.kind == CanvasOp::Kind::Text && op.text == text;
  return n;
}

}  // namespace

TEST_F(NoteSheetTest, LinesStandAtHalfPitchSteps) {
  SetLines({"1+1", "2+2", "3+3"});
  NotePage.selected = 2;
  NoteSheetView v;
  v.vScroll = 7;
  v.hScroll = 3;
  RecordingCanvas c = Draw(v);
  // ch = 20, KANKAKU 5: line 1 at 4·20, each further line 5·20/2 lower.
  for (int i = 1; i <= 3; ++i) {
    const CanvasOp* label = FindText(c, "[" + std::to_string(i) + "] ");
    ASSERT_NE(label, nullptr) << i;
    EXPECT_EQ(label->x, 80 - 3);
    EXPECT_EQ(label->y, 80 + (i - 1) * 50 - 7);
    EXPECT_EQ(label->fontColor, NOTE_NUMBER_COLOR);
  }
  const CanvasOp* mark = FindText(c, "◆");
  ASSERT_NE(mark, nullptr);
  EXPECT_EQ(mark->x, 40 - 3);
  EXPECT_EQ(mark->y, 130 - 7);
  EXPECT_EQ(mark->fontColor, CLR_RED);
  EXPECT_EQ(CountTexts(c, "◆"), 1);
  // The expression starts one ch after the label: 77 + 4 cells + 20.
  EXPECT_EQ(AfterLabel(c, 1)->x, 77 + 40 + 20);
}

TEST_F(NoteSheetTest, LabelsAndExpressionsSitOnTheSixteenPixelGrid) {
  SetLines({"1", "2"});
  RecordingCanvas c;
  NoteSheetView v;
  v.cw = 8;
  v.ch = 16;
  DrawNoteSheet(c, v);
  EXPECT_EQ(FindText(c, "[1] ")->y, 64);
  EXPECT_EQ(FindText(c, "[2] ")->y, 104);
}

TEST_F(NoteSheetTest, LineTenStartsOneCellLeftOfItsWiderLabel) {
  std::vector<std::string> lines(10, "7");
  SetLines(lines);
  RecordingCanvas c = Draw();
  EXPECT_EQ(AfterLabel(c, 9)->x, AfterLabel(c, 10)->x);
}

TEST_F(NoteSheetTest, WorkingStandsUnderItsProblemWithoutANumber) {
  NOTE_KAITOURAN_FLAG = 1;
  KAITOURAN_ITI = 40;
  SetLines({"1b2+1b3=", "=3b6+2b6", "=5b6", "2b5+1b5"});
  // With a break at "=", the problem's closing "=" takes the row under it, and the working's own
  // leading "=" hangs one cell left, under the start of the problem's text, on the working's row (not on
  // an empty row below it). Without, the working starts its row two characters in.
  struct Case {
    bool equalBreak;
    int firstWorkingRow;
    int workingLeft;
  };
  for (const Case k : {Case{false, 2, 140 + 20}, Case{true, 3, 140}})
    for (const bool printing : {false, true}) {
      SCOPED_TRACE(std::string(printing ? "paper" : "screen") + (k.equalBreak ? ", break at =" : ""));
      NoteEqualBreak = k.equalBreak;
      NoteSheetView v;
      v.printing = printing;
      RecordingCanvas c = Draw(v);
      // Two problems, [1] and [2]; the second stands right under the two working rows.
      EXPECT_NE(FindText(c, "[1] "), nullptr);
      ASSERT_NE(FindText(c, "[2] "), nullptr);
      EXPECT_EQ(FindText(c, "[2] ")->y, 80 + (k.firstWorkingRow + 1) * 50);
      EXPECT_EQ(FindText(c, "[3] "), nullptr);
      EXPECT_EQ(FindText(c, "[4] "), nullptr);
      // Nothing but the left ruler is drawn left of the working on its rows.
      for (const int row : {k.firstWorkingRow, k.firstWorkingRow + 1}) {
        const int y = 80 + (row - 1) * 50;
        int left = INT_MAX;
        for (const auto& op : c.ops)
          if (op.kind == CanvasOp::Kind::Text && op.x > 20 && op.y >= y - 10 && op.y < y + 20)
            left = std::min(left, op.x);
        EXPECT_EQ(left, k.workingLeft) << "row " << row;
      }
      // Only the problems get an answer blank.
      EXPECT_EQ(CountTexts(c, "【答】"), 2);
    }
}

TEST_F(NoteSheetTest, AnswersGoToTheirColumnAndBlanksMoveBelowLongLines) {
  KAITOURAN_ITI = 20;
  NOTE_KAITOURAN_FLAG = 1;
  NoteEqualBreak = false;
  SetLines({"5=5&5",
            "1+2+3+4+5+6+7+8+9+10+11+12+13+14",  // ends beyond the column: its blank goes below
            "5"});
  RecordingCanvas c = Draw();
  // Line 1 has an answer column: no blank drawn for it; lines 2 and 3 get one each.
  EXPECT_EQ(CountTexts(c, "【答】"), 2 + 1);  // the answer label of line 1 and two blanks
  std::vector<const CanvasOp*> blanks;
  for (const auto& op : c.ops)
    if (op.kind == CanvasOp::Kind::Text && op.text == "【答】") blanks.push_back(&op);
  const int xa = 4 * 20 + 20 * 10;
  EXPECT_EQ(blanks[1]->x, xa);
  EXPECT_EQ(blanks[1]->y, 130 + 50);  // y of line 2 + 2.5 ch
  EXPECT_EQ(blanks[1]->fontColor, CLR_RED);
  // Line 3 moved down one pitch because of it.
  EXPECT_EQ(FindText(c, "[3] ")->y, 80 + 3 * 50);
  EXPECT_EQ(blanks[2]->y, 80 + 3 * 50);
  EXPECT_EQ(added, 1);
  // The teal underline of the last blank.
  const CanvasOp& underline = c.ops[static_cast<std::size_t>(&*blanks[2] - &c.ops[0]) + 2];
  EXPECT_EQ(underline.kind, CanvasOp::Kind::Line);
  EXPECT_EQ(underline.penColor, CLR_TEAL);
  EXPECT_EQ(underline.x, xa + 5);
  EXPECT_EQ(underline.y, 230 + 25);
  EXPECT_EQ(underline.x2, xa + 60 + 95);
}

TEST_F(NoteSheetTest, BreakingAtEqualsMovesTheFollowingLinesDown) {
  SetLines({"1+2=3&3", "4"});
  NoteEqualBreak = true;
  RecordingCanvas on = Draw();
  EXPECT_EQ(FindText(on, "[2] ")->y, 80 + 2 * 50);
  NoteEqualBreak = false;
  RecordingCanvas off = Draw();
  EXPECT_EQ(FindText(off, "[2] ")->y, 80 + 50);
}

TEST_F(NoteSheetTest, EmptyPageShowsRulersAndTitleOnly) {
  NotePage.title = "分数の練習";
  NotePage.fileName = "/home/pupil/work.siki";
  NoteAppendFileName = true;
  RecordingCanvas c = Draw();
  const CanvasOp* title = FindText(c, "分数の練習　[ work.siki ]");
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->x, 60);
  EXPECT_EQ(title->y, 30);
  EXPECT_EQ(CountTexts(c, "[1] "), 0);
  // Page 96 ppi: 8.3 in = 796 px wide → 79 top marks; A4 11.7 in = 1123 px, step 50 → 22 left marks.
  EXPECT_EQ(CountTexts(c, "-") + CountTexts(c, "+"), 79);
  EXPECT_EQ(CountTexts(c, "+"), 7);
  EXPECT_EQ(CountTexts(c, "*") + CountTexts(c, "1") + CountTexts(c, "5") + CountTexts(c, "10") +
                CountTexts(c, "15") + CountTexts(c, "20"),
            22);
  const CanvasOp* first = FindText(c, "1");
  EXPECT_EQ(first->x, 4);
  EXPECT_EQ(first->y, 80);
  EXPECT_EQ(first->fontSize, 10);  // three quarters of 14
  EXPECT_EQ(first->fontColor, CLR_HOTTRACK);
  // Marks past one A4 page less 60 are red: y = 80 + 50k > 1063 from k = 20 on.
  std::vector<const CanvasOp*> left;
  for (const auto& op : c.ops)
    if (op.kind == CanvasOp::Kind::Text && op.x == 4 && op.fontSize == 10) left.push_back(&op);
  ASSERT_EQ(left.size(), 22u);
  EXPECT_EQ(left[19]->fontColor, CLR_HOTTRACK);
  EXPECT_EQ(left[19]->text, "20");
  EXPECT_EQ(left[20]->fontColor, CLR_RED);
  EXPECT_EQ(left[21]->fontColor, CLR_RED);
  // The background is filled first in the page colour.
  EXPECT_EQ(c.ops[0].kind, CanvasOp::Kind::Fill);
  EXPECT_EQ(c.ops[0].brushColor, NOTE_PAGE_COLOR);
}

TEST_F(NoteSheetTest, PrintingDrawsNoBackgroundAndNoRulers) {
  SetLines({"1+1"});
  NotePage.selected = 1;
  NoteSheetView v;
  v.printing = true;
  RecordingCanvas c = Draw(v);
  for (const auto& op : c.ops) EXPECT_NE(op.kind, CanvasOp::Kind::Fill);
  EXPECT_EQ(CountTexts(c, "-"), 0);
  EXPECT_EQ(CountTexts(c, "*"), 0);
  EXPECT_NE(FindText(c, "◆"), nullptr);
  EXPECT_EQ(FindText(c, "[1] ")->brushColor, CLR_WHITE);
}

TEST_F(NoteSheetTest, DrawingLeavesTheScreensTypesetSettings) {
  LinePitch = 3;
  EQUAL_KAIGYO = 0;
  KANKAKU = 9;
  SetLines({"1+1=2&2"});
  Draw();
  EXPECT_EQ(LinePitch, 3);
  EXPECT_EQ(EQUAL_KAIGYO, 0);
}

TEST_F(NoteSheetTest, KeysAndWheel) {
  struct Case {
    int vk, shift;
    NoteCommand cmd;
  } cases[] = {
      {'F', SHIFT_SHIFT, NoteCommand::Font},
      {VK_UP, SHIFT_SHIFT, NoteCommand::SelectPrevious},
      {VK_DOWN, SHIFT_SHIFT, NoteCommand::SelectNext},
      {VK_PRIOR, SHIFT_SHIFT, NoteCommand::PitchUp},
      {VK_NEXT, SHIFT_SHIFT, NoteCommand::PitchDown},
      {VK_PRIOR, SHIFT_CTRL, NoteCommand::PageHeightUp},
      {VK_NEXT, SHIFT_CTRL, NoteCommand::PageHeightDown},
      {'Z', SHIFT_CTRL, NoteCommand::CalculateAll},
      {'Q', SHIFT_CTRL, NoteCommand::CalculateSelected},
      {'C', SHIFT_CTRL, NoteCommand::Close},
      {'B', SHIFT_CTRL, NoteCommand::Restore},
      {'B', SHIFT_CTRL | SHIFT_ALT, NoteCommand::Restore},
      {'S', SHIFT_CTRL | SHIFT_ALT, NoteCommand::ToggleAnswerBlank},
      {'C', SHIFT_CTRL | SHIFT_ALT, NoteCommand::AnswerColumnStart},
      {VK_F8, SHIFT_CTRL | SHIFT_SHIFT, NoteCommand::WindowA4Width},
      {'J', SHIFT_ALT, NoteCommand::Conditions},
      {'J', SHIFT_CTRL, NoteCommand::Conditions},
      {VK_F8, 0, NoteCommand::CommandBox},
      {VK_BACK, 0, NoteCommand::Restore},
      {VK_UP, 0, NoteCommand::ScrollUp},
      {VK_UP, SHIFT_CTRL, NoteCommand::ScrollUp},  // falls through to the plain key
      {VK_LEFT, SHIFT_SHIFT, NoteCommand::ScrollLeft},
      {'F', 0, NoteCommand::None},
      {'K', SHIFT_CTRL, NoteCommand::None},
  };
  for (const auto& c : cases) EXPECT_EQ(NoteKeyCommand(c.vk, c.shift), c.cmd) << c.vk << "/" << c.shift;

  EXPECT_EQ(NoteWheelCommand(true, true, false), NoteCommand::ScrollRight);
  EXPECT_EQ(NoteWheelCommand(false, true, false), NoteCommand::ScrollLeft);
  EXPECT_EQ(NoteWheelCommand(true, false, true), NoteCommand::SelectNext);
  EXPECT_EQ(NoteWheelCommand(false, false, true), NoteCommand::SelectPrevious);
  EXPECT_EQ(NoteWheelCommand(true, false, false), NoteCommand::ScrollDown);
}

// In a browser tab the keys a browser keeps never reach the page: every command on one of them has a key of
// the browser edition that does reach it, and every other key means what it means on the desktop.
TEST(NoteBrowserKeys, EveryCommandOnAKeyABrowserKeepsHasAnotherKey) {
  for (const BrowserKey& k : NoteBrowserKeys()) {
    EXPECT_TRUE(BrowserKeepsKey(k.desktop.vk, k.desktop.shift)) << VirtualKeyName(k.desktop.vk);
    EXPECT_FALSE(BrowserKeepsKey(k.page.vk, k.page.shift)) << VirtualKeyName(k.page.vk);
    EXPECT_EQ(NoteKeyCommand(k.page.vk, k.page.shift), NoteCommand::None)
        << VirtualKeyName(k.page.vk) << " has a desktop meaning of its own";
  }
  for (int vk = 1; vk < 256; ++vk) {
    for (int shift = 0; shift < 8; ++shift) {
      const NoteCommand desktop = NoteKeyCommand(vk, shift);
      if (!BrowserKeepsKey(vk, shift)) {
        const KeyStroke same = DesktopKeyOf(NoteBrowserKeys(), vk, shift);
        if (same.vk == vk && same.shift == shift) {
          EXPECT_EQ(NoteBrowserKeyCommand(vk, shift), desktop) << VirtualKeyName(vk) << " shift " << shift;
        }
        continue;
      }
      if (desktop == NoteCommand::None) continue;
      bool reachable = false;
      for (int v = 1; v < 256 && !reachable; ++v)
        for (int s = 0; s < 8 && !reachable; ++s)
          reachable = !BrowserKeepsKey(v, s) && NoteBrowserKeyCommand(v, s) == desktop;
      EXPECT_TRUE(reachable) << VirtualKeyName(vk) << " shift " << shift;
    }
  }
  EXPECT_EQ(NoteBrowserKeyCommand('W', SHIFT_ALT), NoteCommand::AddNew);
  EXPECT_EQ(NoteBrowserKeyCommand('T', SHIFT_ALT), NoteCommand::Title);
}

TEST_F(NoteSheetTest, StepsStayInTheirRanges) {
  KANKAKU = 25;
  EXPECT_FALSE(SetKankaku(26, KANKAKU_MIN_KEYS));
  EXPECT_EQ(KANKAKU, 25);
  KANKAKU = 5;
  EXPECT_FALSE(SetKankaku(4, KANKAKU_MIN_KEYS));
  EXPECT_TRUE(SetKankaku(4, KANKAKU_MIN_BOX));
  EXPECT_EQ(LinePitch, 4);
  PAGEA4BAIN = 300;
  EXPECT_FALSE(SetPageA4Bain(301));
  PAGEA4BAIN = 80;
  EXPECT_FALSE(SetPageA4Bain(79));
  EXPECT_TRUE(SetPageA4Bain(81));
  EXPECT_EQ(NotePageHeight(96), 1123 * 81 / 100);
}

TEST_F(NoteSheetTest, AnswerColumnEntry) {
  struct Case {
    const char* text;
    bool ok;
    int value;
  } cases[] = {{"80", true, 80},  {"10", true, 10},   {" 36 ", true, 36}, {"9", false, 0},
               {"81", false, 0},  {"abc", false, 0},  {"", false, 0},     {"3.5", false, 0},
               {"-20", false, 0}, {"00040", false, 0}};
  for (const auto& c : cases) {
    int v = -1;
    EXPECT_EQ(ParseAnswerColumn(c.text, v), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(v, c.value) << c.text;
    }
  }
  KAITOURAN_ITI = 36;
  EXPECT_EQ(
      AnswerColumnPrompt(),
      "解答欄の現在の開始位置は\n 　< 36 >\n 字め[半角] です。\n必要な数値(10～80)を入力して変更して下さい。");
}

TEST_F(NoteSheetTest, CaptionAndTitleTexts) {
  NotePage.fileName = "/a/b.siki";
  NotePage.title = "t";
  EXPECT_EQ(NoteWindowCaption(), "ノート画面 [ /a/b.siki]");
  EXPECT_EQ(NoteTitleText(), "t");
  NoteAppendFileName = true;
  EXPECT_EQ(NoteTitleText(), "t　[ b.siki ]");
}

// The page laid out for paper: each line's band on the recording canvas, the sheets the lines fill, and
// each sheet drawn with the title and its own lines only, the first of them where line 1 stands.
TEST_F(NoteSheetTest, LongPagesAreSplitIntoSheetsOfWholeLines) {
  std::vector<std::string> lines;
  for (int i = 1; i <= 12; ++i) lines.push_back(i == 5 ? "1+1=2&2" : std::to_string(i) + "+3b2");
  SetLines(lines);
  NotePage.title = "表題";
  RecordingCanvas c;
  PrepareNoteSurface(c, 3, true);
  NoteSheetView v;
  MeasureNoteCells(c, v.cw, v.ch);
  v.printing = true;
  const std::vector<NoteLineBand> bands = NoteLineBands(c, v);
  // Laying out draws nothing.
  for (const CanvasOp& op : c.ops) EXPECT_EQ(op.kind, CanvasOp::Kind::Move) << op.Describe();
  ASSERT_EQ(bands.size(), 12u);
  EXPECT_EQ(bands[0].top, 4 * v.ch);
  for (std::size_t i = 0; i + 1 < bands.size(); ++i) {
    EXPECT_GT(bands[i].bottom, bands[i].top);
    EXPECT_LE(bands[i].bottom, bands[i + 1].top + v.ch) << i;  // a line ends about where the next begins
  }
  // Line 5 breaks at "=": line 6 stands a row lower than the pitch alone would put it.
  EXPECT_GT(bands[5].top - bands[4].top, bands[4].top - bands[3].top);

  // Sheets of 300 pixels: whole lines on each, every line once, in order.
  const std::vector<NoteSheetPart> parts = SplitNoteSheet(bands, 1, 300);
  ASSERT_GE(parts.size(), 3u);
  int next = 1;
  for (const NoteSheetPart& p : parts) {
    EXPECT_EQ(p.firstLine, next);
    EXPECT_GE(p.lastLine, p.firstLine);
    EXPECT_EQ(p.lineShift, bands[static_cast<std::size_t>(p.firstLine - 1)].top - bands[0].top);
    EXPECT_LE(bands[static_cast<std::size_t>(p.lastLine - 1)].bottom - p.lineShift, 300);
    next = p.lastLine + 1;
  }
  EXPECT_EQ(next, 13);

  // The second sheet: the title, then its lines from where line 1 stands; nothing of the others.
  c.ClearOps();
  v.firstLine = parts[1].firstLine;
  v.lastLine = parts[1].lastLine;
  v.lineShift = parts[1].lineShift;
  DrawNoteSheet(c, v);
  EXPECT_EQ(c.Texts().front(), "表題");
  const CanvasOp* first = FindText(c, "[" + std::to_string(parts[1].firstLine) + "] ");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->y, 4 * v.ch);
  EXPECT_EQ(FindText(c, "[1] "), nullptr);
  EXPECT_EQ(FindText(c, "[" + std::to_string(parts[1].lastLine + 1) + "] "), nullptr);

  // Where the window's scroll starts the print; sheets too small for one line still take one each; a
  // page without lines prints the title alone.
  EXPECT_EQ(NoteFirstShownLine(bands, 0), 1);
  EXPECT_EQ(NoteFirstShownLine(bands, bands[6].top), 7);
  EXPECT_EQ(NoteFirstShownLine(bands, bands[6].top - 1), 7);
  EXPECT_EQ(NoteFirstShownLine(bands, 100000), 12);
  EXPECT_EQ(SplitNoteSheet(bands, 1, 10).size(), 12u);
  EXPECT_EQ(SplitNoteSheet(bands, 7, 100000).front().firstLine, 7);
  const std::vector<NoteSheetPart> none = SplitNoteSheet({}, 1, 300);
  ASSERT_EQ(none.size(), 1u);
  EXPECT_LT(none[0].lastLine, none[0].firstLine);
  EXPECT_EQ(NoteFirstShownLine({}, 50), 1);
}
