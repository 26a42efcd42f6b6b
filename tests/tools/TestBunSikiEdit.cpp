// The expression editor without a window: Show and Calculate for the calculation line and for the
// notebook line, their refusals, the length limit, the stash, closing, the keys of the three tool windows
// and the focus order between them.
#include "tools/BunSikiEdit.h"

#include <gtest/gtest.h>

#include "engine/BunMath.h"
#include "engine/Houtei1ji.h"
#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "notebook/NotePage.h"
#include "platform/VirtualKeys.h"
#include "screen/sikiInp.h"
#include "support/TestSupport.h"
#include "tools/kihonSet.h"
#include "tools/sikiEMemo.h"
#include "tools/xyDainyuu.h"

namespace {

class BunSikiEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    ScreenView = ScreenHooks{};
    EditorNotebook = EditorNotebookHooks{};
    EditorNotebook.redraw = [this] { ++noteRedraws; };
  }
  void TearDown() override {
    EditorNotebook = EditorNotebookHooks{};
    SetScreenCommand(ScreenCommand::BaseConvert, nullptr);
    SetScreenCommand(ScreenCommand::SolveLine, nullptr);
  }
  // A notebook page with two lines, the second selected.
  static void TwoLinePage() {
    AddEmptyLine();
    ReplaceSelected("1+1");
    AddEmptyLine();
    ReplaceSelected("old");
    NotePage.modified = false;
  }
  int noteRedraws = 0;
};

TEST_F(BunSikiEdit, ShowPutsTheCheckedTextOnTheLineReadyForTyping) {
  for (EditorFor mode : {EditorFor::Screen, EditorFor::InputPanel}) {
    EditorMode = mode;
    EditorOutcome o = EditorShow("  -3b1+2 # a comment");
    EXPECT_TRUE(o.done);
    EXPECT_EQ(o.badPos, 0);
    EXPECT_EQ(o.errorText, "");
    EXPECT_FALSE(o.setField);
    // The sign is stored as the checker normalises it, and the line stays open.
    EXPECT_EQ(LineText, "m3b1+2");
    EXPECT_TRUE(LineOpen);
    // The checker stands after the text: "=" evaluates the line as if it had been typed.
    EXPECT_EQ(InputChar('='), InputResult::Evaluated);
    EXPECT_EQ(LineText, "m3b1+2=1k3b2");
  }
}

TEST_F(BunSikiEdit, ShowOfAnOpenBracketGoesOnWithTheBracketCounted) {
  EditorShow("(1+2");
  EXPECT_EQ(InputChar(')'), InputResult::Appended);
  EXPECT_EQ(InputChar('='), InputResult::Evaluated);
  EXPECT_EQ(LineText, "(1+2)=3");
}

TEST_F(BunSikiEdit, ShowReplacesPaiAndShowsLettersThatCalculateRefuses) {
  EditorOutcome o = EditorShow("2*pai+y");
  EXPECT_TRUE(o.done);
  EXPECT_EQ(LineText, "2*3.14+y");

  o = EditorCalculate("2*pai+y");
  EXPECT_FALSE(o.done);
  EXPECT_EQ(TestPlatform().ShownTexts(), std::vector<std::string>{"注意!!: ｙやｚの文字は計算できません。"});
  // The line keeps the checked text.
  EXPECT_EQ(LineText, "2*3.14+y");
}

TEST_F(BunSikiEdit, ABadCharacterIsReportedInTheErrorDisplayOnly) {
  LineText = "kept";
  EditorOutcome o = EditorShow("3)");
  EXPECT_FALSE(o.done);
  EXPECT_EQ(o.badPos, 2);
  EXPECT_EQ(o.errorText, "◇ｴﾗｰ::(2字目) " + CheckMessage(20));
  EXPECT_TRUE(TestPlatform().log.empty());

  o = EditorCalculate("2**3");
  EXPECT_FALSE(o.done);
  EXPECT_EQ(o.badPos, 3);
  EXPECT_EQ(o.errorText, "◇ｴﾗｰ::(3字目) " + CheckMessage(4));
  EXPECT_TRUE(TestPlatform().log.empty());

  // The multiplication sign may be left out only when the setting allows it.
  KAKERU_ABR = 0;
  o = EditorCalculate("2x=4");
  EXPECT_EQ(o.badPos, 2);
  EXPECT_EQ(o.errorText, "◇ｴﾗｰ::(2字目) " + CheckMessage(33));
  KAKERU_ABR = 1;
  EXPECT_TRUE(EditorCalculate("2x=4").done);
}

TEST_F(BunSikiEdit, CalculateRefusesAComment) {
  LineText = "kept";
  EditorOutcome o = EditorCalculate("1+2 #sum");
  EXPECT_FALSE(o.done);
  EXPECT_EQ(o.errorText, " ｢#｣ 以降を削除せよ！");
  EXPECT_EQ(LineText, "kept");
}

