// Runs test work inside a modal window once it is open: a timer polls for the active modal widget of the
// asked type (some buttons open their windows a moment after the key), and gives up with a failure, closing
// whatever modal window is up, so that a test never hangs behind a box.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

// ready: an extra condition the window must meet before work runs (nothing: open is enough).
template <class T>
void OnModal(std::function<void(T*)> work, int tries = 300, int intervalMs = 10,
             std::function<bool(QWidget*)> ready = nullptr) {
  auto* poll = new QTimer;
  auto count = std::make_shared<int>(0);
  QObject::connect(poll, &QTimer::timeout, [poll, count, tries, work, ready] {
    auto* w = qobject_cast<T*>(QApplication::activeModalWidget());
    if (w && (!ready || ready(w))) {
      poll->stop();
      poll->deleteLater();
      work(w);
    } else if (++*count > tries) {
      poll->stop();
      poll->deleteLater();
      ADD_FAILURE() << "no modal window opened";
      if (QWidget* m = QApplication::activeModalWidget()) m->close();
    }
  });
  poll->start(intervalMs);
}
