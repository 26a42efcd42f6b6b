// The conditions settings without a window: the π text check with its messages and selections, the
// answer form code, and what each control does to its setting and to the calculation screen.
#include "tools/kihonSet.h"

#include <gtest/gtest.h>

#include "engine/Settings.h"
#include "screen/ScreenPage.h"
#include "screen/sikiInp.h"
#include "support/TestSupport.h"
#include "typeset/bunCanvasDsp.h"

namespace {

class KihonSet : public ::testing::Test {
 protected:
  void SetUp() override {
    ScreenView = ScreenHooks{};
    ScreenView.repaint = [this] { ++repaints; };
    ConditionsView = ConditionsScreenHooks{};
  }
  void TearDown() override {
    ScreenView = ScreenHooks{};
    ConditionsView = ConditionsScreenHooks{};
  }
  int repaints = 0;
};

struct PaiCase {
  const char* text;
  bool ok;
  const char* message;  // null when accepted
  int pos;
  bool tooLong;
};

const PaiCase PAI_CASES[] = {
    {"3.14", true, nullptr, 0, false},
    {"3", true, nullptr, 0, false},
    {"314159", true, nullptr, 0, false},
    {"3.141592653589793238", true, nullptr, 0, false},  // exactly 20 characters
    {"0.5", true, nullptr, 0, false},
    {"3.1415926535897932384", false, PAI_TOO_LONG, 0, true},
    {"3.14.15", false, PAI_TWO_POINTS, 5, false},
    {"3..1", false, PAI_TWO_POINTS, 3, false},
    {".314", false, PAI_POINT_FIRST, 1, false},
    {".", false, PAI_POINT_FIRST, 1, false},
    {"314.", false, PAI_POINT_LAST, 4, false},
    {"3,14", false, PAI_NOT_NUMBER, 1, false},
    {"3.14a", false, PAI_NOT_NUMBER, 4, false},
    {"-3.14", false, PAI_NOT_NUMBER, 0, false},
    {"3 ", false, PAI_NOT_NUMBER, 1, false},
    // Points after a bad character are not looked at: the bad character decides.
    {"3,1.", false, PAI_NOT_NUMBER, 1, false},
    // Two points before a bad character still count as two.
    {"3.1.x", false, PAI_TWO_POINTS, 4, false},
    // Full-width characters count two bytes each: ten of them are 20 bytes, eleven are too long.
    {"３．１４", false, PAI_NOT_NUMBER, 0, false},
    {"ああああああああああ", false, PAI_NOT_NUMBER, 0, false},
    {"ああああああああああa", false, PAI_TOO_LONG, 0, true},
    {"3.1415926535あ", false, PAI_NOT_NUMBER, 12, false},
    // An empty field is refused like any text that is not a number.
    {"", false, PAI_NOT_NUMBER, 0, false},
};

}  // namespace

TEST_F(KihonSet, PaiCheckTable) {
  for (const PaiCase& c : PAI_CASES) {
    SCOPED_TRACE(std::string("text \"") + c.text + "\"");
    TestPlatform().Clear();
    PaiCheckResult r = PaiStrCheck(c.text);
    EXPECT_EQ(r.ok, c.ok);
    EXPECT_EQ(r.tooLong, c.tooLong);
    EXPECT_EQ(r.pos, c.pos);
    // The π text follows the field whatever the verdict.
    EXPECT_EQ(PaiText, c.text);
    if (c.message) {
      ASSERT_NE(r.message, nullptr);
      EXPECT_STREQ(r.message, c.message);
      EXPECT_EQ(TestPlatform().ShownTexts(), std::vector<std::string>{std::string("警告！: ") + c.message});
    } else {
      EXPECT_EQ(r.message, nullptr);
      EXPECT_TRUE(TestPlatform().ShownTexts().empty());
    }
  }
}

TEST_F(KihonSet, CheckPaiTextHasNoSideEffects) {
  PaiText = "3.14";
  PaiCheckResult r = CheckPaiText("3..");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(PaiText, "3.14");
  EXPECT_TRUE(TestPlatform().ShownTexts().empty());
}

TEST_F(KihonSet, TypingIntoThePaiFieldShowsNoBox) {
  // Every keystroke: the π text follows the field and the verdict comes back for the field's notice.
  PaiCheckResult r = PaiTypingCheck("3.");
  EXPECT_FALSE(r.ok);
  EXPECT_STREQ(r.message, PAI_POINT_LAST);
  EXPECT_EQ(PaiText, "3.");
  r = PaiTypingCheck("");
  EXPECT_STREQ(r.message, PAI_NOT_NUMBER);
  r = PaiTypingCheck("3.14");
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(PaiText, "3.14");
  EXPECT_TRUE(TestPlatform().ShownTexts().empty());
}

