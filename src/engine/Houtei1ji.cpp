// The first-degree solver: a proportion is cross-multiplied, the relation split, each side normalised
// into a sum of numbers and numbers times x, the x terms gathered on the left, and the coefficient sums
// and their quotient computed by the evaluator.
#include "engine/Houtei1ji.h"

#include <optional>
#include <vector>

#include "engine/BunMath.h"
#include "engine/Bunio.h"
#include "engine/Bunsuuh.h"
#include "engine/Characters.h"
#include "engine/Settings.h"

Houtei1jiState Houtei1jiData;

const std::array<std::string, 5> RelationSymbols = {"=", "<", "<=", ">", ">="};

std::string RelationSymbol(int kind) {
  if (kind < 0 || kind >= static_cast<int>(RelationSymbols.size())) return "";
  return RelationSymbols[static_cast<size_t>(kind)];
}

void Houtei1jiState::Reset() { *this = Houtei1jiState{}; }

void ResetHoutei1ji() { Houtei1jiData.Reset(); }

namespace {

const char* const MSG_SEVERAL_EQUALS = "式形が不正( ＝ が複数ある)！";
const char* const MSG_BAD_PROPORTION = "比例式として不正な形です！";
const char* const MSG_NO_RELATION = "等号も不等号がない。うえーん！";
const char* const MSG_NO_RIGHT_SIDE = "右辺がない。うえーん！";
const char* const MSG_BRACKET = "式分数のエラー";
const char* const MSG_X_IN_BRACKET_DEN = "分母に ｘ がある式は､対象外です。";
const char* const MSG_BRACKET_DEN_ZERO = "式分数のエラー：分母＝０";
const char* const MSG_CANNOT_HANDLE = "扱えない式です。";
const char* const MSG_POWER_OF_X = "ｘの一次式しか計算できません。\n\n(ｘの１乗の表記も不可。)";
const char* const MSG_X_IN_DENOMINATOR = "分母にｘのある式は扱えません。";
const char* const MSG_X_TIMES_X = "ｘの一次式しか計算できません。\n\nめんご！";

const std::string FAIL = "n";

bool IsUnknown(char c) { return c == 'x' || c == 'y' || c == 'z'; }
// Characters that continue one number (or one n P r, n C r) of the notation.
bool IsAtomChar(char c) {
  return IsDigit(c) || c == '.' || c == '@' || c == 'b' || c == 'k' || c == 'u' || c == 'P' || c == 'C';
}
bool Holds(const std::string& text, const char* what) { return text.find(what) != std::string::npos; }
bool HoldsAnyOf(const std::string& text, const char* set) {
  return text.find_first_of(set) != std::string::npos;
}

std::string Fail(const char* message) {
  SolverMessage = message;
  return FAIL;
}

// The value of a text computed by the evaluator in mixed form, or "n" (the evaluator has shown why).
std::string Evaluate(const std::string& text) {
  std::string r = EvaluateExpression(text);
  return EvalStatus < 0 ? FAIL : r;
}

// Whether a number text stands for zero ("0", "0.0", "0b3" …); an unreadable text is not zero.
bool IsZeroText(const std::string& text) {
  Bunsuu v = ParseNumber(text);
  return !IsError(v) && v.sign == 0;
}
int SignOfNumberText(const std::string& text) {
  Bunsuu v = ParseNumber(text);
  return IsError(v) ? 0 : v.sign;
}

// ---------------------------------------------------------------------------------------------------
// Sides as sums of terms. A term is sign × factor, times x when it has one; the factor is an expression
// text without x that the evaluator can compute ("" stands for 1).

struct Term {
  int sign = 1;
  std::string factor;
  bool x = false;
};
using Terms = std::vector<Term>;

// A single number without a sign, or a text enclosed in one pair of parentheses: usable as an operand
// as it stands.
bool IsPlainOperand(const std::string& t) {
  if (t.empty()) return false;
  bool number = true;
  for (char c : t)
    if (!IsAtomChar(c)) number = false;
  if (number) return true;
  if (t.front() != '(' || t.back() != ')') return false;
  int depth = 0;
  for (size_t i = 0; i < t.size(); ++i) {
    if (t[i] == '(') ++depth;
    if (t[i] == ')' && --depth == 0 && i + 1 != t.size()) return false;
  }
  return true;
}
std::string Operand(const std::string& t) { return IsPlainOperand(t) ? t : "(" + t + ")"; }

// Whether a text is a sum: a "+" or "-" outside parentheses, after its first character.
bool HasTopLevelSum(const std::string& t) {
  int depth = 0;
  for (size_t i = 0; i < t.size(); ++i) {
    char c = t[i];
    if (c == '(') ++depth;
    if (c == ')') --depth;
    if (depth == 0 && i > 0 && (c == '+' || c == '-')) return true;
  }
  return false;
}

bool StartsWithSign(const std::string& t) {
  return !t.empty() && (t[0] == 'm' || t[0] == 'p' || t[0] == '-' || t[0] == '+');
}

std::string JoinProduct(const std::string& a, const std::string& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  // A product (no sum) may follow "*" unparenthesised: multiplication and division of exact values
  // associate freely.
  return a + "*" + (HasTopLevelSum(b) || StartsWithSign(b) ? "(" + b + ")" : b);
}

// A signed number directly after one of + - * / is put in parentheses: 3*m2 becomes 3*(m2).
std::string SignedNumbersInParentheses(const std::string& t) {
  std::string out;
  for (size_t i = 0; i < t.size(); ++i) {
    char c = t[i];
    bool afterOperator = i > 0 && (t[i - 1] == '+' || t[i - 1] == '-' || t[i - 1] == '*' || t[i - 1] == '/');
    if ((c == 'm' || c == 'p') && afterOperator && i + 1 < t.size() &&
        (IsDigit(t[i + 1]) || t[i + 1] == '.')) {
      size_t j = i + 1;
      while (j < t.size() && IsAtomChar(t[j]) && t[j] != 'P' && t[j] != 'C') ++j;
      if (j < t.size() && (t[j] == '^' || t[j] == 'P' || t[j] == 'C' || t[j] == '!')) {
        out += c;  // the sign of a power's base (or of n P r) stays where it is
        continue;
      }
      out += "(" + t.substr(i, j - i) + ")";
      i = j - 1;
      continue;
    }
    out += c;
  }
  return out;
}

// A signed number standing as the whole factor ("m3", "(m3)", "p2b1") gives its sign to the term.
void FoldSign(Term& t) {
  std::string f = t.factor;
  if (f.size() > 2 && f.front() == '(' && f.back() == ')' && (f[1] == 'm' || f[1] == 'p'))
    f = f.substr(1, f.size() - 2);
  if (f.size() < 2 || (f[0] != 'm' && f[0] != 'p')) return;
  for (size_t i = 1; i < f.size(); ++i)
    if (!IsAtomChar(f[i]) || f[i] == 'P' || f[i] == 'C') return;
  if (f[0] == 'm') t.sign = -t.sign;
  t.factor = f.substr(1);
}

std::string WriteTerms(const Terms& terms, bool fold) {
  std::string out;
  for (size_t i = 0; i < terms.size(); ++i) {
    Term t = terms[i];
    if (fold) FoldSign(t);
    if (i == 0)
      out += t.sign < 0 ? "m" : "";
    else
      out += t.sign < 0 ? "-" : "+";
    std::string f = t.factor.empty() ? "1" : t.factor;
    // A factor that starts with a sign stands in parentheses, so that no two signs meet.
    if (f[0] == 'm' || f[0] == 'p' || f[0] == '+' || f[0] == '-') f = "(" + f + ")";
    out += f;
    if (t.x) out += "*x";
  }
  return out;
}

// Reads a side into its terms, multiplying out every group that holds x. The parser follows the
// notation's precedence: "^" (with "!" after its operand) before "*" "/", before "+" "-"; a sign is part
// of its operand; a product written without "*" counts as one.
class SideParser {
 public:
  explicit SideParser(const std::string& text) : s_(text) {}

