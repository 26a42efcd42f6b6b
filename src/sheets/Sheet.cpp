// Makes practice sheets: draws candidate problems of a skill from a seeded stream, and takes a candidate
// only when the checker accepts it, it computes without a message, its process is of the skill's type
// and its answer meets the controls and repeats no problem already on the sheet.
#include "sheets/Sheet.h"

#include <algorithm>
#include <cctype>
#include <numeric>

#include "engine/BunMath.h"
#include "engine/Bunio.h"
#include "engine/Bunsuu.h"
#include "engine/Bunsuuh.h"
#include "engine/Buntakousiki.h"
#include "engine/Houtei1ji.h"
#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "notebook/NotePage.h"
#include "platform/Platform.h"
#include "process/MainDspManage.h"
#include "process/QuietCalculation.h"
#include "screen/sikiInpCommands.h"
#include "typeset/bunCanvasDsp.h"

namespace {

constexpr unsigned FRACTION_CONTROLS = CONTROL_MAX_DEN | CONTROL_MAX_ANSWER;
constexpr unsigned SUM_CONTROLS = CONTROL_MAX_DEN | CONTROL_REDUCE | CONTROL_MAX_ANSWER | CONTROL_MIXED;

const std::vector<SheetSkill> SKILLS = {
    {"sum-like", "同じ分母の分数のたし算", "5b1+5b2", SkillKind::Process, ProcessType::FractionSum, false,
     SUM_CONTROLS | CONTROL_TERMS, 2, 4},
    {"difference-like", "同じ分母の分数のひき算", "7b5-7b2", SkillKind::Process, ProcessType::FractionSum,
     false, SUM_CONTROLS | CONTROL_TERMS, 2, 3},
    {"sum-unlike", "分母がちがう分数のたし算", "2b1+3b1", SkillKind::Process, ProcessType::FractionSum, false,
     SUM_CONTROLS | CONTROL_TERMS, 2, 4},
    {"difference-unlike", "分母がちがう分数のひき算", "4b3-6b1", SkillKind::Process, ProcessType::FractionSum,
     false, SUM_CONTROLS | CONTROL_TERMS, 2, 3},
    {"sum-mixed", "帯分数のたし算（くり上がりなし）", "1k5b1+2k5b3", SkillKind::Process,
     ProcessType::MixedOnlySum, false, FRACTION_CONTROLS | CONTROL_REDUCE | CONTROL_TERMS, 2, 3},
    {"sum-mixed-carry", "帯分数のたし算（くり上がりあり）", "1k4b3+2k2b1", SkillKind::Process,
     ProcessType::MixedOnlySum, false, FRACTION_CONTROLS | CONTROL_REDUCE, 2, 2},
    {"difference-mixed", "帯分数のひき算（くり下がりなし）", "3k5b4-1k5b2", SkillKind::Process,
     ProcessType::MixedOnlySum, false, FRACTION_CONTROLS | CONTROL_REDUCE | CONTROL_MIXED, 2, 2},
    {"difference-borrow", "帯分数のひき算（くり下がりあり）", "3k5b1-1k5b3", SkillKind::Process,
     ProcessType::MixedOnlySum, false, FRACTION_CONTROLS | CONTROL_REDUCE | CONTROL_MIXED, 2, 2},
    {"difference-borrow-split", "帯分数のひき算（くり下がりあり・整数部と分数部に分ける方法）", "3k5b1-1k5b3",
     SkillKind::Process, ProcessType::MixedOnlySum, true, FRACTION_CONTROLS | CONTROL_REDUCE | CONTROL_MIXED,
     2, 2},
    {"integer-mixed", "整数と帯分数のたし算・ひき算", "4-1k3b1", SkillKind::Process,
     ProcessType::IntegerPlusMixed, false, FRACTION_CONTROLS | CONTROL_MIXED, 2, 2},
    {"integer-fraction", "整数と真分数のたし算・ひき算", "2+3b1", SkillKind::Process,
     ProcessType::IntegerPlusProper, false, FRACTION_CONTROLS | CONTROL_MIXED, 2, 2},
    {"integer-minus-fraction-split", "整数から真分数をひく（１を分数に直す方法）", "3-4b1",
     SkillKind::Process, ProcessType::IntegerPlusProper, true, FRACTION_CONTROLS | CONTROL_MIXED, 2, 2},
    {"integer-improper", "整数と仮分数のたし算・ひき算", "2+3b5", SkillKind::Process,
     ProcessType::IntegerPlusImproper, false, FRACTION_CONTROLS | CONTROL_REDUCE | CONTROL_MIXED, 2, 2},
    {"mixed-improper", "帯分数と仮分数のたし算・ひき算", "1k3b1+4b5", SkillKind::Process,
     ProcessType::MixedPlusImproper, false, FRACTION_CONTROLS | CONTROL_REDUCE | CONTROL_MIXED, 2, 2},
    {"sum-three-kinds", "整数・帯分数・真分数の３つの数の計算", "1k3b1+2-4b1", SkillKind::Process,
     ProcessType::SumWithIntegersOrMixed, false, SUM_CONTROLS, 3, 3},
    {"sum-decimal", "小数と分数のたし算・ひき算", "0.5+3b1", SkillKind::Process, ProcessType::SumWithDecimals,
     false, SUM_CONTROLS, 2, 2},
    {"product", "分数のかけ算（約分なし）", "3b2*5b2", SkillKind::Process, ProcessType::FractionProduct,
     false, FRACTION_CONTROLS | CONTROL_MIXED | CONTROL_TERMS, 2, 3},
    {"product-cancel", "分数のかけ算（約分あり）", "3b2*4b3", SkillKind::Process,
     ProcessType::FractionProduct, false, FRACTION_CONTROLS | CONTROL_MIXED | CONTROL_TERMS, 2, 3},
    {"quotient", "分数のわり算（約分なし）", "5b2/3b1", SkillKind::Process, ProcessType::FractionProduct,
     false, FRACTION_CONTROLS | CONTROL_MIXED, 2, 2},
    {"quotient-cancel", "分数のわり算（約分あり）", "9b4/3b2", SkillKind::Process,
     ProcessType::FractionProduct, false, FRACTION_CONTROLS | CONTROL_MIXED, 2, 2},
    {"product-mixed", "帯分数をふくむかけ算・わり算", "1k3b1*8b3", SkillKind::Process,
     ProcessType::ProductWithMixed, false, FRACTION_CONTROLS | CONTROL_REDUCE | CONTROL_MIXED, 2, 2},
    {"product-integer", "整数と分数のかけ算・わり算", "6*4b3", SkillKind::Process,
     ProcessType::ProductWithIntegersOrDecimals, false, FRACTION_CONTROLS | CONTROL_REDUCE | CONTROL_MIXED, 2,
     2},
    {"product-decimal", "小数と分数のかけ算・わり算", "0.4*3b2", SkillKind::Process,
     ProcessType::ProductWithIntegersOrDecimals, false, FRACTION_CONTROLS | CONTROL_REDUCE | CONTROL_MIXED, 2,
     2},
    {"product-integer-mixed", "整数と帯分数のかけ算・わり算", "3*1k4b1", SkillKind::Process,
     ProcessType::ProductWithAllKinds, false, FRACTION_CONTROLS | CONTROL_REDUCE | CONTROL_MIXED, 2, 2},
    {"reduce", "約分", "12b8", SkillKind::Reduction, ProcessType::Reduction, false,
     CONTROL_MAX_DEN | CONTROL_MIXED, 1, 1},
    {"improper-to-mixed", "仮分数を帯分数に直す", "5b7", SkillKind::ToMixed, ProcessType::ImproperToMixed,
     false, CONTROL_MAX_DEN | CONTROL_REDUCE | CONTROL_MAX_ANSWER, 1, 1},
    {"mixed-to-improper", "帯分数を仮分数に直す", "1k5b2", SkillKind::ToImproper,
     ProcessType::MixedToImproper, false, CONTROL_MAX_DEN | CONTROL_MAX_ANSWER, 1, 1},
    {"decimal-to-fraction", "小数を分数に直す", "0.25", SkillKind::DecimalToFraction,
     ProcessType::DecimalToFraction, false, CONTROL_REDUCE | CONTROL_MAX_ANSWER | CONTROL_MIXED, 1, 1},
    {"fraction-to-decimal", "分数を小数に直す", "4b3", SkillKind::FractionToDecimal, ProcessType::None, false,
     CONTROL_MAX_DEN, 1, 1},
    {"repeating-to-fraction", "循環小数を分数に直す", "0.1@6", SkillKind::RepeatingToFraction,
     ProcessType::RepeatingDecimalToFraction, false, CONTROL_MAX_DEN, 1, 1},
    {"fraction-to-repeating", "分数を循環小数に直す", "7b2", SkillKind::FractionToRepeating,
     ProcessType::None, false, CONTROL_MAX_DEN, 1, 1},
    {"factorise", "素因数分解", "360", SkillKind::Factorisation, ProcessType::None, false, CONTROL_MAX_ANSWER,
     1, 1},
    {"ratio", "比を簡単にする", "12:18", SkillKind::Ratio, ProcessType::None, false, CONTROL_MAX_ANSWER, 1,
     1},
    {"equation", "一次方程式", "2*x+3=11", SkillKind::Equation, ProcessType::None, false, CONTROL_MAX_ANSWER,
     1, 1},
    {"order-of-operations", "計算の順序（かっこ・四則の混じった計算）", "2b1+3b1*4b3",
     SkillKind::OrderOfOperations, ProcessType::None, false, FRACTION_CONTROLS | CONTROL_MIXED, 3, 3},
};

// The names of the controls, as the window and the messages call them.
const char* const CONTROL_NAMES[] = {"いちばん大きい分母", "項の数", "約分", "答えの上限", "帯分数の答え"};
const char* const CONTROL_IDS[] = {"max-den", "terms", "reduce", "max-answer", "mixed"};
constexpr const char* COUNT_NAME = "問題の数";
constexpr const char* SEED_NAME = "シード";
constexpr const char* VERSION_NAME = "版";

// Products without or with cancellation: the skill fixes the rule.
ReduceRule FixedReduce(const std::string& id) {
  if (id == "product" || id == "quotient") return ReduceRule::No;
  if (id == "product-cancel" || id == "quotient-cancel" || id == "reduce") return ReduceRule::Yes;
  return ReduceRule::Any;
}

std::string Quote(const char* name) { return std::string("「") + name + "」"; }

// ---- The state of the calculation screen, kept aside while problems are made ----------------------

// The generator's own settings on top of the saved calculation state.
class CalculationStateGuard : public QuietCalculation {
 public:
  CalculationStateGuard() {
    PROCDSP = 1;
    PROCLASTANS = 0;
    ANSSYU = 0;
    SYOUDSP = 0;
    KAKERU_ABR = 0;
    WARI_TYPE = 0;
    InterruptibleFactorisation = 0;
    ReduceOnConvert = 1;
  }
};

// ---- Small exact fractions of the generator (operands are small; sums stay far from 64 bits) -------

struct Q {
  int64_t n = 0;  // numerator, sign included
  int64_t d = 1;  // > 0
};

Q Norm(Q a) {
  const int64_t g = std::gcd(a.n < 0 ? -a.n : a.n, a.d);
  if (g > 1) {
    a.n /= g;
    a.d /= g;
  }
  return a;
}
Q AddQ(Q a, Q b) { return Norm(Q{a.n * b.d + b.n * a.d, a.d * b.d}); }
bool LessQ(Q a, Q b) { return a.n * b.d < b.n * a.d; }

std::string Frac(int64_t den, int64_t num) { return std::to_string(den) + "b" + std::to_string(num); }
std::string Mixed(int64_t whole, int64_t den, int64_t num) {
  return std::to_string(whole) + "k" + Frac(den, num);
}

// The value of one operand as written (integer, fraction, mixed number, decimal), as an improper fraction.
Q ValueOf(const std::string& term) {
  const Bunsuu b = ToImproper(ParseNumber(term));
  if (IsError(b)) return Q{0, 0};
  return Q{b.sign < 0 ? -b.num : b.num, b.den};
}

// ---- Candidates ------------------------------------------------------------------------------------

struct Generator {
  SheetRandom& rng;
  const SheetControls& c;

