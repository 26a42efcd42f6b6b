// Tests of the practice-sheet generator: every problem of every skill, over many seeds, is checked again
// here with the checker, the evaluator, the solver and the process driver; seeds repeat pages exactly,
// versions differ, controls no problem can meet are refused by name, and the screen's state survives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <numeric>
#include <set>

#include "engine/BunMath.h"
#include "engine/Bunio.h"
#include "engine/Buntakousiki.h"
#include "engine/Houtei1ji.h"
#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "notebook/NotePage.h"
#include "process/CalcProcManage.h"
#include "screen/sikiInpCommands.h"
#include "sheets/Sheet.h"
#include "support/TestSupport.h"

namespace {

// The value of a number text, reduced, as "den/num sign" for comparing two forms of one number.
std::string ValueKey(const std::string& text) {
  const Bunsuu v = Reduce(ToImproper(ParseNumber(text)));
  return std::to_string(v.sign) + ":" + std::to_string(v.num) + "/" + std::to_string(v.den);
}

bool IsMixedText(const std::string& answer) { return answer.find('k') != std::string::npos; }

// Checks one problem of a skill with the program's own modules, independently of the generator.
void CheckProblem(const SheetSkill& skill, const SheetControls& c, const SheetProblem& p) {
  SCOPED_TRACE(std::string(skill.id) + " " + p.expr);
  TestPlatform().Clear();
  ASSERT_EQ(CheckText(p.expr, {.collectText = true}), 0);
  EXPECT_EQ(CheckedText, p.expr);
  std::string value;  // the answer's value as a number text, when it has one
  switch (skill.kind) {
    case SkillKind::Process:
    case SkillKind::OrderOfOperations: {
      const std::string answer = EvaluateExpression(p.expr);
      ASSERT_EQ(EvalStatus, 1);
      EXPECT_EQ(answer, p.answer);
      EXPECT_GT(AnswerValueImproper.sign, 0);
      EXPECT_EQ(ClassifyExpression(p.expr).type, skill.processType);
      ProcessState.alternativeMethod = skill.alternative;
      const int made = MakeProcess(p.expr, true);
      ProcessState.alternativeMethod = false;
      EXPECT_TRUE(ProcessState.processOk);
      if (skill.kind == SkillKind::Process) {
        EXPECT_EQ(made, 1);
        EXPECT_EQ(ProcessState.processType, skill.processType);
        EXPECT_EQ(ProcessState.processText, p.processText);
        if (skill.alternative) {
          // The other method's steps, not the usual ones.
          MakeProcess(p.expr, true);
          EXPECT_NE(ProcessState.processText, p.processText);
        }
      } else {
        EXPECT_EQ(made, 0);
      }
      value = p.answer;
      break;
    }
    case SkillKind::Reduction:
    case SkillKind::ToMixed:
    case SkillKind::ToImproper:
    case SkillKind::DecimalToFraction:
    case SkillKind::RepeatingToFraction:
      EXPECT_EQ(ValueKey(p.answer), ValueKey(p.expr));
      EXPECT_FALSE(p.processText.empty());
      EXPECT_TRUE(IsReducible(ParseNumber(p.answer)) == false);
      if (skill.kind == SkillKind::ToMixed) {
        EXPECT_TRUE(IsMixedText(p.answer));
      }
      if (skill.kind == SkillKind::ToImproper) {
        EXPECT_FALSE(IsMixedText(p.answer));
      }
      if (skill.kind == SkillKind::Reduction) {
        EXPECT_TRUE(IsReducible(ParseNumber(p.expr)));
      }
      if (skill.kind == SkillKind::RepeatingToFraction) {
        EXPECT_NE(p.expr.find('@'), std::string::npos);
      }
      value = p.answer;
      break;
    case SkillKind::FractionToDecimal:
    case SkillKind::FractionToRepeating: {
      const Bunsuu v = ParseNumber(p.expr);
      // An improper fraction (fraction-to-decimal only) is its whole part and the decimal of the rest.
      std::string decimal = RepeatingDecimalText(v.num % v.den, v.den);
      if (v.num >= v.den) decimal = std::to_string(v.num / v.den) + decimal.substr(1);
      EXPECT_EQ(decimal, p.answer);
      EXPECT_EQ(p.answer.find('@') != std::string::npos, skill.kind == SkillKind::FractionToRepeating);
      break;
    }
    case SkillKind::Factorisation:
      EXPECT_EQ(PrimeFactorisation(p.expr), p.answer);
      EXPECT_NE(p.answer.find('*'), std::string::npos);
      value = p.expr;
      break;
    case SkillKind::Ratio:
      EXPECT_EQ(SimplifyRatio(p.expr, 0), p.answer);
      EXPECT_NE(p.answer, p.expr);
      EXPECT_NE(p.answer, "1:1");
      break;
    case SkillKind::Equation:
      EXPECT_EQ("x=" + SolveLinear(p.expr, 0), p.answer);
      EXPECT_EQ(RelationKind, 0);
      value = p.answer.substr(2);
      break;
  }
  EXPECT_TRUE(TestPlatform().Shown().empty());
  EXPECT_EQ(p.processType, skill.processType);
  if (!value.empty() && c.maxAnswer > 0) {
    const Bunsuu v = ToImproper(ParseNumber(value));
    EXPECT_LE(v.num, c.maxAnswer * v.den);
  }
  if (!value.empty() && !c.mixedAnswers && skill.kind == SkillKind::Process) {
    EXPECT_FALSE(IsMixedText(value));
  }
}

void CheckNoRepeats(const Sheet& sheet) {
  std::set<std::string> exprs, reordered;
  for (const auto& p : sheet.problems) {
    EXPECT_TRUE(exprs.insert(p.expr).second) << p.expr;
    // The same operands in another order with the same answer.
    std::vector<std::string> operands(1);
    for (char ch : p.expr) {
      if (std::string("+-*/()").find(ch) != std::string::npos)
        operands.emplace_back();
      else
        operands.back() += ch;
    }
    std::sort(operands.begin(), operands.end());
    std::string key = p.answer;
    for (const auto& o : operands) key += "," + o;
    EXPECT_TRUE(reordered.insert(key).second) << "reordered repeat " << p.expr;
  }
}

}  // namespace

