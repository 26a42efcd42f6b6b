// The installed platform and the recording platform used by tests and kazoru-cli.
#include "platform/Platform.h"

namespace {
RecordingPlatform& DefaultPlatform() {
  static RecordingPlatform p;
  return p;
}
Platform* installed = nullptr;
}  // namespace

Platform& CurrentPlatform() { return installed ? *installed : DefaultPlatform(); }

Platform* SetPlatform(Platform* p) {
  Platform* old = installed ? installed : &DefaultPlatform();
  installed = p;
  return old;
}

MsgAnswer RecordingPlatform::MessageBox(const std::string& text, const std::string& caption,
                                        MsgButtons buttons, MsgIcon /*icon*/) {
  log.push_back({buttons == MsgButtons::Ok ? "message" : "question", caption, text, 0});
  if (buttons == MsgButtons::Ok) return MsgAnswer::Ok;
  MsgAnswer a = defaultAnswer;
  if (!answers.empty()) {
    a = answers.front();
    answers.pop_front();
  }
  // An answer the box does not offer is read as its nearest meaning.
  switch (buttons) {
    case MsgButtons::OkCancel:
      return (a == MsgAnswer::Ok || a == MsgAnswer::Yes) ? MsgAnswer::Ok : MsgAnswer::Cancel;
    case MsgButtons::YesNo:
      return (a == MsgAnswer::Ok || a == MsgAnswer::Yes) ? MsgAnswer::Yes : MsgAnswer::No;
    case MsgButtons::YesNoCancel: return a == MsgAnswer::Ok ? MsgAnswer::Yes : a;
    case MsgButtons::Ok: break;
  }
  return MsgAnswer::Ok;
}

void RecordingPlatform::ShowNotice(const std::string& text, const std::string& caption, int durationMs) {
  log.push_back({"notice", caption, text, durationMs});
}

void RecordingPlatform::Beep() { log.push_back({"beep", "", "", 0}); }

bool RecordingPlatform::Speak(const std::string& kana) {
  log.push_back({"speak", "", kana, 0});
  speaking = voiceInstalled;
  return voiceInstalled;
}

void RecordingPlatform::StopSpeaking() {
  if (speaking) log.push_back({"stop", "", "", 0});
  speaking = false;
}

bool RecordingPlatform::InterruptRequested() {
  if (interrupts.empty()) return false;
  bool r = interrupts.front();
  interrupts.pop_front();
  return r;
}

bool RecordingPlatform::InputBox(const std::string& caption, const std::string& prompt, std::string& value) {
  log.push_back({"input", caption, prompt, 0});
  if (inputs.empty()) return false;
  value = inputs.front();
  inputs.pop_front();
  return true;
}

static std::string NextFileName(RecordingPlatform& p, const char* kind, const std::string& caption,
                                const std::string& filter) {
  p.log.push_back({kind, caption, filter, 0});
  if (p.fileNames.empty()) return {};
  std::string r = p.fileNames.front();
  p.fileNames.pop_front();
  return r;
}

std::string RecordingPlatform::OpenFileName(const std::string& caption, const std::string& filter,
                                            const std::string&) {
  return NextFileName(*this, "open", caption, filter);
}

std::string RecordingPlatform::SaveFileName(const std::string& caption, const std::string& filter,
                                            const std::string&) {
  return NextFileName(*this, "save", caption, filter);
}

void RecordingPlatform::Clear() {
  log.clear();
  speaking = false;
}

std::vector<RecordingPlatform::Message> RecordingPlatform::Shown() const {
  std::vector<Message> r;
  for (const auto& m : log)
    if (m.kind == "message" || m.kind == "question" || m.kind == "notice") r.push_back(m);
  return r;
}

std::vector<std::string> RecordingPlatform::ShownTexts() const {
  std::vector<std::string> r;
  for (const auto& m : Shown()) r.push_back(m.caption + ": " + m.text);
  return r;
}
