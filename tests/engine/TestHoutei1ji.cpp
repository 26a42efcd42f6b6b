// The first-degree solver as a table of equations and inequalities (value, relation, message), the
// answer form, the echo, and the stages that normalise one side.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/BunMath.h"
#include "engine/Houtei1ji.h"
#include "engine/Settings.h"
#include "support/TestSupport.h"

namespace {

const std::string SEVERAL_EQUALS = "式形が不正( ＝ が複数ある)！";
const std::string BAD_PROPORTION = "比例式として不正な形です！";
const std::string NO_RELATION = "等号も不等号がない。うえーん！";
const std::string NO_RIGHT = "右辺がない。うえーん！";
const std::string X_IN_BRACKET_DEN = "分母に ｘ がある式は､対象外です。";
const std::string BRACKET_DEN_ZERO = "式分数のエラー：分母＝０";
const std::string CANNOT_HANDLE = "扱えない式です。";
const std::string POWER_OF_X = "ｘの一次式しか計算できません。\n\n(ｘの１乗の表記も不可。)";
const std::string X_IN_DENOMINATOR = "分母にｘのある式は扱えません。";
const std::string X_TIMES_X = "ｘの一次式しか計算できません。\n\nめんご！";

class Houtei1ji : public ::testing::Test {
 protected:
};

struct Case {
  std::string equation;
  std::string value;  // "n" for a failure
  int kind;  // RelationKind after a success
  std::string message;  // SolverMessage after a failure
};

void Check(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    TestPlatform().Clear();
    std::string got = SolveLinear(c.equation, 0);
    EXPECT_EQ(got, c.value) << c.equation;
    if (c.value == "n") {
      EXPECT_EQ(SolverMessage, c.message) << c.equation;
      // A failure the solver names itself shows nothing else.
      if (!c.message.empty()) {
        EXPECT_TRUE(TestPlatform().ShownTexts().empty()) << c.equation;
      }
    } else {
      EXPECT_EQ(RelationKind, c.kind) << c.equation;
      EXPECT_EQ(SolutionText, "x" + RelationSymbol(c.kind) + c.value) << c.equation;
      EXPECT_EQ(SolverMessage, "") << c.equation;
      EXPECT_TRUE(TestPlatform().ShownTexts().empty()) << c.equation;
    }
  }
}

}  // namespace

TEST_F(Houtei1ji, Equations) {
  Check({
      {"2x+1=7", "3", 0, ""},       {"3x=1", "3b1", 0, ""},
      {"3x=4", "1k3b1", 0, ""},     {"x=3b2", "3b2", 0, ""},
      {"mx+1=3", "m2", 0, ""},      {"3(x+1)=9", "2", 0, ""},
      {"m(x-2)=4", "m2", 0, ""},    {"2-(x-3)=1", "4", 0, ""},
      {"(2-x)*3=0", "2", 0, ""},    {"2(3(x+1)+1)=14", "1", 0, ""},
      {"x/3+x/6=1", "2", 0, ""},    {"2x/3=4", "6", 0, ""},
      {"(x+1)/2=3", "5", 0, ""},    {"3x+2=2x+3x-4", "3", 0, ""},
      {"x-m3=5", "2", 0, ""},       {"2x=1k2b1", "4b3", 0, ""},
      {"3b2x=1", "1k2b1", 0, ""},  // a fraction before x: two thirds of x
      {"0.5x=1", "2", 0, ""},       {"1.5x+0.@3=1", "9b4", 0, ""},
      {"(1+2)x=9", "3", 0, ""},     {"5P2x=40", "2", 0, ""},
      {"3!x=12", "2", 0, ""},       {"m2^2x=8", "2", 0, ""},  // a signed number is one operand: m2^2 is 4
      {"x+1=m(2x)", "m3b1", 0, ""},
  });
}

TEST_F(Houtei1ji, EveryXOrNone) {
  Check({
      {"2(x+1)=2x+2", "(不定)", 0, ""},
      {"2x+1=2x", "(不能)", 0, ""},
      {"x=x", "(不定)", 0, ""},
      {"0x=5", "(不能)", 0, ""},
      // An inequality without x holds for every x or for none, depending on the relation.
      {"2x+1<2x+3", "(不定)", 1, ""},
      {"2x+1<2x", "(不能)", 1, ""},
      {"0x<=0", "(不定)", 2, ""},
      {"0x<0", "(不能)", 1, ""},
      {"x>x+1", "(不能)", 3, ""},
      {"x>=x+m1", "(不定)", 4, ""},
  });
}

