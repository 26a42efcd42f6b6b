// The calculation screen as a pupil meets it under a real window manager (openbox on a virtual X server):
// the view follows the cursor along a line longer than the window while keys are typed and rubbed out,
// the program starts without Qt's complaints about font sizes, and a long goal is written whole down the
// side strip. Keys are real X events; pictures are saved when KAZORU_SHOTS names a folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <QTest>
#include <cstdlib>
#include <memory>
#include <string>

#include "engine/Settings.h"
#include "platform/Platform.h"
#include "screen/ScreenPage.h"
#include "screen/SettingsFile.h"
#include "screen/sikiInp.h"
#include "screen/sikiInpCommands.h"
#include "support/TestSupport.h"
#include "ui/QtPlatform.h"
#include "ui/screen/InputPanel.h"
#include "ui/screen/Kazoru.h"
#include "ui/screen/LineServices.h"

namespace {

void Shot(const QImage& image, const char* name) {
  if (const char* d = std::getenv("KAZORU_SHOTS")) image.save(QString::fromUtf8(d) + "/" + name);
}

void XdoTool(const QStringList& args) {
  QProcess p;
  p.start("xdotool", args);
  p.waitForFinished(20000);
}

// Qt's warnings while the program runs.
QStringList Warnings;
void Collect(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtWarningMsg || type == QtCriticalMsg) Warnings << text;
}

class DesktopScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = TempDir();
    SetSettingsFolders(dir, dir);
    SetPlatform(&TheQtPlatform());
    Warnings.clear();
    previous = qInstallMessageHandler(Collect);
  }
  void TearDown() override {
    qInstallMessageHandler(previous);
    screen.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (int c = 0; c < static_cast<int>(ScreenCommand::COUNT); ++c)
      SetScreenCommand(static_cast<ScreenCommand>(c), nullptr);
    SetSettingsFolders("", "");
    SetPlatform(&TestPlatform());
  }

  // The screen with its input panel, as the program starts it, at the settings' size.
  void Start() {
    screen = std::make_unique<CalcScreenForm>(false);
    InstallLineServices();
    screen->show();
    panel = new TInputForm(screen.get());
    screen->SetInputPanel(panel);
    panel->Switch();
    screen->Paint();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(screen.get()));
    screen->activateWindow();
    screen->PageWidget()->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return screen->isActiveWindow(); }, 5000));
  }

  // The cursor cell lies inside the page's view, left of the date strip.
  bool CursorInView() const {
    const CanvasRect c = CursorCell();
    return c.left >= 0 && c.right <= PageViewWidth(ScreenWidth) && c.top >= 0 && c.bottom <= ScreenHeight;
  }

  std::string dir;
  std::unique_ptr<CalcScreenForm> screen;
  TInputForm* panel = nullptr;
  QtMessageHandler previous = nullptr;
};

}  // namespace

TEST_F(DesktopScreen, TheViewFollowsTheCursorAlongALongLine) {
  Start();
  // Typed key by key: the cursor is in view after every stretch of the line.
  QString typed;
  for (int part = 0; part < 12; ++part) {
    XdoTool({"type", "--delay", "20", "12b5+"});
    QTest::qWait(150);
    QCoreApplication::processEvents();
    typed += "12b5+";
    EXPECT_TRUE(CursorInView()) << "after " << typed.toStdString() << ": cursor at " << CursorCell().left
                                << " of " << PageViewWidth(ScreenWidth);
  }
  ASSERT_EQ(LineText.size(), static_cast<size_t>(typed.size()));
  EXPECT_GT(PageScrollX, 0);
  Shot(screen->grab().toImage(), "long-line-end.png");
  // Rubbed out again: the view comes back with the cursor.
  for (int k = 0; k < 40; ++k) XdoTool({"key", "BackSpace"});
  QTest::qWait(200);
  QCoreApplication::processEvents();
  EXPECT_TRUE(CursorInView()) << "cursor at " << CursorCell().left;
  Shot(screen->grab().toImage(), "long-line-back.png");
}

TEST_F(DesktopScreen, StartingAsksForNoFontOfSizeZero) {
  for (int large : {0, 1}) {
    OOMOJI = large;
    Start();
    QTest::qWait(200);
    for (const QString& w : Warnings) EXPECT_FALSE(w.contains("Pixel size")) << w.toStdString();
    Shot(panel->grab().toImage(), large ? "panel-large.png" : "panel.png");
    screen.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  OOMOJI = 0;
}

TEST_F(DesktopScreen, AThirtyThreeCharacterGoalIsWrittenWhole) {
  MOKU_SOUSUU = 1;
  MOKUHYOU[0] = "毎日かならず計算練習をして、まちがえた問題をやり直し二十問ずつとけ";
  DSPBANGOU = 0;
  WAKIGAKI = 1;
  Start();
  QTest::qWait(200);
  QWidget* side = screen->SidePanel();
  ASSERT_TRUE(side->isVisible());
  const QImage strip = side->grab().toImage();
  Shot(screen->grab().toImage(), "goal-strip.png");
  // The last character's ink ends above the strip's foot: the bottom rows are bare.
  int lowestInk = -1;
  for (int y = 0; y < strip.height(); ++y)
    for (int x = 0; x < strip.width(); ++x)
      if (qGray(strip.pixel(x, y)) < 100) lowestInk = y;
  EXPECT_LT(lowestInk, strip.height() - 2);
  MOKU_SOUSUU = 0;
  MOKUHYOU[0].clear();
  DSPBANGOU = 0;
}
