// Two-term sums of an integer and a fraction: the default generator turns the integer into a fraction
// over the fraction's denominator; the other method keeps integers and fractions apart, merges an integer
// with a proper fraction into a mixed number and borrows one whole to subtract a fraction from an integer.
#include <cerrno>
#include <cstdlib>
#include <optional>

#include "engine/Bunio.h"
#include "engine/Settings.h"
#include "platform/Platform.h"
#include "process/CalcProcManage-Internal.h"
#include "process/CalcProcManage.h"
#include "process/MainDspManage.h"

using namespace procdetail;

namespace {

bool HasB(const std::string& t) { return t.find('b') != std::string::npos; }

// The operator of a two-term text: its first "+", or when there is none its first "-".
size_t FindTwoTermOperator(const std::string& t) {
  size_t pos = t.find('+');
  if (pos == std::string::npos) pos = t.find('-');
  return pos;
}

// A fraction term (no "k") whose numerator is not less than its denominator.
bool IsImproperFraction(const std::string& t) {
  if (!HasB(t) || t.find('k') != std::string::npos) return false;
  Bunsuu b = ReadNumber(t);
  return b.den != 0 && b.num >= b.den;
}

// An integer and a proper fraction written as one mixed number; with integer 0 only the fraction.
std::string Merge(const std::string& integer, const std::string& fraction) {
  if (integer == "0") return fraction;
  return integer + "k" + fraction;
}

std::string Rec(Advice step, const std::string& e) { return StepRecord(step, 'X', e); }

// Reads a non-negative integer text as a signed 64-bit integer.
bool ReadInt64(const std::string& text, int64_t& out) {
  if (text.empty() || text.size() > 19) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  errno = 0;
  char* end = nullptr;
  long long v = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0') return false;
  out = v;
  return true;
}

// Compares two non-negative integer texts by value; -2 when either is not an integer.
int CompareIntegers(const std::string& a, const std::string& b) {
  int64_t x = 0, y = 0;
  if (!ReadInt64(a, x) || !ReadInt64(b, y)) return -2;
  return x < y ? -1 : (x > y ? 1 : 0);
}

std::string WithoutSign(const std::string& v) {
  if (!v.empty() && (v[0] == 'm' || v[0] == 'p')) return v.substr(1);
  return v;
}

}  // namespace

