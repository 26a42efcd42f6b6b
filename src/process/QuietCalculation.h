// Runs calculations aside from what the screen shows: the whole records of the checker, the evaluator,
// the solver, the number theory, the process, the typesetter's working texts and the settings are saved
// when a QuietCalculation starts and put back when it ends, and meanwhile every message goes to a quiet
// platform that records it. The step checker and the practice sheets compute through it.
#pragma once

#include "engine/BunMath.h"
#include "engine/Bunio.h"
#include "engine/Bunsuu.h"
#include "engine/Bunsuuh.h"
#include "engine/Buntakousiki.h"
#include "engine/Houtei1ji.h"
#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "platform/Platform.h"
#include "platform/RecordSnapshot.h"
#include "process/CalcProcManage.h"
#include "typeset/bunCanvasDsp.h"

class QuietCalculation {
 public:
  QuietCalculation() {
    ProcessHooks = ProcessScreenHooks{};
    previous_ = SetPlatform(&quiet_);
  }
  ~QuietCalculation() { SetPlatform(previous_); }
  QuietCalculation(const QuietCalculation&) = delete;
  QuietCalculation& operator=(const QuietCalculation&) = delete;

  // Whether anything was shown (a message, a notice or a beep) since the last call.
  bool Quiet() {
    const bool quiet = quiet_.log.empty();
    quiet_.log.clear();
    return quiet;
  }

 private:
  // Made before the constructor clears the hooks, put back after the platform.
  RecordSnapshot<InpCheckState, BunMathState, BunioState, BunsuuhState, Houtei1jiState, BuntakousikiState,
                 ProcessStateData, ProcessScreenHooks, TypesetState, SettingsState>
      saved_{CheckerState,     BunMathData,  BunioData,    BunsuuhData, Houtei1jiData,
             BuntakousikiData, ProcessState, ProcessHooks, TypesetData, SettingsData};
  RecordingPlatform quiet_;
  Platform* previous_ = nullptr;
};
