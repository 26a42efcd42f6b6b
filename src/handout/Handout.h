// Handing an assignment out: the site address its link points to (the school's copy of the site, a
// setting), and the pupils' sheet on paper with the QR code of the link, the code in text for typing it
// in by hand, then the problems laid out as the practice sheet lays them out.
#pragma once

#include <string>

#include "sheets/SheetPages.h"

struct Assignment;

// The site the links point to: the setting when it holds an address, else the program's default.
std::string HandoutSite(const std::string& setting);

// "" when text is a site address a link can start with (http:// or https://, printable ASCII without
// spaces, at most HANDOUT_SITE_MAX characters), else the Japanese message saying what is wrong.
inline constexpr size_t HANDOUT_SITE_MAX = 200;
std::string CheckSiteAddress(const std::string& text);

// The pupils' sheet of an assignment: on each page a band with the QR code of link, the assignment's
// title, its code grouped in fours and the link in text, and under it the practice sheet of the
// assignment's problems (name line, [1], [2] … with room to work). Returns the pages drawn; nothing when
// the assignment makes no problems.
int DrawHandoutPages(Canvas& surface, const Assignment& a, const std::string& code, const std::string& link,
                     const SheetPaper& paper, const NextSheetPage& next);
