// Reads a line of the calculation screen aloud in the Japanese a teacher would use ("3分の2 たす 1と4分の1
// は 12分の11"), walking the same tokens the typesetter draws, in two forms: a display form for the screen
// and screen readers, and a kana form that a speech synthesiser pronounces without guessing at kanji.
#pragma once

#include <string>
#include <string_view>

struct LineReading {
  std::string display;  // "2の3乗 は 8"
  std::string kana;  // "にのさんじょう は はち"
};

// The reading of one text: an expression as far as it is typed, a closed line with its answer forms,
// an equation or inequality with its solution after "&", a ratio, a factorisation, a divisor list, a
// remainder answer, or a process text (records ending in "~"). Any text is accepted; characters outside
// the notation are passed over. The whole text "n" reads as a failed calculation; an empty text reads as
// empty.
LineReading ReadLineAloud(std::string_view text);

// The kana of a run of decimal digits as a whole number ("3000" → "さんぜん", "600" → "ろっぴゃく");
// leading zeros are ignored, zero reads "れい", and a run too long for the units (more than 20 digits)
// is read digit by digit.
std::string NumberKana(std::string_view digits);
