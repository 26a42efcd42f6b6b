// The conditions settings window on the offscreen platform: it opens with the settings, each control
// changes its setting at once and makes the calculation screen react, the π field checks what is typed,
// the Alt keys act, the goals are edited through the goals editor, and closing hands over the π text and
// the answer form code.
#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <memory>

#include "engine/BunMath.h"
#include "engine/Settings.h"
#include "process/CalcProcManage.h"
#include "screen/ScreenPage.h"
#include "screen/sikiInp.h"
#include "support/OnModal.h"
#include "support/TestSupport.h"
#include "tools/Mokuhyou.h"
#include "tools/kihonSet.h"
#include "ui/screen/Kazoru.h"
#include "ui/tools/Mokuhyou.h"
#include "ui/tools/kihonSet.h"

namespace {

std::vector<std::string> Messages() { return TestPlatform().ShownTexts(); }
std::string Warn(const char* text) { return std::string("警告！: ") + text; }

class JoukenWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ScreenView = ScreenHooks{};
    ScreenView.repaint = [this] { ++repaints; };
    ConditionsView = ConditionsScreenHooks{};
    ConditionsView.cursorPeriod = [this](int ms) { period = ms; };
    ConditionsView.goalDisplay = [this] { ++goalRedraws; };
    SetScreenCommand(ScreenCommand::FontDialog, [this] { return ++fontCommands, true; });
    SetScreenCommand(ScreenCommand::OpenProcessSettings, [this] { return ++detailCommands, true; });
  }
  void TearDown() override {
    form.reset();
    ScreenView = ScreenHooks{};
    ConditionsView = ConditionsScreenHooks{};
    SetScreenCommand(ScreenCommand::FontDialog, nullptr);
    SetScreenCommand(ScreenCommand::OpenProcessSettings, nullptr);
  }

  void Open() {
    form = std::make_unique<TJoukenForm>();
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    // Opening itself changes no setting and repaints nothing but the goal.
    repaints = 0;
    goalRedraws = 0;
    TestPlatform().Clear();
  }

  void SetGoals(std::initializer_list<const char*> goals) {
    std::vector<std::string> g(goals.begin(), goals.end());
    StoreGoals(g);
  }

  std::unique_ptr<TJoukenForm> form;
  int repaints = 0;
  int goalRedraws = 0;
  int period = 0;
  int fontCommands = 0;
  int detailCommands = 0;
};

}  // namespace

TEST_F(JoukenWindow, OpensWithTheSettings) {
  CURSOLTEMPO = 600;
  SetGoals({"宿題をする", "見直しをする", "字をていねいに"});
  DSPBANGOU = 1;
  JIOKURI = 120;
  PaiText = "3.1416";
  EQUAL_KAIGYO = 1;
  KAKERU_ABR = 1;
  WAKIGAKI = 0;
  ANSSYU = 2;
  SYOUDSP = 1;
  PAGEA4BAI = 150;
  GYOKEISUU = 7;
  PROCDSP = 1;
  form = std::make_unique<TJoukenForm>();
  EXPECT_TRUE(JoukenOpen);
  EXPECT_EQ(goalRedraws, 1);
  EXPECT_EQ(form->windowTitle(), QString::fromUtf8("▼条件設定▼"));
  EXPECT_EQ(form->CursorPeriodField()->value(), 600);
  ASSERT_EQ(form->GoalList()->count(), 3);
  EXPECT_EQ(form->GoalList()->currentIndex(), 1);
  EXPECT_EQ(form->GoalList()->currentText(), QString::fromUtf8("見直しをする"));
  EXPECT_EQ(form->CharAdvanceField()->value(), 120);
  EXPECT_EQ(form->PaiField()->text(), "3.1416");
  EXPECT_TRUE(form->EqualKaigyoBox()->isChecked());
  EXPECT_FALSE(form->InputStrBox()->isChecked());
  EXPECT_TRUE(form->KakeruAbrBox()->isChecked());
  EXPECT_FALSE(form->WakigakiBox()->isChecked());
  EXPECT_TRUE(form->SbarBox()->isChecked());
  EXPECT_EQ(form->AnswerGroup()->checkedId(), 2);
  EXPECT_TRUE(form->DecimalBox()->isChecked());
  EXPECT_EQ(form->PageHeightField()->value(), 150);
  EXPECT_EQ(form->LinePitchField()->value(), 7);
  EXPECT_EQ(form->ProcessGroup()->checkedId(), 1);
  EXPECT_EQ(repaints, 0);
  EXPECT_EQ(period, 0);
  EXPECT_TRUE(Messages().empty());
  // The captions as the pupil reads them.
  EXPECT_EQ(form->EqualKaigyoBox()->text(), QString::fromUtf8("\"＝\"で改行"));
  EXPECT_EQ(form->KakeruAbrBox()->text(), QString::fromUtf8("'×' の省略 可"));
  EXPECT_EQ(form->Pai19Button()->text(), QString::fromUtf8("19ｹﾀ▲"));
  EXPECT_EQ(form->AnswerGroup()->button(2)->text(), QString::fromUtf8("帯・仮分数両方"));
  EXPECT_EQ(form->ProcessGroup()->button(1)->text(), QString::fromUtf8("表示する"));
}

