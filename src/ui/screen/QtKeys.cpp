// Qt key events to Windows virtual-key codes and the {Shift, Alt, Ctrl} set, mapped once for the screen,
// the input panel and every window that passes keys to the line.
#include "ui/screen/QtKeys.h"

#include <QKeyEvent>

#include "platform/VirtualKeys.h"

namespace {

struct CharKey {
  int qtKey;
  int vk;
  bool shifted;  // the character needs Shift on a Japanese keyboard
};

// Printable characters outside letters and digits, on the keys of a Japanese keyboard.
constexpr CharKey CHAR_KEYS[] = {
    {Qt::Key_Exclam, '1', true},
    {Qt::Key_QuoteDbl, '2', true},
    {Qt::Key_NumberSign, '3', true},
    {Qt::Key_Dollar, '4', true},
    {Qt::Key_Percent, '5', true},
    {Qt::Key_Ampersand, '6', true},
    {Qt::Key_Apostrophe, '7', true},
    {Qt::Key_ParenLeft, '8', true},
    {Qt::Key_ParenRight, '9', true},
    {Qt::Key_Minus, VK_OEM_MINUS, false},
    {Qt::Key_Equal, VK_OEM_MINUS, true},
    {Qt::Key_AsciiCircum, VK_OEM_7, false},
    {Qt::Key_AsciiTilde, VK_OEM_7, true},
    {Qt::Key_yen, VK_OEM_5, false},
    {Qt::Key_Bar, VK_OEM_5, true},
    {Qt::Key_Backslash, VK_OEM_5, false},
    {Qt::Key_At, VK_OEM_3, false},
    {Qt::Key_QuoteLeft, VK_OEM_3, true},
    {Qt::Key_BracketLeft, VK_OEM_4, false},
    {Qt::Key_BraceLeft, VK_OEM_4, true},
    {Qt::Key_BracketRight, VK_OEM_6, false},
    {Qt::Key_BraceRight, VK_OEM_6, true},
    {Qt::Key_Semicolon, VK_OEM_PLUS, false},
    {Qt::Key_Plus, VK_OEM_PLUS, true},
    {Qt::Key_Colon, VK_OEM_1, false},
    {Qt::Key_Asterisk, VK_OEM_1, true},
    {Qt::Key_Comma, VK_OEM_COMMA, false},
    {Qt::Key_Less, VK_OEM_COMMA, true},
    {Qt::Key_Period, VK_OEM_PERIOD, false},
    {Qt::Key_Greater, VK_OEM_PERIOD, true},
    {Qt::Key_Slash, VK_OEM_2, false},
    {Qt::Key_Question, VK_OEM_2, true},
    {Qt::Key_Underscore, VK_OEM_102, true},
};

struct PlainKey {
  int qtKey;
  int vk;
};

constexpr PlainKey PLAIN_KEYS[] = {
    {Qt::Key_Backspace, VK_BACK}, {Qt::Key_Tab, VK_TAB},       {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},  {Qt::Key_Enter, VK_RETURN},  {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Space, VK_SPACE},    {Qt::Key_PageUp, VK_PRIOR},  {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},        {Qt::Key_Home, VK_HOME},     {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},          {Qt::Key_Right, VK_RIGHT},   {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Insert, VK_INSERT},  {Qt::Key_Delete, VK_DELETE},
};

// Keys of the numeric keypad that have codes of their own.
bool KeypadKey(int qtKey, int& vk) {
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
    vk = VK_NUMPAD0 + (qtKey - Qt::Key_0);
    return true;
  }
  switch (qtKey) {
    case Qt::Key_Plus: vk = VK_ADD; return true;
    case Qt::Key_Minus: vk = VK_SUBTRACT; return true;
    case Qt::Key_Asterisk: vk = VK_MULTIPLY; return true;
    case Qt::Key_Slash: vk = VK_DIVIDE; return true;
    case Qt::Key_Period:
    case Qt::Key_Comma: vk = VK_DECIMAL; return true;
    case Qt::Key_Enter: vk = VK_RETURN; return true;
    default: return false;
  }
}

}  // namespace

bool QtKeyToVirtualKey(int qtKey, int qtModifiers, int& vk, int& shift) {
  vk = -1;
  shift = SHIFT_NONE;
  if (qtModifiers & Qt::AltModifier) shift |= SHIFT_ALT;
  if (qtModifiers & Qt::ControlModifier) shift |= SHIFT_CTRL;
  const bool shiftHeld = (qtModifiers & Qt::ShiftModifier) != 0;

  if (qtModifiers & Qt::KeypadModifier) {
    // With Num Lock off the keypad sends cursor keys; those are handled below as such.
    if (KeypadKey(qtKey, vk)) {
      if (shiftHeld) shift |= SHIFT_SHIFT;
      return true;
    }
  }
  if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) {
    vk = qtKey;  // Qt's codes of letters and digits are their ASCII codes, as are the virtual keys
    if (shiftHeld) shift |= SHIFT_SHIFT;
    return true;
  }
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) {
    vk = VK_F1 + (qtKey - Qt::Key_F1);
    if (shiftHeld) shift |= SHIFT_SHIFT;
    return true;
  }
  for (const auto& k : PLAIN_KEYS) {
    if (k.qtKey == qtKey) {
      vk = k.vk;
      if (shiftHeld) shift |= SHIFT_SHIFT;
      return true;
    }
  }
  for (const auto& k : CHAR_KEYS) {
    if (k.qtKey == qtKey) {
      // The character decides, not the Shift key of the pupil's layout: ":" is the colon key unshifted
      // even where the layout needs Shift for it.
      vk = k.vk;
      if (k.shifted) shift |= SHIFT_SHIFT;
      return true;
    }
  }
  return false;
}

bool QtKeyToVirtualKey(const QKeyEvent& event, int& vk, int& shift) {
  return QtKeyToVirtualKey(event.key(), static_cast<int>(event.modifiers()), vk, shift);
}
