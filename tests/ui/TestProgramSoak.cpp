// The whole program as it starts (the calculation screen, its panel, and every window its commands open)
// driven at random: keys with modifiers into whichever window is up, clicks on its buttons, its menu
// commands, text typed into its fields, and inside modal boxes the same until a closer shuts them. Every
// message box of the platform is answered at random through the recording platform; printing, the font
// dialogs and outside web pages are answered without opening. Nothing may crash or hang, and no step may
// take a second (KAZORU_SOAK_LIMIT_MS sets another limit; the first opening of some of Qt's own boxes
// takes a while, so the tighter limits are the screen's and the notebook's soaks').
// KAZORU_PROGRAM_SOAK_STEPS sets the number of steps (1,500 by default), KAZORU_SOAK_SEED the seed.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrinter>
#include <QSpinBox>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QUrl>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "engine/Settings.h"
#include "notebook/NotePage.h"
#include "platform/Platform.h"
#include "process/CalcProcManage.h"
#include "screen/SettingsFile.h"
#include "screen/sikiInp.h"
#include "screen/sikiInpCommands.h"
#include "support/SoakSupport.h"
#include "support/TestSupport.h"
#include "ui/help/HelpWindow.h"
#include "ui/notebook/Notebook.h"
#include "ui/screen/InputPanel.h"
#include "ui/screen/Kazoru.h"
#include "ui/screen/LineServices.h"
#include "ui/screen/PrintLine.h"
#include "ui/tools/AboutBox.h"
#include "ui/tools/BunSikiEdit.h"
#include "ui/tools/kihonSet.h"