TEST_F(KihonSet, AnswerFormCodeFollowsAtClosing) {
  struct {
    int ansSyu;
    bool syouDsp;
    int code;
  } cases[] = {{0, false, 0}, {1, false, 1}, {2, false, 2}, {0, true, 4}, {1, true, 5}, {2, true, 6}};
  for (auto& c : cases) {
    ResetSettings();
    ResetKihonSet();
    JoukenOpened();
    SetAnsSyu(c.ansSyu);
    SetSyouDsp(c.syouDsp);
    // The code handed to the evaluator changes only when the window closes.
    EXPECT_EQ(AnswerFormCode, 0);
    JoukenClosed("3.14");
    EXPECT_EQ(AnswerFormCode, c.code) << c.ansSyu << " " << c.syouDsp;
    EXPECT_EQ(AnswerFormCode, ANSSYU + 4 * SYOUDSP);
  }
}

TEST_F(KihonSet, OpeningAndClosing) {
  int goalRedraws = 0;
  ConditionsView.goalDisplay = [&] { ++goalRedraws; };
  CURSOLTEMPO = 50;  // from a file written by other means
  GYOKEISUU = 99;
  JoukenOpened();
  EXPECT_TRUE(JoukenOpen);
  EXPECT_EQ(goalRedraws, 1);
  EXPECT_EQ(CURSOLTEMPO, CURSOLTEMPO_MIN);
  EXPECT_EQ(GYOKEISUU, GYOKEISUU_MAX);
  PaiText = "3.1";
  JoukenClosed("3.1416");
  EXPECT_FALSE(JoukenOpen);
  EXPECT_EQ(PaiText, "3.1416");
}

TEST_F(KihonSet, ControlsSetTheirSettingsWithinRange) {
  int periods = 0, lastPeriod = 0, goalRedraws = 0;
  ConditionsView.cursorPeriod = [&](int ms) {
    ++periods;
    lastPeriod = ms;
  };
  ConditionsView.goalDisplay = [&] { ++goalRedraws; };

  SetCursolTempo(650);
  EXPECT_EQ(CURSOLTEMPO, 650);
  EXPECT_EQ(lastPeriod, 650);
  SetCursolTempo(5000);
  EXPECT_EQ(CURSOLTEMPO, CURSOLTEMPO_MAX);
  EXPECT_EQ(lastPeriod, CURSOLTEMPO_MAX);
  EXPECT_EQ(periods, 2);

  SetDspBangou(3);
  EXPECT_EQ(DSPBANGOU, 3);
  SetJiokuri(250);
  EXPECT_EQ(JIOKURI, JIOKURI_MAX);
  EXPECT_EQ(goalRedraws, 2);
  EXPECT_EQ(repaints, 0);

  // The answer settings only set their values.
  SetKakeruAbr(true);
  SetAnsSyu(2);
  SetSyouDsp(true);
  EXPECT_EQ(KAKERU_ABR, 1);
  EXPECT_EQ(ANSSYU, 2);
  EXPECT_EQ(SYOUDSP, 1);
  EXPECT_EQ(repaints, 0);

  // The look of the screen repaints it.
  SetEqualKaigyo(true);
  SetInputStrDsp(true);
  SetWakigaki(false);
  SetSbarDsp(false);
  EXPECT_EQ(EQUAL_KAIGYO, 1);
  EXPECT_EQ(INPUTSTR_DSP, 1);
  EXPECT_EQ(WAKIGAKI, 0);
  EXPECT_EQ(SBARDSP, 0);
  EXPECT_EQ(repaints, 4);

  SetPageA4Bai(405);
  EXPECT_EQ(PAGEA4BAI, PAGEA4BAI_MAX);
  SetPageA4Bai(75);
  EXPECT_EQ(PAGEA4BAI, PAGEA4BAI_MIN);
  SetGyoKeisuu(0);
  EXPECT_EQ(GYOKEISUU, GYOKEISUU_MIN);
  EXPECT_EQ(LinePitch, GYOKEISUU_MIN);
  EXPECT_EQ(repaints, 7);
}

TEST_F(KihonSet, WithoutGoalHookTheScreenRepaints) {
  SetDspBangou(1);
  EXPECT_EQ(repaints, 1);
}

TEST_F(KihonSet, ProcessDisplayMovesTheLineOrigin) {
  CharHeight = 20;
  ScrollPos = 0;
  SetProcessDisplay(0);
  const int off = ComputeLineOrigin().y;
  SetProcessDisplay(1);
  EXPECT_EQ(PROCDSP, 1);
  EXPECT_EQ(LineOrigin.y, off + 30);  // one and a half character heights lower
  SetProcessDisplay(0);
  EXPECT_EQ(PROCDSP, 0);
  EXPECT_EQ(LineOrigin.y, off);
  EXPECT_EQ(repaints, 3);
}
