// The notebook window: the ruled A4 sheet of the notebook page (drawn by notebook/NoteSheet.h), its
// menus, keys and wheel, the file commands with their dialogs, the font dialog, the answer-column box,
// printing, and opening, activation and closing with their questions. The page itself and every
// operation on it are notebook/NotePage.h; this window asks, calls and redraws.
#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <string>

#include "notebook/NotePage.h"
#include "notebook/NoteSheet.h"

class QAction;
class QPrinter;
class QScrollBar;
class QTimer;
class QtCanvas;
class TNBComBoxForm;
class TSheetForm;
class NoteSheetArea;

class TNoteForm : public QMainWindow {
  Q_OBJECT

 public:
  // The one notebook window, or null when it is not open.
  static TNoteForm* Instance();
  // Opens the window (FormCreate and StartPage with origin and text), or, when it is open, restores it
  // if minimised, else gives it the focus. Returns the window.
  static TNoteForm* Open(NoteOrigin origin, const std::string& text);

  ~TNoteForm() override;

  // The key handler of the window and of the command box.
  void KeySyori(int vk, int shift);
  // Carries out one command of the menus, keys and command box.
  void RunCommand(NoteCommand command);
  // Draws the sheet again (after every command that changes the page or its settings).
  void Redraw();

  // Menu commands that others call by name.
  void ClearNote();
  void OpenFile();
  // The question before an edited page is replaced: true when the page may go (saved or given up).
  bool MayReplacePage();
  // Reads the file into the page and reports what it could not take (the page editor opens on bad lines).
  void LoadFile(const std::string& path);
  // Save: false when the page stays unsaved (cancelled or failed); true when saved or nothing to save.
  bool SaveFile();
  bool SaveFileAs();
  void PrintNote();
  void FontCommand();
  void TitleCommand();
  void EditPageCommand();
  void CommandBoxCommand();
  void AnswerColumnCommand();
  void SetEqualBreak(bool on);
  void SetAnswerBlank(bool on);
  // 「問題づくり」: the practice-sheet dialog (made once, kept with the window) and its menu command.
  TSheetForm* SheetMaker();
  void SheetMakerCommand();

  // The command box follows these when they change.
  void PitchChanged();
  void PageHeightChanged();

  TNBComBoxForm* CommandBox() const { return comBox_; }
  // An action of the menus by its caption (tests and the command box).
  QAction* FindAction(const QString& caption) const;
  // The sheet as the window shows it now.
  QImage GrabSheet();
  int CellWidth() const { return cw_; }
  int CellHeight() const { return ch_; }
  int HScroll() const;
  int VScroll() const;
  // Right and bottom edge remembered at opening; the command box is placed from them.
  QPoint RightBottom() const { return rightBottom_; }

  // The printer-setup dialog; tests replace it to print to a PDF file without a window.
  static std::function<bool(QPrinter&)> PrinterSetup;
  // The font dialog of the page font; tests replace it. Receives the font, returns whether OK.
  static std::function<bool(QFont&, const std::function<void(const QFont&)>& apply)> PageFontDialog;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  friend class NoteSheetArea;
  TNoteForm();
  void FormCreate(NoteOrigin origin, const std::string& text);
  void BuildMenus();
  QAction* AddItem(QMenu* menu, const char* caption, const QKeySequence& key, NoteCommand command);
  void MeasureCells();
  void UpdateScrollRanges();
  void ScrollBy(int dx, int dy);
  void WheelTurned(bool down, Qt::MouseButtons buttons);
  void PaintSheet(QPainter& painter, const QSize& size);
  bool SaveTo(const std::string& chosen);
  // Writes or removes the recovery copy as the page now needs; tells the pupil once when it cannot.
  void KeepRecoveryCopy();

  void DeleteAnswerCommand();
  void DeleteSelectedCommand();
  void EditSelectedCommand();
  void CalculateSelectedCommand();
  void CopySelectedCommand();
  void AddNewCommand();
  void DeleteAllAnswersCommand();
  void CalculateAllCommand();
  void CheckWorkingCommand();  // the pupil's working on the page: marks and the summary
  void RestoreCommand();
  void WindowA4Width();
  void SikiEditOpen();
  // The line just added for the expression editor, and whether the page was modified before it; the line
  // goes again when the editor closes with it still empty (true then).
  void LineAddedForEditor(bool wasModified);
  bool DropUnfilledLine();

  std::unique_ptr<QtCanvas> canvas_;
  NoteSheetArea* area_ = nullptr;
  QScrollBar* hBar_ = nullptr;
  QScrollBar* vBar_ = nullptr;
  TNBComBoxForm* comBox_ = nullptr;
  TSheetForm* sheetForm_ = nullptr;
  QTimer* recoveryTimer_ = nullptr;
  QAction* equalBreakItem_ = nullptr;
  QAction* answerBlankItem_ = nullptr;
  QAction* commandBoxItem_ = nullptr;
  int cw_ = 10;
  int ch_ = 20;
  QPoint rightBottom_;
  bool closing_ = false;
  int addedLine_ = 0;
  bool modifiedBeforeAdd_ = false;
  // The program ends with the calculation screen: the window closes without asking again.
  bool programEnding_ = false;
  friend void NotebookProgramEnds();
};

// Installs the notebook with the calculation screen and the expression editor: the screen's "ノートを開く"
// command, the questions the screen asks before the program ends, and the editor's notebook hooks.
// Called once at start-up, after the screen exists.
void InstallNotebook();

// Opens the notebook (or brings it up) with the page of the .siki file at path, after the question about
// an edited page; a file that cannot be read is told. True when the page shows the file.
bool OpenNotebookFile(const std::string& path);

// The calculation screen became active: an open command box is put out of the way (hidden, so that the
// notebook stays where it is) and its menu item unchecked.
void NotebookScreenActivated();

// The calculation screen closes and the program ends: an open notebook window closes without asking
// again (the screen has asked about the unsaved page) and without bringing the screen back; its place is
// kept in the settings.
void NotebookProgramEnds();

// The folder of the recovery copy: the folder the settings file is written to.
std::string NotebookRecoveryFolder();
// At start: when a recovery copy of an unsaved page is found, asks 「復元しますか？」; Yes opens the notebook
// with the page as it was (not saved, with its file name), No removes the copy. True when restored.
bool OfferNotebookRecovery();
// The program ends cleanly (the unsaved page was saved or given up when the screen closed): no copy stays.
void NotebookProgramEndsCleanly();
