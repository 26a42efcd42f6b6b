// What the long runs of the real windows share: their settings from the environment, the process's
// resident memory, and a closer for anything modal or popped up that a random command leaves open.
#pragma once

#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <random>

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

// A share of the draws out of 100 (counted up to and excluding upTo) and the modifiers it gives.
struct ModifierShare {
  int upTo;
  Qt::KeyboardModifiers modifiers;
};
// Draws modifiers by their shares, one draw from rng; past the last share, the last modifiers.
inline Qt::KeyboardModifiers RandomModifiers(std::mt19937& rng, std::initializer_list<ModifierShare> shares) {
  const int r = static_cast<int>(rng() % 100);
  Qt::KeyboardModifiers last = Qt::NoModifier;
  for (const ModifierShare& s : shares) {
    if (r < s.upTo) return s.modifiers;
    last = s.modifiers;
  }
  return last;
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
