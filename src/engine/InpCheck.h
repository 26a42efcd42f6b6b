// Checks the notation one key at a time, so that only well-formed expression texts can be typed, and
// runs the same machine over a whole text; it never computes (evaluation is in BunMath.h, numbers in
// Bunio.h). It also normalises what it accepts: a sign is stored as "p" or "m", and "k" and "b" inside
// an expression fraction as "K" and "B".
#pragma once

#include <string>

// The checker's working state. There is one instance (CheckerState): the calculation line and the
// whole-text check share it, and the whole-text check resets it first.
struct InpCheckState {
  int state = 0;               // current state: 0–19 in normal mode, 50–66 inside [ … ]
  bool bracketMode = false;    // inside an expression fraction [ … ]
  char prevChar = '$';         // the previous character; '$' at the start of a line
  int opened = 0;              // accepted "("
  int closed = 0;              // accepted ")"
  int colonCount = 0;          // ":" accepted on the current side
  bool equalsSeen = false;     // an "=" was accepted on this line
  bool relationSeen = false;   // a "<" or ">" was accepted on this line
  int digitRun = 0;            // length of the current run of digits (normal mode)
  int bracketDigitRun = 0;     // the same inside [ … ], counted separately
  bool repeatMarkUsed = false; // the "@" of the current decimal was used
  int afterState = 0;          // the state to enter after the digit that a marker state waits for
  int rootDepth = 0;           // open root groups "r" … "_", at most 1
  std::string bracketText;     // the characters accepted since "[" (inside [ … ] only)
  bool relaxedSigns = false;   // set by the evaluator while it checks texts made by the program
  char storedChar = '%';       // the character to append for the last accepted key
  int errorNo = 0;             // the message number of the last refusal
};

extern InpCheckState CheckerState;
// The normalised text of the last CheckText run with collect = 1.
extern std::string CheckedText;

// The fields other modules read or set by their own names.
inline int& ErrorNo = CheckerState.errorNo;
inline char& StoredChar = CheckerState.storedChar;
inline bool& RelaxedSigns = CheckerState.relaxedSigns;
inline std::string& BracketText = CheckerState.bracketText;

// Number of entries of the message table (0 … 40).
constexpr int CHECK_MESSAGE_COUNT = 41;

// The message of a refusal number, exactly as shown in the status line; the empty text for a number
// outside the table.
const std::string& CheckMessage(int errorNo);

// Puts the whole checker back to the start of a line: state 0, '$' as previous character, normal mode,
// every counter and flag 0 (RelaxedSigns included), ErrorNo 0, StoredChar '%', CheckedText empty.
void ResetInpCheck();

// Offers one key. prevChar is the last stored character of the line ('$' at its start), state the
// line's current state, omit_mul the setting KAKERU_ABR (1: the multiplication sign may be omitted).
// Accepted: CheckerState.state is the next state, StoredChar the character to append, and prevChar in
// the record becomes StoredChar. Refused: only ErrorNo changes (the digit run stays as the line has it).
bool CheckKey(char ch, char prevChar, int state, int omit_mul);

// Checks a whole text. cut_at_equals = 1 ignores everything after the first "="; collect = 1 leaves
// the normalised text in CheckedText; show_message = 1 shows the refusal in a message box.
// Returns 0 when every character is accepted, else the 1-based position of the first refused one.
int CheckText(const std::string& text, int cut_at_equals, int collect, int omit_mul, int show_message);
// Whether the whole-text check accepts text (up to its first "=") with no message, leaving the checker's
// state and CheckedText as they were, so that the line's own key-by-key check goes on undisturbed.
bool TextAccepted(const std::string& text, int omit_mul);
