// The drawing interface: one set of primitives that draws a picture on the
// current output device (cad_device.h). A picture is drawn between
// CadOpenOutput and CadCloseOutput in the frame of calls of cad_blocks.h;
// in between the caller sets pens, text sizes and line modes and calls the
// primitives. Each primitive adds the drawing origin and hands the figure to
// the device's back end; while a block is being recorded for the screen or
// the STL device the figures go into the block's part file instead
// (cad_blocks.cpp), to be replayed by the DXF reader (dxf_reader.h).
// Coordinates are mm, angles degrees.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>

#include "common/real.h"
#include "drawing/cad/cad_device.h"

namespace drawing {

// ---- Output ------------------------------------------------------------------
// Opens the output of one picture on device code (0: the user chooses).
// File devices name the file by a save dialog (or, with common::CadBatchNaming, after
// the data file). Cancel and failures set AbortFlag; nothing is opened then.
void CadOpenOutput(CadDeviceCode code);
// Finishes the output; a finished file is opened with its associated program
// when the settings ask for it. What the program said outside a calculation
// before the output began (an earlier refusal) is retired from the message
// list: the output is the latest answer.
void CadCloseOutput();
// Opens a finished output file with the program associated with its
// extension; the windowing start-up installs the opener (headless nothing is
// opened).
void OpenCadOutputWithProgram(const std::string& fileName);
void SetCadOutputOpener(std::function<void(const std::string&)> opener);
// For file back ends: opens CadSettings.CadFileName for writing on
// SharedTextFile; a failure is shown and sets AbortFlag.
void OpenCadOutputFile();
// The back end that receives the primitives now: the block recorder while
// the current device records a block into its part file, else the device's.
CadBackEnd& CadTarget();

// ---- Refused output -------------------------------------------------------------
// Refuses the output of the current picture: the message is shown (the
// first one of an output only), AbortFlag is set, every later primitive is
// ignored, and CadCloseOutput abandons the output, so that no file is put in
// place. Cleared by CadOpenOutput.
void RefuseCadOutput(const std::string& message);
bool CadOutputRefused();
// The message of the refusal of the last output (empty when it was not
// refused), for the command line, where no message box is shown.
const std::string& CadRefusalMessage();
// Whether every value is one the current device can write: finite and
// within its CoordinateLimit. The first that is not refuses the output with
// a message that names it.
bool CadValuesWritable(std::initializer_list<Real> values);
// Refuses the file of a solid that cannot be made, found as it is closed:
// the reason is shown and added to the message list ("Error  : " before
// it) as the output's answer, and AbortFlag is set, so that the back end puts no file in place.
void RefuseSolidOutput(const std::string& message);
// Material between the two extrusion heights of CadSettings (StlHeights)
// closer than 0.0001 mm is no solid: the output of the format named (STEP,
// STL) is refused, and true returned. The refusal names the height the user
// entered for the output (TooLowForSolidText), or the face width where the
// height is the design's (TooThinForSolidText).
bool RefusedAsTooThin(const std::string& format);
std::string TooThinForSolidText(const std::string& format);
std::string TooLowForSolidText(const std::string& format, Real height);

// ---- Primitives --------------------------------------------------------------
void CadLine(Real x1, Real y1, Real x2, Real y2);
void CadCircle(Real x, Real y, Real r);
void CadCircleAtOrigin(Real x, Real y, Real r);
// sweep: signed included angle, negative for a clockwise arc; r = 0 draws
// nothing.
void CadArc(Real x, Real y, Real startAngle, Real endAngle, Real r, Real sweep);
// Aligned by CadTextAlignH/V; an empty text draws nothing.
void CadText(const std::string& text, Real x, Real y);
void CadSolid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4);
void CadMoveTo(Real x, Real y);
void CadLineTo(Real x, Real y);
void CadRectangle(Real x1, Real y1, Real x2, Real y2);
void CadHorizontalLine(Real x, Real y, Real d);
void CadLineRel(Real x, Real y, Real d);
// A text line at the pen position; the position moves on by one line.
void CadTextRotated(const std::string& text);
// SetCadTextSize with height and width scaled down so that the trimmed text
// is not estimated longer than maxLength.
void CadTextFitted(int font, const std::string& text, Real angle, Real height, Real width, Real maxLength);
// Polylines: b is the arc angle (radians) of the piece from this vertex to
// the next; 0 for a straight piece. Bit 1 of flags closes the polyline.
void CadPolylineBegin(int flags);
void CadPolylineVertex(Real x, Real y, Real b);
// The vertex at the pen position + (r cos angle, r sin angle), angle radians.
void CadPolylineArcVertex(Real r, Real angle, Real b);
void CadPolylineEnd();
// The outlines drawn between these two bound one body, which a device that
// models solids (STEP) makes a solid of (cad_device.h). Not inside blocks.
// A body that turns about an axis (a gear) names it, at (axisX, axisY) of
// the drawing (the origin added, as to the primitives); one with teeth
// names their module (0: none).
void CadBeginBody(Real module = 0);
void CadBeginBody(Real axisX, Real axisY, Real module);
void CadEndBody();
// Places a block (origin not added).
void CadInsertBlock(const std::string& name, Real x, Real y, Real angle, Real sx, Real sy);
void CadInsertBlockAtOrigin(const std::string& name, Real x, Real y, Real angle, Real sx, Real sy);

// ---- State setters -------------------------------------------------------------
// Pens above 31 fold into 16..31.
void SetCadColor(int pen);
void SetCadLineMode(int mode);
void SetScreenPenStyle(int style);
// width 0: 0.7 of the height; both scaled by CadTextWidthRatio.
void SetCadTextSize(int font, Real angle, Real height, Real width);
void SetCadTextAlign(int horizontal, int vertical);
void SetCadLineSpacing(Real factor);
void CadSetOrigin(Real x, Real y);
// CadScale := factor x CadScaleSetting; 1 when the product is below 0.001.
void SetCadScale(Real factor);
void SetStlHeights(Real z1, Real z2);
void CadDelay(int milliseconds);
bool CadDeviceCheck();

// ---- Circles and arcs as chords (STL device, emulated polylines) ---------------
// Each chord goes to emit(x1, y1, x2, y2) in the coordinates given; the
// chord length is CadArcResolution (0.1 for circles, 0.2 for arcs when it is
// not positive), and no chord of an arc spans more than 0.1 radian.
using ChordSink = std::function<void(Real x1, Real y1, Real x2, Real y2)>;
void CircleAsChords(Real x, Real y, Real r, const ChordSink& emit);
// The arc from (x1, y1) to (x2, y2) spanning b radians (signed).
void ArcAsChords(Real x1, Real y1, Real x2, Real y2, Real b, const ChordSink& emit);

}  // namespace drawing
