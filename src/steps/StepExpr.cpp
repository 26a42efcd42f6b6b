// Reads a checked piece of working into a tree and computes the exact value of every node.
#include "steps/StepExpr.h"

#include <cstdlib>

#include "engine/BunMath.h"
#include "engine/Bunio.h"

namespace steps {

namespace {

bool Digit(char c) { return c >= '0' && c <= '9'; }

class Reader {
 public:
  Reader(const std::string& text, Piece& piece) : s_(text), p_(piece) {}

  int Run() {
    int root = Sum();
    if (root >= 0 && i_ < s_.size()) return Fail(i_, "ここから先が読めません。");
    return root;
  }

 private:
  char Peek() const { return i_ < s_.size() ? s_[i_] : '\0'; }

  int Fail(size_t pos, const char* reason) {
    if (p_.badPosition == 0) {
      p_.badPosition = static_cast<int>(pos) + 1;
      p_.badReason = reason;
    }
    return -1;
  }

  int Make(NodeKind kind, int a, int b, size_t begin) {
    Node n;
    n.kind = kind;
    n.a = a;
    n.b = b;
    n.begin = static_cast<int>(begin);
    n.end = static_cast<int>(i_);
    p_.nodes.push_back(n);
    return static_cast<int>(p_.nodes.size()) - 1;
  }

  // A sum: terms joined by "+" and "-"; it stops before ")", "]", "B" or the end.
  int Sum() {
    size_t begin = i_;
    int left = Term();
    while (left >= 0 && (Peek() == '+' || Peek() == '-')) {
      char op = s_[i_++];
      int right = Term();
      if (right < 0) return -1;
      left = Make(op == '+' ? NodeKind::Add : NodeKind::Sub, left, right, begin);
    }
    return left;
  }

  // A term: factors joined by "*", "/" or written side by side (an omitted multiplication sign).
  int Term() {
    size_t begin = i_;
    int left = Signed();
    while (left >= 0) {
      char c = Peek();
      char prevEnd = i_ > 0 ? s_[i_ - 1] : '\0';
      bool implied =
          c == '(' || c == '[' || (Digit(c) && (prevEnd == ')' || prevEnd == ']' || prevEnd == '!'));
      if (c != '*' && c != '/' && !implied) break;
      if (!implied) ++i_;
      int right = Signed();
      if (right < 0) return -1;
      left = Make(c == '/' ? NodeKind::Div : NodeKind::Mul, left, right, begin);
    }
    return left;
  }

  // A factor with its signs: a sign before a number belongs to the number (m2^2 is 4); a sign before a
  // group is the negative of the group with its power.
  int Signed() {
    size_t begin = i_;
    char c = Peek();
    if (c == 'm' || c == 'p') {
      ++i_;
      if (Digit(Peek()) || Peek() == '.') {
        int n = Postfix(Number());
        if (n < 0) return -1;
        if (c == 'm') n = Make(NodeKind::Neg, n, -1, begin);
        return Powers(n, begin);
      }
      int inner = Signed();
      if (inner < 0) return -1;
      return c == 'm' ? Make(NodeKind::Neg, inner, -1, begin) : inner;
    }
    int base = Postfix(Primary());
    if (base < 0) return -1;
    return Powers(base, begin);
  }

  int Powers(int base, size_t begin) {
    while (base >= 0 && Peek() == '^') {
      size_t at = i_++;
      std::string e;
      if (Peek() == 'm' || Peek() == 'p') e += s_[i_++] == 'm' ? '-' : '+';
      while (Digit(Peek())) e += s_[i_++];
      if (e.empty() || e == "-" || e == "+") return Fail(at, "累乗の指数が読めません。");
      long long v = std::strtoll(e.c_str(), nullptr, 10);
      if (e.size() > 11 || v > 2147483647LL || v < -2147483647LL)
        return Fail(at, "累乗の指数が大きすぎます。");
      base = Make(NodeKind::Pow, base, -1, begin);
      p_.nodes[base].exponent = static_cast<int32_t>(v);
    }
    return base;
  }

  int Postfix(int base) {
    if (base < 0) return -1;
    int begin = p_.nodes[base].begin;
    while (Peek() == '!') {
      ++i_;
      base = Make(NodeKind::Fact, base, -1, static_cast<size_t>(begin));
    }
    return base;
  }

