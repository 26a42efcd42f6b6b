// The calculation line without a window: the key map, offering characters, closing and evaluating the
// line, the editing commands, and the page drawn on a recording canvas.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "engine/BunMath.h"
#include "engine/Bunio.h"
#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "platform/RecordingCanvas.h"
#include "process/CalcProcManage.h"
#include "screen/ScreenPage.h"
#include "screen/sikiInp.h"
#include "support/TestSupport.h"
#include "support/TypeKeys.h"
#include "tools/ProgramState.h"
#include "typeset/bunCanvasDsp.h"

namespace {

constexpr int S = SHIFT_SHIFT;
constexpr int A = SHIFT_ALT;
constexpr int C = SHIFT_CTRL;

void Fresh() { ResetProgramState(); }

// Types a sequence as the batch tool does.
void Type(const std::string& keys) { TypeKeys(keys); }

void Offer(const std::string& chars) {
  for (char c : chars) InputChar(c);
}

class SikiInp : public ::testing::Test {
 protected:
  void SetUp() override { Fresh(); }
};

}  // namespace

// ---- The key map ---------------------------------------------------------------------------------------

struct CharKeyCase {
  const char* prefix;  // offered first, straight to InputChar
  int key;
  int shift;
  const char* line;  // LineText afterwards
};

TEST_F(SikiInp, KeysTypeTheirCharacters) {
  const CharKeyCase cases[] = {
      {"", '7', 0, "7"},
      {"", VK_NUMPAD0 + 3, 0, "3"},
      {"1", VK_ADD, 0, "1+"},
      {"1", VK_SUBTRACT, 0, "1-"},
      {"1", VK_MULTIPLY, 0, "1*"},
      {"1", VK_DIVIDE, 0, "1/"},
      // A laptop without a keypad: the main keyboard's "-" and "/" keys.
      {"1", VK_OEM_MINUS, 0, "1-"},
      {"1", VK_OEM_2, 0, "1/"},
      {"2*(", VK_OEM_MINUS, 0, "2*(m"},  // a sign
      {"1", VK_OEM_PLUS, S, "1+"},
      {"1", VK_OEM_1, S, "1*"},
      {"", '8', S, "("},
      {"(1", '9', S, "(1)"},
      {"3", '1', S, "3!"},
      {"2", VK_OEM_7, 0, "2^"},
      {"2", VK_OEM_1, 0, "2:"},
      {"", VK_OEM_4, 0, "["},
      {"1", VK_OEM_PERIOD, 0, "1."},
      {"1", VK_DECIMAL, 0, "1."},
      {"0.1", VK_OEM_3, 0, "0.1@"},
      {"", 'X', 0, "x"},
      {"1", 'K', 0, "1k"},
      {"1", VK_PRIOR, 0, "1k"},
      {"2", 'B', 0, "2b"},
      {"2", VK_NEXT, 0, "2b"},
      {"", VK_HOME, 0, "("},
      {"(1", VK_END, 0, "(1)"},
      {"5", 'P', 0, "5P"},
      {"5", 'C', 0, "5C"},
      {"5", 'P', S, "5P"},
      {"5", 'C', S, "5C"},
      {"x", VK_OEM_COMMA, S, "x<"},
      {"x", VK_OEM_PERIOD, S, "x>"},
      {"", VK_OEM_5, 0, "3.14"},
      {"", '5', A, "5"},  // Alt with a key other than J, N, D, M is the key alone
      {"(1", VK_F7, 0, "(1)"},  // F7 with no tool window open
      // "=" in an equation is an ordinary character, so every "=" key shows in the line.
      {"x", VK_RIGHT, 0, "x="},
      {"x", VK_RIGHT, C, "x="},
      {"x", VK_DOWN, S, "x="},
      {"x", VK_OEM_MINUS, S, "x="},
      {"x", VK_RETURN, S, "x="},
      {"x", VK_RETURN, 0, "x="},
  };
  for (const auto& c : cases) {
    Fresh();
    Offer(c.prefix);
    KeyToInput(c.key, c.shift);
    EXPECT_EQ(LineText, c.line) << "prefix \"" << c.prefix << "\" key " << VirtualKeyName(c.key) << " shift "
                                << c.shift << " status " << StatusText;
  }
}

