// Ctrl+R and 読R: the current line's reading handed to the platform's voice, or the speech stopped.
#include "screen/ReadAloud.h"

#include "platform/Platform.h"
#include "process/CalcProcManage.h"
#include "screen/sikiInp.h"

ReadAloudState ReadAloudData;

void ReadAloudState::Reset() { *this = ReadAloudState{}; }

LineReading CurrentLineReading() {
  if (ProcessState.processType != ProcessType::None && !ProcessState.processText.empty())
    return ReadLineAloud(ProcessState.processText);
  return ReadLineAloud(LineText);
}

void ReadCurrentLineAloud() {
  Platform& p = CurrentPlatform();
  if (p.Speaking()) {
    p.StopSpeaking();
    return;
  }
  LineReading reading = CurrentLineReading();
  if (reading.kana.empty()) {
    SetStatusText(NOTHING_TO_READ_STATUS);
    return;
  }
  if (p.Speak(reading.kana)) return;
  SetStatusText(VOICE_MISSING_STATUS);
  if (!VoiceMissingTold) {
    VoiceMissingTold = true;
    ShowMessage(VOICE_MISSING_TEXT, "ご報告！");
  }
}
