// kazoru-cli process and convert through the real executable: result text, JSON fields, exit status.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <array>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

namespace {

struct Output {
  std::string out;
  int status = -1;
};

// stdinText, when given, is piped to the program.
Output RunCli(const std::string& args, const std::string& stdinText = "") {
  std::string cmd = std::string(KAZORU_CLI_PATH) + " " + args + " 2>/dev/null";
  if (!stdinText.empty()) cmd = "printf '" + stdinText + "' | " + cmd;
  Output o;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return o;
  std::array<char, 4096> buf{};
  size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) o.out.append(buf.data(), n);
  int rc = pclose(p);
  o.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  return o;
}

TEST(CliProcess, PrintsTheNormalisedProcessText) {
  Output o = RunCli("process 2b1+3b1");
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.out, "003X2b1+3b1~004X=[2*3B1*3]+[3*2B1*2]~005X=6b3+6b2~035X=[6B3+2]~020X=6b5~\n");
}

TEST(CliProcess, JsonLinesFollowTheDetailLevelAndSwitches) {
  Output o = RunCli("process --json 2b1+3b1");
  nlohmann::json j = nlohmann::json::parse(o.out);
  EXPECT_EQ(j["type"], 1);
  EXPECT_EQ(j["status"], 1);
  EXPECT_EQ(j["processOk"], true);
  ASSERT_EQ(j["lines"].size(), 3u);  // advice 4 and 35 are hidden at the normal level
  EXPECT_EQ(j["lines"][2]["advice"], 20);
  EXPECT_EQ(j["lines"][2]["style"], "X");
  EXPECT_EQ(j["lines"][2]["expr"], "6b5");

  j = nlohmann::json::parse(RunCli("process --json --detail --alt --final improper 2+3b1").out);
  EXPECT_EQ(j["type"], 6);
  ASSERT_FALSE(j["lines"].empty());
  EXPECT_EQ(j["lines"].back()["expr"], "3b7");
}

// With the improper fraction as the final form, a sum of an integer and a fraction ends at its improper
// fraction: it does not go to the mixed number and back.
TEST(CliProcess, FinalFormImproperGoesStraightToIt) {
  struct Case {
    const char* args;
    const char* answer;
    bool mixedOnTheWay;  // a line with advice 9 (to the mixed number) is drawn
  } cases[] = {
      {"--final improper 2+3b4", "3b10", false},   {"--final improper 2+1k3b1", "3b10", false},
      {"--final improper m2-3b4", "m3b10", false}, {"--final mixed 2+3b4", "3k3b1", true},
      {"--final mixed 2+1k3b1", "3k3b1", true},
  };
  for (const auto& c : cases) {
    Output o = RunCli(std::string("process --json --detail ") + c.args);
    ASSERT_EQ(o.status, 0) << c.args;
    nlohmann::json j = nlohmann::json::parse(o.out);
    ASSERT_FALSE(j["lines"].empty()) << c.args;
    EXPECT_EQ(j["lines"].back()["expr"], c.answer) << c.args;
    EXPECT_EQ(j["lines"].back()["advice"], 20) << c.args;
    bool nine = false, forty = false, answerTwice = false;
    for (size_t i = 0; i < j["lines"].size(); ++i) {
      nine = nine || j["lines"][i]["advice"] == 9;
      forty = forty || j["lines"][i]["advice"] == 40;
      if (i + 1 < j["lines"].size() && j["lines"][i]["expr"] == c.answer) answerTwice = true;
    }
    EXPECT_EQ(nine, c.mixedOnTheWay) << c.args << " " << o.out;
    EXPECT_FALSE(forty) << c.args << " " << o.out;
    EXPECT_FALSE(answerTwice) << c.args << " " << o.out;
  }
}

TEST(CliProcess, FailuresAndDeclines) {
  Output o = RunCli("process --json 9223372036854775807b1+2b1");
  nlohmann::json j = nlohmann::json::parse(o.out);
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(j["processOk"], false);
  EXPECT_EQ(j["messages"][0]["text"], "◆通分に失敗しました！");
  o = RunCli("process --json 2*3");
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(nlohmann::json::parse(o.out)["status"], 0);
  EXPECT_EQ(RunCli("process --final both 2b1+3b1").status, 2);
}

TEST(CliProcess, EveryBatchLineStartsAfresh) {
  // The failure of the first line leaves nothing behind for the second.
  Output o = RunCli("process --json -", "9223372036854775807b1+2b1\\n3b2*4b3\\n");
  std::string second = o.out.substr(o.out.find('\n') + 1);
  nlohmann::json j = nlohmann::json::parse(second);
  EXPECT_EQ(j["processOk"], true);
  EXPECT_EQ(j["type"], 10);
  EXPECT_TRUE(j["messages"].empty());
}

TEST(CliConvert, ImproperToMixedAndBack) {
  Output o = RunCli("convert --to-mixed 3b7");
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.out,
            "043X3b7~044X=[3B3*2+1]~045X=[3B3*2]+3b1~090X=3b3*2+3b1~097Y=3b3*2+3b1~010X=2+3b1~047X=2k3b1~\n");
  o = RunCli("convert --to-improper --json 2k3b1");
  nlohmann::json j = nlohmann::json::parse(o.out);
  EXPECT_EQ(j["type"], 18);
  EXPECT_EQ(j["lines"].back()["expr"], "3b7");
  o = RunCli("convert --to-mixed --no-reduce 6b9");
  EXPECT_NE(o.out.find("047X=1k6b3~"), std::string::npos) << o.out;
  EXPECT_EQ(RunCli("convert --to-mixed 3b2").status, 1);
  EXPECT_EQ(RunCli("convert 3b7").status, 2);
}

}  // namespace
