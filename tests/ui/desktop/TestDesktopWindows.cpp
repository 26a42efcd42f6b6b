// The program's windows under a real window manager (openbox on a virtual X server): the notebook stays
// where it is whatever window gets the focus, message boxes open over the window that asked and give the
// focus back to it, no stay-on-top tool window covers a modal dialog, and closing the calculation screen
// ends the program. Window states are read from the X server (WM_STATE, the stacking list), clicks and
// keys are real X events.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "engine/Settings.h"
#include "notebook/NotePage.h"
#include "notebook/NoteSheet.h"
#include "platform/Platform.h"
#include "platform/VirtualKeys.h"
#include "process/CalcProcManage.h"
#include "screen/SettingsFile.h"
#include "screen/sikiInp.h"
#include "screen/sikiInpCommands.h"
#include "support/OnModal.h"
#include "support/TestSupport.h"
#include "support/WindowManager.h"
#include "ui/AppStart.h"
#include "ui/QtPlatform.h"
#include "ui/notebook/NBcomBox.h"
#include "ui/notebook/Notebook.h"
#include "ui/notebook/SheetDialog.h"
#include "ui/notebook/hyoudaiInp.h"
#include "ui/screen/InputPanel.h"
#include "ui/screen/Kazoru.h"
#include "ui/screen/LineServices.h"
#include "ui/tools/BunSikiEdit.h"
#include "ui/tools/kihonSet.h"
#include "ui/tools/sikiEMemo.h"

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

bool StaysOnTop(QWidget* w) {
  return Run("xprop", {"-id", QString::number(w->winId()), "_NET_WM_STATE"}).contains("_NET_WM_STATE_ABOVE");
}

// The managed windows from bottom to top.
std::vector<WId> Stacking() {
  const QString out = Run("xprop", {"-root", "_NET_CLIENT_LIST_STACKING"});
  std::vector<WId> ids;
  for (const QString& part : out.section('#', 1).split(',', Qt::SkipEmptyParts)) {
    bool ok = false;
    const WId id = part.trimmed().toULongLong(&ok, 16);
    if (ok) ids.push_back(id);
  }
  return ids;
}

int StackPlace(QWidget* w) {
  const std::vector<WId> ids = Stacking();
  for (size_t i = 0; i < ids.size(); ++i)
    if (ids[i] == w->winId()) return static_cast<int>(i);
  return -1;
}

// A real click of the pointer at a point of the widget.
void Click(QWidget* w, QPoint at) {
  const QPoint g = w->mapToGlobal(at);
  Run("xdotool", {"mousemove", "--sync", QString::number(g.x()), QString::number(g.y()), "click", "1"});
}

// A real click on a part of the widget that no other visible window covers.
bool ClickUncovered(QWidget* w) {
  for (int y = 20; y < w->height(); y += 20)
    for (int x = 20; x < w->width(); x += 20) {
      const QPoint g = w->mapToGlobal(QPoint(x, y));
      bool covered = false;
      for (QWidget* other : QApplication::topLevelWidgets())
        // With a margin for a frame the window manager has not reported yet.
        if (other != w->window() && other->isVisible() &&
            other->frameGeometry().adjusted(-40, -40, 40, 40).contains(g))
          covered = true;
      if (!covered) {
        Click(w, QPoint(x, y));
        return true;
      }
    }
  return false;
}

// Gives the window the focus: asked of the window manager, else by a click on it.
bool Activate(QWidget* w) {
  w->activateWindow();
  if (WaitFor([w] { return w->isActiveWindow(); }, 1000)) return true;
  if (!ClickUncovered(w)) return false;
  return WaitFor([w] { return w->isActiveWindow(); });
}

// Runs work on the modal window of type T as soon as it is up and the window manager shows it Normal.
template <typename T>
void OnNormalModal(std::function<void(T*)> work) {
  ::OnModal<T>(work, 100, 30, [](QWidget* w) { return w->isVisible() && WmState(w) == "Normal"; });
}

class DesktopWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = TempDir();
    SetSettingsFolders(dir, dir);
    SetPlatform(&TheQtPlatform());
  }
  void TearDown() override {
    if (TNoteForm* f = TNoteForm::Instance()) {
      NotePage.modified = false;
      f->close();
    }
    if (TSEMemoForm* m = TSEMemoForm::Instance()) m->close();
    screen.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    CalcScreenForm::NotebookModified = nullptr;
    CalcScreenForm::SaveNotebook = nullptr;
    for (int c = 0; c < static_cast<int>(ScreenCommand::COUNT); ++c)
      SetScreenCommand(static_cast<ScreenCommand>(c), nullptr);
    SetSettingsFolders("", "");
    SetPlatform(&TestPlatform());
  }

  // The screen with its panel, as the program starts, and the notebook opened from it.
  void StartWithNotebook(const std::string& line) {
    screen = std::make_unique<CalcScreenForm>(false);
    InstallLineServices();
    InstallJoukenCommand();
    InstallToolWindowCommands();
    InstallNotebook();
    screen->show();
    panel = new TInputForm(screen.get());
    screen->SetInputPanel(panel);
    panel->Switch();
    screen->Paint();
    // The screen has the focus first (its activation puts the command box away).
    ASSERT_TRUE(WaitFor([&] { return WmState(screen.get()) == "Normal"; }))
        << "the screen is \"" << WmState(screen.get()).toStdString() << "\"";
    ASSERT_TRUE(Activate(screen.get()));
    LineText = line;
    RunScreenCommand(ScreenCommand::OpenNotebook);
    note = TNoteForm::Instance();
    ASSERT_NE(note, nullptr);
    box = note->CommandBox();
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(WaitFor([&] { return WmState(note) == "Normal" && WmState(box) == "Normal"; }));
    ASSERT_TRUE(Activate(note));
  }

  std::string dir;
  std::unique_ptr<CalcScreenForm> screen;
  TInputForm* panel = nullptr;
  TNoteForm* note = nullptr;
  TNBComBoxForm* box = nullptr;
};

}  // namespace

TEST_F(DesktopWindows, TheNotebookStaysWhenTheScreenIsClicked) {
  StartWithNotebook("1b2+1b3");
  // Clicking the screen's page gives it the focus; only the command box gets out of the way.
  ASSERT_TRUE(ClickUncovered(screen->PageWidget()));
  ASSERT_TRUE(WaitFor([&] { return screen->isActiveWindow(); }));
  QTest::qWait(300);
  EXPECT_EQ(WmState(note), "Normal");
  EXPECT_FALSE(note->isMinimized());
  EXPECT_TRUE(note->isVisible());
  EXPECT_TRUE(box->Minimised());
  EXPECT_NE(WmState(box), "Normal");
  EXPECT_FALSE(note->FindAction(U("コマンド箱を開く( &I )"))->isChecked());

  // The box comes back with F8 and the notebook is still where it was.
  ASSERT_TRUE(Activate(note));
  note->KeySyori(VK_F8, 0);
  EXPECT_TRUE(WaitFor([&] { return WmState(box) == "Normal"; }));
  EXPECT_EQ(WmState(note), "Normal");

  // Minimising the notebook puts the box away with it; the notebook comes back as it was.
  note->showMinimized();
  EXPECT_TRUE(WaitFor([&] { return WmState(note) == "Iconic"; }));
  EXPECT_TRUE(box->Minimised());
  note->showNormal();
  EXPECT_TRUE(WaitFor([&] { return WmState(note) == "Normal"; }));
}

