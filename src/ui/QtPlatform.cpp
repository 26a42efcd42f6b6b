// Qt implementation of the platform door.
#include "ui/QtPlatform.h"

#include <QApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QInputMethod>
#include <QMessageBox>
#include <QProcess>

#include "platform/Speech.h"

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

QWidget* QtPlatform::AskingWindow() const {
  // The window the pupil is working in asks: an open modal dialog, else the active window. A tool window
  // asks through the window it serves (the command box through the notebook, the panel through the
  // screen); the timed notice box closes by itself and never holds a question.
  QWidget* w = QApplication::activeModalWidget();
  if (!w || w->inherits("TSplshMsgForm")) w = QApplication::activeWindow();
  while (w && (w->windowType() == Qt::Tool || w->inherits("TSplshMsgForm")) && w->parentWidget())
    w = w->parentWidget()->window();
  if (w && w->inherits("TSplshMsgForm")) w = nullptr;
  if (w && w->isVisible()) return w;
  return lastAsker_ && lastAsker_->isVisible() ? lastAsker_.data() : owner_;
}

void QtPlatform::GiveFocusBack(QWidget* asker) {
  lastAsker_ = asker;
  if (!asker || !asker->isVisible() || asker->isMinimized() || QApplication::activeModalWidget()) return;
  asker->raise();
  asker->activateWindow();
}

QtPlatform& TheQtPlatform() {
  static QtPlatform p;
  return p;
}

MsgAnswer QtPlatform::MessageBox(const std::string& text, const std::string& caption, MsgButtons buttons,
                                 MsgIcon icon) {
  QWidget* asker = AskingWindow();
  QMessageBox box(asker);
  box.setWindowTitle(Q(caption));
  box.setText(Q(text));
  switch (icon) {
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MsgIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Error: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::None: break;
  }
  switch (buttons) {
    case MsgButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case MsgButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MsgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MsgButtons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
  }
  const int answer = box.exec();
  GiveFocusBack(asker);
  switch (answer) {
    case QMessageBox::Cancel: return MsgAnswer::Cancel;
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    default: return buttons == MsgButtons::YesNoCancel ? MsgAnswer::Cancel : MsgAnswer::Ok;
  }
}

void QtPlatform::ShowNotice(const std::string& text, const std::string& caption, int durationMs) {
  if (noticeHandler) {
    noticeHandler(text, caption, durationMs);
    return;
  }
  // Before the notice box exists a plain message stands in for it.
  std::string shown = text;
  if (!shown.empty() && (shown[0] == '$' || shown[0] == '@')) shown = shown.substr(1);
  MessageBox(shown, caption, MsgButtons::Ok, MsgIcon::Information);
}

void QtPlatform::Beep() { QApplication::beep(); }

bool QtPlatform::InterruptRequested() {
  // Let queued key and mouse events arrive; the special-mode code installs its own filter for Escape.
  QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
  return interruptFlag_;
}

bool QtPlatform::InputBox(const std::string& caption, const std::string& prompt, std::string& value) {
  bool ok = false;
  QWidget* asker = AskingWindow();
  QString r = QInputDialog::getText(asker, Q(caption), Q(prompt), QLineEdit::Normal, Q(value), &ok);
  GiveFocusBack(asker);
  if (ok) value = r.toStdString();
  return ok;
}

std::string QtPlatform::OpenFileName(const std::string& caption, const std::string& filter,
                                     const std::string& startPath) {
  QWidget* asker = AskingWindow();
  const QString path = QFileDialog::getOpenFileName(asker, Q(caption), Q(startPath), Q(filter));
  GiveFocusBack(asker);
  return path.toStdString();
}

std::string QtPlatform::SaveFileName(const std::string& caption, const std::string& filter,
                                     const std::string& startPath) {
  QWidget* asker = AskingWindow();
  const QString path = QFileDialog::getSaveFileName(asker, Q(caption), Q(startPath), Q(filter));
  GiveFocusBack(asker);
  return path.toStdString();
}

void QtPlatform::SetJapaneseInput(bool on) {
  // Qt has no portable switch of the input method; the hint asks for Latin entry where it matters.
  if (QWidget* w = QApplication::focusWidget()) w->setAttribute(Qt::WA_InputMethodEnabled, on);
}

bool QtPlatform::Speak(const std::string& kana) {
  StopSpeaking();
  const std::string program = FindSpeechProgram();
  if (program.empty() || !QCoreApplication::instance()) return false;
  if (!speech_) {
    speech_ = new QProcess(QCoreApplication::instance());
    speech_->setProcessChannelMode(QProcess::MergedChannels);
    speech_->setStandardOutputFile(QProcess::nullDevice());
  }
  QStringList args;
  for (const auto& a : SpeechArguments(kana)) args << QString::fromStdString(a);
  speech_->start(QString::fromStdString(program), args);
  return true;
}

void QtPlatform::StopSpeaking() {
  if (!speech_ || speech_->state() == QProcess::NotRunning) return;
  speech_->kill();
  speech_->waitForFinished(500);
}

bool QtPlatform::Speaking() const { return speech_ && speech_->state() != QProcess::NotRunning; }
