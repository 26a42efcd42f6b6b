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

// What the command line says after the command's name.
struct CommandLine {
  bool json = false;
  std::string answer = "yes";
  std::string settingsFile;
  CliOptions opts;
};

// Reads the common options and the command's own; returns the reason of a usage error, else "".
std::string ParseOptions(int argc, char** argv, const CliCommand& cmd, CommandLine& line) {
  CliOptions& opts = line.opts;
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
        line.json = true;
        opts.json = true;
      } else if (a == "--answer") {
        if (!needValue()) return "--answer needs a value";
        if (value != "no" && value != "cancel" && value != "yes" && value != "ok")
          return "--answer takes no or cancel";
        line.answer = value;
      } else if (a == "--settings") {
        if (!needValue()) return "--settings needs a file";
        line.settingsFile = value;
      } else {
        const CliOptionSpec* spec = nullptr;
        for (const auto& o : cmd.options)
          if (o.name == a) spec = &o;
        if (!spec) return "unknown option " + a + " for " + cmd.name;
        if (spec->takesValue) {
          if (!needValue()) return a + " needs a value";
        }
        opts.values[a] = value;
      }
    } else if (!endOfOptions && a == "-o") {
      if (i + 1 >= argc) return "-o needs a file";
      opts.values["-o"] = argv[++i];
    } else {
      opts.positional.push_back(a);
    }
  }
  return "";
}

// The runs of one call and their output: plain text or JSON Lines, written out in large pieces.
class Batch {
 public:
  Batch(const CliCommand& cmd, const CommandLine& line) : cmd_(cmd), line_(line) {
    scripted_ = line.answer == "no"       ? MsgAnswer::No
                : line.answer == "cancel" ? MsgAnswer::Cancel
                                          : MsgAnswer::Yes;
  }

  void Run(const std::string& input) {
    RecordingPlatform& p = CliPlatform();
    p.log.clear();
    p.answers.clear();
    p.defaultAnswer = scripted_;
    SetPlatform(&p);
    CliPrepareSettings(line_.settingsFile, cmd_.reach, firstRun_);
    firstRun_ = false;
    CliRun r = cmd_.run(input, line_.opts);
    if (!r.ok) allOk_ = false;
    if (line_.json) {
      if (r.objects.empty()) r.objects.push_back(r.fields);
      for (const nlohmann::json& own : r.objects) {
        nlohmann::json j = nlohmann::json::object();
        j["input"] = input;
        j["result"] = r.result;
        j["status"] = r.status;
        j["messages"] = CliMessagesJson(p);
        for (auto& [k, v] : own.items()) j[k] = v;
        out_ += j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
        out_ += '\n';
      }
    } else {
      out_ += r.result;
      out_ += '\n';
      for (const auto& m : p.Shown()) std::cerr << m.caption << ": " << EscapeNewlines(m.text) << "\n";
    }
    if (out_.size() > (1 << 16)) Write();
  }

  // The exit status, after the rest of the output is written.
  int Finish() {
    Write();
    // Output that did not reach its file (a full disk, a closed pipe) is a failed run, never a success.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) writeFailed_ = true;
    if (writeFailed_) {
      std::cerr << "kazoru-cli: the output could not be written\n";
      return 1;
    }
    return allOk_ ? 0 : 1;
  }

 private:
  void Write() {
    if (std::fwrite(out_.data(), 1, out_.size(), stdout) != out_.size()) writeFailed_ = true;
    out_.clear();
  }

  const CliCommand& cmd_;
  const CommandLine& line_;
  MsgAnswer scripted_ = MsgAnswer::Yes;
  bool firstRun_ = true;
  bool allOk_ = true;
  bool writeFailed_ = false;
  std::string out_;
};

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

  CommandLine line;
  if (std::string err = ParseOptions(argc, argv, cmd, line); !err.empty()) return Usage(err);
  CliOptions& opts = line.opts;
  if (cmd.validate) {
    std::string err = cmd.validate(opts);
    if (!err.empty()) return Usage(err);
  }

  std::vector<std::string> inputs;
  bool fromStdin = false;
  const CliExpander* expand = CliExpanderOf(name);
  if (cmd.batch) {
    if (opts.positional.size() > 1) return Usage("too many arguments");
    if (opts.positional.empty() || opts.positional[0] == "-") {
      fromStdin = true;
    } else if (expand) {
      inputs = (*expand)(opts.positional[0], opts);
    } else {
      inputs.push_back(opts.positional[0]);
    }
    opts.positional.clear();
  } else {
    inputs.push_back("");
  }

  Batch batch(cmd, line);
  if (fromStdin) {
    std::string text;
    while (std::getline(std::cin, text)) {
      if (!text.empty() && text.back() == '\r') text.pop_back();
      if (expand) {
        for (const auto& in : (*expand)(text, opts)) batch.Run(in);
      } else {
        batch.Run(text);
      }
    }
  } else {
    for (const auto& in : inputs) batch.Run(in);
  }
  return batch.Finish();
}
