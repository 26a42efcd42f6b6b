// The window 「課題」 on the offscreen platform: an assignment opened from its link, 組・番号・名前 taken
// (and refused), working typed and checked, everything read back from this computer's copy in a new
// window, 提出 through the save dialog (a failed write not counted), the file read back by the class
// summary's reader, the name remembered for the next assignment, a damaged copy put aside, and a
// handed-in file looked at and continued.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cstdio>
#include <fstream>
#include <memory>

#include "classroom/ClassSummary.h"
#include "engine/Settings.h"
#include "support/ClassroomWork.h"
#include "support/TestSupport.h"
#include "ui/classroom/PupilWorkWindow.h"

namespace {

QString U(const std::string& s) { return QString::fromStdString(s); }

class PupilWorkWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = TempDir();
    store_ = dir_ + "/kadai-" + std::to_string(++count_);
    TPupilWorkForm::SetStoreFolder(U(store_));
    KADAI_KUMI.clear();
    KADAI_BANGOU = 0;
    KADAI_NAMAE.clear();
  }
  void TearDown() override { TPupilWorkForm::SetStoreFolder({}); }

  // A window whose name box is not shown: asking only counts.
  std::unique_ptr<TPupilWorkForm> Window() {
    auto w = std::make_unique<TPupilWorkForm>();
    w->nameAsker = [this] { ++asked_; };
    return w;
  }

  std::string dir_, store_;
  int asked_ = 0;
  static inline int count_ = 0;
};

}  // namespace

