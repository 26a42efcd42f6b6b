// One reset over every window-free module: the state a freshly started program has before it reads its
// settings file. Tests, fuzz targets and each run of the batch tool start from it, so no state leaks from
// one run into the next. Each module still owns its own Reset…(); this only calls them all, in order.
//
// State records. A module's mutable state lives in one record, a struct in the module's header whose
// members start at the values of a freshly started program and whose Reset() puts them back:
//
//   struct BunMathState { int EvalStatus = 1; ...; void Reset(); };
//   extern BunMathState BunMathData;
//   inline auto& EvalStatus = BunMathData.EvalStatus;
//
// The members keep the names the rest of the code uses, and those names stay as references into the
// record (bound at compile time, so no order of start-up between files matters). The module's old
// Reset…() function forwards to the record's Reset(). Only constant tables, hooks a window installs and
// records of their own (such as ProcessState) are declared `extern` outside this pattern.
#pragma once

void ResetProgramState();

// The parts of ResetProgramState() that a run which calls into nothing above the engine can have changed
// (the engine is built without the upper layers, so it cannot reach their records); the batch tool resets
// only these between such runs.
// The engine's working records: all such a run changes when it only reads the settings (no engine code
// writes a setting).
void ResetEngineWork();
// The settings and the platform's speech record, then ResetEngineWork().
void ResetEngineState();
