// Feeds arbitrary expressions and values to the substitution box: nothing may crash, loop or read past a
// text; when every value is free of letters the result holds none, and the result is never longer than
// the values written once into each letter plus the "*" and brackets around them. The same texts go
// through the editor's Show and Calculate and the memo's Add; a line as the editor shows it never holds
// the answer field of a line without a second "&".
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/BunMath.h"
#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "platform/Platform.h"
#include "screen/sikiInp.h"
#include "tools/BunSikiEdit.h"
#include "tools/ProgramState.h"
#include "tools/sikiEMemo.h"
#include "tools/xyDainyuu.h"

namespace {
bool HasLetter(const std::string& t) { return t.find_first_of("xyz") != std::string::npos; }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static RecordingPlatform platform;
  SetPlatform(&platform);
  platform.Clear();
  ResetProgramState();
  if (size > 600) return 0;
  // Newlines separate the expression and the values of x, y and z.
  std::string parts[4];
  int k = 0;
  for (size_t i = 0; i < size; ++i) {
    const char c = static_cast<char>(data[i]);
    if (c == '\n' && k < 3) {
      ++k;
      continue;
    }
    parts[k] += c;
  }
  std::string result;
  if (Substitute(parts[0], parts[1], parts[2], parts[3], result)) {
    const bool lettersInValues =
        HasLetter(parts[1]) || HasLetter(parts[2]) || HasLetter(parts[3]) || HasLetter(PaiText);
    std::string expression = parts[0];
    if (expression.find("pai") == std::string::npos && !lettersInValues && HasLetter(result) &&
        HasLetter(expression.substr(0, expression.find('#'))))
      std::abort();
    const size_t bound = 4 * (size + 3) * (parts[1].size() + parts[2].size() + parts[3].size() + 8) + 64;
    if (result.size() > bound) std::abort();
  }
  DainyuuCalculate(parts[0], parts[1], parts[2], parts[3]);
  DainyuuLook(parts[0]);
  EditorShow(parts[0]);
  const EditorOutcome computed = EditorCalculate(parts[0]);
  if (computed.done && computed.fieldText.find('&') != std::string::npos &&
      LineText.find('&') == LineText.rfind('&'))
    std::abort();
  const std::string shown = ShownLine(parts[0]);
  if (parts[0].find('&') == std::string::npos && shown != parts[0]) std::abort();
  FieldExpression(shown);
  MemoOpened();
  MemoAdd(parts[0]);
  MemoLook();
  MemoClosed();
  return 0;
}
