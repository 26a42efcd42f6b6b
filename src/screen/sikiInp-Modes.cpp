// The special modes of the calculation line on a single number: prime factorisation with its divisor
// rows, fraction ⇔ repeating decimal (with the process of a repeating decimal), and the number-base mode.
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/Bunio.h"
#include "engine/Bunsuu.h"
#include "engine/Buntakousiki.h"
#include "engine/Settings.h"
#include "platform/Platform.h"
#include "process/CalcProcManage.h"
#include "process/MainDspManage.h"
#include "screen/sikiInp.h"
#include "screen/sikiInpCommands.h"
#include "typeset/bunCanvasDsp.h"

LineCommandsState LineCommandsData;

namespace {

bool Holds(const std::string& text, char c) { return text.find(c) != std::string::npos; }

void CloseLine() {
  LineOpen = false;
  if (ScreenView.eraseCursor) ScreenView.eraseCursor();
}

void ShowLineString(const std::string& text) {
  if (INPUTSTR_DSP) ShowInputString(text);
}

std::string Zeros(size_t n) { return std::string(n, '0'); }

// A base as typed: a decimal 64-bit integer, or -1 when it does not read as one.
int64_t ReadBase(const std::string& text) {
  int64_t v = -1;
  if (text.empty()) return -1;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size()) return -1;
  return v;
}

// A text of digits read as a 64-bit integer; false when it is not one.
bool ReadInt(const std::string& text, int64_t& v) {
  if (text.empty()) return false;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  return ec == std::errc() && end == text.data() + text.size();
}

// Set while the repeating decimal is being converted, so that its hand-over to the decimal command and
// back cannot go round for ever on a line whose typed part and answer differ (3b1=0.@3).
bool RepeatingConversionRunning = false;

// A text that is its own number, not the number "1" written with leading zeros.
bool IsNumberOne(const std::string& digits) {
  size_t k = digits.find_first_not_of('0');
  return k != std::string::npos && digits.substr(k) == "1";
}

std::string WithoutLeadingZeros(const std::string& digits) {
  size_t k = digits.find_first_not_of('0');
  return k == std::string::npos ? "0" : digits.substr(k);
}

bool HasNonZeroDigit(const std::string& text) { return text.find_first_of("123456789") != std::string::npos; }

}  // namespace

// ---- Prime factorisation --------------------------------------------------------------------------------

void SoinsuuPre() {
  if (LineText.empty() || LineText[0] == '0') {
    ShowMessage(MSG_ENTER_NATURAL, MSG_FACTOR_CAPTION);
    CurrentPlatform().Beep();
    return;
  }
  if (LineText.find_first_of("+-*/^mpkb.") != std::string::npos) {
    CurrentPlatform().Beep();
    ShowMessage(MSG_ENTER_NATURAL, MSG_FACTOR_CAPTION);
    return;
  }
  SoinsuuDsp();
}

void SoinsuuDsp() {
  FactorisationShown = true;
  SetStatusText(std::string("◆素因数分解の計算中で～す。") +
                (InterruptibleFactorisation
                     ? " 《Esc or ｸﾘｯｸで中断することが可能です。》"
                     : " 《中断したいときは､Ctrl＋Alt＋Deleteで「Kazoru」を強制終了》"));
  const std::string f = PrimeFactorisation(LineText);
  if (f == "n") {
    // Failed or interrupted: the line stays as it was, without divisor rows.
    FactorisationShown = false;
    CurrentPlatform().Beep();
    return;
  }
  const std::string t = LineText + "=" + f;
  ShowLineString(t);
  DivisorsPerLine = ICHIGYOU_SUU;
  const std::string d = DivisorList(f, WA_TYPE);
  if (d == "n") {
    FactorisationShown = false;
    CurrentPlatform().Beep();
    SetStatusText("◆素因数分解に失敗しました！");
    return;
  }
  LineText = t;
  FactorisationLine = t;
  CloseLine();
  SetStatusText("◆素因数分解をおこないました。");
  RepaintScreen();
}

