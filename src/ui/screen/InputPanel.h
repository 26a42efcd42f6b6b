// The input panel: a small tool window, kept above the calculation screen, of buttons that type characters into the calculation
// line or run its commands, shown, minimised and restored with F8. It never keeps the keyboard: its keys
// go through the line's key map, and the screen takes the focus back at its next cursor tick.
#pragma once

#include <QWidget>
#include <map>
#include <string>

class QPushButton;
class CalcScreenForm;

class TInputForm : public QWidget {
  Q_OBJECT

 public:
  // Placed from the bottom-right corner of the screen's client area; clears the line.
  explicit TInputForm(CalcScreenForm* screen);

  enum class PanelState { Hidden, Normal, Minimised };
  PanelState State() const { return state_; }
  bool ShownNormal() const { return state_ == PanelState::Normal; }
  // F8 and the menu item: hidden → shown, shown → minimised, minimised → shown. The screen takes the
  // focus afterwards unless giveScreenFocus is false (the notebook putting the panel away).
  void Switch(bool giveScreenFocus = true);

  // The window's close button: the panel is minimised by the same path as F8.
  void CloseButtonPressed();

  // Sizes the panel and its buttons for the large-print setting (OOMOJI) or back to normal.
  void ApplyScale();

  // Enables 小S, 仮K and 帯T as the line model says.
  void RefreshButtons();
  // A button by its caption ("帯T", "７", "＝" …).
  QPushButton* Button(const QString& caption) const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QPushButton* Add(const char* caption, int x, int y, int w, int h, const char* hint,
                   std::function<void()> run);

  CalcScreenForm* screen_;
  PanelState state_ = PanelState::Hidden;
  std::map<QString, QPushButton*> buttons_;
};
