#include "engine/Bunio.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace {

std::vector<std::string> Shown() { return TestPlatform().ShownTexts(); }

std::string Show(const Bunsuu& b) {
  return "(" + std::to_string(b.sign) + ", " + std::to_string(b.whole) + ", " + std::to_string(b.den) + ", " +
         std::to_string(b.num) + ")";
}

// True when b holds the value sign × n / d.
bool HasValue(const Bunsuu& b, int sign, __int128 n, __int128 d) {
  if (b.den == 0) return false;
  __int128 magnitude = static_cast<__int128>(b.whole) * b.den + b.num;
  return b.sign * magnitude * d == sign * n * b.den;
}

class Bunio : public ::testing::Test {
 protected:
  void SetUp() override { ResetBunio(); }
};

}  // namespace

TEST_F(Bunio, FitsInt64TextAcceptsExactlyTheSigned64BitRange) {
  // Only a run of digits beyond the range is reported as too large; a text that is no number at all is
  // refused without that message (its caller says what it cannot do with it).
  struct Case {
    const char* text;
    bool fits;
    bool tooLarge;
  } cases[] = {
      {"0", true, false},
      {"9223372036854775807", true, false},
      {"9223372036854775808", false, true},
      {"-9223372036854775808", true, false},
      {"-9223372036854775809", false, true},
      {"+12", true, false},
      {"0000000000000000000000001", true, false},
      {"12345678901234567890", false, true},
      {"", false, false},
      {"-", false, false},
      {"12a", false, false},
      {" 12", false, false},
      {"2+4b1", false, false},
      {"66666666666666666u", false, false},
  };
  for (const auto& c : cases) {
    TestPlatform().Clear();
    EXPECT_EQ(FitsInt64Text(c.text, 0), c.fits) << c.text;
    EXPECT_TRUE(Shown().empty()) << "show 0 is silent";
    EXPECT_EQ(FitsInt64Text(c.text, 1), c.fits) << c.text;
    std::vector<std::string> expected;
    if (c.tooLarge)
      expected.push_back(std::string("警告!!: (int64StrMaxCheck)\n文字列< ") + c.text +
                         " >は int64 の有効値を超えた。");
    EXPECT_EQ(Shown(), expected) << c.text;
  }
}

TEST_F(Bunio, ParseNumberReadsTheFieldsAsWritten) {
  struct Case {
    const char* text;
    Bunsuu expected;
  } cases[] = {
      {"5", {1, 0, 1, 5}},
      {"0", {0, 0, 1, 0}},
      {"m0", {0, 0, 1, 0}},
      {"p7", {1, 0, 1, 7}},
      {"-7", {-1, 0, 1, 7}},
      {"3b2", {1, 0, 3, 2}},
      {"4b6", {1, 0, 4, 6}},
      {"2k3b1", {1, 2, 3, 1}},
      {"(m2k3b1)", {-1, 2, 3, 1}},
      {"((m3b1))", {-1, 0, 3, 1}},
      {"3b0", {1, 0, 3, 0}},
      {"2.05", {1, 2, 100, 5}},
      {"m0.5", {-1, 0, 10, 5}},
      {"0.0", BUNSUU_ZERO},
      {"m0.00", BUNSUU_ZERO},
      {"0.123456789012345678", {1, 0, 1000000000000000000, 123456789012345678}},
      {"9223372036854775807", {1, 0, 1, 9223372036854775807}},
  };
  for (const auto& c : cases) {
    Bunsuu got = ParseNumber(c.text);
    EXPECT_EQ(got, c.expected) << c.text << " gave " << Show(got);
  }
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(ParseNumber("0b5").den, 0) << "a zero denominator is kept as the error marker";
}

TEST_F(Bunio, ParseNumberReadsRepeatingDecimals) {
  struct Case {
    const char* text;
    int sign;
    long long n, d;
  } cases[] = {
      {"0.1@6", 1, 1, 6},      {"m0.1@6", -1, 1, 6}, {"0.@3", 1, 1, 3},
      {"m0.@3", -1, 1, 3},     {"2.@9", 1, 3, 1},    {"0.@142857", 1, 1, 7},
      {"1.2@34", 1, 611, 495}, {"p0.@6", 1, 2, 3},   {"(m1.0@3)", -1, 31, 30},
  };
  for (const auto& c : cases) {
    Bunsuu got = ParseNumber(c.text);
    EXPECT_TRUE(HasValue(got, c.sign, c.n, c.d)) << c.text << " gave " << Show(got);
  }
  EXPECT_TRUE(Shown().empty());
}

