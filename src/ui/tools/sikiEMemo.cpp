// The expression memo window: the drop-down list over the memo's model list, its buttons and keys.
#include "ui/tools/sikiEMemo.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "screen/sikiInp.h"
#include "tools/BunSikiEdit.h"
#include "tools/ToolCaptions.h"
#include "tools/sikiEMemo.h"
#include "ui/OnTopTools.h"
#include "ui/QtCanvas.h"
#include "ui/screen/Kazoru.h"
#include "ui/tools/BunSikiEdit.h"
#include "ui/tools/xyDainyuu.h"

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }
// The window's words and tooltips both editions show (tools/ToolCaptions.h).
const char* Text(std::string_view name) { return ToolCaptionOf(MEMO_CAPTIONS, name).caption; }
const char* Tip(std::string_view name) { return ToolTipOrNull(ToolCaptionOf(MEMO_CAPTIONS, name)); }
QString U(const std::string& s) { return QString::fromStdString(s); }

TSEMemoForm* TheMemo = nullptr;

}  // namespace

TSEMemoForm* TSEMemoForm::Instance() { return TheMemo; }

TSEMemoForm* TSEMemoForm::Open() {
  if (TheMemo) {
    TheMemo->FocusList();
    return TheMemo;
  }
  TheMemo = new TSEMemoForm;
  // Top 100 below the calculation screen's top, left 500 left of its right edge.
  if (CalcScreenForm* screen = CalcScreenForm::Instance()) {
    const QRect g = screen->frameGeometry();
    TheMemo->move(std::max(0, g.right() + 1 - 500), g.top() + 100);
  }
  TheMemo->show();
  TheMemo->FocusList();
  return TheMemo;
}

TSEMemoForm::TSEMemoForm() : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint) {
  setAttribute(Qt::WA_DeleteOnClose);
  // Never over a modal dialog of the program.
  KeepBelowModalDialogs(this);
  setObjectName("sEMemoForm");
  setWindowTitle(U(Text("title")));
  QFont f;
  f.setFamilies(QtCanvas::FamiliesFor("ＭＳ ゴシック"));
  f.setPixelSize(12);
  setFont(f);
  setStyleSheet("TSEMemoForm#sEMemoForm { background-color: rgb(255,250,230); }");
  setAttribute(Qt::WA_StyledBackground, true);

  auto* top = new QVBoxLayout(this);
  top->setContentsMargins(8, 6, 8, 8);
  top->setSpacing(5);

  list_ = new QComboBox;
  list_->setObjectName("memoList");
  list_->setMaxVisibleItems(30);
  QFont lf = f;
  lf.setPixelSize(15);
  list_->setFont(lf);
  list_->setMinimumWidth(420);
  // Long expressions are cut off in the closed box; the dropped-down list is wide enough for them all.
  list_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  list_->setMinimumContentsLength(30);
  list_->view()->setTextElideMode(Qt::ElideNone);
  connect(list_, &QComboBox::activated, this, [this](int index) {
    if (!filling_) MemoChoose(index);
  });
  list_->installEventFilter(this);
  top->addWidget(list_);

  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(4);
  grid->addWidget(AddButton(Text("fromEditor"), Tip("fromEditor"), &TSEMemoForm::FromEditorButtonClick), 0,
                  0);
  grid->addWidget(AddButton(Text("toEditor"), Tip("toEditor"), &TSEMemoForm::ToEditorButtonClick), 0, 1);
  grid->addWidget(
      AddButton(Text("toSubstitution"), Tip("toSubstitution"), &TSEMemoForm::ToDainyuuButtonClick), 0, 2);
  grid->addWidget(AddButton(Text("look"), Tip("look"), &TSEMemoForm::LookButtonClick), 0, 3);
  grid->addWidget(AddButton(Text("delete"), Tip("delete"), &TSEMemoForm::DeleteButtonClick), 1, 0);
  grid->addWidget(AddButton(Text("deleteAll"), Tip("deleteAll"), &TSEMemoForm::DeleteAllButtonClick), 1, 1);
  QPushButton* close = AddButton(Text("close"), nullptr, nullptr);
  connect(close, &QPushButton::clicked, this, [this] { this->close(); });
  grid->addWidget(close, 1, 3);
  top->addLayout(grid);

  MemoOpened();
  FillList();
  adjustSize();
}

