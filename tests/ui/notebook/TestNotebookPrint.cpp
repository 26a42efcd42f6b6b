// The notebook's printout read back from its PDF file as pixels and text: it starts with the first line
// the window shows, at the printer's scale (the window's scroll counted in characters, not in dots),
// and every later line follows on as many sheets as it needs.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPrinter>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/Settings.h"
#include "notebook/NotePage.h"
#include "notebook/NoteSheet.h"
#include "screen/sikiInp.h"
#include "screen/sikiInpCommands.h"
#include "support/TestSupport.h"
#include "ui/notebook/Notebook.h"

namespace {

std::string Shell(const std::string& command) {
  std::string out;
  if (std::FILE* p = ::popen(command.c_str(), "r")) {
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    ::pclose(p);
  }
  return out;
}

// The first sheet of a PDF file at 75 dots per inch (empty when pdftoppm is missing).
QImage FirstSheet(const std::string& pdf) {
  const std::string stem = pdf + "-sheet";
  Shell("pdftoppm -r 75 -f 1 -l 1 -singlefile -png '" + pdf + "' '" + stem + "' 2>/dev/null");
  return QImage(QString::fromStdString(stem + ".png"));
}

// The top-left corner of the first line number on the sheet: the first green pixel from the top.
QPoint FirstNumber(const QImage& sheet) {
  for (int y = 0; y < sheet.height(); ++y) {
    int left = -1;
    for (int x = 0; x < sheet.width(); ++x) {
      const QColor c = sheet.pixelColor(x, y);
      if (c.green() > 80 && c.red() < 80 && c.blue() < 80) {
        left = x;
        break;
      }
    }
    if (left < 0) continue;
    // The row that holds the label's top: its leftmost green pixel over the next few rows.
    for (int dy = 1; dy < 8 && y + dy < sheet.height(); ++dy)
      for (int x = 0; x < left; ++x) {
        const QColor c = sheet.pixelColor(x, y + dy);
        if (c.green() > 80 && c.red() < 80 && c.blue() < 80) left = x;
      }
    return {left, y};
  }
  return {-1, -1};
}

class NotebookPrint : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = TNoteForm::PrinterSetup; }
  void TearDown() override {
    TNoteForm::PrinterSetup = saved_;
    if (TNoteForm* f = TNoteForm::Instance()) {
      NotePage.modified = false;
      f->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  // Prints through the window's command into a PDF file.
  std::string Print(TNoteForm* f, const std::string& name) {
    const std::string pdf = TempDir() + "/" + name + ".pdf";
    TNoteForm::PrinterSetup = [pdf](QPrinter& p) {
      p.setOutputFormat(QPrinter::PdfFormat);
      p.setOutputFileName(QString::fromStdString(pdf));
      return true;
    };
    f->PrintNote();
    return pdf;
  }

  std::function<bool(QPrinter&)> saved_;
};

}  // namespace

TEST_F(NotebookPrint, ThePaperStartsWithTheFirstLineTheWindowShowsAtThePrintersScale) {
  TNoteForm* f = TNoteForm::Open(NoteOrigin::CalculationScreen, "");
  QCoreApplication::processEvents();
  std::vector<std::string> lines;
  for (int i = 1; i <= 30; ++i) lines.push_back(std::to_string(i) + "+3b2");
  ReplaceAllLines(lines);
  NotePage.title = "練習";
  f->Redraw();
  QCoreApplication::processEvents();
  const std::string plain = Print(f, "plain");

  // Scrolled down until line 7 is the first line shown whole, and two characters to the right.
  const int top7 = 4 * f->CellHeight() + 6 * KANKAKU * f->CellHeight() / 2;
  while (f->VScroll() + NOTE_SCROLL_STEP <= top7) f->RunCommand(NoteCommand::ScrollDown);
  ASSERT_GT(f->VScroll(), top7 - NOTE_SCROLL_STEP);
  while (f->HScroll() < 2 * f->CellWidth()) f->RunCommand(NoteCommand::ScrollRight);
  const int hScroll = f->HScroll();
  const std::string scrolled = Print(f, "scrolled");

  const std::string text = Shell("pdftotext -enc UTF-8 '" + scrolled + "' - 2>/dev/null");
  if (text.empty()) GTEST_SKIP() << "poppler-utils are not installed";
  // The title, then line 7 and the rest; nothing of the lines above it.
  EXPECT_EQ(text.find("練習"), text.find_first_not_of(" \n"));
  EXPECT_EQ(text.find("[1]"), std::string::npos) << text;
  EXPECT_EQ(text.find("[6]"), std::string::npos) << text;
  const std::size_t seven = text.find("[7]");
  ASSERT_NE(seven, std::string::npos) << text;
  EXPECT_LT(seven, text.find("[8]"));
  EXPECT_NE(text.find("[30]"), std::string::npos);

  // Line 7 stands where line 1 stands on the unscrolled paper, moved left by the window's scroll at
  // the printer's scale: hScroll screen pixels are hScroll / 96 inches, 75 dots per inch here.
  const QImage movedSheet = FirstSheet(scrolled);
  if (const char* out = std::getenv("KAZORU_NOTEBOOK_PRINT_PNG")) movedSheet.save(out);
  const QPoint first = FirstNumber(FirstSheet(plain));
  const QPoint moved = FirstNumber(movedSheet);
  ASSERT_GE(first.y(), 0);
  ASSERT_GE(moved.y(), 0);
  EXPECT_NEAR(moved.y(), first.y(), 1);
  const double expected = hScroll * 75.0 / f->logicalDpiX();
  EXPECT_NEAR(first.x() - moved.x(), expected, expected * 0.2 + 1) << "scroll " << hScroll;
}
