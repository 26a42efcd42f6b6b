// The calculation line's commands on the real window, driven by key events on the offscreen platform:
// process display with F5 and its picture, the conversion keys, the special modes, printing the line to a
// PDF file, the help window on F1, the home page, the detailed settings window from the menu and the
// panel, and Escape stopping a factorisation.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <filesystem>

#include "engine/BunMath.h"
#include "engine/Bunio.h"
#include "engine/Buntakousiki.h"
#include "engine/Settings.h"
#include "process/CalcProcManage.h"
#include "screen/AnswerStore.h"
#include "screen/ScreenPage.h"
#include "screen/SettingsFile.h"
#include "screen/sikiInp.h"
#include "screen/sikiInpCommands.h"
#include "support/TestSupport.h"
#include "typeset/bunCanvasDsp.h"
#include "ui/QtPlatform.h"
#include "ui/help/HelpWindow.h"
#include "ui/process/calcProcSet.h"
#include "ui/screen/InputPanel.h"
#include "ui/screen/Kazoru.h"
#include "ui/screen/LineServices.h"
#include "ui/screen/PrintLine.h"

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

int CountColour(const QImage& img, const QRect& r, QColor c) {
  int n = 0;
  QRect area = r.intersected(img.rect());
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (img.pixelColor(x, y).rgb() == c.rgb()) ++n;
  return n;
}

class LineServicesWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int c = 0; c < static_cast<int>(ScreenCommand::COUNT); ++c)
      SetScreenCommand(static_cast<ScreenCommand>(c), nullptr);
    dir = TempDir();
    SetSettingsFolders(dir, dir);
    ResetSikiInp();
    MAINWIDTH = 760;
    MAINHEIGHT = 620;
    form = std::make_unique<CalcScreenForm>(false);
    form->resize(760, 620);
    form->show();
    panel = new TInputForm(form.get());
    form->SetInputPanel(panel);
    TheQtPlatform().SetOwner(form.get());
    InstallLineServices();
    form->Paint();
    form->PageWidget()->setFocus();
  }
  void TearDown() override {
    PrintLineSetup = nullptr;
    if (THelpForm::Instance()) delete THelpForm::Instance();
    form.reset();
    SetSettingsFolders("", "");
  }

  // Types a line in the notation: operators on the keypad, "=" as the right arrow, letters as keys.
  void Type(const char* text) {
    QWidget* w = form->PageWidget();
    for (const char* p = text; *p; ++p) {
      switch (*p) {
        case '+': QTest::keyClick(w, Qt::Key_Plus, Qt::KeypadModifier); break;
        case '-': QTest::keyClick(w, Qt::Key_Minus, Qt::KeypadModifier); break;
        case '*': QTest::keyClick(w, Qt::Key_Asterisk, Qt::KeypadModifier); break;
        case '/': QTest::keyClick(w, Qt::Key_Slash, Qt::KeypadModifier); break;
        case '=': QTest::keyClick(w, Qt::Key_Right); break;
        case '.': QTest::keyClick(w, Qt::Key_Period); break;
        default: QTest::keyClick(w, *p); break;
      }
    }
  }
  void Key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(form->PageWidget(), k, m); }

  // Saves a picture for the documentation when KAZORU_SHOTS names a folder.
  static void Shot(const QImage& image, const char* name) {
    if (const char* d = std::getenv("KAZORU_SHOTS")) image.save(QString::fromUtf8(d) + "/" + name);
  }

  std::string dir;
  std::unique_ptr<CalcScreenForm> form;
  TInputForm* panel = nullptr;
};

}  // namespace

