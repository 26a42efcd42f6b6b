// Step generators for sums and differences of fractions, integers and mixed numbers: reduction, common
// denominator, combining over one denominator, splitting mixed numbers, the common-denominator path, the
// integer-separation path and the answer tail that ends every sum process.
#include "engine/Bunio.h"
#include "engine/Bunsuuh.h"
#include "engine/Settings.h"
#include "process/CalcProcManage-Internal.h"
#include "process/CalcProcManage.h"
#include "process/MainDspManage.h"

using namespace procdetail;

namespace {

bool HasFractionMark(const std::string& t) { return t.find('b') != std::string::npos; }

// The term's sign and parentheses around a new core.
std::string Rewrap(const TermParts& parts, const std::string& core) {
  return parts.prefix + core + parts.suffix;
}

// The magnitude of a value written as den b num (improper), or as whole k den b num.
std::string MagnitudeText(int64_t whole, int64_t den, int64_t num) {
  std::string s;
  if (whole > 0) s = Digits(whole) + "k";
  return s + Digits(den) + "b" + Digits(num);
}

}  // namespace

int SumTermCount(const std::string& text) {
  if (text.empty()) return 0;
  std::string t = text;
  if (t[0] == '+') t[0] = 'p';
  if (t[0] == '-') t[0] = 'm';
  int count = 1;
  for (size_t i = 0; i < t.size(); ++i) {
    if (t[i] != '+' && t[i] != '-') continue;
    if (i > 0 && t[i - 1] == '(') continue;  // a sign after "(" is written "p"/"m"
    ++count;
  }
  return count;
}

int CountReducible(const std::string& text, bool defer) {
  int count = 0;
  bool differed = false;
  bool haveDen = false;
  int64_t lastDen = 0;
  for (const Term& t : SplitSum(text)) {
    Bunsuu b = ReadNumber(t.text);
    if (b.den == 0) return -999;
    if (!HasFractionMark(t.text)) continue;
    if (haveDen && b.den != lastDen) {
      differed = true;
      ProcessState.differentDenominatorsSeen = true;
    }
    haveDen = true;
    lastDen = b.den;
    if (b.num != 0 && Gcd64(b.den, b.num) > 1) ++count;
  }
  if (defer && count > 0 && !differed) return -1;
  return count;
}

std::string ReduceFractions(const std::string& text) {
  std::vector<Term> terms = SplitSum(text);
  ProcessState.reducedCount = 0;
  for (Term& t : terms) {
    if (!HasFractionMark(t.text)) continue;
    Bunsuu b = ReadNumber(t.text);
    if (b.den == 0 || b.num == 0) continue;
    int64_t g = Gcd64(b.den, b.num);
    if (g <= 1) continue;
    TermParts parts = SplitTermParts(t.text);
    t.text = Rewrap(parts, MagnitudeText(b.whole, b.den / g, b.num / g));
    ++ProcessState.reducedCount;
  }
  return JoinSum(terms);
}

std::string MixedToImproper(const std::string& text) {
  std::vector<Term> terms = SplitSum(text);
  bool converted = false;
  for (Term& t : terms) {
    Bunsuu b = ReadNumber(t.text);
    if (b.den == 0 || b.whole <= 0) continue;
    Bunsuu im;
    if (!CheckedImproper(b, im)) {
      RunFailed = true;
      return "";
    }
    t.text = Rewrap(SplitTermParts(t.text), MagnitudeText(0, im.den, im.num));
    converted = true;
  }
  if (!converted) return "";
  return RemoveSumBrackets(JoinSum(terms));
}

