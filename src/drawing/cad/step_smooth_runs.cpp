// Smooth runs of the STEP device's outlines; see step_smooth_runs.h.
#include "drawing/cad/step_smooth_runs.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "drawing/outlines/simple_outline.h"

namespace drawing::step {

namespace {

constexpr std::size_t None = SIZE_MAX;

double Length(const Point& a, const Point& b) { return std::hypot(b.x - a.x, b.y - a.y); }

// The distance of p from the segment ab.
double DistanceToSegment(const Point& p, const Point& a, const Point& b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0;
  t = std::fmax(0, std::fmin(1, t));
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

}  // namespace

SmoothLimits SmoothLimits::ForModule(double module) {
  SmoothLimits limits;
  if (!(module > 0)) return limits;
  const double scale = static_cast<double>(TinySideFor(module) / TinySide);
  limits.shortSide *= scale;
  limits.mergeDeviation *= scale;
  limits.fitTolerance *= scale;
  limits.mostAllowance *= scale;
  return limits;
}

Path MergeShortSides(const Path& run, bool closed, const SmoothLimits& limits) {
  const std::size_t n = run.size();
  const std::size_t fewest = closed ? 3 : 2;
  if (n <= fewest) return run;
  const double smooth = SmoothTurnDegrees * std::numbers::pi / 180;
  // The points left, linked to their neighbours (None past an open run's
  // ends).
  std::vector<std::size_t> prev(n), next(n);
  for (std::size_t k = 0; k < n; ++k) {
    prev[k] = k > 0 ? k - 1 : closed ? n - 1 : None;
    next[k] = k + 1 < n ? k + 1 : closed ? 0 : None;
  }
  std::vector<char> alive(n, 1);
  std::size_t count = n;
  // The pen of the line arriving at each point: a merged line keeps the
  // pen of the longer of its two.
  std::vector<int> pen(n);
  for (std::size_t k = 0; k < n; ++k) pen[k] = run[k].pen;
  // A point between two lines (not an arc's end, not an open run's end).
  const auto betweenLines = [&](std::size_t k) {
    return prev[k] != None && next[k] != None && run[k].sweep == 0 && run[next[k]].sweep == 0;
  };
  // The angle the run turns by at point k (radians, either way).
  const auto turn = [&](std::size_t k) {
    const Point &a = run[prev[k]], &b = run[k], &c = run[next[k]];
    const double ux = b.x - a.x, uy = b.y - a.y, vx = c.x - b.x, vy = c.y - b.y;
    return std::fabs(std::atan2(ux * vy - uy * vx, ux * vx + uy * vy));
  };
  // Whether the side from point a to point b passes every point of the run
  // between them within the merge deviation.
  const auto staysClose = [&](std::size_t a, std::size_t b) {
    if (!(Length(run[a], run[b]) > 0)) return false;
    for (std::size_t i = (a + 1) % n; i != b; i = (i + 1) % n)
      if (DistanceToSegment(run[i], run[a], run[b]) > limits.mergeDeviation) return false;
    return true;
  };
  // The sides still to look at, by the point they start from.
  std::vector<std::size_t> work;
  work.reserve(n);
  for (std::size_t k = n; k-- > 0;) work.push_back(k);
  while (!work.empty() && count > fewest) {
    const std::size_t k = work.back();
    work.pop_back();
    const std::size_t j = alive[k] ? next[k] : None;
    if (j == None || run[j].sweep != 0 || !(Length(run[k], run[j]) < limits.shortSide)) continue;
    // The end where the run goes on more smoothly goes.
    std::size_t drop = None;
    double least = smooth;
    for (const std::size_t m : {k, j}) {
      if (!betweenLines(m)) continue;
      const double t = turn(m);
      if (t < least && staysClose(prev[m], next[m])) {
        drop = m;
        least = t;
      }
    }
    if (drop == None) continue;
    const std::size_t a = prev[drop], b = next[drop];
    if (Length(run[a], run[drop]) > Length(run[drop], run[b])) pen[b] = pen[drop];
    alive[drop] = 0;
    next[a] = b;
    prev[b] = a;
    --count;
    // The turns at a and b changed: the sides on either side of them.
    if (prev[a] != None) work.push_back(prev[a]);
    work.push_back(b);
    work.push_back(a);
  }
  Path merged;
  merged.reserve(count);
  // Each point left carries the piece that now arrives at it (a line from
  // the point before it, or the arc it carried).
  for (std::size_t k = 0; k < n; ++k)
    if (alive[k]) {
      merged.push_back(run[k]);
      merged.back().pen = pen[k];
    }
  return merged;
}

namespace {

// (A curve follows its lines within the fit tolerance, or within a
// corner's height over its chord, up to the most allowance: as closely as
// the lines themselves follow the shape they were drawn along.)

struct Vec {
  double x = 0, y = 0;
};
Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
Vec operator*(double s, Vec a) { return {s * a.x, s * a.y}; }
double Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }
double Cross(Vec a, Vec b) { return a.x * b.y - a.y * b.x; }
double Norm(Vec a) { return std::hypot(a.x, a.y); }
Vec Unit(Vec a) {
  const double n = Norm(a);
  return n > 0 ? (1 / n) * a : Vec{};
}

// A cubic Bezier curve.
struct Cubic {
  Vec p[4];
  Vec At(double u) const {
    const double v = 1 - u;
    return (v * v * v) * p[0] + (3 * v * v * u) * p[1] + (3 * v * u * u) * p[2] + (u * u * u) * p[3];
  }
  Vec Slope(double u) const {
    const double v = 1 - u;
    return (3 * v * v) * (p[1] - p[0]) + (6 * v * u) * (p[2] - p[1]) + (3 * u * u) * (p[3] - p[2]);
  }
  Vec Bend(double u) const { return (6 * (1 - u)) * (p[2] - 2 * p[1] + p[0]) + (6 * u) * (p[3] - 2 * p[2] + p[1]); }
  // The signed area swept about the origin from its start to its end.
  double Sweep() const {
    return (6 * Cross(p[0], p[1]) + 3 * Cross(p[0], p[2]) + Cross(p[0], p[3]) + 3 * Cross(p[1], p[2]) +
            3 * Cross(p[1], p[3]) + 6 * Cross(p[2], p[3])) /
           20;
  }
  // The parameter of the point nearest to q, from the guess u on.
  double Nearest(Vec q, double u) const {
    for (int round = 0; round < 4; ++round) {
      const Vec d = At(u) - q, d1 = Slope(u), d2 = Bend(u);
      const double f1 = Dot(d, d1), f2 = Dot(d1, d1) + Dot(d, d2);
      if (!(f2 > 0)) break;
      u = std::clamp(u - f1 / f2, 0.0, 1.0);
    }
    return u;
  }
};

double Bernstein(int k, double u) {
  const double v = 1 - u;
  switch (k) {
    case 0: return v * v * v;
    case 1: return 3 * v * v * u;
    case 2: return 3 * v * u * u;
    default: return u * u * u;
  }
}

// The pieces of one stretch, fitted from its ends inwards.
class StretchFitter {
 public:
  StretchFitter(const std::vector<double>& points, Vec start, Vec end, const SmoothLimits& limits)
      : points_(points) {
    const std::size_t n = points.size() / 2;
    // About the first point, for the areas' sake.
    base_ = {points[0], points[1]};
    for (std::size_t i = 0; i < n; ++i) p_.push_back({points[2 * i] - points[0], points[2 * i + 1] - points[1]});
    for (std::size_t k = 0; k + 1 < n; ++k) side_.push_back(Unit(p_[k + 1] - p_[k]));
    // Each inner point's turn and its height over the chord of its corner
    // (the middles of its lines); the allowances of the points and of the
    // lines' middles.
    turn_.assign(n, 0);
    allowance_.assign(n, limits.fitTolerance);
    for (std::size_t i = 1; i + 1 < n; ++i) {
      turn_[i] = std::atan2(Cross(side_[i - 1], side_[i]), Dot(side_[i - 1], side_[i]));
      const Vec a = 0.5 * (p_[i - 1] + p_[i]), b = 0.5 * (p_[i] + p_[i + 1]);
      const Vec chord = b - a;
      const double length = Norm(chord);
      const double height = length > 0 ? std::fabs(Cross(chord, p_[i] - a)) / length : 0;
      allowance_[i] = std::max(limits.fitTolerance, std::min(height, limits.mostAllowance));
    }
    for (std::size_t k = 0; k + 1 < n; ++k)
      sideAllowance_.push_back(std::max(allowance_[k], allowance_[k + 1]));
    start_ = Norm(start) > 0 ? start : Leaving(0, n - 1);
    end_ = Norm(end) > 0 ? end : Arriving(n - 1, 0);
  }

