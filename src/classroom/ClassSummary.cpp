// The class summary: results grouped by assignment, the working checked again, the table and its counts,
// and the summary written as JSON Lines and as CSV.
#include "classroom/ClassSummary.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <system_error>

#include "classroom/ClassJson.h"

namespace {

struct NoteInfo {
  const char* id;
  const char* name;
  const char* example;
};

// The final notes of the step checker, named for the teacher like the mistakes.
const NoteInfo NOTES[] = {
    {"not-reduced", "約分していない", "2/4 → 答え 2/4"},
    {"improper-left", "仮分数のまま（帯分数に直していない）", "7/3 → 答え 7/3"},
    {"mixed-left", "帯分数のまま（仮分数で答えていない）", "2と1/3 → 答え 2と1/3"},
    {"not-finished", "計算がとちゅうで終わっている", "1/2+1/3 → 答え 3/6+2/6"},
};

// One example of each known mistake, as a teacher reads it (piece → the pupil's step).
const std::map<std::string, std::string> EXAMPLES = {
    {"add-across", "1/2+1/3 → 2/5"},
    {"subtract-across", "3/4−1/2 → 2/2"},
    {"keep-denominator", "1/2+1/4 → 2/4"},
    {"numerators-not-scaled", "1/2+1/3 → 2/6"},
    {"whole-into-both", "2×1/3 → 2/6"},
    {"divide-not-inverted", "2/3÷4/5 → 8/15"},
    {"dividend-inverted", "2/3÷4/5 → 3/2×4/5"},
    {"borrow-swapped", "3と1/4−1と3/4 → 2と2/4"},
    {"mixed-part-forgotten", "2と1/3×3 → 6と1/3"},
    {"mixed-to-improper", "2と1/3 → 5/3"},
    {"reduced-unevenly", "4/6 → 1/3"},
    {"left-to-right", "1+2×3 → 9"},
    {"sign", "1/2−3/4 → 1/4"},
    {"upside-down", "1/2×3 → 2/3"},
    {"decimal-point", "0.2×0.3 → 0.6"},
};

// The order mistakes are listed in when their counts are equal: the step checker's table, then the notes.
int MistakeRank(const std::string& id) {
  const auto& known = KnownMistakes();
  for (size_t k = 0; k < known.size(); ++k)
    if (id == known[k].id) return static_cast<int>(k);
  int k = static_cast<int>(known.size());
  for (const NoteInfo& n : NOTES) {
    if (id == n.id) return k;
    ++k;
  }
  return k;
}

void AddUnique(std::vector<std::string>& list, const std::string& id) {
  if (std::find(list.begin(), list.end(), id) == list.end()) list.push_back(id);
}

std::vector<MistakeCount> Ranked(const std::map<std::string, int>& counts) {
  std::vector<MistakeCount> out;
  for (const auto& [id, n] : counts) out.push_back({id, n});
  std::stable_sort(out.begin(), out.end(), [](const MistakeCount& a, const MistakeCount& b) {
    if (a.count != b.count) return a.count > b.count;
    return MistakeRank(a.id) < MistakeRank(b.id);
  });
  return out;
}

std::vector<std::string> SplitSteps(const ResultProblem& p) {
  std::vector<std::string> pieces;
  std::vector<std::string> lines = p.working;
  if (!p.answer.empty() && (lines.empty() || lines.back() != p.answer)) lines.push_back(p.answer);
  for (const std::string& line : lines) {
    size_t start = 0;
    while (true) {
      const size_t eq = line.find('=', start);
      std::string piece = line.substr(start, eq == std::string::npos ? std::string::npos : eq - start);
      if (!piece.empty()) pieces.push_back(piece);
      if (eq == std::string::npos) break;
      start = eq + 1;
    }
  }
  return pieces;
}

SummaryCell CheckCell(const Assignment& a, const std::string& problem, const ResultProblem& rp) {
  SummaryCell cell;
  const std::vector<std::string> pieces = SplitSteps(rp);
  if (pieces.empty()) return cell;
  const StepOptions options = AssignmentStepOptions(a);
  std::string chain = problem;
  for (const std::string& s : pieces) chain += "=" + s;
  const ChainResult r = CheckChain(chain, options);
  bool allSteps = !r.steps.empty();
  for (const StepResult& s : r.steps) {
    cell.steps.push_back(StepVerdictName(s.verdict));
    if (!IsRightVerdict(s.verdict)) allSteps = false;
    if (!s.mistake.empty()) AddUnique(cell.mistakes, s.mistake);
  }
  bool lastRight = false;
  std::string note;
  if (allSteps) {
    lastRight = true;
    note = r.steps.back().finalNote;
  } else {
    // A wrong step on the way can still end at the right value: the last step against the problem.
    const ChainResult last = CheckChain(problem + "=" + pieces.back(), options);
    if (last.steps.size() == 1 && IsRightVerdict(last.steps[0].verdict)) {
      lastRight = true;
      note = last.steps[0].finalNote;
    }
  }
  const bool noteCounts = AssignmentFinalNoteCounts(a, note);
  if (lastRight && noteCounts) AddUnique(cell.mistakes, note);
  cell.verdict = !lastRight                ? CellVerdict::Wrong
                 : allSteps && !noteCounts ? CellVerdict::Right
                                           : CellVerdict::RightAnswerWrongStep;
  return cell;
}

struct Loaded {
  std::string file;
  ResultFile result;
  int64_t handedIn = 0;
  size_t order = 0;
};

std::string PupilKey(const ResultFile& r) {
  // The class and number name a pupil; without a number the name does.
  return r.className + '\x1f' + (r.number > 0 ? std::to_string(r.number) : "\x1f" + r.name);
}

AssignmentSummary Summarise(const std::string& code, const Assignment& a, std::vector<Loaded>& files,
                            std::vector<SkippedFile>& skipped) {
  AssignmentSummary s;
  s.code = code;
  s.assignment = a;
  const Sheet sheet = AssignmentSheet(a);
  if (sheet.problems.empty()) {
    for (const Loaded& f : files)
      skipped.push_back({f.file, "課題の問題を作れません（" + sheet.message + "）。"});
    return s;
  }
  for (const SheetProblem& p : sheet.problems) s.problems.push_back({p.expr, p.answer, 0, {}});

  // The later hand-in of a pupil counts; equal times: the file given later.
  std::map<std::string, size_t> latest;
  for (size_t k = 0; k < files.size(); ++k) {
    const std::string key = PupilKey(files[k].result);
    auto it = latest.find(key);
    if (it == latest.end()) {
      latest[key] = k;
      continue;
    }
    const Loaded& kept = files[it->second];
    if (files[k].handedIn >= kept.handedIn) {
      s.superseded.push_back(kept.file);
      it->second = k;
    } else {
      s.superseded.push_back(files[k].file);
    }
  }

  std::vector<std::map<std::string, int>> perProblem(s.problems.size());
  std::map<std::string, int> overall;
  for (const auto& [key, index] : latest) {
    const Loaded& f = files[index];
    const ResultFile& r = f.result;
    SummaryPupil pupil;
    pupil.className = r.className;
    pupil.number = r.number;
    pupil.name = r.name;
    pupil.file = f.file;
    pupil.handedIn = r.handedIn;
    pupil.tampered = r.problems.size() > s.problems.size();
    for (size_t k = 0; k < s.problems.size(); ++k) {
      SummaryCell cell;
      if (k < r.problems.size()) {
        const ResultProblem& rp = r.problems[k];
        if (rp.problem != s.problems[k].problem) pupil.tampered = true;
        // Checked against the assignment's own problem, whatever the file says the problem was.
        cell = CheckCell(a, s.problems[k].problem, rp);
        pupil.seconds += rp.seconds;
      }
      if (cell.verdict == CellVerdict::Right) {
        ++pupil.score;
        ++s.problems[k].right;
      }
      for (const std::string& m : cell.mistakes) {
        ++perProblem[k][m];
        AddUnique(pupil.mistakes, m);
      }
      pupil.cells.push_back(std::move(cell));
    }
    for (const std::string& m : pupil.mistakes) ++overall[m];
    if (pupil.tampered) s.tampered.push_back(f.file);
    s.pupils.push_back(std::move(pupil));
  }
  for (size_t k = 0; k < s.problems.size(); ++k) s.problems[k].mistakes = Ranked(perProblem[k]);
  s.mistakes = Ranked(overall);
  SortPupils(s, PupilOrder::Number);
  std::sort(s.superseded.begin(), s.superseded.end());
  std::sort(s.tampered.begin(), s.tampered.end());
  return s;
}

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

}  // namespace

