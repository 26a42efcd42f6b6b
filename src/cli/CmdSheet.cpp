// kazoru-cli sheet: makes a practice sheet of one skill from the controls given as options, writes its
// notebook page (.siki) and, in the Qt build, the printed sheet and the answer key as PDF; --list-skills
// lists every skill with its name, process type and the controls it takes, as JSON.
#include "cli/CmdSheet.h"

#include <random>

#include "cli/Cli.h"
#include "engine/Settings.h"
#include "notebook/NotePage.h"
#include "platform/AtomicFile.h"
#include "sheets/Sheet.h"

SheetCommandHooks SheetCommands;

std::string ReadSheetControls(const CliOptions& opts, SheetControls& c) {
  std::string why;
  c.skill = opts.Get("--skill");
  if (opts.Has("--count") && !(why = ParseSheetCount(opts.Get("--count"), c.count)).empty()) return why;
  if (opts.Has("--max-den") && !(why = ParseSheetMaxDen(opts.Get("--max-den"), c.maxDen)).empty()) return why;
  if (opts.Has("--terms") && !(why = ParseSheetTerms(opts.Get("--terms"), c.terms)).empty()) return why;
  if (opts.Has("--reduce") && !(why = ParseSheetReduce(opts.Get("--reduce"), c.reduce)).empty()) return why;
  if (opts.Has("--max-answer") && !(why = ParseSheetMaxAnswer(opts.Get("--max-answer"), c.maxAnswer)).empty())
    return why;
  if (opts.Has("--mixed") && !(why = ParseSheetMixed(opts.Get("--mixed"), c.mixedAnswers)).empty())
    return why;
  if (opts.Has("--seed") && !(why = ParseSheetSeed(opts.Get("--seed"), c.seed)).empty()) return why;
  if (opts.Has("--version") && !(why = ParseSheetVersion(opts.Get("--version"), c.version)).empty())
    return why;
  return "";
}

namespace {

std::string ValidateSheet(const CliOptions& opts) {
  if (!opts.positional.empty()) return "sheet takes no argument";
  if (opts.Has("--list-skills")) return "";
  if (!opts.Has("--skill")) return "sheet needs --skill ID (kazoru-cli sheet --list-skills lists them)";
  if (!opts.Has("-o")) return "sheet needs -o page.siki";
  SheetControls c;
  return ReadSheetControls(opts, c);
}

CliRun Fail(CliRun r) {
  r.ok = false;
  if (r.result.empty()) r.result = "n";
  return r;
}

CliRun ListSkills() {
  nlohmann::json skills = nlohmann::json::array();
  for (const SheetSkill& s : SheetSkills()) {
    nlohmann::json j;
    j["id"] = s.id;
    j["name"] = s.name;
    j["example"] = s.example;
    j["processTypes"] = nlohmann::json::array({ProcessTypeNumber(s.processType)});
    j["alternative"] = s.alternative;
    j["controls"] = SkillControlIds(s);
    if (s.minTerms != s.maxTerms) j["terms"] = {s.minTerms, s.maxTerms};
    skills.push_back(j);
  }
  CliRun r;
  r.result = skills.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  r.status = static_cast<long long>(skills.size());
  r.fields["skills"] = skills;
  return r;
}

CliRun RunSheet(const std::string& /*input*/, const CliOptions& opts) {
  if (opts.Has("--list-skills")) return ListSkills();
  SheetControls c;
  ReadSheetControls(opts, c);  // validated before the run
  if (!opts.Has("--seed")) {
    // A new sheet each time unless the teacher names the seed; the seed is on the sheet to make it again.
    std::random_device device;
    c.seed = device() % 1000000;
  }
  CliRun r;
  r.fields["skill"] = c.skill;
  r.fields["seed"] = c.seed;
  r.fields["version"] = std::string(1, c.version);
  r.fields["problems"] = nlohmann::json::array();
  const Sheet sheet = MakeSheet(c);
  for (const SheetProblem& p : sheet.problems)
    r.fields["problems"].push_back(
        {{"expr", p.expr}, {"answer", p.answer}, {"processType", ProcessTypeNumber(p.processType)}});
  r.status = static_cast<long long>(sheet.problems.size());
  if (sheet.problems.empty()) {
    ShowMessage(sheet.message, "ご注意！");
    r.status = -1;
    return Fail(r);
  }

  std::string bytes;
  const std::string page = opts.Get("-o");
  if (!SheetSikiBytes(sheet, bytes) || !WriteAtomically(page, bytes)) {
    ShowMessage(SIKI_SAVE_FAILED_TEXT, SIKI_FILE_CAPTION);
    return Fail(r);
  }
  r.result = page;
  for (const char* option : {"--pdf", "--key"}) {
    if (!opts.Has(option)) continue;
    if (!SheetPdfCommand) {
      ShowMessage("この kazoru-cli は画面なしで作られたため、PDF を作れません。", "ご注意！");
      return Fail(r);
    }
    int pages = 0;
    const bool key = std::string(option) == "--key";
    if (!SheetPdfCommand(sheet, opts.Get(option), key, opts.Has("--advice"), pages)) return Fail(r);
    r.fields[key ? "keyPages" : "pages"] = pages;
  }
  // Fewer problems than asked: the page holds those made, and the run tells how many and fails.
  if (!sheet.message.empty()) {
    ShowMessage(sheet.message, "ご注意！");
    return Fail(r);
  }
  return r;
}

const CliRegistration REGISTER_SHEET(CliCommand{
    "sheet",
    "sheet --skill ID [--count N] [--seed S] [--version A] [--max-den D] [--terms T] [--reduce yes|no] "
    "[--max-answer A] [--mixed yes|no] -o page.siki [--pdf sheet.pdf] [--key key.pdf [--advice]] | "
    "sheet --list-skills",
    {{"--skill", true},
     {"--count", true},
     {"--seed", true},
     {"--version", true},
     {"--max-den", true},
     {"--terms", true},
     {"--reduce", true},
     {"--max-answer", true},
     {"--mixed", true},
     {"--pdf", true},
     {"--key", true},
     {"--advice", false},
     {"--list-skills", false}},
    false,
    ValidateSheet,
    RunSheet,
});

}  // namespace
