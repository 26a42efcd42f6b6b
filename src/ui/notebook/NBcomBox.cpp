// The command box: buttons in four groups that run the notebook's commands, the break-at-equals check
// box, and the line-pitch and page-height fields; its keys go to the notebook's key handler.
#include "ui/notebook/NBcomBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "engine/Settings.h"
#include "notebook/NotePage.h"
#include "notebook/NoteSheet.h"
#include "platform/VirtualKeys.h"
#include "ui/OnTopTools.h"
#include "ui/notebook/Notebook.h"
#include "ui/screen/QtKeys.h"

namespace {

TNBComBoxForm* TheBox = nullptr;

QString U(const char* s) { return QString::fromUtf8(s); }

QSpinBox* ReadOnlySpin(QWidget* parent, int lo, int hi, int step, const char* hint) {
  auto* s = new QSpinBox(parent);
  s->setRange(lo, hi);
  s->setSingleStep(step);
  // Written only with the arrows or the Up and Down keys.
  if (auto* edit = s->findChild<QLineEdit*>()) edit->setReadOnly(true);
  s->setToolTip(U(hint));
  return s;
}

}  // namespace

bool TNBComBoxForm::IsOpen() { return TheBox != nullptr; }

TNBComBoxForm::TNBComBoxForm(TNoteForm* notebook)
    : QWidget(notebook, Qt::Tool | Qt::WindowStaysOnTopHint), notebook_(notebook) {
  TheBox = this;
  setAttribute(Qt::WA_DeleteOnClose, true);
  // Never over a modal dialog of the program.
  KeepBelowModalDialogs(this);
  setWindowTitle(U("◇ﾉｰﾄ操作箱　　　　▲Ｆ８▼"));
  setFixedSize(200, 372);
  TNoteForm* nb = notebook_;
  auto run = [nb](NoteCommand c) { return [nb, c] { nb->RunCommand(c); }; };

  Add(this, "", "フォント", "フォントを設定する", 4, 4, 46, 24, run(NoteCommand::Font));
  Add(this, "", "表題入力", "この頁の表題を入力する", 52, 4, 46, 24, run(NoteCommand::Title));
  Add(this, "", "元に戻す", "操作を前に戻す", 100, 4, 46, 24, run(NoteCommand::Restore));
  Add(this, "", "式を追加", "ｴﾃﾞｨﾀを開いて､新しい式を追加する", 148, 4, 48, 24, run(NoteCommand::AddNew));

  auto* file = new QGroupBox(U("◆ファイル◆"), this);
  file->setGeometry(4, 32, 192, 50);
  const QString F = U("◆ファイル◆");
  Add(file, F, "開", "", 6, 20, 42, 24, run(NoteCommand::Open));
  Add(file, F, "保", "", 52, 20, 42, 24, run(NoteCommand::Save));
  Add(file, F, "印", "この頁を印刷する", 98, 20, 42, 24, run(NoteCommand::Print));
  Add(file, F, "新", "全式を削除して、新規頁にする", 144, 20, 42, 24, run(NoteCommand::Clear));

  auto* sel = new QGroupBox(U("◆選択した式の操作◆"), this);
  sel->setGeometry(4, 86, 192, 78);
  const QString S = U("◆選択した式の操作◆");
  Add(sel, S, "▲", "", 6, 20, 30, 24, run(NoteCommand::SelectPrevious));
  Add(sel, S, "▼", "", 6, 48, 30, 24, run(NoteCommand::SelectNext));
  Add(sel, S, "答削", "選択した式の答を削除する", 40, 20, 46, 24, run(NoteCommand::DeleteAnswer));
  Add(sel, S, "削", "選択した式を削除する", 90, 20, 46, 24, run(NoteCommand::DeleteSelected));
  Add(sel, S, "編", "ｴﾃﾞｨﾀｰを開いて、全式の編集をする", 140, 20, 46, 24, run(NoteCommand::EditSelected));
  Add(sel, S, "算", "選択した式を計算する", 40, 48, 70, 24, run(NoteCommand::CalculateSelected));
  Add(sel, S, "複", "選択式をｺﾋﾟｰして、最後に追加する", 116, 48, 70, 24, run(NoteCommand::CopySelected));

  auto* all = new QGroupBox(U("◆全式の一括操作"), this);
  all->setGeometry(4, 168, 192, 50);
  const QString A = U("◆全式の一括操作");
  Add(all, A, "答削", "全式の答を削除する", 6, 20, 42, 24, run(NoteCommand::DeleteAllAnswers));
  Add(all, A, "編", "ｴﾃﾞｨﾀｰを開いて、全式の編集をする", 52, 20, 42, 24, run(NoteCommand::EditPage));
  Add(all, A, "算", "全部の式を計算する", 98, 20, 42, 24, run(NoteCommand::CalculateAll));
  Add(all, A, "削", "全式を削除して、新規頁にする", 144, 20, 42, 24, run(NoteCommand::Clear));

  equalBreak_ = new QCheckBox(U("’＝’で改行する"), this);
  equalBreak_->setGeometry(8, 224, 150, 22);
  equalBreak_->setFocusPolicy(Qt::NoFocus);
  connect(equalBreak_, &QCheckBox::toggled, this, [this](bool on) {
    if (!showing_) notebook_->SetEqualBreak(on);
  });

  auto* pitchLabel = new QLabel(U("行送り"), this);
  pitchLabel->setGeometry(8, 252, 60, 24);
  pitch_ = ReadOnlySpin(this, KANKAKU_MIN_BOX, KANKAKU_MAX, 1, "書き込み不可。↑↓ｷｰか、ﾏｳｽで増減。");
  pitch_->setGeometry(70, 252, 60, 24);
  connect(pitch_, &QSpinBox::valueChanged, this, [this](int v) {
    if (showing_) return;
    SetKankaku(v, KANKAKU_MIN_BOX);
    notebook_->Redraw();
  });

  auto* heightTitle = new QLabel(U("◆ノートのページ高(80～300％)"), this);
  heightTitle->setGeometry(8, 284, 190, 22);
  auto* a4 = new QLabel(U("・Ａ４高の"), this);
  a4->setGeometry(8, 310, 70, 24);
  pageHeight_ = ReadOnlySpin(this, PAGEA4BAIN_MIN, PAGEA4BAIN_MAX, 5, "書き込み不可。↑↓ｷｰか、ﾏｳｽで増減。");
  pageHeight_->setGeometry(80, 310, 64, 24);
  auto* percent = new QLabel(U("[％]"), this);
  percent->setGeometry(148, 310, 40, 24);
  connect(pageHeight_, &QSpinBox::valueChanged, this, [this](int v) {
    if (showing_) return;
    SetPageA4Bain(v);
    notebook_->Redraw();
  });

  for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
  const QPoint rb = notebook_->RightBottom();
  move(rb.x() - 200, rb.y() - 230);
  ShowValues();
}