  // The terms, or false after setting SolverMessage.
  bool Parse(Terms& terms) {
    Form f;
    if (!ParseSum(f)) return false;
    if (pos_ != s_.size()) return Error(MSG_CANNOT_HANDLE);
    terms = TermsOf(f);
    return true;
  }

 private:
  // A sub-expression: without x it is kept as the text it was written as, so that the evaluator gives
  // it exactly its meaning in the notation; with x it is a sum of terms.
  struct Form {
    bool x = false;
    size_t begin = 0, end = 0;
    Terms terms;
  };

  bool Error(const char* message) {
    SolverMessage = message;
    return false;
  }
  std::string Text(const Form& f) const { return s_.substr(f.begin, f.end - f.begin); }
  Terms TermsOf(const Form& f) const {
    if (f.x) return f.terms;
    if (f.begin == f.end) return {};
    std::string t = SignedNumbersInParentheses(Text(f));
    return {Term{1, HasTopLevelSum(t) ? "(" + t + ")" : t, false}};
  }
  char Peek() const { return pos_ < s_.size() ? s_[pos_] : '\0'; }

  bool ParseSum(Form& out) {
    size_t begin = pos_;
    Form left;
    if (!ParseProduct(left)) return false;
    while (Peek() == '+' || Peek() == '-') {
      char op = s_[pos_++];
      Form right;
      if (!ParseProduct(right)) return false;
      if (!left.x && !right.x) {
        left.end = right.end;
        continue;
      }
      Terms t = TermsOf(left), r = TermsOf(right);
      for (Term& term : r) {
        if (op == '-') term.sign = -term.sign;
        t.push_back(term);
      }
      left.x = true;
      left.terms = std::move(t);
      left.end = right.end;
    }
    left.begin = begin;
    out = std::move(left);
    return true;
  }

