// Tests of one pupil's work on an assignment: opened from its code (a damaged one says why), the pupil's
// name refused where a file name or the teacher's reader would refuse it, the working lines as typed, the
// verdicts each feedback mode lets the pupil see, the storage form read back whole (and damaged forms
// refused), and the result file handed in: its name, its contents, and the teacher's summary of it
// agreeing with what the pupil was shown.
#include <gtest/gtest.h>

#include <cstdio>

#include "classroom/ClassJson.h"
#include "classroom/PupilWork.h"
#include "support/ClassroomWork.h"
#include "support/TestSupport.h"

namespace {

Assignment SumAssignment(AssignmentFeedback feedback, AssignmentFinal final = AssignmentFinal::Mixed) {
  Assignment a;
  a.controls.skill = "sum-unlike";
  a.controls.count = 4;
  a.controls.seed = 5;
  a.title = "5年2組 分数のたし算/ひき算";
  a.finalForm = final;
  a.feedback = feedback;
  return a;
}

PupilWork Opened(const Assignment& a) {
  PupilWork w;
  EXPECT_EQ(OpenPupilWork(CodeOf(a), w), "");
  return w;
}

// A mixed answer "WkDbN" written improper "Db(W·D+N)".
std::string Improper(const std::string& answer) {
  long long w = 0, d = 0, n = 0;
  if (std::sscanf(answer.c_str(), "%lldk%lldb%lld", &w, &d, &n) != 3) return answer;
  return std::to_string(d) + "b" + std::to_string(w * d + n);
}

std::string Marks(const PupilFeedback& f) {
  std::string s;
  for (const PupilStep& step : f.steps) s += step.right ? "○" : "×";
  return s;
}

}  // namespace

TEST(PupilWork, OpensTheAssignmentOfACodeOrLink) {
  const Assignment a = SumAssignment(AssignmentFeedback::Now);
  const std::string code = CodeOf(a);
  const Sheet sheet = AssignmentSheet(a);
  for (const std::string& text :
       {code, AssignmentLink("https://school.example/kazoru/", code), " " + GroupedCode(code) + " "}) {
    PupilWork w;
    ASSERT_EQ(OpenPupilWork(text, w), "") << text;
    EXPECT_EQ(w.code, code);
    EXPECT_EQ(w.assignment.title, a.title);
    ASSERT_EQ(w.problems.size(), sheet.problems.size());
    for (size_t k = 0; k < w.problems.size(); ++k) EXPECT_EQ(w.problems[k].problem, sheet.problems[k].expr);
    EXPECT_EQ(PupilDoneCount(w), 0u);
    EXPECT_EQ(w.number, 0);
  }
  // A damaged code says what the code reader says, and leaves the work as it was.
  std::string typo = code;
  typo[5] = typo[5] == 'A' ? 'B' : 'A';
  for (const std::string& bad : {std::string(), code.substr(0, code.size() - 3), typo,
                                 std::string("9") + code.substr(1), code + "!"}) {
    Assignment unused;
    const std::string expected = DecodeAssignment(bad, unused);
    ASSERT_NE(expected, "") << bad;
    PupilWork w = Opened(a);
    EXPECT_EQ(OpenPupilWork(bad, w), expected) << bad;
    EXPECT_EQ(w.code, code);
  }
}

