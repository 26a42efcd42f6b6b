// The process driver: classifies an expression line, runs the pre-steps of its family, hands over to the
// step generators and stores the normalised process with its type in ProcessState. Also the helpers the
// generators share (walking a sum, reading numbers, step values, checked arithmetic).
#include <cctype>

#include "engine/BunMath.h"
#include "engine/Bunio.h"
#include "engine/Settings.h"
#include "platform/Platform.h"
#include "process/CalcProcManage-Internal.h"
#include "process/CalcProcManage.h"
#include "process/MainDspManage.h"

ProcessStateData ProcessState;
ProcessScreenHooks ProcessHooks;

namespace procdetail {

ProcessRunState ProcessRunData;

void ProcessRunState::Reset() { *this = ProcessRunState{}; }

void ClearRunFailure() {
  RunFailed = false;
  FailureShown = false;
}

std::vector<Term> SplitSum(const std::string& text) {
  std::vector<Term> terms;
  Term cur;
  int depth = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '[') ++depth;
    if (c == ']' && depth > 0) --depth;
    if ((c == '+' || c == '-') && depth == 0 && i > 0) {
      terms.push_back(cur);
      cur = Term{c, ""};
      continue;
    }
    cur.text += c;
  }
  if (!text.empty()) terms.push_back(cur);
  return terms;
}

std::string JoinSum(const std::vector<Term>& terms) {
  std::string out;
  for (const Term& t : terms) {
    if (t.op != '\0') out += t.op;
    out += t.text;
  }
  return out;
}

TermParts SplitTermParts(const std::string& term) {
  TermParts p;
  size_t a = 0;
  while (a < term.size() &&
         (term[a] == '(' || term[a] == 'm' || term[a] == 'p' || term[a] == '+' || term[a] == '-'))
    ++a;
  size_t b = term.size();
  while (b > a && term[b - 1] == ')') --b;
  p.prefix = term.substr(0, a);
  p.core = term.substr(a, b - a);
  p.suffix = term.substr(b);
  return p;
}

bool LooksLikeNumber(const std::string& text) {
  TermParts p = SplitTermParts(text);
  const std::string& s = p.core;
  if (s.empty()) return false;
  auto digitsAt = [&](size_t& i) {
    size_t from = i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
    return i > from;
  };
  size_t i = 0;
  if (!digitsAt(i)) return false;
  if (i == s.size()) return true;
  if (s[i] == '.') {
    // N0 . [N1] [@ N2]
    ++i;
    digitsAt(i);
    if (i < s.size() && s[i] == '@') {
      ++i;
      if (!digitsAt(i)) return false;
    }
    return i == s.size();
  }
  if (s[i] == 'k') {
    ++i;
    if (!digitsAt(i)) return false;
    if (i == s.size() || s[i] != 'b') return false;
  }
  if (s[i] != 'b') return false;
  ++i;
  if (!digitsAt(i)) return false;
  return i == s.size();
}

Bunsuu ReadNumber(const std::string& text) {
  if (!LooksLikeNumber(text)) return BUNSUU_ERROR;
  TermParts p = SplitTermParts(text);
  int opens = 0, minus = 0;
  for (char c : p.prefix) {
    if (c == '(') ++opens;
    if (c == 'm' || c == '-') ++minus;
  }
  if (opens != static_cast<int>(p.suffix.size())) return BUNSUU_ERROR;
  Bunsuu b = ParseNumber(p.core);
  if (b.den != 0 && minus % 2 == 1) b.sign = static_cast<int8_t>(-b.sign);
  return b;
}

std::string Digits(int64_t v) { return std::to_string(v); }

bool CheckedMul(int64_t a, int64_t b, int64_t& out) {
  int64_t r = 0;
  if (__builtin_mul_overflow(a, b, &r)) return false;
  if (r > INT64_LIMIT || r < -INT64_LIMIT) return false;
  out = r;
  return true;
}

bool CheckedAdd(int64_t a, int64_t b, int64_t& out) {
  int64_t r = 0;
  if (__builtin_add_overflow(a, b, &r)) return false;
  if (r > INT64_LIMIT || r < -INT64_LIMIT) return false;
  out = r;
  return true;
}