TEST_F(Houtei1ji, InequalitiesTurnRoundForANegativeCoefficient) {
  Check({
      {"3x-2<4x", "m2", 3, ""},  // m1*x < 2: x > m2
      {"2x>=m4", "m2", 4, ""},
      {"mx>=1", "m1", 2, ""},
      {"m3x<6", "m2", 3, ""},
      {"m3x<=6", "m2", 4, ""},
      {"m3x>6", "m2", 1, ""},
      {"m3x>=6", "m2", 2, ""},
      {"2x<=6", "3", 2, ""},
      {"x+1>m(2x)", "m3b1", 3, ""},
  });
}

TEST_F(Houtei1ji, Proportions) {
  Check({
      {"x:3=4:6", "2", 0, ""},
      {"3:x=6:4", "2", 0, ""},
      {"4:x=2:3", "6", 0, ""},
      {"3:4=x:8", "6", 0, ""},
      {"2:3=6:x", "9", 0, ""},
      {"(x+1):3=4:6", "1", 0, ""},
      {"x:2<3:4", "n", 0, BAD_PROPORTION},
      {"x:2=3", "n", 0, BAD_PROPORTION},
      {"x::2=3:4", "n", 0, BAD_PROPORTION},
      {":2=3:4", "n", 0, BAD_PROPORTION},
      {"x:2=3:", "n", 0, BAD_PROPORTION},
      {"x:2:1=3:4", "n", 0, BAD_PROPORTION},
  });
}

TEST_F(Houtei1ji, Failures) {
  Check({
      {"1=2=x", "n", 0, SEVERAL_EQUALS},
      {"2x+1=7&x=3", "n", 0, SEVERAL_EQUALS},
      {"2x+1", "n", 0, NO_RELATION},
      {"", "n", 0, NO_RELATION},
      {"2x=", "n", 0, NO_RIGHT},
      {"x<", "n", 0, NO_RIGHT},
      {"x^2=4", "n", 0, POWER_OF_X},
      {"2(x+1)^2=8", "n", 0, POWER_OF_X},  // the power of a group is never opened
      {"2^x=4", "n", 0, CANNOT_HANDLE},
      {"1/x=2", "n", 0, X_IN_DENOMINATOR},
      {"1/(1+x)=1", "n", 0, X_IN_DENOMINATOR},
      {"2/mx=1", "n", 0, X_IN_DENOMINATOR},  // two over minus x
      {"1/2x=1", "n", 0, X_IN_DENOMINATOR},  // a product written without "*" is one operand
      {"1=3/(2*(x+1))", "n", 0, X_IN_DENOMINATOR},
      {"x(x+1)=2", "n", 0, X_TIMES_X},
      {"xx=1", "n", 0, X_TIMES_X},
      {"[xB1]=2", "n", 0, X_IN_BRACKET_DEN},
      {"[1-1Bx]=2", "n", 0, BRACKET_DEN_ZERO},
      {"y+1=2", "n", 0, CANNOT_HANDLE},
      {"x<3<5", "n", 0, CANNOT_HANDLE},
      {"x(=1", "n", 0, CANNOT_HANDLE},
      {")x(=1", "n", 0, CANNOT_HANDLE},
      {"2**x=1", "n", 0, CANNOT_HANDLE},
      {"3!x!=1", "n", 0, CANNOT_HANDLE},
  });
}

TEST_F(Houtei1ji, BracketsHoldingX) {
  Check({
      {"[2Bx+1]=3", "5", 0, ""},
      {"x+[3B1]=1", "3b2", 0, ""},
      {"[m2K3Bx]=1", "m9", 0, ""},  // minus (2 + x/3)
      {"[1K2Bx]=2", "2", 0, ""},  // 1 + x/2
      {"2[3Bx]=4", "6", 0, ""},
      {"[1+1Bx]*3=3", "2", 0, ""},
  });
}

