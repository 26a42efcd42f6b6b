// The keys browsers keep for themselves, and the lookup of a browser edition's own key.
#include "platform/BrowserKeys.h"

bool BrowserKeepsKey(int vk, int shift) {
  const bool ctrl = (shift & SHIFT_CTRL) != 0;
  const bool alt = (shift & SHIFT_ALT) != 0;
  if (alt && !ctrl && vk == VK_F4) return true;  // closes the window
  if (!ctrl || alt) return false;
  switch (vk) {
    case 'W':  // close the tab (with Shift: the window)
    case 'T':  // a new tab (with Shift: the tab closed last)
    case 'N':  // a new window (with Shift: a private one)
    case 'Q':  // quit (Firefox on Linux; with Shift: Chromium, and signing out on ChromeOS)
    case VK_TAB:  // the next tab (with Shift: the one before)
    case VK_PRIOR:  // the tab before
    case VK_NEXT:  // the next tab
    case VK_F4:  // close the tab
      return true;
    case 'P': return (shift & SHIFT_SHIFT) != 0;  // a private window (Firefox)
    default: return false;
  }
}

KeyStroke DesktopKeyOf(const std::vector<BrowserKey>& keys, int vk, int shift) {
  for (const BrowserKey& k : keys)
    if (k.page.vk == vk && k.page.shift == shift) return k.desktop;
  return {vk, shift};
}
