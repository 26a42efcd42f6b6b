// Builds the program's windows in their start-up order and runs the event loop.
#pragma once

#include <QStringList>
#include <string>

class QApplication;
class QPrintDialog;
class QWidget;

// The program is Japanese whatever the system's language: Qt's own dialogs take Qt's Japanese
// translations (qtbase_ja, from Qt's translations folder) and every date, number and name of a day in
// them the Japanese locale. Returns whether the translations were found and installed.
bool UseJapanese(QApplication& app);
// Qt's file dialog writes its dates in the system's locale, which Qt reads from the environment once:
// before the application object exists, dates, numbers and messages are asked for in Japanese.
void UseJapaneseSystemLocale();
// The texts of a print dialog that Qt writes without asking the translations (the pages per sheet,
// "2 (2x1)") in Japanese; every print dialog of the program goes through it before it is shown.
void JapanesePrintDialog(QPrintDialog& dialog);

// The files a start asks to open: every argument after the program's name that is not an option
// ("kazoru page.siki", "kazoru a.kazoru b.kazoru", as a file manager starts them, or an assignment's link);
// empty when there are none.
QStringList FilesToOpen(const QStringList& arguments);
// Whether a file is a pupil's result file (".kazoru", in any case).
bool IsResultFile(const QString& path);
// Whether an argument is an assignment's link ("…#kadai=CODE") or code rather than a file.
bool IsAssignmentText(const QString& argument);
// Opens the files a start asked for, once the windows are up: one result file as that pupil's work (to
// look at, or to continue), several together in one class summary window over the screen; an
// assignment's link or code in the pupil's assignment window; the first other file as a notebook page.
void OpenStartFiles(const QStringList& files, QWidget* screen);

// quitAfterFirstTurn ends the event loop after its first turn (the window painted once), without
// closing the screen; start-up is timed with it. The files (notebook pages, result files) open once the
// windows are up.
int RunKazoru(QApplication& app, bool quitAfterFirstTurn = false, const QStringList& files = {});
