// The dialog 「問題づくり」 of the notebook window on the offscreen platform: the skill list with its
// examples, controls that follow the skill, the preview, a refused control, the page it makes and the
// answer key it prints.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <filesystem>

#include "engine/Settings.h"
#include "notebook/NotePage.h"
#include "notebook/NoteSheet.h"
#include "screen/sikiInpCommands.h"
#include "support/TestSupport.h"
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

class SheetDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    note_ = TNoteForm::Open(NoteOrigin::CalculationScreen, "");
    QCoreApplication::processEvents();
    form_ = note_->SheetMaker();
  }
  void TearDown() override {
    NotePage.modified = false;
    note_->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  TNoteForm* note_ = nullptr;
  TSheetForm* form_ = nullptr;
};

}  // namespace

TEST_F(SheetDialog, ListsEverySkillWithAnExampleAndFollowsItsControls) {
  EXPECT_NE(note_->FindAction(U("問題づくり(&M)...")), nullptr);
  EXPECT_EQ(form_->windowTitle(), U("問題づくり"));
  ASSERT_EQ(form_->SkillList()->count(), static_cast<int>(SheetSkills().size()));
  for (int i = 0; i < form_->SkillList()->count(); ++i)
    EXPECT_TRUE(form_->SkillList()->item(i)->text().contains(U(SheetSkills()[i].example)));

  form_->SkillList()->setCurrentRow(Row("product-cancel"));
  EXPECT_FALSE(form_->ReduceBox()->isEnabled());  // the skill itself cancels
  EXPECT_TRUE(form_->TermsBox()->isEnabled());
  form_->SkillList()->setCurrentRow(Row("ratio"));
  EXPECT_FALSE(form_->MaxDenBox()->isEnabled());
  EXPECT_FALSE(form_->MixedBox()->isEnabled());

  form_->SkillList()->setCurrentRow(Row("sum-unlike"));
  form_->SeedField()->setText("42");
  form_->CountBox()->setValue(7);
  ASSERT_EQ(form_->Current().problems.size(), 7u);
  EXPECT_FALSE(form_->PreviewLabel()->pixmap().isNull());
  EXPECT_TRUE(form_->MessageLabel()->text().isEmpty());
  // The same fields make the same sheet; another version another one.
  const std::vector<SheetProblem> first = form_->Current().problems;
  form_->Preview();
  EXPECT_EQ(form_->Current().problems[0].expr, first[0].expr);
  form_->VersionBox()->setCurrentIndex(1);
  EXPECT_EQ(form_->Current().controls.version, 'B');
}

TEST_F(SheetDialog, RefusedControlsAreNamedAndMakeNoPage) {
  form_->SkillList()->setCurrentRow(Row("sum-unlike"));
  form_->MaxDenBox()->setValue(2);
  EXPECT_TRUE(form_->Current().problems.empty());
  EXPECT_TRUE(form_->MessageLabel()->text().contains(U("「いちばん大きい分母」")));
  EXPECT_FALSE(form_->MakePage());
  EXPECT_EQ(NotePage.lineCount, 0);
  ASSERT_FALSE(TestPlatform().Shown().empty());
  EXPECT_NE(TestPlatform().Shown().back().text.find("「いちばん大きい分母」"), std::string::npos);
  form_->SeedField()->setText("12x");
  EXPECT_TRUE(form_->MessageLabel()->text().contains(U("「シード」")));
}

TEST_F(SheetDialog, MakesTheNotebookPageAndPrintsTheKey) {
  form_->SkillList()->setCurrentRow(Row("product-cancel"));
  form_->SeedField()->setText("5");
  form_->CountBox()->setValue(6);
  const Sheet sheet = form_->Current();
  ASSERT_EQ(sheet.problems.size(), 6u);
  NotePage.fileName = "/somewhere/homework.siki";
  ASSERT_TRUE(form_->MakePage());
  EXPECT_EQ(NotePage.fileName, "");  // saving the new page never writes over the file it replaced
  ASSERT_EQ(NotePage.lineCount, 6);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(NotePage.lines[i], sheet.problems[i].expr);
  EXPECT_EQ(NotePage.title, SheetTitle(sheet));
  EXPECT_TRUE(NotePage.modified);

  const std::string dir = TempDir();
  std::string pdf = dir + "/key.pdf";
  form_->printerSetup = [&](QPrinter& p) {
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(QString::fromStdString(pdf));
    return true;
  };
  form_->PrintKey();
  ASSERT_TRUE(std::filesystem::exists(pdf));
  ASSERT_EQ(std::system(("pdftotext '" + pdf + "' '" + dir + "/key.txt'").c_str()), 0);
  const std::string text = ReadBytes(dir + "/key.txt");
  int titles = 0;
  for (size_t p = text.find("タイプ[10]"); p != std::string::npos; p = text.find("タイプ[10]", p + 1))
    ++titles;
  EXPECT_EQ(titles, 6);
  pdf = dir + "/sheet.pdf";
  form_->PrintSheet();
  ASSERT_TRUE(std::filesystem::exists(pdf));
  // A page with unsaved changes is replaced only when the teacher agrees.
  TestPlatform().answers.push_back(MsgAnswer::Cancel);
  form_->SeedField()->setText("6");
  EXPECT_FALSE(form_->MakePage());
  EXPECT_EQ(NotePage.lines[0], sheet.problems[0].expr);
}
