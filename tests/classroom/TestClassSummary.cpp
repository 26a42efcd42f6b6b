// Tests of the class summary: a class of result files made here with known ○ / △ / × / — cells and
// mistakes is summarised exactly; a later hand-in replaces an earlier one, an edited problem is reported
// and cannot claim a right answer, files of other assignments form their own summary, unreadable files
// are listed with the reason; the CSV reads as a spreadsheet reads it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "classroom/ClassJson.h"
#include "classroom/ClassSummary.h"
#include "engine/Bunio.h"
#include "support/ClassroomWork.h"
#include "support/TestSupport.h"

namespace {

Assignment SumAssignment(AssignmentFinal final = AssignmentFinal::Mixed) {
  Assignment a;
  a.controls.skill = "sum-unlike";
  a.controls.count = 4;
  a.controls.seed = 5;
  a.title = "5年2組 分数のたし算";
  a.finalForm = final;
  return a;
}

// A mixed answer "WkDbN" written improper "Db(W·D+N)".
std::string Improper(const std::string& answer) {
  long long w = 0, d = 0, n = 0;
  if (std::sscanf(answer.c_str(), "%lldk%lldb%lld", &w, &d, &n) != 3) return answer;
  return std::to_string(d) + "b" + std::to_string(w * d + n);
}

// What a pupil typed for one cell: "o" right, "t" right answer but improper (△ under mixed), "x" the
// add-across mistake, "w" a wrong step and then the right answer (△), "-" nothing.
ResultProblem Work(const SheetProblem& p, char kind) {
  ResultProblem r;
  r.problem = p.expr;
  r.seconds = 30;
  switch (kind) {
    case 'o': r.working = {p.answer}; break;
    case 't': r.working = {Improper(p.answer)}; break;
    case 'x': r.working = {AddAcross(p.expr)}; break;
    case 'w': r.working = {"1", p.answer}; break;
    default: r.seconds = 0; return r;
  }
  r.answer = r.working.back();
  return r;
}

ResultFile Pupil(const Assignment& a, int number, const std::string& name, const std::string& cells,
                 const std::string& handedIn = "2026-05-12T10:50:00+09:00") {
  const Sheet sheet = AssignmentSheet(a);
  ResultFile r;
  r.code = CodeOf(a);
  r.className = "5年2組";
  r.number = number;
  r.name = name;
  r.started = "2026-05-12T10:30:00+09:00";
  r.handedIn = handedIn;
  for (size_t k = 0; k < cells.size() && k < sheet.problems.size(); ++k)
    r.problems.push_back(Work(sheet.problems[k], cells[k]));
  return r;
}

std::string CutBefore(const std::string& text, const std::string& what) {
  return text.substr(0, text.find(what));
}

ClassInputFile File(const ResultFile& r, const std::string& name) { return {name, WriteResultFile(r), ""}; }

std::string Marks(const SummaryPupil& p) {
  std::string s;
  for (const SummaryCell& c : p.cells) s += CellVerdictMark(c.verdict);
  return s;
}

}  // namespace