TEST_F(JoukenWindow, GoalOutsideTheListSelectsNothing) {
  SetGoals({"a", "b"});
  DSPBANGOU = 5;
  Open();
  EXPECT_EQ(form->GoalList()->currentIndex(), -1);
  EXPECT_EQ(DSPBANGOU, 5);
}

TEST_F(JoukenWindow, NumberFieldsStepWithTheArrowsOnly) {
  Open();
  QTest::keyClick(form->CursorPeriodField(), Qt::Key_Up);
  EXPECT_EQ(CURSOLTEMPO, 410);
  EXPECT_EQ(period, 410);
  // The text cannot be typed into.
  QTest::keyClicks(form->CursorPeriodField(), "9");
  EXPECT_EQ(CURSOLTEMPO, 410);
  form->CursorPeriodField()->stepBy(-1000);
  EXPECT_EQ(CURSOLTEMPO, CURSOLTEMPO_MIN);
  EXPECT_EQ(period, CURSOLTEMPO_MIN);

  QTest::keyClick(form->CharAdvanceField(), Qt::Key_Up);
  EXPECT_EQ(JIOKURI, 101);
  EXPECT_EQ(goalRedraws, 1);
  form->CharAdvanceField()->stepBy(500);
  EXPECT_EQ(JIOKURI, JIOKURI_MAX);

  QTest::keyClick(form->PageHeightField(), Qt::Key_Up);
  EXPECT_EQ(PAGEA4BAI, 105);
  EXPECT_EQ(PageLength(), A4Height() * 105 / 100);
  form->PageHeightField()->stepBy(-100);
  EXPECT_EQ(PAGEA4BAI, PAGEA4BAI_MIN);

  QTest::keyClick(form->LinePitchField(), Qt::Key_Down);
  EXPECT_EQ(GYOKEISUU, 4);
  form->LinePitchField()->stepBy(20);
  EXPECT_EQ(GYOKEISUU, GYOKEISUU_MAX);
  EXPECT_EQ(repaints, 4);
}

TEST_F(JoukenWindow, GoalListChoosesTheGoalShown) {
  SetGoals({"a", "b", "c"});
  Open();
  form->GoalList()->setFocus();
  QTest::keyClick(form->GoalList(), Qt::Key_Down);
  EXPECT_EQ(DSPBANGOU, 1);
  QTest::keyClick(form->GoalList(), Qt::Key_Down);
  EXPECT_EQ(DSPBANGOU, 2);
  EXPECT_EQ(goalRedraws, 2);
}

