// The notice box window: placement beside the calculation screen, the two-step timer, closing by click
// or Esc, and drawing its list with the screen's font at 13 points.
#include "ui/tools/SplMsgBox.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>

#include "engine/Settings.h"
#include "ui/QtCanvas.h"
#include "ui/QtPlatform.h"
#include "ui/screen/Kazoru.h"

namespace {
constexpr int NOTICE_FONT_SIZE = 13;
}

TSplshMsgForm::TSplshMsgForm(const std::string& text, const std::string& caption, int durationMs,
                             QWidget* parent)
    : QDialog(parent), durationMs_(std::max(0, durationMs)) {
  setWindowTitle(QString::fromStdString(caption));
  setModal(true);
  // Above the stay-on-top input panel, which would hide it otherwise.
  setWindowFlag(Qt::WindowStaysOnTopHint, true);
  // The expression is typeset on one row while the box is shown.
  savedKaigyo_ = EQUAL_KAIGYO;
  EQUAL_KAIGYO = 0;
  layout_ = BuildNoticeLayout(text);

  QtCanvas measure(this);
  measure.SetFontName(FONTNAME);
  measure.SetFontSize(NOTICE_FONT_SIZE);
  cw_ = std::max(1, measure.TextWidth("1234567890") / 10);
  ch_ = std::max(1, measure.TextHeight("1234567890"));
  // The box is sized by the count of characters; where the drawn text is wider than that (the count
  // leaves out the left margin), it grows so that no text is cut off.
  measure.SetFontPitch(FontPitch::Fixed);
  const int drawnRight = DrawNotice(measure, layout_, cw_, ch_);
  // The caption is measured in the title bar's font (the application's, bold as most window managers
  // draw it).
  QFont titleFont = QApplication::font();
  titleFont.setBold(true);
  const int captionWidth = QFontMetrics(titleFont).horizontalAdvance(QString::fromStdString(caption));
  setFixedSize(std::max(NoticeBoxWidth(layout_, cw_, captionWidth), drawnRight + 20),
               NoticeBoxHeight(layout_, ch_));
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(255, 255, 255));
  setPalette(pal);
  setAutoFillBackground(true);

  if (CalcScreenForm* screen = CalcScreenForm::Instance()) {
    QPoint origin = screen->pos();
    move(origin.x() + 160, origin.y() + 160);
  }

  timer_ = new QTimer(this);
  timer_->setInterval(10);
  connect(timer_, &QTimer::timeout, this, [this] {
    if (firstTick_) {
      firstTick_ = false;
      timer_->setInterval(durationMs_);
      return;
    }
    timer_->stop();
    accept();
  });
  timer_->start();
}

TSplshMsgForm::~TSplshMsgForm() { EQUAL_KAIGYO = savedKaigyo_; }

void TSplshMsgForm::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::Window));
  QtCanvas c(this);
  c.Begin(&p);
  c.SetFontName(FONTNAME);
  c.SetFontSize(NOTICE_FONT_SIZE);
  c.SetFontPitch(FontPitch::Fixed);
  c.SetPenColor(CLR_TEAL);
  c.SetPenWidth(2);
  c.SetBrushColor(CLR_WHITE);
  c.SetFontColor(CLR_BLACK);
  DrawNotice(c, layout_, cw_, ch_);
  c.End();
}

void TSplshMsgForm::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) accept();
}

void TSplshMsgForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void ShowSplashNotice(const std::string& text, const std::string& caption, int durationMs) {
  TSplshMsgForm box(text, caption, durationMs, CalcScreenForm::Instance());
  // A notice whose expression failed the check has been reported by the check; no box stays.
  if (!box.Usable()) return;
  box.exec();
}

void InstallNoticeBox() { TheQtPlatform().noticeHandler = ShowSplashNotice; }
