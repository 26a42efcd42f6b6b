// The tool windows of the page (conditions, the week's goals, the expression editor, the expression memo,
// the substitution box, the notice box) over the same window-free models as the desktop's windows. Each
// function does what one control of the desktop window does and returns the new state as JSON; questions
// the models ask go through the platform's queue, and the page repeats the action with the answer given.
#include <emscripten.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/Settings.h"
#include "platform/Platform.h"
#include "screen/ScreenPage.h"
#include "screen/sikiInp.h"
#include "tools/BunSikiEdit.h"
#include "tools/Mokuhyou.h"
#include "tools/SplMsgBox.h"
#include "tools/kihonSet.h"
#include "tools/sikiEMemo.h"
#include "tools/xyDainyuu.h"
#include "typeset/bunCanvasDsp.h"
#include "web/WebCanvas.h"
#include "web/WebPlatform.h"

namespace {

std::string& ToolResult() {
  static std::string r;
  return r;
}
const char* Give(std::string s) {
  ToolResult() = std::move(s);
  return ToolResult().c_str();
}
std::string Text(const char* s) { return s ? std::string(s) : std::string(); }
const char* Bool(bool b) { return b ? "true" : "false"; }

std::string JsonList(const std::vector<std::string>& items) {
  std::string s = "[";
  for (size_t i = 0; i < items.size(); ++i) s += (i ? "," : "") + JsonString(items[i]);
  return s + "]";
}

std::string ConditionsJson() {
  std::string s = "{";
  s += "\"pai\":" + JsonString(PaiText);
  s += ",\"CURSOLTEMPO\":" + std::to_string(CURSOLTEMPO);
  s += ",\"DSPBANGOU\":" + std::to_string(DSPBANGOU);
  s += ",\"JIOKURI\":" + std::to_string(JIOKURI);
  s += ",\"EQUAL_KAIGYO\":" + std::to_string(EQUAL_KAIGYO);
  s += ",\"INPUTSTR_DSP\":" + std::to_string(INPUTSTR_DSP);
  s += ",\"KAKERU_ABR\":" + std::to_string(KAKERU_ABR);
  s += ",\"WAKIGAKI\":" + std::to_string(WAKIGAKI);
  s += ",\"SBARDSP\":" + std::to_string(SBARDSP);
  s += ",\"ANSSYU\":" + std::to_string(ANSSYU);
  s += ",\"SYOUDSP\":" + std::to_string(SYOUDSP);
  s += ",\"PAGEA4BAI\":" + std::to_string(PAGEA4BAI);
  s += ",\"GYOKEISUU\":" + std::to_string(GYOKEISUU);
  s += ",\"PROCDSP\":" + std::to_string(PROCDSP);
  s += ",\"goals\":" + JsonList(StoredGoals());
  // The window's captions and the π of the 19ｹﾀ button, as the desktop's window has them.
  s += ",\"checks\":[";
  for (const ConditionCheck& c : CONDITION_CHECKS)
    s += std::string(&c == CONDITION_CHECKS ? "" : ",") + "{\"name\":" + JsonString(c.setting) +
         ",\"caption\":" + JsonString(c.caption) + "}";
  s += "],\"answers\":[";
  for (const char* a : ANSWER_FORM_CAPTIONS)
    s += std::string(a == ANSWER_FORM_CAPTIONS[0] ? "" : ",") + JsonString(a);
  s += "],\"pai19\":" + JsonString(PAI_19_DIGITS);
  s += ",\"ranges\":{\"CURSOLTEMPO\":[" + std::to_string(CURSOLTEMPO_MIN) + "," +
       std::to_string(CURSOLTEMPO_MAX) + "," + std::to_string(CURSOLTEMPO_STEP) + "],\"JIOKURI\":[" +
       std::to_string(JIOKURI_MIN) + "," + std::to_string(JIOKURI_MAX) + "," + std::to_string(JIOKURI_STEP) +
       "],\"PAGEA4BAI\":[" + std::to_string(PAGEA4BAI_MIN) + "," + std::to_string(PAGEA4BAI_MAX) + "," +
       std::to_string(PAGEA4BAI_STEP) + "],\"GYOKEISUU\":[" + std::to_string(GYOKEISUU_MIN) + "," +
       std::to_string(GYOKEISUU_MAX) + "," + std::to_string(GYOKEISUU_STEP) + "]}";
  return s + "}";
}

std::string PaiJson(const PaiCheckResult& r) {
  return std::string("{\"ok\":") + Bool(r.ok) + ",\"tooLong\":" + Bool(r.tooLong) +
         ",\"pos\":" + std::to_string(r.pos) + ",\"message\":" + JsonString(r.message ? r.message : "") +
         ",\"pai\":" + JsonString(PaiText) + "}";
}

std::string OutcomeJson(const EditorOutcome& o) {
  return std::string("{\"done\":") + Bool(o.done) + ",\"badPos\":" + std::to_string(o.badPos) +
         ",\"errorText\":" + JsonString(o.errorText) + ",\"setField\":" + Bool(o.setField) +
         ",\"fieldText\":" + JsonString(o.fieldText) + "}";
}

std::string MemoJson(const std::string& result) {
  return "{\"entries\":" + JsonList(MemoEntries) + ",\"selected\":" + std::to_string(MemoSelected) +
         ",\"result\":" + JsonString(result) + "}";
}

}  // namespace