struct CalcCase {
  const char* field;
  int answerForm;
  const char* line;  // the calculation line: the answer field after "&"
  const char* shown;  // the field afterwards: as the pupil reads it, never with the "&" field
};

const CalcCase CALC_CASES[] = {
    {"1+2", 0, "1+2=3&3", "1+2=3"},
    {"2b1+3b1", 0, "2b1+3b1=6b5&6b5", "2b1+3b1=6b5"},
    {"3b2+3b2", 2, "3b2+3b2=1k3b1=3b4&1k3b1", "3b2+3b2=1k3b1=3b4"},
    {"3b2+3b2", 1, "3b2+3b2=3b4&3b4", "3b2+3b2=3b4"},
    // An equation is solved, a ratio simplified.
    {"2x+1=5", 0, "2x+1=5&x=2", "2x+1=5 【答】x=2"},
    {"2x<4", 0, "2x<4&x<2", "2x<4 【答】x<2"},
    {"4:6", 0, "4:6=2:3&2:3", "4:6=2:3"},
    // An answer after "=" already in the field is computed again from the expression.
    {"1+2=7", 0, "1+2=3&3", "1+2=3"},
};

TEST_F(BunSikiEdit, CalculateDrawsTheAnswerOnTheCalculationLine) {
  KAKERU_ABR = 1;
  for (const CalcCase& c : CALC_CASES) {
    AnswerFormCode = c.answerForm;
    for (EditorFor mode : {EditorFor::Screen, EditorFor::InputPanel}) {
      EditorMode = mode;
      EditorOutcome o = EditorCalculate(c.field);
      EXPECT_TRUE(o.done) << c.field;
      EXPECT_TRUE(o.setField);
      EXPECT_EQ(o.fieldText, c.shown) << c.field;
      EXPECT_EQ(LineText, c.line) << c.field;
      EXPECT_FALSE(LineOpen);
      // What the field shows is computed again to the same line: Show and Calculate read the expression
      // before the shown solution.
      EXPECT_EQ(EditorCalculate(o.fieldText).fieldText, c.shown) << c.field;
      EXPECT_EQ(LineText, c.line) << c.field;
    }
  }
  EXPECT_EQ(noteRedraws, 0);
}

TEST_F(BunSikiEdit, ShowAndCalculateForTheNotebookReplaceTheSelectedLine) {
  for (EditorFor mode : {EditorFor::NotebookHanded, EditorFor::Notebook}) {
    ResetNotePage();
    TwoLinePage();
    EditorMode = mode;
    LineText = "on the screen";
    EditorOutcome o = EditorShow("3b1+3b1");
    EXPECT_TRUE(o.done);
    EXPECT_EQ(NoteLine(2), "3b1+3b1");
    EXPECT_EQ(NoteLine(1), "1+1");
    EXPECT_TRUE(NotePage.modified);
    // The calculation screen still starts a new line.
    EXPECT_TRUE(LineText.empty());

    o = EditorCalculate("3b1+3b1");
    EXPECT_TRUE(o.done);
    EXPECT_EQ(NoteLine(2), "3b1+3b1=3b2&3b2");
    EXPECT_EQ(o.fieldText, "3b1+3b1=3b2");
  }
  EXPECT_EQ(noteRedraws, 4);
}

TEST_F(BunSikiEdit, AnUnsolvableEquationIsReportedAndTheLineKeepsTheText) {
  KAKERU_ABR = 1;
  EditorOutcome o = EditorCalculate("2x+1");
  EXPECT_FALSE(o.done);
  EXPECT_EQ(TestPlatform().ShownTexts(), std::vector<std::string>{"ご報告!!: " + SolverMessage});
  EXPECT_EQ(LineText, "2x+1");
}

TEST_F(BunSikiEdit, TheLengthLimitIsTheExpressionOfTheLine) {
  std::string fits = "11";
  while (fits.size() < 256) fits += "+1";
  ASSERT_EQ(fits.size(), 256u);
  EXPECT_EQ(EditorExpressionLength(fits), 256);
  EXPECT_TRUE(EditorShow(fits).done);

  const std::string tooLong = fits + "+1";
  EditorOutcome o = EditorShow(tooLong);
  EXPECT_FALSE(o.done);
  EXPECT_EQ(o.badPos, 257);
  EXPECT_EQ(o.errorText, "◇ｴﾗｰ::式の長さが256字を超えています。");
  o = EditorCalculate(tooLong);
  EXPECT_FALSE(o.done);
  EXPECT_EQ(o.badPos, 257);

  // The answers the program wrote after the expression and a comment do not count.
  EXPECT_EQ(EditorExpressionLength(fits + "=3&3"), 256);
  EXPECT_EQ(EditorExpressionLength("2x=4&x=2 # comment"), 4);
  EXPECT_EQ(EditorExpressionLength("2x=4 【答】x=2"), 4);
}