TEST(Sheet, EveryProblemOfEverySkillMeetsEveryGuarantee) {
  for (const SheetSkill& skill : SheetSkills()) {
    for (uint64_t seed = 1; seed <= 6; ++seed) {
      SheetControls c;
      c.skill = skill.id;
      c.count = 20;
      c.seed = seed * 7919;
      c.maxDen = 24;  // enough different problems of every skill for twenty
      c.terms =
          skill.minTerms == skill.maxTerms ? skill.minTerms : skill.minTerms + static_cast<int>(seed % 2);
      if (seed % 3 == 0 && (skill.controls & CONTROL_MAX_ANSWER))
        c.maxAnswer = skill.kind == SkillKind::Factorisation ? 500 : 6;
      const Sheet sheet = MakeSheet(c);
      SCOPED_TRACE(std::string(skill.id) + " seed " + std::to_string(c.seed) + ": " + sheet.message);
      EXPECT_EQ(sheet.problems.size(), 20u);
      EXPECT_TRUE(sheet.message.empty());
      for (const auto& p : sheet.problems) CheckProblem(skill, c, p);
      CheckNoRepeats(sheet);
    }
  }
}

TEST(Sheet, ReduceMixedAndBorrowControlsHold) {
  struct Case {
    const char* skill;
    ReduceRule reduce;
    bool mixed;
  };
  for (const Case& k :
       {Case{"sum-unlike", ReduceRule::Yes, true}, Case{"sum-unlike", ReduceRule::No, false},
        Case{"sum-like", ReduceRule::Yes, true}, Case{"difference-borrow", ReduceRule::No, false},
        Case{"sum-mixed-carry", ReduceRule::Yes, true}}) {
    SheetControls c;
    c.skill = k.skill;
    c.count = 15;
    c.reduce = k.reduce;
    c.mixedAnswers = k.mixed;
    const Sheet sheet = MakeSheet(c);
    SCOPED_TRACE(std::string(k.skill) + ": " + sheet.message);
    ASSERT_EQ(sheet.problems.size(), 15u);
    for (const auto& p : sheet.problems) {
      CheckProblem(*sheet.skill, c, p);
      // The answer reduces exactly when its denominator is smaller than the common denominator.
      int64_t l = 1;
      for (size_t i = p.expr.find('b'); i != std::string::npos; i = p.expr.find('b', i + 1)) {
        size_t st = i;
        while (st > 0 && std::isdigit(static_cast<unsigned char>(p.expr[st - 1]))) --st;
        l = std::lcm(l, std::stoll(p.expr.substr(st, i - st)));
      }
      const Bunsuu v = ToImproper(ParseNumber(p.answer));
      EXPECT_EQ(v.den < l, k.reduce == ReduceRule::Yes) << p.expr << " = " << p.answer;
      if (!k.mixed) {
        EXPECT_FALSE(IsMixedText(p.answer)) << p.expr;
      }
    }
  }
  // Borrowing: the first fraction part is smaller than the second in every problem, and never without.
  for (const char* id : {"difference-borrow", "difference-mixed"}) {
    SheetControls c;
    c.skill = id;
    c.count = 20;
    for (const auto& p : MakeSheet(c).problems) {
      const size_t minus = p.expr.find('-');
      const Bunsuu a = ParseNumber(p.expr.substr(0, minus)), b = ParseNumber(p.expr.substr(minus + 1));
      const bool borrows = a.num * b.den < b.num * a.den;
      EXPECT_EQ(borrows, std::string(id) == "difference-borrow") << p.expr;
    }
  }
}

