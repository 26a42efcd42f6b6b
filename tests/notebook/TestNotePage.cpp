// Tests of the notebook page: answer rules, selection, undo copy, line operations with the 50-line cap,
// the answers of one line and of the whole page, and the .siki file in CP932 bytes, read back from
// damaged files and written safely when the folder cannot be written.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/BunMath.h"
#include "engine/Bunio.h"
#include "engine/Bunsuuh.h"
#include "engine/Houtei1ji.h"
#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "notebook/NotePage.h"
#include "support/TestSupport.h"

namespace {

class NotePageTest : public ::testing::Test {
 protected:
};

void SetLines(const std::vector<std::string>& lines) {
  ResetNotePage();
  for (std::size_t i = 0; i < lines.size(); ++i) NotePage.lines[i] = lines[i];
  NotePage.lineCount = static_cast<int>(lines.size());
}

std::vector<std::string> Lines() {
  return std::vector<std::string>(NotePage.lines.begin(), NotePage.lines.begin() + NotePage.lineCount);
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// "分数" in CP932.
const std::string BUNSUU_SJIS = "\x95\xaa\x90\x94";

}  // namespace

TEST_F(NotePageTest, AnswerRules) {
  struct Case {
    std::string line, stripped;
  } cases[] = {
      {"1b2+3b1", "1b2+3b1"},
      {"1b2+3b1=", "1b2+3b1="},
      {"1b2+3b1=2k3b1=3b7&2k3b1=3b7", "1b2+3b1="},
      {"2x+1=5", "2x+1=5"},  // equation without answer: kept whole
      {"2x+1=5&x=2", "2x+1=5"},  // solved equation: the equation alone
      {"4:6=2:3&2:3", "4:6="},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(StripAnswer(c.line), c.stripped) << c.line;

  EXPECT_EQ(ComposeAnswer("1b2+3b1=", "2k3b1=3b7"), "1b2+3b1=2k3b1=3b7&2k3b1=3b7");
  EXPECT_EQ(ComposeAnswer("1+2", "3"), "1+2=3&3");
  // The replacement runs over the whole composed text, once, left to right: "===" keeps two.
  EXPECT_EQ(ComposeAnswer("1==", "2"), "1==2&2");
  EXPECT_TRUE(IsEquationLine("3b1+2x<5"));
  EXPECT_FALSE(IsEquationLine("3b1+2X"));
}

// Computing asks before it replaces answers; these are the lines that have one to replace.
TEST_F(NotePageTest, AnswersToReplace) {
  SetLines({"1b2+3b1", "1b2+3b1=", "2x+1=5&x=2", "7+1=8&", "=6b5"});
  const bool expected[] = {false, false, true, false, false};
  for (int n = 1; n <= 5; ++n) EXPECT_EQ(NoteHasAnswers(n), expected[n - 1]) << n;
  EXPECT_FALSE(NoteHasAnswers(6));
  EXPECT_FALSE(NoteHasAnswers(-1));
  EXPECT_TRUE(NoteHasAnswers());
  SetLines({"1b2+3b1", "7+1=8&"});
  EXPECT_FALSE(NoteHasAnswers());
  SetLines({});
  EXPECT_FALSE(NoteHasAnswers());
}

TEST_F(NotePageTest, SelectionMovesAndWraps) {
  struct Case {
    int count, selected, previous, next;
  } cases[] = {
      {0, 0, 0, 0}, {3, 0, 3, 1}, {3, 1, 0, 2}, {3, 2, 1, 3}, {3, 3, 2, 0},
  };
  for (const auto& c : cases) {
    SetLines(std::vector<std::string>(static_cast<std::size_t>(c.count), "1+1"));
    NotePage.selected = c.selected;
    SelectPrevious();
    EXPECT_EQ(NotePage.selected, c.previous) << c.count << "/" << c.selected;
    NotePage.selected = c.selected;
    SelectNext();
    EXPECT_EQ(NotePage.selected, c.next) << c.count << "/" << c.selected;
  }
}

TEST_F(NotePageTest, CopyStopsAt49Lines) {
  struct Case {
    int count, selected;
    bool copied;
  } cases[] = {{48, 2, true}, {49, 2, false}, {5, 0, false}, {1, 1, true}};
  for (const auto& c : cases) {
    std::vector<std::string> lines;
    for (int i = 1; i <= c.count; ++i) lines.push_back(std::to_string(i) + "+1");
    SetLines(lines);
    NotePage.selected = c.selected;
    EXPECT_EQ(CopySelected(), c.copied) << c.count;
    EXPECT_EQ(NotePage.lineCount, c.count + (c.copied ? 1 : 0));
    EXPECT_EQ(NotePage.modified, c.copied);
    if (c.copied) {
      EXPECT_EQ(NotePage.lines[static_cast<std::size_t>(c.count)],
                NotePage.lines[static_cast<std::size_t>(c.selected - 1)]);
      EXPECT_EQ(NotePage.selected, c.selected);
      EXPECT_EQ(NotePage.backupCount, c.count);
    }
  }
}

TEST_F(NotePageTest, DeleteRestoreAndClear) {
  SetLines({"1+1", "2+2", "3+3"});
  NotePage.title = "表題";
  NotePage.fileName = "/x/a.siki";
  NotePage.selected = 2;
  ASSERT_TRUE(DeleteSelected());
  EXPECT_EQ(Lines(), (std::vector<std::string>{"1+1", "3+3"}));
  EXPECT_EQ(NotePage.selected, 0);
  EXPECT_TRUE(NotePage.modified);
  EXPECT_FALSE(DeleteSelected());  // nothing selected now

  // Undo brings back lines and selection and clears modified; twice gives the same copy again.
  for (int round = 0; round < 2; ++round) {
    RestoreBackup();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"1+1", "2+2", "3+3"}));
    EXPECT_EQ(NotePage.selected, 2);
    EXPECT_FALSE(NotePage.modified);
  }

  NotePage.modified = true;
  ClearLines();
  EXPECT_EQ(NotePage.lineCount, 0);
  EXPECT_EQ(NotePage.selected, 0);
  EXPECT_FALSE(NotePage.modified);
  EXPECT_EQ(NotePage.title, "表題");
  EXPECT_EQ(NotePage.fileName, "/x/a.siki");
  EXPECT_EQ(NotePage.backupCount, 3);

  // A new page is no file's page: saving it cannot write over the file the former page came from.
  SetLines({"1+1", "2+2"});
  NotePage.title = "表題";
  NotePage.fileName = "/x/a.siki";
  NotePage.selected = 1;
  NotePage.modified = true;
  TakeBackup();
  NewPage();
  EXPECT_EQ(NotePage.lineCount, 0);
  EXPECT_EQ(NotePage.selected, 0);
  EXPECT_FALSE(NotePage.modified);
  EXPECT_EQ(NotePage.title, "");
  EXPECT_EQ(NotePage.fileName, "");
  EXPECT_EQ(NotePage.backupCount, 2);
}

