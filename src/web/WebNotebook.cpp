// The notebook page in the browser over the same window-free model as the desktop's notebook window: the
// page's commands with the desktop's questions and messages (through the platform's queue; the page repeats
// a command with the pupil's answer), the sheet's drawing list on screen and on A4 paper, the .siki file's
// bytes in and out (the page uploads and downloads them), and the page's copy that the page keeps in the
// browser's storage after every change.
#include <emscripten.h>

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Settings.h"
#include "notebook/NoteMessages.h"
#include "notebook/NotePage.h"
#include "notebook/NoteRecovery.h"
#include "notebook/NoteSheet.h"
#include "notebook/NoteSteps.h"
#include "platform/Platform.h"
#include "steps/StepCheck.h"
#include "web/WebCanvas.h"
#include "web/WebPlatform.h"

namespace {

std::string& NoteResult() {
  static std::string r;
  return r;
}
const char* Give(std::string s) {
  NoteResult() = std::move(s);
  return NoteResult().c_str();
}

WebCanvas& Sheet() {
  static WebCanvas canvas;
  return canvas;
}

constexpr const char* CONFIRM = NOTE_CONFIRM_CAPTION;
constexpr const char* REPORT = NOTE_REPORT_CAPTION;
constexpr int SCREEN_PPI = 96;

// The page's commands, in the order the page names them (web/notebook.js).
enum class WebNoteCommand {
  AddNew,
  EditSelected,
  DeleteSelected,
  DeleteAnswer,
  CalculateSelected,
  CalculateAll,
  DeleteAllAnswers,
  CopySelected,
  SelectPrevious,
  SelectNext,
  Restore,
  Clear,
  CheckWorking,
  COUNT
};

void Message(const std::string& text, const char* caption) { ShowMessage(text, caption); }
bool Confirm(const char* text) { return AskQuestion(text, CONFIRM, MsgButtons::OkCancel) == MsgAnswer::Ok; }

// Each returns 1 when the page should open the line editor on the selected line afterwards.
int RunNoteCommand(WebNoteCommand c) {
  switch (c) {
    case WebNoteCommand::AddNew:
      TakeBackup();
      if (!AddEmptyLine()) {
        Message(NOTE_FULL_TEXT, SIKI_FILE_CAPTION);
        return 0;
      }
      NotePage.modified = true;
      return 1;
    case WebNoteCommand::EditSelected:
      if (NotePage.selected == 0) {
        if (!Confirm(NOTE_NONE_SELECTED_ADD)) return 0;
        if (!AddEmptyLine()) {
          Message(NOTE_FULL_TEXT, SIKI_FILE_CAPTION);
          return 0;
        }
      }
      TakeBackup();
      return 1;
    case WebNoteCommand::DeleteSelected:
      if (NotePage.selected == 0) {
        Message(NOTE_SELECT_TO_DELETE, CONFIRM);
        return 0;
      }
      if (!Confirm(NOTE_ASK_DELETE)) return 0;
      DeleteSelected();
      return 0;
    case WebNoteCommand::DeleteAnswer:
      if (NotePage.selected == 0) {
        Message(NOTE_SELECT_TO_DELETE_ANSWER, CONFIRM);
        return 0;
      }
      DeleteAnswer([] { return Confirm(NOTE_ASK_DELETE_ANSWER); });
      return 0;
    case WebNoteCommand::CalculateSelected: {
      if (NotePage.selected == 0) {
        Message(NOTE_SELECT_TO_CALCULATE, CONFIRM);
        return 0;
      }
      // Asked only when there is an answer to replace.
      std::function<bool()> confirm;
      if (NoteHasAnswers(NotePage.selected)) confirm = [] { return Confirm(NOTE_ASK_REWRITE_ANSWER); };
      const NoteCalcResult r = CalculateSelected(confirm);
      for (const NoteOutcome& o : r.outcomes) Message(NoteOutcomeText(o, true), REPORT);
      return 0;
    }
    case WebNoteCommand::CalculateAll:
      if (NoteHasAnswers() && !Confirm(NOTE_ASK_REWRITE_ALL)) return 0;
      CalculateAll([](const NoteOutcome& o) { Message(NoteOutcomeText(o, false), REPORT); });
      return 0;
    case WebNoteCommand::DeleteAllAnswers:
      if (!Confirm(NOTE_ASK_DELETE_ALL_ANSWERS)) return 0;
      DeleteAllAnswers();
      return 0;
    case WebNoteCommand::CopySelected:
      if (!CopySelected()) Message(NOTE_SELECT_TO_COPY, CONFIRM);
      return 0;
    case WebNoteCommand::SelectPrevious: SelectPrevious(); return 0;
    case WebNoteCommand::SelectNext: SelectNext(); return 0;
    case WebNoteCommand::Restore: RestoreBackup(); return 0;
    case WebNoteCommand::Clear:
      // The page asks to download an edited page before; here the lines, the title and the file name go.
      TakeBackup();
      NewPage();
      NotePage.modified = true;
      return 0;
    case WebNoteCommand::CheckWorking:
      // The marks go onto the sheet; the summary for the teacher is told as on the desktop.
      Message(CheckNotePageWorking(StepOptionsFromSettings()), NOTE_STEPS_CAPTION);
      return 0;
    case WebNoteCommand::COUNT: return 0;
  }
  return 0;
}

// The desktop's key table onto the page's commands; the others the page carries out itself.
int NoteKeyToWeb(NoteCommand c) {
  switch (c) {
    case NoteCommand::AddNew: return static_cast<int>(WebNoteCommand::AddNew);
    case NoteCommand::EditSelected: return static_cast<int>(WebNoteCommand::EditSelected);
    case NoteCommand::DeleteSelected: return static_cast<int>(WebNoteCommand::DeleteSelected);
    case NoteCommand::DeleteAnswer: return static_cast<int>(WebNoteCommand::DeleteAnswer);
    case NoteCommand::CalculateSelected: return static_cast<int>(WebNoteCommand::CalculateSelected);
    case NoteCommand::CalculateAll: return static_cast<int>(WebNoteCommand::CalculateAll);
    case NoteCommand::DeleteAllAnswers: return static_cast<int>(WebNoteCommand::DeleteAllAnswers);
    case NoteCommand::CopySelected: return static_cast<int>(WebNoteCommand::CopySelected);
    case NoteCommand::SelectPrevious: return static_cast<int>(WebNoteCommand::SelectPrevious);
    case NoteCommand::SelectNext: return static_cast<int>(WebNoteCommand::SelectNext);
    case NoteCommand::Restore: return static_cast<int>(WebNoteCommand::Restore);
    case NoteCommand::CheckWorking: return static_cast<int>(WebNoteCommand::CheckWorking);
    default: return -1;
  }
}

const char* PageCommandName(NoteCommand c) {
  switch (c) {
    case NoteCommand::Clear: return "clear";  // asked about an edited page first
    case NoteCommand::Open: return "open";
    case NoteCommand::Save: return "save";
    case NoteCommand::SaveAs: return "save";
    case NoteCommand::Print: return "print";
    case NoteCommand::Close: return "close";
    case NoteCommand::Title: return "title";
    case NoteCommand::EditPage: return "editPage";
    case NoteCommand::CommandBox: return "commandBox";
    case NoteCommand::ToggleEqualBreak: return "equalBreak";
    case NoteCommand::ToggleAnswerBlank: return "answerBlank";
    case NoteCommand::PitchUp: return "pitchUp";
    case NoteCommand::PitchDown: return "pitchDown";
    case NoteCommand::ScrollUp: return "scrollUp";
    case NoteCommand::ScrollDown: return "scrollDown";
    default: return "";
  }
}

NoteSheetView ViewFor(WebCanvas& c, bool printing, int vScroll) {
  PrepareNoteSurface(c, 1, printing);
  NoteSheetView view;
  MeasureNoteCells(c, view.cw, view.ch);
  view.ppi = SCREEN_PPI;
  view.printing = printing;
  view.vScroll = vScroll;
  return view;
}

std::string Text(const char* s) { return s ? std::string(s) : std::string(); }

}  // namespace

