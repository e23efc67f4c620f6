// The teeth of the noncircular pair and the pitch track they stand on:
// the adaptively sampled track against brute-force integrals of the curve,
// the outlines it gives against those of the track sampled at every finest
// step and against the outlines of the former chord track (golden data),
// outlines that never cross themselves, no needle nor tiny side in the
// outlines of the reference designs, the same teeth in both module modes,
// and the track and outline kept while their inputs stand.
#include "drawing/outlines/tooth_contour.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <numbers>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "calc/pitch_curve.h"
#include "calc/spur_gear_data.h"
#include "common/equation_matrix.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "drawing/outlines/simple_outline.h"
#include "drawing/outlines/tip_region.h"
#include "drawing/reference_designs.h"

namespace {

constexpr Real Pi = std::numbers::pi_v<Real>;
using Point = std::pair<double, double>;
using Polygon = std::vector<Point>;

// The default design with one change, calculated.
void SetDesign(const std::string& name) {
  common::SetKaldvarDefaults();
  common::AllocEquationWorkspace();
  calc::InitGearData();
  calc::SetSpurGearDefaults();
  calc::SetNoncircularDefaults();
  calc::SpurGearData.P = 10;
  calc::SpurGearData.n[1] = 1000;
  calc::NcPair.ModuleMode = 2;
  if (name == "default") {
    calc::NcPair.ModuleMode = 1;
  } else if (name == "eccentric k3") {
    calc::CurveType = calc::CurveEccentric;
    calc::NcPair.k = 3;
  } else if (name == "polyline" || name == "polyline mode 1") {
    // 360 points of the default ellipse, joined linearly.
    calc::CurveType = calc::CurvePolyline;
    calc::PolylineCount = 360;
    calc::LinearInterpolation = 1;
    for (int i = 1; i <= 360; ++i) {
      const Real phi = (i - 1) * 2 * Pi / 360, c = std::cos(phi) / 60, s = std::sin(phi) / 50;
      calc::PolylinePoints[i] = {phi, 1 / std::sqrt(c * c + s * s)};
    }
    if (name == "polyline mode 1") calc::NcPair.ModuleMode = 1;
  } else if (name == "focal ellipse" || name == "focal ellipse mode 1") {
    calc::CurveType = calc::CurveFormula;
    calc::PieceCount = 1;
    calc::FormulaPieces[1] = {360, "40/(1-0.5*cos(X))"};
    if (name == "focal ellipse mode 1") calc::NcPair.ModuleMode = 1;
  } else if (name == "hexagon") {
    calc::CurveType = calc::CurvePolygon;
  } else if (name == "ellipse formula") {
    // The default ellipse (60 by 50 mm about its centre) as a formula, whose
    // slope comes from the formula itself.
    calc::CurveType = calc::CurveFormula;
    calc::PieceCount = 1;
    calc::FormulaPieces[1] = {360, "3000/SQRT(2500*SQR(COS(X))+3600*SQR(SIN(X)))"};
  }
  calc::CalcNoncircularPair();
  ASSERT_EQ(common::FatalFlag, 0) << name;
  common::ClearErrorMessages();
}

// The outline as one closed polygon (the closing vertex not repeated).
Polygon Join(const std::vector<drawing::TContourPiece>& pieces) {
  Polygon out;
  for (const auto& piece : pieces)
    for (std::size_t i = 0; i < piece.X.size(); ++i) {
      const Point p{static_cast<double>(piece.X[i]), static_cast<double>(piece.Y[i])};
      if (out.empty() || out.back() != p) out.push_back(p);
    }
  if (out.size() > 1 && out.back() == out.front()) out.pop_back();
  return out;
}

double SegmentDistance(Point p, Point a, Point b) {
  const double dx = b.first - a.first, dy = b.second - a.second, l = dx * dx + dy * dy;
  const double t = l > 0 ? std::clamp(((p.first - a.first) * dx + (p.second - a.second) * dy) / l, 0.0, 1.0) : 0;
  return std::hypot(a.first + t * dx - p.first, a.second + t * dy - p.second);
}

// The largest distance of a vertex of a from the outline b (within a
// millimetre; farther vertices count as 1 mm).
double OneWay(const Polygon& a, const Polygon& b) {
  std::map<std::pair<long, long>, std::vector<std::size_t>> cells;
  for (std::size_t j = 0; j < b.size(); ++j) {
    const Point p = b[j], q = b[(j + 1) % b.size()];
    for (long x = std::lround(std::floor(std::min(p.first, q.first))) - 1; x <= std::lround(std::floor(std::max(p.first, q.first))) + 1; ++x)
      for (long y = std::lround(std::floor(std::min(p.second, q.second))) - 1; y <= std::lround(std::floor(std::max(p.second, q.second))) + 1; ++y)
        cells[{x, y}].push_back(j);
  }
  double worst = 0;
  for (const Point& p : a) {
    double best = 1;
    const auto it = cells.find({std::lround(std::floor(p.first)), std::lround(std::floor(p.second))});
    if (it != cells.end())
      for (const std::size_t j : it->second) best = std::min(best, SegmentDistance(p, b[j], b[(j + 1) % b.size()]));
    worst = std::max(worst, best);
  }
  return worst;
}

// How far apart two outlines lie at most.
double Distance(const Polygon& a, const Polygon& b) { return std::max(OneWay(a, b), OneWay(b, a)); }

// Pairs of segments that meet, neighbours apart: every pair is compared.
int Crossings(const Polygon& v) {
  int count = 0;
  const std::size_t n = v.size();
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = i + 2; j < n; ++j) {
      if (i == 0 && j == n - 1) continue;
      const Point a = v[i], b = v[i + 1], c = v[j], d = v[(j + 1) % n];
      const double rx = b.first - a.first, ry = b.second - a.second;
      const double sx = d.first - c.first, sy = d.second - c.second;
      const double den = rx * sy - ry * sx;
      if (den == 0) continue;
      const double qx = c.first - a.first, qy = c.second - a.second;
      const double t = (qx * sy - qy * sx) / den, u = (qx * ry - qy * rx) / den;
      if (t >= 0 && t <= 1 && u >= 0 && u <= 1) ++count;
    }
  return count;
}

