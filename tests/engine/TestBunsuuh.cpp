#include "engine/Bunsuuh.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/BunMath.h"
#include "engine/Bunio.h"
#include "engine/InpCheck.h"
#include "support/TestSupport.h"

namespace {

using Messages = std::vector<std::string>;

const std::string DIV = "報告!!: ★ｴﾗｰ << ０による除算 >>";
const std::string OVER = "報告！: ｴﾗｰ::ｵｰﾊﾞｰﾌﾛｰ等";
const std::string BUNHCALC =
    "警告!! <bunHCalc>: [　] 内が､｢帯分数でかつ分数部の符号が負｣となる\n\n定義不能ｴﾗｰを発生しました。";

class Bunsuuh : public ::testing::Test {
 protected:
};

std::string Show(const BunsuuH& h) {
  return "(" + h.sign + ", " + h.whole + ", " + h.den + ", " + h.num + ")";
}

// The value written canonically (reduced, mixed), so that equal values compare equal.
std::string Canonical(const Bunsuu& b) {
  if (IsError(b)) return "error";
  return FormatBunsuu(ToMixed(Reduce(b)), 0);
}

}  // namespace

TEST_F(Bunsuuh, ParseReadsTheFourTexts) {
  struct Case {
    std::string text;
    BunsuuH h;
    int error;
  } cases[] = {
      {"[6B1+2]", {"+1", "0", "6", "1+2"}, 0},
      {"[2K3+1B1]", {"+1", "2", "3+1", "1"}, 0},
      {"[mK3B1]", {"-1", "0", "3", "1"}, 0},
      {"[m2K3B1]", {"-1", "2", "3", "1"}, 0},
      {"[pK3B1]", {"+1", "0", "3", "1"}, 0},
      {"[m3B1]", {"+1", "0", "m3", "1"}, 0},  // without "K" a sign belongs to the denominator
      {"[5]", {"+1", "5", "1", "0"}, 0},
      {"[0]", {"0", "0", "1", "0"}, 0},
      {"[m5]", {"-1", "5", "1", "0"}, 0},
      {"[2K3B0]", {"+1", "2", "3", "0"}, 0},
      {"3B1", BUNSUUH_EMPTY, 1},
      {"[3B1", BUNSUUH_EMPTY, 1},
      {"3B1]", BUNSUUH_EMPTY, 1},
      {"", BUNSUUH_EMPTY, 1},
      {"[", BUNSUUH_EMPTY, 1},
      {"[aK3B1]", BUNSUUH_EMPTY, 3},
      {"[1+1K3B1]", BUNSUUH_EMPTY, 3},
      {"[99999999999999999999K3B1]", BUNSUUH_EMPTY, 3},
      {"[2K3]", BUNSUUH_EMPTY, 4},
      {"[B1]", BUNSUUH_EMPTY, 8},
      {"[3B]", BUNSUUH_EMPTY, 8},
      {"[]", BUNSUUH_EMPTY, 8},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Show(ParseBunsuuh(c.text)), Show(c.h)) << c.text;
    EXPECT_EQ(BunsuuhError, c.error) << c.text;
  }
  EXPECT_TRUE(TestPlatform().ShownTexts().empty());
}

TEST_F(Bunsuuh, ValuesOfBrackets) {
  struct Case {
    std::string text;
    std::string value;
    Messages messages;
  } cases[] = {
      {"[6B1+2]", "2b1", {}},
      {"[2K3+1B1]", "2k4b1", {}},
      {"[mK3B1]", "m3b1", {}},
      {"[m2K3B1]", "m2k3b1", {}},
      {"[5]", "5", {}},
      {"[0]", "0", {}},
      {"[2K3B0]", "2", {}},
      {"[mK3B0]", "0", {}},
      {"[2K3B5]", "3k3b2", {}},
      {"[m3B1]", "m3b1", {}},
      {"[mK3Bm1]", "3b1", {}},
      {"[(1+1)^2B3*(2-1)]", "4b3", {}},
      {"[2K3Bm1]", "error", {BUNHCALC}},
      {"[1-1B1]", "error", {DIV, OVER}},
      {"[0B1]", "error", {}},
      {"[x+1B2]", "error", {}},
      {"[3B1", "error", {}},
  };
  for (const auto& c : cases) {
    TestPlatform().Clear();
    EXPECT_EQ(Canonical(BunsuuhTextValue(c.text)), c.value) << c.text;
    // An unknown cannot be read as a number; its range message is the parser's business.
    if (c.text != "[x+1B2]") {
      EXPECT_EQ(TestPlatform().ShownTexts(), c.messages) << c.text;
    }
  }
  // The sign text "m" is a minus as well (FormatBunsuuh writes it as one).
  EXPECT_EQ(Canonical(BunsuuhValue(BunsuuH{"m", "0", "3", "1"})), "m3b1");
  EXPECT_EQ(Canonical(BunsuuhValue(BunsuuH{"", "2", "3", "1"})), "0");
  EXPECT_EQ(Canonical(BunsuuhValue(BunsuuH{"+1", "x", "3", "1"})), "error");
}

