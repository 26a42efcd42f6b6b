// The evaluator's core: the nested evaluation that reduces the innermost group again and again, the flat
// evaluation of a text without groups one operation at a time, and the single operation A op B.
#include <algorithm>
#include <climits>
#include <string_view>

#include "engine/BunMath.h"
#include "engine/BunMathWork.h"
#include "engine/Bunio.h"
#include "engine/Characters.h"
#include "engine/InpCheck.h"
#include "platform/Platform.h"

using bunmath::CanonicalZero;
using bunmath::CountChar;
using bunmath::MARK_CLOSE;
using bunmath::MARK_OPEN;

namespace {

// The characters that end an operand.
bool IsOperandEnd(char c) {
  return c == '+' || c == '-' || c == '*' || c == '/' || c == '^' || c == '=' || c == ':';
}

// A "+" or "-" at the start, after another operator or after "(" is the sign of the next number, not
// an operator (the checker writes such signs as "p" and "m"; texts made elsewhere may not).
bool IsSignAt(const std::string& t, size_t i) {
  return (t[i] == '+' || t[i] == '-') && (i == 0 || IsOperandEnd(t[i - 1]) || t[i - 1] == '(');
}

size_t FindOperator(const std::string& t, char op) {
  for (size_t i = t.find(op); i != std::string::npos; i = t.find(op, i + 1))
    if (!IsSignAt(t, i)) return i;
  return std::string::npos;
}

bool Balanced(const std::string& t) {
  int depth = 0;
  for (char c : t) {
    if (c == '(') ++depth;
    if (c == ')' && --depth < 0) return false;
  }
  return depth == 0;
}

// One number as an operand: an empty or unreadable text is the error value, a zero is BUNSUU_ZERO.
Bunsuu ParseOperand(std::string_view text) {
  if (text.empty()) return BUNSUU_ERROR;
  Bunsuu v = ParseNumber(std::string(text));
  if (v.den == 0) return BUNSUU_ERROR;
  return CanonicalZero(v);
}

// The exponent of "^": an optional sign ("m", "p", "-" or "+") and digits, within the signed 32-bit range.
bool ReadExponent(std::string_view text, int32_t& e) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == 'm' || text[i] == '-' || text[i] == 'p' || text[i] == '+')) {
    negative = text[i] == 'm' || text[i] == '-';
    ++i;
  }
  if (i >= text.size()) return false;
  int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (!IsDigit(text[i])) return false;
    value = value * 10 + (text[i] - '0');
    if (value > int64_t{INT32_MAX} + 1) return false;
  }
  if (negative) value = -value;
  if (value > INT32_MAX || value < INT32_MIN) return false;
  e = static_cast<int32_t>(value);
  return true;
}

void DivisionByZero() { ShowMessage("★ｴﾗｰ << ０による除算 >>", "報告!!"); }

Bunsuu Operate(std::string_view aText, char op, std::string_view bText) {
  Bunsuu a = ParseOperand(aText);
  if (IsError(a)) return BUNSUU_ERROR;
  if (op == '^') {
    int32_t e = 0;
    if (!ReadExponent(bText, e)) return BUNSUU_ERROR;
    // Zero to a negative power is a division by zero.
    if (a.sign == 0 && e < 0) {
      DivisionByZero();
      return BUNSUU_ERROR;
    }
    return Power(a, e);
  }
  Bunsuu b = ParseOperand(bText);
  if (IsError(b)) return BUNSUU_ERROR;
  switch (op) {
    case '+': return Add(a, b);
    case '-': return Subtract(a, b);
    case '*': return Multiply(a, b);
    case '/':
      if (b.sign == 0) {
        DivisionByZero();
        return BUNSUU_ERROR;
      }
      return Divide(a, b);
    default: return BUNSUU_ERROR;
  }
}

enum class Flat { Ok, NoOperator, Failed };

