// The notebook's ".siki" file: an optional "#title" line and one line per page line, CP932 with CR LF.
// Reading never trusts the file (any line length, bytes that are not CP932, NUL bytes, no line end, more
// than 50 lines); writing goes through a temporary file renamed over the old one.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "engine/InpCheck.h"
#include "notebook/NotePage.h"
#include "platform/AtomicFile.h"
#include "platform/Platform.h"
#include "platform/ShiftJis.h"

SikiLoadReport LastSikiLoad;

namespace {

// True when the bytes are plain ASCII without NUL, which CP932 and UTF-8 write alike.
bool PlainAscii(std::string_view s) {
  for (unsigned char c : s)
    if (c == 0 || c >= 0x80) return false;
  return true;
}

// CP932 bytes as UTF-8; every byte that does not convert (and every NUL) becomes "?". Returns false when
// anything had to be replaced.
bool DecodeLine(std::string_view bytes, std::string& out) {
  out.clear();
  if (PlainAscii(bytes)) {
    out.assign(bytes);
    return true;
  }
  bool clean = true;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    // NUL bytes convert without complaint but would cut the text short wherever it meets C, so they
    // count as unreadable as well.
    std::size_t nul = bytes.find('\0', pos);
    std::string_view part =
        bytes.substr(pos, nul == std::string_view::npos ? std::string_view::npos : nul - pos);
    std::string converted;
    std::size_t bad = 0;
    if (Cp932ToUtf8(part, converted, &bad)) {
      out += converted;
      pos += part.size();
      if (nul != std::string_view::npos) {
        out += '?';
        clean = false;
        ++pos;
      }
      continue;
    }
    clean = false;
    // The failing byte lies inside this part (part is not empty, since the empty text always converts).
    if (bad >= part.size()) bad = part.size() - 1;
    if (bad > 0) {
      std::string head;
      if (Cp932ToUtf8(part.substr(0, bad), head))
        out += head;
      else
        out.append(bad, '?');  // cannot happen for a prefix iconv accepted; stay safe regardless
    }
    out += '?';
    pos += bad + 1;
  }
  return clean;
}

// Blanks and control characters (bytes up to and including the space) removed at both ends.
std::string TrimControls(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 0x20) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 0x20) --e;
  return s.substr(b, e - b);
}

// A page text as one record of the file: a line end inside it would make two records, so it becomes a
// blank. False when a character has no CP932 form.
bool EncodeRecord(const std::string& utf8, std::string& out) {
  std::string clean = utf8;
  for (char& c : clean)
    if (c == '\r' || c == '\n') c = ' ';
  if (PlainAscii(clean)) {
    out += clean;
    return true;
  }
  std::string converted;
  if (!Utf8ToCp932(clean, converted)) return false;
  out += converted;
  return true;
}

// Byte length of the UTF-8 sequence starting at text[i], whole and valid; 1 for a byte that starts no
// valid sequence.
std::size_t SequenceAt(const std::string& text, std::size_t i) {
  const unsigned char lead = static_cast<unsigned char>(text[i]);
  std::size_t len = lead < 0x80                    ? 1
                    : lead >= 0xF0 && lead <= 0xF4 ? 4
                    : lead >= 0xE0                 ? 3
                    : lead >= 0xC2                 ? 2
                                                   : 1;
  if (len > 1 && lead >= 0xF5) len = 1;
  if (i + len > text.size()) return 1;
  for (std::size_t k = 1; k < len; ++k)
    if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 1;
  return len;
}

// Calls found(offset, length) for every character of text that CP932 cannot store.
template <typename F>
void ForEachUnstorable(const std::string& text, F found) {
  std::string converted;
  if (PlainAscii(text) || Utf8ToCp932(text, converted)) return;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t len = SequenceAt(text, i);
    if (static_cast<unsigned char>(text[i]) >= 0x80 &&
        !Utf8ToCp932(std::string_view(text).substr(i, len), converted))
      found(i, len);
    i += len;
  }
}

}  // namespace

std::string ReplaceUnstorable(const std::string& utf8, int* count) {
  std::string out;
  std::size_t from = 0;
  int n = 0;
  ForEachUnstorable(utf8, [&](std::size_t at, std::size_t len) {
    out.append(utf8, from, at - from);
    out += SIKI_REPLACEMENT;
    from = at + len;
    ++n;
  });
  if (count) *count = n;
  if (n == 0) return utf8;
  out.append(utf8, from, std::string::npos);
  return out;
}

std::vector<SikiUnstorable> FindUnstorableCharacters() {
  std::vector<SikiUnstorable> found;
  auto scan = [&found](const std::string& text, int line) {
    ForEachUnstorable(text, [&](std::size_t at, std::size_t len) {
      // A byte that is no character at all is named by its value.
      std::string shown = text.substr(at, len);
      if (len == 1) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned>(static_cast<unsigned char>(text[at])));
        shown = hex;
      }
      found.push_back({line, shown});
    });
  };
  scan(NotePage.title, 0);
  for (int i = 0; i < NotePage.lineCount; ++i) scan(NotePage.lines[static_cast<std::size_t>(i)], i + 1);
  return found;
}

std::string UnstorableQuestion(const std::vector<SikiUnstorable>& found) {
  std::string list;
  std::size_t shown = 0;
  for (const SikiUnstorable& u : found) {
    if (shown++ == 10) {
      list += "…\n";
      break;
    }
    list += (u.line == 0 ? std::string("表題") : std::to_string(u.line) + " 問目") + "の「" + u.character +
            "」\n";
  }
  return "次の文字はファイルに保存できません。\n\n" + list + "\n「" + SIKI_REPLACEMENT +
         "」に置き換えて保存しますか？";
}

