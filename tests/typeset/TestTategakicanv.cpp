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
