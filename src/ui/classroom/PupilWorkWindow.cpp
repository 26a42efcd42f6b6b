// The pupil's assignment window: a thin view over PupilWork; every change goes into the work, is written
// to this computer at once, and the view is drawn again from the work.
#include "ui/classroom/PupilWorkWindow.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include "engine/Settings.h"
#include "platform/AtomicFile.h"
#include "platform/Platform.h"
#include "platform/ShiftJis.h"
#include "screen/SettingsFile.h"
#include "sheets/SheetPages.h"
#include "ui/QtCanvas.h"

namespace {

QString U(const std::string& s) { return QString::fromStdString(s); }

constexpr const char* CAPTION = "課題";
// One row of the problem or of a working line, in pixels before the scale it is drawn at.
constexpr int ROW_HEIGHT = 48;
constexpr double PROBLEM_SCALE = 1.5, LINE_SCALE = 1.25;
// The time spent is written at least this often while the pupil works (every change is written at once).
constexpr int KEEP_TIME_EVERY_S = 5;

QString& StoreFolderSetting() {
  static QString folder;
  return folder;
}

int64_t Now() { return QDateTime::currentSecsSinceEpoch(); }
int OffsetMinutes() { return QDateTime::currentDateTime().offsetFromUtc() / 60; }

// The problem shown and its working in school notation, each working line with its marks (○ / ×) when
// the verdicts are shown.
class ProblemView : public QWidget {
 public:
  struct Row {
    std::string text;  // in the notation, with the leading "="
    std::string marks;
    bool right = true;
  };
  std::function<void(std::string&, std::vector<Row>&)> rows;

  ProblemView() { setMinimumHeight(ROW_HEIGHT * 2); }

  void Update() {
    std::string problem;
    std::vector<Row> lines;
    if (rows) rows(problem, lines);
    const int h =
        static_cast<int>(ROW_HEIGHT * (PROBLEM_SCALE + LINE_SCALE * static_cast<double>(lines.size())));
    setMinimumHeight(std::max(h + 8, ROW_HEIGHT * 2));
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    std::string problem;
    std::vector<Row> lines;
    if (rows) rows(problem, lines);
    if (problem.empty()) return;
    QtCanvas canvas(this);
    p.save();
    p.scale(PROBLEM_SCALE, PROBLEM_SCALE);
    canvas.Begin(&p);
    DrawSheetRows(canvas, {problem}, false, ROW_HEIGHT);
    canvas.End();
    p.restore();
    double y = ROW_HEIGHT * PROBLEM_SCALE;
    const int markX = width() - 90;
    for (const Row& r : lines) {
      p.save();
      p.translate(0, y);
      p.scale(LINE_SCALE, LINE_SCALE);
      canvas.Begin(&p);
      DrawSheetRows(canvas, {r.text}, false, ROW_HEIGHT);
      canvas.End();
      p.restore();
      if (!r.marks.empty()) {
        QFont f = QtCanvas::WindowFont(font());
        f.setPixelSize(22);
        p.setFont(f);
        p.setPen(r.right ? QColor(0, 110, 200) : QColor(200, 30, 30));
        p.drawText(QRect(markX, static_cast<int>(y), 86, static_cast<int>(ROW_HEIGHT * LINE_SCALE)),
                   Qt::AlignLeft | Qt::AlignVCenter, U(r.marks));
      }
      y += ROW_HEIGHT * LINE_SCALE;
    }
  }
};

// The box 「組・番号・名前」: the three fields, and the reason they are refused under them.
class NameBox : public QDialog {
 public:
  NameBox(QWidget* parent, const PupilWork& w) : QDialog(parent) {
    setWindowTitle(U("組・番号・名前"));
    setFont(QtCanvas::WindowFont(font()));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(U("はじめに、組と番号と名前を入れてください。この計算機に覚えておきます。")));
    auto* form = new QFormLayout;
    className_ = new QLineEdit(U(w.number ? w.className : KADAI_KUMI));
    number_ = new QLineEdit(w.number ? QString::number(w.number)
                                     : (KADAI_BANGOU > 0 ? QString::number(KADAI_BANGOU) : QString()));
    name_ = new QLineEdit(U(w.number ? w.name : KADAI_NAMAE));
    className_->setPlaceholderText(U("5年2組"));
    form->addRow(U("組"), className_);
    form->addRow(U("番号"), number_);
    form->addRow(U("名前"), name_);
    layout->addLayout(form);
    error_ = new QLabel;
    error_->setStyleSheet("color: #b00000");
    layout->addWidget(error_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
      if (take) {
        const QString why = take(className_->text(), Number(), name_->text());
        error_->setText(why);
        if (!why.isEmpty()) return;
      }
      accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    for (QLineEdit* f : {className_, number_, name_})
      if (f->text().isEmpty()) {
        f->setFocus();
        break;
      }
  }
  std::function<QString(const QString&, int, const QString&)> take;

