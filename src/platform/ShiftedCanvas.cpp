// The shifted surface: offsets applied on the way to the target, the pen kept in the caller's
// coordinates, the reach of the drawing recorded.
#include "platform/ShiftedCanvas.h"

#include <algorithm>

namespace {

// x − d without overflow, for any offset.
int Minus(int x, int d) {
  const long long v = static_cast<long long>(x) - d;
  return static_cast<int>(std::clamp<long long>(v, INT_MIN / 2, INT_MAX / 2));
}

}  // namespace

void ShiftedCanvas::Reach(int x, int y) {
  right_ = std::max(right_, x);
  bottom_ = std::max(bottom_, y);
}

void ShiftedCanvas::TextOut(int x, int y, const std::string& text) {
  // Measuring costs as much as drawing on a real surface: a drawn text's width comes from the pen it
  // leaves, and the height is measured once per font.
  if (trackBottom_ && height_ < 0) height_ = target_.TextHeight("1");
  long long right;
  if (muted_) {
    right = static_cast<long long>(x) + target_.TextWidth(text);
  } else {
    target_.TextOut(Minus(x, dx_), Minus(y, dy_), text);
    right = static_cast<long long>(target_.PenPos().x) + dx_;
  }
  const int end = static_cast<int>(std::clamp<long long>(right, INT_MIN / 2, INT_MAX / 2));
  Reach(end, trackBottom_
                 ? static_cast<int>(std::min<long long>(static_cast<long long>(y) + height_, INT_MAX / 2))
                 : y);
  pen_ = {end, y};
}

void ShiftedCanvas::MoveTo(int x, int y) {
  target_.MoveTo(Minus(x, dx_), Minus(y, dy_));
  pen_ = {x, y};
}

void ShiftedCanvas::LineTo(int x, int y) {
  if (muted_)
    target_.MoveTo(Minus(x, dx_), Minus(y, dy_));
  else
    target_.LineTo(Minus(x, dx_), Minus(y, dy_));
  Reach(std::max(pen_.x, x), std::max(pen_.y, y));
  pen_ = {x, y};
}

void ShiftedCanvas::FillRect(const CanvasRect& r) {
  if (muted_) return;
  target_.FillRect({Minus(r.left, dx_), Minus(r.top, dy_), Minus(r.right, dx_), Minus(r.bottom, dy_)});
}
