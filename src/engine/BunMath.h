// Evaluates an expression text to its exact answer: implied multiplications, permutations, combinations,
// factorials and expression fractions are replaced by their values, then the innermost group is reduced
// again and again, one operation at a time on Bunsuu values. Also simplifies a ratio a:b. Reading and
// writing single numbers is Bunio.h; expression fractions are Bunsuuh.h. Not re-entrant.
#pragma once

#include <cstdint>
#include <string>

#include "engine/Bunsuu.h"

// The evaluator's last answer (state records: tools/ProgramState.h).
struct BunMathState {
  int EvalStatus = 1;
  Bunsuu AnswerValueMixed = BUNSUU_ERROR;
  Bunsuu AnswerValueImproper = BUNSUU_ERROR;
  std::string AnswerMixedText;
  std::string AnswerImproperText;
  std::string AnswerDecimalText;
  bool AnswerHasFraction = false;
  Bunsuu LastResult = BUNSUU_ERROR;
  std::string LastResultText;

  void Reset();
};
extern BunMathState BunMathData;

// The answer state left by every EvaluateExpression call (DecimalTerminates is declared in Bunio.h).
// EvalStatus: the number of an EvalOutcome (below); negative for a failure.
inline auto& EvalStatus = BunMathData.EvalStatus;
inline auto& AnswerValueMixed = BunMathData.AnswerValueMixed;  // proper (mixed) form, reduced
inline auto& AnswerValueImproper = BunMathData.AnswerValueImproper;  // the same value in improper form
inline auto& AnswerMixedText = BunMathData.AnswerMixedText;
inline auto& AnswerImproperText = BunMathData.AnswerImproperText;
inline auto& AnswerDecimalText = BunMathData.AnswerDecimalText;  // only when the decimal form was asked for
inline auto& AnswerHasFraction = BunMathData.AnswerHasFraction;  // the written answer form contains "b"

// Working state of the last flat evaluation: the last operation's value and its text (a negative value
// in parentheses).
inline auto& LastResult = BunMathData.LastResult;
inline auto& LastResultText = BunMathData.LastResultText;

// How the last evaluation ended. The numbers are the batch tool's status, so each keeps its number.
enum class EvalOutcome : int {
  Success = 1,
  NoOperator = -1,  // the text holds no operator
  UnbalancedParentheses = -2,  // "(" and ")" do not pair up
  PermutationFailed = -3,  // a permutation or combination could not be computed
  FactorialFailed = -4,  // a factorial could not be computed
  ExpressionFractionFailed = -5,  // the inside of an expression fraction "[ ]" could not be computed
  CannotCompute = -6,  // the expression has no value (division by zero, overflow, …)
};
constexpr int EvalStatusNumber(EvalOutcome o) { return static_cast<int>(o); }

// Empties the answer state and the working state; tests and kazoru-cli call it first.
void ResetBunMath();

// Which forms of the answer are written: the mixed number, the improper fraction, or both (the improper
// one only where it differs).
enum class AnswerForms { Mixed, Improper, Both };

struct EvalOptions {
  AnswerForms forms = AnswerForms::Mixed;
  bool decimal = false;  // the decimal form after the fractions, when the answer has a fraction
  bool echo = false;  // the expression and "=" in front of the answer

  // The settings' code: 4 × SYOUDSP + ANSSYU, the low value 0 mixed, 1 improper, 2 or more both.
  static EvalOptions FromCode(int answerMode, bool echo = false) {
    const int low = answerMode < 0 ? 0 : answerMode % 4;
    return {.forms = low == 0   ? AnswerForms::Mixed
                     : low == 1 ? AnswerForms::Improper
                                : AnswerForms::Both,
            .decimal = answerMode >= 4,
            .echo = echo};
  }
};

// The answer forms of an expression, as the options ask. On failure the input comes back unchanged,
// EvalStatus < 0, after the messages.
std::string EvaluateExpression(const std::string& text, EvalOptions options = {});

// A ratio A:B (possibly followed by "=" and more) in lowest integer terms c:d; with echo = 1 the result
// is input "=" c:d. "n" on failure.
std::string SimplifyRatio(const std::string& text, int echo);

// What RemoveSimpleBrackets does on meeting a group that holds more than one number.
enum class OtherGroups { Stop, PassOver };

// Removes the parentheses of groups that hold a single number and merges sign pairs. PassOver passes
// over groups that hold more; Stop stops at the first such group and returns the input with
// verdict -1. verdict is 1 when parentheses were removed, 0 when there was no group.
std::string RemoveSimpleBrackets(const std::string& text, OtherGroups others, int& verdict);
std::string RemoveSimpleBrackets(const std::string& text, OtherGroups others);

// Writes "*" where a multiplication was left out: between ")" and a digit or "(", between a digit or
// X, Y, Z and "(", and after "!" before a digit or "(".
std::string InsertImpliedMultiplication(const std::string& text);

// The nested evaluation: checks the text, then reduces the innermost operator group again and again and
// evaluates the rest flat. BUNSUU_ERROR on failure (after its messages).
Bunsuu EvaluateNested(const std::string& text);
// The flat evaluation of a text without parentheses that matter; BUNSUU_ERROR on failure. Leaves the
// last operation in LastResult and LastResultText.
Bunsuu EvaluateFlat(const std::string& text);
// One operation "A op B" (op one of + - * / ^); BUNSUU_ERROR on failure.
Bunsuu SingleOperation(const std::string& text);

// n P r and n C r; -1 when they cannot be computed (n < r, or the result would overflow).
int64_t Permutation64(int64_t n, int64_t r);
int64_t Combination64(int64_t n, int64_t r);
// Replace every n P r, then every n C r, by its value; "n" on failure.
std::string ReplacePermutations(const std::string& text);
// Replace every factorial (of a digit run or of a parenthesised group) by its value; "n" on failure.
std::string ReplaceFactorials(const std::string& text);