const char* CellVerdictId(CellVerdict v) {
  switch (v) {
    case CellVerdict::Right: return "right";
    case CellVerdict::RightAnswerWrongStep: return "right-answer-wrong-step";
    case CellVerdict::Wrong: return "wrong";
    case CellVerdict::NotDone: return "not-done";
  }
  return "not-done";
}

const char* CellVerdictMark(CellVerdict v) {
  switch (v) {
    case CellVerdict::Right: return "○";
    case CellVerdict::RightAnswerWrongStep: return "△";
    case CellVerdict::Wrong: return "×";
    case CellVerdict::NotDone: return "—";
  }
  return "—";
}

std::string SummaryMistakeName(const std::string& id) {
  for (const KnownMistake& m : KnownMistakes())
    if (id == m.id) return m.name;
  for (const NoteInfo& n : NOTES)
    if (id == n.id) return n.name;
  return id;
}

std::string SummaryMistakeExample(const std::string& id) {
  auto it = EXAMPLES.find(id);
  if (it != EXAMPLES.end()) return it->second;
  for (const NoteInfo& n : NOTES)
    if (id == n.id) return n.example;
  return "";
}

std::string SummaryMistakeAdvice(const std::string& id) {
  std::string a = MistakeAdvice(id);
  return a.empty() ? FinalNoteAdvice(id) : a;
}

