// Writer and reader of the design data file; see data_file.h. The two walk
// the same 48 groups and the closing strength-inputs section in the same
// order; a change to one must be made to the other. Reals go through WriteRealLine (whole values below 1 as integers,
// every other value with 7 decimals and a point) and the polynomial
// coefficients through WriteRealLine14, so the text does not depend on the
// configured decimal sign or digits.
#include "app/data_file.h"

#include <algorithm>
#include <exception>
#include <memory>

#include "app/data_file_lines.h"
#include "app/design_extras.h"
#include "app/documentation/change_records.h"
#include "app/documentation/document_links.h"
#include "app/inputs/lubricant_input.h"
#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "calc/spur_gear_data.h"
#include "common/design_documentation.h"
#include "common/equation_matrix.h"
#include "common/file_checks.h"
#include "common/file_dialogs.h"
#include "common/file_utils.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/text_file.h"
#include "platform/user_dialogs.h"

namespace app {

namespace {

using calc::SpurGearData;
using common::WriteIntLine;
using common::WriteRealLine;
using common::WriteTextLine;

int Clamped(long long n, int max) { return static_cast<int>(std::clamp<long long>(n, 0, max)); }

// The calculation forms z2 = z1 * k (k up to 100) and z1 + z2 in 32-bit
// integers; a tooth number beyond this overflows them.
constexpr long long MaxToothNumber = 2147483647LL / 101;

// The accuracy grades of the flank-tolerance standards (DIN 3961 1..12,
// ISO 1328 0..12). The tolerances raise a grade step factor to the power of
// the grade one multiplication at a time, so a grade of millions from a
// damaged file would keep the calculation busy for hours and give infinite
// tolerances.
constexpr long long MinAccuracyGrade = 0;
constexpr long long MaxAccuracyGrade = 12;

// A whole-number line within lo..hi into a field of any integer type.
template <class Int>
void ReadIntWithin(DataFileLines& in, Int& n, long long lo, long long hi) {
  long long value = 0;
  in.ReadWhole(value, lo, hi);
  if (!in.Failed()) n = static_cast<Int>(value);
}

// ---- Path choice --------------------------------------------------------------

struct ChosenPath {
  std::string path;
  std::string name;       // becomes CurrentFileName after success; empty: unchanged
  std::string directory;  // becomes DataDirectory after success (dialog only)
  bool fromDialog = false;
};


// The path of a name: empty, the save or open dialog in DataDirectory (the
// file chosen is the file written or read, and names the design and its
// directory; Cancel or an empty choice set AbortFlag); the current
// design's name, saved: its file; without '.', DataDirectory + name +
// ".vb4"; with '.', the name itself.
ChosenPath ChoosePath(const std::string& name, bool save) {
  ChosenPath chosen;
  if (name.empty()) {
    const std::optional<std::string> answer = common::AskDesignFile(save);
    if (!answer) return chosen;
    chosen.fromDialog = true;
    chosen.directory = common::FileDirPart(*answer);
    chosen.name = common::DesignNameOfFile(*answer);
    chosen.path = *answer;
  } else if (save && name == common::CurrentFileName) {
    // The current design's own name is its file, where the design came
    // from: a name with dots of its own ("pump.v1") is no path.
    chosen.path = common::DesignFilePath(common::DataDirectory, name);
  } else if (name.find('.') == std::string::npos) {
    // Opening by a bare name also names the design.
    if (!save) chosen.name = name;
    chosen.path = common::DesignFilePath(common::DataDirectory, name + "." + common::DataFileExtension);
  } else {
    chosen.path = name;
  }
  return chosen;
}

// The marker of the section after the last group. Files written before it
// existed end with the last group; their strength inputs keep the start
// values.
const std::string StrengthInputsMarker = "strength inputs";

// ---- Writing --------------------------------------------------------------------

void WriteCharLine(char answer) { WriteTextLine(OneLineText(std::string(1, answer == '\0' ? 'N' : answer))); }

void WriteDesign() {
  const auto& sg = SpurGearData;
  common::WriteFileHeader();

  WriteRealLine(calc::NcPair.a);                                     // 1
  for (int g = 1; g <= 2; ++g) {                                     // 2
    WriteTextLine(OneLineText(sg.DrawingName[g]));
    WriteTextLine(OneLineText(sg.DrawingNumber[g]));
  }
  WriteRealLine(calc::AlphaRad);                                     // 3
  WriteIntLine(calc::NcPair.z1);                                     // 4
  WriteIntLine(calc::NcPair.z2);
  WriteTextLine("Curve");                                            // 5
  const int pieces = Clamped(calc::PieceCount, calc::MaxFormulaPieces);
  WriteIntLine(pieces);                                              // 6
  for (int j = 1; j <= pieces; ++j) {
    WriteIntLine(j);
    WriteRealLine(calc::FormulaPieces[j].EndAngle);
    WriteTextLine(OneLineText(calc::FormulaPieces[j].Formula));
  }
  WriteRealLine(calc::EllipseCurve.a);                               // 7
  WriteRealLine(calc::EllipseCurve.b);
  WriteRealLine(calc::SineCurve.rw0);                                // 8
  WriteRealLine(calc::SineCurve.A);
  WriteIntLine(calc::CurveType);                                     // 9
  WriteRealLine(calc::SineLinearCurve.rw0);                          // 10
  WriteRealLine(calc::SineLinearCurve.A);
  WriteRealLine(calc::SineLinearCurve.PhiLin);
  WriteRealLine(sg.PressureAngle);                                   // 11
  WriteRealLine(sg.FaceWidth);
  WriteRealLine(sg.HelixAngle);
  for (int g = 1; g <= 2; ++g) {                                     // 12
    WriteRealLine(0);
    WriteRealLine(0);
    WriteRealLine(sg.GearFaceWidth[g]);
    WriteIntLine(sg.AccuracyGrade[g]);
    WriteIntLine(sg.AllowanceSeries[g]);
    WriteIntLine(sg.ToleranceSeries[g]);
    WriteRealLine(sg.MachiningAllowanceTol[g]);
  }
  WriteRealLine(sg.n[1]);                                            // 13
  WriteRealLine(sg.P);
  WriteIntLine(sg.ContactPatternCode);                               // 14
  WriteIntLine(sg.BearingArrangement);
  WriteRealLine(sg.l1);
  WriteRealLine(sg.s1);
  WriteRealLine(sg.RzFlank[1]);
  WriteRealLine(sg.KAH);
  WriteRealLine(sg.dsh);
  WriteCharLine(sg.DoubleHelicalAnswer);                             // 15
  WriteCharLine(sg.SupportingEffectAnswer);
  WriteCharLine(sg.LappingInAnswer);
  WriteCharLine(sg.HelixCorrectionAnswer);
  WriteCharLine(sg.CentralCrowningAnswer);
  WriteCharLine(sg.EndReliefAnswer);
  WriteRealLine(sg.KAF);                                             // 16
  for (int g = 1; g <= 2; ++g) {                                     // 17
    WriteRealLine(sg.AsnUpper[g]);
    WriteRealLine(sg.AsnLower[g]);
  }
  for (int g = 1; g <= 2; ++g) {                                     // 18
    WriteTextLine(OneLineText(MaterialName[g]));
    WriteIntLine(sg.HeatTreatment[g]);
    WriteRealLine(sg.SigmaFE[g]);
    WriteRealLine(sg.SigmaHlim[g]);
    WriteRealLine(sg.E[g]);
    WriteRealLine(sg.mue[g]);
    WriteRealLine(sg.rho[g]);
    WriteRealLine(sg.BodyInnerDiameter[g]);
    WriteRealLine(sg.HB[g]);
  }
  WriteIntLine(sg.MaterialType[1]);                                  // 19
  WriteIntLine(sg.MaterialType[2]);
  WriteIntLine(sg.CalcMethod);                                       // 20
  for (Real factor : {sg.KV, sg.KHbeta, sg.KFbeta, sg.KHalpha, sg.KFalpha, sg.ZH, sg.ZB, sg.Zeps, sg.Zbeta})
    WriteRealLine(factor);                                           // 21
  WriteRealLine(1);                                                  // 22
  WriteRealLine(sg.ZW[1]);                                           // 23
  WriteRealLine(sg.ZW[2]);
  for (Real factor : {sg.ZX[1], sg.ZX[2], sg.YF[1], sg.YF[2], sg.YS[1], sg.YS[2], sg.Ybeta, sg.YdrelT[1],
                      sg.YdrelT[2], sg.YRrelT[1], sg.YX[1], sg.YX[2]})
    WriteRealLine(factor);                                           // 24
  WriteRealLine(sg.nu40);                                            // 25
  for (int twice = 0; twice < 2; ++twice) {                          // 26
    WriteRealLine(sg.ZL);
    WriteRealLine(sg.ZV);
    WriteRealLine(sg.ZR);
  }
  for (int g = 1; g <= 2; ++g) {                                     // 27
    WriteRealLine(sg.MeshesPerRev[g]);
    WriteRealLine(sg.LoadAlternations[g]);
  }
  WriteRealLine(sg.YM[1]);                                           // 28: YA
  WriteRealLine(sg.YM[2]);
  WriteIntLine(MaterialRecNo[1]);                                    // 29
  WriteIntLine(MaterialRecNo[2]);
  WriteTextLine(OneLineText(ToothCorrectionText[1]));                // 30
  WriteTextLine(OneLineText(ToothCorrectionText[2]));
  WriteRealLine(sg.MachiningAllowance[1]);                           // 31
  WriteRealLine(sg.MachiningAllowance[2]);
  WriteIntLine(sg.HelixHand[1]);                                     // 32
  WriteTextLine(OneLineText(sg.DrawingName2[1]));                    // 33
  WriteTextLine(OneLineText(sg.DrawingName2[2]));
  WriteRealLine(sg.RzRoot[1]);                                       // 34
  WriteRealLine(sg.RzFlank[2]);
  WriteRealLine(sg.RzRoot[2]);
  WriteRealLine(sg.YRrelT[2]);
  WriteChangesSection();                                             // 35
  WriteDocumentsSection();                                           // 36
  for (int g = 1; g <= 2; ++g) {                                     // 37
    WriteRealLine(sg.hfP0Factor[g]);
    WriteIntLine(sg.ToolKindCode[g]);
    WriteRealLine(sg.haP0Factor[g]);
    WriteRealLine(sg.rhoaP0Factor[g]);
    WriteRealLine(sg.prP0Factor[g]);
    WriteRealLine(sg.alphaPrP0[g]);
    WriteRealLine(sg.hfP0FactorUsed[g]);
    WriteRealLine(sg.alphaP0[g]);
    WriteIntLine(ToolRecNo[g]);
    WriteTextLine(OneLineText(sg.ToolProfileName[g]));
  }
  WriteTextLine(OneLineText(sg.DrawingName2[1]));                    // 38
  WriteTextLine(OneLineText(sg.DrawingName2[2]));
  WriteIntLine(calc::NcPair.k);                                      // 39
  WriteIntLine(calc::NcPair.ModuleMode);
  WriteIntLine(calc::PolygonCurve.Corners);                          // 40
  WriteRealLine(calc::PolygonCurve.Di);
  WriteRealLine(calc::PolygonCurve.De);
  const int points = Clamped(calc::PointCount, calc::MaxFitPoints);
  WriteIntLine(points);                                              // 41
  for (int i = 1; i <= points; ++i) common::WriteRealLine14(common::EquationMatrix.rhs[i]);
  for (int i = 1; i <= points; ++i) WriteRealLine(calc::FitPoints[i].Phi);
  for (int i = 1; i <= points; ++i) WriteRealLine(calc::FitPoints[i].R);
  WriteIntLine(calc::SineCurve.N);                                   // 42
  WriteIso7200Header();                                              // 43
  WriteRealLine(sg.BoreDiameter[1]);                                 // 44
  WriteRealLine(sg.BoreDiameter[2]);
  const int polyline = Clamped(calc::PolylineCount, calc::MaxPolylinePoints);
  WriteIntLine(polyline);                                            // 45
  for (int i = 1; i <= polyline; ++i) {
    WriteRealLine(calc::PolylinePoints[i].Phi);
    WriteRealLine(calc::PolylinePoints[i].R);
  }
  common::WriteBoolLine(calc::LinearInterpolation != 0);             // 46
  WriteIntLine(sg.LoadChoice);                                       // 47
  WriteRealLine(sg.T[1]);
  WriteRealLine(calc::EccentricCurve.D);                             // 48
  WriteRealLine(calc::EccentricCurve.E);
  WriteTextLine(StrengthInputsMarker);                               // strength inputs
  WriteIntLine(sg.LifeFactorsInput);
  for (int g = 1; g <= 2; ++g) {
    WriteRealLine(sg.ZNTInput[g]);
    WriteRealLine(sg.YNTInput[g]);
  }
  common::WriteBoolLine(sg.GrindingNotch);
  WriteRealLine(sg.tgrg[1]);
  WriteRealLine(sg.tgrg[2]);
  common::WriteBoolLine(sg.FshInput);
  WriteRealLine(sg.fsh);
  common::WriteBoolLine(sg.FmaInput);
  WriteRealLine(sg.fma);
}

// ---- Reading --------------------------------------------------------------------

void ReadDesign(DataFileLines& in) {
  auto& sg = SpurGearData;
  for (int i = 1; i <= 4; ++i) in.Skip();
  for (int i = 1; i <= 3; ++i) in.ReadText(common::SheetTexts[i]);

  in.ReadReal(calc::NcPair.a);                                       // 1
  for (int g = 1; g <= 2; ++g) {                                     // 2
    in.ReadText(sg.DrawingName[g]);
    in.ReadText(sg.DrawingNumber[g]);
  }
  in.ReadReal(calc::AlphaRad);                                       // 3
  ReadIntWithin(in, calc::NcPair.z1, -MaxToothNumber, MaxToothNumber);  // 4
  ReadIntWithin(in, calc::NcPair.z2, -100 * MaxToothNumber, 100 * MaxToothNumber);
  in.ExpectMarker("Curve");                                          // 5
  int pieces = 0;
  in.ReadCount(pieces, calc::MaxFormulaPieces, "formula pieces");    // 6
  for (int j = 1; j <= pieces && !in.Failed(); ++j) {
    long long number = 0;
    in.ReadWhole(number, 0, calc::MaxFormulaPieces);
    in.ReadReal(calc::FormulaPieces[j].EndAngle);
    in.ReadText(calc::FormulaPieces[j].Formula);
    // Every radius of a formula curve evaluates the text; an endless line
    // would keep the recalculation after opening busy for minutes.
    if (calc::FormulaPieces[j].Formula.size() > calc::MaxFormulaLength)
      in.Fail("formula longer than " + std::to_string(calc::MaxFormulaLength) + " characters !");
  }
  calc::PieceCount = pieces;
  in.ReadReal(calc::EllipseCurve.a);                                 // 7
  in.ReadReal(calc::EllipseCurve.b);
  in.ReadReal(calc::SineCurve.rw0);                                  // 8
  in.ReadReal(calc::SineCurve.A);
  in.ReadInt(calc::CurveType);                                       // 9
  in.ReadReal(calc::SineLinearCurve.rw0);                            // 10
  in.ReadReal(calc::SineLinearCurve.A);
  in.ReadReal(calc::SineLinearCurve.PhiLin);
  in.ReadReal(sg.PressureAngle);                                     // 11
  in.ReadReal(sg.FaceWidth);
  in.ReadReal(sg.HelixAngle);
  for (int g = 1; g <= 2; ++g) {                                     // 12
    Real constant = 0;
    in.ReadReal(constant);
    in.ReadReal(constant);
    in.ReadReal(sg.GearFaceWidth[g]);
    ReadIntWithin(in, sg.AccuracyGrade[g], MinAccuracyGrade, MaxAccuracyGrade);
    in.ReadInt(sg.AllowanceSeries[g]);
    in.ReadInt(sg.ToleranceSeries[g]);
    in.ReadReal(sg.MachiningAllowanceTol[g]);
  }
  in.ReadReal(sg.n[1]);                                              // 13
  in.ReadReal(sg.P);
  in.ReadInt(sg.ContactPatternCode);                                 // 14
  in.ReadInt(sg.BearingArrangement);
  in.ReadReal(sg.l1);
  in.ReadReal(sg.s1);
  in.ReadReal(sg.RzFlank[1]);
  in.ReadReal(sg.KAH);
  in.ReadReal(sg.dsh);
  in.ReadChar(sg.DoubleHelicalAnswer);                               // 15
  in.ReadChar(sg.SupportingEffectAnswer);
  in.ReadChar(sg.LappingInAnswer);
  in.ReadChar(sg.HelixCorrectionAnswer);
  in.ReadChar(sg.CentralCrowningAnswer);
  in.ReadChar(sg.EndReliefAnswer);
  in.ReadReal(sg.KAF);                                               // 16
  for (int g = 1; g <= 2; ++g) {                                     // 17
    in.ReadReal(sg.AsnUpper[g]);
    in.ReadReal(sg.AsnLower[g]);
  }
  for (int g = 1; g <= 2; ++g) {                                     // 18
    in.ReadText(MaterialName[g]);
    in.ReadInt(sg.HeatTreatment[g]);
    in.ReadReal(sg.SigmaFE[g]);
    in.ReadReal(sg.SigmaHlim[g]);
    in.ReadReal(sg.E[g]);
    in.ReadReal(sg.mue[g]);
    in.ReadReal(sg.rho[g]);
    in.ReadReal(sg.BodyInnerDiameter[g]);
    in.ReadReal(sg.HB[g]);
  }
  in.ReadInt(sg.MaterialType[1]);                                    // 19
  in.ReadInt(sg.MaterialType[2]);
  in.ReadInt(sg.CalcMethod);                                         // 20
  for (Real* factor : {&sg.KV, &sg.KHbeta, &sg.KFbeta, &sg.KHalpha, &sg.KFalpha, &sg.ZH, &sg.ZB, &sg.Zeps, &sg.Zbeta})
    in.ReadReal(*factor);                                            // 21
  Real constant = 0;
  in.ReadReal(constant);                                             // 22
  // 23: one factor per gear; a file that held one factor for the pair has
  // it twice and reads as before.
  in.ReadReal(sg.ZW[1]);
  in.ReadReal(sg.ZW[2]);
  for (Real* factor : {&sg.ZX[1], &sg.ZX[2], &sg.YF[1], &sg.YF[2], &sg.YS[1], &sg.YS[2], &sg.Ybeta, &sg.YdrelT[1],
                       &sg.YdrelT[2], &sg.YRrelT[1], &sg.YX[1], &sg.YX[2]})
    in.ReadReal(*factor);                                            // 24
  in.ReadReal(sg.nu40);                                              // 25
  for (int twice = 0; twice < 2; ++twice) {                          // 26: the later ones stay
    in.ReadReal(sg.ZL);
    in.ReadReal(sg.ZV);
    in.ReadReal(sg.ZR);
  }
  for (int g = 1; g <= 2; ++g) {                                     // 27
    in.ReadReal(sg.MeshesPerRev[g]);
    in.ReadReal(sg.LoadAlternations[g]);
  }
  in.ReadReal(sg.YM[1]);                                            // 28: YA
  in.ReadReal(sg.YM[2]);
  in.ReadInt(MaterialRecNo[1]);                                      // 29
  in.ReadInt(MaterialRecNo[2]);
  in.ReadText(ToothCorrectionText[1]);                               // 30
  in.ReadText(ToothCorrectionText[2]);
  in.ReadReal(sg.MachiningAllowance[1]);                             // 31
  in.ReadReal(sg.MachiningAllowance[2]);
  in.ReadInt(sg.HelixHand[1]);                                       // 32
  in.ReadText(sg.DrawingName2[1]);                                   // 33
  in.ReadText(sg.DrawingName2[2]);
  in.ReadReal(sg.RzRoot[1]);                                         // 34
  in.ReadReal(sg.RzFlank[2]);
  in.ReadReal(sg.RzRoot[2]);
  in.ReadReal(sg.YRrelT[2]);
  if (in.Failed()) return;
  ReadChangesSection(in);                                            // 35
  if (in.Failed()) return;
  ReadDocumentsSection(in);                                          // 36
  for (int g = 1; g <= 2; ++g) {                                     // 37
    in.ReadReal(sg.hfP0Factor[g]);
    in.ReadInt(sg.ToolKindCode[g]);
    in.ReadReal(sg.haP0Factor[g]);
    in.ReadReal(sg.rhoaP0Factor[g]);
    in.ReadReal(sg.prP0Factor[g]);
    in.ReadReal(sg.alphaPrP0[g]);
    in.ReadReal(sg.hfP0FactorUsed[g]);
    in.ReadReal(sg.alphaP0[g]);
    in.ReadInt(ToolRecNo[g]);
    in.ReadText(sg.ToolProfileName[g]);
  }
  in.ReadText(sg.DrawingName2[1]);                                   // 38: the later ones stay
  in.ReadText(sg.DrawingName2[2]);
  // k comes from a spin edit of 1..100; beyond it the closing iteration
  // would sample the curve for hours (or divide by zero for k = 0).
  long long turns = 1;
  in.ReadWhole(turns, 1, 100);                                       // 39
  if (!in.Failed()) calc::NcPair.k = static_cast<std::int32_t>(turns);
  in.ReadInt(calc::NcPair.ModuleMode);
  in.ReadInt(calc::PolygonCurve.Corners);                            // 40
  in.ReadReal(calc::PolygonCurve.Di);
  in.ReadReal(calc::PolygonCurve.De);
  int points = 0;
  in.ReadCount(points, calc::MaxFitPoints, "points");                // 41
  for (int i = 1; i <= points && !in.Failed(); ++i) in.ReadReal(common::EquationMatrix.rhs[i]);
  for (int i = 1; i <= points && !in.Failed(); ++i) in.ReadReal(calc::FitPoints[i].Phi);
  for (int i = 1; i <= points && !in.Failed(); ++i) in.ReadReal(calc::FitPoints[i].R);
  calc::PointCount = points;
  common::EquationMatrix.count = points;
  in.ReadInt(calc::SineCurve.N);                                     // 42
  if (in.Failed()) return;
  ReadIso7200Header(in);                                             // 43
  in.ReadReal(sg.BoreDiameter[1]);                                   // 44
  in.ReadReal(sg.BoreDiameter[2]);
  int polyline = 0;
  in.ReadCount(polyline, calc::MaxPolylinePoints, "polyline points");  // 45
  for (int i = 1; i <= polyline && !in.Failed(); ++i) {
    in.ReadReal(calc::PolylinePoints[i].Phi);
    in.ReadReal(calc::PolylinePoints[i].R);
  }
  calc::PolylineCount = polyline;
  bool linear = true;
  in.ReadBool(linear);                                               // 46
  calc::LinearInterpolation = linear ? 1 : 0;
  in.ReadInt(sg.LoadChoice);                                         // 47
  in.ReadReal(sg.T[1]);
  in.ReadReal(calc::EccentricCurve.D);                               // 48
  in.ReadReal(calc::EccentricCurve.E);
  if (in.Failed() || !in.OptionalMarker(StrengthInputsMarker)) return;
  ReadIntWithin(in, sg.LifeFactorsInput, 0, 1);                      // strength inputs
  for (int g = 1; g <= 2; ++g) {
    in.ReadReal(sg.ZNTInput[g]);
    in.ReadReal(sg.YNTInput[g]);
  }
  in.ReadBool(sg.GrindingNotch);
  in.ReadReal(sg.tgrg[1]);
  in.ReadReal(sg.tgrg[2]);
  in.ReadBool(sg.FshInput);
  in.ReadReal(sg.fsh);
  in.ReadBool(sg.FmaInput);
  in.ReadReal(sg.fma);
}

}  // namespace

// Everything a read may change, kept so that a refused file leaves the
// design in memory as it was.
struct DesignSnapshot {
  calc::TNcPair ncPair;
  std::uint16_t curveType = 0;
  calc::TEllipseCurve ellipse;
  calc::TSineCurve sine;
  calc::TSineLinearCurve sineLinear;
  calc::TPolygonCurve polygon;
  calc::TEccentricCurve eccentric;
  std::int32_t pieceCount = 0;
  RangeArray<calc::TFormulaPiece, 0, calc::MaxFormulaPieces> pieces;
  RangeArray<calc::TCurvePoint, 1, calc::MaxFitPoints> fitPoints;
  std::int32_t pointCount = 0;
  RangeArray<calc::TCurvePoint, 1, calc::MaxPolylinePoints> polylinePoints;
  std::int32_t polylineCount = 0;
  std::uint8_t linearInterpolation = 1;
  calc::TRadiusExtremes radiusExtremes;
  calc::TSafetyExtremes safetyExtremes;
  Real alphaRad = 0;
  calc::TSpurGearData spur;
  common::TEquationMatrix equations;
  common::TTitleBlock titleBlock;
  common::TChangeRecords changeRecords;
  RangeArray<std::string, 1, 3> sheetTexts;
  std::uint16_t frameStyle = 0;
  RangeArray<TDocumentLink, 1, DocumentLinkCount> documentLinks;
  GearArray<std::uint16_t> materialRecNo;
  GearArray<std::uint16_t> toolRecNo;
  GearArray<std::string> materialName;
  GearArray<std::string> toothCorrectionText;
  TLubricant lubricant;

