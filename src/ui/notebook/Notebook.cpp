// The notebook window: the sheet area with its scroll bars, the menus, KeySyori and the wheel, the page
// commands with their questions, the file commands, the font dialog, the answer-column box, printing,
// and opening, activation and closing.
#include "ui/notebook/Notebook.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFontDialog>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>

#include "engine/Settings.h"
#include "notebook/NoteMessages.h"
#include "notebook/NoteRecovery.h"
#include "notebook/NoteSteps.h"
#include "platform/Platform.h"
#include "screen/SettingsFile.h"
#include "screen/sikiInp.h"
#include "tools/BunSikiEdit.h"
#include "tools/SplMsgBox.h"
#include "typeset/bunCanvasDsp.h"
#include "ui/AppStart.h"
#include "ui/NotePrint.h"
#include "ui/PdfOutput.h"
#include "ui/QtCanvas.h"
#include "ui/classroom/ClassSummaryWindow.h"
#include "ui/classroom/PupilWorkWindow.h"
#include "ui/notebook/NBcomBox.h"
#include "ui/notebook/NoteEdit.h"
#include "ui/notebook/SheetDialog.h"
#include "ui/notebook/hyoudaiInp.h"
#include "ui/screen/InputPanel.h"
#include "ui/screen/Kazoru.h"
#include "ui/screen/QtKeys.h"
#include "ui/tools/BunSikiEdit.h"

namespace {

TNoteForm* TheNotebook = nullptr;

// The recovery copy is kept this long after the last change: long enough that typing a line costs one
// write, short enough that a crash loses at most the last moment.
constexpr int RECOVERY_DELAY_MS = 1000;

QString U(const char* s) { return QString::fromUtf8(s); }
QString U(const std::string& s) { return QString::fromStdString(s); }

constexpr const char* CONFIRM = NOTE_CONFIRM_CAPTION;
constexpr const char* REPORT = NOTE_REPORT_CAPTION;

bool Confirm(const char* text) { return AskQuestion(text, CONFIRM, MsgButtons::OkCancel) == MsgAnswer::Ok; }

TInputForm* ScreenPanel() {
  CalcScreenForm* screen = CalcScreenForm::Instance();
  return screen ? screen->InputPanel() : nullptr;
}

// Whether the notebook put the screen's input panel away; it comes back when the notebook closes.
bool PanelPutAway = false;

void PutPanelAway() {
  if (TInputForm* panel = ScreenPanel(); panel && panel->ShownNormal()) {
    // The screen does not take the focus for it: the notebook is the window in use.
    panel->Switch(false);
    PanelPutAway = true;
  }
}

void BringPanelBack() {
  TInputForm* panel = ScreenPanel();
  const bool away = PanelPutAway;
  PanelPutAway = false;
  if (!panel) return;
  if (panel->State() == TInputForm::PanelState::Hidden ||
      (away && panel->State() == TInputForm::PanelState::Minimised))
    panel->Switch();
}

bool DefaultPrinterSetup(QPrinter& printer) {
  QPrintDialog dialog(&printer, TheNotebook);
  JapanesePrintDialog(dialog);
  return dialog.exec() == QDialog::Accepted;
}

// A font dialog of existing fonts with an Apply button that applies the font shown at once.
bool DefaultPageFontDialog(QFont& font, const std::function<void(const QFont&)>& apply) {
  QFontDialog dialog(font, TheNotebook);
  dialog.setOption(QFontDialog::DontUseNativeDialog, true);
  if (auto* box = dialog.findChild<QDialogButtonBox*>()) {
    QPushButton* b = box->addButton(QDialogButtonBox::Apply);
    QObject::connect(b, &QPushButton::clicked, &dialog, [&] { apply(dialog.currentFont()); });
  }
  if (dialog.exec() != QDialog::Accepted) return false;
  font = dialog.selectedFont();
  return true;
}

}  // namespace

std::function<bool(QPrinter&)> TNoteForm::PrinterSetup = DefaultPrinterSetup;
std::function<bool(QFont&, const std::function<void(const QFont&)>&)> TNoteForm::PageFontDialog =
    DefaultPageFontDialog;

// ---- The sheet area: paints the sheet, passes keys and the wheel -------------------------------------

