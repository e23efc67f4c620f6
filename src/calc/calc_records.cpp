// The global records of the noncircular calculation with their start values
// and the name tables of the input forms and reports (calc_records.h). The
// spur-gear data set itself lives in spur_gear_data.cpp; this file applies
// only the noncircular overrides of its kernel defaults.
#include "calc/calc_records.h"

#include <initializer_list>

#include "calc/spur_gear_data.h"

namespace calc {

namespace {

RangeArray<TFormulaPiece, 0, MaxFormulaPieces> StartFormulaPieces() {
  RangeArray<TFormulaPiece, 0, MaxFormulaPieces> pieces;
  pieces.fill(TFormulaPiece{});
  pieces[0].EndAngle = 0;
  return pieces;
}

// A name table filled in index order.
template <int Lo, int Hi>
RangeArray<std::string, Lo, Hi> NameTable(std::initializer_list<const char*> names) {
  RangeArray<std::string, Lo, Hi> table;
  int i = Lo;
  for (const char* name : names) table[i++] = name;
  return table;
}

}  // namespace

TNcPair NcPair;
std::uint16_t CurveType = CurveEllipse;
TEllipseCurve EllipseCurve;
TSineCurve SineCurve;

std::string SineFormulaText(const std::string& rw0, const std::string& A, std::int32_t N) {
  const std::string argument = N == 1 ? "phi" : std::to_string(N) + " phi";
  return "f (phi) = " + rw0 + " + " + A + " * sin (" + argument + ")";
}
TSineLinearCurve SineLinearCurve;
TPolygonCurve PolygonCurve;
TEccentricCurve EccentricCurve;

std::int32_t PieceCount = 0;
RangeArray<TFormulaPiece, 0, MaxFormulaPieces> FormulaPieces = StartFormulaPieces();

RangeArray<TCurvePoint, 1, MaxFitPoints> FitPoints;
std::int32_t PointCount = 0;
RangeArray<TCurvePoint, 1, MaxPolylinePoints> PolylinePoints;
std::int32_t PolylineCount = 0;
std::uint8_t LinearInterpolation = 1;

TRadiusExtremes RadiusExtremes;
TSafetyExtremes SafetyExtremes;
Real AlphaRad = DefaultAlphaRad;
std::uint8_t SkipPositionSweep = 0;
std::uint8_t FullPositionSweep = 0;
bool RatingOnly = false;
Real PhiView = 0;
Real SubstitutePairPhi = 0;
GearArray<RangeArray<TContourWork, 1, 2>> ToothContourWork;

const RangeArray<std::string, 1, 3> HelixHandNames = NameTable<1, 3>({"right-hand", "left-hand", "free"});

const RangeArray<std::string, 0, 8> MaterialTypeNames = NameTable<0, 8>({
    "",
    "Low carbon steel (St)",
    "Case-hardening steel (Eh)",
    "Heat-treatable steel (V)",
    "Nodular cast iron GGG (perl.,bai.)",
    "Nodular cast iron GGG (ferritic)",
    "Gray-cast iron (GG)",
    "Black malleable cast iron (GTS perl.)",
    "others ...",
});

const RangeArray<std::string, 0, 7> HeatTreatmentNames = NameTable<0, 7>({
    "none",
    "heat-treated (V)",
    "case-hardened (Eh)",
    "induction-hardened (IF)",
    "flame-hardened (IF)",
    "gas-nitrided (NT)",
    "bath-nitrided (NT)",
    "nitrocar.(NV)",
});

const RangeArray<std::string, 0, 7> HeatTreatmentShortNames = NameTable<0, 7>({
    "none",
    "heat-treat.",
    "case-hard.",
    "ind.hard.",
    "flame-hard.",
    "gas-nitr.",
    "bath-nitr.",
    "nitrocarb.",
});

const RangeArray<std::string, 0, 7> HeatTreatmentSideTexts = NameTable<0, 7>({
    "2.5", "2.5", "2.5", "2.5", "2.5", "1.6", "1.6", "1.1",
});

const RangeArray<std::string, 0, 1> ToleranceStandardNames = NameTable<0, 1>({"DIN 3961", "ISO 1328"});

const RangeArray<std::string, 1, 11> DeviationSeriesNames = NameTable<1, 11>({
    "a", "ab", "b", "bc", "c", "cd", "d", "e", "f", "g", "h",
});

const RangeArray<std::string, 1, 8> CentreDistanceFieldNames = NameTable<1, 8>({
    "js 4", "js 5", "js 6", "js 7", "js 8", "js 9", "js10", "js11",
});

const RangeArray<std::string, 1, 4> CalcMethodNames = NameTable<1, 4>({
    "DIN 3990-1,2,3",
    "DIN 3990-41",
    "Input K,Y,Z",
    "ISO 6336:2006-2008",
});

const RangeArray<std::string, 1, 4> ToolProfileNames = NameTable<1, 4>({
    "haP0/mn=1.25  raP0/mn=0.25  hfP0/mn=1",
    "haP0/mn=1.25  raP0/mn=0.38  hfP0/mn=1",
    "haP0/mn=1.4  raP0/mn=0.4  al.pr=6deg  hfP0/mn=1",
    "...",
});

void ApplyNoncircularSpurDefaults(TSpurGearData& data) {
  // The substitute spur pair of every position is a straight spur pair
  // without profile shift, cut by a plain rack (tool kind 4).
  data.ProfileShift.fill(0);
  data.CentreDistance = 300;
  data.HelixAngle = 0;
  data.FaceWidth = 20;
  data.GearFaceWidth.fill(20);
  for (int i = 1; i <= 2; ++i) {
    data.ToolKindCode[i] = 4;
    data.hfP0Factor[i] = 1.0L;
    data.haP0Factor[i] = 1.25L;
    data.rhoaP0Factor[i] = 0.1L;
    data.prP0Factor[i] = 0;
    data.alphaPrP0[i] = 0;
    data.alphaP0[i] = data.PressureAngle;
    data.hfP0FactorUsed[i] = data.hfP0Factor[i];
    data.ToolProfileName[i] = "Normal";
  }
}

void SetNoncircularDefaults() {
  FormulaPieces = StartFormulaPieces();
  PieceCount = 0;

  NcPair = TNcPair{};
  CurveType = CurveEllipse;
  EllipseCurve = TEllipseCurve{};
  SineCurve = TSineCurve{};
  SineLinearCurve = TSineLinearCurve{};
  PolygonCurve = TPolygonCurve{};
  EccentricCurve = TEccentricCurve{};

  FitPoints.fill(TCurvePoint{});
  PointCount = 0;
  PolylinePoints.fill(TCurvePoint{});
  PolylineCount = 0;
  LinearInterpolation = 1;

  RadiusExtremes = TRadiusExtremes{};
  SafetyExtremes = TSafetyExtremes{};
  AlphaRad = DefaultAlphaRad;
  SkipPositionSweep = 0;
  FullPositionSweep = 0;
  PhiView = 0;
  SubstitutePairPhi = 0;

  ApplyNoncircularSpurDefaults(SpurGearData);
}

void ClearContourWork() {
  for (int i = 1; i <= 2; ++i) ToothContourWork[i].fill(TContourWork{});
}

}  // namespace calc
