// Watches every window of the program being shown and hidden: while a modal one is up, the registered
// stay-on-top tool windows lose their stay-on-top flag (told to the window system without hiding them),
// and get it back when no modal window is left.
#include "ui/OnTopTools.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <vector>

namespace {

class ModalWatch : public QObject {
 public:
  ModalWatch() { qApp->installEventFilter(this); }

  void Add(QWidget* w) {
    Tidy();
    tools_.emplace_back(w);
    if (AnyModalShown()) modalOpen_ = true;
    SetOnTop(w, !modalOpen_);
  }

  bool ModalOpen() const { return modalOpen_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type t = event->type();
    if (t != QEvent::Show && t != QEvent::Hide) return false;
    if (!watched->isWidgetType()) return false;
    auto* w = static_cast<QWidget*>(watched);
    if (!w->isWindow() || !w->isModal()) return false;
    if (t == QEvent::Show) {
      // Before the dialog is mapped, so that it opens over the tool windows.
      Update(true);
    } else {
      // The modal window list is brought up to date after the hide; look once it is.
      QTimer::singleShot(0, this, [this] { Update(AnyModalShown()); });
    }
    return false;
  }

 private:
  static bool AnyModalShown() {
    if (QApplication::activeModalWidget()) return true;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible() && w->isModal()) return true;
    return false;
  }

  static void SetOnTop(QWidget* w, bool on) {
    const Qt::WindowFlags flags = w->windowFlags();
    if (flags.testFlag(Qt::WindowStaysOnTopHint) == on) return;
    const Qt::WindowFlags changed =
        on ? (flags | Qt::WindowStaysOnTopHint) : (flags & ~Qt::WindowStaysOnTopHint);
    // setWindowFlags would hide the window; the widget keeps its flags in step and the window system is
    // told through the window itself.
    w->overrideWindowFlags(changed);
    if (QWindow* handle = w->windowHandle()) handle->setFlags(changed);
  }

  void Tidy() {
    tools_.erase(
        std::remove_if(tools_.begin(), tools_.end(), [](const QPointer<QWidget>& p) { return p.isNull(); }),
        tools_.end());
  }

  void Update(bool modal) {
    modalOpen_ = modal;
    Tidy();
    for (const QPointer<QWidget>& w : tools_) SetOnTop(w, !modal);
  }

  std::vector<QPointer<QWidget>> tools_;
  bool modalOpen_ = false;
};

ModalWatch& Watch() {
  // Made on first use, while the application exists; it lives as long as the application does.
  static QPointer<ModalWatch> watch;
  if (!watch) {
    watch = new ModalWatch();
    watch->setParent(qApp);
  }
  return *watch;
}

}  // namespace

void KeepBelowModalDialogs(QWidget* toolWindow) { Watch().Add(toolWindow); }

bool ModalDialogOpen() { return Watch().ModalOpen(); }
