// The step checker's driver: splits a chain into pieces, checks each piece, compares it with the last
// readable one and writes the verdict, the advice, the hint and the final note.
#include "steps/StepCheck.h"

#include <map>

#include "engine/BunMath.h"
#include "engine/Bunio.h"
#include "engine/Bunsuuh.h"
#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "platform/Platform.h"
#include "process/CalcProcManage.h"
#include "process/QuietCalculation.h"
#include "steps/StepInternal.h"
#include "typeset/bunCanvasDsp.h"

namespace {

const std::vector<KnownMistake> MISTAKES = {
    {"add-across", "分母どうし・分子どうしをたした", "分母どうしはたしません。まず通分しよう。"},
    {"subtract-across", "分母どうし・分子どうしをひいた",
     "分母どうしはひきません。まず通分して、分子だけをひこう。"},
    {"keep-denominator", "通分せずに分母を片方のままにした",
     "分母がちがうままでは、分子をたしたりひいたりできません。まず通分しよう。"},
    {"numerators-not-scaled", "通分で分子に同じ数をかけなかった",
     "通分するときは、分母にかけた数と同じ数を分子にもかけよう。"},
    {"whole-into-both", "整数を分母と分子の両方にかけた",
     "整数をかけるときは、分子にだけかけます。分母はそのままだよ。"},
    {"divide-not-inverted", "わる数を逆数にしなかった",
     "分数でわるときは、わる数の分母と分子を入れかえて（逆数にして）かけよう。"},
    {"dividend-inverted", "わられる数を逆数にした",
     "逆数にするのは、わる数のほうだよ。わられる数はそのままにしよう。"},
    {"borrow-swapped", "くり下げずに分子を逆にひいた",
     "分子がひけないときは、整数から１をくり下げよう。大きい分子から小さい分子をひいてはいけません。"},
    {"mixed-part-forgotten", "帯分数の一部だけにかけた",
     "帯分数は、整数の部分にも分数の部分にもかけます。まず仮分数に直すと安心だよ。"},
    {"mixed-to-improper", "帯分数を仮分数に直しまちがえた",
     "帯分数を仮分数にするときは、「分母×整数＋分子」を分子にします。"},
    {"reduced-unevenly", "分母と分子を別の数でわった", "約分は、分母と分子を同じ数でわります。"},
    {"left-to-right", "×÷より先に＋－を計算した", "×と÷は、＋と－より先に計算します。"},
    {"sign", "符号のまちがい", "＋と－の符号をもう一度たしかめよう。"},
    {"upside-down", "分母と分子が逆", "分母と分子が入れかわっているよ。もう一度たしかめよう。"},
    {"decimal-point", "小数点の位置のまちがい", "小数点の位置をもう一度たしかめよう。"},
};

const std::vector<std::string> FINAL_IDS = {"not-reduced", "improper-left", "mixed-left", "not-finished"};
const std::map<std::string, std::string> FINAL_ADVICE = {
    {"not-reduced", "答えはまだ約分できるよ。約分して答えにしよう。"},
    {"improper-left", "答えが仮分数のままだよ。帯分数に直そう。"},
    {"mixed-left", "答えは仮分数で書こう。"},
    {"not-finished", "まだ計算のとちゅうだよ。最後まで計算しよう。"},
};

constexpr const char* OK_ADVICE = "正しいね。その調子！";
constexpr const char* JUMP_ADVICE = "正しいよ。いくつかの計算をまとめてできたね。";
constexpr const char* WRONG_ADVICE = "ここで式の大きさが変わってしまったよ。前の式からもう一度計算しよう。";
constexpr const char* OVERFLOW_ADVICE =
    "数が大きすぎて、正しく計算できません（64ビットの整数の範囲をこえました）。";
constexpr const char* ZERO_DIVISION_ADVICE = "０でわることはできません。";
constexpr const char* NO_VALUE_ADVICE = "この式は計算できません。";
constexpr const char* NO_BASE_ADVICE = "問題の式が読めないので、くらべられません。";
constexpr const char* EMPTY_PIECE_REASON = "式がありません。";

// Everything the checker touches that belongs to the screen is saved on entry and put back on exit;
// meanwhile messages go to a quiet platform so that nothing is shown.
using StateGuard = QuietCalculation;

struct ReadResult {
  steps::Piece piece;
  int position = 0;  // 1-based position of the first bad character; 0 when readable
  std::string message;
};

ReadResult Read(const std::string& text) {
  ReadResult r;
  if (text.empty()) {
    r.position = 1;
    r.message = EMPTY_PIECE_REASON;
    return r;
  }
  int pos = CheckText(text, {.collectText = true, .omitMul = true});
  if (pos > 0) {
    r.position = pos;
    r.message = CheckMessage(ErrorNo);
    if (r.message.empty()) r.message = "ここに書けない文字があります。";
    return r;
  }
  r.piece = steps::ReadPiece(CheckedText);
  if (!r.piece.Readable()) {
    r.position = r.piece.badPosition;
    r.message = r.piece.badReason;
  }
  return r;
}

// The note on a right last step whose form is not the finished answer.
std::string FinalNote(const steps::Piece& p, StepFinalForm form) {
  int sign = 1;
  int n = steps::Unwrap(p, p.root, sign);
  if (!steps::IsNumber(p, n)) return "not-finished";
  const steps::Node& x = p.nodes[static_cast<size_t>(n)];
  if (x.form == steps::NumberForm::Integer || x.form == steps::NumberForm::Decimal || IsError(x.value))
    return "";
  const Bunsuu& v = x.value;
  if (v.den == 1 || v.num == 0 || Gcd64(v.den, v.num) > 1) return "not-reduced";
  bool improperPart = v.num >= v.den;
  if (form == StepFinalForm::Mixed) return improperPart ? "improper-left" : "";
  return (x.form == steps::NumberForm::Mixed) ? "mixed-left" : "";
}

std::string Join(const std::string& a, const std::string& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  return a + b;
}

}  // namespace