TEST_F(LineServicesWindow, F5AndEqualsDrawTheProcessWithItsTitleAboveTheLine) {
  ADVICEDSP = 1;
  Key(Qt::Key_F5);
  ASSERT_EQ(PROCDSP, 1);
  Type("2b1+3b1=");
  ASSERT_EQ(ProcessTypeNumber(ProcessState.processType), 1);
  form->Paint();
  const QImage& page = form->PageImage();
  // The maroon title stands two rows above the line; the advice is navy, right of the line.
  EXPECT_GT(CountColour(page, QRect(0, LineOrigin.y - 2 * CharHeight, 600, CharHeight), QColor(128, 0, 0)),
            20);
  EXPECT_GT(CountColour(page, QRect(6 * CharWidth, LineOrigin.y, 600, CharHeight), QColor(0, 0, 128)), 20);
  // The lines of the process go down the page: blue "＝" signs a row and more below the line.
  EXPECT_GT(CountColour(page, QRect(0, LineOrigin.y + 2 * CharHeight, 4 * CharHeight, 6 * CharHeight),
                        QColor(0, 0, 255)),
            10);
  Shot(form->GrabPage(), "process-sum.png");
  // A repaint draws the same picture.
  QImage before = form->PageImage().copy();
  form->Paint();
  EXPECT_EQ(form->PageImage(), before);
}

struct KeyCase {
  const char* typed;
  Qt::Key key;
  Qt::KeyboardModifiers mods;
  const char* line;
};

TEST_F(LineServicesWindow, CommandKeysRewriteTheLine) {
  const KeyCase cases[] = {
      {"2b1+1=", Qt::Key_K, Qt::ControlModifier, "2b1+1=1k2b1=2b3"},
      {"3b7", Qt::Key_T, Qt::ControlModifier, "3b7=2k3b1"},
      {"6b1+6b1=", Qt::Key_S, Qt::ControlModifier, "6b1+6b1=3b1=0.33333333333333333u"},
      {"4b2", Qt::Key_Y, Qt::ControlModifier, "4b2=2b1"},
      {"2.75", Qt::Key_B, Qt::ControlModifier, "2.75=2k4b3"},
      {"12", Qt::Key_S, Qt::ShiftModifier, "12=2^2*3"},
      {"3b1", Qt::Key_R, Qt::ShiftModifier, "3b1=0.@3"},
  };
  for (const KeyCase& c : cases) {
    Key(Qt::Key_Delete);
    Type(c.typed);
    Key(c.key, c.mods);
    EXPECT_EQ(LineText, c.line) << c.typed;
    EXPECT_FALSE(LineOpen) << c.typed;
  }
  // Ctrl+Q solves.
  Key(Qt::Key_Delete);
  Type("2*x+1=5");
  Key(Qt::Key_Q, Qt::ControlModifier);
  EXPECT_EQ(LineText, "2*x+1=5&x=2");
  EXPECT_EQ(form->StatusLabel()->text(), U("◆方程式or不等式を解きました。"));
  // Shift+N enters base mode (its message answered by the recording platform), the mark turns green.
  Key(Qt::Key_Delete);
  Key(Qt::Key_N, Qt::ShiftModifier);
  EXPECT_TRUE(BaseMode);
  form->Paint();
  EXPECT_GT(
      CountColour(form->PageImage(), QRect(0, LineOrigin.y, 2 * CharHeight, CharHeight), QColor(0, 128, 0)),
      5);
  Key(Qt::Key_N, Qt::ShiftModifier);
  EXPECT_FALSE(BaseMode);
}

