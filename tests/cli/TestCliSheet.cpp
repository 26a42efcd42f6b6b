// Tests of "kazoru-cli sheet" through the real executable: the list of skills, the page a seed makes again
// byte for byte, refused controls, and the printed sheet and answer key read back with pdftotext.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <set>

#include "support/CliRunner.h"

namespace {

std::string PdfText(const std::string& pdf) {
  const std::string txt = pdf + ".txt";
  const std::string cmd = "pdftotext -layout '" + pdf + "' '" + txt + "' 2>/dev/null";
  if (std::system(cmd.c_str()) != 0) return "";
  return ReadBytes(txt);
}

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + what.size())) ++n;
  return n;
}

}  // namespace

TEST(CliSheet, ListSkillsNamesEverySkillWithItsTypesAndControls) {
  const CliResult r = RunCli("sheet --list-skills");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const nlohmann::json skills = nlohmann::json::parse(r.out);
  std::set<std::string> ids;
  std::set<int> types;
  for (const auto& s : skills) {
    EXPECT_TRUE(ids.insert(s["id"].get<std::string>()).second);
    EXPECT_FALSE(s["name"].get<std::string>().empty());
    ASSERT_FALSE(s["processTypes"].empty());
    types.insert(s["processTypes"][0].get<int>());
    EXPECT_TRUE(std::count(s["controls"].begin(), s["controls"].end(), "seed"));
  }
  for (const char* id : {"sum-unlike", "difference-borrow", "product-cancel", "factorise", "ratio",
                         "equation", "order-of-operations", "reduce", "improper-to-mixed",
                         "mixed-to-improper", "decimal-to-fraction", "repeating-to-fraction"})
    EXPECT_TRUE(ids.count(id)) << id;
  // Every process type the driver and the conversion commands make.
  for (int t : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 17, 18}) EXPECT_TRUE(types.count(t)) << t;
}

TEST(CliSheet, TheSameSeedWritesTheSamePageAndJsonListsTheProblems) {
  const std::string dir = TempDir();
  const std::string args = "sheet --skill difference-borrow --count 8 --seed 31 --max-den 9 ";
  const CliResult a = RunCli(args + "--json -o '" + dir + "/a.siki'");
  ASSERT_EQ(a.exitCode, 0) << a.err;
  ASSERT_EQ(RunCli(args + "-o '" + dir + "/b.siki'").exitCode, 0);
  ASSERT_EQ(RunCli(args + "--version B -o '" + dir + "/c.siki'").exitCode, 0);
  const std::string page = ReadBytes(dir + "/a.siki");
  EXPECT_FALSE(page.empty());
  EXPECT_EQ(page, ReadBytes(dir + "/b.siki"));
  EXPECT_NE(page, ReadBytes(dir + "/c.siki"));
  const nlohmann::json j = JsonLines(a.out).at(0);
  EXPECT_EQ(j["skill"], "difference-borrow");
  EXPECT_EQ(j["seed"], 31);
  EXPECT_EQ(j["version"], "A");
  ASSERT_EQ(j["problems"].size(), 8u);
  for (const auto& p : j["problems"]) {
    EXPECT_EQ(p["processType"], 8);
    EXPECT_NE(page.find(p["expr"].get<std::string>() + "\r\n"), std::string::npos);
  }
}

TEST(CliSheet, ControlsNoProblemCanMeetAreRefused) {
  const std::string dir = TempDir();
  const CliResult r = RunCli("sheet --skill sum-unlike --max-den 2 -o '" + dir + "/x.siki'");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("「いちばん大きい分母」"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(dir + "/x.siki"));
  // Fewer than asked: the page keeps those made and the run says how many.
  const CliResult few =
      RunCli("sheet --skill sum-like --max-den 3 --count 50 --seed 1 -o '" + dir + "/y.siki'");
  EXPECT_EQ(few.exitCode, 1);
  EXPECT_NE(few.err.find("問しか作れませんでした"), std::string::npos) << few.err;
  EXPECT_TRUE(std::filesystem::exists(dir + "/y.siki"));
  // Texts that are no control at all are usage errors.
  for (const char* bad : {"--count 0", "--count 51", "--reduce maybe", "--version 7", "--max-den x"})
    EXPECT_EQ(RunCli(std::string("sheet --skill sum-like ") + bad + " -o '" + dir + "/z.siki'").exitCode, 2)
        << bad;
  EXPECT_EQ(RunCli("sheet --count 3 -o '" + dir + "/z.siki'").exitCode, 2);
}

