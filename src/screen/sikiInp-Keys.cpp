// The calculation screen's keyboard: which character of the notation or which command each virtual key
// stands for, and the names of keys with which the batch tool types a line.
#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "engine/Settings.h"
#include "process/CalcProcManage.h"
#include "screen/ReadAloud.h"
#include "screen/ScreenPage.h"
#include "screen/ScreenSteps.h"
#include "screen/Zoom.h"
#include "screen/sikiInp.h"
#include "typeset/bunCanvasDsp.h"

namespace {

bool IsDigitKey(int key) { return key >= '0' && key <= '9'; }
bool IsNumpadKey(int key) { return key >= VK_NUMPAD0 && key <= VK_NUMPAD9; }

void Run(ScreenCommand c) { RunScreenCommand(c); }

// Alt was held with the key now being mapped: the windows' own Alt keys (the panel's Alt+C, Alt+E, Alt+A)
// act after the map, so such a key is no key without a meaning.
bool AltHeld = false;

// A key with no character and no command here: nothing is typed and the status line says so, so that no
// key press is lost without a word.
void UnusedKey() {
  if (AltHeld) return;
  RefuseInput(REFUSED_NO_KEY, KEY_UNUSED_TEXT);
}

// Shift+PageUp / PageDown: the row-advance factor within its range.
void ChangeLinePitch(int delta) {
  GYOKEISUU = std::clamp(GYOKEISUU + delta, GYOKEISUU_MIN, GYOKEISUU_MAX);
  LinePitch = GYOKEISUU;
  RepaintScreen();
}

// Ctrl+PageUp / PageDown: the page length within its range.
void ChangePageLength(int delta) {
  PAGEA4BAI = std::clamp(PAGEA4BAI + delta, PAGEA4BAI_MIN, PAGEA4BAI_MAX);
  ScrollPos = std::min(ScrollPos, PageLength());
  RefreshScreen();
  RepaintScreen();
}

void ShiftKey(int key) {
  switch (key) {
    case 'F': Run(ScreenCommand::FontDialog); return;
    case 'S': Run(ScreenCommand::SoinsuuPre); return;
    case 'R': Run(ScreenCommand::JunkanSyori); return;
    case VK_OEM_MINUS:
    case VK_DOWN:
    case VK_RETURN: InputChar('='); return;
    case '8': InputChar('('); return;
    case '9': InputChar(')'); return;
    case VK_OEM_PLUS: InputChar('+'); return;
    case VK_OEM_1: InputChar('*'); return;
    case '1': InputChar('!'); return;
    case VK_OEM_COMMA: InputChar('<'); return;
    case VK_OEM_PERIOD: InputChar('>'); return;
    case VK_OEM_2:
    case 'N': Run(ScreenCommand::ToggleBaseMode); return;
    case 'P':
    case 'C':
    case 'K':
    case 'B': InputChar(static_cast<char>(key)); return;
    case VK_PRIOR: ChangeLinePitch(+1); return;
    case VK_NEXT: ChangeLinePitch(-1); return;
    default: UnusedKey(); return;
  }
}

void CtrlKey(int key) {
  switch (key) {
    case 'G': CheckLineSteps(); return;
    case 'B': Run(ScreenCommand::DecimalToFraction); return;
    case 'L': ToggleEqualKaigyo(); return;
    case 'S': Run(ScreenCommand::ToSyousuu); return;
    case 'T': Run(ScreenCommand::ToMixed); return;
    case 'K': Run(ScreenCommand::ToImproper); return;
    case 'Y': Run(ScreenCommand::YakuProcDsp); return;
    case 'H': RestoreLine(); return;
    case 'D': ClearLine(); return;
    case 'R': ReadCurrentLineAloud(); return;
    case 'I': Run(ScreenCommand::InputPanelSwitch); return;
    case 'C': Run(ScreenCommand::CopyAnswer); return;
    case 'P': Run(ScreenCommand::PasteAnswer); return;
    case 'Q':
    case VK_RETURN: Run(ScreenCommand::SolveLine); return;
    case VK_PRIOR: ChangePageLength(+1); return;
    case VK_NEXT: ChangePageLength(-1); return;
    default: UnusedKey(); return;
  }
}

// Keys without Shift or Ctrl, in the order the map tests them.
void PlainKey(int key) {
  // In base mode C is the hex digit twelve, appended with the other letters below.
  if (key == 'P' || (key == 'C' && !BaseMode)) {
    InputChar(static_cast<char>(key));
    return;
  }
  switch (key) {
    case VK_UP: ScrollBy(-SCROLL_STEP); return;
    case VK_DOWN: ScrollBy(SCROLL_STEP); return;
    case VK_F6: ToggleAlternativeMethod(); return;
    case VK_F7:
      if (!RunScreenCommand(ScreenCommand::FocusToolWindow)) InputChar(')');
      return;
    case VK_F8: Run(ScreenCommand::InputPanelSwitch); return;
    default: break;
  }
  if (BaseMode) {
    if (key >= 'A' && key <= 'F') {
      AppendBaseChar(static_cast<char>(key));
      return;
    }
    if (key == VK_OEM_PERIOD || key == VK_DECIMAL) {
      AppendBaseChar('>');
      return;
    }
  }
  if (IsDigitKey(key)) {
    InputChar(static_cast<char>(key));
    return;
  }
  if (IsNumpadKey(key)) {
    InputChar(static_cast<char>('0' + (key - VK_NUMPAD0)));
    return;
  }
  switch (key) {
    case VK_DELETE: ClearLine(); return;
    case VK_BACK:
    case VK_LEFT: BackSpaceLine(); return;
    case VK_PRIOR:
    case 'K': InputChar('k'); return;
    case VK_NEXT:
    case 'B': InputChar('b'); return;
    case VK_HOME: InputChar('('); return;  // only while the line is open (closed: scrolling, above)
    case VK_END: InputChar(')'); return;
    case VK_F5: ToggleProcessDisplay(); return;
    case VK_INSERT: RestoreLine(); return;
    case VK_ADD: InputChar('+'); return;
    case VK_SUBTRACT: InputChar('-'); return;
    case VK_MULTIPLY: InputChar('*'); return;
    case VK_DIVIDE: InputChar('/'); return;
    // A laptop has no keypad: the main keyboard's "-" and "/" keys type the operators too ("+" and "*"
    // are Shift with the ";" and ":" keys). In base mode "/" keeps its conversion.
    case VK_OEM_MINUS: InputChar('-'); return;
    case VK_OEM_7: InputChar('^'); return;
    case VK_OEM_1: InputChar(':'); return;
    case VK_OEM_4: InputChar('['); return;
    case VK_OEM_6: InputChar(']'); return;
    case VK_OEM_PERIOD:
    case VK_DECIMAL: InputChar('.'); return;
    case VK_OEM_3: InputChar('@'); return;
    case VK_OEM_2:
      if (BaseMode)
        Run(ScreenCommand::BaseConvert);
      else
        InputChar('/');
      return;
    case 'X': InputChar('x'); return;
    case VK_RETURN:
      if (RETKEYFLAG == 1) {
        InputChar('=');
      } else if (!AltHeld) {
        RefuseInput(REFUSED_NO_KEY, RETURN_UNUSED_TEXT);
      }
      return;
    default: break;
  }
  UnusedKey();
}

}  // namespace

