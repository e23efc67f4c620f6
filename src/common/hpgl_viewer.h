// The HP-GL plot-file viewer: help pictures and auxiliary images are HP-GL
// plot files (".plt") that are drawn command by command through the
// graphics-window facade (graphics_facade.h) into the world window the
// caller set up (the help pictures use GraphHeader(0, 0, 160, 120), a
// window in millimetres). Coordinates are plotter units of 0.025 mm.
//
// Understood: PU, PD, PA (pen moves and lines), SP (pen colour), CI
// (circle), SI, DI, LB (labels), AA (arc), PE (polyline encoded, HP-GL/2),
// CS (character set); RO, IN, IP, IW, DF, VS, LT, SC and every other
// command are skipped to their terminator. Mnemonics in either case.
#pragma once

#include <cstdint>
#include <string>

#include "common/real.h"

namespace common {

struct TPlotViewerState {
  Real X = 0, Y = 0;              // current pen position, millimetres
  std::uint8_t PenDown = 0;       // set by PD, cleared by PU
  std::uint8_t PenNumber = 1;     // selected by SP
  Real CharWidth = 5.0L;          // SI, centimetres
  Real CharHeight = 5.0L;
  Real LabelRun = 1.0L;           // DI
  Real LabelRise = 0.0L;
  Real CharacterSet = 1.0L;       // CS
  std::uint8_t CommandEnd = 0;    // the parameter reader met ';'
  std::size_t CharCount = 0;      // characters read so far
  std::string Command;            // the command being read ("PE")
  // The first number out of range ("pen 256") and its command, and how many
  // commands were left undrawn for such numbers.
  std::string FirstOutOfRange;
  int CommandsCut = 0;
};
extern TPlotViewerState PlotViewerState;

// The colour index of an HP-GL pen: 1..7 red, yellow, green, cyan, blue,
// magenta, white; other numbers as they are.
int PenColour(int pen);

// Draws the plot file; a missing file is reported by CheckFileExists
// ("not found", AbortFlag set) and nothing is drawn. Each file starts from
// the viewer's start state. A file whose numbers lie out of range (commands
// left undrawn) ends with one message that names the file, the first such
// number and its command, and how many commands were left.
void PlotPltFile(const std::string& fileName);

// Draws plot-file text that is already in memory (the worker of
// PlotPltFile).
void PlotPltText(const std::string& bytes);

// Makes PlotPltFile the drawer of the help pictures (help_text.h).
void InstallPlotFileViewer();

}  // namespace common
