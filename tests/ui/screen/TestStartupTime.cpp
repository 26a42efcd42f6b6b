// Start-up time of the desktop program against a minimal Qt window, both as whole processes of this
// test program started side by side: the program's real start-up (settings, screen, panel, first
// paint, one turn of the event loop) must stay within three times the minimal window's.
#include <gtest/gtest.h>

#include <unistd.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ui/AppStart.h"

namespace {

bool IsChild() { return std::getenv("KAZORU_STARTUP_CHILD") != nullptr; }

std::string SelfPath() {
  char buf[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return "";
  buf[n] = '\0';
  return buf;
}

// Wall time of one whole child process in milliseconds.
double RunChild(const std::string& self, const char* test) {
  std::string cmd = "KAZORU_STARTUP_CHILD=1 QT_QPA_PLATFORM=offscreen '" + self + "' --gtest_filter=" + test +
                    " >/dev/null 2>&1";
  QElapsedTimer t;
  t.start();
  int rc = std::system(cmd.c_str());
  double ms = static_cast<double>(t.nsecsElapsed()) / 1e6;
  return rc == 0 ? ms : -1;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

TEST(StartupChild, Kazoru) {
  if (!IsChild()) GTEST_SKIP() << "run by Startup.WithinThreeTimesAMinimalWindow";
  EXPECT_EQ(RunKazoru(*qApp, true), 0);
}

TEST(StartupChild, MinimalWindow) {
  if (!IsChild()) GTEST_SKIP() << "run by Startup.WithinThreeTimesAMinimalWindow";
  QWidget w;
  w.resize(500, 450);
  w.show();
  QTimer::singleShot(0, qApp, &QApplication::quit);
  EXPECT_EQ(qApp->exec(), 0);
}

TEST(Startup, WithinThreeTimesAMinimalWindow) {
  if (IsChild()) GTEST_SKIP();
  const std::string self = SelfPath();
  ASSERT_FALSE(self.empty());
  std::vector<double> kazoru, minimal;
  for (int i = 0; i < 9; ++i) {
    double m = RunChild(self, "StartupChild.MinimalWindow");
    double k = RunChild(self, "StartupChild.Kazoru");
    ASSERT_GT(m, 0);
    ASSERT_GT(k, 0);
    minimal.push_back(m);
    kazoru.push_back(k);
  }
  const double ratio = Median(kazoru) / Median(minimal);
  std::printf("start-up, median of 9 side by side: kazoru %.1f ms, minimal window %.1f ms, ratio %.2f\n",
              Median(kazoru), Median(minimal), ratio);
  EXPECT_LT(ratio, 3.0);
}
