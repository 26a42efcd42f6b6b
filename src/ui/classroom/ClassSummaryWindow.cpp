// The class summary window: a thin view over SummariseClass; every action reads the files again or
// redraws from the summary.
#include "ui/classroom/ClassSummaryWindow.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include "classroom/ClassSummaryDraw.h"
#include "platform/AtomicFile.h"
#include "platform/Platform.h"
#include "ui/AppStart.h"
#include "ui/QtCanvas.h"
#include "ui/classroom/ClassPrint.h"
#include "ui/classroom/PupilWorkWindow.h"

namespace {

QString U(const std::string& s) { return QString::fromStdString(s); }

constexpr const char* CAPTION = "クラスのまとめ";

// The bar chart of the chosen assignment, drawn by the summary's own chart drawing.
class ChartView : public QWidget {
 public:
  explicit ChartView(std::function<const AssignmentSummary*()> current) : current_(std::move(current)) {
    setMinimumHeight(160);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const AssignmentSummary* a = current_();
    if (!a) return;
    QtCanvas canvas(this);
    canvas.Begin(&p);
    DrawMistakeChart(canvas, *a, {8, 8, width() - 8, height() - 8});
    canvas.End();
  }

 private:
  std::function<const AssignmentSummary*()> current_;
};

}  // namespace

TClassSummaryForm::TClassSummaryForm(QWidget* parent) : QDialog(parent) {
  setWindowTitle(U(CAPTION));
  setFont(QtCanvas::WindowFont(font()));
  setAcceptDrops(true);
  resize(1000, 700);
  auto* top = new QHBoxLayout;
  auto* openFiles = new QPushButton(U("ファイルを開く..."));
  auto* openFolder = new QPushButton(U("フォルダーを開く..."));
  auto* print = new QPushButton(U("印刷..."));
  auto* csv = new QPushButton(U("CSV で保存..."));
  auto* pupil = new QPushButton(U("解答を見る..."));
  pupil->setToolTip(U("表で選んだ人の途中の式と○×を見ます（行をダブルクリックしても開きます）"));
  assignments_ = new QComboBox;
  top->addWidget(openFiles);
  top->addWidget(openFolder);
  top->addWidget(assignments_, 1);
  top->addWidget(pupil);
  top->addWidget(print);
  top->addWidget(csv);
  heading_ = new QLabel(U("結果のファイル（.kazoru）を開くか、この窓にドロップしてください。"));
  heading_->setWordWrap(true);
  heading_->setTextFormat(Qt::PlainText);
  table_ = new QTableWidget;
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->hide();
  chart_ = new ChartView([this] { return Current(); });
  notes_ = new QListWidget;
  auto* split = new QSplitter(Qt::Vertical);
  split->addWidget(table_);
  split->addWidget(chart_);
  split->addWidget(notes_);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 2);
  split->setStretchFactor(2, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(heading_);
  layout->addWidget(split, 1);
  connect(openFiles, &QPushButton::clicked, this, [this] { OpenFiles(); });
  connect(openFolder, &QPushButton::clicked, this, [this] { OpenFolder(); });
  connect(print, &QPushButton::clicked, this, [this] { Print(); });
  connect(pupil, &QPushButton::clicked, this, [this] { OpenPupil(table_->currentRow()); });
  connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { OpenPupil(row); });
  connect(csv, &QPushButton::clicked, this, [this] { ChooseCsv(); });
  connect(assignments_, &QComboBox::currentIndexChanged, this, [this] { Refill(); });
  // Clicking a column header sorts: number, score, or the problem of that column.
  connect(table_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
    if (column == 2)
      SortBy(PupilOrder::ScoreDown);
    else if (column >= 4 && Current() && static_cast<size_t>(column - 4) < Current()->problems.size())
      SortBy(PupilOrder::Problem, static_cast<size_t>(column - 4));
    else
      SortBy(PupilOrder::Number);
  });
  printerSetup = [this](QPrinter& printer) {
    QPrintDialog dialog(&printer, this);
    JapanesePrintDialog(dialog);
    return dialog.exec() == QDialog::Accepted;
  };
}

// A line of the notes under the table names a file by its name; the whole path shows when pointed at.
void TClassSummaryForm::Note(const std::string& what, const std::string& file, const std::string& why) {
  auto* item = new QListWidgetItem(U(what) + QFileInfo(U(file)).fileName() + U(why), notes_);
  item->setToolTip(U(file));
}

const AssignmentSummary* TClassSummaryForm::Current() const {
  const int k = assignments_->currentIndex();
  if (k < 0 || k >= static_cast<int>(summary_.assignments.size())) return nullptr;
  return &summary_.assignments[static_cast<size_t>(k)];
}

void TClassSummaryForm::OpenPaths(const QStringList& paths) {
  for (const QString& p : paths)
    if (!paths_.contains(p)) paths_ << p;
  std::vector<std::string> list;
  for (const QString& p : paths_) list.push_back(p.toStdString());
  summary_ = SummariseClass(ReadClassInputs(list));
  const QSignalBlocker block(assignments_);
  assignments_->clear();
  for (const AssignmentSummary& a : summary_.assignments)
    assignments_->addItem(U(a.assignment.title + "（" + std::to_string(a.pupils.size()) + " 人）"));
  Refill();
}

void TClassSummaryForm::SortBy(PupilOrder order, size_t problem) {
  const int k = assignments_->currentIndex();
  if (k < 0 || k >= static_cast<int>(summary_.assignments.size())) return;
  SortPupils(summary_.assignments[static_cast<size_t>(k)], order, problem);
  Refill();
}

