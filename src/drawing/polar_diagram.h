// The polar diagram layer over the drawing primitives (cad_output.h): a
// value plotted as a radius at a polar angle round a centre, inside an
// annulus whose inner ring stands for the smallest value and whose outer
// ring (radius 0.45 R) for the largest. No clipping.
//
//   BeginPolarDiagram();
//   DrawPolarGrid("SF", "SF polar", 0, 3);
//   PolarMoveTo(0, v0); PolarLineTo(0.1, v1); ...
#pragma once

#include <string>

#include "common/real.h"

namespace drawing {

struct TPolarState {
  Real PolarSize = 120;                   // R
  Real PolarValueMin = 0, PolarValueMax = 60;
  Real PolarCentreX = 80, PolarCentreY = 60;
  Real PolarLastAngle = 0, PolarLastValue = 0;
  Real PolarInnerFraction = 0.5L;         // f, 0 <= f < 1
  Real PolarInnerRadius = 0;              // r0 = f 0.45 R
};
extern TPolarState PolarState;

void ResetPolarDefaults();
// Reset, R 115, centre (80, 60), inner ring 0.5.
void BeginPolarDiagram();
void SetPolarRadius(Real r);
void SetPolarCentre(Real x, Real y);
void SetPolarRange(Real vmin, Real vmax);
// Ignored unless 0 <= f < 1; call after SetPolarRadius.
void SetPolarInnerRing(Real f);
Real PolarRadius(Real v);
void PolarMoveTo(Real angle, Real v);
void PolarLineTo(Real angle, Real v);
void PolarValueCircle(Real v);
void PolarText(const std::string& text, Real angle, Real v);
void PolarTextScaled(int font, Real angle, Real height, Real width);
// Diameters, rings with their values, the value title and the caption; the
// value range becomes the nice limits round vmin..vmax, with at least one
// ring.
void DrawPolarGrid(const std::string& valueTitle, const std::string& caption, Real vmin, Real vmax);

}  // namespace drawing
