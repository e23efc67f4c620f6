// The text of the STEP device's exchange file; see step_entities.h.
#include "drawing/cad/step_entities.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>
#include <numbers>
#include <string_view>
#include <tuple>

namespace drawing::step {

namespace {

constexpr double Pi = std::numbers::pi;

// A list breaks its line after this many references.
constexpr std::size_t ReferencesPerLine = 12;

// The code point of the UTF-8 sequence at text[at] (at moves past it); a
// byte that begins no sequence stands for itself.
char32_t NextCodePoint(const std::string& text, std::size_t& at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  const int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
  if (more == 0 || at + more >= text.size()) {
    ++at;
    return lead;
  }
  char32_t code = lead & (0x3F >> more);
  for (int k = 1; k <= more; ++k) {
    if ((byte(at + k) & 0xC0) != 0x80) {
      ++at;
      return lead;
    }
    code = (code << 6) | (byte(at + k) & 0x3F);
  }
  at += more + 1;
  return code;
}

}  // namespace

std::string StepString(const std::string& text) {
  std::string out = "'";
  std::string wide;  // code points beyond ASCII waiting for their \X2\ run
  const auto closeWide = [&] {
    if (wide.empty()) return;
    out += "\\X2\\" + wide + "\\X0\\";
    wide.clear();
  };
  for (std::size_t at = 0; at < text.size();) {
    const char32_t c = NextCodePoint(text, at);
    if (c >= 0x20 && c < 0x7F) {
      closeWide();
      if (c == '\'') out += "''";
      else if (c == '\\') out += "\\\\";
      else out += static_cast<char>(c);
      continue;
    }
    char hex[16];
    if (c < 0x10000) {
      std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(c));
    } else {
      // Beyond the basic plane: its UTF-16 pair.
      const char32_t v = c - 0x10000;
      std::snprintf(hex, sizeof hex, "%04X%04X", static_cast<unsigned>(0xD800 + (v >> 10)),
                    static_cast<unsigned>(0xDC00 + (v & 0x3FF)));
    }
    wide += hex;
  }
  closeWide();
  return out + "'";
}

std::size_t EntityWriter::Emit() {
  const std::size_t id = next_++;
  // No number goes through the stream, whose locale might group digits.
  char buffer[32] = {'#'};
  const auto [end, error] = std::to_chars(buffer + 1, buffer + sizeof buffer, id);
  (void)error;
  out_.write(buffer, end - buffer);
  out_.write(" = ", 3);
  out_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
  out_.write(";\n", 2);
  text_.clear();
  return id;
}

void EntityWriter::Real(double v) {
  if (!std::isfinite(v) || v == 0) v = 0;
  char buffer[40];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, v);
  const std::string_view written(buffer, error == std::errc() ? static_cast<std::size_t>(end - buffer) : 0);
  const std::size_t e = written.find('e');
  const std::string_view mantissa = written.substr(0, e);
  text_ += mantissa;
  if (mantissa.find('.') == std::string_view::npos) text_ += '.';
  if (e != std::string_view::npos) {
    text_ += 'E';
    text_ += written.substr(e + 1);
  }
}

void EntityWriter::Ref(std::size_t id) {
  char buffer[24];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, id);
  (void)error;
  text_ += '#';
  text_.append(buffer, end);
}

void EntityWriter::RefList(const std::vector<std::size_t>& ids) {
  text_ += '(';
  for (std::size_t i = 0; i < ids.size(); ++i) {
    if (i > 0) text_ += i % ReferencesPerLine == 0 ? ",\n  " : ",";
    Ref(ids[i]);
  }
  text_ += ')';
}

std::size_t EntityWriter::PointAt(double x, double y, double z) {
  return Entity("CARTESIAN_POINT('',(", Number{x}, ",", Number{y}, ",", Number{z}, "))");
}

std::size_t EntityWriter::DirectionOf(double x, double y, double z) {
  std::size_t& known = directions_[{x, y, z}];
  if (known != 0) return known;
  known = Entity("DIRECTION('',(", Number{x}, ",", Number{y}, ",", Number{z}, "))");
  return known;
}

