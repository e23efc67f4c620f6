// Sheet heading, pitch-curve description and gear data table; see
// sheet_texts.h.
#include "drawing/sheet_texts.h"

#include <algorithm>
#include <numbers>

#include "calc/calc_records.h"
#include "calc/drive_load.h"
#include "calc/pitch_curve.h"
#include "calc/spur_gear_data.h"
#include "common/angle_date_format.h"
#include "common/equation_matrix.h"
#include "common/kaldvar.h"
#include "common/number_format.h"
#include "common/numeric_routines.h"
#include "common/text_utils.h"
#include "common/unit_labels.h"
#include "drawing/cad/cad_output.h"
#include "drawing/cad/cad_state.h"
#include "drawing/outlines/tooth_contour.h"
#include "drawing/text_table.h"

namespace drawing {

namespace {

using calc::NcPair;

std::string Trim(const std::string& text) { return common::TrimBlanks(text); }

// A length with its unit label, an angle in the angle format, a plain number.
std::string Length(Real mm) { return Trim(common::FormatLength(5, 3, mm)) + " " + common::LengthUnitLabel(); }
std::string LengthNumber(Real mm) { return Trim(common::FormatLength(5, 3, mm)); }
std::string Angle(Real degrees) { return Trim(common::AngleToText(degrees)); }
std::string Number(int intDigits, int decimals, Real x) { return Trim(common::FormatRealDigits(intDigits, decimals, x)); }

// A point of a point table: its angle in radians and degrees and its radius.
std::string PointLine(int i, const calc::TCurvePoint& p) {
  return "phi " + common::IntToText(i) + " = " + Number(1, 5, p.Phi) + " (" +
         Number(3, 2, common::RadToDeg(p.Phi)) + common::DegreeUnitLabel() + ")    r1 =" + Length(p.R);
}

std::string Coefficient(int power) {
  return Number(8, 15, common::EquationMatrix.rhs[power + 1]) + " phi^" + common::IntToText(power);
}

}  // namespace

void DrawSheetHeading(Real h, Real x, Real y) {
  const auto& g = calc::SpurGearData;
  SetCadTextSize(2, 0, h, 0);
  CadMoveTo(x, y);
  const int pens[3] = {0, 19, 21};
  for (int gear = 1; gear <= 2; ++gear) {
    SetCadColor(pens[gear]);
    CadTextRotated(g.DrawingName[gear] + "  " + g.DrawingNumber[gear] + "  " + g.DrawingName2[gear]);
  }
  SetCadColor(18);
  // An empty sheet text keeps its line, so that the second stays in place.
  for (int i = 1; i <= 2; ++i) {
    if (common::SheetTexts[i].empty()) {
      CadMoveTo(CadDrawing.CadPenPositionX, CadDrawing.CadPenPositionY - 1.6L * h);
      continue;
    }
    CadTextRotated(common::SheetTexts[i]);
  }
}

std::vector<std::string> PitchCurveDescriptionLines() {
  std::vector<std::string> lines;
  const std::string head = "pitch curve gear 1 : ";
  switch (calc::CurveType) {
    case calc::CurveFormula:
      for (int i = 1; i <= calc::PieceCount; ++i) {
        const Real start = i == 1 ? 0 : calc::FormulaPieces[i - 1].EndAngle;
        lines.push_back(common::IntToText(i) + ":  x = " + Angle(start) + " .. " +
                        Angle(calc::FormulaPieces[i].EndAngle) + " : phi2(x) = " + calc::FormulaPieces[i].Formula);
      }
      break;
    case calc::CurveEllipse:
      lines = {head + "ellipse", "half length a = " + Length(calc::EllipseCurve.a),
               "half width b = " + Length(calc::EllipseCurve.b)};
      break;
    case calc::CurveSine: {
      const auto& c = calc::SineCurve;
      lines = {head + "sine function", calc::SineFormulaText(LengthNumber(c.rw0), LengthNumber(c.A), c.N),
               "operating pitch circle rw0 = " + Length(c.rw0), "amplitude A = " + Length(c.A),
               "number of N = " + common::IntToText(c.N)};
      break;
    }
    case calc::CurveSineLinear: {
      const auto& c = calc::SineLinearCurve;
      lines = {head + "linear-sine", "base circle radius rw0 = " + Length(c.rw0), "pitch m = " + Length(c.A),
               "turning point phi = " + Angle(c.PhiLin)};
      break;
    }
    case calc::CurvePolygon: {
      const auto& c = calc::PolygonCurve;
      lines = {head + "Polygon", "number of edges z = " + common::IntToText(c.Corners),
               "width across flats (incircle) s = " + Length(c.Di),
               "width across corners (circumcircle) e = " + Length(calc::PolygonCornerDiameter())};
      break;
    }
    case calc::CurvePolynomial:
      lines = {head + "polynomial function", "r1 = f (phi) ="};
      if (calc::PointCount < 13)
        for (int j = 0; j < calc::PointCount; ++j) lines.push_back(Coefficient(j));
      break;
    case calc::CurvePointFit:
      lines = {head + " " + "coordinates" + " -> " + "polynomial function"};
      if (calc::PointCount < 13)
        for (int i = 1; i <= calc::PointCount; ++i) lines.push_back(PointLine(i, calc::FitPoints[i]));
      if (calc::PointCount < 6 && calc::PointCount > 0) {
        lines.push_back("r(phi) = " + Coefficient(0));
        for (int j = 1; j < calc::PointCount; ++j) lines.push_back("       + " + Coefficient(j));
      }
      break;
    case calc::CurveEccentric:
      lines = {head + "eccentric element", "diameter d = " + Length(calc::EccentricCurve.D),
               "eccentricity e = " + Length(calc::EccentricCurve.E)};
      break;
    case calc::CurvePolyline:
      lines = {head + "coordinates"};
      if (calc::LinearInterpolation) lines.push_back("interpolate intermediate values");
      if (calc::PolylineCount < 12)
        for (int i = 1; i <= calc::PolylineCount; ++i) lines.push_back(PointLine(i, calc::PolylinePoints[i]));
      break;
    default:
      break;
  }
  return lines;
}

Real DrawPitchCurveDescription(Real x, Real y, Real h) {
  if (common::FatalFlag) return y;
  const std::vector<std::string> lines = PitchCurveDescriptionLines();
  if (lines.empty()) return y;
  std::size_t width = 20;
  for (const std::string& line : lines) width = std::max(width, line.size() + 2);
  TAusTabelle table(lines.front(), x, y, h, static_cast<Real>(width) * 0.8L, 0, 0, 0, 0, 0, 0);
  for (std::size_t i = 1; i < lines.size(); ++i) table.TextTableAddLine(lines[i]);
  return table.RuleY + table.RowHeight;
}

Real DrawGearDataTable(Real x, Real y, Real h) {
  const auto& g = calc::SpurGearData;
  const auto& r = calc::RadiusExtremes;
  const auto& s = calc::SafetyExtremes;
  const std::string len = common::LengthUnitLabel();
  const Real z1 = NcPair.z1 != 0 ? NcPair.z1 : 1;
  const Real z2 = NcPair.z2 != 0 ? NcPair.z2 : 1;
  auto l = [](Real mm) { return LengthNumber(mm); };
  // No heading row: the first row takes its place, so that the table keeps
  // to the room the sheets leave it. 44 characters of 0.9 h: at quick
  // sheet 1's place (x 80, h 2) the table ends inside the sheet's 160 mm,
  // and the unit column holds "1/min" and "lbfin" with room to spare.
  TAusTabelle table("", x, y, h, 6.5L, 19, 7, 7, 4.5L, 0, 0);
  // Narrower letters than the table's default, so that the longest texts
  // ("i min/max", "safety factor tooth breakage", "  f (phi)", "1/min")
  // stay inside their cells instead of running into the next one or off
  // the sheet.
  SetCadTextSize(2, 0, h, 0.55L * h);
  // A value for the pair stands in gear 1's column, its unit in the unit
  // column, as every row's unit does.
  auto pairRow = [&table](const std::string& symbol, const std::string& meaning, const std::string& value,
                          const std::string& unit) { table.TextTableAddCells(symbol, meaning, value, "", unit); };
  pairRow("i tot", "transmission ratio", common::IntToText(NcPair.z2) + " / " + common::IntToText(NcPair.z1), "");
  table.TextTableAddCells("i min/max", "gear ratio", Number(4, 3, NcPair.imin), Number(4, 3, NcPair.imax), "");
  pairRow("alpha", "pressure angle", Angle(g.PressureAngle), "");
  table.TextTableAddCells("z", "no. of teeth", common::IntToText(NcPair.z1), common::IntToText(NcPair.z2), "");
  if (NcPair.ModuleMode == 2) {
    pairRow("m", "normal module", l(NcPair.U1 / (std::numbers::pi_v<Real> * z1)), len);
  } else {
    table.TextTableAddCells("m min", "normal module min.", l(2 * r.r1min / z1), l(2 * r.r2min / z2), len);
    table.TextTableAddCells("m max", "normal module max.", l(2 * r.r1max / z1), l(2 * r.r2max / z2), len);
    // The rating follows the local module; the teeth are cut with one
    // module all round: the one that fits their pitch, but no larger than
    // the rating's largest (a curve of waves shorter than a tooth spaces
    // them far apart along it).
    pairRow("m", "module of the teeth", l(ToothHeightModule()), len);
  }
  pairRow("a", "center distance", l(NcPair.a), len);
  table.TextTableAddCells("b", "face width", l(g.GearFaceWidth[1]), l(g.GearFaceWidth[2]), len);
  // Gear 2's pitch curve spans k of gear 1's turns: k times as long.
  table.TextTableAddCells("U", "extent pitch curve", l(NcPair.U1), l(NcPair.k * NcPair.U1), len);
  table.TextTableAddCells("r min", "radius pitch curve", l(r.r1min), l(r.r2min), len);
  table.TextTableAddCells("r max", "radius pitch curve", l(r.r1max), l(r.r2max), len);
  table.TextTableAddCells("r nom", "radius pitch curve", l(NcPair.rnom1), l(NcPair.rnom2), len);
  if (calc::SkipPositionSweep == 1) return table.RuleY + table.RowHeight;
  auto degrees = [](Real rad) { return Number(4, 1, common::RadToDeg(rad)); };
  pairRow("P", "nominal power", Number(5, 3, g.PUsed), "kW");
  // Gear 2's torque and speed vary with the drive angle: "f (phi)" stands in
  // its value column, the unit in the unit column.
  table.TextTableAddCells("T", "nominal torque", Trim(common::FormatTorque(6, 1, g.TUsed[1])), "  f (phi)",
                          common::TorqueUnitLabel());
  table.TextTableAddCells("n", "revolutions", Number(6, 1, g.nUsed[1]), "  f (phi)", "1/min");
  if (calc::PairCarriesNoLoad(g)) {
    // Not rated: no safeties, and no angles where they would be least.
    const std::string cell = calc::NoLoadCell(g);
    table.TextTableAddCells("SFmin", "safety factor tooth breakage", cell, cell, "");
    table.TextTableAddCells("SHmin", "safety factor pitting", cell, cell, "");
    return table.RuleY + table.RowHeight;
  }
  table.TextTableAddCells("SFmin", "safety factor tooth breakage", Number(3, 2, s.SFmin[1]), Number(3, 2, s.SFmin[2]),
                          "");
  table.TextTableAddCells("phi1 SF", "bei phi1 = ?", degrees(s.PhiAtSFmin[1]), degrees(s.PhiAtSFmin[2]),
                          common::DegreeUnitLabel());
  table.TextTableAddCells("SHmin", "safety factor pitting", Number(3, 2, s.SHmin[1]), Number(3, 2, s.SHmin[2]), "");
  table.TextTableAddCells("phi1 SH", "bei phi1 = ?", degrees(s.PhiAtSHmin[1]), degrees(s.PhiAtSHmin[2]),
                          common::DegreeUnitLabel());
  return table.RuleY + table.RowHeight;
}

}  // namespace drawing
