// The class summary in the browser: the result files the teacher opened (picked, dropped or a folder) are
// handed over as bytes, summarised by the same window-free ClassSummary as the desktop's and the batch
// tool's, and given back to the page as the table's texts, the bar chart of mistakes and the printed pages
// (both drawn by ClassSummaryDraw through the page's canvas) and the CSV for a spreadsheet.
#include <emscripten.h>

#include <cstdint>
#include <string>
#include <vector>

#include "classroom/ClassJson.h"
#include "classroom/ClassSummary.h"
#include "classroom/ClassSummaryDraw.h"
#include "web/WebCanvas.h"

namespace {

const char* Give(std::string s) {
  static std::string result;
  result = std::move(s);
  return result.c_str();
}

std::vector<ClassInputFile>& Inputs() {
  static std::vector<ClassInputFile> files;
  return files;
}

ClassSummary& Summary() {
  static ClassSummary summary;
  return summary;
}

std::string& Csv() {
  static std::string csv;
  return csv;
}

WebCanvas& Surface() {
  static WebCanvas canvas;
  return canvas;
}

constexpr int CHART_POINTS = 9;  // the chart's type, as ClassSummaryDraw sets it

void Mistakes(classjson::Writer& w, const std::vector<MistakeCount>& list, const char* countKey) {
  w.Array();
  for (const MistakeCount& m : list)
    w.Object()
        .Key("id")
        .String(m.id)
        .Key("name")
        .String(SummaryMistakeName(m.id))
        .Key("example")
        .String(SummaryMistakeExample(m.id))
        .Key(countKey)
        .Int(m.count)
        .End();
  w.End();
}

void Strings(classjson::Writer& w, const std::vector<std::string>& list) {
  w.Array();
  for (const std::string& s : list) w.String(s);
  w.End();
}

void Pupil(classjson::Writer& w, const SummaryPupil& p) {
  w.Object().Key("class").String(p.className).Key("number").Int(p.number).Key("name").String(p.name);
  w.Key("file").String(p.file).Key("handedIn").String(p.handedIn).Key("score").Int(p.score);
  w.Key("seconds")
      .Int(p.seconds)
      .Key("time")
      .String(DurationText(p.seconds))
      .Key("tampered")
      .Bool(p.tampered);
  w.Key("cells").Array();
  for (const SummaryCell& c : p.cells) {
    w.Object().Key("verdict").String(CellVerdictId(c.verdict)).Key("mark").String(CellVerdictMark(c.verdict));
    w.Key("text").String(CellText(c)).Key("mistakes").Array();
    for (const std::string& id : c.mistakes) w.String(SummaryMistakeName(id));
    w.End().End();
  }
  w.End().Key("mistakes").Array();
  for (const std::string& id : p.mistakes)
    w.Object()
        .Key("id")
        .String(id)
        .Key("name")
        .String(SummaryMistakeName(id))
        .Key("advice")
        .String(SummaryMistakeAdvice(id))
        .End();
  w.End().End();
}

// Everything the page shows, in the order shown: per assignment its title and choices, the problems with
// their right counts and most frequent mistakes, the pupils with their cells, the mistakes by pupils and
// the replaced and edited files; then the files that could not be read with the reason.
std::string PageJson(const ClassSummary& s) {
  classjson::Writer w;
  w.Object().Key("assignments").Array();
  for (const AssignmentSummary& a : s.assignments) {
    w.Object().Key("code").String(a.code).Key("title").String(a.assignment.title);
    w.Key("final").String(AssignmentFinalName(a.assignment.finalForm));
    w.Key("feedback").String(AssignmentFeedbackName(a.assignment.feedback));
    w.Key("problems").Array();
    for (const SummaryProblem& p : a.problems) {
      w.Object().Key("problem").String(p.problem).Key("text").String(ReadableProblem(p.problem));
      w.Key("answer").String(ReadableProblem(p.answer)).Key("right").Int(p.right).Key("mistakes");
      Mistakes(w, p.mistakes, "count");
      w.End();
    }
    w.End().Key("pupils").Array();
    for (const SummaryPupil& p : a.pupils) Pupil(w, p);
    w.End().Key("mistakes");
    Mistakes(w, a.mistakes, "pupils");
    w.Key("superseded");
    Strings(w, a.superseded);
    w.Key("tampered");
    Strings(w, a.tampered);
    w.End();
  }
  w.End().Key("skipped").Array();
  for (const SkippedFile& f : s.skipped)
    w.Object().Key("file").String(f.file).Key("reason").String(f.reason).End();
  w.End().End();
  return w.Text();
}

const AssignmentSummary* Nth(int assignment) {
  const ClassSummary& s = Summary();
  if (assignment < 0 || static_cast<size_t>(assignment) >= s.assignments.size()) return nullptr;
  return &s.assignments[static_cast<size_t>(assignment)];
}

}  // namespace

