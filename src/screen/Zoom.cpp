// Zooming the calculation page by its font size, and the large-print minimum size.
#include "screen/Zoom.h"

#include <algorithm>
#include <cmath>
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

int ZoomHomeSize = ZOOM_DEFAULT_SIZE;

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

int ZoomReset() { return ApplySize(ZoomHomeSize); }

int DeviceFontSize(int width, int height) {
  // A laptop's page (1024 × 768) holds the default size; the type grows with the page's height as long as
  // the width keeps 520 pixels for each default size's worth, so the lines do not break sooner.
  constexpr double LAPTOP_HEIGHT = 768, WIDTH_PER_SCALE = 520;
  const double scale = std::min(std::max(0, height) / LAPTOP_HEIGHT, std::max(0, width) / WIDTH_PER_SCALE);
  const double wanted = ZOOM_DEFAULT_SIZE * scale;
  int best = ZOOM_DEFAULT_SIZE;
  for (int size : ZOOM_SIZES)
    if (size >= ZOOM_DEFAULT_SIZE && std::abs(size - wanted) < std::abs(best - wanted)) best = size;
  return best;
}

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
