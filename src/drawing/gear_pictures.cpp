// The gear-pair pictures; see gear_pictures.h.
#include "drawing/gear_pictures.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "calc/calc_records.h"
#include "calc/centre_distance.h"
#include "calc/pitch_curve.h"
#include "calc/pitch_radius_table.h"
#include "calc/spur_gear_data.h"
#include "common/kaldvar.h"
#include "common/message_help.h"
#include "common/numeric_routines.h"
#include "common/small_dialogs.h"
#include "common/unit_labels.h"
#include "drawing/outlines/bore_fit.h"
#include "drawing/cad/cad_blocks.h"
#include "drawing/cad/cad_output.h"
#include "drawing/fatal_design_view.h"
#include "drawing/gear_picture_inputs.h"
#include "drawing/rotated_frame.h"

namespace drawing {

namespace {

constexpr Real Pi = std::numbers::pi_v<Real>;
constexpr Real DegreeStep = Pi / 180;

Real Module() { return calc::SpurGearData.NormalModule; }
// The addendum of the tool (the gear's dedendum) at the module the teeth's
// heights are drawn with.
Real Addendum(int gear) { return calc::SpurGearData.haP0Factor[gear] * ToothHeightModule(); }
Real FaceWidth(int gear) {
  const auto& g = calc::SpurGearData;
  return g.GearFaceWidth[gear] > 0 ? g.GearFaceWidth[gear] : g.FaceWidth;
}

// The line between the two centres; a solid of the pair has none, since the
// line would be a loose wall across the bodies.
void DrawLineOfCentres(Real a) {
  if (CadDevice == CadDeviceStl) return;
  SetCadColor(1);
  CadLine(0, 0, a, 0);
}

// Whether the turn arrow, which stands between 2 and 3.5 addenda inside the
// pitch radius r, keeps clear of the centre by its half-length (0.75
// addenda): teeth as high as a fifth of the radius (on a curve too tight
// for them) leave no room for it inside the gear.
bool ArrowFits(Real r, int gear) { return r > 3.5L * Addendum(gear) + 0.75L * 1.5L * Addendum(gear); }

// The small centre mark of a gear, on the screen only.
void CentreMark(Real x) {
  if (CadDevice == CadDeviceScreen) RotatedPoint(x, 0, 0.01L * calc::NcPair.a);
}

}  // namespace

void DrawContour(const std::vector<TContourPiece>& pieces, Real dx) {
  for (const TContourPiece& piece : pieces) {
    if (piece.X.empty()) continue;
    SetCadColor(piece.Pen);
    RotatedMoveTo(piece.X[0] + dx, piece.Y[0]);
    for (std::size_t i = 1; i < piece.X.size(); ++i) RotatedLineTo(piece.X[i] + dx, piece.Y[i]);
  }
}

void DrawPitchCurve1() {
  CentreMark(0);
  SetCadColor(19);
  const Real start = calc::PitchRadius(0);
  RotatedMoveTo(start, 0);
  // The curve of gear 1 is passed k times; the angle comes from a count, so
  // that rounding neither adds nor drops a step.
  const long steps = 360L * std::max<std::int32_t>(calc::NcPair.k, 1);
  Real x = start, y = 0;
  for (long i = 1; i <= steps; ++i) {
    const Real phi = i * DegreeStep;
    common::PolarToXY(x, y, calc::PitchRadius(phi), phi);
    RotatedLineTo(x, y);
  }
  // The curve ends where it began: a staircase (a polyline not joined
  // linearly) keeps its last step's radius up to the whole turn and steps
  // to its first there.
  if (std::hypot(x - start, y) > 1e-9L) RotatedLineTo(start, 0);
}

void DrawPitchCurve2(Real centreX) {
  CentreMark(centreX);
  SetCadColor(21);
  // The points of gear 2's curve at every degree of the drive angle, from
  // the pitch track that its teeth stand on: rolled by the accurate
  // integral, not by a sum of 1 degree steps, which leaves the curve off
  // its true place by up to millimetres where the ratio changes fast.
  const TPitchTrack& track = PitchTrack(2);
  Real x, y, sigma;
  track.AtDriveAngle(0, x, y, sigma);
  const Real startX = x + centreX, startY = y;
  RotatedMoveTo(startX, startY);
  const long steps = 360L * std::max<std::int32_t>(calc::NcPair.k, 1);
  for (long i = 1; i < steps; ++i) {
    track.AtDriveAngle(i * DegreeStep, x, y, sigma);
    RotatedLineTo(x + centreX, y);
  }
  // The curve ends where it began (the track closes within its accuracy).
  RotatedLineTo(startX, startY);
}

void DrawTurnArrow(Real x1, Real x2, int sense) {
  const Real length = std::fabs(x2 - x1);
  // A solid of the gear carries no arrow: its lines would become loose
  // slivers of the body, and a solid model has no use for the sign.
  if (length <= 0 || CadDevice == CadDeviceStl || CadDevice == CadDeviceStep) return;
  const Real xm = (x1 + x2) / 2;
  const Real dir = sense > 0 ? 1 : -1;
  const Real tipY = dir * length / 2;
  const Real head = length / 3;
  RotatedMoveTo(xm, -tipY);
  RotatedLineTo(xm, tipY);
  // The head spreads by 0.3 rad on either side of the shaft.
  RotatedLineTo(xm + head * std::sin(0.3L), tipY - dir * head * std::cos(0.3L));
  RotatedMoveTo(xm, tipY);
  RotatedLineTo(xm - head * std::sin(0.3L), tipY - dir * head * std::cos(0.3L));
}

void DrawGearPair(int code, int bores) {
  const auto& p = calc::NcPair;
  const auto& g = calc::SpurGearData;
  const Real centre2 = (code == 0 || code == 5) ? p.a : 0;
  // Both curves sample the same angles, both tracks a common grid.
  const calc::PitchRadiusTableScope radii;
  if (code == 0 || code == 3 || code == 5) DrawPitchCurve1();
  if (code == 0 || code == 4 || code == 5) DrawPitchCurve2(centre2);
  if (bores != 3) {
    SetCadColor(5);
    if ((code == 1 || code == 3) && g.BoreDiameter[1] > 0) CadCircle(FrameOriginX, FrameOriginY, g.BoreDiameter[1] / 2);
    if ((code == 2 || code == 4) && g.BoreDiameter[2] > 0) CadCircle(FrameOriginX, FrameOriginY, g.BoreDiameter[2] / 2);
  }
  if (code > 2) return;
  const Real r0 = calc::PitchRadius(0);
  if (code == 0 || code == 1) {
    DrawContour(GearContour(1), 0);
    // Gear 1 turns clockwise as the drive angle grows (as in the pair at
    // the view angle), gear 2 the other way.
    SetCadColor(20);
    if (ArrowFits(r0, 1)) DrawTurnArrow(r0 - 2 * Addendum(1), r0 - 3.5L * Addendum(1), -1);
  }
  if (code == 0 || code == 2) {
    DrawContour(GearContour(2), centre2);
    SetCadColor(26);
    const Real r2 = p.a - r0;
    if (ArrowFits(r2, 2)) DrawTurnArrow(centre2 - r2 + 2 * Addendum(2), centre2 - r2 + 3.5L * Addendum(2), -1);
  }
}

void DrawRackTooth(Real x0, Real y0, int side) {
  const auto& g = calc::SpurGearData;
  const Real mn = Module();
  const Real p = Pi * mn;
  const Real hf = mn * g.hfP0Factor[2];
  const Real ha = mn * g.haP0Factor[2];
  const Real t = std::tan(common::DegToRad(g.PressureAngle));
  const Real s = side < 0 ? -1 : 1;
  // Both flanks at the pressure angle: down to the tooth's tip, up from the
  // space's bottom to the next root.
  RotatedMoveTo(x0, s * y0);
  RotatedLineTo(x0 + hf * t, s * (y0 - hf));
  RotatedLineTo(x0 + p / 2 - hf * t, s * (y0 - hf));
  RotatedLineTo(x0 + p / 2 + ha * t, s * (y0 + ha));
  RotatedLineTo(x0 + p - ha * t, s * (y0 + ha));
  RotatedLineTo(x0 + p, s * y0);
}

void DrawRack(int teeth, int bores, Real distance, Real diameter, int side, Real x0) {
  const Real mn = Module();
  const Real p = Pi * mn;
  const Real s = side < 0 ? -1 : 1;
  SetCadColor(19);
  for (int i = 0; i < teeth; ++i) DrawRackTooth(x0 + i * p, 0, side);
  SetCadColor(20);
  const Real end = x0 + teeth * p;
  RotatedMoveTo(end, 0);
  RotatedLineTo(end, s * 8 * mn);
  RotatedLineTo(x0, s * 8 * mn);
  RotatedLineTo(x0, 0);
  if (bores < 1 || diameter <= 0) return;
  SetCadColor(5);
  for (int i = 0; i < bores; ++i) {
    const Real x = x0 + (teeth * p - distance * (bores - 1)) / 2 + i * distance;
    Real xr, yr;
    common::RotateTranslate(xr, yr, FrameOriginX, FrameOriginY, FrameAngle, x, s * 5 * mn);
    CadCircle(xr, yr, diameter / 2);
  }
}

void DrawGears(std::uint16_t code, std::uint16_t device) {
  if (common::FatalFlag) {
    ShowFatalDesign();
    return;
  }
  if ((code == 7 || code == 9) && calc::NcPair.ModuleMode != 2) {
    common::ShowError("mn <> const !");
    return;
  }
  TRackInputs rack;
  if (code == 9 && !AskRackInputs(rack)) return;
  Real clearance = 0;
  if (code == 8 && !AskCarrierInputs(clearance)) return;

  CadOpenOutput(device);
  if (common::AbortFlag) return;
  calc::IterateCentreDistance();
  const auto& p = calc::NcPair;
  const Real a = p.a;
  const Real R1 = 1.1L * calc::RadiusExtremes.r1max;
  const Real R2 = 1.1L * calc::RadiusExtremes.r2max;
  const Real mn = Module();
  switch (code) {
    case 0: case 5: case 6: case 8:
      CadDrawingFrame(-R1, -std::max(R1, R2), a + R2, std::max(R1, R2), FaceWidth(1));
      break;
    case 2: case 4:
      CadDrawingFrame(-R2, -R2, R2, R2, FaceWidth(2));
      break;
    case 9:
      CadDrawingFrame(-0.5L * mn, -R1, rack.Teeth * Pi * mn + 0.5L * mn, R1, FaceWidth(1));
      break;
    default:
      CadDrawingFrame(-R1, -R1, R1, R1, FaceWidth(1));
      break;
  }
  CadBeginTables(0);
  do {
    CadInsertLogos();
    SetRotatedFrame(0, 0, 0);
    switch (code) {
      case 0:
        SetCadColor(19);
        SetCadTextSize(0, 0, 0.03L * R1, 0);
        // Half a text height above the centre line: its letters clear it.
        CadText("a=" + common::LengthToText(a) + " " + common::LengthUnitLabel(), 0.1L * a, 0.5L * 0.03L * R1);
        DrawLineOfCentres(a);
        DrawGearPair(0);
        break;
      case 5:
        DrawLineOfCentres(a);
        DrawGearPair(5);
        break;
      case 6: {
        DrawLineOfCentres(a);
        const Real phi = common::DegToRad(calc::PhiView);
        SetRotatedFrame(0, 0, -calc::PhiView);
        DrawGearPair(1, 3);
        // Gear 2 turned so that its pitch point of this drive angle lies on
        // the line of centres, facing gear 1.
        SetRotatedFrame(a, 0, GearTwoTurn(PitchTrack(2), phi));
        DrawGearPair(2, 3);
        break;
      }
      case 7: {
        const Real phi = common::DegToRad(calc::PhiView);
        SetRotatedFrame(0, 0, -calc::PhiView);
        DrawGearPair(1, 0);
        // The rack's pitch line touches pitch curve 1 at its pitch point on
        // the line of centres, along the curve's tangent there, and has
        // rolled off the arc up to it; its teeth face the gear and fill
        // gear 1's spaces (which begin half a pitch on).
        const TPitchTrack& track = PitchTrack(1);
        Real px, py, s, tx, ty, nx, ny, at;
        track.AtDriveAngle(phi, px, py, s);
        track.At(s, px, py, tx, ty, nx, ny, at);
        Real wx, wy, ux, uy;
        common::RotatePoint(wx, wy, px, py, -phi);
        common::RotatePoint(ux, uy, tx, ty, -phi);
        SetRotatedFrame(wx - s * ux, wy - s * uy, common::RadToDeg(std::atan2(uy, ux)));
        DrawRack(p.z1, 0, 0, 0, -1, Pi * mn / 2);
        break;
      }
      // The parts to be made are bodies: their outlines and bores bound
      // the material. The pitch curves are lines.
      case 8:
        CadBeginBody();
        DrawCarrier(clearance);
        CadEndBody();
        break;
      case 9:
        CadBeginBody(Module());
        DrawRack(rack.Teeth, rack.Bores, rack.Distance, rack.Diameter);
        CadEndBody();
        break;
      case 1: case 2:
        if (!GearBoreFitsSolid(code)) break;
        // The gear turns about its centre, the frame's origin; its teeth
        // are cut with the module their outline is kept by.
        CadBeginBody(FrameOriginX, FrameOriginY, ToothHeightModule());
        DrawGearPair(code);
        CadEndBody();
        break;
      default:
        DrawGearPair(code);
        break;
    }
    SetRotatedFrame(0, 0, 0);
    CadEndSection();
  } while (!CadDeviceCheck());
  CadCloseOutput();
}

}  // namespace drawing
