// The dialog 「問題づくり」 of the notebook window: the skill chosen from a list with one example each, the
// controls of the sheet, a preview of its first problems, and the buttons that put the problems on the
// notebook's page and print the pupils' sheet or the answer key. The problems are made by sheets/Sheet.h.
#pragma once

#include <QDialog>
#include <functional>

#include "sheets/Sheet.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPrinter;
class QPushButton;
class QSpinBox;
class TAssignForm;

class TSheetForm : public QDialog {
  Q_OBJECT

 public:
  explicit TSheetForm(QWidget* parent = nullptr);

  // The controls as the fields hold them now; "" or the message of a field that does not read.
  std::string ReadControls(SheetControls& controls) const;
  // Makes the sheet from the fields and shows its first problems (or why none could be made).
  void Preview();
  // 「ノートに作る」: the sheet's problems and title become the notebook's page (asking first when the page
  // holds unsaved changes). False when nothing was put on the page.
  bool MakePage();
  // 「問題用紙を印刷」 and 「解答を印刷」 through the printer setup.
  void PrintSheet();
  void PrintKey();
  // 「課題として配る」: the dialog that hands the sheet of the fields out as an assignment (the caller shows
  // and deletes it), or null after telling the teacher why no sheet can be made from the fields.
  TAssignForm* Assign();

  const Sheet& Current() const { return sheet_; }
  QListWidget* SkillList() const { return skills_; }
  QSpinBox* CountBox() const { return count_; }
  QSpinBox* MaxDenBox() const { return maxDen_; }
  QSpinBox* TermsBox() const { return terms_; }
  QComboBox* ReduceBox() const { return reduce_; }
  QSpinBox* MaxAnswerBox() const { return maxAnswer_; }
  QCheckBox* MixedBox() const { return mixed_; }
  QLineEdit* SeedField() const { return seed_; }
  QComboBox* VersionBox() const { return version_; }
  QCheckBox* AdviceBox() const { return advice_; }
  QLabel* PreviewLabel() const { return preview_; }
  QLabel* MessageLabel() const { return message_; }

  // Redraw of the notebook after the page changed; installed by the notebook.
  std::function<void()> pageChanged;
  // The printer setup; the notebook installs its own (tests replace it with a PDF file).
  std::function<bool(QPrinter&)> printerSetup;

 private:
  void SkillChanged();
  void DrawPreview();

  QListWidget* skills_ = nullptr;
  QSpinBox* count_ = nullptr;
  QSpinBox* maxDen_ = nullptr;
  QSpinBox* terms_ = nullptr;
  QComboBox* reduce_ = nullptr;
  QSpinBox* maxAnswer_ = nullptr;
  QCheckBox* mixed_ = nullptr;
  QLineEdit* seed_ = nullptr;
  QComboBox* version_ = nullptr;
  QCheckBox* advice_ = nullptr;
  QLabel* example_ = nullptr;
  QLabel* preview_ = nullptr;
  QLabel* message_ = nullptr;
  Sheet sheet_;
};
