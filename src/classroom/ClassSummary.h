// The class summary: the result files of an assignment read together, every problem's working checked
// again by the step checker against the assignment's own problem (so an edited file cannot claim a right
// answer), and the table a teacher reads — pupils × problems with ○ / △ / × and the mistake / —, per
// problem how many were right and the most frequent mistakes, per pupil the score, the time and the
// mistakes with their advice, per mistake how many pupils made it. Files of other assignments form
// summaries of their own; files that cannot be read are listed with the reason.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "classroom/Assignment.h"
#include "classroom/ResultFile.h"

// One file handed to the summary: its name (as shown) and its bytes.
struct ClassInputFile {
  std::string name;
  std::string bytes;
  // Set instead of bytes when the file could not even be read (gone, a folder, no permission, too big).
  std::string readError;
};

enum class CellVerdict { Right, RightAnswerWrongStep, Wrong, NotDone };

struct SummaryCell {
  CellVerdict verdict = CellVerdict::NotDone;
  std::vector<std::string> mistakes;  // mistake and final-note ids, first occurrence first
  std::vector<std::string> steps;  // the step checker's verdict names, one per step
};

struct SummaryPupil {
  std::string className;
  int64_t number = 0;
  std::string name;
  std::string file;
  std::string handedIn;
  int score = 0;  // right problems
  int64_t seconds = 0;  // the time spent on the problems
  std::vector<SummaryCell> cells;  // one per problem of the assignment
  std::vector<std::string> mistakes;  // every mistake of the pupil, first occurrence first
  bool tampered = false;
};

struct MistakeCount {
  std::string id;
  int count = 0;
};

struct SummaryProblem {
  std::string problem;
  std::string answer;
  int right = 0;
  std::vector<MistakeCount> mistakes;  // pupils with each mistake on this problem, most frequent first
};

struct AssignmentSummary {
  std::string code;
  Assignment assignment;
  std::vector<SummaryProblem> problems;
  std::vector<SummaryPupil> pupils;  // by class, then number, then name
  std::vector<MistakeCount> mistakes;  // pupils who made each mistake anywhere, most first
  std::vector<std::string> superseded;  // files replaced by a later hand-in of the same pupil
  std::vector<std::string> tampered;  // files with a problem text that is not the assignment's
};

struct SkippedFile {
  std::string file;
  std::string reason;
};

struct ClassSummary {
  std::vector<AssignmentSummary> assignments;  // in the order their first file came
  std::vector<SkippedFile> skipped;
};

// Summarises the files. The state of the screen, the process and the evaluator is as it was afterwards.
ClassSummary SummariseClass(const std::vector<ClassInputFile>& files);

// Reads the files and folders given (a folder stands for its .kazoru files, in name order) into inputs.
// Files larger than RESULT_MAX_BYTES are not read into memory: their readError says so.
std::vector<ClassInputFile> ReadClassInputs(const std::vector<std::string>& paths);
// Why a file of that many bytes (more than RESULT_MAX_BYTES) is not read: the readError of such a file.
std::string ResultTooBigReason(uint64_t size);

// One problem's cell as the summary counts it: the working checked against the assignment's own problem.
SummaryCell CheckSummaryCell(const Assignment& a, const std::string& problem, const ResultProblem& work);

// "right", "right-answer-wrong-step", "wrong", "not-done" and the marks ○ △ × —.
const char* CellVerdictId(CellVerdict v);
const char* CellVerdictMark(CellVerdict v);
// The Japanese name of a mistake or final-note id for the teacher, its example ("1/2+1/3 → 2/5"), and the
// advice for the pupil.
std::string SummaryMistakeName(const std::string& id);
std::string SummaryMistakeExample(const std::string& id);
std::string SummaryMistakeAdvice(const std::string& id);
// The text of a cell: "○", "△", "× 分母どうし・分子どうしをたした", "—".
std::string CellText(const SummaryCell& c);
// A problem in the notation as a teacher reads it in a table: "2b1+3k4b1*2" → "1/2+3と1/4×2".
std::string ReadableProblem(const std::string& notation);
// Seconds as 「12分05秒」.
std::string DurationText(int64_t seconds);

// The summary as JSON Lines: one object per assignment, then {"skipped": [...]}.
std::vector<std::string> ClassSummaryJson(const ClassSummary& s);
// The summary as CSV for a spreadsheet: UTF-8 with a byte order mark, CRLF lines, fields quoted where a
// comma, quote or line break is in them, and a text a spreadsheet would take as a formula kept as text.
std::string ClassSummaryCsv(const ClassSummary& s);

enum class PupilOrder { Number, ScoreDown, ScoreUp, Problem };
// Sorts the pupils of a summary: by class and number, by score, or by the verdict of one problem.
void SortPupils(AssignmentSummary& a, PupilOrder order, size_t problem = 0);
