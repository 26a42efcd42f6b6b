// The expression memo window on the offscreen platform: it fills its list from the stored slots, takes
// the editor's expression, sends the chosen one to the editor or the substitution box, deletes with
// confirmation, drops its list on Alt+/, and gives everything back to the store when it closes.
#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "ui/tools/ToolWindowsTestSupport.h"

namespace {

class SEMemoWindow : public ToolWindowTest {
 protected:
  static std::vector<std::string> Items(QComboBox* list) {
    std::vector<std::string> v;
    for (int i = 0; i < list->count(); ++i) v.push_back(list->itemText(i).toStdString());
    return v;
  }
  static void Click(TSEMemoForm* m, const char* caption) {
    QPushButton* b = m->Button(U8(caption));
    ASSERT_NE(b, nullptr) << caption;
    QTest::mouseClick(b, Qt::LeftButton);
  }
};

TEST_F(SEMemoWindow, OpensWithTheStoredExpressionsAndTheRememberedPosition) {
  SIKI[0] = "1+1";
  SIKI[2] = "3b2*x";
  SIKI[5] = "2:4 # ratio";
  SIKI_SOUSUU = 3;
  MemoPosition = 1;
  TSEMemoForm* m = TSEMemoForm::Open();
  ASSERT_NE(m, nullptr);
  EXPECT_TRUE(MemoOpen);
  EXPECT_EQ(m->windowTitle(), U8("★式 メモ★ 【計算式・文字式を50個まで保管】"));
  EXPECT_TRUE(m->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(Items(m->List()), (std::vector<std::string>{"1+1", "3b2*x", "2:4 # ratio"}));
  EXPECT_EQ(m->List()->currentIndex(), 1);
  EXPECT_EQ(m->List()->maxVisibleItems(), 30);
  // Opening again only gives the focus.
  EXPECT_EQ(TSEMemoForm::Open(), m);

  const std::pair<const char*, const char*> buttons[] = {
      {"From式ｴﾃﾞｨﾀ▼ &G", "ｴﾃﾞｨﾀ上の式をﾒﾓに追加"},
      {"To式ｴﾃﾞｨﾀ &A", "選択式を､式ｴﾃﾞｨﾀにｺﾋﾟｰする"},
      {"To代入&Box", "選択式を 値代入Boxに転記"},
      {"&Look", "式を分数の形でちょっと拝見！"},
      {"選択式削除 &D", "選択式を削除する"},
      {"全削除 &Z", "メモにある式を全部削除する"},
      {"終了 &C", ""},
  };
  for (const auto& [caption, hint] : buttons) {
    ASSERT_NE(m->Button(U8(caption)), nullptr) << caption;
    EXPECT_EQ(m->Button(U8(caption))->toolTip(), U8(hint)) << caption;
  }
  Shot(m, "memo-open");
}

TEST_F(SEMemoWindow, TakesTheEditorsExpressionAndRemembersIt) {
  TSEMemoForm* m = TSEMemoForm::Open();
  // Without an editor the button opens one.
  Click(m, "From式ｴﾃﾞｨﾀ▼ &G");
  TSikiEditForm* e = TSikiEditForm::Instance();
  ASSERT_NE(e, nullptr);
  EXPECT_NE(e->windowModality(), Qt::WindowModal);
  QTest::keyClicks(e->Field(), "2x+1=7");
  Click(m, "From式ｴﾃﾞｨﾀ▼ &G");
  EXPECT_EQ(Items(m->List()), std::vector<std::string>{"2x+1=7"});
  EXPECT_EQ(m->List()->currentIndex(), 0);
  EXPECT_EQ(MemoPosition, 0);
  // The same again is refused.
  Click(m, "From式ｴﾃﾞｨﾀ▼ &G");
  EXPECT_EQ(TestPlatform().ShownTexts(), std::vector<std::string>{"確認！: 同一の式があります。"});
  EXPECT_EQ(m->List()->count(), 1);
}

TEST_F(SEMemoWindow, SendsTheChosenExpressionToTheEditorAndTheBox) {
  SIKI[0] = "1+2";
  SIKI[1] = "3x+y";
  TSEMemoForm* m = TSEMemoForm::Open();
  m->List()->setCurrentIndex(1);
  emit m->List()->activated(1);
  EXPECT_EQ(MemoPosition, 1);

  Click(m, "To式ｴﾃﾞｨﾀ &A");
  ASSERT_NE(TSikiEditForm::Instance(), nullptr);
  EXPECT_EQ(TSikiEditForm::Instance()->Field()->text(), "3x+y");
  EXPECT_EQ(LineText, "3x+y");

  m->List()->setCurrentIndex(0);
  emit m->List()->activated(0);
  Click(m, "To式ｴﾃﾞｨﾀ &A");
  EXPECT_EQ(TSikiEditForm::Instance()->Field()->text(), "1+2");
  EXPECT_TRUE(TSikiEditForm::Instance()->FieldChanged());

  Click(m, "To代入&Box");
  ASSERT_NE(TDainyuuForm::Instance(), nullptr);
  EXPECT_EQ(TDainyuuForm::Instance()->ExpressionField()->text(), "1+2");
}

TEST_F(SEMemoWindow, DeletesWithConfirmationAndStoresOnClose) {
  for (int i = 0; i < 3; ++i) SIKI[i] = "e" + std::to_string(i);
  TSEMemoForm* m = TSEMemoForm::Open();
  m->List()->setCurrentIndex(1);
  emit m->List()->activated(1);

  TestPlatform().answers = {MsgAnswer::Cancel};
  Click(m, "選択式削除 &D");
  EXPECT_EQ(m->List()->count(), 3);
  Click(m, "選択式削除 &D");
  EXPECT_EQ(Items(m->List()), (std::vector<std::string>{"e0", "e2"}));
  EXPECT_EQ(m->List()->currentText(), "e2");
  Click(m, "選択式削除 &D");
  EXPECT_EQ(Items(m->List()), std::vector<std::string>{"e0"});
  EXPECT_EQ(m->List()->currentIndex(), -1);
  Shot(m, "memo-after-delete");

  Click(m, "終了 &C");
  Flush();
  EXPECT_EQ(TSEMemoForm::Instance(), nullptr);
  EXPECT_FALSE(MemoOpen);
  EXPECT_EQ(SIKI_SOUSUU, 1);
  EXPECT_EQ(SIKI[0], "e0");
  EXPECT_EQ(SIKI[1], "");

  m = TSEMemoForm::Open();
  TestPlatform().Clear();
  Click(m, "全削除 &Z");
  ASSERT_EQ(TestPlatform().log.size(), 1u);
  EXPECT_EQ(TestPlatform().log[0].text, MEMO_DELETE_ALL_TEXT);
  EXPECT_EQ(m->List()->count(), 0);
  EXPECT_EQ(SIKI_SOUSUU, 0);
}

TEST_F(SEMemoWindow, AltSlashDropsTheListAndF7GoesToTheEditor) {
  SIKI[0] = "1";
  TSEMemoForm* m = TSEMemoForm::Open();
  QTest::keyClick(m->List(), Qt::Key_Slash, Qt::AltModifier);
  EXPECT_TRUE(m->List()->view()->isVisible());
  m->List()->hidePopup();

  TSikiEditForm::OpenWithText("", false);
  m->FocusList();
  QTest::keyClick(m->List(), Qt::Key_F7);
  Flush();
  EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(TSikiEditForm::Instance()->Field()));
}

TEST_F(SEMemoWindow, LookShowsTheSelectedEntry) {
  SIKI[0] = "3b1*6 # third";
  MemoPosition = 0;
  TSEMemoForm* m = TSEMemoForm::Open();
  Click(m, "&Look");
  ASSERT_EQ(TestPlatform().Shown().size(), 1u);
  EXPECT_EQ(TestPlatform().Shown()[0].text, "@3b1*6 # third");
}

}  // namespace
