// The expression memo without its window: up to 50 remembered expressions kept in the settings
// (SIKI0 … SIKI49 and their count), the list the window shows while it is open, the selected and the
// remembered position, adding with its two refusals, deleting, and looking at an entry in fraction form.
// The window is ui/tools/sikiEMemo (TSEMemoForm); reading and writing the settings file is the screen's.
#pragma once

#include <string>
#include <vector>

inline constexpr int MEMO_MAX = 50;  // the same as SIKI_MAX of the settings

inline constexpr const char* MEMO_CAPTION = "確認！";
inline constexpr const char* MEMO_DUPLICATE_TEXT = "同一の式があります。";
inline constexpr const char* MEMO_DELETE_TEXT =
    "選択式を削除します。二度と戻りません。\n\nそれでも ＯＫ ですか？";
inline constexpr const char* MEMO_DELETE_ALL_TEXT =
    "全部 削除します。二度と元に戻りません。\n\nそれでも ＯＫ ですか？";

// The expression memo's record (state records: tools/ProgramState.h).
struct SikiEMemoState {
  std::vector<std::string> MemoEntries;
  int MemoSelected = -1;
  int MemoPosition = 0;
  bool MemoOpen = false;

  void Reset();
};
extern SikiEMemoState SikiEMemoData;

// The list while the window is open, in order (never holds an empty text).
inline auto& MemoEntries = SikiEMemoData.MemoEntries;
// The entry the list shows selected (0-based; -1 none).
inline auto& MemoSelected = SikiEMemoData.MemoSelected;
// The position remembered for the whole run and selected again when the window opens (0-based; -1 none;
// the first entry at start).
inline auto& MemoPosition = SikiEMemoData.MemoPosition;
// Whether the memo window exists.
inline auto& MemoOpen = SikiEMemoData.MemoOpen;

// Closed memo, empty list, nothing selected, the first position remembered. The store itself is the
// settings (SIKI, SIKI_SOUSUU).
void ResetSikiEMemo();

// The text of "メモの式が %d を超えているので、…" for the full memo.
std::string MemoFullText();

// Opening: the list takes the non-empty slots of the store in slot order, the count follows, the
// remembered position is selected (none when it is past the end); the memo counts as open.
void MemoOpened();
// Closing: the list goes back into the store; the memo no longer counts as open.
void MemoClosed();
// The list written into the slots 0, 1, … in order, the other slots emptied, the count set. Every change
// of the list does this at once, so that the settings written at the program's end never miss an entry
// of a memo that was still open.
void StoreMemoList();

enum class MemoAddResult { Ignored, Full, Duplicate, Added };
// Add: a computed line is taken as the editor shows it (ShownLine); an empty text is ignored; a full list
// and an equal entry (byte for byte) are refused with their messages; otherwise the text is appended and
// selected.
MemoAddResult MemoAdd(const std::string& text);

// Choosing an entry: it is selected and its position remembered (-1 clears both).
void MemoChoose(int index);
// Remembers the position now selected (after "From式ｴﾃﾞｨﾀ▼").
void MemoRememberSelected();
// The selected entry, or the empty text.
std::string MemoSelectedText();

// "選択式削除 &D": asks, then removes the selected entry and selects the remembered position again (none
// when it is past the end). False when cancelled or nothing was selected.
bool MemoDeleteSelected();
// "全部削除 &Z": asks, then empties the list. False when cancelled.
bool MemoDeleteAll();

// "&Look": the selected entry in fraction form in the notice box, its "#" comment above it.
void MemoLook();
