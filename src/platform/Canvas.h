// The drawing surface every expression is drawn on: text cells, lines and filled rectangles with a font,
// a pen and a brush. The typesetter is written only against this, so the same code draws on the screen,
// on an image and on a printer page (QtCanvas), or into a record for tests (RecordingCanvas).
#pragma once

#include <cstdint>
#include <string>

// A 24-bit colour, 0xRRGGBB.
struct Color {
  uint32_t rgb = 0;
  constexpr Color() = default;
  constexpr explicit Color(uint32_t v) : rgb(v) {}
  constexpr Color(int r, int g, int b)
      : rgb((static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) | static_cast<uint32_t>(b)) {}
  constexpr int Red() const { return static_cast<int>((rgb >> 16) & 0xFF); }
  constexpr int Green() const { return static_cast<int>((rgb >> 8) & 0xFF); }
  constexpr int Blue() const { return static_cast<int>(rgb & 0xFF); }
  constexpr bool operator==(const Color&) const = default;
};

// Colours by role.
inline constexpr Color CLR_BLACK{0, 0, 0};  // digits, plain text
inline constexpr Color CLR_RED{255, 0, 0};  // operators, signs, answer label
inline constexpr Color CLR_MAROON{128, 0, 0};  // "!", "P", "C", ":", exponents
inline constexpr Color CLR_BLUE{0, 0, 255};  // "=", parentheses, relations, cursor
inline constexpr Color CLR_NAVY{0, 0, 128};  // unknowns in plain text runs
inline constexpr Color CLR_PURPLE{128, 0, 128};  // "[" of an expression fraction being typed
inline constexpr Color CLR_MAGENTA{255, 0, 255};  // cursor in a repeating part, long-form brackets
inline constexpr Color CLR_GREEN{0, 128, 0};  // "【割り切れました】"
inline constexpr Color CLR_TEAL{0, 128, 128};  // every bar and line
inline constexpr Color CLR_CREAM{255, 251, 240};  // page of the calculation screen
inline constexpr Color CLR_WHITE{255, 255, 255};
inline constexpr Color CLR_HOTTRACK{0, 102, 204};  // unknowns drawn as separate tokens

enum class FontPitch { Default, Fixed, Variable };

struct CanvasPoint {
  int x = 0;
  int y = 0;
  bool operator==(const CanvasPoint&) const = default;
};

struct CanvasRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const CanvasRect&) const = default;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  // Draws text with the top-left of its cell at (x, y), cells filled with the brush colour; PenPos
  // becomes (x + TextWidth(text), y).
  virtual void TextOut(int x, int y, const std::string& text) = 0;
  virtual int TextWidth(const std::string& text) = 0;
  virtual int TextHeight(const std::string& text) = 0;
  virtual void MoveTo(int x, int y) = 0;
  // A line in the pen's colour and width from PenPos to (x, y); PenPos moves there.
  virtual void LineTo(int x, int y) = 0;
  virtual CanvasPoint PenPos() const = 0;
  virtual void FillRect(const CanvasRect& r) = 0;

  virtual void SetFontName(const std::string& name) = 0;
  virtual std::string FontName() const = 0;
  virtual void SetFontSize(int points) = 0;
  virtual int FontSize() const = 0;
  virtual void SetFontColor(Color c) = 0;
  virtual Color FontColor() const = 0;
  virtual void SetFontBold(bool bold) = 0;
  virtual bool FontBold() const = 0;
  virtual void SetFontPitch(FontPitch p) = 0;
  virtual FontPitch GetFontPitch() const = 0;

  virtual void SetPenColor(Color c) = 0;
  virtual Color PenColor() const = 0;
  virtual void SetPenWidth(int w) = 0;
  virtual int PenWidth() const = 0;
  virtual void SetBrushColor(Color c) = 0;
  virtual Color BrushColor() const = 0;

  // Resolution of the device in pixels per inch.
  virtual int PixelsPerInch() const = 0;
};
