// The practice sheet and its key laid out on pages of a recording surface, as both editions print them:
// every problem on the pupils' sheet under one name line, every answer and process in the key, pages
// broken where the paper is full, the program's state as it was; and 「ノートに作る」 with its question.
#include "sheets/SheetPages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "notebook/NotePage.h"
#include "notebook/NoteSheet.h"
#include "platform/RecordingCanvas.h"
#include "sheets/Sheet.h"
#include "support/TestSupport.h"

namespace {

// A4 at 96 pixels per inch.
const SheetPaper PAPER{NotePageWidth(96), NoteA4Height(96), 96, 1};

Sheet MakeOf(const std::string& skill, int count) {
  SheetControls c;
  c.skill = skill;
  c.count = count;
  c.seed = 7;
  Sheet s = MakeSheet(c);
  EXPECT_EQ(s.message, "");
  EXPECT_EQ(static_cast<int>(s.problems.size()), count);
  return s;
}

// The texts drawn on each page, in order.
struct Pages {
  std::vector<std::vector<std::string>> texts;
};

template <typename Draw>
Pages DrawPages(Draw draw) {
  RecordingCanvas c;
  Pages pages;
  auto take = [&] {
    std::vector<std::string> t;
    for (const CanvasOp& op : c.ops)
      if (op.kind == CanvasOp::Kind::Text) t.push_back(op.text);
    pages.texts.push_back(t);
    c.ClearOps();
  };
  const int drawn = draw(c, [&] {
    take();
    return true;
  });
  take();
  EXPECT_EQ(drawn, static_cast<int>(pages.texts.size()));
  return pages;
}

bool Has(const std::vector<std::string>& texts, const std::string& t) {
  return std::find(texts.begin(), texts.end(), t) != texts.end();
}

}  // namespace

TEST(SheetPages, PupilsSheetHasTheNameLineOnceAndEveryProblemWithItsBlank) {
  struct Case {
    int count;
    bool severalPages;
  } cases[] = {{5, false}, {50, true}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.count);
    const Sheet sheet = MakeOf("sum-unlike", k.count);
    NotePage.title = "kept";
    const Pages p = DrawPages(
        [&](Canvas& c, const NextSheetPage& next) { return DrawSheetPages(c, sheet, PAPER, next); });
    ASSERT_EQ(p.texts.size() > 1, k.severalPages);
    EXPECT_TRUE(Has(p.texts[0], "　　年　　組　　番　名前"));
    for (size_t i = 1; i < p.texts.size(); ++i) EXPECT_FALSE(Has(p.texts[i], "　　年　　組　　番　名前"));
    int numbers = 0, blanks = 0;
    for (const auto& page : p.texts) {
      EXPECT_TRUE(Has(page, SheetTitle(sheet)));  // every page repeats the title
      for (const std::string& t : page) {
        numbers += t.front() == '[' && t.find(']') != std::string::npos;
        blanks += t == "【答】";
      }
    }
    EXPECT_EQ(numbers, k.count);
    EXPECT_EQ(blanks, k.count);
    EXPECT_EQ(NotePage.title, "kept");
    EXPECT_EQ(NotePage.lineCount, 0);
  }
}

TEST(SheetPages, KeyHasEveryAnswerAndProcessAndStopsWhenNoPageFollows) {
  const Sheet sheet = MakeOf("sum-unlike", 20);
  const Pages plain = DrawPages(
      [&](Canvas& c, const NextSheetPage& next) { return DrawSheetKeyPages(c, sheet, false, PAPER, next); });
  ASSERT_GT(plain.texts.size(), 1u);
  int headers = 0, numbers = 0;
  for (const auto& page : plain.texts) {
    headers += Has(page, "【解答】");
    for (size_t i = 1; i <= sheet.problems.size(); ++i) numbers += Has(page, "(" + std::to_string(i) + ")");
  }
  EXPECT_EQ(headers, static_cast<int>(plain.texts.size()));
  EXPECT_EQ(numbers, 20);

  size_t plainTexts = 0, adviceTexts = 0;
  for (const auto& page : plain.texts) plainTexts += page.size();
  const Pages advised = DrawPages(
      [&](Canvas& c, const NextSheetPage& next) { return DrawSheetKeyPages(c, sheet, true, PAPER, next); });
  for (const auto& page : advised.texts) adviceTexts += page.size();
  EXPECT_GT(adviceTexts, plainTexts);

  RecordingCanvas c;
  EXPECT_EQ(DrawSheetKeyPages(c, sheet, false, PAPER, [] { return false; }), 1);
}

TEST(SheetPages, MakingThePageAsksBeforeEditedLinesAreReplaced) {
  const Sheet sheet = MakeOf("product-cancel", 4);
  struct Case {
    bool edited;
    MsgAnswer answer;
    bool made;
    int questions;
  } cases[] = {
      {false, MsgAnswer::Ok, true, 0}, {true, MsgAnswer::Cancel, false, 1}, {true, MsgAnswer::Ok, true, 1}};
  for (const Case& k : cases) {
    ResetNotePage();
    AddEmptyLine();
    ReplaceSelected("1+1");
    NotePage.modified = k.edited;
    TestPlatform().Clear();
    TestPlatform().answers = {k.answer};
    EXPECT_EQ(MakeSheetIntoNotebook(sheet), k.made);
    int questions = 0;
    for (const auto& m : TestPlatform().log) questions += m.kind == "question";
    EXPECT_EQ(questions, k.questions);
    if (k.made) {
      ASSERT_EQ(NotePage.lineCount, 4);
      EXPECT_EQ(NoteLine(1), sheet.problems[0].expr);
      EXPECT_EQ(NotePage.title, SheetTitle(sheet));
    } else {
      EXPECT_EQ(NoteLine(1), "1+1");
    }
  }
  TestPlatform().Clear();
  EXPECT_FALSE(MakeSheetIntoNotebook(Sheet{}));
  EXPECT_EQ(TestPlatform().ShownTexts(), std::vector<std::string>{"ご注意！: 問題がありません。"});
}
