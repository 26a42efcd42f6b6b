// Number theory for the special modes of the calculation screen: number bases, the factorisation text,
// the divisor list with its sum, and repeating decimals.
#include "engine/Buntakousiki.h"

#include <algorithm>

#include "engine/Bunsuu.h"
#include "platform/Platform.h"

BuntakousikiState BuntakousikiData;

void BuntakousikiState::Reset() { *this = BuntakousikiState{}; }

void ResetBuntakousiki() { BuntakousikiData.Reset(); }

namespace {

using u64 = uint64_t;
using u128 = unsigned __int128;

constexpr u64 INT64_MAX_U = static_cast<u64>(INT64_MAX);

// The value of one digit character in bases up to 16, or -1: only 0-9 and the capitals A-F are digits.
int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A text of decimal digits only (no sign, not empty) whose value is at most INT64_MAX.
bool ReadNonNegative(const std::string& text, u64& value) {
  if (text.empty()) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    u64 d = static_cast<u64>(c - '0');
    if (value > (INT64_MAX_U - d) / 10) return false;
    value = value * 10 + d;
  }
  return true;
}

std::string Decimal(u64 v) { return std::to_string(v); }

}  // namespace

std::string BaseToDecimal(const std::string& text, int64_t base) {
  if (base < 2 || base > 16 || text.empty()) return "n";
  u64 b = static_cast<u64>(base), value = 0;
  for (char c : text) {
    int d = DigitValue(c);
    if (d < 0 || static_cast<u64>(d) >= b) return "n";
    // A value past the signed 64-bit range is refused rather than wrapped.
    if (value > (INT64_MAX_U - static_cast<u64>(d)) / b) return "n";
    value = value * b + static_cast<u64>(d);
  }
  return Decimal(value);
}

std::string DecimalToBase(const std::string& text, int64_t base) {
  u64 value = 0;
  if (base < 2 || base > 16 || !ReadNonNegative(text, value)) return "n";
  static constexpr char DIGITS[] = "0123456789ABCDEF";
  u64 b = static_cast<u64>(base);
  std::string r;
  do {
    r.push_back(DIGITS[value % b]);
    value /= b;
  } while (value > 0);
  std::reverse(r.begin(), r.end());
  return r;
}

std::string ConvertBase(const std::string& text, int64_t from, int64_t to) {
  std::string d = BaseToDecimal(text, from);
  if (d == "n") return "n";
  return DecimalToBase(d, to);
}

std::string PrimeFactorisation(const std::string& text) {
  // An earlier divisor list belongs to an earlier number: it must not be drawn under this one.
  LastDivisorText.clear();
  DivisorCount = 0;
  u64 n = 0;
  if (!ReadNonNegative(text, n) || n == 0) {
    ShowMessage("▼素因数分解▼\n\n正の整数(２の63乗以下)を入力して下さい。", "お願い!!");
    LastFactorisation = "n";
    return "n";
  }
  std::vector<PrimePower> factors;
  if (!FactorPrimePowers(n, factors)) {
    LastFactorisation = "n";
    return "n";
  }
  std::string r;
  for (const PrimePower& f : factors) {
    if (!r.empty()) r += '*';
    r += Decimal(f.prime);
    if (f.exponent >= 2) r += '^' + std::to_string(f.exponent);
  }
  if (r.empty()) r = "1";
  LastFactorisation = r;
  return r;
}

namespace {

// Reads "p^e*q*…" into prime powers. Each factor is split again into primes, so a text such as 4*2 or
// 2*2 stands for the number it multiplies out to and no divisor is listed twice. false when a factor does
// not read; the number itself passing the signed 64-bit range shows the product message and gives false.
bool ReadFactorisation(const std::string& text, std::vector<PrimePower>& powers) {
  if (text.empty() || text.find_first_not_of("0123456789*^") != std::string::npos) return false;
  std::vector<PrimePower> all;
  u64 number = 1;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('*', start);
    if (end == std::string::npos) end = text.size();
    std::string factor = text.substr(start, end - start);
    size_t caret = factor.find('^');
    u64 p = 0, e = 1;
    if (caret == std::string::npos) {
      if (!ReadNonNegative(factor, p)) return false;
    } else {
      if (!ReadNonNegative(factor.substr(0, caret), p) || !ReadNonNegative(factor.substr(caret + 1), e))
        return false;
    }
    if (p == 0) return false;
    for (u64 i = 0; i < e && p > 1; ++i) {
      if (static_cast<u128>(number) * p > INT64_MAX_U) {
        MulFits(static_cast<int64_t>(number), static_cast<int64_t>(p));  // shows the product message
        return false;
      }
      number *= p;
    }
    if (p > 1 && e > 0) {
      std::vector<PrimePower> split;
      FactorPrimePowers(p, split, false);
      for (PrimePower& q : split) {
        q.exponent *= static_cast<int>(e);
        all.push_back(q);
      }
    }
    start = end + 1;
  }
  std::sort(all.begin(), all.end(),
            [](const PrimePower& a, const PrimePower& b) { return a.prime < b.prime; });
  powers.clear();
  for (const PrimePower& q : all) {
    if (!powers.empty() && powers.back().prime == q.prime)
      powers.back().exponent += q.exponent;
    else
      powers.push_back(q);
  }
  return true;
}

}  // namespace

