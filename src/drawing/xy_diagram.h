// The x-y diagram layer over the drawing primitives (cad_output.h): maps
// diagram values into a rectangular window on the sheet, clips curve
// segments to it, and draws axes, ticks, numbers, titles and grid with nice
// limits, on every output device. For file output it can ask the user for
// the limits in the limits form (TEinDiagramLimits below).
//
//   BeginDiagram();
//   SetDiagramSize(120, 100); SetDiagramOrigin(15, 10);
//   DiagramState.DiagramXAxisKind = 3;      // angle axis in degrees
//   DrawDiagramAxes("phi1", "i", "gear ratio", 0, 0, 2 * pi, 2, 0);
//   DiagramMoveTo(0, 1); DiagramLineTo(0.1, 1.05); ...
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "common/real.h"

namespace drawing {

struct TDiagramState {
  Real DiagramWidth = 160, DiagramHeight = 120;  // paper size of the window
  Real DiagramXMax = 160, DiagramYMax = 120;
  Real DiagramXMin = 0, DiagramYMin = 100;
  Real DiagramXRange = 1, DiagramYRange = 1;
  Real DiagramOriginX = 0, DiagramOriginY = 0;  // paper position of the lower left corner
  Real DiagramLastX = 0, DiagramLastY = 0;      // last pen point, diagram values
  // 0 plain x axis; 2 angle axis in radians; 3 angle axis labelled in degrees.
  std::uint16_t DiagramXAxisKind = 0;
  // 0 or 1 linear; 2 y logarithmic; 3 both; 4 x logarithmic.
  std::uint16_t DiagramLogMode = 0;
};
extern TDiagramState DiagramState;

// The limits last entered in the limits form (xmin, ymin, xmax, ymax); kept
// from one diagram to the next until the program ends.
struct TDiagramUserLimits {
  Real xmin = 0, ymin = 0, xmax = 1, ymax = 1;
};
extern TDiagramUserLimits DiagramUserLimits;

void ResetDiagramDefaults();
// ResetDiagramDefaults, size 160 x 120 at (0, 0).
void BeginDiagram();
void SetDiagramSize(Real width, Real height);
void SetDiagramOrigin(Real x0, Real y0);
void SetDiagramLimits(Real xmin, Real ymin, Real xmax, Real ymax);

Real DiagramX(Real x);
Real DiagramY(Real y);
Real DiagramLengthX(Real d);
Real DiagramLengthY(Real d);

void DiagramMoveTo(Real x, Real y);
// A line from the last point, clipped to the window.
void DiagramLineTo(Real x, Real y);
// Draws what of the segment lies in the window (logarithms applied first
// on logarithmic axes); a segment within 1 % of the ranges outside is drawn
// whole.
void DiagramClipLine(Real x1, Real y1, Real x2, Real y2);
// Unclipped, no logarithm.
void DiagramLine(Real x1, Real y1, Real x2, Real y2);
void DiagramMarkY(Real x, Real y, Real r);
void DiagramMarkX(Real x, Real y, Real r);
void DiagramText(const std::string& text, Real x, Real y);
// Text size scaled with the window: max(height / 110, width / 160).
void DiagramTextScaled(int font, Real angle, Real height, Real width);
// A filled arrow head at (x, y) in paper coordinates: direction 0 or 1 to
// +x, 2 to +y, 3 to -x, 4 to -y; others nothing.
void DrawArrowHead(int direction, Real x, Real y, Real length);
// style 0/1 normal, 2 the x title above the axis end, 3 no x axis line,
// numbers or title. Sets the window limits to nice values round the given
// ones (or to those the user enters for file output).
void DrawDiagramAxes(const std::string& xTitle, const std::string& yTitle, const std::string& caption, Real xmin,
                     Real ymin, Real xmax, Real ymax, int style);
// Nice limits of a logarithmic axis from decade exponents a, b and about n
// intervals.
void LogAxisLimits(Real& lo, Real& hi, Real& step, Real a, Real b, int n);

// ---- The limits form ----------------------------------------------------------
// The form's data and handlers; a window system shows it (DiagramLimitsView).
class TEinDiagramLimits {
 public:
  enum class Closed { Frame, Ok, Cancel };

  // Caption the product code, the edits showing DiagramUserLimits.
  void FormCreate();
  // The computed limits into the edits (10^ of a logarithmic axis).
  void Button_calcClick();
  // Reads the edits; false (form stays open, message shown) when an edit
  // holds a text that is no number, or no finite one (common/value_edit.h:
  // the message names it, "x min", and it shows what FormCreate or
  // "Calculate" showed again), or when a value of a logarithmic axis is not
  // above 0. An empty edit is 0, as before.
  bool Button_okClick();
  void Button_cancelClick();
  void Button_helpClick();

  std::string Caption, Label_x, Label_y;
  std::string Edit_xmin, Edit_xmax, Edit_ymin, Edit_ymax;
  // The limits the layer computed (decade exponents on a logarithmic axis).
  Real xmin = 0, ymin = 0, xmax = 0, ymax = 0;
  Closed closedBy = Closed::Frame;

 private:
  void KeepShown();
  // The edits as last shown by the form: what a refused entry goes back to.
  std::string shownXmin_, shownXmax_, shownYmin_, shownYmax_;
};
void SetDiagramLimitsForm(TEinDiagramLimits& form, Real xmin, Real ymin, Real xmax, Real ymax);
// Shows the form modally until it closes; the window system installs it.
// Without one the form closes at once by its frame.
using DiagramLimitsViewFn = std::function<void(TEinDiagramLimits&)>;
DiagramLimitsViewFn& DiagramLimitsView();

}  // namespace drawing
