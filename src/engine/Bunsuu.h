// The exact number of the calculator: a signed fraction in 64-bit integers (sign, whole, den, num), its
// forms (mixed, improper, reduced) and the five arithmetic operations with their overflow checks. It knows
// nothing of expression texts: reading and writing numbers is Bunio.h, evaluation is BunMath.h.
#pragma once

#include <cstdint>

struct Bunsuu {
  int8_t sign = 0;  // 1 positive, -1 negative, 0 zero
  int64_t whole = 0;
  int64_t den = 0;  // 0 marks the error value
  int64_t num = 0;
  bool operator==(const Bunsuu&) const = default;
};

inline constexpr Bunsuu BUNSUU_ZERO{0, 0, 1, 0};
inline constexpr Bunsuu BUNSUU_ONE{1, 0, 1, 1};
inline constexpr Bunsuu BUNSUU_ERROR{0, 0, 0, 0};

// The bound of both overflow checks: 7 below the largest signed 64-bit value.
inline constexpr int64_t INT64_LIMIT = 9223372036854775800LL;

inline bool IsError(const Bunsuu& b) { return b.den == 0; }

// Integer routines (checked arithmetic).
int64_t Abs64(int64_t x);
int64_t Gcd64(int64_t a, int64_t b);
int64_t Lcm64(int64_t a, int64_t b);  // -1 when the product would overflow (after MulFits' message)
bool MulFits(int64_t a, int64_t b);  // messages "０でわった。" / "積の結果がint64の範囲を超えた。"
bool AddFits(int64_t a, int64_t b);  // message "和の結果がint64の範囲を超えた。"
int64_t Factorial64(int64_t n);  // -1 on overflow
bool IsTerminating(int64_t d);

// Record operations.
Bunsuu MakeBunsuu(int sign, int64_t whole, int64_t den, int64_t num);
Bunsuu ToMixed(const Bunsuu& a);
Bunsuu ToImproper(const Bunsuu& a);
Bunsuu Reduce(const Bunsuu& a);
Bunsuu Negate(const Bunsuu& a);
Bunsuu Reciprocal(const Bunsuu& a);
bool IsReducible(const Bunsuu& a);
int CompareMagnitude(const Bunsuu& a, const Bunsuu& b);
Bunsuu AddMagnitudes(const Bunsuu& a, const Bunsuu& b);
Bunsuu SubtractMagnitudes(const Bunsuu& a, const Bunsuu& b);
Bunsuu Add(const Bunsuu& a, const Bunsuu& b);
Bunsuu Subtract(const Bunsuu& a, const Bunsuu& b);
Bunsuu Multiply(const Bunsuu& a, const Bunsuu& b);
Bunsuu Divide(const Bunsuu& a, const Bunsuu& b);
Bunsuu Power(const Bunsuu& a, int32_t e);
