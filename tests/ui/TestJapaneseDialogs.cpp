// Qt's own dialogs speak Japanese whatever the system's language: the file dialog's buttons, column
// captions, the type of a folder and the dates of the default locale come from Qt's Japanese translations and locale.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
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