TEST_F(BunSikiEdit, CalculateInBaseModeHandsTheCapitalTextToTheConversion) {
  std::string seen;
  SetScreenCommand(ScreenCommand::BaseConvert, [&seen] {
    seen = LineText;
    return true;
  });
  BaseMode = true;
  EditorCalculate("ff(16");
  EXPECT_EQ(seen, "FF(16");
}

TEST_F(BunSikiEdit, ThePictureButtonSolvesOnTheScreen) {
  std::string seen;
  SetScreenCommand(ScreenCommand::SolveLine, [&seen] {
    seen = LineText;
    return true;
  });
  EditorSolveOnScreen("2x-4>0 #solve");
  EXPECT_EQ(seen, "2x-4>0");
}

TEST_F(BunSikiEdit, StashInsertAndLook) {
  EditorStashText("");
  EXPECT_EQ(EditorStashToInsert(), "");
  EditorLookStash();
  EXPECT_EQ(TestPlatform().ShownTexts(), (std::vector<std::string>{"報告！: 退避する式はありません。",
                                                                   "報告！: 退避してある式はありません。",
                                                                   "報告！: 退避してある式はありません。"}));

  TestPlatform().Clear();
  EditorStashText("3b2*4");
  EXPECT_EQ(EditorStash, "3b2*4");
  EXPECT_EQ(EditorStashToInsert(), "3b2*4");
  EditorLookStash();
  ASSERT_EQ(TestPlatform().Shown().size(), 2u);
  EXPECT_EQ(TestPlatform().ShownTexts()[0], "報告！: < 3b2*4 > を一時退避しました。");
  EXPECT_EQ(TestPlatform().Shown()[1].kind, "notice");
  EXPECT_EQ(TestPlatform().Shown()[1].text, "@3b2*4");
  EXPECT_EQ(TestPlatform().Shown()[1].caption, "退避してある式");
  EXPECT_EQ(TestPlatform().Shown()[1].durationMs, 6000);
}

TEST_F(BunSikiEdit, ClosingAsksOnlyAfterChanges) {
  LineText = "1+2";
  SavedLine.clear();
  EXPECT_TRUE(EditorMayClose(false));
  EXPECT_TRUE(TestPlatform().log.empty());
  EXPECT_EQ(SavedLine, "1+2");

  TestPlatform().answers = {MsgAnswer::Cancel};
  EXPECT_FALSE(EditorMayClose(true));
  ASSERT_EQ(TestPlatform().log.size(), 1u);
  EXPECT_EQ(TestPlatform().log[0].caption, "報告！");
  EXPECT_EQ(TestPlatform().log[0].text, EDITOR_CLOSE_QUESTION);
  EXPECT_TRUE(EditorMayClose(true));
}

struct KeyCase {
  int vk;
  int shift;
  int tenyou;
  ToolKeyAction action;
  const char* text;
};

const KeyCase EDITOR_KEYS[] = {
    {VK_RETURN, SHIFT_NONE, 0, ToolKeyAction::Show, ""},
    {VK_RETURN, SHIFT_CTRL, 0, ToolKeyAction::Calculate, ""},
    {'Q', SHIFT_CTRL, 0, ToolKeyAction::Calculate, ""},
    {'L', SHIFT_CTRL, 0, ToolKeyAction::LineFeed, ""},
    {'1', SHIFT_CTRL, 0, ToolKeyAction::Picture, ""},
    {VK_NUMPAD0 + 1, SHIFT_CTRL, 0, ToolKeyAction::Picture, ""},
    {'C', SHIFT_ALT, 0, ToolKeyAction::Close, ""},
    {VK_RETURN, SHIFT_SHIFT, 0, ToolKeyAction::Insert, "="},
    {VK_OEM_5, SHIFT_NONE, 0, ToolKeyAction::Insert, "3.14"},
    {VK_OEM_102, SHIFT_SHIFT, 0, ToolKeyAction::Insert, "="},
    {VK_F8, SHIFT_NONE, 0, ToolKeyAction::FocusNext, ""},
    {VK_PRIOR, SHIFT_NONE, 0, ToolKeyAction::None, ""},
    {VK_PRIOR, SHIFT_NONE, 1, ToolKeyAction::Insert, "k"},
    {VK_NEXT, SHIFT_NONE, 1, ToolKeyAction::Insert, "b"},
    {VK_HOME, SHIFT_NONE, 1, ToolKeyAction::Insert, "("},
    {VK_END, SHIFT_NONE, 1, ToolKeyAction::Insert, ")"},
    {VK_DOWN, SHIFT_NONE, 1, ToolKeyAction::Insert, "="},
    {VK_HOME, SHIFT_SHIFT, 1, ToolKeyAction::None, ""},  // Shift+Home still selects
    {'X', SHIFT_NONE, 1, ToolKeyAction::None, ""},
};