TEST_F(SikiInp, CommandKeysRunTheirCommands) {
  struct Case {
    int key;
    int shift;
    ScreenCommand command;
    bool baseMode = false;
  };
  const Case cases[] = {
      {'F', S, ScreenCommand::FontDialog},
      {'S', S, ScreenCommand::SoinsuuPre},
      {'R', S, ScreenCommand::JunkanSyori},
      {'N', S, ScreenCommand::ToggleBaseMode},
      {VK_OEM_2, S, ScreenCommand::ToggleBaseMode},
      {'B', C, ScreenCommand::DecimalToFraction},
      {'S', C, ScreenCommand::ToSyousuu},
      {'T', C, ScreenCommand::ToMixed},
      {'K', C, ScreenCommand::ToImproper},
      {'Y', C, ScreenCommand::YakuProcDsp},
      {'I', C, ScreenCommand::InputPanelSwitch},
      {'C', C, ScreenCommand::CopyAnswer},
      {'P', C, ScreenCommand::PasteAnswer},
      {'Q', C, ScreenCommand::SolveLine},
      {VK_RETURN, C, ScreenCommand::SolveLine},
      {'J', A, ScreenCommand::OpenConditions},
      {'N', A, ScreenCommand::OpenNotebook},
      {'D', A, ScreenCommand::OpenSubstitution},
      {'M', A, ScreenCommand::OpenMemo},
      {VK_F8, 0, ScreenCommand::InputPanelSwitch},
      {VK_OEM_2, 0, ScreenCommand::BaseConvert, true},
      {VK_F7, 0, ScreenCommand::FocusToolWindow},
      {'J', A | S, ScreenCommand::OpenConditions},
  };
  for (const auto& c : cases) {
    Fresh();
    std::vector<ScreenCommand> ran;
    for (int i = 0; i < static_cast<int>(ScreenCommand::COUNT); ++i) {
      auto cmd = static_cast<ScreenCommand>(i);
      SetScreenCommand(cmd, [&ran, cmd] {
        ran.push_back(cmd);
        return true;
      });
    }
    BaseMode = c.baseMode;
    Offer("1");
    KeyToInput(c.key, c.shift);
    ASSERT_EQ(ran.size(), 1u) << VirtualKeyName(c.key) << " shift " << c.shift;
    EXPECT_EQ(ran[0], c.command) << VirtualKeyName(c.key) << " shift " << c.shift;
    EXPECT_EQ(LineText, "1") << "a command key types nothing: " << VirtualKeyName(c.key);
  }
}

TEST_F(SikiInp, KeysWithoutAMeaningTypeNothingAndSaySo) {
  Offer("1");
  InputChar('+');
  InputChar('*');  // refused: two operators
  ASSERT_FALSE(StatusText.empty());
  ASSERT_EQ(LineText, "1+");
  for (auto [key, shift] : {std::pair{VK_F9, 0},
                            {'Z', 0},
                            {VK_TAB, 0},
                            {VK_SPACE, 0},
                            {'Z', S},
                            {'Z', C},
                            {VK_OEM_102, S},
                            {VK_F9, C | S}}) {
    SetStatusText("x");
    const int refusals = RefusalCount;
    KeyToInput(key, shift);
    EXPECT_EQ(StatusText, KEY_UNUSED_TEXT) << VirtualKeyName(key) << " shift " << shift;
    EXPECT_EQ(RefusalCount, refusals + 1) << VirtualKeyName(key);
    EXPECT_EQ(LastRefusalNo, REFUSED_NO_KEY) << VirtualKeyName(key);
    EXPECT_EQ(LineText, "1+") << VirtualKeyName(key);
  }
  // Alt with a key of no meaning belongs to the window's own access keys: no word about it here.
  SetStatusText("kept");
  KeyToInput('Z', A);
  EXPECT_EQ(StatusText, "kept");
  // The ¥ key types the π approximation and nothing more.
  KeyToInput(VK_OEM_5, 0);
  EXPECT_EQ(LineText, "1+3.14");
  EXPECT_EQ(StatusText, "");

  // A closed line takes no more characters, and says how to go on.
  Type("=");
  ASSERT_FALSE(LineOpen);
  const std::string closed = LineText;
  for (const char* keys : {"5", "+", "{Shift+8}", "="}) {
    SetStatusText("x");
    Type(keys);
    EXPECT_EQ(LineText, closed) << keys;
    EXPECT_EQ(StatusText, LINE_CLOSED_TEXT) << keys;
    EXPECT_EQ(LastRefusalNo, REFUSED_LINE_CLOSED) << keys;
  }
}

TEST_F(SikiInp, ReturnFollowsRetkeyflag) {
  RETKEYFLAG = 0;
  Type("2b1+3b1");
  SetStatusText("old");
  KeyToInput(VK_RETURN, 0);
  EXPECT_TRUE(LineOpen);
  EXPECT_EQ(LineText, "2b1+3b1");
  EXPECT_EQ(StatusText, RETURN_UNUSED_TEXT);
  bool solved = false;
  SetScreenCommand(ScreenCommand::SolveLine, [&] { return solved = true; });
  KeyToInput(VK_RETURN, C);
  EXPECT_TRUE(solved);

  RETKEYFLAG = 1;
  KeyToInput(VK_RETURN, 0);
  EXPECT_FALSE(LineOpen);
  EXPECT_EQ(LineText, "2b1+3b1=6b5");
}

