// Ctrl+R reads the current line aloud through the platform: the line with its answer, the process when
// one is shown, a second press stops; without a voice the pupil is told once, then in the status line.
#include <gtest/gtest.h>

#include "engine/BunMath.h"
#include "engine/Settings.h"
#include "process/CalcProcManage.h"
#include "screen/ReadAloud.h"
#include "screen/ScreenPage.h"
#include "screen/sikiInp.h"
#include "support/TestSupport.h"
#include "typeset/bunCanvasDsp.h"

namespace {

void Fresh() {
  ResetSettings();
  ResetBunMath();
  ResetProcessState();
  ResetTypeset();
  ScreenView = ScreenHooks{};
  ScreenSurface = nullptr;
  ResetSikiInp();
  VoiceMissingTold = false;
  TestPlatform().Clear();
  TestPlatform().voiceInstalled = true;
}

void Type(const std::string& keys) {
  std::vector<KeyPress> presses;
  std::string error;
  ASSERT_TRUE(ParseKeySequence(keys, presses, error)) << error;
  for (const auto& p : presses) KeyToInput(p.key, p.shift);
}

std::vector<std::string> Spoken() {
  std::vector<std::string> r;
  for (const auto& m : TestPlatform().log)
    if (m.kind == "speak" || m.kind == "stop") r.push_back(m.kind == "stop" ? "(stop)" : m.text);
  return r;
}

TEST(ReadAloud, CtrlRSpeaksTheLineAndASecondPressStops) {
  Fresh();
  Type("3b2+1k4b1");
  Type("{Ctrl+R}");
  EXPECT_EQ(Spoken(), std::vector<std::string>{"さんぶんのに たす いちとよんぶんのいち"});
  Type("{Ctrl+R}");
  EXPECT_EQ(Spoken().back(), "(stop)");
  EXPECT_FALSE(TestPlatform().Speaking());
  // The key typed nothing into the line.
  EXPECT_EQ(LineText, "3b2+1k4b1");

  Type("={Ctrl+R}");
  EXPECT_EQ(Spoken().back(), "さんぶんのに たす いちとよんぶんのいち は いちとじゅうにぶんのじゅういち");
}

TEST(ReadAloud, AShownProcessIsReadInsteadOfTheLine) {
  Fresh();
  Type("{F5}2b1+3b1={Ctrl+R}");
  ASSERT_NE(ProcessState.processType, 0);
  ASSERT_FALSE(Spoken().empty());
  EXPECT_NE(Spoken().back().find("いこーる"), std::string::npos);
  EXPECT_NE(Spoken().back().find("ろくぶんのご"), std::string::npos);
}

TEST(ReadAloud, AMissingVoiceIsToldOnceThenInTheStatusLine) {
  Fresh();
  TestPlatform().voiceInstalled = false;
  Type("2{Ctrl+R}{Ctrl+R}");
  EXPECT_EQ(TestPlatform().ShownTexts(), std::vector<std::string>{std::string("ご報告！: ") + VOICE_MISSING_TEXT});
  EXPECT_EQ(StatusText, VOICE_MISSING_STATUS);

  // An empty line has nothing to read.
  Fresh();
  Type("{Ctrl+R}");
  EXPECT_TRUE(Spoken().empty());
  EXPECT_EQ(StatusText, NOTHING_TO_READ_STATUS);
}

}  // namespace
