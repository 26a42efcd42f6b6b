// What a screen reader hears of the calculation page, which is a drawn picture: the page widget's
// accessible name is the reading of the current line (its answer and process included) and its
// description the status line, so each answer and each refused key's message is announced.
#pragma once

class QWidget;

// Brings the page's accessible name and description up to date with the line model and tells assistive
// technology when either changed.
void UpdatePageAccessibility(QWidget* page);
