// Number bases, prime factorisation, divisor lists and repeating decimals, as tables of cases; the fast
// factorisation is checked against plain trial division.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "engine/Bunsuu.h"
#include "engine/Buntakousiki.h"
#include "engine/Settings.h"
#include "support/TestSupport.h"

namespace {

const std::string FACTOR_REQUEST = "お願い!!: ▼素因数分解▼\n\n正の整数(２の63乗以下)を入力して下さい。";
const std::string PERIOD_TOO_LONG =
    "Report!!: 循環幅が18ケタを超えるので、\n\n循環小数の表示ができません。\n\nしくしく･･･ (^_^)";
const std::string SUM_OVERFLOW = "警告!: 和の結果がint64の範囲を超えた。";
const std::string PRODUCT_OVERFLOW = "警告!: 積の結果がint64の範囲を超えた。";

class Buntakousiki : public ::testing::Test {
 protected:
  std::vector<std::string> Shown() { return TestPlatform().ShownTexts(); }
};

// The factorisation the slow way, exactly as trial division with 2 and the odd candidates writes it.
std::string TrialDivisionText(uint64_t n) {
  std::string r;
  auto put = [&](uint64_t p, int e) {
    if (!r.empty()) r += '*';
    r += std::to_string(p);
    if (e >= 2) r += '^' + std::to_string(e);
  };
  for (uint64_t c = 2; c * c <= n; c += (c == 2 ? 1 : 2)) {
    int e = 0;
    while (n % c == 0) n /= c, ++e;
    if (e > 0) put(c, e);
  }
  if (n > 1) put(n, 1);
  return r.empty() ? "1" : r;
}

// Primality by Miller-Rabin with the first twelve primes as bases and plain 128-bit remainders: a
// second, independent implementation to judge the factors above the trial-division bound.
bool ReferencePrime(uint64_t n) {
  if (n < 2) return false;
  for (uint64_t p : {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37}) {
    if (n % p == 0) return n == p;
  }
  auto mulmod = [n](uint64_t a, uint64_t b) {
    return static_cast<uint64_t>(static_cast<unsigned __int128>(a) * b % n);
  };
  uint64_t d = n - 1;
  int s = 0;
  while (d % 2 == 0) d /= 2, ++s;
  for (uint64_t a : {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37}) {
    uint64_t x = 1, b = a, e = d;
    for (; e; e >>= 1, b = mulmod(b, b))
      if (e & 1) x = mulmod(x, b);
    if (x == 1 || x == n - 1) continue;
    bool composite = true;
    for (int i = 1; i < s && composite; ++i) {
      x = mulmod(x, x);
      if (x == n - 1) composite = false;
    }
    if (composite) return false;
  }
  return true;
}

}  // namespace

TEST_F(Buntakousiki, BaseConversions) {
  struct Case {
    std::string text;
    int64_t from, to;  // from 10: DecimalToBase; to 10: BaseToDecimal; else ConvertBase
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"FF", 16, 10, "255"},
      {"FFFFFFFF", 16, 10, "4294967295"},
      {"12", 2, 10, "n"},  // 2 is not a digit of base 2
      {"ff", 16, 10, "n"},  // lower-case letters are not digits
      {"0", 2, 10, "0"},
      {"1010", 2, 10, "10"},
      {"", 16, 10, "n"},
      {"1", 1, 10, "n"},
      {"1", 17, 10, "n"},
      {"G", 16, 10, "n"},
      {"7FFFFFFFFFFFFFFF", 16, 10, "9223372036854775807"},
      {"8000000000000000", 16, 10, "n"},  // past the signed 64-bit range: refused, not wrapped
      {"111111111111111111111111111111111111111111111111111111111111111", 2, 10, "9223372036854775807"},
      {"1111111111111111111111111111111111111111111111111111111111111111", 2, 10, "n"},
      {"255", 10, 16, "FF"},
      {"5", 10, 8, "5"},
      {"0", 10, 2, "0"},
      {"-1", 10, 2, "n"},
      {"255", 10, 2, "11111111"},
      {"9223372036854775807", 10, 16, "7FFFFFFFFFFFFFFF"},
      {"9223372036854775808", 10, 16, "n"},
      {"12a", 10, 16, "n"},
      {"10", 10, 1, "n"},
      {"", 10, 2, "n"},
      {"FF", 16, 2, "11111111"},
      {"777", 8, 16, "1FF"},
      {"12", 2, 16, "n"},
      {"Z", 16, 2, "n"},
      {"10", 16, 17, "n"},
  };
  for (const Case& c : cases) {
    std::string got = c.from == 10 && c.to != 10 ? DecimalToBase(c.text, c.to)
                      : c.to == 10               ? BaseToDecimal(c.text, c.from)
                                                 : ConvertBase(c.text, c.from, c.to);
    EXPECT_EQ(got, c.expected) << c.text << " from " << c.from << " to " << c.to;
  }
  EXPECT_TRUE(Shown().empty());
}

