// The constructs the evaluator replaces by their values before it computes: permutations n P r,
// combinations n C r and factorials n! or (group)!.
#include <string>

#include "engine/BunMath.h"
#include "engine/BunMathWork.h"
#include "engine/Bunio.h"
#include "engine/Characters.h"

using bunmath::CanonicalZero;
using bunmath::CountChar;
using bunmath::MARK_CLOSE;
using bunmath::MARK_OPEN;

namespace {

// Reads a digit run that passed FitsInt64Text.
int64_t DigitsValue(const std::string& digits) {
  int64_t v = 0;
  for (char c : digits) v = v * 10 + (c - '0');
  return v;
}

}  // namespace

int64_t Permutation64(int64_t n, int64_t r) {
  if (n < 0 || r < 0 || n < r) return -1;
  if (r == 0) return 1;
  // Every factor is at least 2 until the last, so an overflow stops the loop within 63 rounds.
  int64_t product = 1;
  for (int64_t k = n; k > n - r; --k) {
    if (!MulFits(product, k)) return -1;
    product *= k;
  }
  return product;
}

int64_t Combination64(int64_t n, int64_t r) {
  if (n < 0 || r < 0 || n < r) return -1;
  // nCr = nC(n-r): the shorter run of factors.
  if (r > n - r) r = n - r;
  // After step i the running value is (n-r+i) C i, which never exceeds the answer, so only an answer
  // that does not fit overflows. Each step multiplies by n-r+i and divides by i; the divisor is first
  // shared out between the running value and the new factor, so no product grows beyond the next value.
  int64_t value = 1;
  for (int64_t i = 1; i <= r; ++i) {
    int64_t factor = n - r + i;
    int64_t divisor = i;
    const int64_t g = Gcd64(value, divisor);
    value /= g;
    divisor /= g;
    // value × factor is divisible by divisor and value has no factor in common with it left.
    factor /= divisor;
    if (!MulFits(value, factor)) return -1;
    value *= factor;
  }
  return value;
}

std::string ReplacePermutations(const std::string& text) {
  std::string t = text;
  for (char letter : {'P', 'C'}) {
    for (size_t at = t.find(letter); at != std::string::npos; at = t.find(letter)) {
      size_t start = at;
      while (start > 0 && IsDigit(t[start - 1])) --start;
      size_t end = at + 1;
      while (end < t.size() && IsDigit(t[end])) ++end;
      if (start == at || end == at + 1) return "n";
      std::string nText = t.substr(start, at - start);
      std::string rText = t.substr(at + 1, end - at - 1);
      if (!FitsInt64Text(nText, 1) || !FitsInt64Text(rText, 1)) return "n";
      int64_t n = DigitsValue(nText);
      int64_t r = DigitsValue(rText);
      int64_t v = letter == 'P' ? Permutation64(n, r) : Combination64(n, r);
      if (v < 0) return "n";
      t.replace(start, end - start, std::to_string(v));
    }
  }
  return t;
}

std::string ReplaceFactorials(const std::string& text) {
  std::string t = text;
  for (size_t bang = t.find('!'); bang != std::string::npos; bang = t.find('!')) {
    if (bang == 0) return "n";
    size_t start = 0;
    int64_t n = 0;
    if (t[bang - 1] == ')') {
      // The group that the ")" closes; a group with groups inside is not taken.
      size_t close = bang - 1;
      size_t open = t.rfind('(', close);
      if (open == std::string::npos) return "n";
      std::string inner = t.substr(open + 1, close - open - 1);
      if (inner.find(')') != std::string::npos) return "n";
      // Only a non-negative integer has a factorial; the value is reduced first, so (3b6)! is 2!.
      Bunsuu v = EvaluateNested(inner);
      if (IsError(v)) return "n";
      v = CanonicalZero(Reduce(v));
      if (v.num != 0) v = ToMixed(v);
      if (IsError(v) || v.sign < 0 || v.num != 0) return "n";
      n = v.whole;
      start = open;
    } else {
      start = bang;
      while (start > 0 && IsDigit(t[start - 1])) --start;
      if (start == bang) return "n";
      // The digits of a fraction, a mixed number or a decimal are no integer of their own.
      if (start > 0) {
        char before = t[start - 1];
        if (before == 'b' || before == 'k' || before == '.' || before == '@') return "n";
      }
      std::string digits = t.substr(start, bang - start);
      if (!FitsInt64Text(digits, 1)) return "n";
      n = DigitsValue(digits);
    }
    int64_t f = Factorial64(n);
    if (f < 0) return "n";
    t.replace(start, bang + 1 - start, std::to_string(f));
  }
  return t;
}
