// The expression memo window (TSEMemoForm): a small stay-on-top tool window with a drop-down list of up
// to 50 remembered expressions and the buttons that take expressions from the editor and send them to the
// editor or the substitution box, look at them, and delete them. The store and its rules are
// tools/sikiEMemo.h; this window mirrors the model's list in its combo box.
#pragma once

#include <QWidget>
#include <map>
#include <string>

class QComboBox;
class QPushButton;

class TSEMemoForm : public QWidget {
  Q_OBJECT

 public:
  // The one memo, or null while it is closed.
  static TSEMemoForm* Instance();
  // Opens the memo, or gives the open one the focus.
  static TSEMemoForm* Open();

  // Add from another window (the substitution box's "ﾒﾓ保存 &R").
  void AddText(const std::string& text);
  void FocusList();

  QComboBox* List() const { return list_; }
  QPushButton* Button(const QString& caption) const;

  void FromEditorButtonClick();
  void ToEditorButtonClick();
  void ToDainyuuButtonClick();
  void LookButtonClick();
  void DeleteButtonClick();
  void DeleteAllButtonClick();
  bool KeySyori(int vk, int shift);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  TSEMemoForm();
  ~TSEMemoForm() override;
  QPushButton* AddButton(const char* caption, const char* hint, void (TSEMemoForm::*handler)());
  // The combo box from the model's list and selection.
  void FillList();

  QComboBox* list_ = nullptr;
  std::map<QString, QPushButton*> buttons_;
  bool filling_ = false;
};
