// One pupil's work on an assignment: opening it from its code, the pupil's name, the working lines and
// times, the verdicts the feedback mode shows, the storage form and the result file handed in.
#include "classroom/PupilWork.h"

#include <algorithm>

#include "classroom/ClassJson.h"
#include "steps/StepCheck.h"

namespace {

constexpr const char* FULL_WIDTH_EQUAL = "\xEF\xBC\x9D";  // ＝
constexpr const char* IDEOGRAPHIC_SPACE = "\xE3\x80\x80";  // the full-width space

size_t CharCount(const std::string& s) {
  size_t n = 0;
  for (char c : s)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  return n;
}

bool StartsWith(const std::string& s, size_t at, const char* what) {
  return s.compare(at, std::char_traits<char>::length(what), what) == 0;
}

// A line without the spaces around it (ASCII and full-width).
std::string Trim(const std::string& s) {
  size_t a = 0, b = s.size();
  while (true) {
    if (a < b && (s[a] == ' ' || s[a] == '\t' || s[a] == '\r')) {
      ++a;
    } else if (b - a >= 3 && StartsWith(s, a, IDEOGRAPHIC_SPACE)) {
      a += 3;
    } else {
      break;
    }
  }
  while (true) {
    if (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t' || s[b - 1] == '\r')) {
      --b;
    } else if (b - a >= 3 && StartsWith(s, b - 3, IDEOGRAPHIC_SPACE)) {
      b -= 3;
    } else {
      break;
    }
  }
  return s.substr(a, b - a);
}

std::string WorkingLine(const std::string& raw) {
  std::string line = Trim(raw);
  if (!line.empty() && line[0] == '=')
    line.erase(0, 1);
  else if (StartsWith(line, 0, FULL_WIDTH_EQUAL))
    line.erase(0, 3);
  return Trim(line);
}

std::string CheckNamePart(const char* label, const std::string& v) {
  const std::string l = label;
  if (v.empty()) return l + "を入れてください。";
  if (!classjson::IsUtf8(v)) return l + "に読めない文字があります。";
  if (CharCount(v) > RESULT_MAX_NAME_CHARS)
    return l + "が長すぎます（" + std::to_string(RESULT_MAX_NAME_CHARS) + " 文字まで）。";
  for (char ch : v) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c == 0x7F) return l + "に使えない文字があります。";
    if (c == '/' || c == '\\') return l + "に「" + std::string(1, ch) + "」は使えません。";
  }
  if (v == "." || v == "..") return l + "に「" + v + "」は使えません。";
  return "";
}

bool ValidProblem(const PupilWork& w, size_t k) { return k < w.problems.size(); }

// The working as steps: every line split at its "=", empty pieces left out (as the summary reads it).
struct Piece {
  std::string text;
  size_t line = 0;
};
std::vector<Piece> Pieces(const std::vector<std::string>& working) {
  std::vector<Piece> pieces;
  for (size_t l = 0; l < working.size(); ++l) {
    size_t start = 0;
    while (true) {
      const size_t eq = working[l].find('=', start);
      std::string piece = working[l].substr(start, eq == std::string::npos ? std::string::npos : eq - start);
      if (!piece.empty()) pieces.push_back({piece, l});
      if (eq == std::string::npos) break;
      start = eq + 1;
    }
  }
  return pieces;
}

std::string ReadText(const classjson::Value& obj, const std::string& key, std::string& out) {
  const classjson::Value* v = obj.Find(key);
  if (!v) return "";
  if (v->type != classjson::Type::String) return "項目「" + key + "」が文字列ではありません。";
  out = v->text;
  return "";
}

std::string ReadBool(const classjson::Value& obj, const std::string& key, bool& out) {
  const classjson::Value* v = obj.Find(key);
  if (!v) return "";
  if (v->type != classjson::Type::Bool) return "項目「" + key + "」が真偽値ではありません。";
  out = v->boolean;
  return "";
}

}  // namespace