const KeyCase BOX_KEYS[] = {
    {VK_OEM_5, SHIFT_NONE, 0, ToolKeyAction::Insert, "3.14"},
    {VK_RETURN, SHIFT_SHIFT, 0, ToolKeyAction::Insert, "="},
    {VK_RETURN, SHIFT_NONE, 0, ToolKeyAction::None, ""},
    {VK_F8, SHIFT_NONE, 0, ToolKeyAction::FocusNext, ""},
    {VK_F7, SHIFT_NONE, 0, ToolKeyAction::FocusBack, ""},
    {VK_DOWN, SHIFT_NONE, 0, ToolKeyAction::None, ""},
    {VK_DOWN, SHIFT_NONE, 1, ToolKeyAction::Insert, "="},
    {VK_PRIOR, SHIFT_NONE, 1, ToolKeyAction::Insert, "k"},
};

const KeyCase MEMO_KEYS[] = {
    {VK_F8, SHIFT_NONE, 0, ToolKeyAction::FocusNext, ""},
    {VK_F7, SHIFT_NONE, 0, ToolKeyAction::FocusBack, ""},
    {VK_OEM_2, SHIFT_ALT, 0, ToolKeyAction::DropList, ""},
    {VK_OEM_2, SHIFT_NONE, 0, ToolKeyAction::None, ""},
};

TEST_F(BunSikiEdit, KeysOfTheToolWindows) {
  auto run = [](const char* name, const KeyCase* cases, size_t n, ToolKey (*map)(int, int)) {
    for (size_t i = 0; i < n; ++i) {
      const KeyCase& c = cases[i];
      KEYTENYOU = c.tenyou;
      ToolKey k = map(c.vk, c.shift);
      EXPECT_EQ(k.action, c.action) << name << " case " << i;
      EXPECT_EQ(k.text, c.text) << name << " case " << i;
    }
  };
  run("editor", EDITOR_KEYS, std::size(EDITOR_KEYS), EditorKey);
  run("box", BOX_KEYS, std::size(BOX_KEYS), DainyuuKey);
  run("memo", MEMO_KEYS, std::size(MEMO_KEYS), MemoKey);

  // The ¥ key types the π text as it stands now.
  PaiText = "3.1416";
  EXPECT_EQ(EditorKey(VK_OEM_5, SHIFT_NONE).text, "3.1416");
  // The page editor keeps Down for moving.
  KEYTENYOU = 1;
  EXPECT_EQ(RepurposedKeyText(VK_DOWN, SHIFT_NONE, false), "");
  ToggleKeyTenyou();
  EXPECT_EQ(KEYTENYOU, 0);
}

TEST_F(BunSikiEdit, FocusOrderBetweenTheWindows) {
  struct Open {
    bool editor, memo, box;
  };
  struct FocusCase {
    Open open;
    ToolWindow editorF8, memoF8, memoF7, boxF8, boxF7, screenF7;
  };
  using W = ToolWindow;
  const FocusCase cases[] = {
      {{false, false, false}, W::None, W::None, W::Screen, W::None, W::Screen, W::None},
      {{true, false, false}, W::None, W::Editor, W::Editor, W::Editor, W::Editor, W::None},
      {{true, true, false}, W::Memo, W::Editor, W::Editor, W::Editor, W::Editor, W::Memo},
      {{true, false, true},
       W::Substitution,
       W::Substitution,
       W::Editor,
       W::Editor,
       W::Editor,
       W::Substitution},
      {{true, true, true}, W::Memo, W::Substitution, W::Editor, W::Editor, W::Editor, W::Substitution},
      {{false, true, true}, W::Memo, W::Substitution, W::Screen, W::Memo, W::Screen, W::Substitution},
  };
  for (const FocusCase& c : cases) {
    SikiEditOpen = c.open.editor;
    MemoOpen = c.open.memo;
    DainyuuOpen = c.open.box;
    EXPECT_EQ(EditorF8Target(), c.editorF8);
    EXPECT_EQ(MemoF8Target(), c.memoF8);
    EXPECT_EQ(MemoF7Target(), c.memoF7);
    EXPECT_EQ(DainyuuF8Target(), c.boxF8);
    EXPECT_EQ(DainyuuF7Target(), c.boxF7);
    EXPECT_EQ(ScreenF7Target(), c.screenF7);
    EXPECT_EQ(AfterEditorClosed(), c.editorF8);
    EXPECT_EQ(AfterDainyuuClosed(), c.boxF8);
  }
}

}  // namespace