void ShowDivisorInfo(Canvas& surface, int x, int rowY, int cw, int ch) {
  if (LastDivisorText.empty()) return;
  const std::string n = CutAtEquals(LineText, 0);
  const int waType = WA_TYPE != 0 ? 1 : 0;
  const int64_t c = DivisorCount;
  const Color colour = surface.FontColor();
  auto row = [&](int k) { return rowY + k * ch; };
  auto put = [&](int k, const std::string& text, Color col) {
    surface.SetFontColor(col);
    surface.TextOut(x, row(k), text);
  };
  if (n == "1") {
    put(3, "◎ < １ > は素数でも合成数でもありません。", CLR_BLUE);
    put(4, "　［１の約数は１の１個だけなので］", CLR_BLUE);
  } else if (c - waType > 1) {
    put(3, "▽ < " + n + " > は合成数です。", CLR_BLUE);
    put(4, "　［約数が全部で " + std::to_string(c - waType + 1) + " 個（＞２個）あるので］", CLR_BLUE);
    if (waType == 0)
      put(6, "◎ < " + n + " > の約数 " + std::to_string(c) + " 個[元の数を除く]の和◎", CLR_MAROON);
    else
      put(6, "◎ < " + n + " > の全約数(" + std::to_string(c) + "個)の和◎", CLR_MAROON);
    surface.SetFontColor(CLR_BLACK);
    TypesetRun(surface, LastDivisorText, x, row(8), -1, cw, ch);
    if (waType == 0) {
      // The sum of the proper divisors stands after the last "=" of the list.
      int64_t sum = 0, number = 0;
      const size_t eq = LastDivisorText.rfind('=');
      if (eq != std::string::npos && ReadInt(LastDivisorText.substr(eq + 1), sum) && ReadInt(n, number)) {
        const char* kind = sum > number    ? "（過剰数［元の数より大きい］）"
                           : sum == number ? "（完全数［元の数と同じ大きさ］）"
                                           : "（不足数［元の数より小さい］）";
        const CanvasPoint pen = surface.PenPos();
        surface.SetFontColor(CLR_RED);
        surface.TextOut(pen.x, pen.y, kind);
      }
    }
  } else {
    put(3, "▽ < " + n + " > は素数です。", CLR_BLUE);
    put(4, "　［約数が１と " + n + " の２個だけなので］", CLR_BLUE);
  }
  surface.SetFontColor(colour);
}

// ---- Fraction ⇔ repeating decimal -----------------------------------------------------------------------

void JunkanSyori() {
  const std::string s = LastAnswerPiece(LineText);
  const size_t at = s.find('@');
  if (at != std::string::npos && at >= 1) {
    JunSToBunDsp();
    return;
  }
  const size_t b = s.find('b');
  if (b != std::string::npos && b >= 1) BunToJunSDsp();
}

void BunToJunSDsp() {
  std::string s = LastAnswerPiece(LineText);
  const size_t eq = s.find('=');
  if (eq != std::string::npos && eq >= 1) s.erase(eq);
  if (!IsSingleNumber(s)) {
    ShowMessage(MSG_REPEATING_NEEDS_FRACTION, "Report！");
    return;
  }
  const Bunsuu m = ToMixed(ParseNumber(s));
  if (m.den == 0) {
    ShowMessage("まず分数に直すのに失敗！", "Report！");
    return;
  }
  if (m.num == 0) {
    ShowMessage("整数は循環小数に直せない。", "Report！");
    return;
  }
  const std::string r = RepeatingDecimalText(m.num, m.den);
  if (r == "n") return;
  std::string result = m.sign < 0 ? "-" : "";
  if (m.whole > 0)
    result += std::to_string(m.whole) + (r.size() > 1 && r[0] == '0' ? r.substr(1) : r);
  else
    result += r;
  LineText += "=" + result;
  ShowLineString(LineText);
  CloseLine();
  SetStatusText("◆分数を循環小数になおしました。");
  RepaintScreen();
}

