// 「課題として配る」 in the browser's 問題づくり: the sheet the dialog shows now handed to a class as an
// assignment. The code comes from the same window-free Assignment as on every edition (so the same choices
// give the same code as the desktop and the batch tool); the page draws the link's QR code and prints it.
#include <emscripten.h>

#include <string>

#include "classroom/Assignment.h"
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

// The assignment of the dialog's sheet with the title, final form and feedback mode (their ids), its link
// on the site's address: {message, code, grouped, link, problems}. message is "" when all is well; with
// a code it says the sheet has fewer problems than asked, without one why no code can be made.
EMSCRIPTEN_KEEPALIVE const char* kz_ho_make(const char* title, const char* finalId, const char* feedbackId,
                                            const char* site) {
  const Sheet& sheet = WebCurrentSheet();
  Assignment a;
  a.controls = sheet.controls;
  a.title = title ? title : "";
  std::string message, code;
  if (sheet.problems.empty()) {
    message = sheet.message.empty() ? "問題がありません。" : sheet.message;
  } else if (a.title.empty()) {
    message = "課題名を入れてください。";
  } else if (!ParseAssignmentFinal(finalId ? finalId : "", a.finalForm) ||
             !ParseAssignmentFeedback(feedbackId ? feedbackId : "", a.feedback)) {
    message = "答えの形と結果の見せ方を選んでください。";
  } else {
    message = EncodeAssignment(a, code);
    if (message.empty()) message = sheet.message;
  }
  const std::string link = code.empty() ? std::string() : AssignmentLink(site ? site : "", code);
  return Give("{\"message\":" + JsonString(message) + ",\"code\":" + JsonString(code) + ",\"grouped\":" +
              JsonString(code.empty() ? std::string() : GroupedCode(code)) + ",\"link\":" + JsonString(link) +
              ",\"problems\":" + std::to_string(sheet.problems.size()) + "}");
}

}  // extern "C"