TEST(Sheet, TheSameSeedGivesTheSamePageAndVersionsDiffer) {
  for (const SheetSkill& skill : SheetSkills()) {
    SheetControls c;
    c.skill = skill.id;
    c.count = 12;
    c.seed = 424242;
    std::string a, b, other;
    ASSERT_TRUE(SheetSikiBytes(MakeSheet(c), a));
    ASSERT_TRUE(SheetSikiBytes(MakeSheet(c), b));
    EXPECT_EQ(a, b) << skill.id;
    c.version = 'B';
    ASSERT_TRUE(SheetSikiBytes(MakeSheet(c), other));
    EXPECT_NE(a, other) << skill.id;
    const Sheet va = MakeSheet(SheetControls{c.skill, 12, 12, 2, ReduceRule::Any, 0, true, 424242, 'A'});
    const Sheet vb = MakeSheet(c);
    int same = 0;
    for (size_t i = 0; i < std::min(va.problems.size(), vb.problems.size()); ++i)
      same += va.problems[i].expr == vb.problems[i].expr;
    EXPECT_LT(same, 6) << skill.id;
  }
}

TEST(Sheet, TheStreamIsFixedOnEveryPlatform) {
  // The first numbers of one stream, written down once: a change of the mapping changes every sheet.
  SheetRandom r(12345);
  std::vector<int64_t> got;
  for (int i = 0; i < 8; ++i) got.push_back(r.Between(1, 9));
  SheetRandom again(12345);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(again.Between(1, 9), got[i]);
  SheetRandom wide(7);
  for (int i = 0; i < 1000; ++i) {
    const int64_t v = wide.Between(-3, 3);
    EXPECT_GE(v, -3);
    EXPECT_LE(v, 3);
  }
  EXPECT_EQ(SheetStreamSeed("sum-like", 1, 'A'), SheetStreamSeed("sum-like", 1, 'A'));
  EXPECT_NE(SheetStreamSeed("sum-like", 1, 'A'), SheetStreamSeed("sum-like", 1, 'B'));
  EXPECT_NE(SheetStreamSeed("sum-like", 1, 'A'), SheetStreamSeed("sum-unlike", 1, 'A'));
  SheetControls c;
  c.skill = "sum-unlike";
  c.count = 3;
  c.seed = 2026;
  const Sheet s = MakeSheet(c);
  ASSERT_EQ(s.problems.size(), 3u);
  std::string page;
  for (const auto& p : s.problems) page += p.expr + ";";
  EXPECT_EQ(page, "7b4+9b1;8b3+3b2;8b1+12b5;");
}

