// The notebook window on the offscreen platform: opening with the calculation line, keys and menu
// commands with their questions, computing the page, saving (and failing to save) and opening files,
// the answer-column box, the page editor, the title box, the command box, closing with its question, and
// printing the sheet to a PDF file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/BunMath.h"
#include "engine/Houtei1ji.h"
#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "notebook/NotePage.h"
#include "notebook/NoteSheet.h"
#include "platform/VirtualKeys.h"
#include "screen/sikiInp.h"
#include "screen/sikiInpCommands.h"
#include "support/TestSupport.h"
#include "tools/BunSikiEdit.h"
#include "typeset/bunCanvasDsp.h"
#include "ui/notebook/NBcomBox.h"
#include "ui/notebook/NoteEdit.h"
#include "ui/notebook/Notebook.h"
#include "ui/notebook/hyoudaiInp.h"
#include "ui/screen/InputPanel.h"
#include "ui/screen/Kazoru.h"
#include "ui/tools/BunSikiEdit.h"

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

std::vector<std::string> Lines() {
  return std::vector<std::string>(NotePage.lines.begin(), NotePage.lines.begin() + NotePage.lineCount);
}

// Runs f as soon as the event loop of a modal dialog is running.
void WhenModal(std::function<void()> f) { QTimer::singleShot(0, qApp, std::move(f)); }

class NotebookWindow : public ::testing::Test {
 protected:
  void TearDown() override {
    if (TNoteForm* f = TNoteForm::Instance()) {
      NotePage.modified = false;
      f->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  TNoteForm* OpenWith(const std::string& line) {
    TNoteForm* f = TNoteForm::Open(NoteOrigin::CalculationScreen, line);
    QCoreApplication::processEvents();
    return f;
  }
};

}  // namespace

TEST_F(NotebookWindow, OpensWithTheCalculationLineAndTheCommandBox) {
  TNoteForm* f = OpenWith("1b2+3b1=2k3b1&2k3b1");
  ASSERT_EQ(TNoteForm::Instance(), f);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"1b2+3b1=2k3b1&2k3b1"}));
  EXPECT_TRUE(NotePage.modified);
  EXPECT_EQ(f->windowTitle(), U("ノート画面 [ ]"));
  ASSERT_NE(f->CommandBox(), nullptr);
  EXPECT_TRUE(f->FindAction(U("｢＝｣で改行(&L)"))->isChecked());
  EXPECT_EQ(f->CommandBox()->PitchField()->value(), 5);
  // A second opening gives the same window.
  EXPECT_EQ(TNoteForm::Open(NoteOrigin::CalculationScreen, "9"), f);

  // An empty calculation line starts an unmodified page.
  NotePage.modified = false;
  f->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(TNoteForm::Instance(), nullptr);
  OpenWith("");
  EXPECT_FALSE(NotePage.modified);
  EXPECT_EQ(NotePage.lineCount, 0);
}

