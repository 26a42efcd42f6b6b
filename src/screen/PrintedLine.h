// The calculation line with its process on a sheet of paper, as the printed page shows it: the start mark,
// the line and its process from two rows in, measured on the paper's own surface. The desktop prints it on
// a printer, the browser edition draws it as a drawing list for the browser's print dialog.
#pragma once

#include "platform/Canvas.h"

// Draws the current line (and its process when one is made) on the surface in the screen's font on white,
// bars penWidth wide. The screen's own measures and surface are as they were afterwards.
void DrawPrintedLine(Canvas& surface, int penWidth);

// What printing says when there is no line to print, under the caption "報告！".
inline constexpr const char* PRINT_NO_LINE_TEXT = "印刷する行がありません。";
inline constexpr const char* PRINT_NO_LINE_CAPTION = "報告！";