  int64_t R(int64_t lo, int64_t hi) { return rng.Between(lo, hi); }
  bool Coin() { return rng.Between(0, 1) == 1; }
  int64_t Den() { return R(2, c.maxDen); }
  // Operands are written in lowest terms, as a textbook writes them.
  std::string Proper(int64_t den) {
    int64_t n;
    do n = R(1, den - 1);
    while (std::gcd(n, den) != 1);
    return Frac(den, n);
  }
  std::string Proper() { return Proper(Den()); }
  int64_t Whole() { return R(1, 5); }
  std::string MixedNumber() {
    const int64_t d = Den();
    int64_t n;
    do n = R(1, d - 1);
    while (std::gcd(n, d) != 1);
    return Mixed(Whole(), d, n);
  }
  std::string Improper() {
    const int64_t d = Den();
    int64_t n;
    do n = R(d + 1, 3 * d);
    while (std::gcd(n, d) != 1);
    return Frac(d, n);
  }
  std::string Integer() { return std::to_string(R(1, 9)); }
  std::string Decimal() {
    const int places = static_cast<int>(R(1, 2));
    const int64_t top = places == 1 ? 9 : 99;
    int64_t digits;
    do digits = R(1, top);
    while (digits % 10 == 0);
    std::string d = std::to_string(digits);
    while (static_cast<int>(d.size()) < places) d = "0" + d;
    return std::to_string(R(0, 2)) + "." + d;
  }
  std::string Join(const std::vector<std::string>& terms, const std::vector<char>& ops) {
    std::string s = terms[0];
    for (size_t i = 1; i < terms.size(); ++i) s += std::string(1, ops[i - 1]) + terms[i];
    return s;
  }
  std::string Ordered(const std::string& a, char op, const std::string& b) {
    return Coin() ? a + op + b : b + op + a;
  }
  // a − b with the larger first (a sum otherwise).
  std::string Either(const std::string& a, const std::string& b) {
    if (Coin()) return Ordered(a, '+', b);
    return LessQ(ValueOf(a), ValueOf(b)) ? b + "-" + a : a + "-" + b;
  }