TEST_F(NotePageTest, WorkingLinesHaveNoProblemNumber) {
  SetLines({"1b2+1b3=", "=3b6+2b6", "=5b6", "2b5+1b5", "", "=)(", "7+1"});
  // "=)(" is no working (the rest fails the check): it stands as a line of its own, as an empty line does.
  const std::vector<int> numbers = {1, 0, 0, 2, 3, 4, 5};
  for (int n = 1; n <= 7; ++n) EXPECT_EQ(NoteProblemNumber(n), numbers[n - 1]) << "line " << n;
  EXPECT_EQ(NoteProblemNumber(0), 0);
  EXPECT_EQ(NoteProblemNumber(8), 0);
}

TEST_F(NotePageTest, DeleteAnswerOfOneLineAndOfAll) {
  SetLines({"1b2+3b1=2k3b1=3b7&2k3b1=3b7", "2x+1=5&x=2", "7+1"});
  int asked = 0;
  auto yes = [&] {
    ++asked;
    return true;
  };
  auto no = [&] {
    ++asked;
    return false;
  };

  NotePage.selected = 3;  // no "=": undo copy taken, nothing asked
  NotePage.backupCount = 0;
  EXPECT_EQ(DeleteAnswer(yes), DeleteAnswerResult::NoAnswer);
  EXPECT_EQ(NotePage.backupCount, 3);
  EXPECT_EQ(asked, 0);
  EXPECT_FALSE(NotePage.modified);

  NotePage.selected = 1;
  EXPECT_EQ(DeleteAnswer(no), DeleteAnswerResult::Cancelled);
  EXPECT_EQ(NotePage.lines[0], "1b2+3b1=2k3b1=3b7&2k3b1=3b7");
  EXPECT_EQ(DeleteAnswer(yes), DeleteAnswerResult::Deleted);
  EXPECT_EQ(NotePage.lines[0], "1b2+3b1=");
  NotePage.selected = 2;
  EXPECT_EQ(DeleteAnswer(yes), DeleteAnswerResult::Deleted);
  EXPECT_EQ(NotePage.lines[1], "2x+1=5");
  NotePage.selected = 0;
  EXPECT_EQ(DeleteAnswer(yes), DeleteAnswerResult::NoSelection);

  SetLines({"4:6=2:3&2:3", "3x<6&x<2", "1+1"});
  DeleteAllAnswers();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"4:6=", "3x<6&x<2", "1+1"}));  // "3x<6&…" holds no "="
  EXPECT_TRUE(NotePage.modified);

  SetLines({"1+1", ""});
  DeleteAllAnswers();
  EXPECT_TRUE(NotePage.modified);  // even though no line changed
}

