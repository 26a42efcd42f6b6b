// Runs espeak-ng with its Japanese voice as a child process (posix_spawn, no shell, so no text of the
// line is ever interpreted as a command).
#include "platform/Speech.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

extern char** environ;

SpeechState SpeechData;

void SpeechState::Reset() { *this = SpeechState{}; }

std::string FindSpeechProgram() {
  if (SpeechProgram.empty()) return "";
  auto executable = [](const std::string& p) {
    struct stat st {};
    return stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(p.c_str(), X_OK) == 0;
  };
  if (SpeechProgram.find('/') != std::string::npos) return executable(SpeechProgram) ? SpeechProgram : "";
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
  size_t start = 0;
  while (start <= dirs.size()) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    std::string dir = dirs.substr(start, end - start);
    if (dir.empty()) dir = ".";
    std::string candidate = dir + "/" + SpeechProgram;
    if (executable(candidate)) return candidate;
    start = end + 1;
  }
  return "";
}

std::vector<std::string> SpeechArguments(const std::string& kana, const std::string& wavFile) {
  // The Japanese voice a little slower than its default, so that a pupil can follow each number.
  std::vector<std::string> args = {"-v", "ja", "-s", "140"};
  if (!wavFile.empty()) {
    args.push_back("-w");
    args.push_back(wavFile);
  }
  // The text is one argument; a reading never starts with "-", but a stray one must not be an option.
  args.push_back(!kana.empty() && kana[0] == '-' ? " " + kana : kana);
  return args;
}

bool WriteSpeechWav(const std::string& kana, const std::string& wavFile, std::string& why) {
  const std::string program = FindSpeechProgram();
  if (program.empty()) {
    why = "no Japanese voice is installed (espeak-ng)";
    return false;
  }
  // The speech goes to a file beside the target and replaces it only when complete, so a failed run never
  // leaves an old or half-written file looking like the answer.
  const std::string part = wavFile + ".part";
  std::remove(part.c_str());
  std::vector<std::string> args = SpeechArguments(kana, part);
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  // The synthesiser's own chatter stays out of the batch tool's output.
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) {
    why = "the speech program could not be started";
    return false;
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) {
      why = "the speech program was lost";
      return false;
    }
  }
  struct stat st {};
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || stat(part.c_str(), &st) != 0 || st.st_size <= 44 ||
      std::rename(part.c_str(), wavFile.c_str()) != 0) {
    std::remove(part.c_str());
    why = "no speech was written to " + wavFile;
    return false;
  }
  return true;
}