extern "C" {

// Forgets the files handed over so far (a new set is being opened).
EMSCRIPTEN_KEEPALIVE void kz_cs_clear() {
  Inputs().clear();
  Inputs().shrink_to_fit();
}

// One file: its name as shown (a folder's files with their path in it), its size and its bytes. A file
// larger than a result file can be is not handed over (bytes null): it is listed with the reason. A file
// the browser could not read comes with readError instead.
EMSCRIPTEN_KEEPALIVE void kz_cs_add(const char* name, double size, const unsigned char* bytes, int length,
                                    const char* readError) {
  ClassInputFile f;
  f.name = name ? name : "";
  if (readError && *readError) {
    f.readError = readError;
  } else if (size > static_cast<double>(RESULT_MAX_BYTES)) {
    f.readError = ResultTooBigReason(size < 1e18 ? static_cast<uint64_t>(size) : UINT64_MAX);
  } else if (bytes && length > 0) {
    f.bytes.assign(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length));
  }
  Inputs().push_back(std::move(f));
}

// The largest file worth reading into memory; a larger one is handed over by its size alone.
EMSCRIPTEN_KEEPALIVE double kz_cs_max_bytes() { return static_cast<double>(RESULT_MAX_BYTES); }

// Summarises the files handed over (pupils by class and number) and gives the page's JSON.
EMSCRIPTEN_KEEPALIVE const char* kz_cs_summarise() {
  Summary() = SummariseClass(Inputs());
  return Give(PageJson(Summary()));
}

// Sorts one assignment's pupils (0 by number, 1 score high first, 2 score low first, 3 by the verdict of
// one problem) and gives the page's JSON again.
EMSCRIPTEN_KEEPALIVE const char* kz_cs_sort(int assignment, int order, int problem) {
  ClassSummary& s = Summary();
  if (assignment >= 0 && static_cast<size_t>(assignment) < s.assignments.size() && order >= 0 && order <= 3)
    SortPupils(s.assignments[static_cast<size_t>(assignment)], static_cast<PupilOrder>(order),
               problem > 0 ? static_cast<size_t>(problem) : 0);
  return Give(PageJson(s));
}

// The height in pixels the bar chart of one assignment takes at the page's resolution.
EMSCRIPTEN_KEEPALIVE int kz_cs_chart_height(int assignment) {
  const AssignmentSummary* a = Nth(assignment);
  if (!a) return 0;
  WebCanvas& c = Surface();
  c.browserMetrics = true;
  c.SetFontSize(CHART_POINTS);
  const int line = c.TextHeight("あ");
  const int rows = a->mistakes.empty() ? 1 : static_cast<int>(a->mistakes.size());
  return line * 3 / 2 + rows * (line * 2 + 2 * c.PixelsPerInch() * 10 / 254) + line / 2;
}

// The drawing list of one assignment's bar chart of mistakes, width × height pixels.
EMSCRIPTEN_KEEPALIVE const char* kz_cs_chart(int assignment, int width, int height) {
  const AssignmentSummary* a = Nth(assignment);
  WebCanvas& c = Surface();
  c.browserMetrics = true;
  c.ClearOps();
  if (a) DrawMistakeChart(c, *a, {0, 0, width, height});
  return Give(c.Serialise());
}

// The printout on pages of width × height pixels at 96 per inch (A4 landscape: 1123 × 794), each page a
// drawing list followed by a line "P"; nothing when there is nothing to print.
EMSCRIPTEN_KEEPALIVE const char* kz_cs_print(int width, int height) {
  const ClassSummary& s = Summary();
  std::string out;
  if (s.assignments.empty() && s.skipped.empty()) return Give(out);
  WebCanvas& c = Surface();
  c.browserMetrics = true;
  const int pages = ClassSummaryPageCount(c, s, width, height);
  for (int k = 0; k < pages; ++k) {
    c.ClearOps();
    DrawClassSummaryPage(c, s, width, height, k);
    out += c.Serialise();
    out += "P\n";
  }
  return Give(std::move(out));
}

// The summary as CSV (UTF-8 with a byte order mark, for a spreadsheet): kz_cs_csv() makes it and gives its
// length, kz_cs_csv_bytes() where its bytes are. The page copies the bytes as they are (a text decoder
// would drop the byte order mark).
EMSCRIPTEN_KEEPALIVE int kz_cs_csv() {
  Csv() = ClassSummaryCsv(Summary());
  return static_cast<int>(Csv().size());
}
EMSCRIPTEN_KEEPALIVE const char* kz_cs_csv_bytes() { return Csv().data(); }

}  // extern "C"
