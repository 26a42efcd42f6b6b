// The expression editor window: its controls, the keys it sees before its field, opening for the screen
// or the notebook, and the screen's commands that open the tool windows and move the focus between them.
#include "ui/tools/BunSikiEdit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValidator>

#include "engine/Settings.h"
#include "platform/Platform.h"
#include "platform/VirtualKeys.h"
#include "screen/sikiInp.h"
#include "tools/ToolCaptions.h"
#include "tools/sikiEMemo.h"
#include "tools/xyDainyuu.h"
#include "ui/QtCanvas.h"
#include "ui/screen/InputPanel.h"
#include "ui/screen/Kazoru.h"
#include "ui/screen/QtKeys.h"
#include "ui/tools/sikiEMemo.h"
#include "ui/tools/xyDainyuu.h"

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }
// The window's words and tooltips both editions show (tools/ToolCaptions.h).
const char* Text(std::string_view name) { return ToolCaptionOf(EDITOR_CAPTIONS, name).caption; }
const char* Tip(std::string_view name) { return ToolTipOrNull(ToolCaptionOf(EDITOR_CAPTIONS, name)); }
QString U(const std::string& s) { return QString::fromStdString(s); }

TSikiEditForm* TheEditor = nullptr;

QFont GothicFont(int pixels, bool bold = false) {
  QFont f;
  f.setFamilies(QtCanvas::FamiliesFor("ＭＳ ゴシック"));
  f.setPixelSize(pixels);
  f.setBold(bold);
  return f;
}

// The picture on the solve button: an equation with its unknown, as the pupil knows it from the panel.
QPixmap SolvePicture() {
  QPixmap pm(44, 22);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setFont(GothicFont(14, true));
  p.setPen(QColor(0, 0, 128));
  p.drawText(QRect(0, 0, 20, 22), Qt::AlignCenter, U("ｘ"));
  p.setPen(QColor(0, 0, 255));
  p.drawText(QRect(14, 0, 16, 22), Qt::AlignCenter, U("＝"));
  p.setPen(QColor(255, 0, 0));
  p.drawText(QRect(28, 0, 16, 22), Qt::AlignCenter, U("？"));
  return pm;
}

// Refuses an edit that makes the expression part of the field longer than the editor takes, unless it
// does not lengthen it (a long text handed over may still be shortened).
class EditorLengthValidator : public QValidator {
 public:
  explicit EditorLengthValidator(QObject* parent) : QValidator(parent) {}
  State validate(QString& input, int&) const override {
    const int now = EditorExpressionLength(input.toStdString());
    if (now <= EDITOR_MAX_CHARS || now <= EditorExpressionLength(accepted)) return Acceptable;
    return Invalid;
  }
  std::string accepted;  // the field's text before the edit being validated
};

}  // namespace

// ---- Shared helpers of the tool windows --------------------------------------------------------------------

bool ToolKeyOfEvent(QEvent* event, int& vk, int& shift) {
  if (event->type() != QEvent::KeyPress) return false;
  return QtKeyToVirtualKey(*static_cast<QKeyEvent*>(event), vk, shift);
}

void InsertIntoLineEdit(QLineEdit* edit, const std::string& text) {
  // insert() replaces the selection and leaves the caret after the new text.
  edit->insert(U(text));
}

void FocusToolWindow(ToolWindow target) {
  switch (target) {
    case ToolWindow::Editor:
      if (TSikiEditForm* e = TSikiEditForm::Instance()) e->FocusField();
      break;
    case ToolWindow::Memo:
      if (TSEMemoForm* m = TSEMemoForm::Instance()) m->FocusList();
      break;
    case ToolWindow::Substitution:
      if (TDainyuuForm* d = TDainyuuForm::Instance()) d->FocusExpression();
      break;
    case ToolWindow::Screen:
      if (CalcScreenForm* s = CalcScreenForm::Instance()) {
        s->activateWindow();
        s->PageWidget()->setFocus();
      }
      break;
    case ToolWindow::None: break;
  }
}

void InstallToolWindowCommands() {
  SetScreenCommand(ScreenCommand::OpenExpressionEditor, [] {
    if (SikiEditOpen) return false;
    // The panel's 編E and its Alt+E come while the panel is the active window.
    const bool fromPanel = qobject_cast<TInputForm*>(QApplication::activeWindow()) != nullptr;
    return TSikiEditForm::OpenForScreen(fromPanel ? EditorFor::InputPanel : EditorFor::Screen) != nullptr;
  });
  SetScreenCommand(ScreenCommand::OpenMemo, [] { return TSEMemoForm::Open() != nullptr; });
  SetScreenCommand(ScreenCommand::OpenSubstitution, [] { return TDainyuuForm::Open() != nullptr; });
  SetScreenCommand(ScreenCommand::FocusToolWindow, [] {
    const ToolWindow target = ScreenF7Target();
    if (target == ToolWindow::None) return false;
    FocusToolWindow(target);
    return true;
  });
}

