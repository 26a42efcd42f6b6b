// The calculation screen on the offscreen platform with a line wider than the room left of its date
// strip: a sideways scroll bar appears, stays while the line is there, and brings the line's end out from
// under the strip.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>

#include "engine/BunMath.h"
#include "engine/Settings.h"
#include "process/CalcProcManage.h"
#include "screen/ScreenPage.h"
#include "screen/SettingsFile.h"
#include "screen/sikiInp.h"
#include "support/TestSupport.h"
#include "typeset/bunCanvasDsp.h"
#include "ui/screen/InputPanel.h"
#include "ui/screen/Kazoru.h"

namespace {

QScrollBar* SidewaysBar(CalcScreenForm& form) {
  for (QScrollBar* b : form.PageWidget()->findChildren<QScrollBar*>())
    if (b->orientation() == Qt::Horizontal) return b;
  return nullptr;
}

}  // namespace

TEST(ScreenSideways, ALongLineScrollsOutFromUnderTheDateStrip) {
  ResetSettings();
  ResetBunMath();
  ResetProcessState();
  ResetTypeset();
  for (int c = 0; c < static_cast<int>(ScreenCommand::COUNT); ++c)
    SetScreenCommand(static_cast<ScreenCommand>(c), nullptr);
  const std::string dir = TempDir();
  SetSettingsFolders(dir, dir);
  ResetSikiInp();
  PageScrollX = 0;
  {
    CalcScreenForm form(false);
    form.resize(424, 450);
    form.show();
    form.Paint();
    form.PageWidget()->setFocus();
    QScrollBar* bar = SidewaysBar(form);
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(bar->isVisible());

    QTest::keyClicks(form.PageWidget(), "123456789+987654321+111111111+222222222+3333");
    QCoreApplication::processEvents();
    ASSERT_TRUE(bar->isVisible());
    EXPECT_GT(bar->maximum(), 0);
    // Repaints (activation, the cursor, a key that scrolls) keep the bar while the line is there.
    form.Paint();
    QTest::keyClick(form.PageWidget(), Qt::Key_Down);
    QCoreApplication::processEvents();
    EXPECT_TRUE(bar->isVisible());

    // Scrolled to its end, the line's end stands left of the strip.
    bar->setValue(bar->maximum());
    QCoreApplication::processEvents();
    EXPECT_EQ(PageScrollX, bar->maximum());
    if (const char* out = std::getenv("KAZORU_SIDEWAYS_PNG")) form.GrabPage().save(out);
    EXPECT_LE(PageContentRight - PageScrollX, PageViewWidth(ScreenWidth));
    EXPECT_EQ(CursorCell().left, CursorPos.x - PageScrollX + 2);

    // A new line fits again: the bar goes and the page is not left scrolled.
    QTest::keyClick(form.PageWidget(), Qt::Key_Escape);
    ClearLine();
    form.Paint();
    QCoreApplication::processEvents();
    EXPECT_EQ(PageScrollX, 0);
    EXPECT_FALSE(bar->isVisible());
  }
  SetSettingsFolders("", "");
  PageScrollX = 0;
}
