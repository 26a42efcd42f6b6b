// The recovery copy of the notebook page: it brings back exactly the page it was made from, a damaged copy
// gives back what is sound, and the keeper writes, leaves and removes it as the page needs — also on a
// disk that refuses to grow, where the previous copy and the saved file stay whole.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "notebook/NotePage.h"
#include "notebook/NoteRecovery.h"
#include "support/TestSupport.h"

namespace {

std::string Folder(const std::string& name) {
  const std::string folder = TempDir() + "/" + name;
  ::mkdir(folder.c_str(), 0755);
  std::remove(NoteRecoveryPath(folder).c_str());
  return folder;
}

void FillPage() {
  ReplaceAllLines({"1k3b2+2k4b3=", "5b3-7b2=", "2x+1=5", "0.1@6*3="});
  NotePage.title = "分数のたし算\nつづき 😀";  // a line end and a character the .siki file cannot hold
  NotePage.fileName = "/home/pupil/れんしゅう.siki";
  NotePage.selected = 3;
  NotePage.modified = true;
}

void ExpectPageEquals(const RecoveredPage& r) {
  ASSERT_EQ(r.lines.size(), static_cast<std::size_t>(NotePage.lineCount));
  for (std::size_t i = 0; i < r.lines.size(); ++i) EXPECT_EQ(r.lines[i], NotePage.lines[i]) << i;
  EXPECT_EQ(r.title, NotePage.title);
  EXPECT_EQ(r.fileName, NotePage.fileName);
  EXPECT_EQ(r.selected, NotePage.selected);
}

TEST(NoteRecovery, TheCopyBringsBackExactlyThePageItWasMadeFrom) {
  FillPage();
  const std::string bytes = ComposeNoteRecovery(NotePage);
  RecoveredPage r;
  ASSERT_TRUE(ParseNoteRecovery(bytes, r));
  EXPECT_FALSE(r.damaged);
  ExpectPageEquals(r);

  // Restored into a fresh page: the same page, not saved, with its file name.
  const NotePageData before = NotePage;
  ResetNotePage();
  RestoreRecoveredPage(r);
  EXPECT_EQ(NotePage.lines, before.lines);
  EXPECT_EQ(NotePage.lineCount, before.lineCount);
  EXPECT_EQ(NotePage.title, before.title);
  EXPECT_EQ(NotePage.fileName, before.fileName);
  EXPECT_EQ(NotePage.selected, 3);
  EXPECT_TRUE(NotePage.modified);
  EXPECT_EQ(ComposeNoteRecovery(NotePage), bytes);
}

TEST(NoteRecovery, ADamagedCopyGivesBackWhatIsSound) {
  FillPage();
  const std::string whole = ComposeNoteRecovery(NotePage);
  const std::size_t third = whole.find("line 8:5b3-7b2=");
  ASSERT_NE(third, std::string::npos);
  struct Case {
    const char* what;
    std::string bytes;
    std::size_t lines;
  } cases[] = {
      {"cut in the middle of a line", whole.substr(0, third + 7), 1},
      {"cut after a line", whole.substr(0, third), 1},
      {"a length past the end", whole.substr(0, third) + "line 999:5b3", 1},
      {"an unknown field", whole.substr(0, third) + "colour 3:red\n" + whole.substr(third), 4},
      {"bytes that are no text",
       whole.substr(0, third) + std::string("line 2:\xff\x00\n", 10) + whole.substr(third), 5},
  };
  for (const Case& c : cases) {
    RecoveredPage r;
    ASSERT_TRUE(ParseNoteRecovery(c.bytes, r)) << c.what;
    EXPECT_TRUE(r.damaged) << c.what;
    EXPECT_EQ(r.lines.size(), c.lines) << c.what;
    EXPECT_EQ(r.lines.front(), "1k3b2+2k4b3=") << c.what;
    EXPECT_EQ(r.title, NotePage.title) << c.what;
    for (const std::string& l : r.lines) EXPECT_EQ(l.find('\0'), std::string::npos) << c.what;
  }
  // Not a copy at all.
  for (const std::string& bytes :
       {std::string(), std::string("#title\r\n1+1=\r\n"), std::string(NOTE_RECOVERY_MAGIC)}) {
    RecoveredPage r;
    EXPECT_FALSE(ParseNoteRecovery(bytes, r)) << bytes;
  }
}

TEST(NoteRecovery, TheKeeperWritesOnChangeAndRemovesOnceNothingIsUnsaved) {
  const std::string folder = Folder("keeper");
  const std::string path = NoteRecoveryPath(folder);
  RecoveredPage r;

  // A fresh, empty page needs no copy, even when marked changed.
  NotePage.modified = true;
  EXPECT_EQ(KeepNoteRecovery(folder), NoteRecoveryOutcome::Unchanged);
  EXPECT_FALSE(ReadNoteRecovery(folder, r));

  FillPage();
  EXPECT_EQ(KeepNoteRecovery(folder), NoteRecoveryOutcome::Written);
  EXPECT_EQ(KeepNoteRecovery(folder), NoteRecoveryOutcome::Unchanged);
  ASSERT_TRUE(ReadNoteRecovery(folder, r));
  ExpectPageEquals(r);

  ReplaceSelected("3x-2<7");
  EXPECT_EQ(KeepNoteRecovery(folder), NoteRecoveryOutcome::Written);
  ASSERT_TRUE(ReadNoteRecovery(folder, r));
  EXPECT_EQ(r.lines[2], "3x-2<7");

  // Saved: the copy goes.
  NotePage.modified = false;
  EXPECT_EQ(KeepNoteRecovery(folder), NoteRecoveryOutcome::Removed);
  EXPECT_NE(::access(path.c_str(), F_OK), 0);

  // A folder that does not exist yet is made.
  const std::string fresh = folder + "/not/yet";
  FillPage();
  EXPECT_EQ(KeepNoteRecovery(fresh), NoteRecoveryOutcome::Written);
  RemoveNoteRecovery(fresh);
  EXPECT_FALSE(ReadNoteRecovery(fresh, r));
}

TEST(NoteRecovery, AFolderThatForbidsWritingIsToldOnce) {
  // A regular file stands where the folder should be: nothing can be written under it.
  const std::string blocker = TempDir() + "/blocker";
  FILE* f = std::fopen(blocker.c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  FillPage();
  EXPECT_EQ(KeepNoteRecovery(blocker), NoteRecoveryOutcome::FailedFirst);
  ReplaceSelected("1+1=");
  EXPECT_EQ(KeepNoteRecovery(blocker), NoteRecoveryOutcome::Failed);
  ReplaceSelected("1+2=");
  EXPECT_EQ(KeepNoteRecovery(blocker), NoteRecoveryOutcome::Failed);
}

// Run in a child process: a file size limit makes every write past it fail (SIGXFSZ ignored, so write()
// reports EFBIG). Exit code 0 when all held.
int FullDiskChild(const std::string& folder, const std::string& saved, const std::string& savedBytes) {
  struct rlimit limit = {1024, 1024};
  if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 10;
  ::signal(SIGXFSZ, SIG_IGN);
  NoteRecovery.Reset();
  FillPage();
  if (KeepNoteRecovery(folder) != NoteRecoveryOutcome::Written) return 11;
  const std::string small = ComposeNoteRecovery(NotePage);
  // The page grows past what the disk takes.
  while (NotePage.lineCount < NOTE_MAX_LINES) {
    AddEmptyLine();
    ReplaceSelected("1k2b1/(3b2-1b3)+12b5+7b10-3b4=");
  }
  if (KeepNoteRecovery(folder) != NoteRecoveryOutcome::FailedFirst) return 12;
  ReplaceSelected("1+1=");
  if (KeepNoteRecovery(folder) != NoteRecoveryOutcome::Failed) return 13;
  // The previous copy and the saved file are whole.
  RecoveredPage r;
  if (!ReadNoteRecovery(folder, r) || r.damaged) return 14;
  RestoreRecoveredPage(r);
  if (ComposeNoteRecovery(NotePage) != small) return 15;
  if (ReadBytes(saved) != savedBytes) return 16;
  return 0;
}

TEST(NoteRecovery, AFullDiskKeepsThePreviousCopyAndTheSavedFile) {
  const std::string folder = Folder("full");
  const std::string saved = folder + "/page.siki";
  FillPage();
  NotePage.title = "保存した";
  ASSERT_TRUE(SaveSikiFile(saved));
  const std::string savedBytes = ReadBytes(saved);
  ASSERT_FALSE(savedBytes.empty());

  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) ::_exit(FullDiskChild(folder, saved, savedBytes));
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), 0);
  // No temporary file is left beside the copy.
  RecoveredPage r;
  ASSERT_TRUE(ReadNoteRecovery(folder, r));
  EXPECT_EQ(r.lines.front(), "1k3b2+2k4b3=");
}

