// The dialog 「問題づくり」: fields for the controls, a preview of the first problems drawn in school
// notation, and the buttons that fill the notebook's page and print the sheet and its key.
#include "ui/notebook/SheetDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "engine/Settings.h"
#include "notebook/NotePage.h"
#include "notebook/NoteSheet.h"
#include "platform/Platform.h"
#include "sheets/SheetPages.h"
#include "typeset/bunCanvasDsp.h"
#include "ui/PdfOutput.h"
#include "ui/QtCanvas.h"
#include "ui/SheetPrint.h"
#include "ui/notebook/AssignDialog.h"

namespace {

QString U(const std::string& s) { return QString::fromStdString(s); }

constexpr int PREVIEW_PROBLEMS = 5;

// Expression texts in school notation on a white picture, one row each, with a number in front.
QPixmap DrawRows(const std::vector<std::string>& rows, bool numbered, int width) {
  const int rowHeight = 48;
  QImage image(width, std::max<int>(1, static_cast<int>(rows.size())) * rowHeight + 12, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  QtCanvas canvas(&image);
  canvas.Begin(&painter);
  DrawSheetRows(canvas, rows, numbered, rowHeight);
  canvas.End();
  return QPixmap::fromImage(image);
}

}  // namespace

TSheetForm::TSheetForm(QWidget* parent) : QDialog(parent) {
  setWindowTitle(U("問題づくり"));
  setModal(true);
  auto* main = new QHBoxLayout(this);

  auto* left = new QVBoxLayout;
  left->addWidget(new QLabel(U("問題の種類")));
  skills_ = new QListWidget(this);
  for (const SheetSkill& s : SheetSkills()) {
    auto* item = new QListWidgetItem(U(s.name) + U("　例 ") + U(s.example), skills_);
    item->setData(Qt::UserRole, U(s.id));
  }
  skills_->setMinimumWidth(420);
  left->addWidget(skills_, 1);
  example_ = new QLabel(this);
  left->addWidget(example_);
  main->addLayout(left, 1);

  auto* right = new QVBoxLayout;
  auto* form = new QFormLayout;
  count_ = new QSpinBox(this);
  count_->setRange(1, SHEET_MAX_COUNT);
  count_->setValue(20);
  form->addRow(U("問題の数"), count_);
  maxDen_ = new QSpinBox(this);
  maxDen_->setRange(2, SHEET_MAX_DENOMINATOR);
  maxDen_->setValue(12);
  form->addRow(U("いちばん大きい分母"), maxDen_);
  terms_ = new QSpinBox(this);
  terms_->setRange(1, 4);
  terms_->setValue(2);
  form->addRow(U("項の数"), terms_);
  reduce_ = new QComboBox(this);
  reduce_->addItems({U("どちらでも"), U("約分する答え"), U("約分しない答え")});
  form->addRow(U("約分"), reduce_);
  maxAnswer_ = new QSpinBox(this);
  maxAnswer_->setRange(0, static_cast<int>(SHEET_MAX_ANSWER_LIMIT));
  maxAnswer_->setSpecialValueText(U("なし"));
  form->addRow(U("答えの上限"), maxAnswer_);
  mixed_ = new QCheckBox(U("帯分数の答えも出す"), this);
  mixed_->setChecked(true);
  form->addRow(U("帯分数の答え"), mixed_);
  seed_ = new QLineEdit(QString::number(QRandomGenerator::global()->bounded(1000000)), this);
  auto* newSeed = new QPushButton(U("新しいシード"), this);
  auto* seedRow = new QHBoxLayout;
  seedRow->addWidget(seed_);
  seedRow->addWidget(newSeed);
  form->addRow(U("シード"), seedRow);
  version_ = new QComboBox(this);
  for (char v = 'A'; v <= 'Z'; ++v) version_->addItem(QString(QChar(v)));
  form->addRow(U("版"), version_);
  advice_ = new QCheckBox(U("解答に助言も付ける"), this);
  form->addRow(QString(), advice_);
  right->addLayout(form);

  right->addWidget(new QLabel(U("はじめの問題")));
  preview_ = new QLabel(this);
  preview_->setMinimumSize(440, PREVIEW_PROBLEMS * 48 + 12);
  preview_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  right->addWidget(preview_);
  message_ = new QLabel(this);
  message_->setWordWrap(true);
  message_->setStyleSheet("color: #c00000");
  right->addWidget(message_);

  auto* buttons = new QHBoxLayout;
  auto* make = new QPushButton(U("ノートに作る(&M)"), this);
  auto* printSheet = new QPushButton(U("問題用紙を印刷(&P)"), this);
  auto* printKey = new QPushButton(U("解答を印刷(&K)"), this);
  auto* assign = new QPushButton(U("課題として配る(&A)..."), this);
  auto* close = new QPushButton(U("閉じる(&C)"), this);
  make->setObjectName("make");
  printSheet->setObjectName("printSheet");
  printKey->setObjectName("printKey");
  assign->setObjectName("assign");
  buttons->addWidget(make);
  buttons->addWidget(printSheet);
  buttons->addWidget(printKey);
  buttons->addWidget(assign);
  buttons->addWidget(close);
  right->addLayout(buttons);
  right->addStretch();
  main->addLayout(right);

  connect(skills_, &QListWidget::currentRowChanged, this, [this] { SkillChanged(); });
  for (QSpinBox* b : {count_, maxDen_, terms_, maxAnswer_})
    connect(b, &QSpinBox::valueChanged, this, [this] { Preview(); });
  connect(reduce_, &QComboBox::currentIndexChanged, this, [this] { Preview(); });
  connect(version_, &QComboBox::currentIndexChanged, this, [this] { Preview(); });
  connect(mixed_, &QCheckBox::toggled, this, [this] { Preview(); });
  connect(seed_, &QLineEdit::textChanged, this, [this] { Preview(); });
  connect(newSeed, &QPushButton::clicked, this,
          [this] { seed_->setText(QString::number(QRandomGenerator::global()->bounded(1000000))); });
  connect(make, &QPushButton::clicked, this, [this] {
    if (MakePage()) accept();
  });
  connect(printSheet, &QPushButton::clicked, this, [this] { PrintSheet(); });
  connect(printKey, &QPushButton::clicked, this, [this] { PrintKey(); });
  connect(assign, &QPushButton::clicked, this, [this] {
    if (TAssignForm* form = Assign()) {
      form->exec();
      delete form;
    }
  });
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  skills_->setCurrentRow(2);  // sums with unlike denominators, the first thing a class practises
}

void TSheetForm::SkillChanged() {
  const int row = std::max(0, skills_->currentRow());
  const SheetSkill& s = SheetSkills()[static_cast<size_t>(row)];
  maxDen_->setEnabled(s.controls & CONTROL_MAX_DEN);
  terms_->setEnabled(s.minTerms != s.maxTerms);
  terms_->blockSignals(true);
  terms_->setRange(s.minTerms, s.maxTerms);
  terms_->blockSignals(false);
  reduce_->setEnabled(s.controls & CONTROL_REDUCE);
  if (!(s.controls & CONTROL_REDUCE)) reduce_->setCurrentIndex(0);
  maxAnswer_->setEnabled(s.controls & CONTROL_MAX_ANSWER);
  if (!(s.controls & CONTROL_MAX_ANSWER)) maxAnswer_->setValue(0);
  mixed_->setEnabled(s.controls & CONTROL_MIXED);
  if (!(s.controls & CONTROL_MIXED)) mixed_->setChecked(true);
  example_->setPixmap(DrawRows({s.example}, false, 420));
  Preview();
}

std::string TSheetForm::ReadControls(SheetControls& c) const {
  const int row = std::max(0, skills_->currentRow());
  c.skill = SheetSkills()[static_cast<size_t>(row)].id;
  c.count = count_->value();
  c.maxDen = maxDen_->value();
  c.terms = terms_->value();
  c.reduce = reduce_->currentIndex() == 1   ? ReduceRule::Yes
             : reduce_->currentIndex() == 2 ? ReduceRule::No
                                            : ReduceRule::Any;
  c.maxAnswer = maxAnswer_->value();
  c.mixedAnswers = mixed_->isChecked();
  c.version = static_cast<char>('A' + std::max(0, version_->currentIndex()));
  return ParseSheetSeed(seed_->text().toStdString(), c.seed);
}

void TSheetForm::Preview() {
  SheetControls c;
  const std::string why = ReadControls(c);
  if (!why.empty()) {
    sheet_ = Sheet{};
    sheet_.message = why;
  } else {
    sheet_ = MakeSheet(c);
  }
  message_->setText(U(sheet_.message));
  DrawPreview();
}

void TSheetForm::DrawPreview() {
  std::vector<std::string> rows;
  for (size_t i = 0; i < sheet_.problems.size() && i < PREVIEW_PROBLEMS; ++i)
    rows.push_back(sheet_.problems[i].expr);
  if (rows.empty()) {
    preview_->clear();
    return;
  }
  preview_->setPixmap(DrawRows(rows, true, 440));
}

bool TSheetForm::MakePage() {
  if (!MakeSheetIntoNotebook(sheet_)) return false;
  if (pageChanged) pageChanged();
  return true;
}

void TSheetForm::PrintSheet() {
  if (sheet_.problems.empty()) return;
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setDocName(U(SheetTitle(sheet_)));
  if (printerSetup && !printerSetup(printer)) return;
  if (!PrintSafely(printer, [this](QPrinter& p) { return PrintSheetPage(p, sheet_); }))
    ShowMessage(PrintFailedText(printer), "ご注意！");
}

void TSheetForm::PrintKey() {
  if (sheet_.problems.empty()) return;
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setDocName(U("解答　" + SheetTitle(sheet_)));
  if (printerSetup && !printerSetup(printer)) return;
  const bool advice = advice_->isChecked();
  if (!PrintSafely(printer, [this, advice](QPrinter& p) { return PrintSheetKey(p, sheet_, advice); }))
    ShowMessage(PrintFailedText(printer), "ご注意！");
}

TAssignForm* TSheetForm::Assign() {
  SheetControls c;
  std::string why = ReadControls(c);
  if (why.empty() && sheet_.problems.empty()) why = sheet_.message;
  if (!why.empty()) {
    ShowMessage(why, "課題として配る");
    return nullptr;
  }
  const SheetSkill* skill = FindSheetSkill(c.skill);
  auto* form = new TAssignForm(c, skill ? skill->name : c.skill, this);
  form->printerSetup = printerSetup;
  return form;
}