std::string OpenPupilWork(const std::string& codeOrLink, PupilWork& work) {
  Assignment a;
  const std::string why = DecodeAssignment(codeOrLink, a);
  if (!why.empty()) return why;
  const Sheet sheet = AssignmentSheet(a);
  if (sheet.problems.empty()) return "課題の問題を作れません（" + sheet.message + "）。";
  PupilWork w;
  if (!EncodeAssignment(a, w.code).empty()) w.code = CodeOfText(codeOrLink);
  w.assignment = a;
  for (const SheetProblem& p : sheet.problems) w.problems.push_back({p.expr, {}, 0, false});
  work = std::move(w);
  return "";
}

void StartPupilWork(PupilWork& work, int64_t now, int offsetMinutes) {
  if (work.started.empty()) work.started = IsoTime(now, offsetMinutes);
}

std::string CheckPupilName(const std::string& className, int64_t number, const std::string& name) {
  std::string why = CheckNamePart("組", className);
  if (why.empty() && (number < 1 || number > RESULT_MAX_NUMBER))
    why = "番号は 1 から " + std::to_string(RESULT_MAX_NUMBER) + " までの数で入れてください。";
  if (why.empty()) why = CheckNamePart("名前", name);
  return why;
}

std::string SetPupilName(PupilWork& work, const std::string& className, int64_t number,
                         const std::string& name) {
  const std::string c = Trim(className), n = Trim(name);
  const std::string why = CheckPupilName(c, number, n);
  if (!why.empty()) return why;
  if (work.className != c || work.number != number || work.name != n) work.changedSinceHandIn = true;
  work.className = c;
  work.number = number;
  work.name = n;
  return "";
}

std::string SetPupilWorking(PupilWork& work, size_t problem, const std::string& text) {
  if (!ValidProblem(work, problem)) return "その問題はありません。";
  if (!classjson::IsUtf8(text)) return "途中の式に読めない文字があります。";
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t nl = text.find('\n', start);
    const std::string line =
        WorkingLine(text.substr(start, nl == std::string::npos ? std::string::npos : nl - start));
    if (line.size() > RESULT_MAX_LINE_BYTES) return "途中の式が長すぎます。";
    for (char ch : line)
      if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F) return "途中の式に使えない文字があります。";
    if (!line.empty()) lines.push_back(line);
    if (lines.size() > RESULT_MAX_LINES)
      return "途中の式が多すぎます（" + std::to_string(RESULT_MAX_LINES) + " 行まで）。";
    if (nl == std::string::npos) break;
    start = nl + 1;
  }
  PupilProblem& p = work.problems[problem];
  if (p.working != lines) {
    p.working = std::move(lines);
    work.changedSinceHandIn = true;
  }
  return "";
}

void AddPupilSeconds(PupilWork& work, size_t problem, int64_t seconds) {
  if (!ValidProblem(work, problem) || seconds <= 0) return;
  int64_t& s = work.problems[problem].seconds;
  s = seconds >= RESULT_MAX_SECONDS - s ? RESULT_MAX_SECONDS : s + seconds;
}

void AskPupilHint(PupilWork& work, size_t problem) {
  if (ValidProblem(work, problem)) work.problems[problem].hint = true;
}

void SetPupilView(PupilWork& work, bool oneAtATime, size_t current) {
  work.oneAtATime = oneAtATime;
  if (ValidProblem(work, current)) work.current = current;
}

bool PupilProblemDone(const PupilProblem& p) { return !p.working.empty(); }

size_t PupilDoneCount(const PupilWork& work) {
  return static_cast<size_t>(std::count_if(work.problems.begin(), work.problems.end(), PupilProblemDone));
}

bool PupilVerdictsShown(const PupilWork& work) {
  switch (work.assignment.feedback) {
    case AssignmentFeedback::Now: return true;
    case AssignmentFeedback::End: return work.handIns > 0 && !work.changedSinceHandIn;
    case AssignmentFeedback::None: return false;
  }
  return false;
}

