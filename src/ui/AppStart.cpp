// Start-up of the desktop program in its order: the module tables are ready, the platform door and the
// notice box are installed, the calculation screen is built (reading the settings file), then the input
// panel, which clears the line; closing the screen writes the settings and ends the event loop.
#include "ui/AppStart.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include "process/CalcProcManage.h"
#include "screen/sikiInp.h"
#include "screen/sikiInpCommands.h"
#include "ui/HalfWidthFields.h"
#include "ui/QtPlatform.h"
#include "ui/notebook/Notebook.h"
#include "ui/screen/InputPanel.h"
#include "ui/screen/Kazoru.h"
#include "ui/screen/LineServices.h"
#include "ui/tools/AboutBox.h"
#include "ui/tools/BunSikiEdit.h"
#include "ui/tools/SplMsgBox.h"
#include "ui/tools/kihonSet.h"

namespace {

// Texts of Qt's file dialogs that Qt's Japanese translations leave in English.
class MissingQtTexts : public QTranslator {
 public:
  using QTranslator::QTranslator;
  QString translate(const char* context, const char* source, const char* disambiguation,
                    int n) const override {
    (void)disambiguation;
    (void)n;
    const QByteArray c(context), t(source);
    if (c != "QAbstractFileIconProvider" && c != "QFileSystemModel" && c != "QFileDialog") return {};
    if (t == "Folder") return QString::fromUtf8("フォルダー");
    if (t == "Drive") return QString::fromUtf8("ドライブ");
    if (t == "File") return QString::fromUtf8("ファイル");
    if (t == "%1 File") return QString::fromUtf8("%1 ファイル");
    return {};
  }
  bool isEmpty() const override { return false; }
};

}  // namespace

void UseJapaneseSystemLocale() {
  // The characters' encoding stays the system's: only what LC_ALL said of it is kept.
  if (qEnvironmentVariableIsSet("LC_ALL")) {
    qputenv("LC_CTYPE", qgetenv("LC_ALL"));
    qunsetenv("LC_ALL");
  }
  for (const char* name : {"LC_TIME", "LC_MESSAGES", "LC_NUMERIC", "LC_MONETARY"})
    qputenv(name, "ja_JP.UTF-8");
  qputenv("LANGUAGE", "ja");
}

bool UseJapanese(QApplication& app) {
  QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
  static MissingQtTexts* missing = nullptr;
  if (!missing) {
    missing = new MissingQtTexts(&app);
    QApplication::installTranslator(missing);
  }
  // Kept for the whole run: the application holds on to the installed translators.
  static QTranslator* qtBase = nullptr;
  if (qtBase) return true;
  auto* translator = new QTranslator(&app);
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), "qtbase", "_", folder) ||
      !QApplication::installTranslator(translator)) {
    delete translator;
    return false;
  }
  qtBase = translator;
  return true;
}

std::string FileToOpen(const QStringList& arguments) {
  for (qsizetype i = 1; i < arguments.size(); ++i)
    if (!arguments[i].startsWith('-') && !arguments[i].isEmpty()) return arguments[i].toStdString();
  return "";
}

int RunKazoru(QApplication& app, bool quitAfterFirstTurn, const std::string& file) {
  SetPlatform(&TheQtPlatform());
  InstallHalfWidthInput(app);
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

  // A notebook page left unsaved by a crash is offered back once the windows are up.
  QTimer::singleShot(0, &app, [file] {
    OfferNotebookRecovery();
    // The page the program was started with (from a file manager) comes after a recovered one, which
    // the notebook's question then saves or gives up.
    if (!file.empty()) OpenNotebookFile(file);
  });
  QObject::connect(&app, &QApplication::lastWindowClosed, &app, &QApplication::quit);
  // Closing the screen ends the program, whatever other windows are still up.
  CalcScreenForm::ProgramEnds = [] { QCoreApplication::exit(0); };
  // Ends the loop without closing the windows: nothing is asked and no settings are written.
  if (quitAfterFirstTurn) QTimer::singleShot(0, &app, [] { QCoreApplication::exit(0); });
  int rc = app.exec();
  CalcScreenForm::ProgramEnds = nullptr;
  NotebookProgramEndsCleanly();
  // Windows still open when the loop ended go without their questions.
  if (TNoteForm* note = TNoteForm::Instance()) delete note;
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  TheQtPlatform().noticeHandler = nullptr;
  SetPlatform(nullptr);
  return rc;
}
