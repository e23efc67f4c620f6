// The strength report of the gear data printout (gear_printout.h):
// operating data, forces, materials, the calculation method, the shaft and
// bearing arrangement, the lubricant, the general influence factors and the
// flank and tooth-root load capacity with their safety factors. Which rows
// appear depends on the calculation method, on whether the service life is
// computed and on the inputs that switch parts of the calculation off.
// Values are the ones the calculation used: the derived torque and speed,
// the effective face widths, the bore and shaft diameters in use.
#include <cmath>

#include "app/design_extras.h"
#include "app/inputs/lubricant_input.h"
#include "app/printouts/gear_printout.h"
#include "app/printouts/printout_rows.h"
#include "calc/calc_records.h"
#include "calc/drive_load.h"
#include "calc/spur_gear_data.h"
#include "common/kaldvar.h"
#include "common/number_format.h"
#include "common/report_writer.h"
#include "common/text_utils.h"
#include "common/unit_labels.h"

namespace app {

namespace {

const calc::TSpurGearData& G() { return calc::SpurGearData; }

std::string MethodName(int method) { return method >= 1 && method <= 4 ? calc::CalcMethodNames[method] : ""; }

std::string HeatTreatmentName(int code) {
  return code >= 0 && code <= 7 ? calc::HeatTreatmentShortNames[code] : "";
}

// A small number as its letter: 1 "a", 2 "b", ..., right-aligned in five.
std::string NumberLetter(int n) { return common::PadLeftText(std::string(1, static_cast<char>(96 + n)), 5); }

void PrintHeadAndOperation() {
  const auto& g = G();
  GearRow("part number", "", "", g.DrawingNumber[1], g.DrawingNumber[2]);
  GearRow("no. of teeth", "z", "", I(5, g.ToothNumbers[1]), I(5, g.ToothNumbers[2]));

  OpenSectionNoCheck("OPERATIONAL DATA");
  ValueRow("nominal power", "P", "kW", R(5, 3, g.PUsed));
  GearRowOf("nominal torque", "T", common::TorqueUnitLabel(), g.TUsed, [](Real x) { return T(6, 1, x); });
  GearRowOf("rot.speed", "n", "1/min", g.nUsed, [](Real x) { return common::RealToTextWidth(8, x); });

  OpenSectionNoCheck("FORCES");
  const std::string force = common::ForceUnitLabel();
  ValueRow("nom.transv.load gen.pt.cyl.", "Ft", force, F(8, 0, g.Ft));
  ValueRow("nom.transv.load op.pt.cyl.", "Ftw", force, F(8, 0, g.Ftw));
  ValueRow("nom.ax.load op.pt.cyl.", "Fxw", force, F(8, 0, g.Fa));
  ValueRow("nom.rad.load op.pt.cyl.", "Frw", force, F(8, 0, g.Fr));
  ValueRow("nom.norm.load op.pt.cyl.", "Fnw", force, F(8, 0, g.Fn));
}

bool PrintMaterial() {
  const auto& g = G();
  const std::string stress = common::StressUnitLabel();
  auto s80 = [](Real x) { return S(8, 0, x); };
  if (!OpenSection("MATERIAL AND TREATMENT")) return false;
  TextWithRule("material  gear 1: " + common::PadRightText(MaterialName[1], 20) + "   " + "gear" + "2: " +
               common::PadRightText(MaterialName[2], 20));
  GearRowOf("density", "rho", "kg/dm3", g.rho, [](Real x) { return R(5, 2, x); });
  GearRowOf("modulus of elasticity", "E", stress, g.E, s80);
  GearRowOf("poisson ratio", "nu", "", g.mue, [](Real x) { return R(5, 2, x); });  // n is the speed
  GearRowOf("allow.stress nr.(contact)", "Sig.Hlim", stress, g.SigmaHlim, s80);
  GearRowOf("allow.stress nr.(bend.)", "Sigma FE", stress, g.SigmaFE, s80);
  GearRow("nominal stress number (bending)", "Sig.Flim", stress, s80(g.SigmaFE[1] / 2), s80(g.SigmaFE[2] / 2));
  TextWithRule("heat treatment               gear1: " + common::PadRightText(HeatTreatmentName(g.HeatTreatment[1]), 12) +
               "    " + "gear" + "2: " + common::PadRightText(HeatTreatmentName(g.HeatTreatment[2]), 12));
  GearRowOf("Brinell hardness", "", "HB", g.HB, [](Real x) { return R(8, 0, x); });
  GearRowOf("mass gear wheel", "m", "kg", g.BodyMass, [](Real x) { return common::RealToText(x); });
  GearRowOf("mass moment of inertia", "J", "kgm2", g.BodyInertia, [](Real x) { return common::RealToTextAuto(x); });
  GearRowOf("mean peak-vall.roughn. flank", "RzZ", MicroUnit(), g.RzFlank, [](Real x) { return MicroL(6, 1, x); });
  GearRowOf("mean peak-vall.roughn. tooth root", "RzY", MicroUnit(), g.RzRoot, [](Real x) { return MicroL(6, 1, x); });
  if (g.CalcMethod == 1 || g.CalcMethod == 4) {
    ValueRow("crowning", "", "Y/N", YesNo(g.CentralCrowningAnswer));
    ValueRow("lapping-in/breaking-in", "", "Y/N", YesNo(g.LappingInAnswer));
    ValueRow("end relief", "", "Y/N", YesNo(g.EndReliefAnswer));
  }
  return true;
}

bool PrintMethodAndArrangement() {
  const auto& g = G();
  const std::string len = LengthUnit();
  common::WriteReportText("");
  common::ReportCheckPageFull(1);
  if (common::AbortFlag) return false;
  TextWithRule("CALCULATION METHOD:    " + MethodName(g.CalcMethod));

  OpenSectionNoCheck("ADDITIONAL DIMENSIONS AND BEARING ARRANGEMENTS");
  ValueRow("double helical gearing", "", "Y/N", YesNo(g.DoubleHelicalAnswer));
  GearRowOf("gear blank inside diameter", "di", len, g.BodyInnerDiameterUsed, [](Real x) { return L(5, 2, x); });
  if ((g.CalcMethod == 1 || g.CalcMethod == 4) && !g.FshInput) {
    ValueRow("shaft diameter of the pinion", "dsh", len, L(5, 2, g.dshUsed));
    ValueRow("contact pattern (see manual)", "", "Nr.", NumberLetter(g.ContactPatternCode));
    ValueRow("bearing-arrangement (see manual)", "", "Nr.", NumberLetter(g.BearingArrangement));
    ValueRow("bearing distance (see manual)", "l", len, L(5, 1, g.l1Used));
    ValueRow("bedding offset (see manual)", "s", len, L(5, 1, g.s1Used));
    ValueRow("supporting effect", "", "Y/N", YesNo(g.SupportingEffectAnswer));
  }
  ValueRow("tooth trace angle correction", "", "Y/N", YesNo(g.HelixCorrectionAnswer));

  // The lubricant data set; its viscosity at 50 degrees C is the one the
  // calculation used (held in the design), the other values are the run's.
  common::WriteReportText("");
  common::ReportCheckPageFull(1);
  const TLubricant& oil = Lubricant;
  ValueRow("lubricant", "", "", oil.Name);
  auto positiveRow = [](const char* label, const char* symbol, const std::string& unit, Real x, std::string text) {
    if (x > 0) ValueRow(label, symbol, unit, text);
  };
  positiveRow("nominal viscosity at 40 C", "v40", "mm2/s", oil.Nu40, R(6, 1, oil.Nu40));
  positiveRow("nominal viscosity at 50 C", "v50", "mm2/s", g.nu40, R(6, 1, g.nu40));
  positiveRow("nominal viscosity at 100 C", "v100", "mm2/s", oil.Nu100, R(6, 1, oil.Nu100));
  positiveRow("lubricant density at 15 C", "rho15", "kg/dm3", oil.Density15, R(4, 3, oil.Density15));
  positiveRow("lubricant temperature", "TOil", common::TemperatureUnitLabel(), oil.OilTemperature,
              Temp(6, 1, oil.OilTemperature));
  return !common::AbortFlag;
}

void PrintInfluenceFactors() {
  const auto& g = G();
  const std::string micro = MicroUnit();
  auto r52 = [](Real x) { return R(5, 2, x); };
  common::WriteReportText("");
  common::ReportCheckPageFull(1);
  TextWithRule("GENERAL INFLUENCE FACTORS");
  ValueRow("circumf.velocity pitch.circ.", "v", "m/s", R(4, 3, g.v));
  // Entered factors (method 3) take Kv as entered: the mesh stiffness, the
  // reduced mass and the resonance that would give it are not computed.
  const bool entered = g.CalcMethod == 3;
  if (!entered) {
    // Always per micrometre: the stiffness is not converted to inches.
    const std::string micrometre = common::AsciiTextMode ? "um" : "\xE6m";
    ValueRow("mesh stiffness", "c gamma", "N/(mm*" + micrometre + ")", R(4, 3, g.cGamma));
    ValueRow("reduced mass per unit", "m red", "kg/mm", R(2, 5, g.mred));
    GearRowOf("resonance speed", "nE", "1/min", g.nE, [](Real x) { return R(8, 0, x); });
    ValueRow("resonance ratio", "nS", "n/nE", R(3, 4, g.ResonanceRatio));
  }
  // The printed position need not be the one nearest the resonance: the
  // largest ratio of the turn and where gear 1 stands then.
  const calc::TSafetyExtremes& sweep = calc::SafetyExtremes;
  if (!entered && sweep.ResonanceRatioMax > 0) {
    ValueRow("resonance ratio, largest of turn", "nS max", "n/nE", R(3, 4, sweep.ResonanceRatioMax));
    ValueRow("drive angle of largest ratio", "phi", "deg", AngRad(sweep.PhiAtResonanceRatioMax));
  }
  ValueRow("dynamic load factor", "Kv", "", r52(g.KV));
  if (g.CalcMethod != 3 && g.CalcMethod != 2) ValueRow("equivalent misalignment", "fsh", micro, MicroL(6, 1, g.fsh));
  if (g.CalcMethod != 3) {
    ValueRow("mesh misalignment", "fma", micro, MicroL(6, 1, g.fma));
    ValueRow("helix slope tolerance", "fHbeta5", micro, MicroL(6, 1, g.fHbeta5));
    ValueRow("initial equiv. misalignment", "Fbeta x", micro, MicroL(6, 1, g.FbetaX));
    ValueRow("eff.equivalent misalignment", "Fbeta y", micro, MicroL(6, 1, g.FbetaY));
  }
  ValueRow("face load factor (flank)", "KH-beta", "", r52(g.KHbeta));
  ValueRow("face load factor (tooth root)", "KF-beta", "", r52(g.KFbeta));
  ValueRow("transverse load factor (flank)", "KH-alpha", "", r52(g.KHalpha));
  ValueRow("transverse load factor (tooth root)", "KF-alpha", "", r52(g.KFalpha));
}

bool PrintFlankCapacity() {
  const auto& g = G();
  const std::string stress = common::StressUnitLabel();
  auto r43 = [](Real x) { return R(4, 3, x); };
  auto r52 = [](Real x) { return R(5, 2, x); };
  auto s80 = [](Real x) { return S(8, 0, x); };
  if (!OpenSection("FLANK LOAD-BEARING CAPACITY")) return false;
  ValueRow("application factor", "KA H", "", r52(g.KAH));
  ValueRow("effective facewidth", "b eff", LengthUnit(), L(5, 2, g.EffectiveFaceWidth));
  ValueRow("zone factor", "ZH", "", r52(g.ZH));
  GearRow("single contact factor pinion", "ZB", "", r43(g.ZB), "");
  if (g.CalcMethod == 4) GearRow("single contact factor gear 2", "ZD", "", "", r43(g.ZD));
  ValueRow("elasticity factor", "ZE", "(N/mm\xFD)^1/2", R(8, 0, g.ZE));
  ValueRow("contact ratio factor (flank)", "Z eps.", "", r43(g.Zeps));
  ValueRow("helix angle factor (flank)", "Z beta", "", r43(g.Zbeta));
  ValueRow("oil viscosity at 50 C", "nue50", common::ViscosityUnitLabel(), R(8, 0, g.nu40));  // held as nu50
  ValueRow("lubrication factor", "ZL", "", r43(g.ZL));
  ValueRow("velocity factor", "Zv", "", r43(g.ZV));
  ValueRow("roughness factor", "ZR", "", r43(g.ZR));
  GearRowOf("work hardening factor", "ZW", "", g.ZW, r43);
  GearRowOf("size factor (flank)", "ZX", "", g.ZX, r52);
  if (g.LifeFactorsInput == 1) GearRowOf("life factor", "ZNT", "", g.ZNTInput, r52);

  common::WriteReportText("Sigma-H0 = ZH*ZE*Zeps*Zbeta*SQRT(Ft/(d1*b)*(u+1)/u)");
  ValueRow("nominal contact stress", "Sigma-H0", stress, s80(g.SigmaH0));
  // The life factor enters the limit only where it was entered.
  common::WriteReportText(g.LifeFactorsInput == 1 ? "Sigma-HG = SigmaHlim*ZNT*ZL*Zv*ZR*ZW*ZX"
                                                  : "Sigma-HG = SigmaHlim*ZL*Zv*ZR*ZW*ZX");
  GearRowOf("pitting stress limit (dyn.)", "Sigma-HG", stress, g.SigmaHP, s80);
  common::WriteReportText("Sigma-HC = Sigma-H0*SQRT(KA*Kv*KHbeta*KHalpha)");
  ValueRow("contact stress in pitch pt", "Sigma-HC", stress, s80(g.SigmaHC));
  // Only ISO 6336 rates gear 2 with its own single contact factor ZD.
  common::WriteReportText(g.CalcMethod == 4 ? "Sigma-H1,2 = (ZB,ZD)*Sigma-H0*SQRT(KA*Kv*KHbeta*KHalpha)"
                                            : "Sigma-H1,2 = (ZB,1)*Sigma-H0*SQRT(KA*Kv*KHbeta*KHalpha)");
  GearRowOf("contact stress.sing.ctpt.", "Sigma-H", stress, g.SigmaH, s80);
  common::WriteReportText("SH1,2 = Sigma-HG1,2 / Sigma-H1,2");
  GearRowOf("safety factor pitting", "SH", "", g.SafetySH, r43);
  if (g.LifeFactorsInput == 0) PrintLifePitting(g.SafetySH, g.LifeH, g.LifeH2, g.CalcMethod);
  return true;
}

bool PrintRootCapacity() {
  const auto& g = G();
  const std::string len = LengthUnit();
  const std::string stress = common::StressUnitLabel();
  auto r43 = [](Real x) { return R(4, 3, x); };
  auto r52 = [](Real x) { return R(5, 2, x); };
  auto r80 = [](Real x) { return R(8, 0, x); };
  auto l43 = [](Real x) { return L(4, 3, x); };
  auto s80 = [](Real x) { return S(8, 0, x); };
  if (!OpenSection("TOOTH ROOT LOAD-BEARING CAPACITY")) return false;
  ValueRow("application factor", "KA F", "", r52(g.KAF));
  GearRowOf("effective facewidth", "b eff", len, g.RootFaceWidth, [](Real x) { return L(5, 2, x); });
  GearRowOf("tooth form factor", "YF", "", g.YF, r43);
  if (g.CalcMethod != 3) {
    GearRowOf("tooth root normal chord", "sFn", len, g.sFn, l43);
    GearRowOf("root fillet radius", "rhoF", len, g.rhoF, l43);
    GearRowOf("bending moment arm", "hFe", len, g.hFe, l43);
    GearRowOf("force inclination angle", "al.Fen", common::DegreeUnitLabel(), g.alphaFen,
              [](Real x) { return AngRad(x); });
    GearRowOf("profile shift coeff. tooth root", "xeF", "", g.xStrength, [](Real x) { return R(2, 5, x); });
  }
  GearRowOf("stress correction factor", "YS", "", g.YS, r43);
  if (g.GrindingNotch) {
    GearRowOf("notch tg/rg", "tg/rg", "", g.tgrgUsed, r52);
    GearRowOf("stress correction factor", "YSg", "", g.YSg, r43);
  }
  if (g.CalcMethod != 3) GearRowOf(" qs", "qs", "", g.qs, r43);
  ValueRow("helix angle factor (tooth root)", "Y beta", "", R(5, 3, g.Ybeta));
  if (g.CalcMethod == 4) {
    GearRowOf("Rim thickness factor", "YB", "", g.YB, r43);
    ValueRow("Deep tooth factor", "YDT", "", r43(g.YDT));
  }
  GearRowOf("rel.notch sensitiv.factor", "YdrelT", "", g.YdrelT, r43);
  if (g.CalcMethod == 4) GearRowOf("slip-layer thickness", "rho'", len, g.rhoPrime, [](Real x) { return L(3, 4, x); });
  GearRowOf("rel.surface-condition factor", "YRrelT", "", g.YRrelT, r43);
  GearRowOf("size factor (tooth root)", "YX", "", g.YX, r43);
  GearRowOf("load alternating/period", "Np", "", g.LoadAlternations, r80);
  GearRowOf("tooth contacts per/rotation", "e", "", g.MeshesPerRev, r80);
  GearRowOf("alternating load factor", "YA", "", g.YM, r52);
  if (g.LifeFactorsInput == 1) GearRowOf("life factor", "YNT", "", g.YNTInput, r52);

  common::ReportCheckPageFull(1);
  common::WriteReportText(g.LifeFactorsInput == 1 ? "Sigma-FG = SigmaFE*YNT*YdrelT*YRrelT*YX*YA"
                                                  : "Sigma-FG = SigmaFE*YdrelT*YRrelT*YX*YA");
  GearRowOf("tooth root stress limit(dyn.)", "Sigma-FG", stress, g.SigmaFP, s80);
  common::WriteReportText(g.CalcMethod == 4 ? "Sigma-F0 = Ft/(b*mn)*YF*YS(g)*Ybeta*YB*YDT"
                                            : "Sigma-F0 = Ft/(b*mn)*YF*YS*Ybeta");
  GearRowOf("nominal tooth root stress", "Sigma-F0", stress, g.SigmaF0, s80);
  common::WriteReportText("Sigma-F = Sigma-F0 * KA*Kv*KFbeta*KFalpha");
  GearRowOf("tooth root stress", "Sigma-F", stress, g.SigmaF, s80);
  common::WriteReportText("SF = Sigma-FG / Sigma-F");
  GearRowOf("safety factor tooth breakage", "SF", "", g.SafetySF, r43);
  if (g.LifeFactorsInput == 0) PrintLifeToothRoot(g.SafetySF, g.LifeF, g.CalcMethod);
  return true;
}

// A pair without load in place of the factors, stresses, safeties and
// lives it does not have: each capacity section says so, and its safety
// row names it instead of a number.
bool PrintNotRated() {
  const auto& g = G();
  const std::string sentence = calc::NoLoadSentence(g);
  const std::string cell = calc::NoLoadCell(g);
  if (!OpenSection("FLANK LOAD-BEARING CAPACITY")) return false;
  common::WriteReportText(sentence);
  GearRow("safety factor pitting", "SH", "", cell, cell);
  if (!OpenSection("TOOTH ROOT LOAD-BEARING CAPACITY")) return false;
  common::WriteReportText(sentence);
  GearRow("safety factor tooth breakage", "SF", "", cell, cell);
  return !common::AbortFlag;
}

}  // namespace

bool PrintStrengthReport() {
  const auto& g = G();
  const std::string line1 = common::WriteReportNumberLine(g.DrawingName[1], g.DrawingNumber[1]);
  const std::string line2 = common::WriteReportNumberLine(g.DrawingName[2], g.DrawingNumber[2]);
  common::BeginReport(common::ProductCode + " V" + common::ProgramVersion + "   " + "gearing strength" + " " + "to" +
                          " DIN3990/ISO6336",
                      line1, line2, common::SheetTexts[1], common::SheetTexts[2], 0);
  common::SetReportHeadNote(SubstitutePairHeadNote());
  common::SetReportLayout("", "symbol", "unit", GearColumnCaptions[1], GearColumnCaptions[2]);
  common::WriteReportHeader(0, 1);
  if (common::AbortFlag) return false;
  PrintHeadAndOperation();
  if (!PrintMaterial()) return false;
  if (!PrintMethodAndArrangement()) return false;
  if (calc::PairCarriesNoLoad(g)) return PrintNotRated();
  PrintInfluenceFactors();
  if (!PrintFlankCapacity()) return false;
  if (!PrintRootCapacity()) return false;
  return !common::AbortFlag;
}

}  // namespace app
