// What the typesetter's tests compare against: the recorded form of a text, a line and a bar as the
// recording surface describes them, on the row every test draws on; and the surface they draw on.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/Canvas.h"
#include "platform/RecordingCanvas.h"
#include "platform/ShiftJis.h"
#include "typeset/bunCanvasDsp.h"

namespace typeset_test {

// The row every test draws on: top-left (100, 100), cells 10 × 20. So the bar row is 110, the lower
// row top 113, the upper row top 87 and the raised top 98.
constexpr int X = 100, Y = 100, CW = 10, CH = 20;

inline std::string Hex(Color c) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%06x", static_cast<unsigned>(c.rgb));
  return buf;
}

// The recorded form of a text drawn at (x, y): width by its Shift_JIS bytes in cells of the size.
inline std::string T(int x, int y, const std::string& text, Color c, int size = 14, bool bold = false) {
  const int cw = std::max(1, 10 * size / 14), ch = std::max(1, 20 * size / 14);
  const int w = static_cast<int>(SjisLength(text)) * cw;
  std::string s = "text (" + std::to_string(x) + "," + std::to_string(y) + ")-(" + std::to_string(x + w) +
                  "," + std::to_string(y + ch) + ") \"" + text + "\" size " + std::to_string(size) +
                  " color " + Hex(c) + " brush fffbf0";
  if (bold) s += " bold";
  return s;
}

inline std::string L(int x1, int y1, int x2, int y2) {
  return "line (" + std::to_string(x1) + "," + std::to_string(y1) + ")-(" + std::to_string(x2) + "," +
         std::to_string(y2) + ") pen 008080 width 2";
}

// A bar is drawn there and back.
inline std::vector<std::string> Bar(int x, int y, int length) {
  return {L(x, y, x + length, y), L(x + length, y, x, y)};
}

inline std::vector<std::string> Ops(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// The screen's surface on a recording canvas: cream paper, a pen 2 pixels wide of the fixture's colour;
// a line is typeset on the test row.
class TypesetSurface : public ::testing::Test {
 protected:
  explicit TypesetSurface(Color pen) : pen_(pen) {}
  void SetUp() override {
    canvas.SetBrushColor(CLR_CREAM);
    canvas.SetPenColor(pen_);
    canvas.SetPenWidth(2);
  }
  int Line(const std::string& text) { return TypesetLine(canvas, text, X, Y, CW, CH); }
  std::vector<std::string> Drawn() const { return canvas.Describe(); }
  RecordingCanvas canvas;

 private:
  Color pen_;
};

}  // namespace typeset_test
