// The reference designs whose gears every CAD output must carry into a
// solid that readers, Boolean operations and meshers take: one of every
// curve family, and the designs that pushed the outlines to their limits
// (a hundred teeth; few teeth, cut under; a polyline's corners at every
// degree or finer; a polygon's corners; teeth of module 0.037 mm; a curve whose ends meet at a
// kink). Set up by the calculation records alone, so that the tests and the
// benchmarks (bench/step_mesh_bench) share them; not yet calculated.
#pragma once

#include <numbers>
#include <string>
#include <vector>

#include "calc/calc_records.h"
#include "calc/pitch_curve.h"
#include "calc/polynomial_fit.h"
#include "calc/spur_gear_data.h"
#include "common/equation_matrix.h"

namespace drawingtest {

// The default design, driven with 10 kW at 1000 1/min and rated by DIN 3990
// (not yet calculated).
inline void SetDefaultDesign() {
  calc::InitGearData();
  calc::SetSpurGearDefaults();
  calc::SetNoncircularDefaults();
  calc::SpurGearData.P = 10;
  calc::SpurGearData.n[1] = 1000;
  calc::SpurGearData.CalcMethod = 1;
}

// The default ellipse as a polyline of `count` points at equal angles,
// joined linearly: a corner at every point.
inline void SetPolylineEllipse(int count) {
  std::vector<calc::TCurvePoint> points;
  for (int i = 0; i < count; ++i) {
    const Real phi = 2 * std::numbers::pi_v<Real> * i / count;
    points.push_back({phi, calc::PitchRadius(phi)});
  }
  calc::CurveType = calc::CurvePolyline;
  calc::LinearInterpolation = 1;
  calc::PolylineCount = count;
  for (int i = 0; i < count; ++i) calc::PolylinePoints[i + 1] = points[static_cast<std::size_t>(i)];
}

struct TReferenceDesign {
  std::string Name;
  void (*Set)();  // on top of the default design
};

inline const std::vector<TReferenceDesign>& ReferenceDesigns() {
  using namespace calc;
  constexpr Real Pi = std::numbers::pi_v<Real>;
  static const std::vector<TReferenceDesign> designs = {
      {"default", [] {}},
      {"z1_100", [] { NcPair.z1 = 100; }},
      {"undercut_z1_11", [] { NcPair.z1 = 11; }},
      {"undercut_z1_12", [] { NcPair.z1 = 12; }},
      {"polyline_360", [] { SetPolylineEllipse(360); }},
      {"polyline_1000", [] { SetPolylineEllipse(1000); }},
      {"octagon", [] {
         CurveType = CurvePolygon;
         PolygonCurve = {8, 0, 100};
         NcPair.ModuleMode = 2;
       }},
      {"hexagon_bores", [] {
         CurveType = CurvePolygon;
         PolygonCurve.Corners = 6;
         SpurGearData.BoreDiameter[1] = 20;
         SpurGearData.BoreDiameter[2] = 16;
       }},
      {"eccentric_bores", [] {
         CurveType = CurveEccentric;
         EccentricCurve = {100, 10};
         SpurGearData.BoreDiameter[1] = 20;
         SpurGearData.BoreDiameter[2] = 16;
       }},
      {"focal_ellipse_bores", [] {
         CurveType = CurveFormula;
         PieceCount = 1;
         FormulaPieces[1] = {360, "40/(1-0.5*cos(X))"};
         NcPair.z1 = 31;
         NcPair.ModuleMode = 2;
         SpurGearData.BoreDiameter[1] = 20;
         SpurGearData.BoreDiameter[2] = 16;
       }},
      {"formula_pieces", [] {
         CurveType = CurveFormula;
         PieceCount = 2;
         FormulaPieces[1] = {180, "50+6*SIN(X)"};
         FormulaPieces[2] = {360, "50+3*SIN(X)+2*SQR(SIN(X))"};
       }},
      {"sine", [] {
         CurveType = CurveSine;
         SineCurve = {50, 4, 3};
       }},
      {"sine_linear", [] { CurveType = CurveSineLinear; }},
      {"polynomial", [] {  // r = 50 + 1.5 phi (2 pi - phi)
         CurveType = CurvePolynomial;
         PointCount = 3;
         common::EquationMatrix.rhs[1] = 50;
         common::EquationMatrix.rhs[2] = 3 * Pi;
         common::EquationMatrix.rhs[3] = -1.5L;
       }},
      {"micro_module", [] {  // teeth of module 0.037 mm on an ellipse 2.4 mm across, 0.2 mm wide
         EllipseCurve = {1.2L, 1.0L}, NcPair.z1 = 60, NcPair.ModuleMode = 2;
         SpurGearData.FaceWidth = 0.2L, SpurGearData.GearFaceWidth.fill(0.2L);
       }},
      {"point_fit", [] {  // through five points, its ends meeting at a kink
         CurveType = CurvePointFit;
         const Real r[] = {50, 56, 52, 44, 50};
         PointCount = 5;
         for (int i = 1; i <= 5; ++i) FitPoints[i] = {(i - 1) * Pi / 2, r[i - 1]};
         FitPolynomialToPoints();
       }},
  };
  return designs;
}

// Sets the reference design up (not yet calculated).
inline void SetReferenceDesign(const TReferenceDesign& design) {
  SetDefaultDesign();
  design.Set();
}

}  // namespace drawingtest
