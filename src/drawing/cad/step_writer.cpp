// The STEP device; see step_writer.h.
#include "drawing/cad/step_writer.h"

#include <APIHeaderSection_MakeHeader.hxx>
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRep_Builder.hxx>
#include <CSLib_Class2d.hxx>
#include <Interface_Static.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <Message_Printer.hxx>
#include <STEPControl_Writer.hxx>
#include <StepBasic_Product.hxx>
#include <Standard_Failure.hxx>
#include <StepData_Protocol.hxx>
#include <StepData_StepModel.hxx>
#include <StepData_StepWriter.hxx>
#include <TCollection_HAsciiString.hxx>
#include <TColgp_Array1OfPnt2d.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>
#include <TopoDS_Edge.hxx>
#include <Transfer_FinderProcess.hxx>
#include <XSControl_TransferWriter.hxx>
#include <XSControl_WorkSession.hxx>
#include <gp_Circ.hxx>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <numbers>
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
#include "drawing/simple_outline.h"
#include "drawing/cad/step_geometry.h"

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

// ---- The kernel's shapes --------------------------------------------------------------

using step::PathShape;

TopoDS_Edge CircleEdge(const CircleFigure& c, double z) {
  return BRepBuilderAPI_MakeEdge(gp_Circ(gp_Ax2(gp_Pnt(c.x, c.y, z), gp::DZ()), c.r)).Edge();
}

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
  const Path polygon = step::Flattened(outer.points);
  TColgp_Array1OfPnt2d corners(1, static_cast<int>(polygon.size()));
  for (std::size_t i = 0; i < polygon.size(); ++i)
    corners.SetValue(static_cast<int>(i) + 1, gp_Pnt2d(polygon[i].x, polygon[i].y));
  const CSLib_Class2d inside(corners, 1e-9, 1e-9, outer.xmin, outer.ymin, outer.xmax, outer.ymax);
  return inside.SiDans(gp_Pnt2d(q.x, q.y)) == 1;
}

// The kernel reports what it does on the standard output; a file output
// of the program has nothing to tell there but failures.
class QuietKernel {
 public:
  QuietKernel() {
    for (Message_SequenceOfPrinters::Iterator it(Message::DefaultMessenger()->Printers()); it.More(); it.Next()) {
      levels_.push_back(it.Value()->GetTraceLevel());
      it.Value()->SetTraceLevel(Message_Fail);
    }
  }
  ~QuietKernel() {
    std::size_t i = 0;
    for (Message_SequenceOfPrinters::Iterator it(Message::DefaultMessenger()->Printers()); it.More(); it.Next())
      if (i < levels_.size()) it.Value()->SetTraceLevel(levels_[i++]);
  }
  QuietKernel(const QuietKernel&) = delete;
  QuietKernel& operator=(const QuietKernel&) = delete;

 private:
  std::vector<Message_Gravity> levels_;
};

Handle(TCollection_HAsciiString) StepText(const std::string& text) { return new TCollection_HAsciiString(text.c_str()); }

// Names the products of the model from the first-th on. The translator
// numbers them with a count that runs on through the program's run, so
// that the same drawing would be written differently each time.
void NameProducts(const Handle(StepData_StepModel)& model, int first, const std::string& name) {
  int seen = 0;
  for (int i = 1; i <= model->NbEntities(); ++i) {
    const Handle(StepBasic_Product) product = Handle(StepBasic_Product)::DownCast(model->Value(i));
    if (product.IsNull() || ++seen < first) continue;
    product->SetId(StepText(name));
    product->SetName(StepText(name));
  }
}