std::string TwoTermSteps(const std::string& text) {
  ProcessStateData& st = ProcessState;
  std::string t = LastPart(text);
  size_t pos = FindTwoTermOperator(t);
  if (pos == std::string::npos || pos == 0) {
    RunFailed = true;
    return "";
  }
  std::string k = t.substr(0, pos), m = t.substr(pos + 1);
  char op = t[pos];
  std::string ops(1, op);
  std::string s;
  if (!k.empty() && (k[0] == 'm' || k[0] == '-')) {
    s = "m";
    k.erase(0, 1);
  } else if (!k.empty() && (k[0] == 'p' || k[0] == '+')) {
    k.erase(0, 1);
  }
  bool noImproper = !IsImproperFraction(k) && !IsImproperFraction(m);
  std::string out;
  if (op == '+' && s.empty() && noImproper) {
    if (HasB(k)) {
      out += Rec(Advice::IntegerInFront, t);
      std::swap(k, m);
    }
    out += Rec(Advice::JoinIntegerAndProperFraction, s + k + ops + m) + "=" + s + Merge(k, m);
    return out;
  }
  if (op == '-' && s == "m" && noImproper) {
    if (HasB(k)) {
      out += Rec(Advice::IntegerTimesOneThenCommonDenominator, t);
      std::swap(k, m);
    }
    out += Rec(Advice::MinusMinusToMinusBracket, s + k + ops + m);
    out += Rec(Advice::JoinIntegerAndProperFraction, s + "(" + k + "+" + m + ")");
    out += Rec(Advice::Finished, s + Merge(k, m));
    return out;
  }
  out += Rec(Advice::IntegerToImproperThenCommonDenominator, t);
  bool integerFirst = !HasB(k);
  const std::string& frac = integerFirst ? m : k;
  const std::string& integer = integerFirst ? k : m;
  Bunsuu f = ReadNumber(frac);
  Bunsuu fi;
  if (f.den == 0 || !CheckedImproper(f, fi)) {
    RunFailed = true;
    return out;
  }
  std::string d = Digits(fi.den);
  std::string numExpr;
  if (fi.num % fi.den == 0) {
    std::string q = Digits(fi.num / fi.den);
    std::string line = integerFirst ? s + integer + ops + q : s + q + ops + integer;
    out += Rec(Advice::DenominatorOneToInteger, t) + "=" + line;
    out += Rec(Advice::Finished, Value(line));
    return out;
  }
  std::string n = "1b" + integer + "*" + d;
  std::string j = Value(n);
  if (integerFirst) {
    out += Rec(Advice::IntegerTimesOneThenCommonDenominator, s + n + "b" + d + ops + frac);
    out += Rec(Advice::AddNumeratorsOverOneDenominator, s + d + "b" + j + ops + frac);
    numExpr = s + j + ops + Digits(fi.num);
  } else {
    out += Rec(Advice::IntegerTimesOneThenCommonDenominator, s + frac + ops + n + "b" + d);
    out += Rec(Advice::AddNumeratorsOverOneDenominator, s + frac + ops + d + "b" + j);
    numExpr = s + Digits(fi.num) + ops + j;
  }
  out += Rec(Advice::OneDenominatorForm, "[" + d + "B" + numExpr + "]");
  std::string jv = Value(numExpr);
  std::string h;
  if (!jv.empty() && jv[0] == 'm') {
    out += Rec(Advice::NumeratorMinusInFront, "[" + d + "B" + jv + "]");
    h = "m" + d + "b" + jv.substr(1);
  } else {
    h = d + "b" + jv;
  }
  Bunsuu hv = ReadNumber(h);
  if (hv.den == 0) {
    RunFailed = true;
    return out;
  }
  // An improper result is made a mixed number only when that is the form asked for: with the improper
  // fraction as the final form the answer would otherwise go to the mixed number and straight back.
  if (hv.num <= hv.den || PROCLASTANS == 1) {
    out += Rec(Advice::Finished, h);
  } else {
    out += Rec(Advice::ImproperAnswerToMixed, h);
    out += Rec(Advice::Finished, CanonicalMixedText(hv));
  }
  (void)st;
  return out;
}

namespace {

// The records of the other method for one run; FirstRecord replaces whatever was built before.
struct AltBuilder {
  std::string records;
  std::string input;  // T as handed in
  bool failed = false;

  void First(Advice step) { records = Rec(step, input); }
  void Add(Advice step, const std::string& e) { records += Rec(step, e); }
  void Chain(const std::string& e) { records += "=" + e; }

  // A − 1 of an integer text, checked; shows the 64-bit message on failure.
  bool Decrement(const std::string& a, std::string& out) {
    int64_t v = 0;
    if (!ReadInt64(a, v) || v < 1) {
      ShowMessage("int64 Over...", "Warning!!");
      failed = true;
      return false;
    }
    out = Digits(v - 1);
    return true;
  }

  // Borrowing steps of A − f (A ≥ 1).
  void Borrow(const std::string& a, const std::string& f, const std::string& one, bool withFirst) {
    if (a != "1") {
      if (withFirst) First(Advice::SplitOffOneAsImproper);
      std::string a1;
      if (!Decrement(a, a1)) return;
      Add(Advice::Continued, "(" + a1 + "+1)-" + f);
      Add(Advice::Continued, a1 + "+1-" + f);
      Add(Advice::Continued, a1 + "+(1-" + f + ")");
      Add(Advice::AddNumeratorsOverOneDenominator, a1 + "+(" + one + "-" + f + ")");
      if (CombineOverDenominator(one + "-" + f, false) == "n") return;
      Add(Advice::OneDenominatorForm, a1 + "+" + ProcessState.expressionFraction);
      Add(Advice::JoinIntegerAndProperFraction, a1 + "+" + ProcessState.combinedFraction);
      Add(Advice::Finished, a1 + "k" + ProcessState.combinedFraction);
    } else {
      if (withFirst) First(Advice::OneToImproperForCommonDenominator);
      Add(Advice::AddNumeratorsOverOneDenominator, one + "-" + f);
      if (CombineOverDenominator(one + "-" + f, false) == "n") return;
      Add(Advice::OneDenominatorForm, ProcessState.expressionFraction);
      Add(Advice::Finished, ProcessState.combinedFraction);
    }
  }

