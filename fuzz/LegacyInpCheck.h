// The switch-based keystroke checker as it was before the rule table, kept only to run side by side
// with the table in the differential fuzz target and test. It has its own state record.
#pragma once

#include <array>
#include <climits>
#include <string>

#include "engine/InpCheck.h"
#include "platform/Platform.h"

namespace legacy {

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

inline InpCheckState CheckerState;
inline std::string CheckedText;

namespace {




// A number holds at most this many digits in a row as typed.
constexpr int MAX_DIGIT_RUN = 19;
// Refusal number inside [ … ] where a row names none.
constexpr int BRACKET_ERROR = 32;

InpCheckState& S = CheckerState;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsUnknown(char c) { return c == 'x' || c == 'y' || c == 'z'; }
bool IsOperator(char c) { return c == '+' || c == '-' || c == '*' || c == '/'; }
bool IsSignKey(char c) { return c == '+' || c == 'p' || c == '-' || c == 'm'; }
bool IsRelation(char c) { return c == '<' || c == '>'; }
char SignForm(char c) { return (c == '+' || c == 'p') ? 'p' : 'm'; }

// Counters never pass INT_MAX, however many keys a caller offers.
void Increase(int& n) {
  if (n < INT_MAX) ++n;
}

// Every rule below either refuses without touching the state, or changes it and accepts; nothing is
// changed before the decision, so a refusal leaves the line exactly as it was.
bool Refuse(int no) {
  S.errorNo = no;
  return false;
}

bool Accept(int next, char stored) {
  S.state = next;
  S.storedChar = stored;
  S.prevChar = stored;
  if (S.bracketMode) S.bracketText += stored;
  return true;
}

bool Open(int next) {
  Increase(S.opened);
  return Accept(next, '(');
}

bool Close(int next, int error) {
  if (S.opened < S.closed + 1) return Refuse(error);
  Increase(S.closed);
  return Accept(next, ')');
}

bool Colon() {
  if (S.colonCount > 0) return Refuse(38);
  Increase(S.colonCount);
  return Accept(0, ':');
}

bool Relation(char ch) {
  if (S.equalsSeen || S.relationSeen) return Refuse(40);
  S.relationSeen = true;
  return Accept(0, ch);
}

bool Equals(char prevChar) {
  if (S.opened != S.closed) return Refuse(19);
  if (prevChar == '=') return Refuse(36);
  S.equalsSeen = true;
  S.colonCount = 0;
  return Accept(0, '=');
}

bool Enter(char prevChar, bool digitTest) {
  if (digitTest && IsDigit(prevChar)) return Refuse(31);
  S.bracketMode = true;
  S.bracketText.assign(1, '[');
  S.bracketDigitRun = 0;
  S.state = 50;
  S.storedChar = '[';
  S.prevChar = '[';
  return true;
}

bool Leave() {
  S.bracketText += ']';
  S.bracketMode = false;
  S.state = 8;
  S.storedChar = ']';
  S.prevChar = ']';
  return true;
}

// A marker ("b", "k", ".", an exponent's sign) waits in state 5 for the digit that leads on to `after`.
bool Mark(int waiting, int after, char stored) {
  S.afterState = after;
  if (stored == '.') S.repeatMarkUsed = false;
  return Accept(waiting, stored);
}

// The "@" of a repeating decimal: only once per decimal, and it must be followed by a digit, so the
// machine waits in the marker state without changing where that digit leads.
bool RepeatMark(int waiting, int after) {
  S.repeatMarkUsed = true;
  S.afterState = after;
  return Accept(waiting, '@');
}

// A digit counted into a run; true when the run has grown past what a number may hold.
bool DigitRunTooLong(int& run, char ch, char prevChar) {
  if (!IsDigit(ch)) {
    run = 0;
    return false;
  }
  if (IsDigit(prevChar))
    Increase(run);
  else
    run = 1;
  if (run <= MAX_DIGIT_RUN) return false;
  CurrentPlatform().ShowNotice("$ 19ケタ以上は入力不可！", "警告！", 1500);
  return true;
}

// The root group "r" … "_" is decided before the tables and never changes the state. Returns false
// when the key is no part of a root group (the tables decide), else true with the verdict in accepted.
bool RootGroup(char ch, int state, bool& accepted) {
  if (ch == 'r') {
    if (S.rootDepth > 0) {
      accepted = Refuse(37);  // roots do not nest
    } else {
      S.rootDepth = 1;
      accepted = Accept(state, 'r');
    }
    return true;
  }
  if (ch == '_' && S.rootDepth > 0) {
    --S.rootDepth;
    accepted = Accept(state, '_');
    return true;
  }
  return false;
}

bool NormalTable(char ch, char prevChar, int state, bool omit) {
  const bool digit = IsDigit(ch), unknown = IsUnknown(ch), op = IsOperator(ch);
  switch (state) {
    case 0:
      if (ch == '[') return Enter(prevChar, true);
      if (ch == '(') {
        if (omit && (prevChar == '.' || prevChar == 'b' || prevChar == 'k')) return Refuse(0);
        if (!omit && IsDigit(prevChar)) return Refuse(22);
        return Open(1);
      }
      if (digit) return Accept(3, ch);
      if (unknown) return Accept(16, ch);
      if (ch == '.' && IsDigit(prevChar)) return Mark(5, 13, ch);
      if (IsSignKey(ch)) return Accept(2, SignForm(ch));
      if (ch == '=') {
        if (IsRelation(prevChar)) return Accept(0, ch);  // "<=" and ">="
        if (prevChar == '=') return Refuse(36);
        return Refuse(0);
      }
      if (IsRelation(ch)) return Refuse((S.equalsSeen || S.relationSeen) ? 40 : 0);
      return Refuse(0);

    case 1:
      if (digit) return Accept(3, ch);
      if (ch == '(') return Open(1);
      if (IsSignKey(ch)) return Accept(2, SignForm(ch));
      if (unknown) return Accept(16, ch);
      if (ch == '[') return Enter(prevChar, true);
      return Refuse(1);

    case 2:
      if (digit) return Accept(3, ch);
      if (ch == '(') return Open(1);
      if (ch == '[') return Enter(prevChar, true);
      if (unknown) return Accept(16, ch);
      if ((ch == 'p' || ch == 'm') && S.relaxedSigns) return Accept(3, ch);
      return Refuse(2);

    case 3:
      if (digit) return Accept(3, ch);
      if (op) return Accept(4, ch);
      if (ch == '^') return Accept(11, ch);
      if (ch == '(') return omit ? Open(1) : Refuse(22);
      if (ch == ')') return Close(8, 20);
      if (ch == ':') return Colon();
      if (IsRelation(ch)) return Relation(ch);
      if (ch == '=') return Equals(prevChar);
      if (unknown) return omit ? Accept(16, ch) : Refuse(33);
      if (ch == '!') return Accept(8, ch);
      if (ch == '.') return Mark(5, 13, ch);
      if (ch == 'b') return Mark(5, 10, ch);
      if (ch == 'k') return Mark(5, 9, ch);
      if (ch == 'C' || ch == 'P') return Accept(15, ch);
      if (ch == '[') return Refuse(22);
      return Refuse(3);

    case 4:
      if (digit) return Accept(3, ch);
      if (ch == '(') return Open(1);
      if (unknown) return Accept(16, ch);
      if (ch == '[') return Enter(prevChar, false);
      if ((ch == 'p' || ch == 'm') && S.relaxedSigns) return Accept(4, ch);
      return Refuse(4);

    case 5:
      if (digit) return Accept(S.afterState, ch);
      if (ch == '@' && prevChar == '.' && !S.repeatMarkUsed) return RepeatMark(5, S.afterState);
      return Refuse(5);

    case 8:
      if (ch == '^') return Accept(11, ch);
      if (op) return Accept(4, ch);
      if (ch == ')') return Close(8, 20);
      if (ch == ':') return Colon();
      if (IsRelation(ch)) return Relation(ch);
      if (ch == '=') return Equals(prevChar);
      if (ch == '!' && prevChar != '!') return Accept(8, ch);
      if (ch == '(' && omit) return Open(1);
      if (unknown && omit) return Accept(16, ch);
      return Refuse(8);

    case 9:
      if (digit) return Accept(9, ch);
      if (ch == 'b') return Mark(5, 10, ch);
      return Refuse(9);

    case 10:
      if (digit) return Accept(10, ch);
      if (op) return Accept(0, ch);
      if (ch == '^') return Refuse(28);
      if (unknown) return Accept(16, ch);
      if (ch == '(') return omit ? Open(1) : Refuse(33);
      if (ch == ')') return Close(8, 20);
      if (ch == ':') return Colon();
      if (IsRelation(ch)) return Relation(ch);
      if (ch == '=') return Equals(prevChar);
      return Refuse(10);

    case 11:
      if (digit) return Accept(12, ch);
      if (IsSignKey(ch)) return Mark(5, 12, SignForm(ch));
      if (unknown) return Accept(16, ch);
      return Refuse(11);

    case 12:
      if (digit) return Accept(12, ch);
      if (ch == '^') return Accept(11, ch);
      if (op) return Accept(4, ch);
      if (ch == ')') return Close(8, 20);
      if (ch == ':') return Colon();
      if (IsRelation(ch)) return Relation(ch);
      if (ch == '=') return Equals(prevChar);
      return Refuse(12);

    case 13:
      if (digit) return Accept(13, ch);
      if (ch == 'u') return Accept(14, ch);
      if (ch == '^') return Accept(11, ch);
      if (op) return Accept(4, ch);
      if (ch == '@') return S.repeatMarkUsed ? Refuse(13) : RepeatMark(5, 13);
      if (ch == '.') return Refuse(29);
      if (ch == ')') return Close(8, 20);
      if (ch == ':') return Colon();
      if (IsRelation(ch)) return Relation(ch);
      if (ch == '=') return Equals(prevChar);
      if (unknown) return Accept(16, ch);
      if (ch == '(') return omit ? Open(1) : Refuse(33);
      return Refuse(13);

    case 14:
      if (ch == '=') return Equals(prevChar);
      return Refuse(14);

    case 15:
      if (digit) return Accept(15, ch);
      // Directly after "P" or "C" only a digit may follow.
      if (!IsDigit(prevChar)) return Refuse(15);
      if (op || ch == '^') return Accept(4, ch);
      if (ch == ')') return Close(8, 20);
      if (ch == ':') return Colon();
      if (IsRelation(ch)) return Relation(ch);
      if (ch == '=') return Equals(prevChar);
      return Refuse(15);

    case 16:
      if (op || ch == '^') return Accept(4, ch);
      if (ch == ')') return Close(8, 20);
      if (ch == ':') return Colon();
      if (IsRelation(ch)) return Relation(ch);
      if (ch == '=') return Equals(prevChar);
      if (unknown) {
        if (!omit) return Refuse(22);
        if (ch == prevChar) return Refuse(35);
        return Accept(1, ch);
      }
      if (ch == '(') return omit ? Open(1) : Refuse(33);
      if (digit) return Refuse(33);
      return Refuse(16);

    default:
      // States 6, 7 and 17–19 accept nothing.
      return Refuse(state);
  }
}

// Inside [ … ]; "k" and "b" are stored as "K" and "B".
bool BracketTable(char ch, char prevChar, int state, bool omit) {
  const bool digit = IsDigit(ch), unknown = IsUnknown(ch), op = IsOperator(ch);
  const bool isB = ch == 'B' || ch == 'b', isK = ch == 'K' || ch == 'k';
  const bool isPC = ch == 'C' || ch == 'P';
  switch (state) {
    case 50:
      if (digit) return Accept(53, ch);
      if (ch == '(') return Open(50);
      if (IsSignKey(ch)) return Accept(52, SignForm(ch));
      if (unknown) return Accept(66, ch);
      break;

    case 52:
      if (digit) return Accept(53, ch);
      if (unknown) return Accept(66, ch);
      if (ch == '(') return Open(50);
      if (isK) return Accept(56, 'K');
      if ((ch == 'p' || ch == 'm') && S.relaxedSigns) return Accept(53, ch);
      break;

    case 53:
      if (digit) return Accept(53, ch);
      if (unknown) return Accept(66, ch);
      if (ch == '^') return Accept(61, ch);
      if (op) return Accept(54, ch);
      if (ch == '(') return omit ? Open(50) : Refuse(BRACKET_ERROR);
      if (ch == ')') return Close(58, 30);
      if (ch == '!') return Accept(58, ch);
      if (ch == '.') return Mark(57, 53, ch);
      if (isB) return Accept(55, 'B');
      if (isPC) return Accept(64, ch);
      if (isK) {
        // The whole part of a mixed number inside [ … ] must be a plain number.
        if (S.bracketText.find_first_of(".+-*/^!()PC") != std::string::npos) return Refuse(27);
        return Accept(56, 'K');
      }
      if (ch == ']') return Leave();
      break;

    case 54:
      if (digit) return Accept(53, ch);
      if (ch == '(') return Open(50);
      if (unknown) return Accept(66, ch);
      if ((ch == 'p' || ch == 'm') && S.relaxedSigns) return Accept(54, ch);
      break;

    case 55:
      if (digit) return Accept(60, ch);
      if (unknown) return Accept(66, ch);
      if (ch == '(') return Open(50);
      if (IsSignKey(ch)) return Accept(52, SignForm(ch));
      break;

    case 56:
      if (digit) return Accept(59, ch);
      if (unknown) return Accept(66, ch);
      if (ch == '(') return Open(50);
      if (IsSignKey(ch)) return Mark(57, 59, SignForm(ch));
      break;

    case 57:
      if (digit) return Accept(S.afterState, ch);
      if (ch == '@' && prevChar == '.' && !S.repeatMarkUsed) return RepeatMark(57, S.afterState);
      break;

    case 58:
      if (ch == '^') return Accept(61, ch);
      if (op) return Accept(54, ch);
      if (ch == ')') return Close(58, 20);
      if (ch == '(' && omit) return Open(50);
      if (ch == '!' && prevChar != '!') return Accept(58, ch);
      if (isB) return Accept(55, 'B');
      if (ch == ']') return Leave();
      break;

    case 59:
      if (digit) return Accept(59, ch);
      if (unknown) return Accept(66, ch);
      if (ch == '.') return Mark(57, 59, ch);
      if (isB) return Accept(55, 'B');
      if (ch == '^') return Accept(61, ch);
      if (op) return Accept(54, ch);
      if (ch == '!') return Accept(58, ch);
      if (isPC) return Accept(64, ch);
      break;

    case 60:
      if (digit) return Accept(60, ch);
      if (unknown) return Accept(66, ch);
      if (ch == '^') return Accept(61, ch);
      if (op) return Accept(54, ch);
      if (ch == '!') return Accept(58, ch);
      if (ch == ')') return Close(58, 20);
      if (ch == '(' && omit) return Open(50);
      if (ch == '.') return Mark(57, 60, ch);
      if (isPC) return Accept(64, ch);
      if (ch == ']') return Leave();
      break;

    case 61:
      if (digit) return Accept(62, ch);
      if (unknown) return Accept(66, ch);
      if (IsSignKey(ch)) return Mark(57, 62, SignForm(ch));
      return Refuse(20);

    case 62:
      if (digit) return Accept(62, ch);
      if (ch == '^') return Accept(61, ch);
      if (op) return Accept(54, ch);
      if (ch == ')') return Close(58, 20);
      if (isB) return Accept(55, 'B');
      if (ch == ']') return Leave();
      return Refuse(20);

    case 64:
      if (digit) return Accept(64, ch);
      if (!IsDigit(prevChar)) break;  // directly after "P" or "C" only a digit
      if (op || ch == '^') return Accept(54, ch);
      if (ch == ')') return Close(58, 20);
      if (isB) return Accept(55, 'B');
      if (ch == ']') return Leave();
      break;

    case 66:
      if (op || ch == '^') return Accept(54, ch);
      if (ch == ')') return Close(58, 20);
      if (isB) return Accept(55, 'B');
      if (unknown) {
        if (!omit) return Refuse(22);
        if (ch == prevChar) return Refuse(35);
        return Accept(50, ch);
      }
      if (ch == '(') return omit ? Open(50) : Refuse(33);
      if (ch == ']') return Leave();
      if (digit) return Refuse(33);
      break;

    default:
      break;
  }
  return Refuse(BRACKET_ERROR);
}

}  // namespace

namespace {

bool OfferKey(char ch, char prevChar, int state, int omit_mul) {
  const bool omit = omit_mul != 0;
  if (ch == '%') return Refuse(39);
  if (prevChar == '$') S.equalsSeen = false;

  if (S.bracketMode) {
    // A relation or "=" needs the expression fraction closed first.
    if (ch == '<' || ch == '=' || ch == '>') return Refuse(30);
    if (DigitRunTooLong(S.bracketDigitRun, ch, prevChar)) return Refuse(21);
    bool accepted = false;
    if (RootGroup(ch, state, accepted)) return accepted;
    return BracketTable(ch, prevChar, state, omit);
  }

  if (DigitRunTooLong(S.digitRun, ch, prevChar)) return Refuse(21);
  bool accepted = false;
  if (RootGroup(ch, state, accepted)) return accepted;
  return NormalTable(ch, prevChar, state, omit);
}

}  // namespace

inline bool CheckKey(char ch, char prevChar, int state, int omit_mul) {
  // A refused key leaves the line as it was, so it must not end or restart the run of digits the line
  // holds: otherwise a letter refused between digits would let a 20-digit number onto the line.
  const int run = S.digitRun, bracketRun = S.bracketDigitRun;
  if (OfferKey(ch, prevChar, state, omit_mul)) return true;
  S.digitRun = run;
  S.bracketDigitRun = bracketRun;
  return false;
}

inline int CheckText(const std::string& text, int cut_at_equals, int collect, int omit_mul, int show_message) {
  std::string checked = text;
  if (cut_at_equals == 1) {
    // Everything after the first "=" is the answer part; the "=" itself is still checked.
    size_t eq = checked.find('=');
    if (eq != std::string::npos) checked.resize(eq + 1);
  }

  // A check starts from a fresh line, so nothing left over from an earlier text (an open root group,
  // a digit run, a used "@") can decide about this one. RelaxedSigns is the caller's and stays.
  const bool relaxed = S.relaxedSigns;
  const int errorNo = S.errorNo;
  const char storedChar = S.storedChar;
  S = InpCheckState{};
  S.relaxedSigns = relaxed;
  S.errorNo = errorNo;
  S.storedChar = storedChar;
  CheckedText.clear();

  for (size_t i = 0; i < checked.size(); ++i) {
    const char ch = checked[i];
    if (ch == '&') {
      // What follows "&" is a text of its own (an answer copy, a solution); the brackets still count.
      S.bracketMode = false;
      S.prevChar = '$';
      S.state = 0;
      S.equalsSeen = false;
      S.relationSeen = false;
      S.colonCount = 0;
      if (collect == 1) CheckedText += ch;
      continue;
    }
    if (CheckKey(ch, S.prevChar, S.state, omit_mul)) {
      S.prevChar = ch;
      if (collect == 1) CheckedText += S.storedChar;
      continue;
    }
    const int position = i < static_cast<size_t>(INT_MAX) ? static_cast<int>(i) + 1 : INT_MAX;
    if (show_message == 1)
      ShowMessage("文字列>> " + checked + "\n\n◇ｴﾗｰ:: (" + std::to_string(position) + "字目) " +
                      CheckMessage(S.errorNo),
                  "ｴﾗｰの報告");
    return position;
  }
  S.bracketMode = false;
  return 0;
}

inline bool TextAccepted(const std::string& text, int omit_mul) {
  const InpCheckState keep = CheckerState;
  const std::string keepChecked = CheckedText;
  const int bad = CheckText(text, 1, 0, omit_mul, 0);
  CheckerState = keep;
  CheckedText = keepChecked;
  return bad == 0;
}

}  // namespace legacy