class NoteSheetArea : public QWidget {
 public:
  explicit NoteSheetArea(TNoteForm* form) : QWidget(form), form_(form) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setAttribute(Qt::WA_OpaquePaintEvent, true);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    form_->PaintSheet(p, size());
  }
  void resizeEvent(QResizeEvent*) override { form_->UpdateScrollRanges(); }
  void keyPressEvent(QKeyEvent* e) override {
    int vk = 0, shift = 0;
    if (QtKeyToVirtualKey(*e, vk, shift)) form_->KeySyori(vk, shift);
    e->accept();
  }
  void wheelEvent(QWheelEvent* e) override {
    const int dy = e->angleDelta().y();
    if (dy != 0) form_->WheelTurned(dy < 0, e->buttons());
    e->accept();
  }
  // Tab stays a key of the sheet.
  bool focusNextPrevChild(bool) override { return false; }

 private:
  TNoteForm* form_;
};

// ---- Opening ------------------------------------------------------------------------------------

TNoteForm* TNoteForm::Instance() { return TheNotebook; }

TNoteForm* TNoteForm::Open(NoteOrigin origin, const std::string& text) {
  if (TheNotebook) {
    if (TheNotebook->isMinimized())
      TheNotebook->showNormal();
    else
      TheNotebook->activateWindow();
    TheNotebook->raise();
    return TheNotebook;
  }
  auto* form = new TNoteForm();
  form->FormCreate(origin, text);
  return form;
}

TNoteForm::TNoteForm() : QMainWindow(nullptr) {
  TheNotebook = this;
  setAttribute(Qt::WA_DeleteOnClose, true);
  auto* central = new QWidget(this);
  auto* grid = new QGridLayout(central);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(0);
  area_ = new NoteSheetArea(this);
  vBar_ = new QScrollBar(Qt::Vertical, central);
  hBar_ = new QScrollBar(Qt::Horizontal, central);
  grid->addWidget(area_, 0, 0);
  grid->addWidget(vBar_, 0, 1);
  grid->addWidget(hBar_, 1, 0);
  setCentralWidget(central);
  for (QScrollBar* b : {vBar_, hBar_}) {
    b->setSingleStep(5);
    connect(b, &QScrollBar::valueChanged, area_, [this] { area_->update(); });
  }
  canvas_ = std::make_unique<QtCanvas>(area_);
  recoveryTimer_ = new QTimer(this);
  recoveryTimer_->setSingleShot(true);
  recoveryTimer_->setInterval(RECOVERY_DELAY_MS);
  connect(recoveryTimer_, &QTimer::timeout, this, [this] { KeepRecoveryCopy(); });
  BuildMenus();
}

TNoteForm::~TNoteForm() {
  // The command box goes first, and quietly: its destroyed signal unchecks a menu item, and left to the
  // deletion of the children it would come after the menus are gone.
  if (comBox_) {
    QObject::disconnect(comBox_, nullptr, this, nullptr);
    delete comBox_;
    comBox_ = nullptr;
  }
  if (TheNotebook == this) TheNotebook = nullptr;
}

void TNoteForm::FormCreate(NoteOrigin origin, const std::string& text) {
  PrepareNoteSurface(*canvas_, 1, false);
  MeasureCells();
  move(NOTEBKLEFT, NOTEBKTOP);
  resize(std::max(NOTEBKWIDTH, 100), std::max(NOTEBKHEIGHT, 100));
  rightBottom_ = QPoint(NOTEBKLEFT + NOTEBKWIDTH, NOTEBKTOP + NOTEBKHEIGHT);
  hBar_->setValue(0);
  vBar_->setValue(0);
  LinePitch = KANKAKU;

  NotePage.modified = true;
  if (!StartPage(origin, text)) ShowMessage(NOTE_FULL_TEXT, SIKI_FILE_CAPTION);
  equalBreakItem_->setChecked(NoteEqualBreak);
  answerBlankItem_->setChecked(NOTE_KAITOURAN_FLAG != 0);
  show();
  Redraw();
  area_->setFocus();
  CommandBoxCommand();
}

QAction* TNoteForm::AddItem(QMenu* menu, const char* caption, const QKeySequence& key, NoteCommand command) {
  QAction* a = menu->addAction(U(caption));
  if (!key.isEmpty()) {
    a->setShortcut(key);
    a->setShortcutContext(Qt::WindowShortcut);
  }
  connect(a, &QAction::triggered, this, [this, command] { RunCommand(command); });
  return a;
}

