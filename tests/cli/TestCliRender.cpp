// Tests of "kazoru-cli render" through the real executable: the typed line with its answer or its process
// as a PNG picture of the screen page, or as a printed PDF page; usage errors.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "support/TestSupport.h"

namespace {

struct CliResult {
  std::string out;
  int exitCode = -1;
};

CliResult RunCli(const std::string& args) {
  std::string cmd = std::string("'") + KAZORU_CLI_PATH + "' " + args + " < /dev/null 2> /dev/null";
  CliResult r;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  int status = pclose(p);
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

std::string Head(const std::string& file, size_t n) {
  std::ifstream f(file, std::ios::binary);
  std::string s(n, '\0');
  f.read(s.data(), static_cast<std::streamsize>(n));
  s.resize(static_cast<size_t>(f.gcount()));
  return s;
}

// The batch tool has the command only when it was built with the desktop program.
bool HasRender() { return RunCli("render -o '" + TempDir() + "/probe.png' 1").exitCode == 0; }

class CliRender : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HasRender()) GTEST_SKIP() << "built without the desktop program";
    dir = TempDir();
  }
  std::string dir;
};

}  // namespace

TEST_F(CliRender, PictureOfTheLineWithItsAnswerOrItsProcess) {
  const std::string plain = dir + "/plain.png", process = dir + "/process.png";
  CliResult r = RunCli("render --json -o '" + plain + "' '2b1+3b1'");
  ASSERT_EQ(r.exitCode, 0) << r.out;
  nlohmann::json j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["status"], 1);
  EXPECT_EQ(j["line"], "2b1+3b1=6b5");  // the line is closed as by "="
  EXPECT_EQ(j["processType"], 0);
  EXPECT_GE(j["width"].get<int>(), 500);
  EXPECT_GE(j["height"].get<int>(), 450);
  EXPECT_EQ(Head(plain, 8), "\x89PNG\r\n\x1a\n");

  r = RunCli("render --json --process --advice --detail -o '" + process + "' '2b1+3b1'");
  ASSERT_EQ(r.exitCode, 0);
  j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["line"], "2b1+3b1");
  EXPECT_EQ(j["processType"], 1);
  // The process with its advice is wider than the screen's least size would need for the answer alone.
  EXPECT_GT(j["width"].get<int>(), 500);
  EXPECT_NE(std::filesystem::file_size(plain), std::filesystem::file_size(process));
}

TEST_F(CliRender, CommandKeysAndTheirProcessesArePictured) {
  const std::string out = dir + "/factor.png";
  CliResult r = RunCli("render --json -o '" + out + "' '12{Shift+S}'");
  ASSERT_EQ(r.exitCode, 0);
  nlohmann::json j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["line"], "12=2^2*3");
  // The divisor rows reach far below the line.
  EXPECT_GT(j["height"].get<int>(), 200);
  r = RunCli("render --json --process -o '" + out + "' '2k3b1{Ctrl+K}'");
  j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["processType"], 18);
}

TEST_F(CliRender, PdfIsThePrintedPage) {
  const std::string pdf = dir + "/line.pdf";
  CliResult r = RunCli("render --json --process --advice -o '" + pdf + "' '3b2*4b3'");
  ASSERT_EQ(r.exitCode, 0) << r.out;
  EXPECT_EQ(Head(pdf, 5), "%PDF-");
  EXPECT_GT(std::filesystem::file_size(pdf), 1000u);
  // An empty line has nothing to print.
  r = RunCli("render --json -o '" + dir + "/empty.pdf' ''");
  EXPECT_EQ(r.exitCode, 1);
}

TEST_F(CliRender, UsageErrors) {
  EXPECT_EQ(RunCli("render 2b1+3b1").exitCode, 2);
  EXPECT_EQ(RunCli("render -o '" + dir + "/x.gif' 2b1+3b1").exitCode, 2);
}
