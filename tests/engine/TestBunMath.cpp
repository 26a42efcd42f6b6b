#include "engine/BunMath.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "engine/Bunio.h"
#include "engine/Bunsuuh.h"
#include "engine/InpCheck.h"
#include "support/TestSupport.h"
#include "tools/ProgramState.h"

namespace {

using Messages = std::vector<std::string>;

const std::string DIV = "報告!!: ★ｴﾗｰ << ０による除算 >>";
const std::string OVER = "報告！: ｴﾗｰ::ｵｰﾊﾞｰﾌﾛｰ等";
const std::string CANNOT = "ご報告！: 計算ができない式です。";
const std::string NO_OPERATOR = "ご報告！: 演算記号がありません。";
const std::string PARENS = "ご報告！:  ( と ) の数が合わない。";
const std::string PERM = "ご報告！: 順列・組合せの処理に失敗！";
const std::string FACT = "ご報告！: 階乗の処理に失敗！";
const std::string BRACKET = "ご報告！: [ ] 内の処理に失敗！";
const std::string PRODUCT = "警告!: 積の結果がint64の範囲を超えた。";
const std::string BUNHCALC =
    "警告!! <bunHCalc>: [　] 内が､｢帯分数でかつ分数部の符号が負｣となる\n\n定義不能ｴﾗｰを発生しました。";

std::string Range(const std::string& text) {
  return "警告!!: (int64StrMaxCheck)\n文字列< " + text + " >は int64 の有効値を超えた。";
}

void ResetAll() {
  ResetProgramState();
  TestPlatform().Clear();
}

class BunMath : public ::testing::Test {
 protected:
  void SetUp() override { ResetAll(); }
};

struct EvalCase {
  std::string expr;
  int mode;
  int echo;
  std::string text;
  int status;
  Messages messages;
};

void RunTable(const std::vector<EvalCase>& cases) {
  for (const auto& c : cases) {
    ResetAll();
    std::string got = EvaluateExpression(c.expr, EvalOptions::FromCode(c.mode, c.echo == 1));
    EXPECT_EQ(got, c.text) << c.expr << " mode " << c.mode << " echo " << c.echo;
    EXPECT_EQ(EvalStatus, c.status) << c.expr;
    EXPECT_EQ(TestPlatform().ShownTexts(), c.messages) << c.expr;
  }
}

}  // namespace

TEST_F(BunMath, AnswerFormsFollowTheModeAndTheEchoSwitch) {
  RunTable({
      {"1+1", 6, 0, "2", 1, {}},
      {"3b1+3b1", 6, 0, "3b2=0.66666666666666666u", 1, {}},
      {"1k2b1+1k2b1", 6, 0, "3", 1, {}},
      {"2b1+1", 6, 0, "1k2b1=2b3=1.5", 1, {}},
      {"1/8", 6, 0, "8b1=0.125", 1, {}},
      {"7/2", 0, 0, "3k2b1", 1, {}},
      {"7/2", 1, 0, "2b7", 1, {}},
      {"7/2", 2, 0, "3k2b1=2b7", 1, {}},
      {"7/2", 6, 1, "7/2=3k2b1=2b7=3.5", 1, {}},
      {"1+1=", 0, 1, "1+1=2", 1, {}},
      {"2(3+1)=5", 0, 1, "2(3+1)=8", 1, {}},
      {"m10/2", 1, 0, "m5", 1, {}},
      {"10/2", 2, 0, "5", 1, {}},
      {"1-1", 6, 0, "0", 1, {}},
      {"m1/8", 5, 0, "m8b1=m0.125", 1, {}},
      {"1/3", 4, 0, "3b1=0.33333333333333333u", 1, {}},
      {"1/6", 4, 0, "6b1=0.16666666666666666u", 1, {}},
      // An answer whose 18th decimal rounds up keeps the exact 17 digits before "u".
      {"1/7", 4, 0, "7b1=0.14285714285714285u", 1, {}},
  });
}

