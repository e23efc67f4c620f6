// The external plot utility (device 4): the drawing is written as the DXF
// file "tramlin.dxf" in the temporary directory, and then the chosen stored
// command line (CadSettings.PlotCommandLines[PlotCommandIndex]) starts the
// utility, which prints or plots that file. The utility is a separate
// program driven only by its command line:
//
//   program DXF-file /Ccode [/Dinterface] [/Pport] [/Ffile] [/Mscale]
//           [/Xshift] [/Yshift] [/Btext factor] [/R] [/Tfont]
//
// This file builds that line in two ways: from the settings of the
// utility's form (BuildPlotCommandLine, shown live by the form of
// ui/plot_utility_form.h) and by a sequence of questions
// (ConfigurePlotUtility), which writes a line longer than 60 characters
// into an executable shell script and returns the script's name instead.
// Paths are written with '/'.
#pragma once

#include <array>
#include <string>

#include "drawing/cad/cad_device.h"

namespace drawing {

// The fonts of the PostScript output offered by the form.
inline constexpr int PostScriptFontCount = 35;
extern const std::array<const char*, PostScriptFontCount> PostScriptFontNames;

// The output codes of the utility, in the order of its choices.
inline constexpr int PlotOutputCodeCount = 5;
extern const std::array<const char*, PlotOutputCodeCount> PlotOutputCodes;  // "HPL", "PS", ...

// What the form's controls hold, as typed. Numbers are read with
// TextToReal/TextToInt: a text that is no number counts as 0.
struct TPlotFormSettings {
  std::string ProgramPath;      // Edit_tramlinPath
  int OutputCode = 0;           // RadioGroup_outcode: 0 HPL .. 4 ART, -1 none
  int Interface = 1;            // RadioGroup_d: 0 serial, 1 parallel, 2 file
  std::string Com = "1";        // Edit_com
  std::string Lpt = "1";        // Edit_lpt
  std::string OutputDirectory;  // Edit_outdir
  std::string Scale = "1";      // Edit_scale ("0" while CheckBox_scale fits to the sheet)
  bool Rotate = false;          // CheckBox_rotate
  std::string XShift = "0", YShift = "0";
  std::string TextFactor = "1";
  std::string PsFont;           // ComboBox_psfont
};

// The form's start values: program "/tramlin/wtramlin", HPL, parallel,
// ports 1, the temporary directory, scale 1, no shift, text factor 1.
TPlotFormSettings DefaultPlotFormSettings();
// The program path, a blank, the output directory + "tramlin", then the
// switches that differ from the utility's defaults.
std::string BuildPlotCommandLine(const TPlotFormSettings& form);

// Asks every setting of the utility by the small dialogs and makes the
// command line of it; a line longer than 60 characters goes into a shell
// script whose name becomes the line. Cancel anywhere sets AbortFlag and
// keeps commandLine.
void ConfigurePlotUtility(std::string& commandLine);

// Starts a command line of the utility; a failure is shown ("file not
// found", "out of memory !", "Exec error " + code) and the DXF file stays.
// True when the utility was started.
bool StartPlotUtility(const std::string& commandLine);

}  // namespace drawing