namespace {

const int KEYS[] = {
    Qt::Key_0,        Qt::Key_1,     Qt::Key_2,         Qt::Key_3,      Qt::Key_5,         Qt::Key_7,
    Qt::Key_9,        Qt::Key_A,     Qt::Key_B,         Qt::Key_C,      Qt::Key_D,         Qt::Key_E,
    Qt::Key_H,        Qt::Key_J,     Qt::Key_K,         Qt::Key_N,      Qt::Key_P,         Qt::Key_Q,
    Qt::Key_R,        Qt::Key_S,     Qt::Key_T,         Qt::Key_X,      Qt::Key_Y,         Qt::Key_Z,
    Qt::Key_F1,       Qt::Key_F2,    Qt::Key_F5,        Qt::Key_F6,     Qt::Key_F8,        Qt::Key_F10,
    Qt::Key_Plus,     Qt::Key_Minus, Qt::Key_Asterisk,  Qt::Key_Slash,  Qt::Key_Equal,     Qt::Key_Period,
    Qt::Key_Colon,    Qt::Key_Less,  Qt::Key_ParenLeft, Qt::Key_Return, Qt::Key_Backspace, Qt::Key_Delete,
    Qt::Key_Insert,   Qt::Key_Up,    Qt::Key_Down,      Qt::Key_Left,   Qt::Key_Right,     Qt::Key_PageUp,
    Qt::Key_PageDown, Qt::Key_Tab,   Qt::Key_Escape,    Qt::Key_Space};

Qt::KeyboardModifiers RandomModifiers(std::mt19937& rng) {
  return ::RandomModifiers(rng, {{50, Qt::NoModifier},
                                 {70, Qt::ShiftModifier},
                                 {92, Qt::ControlModifier},
                                 {97, Qt::ControlModifier | Qt::ShiftModifier},
                                 {100, Qt::AltModifier}});
}

template <typename T>
T* Pick(std::mt19937& rng, const QList<T*>& items) {
  QList<T*> usable;
  for (T* item : items)
    if (item->isVisible() && item->isEnabled()) usable.push_back(item);
  return usable.isEmpty() ? nullptr : usable[static_cast<int>(rng() % usable.size())];
}

// One random event on a window: a key, a click, a menu command or typed text. Returns what it did.
std::string Poke(std::mt19937& rng, QWidget* window) {
  const unsigned r = rng() % 10;
  if (r < 5) {
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    const int key = KEYS[rng() % (sizeof KEYS / sizeof KEYS[0])];
    const Qt::KeyboardModifiers mods = RandomModifiers(rng);
    QTest::keyClick(target, static_cast<Qt::Key>(key), mods);
    return "key 0x" + QString::number(key, 16).toStdString() + "/" +
           QString::number(int(mods), 16).toStdString();
  }
  if (r < 7) {
    if (QAbstractButton* b = Pick(rng, window->findChildren<QAbstractButton*>())) {
      const std::string what = "click \"" + b->text().toStdString() + "\"";
      b->click();
      return what;
    }
    return "no button";
  }
  if (r < 8) {
    QList<QAction*> actions;
    for (QMenu* m : window->findChildren<QMenu*>())
      for (QAction* a : m->actions())
        if (a->isEnabled() && !a->isSeparator() && !a->menu()) actions.push_back(a);
    if (actions.isEmpty()) return "no menu";
    QAction* a = actions[static_cast<int>(rng() % actions.size())];
    const std::string what = "menu \"" + a->text().toStdString() + "\"";
    a->trigger();
    return what;
  }
  static const char* texts[] = {"1b2+3b1", "2x+1=5", "x", "3.14", "abc",          "12",
                                "-7",      "4:6",    "",  "(((",  "9999999999999"};
  const char* text = texts[rng() % (sizeof texts / sizeof texts[0])];
  QWidget* field = Pick(rng, window->findChildren<QLineEdit*>());
  if (!field) field = Pick(rng, window->findChildren<QPlainTextEdit*>());
  if (!field) field = Pick(rng, window->findChildren<QSpinBox*>());
  if (!field) return "no field";
  field->setFocus();
  QTest::keyClicks(field, QString::fromUtf8(text));
  return std::string("type \"") + text + "\"";
}

class ProgramSoak : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = TempDir();
    SetSettingsFolders(dir, dir);
    SetPlatform(&platform);
    ResetProcessState();
    ResetLineCommands();
    ResetSikiInp();
    keepUrl = OpenExternalUrl;
    keepPrintLine = PrintLineSetup;
    keepNotePrint = TNoteForm::PrinterSetup;
    keepNoteFont = TNoteForm::PageFontDialog;
    OpenExternalUrl = [](const QUrl&) { return true; };
    PrintLineSetup = [](QPrinter&) { return false; };
    TNoteForm::PrinterSetup = [](QPrinter&) { return false; };
    TNoteForm::PageFontDialog = [](QFont&, const std::function<void(const QFont&)>&) { return false; };
  }
  void TearDown() override {
    modalTimer.stop();
    OpenExternalUrl = keepUrl;
    PrintLineSetup = keepPrintLine;
    TNoteForm::PrinterSetup = keepNotePrint;
    TNoteForm::PageFontDialog = keepNoteFont;
    SetSettingsFolders("", "");
    SetPlatform(&TestPlatform());
  }

  std::mt19937 rng;
  std::string dir;
  RecordingPlatform platform;
  QTimer modalTimer;
  std::function<bool(const QUrl&)> keepUrl;
  std::function<bool(QPrinter&)> keepPrintLine, keepNotePrint;
  std::function<bool(QFont&, const std::function<void(const QFont&)>&)> keepNoteFont;
};