// ---- The window ------------------------------------------------------------------------------------------------

TSikiEditForm* TSikiEditForm::Instance() { return TheEditor; }

TSikiEditForm::TSikiEditForm(QWidget* parent) : QWidget(parent, Qt::Dialog) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName("sikiEditForm");
  setWindowTitle(U(Text("title")));
  setFont(GothicFont(12));

  auto* top = new QVBoxLayout(this);
  top->setContentsMargins(8, 6, 8, 8);
  top->setSpacing(4);

  auto* head = new QHBoxLayout;
  auto* caption = new QLabel(U(Text("editHere")));
  caption->setStyleSheet("color: rgb(0,0,128);");
  head->addWidget(caption);
  head->addStretch(1);
  head->addWidget(AddButton(Text("keyTenyou"), Tip("keyTenyou"), &TSikiEditForm::KeyTenyouButtonClick));
  indicator_ = new QLabel;
  indicator_->setFont(GothicFont(12, true));
  indicator_->setMinimumWidth(28);
  head->addWidget(indicator_);
  top->addLayout(head);

  field_ = new QLineEdit;
  field_->setObjectName("editField");
  field_->setFont(GothicFont(16));
  field_->setMinimumWidth(480);
  field_->setStyleSheet("QLineEdit { background: white; color: black; }");
  top->addWidget(field_);

  error_ = new QLabel(U(EDITOR_ERROR_START));
  error_->setObjectName("errorDisplay");
  error_->setStyleSheet(
      "QLabel { color: rgb(192,0,0); background: rgb(255,255,224); border: 1px solid gray; padding: 1px; }");
  error_->setMinimumHeight(20);
  top->addWidget(error_);

  auto* row1 = new QHBoxLayout;
  row1->addWidget(AddButton(Text("show"), Tip("show"), &TSikiEditForm::ShowButtonClick));
  row1->addWidget(AddButton(Text("calculate"), Tip("calculate"), &TSikiEditForm::CalcButtonClick));
  picture_ = new QToolButton;
  picture_->setObjectName("pictureButton");
  picture_->setIcon(QIcon(SolvePicture()));
  picture_->setIconSize(QSize(44, 22));
  picture_->setFocusPolicy(Qt::TabFocus);
  connect(picture_, &QToolButton::clicked, this, [this] { PictureButtonClick(); });
  picture_->installEventFilter(this);
  row1->addWidget(picture_);
  row1->addWidget(AddButton("ﾉｰﾄ &N", "ノートﾍﾟｰｼﾞを表示します", &TSikiEditForm::NoteButtonClick));
  row1->addWidget(AddButton(Text("close"), Tip("close"), &TSikiEditForm::CloseButtonClick));
  top->addLayout(row1);

  auto* row2 = new QHBoxLayout;
  row2->addWidget(AddButton(Text("memo"), Tip("memo"), &TSikiEditForm::MemoButtonClick));
  row2->addWidget(AddButton(Text("substitution"), Tip("substitution"), &TSikiEditForm::DainyuuButtonClick));
  row2->addWidget(AddButton(Text("conditions"), Tip("conditions"), &TSikiEditForm::JoukenButtonClick));
  row2->addWidget(AddButton("定数 &T", "定数を保存してあるBoxをｵｰﾌﾟﾝします", nullptr));
  row2->addWidget(AddButton(Text("stash"), Tip("stash"), &TSikiEditForm::TaihiButtonClick));
  row2->addWidget(AddButton(Text("insert"), Tip("insert"), &TSikiEditForm::SounyuuButtonClick));
  row2->addWidget(AddButton(Text("look"), Tip("look"), &TSikiEditForm::LookButtonClick));
  top->addLayout(row2);

  field_->installEventFilter(this);
  // Typing, pasting and inserting go through the validator, which refuses an edit that would take the
  // expression past the caption's 256 characters; texts other windows hand over are taken whole.
  auto* limit = new EditorLengthValidator(field_);
  field_->setValidator(limit);
  connect(field_, &QLineEdit::textChanged, this,
          [limit](const QString& now) { limit->accepted = now.toStdString(); });
  connect(field_, &QLineEdit::inputRejected, this, [this] {
    error_->setText(U(EDITOR_TOO_LONG_TEXT));
    CurrentPlatform().Beep();
  });
  connect(field_, &QLineEdit::textEdited, this, [this] { changed_ = true; });
  UpdateIndicator();
}