TEST_F(JoukenWindow, CheckBoxesAndRadioGroups) {
  Open();
  struct {
    QCheckBox* box;
    int* setting;
    bool repaints;
  } boxes[] = {
      {form->EqualKaigyoBox(), &EQUAL_KAIGYO, true},
      {form->InputStrBox(), &INPUTSTR_DSP, true},
      {form->KakeruAbrBox(), &KAKERU_ABR, false},
      {form->WakigakiBox(), &WAKIGAKI, true},
      {form->SbarBox(), &SBARDSP, true},
      {form->DecimalBox(), &SYOUDSP, false},
  };
  for (auto& b : boxes) {
    SCOPED_TRACE(b.box->text().toStdString());
    const int before = *b.setting;
    const int repaintsBefore = repaints;
    QTest::mouseClick(b.box, Qt::LeftButton);
    EXPECT_EQ(*b.setting, before ? 0 : 1);
    QTest::mouseClick(b.box, Qt::LeftButton);
    EXPECT_EQ(*b.setting, before);
    EXPECT_EQ(repaints - repaintsBefore, b.repaints ? 2 : 0);
  }

  for (int item : {1, 2, 0}) {
    QTest::mouseClick(form->AnswerGroup()->button(item), Qt::LeftButton);
    EXPECT_EQ(ANSSYU, item);
  }

  CharHeight = 20;
  const int y = ComputeLineOrigin().y;
  QTest::mouseClick(form->ProcessGroup()->button(1), Qt::LeftButton);
  EXPECT_EQ(PROCDSP, 1);
  EXPECT_EQ(LineOrigin.y, y + 30);
  QTest::mouseClick(form->ProcessGroup()->button(0), Qt::LeftButton);
  EXPECT_EQ(PROCDSP, 0);
  EXPECT_EQ(LineOrigin.y, y);
  // The answer settings wait for closing: the code is still the old one.
  EXPECT_EQ(AnswerFormCode, 0);
}

TEST_F(JoukenWindow, BothAnswerFormsWithDecimalGiveCodeSixAtClosing) {
  Open();
  QTest::mouseClick(form->AnswerGroup()->button(2), Qt::LeftButton);
  QTest::mouseClick(form->DecimalBox(), Qt::LeftButton);
  EXPECT_EQ(AnswerFormCode, 0);
  QTest::mouseClick(form->CloseButton(), Qt::LeftButton);
  EXPECT_FALSE(form->isVisible());
  EXPECT_FALSE(JoukenOpen);
  EXPECT_EQ(AnswerFormCode, 6);
}

TEST_F(JoukenWindow, PaiFieldFollowsEveryChange) {
  Open();
  QLineEdit* pai = form->PaiField();
  pai->setFocus();
  pai->end(false);
  QTest::keyClicks(pai, "16");
  EXPECT_EQ(PaiText, "3.1416");
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(form->PaiNotice()->text(), "");

  // While typing, a problem is written beside the field and no box interrupts: "3." becomes "3.14".
  pai->selectAll();
  QTest::keyClicks(pai, "3.");
  EXPECT_EQ(PaiText, "3.");
  EXPECT_EQ(form->PaiNotice()->text(), QString::fromUtf8(PAI_POINT_LAST));
  QTest::keyClicks(pai, "14");
  EXPECT_EQ(PaiText, "3.14");
  EXPECT_EQ(form->PaiNotice()->text(), "");
  EXPECT_TRUE(Messages().empty());
  EXPECT_TRUE(pai->hasFocus());

  pai->setText("3");
  QTest::mouseClick(form->Pai19Button(), Qt::LeftButton);
  EXPECT_EQ(pai->text(), "3.141592653589793238");
  EXPECT_EQ(PaiText, "3.141592653589793238");
  EXPECT_TRUE(Messages().empty());

  // The 21st character is refused and taken away again, with the reason beside the field.
  pai->setFocus();
  pai->end(false);
  QTest::keyClick(pai, Qt::Key_4);
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(form->PaiNotice()->text(), QString::fromUtf8(PAI_TOO_LONG));
  EXPECT_EQ(pai->text(), "3.141592653589793238");
  EXPECT_EQ(PaiText, "3.141592653589793238");
  EXPECT_EQ(pai->cursorPosition(), 20);

  // Emptying the field to type a new value is no fault yet; the notice says what is missing.
  pai->selectAll();
  QTest::keyClick(pai, Qt::Key_Delete);
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(form->PaiNotice()->text(), QString::fromUtf8(PAI_NOT_NUMBER));
  EXPECT_EQ(PaiText, "");
}

