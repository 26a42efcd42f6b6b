// Puts the line's conversion commands, special modes and answer store into the command table of the
// calculation line, and draws a closed line through the process display with its divisor rows.
#include "engine/BunMath.h"
#include "engine/Bunio.h"
#include "engine/Bunsuuh.h"
#include "engine/Buntakousiki.h"
#include "engine/Houtei1ji.h"
#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "process/CalcProcManage.h"
#include "process/MainDspManage-Draw.h"
#include "screen/AnswerStore.h"
#include "screen/ScreenPage.h"
#include "screen/sikiInp.h"
#include "screen/sikiInpCommands.h"
#include "typeset/bunCanvasDsp.h"

int DrawScreenLine(Canvas& surface, const std::string& lineText, bool withProcess) {
  LinePlace place{LineOrigin.x, LineOrigin.y, CharWidth, CharHeight};
  DrawCurrentLine(surface, lineText, withProcess, place);
  if (FactorisationShown && FactorisationLine == LineText) {
    // The rows stand under the row the line ended on (a line broken at "=" ends lower).
    const int rowY = LineOrigin.y + LinePitch * BreakCount * CharHeight / 2;
    ShowDivisorInfo(surface, LineOrigin.x, rowY, CharWidth, CharHeight);
  }
  return 1;
}

void LineCommandsState::Reset() { *this = LineCommandsState{}; }

void ResetLineCommands() {
  LineCommandsData.Reset();
  AnswerStoreData.Reset();
}

void ResetCalculationModules() {
  ResetBunMath();
  ResetBunio();
  ResetBunsuuh();
  ResetBuntakousiki();
  ResetHoutei1ji();
  ResetInpCheck();
  ResetProcessState();
  ResetTypeset();
}

void InstallLineCommands() {
  auto install = [](ScreenCommand c, void (*run)()) {
    SetScreenCommand(c, [run] {
      run();
      return true;
    });
  };
  install(ScreenCommand::ToSyousuu, toSyousuuButtonClick);
  install(ScreenCommand::ToMixed, Button19Click);
  install(ScreenCommand::ToImproper, Button18Click);
  install(ScreenCommand::YakuProcDsp, YakuProcDsp);
  install(ScreenCommand::DecimalToFraction, DecimalToFraction);
  install(ScreenCommand::SoinsuuPre, SoinsuuPre);
  install(ScreenCommand::JunkanSyori, JunkanSyori);
  install(ScreenCommand::ToggleBaseMode, ToggleBaseMode);
  install(ScreenCommand::CopyAnswer, CopyAnswer);
  install(ScreenCommand::PasteAnswer, PasteAnswer);
  install(ScreenCommand::ViewAnswer, ViewAnswer);
  SetScreenCommand(ScreenCommand::SolveLine, [] {
    SolveLine(LineText);
    return true;
  });
  SetScreenCommand(ScreenCommand::BaseConvert, [] {
    if (!BaseMode) return false;
    BaseConvert();
    return true;
  });
  DrawCurrentLineHook = DrawScreenLine;
}
