// What the long runs of the real windows share: their settings from the environment, the process's
// resident memory, and a closer for anything modal or popped up that a random command leaves open.
#pragma once

#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

// A positive whole number from the environment, or fallback.
inline long EnvNumber(const char* name, long fallback) {
  const char* v = std::getenv(name);
  if (!v || !*v) return fallback;
  char* end = nullptr;
  long n = std::strtol(v, &end, 10);
  return (end && *end == '\0' && n > 0) ? n : fallback;
}

// Resident memory of this process in MB (0 where /proc is missing).
inline double ResidentMb() {
  long pages = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return resident * (sysconf(_SC_PAGESIZE) / 1024.0) / 1024.0;
}

// Closes, on the next turn of whatever event loop runs, the popup or modal window that is open (a menu
// opened by Alt, a box of Qt's own, a modal editor), and counts them.
class ModalCloser {
 public:
  ModalCloser() {
    timer_.setInterval(0);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (QWidget* w = QApplication::activePopupWidget()) {
        w->close();
        ++closed;
      }
      if (QWidget* w = QApplication::activeModalWidget()) {
        w->close();
        ++closed;
      }
    });
  }
  void Start() { timer_.start(); }
  void Stop() { timer_.stop(); }

  int closed = 0;

 private:
  QTimer timer_;
};
