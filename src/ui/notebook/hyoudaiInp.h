// The title box (THyoudaiEditForm): the page title, its font and the switch that appends the file name,
// applied to the notebook sheet. Modal; at most one at a time. The notebook marks the page modified when
// the box reports a changed title.
#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;

class THyoudaiEditForm : public QDialog {
  Q_OBJECT

 public:
  explicit THyoudaiEditForm(QWidget* parent = nullptr);
  ~THyoudaiEditForm() override;

  static bool IsOpen();
  static THyoudaiEditForm* Current();

  // Whether the title was edited and taken (set by 適用, the font dialog's Apply and 終了).
  bool TitleChanged() const { return changed_; }

  QLineEdit* Field() const { return field_; }
  QCheckBox* AppendBox() const { return append_; }
  QPushButton* Button(const QString& caption) const;

  void ApplyClick();  // "適用 &A"
  void FontClick();  // "ﾌｫﾝﾄ &F"
  void EndClick();  // "終了 &C"

  // Redraw of the sheet (or of its title line alone); installed by the notebook.
  std::function<void()> redraw;
  // The title font dialog; tests replace it. apply runs for the dialog's Apply button.
  static std::function<bool(QFont&, QColor&, const std::function<void(const QFont&, const QColor&)>& apply)>
      FontDialog;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void TakeTitle();
  void TakeFont(const QFont& font, const QColor& colour);

  QLineEdit* field_ = nullptr;
  QCheckBox* append_ = nullptr;
  QPushButton* applyButton_ = nullptr;
  QPushButton* fontButton_ = nullptr;
  QPushButton* endButton_ = nullptr;
  bool changed_ = false;
  bool edited_ = false;
};