std::size_t EntityWriter::Placement(std::size_t location, std::size_t axis, std::size_t reference) {
  return Entity("AXIS2_PLACEMENT_3D('',", Id{location}, ",", Id{axis}, ",", Id{reference}, ")");
}

void EntityWriter::Header(const TStepHeader& header) {
  out_ << "ISO-10303-21;\nHEADER;\n"
       << "FILE_DESCRIPTION((" << StepString(header.Description) << "),'2;1');\n"
       << "FILE_NAME(" << StepString(header.FileName) << ',' << StepString(header.TimeStamp) << ",("
       << StepString(header.Author) << "),(" << StepString(header.Organisation) << "),"
       << StepString(header.PreprocessorVersion) << ',' << StepString(header.OriginatingSystem) << ','
       << StepString(header.Authorisation) << ");\n"
       << "FILE_SCHEMA(('AUTOMOTIVE_DESIGN { 1 0 10303 214 1 1 1 1 }'));\nENDSEC;\nDATA;\n";
}

void EntityWriter::Trailer() { out_ << "ENDSEC;\nEND-ISO-10303-21;\n"; }

// The application, the units (millimetre, radian, steradian) and the
// uncertainty of every representation, written once.
std::size_t EntityWriter::Context() {
  if (context_ != 0) return context_;
  application_ = Entity("APPLICATION_CONTEXT('core data for automotive mechanical design processes')");
  Entity("APPLICATION_PROTOCOL_DEFINITION('international standard','automotive_design',2000,", Id{application_}, ")");
  const std::size_t length = Entity("( LENGTH_UNIT() NAMED_UNIT(*) SI_UNIT(.MILLI.,.METRE.) )");
  const std::size_t angle = Entity("( NAMED_UNIT(*) PLANE_ANGLE_UNIT() SI_UNIT($,.RADIAN.) )");
  const std::size_t solidAngle = Entity("( NAMED_UNIT(*) SI_UNIT($,.STERADIAN.) SOLID_ANGLE_UNIT() )");
  const std::size_t uncertainty = Entity("UNCERTAINTY_MEASURE_WITH_UNIT(LENGTH_MEASURE(1.E-07),", Id{length},
                                         ",'distance_accuracy_value','confusion accuracy')");
  context_ = Entity("( GEOMETRIC_REPRESENTATION_CONTEXT(3) GLOBAL_UNCERTAINTY_ASSIGNED_CONTEXT((", Id{uncertainty},
                    ")) GLOBAL_UNIT_ASSIGNED_CONTEXT((", Id{length}, ",", Id{angle}, ",", Id{solidAngle},
                    ")) REPRESENTATION_CONTEXT('Context #1','3D Context with UNIT and UNCERTAINTY') )");
  return context_;
}

// The placement of the world, the first item of every representation, and
// the directions of its axes z and x.
std::size_t EntityWriter::Origin() {
  if (origin_ != 0) return origin_;
  up_ = DirectionOf(0, 0, 1);
  across_ = DirectionOf(1, 0, 0);
  origin_ = Placement(PointAt(0, 0, 0), up_, across_);
  return origin_;
}

// The product of one part, its definition and the shape it has.
void EntityWriter::Product(const std::string& name, std::size_t representation) {
  const std::string quoted = StepString(name);
  const std::size_t productContext = Entity("PRODUCT_CONTEXT('',", Id{application_}, ",'mechanical')");
  const std::size_t product = Entity("PRODUCT(", quoted, ",", quoted, ",'',(", Id{productContext}, "))");
  Entity("PRODUCT_RELATED_PRODUCT_CATEGORY('part',$,(", Id{product}, "))");
  const std::size_t formation = Entity("PRODUCT_DEFINITION_FORMATION('','',", Id{product}, ")");
  const std::size_t definitionContext =
      Entity("PRODUCT_DEFINITION_CONTEXT('part definition',", Id{application_}, ",'design')");
  const std::size_t definition =
      Entity("PRODUCT_DEFINITION('design','',", Id{formation}, ",", Id{definitionContext}, ")");
  const std::size_t shape = Entity("PRODUCT_DEFINITION_SHAPE('','',", Id{definition}, ")");
  Entity("SHAPE_DEFINITION_REPRESENTATION(", Id{shape}, ",", Id{representation}, ")");
}

