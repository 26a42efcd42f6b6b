// The notice box: a short-lived modal window that shows an expression in school notation (with a
// comment above it) or a few rows of plain text, closing by itself after the requested time, or at once
// on a left click or Esc. Its contents are tools/SplMsgBox.h; installed as the platform's notice.
#pragma once

#include <QDialog>
#include <string>

#include "tools/SplMsgBox.h"

class QTimer;

class TSplshMsgForm : public QDialog {
  Q_OBJECT

 public:
  TSplshMsgForm(const std::string& text, const std::string& caption, int durationMs,
                QWidget* parent = nullptr);
  ~TSplshMsgForm() override;

  // False when an "@" expression failed its check: the box is not shown at all.
  bool Usable() const { return !layout_.failed; }
  const NoticeLayout& Layout() const { return layout_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  NoticeLayout layout_;
  int cw_ = 10;
  int ch_ = 20;
  int durationMs_ = 0;
  bool firstTick_ = true;
  int savedKaigyo_ = 0;
  QTimer* timer_ = nullptr;
};

// ShowNotice of the desktop program: builds the box and shows it modally until it closes.
void ShowSplashNotice(const std::string& text, const std::string& caption, int durationMs);
// Installs ShowSplashNotice as the platform's notice box.
void InstallNoticeBox();
