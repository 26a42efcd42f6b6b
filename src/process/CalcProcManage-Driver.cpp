// The process driver: classifies an expression line, runs the pre-steps of its family, hands over to the
// step generators and stores the normalised process with its type in ProcessState.
#include "process/CalcProcManage.h"

#include "process/MainDspManage.h"

ProcessStateData ProcessState;
bool ReduceWhileConverting = true;
ProcessScreenHooks ProcessHooks;

void ClearProcessWorkingTexts() {
  ProcessStateData& s = ProcessState;
  s.multiplicationForm.clear();
  s.denominatorsDiffered = 0;
  s.differentDenominatorsSeen = false;
  s.separatedForm.clear();
  s.integerGroup.clear();
  s.fractionGroup.clear();
  s.integerValue.clear();
  s.expressionFraction.clear();
  s.combinedFraction.clear();
  s.groupValue.clear();
  s.reducedCount = 0;
  s.bracketCount = 0;
  s.zeroFactor = 0;
  s.divisionByZero = false;
  s.convertedForm.clear();
  s.reciprocalForm.clear();
  s.productFraction.clear();
  s.productResult.clear();
}

void ResetProcessState() {
  ProcessState = ProcessStateData{};
  ReduceWhileConverting = true;
}

void ToggleAlternativeMethod() {
  ProcessState.alternativeMethod = !ProcessState.alternativeMethod;
  if (ProcessHooks.remakeAfterToggle) ProcessHooks.remakeAfterToggle();
}
