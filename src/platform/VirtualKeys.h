// The key codes the calculation screen's key handlers speak: Windows virtual-key codes and the modifier
// set {Shift, Alt, Ctrl}. The window layer maps its toolkit's key events onto these once; everything
// behind it (the line's key map, the batch tool's typed keys) is written in these terms only.
#pragma once

#include <string>

// Modifier bits of a key press.
inline constexpr int SHIFT_NONE = 0;
inline constexpr int SHIFT_SHIFT = 1;
inline constexpr int SHIFT_ALT = 2;
inline constexpr int SHIFT_CTRL = 4;

inline constexpr int VK_BACK = 0x08;
inline constexpr int VK_TAB = 0x09;
inline constexpr int VK_RETURN = 0x0D;
inline constexpr int VK_SHIFT = 0x10;
inline constexpr int VK_CONTROL = 0x11;
inline constexpr int VK_MENU = 0x12;  // Alt
inline constexpr int VK_ESCAPE = 0x1B;
inline constexpr int VK_SPACE = 0x20;
inline constexpr int VK_PRIOR = 0x21;  // Page Up
inline constexpr int VK_NEXT = 0x22;  // Page Down
inline constexpr int VK_END = 0x23;
inline constexpr int VK_HOME = 0x24;
inline constexpr int VK_LEFT = 0x25;
inline constexpr int VK_UP = 0x26;
inline constexpr int VK_RIGHT = 0x27;
inline constexpr int VK_DOWN = 0x28;
inline constexpr int VK_INSERT = 0x2D;
inline constexpr int VK_DELETE = 0x2E;
// '0'..'9' are 0x30..0x39 and 'A'..'Z' are 0x41..0x5A, as their ASCII codes.
inline constexpr int VK_NUMPAD0 = 0x60;
inline constexpr int VK_NUMPAD9 = 0x69;
inline constexpr int VK_MULTIPLY = 0x6A;
inline constexpr int VK_ADD = 0x6B;
inline constexpr int VK_SUBTRACT = 0x6D;
inline constexpr int VK_DECIMAL = 0x6E;
inline constexpr int VK_DIVIDE = 0x6F;
inline constexpr int VK_F1 = 0x70;
inline constexpr int VK_F2 = 0x71;
inline constexpr int VK_F3 = 0x72;
inline constexpr int VK_F4 = 0x73;
inline constexpr int VK_F5 = 0x74;
inline constexpr int VK_F6 = 0x75;
inline constexpr int VK_F7 = 0x76;
inline constexpr int VK_F8 = 0x77;
inline constexpr int VK_F9 = 0x78;
inline constexpr int VK_F10 = 0x79;
inline constexpr int VK_F11 = 0x7A;
inline constexpr int VK_F12 = 0x7B;
// Keys named by their legend on a Japanese keyboard.
inline constexpr int VK_OEM_1 = 0xBA;  // ':'
inline constexpr int VK_OEM_PLUS = 0xBB;  // ';'
inline constexpr int VK_OEM_COMMA = 0xBC;  // ','
inline constexpr int VK_OEM_MINUS = 0xBD;  // '-'
inline constexpr int VK_OEM_PERIOD = 0xBE;  // '.'
inline constexpr int VK_OEM_2 = 0xBF;  // '/'
inline constexpr int VK_OEM_3 = 0xC0;  // '@'
inline constexpr int VK_OEM_4 = 0xDB;  // '['
inline constexpr int VK_OEM_5 = 0xDC;  // '¥'
inline constexpr int VK_OEM_6 = 0xDD;  // ']'
inline constexpr int VK_OEM_7 = 0xDE;  // '^'
inline constexpr int VK_OEM_102 = 0xE2;  // '\' (the "ろ" key)

// The name of a key for the batch tool and for messages ("F5", "Back", "A", "Yen", …); "VK_0x.." for
// a code without a name.
std::string VirtualKeyName(int vk);
// The code of a key name (case-insensitive; "VK_" names and "0x.." codes are accepted too); -1 when
// the name is unknown.
int VirtualKeyByName(const std::string& name);
