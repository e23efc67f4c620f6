// The STL writer and its back end; see stl_writer.h.
#include "drawing/stl_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <set>
#include <system_error>
#include <unordered_map>
#include <utility>

#include "common/cad_settings.h"
#include "common/file_checks.h"
#include "common/kaldvar.h"
#include "common/small_dialogs.h"
#include "common/text_file.h"
#include "drawing/cad_back_ends.h"
#include "drawing/cad_output.h"

namespace drawing {

using common::CadSettings;

TStlState StlState;

namespace {

// Ends closer than this (mm) are one point: far below what a drawing shows,
// far above the rounding of the chords that meet there.
constexpr Real MergeDistance = 1e-4L;

struct Point {
  Real x = 0, y = 0;
};

Real Cross(const Point& a, const Point& b, const Point& c) {
  return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

// ---- The drawn segments with their ends merged -----------------------------------

class SegmentSet {
 public:
  void Clear() {
    points_.clear();
    grid_.clear();
    segments_.clear();
    keys_.clear();
  }

  void Add(Real x1, Real y1, Real x2, Real y2) {
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return;
    const int a = VertexAt(x1, y1), b = VertexAt(x2, y2);
    if (a == b) return;
    // A segment drawn twice (a line over a polyline edge) is one wall.
    if (!keys_.insert({std::min(a, b), std::max(a, b)}).second) return;
    segments_.push_back({a, b});
  }

  const std::vector<Point>& Points() const { return points_; }
  const std::vector<std::pair<int, int>>& Segments() const { return segments_; }

 private:
  static long long Cell(Real v) { return std::llround(std::floor(v / MergeDistance)); }
  static long long Key(long long cx, long long cy) { return cx * 73856093LL ^ cy * 19349663LL; }

  int VertexAt(Real x, Real y) {
    const long long cx = Cell(x), cy = Cell(y);
    for (long long dx = -1; dx <= 1; ++dx)
      for (long long dy = -1; dy <= 1; ++dy) {
        const auto it = grid_.find(Key(cx + dx, cy + dy));
        if (it == grid_.end()) continue;
        for (const int i : it->second)
          if (std::hypot(points_[i].x - x, points_[i].y - y) <= MergeDistance) return i;
      }
    points_.push_back({x, y});
    grid_[Key(cx, cy)].push_back(static_cast<int>(points_.size() - 1));
    return static_cast<int>(points_.size() - 1);
  }

  std::vector<Point> points_;
  std::unordered_map<long long, std::vector<int>> grid_;
  std::vector<std::pair<int, int>> segments_;
  std::set<std::pair<int, int>> keys_;
};

SegmentSet& Drawn() {
  static SegmentSet set;
  return set;
}

// ---- Contours ------------------------------------------------------------------------

struct Contour {
  std::vector<int> vertices;  // counter-clockwise
  Real area = 0;              // enclosed area (positive)
  Real xmin = 0, xmax = 0, ymin = 0, ymax = 0;
  int depth = 0;              // contours around it
  int parent = -1;            // the nearest contour around it
};

Real SignedArea(const std::vector<Point>& p, const std::vector<int>& loop) {
  Real sum = 0;
  for (std::size_t i = 0; i < loop.size(); ++i) {
    const Point& a = p[loop[i]];
    const Point& b = p[loop[(i + 1) % loop.size()]];
    sum += a.x * b.y - b.x * a.y;
  }
  return sum / 2;
}

bool Inside(const std::vector<Point>& p, const std::vector<int>& loop, const Point& q) {
  bool inside = false;
  for (std::size_t i = 0, j = loop.size() - 1; i < loop.size(); j = i++) {
    const Point& a = p[loop[i]];
    const Point& b = p[loop[j]];
    if ((a.y > q.y) != (b.y > q.y) && q.x < (b.x - a.x) * (q.y - a.y) / (b.y - a.y) + a.x) inside = !inside;
  }
  return inside;
}

// Splits the segments into closed contours (every point on them joins
// exactly two segments) and the rest, which keep their bare walls.
void TraceContours(const SegmentSet& set, std::vector<Contour>& contours, std::vector<std::pair<int, int>>& open) {
  const auto& segments = set.Segments();
  const auto& points = set.Points();
  std::vector<std::vector<int>> at(points.size());
  for (std::size_t s = 0; s < segments.size(); ++s) {
    at[segments[s].first].push_back(static_cast<int>(s));
    at[segments[s].second].push_back(static_cast<int>(s));
  }
  std::vector<bool> used(segments.size(), false);
  for (std::size_t s = 0; s < segments.size(); ++s) {
    if (used[s]) continue;
    const int start = segments[s].first;
    std::vector<int> loop{start};
    std::vector<int> walked{static_cast<int>(s)};
    used[s] = true;
    int current = segments[s].second;
    int last = static_cast<int>(s);
    bool closed = at[start].size() == 2;
    while (closed && current != start) {
      if (at[current].size() != 2) {
        closed = false;
        break;
      }
      loop.push_back(current);
      const int next = at[current][0] == last ? at[current][1] : at[current][0];
      used[next] = true;
      walked.push_back(next);
      current = segments[next].first == current ? segments[next].second : segments[next].first;
      last = next;
    }
    Contour contour;
    if (closed && loop.size() >= 3) {
      const Real area = SignedArea(points, loop);
      if (std::fabs(area) > MergeDistance * MergeDistance) {
        if (area < 0) std::reverse(loop.begin(), loop.end());
        contour.vertices = std::move(loop);
        contour.area = std::fabs(area);
        contour.xmin = contour.xmax = points[contour.vertices[0]].x;
        contour.ymin = contour.ymax = points[contour.vertices[0]].y;
        for (const int v : contour.vertices) {
          contour.xmin = std::min(contour.xmin, points[v].x);
          contour.xmax = std::max(contour.xmax, points[v].x);
          contour.ymin = std::min(contour.ymin, points[v].y);
          contour.ymax = std::max(contour.ymax, points[v].y);
        }
        contours.push_back(std::move(contour));
        continue;
      }
    }
    // A chain that reaches a branch or an open end is no contour; none of
    // its segments can belong to one.
    for (const int w : walked) open.push_back(segments[w]);
  }
  // Nesting: the depth is the number of contours around a contour.
  for (std::size_t i = 0; i < contours.size(); ++i) {
    Contour& inner = contours[i];
    const Point probe = points[inner.vertices[0]];
    for (std::size_t j = 0; j < contours.size(); ++j) {
      const Contour& outer = contours[j];
      if (i == j || outer.area <= inner.area) continue;
      if (outer.xmin > inner.xmin || outer.xmax < inner.xmax || outer.ymin > inner.ymin || outer.ymax < inner.ymax)
        continue;
      if (!Inside(points, outer.vertices, probe)) continue;
      ++inner.depth;
      if (inner.parent < 0 || contours[inner.parent].area > outer.area) inner.parent = static_cast<int>(j);
    }
  }
}

// ---- Faces: ear clipping of a contour with its holes --------------------------------

struct Node {
  int v = 0;
  int prev = 0, next = 0;
};

bool SegmentsCross(const Point& a, const Point& b, const Point& c, const Point& d) {
  const Real d1 = Cross(a, b, c), d2 = Cross(a, b, d), d3 = Cross(c, d, a), d4 = Cross(c, d, b);
  return ((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0));
}

bool OnSegment(const Point& a, const Point& b, const Point& q) {
  if (std::fabs(Cross(a, b, q)) > MergeDistance * std::hypot(b.x - a.x, b.y - a.y)) return false;
  const Real t = ((q.x - a.x) * (b.x - a.x) + (q.y - a.y) * (b.y - a.y));
  const Real l2 = (b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y);
  return t > 0 && t < l2;
}

class FaceBuilder {
 public:
  FaceBuilder(const std::vector<Point>& points, std::vector<std::array<int, 3>>& triangles)
      : p_(points), triangles_(triangles) {}

  // outer counter-clockwise, holes clockwise.
  void Triangulate(const std::vector<int>& outer, std::vector<std::vector<int>> holes) {
    nodes_.clear();
    const int start = AddRing(outer);
    std::sort(holes.begin(), holes.end(), [this](const std::vector<int>& a, const std::vector<int>& b) {
      return p_[Rightmost(a)].x > p_[Rightmost(b)].x;
    });
    for (std::size_t h = 0; h < holes.size(); ++h) Bridge(start, holes, h);
    ClipEars(start);
  }

 private:
  int AddRing(const std::vector<int>& ring) {
    const int first = static_cast<int>(nodes_.size());
    const int n = static_cast<int>(ring.size());
    for (int i = 0; i < n; ++i) nodes_.push_back({ring[i], first + (i + n - 1) % n, first + (i + 1) % n});
    return first;
  }

  int Rightmost(const std::vector<int>& ring) const {
    int best = ring[0];
    for (const int v : ring)
      if (p_[v].x > p_[best].x || (p_[v].x == p_[best].x && p_[v].y > p_[best].y)) best = v;
    return best;
  }

  // Joins hole h to the polygon by a cut from its rightmost point to the
  // nearest polygon point it sees; the cut is walked there and back.
  void Bridge(int start, const std::vector<std::vector<int>>& holes, std::size_t h) {
    const std::vector<int>& hole = holes[h];
    const int m = Rightmost(hole);
    const Point& pm = p_[m];
    std::vector<int> ring;  // the polygon's nodes now
    int node = start;
    do {
      ring.push_back(node);
      node = nodes_[node].next;
    } while (node != start);
    std::vector<std::pair<Real, int>> candidates;
    for (const int c : ring) candidates.push_back({std::hypot(p_[nodes_[c].v].x - pm.x, p_[nodes_[c].v].y - pm.y), c});
    std::sort(candidates.begin(), candidates.end());
    int target = candidates.front().second;
    for (const auto& [distance, c] : candidates) {
      if (Sees(pm, m, nodes_[c].v, ring, holes, h)) {
        target = c;
        break;
      }
    }
    // The hole's ring from m round to m again, then back to the target.
    const auto mAt = std::find(hole.begin(), hole.end(), m);
    std::vector<int> path(mAt, hole.end());
    path.insert(path.end(), hole.begin(), mAt);
    path.push_back(m);
    path.push_back(nodes_[target].v);
    int previous = target;
    const int after = nodes_[target].next;
    for (const int v : path) {
      nodes_.push_back({v, previous, 0});
      nodes_[previous].next = static_cast<int>(nodes_.size() - 1);
      previous = static_cast<int>(nodes_.size() - 1);
    }
    nodes_[previous].next = after;
    nodes_[after].prev = previous;
  }

  bool Sees(const Point& pm, int m, int v, const std::vector<int>& ring, const std::vector<std::vector<int>>& holes,
            std::size_t h) const {
    if (v == m) return false;
    const Point& pv = p_[v];
    const auto blocked = [&](int a, int b) {
      if (a == v || b == v || a == m || b == m) return false;
      return SegmentsCross(pm, pv, p_[a], p_[b]) || OnSegment(pm, pv, p_[a]);
    };
    for (const int c : ring)
      if (blocked(nodes_[c].v, nodes_[nodes_[c].next].v)) return false;
    for (std::size_t k = h; k < holes.size(); ++k) {
      const std::vector<int>& other = holes[k];
      for (std::size_t i = 0; i < other.size(); ++i)
        if (blocked(other[i], other[(i + 1) % other.size()])) return false;
    }
    return true;
  }

  bool InTriangle(const Point& a, const Point& b, const Point& c, const Point& q) const {
    return Cross(a, b, q) >= 0 && Cross(b, c, q) >= 0 && Cross(c, a, q) >= 0;
  }

  bool Reflex(int node) const {
    const Node& n = nodes_[node];
    return Cross(p_[nodes_[n.prev].v], p_[n.v], p_[nodes_[n.next].v]) <= 0;
  }

  // The points where the outline turns back, in a grid of cells, so that an
  // ear is tested against the few near it: only such a point can lie in an
  // ear, and clipping never makes a new one.
  void IndexReflexPoints(int start) {
    xmin_ = xmax_ = p_[nodes_[start].v].x;
    ymin_ = ymax_ = p_[nodes_[start].v].y;
    int count = 0;
    int node = start;
    do {
      const Point& q = p_[nodes_[node].v];
      xmin_ = std::min(xmin_, q.x);
      xmax_ = std::max(xmax_, q.x);
      ymin_ = std::min(ymin_, q.y);
      ymax_ = std::max(ymax_, q.y);
      ++count;
      node = nodes_[node].next;
    } while (node != start);
    cells_ = std::max(1, static_cast<int>(std::sqrt(static_cast<double>(count)) / 2));
    grid_.assign(static_cast<std::size_t>(cells_) * cells_, {});
    removed_.assign(nodes_.size(), false);
    node = start;
    do {
      if (Reflex(node)) {
        const Point& q = p_[nodes_[node].v];
        grid_[CellIndex(CellOf(q.x, xmin_, xmax_), CellOf(q.y, ymin_, ymax_))].push_back(node);
      }
      node = nodes_[node].next;
    } while (node != start);
  }

  int CellOf(Real v, Real lo, Real hi) const {
    if (!(hi > lo)) return 0;
    return std::clamp(static_cast<int>((v - lo) / (hi - lo) * cells_), 0, cells_ - 1);
  }
  std::size_t CellIndex(int cx, int cy) const { return static_cast<std::size_t>(cy) * cells_ + cx; }

  bool IsEar(int node, bool allowFlat) const {
    const Node& n = nodes_[node];
    const int va = nodes_[n.prev].v, vb = n.v, vc = nodes_[n.next].v;
    const Point& a = p_[va];
    const Point& b = p_[vb];
    const Point& c = p_[vc];
    const Real turn = Cross(a, b, c);
    if (allowFlat ? turn < 0 : turn <= 0) return false;
    const int x0 = CellOf(std::min({a.x, b.x, c.x}), xmin_, xmax_), x1 = CellOf(std::max({a.x, b.x, c.x}), xmin_, xmax_);
    const int y0 = CellOf(std::min({a.y, b.y, c.y}), ymin_, ymax_), y1 = CellOf(std::max({a.y, b.y, c.y}), ymin_, ymax_);
    for (int cy = y0; cy <= y1; ++cy)
      for (int cx = x0; cx <= x1; ++cx)
        for (const int q : grid_[CellIndex(cx, cy)]) {
          if (removed_[q] || q == node || q == n.prev || q == n.next) continue;
          const int v = nodes_[q].v;
          if (v == va || v == vb || v == vc) continue;
          if (!Reflex(q)) continue;
          if (InTriangle(a, b, c, p_[v])) return false;
        }
    return true;
  }

  void ClipEars(int start) {
    IndexReflexPoints(start);
    int count = 1;
    for (int q = nodes_[start].next; q != start; q = nodes_[q].next) ++count;
    int current = start;
    int stalled = 0;
    bool allowFlat = false;
    while (count > 3) {
      const Node n = nodes_[current];
      // Where no proper ear is left (points on one line, outlines that
      // touch), flat ears are taken, and failing those the next corner:
      // the faces stay closed whatever the outline.
      const bool force = stalled > 2 * count;
      if (force || IsEar(current, allowFlat)) {
        triangles_.push_back({nodes_[n.prev].v, n.v, nodes_[n.next].v});
        nodes_[n.prev].next = n.next;
        nodes_[n.next].prev = n.prev;
        removed_[current] = true;
        --count;
        // Back to the corner before: clipping may have made it an ear.
        current = n.prev;
        stalled = 0;
        allowFlat = false;
      } else {
        current = n.next;
        if (++stalled > count) allowFlat = true;
      }
    }
    const Node& n = nodes_[current];
    triangles_.push_back({nodes_[n.prev].v, n.v, nodes_[n.next].v});
  }

  const std::vector<Point>& p_;
  std::vector<std::array<int, 3>>& triangles_;
  std::vector<Node> nodes_;
  std::vector<bool> removed_;
  std::vector<std::vector<int>> grid_;
  int cells_ = 1;
  Real xmin_ = 0, xmax_ = 0, ymin_ = 0, ymax_ = 0;
};

// ---- Output ----------------------------------------------------------------------------

common::TextFile& AsciiFile() {
  static common::TextFile file;
  return file;
}

void AsciiLine(const std::string& line) {
  if (!AsciiFile().Write(line + "\r\n")) common::AbortFlag = 1;
}

std::pair<Real, Real> Heights() {
  const Real z1 = CadSettings.StlHeights[1], z2 = CadSettings.StlHeights[2];
  return {std::min(z1, z2), std::max(z1, z2)};
}

void AppendLittleEndian(std::string& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void AppendFloat(std::string& out, float value) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  AppendLittleEndian(out, bits);
}

// Every wall and face of the collected segments.
void MakeFacets() {
  const SegmentSet& set = Drawn();
  const std::vector<Point>& points = set.Points();
  std::vector<Contour> contours;
  std::vector<std::pair<int, int>> open;
  TraceContours(set, contours, open);
  const auto [lo, hi] = Heights();
  const auto wallsAlong = [&](const std::vector<int>& loop, bool reversed) {
    const std::size_t n = loop.size();
    for (std::size_t i = 0; i < n; ++i) {
      const int a = reversed ? loop[(n - i) % n] : loop[i];
      const int b = reversed ? loop[n - 1 - i] : loop[(i + 1) % n];
      StlWall(points[a].x, points[a].y, points[b].x, points[b].y);
    }
  };
  for (std::size_t i = 0; i < contours.size(); ++i) {
    const Contour& outer = contours[i];
    if (outer.depth % 2 != 0) continue;
    std::vector<std::vector<int>> holes;
    for (const Contour& c : contours)
      if (c.parent == static_cast<int>(i) && c.depth == outer.depth + 1)
        holes.emplace_back(c.vertices.rbegin(), c.vertices.rend());
    // The material lies left of the counter-clockwise outline; its walls
    // run the other way so that their normals point out.
    wallsAlong(outer.vertices, true);
    for (const std::vector<int>& hole : holes) wallsAlong(hole, true);
    std::vector<std::array<int, 3>> triangles;
    FaceBuilder(points, triangles).Triangulate(outer.vertices, holes);
    for (const auto& t : triangles) {
      const Point &a = points[t[0]], &b = points[t[1]], &c = points[t[2]];
      StlFacet(0, 0, 1, a.x, a.y, hi, b.x, b.y, hi, c.x, c.y, hi);
      StlFacet(0, 0, -1, a.x, a.y, lo, c.x, c.y, lo, b.x, b.y, lo);
    }
  }
  for (const auto& [a, b] : open) StlWall(points[a].x, points[a].y, points[b].x, points[b].y);
}

}  // namespace

std::string StlBinaryHeader() {
  std::string header = "STL binary file created by KALDRIM - " + common::ProductCode + " V" + common::ProgramVersion;
  header.resize(80, ' ');
  return header;
}

std::string StlNumber(Real value) {
  if (!std::isfinite(value) || std::fabs(value) < 1e-30L) value = 0;
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.8E", static_cast<double>(value));
  std::string text = buffer;
  // A point whatever the locale of the process.
  std::replace(text.begin(), text.end(), ',', '.');
  return text;
}

void StlOpen(const std::string& fileName, const std::string& solidName) {
  if (fileName.empty()) {
    common::ShowError("invalid File name");
    common::AbortFlag = 1;
    return;
  }
  if (CadSettings.CadStlType >= 2 || CadSettings.CadStlType < 0) CadSettings.CadStlType = 0;
  StlState = TStlState{};
  StlState.StlType = CadSettings.CadStlType;
  StlState.StlSolidName = solidName;
  StlState.StlFileName = fileName;
  Drawn().Clear();
  if (StlState.StlType == 1) {
    common::TextFile& file = AsciiFile();
    if (file.IsOpen()) file.Discard();
    file.Assign(fileName);
    common::RewriteFileChecked(file);
    if (common::AbortFlag) return;
    AsciiLine("solid " + solidName);
  }
  StlState.Open = true;
}

void StlLine(Real x1, Real y1, Real x2, Real y2) { Drawn().Add(x1, y1, x2, y2); }

void StlQuad(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) {
  StlLine(x1, y1, x2, y2);
  StlLine(x2, y2, x3, y3);
  StlLine(x3, y3, x4, y4);
  StlLine(x4, y4, x1, y1);
}

bool StlSegmentNormal(Real x1, Real y1, Real x2, Real y2, Real& nx, Real& ny) {
  const Real length = std::hypot(x2 - x1, y2 - y1);
  if (length == 0) {
    nx = ny = 0;
    return false;
  }
  nx = (y1 - y2) / length;
  ny = (x2 - x1) / length;
  return true;
}

void StlWall(Real x1, Real y1, Real x2, Real y2) {
  Real nx = 0, ny = 0;
  if (!StlSegmentNormal(x1, y1, x2, y2, nx, ny)) return;
  const auto [z1, z2] = Heights();
  StlFacet(nx, ny, 0, x1, y1, z1, x1, y1, z2, x2, y2, z1);
  StlFacet(nx, ny, 0, x1, y1, z2, x2, y2, z2, x2, y2, z1);
}

void StlFacet(Real nx, Real ny, Real nz, Real x1, Real y1, Real z1, Real x2, Real y2, Real z2, Real x3, Real y3,
              Real z3) {
  StlState.StlFacetList.push_back(TStlFacet{static_cast<float>(nx), static_cast<float>(ny), static_cast<float>(nz),
                                            static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(z1),
                                            static_cast<float>(x2), static_cast<float>(y2), static_cast<float>(z2),
                                            static_cast<float>(x3), static_cast<float>(y3), static_cast<float>(z3)});
  ++StlState.StlFacetCount;
}

void StlWriteFile() {
  if (!StlState.Open) return;
  StlState.Open = false;
  MakeFacets();
  Drawn().Clear();
  if (StlState.StlType == 1) {
    for (const TStlFacet& f : StlState.StlFacetList) {
      AsciiLine("  facet normal " + StlNumber(f[0]) + " " + StlNumber(f[1]) + " " + StlNumber(f[2]));
      AsciiLine("    outer loop");
      for (int v = 0; v < 3; ++v)
        AsciiLine("      vertex " + StlNumber(f[3 + 3 * v]) + " " + StlNumber(f[4 + 3 * v]) + " " +
                  StlNumber(f[5 + 3 * v]));
      AsciiLine("    endloop");
      AsciiLine("  endfacet");
    }
    AsciiLine("endsolid " + StlState.StlSolidName);
    common::CloseFileChecked(AsciiFile());
  } else {
    std::string bytes = StlBinaryHeader();
    bytes.reserve(84 + 50 * StlState.StlFacetList.size());
    AppendLittleEndian(bytes, StlState.StlFacetCount);
    for (const TStlFacet& f : StlState.StlFacetList) {
      for (const float value : f) AppendFloat(bytes, value);
      bytes += "XX";
    }
    common::TextFile& file = AsciiFile();
    file.Assign(StlState.StlFileName);
    common::RewriteFileChecked(file);
    if (common::AbortFlag == 0) {
      if (!file.Write(bytes)) common::AbortFlag = 1;
      common::CloseFileChecked(file);
    }
  }
  StlState.StlFacetList.clear();
  StlState.StlFacetList.shrink_to_fit();
}

// ---- Back end ------------------------------------------------------------------------

namespace {

class StlDevice : public CadBackEnd {
 public:
  std::string FileExtension() const override { return "stl"; }
  bool OpensAfterOutput() const override { return true; }
  bool RecordsBlocksAsFiles() const override { return true; }
  void Open() override { StlOpen(CadSettings.CadFileName, "KALSOLID"); }
  void Close() override { StlWriteFile(); }
  void Line(Real x1, Real y1, Real x2, Real y2) override { StlLine(x1, y1, x2, y2); }
  void Circle(Real x, Real y, Real r) override { CircleAsChords(x, y, r, StlLine); }
  void Arc(Real x, Real y, Real startAngle, Real endAngle, Real r, Real sweep) override {
    const Real a1 = startAngle * Pi() / 180, a2 = endAngle * Pi() / 180;
    ArcAsChords(x + r * std::cos(a1), y + r * std::sin(a1), x + r * std::cos(a2), y + r * std::sin(a2),
                sweep * Pi() / 180, StlLine);
  }
  // The filled outline of a SOLID runs through its corners 1, 2, 4, 3.
  void Solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) override {
    StlQuad(x1, y1, x2, y2, x4, y4, x3, y3);
  }

 private:
  static Real Pi() { return std::acos(-1.0L); }
};

}  // namespace

CadBackEnd& StlBackEnd() {
  static StlDevice device;
  return device;
}

}  // namespace drawing
