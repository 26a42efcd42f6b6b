// Number theory on integers typed by the pupil: conversion between number bases 2 to 16, prime
// factorisation written as a product of powers, the list and sum of all divisors of a factorisation, and
// the repeating-decimal form of a proper fraction. Texts in, texts out; "n" is the failure text. Deciding
// when these run and what the screen shows around them is the calculation screen's business.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The number-theory functions' last results (state records: tools/ProgramState.h).
struct BuntakousikiState {
  int DivisorsPerLine = 10;
  int64_t DivisorCount = 0;
  std::string LastFactorisation;
  std::string LastDivisorText;

  void Reset();
};
extern BuntakousikiState BuntakousikiData;

// Results left for the screen. DivisorsPerLine is set by the screen (settings key 1GYOU_SUU) before
// DivisorList runs; after every DivisorsPerLine-th divisor the list carries a "|" line break.
inline auto& DivisorsPerLine = BuntakousikiData.DivisorsPerLine;
// the number of divisors the last DivisorList listed
inline auto& DivisorCount = BuntakousikiData.DivisorCount;
inline auto& LastFactorisation = BuntakousikiData.LastFactorisation;  // the last result of PrimeFactorisation
// the last result of DivisorList ("" until one succeeded)
inline auto& LastDivisorText = BuntakousikiData.LastDivisorText;

// Back to the state at start: DivisorsPerLine 10, the results empty.
void ResetBuntakousiki();

// The text in base 2..16 (digits 0-9 and capital A-F) as a decimal text. "n" when the base is outside
// 2..16, a character is not a digit below the base, the text is empty, or the value passes the signed
// 64-bit range.
std::string BaseToDecimal(const std::string& text, int64_t base);
// A non-negative signed 64-bit decimal integer written in base 2..16; "n" otherwise.
std::string DecimalToBase(const std::string& text, int64_t base);
// DecimalToBase(BaseToDecimal(text, from), to).
std::string ConvertBase(const std::string& text, int64_t from, int64_t to);

// The prime factors of a positive 64-bit integer as "2^3*3*5" (1 gives "1"). A text that is not a
// positive integer shows the request message and gives "n"; so does an interruption by the pupil while
// the interruptible switch is on. The result is also stored in LastFactorisation.
std::string PrimeFactorisation(const std::string& text);

// The divisors of the number a factorisation text stands for, ascending, as "   1+2+3+6|=12" (with a "| +"
// after every DivisorsPerLine-th one). all = 0 leaves the number itself out of the list and the sum.
// "n" for a text that does not read as a factorisation, or when the sum passes the 64-bit limit.
std::string DivisorList(const std::string& factorisation, int all);

// num/den (0 <= num < den) as a decimal with "@" before the repeating block: 1/6 gives 0.1@6. A period
// longer than 18 digits shows the period message and gives "n".
std::string RepeatingDecimalText(int64_t num, int64_t den);

// The factorisation itself, without texts: the prime factors of n >= 1 in ascending order with their
// exponents (1 gives none). Small primes are divided out first; what is left is tested with a
// deterministic Miller-Rabin test and split by Pollard-Brent rho. While the interruptible switch is on the
// pupil's interrupt request is polled between rounds (interruptible = false never asks); false when it
// stopped the work.
struct PrimePower {
  uint64_t prime = 0;
  int exponent = 0;
};
bool FactorPrimePowers(uint64_t n, std::vector<PrimePower>& out, bool interruptible = true);
// Deterministic primality of any 64-bit value.
bool IsPrime64(uint64_t n);
