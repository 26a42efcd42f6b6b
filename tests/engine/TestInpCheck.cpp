// Tests of the keystroke checker: keys typed one after another as the calculation line offers them, the
// refusals of every state, the digit-run limit, and the whole-text check.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/InpCheck.h"
#include "support/TestSupport.h"

namespace {

struct Typed {
  std::string line;  // the stored characters of the accepted keys
  int refusedAt = 0;  // 1-based position of the first refused key, 0 when all were accepted
  int errorNo = -1;
};

// Offers the keys one by one as the calculation line does: its own previous character (the last stored
// one) and state, stopping at the first refusal.
Typed TypeKeys(const std::string& keys, int omit_mul) {
  ResetInpCheck();
  Typed t;
  char prev = '$';
  CheckState state = CheckState::LineStart;
  for (size_t i = 0; i < keys.size(); ++i) {
    if (!CheckKey(keys[i], prev, state, omit_mul)) {
      t.refusedAt = static_cast<int>(i) + 1;
      t.errorNo = ErrorNo;
      return t;
    }
    t.line += StoredChar;
    prev = StoredChar;
    state = CheckerState.state;
  }
  return t;
}

struct KeyCase {
  const char* keys;
  int omit;
  const char* stored;  // expected line when every key is accepted (nullptr when one is refused)
  int refusedAt;
  int errorNo;
};

std::string Describe(const KeyCase& c) {
  return std::string("keys \"") + c.keys + "\" omit_mul=" + std::to_string(c.omit);
}

void RunKeyCases(const std::vector<KeyCase>& cases) {
  for (const auto& c : cases) {
    Typed t = TypeKeys(c.keys, c.omit);
    if (c.stored) {
      EXPECT_EQ(t.refusedAt, 0) << Describe(c) << " refused with " << t.errorNo;
      EXPECT_EQ(t.line, c.stored) << Describe(c);
    } else {
      EXPECT_EQ(t.refusedAt, c.refusedAt) << Describe(c) << " stored \"" << t.line << "\"";
      EXPECT_EQ(t.errorNo, c.errorNo) << Describe(c);
    }
  }
}

}  // namespace

