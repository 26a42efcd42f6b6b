// Start-up of the desktop program in its order: the module tables are ready, the platform door and the
// notice box are installed, the calculation screen is built (reading the settings file), then the input
// panel, which clears the line; closing the screen writes the settings and ends the event loop.
#include "ui/AppStart.h"

#include <QApplication>
#include <QTimer>

#include "process/CalcProcManage.h"
#include "screen/sikiInp.h"
#include "screen/sikiInpCommands.h"
#include "ui/QtPlatform.h"
#include "ui/notebook/Notebook.h"
#include "ui/screen/InputPanel.h"
#include "ui/screen/Kazoru.h"
#include "ui/screen/LineServices.h"
#include "ui/tools/AboutBox.h"
#include "ui/tools/BunSikiEdit.h"
#include "ui/tools/SplMsgBox.h"
#include "ui/tools/kihonSet.h"

int RunKazoru(QApplication& app, bool quitAfterFirstTurn) {
  SetPlatform(&TheQtPlatform());
  InstallNoticeBox();
  ResetProcessState();
  ResetLineCommands();
  ResetSikiInp();

  CalcScreenForm screen;
  // The line's commands with their window services, and the windows created on first use, which install
  // the commands that open them.
  InstallLineServices();
  InstallJoukenCommand();
  InstallToolWindowCommands();
  InstallNotebook();
  InstallAboutCommand();
  screen.show();
  TInputForm* panel = new TInputForm(&screen);
  screen.SetInputPanel(panel);
  panel->Switch();  // the panel starts shown beside the page
  screen.Paint();
  screen.activateWindow();
  screen.PageWidget()->setFocus();

  QObject::connect(&app, &QApplication::lastWindowClosed, &app, &QApplication::quit);
  // Closing the screen ends the program, whatever other windows are still up.
  CalcScreenForm::ProgramEnds = [] { QCoreApplication::exit(0); };
  // Ends the loop without closing the windows: nothing is asked and no settings are written.
  if (quitAfterFirstTurn) QTimer::singleShot(0, &app, [] { QCoreApplication::exit(0); });
  int rc = app.exec();
  CalcScreenForm::ProgramEnds = nullptr;
  // Windows still open when the loop ended go without their questions.
  if (TNoteForm* note = TNoteForm::Instance()) delete note;
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  TheQtPlatform().noticeHandler = nullptr;
  SetPlatform(nullptr);
  return rc;
}
