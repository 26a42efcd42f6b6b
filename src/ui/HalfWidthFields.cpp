// The application's filter that hands every field half-width text.
#include "ui/HalfWidthFields.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>

#include "platform/HalfWidth.h"

namespace {

QString HalfWidth(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  const std::string taken =
      HalfWidthInput(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
  return QString::fromUtf8(taken.data(), static_cast<qsizetype>(taken.size()));
}

// The key a half-width character has on the keyboard: a letter's capital, any other ASCII sign itself.
int KeyOf(const QString& text) {
  if (text.size() != 1) return 0;
  const char16_t c = text.front().unicode();
  return c >= u'a' && c <= u'z' ? c - u'a' + Qt::Key_A : c;
}

class HalfWidthFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::InputMethod) {
      auto* im = static_cast<QInputMethodEvent*>(event);
      const QString taken = HalfWidth(im->commitString());
      if (taken != im->commitString())
        im->setCommitString(taken, im->replacementStart(), im->replacementLength());
      return false;
    }
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
      auto* key = static_cast<QKeyEvent*>(event);
      const QString taken = HalfWidth(key->text());
      if (taken == key->text()) return false;
      // The key is sent again with the half-width text; the full-width one goes no further.
      QKeyEvent again(key->type(), KeyOf(taken) ? KeyOf(taken) : key->key(), key->modifiers(), taken,
                      key->isAutoRepeat(), static_cast<ushort>(key->count()));
      QCoreApplication::sendEvent(watched, &again);
      return true;
    }
    return false;
  }
};

}  // namespace

void InstallHalfWidthInput(QCoreApplication& app) {
  static HalfWidthFilter* filter = nullptr;
  if (filter) return;
  filter = new HalfWidthFilter(&app);
  app.installEventFilter(filter);
}
