// The calculation screen window: page, cursor, scrolling, strip, side panel, status line, start-up and
// close. Its menus are Kazoru-Menus.cpp; the line and the page drawing are window-free (screen/).
#include "ui/screen/Kazoru.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>

#include "engine/Settings.h"
#include "platform/Platform.h"
#include "screen/ScreenPage.h"
#include "screen/SettingsFile.h"
#include "screen/Zoom.h"
#include "typeset/Palette.h"
#include "typeset/Tategakicanv.h"
#include "typeset/bunCanvasDsp.h"
#include "ui/QtCanvas.h"
#include "ui/QtPlatform.h"
#include "ui/notebook/NBcomBox.h"
#include "ui/notebook/Notebook.h"
#include "ui/screen/InputPanel.h"
#include "ui/screen/PageAccess.h"
#include "ui/screen/QtKeys.h"

std::function<bool()> CalcScreenForm::NotebookModified;
std::function<bool()> CalcScreenForm::SaveNotebook;
std::function<void()> CalcScreenForm::ProgramEnds;

namespace {

CalcScreenForm* TheScreen = nullptr;

QColor Q(Color role) {
  const Color c = ShownColour(role);
  return QColor(c.Red(), c.Green(), c.Blue());
}
QString U(const char* s) { return QString::fromUtf8(s); }

// The colour of the goal text is stored as 0x00BBGGRR.
QColor FromBgr(int bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

void SetBackground(QWidget* w, const QColor& c) {
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, c);
  w->setPalette(pal);
  w->setAutoFillBackground(true);
}

QLabel* MakeLabel(QWidget* parent, const QString& text, int x, int y, const QColor& color, int pixelSize,
                  bool bold) {
  auto* l = new QLabel(text, parent);
  QFont f;
  f.setFamilies(QtCanvas::FamiliesFor("ＭＳ ゴシック"));
  f.setPixelSize(pixelSize);
  f.setBold(bold);
  l->setFont(f);
  QPalette pal = l->palette();
  pal.setColor(QPalette::WindowText, color);
  l->setPalette(pal);
  l->move(x, y);
  l->adjustSize();
  return l;
}

// A month or day below 10 is written as one full-width digit.
QString DateNumber(int n) {
  static const char* FULL[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
  if (n >= 0 && n < 10) return U(FULL[n]);
  return QString::number(n);
}

}  // namespace

// ---- The page area: paints the page image and the cursor, scrolls with the wheel, passes the keys ----

class ScreenPageArea : public QWidget {
 public:
  explicit ScreenPageArea(CalcScreenForm* form) : QWidget(form), form_(form) {
    setFocusPolicy(Qt::StrongFocus);
    // Direct entry: the screen never takes Japanese input, every key is a key of the line.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setAttribute(Qt::WA_OpaquePaintEvent, true);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.drawImage(0, 0, form_->pageImage_);
    if (form_->cursorShown_) {
      CanvasRect r = CursorCell();
      p.fillRect(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)), Q(CursorColour));
    }
  }
  void resizeEvent(QResizeEvent*) override { form_->PageResized(); }
  void keyPressEvent(QKeyEvent* e) override {
    int vk = 0, shift = 0;
    if (QtKeyToVirtualKey(*e, vk, shift)) form_->KeySyori(vk, shift);
    e->accept();
  }
  void wheelEvent(QWheelEvent* e) override {
    int notches = e->angleDelta().y() / 120;
    if (notches == 0) notches = e->angleDelta().y() > 0 ? 1 : (e->angleDelta().y() < 0 ? -1 : 0);
    if (notches != 0) ScrollBy(-notches * SCROLL_STEP);
    e->accept();
  }
  void contextMenuEvent(QContextMenuEvent* e) override {
    form_->UpdateMenuStates();
    form_->contextMenu_->exec(e->globalPos());
  }
  // Tab is a key of the line (the map types nothing for it), not a move of the focus.
  bool focusNextPrevChild(bool) override { return false; }

 private:
  CalcScreenForm* form_;
};

// ---- The side panel: date, weekday and the week's goal written downwards ----