TEST_F(PupilWorkWindow, WorksAnAssignmentKeepsItOnDiskAndHandsItIn) {
  const Assignment a = ClassSumAssignment(AssignmentFeedback::Now);
  const std::string code = CodeOf(a);
  const Sheet sheet = AssignmentSheet(a);
  ASSERT_EQ(sheet.problems.size(), 4u);
  const std::string link = AssignmentLink(ASSIGNMENT_DEFAULT_SITE, code);
  {
    auto w = Window();
    w->show();
    ASSERT_EQ(w->OpenCode(U(link)), "");
    EXPECT_EQ(w->Work().code, code);
    QCoreApplication::processEvents();
    EXPECT_EQ(asked_, 1);  // no name remembered: asked once the window is up
    EXPECT_EQ(w->ProgressLabel()->text(), "0 / 4");

    // 組・番号・名前: refused with the reason, then taken and remembered.
    struct NameCase {
      const char* className;
      int number;
      const char* name;
      bool taken;
    } names[] = {
        {"5年2組", 0, "山田 花子", false},
        {"5年2組", 12, "../山田", false},
        {"", 12, "山田 花子", false},
        {" 5年2組 ", 12, "山田 花子", true},
    };
    for (const NameCase& n : names)
      EXPECT_EQ(w->TakeName(QString::fromUtf8(n.className), n.number, QString::fromUtf8(n.name)).isEmpty(),
                n.taken)
          << n.className << n.number << n.name;
    EXPECT_EQ(w->Work().className, "5年2組");
    EXPECT_EQ(KADAI_NAMAE, "山田 花子");
    EXPECT_EQ(KADAI_BANGOU, 12);

    // Problem 1 right, problem 2 added across: typed as the pupil types them, "=" or not.
    w->WorkingEdit()->setPlainText(U("= " + sheet.problems[0].answer + "\n\n"));
    EXPECT_EQ(w->Work().problems[0].working, std::vector<std::string>{sheet.problems[0].answer});
    EXPECT_EQ(w->ProgressLabel()->text(), "1 / 4");
    EXPECT_TRUE(w->FeedbackLabel()->text().contains(QString::fromUtf8("○")))
        << w->FeedbackLabel()->text().toStdString();
    w->Go(1);
    EXPECT_TRUE(w->WorkingEdit()->toPlainText().isEmpty());
    w->WorkingEdit()->setPlainText(U(AddAcross(sheet.problems[1].expr)));
    EXPECT_TRUE(w->FeedbackLabel()->text().contains(QString::fromUtf8("分母どうし・分子どうしをたした")))
        << w->FeedbackLabel()->text().toStdString();
    EXPECT_TRUE(w->ProblemList()->item(1)->text().endsWith(QString::fromUtf8("×")));
    w->Tick();
    // A line too long is refused and said; the work keeps what it had.
    w->WorkingEdit()->setPlainText(QString(3000, '1'));
    EXPECT_FALSE(w->StatusLabel()->text().isEmpty());
    EXPECT_EQ(w->Work().problems[1].working, std::vector<std::string>{AddAcross(sheet.problems[1].expr)});
    w->WorkingEdit()->setPlainText(U(AddAcross(sheet.problems[1].expr)));
    EXPECT_TRUE(QFileInfo::exists(w->StorePath()));
    // The window goes without any saving step: everything is on disk already.
  }

  // A new window (the program started again) continues the same work from the disk.
  auto w = Window();
  asked_ = 0;
  ASSERT_EQ(w->OpenCode(U(code)), "");
  QCoreApplication::processEvents();
  EXPECT_EQ(asked_, 0);
  EXPECT_EQ(w->Work().number, 12);
  EXPECT_EQ(w->Work().current, 1u);
  EXPECT_EQ(w->Work().problems[0].working, std::vector<std::string>{sheet.problems[0].answer});
  EXPECT_EQ(w->Work().problems[1].seconds, 1);
  EXPECT_EQ(w->ProgressLabel()->text(), "2 / 4");
  EXPECT_EQ(w->WorkingEdit()->toPlainText(), U("=" + AddAcross(sheet.problems[1].expr) + "\n"));

  // 提出: declined at the question, then a place that cannot be written (not counted), then written.
  TestPlatform().answers = {MsgAnswer::No};
  EXPECT_FALSE(w->HandIn());
  TestPlatform().answers = {MsgAnswer::Yes};
  TestPlatform().fileNames = {dir_ + "/no such folder/x.kazoru"};
  EXPECT_FALSE(w->HandIn());
  EXPECT_EQ(w->Work().handIns, 0);
  TestPlatform().answers = {MsgAnswer::Yes};
  TestPlatform().fileNames = {dir_ + "/handed"};
  ASSERT_TRUE(w->HandIn());
  EXPECT_EQ(w->Work().handIns, 1);
  const std::string file = dir_ + "/handed.kazoru";
  ASSERT_TRUE(QFileInfo::exists(U(file)));

  // The teacher's reader: the pupil, the problems, one right and one added across.
  const ClassSummary s = SummariseClass(ReadClassInputs({file}));
  ASSERT_EQ(s.assignments.size(), 1u);
  ASSERT_EQ(s.assignments[0].pupils.size(), 1u);
  const SummaryPupil& p = s.assignments[0].pupils[0];
  EXPECT_EQ(p.name, "山田 花子");
  EXPECT_EQ(p.number, 12);
  ASSERT_EQ(p.cells.size(), 4u);
  EXPECT_EQ(p.cells[0].verdict, CellVerdict::Right);
  EXPECT_EQ(p.cells[1].verdict, CellVerdict::Wrong);
  EXPECT_EQ(p.cells[2].verdict, CellVerdict::NotDone);
  EXPECT_TRUE(s.skipped.empty());

  // The hand-in is kept too: a new window knows it.
  auto again = Window();
  ASSERT_EQ(again->OpenCode(U(code)), "");
  EXPECT_EQ(again->Work().handIns, 1);
}

TEST_F(PupilWorkWindow, TheRememberedNameStartsTheNextAssignment) {
  KADAI_KUMI = "6年1組";
  KADAI_BANGOU = 3;
  KADAI_NAMAE = "青木";
  auto w = Window();
  ASSERT_EQ(w->OpenCode(U(CodeOf(ClassSumAssignment(AssignmentFeedback::End)))), "");
  QCoreApplication::processEvents();
  EXPECT_EQ(asked_, 0);
  EXPECT_EQ(w->Work().className, "6年1組");
  EXPECT_EQ(w->Work().number, 3);
  // In `end` no verdicts before 提出.
  w->WorkingEdit()->setPlainText("1b2");
  EXPECT_FALSE(w->FeedbackLabel()->text().contains(QString::fromUtf8("行目")));
  EXPECT_TRUE(w->FeedbackLabel()->text().contains(QString::fromUtf8("提出したあと")));
}

