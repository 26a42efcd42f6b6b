// The expression fraction [sign whole K den B num], whose denominator and numerator are expressions: its
// four texts, reading and writing it, its value, and replacing every bracket of an expression text by its
// value. The values of the bracket's expressions come from the evaluator (BunMath.h).
#pragma once

#include <cstdint>
#include <string>

#include "engine/Bunsuu.h"

// sign "+1", "-1" or "0" ("m" is also written as a minus by FormatBunsuuh); whole the digits of a
// non-negative integer ("0" when none); den and num expression texts.
struct BunsuuH {
  std::string sign;
  std::string whole;
  std::string den;
  std::string num;
  bool operator==(const BunsuuH&) const = default;
};

// What every failed build returns.
extern const BunsuuH BUNSUUH_EMPTY;

// The error code of the last MakeBunsuuh (state records: tools/ProgramState.h).
struct BunsuuhState {
  int BunsuuhError = 0;

  void Reset();
};
extern BunsuuhState BunsuuhData;

// Why the last operation failed: 0 success; 1 the text is not bracketed; 3 the whole part is not an
// integer; 4 a part is missing; 8 a part is empty; 10 a "]" without a "["; 11 a bracket could not be
// computed; 12 a bracket's value could not be written; 50 the typesetter could not draw one.
inline auto& BunsuuhError = BunsuuhData.BunsuuhError;

// Resets BunsuuhError; tests and kazoru-cli call it first.
void ResetBunsuuh();

// BUNSUUH_EMPTY with BunsuuhError 8 when any text is empty.
BunsuuH MakeBunsuuh(const std::string& sign, const std::string& whole, const std::string& den,
                    const std::string& num);
// sign 1 becomes "+1", -1 becomes "-1", anything else "0".
BunsuuH MakeBunsuuhFromSign(int sign, const std::string& whole, const std::string& den,
                            const std::string& num);
BunsuuH ParseBunsuuh(const std::string& text);
// The value sign × (whole + num / den); BUNSUU_ERROR when it cannot be computed.
Bunsuu BunsuuhValue(const BunsuuH& h);
// ParseBunsuuh then BunsuuhValue; BUNSUU_ERROR when parsing failed or the denominator text is "0".
Bunsuu BunsuuhTextValue(const std::string& text);
std::string FormatBunsuuh(const BunsuuH& h);
// The sign the first character stands for: "0" 0; "+", "p", "P", "1" 1; "-", "m", "M" -1; else -2.
int SignOfText(const std::string& text);
// Replaces each bracket [ … ] of an expression text by its value (brackets holding x, y or z stay);
// "n" on failure.
std::string ReplaceExpressionFractions(const std::string& text);