std::string ImproperToMixed(const std::string& text) {
  std::vector<Term> terms = SplitSum(text);
  for (Term& t : terms) {
    if (!HasFractionMark(t.text)) continue;
    Bunsuu b = ReadNumber(t.text);
    if (b.den == 0) continue;
    TermParts parts = SplitTermParts(t.text);
    if (b.den == 1) {
      int64_t v = 0;
      if (!CheckedAdd(b.whole, b.num, v)) continue;
      t.text = Rewrap(parts, Digits(v));
    } else if (b.num >= b.den) {
      int64_t w = 0;
      if (!CheckedAdd(b.whole, b.num / b.den, w)) continue;
      int64_t r = b.num % b.den;
      t.text = Rewrap(parts, r == 0 ? Digits(w) : MagnitudeText(w, b.den, r));
    }
  }
  std::string out = RemoveSumBrackets(JoinSum(terms));
  return out == text ? "" : out;
}

namespace {

std::string ExchangeSigns(const std::string& s) {
  std::string r = s;
  for (char& c : r) {
    if (c == '+')
      c = '-';
    else if (c == '-')
      c = '+';
  }
  return r;
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  size_t pos = 0;
  while ((pos = text.find(from, pos)) != std::string::npos) {
    text.replace(pos, from.size(), to);
    pos += to.size();
  }
  return text;
}

}  // namespace

std::string RemoveSumBrackets(const std::string& text) {
  std::string t = text;
  // A leading group.
  auto leadingGroup = [&](size_t open) -> bool {
    size_t close = t.find(')', open);
    if (close == std::string::npos) return false;
    std::string content = t.substr(open + 1, close - open - 1);
    std::string rest = t.substr(close + 1);
    if (open == 0 || t[0] == 'p') {
      t = content + rest;
    } else {  // "m(" … ")": the group's signs are exchanged and its own sign flipped
      std::string c = ExchangeSigns(content);
      if (!c.empty() && c[0] == 'm')
        c[0] = 'p';
      else if (!c.empty() && c[0] == 'p')
        c[0] = 'm';
      else
        c = "m" + c;
      t = c + rest;
    }
    return true;
  };
  if (t.rfind("(", 0) == 0)
    leadingGroup(0);
  else if (t.rfind("p(", 0) == 0 || t.rfind("m(", 0) == 0)
    leadingGroup(1);
  // Every later "-( … )": the content's signs are exchanged, its own sign merged with the "-".
  size_t pos = 0;
  while ((pos = t.find("-(", pos)) != std::string::npos) {
    size_t close = t.find(')', pos + 2);
    if (close == std::string::npos) break;
    std::string c = ExchangeSigns(t.substr(pos + 2, close - pos - 2));
    if (!c.empty() && c[0] == 'm')
      c[0] = '+';
    else if (!c.empty() && c[0] == 'p')
      c[0] = '-';
    else
      c = "-" + c;
    t = t.substr(0, pos) + c + t.substr(close + 1);
    pos += c.size();
  }
  t = ReplaceAll(t, "+(m", "-");
  t = ReplaceAll(t, "+(p", "+");
  t = ReplaceAll(t, "+(-", "-");
  t = ReplaceAll(t, "+(+", "+");
  std::string out;
  for (char c : t)
    if (c != '(' && c != ')') out += c;
  return out;
}

std::string SplitMixedNumbers(const std::string& text) {
  ProcessStateData& st = ProcessState;
  std::string out, ints, fracs;
  std::vector<Term> terms = SplitSum(text);
  for (size_t i = 0; i < terms.size(); ++i) {
    Term t = terms[i];
    std::string op;
    if (i == 0) {
      if (!t.text.empty() && (t.text[0] == 'm' || t.text[0] == 'p')) {
        op = t.text.substr(0, 1);
        t.text.erase(0, 1);
      }
    } else {
      op = std::string(1, t.op);
    }
    size_t k = t.text.find('k');
    if (k != std::string::npos) {
      std::string w = t.text.substr(0, k), f = t.text.substr(k + 1);
      ints += op + w;
      fracs += op + f;
      out += op + "(" + w + "+" + f + ")";
    } else if (HasFractionMark(t.text)) {
      fracs += op + t.text;
      out += op + t.text;
    } else {
      ints += op + t.text;
      out += op + t.text;
    }
  }
  auto tidy = [](std::string g) {
    if (!g.empty() && g[0] == '+') g.erase(0, 1);
    if (!g.empty() && g[0] == '-') g[0] = 'm';
    return g;
  };
  st.integerGroup = tidy(ints);
  st.fractionGroup = tidy(fracs);
  st.separatedForm = out;
  return RemoveSumBrackets(out);
}

