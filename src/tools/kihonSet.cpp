// The conditions settings' logic: the π text check, the answer form code and each control's effect.
#include "tools/kihonSet.h"

#include <algorithm>

#include "engine/Characters.h"
#include "engine/Settings.h"
#include "platform/Platform.h"
#include "platform/ShiftJis.h"
#include "screen/ScreenPage.h"
#include "screen/sikiInp.h"
#include "typeset/bunCanvasDsp.h"

KihonSetState KihonSetData;
ConditionsScreenHooks ConditionsView;

PaiCheckResult CheckPaiText(const std::string& text) {
  PaiCheckResult r;
  const int n = static_cast<int>(SjisLength(text));
  if (n > PAI_MAX_BYTES) {
    r.ok = false;
    r.tooLong = true;
    r.message = PAI_TOO_LONG;
    return r;
  }
  // An empty field is no number at all (there is no first character to read).
  if (text.empty()) {
    r.ok = false;
    r.message = PAI_NOT_NUMBER;
    return r;
  }
  // Digits and points only; the scan stops at the first other character. Every character before it is
  // ASCII, so its byte index is also its character index in the field.
  int points = 0;
  int pointPos = 0;  // 1-based position of the last point seen
  size_t i = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (IsDigit(c)) continue;
    if (c == '.') {
      ++points;
      pointPos = static_cast<int>(i) + 1;
      continue;
    }
    break;
  }
  r.ok = false;
  if (points >= 2) {
    r.message = PAI_TWO_POINTS;
    r.pos = pointPos;
  } else if (points == 1 && pointPos == 1) {
    r.message = PAI_POINT_FIRST;
    r.pos = 1;
  } else if (points == 1 && pointPos == n) {
    r.message = PAI_POINT_LAST;
    r.pos = n;
  } else if (i == text.size()) {
    r.ok = true;
  } else {
    r.message = PAI_NOT_NUMBER;
    r.pos = static_cast<int>(i);
  }
  return r;
}

PaiCheckResult PaiStrCheck(const std::string& fieldText) {
  // The π text follows the field even when the field is not acceptable: the editors insert what the
  // pupil sees until it is corrected.
  PaiText = fieldText;
  PaiCheckResult r = CheckPaiText(fieldText);
  if (r.message) ShowMessage(r.message, PAI_CAPTION);
  return r;
}

PaiCheckResult PaiTypingCheck(const std::string& fieldText) {
  PaiText = fieldText;
  return CheckPaiText(fieldText);
}

int ComputeAnswerFormCode() {
  AnswerFormCode = ANSSYU + 4 * SYOUDSP;
  return AnswerFormCode;
}

void RedrawGoalDisplay() {
  if (ConditionsView.goalDisplay)
    ConditionsView.goalDisplay();
  else
    RepaintScreen();
}

// The answer-form code follows the settings, so a reset computes it from them.
void KihonSetState::Reset() {
  *this = KihonSetState{};
  ComputeAnswerFormCode();
}

void ResetKihonSet() { KihonSetData.Reset(); }

void JoukenOpened() {
  JoukenOpen = true;
  // The fields' arrows keep their settings in range from the moment the window shows them.
  CURSOLTEMPO = std::clamp(CURSOLTEMPO, CURSOLTEMPO_MIN, CURSOLTEMPO_MAX);
  JIOKURI = std::clamp(JIOKURI, JIOKURI_MIN, JIOKURI_MAX);
  PAGEA4BAI = std::clamp(PAGEA4BAI, PAGEA4BAI_MIN, PAGEA4BAI_MAX);
  GYOKEISUU = std::clamp(GYOKEISUU, GYOKEISUU_MIN, GYOKEISUU_MAX);
  RedrawGoalDisplay();
}

void JoukenClosed(const std::string& paiFieldText) {
  PaiText = paiFieldText;
  ComputeAnswerFormCode();
  JoukenOpen = false;
}

void SetCursolTempo(int ms) {
  CURSOLTEMPO = std::clamp(ms, CURSOLTEMPO_MIN, CURSOLTEMPO_MAX);
  if (ConditionsView.cursorPeriod) ConditionsView.cursorPeriod(CURSOLTEMPO);
}

void SetDspBangou(int index) {
  DSPBANGOU = std::clamp(index, 0, MOKUHYOU_MAX - 1);
  RedrawGoalDisplay();
}

void SetJiokuri(int percent) {
  JIOKURI = std::clamp(percent, JIOKURI_MIN, JIOKURI_MAX);
  RedrawGoalDisplay();
}

namespace {
void SetSwitchAndRepaint(int& setting, bool on) {
  setting = on ? 1 : 0;
  RefreshScreen();
  RepaintScreen();
}
}  // namespace

void SetEqualKaigyo(bool on) { SetSwitchAndRepaint(EQUAL_KAIGYO, on); }
void SetInputStrDsp(bool on) { SetSwitchAndRepaint(INPUTSTR_DSP, on); }
void SetWakigaki(bool on) { SetSwitchAndRepaint(WAKIGAKI, on); }
void SetSbarDsp(bool on) { SetSwitchAndRepaint(SBARDSP, on); }

void SetKakeruAbr(bool on) { KAKERU_ABR = on ? 1 : 0; }
void SetAnsSyu(int item) { ANSSYU = std::clamp(item, 0, 2); }
void SetSyouDsp(bool on) { SYOUDSP = on ? 1 : 0; }

void SetPageA4Bai(int percent) {
  PAGEA4BAI = std::clamp(percent, PAGEA4BAI_MIN, PAGEA4BAI_MAX);
  RepaintScreen();
}

void SetGyoKeisuu(int pitch) {
  GYOKEISUU = std::clamp(pitch, GYOKEISUU_MIN, GYOKEISUU_MAX);
  LinePitch = GYOKEISUU;
  RepaintScreen();
}

void SetProcessDisplay(int item) {
  PROCDSP = item != 0 ? 1 : 0;
  ComputeLineOrigin();
  RefreshScreen();
  RepaintScreen();
}