TEST_F(SikiInp, PitchAndPageStayInTheirRanges) {
  for (int i = 0; i < 30; ++i) KeyToInput(VK_PRIOR, S);
  EXPECT_EQ(GYOKEISUU, 12);
  EXPECT_EQ(LinePitch, 12);
  for (int i = 0; i < 30; ++i) KeyToInput(VK_NEXT, S);
  EXPECT_EQ(GYOKEISUU, 1);
  for (int i = 0; i < 400; ++i) KeyToInput(VK_PRIOR, C);
  EXPECT_EQ(PAGEA4BAI, 400);
  for (int i = 0; i < 400; ++i) KeyToInput(VK_NEXT, C);
  EXPECT_EQ(PAGEA4BAI, 80);
  EXPECT_EQ(LineText, "");
}

TEST_F(SikiInp, ScrollingKeys) {
  KeyToInput(VK_DOWN, 0);
  KeyToInput(VK_DOWN, 0);
  KeyToInput(VK_DOWN, 0);
  EXPECT_EQ(ScrollPos, 12);
  KeyToInput(VK_UP, 0);
  EXPECT_EQ(ScrollPos, 8);
  EXPECT_EQ(LineOrigin.y, 3 * CharHeight / 2 - 8);
  // Home and End type brackets while the line is open and scroll once it is closed.
  Type("1+2=");
  ASSERT_FALSE(LineOpen);
  ScreenHeight = 300;
  KeyToInput(VK_END, 0);
  EXPECT_EQ(ScrollPos, 300);
  KeyToInput(VK_HOME, 0);
  EXPECT_EQ(ScrollPos, 0);
  EXPECT_EQ(LineText, "1+2=3");
  for (int i = 0; i < 10; ++i) KeyToInput(VK_UP, 0);
  EXPECT_EQ(ScrollPos, 0);
  // A new line starts at the top.
  KeyToInput(VK_DOWN, 0);
  ClearLine();
  EXPECT_EQ(ScrollPos, 0);
}

TEST_F(SikiInp, F5MovesTheLineDownAndBack) {
  CanvasPoint before = ComputeLineOrigin();
  KeyToInput(VK_F5, 0);
  EXPECT_EQ(PROCDSP, 1);
  EXPECT_EQ(LineOrigin.y, before.y + CharHeight * 3 / 2);
  KeyToInput(VK_F5, 0);
  EXPECT_EQ(PROCDSP, 0);
  EXPECT_EQ(LineOrigin, before);
  KeyToInput('L', C);
  EXPECT_EQ(EQUAL_KAIGYO, 1);
  KeyToInput('L', C);
  EXPECT_EQ(EQUAL_KAIGYO, 0);
}

// ---- Closing and evaluating the line ------------------------------------------------------------------

TEST_F(SikiInp, EqualsEvaluatesAndClosesTheLine) {
  Type("2b1+3b1=");
  EXPECT_EQ(LineText, "2b1+3b1=6b5");
  EXPECT_FALSE(LineOpen);
  EXPECT_TRUE(MixedDone);
  EXPECT_FALSE(ImproperDone);
  EXPECT_FALSE(ObiButtonEnabled);
  EXPECT_TRUE(KariButtonEnabled);
  EXPECT_TRUE(SyouButtonEnabled);
  EXPECT_EQ(SavedLine, "2b1+3b1");
  // The closed line takes no more characters, and a second "=" changes nothing.
  EXPECT_EQ(InputChar('1'), InputResult::NotAppended);
  Type("=");
  EXPECT_EQ(LineText, "2b1+3b1=6b5");
}

TEST_F(SikiInp, AnswerFormsSetTheDoneFlags) {
  struct Case {
    int anssyu;
    bool mixed, improper;
  };
  for (Case c : {Case{0, true, false}, Case{1, false, true}, Case{2, true, true}}) {
    Fresh();
    ANSSYU = c.anssyu;
    Type("2b1+1=");
    EXPECT_EQ(MixedDone, c.mixed) << c.anssyu;
    EXPECT_EQ(ImproperDone, c.improper) << c.anssyu;
    EXPECT_EQ(ObiButtonEnabled, !c.mixed) << c.anssyu;
    EXPECT_EQ(KariButtonEnabled, !c.improper) << c.anssyu;
  }
}

TEST_F(SikiInp, AnswerColumnRepeatsTheFirstForm) {
  KAITOURAN_FLAG = 1;
  ANSSYU = 2;
  std::string answer = EvaluateExpression("2b1+1", {.forms = AnswerForms::Both});
  Type("2b1+1=");
  EXPECT_EQ(LineText, "2b1+1=" + answer + "&" + answer.substr(0, answer.find('=')));
}

