// The pupil's own working on the calculation screen: Ctrl+G ends a step with "=" and checks the line as
// a chain, Ctrl+Shift+G shows the program's next step as a hint. The marks ○ and × beside each step, the
// advice under the line and the hint are drawn by the page after the line; the checking itself is
// steps/StepCheck.h.
#pragma once

#include <string>

#include "platform/Canvas.h"
#include "steps/StepCheck.h"

struct ScreenStepsData {
  std::string forLine;  // the line text the result belongs to; nothing is drawn for another line
  ChainResult result;
  bool hintShown = false;
  std::string hint;  // the program's next step from where the pupil is, "" where there is none
};
extern ScreenStepsData ScreenSteps;
void ResetScreenSteps();

// Ctrl+G: on an open line that does not end with "=", writes the step mark "=" (AppendStepMark); then
// checks the line (before its "&") as a chain and repaints. A line without a step yet only says so in the
// status line.
void CheckLineSteps();
// Ctrl+Shift+G: checks the line when it was not yet checked, then shows the hint under the advice.
void ShowStepHint();

// The mark of a step: "○" for ok and ok-jump, "×" for the others.
const char* StepMark(StepVerdict v);

// Draws the marks beside the steps of the current line, the advice rows under it and the hint, when the
// line is the one checked. Leaves the surface's font, pen and brush and the typesetter's line state as
// it found them. Returns the number of advice rows drawn.
int DrawLineSteps(Canvas& surface);