StepOptions StepOptionsFromSettings() {
  StepOptions o;
  o.finalForm = PROCLASTANS == 1 ? StepFinalForm::Improper : StepFinalForm::Mixed;
  return o;
}

const char* StepVerdictName(StepVerdict v) {
  switch (v) {
    case StepVerdict::Ok: return "ok";
    case StepVerdict::OkJump: return "ok-jump";
    case StepVerdict::Mistake: return "mistake";
    case StepVerdict::Wrong: return "wrong";
    case StepVerdict::Unreadable: return "unreadable";
  }
  return "wrong";
}

bool IsRightVerdict(StepVerdict v) { return v == StepVerdict::Ok || v == StepVerdict::OkJump; }

const std::vector<KnownMistake>& KnownMistakes() { return MISTAKES; }
const std::vector<std::string>& FinalNoteIds() { return FINAL_IDS; }

std::string MistakeAdvice(const std::string& id) {
  for (const KnownMistake& m : MISTAKES)
    if (id == m.id) return m.advice;
  return "";
}

std::string FinalNoteAdvice(const std::string& id) {
  auto it = FINAL_ADVICE.find(id);
  return it == FINAL_ADVICE.end() ? "" : it->second;
}

std::string NextStepHint(const std::string& piece, const StepOptions& options) {
  StateGuard guard;
  ReadResult r = Read(piece);
  if (r.position > 0) return "";
  return steps::ProgramNextStep(r.piece, options.finalForm == StepFinalForm::Improper ? 1 : 0);
}

