// Installs the window services of the calculation line's commands: printing, help, the home page, the
// detailed settings window, and the watch for Escape or a mouse click while a factorisation runs.
#include "ui/screen/LineServices.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>

#include "engine/Settings.h"
#include "screen/sikiInp.h"
#include "screen/sikiInpCommands.h"
#include "ui/QtPlatform.h"
#include "ui/help/HelpWindow.h"
#include "ui/process/calcProcSet.h"
#include "ui/screen/PrintLine.h"

namespace {

// While a factorisation runs, Escape or a mouse button asks it to stop; the factorisation polls the
// platform between rounds, which lets these events arrive.
class InterruptWatch : public QObject {
 public:
  InterruptWatch() {
    TheQtPlatform().SetInterrupt(false);
    qApp->installEventFilter(this);
  }
  ~InterruptWatch() override {
    qApp->removeEventFilter(this);
    TheQtPlatform().SetInterrupt(false);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type t = event->type();
    if (t == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
      TheQtPlatform().SetInterrupt(true);
      return true;
    }
    if (t == QEvent::MouseButtonPress) {
      TheQtPlatform().SetInterrupt(true);
      return true;
    }
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

void InstallLineServices() {
  InstallLineCommands();
  SetScreenCommand(ScreenCommand::SoinsuuPre, [] {
    if (InterruptibleFactorisation) {
      InterruptWatch watch;
      SoinsuuPre();
    } else {
      SoinsuuPre();
    }
    return true;
  });
  SetScreenCommand(ScreenCommand::PrintLine, [] {
    PrintLine();
    return true;
  });
  SetScreenCommand(ScreenCommand::Help, [] {
    ShowHelpContents();
    return true;
  });
  SetScreenCommand(ScreenCommand::HomePage, [] { return OpenHomePage(); });
  SetScreenCommand(ScreenCommand::OpenProcessSettings, [] {
    if (TCalcProcSetForm::Instance()) return false;
    ShowCalcProcSet(TheQtPlatform().Owner());
    RepaintScreen();  // advice and level of detail apply to the next repaint already
    return true;
  });
}