std::string CellText(const SummaryCell& c) {
  std::string t = CellVerdictMark(c.verdict);
  if (c.verdict == CellVerdict::Wrong && !c.mistakes.empty())
    t += " " + SummaryMistakeName(c.mistakes.front());
  return t;
}

std::string ReadableProblem(const std::string& t) {
  std::string out;
  auto digits = [&](size_t k) {
    size_t e = k;
    while (e < t.size() && ((t[e] >= '0' && t[e] <= '9') || t[e] == '.')) ++e;
    return e;
  };
  for (size_t k = 0; k < t.size();) {
    const size_t e = digits(k);
    if (e > k) {
      // den b num, or whole k den b num.
      const std::string first = t.substr(k, e - k);
      if (e < t.size() && (t[e] == 'b' || t[e] == 'k')) {
        const size_t e2 = digits(e + 1);
        if (t[e] == 'b' && e2 > e + 1) {
          out += t.substr(e + 1, e2 - e - 1) + "/" + first;
          k = e2;
          continue;
        }
        if (t[e] == 'k' && e2 > e + 1 && e2 < t.size() && t[e2] == 'b') {
          const size_t e3 = digits(e2 + 1);
          if (e3 > e2 + 1) {
            out += first + "と" + t.substr(e2 + 1, e3 - e2 - 1) + "/" + t.substr(e + 1, e2 - e - 1);
            k = e3;
            continue;
          }
        }
      }
      out += first;
      k = e;
      continue;
    }
    const char c = t[k++];
    out += c == '*' ? "×" : c == '/' ? "÷" : c == 'm' ? "−" : c == '-' ? "−" : std::string(1, c);
  }
  return out;
}

