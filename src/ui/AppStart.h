// Builds the program's windows in their start-up order and runs the event loop.
#pragma once

#include <QStringList>
#include <string>

class QApplication;

// The program is Japanese whatever the system's language: Qt's own dialogs take Qt's Japanese
// translations (qtbase_ja, from Qt's translations folder) and every date, number and name of a day in
// them the Japanese locale. Returns whether the translations were found and installed.
bool UseJapanese(QApplication& app);
// Qt's file dialog writes its dates in the system's locale, which Qt reads from the environment once:
// before the application object exists, dates, numbers and messages are asked for in Japanese.
void UseJapaneseSystemLocale();

// The file a start asks to open: the first argument after the program's name that is not an option
// ("kazoru page.siki", as a file manager starts it); empty when there is none.
std::string FileToOpen(const QStringList& arguments);

// quitAfterFirstTurn ends the event loop after its first turn (the window painted once), without
// closing the screen; start-up is timed with it. A file (a notebook page) opens in the notebook once the
// windows are up.
int RunKazoru(QApplication& app, bool quitAfterFirstTurn = false, const std::string& file = "");