Polygon Outline(int gear, drawing::TrackSampling sampling = drawing::TrackSampling::Adaptive) {
  return Join(drawing::BuildGearContour(gear, drawing::TrackPitchCurve(gear, sampling)));
}

// The outlines of the golden file, by design and gear.
std::map<std::pair<std::string, int>, Polygon> GoldenOutlines() {
  std::map<std::pair<std::string, int>, Polygon> out;
  std::ifstream in(std::string(VOB_SOURCE_DIR) + "/tests/data/golden/drawing/dense_track_outlines.txt");
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream head(line);
    std::string word, name;
    int gear = 0;
    std::size_t count = 0;
    head >> word >> name >> gear >> count;
    Polygon& p = out[{name, gear}];
    for (std::size_t k = 0; k < count && std::getline(in, line); ++k) {
      std::istringstream xy(line);
      long long x = 0, y = 0;
      xy >> x >> y;
      p.emplace_back(x * 1e-4, y * 1e-4);
    }
  }
  return out;
}

}  // namespace

TEST(PitchTrack, FollowsTheCurveAndItsRolling) {
  for (const std::string design : {"eccentric k3", "focal ellipse"}) {
    SetDesign(design);
    const Real a = calc::NcPair.a;
    // Gear 1's track: every point on the curve, its length the curve's,
    // measured here by Simpson's rule on the polar arc element.
    const drawing::TPitchTrack track1 = drawing::TrackPitchCurve(1);
    for (int k = 0; k < 97; ++k) {
      Real x, y, tx, ty, nx, ny, phi;
      track1.At(track1.Length * k / 97, x, y, tx, ty, nx, ny, phi);
      // Within the track's 1e-6 mm (the point, and the drive angle it is
      // said to belong to).
      const Real r = calc::PitchRadius(phi);
      EXPECT_LT(std::hypot(x - r * std::cos(phi), y - r * std::sin(phi)), 2e-6) << design << " " << k;
    }
    constexpr int Steps = 20000;
    const Real h = 2 * Pi / Steps, d = 1e-5L;
    auto element = [&](Real phi) {
      const Real r = calc::PitchRadius(phi);
      const Real dr = (calc::PitchRadius(phi + d) - calc::PitchRadius(phi - d)) / (2 * d);
      return std::sqrt(r * r + dr * dr);
    };
    Real length = 0;
    for (int i = 0; i < Steps; i += 2) length += h / 3 * (element(i * h) + 4 * element((i + 1) * h) + element((i + 2) * h));
    EXPECT_NEAR(track1.Length, length, 1e-6) << design;
    // Gear 2's track: turned by the rolling angle, the integral of
    // r / (a - r), at its radius a - r.
    const drawing::TPitchTrack track2 = drawing::TrackPitchCurve(2);
    auto rate = [&](Real phi) { return calc::PitchRadius(phi) / (a - calc::PitchRadius(phi)); };
    Real psi = 0;
    const int turns = calc::NcPair.k;
    for (int i = 0; i < Steps * turns; i += 2) {
      psi -= h / 3 * (rate(i * h) + 4 * rate((i + 1) * h) + rate((i + 2) * h));
      if ((i + 2) % 1000 != 0) continue;
      const Real phi = (i + 2) * h;
      Real x, y, sigma;
      track2.AtDriveAngle(phi, x, y, sigma);
      const Real r2 = a - calc::PitchRadius(phi);
      EXPECT_LT(std::hypot(x - r2 * std::cos(Pi + psi), y - r2 * std::sin(Pi + psi)), 2e-6) << design << " at " << phi;
    }
    EXPECT_NEAR(track2.Length, turns * length, 1e-5) << design << ": rolling keeps the arcs equal";
  }
}

