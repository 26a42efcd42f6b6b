// The recovery copy: composing and reading its length-prefixed fields, and keeping it on disk through the
// atomic writer, so that the copy is always either the previous page or the new one, never half of one.
#include "notebook/NoteRecovery.h"

#ifndef __EMSCRIPTEN__
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "platform/AtomicFile.h"

NoteRecoveryState NoteRecovery;

namespace {

// A copy is a handful of short texts; anything much longer is no copy of ours.
constexpr std::size_t READ_LIMIT = 1 << 20;

void Field(std::string& out, const char* name, const std::string& value) {
  out += name;
  out += ' ';
  out += std::to_string(value.size());
  out += ':';
  out += value;
  out += '\n';
}

// Length of the valid UTF-8 sequence starting at text[i], or 0 when the byte there starts none.
std::size_t Utf8SequenceAt(std::string_view text, std::size_t i) {
  const auto b = static_cast<unsigned char>(text[i]);
  std::size_t n = 0;
  if (b < 0x80) return 1;
  if (b >= 0xC2 && b <= 0xDF)
    n = 2;
  else if (b >= 0xE0 && b <= 0xEF)
    n = 3;
  else if (b >= 0xF0 && b <= 0xF4)
    n = 4;
  else
    return 0;
  if (text.size() - i < n) return 0;
  for (std::size_t k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 0;
  const auto b1 = static_cast<unsigned char>(text[i + 1]);
  // Overlong forms, surrogates and code points past U+10FFFF.
  if ((b == 0xE0 && b1 < 0xA0) || (b == 0xED && b1 > 0x9F) || (b == 0xF0 && b1 < 0x90) ||
      (b == 0xF4 && b1 > 0x8F))
    return 0;
  return n;
}

// The text with every byte that is no part of valid UTF-8, and every NUL, replaced by "?"; sound is
// cleared when anything was replaced.
std::string SoundText(std::string_view text, bool& sound) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = Utf8SequenceAt(text, i);
    if (n == 0 || text[i] == '\0') {
      out += '?';
      sound = false;
      ++i;
    } else {
      out.append(text.substr(i, n));
      i += n;
    }
  }
  return out;
}

// Reads "name length:bytes\n" at pos; false (pos unchanged) when the bytes there are not such a field.
bool ReadField(std::string_view bytes, std::size_t& pos, std::string_view& name, std::string_view& value) {
  const std::size_t space = bytes.find(' ', pos);
  if (space == std::string_view::npos || space == pos || space - pos > 16) return false;
  std::size_t p = space + 1;
  std::size_t length = 0;
  std::size_t digits = 0;
  while (p < bytes.size() && bytes[p] >= '0' && bytes[p] <= '9' && digits < 8) {
    length = length * 10 + static_cast<std::size_t>(bytes[p] - '0');
    ++p;
    ++digits;
  }
  if (digits == 0 || p >= bytes.size() || bytes[p] != ':') return false;
  ++p;
  if (bytes.size() - p < length + 1 || bytes[p + length] != '\n') return false;
  name = bytes.substr(pos, space - pos);
  value = bytes.substr(p, length);
  pos = p + length + 1;
  return true;
}

}  // namespace

std::string NoteRecoveryPath(const std::string& folder) {
  if (folder.empty()) return NOTE_RECOVERY_FILE_NAME;
  return folder.back() == '/' ? folder + NOTE_RECOVERY_FILE_NAME : folder + "/" + NOTE_RECOVERY_FILE_NAME;
}

bool PageNeedsRecovery(const NotePageData& page) {
  if (!page.modified) return false;
  if (!page.title.empty()) return true;
  for (int i = 0; i < page.lineCount && i < NOTE_MAX_LINES; ++i)
    if (!page.lines[static_cast<std::size_t>(i)].empty()) return true;
  return false;
}

std::string ComposeNoteRecovery(const NotePageData& page) {
  std::string out = NOTE_RECOVERY_MAGIC;
  out += '\n';
  Field(out, "file", page.fileName);
  Field(out, "title", page.title);
  Field(out, "selected", std::to_string(page.selected));
  for (int i = 0; i < page.lineCount && i < NOTE_MAX_LINES; ++i)
    Field(out, "line", page.lines[static_cast<std::size_t>(i)]);
  Field(out, "end", "");
  return out;
}

