// The conversion processes between improper fractions and mixed numbers (the screen's commands 帯T and
// 仮K with process display on): quotient and remainder, and integer part turned into a fraction.
#include "engine/Bunio.h"
#include "engine/Settings.h"
#include "process/CalcProcManage-Internal.h"
#include "process/CalcProcManage.h"
#include "process/MainDspManage.h"

using namespace procdetail;

namespace {

// A negative value's lines carry its sign: a sum in brackets after "m", an expression fraction with the
// sign inside its bracket.
struct Signed {
  bool negative = false;
  std::string Sum(const std::string& e) const { return negative ? "m(" + e + ")" : e; }
  std::string Plain(const std::string& e) const { return negative ? "m" + e : e; }
  std::string Bracket(const std::string& inside) const {
    return negative ? "[mK" + inside + "]" : "[" + inside + "]";
  }
};

}  // namespace

std::string ImproperToMixedProcess(const Bunsuu& value, const std::string& lineText) {
  if (value.den <= 0 || value.whole != 0 || value.num < value.den) return "n";
  Signed sg{value.sign < 0};
  int64_t n = value.num, d = value.den;
  std::string out, current = lineText;
  int64_t g = Gcd64(d, n);
  if (g > 1 && (ReduceOnConvert != 0 || n % d == 0)) {
    out += StepRecord(Advice::ReduceFirst, 'X', lineText);
    out += StepRecord(Advice::StrikeAndWriteQuotientsKeepWhole, 'A', lineText);
    n /= g;
    d /= g;
    current = sg.Plain(Digits(d) + "b" + Digits(n));
  }
  out += StepRecord(Advice::DivideNumeratorByDenominator, 'X', current);
  int64_t q = n / d, r = n % d;
  std::string D = Digits(d), Q = Digits(q), R = Digits(r);
  if (r == 0) {
    out += StepRecord(Advice::End, 'X', sg.Plain(Q));
    return out;
  }
  out +=
      StepRecord(Advice::NumeratorAsQuotientAndRemainder, 'X', sg.Bracket(D + "B" + D + "*" + Q + "+" + R));
  out += StepRecord(Advice::SplitIntoTwoFractions, 'X',
                    sg.Sum("[" + D + "B" + D + "*" + Q + "]+" + D + "b" + R));
  out += StepRecord(Advice::Continued, 'X', sg.Sum(D + "b" + D + "*" + Q + "+" + D + "b" + R));
  out += StepRecord(Advice::EqualPartsIsOne, 'Y', sg.Sum(D + "b" + D + "*" + Q + "+" + D + "b" + R));
  out += StepRecord(Advice::JoinIntegerAndProperFraction, 'X', sg.Sum(Q + "+" + D + "b" + R));
  out += StepRecord(Advice::JoinedToMixed, 'X', sg.Plain(Q + "k" + D + "b" + R));
  return out;
}

std::string MixedToImproperProcess(const Bunsuu& value, const std::string& lineText) {
  if (value.den <= 0 || value.whole <= 0 || value.num == 0) return "n";
  Signed sg{value.sign < 0};
  int64_t w = value.whole, n = value.num, d = value.den;
  std::string out, current = lineText;
  int64_t g = Gcd64(d, n);
  if (g > 1 && ReduceOnConvert != 0) {
    out += StepRecord(Advice::ReduceFirst, 'X', lineText);
    out += StepRecord(Advice::StrikeAndWriteQuotientsKeepWhole, 'A', lineText);
    n /= g;
    d /= g;
    current = sg.Plain(Digits(w) + "k" + Digits(d) + "b" + Digits(n));
  }
  std::string W = Digits(w), D = Digits(d), N = Digits(n);
  int64_t pv = 0, p2v = 0;
  if (!CheckedMul(w, d, pv) || !CheckedAdd(pv, n, p2v)) return "n";
  std::string P = Digits(pv), P2 = Digits(p2v);
  out += StepRecord(Advice::MixedWholeToImproper, 'X', current);
  out += StepRecord(Advice::WholeAndFractionSeparated, 'X', sg.Sum(W + "+" + D + "b" + N));
  out += StepRecord(Advice::IntegerToSameDenominator, 'X', sg.Sum("1b" + W + "+" + D + "b" + N));
  out += StepRecord(Advice::TimesOneForCommonDenominator, 'X',
                    sg.Sum("1b" + W + "*" + D + "b" + D + "+" + D + "b" + N));
  out += StepRecord(Advice::MultiplyDenominatorsAndNumerators, 'X',
                    sg.Sum("[1*" + D + "B" + W + "*" + D + "]+" + D + "b" + N));
  out += StepRecord(Advice::AddNumeratorsOverOneDenominator, 'X', sg.Sum(D + "b" + P + "+" + D + "b" + N));
  out += StepRecord(Advice::OneDenominatorForm, 'X', sg.Bracket(D + "B" + P + "+" + N));
  out += StepRecord(Advice::ImproperMadeEnd, 'X', sg.Plain(D + "b" + P2));
  return out;
}
