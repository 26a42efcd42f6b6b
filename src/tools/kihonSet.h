// The conditions settings without their window: the check of the π text, the answer form code the
// evaluator receives, the ranges of the number fields, and each control's effect on its setting and on the
// calculation screen. The window itself (ui/tools/kihonSet, TJoukenForm) only reads its controls and calls
// these; the goals editor it opens is tools/Mokuhyou.h.
#pragma once

#include <functional>
#include <string>
#include <string_view>

// Number fields of the window: range and step of their arrows.
inline constexpr int CURSOLTEMPO_MIN = 200;
inline constexpr int CURSOLTEMPO_MAX = 2000;
inline constexpr int CURSOLTEMPO_STEP = 10;
inline constexpr int JIOKURI_MIN = 80;
inline constexpr int JIOKURI_MAX = 200;
inline constexpr int JIOKURI_STEP = 1;
inline constexpr int PAGEA4BAI_STEP = 5;  // its range is PAGEA4BAI_MIN … PAGEA4BAI_MAX of screen/ScreenPage.h
inline constexpr int GYOKEISUU_STEP = 1;  // range GYOKEISUU_MIN … GYOKEISUU_MAX

// The check boxes of how expressions and the screen are shown, in the windows' order: the setting each
// sets and its caption (both editions' windows show these).
struct ConditionCheck {
  const char* setting;
  const char* caption;
};
inline constexpr ConditionCheck CONDITION_CHECKS[] = {
    {"EQUAL_KAIGYO", "\"＝\"で改行"}, {"INPUTSTR_DSP", "文字列式を表示"}, {"KAKERU_ABR", "'×' の省略 可"},
    {"WAKIGAKI", "日付・目標を表示"}, {"SBARDSP", "ｽﾃｰﾀｽﾊﾞｰ表示"},
};
// The caption of a setting's check box ("" for a setting with none).
constexpr const char* ConditionCheckCaption(std::string_view setting) {
  for (const ConditionCheck& c : CONDITION_CHECKS)
    if (setting == c.setting) return c.caption;
  return "";
}
// The answer forms of ◆答の表示◆, in ANSSYU's order.
inline constexpr const char* ANSWER_FORM_CAPTIONS[] = {"帯分数のみ", "仮分数のみ", "帯・仮分数両方"};

// The π field.
inline constexpr const char* PAI_START_TEXT = "3.14";
inline constexpr const char* PAI_19_DIGITS = "3.141592653589793238";  // "19ｹﾀ▲"
inline constexpr int PAI_MAX_BYTES = 20;
inline constexpr const char* PAI_CAPTION = "警告！";
inline constexpr const char* PAI_TOO_LONG = "20字以上は長すぎる。";
inline constexpr const char* PAI_TWO_POINTS = "'.' が複数あります。";
inline constexpr const char* PAI_POINT_FIRST = "数値の先頭が '.' は不適切です。";
inline constexpr const char* PAI_POINT_LAST = "数値の末尾が '.' は不適切です。";
inline constexpr const char* PAI_NOT_NUMBER = "数値として不適切です。";

// The verdict on a π text.
struct PaiCheckResult {
  bool ok = true;
  bool tooLong = false;  // more than PAI_MAX_BYTES: the field's last change is to be undone
  // The field keeps one character selected, starting after this many characters (0 when ok).
  int pos = 0;
  const char* message = nullptr;  // one of the PAI_* texts; null when ok
};

// Judges a π text without side effects: at most 20 Shift_JIS bytes, digits with at most one point that is
// neither first nor last. An empty text is not a number.
PaiCheckResult CheckPaiText(const std::string& text);

// PaiStrCheck of the window, run when the pupil leaves the field, presses Enter or closes the window: the
// π text takes the field's text, the verdict's message (if any) is shown under "警告！", and the verdict
// is returned.
PaiCheckResult PaiStrCheck(const std::string& fieldText);
// The same check on every change of the field while it is typed into: the π text takes the field's text
// and the verdict is returned for the window to show beside the field, without a box, so that "3." can
// become "3.14" without a warning in between.
PaiCheckResult PaiTypingCheck(const std::string& fieldText);

// The conditions window's record (state records: tools/ProgramState.h).
struct KihonSetState {
  int AnswerFormCode = 0;
  bool JoukenOpen = false;

  void Reset();
};
extern KihonSetState KihonSetData;

// The answer form code handed to the evaluator: ANSSYU + 4 × SYOUDSP (0–2 without, 4–6 with the decimal
// value). Recomputed when the window closes; the line computes the same sum from the settings at once.
inline auto& AnswerFormCode = KihonSetData.AnswerFormCode;
int ComputeAnswerFormCode();

// Whether the conditions window is open (other windows ask before opening it again).
inline auto& JoukenOpen = KihonSetData.JoukenOpen;

// What the calculation screen does when a condition changes. The screen window installs them; without a
// screen nothing happens. A repaint of the whole page goes through RepaintScreen (screen/sikiInp.h).
struct ConditionsScreenHooks {
  // The cursor blink timer takes this interval in milliseconds.
  std::function<void(int)> cursorPeriod;
  // The side panel draws the week's goal again (goal, font or character advance changed). When not
  // installed the whole screen is repainted instead, which redraws the goal too.
  std::function<void()> goalDisplay;
};
extern ConditionsScreenHooks ConditionsView;

// Asks the screen to redraw its goal display.
void RedrawGoalDisplay();

// The window's state back to start: closed, answer form code from the settings. The π text itself is a
// setting (PaiText, reset by ResetSettings).
void ResetKihonSet();

// ---- The window's events, each setting its value and making the screen react -----------------------

// Opening: the window counts as open, the number settings are brought into their fields' ranges, and
// the screen redraws its goal display.
void JoukenOpened();
// Closing: the π text takes the field's text, the answer form code is recomputed, the window is closed.
void JoukenClosed(const std::string& paiFieldText);

void SetCursolTempo(int ms);  // and the cursor timer's interval
void SetDspBangou(int index);  // the goal shown; the goal display is redrawn
void SetJiokuri(int percent);  // the goal's character advance; the goal display is redrawn
void SetEqualKaigyo(bool on);  // each of these four repaints the screen
void SetInputStrDsp(bool on);
void SetWakigaki(bool on);
void SetSbarDsp(bool on);
void SetKakeruAbr(bool on);  // these three only set the value: the answer form follows at closing
void SetAnsSyu(int item);
void SetSyouDsp(bool on);
void SetPageA4Bai(int percent);  // the page length follows; repaint
void SetGyoKeisuu(int pitch);  // repaint
// "◆計算過程を表示？": process display = (item ≠ 0); the line origin moves by the process offset and the
// screen lays itself out again.
void SetProcessDisplay(int item);
