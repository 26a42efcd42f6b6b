// Practice sheets for teachers: the skills a sheet can practise, the controls of its difficulty, and the
// seeded generator that makes the problems, each checked with the program's own checker, evaluator and
// process classification before it is taken. No window and no drawing here: the page text goes to the
// notebook's .siki file, the printed sheet and answer key are drawn by the callers (SheetPrint in the
// batch tool and the notebook window).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "process/CalcProcManage.h"

// How the problems of a skill are made and checked.
enum class SkillKind {
  Process,  // a sum or product line: the process driver classifies it and makes its steps
  Reduction,  // a fraction reduced (the reduction command's process)
  ToMixed,  // an improper fraction as a mixed number (the conversion process)
  ToImproper,  // a mixed number as an improper fraction
  DecimalToFraction,
  RepeatingToFraction,
  FractionToDecimal,  // a fraction whose decimal terminates; no process
  FractionToRepeating,  // a fraction as a repeating decimal; no process
  Factorisation,  // a natural number in prime factors
  Ratio,  // a ratio in lowest terms
  Equation,  // a first-degree equation in x
  OrderOfOperations,  // mixed operators and brackets: calculated directly, no process
};

// The controls a skill takes (bits of SheetSkill::controls).
enum SheetControlBit : unsigned {
  CONTROL_MAX_DEN = 1u << 0,
  CONTROL_TERMS = 1u << 1,
  CONTROL_REDUCE = 1u << 2,
  CONTROL_MAX_ANSWER = 1u << 3,
  CONTROL_MIXED = 1u << 4,
};

struct SheetSkill {
  const char* id;  // stable: stored by teachers' scripts
  const char* name;  // Japanese, for the window and the sheet's title
  const char* example;  // one problem of the skill, in the notation
  SkillKind kind;
  ProcessType processType;  // the type every problem's process has (None: calculated directly)
  bool alternative;  // the process is made with the other method (F6)
  unsigned controls;  // the SheetControlBit values that apply
  int minTerms;
  int maxTerms;
};

// Every skill, in the order the window lists them.
const std::vector<SheetSkill>& SheetSkills();
// The skill with that id, or nullptr.
const SheetSkill* FindSheetSkill(const std::string& id);
// The Japanese names of the controls a skill takes, in the order of SheetControlBit.
std::vector<std::string> SkillControlNames(const SheetSkill& skill);
// The id of a control bit for the batch tool's list ("max-den", "terms", …).
std::vector<std::string> SkillControlIds(const SheetSkill& skill);

enum class ReduceRule { Any, Yes, No };

inline constexpr int SHEET_MAX_COUNT = 50;  // the notebook page's limit
inline constexpr int SHEET_MAX_DENOMINATOR = 99;
inline constexpr int64_t SHEET_MAX_ANSWER_LIMIT = 1000000;

struct SheetControls {
  std::string skill = "sum-unlike";
  int count = 10;  // 1 … 50
  int maxDen = 12;  // 2 … 99
  int terms = 2;  // within the skill's range
  ReduceRule reduce = ReduceRule::Any;
  int64_t maxAnswer = 0;  // 0: no bound; else every answer ≤ maxAnswer (1 … SHEET_MAX_ANSWER_LIMIT)
  bool mixedAnswers = true;  // false: no answer is a mixed number
  uint64_t seed = 1;
  char version = 'A';  // 'A' … 'Z'
};

struct SheetProblem {
  std::string expr;  // the problem as typed
  std::string answer;  // the answer text (notation)
  ProcessType processType = ProcessType::None;
  std::string processText;  // normalised; empty for skills calculated directly
  CancellationFigure figure;  // what a line of style Z draws
  std::vector<Bunsuu> factors;
};

struct Sheet {
  SheetControls controls;
  const SheetSkill* skill = nullptr;
  std::vector<SheetProblem> problems;
  // Empty when every asked problem was made; else why not (the control is named), in Japanese.
  std::string message;
  int attempts = 0;
};

// Checks the controls alone (ranges, what the skill takes, what no problem could meet). "" when they
// are fine, else the Japanese message that names the control.
std::string CheckSheetControls(const SheetControls& controls);

// Makes the sheet: the same controls give the same problems on every platform. The state of the
// calculation screen (line, process, evaluator, checker, settings, platform) is as it was afterwards.
// A refused control leaves problems empty and message set; when fewer problems than asked could be
// made in the bounded number of attempts, the problems made are kept and message says how many.
Sheet MakeSheet(const SheetControls& controls);

// The title line of the page: skill name, version and seed.
std::string SheetTitle(const Sheet& sheet);
// The .siki file of the sheet's page (title, then one problem a line), made without touching the
// notebook's page. False when the page could not be written as CP932.
bool SheetSikiBytes(const Sheet& sheet, std::string& bytes);
// Puts the sheet on the notebook's page: its title and lines, no file name (a new page), modified.
void PutSheetOnPage(const Sheet& sheet);

// ---- Controls as text (the batch tool's options and the window's fields) ---------------------------

// Each parser returns "" and sets the value, or returns the Japanese message naming the control.
std::string ParseSheetCount(const std::string& text, int& value);
std::string ParseSheetMaxDen(const std::string& text, int& value);
std::string ParseSheetTerms(const std::string& text, int& value);
std::string ParseSheetReduce(const std::string& text, ReduceRule& value);
std::string ParseSheetMaxAnswer(const std::string& text, int64_t& value);
std::string ParseSheetMixed(const std::string& text, bool& value);
std::string ParseSheetSeed(const std::string& text, uint64_t& value);
std::string ParseSheetVersion(const std::string& text, char& value);

// ---- The seeded generator ---------------------------------------------------------------------------

// splitmix64 with its own mapping onto ranges, so a seed gives the same numbers on every platform.
class SheetRandom {
 public:
  explicit SheetRandom(uint64_t seed) : state_(seed) {}
  uint64_t Next();
  // A whole number in lo … hi (lo ≤ hi), without the bias of a plain remainder.
  int64_t Between(int64_t lo, int64_t hi);

 private:
  uint64_t state_;
};

// The stream of one sheet: the seed mixed with the skill id and the version.
uint64_t SheetStreamSeed(const std::string& skill, uint64_t seed, char version);
