// The browser's drawing surface: operations recorded for the page's painter, text measured by the page.
#include "web/WebCanvas.h"

#include <emscripten.h>

#include <algorithm>
#include <climits>
#include <cstdio>

// The page measures with its canvas context in the bundled face at the pixel size of the desktop's
// font (points at 96 pixels per inch, rounded to an even size), returning whole pixels.
EM_JS(int, kazoru_text_width, (int points, int bold, const char* text),
      { return Module.kazoruMeasure.width(points, bold, UTF8ToString(text)); });
EM_JS(int, kazoru_text_height, (int points), { return Module.kazoruMeasure.height(points); });

namespace {
// Which face the page measures with: counted up each time it changes.
unsigned PageFace = 0;
}  // namespace

void WebCanvas::ForgetMeasurements() { ++PageFace; }

void WebCanvas::DropStaleMeasurements() {
  if (measuredFace_ == PageFace) return;
  widths_.clear();
  heights_.clear();
  measuredFace_ = PageFace;
}

int WebCanvas::TextWidth(const std::string& text) {
  if (!browserMetrics) return RecordingCanvas::TextWidth(text);
  DropStaleMeasurements();
  // Bold text is measured as regular text and drawn on its cells, as on the desktop.
  std::string key = std::to_string(FontSize()) + '\t' + text;
  auto it = widths_.find(key);
  if (it != widths_.end()) return it->second;
  const int w = kazoru_text_width(FontSize(), 0, text.c_str());
  widths_.emplace(std::move(key), w);
  return w;
}

int WebCanvas::TextHeight(const std::string& text) {
  if (!browserMetrics) return RecordingCanvas::TextHeight(text);
  DropStaleMeasurements();
  auto it = heights_.find(FontSize());
  if (it != heights_.end()) return it->second;
  const int h = kazoru_text_height(FontSize());
  heights_.emplace(FontSize(), h);
  return h;
}

void WebCanvas::TextOut(int x, int y, const std::string& text) {
  RecordingCanvas::TextOut(x, y, text);
  if (browserMetrics) {
    const long long bottom = static_cast<long long>(y) + TextHeight(text);
    ops.back().y2 = static_cast<int>(std::clamp<long long>(bottom, INT_MIN, INT_MAX));
  }
}

std::string WebCanvas::Serialise() const {
  std::string out;
  out.reserve(ops.size() * 48);
  char buf[160];
  for (const CanvasOp& op : ops) {
    switch (op.kind) {
      case CanvasOp::Kind::Text:
        std::snprintf(buf, sizeof buf, "T\t%d\t%d\t%d\t%d\t%d\t%d\t%06x\t%06x\t", op.x, op.y, op.x2, op.y2,
                      op.fontSize, op.bold ? 1 : 0, static_cast<unsigned>(op.fontColor.rgb),
                      static_cast<unsigned>(op.brushColor.rgb));
        out += buf;
        out += op.text;
        out += '\n';
        break;
      case CanvasOp::Kind::Line:
        std::snprintf(buf, sizeof buf, "L\t%d\t%d\t%d\t%d\t%06x\t%d\n", op.x, op.y, op.x2, op.y2,
                      static_cast<unsigned>(op.penColor.rgb), op.penWidth);
        out += buf;
        break;
      case CanvasOp::Kind::Fill:
        std::snprintf(buf, sizeof buf, "F\t%d\t%d\t%d\t%d\t%06x\n", op.x, op.y, op.x2, op.y2,
                      static_cast<unsigned>(op.brushColor.rgb));
        out += buf;
        break;
      case CanvasOp::Kind::Move: break;
    }
  }
  return out;
}
