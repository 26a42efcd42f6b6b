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

#include "support/TestSupport.h"

namespace {

struct CliResult {
  std::string out;
  std::string err;
  int exitCode = -1;
};

// Runs kazoru-cli with the given shell-quoted arguments, optionally feeding text to standard input.
CliResult RunCli(const std::string& args, const std::string& stdinText = "", bool useStdin = false) {
  const std::string dir = TempDir();
  const std::string errFile = dir + "/stderr.txt";
  std::string cmd;
  if (useStdin) {
    const std::string inFile = dir + "/stdin.txt";
    std::ofstream(inFile, std::ios::binary) << stdinText;
    cmd = std::string("'") + KAZORU_CLI_PATH + "' " + args + " < '" + inFile + "' 2> '" + errFile + "'";
  } else {
    cmd = std::string("'") + KAZORU_CLI_PATH + "' " + args + " < /dev/null 2> '" + errFile + "'";
  }
  CliResult r;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  int status = pclose(p);
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream ef(errFile, std::ios::binary);
  std::stringstream ss;
  ss << ef.rdbuf();
  r.err = ss.str();
  return r;
}

std::vector<nlohmann::json> JsonLines(const std::string& out) {
  std::vector<nlohmann::json> lines;
  std::istringstream in(out);
  std::string line;
  while (std::getline(in, line)) lines.push_back(nlohmann::json::parse(line));
  return lines;
}

}  // namespace

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
  CliResult r = RunCli("check --json --omit-mul -", "2x\nr2\nr3\n1==\n\n", true);
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

  r = RunCli("check -", "2x\n", true);
  EXPECT_EQ(r.exitCode, 1) << "without --omit-mul the default setting refuses 2x";
  EXPECT_EQ(r.out, "2\n");
}

TEST(CliCheck, UnknownOptionIsAUsageError) {
  CliResult r = RunCli("check --mode 1 '1+2'");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.out, "");
}
