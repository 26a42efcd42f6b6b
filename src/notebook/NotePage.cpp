// The notebook page's operations: selection, undo copy, adding, copying, deleting and replacing lines,
// and the answers of one line or of the whole page through the checker, the evaluator and the solver.
// The .siki file is in NotePage-File.cpp.
#include "notebook/NotePage.h"

#include <cstdio>

#include "engine/BunMath.h"
#include "engine/Houtei1ji.h"
#include "engine/InpCheck.h"
#include "engine/Settings.h"

NotePageData NotePage;

namespace {

const std::string EMPTY_TEXT;

// Index of line n (1-based) when it is in use.
bool InUse(int n) { return n >= 1 && n <= NotePage.lineCount; }

std::string& LineRef(int n) { return NotePage.lines[static_cast<std::size_t>(n - 1)]; }

// Every occurrence of from (non-overlapping, left to right) replaced by to.
std::string ReplaceAll(const std::string& text, const std::string& from, const std::string& to) {
  if (from.empty()) return text;
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (true) {
    std::size_t hit = text.find(from, pos);
    if (hit == std::string::npos) break;
    out.append(text, pos, hit - pos);
    out += to;
    pos = hit + from.size();
  }
  out.append(text, pos, std::string::npos);
  return out;
}

// The answer form the conditions settings give the evaluator.
int AnswerFormCode() { return ANSSYU + 4 * SYOUDSP; }

NoteOutcome CheckFailure(int line, int position) {
  NoteOutcome o;
  o.kind = NoteOutcomeKind::CheckFailed;
  o.line = line;
  o.position = position;
  o.errorNo = ErrorNo;
  o.errorText = CheckMessage(ErrorNo);
  return o;
}

}  // namespace

void ResetNotePage() {
  NotePage = NotePageData{};
  LastSikiLoad = SikiLoadReport{};
}

bool IsWorkingLine(const std::string& line) {
  return line.size() > 1 && line.front() == '=' && TextAccepted(line.substr(1), 1);
}

const std::string& NoteLine(int n) { return InUse(n) ? LineRef(n) : EMPTY_TEXT; }

bool NoteHasAnswers(int n) {
  auto has = [](const std::string& line) {
    const std::size_t amp = line.find('&');
    return amp != std::string::npos && amp + 1 < line.size();
  };
  if (n != 0) return InUse(n) && has(LineRef(n));
  for (int i = 1; i <= NotePage.lineCount; ++i)
    if (has(LineRef(i))) return true;
  return false;
}

bool IsEquationLine(std::string_view line) { return line.find('x') != std::string_view::npos; }

std::string StripAnswer(const std::string& line) {
  if (IsEquationLine(line)) return line.substr(0, line.find('&'));
  std::size_t eq = line.find('=');
  return eq == std::string::npos ? line : line.substr(0, eq + 1);
}

std::string ComposeAnswer(const std::string& expression, const std::string& answer) {
  return ReplaceAll(expression + "=" + answer + "&" + answer, "==", "=");
}

void TakeBackup() {
  NotePage.backupCount = NotePage.lineCount;
  NotePage.backupSelected = NotePage.selected;
  for (int i = 0; i < NotePage.lineCount; ++i)
    NotePage.backupLines[static_cast<std::size_t>(i)] = NotePage.lines[static_cast<std::size_t>(i)];
}

void RestoreBackup() {
  NotePage.selected = NotePage.backupSelected;
  NotePage.lineCount = NotePage.backupCount;
  for (int i = 0; i < NotePage.backupCount; ++i)
    NotePage.lines[static_cast<std::size_t>(i)] = NotePage.backupLines[static_cast<std::size_t>(i)];
  // Slots beyond the restored count are out of use; emptying them keeps a later AddEmptyLine clean.
  for (int i = NotePage.backupCount; i < NOTE_MAX_LINES; ++i)
    NotePage.lines[static_cast<std::size_t>(i)].clear();
  NotePage.modified = false;
}

void ClearLines() {
  for (auto& l : NotePage.lines) l.clear();
  NotePage.selected = 0;
  NotePage.lineCount = 0;
  NotePage.modified = false;
}

void NewPage() {
  ClearLines();
  NotePage.title.clear();
  NotePage.fileName.clear();
}

