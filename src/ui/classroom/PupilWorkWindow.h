// The window 「課題」: a pupil works an assignment opened from its code or link — 組・番号・名前 asked once
// (kept in the settings), the problems in a list beside the one being worked, its working typed as "="
// lines under it, the step checker's verdicts as the feedback mode allows, the progress (7 / 20), the
// work written to this computer's configuration folder after every change, and 提出 saving the result file
// where the pupil chooses. A handed-in result file opens in it too: looked at with the verdicts, and
// continued when the pupil asks. The work itself is classroom/PupilWork.h.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

#include "classroom/PupilWork.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QWidget;

class TPupilWorkForm : public QDialog {
  Q_OBJECT

 public:
  explicit TPupilWorkForm(QWidget* parent = nullptr);

  // Opens the assignment of a code or link to work on; the work this computer kept for it continues.
  // Returns "" or the message shown (a damaged or cut code, a newer format).
  QString OpenCode(const QString& codeOrLink);
  // Shows a result file to be looked at (nothing can be changed until ContinueWork). Returns "" or why
  // the file cannot be shown. For the teacher (from the class summary) the verdicts are shown as the
  // summary judges them and the file cannot be continued; for the pupil, as the feedback mode shows them
  // after a hand-in.
  QString OpenResultFile(const QString& path, bool teacher = false);
  // 「続きを解く」: the work of the file shown becomes this computer's work on the assignment. When this
  // computer already keeps other work on it, the pupil is asked which one to go on with.
  QString ContinueWork();

  // 組・番号・名前 as the name box takes them: "" when taken (and remembered in the settings) or why not.
  QString TakeName(const QString& className, int number, const QString& name);
  // Shows problem k (0-based) with its working.
  void Go(size_t k);
  // 提出: asks for the place through the platform's save dialog and writes the result file there.
  // False when nothing was written (cancelled, the name not said, the file not written).
  bool HandIn();
  // 「ヒント」 for the problem shown.
  void AskHint();
  // Adds one second to the problem shown (the window's clock calls it while the window is active).
  void Tick();

  // Asks 組・番号・名前 when the work needs them (on opening, before 提出); the name box by default, tests
  // answer through TakeName.
  std::function<void()> nameAsker;

  const PupilWork& Work() const { return work_; }
  bool Opened() const { return opened_; }
  bool ReadOnly() const { return readOnly_; }
  // Where this computer keeps the work of the open assignment.
  QString StorePath() const;
  // The folder the work is kept in: the configuration folder's "kadai" unless set (tests set it).
  static QString StoreFolder();
  static void SetStoreFolder(const QString& folder);

  QPlainTextEdit* WorkingEdit() const { return working_; }
  QLabel* ProgressLabel() const { return progress_; }
  QLabel* FeedbackLabel() const { return feedback_; }
  QLabel* StatusLabel() const { return status_; }
  QListWidget* ProblemList() const { return list_; }
  QPushButton* HandInButton() const { return handIn_; }
  QPushButton* ContinueButton() const { return continue_; }
  QWidget* WorkView() const { return view_; }

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  void Start();
  void Refresh();
  void ShowProblem();
  void WorkingEdited();
  bool Keep();
  void AskName();
  void Say(const QString& text);

  PupilWork work_;
  bool opened_ = false;
  bool readOnly_ = false;
  bool teacher_ = false;
  bool filling_ = false;  // the editor is being filled by the window, not typed in
  std::string resultBytes_;  // the result file shown, for ContinueWork
  QLabel* title_ = nullptr;
  QLabel* progress_ = nullptr;
  QPushButton* who_ = nullptr;
  QPushButton* handIn_ = nullptr;
  QPushButton* continue_ = nullptr;
  QPushButton* hint_ = nullptr;
  QPushButton* prev_ = nullptr;
  QPushButton* next_ = nullptr;
  QLabel* banner_ = nullptr;
  QListWidget* list_ = nullptr;
  QWidget* view_ = nullptr;
  QPlainTextEdit* working_ = nullptr;
  QLabel* feedback_ = nullptr;
  QLabel* status_ = nullptr;
  QTimer* clock_ = nullptr;
  int ticks_ = 0;
};

// 「課題を開く」: asks for the code or link in the input box and opens the assignment in a window over
// parent. Returns the window, or nullptr when cancelled or the code was refused (the pupil is told).
TPupilWorkForm* OpenAssignmentFromDialog(QWidget* parent);
