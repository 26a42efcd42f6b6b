// kazoru-cli notebook calc: reads a .siki file, computes the answers of every line as "ノート全部を計算"
// does, and writes the page to -o, back to the file (--in-place) or to standard output. The subcommand
// "print" is handed to the Qt part when the build has one.
#include "cli/CmdNotebook.h"

#include <cstdio>

#include "engine/BunMath.h"
#include "engine/Bunio.h"
#include "engine/Bunsuuh.h"
#include "engine/Houtei1ji.h"
#include "engine/InpCheck.h"
#include "notebook/NotePage.h"

NotebookCommandHooks NotebookCommands;

bool LoadNotebookForRun(const std::string& file) {
  if (LoadSikiFile(file) == SIKI_CANNOT_OPEN) {
    ShowMessage(SIKI_OPEN_FAILED_TEXT, SIKI_FILE_CAPTION);
    return false;
  }
  ReportSikiLoadProblems();
  return true;
}

namespace {

std::string ValidateNotebook(const CliOptions& opts) {
  if (opts.positional.empty()) return "notebook needs calc or print";
  const std::string& sub = opts.positional[0];
  if (sub != "calc" && sub != "print") return "notebook takes calc or print, not " + sub;
  if (opts.positional.size() != 2) return "notebook " + sub + " needs one FILE";
  if (sub == "calc" && opts.Has("-o") && opts.Has("--in-place"))
    return "-o and --in-place exclude each other";
  if (sub == "print" && !opts.Has("-o")) return "notebook print needs -o OUT.pdf";
  if (sub == "print" && opts.Has("--in-place")) return "--in-place belongs to notebook calc";
  return "";
}

nlohmann::json OutcomeJson(const NoteOutcome& o) {
  nlohmann::json j = nlohmann::json::object();
  j["kind"] = NoteOutcomeName(o.kind);
  j["line"] = o.line;
  if (o.kind == NoteOutcomeKind::CheckFailed) {
    j["position"] = o.position;
    j["errorNo"] = o.errorNo;
    j["errorText"] = o.errorText;
  }
  return j;
}

CliRun RunCalc(const std::string& file, const CliOptions& opts) {
  CliRun r;
  r.fields["outcomes"] = nlohmann::json::array();
  if (!LoadNotebookForRun(file)) {
    r.result = "n";
    r.status = -1;
    r.ok = false;
    return r;
  }
  // Each outcome is told when the pass reaches its line, after the evaluator's own messages.
  CalculateAll([&](const NoteOutcome& o) {
    ShowMessage(NoteOutcomeText(o, false), "ご報告！");
    r.fields["outcomes"].push_back(OutcomeJson(o));
  });

  bool written;
  if (opts.Has("-o") || opts.Has("--in-place")) {
    written = SaveSikiFile(opts.Has("-o") ? opts.Get("-o") : file);
  } else {
    std::string bytes;
    written = SikiFileBytes(bytes);
    if (written) {
      // The page goes out before the result line that main writes at the end.
      written =
          std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() && std::fflush(stdout) == 0;
    }
  }
  if (!written) {
    ShowMessage(SIKI_SAVE_FAILED_TEXT, SIKI_FILE_CAPTION);
    r.result = "n";
    r.status = -1;
    r.ok = false;
    return r;
  }
  r.result = std::to_string(NotePage.lineCount);
  r.status = 1;
  return r;
}

CliRun RunNotebook(const std::string& /*input*/, const CliOptions& opts) {
  const std::string& sub = opts.positional[0];
  const std::string& file = opts.positional[1];
  if (sub == "calc") return RunCalc(file, opts);
  if (NotebookPrintCommand) return NotebookPrintCommand(file, opts);
  CliRun r;
  ShowMessage("この kazoru-cli は画面なしで作られたため、ノートを印刷できません。", "ご注意！");
  r.result = "n";
  r.status = -1;
  r.ok = false;
  return r;
}

const CliRegistration REGISTER_NOTEBOOK(CliCommand{
    "notebook",
    "notebook calc FILE [-o OUT | --in-place] | notebook print FILE.siki -o OUT.pdf",
    {{"--in-place", false}},
    false,
    ValidateNotebook,
    RunNotebook,
});

}  // namespace
