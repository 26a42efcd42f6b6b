// The substitution box's logic: values written into an expression in x, y and z, the result computed onto
// the calculation line, and the Look of an expression; with the text helpers the tool windows share.
#include "tools/xyDainyuu.h"

#include <array>
#include <cstdio>

#include "engine/BunMath.h"
#include "engine/Characters.h"
#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "platform/Platform.h"
#include "screen/sikiInp.h"
#include "tools/kihonSet.h"

XyDainyuuState XyDainyuuData;

namespace {

bool IsLetter(char c) { return c == 'x' || c == 'y' || c == 'z'; }
bool Holds(const std::string& text, char c) { return text.find(c) != std::string::npos; }

int LetterIndex(char c) { return c - 'x'; }

bool Enclosed(const std::string& value) {
  return value.size() >= 2 && value.front() == '(' && value.back() == ')';
}

// The last step of the substitution: "*" before a digit or "(" after ")", and before a "(" after a digit or
// a letter, so that a value written next to a number or a bracket multiplies it.
std::string InsertFinalMultiplications(const std::string& text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (i > 0) {
      const char p = text[i - 1];
      if ((p == ')' && (IsDigit(c) || c == '(')) || (c == '(' && (IsDigit(p) || IsLetter(p)))) out += '*';
    }
    out += c;
  }
  return out;
}

// Looking at a checked text and showing a notice both run the whole-text check, whose state the
// calculation line shares; the line's counters are kept so that typing on the screen goes on undisturbed.
class KeepCheckerState {
 public:
  KeepCheckerState() : saved_(CheckerState) {}
  ~KeepCheckerState() { CheckerState = saved_; }
  KeepCheckerState(const KeepCheckerState&) = delete;
  KeepCheckerState& operator=(const KeepCheckerState&) = delete;

 private:
  InpCheckState saved_;
};

}  // namespace

void XyDainyuuState::Reset() { *this = XyDainyuuState{}; }

void ResetXyDainyuu() { XyDainyuuData.Reset(); }

// ---- Text helpers -------------------------------------------------------------------------------------------