void TNoteForm::BuildMenus() {
  QMenu* file = menuBar()->addMenu(U("ファイル(&F)"));
  AddItem(file, "ノートをクリア(&N)", QKeySequence(Qt::CTRL | Qt::Key_N), NoteCommand::Clear);
  AddItem(file, "ファイルを開く&O)", QKeySequence(Qt::CTRL | Qt::Key_O), NoteCommand::Open);
  AddItem(file, "ファイルを保存(&S)", QKeySequence(Qt::CTRL | Qt::Key_S), NoteCommand::Save);
  AddItem(file, "ファイルを別名保存(&A)", QKeySequence(Qt::CTRL | Qt::Key_A), NoteCommand::SaveAs);
  AddItem(file, "ノートを印刷(&P)", QKeySequence(Qt::CTRL | Qt::Key_P), NoteCommand::Print);
  connect(file->addAction(U("問題づくり(&M)...")), &QAction::triggered, this,
          [this] { SheetMakerCommand(); });
  connect(file->addAction(U("クラスのまとめ(&R)...")), &QAction::triggered, this, [this] {
    auto* summary = new TClassSummaryForm(this);
    summary->setAttribute(Qt::WA_DeleteOnClose);
    summary->show();
  });
  connect(file->addAction(U("課題を開く(&K)...")), &QAction::triggered, this,
          [this] { OpenAssignmentFromDialog(this); });
  file->addSeparator();
  AddItem(file, "ノートを閉じる(&C)", QKeySequence(Qt::CTRL | Qt::Key_C), NoteCommand::Close);

  QMenu* ops = menuBar()->addMenu(U("式操作(&B)"));
  AddItem(ops, "答(選択式)を削除(&Y) ", QKeySequence(Qt::CTRL | Qt::Key_Y), NoteCommand::DeleteAnswer);
  AddItem(ops, "選択式を削除(&D)", QKeySequence(Qt::CTRL | Qt::Key_D), NoteCommand::DeleteSelected);
  AddItem(ops, "選択式を編集(&E)", QKeySequence(Qt::CTRL | Qt::Key_E), NoteCommand::EditSelected);
  AddItem(ops, "選択式を計算(&Q)", QKeySequence(Qt::CTRL | Qt::Key_Q), NoteCommand::CalculateSelected);
  AddItem(ops, "選択式を複写(&H)", QKeySequence(Qt::CTRL | Qt::Key_H), NoteCommand::CopySelected);
  AddItem(ops, "新式を追加(&W)", QKeySequence(Qt::CTRL | Qt::Key_W), NoteCommand::AddNew);
  ops->addSeparator();
  AddItem(ops, "答(ノート全部)を削除(&U)", QKeySequence(Qt::CTRL | Qt::Key_U), NoteCommand::DeleteAllAnswers);
  AddItem(ops, "ノート全部を編集(&G)", QKeySequence(Qt::CTRL | Qt::Key_G), NoteCommand::EditPage);
  AddItem(ops, "ノート全部を計算(&Z)", QKeySequence(Qt::CTRL | Qt::Key_Z), NoteCommand::CalculateAll);
  AddItem(ops, "途中式を調べる(&K)", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G),
          NoteCommand::CheckWorking);
  ops->addSeparator();
  AddItem(ops, "操作前に戻す(&B)", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_B), NoteCommand::Restore);

  QMenu* view = menuBar()->addMenu(U("表示(&V)"));
  AddItem(view, "フォント(&F)　　　Shift＋F", QKeySequence(), NoteCommand::Font);
  AddItem(view, "表題記入(&T)", QKeySequence(Qt::CTRL | Qt::Key_T), NoteCommand::Title);
  equalBreakItem_ =
      AddItem(view, "｢＝｣で改行(&L)", QKeySequence(Qt::CTRL | Qt::Key_L), NoteCommand::ToggleEqualBreak);
  equalBreakItem_->setCheckable(true);
  commandBoxItem_ =
      AddItem(view, "コマンド箱を開く( &I )", QKeySequence(Qt::CTRL | Qt::Key_I), NoteCommand::CommandBox);
  commandBoxItem_->setCheckable(true);
  AddItem(view, "条件設定ボックス表示(&J)", QKeySequence(Qt::CTRL | Qt::Key_J), NoteCommand::Conditions);
  view->addSeparator();
  answerBlankItem_ = AddItem(view, "解答欄を付ける(&S)", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S),
                             NoteCommand::ToggleAnswerBlank);
  answerBlankItem_->setCheckable(true);
  AddItem(view, "解答欄の開始位置設定(&C)", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C),
          NoteCommand::AnswerColumnStart);
  AddItem(view, "ウィンドウＡ４幅", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F8),
          NoteCommand::WindowA4Width);
}

QAction* TNoteForm::FindAction(const QString& caption) const {
  for (QMenu* m : menuBar()->findChildren<QMenu*>())
    for (QAction* a : m->actions())
      if (a->text() == caption) return a;
  return nullptr;
}

// ---- Drawing ------------------------------------------------------------------------------------

void TNoteForm::MeasureCells() { MeasureNoteCells(*canvas_, cw_, ch_); }

int TNoteForm::HScroll() const { return hBar_->value(); }
int TNoteForm::VScroll() const { return vBar_->value(); }

