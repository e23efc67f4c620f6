// The STEP device; see step_writer.h.
#include "drawing/cad/step_writer.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <numbers>
#include <optional>
#include <ostream>
#include <streambuf>
#include <string>
#include <utility>
#include <vector>

#include "common/cad_settings.h"
#include "common/date_time.h"
#include "common/file_checks.h"
#include "common/file_utils.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/small_dialogs.h"
#include "common/text_file.h"
#include "drawing/cad/cad_back_ends.h"
#include "drawing/cad/cad_blocks.h"
#include "drawing/cad/cad_output.h"
#include "drawing/outlines/simple_outline.h"
#include "drawing/cad/step_entities.h"
#include "drawing/cad/step_geometry.h"
#include "drawing/cad/step_smooth_runs.h"

namespace drawing {

using common::CadSettings;

TStepHeader StepHeader() {
  TStepHeader header;
  header.FileName = CadSettings.CadFileName;
  header.TimeStamp = common::DateTimeIsoText();
  return header;
}

namespace {

// Ends of a body's outline pieces closer than this (mm) meet: far below
// what a drawing shows, far above the rounding of the points that meet
// there (as in the STL writer).
constexpr double JoinDistance = 1e-4;

using step::Point;

bool Near(const Point& a, const Point& b) { return std::hypot(a.x - b.x, a.y - b.y) <= JoinDistance; }

// A run of lines and arcs, each beginning where the one before ended.
using step::Path;

struct CircleFigure {
  double x = 0, y = 0, r = 0;
};

// Counter-clockwise from a1 to a2 (radians).
struct ArcFigure {
  double x = 0, y = 0, r = 0, a1 = 0, a2 = 0;
};

// The lines, circles and arcs of one part of the drawing, as they arrive.
struct Figures {
  std::vector<Path> paths;
  std::vector<CircleFigure> circles;
  std::vector<ArcFigure> arcs;

