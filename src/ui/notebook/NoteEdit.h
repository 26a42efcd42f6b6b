// The page editor (TNoteEditForm): the whole notebook page as plain text, one expression per line, white
// on navy; its check of every line, storing the lines back into the page, Look and the font; the keys that
// insert the π text, "=" and the repurposed letters. Modal; at most one at a time.
#pragma once

#include <QDialog>
#include <QFont>
#include <string>
#include <vector>

class QAction;
class QPlainTextEdit;

class TNoteEditForm : public QDialog {
  Q_OBJECT

 public:
  explicit TNoteEditForm(QWidget* parent = nullptr);
  ~TNoteEditForm() override;

  // Whether a page editor is open now (the notebook refuses a second one).
  static bool IsOpen();
  // The editor now open, or null.
  static TNoteEditForm* Current();

  QPlainTextEdit* Field() const { return field_; }
  bool FieldChanged() const { return changed_; }
  // The field's lines as the page would receive them.
  std::vector<std::string> FieldLines() const;
  QAction* FindAction(const QString& caption) const;

  // Menu handlers.
  void DiscardClose();  // "破棄終了(&U)"
  void ReflectClose();  // "反映終了(&R)"
  void CheckCommand();  // "適切さチェック(&C)"
  void ShowCheck();  // "表示確認 (&D)"
  void LookCommand();  // "Lookする(&L)"
  void FontCommand();  // "フォント(&F)"

  // Checks every line; at the first bad one selects the bad character, tells the line, position and
  // message, and returns false.
  bool CheckLines();

  // The font size chosen in the editor's font dialog; kept for the rest of the run.
  static int RememberedSize;
  // The font dialog; tests replace it. Receives the font, returns whether OK.
  static std::function<bool(QFont&)> FontDialog;
  // Called after lines were stored into the page (the notebook redraws).
  std::function<void()> pageStored;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void StoreLines();

  QPlainTextEdit* field_ = nullptr;
  bool changed_ = false;
  bool filling_ = false;
  bool closingConfirmed_ = false;
};
