// The substitution box window on the offscreen platform: its buttons follow the expression field, the
// substituted expression goes to the editor, the calculation lands on the calculation line, the memo keeps
// the expression, and the ¥ and repurposed keys type into the focused field.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "ui/tools/ToolWindowsTestSupport.h"

namespace {

class DainyuuWindow : public ToolWindowTest {
 protected:
  static void Click(TDainyuuForm* d, const char* caption) {
    QPushButton* b = d->Button(U8(caption));
    ASSERT_NE(b, nullptr) << caption;
    QTest::mouseClick(b, Qt::LeftButton);
  }
};

TEST_F(DainyuuWindow, TransferAndMemoSaveNeedAnExpression) {
  TDainyuuForm* d = TDainyuuForm::Open();
  ASSERT_NE(d, nullptr);
  EXPECT_TRUE(DainyuuOpen);
  EXPECT_EQ(d->windowTitle(), U8("■数値代入ボックス■【文字式に数値を代入＆転送】"));
  EXPECT_TRUE(d->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(d->Button(U8("式を転送 &S"))->isEnabled());
  EXPECT_FALSE(d->Button(U8("ﾒﾓ保存 &R"))->isEnabled());
  for (const char* always : {"ﾒﾓ開く &M", "&Look", "計算 &K", "閉 &C"})
    EXPECT_TRUE(d->Button(U8(always))->isEnabled()) << always;
  QTest::keyClicks(d->ExpressionField(), "2x");
  EXPECT_TRUE(d->Button(U8("式を転送 &S"))->isEnabled());
  EXPECT_TRUE(d->Button(U8("ﾒﾓ保存 &R"))->isEnabled());
  Shot(d, "box-open");
}

TEST_F(DainyuuWindow, TransferOpensTheEditorWithTheResult) {
  TDainyuuForm* d = TDainyuuForm::Open();
  QTest::keyClicks(d->ValueField('x'), "-3");
  QTest::keyClicks(d->ExpressionField(), "2x^2+x");
  Click(d, "式を転送 &S");
  TSikiEditForm* e = TSikiEditForm::Instance();
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->Field()->text(), "2*(-3)^2+(-3)");
  EXPECT_EQ(LineText, "2*(-3)^2+(-3)");
  EXPECT_EQ(e->windowModality(), Qt::WindowModal);
  Shot(d, "box-transfer");

  // With the editor open the result replaces its text.
  d->ValueField('x')->setText("3b2");
  Click(d, "式を転送 &S");
  EXPECT_EQ(TSikiEditForm::Instance(), e);
  EXPECT_EQ(e->Field()->text(), "2*(3b2)^2+(3b2)");
}

TEST_F(DainyuuWindow, MissingValuesStopTheTransfer) {
  TDainyuuForm* d = TDainyuuForm::Open();
  QTest::keyClicks(d->ValueField('x'), "1");
  QTest::keyClicks(d->ExpressionField(), "x+y");
  Click(d, "式を転送 &S");
  EXPECT_EQ(TSikiEditForm::Instance(), nullptr);
  EXPECT_EQ(TestPlatform().ShownTexts(),
            std::vector<std::string>{"ご注意！: 変数 y に値が代入されていません。"});
}

TEST_F(DainyuuWindow, CalculateDrawsOnTheLineAndSelectsABadCharacter) {
  AnswerFormCode = 0;
  TDainyuuForm* d = TDainyuuForm::Open();
  QTest::keyClicks(d->ValueField('x'), "4");
  QTest::keyClicks(d->ValueField('y'), "3b1");
  QTest::keyClicks(d->ExpressionField(), "xy+1");
  Click(d, "計算 &K");
  EXPECT_EQ(LineText, "4*3b1+1=2k3b1");
  EXPECT_FALSE(LineOpen);

  d->ExpressionField()->setText("x))");
  Click(d, "計算 &K");
  EXPECT_EQ(d->ExpressionField()->selectedText(), ")");
  EXPECT_EQ(d->ExpressionField()->selectionStart(), 1);
}

TEST_F(DainyuuWindow, MemoSaveOpensTheMemoWithTheExpression) {
  TDainyuuForm* d = TDainyuuForm::Open();
  QTest::keyClicks(d->ExpressionField(), "3x-1 # line");
  Click(d, "ﾒﾓ保存 &R");
  ASSERT_NE(TSEMemoForm::Instance(), nullptr);
  EXPECT_EQ(MemoEntries, std::vector<std::string>{"3x-1 # line"});
  EXPECT_EQ(SIKI[0], "3x-1 # line");
}

TEST_F(DainyuuWindow, KeysTypeIntoTheFocusedField) {
  TDainyuuForm* d = TDainyuuForm::Open();
  QTest::keyClick(d->ValueField('z'), Qt::Key_yen);
  EXPECT_EQ(d->ValueField('z')->text(), "3.14");
  QTest::keyClicks(d->ExpressionField(), "x");
  QTest::keyClick(d->ExpressionField(), Qt::Key_Return, Qt::ShiftModifier);
  QTest::keyClick(d->ExpressionField(), Qt::Key_Down);  // repurposing off
  KEYTENYOU = 1;
  QTest::keyClick(d->ExpressionField(), Qt::Key_Home);
  QTest::keyClick(d->ExpressionField(), Qt::Key_PageDown);
  QTest::keyClick(d->ExpressionField(), Qt::Key_Down);
  EXPECT_EQ(d->ExpressionField()->text(), "x=(b=");

  // F7 with no editor goes to the calculation screen, F8 to the memo.
  TSEMemoForm::Open();
  d->FocusExpression();
  QTest::keyClick(d->ExpressionField(), Qt::Key_F8);
  Flush();
  EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(TSEMemoForm::Instance()->List()));
}

TEST_F(DainyuuWindow, ClosingClearsTheFlagAndFocusesTheEditor) {
  TSikiEditForm::OpenWithText("1", false);
  TDainyuuForm* d = TDainyuuForm::Open();
  Click(d, "閉 &C");
  Flush();
  EXPECT_EQ(TDainyuuForm::Instance(), nullptr);
  EXPECT_FALSE(DainyuuOpen);
  EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(TSikiEditForm::Instance()->Field()));
}

}  // namespace