void TNoteForm::UpdateScrollRanges() {
  const int ppi = canvas_->PixelsPerInch();
  hBar_->setRange(0, std::max(0, NotePageWidth(ppi) - area_->width()));
  vBar_->setRange(0, std::max(0, NotePageHeight(ppi) - area_->height()));
  hBar_->setPageStep(std::max(1, area_->width()));
  vBar_->setPageStep(std::max(1, area_->height()));
}

void TNoteForm::PaintSheet(QPainter& painter, const QSize& size) {
  canvas_->Begin(&painter);
  NoteSheetView v;
  v.cw = cw_;
  v.ch = ch_;
  v.ppi = canvas_->PixelsPerInch();
  v.hScroll = HScroll();
  v.vScroll = VScroll();
  v.clientWidth = size.width();
  v.clientHeight = size.height();
  DrawNoteSheet(*canvas_, v);
  canvas_->End();
}

void TNoteForm::Redraw() {
  setWindowTitle(U(NoteWindowCaption()));
  UpdateScrollRanges();
  area_->update();
  // Every change of the page ends in a redraw; the copy follows a moment later, off the key's path.
  recoveryTimer_->start();
}

void TNoteForm::KeepRecoveryCopy() {
  if (KeepNoteRecovery(NotebookRecoveryFolder()) == NoteRecoveryOutcome::FailedFirst)
    ShowMessage(NOTE_RECOVERY_FAILED_TEXT, NOTE_RECOVERY_CAPTION);
}

