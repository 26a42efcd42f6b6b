#include "engine/Bunsuu.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace {

const int64_t MAX64 = std::numeric_limits<int64_t>::max();
const int64_t MIN64 = std::numeric_limits<int64_t>::min();
const std::string PRODUCT_OVERFLOW = "警告!: 積の結果がint64の範囲を超えた。";
const std::string SUM_OVERFLOW = "警告!: 和の結果がint64の範囲を超えた。";
const std::string DIVIDED_BY_ZERO = "警告!: ０でわった。";
const std::string ZERO_DENOMINATOR = "Debug: 分母＝０ が発生。";

std::vector<std::string> Shown() { return TestPlatform().ShownTexts(); }
std::vector<std::string> None() { return {}; }
std::vector<std::string> One(const std::string& s) { return {s}; }

std::string Show(const Bunsuu& b) {
  return "(" + std::to_string(b.sign) + ", " + std::to_string(b.whole) + ", " + std::to_string(b.den) + ", " +
         std::to_string(b.num) + ")";
}

}  // namespace

TEST(Bunsuu, MulFitsStopsAtTheLimitAndWarns) {
  struct Case {
    int64_t a, b;
    bool fits;
    std::vector<std::string> messages;
  } cases[] = {
      {3037000499, 3037000499, true, None()},
      {4294967296, 4294967296, false, One(PRODUCT_OVERFLOW)},
      {1, INT64_LIMIT, true, None()},
      {1, INT64_LIMIT + 1, false, One(PRODUCT_OVERFLOW)},
      {-2, INT64_LIMIT / 2, true, None()},
      {-2, -(INT64_LIMIT / 2 + 1), false, One(PRODUCT_OVERFLOW)},
      {MIN64, 1, false, One(PRODUCT_OVERFLOW)},
      {1, MIN64, false, One(PRODUCT_OVERFLOW)},
      {5, 0, true, None()},
      {0, 5, false, One(DIVIDED_BY_ZERO)},
  };
  for (const auto& c : cases) {
    TestPlatform().Clear();
    EXPECT_EQ(MulFits(c.a, c.b), c.fits) << c.a << " * " << c.b;
    EXPECT_EQ(Shown(), c.messages) << c.a << " * " << c.b;
  }
}

TEST(Bunsuu, AddFitsTestsTheSumOfMagnitudes) {
  struct Case {
    int64_t a, b;
    bool fits;
  } cases[] = {
      {INT64_LIMIT, 0, true},
      {INT64_LIMIT, 1, false},
      {0, INT64_LIMIT, true},
      {1, INT64_LIMIT, false},
      {-INT64_LIMIT, 0, true},
      {-5, INT64_LIMIT - 5, true},
      {-5, INT64_LIMIT - 4, false},
      {MAX64, 0, false},
      {MIN64, 0, false},
      {0, MIN64, false},
  };
  for (const auto& c : cases) {
    TestPlatform().Clear();
    EXPECT_EQ(AddFits(c.a, c.b), c.fits) << c.a << " + " << c.b;
    EXPECT_EQ(Shown(), c.fits ? None() : One(SUM_OVERFLOW)) << c.a << " + " << c.b;
  }
}

TEST(Bunsuu, IntegerRoutines) {
  EXPECT_EQ(Abs64(-5), 5);
  EXPECT_EQ(Abs64(MIN64), MAX64);  // no negation of INT64_MIN
  EXPECT_EQ(Gcd64(12, 18), 6);
  EXPECT_EQ(Gcd64(-12, 18), 6);
  EXPECT_EQ(Gcd64(18, -12), 6);
  EXPECT_EQ(Gcd64(17, 5), 1);
  EXPECT_EQ(Gcd64(7, 0), 7);
  EXPECT_EQ(Gcd64(0, 0), 1);
  EXPECT_EQ(Gcd64(MIN64, 6), 2);
  EXPECT_EQ(Lcm64(4, 6), 12);
  EXPECT_EQ(Lcm64(3037000499, 3037000499), 3037000499);
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(Lcm64(4294967296, 4294967295), -1);
  EXPECT_EQ(Shown(), One(PRODUCT_OVERFLOW));
}