TEST(ClassSummary, KnownCellsAreSummarisedExactly) {
  const Assignment a = SumAssignment();
  const Sheet sheet = AssignmentSheet(a);
  ASSERT_EQ(sheet.problems.size(), 4u);
  // The generated problems are of the form the helpers above read; an improper answer is written so.
  for (const SheetProblem& p : sheet.problems) ASSERT_NE(AddAcross(p.expr), "");
  const std::vector<ClassInputFile> files = {
      File(Pupil(a, 3, "佐藤", "oooo"), "c.kazoru"),
      File(Pupil(a, 1, "青木", "txo-"), "a.kazoru"),
      File(Pupil(a, 2, "石井", "xxw"), "b.kazoru"),
  };
  const ClassSummary s = SummariseClass(files);
  ASSERT_TRUE(s.skipped.empty());
  ASSERT_EQ(s.assignments.size(), 1u);
  const AssignmentSummary& sum = s.assignments[0];
  EXPECT_EQ(sum.code, CodeOf(a));
  ASSERT_EQ(sum.pupils.size(), 3u);
  // By number, whatever the order of the files.
  EXPECT_EQ(sum.pupils[0].name, "青木");
  EXPECT_EQ(sum.pupils[1].name, "石井");
  EXPECT_EQ(sum.pupils[2].name, "佐藤");
  // The first answer is a mixed number: written improper it is △ under the mixed form.
  ASSERT_NE(sheet.problems[0].answer.find('k'), std::string::npos);
  EXPECT_EQ(Marks(sum.pupils[0]), "△×○—");
  EXPECT_EQ(Marks(sum.pupils[1]), "××△—");
  EXPECT_EQ(Marks(sum.pupils[2]), "○○○○");
  EXPECT_EQ(sum.pupils[0].score, 1);
  EXPECT_EQ(sum.pupils[1].score, 0);
  EXPECT_EQ(sum.pupils[2].score, 4);
  EXPECT_EQ(sum.pupils[0].seconds, 90);
  EXPECT_EQ(sum.pupils[0].cells[1].mistakes, std::vector<std::string>{"add-across"});
  EXPECT_EQ(sum.pupils[0].cells[1].steps, std::vector<std::string>{"mistake"});
  EXPECT_EQ(sum.pupils[2].cells[0].steps, std::vector<std::string>{"ok-jump"});
  EXPECT_EQ(sum.pupils[1].cells[2].steps.size(), 2u);
  EXPECT_EQ(sum.pupils[0].cells[0].mistakes, std::vector<std::string>{"improper-left"});
  EXPECT_EQ(CellText(sum.pupils[1].cells[0]), "× 分母どうし・分子どうしをたした");
  // Per problem: right counts and the mistakes.
  EXPECT_EQ(sum.problems[0].right, 1);
  EXPECT_EQ(sum.problems[1].right, 1);
  EXPECT_EQ(sum.problems[2].right, 2);
  EXPECT_EQ(sum.problems[3].right, 1);
  ASSERT_EQ(sum.problems[1].mistakes.size(), 1u);
  EXPECT_EQ(sum.problems[1].mistakes[0].id, "add-across");
  EXPECT_EQ(sum.problems[1].mistakes[0].count, 2);
  // Per mistake: how many pupils made it (a pupil counts once however often).
  ASSERT_FALSE(sum.mistakes.empty());
  EXPECT_EQ(sum.mistakes[0].id, "add-across");
  EXPECT_EQ(sum.mistakes[0].count, 2);

  // The same class asked for "either" form: the improper answer is right.
  const Assignment either = SumAssignment(AssignmentFinal::Either);
  const ClassSummary e = SummariseClass({File(Pupil(either, 1, "青木", "txo-"), "a.kazoru")});
  ASSERT_EQ(e.assignments.size(), 1u);
  EXPECT_EQ(Marks(e.assignments[0].pupils[0]), "○×○—");
}

TEST(ClassSummary, ALargerGeneratedClassCountsEveryCell) {
  const Assignment a = SumAssignment(AssignmentFinal::Either);
  const std::string kinds = "oxw-";
  std::vector<ClassInputFile> files;
  int expectRight[4] = {0, 0, 0, 0};
  for (int n = 1; n <= 36; ++n) {
    std::string cells;
    for (int k = 0; k < 4; ++k) {
      cells += kinds[static_cast<size_t>((n * 7 + k * 3) % 4)];
      if (cells.back() == 'o') ++expectRight[k];
    }
    files.push_back(File(Pupil(a, n, "児童" + std::to_string(n), cells), std::to_string(n) + ".kazoru"));
  }
  const ClassSummary s = SummariseClass(files);
  ASSERT_EQ(s.assignments.size(), 1u);
  const AssignmentSummary& sum = s.assignments[0];
  ASSERT_EQ(sum.pupils.size(), 36u);
  for (size_t k = 0; k < 4; ++k) EXPECT_EQ(sum.problems[k].right, expectRight[k]) << k;
  for (const SummaryPupil& p : sum.pupils) {
    std::string want;
    for (int k = 0; k < 4; ++k) {
      const char kind = kinds[static_cast<size_t>((p.number * 7 + k * 3) % 4)];
      want += kind == 'o' ? "○" : kind == 'x' ? "×" : kind == 'w' ? "△" : "—";
    }
    EXPECT_EQ(Marks(p), want) << p.number;
  }
}