class ScreenSidePanel : public QWidget {
 public:
  explicit ScreenSidePanel(QWidget* parent) : QWidget(parent) {
    SetBackground(this, Q(CLR_CREAM));
    month_ = MakeLabel(this, "", 6, 8, Qt::red, 16, true);
    MakeLabel(this, U("月"), 4, 26, Qt::black, 16, false);
    day_ = MakeLabel(this, "", 6, 44, Qt::red, 16, true);
    MakeLabel(this, U("日"), 4, 64, Qt::black, 16, false);
    weekday_ = MakeLabel(this, "", 0, 86, Qt::black, 11, false);
    // "◎今週の目標" wrapped to one character per row.
    QString caption = U("◎今週の目標");
    QString down;
    for (int i = 0; i < caption.size(); ++i) down += (i ? "\n" : "") + caption.mid(i, 1);
    caption_ = MakeLabel(this, down, 8, 110, Qt::black, 9, false);
    goal_ = new GoalLabel(this);
  }

  // Large print: the weekday and the caption at 13 pixels, the goal moved below the taller caption.
  void SetLargePrint(bool on) {
    for (auto [label, normal] : {std::pair<QLabel*, int>{weekday_, 11}, {caption_, 9}}) {
      QFont f = label->font();
      f.setPixelSize(on ? 13 : normal);
      label->setFont(f);
      label->adjustSize();
    }
    caption_->move(on ? 9 : 8, 110);
    goalTop_ = on ? caption_->geometry().bottom() + 6 : 180;
    LayoutGoal();
  }

  void UpdateDate() {
    QDate today = QDate::currentDate();
    month_->setText(DateNumber(today.month()));
    month_->adjustSize();
    day_->setText(DateNumber(today.day()));
    day_->adjustSize();
    static const char* DAYS[] = {"(月)", "(火)", "(水)", "(木)", "(金)", "(土)", "(日)"};
    int dow = today.dayOfWeek();  // 1 Monday … 7 Sunday
    weekday_->setText(U(DAYS[(dow - 1) % 7]));
    QPalette pal = weekday_->palette();
    pal.setColor(QPalette::WindowText, dow == 7 ? Qt::red : (dow == 6 ? Qt::blue : Qt::black));
    weekday_->setPalette(pal);
    weekday_->adjustSize();
  }

  void LayoutGoal() { goal_->setGeometry(0, goalTop_, 24, std::max(0, height() - goalTop_)); }
  void RedrawGoal() { goal_->update(); }

 protected:
  void resizeEvent(QResizeEvent*) override { LayoutGoal(); }

 private:
  class GoalLabel : public QWidget {
   public:
    explicit GoalLabel(QWidget* parent) : QWidget(parent) {}

   protected:
    void paintEvent(QPaintEvent*) override {
      QPainter p(this);
      p.fillRect(rect(), Q(CLR_CREAM));
      if (DSPBANGOU < 0 || DSPBANGOU >= std::min(MOKU_SOUSUU, MOKUHYOU_MAX)) return;
      const std::string& goal = MOKUHYOU[DSPBANGOU];
      if (goal.empty()) return;
      QtCanvas c(this);
      c.Begin(&p);
      c.SetFontName(MOKU_FONTNAME);
      c.SetFontSize(MOKU_FONTSIZE);
      QColor col = FromBgr(FONTCOLOR);
      c.SetFontColor(Color(col.red(), col.green(), col.blue()));
      c.SetBrushColor(CLR_CREAM);
      // A goal longer than the label is written smaller rather than cut at the bottom.
      c.SetFontSize(VerticalTextFitSize(c, goal, height(), JIOKURI));
      DrawVerticalText(c, 13, 0, goal, 1, JIOKURI);
      c.End();
    }
  };

  QLabel* month_;
  QLabel* day_;
  QLabel* weekday_;
  QLabel* caption_;
  GoalLabel* goal_;
  int goalTop_ = 180;
};

// ---- The window ----

CalcScreenForm* CalcScreenForm::Instance() { return TheScreen; }

