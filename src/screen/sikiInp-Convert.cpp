// The conversion commands of the closed line: the answer as a decimal, improper fraction ⇔ mixed number,
// a fraction reduced, a decimal as a fraction, and an equation or inequality in x solved; each with its
// process when process display is on.
#include <string>

#include "engine/BunMath.h"
#include "engine/Bunio.h"
#include "engine/Bunsuu.h"
#include "engine/Houtei1ji.h"
#include "engine/Settings.h"
#include "platform/Platform.h"
#include "process/CalcProcManage.h"
#include "process/MainDspManage.h"
#include "screen/ScreenPage.h"
#include "screen/sikiInp.h"
#include "screen/sikiInpCommands.h"
#include "typeset/bunCanvasDsp.h"

namespace {

bool Holds(const std::string& text, char c) { return text.find(c) != std::string::npos; }

void EraseLineCursor() {
  if (ScreenView.eraseCursor) ScreenView.eraseCursor();
}

// The line is finished: it takes no more characters and the cursor stops blinking.
void CloseLine() {
  LineOpen = false;
  EraseLineCursor();
}

void ShowLineString() {
  if (INPUTSTR_DSP) ShowInputString(LineText);
}

// Stores a raw process text for the display and asks for the repaint that draws it.
void StoreProcess(const std::string& raw, ProcessType type) {
  ProcessState.processText = NormalizeProcessText(raw);
  ProcessState.processType = type;
  RefreshScreen();
  RepaintScreen();
}

std::string Zeros(size_t n) { return std::string(n, '0'); }

}  // namespace

std::string ReductionProcess(const std::string& t) {
  const Bunsuu v = ParseNumber(t);
  std::string raw = StepRecord(Advice::HowToReduceByCommonDivisor, 'X', t);
  raw += StepRecord(v.whole > 0 ? Advice::StrikeAndWriteQuotientsKeepWhole : Advice::StrikeAndWriteQuotients,
                    'A', t);
  raw += StepRecord(Advice::CheckReducedAgainEnd, 'X', FormatBunsuu(Reduce(v), 0));
  return raw;
}

std::string DecimalProcess(const std::string& s) {
  const Bunsuu m = ToMixed(ParseNumber(s));
  std::string raw;
  const size_t p = s.find('.');
  if (p != std::string::npos) {
    raw = StepRecord(Advice::DecimalPartToFraction, 'X', s);
    std::string w = m.whole > 0 ? std::to_string(m.whole) + "k" : "";
    std::string digits = s;
    if (!digits.empty() && digits[0] == 'm') {
      w = "m" + w;
      digits.erase(0, 1);
    }
    const std::string f = digits.substr(digits.find('.') + 1);
    const std::string t = w + "1" + Zeros(f.size()) + "b" + f;
    raw += StepRecord(Advice::DecimalDenominatorPowerOfTen, 'X', t);
    if (IsReducible(m)) {
      raw += StepRecord(Advice::ReduceWhenPossible, 'A', t);
      raw += StepRecord(Advice::IrreducibleEnd, 'X', FormatBunsuu(Reduce(m), 0));
    } else {
      raw += StepRecord(Advice::DecimalDenominatorPowerOfTenDone, 'X', t);
    }
  } else {
    raw = StepRecord(Advice::IntegerAsOverOne, 'X', s);
    raw += !s.empty() && s[0] == 'm' ? StepRecord(Advice::ImproperMadeEnd, 'X', "m1b" + s.substr(1))
                                     : StepRecord(Advice::ImproperMadeEnd, 'X', "1b" + s);
  }
  return raw;
}

void AppendConvertedValue(const Bunsuu& value) {
  // The page draws the line again from LineText on every repaint, so the value is added to the text and
  // the whole line repainted: "＝" and the value stand where the typesetter puts them, in every repaint.
  std::string line = SplitAtAmpersand(LineText);
  const std::string column = TextAfterAmpersand;
  LineText = line + "=" + FormatBunsuu(value, 0);
  if (!column.empty()) LineText += "&" + column;
  ShowLineString();
  RefreshScreen();
  RepaintScreen();
}

void toSyousuuButtonClick() {
  if (DecimalDone || LineText.empty()) return;
  const std::string line = SplitAtAmpersand(LineText);
  const std::string column = TextAfterAmpersand;
  const std::string s = LastAnswerPiece(line);
  if (!IsSingleNumber(s)) {
    ShowMessage(MSG_DECIMAL_NEEDS_NUMBER, "ご報告！");
    return;
  }
  const Bunsuu v = ParseNumber(s);
  if (IsError(v)) return;
  std::string d = DecimalText(v);
  if (d == "n") return;
  const bool terminates = DecimalTerminates;
  if (!terminates) {
    d.pop_back();
    d += "u";
  }
  CloseLine();
  LineText = line + "=" + d;
  if (!column.empty()) LineText += "&" + column;
  // The verdict stands half a font size high one row under the "＝" before the decimal; it belongs to
  // this line and is painted with it on every repaint.
  LineVerdict = LineVerdictData{};
  LineVerdict.text = terminates ? VERDICT_TERMINATES : VERDICT_RECURS;
  LineVerdict.color = terminates ? CLR_GREEN : CLR_RED;
  LineVerdict.forLine = LineText;
  LineVerdict.atEquals = true;
  LineVerdict.sizeTenths = 5;
  DecimalDone = true;
  SyouButtonEnabled = false;
  ShowLineString();
  RefreshScreen();
  RepaintScreen();
}

