// The recovery copy of the notebook page: a file beside the settings that holds the open page as it is
// (every line, the title, the selected line and the .siki file it belongs to) while it has changes not
// yet saved, so that a crash or a killed program loses nothing. The notebook window decides when to keep
// it (a moment after each change) and asks at the next start whether to take it back; this unit only
// composes, writes, reads and removes the copy. A copy that is damaged is read as far as it is sound.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "notebook/NotePage.h"

// The copy's name in the settings folder.
inline constexpr const char* NOTE_RECOVERY_FILE_NAME = "Kazoru-note.recovery";
// The first line of every copy; a file without it is no recovery copy.
inline constexpr const char* NOTE_RECOVERY_MAGIC = "Kazoru notebook recovery 1";

// Told once when the copy cannot be written (a full disk, a folder that forbids it).
inline constexpr const char* NOTE_RECOVERY_FAILED_TEXT =
    "ノートの控えを保存できません。\n作業は続けられますが、ファイルに保存してください。";
inline constexpr const char* NOTE_RECOVERY_CAPTION = "ご注意！";

// A page read back from a copy.
struct RecoveredPage {
  std::vector<std::string> lines;  // at most NOTE_MAX_LINES
  std::string title;
  std::string fileName;  // the .siki file the page belongs to, empty when it was never saved
  int selected = 0;  // 0 or 1 … lines.size()
  bool damaged = false;  // the copy ended early or held something unreadable
};

// What one keeping turn did.
enum class NoteRecoveryOutcome {
  Unchanged,  // the copy on disk already holds the page (or there is none and none is needed)
  Written,  // the page changed and was written
  Removed,  // the page has nothing unsaved any more: the copy is gone
  FailedFirst,  // writing failed for the first time since the last success: tell the pupil now
  Failed,  // writing failed again: already told
};

// What the keeper remembers between turns.
struct NoteRecoveryState {
  std::string lastWritten;  // bytes of the copy on disk, empty when there is none of this run
  bool failureTold = false;  // the pupil has been told that the copy cannot be written
  bool othersCopy = false;  // another running program keeps the copy: this run leaves it alone
  void Reset() { *this = NoteRecoveryState{}; }
};
extern NoteRecoveryState NoteRecovery;

std::string NoteRecoveryPath(const std::string& folder);

// True when the page holds work that is not in a file: it is modified and has a line or a title.
bool PageNeedsRecovery(const NotePageData& page);

// The copy's bytes: the magic line, then each field as "name length:bytes" on its own line, so that any
// text (even one with a line end) comes back exactly.
std::string ComposeNoteRecovery(const NotePageData& page);
// Reads a copy's bytes. False when the bytes are no recovery copy at all; otherwise true, with out
// holding every field read before anything unsound (out.damaged then set).
bool ParseNoteRecovery(std::string_view bytes, RecoveredPage& out);

// Claims the copy in folder for this run, for as long as the program runs (the claim ends with the
// process, however it ends). False when another running program holds it: its copy is no crash's, and
// this run then neither offers, writes nor removes it (NoteRecovery.othersCopy). A folder where no claim
// can be made is taken as this run's own.
bool ClaimNoteRecovery(const std::string& folder);

// One keeping turn for NotePage: writes the copy (atomically, so a failed write leaves the previous copy
// as it was) when the page needs one and changed since the last write, removes it when the page needs
// none.
NoteRecoveryOutcome KeepNoteRecovery(const std::string& folder);
// Reads the copy in folder; false when there is none, it cannot be read, or it holds no work.
bool ReadNoteRecovery(const std::string& folder, RecoveredPage& out);
// Removes the copy (the page was saved or discarded, or the program ends cleanly).
void RemoveNoteRecovery(const std::string& folder);
// Puts a recovered page into NotePage, marked as not saved; the copy on disk stays until the page is
// saved or discarded.
void RestoreRecoveredPage(const RecoveredPage& page);

// The question asked at start when a copy is found, naming the page.
std::string NoteRecoveryQuestion(const RecoveredPage& page);
