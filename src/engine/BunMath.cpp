// The expression evaluator: the answer forms of EvaluateExpression, the bracket-and-sign simplifier,
// implied multiplications and the ratio simplifier. The nested and flat evaluation and the single
// operations are in BunMath-Nested.cpp, permutations, combinations and factorials in BunMath-Counting.cpp.
#include "engine/BunMath.h"

#include <string_view>

#include "engine/BunMathWork.h"
#include "engine/Bunio.h"
#include "engine/Bunsuuh.h"
#include "engine/Characters.h"
#include "platform/Platform.h"

BunMathState BunMathData;

using bunmath::CanonicalZero;
using bunmath::CountChar;
using bunmath::MARK_CLOSE;
using bunmath::MARK_OPEN;

namespace {

const char* const REPORT_CAPTION = "ご報告！";

// Characters that may stand inside one number of the notation after its sign.
bool IsNumberChar(char c) { return IsDigit(c) || c == '.' || c == '@' || c == 'k' || c == 'b' || c == 'u'; }

// Replaces every non-overlapping occurrence of from (two characters) by to, left to right.
void ReplacePair(std::string& text, std::string_view from, std::string_view to) {
  size_t at = text.find(from);
  if (at == std::string::npos) return;
  std::string out;
  out.reserve(text.size());
  size_t done = 0;
  while (at != std::string::npos) {
    out.append(text, done, at - done);
    out.append(to);
    done = at + from.size();
    at = text.find(from, done);
  }
  out.append(text, done, std::string::npos);
  text.swap(out);
}

// True when the "m" at position m starts a signed number that is the base of a power ("m2^2"): that
// number is one operand, so the sign in front of it must not be merged into the operator before it.
bool SignedPowerBase(const std::string& text, size_t m) {
  size_t i = m + 1;
  while (i < text.size() && (text[i] == 'm' || text[i] == 'p')) ++i;
  if (i >= text.size() || !(IsDigit(text[i]) || text[i] == '.')) return false;
  while (i < text.size() && IsNumberChar(text[i])) ++i;
  return i < text.size() && text[i] == '^';
}

// "+m" → "-" and "-m" → "+", except before the signed base of a power.
void MergeMinusSign(std::string& text, char op, char replacement) {
  std::string out;
  bool changed = false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == op && i + 1 < text.size() && text[i + 1] == 'm' && !SignedPowerBase(text, i + 1)) {
      if (!changed) {
        out.reserve(text.size());
        out.assign(text, 0, i);
        changed = true;
      }
      out += replacement;
      ++i;
      continue;
    }
    if (changed) out += text[i];
  }
  if (changed) text.swap(out);
}

// Marks every group directly followed by "^" or "!" (the whole group its ")" closes), so that the
// simplifier leaves it: (3b1)^2 must keep its parentheses, and (m3)! must stay a group.
void MarkPowerGroups(std::string& text) {
  for (size_t close = 0; close + 1 < text.size(); ++close) {
    if (text[close] != ')' || (text[close + 1] != '^' && text[close + 1] != '!')) continue;
    int depth = 0;
    for (size_t j = close + 1; j-- > 0;) {
      if (text[j] == ')') ++depth;
      if (text[j] == '(' && --depth == 0) {
        text[j] = MARK_OPEN;
        text[close] = MARK_CLOSE;
        break;
      }
    }
  }
}

void RestoreMarks(std::string& text) {
  for (char& c : text) {
    if (c == MARK_OPEN) c = '(';
    if (c == MARK_CLOSE) c = ')';
  }
}

// The answer's decimal form. A terminating expansion is written rounded at the 18th decimal; one that
// does not terminate is cut after the 17th decimal and marked "u" (the digits shown are exact).
std::string AnswerDecimal(const Bunsuu& mixed) {
  std::string text = DecimalText(mixed);
  for (char& c : text)
    if (c == '-') c = 'm';
  if (DecimalTerminates || mixed.den == 0 || mixed.num == 0) return text;
  std::string cut = mixed.sign < 0 ? "m" : "";
  cut += std::to_string(mixed.whole);
  cut += '.';
  unsigned __int128 remainder = static_cast<unsigned __int128>(mixed.num);
  const unsigned __int128 den = static_cast<unsigned __int128>(mixed.den);
  for (int i = 0; i < 17; ++i) {
    remainder *= 10;
    cut += static_cast<char>('0' + static_cast<int>(remainder / den));
    remainder %= den;
  }
  cut += 'u';
  return cut;
}

// Keeps the first of neighbouring equal pieces between "=" and drops a trailing "=".
std::string DropRepeatedAnswers(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  std::string_view all(text);
  std::string_view previous;
  bool first = true;
  size_t start = 0;
  while (true) {
    size_t eq = all.find('=', start);
    std::string_view piece =
        all.substr(start, eq == std::string_view::npos ? std::string_view::npos : eq - start);
    if (first || piece != previous) {
      if (!first) out += '=';
      out.append(piece);
    }
    previous = piece;
    first = false;
    if (eq == std::string_view::npos) break;
    start = eq + 1;
  }
  if (!out.empty() && out.back() == '=') out.pop_back();
  return out;
}

