// The output devices of the drawing interface and the face every back end
// shows it. The drawing interface (cad_output.h) keeps the drawing state,
// applies the origin and the text alignment, and hands each primitive to the
// back end of the current device, CadDevice; a back end only turns what it
// receives into its format (dxf_writer.cpp, text_cad_writer.cpp,
// step_writer.cpp, screen_device.cpp, ...). A new output format is one file
// with a class derived from CadBackEnd and one line in the device table of
// cad_device.cpp.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>

#include "common/real.h"

namespace drawing {

using CadDeviceCode = std::uint16_t;

// Device codes; a caller passes CadAskDevice to CadOpenOutput to let the user
// choose.
enum : CadDeviceCode {
  CadAskDevice = 0,
  CadDeviceDxf = 1,
  CadDeviceIges = 2,
  CadDeviceScreen = 3,
  CadDevicePlot = 4,      // DXF file handed to the external plot utility
  CadDeviceTextCad = 5,
  CadDeviceStl = 6,
  CadDeviceStep = 7,      // STEP file: bodies as solids, the rest as edges
};
inline constexpr CadDeviceCode CadDeviceCount = 7;

// The current device (default screen) and the code last passed to
// CadOpenOutput (0 when the user was asked).
extern CadDeviceCode CadDevice;
extern CadDeviceCode CadRequestedDevice;

// Stores the code, without a range check (an unknown code draws nothing).
void SetCadDevice(CadDeviceCode code);

// Asks the user for the device (codes 1..7 are offered) and, for the plot
// utility, for its command line; Cancel sets AbortFlag and keeps CadDevice.
void SelectCadDevice();
// The plot utility's part of the choice: the settings form that edits the
// chosen command line, and the builder of a command line from the utility's
// parameters (taken when the entered line is empty or begins with "0").
// Installed by the plot utility; without them the line is only entered.
std::function<void(std::string&)>& PlotCommandEditor();
std::function<std::string()>& PlotCommandBuilder();

// The axis a body turns about (a gear's centre), in drawing coordinates.
struct TBodyAxis {
  Real X = 0, Y = 0;
};

// A body: the axis it turns about, where it turns (a gear), and the module
// of its teeth, where it has teeth (0: none), whose size says how closely
// a device that models the body keeps to its outline.
struct TBody {
  std::optional<TBodyAxis> axis;
  Real module = 0;
};

// The back end of one device. Every operation does nothing unless a device
// overrides it, so the none device ignores every primitive.
// Coordinates arrive with the drawing origin and the text alignment already
// applied; angles are degrees.
class CadBackEnd {
 public:
  virtual ~CadBackEnd() = default;

  // ---- What the drawing interface asks of the device ----------------------
  // The file extension of a device that writes a file the user names ("dxf");
  // empty for the screen, the plot utility and the none device.
  virtual std::string FileExtension() const { return {}; }
  // Whether a finished file is opened with the program its extension is
  // associated with (when the settings ask for it).
  virtual bool OpensAfterOutput() const { return false; }
  // Whether blocks are recorded as DXF part files and replayed at each insert
  // (screen, STL) instead of being written as block definitions. Such a
  // device must not hold SharedTextFile: the part files are written on it.
  virtual bool RecordsBlocksAsFiles() const { return false; }
  // Whether such a device keeps its blocks in memory (recorded_blocks.h)
  // instead of part files (the screen).
  virtual bool RecordsBlocksInMemory() const { return false; }
  // Whether polylines are written as such (DXF); otherwise the drawing
  // interface breaks them into lines and arcs.
  virtual bool WritesNativePolylines() const { return false; }
  // Whether the arcs of emulated polylines reach this device as arcs even
  // where the settings ask for chords (CadArcsToLines): a device that
  // models exact solids (STEP) keeps the circles of a body's outline.
  virtual bool KeepsPolylineArcs() const { return false; }
  // Whether the logo files are placed on this device.
  virtual bool PlacesLogos() const { return false; }
  // The largest magnitude of a coordinate (and size) the device can write;
  // a figure beyond it, or not finite, refuses the output (cad_output.h).
  virtual Real CoordinateLimit() const { return std::numeric_limits<Real>::max(); }
  // Whether the file carries the moment it was written (a head's time stamp,
  // the date of a title block): such an output is refused while
  // SOURCE_DATE_EPOCH is set to no usable moment (platform/clock.h).
  virtual bool WritesTimeStamp() const { return !FileExtension().empty(); }

