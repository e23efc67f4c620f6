// The global records of the noncircular gear calculation: the pair
// (NcPair), the pitch-curve family of gear 1 with one parameter record per
// family, the formula pieces and point tables of the freely defined curves,
// the results of the position sweep, and the name tables of the input forms
// and reports. The calculation routines take no arguments and work on these
// records (pitch_curve.cpp, centre_distance.cpp, sine_linear.cpp and the pair
// calculation); the spur-gear kernel's own data set is SpurGearData
// (spur_gear_data.h). SetNoncircularDefaults gives every record its start
// value; the member initialisers below already hold the same values.
#pragma once

#include <cstdint>
#include <numbers>
#include <string>

#include "common/range_array.h"
#include "common/real.h"

namespace calc {

struct TSpurGearData;

// ---- The noncircular pair -------------------------------------------------
// Field order as stored in the data file.
struct TNcPair {
  std::int32_t z1 = 30;            // tooth number of gear 1
  std::int32_t z2 = 30;            // z1 * k, set by the calculation
  Real a = 0;                      // centre distance (IterateCentreDistance)
  std::int32_t k = 1;              // turns of gear 1 per turn of gear 2
  Real U1 = 0;                     // circumference of pitch curve 1
  Real rnom1 = 0;                  // U1 / (2 pi)
  Real rnom2 = 0;                  // k * rnom1
  Real imin = 0;                   // r2min / r1max
  Real imax = 0;                   // r2max / r1min
  std::uint16_t ModuleMode = 1;    // 2 constant module U1/(pi z1); 1 module 2r(phi)/z1
};
extern TNcPair NcPair;

// ---- Pitch-curve family of gear 1 ----------------------------------------
enum CurveTypeCode : std::uint16_t {
  CurveFormula = 1,
  CurveEllipse = 2,
  CurveSine = 3,
  CurveSineLinear = 4,
  CurvePolygon = 5,
  CurvePolynomial = 6,
  CurvePointFit = 7,
  CurveEccentric = 8,
  CurvePolyline = 9,
};
extern std::uint16_t CurveType;  // a CurveTypeCode; other values: circle r = 100

// Ellipse centred on the rotation axis.
struct TEllipseCurve {
  Real a = 60;  // semi-axis in the direction phi = 0
  Real b = 50;  // semi-axis at phi = 90 degrees
};
extern TEllipseCurve EllipseCurve;

struct TSineCurve {
  Real rw0 = 50;        // mean radius
  Real A = 5;           // amplitude
  std::int32_t N = 1;   // waves per turn
};
extern TSineCurve SineCurve;
// The sine curve's formula as the printouts and the sheet write it, the
// wave count in the argument: "50 + 5 * sin (phi)", "50 + 5 * sin (2 phi)";
// the numbers come formatted by the caller.
std::string SineFormulaText(const std::string& rw0, const std::string& A, std::int32_t N);

// Linear rise up to PhiLin, then a sine arc; B, Q and Offset are prepared
// by PrepareSineLinearCurve (sine_linear.h) before any radius is asked for.
struct TSineLinearCurve {
  Real rw0 = 50;
  Real A = 5;
  Real PhiLin = 220;   // end of the linear part, degrees
  Real B = 0;          // amplitude of the sine part
  Real Reserved = 0;   // stored in the data file, read by no routine
  Real Q = 0;          // degrees, from GetPhiIter
  Real Theta = 0;      // sine argument of the last radius query, degrees
  Real Offset = 0;     // degrees
};
extern TSineLinearCurve SineLinearCurve;

// Regular polygon with straight sides; a corner lies at phi = 0.
struct TPolygonCurve {
  std::uint16_t Corners = 6;
  Real De = 120;  // circumcircle diameter (not used by the radius)
  Real Di = 100;  // incircle diameter
};
extern TPolygonCurve PolygonCurve;

// Circular disc of diameter D turning about a point at distance E from its
// centre.
struct TEccentricCurve {
  Real D = 100;
  Real E = 10;
};
extern TEccentricCurve EccentricCurve;

// ---- Formula pieces (curve type 1) ----------------------------------------
// Piece i (1..PieceCount) covers the angles above the end angle of piece
// i-1 up to and including its own EndAngle; record 0 marks the start (0).
// The formula is an expression in X, the drive angle of gear 1 in radians.
inline constexpr int MaxFormulaPieces = 10;
// Longest formula text accepted from the piece editor or a data file: every
// radius of a formula curve evaluates it, so a text of unbounded length
// would make opening a design take minutes.
inline constexpr std::size_t MaxFormulaLength = 4096;
struct TFormulaPiece {
  Real EndAngle = 360;   // degrees
  std::string Formula;
};
extern std::int32_t PieceCount;  // 0..MaxFormulaPieces
extern RangeArray<TFormulaPiece, 0, MaxFormulaPieces> FormulaPieces;

// ---- Point tables (curve types 6, 7 and 9) --------------------------------
struct TCurvePoint {
  Real Phi = 0;  // radians
  Real R = 0;    // radius, mm
};

// Points of the polynomial through points (type 7). PointCount is also the
// number of polynomial coefficients of types 6 and 7; the coefficients are
// the solution vector of the shared equation system (EquationMatrix.rhs).
inline constexpr int MaxFitPoints = 50;
extern RangeArray<TCurvePoint, 1, MaxFitPoints> FitPoints;
extern std::int32_t PointCount;

inline constexpr int MaxPolylinePoints = 1000;
extern RangeArray<TCurvePoint, 1, MaxPolylinePoints> PolylinePoints;
extern std::int32_t PolylineCount;
extern std::uint8_t LinearInterpolation;  // 1 linear between points, 0 staircase

// ---- Results of the noncircular calculation --------------------------------
struct TRadiusExtremes {
  Real r1min = 0;
  Real r1max = 0;
  Real r2min = 0;
  Real r2max = 0;
};
extern TRadiusExtremes RadiusExtremes;

// Extremes of the safeties over the position sweep; PhiAt... is the drive
// angle of gear 1 (radians) where the minimum first occurred. The largest
// resonance ratio of the sweep is kept with the angle where it first
// occurred (0 when no position was rated).
struct TSafetyExtremes {
  GearArray<Real> SFmin{};
  GearArray<Real> SFmax{};
  GearArray<Real> SHmin{};
  GearArray<Real> SHmax{};
  GearArray<Real> PhiAtSFmin{};
  GearArray<Real> PhiAtSHmin{};
  Real ResonanceRatioMax = 0;
  Real PhiAtResonanceRatioMax = 0;
};
extern TSafetyExtremes SafetyExtremes;

inline constexpr Real DefaultAlphaRad = 20 * std::numbers::pi_v<Real> / 180;
extern Real AlphaRad;                    // pressure angle in radians
extern std::uint8_t SkipPositionSweep;   // 1: stop after the centre distance
// 1: the sweep computes every position in full, measurements and picture
// values included; 0 (the default) computes those for the last position
// only, the one whose data set the run leaves. The ratings and the
// messages (but for those of the measurements) agree.
extern std::uint8_t FullPositionSweep;
// Set by the sweep while it rates a position whose data set the next
// position overwrites: the kernel's steps then leave out values that only
// a printout reads (series names, measurements), but say every message a
// complete position says. Never set outside the sweep.
extern bool RatingOnly;
extern Real PhiView;                     // rotation of gear 1 in the pair picture, degrees
// Drive angle of gear 1 (radians) of the substitute spur pair whose data
// set SpurGearData last received: the position a spur printout describes.
extern Real SubstitutePairPhi;

// ---- Tooth-contour work records ------------------------------------------
// While the teeth of a gear are drawn, record 1 keeps the tip end and
// record 2 the root end of the last flank drawn, so that the next flank of
// the other kind can close the tip land and the root land.
struct TContourWork {
  Real X = 0;
  Real Y = 0;
  std::uint16_t Flank = 0;  // kind of the flank that left the point, 0 none
};
extern GearArray<RangeArray<TContourWork, 1, 2>> ToothContourWork;

// ---- Name tables of the input forms and reports ---------------------------
extern const RangeArray<std::string, 1, 3> HelixHandNames;
extern const RangeArray<std::string, 0, 8> MaterialTypeNames;       // 0 empty
extern const RangeArray<std::string, 0, 7> HeatTreatmentNames;
extern const RangeArray<std::string, 0, 7> HeatTreatmentShortNames;
extern const RangeArray<std::string, 0, 7> HeatTreatmentSideTexts;  // "2.5", "1.6", "1.1"
extern const RangeArray<std::string, 0, 1> ToleranceStandardNames;
extern const RangeArray<std::string, 1, 11> DeviationSeriesNames;
extern const RangeArray<std::string, 1, 8> CentreDistanceFieldNames;
extern const RangeArray<std::string, 1, 4> CalcMethodNames;
extern const RangeArray<std::string, 1, 4> ToolProfileNames;

// ---- Start values ----------------------------------------------------------
// Creates the formula-piece records and sets every record of this file to
// its start value; in SpurGearData it sets the noncircular overrides of the
// kernel defaults (profile shift, centre distance, helix angle, face widths
// and the tool of both gears).
void SetNoncircularDefaults();

// The SpurGearData part of SetNoncircularDefaults, on any data set (also
// used to give the global data set its start value at program load).
void ApplyNoncircularSpurDefaults(TSpurGearData& data);

// Zeroes ToothContourWork (before the teeth of a new contour are drawn).
void ClearContourWork();

}  // namespace calc
