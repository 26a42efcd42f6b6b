// Makes the calculation process of one expression line: classifies the expression, runs the step
// generators for sums, two-term sums, products and quotients and the conversions between improper
// fractions and mixed numbers, and leaves the normalised process in ProcessState. Drawing a process is
// the display's job; the titles, advice texts and normalisation are MainDspManage.h.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/Bunsuu.h"
#include "process/MainDspManage.h"

// The sign the cancellation figure is drawn with.
enum class FigureSign : int {
  Plain = 1,
  Minus = 2,  // a leading minus
  Plus = 3,  // a leading plus sign
};

// The cancellation figure of the last product run: what a line of style Z draws.
struct CancellationFigure {
  FigureSign signMode = FigureSign::Plain;
  int denominatorRows = 0;  // the largest number of cancellations on one denominator
  int numeratorRows = 0;  // the largest number of cancellations on one numerator
  // For every factor, the successive values of its numerator and denominator (first the value as read).
  std::vector<std::vector<int64_t>> numeratorValues;
  std::vector<std::vector<int64_t>> denominatorValues;
  std::string resultText;  // the product as a fraction text (productResult)
};

// The one process of the calculation screen and the working texts of the generators.
struct ProcessStateData {
  std::string processText;  // normalised process of the last successful run; "" after a reset
  ProcessType processType = ProcessType::None;  // None: none stored, the line is drawn plainly
  bool alternativeMethod = false;  // the F6 switch; survives between runs
  bool processOk = true;  // false when forming a common denominator failed

  std::vector<Bunsuu> factors;  // factor array: the factors of the last product (or sum) run
  CancellationFigure figure;  // results of the last cancellation

  // Working texts of the sum generators (cleared at the start of every run).
  std::string multiplicationForm;
  int denominatorsDiffered = 0;  // 1 differed, 0 agreed, -1/-2 after a failure
  bool differentDenominatorsSeen = false;
  std::string separatedForm;
  std::string integerGroup;
  std::string fractionGroup;
  std::string integerValue;
  std::string expressionFraction;
  std::string combinedFraction;
  std::string groupValue;
  int reducedCount = 0;

  // Working texts and values of the product generator.
  int bracketCount = 0;  // -1 when the text holds "+" or "-"
  int zeroFactor = 0;  // 1 a factor 0 is multiplied, 2 a first factor 0 is divided
  bool divisionByZero = false;
  std::string convertedForm;
  std::string reciprocalForm;
  std::string productFraction;
  std::string productResult;
};
extern ProcessStateData ProcessState;

// What the process layer asks of the calculation screen; the screen installs these once.
struct ProcessScreenHooks {
  // MakeProcess has classified the line: no further input goes into it.
  std::function<void()> markLineFinished;
  // After F6 flipped the method: reset the line, restore its typed text, make its process again
  // (MakeProcess(text, true)) and repaint.
  std::function<void()> remakeAfterToggle;
};
extern ProcessScreenHooks ProcessHooks;

// The state of a fresh program: empty process, type 0, alternativeMethod false, working texts and
// factor array cleared. The hooks are left as installed. (Reduce-while-converting is the setting
// ReduceOnConvert of Settings.h.)
void ResetProcessState();
// Clears the working texts only (the start of every run).
void ClearProcessWorkingTexts();

// ---- Classification and driver --------------------------------------------------------------------

struct ExpressionProfile {
  int plusCount = 0;
  int minusCount = 0;
  int sumTerms = 1;
  int timesCount = 0;
  int divideCount = 0;
  int mixedCount = 0;
  int improperCount = 0;
  int properCount = 0;
  int integerCount = 0;
  int decimalCount = 0;
  int powerCount = 0;
  ProcessType type = ProcessType::None;  // types 0–13
};

// The advice of the line after the bracket step, by type 1–10 (entry n − 1 for type n).
inline constexpr std::array<Advice, 10> BracketAdvice{Advice::None,
                                                      Advice::MakeCommonDenominator,
                                                      Advice::SplitMixedNumbers,
                                                      Advice::SplitMixedNumbers,
                                                      Advice::DecimalsAndIntegersToFractionsFirst,
                                                      Advice::DecimalsAndIntegersToFractionsFirst,
                                                      Advice::DecimalsAndIntegersToFractionsFirst,
                                                      Advice::DecimalsAndIntegersToFractionsFirst,
                                                      Advice::None,
                                                      Advice::None};

ExpressionProfile ClassifyExpression(const std::string& expression);

// Makes and stores the process of an expression line. 1: a process was stored (draw it); 0: none (the
// caller calculates directly, or, when ProcessState.processOk is false, stores the line with type 0).
int MakeProcess(const std::string& expression, bool enabled);

// The key F6: flips the method switch, then runs ProcessHooks.remakeAfterToggle when installed.
void ToggleAlternativeMethod();

// ---- Sums (types 1–8) ----------------------------------------------------------------------------

int SumTermCount(const std::string& text);
// Number of reducible fractions; -999 when a term has denominator 0; -1 when defer is set and all the
// fractions share one denominator.
int CountReducible(const std::string& text, bool defer);
std::string ReduceFractions(const std::string& text);
std::string MixedToImproper(const std::string& text);  // "" when there was no mixed number
std::string ImproperToMixed(const std::string& text);  // "" when nothing changed
std::string RemoveSumBrackets(const std::string& text);
std::string SplitMixedNumbers(const std::string& text);
// Every fraction over the least common denominator, or "n"; sets multiplicationForm and
// denominatorsDiffered and fills the factor array.
std::string ToCommonDenominator(const std::string& text);
// The records of combining a same-denominator sum; sets expressionFraction, combinedFraction, groupValue.
std::string CombineOverDenominator(const std::string& text, bool wrapNegative);
std::string DropLastRecord(const std::string& text, bool keepEquals);
// Appends the answer tail for value to ProcessState.processText; returns 0–5, or -1 for an unreadable value.
int FinishAnswer(const std::string& value);

// ---- Two-term sums of an integer and a fraction ---------------------------------------------------

std::string TwoTermSteps(const std::string& text);
std::string TwoTermStepsAlternative(const std::string& text);

// ---- Products and quotients (types 10–13, 16) ------------------------------------------------------

std::string RemoveProductBrackets(const std::string& text);  // sets bracketCount
// Fills the factor array, zeroFactor, divisionByZero, convertedForm and reciprocalForm. Returns false
// when a factor cannot be read or converted within 64 bits: the product then has no process and the line
// is calculated directly (the evaluator reports the failure).
bool ProductSteps(const std::string& text);
// Cancels the factor array crosswise; sets productFraction, productResult and the figure. The figure is
// drawn by the process display from ProcessState.figure, its sign plain until the caller sets it. Returns
// the number of cancellations made.
int CancelFactors();

// ---- Conversions between improper fractions and mixed numbers ------------------------------------

// Raw process texts (not normalised) of type 17 and 18; "n" for a value of the wrong shape.
std::string ImproperToMixedProcess(const Bunsuu& value, const std::string& lineText);
std::string MixedToImproperProcess(const Bunsuu& value, const std::string& lineText);