  static bool StartsOperand(char c) { return IsAtomChar(c) || IsUnknown(c) || c == '('; }

  bool ParseProduct(Form& out) {
    size_t begin = pos_;
    Form left;
    if (!ParseUnary(left)) return false;
    for (;;) {
      char op = Peek();
      if (op == '*' || op == '/') {
        ++pos_;
      } else if (StartsOperand(op) && pos_ > begin) {
        op = '*';  // a product written without its sign
      } else {
        break;
      }
      Form right;
      if (!ParseUnary(right)) return false;
      if (op == '/' && right.x) return Error(MSG_X_IN_DENOMINATOR);
      if (left.x && right.x) return Error(MSG_X_TIMES_X);
      if (!left.x && !right.x) {
        left.end = right.end;
        continue;
      }
      Terms t;
      if (op == '/') {
        std::string d = Operand(Text(right));
        for (Term term : left.terms) {
          term.factor = (term.factor.empty() ? "1" : term.factor) + "/" + d;
          t.push_back(term);
        }
      } else {
        for (const Term& a : TermsOf(left))
          for (const Term& b : TermsOf(right))
            t.push_back({a.sign * b.sign, JoinProduct(a.factor, b.factor), a.x || b.x});
      }
      left.x = true;
      left.terms = std::move(t);
      left.end = right.end;
    }
    left.begin = begin;
    out = std::move(left);
    return true;
  }

  // A sign belongs to what follows it; before a number it is part of the number (m2^2 is 4).
  bool ParseUnary(Form& out) {
    size_t begin = pos_;
    char c = Peek();
    if (c == 'm' || c == 'p' || c == '+' || c == '-') {
      ++pos_;
      if (pos_ < s_.size() && (IsDigit(Peek()) || Peek() == '.')) {
        if (!ParsePower(out)) return false;
        out.begin = begin;
        return true;  // a signed number: never holds x
      }
      Form f;
      if (!ParseUnary(f)) return false;
      if (f.x && (c == 'm' || c == '-'))
        for (Term& t : f.terms) t.sign = -t.sign;
      f.begin = begin;
      out = std::move(f);
      return true;
    }
    return ParsePower(out);
  }