TEST(ClassSummary, LaterHandInSupersedesAndEditsAreReported) {
  const Assignment a = SumAssignment();
  const Sheet sheet = AssignmentSheet(a);
  ResultFile edited = Pupil(a, 4, "田中", "oo");
  // The problem changed to one whose answer the pupil wrote: checked against the real problem, it is wrong.
  edited.problems[1].problem = "2b1+2b1";
  edited.problems[1].working = {"1"};
  edited.problems[1].answer = "1";
  ResultFile longer = Pupil(a, 5, "中村", "oooo");
  longer.problems.push_back({"1+1", {"2"}, "2", 1});
  const std::vector<ClassInputFile> files = {
      File(Pupil(a, 1, "青木", "oooo", "2026-05-12T11:00:00+09:00"), "aoki-2.kazoru"),
      File(Pupil(a, 1, "青木", "xxxx", "2026-05-12T10:00:00+09:00"), "aoki-1.kazoru"),
      // Equal instants written at other offsets: the file given later counts.
      File(Pupil(a, 2, "石井", "xxxx", "2026-05-12T01:00:00Z"), "ishii-1.kazoru"),
      File(Pupil(a, 2, "石井", "oooo", "2026-05-12T10:00:00+09:00"), "ishii-2.kazoru"),
      File(edited, "tanaka.kazoru"),
      File(longer, "nakamura.kazoru"),
      {"gone.kazoru", "", "ファイルがありません。"},
      {"notes.kazoru", "{\"format\":\"kazoru-notebook\"}", ""},
      {"cut.kazoru", CutBefore(WriteResultFile(Pupil(a, 9, "x", "o")), "\"problems\""), ""},
  };
  ResultFile badCode = Pupil(a, 7, "y", "o");
  badCode.code = badCode.code.substr(0, badCode.code.size() - 2);
  std::vector<ClassInputFile> all = files;
  all.push_back(File(badCode, "badcode.kazoru"));
  Assignment other = a;
  other.controls.seed = 6;
  all.push_back(File(Pupil(other, 1, "青木", "o"), "other.kazoru"));

  const ClassSummary s = SummariseClass(all);
  ASSERT_EQ(s.assignments.size(), 2u);
  const AssignmentSummary& sum = s.assignments[0];
  ASSERT_EQ(sum.pupils.size(), 4u);
  EXPECT_EQ(sum.pupils[0].file, "aoki-2.kazoru");
  EXPECT_EQ(sum.pupils[0].score, 4);
  EXPECT_EQ(sum.pupils[1].file, "ishii-2.kazoru");
  EXPECT_EQ(sum.superseded, (std::vector<std::string>{"aoki-1.kazoru", "ishii-1.kazoru"}));
  EXPECT_EQ(sum.tampered, (std::vector<std::string>{"nakamura.kazoru", "tanaka.kazoru"}));
  EXPECT_EQ(Marks(sum.pupils[2]), "○×——");
  EXPECT_EQ(sum.pupils[3].score, 4);
  EXPECT_EQ(s.assignments[1].pupils.size(), 1u);
  ASSERT_EQ(s.skipped.size(), 4u);
  std::map<std::string, std::string> reasons;
  for (const SkippedFile& f : s.skipped) reasons[f.file] = f.reason;
  EXPECT_EQ(reasons["gone.kazoru"], "ファイルがありません。");
  EXPECT_NE(reasons["notes.kazoru"].find("kazoru-result"), std::string::npos);
  EXPECT_NE(reasons["cut.kazoru"].find("途中で終わっています"), std::string::npos);
  EXPECT_NE(reasons["badcode.kazoru"].find("課題のコード"), std::string::npos);
  (void)sheet;
}

