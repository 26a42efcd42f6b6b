// The desktop's fields take full-width digits, letters and signs as half-width as they are typed: the
// text the input method commits and the text of key presses, in one-line and many-line fields alike;
// text still being composed and every other character stay as they are.
#include <gtest/gtest.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <functional>
#include <memory>

#include "ui/HalfWidthFields.h"

namespace {

struct Field {
  const char* kind;
  std::function<QWidget*()> make;
  std::function<QString(QWidget*)> text;
};

const Field FIELDS[] = {
    {"QLineEdit", [] { return new QLineEdit; },
     [](QWidget* w) { return static_cast<QLineEdit*>(w)->text(); }},
    {"QPlainTextEdit", [] { return new QPlainTextEdit; },
     [](QWidget* w) { return static_cast<QPlainTextEdit*>(w)->toPlainText(); }},
    {"QTextEdit", [] { return new QTextEdit; },
     [](QWidget* w) { return static_cast<QTextEdit*>(w)->toPlainText(); }},
};

void Commit(QWidget* w, const QString& text) {
  QInputMethodEvent e;
  e.setCommitString(text);
  QApplication::sendEvent(w, &e);
}

void Key(QWidget* w, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
  QApplication::sendEvent(w, &press);
}

}  // namespace

TEST(HalfWidthFields, CommittedAndKeyedTextIsHalfWidthInEveryKindOfField) {
  InstallHalfWidthInput(*QApplication::instance());
  for (const Field& f : FIELDS) {
    std::unique_ptr<QWidget> w(f.make());
    w->show();
    w->setFocus();
    Commit(w.get(), QString::fromUtf8("２ｂ１＋３ｂ１"));
    Key(w.get(), QString::fromUtf8("＝"));
    Commit(w.get(), QString::fromUtf8("　答えは５ｂ６"));
    EXPECT_EQ(f.text(w.get()), QString::fromUtf8("2b1+3b1= 答えは5b6")) << f.kind;
  }
}

TEST(HalfWidthFields, TextBeingComposedIsLeftToTheInputMethod) {
  InstallHalfWidthInput(*QApplication::instance());
  QLineEdit field;
  field.show();
  QInputMethodEvent composing(QString::fromUtf8("２ｂ"), {});
  QApplication::sendEvent(&field, &composing);
  EXPECT_EQ(composing.preeditString(), QString::fromUtf8("２ｂ"));
  Commit(&field, QString::fromUtf8("２ｂ"));
  EXPECT_EQ(field.text(), QStringLiteral("2b"));
}
