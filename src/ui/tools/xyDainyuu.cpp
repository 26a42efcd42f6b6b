// The substitution box window: the value and expression fields, their keys, and the buttons that hand the
// substituted expression on.
#include "ui/tools/xyDainyuu.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "tools/BunSikiEdit.h"
#include "tools/ToolCaptions.h"
#include "tools/xyDainyuu.h"
#include "ui/OnTopTools.h"
#include "ui/QtCanvas.h"
#include "ui/screen/Kazoru.h"
#include "ui/tools/BunSikiEdit.h"
#include "ui/tools/sikiEMemo.h"

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }
// The window's words and tooltips both editions show (tools/ToolCaptions.h).
const char* Text(std::string_view name) { return ToolCaptionOf(SUBSTITUTION_CAPTIONS, name).caption; }
QString U(const std::string& s) { return QString::fromStdString(s); }

TDainyuuForm* TheBox = nullptr;

}  // namespace

TDainyuuForm* TDainyuuForm::Instance() { return TheBox; }

TDainyuuForm* TDainyuuForm::Open() {
  if (TheBox) {
    TheBox->FocusExpression();
    return TheBox;
  }
  TheBox = new TDainyuuForm;
  DainyuuOpen = true;
  // Top 200 below the calculation screen's top, left 500 left of its right edge.
  if (CalcScreenForm* screen = CalcScreenForm::Instance()) {
    const QRect g = screen->frameGeometry();
    TheBox->move(std::max(0, g.right() + 1 - 500), g.top() + 200);
  }
  TheBox->show();
  TheBox->FocusExpression();
  return TheBox;
}

TDainyuuForm::TDainyuuForm() : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint) {
  setAttribute(Qt::WA_DeleteOnClose);
  // Never over a modal dialog of the program.
  KeepBelowModalDialogs(this);
  setObjectName("dainyuuForm");
  setWindowTitle(U(Text("title")));
  QFont f;
  f.setFamilies(QtCanvas::FamiliesFor("ＭＳ ゴシック"));
  f.setPixelSize(12);
  setFont(f);
  setStyleSheet("TDainyuuForm#dainyuuForm { background-color: rgb(230,245,255); }");
  setAttribute(Qt::WA_StyledBackground, true);
  QFont fieldFont = f;
  fieldFont.setPixelSize(15);

  auto* top = new QVBoxLayout(this);
  top->setContentsMargins(8, 6, 8, 8);
  top->setSpacing(5);

  auto* valueRow = new QHBoxLayout;
  auto* valuesLabel = new QLabel(U(Text("values")));
  valuesLabel->setStyleSheet("color: rgb(128,0,0);");
  valueRow->addWidget(valuesLabel);
  const char* names[3] = {Text("x"), Text("y"), Text("z")};
  for (int k = 0; k < 3; ++k) {
    auto* l = new QLabel(U(names[k]));
    l->setStyleSheet("color: rgb(0,0,128);");
    valueRow->addWidget(l);
    values_[k] = new QLineEdit;
    values_[k]->setObjectName(QString("value") + QChar('x' + k));
    values_[k]->setFont(fieldFont);
    values_[k]->setMinimumWidth(90);
    values_[k]->installEventFilter(this);
    valueRow->addWidget(values_[k], 1);
  }
  top->addLayout(valueRow);

  auto* exprRow = new QHBoxLayout;
  auto* exprLabel = new QLabel(U(Text("expression")));
  exprLabel->setStyleSheet("color: rgb(0,0,128);");
  exprRow->addWidget(exprLabel);
  expression_ = new QLineEdit;
  expression_->setObjectName("expressionField");
  expression_->setFont(fieldFont);
  expression_->setMinimumWidth(380);
  expression_->installEventFilter(this);
  connect(expression_, &QLineEdit::textChanged, this, [this] { UpdateButtons(); });
  exprRow->addWidget(expression_, 1);
  top->addLayout(exprRow);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(AddButton(Text("transfer"), &TDainyuuForm::TransferButtonClick));
  buttons->addWidget(AddButton(Text("calculate"), &TDainyuuForm::CalcButtonClick));
  buttons->addWidget(AddButton(Text("look"), &TDainyuuForm::LookButtonClick));
  buttons->addWidget(AddButton(Text("memoSave"), &TDainyuuForm::MemoSaveButtonClick));
  buttons->addWidget(AddButton(Text("memoOpen"), &TDainyuuForm::MemoOpenButtonClick));
  buttons->addWidget(AddButton(Text("close"), &TDainyuuForm::CloseButtonClick));
  top->addLayout(buttons);

  UpdateButtons();
  adjustSize();
}

