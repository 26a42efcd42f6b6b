// The pupil's working on a notebook page: each problem line with the working lines under it (lines that
// begin with "=") is one chain; the page command checks every chain, gives each line its marks ○ and ×,
// and counts for the teacher how many steps were right and how often each known mistake occurred.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "steps/StepCheck.h"

struct NoteProblemCheck {
  int line = 0;  // 1-based line of the problem
  std::vector<int> stepLines;  // the line each step was written on, one per step of result
  ChainResult result;
};

struct NoteStepSummary {
  int problems = 0;  // problems with at least one step
  int problemsRight = 0;  // of which all right
  int steps = 0;
  int stepsRight = 0;  // ok and ok-jump
  int wrong = 0;
  int unreadable = 0;
  std::vector<std::pair<std::string, int>> mistakes;  // every known mistake in its order, with its count
  std::vector<std::pair<std::string, int>> finals;  // every final note in its order, with its count
};

struct NotePageCheck {
  std::vector<NoteProblemCheck> problems;
  NoteStepSummary summary;
};

// Builds the chains of a page's lines (the text of each line before its "&") and checks them.
NotePageCheck CheckNoteLines(const std::vector<std::string>& lines, const StepOptions& options);
// The same for the one notebook page.
NotePageCheck CheckNotePageSteps(const StepOptions& options);

// The marks of each line of the page, "○" or "×" per step written on it ("" for a line without steps);
// index 0 is line 1.
std::vector<std::string> NoteLineMarks(const NotePageCheck& check, int lineCount);

// The summary for the teacher, Japanese, one row per entry; mistakes that did not occur are left out.
std::vector<std::string> NoteSummaryRows(const NoteStepSummary& summary);

// The marks the sheet draws after the lines, with the lines they were made for: a page changed since
// the check shows no marks.
struct NoteStepMarksData {
  std::vector<std::string> lines;  // the page's lines when they were checked
  std::vector<std::string> marks;  // index 0 is line 1
};
extern NoteStepMarksData NoteStepMarks;
void ResetNoteStepMarks();
// The marks of line n (1-based) when they still belong to the page, else "".
std::string CurrentNoteMarks(int n);

// The page command: checks the page, keeps its marks for the sheet and returns the summary for the
// teacher as one text (rows separated by new lines).
std::string CheckNotePageWorking(const StepOptions& options);
inline constexpr const char* NOTE_STEPS_CAPTION = "途中式のチェック";
