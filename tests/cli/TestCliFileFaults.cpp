// The files kazoru-cli prints and renders (the notebook sheet and the line as PDF, the line as PNG) under
// a full disk and a run killed half-way, and its standard output on a full disk. The tool runs in a child
// process whose files may not grow past a small limit. A full disk must be reported as a failure with the
// old file whole and no temporary file left; a run killed while writing must leave the old file whole.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/CliRunner.h"

namespace fs = std::filesystem;

namespace {

struct Outcome {
  int exitCode = -1;  // when the tool ended by itself
  int signal = 0;  // when a signal ended it
};

// Runs kazoru-cli with args in a child whose files may not grow past limitBytes. With killOnLimit the
// child dies of SIGXFSZ at the first write past the limit; without it such writes fail as on a full disk.
Outcome RunLimited(const std::vector<std::string>& args, rlim_t limitBytes, bool killOnLimit) {
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int devnull = ::open("/dev/null", O_WRONLY);
    if (devnull >= 0) {
      ::dup2(devnull, 1);
      ::dup2(devnull, 2);
    }
    ::signal(SIGXFSZ, killOnLimit ? SIG_DFL : SIG_IGN);
    rlimit lim{limitBytes, limitBytes};
    if (::setrlimit(RLIMIT_FSIZE, &lim) != 0) ::_exit(100);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(KAZORU_CLI_PATH));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(KAZORU_CLI_PATH, argv.data());
    ::_exit(101);
  }
  Outcome out;
  int status = 0;
  if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return out;
  if (WIFEXITED(status)) out.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) out.signal = WTERMSIG(status);
  return out;
}

// The names in dir other than keep.
std::vector<std::string> Others(const std::string& dir, const std::vector<std::string>& keep) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) {
    const std::string name = e.path().filename().string();
    if (std::find(keep.begin(), keep.end(), name) == keep.end()) names.push_back(name);
  }
  return names;
}

struct Case {
  const char* what;
  std::vector<std::string> args;  // "OUT" stands for the output file, "PAGE" for the notebook file
  const char* outName;
};

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"notebook sheet as PDF", {"notebook", "print", "PAGE", "-o", "OUT"}, "sheet.pdf"},
      {"line as PDF", {"render", "-o", "OUT", "2k3b1+4b3"}, "line.pdf"},
      {"line as PNG", {"render", "-o", "OUT", "2k3b1+4b3"}, "line.png"},
  };
  return cases;
}

class CliFileFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    if (RunCli("render -o '" + TempDir() + "/probe.png' 1").exitCode != 0)
      GTEST_SKIP() << "built without the desktop program";
  }

  // A folder holding the notebook page and an old output file; returns the args with names filled in.
  std::vector<std::string> Prepare(const Case& c, std::string& dir, std::string& out) {
    dir = TempDir() + "/" + std::to_string(++runs);
    fs::create_directories(dir);
    const std::string page = dir + "/page.siki";
    std::ofstream(page, std::ios::binary) << "#fault\r\n1b2+3b1=\r\n2x+1=5\r\n4:6\r\n";
    out = dir + "/" + c.outName;
    std::ofstream(out, std::ios::binary) << OLD;
    std::vector<std::string> args = c.args;
    for (std::string& a : args) {
      if (a == "OUT") a = out;
      if (a == "PAGE") a = page;
    }
    return args;
  }

  static inline const std::string OLD = "the old file, which must come through whole";
  int runs = 0;
};

TEST_F(CliFileFaults, FullDiskFailsAndKeepsTheOldFile) {
  for (const Case& c : Cases()) {
    std::string dir, out;
    const std::vector<std::string> args = Prepare(c, dir, out);
    const Outcome o = RunLimited(args, 300, false);
    EXPECT_EQ(o.signal, 0) << c.what;
    EXPECT_EQ(o.exitCode, 1) << c.what;
    EXPECT_EQ(ReadBytes(out), OLD) << c.what;
    EXPECT_TRUE(Others(dir, {"page.siki", c.outName}).empty()) << c.what << ": a temporary file was left";
  }
}

TEST_F(CliFileFaults, RunKilledWhileWritingKeepsTheOldFile) {
  for (const Case& c : Cases()) {
    std::string dir, out;
    const std::vector<std::string> args = Prepare(c, dir, out);
    const Outcome o = RunLimited(args, 300, true);
    EXPECT_EQ(o.signal, SIGXFSZ) << c.what;
    EXPECT_EQ(ReadBytes(out), OLD) << c.what;
    // It died writing the new file: the cut-off temporary file beside the old one shows it.
    EXPECT_EQ(Others(dir, {"page.siki", c.outName}).size(), 1u) << c.what;
  }
}

TEST_F(CliFileFaults, WithRoomTheNewFileReplacesTheOldOne) {
  for (const Case& c : Cases()) {
    std::string dir, out;
    const std::vector<std::string> args = Prepare(c, dir, out);
    const Outcome o = RunLimited(args, RLIM_INFINITY, false);
    EXPECT_EQ(o.exitCode, 0) << c.what;
    const std::string bytes = ReadBytes(out);
    EXPECT_TRUE(bytes.rfind("%PDF-", 0) == 0 || bytes.rfind("\x89PNG", 0) == 0) << c.what;
    EXPECT_TRUE(Others(dir, {"page.siki", c.outName}).empty()) << c.what;
  }
}

// Standard output on a full disk: the run fails and says so, for a single answer and for a batch of them.
TEST(CliOutputFaults, OutputThatCannotBeWrittenFailsTheRun) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  CliResult r = RunCli("eval '1+1' > /dev/full");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("could not be written"), std::string::npos) << r.err;
  std::string many;
  for (int i = 0; i < 5000; ++i) many += "1b2+3b1\n";
  r = RunCli("eval --json > /dev/full", many);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(RunCli("eval '1+1'").exitCode, 0);
}

}  // namespace
