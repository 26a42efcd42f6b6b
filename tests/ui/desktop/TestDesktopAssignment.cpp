// A pupil's assignment under a real window manager (openbox on a virtual X server): 課題を開く from the
// screen's menu, the link pasted into the input box, 組・番号・名前 in the name box, the working typed with
// real keys, 提出 through the question and the save dialog, then the handed-in file opened again (the
// pupil's look) and from the class summary (the teacher's look). Screenshots of each step are saved under
// KAZORU_SCREENSHOT_DIR when it is set.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>

#include "classroom/Assignment.h"
#include "screen/SettingsFile.h"
#include "support/ClassroomWork.h"
#include "support/OnModal.h"
#include "support/TestSupport.h"
#include "support/WindowManager.h"
#include "ui/AppStart.h"
#include "ui/QtPlatform.h"
#include "ui/classroom/ClassSummaryWindow.h"
#include "ui/classroom/PupilWorkWindow.h"
#include "ui/screen/Kazoru.h"

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

template <typename T>
void OnNormalModal(std::function<void(T*)> work, const QString& title = {}) {
  ::OnModal<T>(work, 100, 30, [title](QWidget* w) {
    return w->isVisible() && (title.isEmpty() || w->windowTitle() == title) && WmState(w) == "Normal";
  });
}

// The screen as it is once the windows have painted.
void Shot(const char* name) {
  const char* dir = std::getenv("KAZORU_SCREENSHOT_DIR");
  if (!dir) return;
  QTest::qWait(400);
  Run("import", {"-window", "root", QString::fromUtf8(dir) + "/" + name});
}

void Click(QWidget* w) {
  const QPoint g = w->mapToGlobal(w->rect().center());
  ::Run("xdotool", {"mousemove", "--sync", QString::number(g.x()), QString::number(g.y()), "click", "1"});
}

TPupilWorkForm* ShownWork(bool readOnly) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* f = qobject_cast<TPupilWorkForm*>(w); f && f->isVisible() && f->ReadOnly() == readOnly)
      return f;
  return nullptr;
}

}  // namespace

TEST(DesktopAssignment, APupilOpensWorksAndHandsInAndTheFileOpensAgain) {
  const std::string dir = TempDir();
  SetSettingsFolders(dir, dir);
  TPupilWorkForm::SetStoreFolder(QString::fromStdString(dir + "/kadai"));
  SetPlatform(&TheQtPlatform());
  const Assignment a = ClassSumAssignment(AssignmentFeedback::Now, 3);
  std::string code;
  ASSERT_EQ(EncodeAssignment(a, code), "");
  const Sheet sheet = AssignmentSheet(a);

  auto screen = std::make_unique<CalcScreenForm>(false);
  screen->show();
  ASSERT_TRUE(WaitFor([&] { return WmState(screen.get()) == "Normal"; }));
  QAction* open = nullptr;
  for (QAction* menu : screen->menuBar()->actions())
    if (menu->menu())
      for (QAction* item : menu->menu()->actions())
        if (item->text() == U("課題を開く(&K)...")) open = item;
  ASSERT_NE(open, nullptr);

  // The link pasted into the input box, then the name box.
  bool named = false;
  OnNormalModal<QInputDialog>([&](QInputDialog* d) {
    Shot("assignment-open.png");
    d->setTextValue(QString::fromStdString(AssignmentLink(ASSIGNMENT_DEFAULT_SITE, code)));
    d->accept();
    OnNormalModal<QDialog>(
        [&](QDialog* box) {
          const QList<QLineEdit*> fields = box->findChildren<QLineEdit*>();
          ASSERT_EQ(fields.size(), 3);
          fields[0]->setText(U("5年2組"));
          fields[1]->setText(U("１２"));  // full-width digits, as a Japanese keyboard types them
          fields[2]->setText(U("山田 花子"));
          Shot("assignment-name.png");
          box->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
          named = true;
        },
        U("組・番号・名前"));
  });
  open->trigger();
  TPupilWorkForm* work = ShownWork(false);
  ASSERT_NE(work, nullptr);
  ASSERT_TRUE(WaitFor([&] { return named; }));
  ASSERT_TRUE(WaitFor([&] { return WmState(work) == "Normal" && work->isActiveWindow(); }));
  EXPECT_EQ(work->Work().number, 12);

  // The working typed with real keys: the first problem right, the second added across.
  Click(work->WorkingEdit());
  ASSERT_TRUE(WaitFor([&] { return work->WorkingEdit()->hasFocus(); }));
  ::Run("xdotool", {"type", "--delay", "20", QString::fromStdString("=" + sheet.problems[0].answer)});
  ASSERT_TRUE(WaitFor([&] { return work->ProgressLabel()->text() == "1 / 4"; }))
      << work->ProgressLabel()->text().toStdString();
  Shot("assignment-working.png");
  work->Go(1);
  ASSERT_TRUE(WaitFor([&] { return work->WorkingEdit()->hasFocus(); }));
  ::Run("xdotool", {"type", "--delay", "20", "1b2"});
  ::Run("xdotool", {"key", "Return"});
  ::Run("xdotool", {"type", "--delay", "20", "=5b3"});
  ASSERT_TRUE(WaitFor([&] { return work->Work().problems[1].working.size() == 2; }));
  Shot("assignment-wrong-step.png");

  // 提出: the question, then the save dialog with the name the file is given.
  const std::string path = dir + "/handed.kazoru";
  int dialogs = 0;
  OnNormalModal<QMessageBox>([&](QMessageBox* m) {
    ++dialogs;
    EXPECT_TRUE(m->text().contains(U("2 問あります"))) << m->text().toStdString();
    OnNormalModal<QFileDialog>([&](QFileDialog* save) {
      ++dialogs;
      EXPECT_EQ(save->acceptMode(), QFileDialog::AcceptSave);
      auto* name = save->findChild<QLineEdit*>("fileNameEdit");
      ASSERT_NE(name, nullptr);
      EXPECT_TRUE(name->text().endsWith(U("山田 花子-5年2組 分数のたし算.kazoru")))
          << name->text().toStdString();
      Shot("assignment-save.png");
      name->setText(QString::fromStdString(path));
      static_cast<QDialog*>(save)->accept();
    });
    m->button(QMessageBox::Yes)->click();
  });
  Click(work->HandInButton());
  ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(path); }));
  EXPECT_EQ(dialogs, 2);
  EXPECT_EQ(work->Work().handIns, 1);
  Shot("assignment-handed-in.png");
  work->close();

  // The pupil opens the file again: looked at, to be continued.
  OpenStartFiles({QString::fromStdString(path)}, screen.get());
  TPupilWorkForm* again = ShownWork(true);
  ASSERT_NE(again, nullptr);
  ASSERT_TRUE(WaitFor([&] { return WmState(again) == "Normal"; }));
  EXPECT_TRUE(again->ContinueButton()->isVisible());
  Shot("assignment-file-opened.png");
  again->close();

  // The teacher opens it from the class summary.
  TClassSummaryForm summary;
  summary.show();
  summary.OpenPaths({QString::fromStdString(path)});
  QWidget* look = summary.OpenPupil(0);
  ASSERT_NE(look, nullptr);
  ASSERT_TRUE(WaitFor([&] { return WmState(look) == "Normal"; }));
  EXPECT_TRUE(static_cast<TPupilWorkForm*>(look)->ProblemList()->item(1)->text().endsWith(U("×")));
  Shot("assignment-teacher.png");
  look->close();
  summary.close();
  screen.reset();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  TPupilWorkForm::SetStoreFolder({});
  SetSettingsFolders("", "");
  SetPlatform(&TestPlatform());
}