  std::string Make(const SheetSkill& s) {
    const std::string id = s.id;
    const int terms = std::clamp(c.terms, s.minTerms, s.maxTerms);
    std::vector<std::string> t;
    if (id == "sum-like" || id == "difference-like") {
      const int64_t d = Den();
      for (int i = 0; i < terms; ++i) t.push_back(Proper(d));
      return Join(t, std::vector<char>(terms - 1, id == "sum-like" ? '+' : '-'));
    }
    if (id == "sum-unlike" || id == "difference-unlike") {
      for (int i = 0; i < terms; ++i) t.push_back(Proper());
      return Join(t, std::vector<char>(terms - 1, id == "sum-unlike" ? '+' : '-'));
    }
    if (id == "sum-mixed" || id == "sum-mixed-carry") {
      for (int i = 0; i < terms; ++i) t.push_back(MixedNumber());
      return Join(t, std::vector<char>(terms - 1, '+'));
    }
    if (id.rfind("difference-", 0) == 0) {  // mixed minus mixed, the larger first
      std::string a = MixedNumber(), b = MixedNumber();
      if (LessQ(ValueOf(a), ValueOf(b))) std::swap(a, b);
      return a + "-" + b;
    }
    // Every number is drawn in a statement of its own, last operand first: the order in which a
    // function's arguments are evaluated is the compiler's choice, and the desktop's compiler took them
    // from the right, so its sheets stay as they were and the browser's now match them.
    if (id == "integer-mixed") {
      const std::string b = MixedNumber(), a = Integer();
      return Either(a, b);
    }
    if (id == "integer-fraction") {
      const std::string b = Proper(), a = Integer();
      return Either(a, b);
    }
    if (id == "integer-minus-fraction-split") {
      const std::string b = Proper(), a = Integer();
      return a + "-" + b;
    }
    if (id == "integer-improper") {
      const std::string b = Improper(), a = Integer();
      return Either(a, b);
    }
    if (id == "mixed-improper") {
      const std::string b = Improper(), a = MixedNumber();
      return Either(a, b);
    }
    if (id == "sum-three-kinds") {
      t = {MixedNumber(), Integer(), Proper()};
      for (size_t i = t.size(); i > 1; --i)
        std::swap(t[i - 1], t[static_cast<size_t>(R(0, static_cast<int64_t>(i) - 1))]);
      return Join(t, {Coin() ? '+' : '-', Coin() ? '+' : '-'});
    }
    if (id == "sum-decimal") {
      const std::string b = Proper(), a = Decimal();
      return Either(a, b);
    }
    if (id == "product" || id == "product-cancel") {
      for (int i = 0; i < terms; ++i) t.push_back(Coin() || i == 0 ? Proper() : Improper());
      return Join(t, std::vector<char>(terms - 1, '*'));
    }
    if (id == "quotient" || id == "quotient-cancel") {
      const std::string b = Proper(), a = Coin() ? Proper() : Improper();
      return a + "/" + b;
    }
    if (id == "product-mixed") {
      const std::string b = Coin() ? Proper() : MixedNumber();
      const char op = Coin() ? '*' : '/';
      const std::string a = MixedNumber();
      return Ordered(a, op, b);
    }
    if (id == "product-integer") {
      const std::string b = Proper();
      const char op = Coin() ? '*' : '/';
      const std::string a = std::to_string(R(2, 12));
      return Ordered(a, op, b);
    }
    if (id == "product-decimal") {
      const std::string b = Proper();
      const char op = Coin() ? '*' : '/';
      const std::string a = Decimal();
      return Ordered(a, op, b);
    }
    if (id == "product-integer-mixed") {
      const std::string b = MixedNumber();
      const char op = Coin() ? '*' : '/';
      const std::string a = std::to_string(R(2, 12));
      return Ordered(a, op, b);
    }
    if (id == "reduce") {
      int64_t q = R(2, std::max<int64_t>(2, c.maxDen / 2));
      int64_t p = R(1, q - 1);
      const int64_t g = std::gcd(p, q);
      p /= g;
      q /= g;
      const int64_t k = R(2, std::max<int64_t>(2, c.maxDen / q));
      const std::string f = Frac(q * k, p * k);
      return c.mixedAnswers && R(0, 3) == 0 ? std::to_string(Whole()) + "k" + f : f;
    }
    if (id == "improper-to-mixed") return Improper();
    if (id == "mixed-to-improper") return MixedNumber();
    if (id == "decimal-to-fraction") {
      const int places = static_cast<int>(R(1, 3));
      int64_t top = 9;
      for (int i = 1; i < places; ++i) top = top * 10 + 9;
      int64_t digits;
      do digits = R(1, top);
      while (digits % 10 == 0);
      std::string d = std::to_string(digits);
      while (static_cast<int>(d.size()) < places) d = "0" + d;
      return std::to_string(c.mixedAnswers ? R(0, 3) : 0) + "." + d;
    }
    if (id == "fraction-to-decimal") {
      // Few proper fractions terminate (fifteen up to twelfths): one in three is improper (4b5 = 1.25).
      const int64_t d = Den();
      if (R(0, 2) != 0) return Proper(d);
      int64_t n;
      do n = R(d + 1, 2 * d - 1);
      while (std::gcd(n, d) != 1);
      return Frac(d, n);
    }
    if (id == "fraction-to-repeating" || id == "repeating-to-fraction") {
      return Proper(Den());  // the repeating form is made from it by the caller
    }
    if (id == "factorise") {
      const int64_t top = c.maxAnswer > 0 ? std::min<int64_t>(c.maxAnswer, 100000) : 1000;
      return std::to_string(R(4, std::max<int64_t>(4, top)));
    }
    if (id == "ratio") {
      const int64_t top = c.maxAnswer > 0 ? std::max<int64_t>(2, std::min<int64_t>(c.maxAnswer, 50)) : 12;
      const int64_t p = R(1, top), k = R(2, 12);
      int64_t q;
      do q = R(1, top);
      while (q == p);  // a ratio of equal parts is no exercise
      return std::to_string(p * k) + ":" + std::to_string(q * k);
    }
    if (id == "equation") {
      const int64_t top = c.maxAnswer > 0 ? std::min<int64_t>(c.maxAnswer, 1000) : 12;
      const int64_t x = R(1, std::max<int64_t>(1, top)), a = R(2, 9), b = R(1, 20);
      switch (R(0, 3)) {
        case 0: return std::to_string(a) + "*x+" + std::to_string(b) + "=" + std::to_string(a * x + b);
        case 1: return std::to_string(a) + "*x-" + std::to_string(b) + "=" + std::to_string(a * x - b);
        case 2: return "x+" + std::to_string(b) + "=" + std::to_string(x + b);
        default: return std::to_string(a) + "*x=" + std::to_string(a * x);
      }
    }
    if (id == "order-of-operations") {
      auto operand = [&] { return R(0, 2) == 0 ? Integer() : Proper(); };
      const std::string a = operand(), b = Proper(), d = Proper();
      const char first = "+-"[R(0, 1)], second = "*/"[R(0, 1)];
      switch (R(0, 2)) {
        case 0: return a + first + b + second + d;
        case 1: return "(" + a + first + b + ")" + second + d;
        default: return b + second + d + first + a;
      }
    }
    return "";
  }
};

// ---- Checking one candidate ------------------------------------------------------------------------

enum class Rejection { None, Guarantee, Den, Terms, Reduce, MaxAnswer, Mixed, Repeat, Count };

// The multiset of operands and operators with the answer: two problems with the same key are the same
// problem with its operands reordered.
std::string RepeatKey(const std::string& expr, const std::string& answer) {
  std::vector<std::string> operands;
  std::string ops, current;
  for (char ch : expr) {
    if (ch == '+' || ch == '-' || ch == '*' || ch == '/' || ch == '(' || ch == ')') {
      if (!current.empty()) operands.push_back(current);
      current.clear();
      ops += ch;
    } else {
      current += ch;
    }
  }
  if (!current.empty()) operands.push_back(current);
  std::sort(operands.begin(), operands.end());
  std::sort(ops.begin(), ops.end());
  std::string key;
  for (const auto& o : operands) key += o + ",";
  return key + "|" + ops + "|" + answer;
}

// The operands of a flat chain with the operator in front of each (the first gets '+').
std::vector<std::pair<char, Q>> Operands(const std::string& expr) {
  std::vector<std::pair<char, Q>> out;
  char op = '+';
  std::string current;
  for (char ch : expr) {
    if (ch == '+' || ch == '-' || ch == '*' || ch == '/') {
      out.push_back({op, ValueOf(current)});
      current.clear();
      op = ch;
    } else {
      current += ch;
    }
  }
  out.push_back({op, ValueOf(current)});
  return out;
}

// Whether the answer of a chain must be reduced at the end: for sums the combined numerator over the
// least common denominator, for products the product of numerators over the product of denominators.
bool ChainReduces(const std::string& expr, bool product) {
  const auto ops = Operands(expr);
  if (product) {
    int64_t n = 1, d = 1;
    for (const auto& [op, q] : ops) {
      const int64_t a = q.n < 0 ? -q.n : q.n;
      if (op == '/') {
        n *= q.d;
        d *= a;
      } else {
        n *= a;
        d *= q.d;
      }
      if (n > (int64_t{1} << 40) || d > (int64_t{1} << 40)) return true;
    }
    return n != 0 && std::gcd(n, d) > 1;
  }
  int64_t l = 1;
  for (const auto& [op, q] : ops) l = std::lcm(l, q.d);
  int64_t n = 0;
  for (const auto& [op, q] : ops) n += (op == '-' ? -1 : 1) * q.n * (l / q.d);
  return n != 0 && std::gcd(n < 0 ? -n : n, l) > 1;
}

// The whole-text check accepts the text as it is written.
bool Accepted(const std::string& expr) {
  return CheckText(expr, {.collectText = true}) == 0 && CheckedText == expr;
}

struct Candidate {
  SheetProblem problem;
  Q value;  // the answer's value where it has one
  bool hasValue = false;
  bool reduces = false;
};

// The parts of Build: each makes the problem of one kind of skill from its candidate text and returns
// Rejection::None when the candidate stands, out.problem and its value filled in.

// Carrying into the whole and borrowing a whole, by the fraction parts of the two mixed numbers, as the
// skill's name says (true for skills that do not say).
bool CarriesAsSkillSays(const std::string& id, const std::string& expr) {
  if (id == "sum-mixed" || id == "sum-mixed-carry" || id.rfind("difference-", 0) == 0) {
    if (id == "sum-mixed" || id == "sum-mixed-carry") {
      Q parts;
      for (const auto& [op, q] : Operands(expr)) parts = AddQ(parts, Q{q.n % q.d, q.d});
      const bool carries = !LessQ(parts, Q{1, 1});
      if (carries != (id == "sum-mixed-carry")) return false;
    } else if (id != "difference-like" && id != "difference-unlike") {
      const auto ops = Operands(expr);
      const Q a{ops[0].second.n % ops[0].second.d, ops[0].second.d};
      const Q b{ops[1].second.n % ops[1].second.d, ops[1].second.d};
      const bool borrows = LessQ(a, b);
      if (borrows != (id != "difference-mixed")) return false;
    }
  }
  return true;
}

// Like or unlike written denominators, as the skill's name says (true for skills that do not say).
bool DenominatorsAsSkillSays(const std::string& id, const std::string& expr) {
  if (id == "sum-like" || id == "difference-like" || id == "sum-unlike" || id == "difference-unlike") {
    // Written denominators (the operands are proper fractions as written, so reading them is exact).
    std::vector<std::string> dens;
    for (size_t i = 0; i < expr.size();) {
      const size_t b = expr.find('b', i);
      if (b == std::string::npos) break;
      size_t st = b;
      while (st > 0 && std::isdigit(static_cast<unsigned char>(expr[st - 1]))) --st;
      dens.push_back(expr.substr(st, b - st));
      i = b + 1;
    }
    const bool same =
        std::all_of(dens.begin(), dens.end(), [&](const std::string& d) { return d == dens[0]; });
    if (same != (id == "sum-like" || id == "difference-like")) return false;
  }
  return true;
}

// A sum or product line: evaluated, classified and its process made.
Rejection BuildProcessLine(const SheetSkill& s, const std::string& expr, CalculationStateGuard& guard,
                           Candidate& out) {
  const std::string id = s.id;
  SheetProblem& p = out.problem;
  if (!Accepted(expr)) return Rejection::Guarantee;
  EvaluateExpression(expr);
  if (EvalStatus != EvalStatusNumber(EvalOutcome::Success) || !guard.Quiet() || IsError(AnswerValueImproper))
    return Rejection::Guarantee;
  p.answer = AnswerMixedText;
  const Bunsuu v = AnswerValueImproper;
  out.value = Q{v.sign < 0 ? -v.num : v.num, v.den};
  out.hasValue = true;
  if (v.sign <= 0) return Rejection::Guarantee;  // a sheet asks for positive answers
  if (ClassifyExpression(expr).type != s.processType) return Rejection::Guarantee;
  ProcessState.alternativeMethod = s.alternative;
  const int made = MakeProcess(expr, true);
  ProcessState.alternativeMethod = false;
  if (!guard.Quiet() || !ProcessState.processOk) return Rejection::Guarantee;
  if (s.kind == SkillKind::OrderOfOperations) {
    if (made != 0) return Rejection::Guarantee;
  } else {
    if (made != 1 || ProcessState.processType != s.processType || ProcessState.processText.empty())
      return Rejection::Guarantee;
    p.processText = ProcessState.processText;
    p.figure = ProcessState.figure;
    p.factors = ProcessState.factors;
  }
  const bool product = s.processType >= ProcessType::FractionProduct;
  out.reduces = s.kind == SkillKind::Process && ChainReduces(expr, product);
  if (!CarriesAsSkillSays(id, expr) || !DenominatorsAsSkillSays(id, expr)) return Rejection::Guarantee;
  return Rejection::None;
}

// A number written in another form (reduced, mixed, improper, as a fraction), with the process of the
// conversion. A repeating decimal's candidate is the fraction whose expansion becomes the problem.
Rejection BuildConversion(const SheetSkill& s, std::string& expr, CalculationStateGuard& guard,
                          Candidate& out) {
  SheetProblem& p = out.problem;
  if (s.kind == SkillKind::RepeatingToFraction) {
    const Q q = ValueOf(expr);
    if (q.d == 0 || IsTerminating(Norm(q).d)) return Rejection::Guarantee;
    expr = RepeatingDecimalText(q.n, q.d);
    // A period of at most three digits, as school exercises have.
    if (expr == "n" || expr.find('@') == std::string::npos || expr.size() - expr.find('@') > 4)
      return Rejection::Guarantee;
  }
  if (!Accepted(expr)) return Rejection::Guarantee;
  const Bunsuu v = ParseNumber(expr);
  if (IsError(v) || v.num == 0) return Rejection::Guarantee;
  std::string raw;
  Bunsuu answer;
  switch (s.kind) {
    case SkillKind::Reduction:
      if (!IsReducible(v)) return Rejection::Guarantee;
      raw = ReductionProcess(expr);
      answer = Reduce(v);
      break;
    case SkillKind::ToMixed: {
      const Bunsuu w = ToImproper(v);
      if (w.num < w.den) return Rejection::Guarantee;
      raw = ImproperToMixedProcess(w, expr);
      answer = ToMixed(Reduce(w));
      out.reduces = IsReducible(w);
      break;
    }
    case SkillKind::ToImproper:
      raw = MixedToImproperProcess(v, expr);
      answer = ToImproper(Reduce(v));
      break;
    case SkillKind::DecimalToFraction:
      raw = DecimalProcess(expr);
      answer = Reduce(ToMixed(v));
      out.reduces = IsReducible(ToMixed(v));
      break;
    default:
      raw = RepeatingDecimalProcess(expr);
      answer = Reduce(ToMixed(v));
      break;
  }
  if (raw.empty() || raw == "n" || IsError(answer) || !guard.Quiet()) return Rejection::Guarantee;
  p.processText = NormalizeProcessText(raw);
  p.answer = FormatBunsuu(answer, 0);
  const Bunsuu iv = ToImproper(answer);
  out.value = Q{iv.num, iv.den};
  out.hasValue = true;
  return Rejection::None;
}

// A fraction as a terminating or repeating decimal: no process.
Rejection BuildDecimal(const SheetSkill& s, const std::string& expr, CalculationStateGuard& guard,
                       Candidate& out) {
  SheetProblem& p = out.problem;
  if (!Accepted(expr)) return Rejection::Guarantee;
  const Q q = ValueOf(expr);
  if (q.d == 0) return Rejection::Guarantee;
  const bool terminates = IsTerminating(Norm(q).d);
  if (terminates != (s.kind == SkillKind::FractionToDecimal)) return Rejection::Guarantee;
  // An improper fraction's decimal is its whole part before the decimal of the rest (5/4 = 1.25).
  const Q v = Norm(q);
  if (v.n <= 0) return Rejection::Guarantee;
  const int64_t whole = v.n / v.d;
  p.answer = RepeatingDecimalText(v.n % v.d, v.d);
  if (p.answer == "n" || !guard.Quiet()) return Rejection::Guarantee;
  if (whole > 0) {
    if (p.answer.rfind("0.", 0) != 0) return Rejection::Guarantee;
    p.answer = std::to_string(whole) + p.answer.substr(1);
  }
  if (p.answer.find('@') != std::string::npos && p.answer.size() - p.answer.find('@') > 4)
    return Rejection::Guarantee;
  return Rejection::None;
}

Rejection BuildFactorisation(const std::string& expr, CalculationStateGuard& guard, Candidate& out) {
  SheetProblem& p = out.problem;
  if (!Accepted(expr)) return Rejection::Guarantee;
  std::vector<PrimePower> f;
  if (!FactorPrimePowers(std::stoull(expr), f, false)) return Rejection::Guarantee;
  int count = 0;
  for (const auto& pp : f) count += pp.exponent;
  if (count < 3 || f.size() < 2) return Rejection::Guarantee;  // a composite worth factorising
  p.answer = PrimeFactorisation(expr);
  if (p.answer == "n" || !guard.Quiet()) return Rejection::Guarantee;
  out.value = Q{static_cast<int64_t>(std::stoll(expr)), 1};
  out.hasValue = true;
  return Rejection::None;
}

Rejection BuildRatio(const SheetControls& c, const std::string& expr, CalculationStateGuard& guard,
                     Candidate& out) {
  SheetProblem& p = out.problem;
  if (!Accepted(expr)) return Rejection::Guarantee;
  p.answer = SimplifyRatio(expr, 0);
  if (p.answer == "n" || p.answer == expr || !guard.Quiet()) return Rejection::Guarantee;
  if (c.maxAnswer > 0) {
    const size_t colon = p.answer.find(':');
    if (colon == std::string::npos) return Rejection::Guarantee;
    const int64_t a = std::stoll(p.answer.substr(0, colon)), b = std::stoll(p.answer.substr(colon + 1));
    out.value = Q{std::max(a, b), 1};
    out.hasValue = true;
  }
  return Rejection::None;
}

Rejection BuildEquation(const std::string& expr, CalculationStateGuard& guard, Candidate& out) {
  SheetProblem& p = out.problem;
  if (!Accepted(expr)) return Rejection::Guarantee;
  const std::string x = SolveLinear(expr, 0);
  if (x == "n" || x.find('(') != std::string::npos || RelationKind != RelationNumber(Relation::Equal) ||
      !guard.Quiet())
    return Rejection::Guarantee;
  p.answer = "x=" + x;
  out.value = ValueOf(x);
  out.hasValue = out.value.d != 0;
  if (!out.hasValue) return Rejection::Guarantee;
  return Rejection::None;
}

// The controls the teacher set, over a candidate that stands.
Rejection CheckControls(const SheetSkill& s, const SheetControls& c, const Candidate& out) {
  const std::string id = s.id;
  ReduceRule rule = FixedReduce(id);
  if (rule == ReduceRule::Any && (s.controls & CONTROL_REDUCE)) rule = c.reduce;
  if (rule != ReduceRule::Any && s.kind != SkillKind::Reduction && out.reduces != (rule == ReduceRule::Yes))
    return FixedReduce(id) != ReduceRule::Any ? Rejection::Guarantee : Rejection::Reduce;
  if (out.hasValue && c.maxAnswer > 0 && (s.controls & CONTROL_MAX_ANSWER)) {
    const Q v = out.value;
    if (v.n > c.maxAnswer * v.d || -v.n > c.maxAnswer * v.d) return Rejection::MaxAnswer;
  }
  if (!c.mixedAnswers && (s.controls & CONTROL_MIXED) && out.hasValue) {
    const Q v = Norm(out.value);
    if (v.d != 1 && (v.n > v.d || -v.n > v.d)) return Rejection::Mixed;
  }
  return Rejection::None;
}

Rejection BuildKind(const SheetSkill& s, const SheetControls& c, std::string& expr,
                    CalculationStateGuard& guard, Candidate& out) {
  switch (s.kind) {
    case SkillKind::Process:
    case SkillKind::OrderOfOperations: return BuildProcessLine(s, expr, guard, out);
    case SkillKind::Reduction:
    case SkillKind::ToMixed:
    case SkillKind::ToImproper:
    case SkillKind::DecimalToFraction:
    case SkillKind::RepeatingToFraction: return BuildConversion(s, expr, guard, out);
    case SkillKind::FractionToDecimal:
    case SkillKind::FractionToRepeating: return BuildDecimal(s, expr, guard, out);
    case SkillKind::Factorisation: return BuildFactorisation(expr, guard, out);
    case SkillKind::Ratio: return BuildRatio(c, expr, guard, out);
    case SkillKind::Equation: return BuildEquation(expr, guard, out);
  }
  return Rejection::None;
}

Rejection Build(const SheetSkill& s, const SheetControls& c, std::string expr, CalculationStateGuard& guard,
                Candidate& out) {
  guard.Quiet();
  out.problem.processType = s.processType;
  const Rejection made = BuildKind(s, c, expr, guard, out);
  if (made != Rejection::None) return made;
  out.problem.expr = expr;
  return CheckControls(s, c, out);
}

const char* RejectionControl(Rejection r) {
  switch (r) {
    case Rejection::Den: return CONTROL_NAMES[0];
    case Rejection::Terms: return CONTROL_NAMES[1];
    case Rejection::Reduce: return CONTROL_NAMES[2];
    case Rejection::MaxAnswer: return CONTROL_NAMES[3];
    case Rejection::Mixed: return CONTROL_NAMES[4];
    default: return CONTROL_NAMES[0];
  }
}

// The control of a skill that bounds how many different problems it has.
Rejection PoolControl(const SheetSkill& s) {
  if (s.controls & CONTROL_MAX_DEN) return Rejection::Den;
  if (s.controls & CONTROL_MAX_ANSWER) return Rejection::MaxAnswer;
  if (s.controls & CONTROL_TERMS) return Rejection::Terms;
  return Rejection::Den;
}

uint64_t Fnv1a(const std::string& s) {
  uint64_t h = 1469598103934665603ull;
  for (unsigned char ch : s) {
    h ^= ch;
    h *= 1099511628211ull;
  }
  return h;
}

bool ParseWhole(const std::string& text, int64_t lo, int64_t hi, int64_t& value) {
  size_t a = text.find_first_not_of(' ');
  size_t b = text.find_last_not_of(' ');
  if (a == std::string::npos) return false;
  const std::string t = text.substr(a, b - a + 1);
  if (t.empty() || t.size() > 18) return false;
  int64_t v = 0;
  for (char ch : t) {
    if (ch < '0' || ch > '9') return false;
    v = v * 10 + (ch - '0');
  }
  if (v < lo || v > hi) return false;
  value = v;
  return true;
}

std::string RangeMessage(const char* name, int64_t lo, int64_t hi) {
  return Quote(name) + "は " + std::to_string(lo) + " から " + std::to_string(hi) +
         " までの数で指定してください。";
}

}  // namespace

