// The files a start names, as a file manager passes them ("kazoru %F"): the arguments that are files, and
// what opens them once the windows are up: pupils' result files together in one class summary window,
// another file as the notebook's page.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QTableWidget>
#include <QWidget>
#include <fstream>

#include "notebook/NotePage.h"
#include "support/TestSupport.h"
#include "ui/AppStart.h"
#include "ui/classroom/ClassSummaryWindow.h"
#include "ui/notebook/Notebook.h"

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

TClassSummaryForm* ShownSummary() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* s = qobject_cast<TClassSummaryForm*>(w); s && s->isVisible()) return s;
  return nullptr;
}

}  // namespace

TEST(StartFiles, EveryArgumentThatIsNotAnOptionIsAFile) {
  struct Case {
    QStringList arguments;
    QStringList files;
  };
  const Case cases[] = {
      {{"kazoru"}, {}},
      {{"kazoru", "page.siki"}, {"page.siki"}},
      {{"kazoru", "-style", "a.kazoru", "", "b.KAZORU"}, {"a.kazoru", "b.KAZORU"}},
      {{"kazoru", U("/home/先生/5年2組-1-青木.kazoru")}, {U("/home/先生/5年2組-1-青木.kazoru")}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FilesToOpen(c.arguments), c.files) << c.arguments.join(' ').toStdString();
  EXPECT_TRUE(IsResultFile("a.kazoru"));
  EXPECT_TRUE(IsResultFile("A.KAZORU"));
  EXPECT_FALSE(IsResultFile("a.siki"));
  EXPECT_FALSE(IsResultFile("kazoru"));
}

TEST(StartFiles, ResultFilesOpenTogetherInTheClassSummaryAndAPageInTheNotebook) {
  const QString data = QString::fromStdString(TestDataDir()) + "/classroom/";
  const QStringList results = QDir(data).entryList({"*.kazoru"}, QDir::Files, QDir::Name);
  ASSERT_GE(results.size(), 3);
  const std::string page = TempDir() + "/start.siki";
  std::ofstream(page, std::ios::binary) << "#kumi 3\r\n1b2+1b3\r\n";
  QStringList files;
  for (const QString& r : results) files << data + r;
  files.insert(1, QString::fromStdString(page));
  QWidget screen;
  OpenStartFiles(files, &screen);
  QCoreApplication::processEvents();
  TClassSummaryForm* summary = ShownSummary();
  ASSERT_NE(summary, nullptr);
  // One window for all the files: the readable ones summarised, the others listed with their reason.
  size_t pupils = 0, superseded = 0;
  for (const AssignmentSummary& a : summary->Summary().assignments) {
    pupils += a.pupils.size();
    superseded += a.superseded.size();
  }
  EXPECT_GE(pupils, 3u);
  EXPECT_EQ(pupils + superseded + summary->Summary().skipped.size(), static_cast<size_t>(results.size()));
  EXPECT_GT(summary->Table()->rowCount(), 0);
  // The page opened in the notebook, under its full name.
  EXPECT_EQ(NotePage.fileName, page);
  EXPECT_EQ(NotePage.title, "kumi 3");
  summary->close();
  if (TNoteForm* note = TNoteForm::Instance()) note->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(StartFiles, OnlyResultFilesLeaveTheNotebookShut) {
  const QString data = QString::fromStdString(TestDataDir()) + "/classroom/";
  QWidget screen;
  OpenStartFiles({data + QDir(data).entryList({"*.kazoru"}, QDir::Files, QDir::Name).first()}, &screen);
  QCoreApplication::processEvents();
  ASSERT_NE(ShownSummary(), nullptr);
  EXPECT_TRUE(TNoteForm::Instance() == nullptr || !TNoteForm::Instance()->isVisible());
  ShownSummary()->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