TEST(PupilWork, TheNameIsRefusedWhereTheTeachersReaderWouldRefuseIt) {
  struct Case {
    std::string className;
    int64_t number;
    std::string name;
    std::string reason;  // "" when taken
  } cases[] = {
      {"5年2組", 12, "山田 はな", ""},
      {"  5年2組　", 1, "　山田 ", ""},
      {"", 12, "山田", "組を入れてください。"},
      {"5年2組", 0, "山田", "番号は 1 から 9999 までの数で入れてください。"},
      {"5年2組", 10000, "山田", "番号は 1 から 9999 までの数で入れてください。"},
      {"5年2組", 3, "", "名前を入れてください。"},
      {"5/2", 3, "山田", "組に「/」は使えません。"},
      {"5年2組", 3, "..", "名前に「..」は使えません。"},
      {"5年2組", 3, "a\\b", "名前に「\\」は使えません。"},
      {"5年2組", 3, "a\tb", "名前に使えない文字があります。"},
      {"5年2組", 3, std::string(41, 'a'), "名前が長すぎます（40 文字まで）。"},
      {"5年2組", 3, "山" + std::string(39, 'a'), ""},
  };
  for (const Case& c : cases) {
    PupilWork w = Opened(SumAssignment(AssignmentFeedback::Now));
    EXPECT_EQ(SetPupilName(w, c.className, c.number, c.name), c.reason) << c.name;
    if (!c.reason.empty()) {
      EXPECT_EQ(w.number, 0);
      continue;
    }
    // What was taken goes into a file the teacher's reader takes.
    std::string fileName, bytes;
    ASSERT_EQ(HandInPupilWork(w, 1778549400, 540, fileName, bytes), "");
    ResultFile r;
    EXPECT_EQ(ReadResultFile(bytes, r), "") << c.name;
  }
}

TEST(PupilWork, WorkingLinesAreKeptAsTyped) {
  PupilWork w = Opened(SumAssignment(AssignmentFeedback::Now));
  EXPECT_EQ(SetPupilWorking(w, 1, "=6b3+6b2\n  ＝6b5 \n\n=\n"), "");
  EXPECT_EQ(w.problems[1].working, (std::vector<std::string>{"6b3+6b2", "6b5"}));
  EXPECT_TRUE(w.changedSinceHandIn);
  EXPECT_EQ(PupilDoneCount(w), 1u);
  // Refused texts leave the working as it was.
  std::string many;
  for (int k = 0; k < 101; ++k) many += "=1\n";
  for (const auto& [text, reason] : std::vector<std::pair<std::string, std::string>>{
           {many, "途中の式が多すぎます（100 行まで）。"},
           {"=" + std::string(1025, '1'), "途中の式が長すぎます。"},
           {"=1\x01", "途中の式に使えない文字があります。"},
           {"=\xFF", "途中の式に読めない文字があります。"},
       }) {
    EXPECT_EQ(SetPupilWorking(w, 1, text), reason);
    EXPECT_EQ(w.problems[1].working.size(), 2u);
  }
  EXPECT_EQ(SetPupilWorking(w, 4, "=1"), "その問題はありません。");
  // Emptied, the problem is not done again.
  EXPECT_EQ(SetPupilWorking(w, 1, "="), "");
  EXPECT_EQ(PupilDoneCount(w), 0u);
  // Time adds up and stops at the bound.
  AddPupilSeconds(w, 0, 30);
  AddPupilSeconds(w, 0, -5);
  AddPupilSeconds(w, 9, 5);
  EXPECT_EQ(w.problems[0].seconds, 30);
  AddPupilSeconds(w, 0, RESULT_MAX_SECONDS);
  EXPECT_EQ(w.problems[0].seconds, RESULT_MAX_SECONDS);
}