// Closing with a bad π text insists once: the warning, the window stays open with the fault selected.
// Closing again without a change closes it with the text as it stands.
TEST_F(JoukenWindow, ClosingWithABadPaiWarnsOnce) {
  Open();
  QLineEdit* pai = form->PaiField();
  pai->setFocus();
  pai->setText("3.");
  TestPlatform().Clear();
  QTest::mouseClick(form->CloseButton(), Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_EQ(Messages(), std::vector<std::string>{Warn(PAI_POINT_LAST)}) << "one warning for one click";
  EXPECT_TRUE(form->isVisible());
  EXPECT_TRUE(JoukenOpen);
  EXPECT_TRUE(pai->hasFocus());

  // Corrected, it closes at once.
  QTest::keyClicks(pai, "14");
  ASSERT_EQ(pai->text(), "3.14");
  TestPlatform().Clear();
  QTest::mouseClick(form->CloseButton(), Qt::LeftButton);
  EXPECT_TRUE(Messages().empty());
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(PaiText, "3.14");

  // Left bad after the warning, the second close goes through.
  Open();
  form->PaiField()->setText("3,14");
  TestPlatform().Clear();
  form->close();
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(Messages(), std::vector<std::string>{Warn(PAI_NOT_NUMBER)});
  form->close();
  EXPECT_FALSE(form->isVisible());
  EXPECT_FALSE(JoukenOpen);
  EXPECT_EQ(PaiText, "3,14");
}

TEST_F(JoukenWindow, EnterOnABadPaiSelectsTheFault) {
  Open();
  QLineEdit* pai = form->PaiField();
  pai->setFocus();
  struct {
    const char* text;
    const char* message;
    int selStart;
    QString selected;
  } cases[] = {
      {"3,14", PAI_NOT_NUMBER, 1, ","},
      {"3.1.4", PAI_TWO_POINTS, 4, "4"},
      {".314", PAI_POINT_FIRST, 1, "3"},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.text);
    pai->setText(c.text);
    TestPlatform().Clear();
    QTest::keyClick(pai, Qt::Key_Return);
    EXPECT_EQ(Messages(), std::vector<std::string>{Warn(c.message)});
    EXPECT_TRUE(pai->hasFocus());
    EXPECT_EQ(pai->selectionStart(), c.selStart);
    EXPECT_EQ(pai->selectedText(), c.selected);
    // Enter pressed no button: the window is still open.
    EXPECT_TRUE(form->isVisible());
  }
  pai->setText("3.14");
  TestPlatform().Clear();
  QTest::keyClick(pai, Qt::Key_Return);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(JoukenWindow, LeavingABadPaiKeepsTheFocus) {
  Open();
  QLineEdit* pai = form->PaiField();
  pai->setFocus();
  pai->setText("3a");
  TestPlatform().Clear();
  form->KakeruAbrBox()->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  EXPECT_EQ(Messages(), std::vector<std::string>{Warn(PAI_NOT_NUMBER)});
  EXPECT_TRUE(pai->hasFocus());
  EXPECT_EQ(pai->selectedText(), "a");

  // A good text lets the focus go.
  pai->setText("3.14");
  TestPlatform().Clear();
  form->KakeruAbrBox()->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  EXPECT_TRUE(Messages().empty());
  EXPECT_TRUE(form->KakeruAbrBox()->hasFocus());
}

TEST_F(JoukenWindow, AltKeysPressTheButtons) {
  Open();
  QTest::keyClick(form.get(), Qt::Key_A, Qt::AltModifier);
  EXPECT_EQ(detailCommands, 1);
  QTest::keyClick(form.get(), Qt::Key_F, Qt::AltModifier);
  EXPECT_EQ(fontCommands, 1);
  QTest::mouseClick(form->DetailButton(), Qt::LeftButton);
  QTest::mouseClick(form->FontButton(), Qt::LeftButton);
  EXPECT_EQ(detailCommands, 2);
  EXPECT_EQ(fontCommands, 2);
  // Letters without Alt are no access keys.
  QTest::keyClick(form.get(), Qt::Key_C);
  EXPECT_TRUE(form->isVisible());
  // Escape does not close the window either.
  QTest::keyClick(form.get(), Qt::Key_Escape);
  EXPECT_TRUE(form->isVisible());

  bool editorSeen = false;
  OnModal<TMokuhyouEditForm>([&](TMokuhyouEditForm* editor) {
    editorSeen = true;
    QTest::keyClick(editor, Qt::Key_Escape);
  });
  QTest::keyClick(form.get(), Qt::Key_E, Qt::AltModifier);
  EXPECT_TRUE(editorSeen);
  // The window manager gives the activation back to the window when the editor closes.
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));

  form->PaiField()->setText("3.1416");
  QTest::keyClick(form.get(), Qt::Key_C, Qt::AltModifier);
  EXPECT_FALSE(form->isVisible());
  EXPECT_FALSE(JoukenOpen);
  EXPECT_EQ(PaiText, "3.1416");
}

