// kazoru-cli assign: makes an assignment's code and link from a sheet's controls, the title, the final
// form and the feedback mode, or (--open) reads a code or link back; both print the problems it makes.
#include <random>

#include "classroom/Assignment.h"
#include "cli/Cli.h"
#include "cli/CmdSheet.h"
#include "engine/Settings.h"

namespace {

constexpr const char* CAPTION = "課題";

std::string ValidateAssign(const CliOptions& opts) {
  if (!opts.positional.empty()) return "assign takes no argument (the code goes after --open)";
  if (opts.Has("--open")) {
    for (const char* o : {"--skill", "--title", "--final", "--feedback", "--count", "--seed", "--version",
                          "--max-den", "--terms", "--reduce", "--max-answer", "--mixed"})
      if (opts.Has(o)) return std::string("--open reads a code; ") + o + " belongs to making one";
    return "";
  }
  if (!opts.Has("--skill")) return "assign needs --skill ID (kazoru-cli sheet --list-skills lists them)";
  if (!opts.Has("--title")) return "assign needs --title T";
  AssignmentFinal f;
  if (!ParseAssignmentFinal(opts.Get("--final"), f)) return "assign needs --final mixed|improper|either";
  AssignmentFeedback b;
  if (!ParseAssignmentFeedback(opts.Get("--feedback"), b)) return "assign needs --feedback now|end|none";
  return "";
}

CliRun Fail(CliRun r, const std::string& message) {
  ShowMessage(message, CAPTION);
  r.ok = false;
  r.status = -1;
  r.result = "n";
  return r;
}

CliRun RunAssign(const std::string& /*input*/, const CliOptions& opts) {
  CliRun r;
  Assignment a;
  std::string code;
  if (opts.Has("--open")) {
    const std::string why = DecodeAssignment(opts.Get("--open"), a);
    if (!why.empty()) return Fail(r, why);
  } else {
    std::string why = ReadSheetControls(opts, a.controls);
    if (!why.empty()) return Fail(r, why);
    if (!opts.Has("--seed")) {
      // A new sheet each time unless the teacher names the seed; the code carries it.
      std::random_device device;
      a.controls.seed = device() % 1000000;
    }
    a.title = opts.Get("--title");
    ParseAssignmentFinal(opts.Get("--final"), a.finalForm);
    ParseAssignmentFeedback(opts.Get("--feedback"), a.feedback);
  }
  const std::string why = EncodeAssignment(a, code);
  if (!why.empty()) return Fail(r, why);
  const std::string link = AssignmentLink(opts.Get("--site", ASSIGNMENT_DEFAULT_SITE), code);
  const Sheet sheet = AssignmentSheet(a);
  r.fields["code"] = code;
  r.fields["link"] = link;
  r.fields["title"] = a.title;
  r.fields["skill"] = a.controls.skill;
  r.fields["seed"] = a.controls.seed;
  r.fields["version"] = std::string(1, a.controls.version);
  r.fields["final"] = AssignmentFinalId(a.finalForm);
  r.fields["feedback"] = AssignmentFeedbackId(a.feedback);
  r.fields["problems"] = nlohmann::json::array();
  for (const SheetProblem& p : sheet.problems)
    r.fields["problems"].push_back({{"expr", p.expr}, {"answer", p.answer}});
  r.status = static_cast<long long>(sheet.problems.size());
  r.result = code + "\n" + link;
  if (sheet.problems.empty()) return Fail(r, sheet.message);
  if (!sheet.message.empty()) {
    // Fewer problems than asked: the code is still printed, and the run says so and fails.
    ShowMessage(sheet.message, CAPTION);
    r.ok = false;
  }
  return r;
}

const CliRegistration REGISTER_ASSIGN(CliCommand{
    "assign",
    "assign --skill ID [sheet controls] --title T --final mixed|improper|either --feedback now|end|none "
    "[--site URL] | assign --open CODE [--site URL]",
    {{"--skill", true},
     {"--count", true},
     {"--seed", true},
     {"--version", true},
     {"--max-den", true},
     {"--terms", true},
     {"--reduce", true},
     {"--max-answer", true},
     {"--mixed", true},
     {"--title", true},
     {"--final", true},
     {"--feedback", true},
     {"--site", true},
     {"--open", true}},
    false,
    ValidateAssign,
    RunAssign,
});

}  // namespace