TEST(CliSheet, PrintedSheetAndKeyHoldEveryProblemAndItsProcess) {
  const std::string dir = TempDir();
  const int count = 12;
  const CliResult r = RunCli("sheet --skill sum-unlike --count " + std::to_string(count) +
                             " --seed 9 --version B --json --advice -o '" + dir + "/p.siki' --pdf '" + dir +
                             "/s.pdf' --key '" + dir + "/k.pdf'");
  if ((r.out + r.err).find("画面なしで作られた") != std::string::npos)
    GTEST_SKIP() << "kazoru-cli was built without Qt";
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const nlohmann::json j = JsonLines(r.out).at(0);
  const std::string sheet = PdfText(dir + "/s.pdf");
  ASSERT_FALSE(sheet.empty());
  EXPECT_NE(sheet.find("分母がちがう分数のたし算"), std::string::npos);
  EXPECT_NE(sheet.find("B版"), std::string::npos);
  EXPECT_NE(sheet.find("シード9"), std::string::npos);
  EXPECT_NE(sheet.find("名前"), std::string::npos);
  for (int i = 1; i <= count; ++i) EXPECT_EQ(Count(sheet, "[" + std::to_string(i) + "]"), 1) << i;
  EXPECT_EQ(Count(sheet, "[" + std::to_string(count + 1) + "]"), 0);
  EXPECT_EQ(Count(sheet, "【答】"), count);

  const std::string key = PdfText(dir + "/k.pdf");
  ASSERT_FALSE(key.empty());
  EXPECT_NE(key.find("【解答】"), std::string::npos);
  // The key numbers the problems as the sheet does, each at the start of its row (the advice's own
  // numbers stand after its text).
  for (int i = 1; i <= count; ++i) EXPECT_EQ(Count("\n" + key, "\n[" + std::to_string(i) + "]"), 1) << i;
  EXPECT_EQ(Count(key, "(1)"), 0);
  // Each problem's process: its type's title, and the advice of its last step.
  EXPECT_EQ(Count(key, "タイプ[01]"), count);
  EXPECT_EQ(Count(key, "[20]"), count);
  EXPECT_EQ(Count(key, "【答】"), count);
  EXPECT_EQ(j["keyPages"].get<int>() >= 2, true);

  // Without --advice the key draws no advice, and a 50-problem sheet runs onto a second page.
  ASSERT_EQ(RunCli("sheet --skill product-cancel --count 50 --seed 3 --json -o '" + dir + "/q.siki' --pdf '" +
                   dir + "/s2.pdf' --key '" + dir + "/k2.pdf'")
                .exitCode,
            0);
  const std::string key2 = PdfText(dir + "/k2.pdf");
  EXPECT_EQ(Count(key2, "タイプ[10]"), 50);
  EXPECT_EQ(Count(key2, "[20]"), 1);  // the twentieth problem's number: no advice
  const std::string sheet2 = PdfText(dir + "/s2.pdf");
  for (int i = 1; i <= 50; ++i) EXPECT_EQ(Count(sheet2, "[" + std::to_string(i) + "]"), 1) << i;
}

// Twenty problems are one A4 page in two columns: [1] … [10] down the left, [11] … [20] down the right,
// each row of the page holding a problem of either column.
TEST(CliSheet, TwentyProblemsFitOnePageInTwoColumns) {
  const std::string dir = TempDir();
  const CliResult r = RunCli("sheet --skill sum-mixed-carry --count 20 --seed 4 --json -o '" + dir +
                             "/p.siki' --pdf '" + dir + "/s.pdf' --key '" + dir + "/k.pdf'");
  if ((r.out + r.err).find("画面なしで作られた") != std::string::npos)
    GTEST_SKIP() << "kazoru-cli was built without Qt";
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const nlohmann::json j = JsonLines(r.out).at(0);
  EXPECT_EQ(j["pages"], 1);
  const std::string sheet = PdfText(dir + "/s.pdf");
  EXPECT_EQ(Count(sheet, "\f"), 1);  // one page
  for (int i = 1; i <= 10; ++i) {
    const std::string left = "[" + std::to_string(i) + "]", right = "[" + std::to_string(i + 10) + "]";
    const size_t at = sheet.find(left);
    ASSERT_NE(at, std::string::npos) << left;
    const size_t lineEnd = sheet.find('\n', at);
    EXPECT_NE(sheet.substr(at, lineEnd - at).find(right), std::string::npos) << left << " beside " << right;
  }
  // The key leaves out the screen's key hint for the other method.
  const std::string key = PdfText(dir + "/k.pdf");
  EXPECT_EQ(Count(key, "タイプ[08]"), 20);
  EXPECT_EQ(key.find("F6"), std::string::npos);
}
