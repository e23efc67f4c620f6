// The spur-pair calculation driver (spur_pair_driver.h): step order and stop
// tests of the spur-gear kernel, and the picture values.
#include "calc/spur_pair_driver.h"

#include <cmath>

#include "calc/basic_geometry.h"
#include "calc/contact_geometry.h"
#include "calc/gear_tolerances.h"
#include "calc/load_capacity.h"
#include "calc/measurements.h"
#include "calc/plausibility_warnings.h"
#include "calc/spur_gear_data.h"
#include "calc/tool_profile.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/numeric_routines.h"

namespace calc {

namespace {

bool Fatal() { return common::FatalFlag != 0; }

// Angle (degrees) that the tooth thickness of gear 1 on its working pitch
// circle spans.
Real ToothAngleDegrees(const TSpurGearData& g) {
  return common::RadToDeg(2 * common::CheckedArcSin(g.RefLength[1] / (2 * g.dw[1])));
}

}  // namespace

void CalcSpurPair() {
  const common::CalculationMessagesScope calculating;
  common::AbortFlag = 0;
  common::ClearErrorMessages();
  CalcSpurGeometry();
  if (!Fatal()) CalcSpurStrength();
}

void CalcSpurRatingAfterToolProfile() {
  const common::CalculationMessagesScope calculating;
  if (Fatal()) return;
  SetTipDiameters();
  if (Fatal()) return;
  CalcContactGeometry();
  if (Fatal()) return;
  // Of the measurements only what a later position reads; none of them can
  // make the position fail. The warnings are those of a complete position:
  // the sweep keeps what every position says.
  ChooseSpanToothCounts();
  CalcGearTolerances();
  CheckSpurWarnings();
  if (!Fatal()) CalcSpurStrength();
}

void CalcSpurGeometry() {
  CheckSpurInput();
  if (Fatal()) return;
  CorrectCentreDistance();
  if (Fatal()) return;
  CalcToolProfile();
  if (Fatal() || common::AbortFlag != 0) return;
  SetTipDiameters();
  if (Fatal()) return;
  CalcContactGeometry();
  if (Fatal()) return;
  CalcMeasuresTolerances();
  if (Fatal()) return;
  // The warnings and the picture values run whatever the measurements
  // reported.
  CheckSpurWarnings();
  PrepareDrawingValues();
}

void PrepareDrawingValues() {
  TSpurGearData& g = SpurGearData;
  g.DrawSetting = g.DrawSettingSource;
  g.DrawToothAngle = ToothAngleDegrees(g);
  for (int i = 1; i <= 2; ++i) {
    g.xEmean[i] = (g.xEa[i] + g.xEb[i]) / 2;
    g.xPreMean[i] = (g.xEmax[i] + g.xEmin[i]) / 2;
  }
  g.aDraw = g.CentreDistance;
  CalcAuxDiameters(g.xEmean);
}

void CalcAuxDiameters(GearArray<Real> xm) {
  TSpurGearData& g = SpurGearData;
  const Real mn = g.NormalModule;
  const Real cosAlphat = std::cos(g.alphatRad);
  Real alphaw = g.alphatRad;
  for (int i = 1; i <= 2; ++i) {
    g.snMean[i] = mn * (2 * xm[i] * common::Tan(g.alphanRad) + common::Pi / 2);
    // A gear with a machining allowance is drawn as pre-finished: its root
    // and tip follow the pre-cut.
    const Real twiceShift =
        g.MachiningAllowance[i] <= 1e-5L ? 2 * xm[i] : g.xEmax[i] + g.xEmin[i];
    g.dfMean[i] = g.d[i] - 2 * g.hfP[i] + twiceShift * mn;
    g.daMean[i] = common::SameReal(g.TipReduction[i], 0)
                      ? g.d[i] + 2 * g.haP[i] + twiceShift * mn
                      : g.TipDiameter[i];
    if (g.aDraw == 0) {
      alphaw = g.alphatRad;
    } else {
      const Real c = cosAlphat * (g.d[1] + g.d[2]) / 2 / g.aDraw;
      if (c > 1 || c < 0) {
        common::AddErrorMessage("Error  : confgraf");
        return;
      }
      alphaw = common::CheckedArcCos(c);
    }
    g.dwDraw[i] = (cosAlphat * g.d[i]) / std::cos(alphaw);
  }
  g.DrawStartAngle = ToothAngleDegrees(g);
  const Real baseDiameter = g.dwDraw[1] * std::cos(alphaw);
  g.DrawContactStartAngle = g.DrawStartAngle + common::RadToDeg(2 * g.gAStart / baseDiameter);
  g.DrawContactEndAngle = g.DrawStartAngle - common::RadToDeg(2 * g.gAEnd / baseDiameter);
}

}  // namespace calc
