// The notebook's recovery copy in the running windows: a process with an unsaved page is killed outright
// and the next start offers the page back and restores it exactly; closing the page or ending the program
// cleanly leaves no copy; a copy that cannot be written is told once.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "notebook/NotePage.h"
#include "notebook/NoteRecovery.h"
#include "screen/SettingsFile.h"
#include "support/TestSupport.h"
#include "ui/notebook/Notebook.h"

namespace {

constexpr const char* CHILD_FOLDER = "KAZORU_RECOVERY_CHILD";

const std::vector<std::string> PAGE = {"1k3b2+2k4b3=", "5b3-7b2=&5b3-7b2=-11b6", "2x+1=5"};

bool Exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

// Waits, turning the event loop, until done() or the time is up.
bool WaitFor(const std::function<bool()>& done, int ms = 10000) {
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > ms) return false;
    QTest::qWait(20);
  }
  return true;
}

class NotebookRecovery : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = TempDir() + "/recovery-" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    ::mkdir(folder_.c_str(), 0755);
    SetSettingsFolders(folder_, folder_);
    std::remove(NoteRecoveryPath(folder_).c_str());
    TestPlatform().Clear();
  }
  void TearDown() override {
    if (TNoteForm* f = TNoteForm::Instance()) {
      NotePage.modified = false;
      f->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    SetSettingsFolders("", "");
  }
  std::string folder_;
};

// The page a pupil typed: three lines with a title, the second one selected.
void TypePage(TNoteForm* f) {
  ReplaceAllLines(PAGE);
  NotePage.title = "３年２組 ふくしゅう";
  NotePage.selected = 2;
  NotePage.modified = true;
  f->Redraw();
}

}  // namespace

// The writer half of the crash test: started by the test below as a process of its own, it types a page
// in the notebook window, tells the parent the copy is there and waits to be killed.
TEST_F(NotebookRecovery, DISABLED_ChildTypesAPageAndWaits) {
  const char* folder = std::getenv(CHILD_FOLDER);
  ASSERT_NE(folder, nullptr);
  SetSettingsFolders(folder, folder);
  TNoteForm* f = TNoteForm::Open(NoteOrigin::CalculationScreen, "");
  TypePage(f);
  ASSERT_TRUE(WaitFor([&] { return Exists(NoteRecoveryPath(folder)); }));
  FILE* ready = std::fopen((std::string(folder) + "/ready").c_str(), "w");
  ASSERT_NE(ready, nullptr);
  std::fclose(ready);
  for (;;) QTest::qWait(100);
}

TEST_F(NotebookRecovery, AKilledProgramsPageIsOfferedBackAndRestoredExactly) {
  char self[4096];
  const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
  ASSERT_GT(n, 0);
  self[n] = '\0';
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    ::setenv(CHILD_FOLDER, folder_.c_str(), 1);
    // The child's own test report would read as this test's; it goes to a file beside the copy.
    const std::string log = folder_ + "/child.log";
    if (FILE* out = std::freopen(log.c_str(), "w", stdout)) ::dup2(::fileno(out), 2);
    ::execl(self, self, "--gtest_also_run_disabled_tests",
            "--gtest_filter=NotebookRecovery.DISABLED_ChildTypesAPageAndWaits", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  const bool ready = WaitFor([&] { return Exists(folder_ + "/ready"); }, 30000);
  ::kill(pid, SIGKILL);
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(ready) << "the child never kept a copy";
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
  ASSERT_TRUE(Exists(NoteRecoveryPath(folder_)));

  // The next start: the question, Yes, and the page as it was — not saved.
  ResetNotePage();
  TestPlatform().answers = {MsgAnswer::Yes};
  ASSERT_TRUE(OfferNotebookRecovery());
  EXPECT_EQ(
      TestPlatform().ShownTexts(),
      (std::vector<std::string>{
          "ご確認: 前回、ノート（「３年２組 ふくしゅう」のページ、3問）が保存されないまま終わりました。\n\n復元しますか？"}));
  ASSERT_NE(TNoteForm::Instance(), nullptr);
  ASSERT_EQ(NotePage.lineCount, 3);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(NotePage.lines[static_cast<std::size_t>(i)], PAGE[static_cast<std::size_t>(i)]);
  EXPECT_EQ(NotePage.title, "３年２組 ふくしゅう");
  EXPECT_EQ(NotePage.selected, 2);
  EXPECT_TRUE(NotePage.modified);

  // Saving the page removes the copy.
  const std::string saved = folder_ + "/page.siki";
  ASSERT_TRUE(SaveSikiFile(saved));
  TNoteForm::Instance()->Redraw();
  EXPECT_TRUE(WaitFor([&] { return !Exists(NoteRecoveryPath(folder_)); }));
}

TEST_F(NotebookRecovery, NoDiscardsTheCopyAndAPageWithoutChangesLeavesNone) {
  TNoteForm* f = TNoteForm::Open(NoteOrigin::CalculationScreen, "");
  TypePage(f);
  ASSERT_TRUE(WaitFor([&] { return Exists(NoteRecoveryPath(folder_)); }));
  // Closing and giving the page up (No to saving): no copy stays.
  TestPlatform().answers = {MsgAnswer::No};
  f->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(Exists(NoteRecoveryPath(folder_)));

  // A copy refused at the next start is removed and the notebook stays closed.
  ResetNotePage();
  ReplaceAllLines(PAGE);
  NotePage.modified = true;
  ASSERT_EQ(KeepNoteRecovery(folder_), NoteRecoveryOutcome::Written);
  ResetNotePage();
  TestPlatform().answers = {MsgAnswer::No};
  EXPECT_FALSE(OfferNotebookRecovery());
  EXPECT_EQ(TNoteForm::Instance(), nullptr);
  EXPECT_FALSE(Exists(NoteRecoveryPath(folder_)));
  // Nothing found: nothing asked.
  TestPlatform().Clear();
  EXPECT_FALSE(OfferNotebookRecovery());
  EXPECT_TRUE(TestPlatform().ShownTexts().empty());

  // The program ends cleanly with the notebook open: the page was given up when the screen asked.
  f = TNoteForm::Open(NoteOrigin::CalculationScreen, "");
  TypePage(f);
  ASSERT_TRUE(WaitFor([&] { return Exists(NoteRecoveryPath(folder_)); }));
  NotebookProgramEnds();
  NotebookProgramEndsCleanly();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(Exists(NoteRecoveryPath(folder_)));
}

TEST_F(NotebookRecovery, ACopyThatCannotBeWrittenIsToldOnce) {
  // A regular file stands where the settings folder should be.
  const std::string blocker = folder_ + "/blocker";
  FILE* file = std::fopen(blocker.c_str(), "w");
  ASSERT_NE(file, nullptr);
  std::fclose(file);
  SetSettingsFolders(blocker, blocker);
  TNoteForm* f = TNoteForm::Open(NoteOrigin::CalculationScreen, "");
  TypePage(f);
  ASSERT_TRUE(WaitFor([&] { return !TestPlatform().ShownTexts().empty(); }));
  ReplaceSelected("1+1=");
  f->Redraw();
  QTest::qWait(1500);
  EXPECT_EQ(TestPlatform().ShownTexts(), (std::vector<std::string>{std::string(NOTE_RECOVERY_CAPTION) + ": " +
                                                                   NOTE_RECOVERY_FAILED_TEXT}));
  // The pupil goes on working.
  EXPECT_EQ(NotePage.lines[1], "1+1=");
}
