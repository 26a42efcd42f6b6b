// Steps that keep the value: whether a step is one taught step (a rewriting of terms, a combination of
// like terms, a split, a product step) or several at once, and the program's own next step as a hint.
#include <algorithm>
#include <vector>

#include "engine/Bunio.h"
#include "engine/Settings.h"
#include "process/CalcProcManage.h"
#include "process/MainDspManage.h"
#include "steps/StepInternal.h"

namespace steps {

namespace {

NodeKind KindOf(const Piece& p, int node) { return p.nodes[static_cast<size_t>(node)].kind; }

bool Leaf(const Piece& p, int node) {
  int s = 1;
  int n = Unwrap(p, node, s);
  return IsNumber(p, n);
}

// A product whose factors are all numbers, or an expression fraction whose parts hold only numbers and
// operators: one step away from a single number.
bool Shallow(const Piece& p, int node) {
  const Node& n = p.nodes[static_cast<size_t>(node)];
  switch (n.kind) {
    case NodeKind::Number: return true;
    case NodeKind::Neg:
    case NodeKind::Group: return Shallow(p, n.a);
    case NodeKind::Add:
    case NodeKind::Sub:
    case NodeKind::Mul:
    case NodeKind::Div:
      return Leaf(p, n.a) ? Shallow(p, n.b) && Leaf(p, n.b) : Shallow(p, n.a) && Leaf(p, n.b);
    case NodeKind::ExprFrac: return Shallow(p, n.a) && Shallow(p, n.b);
    case NodeKind::Pow:
    case NodeKind::Fact: return Leaf(p, n.a);
    case NodeKind::Perm:
    case NodeKind::Comb: return true;
  }
  return false;
}

bool ProductStep(const Piece& a, int na, const Piece& b, int nb);

// One term rewritten in one step (the values are equal).
bool TermStep(const Piece& a, int na, const Piece& b, int nb) {
  if (a.Text(na) == b.Text(nb)) return true;
  NodeKind ka = KindOf(a, na), kb = KindOf(b, nb);
  // A number in another form: reduced, expanded, mixed ⇔ improper, decimal ⇔ fraction.
  if (ka == NodeKind::Number && kb == NodeKind::Number) return true;
  // A number written as a product or an expression fraction to prepare a common denominator.
  if (ka == NodeKind::Number) return Shallow(b, nb);
  if (IsProduct(a, na)) return ProductStep(a, na, b, nb);
  // An expression fraction, a power, a factorial computed.
  if (ka == NodeKind::ExprFrac || ka == NodeKind::Pow || ka == NodeKind::Fact || ka == NodeKind::Perm ||
      ka == NodeKind::Comb)
    return Shallow(a, na) && (kb == NodeKind::Number || Shallow(b, nb));
  return false;
}

bool ProductStep(const Piece& a, int na, const Piece& b, int nb) {
  int sa = 1, sb = 1;
  std::vector<Factor> f = FlattenProduct(a, na, sa);
  std::vector<Factor> g = FlattenProduct(b, nb, sb);
  bool allTimes = true, allLeaves = true;
  for (size_t k = 1; k < f.size(); ++k) allTimes = allTimes && f[k].op == '*';
  // Mixed numbers and decimals are made fractions before a product is multiplied across.
  for (const Factor& x : f) {
    const Node& n = a.nodes[static_cast<size_t>(x.node)];
    bool converted =
        n.kind != NodeKind::Number || n.form == NumberForm::Integer || n.form == NumberForm::Fraction;
    allLeaves = allLeaves && converted && Shallow(a, x.node);
  }
  if (g.size() == 1) {
    // Multiplied across (numerators together, denominators together), or a zero factor.
    if (a.value.sign == 0) return true;
    return allTimes && allLeaves;
  }
  if (f.size() != g.size()) return false;
  bool sameOps = true, factorwise = true, inverted = true;
  for (size_t k = 0; k < f.size(); ++k) {
    Bunsuu x = NodeValue(a, f[k].node), y = NodeValue(b, g[k].node);
    sameOps = sameOps && f[k].op == g[k].op;
    factorwise = factorwise && f[k].op == g[k].op && x == y;
    if (f[k].op == g[k].op) {
      inverted = inverted && x == y;
    } else {
      inverted = inverted && f[k].op == '/' && g[k].op == '*' && Canon(Reciprocal(x)) == y;
    }
  }
  if (factorwise || inverted) return true;
  // Cancelled crosswise: the same multiplications, other factors, the same product.
  return sameOps && allTimes;
}

struct Side {
  const Piece* p;
  std::vector<Term> terms;
  std::vector<Bunsuu> values;  // signed
};

Side MakeSide(const Piece& p) {
  Side s{&p, FlattenSum(p, p.root), {}};
  for (const Term& t : s.terms) {
    Bunsuu v = NodeValue(p, t.node);
    s.values.push_back(t.sign < 0 ? Canon(Negate(v)) : v);
  }
  return s;
}

Bunsuu Total(const Side& s, size_t from, size_t to) {
  Bunsuu t = BUNSUU_ZERO;
  for (size_t k = from; k < to; ++k) t = Checked('+', t, s.values[k]);
  return t;
}

// The denominator of a term's fraction part as written: 0 for a whole number, -1 when it has none that
// can be read (a product, a decimal …).
int64_t Denominator(const Piece& p, int node) {
  const Node& n = p.nodes[static_cast<size_t>(node)];
  if (n.kind != NodeKind::Number || IsError(n.value)) return -1;
  if (n.form == NumberForm::Integer) return 0;
  if (n.form == NumberForm::Decimal) return -1;
  return n.value.den;
}

// Several terms of a sum made into one: fractions with one denominator (and whole numbers) added, or
// written over one bar as an expression fraction.
bool CombineStep(const Side& a, size_t from, size_t to, const Side& b, size_t target) {
  int64_t den = 0;
  bool decimals = true;
  for (size_t k = from; k < to; ++k) {
    const Node& n = a.p->nodes[static_cast<size_t>(a.terms[k].node)];
    decimals = decimals && n.kind == NodeKind::Number &&
               (n.form == NumberForm::Decimal || n.form == NumberForm::Integer);
    int64_t d = Denominator(*a.p, a.terms[k].node);
    if (d < 0) {
      if (!decimals) return false;
      continue;
    }
    if (d == 0) continue;
    if (den != 0 && d != den) return false;
    den = d;
  }
  if (decimals) return true;
  int s = 1;
  int t = Unwrap(*b.p, b.terms[target].node, s);
  const Node& n = b.p->nodes[static_cast<size_t>(t)];
  if (n.kind == NodeKind::ExprFrac) {
    Bunsuu d = NodeValue(*b.p, n.a);
    return den == 0 || (d.den == 1 && d.num == den);
  }
  return n.kind == NodeKind::Number;
}

bool SameTermsInAnyOrder(const Side& a, const Side& b) {
  if (a.terms.size() != b.terms.size()) return false;
  auto keys = [](const Side& s) {
    std::vector<std::string> k;
    for (const Term& t : s.terms) k.push_back((t.sign < 0 ? "-" : "+") + s.p->Text(t.node));
    std::sort(k.begin(), k.end());
    return k;
  };
  return keys(a) == keys(b);
}

}  // namespace

bool IsOneStep(const Piece& prev, const Piece& cur) {
  Side a = MakeSide(prev), b = MakeSide(cur);
  if (a.terms.empty() || b.terms.empty()) return false;
  if (a.terms.size() == 1 && b.terms.size() == 1)
    return TermStep(prev, a.terms[0].node, cur, b.terms[0].node);
  if (SameTermsInAnyOrder(a, b)) return true;
  // Match the terms in order: one to one (each rewritten), several into one (combined), one into
  // several (split).
  const size_t n = a.terms.size(), m = b.terms.size();
  std::vector<std::vector<char>> reach(n + 1, std::vector<char>(m + 1, 0));
  reach[0][0] = 1;
  for (size_t i = 0; i <= n; ++i)
    for (size_t j = 0; j <= m; ++j) {
      if (!reach[i][j] || i == n || j == m) continue;
      if (a.values[i] == b.values[j] &&
          (a.terms[i].sign == b.terms[j].sign
               ? TermStep(prev, a.terms[i].node, cur, b.terms[j].node)
               : a.p->Text(a.terms[i].node) == b.p->Text(b.terms[j].node) && a.values[i].sign == 0))
        reach[i + 1][j + 1] = 1;
      for (size_t i2 = i + 2; i2 <= n; ++i2)
        if (Total(a, i, i2) == b.values[j] && CombineStep(a, i, i2, b, j)) reach[i2][j + 1] = 1;
      for (size_t j2 = j + 2; j2 <= m; ++j2)
        if (Total(b, j, j2) == a.values[i]) reach[i + 1][j2] = 1;
    }
  return reach[n][m] != 0;
}

namespace {

std::string ValueText(const Bunsuu& v, bool mixed, bool paren) {
  Bunsuu c = Canon(v);
  if (IsError(c)) return "";
  std::string t;
  if (c.sign == 0) return "0";
  if (c.den == 1) {
    t = (c.sign < 0 ? "m" : "") + std::to_string(c.num);
  } else {
    t = FormatBunsuu(mixed ? ToMixed(c) : c, 0);
  }
  if (paren && c.sign < 0) t = "(" + t + ")";
  return t;
}

// One operation of a piece that has no process of its own: the first operation by precedence whose
// operands are numbers, replaced by its value.
std::string OneOperation(const Piece& p) {
  int best = -1, bestRank = -1;
  for (int k = 0; k < static_cast<int>(p.nodes.size()); ++k) {
    const Node& n = p.nodes[static_cast<size_t>(k)];
    int rank = -1;
    switch (n.kind) {
      case NodeKind::Pow:
      case NodeKind::Fact:
      case NodeKind::Perm:
      case NodeKind::Comb: rank = Leaf(p, n.a) ? 3 : -1; break;
      case NodeKind::ExprFrac: rank = Shallow(p, n.a) && Shallow(p, n.b) ? 3 : -1; break;
      case NodeKind::Mul:
      case NodeKind::Div: rank = Leaf(p, n.a) && Leaf(p, n.b) ? 2 : -1; break;
      case NodeKind::Add:
      case NodeKind::Sub: rank = Leaf(p, n.a) && Leaf(p, n.b) ? 1 : -1; break;
      default: break;
    }
    if (rank > bestRank ||
        (rank == bestRank && rank >= 0 && n.begin < p.nodes[static_cast<size_t>(best)].begin)) {
      best = k;
      bestRank = rank;
    }
  }
  if (best < 0 || bestRank < 0) return "";
  const Node& n = p.nodes[static_cast<size_t>(best)];
  if (IsError(n.val)) return "";
  int begin = n.begin, end = n.end;
  // A group that held only this operation loses its brackets with it.
  for (const Node& g : p.nodes)
    if (g.kind == NodeKind::Group && g.a == best) {
      begin = g.begin;
      end = g.end;
    }
  bool alone = begin == 0 && end == static_cast<int>(p.text.size());
  std::string out = p.text.substr(0, static_cast<size_t>(begin)) + ValueText(n.val, false, !alone) +
                    p.text.substr(static_cast<size_t>(end));
  return out;
}

}  // namespace

std::string ProgramNextStep(const Piece& prev, int finalForm) {
  if (!prev.HasValue()) return "";
  int sign = 1;
  int root = Unwrap(prev, prev.root, sign);
  if (IsNumber(prev, root)) {
    const Node& n = prev.nodes[static_cast<size_t>(root)];
    if (n.form == NumberForm::Decimal) return "";
    std::string done = ValueText(prev.value, finalForm == 0, false);
    return done == prev.text ? "" : done;
  }
  PROCLASTANS = finalForm;
  PROCTEIDO = 0;
  if (MakeProcess(prev.text, true) == 1) {
    for (const ProcessLine& l : VisibleProcessLines(ProcessState.processText, 0)) {
      std::string e = l.expr;
      while (!e.empty() && e.front() == '=') e.erase(0, 1);
      if (!e.empty() && e != prev.text && e != "n") return e;
    }
    return "";
  }
  return OneOperation(prev);
}

}  // namespace steps
