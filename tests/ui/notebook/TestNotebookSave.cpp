// Saving a notebook page that holds characters the file's code page cannot store (an emoji in the
// title, a rare symbol in a line): the pupil is told which and where, and the page is stored with them
// replaced, or left unsaved and untouched on Cancel.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <string>

#include "engine/Settings.h"
#include "notebook/NotePage.h"
#include "notebook/NoteSheet.h"
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

// The save dialog of a page offers .siki files first, as the open dialog does.
TEST_F(NotebookSave, TheSaveDialogOffersSikiFilesFirst) {
  TNoteForm* f = TNoteForm::Open(NoteOrigin::CalculationScreen, "1+1=2&2");
  QCoreApplication::processEvents();
  NotePage.modified = true;
  TestPlatform().Clear();
  TestPlatform().fileNames = {};
  EXPECT_FALSE(f->SaveFileAs());
  ASSERT_EQ(TestPlatform().log.size(), 1u);
  EXPECT_EQ(TestPlatform().log[0].kind, "save");
  EXPECT_EQ(TestPlatform().log[0].text.rfind("分数式ファイル (*.siki", 0), 0u) << TestPlatform().log[0].text;
  NotePage.modified = false;
}