TEST(InpCheck, TypedLinesAreStoredOrRefusedAsTheTablesSay) {
  RunKeyCases({
      // Signs are stored as p and m; operators stay as typed.
      {"-3", 0, "m3", 0, 0},
      {"+3", 0, "p3", 0, 0},
      {"2-3", 0, "2-3", 0, 0},
      {"(-2)*(+3)", 0, "(m2)*(p3)", 0, 0},
      {"2^-3", 0, "2^m3", 0, 0},
      {"2*-", 0, nullptr, 3, 4},
      // Powers of fractions need brackets; powers of decimals do not.
      {"3b1^", 0, nullptr, 4, 28},
      {"(3b1)^2", 0, "(3b1)^2", 0, 0},
      {"2.5^2", 0, "2.5^2", 0, 0},
      {"1k2b3+3b2", 0, "1k2b3+3b2", 0, 0},
      {"1k2.", 0, nullptr, 4, 9},
      {"1.5b", 0, nullptr, 4, 13},
      // Decimal points and the repeating mark.
      {"1.2.", 0, nullptr, 4, 29},
      {"0.1@3@", 0, nullptr, 6, 13},
      {"0.@3", 0, "0.@3", 0, 0},
      {"0.1@3", 0, "0.1@3", 0, 0},
      {"0.@+", 0, nullptr, 4, 5},
      {"0.1@=", 0, nullptr, 5, 5},
      {"0.@@", 0, nullptr, 4, 5},
      {"0.3u=", 0, "0.3u=", 0, 0},
      {"0.3u+", 0, nullptr, 5, 14},
      // The omitted multiplication sign.
      {"2(", 0, nullptr, 2, 22},
      {"2(", 1, "2(", 0, 0},
      {"2x", 0, nullptr, 2, 33},
      {"2x", 1, "2x", 0, 0},
      {"(1+1)(2+1)", 1, "(1+1)(2+1)", 0, 0},
      {"(1+1)(", 0, nullptr, 6, 8},
      {"xx", 1, nullptr, 2, 35},
      {"xx", 0, nullptr, 2, 22},
      {"xy", 1, "xy", 0, 0},
      {"3b1(", 0, nullptr, 4, 33},
      {"x(", 0, nullptr, 2, 33},
      {"x2", 1, nullptr, 2, 33},
      // Equals signs and relations.
      {"1=2=", 0, "1=2=", 0, 0},
      {"1==", 0, nullptr, 3, 36},
      {"=", 0, nullptr, 1, 0},
      {"1<2<", 0, nullptr, 4, 40},
      {"1=2<", 0, nullptr, 4, 40},
      {"x<=3", 0, "x<=3", 0, 0},
      {"x>=3", 0, "x>=3", 0, 0},
      {"1:2:", 0, nullptr, 4, 38},
      {"1:2=3:6", 0, "1:2=3:6", 0, 0},
      // Brackets.
      {")", 0, nullptr, 1, 0},
      {"3)", 0, nullptr, 2, 20},
      {"(1+2=", 0, nullptr, 5, 19},
      {"((1)+2)=", 0, "((1)+2)=", 0, 0},
      // Expression fractions.
      {"[3b=", 0, nullptr, 4, 30},
      {"[3b1]=", 0, "[3B1]=", 0, 0},
      {"[2+1k", 0, nullptr, 5, 27},
      {"[6b1+2]", 0, "[6B1+2]", 0, 0},
      {"[x+1b2]", 0, "[x+1B2]", 0, 0},
      {"[2k3b1]", 0, "[2K3B1]", 0, 0},
      {"[2.5.1]", 0, "[2.5.1]", 0, 0},
      {"2[", 0, nullptr, 2, 22},
      {"2+[1b2]", 0, "2+[1B2]", 0, 0},
      {"[1b2]2", 0, nullptr, 6, 8},
      // Permutations, combinations, factorials.
      {"5P:", 0, nullptr, 3, 15},
      {"5P2:3", 0, "5P2:3", 0, 0},
      {"5C2+1", 0, "5C2+1", 0, 0},
      {"3!+1", 0, "3!+1", 0, 0},
      {"3!!", 0, nullptr, 3, 8},
      // The root group and keys without a meaning.
      {"r2_+3", 0, "r2_+3", 0, 0},
      {"rr", 0, nullptr, 2, 37},
      {"_", 0, nullptr, 1, 0},
      {"%", 0, nullptr, 1, 39},
      {"1+%", 0, nullptr, 3, 39},
  });
}