void EntityWriter::Solids(const std::vector<Slab>& slabs, const std::string& name) {
  const std::size_t context = Context();
  std::vector<std::size_t> items{Origin()};
  for (const Slab& slab : slabs) items.push_back(Solid(slab));
  Product(name, Entity("ADVANCED_BREP_SHAPE_REPRESENTATION('',", items, ",", Id{context}, ")"));
}

// One slab as a manifold solid: its edges at both heights, an edge up at
// every corner of its boundaries, a side face over every boundary edge and
// the faces of its caps.
std::size_t EntityWriter::Solid(const Slab& slab) {
  Origin();
  const Sketch& s = slab.sketch;
  const std::size_t nv = s.x.size(), ne = s.edges.size();
  const double heights[2] = {slab.lo, slab.hi};
  // [0] at the bottom, [1] at the top; 0: not written yet.
  std::vector<std::size_t> points[2] = {std::vector<std::size_t>(nv, 0), std::vector<std::size_t>(nv, 0)};
  std::vector<std::size_t> vertices[2] = {points[0], points[1]};
  const auto vertex = [&](std::size_t v, int level) {
    if (vertices[level][v] == 0) {
      points[level][v] = PointAt(s.x[v], s.y[v], heights[level]);
      vertices[level][v] = Entity("VERTEX_POINT('',", Id{points[level][v]}, ")");
    }
    return vertices[level][v];
  };
  // The edges at both heights; a line's direction serves its two edges and
  // the plane over it, an arc's placement at the bottom the cylinder over it.
  std::vector<std::size_t> curves[2] = {std::vector<std::size_t>(ne, 0), std::vector<std::size_t>(ne, 0)};
  std::vector<std::size_t> directions(ne, 0), placements(ne, 0);
  std::vector<double> dx(ne, 1), dy(ne, 0);
  // A smooth curve's control points at both heights, for the surface over it.
  std::vector<std::vector<std::size_t>> poles[2] = {std::vector<std::vector<std::size_t>>(ne),
                                                    std::vector<std::vector<std::size_t>>(ne)};
  std::map<std::size_t, std::size_t> vectors;  // direction -> its vector of length 1
  for (std::size_t e = 0; e < ne; ++e) {
    const Edge& edge = s.edges[e];
    std::size_t vector = 0;
    if (!edge.poles.empty()) {
      for (int level = 0; level < 2; ++level) {
        const std::size_t v1 = vertex(edge.from, level), v2 = vertex(edge.to, level);
        poles[level][e] = SplinePoles(edge.poles, heights[level], points[level][edge.from], points[level][edge.to]);
        curves[level][e] = Entity("EDGE_CURVE('',", Id{v1}, ",", Id{v2}, ",", Id{Spline(poles[level][e])}, ",.T.)");
      }
      continue;
    }
    if (!edge.arc) {
      const double length = std::hypot(s.x[edge.to] - s.x[edge.from], s.y[edge.to] - s.y[edge.from]);
      if (length > 0) dx[e] = (s.x[edge.to] - s.x[edge.from]) / length, dy[e] = (s.y[edge.to] - s.y[edge.from]) / length;
      directions[e] = DirectionOf(dx[e], dy[e], 0);
      std::size_t& known = vectors[directions[e]];
      if (known == 0) known = Entity("VECTOR('',", Id{directions[e]}, ",1.)");
      vector = known;
    }
    for (int level = 0; level < 2; ++level) {
      const std::size_t v1 = vertex(edge.from, level), v2 = vertex(edge.to, level);
      std::size_t curve;
      if (edge.arc) {
        const std::size_t placement = Placement(PointAt(edge.cx, edge.cy, heights[level]), up_, across_);
        if (level == 0) placements[e] = placement;
        curve = Entity("CIRCLE('',", Id{placement}, ",", Number{edge.r}, ")");
      } else {
        curve = Entity("LINE('',", Id{points[level][edge.from]}, ",", Id{vector}, ")");
      }
      curves[level][e] = Entity("EDGE_CURVE('',", Id{v1}, ",", Id{v2}, ",", Id{curve}, ",.T.)");
    }
  }
  // The edges up, at the corners of the boundaries.
  std::vector<std::size_t> rising(nv, 0);
  std::size_t upward = 0;
  const auto rise = [&](std::size_t v) {
    if (rising[v] == 0) {
      if (upward == 0) upward = Entity("VECTOR('',", Id{up_}, ",1.)");
      const std::size_t line = Entity("LINE('',", Id{points[0][v]}, ",", Id{upward}, ")");
      const std::size_t bottom = vertex(v, 0), top = vertex(v, 1);
      rising[v] = Entity("EDGE_CURVE('',", Id{bottom}, ",", Id{top}, ",", Id{line}, ",.T.)");
    }
    return rising[v];
  };
  const auto oriented = [&](std::size_t edge, bool forward) {
    return Entity("ORIENTED_EDGE('',*,*,", Id{edge}, forward ? ",.T.)" : ",.F.)");
  };
  const auto loop = [&](const std::vector<std::size_t>& edges, bool outer) {
    const std::size_t id = Entity("EDGE_LOOP('',", edges, ")");
    return Entity(outer ? "FACE_OUTER_BOUND(''," : "FACE_BOUND('',", Id{id}, ",.T.)");
  };
  const auto face = [&](const std::vector<std::size_t>& bounds, std::size_t surface, bool sameSense) {
    return Entity("ADVANCED_FACE('',", bounds, ",", Id{surface}, sameSense ? ",.T.)" : ",.F.)");
  };
  std::vector<std::size_t> faces;
  // The sides, each facing out of the material (right of the boundary as
  // it runs): along the edge at the bottom, up, back along the top, down.
  for (const Ring& ring : slab.boundaries)
    for (const Use& use : ring) {
      const Edge& edge = s.edges[use.edge];
      const std::size_t a = use.forward ? edge.from : edge.to, b = use.forward ? edge.to : edge.from;
      const std::size_t up = rise(b), down = rise(a);
      std::vector<std::size_t> edges{oriented(curves[0][use.edge], use.forward), oriented(up, true),
                                     oriented(curves[1][use.edge], !use.forward), oriented(down, false)};
      std::size_t surface;
      bool sameSense = true;
      if (!edge.poles.empty()) {
        // The curve swept up, facing right of it as it runs (out of the
        // material where the boundary runs along it).
        surface = SplineSide(poles[0][use.edge], poles[1][use.edge]);
        sameSense = use.forward;
      } else if (edge.arc) {
        // The cylinder faces away from its axis: out of the material where
        // the boundary runs counter-clockwise round it.
        surface = Entity("CYLINDRICAL_SURFACE('',", Id{placements[use.edge]}, ",", Number{edge.r}, ")");
        sameSense = use.forward;
      } else {
        const double nx = use.forward ? dy[use.edge] : -dy[use.edge];
        const double ny = use.forward ? -dx[use.edge] : dx[use.edge];
        const std::size_t placement = Placement(points[0][edge.from], DirectionOf(nx, ny, 0), directions[use.edge]);
        surface = Entity("PLANE('',", Id{placement}, ")");
      }
      faces.push_back(face({loop(edges, true)}, surface, sameSense));
    }
  // The caps: the top facing up, its rings as they run; the bottom facing
  // down, its rings walked the other way round.
  std::size_t planes[2];
  for (int level = 0; level < 2; ++level) {
    const std::size_t placement = Placement(PointAt(0, 0, heights[level]), up_, across_);
    planes[level] = Entity("PLANE('',", Id{placement}, ")");
  }
  for (const std::vector<Ring>& cap : slab.caps)
    for (int level = 0; level < 2; ++level) {
      std::vector<std::size_t> bounds;
      for (std::size_t k = 0; k < cap.size(); ++k) {
        const Ring& ring = cap[k];
        std::vector<std::size_t> edges;
        edges.reserve(ring.size());
        if (level == 1) {
          for (const Use& use : ring) edges.push_back(oriented(curves[1][use.edge], use.forward));
        } else {
          for (std::size_t i = ring.size(); i-- > 0;) edges.push_back(oriented(curves[0][ring[i].edge], !ring[i].forward));
        }
        bounds.push_back(loop(edges, k == 0));
      }
      faces.push_back(face(bounds, planes[level], level == 1));
    }
  const std::size_t shell = Entity("CLOSED_SHELL('',", faces, ")");
  return Entity("MANIFOLD_SOLID_BREP('',", Id{shell}, ")");
}

