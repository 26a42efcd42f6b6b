// The advice texts drawn on an image as the screen draws them, read back pixel by pixel: the low line
// of "(^_^)" and "(~_~)" leaves ink at every font size, the eyes of "(^_^)" are peaks rather than flat
// bars, and the tilde is drawn as a full-width one.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <string>

#include "platform/RecordingCanvas.h"
#include "process/MainDspManage-Draw.h"
#include "ui/QtCanvas.h"

namespace {

// Dark pixels (the advice is drawn in black) inside an area.
int Ink(const QImage& img, const QRect& area) {
  int n = 0;
  for (int y = std::max(0, area.top()); y <= std::min(img.height() - 1, area.bottom()); ++y)
    for (int x = std::max(0, area.left()); x <= std::min(img.width() - 1, area.right()); ++x)
      n += qGray(img.pixel(x, y)) < 140;
  return n;
}

}  // namespace

TEST(AdvicePixels, EveryLowLineOfTheSmileysLeavesInk) {
  struct Case {
    int advice;
    const char* face;  // the smiley as drawn
  };
  const Case cases[] = {{20, "(^_^)"}, {59, "(^_^)"}, {73, "(～_～)"}};
  for (int size = 9; size <= 24; ++size) {
    for (const Case& c : cases) {
      QImage img(1400, 60, QImage::Format_RGB32);
      img.setDotsPerMeterX(3780);  // 96 dots per inch, as the screen
      img.setDotsPerMeterY(3780);
      img.fill(Qt::white);
      QPainter p(&img);
      QtCanvas canvas(&img);
      canvas.Begin(&p);
      canvas.SetFontName("ＭＳ ゴシック");
      canvas.SetFontSize(size);
      canvas.SetFontPitch(FontPitch::Fixed);
      canvas.SetFontColor(CLR_BLACK);
      canvas.SetBrushColor(CLR_CREAM);
      DrawAdvice(canvas, c.advice, 4, 4, 20);
      // The advice is one row: find its smiley by measuring the text in front of it.
      RecordingCanvas record;
      DrawAdvice(record, c.advice, 4, 4, 20);
      ASSERT_EQ(record.Texts().size(), 1u);
      const std::string text = record.Texts()[0];
      const std::size_t at = text.find(c.face);
      ASSERT_NE(at, std::string::npos) << text;
      const std::size_t low = text.find('_', at);
      const int left = 4 + canvas.TextWidth(text.substr(0, low));
      const int width = canvas.TextWidth("_");
      const int height = canvas.TextHeight("_");
      canvas.End();
      p.end();
      // The low line lies in the lower half of its cell.
      EXPECT_GT(Ink(img, QRect(left, 4 + height / 2, width, height - height / 2)), 0)
          << "advice " << c.advice << " at size " << size;
    }
  }
}

// The topmost row with ink (anything darker than the cream page) in a column range of an area, or -1
// when it has none.
int TopInk(const QImage& img, int left, int right, int top, int bottom) {
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x)
      if (qGray(img.pixel(x, y)) < 200) return y;
  return -1;
}

// The advice is drawn at seven tenths of the screen font, whose sizes zoom steps through from 8 to 72
// points: every advice size from 5 to 50 points is tried.
TEST(AdvicePixels, TheEyesOfTheSmileyArePeaks) {
  for (int size = 5; size <= 50; ++size) {
    RecordingCanvas record;
    DrawAdvice(record, 20, 4, 4, 20);
    const std::string text = record.Texts()[0];
    QImage probe(1, 1, QImage::Format_RGB32);
    probe.setDotsPerMeterX(3780);
    probe.setDotsPerMeterY(3780);
    QtCanvas measure(&probe);
    measure.SetFontName("ＭＳ ゴシック");
    measure.SetFontSize(size);
    measure.SetFontPitch(FontPitch::Fixed);
    QImage img(measure.TextWidth(text) + 8, measure.TextHeight(text) + 8, QImage::Format_RGB32);
    img.setDotsPerMeterX(3780);
    img.setDotsPerMeterY(3780);
    img.fill(Qt::white);
    QPainter p(&img);
    QtCanvas canvas(&img);
    canvas.Begin(&p);
    canvas.SetFontName("ＭＳ ゴシック");
    canvas.SetFontSize(size);
    canvas.SetFontPitch(FontPitch::Fixed);
    canvas.SetFontColor(CLR_BLACK);
    canvas.SetBrushColor(CLR_CREAM);
    DrawAdvice(canvas, 20, 4, 4, 20);
    const int width = canvas.TextWidth("^");
    const int height = canvas.TextHeight("^");
    const int third = std::max(1, width / 3);
    int eyes = 0;
    for (std::size_t at = text.find('^'); at != std::string::npos; at = text.find('^', at + 1)) {
      const int left = 4 + canvas.TextWidth(text.substr(0, at));
      const int bottom = 4 + height - 1;
      // The middle of the cell (its middle column, or two of an even width) reaches higher than its
      // outer thirds; a flat bar is as high everywhere.
      const int middle = TopInk(img, left + (width - 1) / 2, left + width / 2, 4, bottom);
      EXPECT_GE(middle, 0) << "size " << size;
      for (int from : {left, left + width - third}) {
        const int side = TopInk(img, from, from + third - 1, 4, bottom);
        EXPECT_GE(side, 0) << "size " << size;
        EXPECT_LT(middle, side) << "size " << size;
      }
      ++eyes;
    }
    EXPECT_EQ(eyes, 2);
    canvas.End();
    p.end();
    if (const char* d = std::getenv("KAZORU_SHOTS")) {
      const int face = 4 + canvas.TextWidth(text.substr(0, text.find('(')));
      img.copy(face - 4, 0, 8 * width, img.height())
          .save(QString::fromUtf8(d) + "/smiley-" + QString::number(size) + ".png");
    }
  }
}

TEST(AdvicePixels, TheTildeIsDrawnFullWidth) {
  RecordingCanvas record;
  DrawAdvice(record, 73, 0, 0, 20);
  ASSERT_EQ(record.Texts().size(), 1u);
  EXPECT_EQ(record.Texts()[0].find('~'), std::string::npos);
  EXPECT_NE(record.Texts()[0].find("(～_～)"), std::string::npos);
}
