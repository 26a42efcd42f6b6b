// The version box on the offscreen platform: caption, labels, pictures, placement beside the calculation
// screen, and the OK button that closes it from the screen's command.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>

#include "screen/sikiInp.h"
#include "support/TestSupport.h"
#include "ui/QtPlatform.h"
#include "ui/tools/AboutBox.h"

TEST(AboutBox, CaptionLabelsAndButton) {
  TAboutForm box;
  EXPECT_EQ(box.windowTitle(), QString::fromUtf8("『Kazoru』バージョン情報"));
  QStringList texts;
  for (QLabel* l : box.findChildren<QLabel*>()) texts << l->text();
  for (const char* t : {"V 1.00（R）", "『Kazoru』", "《分数計算器》", "ナナツボシ"})
    EXPECT_TRUE(texts.contains(QString::fromUtf8(t))) << t;
  EXPECT_EQ(box.OkButton()->text(), QString::fromUtf8("Ｏ Ｋ"));
  EXPECT_TRUE(box.OkButton()->isDefault());
}

TEST(AboutBox, PicturesAreDrawn) {
  TAboutForm box;
  box.show();
  QImage img = box.grab().toImage();
  if (const char* dir = std::getenv("KAZORU_SCREENSHOT_DIR")) img.save(QString::fromUtf8(dir) + "/about.png");
  // The band's teal, the pie's orange and the stars' yellow are all on the box.
  bool teal = false, orange = false, yellow = false;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      QColor c = img.pixelColor(x, y);
      teal |= c == QColor(0, 128, 128);
      orange |= c == QColor(255, 170, 60);
      yellow |= c == QColor(255, 230, 90);
    }
  EXPECT_TRUE(teal);
  EXPECT_TRUE(orange);
  EXPECT_TRUE(yellow);
}

TEST(AboutBox, PlacedBesideTheScreenAndClosedByOk) {
  QWidget screen;
  screen.setGeometry(300, 200, 400, 300);
  screen.show();
  TheQtPlatform().SetOwner(&screen);
  InstallAboutCommand();
  ASSERT_TRUE(HasScreenCommand(ScreenCommand::VersionBox));

  const QPoint expected = screen.frameGeometry().topLeft() + QPoint(200, 100);
  QPoint where;
  bool closedByOk = false;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<TAboutForm*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    where = box->frameGeometry().topLeft();
    QTest::keyClick(box, Qt::Key_Return);  // the default button
    closedByOk = !box->isVisible();
  });
  EXPECT_TRUE(RunScreenCommand(ScreenCommand::VersionBox));
  EXPECT_TRUE(closedByOk);
  EXPECT_EQ(where, expected);

  SetScreenCommand(ScreenCommand::VersionBox, nullptr);
  TheQtPlatform().SetOwner(nullptr);
}
