// kazoru-cli sheet: the practice sheet needs no window for its page and its list of problems; its two
// PDFs (the pupils' sheet and the answer key) are drawn with Qt by cli/qt/CmdSheetPrint.cpp.
#pragma once

#include <string>

struct Sheet;

// Prints the sheet (key false) or its answer key (key true) into a PDF file; pages receives the number of
// pages. Null in a build without Qt. False after telling the user what failed.
extern bool (*SheetPdfCommand)(const Sheet& sheet, const std::string& path, bool key, bool advice, int& pages);