void EntityWriter::Curves(const Sketch& sketch, const std::string& name) {
  const std::size_t context = Context();
  const std::size_t origin = Origin();
  std::vector<std::size_t> points(sketch.x.size(), 0);
  const auto point = [&](std::size_t v) {
    if (points[v] == 0) points[v] = PointAt(sketch.x[v], sketch.y[v], 0);
    return points[v];
  };
  // Each edge as a bounded curve from its `from` to its `to`.
  const auto bounded = [&](const Edge& edge) -> std::size_t {
    if (!edge.poles.empty()) return Spline(SplinePoles(edge.poles, 0, point(edge.from), point(edge.to)));
    if (edge.arc && edge.from == edge.to) {
      // A whole circle, as it is.
      const std::size_t placement = Placement(PointAt(edge.cx, edge.cy, 0), up_, across_);
      return Entity("CIRCLE('',", Id{placement}, ",", Number{edge.r}, ")");
    }
    const std::size_t p1 = point(edge.from), p2 = point(edge.to);
    const double x1 = sketch.x[edge.from], y1 = sketch.y[edge.from];
    const double x2 = sketch.x[edge.to], y2 = sketch.y[edge.to];
    double u1 = 0, u2 = 0;
    std::size_t basis;
    if (edge.arc) {
      const std::size_t placement = Placement(PointAt(edge.cx, edge.cy, 0), up_, across_);
      basis = Entity("CIRCLE('',", Id{placement}, ",", Number{edge.r}, ")");
      u1 = std::atan2(y1 - edge.cy, x1 - edge.cx);
      u2 = std::atan2(y2 - edge.cy, x2 - edge.cx);
      if (u1 < 0) u1 += 2 * Pi;
      while (u2 <= u1) u2 += 2 * Pi;
    } else {
      const double length = std::hypot(x2 - x1, y2 - y1);
      const std::size_t direction = length > 0 ? DirectionOf((x2 - x1) / length, (y2 - y1) / length, 0) : across_;
      const std::size_t vector = Entity("VECTOR('',", Id{direction}, ",1.)");
      basis = Entity("LINE('',", Id{p1}, ",", Id{vector}, ")");
      u2 = length;
    }
    return Entity("TRIMMED_CURVE('',", Id{basis}, ",(", Id{p1}, ",PARAMETER_VALUE(", Number{u1}, ")),(", Id{p2},
                  ",PARAMETER_VALUE(", Number{u2}, ")),.T.,.PARAMETER.)");
  };
  // The edges in runs that go on from one edge to the next (a run's edges
  // follow each other in the sketch, each walked from the vertex the one
  // before ended at): a run of several edges is one composite curve, which
  // readers take as one chain of edges, not as loose ones.
  std::vector<std::size_t> curves;
  const std::size_t ne = sketch.edges.size();
  for (std::size_t first = 0; first < ne;) {
    // The first edge is walked backwards (an arc drawn clockwise) when only
    // its `from` meets the next one.
    const Edge& start = sketch.edges[first];
    bool forward = true;
    if (first + 1 < ne) {
      const Edge& second = sketch.edges[first + 1];
      const bool toMeets = second.from == start.to || second.to == start.to;
      const bool fromMeets = second.from == start.from || second.to == start.from;
      forward = toMeets || !fromMeets;
    }
    std::vector<std::pair<std::size_t, bool>> chain{{first, forward}};
    const std::size_t begin = forward ? start.from : start.to;
    std::size_t at = forward ? start.to : start.from;
    std::size_t next = first + 1;
    for (; next < ne && at != begin; ++next) {
      const Edge& edge = sketch.edges[next];
      if (edge.from == edge.to) break;
      if (edge.from == at) {
        chain.emplace_back(next, true);
        at = edge.to;
      } else if (edge.to == at) {
        chain.emplace_back(next, false);
        at = edge.from;
      } else {
        break;
      }
    }
    if (chain.size() == 1) {
      curves.push_back(bounded(start));
    } else {
      std::vector<std::size_t> segments;
      for (std::size_t k = 0; k < chain.size(); ++k) {
        const std::size_t curve = bounded(sketch.edges[chain[k].first]);
        // The last segment of an open run ends it; every other goes on.
        const char* transition = k + 1 == chain.size() && at != begin ? ".DISCONTINUOUS." : ".CONTINUOUS.";
        segments.push_back(Entity("COMPOSITE_CURVE_SEGMENT(", transition, chain[k].second ? ",.T.," : ",.F.,",
                                  Id{curve}, ")"));
      }
      curves.push_back(Entity("COMPOSITE_CURVE('',", segments, ",.F.)"));
    }
    first = next;
  }
  const std::size_t set = Entity("GEOMETRIC_CURVE_SET('',", curves, ")");
  Product(name, Entity("GEOMETRICALLY_BOUNDED_WIREFRAME_SHAPE_REPRESENTATION('',(", Id{origin}, ",", Id{set}, "),",
                       Id{context}, ")"));
}

