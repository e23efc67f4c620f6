// The STL writer and its back end; see stl_writer.h.
#include "drawing/cad/stl_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <map>
#include <set>
#include <system_error>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "common/c_locale_numbers.h"
#include "common/cad_settings.h"
#include "common/file_checks.h"
#include "common/kaldvar.h"
#include "common/polygon_triangulation.h"
#include "common/small_dialogs.h"
#include "common/text_file.h"
#include "drawing/cad/cad_back_ends.h"
#include "drawing/cad/cad_output.h"

namespace drawing {

using common::CadSettings;

TStlState StlState;

namespace {

// Ends closer than this (mm) are one point: far below what a drawing shows,
// far above the rounding of the chords that meet there.
constexpr Real MergeDistance = 1e-4L;

using Point = common::PlanePoint;

// A number as the file's float32; one beyond its range becomes infinite
// (a conversion that would otherwise be undefined).
float ToFloat(Real v) {
  constexpr Real most = std::numeric_limits<float>::max();
  if (v > most) return std::numeric_limits<float>::infinity();
  if (v < -most) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(v);
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

  // False when the set is full (MaxStlSegments).
  bool Add(Real x1, Real y1, Real x2, Real y2) {
    // The float32 numbers the file holds: the contours and faces are made
    // of the very points that are written, so that no rounding afterwards
    // can turn a face over or make two walls cross.
    x1 = ToFloat(x1);
    y1 = ToFloat(y1);
    x2 = ToFloat(x2);
    y2 = ToFloat(y2);
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return true;
    if (segments_.size() >= MaxStlSegments) return false;
    const int a = VertexAt(x1, y1), b = VertexAt(x2, y2);
    if (a == b) return true;
    // A segment drawn twice (a line over a polyline edge) is one wall.
    const std::uint64_t key = static_cast<std::uint64_t>(std::min(a, b)) << 32 | static_cast<std::uint32_t>(std::max(a, b));
    if (!keys_.insert(key).second) return true;
    segments_.push_back({a, b});
    return true;
  }

  const std::vector<Point>& Points() const { return points_; }
  bool Empty() const { return segments_.empty(); }
  const std::vector<std::pair<int, int>>& Segments() const { return segments_; }

 private:
  // The merge cell of a coordinate; far coordinates share the outermost
  // cells (only their look-up slows down).
  static std::int64_t Cell(Real v) {
    const Real cell = std::floor(v / MergeDistance);
    if (!(cell > -4e18L)) return static_cast<std::int64_t>(-4e18L);
    if (!(cell < 4e18L)) return static_cast<std::int64_t>(4e18L);
    return static_cast<std::int64_t>(cell);
  }
  // Wraps around (unsigned) rather than overflowing.
  static std::uint64_t Key(std::int64_t cx, std::int64_t cy) {
    return static_cast<std::uint64_t>(cx) * 73856093u ^ static_cast<std::uint64_t>(cy) * 19349663u;
  }

  int VertexAt(Real x, Real y) {
    const std::int64_t cx = Cell(x), cy = Cell(y);
    for (std::int64_t dx = -1; dx <= 1; ++dx)
      for (std::int64_t dy = -1; dy <= 1; ++dy) {
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
  std::unordered_map<std::uint64_t, std::vector<int>> grid_;
  std::vector<std::pair<int, int>> segments_;
  std::unordered_set<std::uint64_t> keys_;
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

// A closed loop of points as a contour, counter-clockwise; false for one
// that encloses no area.
bool MakeContour(const std::vector<Point>& points, std::vector<int> loop, Contour& contour) {
  if (loop.size() < 3) return false;
  const Real area = SignedArea(points, loop);
  if (!(std::fabs(area) > MergeDistance * MergeDistance)) return false;
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
  return true;
}

// The loops of a connected group of segments in which every point joins an
// even number of them, some four or more (outlines that touch at a point,
// as the two pitch curves of a pair do at their pitch point): the areas
// the segments bound, each walked with the area on its left, turning at
// each point to the next segment clockwise. False unless every segment
// bounds exactly one of them.
bool TouchingLoops(const std::vector<Point>& points, const std::vector<std::pair<int, int>>& segments,
                   const std::vector<int>& group, const std::vector<std::vector<int>>& at,
                   std::vector<std::vector<int>>& loops) {
  // Per point of the group its neighbours in the order of their direction.
  std::unordered_map<int, std::vector<int>> around;
  for (const int s : group)
    for (const int v : {segments[s].first, segments[s].second}) {
      if (around.count(v)) continue;
      std::vector<std::pair<Real, int>> directions;
      for (const int t : at[v]) {
        const int w = segments[t].first == v ? segments[t].second : segments[t].first;
        directions.emplace_back(std::atan2(points[w].y - points[v].y, points[w].x - points[v].x), w);
      }
      std::sort(directions.begin(), directions.end());
      std::vector<int>& order = around[v];
      for (const auto& d : directions) order.push_back(d.second);
    }
  // The walk u -> v goes on to the neighbour of v before u counter-clockwise.
  std::set<std::pair<int, int>> walked;
  std::map<std::pair<int, int>, int> bounding;  // segment (low, high) -> loops with area on their left
  for (const int s : group)
    for (const bool reverse : {false, true}) {
      int u = reverse ? segments[s].second : segments[s].first;
      int v = reverse ? segments[s].first : segments[s].second;
      if (walked.count({u, v})) continue;
      std::vector<int> loop;
      const int u0 = u, v0 = v;
      do {
        walked.insert({u, v});
        loop.push_back(u);
        const std::vector<int>& order = around[v];
        const auto at_u = std::find(order.begin(), order.end(), u);
        const std::size_t k = static_cast<std::size_t>(at_u - order.begin());
        const int w = order[(k + order.size() - 1) % order.size()];
        u = v;
        v = w;
      } while ((u != u0 || v != v0) && loop.size() <= 2 * group.size());
      if (u != u0 || v != v0) return false;
      if (SignedArea(points, loop) <= 0) continue;  // the area round the outside
      for (std::size_t i = 0; i < loop.size(); ++i) {
        const int a = loop[i], b = loop[(i + 1) % loop.size()];
        ++bounding[{std::min(a, b), std::max(a, b)}];
      }
      loops.push_back(std::move(loop));
    }
  if (bounding.size() != group.size()) return false;
  for (const auto& [segment, count] : bounding)
    if (count != 1) return false;
  return true;
}

// Splits the segments into closed contours and the rest, which keep their
// bare walls: a connected group in which every point joins two segments is
// one contour, one whose points join an even number gives the loops of
// TouchingLoops; a group with an open end or a branch is no contour.
void TraceContours(const SegmentSet& set, std::vector<Contour>& contours, std::vector<std::pair<int, int>>& open) {
  const auto& segments = set.Segments();
  const auto& points = set.Points();
  std::vector<std::vector<int>> at(points.size());
  for (std::size_t s = 0; s < segments.size(); ++s) {
    at[segments[s].first].push_back(static_cast<int>(s));
    at[segments[s].second].push_back(static_cast<int>(s));
  }
  std::vector<bool> used(segments.size(), false);
  for (std::size_t first = 0; first < segments.size(); ++first) {
    if (used[first]) continue;
    // The connected group of the segment, and whether its points all join
    // two (or an even number of) segments.
    std::vector<int> group{static_cast<int>(first)};
    used[first] = true;
    bool twos = true, even = true;
    for (std::size_t k = 0; k < group.size(); ++k)
      for (const int v : {segments[group[k]].first, segments[group[k]].second}) {
        const std::size_t degree = at[v].size();
        if (degree != 2) twos = false;
        if (degree % 2 != 0) even = false;
        for (const int t : at[v])
          if (!used[t]) {
            used[t] = true;
            group.push_back(t);
          }
      }
    std::vector<std::vector<int>> loops;
    if (twos) {
      // Walk round from the first segment.
      std::vector<int> loop{segments[first].first};
      int last = static_cast<int>(first);
      int current = segments[first].second;
      while (current != loop.front()) {
        loop.push_back(current);
        const int next = at[current][0] == last ? at[current][1] : at[current][0];
        current = segments[next].first == current ? segments[next].second : segments[next].first;
        last = next;
      }
      loops.push_back(std::move(loop));
    } else if (!even || !TouchingLoops(points, segments, group, at, loops)) {
      loops.clear();
    }
    std::vector<Contour> found;
    for (std::vector<int>& loop : loops) {
      Contour contour;
      if (MakeContour(points, std::move(loop), contour)) found.push_back(std::move(contour));
    }
    if (loops.empty() || found.size() != loops.size()) {
      for (const int s : group) open.push_back(segments[s]);
      continue;
    }
    for (Contour& c : found) contours.push_back(std::move(c));
  }
  // Nesting: the depth is the number of contours around a contour, judged
  // by a point of it that the other contour does not share.
  std::vector<std::vector<int>> sorted(contours.size());
  for (std::size_t i = 0; i < contours.size(); ++i) {
    sorted[i] = contours[i].vertices;
    std::sort(sorted[i].begin(), sorted[i].end());
  }
  for (std::size_t i = 0; i < contours.size(); ++i) {
    Contour& inner = contours[i];
    for (std::size_t j = 0; j < contours.size(); ++j) {
      const Contour& outer = contours[j];
      if (i == j || outer.area <= inner.area) continue;
      if (outer.xmin > inner.xmin || outer.xmax < inner.xmax || outer.ymin > inner.ymin || outer.ymax < inner.ymax)
        continue;
      const auto probe = std::find_if(inner.vertices.begin(), inner.vertices.end(), [&](int v) {
        return !std::binary_search(sorted[j].begin(), sorted[j].end(), v);
      });
      if (probe == inner.vertices.end() || !Inside(points, outer.vertices, points[*probe])) continue;
      ++inner.depth;
      if (inner.parent < 0 || contours[inner.parent].area > outer.area) inner.parent = static_cast<int>(j);
    }
  }
}

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
    for (const common::TriangleCorners& t : common::TriangulateRegion(points, outer.vertices, holes)) {
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
  common::CSnprintf(buffer, sizeof buffer, "%.8E", static_cast<double>(value));
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

void StlLine(Real x1, Real y1, Real x2, Real y2) {
  if (CadOutputRefused()) return;
  if (!Drawn().Add(x1, y1, x2, y2))
    RefuseCadOutput("More than " + std::to_string(MaxStlSegments) + " lines for one STL file: " +
                    StlState.StlFileName + " not written");
}

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
  StlState.StlFacetList.push_back(TStlFacet{ToFloat(nx), ToFloat(ny), ToFloat(nz), ToFloat(x1), ToFloat(y1), ToFloat(z1),
                                            ToFloat(x2), ToFloat(y2), ToFloat(z2), ToFloat(x3), ToFloat(y3), ToFloat(z3)});
  ++StlState.StlFacetCount;
}

void StlAbandon() {
  StlState.Open = false;
  if (AsciiFile().IsOpen()) AsciiFile().Discard();
  Drawn().Clear();
  StlState.StlFacetList.clear();
  StlState.StlFacetList.shrink_to_fit();
}

void StlWriteFile() {
  if (!StlState.Open) return;
  // Walls without height are no solid: rather than a file of flat
  // facets, none.
  if (!Drawn().Empty() && RefusedAsTooThin("STL")) {
    StlAbandon();
    return;
  }
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
  // An STL file holds the solid and the program's name, no date.
  bool WritesTimeStamp() const override { return false; }
  bool OpensAfterOutput() const override { return true; }
  bool RecordsBlocksAsFiles() const override { return true; }
  void Open() override { StlOpen(CadSettings.CadFileName, "KALSOLID"); }
  void Close() override { StlWriteFile(); }
  void Abandon() override { StlAbandon(); }
  Real CoordinateLimit() const override { return StlCoordinateLimit; }
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
