// Stay-on-top tool windows step down while a modal dialog of the program is open, so that none of them
// covers the dialog's buttons, and are on top again once the last modal dialog has gone.
#pragma once

class QWidget;

// Registers a stay-on-top tool window (the notebook's command box, the memo, the substitution box). The
// registration ends with the window.
void KeepBelowModalDialogs(QWidget* toolWindow);

// Whether a modal dialog of the program is open now, as the registered windows see it.
bool ModalDialogOpen();
