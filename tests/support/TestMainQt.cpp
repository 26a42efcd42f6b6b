// Main of the window tests: a QApplication on the offscreen platform (also when a test lister such as
// gtest_discover_tests starts the program without the test's environment), with a temporary
// configuration folder so that no test touches the user's settings. The offscreen platform's notes on
// what it cannot do (raise a window, grab the keyboard) are left out of the output; every other message
// of Qt's goes through.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "support/FreshProgramState.h"
#include "support/TestSupport.h"

namespace {

QtMessageHandler qtDefault = nullptr;

void QuietOffscreenNotes(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtWarningMsg && text.startsWith(QLatin1String("This plugin does not support"))) return;
  if (qtDefault) qtDefault(type, context, text);
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ::testing::InitGoogleTest(&argc, argv);
  setenv("XDG_CONFIG_HOME", TempDir().c_str(), 1);
  qtDefault = qInstallMessageHandler(QuietOffscreenNotes);
  QApplication app(argc, argv);
  InstallTestPlatform();
  StartEveryTestFresh();
  return RUN_ALL_TESTS();
}