TEST_F(NotebookWindow, KeysSelectComputeAndUndo) {
  TNoteForm* f = OpenWith("");
  ReplaceAllLines({"1b2+3b1=", "1+*2", "2x+1=5", "4:6"});
  f->Redraw();
  f->KeySyori(VK_DOWN, SHIFT_SHIFT);
  f->KeySyori(VK_DOWN, SHIFT_SHIFT);
  EXPECT_EQ(NotePage.selected, 2);
  f->KeySyori(VK_UP, SHIFT_SHIFT);
  EXPECT_EQ(NotePage.selected, 1);

  TestPlatform().Clear();
  TestPlatform().answers = {MsgAnswer::Ok};
  f->KeySyori('Z', SHIFT_CTRL);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"1b2+3b1=2k3b1&2k3b1", "1+*2", "2x+1=5&x=2", "4:6=2:3&2:3"}));
  // The question, then the one outcome.
  ASSERT_EQ(TestPlatform().ShownTexts().size(), 2u);
  EXPECT_EQ(TestPlatform().ShownTexts()[0], "ご確認: 答えをすべて書き換えます。\n\nそれでもいいですか？");
  EXPECT_EQ(
      TestPlatform().ShownTexts()[1],
      "ご報告！: [2 問:3 字目][ｴﾗｰ値4][4]: 演算記号の連続は不可\n\n編集し直してから再計算してください。");

  // Backspace undoes the pass.
  f->KeySyori(VK_BACK, 0);
  EXPECT_EQ(NotePage.lines[0], "1b2+3b1=");
  EXPECT_FALSE(NotePage.modified);

  // Cancelled confirmation: nothing computed.
  TestPlatform().answers = {MsgAnswer::Cancel};
  f->RunCommand(NoteCommand::CalculateAll);
  EXPECT_EQ(NotePage.lines[0], "1b2+3b1=");

  // Commands that need a selection say so.
  NotePage.selected = 0;
  TestPlatform().Clear();
  f->KeySyori('Y', SHIFT_CTRL);
  f->KeySyori('D', SHIFT_CTRL);
  f->KeySyori('Q', SHIFT_CTRL);
  f->KeySyori('H', SHIFT_CTRL);
  EXPECT_EQ(
      TestPlatform().ShownTexts(),
      (std::vector<std::string>{
          "ご確認: 答を削除したい式を選択してください。", "ご確認: 削除したい式を選択してください。",
          "ご確認: 答を書き換えたい式を選択してください。", "ご確認: 複写したい式を選択してください。"}));
}

TEST_F(NotebookWindow, PitchAndPageHeightKeysStopAtTheirLimits) {
  TNoteForm* f = OpenWith("");
  KANKAKU = 25;
  f->KeySyori(VK_PRIOR, SHIFT_SHIFT);
  EXPECT_EQ(KANKAKU, 25);
  KANKAKU = 5;
  f->KeySyori(VK_NEXT, SHIFT_SHIFT);
  EXPECT_EQ(KANKAKU, 5);
  f->KeySyori(VK_PRIOR, SHIFT_SHIFT);
  EXPECT_EQ(KANKAKU, 6);
  EXPECT_EQ(f->CommandBox()->PitchField()->value(), 6);
  PAGEA4BAIN = 300;
  f->KeySyori(VK_PRIOR, SHIFT_CTRL);
  EXPECT_EQ(PAGEA4BAIN, 300);
  f->KeySyori(VK_NEXT, SHIFT_CTRL);
  EXPECT_EQ(PAGEA4BAIN, 299);
  EXPECT_EQ(f->CommandBox()->PageHeightField()->value(), 299);
  // The command box's pitch field reaches 2, below the keys' limit.
  f->CommandBox()->PitchField()->setValue(2);
  EXPECT_EQ(KANKAKU, 2);
}

TEST_F(NotebookWindow, SavesAtomicallyAndReportsAFailedSave) {
  TNoteForm* f = OpenWith("1+1=2&2");
  const std::string dir = TempDir();
  NotePage.fileName = dir + "/page.txt";
  TestPlatform().Clear();
  EXPECT_TRUE(f->SaveFile());
  EXPECT_EQ(NotePage.fileName, dir + "/page.siki");
  EXPECT_EQ(ReadBytes(dir + "/page.siki"), "1+1=2&2\r\n");
  EXPECT_FALSE(NotePage.modified);
  EXPECT_TRUE(TestPlatform().ShownTexts().empty());
  EXPECT_EQ(f->windowTitle(), QString::fromStdString("ノート画面 [ " + dir + "/page.siki]"));

  // Save As into a folder that does not exist: told, and the page stays modified.
  NotePage.modified = true;
  TestPlatform().fileNames = {dir + "/no/such/folder/x"};
  EXPECT_FALSE(f->SaveFileAs());
  EXPECT_TRUE(NotePage.modified);
  EXPECT_EQ(NotePage.fileName, dir + "/page.siki");
  EXPECT_EQ(TestPlatform().ShownTexts(),
            (std::vector<std::string>{"ご注意！: ご指定のﾌｧｲﾙに保存できませんでした。"}));

  // Closing a page that cannot be saved keeps the window open.
  NotePage.fileName = dir + "/no/such/folder/x.siki";
  TestPlatform().Clear();
  TestPlatform().answers = {MsgAnswer::Yes};
  f->close();
  EXPECT_EQ(TNoteForm::Instance(), f);
  EXPECT_EQ(NotePage.lineCount, 1);
}