  bool ParsePower(Form& out) {
    size_t begin = pos_;
    Form base;
    if (!ParsePostfix(base)) return false;
    while (Peek() == '^') {
      ++pos_;
      Form exponent;
      // The exponent is a signed integer: its sign belongs to it.
      size_t expBegin = pos_;
      if (Peek() == 'm' || Peek() == 'p' || Peek() == '+' || Peek() == '-') ++pos_;
      if (!ParsePostfix(exponent)) return false;
      exponent.begin = expBegin;
      if (exponent.x) return Error(MSG_CANNOT_HANDLE);
      if (base.x) return Error(MSG_POWER_OF_X);
      base.end = exponent.end;
    }
    base.begin = begin;
    out = std::move(base);
    return true;
  }

  bool ParsePostfix(Form& out) {
    if (!ParsePrimary(out)) return false;
    while (Peek() == '!') {
      if (out.x) return Error(MSG_CANNOT_HANDLE);
      ++pos_;
      out.end = pos_;
    }
    return true;
  }

  bool ParsePrimary(Form& out) {
    size_t begin = pos_;
    char c = Peek();
    if (c == 'x') {
      ++pos_;
      out = Form{true, begin, pos_, {Term{1, "", true}}};
      return true;
    }
    if (IsAtomChar(c)) {
      while (pos_ < s_.size() && IsAtomChar(s_[pos_])) ++pos_;
      out = Form{false, begin, pos_, {}};
      return true;
    }
    if (c == '(') {
      ++pos_;
      Form inner;
      if (!ParseSum(inner)) return false;
      if (Peek() != ')') return Error(MSG_CANNOT_HANDLE);
      ++pos_;
      inner.begin = begin;
      inner.end = pos_;
      out = std::move(inner);
      return true;
    }
    // y, z and anything outside the notation cannot be solved for x.
    return Error(MSG_CANNOT_HANDLE);
  }

  const std::string& s_;
  size_t pos_ = 0;
};

bool ReadTerms(const std::string& side, Terms& terms) {
  if (side.empty()) {
    terms.clear();
    return true;
  }
  if (!SideParser(side).Parse(terms)) return false;
  for (Term& t : terms) FoldSign(t);
  return true;
}

// Whether the x at position at stands in a denominator. Scanning left over its operand (digits,
// letters, signs and whole groups belong to it), a "/" means it does; "*", "+", "-" or the start end
// the operand; a "(" that opens a group around the x makes the whole group the operand, so the scan
// goes on to the left of that group.
bool XInDenominator(const std::string& s, size_t at) {
  size_t j = at;
  while (j > 0) {
    char c = s[j - 1];
    if (c == ')') {
      int depth = 0;  // pass over a whole group
      while (j > 0) {
        char d = s[j - 1];
        if (d == ')') ++depth;
        if (d == '(' && --depth == 0) break;
        --j;
      }
      if (j == 0) return false;
      --j;
      continue;
    }
    if (c == '/') return true;
    if (c == '*' || c == '+' || c == '-' || c == '=' || c == '(') {
      if (c != '(') {
        // The operand ends here; if it lies inside a group, the group is the operand of what stands
        // before it.
        int depth = 0;
        while (j > 0) {
          char d = s[j - 1];
          if (d == ')') ++depth;
          if (d == '(') {
            if (depth == 0) break;
            --depth;
          }
          --j;
        }
        if (j == 0) return false;
      }
      --j;  // step over the "(" of the enclosing group
      continue;
    }
    --j;
  }
  return false;
}

bool IsOperandEnd(char c) { return IsDigit(c) || c == ')' || IsUnknown(c) || c == '!' || c == '.'; }

// A bracket [sign whole K den B num] that holds x, written as an ordinary group.
std::string BracketAsGroup(const BunsuuH& h, const std::string& den, bool needsGroup) {
  std::string d = (den[0] == 'm' || den[0] == 'p') ? "(" + den + ")" : den;
  std::string value = "(" + h.num + ")/" + d;
  bool negative = h.sign == "-1" || h.sign == "m";
  if (h.whole != "0") value = h.whole + "+" + value;
  if (negative) return "m1*(" + value + ")";
  if (h.whole != "0" || needsGroup) return "(" + value + ")";
  return value;
}

}  // namespace

