// The dialog 「問題づくり」 in the browser over the same window-free sheet maker as the desktop's: the skills
// with their examples, the sheet made from the page's fields, the preview of its first problems, the sheet
// put on the notebook's page (with the desktop's question, through the platform's queue), and the pupils'
// sheet and the answer key as A4 drawing lists for the browser's print dialog.
#include <emscripten.h>

#include <string>
#include <vector>

#include "notebook/NoteSheet.h"
#include "sheets/Sheet.h"
#include "sheets/SheetPages.h"
#include "web/WebCanvas.h"
#include "web/WebPlatform.h"
#include "web/WebSheets.h"

namespace {

std::string& SheetResult() {
  static std::string r;
  return r;
}
const char* Give(std::string s) {
  SheetResult() = std::move(s);
  return SheetResult().c_str();
}

WebCanvas& Surface() {
  static WebCanvas canvas;
  return canvas;
}

// The sheet the dialog shows now.
Sheet& Current() {
  static Sheet sheet;
  return sheet;
}

constexpr int SCREEN_PPI = 96;
constexpr int ROW_HEIGHT = 48;
constexpr size_t PREVIEW_PROBLEMS = 5;

std::string Rows(const std::vector<std::string>& rows, bool numbered) {
  WebCanvas& c = Surface();
  c.browserMetrics = true;
  c.ClearOps();
  DrawSheetRows(c, rows, numbered, ROW_HEIGHT);
  return c.Serialise();
}

}  // namespace

const Sheet& WebCurrentSheet() { return Current(); }

extern "C" {

// Every skill in the dialog's order: id, name, example, the controls it takes (SheetControlBit) and its
// range of terms.
EMSCRIPTEN_KEEPALIVE const char* kz_sh_skills() {
  std::string s = "[";
  for (const SheetSkill& k : SheetSkills()) {
    if (s.size() > 1) s += ',';
    s += "{\"id\":" + JsonString(k.id) + ",\"name\":" + JsonString(k.name) +
         ",\"example\":" + JsonString(k.example) + ",\"controls\":" + std::to_string(k.controls) +
         ",\"minTerms\":" + std::to_string(k.minTerms) + ",\"maxTerms\":" + std::to_string(k.maxTerms) + "}";
  }
  return Give(s + "]");
}

// Makes the sheet from the dialog's fields (reduce: 0 either, 1 reduces, 2 does not; maxAnswer 0: none);
// a control the skill does not take is left at its neutral value, as the desktop dialog leaves it. Returns
// {message, title, problems: [{expr, answer}]}.
EMSCRIPTEN_KEEPALIVE const char* kz_sh_make(const char* skill, int count, int maxDen, int terms, int reduce,
                                            int maxAnswer, int mixed, const char* seed, int version) {
  SheetControls c;
  c.skill = skill ? skill : "";
  c.count = count;
  c.maxDen = maxDen;
  c.terms = terms;
  c.reduce = reduce == 1 ? ReduceRule::Yes : reduce == 2 ? ReduceRule::No : ReduceRule::Any;
  c.maxAnswer = maxAnswer;
  c.mixedAnswers = mixed != 0;
  c.version = version >= 'A' && version <= 'Z' ? static_cast<char>(version) : 'A';
  if (const SheetSkill* k = FindSheetSkill(c.skill)) {
    if (!(k->controls & CONTROL_MAX_DEN)) c.maxDen = SheetControls{}.maxDen;
    if (!(k->controls & CONTROL_REDUCE)) c.reduce = ReduceRule::Any;
    if (!(k->controls & CONTROL_MAX_ANSWER)) c.maxAnswer = 0;
    if (!(k->controls & CONTROL_MIXED)) c.mixedAnswers = true;
    if (c.terms < k->minTerms || c.terms > k->maxTerms) c.terms = k->minTerms;
  }
  const std::string why = ParseSheetSeed(seed ? seed : "", c.seed);
  if (!why.empty()) {
    Current() = Sheet{};
    Current().message = why;
  } else {
    Current() = MakeSheet(c);
  }
  const Sheet& sheet = Current();
  std::string s = "{\"message\":" + JsonString(sheet.message) +
                  ",\"title\":" + JsonString(sheet.skill ? SheetTitle(sheet) : std::string()) +
                  ",\"problems\":[";
  for (size_t i = 0; i < sheet.problems.size(); ++i)
    s += (i ? ",{" : "{") + std::string("\"expr\":") + JsonString(sheet.problems[i].expr) +
         ",\"answer\":" + JsonString(sheet.problems[i].answer) + "}";
  return Give(s + "]}");
}

// The drawing list of the first problems (numbered), or of one skill's example (skill ≥ 0), on white rows
// ROW_HEIGHT pixels high.
EMSCRIPTEN_KEEPALIVE const char* kz_sh_rows(int skill) {
  std::vector<std::string> rows;
  if (skill >= 0) {
    if (static_cast<size_t>(skill) < SheetSkills().size())
      rows.push_back(SheetSkills()[static_cast<size_t>(skill)].example);
    return Give(Rows(rows, false));
  }
  for (size_t i = 0; i < Current().problems.size() && i < PREVIEW_PROBLEMS; ++i)
    rows.push_back(Current().problems[i].expr);
  return Give(Rows(rows, true));
}
EMSCRIPTEN_KEEPALIVE int kz_sh_row_height() { return ROW_HEIGHT; }

// 「ノートに作る」: 1 when the sheet is on the notebook's page (the page repeats it with the pupil's answer).
EMSCRIPTEN_KEEPALIVE int kz_sh_to_page() { return MakeSheetIntoNotebook(Current()) ? 1 : 0; }

// The pupils' sheet (key 0) or the answer key (key 1, with advice when asked) as A4 sheets at 96 pixels
// per inch, each a drawing list, separated by a line "P"; nothing when the sheet has no problems.
EMSCRIPTEN_KEEPALIVE const char* kz_sh_print(int key, int advice) {
  std::string out;
  if (Current().problems.empty()) return Give(out);
  WebCanvas& c = Surface();
  c.browserMetrics = true;
  c.ClearOps();
  const SheetPaper paper{NotePageWidth(SCREEN_PPI), NoteA4Height(SCREEN_PPI), SCREEN_PPI, 1};
  auto next = [&out, &c] {
    out += c.Serialise();
    out += "P\n";
    c.ClearOps();
    return true;
  };
  if (key)
    DrawSheetKeyPages(c, Current(), advice != 0, paper, next);
  else
    DrawSheetPages(c, Current(), paper, next);
  next();
  return Give(std::move(out));
}

}  // extern "C"
