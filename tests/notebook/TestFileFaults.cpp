// The files the program writes (the settings file and the .siki page) under a full disk and a save
// killed half-way: each runs in a child process with a small file-size limit, and the old file must come
// through whole, the failure must be returned (and the settings failure shown), never reported as saved.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "engine/Settings.h"
#include "notebook/NotePage.h"
#include "screen/SettingsFile.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

// What the child reports through its exit status.
constexpr int SAVED = 1;  // the writer said it saved
constexpr int TOLD = 2;  // a message was shown

struct ChildOutcome {
  bool exited = false;
  int code = 0;
  int signal = 0;
};

// Runs the save in a child whose files may not grow past limitBytes. With killOnLimit the child dies of
// SIGXFSZ at the first write past the limit (a save cut off by the process ending); without it the
// write fails with EFBIG as on a full disk.
ChildOutcome RunLimited(rlim_t limitBytes, bool killOnLimit, const std::function<bool()>& save) {
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::signal(SIGXFSZ, killOnLimit ? SIG_DFL : SIG_IGN);
    rlimit lim{limitBytes, limitBytes};
    if (::setrlimit(RLIMIT_FSIZE, &lim) != 0) ::_exit(100);
    TestPlatform().Clear();
    int code = save() ? SAVED : 0;
    if (!TestPlatform().Shown().empty()) code |= TOLD;
    ::_exit(code);
  }
  ChildOutcome out;
  int status = 0;
  if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return out;
  if (WIFEXITED(status)) {
    out.exited = true;
    out.code = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    out.signal = WTERMSIG(status);
  }
  return out;
}

class FileFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    root = TempDir();
    fs::create_directories(root + "/bin");
    fs::create_directories(root + "/config");
    SetSettingsFolders(root + "/bin", root + "/config");
  }
  void TearDown() override {
    SetSettingsFolders("", "");
    ResetSettingsFile();
    ResetSettings();
    ResetNotePage();
  }
  std::string root;
};

// Each writer with an old file in place and a new content far larger than the limit.
struct Writer {
  const char* name;
  std::function<std::string(const std::string& root)> writeOld;  // returns the old file's path
  std::function<bool()> prepareAndSave;  // runs in the child
};

std::vector<Writer> Writers(const std::string& root) {
  const std::string siki = root + "/page.siki";
  return {
      {"settings",
       [](const std::string&) {
         FONTSIZE = 20;
         EXPECT_TRUE(WriteSettings());
         return SettingsWritePath();
       },
       [] {
         FONTSIZE = 30;
         for (int i = 0; i < SIKI_MAX; ++i) SIKI[i] = "1k2b1+3b2*(4-5)^2=" + std::to_string(i);
         return WriteSettings();
       }},
      {".siki",
       [siki](const std::string&) {
         std::vector<std::string> lines = {"1+1"};
         ReplaceAllLines(lines);
         EXPECT_TRUE(SaveSikiFile(siki));
         return siki;
       },
       [siki] {
         std::vector<std::string> lines;
         for (int i = 0; i < 50; ++i) lines.push_back("1k2b1+3b2*(4-5)^2+" + std::to_string(i));
         ReplaceAllLines(lines);
         NotePage.modified = true;
         const bool saved = SaveSikiFile(siki);
         // A failed save leaves the page marked as changed, so closing still offers to save it.
         if (!saved && !NotePage.modified) ::_exit(99);
         return saved;
       }},
  };
}

TEST_F(FileFaults, FullDiskKeepsTheOldFileAndFailsTheSave) {
  for (const Writer& w : Writers(root)) {
    const std::string path = w.writeOld(root);
    const std::string old = ReadBytes(path);
    ASSERT_FALSE(old.empty()) << w.name;
    ChildOutcome out = RunLimited(old.size() + 16, false, w.prepareAndSave);
    ASSERT_TRUE(out.exited) << w.name << " died of signal " << out.signal;
    EXPECT_NE(out.code, 99) << w.name << ": the page lost its changed mark";
    EXPECT_EQ(out.code & SAVED, 0) << w.name << " was reported as saved";
    if (std::string(w.name) == "settings") {
      EXPECT_NE(out.code & TOLD, 0) << "the pupil is not told";
    }
    EXPECT_EQ(ReadBytes(path), old) << w.name;
  }
  // The old files still read back as they were.
  ResetSettings();
  ASSERT_TRUE(ReadSettings());
  EXPECT_EQ(FONTSIZE, 20);
  ResetNotePage();
  EXPECT_EQ(LoadSikiFile(root + "/page.siki"), 0);
  EXPECT_EQ(NoteLine(1), "1+1");
}

TEST_F(FileFaults, SaveKilledHalfWayKeepsTheOldFile) {
  for (const Writer& w : Writers(root)) {
    const std::string path = w.writeOld(root);
    const std::string old = ReadBytes(path);
    ChildOutcome out = RunLimited(old.size() + 16, true, w.prepareAndSave);
    // The child may die in the write or, if its library buffered everything, fail at the flush.
    if (out.exited) {
      EXPECT_EQ(out.code & SAVED, 0) << w.name << " was reported as saved";
    } else {
      EXPECT_EQ(out.signal, SIGXFSZ) << w.name;
    }
    EXPECT_EQ(ReadBytes(path), old) << w.name;
  }
}

}  // namespace