CalcScreenForm::CalcScreenForm(bool readSettings, QWidget* parent) : QMainWindow(parent) {
  TheScreen = this;
  if (readSettings) ReadSettings();
  setWindowTitle(U("分数計算器『Kazoru』計算画面 -- ナナツボシ"));
  SetBackground(this, Q(CLR_CREAM));
  move(MAINLEFT, MAINTOP);
  resize(std::max(MAINWIDTH, 200), std::max(MAINHEIGHT, 200));

  page_ = new ScreenPageArea(this);
  setCentralWidget(page_);
  scrollBar_ = new QScrollBar(Qt::Vertical, page_);
  scrollBar_->setFocusPolicy(Qt::NoFocus);
  scrollBar_->setSingleStep(5);
  connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int v) {
    if (!painting_ && v != ScrollPos) ScrollTo(v);
  });
  sideBar_ = new QScrollBar(Qt::Horizontal, page_);
  sideBar_->setFocusPolicy(Qt::NoFocus);
  sideBar_->setSingleStep(10);
  sideBar_->hide();
  connect(sideBar_, &QScrollBar::valueChanged, this, [this](int v) {
    if (painting_ || v == PageScrollX) return;
    PageScrollX = v;
    Paint();
  });

  strip_ = new QWidget(page_);
  SetBackground(strip_, QColor(255, 255, 128));
  MakeLabel(strip_, U("　■入力文字列 ⇒"), 4, 7, Qt::red, 13, true);
  stripText_ = MakeLabel(strip_, "", 120, 8, Qt::blue, 12, false);

  side_ = new ScreenSidePanel(page_);

  statusLabel_ = new QLabel(this);
  statusBar()->addWidget(statusLabel_, 1);
  statusBar()->setSizeGripEnabled(false);

  canvas_ = std::make_unique<QtCanvas>(page_);
  cursorTimer_ = new QTimer(this);
  connect(cursorTimer_, &QTimer::timeout, this, [this] { CursorTick(); });
  // A setting changed in any window reaches the file a moment later, off the key's path, so that it
  // survives a program that is killed; the exit writes the window's place besides.
  settingsTimer_ = new QTimer(this);
  settingsTimer_->setInterval(SETTINGS_WRITE_INTERVAL_MS);
  connect(settingsTimer_, &QTimer::timeout, this, [] { WriteChangedSettings(); });
  settingsTimer_->start();

  BuildMenus();
  BuildContextMenu();
  FormCreate();
}

CalcScreenForm::~CalcScreenForm() {
  cursorTimer_->stop();
  ScreenView = ScreenHooks{};
  if (ScreenSurface == canvas_.get()) ScreenSurface = nullptr;
  for (ScreenCommand c :
       {ScreenCommand::InputPanelSwitch, ScreenCommand::FontDialog, ScreenCommand::CloseInputPanel})
    SetScreenCommand(c, nullptr);
  if (TheQtPlatform().Owner() == this) TheQtPlatform().SetOwner(nullptr);
  if (TheScreen == this) TheScreen = nullptr;
}

void CalcScreenForm::FormCreate() {
  LinePitch = GYOKEISUU;
  cursorTimer_->setInterval(std::max(1, CURSOLTEMPO));
  PrepareScreenSurface(*canvas_);
  if (OOMOJI) {
    FONTSIZE = std::max(FONTSIZE, LargePrintMinimumSize(ScreenPixelsPerInch));
    PrepareScreenSurface(*canvas_);
    side_->SetLargePrint(true);
  }
  ScreenSurface = canvas_.get();
  ScreenView.repaint = [this] { Paint(); };
  ScreenView.refresh = [this] { RefreshControls(); };
  ScreenView.eraseCursor = [this] { EraseCursor(); };
  InstallWindowCommands();
  TheQtPlatform().SetOwner(this);
  ScrollPos = 0;
  LayoutChildren();
  ComputeLineOrigin();
  CursorPos = LineOrigin;
  side_->UpdateDate();
  statusBar()->setVisible(SBARDSP != 0);
  cursorTimer_->start();
}

QWidget* CalcScreenForm::PageWidget() const { return page_; }
QWidget* CalcScreenForm::InputStrip() const { return strip_; }
QWidget* CalcScreenForm::SidePanel() const { return side_; }

QPoint CalcScreenForm::ClientBottomRight() const {
  return page_->mapToGlobal(QPoint(page_->width(), page_->height()));
}

void CalcScreenForm::SetInputPanel(TInputForm* panel) {
  inputPanel_ = panel;
  RefreshControls();
}

