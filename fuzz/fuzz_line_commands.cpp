// Types a text on the calculation line (each character offered as a key would offer it), then runs the
// line's commands on it — conversions, reduction, decimal to fraction, solving, factorisation, repeating
// decimals, number bases, the answer store — and paints the page with its process on a recording
// surface: nothing may crash, hang or read past a text.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzLine.h"
#include "engine/BunMath.h"
#include "engine/Bunio.h"
#include "engine/Bunsuuh.h"
#include "engine/Buntakousiki.h"
#include "engine/Houtei1ji.h"
#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "platform/Platform.h"
#include "platform/RecordingCanvas.h"
#include "process/CalcProcManage.h"
#include "screen/AnswerStore.h"
#include "screen/ScreenPage.h"
#include "screen/sikiInp.h"
#include "screen/sikiInpCommands.h"
#include "typeset/bunCanvasDsp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static RecordingPlatform platform;
  SetPlatform(&platform);
  platform.Clear();
  if (size < 2 || size > 300) return 0;
  StartFuzzLine();
  // The first byte chooses the switches, the second the commands to run.
  PROCDSP = data[0] & 1;
  ADVICEDSP = (data[0] >> 1) & 1;
  PROCTEIDO = (data[0] >> 2) & 1;
  EQUAL_KAIGYO = (data[0] >> 3) & 1;
  KAKERU_ABR = (data[0] >> 4) & 1;
  ANSSYU = (data[0] >> 5) % 3;
  WA_TYPE = (data[0] >> 7) & 1;
  const uint8_t commands = data[1];
  const std::string text(reinterpret_cast<const char*>(data) + 2, size - 2);
  const bool base = (commands & 0xC0) == 0xC0;

  if (base) {
    // Base mode takes the digits A–F and ">" without the checker.
    ToggleBaseMode();
    LineText = text;
    BaseConvert();
  } else {
    for (char c : text) InputChar(c);
    static const ScreenCommand order[] = {ScreenCommand::ToSyousuu,         ScreenCommand::ToMixed,
                                          ScreenCommand::ToImproper,        ScreenCommand::YakuProcDsp,
                                          ScreenCommand::DecimalToFraction, ScreenCommand::SolveLine,
                                          ScreenCommand::SoinsuuPre,        ScreenCommand::JunkanSyori};
    for (int i = 0; i < 8; ++i)
      if (commands & (1u << i)) RunScreenCommand(order[i]);
    CopyAnswer();
    if (RepeatingDecimalProcess(text).size() > 100000) std::abort();
  }
  RecordingCanvas canvas;
  PrepareScreenSurface(canvas);
  PaintPage(canvas, 500, 450);
  return 0;
}