TEST_F(NotebookWindow, ClosingAsksAndLeavesANewPage) {
  TNoteForm* f = OpenWith("3+4");
  NotePage.title = "表題";
  NotePage.fileName = "/x/y.siki";
  TestPlatform().Clear();
  TestPlatform().answers = {MsgAnswer::Cancel};
  f->close();
  EXPECT_EQ(TNoteForm::Instance(), f);
  ASSERT_EQ(TestPlatform().log.size(), 1u);
  EXPECT_EQ(TestPlatform().log[0].text,
            "ノート画面の式は編集されています。\n\n画面を閉じる前に変更を保存しますか？");

  TestPlatform().answers = {MsgAnswer::No};
  f->move(70, 40);
  f->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(TNoteForm::Instance(), nullptr);
  // The page given up is no file's page any more: the next notebook does not save under its name.
  EXPECT_EQ(NotePage.lineCount, 0);
  EXPECT_EQ(NotePage.title, "");
  EXPECT_EQ(NotePage.fileName, "");
  EXPECT_FALSE(TNBComBoxForm::IsOpen());
}

TEST_F(NotebookWindow, OpeningAFileWithBadLinesHandsItToThePageEditor) {
  TNoteForm* f = OpenWith("");
  const std::string path = TempDir() + "/bad.siki";
  std::ofstream(path, std::ios::binary) << "#t\r\n1+1\r\n2+*2\r\n";
  TestPlatform().Clear();
  TestPlatform().fileNames = {path};
  bool editorSeen = false;
  WhenModal([&] {
    TNoteEditForm* e = TNoteEditForm::Current();
    ASSERT_NE(e, nullptr);
    editorSeen = true;
    EXPECT_EQ(e->Field()->toPlainText(), U("1+1\n2+*2"));
    // The check finds the bad character and selects it.
    e->CheckCommand();
    EXPECT_EQ(e->Field()->textCursor().selectedText(), U("*"));
    // Fix the line and store the page.
    e->Field()->setPlainText(U("1+1\n\n2+2\n  "));
    TestPlatform().answers = {MsgAnswer::Yes};
    e->ReflectClose();
  });
  f->OpenFile();
  EXPECT_TRUE(editorSeen);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"1+1", "2+2", "  "}));
  EXPECT_EQ(NotePage.title, "t");
  EXPECT_TRUE(NotePage.modified);
  auto shown = TestPlatform().ShownTexts();
  ASSERT_GE(shown.size(), 2u);
  EXPECT_EQ(
      shown[0],
      "ご注意!!: 読み込んだ式に、不正箇所がありました。\n｢適切さチェック｣を行った後で、｢反映終了｣して下さい。");
  EXPECT_EQ(shown[1], "ｴﾗｰの報告: ◇ｴﾗｰ::(2問: 3字目) " + CheckMessage(4));

  // A file that cannot be opened changes nothing.
  NotePage.modified = false;
  TestPlatform().Clear();
  TestPlatform().fileNames = {TempDir() + "/missing.siki"};
  f->OpenFile();
  EXPECT_EQ(TestPlatform().ShownTexts(),
            (std::vector<std::string>{"ご注意！: ご指定のﾌｧｲﾙをOpenできませんでした。"}));
  EXPECT_EQ(NotePage.lineCount, 3);
}

