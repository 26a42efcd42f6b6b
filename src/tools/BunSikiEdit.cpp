// The expression editor's logic: Show and Calculate onto the calculation line or the notebook line, the
// stash, the keys of the three tool windows and the focus order between them.
#include "tools/BunSikiEdit.h"

#include "engine/BunMath.h"
#include "engine/Bunio.h"
#include "engine/Houtei1ji.h"
#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "notebook/NotePage.h"
#include "platform/Platform.h"
#include "platform/VirtualKeys.h"
#include "screen/sikiInp.h"
#include "tools/kihonSet.h"
#include "tools/sikiEMemo.h"
#include "tools/xyDainyuu.h"

BunSikiEditState BunSikiEditData;
EditorNotebookHooks EditorNotebook;

namespace {

bool Holds(const std::string& text, char c) { return text.find(c) != std::string::npos; }

bool WorksForNotebook() {
  return EditorMode == EditorFor::NotebookHanded || EditorMode == EditorFor::Notebook;
}

std::string BeforeFirst(const std::string& text, char c) { return text.substr(0, text.find(c)); }

// The field's text as the commands read it: the comment dropped, "pai" written as the π text, trimmed.
std::string PreparedText(const std::string& fieldText) {
  return TrimBlanks(ReplacePai(FieldExpression(fieldText)));
}

// The label before a solution the field shows (after a blank).
constexpr const char* SHOWN_ANSWER_LABEL = "【答】";

// The refusal of a text longer than the editor takes; false when it fits.
bool TooLong(const std::string& text, EditorOutcome& outcome) {
  if (EditorExpressionLength(text) <= EDITOR_MAX_CHARS) return false;
  outcome.badPos = EDITOR_MAX_CHARS + 1;
  outcome.errorText = "◇ｴﾗｰ::式の長さが256字を超えています。";
  return true;
}

// The whole-text check of Show and Calculate; false with the error display filled in. The text stands
// after offset characters of the field.
bool CheckField(const std::string& text, EditorOutcome& outcome, int offset = 0) {
  const int p = CheckText(text, {.collectText = true, .omitMul = KAKERU_ABR != 0});
  if (p == 0) return true;
  outcome.badPos = p + offset;
  outcome.errorText = "◇ｴﾗｰ::(" + std::to_string(p + offset) + "字目) " + CheckMessage(ErrorNo);
  return false;
}

// A notebook line that begins with "=" is the pupil's working under the problem above it: the rest is
// the expression.
bool IsNotebookWorking(const std::string& text) {
  return WorksForNotebook() && text.size() > 1 && text.front() == '=';
}

void StoreInNotebook(const std::string& text) {
  if (ReplaceSelected(text)) NotePage.modified = true;
  if (EditorNotebook.redraw) EditorNotebook.redraw();
}

// A computed line on the calculation screen: closed, drawn with its answer.
void PutComputedLine(const std::string& line) {
  ClearLine();
  LineText = line;
  LineOpen = false;
  if (INPUTSTR_DSP) ShowInputString(LineText);
  RefreshScreen();
  RepaintScreen();
}

}  // namespace

void BunSikiEditState::Reset() { *this = BunSikiEditState{}; }

void ResetBunSikiEdit() { BunSikiEditData.Reset(); }

bool NotebookIsOpen() { return EditorNotebook.isOpen && EditorNotebook.isOpen(); }

std::string ShownLine(const std::string& line) {
  const size_t amp = line.find('&');
  if (amp == std::string::npos) return line;
  const std::string expression = line.substr(0, amp);
  const std::string answer = line.substr(amp + 1);
  if (answer.empty()) return expression;
  // A computed expression or ratio already shows its answers after "=": the first of them is the answer
  // field.
  for (size_t eq = expression.find('='); eq != std::string::npos; eq = expression.find('=', eq + 1)) {
    const size_t end = expression.find('=', eq + 1);
    if (expression.compare(eq + 1, end == std::string::npos ? std::string::npos : end - eq - 1, answer) == 0)
      return expression;
  }
  return expression + " " + SHOWN_ANSWER_LABEL + answer;
}

std::string FieldExpression(const std::string& fieldText) {
  std::string text = BeforeFirst(fieldText, '#');
  const size_t label = text.find(SHOWN_ANSWER_LABEL);
  return label == std::string::npos ? text : text.substr(0, label);
}

int EditorExpressionLength(const std::string& fieldText) {
  const std::string text = TrimBlanks(FieldExpression(fieldText));
  return static_cast<int>(CutForSolver(text, 0).size());
}

