// Checks the notation one key at a time, so that only well-formed expression texts can be typed, and
// runs the same machine over a whole text; it never computes (evaluation is in BunMath.h, numbers in
// Bunio.h). It also normalises what it accepts: a sign is stored as "p" or "m", and "k" and "b" inside
// an expression fraction as "K" and "B".
#pragma once

#include <string>

// The checker's states, numbered as the line stores them (0–19 in ordinary text, 50–66 inside [ … ]).
// Numbers without a name here (6, 7, 17–19, 51, 63, 65) accept nothing.
enum class CheckState : int {
  LineStart = 0,  // start of a line, or after "=", ":", "<", ">" or an operator after a fraction
  AfterOpen = 1,  // after "(" (or a product of unknowns "xy")
  AfterSign = 2,  // after a sign "p"/"m"
  IntegerDigits = 3,  // digits of an integer
  AfterOperator = 4,  // after "+", "-", "*", "/"
  AwaitDigit = 5,  // after a marker ("b", "k", ".", "@", an exponent's sign) waiting for a digit
  AfterClose = 8,  // after ")", "!" or "]"
  NumeratorDigits = 9,  // the numerator of a mixed number, after "k"
  DenominatorDigits = 10,  // denominator digits, after "b"
  AfterPower = 11,  // after "^"
  ExponentDigits = 12,  // exponent digits
  DecimalDigits = 13,  // digits after the decimal point
  AfterRecurring = 14,  // after "u" (a decimal that goes on forever)
  AfterPermutation = 15,  // after "P" or "C" and their digits
  AfterUnknown = 16,  // after "x", "y" or "z"
  BracketStart = 50,  // inside [ … ]: after "[" or "("
  BracketAfterSign = 52,  // after a sign
  BracketIntegerDigits = 53,
  BracketAfterOperator = 54,
  BracketAfterB = 55,  // after "B" (a denominator follows)
  BracketAfterK = 56,  // after "K" (a numerator follows)
  BracketAwaitDigit = 57,  // after a marker, waiting for a digit
  BracketAfterClose = 58,  // after ")" or "!"
  BracketNumeratorDigits = 59,
  BracketDenominatorDigits = 60,
  BracketAfterPower = 61,
  BracketExponentDigits = 62,
  BracketAfterPermutation = 64,
  BracketAfterUnknown = 66,
};

// The number the line and the batch tool store for a state.
constexpr int StateNumber(CheckState s) { return static_cast<int>(s); }

// Why a key was refused; the number is the index of the message table (CheckMessage) and the batch
// tool's errorNo. A state of the ordinary table without rows refuses with its own state number.
enum class Refusal : int {
  OnlySignDigitOrOpenAtStart = 0,
  OnlySignDigitOrOpenAfterOpen = 1,
  NoOperatorAfterSign = 2,
  NotAfterIntegerDigits = 3,
  NoOperatorAfterOperator = 4,
  OnlyDigitAfterMarker = 5,
  OnlyEqualsOrOperatorAfterClose = 8,
  OnlyDigitOrBAfterNumerator = 9,
  NotAfterDenominatorDigits = 10,
  NotAfterPower = 11,
  NotAfterExponentDigits = 12,
  NotAfterDecimalDigits = 13,
  OnlyEqualsAfterRecurring = 14,
  NotAfterPermutation = 15,
  NotAfterUnknown = 16,
  PowerOfFractionNeedsParentheses = 18,
  ParenthesesDoNotMatch = 19,
  CloseWithoutOpen = 20,
  TooManyDigits = 21,
  NoOpenAfterDigit = 22,
  NoPointAfterSign = 23,
  UseCapitalKBInBrackets = 24,
  NothingAfterEquals = 25,
  NoDecimalInBrackets = 26,
  NoExpressionInBracketWholePart = 27,
  FractionPowerNeedsParentheses = 28,
  PointTwice = 29,
  CloseBracketsBeforeEquals = 30,
  CannotEnterBracketsHere = 31,
  NotInBrackets = 32,
  MultiplicationNotOmittable = 33,
  NoLetterAfterDigit = 34,
  NoSameLetterTwice = 35,
  NoDoubleEquals = 36,
  NoNestedRoot = 37,
  ColonAlreadyUsed = 38,
  KeyWithoutMeaning = 39,
  RelationAlreadyUsed = 40,
};

