// What the tests under a real window manager ask of the X server: a helper program's output, a wait for a
// condition while events run, and a window's state as the window manager has set it.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QWidget>
#include <functional>

// The standard output of a helper program (xprop, xdotool …), waited for at most ms milliseconds.
inline QString Run(const QString& program, const QStringList& args, int ms = 20000) {
  QProcess p;
  p.start(program, args);
  p.waitForFinished(ms);
  return QString::fromLocal8Bit(p.readAllStandardOutput());
}

inline bool WaitFor(const std::function<bool()>& done, int ms = 8000) { return QTest::qWaitFor(done, ms); }

// "Normal", "Iconic" or "Withdrawn" as the window manager has set it; "" for a window never mapped.
inline QString WmState(QWidget* w) {
  const QString out = Run("xprop", {"-id", QString::number(w->winId()), "WM_STATE"});
  const int at = out.indexOf("window state: ");
  if (at < 0) return "";
  return out.mid(at + 14).section('\n', 0, 0).trimmed();
}