int ProductCount(const Handle(StepData_StepModel)& model) {
  int count = 0;
  for (int i = 1; i <= model->NbEntities(); ++i)
    if (model->Value(i)->IsKind(STANDARD_TYPE(StepBasic_Product))) ++count;
  return count;
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
      try {
        WriteExchangeFile(file);
        // A failed write keeps the previous file and says why.
        common::CloseFileChecked(file);
      } catch (const Standard_Failure& failure) {
        common::ShowError(std::string("STEP: ") + failure.GetMessageString());
        common::AbortFlag = 1;
      }
    }
    // A stopped picture, or one that could not be written, leaves the
    // previous file as it was.
    if (file.IsOpen()) file.Discard();
    Reset();
    DeleteRecordedBlockFiles();
  }

  // Runs of lines change edges where the pen changes (a flank and a land).
  void SelectPen(int pen) override { pen_ = pen; }

  void BeginBody() override {
    if (inBody_) EndBody();
    inBody_ = true;
  }

  void EndBody() override {
    if (!inBody_) return;
    inBody_ = false;
    const std::size_t made = solids_.size();
    try {
      MakeSolids();
    } catch (const Standard_Failure& failure) {
      // The kernel failed on the body: no part to write.
      solids_.resize(made);
      RefuseSolidOutput(std::string("STEP: ") + failure.GetMessageString() + "; no file written");
    }
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
    if (!outlines.empty() && RefusedAsTooThin("STEP", lo, hi)) return;
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
      RefuseSolidOutput("STEP: the outline falls apart into " + std::to_string(pieces) +
                        " pieces, not one solid; no file written");
      return;
    }
    for (std::size_t i = 0; i < outlines.size(); ++i) {
      if (outlines[i].depth % 2 != 0) continue;
      std::vector<std::size_t> members{i};
      for (std::size_t j = i + 1; j < outlines.size(); ++j)
        if (outlines[j].parent == static_cast<int>(i)) members.push_back(j);
      const TopoDS_Shape solid = Extruded(outlines, members, lo, hi);
      if (solid.IsNull()) {
        // An outline that crosses itself bounds no material a solid could
        // be made of: rather than a file without the part, none.
        RefuseSolidOutput("STEP: an outline crosses itself, not one solid; no file written");
        return;
      }
      solids_.push_back(solid);
    }
    Take(rest);
  }

  // The material inside the first member with the others as its holes,
  // extruded from lo to hi; a null shape when no valid solid comes of it.
  static TopoDS_Shape Extruded(const std::vector<Outline>& outlines, const std::vector<std::size_t>& members,
                               double lo, double hi) {
    // Outlines that cross or touch themselves or each other bound no area
    // a solid could be made of. (The kernel's check of the face would find
    // them too, but it compares every corner with every edge: a gear of 3000
    // teeth took it 18 s.)
    std::vector<TPenPolygon> polygons;
    for (const std::size_t m : members) polygons.push_back(CornerPolygon(outlines[m]));
    if (PolygonsCross(polygons)) return {};
    const auto loop = [](const Outline& o) {
      return o.points.empty() ? step::Loop{{}, o.circle.x, o.circle.y, o.circle.r} : step::Loop{o.points};
    };
    std::vector<step::Loop> holes;
    for (std::size_t k = 1; k < members.size(); ++k) holes.push_back(loop(outlines[members[k]]));
    return step::Slab(loop(outlines[members[0]]), holes, lo, hi);
  }

  // The loose figures as edges at height 0.
  TopoDS_Compound Edges() const {
    BRep_Builder builder;
    TopoDS_Compound edges;
    builder.MakeCompound(edges);
    for (const Path& path : loose_.paths) {
      const TopoDS_Shape shape = PathShape(path, 0);
      if (!shape.IsNull()) builder.Add(edges, shape);
    }
    for (const CircleFigure& c : loose_.circles) builder.Add(edges, CircleEdge(c, 0));
    for (const ArcFigure& a : loose_.arcs)
      builder.Add(edges, BRepBuilderAPI_MakeEdge(gp_Circ(gp_Ax2(gp_Pnt(a.x, a.y, 0), gp::DZ()), a.r), a.a1, a.a2).Edge());
    return edges;
  }

  // The translator's graph of the model, with its check of every edge
  // against every loop that uses it (which grows with the square of the
  // edges), serves its own file writer; the file is composed here.
  static constexpr Standard_Boolean ComputeGraph = Standard_False;

  // Writes the whole exchange file: the solids as one representation, the
  // edges as one set of curves.
  void WriteExchangeFile(common::TextFile& file) {
    const QuietKernel quiet;
    STEPControl_Writer writer;
    Interface_Static::SetCVal("write.step.schema", "AP214IS");
    Interface_Static::SetCVal("write.step.unit", "MM");
    // Every shape in one representation, not one product per edge.
    Interface_Static::SetIVal("write.step.assembly", 0);
    // The edges of faces carry their curves in space only, which readers
    // project onto the faces themselves: the file is half as long.
    Interface_Static::SetIVal("write.surfacecurve.mode", 0);
    // The solids are the part the file is named after; the edges are its
    // drawing.
    const std::string part = common::BareFileName(CadSettings.CadFileName);
    const bool withSolids = !solids_.empty();
    if (withSolids) {
      BRep_Builder builder;
      TopoDS_Compound solids;
      builder.MakeCompound(solids);
      for (const TopoDS_Shape& s : solids_) builder.Add(solids, s);
      if (writer.Transfer(solids_.size() == 1 ? solids_.front() : TopoDS_Shape(solids), STEPControl_AsIs,
                          ComputeGraph) != IFSelect_RetDone)
        throw Standard_Failure("the solids could not be translated");
      NameProducts(writer.Model(), 1, part);
      // The model holds them now.
      solids_.clear();
      solids_.shrink_to_fit();
    }
    const TopoDS_Compound edges = Edges();
    if (edges.NbChildren() > 0) {
      const int before = ProductCount(writer.Model());
      if (writer.Transfer(edges, STEPControl_GeometricCurveSet, ComputeGraph) != IFSelect_RetDone)
        throw Standard_Failure("the edges could not be translated");
      NameProducts(writer.Model(), before + 1, withSolids ? part + " lines" : part);
    }
    // What the translator kept of each shape's translation is not needed
    // for the file: let go before the text is composed.
    writer.WS()->TransferWriter()->SetFinderProcess(new Transfer_FinderProcess);
    const Handle(StepData_StepModel) model = writer.Model();
    const TStepHeader texts = StepHeader();
    APIHeaderSection_MakeHeader header(model);
    header.SetName(StepText(texts.FileName));
    header.SetTimeStamp(StepText(texts.TimeStamp));
    header.SetAuthorValue(1, StepText(texts.Author));
    header.SetOrganizationValue(1, StepText(texts.Organisation));
    header.SetPreprocessorVersion(StepText(texts.PreprocessorVersion));
    header.SetOriginatingSystem(StepText(texts.OriginatingSystem));
    header.SetAuthorisation(StepText(texts.Authorisation));
    header.SetDescriptionValue(1, StepText(texts.Description));
    const Handle(StepData_Protocol) protocol = Handle(StepData_Protocol)::DownCast(writer.WS()->Protocol());
    StepData_StepWriter out(model);
    out.SendModel(protocol);
    CrLfFileBuffer buffer(file);
    std::ostream text(&buffer);
    const bool printed = out.Print(text);
    // A failed write (a full disk) is told when the file is closed, with the
    // system's reason; only a text that could not be made is the writer's.
    if (buffer.Flush() && !printed) throw Standard_Failure("the file could not be composed");
  }

  bool inBody_ = false;
  int pen_ = 0;
  Figures body_;
  Figures loose_;
  std::vector<TopoDS_Shape> solids_;
};

}  // namespace

CadBackEnd& StepBackEnd() {
  static StepDevice device;
  return device;
}

}  // namespace drawing