void CalcScreenForm::LayoutChildren() {
  const int sb = scrollBar_->sizeHint().width();
  const int w = std::max(0, page_->width() - sb);
  // The sideways bar takes the bottom of the page while the page is wider than the room left of the
  // date strip.
  const int hb = sideBar_->sizeHint().height();
  const int range = PageScrollXRange(w);
  const int h = std::max(0, page_->height() - (range > 0 ? hb : 0));
  scrollBar_->setGeometry(w, 0, sb, h);
  sideBar_->setGeometry(0, h, PageViewWidth(w), hb);
  sideBar_->setRange(0, range);
  sideBar_->setPageStep(std::max(1, PageViewWidth(w)));
  sideBar_->setVisible(range > 0);
  ScreenWidth = w;
  ScreenHeight = h;
  const int stripHeight = INPUTSTR_DSP ? INPUT_STRIP_HEIGHT : 0;
  strip_->setGeometry(0, 0, w, INPUT_STRIP_HEIGHT);
  strip_->setVisible(INPUTSTR_DSP != 0);
  side_->setGeometry(w - SIDE_PANEL_WIDTH, stripHeight, SIDE_PANEL_WIDTH, std::max(0, h - stripHeight));
  side_->setVisible(WAKIGAKI != 0);
  side_->LayoutGoal();
}

void CalcScreenForm::PageResized() {
  LayoutChildren();
  Paint();
}

void CalcScreenForm::Paint() {
  if (painting_) return;
  painting_ = true;
  // Scroll range and position first: the page is drawn shifted up by the position.
  scrollBar_->setRange(0, PageLength());
  scrollBar_->setPageStep(std::max(1, ScreenHeight));
  ScrollPos = std::clamp(ScrollPos, 0, PageLength());
  scrollBar_->setValue(ScrollPos);
  LayoutChildren();

  const qreal dpr = page_->devicePixelRatioF();
  QSize size(std::max(1, ScreenWidth), std::max(1, ScreenHeight));
  if (pageImage_.size() != size * dpr) {
    pageImage_ = QImage(size * dpr, QImage::Format_RGB32);
    pageImage_.setDevicePixelRatio(dpr);
    // The image measures text as the screen does.
    const int dpm = static_cast<int>(page_->logicalDpiY() / 0.0254 + 0.5);
    pageImage_.setDotsPerMeterX(dpm);
    pageImage_.setDotsPerMeterY(dpm);
  }
  for (int pass = 0; pass < 2; ++pass) {
    {
      QPainter p(&pageImage_);
      canvas_->Begin(&p);
      PaintPage(*canvas_, ScreenWidth, ScreenHeight);
      canvas_->End();
    }
    // A page that became narrower (a shorter line) cannot stay scrolled past its end.
    const int range = PageScrollXRange(ScreenWidth);
    if (PageScrollX <= range || pass == 1) break;
    PageScrollX = range;
  }
  LayoutChildren();
  sideBar_->setValue(PageScrollX);
  canvas_->SetDevice(page_);
  side_->UpdateDate();
  side_->RedrawGoal();
  RefreshControls();
  page_->update();
  painting_ = false;
}

void CalcScreenForm::RefreshControls() {
  statusLabel_->setText(QString::fromStdString(StatusText));
  statusBar()->setVisible(SBARDSP != 0);
  stripText_->setText(QString::fromStdString(InputStringText));
  stripText_->adjustSize();
  if (inputPanel_) inputPanel_->RefreshButtons();
  UpdateMenuStates();
  UpdatePageAccessibility(page_);
}

QImage CalcScreenForm::GrabPage() const {
  QImage img = pageImage_.copy();
  if (cursorShown_) {
    QPainter p(&img);
    CanvasRect r = CursorCell();
    p.fillRect(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)), Q(CursorColour));
  }
  return img;
}

void CalcScreenForm::EraseCursor() {
  cursorShown_ = false;
  cursorPhase_ = false;
  page_->update();
}

void CalcScreenForm::CursorTick() {
  // The input panel never keeps the keyboard: the screen takes the focus back.
  if (inputPanel_ && inputPanel_->isActiveWindow()) {
    activateWindow();
    page_->setFocus();
  }
  // Nor does the notebook's command box: its notebook window takes the keys.
  if (TNoteForm* note = TNoteForm::Instance();
      note && note->CommandBox() && note->CommandBox()->isActiveWindow())
    note->activateWindow();
  if (!LineOpen && !cursorShown_) return;
  cursorPhase_ = !cursorPhase_;
  cursorShown_ = cursorPhase_ && LineOpen;
  page_->update();
}

