// The expression editor window (TSikiEditForm): one edit field for an expression typed as a plain
// string, its error display and key-repurposing indicator, and the buttons that show or compute the
// expression on the calculation screen or the notebook line and reach the memo, the substitution box, the
// conditions and the notebook. The logic is tools/BunSikiEdit.h; this window reads its controls, calls it
// and shows the outcome. Also the calculation screen's commands that open the tool windows and move the
// focus between them.
#pragma once

#include <QWidget>
#include <functional>
#include <map>
#include <string>

#include "tools/BunSikiEdit.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

class TSikiEditForm : public QWidget {
  Q_OBJECT

 public:
  // The one editor, or null while it is closed.
  static TSikiEditForm* Instance();

  // From the calculation screen (EditorFor::Screen) or its input panel (EditorFor::InputPanel): the field receives the line, the
  // panel is minimised, and the editor is modal to the screen. Nothing happens when it is open already.
  static TSikiEditForm* OpenForScreen(EditorFor mode);
  // The notebook hands the selected line: an open editor takes it (EditorFor::NotebookHanded) and gets the
  // focus; otherwise a new one is made (EditorFor::Notebook), modal to the notebook window. onClosed runs when that editor closes.
  static TSikiEditForm* OpenForNotebook(const std::string& text, QWidget* notebook,
                                        std::function<void()> onClosed = nullptr);
  // From the memo (not modal) and the substitution box (modal to the screen): the text becomes the
  // calculation line and the editor shows it.
  static TSikiEditForm* OpenWithText(const std::string& text, bool modal);

  // The field receives a text from another window (it then counts as changed) and the editor the focus.
  void TakeText(const std::string& text);
  // Inserts a text at the caret and leaves the caret after it.
  void InsertAtCaret(const std::string& text);
  void FocusField();

  QLineEdit* Field() const { return field_; }
  QLabel* ErrorDisplay() const { return error_; }
  QLabel* Indicator() const { return indicator_; }
  QToolButton* PictureButton() const { return picture_; }
  // A button by its caption ("式表示 Ret", "閉 &C" …).
  QPushButton* Button(const QString& caption) const;
  bool FieldChanged() const { return changed_; }

  // The handlers of the buttons.
  void ShowButtonClick();
  void CalcButtonClick();
  void NoteButtonClick();
  void CloseButtonClick();
  void PictureButtonClick();
  void KeyTenyouButtonClick();
  void MemoButtonClick();
  void DainyuuButtonClick();
  void JoukenButtonClick();
  void TaihiButtonClick();
  void SounyuuButtonClick();
  void LookButtonClick();
  // A key the window sees before the field; true when it was used.
  bool KeySyori(int vk, int shift);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  explicit TSikiEditForm(QWidget* parent);
  ~TSikiEditForm() override;
  static TSikiEditForm* Create(QWidget* parent, bool modal, const std::string& text);
  QPushButton* AddButton(const char* caption, const char* hint, void (TSikiEditForm::*handler)());
  void UpdateIndicator();
  void ApplyOutcome(const EditorOutcome& outcome);
  void PlaceBesideScreen();

  QLineEdit* field_ = nullptr;
  QLabel* error_ = nullptr;
  QLabel* indicator_ = nullptr;
  QToolButton* picture_ = nullptr;
  std::map<QString, QPushButton*> buttons_;
  bool changed_ = false;
  std::function<void()> onClosed_;
};

// Gives the focus to one of the tool windows or to the calculation screen.
void FocusToolWindow(ToolWindow target);

// Installs the calculation screen's commands that open the editor (Alt+E, the menu, the panel's 編E), the
// memo (Alt+M, the menu), the substitution box (Alt+D, the menu) and F7's focus; the notebook's own hooks
// are installed by the notebook window.
void InstallToolWindowCommands();

// Maps a key event of a tool window onto virtual keys; false for keys the tool windows never handle.
bool ToolKeyOfEvent(QEvent* event, int& vk, int& shift);
// Inserts a text at the caret of a line edit, replacing its selection, and leaves the caret after it.
void InsertIntoLineEdit(QLineEdit* edit, const std::string& text);
