// Where the caps of a STEP solid are cut; see step_cap_sectors.h.
#include "drawing/cad/step_cap_sectors.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace drawing::step {

namespace {

constexpr double Pi = std::numbers::pi;

// A cut leaves its outline point at least this far (radians) from the
// sides that meet there: no sliver of a face beside it.
constexpr double CutMargin = 5 * Pi / 180;

double Cross(double ax, double ay, double bx, double by) { return ax * by - ay * bx; }

// The angle from a to b counter-clockwise, in [0, 2 pi).
double TurnCcw(double a, double b) {
  double d = std::fmod(b - a, 2 * Pi);
  if (d < 0) d += 2 * Pi;
  return d;
}

// Whether the segments ab and cd have a point in common (touching counts).
bool SegmentsMeet(double ax, double ay, double bx, double by, double cx, double cy, double dx, double dy) {
  const double d1 = Cross(bx - ax, by - ay, cx - ax, cy - ay);
  const double d2 = Cross(bx - ax, by - ay, dx - ax, dy - ay);
  const double d3 = Cross(dx - cx, dy - cy, ax - cx, ay - cy);
  const double d4 = Cross(dx - cx, dy - cy, bx - cx, by - cy);
  if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) return true;
  const auto onSegment = [](double px, double py, double qx, double qy, double x, double y) {
    return std::min(px, qx) <= x && x <= std::max(px, qx) && std::min(py, qy) <= y && y <= std::max(py, qy);
  };
  return (d1 == 0 && onSegment(ax, ay, bx, by, cx, cy)) || (d2 == 0 && onSegment(ax, ay, bx, by, dx, dy)) ||
         (d3 == 0 && onSegment(cx, cy, dx, dy, ax, ay)) || (d4 == 0 && onSegment(cx, cy, dx, dy, bx, by));
}

struct Cut {
  std::size_t vertex = 0;
  double angle = 0;           // of the outline point about the centre
  double x0 = 0, y0 = 0;      // the cut, a little shorter at both ends
  double x1 = 0, y1 = 0;
  bool clear = true;
};

}  // namespace

Point Centroid(const Path& loop) {
  const Path flat = Flattened(loop);
  double area = 0, x = 0, y = 0;
  for (std::size_t i = 0, j = flat.size() - 1; i < flat.size(); j = i++) {
    const double c = Cross(flat[j].x, flat[j].y, flat[i].x, flat[i].y);
    area += c;
    x += (flat[j].x + flat[i].x) * c;
    y += (flat[j].y + flat[i].y) * c;
  }
  if (area == 0) return flat.front();
  return {x / (3 * area), y / (3 * area)};
}

bool InsideMaterial(const Path& outline, const std::vector<Path>& obstacles, const Point& p) {
  constexpr double Clearance = 1e-3;
  const auto inside = [&](const Path& loop) {
    // Crossings of a ray from the point to the right (odd: inside), and
    // whether a side passes too near.
    const Path flat = Flattened(loop);
    bool odd = false;
    for (std::size_t i = 0, j = flat.size() - 1; i < flat.size(); j = i++) {
      const Point& a = flat[j];
      const Point& b = flat[i];
      const double dx = b.x - a.x, dy = b.y - a.y, length2 = dx * dx + dy * dy;
      const double t = length2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0) : 0;
      if (std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy) < Clearance) return -1;
      if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * dx / dy) odd = !odd;
    }
    return odd ? 1 : 0;
  };
  if (inside(outline) != 1) return false;
  return std::all_of(obstacles.begin(), obstacles.end(), [&](const Path& hole) { return inside(hole) == 0; });
}

