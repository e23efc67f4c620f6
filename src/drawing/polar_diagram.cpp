// The polar diagram layer; see polar_diagram.h.
#include "drawing/polar_diagram.h"

#include <cmath>
#include <numbers>

#include "common/number_format.h"
#include "common/numeric_routines.h"
#include "drawing/cad/cad_output.h"
#include "drawing/cad/cad_state.h"

namespace drawing {

TPolarState PolarState;

namespace {
constexpr Real Pi = std::numbers::pi_v<Real>;
constexpr int MaxRings = 1000;

void PolarPoint(Real angle, Real v, Real& x, Real& y) {
  const Real r = PolarRadius(v);
  x = PolarState.PolarCentreX + r * std::cos(angle);
  y = PolarState.PolarCentreY + r * std::sin(angle);
}
}  // namespace

void ResetPolarDefaults() { PolarState = TPolarState{}; }

void BeginPolarDiagram() {
  ResetPolarDefaults();
  SetPolarRadius(115);
  SetPolarCentre(80, 60);
  SetPolarInnerRing(0.5L);
}

void SetPolarRadius(Real r) { PolarState.PolarSize = r; }
void SetPolarCentre(Real x, Real y) {
  PolarState.PolarCentreX = x;
  PolarState.PolarCentreY = y;
}
void SetPolarRange(Real vmin, Real vmax) {
  PolarState.PolarValueMin = vmin;
  PolarState.PolarValueMax = vmax;
}

void SetPolarInnerRing(Real f) {
  if (!(f >= 0 && f < 1)) return;
  PolarState.PolarInnerFraction = f;
  PolarState.PolarInnerRadius = f * PolarState.PolarSize * 0.45L;
}

Real PolarRadius(Real v) {
  const TPolarState& p = PolarState;
  return (v - p.PolarValueMin) / (p.PolarValueMax - p.PolarValueMin) * p.PolarSize * 0.45L *
             (1 - p.PolarInnerFraction) +
         p.PolarInnerRadius;
}

void PolarMoveTo(Real angle, Real v) {
  Real x, y;
  PolarPoint(angle, v, x, y);
  CadMoveTo(x, y);
  PolarState.PolarLastAngle = angle;
  PolarState.PolarLastValue = v;
}

void PolarLineTo(Real angle, Real v) {
  Real x, y;
  PolarPoint(angle, v, x, y);
  CadLineTo(x, y);
  PolarState.PolarLastAngle = angle;
  PolarState.PolarLastValue = v;
}

void PolarValueCircle(Real v) { CadCircle(PolarState.PolarCentreX, PolarState.PolarCentreY, PolarRadius(v)); }

void PolarText(const std::string& text, Real angle, Real v) {
  Real x, y;
  PolarPoint(angle, v, x, y);
  CadText(text, x, y);
}

void PolarTextScaled(int font, Real angle, Real height, Real width) {
  const Real s = PolarState.PolarSize / 120;
  SetCadTextSize(font, angle, height * s, width * s);
}

void DrawPolarGrid(const std::string& valueTitle, const std::string& caption, Real vmin, Real vmax) {
  CadDrawing.DrawingSheetFormat = 1;
  SetCadColor(17);
  SetScreenPenStyle(3);
  const int n = static_cast<int>(std::lround(6 * (1 - PolarState.PolarInnerFraction)));
  Real lo, hi, step;
  // At least one interval, also for an inner ring close to the outer one.
  common::AxisStep(lo, hi, step, vmin, vmax, std::max(n, 1));
  SetPolarRange(lo, hi);
  PolarMoveTo(0, 1.1L * hi);
  PolarLineTo(Pi, 1.1L * hi);
  PolarMoveTo(Pi / 2, 1.1L * hi);
  PolarLineTo(3 * Pi / 2, 1.1L * hi);
  PolarTextScaled(2, 0, 1.8L, 1.5L);
  PolarText(valueTitle, Pi / 2 - 0.01L, 1.15L * hi);
  if (step > 0) {
    for (int k = 0; k < MaxRings; ++k) {
      const Real w = lo + k * step;
      if (w > hi + step / 2) break;
      PolarValueCircle(w);
      PolarText(common::RealToTextAuto(w), Pi / 2 - 0.01L, w + 0.01L * hi);
    }
  } else {
    PolarValueCircle(hi);
  }
  SetScreenPenStyle(0);
  SetCadColor(4);
  PolarTextScaled(2, 0, 2.5L, 2.0L);
  PolarText(caption, 3 * Pi / 2, 1.6L * hi);
}

}  // namespace drawing
