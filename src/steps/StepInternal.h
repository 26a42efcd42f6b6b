// Pieces shared by the step checker's source files; other modules use StepCheck.h.
#pragma once

#include <string>

#include "steps/StepExpr.h"

namespace steps {

// Index into KnownMistakes() of the first mistake that makes exactly cur out of prev, or -1. Both
// pieces have values and the values differ.
int FindMistake(const Piece& prev, const Piece& cur);

// True when cur (of the same value) is one taught step away from prev; false for several at once.
bool IsOneStep(const Piece& prev, const Piece& cur);

// The program's own next step from a piece, in the notation, or "" where there is none.
std::string ProgramNextStep(const Piece& prev, int finalForm);

}  // namespace steps
