// Helpers shared by the step generators of the calculation process (walking a sum or a product, reading
// numbers without surprise messages, evaluating a step's value, checked 64-bit arithmetic). Private to
// src/process; other modules use CalcProcManage.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/Bunsuu.h"
#include "process/MainDspManage.h"

namespace procdetail {

// Whether the running process failed and was told (state records: tools/ProgramState.h).
struct ProcessRunState {
  bool RunFailed = false;
  bool FailureShown = false;

  void Reset();
};
extern ProcessRunState ProcessRunData;

// Set when a step could not be computed during the current run; the driver then reports the failure
// instead of storing a process with "n" in it. failureShown: the failure already showed its own message.
inline auto& RunFailed = ProcessRunData.RunFailed;
inline auto& FailureShown = ProcessRunData.FailureShown;
void ClearRunFailure();

// One term of a sum: the operator before it ('\0' for the first term, whose sign stays in text).
struct Term {
  char op = '\0';
  std::string text;
};
// Splits a sum at every "+" and "-" outside an expression fraction "[ … ]".
std::vector<Term> SplitSum(const std::string& text);
std::string JoinSum(const std::vector<Term>& terms);

// True when text is one number of the notation (optionally in parentheses, optionally signed with m or
// p): integer, fraction, mixed number or decimal.
bool LooksLikeNumber(const std::string& text);
// ParseNumber for a text that looks like a number; BUNSUU_ERROR (without a message) for anything else.
Bunsuu ReadNumber(const std::string& text);

// The leading run of "(", "m", "p" of a term and its trailing run of ")"; the core is what lies between.
struct TermParts {
  std::string prefix;
  std::string core;
  std::string suffix;
};
TermParts SplitTermParts(const std::string& term);

// value(x) of the steps: x evaluated to its mixed answer text ("m…" when negative). A text without an
// operator is read as one number, so no "no operator" message is shown. "n" (and RunFailed) on failure.
std::string Value(const std::string& x);

// The text after the last "=" (the whole text when there is none).
std::string LastPart(const std::string& text);

// Checked 64-bit arithmetic against INT64_LIMIT, without messages.
bool CheckedMul(int64_t a, int64_t b, int64_t& out);
bool CheckedAdd(int64_t a, int64_t b, int64_t& out);
// Improper form (whole folded into num), checked; false on overflow.
bool CheckedImproper(const Bunsuu& a, Bunsuu& out);
// The canonical text of a value: reduced, in mixed form ("m…" when negative; "n" for the error value).
std::string CanonicalMixedText(const Bunsuu& a);
// The reduced improper text ("m…" when negative; an integer written without "1b").
std::string CanonicalImproperText(const Bunsuu& a);
std::string Digits(int64_t v);

// Appends a raw step record to ProcessState.processText.
void AppendRecord(Advice step, char style, const std::string& expression);

// The process generators of each family, called by the driver after its pre-steps.
void CommonDenominatorPath(std::string e);
void IntegerSeparationPath(const std::string& e);
void SumDispatch(ProcessType type, std::string e);
int ProductProcess(ProcessType type, const std::string& e);  // 1 stored, 0 declined

}  // namespace procdetail