  // Negative borrowing steps of −A + f (A ≥ 1).
  void NegativeBorrow(const std::string& a, const std::string& f, const std::string& one, bool withFirst) {
    if (withFirst) First(Advice::MinusIntegerPlusFractionToBracket);
    if (a == "1") {
      Add(Advice::OneToImproperForCommonDenominator, "m(1-" + f + ")");
      Add(Advice::AddNumeratorsOverOneDenominator, "m(" + one + "-" + f + ")");
      if (CombineOverDenominator(one + "-" + f, false) == "n") return;
      Add(Advice::BracketThenMinusInFront, "m(" + ProcessState.expressionFraction + ")");
      Add(Advice::Finished, "m" + ProcessState.combinedFraction);
      return;
    }
    std::string a1;
    if (!Decrement(a, a1)) return;
    Add(Advice::SplitOffOneAsImproper, "m(" + a + "-" + f + ")");
    Add(Advice::Continued, "m(" + a1 + "+1-" + f + ")");
    Add(Advice::Continued, "m(" + a1 + "+" + one + "-" + f + ")");
    if (CombineOverDenominator(one + "-" + f, false) == "n") return;
    Add(Advice::Continued, "m(" + a1 + "+" + ProcessState.expressionFraction + ")");
    Add(Advice::JoinInBracketsToMixed, "m(" + a1 + "+" + ProcessState.combinedFraction + ")");
    Add(Advice::Finished, "m" + a1 + "k" + ProcessState.combinedFraction);
  }

