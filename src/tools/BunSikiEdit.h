// The expression editor without its window: whom it works for (the calculation line or the notebook's
// selected line), its Show and Calculate commands, the stash, the key repurposing and the keys of the
// editor, the memo and the substitution box, and which tool window takes the focus on F7, F8 and after a
// close. The window is ui/tools/BunSikiEdit (TSikiEditForm); the memo and the box are sikiEMemo.h and
// xyDainyuu.h.
#pragma once

#include <functional>
#include <string>

// Whom the editor works for.
enum class EditorFor : int {
  Screen = 0,  // the calculation screen
  InputPanel = 1,  // the screen's input panel
  NotebookHanded = 2,  // the notebook, which handed a line to an editor already open
  Notebook = 3,  // the notebook, which opened the editor
};

// The expression editor's record (state records: tools/ProgramState.h).
struct BunSikiEditState {
  EditorFor EditorMode = EditorFor::Screen;
  bool SikiEditOpen = false;
  std::string EditorStash;

  void Reset();
};
extern BunSikiEditState BunSikiEditData;

// Whom the editor works for. Outlives the window.
inline auto& EditorMode = BunSikiEditData.EditorMode;
// Whether the editor window exists.
inline auto& SikiEditOpen = BunSikiEditData.SikiEditOpen;
// One expression kept aside by "退 &H", for the whole run.
inline auto& EditorStash = BunSikiEditData.EditorStash;

// The longest expression the editor takes from the pupil (its caption says so).
inline constexpr int EDITOR_MAX_CHARS = 256;

inline constexpr const char* EDITOR_ERROR_START = "◇ｴﾗｰ ⇒";
inline constexpr const char* EDITOR_CAPTION_REPORT = "報告！";
inline constexpr const char* EDITOR_CLOSE_QUESTION =
    "編集内容を画面に反映していません。\n\nこのまま終了していいですか？";
inline constexpr const char* EDITOR_NOTE_OPEN_TEXT = "ノート画面はすでに開いています。";
// Shown in the error display when a key would make the field longer than EDITOR_MAX_CHARS.
inline constexpr const char* EDITOR_TOO_LONG_TEXT = "◇ｴﾗｰ::256字を超えて入力できません。";

// Working for the screen, closed, empty stash.
void ResetBunSikiEdit();

// What the notebook window does for the editor. Installed by the notebook window; without it the
// editor's notebook button opens the notebook through the calculation screen's command.
struct EditorNotebookHooks {
  std::function<bool()> isOpen;  // the notebook window exists
  std::function<void()> redraw;  // the sheet is drawn again
  std::function<void(const std::string&)> openFromEditor;  // opens it (origin expression editor) with a text
};
extern EditorNotebookHooks EditorNotebook;
bool NotebookIsOpen();

// ---- Show and Calculate --------------------------------------------------------------------------------

// What a command did to the window's controls.
struct EditorOutcome {
  bool done = false;  // the command ran to its end: the field counts as unchanged
  int badPos = 0;  // > 0: select one character of the field starting after badPos − 1
  std::string errorText;  // the error display's new text
  bool setField = false;  // the field receives fieldText (Calculate) …
  std::string fieldText;
};

// A computed line as the pupil reads it in the editor's field and in the memo: the expression with its
// answers after "=", and an equation's or a relation's solution after " 【答】" as the screen labels it;
// the answer field after "&" that the screen and the notebook keep is never shown. A text without "&"
// is returned as it is.
std::string ShownLine(const std::string& line);
// The expression of a field's text: what stands before a shown solution (" 【答】") and a "#" comment.
std::string FieldExpression(const std::string& fieldText);

// The length of the expression part of a field's text (before its "#" comment and, like the calculation
// line keeps it, before "=" or, in an equation, before "&"), which must not exceed EDITOR_MAX_CHARS.
int EditorExpressionLength(const std::string& fieldText);

// "式表示 Ret": the field's text (without its comment) checked and put on the calculation line, or into
// the notebook's selected line when it works for the notebook, where a text beginning with "=" is working (its rest is
// checked).
EditorOutcome EditorShow(const std::string& fieldText);
// "計算 Ctrl+Ret": the field's text checked and computed (solved for an equation or inequality, simplified
// for a ratio) onto the calculation line or into the notebook's selected line; working for the notebook
// is stored as Show stores it.
EditorOutcome EditorCalculate(const std::string& fieldText);

// Puts a checked expression on the calculation screen as an open line, with the checker's state as if it
// had been typed, so that the pupil can go on typing on the screen.
void PutOnCalculationLine(const std::string& text);

// The picture button: the field's text (without its comment) handed to the screen's solve command.
void EditorSolveOnScreen(const std::string& fieldText);

// "退 &H", "挿 &I" (the text to insert, empty when there is none, after the message) and "&Look".
void EditorStashText(const std::string& fieldText);
std::string EditorStashToInsert();
void EditorLookStash();

// Close: true when the editor may close (asked when the field was changed). The line's copy is taken.
bool EditorMayClose(bool fieldChanged);

// ---- Keys ------------------------------------------------------------------------------------------------

enum class ToolKeyAction {
  None,  // the field handles the key itself
  Show,
  Calculate,
  LineFeed,  // the calculation screen's "=" line break
  Picture,  // the picture button
  Close,
  Insert,  // text is inserted at the caret
  FocusNext,  // F8
  FocusBack,  // F7
  DropList,  // Alt+/ in the memo
};
struct ToolKey {
  ToolKeyAction action = ToolKeyAction::None;
  std::string text;  // for Insert
};

// The key repurposing (KEYTENYOU): Page Up "k", Page Down "b", Home "(", End ")", Down "=" (downToo false
// in the page editor, where Down keeps moving). Empty when the switch is off or the key is another.
std::string RepurposedKeyText(int vk, int shift, bool downToo = true);
// Switches KEYTENYOU.
void ToggleKeyTenyou();

// Keys are virtual-key codes with the modifier bits of platform/VirtualKeys.h.
ToolKey EditorKey(int vk, int shift);
ToolKey DainyuuKey(int vk, int shift);
ToolKey MemoKey(int vk, int shift);

// ---- Focus between the windows ---------------------------------------------------------------------------

enum class ToolWindow { None, Screen, Editor, Memo, Substitution };

ToolWindow EditorF8Target();  // the memo, else the substitution box
ToolWindow MemoF8Target();  // the box, else the editor
ToolWindow MemoF7Target();  // the editor, else the calculation screen
ToolWindow DainyuuF8Target();  // the editor, else the memo
ToolWindow DainyuuF7Target();  // the editor, else the calculation screen
ToolWindow ScreenF7Target();  // the box, else the memo; None lets F7 type ")"
ToolWindow AfterEditorClosed();  // the memo, else the box
ToolWindow AfterMemoClosed();  // the editor, else the box
ToolWindow AfterDainyuuClosed();  // the editor, else the memo