TEST_F(NotePageTest, PageNeverHoldsMoreThan50Lines) {
  SetLines(std::vector<std::string>(49, "1+1"));
  EXPECT_TRUE(AddEmptyLine());
  EXPECT_EQ(NotePage.lineCount, 50);
  EXPECT_EQ(NotePage.selected, 50);
  EXPECT_EQ(NotePage.lines[49], "");
  EXPECT_FALSE(AddEmptyLine());
  EXPECT_EQ(NotePage.lineCount, 50);

  EXPECT_FALSE(StartPage(NoteOrigin::ExpressionEditor, "2+2"));
  EXPECT_EQ(NotePage.lineCount, 50);

  std::vector<std::string> texts;
  for (int i = 1; i <= 53; ++i) {
    texts.push_back(std::to_string(i) + "*pai");
    texts.push_back("");  // blank lines between expressions leave no gaps
  }
  PaiText = "3.1416";
  EXPECT_EQ(ReplaceAllLines(texts), 3);
  EXPECT_EQ(NotePage.lineCount, 50);
  EXPECT_EQ(NotePage.lines[0], "1*3.1416");
  EXPECT_EQ(NotePage.lines[49], "50*3.1416");
}

TEST_F(NotePageTest, ReplaceAllLinesKeepsTextsUnchecked) {
  SetLines({"1+1", "2+2", "3+3"});
  NotePage.selected = 3;
  EXPECT_EQ(ReplaceAllLines({"", "  9+9 ", "", "%%", "paipai"}), 0);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"  9+9 ", "%%", "3.143.14"}));
  EXPECT_EQ(NotePage.selected, 3);
  EXPECT_TRUE(ReplaceSelected("7b1"));
  EXPECT_EQ(NotePage.lines[2], "7b1");
  ReplaceAllLines({"1+1"});
  EXPECT_EQ(NotePage.selected, 0);  // the selected line is gone
  EXPECT_FALSE(ReplaceSelected("2"));
}

