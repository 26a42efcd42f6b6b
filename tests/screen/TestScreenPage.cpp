// The calculation screen's page beside its date strip, on a recording canvas: every line, process title
// and advice stays reachable left of the strip by scrolling sideways, and the cursor scrolls with it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/Settings.h"
#include "platform/RecordingCanvas.h"
#include "screen/ScreenPage.h"
#include "screen/sikiInp.h"
#include "screen/sikiInpCommands.h"
#include "support/TestSupport.h"
#include "support/TypeKeys.h"
#include "tools/ProgramState.h"
#include "typeset/bunCanvasDsp.h"

namespace {

// The default window's page area: 424 wide less the vertical scroll bar.
constexpr int CLIENT_WIDTH = 408;
constexpr int CLIENT_HEIGHT = 380;

class ScreenPageGeometry : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProgramState();
    InstallLineCommands();
    ResetSikiInp();
    PageScrollX = 0;
    WAKIGAKI = 1;
  }
  void TearDown() override { PageScrollX = 0; }

  static void Type(const std::string& keys) { TypeKeys(keys); }
  static void Paint(RecordingCanvas& canvas) {
    canvas.ClearOps();
    PaintPage(canvas, CLIENT_WIDTH, CLIENT_HEIGHT);
  }
};

// Every text of the page, at the far end of the sideways scroll, ends left of the date strip; the texts
// are returned as drawn unscrolled.
std::vector<CanvasOp> ExpectEveryTextReachable() {
  RecordingCanvas canvas;
  PrepareScreenSurface(canvas);
  PageScrollX = 0;
  PaintPage(canvas, CLIENT_WIDTH, CLIENT_HEIGHT);
  const std::vector<CanvasOp> texts = canvas.OpsOf(CanvasOp::Kind::Text);
  const int range = PageScrollXRange(CLIENT_WIDTH);
  for (const CanvasOp& op : texts) EXPECT_LE(op.x2 - range, PageViewWidth(CLIENT_WIDTH)) << op.text;
  PageScrollX = range;
  canvas.ClearOps();
  PaintPage(canvas, CLIENT_WIDTH, CLIENT_HEIGHT);
  for (const CanvasOp& op : canvas.OpsOf(CanvasOp::Kind::Text))
    EXPECT_LE(op.x2, PageViewWidth(CLIENT_WIDTH)) << op.text;
  return texts;
}

}  // namespace

TEST_F(ScreenPageGeometry, TheDateStripTakesItsWidthFromThePage) {
  EXPECT_EQ(PageViewWidth(CLIENT_WIDTH), CLIENT_WIDTH - SIDE_PANEL_WIDTH);
  WAKIGAKI = 0;
  EXPECT_EQ(PageViewWidth(CLIENT_WIDTH), CLIENT_WIDTH);
  EXPECT_EQ(PageViewWidth(10), 10);
  WAKIGAKI = 1;
  EXPECT_EQ(PageViewWidth(10), 0);
}

TEST_F(ScreenPageGeometry, AShortLineNeedsNoSidewaysScroll) {
  RecordingCanvas canvas;
  PrepareScreenSurface(canvas);
  Type("3b2+3b1=");
  Paint(canvas);
  EXPECT_EQ(PageScrollXRange(CLIENT_WIDTH), 0);
  for (const CanvasOp& op : canvas.OpsOf(CanvasOp::Kind::Text)) EXPECT_LE(op.x2, PageViewWidth(CLIENT_WIDTH));
}

TEST_F(ScreenPageGeometry, ALongLineScrollsSidewaysOutFromUnderTheStrip) {
  RecordingCanvas canvas;
  PrepareScreenSurface(canvas);
  Type("123456789+987654321+111111111+222222222+333333333+44444=");
  Paint(canvas);
  const int range = PageScrollXRange(CLIENT_WIDTH);
  ASSERT_GT(range, 0);
  // At the far end the whole drawing ends left of the strip.
  PageScrollX = range;
  Paint(canvas);
  int right = 0;
  for (const CanvasOp& op : canvas.OpsOf(CanvasOp::Kind::Text)) right = std::max(right, op.x2);
  EXPECT_LE(right, PageViewWidth(CLIENT_WIDTH));
  // The cursor cell after the "=" takes the last full-width cell before the strip.
  EXPECT_GE(right, PageViewWidth(CLIENT_WIDTH) - 2 * CharWidth);
  // The background still fills the whole client area, and the cursor cell moves with the page.
  const auto fills = canvas.OpsOf(CanvasOp::Kind::Fill);
  ASSERT_FALSE(fills.empty());
  EXPECT_EQ(fills[0].x, 0);
  EXPECT_EQ(fills[0].x2, CLIENT_WIDTH);
  EXPECT_EQ(CursorCell().left, CursorPos.x - range + 2);
}

TEST_F(ScreenPageGeometry, ProcessTitlesAndAdviceScrollOutFromUnderTheStrip) {
  PROCDSP = 1;
  ADVICEDSP = 1;
  Type("1k3b2+2k4b3=");
  const std::vector<CanvasOp> texts = ExpectEveryTextReachable();
  const std::string title = "タイプ[08]::[分数の加減] <帯分数のみ> ２数以上の場合 ▼別解F6▼";
  int titles = 0;
  for (const CanvasOp& op : texts) titles += op.text == title;
  EXPECT_EQ(titles, 1);
  // The advice texts are there too, in front of the strip at the scroll's end.
  EXPECT_GT(texts.size(), 20u);
}
