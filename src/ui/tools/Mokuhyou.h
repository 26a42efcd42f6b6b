// The weekly goals editor "●今週の目標(10個)●": a modal text field of one goal per line that refuses an
// eleventh line, with decide, cancel and the goal font dialog. Opened by the conditions window's "編集Ｅ",
// which takes the lines when the editor reports a change. The rules are tools/Mokuhyou.h.
#pragma once

#include <QColor>
#include <QDialog>
#include <QFontDialog>
#include <string>
#include <vector>

class QPlainTextEdit;
class QPushButton;

// The font dialog of the goal display: only installed faces, with an Apply button and a colour button,
// since the goal's colour is part of its font.
class GoalFontDialog : public QFontDialog {
  Q_OBJECT

 public:
  explicit GoalFontDialog(QWidget* parent = nullptr);

  QColor Colour() const { return colour_; }
  void SetColour(const QColor& c) { colour_ = c; }
  QPushButton* ApplyButton() const { return apply_; }
  QPushButton* ColourButton() const { return colourButton_; }

  // Takes face, size and colour of the dialog as the goal font and redraws the goal display.
  void ApplyToGoal();

 private:
  QColor colour_;
  QPushButton* apply_ = nullptr;
  QPushButton* colourButton_ = nullptr;
};

class TMokuhyouEditForm : public QDialog {
  Q_OBJECT

 public:
  // goals: the goals listed in the conditions window, one per line in the text field.
  explicit TMokuhyouEditForm(const std::vector<std::string>& goals, QWidget* parent = nullptr);
  ~TMokuhyouEditForm() override;

  // After closing: whether "決定&D" closed it, and the lines of the text field.
  bool Changed() const { return changed_; }
  std::vector<std::string> Lines() const;

  QPlainTextEdit* TextField() const { return memo_; }
  QPushButton* DecideButton() const { return decide_; }
  QPushButton* CancelButton() const { return cancel_; }
  QPushButton* FontButton() const { return fontButton_; }

  // "ﾌｫﾝﾄ&F": the goal font dialog; OK takes its font, Apply takes it at once.
  void FontButtonClick();

 public slots:
  void done(int r) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void MemoChange();

  QPlainTextEdit* memo_ = nullptr;
  QPushButton* decide_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* fontButton_ = nullptr;
  QString lastText_;  // the last text within the limit
  int lastCursor_ = 0;  // and the caret in it
  bool changed_ = false;
  bool closed_ = false;
};