TEST_F(SikiInp, DecimalVerdict) {
  struct Case {
    const char* keys;
    const char* verdict;
    Color color;
  };
  const Case cases[] = {
      {"1/3=", VERDICT_RECURS, CLR_RED},
      {"1/4=", VERDICT_TERMINATES, CLR_GREEN},
      {"2+3=", "", CLR_BLACK},  // an integer answer has no fraction to expand
  };
  for (const auto& c : cases) {
    Fresh();
    SYOUDSP = 1;
    Type(c.keys);
    EXPECT_EQ(LineVerdict.text, c.verdict) << c.keys;
    if (*c.verdict) {
      EXPECT_EQ(LineVerdict.color, c.color) << c.keys;
      EXPECT_FALSE(SyouButtonEnabled) << c.keys;
      EXPECT_TRUE(DecimalDone) << c.keys;
    } else {
      EXPECT_TRUE(SyouButtonEnabled) << c.keys;
    }
  }
  // Without the decimal form there is no verdict.
  Fresh();
  Type("1/3=");
  ASSERT_FALSE(LineOpen);
  EXPECT_EQ(LineVerdict.text, "");
}

TEST_F(SikiInp, RatioIsSimplifiedIntoTheAnswerColumn) {
  Type("2:4=");
  EXPECT_EQ(LineText, "2:4=1:2&1:2");
  EXPECT_FALSE(LineOpen);
}

TEST_F(SikiInp, DivisionWithRemainder) {
  WARI_TYPE = 1;
  std::string r = DivideWithRemainder("7/2", WARI_PNT);
  ASSERT_NE(r, "n");
  Type("7/2=");
  EXPECT_EQ(LineText, "7/2=" + r);
  EXPECT_FALSE(LineOpen);
}

TEST_F(SikiInp, FailedEvaluationPutsTheExpressionBackForCorrection) {
  Type("1/0=");
  EXPECT_FALSE(TestPlatform().Shown().empty());
  EXPECT_TRUE(LineOpen);
  EXPECT_EQ(LineText, "1/0");
  EXPECT_EQ(LineCount, 3);
  // It can be corrected at once.
  Type("{Back}2=");
  EXPECT_EQ(LineText, "1/2=2b1");
}

TEST_F(SikiInp, EqualsInAnEquationIsAnOrdinaryCharacter) {
  EQUAL_KAIGYO = 1;
  Type("x+1=5");
  EXPECT_EQ(LineText, "x+1=5");
  EXPECT_TRUE(LineOpen);
  EXPECT_EQ(EQUAL_KAIGYO, 0);
  // A second "=" is dropped without a message.
  TestPlatform().Clear();
  Type("=");
  EXPECT_EQ(LineText, "x+1=5");
  EXPECT_TRUE(LineOpen);
}

TEST_F(SikiInp, EqualsAfterARelationWithoutXIsDropped) {
  Offer("1<2");
  if (LineText != "1<2") GTEST_SKIP() << "the checker refuses a relation without x";
  Type("=");
  EXPECT_EQ(LineText, "1<2");
  EXPECT_TRUE(LineOpen);
  // The dropped "=" leaves the checker with the line: a second ":" on the same side is still refused.
  Offer("+3:4");
  EXPECT_EQ(LineText, "1<2+3:4");
  Type("=");
  Offer(":");
  EXPECT_EQ(LineText, "1<2+3:4");
}

TEST_F(SikiInp, ProcessDisplayHandsTheLineToTheDriver) {
  PROCDSP = 1;
  Type("2b1+3b1=");
  EXPECT_FALSE(LineOpen);
  EXPECT_NE(ProcessTypeNumber(ProcessState.processType), 0);
  EXPECT_EQ(LineText, "2b1+3b1");
}

TEST_F(SikiInp, F6MakesTheProcessAgainWithTheOtherMethod) {
  PROCDSP = 1;
  Type("3-4b1=");
  ASSERT_FALSE(LineOpen);
  int type = ProcessTypeNumber(ProcessState.processType);
  std::string before = ProcessState.processText;
  KeyToInput(VK_F6, 0);
  EXPECT_TRUE(ProcessState.alternativeMethod);
  EXPECT_FALSE(LineOpen);
  EXPECT_EQ(LineText, "3-4b1");
  EXPECT_EQ(ProcessTypeNumber(ProcessState.processType), type);
  EXPECT_NE(ProcessState.processText, before);
}

// ---- Length limit ---------------------------------------------------------------------------------------