TEST(Sheet, ControlsNoProblemCanMeetAreRefusedByName) {
  struct Case {
    SheetControls c;
    const char* named;
  };
  auto with = [](const char* skill, auto change) {
    SheetControls c;
    c.skill = skill;
    change(c);
    return c;
  };
  const std::vector<Case> cases = {
      {with("sum-unlike", [](SheetControls& c) { c.maxDen = 2; }), "「いちばん大きい分母」"},
      {with("reduce", [](SheetControls& c) { c.maxDen = 3; }), "「いちばん大きい分母」"},
      {with("sum-like", [](SheetControls& c) { c.count = 0; }), "「問題の数」"},
      {with("sum-like", [](SheetControls& c) { c.count = 51; }), "「問題の数」"},
      {with("sum-like", [](SheetControls& c) { c.terms = 5; }), "「項の数」"},
      {with("quotient", [](SheetControls& c) { c.terms = 3; }), "「項の数」"},
      {with("product", [](SheetControls& c) { c.reduce = ReduceRule::Yes; }), "「約分」"},
      {with("ratio", [](SheetControls& c) { c.mixedAnswers = false; }), "「帯分数の答え」"},
      {with("improper-to-mixed", [](SheetControls& c) { c.mixedAnswers = false; }), "「帯分数の答え」"},
      {with("sum-like", [](SheetControls& c) { c.version = '1'; }), "「版」"},
      {with("sum-mixed-carry", [](SheetControls& c) { c.maxAnswer = 1; }), "「答えの上限」"},
      {with("sum-unlike",
            [](SheetControls& c) {
              c.maxAnswer = 1;
              c.mixedAnswers = false;
              c.terms = 4;
              c.reduce = ReduceRule::No;
              c.maxDen = 3;
            }),
       "「"},
  };
  for (const Case& k : cases) {
    const Sheet s = MakeSheet(k.c);
    SCOPED_TRACE(k.c.skill + ": " + s.message);
    EXPECT_TRUE(s.problems.empty());
    EXPECT_NE(s.message.find(k.named), std::string::npos);
    EXPECT_LT(s.attempts, 30000);
  }
  EXPECT_NE(MakeSheet(with("no-such-skill", [](SheetControls&) {})).message.find("no-such-skill"),
            std::string::npos);
}

TEST(Sheet, FewerProblemsThanAskedAreKeptAndCounted) {
  SheetControls c;
  c.skill = "sum-like";
  c.maxDen = 3;
  c.count = 50;
  const Sheet s = MakeSheet(c);
  // 3b1+3b1 … : only a handful of different sums of thirds and halves exist.
  ASSERT_FALSE(s.problems.empty());
  ASSERT_LT(s.problems.size(), 50u);
  EXPECT_NE(s.message.find(std::to_string(s.problems.size()) + " 問しか"), std::string::npos) << s.message;
  // The sums run out: the control that sets how many there are is named.
  EXPECT_NE(s.message.find("「いちばん大きい分母」"), std::string::npos) << s.message;
  CheckNoRepeats(s);
}

// The sheet dialog's defaults (twenty problems, denominators up to 12, two terms, no other bound) make a
// full sheet of every skill.
TEST(Sheet, TheDefaultsMakeAFullSheetOfEverySkill) {
  for (const SheetSkill& skill : SheetSkills()) {
    for (char version : {'A', 'B'}) {
      SheetControls c;
      c.skill = skill.id;
      c.count = 20;
      c.version = version;
      c.terms = skill.minTerms;
      const Sheet sheet = MakeSheet(c);
      SCOPED_TRACE(std::string(skill.id) + " " + version + ": " + sheet.message);
      EXPECT_EQ(sheet.problems.size(), 20u);
      EXPECT_TRUE(sheet.message.empty());
      for (const auto& p : sheet.problems) CheckProblem(skill, c, p);
      CheckNoRepeats(sheet);
    }
  }
}

