// The settings record that every drawing back end reads: layer names, pen
// colours and widths, CAD text font, plot command lines, decimals, scale,
// STL options and the drawing-frame options. It lives in the common library
// because the configuration file (config_file.cpp), a common service,
// stores it; the drawing subsystem uses it from here and keeps its drawing
// state and the output device choice itself.
#pragma once

#include <cstdint>
#include <string>

#include "common/range_array.h"
#include "common/real.h"

namespace common {

inline constexpr int MaxPlotCommandLines = 5;

// Indexes of the drawing-frame options (CadFrameOptions). The configuration
// dialog shows most of them inverted (box ticked = byte 0).
enum CadFrameOption : int {
  FrameOptMakerTitle = 1,
  FrameOptFileName = 2,
  FrameOptDate = 3,
  FrameOptLogo = 4,
  FrameOptFooter = 5,
  FrameOptDrawingHead = 6,
  FrameOptProtectionNotice = 7,
  FrameOptFieldStyle = 8,   // "abc123" field-label style
  FrameOptMmScale = 9,
  FrameOptChanges = 10,
  FrameOptHeadParts = 11,   // head parts 0/3/4
  FrameOptInsertParts = 12, // insert parts 0/3/4
};

struct TCadSettings {
  RangeArray<std::string, 0, 5> CadLayerNames;        // DXF layer names of pens 0..5
  RangeArray<std::int32_t, 0, 5> CadLayerColours;     // colour numbers of pens 0..5
  RangeArray<std::int32_t, 0, 5> CadLayerLineWidths;  // screen line widths of pens 0..5
  RangeArray<std::int32_t, 16, 31> CadPenColours;     // colour numbers of pens 16..31
  RangeArray<std::int32_t, 16, 31> CadPenWidths;      // screen widths of pens 16..31 (2..50 used)
  std::string CadTextFont;          // DXF STYLE table font
  Real CadTextWidthRatio = 1;       // multiplies every text width factor
  Real CadFontSlant = 0;            // oblique angle in degrees
  std::int32_t CadLineMode = 0;     // 0 named layers, 1 pen numbers, 2 monochrome screen
  std::uint8_t LayerMonochrome = 0; // every DXF layer gets colour 1
  std::uint16_t PlotCommandCount = 1;  // command lines in use (1..5)
  std::uint16_t PlotCommandIndex = 1;  // the one chosen last
  RangeArray<std::string, 1, MaxPlotCommandLines> PlotCommandLines;
  std::int32_t CadDecimals = 6;     // decimals of reals in DXF and text CAD files
  Real CadScaleSetting = 1;         // user scale factor
  Real CadScale = 1;                // current scale factor
  std::uint8_t CadOpenAfterOutput = 1;  // open the written file with its program
  std::uint8_t CadArcsToLines = 1;      // emulated polyline arcs as chords
  Real CadArcResolution = 0.1L;     // chord length for circles and arcs broken into lines
  std::int32_t CadStlType = 0;      // 0 binary, 1 ASCII STL
  RangeArray<Real, 1, 2> StlHeights;        // extrusion heights
  RangeArray<Real, 1, 6> CadDrawingArea;    // xmin, xmax, ymin, ymax, width, height
  std::string CadApprovalText;      // approval field of the title block
  RangeArray<std::uint8_t, 1, 12> CadFrameOptions;  // see CadFrameOption
  std::string CadFileName;          // current output file

  bool operator==(const TCadSettings&) const = default;
};

extern TCadSettings CadSettings;

// The default plot command line.
inline constexpr const char* DefaultPlotCommandLine = "C:\\TRAMLIN\\WTRAMLIN TRAMLIN.DXF /M1.0";

// Every field to its default (unit start, before the configuration is read).
void InitCadSettings();

}  // namespace common
