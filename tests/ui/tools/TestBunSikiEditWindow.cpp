// The expression editor window on the offscreen platform, driven by real key events: it opens with the
// line, shows and computes what is typed, reports a bad character in its error display, inserts the π
// text and the repurposed keys at the caret, keeps the 256-character limit, stashes an expression, asks
// before closing an edited field, and works for the notebook's line.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "ui/screen/Kazoru.h"
#include "ui/tools/ToolWindowsTestSupport.h"

namespace {

class SikiEditWindow : public ToolWindowTest {
 protected:
  TSikiEditForm* OpenEditor(const std::string& line = "") {
    LineText = line;
    TSikiEditForm* e = TSikiEditForm::OpenForScreen(EditorFor::Screen);
    EXPECT_NE(e, nullptr);
    return e;
  }
  static void Type(TSikiEditForm* e, const char* text) { QTest::keyClicks(e->Field(), U8(text)); }
  static void Key(TSikiEditForm* e, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(e->Field(), key, mods);
  }
};

TEST_F(SikiEditWindow, OpensWithTheLineAndEveryButton) {
  TSikiEditForm* e = OpenEditor("3b1+2");
  EXPECT_TRUE(SikiEditOpen);
  EXPECT_EQ(TSikiEditForm::Instance(), e);
  EXPECT_EQ(e->windowTitle(), U8("◆式エディタ◆　【式文字列の編集（キーボードからのみ入力可）】"));
  EXPECT_EQ(e->Field()->text(), "3b1+2");
  EXPECT_EQ(e->ErrorDisplay()->text(), U8("◇ｴﾗｰ ⇒"));
  EXPECT_EQ(e->Indicator()->text(), "OFF");
  EXPECT_EQ(e->windowModality(), Qt::WindowModal);
  EXPECT_FALSE(e->FieldChanged());
  // A second opening does nothing.
  EXPECT_EQ(TSikiEditForm::OpenForScreen(EditorFor::Screen), nullptr);

  const std::pair<const char*, const char*> buttons[] = {
      {"式表示 Ret", "編集した式のみ表示します"},
      {"計算 Ctrl+Ret", "編集式を計算し、答えも表示します"},
      {"ﾉｰﾄ &N", "ノートﾍﾟｰｼﾞを表示します"},
      {"閉 &C", "このｴﾃﾞｲﾀを閉じます"},
      {"ｷｰ転用 &K", "[PageUp]→'ｋ' [PageDown]→'ｂ' 　[HOME]→'（'　[END]→'）'　[↓]→'='"},
      {"式ﾒﾓ &M", "式を保存してあるメモをオープンする"},
      {"代入箱 &S", "ｴﾃﾞｨﾀ中のｘ、ｙに数値を代入する"},
      {"条件 &J", "条件設定ﾎﾞｯｸｽを表示します"},
      {"定数 &T", "定数を保存してあるBoxをｵｰﾌﾟﾝします"},
      {"退 &H", "ｴﾃﾞｨﾀの式を一時退避します。"},
      {"挿 &I", "退避した式をｴﾃﾞｨﾀに戻します"},
      {"&Look", "退避した式をLookします"},
  };
  for (const auto& [caption, hint] : buttons) {
    QPushButton* b = e->Button(U8(caption));
    ASSERT_NE(b, nullptr) << caption;
    EXPECT_EQ(b->text(), U8(caption));
    EXPECT_EQ(b->toolTip(), U8(hint)) << caption;
  }
  ASSERT_NE(e->PictureButton(), nullptr);
  Shot(e, "editor-open");
}

TEST_F(SikiEditWindow, EnterShowsAndCtrlEnterComputes) {
  TSikiEditForm* e = OpenEditor();
  Type(e, "2b1+3b1");
  EXPECT_TRUE(e->FieldChanged());
  Key(e, Qt::Key_Return);
  EXPECT_EQ(LineText, "2b1+3b1");
  EXPECT_TRUE(LineOpen);
  EXPECT_FALSE(e->FieldChanged());
  EXPECT_EQ(e->ErrorDisplay()->text(), "");

  Key(e, Qt::Key_Return, Qt::ControlModifier);
  EXPECT_EQ(LineText, "2b1+3b1=6b5&6b5");
  // The field shows the line as the pupil reads it, without the answer field the screen keeps.
  EXPECT_EQ(e->Field()->text(), "2b1+3b1=6b5");
  EXPECT_FALSE(LineOpen);

  // Ctrl+Q computes too; the caret goes back where it was.
  e->Field()->setText("1+1");
  e->Field()->setCursorPosition(1);
  Key(e, Qt::Key_Q, Qt::ControlModifier);
  EXPECT_EQ(e->Field()->text(), "1+1=2");
  EXPECT_EQ(e->Field()->cursorPosition(), 1);
  Shot(e, "editor-calculated");
}

TEST_F(SikiEditWindow, ABadCharacterIsSelectedAndNamedInTheErrorDisplay) {
  TSikiEditForm* e = OpenEditor();
  Type(e, "12+)4");
  Key(e, Qt::Key_Return);
  EXPECT_EQ(e->Field()->selectedText(), ")");
  EXPECT_EQ(e->Field()->selectionStart(), 3);
  EXPECT_TRUE(e->ErrorDisplay()->text().startsWith(U8("◇ｴﾗｰ::(4字目) ")));
  EXPECT_TRUE(TestPlatform().ShownTexts().empty());
  EXPECT_TRUE(e->FieldChanged());
  Shot(e, "editor-error");

  // A comment is refused by the computation, not by Show.
  e->Field()->setText("1+2 #sum");
  Key(e, Qt::Key_Return, Qt::ControlModifier);
  EXPECT_EQ(e->ErrorDisplay()->text(), U8(" ｢#｣ 以降を削除せよ！"));
  Key(e, Qt::Key_Return);
  EXPECT_EQ(LineText, "1+2");
}

TEST_F(SikiEditWindow, YenTypesThePiTextAndTheRoKeyAnEquals) {
  PaiText = "3.1416";
  TSikiEditForm* e = OpenEditor();
  Type(e, "2*");
  Key(e, Qt::Key_yen);
  EXPECT_EQ(e->Field()->text(), "2*3.1416");
  Key(e, Qt::Key_Backslash);
  EXPECT_EQ(e->Field()->text(), "2*3.14163.1416");
  e->Field()->setText("x+1");
  e->Field()->setCursorPosition(3);
  QTest::keyClick(e->Field(), Qt::Key_Underscore, Qt::ShiftModifier);
  Key(e, Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(e->Field()->text(), "x+1==");
}

TEST_F(SikiEditWindow, KeyRepurposingInsertsAtTheCaret) {
  TSikiEditForm* e = OpenEditor();
  Type(e, "12");
  e->Field()->setCursorPosition(1);
  Key(e, Qt::Key_PageUp);  // off: no character
  EXPECT_EQ(e->Field()->text(), "12");

  QTest::mouseClick(e->Button(U8("ｷｰ転用 &K")), Qt::LeftButton);
  EXPECT_EQ(KEYTENYOU, 1);
  EXPECT_EQ(e->Indicator()->text(), "ON");
  EXPECT_TRUE(e->Indicator()->styleSheet().contains("255,0,0"));
  e->Field()->setCursorPosition(1);
  Key(e, Qt::Key_PageUp);
  EXPECT_EQ(e->Field()->text(), "1k2");
  EXPECT_EQ(e->Field()->cursorPosition(), 2);
  Key(e, Qt::Key_End);
  Key(e, Qt::Key_Home);
  Key(e, Qt::Key_PageDown);
  Key(e, Qt::Key_Down);
  EXPECT_EQ(e->Field()->text(), "1k)(b=2");
  Shot(e, "editor-keys-on");
}

TEST_F(SikiEditWindow, TypingStopsAt256CharactersButHandedTextsStayWhole) {
  TSikiEditForm* e = OpenEditor();
  std::string text = "11";
  while (text.size() < 256) text += "+1";
  e->Field()->setText(QString::fromStdString(text));
  e->Field()->end(false);
  Type(e, "5");
  EXPECT_EQ(e->Field()->text().size(), 256);
  EXPECT_EQ(e->ErrorDisplay()->text(), U8("◇ｴﾗｰ::256字を超えて入力できません。"));
  // The comment after "#" is not part of the expression.
  Type(e, " #note");
  EXPECT_TRUE(e->Field()->text().endsWith(" #note"));

  // A longer text handed over by another window is kept whole and refused by Show with its reason.
  e->TakeText(text + "+2");
  EXPECT_EQ(e->Field()->text().size(), 258);
  Key(e, Qt::Key_Return);
  EXPECT_EQ(e->ErrorDisplay()->text(), U8("◇ｴﾗｰ::式の長さが256字を超えています。"));
  EXPECT_EQ(e->Field()->selectionStart(), 256);
}

TEST_F(SikiEditWindow, StashInsertAndLookThroughTheButtons) {
  TSikiEditForm* e = OpenEditor();
  Type(e, "3b2");
  QTest::mouseClick(e->Button(U8("退 &H")), Qt::LeftButton);
  EXPECT_EQ(TestPlatform().ShownTexts(), std::vector<std::string>{"報告！: < 3b2 > を一時退避しました。"});
  e->Field()->setText("1+");
  e->Field()->end(false);
  QTest::mouseClick(e->Button(U8("挿 &I")), Qt::LeftButton);
  EXPECT_EQ(e->Field()->text(), "1+3b2");
  TestPlatform().Clear();
  QTest::mouseClick(e->Button(U8("&Look")), Qt::LeftButton);
  ASSERT_EQ(TestPlatform().Shown().size(), 1u);
  EXPECT_EQ(TestPlatform().Shown()[0].text, "@3b2");
}

TEST_F(SikiEditWindow, ClosingAsksOnlyWhenTheFieldWasChanged) {
  TSikiEditForm* e = OpenEditor("1+2");
  QTest::mouseClick(e->Button(U8("閉 &C")), Qt::LeftButton);
  Flush();
  EXPECT_TRUE(TestPlatform().log.empty());
  EXPECT_EQ(TSikiEditForm::Instance(), nullptr);
  EXPECT_FALSE(SikiEditOpen);
  EXPECT_EQ(SavedLine, "1+2");

  e = OpenEditor("1+2");
  Type(e, "+3");
  TestPlatform().answers = {MsgAnswer::Cancel};
  Key(e, Qt::Key_C, Qt::AltModifier);
  Flush();
  ASSERT_EQ(TestPlatform().log.size(), 1u);
  EXPECT_EQ(TestPlatform().log[0].text, EDITOR_CLOSE_QUESTION);
  ASSERT_EQ(TSikiEditForm::Instance(), e);
  e->close();
  Flush();
  EXPECT_EQ(TSikiEditForm::Instance(), nullptr);
}

TEST_F(SikiEditWindow, WorksForTheNotebookLine) {
  AddEmptyLine();
  ReplaceSelected("1+1");
  int redraws = 0;
  int closed = 0;
  EditorNotebook.redraw = [&redraws] { ++redraws; };
  QWidget notebook;
  TSikiEditForm* e = TSikiEditForm::OpenForNotebook("1+1", &notebook, [&closed] { ++closed; });
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(EditorMode, EditorFor::Notebook);
  EXPECT_EQ(e->Field()->text(), "1+1");
  QTest::keyClicks(e->Field(), "+1");
  QTest::keyClick(e->Field(), Qt::Key_Return, Qt::ControlModifier);
  EXPECT_EQ(NoteLine(1), "1+1+1=3&3");
  EXPECT_EQ(redraws, 1);

  // A second line handed over goes to the open editor in mode 2.
  EXPECT_EQ(TSikiEditForm::OpenForNotebook("5", &notebook), e);
  EXPECT_EQ(EditorMode, EditorFor::NotebookHanded);
  EXPECT_EQ(e->Field()->text(), "5");
  // With the notebook open, the notebook button closes the editor in mode 2.
  EditorNotebook.isOpen = [] { return true; };
  QTest::mouseClick(e->Button(U8("ﾉｰﾄ &N")), Qt::LeftButton);
  Flush();
  EXPECT_EQ(TSikiEditForm::Instance(), nullptr);
  EXPECT_EQ(closed, 1);
}

TEST_F(SikiEditWindow, TheNotebookButtonOpensTheNotebookWithTheText) {
  std::string opened = "-";
  EditorNotebook.isOpen = [] { return false; };
  EditorNotebook.openFromEditor = [&opened](const std::string& t) { opened = t; };
  TSikiEditForm* e = OpenEditor();
  Type(e, "2x=4");
  QTest::mouseClick(e->Button(U8("ﾉｰﾄ &N")), Qt::LeftButton);
  EXPECT_EQ(opened, "2x=4");
  EXPECT_EQ(LineText, "2x=4");
  // The editor no longer blocks anything, so the notebook takes keys whichever window owns it.
  EXPECT_EQ(e->windowModality(), Qt::NonModal);
  EXPECT_TRUE(e->isVisible());

  // Open already, in mode 0: the pupil is told.
  EditorNotebook.isOpen = [] { return true; };
  QTest::mouseClick(e->Button(U8("ﾉｰﾄ &N")), Qt::LeftButton);
  EXPECT_EQ(TestPlatform().ShownTexts(),
            std::vector<std::string>{"ご確認: ノート画面はすでに開いています。"});
}

TEST_F(SikiEditWindow, F8AndTheButtonsReachTheMemoAndTheBox) {
  TSikiEditForm* e = OpenEditor();
  QTest::mouseClick(e->Button(U8("代入箱 &S")), Qt::LeftButton);
  ASSERT_NE(TDainyuuForm::Instance(), nullptr);
  EXPECT_TRUE(DainyuuOpen);
  QTest::mouseClick(e->Button(U8("式ﾒﾓ &M")), Qt::LeftButton);
  ASSERT_NE(TSEMemoForm::Instance(), nullptr);
  EXPECT_TRUE(MemoOpen);
  // The memo and the box stay usable beside the modal editor: they are not its children.
  EXPECT_EQ(TSEMemoForm::Instance()->parentWidget(), nullptr);
  EXPECT_EQ(TDainyuuForm::Instance()->parentWidget(), nullptr);

  e->FocusField();
  Key(e, Qt::Key_F8);
  Flush();
  EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(TSEMemoForm::Instance()->List()));
}

TEST_F(SikiEditWindow, TheScreenCommandsOpenTheWindows) {
  InstallToolWindowCommands();
  EXPECT_FALSE(RunScreenCommand(ScreenCommand::FocusToolWindow));  // nothing open: F7 types ")"
  EXPECT_TRUE(RunScreenCommand(ScreenCommand::OpenSubstitution));
  EXPECT_TRUE(RunScreenCommand(ScreenCommand::OpenMemo));
  EXPECT_TRUE(RunScreenCommand(ScreenCommand::FocusToolWindow));
  Flush();
  EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(TDainyuuForm::Instance()->ExpressionField()));
  LineText = "7";
  EXPECT_TRUE(RunScreenCommand(ScreenCommand::OpenExpressionEditor));
  ASSERT_NE(TSikiEditForm::Instance(), nullptr);
  EXPECT_EQ(TSikiEditForm::Instance()->Field()->text(), "7");
  EXPECT_FALSE(RunScreenCommand(ScreenCommand::OpenExpressionEditor));
  for (ScreenCommand c : {ScreenCommand::OpenExpressionEditor, ScreenCommand::OpenMemo,
                          ScreenCommand::OpenSubstitution, ScreenCommand::FocusToolWindow})
    SetScreenCommand(c, nullptr);
}

TEST_F(SikiEditWindow, TheModalEditorBlocksOnlyTheScreen) {
  CalcScreenForm screen(false);
  screen.show();
  TSikiEditForm* e = TSikiEditForm::OpenForScreen(EditorFor::Screen);
  TSEMemoForm* m = TSEMemoForm::Open();
  QTest::qWait(20);
  // A click that goes the window system's way reaches the memo beside the modal editor …
  QPushButton* b = m->Button(U8("全削除 &Z"));
  TestPlatform().answers = {MsgAnswer::Cancel};
  QTest::mouseClick(m->windowHandle(), Qt::LeftButton, Qt::NoModifier, b->mapTo(m, b->rect().center()));
  EXPECT_EQ(TestPlatform().log.size(), 1u);
  // … but a key for the calculation screen does not arrive until the editor has closed.
  QTest::keyClick(screen.windowHandle(), Qt::Key_5);
  EXPECT_EQ(LineText, "");
  e->close();
  m->close();
  Flush();
  screen.activateWindow();
  screen.PageWidget()->setFocus();
  QTest::keyClick(screen.windowHandle(), Qt::Key_5);
  EXPECT_EQ(LineText, "5");
}

}  // namespace
