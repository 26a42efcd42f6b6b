// Main of the window tests that need a real window manager (focus, iconifying, stacking, quitting): it
// starts a virtual X server on a free display and the openbox window manager, runs the tests on Qt's xcb
// platform against them, and stops both at the end. Nothing of the desktop the tests were started from is
// used. A temporary configuration folder keeps the tests off the user's settings.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "support/FreshProgramState.h"
#include "support/TestSupport.h"

namespace {

// Starts a program with its output discarded; the child ends when this process does, however it ends.
pid_t Start(const char* const argv[]) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  prctl(PR_SET_PDEATHSIG, SIGTERM);
  const int null = open("/dev/null", O_RDWR);
  dup2(null, 0);
  dup2(null, 1);
  dup2(null, 2);
  execvp(argv[0], const_cast<char* const*>(argv));
  _exit(127);
}

void Stop(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  int status = 0;
  for (int i = 0; i < 50; ++i) {
    if (waitpid(pid, &status, WNOHANG) == pid) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  kill(pid, SIGKILL);
  waitpid(pid, &status, 0);
}

// Xvfb chooses a free display itself and writes its number to the pipe once it accepts connections.
pid_t StartServer(std::string& display) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  const std::string fd = std::to_string(fds[1]);
  const char* argv[] = {"Xvfb",         "-displayfd", fd.c_str(), "-screen", "0",
                        "1400x1000x24", "-nolisten",  "tcp",      nullptr};
  const pid_t pid = fork();
  if (pid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    close(fds[0]);
    const int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(null, 1);
    dup2(null, 2);
    execvp(argv[0], const_cast<char* const*>(argv));
    _exit(127);
  }
  close(fds[1]);
  char buf[32] = {};
  ssize_t n = 0, got = 0;
  while (got < static_cast<ssize_t>(sizeof buf) - 1 &&
         (n = read(fds[0], buf + got, sizeof buf - 1 - got)) > 0) {
    got += n;
    if (buf[got - 1] == '\n') break;
  }
  close(fds[0]);
  if (got <= 0) {
    Stop(pid);
    return -1;
  }
  display = ":" + std::string(buf, strcspn(buf, "\n"));
  return pid;
}

// The window manager is up once it has announced itself on the root window.
bool WindowManagerRunning() {
  FILE* p = popen("xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null", "r");
  if (!p) return false;
  char line[256] = {};
  const bool got = fgets(line, sizeof line, p) != nullptr;
  pclose(p);
  return got && std::string(line).find("window id") != std::string::npos;
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  std::string display;
  const pid_t server = StartServer(display);
  if (server < 0) {
    std::fprintf(stderr,
                 "the virtual X server (Xvfb) could not be started: scripts/install-deps.sh installs it\n");
    return 1;
  }
  setenv("DISPLAY", display.c_str(), 1);
  setenv("QT_QPA_PLATFORM", "xcb", 1);
  unsetenv("WAYLAND_DISPLAY");
  setenv("XDG_CONFIG_HOME", TempDir().c_str(), 1);
  const char* wmArgv[] = {"openbox", "--sm-disable", nullptr};
  // The window manager is given 30 s to announce itself (a busy machine starts it slowly); one that ends
  // before it has is started again, twice at most, and how it ended is said if it never comes up.
  pid_t wm = -1;
  bool up = false;
  std::string ended;
  for (int attempt = 0; attempt < 3 && !up && wm < 0; ++attempt) {
    wm = Start(wmArgv);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!up && std::chrono::steady_clock::now() < deadline) {
      up = WindowManagerRunning();
      int status = 0;
      if (!up && waitpid(wm, &status, WNOHANG) == wm) {
        ended = WIFEXITED(status) ? "exit status " + std::to_string(WEXITSTATUS(status))
                                  : "signal " + std::to_string(WTERMSIG(status));
        wm = -1;
        break;
      }
      if (!up) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  // It announces itself a moment before it has taken over the screen: a window mapped in that moment
  // would never be managed.
  if (up) std::this_thread::sleep_for(std::chrono::milliseconds(300));
  if (!up) {
    std::fprintf(stderr,
                 "the window manager (openbox) did not start%s: scripts/install-deps.sh installs it\n",
                 ended.empty() ? " within 30 s" : (" (it ended: " + ended + ")").c_str());
    Stop(wm);
    Stop(server);
    return 1;
  }
  int rc = 0;
  {
    QApplication app(argc, argv);
    InstallTestPlatform();
    StartEveryTestFresh();
    rc = RUN_ALL_TESTS();
  }
  Stop(wm);
  Stop(server);
  return rc;
}
