// The answer store of the calculation screen: one answer kept from a closed line, pasted into a later
// line key by key, and shown in the notice box.
#include "screen/AnswerStore.h"

#include "engine/BunMath.h"
#include "engine/Bunio.h"
#include "platform/Platform.h"
#include "process/CalcProcManage.h"
#include "process/MainDspManage.h"
#include "screen/sikiInp.h"

AnswerStoreState AnswerStoreData;

void AnswerStoreState::Reset() { *this = AnswerStoreState{}; }

namespace {

// Whether the closed line shows this text as one of its answers (a piece after an "=" before the answer
// column): the evaluator's answer texts then belong to this line and not to an earlier one.
bool LineShows(const std::string& line, const std::string& answer) {
  if (answer.empty()) return false;
  size_t pos = 0;
  while ((pos = line.find('=', pos)) != std::string::npos) {
    ++pos;
    size_t end = line.find('=', pos);
    if (line.compare(pos, end == std::string::npos ? std::string::npos : end - pos, answer) == 0) return true;
  }
  return false;
}

// The answer of the closed line as the store takes it.
std::string AnswerOfLine() {
  if (LineText.find('&') != std::string::npos && LineText.find('x') != std::string::npos) {
    // A solved equation: the value of the solution after "x" and its relation.
    size_t at = LineText.find("&x");
    std::string value = at == std::string::npos ? std::string() : LineText.substr(at + 2);
    size_t start = value.find_first_not_of("<>=");
    return start == std::string::npos ? std::string() : value.substr(start);
  }
  if (ProcessState.processType != ProcessType::None) {
    // A process is shown instead of an answer: its last line is the answer.
    std::vector<ProcessLine> lines = SplitProcessText(ProcessState.processText);
    return lines.empty() ? std::string() : lines.back().expr;
  }
  const std::string line = SplitAtAmpersand(LineText);
  // The evaluator's texts are those of the last evaluation, which may have been an earlier line (this one
  // was factorised or converted without evaluating): they count only when this line shows one of them.
  if (!LineShows(line, AnswerMixedText) && !LineShows(line, AnswerImproperText)) return LastAnswerPiece(line);
  if (!AnswerMixedText.empty()) return AnswerMixedText;
  if (AnswerImproperText.empty()) return LastAnswerPiece(line);
  return AnswerImproperText;
}

}  // namespace

void CopyAnswer() {
  if (LineOpen) {
    if (StoredAnswer.empty()) {
      ShowMessage(MSG_COPY_NEEDS_CALC, ANSWER_STORE_CAPTION);
      return;
    }
  } else {
    StoredAnswer = AnswerOfLine();
  }
  if (StoredAnswer.empty()) {
    ShowMessage(MSG_NOTHING_TO_COPY, ANSWER_STORE_CAPTION);
    return;
  }
  // A signed answer is pasted in brackets, so that it can follow an operator.
  if (StoredAnswer[0] == 'm' || StoredAnswer[0] == 'p') StoredAnswer = "(" + StoredAnswer + ")";
  SetStatusText("CopyAnswer:: < " + StoredAnswer + " >を保存しました。");
}

void PasteAnswer() {
  const std::string text = StoredAnswer;
  for (char c : text) InputChar(c);
}

void ViewAnswer() {
  if (StoredAnswer.empty()) return;
  CurrentPlatform().ShowNotice("@" + StoredAnswer, "一時保存の答", 3000);
}
