// Calls the reset of every window-free module, lowest layer first, so that a module's reset may rely on
// the modules below it being fresh already.
#include "tools/ProgramState.h"

#include "engine/BunMath.h"
#include "engine/Bunio.h"
#include "engine/Bunsuuh.h"
#include "engine/Buntakousiki.h"
#include "engine/Houtei1ji.h"
#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "notebook/NotePage.h"
#include "notebook/NoteRecovery.h"
#include "notebook/NoteSheet.h"
#include "notebook/NoteSteps.h"
#include "platform/Speech.h"
#include "process/CalcProcManage.h"
#include "screen/AnswerStore.h"
#include "screen/ReadAloud.h"
#include "screen/ScreenPage.h"
#include "screen/SettingsFile.h"
#include "screen/sikiInp.h"
#include "screen/sikiInpCommands.h"
#include "tools/BunSikiEdit.h"
#include "tools/Mokuhyou.h"
#include "tools/SplMsgBox.h"
#include "tools/kihonSet.h"
#include "tools/sikiEMemo.h"
#include "tools/xyDainyuu.h"
#include "typeset/bunCanvasDsp.h"

void ResetEngineState() {
  SpeechData.Reset();
  ResetSettings();
  ResetEngineWork();
}

void ResetEngineWork() {
  ResetBunio();
  ResetBunsuuh();
  ResetBunMath();
  ResetBuntakousiki();
  ResetHoutei1ji();
  ResetInpCheck();
}

void ResetProgramState() {
  ResetEngineState();
  ResetSettingsFile();
  ResetTypeset();
  ResetProcessState();
  ResetScreenWiring();
  ResetScreenPage();
  ResetSikiInp();
  ResetLineCommands();
  ReadAloudData.Reset();
  ResetNotePage();
  NoteRecovery.Reset();
  ResetNoteSheet();
  ResetNoteStepMarks();
  ResetKihonSet();
  ResetNoticeBox();
  ResetSikiEMemo();
  ResetXyDainyuu();
  ResetMokuhyou();
  ResetBunSikiEdit();
}
