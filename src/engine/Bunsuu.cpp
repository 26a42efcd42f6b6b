// The record operations of the exact fraction: construction, proper and improper forms, reduction, and
// the arithmetic, each checking for 64-bit overflow before it returns a value.
#include <cstdint>
#include <limits>
#include <optional>

#include "engine/Bunsuu.h"
#include "platform/Platform.h"

namespace {

using Wide = __int128;

bool IsValidRecord(const Bunsuu& a) { return a.den > 0 && a.whole >= 0 && a.num >= 0; }

// The magnitude comparison without the overflow of a mixed-form conversion: whole + num div den and the
// remainders are compared in 128 bits, which holds every product of two 64-bit values. Returns nothing
// when an operand is the error value (after the message of ToMixed).
std::optional<int> CompareChecked(const Bunsuu& a, const Bunsuu& b) {
  if (a.sign == 0 && b.sign == 0) return 0;
  if (a.den == 0 || b.den == 0) {
    ToMixed(a.den == 0 ? a : b);  // shows the zero-denominator message
    return std::nullopt;
  }
  Wide wholeA = Wide{a.whole} + Wide{a.num} / a.den;
  Wide wholeB = Wide{b.whole} + Wide{b.num} / b.den;
  if (wholeA != wholeB) return wholeA > wholeB ? 1 : -1;
  Wide left = Wide{a.num} % a.den * b.den;
  Wide right = Wide{b.num} % b.den * a.den;
  if (left == right) return 0;
  return left > right ? 1 : -1;
}

// base^exponent when it stays within the signed 64-bit range, else nothing. Exact integer squaring.
std::optional<int64_t> IntegerPower(int64_t base, int64_t exponent) {
  if (base < 0) return std::nullopt;  // only magnitudes are raised
  const Wide max = std::numeric_limits<int64_t>::max();
  Wide result = 1;
  Wide square = base;
  bool squareFits = true;
  while (exponent > 0) {
    if (exponent & 1) {
      if (!squareFits) return std::nullopt;
      result *= square;
      if (result > max) return std::nullopt;
    }
    exponent >>= 1;
    if (exponent > 0) {
      if (!squareFits) return std::nullopt;
      square *= square;
      if (square > max) squareFits = false;
    }
  }
  return static_cast<int64_t>(result);
}

}  // namespace

Bunsuu MakeBunsuu(int sign, int64_t whole, int64_t den, int64_t num) {
  if (den <= 0 || whole < 0 || num < 0) return BUNSUU_ERROR;
  int8_t s = sign > 0 ? 1 : (sign < 0 ? -1 : 0);
  return Bunsuu{s, whole, den, num};
}

Bunsuu ToMixed(const Bunsuu& a) {
  if (a.den == 0) {
    ShowMessage("分母＝０ が発生。", "Debug");
    return BUNSUU_ERROR;
  }
  if (a.num == 0 || a.num < a.den) return a;
  int64_t r = a.num % a.den;
  int64_t carried = (a.num - r) / a.den;
  if (!AddFits(a.whole, carried)) return BUNSUU_ERROR;
  return MakeBunsuu(a.sign, a.whole + carried, a.den, r);
}

Bunsuu ToImproper(const Bunsuu& a) {
  if (a.whole == 0) return a;
  if (a.den == 0) return BUNSUU_ERROR;
  // whole × den + num is checked as the product and then the sum, each with its own message.
  if (!MulFits(a.den, a.whole)) return BUNSUU_ERROR;
  int64_t product = a.whole * a.den;
  if (!AddFits(product, a.num)) return BUNSUU_ERROR;
  return MakeBunsuu(a.sign, 0, a.den, product + a.num);
}

Bunsuu Reduce(const Bunsuu& a) {
  if (a.num == 0) return a;
  int64_t g = Gcd64(a.den, a.num);
  Bunsuu r = a;
  r.den /= g;
  r.num /= g;
  return r;
}

Bunsuu Negate(const Bunsuu& a) { return MakeBunsuu(-a.sign, a.whole, a.den, a.num); }

Bunsuu Reciprocal(const Bunsuu& a) {
  Bunsuu t = ToImproper(a);
  if (t.den == 0 || t.num == 0) return BUNSUU_ERROR;
  return MakeBunsuu(t.sign, 0, t.num, t.den);
}

bool IsReducible(const Bunsuu& a) {
  if (a.den == 0 || a.num == 0) return false;
  return Gcd64(a.den, a.num) > 1;
}

int CompareMagnitude(const Bunsuu& a, const Bunsuu& b) { return CompareChecked(a, b).value_or(0); }

Bunsuu AddMagnitudes(const Bunsuu& a, const Bunsuu& b) {
  if (a.sign == 0 && b.sign == 0) return BUNSUU_ZERO;
  if (!AddFits(a.whole, b.whole)) return BUNSUU_ERROR;
  int64_t whole = a.whole + b.whole;
  // The product of the denominators is checked although only their lcm is used: it bounds the lcm.
  if (!MulFits(a.den, b.den)) return BUNSUU_ERROR;
  int64_t lcm = Lcm64(a.den, b.den);
  if (lcm <= 0) return BUNSUU_ERROR;
  int64_t factorA = lcm / a.den;
  int64_t factorB = lcm / b.den;
  if (!MulFits(factorA, a.num) || !MulFits(factorB, b.num)) return BUNSUU_ERROR;
  int64_t numA = a.num * factorA;
  int64_t numB = b.num * factorB;
  if (!AddFits(numA, numB)) return BUNSUU_ERROR;
  return MakeBunsuu(1, whole, lcm, numA + numB);
}

