// Checks the working written on a notebook page, problem by problem, and sums it up for the teacher.
#include "notebook/NoteSteps.h"

#include "notebook/NotePage.h"

NoteStepMarksData NoteStepMarks;

void ResetNoteStepMarks() { NoteStepMarks = NoteStepMarksData{}; }

namespace {

std::string BeforeAmpersand(const std::string& line) { return line.substr(0, line.find('&')); }

bool StartsWithEquals(const std::string& line) { return !line.empty() && line.front() == '='; }

// Number of steps a text adds to a chain: its "=" signs, without a closing one.
int StepsIn(const std::string& text, bool continues) {
  int n = 0;
  for (char c : text) n += c == '=';
  if (!text.empty() && text.back() == '=') --n;
  if (continues) ++n;  // a working line's first "=" joins it to the chain
  return n < 0 ? 0 : n;
}

// What the teacher reads for a final note (its id stays in the batch tool's records).
std::string FinalNoteName(const std::string& id) {
  if (id == "not-reduced") return "約分していない答え";
  if (id == "improper-left") return "仮分数のままの答え";
  if (id == "mixed-left") return "帯分数のままの答え";
  if (id == "not-finished") return "計算のとちゅうで終わった答え";
  return "答えの形";
}

}  // namespace

NotePageCheck CheckNoteLines(const std::vector<std::string>& lines, const StepOptions& options) {
  NotePageCheck page;
  NoteStepSummary& sum = page.summary;
  for (const KnownMistake& m : KnownMistakes()) sum.mistakes.emplace_back(m.id, 0);
  for (const std::string& f : FinalNoteIds()) sum.finals.emplace_back(f, 0);

  for (size_t i = 0; i < lines.size(); ++i) {
    std::string head = BeforeAmpersand(lines[i]);
    if (head.empty() || StartsWithEquals(head) || IsEquationLine(head)) continue;
    NoteProblemCheck p;
    p.line = static_cast<int>(i) + 1;
    std::string chain = head;
    while (!chain.empty() && chain.back() == '=') chain.pop_back();
    p.stepLines.assign(static_cast<size_t>(StepsIn(head, false)), p.line);
    size_t j = i + 1;
    for (; j < lines.size(); ++j) {
      std::string w = BeforeAmpersand(lines[j]);
      if (!StartsWithEquals(w)) break;
      while (!w.empty() && w.back() == '=') w.pop_back();
      if (w.empty()) continue;
      chain += w;
      p.stepLines.insert(p.stepLines.end(), static_cast<size_t>(StepsIn(w, false)), static_cast<int>(j) + 1);
    }
    p.result = CheckChain(chain, options);
    p.stepLines.resize(p.result.steps.size(), p.line);
    if (!p.result.steps.empty()) {
      ++sum.problems;
      if (p.result.allRight) ++sum.problemsRight;
      for (const StepResult& s : p.result.steps) {
        ++sum.steps;
        if (IsRightVerdict(s.verdict)) ++sum.stepsRight;
        if (s.verdict == StepVerdict::Wrong) ++sum.wrong;
        if (s.verdict == StepVerdict::Unreadable) ++sum.unreadable;
        for (auto& m : sum.mistakes)
          if (m.first == s.mistake) ++m.second;
        for (auto& f : sum.finals)
          if (f.first == s.finalNote) ++f.second;
      }
    }
    page.problems.push_back(std::move(p));
  }
  return page;
}

NotePageCheck CheckNotePageSteps(const StepOptions& options) {
  std::vector<std::string> lines;
  for (int i = 1; i <= NotePage.lineCount; ++i) lines.push_back(NoteLine(i));
  return CheckNoteLines(lines, options);
}

std::vector<std::string> NoteLineMarks(const NotePageCheck& check, int lineCount) {
  std::vector<std::string> marks(static_cast<size_t>(lineCount > 0 ? lineCount : 0));
  for (const NoteProblemCheck& p : check.problems)
    for (size_t k = 0; k < p.result.steps.size(); ++k) {
      int line = p.stepLines[k];
      if (line < 1 || line > lineCount) continue;
      marks[static_cast<size_t>(line - 1)] += IsRightVerdict(p.result.steps[k].verdict) ? "○" : "×";
    }
  return marks;
}

std::vector<std::string> NoteSummaryRows(const NoteStepSummary& s) {
  std::vector<std::string> rows;
  rows.push_back("途中式を書いた問題: " + std::to_string(s.problems) +
                 "問（全部正しい: " + std::to_string(s.problemsRight) + "問）");
  rows.push_back("正しいステップ: " + std::to_string(s.stepsRight) + " / " + std::to_string(s.steps));
  for (const auto& [id, count] : s.mistakes) {
    if (count == 0) continue;
    std::string name;
    for (const KnownMistake& m : KnownMistakes())
      if (id == m.id) name = m.name;
    rows.push_back("・" + name + ": " + std::to_string(count) + "回");
  }
  if (s.wrong > 0) rows.push_back("・その他のまちがい: " + std::to_string(s.wrong) + "回");
  if (s.unreadable > 0) rows.push_back("・読めない式: " + std::to_string(s.unreadable) + "回");
  for (const auto& [id, count] : s.finals) {
    if (count == 0) continue;
    rows.push_back("・" + FinalNoteName(id) + ": " + std::to_string(count) + "回");
  }
  return rows;
}

std::string CurrentNoteMarks(int n) {
  if (n < 1 || n > NotePage.lineCount ||
      NoteStepMarks.lines.size() != static_cast<size_t>(NotePage.lineCount))
    return "";
  for (int i = 1; i <= NotePage.lineCount; ++i)
    if (NoteStepMarks.lines[static_cast<size_t>(i - 1)] != NoteLine(i)) return "";
  return n <= static_cast<int>(NoteStepMarks.marks.size()) ? NoteStepMarks.marks[static_cast<size_t>(n - 1)]
                                                           : "";
}

std::string CheckNotePageWorking(const StepOptions& options) {
  // The marks and the summary need no hints.
  StepOptions quick = options;
  quick.hints = false;
  NotePageCheck page = CheckNotePageSteps(quick);
  NoteStepMarks.lines.clear();
  for (int i = 1; i <= NotePage.lineCount; ++i) NoteStepMarks.lines.push_back(NoteLine(i));
  NoteStepMarks.marks = NoteLineMarks(page, NotePage.lineCount);
  if (page.summary.problems == 0)
    return "途中式の書かれた問題がありません。\n問題の下の行に、＝から始めて途中の式を書こう。";
  std::string text;
  for (const std::string& row : NoteSummaryRows(page.summary)) text += (text.empty() ? "" : "\n") + row;
  return text;
}