// ---------------------------------------------------------------------------------------------------
// The stages that normalise one side.

std::string ExpandBracketFractions(const std::string& side) {
  std::string s = side;
  if (!Holds(s, "]") && !Holds(s, "[")) return s;
  if (Holds(s, "]")) {
    s = ReplaceExpressionFractions(s);
    if (s == FAIL) {
      // A "]" without its "[" is this stage's own finding; other failures were shown by the evaluator.
      if (BunsuuhError == 10) SolverMessage = MSG_BRACKET;
      return FAIL;
    }
  }
  // What is left are brackets that hold x (or y, z).
  for (;;) {
    size_t close = s.find(']');
    size_t open = s.find('[');
    if (close == std::string::npos) {
      if (open != std::string::npos) return Fail(MSG_BRACKET);
      break;
    }
    if (open == std::string::npos || open > close) return Fail(MSG_BRACKET);
    open = s.rfind('[', close);
    BunsuuH h = ParseBunsuuh(s.substr(open, close - open + 1));
    if (h == BUNSUUH_EMPTY) return Fail(MSG_BRACKET);
    if (Holds(h.den, "x")) return Fail(MSG_X_IN_BRACKET_DEN);
    std::string den = h.den;
    if (FirstOperator(den).kind >= 1 && FirstOperator(den).kind <= 5) {
      den = Evaluate(den);
      if (den == FAIL) return FAIL;
    }
    if (den == "0" || IsZeroText(den)) return Fail(MSG_BRACKET_DEN_ZERO);
    char after = close + 1 < s.size() ? s[close + 1] : '\0';
    bool needsGroup = after == '^' || after == '!' || IsDigit(after) || IsUnknown(after) || after == '(';
    s = s.substr(0, open) + BracketAsGroup(h, den, needsGroup) + s.substr(close + 1);
  }
  return s;
}

std::string MakeCoefficientsExplicit(const std::string& side) {
  std::string s = side;
  if (Holds(s, "^x")) return Fail(MSG_CANNOT_HANDLE);
  if (Holds(s, "x^")) return Fail(MSG_POWER_OF_X);
  // The denominator test runs on the text as written, so that 2/mx (two over minus x) is caught.
  for (size_t i = 0; i < s.size(); ++i)
    if (s[i] == 'x' && XInDenominator(s, i)) return Fail(MSG_X_IN_DENOMINATOR);
  // Every unknown gets an explicit coefficient, every omitted multiplication its "*".
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    char prev = out.empty() ? '\0' : out.back();
    if (IsUnknown(c)) {
      if (IsOperandEnd(prev))
        out += '*';
      else if (prev != '*' && prev != '/')
        out += "1*";  // at the start, after a sign, an operator, "(" or a fraction mark
    } else if (c == '(') {
      if (IsOperandEnd(prev))
        out += '*';
      else if (prev == 'm' || prev == 'p' || prev == '+' || prev == '-')
        out += "1*";
    } else if (IsDigit(c) && (prev == ')' || IsUnknown(prev))) {
      out += '*';
    }
    out += c;
  }
  return out;
}

std::string OpenParentheses(const std::string& side) {
  Terms terms;
  if (!ReadTerms(side, terms)) return FAIL;
  return WriteTerms(terms, false);
}

std::string ShapeTerms(const std::string& side) {
  Terms terms;
  if (!ReadTerms(side, terms)) return FAIL;
  return WriteTerms(terms, true);
}