TEST_F(BunMath, PrecedenceSignsGroupsAndSpecialConstructs) {
  RunTable({
      {"2+3*4", 0, 0, "14", 1, {}},        {"2*3+4", 0, 0, "10", 1, {}},
      {"8/2/2", 0, 0, "2", 1, {}},         {"8-2+1", 0, 0, "7", 1, {}},
      {"2^3^2", 0, 0, "64", 1, {}},        {"m2^2", 0, 0, "4", 1, {}},
      {"2^m2", 1, 0, "4b1", 1, {}},        {"(1+2)*(3+4)", 0, 0, "21", 1, {}},
      {"m(2+3)", 0, 0, "m5", 1, {}},       {"2(3+1)", 0, 0, "8", 1, {}},
      {"(1+1)(2+1)", 0, 0, "6", 1, {}},    {"2-(m3)", 0, 0, "5", 1, {}},
      {"2*(1-3)", 0, 0, "m4", 1, {}},      {"3-(1-3)^2", 0, 0, "m1", 1, {}},
      {"((2))*((3))", 0, 0, "6", 1, {}},   {"5P2", 0, 0, "20", 1, {}},
      {"5C2", 0, 0, "10", 1, {}},          {"5C0", 0, 0, "1", 1, {}},
      {"5C5", 0, 0, "1", 1, {}},           {"20P20", 0, 0, "2432902008176640000", 1, {}},
      {"3!+1", 0, 0, "7", 1, {}},          {"(1+2)!", 0, 0, "6", 1, {}},
      {"0!+1", 0, 0, "2", 1, {}},          {"(3b6)!", 0, 0, "2", 1, {}},
      {"0.1@6+0", 1, 0, "6b1", 1, {}},     {"0.@3*3", 0, 0, "1", 1, {}},
      {"2.@9+0", 0, 0, "3", 1, {}},        {"2.5^2", 0, 0, "6k4b1", 1, {}},
      {"(3b2)^2", 0, 0, "9b4", 1, {}},     {"[6B1+2]+0", 0, 0, "2b1", 1, {}},
      {"[2K3+1B1]*1", 1, 0, "4b9", 1, {}}, {"[mK3B1]+1", 0, 0, "3b2", 1, {}},
      {"[2K3B0]+1", 0, 0, "3", 1, {}},     {"[5]*2", 0, 0, "10", 1, {}},
  });
}

// The decisions where the notation's own rules win over a literal reading of the algorithm.
TEST_F(BunMath, SoundResultsWhereTheLiteralAlgorithmGoesWrong) {
  RunTable({
      // A signed number is one operand, also after a minus or plus.
      {"3b1-m2^2", 1, 0, "m3b11", 1, {}},
      {"1+m2^2", 0, 0, "5", 1, {}},
      {"1-m(2)^2", 0, 0, "5", 1, {}},
      // A negated group after "/" is one divisor, with the powers that follow it.
      {"6/m(3)", 0, 0, "m2", 1, {}},
      {"6/m(1+2)*2", 0, 0, "m4", 1, {}},
      {"18/m(3)^2", 0, 0, "m2", 1, {}},
      {"8/m(m(2))", 0, 0, "4", 1, {}},
      // The group before "^" is the whole group its ")" closes.
      {"(m(3)*2)^2", 0, 0, "36", 1, {}},
      {"(2*(1+1))^2", 0, 0, "16", 1, {}},
      // An expression fraction before "^" is the base as a whole.
      {"[3B1]^2", 1, 0, "9b1", 1, {}},
      {"[mK3B1]^3", 1, 0, "m27b1", 1, {}},
      // Factorials of non-negative integers only; the implied "*" after "!".
      {"(m3)!", 0, 0, "(m3)!", -4, {FACT}},
      {"(3b1)!", 0, 0, "(3b1)!", -4, {FACT}},
      {"(1+1)!(2)", 0, 0, "4", 1, {}},
      {"(1+1)!2", 0, 0, "4", 1, {}},
      // Zero to a negative power is a division by zero; a zero numerator is zero everywhere.
      {"0^m1", 0, 0, "0^m1", -6, {DIV, OVER, CANNOT}},
      {"(1-1)^m2", 0, 0, "(1-1)^m2", -6, {DIV, OVER, CANNOT}},
      {"3b0*2", 0, 0, "0", 1, {}},
      {"2/3b0", 0, 0, "2/3b0", -6, {DIV, OVER, CANNOT}},
      {"(3b0)^2+1", 0, 0, "1", 1, {}},
      // An exponent outside the signed 32-bit range fails like a failed operation.
      {"1^2147483648", 0, 0, "1^2147483648", -6, {OVER, CANNOT}},
      {"1^2147483647", 0, 0, "1", 1, {}},
      {"2^m2147483648", 0, 0, "2^m2147483648", -6, {OVER, CANNOT}},
      // A mixed answer whose improper form leaves the range is reported, not wrapped.
      {"5000000000000000000k3b1+0", 0, 0, "5000000000000000000k3b1+0", -6, {PRODUCT, CANNOT}},
      // The same limit met inside an operation is a failed operation.
      {"5000000000000000000+3b1", 0, 0, "5000000000000000000+3b1", -6, {PRODUCT, OVER, CANNOT}},
  });
}

