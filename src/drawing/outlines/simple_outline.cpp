// Closed outlines cut at their crossings; see simple_outline.h.
#include "drawing/outlines/simple_outline.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <numbers>
#include <queue>
#include <type_traits>
#include <utility>

namespace drawing {

namespace {

struct Crossing {
  std::size_t i = 0, j = 0;  // the segments, i < j
  Real x = 0, y = 0;
};

// One loop to take out: count vertices from first on (round the polygon),
// replaced by the crossing point, which starts the rest of the segment that
// leaves the loop (and so takes its pen).
struct Removal {
  std::size_t first = 0, count = 0;
  Real x = 0, y = 0;
  int pen = 0;
};

Real Cross(Real ax, Real ay, Real bx, Real by) { return ax * by - ay * bx; }

// Puts the items in order of their bucket (0 .. buckets - 1) by counting,
// not comparing (a tangled outline has crossings by the hundred thousand);
// within a bucket in the order less gives, or as they came without one.
template <class T, class Bucket, class Less = std::nullptr_t>
void OrderByBucket(std::vector<T>& items, std::size_t buckets, Bucket bucketOf, Less less = nullptr) {
  std::vector<std::size_t> start(buckets + 1, 0);
  for (const T& item : items) ++start[bucketOf(item) + 1];
  for (std::size_t b = 0; b < buckets; ++b) start[b + 1] += start[b];
  std::vector<T> ordered(items.size());
  std::vector<std::size_t> fill(start.begin(), start.end() - 1);
  for (const T& item : items) ordered[fill[bucketOf(item)]++] = item;
  if constexpr (!std::is_same_v<Less, std::nullptr_t>)
    for (std::size_t b = 0; b < buckets; ++b)
      if (start[b + 1] - start[b] > 1) std::sort(ordered.begin() + start[b], ordered.begin() + start[b + 1], less);
  items = std::move(ordered);
}

void DropRepeatedPoints(TPenPolygon& p) {
  TPenPolygon out;
  for (std::size_t k = 0; k < p.Size(); ++k) {
    if (out.Size() > 0 && p.X[k] == out.X.back() && p.Y[k] == out.Y.back()) {
      out.Pen.back() = p.Pen[k];  // the segment of length 0 goes, the next one stays
      continue;
    }
    out.Add(p.X[k], p.Y[k], p.Pen[k]);
  }
  while (out.Size() > 1 && out.X.back() == out.X.front() && out.Y.back() == out.Y.front()) {
    out.X.pop_back();
    out.Y.pop_back();
    out.Pen.pop_back();
  }
  p = std::move(out);
}

// The cells of the grid (origin x0, y0, square cells of side cell) that the
// segment from (ax, ay) to (bx, by) passes through, as (column << 32 | row),
// column by column: within a column the segment covers the rows between its
// heights where it enters and leaves it. A long segment thus covers about
// its length in cells, not its whole box. Each column is taken a little
// wider, so that rounding cannot lose a cell the segment touches.
template <class Emit>
void SegmentCells(double ax, double ay, double bx, double by, double x0, double y0, double cell, Emit emit) {
  if (ax > bx) {
    std::swap(ax, bx);
    std::swap(ay, by);
  }
  auto column = [&](double x) { return static_cast<std::uint64_t>(std::max(0.0, (x - x0) / cell)); };
  auto row = [&](double y) { return static_cast<std::uint64_t>(std::max(0.0, (y - y0) / cell)); };
  const double margin = cell * 1e-6;
  const std::uint64_t c0 = column(ax), c1 = column(bx);
  const std::uint64_t rlo = row(std::min(ay, by)), rhi = row(std::max(ay, by));
  const double dx = bx - ax, dy = by - ay;
  for (std::uint64_t c = c0; c <= c1; ++c) {
    std::uint64_t r0 = rlo, r1 = rhi;
    if (c0 != c1 && dx > 0) {
      const double xa = std::max(ax, x0 + static_cast<double>(c) * cell - margin);
      const double xb = std::min(bx, x0 + static_cast<double>(c + 1) * cell + margin);
      const double ya = ay + (xa - ax) / dx * dy, yb = ay + (xb - ax) / dx * dy;
      r0 = std::max(rlo, row(std::min(ya, yb) - margin));
      r1 = std::min(rhi, row(std::max(ya, yb) + margin));
    }
    for (std::uint64_t r = r0; r <= r1; ++r) emit(c, r);
  }
}

// The pairs of segments that meet, found through a grid of cells about
// twice as long as a typical segment (the median; no shorter than a quarter
// of the mean, so that one very long segment among short ones covers few
// cells): only segments that share a cell are compared. Segment k runs
// from vertex k to vertex next[k] (several closed polygons may lie in p one
// after the other); neighbours (one ending where the other begins) do not
// count. With overlaps, sides that lie on one line and share a stretch of it
// meet too, neighbours as well (a spike back along the side before it).
std::vector<Crossing> FindCrossings(const TPenPolygon& p, const std::vector<std::uint32_t>& next,
                                    bool overlaps = false) {
  const std::size_t n = p.Size();
  std::vector<Crossing> found;
  // The grid only sorts the segments into cells (each cell taken a little
  // wider): double precision is ample for it.
  std::vector<double> gx(n), gy(n);
  for (std::size_t k = 0; k < n; ++k) gx[k] = static_cast<double>(p.X[k]), gy[k] = static_cast<double>(p.Y[k]);
  double total = 0, xmin = gx[0], ymin = gy[0], xmax = gx[0];
  std::vector<double> lengths(n);
  for (std::size_t k = 0; k < n; ++k) {
    const std::size_t l = next[k];
    lengths[k] = std::hypot(gx[l] - gx[k], gy[l] - gy[k]);
    total += lengths[k];
    xmin = std::min(xmin, gx[k]);
    ymin = std::min(ymin, gy[k]);
    xmax = std::max(xmax, gx[k]);
  }
  std::nth_element(lengths.begin(), lengths.begin() + n / 2, lengths.end());
  const double cell = std::max(2 * lengths[n / 2], total / static_cast<double>(4 * n));
  if (!(cell > 0) || !std::isfinite(cell)) return found;
  // (cell, segment) for every cell a segment passes through, in order of
  // the cells: counted into their columns first (a column holds few
  // segments), each column then sorted by row.
  const double columnsNeeded = (xmax - xmin) / cell + 2;
  const std::size_t columns =
      columnsNeeded < static_cast<double>(8 * n + 1024) ? static_cast<std::size_t>(columnsNeeded) : 0;
  std::vector<std::pair<std::uint64_t, std::uint32_t>> covered;
  covered.reserve(3 * n);
  for (std::size_t k = 0; k < n; ++k) {
    const std::size_t l = next[k];
    SegmentCells(gx[k], gy[k], gx[l], gy[l], xmin, ymin, cell, [&](std::uint64_t c, std::uint64_t r) {
      covered.emplace_back(c << 32 | (r & 0xFFFFFFFF), static_cast<std::uint32_t>(k));
    });
  }
  if (columns > 0)
    OrderByBucket(covered, columns, [&](const auto& e) { return std::min<std::size_t>(e.first >> 32, columns - 1); },
                  std::less<>());
  else
    std::sort(covered.begin(), covered.end());
  // Segments that share a cell are compared there (a pair that shares
  // several cells is found once per cell, and kept once).
  auto compare = [&](std::size_t i, std::size_t j) {
    const std::size_t i1 = next[i], j1 = next[j];
    const Real rx = p.X[i1] - p.X[i], ry = p.Y[i1] - p.Y[i];
    const Real sx = p.X[j1] - p.X[j], sy = p.Y[j1] - p.Y[j];
    const Real d = Cross(rx, ry, sx, sy);
    if (i1 == j || j1 == i) {
      // Neighbours overlap where the second turns straight back.
      if (overlaps && rx * sx + ry * sy < 0 &&
          std::fabs(d) <= 1e-9L * std::hypot(rx, ry) * std::hypot(sx, sy))
        found.push_back({i, j, i1 == j ? p.X[j] : p.X[i], i1 == j ? p.Y[j] : p.Y[i]});
      return;
    }
    const Real qx = p.X[j] - p.X[i], qy = p.Y[j] - p.Y[i];
    if (d == 0) {
      // Parallel: on one line, they meet where their stretches do.
      const Real rr = rx * rx + ry * ry;
      if (!overlaps || Cross(qx, qy, rx, ry) != 0 || rr == 0) return;
      const Real t0 = (qx * rx + qy * ry) / rr, t1 = t0 + (sx * rx + sy * ry) / rr;
      const Real from = std::max<Real>(0, std::min(t0, t1)), to = std::min<Real>(1, std::max(t0, t1));
      if (from <= to) found.push_back({i, j, p.X[i] + from * rx, p.Y[i] + from * ry});
      return;
    }
    const Real t = Cross(qx, qy, sx, sy) / d;
    const Real u = Cross(qx, qy, rx, ry) / d;
    if (t < 0 || t > 1 || u < 0 || u > 1) return;
    found.push_back({i, j, p.X[i] + t * rx, p.Y[i] + t * ry});
  };
  // Within a cell of more than a few segments they are swept from left to
  // right: each is compared with those whose span in x it meets. Many segments side by
  // side in one cell (the teeth of a comb that one long segment crosses)
  // are so compared with their neighbours, not with every other.
  const auto xFrom = [&](std::uint32_t k) { return std::min(p.X[k], p.X[next[k]]); };
  const auto xTo = [&](std::uint32_t k) { return std::max(p.X[k], p.X[next[k]]); };
  std::vector<std::uint32_t> cellSegments;
  using Open = std::pair<Real, std::uint32_t>;  // where a segment ends in x, the segment
  std::priority_queue<Open, std::vector<Open>, std::greater<>> ending;
  std::vector<std::uint32_t> open;
  std::vector<char> isOpen(n, 0);
  for (std::size_t a = 0; a < covered.size();) {
    std::size_t b = a + 1;
    while (b < covered.size() && covered[b].first == covered[a].first) ++b;
    if (b - a <= 16) {
      for (std::size_t u = a; u < b; ++u)
        for (std::size_t v = u + 1; v < b; ++v)
          compare(std::min(covered[u].second, covered[v].second), std::max(covered[u].second, covered[v].second));
      a = b;
      continue;
    }
    cellSegments.clear();
    for (std::size_t u = a; u < b; ++u) cellSegments.push_back(covered[u].second);
    std::sort(cellSegments.begin(), cellSegments.end(),
              [&](std::uint32_t k, std::uint32_t l) { return xFrom(k) < xFrom(l); });
    for (const std::uint32_t k : cellSegments) {
      const Real x = xFrom(k);
      while (!ending.empty() && ending.top().first < x) {
        isOpen[ending.top().second] = 0;
        ending.pop();
      }
      std::erase_if(open, [&](std::uint32_t l) { return !isOpen[l]; });
      for (const std::uint32_t l : open) compare(std::min<std::size_t>(k, l), std::max<std::size_t>(k, l));
      open.push_back(k);
      isOpen[k] = 1;
      ending.emplace(xTo(k), k);
    }
    for (const std::uint32_t l : open) isOpen[l] = 0;
    open.clear();
    ending = {};
    a = b;
  }
  // In order of their segments.
  OrderByBucket(found, n, [](const Crossing& c) { return c.i; },
                [](const Crossing& a, const Crossing& b) { return a.j < b.j; });
  found.erase(std::unique(found.begin(), found.end(),
                          [](const Crossing& a, const Crossing& b) { return a.i == b.i && a.j == b.j; }),
              found.end());
  return found;
}

// The segments of the loops taken out in one pass, as runs of indexes
// (first -> last, disjoint): whether a run round the polygon is free is
// found in a step, however long the loops (many crossings on one segment
// give as many long candidate loops).
class UsedSegments {
 public:
  explicit UsedSegments(std::size_t n) : n_(n) {}