int NoteProblemNumber(int n) {
  if (!InUse(n) || IsWorkingLine(LineRef(n))) return 0;
  int number = 0;
  for (int i = 1; i <= n; ++i) number += IsWorkingLine(LineRef(i)) ? 0 : 1;
  return number;
}

bool AddEmptyLine() {
  if (NotePage.lineCount >= NOTE_MAX_LINES) return false;
  ++NotePage.lineCount;
  LineRef(NotePage.lineCount).clear();
  NotePage.selected = NotePage.lineCount;
  return true;
}

bool CopySelected() {
  if (NotePage.selected == 0 || NotePage.lineCount >= NOTE_COPY_LIMIT || !InUse(NotePage.selected))
    return false;
  TakeBackup();
  std::string copy = LineRef(NotePage.selected);
  ++NotePage.lineCount;
  LineRef(NotePage.lineCount) = std::move(copy);
  NotePage.modified = true;
  return true;
}

bool DeleteSelected() {
  if (!InUse(NotePage.selected)) return false;
  TakeBackup();
  for (int i = NotePage.selected; i < NotePage.lineCount; ++i) LineRef(i) = LineRef(i + 1);
  LineRef(NotePage.lineCount).clear();
  --NotePage.lineCount;
  NotePage.selected = 0;
  NotePage.modified = true;
  return true;
}

bool DropEmptyLine(int n) {
  if (!InUse(n) || !LineRef(n).empty()) return false;
  for (int i = n; i < NotePage.lineCount; ++i) LineRef(i) = LineRef(i + 1);
  LineRef(NotePage.lineCount).clear();
  --NotePage.lineCount;
  if (NotePage.selected == n)
    NotePage.selected = 0;
  else if (NotePage.selected > n)
    --NotePage.selected;
  return true;
}

DeleteAnswerResult DeleteAnswer(const std::function<bool()>& confirm) {
  if (!InUse(NotePage.selected)) return DeleteAnswerResult::NoSelection;
  TakeBackup();
  std::string& line = LineRef(NotePage.selected);
  if (line.find('=') == std::string::npos) return DeleteAnswerResult::NoAnswer;
  if (confirm && !confirm()) return DeleteAnswerResult::Cancelled;
  line = StripAnswer(line);
  NotePage.modified = true;
  return DeleteAnswerResult::Deleted;
}

void DeleteAllAnswers() {
  TakeBackup();
  for (int i = 1; i <= NotePage.lineCount; ++i) {
    std::string& line = LineRef(i);
    if (line.find('=') != std::string::npos) line = StripAnswer(line);
  }
  NotePage.modified = true;
}

void SelectPrevious() {
  if (NotePage.selected == 0)
    NotePage.selected = NotePage.lineCount;
  else if (NotePage.selected == 1)
    NotePage.selected = 0;
  else
    --NotePage.selected;
}

void SelectNext() {
  if (NotePage.selected < NotePage.lineCount)
    ++NotePage.selected;
  else
    NotePage.selected = 0;
}

bool ReplaceSelected(const std::string& text) {
  if (!InUse(NotePage.selected)) return false;
  LineRef(NotePage.selected) = text;
  return true;
}

int ReplaceAllLines(const std::vector<std::string>& texts) {
  int dropped = 0;
  int count = 0;
  for (const auto& t : texts) {
    if (t.empty()) continue;
    if (count >= NOTE_MAX_LINES) {
      ++dropped;
      continue;
    }
    NotePage.lines[static_cast<std::size_t>(count++)] = ReplaceAll(t, "pai", PaiText);
  }
  for (int i = count; i < NOTE_MAX_LINES; ++i) NotePage.lines[static_cast<std::size_t>(i)].clear();
  NotePage.lineCount = count;
  // The selection must stay on a line in use.
  if (NotePage.selected > count) NotePage.selected = 0;
  return dropped;
}

const char* NoteOutcomeName(NoteOutcomeKind kind) {
  switch (kind) {
    case NoteOutcomeKind::CheckFailed: return "CheckFailed";
    case NoteOutcomeKind::Unsolvable: return "Unsolvable";
    case NoteOutcomeKind::NotComputable: return "NotComputable";
  }
  return "";
}