bool CheckedImproper(const Bunsuu& a, Bunsuu& out) {
  if (a.den <= 0) return false;
  if (a.whole == 0) {
    out = a;
    return true;
  }
  int64_t n = 0;
  if (!CheckedMul(a.whole, a.den, n) || !CheckedAdd(n, a.num, n)) return false;
  out = a;
  out.whole = 0;
  out.num = n;
  return true;
}

namespace {
// A value with its magnitude reduced and its sign kept; zero magnitude gives the zero value.
Bunsuu Tidy(const Bunsuu& a) {
  if (a.den <= 0) return BUNSUU_ERROR;
  if (a.sign == 0 || (a.whole == 0 && a.num == 0)) return BUNSUU_ZERO;
  Bunsuu r = a;
  if (r.num != 0) {
    int64_t g = Gcd64(r.den, r.num);
    r.den /= g;
    r.num /= g;
  }
  return r;
}
}  // namespace

std::string CanonicalMixedText(const Bunsuu& a) {
  Bunsuu r = Tidy(a);
  if (r.den == 0) return "n";
  if (r.sign == 0) return "0";
  if (r.num >= r.den) {
    int64_t w = 0;
    if (!CheckedAdd(r.whole, r.num / r.den, w)) return "n";
    r.whole = w;
    r.num %= r.den;
  }
  return FormatBunsuu(r, 0);
}

std::string CanonicalImproperText(const Bunsuu& a) {
  Bunsuu r = Tidy(a);
  if (r.den == 0) return "n";
  if (r.sign == 0) return "0";
  Bunsuu im;
  if (!CheckedImproper(r, im)) return "n";
  std::string s = r.sign < 0 ? "m" : "";
  if (im.den == 1) return s + Digits(im.num);
  return s + Digits(im.den) + "b" + Digits(im.num);
}

std::string Value(const std::string& x) {
  // After a failed step nothing more is evaluated: the "n" would only reach the evaluator as text.
  if (RunFailed || x.empty() || x.find('n') != std::string::npos) {
    RunFailed = true;
    return "n";
  }
  if (FirstOperator(x).kind == -1) {
    Bunsuu b = ReadNumber(x);
    std::string r = CanonicalMixedText(b);
    if (r == "n") RunFailed = true;
    return r;
  }
  std::string r = EvaluateExpression(x);
  if (EvalStatus < 0 || r.empty() || r == "n") {
    RunFailed = true;
    return "n";
  }
  return r;
}

std::string LastPart(const std::string& text) {
  size_t eq = text.rfind('=');
  return eq == std::string::npos ? text : text.substr(eq + 1);
}

void AppendRecord(Advice step, char style, const std::string& expression) {
  ProcessState.processText += StepRecord(step, style, expression);
}

}  // namespace procdetail

using namespace procdetail;

void ClearProcessWorkingTexts() {
  ProcessStateData& s = ProcessState;
  s.multiplicationForm.clear();
  s.denominatorsDiffered = 0;
  s.differentDenominatorsSeen = false;
  s.separatedForm.clear();
  s.integerGroup.clear();
  s.fractionGroup.clear();
  s.integerValue.clear();
  s.expressionFraction.clear();
  s.combinedFraction.clear();
  s.groupValue.clear();
  s.reducedCount = 0;
  s.bracketCount = 0;
  s.zeroFactor = 0;
  s.divisionByZero = false;
  s.convertedForm.clear();
  s.reciprocalForm.clear();
  s.productFraction.clear();
  s.productResult.clear();
}

void ResetProcessState() {
  ProcessState = ProcessStateData{};
  ClearRunFailure();
}

void ToggleAlternativeMethod() {
  ProcessState.alternativeMethod = !ProcessState.alternativeMethod;
  if (ProcessHooks.remakeAfterToggle) ProcessHooks.remakeAfterToggle();
}