QImage TNoteForm::GrabSheet() {
  QImage image(area_->size(), QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  PaintSheet(p, image.size());
  p.end();
  return image;
}

void TNoteForm::ScrollBy(int dx, int dy) {
  if (dx) hBar_->setValue(hBar_->value() + dx);
  if (dy) vBar_->setValue(vBar_->value() + dy);
}

void TNoteForm::WheelTurned(bool down, Qt::MouseButtons buttons) {
  RunCommand(NoteWheelCommand(down, buttons & Qt::RightButton, buttons & Qt::LeftButton));
}

// ---- Keys and commands ---------------------------------------------------------------------------

void TNoteForm::keyPressEvent(QKeyEvent* event) {
  int vk = 0, shift = 0;
  if (QtKeyToVirtualKey(*event, vk, shift)) KeySyori(vk, shift);
  event->accept();
}

void TNoteForm::KeySyori(int vk, int shift) { RunCommand(NoteKeyCommand(vk, shift)); }

void TNoteForm::RunCommand(NoteCommand command) {
  switch (command) {
    case NoteCommand::None: return;
    case NoteCommand::Font: FontCommand(); return;
    case NoteCommand::SelectPrevious:
      SelectPrevious();
      Redraw();
      return;
    case NoteCommand::SelectNext:
      SelectNext();
      Redraw();
      return;
    case NoteCommand::PitchUp:
    case NoteCommand::PitchDown:
      SetKankaku(KANKAKU + (command == NoteCommand::PitchUp ? 1 : -1), KANKAKU_MIN_KEYS);
      PitchChanged();
      Redraw();
      return;
    case NoteCommand::ToggleEqualBreak: SetEqualBreak(!NoteEqualBreak); return;
    case NoteCommand::Clear: ClearNote(); return;
    case NoteCommand::Open: OpenFile(); return;
    case NoteCommand::Save: SaveFile(); return;
    case NoteCommand::SaveAs: SaveFileAs(); return;
    case NoteCommand::Print: PrintNote(); return;
    case NoteCommand::Close: close(); return;
    case NoteCommand::DeleteAnswer: DeleteAnswerCommand(); return;
    case NoteCommand::DeleteSelected: DeleteSelectedCommand(); return;
    case NoteCommand::EditSelected: EditSelectedCommand(); return;
    case NoteCommand::CalculateSelected: CalculateSelectedCommand(); return;
    case NoteCommand::CopySelected: CopySelectedCommand(); return;
    case NoteCommand::AddNew: AddNewCommand(); return;
    case NoteCommand::DeleteAllAnswers: DeleteAllAnswersCommand(); return;
    case NoteCommand::EditPage: EditPageCommand(); return;
    case NoteCommand::CalculateAll: CalculateAllCommand(); return;
    case NoteCommand::CheckWorking: CheckWorkingCommand(); return;
    case NoteCommand::Restore: RestoreCommand(); return;
    case NoteCommand::Title: TitleCommand(); return;
    case NoteCommand::CommandBox: CommandBoxCommand(); return;
    case NoteCommand::Conditions:
      RunScreenCommand(ScreenCommand::OpenConditions);
      Redraw();
      return;
    case NoteCommand::ToggleAnswerBlank: SetAnswerBlank(NOTE_KAITOURAN_FLAG == 0); return;
    case NoteCommand::AnswerColumnStart: AnswerColumnCommand(); return;
    case NoteCommand::WindowA4Width: WindowA4Width(); return;
    case NoteCommand::PageHeightUp:
    case NoteCommand::PageHeightDown:
      SetPageA4Bain(PAGEA4BAIN + (command == NoteCommand::PageHeightUp ? 1 : -1));
      PageHeightChanged();
      Redraw();
      return;
    case NoteCommand::ScrollUp: ScrollBy(0, -NOTE_SCROLL_STEP); return;
    case NoteCommand::ScrollDown: ScrollBy(0, NOTE_SCROLL_STEP); return;
    case NoteCommand::ScrollLeft: ScrollBy(-NOTE_SCROLL_STEP, 0); return;
    case NoteCommand::ScrollRight: ScrollBy(NOTE_SCROLL_STEP, 0); return;
  }
}

void TNoteForm::PitchChanged() {
  if (comBox_) comBox_->ShowValues();
}

void TNoteForm::PageHeightChanged() {
  if (comBox_) comBox_->ShowValues();
}

void TNoteForm::SetEqualBreak(bool on) {
  NoteEqualBreak = on;
  equalBreakItem_->setChecked(on);
  if (comBox_) comBox_->ShowValues();
  Redraw();
}

void TNoteForm::SetAnswerBlank(bool on) {
  NOTE_KAITOURAN_FLAG = on ? 1 : 0;
  answerBlankItem_->setChecked(on);
  Redraw();
}

// ---- Page commands ---------------------------------------------------------------------------------

void TNoteForm::DeleteAnswerCommand() {
  if (NotePage.selected == 0) {
    ShowMessage(NOTE_SELECT_TO_DELETE_ANSWER, CONFIRM);
    return;
  }
  DeleteAnswer([] { return Confirm(NOTE_ASK_DELETE_ANSWER); });
  Redraw();
}

void TNoteForm::DeleteSelectedCommand() {
  if (NotePage.selected == 0) {
    ShowMessage(NOTE_SELECT_TO_DELETE, CONFIRM);
    return;
  }
  if (!Confirm(NOTE_ASK_DELETE)) return;
  DeleteSelected();
  Redraw();
}

void TNoteForm::EditSelectedCommand() {
  if (NotePage.selected == 0) {
    if (!Confirm(NOTE_NONE_SELECTED_ADD)) return;
    const bool wasModified = NotePage.modified;
    if (!AddEmptyLine()) {
      ShowMessage(NOTE_FULL_TEXT, SIKI_FILE_CAPTION);
      return;
    }
    LineAddedForEditor(wasModified);
    Redraw();
  }
  TakeBackup();
  SikiEditOpen();
}

void TNoteForm::LineAddedForEditor(bool wasModified) {
  addedLine_ = NotePage.lineCount;
  modifiedBeforeAdd_ = wasModified;
}

bool TNoteForm::DropUnfilledLine() {
  const int n = addedLine_;
  addedLine_ = 0;
  if (n == 0 || !DropEmptyLine(n)) return false;
  NotePage.modified = modifiedBeforeAdd_;
  return true;
}

void TNoteForm::CalculateSelectedCommand() {
  if (NotePage.selected == 0) {
    ShowMessage(NOTE_SELECT_TO_CALCULATE, CONFIRM);
    return;
  }
  NoteCalcResult r = CalculateSelected([] { return Confirm(NOTE_ASK_REWRITE_ANSWER); });
  for (const NoteOutcome& o : r.outcomes) ShowMessage(NoteOutcomeText(o, true), REPORT);
  Redraw();
}

void TNoteForm::CopySelectedCommand() {
  if (!CopySelected()) {
    ShowMessage(NOTE_SELECT_TO_COPY, CONFIRM);
    return;
  }
  Redraw();
}

void TNoteForm::AddNewCommand() {
  TakeBackup();
  const bool wasModified = NotePage.modified;
  if (!AddEmptyLine()) {
    ShowMessage(NOTE_FULL_TEXT, SIKI_FILE_CAPTION);
    return;
  }
  LineAddedForEditor(wasModified);
  Redraw();
  SikiEditOpen();
}

void TNoteForm::DeleteAllAnswersCommand() {
  if (!Confirm(NOTE_ASK_DELETE_ALL_ANSWERS)) return;
  DeleteAllAnswers();
  Redraw();
}

void TNoteForm::CalculateAllCommand() {
  if (!Confirm(NOTE_ASK_REWRITE_ALL)) return;
  CalculateAll([](const NoteOutcome& o) { ShowMessage(NoteOutcomeText(o, false), REPORT); });
  Redraw();
}

void TNoteForm::CheckWorkingCommand() {
  const std::string summary = CheckNotePageWorking(StepOptionsFromSettings());
  Redraw();
  ShowMessage(summary, NOTE_STEPS_CAPTION);
}

void TNoteForm::RestoreCommand() {
  RestoreBackup();
  Redraw();
}

void TNoteForm::SikiEditOpen() {
  const std::string text = NoteLine(NotePage.selected);
  if (TSikiEditForm::Instance()) {
    // The open editor takes the line at once (mode 2); the page counts as edited from now.
    TSikiEditForm::OpenForNotebook(text, this);
    NotePage.modified = true;
    Redraw();
    return;
  }
  QPointer<TNoteForm> self(this);
  TSikiEditForm::OpenForNotebook(text, this, [self] {
    // A line added for the editor that got no text (the editor refused it, or nothing was typed) goes
    // again: no empty numbered problem stays behind.
    if (!self || !self->DropUnfilledLine()) NotePage.modified = true;
    if (self) self->Redraw();
  });
}

void TNoteForm::EditPageCommand() {
  if (TNoteEditForm::IsOpen()) {
    ShowMessage("頁編集画面はすでに開いています。", CONFIRM);
    return;
  }
  TakeBackup();
  TNoteEditForm editor(this);
  editor.pageStored = [this] { Redraw(); };
  editor.exec();
  NotePage.modified = true;
  Redraw();
}

void TNoteForm::TitleCommand() {
  if (THyoudaiEditForm::IsOpen()) {
    ShowMessage("表題記入欄はすでに開いています。", CONFIRM);
    return;
  }
  THyoudaiEditForm box(this);
  box.redraw = [this] { Redraw(); };
  box.exec();
  if (box.TitleChanged()) NotePage.modified = true;
  Redraw();
  if (comBox_) comBox_->FocusPitch();
}

void TNoteForm::CommandBoxCommand() {
  if (comBox_) {
    if (comBox_->Minimised()) {
      comBox_->Restore();
      commandBoxItem_->setChecked(true);
    } else {
      comBox_->Minimise();
      commandBoxItem_->setChecked(false);
    }
    return;
  }
  comBox_ = new TNBComBoxForm(this);
  connect(comBox_, &QObject::destroyed, this, [this] {
    comBox_ = nullptr;
    commandBoxItem_->setChecked(false);
  });
  comBox_->show();
  commandBoxItem_->setChecked(true);
}

void TNoteForm::AnswerColumnCommand() {
  std::string entry = std::to_string(KAITOURAN_ITI);
  // A wrong entry is not taken; the box comes again with the entry in its field.
  while (CurrentPlatform().InputBox("◆解答欄の開始位置を設定◆", AnswerColumnPrompt(), entry)) {
    int value = 0;
    if (ParseAnswerColumn(entry, value)) {
      KAITOURAN_ITI = value;
      Redraw();
      return;
    }
  }
}

void TNoteForm::WindowA4Width() {
  showNormal();
  resize(NotePageWidth(canvas_->PixelsPerInch()), 600);
  move(80, 60);
}

void TNoteForm::FontCommand() {
  NoticeLastRows = 4;
  CurrentPlatform().ShowNotice(".......", "準備中!!", 50);
  QFont font = canvas_->CurrentFont();
  auto apply = [this](const QFont& f) {
    canvas_->SetFromFont(f);
    canvas_->SetFontPitch(FontPitch::Fixed);
    MeasureCells();
    Redraw();
  };
  if (PageFontDialog(font, apply)) canvas_->SetFromFont(font);
  NOTE_FONTNAME = canvas_->FontName();
  NOTE_FONTSIZE = canvas_->FontSize();
  canvas_->SetFontPitch(FontPitch::Fixed);
  canvas_->SetFontColor(CLR_BLACK);
  canvas_->SetFontBold(false);
  MeasureCells();
  Redraw();
}

// ---- File commands -------------------------------------------------------------------------------

void TNoteForm::ClearNote() {
  if (NotePage.modified) {
    MsgAnswer a = AskQuestion(NOTE_ASK_SAVE_BEFORE_CLEAR, CONFIRM, MsgButtons::YesNoCancel);
    if (a == MsgAnswer::Cancel) return;
    // A page that could not be saved is not thrown away.
    if (a == MsgAnswer::Yes && !SaveFile()) return;
  }
  TakeBackup();
  // The cleared page is a new one: saving it asks for a name.
  NewPage();
  Redraw();
}

bool TNoteForm::MayReplacePage() {
  if (!NotePage.modified) return true;
  MsgAnswer a = AskQuestion(NOTE_ASK_SAVE_BEFORE_OPEN, CONFIRM, MsgButtons::YesNoCancel);
  if (a == MsgAnswer::Cancel) return false;
  return a == MsgAnswer::No || SaveFile();
}

void TNoteForm::OpenFile() {
  if (!MayReplacePage()) return;
  const std::string start = NotePage.fileName.empty()
                                ? std::string()
                                : QFileInfo(U(NotePage.fileName)).absolutePath().toStdString();
  const std::string path =
      CurrentPlatform().OpenFileName("分数式ﾌｧｲﾙ(拡張子.siki)を開く", SIKI_FILE_FILTER, start);
  if (path.empty()) return;
  LoadFile(path);
}

void TNoteForm::LoadFile(const std::string& path) {
  const int bad = LoadSikiFile(path);
  if (bad == SIKI_CANNOT_OPEN) {
    ShowMessage(SIKI_OPEN_FAILED_TEXT, SIKI_FILE_CAPTION);
    return;
  }
  vBar_->setValue(0);
  hBar_->setValue(0);
  Redraw();
  ReportSikiLoadProblems();
  if (bad > 0) {
    ShowMessage(NOTE_BAD_LINES_TEXT, NOTE_BAD_LINES_CAPTION);
    EditPageCommand();
  }
}

bool TNoteForm::SaveTo(const std::string& chosen) {
  // A character the file cannot hold is named with its place; the page is stored with it replaced
  // when the pupil agrees, and stays unsaved (but untouched) when not.
  const std::vector<SikiUnstorable> unstorable = FindUnstorableCharacters();
  if (!unstorable.empty()) {
    if (AskQuestion(UnstorableQuestion(unstorable), CONFIRM, MsgButtons::OkCancel) != MsgAnswer::Ok)
      return false;
    ReplaceUnstorableCharacters();
  }
  const std::string path = ForceSikiExtension(chosen);
  const bool saved = SaveSikiFile(path);
  // The pupil must know when the page is not stored; the page keeps the name of the file it is in.
  if (saved)
    NotePage.fileName = path;
  else
    ShowMessage(SIKI_SAVE_FAILED_TEXT, SIKI_FILE_CAPTION);
  Redraw();
  return saved;
}

bool TNoteForm::SaveFile() {
  if (!NotePage.modified) return true;
  if (NotePage.fileName.empty()) return SaveFileAs();
  return SaveTo(NotePage.fileName);
}

bool TNoteForm::SaveFileAs() {
  // The page's own kind of file comes first in the dialog's list.
  const std::string path = CurrentPlatform().SaveFileName("分数式ﾌｧｲﾙ(拡張子.siki)に保存する",
                                                          SIKI_FILE_FILTER, NotePage.fileName);
  if (path.empty()) return false;
  return SaveTo(path);
}

TSheetForm* TNoteForm::SheetMaker() {
  if (!sheetForm_) {
    sheetForm_ = new TSheetForm(this);
    sheetForm_->printerSetup = [](QPrinter& p) { return PrinterSetup(p); };
    sheetForm_->pageChanged = [this] { Redraw(); };
  }
  return sheetForm_;
}

void TNoteForm::SheetMakerCommand() {
  TSheetForm* form = SheetMaker();
  form->Preview();
  form->exec();
}

void TNoteForm::PrintNote() {
  CurrentPlatform().ShowNotice(".......", "準備中!!", 20);
  QPrinter printer(QPrinter::HighResolution);
  if (!PrinterSetup(printer)) return;
  // The paper starts with the first line the window shows whole, scrolled sideways as the window is.
  NotePrintStart start;
  NoteSheetView view;
  view.cw = cw_;
  view.ch = ch_;
  view.ppi = canvas_->PixelsPerInch();
  start.firstLine = NoteFirstShownLine(NoteLineBands(*canvas_, view), VScroll());
  start.hScroll = HScroll();
  start.cw = cw_;
  if (!PrintSafely(printer, [&start](QPrinter& p) { return PrintNoteSheets(p, start) > 0; }))
    ShowMessage(PrintFailedText(printer), SIKI_FILE_CAPTION);
  Redraw();
}

// ---- Activation and closing ----------------------------------------------------------------------

void TNoteForm::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange) {
    if (isActiveWindow()) {
      PutPanelAway();
    } else if (comBox_) {
      commandBoxItem_->setChecked(false);
    }
  } else if (event->type() == QEvent::WindowStateChange && comBox_ && isMinimized()) {
    comBox_->Minimise();
    if (CalcScreenForm* screen = CalcScreenForm::Instance()) screen->showNormal();
  }
}

