// The worked examples of the calculation process, line for line: expression and switches in, the
// records the display draws at the detailed level out (step number, style letter, expression).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/BunMath.h"
#include "engine/Bunio.h"
#include "engine/Bunsuuh.h"
#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "process/CalcProcManage.h"
#include "process/MainDspManage.h"
#include "support/TestSupport.h"
#include "tools/ProgramState.h"

namespace {

void Fresh() { ResetProgramState(); }

// "003X 2b1+3b1" for each drawn line.
std::vector<std::string> Lines(const std::string& normalized, int detail = 1) {
  std::vector<std::string> out;
  for (const ProcessLine& l : VisibleProcessLines(normalized, detail)) {
    char code[8];
    std::snprintf(code, sizeof code, "%03d%c", l.advice, l.style);
    out.push_back(std::string(code) + " " + l.expr);
  }
  return out;
}

struct Example {
  const char* expression;
  bool alternative;
  int finalForm;  // PROCLASTANS
  int type;
  std::vector<std::string> lines;
};

const std::vector<Example> EXAMPLES = {
    // Sums over a common denominator.
    {"2b1+3b1",
     false,
     0,
     1,
     {"003X 2b1+3b1", "004X [2*3B1*3]+[3*2B1*2]", "005X 6b3+6b2", "035X [6B3+2]", "020X 6b5"}},
    {"4b1+4b1", false, 0, 1, {"005X 4b1+4b1", "035X [4B1+1]", "001X 4b2", "002Y 4b2", "020X 2b1"}},
    {"4b1-4b1", false, 0, 1, {"005X 4b1-4b1", "035X [4B1-1]", "000X [4B0]", "020X 0"}},
    {"m2b1+3b1",
     false,
     0,
     1,
     {"003X m2b1+3b1", "004X m[2*3B1*3]+[3*2B1*2]", "005X m6b3+6b2", "035X [6Bm3+2]", "015X [6Bm1]",
      "020X m6b1"}},
    // Integer separation with the other method (type 8).
    {"1k2b1+2k3b1",
     true,
     0,
     8,
     {"006X 1k2b1+2k3b1", "007X (1+2b1)+(2+3b1)", "090X 1+2b1+2+3b1", "041X (1+2)+(2b1+3b1)",
      "004X 3+([2*3B1*3]+[3*2B1*2])", "005X 3+(6b3+6b2)", "035X 3+([6B3+2])", "091X 3+(6b5)", "010X 3+6b5",
      "020X 3k6b5"}},
    // Two-term sums.
    {"2+3b1", false, 0, 6, {"010X 2+3b1", "020X 2k3b1"}},
    {"2+1k3b1",
     false,
     0,
     3,
     {"038X 2+1k3b1", "012X 2+3b4", "011X 1b2*3b3+3b4", "005X 3b6+3b4", "035X [3B6+4]", "009X 3b10",
      "020X 3k3b1"}},
    {"2+3b4",
     false,
     0,
     5,
     {"012X 2+3b4", "011X 1b2*3b3+3b4", "005X 3b6+3b4", "035X [3B6+4]", "009X 3b10", "020X 3k3b1"}},
    {"3-4b1",
     true,
     0,
     6,
     {"029X 3-4b1", "090X (2+1)-4b1", "090X 2+1-4b1", "090X 2+(1-4b1)", "005X 2+(4b4-4b1)", "035X 2+[4B4-1]",
      "010X 2+4b3", "020X 2k4b3"}},
    {"1-4b1", true, 0, 6, {"028X 1-4b1", "005X 4b4-4b1", "035X [4B4-1]", "020X 4b3"}},
    {"2k3b1-3",
     true,
     0,
     3,
     {"006X 2k3b1-3", "037X (2+3b1)-3", "090X 2+3b1-3", "090X 2-3+3b1", "022X (2-3)+3b1", "090X m1+3b1",
      "028X m(1-3b1)", "005X m(3b3-3b1)", "034X m([3B3-1])", "020X m3b2"}},
    // Final form improper.
    {"2+3b1", false, 1, 6, {"010X 2+3b1", "040X 2k3b1", "020X 3b7"}},
    // Products and quotients.
    {"3b2*4b3", false, 0, 10, {"001X 3b2*4b3", "062Z 3b2*4b3", "064X [1*2B1*1]", "020X 2b1"}},
    {"3b1*5b2", false, 0, 10, {"060X 3b1*5b2", "065X [3*5B1*2]", "020X 15b2"}},
    {"3b2/3b4", false, 0, 10, {"061X 3b2/3b4", "001X 3b2*4b3", "062Z 3b2*4b3", "064X [1*2B1*1]", "020X 2b1"}},
    {"0*3b2", false, 0, 12, {"063X 0*3b2", "020X 0"}},
    {"0/3b2", false, 0, 12, {"094X 0/3b2", "020X 0"}},
    {"(m3b2)*4b3",
     false,
     0,
     10,
     {"093X (m3b2)*4b3", "001X m3b2*4b3", "062Z m3b2*4b3", "064X m[1*2B1*1]", "020X m2b1"}},
    {"2k3b1*4b3",
     false,
     0,
     11,
     {"066X 2k3b1*4b3", "001X 3b7*4b3", "062Z 3b7*4b3", "064X [1*4B7*1]", "009X 4b7", "020X 1k4b3"}},
    {"2k3b1*5b1", false, 0, 11, {"066X 2k3b1*5b1", "060X 3b7*5b1", "065X [3*5B7*1]", "020X 15b7"}},
    {"3b2*2b3", false, 0, 10, {"001X 3b2*2b3", "062Z 3b2*2b3", "064X [1*1B1*1]", "053X 1b1", "020X 1"}},
    {"2*3b1", false, 0, 12, {"067X 2*3b1", "060X 1b2*3b1", "065X [1*3B2*1]", "020X 3b2"}},
};

TEST(ProcessExamples, WorkedExamplesComeOutLineForLine) {
  for (const Example& ex : EXAMPLES) {
    Fresh();
    ProcessState.alternativeMethod = ex.alternative;
    PROCLASTANS = ex.finalForm;
    PROCTEIDO = 1;
    int r = MakeProcess(ex.expression, true);
    EXPECT_EQ(r, 1) << ex.expression;
    EXPECT_EQ(ProcessTypeNumber(ProcessState.processType), ex.type) << ex.expression;
    EXPECT_EQ(Lines(ProcessState.processText), ex.lines) << ex.expression << "\n" << ProcessState.processText;
    EXPECT_TRUE(TestPlatform().ShownTexts().empty()) << ex.expression;
  }
}

TEST(ProcessExamples, NormalDetailHidesTheRestatingStepsAfterTheFirstLine) {
  Fresh();
  MakeProcess("2b1+3b1", true);
  EXPECT_EQ(Lines(ProcessState.processText, 0),
            (std::vector<std::string>{"003X 2b1+3b1", "005X 6b3+6b2", "020X 6b5"}));
  Fresh();
  MakeProcess("3b2*4b3", true);
  EXPECT_EQ(Lines(ProcessState.processText, 0),
            (std::vector<std::string>{"001X 3b2*4b3", "062Z 3b2*4b3", "064X [1*2B1*1]", "020X 2b1"}));
}

// The line after the bracket step shows the same expression as the generator's first line, which takes
// its place; what stays is the bracket line with advice 91 followed by the simplified expression.
TEST(ProcessExamples, RedundantBracketsAreRemovedInAFirstStepWithTheirAdvice) {
  Fresh();
  ASSERT_EQ(MakeProcess("(2b1)+3b1", true), 1);
  std::vector<std::string> l = Lines(ProcessState.processText);
  ASSERT_GE(l.size(), 2u);
  EXPECT_EQ(l[0], "091X (2b1)+3b1");
  Fresh();
  ASSERT_EQ(MakeProcess("2+(1k3b1)", true), 1);
  l = Lines(ProcessState.processText);
  ASSERT_GE(l.size(), 2u);
  EXPECT_EQ(l[0], "091X 2+(1k3b1)");
  EXPECT_EQ(l[1], "038X 2+1k3b1");
  Fresh();
  EXPECT_EQ(MakeProcess("(2b1+3b1)+1", true), 0);
}

TEST(ProcessExamples, ConversionProcesses) {
  Fresh();
  EXPECT_EQ(Lines(NormalizeProcessText(ImproperToMixedProcess(ParseNumber("3b7"), "3b7"))),
            (std::vector<std::string>{"043X 3b7", "044X [3B3*2+1]", "045X [3B3*2]+3b1", "090X 3b3*2+3b1",
                                      "097Y 3b3*2+3b1", "010X 2+3b1", "047X 2k3b1"}));
  ReduceOnConvert = 0;
  EXPECT_EQ(Lines(NormalizeProcessText(ImproperToMixedProcess(ParseNumber("4b8"), "4b8"))),
            (std::vector<std::string>{"001X 4b8", "058A 4b8", "043X 1b2", "096X 2"}));
  std::vector<std::string> l = Lines(NormalizeProcessText(ImproperToMixedProcess(ParseNumber("6b9"), "6b9")));
  ASSERT_FALSE(l.empty());
  EXPECT_EQ(l.front(), "043X 6b9");
  EXPECT_EQ(l.back(), "047X 1k6b3");
  ReduceOnConvert = 1;
  EXPECT_EQ(Lines(NormalizeProcessText(MixedToImproperProcess(ParseNumber("2k3b1"), "2k3b1"))),
            (std::vector<std::string>{"050X 2k3b1", "051X 2+3b1", "052X 1b2+3b1", "099X 1b2*3b3+3b1",
                                      "060X [1*3B2*3]+3b1", "005X 3b6+3b1", "035X [3B6+1]", "055X 3b7"}));
}

}  // namespace

