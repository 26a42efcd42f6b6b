// The binding between the browser page and the calculation screen's model: keys in (the desktop's key
// map), the page's drawing list, the line's state, the messages and the settings file's bytes out. Every
// function runs to completion and returns at once; the page shows what the queue holds afterwards.
#include <emscripten.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "engine/BunMath.h"
#include "engine/Settings.h"
#include "notebook/NoteSheet.h"
#include "platform/HalfWidth.h"
#include "platform/Platform.h"
#include "platform/ShiftJis.h"
#include "platform/VirtualKeys.h"
#include "process/CalcProcManage.h"
#include "screen/AnswerStore.h"
#include "screen/PrintedLine.h"
#include "screen/ReadAloud.h"
#include "screen/ScreenPage.h"
#include "screen/ScreenSteps.h"
#include "screen/SettingsFile.h"
#include "screen/Zoom.h"
#include "screen/sikiInp.h"
#include "screen/sikiInpCommands.h"
#include "typeset/Reading.h"
#include "typeset/bunCanvasDsp.h"
#include "web/WebCanvas.h"
#include "web/WebPlatform.h"

namespace {

WebCanvas& Page() {
  static WebCanvas canvas;
  return canvas;
}

WebPlatform& ThePlatform() {
  static WebPlatform platform;
  return platform;
}

// The last result handed to the page; it stays valid until the next call.
std::string& Result() {
  static std::string r;
  return r;
}

const char* Give(std::string s) {
  Result() = std::move(s);
  return Result().c_str();
}

// The page's own windows (settings, help, printing …) are asked for through the message queue.
void PageCommand(ScreenCommand c, const char* name) {
  SetScreenCommand(c, [name] {
    ThePlatform().queue.push_back({"command", "", name, MsgButtons::Ok, 0});
    return true;
  });
}

// The settings the page's windows show and change, by their settings-file keys.
struct NamedSetting {
  const char* name;
  int* value;
  int low, high;
};
const NamedSetting NAMED_SETTINGS[] = {
    {"ANSSYU", &ANSSYU, 0, 2},
    {"SYOUDSP", &SYOUDSP, 0, 1},
    {"PROCDSP", &PROCDSP, 0, 1},
    {"ADVICEDSP", &ADVICEDSP, 0, 1},
    {"PROCTEIDO", &PROCTEIDO, 0, 1},
    {"PROCLASTANS", &PROCLASTANS, 0, 1},
    {"KAKERU_ABR", &KAKERU_ABR, 0, 1},
    {"EQUAL_KAIGYO", &EQUAL_KAIGYO, 0, 1},
    {"INPUTSTR_DSP", &INPUTSTR_DSP, 0, 1},
    {"KAITOURAN_FLAG", &KAITOURAN_FLAG, 0, 1},
    {"WAKIGAKI", &WAKIGAKI, 0, 1},
    {"SBARDSP", &SBARDSP, 0, 1},
    {"WARI_TYPE", &WARI_TYPE, 0, 1},
    {"WARI_PNT", &WARI_PNT, 0, 18},
    {"WA_TYPE", &WA_TYPE, 0, 1},
    {"FONTSIZE", &FONTSIZE, 6, 48},
    {"GYOKEISUU", &GYOKEISUU, GYOKEISUU_MIN, GYOKEISUU_MAX},
    {"PAGEA4BAI", &PAGEA4BAI, PAGEA4BAI_MIN, PAGEA4BAI_MAX},
    {"DSPBANGOU", &DSPBANGOU, 0, MOKUHYOU_MAX - 1},
    {"MOKU_FONTSIZE", &MOKU_FONTSIZE, 6, 48},
    {"FONTCOLOR", &FONTCOLOR, 0, 0xFFFFFF},
    {"JIOKURI", &JIOKURI, 80, 200},
};

const NamedSetting* FindSetting(const char* name) {
  for (const NamedSetting& s : NAMED_SETTINGS)
    if (std::string_view(s.name) == name) return &s;
  return nullptr;
}

bool Started = false;

void SetUpScreen() {
  SetPlatform(&ThePlatform());
  ResetCalculationModules();
  ResetLineCommands();
  InstallLineCommands();
  PageCommand(ScreenCommand::OpenProcessSettings, "processSettings");
  PageCommand(ScreenCommand::OpenConditions, "conditions");
  PageCommand(ScreenCommand::Help, "help");
  PageCommand(ScreenCommand::PrintLine, "print");
  PageCommand(ScreenCommand::VersionBox, "version");
  PageCommand(ScreenCommand::InputPanelSwitch, "inputPanel");
  PageCommand(ScreenCommand::FontDialog, "font");
  // The tool windows open as page dialogs (web/dialogs.js).
  PageCommand(ScreenCommand::OpenExpressionEditor, "editor");
  PageCommand(ScreenCommand::OpenMemo, "memo");
  PageCommand(ScreenCommand::OpenSubstitution, "substitution");
  // The notebook opens as the page's notebook view (web/notebook.js).
  PageCommand(ScreenCommand::OpenNotebook, "notebook");
  LinePitch = GYOKEISUU;
  Page().browserMetrics = true;
  PrepareScreenSurface(Page());
  ScreenSurface = &Page();
  // The page repaints after every call; a repaint asked for in between only marks it.
  ScreenView.repaint = [] {};
  ScreenView.refresh = [] {};
  ScreenView.eraseCursor = [] {};
  ResetSikiInp();
  ScrollPos = 0;
  ComputeLineOrigin();
  CursorPos = LineOrigin;
}

}  // namespace

