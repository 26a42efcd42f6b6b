// The detailed settings window: its caption and controls, opening from the settings, and every click
// storing its setting at once; closing by its button and by Alt+C.
#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include "engine/Settings.h"
#include "process/CalcProcManage.h"
#include "process/MainDspManage.h"
#include "support/TestSupport.h"
#include "ui/process/calcProcSet.h"

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

class CalcProcSetWindow : public ::testing::Test {
 protected:
};

}  // namespace

TEST_F(CalcProcSetWindow, CaptionControlsAndTheirTexts) {
  TCalcProcSetForm form;
  EXPECT_EQ(form.windowTitle(), U("◆詳細設定◆"));
  EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_GE(form.width(), 200);
  EXPECT_GE(form.height(), 321);
  EXPECT_EQ(form.AdvCheckBox->text(), U("式の後にアドバイスを表示"));
  EXPECT_EQ(form.CheckBox1->text(), U("帯分数､仮分数の変換で約分"));
  EXPECT_EQ(form.CheckBox2->text(), U("素因数分解時に中断が可能"));
  EXPECT_EQ(form.CheckBox3->text(), U("わり算で商と余りを出す"));
  EXPECT_EQ(form.RetKeyChkBox->text(), U("Returnを＝とみなす"));
  EXPECT_EQ(form.CloseButton->text(), U("閉じる C"));
  QStringList groups;
  for (QGroupBox* g : form.findChildren<QGroupBox*>()) groups << g->title();
  for (const char* t : {"◆計算式の詳細設定◆", "▼その他いろいろな計算の設定▼", "◇式の詳しさ◇", "★最終表示★",
                        "素因数分解後の約数の和の表示"})
    EXPECT_TRUE(groups.contains(U(t))) << t;
  EXPECT_EQ(form.RadioGroup2->button(0)->text(), U("ふつう"));
  EXPECT_EQ(form.RadioGroup2->button(1)->text(), U("くわしい"));
  EXPECT_EQ(form.RadioGroup1->button(0)->text(), U("帯分数"));
  EXPECT_EQ(form.RadioGroup1->button(1)->text(), U("仮分数"));
  EXPECT_EQ(form.RadioGroup3->button(0)->text(), U("元の数を除く[10個で改行]"));
  EXPECT_EQ(form.RadioGroup3->button(3)->text(), U("全約数[５個で改行]"));
  EXPECT_EQ(form.Edit1->minimum(), 0);
  EXPECT_EQ(form.Edit1->maximum(), 6);
  if (const char* d = std::getenv("KAZORU_SHOTS")) {
    form.show();
    form.grab().save(QString::fromUtf8(d) + "/process-settings.png");
  }
}

TEST_F(CalcProcSetWindow, OpensOnTheStoredSettings) {
  ADVICEDSP = 1;
  PROCLASTANS = 1;
  PROCTEIDO = 0;
  ReduceOnConvert = 0;
  InterruptibleFactorisation = 1;
  RETKEYFLAG = 0;
  WARI_TYPE = 0;
  WARI_PNT = 10;
  ICHIGYOU_SUU = 5;
  WA_TYPE = 1;
  TCalcProcSetForm form;
  EXPECT_TRUE(form.AdvCheckBox->isChecked());
  EXPECT_EQ(form.RadioGroup1->checkedId(), 1);
  EXPECT_EQ(form.RadioGroup2->checkedId(), 0);
  EXPECT_EQ(form.RadioGroup3->checkedId(), 3);
  EXPECT_FALSE(form.CheckBox1->isChecked());
  EXPECT_TRUE(form.CheckBox2->isChecked());
  EXPECT_FALSE(form.RetKeyChkBox->isChecked());
  EXPECT_FALSE(form.CheckBox3->isChecked());
  EXPECT_FALSE(form.Edit1->isEnabled());
  EXPECT_EQ(form.Edit1->value(), 6);  // more than 6 places are shown as 6
  EXPECT_EQ(WARI_PNT, 10);  // and left as stored until the pupil changes them
}