TEST_F(LineServicesWindow, ConversionProcessesAreDrawnWithProcessDisplayOn) {
  ADVICEDSP = 1;
  Key(Qt::Key_F5);
  Type("2k3b1");
  Key(Qt::Key_K, Qt::ControlModifier);
  EXPECT_EQ(ProcessTypeNumber(ProcessState.processType), 18);
  form->Paint();
  Shot(form->GrabPage(), "process-improper.png");
  Key(Qt::Key_Delete);
  Type("0.1@6");
  Key(Qt::Key_R, Qt::ShiftModifier);
  EXPECT_EQ(ProcessTypeNumber(ProcessState.processType), 15);
  form->Paint();
  Shot(form->GrabPage(), "process-repeating.png");
  Key(Qt::Key_Delete);
  Type("3b2*4b3=");
  EXPECT_EQ(ProcessTypeNumber(ProcessState.processType), 10);
  form->Paint();
  Shot(form->GrabPage(), "process-product.png");
  // F6 remakes the line by the other method; the title marks the types that have one.
  Key(Qt::Key_Delete);
  Type("3-4b1=");
  Key(Qt::Key_F6);
  EXPECT_TRUE(ProcessState.alternativeMethod);
  EXPECT_EQ(ProcessTypeNumber(ProcessState.processType), 6);
  form->Paint();
  Shot(form->GrabPage(), "process-alternative.png");
  Key(Qt::Key_F6);
}

TEST_F(LineServicesWindow, FactorisationRowsArePaintedAndRepainted) {
  Type("12");
  Key(Qt::Key_S, Qt::ShiftModifier);
  form->Paint();
  const QImage page = form->PageImage().copy();
  // Blue rows three and four character heights under the line, the red verdict lower still.
  EXPECT_GT(
      CountColour(page, QRect(0, LineOrigin.y + 3 * CharHeight, 500, 2 * CharHeight), QColor(0, 0, 255)), 50);
  EXPECT_GT(
      CountColour(page, QRect(0, LineOrigin.y + 8 * CharHeight, 600, 4 * CharHeight), QColor(255, 0, 0)), 50);
  Shot(form->GrabPage(), "factorisation.png");
  form->Paint();
  EXPECT_EQ(form->PageImage(), page);
}

