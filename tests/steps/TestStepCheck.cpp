// The step checker: each known mistake named from the piece before it, the verdicts of right, jumped,
// wrong, unreadable and overflowing steps, the final notes, the state it must leave alone, and the
// strongest property: every process the program draws checks as right.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/BunMath.h"
#include "engine/Bunio.h"
#include "engine/Bunsuuh.h"
#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "process/CalcProcManage.h"
#include "process/MainDspManage.h"
#include "steps/StepCheck.h"
#include "support/TestSupport.h"
#include "tools/ProgramState.h"

namespace {

void Fresh() { ResetProgramState(); }

StepOptions Mixed() { return StepOptions{StepFinalForm::Mixed, true}; }

std::string Describe(const ChainResult& r) {
  std::string s = r.input + " →";
  for (const StepResult& x : r.steps)
    s += std::string(" [") + StepVerdictName(x.verdict) + " " + x.mistake + " final=" + x.finalNote +
         " hint=" + x.hint + "]";
  return s;
}

struct MistakeCase {
  const char* chain;
  const char* id;
};

TEST(StepCheck, EachKnownMistakeIsNamedFromThePieceBefore) {
  const MistakeCase cases[] = {
      {"2b1+3b1=5b2", "add-across"},
      {"1+2b1+3b1=1+5b2", "add-across"},
      {"1k2b1+1k3b1=2k5b2", "add-across"},
      {"4b3-2b1=2b2", "subtract-across"},
      {"2b1+4b1=4b2", "keep-denominator"},
      {"5b4-10b3=5b1", "keep-denominator"},
      {"2b1+3b1=6b1+6b1", "numerators-not-scaled"},
      {"2b1+3b1=6b2", "numerators-not-scaled"},
      {"2*3b1=6b2", "whole-into-both"},
      {"5b2*3=15b6", "whole-into-both"},
      {"3b2/5b4=15b8", "divide-not-inverted"},
      {"1+3b2/5b4=1+15b8", "divide-not-inverted"},
      {"3b2/5b4=2b3*5b4", "dividend-inverted"},
      {"3k4b1-1k4b3=2k4b2", "borrow-swapped"},
      {"3-4b1=3k4b1", "borrow-swapped"},
      {"2k3b1*3=6k3b1", "mixed-part-forgotten"},
      {"2k3b1*3=2k3b3", "mixed-part-forgotten"},
      {"1k2b1*2k3b1=2k6b1", "mixed-part-forgotten"},
      {"2k3b1=3b5", "mixed-to-improper"},
      {"2k3b1=3b3", "mixed-to-improper"},
      {"2k3b1+3b1=3b5+3b1", "mixed-to-improper"},
      {"6b4=3b1", "reduced-unevenly"},
      {"12b8+1=3b1+1", "reduced-unevenly"},
      // One operand of a product rewritten: judged on that operand, even where another mistake of the
      // whole product would reach the same value.
      {"8b6*3=4b2*3", "reduced-unevenly"},
      {"3*8b6=3*4b2", "reduced-unevenly"},
      {"1+8b6*3=1+4b2*3", "reduced-unevenly"},
      {"6k5b2*2=5b17*2", "mixed-to-improper"},
      {"2*6k5b2=2*5b17", "mixed-to-improper"},
      {"6k5b2*2+1=5b17*2+1", "mixed-to-improper"},
      {"2k3b1/3b2=3b5/3b2", "mixed-to-improper"},
      {"1+2*3=9", "left-to-right"},
      {"8-6/2=1", "left-to-right"},
      {"2b1+3b1=m6b5", "sign"},
      {"3-4b1=m4b11", "sign"},
      {"2b1+3b1=5b6", "upside-down"},
      {"0.2*0.3=0.6", "decimal-point"},
      {"1.5+2.25=37.5", "decimal-point"},
  };
  for (const MistakeCase& c : cases) {
    Fresh();
    ChainResult r = CheckChain(c.chain, Mixed());
    ASSERT_EQ(r.steps.size(), 1u) << c.chain;
    EXPECT_EQ(r.steps[0].verdict, StepVerdict::Mistake) << Describe(r);
    EXPECT_EQ(r.steps[0].mistake, c.id) << Describe(r);
    EXPECT_EQ(r.steps[0].advice, MistakeAdvice(c.id)) << c.chain;
    EXPECT_FALSE(r.allRight) << c.chain;
  }
}

TEST(StepCheck, EveryKnownMistakeHasItsOwnAdvice) {
  std::vector<std::string> seen;
  for (const KnownMistake& m : KnownMistakes()) {
    std::string advice = m.advice;
    EXPECT_FALSE(advice.empty()) << m.id;
    for (const std::string& s : seen) EXPECT_NE(s, advice) << m.id;
    seen.push_back(advice);
  }
  EXPECT_EQ(std::string(KnownMistakes().front().advice), "分母どうしはたしません。まず通分しよう。");
}

struct VerdictCase {
  const char* chain;
  std::vector<StepVerdict> verdicts;
};

TEST(StepCheck, VerdictsOfSteps) {
  using V = StepVerdict;
  const VerdictCase cases[] = {
      // One taught step at a time.
      {"2b1+3b1=6b3+6b2=[6B3+2]=6b5", {V::Ok, V::Ok, V::Ok}},
      {"2b1+3b1=6b3+6b2=6b5", {V::Ok, V::Ok}},
      {"3b1+2b1=2b1+3b1", {V::Ok}},
      {"(2b1)+3b1=2b1+3b1", {V::Ok}},
      {"2k3b1=2+3b1=1b2+3b1=1b2*3b3+3b1=[1*3B2*3]+3b1=3b6+3b1=[3B6+1]=3b7",
       {V::Ok, V::Ok, V::Ok, V::Ok, V::Ok, V::Ok, V::Ok}},
      {"3b2/5b4=3b2*4b5=12b10=6b5", {V::Ok, V::Ok, V::Ok}},
      {"3b2*4b3=1b1*2b1=2b1", {V::Ok, V::Ok}},
      {"3-4b1=2+1-4b1=2+4b4-4b1=2+4b3=2k4b3", {V::Ok, V::Ok, V::Ok, V::Ok}},
      {"1+2*3=1+6=7", {V::Ok, V::Ok}},
      {"0.5+3b1=10b5+3b1", {V::Ok}},
      // Steps that look like a mistake but keep the value.
      {"6b4=3b2", {V::Ok}},
      {"2*3b1=3b2", {V::Ok}},
      {"3k4b1-1k4b3=2k4b5-1k4b3=1k4b2=1k2b1", {V::Ok, V::Ok, V::Ok}},
      {"2k3b1=3b7", {V::Ok}},
      // Several taught steps at once.
      {"2b1+3b1=6b5", {V::OkJump}},
      {"2k3b1*3b2=3b7*3b2=9b14", {V::Ok, V::Ok}},
      {"2k3b1*3b2=9b14", {V::OkJump}},
      {"0.5*3b2=3b1", {V::OkJump}},
      // The value changed in a way no known mistake explains.
      {"2b1+3b1=6b7", {V::Wrong}},
      {"3b2*4b3=7b5", {V::Wrong}},
      // After a mistake the next step is compared with the mistaken piece.
      {"2b1+3b1=5b2=5b2", {V::Mistake, V::Ok}},
  };
  for (const VerdictCase& c : cases) {
    Fresh();
    ChainResult r = CheckChain(c.chain, Mixed());
    ASSERT_EQ(r.steps.size(), c.verdicts.size()) << c.chain;
    for (size_t k = 0; k < c.verdicts.size(); ++k)
      EXPECT_EQ(r.steps[k].verdict, c.verdicts[k]) << "step " << k + 1 << ": " << Describe(r);
  }
}

TEST(StepCheck, UnreadablePiecesGiveTheCheckersMessageAndTheChainGoesOn) {
  Fresh();
  ChainResult r = CheckChain("2b1+3b1=6b3**6b2=6b5", Mixed());
  ASSERT_EQ(r.steps.size(), 2u);
  EXPECT_EQ(r.steps[0].verdict, StepVerdict::Unreadable);
  EXPECT_EQ(r.steps[0].position, 5);
  EXPECT_EQ(r.steps[0].checkerMessage, CheckMessage(0));
  EXPECT_NE(r.steps[0].advice.find("5字目"), std::string::npos);
  EXPECT_NE(r.steps[0].advice.find(CheckMessage(0)), std::string::npos);
  // The next step is compared with the last readable piece, the problem.
  EXPECT_EQ(r.steps[1].from, "2b1+3b1");
  EXPECT_EQ(r.steps[1].verdict, StepVerdict::OkJump);
  EXPECT_FALSE(r.allRight);

  // Pieces the checker accepts but that have no value of their own, and empty pieces.
  for (const char* chain : {"2b1=2*x", "2b1+3b1==6b5", "2b1=4:6"}) {
    Fresh();
    r = CheckChain(chain, Mixed());
    ASSERT_FALSE(r.steps.empty()) << chain;
    EXPECT_EQ(r.steps[0].verdict, StepVerdict::Unreadable) << chain;
    EXPECT_GT(r.steps[0].position, 0) << chain;
    EXPECT_FALSE(r.steps[0].checkerMessage.empty()) << chain;
  }
  // An unreadable problem: the steps cannot be compared until a readable piece comes.
  Fresh();
  r = CheckChain("2*x=6=6", Mixed());
  ASSERT_EQ(r.steps.size(), 2u);
  EXPECT_EQ(r.steps[0].verdict, StepVerdict::Unreadable);
  EXPECT_EQ(r.steps[1].verdict, StepVerdict::Ok);
}

TEST(StepCheck, ValuesBeyondSixtyFourBitsAreWrongWithTheOverflowSaid) {
  for (const char* chain : {"9999999999999999999+1=2", "4611686018427387904*4=1", "1=9999999999999999999",
                            "3037000500b1*3037000500b1=1", "2^70=1"}) {
    Fresh();
    TestPlatform().Clear();
    ChainResult r = CheckChain(chain, Mixed());
    ASSERT_EQ(r.steps.size(), 1u) << chain;
    EXPECT_EQ(r.steps[0].verdict, StepVerdict::Wrong) << chain;
    EXPECT_TRUE(r.steps[0].overflow) << chain;
    EXPECT_NE(r.steps[0].advice.find("64ビット"), std::string::npos) << chain;
    // Nothing is shown: the checker reports, it never opens a message box.
    EXPECT_TRUE(TestPlatform().Shown().empty()) << chain;
  }
  Fresh();
  ChainResult r = CheckChain("1/0=1", Mixed());
  EXPECT_EQ(r.steps[0].verdict, StepVerdict::Wrong);
  EXPECT_FALSE(r.steps[0].overflow);
}

struct FinalCase {
  const char* chain;
  StepFinalForm form;
  const char* note;
};

TEST(StepCheck, LastStepGetsANoteWhenTheAnswerIsNotFinished) {
  const FinalCase cases[] = {
      {"2b1+3b1=12b10", StepFinalForm::Mixed, "not-reduced"},
      {"3b2+3b2=3b4", StepFinalForm::Mixed, "improper-left"},
      {"3b2+3b2=3b4", StepFinalForm::Improper, ""},
      {"3b2+3b2=1k3b1", StepFinalForm::Improper, "mixed-left"},
      {"3b2+3b2=1k3b1", StepFinalForm::Mixed, ""},
      {"2b1+3b1=6b3+6b2", StepFinalForm::Mixed, "not-finished"},
      {"2b1+2b1=2b2", StepFinalForm::Mixed, "not-reduced"},
      {"0.2*0.3=0.06", StepFinalForm::Mixed, ""},
      {"1+2=3", StepFinalForm::Mixed, ""},
  };
  for (const FinalCase& c : cases) {
    Fresh();
    ChainResult r = CheckChain(c.chain, StepOptions{c.form, true});
    ASSERT_FALSE(r.steps.empty()) << c.chain;
    const StepResult& last = r.steps.back();
    EXPECT_TRUE(IsRightVerdict(last.verdict)) << Describe(r);
    EXPECT_EQ(last.finalNote, c.note) << Describe(r);
    EXPECT_EQ(r.allRight, std::string(c.note).empty()) << c.chain;
    if (*c.note) {
      EXPECT_NE(last.advice.find(FinalNoteAdvice(c.note)), std::string::npos) << c.chain;
    }
  }
  // No note for a wrong last step.
  Fresh();
  EXPECT_EQ(CheckChain("2b1+3b1=6b7", Mixed()).steps[0].finalNote, "");
}

TEST(StepCheck, HintIsTheProgramsOwnNextStep) {
  Fresh();
  ChainResult r = CheckChain("2b1+3b1=5b2", Mixed());
  EXPECT_EQ(r.steps[0].hint, "6b3+6b2");
  r = CheckChain("1+2*3=9", Mixed());
  EXPECT_EQ(r.steps[0].hint, "1+6");
  r = CheckChain("3b7=2k3b1=2k3b1", Mixed());
  EXPECT_EQ(r.steps[0].hint, "2k3b1");
  EXPECT_EQ(r.steps[1].hint, "");  // the piece before is the finished answer
  r = CheckChain("3b7=3b7", StepOptions{StepFinalForm::Improper, true});
  EXPECT_EQ(r.steps[0].hint, "");
}

TEST(StepCheck, LeavesTheScreensStateAsItWas) {
  Fresh();
  ASSERT_EQ(MakeProcess("3b2*4b3", true), 1);
  EvaluateExpression("1+1");
  CheckKey('2', '$', CheckState::LineStart, false);
  const ProcessStateData process = ProcessState;
  const InpCheckState checker = CheckerState;
  const std::string answer = AnswerMixedText;
  int finished = 0;
  ProcessHooks.markLineFinished = [&] { ++finished; };
  PROCLASTANS = 0;
  PROCTEIDO = 1;
  ChainResult r =
      CheckChain("2b1+3b1=6b5=3b7=2k3b1=9999999999999999999", StepOptions{StepFinalForm::Improper, true});
  EXPECT_EQ(r.steps.size(), 4u);
  EXPECT_EQ(ProcessState.processText, process.processText);
  EXPECT_EQ(ProcessState.processType, process.processType);
  EXPECT_EQ(ProcessState.figure.numeratorValues, process.figure.numeratorValues);
  EXPECT_EQ(CheckerState.state, checker.state);
  EXPECT_EQ(CheckerState.prevChar, checker.prevChar);
  EXPECT_EQ(AnswerMixedText, answer);
  EXPECT_EQ(finished, 0);  // the line of the screen is not marked finished by the hints' processes
  EXPECT_EQ(PROCLASTANS, 0);
  EXPECT_EQ(PROCTEIDO, 1);
  EXPECT_TRUE(TestPlatform().Shown().empty());
  ProcessHooks = ProcessScreenHooks{};
}

TEST(StepCheck, ChainWithoutStepsHasANoteAndIsNotRight) {
  for (const char* chain : {"", "2b1+3b1", "2b1+3b1="}) {
    Fresh();
    ChainResult r = CheckChain(chain, Mixed());
    EXPECT_TRUE(r.steps.empty()) << chain;
    EXPECT_FALSE(r.allRight) << chain;
    EXPECT_FALSE(r.note.empty()) << chain;
  }
}

// The chain's hint is where the pupil goes next: the first step while only the problem is written, the
// next step after a right one, the same step again after a wrong one.
TEST(StepCheck, ChainHintGoesOnFromWhereThePupilStands) {
  struct Case {
    const char* chain;
    const char* hint;
  };
  const Case cases[] = {
      {"3b2+4b1=", "12b8+12b3"},
      {"3b2+4b1", "12b8+12b3"},
      {"2b1+3b1=6b3+6b2", "6b5"},
      {"2b1+3b1=5b2", "6b3+6b2"},
      {"2b1+3b1=6b3+6b2=6b7", "6b5"},
      {"2b1+3b1=6b3+6b2=2+*", "6b5"},
      {"2b1+3b1=6b3+6b2=6b5", ""},
      {"", ""},
      {"2+*=", ""},
  };
  for (const Case& c : cases) {
    Fresh();
    EXPECT_EQ(CheckChain(c.chain, Mixed()).hint, c.hint) << c.chain;
  }
  Fresh();
  EXPECT_EQ(CheckChain("3b2+4b1=", StepOptions{StepFinalForm::Mixed, false}).hint, "");
}

// ---- Every process the program draws is right working ---------------------------------------------

// The chain of a normalised process at a detail level: the problem, then every line drawn.
std::string ProcessChain(const std::string& problem, const std::string& processText, int detail) {
  std::string chain = problem;
  for (const ProcessLine& l : VisibleProcessLines(processText, detail)) {
    std::string e = l.expr;
    while (!e.empty() && e.front() == '=') e.erase(0, 1);
    if (!e.empty()) chain += "=" + e;
  }
  return chain;
}

void ExpectRightWorking(const std::string& chain, StepFinalForm form, const std::string& what) {
  ChainResult r = CheckChain(chain, StepOptions{form, false});
  EXPECT_TRUE(r.allRight) << what << "\n" << Describe(r);
}

std::vector<std::string> Problems() {
  std::vector<std::string> p = {
      // Sums of every type: proper, improper, integers, mixed numbers, decimals, negatives, brackets.
      "2b1+3b1",
      "4b1+4b1",
      "4b1-4b1",
      "3b1-2b1",
      "m2b1+3b1",
      "2b1-3b2",
      "2+3b1",
      "2-3b1",
      "m2+3b1",
      "m2-3b1",
      "3-4b1",
      "1-4b1",
      "0+4b1",
      "m0+4b1",
      "2+3b4",
      "2-3b4",
      "2+1k3b1",
      "3-1k3b2",
      "1k3b2-3",
      "2k3b1-3",
      "2k3b1-0",
      "1k2b1+2k3b1",
      "3k4b1-1k4b3",
      "1k2b1+2b3",
      "2b3+1k2b1",
      "1k2b1+2+3b1",
      "1+2b1+3b1",
      "0.5+3b1",
      "0.25-3b2+1",
      "2b5+3b1+1",
      "(2b1)+3b1",
      "(m2b1)+3b1",
      "6b4+6b2",
      "4b2+6b3",
      "1k4b2+2k6b3",
      "5-2k3b1",
      "1k2b1-2k3b1",
      "7b9+5b3",
      "12b1+18b1+8b3",
      // Products and quotients.
      "3b2*4b3",
      "3b1*5b2",
      "3b2/3b4",
      "3b2*2b3",
      "2*3b1",
      "2k3b1*4b3",
      "1k2b1/2k3b1",
      "0*3b2",
      "0/3b2",
      "(m3b2)*4b3",
      "0.5*3b2",
      "0.2*0.3",
      "2*0.5",
      "1k2b1*3*0.5",
      "5b3/10b9/4b3",
      "m3b2*(m4b3)",
  };
  // And a seeded batch of two- and three-term sums and products.
  std::mt19937 rng(24);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  auto number = [&]() {
    int d = pick(2, 12);
    switch (pick(0, 3)) {
      case 0: return std::to_string(pick(1, 9));
      case 1: return std::to_string(d) + "b" + std::to_string(pick(1, d - 1));
      case 2: return std::to_string(d) + "b" + std::to_string(pick(d, 2 * d + 3));
      default:
        return std::to_string(pick(1, 5)) + "k" + std::to_string(d) + "b" + std::to_string(pick(1, d - 1));
    }
  };
  for (int k = 0; k < 60; ++k) {
    int terms = pick(2, 3);
    bool product = pick(0, 2) == 0;
    std::string e = number();
    for (int t = 1; t < terms; ++t)
      e += std::string(1, product ? "*/"[pick(0, 1)] : "+-"[pick(0, 1)]) + number();
    p.push_back(e);
  }
  return p;
}

TEST(StepCheck, EveryProcessTheProgramDrawsChecksAsRight) {
  int made = 0;
  for (const std::string& problem : Problems())
    for (bool alternative : {false, true})
      for (int finalForm : {0, 1}) {
        Fresh();
        ProcessState.alternativeMethod = alternative;
        PROCLASTANS = finalForm;
        if (MakeProcess(problem, true) != 1 || ProcessState.processText.empty()) continue;
        ++made;
        const std::string processText = ProcessState.processText;
        for (int detail : {0, 1}) {
          std::string chain = ProcessChain(problem, processText, detail);
          Fresh();
          ExpectRightWorking(chain, finalForm == 1 ? StepFinalForm::Improper : StepFinalForm::Mixed,
                             problem + (alternative ? " (F6)" : "") + " detail " + std::to_string(detail));
        }
      }
  EXPECT_GT(made, 100);
}

TEST(StepCheck, ConversionProcessesCheckAsRight) {
  struct Conversion {
    Bunsuu value;
    std::string text;
    bool toMixed;
  };
  const Conversion cases[] = {
      {MakeBunsuu(1, 0, 3, 7), "3b7", true},      {MakeBunsuu(1, 0, 4, 8), "4b8", true},
      {MakeBunsuu(1, 0, 6, 9), "6b9", true},      {MakeBunsuu(1, 0, 6, 27), "6b27", true},
      {MakeBunsuu(1, 2, 3, 1), "2k3b1", false},   {MakeBunsuu(1, 1, 6, 4), "1k6b4", false},
      {MakeBunsuu(1, 5, 12, 7), "5k12b7", false},
  };
  for (const Conversion& c : cases)
    for (int reduce : {0, 1}) {
      Fresh();
      ReduceOnConvert = reduce;
      std::string raw =
          c.toMixed ? ImproperToMixedProcess(c.value, c.text) : MixedToImproperProcess(c.value, c.text);
      ASSERT_NE(raw, "n") << c.text;
      std::string processText = NormalizeProcessText(raw);
      for (int detail : {0, 1}) {
        std::string chain = ProcessChain(c.text, processText, detail);
        Fresh();
        if (reduce == 1) {
          ExpectRightWorking(chain, c.toMixed ? StepFinalForm::Mixed : StepFinalForm::Improper, chain);
          continue;
        }
        // Without reduce-while-converting the answer is meant to stay unreduced.
        ChainResult r =
            CheckChain(chain, StepOptions{c.toMixed ? StepFinalForm::Mixed : StepFinalForm::Improper, false});
        for (const StepResult& s : r.steps) EXPECT_TRUE(IsRightVerdict(s.verdict)) << Describe(r);
        EXPECT_TRUE(r.steps.back().finalNote == "" || r.steps.back().finalNote == "not-reduced")
            << Describe(r);
      }
    }
}

}  // namespace