namespace {

TEST(ProcessDriver, ClassifiesByTheKindsOfNumbersAndOperators) {
  struct C {
    const char* expr;
    int type;
  };
  const std::vector<C> cases = {
      {"2b1+3b1", 1},    {"2+3b1", 6},       {"1k2b1+2k3b1", 8}, {"1k2b1+2+3b1", 2}, {"0.5+3b1", 4},
      {"3b4+2+3b1", 4},  {"2+1k3b1", 3},     {"2+3b4", 5},       {"1k2b1+3b4", 7},   {"3b2*4b3", 10},
      {"2k3b1*4b3", 11}, {"2*3b1", 12},      {"2*0.5", 13},      {"2*3", 0},         {"2b1+3b1*2", 0},
      {"2^2+3b1", 0},    {"3b1", 0},         {"(2b1)+3b1", 1},   {"(2b1+3b1)+1", 0}, {"2k3b1*0.5", 13},
      {"1+2", 0},        {"[6B1+2]+3b1", 0}, {"x+3b1", 0},       {"3!+3b1", 0},
  };
  for (const C& c : cases) {
    ExpressionProfile p = ClassifyExpression(c.expr);
    EXPECT_EQ(ProcessTypeNumber(p.type), c.type) << c.expr;
  }
  ExpressionProfile p = ClassifyExpression("3b4-2+3b1");
  EXPECT_EQ(p.plusCount, 1);
  EXPECT_EQ(p.minusCount, 1);
  EXPECT_EQ(p.sumTerms, 3);
  EXPECT_EQ(p.improperCount, 1);
  EXPECT_EQ(p.properCount, 1);
  EXPECT_EQ(p.integerCount, 1);
  EXPECT_EQ(ClassifyExpression("3b2/4b3*2").divideCount, 1);
}

TEST(ProcessDriver, DeclinesWhatHasNoProcess) {
  for (const char* e : {"2b1:3b1", "2*3", "3b1", "(2b1+3b1)+1", "9999999999999999999+2b1"}) {
    Fresh();
    EXPECT_EQ(MakeProcess(e, true), 0) << e;
    EXPECT_TRUE(ProcessState.processOk) << e;
    EXPECT_EQ(ProcessState.processText, "") << e;
  }
  Fresh();
  EXPECT_EQ(MakeProcess("2b1+3b1", false), 0);
  // The text after "=" is not part of the expression.
  Fresh();
  EXPECT_EQ(MakeProcess("2b1+3b1=6b5", true), 1);
  EXPECT_EQ(ProcessTypeNumber(ProcessState.processType), 1);
}

TEST(ProcessDriver, CommonDenominatorOverflowFailsWithTheMessage) {
  Fresh();
  EXPECT_EQ(MakeProcess("9223372036854775807b1+2b1", true), 0);
  EXPECT_FALSE(ProcessState.processOk);
  EXPECT_EQ(TestPlatform().ShownTexts(), std::vector<std::string>{"報告!!: ◆通分に失敗しました！"});
  bool beeped = false;
  for (const auto& m : TestPlatform().log) beeped = beeped || m.kind == "beep";
  EXPECT_TRUE(beeped);
  // The next run starts afresh.
  TestPlatform().Clear();
  EXPECT_EQ(MakeProcess("2b1+3b1", true), 1);
  EXPECT_TRUE(ProcessState.processOk);
}

TEST(ProcessDriver, DivisionByZeroShowsItsMessageAndStoresTheTitleOnly) {
  for (const char* e : {"3b2/0", "3b2/3b0", "0/3b2/0"}) {
    Fresh();
    EXPECT_EQ(MakeProcess(e, true), 1) << e;
    EXPECT_EQ(ProcessState.processText, "") << e;
    EXPECT_NE(ProcessTypeNumber(ProcessState.processType), 0) << e;
    EXPECT_EQ(TestPlatform().ShownTexts(), std::vector<std::string>{"注意!!: ０で割ることは許されません！"})
        << e;
    TestPlatform().Clear();
  }
}

TEST(ProcessDriver, TheMethodSwitchStaysUntilF6IsPressedAgain) {
  Fresh();
  int remade = 0;
  ProcessHooks.remakeAfterToggle = [&] { ++remade; };
  ToggleAlternativeMethod();
  EXPECT_TRUE(ProcessState.alternativeMethod);
  EXPECT_EQ(remade, 1);
  ASSERT_EQ(MakeProcess("2+3b4", true), 1);
  EXPECT_EQ(Lines(ProcessState.processText).front(), "013X 2+3b4");
  ASSERT_EQ(MakeProcess("3+5b7", true), 1);
  EXPECT_EQ(Lines(ProcessState.processText).front(), "013X 3+5b7");
  ToggleAlternativeMethod();
  ASSERT_EQ(MakeProcess("2+3b4", true), 1);
  EXPECT_EQ(Lines(ProcessState.processText).front(), "012X 2+3b4");
  ProcessHooks = ProcessScreenHooks{};
}

TEST(ProcessDriver, TheLineIsMarkedFinishedOnEveryRun) {
  Fresh();
  int marked = 0;
  ProcessHooks.markLineFinished = [&] { ++marked; };
  MakeProcess("2b1+3b1", true);
  MakeProcess("2*3", true);
  EXPECT_EQ(marked, 2);
  ProcessHooks = ProcessScreenHooks{};
}

TEST(ProcessDriver, AReducibleTwoTermAnswerIsReducedBeforeTheLastLine) {
  // One reducible fraction is left for after the addition; the answer still ends in lowest terms.
  Fresh();
  ASSERT_EQ(MakeProcess("2+4b2", true), 1);
  std::vector<std::string> l = Lines(ProcessState.processText);
  EXPECT_EQ(l.back(), "020X 2k2b1");
  Fresh();
  ASSERT_EQ(MakeProcess("0+3b1", true), 1);
  EXPECT_EQ(Lines(ProcessState.processText).back(), "020X 3b1");
}

}  // namespace

