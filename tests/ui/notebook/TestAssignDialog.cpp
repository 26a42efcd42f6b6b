// The dialog 「課題として配る」 of 問題づくり on the offscreen platform: the code it makes is the one
// kazoru-cli assign makes from the same choices, the site address is a setting (a bad one is named and
// hands nothing out), the copy button puts the link on the clipboard, the QR code on the screen and on the
// printed sheet reads back as the link, and the printed sheet carries the code in text.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "engine/Settings.h"
#include "notebook/NotePage.h"
#include "support/TestSupport.h"
#include "ui/notebook/AssignDialog.h"
#include "ui/notebook/Notebook.h"
#include "ui/notebook/SheetDialog.h"

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

int Row(const char* id) {
  const auto& skills = SheetSkills();
  for (size_t i = 0; i < skills.size(); ++i)
    if (std::string(skills[i].id) == id) return static_cast<int>(i);
  return -1;
}

// The standard output of a command.
std::string Output(const std::string& command) {
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return "";
  std::string text;
  char buffer[512];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, n);
  pclose(pipe);
  return text;
}

bool HaveReader() { return std::system("command -v zbarimg >/dev/null 2>&1") == 0; }

// What zbarimg reads from a picture, without the line end.
std::string Decode(const std::string& path) {
  std::string text = Output("zbarimg --quiet --raw '" + path + "' 2>/dev/null");
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

class AssignDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    KADAI_SITE.clear();
    note_ = TNoteForm::Open(NoteOrigin::CalculationScreen, "");
    QCoreApplication::processEvents();
    sheet_ = note_->SheetMaker();
  }
  void TearDown() override {
    KADAI_SITE.clear();
    NotePage.modified = false;
    note_->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  std::unique_ptr<TAssignForm> Open() { return std::unique_ptr<TAssignForm>(sheet_->Assign()); }

  TNoteForm* note_ = nullptr;
  TSheetForm* sheet_ = nullptr;
};

}  // namespace

TEST_F(AssignDialog, TheCodeIsTheBatchToolsForTheSameChoices) {
  struct Case {
    const char* skill;
    int count, maxDen, terms, reduce;  // reduce: the box's row (0 either, 1 yes, 2 no)
    bool mixed;
    const char* seed;
    int version;  // 0 for A
    const char* title;
    int final, feedback;  // the boxes' rows
    const char* cli;  // the same choices as kazoru-cli assign options
  };
  const Case cases[] = {
      {"sum-unlike", 12, 9, 3, 1, false, "4242", 2, "5年2組 分数のたし算", 1, 1,
       "--skill sum-unlike --count 12 --max-den 9 --terms 3 --reduce yes --mixed no --seed 4242 --version C "
       "--final improper --feedback end"},
      {"product-cancel", 20, 12, 2, 0, true, "7", 0, "かけ算 \"テスト\" & 1", 0, 2,
       "--skill product-cancel --count 20 --max-den 12 --terms 2 --seed 7 --version A --final mixed "
       "--feedback none"},
      {"difference-borrow", 5, 12, 2, 2, true, "99", 25, "ひき算", 2, 0,
       "--skill difference-borrow --count 5 --reduce no --seed 99 --version Z --final either --feedback now"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.skill);
    sheet_->SkillList()->setCurrentRow(Row(c.skill));
    sheet_->CountBox()->setValue(c.count);
    sheet_->MaxDenBox()->setValue(c.maxDen);
    sheet_->TermsBox()->setValue(c.terms);
    sheet_->ReduceBox()->setCurrentIndex(c.reduce);
    sheet_->MixedBox()->setChecked(c.mixed);
    sheet_->SeedField()->setText(c.seed);
    sheet_->VersionBox()->setCurrentIndex(c.version);
    std::unique_ptr<TAssignForm> form = Open();
    ASSERT_NE(form, nullptr);
    form->TitleField()->setText(U(c.title));
    form->FinalBox()->setCurrentIndex(c.final);
    form->FeedbackBox()->setCurrentIndex(c.feedback);
    form->SiteField()->setText("https://www.example.ed.jp/kazoru/");
    ASSERT_FALSE(form->Code().empty()) << form->MessageLabel()->text().toStdString();
    std::string title = c.title;
    for (size_t at = title.find('"'); at != std::string::npos; at = title.find('"', at + 2)) title.insert(at, "\\");
    const std::string out = Output(std::string(KAZORU_CLI_PATH) + " assign " + c.cli + " --title \"" + title +
                                   "\" --site https://www.example.ed.jp/kazoru/ 2>/dev/null");
    EXPECT_EQ(out, form->Code() + "\n" + form->Link() + "\n");
    EXPECT_EQ(form->LinkField()->toPlainText().toStdString(), form->Link());
    EXPECT_EQ(form->CodeField()->toPlainText().toStdString(), GroupedCode(form->Code()));
    // The code reads back as the assignment of the fields.
    Assignment back;
    ASSERT_EQ(DecodeAssignment(form->Code(), back), "");
    EXPECT_EQ(back.title, c.title);
    EXPECT_EQ(back.controls.seed, form->Current().controls.seed);
    EXPECT_EQ(AssignmentSheet(back).problems.size(), AssignmentSheet(form->Current()).problems.size());
  }
}

