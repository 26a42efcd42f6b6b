// Turns a Qt key event into the Windows virtual-key code and modifier set that the calculation screen's
// key map speaks (platform/VirtualKeys.h). The mapping follows the character a key produces, placed on the
// key of a Japanese keyboard that produces it, so "(" is Shift+8 and ":" the unshifted colon key whatever
// the pupil's layout.
#pragma once

class QKeyEvent;

// False for keys the screen never handles alone (a lone Shift, Ctrl or Alt, and keys without a code).
bool QtKeyToVirtualKey(const QKeyEvent& event, int& vk, int& shift);
// The same from the raw parts of an event (tests).
bool QtKeyToVirtualKey(int qtKey, int qtModifiers, int& vk, int& shift);
