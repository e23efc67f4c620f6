// Tool profile, tolerances and working geometry of the spur pair
// (tool_profile.h). Reads the transverse values and reference diameters of
// CheckSpurInput (basic_geometry.cpp), the DIN 3967 and ISO 286 tables
// (tolerance_tables.cpp) and the name tables of calc_records.h.
#include "calc/tool_profile.h"

#include <cmath>
#include <string>

#include "calc/calc_records.h"
#include "calc/spur_gear_data.h"
#include "calc/tolerance_tables.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/memo_math.h"
#include "common/message_list.h"
#include "common/number_format.h"

namespace calc {

using common::MemoAtan;
using common::MemoCos;
using common::MemoSin;
using common::MemoTan;

namespace {

// Tooth-thickness allowances from the DIN 3967 series, or the tolerance of
// the entered pair of allowances. The tables are in micrometres.
void SetToothThicknessAllowances(TSpurGearData& g) {
  for (int i = 1; i <= 2; ++i) {
    if (g.ToleranceSeries[i] < 11) {
      g.AsnUpper[i] = -GetToothThicknessAllowance(g.AllowanceSeries[i], g.d[i]) / 1000.0L;
      g.Tsn[i] = GetToothThicknessTolerance(g.ToleranceSeries[i], g.d[i]) / 1000.0L;
      g.AsnLower[i] = g.AsnUpper[i] - g.Tsn[i];
    } else {
      g.Tsn[i] = g.AsnUpper[i] - g.AsnLower[i];
    }
  }
}

void SetSeriesNames(TSpurGearData& g) {
  if (RatingOnly) {
    // Only the default series is needed; the names are for the printout.
    for (int i = 1; i <= 2; ++i)
      if (g.ToleranceSeries[i] == 0) g.ToleranceSeries[i] = 11;
    return;
  }
  g.CentreDistanceFieldName =
      g.CentreDistanceField >= 1 && g.CentreDistanceField <= 8
          ? CentreDistanceFieldNames[g.CentreDistanceField]
          : std::string();
  for (int i = 1; i <= 2; ++i) {
    if (g.ToleranceSeries[i] == 0) g.ToleranceSeries[i] = 11;
    if (g.ToleranceSeries[i] >= 1 && g.ToleranceSeries[i] <= 10) {
      // A deviation series outside the table has no letters (its allowance
      // is 0 as well).
      const int series = g.AllowanceSeries[i];
      const std::string letters =
          series >= 1 && series <= 11 ? DeviationSeriesNames[series] : std::string();
      g.ToothThicknessSeriesName[i] = letters + " " + common::IntToText(g.ToleranceSeries[i] + 20);
    } else {
      g.ToothThicknessSeriesName[i].clear();
    }
  }
}

// The standard tools of the tool kinds; kinds 4 and 8 keep every entered
// value, 5 and 9 an entered tool without protuberance.
void SetToolKind(TSpurGearData& g, int i) {
  auto standard = [&](Real haP0, Real rhoaP0, Real alphaPr, Real prP0, const char* name) {
    g.hfP0Factor[i] = 1.0L;
    g.haP0Factor[i] = haP0;
    g.rhoaP0Factor[i] = rhoaP0;
    g.alphaPrP0[i] = alphaPr;
    g.prP0Factor[i] = prP0;
    g.alphaP0[i] = g.PressureAngle;
    g.ToolProfileName[i] = name;
    g.hfP0FactorUsed[i] = g.hfP0Factor[i];
  };
  switch (g.ToolKindCode[i]) {
    case 1: standard(1.25L, 0.25L, 0, 0, "Normal"); break;
    case 2: standard(1.25L, 0.38L, 0, 0, "Normal"); break;
    case 3: standard(1.4L, 0.4L, 6, 0.02L, "Protub."); break;
    case 4:
    case 8: g.ToolProfileName[i].clear(); break;
    case 5:
    case 9:
      g.alphaPrP0[i] = 0;
      g.prP0Factor[i] = 0;
      g.ToolProfileName[i] = "Normal";
      break;
    default: break;
  }
  // A tool angle within 0.001 degrees of alpha counts as equal. The margin
  // of 1e-9 keeps an entered difference of exactly 0.001 on the "differs"
  // side, which binary fractions would otherwise decide at random.
  const Real diff = std::fabs(g.alphaP0[i] - g.PressureAngle);
  g.ToolAngleDiffers[i] = diff < 0.001L - 1e-9L ? 0 : 1;
  if (g.ToolAngleDiffers[i] == 0) g.hfP0FactorUsed[i] = g.hfP0Factor[i];
}

}  // namespace

void CalcToolProfile() {
  TSpurGearData& g = SpurGearData;
  if (common::FatalFlag != 0) {
    common::AddErrorMessage("Fatal  : Unit1");
    return;
  }
  const Real mn = g.NormalModule;
  const Real alphan = g.alphanRad;
  const Real alphat = g.alphatRad;
  // The angles are those of every position of a sweep.
  const common::TAngleFunctions alphanFunctions = common::SteadyAngleFunctions(alphan);
  const common::TAngleFunctions alphatFunctions = common::SteadyAngleFunctions(alphat);
  const common::TAngleFunctions betaFunctions = common::SteadyAngleFunctions(g.betaRad);
  const Real cosBeta = betaFunctions.cos;
  const Real tanAlphan = alphanFunctions.tan;
  const Real sinAlphan = alphanFunctions.sin;
  const Real cosAlphat = alphatFunctions.cos;
  const int zSum = g.ToothNumbers[1] + g.ToothNumbers[2];

  SetToothThicknessAllowances(g);
  g.aNominal = mn / 2 / cosBeta * zSum;
  SetSeriesNames(g);

  for (int i = 1; i <= 2; ++i) {
    SetToolKind(g, i);
    // The basic rack of the gear is the counterpart of the tool: the tool
    // dedendum is the gear addendum and vice versa.
    g.haP[i] = g.hfP0Factor[i] * mn;
    g.hfP[i] = g.haP0Factor[i] * mn;
    g.rhoaP0[i] = g.rhoaP0Factor[i] * mn;
    g.rhofP0[i] = g.rhofP0Factor[i] * mn;
    g.prP0[i] = g.prP0Factor[i] * mn;
    g.hfP0Used[i] = g.hfP0FactorUsed[i] * mn;
  }

  g.betab = common::MemoisedRecent<MemoAtan>(cosAlphat * betaFunctions.tan);
  if (zSum != 0) {
    g.alphaWt = common::InverseInvolute(
        (alphatFunctions.tan - alphat) +  // the involute of alphat
        2 * tanAlphan * (g.ProfileShift[1] + g.ProfileShift[2]) / zSum);
  } else {
    g.alphaWt = alphat;
  }
  if (g.alphaWt == 0) {
    common::FatalFlag = 1;
    common::AddErrorMessage("Fatal  : alpha wt !");
    common::AbortFlag = 1;
    return;
  }

  // The centre distance that the profile shifts give, which this step ends
  // by storing: the allowances and the working angles at the limits belong
  // to it, not to an entered value that the step replaces.
  const common::TAngleFunctions alphaWt = common::CurrentAngleFunctions(g.alphaWt);
  const Real a = (g.d[1] + g.d[2]) / 2 * cosAlphat / alphaWt.cos;

  const Real cosBetab = common::SteadyAngleFunctions(g.betab).cos;
  g.cos2betab = cosBetab * cosBetab;
  if (g.CentreDistanceField < 9) {
    g.Aae = GetIsoTolerance(g.CentreDistanceField, a) / 2000.0L;
    g.Aai = -g.Aae;
  }

  // Backlash from the centre-distance and the tooth-thickness allowances
  // (for the printout; a rating for the sweep does not read it).
  if (!RatingOnly) {
    g.jtMin = (2 * tanAlphan * g.Aai) / cosBeta - (g.AsnUpper[1] + g.AsnUpper[2]) / cosBeta;
    g.jtMax = (2 * tanAlphan * g.Aae) / cosBeta - (g.AsnLower[1] + g.AsnLower[2]) / cosBeta;
    g.jnMin = alphanFunctions.cos * g.jtMin * cosBeta;
    g.jnMax = alphanFunctions.cos * g.jtMax * cosBeta;
    g.jrMin = g.jtMin / (2 * alphaWt.tan);
    g.jrMax = g.jtMax / (2 * alphaWt.tan);
  }

  for (int i = 1; i <= 2; ++i) {
    const Real x = g.ProfileShift[i];
    g.xEb[i] = x + g.AsnLower[i] / (2 * tanAlphan * mn);
    g.xEa[i] = x + g.AsnUpper[i] / (2 * tanAlphan * mn);
    const Real q = g.MachiningAllowance[i];
    if (std::fabs(q) >= 1e-5L) {
      // The pre-cut leaves q on each flank of the thickest finished tooth;
      // its tolerance widens the pre-cut towards thicker teeth.
      g.xEmin[i] = g.xEa[i] + q / (sinAlphan * mn);
      g.xEmax[i] = g.xEa[i] + (q + g.MachiningAllowanceTol[i]) / (sinAlphan * mn);
      if (!common::MsgQuiet && g.MachiningAllowanceTol[i] < g.Tsn[i] / 2) {
        common::AddErrorMessage("Warning: q tol < Tsn/2  (" + common::IntToText(i) + ")");
      }
    } else {
      g.MachiningAllowance[i] = 0;
      g.MachiningAllowanceTol[i] = 0;
      g.xEmin[i] = g.xEb[i];
      g.xEmax[i] = g.xEa[i];
    }
  }

  // The working pressure angles and pitch diameters at the limits of the
  // centre distance: for the printout and the contact at those limits.
  if (!RatingOnly) {
    if (zSum != 0 && a != 0) {
      g.alphaWtAtLowerA = common::CheckedArcCos(cosAlphat * (g.d[1] + g.d[2]) / ((a + g.Aai) * 2));
      g.alphaWtAtUpperA = common::CheckedArcCos(cosAlphat * (g.d[1] + g.d[2]) / ((a + g.Aae) * 2));
    } else {
      g.alphaWtAtLowerA = alphat;
      g.alphaWtAtUpperA = alphat;
    }
  }

  for (int i = 1; i <= 2; ++i) {
    g.zn[i] = g.ToothNumbers[i] / (cosBeta * g.cos2betab);
    g.dn[i] = mn * g.zn[i];
    g.dw[i] = g.d[i] * cosAlphat / alphaWt.cos;
    if (!RatingOnly) {
      g.dwAtLowerA[i] = g.d[i] * cosAlphat / MemoCos(g.alphaWtAtLowerA);
      g.dwAtUpperA[i] = g.d[i] * cosAlphat / MemoCos(g.alphaWtAtUpperA);
    }
    g.df[i] = g.d[i] - 2 * g.hfP[i] + 2 * g.xEmax[i] * mn;
    if (g.ToothNumbers[i] > 0 && g.df[i] < 0) {
      common::AddErrorMessage("Fatal  : df <=0 ! (" + common::IntToText(i) + ")");
      common::FatalFlag = 1;
      return;
    }
    g.dfLower[i] = g.d[i] - 2 * g.hfP[i] + 2 * g.xEmin[i] * mn;
    g.dfNoAllowance[i] = g.d[i] - 2 * g.hfP[i] + 2 * g.ProfileShift[i] * mn;
    g.dfTolerance[i] = g.dfLower[i] - g.df[i];
    g.daNoShortening[i] = g.d[i] + 2 * (g.ProfileShift[i] * mn + g.haP[i]);
    g.TipDiameterTheoretical[i] = g.df[i] + 2 * (g.haP[i] + g.hfP[i]);
    g.db[i] = g.d[i] * cosAlphat;
    g.dMid[i] = (g.TipDiameterTheoretical[i] + g.df[i]) / 2;
  }

  g.pn = common::Pi * mn;
  g.pt = g.pn / cosBeta;
  g.pbt = cosAlphat * g.pt;
  g.pet = g.pbt;
  g.pbn = alphanFunctions.cos * g.pn;
  g.CentreDistance = (g.dw[1] + g.dw[2]) / 2;
  g.betaW = MemoAtan(betaFunctions.tan * g.dw[1] / g.d[1]);
}

}  // namespace calc
