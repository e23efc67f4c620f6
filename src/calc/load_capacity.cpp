// Load capacity of the spur pair after DIN 3990 and ISO 6336 (load_capacity.h):
// the strength step of the spur-pair driver. Forces, the factor set of the
// chosen method (din_load_factors.h, iso_factor_set.h, or the entered factors),
// contact and root stresses, safeties, service lives (din_strength_routines.h,
// iso_factor_routines.h), resonance, bore check and the gear-body masses.
// Works on SpurGearData (spur_gear_data.h); what it derives from entered data
// goes into the ...Used fields of spur_strength_fields.h.
#include "calc/load_capacity.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "calc/calc_records.h"
#include "calc/din_load_factors.h"
#include "calc/din_strength_routines.h"
#include "calc/drive_load.h"
#include "calc/gear_geometry_routines.h"
#include "calc/iso_factor_routines.h"
#include "calc/iso_factor_set.h"
#include "calc/life_lines.h"
#include "calc/face_widths.h"
#include "calc/section_properties.h"
#include "calc/spur_gear_data.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/memo_math.h"
#include "common/message_list.h"
#include "common/number_format.h"
#include "common/numeric_routines.h"
#include "common/text_utils.h"

namespace calc {

using common::MemoCos;
using common::MemoTan;

namespace {

using common::AddErrorMessage;
using common::CheckedSqrt;
using common::IntToText;
using common::Pi;

// Fatal input condition: message, flag, and the caller stops.
void Fatal(const char* text) {
  AddErrorMessage(text);
  common::FatalFlag = 1;
}

// A value no gear can have, named with its gear.
bool Negative(const char* quantity, const GearArray<Real>& values) {
  for (int i = 1; i <= 2; ++i)
    if (values[i] < 0) {
      Fatal((std::string("Fatal  : ") + quantity + " < 0 ! (gear " + IntToText(i) + ")").c_str());
      return true;
    }
  return false;
}

// A value of 0 that the rating divides by or takes a root of, named with its
// gear as a negative one is.
bool Zero(const char* quantity, const GearArray<Real>& values) {
  for (int i = 1; i <= 2; ++i)
    if (values[i] == 0) {
      Fatal((std::string("Fatal  : ") + quantity + " = 0 ! (gear " + IntToText(i) + ")").c_str());
      return true;
    }
  return false;
}

// Step 3: inputs without which no stress can be formed.
bool InputsUsable() {
  if (!CheckMaterialInputs()) return false;
  const TSpurGearData& g = SpurGearData;
  if (g.KAF == 0) {
    Fatal("Fatal  : KAF = 0 !");
    return false;
  }
  if (g.KAH == 0) {
    Fatal("Fatal  : KAH = 0 !");
    return false;
  }
  return true;
}

}  // namespace

bool CheckMaterialInputs() {
  const TSpurGearData& g = SpurGearData;
  // The roughness factors take a root of Rz, the elasticity factor the root
  // of (1 - mue^2) / E of both gears: a modulus of 0 or below, or a Poisson
  // ratio beyond 1, makes it undefined.
  if (Zero("Rz", g.RzFlank) || Zero("Rz", g.RzRoot) || Zero("E", g.E) || Negative("E", g.E)) return false;
  if (std::fabs(g.mue[1]) > 1 || std::fabs(g.mue[2]) > 1) {
    Fatal("Fatal  : mue < -1 or mue > 1 !");
    return false;
  }
  // An endurance limit of 0 keeps its own name, so that its explanation is
  // found beside that of a negative one.
  if (Zero("SigmaHlim", g.SigmaHlim) || Zero("SigmaFE", g.SigmaFE)) return false;
  // Values no material has: the rating would form negative safeties (an
  // endurance limit below 0), a negative mass and resonance speed (the
  // density) or a work-hardening factor beyond its range (the hardness),
  // and print them as results. The names are those of the printout.
  return !(Negative("Sig.Hlim", g.SigmaHlim) || Negative("Sig.FE", g.SigmaFE) || Negative("rho", g.rho) ||
           Negative("HB", g.HB) || Negative("Rz", g.RzFlank) || Negative("Rz", g.RzRoot));
}

namespace {

// Step 6: speeds, torques and forces. False: stop.
bool SpeedsAndForces() {
  TSpurGearData& g = SpurGearData;
  const std::int32_t z1 = g.ToothNumbers[1];
  const std::int32_t z2 = g.ToothNumbers[2];
  // The drive rated (drive_load.h): without power or speed nothing is
  // transmitted, and nothing rated; a torque on a pair at rest is printed,
  // and the forces below are those it puts on the teeth, so that the two
  // agree.
  const TRatedDrive drive = RatedDrive(g);
  const Real n1 = drive.n;
  g.nUsed[1] = n1;
  g.nUsed[2] = z2 == 0 ? 0 : n1 * z1 / z2;
  g.v = std::fabs(g.d[1] * n1 * Pi / 60000);
  g.TUsed[1] = drive.T;
  g.TUsed[2] = g.u * g.TUsed[1];
  g.PUsed = drive.P;
  // A drive whose entered values disagree is remarked, the pair rated or
  // not, naming the value rated in place of the entered one.
  ReportDriveMismatch(g);

  if (g.d[1] == 0) {
    Fatal("Fatal  : d1 = 0 !");
    return false;
  }
  g.Ft = 2000 * g.TUsed[1] / g.d[1];
  if (g.dw[1] == 0) {
    Fatal("Fatal  : dw1 = 0 !");
    return false;
  }
  g.Ftw = 2000 * g.TUsed[1] / g.dw[1];
  g.Fa = g.DoubleHelical ? 0 : g.Ftw * MemoTan(g.betaW);
  const common::TAngleFunctions alphaWt = common::CurrentAngleFunctions(g.alphaWt);
  g.Fr = g.Ftw * alphaWt.tan;
  g.Fn = g.Ftw / alphaWt.cos;
  return true;
}

// A rim diameter at or above the root leaves no rim: the gear is rated as
// a solid blank.
std::string SolidBlankNote(int i) {
  return "Warning: rim di >= df: rated as solid blank (" + IntToText(i) + ")";
}

// Step 7: body inner and bore diameters in use. An internal gear's diameters
// are negative; its "bore" is the outer diameter of the ring body.
void BodyDiameters() {
  TSpurGearData& g = SpurGearData;
  const std::int32_t z2 = g.ToothNumbers[2];
  for (int i = 1; i <= 2; ++i) {
    g.BodyInnerDiameterUsed[i] = g.BodyInnerDiameter[i];
    g.BoreDiameterUsed[i] = g.BoreDiameter[i];
  }
  if (z2 < 0 && g.BodyInnerDiameterUsed[2] == 0) g.BodyInnerDiameterUsed[2] = DefaultRimDiameter(2);
  for (int i = 1; i <= 2; ++i) {
    Real& di = g.BodyInnerDiameterUsed[i];
    if (di == 0 && g.BoreDiameterUsed[i] != 0) di = g.BoreDiameterUsed[i];
    if (g.ToothNumbers[i] < 0 && di > 0) di = -di;
    if (g.df[i] <= di) {
      di = 0;
      AddErrorMessage(SolidBlankNote(i));
    }
  }
  if (z2 < 0 && g.BoreDiameterUsed[2] == 0 && g.BodyInnerDiameterUsed[2] < g.df[2]) {
    g.BoreDiameterUsed[2] = g.BodyInnerDiameterUsed[2];
  }
  if (z2 < 0 && g.BoreDiameterUsed[2] < 0 && g.BodyInnerDiameterUsed[2] < g.BoreDiameterUsed[2]) {
    g.BodyInnerDiameterUsed[2] = g.BoreDiameterUsed[2];
  }
}

// Step 9: the profile shift that the factor routines rate.
Real StrengthShift(int i) {
  const TSpurGearData& g = SpurGearData;
  switch (g.StrengthShiftChoice) {
    case 1: return common::MeanReal(g.xEb[i], g.xEa[i]);
    case 2: return g.xEb[i];
    case 3: return g.xEa[i];
    case 4: return common::MeanReal(g.xEmin[i], g.xEmax[i]);
    case 5: return g.xEmin[i];
    case 6: return g.xEmax[i];
    default: return g.ProfileShift[i];
  }
}

std::string SafetyWarning(const char* kind, int i, Real safety) {
  return std::string("Warning: ") + kind + "<1 (" + IntToText(i) + ") (" +
         common::FormatRealDigits(1, 2, safety) + ") !";
}

// Step 12. False when there is no contact stress to rate.
void PittingSafety() {
  TSpurGearData& g = SpurGearData;
  if (g.SigmaH[1] == 0) {
    if (g.ToothNumbers[1] + g.ToothNumbers[2] != 0) AddErrorMessage("Fatal  : SH !");
    g.SafetySH[1] = 0;
    g.SafetySH[2] = 0;
    return;
  }
  for (int i = 1; i <= 2; ++i) {
    g.LifeH[i] = 0;
    g.LifeH2[i] = 0;
    g.SafetySH[i] = g.SigmaH[i] == 0 ? 0 : g.SigmaHP[i] / g.SigmaH[i];
    // The lives are rated at every position: what their routines say
    // (pitting beyond the static strength) is a finding of the pair.
    if (g.LifeFactorsInput == 0) {
      // The factors that rate only the endurance strength, which the
      // safety holds; the life line takes them at 1 at its static point.
      const Real endurance = g.ZL * g.ZV * g.ZR * g.ZX[i];
      g.LifeH[i] = PittingFactorByMethod(g.HeatTreatment[i], g.MaterialType[i], 0, g.SafetySH[i],
                                         g.nUsed[i], g.MeshesPerRev[i], endurance, 1.0L, g.CyclesH[i]);
      g.LifeH2[i] = PittingFactorByMethod(g.HeatTreatment[i], g.MaterialType[i], 2, g.SafetySH[i],
                                          g.nUsed[i], g.MeshesPerRev[i], endurance, 1.0L, g.CyclesH2[i]);
    }
    // A sweep states the smallest safety of the turn itself.
    if (!RatingOnly && g.SafetySH[i] < 1) AddErrorMessage(SafetyWarning("SH", i, g.SafetySH[i]));
  }
}

// Step 13: root stresses, safeties, lives and the resonance warnings.
void RootSafetyAndResonance() {
  TSpurGearData& g = SpurGearData;
  const Real m = g.NormalModule;
  for (int i = 1; i <= 2; ++i) {
    const Real bi = g.RootFaceWidth[i];
    if (g.CalcMethod == 4) {
      g.SigmaF0[i] = g.Ft / (bi * m) * g.YF[i] * g.YSg[i] * g.Ybeta * g.YB[i] * g.YDT;
    } else {
      g.SigmaF0[i] = g.Ft / (bi * m) * g.YF[i] * g.YS[i] * g.Ybeta;
    }
    g.SigmaF[i] = g.SigmaF0[i] * g.KAF * g.KV * g.KFalpha * g.KFbeta;
    g.SigmaFP[i] = g.SigmaFE[i] * g.YdrelT[i] * g.YRrelT[i] * g.YX[i] * g.YM[i];
    if (g.LifeFactorsInput == 1) g.SigmaFP[i] *= g.YNTInput[i];
    g.LifeF[i] = 0;
    if (g.SigmaF[i] > 0) {
      g.SafetySF[i] = g.SigmaFP[i] / g.SigmaF[i];
      if (g.LifeFactorsInput == 0) {
        // YX and YRrelT are 1 at static stress; YdeltarelT takes its static
        // value where the standards give one without the yield strength,
        // else keeps its endurance value along the line.
        const Real notchStatic = StaticNotchSensitivityFactor(g.HeatTreatment[i], g.YS[i]);
        const Real endurance = g.YX[i] * g.YRrelT[i] * (notchStatic > 0 ? g.YdrelT[i] : 1);
        g.LifeF[i] = RootFactorByMethod(g.HeatTreatment[i], g.MaterialType[i], g.CyclesF[i], g.SafetySF[i],
                                        g.nUsed[i], g.MeshesPerRev[i], endurance,
                                        notchStatic > 0 ? notchStatic : 1);
      }
    } else {
      AddErrorMessage("Fatal  : Sigma F = 0 !");
      g.SafetySF[i] = 0;
    }
    const Real ratio = g.nE[i] == 0 ? 0 : g.nUsed[i] / g.nE[i];
    g.ResonanceRatio = ratio;
    // A sweep states the smallest safety and the resonance of the turn.
    if (RatingOnly) continue;
    if (g.SafetySF[i] < 1) AddErrorMessage(SafetyWarning("SF", i, g.SafetySF[i]));
    const ResonanceRange range = ClassifyResonance(ratio, g.NS);
    if (range != ResonanceRange::None) AddErrorMessage(ResonanceWarning(range, i));
  }
  g.ResonanceRated = true;
}

// Step 14: bore against the root and the torsion of the pinion body, and the
// gear bodies (for the printout; a sweep's rating leaves them out).
void BoreAndBodies() {
  TSpurGearData& g = SpurGearData;
  for (int i = 1; i <= 2; ++i) {
    const Real df = g.df[i];
    const Real bore = g.BoreDiameterUsed[i];
    // The warning's own limit: a bore above 0.6 df leaves a thin rim.
    if (!common::MsgQuiet && g.ToothNumbers[i] > 0 && bore > 0.6L * df) {
      AddErrorMessage("Warning: d bore > 0.6 df (" + IntToText(i) + ")");
    }
    if (g.ToothNumbers[i] > 0 && bore < df) {
      const Real wp = CalcPolarSectionModulus(df, bore);
      if (wp > 0) {
        const Real tau = 1000 * g.TUsed[i] / wp;
        if (tau > 0.7L * g.SigmaFE[i]) AddErrorMessage("Error  : tau(df-dbore)>Sig.FE*0.7");
      }
    }
    if (RatingOnly) continue;
    g.BodyMass[i] = CalcGearBodyMass(g.TipDiameter[i], df, g.BodyInnerDiameterUsed[i], bore,
                                     g.GearFaceWidth[i], g.rho[i]);
    g.BodyInertia[i] = CalcGearBodyInertia(g.TipDiameter[i], df, g.BodyInnerDiameterUsed[i], bore,
                                           g.GearFaceWidth[i], g.rho[i]);
  }
}

// A pair without load: no factor, stress, safety or life is formed (each
// would be 0, and a safety of 0 reads as a pair that fails); the message
// list says why. The gear bodies are those of any pair.
void NotRated() {
  TSpurGearData& g = SpurGearData;
  g.SigmaH0 = 0;
  g.SigmaHC = 0;
  for (int i = 1; i <= 2; ++i) {
    g.SigmaH[i] = g.SigmaF0[i] = g.SigmaF[i] = 0;
    g.SafetySH[i] = g.SafetySF[i] = 0;
    g.LifeH[i] = g.LifeH2[i] = g.LifeF[i] = 0;
  }
  g.ResonanceRatio = 0;
  // No factor routine takes its shaft values in use: the printout shows
  // those entered.
  g.dshUsed = g.dsh;
  g.l1Used = g.l1;
  g.s1Used = g.s1;
  AddErrorMessage(NoLoadMessage(g));
  BoreAndBodies();
}

void FinalWarnings() {
  TSpurGearData& g = SpurGearData;
  if (g.epsAlpha < g.KHalpha) AddErrorMessage("Warning: KHalpha > eps.alpha !");
  if (g.epsAlpha < g.KFalpha) AddErrorMessage("Warning: KFalpha > eps.alpha !");
  const std::int32_t z2 = g.ToothNumbers[2];
  if (z2 < 0 && g.CalcMethod == 4 && (g.CutterTeeth == 0 || g.CutterTeeth > -z2)) {
    AddErrorMessage("Warning: z0 cutter !");
  }
  if (g.CalcMethod == 2 && !IsDin399041Applicable()) AddErrorMessage("Warning: DIN 3990-41 !");
}

}  // namespace

Real PittingFactorByMethod(std::uint16_t heatTreatment, std::uint16_t materialGroup,
                           std::uint16_t mode, Real sh, Real speed, Real meshesPerRev, Real enduranceProduct,
                           Real staticProduct, Real& cycles) {
  if (SpurGearData.CalcMethod == 4) {
    return CalcPittingLifeIso(heatTreatment, materialGroup, mode, sh, speed, meshesPerRev, enduranceProduct,
                              staticProduct, cycles);
  }
  return CalcPittingLife(heatTreatment, materialGroup, mode, sh, speed, meshesPerRev, enduranceProduct, cycles);
}

Real RootFactorByMethod(std::uint16_t heatTreatment, std::uint16_t materialGroup, Real& cycles,
                        Real sf, Real speed, Real meshesPerRev, Real enduranceProduct, Real staticProduct) {
  if (SpurGearData.CalcMethod == 4) {
    return CalcToothRootLifeIso(heatTreatment, materialGroup, cycles, sf, speed, meshesPerRev, enduranceProduct,
                                staticProduct);
  }
  return CalcToothRootLife(heatTreatment, materialGroup, cycles, sf, speed, meshesPerRev, enduranceProduct,
                           staticProduct);
}

ResonanceRange ClassifyResonance(Real ratio, Real ns) {
  if (ratio > ns && ratio <= 1.15L) return ResonanceRange::Main;
  if (ratio > 1.15L && ratio <= 1.5L) return ResonanceRange::Upper;
  return ResonanceRange::None;
}

std::string ResonanceWarning(ResonanceRange range, int gear) {
  switch (range) {
    case ResonanceRange::Main: return "Warning: resonance (" + IntToText(gear) + ")";
    case ResonanceRange::Upper: return "Warning: upper resonance (" + IntToText(gear) + ")";
    case ResonanceRange::None: break;
  }
  return {};
}

bool IsDin399041Applicable() {
  const TSpurGearData& g = SpurGearData;
  auto within = [](std::int32_t q, std::int32_t lo, std::int32_t hi) { return q >= lo && q <= hi; };
  const std::int32_t q1 = g.AccuracyGrade[1];
  const std::int32_t q2 = g.AccuracyGrade[2];
  const bool grades = g.ToleranceStandard == 1 ? within(q1, 4, 6) && within(q2, 4, 6)
                                               : within(q1, 5, 7) && within(q2, 5, 7);
  return grades && g.epsAlpha < 2.5L && g.MaterialType[1] == 2 && g.MaterialType[2] == 2 &&
         within(g.HeatTreatment[1], 2, 7) && within(g.HeatTreatment[2], 2, 7);
}

void CalcSpurStrength() {
  TSpurGearData& g = SpurGearData;
  g.ResonanceRated = false;
  if (common::FatalFlag != 0) {
    AddErrorMessage("Fatal  : Geometry");
    return;
  }
  if (!common::MsgQuiet && g.ToothNumbers[1] + g.ToothNumbers[2] == 0) {
    AddErrorMessage("Warning: z1+z2=0 !");
    g.TUsed.fill(0);
    return;
  }
  if (!InputsUsable()) return;
  if (g.mue[1] <= 0 || g.mue[2] <= 0) AddErrorMessage("Error  : mue <= 0 !");
  if (g.mue[1] >= 1 || g.mue[2] >= 1) AddErrorMessage("Error  : mue >= 1 !");

  // Step 5.
  g.DoubleHelical = common::IsYesChar(g.DoubleHelicalAnswer);
  g.SupportingEffect = common::IsYesChar(g.SupportingEffectAnswer);
  g.LappingIn = common::IsYesChar(g.LappingInAnswer);
  g.HelixCorrection = common::IsYesChar(g.HelixCorrectionAnswer);
  g.CentralCrowning = common::IsYesChar(g.CentralCrowningAnswer);
  g.EndRelief = common::IsYesChar(g.EndReliefAnswer);
  g.HBmin = common::MinReal(g.HB[2], g.HB[1]);
  CalcFaceWidths();
  if (common::FatalFlag != 0) return;
  // Every stress divides by a face width: gears without axial overlap
  // cannot be rated.
  if (!(g.EffectiveFaceWidth > 0) || !(g.RootFaceWidth[1] > 0) || !(g.RootFaceWidth[2] > 0)) {
    Fatal("Fatal  : beff=0!");
    return;
  }

  if (!SpeedsAndForces()) return;
  BodyDiameters();

  // Step 8: elasticity factor; equal moduli of 1 - mue^2 = 0 would divide by
  // zero, the checked division keeps the value finite and reports it.
  const Real compliance =
      (1 - g.mue[1] * g.mue[1]) / g.E[1] + (1 - g.mue[2] * g.mue[2]) / g.E[2];
  g.ZE = CheckedSqrt("Error  : ZE", common::CheckedDiv("Error  : ZE", 1 / Pi, compliance));

  for (int i = 1; i <= 2; ++i) g.xStrength[i] = StrengthShift(i);

  if (PairCarriesNoLoad(g)) {
    NotRated();
    return;
  }

  // Step 10: the factors of the method; method 3 keeps the entered ones.
  // Without a dynamic factor of the method the main resonance range starts
  // at its usual 0.85; the factor routines set their own limit.
  g.NS = 0.85L;
  if (g.CalcMethod == 1 || g.CalcMethod == 2) {
    CalcLoadFactors();
  } else if (g.CalcMethod == 4) {
    CalcIsoFactors();
  }
  if (g.CalcMethod != 4) {
    // Only the ISO root stress takes the grinding notch; the printout of
    // the other methods shows the ratio as entered and their own YS, not
    // values left from an earlier calculation (or none after opening).
    for (int i = 1; i <= 2; ++i) {
      g.tgrgUsed[i] = std::min(g.tgrg[i], Real(2));
      g.YSg[i] = g.YS[i];
    }
  }

  // Step 11: contact stress.
  const Real b = g.EffectiveFaceWidth;
  const Real d1 = g.d[1];
  const Real u = g.u;
  const Real zFactors = g.ZH * g.Zeps * g.ZE * g.Zbeta;
  g.SigmaH0 = zFactors * CheckedSqrt("SigmaH0: u", g.Ft / (d1 * b) * (u + 1) / u);
  g.SigmaHC = zFactors * CheckedSqrt("Error  : Sigma HC", g.Ft / b / d1 * (u + 1) / u) *
              CheckedSqrt("Error  : Sigma HC", g.KAH * g.KV * g.KHbeta * g.KHalpha);
  if (common::FatalFlag != 0) {
    AddErrorMessage("Fatal: Sigma HC !");
    return;
  }
  g.SigmaH[1] = g.ZB * g.SigmaHC;
  g.SigmaH[2] = g.CalcMethod == 4 ? g.ZD * g.SigmaHC : g.SigmaHC;
  for (int i = 1; i <= 2; ++i) {
    g.SigmaHP[i] = g.SigmaHlim[i] * g.ZL * g.ZV * g.ZR * g.ZW[i] * g.ZX[i];
    if (g.LifeFactorsInput == 1) g.SigmaHP[i] *= g.ZNTInput[i];
  }

  PittingSafety();
  RootSafetyAndResonance();
  BoreAndBodies();
  FinalWarnings();
}

}  // namespace calc