std::vector<NoteOutcome> CalculateAll(const std::function<void(const NoteOutcome&)>& onOutcome) {
  std::vector<NoteOutcome> outcomes;
  auto report = [&](NoteOutcome o) {
    if (onOutcome) onOutcome(o);
    outcomes.push_back(std::move(o));
  };
  TakeBackup();
  for (int i = 1; i <= NotePage.lineCount; ++i) {
    if (LineRef(i).empty() || IsWorkingLine(LineRef(i))) continue;
    const std::string l = StripAnswer(LineRef(i));
    const bool equation = IsEquationLine(l);
    int p = CheckText(l, {.cutAtEquals = !equation, .omitMul = true});
    if (p >= 1) {
      report(CheckFailure(i, p));
      continue;
    }
    if (equation) {
      std::string r = SolveLinear(l, 1);
      if (r == "n") {
        NoteOutcome o;
        o.kind = NoteOutcomeKind::Unsolvable;
        o.line = i;
        report(o);
        continue;
      }
      LineRef(i) = r;
      continue;
    }
    std::string a;
    if (l.find(':') != std::string::npos) {
      a = SimplifyRatio(l, 0);
      if (a == "n") continue;
    } else {
      a = EvaluateExpression(l, EvalOptions::FromCode(AnswerFormCode()));
      if (EvalStatus < 0) {
        NoteOutcome o;
        o.kind = NoteOutcomeKind::NotComputable;
        o.line = i;
        report(o);
        continue;
      }
    }
    LineRef(i) = ComposeAnswer(l, a);
  }
  NotePage.modified = true;
  return outcomes;
}

NoteCalcResult CalculateSelected(const std::function<bool()>& confirm) {
  NoteCalcResult r;
  TakeBackup();
  if (confirm && !confirm()) {
    r.cancelled = true;
    return r;
  }
  const int n = NotePage.selected;
  if (!InUse(n) || LineRef(n).empty()) return r;
  const std::string& line = LineRef(n);
  const std::string l = line.substr(0, line.find('&'));
  int p = CheckText(l, {.cutAtEquals = true, .omitMul = true});
  if (p >= 1) {
    r.outcomes.push_back(CheckFailure(n, p));
    return r;
  }
  const std::size_t eq = l.find('=');
  const std::string w = eq == std::string::npos ? l : l.substr(0, eq + 1);
  std::string result;
  if (IsEquationLine(l)) {
    result = SolveLinear(l, 1);
    if (result == "n") return r;
  } else {
    std::string a;
    if (w.find(':') != std::string::npos) {
      a = SimplifyRatio(w, 0);
      if (a == "n") return r;
    } else {
      a = EvaluateExpression(w, EvalOptions::FromCode(AnswerFormCode()));
      if (EvalStatus < 0) return r;
    }
    result = ComposeAnswer(w, a);
  }
  LineRef(n) = result;
  NotePage.modified = true;
  r.changed = true;
  return r;
}

bool StartPage(NoteOrigin origin, const std::string& text) {
  if (origin == NoteOrigin::CalculationScreen) {
    if (text.empty()) {
      NotePage.modified = false;
      return true;
    }
    // The calculation line becomes the page's only line (the page was cleared when the window closed).
    for (auto& l : NotePage.lines) l.clear();
    NotePage.lineCount = 1;
    NotePage.lines[0] = text;
    if (NotePage.selected > 1) NotePage.selected = 0;
    return true;
  }
  if (text.empty()) return true;
  if (NotePage.lineCount >= NOTE_MAX_LINES) return false;
  ++NotePage.lineCount;
  LineRef(NotePage.lineCount) = text;
  return true;
}

std::string NoteOutcomeText(const NoteOutcome& o, bool single) {
  char buf[160];
  // The problem as the sheet numbers it (working lines have no number; a line the page no longer holds
  // keeps its line number).
  const int number = NoteProblemNumber(o.line) > 0 ? NoteProblemNumber(o.line) : o.line;
  switch (o.kind) {
    case NoteOutcomeKind::CheckFailed:
      std::snprintf(buf, sizeof buf, "[%d 問:%d 字目][ｴﾗｰ値%d]", number, o.position, o.errorNo);
      return std::string(buf) + o.errorText +
             (single ? "\n\n編集し直してから再計算をせよ。" : "\n\n編集し直してから再計算してください。");
    case NoteOutcomeKind::Unsolvable:
      std::snprintf(buf, sizeof buf, "[ %d 問目]は､解けませんでした。", number);
      return buf;
    case NoteOutcomeKind::NotComputable:
      std::snprintf(buf, sizeof buf, "[ %d 問目]は､計算できませんでした。", number);
      return buf;
  }
  return "";
}
