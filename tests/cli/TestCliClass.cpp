// Tests of "kazoru-cli assign" and "kazoru-cli class" through the real executable: a code made and read
// back with the same problems, a damaged code refused with the pupil's message, and the checked-in class
// of result files (tests/data/classroom) summarised exactly as JSON Lines, text and CSV.
#include <gtest/gtest.h>

#include "support/CliRunner.h"

namespace {

const char* const MAKE =
    "assign --json --skill sum-unlike --count 4 --seed 5 --title '5年2組 分数のたし算' --final mixed "
    "--feedback now";

std::string Marks(const nlohmann::json& pupil) {
  std::string s;
  for (const auto& p : pupil["problems"]) {
    const std::string v = p["verdict"];
    s += v == "right" ? "○" : v == "right-answer-wrong-step" ? "△" : v == "wrong" ? "×" : "—";
  }
  return s;
}

}  // namespace

TEST(CliAssign, CodeIsMadeAndReadBackWithTheSameProblems) {
  const CliResult made = RunCli(MAKE);
  ASSERT_EQ(made.exitCode, 0) << made.err;
  const nlohmann::json a = JsonLines(made.out).at(0);
  const std::string code = a["code"];
  EXPECT_LE(code.size(), 200u);
  EXPECT_EQ(a["link"], "https://kazoru.example.org/#kadai=" + code);
  EXPECT_EQ(a["problems"].size(), 4u);
  EXPECT_EQ(a["final"], "mixed");
  EXPECT_EQ(a["feedback"], "now");
  EXPECT_EQ(a["version"], "A");
  // The fixtures were made from this very code.
  EXPECT_NE(ReadBytes(TestDataDir() + "/classroom/5年2組-1-青木 はると-分数のたし算.kazoru").find(code),
            std::string::npos);

  const CliResult open =
      RunCli("assign --json --site https://school.example/k/ --open 'https://x/#kadai=" + code + "'");
  ASSERT_EQ(open.exitCode, 0) << open.err;
  const nlohmann::json b = JsonLines(open.out).at(0);
  for (const char* key : {"code", "title", "skill", "seed", "version", "final", "feedback", "problems"})
    EXPECT_EQ(b[key], a[key]) << key;
  EXPECT_EQ(b["link"], "https://school.example/k/#kadai=" + code);

  const CliResult plain = RunCli("assign --open " + code.substr(0, code.size() - 3));
  EXPECT_EQ(plain.exitCode, 1);
  EXPECT_EQ(plain.out, "n\n");
  EXPECT_NE(plain.err.find("課題: 課題のコードがまちがっているか、途中で切れています。"), std::string::npos)
      << plain.err;

  // Options that make no assignment are usage errors.
  EXPECT_EQ(RunCli("assign --skill sum-unlike --title t --final both --feedback now").exitCode, 2);
  EXPECT_EQ(RunCli("assign --open X --skill sum-unlike").exitCode, 2);
  const CliResult refused =
      RunCli("assign --skill sum-unlike --count 0 --title t --final mixed --feedback now");
  EXPECT_EQ(refused.exitCode, 1);
}

TEST(CliClass, CheckedInClassIsSummarisedExactly) {
  const std::string dir = TestDataDir() + "/classroom";
  const std::string csv = TempDir() + "/class.csv";
  const CliResult r = RunCli("class --json '" + dir + "' --csv '" + csv + "'");
  // One file of the folder cannot be read: the run says so in its exit status.
  EXPECT_EQ(r.exitCode, 1) << r.err;
  const std::vector<nlohmann::json> lines = JsonLines(r.out);
  ASSERT_EQ(lines.size(), 2u);
  const nlohmann::json& a = lines[0];
  EXPECT_EQ(a["title"], "5年2組 分数のたし算");
  ASSERT_EQ(a["pupils"].size(), 3u);
  EXPECT_EQ(Marks(a["pupils"][0]), "○○○○");
  EXPECT_EQ(Marks(a["pupils"][1]), "△×△—");
  EXPECT_EQ(Marks(a["pupils"][2]), "×○——");
  EXPECT_EQ(a["pupils"][1]["name"], "石井 \"ゆい\", A");
  EXPECT_EQ(a["pupils"][1]["score"], 0);
  EXPECT_EQ(a["pupils"][1]["problems"][0]["mistakes"], nlohmann::json::array({"improper-left"}));
  EXPECT_EQ(a["pupils"][1]["problems"][1]["mistakes"], nlohmann::json::array({"add-across"}));
  EXPECT_EQ(a["pupils"][1]["problems"][2]["steps"], nlohmann::json::array({"wrong", "wrong"}));
  std::vector<int> right;
  for (const auto& p : a["problems"]) right.push_back(p["right"]);
  EXPECT_EQ(right, (std::vector<int>{1, 2, 1, 1}));
  EXPECT_EQ(a["mistakes"][0], (nlohmann::json{{"id", "add-across"}, {"pupils", 2}}));
  ASSERT_EQ(a["superseded"].size(), 1u);
  EXPECT_NE(a["superseded"][0].get<std::string>().find("分数のたし算 (1).kazoru"), std::string::npos);
  EXPECT_TRUE(a["tampered"].empty());
  ASSERT_EQ(lines[1]["skipped"].size(), 1u);
  EXPECT_NE(lines[1]["skipped"][0]["file"].get<std::string>().find("notes.kazoru"), std::string::npos);
  EXPECT_NE(lines[1]["skipped"][0]["reason"].get<std::string>().find("JSON"), std::string::npos);

  const std::string bytes = ReadBytes(csv);
  ASSERT_EQ(bytes.compare(0, 3, "\xEF\xBB\xBF"), 0);
  EXPECT_NE(bytes.find("5年2組,2,\"石井 \"\"ゆい\"\", A\",0,1分00秒,△,× 分母どうし・分子どうしをたした,△,—,"),
            std::string::npos);

  // The text output names the same cells; nothing at all to summarise is a failure with a message.
  const CliResult text = RunCli("class '" + dir + "'");
  EXPECT_NE(text.out.find("5年2組\t3\t上田 そら\t1/4\t0分40秒\t× 分母どうし・分子どうしをたした\t○\t—\t—"),
            std::string::npos)
      << text.out;
  const CliResult none = RunCli("class '" + TempDir() + "/none.kazoru'");
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_NE(none.out.find("ファイルがありません"), std::string::npos);
  EXPECT_EQ(RunCli("class").exitCode, 2);
}
