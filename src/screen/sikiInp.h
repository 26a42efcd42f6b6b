// The calculation line: the one expression the pupil is typing on the calculation screen, its keyboard
// (virtual keys to notation characters or commands), the offering of each character to the keystroke
// checker, closing the line with "=" (evaluation, ratio, quotient with remainder, or the process driver)
// and the editing commands clear, restore and backspace. No window here: the screen window (ui/screen)
// paints the page from this state (ScreenPage.h) and installs the hooks for what only a window can do.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "engine/InpCheck.h"
#include "platform/BrowserKeys.h"
#include "platform/Canvas.h"
#include "platform/VirtualKeys.h"

// ---- Line state (one instance; the checker's own record is CheckerState in engine/InpCheck.h) -------

// The calculation line and what the window shows around it (state records: tools/ProgramState.h).
// Reset() keeps the window's geometry (screen size, cell size, scroll) and starts a fresh line: what
// the window calls after every settings change.
struct SikiInpState {
  std::string LineText;
  bool LineOpen = true;
  int LineCount = 0;
  std::string SavedLine;
  bool RestoreAllowed = true;
  char PrevChar = '$';
  CheckState State = CheckState::LineStart;
  bool BaseMode = false;
  bool MixedDone = false;
  bool ImproperDone = false;
  bool DecimalDone = false;
  CanvasPoint LineOrigin;
  int CharWidth = 10;
  int CharHeight = 20;
  int RefusalCount = 0;
  int LastRefusalNo = 0;
  std::string StatusText;
  std::string InputStringText;
  int ScrollPos = 0;
  int ScreenWidth = 500;
  int ScreenHeight = 450;
  bool SyouButtonEnabled = true;
  bool KariButtonEnabled = true;
  bool ObiButtonEnabled = true;
  // The checker's record as the line left it, and the line it is the record of (sikiInp.cpp).
  InpCheckState LineCheckState;
  std::string LineCheckText;
  // Repaints held back while a text is typed again, and whether one was asked for meanwhile.
  int RepaintHeld = 0;
  bool RepaintMissed = false;

  void Reset();
};
extern SikiInpState SikiInpData;

// the line; after "=" it holds expression=answer (and "&" answer column)
inline auto& LineText = SikiInpData.LineText;
inline auto& LineOpen = SikiInpData.LineOpen;  // the line accepts characters
// characters accepted by InputChar (base-mode letters not counted)
inline auto& LineCount = SikiInpData.LineCount;
// LineText after every accepted character; the source of RestoreLine
inline auto& SavedLine = SikiInpData.SavedLine;
inline auto& RestoreAllowed = SikiInpData.RestoreAllowed;  // RestoreLine may run (once after each ClearLine)
inline auto& PrevChar = SikiInpData.PrevChar;  // the last stored character; '$' at the start of the line
inline auto& State = SikiInpData.State;  // the checker's state for the line, passed with every character
inline auto& BaseMode = SikiInpData.BaseMode;  // number-base conversion mode
// the answer is shown as a mixed number (panel button 帯T disabled)
inline auto& MixedDone = SikiInpData.MixedDone;
inline auto& ImproperDone = SikiInpData.ImproperDone;  // as an improper fraction (仮K disabled)
inline auto& DecimalDone = SikiInpData.DecimalDone;  // as a decimal (小S disabled)
inline auto& LineOrigin = SikiInpData.LineOrigin;  // where the line is drawn (ScreenPage.h computes it)
// Cell size of the screen font: a tenth of the width of "1234567890", and its height.
inline auto& CharWidth = SikiInpData.CharWidth;
inline auto& CharHeight = SikiInpData.CharHeight;

// Refusals of offered characters and of keys without a meaning since the last ResetSikiInp, and the
// message number of the last one (the checker's ErrorNo, or one of the REFUSED_ numbers below); the batch
// tool reports them per key.
inline auto& RefusalCount = SikiInpData.RefusalCount;
inline auto& LastRefusalNo = SikiInpData.LastRefusalNo;
inline constexpr int REFUSED_TOO_LONG = -1;  // the line is full
inline constexpr int REFUSED_LINE_CLOSED = -2;  // the line is closed: it is cleared before the next one
inline constexpr int REFUSED_NO_KEY = 39;  // a key with no character or command (the checker's "%")
inline constexpr int REFUSED_BASE_SECOND_ARROW = -3;  // a base-mode line holds one ">" only

// The longest line: the 258th character is refused, except what finishes the line ("=" and the closing
// brackets), and the 257th only when the line can end after it (no sign or fraction mark left open), so
// that a full line can still be computed.
inline constexpr int LINE_MAX_CHARS = 257;
inline constexpr const char* LINE_TOO_LONG_TEXT = "式の長さが256字を超えた!!";
inline constexpr const char* LINE_CLOSED_TEXT =
    "◆この式は閉じています。Delete キー（消D）で消してから次の式を入力してください。";