void TNoteForm::closeEvent(QCloseEvent* event) {
  if (NotePage.modified && !programEnding_) {
    MsgAnswer a = AskQuestion("ノート画面の式は編集されています。\n\n画面を閉じる前に変更を保存しますか？",
                              CONFIRM, MsgButtons::YesNoCancel);
    // A page that could not be saved keeps its window open, so that nothing is lost.
    if (a == MsgAnswer::Cancel || (a == MsgAnswer::Yes && !SaveFile())) {
      event->ignore();
      return;
    }
  }
  TheNotebook = nullptr;
  // The next notebook starts on a new page, not under the name of this one's file.
  NewPage();
  // The page was saved or given up: its copy goes with it.
  recoveryTimer_->stop();
  RemoveNoteRecovery(NotebookRecoveryFolder());
  // The screen and its panel come back as they were, unless they are going too.
  if (!programEnding_) {
    BringPanelBack();
    if (CalcScreenForm* screen = CalcScreenForm::Instance()) screen->showNormal();
  }
  const QRect g = geometry();
  NOTEBKTOP = g.top();
  NOTEBKLEFT = g.left();
  NOTEBKHEIGHT = g.height();
  NOTEBKWIDTH = g.width();
  EditorMode = EditorFor::Screen;
  if (comBox_) comBox_->close();
  if (TSikiEditForm* editor = TSikiEditForm::Instance(); editor && !programEnding_) editor->FocusField();
  event->accept();
}