void KeyToInput(int key, int shift) {
  if (key == VK_OEM_5) {
    // The ¥ key types the π approximation; it has no other meaning with any modifier.
    const std::string pai = PaiText;
    for (char c : pai) InputChar(c);
    return;
  }
  AltHeld = (shift & SHIFT_ALT) != 0;
  if (shift & SHIFT_ALT) {
    switch (key) {
      case 'J': Run(ScreenCommand::OpenConditions); return;
      case 'N': Run(ScreenCommand::OpenNotebook); return;
      case 'D': Run(ScreenCommand::OpenSubstitution); return;
      case 'M': Run(ScreenCommand::OpenMemo); return;
      default: shift &= ~SHIFT_ALT; break;
    }
  }
  if (ZoomKey(key, shift)) return;
  if (key == VK_RIGHT) {
    InputChar('=');
    return;
  }
  if (!LineOpen && (key == VK_HOME || key == VK_END)) {
    ScrollTo(key == VK_HOME ? 0 : ScreenHeight);
    return;
  }
  if ((shift & SHIFT_SHIFT) && (shift & SHIFT_CTRL) && key == 'G') {
    ShowStepHint();
    return;
  }
  if (shift & SHIFT_SHIFT) {
    ShiftKey(key);
    return;
  }
  if (shift & SHIFT_CTRL) {
    CtrlKey(key);
    return;
  }
  PlainKey(key);
}

const std::vector<BrowserKey>& ScreenBrowserKeys() {
  static const std::vector<BrowserKey> keys = {
      {{'T', SHIFT_CTRL}, {'T', SHIFT_ALT}},
      {{'Q', SHIFT_CTRL}, {'Q', SHIFT_ALT}},
      {{VK_PRIOR, SHIFT_CTRL}, {VK_PRIOR, SHIFT_ALT}},
      {{VK_NEXT, SHIFT_CTRL}, {VK_NEXT, SHIFT_ALT}},
  };
  return keys;
}

void BrowserKeyToInput(int key, int shift) {
  const KeyStroke k = DesktopKeyOf(ScreenBrowserKeys(), key, shift);
  KeyToInput(k.vk, k.shift);
}

