// Feeds arbitrary texts to the typesetter (a notebook file can hold any line): drawing must end, never
// read outside the text, and never overflow a position, whatever the text, layout and settings.
#include <cstdint>
#include <string>

#include "engine/Bunsuuh.h"
#include "engine/Settings.h"
#include "platform/Platform.h"
#include "platform/RecordingCanvas.h"
#include "tools/ProgramState.h"
#include "typeset/Tategakicanv.h"
#include "typeset/bunCanvasDsp.h"
#include "typeset/bunHCanvDsp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static RecordingPlatform platform;
  SetPlatform(&platform);
  platform.Clear();
  ResetProgramState();
  if (size < 2) return 0;
  // The first byte picks the settings and the layout, the rest is the text.
  const uint8_t mode = data[0];
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  EQUAL_KAIGYO = mode & 1;
  LinePitch = (mode >> 1) & 15;
  const int layout = static_cast<int>((mode >> 5) & 7) - 3;

  RecordingCanvas canvas;
  canvas.SetFontSize(1 + (mode % 40));
  TypesetLineAndAnswer(canvas, text, 40, 30, 10, 20, AnswerPlace::FromCode(layout), mode & 2);
  TypesetRun(canvas, text, 0, 0, -1, 10);
  CellCount(text);
  FractionCellCount(text);
  FindMark(text);
  DrawVerticalText(canvas, 13, 0, text, mode % 3, 100);
  const VerticalColumns columns = FitVerticalColumns(canvas, text, 30, 1 + mode, 80 + mode % 121);
  DrawVerticalColumns(canvas, 30, 0, text, columns, 80 + mode % 121);
  TypesetExpressionFraction(canvas, ParseBunsuuh("[" + text + "]"), 0, 0, 10, 20, mode & 4, mode & 8);
  return 0;
}
