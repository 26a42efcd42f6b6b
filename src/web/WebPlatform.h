// The platform of the browser: message boxes and the notice box become page dialogs, queued here for the
// page to take after each call, so nothing ever blocks the page. A question is answered from the answers
// the page gave beforehand; without one it is recorded as pending and answered "Cancel" (every question
// stops on Cancel), and the page asks the pupil and repeats the action with the answer given.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/Platform.h"

class WebPlatform : public Platform {
 public:
  struct Message {
    std::string kind;  // "message", "question", "notice", "beep"
    std::string caption;
    std::string text;
    MsgButtons buttons = MsgButtons::Ok;
    int durationMs = 0;
  };

  MsgAnswer MessageBox(const std::string& text, const std::string& caption, MsgButtons buttons,
                       MsgIcon icon) override;
  void ShowNotice(const std::string& text, const std::string& caption, int durationMs) override;
  void Beep() override;
  // The page sets the flag; the factorisation polls it between rounds.
  bool InterruptRequested() override { return interrupt; }
  bool InputBox(const std::string& caption, const std::string& prompt, std::string& value) override;
  // Files travel as bytes through the page's pickers and downloads, never by name.
  std::string OpenFileName(const std::string&, const std::string&, const std::string&) override { return {}; }
  std::string SaveFileName(const std::string&, const std::string&, const std::string&) override { return {}; }

  // The queued messages as a JSON array, and the queue emptied.
  std::string TakeMessages();

  std::vector<Message> queue;
  std::deque<MsgAnswer> answers;  // answers the page gave for the next questions
  bool interrupt = false;
};

// Text as a JSON string literal (quotes included).
std::string JsonString(const std::string& s);