 private:
  // Full-width digits count as digits; anything else is no number (0, which the check refuses).
  int Number() const {
    QString digits;
    for (QChar c : number_->text().trimmed()) {
      if (c.unicode() >= 0xFF10 && c.unicode() <= 0xFF19) c = QChar(c.unicode() - 0xFF10 + '0');
      if (c < '0' || c > '9') return 0;
      digits += c;
    }
    return digits.size() >= 1 && digits.size() <= 4 ? digits.toInt() : 0;
  }
  QLineEdit* className_;
  QLineEdit* number_;
  QLineEdit* name_;
  QLabel* error_;
};

// Reads at most one byte more than a result file may hold, so that a huge file is refused by its reader.
bool ReadSmallFile(const QString& path, size_t limit, std::string& bytes) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return false;
  bytes = f.read(static_cast<qint64>(limit) + 1).toStdString();
  return true;
}

}  // namespace

QString TPupilWorkForm::StoreFolder() {
  if (!StoreFolderSetting().isEmpty()) return StoreFolderSetting();
  return U(SettingsConfigDir()) + "/kadai";
}

void TPupilWorkForm::SetStoreFolder(const QString& folder) { StoreFolderSetting() = folder; }

QString TPupilWorkForm::StorePath() const { return StoreFolder() + "/" + U(PupilWorkStoreName(work_.code)); }

