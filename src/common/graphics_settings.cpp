// Defaults of the graphics-window settings records; see graphics_settings.h.
#include "common/graphics_settings.h"

namespace common {

TScreenGraphicsSettings ScreenGraphicsSettings = [] {
  TScreenGraphicsSettings s;
  s.ColorTable = DefaultColorTable();
  return s;
}();
TPrinterGraphicsSettings PrinterGraphicsSettings;

RangeArray<ColourValue, 0, 16> DefaultColorTable() {
  static constexpr int rgb[17][3] = {
      {0, 0, 0},     {0, 0, 128},     {0, 255, 0},     {0, 255, 255}, {255, 0, 0},   {128, 0, 128},
      {128, 0, 0},   {192, 192, 192}, {176, 176, 176}, {0, 0, 255},   {0, 255, 0},   {0, 255, 255},
      {255, 0, 0},   {255, 0, 255},   {255, 255, 0},   {255, 255, 255}, {0, 0, 0}};
  RangeArray<ColourValue, 0, 16> table;
  for (int i = 0; i <= 16; ++i) table[i] = RgbColour(rgb[i][0], rgb[i][1], rgb[i][2]);
  return table;
}

void InitScreenGraphicsSettings() {
  ScreenGraphicsSettings = TScreenGraphicsSettings{};
  ScreenGraphicsSettings.ColorTable = DefaultColorTable();
}

void InitPrinterGraphicsSettings() { PrinterGraphicsSettings = TPrinterGraphicsSettings{}; }

}  // namespace common