TEST(ClassSummary, FilesAndFoldersAreReadWithinTheirLimits) {
  const std::string dir = TempDir();
  const Assignment a = SumAssignment();
  std::filesystem::create_directories(dir + "/class/inner.kazoru");
  std::ofstream(dir + "/class/1.kazoru", std::ios::binary) << WriteResultFile(Pupil(a, 1, "青木", "o"));
  std::ofstream(dir + "/class/2.KAZORU", std::ios::binary) << WriteResultFile(Pupil(a, 2, "石井", "x"));
  std::ofstream(dir + "/class/notes.txt", std::ios::binary) << "not a result";
  std::ofstream(dir + "/big.kazoru", std::ios::binary) << std::string(3 << 20, ' ');
  std::filesystem::create_directories(dir + "/empty");
  const std::vector<ClassInputFile> in =
      ReadClassInputs({dir + "/class", dir + "/big.kazoru", dir + "/none.kazoru", dir + "/empty"});
  ASSERT_EQ(in.size(), 5u);
  EXPECT_EQ(in[0].name, dir + "/empty");
  EXPECT_NE(in[0].readError.find(".kazoru"), std::string::npos);
  EXPECT_EQ(in[1].name, dir + "/class/1.kazoru");
  EXPECT_EQ(in[2].name, dir + "/class/2.KAZORU");
  EXPECT_NE(in[3].readError.find("大きすぎます"), std::string::npos);
  EXPECT_TRUE(in[3].bytes.empty());
  EXPECT_EQ(in[4].readError, "ファイルがありません。");
  const ClassSummary s = SummariseClass(in);
  ASSERT_EQ(s.assignments.size(), 1u);
  EXPECT_EQ(s.assignments[0].pupils.size(), 2u);
  EXPECT_EQ(s.skipped.size(), 3u);
}

namespace {

// Reads CSV as a spreadsheet does (RFC 4180): quoted fields, doubled quotes, line breaks inside quotes.
std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
  std::vector<std::vector<std::string>> rows(1);
  std::string field;
  bool quoted = false, wasQuoted = false;
  for (size_t k = 0; k < text.size(); ++k) {
    const char c = text[k];
    if (quoted) {
      if (c == '"' && k + 1 < text.size() && text[k + 1] == '"') {
        field += '"';
        ++k;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == '"' && field.empty() && !wasQuoted) {
      quoted = wasQuoted = true;
    } else if (c == ',') {
      rows.back().push_back(field);
      field.clear();
      wasQuoted = false;
    } else if (c == '\r' && k + 1 < text.size() && text[k + 1] == '\n') {
      rows.back().push_back(field);
      field.clear();
      wasQuoted = false;
      rows.emplace_back();
      ++k;
    } else {
      field += c;
    }
  }
  if (!field.empty() || !rows.back().empty()) rows.back().push_back(field);
  if (rows.back().empty()) rows.pop_back();
  return rows;
}

}  // namespace