TEST(PupilWork, VerdictsAreShownAsTheFeedbackModeSays) {
  // now: after every step, the mistake named, the hint on request.
  PupilWork w = Opened(SumAssignment(AssignmentFeedback::Now));
  const std::string p0 = w.problems[0].problem, p1 = w.problems[1].problem;
  const Sheet sheet = AssignmentSheet(w.assignment);
  ASSERT_NE(sheet.problems[0].answer.find('k'), std::string::npos);
  ASSERT_EQ(SetPupilWorking(w, 0, "=" + AddAcross(p0) + "\n=" + sheet.problems[0].answer), "");
  PupilFeedback f = PupilProblemFeedback(w, 0);
  ASSERT_TRUE(f.shown);
  EXPECT_EQ(Marks(f), "××");
  EXPECT_EQ(f.steps[0].mistake, "add-across");
  EXPECT_EQ(f.steps[0].mistakeName, SummaryMistakeName("add-across"));
  EXPECT_EQ(f.steps[0].advice, MistakeAdvice("add-across"));
  EXPECT_EQ(f.steps[1].line, 1u);
  EXPECT_EQ(f.verdict, CellVerdict::RightAnswerWrongStep);
  EXPECT_EQ(f.hint, "");
  AskPupilHint(w, 0);
  EXPECT_NE(PupilProblemFeedback(w, 0).hint, "");

  // Two steps on one line are two steps of that line; the right answer is ○.
  ASSERT_EQ(SetPupilWorking(w, 1, "=" + sheet.problems[1].answer + "=" + sheet.problems[1].answer), "");
  f = PupilProblemFeedback(w, 1);
  EXPECT_EQ(Marks(f), "○○");
  EXPECT_EQ(f.steps[1].line, 0u);
  EXPECT_EQ(f.verdict, CellVerdict::Right);

  // An improper answer where mixed is asked carries the final note; where either form is taken it does not.
  ASSERT_EQ(SetPupilWorking(w, 0, "=" + Improper(sheet.problems[0].answer)), "");
  f = PupilProblemFeedback(w, 0);
  EXPECT_EQ(Marks(f), "○");
  EXPECT_EQ(f.finalNote, "improper-left");
  EXPECT_EQ(f.finalAdvice, FinalNoteAdvice("improper-left"));
  EXPECT_EQ(f.verdict, CellVerdict::RightAnswerWrongStep);
  PupilWork either = Opened(SumAssignment(AssignmentFeedback::Now, AssignmentFinal::Either));
  ASSERT_EQ(SetPupilWorking(either, 0, "=" + Improper(sheet.problems[0].answer)), "");
  f = PupilProblemFeedback(either, 0);
  EXPECT_EQ(f.finalNote, "");
  EXPECT_EQ(f.steps[0].advice.find(FinalNoteAdvice("improper-left")), std::string::npos);
  EXPECT_EQ(f.verdict, CellVerdict::Right);

  // end: nothing before 提出, everything after, nothing again once the work changes.
  PupilWork end = Opened(SumAssignment(AssignmentFeedback::End));
  ASSERT_EQ(SetPupilName(end, "5年2組", 12, "山田"), "");
  ASSERT_EQ(SetPupilWorking(end, 0, "=" + AddAcross(p0)), "");
  EXPECT_FALSE(PupilProblemFeedback(end, 0).shown);
  std::string name, bytes;
  ASSERT_EQ(HandInPupilWork(end, 1778549400, 540, name, bytes), "");
  f = PupilProblemFeedback(end, 0);
  EXPECT_TRUE(f.shown);
  EXPECT_EQ(f.verdict, CellVerdict::Wrong);
  ASSERT_EQ(SetPupilWorking(end, 0, "=1"), "");
  EXPECT_FALSE(PupilProblemFeedback(end, 0).shown);

  // none: never, handed in or not.
  PupilWork none = Opened(SumAssignment(AssignmentFeedback::None));
  ASSERT_EQ(SetPupilName(none, "5年2組", 12, "山田"), "");
  ASSERT_EQ(SetPupilWorking(none, 0, "=" + sheet.problems[0].answer), "");
  AskPupilHint(none, 0);
  ASSERT_EQ(HandInPupilWork(none, 1778549400, 540, name, bytes), "");
  f = PupilProblemFeedback(none, 0);
  EXPECT_FALSE(f.shown);
  EXPECT_TRUE(f.steps.empty());
  EXPECT_EQ(f.hint, "");
  // The teacher's look at the same work: the verdicts whatever the mode, no hint.
  f = PupilProblemReview(none, 0);
  EXPECT_TRUE(f.shown);
  EXPECT_EQ(Marks(f), "○");
  EXPECT_EQ(f.verdict, CellVerdict::Right);
  EXPECT_EQ(f.hint, "");
  EXPECT_FALSE(PupilProblemReview(none, 99).shown);
}

TEST(PupilWork, TheStoreNameKeepsOnlyTheCodesLettersAndDigits) {
  const std::string code = CodeOf(SumAssignment(AssignmentFeedback::Now));
  EXPECT_EQ(PupilWorkStoreName(code), "kadai-" + code + ".json");
  EXPECT_EQ(PupilWorkStoreName("../AB-12/..\\x\n"), "kadai-AB12x.json");
  EXPECT_EQ(PupilWorkStoreName(""), "kadai-.json");
}