TEST_F(AssignDialog, TheSiteIsASettingAndABadOneHandsNothingOut) {
  {
    std::unique_ptr<TAssignForm> form = Open();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->SiteField()->text().toStdString(), ASSIGNMENT_DEFAULT_SITE);
    EXPECT_EQ(form->Link().rfind(ASSIGNMENT_DEFAULT_SITE, 0), 0u);
    EXPECT_EQ(KADAI_SITE, "");
    form->SiteField()->setText("https://www.example.ed.jp/kazoru/");
    EXPECT_EQ(KADAI_SITE, "https://www.example.ed.jp/kazoru/");
    EXPECT_EQ(form->Link().rfind("https://www.example.ed.jp/kazoru/#kadai=", 0), 0u);
    // A bad address: named, and no code, link, QR code, copy or print until it is mended.
    for (const char* bad : {"www.example.ed.jp/kazoru/", "https://例え.jp/", ""}) {
      SCOPED_TRACE(bad);
      form->SiteField()->setText(U(bad));
      EXPECT_FALSE(form->MessageLabel()->text().isEmpty());
      EXPECT_TRUE(form->Link().empty());
      EXPECT_TRUE(form->LinkField()->toPlainText().isEmpty());
      EXPECT_TRUE(form->QrLabel()->pixmap().isNull());
      EXPECT_FALSE(form->PrintButton()->isEnabled());
      EXPECT_FALSE(form->CopyButton()->isEnabled());
      EXPECT_FALSE(form->PrintHandout());
      EXPECT_EQ(KADAI_SITE, "https://www.example.ed.jp/kazoru/");
    }
    form->SiteField()->setText("https://www.example.ed.jp/kazoru/");
    EXPECT_TRUE(form->MessageLabel()->text().isEmpty());
    // An empty title is named too.
    form->TitleField()->setText("  ");
    EXPECT_TRUE(form->Link().empty());
    EXPECT_TRUE(form->MessageLabel()->text().contains(U("題名")));
  }
  // The next dialog starts with the school's address.
  std::unique_ptr<TAssignForm> again = Open();
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->SiteField()->text().toStdString(), "https://www.example.ed.jp/kazoru/");
  // Setting the program's own default back stores nothing of the school's.
  again->SiteField()->setText(ASSIGNMENT_DEFAULT_SITE);
  EXPECT_EQ(KADAI_SITE, "");
}

TEST_F(AssignDialog, RefusedControlsOpenNoDialogAndSayWhy) {
  sheet_->SeedField()->setText("12x");
  EXPECT_EQ(Open(), nullptr);
  ASSERT_FALSE(TestPlatform().Shown().empty());
  EXPECT_NE(TestPlatform().Shown().back().text.find("「シード」"), std::string::npos);
}

TEST_F(AssignDialog, CopyPutsTheLinkOnTheClipboard) {
  std::unique_ptr<TAssignForm> form = Open();
  ASSERT_NE(form, nullptr);
  QApplication::clipboard()->setText("before");
  form->CopyButton()->click();
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), form->Link());
}

TEST_F(AssignDialog, TheQrCodeOnTheScreenReadsAsTheLink) {
  if (!HaveReader()) GTEST_SKIP() << "zbarimg is not installed (scripts/install-deps.sh installs it)";
  std::unique_ptr<TAssignForm> form = Open();
  ASSERT_NE(form, nullptr);
  form->TitleField()->setText(U("5年2組 分数のたし算"));
  const std::string png = TempDir() + "/qr.png";
  ASSERT_TRUE(form->QrLabel()->pixmap().save(QString::fromStdString(png)));
  EXPECT_EQ(Decode(png), form->Link());
}

TEST_F(AssignDialog, ThePrintedSheetCarriesTheQrCodeAndTheCode) {
  sheet_->SkillList()->setCurrentRow(Row("sum-unlike"));
  sheet_->CountBox()->setValue(20);
  std::unique_ptr<TAssignForm> form = Open();
  ASSERT_NE(form, nullptr);
  form->TitleField()->setText(U("5年2組 分数のたし算"));
  form->SiteField()->setText("https://www.example.ed.jp/kazoru/");
  const std::string dir = TempDir();
  const std::string pdf = dir + "/handout.pdf";
  form->printerSetup = [&](QPrinter& p) {
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(QString::fromStdString(pdf));
    return true;
  };
  ASSERT_TRUE(form->PrintHandout());
  ASSERT_TRUE(std::filesystem::exists(pdf));
  const std::string text = Output("pdftotext -layout '" + pdf + "' - 2>/dev/null");
  EXPECT_NE(text.find("5年2組 分数のたし算"), std::string::npos);
  // The code in text, in rows of groups of four.
  std::string joined;
  for (const char c : text)
    if (c != '\n' && c != ' ') joined += c;
  EXPECT_NE(joined.find("コード：" + GroupedCode(form->Code())), std::string::npos) << text;
  EXPECT_NE(text.find("[20]"), std::string::npos);
  EXPECT_EQ(Output("pdfinfo '" + pdf + "' 2>/dev/null | awk '/^Pages:/ {print $2}'"), "1\n");  // twenty fit one page
  ASSERT_EQ(std::system(("pdftoppm -r 150 -png -singlefile '" + pdf + "' '" + dir + "/handout'").c_str()), 0);
  if (const char* shots = std::getenv("KAZORU_SHOTS"))
    std::filesystem::copy_file(dir + "/handout.png", std::string(shots) + "/handout.png",
                               std::filesystem::copy_options::overwrite_existing);
  if (HaveReader()) {
    EXPECT_EQ(Decode(dir + "/handout.png"), form->Link());
  }
}