void CalcScreenForm::KeySyori(int vk, int shift) {
  if ((shift & SHIFT_ALT) && vk == 'E') {
    RunScreenCommand(ScreenCommand::OpenExpressionEditor);
    return;
  }
  // The menu shows Alt+A beside the detailed settings: the key works on the screen as on the panel.
  if ((shift & SHIFT_ALT) && vk == 'A') {
    RunScreenCommand(ScreenCommand::OpenProcessSettings);
    return;
  }
  KeyToInput(vk, shift);
}

void CalcScreenForm::InputPanelSwitch() {
  if (!inputPanel_) return;
  inputPanel_->Switch();
  RefreshControls();
}

void CalcScreenForm::FontDialog() {
  CurrentPlatform().ShowNotice(".......", "準備中!!", 20);
  // The dialog lists installed faces: it starts on the face the screen font really resolved to.
  QFont start = canvas_->CurrentFont();
  start.setFamily(QFontInfo(start).family());
  QFontDialog dialog(start, this);
  dialog.setOption(QFontDialog::DontUseNativeDialog, true);
  // Apply sets the font shown at once and repaints, as the notebook's and the goals' dialogs do.
  if (auto* box = dialog.findChild<QDialogButtonBox*>()) {
    QPushButton* apply = box->addButton(QDialogButtonBox::Apply);
    connect(apply, &QPushButton::clicked, &dialog, [this, &dialog] { UseScreenFont(dialog.currentFont()); });
  }
  if (dialog.exec() == QDialog::Accepted) canvas_->SetFromFont(dialog.selectedFont());
  // Whatever was chosen or applied, the screen draws in a fixed-pitch face with the teal pen, and the
  // settings keep the font it draws in.
  UseScreenFont(canvas_->CurrentFont());
}

void CalcScreenForm::UseScreenFont(const QFont& font) {
  canvas_->SetFromFont(font);
  FONTNAME = canvas_->FontName();
  FONTSIZE = canvas_->FontSize();
  canvas_->SetFontPitch(FontPitch::Fixed);
  canvas_->SetPenColor(CLR_TEAL);
  PrepareScreenSurface(*canvas_);
  Paint();
}

void CalcScreenForm::ApplyLargePrint() {
  // The screen font goes up to the large-print minimum (the current size when it is larger already).
  ZoomScreen(0);
  side_->SetLargePrint(OOMOJI != 0);
  if (inputPanel_) inputPanel_->ApplyScale();
  Paint();
}

void CalcScreenForm::WindowA4Width() {
  showNormal();
  resize(A4Width(), 600);
  move(60, 40);
  Paint();
}

void CalcScreenForm::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::ActivationChange || !isActiveWindow()) return;
  if (!activatedOnce_) {
    activatedOnce_ = true;
    side_->RedrawGoal();
    return;
  }
  BreakCount = 0;
  LinePitch = GYOKEISUU;
  Paint();
  NotebookScreenActivated();
}

void CalcScreenForm::closeEvent(QCloseEvent* event) {
  if (NotebookModified && NotebookModified()) {
    MsgAnswer a =
        AskQuestion("ノート画面の式が､編集されているのに保存されていません。\n\n終了する前に保存しますか？",
                    "ご確認", MsgButtons::YesNoCancel);
    if (a == MsgAnswer::Cancel) {
      event->ignore();
      return;
    }
    // A notebook that could not be saved is not thrown away: the program stays open.
    if (a == MsgAnswer::Yes && SaveNotebook && !SaveNotebook()) {
      event->ignore();
      return;
    }
  }
  // The program ends with this window. The notebook closes first, without asking again, so that its
  // place is in the settings written now; every other window goes with the screen.
  NotebookProgramEnds();
  MAINTOP = y();
  MAINLEFT = x();
  MAINHEIGHT = height();
  MAINWIDTH = width();
  WriteSettings();
  cursorTimer_->stop();
  settingsTimer_->stop();
  if (inputPanel_) inputPanel_->hide();
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w != this && w->isVisible()) w->hide();
  event->accept();
  if (ProgramEnds) ProgramEnds();
}