TEST_F(LineServicesWindow, EscapeStopsAFactorisation) {
  // The desktop's own platform answers the interrupt query (no message is shown on this path).
  Platform* recording = SetPlatform(&TheQtPlatform());
  Type("9223372036854775783");
  QCoreApplication::postEvent(form->PageWidget(),
                              new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
  RunScreenCommand(ScreenCommand::SoinsuuPre);
  EXPECT_TRUE(LineOpen);
  EXPECT_EQ(LineText, "9223372036854775783");
  // Afterwards the flag is down again: the next factorisation runs to its end.
  Key(Qt::Key_Delete);
  Type("9223372036854775783");
  RunScreenCommand(ScreenCommand::SoinsuuPre);
  EXPECT_EQ(LineText, "9223372036854775783=9223372036854775783");
  SetPlatform(recording);
}

TEST_F(LineServicesWindow, PrintingWritesAPdfAndLeavesTheScreenAsItWas) {
  TestPlatform().Clear();
  RunScreenCommand(ScreenCommand::PrintLine);
  EXPECT_EQ(TestPlatform().ShownTexts(), (std::vector<std::string>{"報告！: 印刷する行がありません。"}));

  ADVICEDSP = 1;
  Key(Qt::Key_F5);
  Type("3b2*4b3=");
  const int cw = CharWidth, ch = CharHeight;
  const CanvasPoint origin = LineOrigin;
  const std::string pdf = dir + "/line.pdf";
  bool asked = false;
  PrintLineSetup = [&](QPrinter& printer) {
    asked = true;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    return true;
  };
  EXPECT_TRUE(RunScreenCommand(ScreenCommand::PrintLine));
  EXPECT_TRUE(asked);
  ASSERT_TRUE(std::filesystem::exists(pdf));
  EXPECT_GT(std::filesystem::file_size(pdf), 1000u);
  QFile f(QString::fromStdString(pdf));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_TRUE(f.read(5) == "%PDF-");
  EXPECT_EQ(CharWidth, cw);
  EXPECT_EQ(CharHeight, ch);
  EXPECT_EQ(LineOrigin, origin);
  EXPECT_EQ(ScreenSurface->PenWidth(), 1);  // bars are one pixel wide after printing

  // Cancelling the dialog prints nothing.
  std::filesystem::remove(pdf);
  PrintLineSetup = [](QPrinter&) { return false; };
  RunScreenCommand(ScreenCommand::PrintLine);
  EXPECT_FALSE(std::filesystem::exists(pdf));
}

TEST_F(LineServicesWindow, F1OpensTheHelpOnItsContentsPage) {
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  Key(Qt::Key_F1);
  THelpForm* help = THelpForm::Instance();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(help->Browser()->source(), QUrl("qrc:/help/index.html"));
  const QString text = help->Browser()->toPlainText();
  EXPECT_TRUE(text.contains(U("もくじ")));
  for (const char* page : {"notation.html", "keys.html", "commands.html", "notebook.html", "settings.html"}) {
    help->ShowPage(page);
    EXPECT_FALSE(help->Browser()->toPlainText().isEmpty()) << page;
    EXPECT_TRUE(help->Browser()->toPlainText().contains(U("もくじ"))) << page;  // the way back
  }
  help->ShowPage("notation.html");
  EXPECT_TRUE(help->Browser()->toPlainText().contains(U("式の打ち方")));
  help->resize(640, 560);
  Shot(help->grab().toImage(), "help.png");
  // The menu item opens the same single window.
  form->FindAction(U("『Kazoru』のヘルプ(&H)"))->trigger();
  EXPECT_EQ(THelpForm::Instance(), help);
  EXPECT_EQ(help->Browser()->source(), QUrl("qrc:/help/index.html"));
}

TEST_F(LineServicesWindow, HomePageOpensTheHelpInTheBrowserOrSaysItFailed) {
  QUrl opened;
  OpenExternalUrl = [&](const QUrl& url) {
    opened = url;
    return true;
  };
  TestPlatform().Clear();
  form->UpdateMenuStates();
  form->FindAction(U("ヘルプ［Home Page］ (&P)"))->trigger();
  ASSERT_TRUE(opened.isLocalFile());
  QFile page(opened.toLocalFile());
  ASSERT_TRUE(page.open(QIODevice::ReadOnly));
  EXPECT_TRUE(QString::fromUtf8(page.readAll()).contains(U("『Kazoru』のヘルプ")));
  EXPECT_TRUE(QFile::exists(QFileInfo(opened.toLocalFile()).dir().filePath("style.css")));
  EXPECT_TRUE(TestPlatform().ShownTexts().empty());

  OpenExternalUrl = [](const QUrl&) { return false; };
  RunScreenCommand(ScreenCommand::HomePage);
  EXPECT_EQ(TestPlatform().ShownTexts(),
            (std::vector<std::string>{"ご報告: ■ret=0：\n◆iexplore.exe の起動に失敗しました。"}));
  OpenExternalUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}

TEST_F(LineServicesWindow, DetailedSettingsOpenFromTheMenuAndThePanelAndApplyAtOnce) {
  ASSERT_TRUE(HasScreenCommand(ScreenCommand::OpenProcessSettings));
  bool seen = false;
  QTimer::singleShot(0, [&] {
    TCalcProcSetForm* f = TCalcProcSetForm::Instance();
    ASSERT_NE(f, nullptr);
    seen = true;
    f->AdvCheckBox->click();
    QTest::keyClick(f, Qt::Key_C, Qt::AltModifier);
  });
  form->UpdateMenuStates();
  form->FindAction(U("詳細設定(&A)              Alt + A"))->trigger();
  EXPECT_TRUE(seen);
  EXPECT_EQ(ADVICEDSP, 1);
  EXPECT_EQ(TCalcProcSetForm::Instance(), nullptr);

  // Alt+A on the input panel opens it too.
  seen = false;
  QTimer::singleShot(0, [&] {
    seen = TCalcProcSetForm::Instance() != nullptr;
    if (seen) TCalcProcSetForm::Instance()->close();
  });
  panel->show();
  QTest::keyClick(panel, Qt::Key_A, Qt::AltModifier);
  EXPECT_TRUE(seen);
}