TEST_F(NotebookWindow, PageEditorChecksCountsAndDiscards) {
  TNoteForm* f = OpenWith("");
  ReplaceAllLines({"1+1", "2+2", "3+3"});
  NotePage.modified = false;
  TestPlatform().Clear();
  WhenModal([&] {
    TNoteEditForm* e = TNoteEditForm::Current();
    e->CheckCommand();
    // Discarding without changes closes without a question.
    e->DiscardClose();
  });
  f->EditPageCommand();
  EXPECT_EQ(TestPlatform().ShownTexts(),
            (std::vector<std::string>{"ｴﾗｰの報告: ◇全3行::エラーはありませんでした。"}));
  EXPECT_EQ(Lines(), (std::vector<std::string>{"1+1", "2+2", "3+3"}));

  // A changed field asks before it is thrown away; No keeps the editor.
  TestPlatform().Clear();
  WhenModal([&] {
    TNoteEditForm* e = TNoteEditForm::Current();
    e->Field()->setPlainText(U("9+9"));
    TestPlatform().answers = {MsgAnswer::No, MsgAnswer::Yes};
    e->DiscardClose();
    EXPECT_TRUE(e->isVisible());
    e->DiscardClose();
  });
  f->EditPageCommand();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"1+1", "2+2", "3+3"}));
  EXPECT_EQ(TestPlatform().log.size(), 2u);
  EXPECT_EQ(TestPlatform().log[0].caption, "破棄終了のご確認");

  // The ¥ key types the π text and "pai" becomes it when stored.
  PaiText = "3.14";
  WhenModal([&] {
    TNoteEditForm* e = TNoteEditForm::Current();
    e->Field()->setPlainText("");
    e->Field()->setFocus();
    QTest::keyClick(e->Field(), Qt::Key_2);
    QTest::keyClick(e->Field(), Qt::Key_Asterisk);
    QTest::keyClick(e->Field(), Qt::Key_Backslash);
    EXPECT_EQ(e->Field()->toPlainText(), U("2*3.14"));
    e->Field()->appendPlainText(U("pai+1"));
    TestPlatform().answers = {MsgAnswer::Yes};
    e->ReflectClose();
  });
  f->EditPageCommand();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"2*3.14", "3.14+1"}));
}

TEST_F(NotebookWindow, TitleBoxAppliesOrKeepsTheTitle) {
  TNoteForm* f = OpenWith("");
  NotePage.title = "old";
  NotePage.modified = false;
  // The close box keeps the old title and does not mark the page modified.
  WhenModal([] {
    THyoudaiEditForm* b = THyoudaiEditForm::Current();
    b->Field()->setText(U("new"));
    b->close();
  });
  f->TitleCommand();
  EXPECT_EQ(NotePage.title, "old");
  EXPECT_FALSE(NotePage.modified);
  EXPECT_FALSE(THyoudaiEditForm::IsOpen());

  WhenModal([] {
    THyoudaiEditForm* b = THyoudaiEditForm::Current();
    b->Field()->setFocus();
    b->Field()->selectAll();
    QTest::keyClicks(b->Field(), "Quiz");
    b->AppendBox()->setChecked(true);
    b->Button(U("終了 &C"))->click();
  });
  f->TitleCommand();
  EXPECT_EQ(NotePage.title, "Quiz");
  EXPECT_TRUE(NoteAppendFileName);
  EXPECT_TRUE(NotePage.modified);

  // Ctrl+T while the box is open is refused.
  TestPlatform().Clear();
  WhenModal([f] {
    f->KeySyori('T', SHIFT_CTRL);
    THyoudaiEditForm::Current()->close();
  });
  f->TitleCommand();
  EXPECT_EQ(TestPlatform().ShownTexts(),
            (std::vector<std::string>{"ご確認: 表題記入欄はすでに開いています。"}));
}

TEST_F(NotebookWindow, AnswerColumnBoxAsksUntilTheEntryFits) {
  TNoteForm* f = OpenWith("");
  TestPlatform().inputs = {"9", "81", "abc", "80"};
  f->RunCommand(NoteCommand::AnswerColumnStart);
  EXPECT_EQ(KAITOURAN_ITI, 80);
  int asked = 0;
  for (const auto& m : TestPlatform().log) asked += m.kind == "input";
  EXPECT_EQ(asked, 4);
  TestPlatform().inputs.clear();  // cancel
  f->RunCommand(NoteCommand::AnswerColumnStart);
  EXPECT_EQ(KAITOURAN_ITI, 80);
}

