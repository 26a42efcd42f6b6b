// The vertical text of the goal label on the recording surface (a full-width character is 20 × 20).
#include "typeset/Tategakicanv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/RecordingCanvas.h"

namespace {

std::vector<std::pair<int, int>> Corners(const RecordingCanvas& c) {
  std::vector<std::pair<int, int>> out;
  for (const auto& op : c.OpsOf(CanvasOp::Kind::Text)) out.emplace_back(op.x, op.y);
  return out;
}

TEST(Tategakicanv, FullAdvanceStacksCharactersOneHeightApart) {
  RecordingCanvas c;
  DrawVerticalText(c, 13, 0, "今週の目標", 1, 100);
  // Centred: x moves left by half a full-width character (20 / 2).
  EXPECT_EQ(Corners(c), (std::vector<std::pair<int, int>>{{3, 0}, {3, 20}, {3, 40}, {3, 60}, {3, 80}}));
  EXPECT_EQ(c.Texts(), (std::vector<std::string>{"今", "週", "の", "目", "標"}));
  // Five characters occupy five heights.
  EXPECT_EQ(c.OpsOf(CanvasOp::Kind::Text).back().y2, 100);
}

// The goal label of the default 450-pixel window is about 220 pixels high: a long goal is written
// smaller until its last character ends inside the label, a short one keeps its size.
TEST(Tategakicanv, ALongTextIsWrittenSmallerToFitItsHeight) {
  struct Case {
    const char* text;
    int advance;
    int size;
  };
  const Case cases[] = {
      {"今週の目標", 100, 14},
      {"分数のたし算とひき算をまちがえずにとく", 100, 8},  // 19 characters of 11 pixels at size 8
      {"分数のたし算とひき算をまちがえずにとく", 80, 10},
      {"", 100, 14},
  };
  for (const Case& c : cases) {
    RecordingCanvas canvas;
    const int size = VerticalTextFitSize(canvas, c.text, 220, c.advance);
    EXPECT_EQ(size, c.size) << c.text;
    EXPECT_EQ(canvas.FontSize(), 14);
    canvas.SetFontSize(size);
    DrawVerticalText(canvas, 13, 0, c.text, 1, c.advance);
    for (const CanvasOp& op : canvas.OpsOf(CanvasOp::Kind::Text)) EXPECT_LE(op.y2, 220) << c.text;
  }
  // Too long for the least size: the least size it is.
  RecordingCanvas canvas;
  EXPECT_EQ(VerticalTextFitSize(canvas, std::string(300, 'a'), 220, 100), 6);
}

// A 33-character goal, too long for one column at the least size goes on in a second column to the left, within the
// side strip's 32 pixels, and every character is drawn inside the label.
TEST(Tategakicanv, AGoalTooLongForOneColumnGoesOnInASecond) {
  const std::string goal = "毎日かならず計算練習をして、まちがえた問題をやり直し二十問ずつとけ";
  RecordingCanvas canvas;
  const VerticalColumns fit = FitVerticalColumns(canvas, goal, 30, 220, 100);
  EXPECT_EQ(fit.columns, 2);
  EXPECT_EQ(canvas.FontSize(), 14);
  canvas.SetFontSize(fit.size);
  DrawVerticalColumns(canvas, 30 - fit.columnWidth / 2, 0, goal, fit, 100);
  std::string drawn;
  for (const CanvasOp& op : canvas.OpsOf(CanvasOp::Kind::Text)) {
    EXPECT_LE(op.y2, 220) << op.text;
    EXPECT_GE(op.x, 0) << op.text;
    EXPECT_LE(op.x2, 31) << op.text;
    drawn += op.text;
  }
  EXPECT_EQ(drawn, goal);
  // A goal that fits one column keeps to one, as large as it fits.
  RecordingCanvas fresh;
  const VerticalColumns one = FitVerticalColumns(fresh, "今週の目標", 30, 220, 100);
  EXPECT_EQ(one.columns, 1);
  EXPECT_EQ(one.size, 14);
}

TEST(Tategakicanv, HalfAdvanceOverlapsAndSingleByteCharactersMoveIn) {
  RecordingCanvas c;
  DrawVerticalText(c, 13, 0, "目A標", 1, 50);
  EXPECT_EQ(Corners(c), (std::vector<std::pair<int, int>>{{3, 0}, {8, 10}, {3, 20}}));
}

TEST(Tategakicanv, AlignmentLeftAndRight) {
  RecordingCanvas c;
  DrawVerticalText(c, 13, 5, "目", 0, 100);
  DrawVerticalText(c, 13, 5, "目", 2, 100);
  EXPECT_EQ(Corners(c), (std::vector<std::pair<int, int>>{{13, 5}, {-7, 5}}));
}

TEST(Tategakicanv, BrokenUtf8IsDrawnByteByByteWithoutReadingPastTheText) {
  RecordingCanvas c;
  DrawVerticalText(c, 0, 0, std::string("\xE7\x9B", 2), 0, 100);
  EXPECT_EQ(c.Texts().size(), 1u);
}

}  // namespace
