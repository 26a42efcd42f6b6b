// The conditions settings window: its controls, their captions and ranges, the π field's checks, the
// Alt keys and closing; each handler hands its control's value to tools/kihonSet.
#include "ui/tools/kihonSet.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

#include "engine/Settings.h"
#include "platform/Platform.h"
#include "screen/ScreenPage.h"
#include "screen/sikiInp.h"
#include "tools/Mokuhyou.h"
#include "tools/ToolCaptions.h"
#include "tools/kihonSet.h"
#include "ui/QtCanvas.h"
#include "ui/QtPlatform.h"
#include "ui/tools/Mokuhyou.h"

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }
// The window's words and tooltips both editions show (tools/ToolCaptions.h).
const char* Text(std::string_view name) { return ToolCaptionOf(CONDITIONS_CAPTIONS, name).caption; }
const char* Tip(std::string_view name) { return ToolTipOrNull(ToolCaptionOf(CONDITIONS_CAPTIONS, name)); }

QLabel* Caption(const char* text, QWidget* parent, const QColor& color = QColor(0, 0, 128)) {
  auto* l = new QLabel(U(text), parent);
  QPalette pal = l->palette();
  pal.setColor(QPalette::WindowText, color);
  l->setPalette(pal);
  return l;
}

QPushButton* Button(const char* text, QWidget* parent) {
  auto* b = new QPushButton(U(text), parent);
  // Enter belongs to the π field; no button is pressed by it.
  b->setAutoDefault(false);
  b->setDefault(false);
  return b;
}

}  // namespace

ArrowSpinBox::ArrowSpinBox(int min, int max, int step, QWidget* parent) : QSpinBox(parent) {
  setRange(min, max);
  setSingleStep(step);
  setAlignment(Qt::AlignRight);
  // The text is shown, never typed: the arrows and the arrow keys step the value.
  lineEdit()->setReadOnly(true);
  setFocusPolicy(Qt::StrongFocus);
}

TJoukenForm::TJoukenForm(QWidget* parent) : QDialog(parent) {
  setWindowTitle(U(Text("title")));
  setModal(true);
  setAttribute(Qt::WA_DeleteOnClose, false);
  QFont f;
  f.setFamilies(QtCanvas::FamiliesFor("ＭＳ ゴシック"));
  f.setPixelSize(12);
  setFont(f);

  JoukenOpened();
  BuildControls();
  FillFromSettings();
  ConnectControls();
}

TJoukenForm::~TJoukenForm() {
  // A window destroyed without being closed (its owner went first) still hands back the π text.
  if (!closed_) JoukenClosed(paiEdit_->text().toStdString());
}

