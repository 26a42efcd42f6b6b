// Printing into a PDF file without ever leaving a broken one. Qt's PDF writer does not report a write
// that failed (a full disk, a file-size limit), and a program ended half-way leaves half a file: so the
// page is printed into a temporary file beside the chosen one, which replaces the chosen file only once
// it is whole (it ends with the PDF trailer) and flushed to the device.
#pragma once

#include <functional>

class QPrinter;

// draw prints on the printer and says whether the printer could start. A printer that prints to a PDF
// file is pointed at the temporary file for the draw and back at the chosen file afterwards; any other
// printer is handed to draw as it is. False when the draw failed or the file could not be written whole;
// the chosen file is then as it was before.
bool PrintSafely(QPrinter& printer, const std::function<bool(QPrinter&)>& draw);
// What the user is told when PrintSafely fails: the file could not be printed to, or the printer did
// not start.
const char* PrintFailedText(const QPrinter& printer);
