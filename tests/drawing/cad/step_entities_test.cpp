// The STEP device's own entities: a slab with a round hole written as the
// golden file says (header, units, products, one closed shell of planes and
// a cylinder); every reference of a written file names an entity of it,
// and every edge of a solid bounds two faces, once each way round (a
// closed shell, its faces turned alike), also with caps cut into sectors
// and holes among them, in any locale, and with smooth sides; every point
// written is used; texts are quoted as the standard asks.
#include "drawing/cad/step_entities.h"

#include <gtest/gtest.h>

#include <cmath>
#include <locale>
#include <map>
#include <numbers>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "drawing/cad/step_geometry.h"
#include "support/golden_files.h"

namespace {

using namespace drawing;

constexpr double Pi = std::numbers::pi;

step::Path Polygon(const std::vector<std::pair<double, double>>& corners) {
  step::Path path;
  for (const auto& [x, y] : corners) path.push_back({x, y});
  return path;
}

TStepHeader FixedHeader() {
  TStepHeader header;
  header.FileName = "plate.stp";
  header.TimeStamp = "2026-03-09T10:30:00Z";
  return header;
}

// A locale that groups digits in threes and writes a decimal comma.
struct GroupingPunctuation : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
  char do_thousands_sep() const override { return '.'; }
  std::string do_grouping() const override { return "\3"; }
};

std::string Written(const std::vector<step::Slab>& slabs, const step::Sketch& lines, bool grouping = false) {
  std::ostringstream text;
  if (grouping) text.imbue(std::locale(std::locale::classic(), new GroupingPunctuation));
  step::EntityWriter out(text);
  out.Header(FixedHeader());
  if (!slabs.empty()) out.Solids(slabs, "plate");
  if (!lines.edges.empty()) out.Curves(lines, "plate lines");
  out.Trailer();
  return text.str();
}

// What the data section's entities say of the solids: each entity's name,
// the references that are not defined, and how often each edge of a solid
// is walked each way round by the loops of its faces.
struct Entities {
  std::map<long, std::string> kind;
  std::vector<long> undefined;
  std::map<long, std::pair<int, int>> walks;  // edge -> (forward, backward)
  std::set<long> referenced;
  long defined = 0;

  int Count(const std::string& name) const {
    int n = 0;
    for (const auto& [id, k] : kind) n += k == name;
    return n;
  }
};

Entities Parse(const std::string& text) {
  Entities e;
  std::string data = text.substr(text.find("DATA;"));
  // An entity may run over several lines.
  std::string joined;
  for (const char c : data)
    if (c != '\n' && c != '\r') joined += c;
  const std::regex entity(R"(#(\d+) = \(? ?([A-Z_0-9]+)\(([^;]*)\);)");
  std::set<long> references;
  for (auto it = std::sregex_iterator(joined.begin(), joined.end(), entity); it != std::sregex_iterator(); ++it) {
    const long id = std::stol((*it)[1]);
    e.kind[id] = (*it)[2];
    ++e.defined;
    const std::string args = (*it)[3];
    const std::regex ref(R"(#(\d+))");
    for (auto r = std::sregex_iterator(args.begin(), args.end(), ref); r != std::sregex_iterator(); ++r)
      references.insert(std::stol((*r)[1]));
    if (e.kind[id] == "ORIENTED_EDGE") {
      std::smatch m;
      if (std::regex_search(args, m, std::regex(R"(#(\d+),\.([TF])\.)"))) {
        auto& w = e.walks[std::stol(m[1])];
        (m[2] == "T" ? w.first : w.second)++;
      }
    }
  }
  for (const long r : references)
    if (!e.kind.count(r)) e.undefined.push_back(r);
  e.referenced = references;
  return e;
}

// Every edge of the solids bounds two faces, walked once each way round.
void ExpectClosedShells(const Entities& e) {
  EXPECT_TRUE(e.undefined.empty()) << "undefined #" << e.undefined.front();
  int edges = 0;
  for (const auto& [id, kind] : e.kind)
    if (kind == "EDGE_CURVE") {
      ++edges;
      const auto found = e.walks.find(id);
      ASSERT_NE(found, e.walks.end()) << "edge #" << id << " bounds no face";
      EXPECT_EQ(found->second, std::make_pair(1, 1)) << "edge #" << id;
    }
  EXPECT_GT(edges, 0);
}

TEST(StepEntities, SlabWithRoundHoleIsWrittenAsTheGoldenFileSays) {
  step::Slab slab;
  const step::Loop outer{Polygon({{0, 0}, {20, 0}, {20, 10}, {0, 10}})};
  ASSERT_TRUE(step::MakeSlab(outer, {step::Loop{{}, 12, 5, 2.5}}, 0, 3, slab));
  // A line and a quarter arc beside it, as the part's lines.
  step::Sketch lines;
  step::AddPathEdges(Polygon({{30, 0}, {40, 0}, {40, 0.5}}), lines);
  const std::size_t a = lines.AddVertex(50, 0), b = lines.AddVertex(45, 5);
  lines.AddEdge(step::Edge::Arc(a, b, 45, 0, 5));
  const std::string text = Written({slab}, lines);
  testsupport::ExpectGolden(text, "drawing/step_slab.stp");
  const Entities e = Parse(text);
  ExpectClosedShells(e);
  // Four planes, the hole's cylinder (with its seam), the two caps.
  EXPECT_EQ(e.Count("ADVANCED_FACE"), 4 + 1 + 2);
  EXPECT_EQ(e.Count("CYLINDRICAL_SURFACE"), 1);
  EXPECT_EQ(e.Count("MANIFOLD_SOLID_BREP"), 1);
  EXPECT_EQ(e.Count("PRODUCT"), 2);
  EXPECT_EQ(e.Count("TRIMMED_CURVE"), 3);
}