// A key without a character or a command on the calculation screen.
inline constexpr const char* KEY_UNUSED_TEXT = "◆このキーは計算画面では使いません。";
inline constexpr const char* BASE_SECOND_ARROW_TEXT = "◆ｎ進法の式に ＞ は１つだけです。";
inline constexpr const char* RETURN_UNUSED_TEXT =
    "◆Enter キーは＝になりません（詳細設定の「Returnを＝とみなす」で変えられます）。";

// ---- What the window shows around the line (kept here so that tests and the batch tool read it) ----

inline auto& StatusText = SikiInpData.StatusText;  // the status line
// the label of the input-string strip (ShowInputString)
inline auto& InputStringText = SikiInpData.InputStringText;
inline auto& ScrollPos = SikiInpData.ScrollPos;  // vertical scroll position of the page in pixels
inline auto& ScreenWidth = SikiInpData.ScreenWidth;  // client area of the calculation screen in pixels
inline auto& ScreenHeight = SikiInpData.ScreenHeight;
// Panel buttons 小S, 仮K and 帯T.
inline auto& SyouButtonEnabled = SikiInpData.SyouButtonEnabled;
inline auto& KariButtonEnabled = SikiInpData.KariButtonEnabled;
inline auto& ObiButtonEnabled = SikiInpData.ObiButtonEnabled;

// A verdict written beside the answer ("【割り切れました】" / "【割り切れません】"). It belongs to the
// line it was made for and is painted again with it on every repaint, so scrolling never loses it.
struct LineVerdictData {
  std::string text;  // empty: none
  Color color;
  std::string forLine;  // the LineText it belongs to; not painted once the line has changed
  bool atEquals = true;  // true: at (EqualsPoint.x + 2 cw, EqualsPoint.y + ch) after the line is drawn;
  CanvasPoint offset;  // false: at LineOrigin + offset
  int sizeTenths = 6;  // font size as tenths of FONTSIZE
};
extern LineVerdictData LineVerdict;
inline constexpr const char* VERDICT_TERMINATES = "【割り切れました】";
inline constexpr const char* VERDICT_RECURS = "【割り切れません】";

// ---- Commands the line routes to other units and to the windows -------------------------------------

// Every command the keys, the panel and the menus reach that is not a character of the line. Each is
// carried out by a handler installed by the unit or window that owns it (SetScreenCommand); a command
// without a handler does nothing.
enum class ScreenCommand {
  FontDialog,  // Shift+F
  SoinsuuPre,  // Shift+S: prime factorisation
  JunkanSyori,  // Shift+R: repeating decimal ⇔ fraction
  ToggleBaseMode,  // Shift+N, Shift+/
  BaseConvert,  // "/" and "=" in base mode, panel "?"
  DecimalToFraction,  // Ctrl+B
  ToSyousuu,  // Ctrl+S, panel 小S: the answer as a decimal
  ToMixed,  // Ctrl+T, panel 帯T: improper → mixed
  ToImproper,  // Ctrl+K, panel 仮K: mixed → improper
  YakuProcDsp,  // Ctrl+Y: reduce with its process
  SolveLine,  // Ctrl+Q, Ctrl+Return, panel 解
  CopyAnswer,  // Ctrl+C
  PasteAnswer,  // Ctrl+P
  ViewAnswer,  // menus "…Lookする"
  InputPanelSwitch,  // Ctrl+I, F8, the menu item: hidden → shown, shown → minimised, minimised → shown
  OpenConditions,  // Alt+J
  OpenNotebook,  // Alt+N
  OpenSubstitution,  // Alt+D
  OpenMemo,  // Alt+M
  FocusToolWindow,  // F7: focuses the substitution box or the memo; false when neither is open
  OpenExpressionEditor,  // Alt+E
  OpenProcessSettings,  // Alt+A
  CloseInputPanel,  // Alt+C on the panel
  PrintLine,  // "印刷(&P)"
  Help,  // F1, "『Kazoru』のヘルプ(&H)"
  HomePage,  // "ヘルプ［Home Page］ (&P)"
  VersionBox,  // "バージョン情報(&A)"
  COUNT
};
// Installs the handler of a command (an empty function removes it). The handler answers whether it acted.
void SetScreenCommand(ScreenCommand c, std::function<bool()> handler);
// Runs a command; false when no handler is installed or the handler did not act.
bool RunScreenCommand(ScreenCommand c);
// Whether a handler is installed (the menus enable the items of installed commands only).
bool HasScreenCommand(ScreenCommand c);

