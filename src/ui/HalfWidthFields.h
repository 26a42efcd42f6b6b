// Every field of the desktop program takes full-width digits, letters and signs as their half-width forms
// as they are typed (HalfWidthInput): the text the input method hands over and the text of key presses
// are taken before the field sees them. Installed once on the application.
#pragma once

class QCoreApplication;

void InstallHalfWidthInput(QCoreApplication& app);