void NotebookScreenActivated() {
  TNoteForm* f = TNoteForm::Instance();
  if (!f || !f->CommandBox()) return;
  f->CommandBox()->Minimise();
  if (QAction* item = f->FindAction(U("コマンド箱を開く( &I )"))) item->setChecked(false);
}

bool OpenNotebookFile(const std::string& path) {
  TNoteForm* form = TNoteForm::Open(NoteOrigin::CalculationScreen, "");
  if (!form->MayReplacePage()) return false;
  // The page keeps the file's full name, so that saving writes where it came from.
  form->LoadFile(QFileInfo(U(path)).absoluteFilePath().toStdString());
  // The page is what the pupil asked for: the notebook comes up over the screen with the focus.
  form->raise();
  form->activateWindow();
  return NotePage.fileName == QFileInfo(U(path)).absoluteFilePath().toStdString();
}

void NotebookProgramEnds() {
  TNoteForm* f = TNoteForm::Instance();
  if (!f) return;
  f->programEnding_ = true;
  f->close();
}

// ---- Installation --------------------------------------------------------------------------------

void InstallNotebook() {
  SetScreenCommand(ScreenCommand::OpenNotebook, [] {
    if (!TNoteForm::Instance()) PutPanelAway();
    TNoteForm::Open(NoteOrigin::CalculationScreen, LineText);
    return true;
  });
  CalcScreenForm::NotebookModified = [] { return NotePage.modified; };
  // Yes saves the page when the notebook window is open; without a window there is nothing to save.
  CalcScreenForm::SaveNotebook = [] {
    return TNoteForm::Instance() ? TNoteForm::Instance()->SaveFile() : true;
  };
  EditorNotebook.isOpen = [] { return TNoteForm::Instance() != nullptr; };
  EditorNotebook.redraw = [] {
    if (TNoteForm::Instance()) TNoteForm::Instance()->Redraw();
  };
  EditorNotebook.openFromEditor = [](const std::string& text) {
    TNoteForm::Open(NoteOrigin::ExpressionEditor, text);
  };
}

// ---- The recovery copy ---------------------------------------------------------------------------

std::string NotebookRecoveryFolder() {
  const std::string settings = SettingsWritePath();
  const std::size_t slash = settings.find_last_of('/');
  return slash == std::string::npos ? std::string(".") : settings.substr(0, slash);
}

bool OfferNotebookRecovery() {
  const std::string folder = NotebookRecoveryFolder();
  // A copy kept by another kazoru that is still running is not offered (nor taken away from it).
  if (!ClaimNoteRecovery(folder)) return false;
  RecoveredPage page;
  if (!ReadNoteRecovery(folder, page)) return false;
  if (AskQuestion(NoteRecoveryQuestion(page), CONFIRM, MsgButtons::YesNo) != MsgAnswer::Yes) {
    RemoveNoteRecovery(folder);
    return false;
  }
  TNoteForm* form = TNoteForm::Open(NoteOrigin::CalculationScreen, "");
  RestoreRecoveredPage(page);
  form->Redraw();
  return true;
}

void NotebookProgramEndsCleanly() { RemoveNoteRecovery(NotebookRecoveryFolder()); }
