// Text typed with the Japanese input on: full-width digits, letters and signs (０–９, ａ–ｚ, ＋, ＝ …), the
// ideographic space and the minus sign are taken as their half-width forms, so that "２ｂ１＋３ｂ１" is the
// line "2b1+3b1". Every field of the program passes what the pupil types through here; every other
// character (kana, kanji, half-width katakana) and every byte that is not UTF-8 stays as it is.
#pragma once

#include <string>
#include <string_view>

std::string HalfWidthInput(std::string_view utf8);