std::string DurationText(int64_t seconds) {
  const int64_t m = seconds / 60, s = seconds % 60;
  std::string sec = std::to_string(s);
  if (s < 10) sec = "0" + sec;
  return std::to_string(m) + "分" + sec + "秒";
}

void SortPupils(AssignmentSummary& a, PupilOrder order, size_t problem) {
  auto byNumber = [](const SummaryPupil& x, const SummaryPupil& y) {
    if (x.className != y.className) return x.className < y.className;
    if (x.number != y.number) return x.number < y.number;
    return x.name < y.name;
  };
  auto rank = [](CellVerdict v) {
    switch (v) {
      case CellVerdict::Right: return 0;
      case CellVerdict::RightAnswerWrongStep: return 1;
      case CellVerdict::Wrong: return 2;
      case CellVerdict::NotDone: return 3;
    }
    return 3;
  };
  std::stable_sort(a.pupils.begin(), a.pupils.end(), [&](const SummaryPupil& x, const SummaryPupil& y) {
    switch (order) {
      case PupilOrder::ScoreDown:
        if (x.score != y.score) return x.score > y.score;
        break;
      case PupilOrder::ScoreUp:
        if (x.score != y.score) return x.score < y.score;
        break;
      case PupilOrder::Problem:
        if (problem < x.cells.size() && problem < y.cells.size() &&
            rank(x.cells[problem].verdict) != rank(y.cells[problem].verdict))
          return rank(x.cells[problem].verdict) < rank(y.cells[problem].verdict);
        break;
      case PupilOrder::Number: break;
    }
    return byNumber(x, y);
  });
}

ClassSummary SummariseClass(const std::vector<ClassInputFile>& files) {
  ClassSummary out;
  std::vector<std::string> codes;  // canonical codes in the order first seen
  std::map<std::string, Assignment> assignments;
  std::map<std::string, std::vector<Loaded>> groups;
  for (size_t k = 0; k < files.size(); ++k) {
    const ClassInputFile& f = files[k];
    if (!f.readError.empty()) {
      out.skipped.push_back({f.name, f.readError});
      continue;
    }
    Loaded l;
    l.file = f.name;
    l.order = k;
    std::string why = ReadResultFile(f.bytes, l.result);
    if (!why.empty()) {
      out.skipped.push_back({f.name, why});
      continue;
    }
    Assignment a;
    why = DecodeAssignment(l.result.code, a);
    if (!why.empty()) {
      out.skipped.push_back({f.name, "課題のコードが読めません: " + why});
      continue;
    }
    std::string code;
    EncodeAssignment(a, code);  // the same code written one way, whatever case or hyphens the file used
    ParseIsoTime(l.result.handedIn, l.handedIn);
    if (!assignments.count(code)) {
      codes.push_back(code);
      assignments[code] = a;
    }
    groups[code].push_back(std::move(l));
  }
  for (const std::string& code : codes)
    out.assignments.push_back(Summarise(code, assignments[code], groups[code], out.skipped));
  // Every file of an assignment whose problems could not be made is skipped: no empty summary.
  out.assignments.erase(std::remove_if(out.assignments.begin(), out.assignments.end(),
                                       [](const AssignmentSummary& a) { return a.problems.empty(); }),
                        out.assignments.end());
  return out;
}

SummaryCell CheckSummaryCell(const Assignment& a, const std::string& problem, const ResultProblem& work) {
  return CheckCell(a, problem, work);
}

std::string ResultTooBigReason(uint64_t size) {
  return "ファイルが大きすぎます（" + std::to_string(size / 1024) + " KB。結果のファイルは " +
         std::to_string(RESULT_MAX_BYTES / 1024) + " KB までです）。";
}

