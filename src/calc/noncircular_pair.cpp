// The noncircular pair calculation (noncircular_pair.h). Each drive-angle
// position is rated as the involute spur pair whose pitch radii are the
// local radii r1(phi) and r2 = a - r1(phi) of the closed pair; the sweep
// keeps the smallest and largest safeties of each gear.
#include "calc/noncircular_pair.h"

#include <cmath>
#include <string>

#include "calc/basic_geometry.h"
#include "calc/calc_records.h"
#include "calc/centre_distance.h"
#include "calc/drive_load.h"
#include "calc/load_capacity.h"
#include "calc/pair_checks.h"
#include "calc/pitch_curve.h"
#include "calc/sine_linear.h"
#include "calc/spur_gear_data.h"
#include "calc/spur_pair_driver.h"
#include "calc/sweep_messages.h"
#include "calc/tool_profile.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/memo_math.h"
#include "common/message_list.h"
#include "common/number_format.h"
#include "common/numeric_routines.h"
#include "platform/user_dialogs.h"

namespace calc {

namespace {

constexpr int PositionCount = 360;  // one position per degree of gear 1

// The nearest integer, halves to the even neighbour; 0 for a value that is
// not finite (a module of 0 from a failed radius).
std::int32_t RoundHalfEven(Real x) {
  if (!std::isfinite(x) || std::fabs(x) > 2e9L) return 0;
  return static_cast<std::int32_t>(std::rint(x));
}

// The hour-glass for the duration of a run, also when it returns early.
class BusyCursor {
 public:
  BusyCursor() { platform::Dialogs().SetBusyCursor(true); }
  ~BusyCursor() { platform::Dialogs().SetBusyCursor(false); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

std::string FailedPositionsWarning(int failedCount, int firstFailedDegree) {
  // The fixed words lead, so that every count finds the one explanation
  // record (records are matched on the first 15 characters).
  return "Warning: fatal at " + std::to_string(failedCount) + " positions, first at " +
         std::to_string(firstFailedDegree) + "\xF8 !";
}

// What the sweep says of the whole turn, in place of each position's own
// words: the smallest safeties, the resonance, the missing load and a drive
// whose power, torque and speed disagree (noLoad and remark: the drive is
// the same at every position, its texts are formed once).
bool SummarisedBySweep(const std::string& text, const std::string& noLoad, const std::string& remark) {
  for (const char* start : {"Warning: SH<1 (", "Warning: SF<1 (", "Warning: resonance (",
                            "Warning: upper resonance ("})
    if (text.rfind(start, 0) == 0) return true;
  return text == noLoad || text == remark;
}

// The remark on failed positions is followed by their fatal messages, so
// that the user reads what failed, and each finds its explanation.
void AddSweepWarnings(int failedCount, int firstFailedDegree, ResonanceRange resonance,
                      const SweepMessages& said) {
  using common::AddErrorMessage;
  if (failedCount > 0) {
    // Positions that cannot be rated stay in a full list (a finding of the
    // pair, message_weights.h): the pair is not rated where they are.
    AddErrorMessage(FailedPositionsWarning(failedCount, firstFailedDegree));
    said.AddToList(true);
  }
  if (failedCount < PositionCount) {
    const TSafetyExtremes& s = SafetyExtremes;
    // A pair without load is not rated: its safeties of 0 are no finding.
    // The drive is the same at every position: its remark once, though
    // the positions that said it were rated.
    ReportDriveMismatch(SpurGearData);
    const bool rated = !PairCarriesNoLoad(SpurGearData);
    if (!rated) AddErrorMessage(NoLoadMessage(SpurGearData));
    for (int i = 1; i <= 2; ++i) {
      const std::string gear = std::to_string(i);
      if (rated && s.SHmin[i] < 1)
        AddErrorMessage("Warning: SH<1 (" + gear + ") (" +
                        common::FormatRealDigits(1, 2, s.SHmin[i]) + ") !");
      if (rated && s.SFmin[i] < 1)
        AddErrorMessage("Warning: SF<1 (" + gear + ") (" +
                        common::FormatRealDigits(1, 2, s.SFmin[i]) + ") !");
      // The ratio is the same for both gears (n2 / nE2 = n1 / nE1).
      if (resonance != ResonanceRange::None) AddErrorMessage(ResonanceWarning(resonance, i));
    }
  }
  said.AddToList(false);
}

// Steps 1 to 7 of the substitute pair: the spur data set of the position,
// its input check and tool-profile step and the tip diameters. False when
// the position stops before the spur calculation.
bool SetUpSubstitutePair(Real phi) {
  TSpurGearData& g = SpurGearData;
  // Each position starts clean. A FatalFlag left by the position before
  // would make the tool-profile step below refuse to run ("Fatal  : Unit1"),
  // so that this position's geometry started from the pair's centre
  // distance instead of its own and reported a working pressure angle that
  // does not exist; the spur calculation clears the list anyway.
  common::ClearErrorMessages();
  SubstitutePairPhi = phi;
  const Real r = PitchRadius(phi);
  if (!(r > 0) || !std::isfinite(r)) {
    // No substitute pair exists where curve 1 has no radius. The radius
    // function has set FatalFlag and said why (a formula that does not
    // evaluate names its error position); the list keeps one copy of a text.
    common::AddErrorMessage("Fatal  : rw1 <= 0 !");
    common::FatalFlag = 1;
    return false;
  }
  if (NcPair.z1 == 0) {
    // Without teeth on gear 1 there is no module: the division below would
    // leave an infinite module and centre distance in the data set.
    common::AddErrorMessage("Fatal  : z1 < 2!");
    common::FatalFlag = 1;
    return false;
  }
  const Real r2 = NcPair.a - r;
  if (NcPair.ModuleMode != 2) g.NormalModule = 2 * r / NcPair.z1;
  g.ToothNumbers[1] = RoundHalfEven(2 * r / g.NormalModule);
  g.ToothNumbers[2] = RoundHalfEven(2 * r2 / g.NormalModule);
  // Start value of the centre distance from the pair's own tooth numbers;
  // the tool-profile step replaces it by the centre distance that the
  // substitute tooth numbers and the profile shifts give.
  g.CentreDistance = (NcPair.z1 + NcPair.z2) * g.NormalModule / 2;
  g.ProfileShift[1] = 0;
  g.ProfileShift[2] = 0;
  // A position whose inputs are refused stops there, as the spur
  // calculation does: the tool-profile step would only add that it did not
  // run.
  CheckSpurInput();
  if (common::FatalFlag) return false;
  CalcToolProfile();
  for (int i = 1; i <= 2; ++i) {
    g.TipReduction[i] = 0;
    g.TipDiameter[i] = g.TipDiameterTheoretical[i] - 2 * g.TipReduction[i];
  }
  return true;
}

// The drive angle of a position of the sweep, from its integer count, so
// that rounding can neither add nor drop a position.
Real PositionAngle(int degree) { return degree * common::Pi / 180; }

}  // namespace

void CalcSubstituteSpurPair(Real phi) {
  const common::CalculationMessagesScope calculating;
  if (SetUpSubstitutePair(phi)) CalcSpurPair();
}

// A position whose data set the next one overwrites, rated with the work
// that decides its safeties and whether it fails, nothing more. The spur
// calculation would clear the list and run the input check and the
// tool-profile step again on the very inputs they have just had, so their
// results stand (both are deterministic and keep no state but defaults
// that they fill in identically); its measurements and picture values are
// left out, its warnings are said as a complete position says them. One
// exception: a tolerance series 0 becomes 11 in the first tool-profile
// step, after that step has used the table of series 0, so the second step
// would see other inputs.
void RateSubstituteSpurPair(Real phi) {
  const common::CalculationMessagesScope calculating;
  const TSpurGearData& g = SpurGearData;
  if (g.ToleranceSeries[1] == 0 || g.ToleranceSeries[2] == 0) {
    CalcSubstituteSpurPair(phi);
    return;
  }
  RatingOnly = true;
  if (SetUpSubstitutePair(phi)) CalcSpurRatingAfterToolProfile();
  RatingOnly = false;
}

void CalcNoncircularPair() {
  const common::CalculationMessagesScope calculating;
  TSpurGearData& g = SpurGearData;
  common::ClearErrorMessages();

  if (CurveType == CurveFormula) {
    const bool closed = PieceCount >= 0 && PieceCount <= MaxFormulaPieces &&
                        common::SameReal(FormulaPieces[PieceCount].EndAngle, 360);
    if (!closed) {
      common::AddErrorMessage("Fatal  : phi n <> 360\xF8 !");
      common::FatalFlag = 1;
      return;
    }
  }

  // Speed, power, torque and the materials are the same at every position:
  // one that is refused is refused once, before anything is computed from
  // it.
  if (!CheckLoadInputs() || !CheckMaterialInputs()) return;

  BusyCursor busy;
  const PolylineLookupScope lookup;
  const common::CalculationMemoScope memo;

  // Every position is cut by the same plain rack tool of the pressure angle.
  for (int i = 1; i <= 2; ++i) {
    g.ToolKindCode[i] = 4;
    g.rhoaP0Factor[i] = 0.05L;
    g.alphaPrP0[i] = 0;
    g.prP0Factor[i] = 0;
    g.alphaP0[i] = g.PressureAngle;
    g.hfP0FactorUsed[i] = g.hfP0Factor[i];
    g.ToolProfileName[i] = "Normal";
    g.ToolAngleDiffers[i] = 0;
  }
  AlphaRad = common::DegToRad(g.PressureAngle);
  g.HelixAngle = 0;
  NcPair.z2 = NcPair.z1 * NcPair.k;

  if (CurveType == CurveSineLinear) {
    PrepareSineLinearCurve();
    if (common::FatalFlag) return;
  }

  IterateCentreDistance();
  if (common::FatalFlag) return;

  // With z1 = 0 every position stops with "Fatal  : z1 < 2!" before it
  // reads the module, so the module is not divided by 0.
  if (NcPair.ModuleMode == 2 && NcPair.z1 != 0) g.NormalModule = NcPair.U1 / common::Pi / NcPair.z1;
  for (int i = 1; i <= 2; ++i) {
    g.GearFaceWidth[i] = g.FaceWidth;
    g.GeometryMode[i] = 2;
  }

  TSafetyExtremes& s = SafetyExtremes;
  for (int i = 1; i <= 2; ++i) {
    s.SFmin[i] = 100;
    s.SFmax[i] = 0;
    s.SHmin[i] = 100;
    s.SHmax[i] = 0;
  }
  s.ResonanceRatioMax = 0;
  s.PhiAtResonanceRatioMax = 0;
  // The main resonance anywhere in the turn outweighs the upper range.
  ResonanceRange resonance = ResonanceRange::None;
  // Every text of every position, once, with the angle where it arose.
  const std::string noLoad = NoLoadMessage(g), remark = DriveRemark(g);
  SweepMessages said([&](const std::string& text) { return SummarisedBySweep(text, noLoad, remark); });

  int failedCount = 0;
  int firstFailedDegree = 0;
  int lastRatedDegree = 0;
  if (SkipPositionSweep != 1) {
    for (int degree = 1; degree <= PositionCount; ++degree) {
      const Real phi = PositionAngle(degree);
      if (FullPositionSweep == 1 || degree == PositionCount)
        CalcSubstituteSpurPair(phi);
      else
        RateSubstituteSpurPair(phi);
      said.Take(degree);
      if (common::FatalFlag) {
        // The safeties of a failed position are those of an earlier run.
        if (failedCount == 0) firstFailedDegree = degree;
        ++failedCount;
        continue;
      }
      // The first rated position sets the extremes. The start values 100
      // and 0 stand only for a sweep that rated nothing: under a light load
      // every safety exceeds 100, and the minimum must then still be the
      // smallest safety, at its own angle, not 100 at an angle left from an
      // earlier run.
      const bool firstRated = degree - failedCount == 1;
      lastRatedDegree = degree;
      for (int i = 1; i <= 2; ++i) {
        const Real sf = g.SafetySF[i];
        const Real sh = g.SafetySH[i];
        if (firstRated || sf > s.SFmax[i]) s.SFmax[i] = sf;
        if (firstRated || sf < s.SFmin[i]) {
          s.SFmin[i] = sf;
          s.PhiAtSFmin[i] = phi;
        }
        if (firstRated || sh > s.SHmax[i]) s.SHmax[i] = sh;
        if (firstRated || sh < s.SHmin[i]) {
          s.SHmin[i] = sh;
          s.PhiAtSHmin[i] = phi;
        }
      }
      // Every rated position counts for the resonance, against the lower
      // limit of the main range that its own dynamic factor used.
      if (g.ResonanceRated) {
        const Real n = g.ResonanceRatio;
        // Equal ratios (the symmetric positions of a polygon, say) keep the
        // first of them: a later position counts only when it is larger
        // beyond the precision the design file holds the curve to, so that
        // the design read again prints the same position.
        if (n > s.ResonanceRatioMax * (1 + 1e-6L)) {
          s.ResonanceRatioMax = n;
          s.PhiAtResonanceRatioMax = phi;
        }
        const ResonanceRange range = ClassifyResonance(n, g.NS);
        if (range == ResonanceRange::Main ||
            (range == ResonanceRange::Upper && resonance == ResonanceRange::None))
          resonance = range;
      }
    }
    // A failed last position leaves what the steps before its failure
    // wrote on top of the positions before it. Those are computed in full
    // once more from the last rated one on, so that the data set is the
    // one a sweep of complete positions leaves.
    if (common::FatalFlag && FullPositionSweep != 1) {
      for (int degree = lastRatedDegree > 0 ? lastRatedDegree : 1; degree <= PositionCount; ++degree)
        CalcSubstituteSpurPair(PositionAngle(degree));
    }
  }

  common::ClearErrorMessages();
  AddSweepWarnings(failedCount, firstFailedDegree, resonance, said);
  // Only a pair without a single rated position fails as a whole.
  if (failedCount == PositionCount) {
    common::FatalFlag = 1;
    return;
  }
  // Whether the teeth can be made and mesh: a check of the whole pair, as
  // the sweep is.
  if (SkipPositionSweep != 1) RunPairCheck();
}

}  // namespace calc
