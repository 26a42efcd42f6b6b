// The shared vocabulary of a calculation process: the titles of the process types, the advice texts by
// number, the step record and the normalisation every process text passes before it is drawn. It makes
// no process (that is CalcProcManage.h) and draws nothing itself.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int PROCESS_TYPE_COUNT = 19;  // types 0–18

// The process types: which family of steps a line's process follows, and the title drawn above it. The
// numbers are what the batch tool, the worksheets' skill table and the title table show, so each keeps
// its number; ProcessTypeNumber gives it where a number leaves the program.
enum class ProcessType : int {
  None = 0,  // no process: the line is calculated directly
  FractionSum = 1,  // a sum of proper and improper fractions only
  SumWithIntegersOrMixed = 2,  // a sum with integers or mixed numbers (two numbers or more)
  IntegerPlusMixed = 3,  // an integer and a mixed number
  SumWithDecimals = 4,  // a sum with decimals (or improper fractions among mixed numbers)
  IntegerPlusImproper = 5,  // an integer and an improper fraction
  IntegerPlusProper = 6,  // an integer and a proper fraction
  MixedPlusImproper = 7,  // a mixed number and an improper fraction
  MixedOnlySum = 8,  // mixed numbers only (two or more)
  Reduction = 9,  // reducing one fraction
  FractionProduct = 10,  // a product or quotient of proper and improper fractions only
  ProductWithMixed = 11,  // a product or quotient with mixed numbers
  ProductWithIntegersOrDecimals = 12,  // a product or quotient with integers or decimals
  ProductWithAllKinds = 13,  // with integers or decimals and mixed numbers
  DecimalToFraction = 14,  // a decimal written as a fraction
  RepeatingDecimalToFraction = 15,  // a repeating decimal written as a fraction
  ProductWithAllKindsOfFractions = 16,  // a quotient with decimals, integers and mixed numbers
  ImproperToMixed = 17,  // an improper fraction written as a mixed number
  MixedToImproper = 18,  // a mixed number written as an improper fraction
};
constexpr int ProcessTypeNumber(ProcessType t) { return static_cast<int>(t); }
// The sums (types 1–9) and the products and quotients (10 and up).
constexpr bool IsSumType(ProcessType t) {
  return t >= ProcessType::FractionSum && t <= ProcessType::Reduction;
}
inline constexpr int ADVICE_COUNT = 100;  // slots 0–99, slot 0 empty

// The title drawn above a process of each type.
extern const std::array<std::string_view, PROCESS_TYPE_COUNT> ProcessTypeTitles;
// The advice drawn after a line, by step number; "||" inside a text is a row break of the display.
extern const std::array<std::string_view, ADVICE_COUNT> AdviceTexts;

// Step numbers whose lines are drawn only at the detailed level (unless they come first).
inline constexpr std::array<int, 3> HiddenSteps{1, 4, 35};
bool IsHiddenStep(int n);

// Bounds-checked catalogue reads: an empty text for a number outside the table.
std::string_view ProcessTypeTitle(int type);
// The title as paper shows it: without the screen's key hint for the other method (" ▼別解F6▼").
std::string PaperProcessTypeTitle(int type);
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
  int advice = 0;  // step number 0–99 (0: no advice)
  char style = 'X';  // 'X', 'Y', 'Z' or 'A'
  std::string expr;  // the line's expression, without the "=" that separates it from the code
  bool newRow = false;  // the record had that "=": the display starts it at the left edge, one row lower
};

// Every record of a normalised process text in order; a record without a style letter reads as style X
// with step 0.
std::vector<ProcessLine> SplitProcessText(const std::string& normalized);
// The records the display draws: at detail 0 the hidden steps are left out unless they come first.
std::vector<ProcessLine> VisibleProcessLines(const std::string& normalized, int detail);
