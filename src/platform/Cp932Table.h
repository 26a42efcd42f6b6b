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

// Unicode to CP932: a character above ASCII is written as the first code that reads as it (single bytes,
// then lead << 8 | trail in byte order), leaving out the NEC-selected IBM extensions (lead bytes 0xED and
// 0xEE) where another code reads as it too; the characters no code reads as are listed here, sorted by
// code point. ASCII is written as itself. CP932_ENCODE_COUNT characters can be written in all.
struct Cp932Pair {
  uint16_t unicode;
  uint16_t code;
};
extern const Cp932Pair CP932_ONE_WAY[];
extern const std::size_t CP932_ONE_WAY_COUNT;
extern const std::size_t CP932_ENCODE_COUNT;
// Code points written as nothing at all (the language tags).
extern const char32_t CP932_IGNORED_FIRST;
extern const char32_t CP932_IGNORED_LAST;
