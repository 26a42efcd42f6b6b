// The calculation line's state and its operations: offering a character, closing the line with "=",
// evaluating it, and the editing commands clear, restore and backspace. The key map is sikiInp-Keys.cpp.
#include "screen/sikiInp.h"

#include <algorithm>

#include "engine/BunMath.h"
#include "engine/Bunio.h"
#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "platform/Platform.h"
#include "process/CalcProcManage.h"
#include "screen/ScreenPage.h"
#include "screen/ScreenSteps.h"
#include "typeset/bunCanvasDsp.h"

SikiInpState SikiInpData;

LineVerdictData LineVerdict;
ScreenHooks ScreenView;

namespace {

std::array<std::function<bool()>, static_cast<size_t>(ScreenCommand::COUNT)>& CommandTable() {
  static std::array<std::function<bool()>, static_cast<size_t>(ScreenCommand::COUNT)> table;
  return table;
}

bool Contains(const std::string& text, char c) { return text.find(c) != std::string::npos; }

// The checker's record as the line left it. The checker has one record, which the whole-text check of
// any other command also uses (and resets); the line puts its own back before every key, so a command run
// on an open line never changes what the next key of the line may be. A line text put there by another
// window together with the checker's record of it (the expression editor) is taken as it stands.
auto& LineCheckState = SikiInpData.LineCheckState;
auto& LineCheckText = SikiInpData.LineCheckText;

void KeepLineCheckState() {
  LineCheckState = CheckerState;
  LineCheckText = LineText;
}

// While a text is typed again (restore, backspace, F6) the page is drawn once at the end instead of
// once per character: a 257-character line would otherwise be drawn 257 times for one backspace.
auto& RepaintHeld = SikiInpData.RepaintHeld;
auto& RepaintMissed = SikiInpData.RepaintMissed;

class HoldRepaint {
 public:
  HoldRepaint() { ++RepaintHeld; }
  ~HoldRepaint() {
    if (--RepaintHeld == 0 && RepaintMissed) {
      RepaintMissed = false;
      RepaintScreen();
    }
  }
  HoldRepaint(const HoldRepaint&) = delete;
  HoldRepaint& operator=(const HoldRepaint&) = delete;
};

void EraseCursor() {
  if (ScreenView.eraseCursor) ScreenView.eraseCursor();
}

// The characters the base mode appends without the checker: the digits A–F (C too: in base mode it is a
// digit, not the combination letter) and the ">" that separates a number from its target base.
bool IsBaseModeDirectChar(char c) { return (c >= 'A' && c <= 'F') || c == '>'; }

// At the length limit a line still takes what finishes it, so that a full line can always be computed:
// "=" where it closes the line, and the brackets that close what is open (the checker refuses any more).
bool FinishesLine(char c) {
  if (c == ')' || c == ']') return true;
  return c == '=' && (BaseMode || !Contains(LineText, 'x'));
}

// Offers one character of a text being typed again (restore, backspace). In base mode the characters
// that were appended directly are appended directly again, so a base-mode line survives its own editing.
void Retype(char c) {
  if (BaseMode && IsBaseModeDirectChar(c)) {
    AppendBaseChar(c);
    return;
  }
  // An "=" inside the typed text of a calculation line ends a step of the pupil's working (an "=" that
  // closes the line is never part of the typed text).
  if (c == '=' && !BaseMode && !Contains(LineText, 'x') && AppendStepMark()) return;
  InputChar(c);
}

// Shows the evaluated line's verdict on its decimal (CalcLine step 3).
void SetDecimalVerdict() {
  LineVerdict = LineVerdictData{};
  LineVerdict.text = DecimalTerminates ? VERDICT_TERMINATES : VERDICT_RECURS;
  LineVerdict.color = DecimalTerminates ? CLR_GREEN : CLR_RED;
  LineVerdict.forLine = LineText;
  LineVerdict.atEquals = true;
  LineVerdict.sizeTenths = 6;
}

}  // namespace

void SetScreenCommand(ScreenCommand c, std::function<bool()> handler) {
  auto i = static_cast<size_t>(c);
  if (i < CommandTable().size()) CommandTable()[i] = std::move(handler);
}

bool RunScreenCommand(ScreenCommand c) {
  auto i = static_cast<size_t>(c);
  if (i >= CommandTable().size() || !CommandTable()[i]) return false;
  // A handler may install another one (a window created on first use); run a copy.
  std::function<bool()> h = CommandTable()[i];
  return h();
}

