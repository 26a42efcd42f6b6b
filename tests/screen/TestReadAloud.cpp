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
#include "tools/ProgramState.h"
#include "typeset/bunCanvasDsp.h"

namespace {

void Fresh() {
  ResetProgramState();
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
  ASSERT_NE(ProcessTypeNumber(ProcessState.processType), 0);
  ASSERT_FALSE(Spoken().empty());
  EXPECT_NE(Spoken().back().find("いこーる"), std::string::npos);
  EXPECT_NE(Spoken().back().find("ろくぶんのご"), std::string::npos);
}

TEST(ReadAloud, AMissingVoiceIsToldOnceThenInTheStatusLine) {
  Fresh();
  TestPlatform().voiceInstalled = false;
  Type("2{Ctrl+R}{Ctrl+R}");
  EXPECT_EQ(TestPlatform().ShownTexts(),
            std::vector<std::string>{std::string("ご報告！: ") + VOICE_MISSING_TEXT});
  EXPECT_EQ(StatusText, VOICE_MISSING_STATUS);

  // An empty line has nothing to read.
  Fresh();
  Type("{Ctrl+R}");
  EXPECT_TRUE(Spoken().empty());
  EXPECT_EQ(StatusText, NOTHING_TO_READ_STATUS);
}

}  // namespace

// Zoom and large print live beside reading aloud: they too make the page usable for every pupil.
#include "platform/RecordingCanvas.h"
#include "screen/Zoom.h"

namespace {

TEST(Zoom, CtrlPlusAndMinusStepTheFontAndTheCellsFollow) {
  Fresh();
  RecordingCanvas surface;
  ScreenSurface = &surface;
  int repaints = 0;
  ScreenView.repaint = [&] { ++repaints; };
  FONTSIZE = 14;
  PrepareScreenSurface(surface);
  const int cellWidth = CharWidth, cellHeight = CharHeight;
  Type("3b2");
  Type("{Ctrl+Semicolon}");
  EXPECT_EQ(FONTSIZE, 16);
  Type("{Ctrl+Shift+Semicolon}{Ctrl+Add}");
  EXPECT_EQ(FONTSIZE, 20);
  EXPECT_GT(CharWidth, cellWidth);
  EXPECT_GT(CharHeight, cellHeight);
  EXPECT_GE(repaints, 3);
  // Ctrl+"=" (Shift+minus) zooms in too; minus and keypad minus zoom out; Ctrl+0 goes back.
  Type("{Ctrl+Shift+Minus}");
  EXPECT_EQ(FONTSIZE, 22);
  Type("{Ctrl+Minus}{Ctrl+Subtract}");
  EXPECT_EQ(FONTSIZE, 18);
  Type("{Ctrl+0}");
  EXPECT_EQ(FONTSIZE, 14);
  EXPECT_EQ(CharWidth, cellWidth);
  // The keys typed nothing into the line, and the ends of the list hold.
  EXPECT_EQ(LineText, "3b2");
  for (int i = 0; i < 40; ++i) ZoomScreen(+1);
  EXPECT_EQ(FONTSIZE, 72);
  for (int i = 0; i < 40; ++i) ZoomScreen(-1);
  EXPECT_EQ(FONTSIZE, 8);
  FONTSIZE = 15;
  EXPECT_EQ(ZoomScreen(-1), 14);
  ScreenSurface = nullptr;
}

TEST(Zoom, TheDeviceSizeGrowsWithATallPageAndCtrlZeroGoesBackToIt) {
  Fresh();
  const struct {
    int width, height, size;
  } pages[] = {
      {1024, 768, 14}, {1366, 768, 14},  {1280, 800, 14},  // laptops keep the default
      {820, 1180, 22},  // an iPad upright: digits 20 px or more
      {768, 1024, 18}, {1920, 1080, 20},  // an older iPad, a large monitor
      {390, 844, 14},  {0, 0, 14},  // a phone is too narrow to grow; no page at all
  };
  for (const auto& p : pages)
    EXPECT_EQ(DeviceFontSize(p.width, p.height), p.size) << p.width << "x" << p.height;
  ZoomHomeSize = DeviceFontSize(820, 1180);
  FONTSIZE = 14;
  EXPECT_EQ(ZoomScreen(-2), 11);
  EXPECT_EQ(ZoomReset(), 22);
  ZoomHomeSize = ZOOM_DEFAULT_SIZE;
  EXPECT_EQ(ZoomReset(), 14);
}

TEST(Zoom, LargePrintKeepsTheSmallestTextAtTwelvePixels) {
  Fresh();
  for (int ppi : {72, 96, 120, 144, 192}) {
    const int size = LargePrintMinimumSize(ppi);
    EXPECT_GE(size * 6 / 10 * ppi / 72, 12) << ppi;
    EXPECT_LT((size - 1) * 6 / 10 * ppi / 72.0, 12.0) << ppi;
  }
  OOMOJI = 1;
  ScreenPixelsPerInch = 96;
  FONTSIZE = 14;
  EXPECT_EQ(ZoomScreen(-3), LargePrintMinimumSize(96));
  EXPECT_EQ(ZoomReset(), LargePrintMinimumSize(96));
  ResetSettings();
}

}  // namespace