TEST_F(DesktopWindows, AClickOnTheCommandBoxLeavesTheScreenWhereItIs) {
  StartWithNotebook("1b2+1b3");
  ASSERT_EQ(WmState(screen.get()), "Normal");
  // A real click on the box's "▼" (select the next line): the box takes the focus, the command runs.
  QPushButton* next = box->Button(U("◆選択した式の操作◆"), U("▼"));
  ASSERT_NE(next, nullptr);
  Click(next, QPoint(8, 8));
  ASSERT_TRUE(WaitFor([&] { return NotePage.selected == 1; }));
  QTest::qWait(500);
  EXPECT_EQ(WmState(screen.get()), "Normal");
  EXPECT_FALSE(screen->isMinimized());
  EXPECT_EQ(WmState(note), "Normal");
}

TEST_F(DesktopWindows, EscapeClosingAMenuLetsTheNextKeyThrough) {
  StartWithNotebook("");
  note->close();
  ASSERT_TRUE(WaitFor([&] { return TNoteForm::Instance() == nullptr; }));
  ASSERT_TRUE(Activate(screen.get()));
  ClearLine();
  // The menu 操作(W) opened by a real click on its title, closed with a real Escape.
  QMenuBar* bar = screen->menuBar();
  QAction* ops = nullptr;
  for (QAction* a : bar->actions())
    if (a->text() == U("操作(&W)")) ops = a;
  ASSERT_NE(ops, nullptr);
  const QPoint title = bar->mapToGlobal(bar->actionGeometry(ops).center());
  ::Run("xdotool", {"mousemove", "--sync", QString::number(title.x()), QString::number(title.y())});
  QTest::qWait(300);
  ::Run("xdotool", {"click", "1"});
  const bool opened = WaitFor([] { return QApplication::activePopupWidget() != nullptr; });
  if (const char* shot = std::getenv("KAZORU_SCREENSHOT_DIR"))
    ::Run("import", {"-window", "root", QString::fromUtf8(shot) + "/menu-open.png"});
  ASSERT_TRUE(opened) << "the menu did not open";
  ::Run("xdotool", {"key", "Escape"});
  ASSERT_TRUE(WaitFor([] { return QApplication::activePopupWidget() == nullptr; }));
  // The very next key reaches the line.
  ::Run("xdotool", {"type", "7"});
  EXPECT_TRUE(WaitFor([] { return LineText == "7"; })) << "the line holds \"" << LineText << "\"";
  ::Run("xdotool", {"type", "+1"});
  EXPECT_TRUE(WaitFor([] { return LineText == "7+1"; })) << "the line holds \"" << LineText << "\"";
}