// The control points of a smooth curve at height z, the first and the
// last the given points of its vertices.
std::vector<std::size_t> EntityWriter::SplinePoles(const std::vector<double>& poles, double z, std::size_t first,
                                                   std::size_t last) {
  const std::size_t count = poles.size() / 2;
  std::vector<std::size_t> ids(count);
  ids.front() = first;
  for (std::size_t i = 1; i + 1 < count; ++i) ids[i] = PointAt(poles[2 * i], poles[2 * i + 1], z);
  ids.back() = last;
  return ids;
}

namespace {

// The knots of a Bezier curve of n control points as a B-spline of one
// span: multiplicities and values.
std::string KnotText(std::size_t n) {
  const std::string ends = std::to_string(n);
  return "(" + ends + "," + ends + "),(0.,1.)";
}

}  // namespace

std::size_t EntityWriter::Spline(const std::vector<std::size_t>& poles) {
  return Entity("B_SPLINE_CURVE_WITH_KNOTS('',", std::to_string(poles.size() - 1), ",", poles,
                ",.UNSPECIFIED.,.F.,.F.,", KnotText(poles.size()), ",.UNSPECIFIED.)");
}

std::size_t EntityWriter::SplineSide(const std::vector<std::size_t>& bottom, const std::vector<std::size_t>& top) {
  // The control points column by column along the curve, each from the
  // bottom up.
  Put("B_SPLINE_SURFACE_WITH_KNOTS('',");
  Put(std::to_string(bottom.size() - 1));
  Put(",1,(");
  for (std::size_t i = 0; i < bottom.size(); ++i) {
    if (i > 0) Put(",");
    Put("(");
    Ref(bottom[i]);
    Put(",");
    Ref(top[i]);
    Put(")");
  }
  const std::string knots = KnotText(bottom.size());
  // The curve's knots along, one span up.
  const std::size_t split = knots.find("),(");
  return Entity("),.UNSPECIFIED.,.F.,.F.,.F.,", knots.substr(0, split + 1), ",(2,2),", knots.substr(split + 2),
                ",(0.,1.),.UNSPECIFIED.)");
}

}  // namespace drawing::step
