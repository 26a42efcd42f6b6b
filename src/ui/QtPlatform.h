// The desktop program's platform: Qt message boxes, the input box, file dialogs and the beep.
#pragma once

#include <QPointer>
#include <functional>

#include "platform/Platform.h"

class QProcess;
class QWidget;

class QtPlatform : public Platform {
 public:
  MsgAnswer MessageBox(const std::string& text, const std::string& caption, MsgButtons buttons,
                       MsgIcon icon) override;
  void ShowNotice(const std::string& text, const std::string& caption, int durationMs) override;
  void Beep() override;
  bool InterruptRequested() override;
  bool InputBox(const std::string& caption, const std::string& prompt, std::string& value) override;
  std::string OpenFileName(const std::string& caption, const std::string& filter,
                           const std::string& startPath) override;
  std::string SaveFileName(const std::string& caption, const std::string& filter,
                           const std::string& startPath) override;
  void SetJapaneseInput(bool on) override;
  // Speech runs espeak-ng as a child process: the keys never wait for it.
  bool Speak(const std::string& kana) override;
  void StopSpeaking() override;
  bool Speaking() const override;

  // The window that owns the dialogs when no other window of the program is in use (the calculation
  // screen once it exists).
  void SetOwner(QWidget* w) { owner_ = w; }
  QWidget* Owner() const { return owner_; }
  // The parent of a message box, input box or file dialog: the window that asks, so that the dialog opens
  // over it and gives the focus back to it. A dialog that follows another at once (the save dialog after
  // 「保存しておきますか？」) is asked by the window that asked before, while the window system has not yet
  // told which window has the focus again.
  QWidget* AskingWindow() const;
  // The notice box is a window of the tool layer; it installs itself here.
  std::function<void(const std::string&, const std::string&, int)> noticeHandler;

  // Set by the key filter of the running computation when Escape is pressed; cleared by the caller.
  void SetInterrupt(bool on) { interruptFlag_ = on; }

 private:
  // After a dialog: the window that asked takes the focus back and stays over the others.
  void GiveFocusBack(QWidget* asker);

  QWidget* owner_ = nullptr;
  QPointer<QWidget> lastAsker_;
  bool interruptFlag_ = false;
  // Owned by the application, so it goes (and stops speaking) with it.
  QPointer<QProcess> speech_;
};

// The one Qt platform of the program.
QtPlatform& TheQtPlatform();