bool ParseNoteRecovery(std::string_view bytes, RecoveredPage& out) {
  out = RecoveredPage{};
  const std::string_view magic = NOTE_RECOVERY_MAGIC;
  if (bytes.substr(0, magic.size()) != magic || bytes.size() == magic.size() || bytes[magic.size()] != '\n')
    return false;
  std::size_t pos = magic.size() + 1;
  bool sound = true;
  bool ended = false;
  int selected = 0;
  std::string_view name, value;
  while (!ended && ReadField(bytes, pos, name, value)) {
    if (name == "file") {
      out.fileName = SoundText(value, sound);
    } else if (name == "title") {
      out.title = SoundText(value, sound);
    } else if (name == "selected") {
      selected = 0;
      for (char c : value) {
        if (c < '0' || c > '9' || selected > NOTE_MAX_LINES) {
          sound = false;
          selected = 0;
          break;
        }
        selected = selected * 10 + (c - '0');
      }
    } else if (name == "line") {
      if (out.lines.size() < static_cast<std::size_t>(NOTE_MAX_LINES))
        out.lines.push_back(SoundText(value, sound));
      else
        sound = false;
    } else if (name == "end") {
      ended = true;
    } else {
      sound = false;  // a field this program does not know
    }
  }
  out.selected = (selected >= 1 && static_cast<std::size_t>(selected) <= out.lines.size()) ? selected : 0;
  if (selected != out.selected) sound = false;
  out.damaged = !sound || !ended || pos != bytes.size();
  return true;
}

bool ClaimNoteRecovery(const std::string& folder) {
  // The claim is a lock on a file beside the copy; the open file stays open until the process ends.
  bool ours = true;
  (void)folder;
#ifndef __EMSCRIPTEN__  // one program per browser tab: nothing to claim against
  static std::map<std::string, int> held;
  if (held.find(folder) == held.end()) {
    std::error_code ignored;
    if (!folder.empty()) std::filesystem::create_directories(folder, ignored);
    const std::string lock = (folder.empty() ? std::string(".") : folder) + "/Kazoru-note.lock";
    const int fd = ::open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd >= 0) {
      if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        held[folder] = fd;
      } else {
        ours = false;
        ::close(fd);
      }
    }
  }
#endif
  NoteRecovery.othersCopy = !ours;
  return ours;
}

NoteRecoveryOutcome KeepNoteRecovery(const std::string& folder) {
  if (NoteRecovery.othersCopy) return NoteRecoveryOutcome::Unchanged;
  const std::string path = NoteRecoveryPath(folder);
  if (!PageNeedsRecovery(NotePage)) {
    // A copy left by an earlier run (the page restored from it) goes as well as this run's own.
    std::error_code ignored;
    if (NoteRecovery.lastWritten.empty() && !std::filesystem::exists(path, ignored))
      return NoteRecoveryOutcome::Unchanged;
    std::remove(path.c_str());
    NoteRecovery.lastWritten.clear();
    return NoteRecoveryOutcome::Removed;
  }
  std::string bytes = ComposeNoteRecovery(NotePage);
  if (bytes == NoteRecovery.lastWritten) return NoteRecoveryOutcome::Unchanged;
  // The settings folder may not exist yet on a first run.
  std::error_code ignored;
  if (!folder.empty()) std::filesystem::create_directories(folder, ignored);
  if (!WriteAtomically(path, bytes)) {
    if (NoteRecovery.failureTold) return NoteRecoveryOutcome::Failed;
    NoteRecovery.failureTold = true;
    return NoteRecoveryOutcome::FailedFirst;
  }
  NoteRecovery.lastWritten = std::move(bytes);
  return NoteRecoveryOutcome::Written;
}

bool ReadNoteRecovery(const std::string& folder, RecoveredPage& out) {
  std::ifstream in(NoteRecoveryPath(folder), std::ios::binary);
  if (!in) return false;
  std::string bytes;
  bytes.resize(READ_LIMIT);
  in.read(bytes.data(), static_cast<std::streamsize>(READ_LIMIT));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  if (!ParseNoteRecovery(bytes, out)) return false;
  if (out.title.empty()) {
    bool any = false;
    for (const std::string& l : out.lines) any = any || !l.empty();
    if (!any) return false;
  }
  return true;
}

void RemoveNoteRecovery(const std::string& folder) {
  if (NoteRecovery.othersCopy) return;
  std::remove(NoteRecoveryPath(folder).c_str());
  NoteRecovery.lastWritten.clear();
}

void RestoreRecoveredPage(const RecoveredPage& page) {
  ClearLines();
  int n = 0;
  for (const std::string& l : page.lines) {
    if (n >= NOTE_MAX_LINES) break;
    NotePage.lines[static_cast<std::size_t>(n)] = l;
    ++n;
  }
  NotePage.lineCount = n;
  NotePage.selected = (page.selected >= 1 && page.selected <= n) ? page.selected : 0;
  NotePage.title = page.title;
  NotePage.fileName = page.fileName;
  NotePage.modified = true;
}

std::string NoteRecoveryQuestion(const RecoveredPage& page) {
  std::string which;
  if (!page.fileName.empty()) {
    const std::size_t slash = page.fileName.find_last_of('/');
    which = "「" + (slash == std::string::npos ? page.fileName : page.fileName.substr(slash + 1)) + "」の";
  } else if (!page.title.empty()) {
    which = "「" + page.title + "」の";
  } else {
    which = "まだ保存していない";
  }
  std::string text = "前回、ノート（" + which + "ページ、" + std::to_string(page.lines.size()) +
                     "問）が保存されないまま終わりました。\n\n復元しますか？";
  if (page.damaged) text += "\n\n（控えの一部が読めなかったため、読めたところまでを戻します。）";
  return text;
}
