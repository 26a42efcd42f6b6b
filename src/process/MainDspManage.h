// The shared vocabulary of a calculation process: the titles of the process types, the advice texts by
// number, the step record and the normalisation every process text passes before it is drawn. It makes
// no process (that is CalcProcManage.h) and draws nothing itself.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int PROCESS_TYPE_COUNT = 19;  // types 0–18
inline constexpr int ADVICE_COUNT = 100;       // slots 0–99, slot 0 empty

// The title drawn above a process of each type.
extern const std::array<std::string_view, PROCESS_TYPE_COUNT> ProcessTypeTitles;
// The advice drawn after a line, by step number; "||" inside a text is a row break of the display.
extern const std::array<std::string_view, ADVICE_COUNT> AdviceTexts;

// Step numbers whose lines are drawn only at the detailed level (unless they come first).
inline constexpr std::array<int, 3> HiddenSteps{1, 4, 35};
bool IsHiddenStep(int n);

// Bounds-checked catalogue reads: an empty text for a number outside the table.
std::string_view ProcessTypeTitle(int type);
std::string_view AdviceText(int n);

// One raw step record: "~" + three-digit step number + style letter + "=" + expression.
// Style letters: 'X' plain, 'Y' reduction figure, 'Z' cancellation figure, 'A' reduction figure with the
// long form.
std::string StepRecord(int step, char style, const std::string& expression);

// Brings a raw process text into the form the display reads (records separated and terminated by "~",
// chains split into further lines, signs after "=" written as unary signs, repeated lines collapsed).
std::string NormalizeProcessText(const std::string& text);

// One record of a normalised process text, as the display reads it.
struct ProcessLine {
  int advice = 0;     // step number 0–99 (0: no advice)
  char style = 'X';   // 'X', 'Y', 'Z' or 'A'
  std::string expr;   // the line's expression, without the "=" that separates it from the code
  bool newRow = false;  // the record had that "=": the display starts it at the left edge, one row lower
};

// Every record of a normalised process text in order; a record without a style letter reads as style X
// with step 0.
std::vector<ProcessLine> SplitProcessText(const std::string& normalized);
// The records the display draws: at detail 0 the hidden steps are left out unless they come first.
std::vector<ProcessLine> VisibleProcessLines(const std::string& normalized, int detail);