  void AddLine(Real x1, Real y1, Real x2, Real y2, int pen) {
    Point b{static_cast<double>(x2), static_cast<double>(y2)};
    b.pen = pen;
    Add(x1, y1, b);
  }
  // An arc of sweep radians about (x, y) from (x1, y1) to (x2, y2).
  void AddArc(Real x1, Real y1, Real x2, Real y2, Real x, Real y, Real r, Real sweep, int pen) {
    Point b{static_cast<double>(x2), static_cast<double>(y2), pen, static_cast<double>(sweep),
            static_cast<double>(x), static_cast<double>(y), static_cast<double>(r)};
    Add(x1, y1, b);
  }
  void Add(Real x1, Real y1, const Point& b) {
    const Point a{static_cast<double>(x1), static_cast<double>(y1)};
    if (!paths.empty() && paths.back().back().x == a.x && paths.back().back().y == a.y) {
      paths.back().push_back(b);
    } else {
      paths.push_back({a, b});
    }
  }
  void Clear() { *this = Figures{}; }
};

bool Finite(std::initializer_list<Real> values) {
  return std::all_of(values.begin(), values.end(), [](Real v) { return std::isfinite(v); });
}

using step::SignedArea;

// Joins the pieces end to end, turning a piece round where two ends meet,
// into closed loops (the last point not repeated); the chains that close
// nothing go to open.
std::vector<Path> CloseLoops(const std::vector<Path>& pieces, std::vector<Path>& open) {
  std::vector<Path> loops;
  std::vector<bool> used(pieces.size(), false);
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (used[i]) continue;
    used[i] = true;
    Path chain = pieces[i];
    while (chain.size() < 3 || !Near(chain.front(), chain.back())) {
      bool joined = false;
      for (std::size_t j = 0; j < pieces.size() && !joined; ++j) {
        if (used[j]) continue;
        const Path& piece = pieces[j];
        if (Near(piece.front(), chain.back())) {
          chain.insert(chain.end(), piece.begin() + 1, piece.end());
        } else if (Near(piece.back(), chain.back())) {
          const Path turned = step::Reversed(piece);
          chain.insert(chain.end(), turned.begin() + 1, turned.end());
        } else {
          continue;
        }
        used[j] = joined = true;
      }
      if (!joined) break;
    }
    if (chain.size() >= 4 && Near(chain.front(), chain.back())) {
      // The first point now carries the piece that closes the loop.
      const Point last = chain.back();
      chain.pop_back();
      chain.front().pen = last.pen;
      chain.front().sweep = last.sweep;
      chain.front().cx = last.cx, chain.front().cy = last.cy, chain.front().r = last.r;
      loops.push_back(std::move(chain));
    } else {
      open.push_back(std::move(chain));
    }
  }
  return loops;
}

// ---- The outlines ----------------------------------------------------------------------

// One closed outline of a body: a polygon or a circle, walked
// counter-clockwise.
struct Outline {
  Path points;           // empty for a circle
  CircleFigure circle;
  double area = 0;
  double xmin = 0, xmax = 0, ymin = 0, ymax = 0;
  int parent = -1;       // the smallest outline around it
  int depth = 0;         // outlines around it
};

Outline PolygonOutline(Path loop) {
  Outline o;
  const double area = SignedArea(loop);
  if (area < 0) loop = step::Reversed(loop);
  o.area = std::fabs(area);
  o.xmin = o.xmax = loop[0].x;
  o.ymin = o.ymax = loop[0].y;
  for (const Point& p : step::Flattened(loop)) {
    o.xmin = std::min(o.xmin, p.x);
    o.xmax = std::max(o.xmax, p.x);
    o.ymin = std::min(o.ymin, p.y);
    o.ymax = std::max(o.ymax, p.y);
  }
  o.points = std::move(loop);
  return o;
}

Outline CircleOutline(const CircleFigure& c) {
  Outline o;
  o.circle = c;
  o.area = std::numbers::pi * c.r * c.r;
  o.xmin = c.x - c.r, o.xmax = c.x + c.r, o.ymin = c.y - c.r, o.ymax = c.y + c.r;
  return o;
}

// The outline's corners, its arcs and circles in chords of a degree.
TPenPolygon CornerPolygon(const Outline& o) {
  TPenPolygon polygon;
  if (o.points.empty()) {
    for (int degree = 0; degree < 360; ++degree) {
      const double a = degree * std::numbers::pi / 180;
      polygon.Add(o.circle.x + o.circle.r * std::cos(a), o.circle.y + o.circle.r * std::sin(a), 0);
    }
    return polygon;
  }
  // Points the kernel takes as one vertex are one corner.
  const double same = 1e-7;
  for (const Point& p : step::Flattened(o.points))
    if (polygon.Size() == 0 || std::hypot(p.x - static_cast<double>(polygon.X.back()),
                                          p.y - static_cast<double>(polygon.Y.back())) > same)
      polygon.Add(p.x, p.y, 0);
  while (polygon.Size() > 1 && std::hypot(static_cast<double>(polygon.X.back() - polygon.X.front()),
                                          static_cast<double>(polygon.Y.back() - polygon.Y.front())) <= same) {
    polygon.X.pop_back();
    polygon.Y.pop_back();
    polygon.Pen.pop_back();
  }
  return polygon;
}

// A point on the outline, to find the outlines around it.
Point Probe(const Outline& o) { return o.points.empty() ? Point{o.circle.x + o.circle.r, o.circle.y} : o.points[0]; }

// Whether the inner outline lies inside the outer one (a point of it does;
// outlines do not cross each other). An outline that crosses itself still
// has an inside, so that its bore stays a bore.
bool Encloses(const Outline& outer, const Outline& inner) {
  if (outer.area <= inner.area || outer.xmin > inner.xmin || outer.xmax < inner.xmax || outer.ymin > inner.ymin ||
      outer.ymax < inner.ymax)
    return false;
  const Point q = Probe(inner);
  if (outer.points.empty()) return std::hypot(q.x - outer.circle.x, q.y - outer.circle.y) < outer.circle.r;
  // Crossings of a ray from the point to the right (even: outside).
  const Path polygon = step::Flattened(outer.points);
  bool inside = false;
  for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
    const Point& a = polygon[i];
    const Point& b = polygon[j];
    if ((a.y > q.y) != (b.y > q.y) && q.x < a.x + (q.y - a.y) * (b.x - a.x) / (b.y - a.y)) inside = !inside;
  }
  return inside;
}

