// The weekly goals editor window and the goal font dialog.
#include "ui/tools/Mokuhyou.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QVBoxLayout>

#include "engine/Settings.h"
#include "platform/Platform.h"
#include "tools/Mokuhyou.h"
#include "tools/ToolCaptions.h"
#include "tools/kihonSet.h"
#include "ui/QtCanvas.h"

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }
// The window's words and tooltips both editions show (tools/ToolCaptions.h).
const char* Text(std::string_view name) { return ToolCaptionOf(GOALS_CAPTIONS, name).caption; }

// The goal colour is stored as 0x00BBGGRR.
QColor FromBgr(int bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }
int ToBgr(const QColor& c) { return c.red() | (c.green() << 8) | (c.blue() << 16); }

// The goal font as the dialog starts with it: the stored face, or the installed face standing in for it.
QFont StoredGoalFont() {
  QFont f;
  f.setFamilies(QtCanvas::FamiliesFor(MOKU_FONTNAME));
  f.setPointSize(std::max(1, MOKU_FONTSIZE));
  QFont shown(QFontInfo(f).family(), f.pointSize());
  return shown;
}

void ShowColourSample(QPushButton* b, const QColor& c) {
  b->setStyleSheet(QString("QPushButton { color: %1; }").arg(c.name()));
}

}  // namespace

// ---- The goal font dialog ----

GoalFontDialog::GoalFontDialog(QWidget* parent) : QFontDialog(parent), colour_(FromBgr(FONTCOLOR)) {
  // Qt's own dialog, so that the buttons below can be added; it lists installed faces only.
  setOption(QFontDialog::DontUseNativeDialog, true);
  setCurrentFont(StoredGoalFont());
  auto* box = findChild<QDialogButtonBox*>();
  if (box) {
    apply_ = box->addButton(QDialogButtonBox::Apply);
    colourButton_ = box->addButton(U("色(&L)..."), QDialogButtonBox::ResetRole);
    ShowColourSample(colourButton_, colour_);
    connect(apply_, &QPushButton::clicked, this, [this] { ApplyToGoal(); });
    connect(colourButton_, &QPushButton::clicked, this, [this] {
      QColor c = QColorDialog::getColor(colour_, this, U(Text("colour")));
      if (c.isValid()) {
        colour_ = c;
        ShowColourSample(colourButton_, colour_);
      }
    });
  }
}

void GoalFontDialog::ApplyToGoal() {
  QFont f = currentFont();
  const QStringList families = f.families();
  const QString face = families.isEmpty() ? f.family() : families.first();
  SetGoalFont(face.toStdString(), f.pointSize() > 0 ? f.pointSize() : MOKU_FONTSIZE, ToBgr(colour_));
}

// ---- The goals editor ----

TMokuhyouEditForm::TMokuhyouEditForm(const std::vector<std::string>& goals, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(U(Text("title")));
  setModal(true);
  QFont f;
  f.setFamilies(QtCanvas::FamiliesFor("ＭＳ ゴシック"));
  f.setPixelSize(12);
  setFont(f);

  auto* layout = new QVBoxLayout(this);
  memo_ = new QPlainTextEdit(this);
  memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  // Cream, as the calculation page; Japanese entry for the goals' words.
  QPalette pal = memo_->palette();
  pal.setColor(QPalette::Base, QColor(255, 251, 240));
  memo_->setPalette(pal);
  memo_->setAttribute(Qt::WA_InputMethodEnabled, true);
  QFont memoFont = f;
  memoFont.setPixelSize(14);
  memo_->setFont(memoFont);
  memo_->setMinimumSize(300, 190);
  layout->addWidget(memo_);

  auto* buttons = new QHBoxLayout;
  decide_ = new QPushButton(U(Text("decide")), this);
  cancel_ = new QPushButton(U(Text("cancel")), this);
  fontButton_ = new QPushButton(U(Text("font")), this);
  // The buttons answer to their access keys only; Enter makes a new line in the field.
  for (QPushButton* b : {decide_, cancel_, fontButton_}) {
    b->setAutoDefault(false);
    b->setDefault(false);
    b->setFocusPolicy(Qt::TabFocus);
  }
  buttons->addWidget(decide_);
  buttons->addWidget(cancel_);
  buttons->addStretch();
  buttons->addWidget(fontButton_);
  layout->addLayout(buttons);

  memo_->setPlainText(QString::fromStdString(JoinGoalLines(goals)));
  lastText_ = memo_->toPlainText();
  lastCursor_ = 0;

  connect(memo_, &QPlainTextEdit::textChanged, this, [this] { MemoChange(); });
  connect(memo_, &QPlainTextEdit::cursorPositionChanged, this, [this] {
    // Only caret moves within an accepted text are remembered; a refused change puts the caret back.
    if (memo_->toPlainText() == lastText_) lastCursor_ = memo_->textCursor().position();
  });
  connect(decide_, &QPushButton::clicked, this, [this] {
    changed_ = true;
    accept();
  });
  connect(cancel_, &QPushButton::clicked, this, [this] { reject(); });
  connect(fontButton_, &QPushButton::clicked, this, [this] { FontButtonClick(); });

  MokuhyouEditOpen = true;
}

TMokuhyouEditForm::~TMokuhyouEditForm() {
  if (!closed_) MokuhyouEditOpen = false;
}

void TMokuhyouEditForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  memo_->setFocus();
  CurrentPlatform().SetJapaneseInput(true);
}

void TMokuhyouEditForm::MemoChange() {
  const QString text = memo_->toPlainText();
  if (GoalTextAcceptable(text.toStdString())) {
    lastText_ = text;
    lastCursor_ = memo_->textCursor().position();
    return;
  }
  ShowMessage(MOKUHYOU_LIMIT_TEXT, MOKUHYOU_LIMIT_CAPTION);
  // The change is taken back: the earlier text with the caret where it was.
  QSignalBlocker block(memo_);
  memo_->setPlainText(lastText_);
  QTextCursor c = memo_->textCursor();
  c.setPosition(std::min(lastCursor_, static_cast<int>(lastText_.size())));
  memo_->setTextCursor(c);
}

std::vector<std::string> TMokuhyouEditForm::Lines() const {
  return SplitGoalLines(memo_->toPlainText().toStdString());
}

void TMokuhyouEditForm::FontButtonClick() {
  GoalFontDialog dialog(this);
  if (dialog.exec() == QDialog::Accepted) dialog.ApplyToGoal();
  // Whatever was applied or chosen, the goal is drawn again with the goal font as it now is.
  RedrawGoalDisplay();
}

void TMokuhyouEditForm::done(int r) {
  if (!closed_) {
    closed_ = true;
    MokuhyouEditOpen = false;
  }
  QDialog::done(r);
}