TEST_F(Buntakousiki, FactorisationTexts) {
  struct Case {
    std::string input, expected;
  };
  const std::vector<Case> cases = {
      {"12", "2^2*3"},
      {"97", "97"},
      {"1", "1"},
      {"2", "2"},
      {"4", "2^2"},
      {"1024", "2^10"},
      {"360", "2^3*3^2*5"},
      {"1000000000000000000", "2^18*5^18"},
      {"963761198400", "2^6*3^4*5^2*7*11*13*17*19*23"},
      {"9223372036854775807", "7^2*73*127*337*92737*649657"},
      {"9223372036854775783", "9223372036854775783"},  // the largest prime below 2^63
      {"4611686018427387847", "4611686018427387847"},
      {"4611686014132420609", "2147483647^2"},  // the square of a large prime
      {"9223371994482243049", "3037000493^2"},
      {"9223372030926249001", "13^2*233615423^2"},
      {"9223371873002223329", "3037000453*3037000493"},  // two factors of the same size
      {"9223372021822390277", "2147483647*4294967291"},
      {"6987710519913973297", "7*998244353*1000000007"},
      {"844463585427459", "3*65537^3"},
      {"4611686016279904256", "2^31*2147483647"},
      {"4611686018427387904", "2^62"},
      // Around the square of the trial-division bound.
      {"1052651", "1021*1031"},
      {"1062961", "1031^2"},
      {"1065023", "1031*1033"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PrimeFactorisation(c.input), c.expected) << c.input;
    EXPECT_EQ(LastFactorisation, c.expected);
  }
  EXPECT_TRUE(Shown().empty());
}

TEST_F(Buntakousiki, FactorisationRefusesWhatIsNotAPositive64BitInteger) {
  for (std::string bad : {"0", "", "-5", "m5", "12a", "1.5", "9223372036854775808", "18446744073709551557",
                          "99999999999999999999999", " 12"}) {
    TestPlatform().Clear();
    EXPECT_EQ(PrimeFactorisation(bad), "n") << bad;
    EXPECT_EQ(LastFactorisation, "n");
    EXPECT_EQ(Shown(), std::vector<std::string>{FACTOR_REQUEST}) << bad;
  }
}

TEST_F(Buntakousiki, FactorisationStopsWhenThePupilInterrupts) {
  // The switch is on at start: a request waiting at the first query stops the work.
  TestPlatform().interrupts = {true};
  EXPECT_EQ(PrimeFactorisation("9223372036854775783"), "n");
  EXPECT_EQ(LastFactorisation, "n");
  EXPECT_TRUE(Shown().empty());
  // A long split by rho asks again between its rounds.
  TestPlatform().interrupts = {false, true};
  EXPECT_EQ(PrimeFactorisation("8678545897898690543"), "n");
  // With the switch off nobody is asked.
  InterruptibleFactorisation = 0;
  TestPlatform().interrupts = {true, true};
  EXPECT_EQ(PrimeFactorisation("9223371873002223329"), "3037000453*3037000493");
  EXPECT_EQ(TestPlatform().interrupts.size(), 2u);
}

TEST_F(Buntakousiki, FactorisationAgreesWithTrialDivisionUpTo100000) {
  for (uint64_t n = 1; n <= 100000; ++n) {
    std::string want = TrialDivisionText(n);
    std::string got = PrimeFactorisation(std::to_string(n));
    if (got != want) {
      ADD_FAILURE() << n << ": got " << got << ", trial division gives " << want;
      break;
    }
  }
}

TEST_F(Buntakousiki, FactorisationOfRandom63BitNumbersIsExact) {
  // Trial division finds every factor below 2^16; what it leaves is the product of the fast method's
  // larger factors, each of which must be prime by an independent test.
  constexpr uint64_t BOUND = 1u << 16;
  std::mt19937_64 rng(20260406);
  std::vector<PrimePower> factors;
  for (int i = 0; i < 3000; ++i) {
    uint64_t n = rng() >> 1;
    if (i % 3 == 0) n |= uint64_t{1} << 62;
    ASSERT_TRUE(FactorPrimePowers(n, factors));
    uint64_t rest = n;
    std::vector<PrimePower> small;
    for (uint64_t c = 2; c < BOUND && c * c <= rest; ++c) {
      int e = 0;
      while (rest % c == 0) rest /= c, ++e;
      if (e > 0) small.push_back({c, e});
    }
    if (rest > 1 && rest < BOUND * BOUND) {
      small.push_back({rest, 1});
      rest = 1;
    }
    ASSERT_GE(factors.size(), small.size()) << n;
    unsigned __int128 product = 1;
    for (size_t k = 0; k < factors.size(); ++k) {
      if (k < small.size()) {
        EXPECT_EQ(factors[k].prime, small[k].prime) << n;
        EXPECT_EQ(factors[k].exponent, small[k].exponent) << n;
        continue;
      }
      EXPECT_GE(factors[k].prime, BOUND) << n;
      EXPECT_TRUE(ReferencePrime(factors[k].prime)) << n << ": " << factors[k].prime;
      if (k > 0) {
        EXPECT_LT(factors[k - 1].prime, factors[k].prime) << n;
      }
      for (int e = 0; e < factors[k].exponent; ++e) product *= factors[k].prime;
    }
    EXPECT_TRUE(product == rest) << n;
  }
}

