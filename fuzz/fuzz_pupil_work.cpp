// Fuzz target for the pupil's work kept on the device: any bytes are read as a storage form without
// crashing or hanging; a form that reads is written again and reads back the same, its verdicts can be
// asked for, and when the pupil has said who they are it hands in a file the teacher's reader takes.
// When the first byte asks for it, the rest is typed as a problem's working into a sound assignment, or read
// as a result file handed in to continue its work; the same bytes as a code name the file the work is kept
// in, which stays a plain name.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "classroom/ClassJson.h"
#include "classroom/PupilWork.h"
#include "platform/Platform.h"
#include "tools/ProgramState.h"

namespace {

const PupilWork& SoundWork() {
  static const PupilWork work = [] {
    Assignment a;
    a.controls.skill = "sum-unlike";
    a.controls.count = 3;
    a.controls.seed = 7;
    a.title = "ふざ";
    std::string code;
    EncodeAssignment(a, code);
    PupilWork w;
    OpenPupilWork(code, w);
    SetPupilName(w, "1組", 1, "ふざ");
    return w;
  }();
  return work;
}

void CheckHandIn(PupilWork w) {
  if (!CheckPupilName(w.className, w.number, w.name).empty()) return;
  std::string name, bytes;
  if (!HandInPupilWork(w, 1778549400, 540, name, bytes).empty()) std::abort();
  ResultFile r;
  if (!ReadResultFile(bytes, r).empty()) std::abort();
  if (name.find('/') != std::string::npos || !classjson::IsUtf8(name)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static RecordingPlatform platform;
  SetPlatform(&platform);
  platform.Clear();
  ResetProgramState();
  if (size == 0) return 0;
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (data[0] & 1) {
    PupilWork w = SoundWork();
    const std::string why = SetPupilWorking(w, data[0] >> 1 & 3, bytes);
    if (!classjson::IsUtf8(why)) std::abort();
    AskPupilHint(w, 0);
    for (size_t k = 0; k < w.problems.size(); ++k) {
      PupilProblemFeedback(w, k);
      if (!PupilProblemReview(w, k).shown) std::abort();
    }
    PupilWork back;
    if (!ReadPupilWork(WritePupilWork(w), back).empty()) std::abort();
    CheckHandIn(w);
    return 0;
  }
  // The name of the file a device keeps work in, from any code: a plain name, never a path.
  const std::string store = PupilWorkStoreName(bytes);
  if (store.find('/') != std::string::npos || store.find('\\') != std::string::npos ||
      store.find("..") != std::string::npos)
    std::abort();
  PupilWork w;
  const std::string why = (data[0] & 2) ? ContinuePupilWork(bytes, w) : ReadPupilWork(bytes, w);
  if (!classjson::IsUtf8(why)) std::abort();
  if (!why.empty()) return 0;
  const std::string text = WritePupilWork(w);
  PupilWork back;
  if (!ReadPupilWork(text, back).empty() || WritePupilWork(back) != text) std::abort();
  if (PupilDoneCount(w) > w.problems.size()) std::abort();
  PupilProblemFeedback(w, w.current);
  CheckHandIn(w);
  return 0;
}
