// The two settings records of the graphics window: screen graphics (zoom
// and pan steps, the zoom rectangle, text font and factors, the colour
// table) and printer graphics (print scales and margins, the text window,
// the printout font). Both are stored in the configuration file
// (config_file.cpp); the graphics window and the printout configuration
// read and change them.
#pragma once

#include <cstdint>
#include <string>

#include "common/range_array.h"
#include "common/real.h"

namespace common {

// A colour as the Windows colour value: 0x00BBGGRR.
using ColourValue = std::uint32_t;
constexpr ColourValue RgbColour(int r, int g, int b) {
  return static_cast<ColourValue>(r) | (static_cast<ColourValue>(g) << 8) | (static_cast<ColourValue>(b) << 16);
}

struct TScreenGraphicsSettings {
  Real ZoomIncrement = 1.02L;  // "zoom increment": factor of one zoom key step
  Real PanFactor = 0.02L;      // "pan faktor": fraction of the view moved by one arrow key
  std::int32_t ZoomLeft = 0, ZoomRight = 640, ZoomTop = 0, ZoomBottom = 480;  // viewport pixels
  Real ViewX1 = 0, ViewX2 = 1, ViewY1 = 0, ViewY2 = 1;  // world window shown in the zoom rectangle
  Real GraphXFactor = 1;            // "X-Factor for graphic extension"
  bool KeepAspect = true;           // isotropic scales while true
  ColourValue BackgroundColour = 1; // "background colour"
  Real AspectFactor = 1;            // x correction of rubber-band zooming
  std::string GraphTextFont = "Arial";  // "Text font Graphics"
  Real TextWidthFactor = 0.8L;      // "Textwidth/height Graphics"
  Real TextHeightFactor = 1;        // "Text Height Factor"
  // "Text Style Graphics": bit 0 bold, 1 italic, 2 underline, 3 strikeout.
  std::uint16_t TextStyleGraphics = 3;
  RangeArray<ColourValue, 0, 16> ColorTable;  // colour of each colour index

  bool operator==(const TScreenGraphicsSettings&) const = default;
};

struct TextWindowRect {
  std::int32_t Left = 10, Top = 40, Width = 700, Height = 440;
  bool operator==(const TextWindowRect&) const = default;
};

struct TPrinterGraphicsSettings {
  double PrintFactorX = 1.0, PrintFactorY = 1.0;  // scale of the picture on the page
  std::int32_t PrintMarginLeft = 0, PrintMarginTop = 0;  // mm
  bool PrintBorder = false;     // border of the world window on the printer
  bool PrintDialogFlag = true;  // "Graphic Printout Dialog Box ?"
  TextWindowRect TextWindow;    // "Text window left/top/width/height"
  std::string TextFontPrintout = "Courier New";
  std::uint16_t TextSizePrintout = 10;
  std::uint16_t TextStylePrintout = 3;
  double ScreendumpScale = 1.0;     // "Windows Screendump Scale"
  double PrintScaleVertical = 1.0;  // "Print Scale Vertical"
  std::int32_t ScreendumpOriginX = 0, ScreendumpOriginY = 0;
  bool ScreendumpBorder = false;
  std::uint16_t PrinterOrientation = 2;  // 1 portrait, 2 landscape
  // The orientation of the printout dialog's print (1 portrait, 2 landscape),
  // proposed from the configured one or by the picture; kept for the run,
  // so that printing a sheet leaves the configured orientation alone.
  std::uint16_t PrintOrientation = 2;
  // The record of the printout presets table loaded last (0 = none); kept
  // for the run, not in the configuration file.
  std::uint16_t PresetRecord = 0;

  bool operator==(const TPrinterGraphicsSettings&) const = default;
};

extern TScreenGraphicsSettings ScreenGraphicsSettings;
extern TPrinterGraphicsSettings PrinterGraphicsSettings;

// The 17 colours of the colour indexes 0..16 (9 blue, 10 green, 11 cyan,
// 12 red, 13 magenta, 14 yellow, 15 white).
RangeArray<ColourValue, 0, 16> DefaultColorTable();

// Every field to its default (unit start; the configuration read follows).
void InitScreenGraphicsSettings();
void InitPrinterGraphicsSettings();

}  // namespace common