bool HasScreenCommand(ScreenCommand c) {
  auto i = static_cast<size_t>(c);
  return i < CommandTable().size() && static_cast<bool>(CommandTable()[i]);
}

void RepaintScreen() {
  if (RepaintHeld > 0) {
    RepaintMissed = true;
    return;
  }
  if (ScreenView.repaint) {
    ScreenView.repaint();
  } else if (ScreenSurface) {
    PaintPage(*ScreenSurface, ScreenWidth, ScreenHeight);
  }
}

void RefreshScreen() {
  if (ScreenView.refresh) ScreenView.refresh();
}

void SetStatusText(const std::string& text) {
  StatusText = text;
  RefreshScreen();
}

void ShowInputString(const std::string& text) {
  std::string shown;
  shown.reserve(text.size());
  for (char c : text) {
    if (c == '&')
      shown += "＆";
    else
      shown += c;
  }
  InputStringText = shown;
  RefreshScreen();
}

void ResetScreenWiring() {
  for (auto& handler : CommandTable()) handler = nullptr;
  ScreenView = ScreenHooks{};
  CharWidth = 10;
  CharHeight = 20;
}

void ResetSikiInp() { SikiInpData.Reset(); }

void SikiInpState::Reset() {
  BaseMode = false;
  RefusalCount = 0;
  LastRefusalNo = 0;
  SavedLine.clear();
  LineText.clear();
  StatusText.clear();
  InputStringText.clear();
  LineVerdict = LineVerdictData{};
  ResetScreenSteps();
  ProcessHooks.markLineFinished = [] { ::LineOpen = false; };
  ProcessHooks.remakeAfterToggle = [] { RemakeLineAfterToggle(); };
  ClearLine();
}

void RefuseInput(int number, const std::string& text) {
  ++RefusalCount;
  LastRefusalNo = number;
  SetStatusText(text);
}

// ---- Offering a character ------------------------------------------------------------------------------

InputResult InputChar(char c) {
  if (LineCount >= LINE_MAX_CHARS && !FinishesLine(c)) {
    RefuseInput(REFUSED_TOO_LONG, LINE_TOO_LONG_TEXT);
    return InputResult::NotAppended;
  }
  if (!LineOpen) {
    RefuseInput(REFUSED_LINE_CLOSED, LINE_CLOSED_TEXT);
    return InputResult::NotAppended;
  }
  if (BaseMode && IsBaseModeDirectChar(c)) {
    // The digits A–F and the ">" of a base-mode line are no characters of the notation.
    AppendBaseChar(c);
    return InputResult::NotAppended;
  }
  if (BaseMode && c == '=') {
    // A base-mode line such as FF(16 leaves its bracket open on purpose; the checker would refuse the
    // "=" for that, so the conversion is asked for before it.
    RunScreenCommand(ScreenCommand::BaseConvert);
    return InputResult::NotAppended;
  }
  // An "=" the checker accepts may still be turned away below; the checker then goes back to the line.
  const InpCheckState checkerBefore = CheckerState;
  if (LineText == LineCheckText) {
    const bool relaxed = CheckerState.relaxedSigns;
    CheckerState = LineCheckState;
    CheckerState.relaxedSigns = relaxed;
  }
  // A base-mode line writes its base right after the number, as in 101(2: the bracket after a digit is
  // no left-out multiplication there, so it is taken whatever the setting says.
  if (!CheckKey(c, PrevChar, State, BaseMode || KAKERU_ABR != 0)) {
    ++RefusalCount;
    LastRefusalNo = ErrorNo;
    SetStatusText(CheckMessage(ErrorNo));
    return InputResult::NotAppended;
  }
  const char stored = StoredChar;
  if (stored == '%') return InputResult::NotAppended;
  // The last place of a full line takes only a character the line can end after ("=" or a closing
  // bracket may follow), so that a full line can always be computed.
  if (LineCount == LINE_MAX_CHARS - 1 && !FinishesLine(c) && !BaseMode && !Contains(LineText, 'x')) {
    const InpCheckState accepted = CheckerState;
    const bool omitMul = KAKERU_ABR != 0;
    bool closable = false;
    for (char next : {'=', ')', ']'}) {
      CheckerState = accepted;
      closable = closable || CheckKey(next, stored, accepted.state, omitMul);
    }
    if (!closable) {
      CheckerState = checkerBefore;
      RefuseInput(REFUSED_TOO_LONG, LINE_TOO_LONG_TEXT);
      return InputResult::NotAppended;
    }
    CheckerState = accepted;
  }

  if (stored == '=') {
    if (BaseMode) {
      RunScreenCommand(ScreenCommand::BaseConvert);
      return InputResult::NotAppended;
    }
    if (Contains(LineText, '=')) {
      CheckerState = checkerBefore;
      return InputResult::NotAppended;
    }
    if (Contains(LineText, 'x')) {
      // In an equation or inequality "=" is an ordinary character; the solve command closes the line.
      EQUAL_KAIGYO = 0;
    } else {
      if (Contains(LineText, '<') || Contains(LineText, '>')) {
        CheckerState = checkerBefore;
        return InputResult::NotAppended;
      }
      LineOpen = false;
      EraseCursor();
      if (WARI_TYPE == 1) {
        std::string r = DivideWithRemainder(LineText, WARI_PNT);
        if (r != "n") {
          LineText += "=" + r;
          if (INPUTSTR_DSP) ShowInputString(LineText);
          RepaintScreen();
          return InputResult::LineClosed;
        }
      }
      if (PROCDSP) {
        if (MakeProcess(LineText, true) == 1) {
          LineOpen = false;
          RepaintScreen();
          return InputResult::LineClosed;
        }
        if (!ProcessState.processOk) {
          // The common denominator could not be formed (the driver has said so): the line stays as typed.
          ProcessState.processText = LineText;
          ProcessState.processType = ProcessType::None;
          RepaintScreen();
          return InputResult::KeptAsTyped;
        }
      }
      if (CalcLine(LineText) < 0) {
        // The evaluator has shown its message; the expression stands open again for correction.
        ClearLine();
        RestoreLine();
      }
      return InputResult::Evaluated;
    }
  }

  StatusText.clear();
  LineText += stored;
  LinePitch = GYOKEISUU;
  if (INPUTSTR_DSP) ShowInputString(LineText);
  PrevChar = stored;
  State = CheckerState.state;
  KeepLineCheckState();
  SavedLine = LineText;
  ++LineCount;
  RefreshScreen();
  RepaintScreen();
  return InputResult::Appended;
}

