#include "ui/QtCanvas.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

namespace {

int CountPixels(const QImage& img, const QRect& area, QColor c, int tolerance = 0) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) {
      QColor p = img.pixelColor(x, y);
      if (std::abs(p.red() - c.red()) <= tolerance && std::abs(p.green() - c.green()) <= tolerance &&
          std::abs(p.blue() - c.blue()) <= tolerance)
        ++n;
    }
  return n;
}

TEST(QtCanvas, DrawsJapaneseTextInFilledCellsAndATealLine) {
  QImage img(400, 200, QImage::Format_RGB32);
  img.fill(Qt::white);
  QtCanvas canvas(&img);
  canvas.SetFontSize(24);
  canvas.SetFontPitch(FontPitch::Fixed);
  canvas.SetFontColor(CLR_RED);
  canvas.SetBrushColor(CLR_CREAM);
  canvas.SetPenColor(CLR_TEAL);
  canvas.SetPenWidth(2);
  const int w = canvas.TextWidth("分数");
  const int h = canvas.TextHeight("分数");
  ASSERT_GT(w, 0);
  ASSERT_GT(h, 0);

  QPainter painter(&img);
  canvas.Begin(&painter);
  canvas.TextOut(10, 20, "分数");
  EXPECT_EQ(canvas.PenPos(), (CanvasPoint{10 + w, 20}));
  // Bold text keeps the regular cells.
  canvas.SetFontBold(true);
  canvas.TextOut(10, 80, "月12");
  EXPECT_EQ(canvas.PenPos(), (CanvasPoint{10 + w, 80}));
  canvas.SetFontBold(false);
  canvas.MoveTo(10, 150);
  canvas.LineTo(300, 150);
  EXPECT_EQ(canvas.PenPos(), (CanvasPoint{300, 150}));
  canvas.End();
  painter.end();

  QRect cell(10, 20, w, h);
  // The glyphs are red (their cores exactly so), the rest of the cell the brush's cream, nothing outside.
  EXPECT_GT(CountPixels(img, cell, QColor(255, 0, 0)), 20);
  EXPECT_GT(CountPixels(img, cell, QColor(255, 251, 240)), w * h / 3);
  EXPECT_EQ(CountPixels(img, QRect(10 + w + 1, 20, 50, h), QColor(255, 251, 240)), 0);
  EXPECT_EQ(img.pixelColor(9, 20), QColor(Qt::white));
  EXPECT_GT(CountPixels(img, QRect(10, 80, w, h), QColor(255, 0, 0)), 20);
  // The line is teal, two pixels thick, from x 10 to x 300.
  EXPECT_EQ(img.pixelColor(150, 150), QColor(0, 128, 128));
  EXPECT_GE(CountPixels(img, QRect(10, 148, 291, 5), QColor(0, 128, 128)), 2 * 280);
  EXPECT_EQ(CountPixels(img, QRect(0, 140, 400, 5), QColor(0, 128, 128)), 0);
}

TEST(QtCanvas, DigitsKeepOneCellWidthAndJapaneseTakesTwo) {
  // On the screen and at a printer's resolution, plain and bold, at the sizes the program uses.
  for (int dpi : {96, 600}) {
    QImage img(10, 10, QImage::Format_RGB32);
    img.setDotsPerMeterX(static_cast<int>(dpi / 0.0254 + 0.5));
    img.setDotsPerMeterY(static_cast<int>(dpi / 0.0254 + 0.5));
    QtCanvas canvas(&img);
    EXPECT_EQ(canvas.PixelsPerInch(), dpi);
    canvas.SetFontPitch(FontPitch::Fixed);
    for (int size : {8, 9, 11, 14, 16, 20, 24, 36})
      for (bool bold : {false, true}) {
        canvas.SetFontSize(size);
        canvas.SetFontBold(bold);
        const int cw = canvas.TextWidth("1234567890") / 10;
        ASSERT_GT(cw, 0);
        EXPECT_EQ(canvas.TextWidth("1234567890"), 10 * cw)
            << dpi << " dpi, size " << size << " bold " << bold;
        EXPECT_EQ(canvas.TextWidth("+"), cw) << dpi << " dpi, size " << size;
        EXPECT_EQ(canvas.TextWidth("分"), 2 * cw) << dpi << " dpi, size " << size << " bold " << bold;
        EXPECT_EQ(canvas.TextWidth("3b2分数"), 7 * cw) << dpi << " dpi, size " << size;
      }
  }
  // The settings keep the face they named, whatever was substituted.
  QtCanvas canvas;
  EXPECT_EQ(canvas.FontName(), "ＭＳ ゴシック");
  EXPECT_EQ(QtCanvas::FamiliesFor("ＭＳ ゴシック").value(1), "IPAGothic");
}

TEST(QtCanvas, FillRectUsesTheBrushAndLeavesRightAndBottomOut) {
  QImage img(50, 50, QImage::Format_RGB32);
  img.fill(Qt::white);
  QtCanvas canvas;
  QPainter painter(&img);
  canvas.Begin(&painter);
  canvas.SetBrushColor(CLR_CREAM);
  canvas.FillRect({5, 5, 15, 25});
  canvas.End();
  painter.end();
  EXPECT_EQ(CountPixels(img, img.rect(), QColor(255, 251, 240)), 10 * 20);
  EXPECT_EQ(img.pixelColor(14, 24), QColor(255, 251, 240));
  EXPECT_EQ(img.pixelColor(15, 25), QColor(Qt::white));
  EXPECT_GT(canvas.PixelsPerInch(), 0);
}

}  // namespace
