// Zooming the calculation page by its font size, and the large-print minimum size.
#include "screen/Zoom.h"

#include <algorithm>
#include <iterator>

#include "engine/Settings.h"
#include "platform/VirtualKeys.h"
#include "screen/ScreenPage.h"
#include "screen/sikiInp.h"

namespace {

int ApplySize(int size) {
  if (OOMOJI) size = std::max(size, LargePrintMinimumSize(ScreenPixelsPerInch));
  FONTSIZE = std::clamp(size, ZOOM_SIZES[0], ZOOM_SIZES[std::size(ZOOM_SIZES) - 1]);
  if (ScreenSurface) PrepareScreenSurface(*ScreenSurface);
  ComputeLineOrigin();
  RepaintScreen();
  RefreshScreen();
  return FONTSIZE;
}

}  // namespace

int ZoomScreen(int steps) {
  const int n = static_cast<int>(std::size(ZOOM_SIZES));
  // The index of the largest listed size not above the current one.
  int at = 0;
  for (int i = 0; i < n; ++i)
    if (ZOOM_SIZES[i] <= FONTSIZE) at = i;
  if (steps < 0 && ZOOM_SIZES[at] < FONTSIZE) ++at;  // 15 steps down to 14, not to 12
  at = std::clamp(at + steps, 0, n - 1);
  return ApplySize(ZOOM_SIZES[at]);
}

int ZoomReset() { return ApplySize(ZOOM_DEFAULT_SIZE); }

bool ZoomKey(int key, int shift) {
  if (!(shift & SHIFT_CTRL) || (shift & SHIFT_ALT)) return false;
  const bool withShift = (shift & SHIFT_SHIFT) != 0;
  if (key == VK_OEM_PLUS || key == VK_ADD || (key == VK_OEM_MINUS && withShift)) {
    ZoomScreen(+1);
    return true;
  }
  if ((key == VK_OEM_MINUS && !withShift) || key == VK_SUBTRACT) {
    ZoomScreen(-1);
    return true;
  }
  if (key == '0' && !withShift) {
    ZoomReset();
    return true;
  }
  return false;
}

int LargePrintMinimumSize(int pixelsPerInch) {
  const int ppi = pixelsPerInch > 0 ? pixelsPerInch : 96;
  // The size whose six tenths (truncated, in points) reach 12 pixels.
  for (int size = 1; size < 200; ++size)
    if (size * 6 / 10 * ppi >= 12 * 72) return size;
  return 200;
}