// For each state: a prefix that leads there, and keys it refuses with their numbers.
TEST(InpCheck, EachStateRefusesWithItsNumberOrTheRuleNumber) {
  struct StateCase {
    const char* prefix;
    int omit;
    int state;
    const char* refused;  // keys each refused after the prefix
    int errorNo;
  };
  const std::vector<StateCase> cases = {
      {"", 0, 0, ")*/!^.u:bk", 0},
      {"1=", 0, 0, "<>", 40},
      {"1=", 0, 0, "=", 36},
      {"(", 0, 1, ")*/!^:=", 1},
      {"-", 0, 2, "-+)*=^", 2},
      {"1", 0, 3, "u]@", 3},
      {"1", 0, 3, "([", 22},
      {"1", 0, 3, "x", 33},
      {"1+", 0, 4, "*+)=^.", 4},
      {"1b", 0, 5, "+b).x", 5},
      {"1.", 0, 5, "+(", 5},
      {"(1)", 0, 8, "2x(.[", 8},
      {"3!", 0, 8, "!", 8},
      {"1k2", 0, 9, ".+)=k", 9},
      {"3b1", 0, 10, "^", 28},
      {"3b1", 0, 10, "(", 33},
      {"3b1", 0, 10, ".b!", 10},
      {"2^", 0, 11, "(*=", 11},
      {"2^3", 0, 12, "x!.(", 12},
      {"1.2", 0, 13, ".", 29},
      {"1.2", 0, 13, "(", 33},
      {"1.2", 0, 13, "bk!", 13},
      {"1.2@3", 0, 13, "@", 13},
      {"0.3u", 0, 14, "+1u)", 14},
      {"5P", 0, 15, ":+)=^", 15},
      {"5P2", 0, 15, "!.", 15},
      {"x", 1, 16, "2", 33},
      {"x", 1, 16, "x", 35},
      {"x", 0, 16, "y", 22},
      {"x", 0, 16, "(", 33},
      {"x", 0, 16, "!.", 16},
      // Inside [ … ] a refusal without a number of its own shows 32.
      {"[", 0, 50, "*)]!", 32},
      {"[", 0, 50, "<=>", 30},
      {"[-", 0, 52, "*-]", 32},
      {"[1", 0, 53, "(", 32},
      {"[1", 0, 53, ")", 30},
      {"[1+", 0, 54, "*)]", 32},
      {"[1b", 0, 55, "*)]", 32},
      {"[1k", 0, 56, "*)]", 32},
      {"[1.", 0, 57, "+]", 32},
      {"[(1)", 0, 58, "1(", 32},
      {"[(1)", 0, 58, ")", 20},
      {"[1k2", 0, 59, ")]", 32},
      {"[1b2", 0, 60, ")", 20},
      {"[1^", 0, 61, "*)]", 20},
      {"[1^2", 0, 62, "(!", 20},
      {"[5P", 0, 64, "+]", 32},
      {"[x", 0, 66, "2", 33},
      {"[x", 0, 66, "y", 22},
      {"[x", 1, 66, "x", 35},
  };
  for (const auto& c : cases) {
    Typed t = TypeKeys(c.prefix, c.omit);
    ASSERT_EQ(t.refusedAt, 0) << "prefix \"" << c.prefix << "\"";
    ASSERT_EQ(StateNumber(CheckerState.state), c.state) << "prefix \"" << c.prefix << "\"";
    const InpCheckState before = CheckerState;
    for (const char* k = c.refused; *k; ++k) {
      EXPECT_FALSE(CheckKey(*k, before.prevChar, before.state, c.omit))
          << "prefix \"" << c.prefix << "\" key '" << *k << "'";
      EXPECT_EQ(ErrorNo, c.errorNo) << "prefix \"" << c.prefix << "\" key '" << *k << "'";
      // A refusal changes nothing but the message number and the digit run.
      EXPECT_EQ(CheckerState.state, before.state);
      EXPECT_EQ(CheckerState.bracketMode, before.bracketMode);
      EXPECT_EQ(CheckerState.opened, before.opened);
      EXPECT_EQ(CheckerState.closed, before.closed);
      EXPECT_EQ(CheckerState.colonCount, before.colonCount);
      EXPECT_EQ(CheckerState.equalsSeen, before.equalsSeen);
      EXPECT_EQ(CheckerState.relationSeen, before.relationSeen);
      EXPECT_EQ(CheckerState.bracketText, before.bracketText);
      EXPECT_EQ(CheckerState.storedChar, before.storedChar);
    }
  }
}

TEST(InpCheck, SignsAfterSignsAndOperatorsOnlyForProgramTexts) {
  RunKeyCases({{"2*m3", 0, nullptr, 3, 4}, {"-m3", 0, nullptr, 2, 2}, {"[2*m3]", 0, nullptr, 4, 32}});
  ResetInpCheck();
  RelaxedSigns = true;
  EXPECT_EQ(CheckText("2*m3+m2*mm4", {.collectText = true, .omitMul = true}), 0);
  EXPECT_EQ(CheckedText, "2*m3+m2*mm4");
  EXPECT_EQ(CheckText("[2*m3]", {.collectText = true, .omitMul = true}), 0);
  EXPECT_TRUE(RelaxedSigns) << "the whole-text check keeps the evaluator's flag";
  ResetInpCheck();
  EXPECT_FALSE(RelaxedSigns);
}

TEST(InpCheck, NineteenDigitsInARowAndNoMore) {
  const std::string nineteen = "1234567890123456789";
  Typed t = TypeKeys(nineteen, 0);
  EXPECT_EQ(t.refusedAt, 0);
  EXPECT_TRUE(TestPlatform().Shown().empty());

  t = TypeKeys(nineteen + "0", 0);
  EXPECT_EQ(t.refusedAt, 20);
  EXPECT_EQ(t.errorNo, 21);
  auto shown = TestPlatform().Shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].kind, "notice");
  EXPECT_EQ(shown[0].caption, "警告！");
  EXPECT_EQ(shown[0].text, "$ 19ケタ以上は入力不可！");
  EXPECT_EQ(shown[0].durationMs, 1500);

  // Every run counts on its own: the decimal point and the operators start new ones.
  EXPECT_EQ(TypeKeys(nineteen + "." + nineteen + "+" + nineteen, 0).refusedAt, 0);
  // Inside [ … ] the limit is the same, counted separately.
  t = TypeKeys("[1b" + nineteen + "1", 0);
  EXPECT_EQ(t.refusedAt, 23);
  EXPECT_EQ(t.errorNo, 21);
  EXPECT_EQ(TypeKeys("[1b" + nineteen + "]", 0).line, "[1B" + nineteen + "]");
  // The whole-text check stops at the 20th digit as well.
  EXPECT_EQ(CheckText(nineteen + "12", {}), 20);
}