std::string EvaluateCoefficients(const std::string& side) {
  Terms terms;
  if (!ReadTerms(side, terms)) return FAIL;
  for (Term& t : terms) {
    // A number under signs and parentheses only, m(m3) say, gives its signs to the term.
    std::string f = t.factor;
    int sign = 1;
    for (;;) {
      std::string inner = StripParentheses(f, 1);
      if (inner != f) {
        f = inner;
      } else if (!f.empty() && (f[0] == 'm' || f[0] == 'p' || f[0] == '+' || f[0] == '-')) {
        if (f[0] == 'm' || f[0] == '-') sign = -sign;
        f.erase(0, 1);
      } else {
        break;
      }
    }
    bool plain = f.empty() || f.find_first_not_of("0123456789.@bku") == std::string::npos;
    if (plain) {
      t.sign *= sign;
      t.factor = f;
      continue;
    }
    // Anything else is computed as written: the sign of m2^2 belongs to the base.
    std::string v = Evaluate(t.factor);
    if (v == FAIL) return FAIL;
    t.factor = v;
    FoldSign(t);
  }
  return WriteTerms(terms, true);
}

std::string NormaliseSide(const std::string& side) {
  std::string s = side;
  for (auto stage : {ExpandBracketFractions, MakeCoefficientsExplicit, OpenParentheses, ShapeTerms,
                     EvaluateCoefficients, ShapeTerms}) {
    s = stage(s);
    if (s == FAIL) return FAIL;
  }
  return s;
}

// ---------------------------------------------------------------------------------------------------

namespace {

// a:b=c:d as a product equation with the x term first; "" when the text is not a proportion.
std::string Proportion(const std::string& text) {
  size_t eq = text.find('=');
  if (eq == std::string::npos) return "";
  std::string left = text.substr(0, eq), right = text.substr(eq + 1);
  size_t l = left.find(':'), r = right.find(':');
  if (l == std::string::npos || r == std::string::npos || left.find(':', l + 1) != std::string::npos ||
      right.find(':', r + 1) != std::string::npos)
    return "";
  std::string parts[4] = {left.substr(0, l), left.substr(l + 1), right.substr(0, r), right.substr(r + 1)};
  for (std::string& p : parts) {
    if (p.empty()) return "";
    p = StripParentheses(p, 1);
    if (p.empty()) return "";
    if (FirstOperator(p).kind >= 0) p = "(" + p + ")";
  }
  const std::string &a = parts[0], &b = parts[1], &c = parts[2], &d = parts[3];
  if (Holds(a, "x") || Holds(d, "x")) return a + "*" + d + "=" + b + "*" + c;
  return b + "*" + c + "=" + a + "*" + d;
}

// The coefficients of a list of terms joined with their signs, computed when there is more than one.
std::string SumOfFactors(const Terms& terms) {
  if (terms.empty()) return "0";
  std::string sum;
  for (size_t i = 0; i < terms.size(); ++i) {
    const Term& t = terms[i];
    std::string f = t.factor.empty() ? "1" : t.factor;
    if (i == 0)
      sum += t.sign < 0 ? "m" : "";
    else
      sum += t.sign < 0 ? "-" : "+";
    sum += (f[0] == 'm' || f[0] == 'p') ? "(" + f + ")" : f;
  }
  if (FirstOperator(sum).kind >= 0) return Evaluate(sum);
  return sum;
}

// Whether "0 relation b" holds, b being a number text.
bool ZeroSatisfies(Relation relation, const std::string& b) {
  int s = SignOfNumberText(b);
  switch (relation) {
    case Relation::Less: return 0 < s;
    case Relation::LessOrEqual: return 0 <= s;
    case Relation::Greater: return 0 > s;
    case Relation::GreaterOrEqual: return 0 >= s;
    case Relation::Equal: break;
  }
  return s == 0;
}

// The relation after both sides were divided by a negative number: an inequality turns round.
Relation Reversed(Relation relation) {
  switch (relation) {
    case Relation::Less: return Relation::Greater;
    case Relation::LessOrEqual: return Relation::GreaterOrEqual;
    case Relation::Greater: return Relation::Less;
    case Relation::GreaterOrEqual: return Relation::LessOrEqual;
    case Relation::Equal: break;
  }
  return Relation::Equal;
}

}  // namespace

