// The detailed settings window of the calculation process ("◆詳細設定◆"): advice display, level of
// detail and final answer form of a process, reducing while converting, interruptible factorisation,
// how divisors are listed, quotient with remainder and its decimal places, and the Return key. Every
// control writes its setting at once; there is no OK or Cancel.
#pragma once

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QKeyEvent;
class QPushButton;
class QRadioButton;
class QSpinBox;

class TCalcProcSetForm : public QDialog {
  Q_OBJECT

 public:
  explicit TCalcProcSetForm(QWidget* parent = nullptr);
  ~TCalcProcSetForm() override;

  // The window while it is open (it is modal and exists at most once), else null.
  static TCalcProcSetForm* Instance();

  // Sets every control from its setting (done when the window is built).
  void FormShow();

  QCheckBox* AdvCheckBox = nullptr;
  QButtonGroup* RadioGroup1 = nullptr;  // ★最終表示★
  QButtonGroup* RadioGroup2 = nullptr;  // ◇式の詳しさ◇
  QButtonGroup* RadioGroup3 = nullptr;  // 素因数分解後の約数の和の表示
  QCheckBox* CheckBox1 = nullptr;
  QCheckBox* CheckBox2 = nullptr;
  QCheckBox* CheckBox3 = nullptr;
  QSpinBox* Edit1 = nullptr;  // with its up-down arrows (UpDown1)
  QCheckBox* RetKeyChkBox = nullptr;
  QPushButton* CloseButton = nullptr;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void RadioGroup3Click(int index);
};

// Opens the window modally over parent.
void ShowCalcProcSet(QWidget* parent);

// The item of RadioGroup3 for a stored pair (divisors per row, whether the number itself is listed):
// rows of 10 → 0 or 2, rows of 5 → 1 or 3; another count is read as rows of 10 from 6 up, else of 5.
int DivisorListItem(int perRow, int includeNumber);
