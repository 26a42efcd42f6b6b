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
      // The main keyboard's "-" and "/" keys of a laptop without a keypad.
      {"'8{Minus}2{Slash}3='", "8-2/3=7k3b1", 1},
      // Base mode under the default settings: a base right after the digits, and all sixteen digits.
      {"'{Shift+N}101(2>8='", "101(2)=5(8)", 1},
      {"'{Shift+N}1A(16)='", "1A(16)=26(10)", 1},
      {"'{Shift+N}ABCDEF(16='", "ABCDEF(16)=11259375(10)", 1},
      {"'{Shift+N}255>(16='", "255(10)=FF(16)", 1},
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
  EXPECT_EQ(j["statusLine"], "◆このキーは計算画面では使いません。");

  // The twentieth digit: the notice is a message of the run, the status line keeps the refusal.
  r = RunCli("type --json 12345678901234567890");
  j = JsonLines(r.out).at(0);
  EXPECT_EQ(j["result"], "1234567890123456789");
  EXPECT_EQ(j["statusLine"], "[21]: 入力数値が１９ケタを超えた");
  ASSERT_EQ(j["messages"].size(), 1u);
  EXPECT_EQ(j["messages"][0]["caption"], "警告！");
}

// A command on a line that is no number says what it cannot do with it; it never speaks of a 64-bit
// overflow, and the line stays as it was.
TEST(CliType, CommandsOnAnExpressionSayWhatTheyCannotDo) {
  struct Case {
    const char* keys;
    const char* result;
    const char* caption;
    const char* text;
  } cases[] = {
      {"4b2+4b1={Ctrl+Y}", "4b2+4b1=4b3", "報告!!",
       "約分できるのは、分数１つだけです。\n式のままでは約分できません。"},
      {"3b1+3b1={Ctrl+S}{Ctrl+B}", "3b1+3b1=3b2=0.66666666666666666u", "Report！",
       "…表示の小数は途中で打ち切った数なので、\n分数に直せません。"},
      {"4b2+4b1{Ctrl+T}", "4b2+4b1", "ご報告！",
       "帯分数に直せるのは、１つの数だけです。\n式のままでは直せません。"},
      {"4b2{Ctrl+Y}", "4b2=2b1", nullptr, nullptr},
  };
  for (const auto& c : cases) {
    CliResult r = RunCli(std::string("type --json '") + c.keys + "'");
    ASSERT_EQ(r.exitCode, 0) << c.keys << r.err;
    auto j = JsonLines(r.out).at(0);
    EXPECT_EQ(j["result"], c.result) << c.keys;
    if (!c.caption) {
      EXPECT_TRUE(j["messages"].empty()) << c.keys;
      continue;
    }
    ASSERT_EQ(j["messages"].size(), 1u) << c.keys << " " << j["messages"].dump();
    EXPECT_EQ(j["messages"][0]["caption"], c.caption) << c.keys;
    EXPECT_EQ(j["messages"][0]["text"], c.text) << c.keys;
  }
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
