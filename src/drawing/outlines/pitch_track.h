// The pitch curves of the noncircular pair as the teeth are set on them: a
// curve sampled along its arc, in the gear's own coordinates, with the point,
// tangent and drive angle at any arc length (tooth_contour.h builds the
// teeth on it).
//
// The curve is sampled where it needs it: each piece between two samples is
// the cubic through their points and derivatives by the drive angle, and a
// piece is halved until the cubic meets the curve at its middle within a
// thousandth of a micrometre (and, for gear 2, the rolling angle is
// integrated to the same accuracy), down to the finest step of (2 pi / z1) /
// 1000 of the drive angle. A smooth curve needs a dozen samples per pitch;
// kinks and steps (polylines, polygon corners) are resolved to the finest
// step. Between samples the point, its tangent and the arc length follow the
// cubic, so that the teeth do not depend on where the samples fall.
#pragma once

#include <vector>

#include "common/real.h"

namespace drawing {

// A plane cubic in the parameter s from 0 to 1, power-basis coefficients of
// x(s) and y(s), with its point and derivative by s; T the precision.
template <class T>
struct TCubic {
  T ax[4] = {}, ay[4] = {};

  void Point(T s, T& x, T& y) const {
    x = ((ax[3] * s + ax[2]) * s + ax[1]) * s + ax[0];
    y = ((ay[3] * s + ay[2]) * s + ay[1]) * s + ay[0];
  }
  void Derivative(T s, T& dx, T& dy) const {
    dx = (3 * ax[3] * s + 2 * ax[2]) * s + ax[1];
    dy = (3 * ay[3] * s + 2 * ay[2]) * s + ay[1];
  }
  // The same cubic in another precision.
  template <class U>
  TCubic<U> As() const {
    TCubic<U> c;
    for (int i = 0; i < 4; ++i) c.ax[i] = static_cast<U>(ax[i]), c.ay[i] = static_cast<U>(ay[i]);
    return c;
  }
};

// One piece of a track between two samples: the cubic of the point (the
// drive angle grows evenly with s), its arc length and the speeds (growth
// of the arc by s) at both ends.
struct TTrackPiece : TCubic<Real> {
  Real length = 0;
  Real speed0 = 0, speed1 = 0;
};

// A pitch curve sampled along its arc, in the gear's own coordinates.
struct TPitchTrack {
  std::vector<Real> S;       // arc length from the first sample
  std::vector<Real> X, Y;    // curve points
  std::vector<Real> DX, DY;  // derivative of the point by the drive angle
  std::vector<Real> Phi;     // drive angle of gear 1 at each sample, radians
  std::vector<Real> Psi;     // gear 2's rolling angle at each sample, radians
  Real Length = 0;           // length of the closed curve
  int Orientation = 1;       // 1 counter-clockwise (gear 1), -1 clockwise (gear 2)
  std::vector<TTrackPiece> Pieces;  // between samples i and i + 1

  // The point at arc length sigma (taken round the closed curve), the unit
  // tangent in the sense of growing arc, the outward unit normal and the
  // drive angle there.
  void At(Real sigma, Real& x, Real& y, Real& tx, Real& ty, Real& nx, Real& ny, Real& phi) const;
  // The same with the curvature there (1/mm, positive where the curve turns
  // to the left of its sense of growing arc).
  void At(Real sigma, Real& x, Real& y, Real& tx, Real& ty, Real& nx, Real& ny, Real& phi, Real& curvature) const;
  // The point of the drive angle phi (taken round the turns of the curve)
  // and its arc length.
  void AtDriveAngle(Real phi, Real& x, Real& y, Real& sigma) const;
  // On gear 2's track: its rolling angle at the drive angle phi (0 .. the
  // k turns of gear 1), radians, negative as gear 2 turns clockwise: the
  // polar angle of its pitch point less pi, counted on from the sample
  // before, so that it never jumps by a turn.
  Real RollingAngle(Real phi) const;

  // Keeps a copy of the pieces in double precision for At (TrackPitchCurve
  // does, once the pieces are final).
  void KeepFastPieces();
  // Piece i's cubic in double precision (the kept copy, if there is one).
  TCubic<double> FastCubic(std::size_t i) const {
    return fast_.size() == Pieces.size() ? fast_[i].cubic : Pieces[i].As<double>();
  }

 private:
  mutable std::size_t lastPiece_ = 0;  // the piece At found last
  // The pieces' cubics with their lengths and end speeds in double
  // precision (empty: At takes the pieces themselves).
  struct FastPiece {
    TCubic<double> cubic;
    double length, speed0, speed1;
  };
  std::vector<FastPiece> fast_;
};

enum class TrackSampling {
  Adaptive,  // as densely as the curve needs
  Finest,    // a sample at every finest step (for comparison)
};

// The pitch curve of gear 1 (one turn) or of gear 2 (k turns of gear 1,
// gear 2 rolling on curve 1 at the centre distance NcPair.a).
TPitchTrack TrackPitchCurve(int gear, TrackSampling sampling = TrackSampling::Adaptive);

// A drive angle (radians, of any turn of gear 1) as the whole degree of
// one turn, 0 to 359, that the messages name: both pitch curves repeat
// with each turn of gear 1 (gear 2's radius there is the centre distance
// less gear 1's), so a place of any turn is the place of the first, and an
// angle that rounds to a whole turn is its start.
int WholeDriveDegree(Real phi);

// The turn of gear 2 in degrees (counter-clockwise) that brings its pitch
// point of the drive angle phi of gear 1 onto the line of centres, facing
// gear 1: with gear 1 turned back by phi, the two gears then mesh there, and
// their pitch radii on the line of centres add up to the centre distance.
// track is gear 2's (TrackPitchCurve(2)).
Real GearTwoTurn(const TPitchTrack& track, Real phi);

}  // namespace drawing