// What only the window can do. Without a window (tests, the batch tool) nothing is shown and nothing fails.
struct ScreenHooks {
  // Redraw the whole page from the line state (the window calls PaintPage on its surface).
  std::function<void()> repaint;
  // The status line, the input-string strip, the panel buttons or a check mark changed.
  std::function<void()> refresh;
  // Fill the cursor cell with the background (the line was closed).
  std::function<void()> eraseCursor;
};
extern ScreenHooks ScreenView;

// Helpers of the line's own drawing requests: they call the hooks when installed.
void RepaintScreen();
void RefreshScreen();

// ---- Operations ---------------------------------------------------------------------------------------

// The line of a freshly started program (line cleared, flags reset, base mode off, hooks and commands
// kept). Tests and the batch tool call it first.
void ResetSikiInp();

// What a window installs into the line model, taken out again: every screen command, the repaint and
// refresh hooks, and the default cell size. A fresh program state has no window wired in.
void ResetScreenWiring();

// Maps one key press (virtual-key code and modifier bits SHIFT_*) to a character offered to InputChar,
// or runs the command the key stands for.
void KeyToInput(int key, int shift);
// The browser edition's own keys for the line's commands whose desktop key a browser keeps (Ctrl+T opens a
// tab, Ctrl+PageUp/PageDown go to another, Ctrl+Q quits Firefox): Alt with the same key, as in the notebook.
const std::vector<BrowserKey>& ScreenBrowserKeys();
// KeyToInput in the browser edition: a key of ScreenBrowserKeys stands for its desktop key.
void BrowserKeyToInput(int key, int shift);

// What became of a character offered to the line. The numbers are what the web page's kz_char returns, so
// each keeps its number.
enum class InputResult : int {
  Appended = 11,  // the character was added to the line
  NotAppended = -1,  // refused (its reason in the status line), or taken as a command or base digit
  LineClosed = -2,  // "=" closed the line with a quotient with remainder or a drawn process
  Evaluated = -4,  // "=" was evaluated through CalcLine
  KeptAsTyped = -100,  // "=" went to the process driver, which could not make one: the line stays as typed
};
constexpr int InputResultNumber(InputResult r) { return static_cast<int>(r); }

// Offers one character.
InputResult InputChar(char c);

// Evaluates the closed line and records it with its answer; 5 on success, a negative code on failure
// (the evaluator's EvalStatus, or -14 for a ratio that cannot be simplified).
int CalcLine(const std::string& line);

// Refuses a character or a key: counts the refusal under its number and says why in the status line.
void RefuseInput(int number, const std::string& text);

// Starts a new line (see the header of this file).
void ClearLine();
// Puts the text of the last line back (up to its "=") by retyping it; once after each ClearLine.
// 1 done; -3 not allowed now; -1 nothing saved.
int RestoreLine();
// Removes the last character by retyping the rest. 1 done; -1 the line is closed; -2 the line is empty.
int BackSpaceLine();

// Puts text into the input-string strip, every "&" shown as "＆".
void ShowInputString(const std::string& text);

// Sets the status line.
void SetStatusText(const std::string& text);

// Scrolling and page adjustments of the keys (each repaints).
void ScrollBy(int delta);
void ScrollTo(int pos);
void ToggleProcessDisplay();  // F5
void ToggleEqualKaigyo();  // Ctrl+L (KaigyoButtonClick)

// F6: the alternative method of the two-term process, then the line is typed again and its process made.
void RemakeLineAfterToggle();

// Appends a character straight to the line in base mode (the digits A–F and the ">" separator).
void AppendBaseChar(char c);

// Writes "=" as the end of one step of the pupil's own working (Ctrl+G): the line stays open and the
// next step is typed after it. False, with the line unchanged, when the line is closed or empty, holds an
// unknown or a relation, is in base mode, or the checker refuses the "=" (its message in the status line).
bool AppendStepMark();

// ---- Keys as the batch tool types them -----------------------------------------------------------------

struct KeyPress {
  int key = 0;
  int shift = SHIFT_NONE;
  std::string source;  // the characters of the sequence that named this key
};
// The key a character of a typed sequence stands for ("=" → VK_RIGHT, "(" → Shift+8, …); false when the
// character has no key.
bool KeyForChar(char c, KeyPress& press);
// Reads a whole sequence: single characters, "{Name}" / "{Shift+Ctrl+Name}" for named keys, "{{" and "}}"
// for the braces. false with error set at the first character or name that has no key.
bool ParseKeySequence(const std::string& text, std::vector<KeyPress>& presses, std::string& error);
