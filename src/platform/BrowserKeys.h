// Keys a browser keeps for itself: a page in a tab never receives them (Ctrl+W closes the tab, Ctrl+T and
// Ctrl+N open a tab or a window, Ctrl+PageUp/PageDown and Ctrl+Tab go to another tab, Ctrl+Q quits). The
// browser edition gives every command whose desktop key is one of them a key the page can own; the key
// maps of the calculation line and of the notebook hold those keys beside the desktop's.
#pragma once

#include <vector>

#include "platform/VirtualKeys.h"

// One key press: a virtual-key code and its modifier bits (SHIFT_*).
struct KeyStroke {
  int vk = 0;
  int shift = SHIFT_NONE;
};

// The browser edition's own key (page) for a desktop key a browser keeps (desktop).
struct BrowserKey {
  KeyStroke desktop;
  KeyStroke page;
};

// Whether Chromium (on ChromeOS, Windows or Linux), Firefox or Safari on an iPad keyboard keeps the key
// for itself in a tab.
bool BrowserKeepsKey(int vk, int shift);

// The desktop key a browser edition's own key stands for in a table of BrowserKey; the key itself when it
// stands for no other.
KeyStroke DesktopKeyOf(const std::vector<BrowserKey>& keys, int vk, int shift);
