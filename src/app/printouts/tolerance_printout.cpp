// The tolerance, measurement and flank-tolerance sections of the geometry
// report (gear_printout.h): tooth-thickness tolerances and backlash to
// DIN 3967, the test measurements with their premachined and finished
// limits, and the flank tolerances to ISO 1328 or DIN 3961.
#include <cmath>
#include <cstdlib>

#include "app/printouts/gear_printout.h"
#include "app/printouts/printout_rows.h"
#include "calc/calc_records.h"
#include "calc/spur_gear_data.h"
#include "common/kaldvar.h"
#include "common/report_writer.h"
#include "common/unit_labels.h"

namespace app {

namespace {

const calc::TSpurGearData& G() { return calc::SpurGearData; }

std::string L53(Real x) { return L(5, 3, x); }

// Which gears' cells a row fills: a measurement that has nothing to be
// computed from leaves its gear's cell empty.
struct GearCells {
  bool gear1 = true, gear2 = true;
};

void GearRowIn(const GearCells& cells, const std::string& label, const std::string& symbol, const std::string& unit,
               const std::string& gear1, const std::string& gear2) {
  GearRow(label, symbol, unit, cells.gear1 ? gear1 : std::string(), cells.gear2 ? gear2 : std::string());
}

// A measurement's limits: gear 1 prints its upper and lower limit as they
// are, gear 2 the larger and the smaller by size (an internal gear's
// dimensions between balls are held negative).
void LimitRows(const std::string& label, const std::string& maxSymbol, const std::string& minLabel,
               const std::string& minSymbol, const GearArray<Real>& upper, const GearArray<Real>& lower,
               const GearCells& cells = {}) {
  const std::string len = LengthUnit();
  GearRowIn(cells, label, maxSymbol, len, L53(upper[1]), L53(MaxAbs(upper[2], lower[2])));
  GearRowIn(cells, minLabel, minSymbol, len, L53(lower[1]), L53(MinAbs(upper[2], lower[2])));
}

void ToleranceRow(const std::string& label, const std::string& symbol, const GearArray<Real>& upper,
                  const GearArray<Real>& lower, const GearCells& cells = {}) {
  GearRowIn(cells, label, symbol, LengthUnit(), L53(std::fabs(upper[1] - lower[1])),
            L53(std::fabs(upper[2] - lower[2])));
}

// The dimensions over balls and pins. A gear for whose flank no ball was
// found (Dm 0: the ball would touch it below the base circle) has none:
// "not found" stands in its Dm cell and its other cells stay empty; with
// no ball for either gear the rows after Dm are left out.
void PrintBallAndPinRows(bool premachined) {
  const auto& g = G();
  const std::string len = LengthUnit();
  const GearCells cells{g.BallDiameter[1] > 0, g.BallDiameter[2] > 0};
  auto dm = [&g](int i) { return g.BallDiameter[i] > 0 ? L53(g.BallDiameter[i]) : std::string("not found"); };
  GearRow("ball/pin diameter", "Dm", len, dm(1), dm(2));
  if (!cells.gear1 && !cells.gear2) return;
  // The dimension over balls, then over pins: the rows of each.
  struct Measure {
    const char* labels[6];   // theoretical, premachined max./min., finished max./min., deviation
    const char* symbols[6];
    const GearArray<Real>* values[5];  // nominal, premachined upper/lower, finished upper/lower
  };
  const Measure measures[2] = {
      {{"dimension ov/bw.balls,theor.", "dim.ov/bw.balls premach.max.", "dim.ov/bw.balls premach.min.",
        "dim.ov/bw.balls finish.max.", "dim.ov/bw.balls finish.min.", "deviation dimen.betw.balls"},
       {"MdK", "MdKqmax", "MdKqmin", "MdKmax", "MdKmin", "T MdK"},
       {&g.MdKNominal, &g.MdKPreUpper, &g.MdKPreLower, &g.MdKUpper, &g.MdKLower}},
      {{"dim.ov/betw.pins,theor.", "dim.ov/bw.pins premach. max.", "dim.ov/bw.pins premach. min.",
        "dim.ov/bw.pins finished max.", "dim.ov/bw.pins finished min.", "deviation dimen.betw.pins"},
       {"MdR", "MdRqmax", "MdRqmin", "MdRmax", "MdRmin", "T MdR"},
       {&g.MdRNominal, &g.MdRPreUpper, &g.MdRPreLower, &g.MdRUpper, &g.MdRLower}},
  };
  for (const Measure& m : measures) {
    const GearArray<Real>& nominal = *m.values[0];
    GearRowIn(cells, m.labels[0], m.symbols[0], len, L53(nominal[1]), L53(nominal[2]));
    if (premachined)
      LimitRows(m.labels[1], m.symbols[1], m.labels[2], m.symbols[2], *m.values[1], *m.values[2], cells);
    LimitRows(m.labels[3], m.symbols[3], m.labels[4], m.symbols[4], *m.values[3], *m.values[4], cells);
    ToleranceRow(m.labels[5], m.symbols[5], *m.values[3], *m.values[4], cells);
  }

  if (std::abs(g.ToothNumbers[2]) >= 1000 && cells.gear2) {
    GearRow("control dimension ball-da rack", "MKamax", len, "",
            L53(std::fabs(g.MdKUpper[2] - g.TipDiameter[2]) / 2));
    GearRow("control dimension ball-da rack", "MKamin", len, "",
            L53(std::fabs(g.MdKLower[2] - g.TipDiameter[2]) / 2));
  }
}

struct FlankRow {
  const char* isoLabel;
  const char* isoSymbol;
  const char* dinLabel;
  const char* dinSymbol;
  GearArray<Real> calc::SpurToleranceFields::*values;
};

const FlankRow kFlankRows[] = {
    {"Profile form tolerance", "ffalphaT", "profile form tolerance", "ff", &calc::SpurToleranceFields::ffalpha},
    {"Profile slope tolerance", "fHalphaT", "profile slope tolerance", "fHalpha", &calc::SpurToleranceFields::fHalpha},
    {"Profile tolerance, total", "FalphaT", "profile tolerance, total", "Ff", &calc::SpurToleranceFields::Falpha},
    {"Single pitch tolerance", "fpT", "single pitch tolerance", "fp", &calc::SpurToleranceFields::fpb},
    {"Adjacent pitch difference tol.", "fuT", "adjacent pitch difference", "fu", &calc::SpurToleranceFields::fu},
    {"Cumulative pitch tolerance, total", "FpT", "cumulative pitch tol.tot.", "Fp", &calc::SpurToleranceFields::Fp},
    {"Sector pitch tolerance k=z/8", "Fpk", "sector pitch deviation", "Fpk", &calc::SpurToleranceFields::FpSector},
    {"Runout tolerance", "FrT", "runout tolerance", "Fr", &calc::SpurToleranceFields::FrRunout},
    {"tooth thickness variation", "Rs", "tooth thickness variation", "Rs", &calc::SpurToleranceFields::Rs},
    {"Helix tolerance, total", "FbetaT", "helix tolerance, total", "Fbeta", &calc::SpurToleranceFields::Fbeta},
    {"Helix slope tolerance", "fHbetaT", "helix slope tolerance", "fHbeta", &calc::SpurToleranceFields::fHbeta},
    {"Helix form tolerance, total", "ffbetaT", "helix form tolerance", "fbeta f", &calc::SpurToleranceFields::ffbeta},
    {"Radial composite tolerance, total", "Fi\"", "radial composite deviation", "Fi\"",
     &calc::SpurToleranceFields::FiTotal},
    {"Radial comp.tol., tooth-to-tooth", "fi\"", "tooth-to-tooth rad.comp.dev.", "fi\"",
     &calc::SpurToleranceFields::fiTooth},
    {"Single flank composite tol, total", "FisT", "single flank composite tol.", "Fi'",
     &calc::SpurToleranceFields::FisTotal},
    {"Single flank comp.tol,tooth-to-t.", "fisT", "single flank comp.tol.tot.", "fi'",
     &calc::SpurToleranceFields::fisTooth},
};

void PrintFlankTolerances() {
  const auto& g = G();
  const bool iso = g.ToleranceStandard == 1;
  const std::string standard = calc::ToleranceStandardNames[iso ? 1 : 0];
  if (!iso && g.NormalModule <= 0.9L) return;
  common::WriteReportText("");
  common::ReportCheckPageFull(1);
  if (iso) {
    TextWithRule("Flank tolerances according to ISO 1328-1:2013-09");
    GearRow("Flank tolerance class", "", "", I(5, g.AccuracyGrade[1]), I(5, g.AccuracyGrade[2]));
  } else {
    TextWithRule("ALLOWABLE DEVIATIONS ACC. TO " + standard);
    GearRow("flank tolerance class to " + standard, "", "", I(5, g.AccuracyGrade[1]), I(5, g.AccuracyGrade[2]));
  }
  for (const FlankRow& row : kFlankRows) {
    const GearArray<Real>& values = g.*row.values;
    GearRow(iso ? row.isoLabel : row.dinLabel, iso ? row.isoSymbol : row.dinSymbol, MicroUnit(),
            MicroL(5, 0, values[1]), MicroL(5, 0, values[2]));
  }
}

}  // namespace

bool PrintToleranceSections() {
  const auto& g = G();
  const std::string len = LengthUnit();
  auto l33 = [](Real x) { return L(3, 3, x); };

  if (!OpenSection("TOLERANCES, BACKLASH")) return false;
  GearRow("tolerance zone to DIN 3967", "", "", g.ToothThicknessSeriesName[1], g.ToothThicknessSeriesName[2]);
  GearRowOf("upper tooth thickn.allow.", "Asne", len, g.AsnUpper, l33);
  GearRowOf("lower tooth thickn.allow.", "Asni", len, g.AsnLower, l33);
  GearRow("tooth thickness tolerance", "Tsn", MicroUnit(), MicroL(7, 0, g.Tsn[1] * 1000), MicroL(7, 0, g.Tsn[2] * 1000));
  ValueRow("torsional backlash min.", "jtmin", len, l33(g.jtMin));
  ValueRow("torsional backlash max.", "jtmax", len, l33(g.jtMax));
  // The backlash on the pitch circle as a turn of each gear.
  auto turn = [&](Real backlash, int i) { return g.dw[i] != 0 ? AngRad(2 * backlash / g.dw[i]) : AngRad(0); };
  GearRow("torsional backlash min.ang.", "jtmin", common::DegreeUnitLabel(), turn(g.jtMin, 1), turn(g.jtMin, 2));
  GearRow("torsional backlash max.ang.", "jtmax", common::DegreeUnitLabel(), turn(g.jtMax, 1), turn(g.jtMax, 2));
  ValueRow("normal backlash min.", "jnmin", len, l33(g.jnMin));
  ValueRow("normal backlash max.", "jnmax", len, l33(g.jnMax));
  ValueRow("radial backlash min.", "jrmin", len, l33(g.jrMin));
  ValueRow("radial backlash max.", "jrmax", len, l33(g.jrMax));

  common::WriteReportText("");
  common::ReportCheckPageFull(1);
  if (common::AbortFlag) return false;
  PrintMeasurements();
  PrintFlankTolerances();
  return !common::AbortFlag;
}

void PrintMeasurements() {
  const auto& g = G();
  const std::string len = LengthUnit();
  TextWithRule("MEASUREMENTS/DIMENSIONS");
  // The premachined rows follow the allowance q alone, not its tolerance.
  const bool premachined = g.MachiningAllowance[1] != 0 || g.MachiningAllowance[2] != 0;

  GearRow("no. of teeth measured", "k", "", I(6, g.SpanToothCount[1]), I(6, g.SpanToothCount[2]));
  GearRowOf("span measurement, theor.", "W", len, g.WkNominal, [](Real x) { return L(5, 4, x); });
  if (premachined)
    LimitRows("span meas. premachined, max.", "Wqmax", "span meas. premachined, min.", "Wqmin", g.WkPreUpper,
              g.WkPreLower);
  LimitRows("span meas. finished, max.", "Wmax", "span meas. finished, min.", "Wmin", g.WkUpper, g.WkLower);
  ToleranceRow("span meas. tolerance", "TW", g.WkUpper, g.WkLower);

  PrintBallAndPinRows(premachined);
}

}  // namespace app
