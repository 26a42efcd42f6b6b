// Full-width forms to half-width ones, byte by byte on UTF-8, never reading past the text's end.
#include "platform/HalfWidth.h"

std::string HalfWidthInput(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  const size_t n = utf8.size();
  for (size_t i = 0; i < n;) {
    const unsigned char b0 = static_cast<unsigned char>(utf8[i]);
    if (i + 2 < n) {
      const unsigned char b1 = static_cast<unsigned char>(utf8[i + 1]);
      const unsigned char b2 = static_cast<unsigned char>(utf8[i + 2]);
      // U+FF01–U+FF3F (EF BC 81–BF) and U+FF40–U+FF5E (EF BD 80–9E) are U+0021–U+007E moved up.
      if (b0 == 0xEF && b1 == 0xBC && b2 >= 0x81 && b2 <= 0xBF) {
        out += static_cast<char>(b2 - 0x81 + 0x21);
        i += 3;
        continue;
      }
      if (b0 == 0xEF && b1 == 0xBD && b2 >= 0x80 && b2 <= 0x9E) {
        out += static_cast<char>(b2 - 0x80 + 0x60);
        i += 3;
        continue;
      }
      if (b0 == 0xE3 && b1 == 0x80 && b2 == 0x80) {  // U+3000 ideographic space
        out += ' ';
        i += 3;
        continue;
      }
      if (b0 == 0xE2 && b1 == 0x88 && b2 == 0x92) {  // U+2212 minus sign
        out += '-';
        i += 3;
        continue;
      }
    }
    out += static_cast<char>(b0);
    ++i;
  }
  return out;
}