TEST_F(Buntakousiki, NoSingle63BitNumberTakesLong) {
  // Primes just below 2^63, squares of large primes and two balanced factors are the slow cases of
  // trial division and of plain rho; each must stay far below what a pupil would notice.
  const std::vector<uint64_t> hard = {9223372036854775783ull, 9223371994482243049ull, 4611686014132420609ull,
                                      9223371873002223329ull, 9223372021822390277ull, 9223372036854775807ull};
  std::vector<PrimePower> factors;
  for (uint64_t n : hard) {
    auto t0 = std::chrono::steady_clock::now();
    ASSERT_TRUE(FactorPrimePowers(n, factors));
    auto us = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - t0);
    // Generous for a loaded or instrumented machine; the benchmark holds the real figures.
    EXPECT_LT(us.count(), 100000) << n;
  }
}

TEST_F(Buntakousiki, IsPrime64) {
  for (uint64_t n = 0; n < 20000; ++n) ASSERT_EQ(IsPrime64(n), ReferencePrime(n)) << n;
  EXPECT_TRUE(IsPrime64(18446744073709551557ull));
  EXPECT_FALSE(IsPrime64(18446744073709551615ull));
  EXPECT_FALSE(IsPrime64(3215031751ull));  // a strong pseudoprime to the bases 2, 3, 5 and 7
  EXPECT_FALSE(IsPrime64(3825123056546413051ull));  // strong pseudoprime to the first nine primes
}

TEST_F(Buntakousiki, DivisorLists) {
  struct Case {
    std::string factorisation;
    int all, perLine;
    std::string expected;
    int64_t count;
  };
  const std::vector<Case> cases = {
      {"2^2*3", 1, 10, "   1+2+3+4+6+12|=28", 6},
      {"2^2*3", 0, 10, "   1+2+3+4+6|=16", 5},
      {"2*3", 1, 100, "   1+2+3+6|=12", 4},
      {"2^2*3", 1, 2, "   1+2| +3+4| +6+12|=28", 6},
      {"2^2*3", 1, 3, "   1+2+3| +4+6+12|=28", 6},
      {"2^2*3", 0, 5, "   1+2+3+4+6|=16", 5},
      {"7", 1, 10, "   1+7|=8", 2},
      {"7", 0, 10, "   1|=1", 1},
      // 1 has one divisor, itself, which stays listed either way.
      {"1", 1, 10, "   1|=1", 1},
      {"1", 0, 10, "   1|=1", 1},
      // A text that names the same prime twice, or a composite factor, stands for its product.
      {"2*2", 1, 10, "   1+2+4|=7", 3},
      {"6", 1, 10, "   1+2+3+6|=12", 4},
      {"4*2", 1, 10, "   1+2+4+8|=15", 4},
      {"2^2*3^0", 1, 10, "   1+2+4|=7", 3},
      {"", 1, 10, "n", 0},
      {"2x3", 1, 10, "n", 0},
      {"2**3", 1, 10, "n", 0},
      {"2^", 1, 10, "n", 0},
      {"^2", 1, 10, "n", 0},
      {"0", 1, 10, "n", 0},
      {"2*0", 1, 10, "n", 0},
      {"2^m1", 1, 10, "n", 0},
  };
  for (const Case& c : cases) {
    DivisorsPerLine = c.perLine;
    std::string got = DivisorList(c.factorisation, c.all);
    EXPECT_EQ(got, c.expected) << c.factorisation << " all=" << c.all;
    EXPECT_EQ(DivisorCount, c.count) << c.factorisation;
    EXPECT_EQ(LastDivisorText, got == "n" ? "" : got);
  }
  EXPECT_TRUE(Shown().empty());
}

