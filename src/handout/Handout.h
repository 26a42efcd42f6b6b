// Handing an assignment out: the pupils' sheet on paper with the QR code of the link, the code in text for typing it
// in by hand, then the problems laid out as the practice sheet lays them out.
#pragma once

#include <string>

#include "sheets/SheetPages.h"

struct Assignment;

// The pupils' sheet of an assignment: on each page a band with the QR code of link, the assignment's
// title, its code grouped in fours and the link in text, and under it the practice sheet of the
// assignment's problems (name line, [1], [2] … with room to work). Returns the pages drawn; nothing when
// the assignment makes no problems.
int DrawHandoutPages(Canvas& surface, const Assignment& a, const std::string& code, const std::string& link,
                     const SheetPaper& paper, const NextSheetPage& next);