TEST(PupilWork, TheStorageFormReadsBackWhole) {
  PupilWork w = Opened(SumAssignment(AssignmentFeedback::End));
  StartPupilWork(w, 1778549400, 540);
  StartPupilWork(w, 1778549999, 540);  // started once
  EXPECT_EQ(w.started, "2026-05-12T10:30:00+09:00");
  ASSERT_EQ(SetPupilName(w, "5年2組", 12, "山田 \"はな\""), "");
  ASSERT_EQ(SetPupilWorking(w, 2, "=6b3+6b2\n=6b5"), "");
  AddPupilSeconds(w, 2, 41);
  AskPupilHint(w, 2);
  SetPupilView(w, false, 3);
  std::string name, bytes;
  ASSERT_EQ(HandInPupilWork(w, 1778550720, 540, name, bytes), "");
  ASSERT_EQ(SetPupilWorking(w, 3, "=1"), "");

  PupilWork back;
  ASSERT_EQ(ReadPupilWork(WritePupilWork(w), back), "");
  EXPECT_EQ(back.code, w.code);
  EXPECT_EQ(back.assignment.feedback, AssignmentFeedback::End);
  EXPECT_EQ(back.className, "5年2組");
  EXPECT_EQ(back.number, 12);
  EXPECT_EQ(back.name, "山田 \"はな\"");
  EXPECT_EQ(back.started, w.started);
  EXPECT_EQ(back.handedIn, "2026-05-12T10:52:00+09:00");
  EXPECT_EQ(back.handIns, 1);
  EXPECT_TRUE(back.changedSinceHandIn);
  EXPECT_FALSE(back.oneAtATime);
  EXPECT_EQ(back.current, 3u);
  ASSERT_EQ(back.problems.size(), w.problems.size());
  for (size_t k = 0; k < w.problems.size(); ++k) {
    EXPECT_EQ(back.problems[k].problem, w.problems[k].problem);
    EXPECT_EQ(back.problems[k].working, w.problems[k].working);
    EXPECT_EQ(back.problems[k].seconds, w.problems[k].seconds);
    EXPECT_EQ(back.problems[k].hint, w.problems[k].hint);
  }
  EXPECT_EQ(WritePupilWork(back), WritePupilWork(w));
  // Nothing said yet about who is working: kept as such.
  PupilWork fresh = Opened(SumAssignment(AssignmentFeedback::Now));
  ASSERT_EQ(ReadPupilWork(WritePupilWork(fresh), back), "");
  EXPECT_EQ(back.number, 0);
}

TEST(PupilWork, DamagedStorageFormsAreRefused) {
  PupilWork w = Opened(SumAssignment(AssignmentFeedback::Now));
  ASSERT_EQ(SetPupilName(w, "5年2組", 12, "山田"), "");
  const std::string good = WritePupilWork(w);
  auto replaced = [&good](const std::string& from, const std::string& to) {
    std::string s = good;
    const size_t at = s.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) s.replace(at, from.size(), to);
    return s;
  };
  const std::string problem = "\"problem\":" + classjson::Quote(w.problems[1].problem);
  struct Case {
    std::string what;
    std::string bytes;
    std::string reason;
  } cases[] = {
      {"empty", "", "記録が空です。"},
      {"not JSON", good.substr(0, good.size() / 2), ""},
      {"another format", replaced("kazoru-pupil-work", "kazoru-result"), "課題の記録ではありません。"},
      {"newer", replaced("\"version\":1", "\"version\":2"),
       "新しい版の Kazoru で作られた記録です。Kazoru を新しくしてください。"},
      {"damaged code", replaced(w.code, w.code.substr(0, 10)), ""},
      {"another problem", replaced(problem, "\"problem\":\"1b1+1b1\""),
       "2 問目の問題が課題の問題と合いません。"},
      {"a path in the name", replaced("山田", "../x"), "名前に「/」は使えません。"},
      {"current out of range", replaced("\"current\":0", "\"current\":4"),
       "今の問題（current）が読めません。"},
      {"a line of the wrong type", replaced("\"working\":[]", "\"working\":[1]"),
       "1 問目の途中の式に文字列でないものがあります。"},
      {"a time that is not one", replaced("\"handedIn\":\"\"", "\"handedIn\":\"yesterday\""),
       "提出した時刻（handedIn）が読めません。"},
      {"too deep", std::string(5000, '['), ""},
  };
  for (const Case& c : cases) {
    PupilWork out = w;
    const std::string why = ReadPupilWork(c.bytes, out);
    EXPECT_NE(why, "") << c.what;
    if (!c.reason.empty()) {
      EXPECT_EQ(why, c.reason) << c.what;
    }
    EXPECT_TRUE(classjson::IsUtf8(why)) << c.what;
    EXPECT_EQ(out.name, "山田") << c.what;
  }
}