TEST(Bunsuu, FactorialFitsUpToTwenty) {
  EXPECT_EQ(Factorial64(0), 1);
  EXPECT_EQ(Factorial64(1), 1);
  EXPECT_EQ(Factorial64(5), 120);
  EXPECT_EQ(Factorial64(20), 2432902008176640000);
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(Factorial64(21), -1);
  EXPECT_EQ(Shown(), One(PRODUCT_OVERFLOW));
  TestPlatform().Clear();
  EXPECT_EQ(Factorial64(MAX64), -1);  // stops at the first overflowing step
  EXPECT_EQ(Shown(), One(PRODUCT_OVERFLOW));
}

TEST(Bunsuu, IsTerminatingAcceptsOnlyTwosAndFives) {
  struct Case {
    int64_t d;
    bool terminating;
  } cases[] = {{40, true}, {12, false},           {1, true},
               {0, false}, {-8, false},           {1000000000000000000, true},
               {3, false}, {7629394531250, true}, {MAX64, false}};
  for (const auto& c : cases) EXPECT_EQ(IsTerminating(c.d), c.terminating) << c.d;
}

TEST(Bunsuu, MakeBunsuuRejectsInvalidRecords) {
  EXPECT_EQ(MakeBunsuu(1, 0, 0, 5), BUNSUU_ERROR);
  EXPECT_EQ(MakeBunsuu(1, -1, 3, 1), BUNSUU_ERROR);
  EXPECT_EQ(MakeBunsuu(1, 0, 3, -1), BUNSUU_ERROR);
  EXPECT_EQ(MakeBunsuu(1, 0, -3, 1), BUNSUU_ERROR);
  EXPECT_EQ(MakeBunsuu(-1, 2, 3, 1), (Bunsuu{-1, 2, 3, 1}));
}

TEST(Bunsuu, FormConversions) {
  struct Case {
    const char* what;
    Bunsuu got, expected;
  } cases[] = {
      {"mixed of 7/3", ToMixed({1, 0, 3, 7}), {1, 2, 3, 1}},
      {"mixed of 6/3", ToMixed({-1, 1, 3, 6}), {-1, 3, 3, 0}},
      {"mixed of proper", ToMixed({1, 1, 3, 2}), {1, 1, 3, 2}},
      {"improper of 2 1/3", ToImproper({-1, 2, 3, 1}), {-1, 0, 3, 7}},
      {"improper of 5/1", ToImproper({1, 0, 1, 5}), {1, 0, 1, 5}},
      {"reduce 6/4", Reduce({1, 1, 4, 6}), {1, 1, 2, 3}},
      {"reduce keeps zero numerator", Reduce({1, 3, 4, 0}), {1, 3, 4, 0}},
      {"negate", Negate({1, 1, 2, 1}), {-1, 1, 2, 1}},
      {"negate error", Negate(BUNSUU_ERROR), BUNSUU_ERROR},
      {"reciprocal of 1 1/2", Reciprocal({-1, 1, 2, 1}), {-1, 0, 3, 2}},
      {"reciprocal of zero", Reciprocal(BUNSUU_ZERO), BUNSUU_ERROR},
      {"reciprocal of error", Reciprocal({1, 0, 0, 5}), BUNSUU_ERROR},
  };
  for (const auto& c : cases) EXPECT_EQ(c.got, c.expected) << c.what << ": " << Show(c.got);
  EXPECT_TRUE(Shown().empty());
  EXPECT_TRUE(IsReducible({1, 0, 4, 2}));
  EXPECT_FALSE(IsReducible({1, 0, 3, 2}));
  EXPECT_FALSE(IsReducible({1, 2, 3, 0}));
  EXPECT_FALSE(IsReducible(BUNSUU_ERROR));
}

TEST(Bunsuu, ConversionsThatWouldWrapAreErrorsWithTheirMessage) {
  struct Case {
    const char* what;
    Bunsuu got;
    std::string message;
  } cases[] = {
      {"whole times den", ToImproper({1, INT64_LIMIT / 2 + 1, 2, 1}), PRODUCT_OVERFLOW},
      {"product plus num", ToImproper({1, INT64_LIMIT / 2, 2, 1}), SUM_OVERFLOW},
      {"carry into whole", ToMixed({1, INT64_LIMIT, 1, 5}), SUM_OVERFLOW},
      {"mixed of error", ToMixed(BUNSUU_ERROR), ZERO_DENOMINATOR},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.got, BUNSUU_ERROR) << c.what;
  }
  EXPECT_EQ(Shown(),
            (std::vector<std::string>{PRODUCT_OVERFLOW, SUM_OVERFLOW, SUM_OVERFLOW, ZERO_DENOMINATOR}));
  // The largest exact improper form still converts.
  EXPECT_EQ(ToImproper({1, INT64_LIMIT / 2, 2, 0}), (Bunsuu{1, 0, 2, INT64_LIMIT}));
}

