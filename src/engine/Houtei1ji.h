// Solves a first-degree equation or inequality in x (a proportion a:b=c:d included) by rewriting text:
// each side is normalised into a flat sum of numbers and numbers times x, the x terms are gathered on
// the left, and the evaluator (BunMath.h) computes both sums and their quotient. Showing the message of a
// failure is left to the caller.
#pragma once

#include <array>
#include <string>

// The solver's working sides and its last result (state records: tools/ProgramState.h).
struct Houtei1jiState {
  std::string SolverMessage;
  int RelationKind = 0;
  std::string SolverLeft;
  std::string SolverRight;
  std::string SolutionText;

  void Reset();
};
extern Houtei1jiState Houtei1jiData;

// Left by the last SolveLinear call for its caller.
// why the last call failed; "" when the evaluator has already told the pupil itself
inline auto& SolverMessage = Houtei1jiData.SolverMessage;
// 0 "=", 1 "<", 2 "<=", 3 ">", 4 ">=" (after any reversal)
inline auto& RelationKind = Houtei1jiData.RelationKind;
inline auto& SolverLeft = Houtei1jiData.SolverLeft;  // the two sides while solving
inline auto& SolverRight = Houtei1jiData.SolverRight;
// "x", the relation symbol and the value of the last success
inline auto& SolutionText = Houtei1jiData.SolutionText;

// The relation of an equation or inequality. RelationKind holds its number, which is also the batch
// tool's relationKind, so each keeps its number.
enum class Relation : int {
  Equal = 0,  // "="
  Less = 1,  // "<"
  LessOrEqual = 2,  // "<="
  Greater = 3,  // ">"
  GreaterOrEqual = 4,  // ">="
};
constexpr int RelationNumber(Relation r) { return static_cast<int>(r); }

// The relation symbols indexed by RelationKind; the expression editor uses the same table.
extern const std::array<std::string, 5> RelationSymbols;
// The symbol of a kind, "" for a kind outside 0..4.
std::string RelationSymbol(int kind);

// Back to the state at start: messages and texts empty, RelationKind 0.
void ResetHoutei1ji();

// The value text of the solution ("n" on failure, "(不定)" when every x satisfies it, "(不能)" when none
// does). With echo = 1 the result is the input, "&" and SolutionText. The answer form follows ANSSYU.
std::string SolveLinear(const std::string& text, int echo);

// The stages that normalise one side, in the order the solver runs them (term shape runs twice). Each
// returns the rewritten side, or "n" after setting SolverMessage to its own reason (failures of the
// evaluator leave SolverMessage alone: the evaluator has shown its message).
std::string ExpandBracketFractions(const std::string& side);  // [2Bx+1] becomes (x+1)/2
std::string MakeCoefficientsExplicit(const std::string& side);  // 2x+3 becomes 2*x+3, x becomes 1*x
std::string OpenParentheses(const std::string& side);  // 3*(1*x+1) becomes +3*1*x+3*1
std::string ShapeTerms(const std::string& side);  // signs merged, x last in its product
std::string EvaluateCoefficients(const std::string& side);  // each term computed: 3*x-6
// All of them in that order, then the term shape once more.
std::string NormaliseSide(const std::string& side);
