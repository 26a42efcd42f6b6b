// The window 「クラスのまとめ」 on the offscreen platform: the checked-in class opened as a folder, the
// table's cells and counts, sorting by score and by a problem, the chart drawn, the notes on replaced and
// unreadable files, the CSV saved, the A4 landscape print into a PDF; and a picture of the window.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QListWidget>
#include <QPrinter>
#include <QTableWidget>
#include <cstdlib>

#include "support/TestSupport.h"
#include "ui/classroom/ClassSummaryWindow.h"

namespace {

QString Cell(QTableWidget* t, int row, int column) {
  const QTableWidgetItem* item = t->item(row, column);
  return item ? item->text() : QString();
}

}  // namespace

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
