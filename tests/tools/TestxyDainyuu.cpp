// The substitution box without a window: values written into expressions with their "*" and brackets,
// values that hold their own letter, the missing-value and no-letter messages, the calculate command onto
// the calculation line, and Look.
#include "tools/xyDainyuu.h"

#include <gtest/gtest.h>

#include "engine/BunMath.h"
#include "engine/Houtei1ji.h"
#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "screen/sikiInp.h"
#include "support/TestSupport.h"
#include "tools/kihonSet.h"

namespace {

class XyDainyuu : public ::testing::Test {
 protected:
  void SetUp() override { ScreenView = ScreenHooks{}; }
};

struct SubstCase {
  const char* expression;
  const char* x;
  const char* y;
  const char* z;
  const char* expected;
};

const SubstCase SUBST_CASES[] = {
    // A digit before a letter gets its "*"; a negative value goes in brackets after it.
    {"2x", "3", "", "", "2*3"},
    {"2x", "-3", "", "", "2*(-3)"},
    {"x-1", "-3", "", "", "(-3)-1"},
    {"2x", "(-3)", "", "", "2*(-3)"},
    // A fraction raised to a power goes in brackets, from that occurrence on; a whole number does not.
    {"x^2", "3b2", "", "", "(3b2)^2"},
    {"x^2", "3", "", "", "3^2"},
    {"x+x^2+x", "3b2", "", "", "3b2+(3b2)^2+(3b2)"},
    {"x^2", "(3b2)", "", "", "(3b2)^2"},
    // A letter after the first position followed by "(" gets its "*" before the values go in; at the
    // first position the "*" comes with the last step.
    {"3x(x+1)", "2", "", "", "3*2*(2+1)"},
    {"x(x+1)", "2", "", "", "2*(2+1)"},
    {"x(x+1)", "-2", "", "", "(-2)*((-2)+1)"},
    // After ")" a digit, "(" or letter is multiplied.
    {"(x+1)2", "5", "", "", "(5+1)*2"},
    {"(x+1)(x-1)", "5", "", "", "(5+1)*(5-1)"},
    {"(x+1)y", "5", "4", "", "(5+1)*4"},
    // Only the letters that occur need values; y alone with the x field empty is fine.
    {"y+1", "", "4", "", "4+1"},
    {"x+y+z", "1", "2", "3", "1+2+3"},
    // Two letters side by side are a product: their values do not run together.
    {"xy", "2", "3", "", "2*3"},
    {"2xyz", "2", "3", "4", "2*2*3*4"},
    // A value that holds its own letter is written in once; nothing is substituted a second time.
    {"x+1", "x+1", "", "", "x+1+1"},
    {"2x", "(x+1)", "", "", "2*(x+1)"},
    {"x+y", "y", "3", "", "y+3"},
    // "pai" becomes the π text in the expression and in a value; the comment is dropped.
    {"pai*x", "2", "", "", "3.14*2"},
    {"2x", "pai", "", "", "2*3.14"},
    {" 2x+1 #the line", "3", "", "", "2*3+1"},
    // Blanks round a value are not part of it.
    {"2x", " 3 ", "", "", "2*3"},
};

TEST_F(XyDainyuu, SubstituteWritesValuesWithTheirSignsAndBrackets) {
  for (const SubstCase& c : SUBST_CASES) {
    std::string result;
    TestPlatform().Clear();
    ASSERT_TRUE(Substitute(c.expression, c.x, c.y, c.z, result)) << c.expression;
    EXPECT_EQ(result, c.expected) << c.expression << " x=" << c.x << " y=" << c.y << " z=" << c.z;
    EXPECT_EQ(DainyuuResult, c.expected);
    EXPECT_TRUE(TestPlatform().ShownTexts().empty()) << c.expression;
  }
}

TEST_F(XyDainyuu, AValueHoldingItsLetterEndsAtOnce) {
  // Many occurrences and a long self-referring value: one pass, each occurrence replaced once.
  std::string result;
  ASSERT_TRUE(Substitute("x+x+x", "2x", "", "", result));
  EXPECT_EQ(result, "2x+2x+2x");
  ASSERT_TRUE(Substitute("xyz", "yz", "zx", "xy", result));
  EXPECT_EQ(result, "yz*zx*xy");
}

TEST_F(XyDainyuu, MissingValuesAreNamedInLetterOrder) {
  std::string result = "kept";
  EXPECT_FALSE(Substitute("z+x+y", "", "2", "", result));
  EXPECT_EQ(result, "kept");
  ASSERT_EQ(TestPlatform().ShownTexts().size(), 1u);
  EXPECT_EQ(TestPlatform().ShownTexts()[0], "ご注意！: 変数 x z に値が代入されていません。");

  TestPlatform().Clear();
  EXPECT_FALSE(Substitute("y+1", "5", "", "", result));
  EXPECT_EQ(TestPlatform().ShownTexts()[0], "ご注意！: 変数 y に値が代入されていません。");
  // A blank value is no value.
  TestPlatform().Clear();
  EXPECT_FALSE(Substitute("2x", "  ", "", "", result));
  EXPECT_EQ(TestPlatform().ShownTexts()[0], "ご注意！: 変数 x に値が代入されていません。");
}

TEST_F(XyDainyuu, NoLetterAsksAndOkKeepsTheExpressionWithoutItsComment) {
  std::string result;
  TestPlatform().answers = {MsgAnswer::Ok};
  ASSERT_TRUE(Substitute("1+2 # no letters", "3", "", "", result));
  EXPECT_EQ(result, "1+2");
  ASSERT_EQ(TestPlatform().log.size(), 1u);
  EXPECT_EQ(TestPlatform().log[0].kind, "question");
  EXPECT_EQ(TestPlatform().log[0].caption, "ご注意！");
  EXPECT_EQ(TestPlatform().log[0].text, DAINYUU_NO_LETTER_TEXT);

  // Upper-case letters are not unknowns.
  TestPlatform().Clear();
  TestPlatform().answers = {MsgAnswer::Cancel};
  EXPECT_FALSE(Substitute("X+1", "3", "", "", result));
  EXPECT_EQ(TestPlatform().log.size(), 1u);
}

TEST_F(XyDainyuu, CalculateComputesTheResultOntoTheLine) {
  AnswerFormCode = 0;
  DainyuuCalcOutcome o = DainyuuCalculate("2x+1", "3b1", "", "");
  ASSERT_TRUE(o.computed);
  EXPECT_EQ(LineText, "2*3b1+1=1k3b2");
  EXPECT_EQ(SavedLine, LineText);
  EXPECT_FALSE(LineOpen);

  // A ratio is simplified with the expression in front.
  o = DainyuuCalculate("x:6", "4", "", "");
  ASSERT_TRUE(o.computed);
  EXPECT_EQ(LineText, "4:6=2:3");
}

TEST_F(XyDainyuu, CalculateCancelledAtTheQuestionComputesNothing) {
  InputChar('5');
  TestPlatform().answers = {MsgAnswer::Cancel};
  DainyuuCalcOutcome o = DainyuuCalculate("1+2", "", "", "");
  EXPECT_FALSE(o.computed);
  EXPECT_EQ(LineText, "5");
}

TEST_F(XyDainyuu, CalculateReportsABadCharacterWithItsPosition) {
  DainyuuCalcOutcome o = DainyuuCalculate("x))", "1", "", "");
  EXPECT_FALSE(o.computed);
  EXPECT_EQ(o.badPos, 2);
  ASSERT_EQ(TestPlatform().ShownTexts().size(), 1u);
  EXPECT_EQ(TestPlatform().ShownTexts()[0], "注意!!: 01::(確認)ｴﾗｰ桁(1～)=2");
  // The screen has started a new line all the same.
  EXPECT_TRUE(LineText.empty());
  EXPECT_TRUE(LineOpen);
}

TEST_F(XyDainyuu, CalculateStopsSilentlyWhenAnXRemains) {
  DainyuuCalcOutcome o = DainyuuCalculate("x+1", "x", "", "");
  EXPECT_FALSE(o.computed);
  EXPECT_EQ(o.badPos, 0);
  EXPECT_TRUE(TestPlatform().ShownTexts().empty());
}

TEST_F(XyDainyuu, LookShowsTheFractionFormWithItsComment) {
  DainyuuLook("3b2+x #half");
  ASSERT_EQ(TestPlatform().Shown().size(), 1u);
  EXPECT_EQ(TestPlatform().Shown()[0].kind, "notice");
  EXPECT_EQ(TestPlatform().Shown()[0].caption, "式の分数形表示");
  EXPECT_EQ(TestPlatform().Shown()[0].text, "@3b2+x #half");
  EXPECT_EQ(TestPlatform().Shown()[0].durationMs, 8000);

  TestPlatform().Clear();
  DainyuuLook("x!+1");
  EXPECT_EQ(TestPlatform().ShownTexts(),
            std::vector<std::string>{"お知らせ!: xyzと！,P,Cとの組合せはLookできません。"});

  TestPlatform().Clear();
  DainyuuLook("   ");
  EXPECT_TRUE(TestPlatform().log.empty());
}

TEST_F(XyDainyuu, LookLeavesTheLineBeingTypedAsItWas) {
  for (char c : std::string("(1+")) InputChar(c);
  DainyuuLook("3b2");
  for (char c : std::string("2)=")) InputChar(c);
  EXPECT_EQ(LineText, "(1+2)=3");
}

}  // namespace
