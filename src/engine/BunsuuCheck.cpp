// The checked 64-bit integer routines of the number model: absolute value, gcd, lcm, the two overflow
// checks that warn the pupil before an error value is returned, factorial, and the finite-decimal test.
#include <cstdint>
#include <limits>

#include "engine/Bunsuu.h"
#include "platform/Platform.h"

namespace {

const char* const WARNING_CAPTION = "警告!";

// |x| as an unsigned value, defined for every x including INT64_MIN.
uint64_t Magnitude(int64_t x) {
  return x < 0 ? uint64_t{0} - static_cast<uint64_t>(x) : static_cast<uint64_t>(x);
}

}  // namespace

int64_t Abs64(int64_t x) {
  // INT64_MIN has no positive counterpart; the largest value stands in for it, which every check
  // against INT64_LIMIT then rejects as too large.
  if (x == std::numeric_limits<int64_t>::min()) return std::numeric_limits<int64_t>::max();
  return x < 0 ? -x : x;
}

int64_t Gcd64(int64_t a, int64_t b) {
  uint64_t x = Magnitude(a);
  uint64_t y = Magnitude(b);
  // Every caller passes two non-zero values; gcd(0, 0) answers 1 so that a caller dividing by it
  // can never divide by zero.
  if (x == 0 && y == 0) return 1;
  while (y != 0) {
    uint64_t r = x % y;
    x = y;
    y = r;
  }
  // Only gcd(INT64_MIN, INT64_MIN) or gcd(INT64_MIN, 0) reach 2^63, far beyond every checked value.
  if (x > static_cast<uint64_t>(std::numeric_limits<int64_t>::max()))
    return std::numeric_limits<int64_t>::max();
  return static_cast<int64_t>(x);
}

int64_t Lcm64(int64_t a, int64_t b) {
  int64_t first = a / Gcd64(a, b);
  if (!MulFits(first, b)) return -1;
  return first * b;
}

bool MulFits(int64_t a, int64_t b) {
  // The first argument is a denominator at every call that matters, so a zero there is a division by 0.
  if (a == 0) {
    ShowMessage("０でわった。", WARNING_CAPTION);
    return false;
  }
  if (Abs64(b) <= INT64_LIMIT / Abs64(a)) return true;
  ShowMessage("積の結果がint64の範囲を超えた。", WARNING_CAPTION);
  return false;
}

bool AddFits(int64_t a, int64_t b) {
  // The magnitudes are summed whatever the signs, so the test holds for a difference too.
  if (Abs64(b) <= INT64_LIMIT - Abs64(a)) return true;
  ShowMessage("和の結果がint64の範囲を超えた。", WARNING_CAPTION);
  return false;
}

int64_t Factorial64(int64_t n) {
  if (n < 0) return -1;
  int64_t product = 1;
  for (int64_t k = n; k >= 2; --k) {
    if (!MulFits(product, k)) return -1;
    product *= k;
  }
  return product;
}

bool IsTerminating(int64_t d) {
  if (d <= 0) return false;
  while (d % 2 == 0) d /= 2;
  while (d % 5 == 0) d /= 5;
  return d == 1;
}
