// The version box: its band, its two pictures drawn in code, the labels and the OK button.
#include "ui/tools/AboutBox.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtMath>

#include "screen/sikiInp.h"
#include "tools/ToolCaptions.h"
#include "ui/QtCanvas.h"
#include "ui/QtPlatform.h"

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }
// The window's words and tooltips both editions show (tools/ToolCaptions.h).
const char* Text(std::string_view name) { return ToolCaptionOf(VERSION_CAPTIONS, name).caption; }

const QColor BAND(0, 128, 128);
const QColor NIGHT(16, 24, 72);

QLabel* Label(const char* text, QWidget* parent, const QColor& color, int pixelSize, bool bold) {
  auto* l = new QLabel(U(text), parent);
  QFont f = l->font();
  f.setPixelSize(pixelSize);
  f.setBold(bold);
  l->setFont(f);
  QPalette pal = l->palette();
  pal.setColor(QPalette::WindowText, color);
  l->setPalette(pal);
  return l;
}

// A pie of four quarters, three of them coloured and one lifted out: three quarters, the kind of
// fraction the program is for.
class FractionPicture : public QWidget {
 public:
  explicit FractionPicture(QWidget* parent) : QWidget(parent) { setFixedSize(60, 60); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF pie(8, 10, 44, 44);
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(QColor(255, 170, 60));
    // Qt's angles are in sixteenths of a degree, counter-clockwise from three o'clock.
    p.drawPie(pie, 90 * 16, 270 * 16);
    p.setPen(QPen(Qt::white, 1.5));
    p.drawLine(pie.center(), QPointF(pie.center().x(), pie.top()));
    p.drawLine(pie.center(), QPointF(pie.left(), pie.center().y()));
    p.drawLine(pie.center(), QPointF(pie.center().x(), pie.bottom()));
    // The missing quarter, drawn out of the pie and empty.
    p.setPen(QPen(QColor(255, 255, 200), 1.5, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawPie(pie.translated(5, -5), 0, 90 * 16);
  }
};

// A five-pointed star centred on c with outer radius r.
QPainterPath Star(QPointF c, double r) {
  QPainterPath path;
  for (int i = 0; i < 10; ++i) {
    const double rad = (i % 2 == 0) ? r : r * 0.42;
    const double a = -M_PI / 2 + i * M_PI / 5;
    QPointF pt(c.x() + rad * std::cos(a), c.y() + rad * std::sin(a));
    if (i == 0)
      path.moveTo(pt);
    else
      path.lineTo(pt);
  }
  path.closeSubpath();
  return path;
}

// Seven stars in the shape of a ladle on a night sky, joined by faint lines.
class SevenStarsPicture : public QWidget {
 public:
  explicit SevenStarsPicture(QWidget* parent) : QWidget(parent) { setFixedSize(150, 64); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(NIGHT);
    p.drawRoundedRect(rect(), 8, 8);
    const QPointF stars[7] = {{18, 22}, {40, 16}, {60, 22}, {80, 30}, {100, 42}, {128, 48}, {124, 20}};
    p.setPen(QPen(QColor(120, 140, 200), 1));
    for (int i = 0; i + 1 < 6; ++i) p.drawLine(stars[i], stars[i + 1]);
    p.drawLine(stars[5], stars[6]);
    p.drawLine(stars[6], stars[4]);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 230, 90));
    for (const QPointF& s : stars) p.drawPath(Star(s, 6));
    // A few small dots for the rest of the sky.
    p.setBrush(QColor(200, 210, 255));
    for (QPointF d : {QPointF(10, 50), QPointF(52, 52), QPointF(88, 10), QPointF(142, 8), QPointF(30, 40)})
      p.drawEllipse(d, 1, 1);
  }
};

// The coloured band behind the title.
class TitleBand : public QWidget {
 public:
  explicit TitleBand(QWidget* parent) : QWidget(parent) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    QLinearGradient g(0, 0, width(), 0);
    g.setColorAt(0, BAND);
    g.setColorAt(1, BAND.lighter(150));
    p.fillRect(rect(), g);
  }
};

}  // namespace

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent) {
  setWindowTitle(U(Text("title")));
  setModal(true);
  QFont f;
  f.setFamilies(QtCanvas::FamiliesFor("ＭＳ ゴシック"));
  f.setPixelSize(12);
  setFont(f);

  auto* layout = new QVBoxLayout(this);

  auto* band = new TitleBand(this);
  auto* bandLayout = new QHBoxLayout(band);
  bandLayout->addWidget(new FractionPicture(band));
  auto* titles = new QVBoxLayout;
  titles->setSpacing(2);
  titles->addWidget(Label(Text("version"), band, QColor(255, 255, 200), 12, false));
  titles->addWidget(Label(Text("name"), band, Qt::white, 20, true));
  titles->addWidget(Label(Text("sub"), band, QColor(255, 255, 160), 14, true));
  bandLayout->addLayout(titles);
  bandLayout->addStretch();
  layout->addWidget(band);

  auto* maker = new QHBoxLayout;
  maker->addStretch();
  auto* makerColumn = new QVBoxLayout;
  makerColumn->addWidget(new SevenStarsPicture(this), 0, Qt::AlignHCenter);
  makerColumn->addWidget(Label(Text("maker"), this, NIGHT, 14, true), 0, Qt::AlignHCenter);
  maker->addLayout(makerColumn);
  maker->addStretch();
  layout->addLayout(maker);

  ok_ = new QPushButton(U(Text("ok")), this);
  ok_->setDefault(true);
  ok_->setMinimumWidth(90);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(ok_, 0, Qt::AlignHCenter);

  setFixedSize(300, sizeHint().height());
}

void TAboutForm::PlaceBeside(const QWidget* screen) {
  if (!screen) return;
  const QRect g = screen->frameGeometry();
  move(g.left() + 200, g.top() + 100);
}

void ShowAboutBox(QWidget* parent) {
  TAboutForm box(parent);
  box.PlaceBeside(parent);
  box.exec();
}

void InstallAboutCommand() {
  SetScreenCommand(ScreenCommand::VersionBox, [] {
    ShowAboutBox(TheQtPlatform().Owner());
    return true;
  });
}
