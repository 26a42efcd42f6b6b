// The notebook page: up to 50 numbered expression lines with a title, the operations that change it, the
// answers computed for one line or for all of them, and its ".siki" file. No window here: the notebook
// window (ui/notebook/Notebook) asks the questions, shows the messages and draws the sheet; the
// operations return outcomes for it to report.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Slots of the page.
inline constexpr int NOTE_MAX_LINES = 50;
// CopySelected refuses from this many lines on.
inline constexpr int NOTE_COPY_LIMIT = 49;

// The one page. Texts are UTF-8 in memory (expression texts are ASCII); the file holds them in CP932.
struct NotePageData {
  std::array<std::string, NOTE_MAX_LINES> lines;  // lines 1 … lineCount are lines[0 … lineCount − 1]
  int lineCount = 0;
  int selected = 0;  // 1 … lineCount; 0 = no line selected
  std::string title;
  std::string fileName;  // full path of the current .siki file
  bool modified = false;
  std::array<std::string, NOTE_MAX_LINES> backupLines;  // one-level undo copy
  int backupCount = 0;
  int backupSelected = 0;
};

extern NotePageData NotePage;

// An empty page (no lines, no selection, empty title and file name, not modified, empty undo copy) and
// an empty load report.
void ResetNotePage();

// Line n (1-based) of the page, or the empty text for a number outside 1 … lineCount.
const std::string& NoteLine(int n);

// ---- Answer rules ----------------------------------------------------------------------------------

// A line holding a lowercase "x" anywhere is an equation line.
bool IsEquationLine(std::string_view line);
// A line that begins with "=" and whose rest passes the whole-text check is a pupil's working under the
// problem above it: it is neither calculated nor counted as a bad line.
bool IsWorkingLine(const std::string& line);
// Equation line: the text before the first "&"; calculation line: up to and including the first "=".
// The whole line when the marker is missing.
std::string StripAnswer(const std::string& line);
// E + "=" + A + "&" + A with every "==" then written as "=".
std::string ComposeAnswer(const std::string& expression, const std::string& answer);
// True when line n holds an answer that computing would replace (text after its "&"); for n 0, when any
// line of the page does.
bool NoteHasAnswers(int n = 0);

// ---- Page operations -------------------------------------------------------------------------------

void TakeBackup();
void RestoreBackup();
// Empties the lines and the selection; title, file name and undo copy stay.
void ClearLines();
// A new page: no lines, no selection, no title and no file name, so that saving it asks where instead of
// writing over the file a former page came from. Not modified; the undo copy stays.
void NewPage();
// Appends an empty line and selects it; false (page unchanged) when the page already has 50 lines.
bool AddEmptyLine();
// Appends a copy of the selected line; false (page unchanged) with no selection or 49 lines or more.
bool CopySelected();
// Removes the selected line (the caller has confirmed); false with no selection.
bool DeleteSelected();
// Removes line n when it is still empty (a line added for the editor that got no text), leaving the undo
// copy and modified alone; false when line n is not in use or holds text.
bool DropEmptyLine(int n);

enum class DeleteAnswerResult {
  NoSelection,  // nothing done
  NoAnswer,  // undo copy taken; the line holds no "="
  Cancelled,  // undo copy taken; the confirmation was cancelled
  Deleted,  // the answer is gone, the page is modified
};
// Strips the answer of the selected line. confirm is asked only when the line holds "=" (an empty
// function counts as confirmed).
DeleteAnswerResult DeleteAnswer(const std::function<bool()>& confirm);
// Strips every answer; the page counts as modified even when nothing changed.
void DeleteAllAnswers();

void SelectPrevious();
void SelectNext();

// The selected line becomes text (the expression editor's checked text); false with no selection.
bool ReplaceSelected(const std::string& text);
// The page becomes the non-empty texts in order, each "pai" written as the π text (PaiText). Returns the
// number of non-empty texts that did not fit beyond the 50th line (0 normally).
int ReplaceAllLines(const std::vector<std::string>& texts);

// ---- Problems and working -------------------------------------------------------------------------

// The problem number of line n as the sheet shows it: the problems are counted without the working lines
// under them; 0 for a working line or a number outside 1 … lineCount.
int NoteProblemNumber(int n);

// ---- Answers ---------------------------------------------------------------------------------------

enum class NoteOutcomeKind { CheckFailed, Unsolvable, NotComputable };

struct NoteOutcome {
  NoteOutcomeKind kind = NoteOutcomeKind::CheckFailed;
  int line = 0;  // 1-based line number
  int position = 0;  // CheckFailed: 1-based position of the first bad character
  int errorNo = 0;  // CheckFailed: ErrorNo of the check
  std::string errorText;  // CheckFailed: its message
};