PupilFeedback PupilProblemFeedback(const PupilWork& work, size_t problem) {
  PupilFeedback f;
  if (!ValidProblem(work, problem) || !PupilVerdictsShown(work)) return f;
  f.shown = true;
  const PupilProblem& p = work.problems[problem];
  const std::vector<Piece> pieces = Pieces(p.working);
  StepOptions options = AssignmentStepOptions(work.assignment);
  options.hints = p.hint;
  std::string chain = p.problem;
  for (const Piece& piece : pieces) chain += "=" + piece.text;
  const ChainResult r = CheckChain(chain, options);
  for (size_t k = 0; k < r.steps.size(); ++k) {
    const StepResult& s = r.steps[k];
    PupilStep step;
    step.line = k < pieces.size() ? pieces[k].line : (pieces.empty() ? 0 : pieces.back().line);
    step.to = s.to;
    step.right = IsRightVerdict(s.verdict);
    step.verdict = StepVerdictName(s.verdict);
    step.mistake = s.mistake;
    if (!s.mistake.empty()) step.mistakeName = SummaryMistakeName(s.mistake);
    step.advice = s.advice;
    if (!s.finalNote.empty()) {
      if (AssignmentFinalNoteCounts(work.assignment, s.finalNote)) {
        f.finalNote = s.finalNote;
        f.finalAdvice = FinalNoteAdvice(s.finalNote);
      } else {
        // A form the assignment accepts: its note is not the pupil's business.
        const std::string note = FinalNoteAdvice(s.finalNote);
        if (step.advice.size() >= note.size() &&
            step.advice.compare(step.advice.size() - note.size(), note.size(), note) == 0)
          step.advice.erase(step.advice.size() - note.size());
      }
    }
    f.steps.push_back(std::move(step));
  }
  if (p.hint) f.hint = r.hint;
  // The problem as the teacher's summary will count it, from what the file will hold.
  const ResultFile file = PupilResultFile(work, "");
  f.verdict = CheckSummaryCell(work.assignment, p.problem, file.problems[problem]).verdict;
  return f;
}

PupilFeedback PupilProblemReview(const PupilWork& work, size_t problem) {
  PupilWork seen = work;
  seen.assignment.feedback = AssignmentFeedback::Now;
  if (problem < seen.problems.size()) seen.problems[problem].hint = false;
  return PupilProblemFeedback(seen, problem);
}

std::string PupilWorkStoreName(const std::string& code) {
  std::string name = "kadai-";
  for (char c : code)
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) name += c;
  return name + ".json";
}

std::string WritePupilWork(const PupilWork& work) {
  classjson::Writer w(false);
  w.Object();
  w.Key("format").String(PUPIL_WORK_FORMAT);
  w.Key("version").Int(PUPIL_WORK_VERSION);
  w.Key("code").String(work.code);
  w.Key("class").String(work.className);
  w.Key("number").Int(work.number);
  w.Key("name").String(work.name);
  w.Key("started").String(work.started);
  w.Key("handedIn").String(work.handedIn);
  w.Key("handIns").Int(work.handIns);
  w.Key("changed").Bool(work.changedSinceHandIn);
  w.Key("oneAtATime").Bool(work.oneAtATime);
  w.Key("current").Int(static_cast<int64_t>(work.current));
  w.Key("problems").Array();
  for (const PupilProblem& p : work.problems) {
    w.Object();
    w.Key("problem").String(p.problem);
    w.Key("working").Array();
    for (const std::string& s : p.working) w.String(s);
    w.End();
    w.Key("seconds").Int(p.seconds);
    w.Key("hint").Bool(p.hint);
    w.End();
  }
  w.End();
  w.End();
  return w.Text();
}

