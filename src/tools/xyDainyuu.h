// The substitution box without its window: writing values for x, y and z into an expression (with the
// multiplication signs and brackets the values need), computing the result onto the calculation line, and
// showing an expression in fraction form; also the small text helpers the expression editor and the memo
// share (comments after "#", the π text for "pai", blanks). The window is ui/tools/xyDainyuu (TDainyuuForm).
#pragma once

#include <string>

// The substitution window's record (state records: tools/ProgramState.h).
struct XyDainyuuState {
  bool DainyuuOpen = false;
  std::string DainyuuResult;

  void Reset();
};
extern XyDainyuuState XyDainyuuData;

// Whether the substitution box exists (the editor and the memo open it or give it the focus).
inline auto& DainyuuOpen = XyDainyuuData.DainyuuOpen;
// The last substitution result, kept for the calculate command.
inline auto& DainyuuResult = XyDainyuuData.DainyuuResult;

// Closed box, no result.
void ResetXyDainyuu();

// ---- Text helpers shared by the tool windows -------------------------------------------------------------

// The text without blanks and control characters (bytes up to the space) at both ends.
std::string TrimBlanks(const std::string& text);
// Every "pai" written as the π text (PaiText).
std::string ReplacePai(const std::string& text);
// Splits at the first "#": expression = the trimmed text before it, comment = " " + the text from the "#"
// on (without "#": the trimmed text and no comment). Returns whether there was a "#".
bool SplitComment(const std::string& text, std::string& expression, std::string& comment);

// ---- Substitution ------------------------------------------------------------------------------------

inline constexpr const char* DAINYUU_CAPTION = "ご注意！";
inline constexpr const char* DAINYUU_NO_LETTER_TEXT =
    "文字式に 変数 x､y､z が一つもありません。\n\nいいですか？";

// The "*" written around the letters before values go in: before a letter that follows a digit, ")" or
// another letter, and before a "(" that follows a letter that is not the first character; then before a
// digit or "(" after ")", and before a "(" after one of "0123456789XYZ".
std::string InsertLetterMultiplications(const std::string& expression);

// The letters among x, y, z that occur in the expression while their value is empty, in that order, each
// followed by a blank ("x z "); empty when every letter present has a value.
std::string MissingValueLetters(const std::string& expression, const std::string& vx, const std::string& vy,
                                const std::string& vz);

// Writes the values into an expression whose "*" are already in place. Each occurrence of x, y and z
// present in the expression is replaced once, in one pass, so a value that holds a letter (x+1 for x) is
// written as it is and never substituted again. A value that begins with "-" goes in brackets; a fraction
// value whose letter is followed by "^" goes in brackets from that occurrence on. Then "*" before a digit
// or "(" after ")", and before a "(" after a digit or a letter.
std::string SubstituteValues(const std::string& expression, const std::string& vx, const std::string& vy,
                             const std::string& vz);

// Substitute of the box: the comment dropped, "pai" written as the π text (in the values too), then the
// question when no letter occurs (Cancel ends the command) or the message naming the letters without a
// value. True with the result in result (and in DainyuuResult); false when the command ended.
bool Substitute(const std::string& expression, const std::string& vx, const std::string& vy,
                const std::string& vz, std::string& result);

// What "計算 &K" did.
struct DainyuuCalcOutcome {
  bool computed = false;  // the line now holds the result with its answer
  int badPos = 0;  // > 0: the check refused this 1-based position (the message has been shown)
};

// "計算 &K": Substitute, then the result is checked and computed onto the calculation line (which starts
// a new line first). A bad character is reported with its position; a remaining "x" ends silently; the
// evaluator reports its own failures.
DainyuuCalcOutcome DainyuuCalculate(const std::string& expression, const std::string& vx,
                                    const std::string& vy, const std::string& vz);

// "&Look": the expression field's text shown in fraction form in the notice box (with its comment).
// Combinations of a letter with "!", "P" or "C" are refused with a notice of their own.
void DainyuuLook(const std::string& expressionField);
