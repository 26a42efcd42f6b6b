// Product and quotient processes: brackets around single numbers removed with their minus signs gathered
// in front, zero factors dealt with at once, mixed numbers, integers and decimals written as fractions,
// divisions turned into multiplications by the reciprocal, and the factors cancelled crosswise.
#include "engine/Bunio.h"
#include "engine/Settings.h"
#include "platform/Platform.h"
#include "process/CalcProcManage-Internal.h"
#include "process/CalcProcManage.h"
#include "process/MainDspManage.h"

using namespace procdetail;

namespace {

std::string FractionText(const Bunsuu& b) { return Digits(b.den) + "b" + Digits(b.num); }

}  // namespace

std::string RemoveProductBrackets(const std::string& text) {
  ProcessStateData& st = ProcessState;
  if (text.find('+') != std::string::npos || text.find('-') != std::string::npos) {
    st.bracketCount = -1;
    return text;
  }
  st.bracketCount = 0;
  std::string t = text;
  int minus = 0;
  // Innermost pairs first, each holding no other bracket; a sign at the start of the content is counted.
  while (true) {
    size_t close = t.find(')');
    if (close == std::string::npos) break;
    size_t open = t.rfind('(', close);
    if (open == std::string::npos) break;
    std::string content = t.substr(open + 1, close - open - 1);
    if (!content.empty() && content[0] == 'm') {
      ++minus;
      content.erase(0, 1);
    } else if (!content.empty() && content[0] == 'p') {
      content.erase(0, 1);
    }
    t = t.substr(0, open) + content + t.substr(close + 1);
    ++st.bracketCount;
  }
  // Every sign in front of a factor (also one outside a bracket, as in m(3b2)) is gathered in front of
  // the whole product, so that the factors themselves are read without sign.
  std::string out;
  for (size_t i = 0; i < t.size(); ++i) {
    char c = t[i];
    bool factorStart = i == 0 || t[i - 1] == '*' || t[i - 1] == '/' || t[i - 1] == 'm' || t[i - 1] == 'p';
    if ((c == 'm' || c == 'p') && factorStart) {
      if (c == 'm') ++minus;
      continue;
    }
    out += c;
  }
  if (t.find('(') != std::string::npos || t.find(')') != std::string::npos) out = t;  // unbalanced: as is
  if (minus % 2 == 1) out = "m" + out;
  return out;
}

bool ProductSteps(const std::string& text) {
  ProcessStateData& st = ProcessState;
  std::string t = text;
  if (!t.empty() && t[0] == 'm') t.erase(0, 1);
  int factorCount = 1;
  for (char c : t)
    if (c == '*' || c == '/') ++factorCount;
  if (factorCount < 2) return true;

  std::vector<std::string> texts;
  std::vector<char> ops;  // ops[i] is the operator before factor i ('\0' for the first)
  std::string cur;
  char before = '\0';
  for (char c : t) {
    if (c == '*' || c == '/') {
      texts.push_back(cur);
      ops.push_back(before);
      before = c;
      cur.clear();
      continue;
    }
    cur += c;
  }
  texts.push_back(cur);
  ops.push_back(before);

  st.factors.clear();
  bool converted = false, division = false;
  for (size_t i = 0; i < texts.size(); ++i) {
    const std::string& f = texts[i];
    if (ops[i] == '/') division = true;
    if (f.find('k') != std::string::npos || f.find('.') != std::string::npos ||
        f.find('b') == std::string::npos)
      converted = true;
    Bunsuu b = ReadNumber(f);
    if (b.den == 0) {
      return false;
    }
    bool zero = b.whole == 0 && b.num == 0;
    if (zero) {
      // A zero after "/" is a division by zero wherever it stands; the first zero factor decides
      // between multiplication by 0 and 0 divided by a number.
      if (i > 0 && ops[i] == '/') {
        st.divisionByZero = true;
      } else if (st.zeroFactor == 0) {
        if (i > 0)
          st.zeroFactor = 1;
        else
          st.zeroFactor = (i + 1 < ops.size() && ops[i + 1] == '/') ? 2 : 1;
      }
      b = BUNSUU_ZERO;
    } else {
      b.sign = 1;
    }
    st.factors.push_back(b);
  }
  if (st.zeroFactor != 0 || st.divisionByZero) return true;

  if (converted) {
    std::string form;
    for (size_t i = 0; i < st.factors.size(); ++i) {
      Bunsuu im;
      if (!CheckedImproper(st.factors[i], im)) {
        return false;
      }
      st.factors[i] = im;
      if (i > 0) form += ops[i];
      form += FractionText(im);
    }
    st.convertedForm = form;
  }
  if (division) {
    std::string form;
    for (size_t i = 0; i < st.factors.size(); ++i) {
      Bunsuu im;
      if (!CheckedImproper(st.factors[i], im)) {
        return false;
      }
      st.factors[i] = im;
      if (i > 0) {
        if (ops[i] == '/') st.factors[i] = Reciprocal(im);
        form += '*';
      }
      form += FractionText(st.factors[i]);
    }
    st.reciprocalForm = form;
  }
  return true;
}

