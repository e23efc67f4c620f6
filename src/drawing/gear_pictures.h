// The pictures of the noncircular gear pair on any output device of the
// drawing interface: the pair, the single gears with their teeth, the pitch
// curves, the pair at the view angle, gear 1 rolling on a rack, the carrier
// plate and a rack for manufacture. Gear 1's centre is at the origin, gear
// 2's at (a, 0); millimetres. The tooth outlines come from tooth_contour.h,
// the turned pictures go through the rotated frame (rotated_frame.h).
#pragma once

#include <cstdint>
#include <vector>

#include "common/real.h"
#include "drawing/outlines/tooth_contour.h"

namespace drawing {

// code: 0 the pair with centre line and centre distance, 1 gear 1, 2 gear 2,
// 3 pitch curve 1, 4 pitch curve 2, 5 both pitch curves, 6 the pair turned
// to PhiView, 7 gear 1 at PhiView rolling on a rack, 8 the carrier plate,
// 9 a rack for manufacture. device as for CadOpenOutput (0: the user
// chooses). With FatalFlag set the calculation messages are shown instead.
void DrawGears(std::uint16_t code, std::uint16_t device);

// The pitch curves, bores, teeth and turn arrows that the code (0..5)
// selects, in the rotated frame; bores is 3 to leave the bores out.
void DrawGearPair(int code, int bores = 0);
// Pitch curve 1 (traced k times) and pitch curve 2 (centre at x = centreX)
// in 1-degree steps of the drive angle, in the rotated frame; gear 2's
// points come from its pitch track (tooth_contour.h), as its teeth do.
void DrawPitchCurve1();
void DrawPitchCurve2(Real centreX);
// An outline of tooth_contour.h in the rotated frame, moved by dx.
void DrawContour(const std::vector<TContourPiece>& pieces, Real dx);
// An arrow across the frame's x axis between the radii x1 and x2, pointing
// to +y (sense > 0) or -y.
void DrawTurnArrow(Real x1, Real x2, int sense);
// One rack tooth of gear 2's profile at (x0, y0) and a rack of n teeth with
// its body and bores, in the rotated frame; side -1 mirrors the rack so that
// its teeth point to -y.
void DrawRackTooth(Real x0, Real y0, int side = 1);
void DrawRack(int teeth, int bores, Real distance, Real diameter, int side = 1, Real x0 = 0);

}  // namespace drawing