std::vector<ClassInputFile> ReadClassInputs(const std::vector<std::string>& paths) {
  namespace fs = std::filesystem;
  std::vector<std::string> files;
  std::vector<ClassInputFile> out;
  for (const std::string& p : paths) {
    std::error_code ec;
    if (fs::is_directory(p, ec)) {
      std::vector<std::string> inFolder;
      for (const auto& e : fs::directory_iterator(p, ec)) {
        std::error_code ec2;
        if (Lower(e.path().extension().string()) == RESULT_EXTENSION && !e.is_directory(ec2))
          inFolder.push_back(e.path().string());
      }
      std::sort(inFolder.begin(), inFolder.end());
      if (inFolder.empty())
        out.push_back({p, "", "このフォルダーには結果のファイル（.kazoru）がありません。"});
      files.insert(files.end(), inFolder.begin(), inFolder.end());
    } else {
      files.push_back(p);
    }
  }
  for (const std::string& name : files) {
    ClassInputFile f;
    f.name = name;
    std::error_code ec;
    const auto size = fs::file_size(name, ec);
    if (ec) {
      f.readError = fs::exists(name, ec) ? "ファイルを読めません。" : "ファイルがありません。";
    } else if (size > RESULT_MAX_BYTES) {
      f.readError = ResultTooBigReason(size);
    } else {
      std::ifstream in(name, std::ios::binary);
      if (!in) {
        f.readError = "ファイルを読めません。";
      } else {
        // Read at most one byte more than allowed, in case the file grew after its size was asked.
        f.bytes.resize(RESULT_MAX_BYTES + 1);
        in.read(f.bytes.data(), static_cast<std::streamsize>(f.bytes.size()));
        f.bytes.resize(static_cast<size_t>(in.gcount()));
      }
    }
    out.push_back(std::move(f));
  }
  return out;
}

std::vector<std::string> ClassSummaryJson(const ClassSummary& s) {
  std::vector<std::string> lines;
  auto counts = [](classjson::Writer& w, const std::vector<MistakeCount>& list, const char* field) {
    w.Array();
    for (const MistakeCount& m : list) w.Object().Key("id").String(m.id).Key(field).Int(m.count).End();
    w.End();
  };
  auto strings = [](classjson::Writer& w, const std::vector<std::string>& list) {
    w.Array();
    for (const std::string& x : list) w.String(x);
    w.End();
  };
  for (const AssignmentSummary& a : s.assignments) {
    classjson::Writer w;
    w.Object();
    w.Key("code").String(a.code);
    w.Key("title").String(a.assignment.title);
    w.Key("skill").String(a.assignment.controls.skill);
    w.Key("final").String(AssignmentFinalId(a.assignment.finalForm));
    w.Key("problems").Array();
    for (const SummaryProblem& p : a.problems) {
      w.Object().Key("problem").String(p.problem).Key("answer").String(p.answer).Key("right").Int(p.right);
      w.Key("mistakes");
      counts(w, p.mistakes, "count");
      w.End();
    }
    w.End();
    w.Key("pupils").Array();
    for (const SummaryPupil& p : a.pupils) {
      w.Object();
      w.Key("class").String(p.className).Key("number").Int(p.number).Key("name").String(p.name);
      w.Key("file").String(p.file).Key("handedIn").String(p.handedIn);
      w.Key("score").Int(p.score).Key("seconds").Int(p.seconds);
      w.Key("problems").Array();
      for (const SummaryCell& c : p.cells) {
        w.Object().Key("verdict").String(CellVerdictId(c.verdict));
        w.Key("mistakes");
        strings(w, c.mistakes);
        w.Key("steps");
        strings(w, c.steps);
        w.End();
      }
      w.End();
      w.End();
    }
    w.End();
    w.Key("mistakes");
    counts(w, a.mistakes, "pupils");
    w.Key("superseded");
    strings(w, a.superseded);
    w.Key("tampered");
    strings(w, a.tampered);
    w.End();
    lines.push_back(w.Text());
  }
  classjson::Writer w;
  w.Object().Key("skipped").Array();
  for (const SkippedFile& f : s.skipped)
    w.Object().Key("file").String(f.file).Key("reason").String(f.reason).End();
  w.End().End();
  lines.push_back(w.Text());
  return lines;
}

