// The bundled help pages, read as the help window reads them: every key and feature a pupil or a teacher
// can use is named somewhere, every link and picture of a page is bundled with it, and no page claims a
// key works only where it does not.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextDocument>

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

QString Read(const QString& name) {
  QFile f(":/help/" + name);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(f.readAll());
}

// A page as the reader sees it: the text without its markup.
QString Plain(const QString& html) {
  QTextDocument d;
  d.setHtml(html);
  return d.toPlainText();
}

QStringList Pages() { return QDir(":/help").entryList({"*.html"}, QDir::Files, QDir::Name); }

}  // namespace

TEST(HelpPages, EveryKeyAndFeatureIsNamed) {
  QString all;
  for (const QString& page : Pages()) all += Plain(Read(page)) + "\n";
  ASSERT_FALSE(all.isEmpty());
  const char* const named[] = {
      "Ctrl+G",     "Ctrl+Shift+G",   "Ctrl+R",           "読R",
      "Ctrl+＋",    "Ctrl+－",        "Ctrl+0",           "色覚にやさしい配色",
      "大きな文字", "問題づくり",     "「＝」で始まる行", "途中式",
      "復元",       "Alt+A",          "先生方へ",         "課題として配る",
      "QR コード",  "クラスのまとめ", ".kazoru",          "CSV",
      "課題を開く", "続きを解く",     "解答を見る",
  };
  for (const char* what : named) EXPECT_TRUE(all.contains(U(what))) << what;
  // Alt+A opens the detailed settings on the calculation screen too, not only from the input panel.
  EXPECT_FALSE(all.contains(U("入力パネルから"))) << "Alt+A";
}

TEST(HelpPages, EveryLinkAndPictureIsBundled) {
  const QRegularExpression ref(R"re((?:href|src)="([^"#:]+)")re");
  int pictures = 0;
  for (const QString& page : Pages()) {
    const QString html = Read(page);
    for (auto m = ref.globalMatch(html); m.hasNext();) {
      const QString target = m.next().captured(1);
      EXPECT_TRUE(QFile::exists(":/help/" + target)) << page.toStdString() << " → " << target.toStdString();
      pictures += target.endsWith(".png");
    }
  }
  EXPECT_GE(pictures, 1);
}

// The pictures that say it better than words: a checked line, the sheet dialog, a notebook page with working,
// handing an assignment out, its printed sheet and the class summary.
TEST(HelpPages, PicturesShowWhatWordsSayLess) {
  QString all;
  for (const QString& page : Pages()) all += Read(page);
  for (const char* picture : {"steps-line.png", "sheet-dialog.png", "notebook-working.png",
                              "assign-dialog.png", "assign-sheet.png", "class-summary.png"})
    EXPECT_TRUE(all.contains(QString::fromUtf8("src=\"") + picture + "\"")) << picture;
}
