// The program's own CP932 tables (made from glibc's converter by scripts/gen-cp932-table.py), so that the
// desktop and the browser read and write Shift_JIS files byte for byte alike. ShiftJis.h converts with them.
#pragma once

#include <cstddef>
#include <cstdint>

// CP932_SINGLE[b]: the character of byte b alone, or one of these two marks.
inline constexpr uint16_t CP932_LEAD = 0xFFFE;  // the first byte of a two-byte character
inline constexpr uint16_t CP932_INVALID = 0xFFFF;  // never a character
extern const uint16_t CP932_SINGLE[256];

// The two-byte characters: lead bytes 0x81–0x9F and 0xE0–0xFC, trail bytes 0x40–0xFC; 0 where the pair
// is not a character. A trail byte outside that range never makes one.
inline constexpr int CP932_LEAD_COUNT = 60;
inline constexpr int CP932_TRAIL_FIRST = 0x40;
inline constexpr int CP932_TRAIL_COUNT = 0xFC - 0x40 + 1;
extern const uint16_t CP932_DOUBLE[CP932_LEAD_COUNT * CP932_TRAIL_COUNT];

// Unicode to CP932 for every character above ASCII that CP932 holds, sorted by code point: code is the one
// byte (below 0x100) or lead << 8 | trail. ASCII is written as itself.
struct Cp932Pair {
  uint16_t unicode;
  uint16_t code;
};
extern const Cp932Pair CP932_ENCODE[];
extern const std::size_t CP932_ENCODE_COUNT;
// Code points written as nothing at all (the language tags).
extern const char32_t CP932_IGNORED_FIRST;
extern const char32_t CP932_IGNORED_LAST;
