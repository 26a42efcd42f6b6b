// Runs calculations aside from what the screen shows: everything the checker, the evaluator, the solver,
// the number theory, the process and the process settings keep between calls is saved when a
// QuietCalculation starts and put back when it ends, and meanwhile every message goes to a quiet
// platform that records it. The step checker and the practice sheets compute through it.
#pragma once

#include <cstdint>
#include <string>

#include "engine/BunMath.h"
#include "engine/Bunio.h"
#include "engine/Bunsuu.h"
#include "engine/Bunsuuh.h"
#include "engine/Buntakousiki.h"
#include "engine/Houtei1ji.h"
#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "platform/Platform.h"
#include "process/CalcProcManage.h"
#include "typeset/bunCanvasDsp.h"

class QuietCalculation {
 public:
  QuietCalculation()
      : checker_(CheckerState),
        checked_(CheckedText),
        evalStatus_(EvalStatus),
        mixed_(AnswerValueMixed),
        improper_(AnswerValueImproper),
        mixedText_(AnswerMixedText),
        improperText_(AnswerImproperText),
        decimalText_(AnswerDecimalText),
        hasFraction_(AnswerHasFraction),
        lastResult_(LastResult),
        lastResultText_(LastResultText),
        afterEquals_(TextAfterEquals),
        afterAmpersand_(TextAfterAmpersand),
        found_(FoundText),
        foundChar_(FoundChar),
        terminates_(DecimalTerminates),
        hError_(BunsuuhError),
        solverMessage_(SolverMessage),
        relation_(RelationKind),
        solverLeft_(SolverLeft),
        solverRight_(SolverRight),
        solution_(SolutionText),
        perLine_(DivisorsPerLine),
        divisorCount_(DivisorCount),
        factorisation_(LastFactorisation),
        divisorText_(LastDivisorText),
        process_(ProcessState),
        hooks_(ProcessHooks),
        reduced_(ReducedText),
        reducedInteger_(ReducedIntegerText),
        procdsp_(PROCDSP),
        advice_(ADVICEDSP),
        teido_(PROCTEIDO),
        lastAns_(PROCLASTANS),
        anssyu_(ANSSYU),
        syoudsp_(SYOUDSP),
        omitMul_(KAKERU_ABR),
        wariType_(WARI_TYPE),
        wariPnt_(WARI_PNT),
        interruptible_(InterruptibleFactorisation),
        reduceOnConvert_(ReduceOnConvert) {
    ProcessHooks = ProcessScreenHooks{};
    previous_ = SetPlatform(&quiet_);
  }
  ~QuietCalculation() {
    SetPlatform(previous_);
    CheckerState = checker_;
    CheckedText = checked_;
    EvalStatus = evalStatus_;
    AnswerValueMixed = mixed_;
    AnswerValueImproper = improper_;
    AnswerMixedText = mixedText_;
    AnswerImproperText = improperText_;
    AnswerDecimalText = decimalText_;
    AnswerHasFraction = hasFraction_;
    LastResult = lastResult_;
    LastResultText = lastResultText_;
    TextAfterEquals = afterEquals_;
    TextAfterAmpersand = afterAmpersand_;
    FoundText = found_;
    FoundChar = foundChar_;
    DecimalTerminates = terminates_;
    BunsuuhError = hError_;
    SolverMessage = solverMessage_;
    RelationKind = relation_;
    SolverLeft = solverLeft_;
    SolverRight = solverRight_;
    SolutionText = solution_;
    DivisorsPerLine = perLine_;
    DivisorCount = divisorCount_;
    LastFactorisation = factorisation_;
    LastDivisorText = divisorText_;
    ProcessState = process_;
    ProcessHooks = hooks_;
    ReducedText = reduced_;
    ReducedIntegerText = reducedInteger_;
    PROCDSP = procdsp_;
    ADVICEDSP = advice_;
    PROCTEIDO = teido_;
    PROCLASTANS = lastAns_;
    ANSSYU = anssyu_;
    SYOUDSP = syoudsp_;
    KAKERU_ABR = omitMul_;
    WARI_TYPE = wariType_;
    WARI_PNT = wariPnt_;
    InterruptibleFactorisation = interruptible_;
    ReduceOnConvert = reduceOnConvert_;
  }
  QuietCalculation(const QuietCalculation&) = delete;
  QuietCalculation& operator=(const QuietCalculation&) = delete;

  // Whether anything was shown (a message, a notice or a beep) since the last call.
  bool Quiet() {
    const bool quiet = quiet_.log.empty();
    quiet_.log.clear();
    return quiet;
  }

 private:
  RecordingPlatform quiet_;
  Platform* previous_ = nullptr;
  InpCheckState checker_;
  std::string checked_;
  int evalStatus_;
  Bunsuu mixed_, improper_;
  std::string mixedText_, improperText_, decimalText_;
  bool hasFraction_;
  Bunsuu lastResult_;
  std::string lastResultText_, afterEquals_, afterAmpersand_, found_;
  char foundChar_;
  bool terminates_;
  int hError_;
  std::string solverMessage_;
  int relation_;
  std::string solverLeft_, solverRight_, solution_;
  int perLine_;
  int64_t divisorCount_;
  std::string factorisation_, divisorText_;
  ProcessStateData process_;
  ProcessScreenHooks hooks_;
  std::string reduced_, reducedInteger_;
  int procdsp_, advice_, teido_, lastAns_, anssyu_, syoudsp_, omitMul_, wariType_, wariPnt_, interruptible_,
      reduceOnConvert_;
};