TEST_F(JoukenWindow, EditedGoalsFillTheList) {
  SetGoals({"a", "b", "c"});
  DSPBANGOU = 2;
  Open();
  std::vector<std::string> editorStart;
  OnModal<TMokuhyouEditForm>([&](TMokuhyouEditForm* editor) {
    editorStart = SplitGoalLines(editor->TextField()->toPlainText().toStdString());
    editor->TextField()->setPlainText(QString::fromUtf8("計算を正しく\n見直し\n"));
    QTest::mouseClick(editor->DecideButton(), Qt::LeftButton);
  });
  QTest::mouseClick(form->EditGoalsButton(), Qt::LeftButton);
  EXPECT_EQ(editorStart, (std::vector<std::string>{"a", "b", "c"}));
  ASSERT_EQ(form->GoalList()->count(), 2);
  EXPECT_EQ(form->GoalList()->currentIndex(), 0);
  EXPECT_EQ(MOKU_SOUSUU, 2);
  EXPECT_EQ(MOKUHYOU[0], "計算を正しく");
  EXPECT_EQ(MOKUHYOU[1], "見直し");
  EXPECT_EQ(DSPBANGOU, 2);  // the number of the goal shown is not changed by editing
  EXPECT_EQ(form->focusWidget(), form->GoalList());
  EXPECT_GE(goalRedraws, 1);

  // Cancelling changes nothing.
  OnModal<TMokuhyouEditForm>([&](TMokuhyouEditForm* editor) {
    editor->TextField()->setPlainText("x");
    QTest::mouseClick(editor->CancelButton(), Qt::LeftButton);
  });
  QTest::mouseClick(form->EditGoalsButton(), Qt::LeftButton);
  EXPECT_EQ(form->GoalList()->count(), 2);
  EXPECT_EQ(MOKU_SOUSUU, 2);
  EXPECT_FALSE(MokuhyouEditOpen);
}

TEST_F(JoukenWindow, EditButtonDoesNothingWhileTheEditorIsOpen) {
  Open();
  MokuhyouEditOpen = true;
  form->HensyuuButtonClick();  // returns at once instead of waiting on a second editor
  EXPECT_EQ(QApplication::activeModalWidget(), form.get());
  MokuhyouEditOpen = false;
}

TEST_F(JoukenWindow, TheCalculationScreenReacts) {
  ResetBunMath();
  ResetProcessState();
  ScreenView = ScreenHooks{};
  ConditionsView.goalDisplay = nullptr;
  SetGoals({"計算はていねいに", "見直しをする"});
  CalcScreenForm screen(false);
  screen.show();
  screen.Paint();
  ASSERT_TRUE(screen.SidePanel()->isVisible());
  ASSERT_FALSE(screen.InputStrip()->isVisible());
  Open();
  if (const char* dir = std::getenv("KAZORU_SCREENSHOT_DIR"))
    form->grab().save(QString::fromUtf8(dir) + "/conditions.png");

  QTest::mouseClick(form->WakigakiBox(), Qt::LeftButton);
  EXPECT_FALSE(screen.SidePanel()->isVisible());
  QTest::mouseClick(form->InputStrBox(), Qt::LeftButton);
  EXPECT_TRUE(screen.InputStrip()->isVisible());
  QTest::mouseClick(form->SbarBox(), Qt::LeftButton);
  EXPECT_FALSE(screen.statusBar()->isVisible());
  QTest::mouseClick(form->SbarBox(), Qt::LeftButton);
  EXPECT_TRUE(screen.statusBar()->isVisible());

  // Process display on: the line is drawn one and a half character heights lower.
  const int y = LineOrigin.y;
  QTest::mouseClick(form->ProcessGroup()->button(1), Qt::LeftButton);
  EXPECT_EQ(LineOrigin.y, y + 3 * CharHeight / 2);

  if (const char* dir = std::getenv("KAZORU_SCREENSHOT_DIR"))
    screen.grab().save(QString::fromUtf8(dir) + "/conditions-screen.png");
  form.reset();
}