TEST(Bunsuu, ArithmeticCases) {
  const Bunsuu half{1, 0, 2, 1};
  struct Case {
    const char* what;
    Bunsuu got, expected;
  } cases[] = {
      {"1/2 + 1/2 is neither carried nor reduced", Add(half, half), {1, 0, 2, 2}},
      {"1 1/2 + (-3 1/3) borrows", Add({1, 1, 2, 1}, {-1, 3, 3, 1}), {-1, 1, 6, 5}},
      {"-1/2 + -1/3", Add({-1, 0, 2, 1}, {-1, 0, 3, 1}), {-1, 0, 6, 5}},
      {"3 - 3", Subtract({1, 0, 1, 3}, {1, 0, 1, 3}), BUNSUU_ZERO},
      {"0 + 0", Add(BUNSUU_ZERO, BUNSUU_ZERO), BUNSUU_ZERO},
      {"0 - 2/3", Subtract(BUNSUU_ZERO, {1, 0, 3, 2}), {-1, 0, 3, 2}},
      {"2 1/4 - 1/2", Subtract({1, 2, 4, 1}, half), {1, 1, 4, 3}},
      {"(-1/2) * 0", Multiply({-1, 0, 2, 1}, BUNSUU_ZERO), BUNSUU_ZERO},
      {"0 * 0", Multiply(BUNSUU_ZERO, BUNSUU_ZERO), BUNSUU_ZERO},
      {"4/6 * 3/2 reduces", Multiply({1, 0, 6, 4}, {1, 0, 2, 3}), {1, 0, 1, 1}},
      {"-1 1/2 / 3/4", Divide({-1, 1, 2, 1}, {1, 0, 4, 3}), {-1, 0, 1, 2}},
      {"positive zero times 2", Multiply({1, 0, 3, 0}, {1, 0, 1, 2}), BUNSUU_ZERO},
      {"0 ^ 0", Power(BUNSUU_ZERO, 0), BUNSUU_ERROR},
      {"0 ^ 3", Power(BUNSUU_ZERO, 3), BUNSUU_ZERO},
      {"0 ^ -1", Power(BUNSUU_ZERO, -1), BUNSUU_ZERO},
      {"(-2/3) ^ 3", Power({-1, 0, 3, 2}, 3), {-1, 0, 27, 8}},
      {"(-2/3) ^ 2", Power({-1, 0, 3, 2}, 2), {1, 0, 9, 4}},
      {"(2/3) ^ -2", Power({1, 0, 3, 2}, -2), {1, 0, 4, 9}},
      {"(4/6) ^ 2 reduces the base", Power({1, 0, 6, 4}, 2), {1, 0, 9, 4}},
      {"(1 1/2) ^ 3", Power({1, 1, 2, 1}, 3), {1, 0, 8, 27}},
      {"5 ^ 0", Power({1, 0, 1, 5}, 0), BUNSUU_ONE},
      {"2 ^ 62", Power({1, 0, 1, 2}, 62), {1, 0, 1, 4611686018427387904}},
      {"2 ^ 63", Power({1, 0, 1, 2}, 63), BUNSUU_ERROR},
      {"(1/2) ^ -62", Power({1, 0, 2, 1}, -62), {1, 0, 1, 4611686018427387904}},
      {"3 ^ 39", Power({1, 0, 1, 3}, 39), {1, 0, 1, 4052555153018976267}},
      {"3 ^ 40", Power({1, 0, 1, 3}, 40), BUNSUU_ERROR},
      {"(-1) ^ INT32_MIN", Power({-1, 0, 1, 1}, std::numeric_limits<int32_t>::min()), {1, 0, 1, 1}},
      {"(-1) ^ INT32_MAX", Power({-1, 0, 1, 1}, std::numeric_limits<int32_t>::max()), {-1, 0, 1, 1}},
      {"2 ^ INT32_MAX", Power({1, 0, 1, 2}, std::numeric_limits<int32_t>::max()), BUNSUU_ERROR},
      {"10 ^ 18", Power({1, 0, 1, 10}, 18), {1, 0, 1, 1000000000000000000}},
      {"10 ^ 19", Power({1, 0, 1, 10}, 19), BUNSUU_ERROR},
  };
  for (const auto& c : cases) EXPECT_EQ(c.got, c.expected) << c.what << ": " << Show(c.got);
  EXPECT_TRUE(Shown().empty()) << "power overflow is silent";
}