  int Primary() {
    size_t begin = i_;
    char c = Peek();
    if (c == '(') {
      ++i_;
      int inner = Sum();
      if (inner < 0) return -1;
      if (Peek() != ')') return Fail(i_, "かっこが閉じていません。");
      ++i_;
      return Make(NodeKind::Group, inner, -1, begin);
    }
    if (c == '[') return ExpressionFraction();
    if (Digit(c) || c == '.') {
      int n = Number();
      if (n >= 0 && (Peek() == 'P' || Peek() == 'C')) {
        char letter = s_[i_++];
        int r = Number();
        if (r < 0) return -1;
        return Make(letter == 'P' ? NodeKind::Perm : NodeKind::Comb, n, r, begin);
      }
      return n;
    }
    if (c == '\0') return Fail(i_, "式がとちゅうで終わっています。");
    if (c == 'x' || c == 'y' || c == 'z' || c == 'X' || c == 'Y' || c == 'Z')
      return Fail(i_, "x, y, z の入った式は、値がわからないので調べられません。");
    return Fail(i_, "ここに書けない文字があります。");
  }

  // [ sign whole K den B num ]: sign × (whole + num ÷ den).
  int ExpressionFraction() {
    size_t begin = i_++;
    int sign = 1;
    if (Peek() == 'm' || Peek() == 'p') sign = s_[i_++] == 'm' ? -1 : 1;
    int64_t whole = 0;
    size_t j = i_;
    while (j < s_.size() && Digit(s_[j])) ++j;
    if (j < s_.size() && s_[j] == 'K') {
      if (j > i_) {
        std::string digits = s_.substr(i_, j - i_);
        // A whole part beyond 64 bits is kept as -1: the value then fails as an overflow.
        whole = FitsInt64Text(digits, 0) ? std::strtoll(digits.c_str(), nullptr, 10) : -1;
      }
      i_ = j + 1;
    } else if (Peek() == 'K') {
      ++i_;
    }
    int den = Sum();
    if (den < 0) return -1;
    if (Peek() != 'B') return Fail(i_, "式分数の分母と分子の区切りがありません。");
    ++i_;
    int num = Sum();
    if (num < 0) return -1;
    if (Peek() != ']') return Fail(i_, "式分数が閉じていません。");
    ++i_;
    int n = Make(NodeKind::ExprFrac, den, num, begin);
    p_.nodes[n].whole = whole;
    p_.nodes[n].sign = sign;
    return n;
  }

  // Integer, decimal (with a repeating part), fraction or mixed number, without sign.
  int Number() {
    size_t begin = i_;
    while (Digit(Peek())) ++i_;
    NumberForm form = NumberForm::Integer;
    if (Peek() == '.') {
      form = NumberForm::Decimal;
      ++i_;
      while (Digit(Peek()) || Peek() == '@') ++i_;
    } else if (Peek() == 'k' || Peek() == 'b') {
      form = Peek() == 'k' ? NumberForm::Mixed : NumberForm::Fraction;
      ++i_;
      while (Digit(Peek())) ++i_;
      if (form == NumberForm::Mixed) {
        if (Peek() != 'b') return Fail(i_, "帯分数の書き方がちがいます。");
        ++i_;
        while (Digit(Peek())) ++i_;
      }
    }
    std::string text = s_.substr(begin, i_ - begin);
    if (text.empty()) return Fail(begin, "数がありません。");
    char last = text.back();
    if (!Digit(last)) return Fail(i_, "数がとちゅうで終わっています。");
    int n = Make(NodeKind::Number, -1, -1, begin);
    p_.nodes[n].form = form;
    Bunsuu v = ParseNumber(text);
    p_.nodes[n].value = v;
    if (IsError(v)) {
      // A zero denominator is a fraction that has no value; anything else is too large for 64 bits.
      bool zeroDen = false;
      if (form == NumberForm::Fraction || form == NumberForm::Mixed) {
        size_t from = form == NumberForm::Mixed ? text.find('k') + 1 : 0;
        std::string den = text.substr(from, text.find('b') - from);
        zeroDen = den.find_first_not_of('0') == std::string::npos;
      }
      p_.nodes[n].fail = static_cast<int>(zeroDen ? ValueFailure::DivisionByZero : ValueFailure::Overflow);
    }
    return n;
  }

