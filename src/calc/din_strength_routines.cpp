// DIN 3990 single-formula routines (din_strength_routines.h): size factors,
// running-in allowance, tooth form factors and the DIN life lines. Checked
// math from guarded_math.h, messages to message_list.h.
#include "calc/din_strength_routines.h"

#include <cmath>

#include "calc/life_lines.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/memo_math.h"
#include "common/message_list.h"
#include "common/numeric_routines.h"

namespace calc {

using common::MemoCos;
using common::MemoSin;
using common::MemoTan;

using common::AddErrorMessage;
using common::CheckedPower;
using common::ClampReal;
using common::Pi;

Real CalcSizeFactorZX(std::uint16_t code, Real mn) {
  // Surface-hardened flanks lose endurance with the module (case depth).
  if (code == 2 || code == 3 || code == 4) return ClampReal(0.9L, 1.0L, 1.05L - 0.005L * mn);
  // Nitrided and nitrocarburized flanks (DIN 3990-2: NT, NV) share a line.
  if (code >= 5 && code <= 7) return ClampReal(0.75L, 1.0L, 1.08L - 0.011L * mn);
  return 1.0L;
}

Real CalcSizeFactorYX(std::uint16_t gearKind, std::uint16_t code, Real mn) {
  if (code == 5 || code == 6) return ClampReal(0.7L, 1.0L, 1.075L - 0.015L * mn);
  if (gearKind < 2) return ClampReal(0.7L, 1.0L, 1.03L - 0.006L * mn);
  return ClampReal(0.8L, 1.0L, 1.05L - 0.01L * mn);
}

Real CalcRunningInAllowanceYa(std::uint16_t firstCode, std::uint16_t secondCode, Real fpb, Real v,
                              Real sigmaHlim) {
  if (firstCode == 2 || (firstCode >= 5 && firstCode <= 7)) {
    return common::MinReal(3.0L, 160.0L / sigmaHlim);
  }
  // Higher speeds run in less: the deviation that counts is capped.
  Real fpbUsed = fpb;
  if (v > 10) {
    fpbUsed = common::MinReal(fpb, 40);
  } else if (v > 5) {
    fpbUsed = common::MinReal(fpb, 80);
  }
  if (secondCode == 5 || secondCode == 6) return 0.275L * fpbUsed;
  return 160.0L / sigmaHlim * fpbUsed;
}

namespace {

// Hours of a cycle count at a speed, a gear meshing several times per turn
// wearing faster. A gear at rest accumulates no cycles: 0 hours, not a
// division by zero.
Real CyclesToHours(Real cycles, Real speed, Real meshesPerRev) {
  if (speed == 0) return 0;
  Real hours = cycles / std::fabs(speed) / 60.0L;
  if (meshesPerRev > 1) hours /= meshesPerRev;
  return hours;
}

}  // namespace

Real CalcPittingLife(std::uint16_t heatTreatment, std::uint16_t materialGroup, std::uint16_t mode,
                     Real sh, Real speed, Real meshesPerRev, Real enduranceProduct, Real& cycles) {
  // DIN 3990-2 takes ZL ZV ZR (and ZX) at 1 for static stress.
  cycles = sh > 0 ? CyclesOnRatedLifeLine(FlankLifeLine(LifeLineMethod::Din, materialGroup, heatTreatment, mode),
                                          enduranceProduct, 1, 1 / sh, "Error  : LtH")
                   : 0;
  // Beyond the line's static point the flank has no life left: that, and
  // only that, is what the message says.
  if (cycles == 0) {
    AddErrorMessage("Error  : Pitting");
    return 0;
  }
  return CyclesToHours(cycles, speed, meshesPerRev);
}

Real CalcToothRootLife(std::uint16_t heatTreatment, std::uint16_t materialGroup, Real& cycles,
                       Real sf, Real speed, Real meshesPerRev, Real enduranceProduct, Real staticProduct) {
  // DIN 3990-3 takes YX and YRrelT at 1 for static stress.
  cycles = sf > 0 ? CyclesOnRatedLifeLine(RootLifeLine(LifeLineMethod::Din, materialGroup, heatTreatment),
                                          enduranceProduct, staticProduct, 1 / sf, "Error  : LtF")
                   : 0;
  // Beyond the static point the root breaks: the message stands beside
  // "breakage", never beside a life.
  if (cycles == 0) {
    AddErrorMessage("Error  : fatigue fract.");
    return 0;
  }
  return CyclesToHours(cycles, speed, meshesPerRev);
}

namespace {

// Outer point of single pair contact of the virtual spur gear (DIN 3990-3):
// its diameter den (signed like the gear) from the virtual tip diameter and
// the virtual contact ratio. An internal gear's tip lies inside, so the
// single-pair point lies one base pitch further out along the path.
Real SinglePairDiameter(Real dn, Real dbn, Real dan, Real pbn, Real epsAlphan, bool internal) {
  Real rollTip = std::sqrt(std::fmax(dan * dan / 4 - dbn * dbn / 4, 0.0L));
  Real roll = internal ? rollTip + pbn * (epsAlphan - 1) : rollTip - pbn * (epsAlphan - 1);
  Real den = 2 * std::sqrt(roll * roll + dbn * dbn / 4);
  return dn < 0 ? -den : den;
}

// YS from the root chord, the lever arm and the fillet radius (DIN 3990-3).
void StressCorrection(TToothFormFactors& f) {
  if (f.hFe == 0) {
    AddErrorMessage("Error  : YS:HFe=0");
    return;
  }
  if (f.rhoF == 0) {
    AddErrorMessage("Error  : YS:rhof=0");
    return;
  }
  Real l = f.sFn / f.hFe;
  f.qs = f.sFn / (2 * f.rhoF);
  f.YS = (1.2L + 0.13L * l) * CheckedPower("", f.qs, 1.0L / (1.21L + 2.3L / l));
}

}  // namespace

namespace {

// The angle theta of the 30 degree tangent to the root fillet (DIN 3990-3):
// ten rounds of its fixed-point iteration from pi/6; with the functions of
// it that the form factor takes. Every position of a sweep with the same
// tooth number asks for the same angle, so it is memoised.
struct TFilletTangent {
  Real cosTheta;
  Real sinRest;  // sin(pi/3 - theta)
  Real cosRest;  // cos(pi/3 - theta)
};

TFilletTangent FilletTangent(Real g, Real zn, Real h) {
  Real theta = Pi / 6;
  for (int round = 0; round < 10; ++round) theta = 2 * g / zn * std::tan(theta) - h;
  return {std::cos(theta), std::sin(Pi / 3 - theta), std::cos(Pi / 3 - theta)};
}

}  // namespace

bool CalcToothFormFactorYFS(TToothFormFactors& out, Real alphan, Real /*betaRad*/, Real mn, Real prP0,
                            Real /*alphaPrP0Rad*/, Real hfP, Real rhoaP0, Real x, std::int32_t z,
                            Real zn, Real d, Real df, Real epsAlpha, Real betab, Real dNa,
                            Real /*daTheoretical*/, Real /*daTheoreticalMate*/, Real /*db*/,
                            Real /*dbMate*/, Real /*a*/, Real /*alphaWt*/) {
  TToothFormFactors f;
  const Real rhofP = rhoaP0;  // the tool tip radius generates the root fillet
  // Residual undercut of a protuberance tool, normal to the flank; its angle
  // does not enter method B.
  const Real spr = prP0;
  const bool internal = z <= 0;
  // The angles are those of every position of a sweep.
  const common::TAngleFunctions an = common::SteadyAngleFunctions(alphan);
  const Real cosAn = an.cos;
  const Real tanAn = an.tan;

  // Virtual spur gear of the normal section.
  const Real cosBb = common::SteadyAngleFunctions(betab).cos;
  const Real cosBb2 = cosBb * cosBb;
  const Real dn = d / cosBb2;
  const Real dbn = dn * cosAn;
  const Real dan = dn + dNa - d;
  const Real dfn = dn + df - d;
  const Real epsAlphan = epsAlpha / cosBb2;
  const Real pbn = Pi * mn * cosAn;

  TFilletTangent fillet{};
  if (!internal) {
    // Auxiliary values E, G, H of DIN 3990-3 for the 30 degree tangent.
    const Real e = Pi / 4 * mn - hfP * tanAn + spr / cosAn - (1 - an.sin) * rhofP / cosAn;
    const Real g = rhofP / mn - hfP / mn + x;
    const Real h = 2 / zn * (Pi / 2 - e / mn) - Pi / 3;
    fillet = common::Memoised<FilletTangent>(g, zn, h);
    const Real costh = fillet.cosTheta;
    f.sFn = mn * (zn * fillet.sinRest + std::sqrt(3.0L) * (g / costh - rhofP / mn));
    f.rhoF = rhofP + 2 * g * g * mn / (costh * (zn * costh * costh - 2 * g));
  } else {
    // Internal gear on the rack profile: chord at the 30 degree tangent of
    // the fillet of a straight flank; the fillet radius is taken as half the
    // tool's, as the standard does for want of the cutter geometry.
    f.sFn = 2 * (Pi / 4 * mn + (hfP - rhofP) * tanAn + (rhofP - spr) / cosAn -
                 rhofP * std::cos(Pi / 6));
    f.rhoF = 0.5L * rhofP;
  }

  if (common::FatalFlag != 0) {
    AddErrorMessage("Fatal: bending moment !");
    return false;
  }
  const Real den = SinglePairDiameter(dn, dbn, dan, pbn, epsAlphan, internal);
  const Real alphaen = den == 0 ? 0 : common::CheckedArcCos(dbn / den);
  if (alphaen == 0) AddErrorMessage("Error  : YFS->hfe");
  if (!internal) {
    const Real involuteAn = tanAn - alphan;
    const Real gammae = (Pi / 2 + 2 * x * tanAn) / zn + involuteAn - common::Involute(alphaen);
    f.alphaFen = alphaen - gammae;
    const Real g = rhofP / mn - hfP / mn + x;
    f.hFe = 0.5L * mn *
            ((MemoCos(gammae) - MemoSin(gammae) * MemoTan(f.alphaFen)) * den / mn -
             zn * fillet.cosRest - g / fillet.cosTheta + rhofP / mn);
  } else {
    // Rack: the load acts normal to the straight flank; lever arm from the
    // load height above the root line down to the critical section.
    f.alphaFen = alphan;
    const Real loadHeight = (den - dfn) / 2;
    const Real halfThickness = Pi / 4 * mn + (hfP - loadHeight) * tanAn;
    f.hFe = loadHeight - halfThickness * tanAn - rhofP * (1 - std::sin(Pi / 6));
  }
  if (f.sFn != 0) {
    f.YF = (6 * f.hFe / mn * MemoCos(f.alphaFen)) / ((f.sFn / mn) * (f.sFn / mn) * cosAn);
  }
  StressCorrection(f);
  out = f;
  return true;
}

}  // namespace calc