extern "C" {

// Starts the screen with the settings file's bytes (none: the defaults). Returns 1 when the bytes were
// read, 0 when the defaults are in force.
EMSCRIPTEN_KEEPALIVE int kz_start(const char* bytes, int length) {
  // The runtime starts with a umask that makes every new file unreadable; files made here are ordinary.
  umask(022);
  bool read = false;
  ResetSettings();
  ResetSettingsFile();
  if (bytes && length > 0) {
    ReadSettingsBytes(std::string_view(bytes, static_cast<size_t>(length)));
    read = true;
  }
  SetUpScreen();
  Started = true;
  return read ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE void kz_resize(int width, int height) {
  ScreenWidth = std::max(1, width);
  ScreenHeight = std::max(1, height);
}

// The page's window is width × height: the screen font that suits it becomes the size Ctrl+0 goes back to.
// Returns that size (the page uses it as the pupil's size until the pupil chooses one).
EMSCRIPTEN_KEEPALIVE int kz_device_font_size(int width, int height) {
  ZoomHomeSize = DeviceFontSize(width, height);
  return ZoomHomeSize;
}

// Zooms the screen font steps sizes up or down (0: to the listed size at or below the current one), as
// Ctrl+plus and Ctrl+minus do; returns the new size.
EMSCRIPTEN_KEEPALIVE int kz_zoom(int steps) { return Started ? ZoomScreen(steps) : FONTSIZE; }

// One key press: a Windows virtual-key code and the modifier bits (1 Shift, 2 Alt, 4 Ctrl).
EMSCRIPTEN_KEEPALIVE void kz_key(int key, int shift) {
  if (!Started) return;
  if ((shift & SHIFT_ALT) && key == 'E') {
    RunScreenCommand(ScreenCommand::OpenExpressionEditor);
    return;
  }
  BrowserKeyToInput(key, shift);
}

// Whether a browser keeps the key for itself (the page then leaves it to the browser and offers no menu
// item, help line or hint with it).
EMSCRIPTEN_KEEPALIVE int kz_browser_keeps(int key, int shift) { return BrowserKeepsKey(key, shift) ? 1 : 0; }

// The page's own keys for the commands whose desktop key a browser keeps, as the menus name them:
// {"screen":[["Ctrl+T","Alt+T"],…],"notebook":[…]}.
EMSCRIPTEN_KEEPALIVE const char* kz_browser_keys() {
  const auto name = [](KeyStroke k) {
    std::string n;
    if (k.shift & SHIFT_CTRL) n += "Ctrl+";
    if (k.shift & SHIFT_ALT) n += "Alt+";
    if (k.shift & SHIFT_SHIFT) n += "Shift+";
    return n + VirtualKeyName(k.vk);
  };
  const auto list = [&](const std::vector<BrowserKey>& keys) {
    std::string s = "[";
    for (const BrowserKey& k : keys) {
      if (s.size() > 1) s += ',';
      s += "[" + JsonString(name(k.desktop)) + "," + JsonString(name(k.page)) + "]";
    }
    return s + "]";
  };
  return Give("{\"screen\":" + list(ScreenBrowserKeys()) + ",\"notebook\":" + list(NoteBrowserKeys()) + "}");
}

// Runs one command of the menus or the input panel (ScreenCommand's order); 1 when it acted.
EMSCRIPTEN_KEEPALIVE int kz_command(int command) {
  if (!Started || command < 0 || command >= static_cast<int>(ScreenCommand::COUNT)) return 0;
  return RunScreenCommand(static_cast<ScreenCommand>(command)) ? 1 : 0;
}

// One character of the input panel, offered to the line as the panel's buttons do.
EMSCRIPTEN_KEEPALIVE int kz_char(int c) {
  return Started && c > 0 && c < 128 ? InputResultNumber(InputChar(static_cast<char>(c))) : -1;
}
EMSCRIPTEN_KEEPALIVE void kz_toggle_equal_kaigyo() {
  if (Started) ToggleEqualKaigyo();
}

EMSCRIPTEN_KEEPALIVE void kz_clear_line() {
  if (Started) ClearLine();
}
EMSCRIPTEN_KEEPALIVE int kz_restore_line() { return Started ? RestoreLine() : -3; }
EMSCRIPTEN_KEEPALIVE int kz_backspace() { return Started ? BackSpaceLine() : -1; }
EMSCRIPTEN_KEEPALIVE void kz_toggle_process() {
  if (Started) ToggleProcessDisplay();
}
EMSCRIPTEN_KEEPALIVE void kz_remake_after_toggle() {
  if (Started) RemakeLineAfterToggle();
}
EMSCRIPTEN_KEEPALIVE void kz_scroll_to(int pos) {
  if (Started) ScrollTo(std::clamp(pos, 0, PageLength()));
}

// Paints the page and returns its drawing list (WebCanvas::Serialise).
EMSCRIPTEN_KEEPALIVE const char* kz_paint() {
  if (!Started) return "";
  WebCanvas& c = Page();
  LinePitch = GYOKEISUU;
  PrepareScreenSurface(c);
  c.ClearOps();
  PaintPage(c, ScreenWidth, ScreenHeight);
  return Give(c.Serialise());
}

// The state the page shows around the drawing, as JSON.
EMSCRIPTEN_KEEPALIVE const char* kz_state() {
  const CanvasRect cur = CursorCell();
  std::string s = "{";
  s += "\"line\":" + JsonString(LineText);
  s += ",\"lineOpen\":" + std::string(LineOpen ? "true" : "false");
  s += ",\"status\":" + JsonString(StatusText);
  s += ",\"inputString\":" + JsonString(InputStringText);
  s += ",\"scroll\":" + std::to_string(ScrollPos);
  s += ",\"pageLength\":" + std::to_string(PageLength());
  s += ",\"processType\":" + std::to_string(ProcessTypeNumber(ProcessState.processType));
  s += ",\"processText\":" + JsonString(ProcessState.processText);
  s += ",\"baseMode\":" + std::string(BaseMode ? "true" : "false");
  s += ",\"storedAnswer\":" + JsonString(StoredAnswer);
  s += ",\"refusals\":" + std::to_string(RefusalCount);
  s += ",\"lastRefusal\":" + std::to_string(LastRefusalNo);
  s += ",\"buttons\":{\"syou\":" + std::string(SyouButtonEnabled ? "true" : "false") +
       ",\"kari\":" + std::string(KariButtonEnabled ? "true" : "false") +
       ",\"obi\":" + std::string(ObiButtonEnabled ? "true" : "false") + "}";
  char colour[8];
  std::snprintf(colour, sizeof colour, "%06x", static_cast<unsigned>(CursorColour.rgb));
  s += ",\"cursor\":{\"left\":" + std::to_string(cur.left) + ",\"top\":" + std::to_string(cur.top) +
       ",\"right\":" + std::to_string(cur.right) + ",\"bottom\":" + std::to_string(cur.bottom) +
       ",\"color\":\"" + colour + "\"}";
  s += ",\"charWidth\":" + std::to_string(CharWidth) + ",\"charHeight\":" + std::to_string(CharHeight);
  s += ",\"goal\":" + JsonString(DSPBANGOU >= 0 && DSPBANGOU < std::min(MOKU_SOUSUU, MOKUHYOU_MAX)
                                     ? MOKUHYOU[DSPBANGOU]
                                     : std::string());
  s += ",\"goalFontSize\":" + std::to_string(MOKU_FONTSIZE) + ",\"goalColor\":" + std::to_string(FONTCOLOR);
  // The pupil's own working as checked by Ctrl+G, when it belongs to the line shown.
  s += ",\"steps\":";
  if (!ScreenSteps.forLine.empty() && ScreenSteps.forLine == LineText) {
    s += "{\"marks\":[";
    std::string advice;
    for (size_t k = 0; k < ScreenSteps.result.steps.size(); ++k) {
      const StepResult& st = ScreenSteps.result.steps[k];
      if (k) {
        s += ',';
        advice += ',';
      }
      s += JsonString(StepMark(st.verdict));
      advice += JsonString(st.advice);
    }
    s += "],\"advice\":[" + advice + "],\"hintShown\":" + (ScreenSteps.hintShown ? "true" : "false") +
         ",\"hint\":" + JsonString(ScreenSteps.hint) + ",\"hintReading\":" +
         JsonString(ScreenSteps.hint.empty() ? "" : ReadLineAloud(ScreenSteps.hint).display) + "}";
  } else {
    s += "null";
  }
  s += ",\"settings\":{";
  bool first = true;
  for (const NamedSetting& n : NAMED_SETTINGS) {
    if (!first) s += ',';
    first = false;
    s += "\"" + std::string(n.name) + "\":" + std::to_string(*n.value);
  }
  s += "}}";
  return Give(std::move(s));
}

// The reading of what the screen shows (the line, or its process when one is shown) as JSON
// {"display": …, "kana": …}; the page speaks the kana with the browser's voice.
EMSCRIPTEN_KEEPALIVE const char* kz_read_line() {
  if (!Started) return "{\"display\":\"\",\"kana\":\"\"}";
  const LineReading r = CurrentLineReading();
  return Give("{\"display\":" + JsonString(r.display) + ",\"kana\":" + JsonString(r.kana) + "}");
}

EMSCRIPTEN_KEEPALIVE const char* kz_messages() { return Give(ThePlatform().TakeMessages()); }

// The answer to the next question (0 Ok, 1 Cancel, 2 Yes, 3 No), given before the action is repeated.
EMSCRIPTEN_KEEPALIVE void kz_answer(int answer) {
  if (answer >= 0 && answer <= 3) ThePlatform().answers.push_back(static_cast<MsgAnswer>(answer));
}
EMSCRIPTEN_KEEPALIVE void kz_interrupt(int on) { ThePlatform().interrupt = on != 0; }

// Reads and writes one setting by its key; -1 for a key the page may not set.
EMSCRIPTEN_KEEPALIVE int kz_get_setting(const char* name) {
  const NamedSetting* s = FindSetting(name);
  return s ? *s->value : -1;
}
EMSCRIPTEN_KEEPALIVE int kz_set_setting(const char* name, int value) {
  const NamedSetting* s = FindSetting(name);
  if (!s) return -1;
  *s->value = std::clamp(value, s->low, s->high);
  LinePitch = GYOKEISUU;
  return *s->value;
}

// The settings file's bytes (Shift_JIS) over the old file's bytes; kz_result_length() tells their length.
EMSCRIPTEN_KEEPALIVE const char* kz_settings_bytes(const char* old, int length) {
  return Give(SettingsFileBytes(std::string_view(old ? old : "", old ? static_cast<size_t>(length) : 0)));
}
// Evaluates an expression in the given answer form (ANSSYU + 4 × SYOUDSP) repeat times and returns the
// answer text; for the page's own uses and for timing the engine against the desktop.
EMSCRIPTEN_KEEPALIVE const char* kz_evaluate(const char* text, int mode, int repeat) {
  std::string answer;
  for (int i = 0; i < std::max(1, repeat); ++i)
    answer = EvaluateExpression(text ? text : "", EvalOptions::FromCode(mode));
  ThePlatform().queue.clear();
  return Give(std::move(answer));
}

// The line with its process on an A4 sheet (96 pixels per inch) as the desktop prints it: its drawing list
// for the page's print sheet, or "" (the pupil told) when there is no line.
EMSCRIPTEN_KEEPALIVE const char* kz_print_line() {
  if (!Started) return "";
  if (LineText.empty()) {
    ShowMessage(PRINT_NO_LINE_TEXT, PRINT_NO_LINE_CAPTION);
    return "";
  }
  static WebCanvas paper;
  paper.browserMetrics = true;
  paper.ClearOps();
  DrawPrintedLine(paper, 1);
  return Give(paper.Serialise());
}

// A field's text with full-width digits, letters and signs taken as half-width (the desktop fields' rule).
EMSCRIPTEN_KEEPALIVE const char* kz_half_width(const char* text) {
  return Give(HalfWidthInput(text ? std::string_view(text) : std::string_view()));
}

// The page's face arrived after the page was drawn in the device's face: texts are measured afresh.
EMSCRIPTEN_KEEPALIVE void kz_forget_text_measurements() { WebCanvas::ForgetMeasurements(); }

EMSCRIPTEN_KEEPALIVE int kz_result_length() { return static_cast<int>(Result().size()); }

// For the comparison with the desktop: a fresh screen with the given settings file (its text in UTF-8) types the keys (the
// batch tool's key sequence) and closes the line, and the page is painted on a fixed-cell record of
// width × height; returns Describe() of every operation, one per line.
EMSCRIPTEN_KEEPALIVE const char* kz_record_page(const char* keys, const char* settings, int width,
                                                int height) {
  ResetSettings();
  ResetSettingsFile();
  std::string bytes;
  if (settings && *settings && Utf8ToCp932(settings, bytes)) ReadSettingsBytes(bytes);
  SetPlatform(&ThePlatform());
  ResetCalculationModules();
  ResetLineCommands();
  InstallLineCommands();
  WebCanvas c;
  c.browserMetrics = false;
  LinePitch = GYOKEISUU;
  PrepareScreenSurface(c);
  ScreenSurface = nullptr;
  ScreenView = ScreenHooks{};
  ResetSikiInp();
  ScreenWidth = width;
  ScreenHeight = height;
  std::vector<KeyPress> presses;
  std::string error;
  if (!ParseKeySequence(keys, presses, error)) return Give("error " + error);
  for (const KeyPress& p : presses) KeyToInput(p.key, p.shift);
  if (LineOpen && !LineText.empty()) KeyToInput(VK_RIGHT, SHIFT_NONE);
  c.ClearOps();
  PaintPage(c, width, height);
  std::string out;
  for (const std::string& line : c.Describe(true)) out += line + "\n";
  ThePlatform().queue.clear();
  Started = false;  // the page starts again before its next key
  return Give(std::move(out));
}

}  // extern "C"