// The track remembers the piece it found last and looks for the next one
// from there: what it answers must not depend on what was asked before.
// Arcs asked in a jumping order (near, far, backwards, round the end)
// against each asked of a copy of the track that was never asked before.
TEST(PitchTrack, AnswersAlikeWhateverWasAskedBefore) {
  SetDesign("eccentric k3");
  const drawing::TPitchTrack track = drawing::TrackPitchCurve(2);
  const drawing::TPitchTrack unasked = track;  // a copy never asked
  ASSERT_GT(track.Pieces.size(), 500u);
  const Real length = track.Length;
  std::vector<Real> arcs;
  Real sigma = 0.3L;
  for (int k = 0; k < 400; ++k) {
    // Small steps both ways, a jump now and then, past either end.
    const int kind = k % 7;
    sigma += kind == 0 ? length * 0.37L : kind == 1 ? -length * 0.11L : kind == 2 ? 1.3L : kind == 3 ? -0.7L : 0.013L * k;
    if (k == 100) sigma = length;         // exactly the end
    if (k == 200) sigma = -length * 0.5L;  // before the start
    if (k == 300) sigma = track.S[track.S.size() / 2];  // exactly on a sample
    arcs.push_back(sigma);
  }
  for (const Real arc : arcs) {
    Real x, y, tx, ty, nx, ny, phi, curvature;
    track.At(arc, x, y, tx, ty, nx, ny, phi, curvature);
    const drawing::TPitchTrack fresh = unasked;
    Real fx, fy, ftx, fty, fnx, fny, fphi, fcurvature;
    fresh.At(arc, fx, fy, ftx, fty, fnx, fny, fphi, fcurvature);
    EXPECT_EQ(x, fx) << arc;
    EXPECT_EQ(y, fy) << arc;
    EXPECT_EQ(tx, ftx) << arc;
    EXPECT_EQ(phi, fphi) << arc;
    EXPECT_EQ(curvature, fcurvature) << arc;
  }
}