TEST_F(NotePageTest, StartPageFromEachOrigin) {
  NotePage.modified = true;
  StartPage(NoteOrigin::CalculationScreen, "");
  EXPECT_FALSE(NotePage.modified);
  EXPECT_EQ(NotePage.lineCount, 0);

  NotePage.modified = true;
  StartPage(NoteOrigin::CalculationScreen, "1b2+3b1=2k3b1&2k3b1");
  EXPECT_TRUE(NotePage.modified);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"1b2+3b1=2k3b1&2k3b1"}));

  SetLines({"1+1"});
  NotePage.modified = true;
  EXPECT_TRUE(StartPage(NoteOrigin::ExpressionEditor, ""));
  EXPECT_TRUE(NotePage.modified);
  EXPECT_TRUE(StartPage(NoteOrigin::ExpressionEditor, "5*5"));
  EXPECT_EQ(Lines(), (std::vector<std::string>{"1+1", "5*5"}));
}

TEST_F(NotePageTest, CalculateAllGoesOnAfterEveryFailure) {
  SetLines({
      "1b2+3b1",  // 1 calculation without "="
      "1b2+3b1=9&9",  // 2 an old answer is replaced
      "1b2+*3",  // 3 fails the check at position 5
      "",  // 4 empty: skipped
      "2x+1=5",  // 5 equation
      "x+1",  // 6 no relation: unsolvable
      "1/0=",  // 7 division by zero: not computable
      "4:6=",  // 8 ratio
      "2x+1=5&x=7",  // 9 solved again
      "3:0=",  // 10 ratio that cannot be simplified: unchanged, no outcome
  });
  std::vector<int> seen;
  auto outcomes = CalculateAll([&](const NoteOutcome& o) { seen.push_back(o.line); });
  EXPECT_EQ(Lines(), (std::vector<std::string>{
                         "1b2+3b1=2k3b1&2k3b1",
                         "1b2+3b1=2k3b1&2k3b1",
                         "1b2+*3",
                         "",
                         "2x+1=5&x=2",
                         "x+1",
                         "1/0=",
                         "4:6=2:3&2:3",
                         "2x+1=5&x=2",
                         "3:0=",
                     }));
  ASSERT_EQ(outcomes.size(), 3u);
  EXPECT_EQ(seen, (std::vector<int>{3, 6, 7}));
  EXPECT_EQ(outcomes[0].kind, NoteOutcomeKind::CheckFailed);
  EXPECT_EQ(outcomes[0].line, 3);
  EXPECT_EQ(outcomes[0].position, 5);
  EXPECT_EQ(outcomes[0].errorNo, 0);  // after "+" only a sign, a digit or "(" may follow
  EXPECT_EQ(outcomes[0].errorText, CheckMessage(0));
  EXPECT_EQ(outcomes[1].kind, NoteOutcomeKind::Unsolvable);
  EXPECT_EQ(outcomes[1].line, 6);
  EXPECT_EQ(outcomes[2].kind, NoteOutcomeKind::NotComputable);
  EXPECT_EQ(outcomes[2].line, 7);
  EXPECT_TRUE(NotePage.modified);
  EXPECT_EQ(NotePage.backupLines[1], "1b2+3b1=9&9");

  EXPECT_EQ(NoteOutcomeText(outcomes[1], false), "[ 6 問目]は､解けませんでした。");
  EXPECT_EQ(NoteOutcomeText(outcomes[2], false), "[ 7 問目]は､計算できませんでした。");
  EXPECT_EQ(NoteOutcomeText(outcomes[0], false), "[3 問:5 字目][ｴﾗｰ値" + std::to_string(outcomes[0].errorNo) +
                                                     "]" + outcomes[0].errorText +
                                                     "\n\n編集し直してから再計算してください。");
}

TEST_F(NotePageTest, CalculateAllFollowsTheAnswerForm) {
  ANSSYU = 2;
  SYOUDSP = 1;
  SetLines({"1b2+3b1="});
  CalculateAll();
  const std::string a = EvaluateExpression("1b2+3b1=", {.forms = AnswerForms::Both, .decimal = true});
  EXPECT_EQ(NotePage.lines[0], ComposeAnswer("1b2+3b1=", a));
  EXPECT_NE(a.find("2k3b1"), std::string::npos);
  EXPECT_NE(a.find("3b7"), std::string::npos);
}

