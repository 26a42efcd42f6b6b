// Tests of the assignment code: every field comes back from its code, the code stays short, URL-safe and
// readable however it is typed, and a damaged, cut or foreign code is refused with the pupil's message,
// never read as another sheet.
#include <gtest/gtest.h>

#include <set>

#include "classroom/Assignment.h"
#include "support/ClassroomWork.h"
#include "support/TestSupport.h"

namespace {

Assignment Sample() {
  Assignment a;
  a.controls.skill = "difference-borrow";
  a.controls.count = 20;
  a.controls.maxDen = 12;
  a.controls.seed = 424242;
  a.controls.version = 'B';
  a.title = "5年2組 分数のひき算";
  a.finalForm = AssignmentFinal::Mixed;
  a.feedback = AssignmentFeedback::End;
  return a;
}

void ExpectSame(const Assignment& x, const Assignment& y) {
  EXPECT_EQ(x.controls.skill, y.controls.skill);
  EXPECT_EQ(x.controls.count, y.controls.count);
  EXPECT_EQ(x.controls.maxDen, y.controls.maxDen);
  EXPECT_EQ(x.controls.terms, y.controls.terms);
  EXPECT_EQ(x.controls.reduce, y.controls.reduce);
  EXPECT_EQ(x.controls.maxAnswer, y.controls.maxAnswer);
  EXPECT_EQ(x.controls.mixedAnswers, y.controls.mixedAnswers);
  EXPECT_EQ(x.controls.seed, y.controls.seed);
  EXPECT_EQ(x.controls.version, y.controls.version);
  EXPECT_EQ(x.title, y.title);
  EXPECT_EQ(x.finalForm, y.finalForm);
  EXPECT_EQ(x.feedback, y.feedback);
}

bool UrlSafe(const std::string& code) {
  for (char c : code)
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'))) return false;
  return true;
}

}  // namespace

TEST(Assignment, EveryFieldComesBackFromItsCode) {
  std::vector<Assignment> cases;
  cases.push_back(Sample());
  for (const SheetSkill& s : SheetSkills()) {
    Assignment a;
    a.controls.skill = s.id;
    a.controls.terms = s.minTerms;
    a.controls.seed = 999999999999999999ull;
    a.controls.version = 'Z';
    a.controls.count = SHEET_MAX_COUNT;
    a.title = s.name;
    a.finalForm = AssignmentFinal::Improper;
    a.feedback = AssignmentFeedback::None;
    if (s.controls & CONTROL_MAX_ANSWER) a.controls.maxAnswer = SHEET_MAX_ANSWER_LIMIT;
    if (s.controls & CONTROL_REDUCE) a.controls.reduce = ReduceRule::No;
    if (s.controls & CONTROL_MIXED) a.controls.mixedAnswers = false;
    if (s.controls & CONTROL_MAX_DEN) a.controls.maxDen = SHEET_MAX_DENOMINATOR;
    ASSERT_EQ(CheckSheetControls(a.controls), "") << s.id;
    cases.push_back(a);
  }
  for (const Assignment& a : cases) {
    SCOPED_TRACE(a.controls.skill);
    const std::string code = CodeOf(a);
    EXPECT_LE(code.size(), ASSIGNMENT_CODE_MAX);
    EXPECT_TRUE(UrlSafe(code)) << code;
    Assignment back;
    ASSERT_EQ(DecodeAssignment(code, back), "");
    ExpectSame(a, back);
  }
}

TEST(Assignment, CodeIsReadAsTypedFromPaperOrInALink) {
  const Assignment a = Sample();
  const std::string code = CodeOf(a);
  std::string lower = code;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const std::string link = AssignmentLink("https://school.example/kazoru/#old", code);
  EXPECT_EQ(link, "https://school.example/kazoru/#kadai=" + code);
  for (const std::string& typed : {lower, GroupedCode(code), " " + code + "\n", link, link + "&x=1"}) {
    Assignment back;
    ASSERT_EQ(DecodeAssignment(typed, back), "") << typed;
    ExpectSame(a, back);
  }
}