TEST_F(Buntakousiki, LongDivisorListIsSortedAndSummed) {
  // 963761198400 has 6720 divisors; the largest count below 2^63 is 103680.
  DivisorsPerLine = 10;
  std::string text = DivisorList(PrimeFactorisation("963761198400"), 1);
  EXPECT_EQ(DivisorCount, 6720);
  ASSERT_EQ(text.substr(0, 5), "   1+");
  // σ = (2^7-1)(3^5-1)/2 (5^3-1)/4 · 8·12·14·18·20·24
  EXPECT_EQ(text.substr(text.find("|=")),
            "|=" + std::to_string(127LL * 121 * 31 * 8 * 12 * 14 * 18 * 20 * 24));
  std::vector<int64_t> listed;
  size_t rows = 0;
  for (size_t i = 3; i < text.find("|=");) {
    size_t j = i;
    while (j < text.size() && text[j] >= '0' && text[j] <= '9') ++j;
    listed.push_back(std::stoll(text.substr(i, j - i)));
    if (text.compare(j, 3, "| +") == 0) {
      ++rows;
      j += 3;
    } else if (text[j] == '+') {
      ++j;
    }
    i = j;
  }
  ASSERT_EQ(listed.size(), 6720u);
  EXPECT_EQ(rows, 671u);
  for (size_t i = 1; i < listed.size(); ++i) ASSERT_LT(listed[i - 1], listed[i]);
  EXPECT_EQ(listed.back(), 963761198400);

  auto t0 = std::chrono::steady_clock::now();
  text = DivisorList(PrimeFactorisation("897612484786617600"), 1);
  EXPECT_EQ(DivisorCount, 103680);
  EXPECT_EQ(text.substr(text.find("|=")), "|=5785230588744499200");
  text = DivisorList("2^8*3^4*5^2*7^2*11*13*17*19*23*29*31*37", 0);
  EXPECT_EQ(DivisorCount, 103679);
  EXPECT_EQ(text.substr(text.find("|=")), "|=4887618103957881600");
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0);
  EXPECT_LT(ms.count(), 2000);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(Buntakousiki, DivisorSumPastTheLimitFails) {
  EXPECT_EQ(DivisorList("7^2*73*127*337*92737*649657", 1), "n");
  EXPECT_EQ(Shown(), std::vector<std::string>{SUM_OVERFLOW});
  EXPECT_EQ(LastDivisorText, "");
  TestPlatform().Clear();
  // A number past the signed 64-bit range has no divisor list.
  EXPECT_EQ(DivisorList("2^63", 1), "n");
  EXPECT_EQ(Shown(), std::vector<std::string>{PRODUCT_OVERFLOW});
  TestPlatform().Clear();
  EXPECT_EQ(DivisorList("2^99999999999999999999", 1), "n");
  EXPECT_EQ(DivisorList("3*3037000493^2", 1), "n");
  // The largest prime below 2^63 still lists: 1 and itself.
  TestPlatform().Clear();
  EXPECT_EQ(DivisorList("9223372036854775783", 0), "   1|=1");
}

TEST_F(Buntakousiki, FactorisationForgetsTheEarlierDivisorList) {
  DivisorList(PrimeFactorisation("12"), 1);
  EXPECT_FALSE(LastDivisorText.empty());
  PrimeFactorisation("13");
  EXPECT_EQ(LastDivisorText, "");
  EXPECT_EQ(DivisorCount, 0);
}

TEST_F(Buntakousiki, RepeatingDecimals) {
  struct Case {
    int64_t num, den;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {1, 7, "0.@142857"},
      {1, 8, "0.125"},
      {1, 6, "0.1@6"},
      {1, 3, "0.@3"},
      {2, 3, "0.@6"},
      {2, 4, "0.5"},
      {1, 12, "0.08@3"},
      {7, 12, "0.58@3"},
      {1, 11, "0.@09"},
      {1, 81, "0.@012345679"},
      // The digits come from the exact division, not from a rounded 18-decimal text.
      {10, 19, "0.@526315789473684210"},
      {1, 19, "0.@052631578947368421"},
      // Only the period counts against the 18-digit limit.
      {1, 38, "0.0@263157894736842105"},
      {1, 1024, "0.0009765625"},
      {1, 4611686018427387904, "0.00000000000000000021684043449710088680149056017398834228515625"},
      {1, 3 * 1024, "0.0003255208@3"},
      {0, 5, "0"},
      {5, 5, "n"},
      {6, 5, "n"},
      {-1, 3, "n"},
      {1, 0, "n"},
      {1, -3, "n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(RepeatingDecimalText(c.num, c.den), c.expected) << c.num << "/" << c.den;
  EXPECT_TRUE(Shown().empty());
}

TEST_F(Buntakousiki, PeriodsLongerThan18DigitsShowTheMessage) {
  for (auto [num, den] : std::vector<std::pair<int64_t, int64_t>>{
           {1, 97}, {1, 23}, {1, 9223372036854775783}, {9223372036854775782, 9223372036854775783}}) {
    TestPlatform().Clear();
    EXPECT_EQ(RepeatingDecimalText(num, den), "n") << num << "/" << den;
    EXPECT_EQ(Shown(), std::vector<std::string>{PERIOD_TOO_LONG});
  }
}
