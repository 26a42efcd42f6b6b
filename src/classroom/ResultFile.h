// The pupil's result file (.kazoru): UTF-8 JSON with the assignment's code, who handed it in, when, and
// per problem what the pupil typed (the problem text, the working lines, the answer, the time spent) —
// never verdicts, which the teacher's summary computes again. The reader takes files from outside:
// sizes and depth are bounded and anything that is not a sound result file comes back with its reason.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

inline constexpr int RESULT_FORMAT_VERSION = 1;
inline constexpr const char* RESULT_FORMAT_NAME = "kazoru-result";
inline constexpr const char* RESULT_EXTENSION = ".kazoru";

// Bounds of a sound file (a sheet has at most 50 problems; a line of working at most a calculation line).
inline constexpr size_t RESULT_MAX_BYTES = 1 << 20;
inline constexpr size_t RESULT_MAX_PROBLEMS = 50;
inline constexpr size_t RESULT_MAX_LINES = 100;  // working lines of one problem
inline constexpr size_t RESULT_MAX_LINE_BYTES = 1024;
inline constexpr size_t RESULT_MAX_NAME_CHARS = 40;  // class and name, in characters
inline constexpr int64_t RESULT_MAX_NUMBER = 9999;
inline constexpr int64_t RESULT_MAX_SECONDS = 7 * 24 * 3600;

struct ResultProblem {
  std::string problem;  // the problem text as the pupil saw it
  std::vector<std::string> working;  // the steps in order, without the leading "="
  std::string answer;  // the last step, or "" when the problem was not done
  int64_t seconds = 0;
};

struct ResultFile {
  int version = RESULT_FORMAT_VERSION;
  std::string code;  // the assignment code
  std::string className;  // 組, e.g. 「5年2組」
  int64_t number = 0;  // 出席番号
  std::string name;
  std::string started;  // ISO-8601 with its offset, e.g. "2026-05-12T10:31:00+09:00"
  std::string handedIn;
  std::vector<ResultProblem> problems;
};

// The file's JSON text (UTF-8, one member a line, ending with a new line).
std::string WriteResultFile(const ResultFile& r);

// Reads a result file's bytes. Returns "" and sets out, or the Japanese reason it cannot be read: not
// JSON (and why), another format, a newer format version, a field missing or of the wrong type, too big,
// too many problems or lines, invalid UTF-8, a name with characters of a path, a time that is not one.
std::string ReadResultFile(const std::string& bytes, ResultFile& out);

// The file name 「組-番号-名前-課題名.kazoru」, with the characters a file system refuses (/ \ : * ? " < > |,
// control characters, a leading dot, trailing dots and spaces) replaced by "_", each part shortened so
// that the name stays within 255 bytes.
std::string ResultFileName(const ResultFile& r, const std::string& title);

// Seconds since 1970-01-01T00:00:00Z of an ISO-8601 time "YYYY-MM-DDTHH:MM:SS[.f][Z|±HH:MM]"; false when
// the text is not one (a time without an offset is read as UTC).
bool ParseIsoTime(const std::string& text, int64_t& seconds);
// An ISO-8601 text of seconds since 1970 at an offset of minutes east of UTC.
std::string IsoTime(int64_t seconds, int offsetMinutes);
