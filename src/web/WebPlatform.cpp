// The browser's platform: messages queued for the page's dialogs, questions answered without blocking.
#include "web/WebPlatform.h"

#include <cstdio>

std::string JsonString(const std::string& s) {
  std::string out = "\"";
  for (char ch : s) {
    const unsigned char c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += ch;
        }
    }
  }
  return out + "\"";
}

MsgAnswer WebPlatform::MessageBox(const std::string& text, const std::string& caption, MsgButtons buttons,
                                  MsgIcon /*icon*/) {
  if (buttons == MsgButtons::Ok) {
    queue.push_back({"message", caption, text, buttons, 0});
    return MsgAnswer::Ok;
  }
  if (!answers.empty()) {
    const MsgAnswer a = answers.front();
    answers.pop_front();
    return a;
  }
  queue.push_back({"question", caption, text, buttons, 0});
  return MsgAnswer::Cancel;
}

void WebPlatform::ShowNotice(const std::string& text, const std::string& caption, int durationMs) {
  queue.push_back({"notice", caption, text, MsgButtons::Ok, durationMs});
}

void WebPlatform::Beep() { queue.push_back({"beep", "", "", MsgButtons::Ok, 0}); }

bool WebPlatform::InputBox(const std::string& caption, const std::string& prompt, std::string&) {
  // The calculation screen asks for no input; a caller that does is told "cancelled".
  queue.push_back({"input", caption, prompt, MsgButtons::Ok, 0});
  return false;
}

std::string WebPlatform::TakeMessages() {
  static const char* BUTTONS[] = {"ok", "okcancel", "yesno", "yesnocancel"};
  std::string out = "[";
  for (const Message& m : queue) {
    if (out.size() > 1) out += ',';
    out += "{\"kind\":" + JsonString(m.kind) + ",\"caption\":" + JsonString(m.caption) +
           ",\"text\":" + JsonString(m.text) + ",\"buttons\":\"" + BUTTONS[static_cast<int>(m.buttons)] +
           "\",\"durationMs\":" + std::to_string(m.durationMs) + "}";
  }
  queue.clear();
  return out + "]";
}