  std::vector<SmoothPiece> Fit() {
    std::vector<SmoothPiece> pieces;
    // Stretches still to fit, the first on top: first parted at the kinks,
    // each curve beside one along the line there.
    struct Part {
      std::size_t first, last;
      Vec from, to;
    };
    std::vector<Part> parts;
    std::size_t last = p_.size() - 1;
    Vec to = end_;
    for (std::size_t i = last; i-- > 1;)
      if (Kink(i) || Lone(i - 1) || Lone(i)) {
        parts.push_back({i, last, Leaving(i, last), to});
        to = Arriving(i, 0);
        last = i;
      }
    parts.push_back({0, last, start_, to});
    while (!parts.empty()) {
      const Part part = parts.back();
      parts.pop_back();
      SmoothPiece piece{part.first, part.last, {}};
      std::size_t split = 0;
      if (Straight(part.first, part.last) || Curve(part.first, part.last, part.from, part.to, piece, split)) {
        pieces.push_back(std::move(piece));
        continue;
      }
      // No curve follows the lines: two, tangent to each other where they
      // are parted. A line at an end as long as all the others (a straight
      // root line after a flank) is parted off; otherwise they part where
      // the curve strayed farthest, not leaving a short line at either end
      // on its own.
      double length = 0;
      for (std::size_t k = part.first; k < part.last; ++k) length += Norm(p_[k + 1] - p_[k]);
      const auto line = [&](std::size_t k) { return Norm(p_[k + 1] - p_[k]); };
      if (part.last - part.first >= 3 && line(part.last - 1) >= length / 2) {
        split = part.last - 1;
      } else if (part.last - part.first >= 3 && line(part.first) >= length / 2) {
        split = part.first + 1;
      } else {
        if (split == part.first + 1 && line(part.first) < length / 4 && split + 1 < part.last) ++split;
        if (split + 1 == part.last && line(split) < length / 4 && split - 1 > part.first) --split;
      }
      const Vec through = Unit(side_[split - 1] + side_[split]);
      parts.push_back({split, part.last, through, part.to});
      parts.push_back({part.first, split, part.from, through});
    }
    return pieces;
  }