TPupilWorkForm::TPupilWorkForm(QWidget* parent) : QDialog(parent) {
  setWindowTitle(U(CAPTION));
  setFont(QtCanvas::WindowFont(font()));
  resize(900, 640);
  title_ = new QLabel;
  QFont big = font();
  big.setPointSize(big.pointSize() + 4);
  big.setBold(true);
  title_->setFont(big);
  title_->setTextFormat(Qt::PlainText);
  progress_ = new QLabel;
  progress_->setFont(big);
  who_ = new QPushButton;
  handIn_ = new QPushButton(U("提出..."));
  continue_ = new QPushButton(U("続きを解く"));
  continue_->hide();
  auto* top = new QHBoxLayout;
  top->addWidget(title_, 1);
  top->addWidget(progress_);
  top->addWidget(who_);
  top->addWidget(continue_);
  top->addWidget(handIn_);
  banner_ = new QLabel;
  banner_->setWordWrap(true);
  banner_->setTextFormat(Qt::PlainText);
  banner_->setStyleSheet("background: #fff6d0; padding: 4px");
  banner_->hide();

  list_ = new QListWidget;
  list_->setMaximumWidth(220);
  view_ = new ProblemView;
  working_ = new QPlainTextEdit;
  working_->setPlaceholderText(
      U("ここに途中の式を書きます。1行に1つ、「=」で始めても始めなくてもかまいません。"));
  QFont typed = font();
  typed.setPointSize(typed.pointSize() + 4);
  working_->setFont(typed);
  working_->setFixedHeight(working_->fontMetrics().lineSpacing() * 6 + 12);
  feedback_ = new QLabel;
  feedback_->setWordWrap(true);
  feedback_->setTextFormat(Qt::PlainText);
  feedback_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  hint_ = new QPushButton(U("ヒント"));
  prev_ = new QPushButton(U("← 前の問題"));
  next_ = new QPushButton(U("次の問題 →"));
  auto* nav = new QHBoxLayout;
  nav->addWidget(prev_);
  nav->addWidget(next_);
  nav->addStretch(1);
  nav->addWidget(hint_);
  auto* right = new QWidget;
  auto* rightLayout = new QVBoxLayout(right);
  rightLayout->setContentsMargins(0, 0, 0, 0);
  rightLayout->addWidget(view_, 1);
  rightLayout->addWidget(working_);
  rightLayout->addWidget(feedback_);
  rightLayout->addLayout(nav);
  auto* split = new QSplitter;
  split->addWidget(list_);
  split->addWidget(right);
  split->setStretchFactor(1, 1);
  status_ = new QLabel;
  status_->setWordWrap(true);
  status_->setTextFormat(Qt::PlainText);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(banner_);
  layout->addWidget(split, 1);
  layout->addWidget(status_);

  static_cast<ProblemView*>(view_)->rows = [this](std::string& problem, std::vector<ProblemView::Row>& rows) {
    if (!opened_ || work_.current >= work_.problems.size()) return;
    const PupilProblem& p = work_.problems[work_.current];
    problem = p.problem;
    const PupilFeedback f =
        teacher_ ? PupilProblemReview(work_, work_.current) : PupilProblemFeedback(work_, work_.current);
    for (size_t l = 0; l < p.working.size(); ++l) {
      ProblemView::Row r{"=" + p.working[l], "", true};
      for (const PupilStep& s : f.steps)
        if (s.line == l) {
          r.marks += s.right ? "○" : "×";
          r.right = r.right && s.right;
        }
      rows.push_back(std::move(r));
    }
  };

  connect(who_, &QPushButton::clicked, this, [this] { AskName(); });
  connect(handIn_, &QPushButton::clicked, this, [this] { HandIn(); });
  connect(continue_, &QPushButton::clicked, this, [this] {
    const QString why = ContinueWork();
    if (!why.isEmpty()) ShowMessage(why.toStdString(), CAPTION);
  });
  connect(hint_, &QPushButton::clicked, this, [this] { AskHint(); });
  connect(prev_, &QPushButton::clicked, this, [this] {
    if (work_.current > 0) Go(work_.current - 1);
  });
  connect(next_, &QPushButton::clicked, this, [this] { Go(work_.current + 1); });
  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0 && !filling_) Go(static_cast<size_t>(row));
  });
  connect(working_, &QPlainTextEdit::textChanged, this, [this] { WorkingEdited(); });
  clock_ = new QTimer(this);
  connect(clock_, &QTimer::timeout, this, [this] {
    if (isActiveWindow()) Tick();
  });
  clock_->start(1000);
  nameAsker = [this] { AskName(); };
  Refresh();
}

QString TPupilWorkForm::OpenCode(const QString& codeOrLink) {
  PupilWork w;
  const std::string why = OpenPupilWork(codeOrLink.toStdString(), w);
  if (!why.empty()) return U(why);
  work_ = std::move(w);
  opened_ = true;
  readOnly_ = false;
  teacher_ = false;
  resultBytes_.clear();
  banner_->hide();
  continue_->hide();
  std::string stored;
  const QString path = StorePath();
  if (QFileInfo::exists(path)) {
    PupilWork kept;
    std::string bad = ReadSmallFile(path, PUPIL_WORK_MAX_BYTES, stored) ? ReadPupilWork(stored, kept)
                                                                        : "ファイルを読めません。";
    if (bad.empty() && kept.code != work_.code) bad = "別の課題の記録です。";
    if (bad.empty()) {
      work_ = std::move(kept);
    } else {
      // The unreadable record is put aside, never written over: someone may still read it by hand.
      const QString aside = path + ".unreadable-" + QString::number(Now());
      QFile::rename(path, aside);
      Say(U("この計算機に残っていた記録を読めませんでした（" + bad + "）。はじめから取り組みます。"));
    }
  }
  Start();
  return {};
}