namespace {

// A repeating decimal t = G…@R read for its steps: the f digits between the point and "@" (Z the same
// number of zeros), the repeating digits R and as many nines N, the whole part W, and the part before the
// repeat G (without a point when nothing follows it, only the whole part when only zeros follow it).
struct RepeatingParts {
  std::string t;
  size_t f = 0;
  std::string Z;
  std::string R;
  std::string N;
  int64_t W = 0;
  std::string G;
};

std::optional<RepeatingParts> ReadRepeatingParts(const std::string& t) {
  const size_t d = t.find('@');
  const size_t e = t.find('.');
  if (d == std::string::npos || e == std::string::npos || d <= e) return std::nullopt;
  const Bunsuu v = ToMixed(ParseNumber(t));
  if (IsError(v)) return std::nullopt;
  RepeatingParts p;
  p.t = t;
  p.f = d - e - 1;
  p.Z = Zeros(p.f);
  p.R = t.substr(d + 1);
  p.N = std::string(p.R.size(), '9');
  p.W = v.whole;
  p.G = t.substr(0, d);
  const std::string decimals = t.substr(e + 1, p.f);
  if (p.f > 0 && decimals.find_first_not_of('0') == std::string::npos) p.G = t.substr(0, e);
  if (p.f == 0 && !p.G.empty() && p.G.back() == '.') p.G.pop_back();
  return p;
}

void ReportCommonDenominatorFailure() {
  CurrentPlatform().Beep();
  ShowMessage("◆通分に失敗しました！", "報告!!");
}

// The non-repeating fraction G and the repeating fraction in L over one denominator and added up (S the
// whole part written in front); the records go to raw. Nothing when the common denominator fails.
std::optional<std::string> AddOverCommonDenominator(const std::string& S, const std::string& L,
                                                    std::string& raw) {
  if (!S.empty()) raw += StepRecord(Advice::Continued, 'X', S + L);
  const std::string P = ToCommonDenominator(L);
  if (P == "n") {
    ReportCommonDenominatorFailure();
    return std::nullopt;
  }
  if (ProcessState.denominatorsDiffered == 1) {
    raw += StepRecord(Advice::HowToMakeCommonDenominator, 'X', S + ProcessState.multiplicationForm);
    raw += StepRecord(Advice::AddNumeratorsOverOneDenominator, 'X', S + P);
  } else {
    raw += StepRecord(Advice::None, 'X', P);
  }
  std::string J = CombineOverDenominator(P, false);
  if (J == "n") {
    ReportCommonDenominatorFailure();
    return std::nullopt;
  }
  raw += StepRecord(Advice::OneDenominatorForm, 'X', S + CutAtEquals(J, 0));
  J = LastAnswerPiece(J);
  raw += StepRecord(Advice::OneDenominatorForm, 'X', S + J);
  return J;
}

// A non-repeating part other than 0 is split off and converted first, then added to the repeating part.
std::string WithNonRepeatingPart(RepeatingParts p) {
  const std::string& t = p.t;
  const std::string& Z = p.Z;
  const std::string& R = p.R;
  std::string& G = p.G;
  std::string raw = StepRecord(Advice::SplitOffNonRecurringPart, 'X', t);
  raw += StepRecord(Advice::NonRecurringPartToFraction, 'X', G + "+0." + Z + "@" + R);
  std::string S, C;
  if (p.W > 0) {
    S = std::to_string(p.W) + "+";
    C = std::to_string(p.W) + "k";
  }
  if (p.f > 0) {
    if (p.W > 0) {
      const size_t point = G.find('.');
      G = "0." + (point == std::string::npos ? std::string() : G.substr(point + 1));
    }
    if (G == "0.") {
      G.clear();
      C = S;
    } else {
      G = FormatBunsuu(ParseNumber(G), 0) + "+";
    }
  } else {
    G.clear();
    C = S;
  }
  raw += StepRecord(Advice::RecurringDecimalToFraction, 'X', C + G + "0." + Z + "@" + R);
  std::string Rp;
  if (p.f > 0) {
    const std::string M = "*1" + Z + "b1";
    raw += StepRecord(Advice::MoveRecurringPartByUnitFraction, 'X', C + G + "0.@" + R + M);
    Rp = p.N + "b" + R;
    raw += StepRecord(Advice::RecurringPartToFraction, 'X', C + G + Rp + M);
    Rp = p.N + Z + "b" + R;
  } else {
    Rp = p.N + "b" + R;
  }
  std::string L = G + Rp;
  raw += StepRecord(Advice::CommonDenominatorWholeApart, 'X', C + L);
  std::string J;
  if (p.f == 0 || G.empty()) {
    raw += StepRecord(Advice::RecurringPartToFraction, 'X', S + L);
    J = L;
  } else {
    std::optional<std::string> sum = AddOverCommonDenominator(S, L, raw);
    if (!sum) return "";
    J = *sum;
  }
  if (CountReducible(LastAnswerPiece(J), false) < 1) {
    L = J;
  } else {
    raw += StepRecord(Advice::ReduceWhenPossible, 'X', S + J);
    raw += StepRecord(Advice::HowToReduce, 'A', S + J);
    L = ReduceFractions(J);
    raw += StepRecord(Advice::Continued, 'X', S + L);
  }
  if (!S.empty()) {
    S.pop_back();
    S += "k";
  }
  raw += StepRecord(Advice::IrreducibleEnd, 'X', S + L);
  return raw;
}

// Nothing but zeros before the repeating part: the repeat over its nines, shifted by the zeros.
std::string ZerosBeforeRepeat(const RepeatingParts& p) {
  const std::string& t = p.t;
  const std::string& Z = p.Z;
  const std::string& R = p.R;
  const std::string& N = p.N;
  const bool one = IsNumberOne(R);
  std::string raw, Rp;
  if (p.f > 0) {
    raw = StepRecord(Advice::MoveRecurringPart, 'X', t);
    const std::string M = "*1" + Z + "b1";
    raw += StepRecord(Advice::PureRecurringToFraction, 'X', "0.@" + R + M);
    if (!one) {
      Rp = N + "b" + R;
      raw += StepRecord(Advice::RecurringPartToFraction, 'X', Rp + M);
      Rp = N + Z + "b" + R;
    } else {
      raw += StepRecord(Advice::MultiplyIntoOneFraction, 'X', N + "b1" + M);
      Rp = N + Z + "b1";
    }
    raw += StepRecord(Advice::MultiplyIntoOneFraction, 'X', Rp);
  } else if (!one) {
    const std::string R0 = WithoutLeadingZeros(R);
    raw = StepRecord(Advice::PureRecurringTimesFactor, 'X', t);
    raw += StepRecord(Advice::PureRecurringToFraction, 'X', "0.@" + Zeros(N.size() - 1) + "1*" + R0);
    raw += StepRecord(Advice::MultiplyToOneFraction, 'X', N + "b1*" + R0);
    Rp = N + "b" + R0;
  } else {
    raw = StepRecord(Advice::PureRecurringToFraction, 'X', t);
    raw += StepRecord(Advice::MultiplyIntoOneFraction, 'X', N + "b1");
    Rp = N + "b1";
  }
  std::string L;
  if (CountReducible(Rp, false) < 1) {
    L = Rp;
  } else {
    raw += StepRecord(Advice::ReduceWhenPossible, 'X', Rp);
    raw += StepRecord(Advice::HowToReduce, 'A', Rp);
    L = ReduceFractions(Rp);
  }
  raw += StepRecord(Advice::IrreducibleEnd, 'X', L);
  return raw;
}

}  // namespace

