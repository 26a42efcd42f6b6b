// The notice box's contents without its window: the three forms of a notice text, the width and rows
// that size the box, the marked-up list and its drawing.
#include <gtest/gtest.h>

#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "platform/RecordingCanvas.h"
#include "platform/ShiftJis.h"
#include "support/TestSupport.h"
#include "tools/SplMsgBox.h"
#include "typeset/bunCanvasDsp.h"

namespace {
class SplMsgBox : public ::testing::Test {
 protected:
};
}  // namespace

TEST_F(SplMsgBox, PlainRows) {
  NoticeLayout l = BuildNoticeLayout("$ 19ケタ以上は入力不可！");
  EXPECT_FALSE(l.failed);
  EXPECT_EQ(l.rows, 2);
  EXPECT_EQ(l.width, static_cast<int>(SjisLength("19ケタ以上は入力不可！")) - 8);
  EXPECT_EQ(NoticeMarkup(l), "19ケタ以上は入力不可！]~");

  l = BuildNoticeLayout("$.......|準備中です| 少し待ってね ");
  EXPECT_EQ(l.rows, 6);
  EXPECT_EQ(l.width, static_cast<int>(SjisLength("少し待ってね")) - 8);
  EXPECT_EQ(NoticeMarkup(l), ".......]~|~準備中です]~|~少し待ってね]~");
}

TEST_F(SplMsgBox, ExpressionWithComment) {
  NoticeLayout l = BuildNoticeLayout("@ 2b1+3b1 ## 式の分数形 ");
  ASSERT_FALSE(l.failed);
  EXPECT_EQ(l.rows, 5);
  const std::string comment = "【式の分数形】";
  EXPECT_EQ(NoticeMarkup(l), comment + "]~|~2b1+3b1}~");
  EXPECT_EQ(l.width, std::max(static_cast<int>(SjisLength(comment)) + 4, FractionCellCount("2b1+3b1")));
  // Without a comment there is no comment row; an answer column adds ten characters.
  l = BuildNoticeLayout("@1+2=3&3");
  EXPECT_EQ(NoticeMarkup(l), "|~1+2=3&3}~");
  EXPECT_EQ(l.width, FractionCellCount("1+2=3&3") + 10);
}

TEST_F(SplMsgBox, ABadExpressionIsReportedAndFails) {
  NoticeLayout l = BuildNoticeLayout("@1+*2#x");
  EXPECT_TRUE(l.failed);
  EXPECT_TRUE(l.items.empty());
  ASSERT_EQ(TestPlatform().Shown().size(), 1u);
}

TEST_F(SplMsgBox, OtherTextsReuseTheLastSize) {
  NoticeLayout l = BuildNoticeLayout(".......");
  EXPECT_EQ(l.rows, 0);
  EXPECT_EQ(l.width, 0);
  EXPECT_TRUE(l.items.empty());
  BuildNoticeLayout("$ab|cdefghijklmnop");
  l = BuildNoticeLayout("準備中");
  EXPECT_EQ(l.rows, 4);
  EXPECT_EQ(l.width, 14 - 8);
  EXPECT_EQ(NoticeBoxWidth(l, 10), 140);
  EXPECT_EQ(NoticeBoxHeight(l, 20), 160);
  // Small notices keep the least size of the box.
  NoticeLayout empty;
  EXPECT_EQ(NoticeBoxWidth(empty, 10), 100);
  EXPECT_EQ(NoticeBoxHeight(empty, 10), 80);
}

TEST_F(SplMsgBox, TheBoxIsWideEnoughForItsCaption) {
  // The stored answer 3 shown under 「一時保存の答」: a short expression under a caption of six
  // full-width characters (about 80 pixels in the title bar).
  const NoticeLayout l = BuildNoticeLayout("@3");
  EXPECT_EQ(NoticeBoxWidth(l, 8), 100);
  EXPECT_EQ(NoticeBoxWidth(l, 8, 80), 80 + NOTICE_TITLE_BAR_EXTRA);
  EXPECT_GE(NoticeBoxWidth(l, 8, 80) - 80, 100);  // room for the window manager's buttons
  // A wide expression keeps its own width.
  const NoticeLayout wide = BuildNoticeLayout("@123456789+123456789+123456789");
  EXPECT_EQ(NoticeBoxWidth(wide, 8, 80), NoticeBoxWidth(wide, 8));
}

TEST_F(SplMsgBox, MarksInsideTheTextDoNotBreakTheList) {
  // A "~" in the text and a "|" at the very end are shown as they are.
  NoticeLayout l = BuildNoticeLayout("$a~b|~|");
  EXPECT_EQ(l.rows, 6);
  RecordingCanvas c;
  DrawNotice(c, l, 10, 20);
  std::vector<std::string> texts = c.Texts();
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts[0], "a~b");
  EXPECT_EQ(texts[1], "~");
}

TEST_F(SplMsgBox, DrawingPlacesRows) {
  EQUAL_KAIGYO = 1;
  NoticeLayout l = BuildNoticeLayout("@1+2=3#計算");
  RecordingCanvas c;
  DrawNotice(c, l, 10, 20);
  auto texts = c.OpsOf(CanvasOp::Kind::Text);
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "【計算】");
  EXPECT_EQ(texts[0].x, 20);
  EXPECT_EQ(texts[0].y, 30);
  // The expression starts a row 2.5 cells lower, and "=" does not break it while the box draws it.
  EXPECT_EQ(texts[1].x, 20);
  EXPECT_EQ(texts[1].y, 30 + 50);
  for (const auto& t : texts) EXPECT_EQ(t.y, t.text == "【計算】" ? 30 : 80) << t.text;
  EXPECT_EQ(EQUAL_KAIGYO, 1);
}

TEST_F(SplMsgBox, DrawingLeavesTheLinesCursorAlone) {
  CursorPos = {123, 45};
  CursorColour = CLR_MAGENTA;
  BreakCount = 2;
  NoticeLayout l = BuildNoticeLayout("@3b2+1=[2K3B1]");
  RecordingCanvas c;
  int right = DrawNotice(c, l, 10, 20);
  EXPECT_GT(right, 20 + 10 * 5);
  EXPECT_EQ(CursorPos, (CanvasPoint{123, 45}));
  EXPECT_EQ(CursorColour, CLR_MAGENTA);
  EXPECT_EQ(BreakCount, 2);
}