TEST_F(Bunio, NumbersBeyondTheRangeAreErrorsWithAMessage) {
  struct Case {
    const char* text;
    std::string message;
  } cases[] = {
      {"12345678901234567890",
       "警告!!: (int64StrMaxCheck)\n文字列< 12345678901234567890 >は int64 の有効値を超えた。"},
      {"3b12345678901234567890",
       "警告!!: (int64StrMaxCheck)\n文字列< 12345678901234567890 >は int64 の有効値を超えた。"},
      // 19 fractional digits would need the denominator 10^19.
      {"0.1234567890123456789", "警告!: 積の結果がint64の範囲を超えた。"},
      // 19 repeating nines do not fit either.
      {"0.@1234567890123456789",
       "警告!!: (int64StrMaxCheck)\n文字列< 9999999999999999999 >は int64 の有効値を超えた。"},
      {"3b-2", ""},
      // Texts that are no number: an expression and a cut-off decimal are not "too large".
      {"4b2+4b1", ""},
      {"0.66666666666666666u", ""},
  };
  for (const auto& c : cases) {
    TestPlatform().Clear();
    EXPECT_EQ(ParseNumber(c.text), BUNSUU_ERROR) << c.text;
    std::vector<std::string> expected;
    if (!c.message.empty()) expected.push_back(c.message);
    EXPECT_EQ(Shown(), expected) << c.text;
  }
}