// A short sheet names a control the skill takes: the one that turned problems away, or the one that
// sets how many different problems there are.
TEST(Sheet, AShortSheetNamesAControlOfItsSkill) {
  struct Case {
    const char* skill;
    int maxDen;
    int64_t maxAnswer;
    const char* named;
  };
  const Case cases[] = {
      {"fraction-to-decimal", 4, 0, "「いちばん大きい分母」"},
      {"fraction-to-repeating", 6, 0, "「いちばん大きい分母」"},
      {"factorise", 12, 20, "「答えの上限」"},
  };
  for (const Case& k : cases) {
    SheetControls c;
    c.skill = k.skill;
    c.count = 20;
    c.maxDen = k.maxDen;
    c.maxAnswer = k.maxAnswer;
    const Sheet s = MakeSheet(c);
    SCOPED_TRACE(std::string(k.skill) + ": " + s.message);
    EXPECT_LT(s.problems.size(), 20u);
    EXPECT_NE(s.message.find(k.named), std::string::npos);
    EXPECT_EQ(s.message.find("同じ問題"), std::string::npos);
  }
}

TEST(Sheet, MakingASheetLeavesTheScreensStateAsItWas) {
  ResetCalculationModules();
  PROCDSP = 0;
  ANSSYU = 2;
  EvaluateExpression("5b1+5b2", {.forms = AnswerForms::Both, .echo = true});
  MakeProcess("2b1+3b1", true);
  const std::string processText = ProcessState.processText;
  const std::string answer = AnswerMixedText, checked = CheckedText;
  bool marked = false;
  ProcessHooks.markLineFinished = [&] { marked = true; };
  NotePage.title = "ノート";
  NotePage.lines[0] = "1+1";
  NotePage.lineCount = 1;
  SheetControls c;
  c.skill = "product-cancel";
  std::string bytes;
  ASSERT_TRUE(SheetSikiBytes(MakeSheet(c), bytes));
  EXPECT_FALSE(marked);
  EXPECT_EQ(ProcessState.processText, processText);
  EXPECT_EQ(ProcessTypeNumber(ProcessState.processType), 1);
  EXPECT_EQ(AnswerMixedText, answer);
  EXPECT_EQ(CheckedText, checked);
  EXPECT_EQ(PROCDSP, 0);
  EXPECT_EQ(ANSSYU, 2);
  EXPECT_EQ(NotePage.title, "ノート");
  EXPECT_EQ(NotePage.lineCount, 1);
  EXPECT_TRUE(TestPlatform().Shown().empty());
  ProcessHooks = ProcessScreenHooks{};
  ResetNotePage();
  ResetSettings();
}

TEST(Sheet, ThePageHoldsTitleAndProblems) {
  SheetControls c;
  c.skill = "equation";
  c.count = 5;
  c.seed = 77;
  c.version = 'C';
  const Sheet s = MakeSheet(c);
  std::string bytes;
  ASSERT_TRUE(SheetSikiBytes(s, bytes));
  ASSERT_EQ(LoadSikiBytes(bytes), 0);
  EXPECT_EQ(NotePage.title, "一次方程式　C版　シード77");
  ASSERT_EQ(NotePage.lineCount, 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(NotePage.lines[i], s.problems[i].expr);
  ResetNotePage();
}

TEST(Sheet, ControlTextsAreReadOrRefusedByName) {
  int n = 0;
  EXPECT_EQ(ParseSheetCount(" 20 ", n), "");
  EXPECT_EQ(n, 20);
  for (const char* bad : {"0", "51", "", "2x", "-1", "99999999999999999999"})
    EXPECT_NE(ParseSheetCount(bad, n).find("「問題の数」"), std::string::npos) << bad;
  EXPECT_NE(ParseSheetMaxDen("1", n).find("「いちばん大きい分母」"), std::string::npos);
  EXPECT_NE(ParseSheetTerms("9", n).find("「項の数」"), std::string::npos);
  ReduceRule r;
  EXPECT_EQ(ParseSheetReduce("no", r), "");
  EXPECT_EQ(r, ReduceRule::No);
  EXPECT_NE(ParseSheetReduce("maybe", r).find("「約分」"), std::string::npos);
  int64_t a = 0;
  EXPECT_NE(ParseSheetMaxAnswer("0", a).find("「答えの上限」"), std::string::npos);
  uint64_t seed = 0;
  EXPECT_EQ(ParseSheetSeed("123456789012", seed), "");
  EXPECT_EQ(seed, 123456789012u);
  char v = 'A';
  EXPECT_EQ(ParseSheetVersion("B", v), "");
  EXPECT_EQ(v, 'B');
  EXPECT_NE(ParseSheetVersion("b", v).find("「版」"), std::string::npos);
}