std::string RepeatingDecimalProcess(const std::string& t) {
  std::optional<RepeatingParts> parts = ReadRepeatingParts(t);
  if (!parts) return "";
  if (HasNonZeroDigit(parts->G)) return WithNonRepeatingPart(*parts);
  return ZerosBeforeRepeat(*parts);
}

void JunSToBunDsp() {
  if (RepeatingConversionRunning) return;
  RepeatingConversionRunning = true;
  struct Done {
    ~Done() { RepeatingConversionRunning = false; }
  } done;

  const std::string t = CutAtEquals(LineText, 0);
  const Bunsuu v = ParseNumber(t);
  if (IsError(v)) {
    ShowMessage("分数に直すのに失敗！", "Report！");
    return;
  }
  if (!Holds(t, '@')) {
    DecimalToFraction();
    return;
  }
  CloseLine();
  if (!PROCDSP) {
    LineText += "=" + FormatBunsuu(Reduce(v), 0);
    ShowLineString(LineText);
    SetStatusText("◆循環小数を分数になおしました。");
    RepaintScreen();
    return;
  }
  // The steps are written for the digits; a sign typed in front stands before every line but the first.
  std::string digits = t;
  bool negative = false;
  if (!digits.empty() && (digits[0] == 'm' || digits[0] == 'p')) {
    negative = digits[0] == 'm';
    digits.erase(0, 1);
  }
  std::string raw = RepeatingDecimalProcess(digits);
  if (raw.empty()) {
    RepaintScreen();
    return;
  }
  if (negative) {
    std::string signedRaw;
    bool first = true;
    for (const ProcessLine& line : SplitProcessText(NormalizeProcessText(raw))) {
      const std::string expr =
          first ? t : (FirstOperator(line.expr).kind != -1 ? "m(" + line.expr + ")" : "m" + line.expr);
      signedRaw += StepRecord(static_cast<Advice>(line.advice), line.style, expr);
      first = false;
    }
    raw = signedRaw;
  }
  ProcessState.processText = NormalizeProcessText(raw);
  ProcessState.processType = ProcessType::RepeatingDecimalToFraction;
  RefreshScreen();
  RepaintScreen();
}