void AppendBaseChar(char c) {
  if (!LineOpen) {
    RefuseInput(REFUSED_LINE_CLOSED, LINE_CLOSED_TEXT);
    return;
  }
  if (c == '>' && Contains(LineText, '>')) {
    RefuseInput(REFUSED_BASE_SECOND_ARROW, BASE_SECOND_ARROW_TEXT);
    return;
  }
  LineText += c;
  LineCheckText = LineText;  // the checker never saw it: its record of the line still holds
  RepaintScreen();
}

bool AppendStepMark() {
  if (!LineOpen || LineText.empty() || BaseMode) return false;
  if (Contains(LineText, 'x') || Contains(LineText, '<') || Contains(LineText, '>')) return false;
  if (LineCount >= LINE_MAX_CHARS) {
    ++RefusalCount;
    LastRefusalNo = -1;
    SetStatusText(LINE_TOO_LONG_TEXT);
    return false;
  }
  if (LineText == LineCheckText) {
    const bool relaxed = CheckerState.relaxedSigns;
    CheckerState = LineCheckState;
    CheckerState.relaxedSigns = relaxed;
  }
  if (!CheckKey('=', PrevChar, State, KAKERU_ABR != 0)) {
    ++RefusalCount;
    LastRefusalNo = ErrorNo;
    SetStatusText(CheckMessage(ErrorNo));
    return false;
  }
  StatusText.clear();
  LineText += '=';
  LinePitch = GYOKEISUU;
  if (INPUTSTR_DSP) ShowInputString(LineText);
  PrevChar = '=';
  State = CheckerState.state;
  KeepLineCheckState();
  SavedLine = LineText;
  ++LineCount;
  RefreshScreen();
  RepaintScreen();
  return true;
}

// ---- Evaluating the closed line -------------------------------------------------------------------------

