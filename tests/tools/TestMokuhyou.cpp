// The week's goals without the editor window: lines of the editor text, the ten-goal limit, storing.
#include "tools/Mokuhyou.h"

#include <gtest/gtest.h>

#include "engine/Settings.h"
#include "tools/kihonSet.h"

namespace {
using Lines = std::vector<std::string>;

class Mokuhyou : public ::testing::Test {
 protected:
  void SetUp() override { ConditionsView = ConditionsScreenHooks{}; }
  void TearDown() override { ConditionsView = ConditionsScreenHooks{}; }
};
}  // namespace

TEST_F(Mokuhyou, LinesOfTheEditorText) {
  struct {
    const char* text;
    Lines lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\n", {"a"}},  // the caret's empty line after the last break is no goal
      {"a\nb", {"a", "b"}},
      {"a\n\nb", {"a", "", "b"}},  // an empty line between goals is a goal
      {"a\n\n", {"a", ""}},
      {"\n", {""}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"計算を正しく\n見直しをする", {"計算を正しく", "見直しをする"}},
  };
  for (auto& c : cases) {
    EXPECT_EQ(SplitGoalLines(c.text), c.lines) << c.text;
    EXPECT_EQ(CountGoalLines(c.text), static_cast<int>(c.lines.size())) << c.text;
  }
}

TEST_F(Mokuhyou, TenLinesAtMost) {
  Lines ten;
  for (int i = 0; i < 10; ++i) ten.push_back("goal" + std::to_string(i));
  std::string text = JoinGoalLines(ten);
  EXPECT_TRUE(GoalTextAcceptable(text));
  EXPECT_TRUE(GoalTextAcceptable(text + "\n"));  // the caret may wait on the eleventh line
  EXPECT_FALSE(GoalTextAcceptable(text + "\nx"));
  EXPECT_FALSE(GoalTextAcceptable(text + "\n\n"));
}

TEST_F(Mokuhyou, StoringKeepsTheFirstTen) {
  Lines twelve;
  for (int i = 0; i < 12; ++i) twelve.push_back("目標" + std::to_string(i));
  DSPBANGOU = 4;
  StoreGoals(twelve);
  EXPECT_EQ(MOKU_SOUSUU, 10);
  EXPECT_EQ(MOKUHYOU[0], "目標0");
  EXPECT_EQ(MOKUHYOU[9], "目標9");
  EXPECT_EQ(DSPBANGOU, 4);
  EXPECT_EQ(StoredGoals(), Lines(twelve.begin(), twelve.begin() + 10));

  StoreGoals({"a", "b"});
  EXPECT_EQ(MOKU_SOUSUU, 2);
  EXPECT_EQ(StoredGoals(), (Lines{"a", "b"}));
  EXPECT_EQ(MOKUHYOU[2], "");  // the later slots are emptied

  // A count beyond the slots, from a file written by other means, lists the ten slots only.
  MOKU_SOUSUU = 15;
  EXPECT_EQ(StoredGoals().size(), 10u);
  MOKU_SOUSUU = -1;
  EXPECT_TRUE(StoredGoals().empty());
}

TEST_F(Mokuhyou, GoalFontRedrawsTheGoal) {
  int redraws = 0;
  ConditionsView.goalDisplay = [&] { ++redraws; };
  SetGoalFont("IPAGothic", 18, 0xFF0000);
  EXPECT_EQ(MOKU_FONTNAME, "IPAGothic");
  EXPECT_EQ(MOKU_FONTSIZE, 18);
  EXPECT_EQ(FONTCOLOR, 0xFF0000);
  EXPECT_EQ(redraws, 1);
}
