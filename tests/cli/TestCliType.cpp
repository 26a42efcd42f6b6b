// Tests of "kazoru-cli type" through the real executable: lines typed key by key, the refusals reported
// per key, options that stand for settings, a fresh screen for every line of a batch.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "support/CliRunner.h"

TEST(CliType, TypedLines) {
  struct Case {
    const char* args;
    const char* result;
    int status;
  };
  const Case cases[] = {
      {"'2b1+3b1='", "2b1+3b1=6b5", 1},
      {"'1k3b2*2='", "1k3b2*2=3k3b1", 1},
      {"--mode 1 '2b1+1='", "2b1+1=2b3", 1},
      {"'2:4='", "2:4=1:2&1:2", 1},
      {"'x+1=5'", "x+1=5", 0},
      {"'12+3{Back}4'", "12+4", 0},
      {"'1+2={Delete}{Insert}'", "1+2", 0},
      {"'{Yen}*2'", "3.14*2", 0},
      {"--wari 0 '7/2='", nullptr, 1},
  };
  for (const auto& c : cases) {
    CliResult r = RunCli(std::string("type --json ") + c.args);
    ASSERT_EQ(r.exitCode, 0) << c.args << r.err;
    auto lines = JsonLines(r.out);
    ASSERT_EQ(lines.size(), 1u) << c.args;
    if (c.result) {
      EXPECT_EQ(lines[0]["result"], c.result) << c.args;
    }
    EXPECT_EQ(lines[0]["status"], c.status) << c.args;
    EXPECT_EQ(lines[0]["lineOpen"], c.status == 0) << c.args;
  }
}

TEST(CliType, RefusalsNameTheKeyAndItsMessage) {
  CliResult r = RunCli("type --json '1+*2{F9}'");
  ASSERT_EQ(r.exitCode, 0);
  auto j = JsonLines(r.out).at(0);
  EXPECT_EQ(j["result"], "1+2");
  ASSERT_EQ(j["refused"].size(), 2u);
  EXPECT_EQ(j["refused"][0]["pos"], 3);
  EXPECT_EQ(j["refused"][0]["key"], "*");
  EXPECT_EQ(j["refused"][0]["errorNo"], 4);
  EXPECT_EQ(j["refused"][1]["key"], "{F9}");
  EXPECT_EQ(j["refused"][1]["errorNo"], 39);
  EXPECT_EQ(j["statusLine"], "");

  // The twentieth digit: the notice is a message of the run, the status line keeps the refusal.
  r = RunCli("type --json 12345678901234567890");
  j = JsonLines(r.out).at(0);
  EXPECT_EQ(j["result"], "1234567890123456789");
  EXPECT_EQ(j["statusLine"], "[21]: 入力数値が１９ケタを超えた");
  ASSERT_EQ(j["messages"].size(), 1u);
  EXPECT_EQ(j["messages"][0]["caption"], "警告！");
}

TEST(CliType, ProcessDisplayKeepsTheLineWithItsProcess) {
  CliResult r = RunCli("type --json --procdsp '2b1+3b1='");
  auto j = JsonLines(r.out).at(0);
  EXPECT_EQ(j["status"], 1);
  EXPECT_EQ(j["result"], "2b1+3b1");
  EXPECT_NE(j["processType"], 0);
  EXPECT_NE(j["processText"], "");
}

TEST(CliType, EveryLineOfABatchStartsAFreshScreen) {
  std::string in = "1+2=\n{Insert}\n3\n";
  CliResult r = RunCli("type -", in);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "1+2=3\n\n3\n");
}

TEST(CliType, BadSequencesAndOptions) {
  CliResult r = RunCli("type '1{Nope}'");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("Nope"), std::string::npos);
  EXPECT_EQ(RunCli("type --mode 9 1").exitCode, 2);
  EXPECT_EQ(RunCli("type --final both 1").exitCode, 2);
}
