// The QR code of a text (an assignment's link) as a matrix of dark and light modules, made by the
// maintained QR library the system provides, and drawn on any surface as black squares on white with the
// quiet zone a reader needs around it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Canvas.h"

// Modules of light margin on each side of the code.
inline constexpr int QR_QUIET_ZONE = 4;

struct QrMatrix {
  int size = 0;  // modules on a side; 0 when the text could not be encoded
  int version = 0;  // 1 … 40
  std::vector<uint8_t> dark;  // size × size, row by row; 1 for a dark module

  bool Empty() const { return size == 0; }
  // Whether the module at column x, row y is dark; false outside the matrix.
  bool Dark(int x, int y) const;
};

// The code of text (UTF-8, taken byte for byte) at the medium error correction level, in the smallest
// version that holds it. An empty matrix when the text is too long for any version.
QrMatrix MakeQrMatrix(const std::string& text);

// The side of the drawn code, quiet zone included, with modules of module pixels.
int QrDrawnSide(const QrMatrix& m, int module);

// Draws the code with its top left corner (of the quiet zone) at x, y: the whole square white, then
// each dark module as a black square of module pixels. The surface's brush colour is left as it was.
void DrawQrMatrix(Canvas& surface, const QrMatrix& m, int x, int y, int module);