std::string TrimBlanks(const std::string& text) {
  size_t start = 0;
  size_t end = text.size();
  while (start < end && static_cast<unsigned char>(text[start]) <= ' ') ++start;
  while (end > start && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
  return text.substr(start, end - start);
}

std::string ReplacePai(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  size_t at = 0;
  while (at < text.size()) {
    size_t found = text.find("pai", at);
    if (found == std::string::npos) {
      out.append(text, at, std::string::npos);
      break;
    }
    out.append(text, at, found - at);
    out += PaiText;
    at = found + 3;
  }
  return out;
}

bool SplitComment(const std::string& text, std::string& expression, std::string& comment) {
  const size_t hash = text.find('#');
  if (hash == std::string::npos) {
    expression = TrimBlanks(text);
    comment.clear();
    return false;
  }
  expression = TrimBlanks(text.substr(0, hash));
  comment = " " + text.substr(hash);
  return true;
}

// ---- Substitution -------------------------------------------------------------------------------------------

std::string InsertLetterMultiplications(const std::string& expression) {
  // A letter after a digit, ")" or another letter multiplies it; two letters side by side are a product
  // for the pupil (xy is x times y), so they are given their "*" too and their values cannot run together.
  // A "(" after a letter multiplies it, except after a letter in the first position, which the walk from
  // the second character never meets; that "*" comes with the last step, after the values are in.
  std::string first;
  first.reserve(expression.size() + 8);
  for (size_t i = 0; i < expression.size(); ++i) {
    const char c = expression[i];
    if (i > 0) {
      const char p = expression[i - 1];
      if (IsLetter(c) && (IsDigit(p) || p == ')' || IsLetter(p))) first += '*';
      if (c == '(' && IsLetter(p) && i >= 2) first += '*';
    }
    first += c;
  }
  std::string out;
  out.reserve(first.size() + 8);
  for (size_t i = 0; i < first.size(); ++i) {
    const char c = first[i];
    if (i > 0) {
      const char p = first[i - 1];
      const bool afterClose = p == ')' && (IsDigit(c) || c == '(');
      const bool parenAfter = c == '(' && std::string("0123456789XYZ").find(p) != std::string::npos;
      if (afterClose || parenAfter) out += '*';
    }
    out += c;
  }
  return out;
}

std::string MissingValueLetters(const std::string& expression, const std::string& vx, const std::string& vy,
                                const std::string& vz) {
  const std::array<const std::string*, 3> values = {&vx, &vy, &vz};
  std::string letters;
  for (int k = 0; k < 3; ++k) {
    const char letter = static_cast<char>('x' + k);
    if (Holds(expression, letter) && values[static_cast<size_t>(k)]->empty()) {
      letters += letter;
      letters += ' ';
    }
  }
  return letters;
}

std::string SubstituteValues(const std::string& expression, const std::string& vx, const std::string& vy,
                             const std::string& vz) {
  std::array<std::string, 3> values = {vx, vy, vz};
  for (std::string& v : values)
    if (!v.empty() && v.front() == '-') v = "(" + v + ")";

  // One pass over the expression as it stands: the values written in are never looked at again, so a
  // value that holds a letter cannot make the substitution run on without end.
  std::string out;
  out.reserve(expression.size() * 2);
  for (size_t i = 0; i < expression.size(); ++i) {
    const char c = expression[i];
    if (!IsLetter(c)) {
      out += c;
      continue;
    }
    std::string& v = values[static_cast<size_t>(LetterIndex(c))];
    const bool powerFollows = i + 1 < expression.size() && expression[i + 1] == '^';
    // A fraction raised to a power must stand in brackets (the notation refuses 3b2^2).
    if (powerFollows && !Enclosed(v) && Holds(v, 'b')) v = "(" + v + ")";
    out += v;
  }
  return InsertFinalMultiplications(out);
}

bool Substitute(const std::string& expression, const std::string& vx, const std::string& vy,
                const std::string& vz, std::string& result) {
  std::string e;
  std::string comment;
  SplitComment(expression, e, comment);
  e = TrimBlanks(ReplacePai(e));
  const std::string x = TrimBlanks(ReplacePai(vx));
  const std::string y = TrimBlanks(ReplacePai(vy));
  const std::string z = TrimBlanks(ReplacePai(vz));

  if (!Holds(e, 'x') && !Holds(e, 'y') && !Holds(e, 'z')) {
    if (AskQuestion(DAINYUU_NO_LETTER_TEXT, DAINYUU_CAPTION, MsgButtons::OkCancel) == MsgAnswer::Cancel)
      return false;
    result = e;
    DainyuuResult = result;
    return true;
  }
  e = InsertLetterMultiplications(e);
  const std::string missing = MissingValueLetters(e, x, y, z);
  if (!missing.empty()) {
    ShowMessage("変数 " + missing + "に値が代入されていません。", DAINYUU_CAPTION);
    return false;
  }
  result = SubstituteValues(e, x, y, z);
  DainyuuResult = result;
  return true;
}

DainyuuCalcOutcome DainyuuCalculate(const std::string& expression, const std::string& vx,
                                    const std::string& vy, const std::string& vz) {
  DainyuuCalcOutcome outcome;
  std::string result;
  if (!Substitute(expression, vx, vy, vz, result)) return outcome;
  ClearLine();
  const int p = CheckText(result, {.collectText = true, .omitMul = KAKERU_ABR != 0});
  if (p > 0) {
    char text[64];
    std::snprintf(text, sizeof text, "01::(確認)ｴﾗｰ桁(1～)=%d", p);
    ShowMessage(text, "注意!!");
    outcome.badPos = p;
    return outcome;
  }
  const std::string checked = CheckedText;
  if (Holds(checked, 'x')) return outcome;
  std::string line;
  if (Holds(checked, ':')) {
    line = SimplifyRatio(checked, 1);
    if (line == "n") return outcome;
  } else {
    line = EvaluateExpression(checked, EvalOptions::FromCode(AnswerFormCode, true));
    if (EvalStatus < 0) return outcome;
  }
  ClearLine();
  LineText = line;
  SavedLine = line;
  LineOpen = false;
  if (INPUTSTR_DSP) ShowInputString(LineText);
  RefreshScreen();
  RepaintScreen();
  outcome.computed = true;
  return outcome;
}

void DainyuuLook(const std::string& expressionField) {
  const std::string text = ReplacePai(expressionField);
  if (TrimBlanks(text).empty()) return;
  std::string expression;
  std::string comment;
  SplitComment(text, expression, comment);
  // The letters are drawn as letters; with "!", "P" or "C" after them there is no value to draw.
  for (const char* pair : {"xP", "xC", "x!", "yP", "yC", "y!", "zP", "zC", "z!"}) {
    if (expression.find(pair) != std::string::npos) {
      ShowMessage("xyzと！,P,Cとの組合せはLookできません。", "お知らせ!");
      return;
    }
  }
  KeepCheckerState keep;
  if (CheckText(expression, {.collectText = true, .omitMul = true, .showMessage = true}) != 0) return;
  CurrentPlatform().ShowNotice("@" + CheckedText + comment, "式の分数形表示", 8000);
}
