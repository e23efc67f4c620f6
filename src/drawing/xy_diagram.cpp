// The x-y diagram layer; see xy_diagram.h.
#include "drawing/xy_diagram.h"

#include <cmath>
#include <numbers>

#include "common/help_text.h"
#include "common/kaldvar.h"
#include "common/number_format.h"
#include "common/numeric_routines.h"
#include "common/plane_geometry.h"
#include "common/small_dialogs.h"
#include "common/text_utils.h"
#include "common/value_edit.h"
#include "drawing/cad/cad_device.h"
#include "drawing/cad/cad_output.h"
#include "drawing/cad/cad_state.h"

namespace drawing {

TDiagramState DiagramState;
TDiagramUserLimits DiagramUserLimits;

namespace {

constexpr Real Pi = std::numbers::pi_v<Real>;
// No axis gets more ticks than this, whatever limits are entered.
constexpr int MaxTicks = 1000;

TDiagramState& S() { return DiagramState; }
bool LogX() { return S().DiagramLogMode == 3 || S().DiagramLogMode == 4; }
bool LogY() { return S().DiagramLogMode == 2 || S().DiagramLogMode == 3; }

bool WholeNumber(Real t) {
  const Real d = common::RoundToDouble(t);
  return std::fabs(d - std::round(d)) < 1e-5L;
}

// On a logarithmic axis the tick variable t = n + k/10 stands for the value
// k 10^n, and a whole t for 10^t: the decade exponent of the tick.
Real DecadeTick(Real t) {
  if (WholeNumber(t)) return t;
  const Real whole = std::trunc(t + 1);
  return common::Log10((std::fabs(t) - std::trunc(std::fabs(t))) * std::pow(10.0L, whole));
}

// The tick variables lo, lo + step, ... up to about hi: while t <= hi + step
// and t is not the same as hi + step.
template <class Fn>
void ForEachTick(Real lo, Real hi, Real step, Fn fn) {
  if (!(step > 0)) return;
  for (int n = 0; n < MaxTicks; ++n) {
    const Real t = lo + n * step;
    if (t > hi + step || common::SameReal(t, hi + step)) break;
    fn(t);
  }
}

void AxisLimits(Real& lo, Real& hi, Real& step, Real a, Real b, bool logarithmic, int logIntervals) {
  if (logarithmic)
    LogAxisLimits(lo, hi, step, common::Log10(a), common::Log10(b), logIntervals);
  else
    common::AxisStep(lo, hi, step, a, b, 6);
}

}  // namespace

void ResetDiagramDefaults() { DiagramState = TDiagramState{}; }

void BeginDiagram() {
  ResetDiagramDefaults();
  SetDiagramSize(160, 120);
  SetDiagramOrigin(0, 0);
}

void SetDiagramSize(Real width, Real height) {
  S().DiagramWidth = width;
  S().DiagramHeight = height;
}

void SetDiagramOrigin(Real x0, Real y0) {
  S().DiagramOriginX = x0;
  S().DiagramOriginY = y0;
}

void SetDiagramLimits(Real xmin, Real ymin, Real xmax, Real ymax) {
  S().DiagramXMin = xmin;
  S().DiagramYMin = ymin;
  S().DiagramXMax = xmax;
  S().DiagramYMax = ymax;
  S().DiagramXRange = xmax - xmin;
  S().DiagramYRange = ymax - ymin;
}

Real DiagramX(Real x) {
  return (x - S().DiagramXMin) / (S().DiagramXMax - S().DiagramXMin) * S().DiagramWidth + S().DiagramOriginX;
}
Real DiagramY(Real y) {
  return (y - S().DiagramYMin) / (S().DiagramYMax - S().DiagramYMin) * S().DiagramHeight + S().DiagramOriginY;
}
Real DiagramLengthX(Real d) { return d / (S().DiagramXMax - S().DiagramXMin) * S().DiagramWidth; }
Real DiagramLengthY(Real d) { return d / (S().DiagramYMax - S().DiagramYMin) * S().DiagramHeight; }

void DiagramMoveTo(Real x, Real y) {
  CadMoveTo(DiagramX(x), DiagramY(y));
  S().DiagramLastX = x;
  S().DiagramLastY = y;
}

void DiagramLineTo(Real x, Real y) {
  DiagramClipLine(S().DiagramLastX, S().DiagramLastY, x, y);
  S().DiagramLastX = x;
  S().DiagramLastY = y;
}

void DiagramClipLine(Real x1, Real y1, Real x2, Real y2) {
  if (LogY()) {
    y1 = common::Log10(y1);
    y2 = common::Log10(y2);
  }
  if (LogX()) {
    x1 = common::Log10(x1);
    x2 = common::Log10(x2);
  }
  const TDiagramState& s = S();
  const Real mx = 0.01L * s.DiagramXRange, my = 0.01L * s.DiagramYRange;
  const auto nearWindow = [&](Real x, Real y) {
    return s.DiagramXMin - mx < x && x < s.DiagramXMax + mx && s.DiagramYMin - my < y && y < s.DiagramYMax + my;
  };
  if (nearWindow(x1, y1) && nearWindow(x2, y2)) {
    CadLine(DiagramX(x1), DiagramY(y1), DiagramX(x2), DiagramY(y2));
    return;
  }
  // Cut to the window; a segment with both ends outside keeps the piece
  // that crosses it.
  if (common::ClipLineToBox(x1, y1, x2, y2, s.DiagramXMin, s.DiagramYMin, s.DiagramXMax, s.DiagramYMax))
    CadLine(DiagramX(x1), DiagramY(y1), DiagramX(x2), DiagramY(y2));
}

void DiagramLine(Real x1, Real y1, Real x2, Real y2) { CadLine(DiagramX(x1), DiagramY(y1), DiagramX(x2), DiagramY(y2)); }

void DiagramMarkY(Real x, Real y, Real r) {
  if (LogY()) {
    y = common::Log10(y);
    r = common::Log10(r);
  }
  if (LogX()) x = common::Log10(x);
  CadCircle(DiagramX(x), DiagramY(y), DiagramLengthY(r));
}

void DiagramMarkX(Real x, Real y, Real r) {
  if (LogY()) y = common::Log10(y);
  if (LogX()) {
    x = common::Log10(x);
    r = common::Log10(r);
  }
  CadCircle(DiagramX(x), DiagramY(y), DiagramLengthX(r));
}

void DiagramText(const std::string& text, Real x, Real y) { CadText(text, DiagramX(x), DiagramY(y)); }

void DiagramTextScaled(int font, Real angle, Real height, Real width) {
  const Real s = std::max(S().DiagramHeight / 110, S().DiagramWidth / 160);
  SetCadTextSize(font, angle, height * s, width * s);
}

void DrawArrowHead(int direction, Real x, Real y, Real length) {
  const Real w = length / 8;
  switch (direction) {
    case 0:
    case 1: CadSolid(x, y, x - length, y + w, x - length, y - w, x, y); break;
    case 2: CadSolid(x, y, x - w, y - length, x + w, y - length, x, y); break;
    case 3: CadSolid(x, y, x + length, y + w, x + length, y - w, x, y); break;
    case 4: CadSolid(x, y, x - w, y + length, x + w, y + length, x, y); break;
    default: break;
  }
}

void LogAxisLimits(Real& lo, Real& hi, Real& step, Real a, Real b, int n) {
  lo = hi = step = 0;
  if (common::SameReal(a, b)) {
    a -= 1;
    b += 1;
  }
  b -= (b - a) * 1e-5L;
  const Real d = (b - a) / n;
  const int e = common::DecadeExponent(d);
  const Real m = d / std::pow(10.0L, e);
  const Real f = m < 1.5L ? 1 : m < 3 ? 2 : m < 8 ? 5 : 10;
  step = std::pow(10.0L, e) * f;
  hi = (common::FloorReal(b / step) + 1) * step;
  const Real rounded = common::RoundToDouble(hi);
  if (!common::SameReal(rounded, std::trunc(rounded)))
    hi = common::Log10((std::fabs(hi) - std::trunc(std::fabs(hi))) * std::pow(10.0L, std::trunc(hi + 1)));
  lo = common::FloorReal(a / step) * step;
}

void DrawDiagramAxes(const std::string& xTitle, const std::string& yTitle, const std::string& caption, Real xmin,
                     Real ymin, Real xmax, Real ymax, int style) {
  if (xmax < xmin) std::swap(xmin, xmax);
  if (ymax < ymin) std::swap(ymin, ymax);
  TDiagramState& s = S();
  CadDrawing.DrawingSheetFormat = 1;
  SetCadColor(4);
  DiagramTextScaled(2, 0, 3.5L, 2.5L);
  CadText(caption, std::max(s.DiagramOriginX, s.DiagramOriginX + s.DiagramWidth / 2 - caption.size() * 3.5L / 2),
          s.DiagramOriginY + s.DiagramHeight + 3);
  SetCadColor(17);

  const bool angleAxis = s.DiagramXAxisKind == 2 || s.DiagramXAxisKind == 3;
  Real XL, XH, XS, YL, YH, YS;
  if (angleAxis) {
    XL = 0;
    XH = 2 * Pi;
    XS = Pi / 4;
  } else {
    AxisLimits(XL, XH, XS, xmin, xmax, LogX(), 8);
  }
  Real keptXL = XL, keptXH = XH;
  AxisLimits(YL, YH, YS, ymin, ymax, LogY(), 12);

  // File output may take the limits from the user.
  if (CadRequestedDevice != CadDeviceScreen && common::EnterDiagramLimits && common::CommandLineParamCount() < 2) {
    TEinDiagramLimits form;
    form.FormCreate();
    SetDiagramLimitsForm(form, XL, YL, XH, YH);
    form.Label_x = xTitle;
    form.Label_y = yTitle;
    form.Caption = caption;
    if (DiagramLimitsView()) DiagramLimitsView()(form);
    if (form.closedBy == TEinDiagramLimits::Closed::Ok) {
      const TDiagramUserLimits u = DiagramUserLimits;
      if (angleAxis) {
        XL = u.xmin;
        XH = u.xmax;
        XS = (u.xmax - u.xmin) / 8;
      } else {
        AxisLimits(XL, XH, XS, u.xmin, u.xmax, LogX(), 5);
        keptXL = XL;
        keptXH = XH;
      }
      AxisLimits(YL, YH, YS, u.ymin, u.ymax, LogY(), 12);
    }
    // Cancel, or the window frame, keeps the computed limits.
    common::AbortFlag = 0;
  }
  SetDiagramLimits(XL, YL, XH, YH);
  const Real XR = s.DiagramXRange, YR = s.DiagramYRange;

  if (YL <= 0 && 0 <= YH && style != 3) {
    DiagramLine(XL, 0, XH + 0.05L * XR, 0);
    DrawArrowHead(1, DiagramX(XH + 0.05L * XR), DiagramY(0), 0.04L * s.DiagramWidth);
  }
  DiagramTextScaled(2, 0, 2.2L, 1.65L);
  const auto xTick = [&](Real t, Real& tv) {
    tv = LogX() ? DecadeTick(t) : t;
    return !LogX() || (XL <= tv && tv <= XH);
  };
  ForEachTick(XL, XH, XS, [&](Real t) {
    Real tv;
    if (!xTick(t, tv)) return;
    DiagramLine(tv, YL, tv, YL - 0.01L * YR);
    if (style == 3) return;
    const Real value = LogX() ? std::pow(10.0L, tv) : s.DiagramXAxisKind == 3 ? common::RadToDeg(t) : t;
    const std::string text = common::RealToTextAuto(value);
    DiagramText(text, tv - text.size() * 0.01L * XR, YL - 0.05L * YR);
  });
  if (style == 0 || style == 1) DiagramText(xTitle, XH + 0.06L * (XH - XL), YL - 0.05L * YR);
  if (style == 2) DiagramText(xTitle, XH + 0.01L * (XH - XL), YL + 0.03L * YR);

  if (XL <= 0 && 0 <= XH) {
    DiagramLine(0, YL, 0, YH + 0.05L * YR);
    DrawArrowHead(2, DiagramX(0), DiagramY(YH + 0.05L * YR), 0.04L * s.DiagramHeight);
  }
  const auto yTick = [&](Real u, Real& uv) {
    uv = LogY() ? DecadeTick(u) : u;
    return !(LogY() && uv > YH);
  };
  ForEachTick(YL, YH, YS, [&](Real u) {
    Real uv;
    if (!yTick(u, uv)) return;
    DiagramLine(XL, uv, XL - 0.01L * XR, uv);
    DiagramText(common::RealToTextAuto(LogY() ? std::pow(10.0L, uv) : u), XL - 0.1L * XR, uv - 0.01L * YR);
  });
  // The axis name stands above the top number; on a low diagram the fixed
  // share of the height is less than a line, so at least a line's height
  // and a half above that number.
  const Real lineInY = 1.5L * CadDrawing.CadTextHeight / s.DiagramHeight * YR;
  DiagramText(yTitle, XL - 0.1L * XR, std::max(YH + 0.07L * YR, YH - 0.01L * YR + lineInY));

  // The grid; its outermost lines frame the diagram.
  SetCadColor(17);
  Real gridXS = XS;
  if (LogX()) {
    Real lo, hi;
    LogAxisLimits(lo, hi, gridXS, common::Log10(xmin), common::Log10(xmax), 60);
    XL = keptXL;
    XH = keptXH;
  }
  SetScreenPenStyle(1);
  ForEachTick(XL, XH, gridXS, [&](Real t) {
    Real tv;
    if (xTick(t, tv)) DiagramLine(tv, YL, tv, YH);
  });
  ForEachTick(YL, YH, YS, [&](Real u) {
    Real uv;
    if (yTick(u, uv)) DiagramLine(XL, uv, XH, uv);
  });
  s.DiagramXAxisKind = 0;
}

// ---- The limits form ----------------------------------------------------------------

void TEinDiagramLimits::FormCreate() {
  Caption = common::ProductCode;
  Edit_xmin = common::RealToText(DiagramUserLimits.xmin);
  Edit_ymin = common::RealToText(DiagramUserLimits.ymin);
  Edit_xmax = common::RealToText(DiagramUserLimits.xmax);
  Edit_ymax = common::RealToText(DiagramUserLimits.ymax);
  KeepShown();
  closedBy = Closed::Frame;
}

void TEinDiagramLimits::KeepShown() {
  shownXmin_ = Edit_xmin;
  shownXmax_ = Edit_xmax;
  shownYmin_ = Edit_ymin;
  shownYmax_ = Edit_ymax;
}

void TEinDiagramLimits::Button_calcClick() {
  const auto shown = [](Real v, bool logarithmic) { return common::RealToText(logarithmic ? std::pow(10.0L, v) : v); };
  Edit_xmin = shown(xmin, LogX());
  Edit_xmax = shown(xmax, LogX());
  Edit_ymin = shown(ymin, LogY());
  Edit_ymax = shown(ymax, LogY());
  KeepShown();
}

bool TEinDiagramLimits::Button_okClick() {
  if (!common::AcceptNumberText("x min", Edit_xmin, shownXmin_) ||
      !common::AcceptNumberText("x max", Edit_xmax, shownXmax_) ||
      !common::AcceptNumberText("y min", Edit_ymin, shownYmin_) ||
      !common::AcceptNumberText("y max", Edit_ymax, shownYmax_))
    return false;
  const Real x1 = common::TextToReal(Edit_xmin), x2 = common::TextToReal(Edit_xmax);
  const Real y1 = common::TextToReal(Edit_ymin), y2 = common::TextToReal(Edit_ymax);
  if (LogX() && (x1 <= 0 || x2 <= 0)) {
    common::ShowMessageText("Error: x = 0 !");
    return false;
  }
  if (LogY() && (y1 <= 0 || y2 <= 0)) {
    common::ShowMessageText("Error: y = 0 !");
    return false;
  }
  // An axis of no extent has no scale: its values would all fall on one
  // point, at an infinite distance per unit.
  if (x1 == x2 || y1 == y2) {
    common::ShowMessageText(x1 == x2 ? "Error: x min = x max !" : "Error: y min = y max !");
    return false;
  }
  DiagramUserLimits = {x1, y1, x2, y2};
  common::AbortFlag = 0;
  closedBy = Closed::Ok;
  return true;
}

void TEinDiagramLimits::Button_cancelClick() {
  common::AbortFlag = 1;
  closedBy = Closed::Cancel;
}

void TEinDiagramLimits::Button_helpClick() {
  common::ShowHelpText(1950, 1);
  common::AbortFlag = 0;
}

void SetDiagramLimitsForm(TEinDiagramLimits& form, Real xmin, Real ymin, Real xmax, Real ymax) {
  form.xmin = xmin;
  form.ymin = ymin;
  form.xmax = xmax;
  form.ymax = ymax;
}

DiagramLimitsViewFn& DiagramLimitsView() {
  static DiagramLimitsViewFn view;
  return view;
}

}  // namespace drawing