 private:
  // Whether inner point i is a kink: it turns by KinkTurnDegrees or more,
  // or by two degrees or more and three times as much as the points beside
  // it (a step of the outline where the lines otherwise bend evenly).
  bool Kink(std::size_t i) const {
    const double degree = std::numbers::pi / 180, turn = std::fabs(turn_[i]);
    if (turn >= KinkTurnDegrees * degree) return true;
    if (turn < 2 * degree) return false;
    double beside = 0;
    if (i > 1) beside = std::max(beside, std::fabs(turn_[i - 1]));
    if (i + 2 < p_.size()) beside = std::max(beside, std::fabs(turn_[i + 1]));
    return turn >= 3 * beside;
  }

  // Whether line k stands alone: four times as long as a line beside it
  // (a straight root line after the short lines at a flank's foot), so
  // that the curve beside it does not run on along it.
  bool Lone(std::size_t k) const {
    const auto length = [&](std::size_t j) { return Norm(p_[j + 1] - p_[j]); };
    return (k > 0 && length(k) >= 4 * length(k - 1)) || (k + 2 < p_.size() && length(k) >= 4 * length(k + 1));
  }

  // The direction the lines leave point i in, towards point last: along
  // the line from it, turned back by half the turn at the next point, as a
  // circle through the three points leaves it.
  Vec Leaving(std::size_t i, std::size_t last) const {
    if (i + 1 >= last) return side_[i];
    return Turned(side_[i], -turn_[i + 1] / 2);
  }
  // The direction the lines arrive at point i in, from point first.
  Vec Arriving(std::size_t i, std::size_t first) const {
    if (i <= first + 1) return side_[i - 1];
    return Turned(side_[i - 1], turn_[i - 1] / 2);
  }
  static Vec Turned(Vec v, double angle) {
    const double c = std::cos(angle), s = std::sin(angle);
    return {c * v.x - s * v.y, s * v.x + c * v.y};
  }

  // Whether the lines first .. last go on in one direction (or are one).
  bool Straight(std::size_t first, std::size_t last) const {
    for (std::size_t k = first + 1; k < last; ++k)
      if (!(Dot(side_[k - 1], side_[k]) > 0 && std::fabs(Cross(side_[k - 1], side_[k])) <= 1e-9)) return false;
    return true;
  }