void TClassSummaryForm::Refill() {
  notes_->clear();
  const AssignmentSummary* a = Current();
  table_->clear();
  table_->setRowCount(0);
  if (a) {
    heading_->setText(U("課題: " + a->assignment.title + "　" + std::to_string(a->pupils.size()) + " 人　" +
                        std::to_string(a->problems.size()) + " 問　答えの形: " +
                        AssignmentFinalName(a->assignment.finalForm) + "　コード " + GroupedCode(a->code)));
    QStringList head = {U("番号"), U("名前"), U("得点"), U("時間")};
    for (size_t k = 0; k < a->problems.size(); ++k)
      head << U("問" + std::to_string(k + 1) + "\n" + ReadableProblem(a->problems[k].problem));
    head << U("まちがいとアドバイス");
    table_->setColumnCount(static_cast<int>(head.size()));
    table_->setHorizontalHeaderLabels(head);
    table_->setRowCount(static_cast<int>(a->pupils.size()) + 2);
    int row = 0;
    for (const SummaryPupil& p : a->pupils) {
      table_->setItem(row, 0, new QTableWidgetItem(QString::number(p.number)));
      table_->setItem(row, 1, new QTableWidgetItem(U(p.className + " " + p.name)));
      table_->setItem(
          row, 2,
          new QTableWidgetItem(U(std::to_string(p.score) + "/" + std::to_string(a->problems.size()))));
      table_->setItem(row, 3, new QTableWidgetItem(U(DurationText(p.seconds))));
      for (size_t k = 0; k < p.cells.size(); ++k) {
        auto* item = new QTableWidgetItem(U(CellText(p.cells[k])));
        item->setTextAlignment(Qt::AlignCenter);
        table_->setItem(row, 4 + static_cast<int>(k), item);
      }
      std::string advice;
      for (const std::string& m : p.mistakes)
        advice += (advice.empty() ? "" : " ／ ") + SummaryMistakeName(m) + "：" + SummaryMistakeAdvice(m);
      table_->setItem(row, 4 + static_cast<int>(p.cells.size()), new QTableWidgetItem(U(advice)));
      ++row;
    }
    table_->setItem(row, 1, new QTableWidgetItem(U("正解の人数")));
    table_->setItem(row + 1, 1, new QTableWidgetItem(U("多いまちがい")));
    for (size_t k = 0; k < a->problems.size(); ++k) {
      const SummaryProblem& p = a->problems[k];
      table_->setItem(row, 4 + static_cast<int>(k), new QTableWidgetItem(QString::number(p.right)));
      std::string top;
      for (size_t j = 0; j < p.mistakes.size() && j < 2; ++j)
        top += (j ? "\n" : "") + SummaryMistakeName(p.mistakes[j].id) + "（" +
               std::to_string(p.mistakes[j].count) + "人）";
      table_->setItem(row + 1, 4 + static_cast<int>(k), new QTableWidgetItem(U(top)));
    }
    table_->resizeColumnsToContents();
    table_->resizeRowsToContents();
    for (const std::string& f : a->superseded) Note("あとの提出で差しかえ: ", f);
    for (const std::string& f : a->tampered) Note("問題が書きかえられている: ", f);
  } else if (!paths_.isEmpty()) {
    heading_->setText(U("まとめられる結果のファイルがありません。"));
  }
  for (const SkippedFile& f : summary_.skipped) Note("読めなかったファイル: ", f.file, "　" + f.reason);
  chart_->update();
}

QWidget* TClassSummaryForm::OpenPupil(int row) {
  const AssignmentSummary* a = Current();
  if (!a || row < 0 || row >= static_cast<int>(a->pupils.size())) return nullptr;
  const QString file = U(a->pupils[static_cast<size_t>(row)].file);
  auto* work = new TPupilWorkForm(this);
  work->setAttribute(Qt::WA_DeleteOnClose);
  const QString why = work->OpenResultFile(file, true);
  if (!why.isEmpty()) {
    delete work;
    ShowMessage(why.toStdString() + "\n" + file.toStdString(), CAPTION);
    return nullptr;
  }
  work->show();
  work->raise();
  work->activateWindow();
  return work;
}

void TClassSummaryForm::OpenFiles() {
  const QStringList files = QFileDialog::getOpenFileNames(this, U("結果のファイルを開く"), QString(),
                                                          U("Kazoru の結果 (*.kazoru)"));
  if (!files.isEmpty()) OpenPaths(files);
}

void TClassSummaryForm::OpenFolder() {
  const QString dir = QFileDialog::getExistingDirectory(this, U("結果のファイルのフォルダー"));
  if (!dir.isEmpty()) OpenPaths({dir});
}

void TClassSummaryForm::Print() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageOrientation(QPageLayout::Landscape);
  if (!printerSetup || !printerSetup(printer)) return;
  int pages = 0;
  if (!PrintClassSummary(printer, summary_, pages)) ShowMessage("印刷できませんでした。", CAPTION);
}

bool TClassSummaryForm::SaveCsv(const QString& path) {
  if (WriteAtomically(path.toStdString(), ClassSummaryCsv(summary_))) return true;
  ShowMessage("CSV のファイルを書けません: " + path.toStdString(), CAPTION);
  return false;
}

void TClassSummaryForm::ChooseCsv() {
  const QString path =
      QFileDialog::getSaveFileName(this, U("CSV で保存"), U("クラスのまとめ.csv"), U("CSV (*.csv)"));
  if (!path.isEmpty()) SaveCsv(path);
}

void TClassSummaryForm::dragEnterEvent(QDragEnterEvent* e) {
  if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void TClassSummaryForm::dropEvent(QDropEvent* e) {
  QStringList paths;
  for (const QUrl& u : e->mimeData()->urls())
    if (u.isLocalFile()) paths << u.toLocalFile();
  if (!paths.isEmpty()) OpenPaths(paths);
  e->acceptProposedAction();
}
