// kazoru-cli: runs the calculator's engine without a window. See docs/cli.md for the contract.
#include <sys/stat.h>

#include <cstdio>
#include <iostream>
#include <string>

#include "cli/Cli.h"

namespace {

int Usage(const std::string& why) {
  if (!why.empty()) std::cerr << "kazoru-cli: " << why << "\n";
  std::cerr << "usage: kazoru-cli COMMAND [--json] [--answer no|cancel] [--settings FILE] [OPTIONS] [ARG]\n"
               "commands:\n";
  for (const auto& [name, c] : CliCommands()) std::cerr << "  " << c.usage << "\n";
  return 2;
}

std::string EscapeNewlines(const std::string& s) {
  std::string r;
  for (char c : s) {
    if (c == '\n')
      r += "\\n";
    else if (c != '\r')
      r += c;
  }
  return r;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef __EMSCRIPTEN__
  // The WebAssembly runtime starts with a umask that makes every new file unreadable (mode 0).
  umask(022);
#endif
  std::ios::sync_with_stdio(false);
  if (argc < 2) return Usage("");
  std::string name = argv[1];
  if (name == "--help" || name == "-h") return Usage("");
  auto it = CliCommands().find(name);
  if (it == CliCommands().end()) return Usage("unknown command " + name);
  const CliCommand& cmd = it->second;

  bool json = false;
  std::string answer = "yes", settingsFile;
  CliOptions opts;
  bool endOfOptions = false;
  for (int i = 2; i < argc; ++i) {
    std::string a = argv[i];
    if (!endOfOptions && a == "--") {
      endOfOptions = true;
      continue;
    }
    if (!endOfOptions && a.size() > 2 && a.rfind("--", 0) == 0) {
      std::string value;
      bool hasValue = false;
      if (auto eq = a.find('='); eq != std::string::npos) {
        value = a.substr(eq + 1);
        a = a.substr(0, eq);
        hasValue = true;
      }
      auto needValue = [&]() -> bool {
        if (hasValue) return true;
        if (i + 1 >= argc) return false;
        value = argv[++i];
        return true;
      };
      if (a == "--json") {
        json = true;
      } else if (a == "--answer") {
        if (!needValue()) return Usage("--answer needs a value");
        if (value != "no" && value != "cancel" && value != "yes" && value != "ok")
          return Usage("--answer takes no or cancel");
        answer = value;
      } else if (a == "--settings") {
        if (!needValue()) return Usage("--settings needs a file");
        settingsFile = value;
      } else {
        const CliOptionSpec* spec = nullptr;
        for (const auto& o : cmd.options)
          if (o.name == a) spec = &o;
        if (!spec) return Usage("unknown option " + a + " for " + name);
        if (spec->takesValue) {
          if (!needValue()) return Usage(a + " needs a value");
        }
        opts.values[a] = value;
      }
    } else if (!endOfOptions && a == "-o") {
      if (i + 1 >= argc) return Usage("-o needs a file");
      opts.values["-o"] = argv[++i];
    } else {
      opts.positional.push_back(a);
    }
  }
  if (cmd.validate) {
    std::string err = cmd.validate(opts);
    if (!err.empty()) return Usage(err);
  }

  std::vector<std::string> inputs;
  bool fromStdin = false;
  if (cmd.batch) {
    if (opts.positional.size() > 1) return Usage("too many arguments");
    if (opts.positional.empty() || opts.positional[0] == "-") {
      fromStdin = true;
    } else if (const CliExpander* expand = CliExpanderOf(name)) {
      inputs = (*expand)(opts.positional[0], opts);
    } else {
      inputs.push_back(opts.positional[0]);
    }
    opts.positional.clear();
  } else {
    inputs.push_back("");
  }

  MsgAnswer scripted = answer == "no"       ? MsgAnswer::No
                       : answer == "cancel" ? MsgAnswer::Cancel
                                            : MsgAnswer::Yes;
  bool allOk = true;
  bool writeFailed = false;
  std::string out;
  bool firstRun = true;
  auto runOne = [&](const std::string& input) {
    RecordingPlatform& p = CliPlatform();
    p.log.clear();
    p.answers.clear();
    p.defaultAnswer = scripted;
    SetPlatform(&p);
    CliPrepareSettings(settingsFile, cmd.reach, firstRun);
    firstRun = false;
    CliRun r = cmd.run(input, opts);
    if (!r.ok) allOk = false;
    if (json) {
      nlohmann::json j = nlohmann::json::object();
      j["input"] = input;
      j["result"] = r.result;
      j["status"] = r.status;
      j["messages"] = CliMessagesJson(p);
      for (auto& [k, v] : r.fields.items()) j[k] = v;
      out += j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
      out += '\n';
    } else {
      out += r.result;
      out += '\n';
      for (const auto& m : p.Shown()) std::cerr << m.caption << ": " << EscapeNewlines(m.text) << "\n";
    }
    if (out.size() > (1 << 16)) {
      if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size()) writeFailed = true;
      out.clear();
    }
  };
  if (fromStdin) {
    const CliExpander* expand = CliExpanderOf(name);
    std::string line;
    while (std::getline(std::cin, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (expand) {
        for (const auto& in : (*expand)(line, opts)) runOne(in);
      } else {
        runOne(line);
      }
    }
  } else {
    for (const auto& in : inputs) runOne(in);
  }
  if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size()) writeFailed = true;
  // Output that did not reach its file (a full disk, a closed pipe) is a failed run, never a success.
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) writeFailed = true;
  if (writeFailed) {
    std::cerr << "kazoru-cli: the output could not be written\n";
    return 1;
  }
  return allOk ? 0 : 1;
}