TEST_F(Houtei1ji, AnswerFormFollowsTheSetting) {
  ANSSYU = 0;
  EXPECT_EQ(SolveLinear("3x=4", 0), "1k3b1");
  ANSSYU = 1;
  EXPECT_EQ(SolveLinear("3x=4", 0), "3b4");
  EXPECT_EQ(SolutionText, "x=3b4");
  ANSSYU = 2;
  EXPECT_EQ(SolveLinear("m3x=4", 0), "m3b4");
  EXPECT_EQ(SolveLinear("3x=1", 0), "3b1");
}

TEST_F(Houtei1ji, EchoAppendsTheSolution) {
  EXPECT_EQ(SolveLinear("2x+1=7", 1), "2x+1=7&x=3");
  EXPECT_EQ(SolveLinear("3x-2<4x", 1), "3x-2<4x&x>m2");
  EXPECT_EQ(SolveLinear("2x+1=2x", 1), "2x+1=2x&x=(不能)");
  EXPECT_EQ(SolveLinear("2x+1", 1), "n");
}

TEST_F(Houtei1ji, EvaluatorFailureLeavesNoOlderMessage) {
  EXPECT_EQ(SolveLinear("2x+1", 0), "n");
  EXPECT_EQ(SolverMessage, NO_RELATION);
  TestPlatform().Clear();
  // The evaluator reports the overflow itself; the solver has nothing of its own to add.
  EXPECT_EQ(SolveLinear("9000000000000000000x+9000000000000000000x=1", 0), "n");
  EXPECT_EQ(SolverMessage, "");
  EXPECT_FALSE(TestPlatform().ShownTexts().empty());
  // A success after a failure clears it too, and the last solution stays until the next success.
  EXPECT_EQ(SolveLinear("2x=4", 0), "2");
  EXPECT_EQ(SolveLinear("1=2=x", 0), "n");
  EXPECT_EQ(SolutionText, "x=2");
}

TEST_F(Houtei1ji, SidesWhileSolving) {
  EXPECT_EQ(SolveLinear("2x+1=7", 0), "3");
  EXPECT_EQ(SolverLeft, "2*x");
  EXPECT_EQ(SolverRight, "6");
  EXPECT_EQ(SolveLinear("3x-2<4x", 0), "m2");
  EXPECT_EQ(SolverLeft, "m1*x");
  EXPECT_EQ(SolverRight, "2");
}

TEST_F(Houtei1ji, RelationSymbols) {
  EXPECT_EQ(RelationSymbols, (std::array<std::string, 5>{"=", "<", "<=", ">", ">="}));
  EXPECT_EQ(RelationSymbol(4), ">=");
  EXPECT_EQ(RelationSymbol(5), "");
  EXPECT_EQ(RelationSymbol(-1), "");
}

TEST_F(Houtei1ji, Stages) {
  struct StageCase {
    std::string (*stage)(const std::string&);
    std::string in, out;
  };
  const std::vector<StageCase> cases = {
      {MakeCoefficientsExplicit, "2x+3", "2*x+3"},
      {MakeCoefficientsExplicit, "x", "1*x"},
      {MakeCoefficientsExplicit, "mx+1", "m1*x+1"},
      {MakeCoefficientsExplicit, "3(x+1)", "3*(1*x+1)"},
      {MakeCoefficientsExplicit, "m(x-2)", "m1*(1*x-2)"},
      {MakeCoefficientsExplicit, "(x+1)(x-1)", "(1*x+1)*(1*x-1)"},
      {ExpandBracketFractions, "[2Bx+1]", "(x+1)/2"},
      {ExpandBracketFractions, "[3B1]+x", "3b1+x"},
      {NormaliseSide, "3(x+1)", "3*x+3"},
      {NormaliseSide, "m(x-2)", "m1*x+2"},
      {NormaliseSide, "2x/3", "3b2*x"},
      {NormaliseSide, "x", "1*x"},
      {NormaliseSide, "2*3+4*x", "6+4*x"},
      {ShapeTerms, "3*m2+x*2", "3*(m2)+2*x"},
  };
  for (const StageCase& c : cases) EXPECT_EQ(c.stage(c.in), c.out) << c.in;
}
