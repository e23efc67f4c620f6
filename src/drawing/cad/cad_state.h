// The drawing state that the primitives of the drawing interface keep
// between calls: origin, pen position, pen and layer, text size, angle and
// alignment, block recording and the emulated polyline, and the kind of the
// current drawing. The settings that the user configures (layer names,
// colours, decimals, ...) are in common/cad_settings.h.
#pragma once

#include <cstdint>
#include <string>

#include "common/real.h"

namespace drawing {

struct TCadDrawingState {
  Real CadOriginX = 0, CadOriginY = 0;            // added to every coordinate
  Real CadPenPositionX = 0, CadPenPositionY = 0;  // without origin
  std::uint8_t CadCurrentPen = 0;                 // 0..31
  std::string CadCurrentLayer = "0";              // DXF layer of every entity
  Real CadTextHeight = 5;
  Real CadTextWidthFactor = 1;
  Real CadTextAngle = 0;                          // degrees
  Real CadTextSlant = 0;                          // oblique angle, degrees
  std::int32_t CadTextAlignH = 0;                 // 0 left, 1 centred, 2 right
  std::int32_t CadTextAlignV = 0;                 // 0 baseline, 1 middle, 2 top
  Real CadLineSpacing = 1;
  std::uint8_t CadBlockRecording = 0;             // inside the blocks section
  std::uint8_t CadPolylineNative = 1;             // DXF devices write POLYLINE
  std::int32_t CadPolylineCount = 1;              // 1: the next vertex is the first
  Real CadPolylineBulge = 0;                      // arc parameter of the previous vertex
  // 0 plain drawing, 1 diagram, 2 A4 sheet frame, 3 A3 sheet frame.
  std::uint16_t DrawingSheetFormat = 0;
  // A sheet frame was drawn since the output was opened (the diagrams on a
  // sheet change DrawingSheetFormat afterwards).
  std::uint8_t SheetFrameDrawn = 0;
  // The solid's height (StlHeights) is the one the user entered for this
  // output, not the face width of the design.
  std::uint8_t SolidHeightTyped = 0;
};

extern TCadDrawingState CadDrawing;

// Every field to its start value.
void InitCadDrawingState();

}  // namespace drawing