std::string ToCommonDenominator(const std::string& text) {
  ProcessStateData& st = ProcessState;
  std::vector<Term> terms = SplitSum(text);
  if (terms.size() < 2) return text;
  std::vector<Bunsuu> values;
  for (const Term& t : terms) {
    Bunsuu b = ReadNumber(t.text);
    if (b.den == 0) {
      st.denominatorsDiffered = -1;
      return "n";
    }
    values.push_back(b);
  }
  st.factors = values;
  bool allEqual = true;
  for (const Bunsuu& b : values)
    if (b.den != values[0].den) allEqual = false;
  if (allEqual) {
    st.denominatorsDiffered = 0;
    return text;
  }
  st.denominatorsDiffered = 1;
  int64_t lcm = 1;
  for (const Bunsuu& b : values) {
    int64_t g = Gcd64(lcm, b.den);
    if (!CheckedMul(lcm / g, b.den, lcm)) {
      st.denominatorsDiffered = -1;
      return "n";
    }
  }
  std::string form, result;
  if (values[0].sign < 0) {
    form = "m";
    result = "m";
  }
  for (size_t i = 0; i < terms.size(); ++i) {
    const Bunsuu& b = values[i];
    int64_t f = lcm / b.den;
    std::string op = i == 0 ? "" : std::string(1, terms[i].op);
    std::string denText = Digits(b.den), numText = Digits(b.num);
    if (f != 1) {
      denText += "*" + Digits(f);
      numText += "*" + Digits(f);
    }
    // Inside the brackets no sign is written; a negative first term's sign stands before the text.
    int sign = b.sign < 0 ? -1 : (b.sign > 0 ? 1 : 0);
    BunsuuH h = MakeBunsuuhFromSign(sign, Digits(b.whole), denText, numText);
    form += op + FormatBunsuuh(h);
    int64_t n = 0;
    if (!CheckedMul(b.num, f, n)) {
      st.denominatorsDiffered = -2;
      return "n";
    }
    result += op + MagnitudeText(b.whole, lcm, n);
  }
  st.multiplicationForm = form;
  return result;
}

std::string CombineOverDenominator(const std::string& text, bool wrapNegative) {
  ProcessStateData& st = ProcessState;
  std::vector<Term> terms = SplitSum(text);
  std::string s, list;
  int64_t den = 0;
  for (size_t i = 0; i < terms.size(); ++i) {
    std::string t = terms[i].text;
    if (i == 0 && !t.empty() && (t[0] == 'm' || t[0] == 'p')) {
      s = t.substr(0, 1);
      t.erase(0, 1);
    }
    Bunsuu b = ReadNumber(t);
    Bunsuu im;
    if (b.den == 0 || !CheckedImproper(b, im)) {
      RunFailed = true;
      st.groupValue = "n";
      return "n";
    }
    if (i == 0) den = im.den;
    if (i > 0) list += terms[i].op;
    list += Digits(im.num);
  }
  std::string d = Digits(den);
  st.expressionFraction = "[" + d + "B" + s + list + "]";
  std::string v = Value(s + list);
  if (v == "n") {
    st.groupValue = "n";
    return "n";
  }
  std::string out;
  if (!v.empty() && (v[0] == 'm' || v[0] == 'p')) {
    out += StepRecord(Advice::NumeratorMinusInFront, 'X', "[" + d + "B" + v + "]");
    s = v.substr(0, 1);
    v.erase(0, 1);
  } else {
    s.clear();
  }
  if (v == "0") {
    st.combinedFraction = s + "[" + d + "B0]";
    out += "=" + st.combinedFraction + "=0";
    st.groupValue = "0";
  } else {
    st.combinedFraction = s + d + "b" + v;
    out += "=" + st.combinedFraction;
    Bunsuu g = ReadNumber(st.combinedFraction);
    if (g.den == 0) {
      RunFailed = true;
      st.groupValue = "n";
    } else {
      if (g.num != 0) {
        int64_t c = Gcd64(g.den, g.num);
        g.den /= c;
        g.num /= c;
      }
      st.groupValue = FormatBunsuu(g, 0);
    }
  }
  if (wrapNegative && !st.combinedFraction.empty() && st.combinedFraction[0] == 'm')
    st.combinedFraction = "(" + st.combinedFraction + ")";
  return st.expressionFraction + out;
}

