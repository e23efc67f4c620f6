// The pitch tracks as the teeth ask them: a point by its arc length lies
// where the point of its drive angle does, to a few 1e-12 mm, also on the
// track of a gear of a hundred turns (some 5 m round), and the track's
// samples meet the pitch curve.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "calc/pitch_curve.h"
#include "common/kaldvar.h"
#include "drawing/drawing_test_support.h"
#include "drawing/outlines/pitch_track.h"

namespace {

constexpr Real Pi = std::numbers::pi_v<Real>;

class PitchTrackTest : public drawingtest::DrawingTest {
 protected:
  PitchTrackTest() : DrawingTest("pitch_track") {}
};

TEST_F(PitchTrackTest, APointByItsArcIsThePointOfItsDriveAngle) {
  for (const int k : {1, 100}) {
    drawingtest::SetDefaultDesign();
    calc::NcPair.k = k;
    calc::CalcNoncircularPair();
    ASSERT_EQ(common::FatalFlag, 0);
    for (const int gear : {1, 2}) {
      const drawing::TPitchTrack track = drawing::TrackPitchCurve(gear);
      ASSERT_GT(track.Pieces.size(), 100u);
      const Real span = track.Phi.back();
      Real worst = 0, worstPhi = 0, worstTangent = 0;
      for (int i = 0; i < 997; ++i) {
        const Real phi = span * (i + 0.37L) / 997;
        Real x, y, sigma;
        track.AtDriveAngle(phi, x, y, sigma);
        Real px, py, tx, ty, nx, ny, at, curvature;
        track.At(sigma, px, py, tx, ty, nx, ny, at, curvature);
        worst = std::max(worst, std::hypot(px - x, py - y));
        worstPhi = std::max(worstPhi, std::fabs(at - phi));
        // The tangent is a unit vector along the track's derivative by
        // the drive angle there (to the derivative's own sampling).
        Real dx, dy, dsigma;
        const Real h = span * 1e-7L;
        track.AtDriveAngle(phi + h, dx, dy, dsigma);
        const Real length = std::hypot(dx - x, dy - y);
        worstTangent = std::max(worstTangent, std::fabs(((dx - x) * ty - (dy - y) * tx) / length));
        EXPECT_NEAR(tx * tx + ty * ty, 1, 1e-12);
        EXPECT_EQ(nx, track.Orientation * ty);
      }
      EXPECT_LT(worst, 1e-11) << "k " << k << " gear " << gear;
      EXPECT_LT(worstPhi, 1e-15) << "k " << k << " gear " << gear;
      EXPECT_LT(worstTangent, 1e-4) << "k " << k << " gear " << gear;
    }
    // Gear 1's samples lie on the pitch curve.
    const drawing::TPitchTrack one = drawing::TrackPitchCurve(1);
    for (std::size_t i = 0; i < one.Phi.size(); i += 97) {
      const Real r = calc::PitchRadius(one.Phi[i]);
      EXPECT_NEAR(one.X[i], r * std::cos(one.Phi[i]), 1e-12);
      EXPECT_NEAR(one.Y[i], r * std::sin(one.Phi[i]), 1e-12);
    }
  }
}

}  // namespace