// Evaluates t in place, one operation at a time: "^" first, then the leftmost "*" or "/", then the
// leftmost "+" or "-". Each operation is replaced by its result, so every round removes an operator
// and the loop ends.
Flat FlatEvaluate(std::string& t) {
  if (FirstOperator(t).kind == -1 || !Balanced(t)) return Flat::NoOperator;
  bool any = false;
  while (true) {
    size_t at = FindOperator(t, '^');
    if (at == std::string::npos) at = std::min(FindOperator(t, '*'), FindOperator(t, '/'));
    if (at == std::string::npos) at = std::min(FindOperator(t, '+'), FindOperator(t, '-'));
    if (at == std::string::npos) break;

    size_t start = at;
    while (start > 0 && !IsOperandEnd(t[start - 1])) --start;
    if (start > 0 && IsSignAt(t, start - 1)) --start;
    size_t end = at + 1;
    if (end < t.size() && (t[end] == '+' || t[end] == '-')) ++end;
    while (end < t.size() && !IsOperandEnd(t[end])) ++end;

    std::string_view whole(t);
    Bunsuu r = Operate(whole.substr(start, at - start), t[at], whole.substr(at + 1, end - at - 1));
    if (IsError(r)) return Flat::Failed;
    LastResult = r;
    LastResultText = FormatBunsuu(r, 1);
    t.replace(start, end - start, LastResultText);
    any = true;
  }
  // Whatever is left must be the last result alone: a leftover "!", ":" or unknown is no answer.
  if (!any || t != LastResultText) return Flat::Failed;
  return Flat::Ok;
}

Bunsuu ParseSingle(const std::string& t) { return ParseOperand(t); }

}  // namespace

Bunsuu SingleOperation(const std::string& text) {
  OperatorFound f = FirstOperator(text);
  if (f.kind < 1 || f.kind > 5) return BUNSUU_ERROR;
  size_t at = static_cast<size_t>(f.pos - 1);
  size_t eq = text.find('=', at + 1);
  std::string_view all(text);
  std::string_view b = all.substr(at + 1, eq == std::string::npos ? std::string_view::npos : eq - at - 1);
  return Operate(all.substr(0, at), text[at], b);
}

Bunsuu EvaluateFlat(const std::string& text) {
  std::string t = text;
  if (FlatEvaluate(t) != Flat::Ok) return BUNSUU_ERROR;
  return LastResult;
}

Bunsuu EvaluateNested(const std::string& text) {
  // Texts made by the program carry signs after operators (2*m3), so the check allows them.
  const bool relaxed = RelaxedSigns;
  RelaxedSigns = true;
  int refused =
      CheckText(text, {.cutAtEquals = true, .collectText = true, .omitMul = true, .showMessage = true});
  RelaxedSigns = relaxed;
  if (refused != 0) return BUNSUU_ERROR;

  std::string t = CheckedText;
  if (size_t eq = t.find('='); eq != std::string::npos) t.resize(eq);
  if (CountChar(t, '(') != CountChar(t, ')')) return BUNSUU_ERROR;
  if (FirstOperator(t).kind == -1) return ParseSingle(t);

  // The innermost group with an operator becomes its value; a group without one loses its
  // parentheses. A negative value comes back as (m…), which the next round unwraps, so the number of
  // parentheses falls at least every second round.
  while (true) {
    size_t close = t.find(')');
    if (close == std::string::npos || close == 0) break;
    if (FirstOperator(t).kind == -1) break;
    size_t open = t.rfind('(', close - 1);
    if (open == std::string::npos) break;
    std::string inner = t.substr(open + 1, close - open - 1);
    if (FirstOperator(inner).kind != -1) {
      if (FlatEvaluate(inner) != Flat::Ok) return BUNSUU_ERROR;
      t.replace(open, close - open + 1, LastResultText);
    } else {
      t.replace(open, close - open + 1, inner);
    }
  }

  switch (FlatEvaluate(t)) {
    case Flat::Ok: return LastResult;
    case Flat::NoOperator: return ParseSingle(t);
    case Flat::Failed: break;
  }
  ShowMessage("ｴﾗｰ::ｵｰﾊﾞｰﾌﾛｰ等", "報告！");
  return BUNSUU_ERROR;
}