// Every failure returns the input unchanged, with its status and its messages in the order shown.
TEST_F(BunMath, FailureChainsOfMessages) {
  RunTable({
      {"5", 6, 0, "5", -1, {NO_OPERATOR}},
      {"(3)", 0, 0, "(3)", -1, {NO_OPERATOR}},
      {"m(m5)", 0, 0, "m(m5)", -1, {NO_OPERATOR}},
      {"1+(2", 0, 0, "1+(2", -2, {PARENS}},
      {"2P3", 0, 0, "2P3", -3, {PERM}},
      {"70C35", 0, 0, "70C35", -3, {PRODUCT, PERM}},  // the answer itself is beyond the range
      {"21!", 0, 0, "21!", -4, {PRODUCT, FACT}},
      {"[2K3Bm1]+0", 0, 0, "[2K3Bm1]+0", -5, {BUNHCALC, BRACKET}},
      {"[1-1B1]+0", 0, 0, "[1-1B1]+0", -5, {DIV, OVER, BRACKET}},
      {"[0B1]+0", 0, 0, "[0B1]+0", -5, {BRACKET}},
      // A failed operation outside every group shows the overflow notice; inside a group it does not.
      {"1/0", 6, 1, "1/0", -6, {DIV, OVER, CANNOT}},
      {"1/0=", 6, 1, "1/0=", -6, {DIV, OVER, CANNOT}},
      {"(1/0)+1", 0, 0, "(1/0)+1", -6, {DIV, CANNOT}},
      {"4294967296*4294967296", 0, 0, "4294967296*4294967296", -6, {PRODUCT, OVER, CANNOT}},
      {"(4294967296*4294967296)+1", 0, 0, "(4294967296*4294967296)+1", -6, {PRODUCT, CANNOT}},
      {"9999999999999999999+1",
       0,
       0,
       "9999999999999999999+1",
       -6,
       {Range("9999999999999999999"), OVER, CANNOT}},
      {"0^0", 0, 0, "0^0", -6, {OVER, CANNOT}},
      {"2^63", 0, 0, "2^63", -6, {OVER, CANNOT}},
      {"1+", 0, 0, "1+", -6, {OVER, CANNOT}},
  });
}

TEST_F(BunMath, AnswerStateOfOneEvaluation) {
  EXPECT_EQ(EvaluateExpression("1/4+1", {.forms = AnswerForms::Both, .decimal = true}), "1k4b1=4b5=1.25");
  EXPECT_EQ(EvalStatus, 1);
  EXPECT_EQ(AnswerValueMixed, (Bunsuu{1, 1, 4, 1}));
  EXPECT_EQ(AnswerValueImproper, (Bunsuu{1, 0, 4, 5}));
  EXPECT_EQ(AnswerMixedText, "1k4b1");
  EXPECT_EQ(AnswerImproperText, "4b5");
  EXPECT_EQ(AnswerDecimalText, "1.25");
  EXPECT_TRUE(AnswerHasFraction);
  EXPECT_TRUE(DecimalTerminates);

  EXPECT_EQ(EvaluateExpression("6/3", {.decimal = true}), "2");
  EXPECT_EQ(AnswerDecimalText, "2");
  EXPECT_FALSE(AnswerHasFraction);
  EXPECT_EQ(AnswerImproperText, "2");

  EXPECT_EQ(EvaluateExpression("2/3"), "3b2");
  EXPECT_FALSE(DecimalTerminates);
  EXPECT_EQ(AnswerDecimalText, "");

  // A failure empties the answer texts and leaves the error value.
  EXPECT_EQ(EvaluateExpression("1/0", {.forms = AnswerForms::Both, .decimal = true}), "1/0");
  EXPECT_EQ(AnswerMixedText, "");
  EXPECT_EQ(AnswerDecimalText, "");
  EXPECT_EQ(AnswerValueMixed, BUNSUU_ERROR);
  EXPECT_EQ(AnswerValueImproper, BUNSUU_ERROR);
}