namespace {

TEST(ProcessDriver, AnUnreadableIntegerAtABorrowingStepEndsWithItsOwnMessage) {
  // 9223372036854775807 − 1 fails in the evaluator (its sum check adds the magnitudes); the borrowing
  // step then cannot read the integer part, says so, and no process is stored.
  Fresh();
  ProcessState.alternativeMethod = true;
  EXPECT_EQ(MakeProcess("9223372036854775807-1k3b1", true), 0);
  EXPECT_FALSE(ProcessState.processOk);
  EXPECT_EQ(ProcessState.processText, "");
  std::vector<std::string> shown = TestPlatform().ShownTexts();
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back(), "Warning!!: int64 Over...");
}

TEST(ProcessDriver, ASignTypedAfterAnOperatorIsMergedAsABracketStep) {
  Fresh();
  ASSERT_EQ(MakeProcess("2b1-m3b1", true), 1);
  std::vector<std::string> l = Lines(ProcessState.processText);
  EXPECT_EQ(l.front(), "091X 2b1-m3b1");
  EXPECT_EQ(l[1], "003X 2b1+3b1");
  Fresh();
  ASSERT_EQ(MakeProcess("2b1*m3b1", true), 1);
  l = Lines(ProcessState.processText);
  EXPECT_EQ(l.front(), "093X 2b1*m3b1");
  EXPECT_EQ(l.back(), "020X m6b1");
}

}  // namespace