// The text of the exchange file on its way into the output file, a CR put
// before every LF (lines end with CR LF, as in every file the program
// writes): a file of a large gear is megabytes long, and is not held in
// memory as a whole.
class CrLfFileBuffer : public std::streambuf {
 public:
  explicit CrLfFileBuffer(common::TextFile& file) : file_(file) {}
  ~CrLfFileBuffer() override { Flush(); }
  CrLfFileBuffer(const CrLfFileBuffer&) = delete;
  CrLfFileBuffer& operator=(const CrLfFileBuffer&) = delete;

  // Whether everything so far reached the file.
  bool Flush() {
    if (!pending_.empty() && !file_.Write(pending_)) failed_ = true;
    pending_.clear();
    return !failed_;
  }

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    Put(traits_type::to_char_type(c));
    return c;
  }
  std::streamsize xsputn(const char* text, std::streamsize count) override {
    for (std::streamsize i = 0; i < count; ++i) Put(text[i]);
    return count;
  }
  int sync() override { return Flush() ? 0 : -1; }

 private:
  void Put(char c) {
    if (c == '\n') pending_ += '\r';
    pending_ += c;
    if (pending_.size() >= 1 << 16) Flush();
  }

  common::TextFile& file_;
  std::string pending_;
  bool failed_ = false;
};

// ---- The device --------------------------------------------------------------------------

class StepDevice : public CadBackEnd {
 public:
  std::string FileExtension() const override { return "stp"; }
  bool RecordsBlocksAsFiles() const override { return true; }
  bool KeepsPolylineArcs() const override { return true; }

  void Open() override {
    Reset();
    common::TextFile& file = OutputFile();
    if (file.IsOpen()) file.Discard();
    file.Assign(CadSettings.CadFileName);
    common::RewriteFileChecked(file);
  }

  void Close() override {
    if (inBody_) EndBody();
    common::TextFile& file = OutputFile();
    if (file.IsOpen() && common::AbortFlag == 0) {
      WriteExchangeFile(file);
      // A failed write keeps the previous file and says why.
      common::CloseFileChecked(file);
    }
    // A stopped picture, or one that could not be written, leaves the
    // previous file as it was.
    if (file.IsOpen()) file.Discard();
    Reset();
    DeleteRecordedBlockFiles();
  }

  // Runs of lines change edges where the pen changes (a flank and a land).
  void SelectPen(int pen) override { pen_ = pen; }

  void BeginBody(const TBody& body) override {
    if (inBody_) EndBody();
    inBody_ = true;
    axis_ = body.axis;
    limits_ = step::SmoothLimits::ForModule(static_cast<double>(body.module));
  }

  void EndBody() override {
    if (!inBody_) return;
    inBody_ = false;
    MakeSolids();
    body_.Clear();
  }

  void Line(Real x1, Real y1, Real x2, Real y2) override {
    if (!Finite({x1, y1, x2, y2}) || (x1 == x2 && y1 == y2)) return;
    Drawn().AddLine(x1, y1, x2, y2, pen_);
  }

  void Circle(Real x, Real y, Real r) override {
    if (!Finite({x, y, r}) || r <= 0) return;
    Drawn().circles.push_back({static_cast<double>(x), static_cast<double>(y), static_cast<double>(r)});
  }

  void Arc(Real x, Real y, Real startAngle, Real endAngle, Real r, Real sweep) override {
    if (!Finite({x, y, startAngle, endAngle, r, sweep}) || r <= 0) return;
    const Real a1 = startAngle * Pi() / 180, a2 = endAngle * Pi() / 180;
    if (inBody_) {
      // A body's outline runs along the arc of its circle, from the start
      // to the end by the sweep (negative clockwise); a whole turn is a
      // circle.
      if (std::fabs(sweep) >= 360) {
        Circle(x, y, r);
        return;
      }
      if (sweep == 0) return;
      body_.AddArc(x + r * std::cos(a1), y + r * std::sin(a1), x + r * std::cos(a2), y + r * std::sin(a2), x, y, r,
                   sweep * Pi() / 180, pen_);
      return;
    }
    // Counter-clockwise from the start to the end, the two exchanged for a
    // clockwise arc (as the DXF writer writes it).
    double from = static_cast<double>(sweep < 0 ? a2 : a1), to = static_cast<double>(sweep < 0 ? a1 : a2);
    while (to <= from) to += 2 * std::numbers::pi;
    while (to - from > 2 * std::numbers::pi) to -= 2 * std::numbers::pi;
    loose_.arcs.push_back({static_cast<double>(x), static_cast<double>(y), static_cast<double>(r), from, to});
  }