std::string DropLastRecord(const std::string& text, bool keepEquals) {
  std::string t = text;
  if (!t.empty() && t.back() == '=') t.pop_back();
  size_t eq = t.rfind('=');
  if (eq != std::string::npos) t.erase(eq);
  if (t.size() >= 4) {
    char c = t.back();
    if (c == 'X' || c == 'Y' || c == 'Z' || c == 'A') t.erase(t.size() - 4);
  }
  if (keepEquals) t += "=";
  return t;
}

int FinishAnswer(const std::string& value) {
  // An unreadable answer leaves the process unfinished, which the driver reports as a failure.
  if (value.empty() || FirstOperator(value).kind != -1) {
    RunFailed = true;
    return -1;
  }
  Bunsuu b = ReadNumber(value);
  if (b.den == 0) {
    RunFailed = true;
    return -1;
  }
  std::string v = value;
  // A fraction with numerator 0 is the answer 0.
  if (b.whole == 0 && b.num == 0 && b.den != 1) {
    AppendRecord(Advice::ZeroNumeratorIsZero, 'X', v);
    AppendRecord(Advice::Finished, 'X', "0");
    return 5;
  }
  // A reducible answer is reduced first, so that the last line is always in lowest terms.
  if (b.num != 0 && Gcd64(b.den, b.num) > 1) {
    AppendRecord(Advice::ReduceFirst, 'X', v);
    AppendRecord(Advice::HowToReduce, 'Y', v);
    v = ReduceFractions(v);
    b = ReadNumber(v);
    if (b.den == 0) return -1;
  }
  if (b.den == 1) {
    AppendRecord(Advice::DenominatorOneBecomesInteger, 'X', v);
    AppendRecord(Advice::Finished, 'X', CanonicalMixedText(b));
    return 5;
  }
  if (b.num >= b.den) {
    if (PROCLASTANS == 0) {
      AppendRecord(Advice::ImproperAnswerToMixed, 'X', v);
      AppendRecord(Advice::Finished, 'X', CanonicalMixedText(b));
      return 2;
    }
    AppendRecord(Advice::Finished, 'X', v);
    return 1;
  }
  if (b.whole > 0) {
    if (PROCLASTANS == 1) {
      AppendRecord(Advice::MixedAnswerToImproper, 'X', v);
      AppendRecord(Advice::Finished, 'X', CanonicalImproperText(b));
      return 4;
    }
    AppendRecord(Advice::Finished, 'X', v);
    return 3;
  }
  AppendRecord(Advice::Finished, 'X', v);
  return 0;
}

