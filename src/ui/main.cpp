// Starts the desktop program: Japanese texts for Qt's own dialogs, the platform door, the calculation screen.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "ui/AppStart.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("kazoru");
  QApplication::setOrganizationName("kazoru");
  QTranslator qtBase;
  if (qtBase.load(QLocale(QLocale::Japanese), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtBase);
  return RunKazoru(app);
}