Bunsuu SubtractMagnitudes(const Bunsuu& a0, const Bunsuu& b0) {
  if (a0.sign == 0 && b0.sign == 0) return BUNSUU_ZERO;
  Bunsuu a = ToMixed(a0);
  if (a.den == 0) return BUNSUU_ERROR;
  Bunsuu b = ToMixed(b0);
  if (b.den == 0) return BUNSUU_ERROR;
  if (!IsValidRecord(a) || !IsValidRecord(b)) return BUNSUU_ERROR;
  // Both operands are proper now, so |N| < D and the wholes differ by at most the 64-bit range.
  Wide dW = Wide{a.whole} - b.whole;
  if (!MulFits(a.den, b.den)) return BUNSUU_ERROR;
  int64_t d = a.den * b.den;
  Wide n = Wide{a.num} * b.den - Wide{b.num} * a.den;
  if (dW == 0 && n == 0) return BUNSUU_ZERO;
  Wide absW = dW < 0 ? -dW : dW;
  Wide absN = n < 0 ? -n : n;
  Bunsuu r;
  if (n == 0) {
    r = MakeBunsuu(1, static_cast<int64_t>(absW), 1, 0);
  } else if (dW == 0) {
    r = MakeBunsuu(1, 0, d, static_cast<int64_t>(absN));
  } else if ((dW > 0) == (n > 0)) {
    r = MakeBunsuu(1, static_cast<int64_t>(absW), d, static_cast<int64_t>(absN));
  } else {
    // Opposite signs borrow one whole.
    r = MakeBunsuu(1, static_cast<int64_t>(absW - 1), d, static_cast<int64_t>(d - absN));
  }
  return Reduce(r);
}

Bunsuu Add(const Bunsuu& a, const Bunsuu& b) {
  if (a.sign == 0 && b.sign == 0) {
    // Two zeros sum to zero, but an error operand stays an error.
    return (a.den == 0 || b.den == 0) ? BUNSUU_ERROR : BUNSUU_ZERO;
  }
  if (a.sign >= 0 && b.sign >= 0) return AddMagnitudes(a, b);
  if (a.sign < 0 && b.sign < 0) {
    Bunsuu r = AddMagnitudes(a, b);
    if (r.den != 0 && r.sign != 0) r.sign = -1;
    return r;
  }
  std::optional<int> c = CompareChecked(a, b);
  if (!c) return BUNSUU_ERROR;
  if (*c == 0) return BUNSUU_ZERO;
  Bunsuu r = SubtractMagnitudes(a, b);
  if (r.den != 0 && r.sign != 0) r.sign = *c > 0 ? a.sign : b.sign;
  return r;
}

Bunsuu Subtract(const Bunsuu& a, const Bunsuu& b) { return Add(a, Negate(b)); }

Bunsuu Multiply(const Bunsuu& a0, const Bunsuu& b0) {
  // An error operand (a zero divisor's reciprocal included) gives the error value, never a zero.
  if (a0.den == 0 || b0.den == 0) return BUNSUU_ERROR;
  if (a0.sign == 0 || b0.sign == 0) return BUNSUU_ZERO;
  Bunsuu a = Reduce(ToImproper(a0));
  Bunsuu b = Reduce(ToImproper(b0));
  if (a.den == 0 || b.den == 0) return BUNSUU_ERROR;
  // A positive zero (sign 1, numerator 0) multiplies to zero rather than tripping the zero check.
  if (a.num == 0 || b.num == 0) return BUNSUU_ZERO;
  if (!MulFits(a.den, b.den) || !MulFits(a.num, b.num)) return BUNSUU_ERROR;
  return Reduce(MakeBunsuu(a.sign * b.sign, 0, a.den * b.den, a.num * b.num));
}

Bunsuu Divide(const Bunsuu& a, const Bunsuu& b) { return Multiply(a, Reciprocal(b)); }

Bunsuu Power(const Bunsuu& a0, int32_t e) {
  if (a0.den == 0) return BUNSUU_ERROR;
  Bunsuu a = ToImproper(Reduce(a0));
  if (a.den == 0) return BUNSUU_ERROR;
  if (a.sign == 0) return e == 0 ? BUNSUU_ERROR : BUNSUU_ZERO;
  if (e == 0) return BUNSUU_ONE;
  int64_t l = e < 0 ? -int64_t{e} : int64_t{e};
  int sign = (a.sign == -1 && (l % 2) == 1) ? -1 : 1;
  std::optional<int64_t> d = IntegerPower(a.den, l);
  std::optional<int64_t> n = IntegerPower(a.num, l);
  if (!d || !n) return BUNSUU_ERROR;
  return e > 0 ? MakeBunsuu(sign, 0, *d, *n) : MakeBunsuu(sign, 0, *n, *d);
}
