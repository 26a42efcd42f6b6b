// The window 「クラスのまとめ」 on the offscreen platform: the checked-in class opened as a folder, the
// table's cells and counts, sorting by score and by a problem, the chart drawn, the notes on replaced and
// unreadable files, the CSV saved, the A4 landscape print into a PDF, the heading's code in one face; and a
// picture of the window.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPrinter>
#include <QTableWidget>
#include <algorithm>
#include <cstdlib>

#include "support/TestSupport.h"
#include "ui/classroom/ClassSummaryWindow.h"

namespace {

QString Cell(QTableWidget* t, int row, int column) {
  const QTableWidgetItem* item = t->item(row, column);
  return item ? item->text() : QString();
}

// The rows from the top and bottom of the dark pixels between two x positions of an image.
struct Ink {
  int top = -1, bottom = -1;
};
Ink InkBetween(const QImage& image, int left, int right) {
  Ink ink;
  for (int y = 0; y < image.height(); ++y)
    for (int x = std::max(0, left); x < std::min(right, image.width()); ++x)
      if (qGray(image.pixel(x, y)) < 110) {
        if (ink.top < 0) ink.top = y;
        ink.bottom = y;
      }
  return ink;
}

}  // namespace

// The heading's code is one run of glyphs of one face: the digits it starts with ("16…") stand on the
// line of the letters after them and are as tall, though Japanese words come before them.
TEST(ClassSummaryWindow, TheCodeInTheHeadingIsDrawnInOneFace) {
  TClassSummaryForm form;
  form.resize(1100, 720);
  form.show();
  form.OpenPaths({QString::fromStdString(TestDataDir() + "/classroom")});
  QLabel* heading = form.Heading();
  const QString text = heading->text();
  const qsizetype code = text.indexOf(QString::fromUtf8("コード ")) + 4;
  ASSERT_GT(code, 4);
  ASSERT_TRUE(text.at(code).isDigit() && text.at(code + 1).isDigit() && text.at(code + 2).isLetter() &&
              text.at(code + 3).isLetter())
      << text.toStdString();
  const QFontMetrics fm(heading->font());
  ASSERT_LT(fm.horizontalAdvance(text), heading->contentsRect().width());  // one line
  const QImage image = heading->grab().toImage();
  const int x0 = heading->contentsRect().left();
  const auto at = [&](qsizetype i) { return x0 + fm.horizontalAdvance(text.left(i)); };
  const Ink digits = InkBetween(image, at(code), at(code + 2));
  const Ink letters = InkBetween(image, at(code + 2), at(code + 4));
  ASSERT_GE(digits.top, 0);
  ASSERT_GE(letters.top, 0);
  EXPECT_EQ(digits.bottom, letters.bottom);
  EXPECT_NEAR(digits.bottom - digits.top, letters.bottom - letters.top, 1);
  // As wide as the same digits where the code stands alone (a run of Latin text).
  const QString alone = text.mid(code);
  EXPECT_EQ(at(code + 2) - at(code), fm.horizontalAdvance(alone) - fm.horizontalAdvance(alone.mid(2)));
}

TEST(ClassSummaryWindow, ShowsTheClassSortsPrintsAndSaves) {
  TClassSummaryForm form;
  form.resize(1100, 720);
  form.show();
  form.OpenPaths({QString::fromStdString(TestDataDir() + "/classroom")});
  ASSERT_EQ(form.AssignmentBox()->count(), 1);
  QTableWidget* t = form.Table();
  ASSERT_EQ(t->rowCount(), 3 + 2);
  EXPECT_EQ(Cell(t, 0, 1), QString::fromUtf8("5年2組 青木 はると"));
  EXPECT_EQ(Cell(t, 1, 2), "0/4");
  EXPECT_EQ(Cell(t, 1, 5), QString::fromUtf8("× 分母どうし・分子どうしをたした"));
  EXPECT_EQ(Cell(t, 2, 4), QString::fromUtf8("× 分母どうし・分子どうしをたした"));
  EXPECT_EQ(Cell(t, 3, 1), QString::fromUtf8("正解の人数"));
  EXPECT_EQ(Cell(t, 3, 5), "2");
  EXPECT_TRUE(Cell(t, 1, 8).contains(QString::fromUtf8("まず通分しよう")));
  // Notes: the replaced hand-in and the unreadable file.
  ASSERT_EQ(form.NotesList()->count(), 2);
  EXPECT_TRUE(form.NotesList()->item(0)->text().contains(QString::fromUtf8("差しかえ")));
  EXPECT_TRUE(form.NotesList()->item(1)->text().contains("notes.kazoru"));
  // A note names the file; the folder it came from shows only when pointed at.
  const QString folder = QString::fromStdString(TestDataDir());
  for (int i = 0; i < form.NotesList()->count(); ++i) {
    EXPECT_FALSE(form.NotesList()->item(i)->text().contains(folder))
        << form.NotesList()->item(i)->text().toStdString();
    EXPECT_TRUE(form.NotesList()->item(i)->toolTip().startsWith(folder));
  }

  form.SortBy(PupilOrder::ScoreUp);
  EXPECT_EQ(Cell(t, 0, 0), "2");
  form.SortBy(PupilOrder::Problem, 1);
  EXPECT_EQ(Cell(t, 0, 0), "1");
  EXPECT_EQ(Cell(t, 1, 0), "3");
  form.SortBy(PupilOrder::Number);
  EXPECT_EQ(Cell(t, 0, 0), "1");

  // The chart is drawn: dark bars on the white of the chart.
  const QImage chart = form.Chart()->grab().toImage();
  int bar = 0;
  for (int y = 0; y < chart.height(); ++y)
    for (int x = 0; x < chart.width(); ++x)
      if (chart.pixelColor(x, y) == QColor(70, 110, 190)) ++bar;
  EXPECT_GT(bar, 100);

  const std::string dir = TempDir();
  ASSERT_TRUE(form.SaveCsv(QString::fromStdString(dir + "/class.csv")));
  EXPECT_EQ(ReadBytes(dir + "/class.csv").compare(0, 3, "\xEF\xBB\xBF"), 0);
  const std::string pdf = dir + "/class.pdf";
  form.printerSetup = [&](QPrinter& p) {
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(QString::fromStdString(pdf));
    return true;
  };
  form.Print();
  const std::string info = dir + "/info.txt";
  ASSERT_EQ(std::system(("pdfinfo '" + pdf + "' > '" + info + "' 2>/dev/null").c_str()), 0);
  const std::string text = ReadBytes(info);
  EXPECT_NE(text.find("Pages:           2"), std::string::npos) << text;
  EXPECT_NE(text.find("842 x 595 pts (A4)"), std::string::npos) << text;  // landscape

  // A picture of the window for looking at (KAZORU_SCREENSHOT_DIR).
  if (const char* out = std::getenv("KAZORU_SCREENSHOT_DIR"))
    form.grab().save(QString::fromUtf8(out) + "/class-summary.png");
}
