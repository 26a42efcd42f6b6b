// Tests of "kazoru-cli check" through the real executable: plain and JSON Lines output, batches from
// standard input, exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "support/CliRunner.h"

TEST(CliCheck, PlainOutputIsTheNormalisedText) {
  CliResult r = RunCli("check '-3+(+2)*[1k2b3]'");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "m3+(p2)*[1K2B3]\n");
  EXPECT_EQ(r.err, "");

  // A refused text gives the part accepted before it and makes the run fail.
  r = RunCli("check '1+*2'");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "1+\n");

  // The notice of the digit-run limit goes to standard error with its caption.
  r = RunCli("check 123456789012345678901");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "1234567890123456789\n");
  EXPECT_EQ(r.err, "警告！: $ 19ケタ以上は入力不可！\n");
}

TEST(CliCheck, JsonCarriesPositionAndMessage) {
  CliResult r = RunCli("check --json '1+*2'");
  EXPECT_EQ(r.exitCode, 1);
  auto lines = JsonLines(r.out);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0]["input"], "1+*2");
  EXPECT_EQ(lines[0]["result"], "1+");
  EXPECT_EQ(lines[0]["status"], 3);
  EXPECT_EQ(lines[0]["errorNo"], 4);
  EXPECT_EQ(lines[0]["errorText"], "[4]: 演算記号の連続は不可");
  EXPECT_TRUE(lines[0]["messages"].empty());

  r = RunCli("check --json --cut '1+2=3b'");
  EXPECT_EQ(r.exitCode, 0);
  lines = JsonLines(r.out);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0]["result"], "1+2=");
  EXPECT_EQ(lines[0]["status"], 0);
  EXPECT_TRUE(lines[0]["errorNo"].is_null());
  EXPECT_EQ(lines[0]["errorText"], "");
}

TEST(CliCheck, BatchRunsEachLineFromAFreshState) {
  // The omitted multiplication sign follows --omit-mul; an open root group does not leak to the next
  // line; an empty line is one run.
  CliResult r = RunCli("check --json --omit-mul -", "2x\nr2\nr3\n1==\n\n");
  EXPECT_EQ(r.exitCode, 1);
  auto lines = JsonLines(r.out);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0]["result"], "2x");
  EXPECT_EQ(lines[0]["status"], 0);
  EXPECT_EQ(lines[1]["status"], 0);
  EXPECT_EQ(lines[2]["status"], 0);
  EXPECT_EQ(lines[3]["status"], 3);
  EXPECT_EQ(lines[3]["errorNo"], 36);
  EXPECT_EQ(lines[4]["input"], "");
  EXPECT_EQ(lines[4]["status"], 0);

  r = RunCli("check -", "2x\n");
  EXPECT_EQ(r.exitCode, 1) << "without --omit-mul the default setting refuses 2x";
  EXPECT_EQ(r.out, "2\n");
}

TEST(CliCheck, UnknownOptionIsAUsageError) {
  CliResult r = RunCli("check --mode 1 '1+2'");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.out, "");
}
