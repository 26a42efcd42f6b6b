// The application object the batch tool's drawing commands need for fonts and the printer: made once, on
// the offscreen platform unless QT_QPA_PLATFORM names another.
#pragma once

#include <QApplication>
#include <cstdlib>

inline void EnsureCliApplication() {
  if (QCoreApplication::instance()) return;
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "kazoru-cli";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  (void)app;
}
