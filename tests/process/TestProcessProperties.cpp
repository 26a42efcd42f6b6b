// Properties of every process over many random sums and products: each line drawn (figure lines of a
// product excepted) has the value of the expression typed, the last line carries advice 20 and is the
// answer in the final form asked for, and cancelled factors keep no common divisor. Exact arithmetic in
// the test comes from ExactValue.h, not from the engine.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "engine/BunMath.h"
#include "engine/Bunio.h"
#include "engine/Bunsuu.h"
#include "engine/Bunsuuh.h"
#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "process/CalcProcManage.h"
#include "process/ExactValue.h"
#include "process/MainDspManage.h"
#include "support/TestSupport.h"
#include "tools/ProgramState.h"

namespace {

void Fresh() {
  ResetProgramState();
  bool alt = ProcessState.alternativeMethod;
  ResetProcessState();
  ProcessState.alternativeMethod = alt;
}

struct Generator {
  std::mt19937 rng{20240611};
  int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

  std::string Proper() {
    int d = Int(2, 12);
    return std::to_string(d) + "b" + std::to_string(Int(1, d - 1));
  }
  std::string Improper() {
    int d = Int(1, 9);
    return std::to_string(d) + "b" + std::to_string(Int(d, 3 * d + 5));
  }
  std::string Mixed() { return std::to_string(Int(1, 6)) + "k" + Proper(); }
  std::string Integer() { return std::to_string(Int(0, 9)); }
  std::string Decimal() {
    std::string s = std::to_string(Int(0, 3)) + ".";
    int places = Int(1, 2);
    for (int i = 0; i < places; ++i) s += static_cast<char>('0' + Int(0, 9));
    return s;
  }
  // A term of the given kind: 0 integer, 1 proper, 2 improper, 3 mixed, 4 decimal.
  std::string Term(int kind) {
    switch (kind) {
      case 0: return Integer();
      case 1: return Proper();
      case 2: return Improper();
      case 3: return Mixed();
      default: return Decimal();
    }
  }
  std::string Sum() {
    int n = Int(0, 3) == 0 ? 3 + Int(0, 1) : 2;
    std::string s;
    bool haveFraction = false;
    for (int i = 0; i < n; ++i) {
      int kind = Int(0, 9) < 2 ? 4 : Int(0, 3);
      if (i == n - 1 && !haveFraction && kind == 0) kind = 1;
      if (kind >= 1 && kind <= 3) haveFraction = true;
      std::string t = Term(kind);
      bool neg = Int(0, 3) == 0;
      if (i == 0) {
        if (neg) t = "m" + t;
      } else {
        s += Int(0, 1) ? "+" : "-";
        if (Int(0, 9) == 0) t = (neg ? "(m" : "(") + t + ")";
      }
      s += t;
    }
    return s;
  }
  std::string Product() {
    int n = Int(2, 4);
    std::string s;
    for (int i = 0; i < n; ++i) {
      int kind = Int(0, 9) < 2 ? 4 : Int(0, 3);
      if (i == 0 && kind == 0) kind = 1;
      std::string t = Term(kind);
      if (i > 0) {
        char op = Int(0, 2) == 0 ? '/' : '*';
        // Division by zero has its own message; it is tested apart.
        if (op == '/' && exact::Value(t)->n == 0) t = "3b2";
        s += op;
      }
      if (Int(0, 7) == 0) t = (Int(0, 1) ? "(m" : "(") + t + ")";
      s += t;
    }
    return s;
  }
};

// Checks every drawn line of the stored process against the expression's value.
void CheckLines(const std::string& expr, exact::Q value, bool product) {
  std::vector<ProcessLine> lines = VisibleProcessLines(ProcessState.processText, 1);
  ASSERT_FALSE(lines.empty()) << expr;
  for (const ProcessLine& l : lines) {
    if (l.style == 'Z') continue;
    auto v = exact::Value(l.expr);
    ASSERT_TRUE(v.has_value()) << expr << ": unreadable line " << l.expr << "\n" << ProcessState.processText;
    EXPECT_TRUE(*v == value) << expr << ": line " << l.expr << " is " << exact::ToString(*v) << ", not "
                             << exact::ToString(value) << "\n"
                             << ProcessState.processText;
  }
  const ProcessLine& last = lines.back();
  EXPECT_EQ(last.advice, 20) << expr << "\n" << ProcessState.processText;
  std::string want = PROCLASTANS == 1 ? exact::ImproperText(value) : exact::MixedText(value);
  EXPECT_EQ(last.expr, want) << expr << "\n" << ProcessState.processText;
  (void)product;
}

TEST(ProcessProperties, EverySumLineKeepsTheValueAndEndsInTheFinalForm) {
  Generator g;
  std::set<int> typesSeen;
  int made = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string expr = g.Sum();
    auto value = exact::Value(expr);
    ASSERT_TRUE(value.has_value()) << expr;
    for (int alt = 0; alt < 2; ++alt) {
      for (int finalForm = 0; finalForm < 2; ++finalForm) {
        ProcessState.alternativeMethod = alt == 1;
        Fresh();
        PROCLASTANS = finalForm;
        PROCTEIDO = round % 2;
        int r = MakeProcess(expr, true);
        if (r == 0) {
          EXPECT_EQ(ProcessTypeNumber(ProcessState.processType), 0) << expr;
          EXPECT_TRUE(ProcessState.processOk) << expr;
          continue;
        }
        ++made;
        typesSeen.insert(ProcessTypeNumber(ProcessState.processType));
        EXPECT_TRUE(ProcessState.processOk);
        CheckLines(expr, *value, false);
        EXPECT_TRUE(TestPlatform().ShownTexts().empty()) << expr;
        if (::testing::Test::HasFailure()) return;
      }
    }
  }
  ProcessState.alternativeMethod = false;
  EXPECT_GT(made, 8000);
  for (int t = 1; t <= 8; ++t) EXPECT_TRUE(typesSeen.count(t)) << "type " << t << " never made";
}

TEST(ProcessProperties, EveryProductLineKeepsTheValueAndCancellationIsComplete) {
  Generator g;
  std::set<int> typesSeen;
  int made = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string expr = g.Product();
    auto value = exact::Value(expr);
    ASSERT_TRUE(value.has_value()) << expr;
    for (int finalForm = 0; finalForm < 2; ++finalForm) {
      Fresh();
      PROCLASTANS = finalForm;
      int r = MakeProcess(expr, true);
      if (r == 0) continue;
      ++made;
      typesSeen.insert(ProcessTypeNumber(ProcessState.processType));
      CheckLines(expr, *value, true);
      EXPECT_TRUE(TestPlatform().ShownTexts().empty()) << expr;
      if (ProcessState.zeroFactor == 0) {
        const CancellationFigure& f = ProcessState.figure;
        ASSERT_EQ(f.numeratorValues.size(), ProcessState.factors.size());
        for (const auto& nv : f.numeratorValues)
          for (const auto& dv : f.denominatorValues) EXPECT_EQ(Gcd64(nv.back(), dv.back()), 1) << expr;
      }
      if (::testing::Test::HasFailure()) return;
    }
  }
  EXPECT_GT(made, 5000);
  for (int t : {10, 11, 12, 13}) EXPECT_TRUE(typesSeen.count(t)) << "type " << t << " never made";
}

}  // namespace
