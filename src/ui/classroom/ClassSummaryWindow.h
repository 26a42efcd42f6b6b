// The window 「クラスのまとめ」: pupils' result files opened together (file picker with many files, a
// folder, or dropped on the window), one summary per assignment chosen from a list, the table of pupils ×
// problems (sortable by number, score or a problem), the bar chart of mistakes drawn through QtCanvas,
// the lists of replaced, edited and unreadable files, one pupil's work opened from the table, printing on A4 landscape and saving the CSV. The
// summary itself is classroom/ClassSummary.h.
#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

#include "classroom/ClassSummary.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPrinter;
class QTableWidget;
class QWidget;

class TClassSummaryForm : public QDialog {
  Q_OBJECT

 public:
  explicit TClassSummaryForm(QWidget* parent = nullptr);

  // Adds the files and folders to those already open and summarises them all again.
  void OpenPaths(const QStringList& paths);
  // Sorts the table: by number, by score (highest first) or by one problem's verdicts (column 4 + k).
  void SortBy(PupilOrder order, size_t problem = 0);
  // 印刷 through the printer setup, and CSV保存 to a file chosen (or given).
  void Print();
  bool SaveCsv(const QString& path);
  // 「解答を見る」 (or a double click on a pupil's row): that pupil's handed-in file in the assignment
  // window, with its working and verdicts. Returns the window, or nullptr when the row is no pupil's.
  QWidget* OpenPupil(int row);

  const ClassSummary& Summary() const { return summary_; }
  QTableWidget* Table() const { return table_; }
  QComboBox* AssignmentBox() const { return assignments_; }
  QListWidget* NotesList() const { return notes_; }
  QWidget* Chart() const { return chart_; }
  QLabel* Heading() const { return heading_; }

  // The printer setup (tests replace it with a PDF file) and the file choosers.
  std::function<bool(QPrinter&)> printerSetup;

 protected:
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dropEvent(QDropEvent* e) override;

 private:
  void Refill();
  void OpenFiles();
  void OpenFolder();
  void ChooseCsv();
  const AssignmentSummary* Current() const;
  void Note(const std::string& what, const std::string& file, const std::string& why = "");

  QStringList paths_;
  ClassSummary summary_;
  QComboBox* assignments_ = nullptr;
  QLabel* heading_ = nullptr;
  QTableWidget* table_ = nullptr;
  QWidget* chart_ = nullptr;
  QListWidget* notes_ = nullptr;
};