int ReplaceUnstorableCharacters() {
  int total = 0, n = 0;
  NotePage.title = ReplaceUnstorable(NotePage.title, &n);
  total += n;
  for (int i = 0; i < NotePage.lineCount; ++i) {
    std::string& line = NotePage.lines[static_cast<std::size_t>(i)];
    line = ReplaceUnstorable(line, &n);
    total += n;
  }
  if (total > 0) NotePage.modified = true;
  return total;
}

int LoadSikiBytes(std::string_view bytes) {
  LastSikiLoad = SikiLoadReport{};
  NotePage.title.clear();
  int count = 0;
  int fileLine = 0;
  std::size_t pos = 0;
  std::string text;
  while (pos < bytes.size()) {
    std::size_t lf = bytes.find('\n', pos);
    std::size_t end = lf == std::string_view::npos ? bytes.size() : lf;
    std::string_view piece = bytes.substr(pos, end - pos);
    pos = lf == std::string_view::npos ? bytes.size() : lf + 1;
    ++fileLine;
    // The line end is LF or CR LF.
    if (!piece.empty() && piece.back() == '\r') piece.remove_suffix(1);
    if (piece.empty()) continue;
    if (!DecodeLine(piece, text)) LastSikiLoad.unreadableLines.push_back(fileLine);
    if (piece.front() == '#') {
      NotePage.title = text.substr(1);
      continue;
    }
    if (count >= NOTE_MAX_LINES) {
      ++LastSikiLoad.droppedLines;
      continue;
    }
    std::string& line = NotePage.lines[static_cast<std::size_t>(count++)];
    line = TrimControls(text);
    if (!IsWorkingLine(line) && CheckText(line, {.omitMul = true}) != 0) ++LastSikiLoad.badLines;
  }
  for (int i = count; i < NOTE_MAX_LINES; ++i) NotePage.lines[static_cast<std::size_t>(i)].clear();
  NotePage.lineCount = count;
  NotePage.selected = 0;
  NotePage.modified = false;
  return LastSikiLoad.badLines;
}

int LoadSikiFile(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return SIKI_CANNOT_OPEN;
  std::string data;
  char buf[16384];
  bool failed = false;
  while (data.size() <= SIKI_READ_LIMIT) {
    std::size_t n = std::fread(buf, 1, sizeof buf, f);
    data.append(buf, n);
    if (n < sizeof buf) {
      failed = std::ferror(f) != 0;  // a folder opens but cannot be read
      break;
    }
  }
  std::fclose(f);
  if (failed) return SIKI_CANNOT_OPEN;
  bool truncated = data.size() > SIKI_READ_LIMIT;
  if (truncated) {
    // Cut at the last line end inside the limit so that no line is read half.
    std::size_t cut = data.rfind('\n', SIKI_READ_LIMIT - 1);
    data.resize(cut == std::string::npos ? SIKI_READ_LIMIT : cut + 1);
  }
  int bad = LoadSikiBytes(data);
  LastSikiLoad.truncated = truncated;
  NotePage.fileName = path;
  return bad;
}

bool SikiFileBytes(std::string& bytes) {
  bytes.clear();
  std::string out;
  out.reserve(static_cast<std::size_t>(NotePage.lineCount) * 48 + NotePage.title.size() + 8);
  if (!NotePage.title.empty()) {
    out += '#';
    if (!EncodeRecord(NotePage.title, out)) return false;
    out += "\r\n";
  }
  for (int i = 0; i < NotePage.lineCount; ++i) {
    if (!EncodeRecord(NotePage.lines[static_cast<std::size_t>(i)], out)) return false;
    out += "\r\n";
  }
  bytes = std::move(out);
  return true;
}

bool SaveSikiFile(const std::string& path) {
  std::string bytes;
  if (path.empty() || !SikiFileBytes(bytes)) return false;
  if (!WriteAtomically(path, bytes)) return false;
  NotePage.modified = false;
  return true;
}

std::string ForceSikiExtension(const std::string& name) {
  std::size_t slash = name.find_last_of('/');
  std::size_t start = slash == std::string::npos ? 0 : slash + 1;
  std::size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot >= start) return name.substr(0, dot + 1) + "siki";
  return name + ".siki";
}

void ReportSikiLoadProblems() {
  const SikiLoadReport& r = LastSikiLoad;
  if (r.truncated)
    ShowMessage("ファイルが大きすぎるため、先頭の1MBだけを読み込みました。", SIKI_FILE_CAPTION);
  if (!r.unreadableLines.empty()) {
    std::string list;
    std::size_t shown = 0;
    for (int n : r.unreadableLines) {
      if (shown == 10) {
        list += "…";
        break;
      }
      if (shown++ > 0) list += "、";
      list += std::to_string(n);
    }
    ShowMessage(
        "ファイルの " + list + " 行目に、読めない文字がありました。\n\n読めない文字は「?」に置き換えました。",
        SIKI_FILE_CAPTION);
  }
  if (r.droppedLines > 0)
    ShowMessage("ノートには50問までしか書けません。\n\n51問目からの " + std::to_string(r.droppedLines) +
                    " 行は読み込みませんでした。",
                SIKI_FILE_CAPTION);
}
