// Runs the real kazoru-cli (KAZORU_CLI_PATH, set for the tests of tests/cli) and collects what it wrote.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "support/TestSupport.h"

struct CliResult {
  std::string out;
  std::string err;
  int exitCode = -1;
};

// Runs kazoru-cli with the given shell-quoted arguments, stdinText on its standard input.
inline CliResult RunCli(const std::string& args, const std::string& stdinText = "") {
  const std::string dir = TempDir();
  const std::string inFile = dir + "/stdin.txt";
  const std::string errFile = dir + "/stderr.txt";
  std::ofstream(inFile, std::ios::binary) << stdinText;
  const std::string cmd =
      std::string("'") + KAZORU_CLI_PATH + "' " + args + " < '" + inFile + "' 2> '" + errFile + "'";
  CliResult r;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  int status = pclose(p);
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream ef(errFile, std::ios::binary);
  std::stringstream ss;
  ss << ef.rdbuf();
  r.err = ss.str();
  return r;
}

// One parsed JSON object per line of output.
inline std::vector<nlohmann::json> JsonLines(const std::string& out) {
  std::vector<nlohmann::json> lines;
  std::istringstream in(out);
  std::string line;
  while (std::getline(in, line)) lines.push_back(nlohmann::json::parse(line));
  return lines;
}