// "m(" becomes "m1*(". After "/" the product must stay one divisor, so there the negated group, with
// the powers that follow it, is wrapped as a whole: 6/m(3) is 6/(m1*(3)), not 6/m1*(3).
void ExpandSignedGroups(std::string& text) {
  for (size_t at = text.find("m("); at != std::string::npos; at = text.find("m(", at + 4)) {
    if (at == 0 || text[at - 1] != '/') {
      text.replace(at, 2, "m1*(");
      continue;
    }
    int depth = 0;
    size_t end = at + 1;
    for (; end < text.size(); ++end) {
      if (text[end] == '(') ++depth;
      if (text[end] == ')' && --depth == 0) break;
    }
    if (end >= text.size()) {  // an unmatched group is left for the parenthesis count to refuse
      text.replace(at, 2, "m1*(");
      continue;
    }
    ++end;
    while (end < text.size() && text[end] == '^') {
      size_t e = end + 1;
      if (e < text.size() && (text[e] == 'm' || text[e] == 'p')) ++e;
      while (e < text.size() && IsDigit(text[e])) ++e;
      end = e;
    }
    text.insert(end, 1, ')');
    text.replace(at, 2, "(m1*(");
  }
}

std::string Fail(const std::string& input, EvalOutcome outcome, const char* message) {
  ShowMessage(message, REPORT_CAPTION);
  EvalStatus = EvalStatusNumber(outcome);
  return input;
}

}  // namespace

void BunMathState::Reset() { *this = BunMathState{}; }

void ResetBunMath() {
  BunMathData.Reset();
  DecimalTerminates = false;
}

std::string InsertImpliedMultiplication(const std::string& text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    out += c;
    if (i + 1 >= text.size()) break;
    char next = text[i + 1];
    bool times = false;
    if (c == ')' || c == '!')
      times = IsDigit(next) || next == '(';
    else if (IsDigit(c) || c == 'X' || c == 'Y' || c == 'Z')
      times = next == '(';
    if (times) out += '*';
  }
  return out;
}

std::string RemoveSimpleBrackets(const std::string& text, OtherGroups others) {
  int verdict = 0;
  return RemoveSimpleBrackets(text, others, verdict);
}

std::string RemoveSimpleBrackets(const std::string& input, OtherGroups others, int& verdict) {
  verdict = 0;
  std::string text = input;
  MarkPowerGroups(text);

  // The innermost group from "from" on: the first "(", the first ")" after it, and the last "(" before
  // that ")". A group holding one number loses its parentheses and the scan starts again, because the
  // group around it may now hold one number too; any other group is passed over.
  size_t from = 0;
  while (true) {
    size_t open = text.find('(', from);
    if (open == std::string::npos) break;
    size_t close = text.find(')', open);
    if (close == std::string::npos) break;
    size_t inner = text.rfind('(', close);
    std::string content = text.substr(inner + 1, close - inner - 1);
    if (!content.empty() && IsSingleNumber(content)) {
      text.erase(close, 1);
      text.erase(inner, 1);
      verdict = 1;
      from = 0;
      continue;
    }
    if (others == OtherGroups::Stop) {
      verdict = -1;
      return input;
    }
    from = close + 1;
  }

  MergeMinusSign(text, '+', '-');
  ReplacePair(text, "+p", "+");
  MergeMinusSign(text, '-', '+');
  ReplacePair(text, "-p", "-");
  RestoreMarks(text);
  ReplacePair(text, "pm", "m");
  ReplacePair(text, "pp", "");
  ReplacePair(text, "mm", "");
  ReplacePair(text, "mp", "m");
  return text;
}