TEST_F(NotebookWindow, CommandBoxButtonsRunTheCommands) {
  TNoteForm* f = OpenWith("1b2+1b2");
  TNBComBoxForm* box = f->CommandBox();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->Button(U("◆全式の一括操作"), U("算"))->toolTip(), U("全部の式を計算する"));
  TestPlatform().answers = {MsgAnswer::Ok};
  box->Button(U("◆全式の一括操作"), U("算"))->click();
  EXPECT_EQ(NotePage.lines[0], "1b2+1b2=4&4");
  box->Button(U("◆選択した式の操作◆"), U("▼"))->click();
  EXPECT_EQ(NotePage.selected, 1);
  box->Button(U("◆選択した式の操作◆"), U("複"))->click();
  EXPECT_EQ(NotePage.lineCount, 2);
  box->EqualBreakBox()->setChecked(false);
  EXPECT_FALSE(NoteEqualBreak);
  EXPECT_FALSE(f->FindAction(U("｢＝｣で改行(&L)"))->isChecked());
  // Keys pressed in the box reach the notebook's key handler.
  QTest::keyClick(box, Qt::Key_Up, Qt::ShiftModifier);
  EXPECT_EQ(NotePage.selected, 0);
  // F8 minimises and restores it.
  f->KeySyori(VK_F8, 0);
  EXPECT_TRUE(box->Minimised());
  f->KeySyori(VK_F8, 0);
  EXPECT_FALSE(box->Minimised());
}

TEST_F(NotebookWindow, TheSheetShowsTheLinesAndAnswerBlanks) {
  TNoteForm* f = OpenWith("");
  NOTE_KAITOURAN_FLAG = 1;
  ReplaceAllLines({"1b2+3b1=2k3b1&2k3b1", "2x+1=5", "4:6"});
  NotePage.selected = 2;
  NotePage.title = "分数の練習";
  f->resize(900, 700);
  QCoreApplication::processEvents();
  QImage img = f->GrabSheet();
  ASSERT_FALSE(img.isNull());
  int cream = 0, green = 0, red = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      const QRgb p = img.pixel(x, y);
      cream += p == QColor(255, 252, 217).rgb();
      green += qGreen(p) > 100 && qRed(p) < 60 && qBlue(p) < 60;
      red += qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60;
    }
  EXPECT_GT(cream, img.width() * img.height() / 2);
  EXPECT_GT(green, 20);  // the line numbers
  EXPECT_GT(red, 20);  // selection mark, answer labels, operators
  if (const char* out = std::getenv("KAZORU_NOTEBOOK_PNG")) img.save(out);
}

TEST_F(NotebookWindow, PrintsTheSheetToPdf) {
  TNoteForm* f = OpenWith("");
  ReplaceAllLines({"1b2+3b1=2k3b1&2k3b1", "2x+1=5&x=2"});
  NotePage.title = "印刷";
  const std::string pdf = TempDir() + "/sheet.pdf";
  auto saved = TNoteForm::PrinterSetup;
  TNoteForm::PrinterSetup = [&](QPrinter& p) {
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(QString::fromStdString(pdf));
    return true;
  };
  TestPlatform().Clear();
  f->PrintNote();
  TNoteForm::PrinterSetup = saved;
  const std::string bytes = ReadBytes(pdf);
  ASSERT_GT(bytes.size(), 500u);
  EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
  EXPECT_EQ(TestPlatform().ShownTexts(), (std::vector<std::string>{"準備中!!: ......."}));
}