void TPupilWorkForm::Start() {
  StartPupilWork(work_, Now(), OffsetMinutes());
  if (!work_.number && CheckPupilName(KADAI_KUMI, KADAI_BANGOU, KADAI_NAMAE).empty())
    SetPupilName(work_, KADAI_KUMI, KADAI_BANGOU, KADAI_NAMAE);
  Keep();
  ShowProblem();
  Refresh();
  if (!work_.number && nameAsker) QTimer::singleShot(0, this, [this] { nameAsker(); });
}

QString TPupilWorkForm::OpenResultFile(const QString& path, bool teacher) {
  std::string bytes;
  if (!ReadSmallFile(path, RESULT_MAX_BYTES, bytes)) return U("ファイルを読めません: ") + path;
  PupilWork w;
  const std::string why = ContinuePupilWork(bytes, w);
  if (!why.empty()) return U(why);
  work_ = std::move(w);
  opened_ = true;
  readOnly_ = true;
  teacher_ = teacher;
  resultBytes_ = std::move(bytes);
  const QString file = QFileInfo(path).fileName();
  banner_->setText(teacher
                       ? U("提出されたファイル「") + file + U("」を見ています。○×は先生のまとめと同じです。")
                       : U("提出したファイル「") + file +
                             U("」を見ています。書きなおすときは「続きを解く」を押してください。"));
  banner_->setToolTip(path);
  banner_->show();
  continue_->setVisible(!teacher);
  ShowProblem();
  Refresh();
  return {};
}

QString TPupilWorkForm::ContinueWork() {
  if (!readOnly_ || resultBytes_.empty()) return {};
  PupilWork fromFile;
  const std::string why = ContinuePupilWork(resultBytes_, fromFile);
  if (!why.empty()) return U(why);
  const PupilWork shown = work_;
  work_ = fromFile;
  std::string stored;
  PupilWork kept;
  if (QFileInfo::exists(StorePath()) && ReadSmallFile(StorePath(), PUPIL_WORK_MAX_BYTES, stored) &&
      ReadPupilWork(stored, kept).empty() && kept.code == fromFile.code && PupilDoneCount(kept) > 0) {
    const MsgAnswer a = AskQuestion(
        "この計算機には、この課題の別の記録が残っています（" + std::to_string(PupilDoneCount(kept)) + " / " +
            std::to_string(kept.problems.size()) +
            " 問）。\nファイルの内容から続けますか？\n「いいえ」で、この計算機に残っている記録から続けます。",
        CAPTION, MsgButtons::YesNoCancel);
    if (a == MsgAnswer::Cancel) {
      work_ = shown;
      return {};
    }
    if (a == MsgAnswer::No) work_ = std::move(kept);
  }
  readOnly_ = false;
  resultBytes_.clear();
  banner_->hide();
  continue_->hide();
  Start();
  return {};
}

QString TPupilWorkForm::TakeName(const QString& className, int number, const QString& name) {
  if (!opened_ || readOnly_) return {};
  const std::string why = SetPupilName(work_, className.toStdString(), number, name.toStdString());
  if (!why.empty()) return U(why);
  // Remembered for the next assignment, where the settings file can hold the name.
  std::string sjis;
  if (Utf8ToCp932(work_.className, sjis) && Utf8ToCp932(work_.name, sjis)) {
    KADAI_KUMI = work_.className;
    KADAI_BANGOU = static_cast<int>(work_.number);
    KADAI_NAMAE = work_.name;
    WriteChangedSettings();
  }
  Keep();
  Refresh();
  return {};
}

void TPupilWorkForm::AskName() {
  if (!opened_ || readOnly_) return;
  NameBox box(this, work_);
  box.take = [this](const QString& c, int n, const QString& name) { return TakeName(c, n, name); };
  box.exec();
  working_->setFocus();
}

void TPupilWorkForm::Go(size_t k) {
  if (!opened_ || k >= work_.problems.size()) return;
  SetPupilView(work_, true, k);
  if (!readOnly_) Keep();
  ShowProblem();
  Refresh();
  working_->setFocus();
}

void TPupilWorkForm::ShowProblem() {
  filling_ = true;
  QString text;
  if (opened_ && work_.current < work_.problems.size())
    for (const std::string& line : work_.problems[work_.current].working) text += "=" + U(line) + "\n";
  working_->setPlainText(text);
  working_->moveCursor(QTextCursor::End);
  filling_ = false;
}

