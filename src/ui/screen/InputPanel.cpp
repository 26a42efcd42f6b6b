// The input panel's buttons, layout and keys; every button hands a character or a command to the line.
#include "ui/screen/InputPanel.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <functional>

#include "engine/Settings.h"
#include "screen/ReadAloud.h"
#include "screen/sikiInp.h"
#include "ui/QtCanvas.h"
#include "ui/screen/Kazoru.h"
#include "ui/screen/QtKeys.h"

namespace {
QString U(const char* s) { return QString::fromUtf8(s); }

std::function<void()> Char(char c) {
  return [c] { InputChar(c); };
}
std::function<void()> Command(ScreenCommand c) {
  return [c] { RunScreenCommand(c); };
}
}  // namespace

TInputForm::TInputForm(CalcScreenForm* screen) : QWidget(screen, Qt::Tool), screen_(screen) {
  // A tool window of the screen stays above the screen at all times. It is not made topmost over every
  // window: the program's message boxes and dialogs open over the screen and must never be hidden
  // behind the panel.
  setWindowTitle(U("<数式操作パネル>▼Ｆ８▲"));
  setFixedSize(152, 243);
  setObjectName("inputPanel");
  // A green frame round a lime face.
  setStyleSheet("TInputForm#inputPanel { background-color: rgb(0,255,0); border: 2px solid rgb(0,128,0); }");
  setAttribute(Qt::WA_StyledBackground, true);
  QFont f;
  f.setFamilies(QtCanvas::FamiliesFor("ＭＳ ゴシック"));
  f.setPixelSize(12);
  f.setBold(true);
  setFont(f);

  // Conversions and editing commands.
  Add("帯T", 4, 4, 27, 18, "単項式の答を帯分数で表示する", Command(ScreenCommand::ToMixed));
  Add("仮K", 32, 4, 27, 18, "単項式の答を仮分数で表示する", Command(ScreenCommand::ToImproper));
  Add("小S", 60, 4, 27, 18, "単項式の答を小数で表示する", Command(ScreenCommand::ToSyousuu));
  Add("消D", 88, 4, 27, 18, "式をぜんぶ消す", [] { ClearLine(); });
  Add("復H", 116, 4, 27, 18, "消去した式を(＝の前まで)復活する", [] { RestoreLine(); });
  // Backspace, brackets, power and the expression-fraction brackets.
  Add("←", 4, 32, 25, 25, "字を一つ消して前にもどる", [] { BackSpaceLine(); });
  Add("(", 33, 32, 25, 25, "", Char('('));
  Add(")", 62, 32, 25, 25, "", Char(')'));
  Add("∧", 91, 32, 25, 25, "", Char('^'));
  Add("[", 120, 32, 12, 25, "式分数の入力を開始する", Char('['));
  Add("]", 134, 32, 12, 25, "式分数の入力を終了する", Char(']'));
  // The digit block with the operators beside it.
  static const char* DIGITS[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
  const int cols[] = {4, 33, 62};
  const int tops[] = {119, 90, 61};  // rows of 1 2 3, 4 5 6, 7 8 9
  for (int d = 1; d <= 9; ++d)
    Add(DIGITS[d], cols[(d - 1) % 3], tops[(d - 1) / 3], 28, 28, "", Char(static_cast<char>('0' + d)));
  Add("×", 91, 61, 28, 28, "", Char('*'));
  Add("÷", 120, 61, 28, 28, "", Char('/'));
  Add("＋", 91, 90, 28, 28, "", Char('+'));
  Add("－", 120, 90, 28, 28, "", Char('-'));
  Add(DIGITS[0], 4, 148, 28, 28, "", Char('0'));
  Add("．", 33, 148, 28, 28, "", Char('.'));
  Add("＝", 62, 148, 21, 28, "", Char('='));
  Add("と(K)", 91, 119, 54, 24, "", Char('k'));
  Add("分の(B)", 84, 148, 61, 24, "", Char('b'));
  // Unknown, relations, ratio, solve and the small signs.
  Add("ｘ", 4, 183, 17, 24, "", Char('x'));
  Add("＜", 21, 183, 17, 24, "", Char('<'));
  Add("≦", 38, 183, 17, 24, "", [] {
    InputChar('<');
    InputChar('=');
  });
  Add("＞", 55, 183, 17, 24, "", Char('>'));
  Add("≧", 72, 183, 17, 24, "", [] {
    InputChar('>');
    InputChar('=');
  });
  Add("：", 89, 183, 17, 24, "", Char(':'));
  Add("解", 106, 183, 18, 24, "方程式・不等式を解く。<Ctrl+Return>", Command(ScreenCommand::SolveLine));
  Add("！", 125, 183, 12, 12, "階乗の！", Char('!'));
  Add("?", 137, 183, 12, 12, "ｎ進法の変換", Command(ScreenCommand::BaseConvert));
  Add("P", 125, 195, 12, 12, "順列のＰ", Char('P'));
  Add("C", 137, 195, 12, 12, "組合せのＣ", Char('C'));
  // The tool strip.
  Add("編E", 4, 213, 32, 26, "式を編集するｴﾃﾞｨﾀを開く", Command(ScreenCommand::OpenExpressionEditor));
  Add("ﾉｰﾄN", 37, 213, 40, 26, "ﾉｰﾄﾌﾞｯｸ画面を開く", Command(ScreenCommand::OpenNotebook));
  Add("読R", 78, 213, 32, 26, "式を読み上げる。もう一度押すと止まる。<Ctrl+R>",
      [] { ReadCurrentLineAloud(); });
  Add("条件J", 111, 213, 37, 26, "各種条件を設定する", Command(ScreenCommand::OpenConditions));
  for (auto& [caption, b] : buttons_) {
    // The size is the panel's own, not read back from the button: a button styled by a style sheet has
    // a font in points until it is shown, and its pixel size would read as -1.
    const int pixels = b->width() <= 12 ? 9 : f.pixelSize();
    b->setProperty("baseGeometry", b->geometry());
    b->setProperty("basePixelSize", pixels);
  }
  ApplyScale();

  QPoint corner = screen->ClientBottomRight();
  move(corner.x() - 210, corner.y() - 250);
  // A large panel on a small or scaled screen stays wholly on the screen.
  if (QScreen* s = QWidget::screen()) {
    const QRect a = s->availableGeometry();
    move(std::clamp(x(), a.left(), std::max(a.left(), a.right() - frameGeometry().width())),
         std::clamp(y(), a.top(), std::max(a.top(), a.bottom() - frameGeometry().height())));
  }
  ClearLine();
}

void TInputForm::ApplyScale() {
  // Large print makes the panel half as large again, so that its smallest glyphs (! ? P C) reach 13 pixels.
  const double k = OOMOJI ? 1.5 : 1.0;
  auto scaled = [k](int v) { return static_cast<int>(v * k + 0.5); };
  setFixedSize(scaled(152), scaled(243));
  for (auto& [caption, b] : buttons_) {
    const QRect r = b->property("baseGeometry").toRect();
    b->setGeometry(scaled(r.x()), scaled(r.y()), scaled(r.width()), scaled(r.height()));
    QFont f = font();
    f.setPixelSize(std::max(1, scaled(b->property("basePixelSize").toInt())));
    b->setFont(f);
  }
}

QPushButton* TInputForm::Add(const char* caption, int x, int y, int w, int h, const char* hint,
                             std::function<void()> run) {
  auto* b = new QPushButton(U(caption), this);
  b->setGeometry(x, y, w, h);
  // The buttons never take the keyboard: keys stay with the calculation screen.
  b->setFocusPolicy(Qt::NoFocus);
  b->setStyleSheet("QPushButton { padding: 0px; }");
  if (hint && *hint) b->setToolTip(U(hint));
  connect(b, &QPushButton::clicked, this, [run] { run(); });
  buttons_[U(caption)] = b;
  return b;
}

QPushButton* TInputForm::Button(const QString& caption) const {
  auto it = buttons_.find(caption);
  return it == buttons_.end() ? nullptr : it->second;
}

void TInputForm::RefreshButtons() {
  if (auto* b = Button(U("小S"))) b->setEnabled(SyouButtonEnabled);
  if (auto* b = Button(U("仮K"))) b->setEnabled(KariButtonEnabled);
  if (auto* b = Button(U("帯T"))) b->setEnabled(ObiButtonEnabled);
}

void TInputForm::Switch(bool giveScreenFocus) {
  // A minimised tool window has no taskbar entry to come back from on many desktops, so minimising
  // hides it; F8 brings it back.
  switch (state_) {
    case PanelState::Hidden:
    case PanelState::Minimised:
      state_ = PanelState::Normal;
      showNormal();
      raise();
      break;
    case PanelState::Normal:
      state_ = PanelState::Minimised;
      hide();
      break;
  }
  if (screen_ && giveScreenFocus) {
    screen_->activateWindow();
    screen_->PageWidget()->setFocus();
  }
}

void TInputForm::keyPressEvent(QKeyEvent* event) {
  int vk = 0, shift = 0;
  if (!QtKeyToVirtualKey(*event, vk, shift)) return;
  KeyToInput(vk, shift);
  if (shift & SHIFT_ALT) {
    if (vk == 'C')
      RunScreenCommand(ScreenCommand::CloseInputPanel);
    else if (vk == 'E')
      RunScreenCommand(ScreenCommand::OpenExpressionEditor);
    else if (vk == 'A')
      RunScreenCommand(ScreenCommand::OpenProcessSettings);
  }
  event->accept();
}

void TInputForm::CloseButtonPressed() {
  if (state_ != PanelState::Normal) return;
  if (screen_)
    screen_->InputPanelSwitch();
  else
    Switch();
}

void TInputForm::closeEvent(QCloseEvent* event) {
  // The pupil's close button hides the panel by the same path as F8. A close the program asks for (the
  // session ends, the application quits) is accepted, so it never holds the program open.
  if (event->spontaneous()) {
    event->ignore();
    CloseButtonPressed();
    return;
  }
  state_ = PanelState::Hidden;
  event->accept();
}