namespace {

// Only numbers, signs, the four operators, powers and parentheses can have a process; anything else
// (expression fractions, unknowns, factorials, answer marks) is calculated directly.
bool HasOnlyProcessCharacters(const std::string& text) {
  for (char c : text)
    if (std::string_view("0123456789.@bkmp+-*/^()").find(c) == std::string_view::npos) return false;
  return true;
}

// Signs typed as "+" or "-" where a sign stands (at the start, after "(" or after an operator) are
// written "p" and "m", as the calculation line stores them.
std::string NormaliseSigns(const std::string& text) {
  std::string out = text;
  for (size_t i = 0; i < out.size(); ++i) {
    if (out[i] != '+' && out[i] != '-') continue;
    bool signPlace = i == 0 || std::string_view("(+-*/^").find(out[i - 1]) != std::string_view::npos;
    if (signPlace) out[i] = out[i] == '+' ? 'p' : 'm';
  }
  return out;
}

// Every digit run of the text reads as a signed 64-bit integer (checked without a message).
bool DigitRunsFit(const std::string& text) {
  std::string run;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      run += text[i];
      continue;
    }
    if (!run.empty() && !FitsInt64Text(run, 0)) return false;
    run.clear();
  }
  return true;
}

}  // namespace

ExpressionProfile ClassifyExpression(const std::string& expression) {
  ExpressionProfile p;
  std::string text = NormaliseSigns(expression);
  if (text.empty() || !HasOnlyProcessCharacters(text)) return p;
  int depth = 0;
  for (char c : text) {
    depth += c == '(' ? 1 : (c == ')' ? -1 : 0);
    if (depth < 0) return p;
  }
  if (depth != 0) return p;
  int verdict = 0;
  RemoveSimpleBrackets(text, OtherGroups::Stop, verdict);
  if (verdict == -1) return p;

  // Walk the terms: each operator ends the term before it.
  std::vector<std::string> terms;
  std::string cur;
  for (char c : text) {
    if (c == '+' || c == '-' || c == '*' || c == '/') {
      terms.push_back(cur);
      cur.clear();
      if (c == '+') ++p.plusCount;
      if (c == '-') ++p.minusCount;
      if (c == '*') ++p.timesCount;
      if (c == '/') ++p.divideCount;
      continue;
    }
    cur += c;
  }
  terms.push_back(cur);
  for (std::string t : terms) {
    // A missing term (a trailing operator, two operators in a row) leaves nothing to show.
    if (t.empty()) return ExpressionProfile{};
    if (t.find('.') != std::string::npos) {
      ++p.decimalCount;
    } else if (t.find('k') != std::string::npos) {
      ++p.mixedCount;
    } else if (t.find('b') != std::string::npos) {
      if (t.rfind("m(", 0) == 0 || t.rfind("p(", 0) == 0) t.erase(0, 1);
      Bunsuu b = ReadNumber(t);
      if (b.den != 0 && b.num < b.den)
        ++p.properCount;
      else
        ++p.improperCount;
    } else if (t.find('^') != std::string::npos) {
      ++p.powerCount;
    } else {
      ++p.integerCount;
    }
  }
  p.sumTerms = p.plusCount + p.minusCount + 1;
  int fractions = p.mixedCount + p.improperCount + p.properCount;
  int count = p.integerCount + fractions + p.decimalCount;
  bool mulDiv = p.timesCount > 0 || p.divideCount > 0;
  bool power = p.powerCount > 0 || text.find('^') != std::string::npos;
  if (count <= 1) {
    p.type = ProcessType::None;
  } else if (fractions > 0 && !mulDiv && !power) {
    if (p.mixedCount == 0 && p.decimalCount == 0 && p.integerCount == 0)
      p.type = ProcessType::FractionSum;
    else if (p.plusCount + p.minusCount == 1 && p.integerCount == 1 && p.mixedCount == 1)
      p.type = ProcessType::IntegerPlusMixed;
    else if (p.plusCount + p.minusCount == 1 && p.integerCount == 1 && p.improperCount == 1)
      p.type = ProcessType::IntegerPlusImproper;
    else if (p.plusCount + p.minusCount == 1 && p.integerCount == 1 && p.properCount == 1)
      p.type = ProcessType::IntegerPlusProper;
    else if (p.plusCount + p.minusCount == 1 && p.mixedCount == 1 && p.improperCount == 1)
      p.type = ProcessType::MixedPlusImproper;
    else if (p.mixedCount > 1 && p.decimalCount == 0 && p.integerCount == 0 && p.improperCount == 0)
      p.type = ProcessType::MixedOnlySum;
    else if (p.decimalCount == 0 && p.improperCount == 0)
      p.type = ProcessType::SumWithIntegersOrMixed;
    else
      p.type = ProcessType::SumWithDecimals;
  } else if (p.plusCount > 0 || p.minusCount > 0 || power) {
    p.type = ProcessType::None;
  } else if (fractions > 0 && p.integerCount == 0 && p.decimalCount == 0 && p.mixedCount == 0) {
    p.type = ProcessType::FractionProduct;
  } else if (p.integerCount == 0 && p.decimalCount == 0 && p.mixedCount > 0) {
    p.type = ProcessType::ProductWithMixed;
  } else if (fractions > 0 && (p.integerCount > 0 || p.decimalCount > 0) && p.mixedCount == 0) {
    p.type = ProcessType::ProductWithIntegersOrDecimals;
  } else if ((p.integerCount > 0 || p.decimalCount > 0) && p.mixedCount > 0) {
    p.type = ProcessType::ProductWithAllKinds;
  } else if (p.decimalCount > 0) {
    p.type = ProcessType::ProductWithAllKinds;
  } else {
    p.type = ProcessType::None;
  }
  return p;
}

