// 「課題として配る」 in the browser's 問題づくり: the sheet the dialog shows now handed to a class as an
// assignment. The code comes from the same window-free Assignment as on every edition (so the same choices
// give the same code as the desktop and the batch tool), the link's site address is checked as the
// desktop's and kept with the settings; the page draws the link's QR code and prints it.
#include <emscripten.h>

#include <string>

#include "classroom/Assignment.h"
#include "engine/Settings.h"
#include "web/WebPlatform.h"
#include "web/WebSheets.h"

namespace {

const char* Give(std::string s) {
  static std::string result;
  result = std::move(s);
  return result.c_str();
}

std::string Choice(const char* id, const char* name) {
  return "{\"id\":" + JsonString(id) + ",\"name\":" + JsonString(name) + "}";
}

}  // namespace

extern "C" {

// The dialog's choices with their Japanese names, in the order shown:
// {final: [{id, name}], feedback: [{id, name}]}.
EMSCRIPTEN_KEEPALIVE const char* kz_ho_choices() {
  std::string s = "{\"final\":[";
  const AssignmentFinal finals[] = {AssignmentFinal::Mixed, AssignmentFinal::Improper,
                                    AssignmentFinal::Either};
  for (size_t i = 0; i < 3; ++i)
    s += (i ? "," : "") + Choice(AssignmentFinalId(finals[i]), AssignmentFinalName(finals[i]));
  s += "],\"feedback\":[";
  const AssignmentFeedback modes[] = {AssignmentFeedback::Now, AssignmentFeedback::End,
                                      AssignmentFeedback::None};
  for (size_t i = 0; i < 3; ++i)
    s += (i ? "," : "") + Choice(AssignmentFeedbackId(modes[i]), AssignmentFeedbackName(modes[i]));
  return Give(s + "]}");
}

// The site address the dialog starts with: the school's address kept with the settings, else the page's
// own address (pageAddress, without its fragment) when it is a web address, else the program's default.
EMSCRIPTEN_KEEPALIVE const char* kz_ho_site(const char* pageAddress) {
  return Give(HandoutSite(KADAI_SITE, pageAddress ? pageAddress : ""));
}

// The assignment of the dialog's sheet with the title, final form and feedback mode (their ids), its link
// on the site address typed: {message, code, grouped, link, problems, siteChanged}. message is "" when
// all is well; with a code it says the sheet has fewer problems than asked, without one why no code can
// be made (a site that is no web address among the reasons). A sound site is kept with the settings (""
// when it is the page's own address, which the links then follow); siteChanged tells the page to store
// the settings.
EMSCRIPTEN_KEEPALIVE const char* kz_ho_make(const char* title, const char* finalId, const char* feedbackId,
                                            const char* site, const char* pageAddress) {
  const Sheet& sheet = WebCurrentSheet();
  Assignment a;
  a.controls = sheet.controls;
  a.title = title ? title : "";
  const std::string siteText = site ? site : "";
  const std::string page = pageAddress ? pageAddress : "";
  std::string message, code;
  bool siteChanged = false;
  if (sheet.problems.empty()) {
    message = sheet.message.empty() ? "問題がありません。" : sheet.message;
  } else if (a.title.empty()) {
    message = "課題名を入れてください。";
  } else if (!ParseAssignmentFinal(finalId ? finalId : "", a.finalForm) ||
             !ParseAssignmentFeedback(feedbackId ? feedbackId : "", a.feedback)) {
    message = "答えの形と結果の見せ方を選んでください。";
  } else if (const std::string why = CheckSiteAddress(siteText); !why.empty()) {
    message = why;
  } else {
    const std::string kept = siteText == page ? std::string() : siteText;
    siteChanged = kept != KADAI_SITE;
    KADAI_SITE = kept;
    message = EncodeAssignment(a, code);
    if (message.empty()) message = sheet.message;
  }
  const std::string link = code.empty() ? std::string() : AssignmentLink(siteText, code);
  return Give("{\"message\":" + JsonString(message) + ",\"code\":" + JsonString(code) +
              ",\"grouped\":" + JsonString(code.empty() ? std::string() : GroupedCode(code)) +
              ",\"link\":" + JsonString(link) + ",\"problems\":" + std::to_string(sheet.problems.size()) +
              ",\"siteChanged\":" + (siteChanged ? "true" : "false") + "}");
}

}  // extern "C"
