// The gear data printout and its geometry report; see gear_printout.h.
#include "app/printouts/gear_printout.h"

#include <cmath>
#include <cstdlib>

#include "app/design_extras.h"
#include "app/printouts/printout_rows.h"
#include "calc/calc_records.h"
#include "calc/spur_gear_data.h"
#include "common/file_checks.h"
#include "common/kaldvar.h"
#include "common/message_help.h"
#include "common/numeric_routines.h"
#include "common/report_writer.h"
#include "common/text_utils.h"
#include "common/unit_labels.h"
#include "platform/user_dialogs.h"

namespace app {

namespace {

const calc::TSpurGearData& G() { return calc::SpurGearData; }

// A rack: a mating gear with 1000 teeth or more stands for a rack.
bool IsRack() { return std::abs(G().ToothNumbers[2]) >= 1000; }

bool Either(const GearArray<Real>& values) { return values[1] != 0 || values[2] != 0; }

std::string NumberTitle() {
  return common::ProductCode + " V" + common::ProgramVersion + "   ";
}

// Table A: the basic rows right under the head.
void PrintBasicRows() {
  const auto& g = G();
  const std::string len = LengthUnit();
  auto l53 = [](Real x) { return L(5, 3, x); };
  ValueRow("pressure angle", "alpha", "deg", Ang(g.PressureAngle));
  ValueRow("helix angle", "beta", "deg", Ang(g.HelixAngle));
  ValueRow("normal module", "mn", len, L(2, 4, g.NormalModule));
  if (common::UnitSystem == common::UnitsImperial) ValueRow("Normal Pitch", "Pn", "1/in", R(4, 2, g.DiametralPitch));
  ValueRow("transverse module", "mt", len, L(2, 4, g.mt));
  GearRow("no. of teeth", "z", "", I(5, g.ToothNumbers[1]), I(5, g.ToothNumbers[2]));
  GearRowOf("profile shift coeff.", "x", "", g.ProfileShift, [](Real x) { return R(2, 4, x); });
  GearRow("profile shift", "x  mn", len, L(3, 3, g.ProfileShift[1] * g.NormalModule),
          L(3, 3, g.ProfileShift[2] * g.NormalModule));
  // The substitute spur pair's own centre distance; the pair's is in the head.
  ValueRow("center dist. subst.pair at phi", "a", len, L(5, 3, g.CentreDistance));
  // Only a design with a centre-distance tolerance field has allowances.
  if (!g.CentreDistanceFieldName.empty() || g.Aae != 0 || g.Aai != 0)
    ValueRow("center distance tol.", "Aa", len,
             g.CentreDistanceFieldName + ": " + common::ToleranceToText(g.Aae, g.Aai));
  ValueRow("center dist.without add.mod.", "a0", len, L(5, 3, g.aNominal));
  if (IsRack()) ValueRow("center distance - pitch diam.2/2", "a-r2", len, L(4, 3, g.CentreDistance - g.d[2] / 2));
  GearRowOf("face width", "b", len, g.GearFaceWidth, [](Real x) { return L(5, 2, x); });
  if (g.EndChamfer[1] > 0 || g.EndChamfer[2] > 0)
    GearRowOf("chamfers at end of face width (chamfer)", "bcha", len, g.EndChamfer, [](Real x) { return L(5, 2, x); });
  if (g.AxialOffset != 0) ValueRow("face width center offset", "bctr", len, L(5, 2, g.AxialOffset));
  GearRowOf("pitch circle diameter", "d", len, g.d, l53);
  GearRowOf("operating pitch diameter nom", "dw", len, g.dw, l53);
  GearRowOf("root diameter", "df", len, g.df, l53);
  GearRowOf("root diameter tolerance", "A df", len, g.dfTolerance, l53);
  GearRowOf("base diameter", "db", len, g.db, l53);
  GearRowOf("tip reduction", "kmn", len, g.TipReduction, l53);
  GearRowOf("clearance", "ck", len, g.c, l53);
  GearRowOf("clearance min", "ckmin", len, g.cMin, l53);
  GearRowOf("clearance max", "ckmax", len, g.cMax, l53);
  if (!(common::SameReal(g.TipDiameterTheoretical[1], g.TipDiameter[1]) &&
        common::SameReal(g.TipDiameterTheoretical[2], g.TipDiameter[2])))
    GearRowOf("theor.tip diameter", "da nom", len, g.TipDiameterTheoretical, l53);
  if (common::SameReal(g.TipReduction[1], 0) && common::SameReal(g.TipReduction[2], 0)) {
    GearRowOf("tip diameter", "da max", len, g.TipDiameter, l53);
    // The lower tip diameter is the tip diameter cut by the tool at the
    // lower premachining shift; its distance from da is the tolerance.
    GearRow("tip diameter tolerance", "A da", len, L(5, 3, g.daLower[1] - g.TipDiameter[1]),
            L(5, 3, g.daLower[2] - g.TipDiameter[2]));
  } else {
    GearRowOf("tip dia.w/o.tip reduction", "da0", len, g.TipDiameterTheoretical, l53);
    GearRowOf("tip dia.w.tip reduction", "da", len, g.TipDiameter, l53);
  }
  GearRowOf("borehole diameter", "dB", len, g.BoreDiameterUsed, [](Real x) { return L(5, 2, x); });
  GearRowOf("tooth depth", "h", len, g.h, l53);
  ValueRow("gear ratio", "u", "", R(5, 2, g.u));
}

// The smaller and the larger of two diameters by size, each with its sign
// (internal gears hold negative diameters).
Real SmallerBySize(Real a, Real b) { return std::fabs(a) <= std::fabs(b) ? a : b; }
Real LargerBySize(Real a, Real b) { return std::fabs(a) >= std::fabs(b) ? a : b; }

bool PrintGeometrySections() {
  const auto& g = G();
  const std::string len = LengthUnit();
  auto l53 = [](Real x) { return L(5, 3, x); };
  auto l43 = [](Real x) { return L(4, 3, x); };
  auto l33 = [](Real x) { return L(3, 3, x); };
  auto r33 = [](Real x) { return R(3, 3, x); };
  auto r15 = [](Real x) { return R(1, 5, x); };

  if (!OpenSection("CALCULATED ANGLES")) return false;
  ValueRow("trans.press.ang,gen.pitchcyl.", "alpha t", "deg", AngRad(g.alphatRad));
  ValueRow("helix angle at base circle", "beta b", "deg", AngRad(g.betab));
  ValueRow("trans.press.ang,op.pitchcyl.", "alpha wt", "deg", AngRad(g.alphaWt));
  if (g.HelixHand[1] == 1 || g.HelixHand[1] == 2) {
    const int hand2 = g.HelixHand[2] >= 1 && g.HelixHand[2] <= 3 ? g.HelixHand[2] : 3;
    ValueRow("tooth alignment gear 1/2", calc::HelixHandNames[g.HelixHand[1]], "", calc::HelixHandNames[hand2]);
  }

  if (!OpenSection("CONTACT RATIO FACTORS")) return false;
  GearRowOf("root diam.util.at tip", "dNa", len, g.dNa, l53);
  GearRowOf("root diameter utilizable", "dNf", len, g.dNf, l53);
  GearRow("form diameter", "dFfmin", len, l53(SmallerBySize(g.dFfUpper[1], g.dFfLower[1])),
          l53(SmallerBySize(g.dFfUpper[2], g.dFfLower[2])));
  GearRow("form diameter", "dFfmax", len, l53(LargerBySize(g.dFfUpper[1], g.dFfLower[1])),
          l53(LargerBySize(g.dFfUpper[2], g.dFfLower[2])));
  ValueRow("pressure path", "g alpha", len, l43(g.galpha));
  ValueRow("pressure path A-C", "g al.a", len, l43(g.gAStart));
  ValueRow("pressure path E-C", "g al.e", len, l43(g.gAEnd));
  ValueRow("transverse contact ratio", "eps.alpha", "", R(4, 3, g.epsAlpha));
  ValueRow("face contact ratio", "eps.beta", "", R(4, 3, g.epsBeta));
  ValueRow("total contact ratio", "eps.gamma", "", R(4, 3, g.epsGamma));

  if (!OpenSection("SPECIFIC SLIDING")) return false;
  // 1 root of gear 1, 2 tip of gear 1, 3 tip of gear 2, 4 root of gear 2.
  GearRow("spec.sliding, tooth tip", "zeta a", "", r33(g.SpecificSliding[2]), r33(g.SpecificSliding[3]));
  GearRow("spec.sliding, tooth root", "zeta f", "", r33(g.SpecificSliding[1]), r33(g.SpecificSliding[4]));

  if (!OpenSection("DIMENSIONS OF GEAR-CUTTING TOOL")) return false;
  const Real mn = g.NormalModule;
  auto times = [mn](const GearArray<Real>& factor) {
    GearArray<Real> length;
    for (int i = 1; i <= 2; ++i) length[i] = factor[i] * mn;
    return length;
  };
  GearRowOf("dedendum coeff tool", "hfP0/mn", "", g.hfP0Factor, r33);
  GearRowOf("dedendum of tool", "hfP0", len, times(g.hfP0Factor), l33);
  GearRowOf("addendum coeff tool", "haP0/mn", "", g.haP0Factor, r33);
  GearRowOf("addendum of tool", "haP0", len, times(g.haP0Factor), l33);
  GearRowOf("fillet radius/mn tool", "rhoaP0/mn", "", g.rhoaP0Factor, r33);
  GearRowOf("fillet radius tool", "rhoaP0", len, times(g.rhoaP0Factor), l33);
  GearRowOf("root fillet radius/mn tool", "rhofP0/mn", "", g.rhofP0Factor, r33);
  GearRowOf("root fillet radius tool", "rhofP0", len, times(g.rhofP0Factor), l33);
  if (Either(g.prP0Factor)) {
    GearRowOf("protuberance", "prP0/mn", "", g.prP0Factor, r33);
    GearRowOf("protuberance", "prP0", len, times(g.prP0Factor), l33);
    GearRowOf("protuberance angle", "al.prP0", common::DegreeUnitLabel(), g.alphaPrP0,
              [](Real x) { return Ang(x); });
  }

  // This section opens with a plain empty output line instead of a text line.
  common::WriteOutputLine("");
  common::ReportCheckPageFull(1);
  if (common::AbortFlag) return false;
  common::WriteReportText("PROFILE SHIFT COEFFICIENTS");
  common::WriteReportText(common::RuleLineSingle());
  GearRowOf("profile shift coeff.", "xnom.", "", g.ProfileShift, r15);
  if (Either(g.MachiningAllowance) || Either(g.MachiningAllowanceTol)) {
    GearRow("gen.addend.modif.coef. premach.", "xev", "", r15((g.xEmax[1] + g.xEmin[1]) / 2),
            r15((g.xEmax[2] + g.xEmin[2]) / 2));
    GearRowOf("gen.addend.modif.coef. premach.", "xevmax", "", g.xEmax, r15);
    GearRowOf("gen.addend.modif.coef. premach.", "xevmin", "", g.xEmin, r15);
  }
  GearRow("gen.addend.modif.coef. fin.", "xe", "", r15((g.xEa[1] + g.xEb[1]) / 2), r15((g.xEa[2] + g.xEb[2]) / 2));
  GearRowOf("gen.addend.modif.coef. fin.", "xemax", "", g.xEa, r15);
  GearRowOf("gen.addend.modif.coef. fin.", "xemin", "", g.xEb, r15);

  common::WriteReportText("");
  if (!ToothCorrectionText[1].empty() || !ToothCorrectionText[2].empty()) {
    TextWithRule("TOOTH CORRECTION FACTOR, TOOTH RELIEF");
    TextWithRule("tooth correction factor gear 1 : " + ToothCorrectionText[1]);
    TextWithRule("tooth correction factor gear 2 : " + ToothCorrectionText[2]);
  }

  if (!OpenSection("TOOTH PITCH, TOOTH DIMENSIONS")) return false;
  ValueRow("normal circular pitch", "pn", len, l43(g.pn));
  ValueRow("transverse pitch", "pt", len, l43(g.pt));
  ValueRow("transverse base pitch", "pbt", len, l43(g.pbt));
  ValueRow("transverse contact pitch", "pet", len, l43(g.pet));
  ValueRow("normal contact pitch", "pen", len, l43(g.pbn));
  GearRowOf("normal tooth thickn. nom.", "sn nom", len, g.sn, l43);
  GearRowOf("normal tooth thickn. max", "sn max", len, g.snUpper, l43);
  GearRowOf("normal tooth thickn. min", "sn min", len, g.snLower, l43);
  GearRowOf("transv.tooth thickn.", "st nom", len, g.st, l43);
  GearRowOf("normal top land, max", "san max", len, g.sanUpper, l43);
  GearRowOf("normal top land, min", "san min", len, g.sanLower, l43);
  GearRowOf("transverse top land, max", "sat max", len, g.satUpper, l43);
  GearRowOf("transverse top land, min", "sat min", len, g.satLower, l43);
  GearRowOf("normal space width", "en", len, g.en, l43);
  GearRowOf("transverse gap width", "et", len, g.et, l43);
  GearRowOf("virtual number of teeth", "zn", "", g.zn, [](Real x) { return R(4, 3, x); });

  if (!OpenSection("MACHINING ALLOWANCE")) return false;
  GearRowOf("machin.allowance", "q", len, g.MachiningAllowance, l33);
  GearRowOf("tolerance machin.allowance", "+", len, g.MachiningAllowanceTol, l33);
  return true;
}

// The sections of the printout after its device is chosen; false when it
// stopped on the way.
bool WriteGearReport(std::uint16_t mode) {
  if (mode != GearReportStrengthOnly) {
    common::WriteReportHeader(0, 1);
    if (common::AbortFlag) return false;
    PrintBasicRows();
    if (!PrintGeometrySections()) return false;
    if (!PrintToleranceSections()) return false;
    common::ReportFormFeed();
    if (common::AbortFlag) return false;
  }
  if (!PrintStrengthReport()) return false;
  common::WriteReportText("");
  if (mode == GearReportStrengthOnly)
    common::ReportPageEnd();
  else
    common::ReportFormFeed();
  if (common::AbortFlag) return false;
  return true;
}

}  // namespace

std::string SubstitutePairHeadNote() {
  if (!(calc::NcPair.a > 0)) return "";
  return "noncircular pair a = " + common::TrimBlanks(L(5, 3, calc::NcPair.a)) + " " + LengthUnit() +
         "; substitute pair at phi = " + common::TrimBlanks(AngRad(calc::SubstitutePairPhi));
}

void PrintGearReport(std::uint16_t mode) {
  const auto& g = G();
  if (common::FatalFlag) {
    common::ShowCalculationMessages();
    return;
  }
  const std::string line1 = common::WriteReportNumberLine(g.DrawingName[1], g.DrawingNumber[1]);
  const std::string line2 = common::WriteReportNumberLine(g.DrawingName[2], g.DrawingNumber[2]);
  common::BeginReport(NumberTitle() + "gearing geometry" + " " + "to" + " DIN 3960/61/67", line1, line2,
                      common::SheetTexts[1], common::SheetTexts[2], 0);
  common::SetReportHeadNote(SubstitutePairHeadNote());
  common::SetReportLayout("", "symbol", "unit", GearColumnCaptions[1], GearColumnCaptions[2]);
  if (g.ToothNumbers[1] + g.ToothNumbers[2] == 0) {
    common::ShowFileError("No strength calculation if z2=-z1 !");
    return;
  }
  common::SelectOutputDevice(0, "");
  if (common::AbortFlag) return;
  if (!WriteGearReport(mode)) {
    common::AbandonReportOutput();
    return;
  }
  common::WriteMessagesPage();
  common::ShowReportOutput();
  platform::Dialogs().SetBusyCursor(false);
}

}  // namespace app