TEST_F(BunMath, DecimalDigitsAreExactForLargeDenominators) {
  // Floating point gets the last digits of this quotient wrong; long division does not.
  EXPECT_EQ(EvaluateExpression("1234567890123456789/9223372036854775783", {.decimal = true}),
            "9223372036854775783b1234567890123456789=0.13385211885526973u");
}

TEST_F(BunMath, RemoveSimpleBracketsInBothModes) {
  struct Case {
    std::string text;
    OtherGroups others;
    std::string result;
    int verdict;
  } cases[] = {
      {"(m3)", OtherGroups::PassOver, "m3", 1},
      {"(3b1)+1", OtherGroups::PassOver, "3b1+1", 1},
      {"((3))", OtherGroups::PassOver, "3", 1},
      {"2-(m3)", OtherGroups::PassOver, "2+3", 1},
      {"2+(m3)", OtherGroups::PassOver, "2-3", 1},
      {"2-(p3)", OtherGroups::PassOver, "2-3", 1},
      {"(1+2)*(3)", OtherGroups::PassOver, "(1+2)*3", 1},
      {"(3)*(1+2)", OtherGroups::PassOver, "3*(1+2)", 1},
      {"(1+2)*(3)", OtherGroups::Stop, "(1+2)*(3)", -1},
      {"(3)*(1+2)", OtherGroups::Stop, "(3)*(1+2)", -1},
      {"(3)*(4)", OtherGroups::Stop, "3*4", 1},
      {"1+2", OtherGroups::Stop, "1+2", 0},
      {"(3b1)^2", OtherGroups::PassOver, "(3b1)^2", 0},
      {"(m3)!", OtherGroups::PassOver, "(m3)!", 0},
      {"(m(3)*2)^2", OtherGroups::PassOver, "(m3*2)^2", 1},
      {"((m2))^2", OtherGroups::PassOver, "(m2)^2", 1},
      {"3b1-m2^2", OtherGroups::PassOver, "3b1-m2^2", 0},
      {"1-m2+3", OtherGroups::PassOver, "1+2+3", 0},
      {"pm3", OtherGroups::PassOver, "m3", 0},
      {"mm3", OtherGroups::PassOver, "3", 0},
      {"mp3", OtherGroups::PassOver, "m3", 0},
      {"pp3", OtherGroups::PassOver, "3", 0},
      {"1+(p(m2))", OtherGroups::PassOver, "1+m2", 1},
      // A relation in the text is no mark of the simplifier.
      {"x<(3)", OtherGroups::PassOver, "x<3", 1},
      {"(2)^2>1", OtherGroups::PassOver, "(2)^2>1", 0},
  };
  for (const auto& c : cases) {
    int verdict = 99;
    EXPECT_EQ(RemoveSimpleBrackets(c.text, c.others, verdict), c.result) << c.text;
    EXPECT_EQ(verdict, c.verdict) << c.text;
  }
}