TEST_F(NotePageTest, CalculateSelectedDiffersFromTheWholePass) {
  struct Case {
    std::string line, after;
    bool changed;
    int checkPosition;  // 0: no CheckFailed
  } cases[] = {
      {"1b2+3b1=9&9", "1b2+3b1=2k3b1&2k3b1", true, 0},
      {"2x+1=5&x=7", "2x+1=5&x=2", true, 0},
      {"4:6", "4:6=2:3&2:3", true, 0},
      // Only the left side of an equation is checked; the solver then fails without an outcome.
      {"2x+1=*5", "2x+1=*5", false, 0},
      {"x+1", "x+1", false, 0},  // unsolvable: no outcome of its own
      {"1/0=", "1/0=", false, 0},  // not computable: no outcome of its own
      {"1+*2", "1+*2", false, 3},
      {"", "", false, 0},
  };
  for (const auto& c : cases) {
    SetLines({"7+7", c.line});
    NotePage.selected = 2;
    NoteCalcResult r = CalculateSelected(nullptr);
    EXPECT_EQ(NotePage.lines[1], c.after) << c.line;
    EXPECT_EQ(r.changed, c.changed) << c.line;
    EXPECT_EQ(NotePage.modified, c.changed) << c.line;
    EXPECT_EQ(NotePage.lines[0], "7+7");
    if (c.checkPosition) {
      ASSERT_EQ(r.outcomes.size(), 1u) << c.line;
      EXPECT_EQ(r.outcomes[0].position, c.checkPosition);
      EXPECT_EQ(r.outcomes[0].line, 2);
      EXPECT_NE(NoteOutcomeText(r.outcomes[0], true).find("編集し直してから再計算をせよ。"),
                std::string::npos);
    } else {
      EXPECT_TRUE(r.outcomes.empty()) << c.line;
    }
  }

  // A cancelled confirmation still replaces the undo copy.
  SetLines({"1+1=", "2+2="});
  NotePage.selected = 1;
  NotePage.backupCount = 0;
  NoteCalcResult r = CalculateSelected([] { return false; });
  EXPECT_TRUE(r.cancelled);
  EXPECT_EQ(NotePage.backupCount, 2);
  EXPECT_EQ(NotePage.lines[0], "1+1=");
}

TEST_F(NotePageTest, ForceSikiExtension) {
  struct Case {
    std::string in, out;
  } cases[] = {
      {"/home/a/page.txt", "/home/a/page.siki"},
      {"/home/a/page", "/home/a/page.siki"},
      {"/home/a/page.siki", "/home/a/page.siki"},
      {"/home/a/page.SIKI", "/home/a/page.siki"},
      {"/home/a.b/page", "/home/a.b/page.siki"},  // a dot in a folder is no extension
      {"/home/a/page.tar.gz", "/home/a/page.tar.siki"},
      {"page.", "page.siki"},
      {"page", "page.siki"},
  };
  for (const auto& c : cases) EXPECT_EQ(ForceSikiExtension(c.in), c.out) << c.in;
}

TEST_F(NotePageTest, FileBytesAreCp932WithCrLf) {
  SetLines({"1b2+3b1=2k3b1&2k3b1", "", "  2x+1=5 "});
  NotePage.title = " 分数 ";
  const std::string path = TempDir() + "/page.siki";
  ASSERT_TRUE(SaveSikiFile(path));
  EXPECT_EQ(ReadBytes(path), "# " + BUNSUU_SJIS + " \r\n1b2+3b1=2k3b1&2k3b1\r\n\r\n  2x+1=5 \r\n");
  EXPECT_FALSE(NotePage.modified);

  // Reading back: the empty line is skipped, blanks of lines go, those of the title stay.
  ResetNotePage();
  NotePage.backupCount = 7;
  EXPECT_EQ(LoadSikiFile(path), 0);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"1b2+3b1=2k3b1&2k3b1", "2x+1=5"}));
  EXPECT_EQ(NotePage.title, " 分数 ");
  EXPECT_EQ(NotePage.fileName, path);
  EXPECT_EQ(NotePage.selected, 0);
  EXPECT_EQ(NotePage.backupCount, 7);  // the undo copy is not touched

  // An empty page with an empty title gives an empty file.
  ResetNotePage();
  ASSERT_TRUE(SaveSikiFile(path));
  EXPECT_EQ(ReadBytes(path), "");
}

