// kazoru-cli class: the class summary of pupils' result files (.kazoru) — files and folders given, grouped
// by assignment, the working checked again — printed as text or JSON Lines, written as CSV and PDF.
#include "cli/CmdClass.h"

#include "cli/Cli.h"
#include "platform/AtomicFile.h"

ClassCommandHooks ClassCommands;

namespace {

constexpr const char* CAPTION = "クラスのまとめ";

std::string ValidateClass(const CliOptions& opts) {
  if (opts.positional.empty()) return "class needs result files or a folder of them";
  return "";
}

// The summary as text: per assignment its table, then the files that could not be read.
std::string PlainSummary(const ClassSummary& s) {
  std::string out;
  for (const AssignmentSummary& a : s.assignments) {
    if (!out.empty()) out += "\n";
    out += "課題: " + a.assignment.title + " (" + a.code + ")\n";
    for (const SummaryPupil& p : a.pupils) {
      out += p.className + "\t" + std::to_string(p.number) + "\t" + p.name + "\t" + std::to_string(p.score) +
             "/" + std::to_string(a.problems.size()) + "\t" + DurationText(p.seconds);
      for (const SummaryCell& c : p.cells) out += "\t" + CellText(c);
      out += "\n";
    }
    out += "正解の人数\t\t\t\t";
    for (const SummaryProblem& p : a.problems) out += "\t" + std::to_string(p.right);
    out += "\n";
    for (const MistakeCount& m : a.mistakes)
      out += "まちがい\t" + SummaryMistakeName(m.id) + "\t" + std::to_string(m.count) + "人\n";
    for (const std::string& f : a.superseded) out += "あとの提出で差しかえ\t" + f + "\n";
    for (const std::string& f : a.tampered) out += "問題が書きかえられている\t" + f + "\n";
  }
  for (const SkippedFile& f : s.skipped) out += "読めなかったファイル\t" + f.file + "\t" + f.reason + "\n";
  if (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

CliRun RunClass(const std::string& /*input*/, const CliOptions& opts) {
  CliRun r;
  const ClassSummary s = SummariseClass(ReadClassInputs(opts.positional));
  for (const std::string& line : ClassSummaryJson(s)) {
    nlohmann::json j = nlohmann::json::parse(line, nullptr, false);
    if (!j.is_discarded()) r.objects.push_back(j);
  }
  r.result = PlainSummary(s);
  r.status = static_cast<long long>(s.assignments.size());
  // Every unreadable file fails the run (the rest are still summarised); so does finding no result.
  r.ok = s.skipped.empty() && !s.assignments.empty();
  if (s.assignments.empty()) ShowMessage("まとめられる結果のファイルがありません。", CAPTION);
  if (opts.Has("--csv") && !WriteAtomically(opts.Get("--csv"), ClassSummaryCsv(s))) {
    ShowMessage("CSV のファイルを書けません: " + opts.Get("--csv"), CAPTION);
    r.ok = false;
  }
  if (opts.Has("--pdf")) {
    int pages = 0;
    if (!ClassCommands.ClassPdfCommand) {
      ShowMessage("この kazoru-cli は画面なしで作られたため、PDF を作れません。", CAPTION);
      r.ok = false;
    } else if (!ClassCommands.ClassPdfCommand(s, opts.Get("--pdf"), pages)) {
      r.ok = false;
    } else if (!r.objects.empty()) {
      r.objects.back()["pages"] = pages;
    }
  }
  return r;
}

const CliRegistration REGISTER_CLASS(CliCommand{
    "class",
    "class FILES|FOLDER... [--csv out.csv] [--pdf out.pdf]",
    {{"--csv", true}, {"--pdf", true}},
    false,
    ValidateClass,
    RunClass,
});

}  // namespace
