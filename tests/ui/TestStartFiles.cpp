// The files a start names, as a file manager passes them ("kazoru %F"): the arguments that are files, and
// what opens them once the windows are up: pupils' result files together in one class summary window, one
// alone as that pupil's work, an assignment's link to be worked, another file as the notebook's page.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QTableWidget>
#include <QWidget>
#include <fstream>

#include "classroom/Assignment.h"
#include "engine/Settings.h"
#include "notebook/NotePage.h"
#include "support/TestSupport.h"
#include "ui/AppStart.h"
#include "ui/classroom/ClassSummaryWindow.h"
#include "ui/classroom/PupilWorkWindow.h"
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

// One file is one pupil's work (to look at or continue), a file that cannot be shown goes to the summary
// with its reason, an assignment's link opens it to work; none of them opens the notebook.
TEST(StartFiles, OneResultFileIsAPupilsWorkAndALinkAnAssignment) {
  const QString data = QString::fromStdString(TestDataDir()) + "/classroom/";
  Assignment a;
  a.controls.skill = "sum-unlike";
  a.controls.count = 3;
  a.title = "start";
  std::string code;
  ASSERT_EQ(EncodeAssignment(a, code), "");
  // A pupil known to this computer: the name box is not asked.
  KADAI_KUMI = "5年2組";
  KADAI_BANGOU = 1;
  KADAI_NAMAE = "青木";
  struct Case {
    QString argument;
    bool summary;  // else the assignment window
    bool readOnly;
  } cases[] = {
      {data + U("5年2組-1-青木 はると-分数のたし算.kazoru"), false, true},
      {data + "notes.kazoru", true, false},
      {QString::fromStdString(AssignmentLink(ASSIGNMENT_DEFAULT_SITE, code)), false, false},
      {QString::fromStdString(GroupedCode(code)), false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.argument.toStdString());
    EXPECT_EQ(IsAssignmentText(c.argument), !IsResultFile(c.argument));
    QWidget screen;
    OpenStartFiles(FilesToOpen({"kazoru", c.argument}), &screen);
    QCoreApplication::processEvents();
    TPupilWorkForm* work = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* f = qobject_cast<TPupilWorkForm*>(w); f && f->isVisible()) work = f;
    EXPECT_EQ(ShownSummary() != nullptr, c.summary);
    ASSERT_EQ(work != nullptr, !c.summary);
    if (work) {
      EXPECT_EQ(work->ReadOnly(), c.readOnly);
      work->close();
    }
    if (ShownSummary()) ShownSummary()->close();
    EXPECT_TRUE(TNoteForm::Instance() == nullptr || !TNoteForm::Instance()->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  EXPECT_FALSE(IsAssignmentText(data + "notes.kazoru"));
  EXPECT_FALSE(IsAssignmentText("page.siki"));
}