TEST_F(NotePageTest, ReadingTable) {
  const std::string long200(200, '1');
  struct Case {
    const char* what;
    std::string bytes;
    std::vector<std::string> lines;
    std::string title;
    int bad;
  } cases[] = {
      {"only a title", "#" + BUNSUU_SJIS + "\r\n", {}, "分数", 0},
      {"title keeps its blanks, later one wins", "#a\r\n1+1\r\n#  b  \r\n", {"1+1"}, "  b  ", 0},
      {"a # line anywhere is the title", "1+1\n#" + BUNSUU_SJIS + "\n2+2\n", {"1+1", "2+2"}, "分数", 0},
      {"LF alone and no final line end", "1+1\n2+2", {"1+1", "2+2"}, "", 0},
      {"no line end at all", "3b1+3b2", {"3b1+3b2"}, "", 0},
      {"blanks become an empty line", "1+1\r\n   \t\r\n2+2\r\n", {"1+1", "", "2+2"}, "", 0},
      {"a line of 200 bytes comes back whole", long200 + "\r\n1+1\r\n", {long200, "1+1"}, "", 1},
      {"bad lines are counted", "1+*1\r\n2+2\r\nabc\r\n", {"1+*1", "2+2", "abc"}, "", 2},
      {"empty file", "", {}, "", 0},
      {"CR alone stays inside a line", "1+1\r2+2\r\n", {"1+1\r2+2"}, "", 1},
  };
  for (const auto& c : cases) {
    SetLines({"9+9"});
    NotePage.title = "old";
    EXPECT_EQ(LoadSikiBytes(c.bytes), c.bad) << c.what;
    EXPECT_EQ(Lines(), c.lines) << c.what;
    EXPECT_EQ(NotePage.title, c.title) << c.what;
    EXPECT_TRUE(LastSikiLoad.unreadableLines.empty()) << c.what;
    EXPECT_EQ(LastSikiLoad.droppedLines, 0) << c.what;
  }
}

TEST_F(NotePageTest, DamagedFilesAreReadAndReported) {
  // Bytes that are not CP932 and NUL bytes become "?", the lines are counted bad and reported.
  const std::string bytes = std::string("1+1\r\n") + "2\x80+2\r\n" + "3+\xff\r\n" +
                            std::string(
                                "4+\0"
                                "4\r\n",
                                6) +
                            "5+\x95\r\n";
  EXPECT_EQ(LoadSikiBytes(bytes), 4);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"1+1", "2?+2", "3+?", "4+?4", "5+?"}));
  EXPECT_EQ(LastSikiLoad.unreadableLines, (std::vector<int>{2, 3, 4, 5}));
  ReportSikiLoadProblems();
  ASSERT_EQ(TestPlatform().ShownTexts().size(), 1u);
  EXPECT_EQ(
      TestPlatform().ShownTexts()[0],
      "ご注意！: ファイルの 2、3、4、5 行目に、読めない文字がありました。\n\n読めない文字は「?」に置き換えました。");

  // More than 50 lines: the first 50 are kept, the rest reported.
  TestPlatform().Clear();
  std::string many;
  for (int i = 1; i <= 53; ++i) many += std::to_string(i) + "+1\r\n";
  many += "#title at the end\r\n";
  EXPECT_EQ(LoadSikiBytes(many), 0);
  EXPECT_EQ(NotePage.lineCount, 50);
  EXPECT_EQ(NotePage.lines[49], "50+1");
  EXPECT_EQ(NotePage.title, "title at the end");
  EXPECT_EQ(LastSikiLoad.droppedLines, 3);
  ReportSikiLoadProblems();
  EXPECT_EQ(
      TestPlatform().ShownTexts(),
      (std::vector<std::string>{
          "ご注意！: ノートには50問までしか書けません。\n\n51問目からの 3 行は読み込みませんでした。"}));

  // A file that was read whole and clean reports nothing.
  TestPlatform().Clear();
  LoadSikiBytes("1+1\r\n");
  ReportSikiLoadProblems();
  EXPECT_TRUE(TestPlatform().ShownTexts().empty());
}

