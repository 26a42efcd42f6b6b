// Numbers as text in the calculator's notation and back (3b2 is two thirds, 1k3b2 one and two thirds),
// decimal expansions, and the small text operations every module uses on expression texts (cut at "=",
// split at "&", strip enclosing parentheses). Positions are 1-based; a failure is "n" or BUNSUU_ERROR.
#pragma once

#include <string>
#include <string_view>

#include "engine/Bunsuu.h"

// The text helpers' results (state records: tools/ProgramState.h).
struct BunioState {
  std::string TextAfterEquals;
  std::string TextAfterAmpersand;
  std::string FoundText;
  char FoundChar = '\0';
  bool DecimalTerminates = false;

  void Reset();
};
extern BunioState BunioData;

// Results left by the text operations for their caller.
inline auto& TextAfterEquals = BunioData.TextAfterEquals;  // set by CutAtEquals
inline auto& TextAfterAmpersand = BunioData.TextAfterAmpersand;  // set by SplitAtAmpersand
inline auto& FoundText = BunioData.FoundText;  // set by FindLast, FirstInSet, FirstNotInSet
inline auto& FoundChar = BunioData.FoundChar;
// Whether the last DecimalText expansion terminates (shared with the evaluator's answer state).
inline auto& DecimalTerminates = BunioData.DecimalTerminates;
// Empties the results above; tests and each batch run call it first.
void ResetBunio();

// Reading and writing numbers.
bool FitsInt64Text(const std::string& text, int show);
Bunsuu ParseNumber(const std::string& text);
std::string FormatBunsuu(const Bunsuu& b, int paren);
std::string DecimalText(const Bunsuu& b);
int NumberKind(const std::string& text);
bool IsReducibleText(const std::string& text);
bool IsSingleNumber(const std::string& text);
std::string DivideWithRemainder(const std::string& text, int places);

// Text operations.
std::string StripParentheses(const std::string& text, int kind);
std::string CutAtEquals(const std::string& text, int keep);
std::string LastAnswerPiece(const std::string& text);
std::string SplitAtAmpersand(const std::string& text);
std::string CutForSolver(const std::string& text, int keep);
std::string StripLeading(const std::string& text, char c);
std::string StripTrailing(const std::string& text, char c);
int CountOccurrences(const std::string& text, const std::string& sub);
int FindLast(const std::string& text, char c, int include);
int FirstInSet(const std::string& text, const std::string& set);
int FirstNotInSet(const std::string& text, const std::string& set);
bool IsOperatorChar(char c);

// The first operator of a text: kind 1 "+", 2 "-", 3 "*", 4 "/", 5 "^", 6 "!", 7 "P", 8 "C", tried in that
// order; the first kind whose first occurrence is at position 2 or later wins. kind -1 when there is none.
struct OperatorFound {
  int kind = -1;
  int pos = 0;
};
OperatorFound FirstOperator(const std::string& text);