  // −A − f without its first record when entered from another case.
  void NegativeSum(std::string a, const std::string& w, const std::string& f, bool mixed, bool withFirst) {
    if (a == "0") {
      if (withFirst) First(Advice::MinusZeroAndZeroMinusPositive);
      Add(Advice::Continued, "m" + (mixed ? w + "k" + f : f));
      return;
    }
    if (withFirst) First(Advice::MinusMinusToMinusBracket);
    if (mixed) {
      Add(Advice::SplitMixedInBrackets, "m(" + a + "+" + w + "k" + f + ")");
      Add(Advice::CalculateIntegers, "m(" + a + "+" + w + "+" + f + ")");
      a = Value(a + "+" + w);
    }
    Add(Advice::JoinIntegerAndProperFraction, "m(" + a + "+" + f + ")");
    Add(Advice::Finished, "m" + a + "k" + f);
  }
};

// The fraction term of a two-term sum: its whole part (mixed numbers only), its fraction, and one whole
// written over the fraction's denominator ("5b5"), which a borrow needs.
struct FractionTerm {
  std::string whole;
  std::string fraction;
  std::string one;
  bool mixed = false;
};

// Nothing when the fraction of the term cannot be read.
std::optional<FractionTerm> ReadFractionTerm(const std::string& term) {
  FractionTerm ft;
  size_t k = term.find('k');
  if (k != std::string::npos) {
    ft.whole = term.substr(0, k);
    ft.fraction = term.substr(k + 1);
    ft.mixed = true;
  } else {
    ft.fraction = term;
  }
  Bunsuu fv = ReadNumber(ft.fraction);
  if (fv.den == 0) return std::nullopt;
  const std::string d = Digits(fv.den);
  ft.one = d + "b" + d;
  return ft;
}

// The two terms around the operator, the sign of the first kept apart ("m" or "").
struct TwoTerms {
  std::string sign;
  std::string first;
  char op = '+';
  std::string second;
};

TwoTerms SplitTwoTerms(const std::string& t, size_t pos) {
  TwoTerms terms{"", t.substr(0, pos), t[pos], t.substr(pos + 1)};
  std::string& t1 = terms.first;
  if (!t1.empty() && (t1[0] == 'm' || t1[0] == '-')) {
    terms.sign = "m";
    t1.erase(0, 1);
  } else if (!t1.empty() && (t1[0] == 'p' || t1[0] == '+')) {
    t1.erase(0, 1);
  }
  return terms;
}

// A mixed number minus an integer A, W k f − A: the integers are taken together first.
void MixedMinusInteger(AltBuilder& b, const FractionTerm& ft, const std::string& a) {
  const std::string& w = ft.whole;
  const std::string& f = ft.fraction;
  if (a == "0") {
    b.First(Advice::SubtractingZero);
    b.Add(Advice::Finished, w + "k" + f);
    return;
  }
  b.First(Advice::SplitMixedNumbers);
  b.Add(Advice::GatherIntegers, "(" + w + "+" + f + ")-" + a);
  b.Add(Advice::Continued, w + "+" + f + "-" + a);
  b.Add(Advice::Continued, w + "-" + a + "+" + f);
  b.Add(Advice::CalculateIntegers, "(" + w + "-" + a + ")+" + f);
  std::string v = Value(w + "-" + a);
  int c = CompareIntegers(w, a);
  if (c == 0) {
    b.Add(Advice::AddingZero, "0+" + f);
    b.Add(Advice::Finished, f);
  } else if (c < 0) {
    b.Add(Advice::Continued, v + "+" + f);
    b.NegativeBorrow(WithoutSign(v), f, ft.one, false);
  } else {
    b.Add(Advice::JoinIntegerAndProperFraction, v + "+" + f);
    b.Add(Advice::Finished, v + "k" + f);
  }
}

// A + f (f a fraction or a mixed number).
void IntegerPlusFraction(AltBuilder& b, const std::string& a, const FractionTerm& ft) {
  const std::string& w = ft.whole;
  const std::string& f = ft.fraction;
  if (a == "0") {
    b.First(Advice::AddingZero);
    if (ft.mixed)
      b.Chain(w + "k" + f);
    else
      b.Add(Advice::Finished, f);
  } else if (ft.mixed) {
    b.First(Advice::SplitMixedNumbers);
    b.Add(Advice::Continued, a + "+(" + w + "+" + f + ")");
    b.Add(Advice::Continued, a + "+" + w + "+" + f);
    b.Add(Advice::CalculateIntegerGroup, "(" + a + "+" + w + ")+" + f);
    std::string a2 = Value(a + "+" + w);
    b.Add(Advice::JoinIntegerAndProperFraction, a2 + "+" + f);
    b.Add(Advice::Finished, a2 + "k" + f);
  } else {
    b.First(Advice::JoinIntegerAndProperFraction);
    b.Add(Advice::Finished, a + "k" + f);
  }
}

// A − f.
void IntegerMinusFraction(AltBuilder& b, const std::string& a, const FractionTerm& ft) {
  const std::string& w = ft.whole;
  const std::string& f = ft.fraction;
  if (a == "0") {
    b.First(Advice::ZeroMinusPositiveIsNegative);
    b.Add(Advice::Continued, "m" + (ft.mixed ? w + "k" + f : f));
    return;
  }
  if (!ft.mixed) {
    b.Borrow(a, f, ft.one, true);
    return;
  }
  b.First(Advice::SplitMixedNumbers);
  b.Add(Advice::RemoveMinusBracket, a + "-(" + w + "+" + f + ")");
  b.Add(Advice::CalculateIntegers, a + "-" + w + "-" + f);
  b.Add(Advice::BracketWhatComesFirst, "(" + a + "-" + w + ")-" + f);
  int c = CompareIntegers(a, w);
  if (c == 0) {
    b.Add(Advice::ZeroMinusPositiveIsNegative, "0-" + f);
    b.Add(Advice::Finished, "m" + f);
  } else if (c < 0) {
    std::string a2 = Value(a + "-" + w);
    b.Add(Advice::JoinInBracketsToMixed, a2 + "-" + f);
    b.Add(Advice::MinusIntegerMinusFractionToBracket, StripParentheses(a2, 1) + "-" + f);
    b.NegativeSum(WithoutSign(a2), "", f, false, false);
  } else {
    std::string a2 = Value(a + "-" + w);
    b.Add(Advice::SplitOffOneAsImproper, a2 + "-" + f);
    b.Borrow(a2, f, ft.one, false);
  }
}

// −A + f.
void NegativeIntegerPlusFraction(AltBuilder& b, const std::string& a, const FractionTerm& ft) {
  const std::string& w = ft.whole;
  const std::string& f = ft.fraction;
  if (a == "0") {
    b.First(Advice::MinusZeroPlusPositive);
    if (ft.mixed)
      b.Chain(w + "k" + f);
    else
      b.Add(Advice::Finished, f);
    return;
  }
  if (!ft.mixed) {
    b.NegativeBorrow(a, f, ft.one, true);
    return;
  }
  b.First(Advice::SplitMixedNumbers);
  b.Add(Advice::RemovePlusBracket, "m" + a + "+(" + w + "+" + f + ")");
  b.Add(Advice::CalculateIntegers, "m" + a + "+" + w + "+" + f);
  b.Add(Advice::BracketWhatComesFirst, "(m" + a + "+" + w + ")+" + f);
  int c = CompareIntegers(a, w);
  if (c == 0) {
    b.Add(Advice::AddingZero, "0+" + f);
    b.Add(Advice::Finished, f);
  } else if (c < 0) {
    std::string a2 = Value(w + "-" + a);
    b.Add(Advice::JoinIntegerAndProperFraction, a2 + "+" + f);
    b.Add(Advice::Finished, a2 + "k" + f);
  } else {
    std::string a2 = Value("m" + a + "+" + w);
    b.Add(Advice::None, a2 + "+" + f);
    b.NegativeBorrow(WithoutSign(a2), f, ft.one, false);
  }
}

// An integer with a fraction after it, by the signs: A + f, −A − f, A − f, −A + f. False when the
// fraction cannot be read.
bool IntegerWithFraction(AltBuilder& b, const TwoTerms& terms) {
  std::optional<FractionTerm> ft = ReadFractionTerm(terms.second);
  if (!ft) return false;
  const std::string& a = terms.first;
  const bool negative = terms.sign == "m";
  if (!negative && terms.op == '+')
    IntegerPlusFraction(b, a, *ft);
  else if (negative && terms.op == '-')
    b.NegativeSum(a, ft->whole, ft->fraction, ft->mixed, true);
  else if (!negative && terms.op == '-')
    IntegerMinusFraction(b, a, *ft);
  else
    NegativeIntegerPlusFraction(b, a, *ft);
  return true;
}

// The records made, without a trailing "=" and with every "=-" written "=m"; after a failure (its message
// shown) the input t unchanged.
std::string Finish(const AltBuilder& b, const std::string& t) {
  if (b.failed) {
    FailureShown = true;
    RunFailed = true;
    return t;
  }
  std::string r = b.records;
  if (!r.empty() && r.back() == '=') r.pop_back();
  size_t p = 0;
  while ((p = r.find("=-", p)) != std::string::npos) r.replace(p, 2, "=m");
  return r;
}

}  // namespace