TNBComBoxForm::~TNBComBoxForm() {
  if (TheBox == this) TheBox = nullptr;
}

QPushButton* TNBComBoxForm::Add(QWidget* parent, const QString& group, const char* caption, const char* hint,
                                int x, int y, int w, int h, std::function<void()> run) {
  auto* b = new QPushButton(U(caption), parent);
  b->setGeometry(x, y, w, h);
  if (*hint) b->setToolTip(U(hint));
  // The box never keeps the keyboard from the notebook's keys.
  b->setFocusPolicy(Qt::NoFocus);
  connect(b, &QPushButton::clicked, this, std::move(run));
  buttons_[group + "/" + U(caption)] = b;
  return b;
}

QPushButton* TNBComBoxForm::Button(const QString& group, const QString& caption) const {
  auto it = buttons_.find(group + "/" + caption);
  return it == buttons_.end() ? nullptr : it->second;
}

void TNBComBoxForm::ShowValues() {
  showing_ = true;
  equalBreak_->setChecked(NoteEqualBreak);
  pitch_->setValue(KANKAKU);
  pageHeight_->setValue(PAGEA4BAIN);
  showing_ = false;
}

void TNBComBoxForm::Minimise() { hide(); }

void TNBComBoxForm::Restore() {
  showNormal();
  raise();
}

bool TNBComBoxForm::Minimised() const { return !isVisible() || isMinimized(); }

void TNBComBoxForm::FocusPitch() {
  activateWindow();
  pitch_->setFocus();
}

bool TNBComBoxForm::ForwardKey(QKeyEvent* event) {
  int vk = 0, shift = 0;
  if (!QtKeyToVirtualKey(*event, vk, shift)) return false;
  if (vk == VK_F7 || (vk == VK_OEM_COMMA && shift == SHIFT_ALT)) {
    notebook_->activateWindow();
    notebook_->raise();
    return true;
  }
  notebook_->KeySyori(vk, shift);
  return true;
}

bool TNBComBoxForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    // The number fields keep their arrows.
    const bool arrow = key->key() == Qt::Key_Up || key->key() == Qt::Key_Down;
    const bool inSpin =
        qobject_cast<QSpinBox*>(watched) || (watched && qobject_cast<QSpinBox*>(watched->parent()));
    if (arrow && inSpin && key->modifiers() == Qt::NoModifier) return false;
    return ForwardKey(key);
  }
  return QWidget::eventFilter(watched, event);
}

void TNBComBoxForm::keyPressEvent(QKeyEvent* event) {
  if (!ForwardKey(event)) QWidget::keyPressEvent(event);
}

void TNBComBoxForm::closeEvent(QCloseEvent* event) {
  TheBox = nullptr;
  event->accept();
}