  // Takes the count segments from first on (round the polygon) when none
  // of them is taken yet.
  bool Take(std::size_t first, std::size_t count) {
    const std::size_t last = first + count - 1;
    if (last < n_) {
      if (Overlaps(first, last)) return false;
      runs_.emplace(first, last);
    } else {
      if (Overlaps(first, n_ - 1) || Overlaps(0, last - n_)) return false;
      runs_.emplace(first, n_ - 1);
      runs_.emplace(0, last - n_);
    }
    return true;
  }

 private:
  // The run that starts last at or before b is the only one that can reach
  // into [a, b]: the runs before it end before it starts.
  bool Overlaps(std::size_t a, std::size_t b) const {
    auto it = runs_.upper_bound(b);
    if (it == runs_.begin()) return false;
    --it;
    return it->second >= a;
  }

  std::size_t n_;
  std::map<std::size_t, std::size_t> runs_;
};

}  // namespace

int TrimCrossings(TPenPolygon& p) {
  int removed = 0;
  // Each pass takes out loops that do not share a segment, the smallest
  // first, so that loops inside loops go before the loops round them.
  for (int pass = 0; pass < 100; ++pass) {
    DropRepeatedPoints(p);
    const std::size_t n = p.Size();
    if (n < 4) break;
    std::vector<std::uint32_t> next(n);
    for (std::size_t k = 0; k < n; ++k) next[k] = static_cast<std::uint32_t>((k + 1) % n);
    const std::vector<Crossing> crossings = FindCrossings(p, next);
    if (crossings.empty()) break;
    // Twice the signed area up to each vertex (prefix sums of the
    // shoelace terms), for the area of any loop in one step.
    std::vector<Real> area(n + 1, 0);
    for (std::size_t k = 0; k < n; ++k) {
      const std::size_t l = (k + 1) % n;
      area[k + 1] = area[k] + Cross(p.X[k], p.Y[k], p.X[l], p.Y[l]);
    }
    std::vector<Removal> candidates;
    for (const Crossing& c : crossings) {
      // The loop from the crossing through vertices i + 1 .. j and back.
      const Real inner = area[c.j] - area[c.i + 1] + Cross(p.X[c.j], p.Y[c.j], c.x, c.y) +
                         Cross(c.x, c.y, p.X[c.i + 1], p.Y[c.i + 1]);
      const Real outer = area[n] - inner;
      if (std::fabs(inner) <= std::fabs(outer))
        candidates.push_back({c.i + 1, c.j - c.i, c.x, c.y, p.Pen[c.j]});
      else
        candidates.push_back({(c.j + 1) % n, n - (c.j - c.i), c.x, c.y, p.Pen[c.i]});
    }
    // The smallest first, in the order found among loops of one size.
    OrderByBucket(candidates, n, [n](const Removal& r) { return std::min(r.count, n - 1); });
    // A loop's segments: the one entering it, its own and the one leaving.
    UsedSegments used(n);
    std::vector<char> gone(n, 0);
    std::vector<const Removal*> startsAt(n, nullptr);
    for (const Removal& r : candidates) {
      const std::size_t from = (r.first + n - 1) % n;
      if (!used.Take(from, r.count + 1)) continue;
      for (std::size_t k = 0; k < r.count; ++k) gone[(r.first + k) % n] = 1;
      startsAt[r.first] = &r;
      ++removed;
    }
    TPenPolygon out;
    for (std::size_t k = 0; k < n; ++k) {
      if (startsAt[k]) out.Add(startsAt[k]->x, startsAt[k]->y, startsAt[k]->pen);
      if (!gone[k]) out.Add(p.X[k], p.Y[k], p.Pen[k]);
    }
    p = std::move(out);
  }
  return removed;
}

Real TinySideFor(Real module) { return std::min(TinySide, 0.001L * std::fabs(module)); }
Real NeedleWidthFor(Real module) { return std::min(NeedleWidth, 0.006L * std::fabs(module)); }

int DropNeedlesAndTinySides(TPenPolygon& p, Real module) {
  const std::size_t n = p.Size();
  if (n <= 3) return 0;
  // (Squared lengths throughout: a vertex of a long outline costs a few
  // products, no root.)
  const Real tiny = TinySideFor(module), width = NeedleWidthFor(module);
  const Real tiny2 = tiny * tiny, needle2 = width * width;
  const Real cosine = std::cos(NeedleAngle * std::numbers::pi_v<Real> / 180), needleCos2 = cosine * cosine;
  std::vector<std::uint32_t> prev(n), next(n);
  for (std::size_t k = 0; k < n; ++k) {
    prev[k] = static_cast<std::uint32_t>((k + n - 1) % n);
    next[k] = static_cast<std::uint32_t>((k + 1) % n);
  }
  const auto length2 = [&](std::size_t a, std::size_t b) {
    const Real dx = p.X[b] - p.X[a], dy = p.Y[b] - p.Y[a];
    return dx * dx + dy * dy;
  };
  // Twice the area the polygon loses or gains when k leaves it (negative:
  // k need not leave).
  const auto change = [&](std::size_t k) -> Real {
    const std::size_t a = prev[k], b = next[k];
    const Real ux = p.X[k] - p.X[a], uy = p.Y[k] - p.Y[a], vx = p.X[b] - p.X[k], vy = p.Y[b] - p.Y[k];
    const Real lu2 = ux * ux + uy * uy, lv2 = vx * vx + vy * vy;
    const Real twice = std::fabs(Cross(ux, uy, vx, vy)), dot = ux * vx + uy * vy;
    const bool tiny = lu2 < tiny2 || lv2 < tiny2;
    // A needle: its sides meet at less than NeedleAngle (by the squared
    // cosine), and its width where its shorter side ends (twice its area
    // over its longer side) is below the needle's width.
    const bool needle =
        dot < 0 && dot * dot > needleCos2 * lu2 * lv2 && twice * twice < needle2 * std::max(lu2, lv2);
    return tiny || needle ? twice : -1;
  };
  // The vertices that may leave, the least change first; an entry whose
  // vertex has changed since is stale.
  using Entry = std::pair<Real, std::size_t>;
  std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
  std::vector<Real> queued(n, -1);
  const auto look = [&](std::size_t k) {
    queued[k] = change(k);
    if (queued[k] >= 0) queue.emplace(queued[k], k);
  };
  for (std::size_t k = 0; k < n; ++k) look(k);
  if (queue.empty()) return 0;
  std::vector<char> alive(n, 1);
  std::size_t count = n;
  int dropped = 0;
  while (!queue.empty() && count > 3) {
    const auto [area, k] = queue.top();
    queue.pop();
    if (!alive[k] || queued[k] != area) continue;
    const std::size_t a = prev[k], b = next[k];
    // The side that replaces the two keeps the longer one's pen.
    if (length2(a, k) < length2(k, b)) p.Pen[a] = p.Pen[k];
    alive[k] = 0;
    next[a] = static_cast<std::uint32_t>(b);
    prev[b] = static_cast<std::uint32_t>(a);
    --count;
    ++dropped;
    look(a);
    look(b);
  }
  TPenPolygon out;
  out.X.reserve(count);
  out.Y.reserve(count);
  out.Pen.reserve(count);
  for (std::size_t k = 0; k < n; ++k)
    if (alive[k]) out.Add(p.X[k], p.Y[k], p.Pen[k]);
  p = std::move(out);
  return dropped;
}

bool PolygonsCross(const std::vector<TPenPolygon>& polygons) {
  TPenPolygon all;
  std::vector<std::uint32_t> next;
  for (TPenPolygon polygon : polygons) {
    // A point repeated is one corner, not two sides that touch.
    DropRepeatedPoints(polygon);
    const std::size_t first = all.Size(), n = polygon.Size();
    if (n < 2) continue;
    for (std::size_t k = 0; k < n; ++k) {
      all.Add(polygon.X[k], polygon.Y[k], 0);
      next.push_back(static_cast<std::uint32_t>(first + (k + 1) % n));
    }
  }
  return all.Size() > 0 && !FindCrossings(all, next, true).empty();
}

}  // namespace drawing