namespace {

void ReportCommonDenominatorFailure() {
  CurrentPlatform().Beep();
  ShowMessage("◆通分に失敗しました！", "報告!!");
  ProcessState.processOk = false;
}

// Each decimal of a sum written as its fraction reading (unreduced, with its whole part).
std::string DecimalsToFractions(const std::string& e) {
  std::vector<Term> terms = SplitSum(e);
  for (Term& t : terms) {
    if (t.text.find('.') == std::string::npos) continue;
    TermParts parts = SplitTermParts(t.text);
    Bunsuu b = ReadNumber(t.text);
    if (b.den == 0) return "n";
    // The sign of the reading stands where the term's sign stood.
    std::string prefix;
    for (char c : parts.prefix)
      if (c == '(') prefix += c;
    std::string body = FormatBunsuu(b, 0);
    t.text = prefix + body + parts.suffix;
  }
  return JoinSum(terms);
}

}  // namespace

namespace procdetail {

void SumDispatch(ProcessType type, std::string e) {
  ProcessStateData& st = ProcessState;
  bool alt = st.alternativeMethod;
  bool hasMixed = e.find('k') != std::string::npos;
  switch (type) {
    case ProcessType::FractionSum: CommonDenominatorPath(e); return;
    case ProcessType::SumWithIntegersOrMixed:
      if (alt && hasMixed) {
        AppendRecord(Advice::SplitMixedNumbers, 'X', e);
        IntegerSeparationPath(e);
        return;
      }
      AppendRecord(Advice::AllImproperThenCommonDenominator, 'X', e);
      if (std::string m = MixedToImproper(e); !m.empty()) e = m;
      CommonDenominatorPath(e);
      return;
    case ProcessType::IntegerPlusMixed:
      if (alt) {
        st.processText += TwoTermStepsAlternative(e);
      } else {
        AppendRecord(Advice::AllImproperThenCommonDenominator, 'X', e);
        std::string m = MixedToImproper(e);
        if (m.empty()) m = e;
        st.processText += "=" + m + "=" + TwoTermSteps(m);
      }
      break;
    case ProcessType::SumWithDecimals:
    case ProcessType::MixedPlusImproper:
    case ProcessType::MixedOnlySum:
      if (alt) {
        AppendRecord(Advice::MethodMixedThenSeparate, 'X', e);
        if (hasMixed) {
          if (std::string m = ImproperToMixed(e); !m.empty()) e = m;
          AppendRecord(Advice::SplitMixedNumbers, 'X', e);
          IntegerSeparationPath(e);
        } else {
          CommonDenominatorPath(e);
        }
        return;
      }
      AppendRecord(Advice::MethodImproperThenCommonDenominator, 'X', e);
      if (std::string m = MixedToImproper(e); !m.empty()) e = m;
      CommonDenominatorPath(e);
      return;
    case ProcessType::IntegerPlusImproper:
      if (alt) {
        AppendRecord(Advice::ImproperToMixed, 'X', e);
        std::string m = ImproperToMixed(e);
        if (m.empty()) m = e;
        AppendRecord(Advice::SplitMixedNumbers, 'X', m);
        st.processText += TwoTermStepsAlternative(m);
      } else {
        st.processText += TwoTermSteps(e);
      }
      break;
    case ProcessType::IntegerPlusProper: {
      std::string records = alt ? TwoTermStepsAlternative(e) : TwoTermSteps(e);
      st.processText += records;
      std::string r = LastPart(records);
      if (r.find('k') != std::string::npos && PROCLASTANS == 1) {
        AppendRecord(Advice::MixedAnswerToImproper, 'X', r);
        AppendRecord(Advice::Finished, 'X', CanonicalImproperText(ReadNumber(r)));
      }
      break;
    }
    default: return;
  }
  if (FailureShown) return;
  FinishAnswer(LastPart(st.processText));
}

}  // namespace procdetail