int CalcLine(const std::string& line) {
  RelaxedSigns = true;
  LineVerdict = LineVerdictData{};
  if (Contains(line, ':')) {
    std::string r = SimplifyRatio(line, 0);
    if (r == "n") {
      RelaxedSigns = false;
      return -14;
    }
    LineText = line + "=" + r + "&" + r;
  } else {
    std::string answer = EvaluateExpression(line, EvalOptions::FromCode(ANSSYU + 4 * SYOUDSP));
    if (EvalStatus < 0) {
      RelaxedSigns = false;
      return EvalStatus;
    }
    if (KAITOURAN_FLAG) answer += "&" + answer.substr(0, answer.find('='));
    LineText = line + "=" + answer;
    LinePitch = GYOKEISUU;
    if (ANSSYU == 0 || ANSSYU == 2) {
      MixedDone = true;
      ObiButtonEnabled = false;
    }
    if (ANSSYU == 1 || ANSSYU == 2) {
      ImproperDone = true;
      KariButtonEnabled = false;
    }
    if (SYOUDSP == 1 && AnswerHasFraction) {
      // The decimal is on the line already, so the decimal command must not add it a second time.
      DecimalDone = true;
      SyouButtonEnabled = false;
      SetDecimalVerdict();
    }
  }
  if (INPUTSTR_DSP) ShowInputString(LineText);
  LineOpen = false;
  RelaxedSigns = false;
  RefreshScreen();
  RepaintScreen();
  return 5;
}

// ---- Editing commands -----------------------------------------------------------------------------------

void ClearLine() {
  CursorColour = CLR_BLUE;
  RaisedMode = false;
  ResetInpCheck();
  State = CheckState::LineStart;
  if (BaseMode) SavedLine = LineText;
  LineText.clear();
  KeepLineCheckState();
  ProcessState.processText.clear();
  ProcessState.processType = ProcessType::None;
  LinePitch = GYOKEISUU;
  BreakCount = 0;
  LineCount = 0;
  PrevChar = '$';
  ScrollPos = 0;
  StatusText.clear();
  LineOpen = true;
  MixedDone = ImproperDone = DecimalDone = false;
  SyouButtonEnabled = KariButtonEnabled = ObiButtonEnabled = true;
  LineVerdict = LineVerdictData{};
  if (INPUTSTR_DSP) InputStringText.clear();
  ComputeLineOrigin();
  CursorPos = LineOrigin;
  RestoreAllowed = true;
  RelaxedSigns = false;
  RefreshScreen();
  RepaintScreen();
}

int RestoreLine() {
  if (!RestoreAllowed) return -3;
  RestoreAllowed = false;
  if (SavedLine.empty()) return -1;
  std::string text = CutForSolver(SavedLine, 0);
  if (BaseMode && text.find_first_of("ABCDEF") != std::string::npos) {
    ShowMessage("Ａ～Ｆ を含む数字は復活できません。\n再入力してください。", "深謝！");
    ClearLine();
    LineText.clear();
    SavedLine.clear();
    RepaintScreen();
    return 1;
  }
  // The text is typed again from a fresh start of the line, so the checker's counters and flags are
  // rebuilt exactly and a closed line opens again for correction.
  HoldRepaint hold;
  std::string keep = SavedLine;
  ClearLine();
  SavedLine = keep;
  RestoreAllowed = false;
  for (char c : text) Retype(c);
  return 1;
}

int BackSpaceLine() {
  if (!LineOpen) return -1;
  if (LineText.empty()) return -2;
  if (LineCount > 0) --LineCount;
  std::string text = LineText.substr(0, LineText.size() - 1);
  HoldRepaint hold;
  ClearLine();
  for (char c : text) Retype(c);
  RestoreAllowed = false;
  return 1;
}

// ---- Page keys ------------------------------------------------------------------------------------------

void ScrollTo(int pos) {
  ScrollPos = std::clamp(pos, 0, std::max(0, PageLength()));
  ComputeLineOrigin();
  RepaintScreen();
}

void ScrollBy(int delta) { ScrollTo(ScrollPos + delta); }

void ToggleProcessDisplay() {
  PROCDSP = PROCDSP ? 0 : 1;
  ComputeLineOrigin();
  RefreshScreen();
  RepaintScreen();
}

void ToggleEqualKaigyo() {
  EQUAL_KAIGYO = EQUAL_KAIGYO ? 0 : 1;
  RefreshScreen();
  RepaintScreen();
}

void RemakeLineAfterToggle() {
  // The switch itself was flipped by the process driver; the line is typed again so that its process is
  // made with the other method. A line that had not been closed yet stays open.
  bool wasClosed = !LineOpen && !LineText.empty();
  HoldRepaint hold;
  ClearLine();
  RestoreLine();
  if (wasClosed && !LineText.empty()) InputChar('=');
  RepaintScreen();
}
