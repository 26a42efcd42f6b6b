// Draws an expression fraction — a fraction whose denominator and numerator are whole expressions — over
// one bar, and writes the long form of a reduction ("[K6/2B4/2]"). Parsing and the value of an expression
// fraction are engine/Bunsuuh.h; the line around it is drawn by bunCanvasDsp.h.
#pragma once

#include <string>

#include "engine/Bunsuu.h"
#include "engine/Bunsuuh.h"
#include "platform/Canvas.h"
#include "typeset/bunCanvasDsp.h"

// Draws the fraction with its row's top-left corner at (x, y); parenthesise wraps a negative value in
// "(" ")", showPlus writes a red "＋" before a positive one. Sets BunsuuhError to 50 when the fraction
// cannot be drawn. Places CursorPos after the numerator. Returns the end x.
int TypesetExpressionFraction(Canvas& surface, const BunsuuH& fraction, int x, int y, int cw, int ch,
                              bool parenthesise, bool showPlus);

// The long form of a value: both parts divided by their gcd as an expression fraction, 4/6 giving
// "[K6/2B4/2]"; withValue 1 appends "=" and the written value. Sign 0 gives "0"; an integer its digits.
std::string LongFormText(const Bunsuu& value, int withValue);

// The last long form LongFormText built, parsed (BUNSUUH_EMPTY before the first).
inline auto& LastLongForm = TypesetData.LastLongForm;