std::vector<std::size_t> CapCuts(const Path& outline, const std::vector<Path>& obstacles, double cx, double cy,
                                 double r) {
  const std::size_t n = outline.size();
  const std::size_t sectors = n / SectorPieces;
  if (sectors < 3) return {};
  std::vector<Cut> cuts;
  // One cut per stretch of the outline, from the point nearest the centre
  // that lies between two lines and lets the cut into the material well
  // away from both.
  std::vector<std::size_t> order;
  for (std::size_t s = 0; s < sectors; ++s) {
    order.clear();
    for (std::size_t k = s * n / sectors; k < (s + 1) * n / sectors; ++k) order.push_back(k);
    const auto distance = [&](std::size_t k) { return std::hypot(outline[k].x - cx, outline[k].y - cy); };
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return distance(a) < distance(b); });
    for (std::size_t tried = 0; tried < order.size() && tried < 4; ++tried) {
      const std::size_t k = order[tried];
      const Point& p = outline[k];
      const Point& before = outline[(k + n - 1) % n];
      const Point& after = outline[(k + 1) % n];
      if (p.sweep != 0 || after.sweep != 0) continue;
      const double length = distance(k);
      if (!(length > r * (1 + 1e-9)) || !std::isfinite(length)) continue;
      // The material lies left of the outline: at p it spans the angle from
      // the side to the next point round to the side from the point before.
      const double toNext = std::atan2(after.y - p.y, after.x - p.x);
      const double toBefore = std::atan2(before.y - p.y, before.x - p.x);
      const double inward = std::atan2(cy - p.y, cx - p.x);
      const double opening = TurnCcw(toNext, toBefore);
      const double at = TurnCcw(toNext, inward);
      if (!(at > CutMargin && at < opening - CutMargin)) continue;
      Cut cut;
      cut.vertex = k;
      cut.angle = std::atan2(p.y - cy, p.x - cx);
      const double ux = (p.x - cx) / length, uy = (p.y - cy) / length;
      const double shorter = 1e-6 * length;
      cut.x0 = cx + (r + shorter) * ux, cut.y0 = cy + (r + shorter) * uy;
      cut.x1 = p.x - shorter * ux, cut.y1 = p.y - shorter * uy;
      cuts.push_back(cut);
      break;
    }
  }
  if (cuts.size() < 2) return {};
  // Every side is compared with the cuts whose direction from the centre
  // lies within the side's span of directions (cuts sorted by direction).
  std::vector<std::size_t> byAngle(cuts.size());
  for (std::size_t i = 0; i < cuts.size(); ++i) byAngle[i] = i;
  std::sort(byAngle.begin(), byAngle.end(), [&](std::size_t a, std::size_t b) { return cuts[a].angle < cuts[b].angle; });
  std::vector<double> angles;
  for (const std::size_t i : byAngle) angles.push_back(cuts[i].angle);
  const auto check = [&](const Cut& cut, const Point& a, const Point& b, bool& hit) {
    if (SegmentsMeet(cut.x0, cut.y0, cut.x1, cut.y1, a.x, a.y, b.x, b.y)) hit = true;
  };
  const auto checkRange = [&](double from, double to, const Point& a, const Point& b) {
    // Cuts with from <= angle <= to (from <= to, both within [-pi, pi]).
    auto it = std::lower_bound(angles.begin(), angles.end(), from);
    for (; it != angles.end() && *it <= to; ++it) {
      Cut& cut = cuts[byAngle[static_cast<std::size_t>(it - angles.begin())]];
      bool hit = false;
      check(cut, a, b, hit);
      if (hit) cut.clear = false;
    }
  };
  const auto side = [&](const Point& a, const Point& b) {
    const double ta = std::atan2(a.y - cy, a.x - cx), tb = std::atan2(b.y - cy, b.x - cx);
    const double turn = Cross(a.x - cx, a.y - cy, b.x - cx, b.y - cy);
    const double span = turn >= 0 ? TurnCcw(ta, tb) : TurnCcw(tb, ta);
    // A side that passes the centre, or nearly, spans any direction.
    const double margin = 1e-9;
    if (span > Pi / 2) {
      checkRange(-Pi - 1, Pi + 1, a, b);
      return;
    }
    const double from = (turn >= 0 ? ta : tb) - margin;
    const double to = from + span + 2 * margin;
    checkRange(from, std::min(to, Pi + 1), a, b);
    if (to > Pi) checkRange(-Pi - 1, to - 2 * Pi, a, b);
    if (from < -Pi) checkRange(from + 2 * Pi, Pi + 1, a, b);
  };
  const auto sides = [&](const Path& loop) {
    const Path flat = Flattened(loop);
    for (std::size_t i = 0, j = flat.size() - 1; i < flat.size(); j = i++) side(flat[j], flat[i]);
  };
  sides(outline);
  for (const Path& obstacle : obstacles) sides(obstacle);
  // The cuts left, in the order of the outline, turning on round the centre
  // (counter-clockwise, once round).
  std::vector<std::size_t> kept;
  double first = 0, last = 0;
  for (const Cut& cut : cuts) {
    if (!cut.clear) continue;
    if (kept.empty()) {
      first = cut.angle;
      kept.push_back(cut.vertex);
      continue;
    }
    const double turned = TurnCcw(first, cut.angle);
    if (turned <= last + 1e-9) continue;
    last = turned;
    kept.push_back(cut.vertex);
  }
  if (kept.size() < 2) return {};
  return kept;
}

}  // namespace drawing::step