TEST_F(SikiInp, TheLineHoldsAtMost257Characters) {
  std::string text;
  while (text.size() < 256) text += "1+";
  text += "1";
  ASSERT_EQ(text.size(), 257u);
  Offer(text);
  EXPECT_EQ(LineText, text);
  EXPECT_EQ(LineCount, 257);
  EXPECT_EQ(InputChar('+'), InputResult::NotAppended);
  EXPECT_EQ(StatusText, LINE_TOO_LONG_TEXT);
  EXPECT_EQ(LineText, text);
  EXPECT_EQ(BackSpaceLine(), 1);
  EXPECT_EQ(LineCount, 256);
  EXPECT_EQ(InputChar('1'), InputResult::Appended);
  EXPECT_EQ(LineText, text);
  // What finishes the line is still taken at the limit: every key that types "=" closes and computes it.
  for (auto [key, shift] : {std::pair{VK_RIGHT, 0}, {VK_DOWN, S}, {VK_OEM_MINUS, S}, {VK_RETURN, 0}}) {
    Fresh();
    Offer(text);
    KeyToInput(key, shift);
    EXPECT_FALSE(LineOpen) << VirtualKeyName(key);
    EXPECT_EQ(LineText, text + "=129") << VirtualKeyName(key);
  }
  // A full line with brackets open takes the closing brackets, and then "=".
  Fresh();
  std::string open = "((1";
  while (open.size() < 257) open += "+1";
  ASSERT_EQ(open.size(), 257u);
  Offer(open);
  ASSERT_EQ(LineCount, 257);
  Type("1");
  EXPECT_EQ(LineText, open);
  Type("))");
  Type(")");  // nothing left to close: the checker refuses it
  EXPECT_EQ(LineText, open + "))");
  Type("=");
  EXPECT_FALSE(LineOpen);
  EXPECT_EQ(LineText, open + "))=128");
  // The 257th place takes no character the line cannot end after: a full line is always closable.
  Fresh();
  std::string almost = "11";
  while (almost.size() < 256) almost += "+1";
  ASSERT_EQ(almost.size(), 256u);
  Offer(almost);
  ASSERT_EQ(LineCount, 256);
  for (const char* open : {"+", "*", "b", "k"}) {
    StatusText.clear();
    Type(open);
    EXPECT_EQ(LineText, almost) << open;
    EXPECT_EQ(StatusText, LINE_TOO_LONG_TEXT) << open;
  }
  Type("2");
  EXPECT_EQ(LineText, almost + "2");
  Type("=");
  EXPECT_FALSE(LineOpen);
  EXPECT_EQ(LineText, almost + "2=149");
  // An equation's "=" is no end of the line: at the limit it is refused like any other character.
  Fresh();
  std::string equation = "x";
  while (equation.size() < 257) equation += "+1";
  Offer(equation);
  ASSERT_EQ(LineCount, 257);
  Type("=");
  EXPECT_EQ(LineText, equation);
  EXPECT_EQ(StatusText, LINE_TOO_LONG_TEXT);
}

// ---- Editing commands -----------------------------------------------------------------------------------

TEST_F(SikiInp, BackspaceRetypesTheRest) {
  EXPECT_EQ(BackSpaceLine(), -2);
  Type("3b2+1k");
  EXPECT_EQ(BackSpaceLine(), 1);
  EXPECT_EQ(LineText, "3b2+1");
  EXPECT_EQ(LineCount, 5);
  EXPECT_FALSE(RestoreAllowed);
  // The checker state is rebuilt: a fraction can be started again where the mark was removed.
  Type("k2b1=");
  EXPECT_EQ(LineText.substr(0, 10), "3b2+1k2b1=");
  EXPECT_EQ(BackSpaceLine(), -1);  // the line is closed
  EXPECT_FALSE(LineText.empty());
}

TEST_F(SikiInp, BackspaceKeepsSignsTheCheckerNormalised) {
  Type("-3*-2");
  std::string typed = LineText;
  Type("5");
  Type("{Back}");
  EXPECT_EQ(LineText, typed);
  Type("{Left}");
  EXPECT_EQ(LineText, typed.substr(0, typed.size() - 1));
}

TEST_F(SikiInp, RestoreWorksOnceAfterEachClear) {
  Type("1+2");
  Type("{Delete}");
  EXPECT_EQ(LineText, "");
  EXPECT_EQ(RestoreLine(), 1);
  EXPECT_EQ(LineText, "1+2");
  EXPECT_TRUE(LineOpen);
  Type("+4");
  EXPECT_EQ(RestoreLine(), -3);
  EXPECT_EQ(LineText, "1+2+4");
  Type("{Ctrl+D}{Ctrl+H}");
  EXPECT_EQ(LineText, "1+2+4");
}

TEST_F(SikiInp, RestoreBringsBackTheExpressionBeforeEquals) {
  Type("2b1+3b1=");
  Type("{Delete}{Insert}");
  EXPECT_EQ(LineText, "2b1+3b1");
  EXPECT_TRUE(LineOpen);
  EXPECT_EQ(LineCount, 7);
  Type("=");
  EXPECT_EQ(LineText, "2b1+3b1=6b5");
}

