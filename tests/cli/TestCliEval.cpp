// Tests of "kazoru-cli eval" and "kazoru-cli ratio" through the real executable: answers, messages on
// standard error, JSON fields, batches from standard input without state leaking between lines.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "support/CliRunner.h"

TEST(CliEval, PlainAnswersAndMessages) {
  CliResult r = RunCli("eval --mode 6 2b1+1");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "1k2b1=2b3=1.5\n");
  EXPECT_EQ(r.err, "");

  r = RunCli("eval --echo 7/2");
  EXPECT_EQ(r.out, "7/2=3k2b1\n");

  r = RunCli("eval 1/0");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "1/0\n");
  EXPECT_EQ(r.err,
            "報告!!: ★ｴﾗｰ << ０による除算 >>\n報告！: ｴﾗｰ::ｵｰﾊﾞｰﾌﾛｰ等\nご報告！: 計算ができない式です。\n");

  r = RunCli("eval --mode x 1+1");
  EXPECT_EQ(r.exitCode, 2);
}

TEST(CliEval, JsonFieldsOfEachLineOfABatch) {
  CliResult r = RunCli("eval --json --mode 6 -", "3b1+3b1\n1+1\n[2K3Bm1]+0\n");
  EXPECT_EQ(r.exitCode, 1);
  auto lines = JsonLines(r.out);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0]["input"], "3b1+3b1");
  EXPECT_EQ(lines[0]["result"], "3b2=0.66666666666666666u");
  EXPECT_EQ(lines[0]["status"], 1);
  EXPECT_EQ(lines[0]["mixed"], "3b2");
  EXPECT_EQ(lines[0]["improper"], "3b2");
  EXPECT_EQ(lines[0]["decimal"], "0.66666666666666666u");
  EXPECT_EQ(lines[0]["hasFraction"], 1);
  EXPECT_EQ(lines[0]["terminates"], 0);
  EXPECT_EQ(lines[0]["messages"].size(), 0u);

  // Nothing of the line before leaks into the next one.
  EXPECT_EQ(lines[1]["result"], "2");
  EXPECT_EQ(lines[1]["decimal"], "2");
  EXPECT_EQ(lines[1]["hasFraction"], 0);
  EXPECT_EQ(lines[1]["terminates"], 1);

  EXPECT_EQ(lines[2]["status"], -5);
  EXPECT_EQ(lines[2]["result"], "[2K3Bm1]+0");
  EXPECT_EQ(lines[2]["mixed"], "");
  ASSERT_EQ(lines[2]["messages"].size(), 2u);
  EXPECT_EQ(lines[2]["messages"][0]["caption"], "警告!! <bunHCalc>");
  EXPECT_EQ(lines[2]["messages"][1]["text"], "[ ] 内の処理に失敗！");
}

TEST(CliRatio, SimplifiesOrSaysWhyNot) {
  CliResult r = RunCli("ratio 4:6");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "2:3\n");

  r = RunCli("ratio --echo 4:6");
  EXPECT_EQ(r.out, "4:6=2:3\n");

  r = RunCli("ratio --json -", "2:3\n0:5\n");
  EXPECT_EQ(r.exitCode, 1);
  auto lines = JsonLines(r.out);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0]["result"], "n");
  EXPECT_EQ(lines[0]["status"], -1);
  EXPECT_EQ(lines[0]["messages"][0]["text"], "これ以上簡単にできません。");
  EXPECT_EQ(lines[1]["messages"][0]["text"], "前項が 0 なので､比を簡単にできません。");
}