std::string ReadPupilWork(const std::string& bytes, PupilWork& out) {
  if (bytes.empty()) return "記録が空です。";
  if (bytes.size() > PUPIL_WORK_MAX_BYTES) return "記録が大きすぎます。";
  if (!classjson::IsUtf8(bytes)) return "記録が UTF-8 のテキストではありません。";
  classjson::Value root;
  std::string why;
  size_t position = 0;
  classjson::Limits limits;
  limits.maxDepth = 8;
  limits.maxString = RESULT_MAX_LINE_BYTES * 4;
  limits.maxItems = 100000;
  limits.maxValues = 200000;
  if (!classjson::Parse(bytes, root, why, position, limits))
    return "記録を JSON として読めません（" + std::to_string(position) + " バイト目: " + why + "）。";
  if (root.type != classjson::Type::Object) return "課題の記録ではありません。";
  const classjson::Value* format = root.Find("format");
  if (!format || format->type != classjson::Type::String || format->text != PUPIL_WORK_FORMAT)
    return "課題の記録ではありません。";
  const classjson::Value* version = root.Find("version");
  int64_t v = 0;
  if (!version || !version->Int(1, 1000000, v)) return "記録の版（version）が読めません。";
  if (v > PUPIL_WORK_VERSION) return "新しい版の Kazoru で作られた記録です。Kazoru を新しくしてください。";
  std::string code;
  if (!(why = ReadText(root, "code", code)).empty()) return why;
  PupilWork w;
  if (!(why = OpenPupilWork(code, w)).empty()) return why;

  std::string className, name;
  int64_t number = 0;
  if (!(why = ReadText(root, "class", className)).empty()) return why;
  if (!(why = ReadText(root, "name", name)).empty()) return why;
  if (const classjson::Value* n = root.Find("number"))
    if (!n->Int(0, RESULT_MAX_NUMBER, number)) return "番号（number）が読めません。";
  if (number != 0 || !className.empty() || !name.empty()) {
    if (!(why = CheckPupilName(className, number, name)).empty()) return why;
    w.className = className;
    w.number = number;
    w.name = name;
  }
  if (!(why = ReadText(root, "started", w.started)).empty()) return why;
  if (!(why = ReadText(root, "handedIn", w.handedIn)).empty()) return why;
  int64_t t = 0;
  if (!w.started.empty() && !ParseIsoTime(w.started, t)) return "始めた時刻（started）が読めません。";
  if (!w.handedIn.empty() && !ParseIsoTime(w.handedIn, t)) return "提出した時刻（handedIn）が読めません。";
  int64_t handIns = 0;
  if (const classjson::Value* h = root.Find("handIns"))
    if (!h->Int(0, 1000000, handIns)) return "提出の回数（handIns）が読めません。";
  w.handIns = static_cast<int>(handIns);
  if (w.handIns > 0 && w.handedIn.empty()) return "提出した時刻（handedIn）がありません。";
  if (!(why = ReadBool(root, "oneAtATime", w.oneAtATime)).empty()) return why;
  int64_t current = 0;
  if (const classjson::Value* c = root.Find("current"))
    if (!c->Int(0, static_cast<int64_t>(w.problems.size()) - 1, current))
      return "今の問題（current）が読めません。";
  w.current = static_cast<size_t>(current);

  const classjson::Value* problems = root.Find("problems");
  if (!problems || problems->type != classjson::Type::Array) return "項目「problems」が配列ではありません。";
  if (problems->items.size() != w.problems.size()) return "記録の問題の数が課題と合いません。";
  for (size_t k = 0; k < w.problems.size(); ++k) {
    const classjson::Value& item = problems->items[k];
    const std::string where = std::to_string(k + 1) + " 問目の";
    if (item.type != classjson::Type::Object) return where + "記録がオブジェクトではありません。";
    std::string problem;
    if (!(why = ReadText(item, "problem", problem)).empty()) return where + why;
    if (problem != w.problems[k].problem) return where + "問題が課題の問題と合いません。";
    std::string lines;
    if (const classjson::Value* working = item.Find("working")) {
      if (working->type != classjson::Type::Array) return where + "途中の式（working）が配列ではありません。";
      if (working->items.size() > RESULT_MAX_LINES) return where + "途中の式が多すぎます。";
      for (const classjson::Value& line : working->items) {
        if (line.type != classjson::Type::String) return where + "途中の式に文字列でないものがあります。";
        if (line.text.find('\n') != std::string::npos) return where + "途中の式に改行があります。";
        lines += line.text + "\n";
      }
    }
    if (!(why = SetPupilWorking(w, k, lines)).empty()) return where + why;
    if (const classjson::Value* s = item.Find("seconds"))
      if (!s->Int(0, RESULT_MAX_SECONDS, w.problems[k].seconds)) return where + "かかった時間が読めません。";
    if (!(why = ReadBool(item, "hint", w.problems[k].hint)).empty()) return where + why;
  }
  // SetPupilWorking marks every change; the stored mark says whether anything changed after a hand-in.
  bool changed = false;
  if (!(why = ReadBool(root, "changed", changed)).empty()) return why;
  w.changedSinceHandIn = changed;
  out = std::move(w);
  return "";
}

