// The drawing surface over a QPainter: the calculation screen, the notebook, an image or a printer page.
// It keeps the font, pen, brush and pen position between paints, so the window sets the font once and
// the typesetter measures at any time; drawing needs a painter, attached with Begin for one paint.
//
// Faces: the settings name "ＭＳ ゴシック", which this system does not have; the font is asked for with a
// list of families, the named face first and then installed fixed-pitch Japanese gothic faces, so that
// digits never fall back to a proportional face. FontName() still answers the name that was set.
#pragma once

#include <QFont>
#include <QStringList>

#include "platform/Canvas.h"

class QPaintDevice;
class QPainter;

class QtCanvas : public Canvas {
 public:
  // device is used for measuring and for its resolution until a painter is attached; it may be null
  // (then the screen's metrics are used).
  explicit QtCanvas(QPaintDevice* device = nullptr);

  void SetDevice(QPaintDevice* device) { device_ = device; }
  QPaintDevice* Device() const { return device_; }
  // Draws through painter (not owned) until End; its device becomes the measuring device, so a printer
  // page is measured with the printer's metrics.
  void Begin(QPainter* painter);
  void End();
  QPainter* Painter() const { return painter_; }

  void TextOut(int x, int y, const std::string& text) override;
  int TextWidth(const std::string& text) override;
  int TextHeight(const std::string& text) override;
  void MoveTo(int x, int y) override { penPos_ = {x, y}; }
  void LineTo(int x, int y) override;
  CanvasPoint PenPos() const override { return penPos_; }
  void FillRect(const CanvasRect& r) override;

  void SetFontName(const std::string& name) override { fontName_ = name; }
  std::string FontName() const override { return fontName_; }
  void SetFontSize(int points) override { fontSize_ = points; }
  int FontSize() const override { return fontSize_; }
  void SetFontColor(Color c) override { fontColor_ = c; }
  Color FontColor() const override { return fontColor_; }
  void SetFontBold(bool bold) override { bold_ = bold; }
  bool FontBold() const override { return bold_; }
  void SetFontPitch(FontPitch p) override { pitch_ = p; }
  FontPitch GetFontPitch() const override { return pitch_; }

  void SetPenColor(Color c) override { penColor_ = c; }
  Color PenColor() const override { return penColor_; }
  void SetPenWidth(int w) override { penWidth_ = w; }
  int PenWidth() const override { return penWidth_; }
  void SetBrushColor(Color c) override { brushColor_ = c; }
  Color BrushColor() const override { return brushColor_; }

  int PixelsPerInch() const override;

  // The QFont the current attributes stand for, in points (for the font dialog), and taking one back.
  QFont CurrentFont() const;
  void SetFromFont(const QFont& f);

  // The families asked for when the settings name face.
  static QStringList FamiliesFor(const std::string& face);
  // base with a proportional Japanese face that has Latin letters and digits too, for the texts of a
  // window's widgets. Qt draws each run of one script in one face and counts digits and spaces into the
  // run before them, so with a Latin-only face first the digits after Japanese words ("コード 16DZ…")
  // would come from the Japanese fallback face, smaller and higher than the letters beside them.
  static QFont WindowFont(const QFont& base);

 private:
  QPaintDevice* MeasuringDevice() const;
  // The font text is measured and drawn with: CurrentFont at a whole even pixel size of the device.
  QFont DrawingFont() const;
  // DrawingFont without bold: every text is measured with it.
  QFont MeasuringFont() const;

  QPaintDevice* device_ = nullptr;
  QPainter* painter_ = nullptr;
  std::string fontName_ = "ＭＳ ゴシック";
  int fontSize_ = 14;
  Color fontColor_ = CLR_BLACK;
  bool bold_ = false;
  FontPitch pitch_ = FontPitch::Default;
  Color penColor_ = CLR_BLACK;
  int penWidth_ = 1;
  Color brushColor_ = CLR_WHITE;
  CanvasPoint penPos_;
};
