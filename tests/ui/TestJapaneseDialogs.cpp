// Qt's own dialogs speak Japanese whatever the system's language: the file dialog's buttons, column
// captions, the type of a folder and the dates of the default locale come from Qt's Japanese translations and locale;
// every text of the print dialog and its printer properties is Japanese too.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "support/TestSupport.h"
#include "ui/AppStart.h"

namespace {

bool HasLatinLetters(const QString& s) {
  for (QChar c : s)
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
  return false;
}

}  // namespace

TEST(JapaneseDialogs, TheFileDialogSpeaksJapaneseUnderAnEnglishSystem) {
  // The system says English; the program says Japanese all the same.
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  ASSERT_TRUE(UseJapanese(*qApp)) << "qtbase_ja.qm was not found (qt6-translations-l10n)";
  EXPECT_EQ(QLocale().language(), QLocale::Japanese);
  EXPECT_EQ(QLocale().toString(QDate(2026, 12, 10), QLocale::LongFormat),
            QString::fromUtf8("2026年12月10日木曜日"));

  const std::string dir = TempDir();
  std::filesystem::create_directory(dir + "/folder");
  std::ofstream(dir + "/page.siki") << "1+1\r\n";

  QFileDialog dialog(nullptr, "分数式ﾌｧｲﾙ(拡張子.siki)を開く", QString::fromStdString(dir),
                     "分数式ファイル (*.siki *.SIKI);;すべてのファイル (*)");
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setViewMode(QFileDialog::Detail);
  auto* model = dialog.findChild<QFileSystemModel*>();
  ASSERT_NE(model, nullptr);
  dialog.show();
  const QModelIndex root = model->index(QString::fromStdString(dir));
  QTRY_COMPARE_WITH_TIMEOUT(model->rowCount(root), 2, 5000);

  // Buttons and column captions.
  QStringList texts;
  for (QPushButton* b : dialog.findChildren<QPushButton*>())
    if (b->isVisible()) texts << b->text();
  for (int c = 0; c < model->columnCount(); ++c) texts << model->headerData(c, Qt::Horizontal).toString();
  // The type column of both entries. (Its dates follow the system locale, which the program sets in
  // its environment before Qt starts; here Qt has long started.)
  for (int r = 0; r < model->rowCount(root); ++r) texts << model->data(model->index(r, 2, root)).toString();
  for (QString t : texts) {
    // Access keys ("開く(&O)") and the file's own extension are not words.
    t.remove(QRegularExpression("\\(&.\\)")).remove("siki", Qt::CaseInsensitive);
    EXPECT_FALSE(HasLatinLetters(t)) << t.toStdString();
  }
  const QModelIndex folder = model->index(QString::fromStdString(dir + "/folder"));
  EXPECT_EQ(model->data(model->index(folder.row(), 2, root)).toString(), QString::fromUtf8("フォルダー"));
  dialog.reject();
}

namespace {

// Every text a window shows: captions, labels, buttons, group titles, tab titles, list entries.
QStringList ShownTexts(QWidget* top) {
  QStringList texts;
  QList<QWidget*> widgets = top->findChildren<QWidget*>();
  widgets.prepend(top);
  for (QWidget* w : widgets) {
    if (!w->isVisibleTo(top) && w != top) continue;
    if (w->isWindow()) texts << w->windowTitle();
    if (auto* l = qobject_cast<QLabel*>(w)) texts << l->text();
    if (auto* b = qobject_cast<QAbstractButton*>(w)) texts << b->text();
    if (auto* g = qobject_cast<QGroupBox*>(w)) texts << g->title();
    if (auto* t = qobject_cast<QTabWidget*>(w))
      for (int i = 0; i < t->count(); ++i) texts << t->tabText(i);
    if (auto* c = qobject_cast<QComboBox*>(w))
      for (int i = 0; i < c->count(); ++i) texts << c->itemText(i);
  }
  return texts;
}

// A text with a word in Latin letters, other than a file's extension, the name of a paper standard
// ("JIS B4", "A4 Extra", "ARCH A"), a unit or the OK button.
bool HasEnglishWord(QString t) {
  t.remove(QRegularExpression("\\(&.\\)")).remove('&');
  t.remove(
      QRegularExpression("\\b\\d*(siki|pdf|PDF|OK|JIS|ANSI|ARCH|PRC|US|Super|Extra|Plus|Small|K|mm|cm|in|pt|"
                         "pc|DD|CC|DL|[A-E]\\d*)\\b"));
  return HasLatinLetters(t);
}

}  // namespace

TEST(JapaneseDialogs, ThePrintDialogSpeaksJapaneseUnderAnEnglishSystem) {
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  ASSERT_TRUE(UseJapanese(*qApp));
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  QPrintDialog dialog(&printer);
  dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
  JapanesePrintDialog(dialog);  // as the program shows every print dialog
  dialog.show();
  QTest::qWait(100);
  QStringList english;
  for (const QString& t : ShownTexts(&dialog))
    if (HasEnglishWord(t)) english << t;
  // The printer's properties (page, advanced options) from their button.
  for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
    if (!b->isVisible() || b->objectName() != "properties" || !b->isEnabled()) continue;
    QTimer::singleShot(300, [&english] {
      for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->inherits("QPrintPropertiesDialog")) {
          auto* tabs = w->findChild<QTabWidget*>();
          for (int i = 0; tabs && i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            for (const QString& t : ShownTexts(w))
              if (HasEnglishWord(t) && !english.contains(t)) english << t;
          }
          static_cast<QDialog*>(w)->reject();
        }
    });
    b->click();
  }
  EXPECT_TRUE(english.isEmpty()) << english.join(" | ").toStdString();
  dialog.reject();
  // The options a printer of the print system adds (two-sided printing, the properties' tabs) appear only
  // with such a printer: their texts are asked of the translations directly.
  for (const char* context : {"QPrintDialog", "QPrintPropertiesDialog", "QUnixPrintWidget",
                              "QPrintSettingsOutput", "QPrintPropertiesWidget"})
    for (const char* text :
         {"Pages", "Double Sided Printing", "Off", "On", "Long side binding", "Short side binding",
          "Advanced", "Borderless", "Invalid Pages Definition", "Duplex Settings Conflicts",
          "There are conflicts in duplex settings. Do you want to fix them?", "Page Setup Conflicts",
          "There are conflicts in page setup options. Do you want to fix them?", "Advanced Option Conflicts",
          "There are conflicts in some advanced options. Do you want to fix them?",
          "There are conflicts in some options. Please fix them.",
          "Specify pages or ranges separated by commas. Ranges are specified by two numbers separated by a "
          "hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.",
          "%1 does not follow the correct syntax. Please use ',' to separate ranges and pages, '-' to define "
          "ranges and make sure ranges do not intersect with each other."}) {
      const QString shown = QCoreApplication::translate(context, text);
      EXPECT_FALSE(HasLatinLetters(shown)) << context << ": " << text;
    }
}
