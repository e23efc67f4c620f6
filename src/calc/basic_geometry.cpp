// Input checks, basic geometry and tip diameters of the spur pair
// (basic_geometry.h). Works on SpurGearData; the working geometry that
// follows from the profile shifts is computed by tool_profile.cpp.
#include "calc/basic_geometry.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "calc/drive_load.h"
#include "calc/spur_gear_data.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/memo_math.h"
#include "common/message_list.h"
#include "common/number_format.h"
#include "common/numeric_routines.h"

namespace calc {

using common::MemoAtan;
using common::MemoCos;
using common::MemoSin;
using common::MemoTan;

namespace {

void Fatal(const std::string& text) {
  common::AddErrorMessage(text);
  common::FatalFlag = 1;
}

// Upper limits of the inputs, far beyond any real gear pair: beyond them
// the calculation overflows or loses every digit (a face width of 1e308
// gives safeties of 0 without a word), so they are refused as what they
// are. A value that is no number fails its limit too.
constexpr Real MaxToothNumber = 10000;
constexpr Real MaxModule = 100;          // mm
constexpr Real MaxFaceWidth = 10000;     // mm
constexpr Real MaxPitchRadius = 100000;  // mm

bool Within(Real x, Real limit) { return std::fabs(x) <= limit; }

// The limits of the inputs themselves, and the drive's (drive_load.h);
// false (fatal) at the first one exceeded.
bool InputsWithinLimits(const TSpurGearData& g) {
  if (!Within(g.ToothNumbers[1], MaxToothNumber)) {
    Fatal("Fatal  : z1 > 10000 !");
    return false;
  }
  if (!Within(g.NormalModule, MaxModule)) {
    Fatal("Fatal  : mn > 100 mm !");
    return false;
  }
  if (!Within(g.FaceWidth, MaxFaceWidth)) {
    Fatal("Fatal  : b > 10000 mm !");
    return false;
  }
  return CheckLoadInputs();
}

}  // namespace

void CheckSpurInput() {
  TSpurGearData& g = SpurGearData;
  if (common::FatalFlag != 0) {
    common::AddErrorMessage("Fatal  : Unit0");
    return;
  }
  if (g.PressureAngle < 5 || g.PressureAngle > 45) {
    Fatal("Fatal  : alpha !");
    return;
  }
  if (std::fabs(g.HelixAngle) > 45) {
    Fatal("Fatal  : beta > 45!");
    return;
  }
  if (g.NormalModule <= 0) {
    // The noncircular pair derives the module from z1: a negative tooth
    // number shows as a negative module and is named as what it is.
    Fatal(g.ToothNumbers[1] < 0 ? "Fatal  : z1 < 0 !" : "Fatal  : mn <= 0!");
    return;
  }
  if (g.FaceWidth <= 0) {
    Fatal("Fatal  : b <= 0!");
    return;
  }
  for (int i = 1; i <= 2; ++i) {
    if (std::abs(g.ToothNumbers[i]) < 2) {
      Fatal("Fatal  : z" + common::IntToText(i) + " < 2!");
      return;
    }
  }
  if (!InputsWithinLimits(g)) return;
  // Gear 1 carries the pitch curve and is always meant to be external; an
  // internal gear 1 is computed but reported.
  if (g.ToothNumbers[1] < 0) common::AddErrorMessage("Error  : z1 < 0 !");

  for (int i = 1; i <= 2; ++i) {
    if (g.GearFaceWidth[i] <= 0) g.GearFaceWidth[i] = g.FaceWidth;
  }
  for (int i = 1; i <= 2; ++i) {
    if (g.alphaP0[i] == 0) g.alphaP0[i] = g.PressureAngle;
    if (g.alphaP0[i] == g.PressureAngle) {
      g.ToolAngleDiffers[i] = 0;
      g.hfP0FactorUsed[i] = g.hfP0Factor[i];
    } else {
      g.ToolAngleDiffers[i] = 1;
    }
  }

  g.alphanRad = common::DegToRad(g.PressureAngle);
  g.betaRad = common::DegToRad(g.HelixAngle);
  g.DiametralPitch = 25.4L / g.NormalModule;

  // A helical pair meshes with opposite hands externally, with equal hands
  // internally.
  const bool externalPair = g.ToothNumbers[2] >= 0;
  switch (g.HelixHand[1]) {
    case 3: g.HelixHand[2] = 3; break;
    case 1: g.HelixHand[2] = externalPair ? 2 : 1; break;
    case 2: g.HelixHand[2] = externalPair ? 1 : 2; break;
    default: break;
  }

  // The angles are those of every position of a sweep.
  const Real cosBeta = common::SteadyAngleFunctions(g.betaRad).cos;
  const common::TAngleFunctions alphan = common::SteadyAngleFunctions(g.alphanRad);
  g.mt = g.NormalModule / cosBeta;
  for (int i = 1; i <= 2; ++i) g.d[i] = g.ToothNumbers[i] * g.mt;
  for (int i = 1; i <= 2; ++i) {
    if (!Within(g.d[i] / 2, MaxPitchRadius)) {
      Fatal("Fatal  : rw" + common::IntToText(i) + " > 100000 mm !");
      return;
    }
  }
  g.alphatRad = common::MemoisedRecent<MemoAtan>(alphan.tan / cosBeta);
  const Real sinAlphan = alphan.sin;
  g.zLimit = 2 / (sinAlphan * sinAlphan);
  g.zLimitPractical = 5.0L / 6.0L * g.zLimit;
  const Real cos3Beta = cosBeta * cosBeta * cosBeta;
  // Practical undercut limit (DIN 3960): the virtual tooth number of a
  // helical gear is z / cos^3 beta.
  g.xmin[1] = (g.zLimitPractical - g.ToothNumbers[1] / cos3Beta) / g.zLimit;
  g.xmin[2] = g.ToothNumbers[2] >= 0
                  ? (g.zLimitPractical - g.ToothNumbers[2] / cos3Beta) / g.zLimit
                  : 0;
}

void CorrectCentreDistance() {
  TSpurGearData& g = SpurGearData;
  if (common::FatalFlag != 0) return;
  if (g.CentreDistance == 0) {
    g.alphaWt = 0;
    g.xSumForA = 0;
    return;
  }
  const Real cosAlphat = MemoCos(g.alphatRad);
  const int zSum = g.ToothNumbers[1] + g.ToothNumbers[2];
  Real c = cosAlphat * (g.d[1] + g.d[2]) / 2 / g.CentreDistance;
  if (c > 1 || c < 0) {
    // No working pressure angle fits this centre distance: a far-off value
    // is taken as a slip and replaced by the one without profile shift.
    common::AddErrorMessage("cent.distance corr. !");
    g.aNominal = g.NormalModule / 2 / MemoCos(g.betaRad) * zSum;
    if (common::PercentDeviation(g.CentreDistance, g.aNominal) > 20) {
      g.CentreDistance = g.aNominal;
    }
    c = cosAlphat * (g.d[1] + g.d[2]) / 2 / g.CentreDistance;
  }
  g.alphaWt = common::CheckedArcCos(c);
  g.xSumForA = (common::Involute(g.alphaWt) - common::Involute(g.alphatRad)) * zSum / 2 /
               MemoTan(g.alphanRad);
}

void SetTipDiameters() {
  TSpurGearData& g = SpurGearData;
  const Real a = g.CentreDistance;
  for (int i = 1; i <= 2; ++i) {
    const int j = 3 - i;
    switch (g.GeometryMode[i]) {
      case 1:
        g.TipDiameter[i] = 2 * (a - g.c[i]) - g.df[j];
        g.TipReduction[i] = (g.TipDiameterTheoretical[i] - g.TipDiameter[i]) / 2;
        break;
      case 2:
        g.TipDiameter[i] = g.TipDiameterTheoretical[i] - 2 * g.TipReduction[i];
        g.c[i] = a - (g.df[j] + g.TipDiameter[i]) / 2;
        break;
      case 3:
        g.TipReduction[i] = (g.TipDiameterTheoretical[i] - g.TipDiameter[i]) / 2;
        g.c[i] = a - (g.df[j] + g.TipDiameter[i]) / 2;
        break;
      default:
        break;
    }
  }
}

}  // namespace calc
