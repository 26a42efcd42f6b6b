// A drawing surface that passes every operation on to another one, moved by an offset or left out
// altogether, and remembers how far right and down its drawing reached: a page drawn through it can be
// scrolled sideways, measured before it is drawn, or drawn a part at a time.
#pragma once

#include <climits>

#include "platform/Canvas.h"

class ShiftedCanvas : public Canvas {
 public:
  // Drawing at (x, y) lands on target at (x − dx, y − dy); PenPos answers in the caller's coordinates.
  explicit ShiftedCanvas(Canvas& target, int dx = 0, int dy = 0) : target_(target), dx_(dx), dy_(dy) {}

  // While muted, text, lines and fills are measured but not drawn; attributes still reach the target,
  // so that measurement stays exact.
  void SetMuted(bool muted) { muted_ = muted; }
  bool Muted() const { return muted_; }
  void SetOffset(int dx, int dy) {
    dx_ = dx;
    dy_ = dy;
  }

  // The bottom edge is followed only when asked for (it costs a measurement per font).
  void SetTrackBottom(bool on) { trackBottom_ = on; }

  // The right and bottom edges of everything drawn or measured-as-drawn since the last ResetExtent, in
  // the caller's coordinates; INT_MIN before anything was drawn. Fills are left out (a background is
  // not content); without SetTrackBottom a text counts down to its top only.
  int Right() const { return right_; }
  int Bottom() const { return bottom_; }
  void ResetExtent() {
    right_ = INT_MIN;
    bottom_ = INT_MIN;
  }

  void TextOut(int x, int y, const std::string& text) override;
  int TextWidth(const std::string& text) override { return target_.TextWidth(text); }
  int TextHeight(const std::string& text) override { return target_.TextHeight(text); }
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  CanvasPoint PenPos() const override { return pen_; }
  void FillRect(const CanvasRect& r) override;

  void SetFontName(const std::string& name) override {
    target_.SetFontName(name);
    height_ = -1;
  }
  std::string FontName() const override { return target_.FontName(); }
  void SetFontSize(int points) override {
    target_.SetFontSize(points);
    height_ = -1;
  }
  int FontSize() const override { return target_.FontSize(); }
  void SetFontColor(Color c) override { target_.SetFontColor(c); }
  Color FontColor() const override { return target_.FontColor(); }
  void SetFontBold(bool bold) override {
    target_.SetFontBold(bold);
    height_ = -1;
  }
  bool FontBold() const override { return target_.FontBold(); }
  void SetFontPitch(FontPitch p) override {
    target_.SetFontPitch(p);
    height_ = -1;
  }
  FontPitch GetFontPitch() const override { return target_.GetFontPitch(); }
  void SetPenColor(Color c) override { target_.SetPenColor(c); }
  Color PenColor() const override { return target_.PenColor(); }
  void SetPenWidth(int w) override { target_.SetPenWidth(w); }
  int PenWidth() const override { return target_.PenWidth(); }
  void SetBrushColor(Color c) override { target_.SetBrushColor(c); }
  Color BrushColor() const override { return target_.BrushColor(); }
  int PixelsPerInch() const override { return target_.PixelsPerInch(); }

 private:
  void Reach(int x, int y);

  Canvas& target_;
  int dx_ = 0;
  int dy_ = 0;
  bool muted_ = false;
  CanvasPoint pen_;
  int right_ = INT_MIN;
  int bottom_ = INT_MIN;
  int height_ = -1;  // the current font's text height, measured once per font
  bool trackBottom_ = false;
};