// "CheckFailed", "Unsolvable" or "NotComputable".
const char* NoteOutcomeName(NoteOutcomeKind kind);

// Computes every line once (the caller has confirmed). onOutcome, when given, receives each outcome as
// the pass reaches its line, so that its message comes after the evaluator's own messages for that line.
// Returns every outcome in line order. The page is modified afterwards.
std::vector<NoteOutcome> CalculateAll(const std::function<void(const NoteOutcome&)>& onOutcome = nullptr);

struct NoteCalcResult {
  bool cancelled = false;  // the confirmation was cancelled (the undo copy was still taken)
  bool changed = false;  // the line got its answer
  std::vector<NoteOutcome> outcomes;  // at most one CheckFailed
};
// Computes the selected line (the caller tests that a line is selected). confirm is asked after the undo
// copy has been taken (an empty function counts as confirmed).
NoteCalcResult CalculateSelected(const std::function<bool()>& confirm);

// ---- Start of the window ---------------------------------------------------------------------------

enum class NoteOrigin { CalculationScreen, ExpressionEditor };
// The page as the notebook window starts with it (the window has marked it modified before). From the
// calculation screen a non-empty text becomes the only line, an empty one leaves the page unmodified;
// from the expression editor a non-empty text is appended. False when the text did not fit (50 lines).
bool StartPage(NoteOrigin origin, const std::string& text);

// ---- The .siki file --------------------------------------------------------------------------------

// LoadSikiFile's result when the file cannot be opened.
inline constexpr int SIKI_CANNOT_OPEN = -1;
// The most of a file that is read; anything beyond is left out and reported.
inline constexpr std::size_t SIKI_READ_LIMIT = 1 << 20;

// What a load could not take as it was, for the report after it.
struct SikiLoadReport {
  int badLines = 0;  // lines that failed the check
  int droppedLines = 0;  // lines beyond the 50th, not stored
  std::vector<int> unreadableLines;  // file line numbers with bytes that are not CP932 or NUL bytes
  bool truncated = false;  // the file was longer than SIKI_READ_LIMIT
};
extern SikiLoadReport LastSikiLoad;

// Reads the file into the page. Returns SIKI_CANNOT_OPEN (page unchanged) or the number of lines that
// fail the check. Lines of any length come back whole; bytes that do not convert become "?".
int LoadSikiFile(const std::string& path);
// The same from the file's bytes (fileName is not touched).
int LoadSikiBytes(std::string_view bytes);

// The file as SaveSikiFile writes it: the title line, then every line, each ended by CR LF, in CP932.
// False when a text holds a character CP932 cannot store (bytes is then empty).
bool SikiFileBytes(std::string& bytes);
// Writes the page through a temporary file in the same folder renamed over path, so that a failed save
// leaves the old file as it was. True (page unmodified) on success; false leaves modified as it was.
bool SaveSikiFile(const std::string& path);

// A character of the page that CP932 cannot store (an emoji, a rare symbol): where it is (0 for the
// title, else the line number) and the character itself.
struct SikiUnstorable {
  int line = 0;
  std::string character;
};
// What stands in the file for such a character.
inline constexpr const char* SIKI_REPLACEMENT = "〓";
// Every character of the title and the lines that the file cannot store, in page order.
std::vector<SikiUnstorable> FindUnstorableCharacters();
// The question asked before saving such a page: which characters, where, and whether to save them
// replaced by SIKI_REPLACEMENT.
std::string UnstorableQuestion(const std::vector<SikiUnstorable>& found);
// Replaces every such character of the title and the lines by SIKI_REPLACEMENT, marking the page
// modified when anything changed. Returns the number replaced.
int ReplaceUnstorableCharacters();
// One text with every character CP932 cannot store replaced; count (when given) receives how many.
std::string ReplaceUnstorable(const std::string& utf8, int* count = nullptr);

// The name with its extension replaced by "siki", or ".siki" appended when the file name has none.
std::string ForceSikiExtension(const std::string& name);

// ---- Texts of the reports, shared by the window and the batch tool ----------------------------------

inline constexpr const char* SIKI_SAVE_FAILED_TEXT = "ご指定のﾌｧｲﾙに保存できませんでした。";
inline constexpr const char* SIKI_OPEN_FAILED_TEXT = "ご指定のﾌｧｲﾙをOpenできませんでした。";
inline constexpr const char* SIKI_FILE_CAPTION = "ご注意！";
inline constexpr const char* NOTE_FULL_TEXT =
    "ノートには50問までしか書けません。\n\n51問目からは入りませんでした。";

// Shows under "ご注意！" what the last load left out or could not read (nothing when all was read).
void ReportSikiLoadProblems();
// The message of one outcome: single = true for the selected-line calculation's wording.
std::string NoteOutcomeText(const NoteOutcome& outcome, bool single);