extern "C" {

// Runs one command of the page (WebNoteCommand's order); 1 when the line editor should open.
EMSCRIPTEN_KEEPALIVE int kz_nb_command(int command) {
  if (command < 0 || command >= static_cast<int>(WebNoteCommand::COUNT)) return 0;
  return RunNoteCommand(static_cast<WebNoteCommand>(command));
}

// One key of the notebook as the desktop's key table reads it, with the browser edition's own keys: "cmd N"
// for a page command run here (N its result), the name of a command the page carries out ("save",
// "title" …), or "" for none.
EMSCRIPTEN_KEEPALIVE const char* kz_nb_key(int vk, int shift) {
  const NoteCommand c = NoteBrowserKeyCommand(vk, shift);
  const int web = NoteKeyToWeb(c);
  if (web >= 0) return Give("cmd " + std::to_string(RunNoteCommand(static_cast<WebNoteCommand>(web))));
  if (c == NoteCommand::PitchUp || c == NoteCommand::PitchDown)
    SetKankaku(KANKAKU + (c == NoteCommand::PitchUp ? 1 : -1), KANKAKU_MIN_KEYS);
  else if (c == NoteCommand::ToggleEqualBreak)
    NoteEqualBreak = !NoteEqualBreak;
  else if (c == NoteCommand::ToggleAnswerBlank)
    NOTE_KAITOURAN_FLAG = NOTE_KAITOURAN_FLAG == 0 ? 1 : 0;
  return Give(PageCommandName(c));
}

// Before a page replaces an edited one (opening a file, clearing): the desktop's question. 0 goes on, 1
// downloads the page first, -1 stops (Cancel, or a question still waiting for the pupil's answer).
EMSCRIPTEN_KEEPALIVE int kz_nb_ask_replace(int clearing) {
  if (!NotePage.modified || !PageNeedsRecovery(NotePage)) return 0;
  const MsgAnswer a = AskQuestion(clearing ? NOTE_ASK_SAVE_BEFORE_CLEAR : NOTE_ASK_SAVE_BEFORE_OPEN, CONFIRM,
                                  MsgButtons::YesNoCancel);
  return a == MsgAnswer::Yes ? 1 : a == MsgAnswer::No ? 0 : -1;
}

// The command box's values: the line pitch and the page height.
EMSCRIPTEN_KEEPALIVE int kz_nb_set_pitch(int value) { return SetKankaku(value, KANKAKU_MIN_BOX) ? 1 : 0; }
EMSCRIPTEN_KEEPALIVE void kz_nb_set_flags(int equalBreak, int answerBlank) {
  NoteEqualBreak = equalBreak != 0;
  NOTE_KAITOURAN_FLAG = answerBlank != 0 ? 1 : 0;
}

// Selects line n (a tap on its row); 0 takes the selection away.
EMSCRIPTEN_KEEPALIVE void kz_nb_select(int n) {
  NotePage.selected = n >= 1 && n <= NotePage.lineCount ? n : 0;
}

// The line editor stores the selected line; an empty text is stored as it is, as the desktop's editor does.
EMSCRIPTEN_KEEPALIVE int kz_nb_set_line(const char* text) {
  if (!ReplaceSelected(Text(text))) return 0;
  NotePage.modified = true;
  return 1;
}

// The title box's text.
EMSCRIPTEN_KEEPALIVE void kz_nb_set_title(const char* text) {
  const std::string t = Text(text);
  if (t != NotePage.title) {
    NotePage.title = t;
    NotePage.modified = true;
  }
}

// The page editor's text, one line a row; the count of rows beyond the 50th (told as on the desktop).
EMSCRIPTEN_KEEPALIVE int kz_nb_set_page(const char* text) {
  std::vector<std::string> rows;
  std::string all = Text(text), row;
  for (char ch : all) {
    if (ch == '\n') {
      rows.push_back(row);
      row.clear();
    } else if (ch != '\r') {
      row += ch;
    }
  }
  rows.push_back(row);
  TakeBackup();
  const int left = ReplaceAllLines(rows);
  NotePage.modified = true;
  if (left > 0) Message(NOTE_FULL_TEXT, SIKI_FILE_CAPTION);
  return left;
}

// Reads an uploaded .siki file's bytes into the page as the desktop opens one: what was replaced or left
// out is told under "ご注意！", bad lines send the pupil to the page editor. Returns the count of bad lines.
EMSCRIPTEN_KEEPALIVE int kz_nb_open(const char* bytes, int length, const char* name) {
  const int bad = LoadSikiBytes(
      std::string_view(bytes ? bytes : "", bytes && length > 0 ? static_cast<size_t>(length) : 0));
  NotePage.fileName = Text(name);
  NotePage.modified = false;
  ReportSikiLoadProblems();
  if (bad > 0) Message(NOTE_BAD_LINES_TEXT, NOTE_BAD_LINES_CAPTION);
  return bad;
}

// The .siki file's bytes for the download (kz_nb_result_length tells their length), or null when the
// page was not saved: a character the file cannot hold is asked about first (the page repeats the save
// with the answer), and the page keeps it unsaved when the pupil says no.
EMSCRIPTEN_KEEPALIVE const char* kz_nb_save(const char* name) {
  const std::vector<SikiUnstorable> unstorable = FindUnstorableCharacters();
  if (!unstorable.empty()) {
    if (AskQuestion(UnstorableQuestion(unstorable), CONFIRM, MsgButtons::OkCancel) != MsgAnswer::Ok)
      return nullptr;
    ReplaceUnstorableCharacters();
  }
  std::string bytes;
  if (!SikiFileBytes(bytes)) {
    Message(SIKI_SAVE_FAILED_TEXT, SIKI_FILE_CAPTION);
    return nullptr;
  }
  NotePage.fileName = ForceSikiExtension(Text(name).empty() ? std::string("ノート") : Text(name));
  NotePage.modified = false;
  return Give(std::move(bytes));
}

EMSCRIPTEN_KEEPALIVE int kz_nb_result_length() { return static_cast<int>(NoteResult().size()); }

// The sheet as the notebook shows it, scrolled down by vScroll, on a client area width × height.
EMSCRIPTEN_KEEPALIVE const char* kz_nb_paint(int width, int height, int vScroll) {
  WebCanvas& c = Sheet();
  c.browserMetrics = true;
  NoteSheetView view = ViewFor(c, false, std::max(0, vScroll));
  view.clientWidth = std::max(1, width);
  view.clientHeight = std::max(1, height);
  c.ClearOps();
  DrawNoteSheet(c, view);
  return Give(c.Serialise());
}

// The printed sheets at 96 pixels per inch, each an A4 sheet's drawing list, separated by a line "P".
// The sheets are split as the desktop splits the page on paper.
EMSCRIPTEN_KEEPALIVE const char* kz_nb_print() {
  WebCanvas& c = Sheet();
  c.browserMetrics = true;
  NoteSheetView base = ViewFor(c, true, 0);
  const std::vector<NoteLineBand> bands = NoteLineBands(c, base);
  std::string out;
  for (const NoteSheetPart& part : SplitNoteSheet(bands, 1, NoteA4Height(SCREEN_PPI))) {
    NoteSheetView view = ViewFor(c, true, 0);
    view.firstLine = part.firstLine;
    view.lastLine = part.lastLine;
    view.lineShift = part.lineShift;
    c.ClearOps();
    DrawNoteSheet(c, view);
    out += c.Serialise();
    out += "P\n";
  }
  return Give(std::move(out));
}

// The A4 sheet's size in the page's pixels.
EMSCRIPTEN_KEEPALIVE int kz_nb_sheet_width() { return NotePageWidth(SCREEN_PPI); }
EMSCRIPTEN_KEEPALIVE int kz_nb_sheet_height() { return NoteA4Height(SCREEN_PPI); }

// The page's state as JSON, for the page's boxes and for tests.
EMSCRIPTEN_KEEPALIVE const char* kz_nb_state() {
  NoteSheetView view = ViewFor(Sheet(), false, 0);
  const std::vector<NoteLineBand> bands = NoteLineBands(Sheet(), view);
  std::string s = "{\"title\":" + JsonString(NotePage.title);
  s += ",\"fileName\":" + JsonString(NotePage.fileName);
  s += ",\"selected\":" + std::to_string(NotePage.selected);
  s += ",\"modified\":" + std::string(NotePage.modified ? "true" : "false");
  s += ",\"pitch\":" + std::to_string(KANKAKU);
  s += ",\"equalBreak\":" + std::string(NoteEqualBreak ? "true" : "false");
  s += ",\"answerBlank\":" + std::string(NOTE_KAITOURAN_FLAG ? "true" : "false");
  s += ",\"lines\":[";
  for (int i = 1; i <= NotePage.lineCount; ++i) s += (i > 1 ? "," : "") + JsonString(NoteLine(i));
  s += "],\"marks\":[";
  for (int i = 1; i <= NotePage.lineCount; ++i) s += (i > 1 ? "," : "") + JsonString(CurrentNoteMarks(i));
  s += "],\"bands\":[";
  for (size_t i = 0; i < bands.size(); ++i)
    s += (i ? ",[" : "[") + std::to_string(bands[i].top) + "," + std::to_string(bands[i].bottom) + "]";
  s += "],\"needsKeeping\":" + std::string(PageNeedsRecovery(NotePage) ? "true" : "false");
  return Give(s + "}");
}

// The page's copy for the browser's storage (the desktop's recovery copy bytes); empty when the page holds
// nothing that is not in a file.
EMSCRIPTEN_KEEPALIVE const char* kz_nb_keep() {
  return Give(PageNeedsRecovery(NotePage) ? ComposeNoteRecovery(NotePage) : std::string());
}

// Takes a kept copy back, marked as not saved to a file; 0 when the bytes hold no page.
EMSCRIPTEN_KEEPALIVE int kz_nb_take_back(const char* bytes, int length) {
  RecoveredPage page;
  if (!bytes || length <= 0 || !ParseNoteRecovery(std::string_view(bytes, static_cast<size_t>(length)), page))
    return 0;
  if (page.lines.empty() && page.title.empty()) return 0;
  RestoreRecoveredPage(page);
  return 1;
}

// What the pupil is told once when the browser keeps nothing.
EMSCRIPTEN_KEEPALIVE const char* kz_nb_keep_failed_text() { return NOTE_RECOVERY_FAILED_TEXT; }

}  // extern "C"