TEST_F(NotePageTest, MissingFileLeavesThePageAsItWas) {
  SetLines({"1+1"});
  NotePage.title = "t";
  NotePage.fileName = "/old.siki";
  NotePage.modified = true;
  for (const std::string& path : {TempDir() + "/missing.siki", TempDir()}) {
    EXPECT_EQ(LoadSikiFile(path), SIKI_CANNOT_OPEN) << path;
    EXPECT_EQ(Lines(), (std::vector<std::string>{"1+1"}));
    EXPECT_EQ(NotePage.title, "t");
    EXPECT_EQ(NotePage.fileName, "/old.siki");
    EXPECT_TRUE(NotePage.modified);
  }
}

TEST_F(NotePageTest, RestoreAfterLoadBringsBackTheCopyBeforeIt) {
  SetLines({"1+1", "2+2"});
  NotePage.selected = 1;
  DeleteSelected();  // undo copy: 1+1, 2+2
  const std::string path = TempDir() + "/r.siki";
  WriteBytes(path, "7+7\r\n");
  LoadSikiFile(path);
  NotePage.modified = true;
  RestoreBackup();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"1+1", "2+2"}));
  EXPECT_FALSE(NotePage.modified);
}

TEST_F(NotePageTest, TextsWithoutCp932FormAreNotSaved) {
  const std::string path = TempDir() + "/emoji.siki";
  WriteBytes(path, "1+1\r\n");
  SetLines({"2+2"});
  NotePage.title = "😀";
  NotePage.modified = true;
  EXPECT_FALSE(SaveSikiFile(path));
  EXPECT_TRUE(NotePage.modified);
  EXPECT_EQ(ReadBytes(path), "1+1\r\n");
}

TEST_F(NotePageTest, LineEndsInsideATextDoNotSplitIt) {
  SetLines({"1+1\r\n#2"});
  std::string bytes;
  ASSERT_TRUE(SikiFileBytes(bytes));
  EXPECT_EQ(bytes, "1+1  #2\r\n");
}

// Fault test: saving into a folder that cannot be written leaves the old file intact and the page
// modified. Root ignores permission bits, so there the folder is made immutable instead.
TEST_F(NotePageTest, SaveIntoUnwritableFolderKeepsOldFileAndModified) {
  const std::string dir = TempDir() + "/locked";
  ASSERT_EQ(::mkdir(dir.c_str(), 0755), 0);
  const std::string path = dir + "/page.siki";
  WriteBytes(path, "#old\r\n1+1\r\n");

  bool locked = false;
  int dirFd = -1;
  if (::geteuid() != 0) {
    locked = ::chmod(dir.c_str(), 0555) == 0;
  } else {
    dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    int flags = 0;
    if (dirFd >= 0 && ::ioctl(dirFd, FS_IOC_GETFLAGS, &flags) == 0) {
      flags |= FS_IMMUTABLE_FL;
      locked = ::ioctl(dirFd, FS_IOC_SETFLAGS, &flags) == 0;
    }
  }
  auto unlock = [&] {
    if (::geteuid() != 0) {
      ::chmod(dir.c_str(), 0755);
    } else if (dirFd >= 0) {
      int flags = 0;
      if (::ioctl(dirFd, FS_IOC_GETFLAGS, &flags) == 0) {
        flags &= ~FS_IMMUTABLE_FL;
        ::ioctl(dirFd, FS_IOC_SETFLAGS, &flags);
      }
      ::close(dirFd);
    }
  };
  if (!locked) {
    unlock();
    GTEST_SKIP() << "this file system cannot lock a folder";
  }

  SetLines({"2+2", "3+3"});
  NotePage.modified = true;
  const bool saved = SaveSikiFile(path);
  const std::string after = ReadBytes(path);
  unlock();
  EXPECT_FALSE(saved);
  EXPECT_TRUE(NotePage.modified);
  EXPECT_EQ(after, "#old\r\n1+1\r\n");
  // No temporary file is left behind.
  int entries = 0;
  if (DIR* d = ::opendir(dir.c_str())) {
    while (dirent* e = ::readdir(d))
      if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") ++entries;
    ::closedir(d);
  }
  EXPECT_EQ(entries, 1);
}