std::string DivisorList(const std::string& factorisation, int all) {
  LastDivisorText.clear();
  DivisorCount = 0;
  std::vector<PrimePower> powers;
  if (!ReadFactorisation(factorisation, powers)) return "n";

  // Every divisor is a product of prime powers; each prime's powers multiply the list built so far, and
  // merging the sorted runs keeps the list sorted in time proportional to its length per prime.
  std::vector<u64> divisors{1};
  for (const PrimePower& pp : powers) {
    size_t base = divisors.size();
    std::vector<u64> next(divisors);
    u64 power = 1;
    for (int k = 1; k <= pp.exponent; ++k) {
      power *= pp.prime;
      std::vector<u64> run(base);
      for (size_t i = 0; i < base; ++i) run[i] = divisors[i] * power;
      std::vector<u64> merged(next.size() + run.size());
      std::merge(next.begin(), next.end(), run.begin(), run.end(), merged.begin());
      next.swap(merged);
    }
    divisors.swap(next);
  }
  // The number itself stands last; without it the list holds the proper divisors. 1 has only itself,
  // which stays listed either way.
  size_t listed = divisors.size();
  if (all == 0 && listed > 1) --listed;

  int64_t sum = 0;
  int perLine = DivisorsPerLine;
  std::string text = "   ";
  text.reserve(listed * 12 + 32);
  for (size_t i = 0; i < listed; ++i) {
    int64_t d = static_cast<int64_t>(divisors[i]);
    if (!AddFits(sum, d)) return "n";  // the sum passes the 64-bit limit; AddFits has said so
    sum += d;
    text += Decimal(divisors[i]);
    if (i + 1 == listed) break;  // no separator after the last divisor
    if (perLine > 0 && (i + 1) % static_cast<size_t>(perLine) == 0)
      text += "| +";
    else
      text += '+';
  }
  text += "|=";
  text += std::to_string(sum);
  DivisorCount = static_cast<int64_t>(listed);
  LastDivisorText = text;
  return text;
}

std::string RepeatingDecimalText(int64_t num, int64_t den) {
  if (num < 0 || den <= 0 || num >= den) return "n";
  if (num == 0) return "0";
  int64_t g = Gcd64(num, den);
  u64 n = static_cast<u64>(num / g), d = static_cast<u64>(den / g);

  // The digits before the period are as many as the larger power of 2 or 5 in the denominator; from
  // there on the remainders repeat with the period. The digits come from the exact long division.
  u64 rest = d;
  int twos = 0, fives = 0;
  while (rest % 2 == 0) rest /= 2, ++twos;
  while (rest % 5 == 0) rest /= 5, ++fives;
  int before = std::max(twos, fives);

  u64 r = n;
  auto nextDigit = [&]() {
    u128 t = static_cast<u128>(r) * 10;
    r = static_cast<u64>(t % d);
    return static_cast<char>('0' + static_cast<int>(t / d));
  };
  std::string text = "0.";
  for (int i = 0; i < before; ++i) text += nextDigit();
  if (rest == 1) return text;  // it terminates: r is 0 now

  const u64 periodStart = r;
  std::string period;
  for (;;) {
    period += nextDigit();
    if (r == periodStart) break;
    if (period.size() >= 18) {  // a period of 19 digits or more
      ShowMessage("循環幅が18ケタを超えるので、\n\n循環小数の表示ができません。\n\nしくしく･･･ (^_^)",
                  "Report!!");
      return "n";
    }
  }
  return text + "@" + period;
}