TEST(PupilWork, TheHandedInFileIsWhatTheTeachersSummaryReads) {
  PupilWork w = Opened(SumAssignment(AssignmentFeedback::Now));
  const Sheet sheet = AssignmentSheet(w.assignment);
  std::string name, bytes;
  EXPECT_EQ(HandInPupilWork(w, 1778549400, 540, name, bytes), "組を入れてください。");
  EXPECT_EQ(w.handIns, 0);
  ASSERT_EQ(SetPupilName(w, "5年2組", 12, "山田:はな"), "");
  StartPupilWork(w, 1778549400, 540);
  ASSERT_EQ(SetPupilWorking(w, 0, "=" + Improper(sheet.problems[0].answer)), "");
  ASSERT_EQ(SetPupilWorking(w, 1, "=" + AddAcross(w.problems[1].problem)), "");
  ASSERT_EQ(SetPupilWorking(w, 2, "=" + sheet.problems[2].answer), "");
  AddPupilSeconds(w, 2, 41);
  ASSERT_EQ(HandInPupilWork(w, 1778550720, 540, name, bytes), "");
  EXPECT_EQ(name, "5年2組-12-山田_はな-5年2組 分数のたし算_ひき算.kazoru");
  EXPECT_EQ(w.handIns, 1);

  ResultFile r;
  ASSERT_EQ(ReadResultFile(bytes, r), "");
  EXPECT_EQ(r.code, w.code);
  EXPECT_EQ(r.started, "2026-05-12T10:30:00+09:00");
  EXPECT_EQ(r.handedIn, "2026-05-12T10:52:00+09:00");
  ASSERT_EQ(r.problems.size(), 4u);
  EXPECT_EQ(r.problems[2].working, (std::vector<std::string>{sheet.problems[2].answer}));
  EXPECT_EQ(r.problems[2].answer, sheet.problems[2].answer);
  EXPECT_EQ(r.problems[2].seconds, 41);
  EXPECT_EQ(r.problems[3].answer, "");

  // A later hand-in supersedes this one, and the summary's cells are what the pupil was shown.
  ASSERT_EQ(SetPupilWorking(w, 3, "=" + sheet.problems[3].answer), "");
  std::string name2, bytes2;
  ASSERT_EQ(HandInPupilWork(w, 1778551000, 540, name2, bytes2), "");
  EXPECT_EQ(name2, name);
  EXPECT_EQ(w.handIns, 2);
  const ClassSummary s = SummariseClass({{"first", bytes, ""}, {"second", bytes2, ""}});
  ASSERT_EQ(s.assignments.size(), 1u);
  const AssignmentSummary& a = s.assignments[0];
  EXPECT_EQ(a.superseded, (std::vector<std::string>{"first"}));
  ASSERT_EQ(a.pupils.size(), 1u);
  EXPECT_TRUE(a.tampered.empty());
  std::string marks;
  for (size_t k = 0; k < a.pupils[0].cells.size(); ++k) {
    marks += CellVerdictMark(a.pupils[0].cells[k].verdict);
    EXPECT_EQ(PupilProblemFeedback(w, k).verdict, a.pupils[0].cells[k].verdict) << k;
  }
  EXPECT_EQ(marks, "△×○○");
}