// ---- The seeded stream -------------------------------------------------------------------------------

uint64_t SheetRandom::Next() {
  uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

int64_t SheetRandom::Between(int64_t lo, int64_t hi) {
  if (hi <= lo) return lo;
  const uint64_t range = static_cast<uint64_t>(hi) - static_cast<uint64_t>(lo) + 1;
  // The largest multiple of range that fits: values at or above it are drawn again.
  const uint64_t limit = range == 0 ? 0 : UINT64_MAX - (UINT64_MAX % range + 1) % range;
  uint64_t x;
  do x = Next();
  while (range != 0 && x > limit);
  return static_cast<int64_t>(static_cast<uint64_t>(lo) + (range == 0 ? x : x % range));
}

uint64_t SheetStreamSeed(const std::string& skill, uint64_t seed, char version) {
  SheetRandom mix(seed ^ Fnv1a(skill));
  SheetRandom out(mix.Next() ^ (static_cast<uint64_t>(version - 'A' + 1) * 0xD1B54A32D192ED03ull));
  return out.Next();
}

// ---- Skills -----------------------------------------------------------------------------------------

const std::vector<SheetSkill>& SheetSkills() { return SKILLS; }

const SheetSkill* FindSheetSkill(const std::string& id) {
  for (const auto& s : SKILLS)
    if (id == s.id) return &s;
  return nullptr;
}

std::vector<std::string> SkillControlNames(const SheetSkill& skill) {
  std::vector<std::string> out;
  for (int i = 0; i < 5; ++i)
    if (skill.controls & (1u << i)) out.push_back(CONTROL_NAMES[i]);
  return out;
}

std::vector<std::string> SkillControlIds(const SheetSkill& skill) {
  std::vector<std::string> out = {"count", "seed", "version"};
  for (int i = 0; i < 5; ++i)
    if (skill.controls & (1u << i)) out.push_back(CONTROL_IDS[i]);
  return out;
}

// ---- Controls ---------------------------------------------------------------------------------------

std::string CheckSheetControls(const SheetControls& c) {
  const SheetSkill* s = FindSheetSkill(c.skill);
  if (!s) return "「" + c.skill + "」という問題の種類はありません。";
  if (c.count < 1 || c.count > SHEET_MAX_COUNT) return RangeMessage(COUNT_NAME, 1, SHEET_MAX_COUNT);
  if (c.version < 'A' || c.version > 'Z')
    return Quote(VERSION_NAME) + "は A から Z までの文字で指定してください。";
  const std::string skillName = std::string("「") + s->name + "」";
  if (s->controls & CONTROL_MAX_DEN) {
    if (c.maxDen < 2 || c.maxDen > SHEET_MAX_DENOMINATOR)
      return RangeMessage(CONTROL_NAMES[0], 2, SHEET_MAX_DENOMINATOR);
    int least = 2;
    const std::string id = s->id;
    if (id == "sum-unlike" || id == "difference-unlike") least = 3;
    if (id == "reduce") least = 4;
    if (id == "fraction-to-repeating" || id == "repeating-to-fraction") least = 3;
    if (c.maxDen < least)
      return Quote(CONTROL_NAMES[0]) + "が " + std::to_string(c.maxDen) + " では、" + skillName +
             "の問題は作れません。" + std::to_string(least) + " 以上にしてください。";
  }
  if (c.terms < s->minTerms || c.terms > s->maxTerms) {
    if (s->minTerms == s->maxTerms && c.terms == 2 && s->minTerms != 2) {
      // The default of the control: the skill's own number of terms is taken.
    } else if (s->minTerms == s->maxTerms) {
      return Quote(CONTROL_NAMES[1]) + "は、" + skillName + "では " + std::to_string(s->minTerms) +
             " だけです。";
    } else {
      return Quote(CONTROL_NAMES[1]) + "は、" + skillName + "では " + std::to_string(s->minTerms) + " から " +
             std::to_string(s->maxTerms) + " までです。";
    }
  }
  if (c.reduce != ReduceRule::Any && !(s->controls & CONTROL_REDUCE))
    return Quote(CONTROL_NAMES[2]) + "は、" + skillName + "では選べません（問題の種類で決まっています）。";
  if (c.maxAnswer < 0 || c.maxAnswer > SHEET_MAX_ANSWER_LIMIT)
    return RangeMessage(CONTROL_NAMES[3], 1, SHEET_MAX_ANSWER_LIMIT);
  if (c.maxAnswer > 0 && !(s->controls & CONTROL_MAX_ANSWER))
    return Quote(CONTROL_NAMES[3]) + "は、" + skillName + "では選べません。";
  if (!c.mixedAnswers && !(s->controls & CONTROL_MIXED))
    return Quote(CONTROL_NAMES[4]) + "をなしにすると、" + skillName + "の問題は作れません。";
  return "";
}

std::string ParseSheetCount(const std::string& text, int& value) {
  int64_t v;
  if (!ParseWhole(text, 1, SHEET_MAX_COUNT, v)) return RangeMessage(COUNT_NAME, 1, SHEET_MAX_COUNT);
  value = static_cast<int>(v);
  return "";
}

std::string ParseSheetMaxDen(const std::string& text, int& value) {
  int64_t v;
  if (!ParseWhole(text, 2, SHEET_MAX_DENOMINATOR, v))
    return RangeMessage(CONTROL_NAMES[0], 2, SHEET_MAX_DENOMINATOR);
  value = static_cast<int>(v);
  return "";
}

std::string ParseSheetTerms(const std::string& text, int& value) {
  int64_t v;
  if (!ParseWhole(text, 1, 4, v)) return RangeMessage(CONTROL_NAMES[1], 1, 4);
  value = static_cast<int>(v);
  return "";
}

std::string ParseSheetReduce(const std::string& text, ReduceRule& value) {
  if (text == "yes")
    value = ReduceRule::Yes;
  else if (text == "no")
    value = ReduceRule::No;
  else if (text == "any")
    value = ReduceRule::Any;
  else
    return Quote(CONTROL_NAMES[2]) +
           "は yes（約分する答え）、no（約分しない答え）、any（どちらでも）で指定してください。";
  return "";
}

std::string ParseSheetMaxAnswer(const std::string& text, int64_t& value) {
  int64_t v;
  if (!ParseWhole(text, 1, SHEET_MAX_ANSWER_LIMIT, v))
    return RangeMessage(CONTROL_NAMES[3], 1, SHEET_MAX_ANSWER_LIMIT);
  value = v;
  return "";
}

std::string ParseSheetMixed(const std::string& text, bool& value) {
  if (text == "yes")
    value = true;
  else if (text == "no")
    value = false;
  else
    return Quote(CONTROL_NAMES[4]) + "は yes か no で指定してください。";
  return "";
}

std::string ParseSheetSeed(const std::string& text, uint64_t& value) {
  int64_t v;
  if (!ParseWhole(text, 0, 999999999999999999, v))
    return Quote(SEED_NAME) + "は 0 から 999999999999999999 までの数で指定してください。";
  value = static_cast<uint64_t>(v);
  return "";
}

std::string ParseSheetVersion(const std::string& text, char& value) {
  if (text.size() != 1 || text[0] < 'A' || text[0] > 'Z')
    return Quote(VERSION_NAME) + "は A から Z までの文字で指定してください。";
  value = text[0];
  return "";
}

// ---- Making the sheet -------------------------------------------------------------------------------

Sheet MakeSheet(const SheetControls& controls) {
  Sheet sheet;
  sheet.controls = controls;
  sheet.message = CheckSheetControls(controls);
  if (!sheet.message.empty()) return sheet;
  const SheetSkill& skill = *FindSheetSkill(controls.skill);
  sheet.skill = &skill;
  SheetControls c = controls;
  if (c.terms < skill.minTerms || c.terms > skill.maxTerms) c.terms = skill.minTerms;
  sheet.controls.terms = c.terms;

  CalculationStateGuard guard;
  SheetRandom rng(SheetStreamSeed(c.skill, c.seed, c.version));
  Generator gen{rng, c};
  std::vector<std::string> keys;
  std::vector<int> rejected(static_cast<int>(Rejection::Count), 0);
  // Bounded: a fixed number of tries for each problem, and a stop when long runs find nothing new.
  const int limit = 2000 + 400 * c.count;
  int sinceLast = 0;
  while (static_cast<int>(sheet.problems.size()) < c.count && sheet.attempts < limit && sinceLast < 3000) {
    ++sheet.attempts;
    ++sinceLast;
    Candidate cand;
    const std::string expr = gen.Make(skill);
    Rejection r = Build(skill, c, expr, guard, cand);
    if (r == Rejection::None) {
      const std::string key = RepeatKey(cand.problem.expr, cand.problem.answer);
      bool repeat = false;
      for (size_t i = 0; i < keys.size() && !repeat; ++i)
        repeat = keys[i] == key || sheet.problems[i].expr == cand.problem.expr;
      if (repeat)
        r = Rejection::Repeat;
      else {
        keys.push_back(key);
        sheet.problems.push_back(std::move(cand.problem));
        sinceLast = 0;
        continue;
      }
    }
    ++rejected[static_cast<int>(r)];
  }
  if (static_cast<int>(sheet.problems.size()) < c.count) {
    // The control that turned away the most candidates is the one to name.
    Rejection worst = Rejection::MaxAnswer;
    int most = -1;
    for (Rejection r : {Rejection::Reduce, Rejection::MaxAnswer, Rejection::Mixed, Rejection::Repeat}) {
      if (rejected[static_cast<int>(r)] > most) {
        most = rejected[static_cast<int>(r)];
        worst = r;
      }
    }
    // Turned away as repeats, the skill has run out of different problems: the control that sets how
    // many there are is named (never one the skill does not take).
    if (most <= 0 || worst == Rejection::Repeat) worst = PoolControl(skill);
    const std::string control = Quote(RejectionControl(worst));
    if (sheet.problems.empty())
      sheet.message = "この条件では問題を作れませんでした。" + control + "を見直してください。";
    else
      sheet.message = "この条件に合う問題は " + std::to_string(sheet.problems.size()) +
                      " 問しか作れませんでした（" + std::to_string(c.count) + " 問のうち）。" + control +
                      "を見直してください。";
  }
  return sheet;
}

std::string SheetTitle(const Sheet& sheet) {
  const std::string name = sheet.skill ? sheet.skill->name : sheet.controls.skill;
  return name + "　" + std::string(1, sheet.controls.version) + "版　シード" +
         std::to_string(sheet.controls.seed);
}

void PutSheetOnPage(const Sheet& sheet) {
  std::vector<std::string> lines;
  for (const auto& p : sheet.problems) lines.push_back(p.expr);
  ClearLines();
  ReplaceAllLines(lines);
  NotePage.title = SheetTitle(sheet);
  NotePage.selected = 0;
  // A new page: saving it asks for a name instead of writing over the file the page came from.
  NotePage.fileName.clear();
  NotePage.modified = true;
}

bool SheetSikiBytes(const Sheet& sheet, std::string& bytes) {
  const NotePageData saved = NotePage;
  ResetNotePage();
  PutSheetOnPage(sheet);
  const bool ok = SikiFileBytes(bytes);
  NotePage = saved;
  return ok;
}