ChainResult CheckChain(const std::string& chain, const StepOptions& options) {
  ChainResult result;
  result.input = chain;
  std::vector<std::string> texts;
  size_t start = 0;
  while (true) {
    size_t eq = chain.find('=', start);
    texts.push_back(chain.substr(start, eq == std::string::npos ? std::string::npos : eq - start));
    if (eq == std::string::npos) break;
    start = eq + 1;
  }
  // A chain closed with "=" (as the screen's step key leaves it) has no empty last step.
  if (texts.size() > 1 && texts.back().empty()) texts.pop_back();
  if (texts.size() < 2) {
    result.note = "途中の式を「＝」でつないで書こう。";
    if (options.hints && !texts[0].empty()) result.hint = NextStepHint(texts[0], options);
    return result;
  }

  StateGuard guard;
  const int finalForm = options.finalForm == StepFinalForm::Improper ? 1 : 0;
  ReadResult base = Read(texts[0]);
  std::map<std::string, std::string> hints;
  for (size_t k = 1; k < texts.size(); ++k) {
    StepResult s;
    s.from = base.position == 0 ? base.piece.text : texts[0];
    s.to = texts[k];
    ReadResult cur = Read(texts[k]);
    if (cur.position > 0) {
      s.verdict = StepVerdict::Unreadable;
      s.position = cur.position;
      s.checkerMessage = cur.message;
      s.advice = "この式は" + std::to_string(cur.position) + "字目が読めません。" + cur.message;
    } else if (base.position > 0) {
      s.verdict = StepVerdict::Unreadable;
      s.advice = NO_BASE_ADVICE;
      s.checkerMessage = base.message;
    } else {
      const steps::Piece& a = base.piece;
      const steps::Piece& b = cur.piece;
      if (!a.HasValue() || !b.HasValue()) {
        steps::ValueFailure why = !a.HasValue() ? a.failure : b.failure;
        s.verdict = StepVerdict::Wrong;
        s.overflow = why == steps::ValueFailure::Overflow;
        s.advice = s.overflow                                   ? OVERFLOW_ADVICE
                   : why == steps::ValueFailure::DivisionByZero ? ZERO_DIVISION_ADVICE
                                                                : NO_VALUE_ADVICE;
      } else if (a.value == b.value) {
        s.verdict = steps::IsOneStep(a, b) ? StepVerdict::Ok : StepVerdict::OkJump;
        s.advice = s.verdict == StepVerdict::Ok ? OK_ADVICE : JUMP_ADVICE;
      } else {
        int m = steps::FindMistake(a, b);
        if (m >= 0) {
          s.verdict = StepVerdict::Mistake;
          s.mistake = MISTAKES[static_cast<size_t>(m)].id;
          s.advice = MISTAKES[static_cast<size_t>(m)].advice;
        } else {
          s.verdict = StepVerdict::Wrong;
          s.advice = WRONG_ADVICE;
        }
      }
      if (options.hints && a.HasValue()) {
        auto it = hints.find(a.text);
        if (it == hints.end()) it = hints.emplace(a.text, steps::ProgramNextStep(a, finalForm)).first;
        s.hint = it->second;
      }
      if (IsRightVerdict(s.verdict) && k + 1 == texts.size()) {
        s.finalNote = FinalNote(b, options.finalForm);
        s.advice = Join(s.advice, FinalNoteAdvice(s.finalNote));
      }
    }
    // The chain goes on from the last readable piece.
    if (cur.position == 0) base = std::move(cur);
    result.steps.push_back(std::move(s));
  }
  if (options.hints && !result.steps.empty()) {
    // After a wrong step the hint redoes it; otherwise it goes on from the last readable piece.
    const StepResult& last = result.steps.back();
    if (last.verdict == StepVerdict::Mistake || last.verdict == StepVerdict::Wrong)
      result.hint = last.hint;
    else if (base.position == 0 && base.piece.HasValue())
      result.hint = steps::ProgramNextStep(base.piece, finalForm);
  }
  result.allRight = !result.steps.empty();
  for (const StepResult& s : result.steps)
    if (!IsRightVerdict(s.verdict) || !s.finalNote.empty()) result.allRight = false;
  return result;
}
