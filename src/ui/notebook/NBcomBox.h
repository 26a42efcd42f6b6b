// The command box (TNBComBoxForm): a floating stay-on-top panel of buttons for the notebook's commands,
// the break-at-equals switch, the line pitch and the page height. Its keys go to the notebook's key
// handler, so every notebook key works in it.
#pragma once

#include <QWidget>
#include <map>

class QCheckBox;
class QPushButton;
class QSpinBox;
class TNoteForm;

class TNBComBoxForm : public QWidget {
  Q_OBJECT

 public:
  explicit TNBComBoxForm(TNoteForm* notebook);
  ~TNBComBoxForm() override;

  static bool IsOpen();

  // The controls take the current values (break flag, KANKAKU, PAGEA4BAIN).
  void ShowValues();
  // The box gets out of the way by hiding, never by being iconified: it is a transient of the notebook,
  // and a window manager iconifies a transient's whole family with it, the notebook included.
  void Minimise();
  void Restore();
  bool Minimised() const;

  // A button by group and caption: group "" for the top row, "◆ファイル◆", "◆選択した式の操作◆",
  // "◆全式の一括操作".
  QPushButton* Button(const QString& group, const QString& caption) const;
  QCheckBox* EqualBreakBox() const { return equalBreak_; }
  QSpinBox* PitchField() const { return pitch_; }
  QSpinBox* PageHeightField() const { return pageHeight_; }
  // The title box gives the focus back here, on the line-pitch field.
  void FocusPitch();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QPushButton* Add(QWidget* parent, const QString& group, const char* caption, const char* hint, int x, int y,
                   int w, int h, std::function<void()> run);
  bool ForwardKey(QKeyEvent* event);

  TNoteForm* notebook_;
  std::map<QString, QPushButton*> buttons_;
  QCheckBox* equalBreak_ = nullptr;
  QSpinBox* pitch_ = nullptr;
  QSpinBox* pageHeight_ = nullptr;
  bool showing_ = false;
};