  // The curve along the lines first .. last from direction `from` to
  // direction `to`, as `piece`; false, with the inner point where it
  // strays farthest (for its allowance) as `split`, when none follows them
  // closely.
  bool Curve(std::size_t first, std::size_t last, Vec from, Vec to, SmoothPiece& piece, std::size_t& split) const {
    const Vec a = p_[first], b = p_[last];
    // The points' parameters by their distance along the lines.
    std::vector<double> u{0};
    for (std::size_t k = first; k < last; ++k) u.push_back(u.back() + Norm(p_[k + 1] - p_[k]));
    const double length = u.back();
    for (double& v : u) v /= length;
    Cubic c;
    for (int round = 0; round < 3; ++round) {
      c = Fitted(first, last, from, to, u);
      for (std::size_t i = first + 1; i < last; ++i) u[i - first] = c.Nearest(p_[i], u[i - first]);
    }
    // The area between the curve and the lines made zero, the tangent
    // lengths scaled alike.
    double lines = 0;
    for (std::size_t k = first; k < last; ++k) lines += Cross(p_[k], p_[k + 1]) / 2;
    const auto scaled = [&](double s) {
      Cubic t = c;
      t.p[1] = a + s * (c.p[1] - a);
      t.p[2] = b + s * (c.p[2] - b);
      return t;
    };
    const double f0 = scaled(0).Sweep() - lines, fHalf = scaled(0.5).Sweep() - lines, f1 = scaled(1).Sweep() - lines;
    const double qa = 2 * (f1 - 2 * fHalf + f0), qb = f1 - f0 - qa, qc = f0;
    double s = 1;
    bool balanced = false;
    if (std::fabs(qa) <= 1e-12 * (std::fabs(f0) + std::fabs(f1))) {
      if (qb != 0) s = -qc / qb, balanced = true;
    } else if (const double discriminant = qb * qb - 4 * qa * qc; discriminant >= 0) {
      const double root = std::sqrt(discriminant);
      const double s1 = (-qb + root) / (2 * qa), s2 = (-qb - root) / (2 * qa);
      s = std::fabs(s1 - 1) < std::fabs(s2 - 1) ? s1 : s2;
      balanced = true;
    }
    split = (first + last) / 2;
    if (!balanced || !(s > 0.2 && s < 5)) return false;
    c = scaled(s);
    // Every point and every line's middle within its allowance.
    double worst = 1;
    for (std::size_t i = first + 1; i < last; ++i) {
      const double t = c.Nearest(p_[i], u[i - first]);
      const double e = Norm(c.At(t) - p_[i]) / allowance_[i];
      if (e > worst) worst = e, split = i;
    }
    for (std::size_t k = first; k < last; ++k) {
      const Vec middle = 0.5 * (p_[k] + p_[k + 1]);
      const double t = c.Nearest(middle, 0.5 * (u[k - first] + u[k + 1 - first]));
      const double e = Norm(c.At(t) - middle) / sideAllowance_[k];
      // (A line's middle strays: parted at its nearer inner end.)
      if (e > worst) worst = e, split = k == first ? k + 1 : k;
    }
    if (worst > 1) return false;
    // (Its ends exactly the points'.)
    piece.poles = {points_[2 * first], points_[2 * first + 1], c.p[1].x + base_.x, c.p[1].y + base_.y,
                   c.p[2].x + base_.x, c.p[2].y + base_.y, points_[2 * last], points_[2 * last + 1]};
    return true;
  }

  // The least-squares curve through the points at parameters u, its ends
  // the stretch's, its tangents along from and to.
  Cubic Fitted(std::size_t first, std::size_t last, Vec from, Vec to, const std::vector<double>& u) const {
    const Vec a = p_[first], b = p_[last];
    double c11 = 0, c12 = 0, c22 = 0, x1 = 0, x2 = 0;
    for (std::size_t i = first; i <= last; ++i) {
      const double t = u[i - first];
      const Vec a1 = Bernstein(1, t) * from, a2 = (-Bernstein(2, t)) * to;
      const Vec rest = p_[i] - ((Bernstein(0, t) + Bernstein(1, t)) * a + (Bernstein(2, t) + Bernstein(3, t)) * b);
      c11 += Dot(a1, a1), c12 += Dot(a1, a2), c22 += Dot(a2, a2);
      x1 += Dot(a1, rest), x2 += Dot(a2, rest);
    }
    const double chord = Norm(b - a);
    double alpha = chord / 3, beta = chord / 3;
    const double det = c11 * c22 - c12 * c12;
    if (std::fabs(det) > 1e-12 * c11 * c22) {
      const double fa = (x1 * c22 - x2 * c12) / det, fb = (c11 * x2 - c12 * x1) / det;
      if (fa > 1e-3 * chord && fb > 1e-3 * chord && fa < chord && fb < chord) alpha = fa, beta = fb;
    }
    Cubic c;
    c.p[0] = a, c.p[1] = a + alpha * from, c.p[2] = b - beta * to, c.p[3] = b;
    return c;
  }

  const std::vector<double>& points_;
  std::vector<Vec> p_, side_;
  std::vector<double> turn_, allowance_, sideAllowance_;
  Vec start_, end_, base_;
};

}  // namespace

std::vector<SmoothPiece> SmoothPieces(const std::vector<double>& points, std::array<double, 2> start,
                                      std::array<double, 2> end, const SmoothLimits& limits) {
  if (points.size() < 4) return {};
  if (points.size() == 4) return {{0, 1, {}}};
  StretchFitter fitter(points, {start[0], start[1]}, {end[0], end[1]}, limits);
  return fitter.Fit();
}

}  // namespace drawing::step