TEST_F(PupilWorkWindow, RefusesDamagedCodesAndPutsAnUnreadableCopyAside) {
  auto w = Window();
  std::string code = CodeOf(ClassSumAssignment(AssignmentFeedback::Now));
  std::string cut = code.substr(0, code.size() - 3);
  EXPECT_FALSE(w->OpenCode(U(cut)).isEmpty());
  EXPECT_FALSE(w->Opened());

  // A copy on disk that cannot be read is kept under another name, never written over.
  QDir().mkpath(U(store_));
  const std::string kept = store_ + "/" + PupilWorkStoreName(code);
  std::ofstream(kept, std::ios::binary) << "{\"format\": \"kazoru-pupil-work\", broken";
  ASSERT_EQ(w->OpenCode(U(code)), "");
  EXPECT_TRUE(w->StatusLabel()->text().contains(QString::fromUtf8("読めませんでした")));
  const QStringList aside = QDir(U(store_)).entryList({"*.unreadable-*"}, QDir::Files);
  ASSERT_EQ(aside.size(), 1);
  EXPECT_EQ(ReadBytes(store_ + "/" + aside.first().toStdString()),
            "{\"format\": \"kazoru-pupil-work\", broken");
}

TEST_F(PupilWorkWindow, AHandedInFileIsLookedAtAndContinued) {
  const Assignment a = ClassSumAssignment(AssignmentFeedback::None);
  const Sheet sheet = AssignmentSheet(a);
  std::string file;
  {
    auto w = Window();
    ASSERT_EQ(w->OpenCode(U(CodeOf(a))), "");
    ASSERT_EQ(w->TakeName("5年2組", 7, QString::fromUtf8("石井")), "");
    w->WorkingEdit()->setPlainText(U(AddAcross(sheet.problems[0].expr)));
    TestPlatform().answers = {MsgAnswer::Yes};
    TestPlatform().fileNames = {dir_ + "/ishii.kazoru"};
    ASSERT_TRUE(w->HandIn());
    file = dir_ + "/ishii.kazoru";
  }
  // The pupil's look (a test: no verdicts), nothing editable until 続きを解く.
  auto pupil = Window();
  ASSERT_EQ(pupil->OpenResultFile(U(file)), "");
  EXPECT_TRUE(pupil->ReadOnly());
  EXPECT_TRUE(pupil->WorkingEdit()->isReadOnly());
  EXPECT_FALSE(pupil->FeedbackLabel()->text().contains(QString::fromUtf8("行目")));
  EXPECT_TRUE(pupil->FeedbackLabel()->text().contains(QString::fromUtf8("出ません")));
  EXPECT_EQ(pupil->TakeName("x", 1, "y"), "");
  EXPECT_EQ(pupil->Work().className, "5年2組");
  // This computer keeps the same work already: asked which to go on with; 「いいえ」 keeps this computer's.
  TestPlatform().answers = {MsgAnswer::No};
  ASSERT_EQ(pupil->ContinueWork(), "");
  EXPECT_FALSE(pupil->ReadOnly());
  EXPECT_FALSE(pupil->WorkingEdit()->isReadOnly());
  EXPECT_EQ(pupil->Work().handIns, 1);
  EXPECT_EQ(pupil->Work().number, 7);

  // The teacher's look from the summary: the verdicts as the summary gives them, no continuing.
  auto teacher = Window();
  ASSERT_EQ(teacher->OpenResultFile(U(file), true), "");
  EXPECT_TRUE(teacher->FeedbackLabel()->text().contains(QString::fromUtf8("分母どうし・分子どうしをたした")))
      << teacher->FeedbackLabel()->text().toStdString();
  EXPECT_TRUE(teacher->ContinueButton()->isHidden());
  EXPECT_FALSE(teacher->OpenResultFile(U(TestDataDir() + "/classroom/notes.kazoru")).isEmpty());
}

// Opening an assignment that a window is already working on brings that window up: two windows would
// write over each other's copy on disk.
TEST_F(PupilWorkWindow, OneWindowPerAssignment) {
  KADAI_KUMI = "6年1組";
  KADAI_BANGOU = 3;
  KADAI_NAMAE = "青木";
  const std::string code = CodeOf(ClassSumAssignment(AssignmentFeedback::Now));
  TPupilWorkForm* first = OpenAssignmentWindow(U(code), nullptr);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(OpenAssignmentWindow(U(GroupedCode(code)), nullptr), first);
  TPupilWorkForm* other =
      OpenAssignmentWindow(U(CodeOf(ClassSumAssignment(AssignmentFeedback::End))), nullptr);
  ASSERT_NE(other, nullptr);
  EXPECT_NE(other, first);
  // A refused code opens nothing and says why.
  TestPlatform().Clear();
  EXPECT_EQ(OpenAssignmentWindow("ABCD", nullptr), nullptr);
  EXPECT_EQ(TestPlatform().Shown().size(), 1u);
  first->close();
  other->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