TSikiEditForm::~TSikiEditForm() {
  if (TheEditor == this) TheEditor = nullptr;
  SikiEditOpen = false;
}

QPushButton* TSikiEditForm::AddButton(const char* caption, const char* hint,
                                      void (TSikiEditForm::*handler)()) {
  auto* b = new QPushButton(U(caption));
  if (hint) b->setToolTip(U(hint));
  b->setAutoDefault(false);
  b->setFocusPolicy(Qt::TabFocus);
  if (handler) connect(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
  b->installEventFilter(this);
  buttons_[U(caption)] = b;
  return b;
}

QPushButton* TSikiEditForm::Button(const QString& caption) const {
  auto it = buttons_.find(caption);
  return it == buttons_.end() ? nullptr : it->second;
}

void TSikiEditForm::UpdateIndicator() {
  if (KEYTENYOU) {
    indicator_->setText(Text("keyTenyouOn"));
    indicator_->setStyleSheet("color: rgb(255,0,0);");
  } else {
    indicator_->setText(Text("keyTenyouOff"));
    indicator_->setStyleSheet("color: rgb(0,0,255);");
  }
}

void TSikiEditForm::PlaceBesideScreen() {
  // Top 150 above the screen's bottom edge, left 510 left of its right edge, kept on the desktop.
  CalcScreenForm* screen = CalcScreenForm::Instance();
  if (!screen) return;
  const QRect g = screen->frameGeometry();
  QPoint at(g.right() + 1 - 510, g.bottom() + 1 - 150);
  if (QScreen* s = screen->screen()) {
    const QRect avail = s->availableGeometry();
    at.setX(std::clamp(at.x(), avail.left(), std::max(avail.left(), avail.right() - width())));
    at.setY(std::clamp(at.y(), avail.top(), std::max(avail.top(), avail.bottom() - height())));
  }
  move(at);
}

TSikiEditForm* TSikiEditForm::Create(QWidget* parent, bool modal, const std::string& text) {
  auto* e = new TSikiEditForm(parent);
  TheEditor = e;
  e->field_->setText(U(text));
  e->field_->setCursorPosition(static_cast<int>(text.size()));
  e->changed_ = false;
  e->UpdateIndicator();
  SikiEditOpen = true;
  if (modal) e->setWindowModality(Qt::WindowModal);
  e->adjustSize();
  e->PlaceBesideScreen();
  e->show();
  e->activateWindow();
  e->FocusField();
  return e;
}

TSikiEditForm* TSikiEditForm::OpenForScreen(EditorFor mode) {
  if (TheEditor) return nullptr;
  CalcScreenForm* screen = CalcScreenForm::Instance();
  if (screen && screen->InputPanel() && screen->InputPanel()->ShownNormal()) screen->InputPanel()->Switch();
  EditorMode = mode;
  return Create(screen, true, LineText);
}

TSikiEditForm* TSikiEditForm::OpenForNotebook(const std::string& text, QWidget* notebook,
                                              std::function<void()> onClosed) {
  CalcScreenForm* screen = CalcScreenForm::Instance();
  if (screen && screen->InputPanel() && screen->InputPanel()->ShownNormal()) screen->InputPanel()->Switch();
  if (TheEditor) {
    EditorMode = EditorFor::NotebookHanded;
    TheEditor->field_->setText(U(text));
    TheEditor->field_->setCursorPosition(static_cast<int>(text.size()));
    TheEditor->FocusField();
    return TheEditor;
  }
  EditorMode = EditorFor::Notebook;
  TSikiEditForm* e = Create(notebook ? notebook : screen, true, text);
  e->onClosed_ = std::move(onClosed);
  return e;
}

TSikiEditForm* TSikiEditForm::OpenWithText(const std::string& text, bool modal) {
  if (TheEditor) {
    TheEditor->TakeText(text);
    return TheEditor;
  }
  LineText = text;
  return Create(CalcScreenForm::Instance(), modal, text);
}

void TSikiEditForm::TakeText(const std::string& text) {
  field_->setText(U(text));
  field_->setCursorPosition(static_cast<int>(text.size()));
  changed_ = true;
  FocusField();
}

void TSikiEditForm::InsertAtCaret(const std::string& text) {
  const QString before = field_->text();
  InsertIntoLineEdit(field_, text);
  if (field_->text() != before) changed_ = true;
}

void TSikiEditForm::FocusField() {
  raise();
  activateWindow();
  field_->setFocus();
}

void TSikiEditForm::ApplyOutcome(const EditorOutcome& outcome) {
  error_->setText(U(outcome.errorText));
  if (outcome.badPos > 0) {
    field_->setFocus();
    field_->setSelection(outcome.badPos - 1, 1);
  }
  if (outcome.done) changed_ = false;
}

// ---- Handlers ---------------------------------------------------------------------------------------------------

void TSikiEditForm::ShowButtonClick() { ApplyOutcome(EditorShow(field_->text().toStdString())); }

void TSikiEditForm::CalcButtonClick() {
  const int caret = field_->cursorPosition();
  EditorOutcome o = EditorCalculate(field_->text().toStdString());
  if (o.setField) {
    field_->setText(U(o.fieldText));
    field_->setCursorPosition(std::min(caret, static_cast<int>(o.fieldText.size())));
  }
  ApplyOutcome(o);
}

void TSikiEditForm::NoteButtonClick() {
  if (!NotebookIsOpen()) {
    const std::string text = field_->text().toStdString();
    LineText = text;
    // The notebook opened from here must take the pupil's keys and clicks whichever window owns it, so
    // the editor stops being modal from now on.
    if (windowModality() != Qt::NonModal) {
      hide();
      setWindowModality(Qt::NonModal);
      show();
    }
    if (EditorNotebook.openFromEditor)
      EditorNotebook.openFromEditor(text);
    else
      RunScreenCommand(ScreenCommand::OpenNotebook);
    return;
  }
  if (EditorMode == EditorFor::InputPanel) return;
  if (EditorMode == EditorFor::NotebookHanded) {
    close();
    return;
  }
  ShowMessage(EDITOR_NOTE_OPEN_TEXT, "ご確認");
}

void TSikiEditForm::CloseButtonClick() { close(); }

void TSikiEditForm::PictureButtonClick() { EditorSolveOnScreen(field_->text().toStdString()); }

void TSikiEditForm::KeyTenyouButtonClick() {
  ToggleKeyTenyou();
  UpdateIndicator();
  FocusField();
}

void TSikiEditForm::MemoButtonClick() {
  if (!MemoOpen) TSEMemoForm::Open();
}

void TSikiEditForm::DainyuuButtonClick() {
  if (!DainyuuOpen) TDainyuuForm::Open();
}

void TSikiEditForm::JoukenButtonClick() { RunScreenCommand(ScreenCommand::OpenConditions); }

void TSikiEditForm::TaihiButtonClick() { EditorStashText(field_->text().toStdString()); }

void TSikiEditForm::SounyuuButtonClick() {
  const std::string stash = EditorStashToInsert();
  if (!stash.empty()) InsertAtCaret(stash);
  field_->setFocus();
}

void TSikiEditForm::LookButtonClick() { EditorLookStash(); }

bool TSikiEditForm::KeySyori(int vk, int shift) {
  const ToolKey key = EditorKey(vk, shift);
  switch (key.action) {
    case ToolKeyAction::Show: ShowButtonClick(); return true;
    case ToolKeyAction::Calculate: CalcButtonClick(); return true;
    case ToolKeyAction::LineFeed: ToggleEqualKaigyo(); return true;
    case ToolKeyAction::Picture: PictureButtonClick(); return true;
    case ToolKeyAction::Close: close(); return true;
    case ToolKeyAction::Insert:
      InsertAtCaret(key.text);
      field_->setFocus();
      return true;
    case ToolKeyAction::FocusNext: FocusToolWindow(EditorF8Target()); return true;
    default: return false;
  }
}

bool TSikiEditForm::eventFilter(QObject* watched, QEvent* event) {
  int vk = 0;
  int shift = 0;
  if (ToolKeyOfEvent(event, vk, shift) && KeySyori(vk, shift)) return true;
  return QWidget::eventFilter(watched, event);
}

void TSikiEditForm::closeEvent(QCloseEvent* event) {
  if (!EditorMayClose(changed_)) {
    event->ignore();
    return;
  }
  event->accept();
  TheEditor = nullptr;
  SikiEditOpen = false;
  std::function<void()> onClosed = std::move(onClosed_);
  FocusToolWindow(AfterEditorClosed());
  if (onClosed) onClosed();
}