// ---- Number bases ----------------------------------------------------------------------------------------

void ToggleBaseMode() {
  BaseMode = !BaseMode;
  if (BaseMode) {
    SetStatusText("Ｎ進法変換モードに入りました！!");
    ShowMessage(BASE_FORMAT_TEXT, BASE_CAPTION);
  } else {
    SetStatusText("Ｎ進法変換モードを出ました！!");
  }
  RefreshScreen();
  RepaintScreen();
}

void BaseConvert() {
  if (!BaseMode || LineText.empty() || Holds(LineText, '=')) return;
  std::string text;
  for (char c : LineText)
    if (c != ')') text += c;
  std::string result;
  const size_t to = text.find(">(");
  if (to != std::string::npos) {
    const std::string number = text.substr(0, to);
    const std::string b = text.substr(to + 2, 100);
    const int64_t base = ReadBase(b);
    if (base >= 2) {
      const std::string r = DecimalToBase(number, base);
      if (r != "n") result = number + "(10)=" + r + "(" + b + ")";
    }
  } else if (const size_t p = text.find('('); p != std::string::npos) {
    const std::string number = text.substr(0, p);
    const std::string rest = text.substr(p + 1);
    const size_t gt = rest.find('>');
    if (gt != std::string::npos) {
      const std::string from = rest.substr(0, gt), target = rest.substr(gt + 1);
      const int64_t fb = ReadBase(from), tb = ReadBase(target);
      if (fb >= 2 && tb >= 2) {
        const std::string r = ConvertBase(number, fb, tb);
        if (r != "n") result = number + "(" + from + ")=" + r + "(" + target + ")";
      }
    } else {
      const int64_t fb = ReadBase(rest);
      if (fb >= 2) {
        const std::string r = BaseToDecimal(number, fb);
        if (r != "n") result = number + "(" + rest + ")=" + r + "(10)";
      }
    }
  }
  if (result.empty()) {
    ShowMessage(BASE_FORMAT_TEXT_LONG, BASE_CAPTION);
    return;
  }
  LineText = result;
  CloseLine();
  RepaintScreen();
}