void PutOnCalculationLine(const std::string& text) {
  ClearLine();
  if (CheckText(text, {.collectText = true, .omitMul = KAKERU_ABR != 0}) == 0) {
    // The checker now stands where typing the text key by key would have left it.
    LineText = CheckedText;
    State = CheckerState.state;
    PrevChar = LineText.empty() ? '$' : CheckerState.prevChar;
  } else {
    LineText = text;
    ResetInpCheck();
  }
  LineCount = static_cast<int>(LineText.size());
  SavedLine = LineText;
  if (INPUTSTR_DSP) ShowInputString(LineText);
  RefreshScreen();
  RepaintScreen();
}

EditorOutcome EditorShow(const std::string& fieldText) {
  EditorOutcome outcome;
  const std::string text = PreparedText(fieldText);
  outcome.errorText.clear();
  if (TooLong(text, outcome)) return outcome;
  ClearLine();
  const bool working = IsNotebookWorking(text);
  if (!CheckField(working ? text.substr(1) : text, outcome, working ? 1 : 0)) return outcome;
  const std::string checked = (working ? "=" : "") + CheckedText;
  if (WorksForNotebook()) {
    StoreInNotebook(checked);
  } else {
    PutOnCalculationLine(checked);
  }
  outcome.done = true;
  return outcome;
}

EditorOutcome EditorCalculate(const std::string& fieldText) {
  EditorOutcome outcome;
  if (BaseMode) {
    // The number-base mode reads its own format (FF(16), 255>(2 …) from the line.
    std::string upper = fieldText;
    for (char& c : upper)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    ClearLine();
    LineText = TrimBlanks(upper);
    RunScreenCommand(ScreenCommand::BaseConvert);
    RepaintScreen();
    return outcome;
  }
  if (Holds(fieldText, '#')) {
    outcome.errorText = " ｢#｣ 以降を削除せよ！";
    return outcome;
  }
  const std::string text = PreparedText(fieldText);
  // Working is written down, not computed: it goes onto the page as Show puts it there.
  if (IsNotebookWorking(text)) return EditorShow(fieldText);
  if (TooLong(text, outcome)) return outcome;
  ClearLine();
  if (!CheckField(text, outcome)) return outcome;
  const std::string checked = CheckedText;
  PutOnCalculationLine(checked);

  if (Holds(checked, 'y') || Holds(checked, 'z')) {
    ShowMessage("ｙやｚの文字は計算できません。", "注意!!");
    return outcome;
  }
  const std::string w = BeforeFirst(checked, '=');
  std::string line;
  if (Holds(w, 'x')) {
    line = SolveLinear(BeforeFirst(checked, '&'), 1);
    if (line == "n") {
      if (!SolverMessage.empty()) ShowMessage(SolverMessage, "ご報告!!");
      return outcome;
    }
  } else if (Holds(w, ':')) {
    const std::string ratio = SimplifyRatio(w, 0);
    if (ratio == "n") return outcome;
    line = w + "=" + ratio + "&" + ratio;
  } else {
    const std::string r = EvaluateExpression(w, EvalOptions::FromCode(AnswerFormCode, true));
    if (EvalStatus < 0) return outcome;
    const size_t eq = r.find('=');
    std::string first = eq == std::string::npos ? std::string() : r.substr(eq + 1);
    first = BeforeFirst(first, '=');
    line = r + "&" + first;
  }
  if (WorksForNotebook()) StoreInNotebook(line);
  PutComputedLine(line);
  outcome.done = true;
  outcome.setField = true;
  outcome.fieldText = ShownLine(line);
  return outcome;
}

void EditorSolveOnScreen(const std::string& fieldText) {
  PutOnCalculationLine(PreparedText(fieldText));
  RunScreenCommand(ScreenCommand::SolveLine);
}

void EditorStashText(const std::string& fieldText) {
  if (fieldText.empty()) {
    ShowMessage("退避する式はありません。", EDITOR_CAPTION_REPORT);
    return;
  }
  EditorStash = fieldText;
  ShowMessage("< " + fieldText + " > を一時退避しました。", EDITOR_CAPTION_REPORT);
}

std::string EditorStashToInsert() {
  if (EditorStash.empty()) ShowMessage("退避してある式はありません。", EDITOR_CAPTION_REPORT);
  return EditorStash;
}

void EditorLookStash() {
  if (EditorStash.empty()) {
    ShowMessage("退避してある式はありません。", EDITOR_CAPTION_REPORT);
    return;
  }
  // The check and the notice share the checker's state with the calculation line, which stays as it is.
  const InpCheckState kept = CheckerState;
  if (CheckText(EditorStash, {.collectText = true, .omitMul = true, .showMessage = true}) == 0)
    CurrentPlatform().ShowNotice("@" + CheckedText, "退避してある式", 6000);
  CheckerState = kept;
}

bool EditorMayClose(bool fieldChanged) {
  if (fieldChanged &&
      AskQuestion(EDITOR_CLOSE_QUESTION, EDITOR_CAPTION_REPORT, MsgButtons::OkCancel) == MsgAnswer::Cancel)
    return false;
  SavedLine = LineText;
  return true;
}

