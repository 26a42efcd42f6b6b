// The Qt drawing surface: text cells, lines and rectangles on a QPainter with the font list of the program.
#include "ui/QtCanvas.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QScreen>
#include <algorithm>

#include "typeset/Palette.h"

namespace {

// Role colours pass through the palette setting on their way to the painter.
QColor ToQColor(Color role) {
  const Color c = ShownColour(role);
  return QColor(c.Red(), c.Green(), c.Blue());
}

}  // namespace

QtCanvas::QtCanvas(QPaintDevice* device) : device_(device) {}

void QtCanvas::Begin(QPainter* painter) {
  painter_ = painter;
  if (painter_ && painter_->device()) device_ = painter_->device();
}

void QtCanvas::End() { painter_ = nullptr; }

QPaintDevice* QtCanvas::MeasuringDevice() const {
  if (painter_ && painter_->device()) return painter_->device();
  return device_;
}

QStringList QtCanvas::FamiliesFor(const std::string& face) {
  // fontconfig answers a proportional Latin face for "ＭＳ ゴシック"; the list keeps the digits fixed-pitch
  // and the Japanese characters in a gothic face.
  QStringList families;
  if (!face.empty()) families << QString::fromStdString(face);
  for (const char* f : {"IPAGothic", "VL Gothic", "Noto Sans Mono CJK JP"})
    if (!families.contains(QString::fromLatin1(f))) families << QString::fromLatin1(f);
  return families;
}

QFont QtCanvas::WindowFont(const QFont& base) {
  QFont f = base;
  QStringList families;
  for (const char* face : {"IPAPGothic", "VL PGothic", "Noto Sans CJK JP", "IPAGothic"})
    families << QString::fromLatin1(face);
  families << base.families() << base.family();
  f.setFamilies(families);
  return f;
}

QFont QtCanvas::CurrentFont() const {
  QFont f;
  f.setFamilies(FamiliesFor(fontName_));
  // Qt refuses sizes below one point; the stored size stays as it was set.
  f.setPointSize(std::max(1, fontSize_));
  f.setBold(bold_);
  if (pitch_ == FontPitch::Fixed) {
    f.setFixedPitch(true);
    f.setStyleHint(QFont::TypeWriter);
  } else if (pitch_ == FontPitch::Variable) {
    f.setFixedPitch(false);
  }
  return f;
}

QFont QtCanvas::DrawingFont() const {
  // The layout counts a full-width character as two cells of TextWidth("1234567890") / 10. A dual-width
  // face keeps that ratio only at an even pixel size with whole-pixel advances, so the point size is
  // mapped to the nearest even pixel size on the device and the glyphs are fully hinted.
  QFont f = CurrentFont();
  double px = std::max(1, fontSize_) * PixelsPerInch() / 72.0;
  f.setPixelSize(std::max(2, static_cast<int>(px / 2.0 + 0.5) * 2));
  f.setHintingPreference(QFont::PreferFullHinting);
  return f;
}

QFont QtCanvas::MeasuringFont() const {
  // Bold faces here are mostly synthesised, and emboldening widens each glyph's advance by a pixel,
  // which would break the cell grid; bold text is measured as regular text and drawn on its cells.
  QFont f = DrawingFont();
  f.setBold(false);
  return f;
}

void QtCanvas::SetFromFont(const QFont& f) {
  QStringList families = f.families();
  QString face = families.isEmpty() ? f.family() : families.first();
  fontName_ = face.toStdString();
  if (f.pointSize() > 0) fontSize_ = f.pointSize();
  bold_ = f.bold();
}

int QtCanvas::TextWidth(const std::string& text) {
  QFontMetrics fm(MeasuringFont(), MeasuringDevice());
  return fm.horizontalAdvance(QString::fromStdString(text));
}

int QtCanvas::TextHeight(const std::string& text) {
  QFontMetrics fm(MeasuringFont(), MeasuringDevice());
  (void)text;  // every text of one font is one line high
  return fm.height();
}