constexpr int RefusalNumber(Refusal r) { return static_cast<int>(r); }

// The checker's working state. There is one instance (CheckerState): the calculation line and the
// whole-text check share it, and the whole-text check resets it first.
struct InpCheckState {
  CheckState state = CheckState::LineStart;
  bool bracketMode = false;  // inside an expression fraction [ … ]
  char prevChar = '$';  // the previous character; '$' at the start of a line
  int opened = 0;  // accepted "("
  int closed = 0;  // accepted ")"
  int colonCount = 0;  // ":" accepted on the current side
  bool equalsSeen = false;  // an "=" was accepted on this line
  bool relationSeen = false;  // a "<" or ">" was accepted on this line
  int digitRun = 0;  // length of the current run of digits (normal mode)
  int bracketDigitRun = 0;  // the same inside [ … ], counted separately
  bool repeatMarkUsed = false;  // the "@" of the current decimal was used
  CheckState afterState = CheckState::LineStart;  // where the digit a marker state waits for leads
  int rootDepth = 0;  // open root groups "r" … "_", at most 1
  std::string bracketText;  // the characters accepted since "[" (inside [ … ] only)
  bool relaxedSigns = false;  // set by the evaluator while it checks texts made by the program
  char storedChar = '%';  // the character to append for the last accepted key
  int errorNo = 0;  // the message number of the last refusal (a Refusal, or a state number)
  std::string checkedText;  // the normalised text of the last CheckText run that collects it

  // Back to the start of a line with every counter and flag cleared.
  void Reset() { *this = InpCheckState{}; }
};

extern InpCheckState CheckerState;

// The fields other modules read or set by their own names.
inline int& ErrorNo = CheckerState.errorNo;
inline char& StoredChar = CheckerState.storedChar;
inline bool& RelaxedSigns = CheckerState.relaxedSigns;
inline std::string& BracketText = CheckerState.bracketText;
inline std::string& CheckedText = CheckerState.checkedText;

// What a whole-text check does besides checking.
struct CheckOptions {
  bool cutAtEquals = false;  // ignore everything after the first "=" (the "=" itself is checked)
  bool collectText = false;  // leave the normalised text in CheckedText
  bool omitMul = false;  // the setting KAKERU_ABR: the multiplication sign may be omitted
  bool showMessage = false;  // show a refusal in a message box
};

// Number of entries of the message table (0 … 40).
constexpr int CHECK_MESSAGE_COUNT = 41;

// The message of a refusal number, exactly as shown in the status line; the empty text for a number
// outside the table.
const std::string& CheckMessage(int errorNo);

// Puts the whole checker back to the start of a line: state 0, '$' as previous character, normal mode,
// every counter and flag 0 (RelaxedSigns included), ErrorNo 0, StoredChar '%', CheckedText empty.
void ResetInpCheck();

// Offers one key. prevChar is the last stored character of the line ('$' at its start), state the
// line's current state, omitMul the setting KAKERU_ABR (the multiplication sign may be omitted).
// Accepted: CheckerState.state is the next state, StoredChar the character to append, and prevChar in
// the record becomes StoredChar. Refused: only ErrorNo changes (the digit run stays as the line has it).
bool CheckKey(char ch, char prevChar, CheckState state, bool omitMul);

// Checks a whole text with the given options (see CheckOptions).
// Returns 0 when every character is accepted, else the 1-based position of the first refused one.
int CheckText(const std::string& text, const CheckOptions& options);
// Whether the whole-text check accepts text (up to its first "=") with no message, leaving the checker's
// state and CheckedText as they were, so that the line's own key-by-key check goes on undisturbed.
bool TextAccepted(const std::string& text, bool omitMul);