// A PDF file that cannot be written whole (the folder is missing, the disk is full) is reported and the
// old file stays as it was.
TEST_F(NotebookWindow, APdfThatCannotBeWrittenIsToldAndKeepsTheOldFile) {
  TNoteForm* f = OpenWith("2x+1=5");
  const std::string dir = TempDir() + "/printfault";
  ASSERT_EQ(::mkdir(dir.c_str(), 0755), 0);
  const std::string old = dir + "/sheet.pdf";
  std::ofstream(old, std::ios::binary) << "old sheet";
  std::string target;
  auto saved = TNoteForm::PrinterSetup;
  TNoteForm::PrinterSetup = [&](QPrinter& p) {
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(QString::fromStdString(target));
    return true;
  };
  const std::string told = "ご注意！: ご指定のﾌｧｲﾙに印刷できませんでした。";

  target = dir + "/missing/sheet.pdf";
  TestPlatform().Clear();
  f->PrintNote();
  EXPECT_EQ(TestPlatform().ShownTexts().back(), told);

  // A full disk: this process's files may not grow past 200 bytes while it prints.
  target = old;
  rlimit keep{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &keep), 0);
  auto keepSignal = ::signal(SIGXFSZ, SIG_IGN);
  rlimit small{200, keep.rlim_max};
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  TestPlatform().Clear();
  f->PrintNote();
  ::setrlimit(RLIMIT_FSIZE, &keep);
  ::signal(SIGXFSZ, keepSignal);
  EXPECT_EQ(TestPlatform().ShownTexts().back(), told);
  EXPECT_EQ(ReadBytes(old), "old sheet");

  // With room again the new sheet replaces the old file, and nothing else is left in the folder.
  TestPlatform().Clear();
  f->PrintNote();
  TNoteForm::PrinterSetup = saved;
  EXPECT_EQ(ReadBytes(old).substr(0, 5), "%PDF-");
  EXPECT_EQ(TestPlatform().ShownTexts().size(), 1u);
  int entries = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir)) entries += e.is_regular_file();
  EXPECT_EQ(entries, 1);
}

TEST_F(NotebookWindow, EditingALineOpensTheExpressionEditor) {
  TNoteForm* f = OpenWith("");
  NotePage.modified = false;
  // No selection: asked whether to add a new line; OK adds it and the editor opens on it (mode 3).
  TestPlatform().answers = {MsgAnswer::Ok};
  f->KeySyori('E', SHIFT_CTRL);
  EXPECT_EQ(NotePage.lineCount, 1);
  EXPECT_EQ(NotePage.selected, 1);
  TSikiEditForm* editor = TSikiEditForm::Instance();
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(EditorMode, EditorFor::Notebook);
  EXPECT_FALSE(NotePage.modified);
  // The editor stores its result into the selected line; closing it marks the page modified.
  ReplaceSelected("3b1+3b1");
  editor->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(TSikiEditForm::Instance(), nullptr);
  EXPECT_TRUE(NotePage.modified);
  EXPECT_EQ(NotePage.lines[0], "3b1+3b1");

  // Closing the notebook puts the editor's mode back to 0.
  EditorMode = EditorFor::NotebookHanded;
  TestPlatform().answers = {MsgAnswer::No};
  f->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(EditorMode, EditorFor::Screen);
}