TEST_F(Bunio, FormatBunsuuWritesTheFieldsInTheNotation) {
  struct Case {
    Bunsuu b;
    int paren;
    const char* text;
  } cases[] = {
      {{-1, 2, 3, 1}, 0, "m2k3b1"}, {{-1, 2, 3, 1}, 1, "(m2k3b1)"},
      {{1, 2, 3, 1}, 1, "2k3b1"},   {{1, 5, 1, 0}, 0, "5"},
      {{-1, 5, 1, 0}, 1, "(m5)"},   {{1, 0, 1, 3}, 0, "1b3"},
      {{1, 0, 3, 2}, 0, "3b2"},     {BUNSUU_ZERO, 1, "0"},
      {{-1, 0, 4, 0}, 1, "0"},      {BUNSUU_ERROR, 0, "n"},
      {{1, 0, 0, 5}, 0, "n"},       {{1, 0, 1000000000000000000, 7}, 0, "1000000000000000000b7"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatBunsuu(c.b, c.paren), c.text) << Show(c.b);
}

TEST_F(Bunio, ParseAndFormatRoundTrip) {
  for (const char* text : {"3b2", "2k3b1", "m2k3b1", "9223372036854775807b1", "1b7"}) {
    EXPECT_EQ(FormatBunsuu(ParseNumber(text), 0), text);
  }
  // An integer reads as n over 1 and is written so; the caller drops the "1b".
  EXPECT_EQ(FormatBunsuu(ParseNumber("m7"), 0), "m1b7");
}

TEST_F(Bunio, DecimalTextHasAtMostEighteenRoundedDecimals) {
  struct Case {
    Bunsuu b;
    const char* text;
    bool terminates;
  } cases[] = {
      {{1, 0, 3, 1}, "0.333333333333333333", false},
      {{1, 0, 3, 2}, "0.666666666666666667", false},
      {{1, 2, 2, 1}, "2.5", true},
      {{-1, 0, 8, 1}, "m0.125", true},
      {{1, 0, 2, 7}, "3.5", true},
      {{1, 0, 6, 3}, "0.5", true},
      {{1, 0, 7, 1}, "0.142857142857142857", false},
      {{1, 0, 1, 5}, "5", true},
      {{-1, 5, 1, 0}, "m5", true},
      {BUNSUU_ZERO, "0", true},
      {{1, 0, 1000000000000000000, 1}, "0.000000000000000001", true},
      // Beyond 18 decimals the rounding may carry into the whole part or leave no decimals.
      {{1, 2, 4000000000000000000, 3999999999999999999}, "3", true},
      {{1, 0, 4000000000000000000, 1}, "0", true},
      {{1, 0, 3000000000000000000, 2}, "0.000000000000000001", false},
  };
  for (const auto& c : cases) {
    DecimalTerminates = !c.terminates;
    EXPECT_EQ(DecimalText(c.b), c.text) << Show(c.b);
    EXPECT_EQ(DecimalTerminates, c.terminates) << Show(c.b);
  }
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(DecimalText(BUNSUU_ERROR), "n");
}

TEST_F(Bunio, ClassifiesNumberTexts) {
  struct Case {
    const char* text;
    int kind;
    bool reducible, single;
  } cases[] = {
      {"12", 0, false, true},     {"m12", 0, false, true},    {"1.5", 1, true, true},
      {"0.1@6", 2, true, true},   {"0.@3", 2, true, true},    {"3b2", -1, false, true},
      {"4b2", -1, true, true},    {"1k4b2", -1, true, true},  {"0b5", -1, false, true},
      {"0.25", 1, true, true},    {"2.7", 1, false, true},    {"1+2", -1, false, false},
      {"(3b2", -1, false, false}, {"(3b2)", -1, false, true}, {"3b", -1, false, false},
      {"2k", -1, false, false},   {"2k3b", -1, false, true},  {"1.", -1, false, false},
      {"5!", -1, false, false},   {"-5", 0, false, true},     {"5P2", -1, false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NumberKind(c.text), c.kind) << c.text;
    EXPECT_EQ(IsReducibleText(c.text), c.reducible) << c.text;
    EXPECT_EQ(IsSingleNumber(c.text), c.single) << c.text;
  }
}

TEST_F(Bunio, FirstOperatorTriesTheKindsInOrder) {
  struct Case {
    const char* text;
    int kind, pos;
  } cases[] = {
      {"1+2", 1, 2}, {"2*3+1", 1, 4}, {"m3-2", 2, 3}, {"-3*2", 3, 3}, {"8/2", 4, 2}, {"2^3", 5, 2},
      {"5!", 6, 2},  {"5P2", 7, 2},   {"5C2", 8, 2},  {"12", -1, 0},  {"-3", -1, 0}, {"", -1, 0},
  };
  for (const auto& c : cases) {
    OperatorFound f = FirstOperator(c.text);
    EXPECT_EQ(f.kind, c.kind) << c.text;
    EXPECT_EQ(f.pos, c.pos) << c.text;
  }
}

TEST_F(Bunio, DivideWithRemainder) {
  struct Case {
    const char* text;
    int places;
    const char* answer;
  } cases[] = {
      {"10/3", 1, "3.3R0.1"},   {"7/2", 2, "3.5"},
      {"10/4", 0, "2R2"},       {"100/7", 3, "14.285R0.005"},
      {"9/3", 10, "3"},         {"1/8", 10, "0.125"},
      {"7.5/0.2", 1, "37.5"},   {"10/3", 0, "3R1"},
      {"1/0", 2, "n"},          {"10", 2, "n"},
      {"a/3", 2, "n"},          {"3/", 2, "n"},
      {"1e300/1e-300", 2, "n"}, {"1e20/1", 2, "100000000000000000000"},
  };
  for (const auto& c : cases) EXPECT_EQ(DivideWithRemainder(c.text, c.places), c.answer) << c.text;
  // Out-of-range places never break it.
  EXPECT_EQ(DivideWithRemainder("10/3", -4), "3R1");
  EXPECT_FALSE(DivideWithRemainder("1/3", 1000).empty());
  EXPECT_FALSE(DivideWithRemainder("1e-300/7", 10).empty());
}

TEST_F(Bunio, StripParenthesesOnlyStripsEnclosingPairs) {
  struct Case {
    const char* text;
    int kind;
    const char* expected;
  } cases[] = {
      {"(1+2)*(3+4)", 1, "(1+2)*(3+4)"},
      {"((1+2))", 1, "1+2"},
      {"(m3b1)", 1, "m3b1"},
      {"[6B1+2]", 2, "6B1+2"},
      {"([1B2])", 0, "1B2"},
      {"[(1)]", 0, "(1)"},
      {"(1+2)", 2, "(1+2)"},
      {"(1+2)", 5, "(1+2)"},
      {"()", 1, ""},
      {"(", 1, "("},
      {"", 1, ""},
      {"((1)+(2))", 1, "(1)+(2)"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(StripParentheses(c.text, c.kind), c.expected) << c.text << " " << c.kind;
}

TEST_F(Bunio, CutsAtEqualsAndAmpersand) {
  EXPECT_EQ(CutAtEquals("1+2=3=3", 0), "1+2");
  EXPECT_EQ(TextAfterEquals, "3=3");
  EXPECT_EQ(CutAtEquals("1+2=3", 1), "1+2=");
  EXPECT_EQ(CutAtEquals("1+2", 1), "1+2");
  EXPECT_EQ(TextAfterEquals, "");

  EXPECT_EQ(SplitAtAmpersand("a:b=2:3&2:3"), "a:b=2:3");
  EXPECT_EQ(TextAfterAmpersand, "2:3");
  EXPECT_EQ(SplitAtAmpersand("1+2"), "1+2");
  EXPECT_EQ(TextAfterAmpersand, "");

  EXPECT_EQ(CutForSolver("2x=4&x=2", 1), "2x=4");
  EXPECT_EQ(TextAfterAmpersand, "x=2");
  EXPECT_EQ(CutForSolver("1+2=3", 1), "1+2=");
  EXPECT_EQ(TextAfterEquals, "3");

  struct Case {
    const char* text;
    const char* piece;
  } pieces[] = {{"1+2=3", "3"}, {"1+2=3=5", "5"}, {"1+2=3=", "3="}, {"12", "12"}, {"=", "="}, {"", ""}};
  for (const auto& c : pieces) EXPECT_EQ(LastAnswerPiece(c.text), c.piece) << c.text;
}

TEST_F(Bunio, SmallTextOperations) {
  EXPECT_EQ(StripLeading("000120", '0'), "120");
  EXPECT_EQ(StripLeading("000", '0'), "");
  EXPECT_EQ(StripLeading("", '0'), "");
  EXPECT_EQ(StripTrailing("1.500", '0'), "1.5");
  EXPECT_EQ(StripTrailing("abc", '0'), "abc");

  EXPECT_EQ(CountOccurrences("aaaa", "aa"), 2);
  EXPECT_EQ(CountOccurrences("1+2+3", "+"), 2);
  EXPECT_EQ(CountOccurrences("abc", ""), 0);
  EXPECT_EQ(CountOccurrences("", "a"), 0);

  EXPECT_EQ(FindLast("1+2+3", '+', 1), 4);
  EXPECT_EQ(FoundText, "+3");
  EXPECT_EQ(FindLast("1+2+3", '+', 0), 4);
  EXPECT_EQ(FoundText, "3");
  EXPECT_EQ(FindLast("123", '+', 1), 0);
  EXPECT_EQ(FoundText, "");

  EXPECT_EQ(FirstInSet("12+3-4", "-+"), 3);
  EXPECT_EQ(FoundChar, '+');
  EXPECT_EQ(FirstInSet("123", "+"), 0);
  EXPECT_EQ(FirstInSet("", "+"), -1);
  EXPECT_EQ(FirstInSet("123", ""), -1);
  EXPECT_EQ(FirstNotInSet("0012", "0"), 3);
  EXPECT_EQ(FoundChar, '1');
  EXPECT_EQ(FirstNotInSet("000", "0"), 0);
  EXPECT_EQ(FirstNotInSet("", "0"), 0);

  for (char c : std::string("+-*/^=:")) EXPECT_TRUE(IsOperatorChar(c)) << c;
  for (char c : std::string("m0(!Pb")) EXPECT_FALSE(IsOperatorChar(c)) << c;
  EXPECT_FALSE(IsOperatorChar('\0'));
}

TEST_F(Bunio, ResetEmptiesTheResults) {
  CutAtEquals("1=2", 0);
  SplitAtAmpersand("1&2");
  FirstInSet("12", "2");
  DecimalText({1, 0, 2, 1});
  ResetBunio();
  EXPECT_EQ(TextAfterEquals, "");
  EXPECT_EQ(TextAfterAmpersand, "");
  EXPECT_EQ(FoundText, "");
  EXPECT_EQ(FoundChar, '\0');
  EXPECT_FALSE(DecimalTerminates);
}
