// The pitch-curve data printout; see pitch_curve_printout.h.
#include "app/printouts/pitch_curve_printout.h"

#include <numbers>

#include "app/design_extras.h"
#include "app/printouts/printout_rows.h"
#include "calc/calc_records.h"
#include "calc/drive_load.h"
#include "calc/pitch_curve.h"
#include "calc/spur_gear_data.h"
#include "common/equation_matrix.h"
#include "common/kaldvar.h"
#include "common/message_help.h"
#include "common/number_format.h"
#include "common/numeric_routines.h"
#include "common/report_tables.h"
#include "common/report_writer.h"
#include "common/text_utils.h"
#include "common/unit_labels.h"

namespace app {

namespace {

using calc::NcPair;
const calc::TSpurGearData& G() { return calc::SpurGearData; }

std::string Title() { return common::ProductCode + " V" + common::ProgramVersion; }

// The polynomial coefficients, lowest power first.
void CoefficientLines() {
  for (int j = 0; j < calc::PointCount; ++j)
    common::WriteReportText(R(8, 15, common::EquationMatrix.rhs[j + 1]) + " phi^" + common::IntToText(j));
}

void PointLines(const RangeArray<calc::TCurvePoint, 1, calc::MaxPolylinePoints>* polyline, int count) {
  for (int i = 1; i <= count; ++i) {
    const calc::TCurvePoint& p = polyline ? (*polyline)[i] : calc::FitPoints[i];
    common::WriteReportText("phi " + common::IntToText(i) + " = " + R(1, 5, p.Phi) + " (" +
                            R(3, 2, common::RadToDeg(p.Phi)) + common::DegreeUnitLabel() + ")    r1 =" +
                            L(5, 3, p.R) + " " + LengthUnit());
  }
}

void PrintCurveSection() {
  const std::string len = LengthUnit();
  switch (calc::CurveType) {
    case calc::CurveFormula: {
      TextWithRule("curve geometry defined by formula:");
      common::HtmlTable table({6, 10, 10, 44}, {"  i", " phi 0", " phi n", "  f (phi)"});
      table.HtmlTableSetRowRules(false);
      for (int i = 1; i <= calc::PieceCount; ++i) {
        const Real start = i == 1 ? 0 : calc::FormulaPieces[i - 1].EndAngle;
        table.HtmlTableRow({I(3, i), R(3, 1, start), R(3, 1, calc::FormulaPieces[i].EndAngle),
                            calc::FormulaPieces[i].Formula});
      }
      table.HtmlTableEnd();
      break;
    }
    case calc::CurveEllipse:
      TextWithRule("pitch curve gear 1 : ellipse");
      ValueRow("half length", "a", len, L(4, 3, calc::EllipseCurve.a));
      ValueRow("half width", "b", len, L(4, 3, calc::EllipseCurve.b));
      break;
    case calc::CurveSine:
      TextWithRule("pitch curve gear 1 : sine function  N = " + common::IntToText(calc::SineCurve.N));
      common::WriteReportText(calc::SineFormulaText(common::RealToText(calc::SineCurve.rw0),
                                                    common::RealToText(calc::SineCurve.A), calc::SineCurve.N));
      ValueRow("operating pitch circle", "rw0", len, L(5, 2, calc::SineCurve.rw0));
      ValueRow("amplitude", "A", len, L(5, 2, calc::SineCurve.A));
      break;
    case calc::CurveSineLinear:
      TextWithRule("pitch curve gear 1 : linear-sine");
      ValueRow("base circle radius", "rw0", len, L(4, 3, calc::SineLinearCurve.rw0));
      ValueRow("pitch", "m", len, L(4, 3, calc::SineLinearCurve.A));
      ValueRow("turning point", "phi", common::DegreeUnitLabel(), R(4, 3, calc::SineLinearCurve.PhiLin));
      break;
    case calc::CurvePolygon:
      TextWithRule("pitch curve gear 1 : Polygon");
      ValueRow("number of edges", "z", "", I(7, calc::PolygonCurve.Corners));
      ValueRow("width across flats (incircle)", "s", len, L(5, 2, calc::PolygonCurve.Di));
      ValueRow("width across corners (circumcircle)", "e", len, L(5, 2, calc::PolygonCornerDiameter()));
      break;
    case calc::CurvePolynomial:
      TextWithRule("pitch curve gear 1 : polynomial function");
      common::WriteReportText("r1 = f (phi) =");
      common::WriteReportText("");
      CoefficientLines();
      common::WriteReportText(common::RuleLineSingle());
      break;
    case calc::CurvePointFit:
      TextWithRule("pitch curve gear 1 : coordinates");
      PointLines(nullptr, calc::PointCount);
      common::WriteReportText("");
      common::WriteReportText("phi2 = f(phi) =");
      CoefficientLines();
      common::WriteReportText(common::RuleLineSingle());
      break;
    case calc::CurveEccentric:
      TextWithRule("pitch curve gear 1 : eccentric element");
      ValueRow("diameter", "d", len, L(5, 2, calc::EccentricCurve.D));
      ValueRow("eccentricity", "e", len, L(5, 2, calc::EccentricCurve.E));
      break;
    case calc::CurvePolyline:
      TextWithRule("pitch curve gear 1 : " + common::IntToText(calc::PolylineCount) + " " + "coordinates");
      if (calc::LinearInterpolation) common::WriteReportText("interpolate intermediate values");
      PointLines(&calc::PolylinePoints, calc::PolylineCount);
      common::WriteReportText(common::RuleLineSingle());
      break;
    default:
      break;
  }
}

void PrintPairDimensions() {
  const auto& g = G();
  const auto& r = calc::RadiusExtremes;
  const std::string len = LengthUnit();
  auto l43 = [](Real x) { return L(4, 3, x); };
  const Real z1 = NcPair.z1 != 0 ? NcPair.z1 : 1;
  const Real z2 = NcPair.z2 != 0 ? NcPair.z2 : 1;
  common::WriteReportText("");
  common::WriteReportText("");
  GearRow("transmission ratio", "i tot", "", I(5, NcPair.k), "");
  GearRow("gear ratio", "i min/max", "", R(4, 3, NcPair.imin), R(4, 3, NcPair.imax));
  GearRow("pressure angle", "alpha", common::DegreeUnitLabel(), R(5, 2, g.PressureAngle), "");
  GearRow("no. of teeth", "z", "", I(6, NcPair.z1), I(6, NcPair.z2));
  if (NcPair.ModuleMode != 2) {
    GearRow("normal module min.", "m min", len, l43(2 * r.r1min / z1), l43(2 * r.r2min / z2));
    GearRow("normal module max.", "m max", len, l43(2 * r.r1max / z1), l43(2 * r.r2max / z2));
  } else {
    GearRow("normal module", "m", len, l43(NcPair.U1 / (std::numbers::pi_v<Real> * z1)), "");
  }
  GearRow("center distance", "a", len, l43(NcPair.a), "");
  GearRowOf("face width", "b", len, g.GearFaceWidth, [](Real x) { return L(5, 2, x); });
  GearRow("extent pitch curve", "U", len, l43(NcPair.U1), l43(NcPair.k * NcPair.U1));
  GearRow("radius pitch curve", "r min", len, l43(r.r1min), l43(r.r2min));
  GearRow("radius pitch curve", "r max", len, l43(r.r1max), l43(r.r2max));
  GearRow("radius pitch curve", "r nom", len, l43(NcPair.rnom1), l43(NcPair.rnom2));

  common::WriteReportText("");
  TextWithRule("DIMENSIONS OF GEAR-CUTTING TOOL");
  auto r33 = [](Real x) { return R(3, 3, x); };
  GearRowOf("dedendum coeff tool", "hfP0/mn", "", g.hfP0Factor, r33);
  GearRowOf("addendum coeff tool", "haP0/mn", "", g.haP0Factor, r33);
  GearRowOf("fillet radius tool", "rhoaP0/mn", "", g.rhoaP0Factor, r33);
  GearRowOf("root fillet radius tool", "rhofP0/mn", "", g.rhofP0Factor, r33);
  if (g.prP0Factor[1] != 0 || g.prP0Factor[2] != 0) {
    GearRowOf("protuberance", "prP0/mn", "", g.prP0Factor, r33);
    GearRowOf("protuberance angle", "al.prP0", common::DegreeUnitLabel(), g.alphaPrP0, r33);
  }
}

void PrintStrengthExtract(const std::string& line1, const std::string& line2) {
  const auto& g = G();
  const auto& s = calc::SafetyExtremes;
  const std::string stress = common::StressUnitLabel();
  auto r52 = [](Real x) { return R(5, 2, x); };
  auto s80 = [](Real x) { return S(8, 0, x); };
  auto degrees = [](Real rad) { return R(7, 0, common::RadToDeg(rad)); };
  // The method the pair was rated by; entered factors follow no standard.
  const int method = g.CalcMethod;
  const std::string by = method == 3                    ? "with entered factors"
                         : method >= 1 && method <= 4 ? "to " + calc::CalcMethodNames[method]
                                                        : "to DIN 3990";
  common::BeginReport(Title() + "   " + "gearing strength" + " " + by, line1, line2, "", "", 0);
  common::SetReportLayout("", "symbol", "unit", " gear 1", "gear 2");
  common::WriteReportHeader(0, 1);
  if (common::AbortFlag) return;

  TextWithRule("OPERATIONAL DATA");
  ValueRow("nominal power", "P", "kW", R(5, 3, g.PUsed));
  GearRow("nominal torque", "T", common::TorqueUnitLabel(), T(6, 1, g.TUsed[1]), "  f (phi)");
  GearRow("revolutions", "n", "1/min", common::RealToTextWidth(8, g.nUsed[1]), "  f (phi)");

  common::WriteReportText("");
  TextWithRule("MATERIAL AND TREATMENT");
  TextWithRule("material   gear1: " + common::PadRightText(MaterialName[1], 20) + "   " + "gear" + "2: " +
               common::PadRightText(MaterialName[2], 20));
  GearRowOf("density", "rho", "kg/dm3", g.rho, r52);
  GearRowOf("modulus of elasticity", "E", stress, g.E, s80);
  GearRowOf("poisson ratio", "nu", "", g.mue, r52);
  GearRowOf("allow.stress nr.(contact).", "Sig.Hlim", stress, g.SigmaHlim, s80);
  GearRowOf("allow.stress nr.(bend.)", "Sigma FE", stress, g.SigmaFE, s80);
  GearRow("allow.stress nr.(bend.)", "Sig.Flim", stress, s80(g.SigmaFE[1] / 2), s80(g.SigmaFE[2] / 2));
  auto treatment = [](int code) { return code >= 0 && code <= 7 ? calc::HeatTreatmentShortNames[code] : ""; };
  TextWithRule("heat treatment               gear1: " + common::PadRightText(treatment(g.HeatTreatment[1]), 12) +
               "    " + "gear" + "2: " + common::PadRightText(treatment(g.HeatTreatment[2]), 12));
  GearRow("Brinell hardness", "", "HB", R(5, 0, g.HB[1]), R(8, 0, g.HB[2]));

  // A pair without load has no safeties over the turn: the rows say so.
  const bool rated = !calc::PairCarriesNoLoad(g);
  common::WriteReportText("");
  TextWithRule("TOOTH ROOT LOAD-BEARING CAPACITY");
  ValueRow("application factor", "KA F", "", r52(g.KAF));
  if (!rated) common::WriteReportText(calc::NoLoadSentence(g));
  if (rated) GearRowOf("safety factor tooth breakage", "SFmin", "", s.SFmin, r52);
  if (!rated) GearRow("safety factor tooth breakage", "SFmin", "", calc::NoLoadCell(g), calc::NoLoadCell(g));
  if (rated)
    GearRow("bei phi1 = ?", "phi1 SF", common::DegreeUnitLabel(), degrees(s.PhiAtSFmin[1]), degrees(s.PhiAtSFmin[2]));

  common::WriteReportText("");
  TextWithRule("FLANK LOAD-BEARING CAPACITY");
  ValueRow("application factor", "KA H", "", r52(g.KAH));
  if (!rated) common::WriteReportText(calc::NoLoadSentence(g));
  if (rated) GearRowOf("safety factor pitting", "SHmin", "", s.SHmin, r52);
  if (!rated) GearRow("safety factor pitting", "SHmin", "", calc::NoLoadCell(g), calc::NoLoadCell(g));
  if (rated)
    GearRow("bei phi1 = ?", "phi1 SH", common::DegreeUnitLabel(), degrees(s.PhiAtSHmin[1]), degrees(s.PhiAtSHmin[2]));
}

}  // namespace

void PrintPitchCurveReport(std::uint16_t mode) {
  const auto& g = G();
  if (mode == 0) mode = 3;
  const std::string line1 = common::WriteReportNumberLine(g.DrawingName[1], g.DrawingNumber[1]);
  const std::string line2 = common::WriteReportNumberLine(g.DrawingName[2], g.DrawingNumber[2]);
  common::BeginReport(Title(), line1, line2, "", "", 0);
  common::SetReportLayout("", "symbol", "unit", " gear 1", "gear2");
  if (common::FatalFlag) {
    common::ShowCalculationMessages();
    return;
  }
  common::SelectOutputDevice(0, "");
  if (common::AbortFlag) return;

  if (mode == 1 || mode == 3) {
    common::WriteReportHeader(0, 1);
    if (common::AbortFlag) {
      common::AbandonReportOutput();
      return;
    }
    common::WriteReportText("");
    common::WriteReportText("");
    PrintCurveSection();
    PrintPairDimensions();
    if (mode == 1) common::WriteMessagesPage();
    common::ReportPageEnd();
    if (common::AbortFlag) {
      common::AbandonReportOutput();
      return;
    }
    if (mode == 1) {
      common::ShowReportOutput();
      return;
    }
  }
  PrintStrengthExtract(line1, line2);
  if (common::AbortFlag) {
    common::AbandonReportOutput();
    return;
  }
  common::WriteMessagesPage();
  common::ReportPageEnd();
  if (common::AbortFlag) {
    common::AbandonReportOutput();
    return;
  }
  common::ShowReportOutput();
}

}  // namespace app