// Working ("=" and an expression under a problem) is taken by the expression editor that Ctrl+W opens, with
// Show and with Calculate; a line the editor refuses or never gets leaves no empty problem behind.
TEST_F(NotebookWindow, TheExpressionEditorTakesWorkingAndLeavesNoEmptyProblem) {
  struct Case {
    const char* typed;
    bool calculate;
    std::vector<std::string> page;  // after the editor closed
    bool modified;
  };
  const Case cases[] = {
      {"=5b2", false, {"1b2+1b3", "=5b2"}, true},
      {" =3b6+2b6 ", true, {"1b2+1b3", "=3b6+2b6"}, true},
      {"=5++2", false, {"1b2+1b3"}, false},  // refused: the error is shown, the line goes on closing
      {"", false, {"1b2+1b3"}, false},  // closed at once
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    TNoteForm* f = OpenWith("1b2+1b3");
    NotePage.modified = false;
    f->KeySyori('W', SHIFT_CTRL);
    TSikiEditForm* editor = TSikiEditForm::Instance();
    ASSERT_NE(editor, nullptr);
    editor->Field()->setText(U(c.typed));
    if (c.calculate)
      editor->CalcButtonClick();
    else
      editor->ShowButtonClick();
    if (c.page.size() == 2) {
      EXPECT_EQ(NoteLine(2), c.page[1]);
    }
    TestPlatform().answers = {MsgAnswer::Ok};  // closing without storing the field
    editor->close();
    TestPlatform().answers.clear();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(TSikiEditForm::Instance(), nullptr);
    EXPECT_EQ(Lines(), c.page);
    EXPECT_EQ(NotePage.modified, c.modified);
    NotePage.modified = false;
    f->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

TEST_F(NotebookWindow, EachWindowsA4WidthKeyWorksInThatWindow) {
  CalcScreenForm screen(false);
  screen.show();
  TNoteForm* f = OpenWith("");
  for (QWidget* w : {static_cast<QWidget*>(&screen), static_cast<QWidget*>(f)}) {
    w->resize(300, 300);
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([w] { return w->isActiveWindow(); }, 2000));
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : w;
    QTest::keyClick(target, Qt::Key_F8, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(w->height(), 600) << w->windowTitle().toStdString();
    EXPECT_GT(w->width(), 300) << w->windowTitle().toStdString();
  }
  // The screen's key did not act on the notebook's turn.
  EXPECT_EQ(screen.height(), 600);
  NotePage.modified = false;
  f->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(NotebookWindow, TheInputPanelComesBackWhenTheNotebookCloses) {
  CalcScreenForm screen(false);
  screen.show();
  auto* panel = new TInputForm(&screen);
  screen.SetInputPanel(panel);
  panel->Switch();
  ASSERT_TRUE(panel->ShownNormal());
  InstallNotebook();
  auto openAndClose = [&] {
    RunScreenCommand(ScreenCommand::OpenNotebook);
    ASSERT_NE(TNoteForm::Instance(), nullptr);
    QCoreApplication::processEvents();
    EXPECT_FALSE(panel->isVisible()) << "the notebook puts the panel away";
    NotePage.modified = false;
    TNoteForm::Instance()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  };
  openAndClose();
  EXPECT_TRUE(panel->ShownNormal());
  EXPECT_TRUE(panel->isVisible());
  // A panel the pupil put away before stays away.
  panel->Switch();
  openAndClose();
  EXPECT_EQ(panel->State(), TInputForm::PanelState::Minimised);
  SetScreenCommand(ScreenCommand::OpenNotebook, nullptr);
  CalcScreenForm::NotebookModified = nullptr;
  CalcScreenForm::SaveNotebook = nullptr;
  EditorNotebook = EditorNotebookHooks{};
}

TEST_F(NotebookWindow, InstalledWithTheScreenAndTheEditor) {
  InstallNotebook();
  EXPECT_FALSE(EditorNotebook.isOpen());
  LineText = "1b2+1b3";
  RunScreenCommand(ScreenCommand::OpenNotebook);
  ASSERT_NE(TNoteForm::Instance(), nullptr);
  EXPECT_TRUE(EditorNotebook.isOpen());
  EXPECT_EQ(Lines(), (std::vector<std::string>{"1b2+1b3"}));
  EXPECT_TRUE(CalcScreenForm::NotebookModified());
  // From the editor, an open notebook receives the text as a new line.
  EditorNotebook.openFromEditor("5*5");
  EXPECT_EQ(Lines(), (std::vector<std::string>{"1b2+1b3"}));  // already open: focused only
  SetScreenCommand(ScreenCommand::OpenNotebook, nullptr);
  CalcScreenForm::NotebookModified = nullptr;
  CalcScreenForm::SaveNotebook = nullptr;
  EditorNotebook = EditorNotebookHooks{};
}