// A refused key leaves the line as it was, so the digits on either side of it are still one number: a
// refused letter between the 19th and a 20th digit must not let the 20th onto the line (the whole-text
// check would then refuse the line the keys built).
TEST(InpCheck, RefusedKeysDoNotBreakTheDigitRun) {
  const std::string nineteen = "1234567890123456789";
  TypeKeys(nineteen, 0);
  const char prev = '9';
  const CheckState state = CheckerState.state;
  EXPECT_FALSE(CheckKey('0', prev, state, 0));
  EXPECT_EQ(ErrorNo, 21);
  EXPECT_FALSE(CheckKey('u', prev, state, 0));
  EXPECT_EQ(ErrorNo, 3);
  EXPECT_FALSE(CheckKey('0', prev, state, 0));
  EXPECT_EQ(ErrorNo, 21);
  // Inside [ … ] the same.
  TypeKeys("[1b" + nineteen, 0);
  const CheckState bracketState = CheckerState.state;
  EXPECT_FALSE(CheckKey('u', prev, bracketState, 0));
  EXPECT_FALSE(CheckKey('0', prev, bracketState, 0));
  EXPECT_EQ(ErrorNo, 21);
  // An accepted key other than a digit still starts a new run.
  TypeKeys(nineteen, 0);
  EXPECT_TRUE(CheckKey('+', prev, CheckerState.state, 0));
  EXPECT_TRUE(CheckKey('0', '+', CheckerState.state, 0));
}

TEST(InpCheck, AcceptedKeysUpdateCountersAndBracketText) {
  TypeKeys("((1+2)", 0);
  EXPECT_EQ(CheckerState.opened, 2);
  EXPECT_EQ(CheckerState.closed, 1);
  TypeKeys("1:2=", 0);
  EXPECT_EQ(CheckerState.colonCount, 0) << "the other side of the equation may have its own colon";
  EXPECT_TRUE(CheckerState.equalsSeen);
  TypeKeys("[2k-3b", 0);
  EXPECT_TRUE(CheckerState.bracketMode);
  EXPECT_EQ(BracketText, "[2Km3B");
  TypeKeys("[2k3b1]", 0);
  EXPECT_FALSE(CheckerState.bracketMode);
  EXPECT_EQ(CheckerState.state, CheckState::AfterClose);
}

TEST(InpCheck, WholeTextIsNormalised) {
  ResetInpCheck();
  EXPECT_EQ(CheckText("-3+(+2)*[1k2b3-x]", {.collectText = true}), 0);
  EXPECT_EQ(CheckedText, "m3+(p2)*[1K2B3-x]");
  EXPECT_FALSE(CheckerState.bracketMode);

  // Without collect the normalised text is not kept.
  EXPECT_EQ(CheckText("-3", {}), 0);
  EXPECT_EQ(CheckedText, "");

  // An unclosed expression fraction passes, and bracket mode is off afterwards.
  EXPECT_EQ(CheckText("[3b1", {.collectText = true}), 0);
  EXPECT_FALSE(CheckerState.bracketMode);

  EXPECT_EQ(CheckText("", {.collectText = true}), 0);
  EXPECT_EQ(CheckedText, "");
}

