// The weekly goals editor on the offscreen platform: it opens with the listed goals, refuses an eleventh
// line (pasted or typed) and keeps the earlier text, decides or cancels by its access keys, and its font
// dialog applies the goal font at once or on OK.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <memory>

#include "engine/Settings.h"
#include "support/OnModal.h"
#include "support/TestSupport.h"
#include "tools/Mokuhyou.h"
#include "tools/kihonSet.h"
#include "ui/tools/Mokuhyou.h"

namespace {

const std::string LIMIT = std::string("Warning!!: ") + MOKUHYOU_LIMIT_TEXT;

// An access key clicks its button a moment after the key (the button is seen pressed first).
bool WaitUntil(std::function<bool()> done) { return QTest::qWaitFor(done, 2000); }

class GoalsEditor : public ::testing::Test {
 protected:
  void SetUp() override {
    ConditionsView = ConditionsScreenHooks{};
    ConditionsView.goalDisplay = [this] { ++goalRedraws; };
  }
  void TearDown() override {
    form.reset();
    ConditionsView = ConditionsScreenHooks{};
  }

  void Open(const std::vector<std::string>& goals) {
    form = std::make_unique<TMokuhyouEditForm>(goals);
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    TestPlatform().Clear();
  }
  std::string Text() const { return form->TextField()->toPlainText().toStdString(); }

  std::unique_ptr<TMokuhyouEditForm> form;
  int goalRedraws = 0;
};

}  // namespace

TEST_F(GoalsEditor, OpensWithTheListedGoals) {
  Open({"宿題", "見直し"});
  EXPECT_EQ(form->windowTitle(), QString::fromUtf8("●今週の目標(10個)●"));
  EXPECT_EQ(Text(), "宿題\n見直し");
  EXPECT_TRUE(MokuhyouEditOpen);
  EXPECT_TRUE(form->TextField()->hasFocus());
  EXPECT_EQ(form->TextField()->lineWrapMode(), QPlainTextEdit::NoWrap);
  if (const char* dir = std::getenv("KAZORU_SCREENSHOT_DIR"))
    form->grab().save(QString::fromUtf8(dir) + "/goals.png");
  form->close();
  EXPECT_FALSE(MokuhyouEditOpen);
}

TEST_F(GoalsEditor, PastingTwelveLinesIsRefused) {
  Open({"前の目標"});
  QString twelve;
  for (int i = 1; i <= 12; ++i) twelve += QString("goal %1\n").arg(i);
  QApplication::clipboard()->setText(twelve);
  form->TextField()->moveCursor(QTextCursor::End);
  QTest::keyClick(form->TextField(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(TestPlatform().ShownTexts(), std::vector<std::string>{LIMIT});
  EXPECT_EQ(Text(), "前の目標");
  // The caret is back where it was.
  EXPECT_EQ(form->TextField()->textCursor().position(), 4);

  // Nine lines after the first make ten, which is accepted.
  QString nine;
  for (int i = 1; i <= 9; ++i) nine += QString("\ngoal %1").arg(i);
  QApplication::clipboard()->setText(nine);
  TestPlatform().Clear();
  QTest::keyClick(form->TextField(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_TRUE(TestPlatform().ShownTexts().empty());
  EXPECT_EQ(CountGoalLines(Text()), 10);

  // Enter after the tenth line puts the caret on a new line; typing there would make an eleventh goal.
  QTest::keyClick(form->TextField(), Qt::Key_Return);
  EXPECT_TRUE(TestPlatform().ShownTexts().empty());
  QTest::keyClicks(form->TextField(), "x");
  EXPECT_EQ(TestPlatform().ShownTexts(), std::vector<std::string>{LIMIT});
  EXPECT_EQ(CountGoalLines(Text()), 10);
  EXPECT_EQ(Text().back(), '\n');
}

TEST_F(GoalsEditor, LettersAreTextAndTheButtonsAnswerToAltKeys) {
  Open({});
  QTest::keyClicks(form->TextField(), "dcf");
  EXPECT_EQ(Text(), "dcf");
  EXPECT_TRUE(form->isVisible());
  QTest::keyClick(form->TextField(), Qt::Key_Return);
  QTest::keyClicks(form->TextField(), "g");
  EXPECT_TRUE(form->isVisible());
  QTest::keyClick(form.get(), Qt::Key_D, Qt::AltModifier);
  EXPECT_TRUE(WaitUntil([&] { return !form->isVisible(); }));
  EXPECT_TRUE(form->Changed());
  EXPECT_EQ(form->Lines(), (std::vector<std::string>{"dcf", "g"}));
  EXPECT_FALSE(MokuhyouEditOpen);
}

TEST_F(GoalsEditor, CancelAndEscapeReportNoChange) {
  Open({"a"});
  QTest::keyClicks(form->TextField(), "b");
  QTest::keyClick(form.get(), Qt::Key_C, Qt::AltModifier);
  EXPECT_TRUE(WaitUntil([&] { return !form->isVisible(); }));
  EXPECT_FALSE(form->Changed());

  Open({"a"});
  QTest::keyClick(form->TextField(), Qt::Key_Escape);
  EXPECT_FALSE(form->isVisible());
  EXPECT_FALSE(form->Changed());
}

TEST_F(GoalsEditor, FontDialogAppliesAtOnceAndOnOk) {
  Open({"a"});
  const QStringList families = QFontDatabase::families();
  ASSERT_FALSE(families.isEmpty());
  const QString face = families.first();

  // Apply takes name, size and colour at once; cancelling afterwards keeps what was applied.
  OnModal<GoalFontDialog>([&](GoalFontDialog* dialog) {
    ASSERT_NE(dialog->ApplyButton(), nullptr);
    dialog->setCurrentFont(QFont(face, 20));
    dialog->SetColour(QColor(0, 0, 255));
    QTest::mouseClick(dialog->ApplyButton(), Qt::LeftButton);
    EXPECT_EQ(MOKU_FONTSIZE, 20);
    EXPECT_EQ(FONTCOLOR, 0xFF0000);  // blue as 0x00BBGGRR
    EXPECT_EQ(MOKU_FONTNAME, face.toStdString());
    dialog->reject();
  });
  goalRedraws = 0;
  QTest::keyClick(form.get(), Qt::Key_F, Qt::AltModifier);
  EXPECT_TRUE(WaitUntil([&] { return goalRedraws >= 2; }));  // on Apply and after the dialog
  EXPECT_EQ(MOKU_FONTSIZE, 20);

  // OK takes the dialog's font.
  OnModal<GoalFontDialog>([&](GoalFontDialog* dialog) {
    dialog->setCurrentFont(QFont(face, 16));
    dialog->accept();
  });
  QTest::mouseClick(form->FontButton(), Qt::LeftButton);
  EXPECT_EQ(MOKU_FONTSIZE, 16);
  EXPECT_EQ(FONTCOLOR, 0xFF0000);
  // The editor itself stays open with its text.
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(Text(), "a");
}
