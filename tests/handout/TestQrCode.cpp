// The QR code of an assignment's link: the matrix the QR library makes (its size follows its version, the
// finder patterns sit in three corners), a text too long for any version gives an empty matrix, the
// drawing puts a light quiet zone around black modules, and a reader decodes the drawn code back to the
// link (zbarimg, when it is installed).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "classroom/Assignment.h"
#include "handout/QrCode.h"
#include "platform/RecordingCanvas.h"

namespace {

const std::string LINK = std::string(ASSIGNMENT_DEFAULT_SITE) + ASSIGNMENT_LINK_KEY + "AB12CD34EF56GH78JK90MN";

// The matrix as a grey-scale picture (PGM), modules of scale pixels, with the quiet zone.
std::string Pgm(const QrMatrix& m, int scale) {
  const int side = (m.size + 2 * QR_QUIET_ZONE) * scale;
  std::string out = "P5\n" + std::to_string(side) + " " + std::to_string(side) + "\n255\n";
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x)
      out += static_cast<char>(m.Dark(x / scale - QR_QUIET_ZONE, y / scale - QR_QUIET_ZONE) ? 0 : 255);
  return out;
}

// What zbarimg reads from a picture file, or "" when it reads nothing.
std::string Decode(const std::string& path) {
  const std::string command = "zbarimg --quiet --raw '" + path + "' 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return "";
  std::string text;
  char buffer[512];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, n);
  pclose(pipe);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

bool HaveReader() { return std::system("command -v zbarimg >/dev/null 2>&1") == 0; }

}  // namespace

TEST(QrCode, TheMatrixHasTheSizeOfItsVersionAndThreeFinderPatterns) {
  const QrMatrix m = MakeQrMatrix(LINK);
  ASSERT_FALSE(m.Empty());
  EXPECT_GE(m.version, 1);
  EXPECT_EQ(m.size, 17 + 4 * m.version);
  EXPECT_EQ(m.dark.size(), static_cast<size_t>(m.size) * static_cast<size_t>(m.size));
  // A finder pattern: a dark 7 × 7 ring around a light ring around a dark 3 × 3 core.
  for (const auto& [cx, cy] : {std::pair{0, 0}, std::pair{m.size - 7, 0}, std::pair{0, m.size - 7}}) {
    for (int i = 0; i < 7; ++i) {
      EXPECT_TRUE(m.Dark(cx + i, cy)) << cx << "," << cy;
      EXPECT_TRUE(m.Dark(cx, cy + i)) << cx << "," << cy;
    }
    EXPECT_FALSE(m.Dark(cx + 1, cy + 1));
    EXPECT_TRUE(m.Dark(cx + 3, cy + 3));
  }
  // Outside the matrix every module is light.
  EXPECT_FALSE(m.Dark(-1, 0));
  EXPECT_FALSE(m.Dark(0, m.size));
}

TEST(QrCode, ALongerTextTakesALargerVersionAndTooLongATextNone) {
  const QrMatrix shortCode = MakeQrMatrix(LINK);
  // The longest link there can be: a site of 200 characters and a code of 200.
  const QrMatrix longest = MakeQrMatrix("https://" + std::string(192, 'a') + ASSIGNMENT_LINK_KEY + std::string(200, 'B'));
  ASSERT_FALSE(longest.Empty());
  EXPECT_GT(longest.version, shortCode.version);
  EXPECT_TRUE(MakeQrMatrix(std::string(3000, 'x')).Empty());
  EXPECT_TRUE(MakeQrMatrix(std::string(3000, 'x')).dark.empty());
}

TEST(QrCode, TheDrawingIsBlackModulesInsideAWhiteSquare) {
  const QrMatrix m = MakeQrMatrix(LINK);
  RecordingCanvas c;
  c.SetBrushColor(CLR_CREAM);
  DrawQrMatrix(c, m, 10, 20, 3);
  const int side = QrDrawnSide(m, 3);
  EXPECT_EQ(side, (m.size + 2 * QR_QUIET_ZONE) * 3);
  ASSERT_FALSE(c.ops.empty());
  int dark = 0;
  bool first = true;
  for (const CanvasOp& op : c.ops) {
    if (op.kind != CanvasOp::Kind::Fill) continue;
    if (first) {
      // The white square under the whole code, quiet zone included.
      EXPECT_EQ(op.brushColor, CLR_WHITE);
      EXPECT_EQ(op.x, 10);
      EXPECT_EQ(op.y, 20);
      EXPECT_EQ(op.x2, 10 + side);
      EXPECT_EQ(op.y2, 20 + side);
      first = false;
      continue;
    }
    EXPECT_EQ(op.brushColor, CLR_BLACK);
    // Every dark module lies inside the quiet zone's margin.
    EXPECT_GE(op.x, 10 + QR_QUIET_ZONE * 3);
    EXPECT_LE(op.x2, 10 + side - QR_QUIET_ZONE * 3);
    dark += (op.x2 - op.x) / 3;
  }
  int expected = 0;
  for (const uint8_t d : m.dark) expected += d;
  EXPECT_EQ(dark, expected);
  EXPECT_EQ(c.BrushColor(), CLR_CREAM);
}

TEST(QrCode, AReaderDecodesTheLink) {
  if (!HaveReader()) GTEST_SKIP() << "zbarimg is not installed (scripts/install-deps.sh installs it)";
  const auto dir = std::filesystem::temp_directory_path() / ("kazoru-qr-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  for (const std::string& text : {LINK, std::string("https://www.example.ed.jp/kazoru/") + ASSIGNMENT_LINK_KEY +
                                            std::string(180, 'Q')}) {
    const QrMatrix m = MakeQrMatrix(text);
    ASSERT_FALSE(m.Empty());
    const std::string path = (dir / "code.pgm").string();
    std::ofstream(path, std::ios::binary) << Pgm(m, 4);
    EXPECT_EQ(Decode(path), text);
  }
  std::filesystem::remove_all(dir);
}