void QtCanvas::TextOut(int x, int y, const std::string& text) {
  QFontMetrics fm(MeasuringFont(), MeasuringDevice());
  QString s = QString::fromStdString(text);
  int w = fm.horizontalAdvance(s);
  if (painter_ && !s.isEmpty()) {
    painter_->save();
    painter_->fillRect(QRect(x, y, w, fm.height()), ToQColor(brushColor_));
    painter_->setPen(ToQColor(fontColor_));
    const int baseline = y + fm.ascent();
    if (!bold_) {
      painter_->setFont(MeasuringFont());
      painter_->drawText(QPoint(x, baseline), s);
    } else {
      // Each character at the place the regular text would give it.
      painter_->setFont(DrawingFont());
      for (qsizetype i = 0; i < s.size();) {
        qsizetype len = (s.at(i).isHighSurrogate() && i + 1 < s.size()) ? 2 : 1;
        painter_->drawText(QPoint(x + fm.horizontalAdvance(s.left(i)), baseline), s.mid(i, len));
        i += len;
      }
    }
    // Fully hinted, the gothic faces' low line shrinks to nothing or to a faint grey at most screen
    // sizes (the mouth of "(^_^)" vanished): every "_" gets a solid stroke of its own, where the font
    // puts an underline, one pixel in from either side of its cell so that neighbours stay apart.
    if (s.contains(QLatin1Char('_'))) {
      const int stroke = std::max(1, fm.lineWidth());
      const int top = std::min(baseline + std::max(1, fm.underlinePos()), y + fm.height() - stroke);
      const int cell = fm.horizontalAdvance(QLatin1Char('_'));
      for (qsizetype i = s.indexOf(QLatin1Char('_')); i >= 0; i = s.indexOf(QLatin1Char('_'), i + 1)) {
        const int left = x + fm.horizontalAdvance(s.left(i));
        painter_->fillRect(QRect(left + 1, top, std::max(1, cell - 2), stroke), ToQColor(fontColor_));
      }
    }
    // The circumflex fares no better: hinted at screen sizes it flattens into a bar, and the eyes of
    // "(^_^)" look shut. Each "^" is drawn pixel by pixel as a peak over its cell: the top at the middle
    // column (the two middle columns of an even width), one pixel lower at each column out, one pixel in
    // from either side of the cell when the cell is wide enough to spare them.
    if (s.contains(QLatin1Char('^'))) {
      const int stroke = std::max(1, fm.lineWidth());
      const int thick = stroke > 1 ? stroke + stroke / 2 : 1;  // a sloping stroke as thick as an upright one
      const int cell = fm.horizontalAdvance(QLatin1Char('^'));
      const int margin = cell >= 6 ? 1 : 0;
      const int width = std::max(1, cell - 2 * margin);
      const int fall = (width - 1) / 2;  // from the top to the outermost column
      const int peak = std::max(y, baseline - std::max(fall + thick + 1, static_cast<int>(fm.capHeight())));
      for (qsizetype i = s.indexOf(QLatin1Char('^')); i >= 0; i = s.indexOf(QLatin1Char('^'), i + 1)) {
        const int left = x + fm.horizontalAdvance(s.left(i));
        // The font's own glyph is covered first.
        painter_->fillRect(QRect(left, y, cell, baseline - y), ToQColor(brushColor_));
        for (int c = 0; c < width; ++c) {
          const int out = std::max(width / 2 - c - (width % 2 == 0 ? 1 : 0), c - width / 2);
          painter_->fillRect(QRect(left + margin + c, peak + out, 1, thick), ToQColor(fontColor_));
        }
      }
    }
    painter_->restore();
  }
  penPos_ = {x + w, y};
}

void QtCanvas::LineTo(int x, int y) {
  if (painter_) {
    painter_->save();
    painter_->setRenderHint(QPainter::Antialiasing, false);
    QPen pen(ToQColor(penColor_));
    pen.setWidth(std::max(1, penWidth_));
    pen.setCapStyle(Qt::FlatCap);
    painter_->setPen(pen);
    painter_->drawLine(QPoint(penPos_.x, penPos_.y), QPoint(x, y));
    painter_->restore();
  }
  penPos_ = {x, y};
}

void QtCanvas::FillRect(const CanvasRect& r) {
  if (!painter_) return;
  painter_->fillRect(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)), ToQColor(brushColor_));
}

int QtCanvas::PixelsPerInch() const {
  if (QPaintDevice* d = MeasuringDevice()) return d->logicalDpiY();
  if (QScreen* s = QGuiApplication::primaryScreen()) return static_cast<int>(s->logicalDotsPerInchY());
  return 96;
}