TEST(PupilWork, AHandedInFileIsContinued) {
  PupilWork w = Opened(SumAssignment(AssignmentFeedback::End));
  ASSERT_EQ(SetPupilName(w, "5年2組", 12, "山田"), "");
  StartPupilWork(w, 1778549400, 540);
  ASSERT_EQ(SetPupilWorking(w, 1, "=6b3+6b2\n=6b5"), "");
  AddPupilSeconds(w, 1, 41);
  std::string name, bytes;
  ASSERT_EQ(HandInPupilWork(w, 1778550720, 540, name, bytes), "");
  PupilWork back;
  ASSERT_EQ(ContinuePupilWork(bytes, back), "");
  EXPECT_EQ(back.code, w.code);
  EXPECT_EQ(back.assignment.feedback, AssignmentFeedback::End);
  EXPECT_EQ(back.name, "山田");
  EXPECT_EQ(back.started, w.started);
  EXPECT_EQ(back.handedIn, w.handedIn);
  EXPECT_EQ(back.problems[1].working, w.problems[1].working);
  EXPECT_EQ(back.problems[1].seconds, 41);
  // Handed in and unchanged: the verdicts of `end` are shown, as they were on the pupil's device.
  EXPECT_TRUE(PupilVerdictsShown(back));

  ResultFile r;
  ASSERT_EQ(ReadResultFile(bytes, r), "");
  ResultFile edited = r;
  edited.problems[2].problem = "1b1+1b1";
  ResultFile onlyAnswer = r;
  onlyAnswer.problems[1].working.clear();
  onlyAnswer.problems[1].answer = "6b5";
  ResultFile damaged = r;
  damaged.code = r.code.substr(0, 10);
  Assignment unused;
  for (const auto& [file, reason] : std::vector<std::pair<ResultFile, std::string>>{
           {edited, "3 問目の問題が課題の問題と合いません。"},
           {damaged, DecodeAssignment(damaged.code, unused)},
       }) {
    PupilWork out = back;
    EXPECT_EQ(ContinuePupilWork(WriteResultFile(file), out), reason);
    EXPECT_EQ(out.problems[1].working, w.problems[1].working);
  }
  EXPECT_NE(ContinuePupilWork("{}", back), "");
  ASSERT_EQ(ContinuePupilWork(WriteResultFile(onlyAnswer), back), "");
  EXPECT_EQ(back.problems[1].working, (std::vector<std::string>{"6b5"}));
}

TEST(PupilWork, AFileContinuesOnlyItsOwnAssignment) {
  PupilWork w = Opened(SumAssignment(AssignmentFeedback::Now));
  ASSERT_EQ(SetPupilName(w, "5年2組", 12, "山田"), "");
  ASSERT_EQ(SetPupilWorking(w, 0, "=1b1"), "");
  std::string name, bytes;
  ASSERT_EQ(HandInPupilWork(w, 1778550720, 540, name, bytes), "");

  // A device where nothing was done yet takes the file's work; a device with work would lose it.
  PupilWork fresh = Opened(SumAssignment(AssignmentFeedback::Now));
  EXPECT_FALSE(PupilWorkBegun(fresh));
  EXPECT_TRUE(PupilWorkBegun(w));
  PupilWork hinted = fresh;
  AskPupilHint(hinted, 2);
  EXPECT_TRUE(PupilWorkBegun(hinted));
  PupilWork out;
  ASSERT_EQ(ContinueOpenPupilWork(fresh, bytes, out), "");
  EXPECT_EQ(out.name, "山田");
  EXPECT_EQ(out.problems[0].working, std::vector<std::string>{"1b1"});

  // Another assignment's file, or a damaged one: the reason, and the open work untouched.
  Assignment other = SumAssignment(AssignmentFeedback::Now);
  other.title = "5年3組 別の課題";
  other.controls.seed = 6;
  PupilWork kept = Opened(other);
  for (const std::string& file : {bytes, bytes.substr(0, bytes.size() / 2)}) {
    PupilWork into = kept;
    const std::string why = ContinueOpenPupilWork(kept, file, into);
    EXPECT_NE(why, "");
    EXPECT_EQ(into.code, kept.code);
    EXPECT_EQ(into.name, "");
  }
  PupilWork into;
  EXPECT_EQ(ContinueOpenPupilWork(kept, bytes, into),
            "このファイルは別の課題「5年2組 分数のたし算/ひき算」のものです。その課題のリンクを開いてから、"
            "ファイルを開いてください。");
}
