// What the calculation screen's commands need from the desktop: the line's commands themselves (the
// model's, screen/sikiInpCommands.h), printing, help, the home page, the detailed settings window, and
// Escape or a click stopping a prime factorisation.
#pragma once

// Installs the line's commands and the window services in the command table. Called once at start-up,
// after the calculation screen exists.
void InstallLineServices();
