// Start-up of the desktop program in its order: the module tables are ready, the platform door and the
// notice box are installed, the calculation screen is built (reading the settings file), then the input
// panel, which clears the line; closing the screen writes the settings and ends the event loop.
#include "ui/AppStart.h"

#include <algorithm>

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QPrintDialog>
#include <QTimer>
#include <QTranslator>

#include "classroom/Assignment.h"
#include "platform/Platform.h"
#include "process/CalcProcManage.h"
#include "screen/sikiInp.h"
#include "screen/sikiInpCommands.h"
#include "ui/HalfWidthFields.h"
#include "ui/QtPlatform.h"
#include "ui/classroom/ClassSummaryWindow.h"
#include "ui/classroom/PupilWorkWindow.h"
#include "ui/notebook/Notebook.h"
#include "ui/screen/InputPanel.h"
#include "ui/screen/Kazoru.h"
#include "ui/screen/LineServices.h"
#include "ui/tools/AboutBox.h"
#include "ui/tools/BunSikiEdit.h"
#include "ui/tools/SplMsgBox.h"
#include "ui/tools/kihonSet.h"

namespace {

// Texts of Qt's file and print dialogs that Qt's Japanese translations leave in English.
struct MissingText {
  const char* source;
  const char* japanese;
};
constexpr MissingText FILE_TEXTS[] = {
    {"Folder", "フォルダー"},
    {"Drive", "ドライブ"},
    {"File", "ファイル"},
    {"%1 File", "%1 ファイル"},
};
constexpr MissingText PRINT_TEXTS[] = {
    {"Pages", "ページ"},
    {"Double Sided Printing", "両面印刷"},
    {"Off", "しない"},
    {"Long side binding", "長辺とじ"},
    {"Short side binding", "短辺とじ"},
    {"Advanced", "詳細設定"},
    {"Page", "用紙"},
    {"Properties", "プロパティ"},
    {"Options", "オプション"},
    {"Copies", "部数"},
    {"Pages from", "開始ページ"},
    {"to", "～"},
    {"Print range", "印刷範囲"},
    {"Print all", "すべて"},
    {"Current Page", "現在のページ"},
    {"Selection", "選択した部分"},
    {"Output Settings", "出力の設定"},
    {"Color Mode", "カラーモード"},
    {"Color", "カラー"},
    {"Grayscale", "グレースケール"},
    {"Duplex Printing", "両面印刷"},
    {"None", "しない"},
    {"Long side", "長辺とじ"},
    {"Short side", "短辺とじ"},
    {"Page Set:", "印刷するページ:"},
    {"All Pages", "すべてのページ"},
    {"Odd Pages", "奇数ページ"},
    {"Even Pages", "偶数ページ"},
    {"Pages per sheet:", "1枚あたりのページ数:"},
    {"Page Layout", "ページのレイアウト"},
    // Shown only with a printer of the print system: the pages box, the borderless option and the
    // warnings about settings that contradict each other.
    {"Specify pages or ranges separated by commas. Ranges are specified by two numbers separated by a "
     "hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.",
     "ページや範囲をコンマで区切って書きます。範囲は2つの数をハイフンでつなぎます。例: 3,5-7,9 は 3、5、6、7、9 "
     "ページを印刷します。"},
    {"Invalid Pages Definition", "ページの指定のまちがい"},
    {"%1 does not follow the correct syntax. Please use ',' to separate ranges and pages, '-' to define ranges "
     "and make sure ranges do not intersect with each other.",
     "%1 は正しい書き方ではありません。ページや範囲は「,」で区切り、範囲は「-」でつないで、範囲どうしが"
     "重ならないようにしてください。"},
    {"Duplex Settings Conflicts", "両面印刷の設定の食い違い"},
    {"There are conflicts in duplex settings. Do you want to fix them?",
     "両面印刷の設定に食い違いがあります。直しますか？"},
    {"Page Setup Conflicts", "用紙の設定の食い違い"},
    {"There are conflicts in page setup options. Do you want to fix them?",
     "用紙の設定に食い違いがあります。直しますか？"},
    {"Advanced Option Conflicts", "詳細設定の食い違い"},
    {"There are conflicts in some advanced options. Do you want to fix them?",
     "詳細設定のいくつかに食い違いがあります。直しますか？"},
    {"There are conflicts in some options. Please fix them.",
     "いくつかの設定に食い違いがあります。直してください。"},
    {"Borderless", "ふちなし印刷"},
    {"On", "する"},
};

bool IsPrintContext(const QByteArray& c) {
  for (const char* prefix : {"QPrint", "QPage", "QUnixPrint", "QCups", "QPPD", "QAbstractPrint"})
    if (c.startsWith(prefix)) return true;
  return false;
}

class MissingQtTexts : public QTranslator {
 public:
  using QTranslator::QTranslator;
  QString translate(const char* context, const char* source, const char* disambiguation,
                    int n) const override {
    (void)disambiguation;
    (void)n;
    const QByteArray c(context), t(source);
    if (c == "QAbstractFileIconProvider" || c == "QFileSystemModel" || c == "QFileDialog") {
      for (const MissingText& m : FILE_TEXTS)
        if (t == m.source) return QString::fromUtf8(m.japanese);
    } else if (IsPrintContext(c)) {
      for (const MissingText& m : PRINT_TEXTS)
        if (t == m.source) return QString::fromUtf8(m.japanese);
    }
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

namespace {

// "2 (2x1)" of the pages per sheet as "2 (2×1)"; any other text is kept as it is.
QString GridInJapanese(const QString& text) {
  const qsizetype open = text.indexOf(" (");
  const qsizetype cross = text.indexOf('x', open + 2);
  if (open <= 0 || cross < 0 || !text.endsWith(')')) return text;
  const auto digits = [](QStringView v) {
    return !v.isEmpty() && std::all_of(v.begin(), v.end(), [](QChar c) { return c >= '0' && c <= '9'; });
  };
  const QStringView all(text);
  const QStringView count = all.first(open);
  const QStringView across = all.sliced(open + 2, cross - open - 2);
  const QStringView down = all.sliced(cross + 1, all.size() - cross - 2);
  if (!digits(count) || !digits(across) || !digits(down)) return text;
  return count.toString() + " (" + across.toString() + QString::fromUtf8("×") + down.toString() + ")";
}

void WritePagesPerSheet(QWidget& window) {
  for (QComboBox* box : window.findChildren<QComboBox*>())
    for (int i = 0; i < box->count(); ++i) {
      const QString text = box->itemText(i);
      const QString japanese = GridInJapanese(text);
      if (japanese != text) box->setItemText(i, japanese);
    }
}

// The pages per sheet sit in the printer's properties, a window of its own made when its button is first
// pressed: every window the print dialog opens is rewritten as it is shown.
class PropertiesWatch : public QObject {
 public:
  explicit PropertiesWatch(QPrintDialog& dialog) : QObject(&dialog), dialog_(dialog) {
    qApp->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
      auto* window = static_cast<QWidget*>(watched);
      if (window->isWindow() && window != &dialog_ && window->parentWidget() &&
          window->parentWidget()->window() == &dialog_)
        WritePagesPerSheet(*window);
    }
    return false;
  }

 private:
  QPrintDialog& dialog_;
};

}  // namespace

void JapanesePrintDialog(QPrintDialog& dialog) {
  WritePagesPerSheet(dialog);
  // The lists are filled again when the dialog is shown: once more on its first turn of the loop.
  QTimer::singleShot(0, &dialog, [&dialog] { WritePagesPerSheet(dialog); });
  new PropertiesWatch(dialog);
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

QStringList FilesToOpen(const QStringList& arguments) {
  QStringList files;
  for (qsizetype i = 1; i < arguments.size(); ++i)
    if (!arguments[i].startsWith('-') && !arguments[i].isEmpty()) files << arguments[i];
  return files;
}

bool IsResultFile(const QString& path) { return path.endsWith(".kazoru", Qt::CaseInsensitive); }

bool IsAssignmentText(const QString& argument) {
  if (QFileInfo::exists(argument)) return false;
  if (argument.contains("#kadai=")) return true;
  Assignment a;
  return DecodeAssignment(argument.toStdString(), a).empty();
}

void OpenStartFiles(const QStringList& files, QWidget* screen) {
  QStringList results, pages, codes;
  for (const QString& f : files) (IsResultFile(f) ? results : IsAssignmentText(f) ? codes : pages) << f;
  if (!pages.isEmpty()) OpenNotebookFile(pages.first().toStdString());
  const auto bringUp = [](QWidget* w) {
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->show();
    w->raise();
    w->activateWindow();
  };
  if (!codes.isEmpty()) {
    auto* work = new TPupilWorkForm(screen);
    const QString why = work->OpenCode(codes.first());
    if (why.isEmpty()) {
      bringUp(work);
    } else {
      delete work;
      ShowMessage(why.toStdString(), "課題を開く");
    }
  }
  if (results.isEmpty()) return;
  // One file is one pupil's work: the pupil goes on with it, or a teacher looks at it. A file that cannot
  // be shown goes to the summary, which says why.
  if (results.size() == 1) {
    auto* work = new TPupilWorkForm(screen);
    if (work->OpenResultFile(results.first()).isEmpty()) {
      bringUp(work);
      return;
    }
    delete work;
  }
  // The teacher opened the class's files: the summary comes up over everything, with the focus.
  auto* summary = new TClassSummaryForm(screen);
  summary->OpenPaths(results);
  bringUp(summary);
}

int RunKazoru(QApplication& app, bool quitAfterFirstTurn, const QStringList& files) {
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
  QTimer::singleShot(0, &app, [files, &screen] {
    OfferNotebookRecovery();
    // The files the program was started with (from a file manager) come after a recovered page, which
    // the notebook's question then saves or gives up.
    OpenStartFiles(files, &screen);
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
