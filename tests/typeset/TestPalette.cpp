// The colour-blind-safe palette checked by simulation: each role colour is seen as a pupil with
// protanopia, deuteranopia or tritanopia sees it (Machado, Oliveira and Fernandes' matrices at full
// severity, on linear RGB), and the pairs that must be told apart stay at least a clear CIELAB distance
// apart, on the cream page too. The standard colours fail this for operators against powers.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "engine/Settings.h"
#include "typeset/Palette.h"

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

const std::pair<const char*, Matrix> VISIONS[] = {
    {"normal", {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}},
    {"protanopia",
     {{{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}}}},
    {"deuteranopia",
     {{{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}}}},
    {"tritanopia",
     {{{1.255528, -0.076749, -0.178779}, {-0.078411, 0.930809, 0.147602}, {0.004733, 0.691367, 0.303900}}}},
};

double Linear(int v) {
  double c = v / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

std::array<double, 3> SeenLab(Color c, const Matrix& m) {
  const double in[3] = {Linear(c.Red()), Linear(c.Green()), Linear(c.Blue())};
  double l[3];
  for (int i = 0; i < 3; ++i)
    l[i] = std::clamp(m[i][0] * in[0] + m[i][1] * in[1] + m[i][2] * in[2], 0.0, 1.0);
  const double x = (0.4124 * l[0] + 0.3576 * l[1] + 0.1805 * l[2]) / 0.95047;
  const double y = 0.2126 * l[0] + 0.7152 * l[1] + 0.0722 * l[2];
  const double z = (0.0193 * l[0] + 0.1192 * l[1] + 0.9505 * l[2]) / 1.08883;
  auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116.0; };
  return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

double SeenDistance(Color a, Color b, const Matrix& m) {
  auto p = SeenLab(a, m), q = SeenLab(b, m);
  return std::hypot(p[0] - q[0], p[1] - q[1], p[2] - q[2]);
}

// Thin glyphs at 0.7 of the text size need far more than a just-noticeable difference.
constexpr double APART = 40;

struct Pair {
  const char* what;
  Color a, b;
};

// The pairs whose difference carries meaning on the line, and each against the page.
const Pair MUST_DIFFER[] = {
    {"operators / powers", CLR_RED, CLR_MAROON},
    {"operators / bars", CLR_RED, CLR_TEAL},
    {"powers / bars", CLR_MAROON, CLR_TEAL},
    {"operators / equals and brackets", CLR_RED, CLR_BLUE},
    {"operators and answer label / page", CLR_RED, CLR_CREAM},
    {"powers / page", CLR_MAROON, CLR_CREAM},
    {"bars / page", CLR_TEAL, CLR_CREAM},
    {"equals / page", CLR_BLUE, CLR_CREAM},
};

TEST(Palette, SafeColoursStayApartForEveryColourVision) {
  for (const auto& [vision, m] : VISIONS)
    for (const auto& p : MUST_DIFFER)
      EXPECT_GE(SeenDistance(SafeColour(p.a), SafeColour(p.b), m), APART) << p.what << " under " << vision;
}

TEST(Palette, StandardColoursFailForOperatorsAgainstPowers) {
  // Why the setting exists: red and maroon differ only in lightness for a protanope.
  EXPECT_LT(SeenDistance(CLR_RED, CLR_MAROON, VISIONS[1].second), APART);
}

TEST(Palette, TheSettingChoosesThePalette) {
  ResetSettings();
  EXPECT_EQ(ShownColour(CLR_MAROON), CLR_MAROON);
  IROSAFE = 1;
  EXPECT_EQ(ShownColour(CLR_MAROON), SafeColour(CLR_MAROON));
  EXPECT_NE(ShownColour(CLR_MAROON), CLR_MAROON);
  // Black digits and the cream page are the same in both.
  EXPECT_EQ(ShownColour(CLR_BLACK), CLR_BLACK);
  EXPECT_EQ(ShownColour(CLR_CREAM), CLR_CREAM);
  ResetSettings();
}

}  // namespace