// ---- Key names and typed sequences ---------------------------------------------------------------------

namespace {

struct NamedKey {
  const char* name;
  int key;
};

// The first name of a key is the one VirtualKeyName gives.
constexpr NamedKey KEY_NAMES[] = {
    {"Back", VK_BACK},       {"Backspace", VK_BACK},    {"Tab", VK_TAB},           {"Return", VK_RETURN},
    {"Enter", VK_RETURN},    {"Escape", VK_ESCAPE},     {"Esc", VK_ESCAPE},        {"Space", VK_SPACE},
    {"PageUp", VK_PRIOR},    {"Prior", VK_PRIOR},       {"PageDown", VK_NEXT},     {"Next", VK_NEXT},
    {"End", VK_END},         {"Home", VK_HOME},         {"Left", VK_LEFT},         {"Up", VK_UP},
    {"Right", VK_RIGHT},     {"Down", VK_DOWN},         {"Insert", VK_INSERT},     {"Delete", VK_DELETE},
    {"Del", VK_DELETE},      {"Multiply", VK_MULTIPLY}, {"Add", VK_ADD},           {"Subtract", VK_SUBTRACT},
    {"Decimal", VK_DECIMAL}, {"Divide", VK_DIVIDE},     {"Colon", VK_OEM_1},       {"Semicolon", VK_OEM_PLUS},
    {"Comma", VK_OEM_COMMA}, {"Minus", VK_OEM_MINUS},   {"Period", VK_OEM_PERIOD}, {"Slash", VK_OEM_2},
    {"At", VK_OEM_3},        {"LBracket", VK_OEM_4},    {"Yen", VK_OEM_5},         {"RBracket", VK_OEM_6},
    {"Caret", VK_OEM_7},     {"Backslash", VK_OEM_102},
};

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// The physical key of a single character named inside braces ("{Shift+/}" is Shift with the "/" key).
int KeyOfSingleChar(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  if (std::isdigit(u)) return c;
  if (std::isalpha(u)) return std::toupper(u);
  switch (c) {
    case ':': return VK_OEM_1;
    case ';': return VK_OEM_PLUS;
    case ',': return VK_OEM_COMMA;
    case '-': return VK_OEM_MINUS;
    case '.': return VK_OEM_PERIOD;
    case '/': return VK_OEM_2;
    case '@': return VK_OEM_3;
    case '[': return VK_OEM_4;
    case ']': return VK_OEM_6;
    case '^': return VK_OEM_7;
    case '\\': return VK_OEM_102;
    case '+': return VK_ADD;
    case '*': return VK_MULTIPLY;
    default: return -1;
  }
}

}  // namespace

std::string VirtualKeyName(int vk) {
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return std::string(1, static_cast<char>(vk));
  if (IsNumpadKey(vk)) return "Num" + std::to_string(vk - VK_NUMPAD0);
  if (vk >= VK_F1 && vk <= VK_F12) return "F" + std::to_string(vk - VK_F1 + 1);
  for (const auto& n : KEY_NAMES)
    if (n.key == vk) return n.name;
  static const char* hex = "0123456789ABCDEF";
  std::string r = "VK_0x";
  r += hex[(vk >> 4) & 0xF];
  r += hex[vk & 0xF];
  return r;
}

int VirtualKeyByName(const std::string& name) {
  if (name.empty()) return -1;
  if (name.size() == 1) return KeyOfSingleChar(name[0]);
  std::string n = Lower(name);
  if (n.rfind("vk_", 0) == 0) n = n.substr(3);
  if (n.rfind("0x", 0) == 0 && n.size() > 2 && n.size() <= 4) {
    char* end = nullptr;
    long v = std::strtol(n.c_str() + 2, &end, 16);
    if (end && *end == '\0' && v >= 0 && v <= 0xFF) return static_cast<int>(v);
    return -1;
  }
  if (n.size() == 1) return KeyOfSingleChar(n[0]);
  if (n[0] == 'f' && n.size() <= 3 && std::isdigit(static_cast<unsigned char>(n[1]))) {
    int f = std::atoi(n.c_str() + 1);
    if (f >= 1 && f <= 12 && std::to_string(f) == n.substr(1)) return VK_F1 + f - 1;
  }
  for (const char* prefix : {"num", "numpad"}) {
    std::string p = prefix;
    if (n.size() == p.size() + 1 && n.rfind(p, 0) == 0 && std::isdigit(static_cast<unsigned char>(n.back())))
      return VK_NUMPAD0 + (n.back() - '0');
  }
  // Windows' own names of the keys that have one.
  static const NamedKey WINDOWS_NAMES[] = {
      {"oem_1", VK_OEM_1},         {"oem_plus", VK_OEM_PLUS},     {"oem_comma", VK_OEM_COMMA},
      {"oem_minus", VK_OEM_MINUS}, {"oem_period", VK_OEM_PERIOD}, {"oem_2", VK_OEM_2},
      {"oem_3", VK_OEM_3},         {"oem_4", VK_OEM_4},           {"oem_5", VK_OEM_5},
      {"oem_6", VK_OEM_6},         {"oem_7", VK_OEM_7},           {"oem_102", VK_OEM_102},
  };
  for (const auto& w : WINDOWS_NAMES)
    if (n == w.name) return w.key;
  for (const auto& k : KEY_NAMES)
    if (n == Lower(k.name)) return k.key;
  return -1;
}

