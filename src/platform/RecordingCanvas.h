// A drawing surface that draws nothing: it records every drawing operation with the font, pen and brush
// in force, and measures text with a fixed cell, so that tests assert the exact geometry of a drawing
// without depending on installed fonts.
//
// The cell metric: at font size 14 a cell is 10 pixels wide and 20 high; at other sizes both scale by
// size / 14, truncated towards zero and never below 1 (size 7 → 5 × 10, size 21 → 15 × 30). A text is as
// wide as its Shift_JIS byte count in cells (a full-width character takes two cells, ASCII and half-width
// katakana one), bold or not, whatever the face; its height is one cell height, even for "".
// So at size 14, TextWidth("1234567890") is 100 and the program's CharWidth / CharHeight are 10 / 20.
#pragma once

#include <string>
#include <vector>

#include "platform/Canvas.h"

struct CanvasOp {
  enum class Kind { Text, Move, Line, Fill };
  Kind kind = Kind::Text;
  // Text: top-left corner of the text's cells; Line: the start (PenPos before the line); Fill: left and
  // top; Move: the point moved to.
  int x = 0, y = 0;
  // Text: bottom-right corner of the cells (x + width, y + height); Line: the end point, where PenPos
  // goes; Fill: right and bottom; Move: equal to x, y.
  int x2 = 0, y2 = 0;
  std::string text;  // Text only

  // Attributes in force when the operation ran.
  std::string fontName;
  int fontSize = 0;
  Color fontColor;
  bool bold = false;
  FontPitch pitch = FontPitch::Default;
  Color penColor;
  int penWidth = 1;
  Color brushColor;

  // One line that names the operation and the attributes that matter for it, e.g.
  //   text (20,40)-(30,60) "1" size 14 color ff0000 brush fffbf0
  //   line (5,10)-(25,10) pen 008080 width 2
  //   fill (0,0)-(100,20) brush fffbf0
  //   move (5,10)
  // Bold text adds " bold"; a face other than "ＭＳ ゴシック" adds " face <name>".
  std::string Describe() const;
};

class RecordingCanvas : public Canvas {
 public:
  RecordingCanvas();

  void TextOut(int x, int y, const std::string& text) override;
  int TextWidth(const std::string& text) override;
  int TextHeight(const std::string& text) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  CanvasPoint PenPos() const override { return penPos; }
  void FillRect(const CanvasRect& r) override;

  void SetFontName(const std::string& name) override { fontName = name; }
  std::string FontName() const override { return fontName; }
  void SetFontSize(int points) override { fontSize = points; }
  int FontSize() const override { return fontSize; }
  void SetFontColor(Color c) override { fontColor = c; }
  Color FontColor() const override { return fontColor; }
  void SetFontBold(bool b) override { bold = b; }
  bool FontBold() const override { return bold; }
  void SetFontPitch(FontPitch p) override { pitch = p; }
  FontPitch GetFontPitch() const override { return pitch; }

  void SetPenColor(Color c) override { penColor = c; }
  Color PenColor() const override { return penColor; }
  void SetPenWidth(int w) override { penWidth = w; }
  int PenWidth() const override { return penWidth; }
  void SetBrushColor(Color c) override { brushColor = c; }
  Color BrushColor() const override { return brushColor; }

  int PixelsPerInch() const override { return pixelsPerInch; }

  // Cell size at the current font size (see the header comment).
  int CellWidth() const;
  int CellHeight() const;

  // Forgets the recorded operations; attributes and PenPos stay.
  void ClearOps() { ops.clear(); }
  // The recorded operations of one kind, in order.
  std::vector<CanvasOp> OpsOf(CanvasOp::Kind kind) const;
  // The texts drawn, in order.
  std::vector<std::string> Texts() const;
  // Describe() of every recorded operation (Move included only when withMoves), in order.
  std::vector<std::string> Describe(bool withMoves = false) const;

  std::vector<CanvasOp> ops;
  int pixelsPerInch = 96;  // tests may set another resolution

 private:
  CanvasOp Stamp(CanvasOp::Kind kind) const;

  std::string fontName = "ＭＳ ゴシック";
  int fontSize = 14;
  Color fontColor = CLR_BLACK;
  bool bold = false;
  FontPitch pitch = FontPitch::Default;
  Color penColor = CLR_BLACK;
  int penWidth = 1;
  Color brushColor = CLR_WHITE;
  CanvasPoint penPos;
};
