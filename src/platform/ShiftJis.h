// Text measured and stored the way the program's files and layout count it: Shift_JIS (CP932) bytes.
// Inside the program every text is UTF-8; conversion happens only at a file's boundary.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Bytes the text takes in CP932: ASCII and half-width katakana count 1, every other character 2.
// Invalid UTF-8 bytes count 1 each.
std::size_t SjisLength(std::string_view utf8);

// Number of characters (code points) of a UTF-8 text; invalid bytes count one each.
std::size_t Utf8Length(std::string_view utf8);

// Bytes of the character that starts the text: 1 for ASCII and for a byte that starts no whole UTF-8
// character, 0 for an empty text.
std::size_t Utf8CharLength(std::string_view utf8);

// The first n characters of a UTF-8 text (whole characters only).
std::string Utf8Left(std::string_view utf8, std::size_t n);

// The longest prefix whose CP932 length is at most maxBytes, never splitting a character.
std::string SjisLeft(std::string_view utf8, std::size_t maxBytes);

// Conversion between CP932 and UTF-8 through the program's own tables (platform/Cp932Table.h), which hold
// what glibc's "CP932" converter does. Returns false, leaving out untouched, when a sequence does not
// convert; badOffset (when given) receives the byte offset of the first bad sequence in the input.
bool Cp932ToUtf8(std::string_view cp932, std::string& out, std::size_t* badOffset = nullptr);
bool Utf8ToCp932(std::string_view utf8, std::string& out, std::size_t* badOffset = nullptr);
