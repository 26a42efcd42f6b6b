// The substitution box window (TDainyuuForm): value fields for x, y and z, the expression field, and the
// buttons that substitute and transfer the result to the editor, compute it onto the calculation screen,
// look at the expression, or keep it in the memo. A small stay-on-top tool window; the substitution itself
// is tools/xyDainyuu.h.
#pragma once

#include <QWidget>
#include <map>
#include <string>

class QLineEdit;
class QPushButton;

class TDainyuuForm : public QWidget {
  Q_OBJECT

 public:
  // The one box, or null while it is closed.
  static TDainyuuForm* Instance();
  // Opens the box, or gives the open one the focus.
  static TDainyuuForm* Open();

  // The expression field receives a text (the memo's "To代入&Box") and the focus.
  void TakeExpression(const std::string& text);
  void FocusExpression();

  QLineEdit* ValueField(char letter) const;
  QLineEdit* ExpressionField() const { return expression_; }
  QPushButton* Button(const QString& caption) const;

  void TransferButtonClick();
  void CalcButtonClick();
  void LookButtonClick();
  void MemoSaveButtonClick();
  void MemoOpenButtonClick();
  void CloseButtonClick();
  bool KeySyori(QLineEdit* field, int vk, int shift);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  TDainyuuForm();
  ~TDainyuuForm() override;
  QPushButton* AddButton(const char* caption, void (TDainyuuForm::*handler)());
  void UpdateButtons();

  QLineEdit* values_[3] = {nullptr, nullptr, nullptr};
  QLineEdit* expression_ = nullptr;
  std::map<QString, QPushButton*> buttons_;
};
