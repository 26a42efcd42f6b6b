#include "platform/ShiftJis.h"

#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "support/TestSupport.h"

TEST(ShiftJis, CountsFullWidthAsTwoAndHalfWidthKatakanaAsOne) {
  struct Case {
    const char* text;
    std::size_t bytes;
  } cases[] = {
      {"", 0}, {"1+2", 3}, {"分数", 4}, {"ｴﾗｰ", 3}, {"◆ｴﾗｰ::１", 9}, {"ＭＳ ゴシック", 13},
  };
  for (const auto& c : cases) EXPECT_EQ(SjisLength(c.text), c.bytes) << c.text;
}

TEST(ShiftJis, RoundTripsThroughCp932IncludingNecCharacters) {
  const std::string text = "▼計算画面▼ ①～ｶﾅ abc";
  std::string sjis, back;
  ASSERT_TRUE(Utf8ToCp932(text, sjis));
  EXPECT_EQ(sjis.size(), SjisLength(text));
  ASSERT_TRUE(Cp932ToUtf8(sjis, back));
  EXPECT_EQ(back, text);
}

TEST(ShiftJis, ReportsWhereABadSequenceStarts) {
  std::string out = "kept";
  std::size_t bad = 99;
  EXPECT_FALSE(Cp932ToUtf8(std::string("ab\x81", 3), out, &bad));
  EXPECT_EQ(out, "kept");
  EXPECT_EQ(bad, 2u);
}

TEST(ShiftJis, CutsWithoutSplittingCharacters) {
  EXPECT_EQ(SjisLeft("分数abc", 3), "分");
  EXPECT_EQ(Utf8Left("分数abc", 3), "分数a");
  EXPECT_EQ(Utf8Length("分数abc"), 5u);
}

TEST(Platform, RecordingPlatformAnswersFromItsScript) {
  RecordingPlatform& p = TestPlatform();
  p.answers = {MsgAnswer::No, MsgAnswer::Cancel};
  EXPECT_EQ(AskQuestion("保存しますか？", "ご確認", MsgButtons::YesNoCancel), MsgAnswer::No);
  EXPECT_EQ(AskQuestion("続けますか？", "ご確認", MsgButtons::OkCancel), MsgAnswer::Cancel);
  EXPECT_EQ(AskQuestion("again", "ご確認", MsgButtons::YesNo), MsgAnswer::Yes);
  ShowMessage("０でわった。", "警告!");
  CurrentPlatform().ShowNotice("$a|b", "警告！", 1500);
  EXPECT_EQ(p.ShownTexts(),
            (std::vector<std::string>{"ご確認: 保存しますか？", "ご確認: 続けますか？", "ご確認: again",
                                      "警告!: ０でわった。", "警告！: $a|b"}));
}