TEST_F(SikiInp, RestoreOfANormalisedLineRebuildsIt) {
  Type("-3*-2+[2k3b1]");
  std::string typed = LineText;
  Type("{Delete}{Insert}");
  EXPECT_EQ(LineText, typed);
  EXPECT_EQ(StatusText, "");
}

TEST_F(SikiInp, RestoreOnAnOpenLineStartsTheRetypeAfresh) {
  // Without a clear in between, the line's own relation must not make the retype fail.
  Type("x<3");
  ASSERT_EQ(LineText, "x<3");
  EXPECT_EQ(RestoreLine(), 1);
  EXPECT_EQ(LineText, "x<3");
}

TEST_F(SikiInp, BaseModeLetters) {
  BaseMode = true;
  Type("1ABCDEF");
  EXPECT_EQ(LineText, "1ABCDEF");
  EXPECT_EQ(LineCount, 1);
  Type("..");
  EXPECT_EQ(LineText, "1ABCDEF>");
  EXPECT_EQ(StatusText, BASE_SECOND_ARROW_TEXT);
  KeyToInput(VK_DECIMAL, 0);
  EXPECT_EQ(LineText, "1ABCDEF>");
  Type("2");
  EXPECT_EQ(LineText, "1ABCDEF>2");
  // Editing keeps the letters that bypass the checker.
  Type("{Back}{Back}");
  EXPECT_EQ(LineText, "1ABCDEF");
  // The letters cannot be restored: the pupil is told, and the line is empty.
  Type("{Delete}");
  EXPECT_EQ(SavedLine, "1ABCDEF");
  EXPECT_EQ(RestoreLine(), 1);
  EXPECT_EQ(LineText, "");
  EXPECT_EQ(SavedLine, "");
  ASSERT_EQ(TestPlatform().ShownTexts().size(), 1u);
  EXPECT_EQ(TestPlatform().ShownTexts()[0],
            "深謝！: Ａ～Ｆ を含む数字は復活できません。\n再入力してください。");
}

TEST_F(SikiInp, BaseModeEqualsConverts) {
  BaseMode = true;
  bool converted = false;
  SetScreenCommand(ScreenCommand::BaseConvert, [&] { return converted = true; });
  Type("FF(16=");
  EXPECT_TRUE(converted);
  EXPECT_EQ(LineText, "FF(16");
}

TEST_F(SikiInp, ClearLineResetsTheLine) {
  ANSSYU = 2;
  SYOUDSP = 1;
  INPUTSTR_DSP = 1;
  Type("1/3=");
  ASSERT_FALSE(LineOpen);
  ClearLine();
  EXPECT_TRUE(LineOpen);
  EXPECT_EQ(LineText, "");
  EXPECT_EQ(LineCount, 0);
  EXPECT_EQ(PrevChar, '$');
  EXPECT_EQ(State, CheckState::LineStart);
  EXPECT_FALSE(MixedDone || ImproperDone || DecimalDone);
  EXPECT_TRUE(SyouButtonEnabled && KariButtonEnabled && ObiButtonEnabled);
  EXPECT_EQ(InputStringText, "");
  EXPECT_EQ(LineOrigin.x, 2 * CharHeight);
  EXPECT_EQ(LineOrigin.y, 3 * CharHeight / 2 + 28);
  EXPECT_EQ(CursorPos, LineOrigin);
  EXPECT_EQ(CursorColour, CLR_BLUE);
  EXPECT_TRUE(RestoreAllowed);
  EXPECT_EQ(LineVerdict.text, "");
}

TEST_F(SikiInp, InputStringShowsTheRawLine) {
  INPUTSTR_DSP = 1;
  Type("2b1");
  EXPECT_EQ(InputStringText, "2b1");
  ShowInputString("1=2&3");
  EXPECT_EQ(InputStringText, "1=2＆3");
}

// ---- The browser edition's keys --------------------------------------------------------------------------

namespace {

// What one key does to a line holding "1": the commands it ran, the page length, the row factor and the line.
std::string KeyEffect(int key, int shift, bool browser) {
  Fresh();
  std::string ran;
  for (int i = 0; i < static_cast<int>(ScreenCommand::COUNT); ++i) {
    SetScreenCommand(static_cast<ScreenCommand>(i), [&ran, i] {
      ran += std::to_string(i) + ' ';
      return true;
    });
  }
  Offer("1");
  if (browser)
    BrowserKeyToInput(key, shift);
  else
    KeyToInput(key, shift);
  return ran + "| " + std::to_string(PAGEA4BAI) + " " + std::to_string(GYOKEISUU) + " " + LineText;
}

}  // namespace

