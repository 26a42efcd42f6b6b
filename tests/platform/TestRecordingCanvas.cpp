#include "platform/RecordingCanvas.h"

#include <gtest/gtest.h>

namespace {

TEST(RecordingCanvas, MeasuresInFixedCellsScaledBySize) {
  struct Case {
    int size;
    const char* text;
    int width;
    int height;
  } cases[] = {
      {14, "1234567890", 100, 20},
      {14, "", 0, 20},
      {14, "分数", 40, 20},
      {14, "ｶﾅ", 20, 20},
      {14, "◆ｴﾗｰ", 50, 20},
      {7, "12", 10, 10},
      {21, "1", 15, 30},
      {8, "1", 5, 11},
      {1, "1", 1, 1},
      {0, "12", 2, 1},
      {-5, "1", 1, 1},
      {2000000000, "1", 536870911, 536870911},
  };
  RecordingCanvas c;
  for (const auto& k : cases) {
    c.SetFontSize(k.size);
    EXPECT_EQ(c.TextWidth(k.text), k.width) << k.size << " " << k.text;
    EXPECT_EQ(c.TextHeight(k.text), k.height) << k.size << " " << k.text;
  }
  // Bold and the face do not change the cells.
  c.SetFontSize(14);
  c.SetFontBold(true);
  c.SetFontName("IPAGothic");
  EXPECT_EQ(c.TextWidth("1234567890") / 10, 10);
}

TEST(RecordingCanvas, RecordsEachOperationWithTheAttributesInForce) {
  RecordingCanvas c;
  c.SetBrushColor(CLR_CREAM);
  c.SetFontColor(CLR_RED);
  c.TextOut(20, 40, "+");
  EXPECT_EQ(c.PenPos(), (CanvasPoint{30, 40}));
  c.SetFontColor(CLR_BLACK);
  c.SetFontSize(7);
  c.SetFontBold(true);
  c.TextOut(c.PenPos().x, 40, "分");
  EXPECT_EQ(c.PenPos(), (CanvasPoint{40, 40}));
  c.SetFontBold(false);
  c.SetFontSize(14);
  c.SetPenColor(CLR_TEAL);
  c.SetPenWidth(2);
  c.MoveTo(5, 10);
  c.LineTo(25, 10);
  EXPECT_EQ(c.PenPos(), (CanvasPoint{25, 10}));
  c.LineTo(25, 30);
  c.SetBrushColor(CLR_WHITE);
  c.FillRect({0, 0, 100, 20});
  c.SetFontName("IPAGothic");
  c.TextOut(0, 0, "x");

  EXPECT_EQ(c.Describe(), (std::vector<std::string>{
                              "text (20,40)-(30,60) \"+\" size 14 color ff0000 brush fffbf0",
                              "text (30,40)-(40,50) \"分\" size 7 color 000000 brush fffbf0 bold",
                              "line (5,10)-(25,10) pen 008080 width 2",
                              "line (25,10)-(25,30) pen 008080 width 2",
                              "fill (0,0)-(100,20) brush ffffff",
                              "text (0,0)-(10,20) \"x\" size 14 color 000000 brush ffffff face IPAGothic",
                          }));
  EXPECT_EQ(c.Describe(true).at(2), "move (5,10)");
  EXPECT_EQ(c.Texts(), (std::vector<std::string>{"+", "分", "x"}));
  ASSERT_EQ(c.OpsOf(CanvasOp::Kind::Line).size(), 2u);
  EXPECT_EQ(c.OpsOf(CanvasOp::Kind::Text)[1].fontSize, 7);

  // Forgetting the record keeps the attributes and the pen position.
  c.ClearOps();
  EXPECT_TRUE(c.ops.empty());
  EXPECT_EQ(c.PenPos(), (CanvasPoint{10, 0}));
  EXPECT_EQ(c.BrushColor(), CLR_WHITE);
}

TEST(RecordingCanvas, StartsWithTheScreenDefaults) {
  RecordingCanvas c;
  EXPECT_EQ(c.FontName(), "ＭＳ ゴシック");
  EXPECT_EQ(c.FontSize(), 14);
  EXPECT_EQ(c.FontColor(), CLR_BLACK);
  EXPECT_FALSE(c.FontBold());
  EXPECT_EQ(c.PenWidth(), 1);
  EXPECT_EQ(c.PenPos(), (CanvasPoint{0, 0}));
  EXPECT_EQ(c.PixelsPerInch(), 96);
  c.pixelsPerInch = 600;
  EXPECT_EQ(c.PixelsPerInch(), 600);
}

TEST(RecordingCanvas, TextAtTheEdgeOfTheIntegerRangeDoesNotWrap) {
  RecordingCanvas c;
  c.TextOut(2147483640, 0, "1234567890");
  EXPECT_EQ(c.PenPos().x, 2147483647);
}

}  // namespace