void TJoukenForm::BuildControls() {
  auto* top = new QVBoxLayout(this);
  top->setSpacing(6);

  // The calculation screen: cursor, goal, character advance.
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(6);
  grid->addWidget(Caption(Text("tempo"), this), 0, 0);
  cursorEdit_ = new ArrowSpinBox(CURSOLTEMPO_MIN, CURSOLTEMPO_MAX, CURSOLTEMPO_STEP, this);
  grid->addWidget(cursorEdit_, 0, 1);
  grid->addWidget(new QLabel(U(Text("ms")), this), 0, 2);

  grid->addWidget(Caption(Text("goal"), this, QColor(192, 0, 0)), 1, 0);
  goalCombo_ = new QComboBox(this);
  goalCombo_->setMaxVisibleItems(MOKUHYOU_MAX);
  goalCombo_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  goalCombo_->setMinimumContentsLength(14);
  grid->addWidget(goalCombo_, 1, 1, 1, 2);
  editButton_ = Button(Text("editGoals"), this);
  editButton_->setToolTip(U(Tip("editGoals")));
  grid->addWidget(editButton_, 1, 3);

  grid->addWidget(Caption(Text("jiokuri"), this, QColor(192, 0, 0)), 2, 0);
  jiokuriEdit_ = new ArrowSpinBox(JIOKURI_MIN, JIOKURI_MAX, JIOKURI_STEP, this);
  grid->addWidget(jiokuriEdit_, 2, 1);
  grid->addWidget(new QLabel(U(Text("percent")), this), 2, 2);

  // The π field.
  auto* paiCaption = new QHBoxLayout;
  paiCaption->addWidget(Caption(Text("pai"), this));
  paiCaption->addWidget(new QLabel(U(Text("paiKey")), this));
  paiCaption->addStretch();
  grid->addLayout(paiCaption, 3, 0, 1, 4);
  paiEdit_ = new QLineEdit(this);
  // Direct entry: the field takes half-width digits and the point.
  paiEdit_->setAttribute(Qt::WA_InputMethodEnabled, false);
  paiEdit_->installEventFilter(this);
  grid->addWidget(paiEdit_, 4, 0, 1, 3);
  pai19Button_ = Button(Text("pai19"), this);
  pai19Button_->setToolTip(U(Tip("pai19")));
  grid->addWidget(pai19Button_, 4, 3);
  // The field's problem while it is typed into, in red under it; one row is kept for it always, so the
  // window does not change its size.
  paiNotice_ = Caption("", this, QColor(255, 0, 0));
  paiNotice_->setMinimumHeight(paiNotice_->fontMetrics().height());
  grid->addWidget(paiNotice_, 5, 0, 1, 4);
  grid->setColumnStretch(1, 1);
  top->addLayout(grid);

  // How expressions and the screen are shown.
  auto* checks = new QGridLayout;
  equalKaigyo_ = new QCheckBox(U(ConditionCheckCaption("EQUAL_KAIGYO")), this);
  inputStr_ = new QCheckBox(U(ConditionCheckCaption("INPUTSTR_DSP")), this);
  kakeruAbr_ = new QCheckBox(U(ConditionCheckCaption("KAKERU_ABR")), this);
  wakigaki_ = new QCheckBox(U(ConditionCheckCaption("WAKIGAKI")), this);
  sbar_ = new QCheckBox(U(ConditionCheckCaption("SBARDSP")), this);
  checks->addWidget(equalKaigyo_, 0, 0);
  checks->addWidget(inputStr_, 0, 1);
  checks->addWidget(kakeruAbr_, 1, 0);
  checks->addWidget(wakigaki_, 1, 1);
  checks->addWidget(sbar_, 2, 1);
  top->addLayout(checks);

  // Answers on the left; page and process display on the right.
  auto* lower = new QHBoxLayout;
  auto* answerBox = new QGroupBox(U(Text("answers")), this);
  auto* answerLayout = new QVBoxLayout(answerBox);
  answerGroup_ = new QButtonGroup(this);
  for (int i = 0; i < 3; ++i) {
    auto* r = new QRadioButton(U(ANSWER_FORM_CAPTIONS[i]), answerBox);
    answerGroup_->addButton(r, i);
    answerLayout->addWidget(r);
  }
  syouDsp_ = new QCheckBox(U(Text("syou")), answerBox);
  answerLayout->addWidget(syouDsp_);
  lower->addWidget(answerBox);

  auto* right = new QVBoxLayout;
  auto* pageGrid = new QGridLayout;
  pageGrid->addWidget(Caption(Text("a4"), this), 0, 0, 1, 2);
  pageGrid->addWidget(new QLabel(U(Text("pageHeight")), this), 1, 0);
  pageEdit_ = new ArrowSpinBox(PAGEA4BAI_MIN, PAGEA4BAI_MAX, PAGEA4BAI_STEP, this);
  pageGrid->addWidget(pageEdit_, 1, 1);
  pageGrid->addWidget(new QLabel(U(Text("pitch")), this), 2, 0);
  pitchEdit_ = new ArrowSpinBox(GYOKEISUU_MIN, GYOKEISUU_MAX, GYOKEISUU_STEP, this);
  pageGrid->addWidget(pitchEdit_, 2, 1);
  right->addLayout(pageGrid);

  auto* processBox = new QGroupBox(U(Text("process")), this);
  auto* processLayout = new QHBoxLayout(processBox);
  processGroup_ = new QButtonGroup(this);
  const char* processItems[] = {Text("processOff"), Text("processOn")};
  for (int i = 0; i < 2; ++i) {
    auto* r = new QRadioButton(U(processItems[i]), processBox);
    processGroup_->addButton(r, i);
    processLayout->addWidget(r);
  }
  right->addWidget(processBox);
  right->addStretch();
  lower->addLayout(right);
  top->addLayout(lower);

  // Buttons.
  auto* buttons = new QHBoxLayout;
  closeButton_ = Button(Text("close"), this);
  fontButton_ = Button(Text("font"), this);
  fontButton_->setToolTip(U(Tip("font")));
  detailButton_ = Button(Text("detail"), this);
  detailButton_->setToolTip(U(Tip("detail")));
  buttons->addWidget(closeButton_);
  buttons->addStretch();
  buttons->addWidget(fontButton_);
  buttons->addWidget(detailButton_);
  top->addLayout(buttons);

  setFixedSize(sizeHint());
}