// In a browser tab the keys a browser keeps never reach the page: whatever one of them does on the desktop,
// a key of the browser edition that does reach the page does too.
TEST(ScreenBrowserKeys, EveryKeyABrowserKeepsHasAnotherThatDoesTheSame) {
  for (const BrowserKey& k : ScreenBrowserKeys()) {
    EXPECT_TRUE(BrowserKeepsKey(k.desktop.vk, k.desktop.shift)) << VirtualKeyName(k.desktop.vk);
    EXPECT_FALSE(BrowserKeepsKey(k.page.vk, k.page.shift)) << VirtualKeyName(k.page.vk);
  }
  const std::string nothing = KeyEffect('W', SHIFT_CTRL, false);
  std::map<std::string, std::string> byEffect;  // effect → a browser key that has it
  for (int vk = 1; vk < 256; ++vk)
    for (int shift = 0; shift < 8; ++shift)
      if (!BrowserKeepsKey(vk, shift)) byEffect.emplace(KeyEffect(vk, shift, true), VirtualKeyName(vk));
  int kept = 0;
  for (int vk = 1; vk < 256; ++vk) {
    for (int shift = 0; shift < 8; ++shift) {
      if (!BrowserKeepsKey(vk, shift)) continue;
      const std::string effect = KeyEffect(vk, shift, false);
      if (effect == nothing) continue;
      ++kept;
      EXPECT_TRUE(byEffect.count(effect)) << VirtualKeyName(vk) << " shift " << shift << ": " << effect;
    }
  }
  EXPECT_GT(kept, 0);
  EXPECT_EQ(KeyEffect('T', A, true), KeyEffect('T', C, false));
  EXPECT_EQ(KeyEffect(VK_PRIOR, A, true), KeyEffect(VK_PRIOR, C, false));
}

// ---- Key sequences of the batch tool -------------------------------------------------------------------

TEST(KeySequence, NamesAndCharacters) {
  std::vector<KeyPress> p;
  std::string error;
  ASSERT_TRUE(ParseKeySequence("1(={F5}{Shift+S}{Ctrl+Shift+PageUp}{Alt+j}{Yen}{{}}{Shift+/}", p, error))
      << error;
  ASSERT_EQ(p.size(), 11u);
  EXPECT_EQ(p[0].key, '1');
  EXPECT_EQ(p[1].key, '8');
  EXPECT_EQ(p[1].shift, SHIFT_SHIFT);
  EXPECT_EQ(p[2].key, VK_RIGHT);
  EXPECT_EQ(p[3].key, VK_F5);
  EXPECT_EQ(p[4].key, 'S');
  EXPECT_EQ(p[4].shift, SHIFT_SHIFT);
  EXPECT_EQ(p[5].key, VK_PRIOR);
  EXPECT_EQ(p[5].shift, SHIFT_SHIFT | SHIFT_CTRL);
  EXPECT_EQ(p[6].key, 'J');
  EXPECT_EQ(p[6].shift, SHIFT_ALT);
  EXPECT_EQ(p[7].key, VK_OEM_5);
  EXPECT_EQ(p[8].source, "{{");
  EXPECT_EQ(p[9].source, "}}");
  EXPECT_EQ(p[10].key, VK_OEM_2);
  EXPECT_EQ(p[10].shift, SHIFT_SHIFT);

  EXPECT_FALSE(ParseKeySequence("1{Nope}", p, error));
  EXPECT_NE(error.find("Nope"), std::string::npos);
  EXPECT_FALSE(ParseKeySequence("1{F5", p, error));
  EXPECT_FALSE(ParseKeySequence("1 2", p, error));
}

TEST(KeySequence, EveryNamedKeyReadsBack) {
  for (int vk = 1; vk < 256; ++vk) {
    std::string name = VirtualKeyName(vk);
    EXPECT_EQ(VirtualKeyByName(name), vk) << name;
  }
  EXPECT_EQ(VirtualKeyByName("vk_oem_5"), VK_OEM_5);
  EXPECT_EQ(VirtualKeyByName("0xdc"), VK_OEM_5);
  EXPECT_EQ(VirtualKeyByName("f13"), -1);
}

// ---- The page on a recording canvas ---------------------------------------------------------------------

TEST_F(SikiInp, PageGeometryAtNinetySixPixelsPerInch) {
  ScreenPixelsPerInch = 96;
  EXPECT_EQ(A4Height(), 1123);
  EXPECT_EQ(A4Width(), 796);
  EXPECT_EQ(PageLength(), 1123);
  PAGEA4BAI = 200;
  EXPECT_EQ(PageLength(), 2246);
}