void Button19Click() {
  if (MixedDone) {
    ShowMessage(MSG_ALREADY_MIXED, "ご報告！");
    return;
  }
  if (LineText.empty()) return;
  const std::string s = LastAnswerPiece(SplitAtAmpersand(LineText));
  if (Holds(s, 'u')) {
    ShowMessage(MSG_NO_MIXED_AFTER_CUT, "ご報告！");
    return;
  }
  if (!IsSingleNumber(s)) {
    ShowMessage(MSG_MIXED_NEEDS_NUMBER, "ご報告！");
    return;
  }
  const Bunsuu w = ToImproper(ParseNumber(s));
  if (IsError(w)) return;
  if (w.num < w.den) {
    ShowMessage(MSG_PROPER_NOT_MIXED, "ご報告！");
    return;
  }
  MixedDone = true;
  CloseLine();
  ObiButtonEnabled = false;
  if (PROCDSP) {
    const std::string steps = ImproperToMixedProcess(w, s);
    if (steps != "n") {
      StoreProcess(steps, ProcessType::ImproperToMixed);
      return;
    }
  }
  const Bunsuu m = ToMixed(Reduce(w));
  if (IsError(m)) {
    RefreshScreen();
    return;
  }
  AppendConvertedValue(m);
}

void Button18Click() {
  if (ImproperDone || LineText.empty()) return;
  const std::string s = LastAnswerPiece(SplitAtAmpersand(LineText));
  if (Holds(s, 'u')) {
    ShowMessage(MSG_NO_IMPROPER_AFTER_CUT, "Debug");
    return;
  }
  if (!IsSingleNumber(s)) {
    ShowMessage(MSG_IMPROPER_NEEDS_NUMBER, "ご報告！");
    return;
  }
  const Bunsuu v = ParseNumber(s);
  if (IsError(v)) return;
  ImproperDone = true;
  CloseLine();
  KariButtonEnabled = false;
  if (PROCDSP) {
    const std::string steps = MixedToImproperProcess(v, s);
    if (steps != "n") {
      // The conversion continues the process already shown for the line, if there is one.
      const std::string before =
          ProcessState.processType != ProcessType::None ? ProcessState.processText : "";
      StoreProcess(before + steps, ProcessType::MixedToImproper);
      return;
    }
  }
  const Bunsuu w = ToImproper(Reduce(v));
  if (IsError(w)) {
    RefreshScreen();
    return;
  }
  AppendConvertedValue(w);
}

void YakuProcDsp() {
  if (LineText.empty()) return;
  const std::string t = CutAtEquals(LineText, 0);
  if (!Holds(t, 'b')) {
    ShowMessage(MSG_NOT_FRACTION, "報告!!");
    return;
  }
  // An expression such as 4b2+4b1 is reduced term by term in its process, not by this command.
  if (!IsSingleNumber(t)) {
    ShowMessage(MSG_REDUCE_NEEDS_FRACTION, "報告!!");
    return;
  }
  const Bunsuu v = ParseNumber(t);
  if (IsError(v) || v.num == 0 || Gcd64(v.den, v.num) <= 1) {
    ShowMessage(MSG_NO_COMMON_DIVISOR, "報告!!");
    return;
  }
  CloseLine();
  const std::string r = FormatBunsuu(Reduce(v), 0);
  if (PROCDSP) {
    StoreProcess(ReductionProcess(t), ProcessType::Reduction);
    return;
  }
  LineText += "=" + r;
  BreakCount = 0;
  ShowLineString();
  ProcessState.processType = ProcessType::None;
  SetStatusText("◆約分の過程を表示しました。");
  RepaintScreen();
}

void DecimalToFraction() {
  if (LineText.empty()) return;
  std::string s = LastAnswerPiece(LineText);
  if (Holds(s, 'u')) {
    ShowMessage(MSG_CUT_DECIMAL_NO_FRACTION, "Report！");
    return;
  }
  const int k = NumberKind(s);
  if (k < 0) {
    ShowMessage(MSG_ENTER_DECIMAL, "Report！");
    return;
  }
  if (k == 2) {
    JunSToBunDsp();
    return;
  }
  const Bunsuu v = ParseNumber(s);
  const Bunsuu m = ToMixed(v);
  if (IsError(m)) return;
  CloseLine();
  if (PROCDSP) {
    const std::string raw = DecimalProcess(s);
    StoreProcess(raw, ProcessType::DecimalToFraction);
    return;
  }
  LineText += "=" + FormatBunsuu(Reduce(m), 0);
  ShowLineString();
  SetStatusText("◆小数を分数になおしました。");
  RepaintScreen();
}

void SolveLine(const std::string& input) {
  const std::string line = SplitAtAmpersand(input);
  if (!Holds(line, 'x')) {
    ShowMessage(MSG_SOLVE_NEEDS_X, "ご報告!!");
    return;
  }
  const std::string a = SolveLinear(line, 0);
  if (a == "n") {
    // An empty reason means the evaluator has already told the pupil; a second, empty box would not help.
    if (!SolverMessage.empty()) ShowMessage(SolverMessage, "ご報告!!");
    return;
  }
  LineText = line + "&x" + RelationSymbol(RelationKind) + a;
  CloseLine();
  SavedLine = LineText;
  ShowLineString();
  SetStatusText("◆方程式or不等式を解きました。");
  RepaintScreen();
}