TEST_F(Bunsuuh, FormatWritesOnlyTheSignM) {
  struct Case {
    BunsuuH h;
    std::string text;
  } cases[] = {
      {{"-1", "2", "3", "1"}, "[2K3B1]"},     {{"m", "0", "3", "1"}, "[mK3B1]"},
      {{"m", "2", "3", "1"}, "[m2K3B1]"},     {{"+1", "0", "6", "1+2"}, "[6B1+2]"},
      {{"+1", "2", "3+1", "1"}, "[2K3+1B1]"}, {{"0", "5", "3", "1"}, "0"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatBunsuuh(c.h), c.text) << Show(c.h);
  // A positive bracket reads back as written.
  for (const char* t : {"[6B1+2]", "[2K3+1B1]", "[5B(1+2)^2]"}) EXPECT_EQ(FormatBunsuuh(ParseBunsuuh(t)), t);
}

TEST_F(Bunsuuh, MakeAndSign) {
  EXPECT_EQ(Show(MakeBunsuuh("+1", "", "3", "1")), Show(BUNSUUH_EMPTY));
  EXPECT_EQ(BunsuuhError, 8);
  EXPECT_EQ(Show(MakeBunsuuh("+1", "0", "3", "1")), "(+1, 0, 3, 1)");
  EXPECT_EQ(BunsuuhError, 0);
  EXPECT_EQ(MakeBunsuuhFromSign(1, "0", "3", "1").sign, "+1");
  EXPECT_EQ(MakeBunsuuhFromSign(-1, "0", "3", "1").sign, "-1");
  EXPECT_EQ(MakeBunsuuhFromSign(0, "0", "3", "1").sign, "0");
  EXPECT_EQ(MakeBunsuuhFromSign(7, "0", "3", "1").sign, "0");

  struct Case {
    const char* text;
    int sign;
  } cases[] = {{"m5", -1}, {"0", 0}, {"7", -2}, {"+1", 1}, {"-1", -1}, {"p", 1},
               {"P", 1},   {"1", 1}, {"M", -1}, {"-", -1}, {"", -2},   {"x", -2}};
  for (const auto& c : cases) EXPECT_EQ(SignOfText(c.text), c.sign) << c.text;
}

TEST_F(Bunsuuh, ReplaceExpressionFractions) {
  struct Case {
    std::string text;
    std::string result;
    int error;
  } cases[] = {
      {"[6B1+2]+1", "2b1+1", 0},
      {"1+[x+1B2]", "1+[x+1B2]", 0},
      {"[x+1B2]+[6B1+2]", "[x+1B2]+2b1", 0},
      {"[mK3B1]*2", "m3b1*2", 0},
      {"2-[mK3B1]", "2+3b1", 0},
      {"[3B1]^2", "(3b1)^2", 0},
      {"[mK3B1]^2", "(m3b1)^2", 0},
      {"[2K3+1B1]+[5]", "2k4b1+5", 0},
      {"1+2", "1+2", 0},
      {"1]", "n", 10},
      {"]1[", "n", 10},
      {"[0B1]+1", "n", 11},
      {"[2K3Bm1]", "n", 11},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReplaceExpressionFractions(c.text), c.result) << c.text;
    EXPECT_EQ(BunsuuhError, c.error) << c.text;
  }
}
