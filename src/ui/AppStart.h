// Builds the program's windows in their start-up order and runs the event loop.
#pragma once

class QApplication;

// quitAfterFirstTurn ends the event loop after its first turn (the window painted once), without
// closing the screen; start-up is timed with it.
int RunKazoru(QApplication& app, bool quitAfterFirstTurn = false);