TEST(InpCheck, WholeTextCutAtEqualsAndRestartAtAmpersand) {
  ResetInpCheck();
  EXPECT_EQ(CheckText("1+2=))", {.cutAtEquals = true, .collectText = true}), 0);
  EXPECT_EQ(CheckedText, "1+2=");
  EXPECT_EQ(CheckText("1+2=))", {.collectText = true}), 5);
  EXPECT_EQ(ErrorNo, 0);

  // After "&" a text of its own begins: its relation and equals are allowed again.
  EXPECT_EQ(CheckText("3b1+1=3b4&1k3b1", {.collectText = true}), 0);
  EXPECT_EQ(CheckedText, "3b1+1=3b4&1k3b1");
  EXPECT_EQ(CheckText("x<3&x<3", {.collectText = true, .omitMul = true}), 0);
  EXPECT_EQ(CheckText("-x=3&x=-3", {.collectText = true, .omitMul = true}), 0);
  EXPECT_EQ(CheckedText, "mx=3&x=m3");
  // The parenthesis counts run on across "&".
  EXPECT_EQ(CheckText("(1&2=", {.collectText = true}), 5);
  EXPECT_EQ(ErrorNo, 19);
}

TEST(InpCheck, WholeTextStartsAfresh) {
  // Nothing an earlier text or a half-typed line left behind decides about the next text.
  ResetInpCheck();
  EXPECT_EQ(CheckText("r2", {.collectText = true}), 0);
  EXPECT_EQ(CheckText("r3", {.collectText = true}), 0);
  TypeKeys("((1+[2", 0);
  EXPECT_EQ(CheckText("1+2=", {.collectText = true}), 0);
  EXPECT_EQ(CheckText("0.@3+0.@3", {.collectText = true}), 0);
}

TEST(InpCheck, WholeTextRefusalIsReportedWithItsPosition) {
  ResetInpCheck();
  EXPECT_EQ(CheckText("1+*2", {}), 3);
  EXPECT_EQ(ErrorNo, 4);
  EXPECT_TRUE(TestPlatform().Shown().empty()) << "no message box without show_message";

  EXPECT_EQ(CheckText("1+*2", {.collectText = true, .showMessage = true}), 3);
  auto shown = TestPlatform().Shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].kind, "message");
  EXPECT_EQ(shown[0].caption, "ｴﾗｰの報告");
  EXPECT_EQ(shown[0].text, "文字列>> 1+*2\n\n◇ｴﾗｰ:: (3字目) [4]: 演算記号の連続は不可");

  // Bytes outside the notation are refused where they stand, never read past.
  EXPECT_EQ(CheckText(std::string("12\0", 3), {}), 3);
  EXPECT_EQ(CheckText("1+\xef\xbc\x91", {}), 3);
}

TEST(InpCheck, MessageTableEntriesAreExact) {
  EXPECT_EQ(CheckMessage(0), "[0]: 符号+,-,数字,'(' 以外は不可");
  EXPECT_EQ(CheckMessage(6), "[6]: ");
  EXPECT_EQ(CheckMessage(11), "[11]:");
  EXPECT_EQ(CheckMessage(18), "[18]: 分数の累乗は（\u3000）でくくる。");
  EXPECT_EQ(CheckMessage(24), "[24]: 式分数[\u3000]の中では､k､b を K､B にせよ");
  EXPECT_EQ(CheckMessage(28), "[28]: 分数の累乗は（ ）でくくる");
  EXPECT_EQ(CheckMessage(32), "[32]: ****");
  EXPECT_EQ(CheckMessage(39), "");
  EXPECT_EQ(CheckMessage(40), "[40]: すでに等号・不等号があります｡");
  // Every other entry opens with its own number.
  for (int n = 0; n < CHECK_MESSAGE_COUNT; ++n) {
    if (n == 39) continue;
    std::string head = "[" + std::to_string(n) + "]:";
    EXPECT_EQ(CheckMessage(n).rfind(head, 0), 0u) << n;
  }
  EXPECT_EQ(CheckMessage(-1), "");
  EXPECT_EQ(CheckMessage(CHECK_MESSAGE_COUNT), "");
}

TEST(InpCheck, ResetStartsANewLine) {
  TypeKeys("(1=", 0);
  TypeKeys("[(x", 1);
  ErrorNo = 22;
  CheckedText = "x";
  ResetInpCheck();
  EXPECT_EQ(CheckerState.state, CheckState::LineStart);
  EXPECT_EQ(CheckerState.prevChar, '$');
  EXPECT_FALSE(CheckerState.bracketMode);
  EXPECT_EQ(CheckerState.opened, 0);
  EXPECT_EQ(BracketText, "");
  EXPECT_EQ(ErrorNo, 0);
  EXPECT_EQ(CheckedText, "");
}