  // ---- Output --------------------------------------------------------------
  // Opens the output. A file device finds CadSettings.CadFileName named
  // already; the others name their own output (the plot utility's file).
  // A failure sets AbortFlag.
  virtual void Open() {}
  // Finishes the output (end records, file closed, external program).
  virtual void Close() {}
  // Ends an output that was refused, in place of Close: nothing is put in
  // place of a file (the drawing interface has dropped SharedTextFile
  // already); what the device keeps of the output is let go.
  virtual void Abandon() {}

  // ---- Drawing head and sections (cad_blocks.h) ---------------------------
  virtual void DrawingFrame(Real x1, Real y1, Real x2, Real y2) {}
  virtual void BeginTables(int mode) {}
  virtual void BeginBlocksSection() {}
  virtual void BeginBlock(const std::string& name) {}
  virtual void EndBlock() {}
  virtual void EndSection() {}
  // Opens the entity part (the first step of placing the logos).
  virtual void BeginEntities() {}

  // ---- Drawing state ------------------------------------------------------
  // The pen (0..31) chosen by SetCadColor.
  virtual void SelectPen(int pen) {}
  // The text size and angle in the drawing state changed (SetCadTextSize).
  virtual void TextSizeChanged(int font, Real width) {}
  // Line style of the screen (SetScreenPenStyle).
  virtual void SetPenStyle(int style) {}
  virtual void Delay(int milliseconds) {}

  // ---- Bodies -----------------------------------------------------------------
  // The closed outlines drawn between BeginBody and EndBody bound one body
  // (a gear with its bore): a device that models solids (STEP) extrudes the
  // material they enclose between the drawing's two heights; the others draw
  // them as any lines. A body that turns (a gear) comes with its axis,
  // one with teeth with their module.
  virtual void BeginBody(const TBody& body) {}
  virtual void EndBody() {}

  // ---- Primitives -----------------------------------------------------------
  virtual void Line(Real x1, Real y1, Real x2, Real y2) {}
  virtual void Circle(Real x, Real y, Real r) {}
  // sweep: the signed included angle, negative for a clockwise arc.
  virtual void Arc(Real x, Real y, Real startAngle, Real endAngle, Real r, Real sweep) {}
  virtual void Text(const std::string& text, Real x, Real y) {}
  // Corners in SOLID order: the filled outline runs 1, 2, 4, 3.
  virtual void Solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) {}
  virtual void InsertBlock(const std::string& name, Real x, Real y, Real angle, Real sx, Real sy) {}
  // Native polylines (only where WritesNativePolylines).
  virtual void PolylineBegin(int flags) {}
  virtual void PolylineVertex(Real x, Real y, Real bulge) {}
  virtual void PolylineEnd() {}
};

// The back end of a device code; a back end that does nothing for codes
// without one.
CadBackEnd& CadBackEndFor(CadDeviceCode code);

// Installs a back end for a code (not owned); nullptr returns to the built-in
// one. Returns the previous installed one (nullptr for the built-in).
CadBackEnd* SetCadBackEnd(CadDeviceCode code, CadBackEnd* backEnd);

class ScopedCadBackEnd {
 public:
  ScopedCadBackEnd(CadDeviceCode code, CadBackEnd& backEnd)
      : code_(code), previous_(SetCadBackEnd(code, &backEnd)) {}
  ~ScopedCadBackEnd() { SetCadBackEnd(code_, previous_); }
  ScopedCadBackEnd(const ScopedCadBackEnd&) = delete;
  ScopedCadBackEnd& operator=(const ScopedCadBackEnd&) = delete;

 private:
  CadDeviceCode code_;
  CadBackEnd* previous_;
};

// The back end of the current device.
inline CadBackEnd& CurrentCadBackEnd() { return CadBackEndFor(CadDevice); }

}  // namespace drawing
