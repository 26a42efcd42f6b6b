// The dialog 「課題として配る」 of 問題づくり: the sheet's controls become an assignment with the teacher's
// title, the final form asked and when the pupil sees the verdicts; it shows the assignment's code, the
// link to the school's copy of the site (the site address is a setting kept with the others) with a copy
// button, the link's QR code, and prints the pupils' sheet with the QR code and the code on it. The code
// is made by classroom/Assignment.h, as kazoru-cli assign makes it; the sheet by handout/Handout.h.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "classroom/Assignment.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPrinter;
class QPushButton;

class TAssignForm : public QDialog {
  Q_OBJECT

 public:
  // controls: the sheet the assignment hands out, as the 問題づくり dialog holds it; title: the title the
  // field starts with.
  TAssignForm(const SheetControls& controls, const std::string& title, QWidget* parent = nullptr);

  // Makes the code and the link again from the fields (the site field is stored in the settings when it
  // holds an address); shows the message of what is wrong instead when something is.
  void Update();
  // 「コピー」: the link onto the clipboard.
  void CopyLink();
  // 「配る用紙を印刷」 through the printer setup. False when nothing was printed.
  bool PrintHandout();

  const Assignment& Current() const { return assignment_; }
  const std::string& Code() const { return code_; }
  const std::string& Link() const { return link_; }
  QLineEdit* TitleField() const { return title_; }
  QComboBox* FinalBox() const { return final_; }
  QComboBox* FeedbackBox() const { return feedback_; }
  QLineEdit* SiteField() const { return site_; }
  QPlainTextEdit* CodeField() const { return codeField_; }
  QPlainTextEdit* LinkField() const { return linkField_; }
  QLabel* QrLabel() const { return qr_; }
  QLabel* MessageLabel() const { return message_; }
  QPushButton* PrintButton() const { return print_; }
  QPushButton* CopyButton() const { return copy_; }

  // The printer setup; the notebook installs its own (tests replace it with a PDF file).
  std::function<bool(QPrinter&)> printerSetup;

 private:
  Assignment assignment_;
  std::string code_;
  std::string link_;
  QLineEdit* title_ = nullptr;
  QComboBox* final_ = nullptr;
  QComboBox* feedback_ = nullptr;
  QLineEdit* site_ = nullptr;
  QPlainTextEdit* codeField_ = nullptr;
  QPlainTextEdit* linkField_ = nullptr;
  QPushButton* copy_ = nullptr;
  QLabel* qr_ = nullptr;
  QLabel* count_ = nullptr;
  QLabel* message_ = nullptr;
  QPushButton* print_ = nullptr;
};