// The tip region answers from the pieces nearest to a point first and
// stops at the first within reach: points about a hexagon's pitch curve
// (its corners resolved to tiny pieces), at heights spread over
// -1.5 to 3 addenda, against their distance from the whole track sampled
// densely. Inside the curve, or within the tip height of it (less a
// margin), a point stays; beyond it and outside the curve it lies the
// distance less the height out, and is moved onto the tip curve.
TEST(TipRegion, MeasuresAgainstTheNearestPieceOfTheWholeCurve) {
  SetDesign("hexagon");
  const drawing::TPitchTrack track = drawing::TrackPitchCurve(1);
  const Real height = calc::SpurGearData.hfP0Factor[1] * drawing::ToothModule();
  const drawing::TTipRegion region(track, height);
  // The track as a dense polyline.
  std::vector<Point> dense;
  for (const drawing::TTrackPiece& piece : track.Pieces)
    for (int j = 0; j < 64; ++j) {
      Real x, y;
      piece.Point(j / 64.0L, x, y);
      dense.emplace_back(static_cast<double>(x), static_cast<double>(y));
    }
  const auto nearest = [&](double x, double y) {
    double best = 1e30;
    for (std::size_t i = 0; i < dense.size(); ++i)
      best = std::min(best, SegmentDistance({x, y}, dense[i], dense[(i + 1) % dense.size()]));
    return best;
  };
  int inside = 0, outside = 0;
  for (int k = 0; k < 300; ++k) {
    // A point of the curve, and one off it along the polar ray.
    const Real phi = 2 * Pi * ((k * 0.618034L) - std::floor(k * 0.618034L));
    const Real r = calc::PitchRadius(phi) + height * (-1.5L + 4.5L * ((k * 0.414214L) - std::floor(k * 0.414214L)));
    const Real x = r * std::cos(phi), y = r * std::sin(phi);
    const double d = nearest(static_cast<double>(x), static_cast<double>(y));
    Real tx, ty;
    const Real excess = region.Excess(x, y, tx, ty);
    if (d < height - 1e-3 || r < calc::PitchRadius(phi)) {
      EXPECT_EQ(excess, 0) << k;
      ++inside;
    } else if (d > height + 1e-3) {
      EXPECT_NEAR(excess, d - height, 1e-4) << k;
      EXPECT_NEAR(nearest(static_cast<double>(tx), static_cast<double>(ty)), height, 1e-4) << k;
      ++outside;
    }
  }
  EXPECT_GT(inside, 50);
  EXPECT_GT(outside, 50);
}

TEST(ToothContour, AdaptiveTrackGivesTheOutlinesOfTheFinestTrack) {
  for (const std::string design : {"ellipse", "eccentric k3", "polyline", "focal ellipse"}) {
    SetDesign(design);
    for (int gear = 1; gear <= 2; ++gear) {
      const std::string where = design + " gear " + std::to_string(gear);
      const drawing::TPitchTrack adaptive = drawing::TrackPitchCurve(gear);
      const drawing::TPitchTrack finest = drawing::TrackPitchCurve(gear, drawing::TrackSampling::Finest);
      // The finest track samples 1000 times per pitch; a smooth curve
      // needs a few per cent of that, a polyline's 360 corners more.
      EXPECT_LT(adaptive.S.size() * (design == "polyline" ? 4 : 20), finest.S.size()) << where;
      // The same pitches, and the same teeth within 0.1 micrometre.
      EXPECT_NEAR(adaptive.Length, finest.Length, 1e-6) << where;
      const Polygon a = Join(drawing::BuildGearContour(gear, adaptive));
      const Polygon f = Join(drawing::BuildGearContour(gear, finest));
      EXPECT_LT(Distance(a, f), 1e-4) << where;
    }
  }
}