TEST(Bunsuu, ErrorOperandsNeverBecomeNumbers) {
  const Bunsuu one{1, 0, 1, 1};
  EXPECT_EQ(Multiply(BUNSUU_ERROR, one), BUNSUU_ERROR);
  EXPECT_EQ(Multiply(one, BUNSUU_ERROR), BUNSUU_ERROR);
  EXPECT_EQ(Divide(one, BUNSUU_ZERO), BUNSUU_ERROR);
  EXPECT_EQ(Add(BUNSUU_ERROR, BUNSUU_ZERO), BUNSUU_ERROR);
  EXPECT_EQ(Power(BUNSUU_ERROR, 2), BUNSUU_ERROR);
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(Add(BUNSUU_ERROR, one), BUNSUU_ERROR);
  EXPECT_EQ(Shown(), One(DIVIDED_BY_ZERO));
  TestPlatform().Clear();
  EXPECT_EQ(Add(BUNSUU_ERROR, Negate(one)), BUNSUU_ERROR);
  EXPECT_EQ(Shown(), One(ZERO_DENOMINATOR));
}

TEST(Bunsuu, ArithmeticNearTheLimitIsAnErrorWithTheMessageOfTheFailedCheck) {
  // Each of these would wrap in plain 64-bit arithmetic.
  struct Case {
    const char* what;
    Bunsuu (*op)();
    std::string message;
  } cases[] = {
      {"numerator times lcm factor",
       [] {
         return Add({1, 0, 2, 1}, {1, 0, 1, INT64_LIMIT});
       },
       PRODUCT_OVERFLOW},
      {"sum of numerators",
       [] {
         return Add({1, 0, 1, INT64_LIMIT}, {1, 0, 1, 1});
       },
       SUM_OVERFLOW},
      {"sum of wholes",
       [] {
         return Add({-1, INT64_LIMIT, 2, 1}, {-1, 1, 2, 1});
       },
       SUM_OVERFLOW},
      {"product of denominators",
       [] {
         return Subtract({1, 0, 4294967296, 1}, {1, 0, 4294967295, 1});
       },
       PRODUCT_OVERFLOW},
      {"product of numerators",
       [] {
         return Multiply({1, 0, 1, 4294967296}, {1, 0, 1, 4294967296});
       },
       PRODUCT_OVERFLOW},
      {"improper operand",
       [] {
         return Multiply({1, INT64_LIMIT, 2, 1}, {1, 0, 1, 1});
       },
       PRODUCT_OVERFLOW},
      {"improper divisor",
       [] {
         return Divide({1, 0, 1, 1}, {1, INT64_LIMIT / 2, 2, 1});
       },
       SUM_OVERFLOW},
  };
  for (const auto& c : cases) {
    TestPlatform().Clear();
    Bunsuu got = c.op();
    EXPECT_EQ(got, BUNSUU_ERROR) << c.what << ": " << Show(got);
    EXPECT_EQ(Shown(), One(c.message)) << c.what;
  }
  // The results at the edge of the range are exact.
  TestPlatform().Clear();
  EXPECT_EQ(Add({1, INT64_LIMIT - 1, 2, 1}, {1, 0, 2, 1}), (Bunsuu{1, INT64_LIMIT - 1, 2, 2}));
  EXPECT_EQ(Subtract({1, INT64_LIMIT, 1, 0}, {1, 0, 1, 1}), (Bunsuu{1, INT64_LIMIT - 1, 1, 0}));
  EXPECT_EQ(Multiply({1, 0, 1, 3037000499}, {1, 0, 1, 3037000499}), (Bunsuu{1, 0, 1, 9223372030926249001}));
  EXPECT_TRUE(Shown().empty());
}