namespace procdetail {

void CommonDenominatorPath(std::string e) {
  ProcessStateData& st = ProcessState;
  std::string c = ToCommonDenominator(e);
  if (c == "n") {
    RunFailed = true;
    return;
  }
  if (st.denominatorsDiffered == 1) {
    AppendRecord(Advice::MakeCommonDenominator, 'X', e);
    AppendRecord(Advice::HowToMakeCommonDenominator, 'X', st.multiplicationForm);
  }
  std::string k = CombineOverDenominator(LastPart(c), false);
  if (k == "n") return;
  if (LastPart(st.processText) == c) st.processText = DropLastRecord(st.processText, true);
  AppendRecord(Advice::AddNumeratorsOverOneDenominator, 'X', c);
  AppendRecord(Advice::OneDenominatorForm, 'X', k);
  std::string r = LastPart(k);
  if (CountReducible(r, false) > 0) {
    AppendRecord(Advice::ReduceFirst, 'X', r);
    AppendRecord(Advice::HowToReduce, 'Y', r);
    r = ReduceFractions(r);
  }
  FinishAnswer(r);
}

void IntegerSeparationPath(const std::string& e) {
  ProcessStateData& st = ProcessState;
  if (ToCommonDenominator(e) == "n") {
    RunFailed = true;
    return;
  }
  std::string s = SplitMixedNumbers(e);
  if (st.separatedForm != e) AppendRecord(Advice::GroupIntegersAndFractions, 'X', st.separatedForm);
  if (s != st.separatedForm) AppendRecord(Advice::Continued, 'X', s);
  std::string ints = st.integerGroup, fracs = st.fractionGroup;
  if (SumTermCount(ints) < 2) {
    AppendRecord(Advice::Continued, 'X', ints + "+(" + fracs + ")");
    st.integerValue = ints;
  } else {
    AppendRecord(Advice::CalculateEachGroupPolitely, 'X', "(" + ints + ")+(" + fracs + ")");
    st.integerValue = Value(ints);
    if (st.integerValue == "n") return;
    if (st.integerValue == "0") {
      AppendRecord(Advice::Continued, 'X', "0+(" + fracs + ")");
      AppendRecord(Advice::Continued, 'X', fracs);
    }
  }
  std::string p, open, close;
  if (st.integerValue != "0" && !st.integerValue.empty()) {
    p = st.integerValue + "+";
    open = "(";
    close = ")";
  } else {
    st.integerValue.clear();
  }
  std::string c = ToCommonDenominator(fracs);
  if (c == "n") {
    RunFailed = true;
    return;
  }
  if (c != fracs) {
    AppendRecord(Advice::HowToMakeCommonDenominator, 'X', p + open + st.multiplicationForm + close);
    AppendRecord(Advice::AddNumeratorsOverOneDenominator, 'X', p + open + c + close);
  }
  if (CombineOverDenominator(c, false) == "n") return;
  AppendRecord(Advice::OneDenominatorForm, 'X', p + open + st.expressionFraction + close);
  AppendRecord(p.empty() ? Advice::Continued : Advice::RemoveBrackets, 'X',
               p + open + st.combinedFraction + close);
  if (st.groupValue == "0") {
    if (p.empty()) {
      AppendRecord(Advice::ZeroNumeratorIsZero, 'X', st.combinedFraction);
      st.integerValue = "0";
    } else {
      AppendRecord(Advice::AddingZero, 'X', p + "0");
    }
    AppendRecord(Advice::Finished, 'X', st.integerValue);
    return;
  }
  std::string t = RemoveSumBrackets(p + open + st.combinedFraction + close);
  if (CountReducible(t, false) > 0) {
    AppendRecord(Advice::ReduceFirst, 'X', t);
    AppendRecord(Advice::HowToReduce, 'Y', t);
    t = ReduceFractions(t);
    AppendRecord(Advice::Continued, 'X', t);
  }
  std::string m = ImproperToMixed(t);
  if (m.empty())
    m = t;
  else
    AppendRecord(Advice::ImproperToMixed, 'X', t);
  if (p.empty()) {
    // The answer tail brings the answer into the final form asked for.
    FinishAnswer(m);
    return;
  }
  st.processText += TwoTermStepsAlternative(RemoveSumBrackets(m));
  if (FailureShown) return;
  FinishAnswer(LastPart(st.processText));
}

}  // namespace procdetail