TEST(Assignment, DamagedCodesAreRefusedWithTheirMessage) {
  const std::string code = CodeOf(Sample());
  const std::string damaged = "まちがっているか、途中で切れています";
  const std::string newer = "新しい版の Kazoru";
  auto flip = [&](size_t at) {
    std::string c = code;
    c[at] = c[at] == 'Z' ? 'Y' : static_cast<char>(c[at] == '9' ? 'A' : c[at] + 1);
    if (c[at] == 'I' || c[at] == 'L' || c[at] == 'O' || c[at] == 'U') ++c[at];
    return c;
  };
  std::string swapped = code;
  std::swap(swapped[5], swapped[6]);
  ASSERT_NE(swapped, code);
  struct Case {
    std::string text;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"", "コードがありません"},
      {code.substr(0, code.size() - 1), damaged},  // cut by one character
      {code.substr(0, code.size() / 2), damaged},  // cut in the middle
      {code.substr(0, 1), damaged},
      {code + "0", damaged},  // one character too many
      {flip(3), damaged},  // mistyped in the fields
      {flip(code.size() - 1), damaged},  // mistyped in the check
      {flip(code.size() / 2), damaged},
      {swapped, damaged},  // two neighbours exchanged
      {"2" + code.substr(1), newer},  // a later format version
      {"Z" + code.substr(1), newer},
      {"0" + code.substr(1), damaged},
      {code.substr(0, 4) + "U" + code.substr(5), "使えない文字「U」"},
      {code + "!", "使えない文字「!」"},
      {code + "\xE3\x81\x82", "使えない文字があります"},
      {std::string(5000, 'A'), damaged},
  };
  for (const Case& c : cases) {
    Assignment back;
    const std::string why = DecodeAssignment(c.text, back);
    EXPECT_NE(why.find(c.message), std::string::npos) << c.text << " → " << why;
  }
}

TEST(Assignment, TitlesThatDoNotFitAreRefusedWhenMaking) {
  Assignment a = Sample();
  std::string code;
  a.title = std::string(60, 'x');
  EXPECT_EQ(EncodeAssignment(a, code), "");
  EXPECT_LE(code.size(), ASSIGNMENT_CODE_MAX);
  a.title = "";
  for (int k = 0; k < 40; ++k) a.title += "分";
  EXPECT_NE(EncodeAssignment(a, code).find("課題名が長すぎます"), std::string::npos);
  EXPECT_EQ(code, "");
  a.title = "改行\nあり";
  EXPECT_NE(EncodeAssignment(a, code), "");
  a.title = "\xff\xfe";
  EXPECT_NE(EncodeAssignment(a, code), "");
  a = Sample();
  a.controls.count = 0;
  EXPECT_NE(EncodeAssignment(a, code), "");
}

TEST(Assignment, TheSameCodeMakesTheSameProblems) {
  const std::string code = CodeOf(Sample());
  Assignment x, y;
  ASSERT_EQ(DecodeAssignment(code, x), "");
  ASSERT_EQ(DecodeAssignment(GroupedCode(code), y), "");
  const Sheet s = AssignmentSheet(x), t = AssignmentSheet(y);
  ASSERT_EQ(s.problems.size(), 20u);
  for (size_t k = 0; k < s.problems.size(); ++k) EXPECT_EQ(s.problems[k].expr, t.problems[k].expr);
  Assignment other = x;
  other.controls.version = 'C';
  EXPECT_NE(AssignmentSheet(other).problems[0].expr + AssignmentSheet(other).problems[1].expr,
            s.problems[0].expr + s.problems[1].expr);
}

TEST(Assignment, FinalFormDecidesWhichNotesCount) {
  Assignment a;
  for (auto [form, note, counts] : std::vector<std::tuple<AssignmentFinal, std::string, bool>>{
           {AssignmentFinal::Either, "improper-left", false},
           {AssignmentFinal::Either, "not-reduced", true},
           {AssignmentFinal::Mixed, "improper-left", true},
           {AssignmentFinal::Improper, "mixed-left", true},
           {AssignmentFinal::Mixed, "", false},
       }) {
    a.finalForm = form;
    EXPECT_EQ(AssignmentFinalNoteCounts(a, note), counts) << note;
  }
  for (const char* id : {"mixed", "improper", "either"}) {
    AssignmentFinal f;
    ASSERT_TRUE(ParseAssignmentFinal(id, f));
    EXPECT_STREQ(AssignmentFinalId(f), id);
  }
  for (const char* id : {"now", "end", "none"}) {
    AssignmentFeedback f;
    ASSERT_TRUE(ParseAssignmentFeedback(id, f));
    EXPECT_STREQ(AssignmentFeedbackId(f), id);
  }
}

TEST(Assignment, EverySkillHasAKeyOfItsOwn) {
  std::set<uint16_t> keys;
  for (const SheetSkill& s : SheetSkills()) EXPECT_TRUE(keys.insert(AssignmentSkillKey(s.id)).second) << s.id;
}
