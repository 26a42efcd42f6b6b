// Tests of the number-theory and solver commands of kazoru-cli through the real executable: results,
// own fields, messages on standard error, a batch with no state between its lines, exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "support/CliRunner.h"

TEST(CliNumberTheory, SolveGivesValueAndFields) {
  CliResult r = RunCli("solve 2x+1=7");
  EXPECT_EQ(r.out, "3\n");
  EXPECT_EQ(r.exitCode, 0);
  r = RunCli("solve --json --echo '3x-2<4x'");
  auto j = JsonLines(r.out);
  ASSERT_EQ(j.size(), 1u);
  EXPECT_EQ(j[0]["result"], "3x-2<4x&x>m2");
  EXPECT_EQ(j[0]["status"], 1);
  EXPECT_EQ(j[0]["relationKind"], 3);
  EXPECT_EQ(j[0]["solution"], "x>m2");
  EXPECT_EQ(j[0]["solverMessage"], "");
  EXPECT_EQ(RunCli("solve --anssyu 1 3x=4").out, "3b4\n");
  EXPECT_EQ(RunCli("solve --anssyu 7 3x=4").exitCode, 2);
}

TEST(CliNumberTheory, SolveBatchKeepsNoStateBetweenLines) {
  CliResult r = RunCli("solve --json -", "2x=4\n2x+1\n\n");
  auto j = JsonLines(r.out);
  ASSERT_EQ(j.size(), 3u);
  EXPECT_EQ(j[0]["solution"], "x=2");
  EXPECT_EQ(j[1]["result"], "n");
  EXPECT_EQ(j[1]["status"], -1);
  EXPECT_EQ(j[1]["solution"], "");  // the line before solved, but this run starts afresh
  EXPECT_EQ(j[1]["solverMessage"], "等号も不等号がない。うえーん！");
  EXPECT_EQ(r.exitCode, 1);
}

TEST(CliNumberTheory, FactorDivisorsRecurBase) {
  EXPECT_EQ(RunCli("factor 9223372036854775807").out, "7^2*73*127*337*92737*649657\n");
  CliResult r = RunCli("factor 0");
  EXPECT_EQ(r.out, "n\n");
  EXPECT_EQ(r.err, "お願い!!: ▼素因数分解▼\\n\\n正の整数(２の63乗以下)を入力して下さい。\n");
  EXPECT_EQ(r.exitCode, 1);

  r = RunCli("divisors --json --all --per-row 2 '2^2*3'");
  auto j = JsonLines(r.out);
  ASSERT_EQ(j.size(), 1u);
  EXPECT_EQ(j[0]["result"], "   1+2| +3+4| +6+12|=28");
  EXPECT_EQ(j[0]["count"], 6);
  EXPECT_EQ(RunCli("divisors '2^2*3'").out, "   1+2+3+4+6|=16\n");
  EXPECT_EQ(RunCli("divisors --per-row 0 6").exitCode, 2);

  EXPECT_EQ(RunCli("recur '1 7'").out, "0.@142857\n");
  EXPECT_EQ(RunCli("recur '1 6'").out, "0.1@6\n");
  r = RunCli("recur '1 97'");
  EXPECT_EQ(r.out, "n\n");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(RunCli("recur '1'").out, "n\n");

  EXPECT_EQ(RunCli("base 'FF 16 10'").out, "255\n");
  EXPECT_EQ(RunCli("base '255 10 2'").out, "11111111\n");
  EXPECT_EQ(RunCli("base '777 8 16'").out, "1FF\n");
  r = RunCli("base '12 2 10'");
  EXPECT_EQ(r.out, "n\n");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(RunCli("base 'FF sixteen 10'").out, "n\n");
}