// A star of 240 sides round a bore, with two small holes: the caps are
// cut into sectors from the bore, each hole lies in one of them.
TEST(StepEntities, SectorsOfACapCloseTheShellRoundBoreAndHoles) {
  step::Path star;
  for (int i = 0; i < 240; ++i) {
    const double a = 2 * Pi * i / 240, r = i % 2 == 0 ? 50 : 46;
    star.push_back({r * std::cos(a), r * std::sin(a)});
  }
  const std::vector<step::Loop> holes{step::Loop{{}, 0, 0, 10}, step::Loop{{}, 30, 0, 3},
                                      step::Loop{Polygon({{-32, -2}, {-28, -2}, {-28, 2}, {-32, 2}})}};
  step::Slab slab;
  ASSERT_TRUE(step::MakeSlab(step::Loop{star}, holes, -2, 5, slab));
  ASSERT_GE(slab.caps.size(), 3u);
  std::size_t rings = 0;
  for (const auto& cap : slab.caps) rings += cap.size();
  EXPECT_EQ(rings, slab.caps.size() + 2) << "each hole but the bore in one sector";
  const std::string text = Written({slab}, {});
  const Entities e = Parse(text);
  ExpectClosedShells(e);
  // Thousands of entities, numbered and measured alike in any locale of the
  // stream.
  ASSERT_GT(e.defined, 1000);
  EXPECT_TRUE(Written({slab}, {}, true) == text);
  // A side per star side, per hole side and per arc of the bore between the
  // cuts; two faces per sector.
  EXPECT_EQ(e.Count("ADVANCED_FACE"), static_cast<int>(240 + 1 + 4 + slab.caps.size() + 2 * slab.caps.size()));
  EXPECT_EQ(e.Count("CYLINDRICAL_SURFACE"), static_cast<int>(1 + slab.caps.size()));
}

// A disc drawn as 360 lines round a square hole: a closed shell of a few
// smooth sides (B-spline surfaces over the curves along its lines, each of
// one span); and every point written is used by an entity, also where a
// whole circle among the lines has no vertex.
TEST(StepEntities, SmoothSidesCloseTheShellAndEveryPointIsUsed) {
  step::Path disc;
  for (int i = 0; i < 360; ++i) disc.push_back({30 * std::cos(i * Pi / 180), 30 * std::sin(i * Pi / 180)});
  step::Slab slab;
  ASSERT_TRUE(step::MakeSlab(step::Loop{disc}, {step::Loop{Polygon({{-5, -5}, {5, -5}, {5, 5}, {-5, 5}})}}, 0, 5, slab));
  step::Sketch lines;
  const std::size_t v = lines.AddVertex(60, 0);
  lines.AddEdge(step::Edge::Arc(v, v, 50, 0, 10));
  const std::string text = Written({slab}, lines);
  const Entities e = Parse(text);
  ExpectClosedShells(e);
  const int smooth = e.Count("B_SPLINE_SURFACE_WITH_KNOTS");
  EXPECT_GE(smooth, 4);
  EXPECT_LE(smooth, 24);
  // The square hole's four planes, the caps' sectors at both heights.
  EXPECT_EQ(e.Count("ADVANCED_FACE"), static_cast<int>(smooth + 4 + 2 * slab.caps.size()));
  // Cubic across, one span each way.
  EXPECT_NE(text.find("B_SPLINE_SURFACE_WITH_KNOTS('',3,1,(("), std::string::npos);
  EXPECT_NE(text.find(",.F.,.F.,.F.,(4,4),(2,2),(0.,1.),(0.,1.),"), std::string::npos);
  for (const auto& [id, kind] : e.kind) {
    if (kind == "CARTESIAN_POINT") {
      EXPECT_TRUE(e.referenced.count(id)) << "point #" << id << " is not used";
    }
  }
}

TEST(StepEntities, TextsAreQuotedAsTheStandardAsks) {
  EXPECT_EQ(step::StepString("it's"), "'it''s'");
  EXPECT_EQ(step::StepString("C:\\gears\\a.stp"), "'C:\\\\gears\\\\a.stp'");
  // Beyond ASCII: runs of 16-bit code units, a pair beyond the basic plane.
  EXPECT_EQ(step::StepString("Zahnr\xC3\xA4" "der \xC3\x9F"), "'Zahnr\\X2\\00E4\\X0\\der \\X2\\00DF\\X0\\'");
  EXPECT_EQ(step::StepString("\xF0\x9F\x94\xA7"), "'\\X2\\D83DDD27\\X0\\'");
  // A byte that begins no character stands for itself.
  EXPECT_EQ(step::StepString("a\xE4"), "'a\\X2\\00E4\\X0\\'");
  EXPECT_EQ(step::StepString(""), "''");
}

}  // namespace