TDainyuuForm::~TDainyuuForm() {
  if (TheBox == this) TheBox = nullptr;
  DainyuuOpen = TheBox != nullptr;
}

QPushButton* TDainyuuForm::AddButton(const char* caption, void (TDainyuuForm::*handler)()) {
  auto* b = new QPushButton(U(caption));
  b->setAutoDefault(false);
  connect(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
  b->installEventFilter(this);
  buttons_[U(caption)] = b;
  return b;
}

QPushButton* TDainyuuForm::Button(const QString& caption) const {
  auto it = buttons_.find(caption);
  return it == buttons_.end() ? nullptr : it->second;
}

QLineEdit* TDainyuuForm::ValueField(char letter) const {
  if (letter < 'x' || letter > 'z') return nullptr;
  return values_[letter - 'x'];
}

void TDainyuuForm::UpdateButtons() {
  const bool has = !expression_->text().isEmpty();
  Button(U(Text("transfer")))->setEnabled(has);
  Button(U(Text("memoSave")))->setEnabled(has);
}

void TDainyuuForm::TakeExpression(const std::string& text) {
  expression_->setText(U(text));
  FocusExpression();
}

void TDainyuuForm::FocusExpression() {
  raise();
  activateWindow();
  expression_->setFocus();
}

// ---- Handlers --------------------------------------------------------------------------------------------------

void TDainyuuForm::TransferButtonClick() {
  std::string result;
  if (!Substitute(expression_->text().toStdString(), values_[0]->text().toStdString(),
                  values_[1]->text().toStdString(), values_[2]->text().toStdString(), result))
    return;
  if (TSikiEditForm* editor = TSikiEditForm::Instance()) {
    editor->TakeText(result);
    return;
  }
  TSikiEditForm::OpenWithText(result, true);
}

void TDainyuuForm::CalcButtonClick() {
  DainyuuCalcOutcome o = DainyuuCalculate(expression_->text().toStdString(), values_[0]->text().toStdString(),
                                          values_[1]->text().toStdString(), values_[2]->text().toStdString());
  if (o.badPos > 0) {
    expression_->setFocus();
    expression_->setSelection(o.badPos - 1, 1);
  }
}

void TDainyuuForm::LookButtonClick() { DainyuuLook(expression_->text().toStdString()); }

void TDainyuuForm::MemoSaveButtonClick() {
  const std::string text = expression_->text().toStdString();
  if (text.empty()) return;
  TSEMemoForm::Open()->AddText(text);
}

void TDainyuuForm::MemoOpenButtonClick() { TSEMemoForm::Open(); }

void TDainyuuForm::CloseButtonClick() { close(); }

bool TDainyuuForm::KeySyori(QLineEdit* field, int vk, int shift) {
  const ToolKey key = DainyuuKey(vk, shift);
  switch (key.action) {
    case ToolKeyAction::Insert:
      if (!field) return false;
      InsertIntoLineEdit(field, key.text);
      return true;
    case ToolKeyAction::FocusNext: FocusToolWindow(DainyuuF8Target()); return true;
    case ToolKeyAction::FocusBack: FocusToolWindow(DainyuuF7Target()); return true;
    default: return false;
  }
}

bool TDainyuuForm::eventFilter(QObject* watched, QEvent* event) {
  int vk = 0;
  int shift = 0;
  if (ToolKeyOfEvent(event, vk, shift) && KeySyori(qobject_cast<QLineEdit*>(watched), vk, shift)) return true;
  return QWidget::eventFilter(watched, event);
}

void TDainyuuForm::closeEvent(QCloseEvent* event) {
  event->accept();
  TheBox = nullptr;
  DainyuuOpen = false;
  FocusToolWindow(AfterDainyuuClosed());
}
