// Small helpers shared by the evaluator's source files (BunMath*.cpp); other modules use BunMath.h.
#pragma once

#include <cstddef>
#include <string>

#include "engine/Bunsuu.h"

namespace bunmath {

// Private stand-ins for the parentheses of a group that the bracket simplifier must pass over. They
// are never part of the notation, so a "<" or ">" of a relation in the text is never mistaken for one.
inline constexpr char MARK_OPEN = '\x01';
inline constexpr char MARK_CLOSE = '\x02';

inline size_t CountChar(const std::string& text, char c) {
  size_t n = 0;
  for (char x : text) n += x == c;
  return n;
}

// A value of magnitude 0 (3b0 reads as sign 1 with numerator 0) is the zero BUNSUU_ZERO, so that every
// operation treats it as zero; the error value stays the error value.
inline Bunsuu CanonicalZero(const Bunsuu& b) {
  if (b.den != 0 && (b.sign == 0 || (b.whole == 0 && b.num == 0))) return BUNSUU_ZERO;
  return b;
}

}  // namespace bunmath
