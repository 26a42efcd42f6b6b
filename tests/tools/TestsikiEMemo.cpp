// The expression memo without a window: the list over the settings' slots, adding with its refusals,
// deleting with confirmation, the remembered position, and the store surviving a close, a reopen and the
// settings file.
#include "tools/sikiEMemo.h"

#include <gtest/gtest.h>

#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "screen/SettingsFile.h"
#include "support/TestSupport.h"

namespace {

class SikiEMemo : public ::testing::Test {
 protected:
  static std::vector<std::string> Slots() {
    std::vector<std::string> v;
    for (int i = 0; i < SIKI_SOUSUU; ++i) v.push_back(SIKI[i]);
    return v;
  }
};

TEST_F(SikiEMemo, AddAppendsAndSelects) {
  MemoOpened();
  EXPECT_EQ(MemoAdd("1+2"), MemoAddResult::Added);
  EXPECT_EQ(MemoAdd("2x+1=5"), MemoAddResult::Added);
  EXPECT_EQ(MemoEntries, (std::vector<std::string>{"1+2", "2x+1=5"}));
  EXPECT_EQ(MemoSelected, 1);
  EXPECT_EQ(MemoSelectedText(), "2x+1=5");
  EXPECT_EQ(MemoAdd(""), MemoAddResult::Ignored);
  EXPECT_TRUE(TestPlatform().log.empty());
}

TEST_F(SikiEMemo, AComputedLineIsKeptAsThePupilReadsIt) {
  MemoOpened();
  EXPECT_EQ(MemoAdd("2b1+3b1=6b5&6b5"), MemoAddResult::Added);
  EXPECT_EQ(MemoAdd("2x+1=5&x=2"), MemoAddResult::Added);
  EXPECT_EQ(MemoEntries, (std::vector<std::string>{"2b1+3b1=6b5", "2x+1=5 【答】x=2"}));
  // The same line as the editor shows it is the same entry.
  EXPECT_EQ(MemoAdd("2b1+3b1=6b5"), MemoAddResult::Duplicate);
}

TEST_F(SikiEMemo, ADuplicateIsRefusedButOneBlankMoreIsAnotherExpression) {
  MemoOpened();
  MemoAdd("3b1+3b1");
  EXPECT_EQ(MemoAdd("3b1+3b1"), MemoAddResult::Duplicate);
  EXPECT_EQ(TestPlatform().ShownTexts(), std::vector<std::string>{"確認！: 同一の式があります。"});
  EXPECT_EQ(MemoAdd("3b1+3b1 "), MemoAddResult::Added);
  EXPECT_EQ(MemoEntries.size(), 2u);
}

TEST_F(SikiEMemo, TheFiftyFirstIsRefusedNamingFifty) {
  MemoOpened();
  for (int i = 0; i < 50; ++i) ASSERT_EQ(MemoAdd(std::to_string(i)), MemoAddResult::Added);
  EXPECT_EQ(MemoAdd("50"), MemoAddResult::Full);
  EXPECT_EQ(TestPlatform().ShownTexts(),
            std::vector<std::string>{"確認！: メモの式が 50 を超えているので、\n\nもう格納できません。"});
  EXPECT_EQ(MemoEntries.size(), 50u);
  // A full memo refuses even a duplicate with the full message first.
  TestPlatform().Clear();
  EXPECT_EQ(MemoAdd("7"), MemoAddResult::Full);
}

TEST_F(SikiEMemo, DeleteAsksAndSelectsTheRememberedPositionAgain) {
  MemoOpened();
  for (const char* s : {"a1", "a2", "a3"}) MemoAdd(s);
  MemoChoose(1);

  TestPlatform().answers = {MsgAnswer::Cancel};
  EXPECT_FALSE(MemoDeleteSelected());
  EXPECT_EQ(MemoEntries.size(), 3u);
  ASSERT_EQ(TestPlatform().log.size(), 1u);
  EXPECT_EQ(TestPlatform().log[0].caption, "確認！");
  EXPECT_EQ(TestPlatform().log[0].text, MEMO_DELETE_TEXT);

  EXPECT_TRUE(MemoDeleteSelected());
  EXPECT_EQ(MemoEntries, (std::vector<std::string>{"a1", "a3"}));
  // The remembered position now names the next expression.
  EXPECT_EQ(MemoSelectedText(), "a3");

  // Deleting the last entry leaves nothing selected; a further delete does nothing.
  EXPECT_TRUE(MemoDeleteSelected());
  EXPECT_EQ(MemoEntries, std::vector<std::string>{"a1"});
  EXPECT_EQ(MemoSelected, -1);
  EXPECT_FALSE(MemoDeleteSelected());
  EXPECT_EQ(MemoEntries.size(), 1u);
}

TEST_F(SikiEMemo, DeleteAllEmptiesTheListAndTheSlots) {
  MemoOpened();
  MemoAdd("1");
  MemoAdd("2");
  TestPlatform().answers = {MsgAnswer::Cancel};
  EXPECT_FALSE(MemoDeleteAll());
  EXPECT_EQ(MemoEntries.size(), 2u);
  EXPECT_TRUE(MemoDeleteAll());
  EXPECT_TRUE(MemoEntries.empty());
  EXPECT_EQ(MemoSelected, -1);
  EXPECT_EQ(SIKI_SOUSUU, 0);
  EXPECT_EQ(SIKI[0], "");
}

TEST_F(SikiEMemo, CloseAndReopenKeepOrderAndPosition) {
  MemoOpened();
  for (const char* s : {"c", "a", "b"}) MemoAdd(s);
  MemoChoose(1);
  MemoAdd("d");  // selected, but the remembered position stays at "a"
  MemoClosed();
  EXPECT_FALSE(MemoOpen);
  EXPECT_EQ(Slots(), (std::vector<std::string>{"c", "a", "b", "d"}));

  MemoEntries.clear();
  MemoOpened();
  EXPECT_TRUE(MemoOpen);
  EXPECT_EQ(MemoEntries, (std::vector<std::string>{"c", "a", "b", "d"}));
  EXPECT_EQ(MemoSelectedText(), "a");
}

TEST_F(SikiEMemo, TheFirstOpeningSelectsTheFirstEntry) {
  MemoOpened();
  EXPECT_EQ(MemoSelected, -1);  // an empty memo has nothing to select
  MemoClosed();
  SIKI[0] = "1+1";
  SIKI[1] = "2+2";
  MemoOpened();
  EXPECT_EQ(MemoSelectedText(), "1+1");
}

TEST_F(SikiEMemo, SlotsWithGapsGiveAListWithout) {
  SIKI[0] = "1+1";
  SIKI[3] = "x+1";
  SIKI[49] = "2:4";
  SIKI_SOUSUU = 3;
  MemoPosition = 7;  // past the end: nothing selected
  MemoOpened();
  EXPECT_EQ(MemoEntries, (std::vector<std::string>{"1+1", "x+1", "2:4"}));
  EXPECT_EQ(MemoSelected, -1);
  MemoClosed();
  EXPECT_EQ(Slots(), (std::vector<std::string>{"1+1", "x+1", "2:4"}));
  EXPECT_EQ(SIKI[2], "2:4");
  EXPECT_EQ(SIKI[3], "");
  EXPECT_EQ(SIKI[49], "");
}

TEST_F(SikiEMemo, TheStoreSurvivesTheSettingsFileEvenWhileTheMemoIsOpen) {
  MemoOpened();
  for (const char* s : {"3b2+1", "x^2 #square", "[2+1B3]"}) MemoAdd(s);
  // The program writes its settings at the end, possibly with the memo still open.
  const std::string bytes = SettingsFileBytes("");
  ResetSettings();
  ResetSikiEMemo();
  ReadSettingsBytes(bytes);
  MemoOpened();
  EXPECT_EQ(MemoEntries, (std::vector<std::string>{"3b2+1", "x^2 #square", "[2+1B3]"}));
}

TEST_F(SikiEMemo, LookShowsTheSelectedEntryWithItsComment) {
  MemoOpened();
  MemoAdd("3b1+6b1 # halves");
  MemoLook();
  ASSERT_EQ(TestPlatform().Shown().size(), 1u);
  EXPECT_EQ(TestPlatform().Shown()[0].kind, "notice");
  EXPECT_EQ(TestPlatform().Shown()[0].text, "@3b1+6b1 # halves");
  EXPECT_EQ(TestPlatform().Shown()[0].caption, "式の分数形表示");
  EXPECT_EQ(TestPlatform().Shown()[0].durationMs, 10000);

  // A bad entry gets the check's own report and no notice.
  TestPlatform().Clear();
  MemoAdd("1+)");
  MemoLook();
  ASSERT_EQ(TestPlatform().Shown().size(), 1u);
  EXPECT_EQ(TestPlatform().Shown()[0].caption, "ｴﾗｰの報告");

  TestPlatform().Clear();
  MemoChoose(-1);
  MemoLook();
  EXPECT_TRUE(TestPlatform().log.empty());
}

}  // namespace