extern "C" {

// ---- Conditions ("▼条件設定▼") ----------------------------------------------------------------------------

EMSCRIPTEN_KEEPALIVE const char* kz_conditions_open() {
  JoukenOpened();
  return Give(ConditionsJson());
}
EMSCRIPTEN_KEEPALIVE const char* kz_conditions_state() { return Give(ConditionsJson()); }

// One control changed, by its setting's key; the model clamps and makes the screen react.
EMSCRIPTEN_KEEPALIVE const char* kz_conditions_set(const char* name, int value) {
  const std::string n = Text(name);
  if (n == "CURSOLTEMPO")
    SetCursolTempo(std::clamp(value, CURSOLTEMPO_MIN, CURSOLTEMPO_MAX));
  else if (n == "DSPBANGOU")
    SetDspBangou(std::clamp(value, 0, MOKUHYOU_MAX - 1));
  else if (n == "JIOKURI")
    SetJiokuri(std::clamp(value, JIOKURI_MIN, JIOKURI_MAX));
  else if (n == "EQUAL_KAIGYO")
    SetEqualKaigyo(value != 0);
  else if (n == "INPUTSTR_DSP")
    SetInputStrDsp(value != 0);
  else if (n == "KAKERU_ABR")
    SetKakeruAbr(value != 0);
  else if (n == "WAKIGAKI")
    SetWakigaki(value != 0);
  else if (n == "SBARDSP")
    SetSbarDsp(value != 0);
  else if (n == "ANSSYU")
    SetAnsSyu(std::clamp(value, 0, 2));
  else if (n == "SYOUDSP")
    SetSyouDsp(value != 0);
  else if (n == "PAGEA4BAI")
    SetPageA4Bai(std::clamp(value, PAGEA4BAI_MIN, PAGEA4BAI_MAX));
  else if (n == "GYOKEISUU")
    SetGyoKeisuu(std::clamp(value, GYOKEISUU_MIN, GYOKEISUU_MAX));
  else if (n == "PROCDSP")
    SetProcessDisplay(value != 0 ? 1 : 0);
  LinePitch = GYOKEISUU;
  return Give(ConditionsJson());
}

// The π field: typing (final 0) judges quietly; leaving it or Enter (final 1) shows the warning box.
EMSCRIPTEN_KEEPALIVE const char* kz_conditions_pai(const char* text, int final) {
  const std::string t = Text(text);
  return Give(PaiJson(final ? PaiStrCheck(t) : PaiTypingCheck(t)));
}

EMSCRIPTEN_KEEPALIVE const char* kz_conditions_close(const char* paiText) {
  JoukenClosed(Text(paiText));
  return Give(ConditionsJson());
}

// ---- The week's goals ("●今週の目標(10個)●") --------------------------------------------------------------

EMSCRIPTEN_KEEPALIVE const char* kz_goals_text() {
  MokuhyouEditOpen = true;
  return Give(JoinGoalLines(StoredGoals()));
}
// 1: the text may stay in the editor; 0: more than ten goals (the warning is queued).
EMSCRIPTEN_KEEPALIVE int kz_goals_check(const char* text) {
  if (GoalTextAcceptable(Text(text))) return 1;
  ShowMessage(MOKUHYOU_LIMIT_TEXT, MOKUHYOU_LIMIT_CAPTION);
  return 0;
}
// "決定&D" (store 1) or "中止&C" (store 0): the editor closes.
EMSCRIPTEN_KEEPALIVE int kz_goals_close(const char* text, int store) {
  MokuhyouEditOpen = false;
  if (!store) return 1;
  if (!GoalTextAcceptable(Text(text))) return kz_goals_check(text);
  StoreGoals(SplitGoalLines(Text(text)));
  RedrawGoalDisplay();
  return 1;
}

// "ﾌｫﾝﾄ&F": the goal's size in points and colour (0x00BBGGRR) in the screen's goal face; the goal display
// is redrawn. Returns the size in force.
EMSCRIPTEN_KEEPALIVE int kz_goals_font(int size, int colorBgr) {
  SetGoalFont(MOKU_FONTNAME, std::clamp(size, 6, 48), colorBgr & 0xFFFFFF);
  return MOKU_FONTSIZE;
}

// ---- The expression editor ("◆式エディタ◆") -------------------------------------------------------------

// Opening from the calculation screen: the line's text is handed in.
EMSCRIPTEN_KEEPALIVE const char* kz_editor_open() {
  SikiEditOpen = true;
  EditorMode = EditorFor::Screen;
  return Give(LineText);
}
// show, calculate, stash, insert, look, keyTenyou, solve: the command of the button of that name on the field's text.
EMSCRIPTEN_KEEPALIVE const char* kz_editor(const char* action, const char* field) {
  const std::string a = Text(action), f = Text(field);
  EditorOutcome o;
  if (EditorExpressionLength(f) > EDITOR_MAX_CHARS) {
    o.errorText = EDITOR_TOO_LONG_TEXT;
    return Give(OutcomeJson(o));
  }
  if (a == "show")
    o = EditorShow(f);
  else if (a == "calculate")
    o = EditorCalculate(f);
  else if (a == "stash")
    EditorStashText(f);
  else if (a == "insert") {
    o.setField = true;
    o.fieldText = EditorStashToInsert();
  } else if (a == "look")
    EditorLookStash();
  else if (a == "keyTenyou")
    ToggleKeyTenyou();
  else if (a == "solve")
    EditorSolveOnScreen(f);
  return Give(OutcomeJson(o));
}
// A key inside the field (virtual-key code and modifier bits): what the desktop editor, memo or box does
// with it, as {"action": …, "text": …}. which: 0 editor, 1 memo, 2 substitution box.
EMSCRIPTEN_KEEPALIVE const char* kz_tool_key(int which, int vk, int shift) {
  static const char* NAMES[] = {"none",  "show",   "calculate", "lineFeed",  "picture",
                                "close", "insert", "focusNext", "focusBack", "dropList"};
  const ToolKey k = which == 0   ? EditorKey(vk, shift)
                    : which == 1 ? MemoKey(vk, shift)
                                 : DainyuuKey(vk, shift);
  return Give(std::string("{\"action\":\"") + NAMES[static_cast<int>(k.action)] +
              "\",\"text\":" + JsonString(k.text) + ",\"keyTenyou\":" + std::to_string(KEYTENYOU) + "}");
}
// Closing: 1 when it may close (a changed field asks first).
EMSCRIPTEN_KEEPALIVE int kz_editor_close(int changed) {
  if (!EditorMayClose(changed != 0)) return 0;
  SikiEditOpen = false;
  return 1;
}

// ---- The expression memo ("★式 メモ★") -----------------------------------------------------------------

// open, close, add (text), choose (index), delete, deleteAll, look, selected.
EMSCRIPTEN_KEEPALIVE const char* kz_memo(const char* action, const char* text, int index) {
  const std::string a = Text(action);
  std::string result;
  if (a == "open")
    MemoOpened();
  else if (a == "close")
    MemoClosed();
  else if (a == "add") {
    static const char* R[] = {"ignored", "full", "duplicate", "added"};
    result = R[static_cast<int>(MemoAdd(Text(text)))];
  } else if (a == "choose")
    MemoChoose(index >= 0 && index < static_cast<int>(MemoEntries.size()) ? index : -1);
  else if (a == "delete")
    result = MemoDeleteSelected() ? "deleted" : "";
  else if (a == "deleteAll")
    result = MemoDeleteAll() ? "deleted" : "";
  else if (a == "look")
    MemoLook();
  else if (a == "selected") {
    MemoRememberSelected();
    result = MemoSelectedText();
  }
  return Give(MemoJson(result));
}

// ---- The substitution box ("■数値代入ボックス■") ------------------------------------------------------------

// substitute ("式を転送 &S": the result for the expression editor), calculate ("計算 &K"), look ("&Look").
EMSCRIPTEN_KEEPALIVE const char* kz_dainyuu(const char* action, const char* expr, const char* x,
                                            const char* y, const char* z) {
  const std::string a = Text(action), e = Text(expr);
  bool ok = false;
  int badPos = 0;
  std::string result;
  DainyuuOpen = true;
  if (a == "substitute") {
    ok = Substitute(e, Text(x), Text(y), Text(z), result);
  } else if (a == "calculate") {
    const DainyuuCalcOutcome o = DainyuuCalculate(e, Text(x), Text(y), Text(z));
    ok = o.computed;
    badPos = o.badPos;
    result = DainyuuResult;
  } else if (a == "look") {
    DainyuuLook(e);
  } else if (a == "close") {
    DainyuuOpen = false;
  }
  return Give(std::string("{\"ok\":") + Bool(ok) + ",\"badPos\":" + std::to_string(badPos) +
              ",\"result\":" + JsonString(result) + "}");
}

// ---- The notice box --------------------------------------------------------------------------------------

// The notice text drawn as the desktop box draws it (the screen's font at 13 points, cells of "1234567890"),
// as {"width":…,"height":…,"failed":…,"ops":"…"}; ops is WebCanvas::Serialise's list.
EMSCRIPTEN_KEEPALIVE const char* kz_notice(const char* text) {
  static WebCanvas c;
  c.ClearOps();
  const int saved = EQUAL_KAIGYO;
  EQUAL_KAIGYO = 0;
  const NoticeLayout layout = BuildNoticeLayout(Text(text));
  c.SetFontName(FONTNAME);
  c.SetFontSize(13);
  const int cw = std::max(1, c.TextWidth("1234567890") / 10);
  const int ch = std::max(1, c.TextHeight("1234567890"));
  c.SetFontPitch(FontPitch::Fixed);
  c.SetFontColor(CLR_BLACK);
  const int right = DrawNotice(c, layout, cw, ch);
  EQUAL_KAIGYO = saved;
  return Give("{\"width\":" + std::to_string(std::max(NoticeBoxWidth(layout, cw), right + 20)) +
              ",\"height\":" + std::to_string(NoticeBoxHeight(layout, ch)) +
              ",\"failed\":" + Bool(layout.failed) + ",\"ops\":" + JsonString(c.Serialise()) + "}");
}

}  // extern "C"
