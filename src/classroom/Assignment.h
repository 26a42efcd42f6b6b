// An assignment: a practice sheet handed to a class. Everything that makes the sheet (skill, controls,
// seed, version) with the teacher's title, the final form asked and when the pupil sees verdicts travels
// as a short code (ASCII, URL-safe, at most ASSIGNMENT_CODE_MAX characters, with a check) in a link's
// fragment, so the same code makes the same problems on every edition and no server is needed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sheets/Sheet.h"
#include "steps/StepCheck.h"

// The finished form a right answer must have.
enum class AssignmentFinal { Mixed, Improper, Either };
// When the pupil sees the step checker's verdicts: after each step, after handing in, or never (a test).
enum class AssignmentFeedback { Now, End, None };

inline constexpr int ASSIGNMENT_FORMAT = 1;  // the code's format version
inline constexpr size_t ASSIGNMENT_CODE_MAX = 200;  // characters of a code
inline constexpr const char* ASSIGNMENT_LINK_KEY = "#kadai=";
// The site a link points to until the teacher sets the school's own copy.
inline constexpr const char* ASSIGNMENT_DEFAULT_SITE = "https://kazoru.example.org/";

struct Assignment {
  SheetControls controls;
  std::string title;  // the teacher's title, UTF-8 (e.g. 「5年2組 分数のひき算」)
  AssignmentFinal finalForm = AssignmentFinal::Either;
  AssignmentFeedback feedback = AssignmentFeedback::Now;
};

// Makes the code of an assignment. Returns "" and sets code, or the Japanese message of what cannot be
// carried (controls the sheet refuses, a title that is not text or leaves the code too long).
std::string EncodeAssignment(const Assignment& a, std::string& code);

// Reads a code, or a whole link that carries one ("…#kadai=CODE"); case, spaces and hyphens do not
// matter. Returns "" and sets a, or the message a pupil sees: a damaged or cut code, an unknown format
// version (made by a newer Kazoru), a skill this Kazoru does not know.
std::string DecodeAssignment(const std::string& text, Assignment& a);

// The code as written in a text or link: the part after "#kadai=" when there is one, else the text.
std::string CodeOfText(const std::string& text);

// "" when text is a site address a link can start with (http:// or https://, printable ASCII without
// spaces, at most HANDOUT_SITE_MAX characters), else the Japanese message saying what is wrong.
inline constexpr size_t HANDOUT_SITE_MAX = 200;
std::string CheckSiteAddress(const std::string& text);
// The site the links point to: the setting when it holds an address, else the fallback when that does
// (the browser's own address), else the program's default.
std::string HandoutSite(const std::string& setting, const std::string& fallback = ASSIGNMENT_DEFAULT_SITE);

// The link: the site's address (a trailing "#…" dropped) with the code in the fragment.
std::string AssignmentLink(const std::string& site, const std::string& code);

// The code grouped in fours for printing ("ABCD-EFGH-…"); reading ignores the hyphens.
std::string GroupedCode(const std::string& code);

// "mixed", "improper", "either" and "now", "end", "none": the ids of the batch tool and the JSON.
const char* AssignmentFinalId(AssignmentFinal f);
const char* AssignmentFeedbackId(AssignmentFeedback f);
bool ParseAssignmentFinal(const std::string& id, AssignmentFinal& f);
bool ParseAssignmentFeedback(const std::string& id, AssignmentFeedback& f);
// Japanese names for the windows (帯分数 / 仮分数 / どちらでも, すぐに / 提出のあとで / 見せない).
const char* AssignmentFinalName(AssignmentFinal f);
const char* AssignmentFeedbackName(AssignmentFeedback f);

// The step checker's options for this assignment's problems (Either checks as mixed and accepts an
// improper answer; see AssignmentFinalNoteCounts).
StepOptions AssignmentStepOptions(const Assignment& a);
// Whether a final note of the step checker makes an answer unfinished under the assignment's form.
bool AssignmentFinalNoteCounts(const Assignment& a, const std::string& note);

// The 16-bit key a code names a skill by (distinct for every skill; a new skill must keep it so).
uint16_t AssignmentSkillKey(const std::string& id);

// The assignment's problems: the sheet of its controls (the same on every edition).
Sheet AssignmentSheet(const Assignment& a);