void TPupilWorkForm::WorkingEdited() {
  if (filling_ || !opened_ || readOnly_) return;
  const std::string why = SetPupilWorking(work_, work_.current, working_->toPlainText().toStdString());
  if (!why.empty()) {
    Say(U(why));
    return;
  }
  Say({});
  Keep();
  Refresh();
}

void TPupilWorkForm::AskHint() {
  if (!opened_ || readOnly_) return;
  AskPupilHint(work_, work_.current);
  Keep();
  Refresh();
}

void TPupilWorkForm::Tick() {
  if (!opened_ || readOnly_) return;
  AddPupilSeconds(work_, work_.current, 1);
  if (++ticks_ % KEEP_TIME_EVERY_S == 0) Keep();
}

bool TPupilWorkForm::Keep() {
  if (!opened_ || readOnly_) return false;
  QDir().mkpath(StoreFolder());
  if (WriteAtomically(StorePath().toStdString(), WritePupilWork(work_))) return true;
  Say(U("この計算機に課題の記録を残せません。窓を閉じる前に「提出」でファイルにしてください。"));
  return false;
}

void TPupilWorkForm::Say(const QString& text) {
  status_->setText(text);
  status_->setStyleSheet(text.isEmpty() ? QString() : QString("color: #b00000"));
}

bool TPupilWorkForm::HandIn() {
  if (!opened_ || readOnly_) return false;
  if (!work_.number && nameAsker) nameAsker();
  if (!work_.number) return false;
  const size_t left = work_.problems.size() - PupilDoneCount(work_);
  const std::string question =
      (left ? "まだ途中の式を書いていない問題が " + std::to_string(left) + " 問あります。\n"
            : std::string()) +
      (work_.handIns ? "前に提出したものの代わりに、今の答えを提出します。" : "答えを提出します。") +
      "よろしいですか。";
  if (AskQuestion(question, "提出", MsgButtons::YesNo) != MsgAnswer::Yes) return false;
  // The hand-in counts once its file is written.
  PupilWork handed = work_;
  std::string name, bytes;
  const std::string why = HandInPupilWork(handed, Now(), OffsetMinutes(), name, bytes);
  if (!why.empty()) {
    ShowMessage(why, "提出");
    return false;
  }
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = QDir::homePath();
  QString path = U(CurrentPlatform().SaveFileName("提出するファイルの保存", "Kazoru の結果 (*.kazoru)",
                                                  (folder + "/" + U(name)).toStdString()));
  if (path.isEmpty()) return false;
  if (!path.endsWith(".kazoru", Qt::CaseInsensitive)) path += ".kazoru";
  if (!WriteAtomically(path.toStdString(), bytes)) {
    ShowMessage(
        "ファイルを書けません: " + path.toStdString() + "\n別の場所を選んで、もう一度提出してください。",
        "提出");
    return false;
  }
  work_ = std::move(handed);
  Keep();
  Refresh();
  const QString at = U(work_.handedIn).mid(11, 5);
  status_->setStyleSheet({});
  status_->setText(U("提出しました（") + QString::number(work_.handIns) + U("回目 ") + at + U("）: ") +
                   QFileInfo(path).fileName() + U("　このファイルを先生に渡してください。"));
  status_->setToolTip(path);
  return true;
}