// The same fault through paths that no one can write: a folder that is a file, and a target that is a
// folder (the rename fails after the temporary file was written, which is then removed).
TEST_F(NotePageTest, SaveFailuresOfEveryKindAreReturned) {
  const std::string base = TempDir();
  WriteBytes(base + "/plainfile", "x");
  ASSERT_EQ(::mkdir((base + "/target.siki").c_str(), 0755), 0);
  SetLines({"1+1"});
  for (const std::string& path : {base + "/plainfile/page.siki", base + "/target.siki", std::string()}) {
    NotePage.modified = true;
    EXPECT_FALSE(SaveSikiFile(path)) << path;
    EXPECT_TRUE(NotePage.modified) << path;
  }
  struct stat st;
  EXPECT_EQ(::stat((base + "/target.siki").c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
}

TEST_F(NotePageTest, SaveKeepsPermissionsOfTheOldFile) {
  const std::string path = TempDir() + "/perm.siki";
  WriteBytes(path, "1+1\r\n");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  SetLines({"2+2"});
  ASSERT_TRUE(SaveSikiFile(path));
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(ReadBytes(path), "2+2\r\n");
}

// Characters the file's code page has no place for are found where they are and replaced one by one;
// everything CP932 holds (its own circled numbers and wave dash included) stays.
TEST_F(NotePageTest, CharactersTheFileCannotStoreAreNamedAndReplaced) {
  struct Case {
    std::string text;
    std::string replaced;
    int count;
  };
  const Case cases[] = {
      {"3b1+3b1", "3b1+3b1", 0},
      {"①～〜ｱ漢字", "①～〜ｱ漢字", 0},
      {"😀😀a", "〓〓a", 2},
      {"𠮷野", "〓野", 1},
      {"a\xC3", "a〓", 1},  // a cut sequence at the end
      {"\x80x\xED\xA0\x80", "〓x〓", 2},  // a lone continuation byte, an encoded surrogate
  };
  for (const Case& c : cases) {
    int count = -1;
    EXPECT_EQ(ReplaceUnstorable(c.text, &count), c.replaced) << c.text;
    EXPECT_EQ(count, c.count) << c.text;
  }

  NotePage.title = "今日😀";
  ReplaceAllLines({"1+1", "2+2 ①", "3+3 🍎🍎"});
  NotePage.modified = false;
  const std::vector<SikiUnstorable> found = FindUnstorableCharacters();
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(found[0].line, 0);
  EXPECT_EQ(found[0].character, "😀");
  EXPECT_EQ(found[1].line, 3);
  EXPECT_EQ(found[2].character, "🍎");
  EXPECT_EQ(
      UnstorableQuestion(found),
      "次の文字はファイルに保存できません。\n\n表題の「😀」\n3 問目の「🍎」\n3 問目の「🍎」\n\n「〓」に置き換えて保存しますか？");
  std::string bytes;
  EXPECT_FALSE(SikiFileBytes(bytes));
  EXPECT_EQ(ReplaceUnstorableCharacters(), 3);
  EXPECT_TRUE(NotePage.modified);
  EXPECT_EQ(NotePage.title, "今日〓");
  EXPECT_EQ(NotePage.lines[1], "2+2 ①");
  EXPECT_EQ(NotePage.lines[2], "3+3 〓〓");
  EXPECT_TRUE(SikiFileBytes(bytes));
}