TEST(ToothContour, FormulaTrackGivesTheOutlinesOfTheDenseTrack) {
  // A formula curve's track takes its slopes from the formula, every other
  // curve's from a difference of two radii: the default ellipse given as a
  // formula has the teeth of the ellipse's track sampled at every finest
  // step.
  SetDesign("ellipse");
  const Polygon dense[2] = {Outline(1, drawing::TrackSampling::Finest), Outline(2, drawing::TrackSampling::Finest)};
  const Real length = drawing::TrackPitchCurve(1, drawing::TrackSampling::Finest).Length;
  SetDesign("ellipse formula");
  EXPECT_NEAR(drawing::TrackPitchCurve(1).Length, length, 1e-6);
  for (int gear = 1; gear <= 2; ++gear) EXPECT_LT(Distance(Outline(gear), dense[gear - 1]), 1e-4) << "gear " << gear;
}

TEST(ToothContour, OutlinesAsTheChordTrackDrewThem) {
  // The former track joined 1000 samples per pitch by chords; its tangent
  // turned in steps from chord to chord, which moved the flanks by up to
  // 2 micrometres against the smooth curve (and more next to a polyline's
  // corners, where a flank's end falls on one side of the corner or the
  // other).
  const auto golden = GoldenOutlines();
  ASSERT_EQ(golden.size(), 6u);
  const std::map<std::string, double> tolerance = {{"ellipse2", 2e-3}, {"ecc3", 2e-3}, {"poly360", 2.5e-2}};
  const std::map<std::string, std::string> designs = {{"ellipse2", "ellipse"}, {"ecc3", "eccentric k3"},
                                                      {"poly360", "polyline"}};
  for (const auto& [name, design] : designs) {
    SetDesign(design);
    for (int gear = 1; gear <= 2; ++gear) {
      const Polygon& old = golden.at({name, gear});
      EXPECT_LT(Distance(Outline(gear), old), tolerance.at(name)) << design << " gear " << gear;
    }
  }
}

TEST(ToothContour, OutlinesNeverCrossThemselves) {
  // Pointed teeth, a polyline's steps back, teeth running into each other
  // at a hexagon's corners: each outline is one simple closed curve.
  for (const std::string design : {"default", "focal ellipse", "focal ellipse mode 1", "hexagon", "polyline",
                                   "polyline mode 1"}) {
    SetDesign(design);
    for (int gear = 1; gear <= 2; ++gear) {
      const std::vector<drawing::TContourPiece>& pieces = drawing::GearContour(gear);
      ASSERT_FALSE(pieces.empty());
      // Each piece starts where the one before it ends, round to the first.
      for (std::size_t i = 0; i < pieces.size(); ++i) {
        const auto& next = pieces[(i + 1) % pieces.size()];
        EXPECT_EQ(pieces[i].X.back(), next.X.front()) << design << " piece " << i;
        EXPECT_EQ(pieces[i].Y.back(), next.Y.front()) << design << " piece " << i;
      }
      const Polygon outline = Join(pieces);
      EXPECT_GT(outline.size(), 40u * calc::NcPair.z1 * (gear == 1 ? 1 : calc::NcPair.k));
      EXPECT_EQ(Crossings(outline), 0) << design << " gear " << gear;
    }
  }
}

TEST(ToothContour, ReferenceOutlinesHaveNoNeedleNorTinySide) {
  // Where a flank folds back at a corner of its pitch curve, or a crossing
  // or the tip curve falls next to a flank's point, no needle and no side
  // a hair long is left: every device draws the outline as a solid's
  // modeller and a mesher can take it.
  for (const drawingtest::TReferenceDesign& design : drawingtest::ReferenceDesigns()) {
    common::SetKaldvarDefaults();
    drawingtest::SetReferenceDesign(design);
    calc::CalcNoncircularPair();
    ASSERT_EQ(common::FatalFlag, 0) << design.Name;
    for (int gear = 1; gear <= 2; ++gear) {
      const Polygon p = Join(drawing::GearContour(gear));
      const double tiny = static_cast<double>(drawing::TinySideFor(drawing::ToothHeightModule()));
      const double width = static_cast<double>(drawing::NeedleWidthFor(drawing::ToothHeightModule()));
      const std::size_t n = p.size();
      ASSERT_GT(n, 100u) << design.Name << " gear " << gear;
      for (std::size_t i = 0; i < n; ++i) {
        const Point &a = p[(i + n - 1) % n], &b = p[i], &c = p[(i + 1) % n];
        const double ux = b.first - a.first, uy = b.second - a.second, vx = c.first - b.first, vy = c.second - b.second;
        const double lu = std::hypot(ux, uy), lv = std::hypot(vx, vy);
        EXPECT_GE(lv, tiny) << design.Name << " gear " << gear << " side " << i;
        // Where its sides meet at a sharp angle, they part by a needle's
        // width at least.
        const double dot = ux * vx + uy * vy;
        if (dot < 0 && -dot > std::cos(static_cast<double>(drawing::NeedleAngle) * Pi / 180) * lu * lv) {
          EXPECT_GE(std::fabs(ux * vy - uy * vx), width * std::max(lu, lv))
              << design.Name << " gear " << gear << " vertex " << i;
        }
      }
      EXPECT_EQ(Crossings(p), 0) << design.Name << " gear " << gear;
    }
  }
}

