// Fuzz target for the pupils' result files and the class summary: any bytes are read without crashing or
// hanging; a file that reads is written again and reads back the same, its file name is one name (no
// path) of valid UTF-8; and when the first byte asks for it, the file's code is replaced by a sound one
// so that its working goes through the summary and the step checker.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "classroom/ClassJson.h"
#include "classroom/ClassSummary.h"
#include "platform/Platform.h"
#include "tools/ProgramState.h"

namespace {

std::string SoundCode() {
  static const std::string code = [] {
    Assignment a;
    a.controls.skill = "sum-unlike";
    a.controls.count = 3;
    a.controls.seed = 7;
    a.title = "ふざ";
    std::string c;
    EncodeAssignment(a, c);
    return c;
  }();
  return code;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static RecordingPlatform platform;
  SetPlatform(&platform);
  platform.Clear();
  ResetProgramState();
  if (size == 0) return 0;
  const bool summarise = (data[0] & 1) != 0;
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  ResultFile r;
  const std::string why = ReadResultFile(bytes, r);
  if (why.empty()) {
    ResultFile back;
    if (!ReadResultFile(WriteResultFile(r), back).empty()) std::abort();
    if (back.code != r.code || back.name != r.name || back.className != r.className ||
        back.number != r.number || back.handedIn != r.handedIn || back.problems.size() != r.problems.size())
      std::abort();
    for (size_t k = 0; k < r.problems.size(); ++k)
      if (back.problems[k].working != r.problems[k].working ||
          back.problems[k].answer != r.problems[k].answer)
        std::abort();
    const std::string name = ResultFileName(r, r.name);
    if (name.find('/') != std::string::npos || name.find('\\') != std::string::npos || name.size() > 255 ||
        !classjson::IsUtf8(name))
      std::abort();
  } else if (!classjson::IsUtf8(why)) {
    std::abort();
  }
  if (!summarise) return 0;
  std::string input = bytes;
  if (why.empty()) {
    r.code = SoundCode();
    input = WriteResultFile(r);
  }
  const ClassSummary s = SummariseClass({{"a.kazoru", input, ""}, {"b.kazoru", input, ""}});
  if (s.assignments.size() + (s.skipped.empty() ? 0 : 1) != 1) std::abort();
  for (const AssignmentSummary& a : s.assignments) {
    if (a.pupils.size() != 1 || a.superseded.size() != 1) std::abort();
    for (const SummaryPupil& p : a.pupils)
      if (p.cells.size() != a.problems.size() || p.score < 0 || p.score > static_cast<int>(a.problems.size()))
        std::abort();
  }
  for (const std::string& line : ClassSummaryJson(s)) {
    classjson::Value v;
    std::string err;
    size_t pos = 0;
    if (!classjson::Parse(line, v, err, pos)) std::abort();
  }
  const std::string csv = ClassSummaryCsv(s);
  if (csv.compare(0, 3, "\xEF\xBB\xBF") != 0) std::abort();
  return 0;
}