void TJoukenForm::FillFromSettings() {
  cursorEdit_->setValue(CURSOLTEMPO);
  FillGoalList(StoredGoals(), DSPBANGOU);
  jiokuriEdit_->setValue(JIOKURI);
  paiEdit_->setText(QString::fromStdString(PaiText));
  lastPaiText_ = paiEdit_->text();
  equalKaigyo_->setChecked(EQUAL_KAIGYO != 0);
  inputStr_->setChecked(INPUTSTR_DSP != 0);
  kakeruAbr_->setChecked(KAKERU_ABR != 0);
  wakigaki_->setChecked(WAKIGAKI != 0);
  sbar_->setChecked(SBARDSP != 0);
  if (QAbstractButton* b = answerGroup_->button(ANSSYU)) b->setChecked(true);
  syouDsp_->setChecked(SYOUDSP != 0);
  pageEdit_->setValue(PAGEA4BAI);
  pitchEdit_->setValue(GYOKEISUU);
  processGroup_->button(PROCDSP ? 1 : 0)->setChecked(true);
}

void TJoukenForm::FillGoalList(const std::vector<std::string>& goals, int selected) {
  QSignalBlocker block(goalCombo_);
  goalCombo_->clear();
  for (const std::string& g : goals) goalCombo_->addItem(QString::fromStdString(g));
  // A shown goal that is not in the list (a file written by other means) selects nothing.
  goalCombo_->setCurrentIndex(selected >= 0 && selected < goalCombo_->count() ? selected : -1);
}

void TJoukenForm::ConnectControls() {
  // Connected after filling, so that opening changes no setting.
  connect(cursorEdit_, &QSpinBox::valueChanged, this, [](int v) { SetCursolTempo(v); });
  // activated: the pupil's choice (mouse, keys or wheel); filling the list from the editor leaves
  // DSPBANGOU alone.
  connect(goalCombo_, &QComboBox::activated, this, [](int i) {
    if (i >= 0) SetDspBangou(i);
  });
  connect(editButton_, &QPushButton::clicked, this, [this] { HensyuuButtonClick(); });
  connect(jiokuriEdit_, &QSpinBox::valueChanged, this, [](int v) { SetJiokuri(v); });
  connect(paiEdit_, &QLineEdit::textChanged, this, [this](const QString& t) { PaiEditChange(t); });
  connect(paiEdit_, &QLineEdit::returnPressed, this, [this] { PaiCheckAndSelect(); });
  connect(pai19Button_, &QPushButton::clicked, this, [this] { paiEdit_->setText(U(PAI_19_DIGITS)); });
  connect(equalKaigyo_, &QCheckBox::toggled, this, [](bool on) { SetEqualKaigyo(on); });
  connect(inputStr_, &QCheckBox::toggled, this, [](bool on) { SetInputStrDsp(on); });
  connect(kakeruAbr_, &QCheckBox::toggled, this, [](bool on) { SetKakeruAbr(on); });
  connect(wakigaki_, &QCheckBox::toggled, this, [](bool on) { SetWakigaki(on); });
  connect(sbar_, &QCheckBox::toggled, this, [](bool on) { SetSbarDsp(on); });
  connect(answerGroup_, &QButtonGroup::idToggled, this, [](int id, bool on) {
    if (on) SetAnsSyu(id);
  });
  connect(syouDsp_, &QCheckBox::toggled, this, [](bool on) { SetSyouDsp(on); });
  connect(pageEdit_, &QSpinBox::valueChanged, this, [](int v) { SetPageA4Bai(v); });
  connect(pitchEdit_, &QSpinBox::valueChanged, this, [](int v) { SetGyoKeisuu(v); });
  connect(processGroup_, &QButtonGroup::idToggled, this, [](int id, bool on) {
    if (on) SetProcessDisplay(id);
  });
  connect(closeButton_, &QPushButton::clicked, this, [this] { close(); });
  connect(fontButton_, &QPushButton::clicked, this, [] { RunScreenCommand(ScreenCommand::FontDialog); });
  connect(detailButton_, &QPushButton::clicked, this,
          [] { RunScreenCommand(ScreenCommand::OpenProcessSettings); });

  // The access keys, with Alt held only.
  const std::pair<Qt::Key, QPushButton*> keys[] = {{Qt::Key_A, detailButton_},
                                                   {Qt::Key_C, closeButton_},
                                                   {Qt::Key_E, editButton_},
                                                   {Qt::Key_F, fontButton_}};
  for (auto [key, button] : keys) {
    auto* s = new QShortcut(QKeySequence(Qt::ALT | key), this);
    s->setContext(Qt::WindowShortcut);
    connect(s, &QShortcut::activated, button, &QPushButton::click);
  }
}

