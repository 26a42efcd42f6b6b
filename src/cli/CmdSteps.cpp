// kazoru-cli steps: checks a pupil's own working, a chain "problem=step=step=…", step by step, and
// prints each step's verdict, the mistake it looks like and the advice for the pupil.
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "cli/Cli.h"
#include "cli/CmdNotebook.h"
#include "engine/Settings.h"
#include "notebook/NotePage.h"
#include "notebook/NoteSteps.h"
#include "steps/StepCheck.h"

namespace {

std::string ValidateSteps(const CliOptions& opts) {
  if (opts.Has("--final")) {
    std::string f = opts.Get("--final");
    if (f != "mixed" && f != "improper") return "--final takes mixed or improper";
  }
  return "";
}

nlohmann::json NullOr(const std::string& s) {
  return s.empty() ? nlohmann::json(nullptr) : nlohmann::json(s);
}

nlohmann::json StepJson(const StepResult& s) {
  return {{"from", s.from},
          {"to", s.to},
          {"verdict", StepVerdictName(s.verdict)},
          {"mistake", NullOr(s.mistake)},
          {"advice", s.advice},
          {"hint", s.hint},
          {"final", NullOr(s.finalNote)}};
}

StepOptions OptionsOf(const CliOptions& opts) {
  StepOptions options = StepOptionsFromSettings();
  if (opts.Has("--final"))
    options.finalForm = opts.Get("--final") == "improper" ? StepFinalForm::Improper : StepFinalForm::Mixed;
  return options;
}

// A notebook file: every problem with the working under it, and the page's summary for the teacher.
CliRun RunNotebookSteps(const std::string& file, const CliOptions& opts) {
  CliRun r;
  if (!LoadNotebookForRun(file)) {
    r.status = -1;
    r.ok = false;
    return r;
  }
  NotePageCheck page = CheckNotePageSteps(OptionsOf(opts));
  nlohmann::json problems = nlohmann::json::array();
  for (const NoteProblemCheck& p : page.problems) {
    if (p.result.steps.empty()) continue;
    nlohmann::json steps = nlohmann::json::array();
    for (size_t k = 0; k < p.result.steps.size(); ++k) {
      nlohmann::json s = StepJson(p.result.steps[k]);
      s["line"] = p.stepLines[k];
      steps.push_back(s);
    }
    problems.push_back(
        {{"line", p.line}, {"input", p.result.input}, {"allRight", p.result.allRight}, {"steps", steps}});
  }
  const NoteStepSummary& s = page.summary;
  nlohmann::json mistakes = nlohmann::json::object(), finals = nlohmann::json::object();
  for (const auto& [id, n] : s.mistakes) mistakes[id] = n;
  for (const auto& [id, n] : s.finals) finals[id] = n;
  r.fields["file"] = file;
  r.fields["problems"] = problems;
  r.fields["summary"] = {{"problems", s.problems}, {"problemsRight", s.problemsRight},
                         {"steps", s.steps},       {"stepsRight", s.stepsRight},
                         {"wrong", s.wrong},       {"unreadable", s.unreadable},
                         {"mistakes", mistakes},   {"finals", finals}};
  std::string plain = file;
  for (const std::string& row : NoteSummaryRows(s)) plain += "\n" + row;
  r.result = plain;
  bool allRight = s.problems > 0 && s.problems == s.problemsRight;
  r.status = allRight ? 1 : 0;
  r.ok = allRight;
  return r;
}

// With --notebook a folder stands for its .siki files, in name order.
std::vector<std::string> ExpandSteps(const std::string& arg, const CliOptions& opts) {
  if (!opts.Has("--notebook")) return {arg};
  std::error_code ec;
  if (!std::filesystem::is_directory(arg, ec)) return {arg};
  std::vector<std::string> files;
  for (const auto& e : std::filesystem::directory_iterator(arg, ec)) {
    std::string ext = e.path().extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == ".siki" && !e.is_directory(ec)) files.push_back(e.path().string());
  }
  std::sort(files.begin(), files.end());
  if (files.empty()) files.push_back(arg);  // reported as a file that cannot be read
  return files;
}

CliRun RunSteps(const std::string& input, const CliOptions& opts) {
  if (opts.Has("--notebook")) return RunNotebookSteps(input, opts);
  ChainResult chain = CheckChain(input, OptionsOf(opts));

  CliRun r;
  nlohmann::json steps = nlohmann::json::array();
  std::string plain;
  for (size_t k = 0; k < chain.steps.size(); ++k) {
    const StepResult& s = chain.steps[k];
    steps.push_back(StepJson(s));
    if (k > 0) plain += "\n";
    plain += std::to_string(k + 1) + " " + StepVerdictName(s.verdict);
    if (!s.mistake.empty()) plain += " " + s.mistake;
    plain += " " + s.advice;
  }
  if (chain.steps.empty()) {
    plain = chain.note;
    if (!chain.hint.empty()) plain += "\nヒント " + chain.hint;
  }
  r.result = plain;
  r.status = chain.allRight ? 1 : 0;
  r.ok = chain.allRight;
  r.fields["steps"] = steps;
  r.fields["hint"] = chain.hint;
  if (!chain.note.empty()) r.fields["note"] = chain.note;
  return r;
}

const CliRegistration REGISTER_STEPS(CliCommand{
    "steps",
    "steps [--final mixed|improper] [--notebook] [ARG]",
    {{"--final", true}, {"--notebook", false}},
    true,
    ValidateSteps,
    RunSteps,
});
const CliExpanderRegistration EXPAND_STEPS("steps", ExpandSteps);

}  // namespace