std::string TwoTermStepsAlternative(const std::string& text) {
  std::string t = LastPart(text);
  size_t pos = FindTwoTermOperator(t);
  if (pos == std::string::npos || pos == 0) return t;
  AltBuilder b;
  b.input = t;
  TwoTerms terms = SplitTwoTerms(t, pos);

  if (HasB(terms.first)) {
    if (terms.first.find('k') != std::string::npos && terms.op == '-' && terms.sign.empty()) {
      std::optional<FractionTerm> ft = ReadFractionTerm(terms.first);
      if (!ft) return t;
      MixedMinusInteger(b, *ft, terms.second);
      return Finish(b, t);
    }
    // The fraction comes first: the terms change places so that the integer leads.
    const std::string sign = terms.op == '-' ? "m" : "";
    const char op = terms.sign == "m" ? '-' : '+';
    std::swap(terms.first, terms.second);
    terms.sign = sign;
    terms.op = op;
    b.Add(Advice::IntegerInFront, terms.sign + terms.first + terms.op + terms.second);
  }

  Bunsuu second = ReadNumber(terms.second);
  if (second.den == 0) return t;
  Bunsuu secondImproper;
  bool whole = CheckedImproper(second, secondImproper) && secondImproper.num % secondImproper.den == 0;
  if (whole) {
    // The second term is a whole number: the sum is worked out directly.
    std::string line = terms.sign + terms.first + terms.op + terms.second;
    b.Add(Advice::Continued, line);
    b.Add(Advice::Finished, Value(line));
  } else if (!IntegerWithFraction(b, terms)) {
    return t;
  }
  return Finish(b, t);
}
