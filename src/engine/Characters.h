// Character classes of the notation, shared by every layer that reads notation text.
#pragma once

// A decimal digit: only "0" to "9" are digits of the notation.
constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }
