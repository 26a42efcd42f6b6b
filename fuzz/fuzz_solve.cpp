// Feeds arbitrary texts to the first-degree solver: nothing may crash, hang or read past a text; a
// failure is "n", and a success names one of the five relations and writes the solution it returns.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/BunMath.h"
#include "engine/Bunsuuh.h"
#include "engine/Houtei1ji.h"
#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "platform/Platform.h"
#include "tools/ProgramState.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static RecordingPlatform platform;
  SetPlatform(&platform);
  platform.Clear();
  ResetProgramState();
  if (size > 1024) return 0;  // the calculation line holds 256 characters; far longer adds nothing
  // The first byte chooses the answer form and the echo; the rest is the equation.
  ANSSYU = size > 0 ? data[0] % 3 : 0;
  const int echo = size > 0 ? (data[0] >> 2) & 1 : 0;
  std::string text(reinterpret_cast<const char*>(data) + (size > 0 ? 1 : 0), size > 0 ? size - 1 : 0);

  std::string r = SolveLinear(text, echo);
  if (r == "n") return 0;
  if (RelationKind < 0 || RelationKind > 4) std::abort();
  std::string expected =
      echo ? text + "&" + SolutionText : SolutionText.substr(1 + RelationSymbol(RelationKind).size());
  if (r != expected || SolutionText.rfind("x" + RelationSymbol(RelationKind), 0) != 0) std::abort();
  if (!SolverMessage.empty()) std::abort();
  return 0;
}
