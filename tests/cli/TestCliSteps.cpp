// kazoru-cli steps through the real executable: plain lines per step, the JSON object of a chain, the
// exit status, the final form option, and a class's notebook files checked one JSON line per file.
#include <gtest/gtest.h>

#include <fstream>

#include "support/CliRunner.h"

namespace {

TEST(CliSteps, PlainOutputIsOneLinePerStep) {
  CliResult r = RunCli("steps '2b1+3b1=6b3+6b2=12b5'");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out,
            "1 ok 正しいね。その調子！\n"
            "2 mistake add-across 分母どうしはたしません。まず通分しよう。\n");
  EXPECT_EQ(r.err, "");

  r = RunCli("steps '2b1+3b1=6b3+6b2=6b5'");
  EXPECT_EQ(r.exitCode, 0);
}

TEST(CliSteps, JsonHoldsEveryStepWithItsFields) {
  CliResult r = RunCli("steps --json '2b1+3b1=6b3+6b2=12b10'");
  ASSERT_EQ(r.exitCode, 1);
  auto lines = JsonLines(r.out);
  ASSERT_EQ(lines.size(), 1u);
  const nlohmann::json& j = lines[0];
  EXPECT_EQ(j["input"], "2b1+3b1=6b3+6b2=12b10");
  EXPECT_EQ(j["status"], 0);
  EXPECT_TRUE(j["messages"].empty());
  ASSERT_EQ(j["steps"].size(), 2u);
  const nlohmann::json& first = j["steps"][0];
  EXPECT_EQ(first["from"], "2b1+3b1");
  EXPECT_EQ(first["to"], "6b3+6b2");
  EXPECT_EQ(first["verdict"], "ok");
  EXPECT_TRUE(first["mistake"].is_null());
  EXPECT_EQ(first["hint"], "6b3+6b2");
  EXPECT_TRUE(first["final"].is_null());
  const nlohmann::json& last = j["steps"][1];
  EXPECT_EQ(last["verdict"], "ok");
  EXPECT_EQ(last["final"], "not-reduced");
  for (const char* key : {"from", "to", "verdict", "mistake", "advice", "hint", "final"})
    EXPECT_TRUE(last.contains(key)) << key;
}

TEST(CliSteps, ProblemAloneGetsTheFirstStepAsItsHint) {
  CliResult r = RunCli("steps '3b2+4b1='");
  EXPECT_EQ(r.out, "途中の式を「＝」でつないで書こう。\nヒント 12b8+12b3\n");
  EXPECT_EQ(r.exitCode, 1);  // not yet right working
  r = RunCli("steps --json '3b2+4b1='");
  auto lines = JsonLines(r.out);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_TRUE(lines[0]["steps"].empty());
  EXPECT_EQ(lines[0]["hint"], "12b8+12b3");
  // With steps the chain's hint goes on from the last right one.
  lines = JsonLines(RunCli("steps --json '3b2+4b1=12b8+12b3'").out);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0]["hint"], "12b11");
}

TEST(CliSteps, FinalFormOptionAndOneRunPerLineOfInput) {
  CliResult r = RunCli("steps --json --final improper -", "3b2+3b2=3b4\n3b2+3b2=1k3b1\n2b1+3b1=2+*\n");
  auto lines = JsonLines(r.out);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0]["status"], 1);
  EXPECT_EQ(lines[1]["steps"][0]["final"], "mixed-left");
  EXPECT_EQ(lines[2]["steps"][0]["verdict"], "unreadable");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(RunCli("steps --final sideways 1=1").exitCode, 2);
}

TEST(CliSteps, NotebookFolderGivesOneJsonLinePerFile) {
  const std::string dir = TempDir() + "/class";
  ASSERT_EQ(system(("mkdir -p '" + dir + "'").c_str()), 0);
  std::ofstream(dir + "/a.siki", std::ios::binary)
      << "test\r\n2b1+3b1\r\n=6b3+6b2\r\n=6b5\r\n3b2/5b4\r\n=15b8\r\n";
  std::ofstream(dir + "/b.siki", std::ios::binary) << "test\r\n2b1+3b1=5b2\r\n4b3-2b1=2b2\r\n";
  std::ofstream(dir + "/notes.txt", std::ios::binary) << "not a notebook\r\n";
  CliResult r = RunCli("steps --notebook --json '" + dir + "'");
  auto lines = JsonLines(r.out);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0]["file"], dir + "/a.siki");
  EXPECT_EQ(lines[0]["summary"]["problems"], 2);
  EXPECT_EQ(lines[0]["summary"]["steps"], 3);
  EXPECT_EQ(lines[0]["summary"]["stepsRight"], 2);
  EXPECT_EQ(lines[0]["summary"]["mistakes"]["divide-not-inverted"], 1);
  ASSERT_EQ(lines[0]["problems"].size(), 2u);
  EXPECT_EQ(lines[0]["problems"][0]["steps"][1]["line"], 4);  // the working line it was written on
  EXPECT_EQ(lines[1]["summary"]["mistakes"]["add-across"], 1);
  EXPECT_EQ(lines[1]["summary"]["mistakes"]["subtract-across"], 1);
  EXPECT_EQ(r.exitCode, 1);

  r = RunCli("steps --notebook '" + dir + "/missing.siki'");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err, "");
}

}  // namespace
