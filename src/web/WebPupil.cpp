// The pupil's side of an assignment in the browser, over the same window-free work as the desktop's: the
// assignment opened from the link's code, the pupil's name, the working lines and times, the verdicts the
// feedback mode shows, the storage form the page keeps in the browser's storage after every change, the
// result file handed in, and problems and working drawn in school notation.
#include <emscripten.h>

#include <string>
#include <vector>

#include "classroom/PupilWork.h"
#include "sheets/SheetPages.h"
#include "web/WebCanvas.h"
#include "web/WebPlatform.h"

namespace {

std::string& PupilResult() {
  static std::string r;
  return r;
}
const char* Give(std::string s) {
  PupilResult() = std::move(s);
  return PupilResult().c_str();
}

PupilWork& Work() {
  static PupilWork w;
  return w;
}

// A result file's work waiting for the pupil's yes before it replaces the work on screen.
PupilWork& Pending() {
  static PupilWork w;
  return w;
}

WebCanvas& Surface() {
  static WebCanvas canvas;
  return canvas;
}

constexpr int ROW_HEIGHT = 48;

std::string Message(const std::string& why) { return "{\"message\":" + JsonString(why) + "}"; }

int64_t Seconds(double now) { return now > 0 && now < 1e12 ? static_cast<int64_t>(now) : 0; }

}  // namespace