TEST_F(DesktopWindows, AMessageBoxOpensOverTheNotebookAboveTheBoxAndGivesTheFocusBack) {
  StartWithNotebook("1b2+1b3");
  ASSERT_TRUE(WaitFor([&] { return StaysOnTop(box); }));
  bool seen = false;
  // "答えをすべて書き換えます" from the notebook's Ctrl+Z.
  OnNormalModal<QMessageBox>([&](QMessageBox* m) {
    seen = true;
    EXPECT_TRUE(m->text().startsWith(U("答えをすべて書き換えます")));
    EXPECT_EQ(m->parentWidget(), note) << "the notebook asked";
    EXPECT_TRUE(note->frameGeometry().contains(m->frameGeometry().center()));
    // No tool window covers the box's buttons.
    EXPECT_FALSE(StaysOnTop(box));
    EXPECT_GT(StackPlace(m), StackPlace(box));
    Click(m->button(QMessageBox::Cancel), QPoint(5, 5));
    // A click the busy server dropped is given again; a button under another window cannot be pressed at
    // all, and the box is closed here, as a failure.
    QTimer::singleShot(1500, m, [m] { Click(m->button(QMessageBox::Cancel), QPoint(8, 8)); });
    QTimer::singleShot(4000, m, [m] {
      ADD_FAILURE() << "Cancel could not be clicked";
      m->reject();
    });
  });
  QTest::keyClick(note, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(seen);
  // The focus is back on the notebook, which stays up, and the box is on top again.
  EXPECT_TRUE(WaitFor([&] { return note->isActiveWindow(); }));
  QTest::qWait(300);
  EXPECT_EQ(WmState(note), "Normal");
  EXPECT_EQ(WmState(box), "Normal");
  EXPECT_TRUE(WaitFor([&] { return StaysOnTop(box); }));
}

// Ctrl+O on an edited page: 「保存しておきますか？」 → はい → the save dialog → the open dialog → Cancel.
// Every dialog opens over the notebook, and the notebook has the focus at the end, over the screen.
TEST_F(DesktopWindows, TheNotebookKeepsTheFocusThroughSaveAndOpenDialogs) {
  StartWithNotebook("1b2+1b3");
  ASSERT_TRUE(NotePage.modified);
  const std::string path = dir + "/kept.siki";
  int dialogs = 0;
  auto overNotebook = [&](QWidget* w) {
    EXPECT_TRUE(note->frameGeometry().contains(w->frameGeometry().center()))
        << w->metaObject()->className() << " centred at " << w->frameGeometry().center().x() << ","
        << w->frameGeometry().center().y();
  };
  OnNormalModal<QMessageBox>([&](QMessageBox* m) {
    ++dialogs;
    EXPECT_TRUE(m->text().startsWith(U("現在のノートは")));
    overNotebook(m);
    OnNormalModal<QFileDialog>([&](QFileDialog* save) {
      ++dialogs;
      EXPECT_EQ(save->acceptMode(), QFileDialog::AcceptSave) << save->windowTitle().toStdString();
      overNotebook(save);
      if (const char* shot = std::getenv("KAZORU_SCREENSHOT_DIR"))
        ::Run("import", {"-window", "root", QString::fromUtf8(shot) + "/save-dialog.png"});
      OnNormalModal<QFileDialog>([&](QFileDialog* open) {
        ++dialogs;
        EXPECT_EQ(open->acceptMode(), QFileDialog::AcceptOpen) << open->windowTitle().toStdString();
        overNotebook(open);
        open->reject();
      });
      // The full name typed into the name field, as a pupil would, then Save.
      auto* name = save->findChild<QLineEdit*>("fileNameEdit");
      ASSERT_NE(name, nullptr);
      name->setText(QString::fromStdString(path));
      static_cast<QDialog*>(save)->accept();
    });
    m->button(QMessageBox::Yes)->click();
  });
  QTest::keyClick(note, Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(dialogs, 3);
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_EQ(NotePage.fileName, path);
  EXPECT_TRUE(WaitFor([&] { return note->isActiveWindow(); }))
      << "the focus is on "
      << (QApplication::activeWindow() ? QApplication::activeWindow()->metaObject()->className() : "nothing");
  QTest::qWait(300);
  EXPECT_GT(StackPlace(note), StackPlace(screen.get())) << "the screen was raised over the notebook";
  if (const char* shot = std::getenv("KAZORU_SCREENSHOT_DIR"))
    ::Run("import", {"-window", "root", QString::fromUtf8(shot) + "/after-open-cancel.png"});
}

// 問題づくり → ノートに作る: the dialog opens over the notebook, the page is made and the notebook has the
// focus, over the screen.
TEST_F(DesktopWindows, TheNotebookKeepsTheFocusAfterTheSheetMaker) {
  StartWithNotebook("");
  bool seen = false;
  OnNormalModal<TSheetForm>([&](TSheetForm* form) {
    seen = true;
    EXPECT_TRUE(note->frameGeometry().contains(form->frameGeometry().center()))
        << "the sheet maker is centred at " << form->frameGeometry().center().x() << ","
        << form->frameGeometry().center().y();
    auto* make = form->findChild<QPushButton*>("make");
    ASSERT_NE(make, nullptr);
    make->click();
  });
  note->SheetMakerCommand();
  EXPECT_TRUE(seen);
  EXPECT_GT(NotePage.lineCount, 0);
  EXPECT_TRUE(WaitFor([&] { return note->isActiveWindow(); })) << "the focus is not on the notebook";
  QTest::qWait(300);
  EXPECT_GT(StackPlace(note), StackPlace(screen.get())) << "the screen was raised over the notebook";
  if (const char* shot = std::getenv("KAZORU_SCREENSHOT_DIR"))
    ::Run("import", {"-window", "root", QString::fromUtf8(shot) + "/after-sheet-maker.png"});
}

TEST_F(DesktopWindows, NoToolWindowCoversTheTitleBoxOrAQuestion) {
  StartWithNotebook("");
  // The title box opened from the command box's button.
  bool seen = false;
  OnNormalModal<THyoudaiEditForm>([&](THyoudaiEditForm* t) {
    seen = true;
    EXPECT_FALSE(StaysOnTop(box));
    EXPECT_GT(StackPlace(t), StackPlace(box));
    t->close();
  });
  box->Button("", U("表題入力"))->click();
  EXPECT_TRUE(seen);
  EXPECT_TRUE(WaitFor([&] { return StaysOnTop(box); }));

  // The memo floats over everything, but not over a question.
  RunScreenCommand(ScreenCommand::OpenMemo);
  TSEMemoForm* memo = TSEMemoForm::Instance();
  ASSERT_NE(memo, nullptr);
  ASSERT_TRUE(WaitFor([&] { return WmState(memo) == "Normal" && StaysOnTop(memo); }));
  ASSERT_TRUE(Activate(note));
  seen = false;
  OnNormalModal<QMessageBox>([&](QMessageBox* m) {
    seen = true;
    EXPECT_EQ(m->parentWidget(), note);
    EXPECT_FALSE(StaysOnTop(memo));
    EXPECT_GT(StackPlace(m), StackPlace(memo));
    m->button(QMessageBox::Ok)->click();
  });
  // "答を削除したい式を選択してください。" (Ctrl+Y with no line selected).
  QTest::keyClick(note, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_TRUE(seen);
  EXPECT_TRUE(WaitFor([&] { return StaysOnTop(memo); }));
}

TEST_F(DesktopWindows, ClosingTheScreenEndsTheProgramAfterTheNotebookQuestion) {
  SetSettingsFolders(dir, dir);
  int questions = 0;
  bool ended = false;
  QPointer<QWidget> notebook;
  // Alt+N on the screen opens the notebook with the line; closing the screen asks about the page.
  QTimer::singleShot(0, [&] {
    CalcScreenForm* s = CalcScreenForm::Instance();
    ASSERT_NE(s, nullptr);
    ASSERT_TRUE(WaitFor([&] { return WmState(s) == "Normal"; }));
    LineText = "1b2+1b3";
    s->KeySyori('N', SHIFT_ALT);
    notebook = TNoteForm::Instance();
    ASSERT_TRUE(WaitFor([&] { return notebook && WmState(notebook) == "Normal"; }));
    // Cancel keeps everything open.
    OnNormalModal<QMessageBox>([&](QMessageBox* m) {
      ++questions;
      m->button(QMessageBox::Cancel)->click();
    });
    s->close();
    EXPECT_TRUE(s->isVisible());
    EXPECT_TRUE(notebook && notebook->isVisible());
    // No closes the screen and ends the program, with the notebook still up until then.
    OnNormalModal<QMessageBox>([&](QMessageBox* m) {
      ++questions;
      m->button(QMessageBox::No)->click();
    });
    s->close();
  });
  // A program that does not end is ended here, as a failure.
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [&] { QCoreApplication::exit(7); });
  guard.start(10000);
  const int rc = RunKazoru(*qApp);
  guard.stop();
  ended = rc == 0;
  EXPECT_TRUE(ended) << "the program kept running after its screen closed";
  EXPECT_EQ(questions, 2);
  EXPECT_TRUE(notebook.isNull() || !notebook->isVisible());
  EXPECT_EQ(TNoteForm::Instance(), nullptr);
  EXPECT_TRUE(std::filesystem::exists(SettingsWritePath()));
  for (QWidget* w : QApplication::topLevelWidgets())
    EXPECT_FALSE(w->isVisible()) << w->windowTitle().toStdString();
}
