// The conditions settings window "▼条件設定▼": a modal dialog, built fresh for each opening, whose
// controls write their settings at once (through tools/kihonSet.h, which also makes the calculation screen
// react). It opens the goals editor (ui/tools/Mokuhyou), and runs the screen's font command and the process
// settings window through the screen's commands.
#pragma once

#include <QDialog>
#include <QSpinBox>
#include <string>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// A number field whose text cannot be typed into: only its arrows (and the arrow keys) change it, so its
// value never leaves its range.
class ArrowSpinBox : public QSpinBox {
  Q_OBJECT

 public:
  ArrowSpinBox(int min, int max, int step, QWidget* parent = nullptr);
};

class TJoukenForm : public QDialog {
  Q_OBJECT

 public:
  explicit TJoukenForm(QWidget* parent = nullptr);
  ~TJoukenForm() override;

  // The controls, for the window tests.
  ArrowSpinBox* CursorPeriodField() const { return cursorEdit_; }
  QComboBox* GoalList() const { return goalCombo_; }
  QPushButton* EditGoalsButton() const { return editButton_; }
  ArrowSpinBox* CharAdvanceField() const { return jiokuriEdit_; }
  QLineEdit* PaiField() const { return paiEdit_; }
  // What is wrong with the π field's text, shown under the field while it is typed into (empty when
  // the text is acceptable).
  QLabel* PaiNotice() const { return paiNotice_; }
  QPushButton* Pai19Button() const { return pai19Button_; }
  QCheckBox* EqualKaigyoBox() const { return equalKaigyo_; }
  QCheckBox* InputStrBox() const { return inputStr_; }
  QCheckBox* KakeruAbrBox() const { return kakeruAbr_; }
  QCheckBox* WakigakiBox() const { return wakigaki_; }
  QCheckBox* SbarBox() const { return sbar_; }
  QButtonGroup* AnswerGroup() const { return answerGroup_; }
  QCheckBox* DecimalBox() const { return syouDsp_; }
  ArrowSpinBox* PageHeightField() const { return pageEdit_; }
  ArrowSpinBox* LinePitchField() const { return pitchEdit_; }
  QButtonGroup* ProcessGroup() const { return processGroup_; }
  QPushButton* CloseButton() const { return closeButton_; }
  QPushButton* FontButton() const { return fontButton_; }
  QPushButton* DetailButton() const { return detailButton_; }

  // The π field's check as Enter and leaving the field run it: on failure the field keeps the focus and
  // one character is selected after the remembered position. Returns whether the text is acceptable.
  bool PaiCheckAndSelect();

  // "編集Ｅ": the goals editor, and the list filled from it when it reports changed goals.
  void HensyuuButtonClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 public slots:
  void done(int r) override;

 private:
  void BuildControls();
  void FillFromSettings();
  void ConnectControls();
  void PaiEditChange(const QString& text);
  void ShowPaiNotice(const char* message);
  void FillGoalList(const std::vector<std::string>& goals, int selected);

  ArrowSpinBox* cursorEdit_ = nullptr;
  QComboBox* goalCombo_ = nullptr;
  QPushButton* editButton_ = nullptr;
  ArrowSpinBox* jiokuriEdit_ = nullptr;
  QLineEdit* paiEdit_ = nullptr;
  QPushButton* pai19Button_ = nullptr;
  QLabel* paiNotice_ = nullptr;
  QCheckBox* equalKaigyo_ = nullptr;
  QCheckBox* inputStr_ = nullptr;
  QCheckBox* kakeruAbr_ = nullptr;
  QCheckBox* wakigaki_ = nullptr;
  QCheckBox* sbar_ = nullptr;
  QButtonGroup* answerGroup_ = nullptr;
  QCheckBox* syouDsp_ = nullptr;
  ArrowSpinBox* pageEdit_ = nullptr;
  ArrowSpinBox* pitchEdit_ = nullptr;
  QButtonGroup* processGroup_ = nullptr;
  QPushButton* closeButton_ = nullptr;
  QPushButton* fontButton_ = nullptr;
  QPushButton* detailButton_ = nullptr;

  QString lastPaiText_;  // the field's text before its last change (a too long text goes back to it)
  bool checkingPai_ = false;
  // Closing with an unacceptable π text was refused once with the warning; closing again without a
  // change closes the window (the pupil has been told).
  bool closeWarned_ = false;
  bool closed_ = false;
};

// Opens the conditions window modally (nothing when it is already open); parent places and owns it.
void ShowJoukenForm(QWidget* parent);
// Installs the screen's command for the window (Alt+J, "条件設定ボックス表示(&J)", the context menu, the
// panel's "条件J", the editors' buttons) and computes the answer form code from the settings read at
// start-up; called once the calculation screen has been built.
void InstallJoukenCommand();