TEST_F(BunMath, ImpliedMultiplication) {
  struct Case {
    const char* text;
    const char* result;
  } cases[] = {
      {"2(3+1)", "2*(3+1)"},
      {"(1+1)(2+1)", "(1+1)*(2+1)"},
      {"(1+1)2", "(1+1)*2"},
      {"(1+1)!(2)", "(1+1)!*(2)"},
      {"3!2", "3!*2"},
      {"X(1)", "X*(1)"},
      {"m(2)", "m(2)"},
      {"3b1(2)", "3b1*(2)"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(InsertImpliedMultiplication(c.text), c.result) << c.text;
}

TEST_F(BunMath, PermutationsAndCombinations) {
  EXPECT_EQ(Permutation64(5, 2), 20);
  EXPECT_EQ(Permutation64(5, 0), 1);
  EXPECT_EQ(Permutation64(2, 3), -1);
  EXPECT_EQ(Permutation64(20, 20), 2432902008176640000LL);
  EXPECT_TRUE(TestPlatform().ShownTexts().empty());
  EXPECT_EQ(Permutation64(21, 21), -1);
  EXPECT_EQ(TestPlatform().ShownTexts(), Messages{PRODUCT});
  EXPECT_EQ(Permutation64(INT64_MAX, 3), -1);  // stops at the first overflowing factor

  EXPECT_EQ(Combination64(5, 2), 10);
  EXPECT_EQ(Combination64(5, 5), 1);
  EXPECT_EQ(Combination64(5, 0), 1);
  EXPECT_EQ(Combination64(52, 5), 2598960);
  EXPECT_EQ(Combination64(3, 4), -1);

  EXPECT_EQ(ReplacePermutations("5P2+5C2"), "20+10");
  EXPECT_EQ(ReplacePermutations("[5P2B1]"), "[20B1]");
  EXPECT_EQ(ReplacePermutations("P2"), "n");
  EXPECT_EQ(ReplacePermutations("5P"), "n");
  EXPECT_EQ(ReplaceFactorials("3!+4!"), "6+24");
  EXPECT_EQ(ReplaceFactorials("(2*(1+1))!"), "n");  // a group with groups inside is not taken
  EXPECT_EQ(ReplaceFactorials("3b2!"), "n");
  EXPECT_EQ(ReplaceFactorials("!"), "n");
}

// Combinations and permutations are exact whenever the answer fits, even where r! or the long product
// would not; the overflow message comes only for an answer beyond the range.
TEST_F(BunMath, CountingIsExactUpToTheEdgeOfTheRange) {
  struct Case {
    char letter;
    int64_t n, r;
    int64_t value;  // -1: the answer does not fit
  } cases[] = {
      {'C', 30, 15, 155117520},
      {'C', 30, 30, 1},
      {'C', 30, 0, 1},
      {'C', 21, 20, 21},
      {'C', 62, 31, 465428353255261088LL},
      {'C', 66, 33, 7219428434016265740LL},  // the largest central one that fits
      {'C', 67, 33, -1},
      {'C', 67, 34, -1},
      {'C', 1000000, 999999, 1000000},
      {'C', 9223372036854775800LL, 1, 9223372036854775800LL},
      {'C', 9223372036854775800LL, 9223372036854775799LL, 9223372036854775800LL},
      {'C', 4294967296LL, 2, 9223372034707292160LL},
      {'C', 4294967297LL, 2, -1},
      {'C', INT64_MAX, INT64_MAX / 2, -1},  // stops within a few dozen steps
      {'P', 25, 14, 388588515194880000LL},
      {'P', 25, 15, 4274473667143680000LL},
      {'P', 25, 16, -1},
      {'P', 9223372036854775800LL, 1, 9223372036854775800LL},
  };
  for (const auto& c : cases) {
    TestPlatform().Clear();
    const int64_t got = c.letter == 'C' ? Combination64(c.n, c.r) : Permutation64(c.n, c.r);
    EXPECT_EQ(got, c.value) << c.n << c.letter << c.r;
    EXPECT_EQ(TestPlatform().ShownTexts(), c.value < 0 ? Messages{PRODUCT} : Messages{})
        << c.n << c.letter << c.r;
  }
  RunTable({
      {"30C15", 0, 0, "155117520", 1, {}},
      {"62C31+1", 0, 0, "465428353255261089", 1, {}},
      {"67C33", 0, 0, "67C33", -3, {PRODUCT, PERM}},
  });
}

TEST_F(BunMath, SimplifyRatio) {
  const std::string SAME = "報告!: これ以上簡単にできません。";
  const std::string FRONT_ZERO = "報告!: 前項が 0 なので､比を簡単にできません。";
  const std::string BACK_ZERO = "報告!: 後項が 0 なので､比を簡単にできません。";
  struct Case {
    std::string text;
    int echo;
    std::string result;
    Messages messages;
  } cases[] = {
      {"4:6", 0, "2:3", {}},
      {"4:6", 1, "4:6=2:3", {}},
      {"4:6=", 1, "4:6=2:3", {}},
      {"6:3", 0, "2:1", {}},
      {"1+1:4", 0, "1:2", {}},
      {"0.5:1.5", 0, "1:3", {}},
      {"3b1:3b2", 0, "1:2", {}},
      {"m4:6", 0, "m2:3", {}},
      {"2:3", 0, "n", {SAME}},
      {"0:5", 0, "n", {FRONT_ZERO}},
      {"1-1:5", 0, "n", {FRONT_ZERO}},
      {"5:0", 0, "n", {BACK_ZERO}},
      {"4", 0, "n", {}},
      {"4:", 0, "n", {}},
      {"1/0:2", 0, "n", {DIV, OVER, CANNOT}},
  };
  for (const auto& c : cases) {
    ResetAll();
    EXPECT_EQ(SimplifyRatio(c.text, c.echo), c.result) << c.text;
    EXPECT_EQ(TestPlatform().ShownTexts(), c.messages) << c.text;
  }
}

TEST_F(BunMath, SingleOperationAndFlatEvaluation) {
  EXPECT_EQ(Reduce(SingleOperation("3b1+6b1")), (Bunsuu{1, 0, 2, 1}));
  EXPECT_EQ(SingleOperation("(m2)^3"), (Bunsuu{-1, 0, 1, 8}));
  EXPECT_EQ(SingleOperation("2^m1=5"), (Bunsuu{1, 0, 2, 1}));
  EXPECT_EQ(SingleOperation("3b0*5"), BUNSUU_ZERO);
  EXPECT_TRUE(TestPlatform().ShownTexts().empty());
  EXPECT_EQ(SingleOperation("1/0"), BUNSUU_ERROR);
  EXPECT_EQ(TestPlatform().ShownTexts(), Messages{DIV});

  EXPECT_EQ(FormatBunsuu(EvaluateFlat("2-3*4"), 0), "m10");
  EXPECT_EQ(LastResultText, "(m10)");
  EXPECT_EQ(EvaluateFlat("5"), BUNSUU_ERROR);  // no operator
  EXPECT_EQ(EvaluateFlat("1+2:3"), BUNSUU_ERROR);  // a leftover ratio is no answer
  EXPECT_EQ(EvaluateNested("(1+2)*(3-5)").sign, -1);
  EXPECT_EQ(EvaluateNested("m7"), (Bunsuu{-1, 0, 1, 7}));
}

// No text, however long or strange, may crash, hang or read past its end: every rewriting loop of the
// evaluator must make progress.
TEST_F(BunMath, ArbitraryTextsEndWithAnAnswerOrAFailure) {
  const std::string alphabet = "0123456789.@ukbKBmp+-*/^!PC()[]:=<>xyzXYZ&Rn~r_%$ ";
  std::mt19937 rng(20240605);
  for (int i = 0; i < 3000; ++i) {
    std::string text;
    size_t len = rng() % (i % 10 == 0 ? 300 : 24);
    for (size_t j = 0; j < len; ++j) text += alphabet[rng() % alphabet.size()];
    ResetAll();
    std::string got =
        EvaluateExpression(text, EvalOptions::FromCode(static_cast<int>(rng() % 8), rng() % 2 == 1));
    if (EvalStatus < 0) {
      EXPECT_EQ(got, text);
    }
    EXPECT_GE(EvalStatus, -6);
    ResetAll();
    ReplaceExpressionFractions(text);
    RemoveSimpleBrackets(text, rng() % 2 == 1 ? OtherGroups::PassOver : OtherGroups::Stop);
    SimplifyRatio(text, 1);
  }
}

TEST_F(BunMath, LongExpressionOf256Characters) {
  // 1 + (2b1-3b1)*6 + … : each group adds 1, written the way a pupil would.
  std::string text = "1";
  int groups = 0;
  while (text.size() + 13 <= 256) {
    text += "+(2b1-3b1)*6";
    ++groups;
  }
  while (text.size() < 256) text += text.size() == 255 ? "0" : "+0";
  ASSERT_EQ(text.size(), 256u);
  EXPECT_EQ(EvaluateExpression(text), std::to_string(1 + groups));
  EXPECT_EQ(EvalStatus, 1);
}

// ---------------------------------------------------------------------------------------------------
// Differential test: random well-formed expressions against exact rational arithmetic written here.

namespace {

struct Q {
  __int128 n = 0;
  __int128 d = 1;
};

__int128 G(__int128 a, __int128 b) {
  if (a < 0) a = -a;
  if (b < 0) b = -b;
  while (b != 0) {
    __int128 t = a % b;
    a = b;
    b = t;
  }
  return a;
}

// Intermediate values stay small so that the evaluator's 64-bit checks never fire where the exact
// result is well inside the range; a larger value makes the case invalid (skipped).
constexpr __int128 BOUND = 100000000;

std::optional<Q> Make(__int128 n, __int128 d) {
  if (d == 0) return std::nullopt;
  if (d < 0) {
    n = -n;
    d = -d;
  }
  __int128 g = G(n, d);
  if (g > 1) {
    n /= g;
    d /= g;
  }
  if (n > BOUND || -n > BOUND || d > BOUND) return std::nullopt;
  return Q{n, d};
}

struct Gen {
  std::mt19937& rng;
  bool invalid = false;  // a value left the bound
  bool zeroDivide = false;  // the exact computation divides by zero

  int R(int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }

  // An unsigned number in one of the number forms, with its value.
  std::string Number(Q& v) {
    switch (R(4)) {
      case 0: {
        int n = R(20);
        v = Q{n, 1};
        return std::to_string(n);
      }
      case 1: {
        int d = 1 + R(9), n = R(12);
        v = *Make(n, d);
        return std::to_string(d) + "b" + std::to_string(n);
      }
      case 2: {
        int w = 1 + R(3), d = 2 + R(8), n = 1 + R(d - 1);
        v = *Make(static_cast<__int128>(w) * d + n, d);
        return std::to_string(w) + "k" + std::to_string(d) + "b" + std::to_string(n);
      }
      default: {
        int w = R(10), f = R(100);
        v = *Make(static_cast<__int128>(w) * 100 + f, 100);
        std::string ft = std::to_string(f);
        if (ft.size() < 2) ft = "0" + ft;
        return std::to_string(w) + "." + ft;
      }
    }
  }

  std::optional<Q> Pow(Q b, int e) {
    if (b.n == 0 && e < 0) {
      zeroDivide = true;
      return std::nullopt;
    }
    if (b.n == 0 && e == 0) {
      zeroDivide = true;  // 0^0 fails as well
      return std::nullopt;
    }
    Q r{1, 1};
    for (int i = 0; i < (e < 0 ? -e : e); ++i) {
      auto m = Make(r.n * b.n, r.d * b.d);
      if (!m) return std::nullopt;
      r = *m;
    }
    if (e < 0) return Make(r.d, r.n);
    return r;
  }

  // A factor: a signed number, a parenthesised group, a negated group, optionally raised to a power.
  std::string Factor(Q& v, int depth) {
    std::string text;
    bool powerable = false;  // the form may stand before "^" as written
    int kind = depth > 0 ? R(8) : R(2);
    if (kind <= 3) {
      text = Number(v);
      bool plain = text.find('b') == std::string::npos;
      if (R(4) == 0) {
        text = "m" + text;
        v.n = -v.n;
      }
      if (!plain) {
        if (R(2) == 0) {
          text = "(" + text + ")";
          powerable = true;
        }
      } else {
        powerable = true;
      }
    } else if (kind <= 5) {
      text = "(" + Expr(v, depth - 1) + ")";
      powerable = true;
    } else if (kind == 6) {
      // An expression fraction: integer expressions over and under the bar.
      Q d, n;
      text = "[" + IntExpr(d) + "B" + IntExpr(n) + "]";
      if (d.n == 0) {
        zeroDivide = true;
        v = Q{0, 1};
      } else {
        v = *Make(n.n * d.d, n.d * d.n);
      }
      powerable = true;
    } else {
      text = "m(" + Expr(v, depth - 1) + ")";
      v.n = -v.n;
    }
    if (powerable && R(4) == 0) {
      static const int EXPONENTS[] = {0, 1, 2, 3, -1, -2};
      int e = EXPONENTS[R(6)];
      text += "^" + (e < 0 ? "m" + std::to_string(-e) : std::to_string(e));
      auto p = Pow(v, e);
      if (!p) {
        invalid = invalid || !zeroDivide;
        v = Q{0, 1};
      } else {
        v = *p;
      }
    }
    return text;
  }

  // Small integers joined by + - * (left to right, * first), as they stand inside [ ].
  std::string IntExpr(Q& v) {
    std::vector<int> values{R(10)};
    std::vector<char> ops;
    std::string text = std::to_string(values[0]);
    for (int i = R(3); i > 0; --i) {
      char op = "+-*"[R(3)];
      int x = R(10);
      text += op;
      text += std::to_string(x);
      if (op == '*') {
        values.back() *= x;
      } else {
        ops.push_back(op);
        values.push_back(x);
      }
    }
    __int128 sum = values[0];
    for (size_t i = 0; i < ops.size(); ++i) sum += ops[i] == '+' ? values[i + 1] : -values[i + 1];
    v = Q{sum, 1};
    return text;
  }

  std::string Term(Q& v, int depth) {
    std::string text = Factor(v, depth);
    int n = R(3);
    for (int i = 0; i < n; ++i) {
      Q f;
      bool divide = R(2) == 0;
      text += divide ? "/" : "*";
      text += Factor(f, depth);
      std::optional<Q> r;
      if (divide) {
        if (f.n == 0) {
          zeroDivide = true;
          r = Q{0, 1};
        } else {
          r = Make(v.n * f.d, v.d * f.n);
        }
      } else {
        r = Make(v.n * f.n, v.d * f.d);
      }
      if (!r) {
        invalid = true;
        r = Q{0, 1};
      }
      v = *r;
    }
    return text;
  }

  std::string Expr(Q& v, int depth) {
    std::string text = Term(v, depth);
    int n = R(3);
    for (int i = 0; i < n; ++i) {
      Q t;
      bool minus = R(2) == 0;
      text += minus ? "-" : "+";
      text += Term(t, depth);
      auto r = Make(v.n * t.d + (minus ? -1 : 1) * t.n * v.d, v.d * t.d);
      if (!r) {
        invalid = true;
        r = Q{0, 1};
      }
      v = *r;
    }
    return text;
  }
};

std::string ToString(__int128 v) {
  if (v == 0) return "0";
  bool neg = v < 0;
  if (neg) v = -v;
  std::string s;
  while (v > 0) {
    s.insert(s.begin(), static_cast<char>('0' + static_cast<int>(v % 10)));
    v /= 10;
  }
  return neg ? "m" + s : s;
}

// The improper answer text of an exact value: m for a negative value, den b num, or the integer.
std::string ImproperText(const Q& q) {
  if (q.n == 0) return "0";
  std::string sign = q.n < 0 ? "m" : "";
  __int128 n = q.n < 0 ? -q.n : q.n;
  if (q.d == 1) return sign + ToString(n);
  return sign + ToString(q.d) + "b" + ToString(n);
}

}  // namespace

TEST_F(BunMath, AgreesWithExactRationalArithmetic) {
  std::mt19937 rng(7);
  int compared = 0, failures = 0, brackets = 0, powers = 0;
  for (int i = 0; i < 6000; ++i) {
    Gen g{rng};
    Q expected;
    // "+0" makes sure that the text holds an operator (a bare number is refused).
    std::string text = g.Expr(expected, 2) + "+0";
    if (g.invalid) continue;
    ResetAll();
    std::string got = EvaluateExpression(text, {.forms = AnswerForms::Improper});
    if (g.zeroDivide) {
      EXPECT_LT(EvalStatus, 0) << text << " gave " << got;
      ++failures;
      continue;
    }
    ++compared;
    brackets += text.find('[') != std::string::npos;
    powers += text.find('^') != std::string::npos;
    ASSERT_EQ(EvalStatus, 1) << text
                             << " messages: " << ::testing::PrintToString(TestPlatform().ShownTexts());
    EXPECT_EQ(got, ImproperText(expected)) << text;
    EXPECT_TRUE(TestPlatform().ShownTexts().empty()) << text;
  }
  // The generator must really exercise both outcomes.
  EXPECT_GT(compared, 1500);
  EXPECT_GT(failures, 20);
  EXPECT_GT(brackets, 100);
  EXPECT_GT(powers, 300);
}