int MakeProcess(const std::string& expression, bool enabled) {
  if (!enabled || expression.find(':') != std::string::npos) return 0;
  ProcessStateData& st = ProcessState;
  st.processOk = true;
  ClearProcessWorkingTexts();
  ClearRunFailure();
  std::string e = expression.substr(0, expression.find('='));
  e = NormaliseSigns(e);
  ExpressionProfile profile = ClassifyExpression(e);
  if (ProcessHooks.markLineFinished) ProcessHooks.markLineFinished();
  st.processText.clear();
  const ProcessType type = profile.type;
  if (type == ProcessType::None) return 0;
  // A number beyond the 64-bit range has no process; the direct calculation reports it.
  if (!DigitRunsFit(e)) return 0;

  if (IsSumType(type)) {
    // Brackets, and signs typed right after "+" or "-", are simplified first (the signs merged).
    bool signAfterOperator = false;
    for (size_t i = 1; i < e.size(); ++i)
      if ((e[i] == 'm' || e[i] == 'p') && (e[i - 1] == '+' || e[i - 1] == '-')) signAfterOperator = true;
    if (e.find('(') != std::string::npos || signAfterOperator) {
      int verdict = 0;
      std::string simplified = RemoveSimpleBrackets(e, OtherGroups::Stop, verdict);
      if (verdict == -1) return 0;
      AppendRecord(Advice::RemoveBrackets, 'X', e);
      AppendRecord(BracketAdvice[static_cast<size_t>(ProcessTypeNumber(type) - 1)], 'X', simplified);
      e = simplified;
    }
    if (type == ProcessType::SumWithDecimals) {
      AppendRecord(Advice::DecimalsAndIntegersToFractionsFirst, 'X', e);
      e = DecimalsToFractions(e);
    }
    if (e == "n") {
      ReportCommonDenominatorFailure();
      st.processText.clear();
      return 0;
    }
    if (CountReducible(e, true) > 0) {
      AppendRecord(Advice::ReduceFirst, 'X', e);
      AppendRecord(Advice::HowToReduce, 'Y', e);
      e = ReduceFractions(e);
    }
    SumDispatch(type, e);
    if (RunFailed || st.denominatorsDiffered < 0) {
      if (FailureShown) {
        st.processOk = false;
      } else {
        ReportCommonDenominatorFailure();
      }
      st.processText.clear();
      return 0;
    }
  } else if (type >= ProcessType::FractionProduct && type <= ProcessType::ProductWithAllKindsOfFractions &&
             type != ProcessType::DecimalToFraction && type != ProcessType::RepeatingDecimalToFraction) {
    if (ProductProcess(type, e) == 0) {
      st.processText.clear();
      return 0;
    }
  } else {
    return 0;
  }
  st.processText = NormalizeProcessText(st.processText);
  st.processType = type;
  return 1;
}