TSEMemoForm::~TSEMemoForm() {
  if (TheMemo == this) {
    TheMemo = nullptr;
    MemoClosed();
  }
}

QPushButton* TSEMemoForm::AddButton(const char* caption, const char* hint, void (TSEMemoForm::*handler)()) {
  auto* b = new QPushButton(U(caption));
  if (hint) b->setToolTip(U(hint));
  b->setAutoDefault(false);
  if (handler) connect(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
  b->installEventFilter(this);
  buttons_[U(caption)] = b;
  return b;
}

QPushButton* TSEMemoForm::Button(const QString& caption) const {
  auto it = buttons_.find(caption);
  return it == buttons_.end() ? nullptr : it->second;
}

void TSEMemoForm::FillList() {
  filling_ = true;
  list_->clear();
  for (const std::string& e : MemoEntries) {
    list_->addItem(U(e));
    list_->setItemData(list_->count() - 1, U(e), Qt::ToolTipRole);
  }
  list_->setCurrentIndex(MemoSelected);
  filling_ = false;
}

void TSEMemoForm::FocusList() {
  raise();
  activateWindow();
  list_->setFocus();
}

void TSEMemoForm::AddText(const std::string& text) {
  if (MemoAdd(text) == MemoAddResult::Added) FillList();
}

// ---- Handlers --------------------------------------------------------------------------------------------------

void TSEMemoForm::FromEditorButtonClick() {
  TSikiEditForm* editor = TSikiEditForm::Instance();
  if (!editor) {
    TSikiEditForm::OpenWithText(LineText, false);
    return;
  }
  AddText(editor->Field()->text().toStdString());
  MemoRememberSelected();
}

void TSEMemoForm::ToEditorButtonClick() {
  const std::string text = MemoSelectedText();
  if (text.empty()) return;
  if (TSikiEditForm* editor = TSikiEditForm::Instance()) {
    editor->TakeText(text);
    return;
  }
  TSikiEditForm::OpenWithText(text, false);
}

void TSEMemoForm::ToDainyuuButtonClick() {
  const std::string text = MemoSelectedText();
  TDainyuuForm* box = TDainyuuForm::Open();
  box->TakeExpression(text);
}

void TSEMemoForm::LookButtonClick() { MemoLook(); }

void TSEMemoForm::DeleteButtonClick() {
  if (MemoDeleteSelected()) FillList();
}

void TSEMemoForm::DeleteAllButtonClick() {
  if (MemoDeleteAll()) FillList();
}

bool TSEMemoForm::KeySyori(int vk, int shift) {
  switch (MemoKey(vk, shift).action) {
    case ToolKeyAction::FocusNext: FocusToolWindow(MemoF8Target()); return true;
    case ToolKeyAction::FocusBack: FocusToolWindow(MemoF7Target()); return true;
    case ToolKeyAction::DropList:
      list_->setFocus();
      list_->showPopup();
      return true;
    default: return false;
  }
}

bool TSEMemoForm::eventFilter(QObject* watched, QEvent* event) {
  int vk = 0;
  int shift = 0;
  if (ToolKeyOfEvent(event, vk, shift) && KeySyori(vk, shift)) return true;
  return QWidget::eventFilter(watched, event);
}

void TSEMemoForm::closeEvent(QCloseEvent* event) {
  event->accept();
  TheMemo = nullptr;
  MemoClosed();
  FocusToolWindow(AfterMemoClosed());
}
