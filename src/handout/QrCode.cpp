// The QR code of a text through the system's QR library, and its drawing on a surface.
#include "handout/QrCode.h"

#include <algorithm>
#include <exception>
#include <qrcodegen/qrcodegen.hpp>

bool QrMatrix::Dark(int x, int y) const {
  if (x < 0 || y < 0 || x >= size || y >= size) return false;
  return dark[static_cast<size_t>(y) * static_cast<size_t>(size) + static_cast<size_t>(x)] != 0;
}

QrMatrix MakeQrMatrix(const std::string& text) {
  QrMatrix m;
  try {
    const std::vector<uint8_t> bytes(text.begin(), text.end());
    const qrcodegen::QrCode code = qrcodegen::QrCode::encodeBinary(bytes, qrcodegen::QrCode::Ecc::MEDIUM);
    m.size = code.getSize();
    m.version = code.getVersion();
    m.dark.assign(static_cast<size_t>(m.size) * static_cast<size_t>(m.size), 0);
    for (int y = 0; y < m.size; ++y)
      for (int x = 0; x < m.size; ++x)
        m.dark[static_cast<size_t>(y) * static_cast<size_t>(m.size) + static_cast<size_t>(x)] =
            code.getModule(x, y) ? 1 : 0;
  } catch (const std::exception&) {
    // The library refuses a text longer than the largest version holds.
    m = QrMatrix{};
  }
  return m;
}

int QrDrawnSide(const QrMatrix& m, int module) {
  if (m.Empty()) return 0;
  return (m.size + 2 * QR_QUIET_ZONE) * std::max(1, module);
}

void DrawQrMatrix(Canvas& s, const QrMatrix& m, int x, int y, int module) {
  if (m.Empty()) return;
  module = std::max(1, module);
  const Color brush = s.BrushColor();
  const int side = QrDrawnSide(m, module);
  s.SetBrushColor(CLR_WHITE);
  s.FillRect({x, y, x + side, y + side});
  s.SetBrushColor(CLR_BLACK);
  const int left = x + QR_QUIET_ZONE * module, top = y + QR_QUIET_ZONE * module;
  for (int r = 0; r < m.size; ++r) {
    // A run of dark modules in a row is one rectangle.
    for (int c = 0; c < m.size;) {
      if (!m.Dark(c, r)) {
        ++c;
        continue;
      }
      int end = c;
      while (end < m.size && m.Dark(end, r)) ++end;
      s.FillRect({left + c * module, top + r * module, left + end * module, top + (r + 1) * module});
      c = end;
    }
  }
  s.SetBrushColor(brush);
}
