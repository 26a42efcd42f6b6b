// One pupil's work on an assignment, as the pupil's device holds it: the assignment opened from its code,
// who is working (組・番号・名前), per problem the working lines ("=" steps, kept without the "=") and the
// time spent, the progress, the step checker's verdicts as far as the feedback mode lets the pupil see
// them, a storage form (JSON) the device keeps after every change and reads back, and the result file
// handed in. No window here: the browser page and the desktop show it their own way.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "classroom/Assignment.h"
#include "classroom/ClassSummary.h"
#include "classroom/ResultFile.h"

inline constexpr const char* PUPIL_WORK_FORMAT = "kazoru-pupil-work";
inline constexpr int PUPIL_WORK_VERSION = 1;
// A storage form is a result file with a little more: the same bound on its size.
inline constexpr size_t PUPIL_WORK_MAX_BYTES = RESULT_MAX_BYTES;

struct PupilProblem {
  std::string problem;  // the assignment's problem, in the notation
  std::vector<std::string> working;  // the steps in order, without the leading "=", no empty line
  int64_t seconds = 0;
  bool hint = false;  // the pupil asked for the hint (it stays shown)
};

struct PupilWork {
  std::string code;  // the assignment's code as its maker writes it
  Assignment assignment;
  std::string className;  // 組
  int64_t number = 0;  // 番号, 0 until the pupil has said who they are
  std::string name;
  std::string started;  // ISO-8601, set when the work is first opened
  std::string handedIn;  // ISO-8601 of the last hand-in, "" before the first
  int handIns = 0;
  bool changedSinceHandIn = false;
  bool oneAtATime = true;  // the problems one at a time, else as a list
  size_t current = 0;  // the problem shown one at a time
  std::vector<PupilProblem> problems;
};

// Opens the assignment of a code or link: its problems with no work yet. Returns "" and sets work, or the
// message the pupil sees (the code reader's: damaged, cut, newer; or why the problems cannot be made).
std::string OpenPupilWork(const std::string& codeOrLink, PupilWork& work);

// Sets the time the work was started (seconds since 1970 at an offset east of UTC) unless it is set.
void StartPupilWork(PupilWork& work, int64_t now, int offsetMinutes);

// The reason 組・番号・名前 cannot be taken ("" when they can): each part given, 番号 from 1 to
// RESULT_MAX_NUMBER, 組 and 名前 within RESULT_MAX_NAME_CHARS characters with no control character and
// nothing that makes a path ("/", "\", "." or "..").
std::string CheckPupilName(const std::string& className, int64_t number, const std::string& name);
// Takes them when they are sound; returns the reason otherwise (the work is unchanged then).
std::string SetPupilName(PupilWork& work, const std::string& className, int64_t number,
                         const std::string& name);

// Sets a problem's working from the text of its lines (separated by new lines). Each line is trimmed and
// loses one leading "=" (or "＝"); empty lines are dropped. Returns "" or the reason the text is refused
// (no such problem, too many or too long lines, not UTF-8), leaving the working as it was.
std::string SetPupilWorking(PupilWork& work, size_t problem, const std::string& text);
// Adds time spent on a problem (a negative amount adds nothing; the total stops at RESULT_MAX_SECONDS).
void AddPupilSeconds(PupilWork& work, size_t problem, int64_t seconds);
// Marks that the pupil asked for a problem's hint (shown only where the feedback mode shows verdicts).
void AskPupilHint(PupilWork& work, size_t problem);
void SetPupilView(PupilWork& work, bool oneAtATime, size_t current);

// A problem is done when it has working; progress is the number done of all.
bool PupilProblemDone(const PupilProblem& p);
size_t PupilDoneCount(const PupilWork& work);

// Whether the pupil sees verdicts now: always in `now`, after the last hand-in (while nothing changed
// since) in `end`, never in `none`.
bool PupilVerdictsShown(const PupilWork& work);

struct PupilStep {
  size_t line = 0;  // the working line the step was written on (0-based)
  std::string to;  // the step as written
  bool right = false;  // ○ (ok, ok-jump) or × (a mistake, wrong, unreadable)
  std::string verdict;  // the step checker's name of it
  std::string mistake;  // a known mistake's id, or ""
  std::string mistakeName;  // its Japanese name, or ""
  std::string advice;
};

struct PupilFeedback {
  bool shown = false;  // false: nothing below is filled (the mode keeps the verdicts back)
  std::vector<PupilStep> steps;
  std::string finalNote;  // a note that keeps the last step from being the finished answer, or ""
  std::string finalAdvice;
  std::string hint;  // the program's next step, in the notation, when asked for and there is one
  CellVerdict verdict = CellVerdict::NotDone;  // the problem as the teacher's summary counts it
};

// The step checker's verdicts on a problem's working, against the assignment's own problem, as the
// feedback mode lets the pupil see them. The state of the screen, the process and the evaluator is kept.
PupilFeedback PupilProblemFeedback(const PupilWork& work, size_t problem);
// The same verdicts whatever the mode keeps back, without the hint: a handed-in file looked at again, as
// the teacher's summary judges it.
PupilFeedback PupilProblemReview(const PupilWork& work, size_t problem);

// The name of the file a device keeps an assignment's work in ("kadai-CODE.json"): the code's letters and
// digits only, so that no code can make a path.
std::string PupilWorkStoreName(const std::string& code);

// The storage form: UTF-8 JSON with the code, the pupil, the times, the view and every problem's work.
std::string WritePupilWork(const PupilWork& work);
// Reads a storage form back. The problems come again from the code; the form must hold exactly the
// assignment's problems. Returns "" and sets work, or the Japanese reason it cannot be read.
std::string ReadPupilWork(const std::string& bytes, PupilWork& work);

// The work of a result file, to continue it (a pupil on another device, or after the device's storage was
// cleared): the file's assignment, pupil, times and working. Returns "" and sets work, or why it cannot be
// continued: the file's own reason, its code's, or a problem that is not the assignment's.
std::string ContinuePupilWork(const std::string& resultBytes, PupilWork& work);

// The work of a result file to continue in place of the open assignment's work: as ContinuePupilWork,
// and a file of another assignment is refused with the title it names (the open work stays then).
std::string ContinueOpenPupilWork(const PupilWork& open, const std::string& resultBytes, PupilWork& work);
// Whether the work holds something of the pupil's that continuing from a file would replace: a working
// line, a hint asked for, a hand-in.
bool PupilWorkBegun(const PupilWork& work);

// The result file of the work as handed in at that time (ISO-8601): what the pupil typed, no verdicts.
ResultFile PupilResultFile(const PupilWork& work, const std::string& handedIn);

// Hands the work in at a time (seconds since 1970, offset east of UTC): sets name and bytes to the result
// file's name and text, and counts the hand-in. Returns "" or why it cannot be handed in yet (who the
// pupil is not said).
std::string HandInPupilWork(PupilWork& work, int64_t now, int offsetMinutes, std::string& name,
                            std::string& bytes);