// ---- Keys ----------------------------------------------------------------------------------------------------

std::string RepurposedKeyText(int vk, int shift, bool downToo) {
  if (!KEYTENYOU || shift != SHIFT_NONE) return "";
  switch (vk) {
    case VK_PRIOR: return "k";
    case VK_NEXT: return "b";
    case VK_HOME: return "(";
    case VK_END: return ")";
    case VK_DOWN: return downToo ? "=" : "";
    default: return "";
  }
}

void ToggleKeyTenyou() { KEYTENYOU = KEYTENYOU ? 0 : 1; }

namespace {
ToolKey Act(ToolKeyAction a) { return ToolKey{a, ""}; }
ToolKey Insert(const std::string& text) { return ToolKey{ToolKeyAction::Insert, text}; }
}  // namespace

ToolKey EditorKey(int vk, int shift) {
  const bool ctrl = (shift & SHIFT_CTRL) != 0;
  const bool alt = (shift & SHIFT_ALT) != 0;
  if (vk == VK_RETURN) {
    if (ctrl) return Act(ToolKeyAction::Calculate);
    if (shift == SHIFT_SHIFT) return Insert("=");
    if (shift == SHIFT_NONE) return Act(ToolKeyAction::Show);
    return {};
  }
  if (ctrl && !alt) {
    if (vk == 'Q') return Act(ToolKeyAction::Calculate);
    if (vk == 'L') return Act(ToolKeyAction::LineFeed);
    if (vk == '1' || vk == VK_NUMPAD0 + 1) return Act(ToolKeyAction::Picture);
    return {};
  }
  if (alt) return vk == 'C' ? Act(ToolKeyAction::Close) : ToolKey{};
  if (vk == VK_OEM_5 && shift == SHIFT_NONE) return Insert(PaiText);
  if (vk == VK_OEM_102) return Insert("=");
  if (vk == VK_F8) return Act(ToolKeyAction::FocusNext);
  const std::string repurposed = RepurposedKeyText(vk, shift);
  if (!repurposed.empty()) return Insert(repurposed);
  return {};
}

ToolKey DainyuuKey(int vk, int shift) {
  if ((shift & (SHIFT_CTRL | SHIFT_ALT)) != 0) return {};
  if (vk == VK_OEM_5 && shift == SHIFT_NONE) return Insert(PaiText);
  if (vk == VK_RETURN && shift == SHIFT_SHIFT) return Insert("=");
  if (vk == VK_F8) return Act(ToolKeyAction::FocusNext);
  if (vk == VK_F7) return Act(ToolKeyAction::FocusBack);
  const std::string repurposed = RepurposedKeyText(vk, shift);
  if (!repurposed.empty()) return Insert(repurposed);
  return {};
}

ToolKey MemoKey(int vk, int shift) {
  if (vk == VK_OEM_2 && shift == SHIFT_ALT) return Act(ToolKeyAction::DropList);
  if (shift != SHIFT_NONE) return {};
  if (vk == VK_F8) return Act(ToolKeyAction::FocusNext);
  if (vk == VK_F7) return Act(ToolKeyAction::FocusBack);
  return {};
}

// ---- Focus ----------------------------------------------------------------------------------------------------

ToolWindow EditorF8Target() {
  if (MemoOpen) return ToolWindow::Memo;
  if (DainyuuOpen) return ToolWindow::Substitution;
  return ToolWindow::None;
}

ToolWindow MemoF8Target() {
  if (DainyuuOpen) return ToolWindow::Substitution;
  if (SikiEditOpen) return ToolWindow::Editor;
  return ToolWindow::None;
}

ToolWindow MemoF7Target() { return SikiEditOpen ? ToolWindow::Editor : ToolWindow::Screen; }

ToolWindow DainyuuF8Target() {
  if (SikiEditOpen) return ToolWindow::Editor;
  if (MemoOpen) return ToolWindow::Memo;
  return ToolWindow::None;
}

ToolWindow DainyuuF7Target() { return SikiEditOpen ? ToolWindow::Editor : ToolWindow::Screen; }

ToolWindow ScreenF7Target() {
  if (DainyuuOpen) return ToolWindow::Substitution;
  if (MemoOpen) return ToolWindow::Memo;
  return ToolWindow::None;
}

ToolWindow AfterEditorClosed() { return EditorF8Target(); }

ToolWindow AfterMemoClosed() {
  if (SikiEditOpen) return ToolWindow::Editor;
  if (DainyuuOpen) return ToolWindow::Substitution;
  return ToolWindow::None;
}

ToolWindow AfterDainyuuClosed() { return DainyuuF8Target(); }
