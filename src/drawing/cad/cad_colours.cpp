// Pen colours in DXF and IGES files; see cad_colours.h.
#include "drawing/cad/cad_colours.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "common/graphics_window.h"

namespace drawing {

namespace {

struct Rgb {
  int r = 0, g = 0, b = 0;
};

Rgb Split(common::ColourValue c) {
  return {static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF)};
}

long Distance(const Rgb& a, const Rgb& b) {
  const long dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
  return dr * dr + dg * dg + db * db;
}

// The colour of an AutoCAD colour index: 1..9 named, 10..249 24 hues in
// steps of 15 degrees, each in five shades, full and half saturated, and
// 250..255 greys.
Rgb AciColour(int n) {
  static constexpr std::array<Rgb, 10> named = {{{0, 0, 0},
                                                 {255, 0, 0},
                                                 {255, 255, 0},
                                                 {0, 255, 0},
                                                 {0, 255, 255},
                                                 {0, 0, 255},
                                                 {255, 0, 255},
                                                 {255, 255, 255},
                                                 {128, 128, 128},
                                                 {192, 192, 192}}};
  if (n < 10) return named[static_cast<std::size_t>(n)];
  if (n >= 250) {
    static constexpr std::array<int, 6> greys = {51, 91, 132, 173, 214, 255};
    const int v = greys[static_cast<std::size_t>(n - 250)];
    return {v, v, v};
  }
  static constexpr std::array<double, 5> shades = {1.0, 0.65, 0.5, 0.3, 0.15};
  const double hue = (n - 10) / 10 * 15.0;
  const int step = (n - 10) % 10;
  const double value = 255 * shades[static_cast<std::size_t>(step / 2)];
  // The hue's red, green and blue parts (HSV with full saturation).
  const auto part = [hue](double offset) {
    const double k = std::fmod(offset + hue / 60, 6.0);
    return 1 - std::clamp(std::min(k, 4 - k), 0.0, 1.0);
  };
  double rgb[3] = {part(5), part(3), part(1)};
  for (double& c : rgb) {
    c *= value;
    if (step % 2 == 1) c += (value - c) / 2;
  }
  return {static_cast<int>(rgb[0]), static_cast<int>(rgb[1]), static_cast<int>(rgb[2])};
}

bool IsWhite(const Rgb& c) { return c.r == 255 && c.g == 255 && c.b == 255; }
bool IsBlack(const Rgb& c) { return c.r == 0 && c.g == 0 && c.b == 0; }

}  // namespace

common::ColourValue ScreenColourOf(int colour) {
  const int index = std::clamp(common::DosColorToIndex(colour), 0, 16);
  return common::ScreenGraphicsSettings.ColorTable[index];
}

int DxfColourNumber(int colour) {
  const Rgb screen = Split(ScreenColourOf(colour));
  if (IsWhite(screen) || IsBlack(screen)) return 7;
  int best = 1;
  for (int n = 2; n <= 255; ++n)
    if (Distance(AciColour(n), screen) < Distance(AciColour(best), screen)) best = n;
  return best;
}

int IgesColourNumber(int colour) {
  static constexpr std::array<Rgb, 8> palette = {
      {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}, {255, 0, 255}, {0, 255, 255}, {255, 255, 255}}};
  const Rgb screen = Split(ScreenColourOf(colour));
  if (colour == 0 || IsWhite(screen)) return 0;
  std::size_t best = 0;
  for (std::size_t i = 1; i < palette.size(); ++i)
    if (Distance(palette[i], screen) < Distance(palette[best], screen)) best = i;
  return static_cast<int>(best) + 1;
}

}  // namespace drawing