int CancelFactors() {
  ProcessStateData& st = ProcessState;
  CancellationFigure& fig = st.figure;
  fig = CancellationFigure{};
  size_t n = st.factors.size();
  std::vector<int64_t> nums(n), dens(n);
  for (size_t i = 0; i < n; ++i) {
    Bunsuu im;
    if (!CheckedImproper(st.factors[i], im)) im = st.factors[i];
    nums[i] = im.num;
    dens[i] = im.den;
    fig.numeratorValues.push_back({nums[i]});
    fig.denominatorValues.push_back({dens[i]});
  }
  int cancellations = 0;
  for (size_t j = 0; j < n; ++j) {
    for (size_t k = 0; k < n; ++k) {
      if (nums[j] == 0 || dens[k] == 0) continue;
      int64_t g = Gcd64(nums[j], dens[k]);
      if (g <= 1) continue;
      nums[j] /= g;
      dens[k] /= g;
      fig.numeratorValues[j].push_back(nums[j]);
      fig.denominatorValues[k].push_back(dens[k]);
      ++cancellations;
    }
  }
  size_t maxN = 1, maxD = 1;
  for (size_t i = 0; i < n; ++i) {
    maxN = std::max(maxN, fig.numeratorValues[i].size());
    maxD = std::max(maxD, fig.denominatorValues[i].size());
  }
  fig.denominatorRows = static_cast<int>(maxD) - 1;
  fig.numeratorRows = static_cast<int>(maxN) - 1;

  std::string dText, nText;
  int64_t dProd = 1, nProd = 1;
  bool fits = true;
  for (size_t i = 0; i < n; ++i) {
    if (i > 0) {
      dText += "*";
      nText += "*";
    }
    dText += Digits(dens[i]);
    nText += Digits(nums[i]);
    fits = fits && CheckedMul(dProd, dens[i], dProd) && CheckedMul(nProd, nums[i], nProd);
  }
  st.productFraction = "[" + dText + "B" + nText + "]";
  if (!fits || dProd == 0) {
    st.productResult = "n";
  } else {
    // Crosswise cancellation leaves no common divisor, so the product is already in lowest terms.
    st.productResult = Digits(dProd) + "b" + Digits(nProd);
  }
  fig.resultText = st.productResult;
  return cancellations;
}

namespace procdetail {

int ProductProcess(ProcessType type, const std::string& e) {
  ProcessStateData& st = ProcessState;
  std::string e2 = RemoveProductBrackets(e);
  if (!ProductSteps(e2)) return 0;
  if (st.divisionByZero) {
    ShowMessage("０で割ることは許されません！", "注意!!");
    st.processText.clear();
    return 1;
  }
  if (st.zeroFactor == 1) {
    st.processText = StepRecord(Advice::TimesZeroIsZero, 'X', e) + StepRecord(Advice::Finished, 'X', "0");
    return 1;
  }
  if (st.zeroFactor == 2) {
    st.processText = StepRecord(Advice::ZeroDividedIsZero, 'X', e) + StepRecord(Advice::Finished, 'X', "0");
    return 1;
  }
  if (st.factors.size() < 2) return 0;
  // A sign typed inside the product is gathered in front like the sign of a bracket.
  if (st.bracketCount > 0 || e2 != e) st.processText = StepRecord(Advice::RemoveBracketsCountMinus, 'X', e);
  std::string s;
  if (!e2.empty() && e2[0] == 'm') {
    s = "m";
    e2.erase(0, 1);
  }
  std::string p = e2;
  switch (type) {
    case ProcessType::FractionProduct: break;
    case ProcessType::ProductWithMixed:
      AppendRecord(Advice::ProductMixedToImproper, 'X', s + e2);
      AppendRecord(Advice::MultiplyAfterCancelling, 'X', s + st.convertedForm);
      p = st.convertedForm;
      break;
    case ProcessType::ProductWithIntegersOrDecimals:
      AppendRecord(Advice::ProductDecimalsAndIntegersToFractions, 'X', s + e2);
      AppendRecord(Advice::ProductMixedToImproper, 'X', s + st.convertedForm);
      p = st.convertedForm;
      break;
    default:  // ProductWithAllKinds and ProductWithAllKindsOfFractions
      AppendRecord(Advice::MixedAndDecimalsToFractions, 'X', s + e2);
      AppendRecord(Advice::ProductMixedToImproper, 'X', s + st.convertedForm);
      p = st.convertedForm;
      break;
  }
  if (p.empty()) p = e2;
  if (!st.reciprocalForm.empty()) {
    AppendRecord(Advice::DivisionToReciprocal, 'X', s + p);
    AppendRecord(Advice::ReciprocalMade, 'X', s + st.reciprocalForm);
    p = st.reciprocalForm;
  } else {
    AppendRecord(Advice::MultiplyDenominatorsAndNumerators, 'X', s + p);
  }
  CancelFactors();
  Advice nextStep = Advice::MultiplyWithoutCancelling;
  if (st.figure.denominatorRows > 0) {
    AppendRecord(Advice::ReduceFirst, 'X', s + p);
    st.figure.signMode = s == "m" ? FigureSign::Minus : FigureSign::Plain;
    AppendRecord(Advice::CancelAcrossFactors, 'Z', s + p);
    nextStep = Advice::MultiplyAfterCancelling;
  }
  AppendRecord(nextStep, 'X', s + st.productFraction);
  const std::string& r = st.productResult;
  if (r == "n") return 0;
  Bunsuu rv = ReadNumber(r);
  if (rv.den == 0) return 0;
  if (r.rfind("1b", 0) == 0 || r.find("k1b") != std::string::npos) {
    AppendRecord(Advice::DenominatorOneBecomesInteger, 'X', s + r);
    AppendRecord(Advice::Finished, 'X', s + CanonicalMixedText(rv));
  } else if (PROCLASTANS == 1) {
    AppendRecord(Advice::Finished, 'X', s + r);
  } else {
    AppendRecord(Advice::ImproperAnswerToMixed, 'X', s + r);
    AppendRecord(Advice::Finished, 'X', s + CanonicalMixedText(rv));
  }
  return 1;
}

}  // namespace procdetail
