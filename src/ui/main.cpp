// Starts the desktop program: Japanese texts for Qt's own dialogs, the platform door, the calculation screen,
// and the files named on the command line (a notebook page, pupils' result files).
#include <QApplication>

#include "ui/AppStart.h"

int main(int argc, char** argv) {
  UseJapaneseSystemLocale();
  QApplication app(argc, argv);
  QApplication::setApplicationName("kazoru");
  QApplication::setOrganizationName("kazoru");
  UseJapanese(app);
  return RunKazoru(app, false, FilesToOpen(QApplication::arguments()));
}