void TPupilWorkForm::Refresh() {
  if (!opened_) {
    title_->setText(U("課題"));
    progress_->clear();
    who_->hide();
    handIn_->setEnabled(false);
    return;
  }
  setWindowTitle(U(std::string(CAPTION) + " - " + work_.assignment.title));
  title_->setText(U(work_.assignment.title));
  progress_->setText(QString::number(PupilDoneCount(work_)) + " / " + QString::number(work_.problems.size()));
  progress_->setToolTip(QString::number(work_.problems.size()) + U(" 問中 ") +
                        QString::number(PupilDoneCount(work_)) + U(" 問に取り組みました"));
  who_->show();
  who_->setText(work_.number ? U(work_.className + " " + std::to_string(work_.number) + "番 " + work_.name)
                             : U("名前を入れる"));
  who_->setEnabled(!readOnly_);
  handIn_->setVisible(!readOnly_);
  handIn_->setEnabled(!readOnly_);
  working_->setReadOnly(readOnly_);
  const bool teacher = teacher_;
  filling_ = true;
  if (list_->count() != static_cast<int>(work_.problems.size())) {
    list_->clear();
    for (size_t k = 0; k < work_.problems.size(); ++k) list_->addItem(QString());
  }
  for (size_t k = 0; k < work_.problems.size(); ++k) {
    const PupilProblem& p = work_.problems[k];
    std::string mark = PupilProblemDone(p) ? "済" : "";
    const PupilFeedback f = teacher ? PupilProblemReview(work_, k) : PupilProblemFeedback(work_, k);
    if (f.shown && PupilProblemDone(p)) mark = CellVerdictMark(f.verdict);
    list_->item(static_cast<int>(k))
        ->setText(U("(" + std::to_string(k + 1) + ") " + ReadableProblem(p.problem) + "　" + mark));
  }
  list_->setCurrentRow(static_cast<int>(work_.current));
  filling_ = false;
  prev_->setEnabled(work_.current > 0);
  next_->setEnabled(work_.current + 1 < work_.problems.size());

  // The verdicts of the problem shown, as the mode lets the pupil see them.
  const PupilFeedback f =
      teacher ? PupilProblemReview(work_, work_.current) : PupilProblemFeedback(work_, work_.current);
  hint_->setVisible(!readOnly_ && work_.assignment.feedback == AssignmentFeedback::Now);
  std::string text;
  if (!f.shown) {
    if (work_.assignment.feedback == AssignmentFeedback::End)
      text = "この課題の○×は、提出したあとで出ます。";
    else if (work_.assignment.feedback == AssignmentFeedback::None)
      text = "この課題では○×は出ません。";
  } else {
    const PupilProblem& p = work_.problems[work_.current];
    for (const PupilStep& s : f.steps) {
      if (s.right && s.advice.empty()) continue;
      text += std::to_string(s.line + 1) + "行目 " + (s.right ? "○ " : "× ") +
              (s.mistakeName.empty() ? "" : s.mistakeName + "：") + s.advice + "\n";
    }
    if (!f.finalAdvice.empty()) text += f.finalAdvice + "\n";
    if (!f.hint.empty())
      text += "ヒント： =" + ReadableProblem(f.hint) + "\n";
    else if (p.hint && !readOnly_)
      text += "ヒント：これで答えです。\n";
    if (PupilProblemDone(p))
      text += std::string("この問題: ") + CellVerdictMark(f.verdict) +
              (f.verdict == CellVerdict::Right ? "　よくできました。" : "");
  }
  feedback_->setText(U(text));
  static_cast<ProblemView*>(view_)->Update();
  if (work_.handIns > 0 && !readOnly_ && status_->text().isEmpty()) {
    const std::string note = work_.assignment.feedback == AssignmentFeedback::End && work_.changedSinceHandIn
                                 ? "（提出のあとで直したところは、もう一度提出してください）"
                                 : "";
    status_->setText(U("提出しました（" + std::to_string(work_.handIns) + "回目 ") +
                     U(work_.handedIn).mid(11, 5) + U("）" + note));
  }
}

void TPupilWorkForm::closeEvent(QCloseEvent* e) {
  Keep();
  QDialog::closeEvent(e);
}

TPupilWorkForm* OpenAssignmentFromDialog(QWidget* parent) {
  std::string text;
  while (CurrentPlatform().InputBox("課題を開く", "先生から配られた課題のコードかリンクを入れてください。",
                                    text)) {
    auto* form = new TPupilWorkForm(parent);
    form->setAttribute(Qt::WA_DeleteOnClose);
    const QString why = form->OpenCode(U(text));
    if (why.isEmpty()) {
      form->show();
      form->raise();
      form->activateWindow();
      return form;
    }
    delete form;
    ShowMessage(why.toStdString(), "課題を開く");
  }
  return nullptr;
}