TEST_F(CalcProcSetWindow, DivisorListItemFollowsTheStoredPair) {
  struct Case {
    int perRow, include, item;
  } cases[] = {{10, 0, 0}, {5, 0, 1}, {10, 1, 2}, {5, 1, 3}, {7, 0, 0}, {3, 1, 3}, {20, 1, 2}, {0, 0, 1}};
  for (const Case& c : cases) EXPECT_EQ(DivisorListItem(c.perRow, c.include), c.item) << c.perRow;
  // A pair that is not one of the four is brought back to its item when the window opens.
  ICHIGYOU_SUU = 7;
  WA_TYPE = 3;
  TCalcProcSetForm form;
  EXPECT_EQ(form.RadioGroup3->checkedId(), 2);
  EXPECT_EQ(ICHIGYOU_SUU, 10);
  EXPECT_EQ(WA_TYPE, 1);
}

TEST_F(CalcProcSetWindow, EveryClickStoresItsSettingAtOnce) {
  WARI_TYPE = 1;
  WARI_PNT = 2;
  TCalcProcSetForm form;
  form.show();
  form.AdvCheckBox->click();
  EXPECT_EQ(ADVICEDSP, 1);
  form.RadioGroup1->button(1)->click();
  EXPECT_EQ(PROCLASTANS, 1);
  form.RadioGroup2->button(1)->click();
  EXPECT_EQ(PROCTEIDO, 1);
  const int expected[4][2] = {{10, 0}, {5, 0}, {10, 1}, {5, 1}};
  for (int i : {1, 2, 3, 0}) {
    form.RadioGroup3->button(i)->click();
    EXPECT_EQ(ICHIGYOU_SUU, expected[i][0]) << i;
    EXPECT_EQ(WA_TYPE, expected[i][1]) << i;
  }
  form.CheckBox1->click();
  EXPECT_EQ(ReduceOnConvert, 0);
  form.CheckBox2->click();
  EXPECT_EQ(InterruptibleFactorisation, 0);
  form.RetKeyChkBox->click();
  EXPECT_EQ(RETKEYFLAG, 0);
  EXPECT_TRUE(form.Edit1->isEnabled());
  form.Edit1->setValue(4);
  EXPECT_EQ(WARI_PNT, 4);
  form.CheckBox3->click();
  EXPECT_EQ(WARI_TYPE, 0);
  EXPECT_FALSE(form.Edit1->isEnabled());
}

TEST_F(CalcProcSetWindow, DetailedLevelShowsTheHiddenStepsOfTheNextProcess) {
  ASSERT_EQ(MakeProcess("2b1+3b1", true), 1);
  const size_t normal = VisibleProcessLines(ProcessState.processText, PROCTEIDO).size();
  TCalcProcSetForm form;
  form.RadioGroup2->button(1)->click();
  const auto lines = VisibleProcessLines(ProcessState.processText, PROCTEIDO);
  EXPECT_GT(lines.size(), normal);
  bool four = false;
  for (const ProcessLine& l : lines) four |= l.advice == 4;
  EXPECT_TRUE(four);
  // With "仮分数" the final answer of a mixed result is the improper fraction, after advice 40.
  form.RadioGroup1->button(1)->click();
  ASSERT_EQ(MakeProcess("1k2b1+3b1", true), 1);
  const auto all = SplitProcessText(ProcessState.processText);
  ASSERT_GE(all.size(), 2u);
  EXPECT_EQ(all.back().expr, "6b11");
}

TEST_F(CalcProcSetWindow, ClosesByItsButtonAndByAltC) {
  {
    TCalcProcSetForm form;
    form.show();
    QTest::keyClick(&form, Qt::Key_C, Qt::AltModifier);
    EXPECT_FALSE(form.isVisible());
  }
  TCalcProcSetForm form;
  form.show();
  form.CloseButton->click();
  EXPECT_FALSE(form.isVisible());
}