bool KeyForChar(char c, KeyPress& press) {
  press = KeyPress{};
  press.source = std::string(1, c);
  if (c >= '0' && c <= '9') {
    press.key = c;
    return true;
  }
  switch (c) {
    case '+': press.key = VK_ADD; return true;
    case '-': press.key = VK_SUBTRACT; return true;
    case '*': press.key = VK_MULTIPLY; return true;
    case '/': press.key = VK_DIVIDE; return true;
    case '=': press.key = VK_RIGHT; return true;
    case 'b':
    case 'k':
    case 'x': press.key = std::toupper(static_cast<unsigned char>(c)); return true;
    case 'P':
    case 'C':
    case 'A':
    case 'B':
    case 'D':
    case 'E':
    case 'F': press.key = c; return true;
    case 'K':  // the whole-part mark of an expression fraction
      press.key = 'K';
      press.shift = SHIFT_SHIFT;
      return true;
    case '.': press.key = VK_OEM_PERIOD; return true;
    case '^': press.key = VK_OEM_7; return true;
    case ':': press.key = VK_OEM_1; return true;
    case '[': press.key = VK_OEM_4; return true;
    case ']': press.key = VK_OEM_6; return true;
    case '@': press.key = VK_OEM_3; return true;
    case '(':
      press.key = '8';
      press.shift = SHIFT_SHIFT;
      return true;
    case ')':
      press.key = '9';
      press.shift = SHIFT_SHIFT;
      return true;
    case '!':
      press.key = '1';
      press.shift = SHIFT_SHIFT;
      return true;
    case '<':
      press.key = VK_OEM_COMMA;
      press.shift = SHIFT_SHIFT;
      return true;
    case '>':
      press.key = VK_OEM_PERIOD;
      press.shift = SHIFT_SHIFT;
      return true;
    default: return false;
  }
}

bool ParseKeySequence(const std::string& text, std::vector<KeyPress>& presses, std::string& error) {
  presses.clear();
  error.clear();
  size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (c == '{' && i + 1 < text.size() && text[i + 1] == '{') {
      KeyPress p;
      p.source = "{{";
      // A brace has no key of its own on the calculation screen: it is offered as the key it sits on.
      p.key = VK_OEM_4;
      p.shift = SHIFT_SHIFT;
      presses.push_back(p);
      i += 2;
      continue;
    }
    if (c == '}' && i + 1 < text.size() && text[i + 1] == '}') {
      KeyPress p;
      p.source = "}}";
      p.key = VK_OEM_6;
      p.shift = SHIFT_SHIFT;
      presses.push_back(p);
      i += 2;
      continue;
    }
    if (c == '{') {
      size_t close = text.find('}', i + 1);
      if (close == std::string::npos) {
        error = "unclosed { at position " + std::to_string(i + 1);
        return false;
      }
      std::string inner = text.substr(i + 1, close - i - 1);
      KeyPress p;
      p.source = text.substr(i, close - i + 1);
      // Modifiers are the parts before the last "+" that name one; a key name may itself be "+".
      std::string rest = inner;
      while (true) {
        size_t plus = rest.find('+');
        if (plus == std::string::npos || plus == 0 || plus + 1 >= rest.size()) break;
        std::string mod = Lower(rest.substr(0, plus));
        if (mod == "shift")
          p.shift |= SHIFT_SHIFT;
        else if (mod == "ctrl" || mod == "control")
          p.shift |= SHIFT_CTRL;
        else if (mod == "alt")
          p.shift |= SHIFT_ALT;
        else
          break;
        rest = rest.substr(plus + 1);
      }
      p.key = VirtualKeyByName(rest);
      if (p.key < 0) {
        error = "unknown key name {" + inner + "} at position " + std::to_string(i + 1);
        return false;
      }
      presses.push_back(p);
      i = close + 1;
      continue;
    }
    KeyPress p;
    if (!KeyForChar(c, p)) {
      error = std::string("no key types '") + c + "' (position " + std::to_string(i + 1) + ")";
      return false;
    }
    presses.push_back(p);
    ++i;
  }
  return true;
}
