// The browser's drawing surface: records every operation with its attributes, as RecordingCanvas does,
// but measures text with the page's bundled font through JavaScript; the page then draws the recorded
// list on an HTML canvas. Measuring can be switched to the fixed cell of RecordingCanvas, so the list can
// be compared with the desktop's record operation for operation.
#pragma once

#include <string>
#include <unordered_map>

#include "platform/RecordingCanvas.h"

class WebCanvas : public RecordingCanvas {
 public:
  int TextWidth(const std::string& text) override;
  int TextHeight(const std::string& text) override;
  void TextOut(int x, int y, const std::string& text) override;

  // True: the browser measures (the page); false: the fixed cell (the comparison with the desktop).
  bool browserMetrics = true;

  // The recorded operations, one per line, tab-separated, for the page's painter:
  //   T x y x2 y2 size bold fontColor brushColor text
  //   L x y x2 y2 penColor penWidth
  //   F x y x2 y2 brushColor
  // (moves are left out: they draw nothing).
  std::string Serialise() const;

  // The page's face has changed (it arrived after the page was first drawn in the device's face): every
  // surface measures its texts afresh.
  static void ForgetMeasurements();

 private:
  void DropStaleMeasurements();

  // Measurements are asked once per font and text; the layout asks for the same few texts again and again.
  std::unordered_map<std::string, int> widths_;
  std::unordered_map<int, int> heights_;
  unsigned measuredFace_ = 0;
};