  void Take() {
    ncPair = calc::NcPair;
    curveType = calc::CurveType;
    ellipse = calc::EllipseCurve;
    sine = calc::SineCurve;
    sineLinear = calc::SineLinearCurve;
    polygon = calc::PolygonCurve;
    eccentric = calc::EccentricCurve;
    pieceCount = calc::PieceCount;
    pieces = calc::FormulaPieces;
    fitPoints = calc::FitPoints;
    pointCount = calc::PointCount;
    polylinePoints = calc::PolylinePoints;
    polylineCount = calc::PolylineCount;
    linearInterpolation = calc::LinearInterpolation;
    radiusExtremes = calc::RadiusExtremes;
    safetyExtremes = calc::SafetyExtremes;
    alphaRad = calc::AlphaRad;
    spur = calc::SpurGearData;
    equations = common::EquationMatrix;
    titleBlock = common::TitleBlock;
    changeRecords = common::ChangeRecords;
    sheetTexts = common::SheetTexts;
    frameStyle = common::FrameStyle;
    documentLinks = DocumentLinks;
    materialRecNo = MaterialRecNo;
    toolRecNo = ToolRecNo;
    materialName = MaterialName;
    toothCorrectionText = ToothCorrectionText;
    lubricant = Lubricant;
  }

  void PutBack() const {
    calc::NcPair = ncPair;
    calc::CurveType = curveType;
    calc::EllipseCurve = ellipse;
    calc::SineCurve = sine;
    calc::SineLinearCurve = sineLinear;
    calc::PolygonCurve = polygon;
    calc::EccentricCurve = eccentric;
    calc::PieceCount = pieceCount;
    calc::FormulaPieces = pieces;
    calc::FitPoints = fitPoints;
    calc::PointCount = pointCount;
    calc::PolylinePoints = polylinePoints;
    calc::PolylineCount = polylineCount;
    calc::LinearInterpolation = linearInterpolation;
    calc::RadiusExtremes = radiusExtremes;
    calc::SafetyExtremes = safetyExtremes;
    calc::AlphaRad = alphaRad;
    calc::SpurGearData = spur;
    common::EquationMatrix = equations;
    common::TitleBlock = titleBlock;
    common::ChangeRecords = changeRecords;
    common::SheetTexts = sheetTexts;
    common::FrameStyle = frameStyle;
    DocumentLinks = documentLinks;
    MaterialRecNo = materialRecNo;
    ToolRecNo = toolRecNo;
    MaterialName = materialName;
    ToothCorrectionText = toothCorrectionText;
    Lubricant = lubricant;
  }
};

KeptDesign::KeptDesign() : design_(std::make_unique<DesignSnapshot>()) {
  design_->Take();
  fileName_ = common::CurrentFileName;
  dataDirectory_ = common::DataDirectory;
  dataChanged_ = common::DataChanged;
  messages_ = common::SaveMessages();
}

KeptDesign::~KeptDesign() = default;

void KeptDesign::PutBack() const {
  design_->PutBack();
  common::CurrentFileName = fileName_;
  common::DataDirectory = dataDirectory_;
  common::DataChanged = dataChanged_;
  common::RestoreMessages(messages_);
}

std::uint8_t StartedWithFile = 0;

void SetDesignInputDefaults() {
  const std::uint8_t skipSweep = calc::SkipPositionSweep;
  const Real phiView = calc::PhiView;
  calc::SpurGearData = calc::TSpurGearData{};
  calc::SetNoncircularDefaults();
  calc::SkipPositionSweep = skipSweep;
  calc::PhiView = phiView;
  common::AllocEquationWorkspace();
  common::TitleBlock = common::TTitleBlock{};
  common::ChangeRecords = common::TChangeRecords{};
  common::SheetTexts.fill(std::string());
  InitDocumentLinks();
  SetDesignExtrasDefaults();
  SetLubricantDefaults();  // not held in the file: one design's oil must not go with the next
}

void WriteDataFile(const std::string& name) {
  if (common::AbortFlag) return;
  if (StartedWithFile) {
    // An archived design opened from the command line may not be saved
    // under another name.
    if (common::ArchiveFlag && name != "actual") {
      common::ShowFileError("Option is not available in archive mode.");
      common::AbortFlag = 1;
      return;
    }
    if (!common::ArchiveFlag) StartedWithFile = 0;
  }
  const ChosenPath chosen = ChoosePath(name, true);
  if (common::AbortFlag) return;
  common::CheckOutputFileName(chosen.path);
  if (common::AbortFlag) return;
  common::SharedTextFile.Assign(chosen.path);
  common::RewriteFileChecked(common::SharedTextFile);
  if (common::AbortFlag) {
    common::SharedTextFile.Discard();
    return;
  }
  try {
    WriteDesign();
  } catch (const std::exception& fault) {
    // An unfinished file must never be put in place of the previous one.
    common::SharedTextFile.Discard();
    common::NoteFileFailure(chosen.path + ": " + fault.what());
    common::ShowFileError("file write error: " + common::LastFileFailure());
    common::AbortFlag = 1;
    return;
  }
  // A line that failed makes the close refuse to replace the previous file.
  common::CloseFileChecked(common::SharedTextFile);
  platform::Dialogs().SetBusyCursor(false);
  if (common::AbortFlag || !chosen.fromDialog) return;
  common::DataDirectory = chosen.directory;
  common::CurrentFileName = chosen.name;
}

void SaveDataFile(const std::string& name) {
  common::AskBeforeOverwrite = 0;
  WriteDataFile(name);
  common::AskBeforeOverwrite = 1;
}

void ReadDataFile(const std::string& name) {
  // A read is a fresh request; its outcome alone decides the flag.
  common::AbortFlag = 0;
  const ChosenPath chosen = ChoosePath(name, false);
  if (common::AbortFlag) return;
  common::CheckFileAccess(chosen.path);
  if (common::AbortFlag) return;

  auto previous = std::make_unique<DesignSnapshot>();
  previous->Take();
  SetDesignInputDefaults();
  common::ResetFileChecked(common::SharedTextFile, chosen.path);
  if (common::AbortFlag) {
    previous->PutBack();
    return;
  }
  DataFileLines lines(chosen.path);
  try {
    ReadDesign(lines);
  } catch (const std::exception& fault) {
    lines.Fail(std::string("cannot be read (") + fault.what() + ") !");
  }
  const bool readError = common::AbortFlag != 0;
  common::SharedTextFile.Discard();
  if (lines.Failed() || readError) {
    previous->PutBack();
    if (lines.Failed()) {
      common::NoteFileFailure(lines.Message());
      common::ShowFileError(lines.Message());
    }
    common::AbortFlag = 1;
    return;
  }

  if (!chosen.name.empty()) common::CurrentFileName = chosen.name;
  if (chosen.fromDialog) common::DataDirectory = chosen.directory;
  calc::CalcNoncircularPair();
  // The design is loaded; problems of the calculation are in the message
  // list and FatalFlag, not in the read's outcome.
  common::AbortFlag = 0;
}

}  // namespace app