TEST(ClassSummary, CsvReadsAsASpreadsheetReadsIt) {
  const Assignment a = SumAssignment();
  const std::string awkward = "山田 \"はな\", こ";
  const ClassSummary s = SummariseClass({
      File(Pupil(a, 1, awkward, "ox"), "a.kazoru"),
      File(Pupil(a, 2, "=1+2", "o"), "b.kazoru"),
      {"bad, \"file\".kazoru", "x", ""},
  });
  const std::string csv = ClassSummaryCsv(s);
  ASSERT_EQ(csv.compare(0, 3, "\xEF\xBB\xBF"), 0);
  EXPECT_EQ(csv.find('\n'), csv.find("\r\n") + 1);
  const auto rows = ParseCsv(csv.substr(3));
  ASSERT_GT(rows.size(), 6u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"課題", "5年2組 分数のたし算"}));
  EXPECT_EQ(rows[2][0], "組");
  EXPECT_EQ(rows[2].size(), 5 + 4 + 2u);
  EXPECT_EQ(rows[3][2], awkward);
  EXPECT_EQ(rows[3][3], "1");
  EXPECT_EQ(rows[3][5], "○");
  EXPECT_EQ(rows[3][6], "× 分母どうし・分子どうしをたした");
  EXPECT_EQ(rows[3][7], "—");
  // A name a spreadsheet would run as a formula stays text.
  EXPECT_EQ(rows[4][2], "'=1+2");
  EXPECT_EQ(rows[5][0], "正解の人数");
  EXPECT_EQ(rows[5][5], "2");
  EXPECT_EQ(rows.back()[0], "bad, \"file\".kazoru");
  for (const auto& row : rows)
    for (const std::string& f : row) EXPECT_TRUE(classjson::IsUtf8(f));
}

TEST(ClassSummary, JsonLinesHoldEveryField) {
  const Assignment a = SumAssignment();
  const ClassSummary s = SummariseClass({File(Pupil(a, 1, "青木", "ox"), "a.kazoru"), {"b", "", "なし"}});
  const std::vector<std::string> lines = ClassSummaryJson(s);
  ASSERT_EQ(lines.size(), 2u);
  classjson::Value v;
  std::string why;
  size_t pos = 0;
  ASSERT_TRUE(classjson::Parse(lines[0], v, why, pos)) << why;
  for (const char* key : {"code", "title", "problems", "pupils", "mistakes", "superseded", "tampered"})
    EXPECT_NE(v.Find(key), nullptr) << key;
  const classjson::Value& pupil = v.Find("pupils")->items.at(0);
  for (const char* key : {"class", "number", "name", "file", "score", "problems"})
    EXPECT_NE(pupil.Find(key), nullptr) << key;
  EXPECT_EQ(pupil.Find("problems")->items.at(1).Find("verdict")->text, "wrong");
  EXPECT_EQ(pupil.Find("problems")->items.at(1).Find("mistakes")->items.at(0).text, "add-across");
  ASSERT_TRUE(classjson::Parse(lines[1], v, why, pos)) << why;
  EXPECT_EQ(v.Find("skipped")->items.at(0).Find("reason")->text, "なし");
}

TEST(ClassSummary, SortingByScoreAndByProblem) {
  const Assignment a = SumAssignment();
  ClassSummary s = SummariseClass({
      File(Pupil(a, 1, "a", "xo"), "1"),
      File(Pupil(a, 2, "b", "oo"), "2"),
      File(Pupil(a, 3, "c", "-x"), "3"),
  });
  AssignmentSummary& sum = s.assignments.at(0);
  auto order = [&] {
    std::string o;
    for (const SummaryPupil& p : sum.pupils) o += p.name;
    return o;
  };
  SortPupils(sum, PupilOrder::ScoreDown);
  EXPECT_EQ(order(), "bac");
  SortPupils(sum, PupilOrder::ScoreUp);
  EXPECT_EQ(order(), "cab");
  SortPupils(sum, PupilOrder::Problem, 0);
  EXPECT_EQ(order(), "bac");
  SortPupils(sum, PupilOrder::Number);
  EXPECT_EQ(order(), "abc");
}

TEST(ClassSummary, ProblemsAreWrittenAsATeacherReadsThem) {
  for (auto [notation, readable] : std::vector<std::pair<std::string, std::string>>{
           {"2b1+3b1", "1/2+1/3"},
           {"3k4b1-1k4b3", "3と1/4−1と3/4"},
           {"2k3b1*3/5b4", "2と1/3×3÷4/5"},
           {"0.2*0.3", "0.2×0.3"},
           {"(1+2)*3", "(1+2)×3"},
           {"12", "12"},
       })
    EXPECT_EQ(ReadableProblem(notation), readable) << notation;
}