std::string SolveLinear(const std::string& input, int echo) {
  // A message from an earlier call must not be shown for this one (an evaluator failure sets none).
  SolverMessage.clear();
  std::string text = input;
  if (CountOccurrences(text, "=") >= 2) return Fail(MSG_SEVERAL_EQUALS);
  if (Holds(text, ":")) {
    text = Proportion(text);
    if (text.empty()) return Fail(MSG_BAD_PROPORTION);
  }

  // The two-character symbols are looked for first, so "<=" is not read as "<".
  static const struct {
    const char* symbol;
    Relation relation;
  } RELATIONS[] = {{"<=", Relation::LessOrEqual},
                   {">=", Relation::GreaterOrEqual},
                   {"<", Relation::Less},
                   {">", Relation::Greater},
                   {"=", Relation::Equal}};
  std::optional<Relation> found;
  size_t at = 0, width = 0;
  for (const auto& r : RELATIONS) {
    at = text.find(r.symbol);
    if (at != std::string::npos) {
      found = r.relation;
      width = std::char_traits<char>::length(r.symbol);
      break;
    }
  }
  if (!found) return Fail(MSG_NO_RELATION);
  Relation relation = *found;
  SolverLeft = text.substr(0, at);
  SolverRight = text.substr(at + width);
  if (SolverRight.empty()) return Fail(MSG_NO_RIGHT_SIDE);
  // A second relation in either side is no first-degree relation.
  if (HoldsAnyOf(SolverLeft, "<>=") || HoldsAnyOf(SolverRight, "<>=")) return Fail(MSG_CANNOT_HANDLE);

  // Normalise both sides stage by stage, the left first each time.
  for (auto stage : {ExpandBracketFractions, MakeCoefficientsExplicit, OpenParentheses, ShapeTerms,
                     EvaluateCoefficients, ShapeTerms}) {
    SolverLeft = stage(SolverLeft);
    if (SolverLeft == FAIL) return FAIL;
    SolverRight = stage(SolverRight);
    if (SolverRight == FAIL) return FAIL;
  }

  // Transpose: x terms to the left, numbers to the right, each term that crosses changing its sign.
  Terms left, right, xs, numbers;
  if (!ReadTerms(SolverLeft, left) || !ReadTerms(SolverRight, right)) return FAIL;
  for (const Term& t : left) (t.x ? xs : numbers).push_back(t.x ? t : Term{-t.sign, t.factor, false});
  for (const Term& t : right) (t.x ? xs : numbers).push_back(t.x ? Term{-t.sign, t.factor, true} : t);
  SolverLeft = xs.empty() ? "0" : ShapeTerms(WriteTerms(xs, true));
  SolverRight = numbers.empty() ? "0" : ShapeTerms(WriteTerms(numbers, true));
  if (SolverLeft == FAIL || SolverRight == FAIL) return FAIL;

  // The coefficient of x and the number on the right.
  std::string a = SumOfFactors(xs);
  if (a == FAIL) return FAIL;
  std::string b = SumOfFactors(numbers);
  if (b == FAIL) return FAIL;
  SolverLeft = a + "*x";
  SolverRight = b;

  std::string value;
  if (IsZeroText(a)) {
    // 0 relation b: true for every x, or for none. For an inequality that depends on the relation too.
    value = ZeroSatisfies(relation, b) ? "(不定)" : "(不能)";
  } else {
    value = Evaluate(b + "/(" + a + ")");
    if (value == FAIL) return FAIL;
    if (Holds(value, "k") && ANSSYU != 0) value = AnswerImproperText;
    // Dividing by a negative coefficient turns an inequality round.
    if (SignOfNumberText(a) < 0) relation = Reversed(relation);
  }
  RelationKind = RelationNumber(relation);
  SolutionText = "x" + RelationSymbol(RelationKind) + value;
  return echo == 1 ? input + "&" + SolutionText : value;
}
