// The expression memo's logic: the list of up to 50 expressions over the settings' memo slots, its
// selection, adding, deleting and the Look of an entry.
#include "tools/sikiEMemo.h"

#include <algorithm>
#include <cstdio>

#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "platform/Platform.h"
#include "tools/BunSikiEdit.h"
#include "tools/xyDainyuu.h"

static_assert(MEMO_MAX == SIKI_MAX, "the memo list and its slots in the settings have the same size");

SikiEMemoState SikiEMemoData;

namespace {
int EntryCount() { return static_cast<int>(MemoEntries.size()); }
bool ValidIndex(int i) { return i >= 0 && i < EntryCount(); }
}  // namespace

void SikiEMemoState::Reset() { *this = SikiEMemoState{}; }

void ResetSikiEMemo() { SikiEMemoData.Reset(); }

std::string MemoFullText() {
  char text[160];
  std::snprintf(text, sizeof text, "メモの式が %d を超えているので、\n\nもう格納できません。", MEMO_MAX);
  return text;
}

void StoreMemoList() {
  for (int i = 0; i < SIKI_MAX; ++i) SIKI[i] = i < EntryCount() ? MemoEntries[static_cast<size_t>(i)] : "";
  SIKI_SOUSUU = std::min(EntryCount(), SIKI_MAX);
}

void MemoOpened() {
  MemoEntries.clear();
  for (int i = 0; i < SIKI_MAX; ++i)
    if (!SIKI[i].empty()) MemoEntries.push_back(SIKI[i]);
  SIKI_SOUSUU = EntryCount();
  MemoSelected = ValidIndex(MemoPosition) ? MemoPosition : -1;
  MemoOpen = true;
}

void MemoClosed() {
  StoreMemoList();
  MemoOpen = false;
}

MemoAddResult MemoAdd(const std::string& added) {
  // A computed line is kept as the pupil reads it, not with the answer field the screen keeps after "&".
  const std::string text = ShownLine(added);
  if (text.empty()) return MemoAddResult::Ignored;
  if (EntryCount() >= MEMO_MAX) {
    ShowMessage(MemoFullText(), MEMO_CAPTION);
    return MemoAddResult::Full;
  }
  if (std::find(MemoEntries.begin(), MemoEntries.end(), text) != MemoEntries.end()) {
    ShowMessage(MEMO_DUPLICATE_TEXT, MEMO_CAPTION);
    return MemoAddResult::Duplicate;
  }
  MemoEntries.push_back(text);
  MemoSelected = EntryCount() - 1;
  StoreMemoList();
  return MemoAddResult::Added;
}

void MemoChoose(int index) {
  MemoSelected = ValidIndex(index) ? index : -1;
  MemoPosition = MemoSelected;
}

void MemoRememberSelected() { MemoPosition = MemoSelected; }

std::string MemoSelectedText() {
  return ValidIndex(MemoSelected) ? MemoEntries[static_cast<size_t>(MemoSelected)] : std::string();
}

bool MemoDeleteSelected() {
  if (AskQuestion(MEMO_DELETE_TEXT, MEMO_CAPTION, MsgButtons::OkCancel) == MsgAnswer::Cancel) return false;
  if (!ValidIndex(MemoSelected)) return false;
  MemoEntries.erase(MemoEntries.begin() + MemoSelected);
  // The remembered position now names the entry that followed; past the end nothing is selected.
  MemoSelected = ValidIndex(MemoPosition) ? MemoPosition : -1;
  StoreMemoList();
  return true;
}

bool MemoDeleteAll() {
  if (AskQuestion(MEMO_DELETE_ALL_TEXT, MEMO_CAPTION, MsgButtons::OkCancel) == MsgAnswer::Cancel)
    return false;
  MemoEntries.clear();
  MemoSelected = -1;
  StoreMemoList();
  return true;
}

void MemoLook() {
  const std::string selected = MemoSelectedText();
  if (selected.empty()) return;
  std::string expression;
  std::string comment;
  SplitComment(selected, expression, comment);
  // The whole-text check and the notice share the checker's state with the calculation line.
  const InpCheckState kept = CheckerState;
  if (CheckText(expression, {.collectText = true, .omitMul = true, .showMessage = true}) == 0)
    CurrentPlatform().ShowNotice("@" + CheckedText + comment, "式の分数形表示", 10000);
  CheckerState = kept;
}
