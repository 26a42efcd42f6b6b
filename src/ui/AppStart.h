// Builds the program's windows in their start-up order and runs the event loop.
#pragma once

class QApplication;

int RunKazoru(QApplication& app);
