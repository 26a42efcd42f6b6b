// Checks a pupil's own working: a chain "problem=step=step=…" in the ordinary notation is compared piece
// by piece with exact values, each step gets a verdict (right, right in several steps at once, a known
// mistake by name, wrong, unreadable), a short advice for the pupil and the program's own next step as a
// hint, and the last step a note when the answer is not yet in its finished form. It shows nothing and
// leaves the state of the screen, the process and the evaluator as it found them; the screen, the
// notebook and kazoru-cli show its results their own way.
#pragma once

#include <string>
#include <vector>

enum class StepVerdict { Ok, OkJump, Mistake, Wrong, Unreadable };

// The finished answer form the last step is held to.
enum class StepFinalForm { Mixed, Improper };

struct StepOptions {
  StepFinalForm finalForm = StepFinalForm::Mixed;
  bool hints = true;  // the program's own next step (the slowest part; the page summary leaves it out)
};
// The options the settings ask for (PROCLASTANS).
StepOptions StepOptionsFromSettings();

struct StepResult {
  std::string from;  // the piece the step is compared with (the last readable one)
  std::string to;  // the step as written
  StepVerdict verdict = StepVerdict::Wrong;
  std::string mistake;  // the id of a known mistake, "" for none
  std::string advice;  // Japanese, for the pupil (the final note's advice follows the step's own)
  std::string hint;  // the program's own next step from `from`, "" where there is none
  std::string finalNote;  // "" or a note id: not-reduced, improper-left, mixed-left, not-finished
  bool overflow = false;  // the value left the 64-bit range
  int position = 0;  // unreadable: 1-based position of the first bad character in `to`
  std::string checkerMessage;  // unreadable: the checker's message (or the reader's reason)
};

struct ChainResult {
  std::string input;
  std::vector<StepResult> steps;
  bool allRight = false;  // at least one step, every step ok or ok-jump, and no final note
  std::string note;  // a remark on the chain as a whole ("" normally), e.g. no step written
  // The program's next step from where the pupil stands: from the problem while no step is written; after
  // a mistaken or wrong step, that step done again from the piece before it; otherwise from the last
  // readable piece. "" where there is none or hints are off.
  std::string hint;
};

// Checks one chain. Pieces are separated by "="; an empty chain or a chain without "=" has no steps (its
// hint is still the program's first step from the problem).
ChainResult CheckChain(const std::string& chain, const StepOptions& options);

// The program's own next step from one piece, in the notation; "" where there is none (the piece is the
// finished answer, or cannot be read).
std::string NextStepHint(const std::string& piece, const StepOptions& options);

// "ok", "ok-jump", "mistake", "wrong", "unreadable".
const char* StepVerdictName(StepVerdict v);
bool IsRightVerdict(StepVerdict v);

// The known mistakes in their fixed order (ids are stable; a step several mistakes explain reports the
// first of this order).
struct KnownMistake {
  const char* id;
  const char* name;  // a short Japanese description for the teacher's summary
  const char* advice;  // for the pupil
};
const std::vector<KnownMistake>& KnownMistakes();
// The advice of a mistake or a final note id; "" for an unknown id.
std::string MistakeAdvice(const std::string& id);
std::string FinalNoteAdvice(const std::string& id);
// The note ids in their fixed order.
const std::vector<std::string>& FinalNoteIds();
