// The program's one door to the desktop: message boxes, questions, the notice box, a beep, the interrupt
// query, the input box and file dialogs. The engine calls these and never blocks on a window of its own;
// the desktop program installs the Qt implementation, tests and kazoru-cli install RecordingPlatform.
#pragma once

#include <deque>
#include <string>
#include <vector>

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No };
enum class MsgIcon { None, Information, Warning, Error, Question };

class Platform {
 public:
  virtual ~Platform() = default;

  // A modal message box; returns the button pressed (Ok for an Ok-only box).
  virtual MsgAnswer MessageBox(const std::string& text, const std::string& caption,
                               MsgButtons buttons = MsgButtons::Ok, MsgIcon icon = MsgIcon::None) = 0;
  // The timed notice box: "@expr#comment", "$row|row" or any other text (caption only).
  virtual void ShowNotice(const std::string& text, const std::string& caption, int durationMs) = 0;
  virtual void Beep() = 0;
  // True when the pupil asked to stop a long computation (Escape held, or a mouse button waiting).
  virtual bool InterruptRequested() = 0;
  // A one-line input box; false when cancelled. value holds the start text and receives the answer.
  virtual bool InputBox(const std::string& caption, const std::string& prompt, std::string& value) = 0;
  // File dialogs; an empty result means cancelled. filter is Qt-style: "式ファイル (*.siki)".
  virtual std::string OpenFileName(const std::string& caption, const std::string& filter,
                                   const std::string& startPath) = 0;
  virtual std::string SaveFileName(const std::string& caption, const std::string& filter,
                                   const std::string& startPath) = 0;
  // Switches the input method between Japanese entry (true) and direct entry (false).
  virtual void SetJapaneseInput(bool /*on*/) {}
  // Starts speaking a kana text with a Japanese voice and returns at once; false when no voice is
  // installed. A new text stops the one being spoken.
  virtual bool Speak(const std::string& /*kana*/) { return false; }
  virtual void StopSpeaking() {}
  // True while a text is still being spoken.
  virtual bool Speaking() const { return false; }
};

// The installed platform. Before anything is installed a recording platform answers, so engine code
// run from a test or a tool never reaches a window.
Platform& CurrentPlatform();
// Installs p (not owned) and returns the previous one; nullptr reinstalls the default recording platform.
Platform* SetPlatform(Platform* p);

// Shorthands used all over the engine.
inline void ShowMessage(const std::string& text, const std::string& caption) {
  CurrentPlatform().MessageBox(text, caption, MsgButtons::Ok, MsgIcon::None);
}
inline MsgAnswer AskQuestion(const std::string& text, const std::string& caption, MsgButtons buttons) {
  return CurrentPlatform().MessageBox(text, caption, buttons, MsgIcon::Question);
}

// Records every message and answers questions from a script (Ok/Yes when the script is empty).
class RecordingPlatform : public Platform {
 public:
  struct Message {
    std::string kind;  // "message", "question", "notice", "beep", "input", "open", "save", "speak", "stop"
    std::string caption;
    std::string text;  // a file dialog's filter
    int durationMs = 0;
  };

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

  // Records "speak" with the kana as its text and counts as speaking until StopSpeaking or the next
  // Clear; answers voiceInstalled.
  bool Speak(const std::string& kana) override;
  void StopSpeaking() override;
  bool Speaking() const override { return speaking; }

  void Clear();
  // Messages and notices only (beeps, inputs and dialogs left out), in the order shown.
  std::vector<Message> Shown() const;
  // "caption: text" of each message and notice, one per entry; handy in test expectations.
  std::vector<std::string> ShownTexts() const;

  std::vector<Message> log;
  std::deque<MsgAnswer> answers;  // answers to questions, taken from the front
  MsgAnswer defaultAnswer = MsgAnswer::Yes;  // when the script is empty (Ok for OK/Cancel boxes)
  std::deque<bool> interrupts;  // answers to InterruptRequested, then false
  std::deque<std::string> inputs;  // answers to InputBox; an empty deque cancels
  std::deque<std::string> fileNames;  // answers to the file dialogs; an empty deque cancels
  bool voiceInstalled = true;  // what Speak answers
  bool speaking = false;
};
