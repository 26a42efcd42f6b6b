// Saving a notebook page that holds characters the file's code page cannot store (an emoji in the
// title, a rare symbol in a line): the pupil is told which and where, and the page is stored with them
// replaced, or left unsaved and untouched on Cancel; a new page that would write over a former page's file.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <fstream>
#include <string>

#include "engine/Settings.h"
#include "notebook/NotePage.h"
#include "notebook/NoteSheet.h"
#include "platform/VirtualKeys.h"
#include "screen/sikiInpCommands.h"
#include "support/TestSupport.h"
#include "ui/notebook/Notebook.h"

namespace {

class NotebookSave : public ::testing::Test {
 protected:
  void TearDown() override {
    if (TNoteForm* f = TNoteForm::Instance()) {
      NotePage.modified = false;
      f->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
};

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace

TEST_F(NotebookSave, AnEmojiInTheTitleIsNamedAndReplacedOnRequest) {
  TNoteForm* f = TNoteForm::Open(NoteOrigin::CalculationScreen, "1+1=2&2");
  QCoreApplication::processEvents();
  ReplaceAllLines({"1+1=2&2", "3b1+3b1 ㉑"});
  NotePage.title = "たし算😀の練習";
  NotePage.modified = true;
  const std::string path = TempDir() + "/emoji.siki";
  const std::string question =
      "ご確認: 次の文字はファイルに保存できません。\n\n表題の「😀」\n2 問目の「㉑」\n\n「〓」に置き換えて保存しますか？";

  // Cancel: nothing is written and the page keeps its characters.
  TestPlatform().Clear();
  TestPlatform().answers = {MsgAnswer::Cancel};
  TestPlatform().fileNames = {path};
  EXPECT_FALSE(f->SaveFileAs());
  EXPECT_EQ(TestPlatform().ShownTexts(), (std::vector<std::string>{question}));
  EXPECT_EQ(NotePage.title, "たし算😀の練習");
  EXPECT_TRUE(NotePage.modified);
  EXPECT_EQ(ReadBytes(path), "");

  // OK: saved with the replacement, which the page shows from now on.
  TestPlatform().Clear();
  TestPlatform().answers = {MsgAnswer::Ok};
  TestPlatform().fileNames = {path};
  EXPECT_TRUE(f->SaveFileAs());
  EXPECT_EQ(TestPlatform().ShownTexts(), (std::vector<std::string>{question}));
  EXPECT_EQ(NotePage.title, "たし算〓の練習");
  EXPECT_EQ(NotePage.lines[1], "3b1+3b1 〓");
  EXPECT_FALSE(NotePage.modified);
  EXPECT_EQ(NotePage.fileName, path);
  // "#たし算〓の練習" and the lines in CP932.
  EXPECT_EQ(ReadBytes(path),
            "#\x82\xbd\x82\xb5\x8e\x5a\x81\xac\x82\xcc\x97\xfb\x8f\x4b\r\n1+1=2&2\r\n3b1+3b1 \x81\xac\r\n");
  // The stored file reads back as saved.
  NotePage.title.clear();
  ASSERT_NE(LoadSikiFile(path), SIKI_CANNOT_OPEN);
  EXPECT_EQ(NotePage.title, "たし算〓の練習");
  NotePage.modified = false;
}

// A page that is no longer the file's page has no file name: reopening the notebook after closing it, and
// clearing the page with Ctrl+N, start a new page, and saving it asks where instead of writing over the
// file in silence.
TEST_F(NotebookSave, ANewPageNeverWritesOverTheFormerPagesFile) {
  const std::string path = TempDir() + "/five.siki";
  const std::string bytes = "#五問\r\n1+1\r\n2+2\r\n3+3\r\n4+4\r\n5+5\r\n";
  struct Case {
    const char* name;
    bool reopen;  // close and open again from the screen; else Ctrl+N
  };
  for (const Case c : {Case{"closed and reopened", true}, Case{"Ctrl+N", false}}) {
    SCOPED_TRACE(c.name);
    WriteBytes(path, bytes);
    TNoteForm* f = TNoteForm::Open(NoteOrigin::CalculationScreen, "");
    QCoreApplication::processEvents();
    TestPlatform().Clear();
    TestPlatform().fileNames = {path};
    f->OpenFile();
    ASSERT_EQ(NotePage.lineCount, 5);
    ASSERT_EQ(NotePage.fileName, path);
    if (c.reopen) {
      f->close();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      ASSERT_EQ(TNoteForm::Instance(), nullptr);
      f = TNoteForm::Open(NoteOrigin::CalculationScreen, "");
    } else {
      f->KeySyori('N', SHIFT_CTRL);
    }
    EXPECT_EQ(NotePage.lineCount, 0);
    EXPECT_EQ(NotePage.fileName, "");
    EXPECT_EQ(NotePage.title, "");
    EXPECT_EQ(f->windowTitle().toStdString(), "ノート画面 [ ]");

    // One new line, Ctrl+S: the save dialog is asked (and cancelled), the five problems stay in their file.
    ASSERT_TRUE(AddEmptyLine());
    ASSERT_TRUE(ReplaceSelected("7+7"));
    NotePage.modified = true;
    TestPlatform().Clear();
    f->KeySyori('S', SHIFT_CTRL);
    ASSERT_EQ(TestPlatform().log.size(), 1u);
    EXPECT_EQ(TestPlatform().log[0].kind, "save");
    EXPECT_EQ(ReadBytes(path), bytes);
    NotePage.modified = false;
    f->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}