  // The outline of a SOLID runs through its corners 1, 2, 4, 3.
  void Solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) override {
    Line(x1, y1, x2, y2);
    Line(x2, y2, x4, y4);
    Line(x4, y4, x3, y3);
    Line(x3, y3, x1, y1);
  }

 private:
  static Real Pi() { return std::numbers::pi_v<Real>; }

  static common::TextFile& OutputFile() {
    static common::TextFile file;
    return file;
  }

  Figures& Drawn() { return inBody_ ? body_ : loose_; }

  void Reset() {
    inBody_ = false;
    axis_.reset();
    limits_ = {};
    pen_ = 0;
    body_.Clear();
    loose_.Clear();
    solids_.clear();
  }

  // Figures that bound no solid are drawn as edges.
  void Take(const Figures& figures) {
    loose_.paths.insert(loose_.paths.end(), figures.paths.begin(), figures.paths.end());
    loose_.circles.insert(loose_.circles.end(), figures.circles.begin(), figures.circles.end());
    loose_.arcs.insert(loose_.arcs.end(), figures.arcs.begin(), figures.arcs.end());
  }

  std::pair<double, double> Heights() const {
    const double z1 = static_cast<double>(CadSettings.StlHeights[1]);
    const double z2 = static_cast<double>(CadSettings.StlHeights[2]);
    return {std::min(z1, z2), std::max(z1, z2)};
  }

  // The solids of the body drawn since BeginBody: its closed outlines
  // nested into material and holes, each piece of material extruded with
  // its holes.
  void MakeSolids() {
    const auto [lo, hi] = Heights();
    Figures rest;
    rest.arcs = body_.arcs;
    std::vector<Outline> outlines;
    for (Path& loop : CloseLoops(body_.paths, rest.paths)) outlines.push_back(PolygonOutline(std::move(loop)));
    for (const CircleFigure& c : body_.circles) outlines.push_back(CircleOutline(c));
    const auto asEdges = [&rest](const Outline& o) {
      if (o.points.empty()) {
        rest.circles.push_back(o.circle);
      } else {
        rest.paths.push_back(o.points);
        rest.paths.back().push_back(o.points.front());
      }
    };
    // An outline that bounds no area (a line drawn there and back) is drawn
    // as edges.
    std::erase_if(outlines, [&](const Outline& o) {
      const bool flat = o.area <= JoinDistance * JoinDistance;
      if (flat) asEdges(o);
      return flat;
    });
    // Material without height is no solid: rather than a file without the
    // part it is named after, none, and the user is told.
    if (!outlines.empty() && RefusedAsTooThin("STEP")) return;
    // Largest first: an outline's parent comes before it.
    std::stable_sort(outlines.begin(), outlines.end(),
                     [](const Outline& a, const Outline& b) { return a.area > b.area; });
    for (std::size_t i = 0; i < outlines.size(); ++i)
      for (std::size_t j = i; j-- > 0;)
        if (Encloses(outlines[j], outlines[i])) {
          outlines[i].parent = static_cast<int>(j);
          outlines[i].depth = outlines[j].depth + 1;
          break;
        }
    // A body is one part (a gear, the carrier, the rack): material that
    // falls apart into pieces side by side (an outline run off into a loop
    // of its own) is no part that could be made; rather than a file of
    // several solids, none, and the user is told.
    const auto pieces = std::count_if(outlines.begin(), outlines.end(), [](const Outline& o) { return o.depth == 0; });
    if (pieces > 1) {
      RefuseSolidOutput("outline falls apart into " + std::to_string(pieces) +
                        " pieces, not one solid; no STEP file written");
      return;
    }
    for (std::size_t i = 0; i < outlines.size(); ++i) {
      if (outlines[i].depth % 2 != 0) continue;
      std::vector<std::size_t> members{i};
      for (std::size_t j = i + 1; j < outlines.size(); ++j)
        if (outlines[j].parent == static_cast<int>(i)) members.push_back(j);
      step::Slab solid;
      if (!Extruded(outlines, members, lo, hi, axis_, limits_, solid)) {
        // An outline that crosses itself bounds no material a solid could
        // be made of: rather than a file without the part, none.
        RefuseSolidOutput("self-crossing outline, not one solid; no STEP file written");
        return;
      }
      solids_.push_back(std::move(solid));
    }
    Take(rest);
  }

  // The material inside the first member with the others as its holes,
  // extruded from lo to hi, its caps' sectors meeting at the axis where
  // the body has one; false when no valid solid comes of it.
  static bool Extruded(const std::vector<Outline>& outlines, const std::vector<std::size_t>& members, double lo,
                       double hi, const std::optional<TBodyAxis>& axis, const step::SmoothLimits& limits,
                       step::Slab& solid) {
    // Outlines that cross or touch themselves or each other bound no area
    // a solid could be made of.
    std::vector<TPenPolygon> polygons;
    for (const std::size_t m : members) polygons.push_back(CornerPolygon(outlines[m]));
    if (PolygonsCross(polygons)) return false;
    const auto loop = [](const Outline& o) {
      return o.points.empty() ? step::Loop{{}, o.circle.x, o.circle.y, o.circle.r} : step::Loop{o.points};
    };
    std::vector<step::Loop> holes;
    for (std::size_t k = 1; k < members.size(); ++k) holes.push_back(loop(outlines[members[k]]));
    if (!axis) return step::MakeSlab(loop(outlines[members[0]]), holes, lo, hi, solid, nullptr, limits);
    const Point centre{static_cast<double>(axis->X), static_cast<double>(axis->Y)};
    return step::MakeSlab(loop(outlines[members[0]]), holes, lo, hi, solid, &centre, limits);
  }

  // The loose figures as edges at height 0.
  step::Sketch Edges() const {
    step::Sketch edges;
    for (const Path& path : loose_.paths) step::AddPathEdges(path, edges);
    for (const CircleFigure& c : loose_.circles) {
      const std::size_t v = edges.AddVertex(c.x + c.r, c.y);
      edges.AddEdge(step::Edge::Arc(v, v, c.x, c.y, c.r));
    }
    for (const ArcFigure& a : loose_.arcs) {
      const std::size_t v1 = edges.AddVertex(a.x + a.r * std::cos(a.a1), a.y + a.r * std::sin(a.a1));
      const std::size_t v2 = edges.AddVertex(a.x + a.r * std::cos(a.a2), a.y + a.r * std::sin(a.a2));
      edges.AddEdge(step::Edge::Arc(v1, v2, a.x, a.y, a.r));
    }
    return edges;
  }

  // Writes the whole exchange file: the solids as one part named after
  // the file, the edges as its lines.
  void WriteExchangeFile(common::TextFile& file) {
    CrLfFileBuffer buffer(file);
    std::ostream text(&buffer);
    step::EntityWriter out(text);
    out.Header(StepHeader());
    const std::string part = common::BareFileName(CadSettings.CadFileName);
    const bool withSolids = !solids_.empty();
    if (withSolids) out.Solids(solids_, part);
    const step::Sketch edges = Edges();
    if (!edges.edges.empty()) out.Curves(edges, withSolids ? part + " lines" : part);
    out.Trailer();
    text.flush();
    // A failed write (a full disk) is told when the file is closed, with
    // the system's reason.
    buffer.Flush();
  }

  bool inBody_ = false;
  std::optional<TBodyAxis> axis_;  // of the body drawn
  step::SmoothLimits limits_;      // how closely its outline is kept
  int pen_ = 0;
  Figures body_;
  Figures loose_;
  std::vector<step::Slab> solids_;
};

}  // namespace

CadBackEnd& StepBackEnd() {
  static StepDevice device;
  return device;
}

}  // namespace drawing
