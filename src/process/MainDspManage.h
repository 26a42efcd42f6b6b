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
// The advice after a step of a process, by its number in the process text (entry for entry the
// catalogue AdviceTexts below).
enum class Advice : int {
  None = 0,
  ReduceFirst = 1,
  HowToReduce = 2,
  MakeCommonDenominator = 3,
  HowToMakeCommonDenominator = 4,
  AddNumeratorsOverOneDenominator = 5,
  SplitMixedNumbers = 6,
  GroupIntegersAndFractions = 7,
  DecimalsAndIntegersToFractionsFirst = 8,
  ImproperAnswerToMixed = 9,
  JoinIntegerAndProperFraction = 10,
  IntegerTimesOneThenCommonDenominator = 11,
  IntegerToImproperThenCommonDenominator = 12,
  ImproperToMixed = 13,
  MinusMinusToMinusBracket = 14,
  NumeratorMinusInFront = 15,
  CalculateEachGroup = 16,
  CalculateIntegerGroup = 17,
  AddingZero = 18,
  MinusZeroAndZeroMinusPositive = 19,
  Finished = 20,
  SplitMixedInBrackets = 21,
  CalculateIntegers = 22,
  ZeroMinusPositiveIsNegative = 23,
  RemoveMinusBracket = 24,
  BracketWhatComesFirst = 25,
  JoinInBracketsToMixed = 26,
  MinusIntegerMinusFractionToBracket = 27,
  OneToImproperForCommonDenominator = 28,
  SplitOffOneAsImproper = 29,
  ZeroNumeratorIsZero = 30,
  MinusZeroPlusPositive = 31,
  RemovePlusBracket = 32,
  MinusIntegerPlusFractionToBracket = 33,
  BracketThenMinusInFront = 34,
  OneDenominatorForm = 35,
  SubtractingZero = 36,
  GatherIntegers = 37,
  AllImproperThenCommonDenominator = 38,
  DenominatorOneToInteger = 39,
  MixedAnswerToImproper = 40,
  CalculateEachGroupPolitely = 41,
  PlusMinusBracket = 42,
  DivideNumeratorByDenominator = 43,
  NumeratorAsQuotientAndRemainder = 44,
  SplitIntoTwoFractions = 45,
  FirstFractionIsInteger = 46,
  JoinedToMixed = 47,
  RemainderZeroReduces = 48,
  DenominatorOneIsIntegerEnd = 49,
  MixedWholeToImproper = 50,
  WholeAndFractionSeparated = 51,
  IntegerToSameDenominator = 52,
  DenominatorOneBecomesInteger = 53,
  IntegerAsOverOne = 54,
  ImproperMadeEnd = 55,
  HowToReduceByCommonDivisor = 56,
  StrikeAndWriteQuotients = 57,
  StrikeAndWriteQuotientsKeepWhole = 58,
  CheckReducedAgainEnd = 59,
  MultiplyDenominatorsAndNumerators = 60,
  DivisionToReciprocal = 61,
  CancelAcrossFactors = 62,
  TimesZeroIsZero = 63,
  MultiplyAfterCancelling = 64,
  MultiplyWithoutCancelling = 65,
  ProductMixedToImproper = 66,
  ProductDecimalsAndIntegersToFractions = 67,
  MixedAndDecimalsToFractions = 68,
  ReciprocalMade = 69,
  DecimalPartToFraction = 70,
  DecimalDenominatorPowerOfTen = 71,
  ReduceWhenPossible = 72,
  IrreducibleEnd = 73,
  MethodImproperThenCommonDenominator = 74,
  MethodMixedThenSeparate = 75,
  MoveRecurringPart = 76,
  MoveRecurringPartByUnitFraction = 77,
  RecurringPartToFraction = 78,
  MultiplyIntoOneFraction = 79,
  SplitOffNonRecurringPart = 80,
  NonRecurringPartToFraction = 81,
  RecurringDecimalToFraction = 82,
  RecurringDecimalPartToFraction = 83,
  CommonDenominatorWholeApart = 84,
  WholePartSeparated = 85,
  PureRecurringToFraction = 86,
  PureRecurringTimesFactor = 87,
  PureRecurringFormToFraction = 88,
  MultiplyToOneFraction = 89,
  Continued = 90,
  RemoveBrackets = 91,
  IntegerInFront = 92,
  RemoveBracketsCountMinus = 93,
  ZeroDividedIsZero = 94,
  MixedAndImproperSplit = 95,
  End = 96,
  EqualPartsIsOne = 97,
  DecimalDenominatorPowerOfTenDone = 98,
  TimesOneForCommonDenominator = 99,
};
constexpr int AdviceNumber(Advice a) { return static_cast<int>(a); }

// The title drawn above a process of each type.
extern const std::array<std::string_view, PROCESS_TYPE_COUNT> ProcessTypeTitles;
// The advice drawn after a line, by step number; "||" inside a text is a row break of the display.
extern const std::array<std::string_view, ADVICE_COUNT> AdviceTexts;

// Step numbers whose lines are drawn only at the detailed level (unless they come first).
inline constexpr std::array<Advice, 3> HiddenSteps{Advice::ReduceFirst, Advice::HowToMakeCommonDenominator,
                                                   Advice::OneDenominatorForm};
bool IsHiddenStep(int n);

// Bounds-checked catalogue reads: an empty text for a number outside the table.
std::string_view ProcessTypeTitle(int type);
// The title as paper shows it: without the screen's key hint for the other method (" ▼別解F6▼").
std::string PaperProcessTypeTitle(int type);
std::string_view AdviceText(int n);

// One raw step record: "~" + three-digit step number + style letter + "=" + expression.
// Style letters: 'X' plain, 'Y' reduction figure, 'Z' cancellation figure, 'A' reduction figure with the
// long form.
std::string StepRecord(Advice step, char style, const std::string& expression);

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