extern "C" {

// Opens the assignment of a code or link with no work yet: {message} ("" when it opened).
EMSCRIPTEN_KEEPALIVE const char* kz_pw_open(const char* text) {
  PupilWork w;
  const std::string why = OpenPupilWork(text ? text : "", w);
  if (why.empty()) Work() = std::move(w);
  return Give(Message(why));
}

// Takes back the work kept on the device for the open assignment: "" or why it cannot be (another
// assignment's record counts as one that cannot be read).
EMSCRIPTEN_KEEPALIVE const char* kz_pw_take_back(const char* stored) {
  PupilWork w;
  std::string why = ReadPupilWork(stored ? stored : "", w);
  if (why.empty() && w.code != Work().code) why = "別の課題の記録です。";
  if (why.empty()) Work() = std::move(w);
  return Give(why);
}

// A result file read to continue the open assignment from it (a pupil on another device, or after the
// browser's storage was cleared), held until the pupil says the work on screen may be replaced:
// {message, replaces, class, number, name, handedIn, done, total}. message says why the file cannot be
// continued (another assignment's, damaged); replaces tells that the work on screen holds something.
EMSCRIPTEN_KEEPALIVE const char* kz_pw_read_file(const char* bytes, int length) {
  PupilWork& pending = Pending();
  pending = PupilWork();
  const std::string text(bytes ? bytes : "", bytes && length > 0 ? static_cast<size_t>(length) : 0);
  const std::string why = ContinueOpenPupilWork(Work(), text, pending);
  if (!why.empty()) pending = PupilWork();
  return Give(
      "{\"message\":" + JsonString(why) + ",\"replaces\":" + (PupilWorkBegun(Work()) ? "true" : "false") +
      ",\"class\":" + JsonString(pending.className) + ",\"number\":" + std::to_string(pending.number) +
      ",\"name\":" + JsonString(pending.name) + ",\"handedIn\":" + JsonString(pending.handedIn) +
      ",\"done\":" + std::to_string(PupilDoneCount(pending)) +
      ",\"total\":" + std::to_string(pending.problems.size()) + "}");
}
// Takes the work of the file read last in place of the work on screen: 1, or 0 when none is held.
EMSCRIPTEN_KEEPALIVE int kz_pw_take_file() {
  PupilWork& pending = Pending();
  if (pending.code.empty() || pending.code != Work().code) return 0;
  Work() = std::move(pending);
  pending = PupilWork();
  return 1;
}
// The largest file kz_pw_read_file takes (a larger one is not read at all).
EMSCRIPTEN_KEEPALIVE double kz_pw_max_bytes() { return static_cast<double>(RESULT_MAX_BYTES); }

// The time the work began (seconds since 1970, minutes east of UTC), unless it has begun.
EMSCRIPTEN_KEEPALIVE void kz_pw_start(double now, int offsetMinutes) {
  StartPupilWork(Work(), Seconds(now), offsetMinutes);
}

EMSCRIPTEN_KEEPALIVE const char* kz_pw_check_name(const char* className, int number, const char* name) {
  return Give(CheckPupilName(className ? className : "", number, name ? name : ""));
}
EMSCRIPTEN_KEEPALIVE const char* kz_pw_set_name(const char* className, int number, const char* name) {
  return Give(SetPupilName(Work(), className ? className : "", number, name ? name : ""));
}
EMSCRIPTEN_KEEPALIVE const char* kz_pw_set_working(int problem, const char* text) {
  if (problem < 0) return Give("その問題はありません。");
  return Give(SetPupilWorking(Work(), static_cast<size_t>(problem), text ? text : ""));
}
EMSCRIPTEN_KEEPALIVE void kz_pw_add_seconds(int problem, int seconds) {
  if (problem >= 0) AddPupilSeconds(Work(), static_cast<size_t>(problem), seconds);
}
EMSCRIPTEN_KEEPALIVE void kz_pw_hint(int problem) {
  if (problem >= 0) AskPupilHint(Work(), static_cast<size_t>(problem));
}
EMSCRIPTEN_KEEPALIVE void kz_pw_view(int oneAtATime, int current) {
  if (current >= 0) SetPupilView(Work(), oneAtATime != 0, static_cast<size_t>(current));
}

// The work as the page shows it: {code, title, feedback, final, class, number, name, started, handedIn,
// handIns, changed, verdicts, oneAtATime, current, done, total, problems: [{problem, readable, working,
// seconds, hint, done}]}.
EMSCRIPTEN_KEEPALIVE const char* kz_pw_state() {
  const PupilWork& w = Work();
  std::string s = "{\"code\":" + JsonString(w.code) + ",\"title\":" + JsonString(w.assignment.title) +
                  ",\"feedback\":\"" + AssignmentFeedbackId(w.assignment.feedback) + "\",\"final\":\"" +
                  AssignmentFinalId(w.assignment.finalForm) +
                  "\",\"finalName\":" + JsonString(AssignmentFinalName(w.assignment.finalForm)) +
                  ",\"class\":" + JsonString(w.className) + ",\"number\":" + std::to_string(w.number) +
                  ",\"name\":" + JsonString(w.name) + ",\"started\":" + JsonString(w.started) +
                  ",\"handedIn\":" + JsonString(w.handedIn) + ",\"handIns\":" + std::to_string(w.handIns) +
                  ",\"changed\":" + (w.changedSinceHandIn ? "true" : "false") +
                  ",\"verdicts\":" + (PupilVerdictsShown(w) ? "true" : "false") +
                  ",\"oneAtATime\":" + (w.oneAtATime ? "true" : "false") +
                  ",\"current\":" + std::to_string(w.current) +
                  ",\"done\":" + std::to_string(PupilDoneCount(w)) +
                  ",\"total\":" + std::to_string(w.problems.size()) + ",\"problems\":[";
  for (size_t k = 0; k < w.problems.size(); ++k) {
    const PupilProblem& p = w.problems[k];
    if (k) s += ',';
    s += "{\"problem\":" + JsonString(p.problem) + ",\"readable\":" + JsonString(ReadableProblem(p.problem)) +
         ",\"working\":[";
    for (size_t l = 0; l < p.working.size(); ++l) s += (l ? "," : "") + JsonString(p.working[l]);
    s += "],\"seconds\":" + std::to_string(p.seconds) + ",\"hint\":" + (p.hint ? "true" : "false") +
         ",\"done\":" + (PupilProblemDone(p) ? "true" : "false") + "}";
  }
  return Give(s + "]}");
}

// The verdicts of a problem as the mode shows them: {shown, verdict, mark, steps: [{line, to, right,
// verdict, mistake, mistakeName, advice}], finalNote, finalAdvice, hint}.
EMSCRIPTEN_KEEPALIVE const char* kz_pw_feedback(int problem) {
  const PupilFeedback f =
      PupilProblemFeedback(Work(), problem < 0 ? Work().problems.size() : static_cast<size_t>(problem));
  std::string s = std::string("{\"shown\":") + (f.shown ? "true" : "false") + ",\"verdict\":\"" +
                  CellVerdictId(f.verdict) + "\",\"mark\":" + JsonString(CellVerdictMark(f.verdict)) +
                  ",\"steps\":[";
  for (size_t k = 0; k < f.steps.size(); ++k) {
    const PupilStep& st = f.steps[k];
    if (k) s += ',';
    s += "{\"line\":" + std::to_string(st.line) + ",\"to\":" + JsonString(st.to) +
         ",\"right\":" + (st.right ? "true" : "false") + ",\"verdict\":" + JsonString(st.verdict) +
         ",\"mistake\":" + JsonString(st.mistake) + ",\"mistakeName\":" + JsonString(st.mistakeName) +
         ",\"advice\":" + JsonString(st.advice) + "}";
  }
  s += "],\"finalNote\":" + JsonString(f.finalNote) + ",\"finalAdvice\":" + JsonString(f.finalAdvice) +
       ",\"hint\":" + JsonString(f.hint) + "}";
  return Give(s);
}

// The storage form the page keeps.
EMSCRIPTEN_KEEPALIVE const char* kz_pw_store() { return Give(WritePupilWork(Work())); }

// 提出: {message, name, text} — the result file's name and text, or why it cannot be handed in yet.
EMSCRIPTEN_KEEPALIVE const char* kz_pw_hand_in(double now, int offsetMinutes) {
  std::string name, bytes;
  const std::string why = HandInPupilWork(Work(), Seconds(now), offsetMinutes, name, bytes);
  return Give("{\"message\":" + JsonString(why) + ",\"name\":" + JsonString(name) +
              ",\"text\":" + JsonString(bytes) + "}");
}

// Lines in school notation (separated by new lines), one row of ROW_HEIGHT pixels each, as a drawing list.
EMSCRIPTEN_KEEPALIVE const char* kz_pw_rows(const char* text) {
  std::vector<std::string> rows;
  const std::string t = text ? text : "";
  size_t start = 0;
  while (start <= t.size()) {
    const size_t nl = t.find('\n', start);
    rows.push_back(t.substr(start, nl == std::string::npos ? std::string::npos : nl - start));
    if (nl == std::string::npos) break;
    start = nl + 1;
  }
  WebCanvas& c = Surface();
  c.browserMetrics = true;
  c.ClearOps();
  DrawSheetRows(c, rows, false, ROW_HEIGHT);
  return Give(c.Serialise());
}
EMSCRIPTEN_KEEPALIVE int kz_pw_row_height() { return ROW_HEIGHT; }

}  // extern "C"
