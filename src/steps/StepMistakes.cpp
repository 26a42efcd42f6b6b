// Names the typical mistake that turned one piece of working into the next: every known mistake is
// applied at each place of the piece before, exactly, and compared with the value the pupil wrote.
#include <array>
#include <cstdint>
#include <vector>

#include "steps/StepCheck.h"
#include "steps/StepInternal.h"

namespace steps {

namespace {

// Indices of KnownMistakes(), in the table's order.
enum Mistake {
  ADD_ACROSS,
  SUBTRACT_ACROSS,
  KEEP_DENOMINATOR,
  NUMERATORS_NOT_SCALED,
  WHOLE_INTO_BOTH,
  DIVIDE_NOT_INVERTED,
  DIVIDEND_INVERTED,
  BORROW_SWAPPED,
  MIXED_PART_FORGOTTEN,
  MIXED_TO_IMPROPER,
  REDUCED_UNEVENLY,
  LEFT_TO_RIGHT,
  SIGN,
  UPSIDE_DOWN,
  DECIMAL_POINT,
};

struct Candidate {
  int mistake;
  Bunsuu value;
};
using Candidates = std::vector<Candidate>;

Bunsuu Int(int64_t v) {
  if (v == 0) return BUNSUU_ZERO;
  if (v < 0) {
    if (v < -INT64_LIMIT) return BUNSUU_ERROR;
    return MakeBunsuu(-1, 0, 1, -v);
  }
  return MakeBunsuu(1, 0, 1, v);
}

// whole + num ÷ den with every part exact; BUNSUU_ERROR for a zero denominator or an overflow.
Bunsuu Frac(const Bunsuu& whole, int64_t num, int64_t den) {
  if (den == 0) return BUNSUU_ERROR;
  Bunsuu q = Checked('/', Int(num), Int(den));
  return Checked('+', whole, q);
}

Bunsuu Sgn(int sign, const Bunsuu& v) { return sign < 0 ? Canon(Negate(v)) : v; }

// A written number's parts: whole, numerator, denominator as written (an integer is n over 1).
struct Parts {
  bool ok = false;
  bool fraction = false;  // has a fraction part
  int64_t whole = 0;
  int64_t num = 0;
  int64_t den = 1;
};

Parts PartsOf(const Piece& p, int node) {
  Parts r;
  if (!IsNumber(p, node)) return r;
  const Node& n = p.nodes[static_cast<size_t>(node)];
  if (IsError(n.value) || n.form == NumberForm::Decimal) return r;
  r.ok = true;
  if (n.form == NumberForm::Integer) {
    r.whole = n.value.num;
    return r;
  }
  r.fraction = true;
  r.whole = n.value.whole;
  r.num = n.value.num;
  r.den = n.value.den;
  return r;
}

bool Mul64(int64_t a, int64_t b, int64_t& out) {
  return !__builtin_mul_overflow(a, b, &out) && out < INT64_LIMIT && out > -INT64_LIMIT;
}
bool Add64(int64_t a, int64_t b, int64_t& out) {
  return !__builtin_add_overflow(a, b, &out) && out < INT64_LIMIT && out > -INT64_LIMIT;
}

void Push(Candidates& out, int mistake, const Bunsuu& v) {
  if (!IsError(v)) out.push_back(Candidate{mistake, v});
}

// The mistakes of one pair of neighbouring terms of a sum: a and b are magnitudes, same = both have
// the same sign (their magnitudes are added), the result carries the first term's sign.
void PairMistakes(const Parts& a, const Parts& b, bool same, int sign, Candidates& out) {
  if (!a.ok || !b.ok || (!a.fraction && !b.fraction)) return;
  int64_t w = 0, n = 0, d = 0;
  if (same) {
    if (!Add64(a.whole, b.whole, w)) return;
    // Across: numerators added and denominators added (a whole number counts as n over 1).
    int64_t an = a.fraction ? a.num : a.whole, ad = a.fraction ? a.den : 1;
    int64_t bn = b.fraction ? b.num : b.whole, bd = b.fraction ? b.den : 1;
    int64_t aw = a.fraction ? a.whole : 0, bw = b.fraction ? b.whole : 0;
    if (Add64(an, bn, n) && Add64(ad, bd, d) && Add64(aw, bw, w))
      Push(out, ADD_ACROSS, Sgn(sign, Frac(Int(w), n, d)));
    if (!Add64(a.whole, b.whole, w)) return;
  } else {
    if (!Add64(a.whole, -b.whole, w)) return;
    if (a.fraction && b.fraction && a.den != b.den && Add64(a.num, -b.num, n) && Add64(a.den, -b.den, d))
      Push(out, SUBTRACT_ACROSS, Sgn(sign, Frac(Int(w), n, d)));
  }
  auto combine = [&](int64_t x, int64_t y, int64_t& r) { return same ? Add64(x, y, r) : Add64(x, -y, r); };
  if (a.fraction && b.fraction && a.den != b.den && combine(a.num, b.num, n)) {
    Push(out, KEEP_DENOMINATOR, Sgn(sign, Frac(Int(w), n, a.den)));
    Push(out, KEEP_DENOMINATOR, Sgn(sign, Frac(Int(w), n, b.den)));
    int64_t l = Lcm64(a.den, b.den);
    if (l > 0) Push(out, NUMERATORS_NOT_SCALED, Sgn(sign, Frac(Int(w), n, l)));
    int64_t p = 0;
    if (Mul64(a.den, b.den, p) && p != l) Push(out, NUMERATORS_NOT_SCALED, Sgn(sign, Frac(Int(w), n, p)));
  }
  // Borrowing: the smaller numerator taken from the larger instead of borrowing one whole.
  if (!same && a.whole > 0 && b.fraction && a.whole >= b.whole) {
    int64_t l = a.fraction ? Lcm64(a.den, b.den) : b.den;
    if (l <= 0) return;
    int64_t an = 0, bn = 0;
    if (a.fraction && !Mul64(a.num, l / a.den, an)) return;
    if (!Mul64(b.num, l / b.den, bn)) return;
    if (an < bn) Push(out, BORROW_SWAPPED, Sgn(sign, Frac(Int(a.whole - b.whole), bn - an, l)));
  }
}

Candidates Generate(const Piece& p, int node);

Bunsuu SumValue(const std::vector<Bunsuu>& values) {
  Bunsuu t = BUNSUU_ZERO;
  for (const Bunsuu& v : values) t = Checked('+', t, v);
  return t;
}

Candidates SumCandidates(const Piece& p, const std::vector<Term>& terms) {
  Candidates out;
  std::vector<Bunsuu> values;
  for (const Term& t : terms) values.push_back(Sgn(t.sign, NodeValue(p, t.node)));
  Bunsuu total = SumValue(values);
  if (IsError(total)) return out;
  auto replaced = [&](size_t from, size_t to, const Bunsuu& v) {
    std::vector<Bunsuu> rest;
    for (size_t k = 0; k < values.size(); ++k)
      if (k < from || k > to) rest.push_back(values[k]);
    rest.push_back(v);
    return SumValue(rest);
  };
  for (size_t i = 0; i + 1 < terms.size(); ++i) {
    Candidates pair;
    PairMistakes(PartsOf(p, terms[i].node), PartsOf(p, terms[i + 1].node), terms[i].sign == terms[i + 1].sign,
                 terms[i].sign, pair);
    for (const Candidate& c : pair) Push(out, c.mistake, replaced(i, i + 1, c.value));
  }
  // Three or more fractions added at once across, or over a denominator without scaling.
  if (terms.size() >= 3) {
    bool allPlus = true;
    int64_t n = 0, d = 0, l = 1;
    bool fits = true;
    for (const Term& t : terms) {
      Parts x = PartsOf(p, t.node);
      if (!x.ok || !x.fraction || x.whole != 0 || t.sign != terms[0].sign) allPlus = false;
      if (!allPlus) break;
      fits = fits && Add64(n, x.num, n) && Add64(d, x.den, d);
      l = fits ? Lcm64(l, x.den) : -1;
      fits = fits && l > 0;
    }
    if (allPlus && fits) {
      Push(out, ADD_ACROSS, Sgn(terms[0].sign, Frac(BUNSUU_ZERO, n, d)));
      Push(out, NUMERATORS_NOT_SCALED, Sgn(terms[0].sign, Frac(BUNSUU_ZERO, n, l)));
    }
  }
  for (size_t i = 0; i < terms.size(); ++i)
    for (const Candidate& c : Generate(p, terms[i].node))
      Push(out, c.mistake, replaced(i, i, Sgn(terms[i].sign, c.value)));
  return out;
}

Bunsuu ProductValue(const std::vector<Bunsuu>& values, const std::vector<char>& ops) {
  Bunsuu t = BUNSUU_ONE;
  for (size_t k = 0; k < values.size(); ++k) t = Checked(ops[k] == '/' ? '/' : '*', t, values[k]);
  return t;
}

Candidates ProductCandidates(const Piece& p, int node) {
  Candidates out;
  int sign = 1;
  std::vector<Factor> f = FlattenProduct(p, node, sign);
  std::vector<Bunsuu> values;
  std::vector<char> ops;
  for (const Factor& x : f) {
    values.push_back(NodeValue(p, x.node));
    ops.push_back(x.op);
  }
  auto value = [&](const std::vector<Bunsuu>& v, const std::vector<char>& o) {
    return Sgn(sign, ProductValue(v, o));
  };
  bool allTimes = true;
  for (size_t k = 1; k < ops.size(); ++k) allTimes = allTimes && ops[k] == '*';
  // A whole number multiplied into both numerator and denominator leaves the fraction as it was.
  for (size_t k = 0; k < f.size(); ++k) {
    const Node& n = p.nodes[static_cast<size_t>(f[k].node)];
    if (n.kind != NodeKind::Number || n.form != NumberForm::Integer || ops[k] != '*') continue;
    bool nextToFraction = false;
    for (size_t j : {k - 1, k + 1}) {
      if (j >= f.size() || (j > k && ops[j] != '*')) continue;
      const Node& m = p.nodes[static_cast<size_t>(f[j].node)];
      nextToFraction = nextToFraction || (m.kind == NodeKind::Number && m.form == NumberForm::Fraction);
    }
    if (!nextToFraction) continue;
    std::vector<Bunsuu> v = values;
    v[k] = BUNSUU_ONE;
    Push(out, WHOLE_INTO_BOTH, value(v, ops));
  }
  // Division done as multiplication, or the dividend inverted instead of the divisor.
  for (size_t k = 1; k < f.size(); ++k) {
    if (ops[k] != '/') continue;
    std::vector<char> o = ops;
    o[k] = '*';
    Push(out, DIVIDE_NOT_INVERTED, value(values, o));
    std::vector<Bunsuu> v = values;
    v[k - 1] = Canon(Reciprocal(values[k - 1]));
    if (!IsError(v[k - 1]) && ops[k - 1] == '*') Push(out, DIVIDEND_INVERTED, value(v, o));
  }
  // A mixed number multiplied by its whole part only or by its fraction part only.
  if (allTimes && f.size() >= 2) {
    std::vector<size_t> mixed;
    for (size_t k = 0; k < f.size(); ++k) {
      const Node& n = p.nodes[static_cast<size_t>(f[k].node)];
      if (n.kind == NodeKind::Number && n.form == NumberForm::Mixed && !IsError(n.value)) mixed.push_back(k);
    }
    for (size_t k : mixed) {
      const Node& n = p.nodes[static_cast<size_t>(f[k].node)];
      std::vector<Bunsuu> rest = values;
      rest[k] = BUNSUU_ONE;
      Bunsuu r = ProductValue(rest, ops);
      Bunsuu w = Int(n.value.whole);
      Bunsuu fr = Frac(BUNSUU_ZERO, n.value.num, n.value.den);
      Push(out, MIXED_PART_FORGOTTEN, Sgn(sign, Checked('+', Checked('*', w, r), fr)));
      Push(out, MIXED_PART_FORGOTTEN, Sgn(sign, Checked('+', w, Checked('*', fr, r))));
    }
    if (mixed.size() == 2 && f.size() == 2) {
      const Node& a = p.nodes[static_cast<size_t>(f[0].node)];
      const Node& b = p.nodes[static_cast<size_t>(f[1].node)];
      Bunsuu wholes = Checked('*', Int(a.value.whole), Int(b.value.whole));
      Bunsuu parts = Checked('*', Frac(BUNSUU_ZERO, a.value.num, a.value.den),
                             Frac(BUNSUU_ZERO, b.value.num, b.value.den));
      Push(out, MIXED_PART_FORGOTTEN, Sgn(sign, Checked('+', wholes, parts)));
    }
  }
  for (size_t k = 0; k < f.size(); ++k)
    for (const Candidate& c : Generate(p, f[k].node)) {
      std::vector<Bunsuu> v = values;
      v[k] = c.value;
      Push(out, c.mistake, value(v, ops));
    }
  return out;
}

Candidates Generate(const Piece& p, int node) {
  Candidates out;
  if (node < 0) return out;
  const Node& n = p.nodes[static_cast<size_t>(node)];
  switch (n.kind) {
    case NodeKind::Number:
      if (n.form == NumberForm::Mixed && !IsError(n.value)) {
        int64_t top = 0;
        // whole × numerator + denominator, or whole + numerator, written over the denominator.
        if (Mul64(n.value.whole, n.value.num, top) && Add64(top, n.value.den, top))
          Push(out, MIXED_TO_IMPROPER, Frac(BUNSUU_ZERO, top, n.value.den));
        if (Add64(n.value.whole, n.value.num, top))
          Push(out, MIXED_TO_IMPROPER, Frac(BUNSUU_ZERO, top, n.value.den));
      }
      return out;
    case NodeKind::Neg:
      for (const Candidate& c : Generate(p, n.a)) Push(out, c.mistake, Sgn(-1, c.value));
      return out;
    case NodeKind::Group: return Generate(p, n.a);
    case NodeKind::Add:
    case NodeKind::Sub: return SumCandidates(p, FlattenSum(p, node));
    case NodeKind::Mul:
    case NodeKind::Div: return ProductCandidates(p, node);
    default: return out;
  }
}

// The operands and operators of one bracket level, in written order.
void Sequence(const Piece& p, int node, std::vector<Bunsuu>& values, std::vector<char>& ops, char op) {
  const Node& n = p.nodes[static_cast<size_t>(node)];
  char own = n.kind == NodeKind::Add   ? '+'
             : n.kind == NodeKind::Sub ? '-'
             : n.kind == NodeKind::Mul ? '*'
             : n.kind == NodeKind::Div ? '/'
                                       : '\0';
  if (own == '\0') {
    values.push_back(n.val);
    ops.push_back(op);
    return;
  }
  Sequence(p, n.a, values, ops, op);
  Sequence(p, n.b, values, ops, own);
}

// Evaluates a sequence with × and ÷ first, except that the pair starting at `early` is done first.
Bunsuu Precedence(std::vector<Bunsuu> v, std::vector<char> o, size_t early) {
  if (early < v.size()) {
    v[early] = Checked(o[early + 1], v[early], v[early + 1]);
    v.erase(v.begin() + static_cast<long>(early) + 1);
    o.erase(o.begin() + static_cast<long>(early) + 1);
  }
  std::vector<Bunsuu> sums;
  std::vector<char> sumOps;
  for (size_t k = 0; k < v.size(); ++k) {
    if (k > 0 && (o[k] == '*' || o[k] == '/')) {
      sums.back() = Checked(o[k], sums.back(), v[k]);
    } else {
      sums.push_back(v[k]);
      sumOps.push_back(k == 0 ? '+' : o[k]);
    }
  }
  Bunsuu t = BUNSUU_ZERO;
  for (size_t k = 0; k < sums.size(); ++k) t = Checked(sumOps[k], t, sums[k]);
  return t;
}

void LeftToRight(const Piece& p, int node, Candidates& out) {
  std::vector<Bunsuu> v;
  std::vector<char> o;
  Sequence(p, node, v, o, '+');
  bool sumBefore = false, late = false;
  for (size_t k = 1; k < o.size(); ++k) {
    if (o[k] == '+' || o[k] == '-') sumBefore = true;
    if ((o[k] == '*' || o[k] == '/') && sumBefore) late = true;
  }
  if (!late) return;
  Bunsuu t = v[0];
  for (size_t k = 1; k < v.size(); ++k) t = Checked(o[k], t, v[k]);
  Push(out, LEFT_TO_RIGHT, t);
  for (size_t k = 0; k + 2 < v.size(); ++k)
    if ((o[k + 1] == '+' || o[k + 1] == '-') && (o[k + 2] == '*' || o[k + 2] == '/'))
      Push(out, LEFT_TO_RIGHT, Precedence(v, o, k));
}

// Reduced unevenly: the same terms, and each term that changed is a fraction whose numerator and
// denominator were divided by different numbers.
bool ReducedUnevenly(const Piece& prev, const Piece& cur) {
  std::vector<Term> a = FlattenSum(prev, prev.root);
  std::vector<Term> b = FlattenSum(cur, cur.root);
  if (a.size() != b.size()) return false;
  bool any = false;
  for (size_t k = 0; k < a.size(); ++k) {
    Bunsuu x = Sgn(a[k].sign, NodeValue(prev, a[k].node));
    Bunsuu y = Sgn(b[k].sign, NodeValue(cur, b[k].node));
    if (!IsError(x) && x == y) continue;
    Parts s = PartsOf(prev, a[k].node), t = PartsOf(cur, b[k].node);
    if (!s.ok || !t.ok || !s.fraction || !t.fraction || a[k].sign != b[k].sign || s.whole != t.whole)
      return false;
    if (t.num <= 0 || t.den <= 0 || s.num % t.num != 0 || s.den % t.den != 0) return false;
    if (s.num / t.num == s.den / t.den) return false;
    any = true;
  }
  return any;
}

// The one operand in which cur differs from prev, when both are sums of the same signs or products of the
// same operators with every other operand written alike; descends while the changed operand is itself
// such a sum or product. False when the shapes differ or more than one operand changed.
bool ChangedOperand(const Piece& prev, int p, const Piece& cur, int c, int& outP, int& outC, int depth = 0) {
  if (depth > 64) return false;
  int ps = 1, cs = 1;
  const int pu = Unwrap(prev, p, ps), cu = Unwrap(cur, c, cs);
  if (pu < 0 || cu < 0) return false;
  std::vector<int> a, b;
  const NodeKind pk = prev.nodes[static_cast<size_t>(pu)].kind, ck = cur.nodes[static_cast<size_t>(cu)].kind;
  const bool sum =
      (pk == NodeKind::Add || pk == NodeKind::Sub) && (ck == NodeKind::Add || ck == NodeKind::Sub);
  const bool product = IsProduct(prev, pu) && IsProduct(cur, cu);
  if (ps != cs || (!sum && !product)) return false;
  if (sum) {
    std::vector<Term> x = FlattenSum(prev, pu), y = FlattenSum(cur, cu);
    if (x.size() != y.size()) return false;
    for (size_t k = 0; k < x.size(); ++k) {
      if (x[k].sign != y[k].sign) return false;
      a.push_back(x[k].node);
      b.push_back(y[k].node);
    }
  } else {
    int xs = 1, ys = 1;
    std::vector<Factor> x = FlattenProduct(prev, pu, xs), y = FlattenProduct(cur, cu, ys);
    if (x.size() != y.size() || xs != ys) return false;
    for (size_t k = 0; k < x.size(); ++k) {
      if (x[k].op != y[k].op) return false;
      a.push_back(x[k].node);
      b.push_back(y[k].node);
    }
  }
  int changed = -1;
  for (size_t k = 0; k < a.size(); ++k) {
    if (prev.Text(a[k]) == cur.Text(b[k])) continue;
    if (changed >= 0) return false;
    changed = static_cast<int>(k);
  }
  if (changed < 0) return false;
  outP = a[static_cast<size_t>(changed)];
  outC = b[static_cast<size_t>(changed)];
  int deeperP = -1, deeperC = -1;
  if (ChangedOperand(prev, outP, cur, outC, deeperP, deeperC, depth + 1)) {
    outP = deeperP;
    outC = deeperC;
  }
  return true;
}

// The piece made of one node of another (the same tree, rooted at the node).
Piece SubPiece(const Piece& p, int node) {
  Piece s = p;
  s.root = node;
  s.value = NodeValue(p, node);
  s.failure = IsError(s.value) ? ValueFailure::Other : ValueFailure::None;
  return s;
}

int FindMistakeWhole(const Piece& prev, const Piece& cur);

}  // namespace

int FindMistake(const Piece& prev, const Piece& cur) {
  // A step that rewrote one operand of a longer expression is judged on that operand: the mistake that
  // makes what the pupil wrote there wins over one that only reaches the same value for the whole.
  int p = -1, c = -1;
  if (ChangedOperand(prev, prev.root, cur, cur.root, p, c)) {
    const Piece a = SubPiece(prev, p), b = SubPiece(cur, c);
    if (a.HasValue() && b.HasValue() && a.value != b.value) {
      const int m = FindMistakeWhole(a, b);
      if (m >= 0) return m;
    }
  }
  return FindMistakeWhole(prev, cur);
}

namespace {

int FindMistakeWhole(const Piece& prev, const Piece& cur) {
  const Bunsuu want = cur.value;
  const Bunsuu right = prev.value;
  Candidates all = Generate(prev, prev.root);
  LeftToRight(prev, prev.root, all);
  int best = -1;
  for (const Candidate& c : all)
    if (Canon(c.value) == want && c.value != right && (best < 0 || c.mistake < best)) best = c.mistake;
  if (best >= 0 && best < REDUCED_UNEVENLY) return best;
  if (ReducedUnevenly(prev, cur)) return REDUCED_UNEVENLY;
  if (best >= 0) return best;
  if (want == Canon(Negate(right))) return SIGN;
  Bunsuu inverse = Canon(Reciprocal(right));
  if (!IsError(inverse) && want == inverse) return UPSIDE_DOWN;
  // The right value times 10, 100, … or divided by them.
  if (right.sign != 0 && want.sign == right.sign) {
    Bunsuu ratio = Checked('/', want, right);
    if (!IsError(ratio)) {
      int64_t top = ratio.num, bottom = ratio.den;
      int64_t p = top > bottom ? top : bottom;
      if ((top == 1 || bottom == 1) && p > 1) {
        while (p % 10 == 0) p /= 10;
        if (p == 1) return DECIMAL_POINT;
      }
    }
  }
  return -1;
}

}  // namespace

}  // namespace steps