TEST(NoteRecovery, TheQuestionNamesThePage) {
  RecoveredPage r;
  r.lines = {"1+1=", "2+2="};
  r.fileName = "/home/pupil/れんしゅう.siki";
  EXPECT_EQ(
      NoteRecoveryQuestion(r),
      "前回、ノート（「れんしゅう.siki」のページ、2問）が保存されないまま終わりました。\n\n復元しますか？");
  r.fileName.clear();
  r.damaged = true;
  EXPECT_EQ(NoteRecoveryQuestion(r),
            "前回、ノート（まだ保存していないページ、2問）が保存されないまま終わりました。\n\n復元しますか？"
            "\n\n（控えの一部が読めなかったため、読めたところまでを戻します。）");
}

}  // namespace

TEST(NoteRecovery, ACopyClaimedByARunningProgramIsLeftAlone) {
  const std::string folder = Folder("claimed");
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    // The program already running: it holds the claim and keeps its page's copy.
    NoteRecovery.Reset();
    FillPage();
    const bool ok = ClaimNoteRecovery(folder) && KeepNoteRecovery(folder) == NoteRecoveryOutcome::Written;
    const char c = ok ? 'y' : 'n';
    if (::write(ready[1], &c, 1) != 1) ::_exit(1);
    for (;;) ::pause();
  }
  ::close(ready[1]);
  char c = 0;
  const bool told = ::read(ready[0], &c, 1) == 1;
  ::close(ready[0]);
  const std::string kept = ReadBytes(NoteRecoveryPath(folder));

  // A second start finds the claim taken: nothing offered, kept over or removed.
  NoteRecovery.Reset();
  const bool claimed = ClaimNoteRecovery(folder);
  ResetNotePage();
  ReplaceAllLines({"9+9="});
  NotePage.modified = true;
  const NoteRecoveryOutcome keep = KeepNoteRecovery(folder);
  RemoveNoteRecovery(folder);
  const std::string after = ReadBytes(NoteRecoveryPath(folder));

  // Once that program is gone (however it ended) the copy is a crash's and the next start may take it.
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
  const bool claimedAfter = ClaimNoteRecovery(folder);
  RemoveNoteRecovery(folder);
  const bool gone = ::access(NoteRecoveryPath(folder).c_str(), F_OK) != 0;
  NoteRecovery.Reset();

  ASSERT_TRUE(told && c == 'y');
  ASSERT_FALSE(kept.empty());
  EXPECT_FALSE(claimed);
  EXPECT_EQ(keep, NoteRecoveryOutcome::Unchanged);
  EXPECT_EQ(after, kept);
  EXPECT_TRUE(claimedAfter);
  EXPECT_TRUE(gone);
}