TEST_F(ProgramSoak, RandomEventsOnEveryWindow) {
  const long steps = EnvNumber("KAZORU_PROGRAM_SOAK_STEPS", 1500);
  const qint64 limitNs = EnvNumber("KAZORU_SOAK_LIMIT_MS", 1000) * 1'000'000;
  const unsigned seed = static_cast<unsigned>(EnvNumber("KAZORU_SOAK_SEED", 20261210));
  rng.seed(seed);
  const MsgAnswer answers[] = {MsgAnswer::Yes, MsgAnswer::No, MsgAnswer::Ok, MsgAnswer::Cancel};

  auto screen = std::make_unique<CalcScreenForm>(false);
  InstallLineServices();
  InstallJoukenCommand();
  InstallToolWindowCommands();
  InstallNotebook();
  InstallAboutCommand();
  SetPlatform(&platform);
  screen->show();
  TInputForm* panel = new TInputForm(screen.get());
  screen->SetInputPanel(panel);
  panel->Switch();
  screen->Paint();
  screen->PageWidget()->setFocus();

  // Inside a modal box: a few random events, then it is closed (deeper boxes are closed at once).
  int modalEvents = 0, modalsClosed = 0;
  modalTimer.setInterval(0);
  QObject::connect(&modalTimer, &QTimer::timeout, [&] {
    if (QWidget* popup = QApplication::activePopupWidget()) {
      popup->close();
      return;
    }
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    if (rng() % 4 == 0) {
      modal->close();
      ++modalsClosed;
      return;
    }
    // The event runs on its own turn of the loop: a box it opens gets its own turns of this timer.
    ++modalEvents;
    QPointer<QWidget> target(modal);
    QTimer::singleShot(0, modal, [&, target] {
      if (!target || QApplication::activeModalWidget() != target) return;
      platform.defaultAnswer = answers[rng() % 4];
      Poke(rng, target);
    });
  });
  modalTimer.start();

  qint64 slowestNs = 0;
  std::string slowest;
  long overLimit = 0;
  std::vector<std::string> recent;
  QElapsedTimer clock, whole;
  whole.start();
  for (long i = 0; i < steps; ++i) {
    platform.defaultAnswer = answers[rng() % 4];
    platform.inputs.clear();
    if (rng() % 2) platform.inputs.push_back(std::to_string(rng() % 100));
    platform.fileNames.clear();
    if (rng() % 3 == 0) platform.fileNames.push_back(dir + (rng() % 2 ? "/page.siki" : "/missing/page.siki"));
    if (!screen->isVisible()) screen->show();

    QList<QWidget*> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible() && !w->isMinimized() && w->isWindow()) windows.push_back(w);
    QWidget* window = windows.isEmpty() ? screen.get() : windows[static_cast<int>(rng() % windows.size())];
    const std::string title = window->windowTitle().toStdString();

    clock.start();
    const std::string step = Poke(rng, window);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const qint64 ns = clock.nsecsElapsed();
    if (ns > slowestNs) {
      slowestNs = ns;
      slowest = title + ": " + step;
    }
    if (ns > limitNs && ++overLimit <= 10)
      std::printf("slow step %ld: %s: %s took %.1f ms\n", i, title.c_str(), step.c_str(), ns / 1e6);
    recent.push_back(title + ": " + step + " -> \"" + LineText + "\"");
    if (recent.size() > 20) recent.erase(recent.begin());
    std::string where = "step " + std::to_string(i) + ":";
    for (const std::string& r : recent) where += "\n  " + r;
    ASSERT_GE(LineCount, 0) << where;
    // Past the limit a line takes only the closing brackets that finish it, one for each bracket open.
    ASSERT_LE(LineCount, 2 * LINE_MAX_CHARS) << where;
    ASSERT_LE(LineText.size(), 4096u) << where;
    platform.Clear();
  }
  std::printf(
      "program soak: %ld steps (seed %u) in %.1f s; slowest %.1f ms (%s); %ld over the limit; "
      "%d events inside modal boxes, %d closed; %d windows open at the end\n",
      steps, seed, whole.elapsed() / 1000.0, slowestNs / 1e6, slowest.c_str(), overLimit, modalEvents,
      modalsClosed, static_cast<int>(QApplication::topLevelWidgets().size()));
  modalTimer.stop();
  if (TNoteForm* note = TNoteForm::Instance()) {
    NotePage.modified = false;
    note->close();
  }
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(overLimit, 0) << "slowest " << slowestNs / 1e6 << " ms: " << slowest;
}

}  // namespace