TEST(Bunsuu, CompareMagnitudeIsExactForEveryValidPair) {
  struct Case {
    Bunsuu a, b;
    int expected;
  } cases[] = {
      {BUNSUU_ZERO, BUNSUU_ZERO, 0},
      {{1, 0, 2, 1}, {-1, 0, 4, 2}, 0},
      {{1, 2, 3, 1}, {1, 0, 3, 7}, 0},
      {{-1, 1, 2, 1}, {1, 3, 3, 1}, -1},
      {{1, 0, 1, 5}, {1, 4, 2, 1}, 1},
      {BUNSUU_ZERO, {1, 0, 3, 1}, -1},
      // 1 - 1/L against 1 - 1/(L-1): the cross products are far beyond 64 bits.
      {{1, 0, INT64_LIMIT, INT64_LIMIT - 1}, {1, 0, INT64_LIMIT - 1, INT64_LIMIT - 2}, 1},
      {{1, 0, MAX64, MAX64 - 1}, {1, 0, MAX64 - 1, MAX64 - 2}, 1},
      {{1, MAX64, 2, 1}, {1, MAX64 - 1, 1, 2}, -1},
      {{1, MAX64, MAX64, MAX64 - 1}, {1, MAX64, MAX64, MAX64 - 1}, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CompareMagnitude(c.a, c.b), c.expected) << Show(c.a) << " vs " << Show(c.b);
    EXPECT_EQ(CompareMagnitude(c.b, c.a), -c.expected) << Show(c.b) << " vs " << Show(c.a);
  }
  EXPECT_TRUE(Shown().empty());
}

namespace {

// An exact rational in 128 bits, for checking the arithmetic against.
struct Rational {
  __int128 n, d;
};

Rational ValueOf(const Bunsuu& b) {
  __int128 magnitude = static_cast<__int128>(b.whole) * b.den + b.num;
  return {b.sign * magnitude, b.den};
}

bool SameValue(const Rational& x, const Rational& y) { return x.n * y.d == y.n * x.d; }

Bunsuu RandomFraction(std::mt19937& rng) {
  std::uniform_int_distribution<int> sign(-1, 1), whole(0, 12), den(1, 40), num(0, 90), form(0, 2);
  int s = sign(rng);
  if (s == 0) return BUNSUU_ZERO;
  int64_t d = den(rng);
  int64_t n = num(rng);
  int64_t w = form(rng) == 0 ? whole(rng) : 0;  // mixed, improper and unreduced forms all occur
  if (w == 0 && n == 0) n = 1;
  return {static_cast<int8_t>(s), w, d, n};
}

void ExpectValid(const Bunsuu& r, const Rational& expected, const char* op, const Bunsuu& a,
                 const Bunsuu& b) {
  ASSERT_GT(r.den, 0) << op << " " << Show(a) << " " << Show(b);
  EXPECT_GE(r.whole, 0);
  EXPECT_GE(r.num, 0);
  EXPECT_TRUE(SameValue(ValueOf(r), expected))
      << op << " " << Show(a) << " " << Show(b) << " gave " << Show(r);
  // A zero result is the zero constant, a non-zero one carries the sign of the exact value.
  if (expected.n == 0) {
    EXPECT_EQ(r, BUNSUU_ZERO) << op << " " << Show(a) << " " << Show(b);
  } else {
    EXPECT_EQ(r.sign, (expected.n > 0) == (expected.d > 0) ? 1 : -1)
        << op << " " << Show(a) << " " << Show(b);
  }
}

}  // namespace

TEST(Bunsuu, ArithmeticAgreesWithExactRationals) {
  std::mt19937 rng(20240521);
  for (int i = 0; i < 4000; ++i) {
    Bunsuu a = RandomFraction(rng);
    Bunsuu b = RandomFraction(rng);
    Rational x = ValueOf(a);
    Rational y = ValueOf(b);
    ExpectValid(Add(a, b), {x.n * y.d + y.n * x.d, x.d * y.d}, "add", a, b);
    ExpectValid(Subtract(a, b), {x.n * y.d - y.n * x.d, x.d * y.d}, "subtract", a, b);
    ExpectValid(Multiply(a, b), {x.n * y.n, x.d * y.d}, "multiply", a, b);
    if (b.sign != 0) {
      ExpectValid(Divide(a, b), {x.n * y.d, x.d * y.n}, "divide", a, b);
      Bunsuu q = Divide(a, b);
      EXPECT_FALSE(IsReducible(q)) << Show(a) << " / " << Show(b);
    }
    EXPECT_FALSE(IsReducible(Multiply(a, b))) << Show(a) << " * " << Show(b);
    __int128 left = (x.n < 0 ? -x.n : x.n) * y.d;
    __int128 right = (y.n < 0 ? -y.n : y.n) * x.d;
    int order = left == right ? 0 : (left > right ? 1 : -1);
    EXPECT_EQ(CompareMagnitude(a, b), order) << Show(a) << " vs " << Show(b);
    if (HasFailure()) break;
  }
  EXPECT_TRUE(Shown().empty());
}