std::string ContinuePupilWork(const std::string& resultBytes, PupilWork& work) {
  ResultFile r;
  std::string why = ReadResultFile(resultBytes, r);
  if (!why.empty()) return why;
  PupilWork w;
  if (!(why = OpenPupilWork(r.code, w)).empty()) return why;
  if (r.problems.size() > w.problems.size()) return "課題より問題が多いファイルです。";
  if (!(why = CheckPupilName(r.className, r.number, r.name)).empty()) return why;
  w.className = r.className;
  w.number = r.number;
  w.name = r.name;
  w.started = r.started;
  w.handedIn = r.handedIn;
  w.handIns = 1;
  for (size_t k = 0; k < r.problems.size(); ++k) {
    const ResultProblem& p = r.problems[k];
    const std::string where = std::to_string(k + 1) + " 問目の";
    if (p.problem != w.problems[k].problem) return where + "問題が課題の問題と合いません。";
    std::string lines;
    for (const std::string& line : p.working) {
      if (line.find('\n') != std::string::npos) return where + "途中の式に改行があります。";
      lines += line + "\n";
    }
    // A file written by hand may give only the answer.
    if (p.working.empty() && !p.answer.empty()) lines = p.answer;
    if (!(why = SetPupilWorking(w, k, lines)).empty()) return where + why;
    w.problems[k].seconds = p.seconds;
  }
  w.changedSinceHandIn = false;
  work = std::move(w);
  return "";
}

std::string ContinueOpenPupilWork(const PupilWork& open, const std::string& resultBytes, PupilWork& work) {
  PupilWork w;
  const std::string why = ContinuePupilWork(resultBytes, w);
  if (!why.empty()) return why;
  if (w.code != open.code)
    return "このファイルは別の課題「" + w.assignment.title + "」のものです。その課題のリンクを開いてから、" +
           "ファイルを開いてください。";
  work = std::move(w);
  return "";
}

bool PupilWorkBegun(const PupilWork& work) {
  return work.handIns > 0 || std::any_of(work.problems.begin(), work.problems.end(),
                                         [](const PupilProblem& p) { return PupilProblemDone(p) || p.hint; });
}

ResultFile PupilResultFile(const PupilWork& work, const std::string& handedIn) {
  ResultFile r;
  r.code = work.code;
  r.className = work.className;
  r.number = work.number;
  r.name = work.name;
  r.started = work.started;
  r.handedIn = handedIn;
  for (const PupilProblem& p : work.problems)
    r.problems.push_back({p.problem, p.working, p.working.empty() ? std::string() : p.working.back(),
                          std::min(p.seconds, RESULT_MAX_SECONDS)});
  return r;
}

std::string HandInPupilWork(PupilWork& work, int64_t now, int offsetMinutes, std::string& name,
                            std::string& bytes) {
  const std::string why = CheckPupilName(work.className, work.number, work.name);
  if (!why.empty()) return why;
  const std::string at = IsoTime(now, offsetMinutes);
  if (work.started.empty()) work.started = at;
  const ResultFile r = PupilResultFile(work, at);
  bytes = WriteResultFile(r);
  name = ResultFileName(r, work.assignment.title);
  work.handedIn = at;
  ++work.handIns;
  work.changedSinceHandIn = false;
  return "";
}
