// Typeset lines rendered onto images with the real drawing surface: the pictures are saved as PNG files in
// the build folder (typeset-pictures/) for a person to look at, and checked here for the colours of the
// fraction bar, an operator and "=". Also times a long line onto an image, the per-key redraw budget.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <ctime>
#include <string>

#include "engine/Settings.h"
#include "typeset/bunCanvasDsp.h"
#include "typeset/bunHCanvDsp.h"
#include "ui/QtCanvas.h"

namespace {

struct Picture {
  QImage image;
  int cw = 0, ch = 0;
  int end = 0;
};

// The calculation screen's surface: cream page, teal pen 2 pixels wide, the font at 14 points.
Picture Render(const std::string& text, int layout = -1, int width = 900, int height = 200) {
  Picture p;
  p.image = QImage(width, height, QImage::Format_RGB32);
  p.image.fill(QColor(255, 251, 240));
  QtCanvas canvas(&p.image);
  canvas.SetFontSize(14);
  canvas.SetFontPitch(FontPitch::Fixed);
  canvas.SetBrushColor(CLR_CREAM);
  canvas.SetPenColor(CLR_TEAL);
  canvas.SetPenWidth(2);
  p.cw = canvas.TextWidth("1234567890") / 10;
  p.ch = canvas.TextHeight("1234567890");
  QPainter painter(&p.image);
  canvas.Begin(&painter);
  BreakCount = 0;
  const int x = 2 * p.ch, y = 3 * p.ch / 2 + p.ch;
  p.end = layout < 0 ? TypesetLine(canvas, text, x, y, p.cw, p.ch)
                     : TypesetLineAndAnswer(canvas, text, x, y, p.cw, p.ch, AnswerPlace::FromCode(layout));
  canvas.End();
  painter.end();
  return p;
}

void Save(const Picture& p, const std::string& name) {
  const QString dir = QCoreApplication::applicationDirPath() + "/typeset-pictures";
  QDir().mkpath(dir);
  EXPECT_TRUE(p.image.save(dir + "/" + QString::fromStdString(name) + ".png"));
}

int Count(const QImage& img, const QRect& area, QColor c) {
  int n = 0;
  const QRect r = area.intersected(img.rect());
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (img.pixelColor(x, y) == c) ++n;
  return n;
}

// CPU time of this thread: other programs on a shared machine do not count.
double ThreadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

const QColor TEAL(0, 128, 128), RED(255, 0, 0), BLUE(0, 0, 255), MAROON(128, 0, 0), PURPLE(128, 0, 128);

class TypesetPicture : public ::testing::Test {
 protected:
};

TEST_F(TypesetPicture, FractionSumShowsTealBarsRedOperatorAndBlueEquals) {
  const Picture p = Render("1k3b2+12b5=2k15b1&2k15b1", 1, 700, 260);
  Save(p, "fraction-sum");
  const int x = 2 * p.ch, y = 3 * p.ch / 2 + p.ch;
  // The bar of 1k3b2 runs on the bar row one pixel after the whole part.
  const int barRow = y + p.ch / 2;
  EXPECT_GE(Count(p.image, QRect(x + p.cw + 1, barRow - 1, p.cw, 3), TEAL), p.cw);
  // "＋" after the mixed number (2 cells + 1 pixel), full width, red.
  EXPECT_GT(Count(p.image, QRect(x + 2 * p.cw + 1, y, 2 * p.cw, p.ch), RED), 10);
  // "＝" after "12b5" (2 cells), blue.
  EXPECT_GT(Count(p.image, QRect(x + 6 * p.cw + 1, y, 2 * p.cw, p.ch), BLUE), 10);
  // The answer label under the line is red, and the underline teal.
  EXPECT_GT(Count(p.image, QRect(x, y + 3 * p.ch, 6 * p.cw, p.ch), RED), 20);
}

TEST_F(TypesetPicture, ExponentRepeatingDecimalAndRemainder) {
  const Picture p = Render("2^10*3+0.1@6-(m3)!");
  Save(p, "exponent-decimal");
  const int x = 2 * p.ch, y = 3 * p.ch / 2 + p.ch;
  // The exponent is maroon, raised above the row.
  EXPECT_GT(Count(p.image, QRect(x + p.cw, y - p.cw / 4, 2 * p.cw, p.ch), MAROON), 5);
  // The repeat dot is red, above the 6 (after "2", the exponent, "×3＋0.1").
  EXPECT_GT(Count(p.image, QRect(x, y - p.ch / 2, p.end - x, p.ch / 2), RED), 2);

  const Picture r = Render("10/3=3.3R0.1");
  Save(r, "remainder");
  // "あまり" in red after "10÷3＝3.3".
  EXPECT_GT(Count(r.image, QRect(x + 10 * r.cw, y, 7 * r.cw, r.ch + r.ch / 2), RED), 20);
}

TEST_F(TypesetPicture, ExpressionFractionsClosedAndBeingTyped) {
  const Picture closed = Render("1+[mK3B1]-[2K3+1B1]*[6B1+2]");
  Save(closed, "expression-fractions");
  const int x = 2 * closed.ch, y = 3 * closed.ch / 2 + closed.ch;
  EXPECT_GT(Count(closed.image, QRect(x, y + closed.ch / 2 - 1, closed.end - x, 3), TEAL), 6 * closed.cw);
  const Picture open = Render("2*[2K3+1B");
  Save(open, "expression-fraction-typed");
  EXPECT_GT(Count(open.image, QRect(x + 3 * open.cw, y, open.cw, open.ch), PURPLE), 5);
}

TEST_F(TypesetPicture, EqualsBreaksRowsAndRelationsAndUnknowns) {
  EQUAL_KAIGYO = 1;
  LinePitch = 5;
  const Picture p = Render("2b1+3b1=6b5=1k6b1", -1, 500, 300);
  Save(p, "equals-line-breaks");
  EQUAL_KAIGYO = 0;
  const Picture q = Render("2x+1<=3b1&x<=m3b1", 0);
  Save(q, "relation-and-answer");
  EXPECT_GT(Count(q.image, q.image.rect(), BLUE), 10);
}

TEST_F(TypesetPicture, LongLineOntoAnImageStaysWithinTheKeystrokeBudget) {
  std::string line = "[2K3+1B1]+";
  while (line.size() < 257) line += "1k3b2+12b5*2^10-(3b1+7)*0.1@6+";
  line.resize(256);
  line += "1";
  QImage image(6000, 200, QImage::Format_RGB32);
  image.fill(QColor(255, 251, 240));
  QtCanvas canvas(&image);
  canvas.SetFontSize(14);
  canvas.SetFontPitch(FontPitch::Fixed);
  canvas.SetBrushColor(CLR_CREAM);
  canvas.SetPenColor(CLR_TEAL);
  canvas.SetPenWidth(2);
  const int cw = canvas.TextWidth("1234567890") / 10, ch = canvas.TextHeight("1234567890");
  QPainter painter(&image);
  canvas.Begin(&painter);
  TypesetLine(canvas, line, 2 * ch, 3 * ch, cw, ch);  // warms the glyph caches
  const int runs = 50;
  QElapsedTimer timer;
  timer.start();
  const double cpuStart = ThreadCpuMs();
  for (int i = 0; i < runs; ++i) TypesetLine(canvas, line, 2 * ch, 3 * ch, cw, ch);
  const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6 / runs;
  const double cpuMs = (ThreadCpuMs() - cpuStart) / runs;
  canvas.End();
  painter.end();
  std::printf("typesetting %zu characters onto a QImage at 14 pt: %.3f ms per line (%.3f ms of CPU)\n",
              line.size(), ms, cpuMs);
  Picture p{image, cw, ch, 0};
  Save(p, "long-line");
  // The budget is 5 ms; the bound here is loose so that a busy machine does not fail the test.
  EXPECT_LT(cpuMs, 50.0);
}

}  // namespace