TEST(ToothContour, BothModuleModesDrawTheTeethThatFitTheirPitch) {
  SetDesign("default");
  const Real fitting = calc::NcPair.U1 / (Pi * calc::NcPair.z1);
  EXPECT_NEAR(drawing::ToothModule(), fitting, 1e-15);
  // The rating's module follows the radius, the teeth's does not.
  EXPECT_GT(std::fabs(calc::SpurGearData.NormalModule - fitting), 0.1);
  const auto mode1gear1 = drawing::GearContour(1);
  const auto mode1gear2 = drawing::GearContour(2);
  calc::NcPair.ModuleMode = 2;
  calc::CalcNoncircularPair();
  ASSERT_EQ(common::FatalFlag, 0);
  EXPECT_NEAR(calc::SpurGearData.NormalModule, fitting, 1e-15);
  for (int gear = 1; gear <= 2; ++gear) {
    const auto& mode1 = gear == 1 ? mode1gear1 : mode1gear2;
    const auto mode2 = drawing::BuildGearContour(gear, drawing::TrackPitchCurve(gear));
    ASSERT_EQ(mode1.size(), mode2.size());
    for (std::size_t i = 0; i < mode1.size(); ++i) {
      EXPECT_EQ(mode1[i].Pen, mode2[i].Pen);
      EXPECT_EQ(mode1[i].X, mode2[i].X) << "gear " << gear << " piece " << i;
      EXPECT_EQ(mode1[i].Y, mode2[i].Y) << "gear " << gear << " piece " << i;
    }
  }
}

TEST(ToothContour, KeptWhileTheCurveTheTeethAndTheToolStand) {
  SetDesign("ellipse");
  const Real* track = drawing::PitchTrack(1).S.data();
  const Real* outline = drawing::GearContour(1).front().X.data();
  const Polygon before = Join(drawing::GearContour(1));
  // A material or load edit and the recalculation after it.
  calc::SpurGearData.P = 25;
  calc::SpurGearData.n[1] = 700;
  calc::CalcNoncircularPair();
  EXPECT_EQ(drawing::PitchTrack(1).S.data(), track);
  EXPECT_EQ(drawing::GearContour(1).front().X.data(), outline);
  // A new tool rebuilds the outline on the kept track.
  calc::SpurGearData.hfP0Factor[1] = 1.1L;
  const Polygon higher = Join(drawing::GearContour(1));
  EXPECT_EQ(drawing::PitchTrack(1).S.data(), track);
  EXPECT_GT(Distance(before, higher), 0.1);
  // Another curve rebuilds both.
  calc::EllipseCurve.b = 45;
  calc::CalcNoncircularPair();
  const drawing::TPitchTrack& other = drawing::PitchTrack(1);
  EXPECT_NEAR(other.Length, drawing::TrackPitchCurve(1).Length, 1e-12);
  EXPECT_EQ(Join(drawing::GearContour(1)), Join(drawing::BuildGearContour(1, other)));
}
