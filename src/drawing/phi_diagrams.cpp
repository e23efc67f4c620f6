// Diagrams over the drive angle; see phi_diagrams.h.
#include "drawing/phi_diagrams.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

#include "calc/calc_records.h"
#include "calc/centre_distance.h"
#include "calc/drive_load.h"
#include "calc/noncircular_pair.h"
#include "calc/pitch_curve.h"
#include "calc/pitch_radius_table.h"
#include "calc/spur_gear_data.h"
#include "common/kaldvar.h"
#include "common/message_help.h"
#include "common/number_format.h"
#include "common/numeric_routines.h"
#include "common/small_dialogs.h"
#include "drawing/cad/cad_blocks.h"
#include "drawing/cad/cad_output.h"
#include "drawing/fatal_design_view.h"
#include "drawing/outlines/pitch_track.h"
#include "drawing/polar_diagram.h"
#include "drawing/outlines/tooth_contour.h"
#include "drawing/xy_diagram.h"
#include "platform/user_dialogs.h"

namespace drawing {

namespace {
RangeArray<std::string, 1, 16> LabelTable(std::initializer_list<const char*> names) {
  RangeArray<std::string, 1, 16> t;
  int i = 1;
  for (const char* name : names) t[i++] = name;
  return t;
}
}  // namespace

const RangeArray<std::string, 1, 16> PhiDiagramLabels = LabelTable({
    "path", "gear ratio", "gear ratio (log.)", "pitch curve 1", "pitch curve 2", "pitch curve 1+2",
    "v xy", "a xy", "a polar", "omega polar", "SF polar", "SH polar", "SF", "SH", "s, v, a", "SH, SF"});

namespace {

constexpr Real Pi = std::numbers::pi_v<Real>;
constexpr Real Step = Pi / 180;
constexpr int LastStep = 361;  // phi1 runs on to one step past the turn

// The safeties of both gears at every step of the turn, rated once for all
// safety diagrams of one call (the SF and the SH diagram of the stacked
// picture rate the same substitute pairs).
struct SafetyCurves {
  bool filled = false;
  std::vector<std::array<Real, 4>> values;  // SF1, SF2, SH1, SH2
  void Fill() {
    if (filled) return;
    values.assign(LastStep + 1, {0, 0, 0, 0});
    for (int i = 0; i <= LastStep; ++i) {
      // The substitute spur pair at the pitch radius of this angle.
      calc::RateSubstituteSpurPair(i * Step);
      const auto& g = calc::SpurGearData;
      values[i] = {g.SafetySF[1], g.SafetySF[2], g.SafetySH[1], g.SafetySH[2]};
    }
    filled = true;
  }
};

// One curve of a diagram: its pen and its last point; the first point only
// places the pen.
struct Curve {
  int pen = 19;
  bool polar = false;
  bool started = false;
  Real lastX = 0, lastY = 0;
  void Add(Real x, Real y) {
    if (started) {
      SetCadColor(pen);
      if (polar) {
        PolarMoveTo(lastX, lastY);
        PolarLineTo(x, y);
      } else {
        DiagramClipLine(lastX, lastY, x, y);
      }
    }
    started = true;
    lastX = x;
    lastY = y;
  }
  void Skip() { started = false; }
};

// The hour-glass while the safety diagrams rate their positions.
class BusyCursor {
 public:
  BusyCursor() { platform::Dialogs().SetBusyCursor(true); }
  ~BusyCursor() { platform::Dialogs().SetBusyCursor(false); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

bool SafetyCode(int code) { return code >= 11 && code <= 14; }
bool PolarCode(int code) { return code >= 9 && code <= 12; }
// The diagrams over time: the angular velocity and acceleration of gear 2.
bool TimeCode(int code) { return code >= 7 && code <= 10; }

// What stands in the place of a diagram that has no curve for this drive:
// its caption and why.
void DrawNotice(int code, const std::string& why) {
  const Real x = DiagramState.DiagramOriginX;
  const Real y = DiagramState.DiagramOriginY + DiagramState.DiagramHeight / 2;
  SetCadTextSize(0, 0, 2.5L, 2.0L);
  SetCadColor(4);
  CadText(PhiDiagramLabels[code], x, y + 5);
  SetCadTextSize(0, 0, 2.2L, 1.6L);
  SetCadColor(17);
  CadText(why, x, y);
}

// Why a diagram of the code has nothing to draw for the drive, or nothing:
// a pair without load has no safeties, a gear 1 that stands still no
// velocity over time.
std::string NothingToDraw(int code) {
  const auto& g = calc::SpurGearData;
  if (SafetyCode(code) && calc::PairCarriesNoLoad(g)) return calc::NoLoadNotice(g);
  if (TimeCode(code) && calc::RatedDrive(g).n == 0) return "n1 = 0: gear 2 stands still";
  return {};
}

// A vertical line across the whole height of the x-y window.
void WindowLine(Real x) {
  DiagramLine(x, DiagramState.DiagramYMin, x, DiagramState.DiagramYMax);
}

void DrawAxes(int code, Real omega, Real T) {
  const auto& p = calc::NcPair;
  const auto& r = calc::RadiusExtremes;
  const auto& s = calc::SafetyExtremes;
  const Real k = std::max<Real>(p.k, 1);
  const std::string& caption = PhiDiagramLabels[code];
  const std::string x = "phi1";
  DiagramState.DiagramXAxisKind = 3;
  switch (code) {
    case 1: DrawDiagramAxes(x, "phi2", caption, 0, -360 / k, 2 * Pi, 360 / k, 0); break;
    case 2: DrawDiagramAxes(x, "i", caption, 0, 0, 2 * Pi, p.imax + 0.1L, 0); break;
    case 3:
      DrawDiagramAxes(x, "log i", caption, 0, common::Log10(p.imin - 0.1L), 2 * Pi, common::Log10(p.imax + 0.1L), 0);
      break;
    case 4: DrawDiagramAxes(x, "r1", caption, 0, 0, 2 * Pi, r.r1max, 0); break;
    case 5: DrawDiagramAxes(x, "r2", caption, 0, 0, 2 * Pi, r.r2max, 0); break;
    case 6: DrawDiagramAxes(x, "r", caption, 0, 0, 2 * Pi, std::max(r.r1max, r.r2max), 0); break;
    case 7: DrawDiagramAxes(x, "omega2 [1/s]", caption, 0, -2 * omega / k, 2 * Pi, 2 * omega / k, 0); break;
    case 8: DrawDiagramAxes(x, "a2 [1/s^2]", caption, 0, -10 * omega / T / k, 2 * Pi, 10 * omega / T / k, 0); break;
    case 9: DrawPolarGrid("a2 [1/s^2]", caption, -10 * omega / T / k, 10 * omega / T / k); break;
    case 10: DrawPolarGrid("omega2 [1/s]", caption, 0, 2 * omega / k); break;
    case 11: DrawPolarGrid("SF", caption, 0, std::max(s.SFmax[1], s.SFmax[2])); break;
    case 12: DrawPolarGrid("SH", caption, 0, std::max(s.SHmax[1], s.SHmax[2])); break;
    case 13: DrawDiagramAxes(x, "SF", caption, 0, 0, 2 * Pi, std::max(s.SFmax[1], s.SFmax[2]), 0); break;
    case 14: DrawDiagramAxes(x, "SH", caption, 0, 0, 2 * Pi, std::max(s.SHmax[1], s.SHmax[2]), 0); break;
    default: break;
  }
  // Reference lines: the end of the turn; the zero line and the mean speed
  // of gear 2; the mean ratio k.
  SetCadColor(17);
  if (code <= 8) WindowLine(2 * Pi);
  if (code == 7) {
    DiagramLine(0, 0, 2 * Pi, 0);
    if (p.k > 1) DiagramLine(0, omega / k, 2 * Pi, omega / k);
  }
  if ((code == 2 || code == 3) && p.k > 1) {
    const Real mean = code == 2 ? k : common::Log10(k);
    DiagramLine(0, mean, 2 * Pi, mean);
  }
}

void DrawPhiDiagramWith(int code, SafetyCurves& safety) {
  if (const std::string why = NothingToDraw(code); !why.empty()) {
    DrawNotice(code, why);
    return;
  }
  // The time of a turn matters only to the diagrams over time; the others
  // are drawn for any speed.
  const Real n = calc::RatedDrive(calc::SpurGearData).n;
  const Real T = n != 0 ? 60 / n : 0;  // seconds per turn of gear 1
  const Real omega = 2 * Pi * n / 60;
  DrawAxes(code, omega, T);
  calc::IterateCentreDistance();
  if (SafetyCode(code)) safety.Fill();

  const Real a = calc::NcPair.a;
  const Real dt = T != 0 ? T / 360 : 1;
  const bool polar = PolarCode(code);
  Curve first{code == 5 ? 21 : 19, polar};
  Curve second{21, polar};
  Real lastRate = 0;
  // The path is gear 2's rolling angle on its pitch track, the accurate
  // integral its teeth are set by; only the path needs the integral, the
  // other curves are values at the angle.
  const TPitchTrack* track2 = code == 1 ? &PitchTrack(2) : nullptr;
  for (int i = 0; i <= LastStep; ++i) {
    const Real phi1 = i * Step;
    const Real r1 = calc::PitchRadius(phi1);
    const Real r2 = a - r1;
    const Real dphi2 = r2 != 0 ? -r1 * Step / r2 : 0;  // pure rolling
    const Real rate = -dphi2 / dt;                     // angular velocity of gear 2
    switch (code) {
      case 1: first.Add(phi1, common::RadToDeg(track2->RollingAngle(phi1))); break;
      case 2: first.Add(phi1, r2 / r1); break;
      case 3: first.Add(phi1, common::Log10(r2 / r1)); break;
      case 4: first.Add(phi1, r1); break;
      case 5: first.Add(phi1, r2); break;
      case 6:
        first.Add(phi1, r1);
        second.Add(phi1, r2);
        break;
      case 7:
      case 10:
        first.Add(phi1, rate);
        break;
      case 8:
      case 9:
        // The change of the velocity over one step; defined from the
        // second step on.
        if (i == 0) break;
        first.Add(phi1, (rate - lastRate) / dt);
        break;
      default: {
        const auto& v = safety.values[i];
        const int base = (code == 11 || code == 13) ? 0 : 2;
        first.Add(phi1, v[base]);
        second.Add(phi1, v[base + 1]);
        break;
      }
    }
    lastRate = rate;
  }
  // The points of a point-table curve on its radius curve.
  if (code == 4 || code == 6) {
    SetCadColor(19);
    if (calc::CurveType == calc::CurvePointFit)
      for (int i = 1; i <= std::min(calc::PointCount, calc::MaxFitPoints); ++i)
        DiagramMarkX(calc::FitPoints[i].Phi, calc::FitPoints[i].R, 0.03L);
    if (calc::CurveType == calc::CurvePolyline)
      for (int i = 1; i <= std::min(calc::PolylineCount, calc::MaxPolylinePoints); ++i)
        DiagramMarkX(calc::PolylinePoints[i].Phi, calc::PolylinePoints[i].R, 0.03L);
  }
}

// The safety records that rating the curve overwrote are restored by a
// full calculation of the pair.
void RestoreAfterSafety() {
  const std::uint8_t enabled = common::MessagesEnabled;
  calc::CalcNoncircularPair();
  common::MessagesEnabled = enabled;
}

void Place(Real width, Real height, Real x, Real y) {
  SetDiagramSize(width, height);
  SetDiagramOrigin(x, y);
}

void SafetyMinima(int code) {
  const auto& s = calc::SafetyExtremes;
  SetCadTextSize(0, 0, 2.2L, 1.6L);
  const bool sf = code == 11 || code == 13 || code == 16;
  const bool sh = code == 12 || code == 14 || code == 16;
  if (calc::PairCarriesNoLoad(calc::SpurGearData)) {
    // No minima of a pair that is not rated.
    SetCadColor(17);
    if (sf) CadText("SF: " + calc::NoLoadNotice(calc::SpurGearData), 138, 100);
    if (sh) CadText("SH: " + calc::NoLoadNotice(calc::SpurGearData), 138, 40);
    return;
  }
  if (sf) {
    CadMoveTo(138, 100);
    SetCadColor(19);
    CadTextRotated("SF1min = " + common::RealToTextFixed(2, s.SFmin[1]));
    SetCadColor(21);
    CadTextRotated("SF2min = " + common::RealToTextFixed(2, s.SFmin[2]));
  }
  if (sh) {
    CadMoveTo(138, 40);
    SetCadColor(19);
    CadTextRotated("SH1min = " + common::RealToTextFixed(2, s.SHmin[1]));
    SetCadColor(21);
    CadTextRotated("SH2min = " + common::RealToTextFixed(2, s.SHmin[2]));
  }
}

}  // namespace

void DrawPhiDiagram(int code) {
  SafetyCurves safety;
  std::optional<BusyCursor> busy;
  if (SafetyCode(code)) busy.emplace();
  DrawPhiDiagramWith(code, safety);
  if (safety.filled) RestoreAfterSafety();
}

void ShowDiagrams(std::uint16_t code, std::uint16_t device) {
  if (common::FatalFlag) {
    ShowFatalDesign();
    return;
  }
  if (code == 0) {
    for (int i = 1; i <= 16; ++i) common::TextLines[i] = PhiDiagramLabels[i];
    int choice = 1;
    common::SelectFromList("select", 16, choice);
    if (common::AbortFlag) return;
    code = static_cast<std::uint16_t>(choice);
  }
  if (code < 1 || code > 16) return;
  // The diagrams of one picture sample the same angles.
  const calc::PitchRadiusTableScope radii;
  CadOpenOutput(device);
  if (common::AbortFlag) return;
  std::optional<BusyCursor> busy;
  if (SafetyCode(code) || code == 16) busy.emplace();
  BeginDiagram();
  BeginPolarDiagram();
  CadDefaultFrame();
  CadBeginTables(0);
  CadInsertLogos();
  SafetyCurves safety;
  if (code <= 14) {
    Place(120, 100, 15, 10);
    DrawPhiDiagramWith(code, safety);
  } else if (code == 15) {
    const int parts[3] = {3, 7, 8};
    const Real bottoms[3] = {85, 45, 5};
    for (int i = 0; i < 3 && !common::FatalFlag; ++i) {
      Place(120, 28, 15, bottoms[i]);
      DrawPhiDiagramWith(parts[i], safety);
    }
  } else {
    Place(120, 40, 15, 70);
    DrawPhiDiagramWith(13, safety);
    Place(120, 40, 15, 10);
    if (!common::FatalFlag) DrawPhiDiagramWith(14, safety);
  }
  if (safety.filled) RestoreAfterSafety();
  if ((SafetyCode(code) || code == 16) && !common::FatalFlag) SafetyMinima(code);
  CadEndSection();
  CadCloseOutput();
}

}  // namespace drawing