TEST_F(SikiInp, StartMarkByMode) {
  RecordingCanvas canvas;
  PrepareScreenSurface(canvas);
  EXPECT_EQ(CharWidth, 10);
  EXPECT_EQ(CharHeight, 20);
  struct Case {
    int procdsp;
    bool baseMode;
    const char* mark;
    Color color;
    int y;
  };
  const Case cases[] = {
      {0, false, "◆ ", CLR_RED, 30},
      {0, true, "Ｎ ", CLR_GREEN, 30},
      {1, true, "■ ", CLR_NAVY, 60},
      {1, false, "■ ", CLR_NAVY, 60},
  };
  for (const auto& c : cases) {
    PROCDSP = c.procdsp;
    BaseMode = c.baseMode;
    canvas.ClearOps();
    PaintPage(canvas, 400, 300);
    auto texts = canvas.OpsOf(CanvasOp::Kind::Text);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts[0].text, c.mark);
    EXPECT_EQ(texts[0].fontColor, c.color);
    EXPECT_EQ(texts[0].x, CharHeight / 2);
    EXPECT_EQ(texts[0].y, c.y);
    auto fills = canvas.OpsOf(CanvasOp::Kind::Fill);
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(fills[0].brushColor, CLR_CREAM);
    EXPECT_EQ(fills[0].x2, 400);
    EXPECT_EQ(fills[0].y2, 300);
  }
}

TEST_F(SikiInp, PaintDrawsTheVerdictBesideTheAnswer) {
  RecordingCanvas canvas;
  PrepareScreenSurface(canvas);
  ScreenSurface = &canvas;
  SYOUDSP = 1;
  Type("1/3=");
  canvas.ClearOps();
  PaintPage(canvas, 400, 300);
  const CanvasOp* verdict = nullptr;
  for (const auto& op : canvas.ops)
    if (op.kind == CanvasOp::Kind::Text && op.text == VERDICT_RECURS) verdict = &op;
  ASSERT_NE(verdict, nullptr);
  EXPECT_EQ(verdict->fontColor, CLR_RED);
  EXPECT_EQ(verdict->fontSize, FONTSIZE * 6 / 10);
  EXPECT_EQ(verdict->x, EqualsPoint.x + 2 * CharWidth);
  EXPECT_EQ(verdict->y, EqualsPoint.y + CharHeight);
  // A repaint draws it again; a new line does not.
  canvas.ClearOps();
  PaintPage(canvas, 400, 300);
  EXPECT_EQ(canvas.Texts().back(), VERDICT_RECURS);
  ClearLine();
  canvas.ClearOps();
  PaintPage(canvas, 400, 300);
  for (const auto& t : canvas.Texts()) EXPECT_NE(t, VERDICT_RECURS);
  ScreenSurface = nullptr;
}

TEST_F(SikiInp, CursorFollowsTheTypedLine) {
  RecordingCanvas canvas;
  PrepareScreenSurface(canvas);
  ScreenSurface = &canvas;
  Type("12");
  EXPECT_EQ(CursorPos.x, LineOrigin.x + 2 * CharWidth);
  EXPECT_EQ(CursorPos.y, LineOrigin.y);
  // A fraction waiting for its numerator puts the cursor above its bar.
  Type("{Back}b");
  EXPECT_EQ(CursorPos.y, LineOrigin.y - CharHeight / 2 - 3);
  CanvasRect cell = CursorCell();
  EXPECT_EQ(cell.left, CursorPos.x + 2);
  EXPECT_EQ(cell.right, CursorPos.x + CharWidth - 2);
  ScreenSurface = nullptr;
}

TEST_F(SikiInp, RetypingPaintsThePageOnce) {
  int paints = 0;
  ScreenView.repaint = [&] { ++paints; };
  Type("1k3b2+12b5*2^3-4");
  paints = 0;
  Type("{Back}");
  EXPECT_EQ(paints, 1);
  paints = 0;
  Type("{Delete}");
  EXPECT_EQ(paints, 1);
  paints = 0;
  Type("{Insert}");
  EXPECT_EQ(paints, 1);
  EXPECT_EQ(LineText, "1k3b2+12b5*2^3-");
  paints = 0;
  Type("7");
  EXPECT_EQ(paints, 1);
}

TEST_F(SikiInp, AWholeTextCheckOfAnotherCommandLeavesTheLineAlone) {
  Type("(123456789012345678");
  // Another command checks a text of its own on the shared checker record.
  ASSERT_EQ(CheckText("5+5", {}), 0);
  Type("9");
  EXPECT_EQ(LineText, "(1234567890123456789");
  Type("0");
  EXPECT_EQ(LineText, "(1234567890123456789") << "the twentieth digit";
  EXPECT_EQ(LastRefusalNo, 21);
  CheckText("1", {});
  Type("*2)");
  EXPECT_EQ(LineText, "(1234567890123456789*2)") << StatusText;
}