  const std::string& s_;
  Piece& p_;
  size_t i_ = 0;
};

}  // namespace

std::string Piece::Text(int node) const {
  if (node < 0 || node >= static_cast<int>(nodes.size())) return "";
  const Node& n = nodes[node];
  return text.substr(static_cast<size_t>(n.begin), static_cast<size_t>(n.end - n.begin));
}

Bunsuu Canon(const Bunsuu& v) {
  if (IsError(v)) return BUNSUU_ERROR;
  if (v.sign == 0 || (v.whole == 0 && v.num == 0)) return BUNSUU_ZERO;
  Bunsuu t = ToImproper(v);
  if (IsError(t)) return BUNSUU_ERROR;
  t = Reduce(t);
  if (t.num == 0) return BUNSUU_ZERO;
  return t;
}

Bunsuu Checked(char op, const Bunsuu& a, const Bunsuu& b, ValueFailure* why) {
  auto fail = [&](ValueFailure f) {
    if (why) *why = f;
    return BUNSUU_ERROR;
  };
  if (IsError(a) || IsError(b)) return fail(ValueFailure::Other);
  Bunsuu x = Canon(a);
  Bunsuu y = Canon(b);
  if (IsError(x) || IsError(y)) return fail(ValueFailure::Overflow);
  Bunsuu r = BUNSUU_ERROR;
  switch (op) {
    case '+': r = Add(x, y); break;
    case '-': r = Subtract(x, y); break;
    case '*': r = Multiply(x, y); break;
    case '/':
      if (y.sign == 0) return fail(ValueFailure::DivisionByZero);
      r = Divide(x, y);
      break;
    default: return fail(ValueFailure::Other);
  }
  r = Canon(r);
  if (IsError(r)) return fail(ValueFailure::Overflow);
  return r;
}

namespace {

Bunsuu PowerOf(const Bunsuu& base, int32_t e, ValueFailure& why) {
  Bunsuu x = Canon(base);
  if (IsError(x)) {
    why = ValueFailure::Overflow;
    return BUNSUU_ERROR;
  }
  if (x.sign == 0 && e < 0) {
    why = ValueFailure::DivisionByZero;
    return BUNSUU_ERROR;
  }
  if (e == 0) return BUNSUU_ONE;
  // Repeated multiplication by the checked product keeps every overflow visible; the exponent is
  // bounded by the range of the numbers, so a large one overflows after at most 63 rounds unless the
  // base is 0, 1 or -1.
  if (x.sign == 0) return BUNSUU_ZERO;
  bool unit = x.den == 1 && x.num == 1;
  uint32_t n = e < 0 ? static_cast<uint32_t>(-(static_cast<int64_t>(e))) : static_cast<uint32_t>(e);
  Bunsuu r = BUNSUU_ONE;
  if (unit) {
    r = (x.sign < 0 && (n % 2 == 1)) ? Negate(BUNSUU_ONE) : BUNSUU_ONE;
  } else {
    for (uint32_t k = 0; k < n; ++k) {
      r = Checked('*', r, x, &why);
      if (IsError(r)) return BUNSUU_ERROR;
    }
  }
  if (e < 0) {
    r = Reciprocal(r);
    r = Canon(r);
    if (IsError(r)) why = ValueFailure::Overflow;
  }
  return r;
}

void Compute(Piece& p, int idx) {
  Node& n = p.nodes[static_cast<size_t>(idx)];
  ValueFailure why = ValueFailure::None;
  auto child = [&](int c) -> const Node& { return p.nodes[static_cast<size_t>(c)]; };
  auto inherit = [&](int c) {
    if (IsError(child(c).val)) {
      n.val = BUNSUU_ERROR;
      n.fail = child(c).fail;
      return true;
    }
    return false;
  };
  switch (n.kind) {
    case NodeKind::Number:
      if (IsError(n.value)) {
        n.val = BUNSUU_ERROR;
        if (n.fail == 0) n.fail = static_cast<int>(ValueFailure::Overflow);
        return;
      }
      n.val = Canon(n.value);
      if (IsError(n.val)) n.fail = static_cast<int>(ValueFailure::Overflow);
      return;
    case NodeKind::Neg:
      if (inherit(n.a)) return;
      n.val = Canon(Negate(child(n.a).val));
      return;
    case NodeKind::Group:
      if (inherit(n.a)) return;
      n.val = child(n.a).val;
      return;
    case NodeKind::Add:
    case NodeKind::Sub:
    case NodeKind::Mul:
    case NodeKind::Div: {
      if (inherit(n.a) || inherit(n.b)) return;
      char op = n.kind == NodeKind::Add   ? '+'
                : n.kind == NodeKind::Sub ? '-'
                : n.kind == NodeKind::Mul ? '*'
                                          : '/';
      n.val = Checked(op, child(n.a).val, child(n.b).val, &why);
      break;
    }
    case NodeKind::Pow:
      if (inherit(n.a)) return;
      n.val = PowerOf(child(n.a).val, n.exponent, why);
      break;
    case NodeKind::Fact: {
      if (inherit(n.a)) return;
      const Bunsuu& v = child(n.a).val;
      if (v.den != 1 || v.sign < 0) {
        why = ValueFailure::Other;
        n.val = BUNSUU_ERROR;
        break;
      }
      int64_t f = Factorial64(v.sign == 0 ? 0 : v.num);
      if (f < 0) {
        why = ValueFailure::Overflow;
        n.val = BUNSUU_ERROR;
      } else {
        n.val = Canon(MakeBunsuu(1, 0, 1, f));
      }
      break;
    }
    case NodeKind::Perm:
    case NodeKind::Comb: {
      if (inherit(n.a) || inherit(n.b)) return;
      const Bunsuu& x = child(n.a).val;
      const Bunsuu& y = child(n.b).val;
      int64_t nn = x.sign == 0 ? 0 : x.num;
      int64_t rr = y.sign == 0 ? 0 : y.num;
      int64_t v = n.kind == NodeKind::Perm ? Permutation64(nn, rr) : Combination64(nn, rr);
      if (v < 0) {
        why = nn < rr ? ValueFailure::Other : ValueFailure::Overflow;
        n.val = BUNSUU_ERROR;
      } else {
        n.val = Canon(MakeBunsuu(1, 0, 1, v));
      }
      break;
    }
    case NodeKind::ExprFrac: {
      if (inherit(n.a) || inherit(n.b)) return;
      if (n.whole < 0) {
        n.val = BUNSUU_ERROR;
        n.fail = static_cast<int>(ValueFailure::Overflow);
        return;
      }
      Bunsuu q = Checked('/', child(n.b).val, child(n.a).val, &why);
      if (!IsError(q)) q = Checked('+', MakeBunsuu(n.whole > 0 ? 1 : 0, 0, 1, n.whole), q, &why);
      if (!IsError(q) && n.sign < 0) q = Canon(Negate(q));
      n.val = q;
      break;
    }
  }
  if (IsError(n.val)) n.fail = static_cast<int>(why == ValueFailure::None ? ValueFailure::Overflow : why);
}

}  // namespace

Piece ReadPiece(const std::string& normalized) {
  Piece p;
  p.text = normalized;
  Reader r(p.text, p);
  p.root = r.Run();
  if (!p.Readable()) {
    if (p.badPosition == 0) {
      p.badPosition = 1;
      p.badReason = "式が読めません。";
    }
    return p;
  }
  for (int i = 0; i < static_cast<int>(p.nodes.size()); ++i) Compute(p, i);
  const Node& root = p.nodes[static_cast<size_t>(p.root)];
  p.value = root.val;
  p.failure = IsError(root.val) ? static_cast<ValueFailure>(root.fail) : ValueFailure::None;
  return p;
}

Bunsuu NodeValue(const Piece& p, int node, ValueFailure* why) {
  if (node < 0 || node >= static_cast<int>(p.nodes.size())) return BUNSUU_ERROR;
  const Node& n = p.nodes[static_cast<size_t>(node)];
  if (why && IsError(n.val)) *why = static_cast<ValueFailure>(n.fail);
  return n.val;
}

int Unwrap(const Piece& p, int node, int& sign) {
  while (node >= 0) {
    const Node& n = p.nodes[static_cast<size_t>(node)];
    if (n.kind == NodeKind::Group) {
      node = n.a;
    } else if (n.kind == NodeKind::Neg) {
      sign = -sign;
      node = n.a;
    } else {
      break;
    }
  }
  return node;
}

bool IsNumber(const Piece& p, int node) {
  return node >= 0 && p.nodes[static_cast<size_t>(node)].kind == NodeKind::Number;
}

bool IsProduct(const Piece& p, int node) {
  if (node < 0) return false;
  NodeKind k = p.nodes[static_cast<size_t>(node)].kind;
  return k == NodeKind::Mul || k == NodeKind::Div;
}

namespace {

void Flatten(const Piece& p, int node, int sign, std::vector<Term>& out) {
  int s = sign;
  int n = Unwrap(p, node, s);
  if (n < 0) return;
  const Node& x = p.nodes[static_cast<size_t>(n)];
  if (x.kind == NodeKind::Add || x.kind == NodeKind::Sub) {
    Flatten(p, x.a, s, out);
    Flatten(p, x.b, x.kind == NodeKind::Add ? s : -s, out);
    return;
  }
  out.push_back(Term{s, n});
}

void FlattenMul(const Piece& p, int node, char op, int& sign, std::vector<Factor>& out) {
  int s = 1;
  int n = Unwrap(p, node, s);
  if (n < 0) return;
  const Node& x = p.nodes[static_cast<size_t>(n)];
  // A group of products after "*" joins the chain; after "/" it stays one factor (a÷(b×c) is not a÷b×c).
  if ((x.kind == NodeKind::Mul || x.kind == NodeKind::Div) && (op == '*' || out.empty())) {
    if (s < 0) sign = -sign;
    FlattenMul(p, x.a, op, sign, out);
    FlattenMul(p, x.b, x.kind == NodeKind::Mul ? '*' : '/', sign, out);
    return;
  }
  if (s < 0) sign = -sign;
  out.push_back(Factor{out.empty() ? '*' : op, n});
}

}  // namespace

std::vector<Term> FlattenSum(const Piece& p, int node) {
  std::vector<Term> out;
  Flatten(p, node, 1, out);
  return out;
}

std::vector<Factor> FlattenProduct(const Piece& p, int node, int& sign) {
  std::vector<Factor> out;
  sign = 1;
  FlattenMul(p, node, '*', sign, out);
  return out;
}

}  // namespace steps