std::string EvaluateExpression(const std::string& input, EvalOptions options) {
  EvalStatus = EvalStatusNumber(EvalOutcome::Success);
  AnswerValueMixed = BUNSUU_ERROR;
  AnswerValueImproper = BUNSUU_ERROR;
  AnswerMixedText.clear();
  AnswerImproperText.clear();
  AnswerDecimalText.clear();
  AnswerHasFraction = false;

  std::string text = InsertImpliedMultiplication(input);
  if (size_t eq = text.find('='); eq != std::string::npos) text.resize(eq);
  text = RemoveSimpleBrackets(text, OtherGroups::PassOver);
  ExpandSignedGroups(text);
  ReplacePair(text, "p(", "(");

  if (FirstOperator(text).kind == -1) return Fail(input, EvalOutcome::NoOperator, "演算記号がありません。");
  if (CountChar(text, '(') != CountChar(text, ')'))
    return Fail(input, EvalOutcome::UnbalancedParentheses, " ( と ) の数が合わない。");
  if (text.find_first_of("CP") != std::string::npos) {
    text = ReplacePermutations(text);
    if (text == "n") return Fail(input, EvalOutcome::PermutationFailed, "順列・組合せの処理に失敗！");
  }
  if (text.find('!') != std::string::npos) {
    text = ReplaceFactorials(text);
    if (text == "n") return Fail(input, EvalOutcome::FactorialFailed, "階乗の処理に失敗！");
  }
  if (text.find(']') != std::string::npos) {
    text = ReplaceExpressionFractions(text);
    if (text == "n") return Fail(input, EvalOutcome::ExpressionFractionFailed, "[ ] 内の処理に失敗！");
  }
  Bunsuu value = EvaluateNested(text);
  if (IsError(value)) return Fail(input, EvalOutcome::CannotCompute, "計算ができない式です。");

  // The canonical answer: reduced, a zero numerator over 1, a zero as BUNSUU_ZERO.
  value = CanonicalZero(Reduce(value));
  if (value.num == 0) value.den = 1;
  Bunsuu mixed = ToMixed(value);
  Bunsuu improper = IsError(mixed) ? BUNSUU_ERROR : ToImproper(mixed);
  // A mixed answer whose improper form leaves the 64-bit range cannot be written both ways.
  if (IsError(improper)) return Fail(input, EvalOutcome::CannotCompute, "計算ができない式です。");
  AnswerValueMixed = mixed;
  AnswerValueImproper = improper;
  AnswerMixedText = FormatBunsuu(mixed, 0);
  AnswerImproperText = FormatBunsuu(improper, 0);
  if (improper.den == 1 && AnswerImproperText != "0") {
    size_t at = (AnswerImproperText[0] == 'm' || AnswerImproperText[0] == 'p') ? 1 : 0;
    if (AnswerImproperText.compare(at, 2, "1b") == 0) AnswerImproperText.erase(at, 2);
  }
  DecimalTerminates = IsTerminating(mixed.den);

  const bool wantMixed = options.forms != AnswerForms::Improper;
  const bool wantImproper = options.forms != AnswerForms::Mixed;
  std::string answer;
  if (options.echo) answer.assign(input, 0, input.find('='));
  AnswerHasFraction = true;
  if (wantMixed) {
    answer += '=';
    answer += AnswerMixedText;
    if (AnswerMixedText.find('b') == std::string::npos) AnswerHasFraction = false;
  }
  if (wantImproper && (options.forms == AnswerForms::Improper || AnswerImproperText != AnswerMixedText)) {
    answer += '=';
    answer += AnswerImproperText;
    if (AnswerImproperText.find('b') == std::string::npos) AnswerHasFraction = false;
  }
  if (options.decimal) {
    AnswerDecimalText = AnswerDecimal(mixed);
    DecimalTerminates = IsTerminating(mixed.den);
    if (AnswerHasFraction) {
      answer += '=';
      answer += AnswerDecimalText;
    }
  }
  answer = DropRepeatedAnswers(answer);
  if (!options.echo && !answer.empty() && answer[0] == '=') answer.erase(0, 1);
  EvalStatus = EvalStatusNumber(EvalOutcome::Success);
  return answer;
}

std::string SimplifyRatio(const std::string& input, int echo) {
  std::string text = input.substr(0, input.find('='));
  size_t colon = text.find(':');
  if (colon == std::string::npos) return "n";
  std::string a = text.substr(0, colon);
  std::string b = text.substr(colon + 1);
  if (a.empty() || b.empty()) return "n";

  // Each term that holds an operator is computed first; a zero term makes the ratio meaningless.
  auto term = [](std::string& t, const char* zeroMessage) -> bool {
    if (t.find_first_of("/*-+^") != std::string::npos) {
      t = EvaluateExpression(t, {.forms = AnswerForms::Improper});
      if (EvalStatus < 0) return false;
    }
    if (StripParentheses(t, 1) == "0") {
      ShowMessage(zeroMessage, "報告!");
      return false;
    }
    return true;
  };
  if (!term(a, "前項が 0 なので､比を簡単にできません。")) return "n";
  if (!term(b, "後項が 0 なので､比を簡単にできません。")) return "n";

  std::string q = EvaluateExpression("(" + a + ")/(" + b + ")", {.forms = AnswerForms::Improper});
  if (EvalStatus < 0) return "n";
  std::string ratio;
  size_t bMark = q.find('b');
  if (bMark != std::string::npos) {
    // The sign of a fraction belongs to the whole number, so it goes in front of the ratio.
    bool negative = !q.empty() && q[0] == 'm';
    size_t start = negative ? 1 : 0;
    ratio = (negative ? "m" : "") + q.substr(bMark + 1) + ":" + q.substr(start, bMark - start);
  } else {
    ratio = q + ":1";
  }
  if (ratio == text) {
    ShowMessage("これ以上簡単にできません。", "報告!");
    return "n";
  }
  return echo == 1 ? text + "=" + ratio : ratio;
}