namespace {

// One CSV field: quoted when it holds a comma, a quote, a line break or white space at an end; a text a
// spreadsheet would run as a formula (= + - @ at its start) gets an apostrophe so it stays text.
std::string CsvField(const std::string& s, bool fromPupil = false) {
  std::string v = s;
  if (fromPupil && !v.empty() && std::string("=+-@\t\r").find(v[0]) != std::string::npos) v = "'" + v;
  bool quote = v.find_first_of(",\"\r\n") != std::string::npos ||
               (!v.empty() && (v.front() == ' ' || v.back() == ' '));
  if (!quote) return v;
  std::string out = "\"";
  for (char c : v) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

void CsvRow(std::string& out, const std::vector<std::string>& fields) {
  for (size_t k = 0; k < fields.size(); ++k) {
    if (k > 0) out += ',';
    out += fields[k];
  }
  out += "\r\n";
}

}  // namespace

std::string ClassSummaryCsv(const ClassSummary& s) {
  std::string out = "\xEF\xBB\xBF";
  for (const AssignmentSummary& a : s.assignments) {
    CsvRow(out, {"課題", CsvField(a.assignment.title)});
    CsvRow(out, {"コード", CsvField(a.code)});
    std::vector<std::string> head = {"組", "番号", "名前", "得点", "時間"};
    for (size_t k = 0; k < a.problems.size(); ++k)
      head.push_back(CsvField("問" + std::to_string(k + 1) + " " + ReadableProblem(a.problems[k].problem)));
    head.push_back("まちがい");
    head.push_back("ファイル");
    CsvRow(out, head);
    for (const SummaryPupil& p : a.pupils) {
      std::vector<std::string> row = {CsvField(p.className, true), std::to_string(p.number),
                                      CsvField(p.name, true), std::to_string(p.score),
                                      CsvField(DurationText(p.seconds))};
      for (const SummaryCell& c : p.cells) row.push_back(CsvField(CellText(c)));
      std::string names;
      for (const std::string& m : p.mistakes) names += (names.empty() ? "" : "、") + SummaryMistakeName(m);
      row.push_back(CsvField(names));
      row.push_back(CsvField(p.file, true));
      CsvRow(out, row);
    }
    std::vector<std::string> right = {"正解の人数", "", "", "", ""};
    std::vector<std::string> top = {"多いまちがい", "", "", "", ""};
    for (const SummaryProblem& p : a.problems) {
      right.push_back(std::to_string(p.right));
      std::string t;
      for (size_t k = 0; k < p.mistakes.size() && k < 3; ++k)
        t += (k ? "、" : "") + SummaryMistakeName(p.mistakes[k].id) + "（" +
             std::to_string(p.mistakes[k].count) + "人）";
      top.push_back(CsvField(t));
    }
    CsvRow(out, right);
    CsvRow(out, top);
    out += "\r\n";
    CsvRow(out, {"まちがい", "人数", "例", "アドバイス"});
    for (const MistakeCount& m : a.mistakes)
      CsvRow(out, {CsvField(SummaryMistakeName(m.id)), std::to_string(m.count),
                   CsvField(SummaryMistakeExample(m.id)), CsvField(SummaryMistakeAdvice(m.id))});
    for (const std::string& f : a.superseded) CsvRow(out, {"あとの提出で差しかえ", CsvField(f, true)});
    for (const std::string& f : a.tampered) CsvRow(out, {"問題が書きかえられている", CsvField(f, true)});
    out += "\r\n";
  }
  if (!s.skipped.empty()) {
    CsvRow(out, {"読めなかったファイル", "理由"});
    for (const SkippedFile& f : s.skipped) CsvRow(out, {CsvField(f.file, true), CsvField(f.reason)});
  }
  return out;
}