void TJoukenForm::ShowPaiNotice(const char* message) {
  paiNotice_->setText(message ? U(message) : QString());
}

void TJoukenForm::PaiEditChange(const QString& text) {
  closeWarned_ = false;
  // While typing, the problem is written beside the field; the warning box waits until the pupil leaves
  // the field, presses Enter or closes the window.
  PaiCheckResult r = PaiTypingCheck(text.toStdString());
  if (r.tooLong) {
    // The change that made the text too long is taken back, and the π text with it.
    const int cursor = std::min(paiEdit_->cursorPosition(), static_cast<int>(lastPaiText_.size()));
    QSignalBlocker block(paiEdit_);
    paiEdit_->setText(lastPaiText_);
    paiEdit_->setCursorPosition(cursor);
    PaiText = lastPaiText_.toStdString();
    ShowPaiNotice(PAI_TOO_LONG);
    return;
  }
  lastPaiText_ = text;
  ShowPaiNotice(r.message);
}

bool TJoukenForm::PaiCheckAndSelect() {
  if (checkingPai_) return true;
  checkingPai_ = true;
  PaiCheckResult r = PaiStrCheck(paiEdit_->text().toStdString());
  checkingPai_ = false;
  ShowPaiNotice(r.message);
  if (r.ok) return true;
  // The field keeps the focus with the character after the remembered position selected. Taken away, the
  // focus is given back once the event that took it has finished.
  auto select = [edit = paiEdit_, pos = r.pos] {
    edit->setFocus(Qt::OtherFocusReason);
    edit->setSelection(std::min(pos, static_cast<int>(edit->text().size())), 1);
  };
  if (paiEdit_->hasFocus())
    select();
  else
    QTimer::singleShot(0, paiEdit_, select);
  return false;
}

bool TJoukenForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == paiEdit_ && event->type() == QEvent::FocusOut && !closed_) {
    // Leaving the field for another control runs the check; a message box or a menu taking the focus
    // for a moment does not.
    // Going to "終了Ｃ" is left to closing, which checks the field itself (one warning, not two).
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && isVisible() &&
        QApplication::focusWidget() != closeButton_)
      PaiCheckAndSelect();
  }
  return QDialog::eventFilter(watched, event);
}

void TJoukenForm::keyPressEvent(QKeyEvent* event) {
  // The window closes by "終了Ｃ", Alt+C or its close box; Escape and Enter press no button.
  if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TJoukenForm::HensyuuButtonClick() {
  if (MokuhyouEditOpen) return;
  std::vector<std::string> listed;
  for (int i = 0; i < goalCombo_->count(); ++i) listed.push_back(goalCombo_->itemText(i).toStdString());
  TMokuhyouEditForm editor(listed, this);
  editor.exec();
  if (!editor.Changed()) return;
  std::vector<std::string> lines = editor.Lines();
  if (lines.size() > static_cast<size_t>(MOKUHYOU_MAX)) lines.resize(MOKUHYOU_MAX);
  FillGoalList(lines, 0);
  StoreGoals(lines);
  // The goal shown may have new words even though its number stays.
  RedrawGoalDisplay();
  goalCombo_->setFocus();
}

void TJoukenForm::done(int r) {
  if (!closed_ && !closeWarned_ && !CheckPaiText(paiEdit_->text().toStdString()).ok) {
    // The window stays open once, with the warning and the fault selected in the field; closing again
    // without a change closes it with the text as it stands.
    closeWarned_ = true;
    PaiCheckAndSelect();
    return;
  }
  if (!closed_) {
    closed_ = true;
    JoukenClosed(paiEdit_->text().toStdString());
  }
  QDialog::done(r);
}

void ShowJoukenForm(QWidget* parent) {
  if (JoukenOpen) return;
  TJoukenForm form(parent);
  form.exec();
}

void InstallJoukenCommand() {
  // Installed once the settings have been read: the evaluator's answer form starts from them.
  ComputeAnswerFormCode();
  SetScreenCommand(ScreenCommand::OpenConditions, [] {
    ShowJoukenForm(TheQtPlatform().Owner());
    return true;
  });
}
