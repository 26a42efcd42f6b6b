// The recording drawing surface: operations kept in order with their attributes, text measured in
// fixed cells.
#include "platform/RecordingCanvas.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "platform/ShiftJis.h"

namespace {

// size × base / 14, truncated, at least 1; computed wide so that an absurd size cannot overflow.
int ScaledCell(int size, int base) {
  long long v = static_cast<long long>(size) * base / 14;
  return static_cast<int>(std::clamp<long long>(v, 1, INT_MAX / 4));
}

std::string Hex(Color c) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%06x", static_cast<unsigned>(c.rgb & 0xFFFFFF));
  return buf;
}

std::string Pt(int x, int y) { return "(" + std::to_string(x) + "," + std::to_string(y) + ")"; }

}  // namespace

std::string CanvasOp::Describe() const {
  switch (kind) {
    case Kind::Text: {
      std::string s = "text " + Pt(x, y) + "-" + Pt(x2, y2) + " \"" + text + "\" size " +
                      std::to_string(fontSize) + " color " + Hex(fontColor) + " brush " + Hex(brushColor);
      if (bold) s += " bold";
      if (fontName != "ＭＳ ゴシック") s += " face " + fontName;
      return s;
    }
    case Kind::Line:
      return "line " + Pt(x, y) + "-" + Pt(x2, y2) + " pen " + Hex(penColor) + " width " +
             std::to_string(penWidth);
    case Kind::Fill: return "fill " + Pt(x, y) + "-" + Pt(x2, y2) + " brush " + Hex(brushColor);
    case Kind::Move: return "move " + Pt(x, y);
  }
  return {};
}

RecordingCanvas::RecordingCanvas() = default;

int RecordingCanvas::CellWidth() const { return ScaledCell(fontSize, 10); }
int RecordingCanvas::CellHeight() const { return ScaledCell(fontSize, 20); }

int RecordingCanvas::TextWidth(const std::string& text) {
  long long w = static_cast<long long>(SjisLength(text)) * CellWidth();
  return static_cast<int>(std::min<long long>(w, INT_MAX / 4));
}

int RecordingCanvas::TextHeight(const std::string&) { return CellHeight(); }

CanvasOp RecordingCanvas::Stamp(CanvasOp::Kind kind) const {
  CanvasOp op;
  op.kind = kind;
  op.fontName = fontName;
  op.fontSize = fontSize;
  op.fontColor = fontColor;
  op.bold = bold;
  op.pitch = pitch;
  op.penColor = penColor;
  op.penWidth = penWidth;
  op.brushColor = brushColor;
  return op;
}

void RecordingCanvas::TextOut(int x, int y, const std::string& text) {
  CanvasOp op = Stamp(CanvasOp::Kind::Text);
  int w = TextWidth(text);
  op.x = x;
  op.y = y;
  // Saturating adds: positions come from layout arithmetic that tests may push to the edges.
  op.x2 = static_cast<int>(std::clamp<long long>(static_cast<long long>(x) + w, INT_MIN, INT_MAX));
  op.y2 = static_cast<int>(std::clamp<long long>(static_cast<long long>(y) + CellHeight(), INT_MIN, INT_MAX));
  op.text = text;
  ops.push_back(op);
  penPos = {op.x2, y};
}

void RecordingCanvas::MoveTo(int x, int y) {
  CanvasOp op = Stamp(CanvasOp::Kind::Move);
  op.x = op.x2 = x;
  op.y = op.y2 = y;
  ops.push_back(op);
  penPos = {x, y};
}

void RecordingCanvas::LineTo(int x, int y) {
  CanvasOp op = Stamp(CanvasOp::Kind::Line);
  op.x = penPos.x;
  op.y = penPos.y;
  op.x2 = x;
  op.y2 = y;
  ops.push_back(op);
  penPos = {x, y};
}

void RecordingCanvas::FillRect(const CanvasRect& r) {
  CanvasOp op = Stamp(CanvasOp::Kind::Fill);
  op.x = r.left;
  op.y = r.top;
  op.x2 = r.right;
  op.y2 = r.bottom;
  ops.push_back(op);
}

std::vector<CanvasOp> RecordingCanvas::OpsOf(CanvasOp::Kind kind) const {
  std::vector<CanvasOp> out;
  for (const auto& op : ops)
    if (op.kind == kind) out.push_back(op);
  return out;
}

std::vector<std::string> RecordingCanvas::Texts() const {
  std::vector<std::string> out;
  for (const auto& op : ops)
    if (op.kind == CanvasOp::Kind::Text) out.push_back(op.text);
  return out;
}

std::vector<std::string> RecordingCanvas::Describe(bool withMoves) const {
  std::vector<std::string> out;
  for (const auto& op : ops)
    if (withMoves || op.kind != CanvasOp::Kind::Move) out.push_back(op.Describe());
  return out;
}
