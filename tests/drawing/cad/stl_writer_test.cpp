// The STL device: the facets of one extruded wall, the binary layout (size
// 84 + 50 n, header, attribute bytes), the ASCII lines and numbers, the STL
// type and file-name guards; and a gear picture (toothed outline with a
// bore) and the carrier outline that an independent checker finds closed
// and consistently oriented.
#include "support/run_command.h"
#include "drawing/cad/stl_writer.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <numbers>
#include <regex>

#include "common/design_documentation.h"
#include "drawing/outlines/carrier_outline.h"
#include "drawing/drawing_test_support.h"

using namespace drawing;
using drawingtest::DrawingTest;

namespace {

constexpr Real Pi = std::numbers::pi_v<Real>;

struct Facet {
  std::array<float, 3> normal;
  std::array<std::array<float, 3>, 3> vertex;
};

// The facets of a binary STL file; the count in its head must match its
// size.
std::vector<Facet> ReadBinary(const std::string& bytes) {
  std::vector<Facet> facets;
  EXPECT_GE(bytes.size(), 84u);
  if (bytes.size() < 84) return facets;
  std::uint32_t count = 0;
  std::memcpy(&count, bytes.data() + 80, 4);
  EXPECT_EQ(bytes.size(), 84u + 50u * count);
  for (std::uint32_t i = 0; i < count && 84 + 50 * (i + 1) <= bytes.size(); ++i) {
    Facet f{};
    const char* p = bytes.data() + 84 + 50 * i;
    std::memcpy(f.normal.data(), p, 12);
    for (int v = 0; v < 3; ++v) std::memcpy(f.vertex[v].data(), p + 12 + 12 * v, 12);
    EXPECT_EQ(std::string(p + 48, 2), "XX");
    facets.push_back(f);
  }
  return facets;
}

// The enclosed volume by the divergence theorem: positive when every facet
// faces out.
double SignedVolume(const std::vector<Facet>& facets) {
  double volume = 0;
  for (const Facet& f : facets) {
    const auto& a = f.vertex[0];
    const auto& b = f.vertex[1];
    const auto& c = f.vertex[2];
    volume += (a[0] * (b[1] * c[2] - b[2] * c[1]) - a[1] * (b[0] * c[2] - b[2] * c[0]) +
               a[2] * (b[0] * c[1] - b[1] * c[0])) / 6.0;
  }
  return volume;
}

class StlWriterTest : public DrawingTest {
 protected:
  StlWriterTest() : DrawingTest("stl_writer") {}
  void SetUp() override {
    DrawingTest::SetUp();
    common::MessagesEnabled = 1;
    common::ProductCode = "VOB4";
    common::ProgramVersion = "5.2";
  }
  // fn drawn on the STL device between the heights 0 and h.
  std::string Stl(const std::string& name, Real h, const std::function<void()>& fn) {
    return Write(CadDeviceStl, name, [&] {
      SetStlHeights(0, h);
      fn();
    });
  }
};

TEST_F(StlWriterTest, OneWallInTheBinaryForm) {
  const std::string bytes = Stl("wall.stl", 5, [] {
    CadLine(0, 0, 10, 0);
    CadLine(3, 3, 3, 3);  // length 0: no facet
  });
  ASSERT_EQ(bytes.size(), 84u + 50u * 2);
  EXPECT_EQ(bytes.substr(0, 80), std::string("STL binary file created by KALDRIM - VOB4 V5.2") + std::string(34, ' '));
  EXPECT_EQ(StlState.StlFacetCount, 2u);
  const auto facets = ReadBinary(bytes);
  ASSERT_EQ(facets.size(), 2u);
  const std::array<float, 3> up{0, 1, 0};
  EXPECT_EQ(facets[0].normal, up);
  EXPECT_EQ(facets[1].normal, up);
  using V = std::array<std::array<float, 3>, 3>;
  EXPECT_EQ(facets[0].vertex, (V{{{0, 0, 0}, {0, 0, 5}, {10, 0, 0}}}));
  EXPECT_EQ(facets[1].vertex, (V{{{0, 0, 5}, {10, 0, 5}, {10, 0, 0}}}));

  // An unknown type writes the binary form and is stored back as 0.
  common::CadSettings.CadStlType = 3;
  const std::string typed = Stl("typed.stl", 5, [] { CadSolid(0, 0, 4, 0, 0, 3, 4, 3); });
  EXPECT_EQ(common::CadSettings.CadStlType, 0);
  // The solid is a closed box: four walls and a face of two facets on top
  // and below.
  const auto box = ReadBinary(typed);
  EXPECT_EQ(box.size(), 12u);
  EXPECT_NEAR(SignedVolume(box), 4 * 3 * 5, 1e-4);
}

TEST_F(StlWriterTest, AsciiLinesAndNumbers) {
  EXPECT_EQ(StlNumber(12.5L), "1.25000000E+01");
  EXPECT_EQ(StlNumber(0), "0.00000000E+00");
  EXPECT_EQ(StlNumber(-3), "-3.00000000E+00");
  EXPECT_EQ(StlNumber(123.4567891L), "1.23456789E+02");
  EXPECT_EQ(StlNumber(-0.0L), "0.00000000E+00");

  common::CadSettings.CadStlType = 1;
  const std::string text = Stl("wall.stl", 5, [] { CadLine(0, 0, 10, 0); });
  const std::string expected =
      "solid KALSOLID\r\n"
      "  facet normal 0.00000000E+00 1.00000000E+00 0.00000000E+00\r\n"
      "    outer loop\r\n"
      "      vertex 0.00000000E+00 0.00000000E+00 0.00000000E+00\r\n"
      "      vertex 0.00000000E+00 0.00000000E+00 5.00000000E+00\r\n"
      "      vertex 1.00000000E+01 0.00000000E+00 0.00000000E+00\r\n"
      "    endloop\r\n"
      "  endfacet\r\n"
      "  facet normal 0.00000000E+00 1.00000000E+00 0.00000000E+00\r\n"
      "    outer loop\r\n"
      "      vertex 0.00000000E+00 0.00000000E+00 5.00000000E+00\r\n"
      "      vertex 1.00000000E+01 0.00000000E+00 5.00000000E+00\r\n"
      "      vertex 1.00000000E+01 0.00000000E+00 0.00000000E+00\r\n"
      "    endloop\r\n"
      "  endfacet\r\n"
      "endsolid KALSOLID\r\n";
  EXPECT_EQ(text, expected);
}

TEST_F(StlWriterTest, EmptyFileNameAndTheHeightQuestion) {
  StlOpen("", "KALSOLID");
  EXPECT_EQ(common::AbortFlag, 1);
  ASSERT_EQ(dialogs_.Asked().size(), 1u);
  EXPECT_EQ(dialogs_.Asked()[0].text, "invalid File name");

  // The head asks for the height.
  common::AbortFlag = 0;
  Open(CadDeviceStl, "asked.stl");
  dialogs_.Then(platform::ScriptedAnswer::Enter("25"));
  CadDrawingFrame(0, 0, 160, 120, 1);
  EXPECT_EQ(common::CadSettings.StlHeights[2], 25);
  CadCloseOutput();

  // Command-line output asks nothing: the given height holds.
  const std::size_t asked = dialogs_.Asked().size();
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(scratch_.Dir());
  common::CadBatchNaming = true;
  common::CurrentFileName = "batch";
  CadOpenOutput(CadDeviceStl);
  CadDrawingFrame(0, 0, 160, 120, 3);
  CadLine(0, 0, 1, 0);
  CadCloseOutput();
  common::CadBatchNaming = false;
  std::filesystem::current_path(cwd);
  EXPECT_TRUE(std::filesystem::exists(scratch_.Path("batch.stl")));
  EXPECT_EQ(dialogs_.Asked().size(), asked);
  EXPECT_EQ(common::CadSettings.StlHeights[2], 3);
}

TEST_F(StlWriterTest, BlockInsertedTwiceGivesTwoBodies) {
  // A square recorded as a block and placed twice, turned once: the replays
  // close into two boxes.
  Stl("blocks.stl", 2, [] {
    CadBeginBlocksSection();
    CadBeginBlock("SQUARE");
    CadRectangle(0, 0, 10, 10);
    CadEndBlock();
    CadEndSection();
    CadInsertLogos();
    CadInsertBlock("SQUARE", 0, 0, 0, 1, 1);
    CadInsertBlock("SQUARE", 50, 0, 45, 1, 1);
  });
  const auto facets = ReadBinary(testsupport::Slurp(scratch_.Path("blocks.stl")));
  EXPECT_EQ(facets.size(), 2u * 12);
  EXPECT_NEAR(SignedVolume(facets), 2 * 10 * 10 * 2, 1e-3);
}

// ---- A gear picture for the independent checker ---------------------------------------

// A toothed outline drawn as a closed polyline with arc pieces at the tips
// and roots, around a bore, and a second body: the carrier outline with its
// two bores, away from the gear.
void DrawGearPicture() {
  // As high as the test set the solid.
  CadDrawingFrame(-60, -60, 200, 60, common::CadSettings.StlHeights[2]);
  SetCadColor(19);
  const int teeth = 18;
  const Real rootRadius = 40, tipRadius = 47;
  const Real step = 2 * Pi / teeth;
  CadPolylineBegin(1);
  for (int i = 0; i < teeth; ++i) {
    const Real a = i * step;
    const Real angles[4] = {a, a + 0.3L * step, a + 0.45L * step, a + 0.75L * step};
    // Flank up, tip land as an arc, flank down, root land as an arc.
    CadPolylineVertex(rootRadius * std::cos(angles[0]), rootRadius * std::sin(angles[0]), 0);
    CadPolylineVertex(tipRadius * std::cos(angles[1]), tipRadius * std::sin(angles[1]), angles[2] - angles[1]);
    CadPolylineVertex(tipRadius * std::cos(angles[2]), tipRadius * std::sin(angles[2]), 0);
    CadPolylineVertex(rootRadius * std::cos(angles[3]), rootRadius * std::sin(angles[3]), a + step - angles[3]);
  }
  CadPolylineEnd();
  SetCadColor(21);
  CadCircle(0, 0, 12);
  // A keyway line drawn over the bore's chord would not close; the bore
  // stays round. The carrier 100 mm to the right.
  CadSetOrigin(110, 0);
  DrawArcMark(8, 6, 15, 60);
  CadSetOrigin(0, 0);
}

// The numbers of admesh's summary by their labels.
std::map<std::string, double> Admesh(const std::string& file) {
  std::map<std::string, double> values;
  const std::string out = testsupport::RunCommand("admesh '" + file + "' 2>&1");
  const std::regex line(R"(([A-Za-z][A-Za-z0-9 ]*?) +: +(-?[0-9.]+)(?: +(-?[0-9.]+))?)");
  for (auto it = std::sregex_iterator(out.begin(), out.end(), line); it != std::sregex_iterator(); ++it) {
    const std::smatch& m = *it;
    // Original and final columns: the original one says what was written.
    values[m[1]] = std::stod(m[2]);
  }
  values["(output)"] = static_cast<double>(out.size());
  if (out.find("Volume") != std::string::npos) {
    std::smatch m;
    if (std::regex_search(out, m, std::regex(R"(Volume +: +(-?[0-9.]+))"))) values["Volume"] = std::stod(m[1]);
  }
  return values;
}

TEST_F(StlWriterTest, GearPictureIsAClosedOutwardSolid) {
  const Real height = 8;
  // Area: the gear's outline less its bore, and the carrier slot less its
  // two bores, from the facets of the top faces.
  for (const int type : {0, 1}) {
    common::CadSettings.CadStlType = type;
    const std::string name = type == 0 ? "gear_binary.stl" : "gear_ascii.stl";
    const std::string bytes = Stl(name, height, DrawGearPicture);
    ASSERT_FALSE(bytes.empty());
    if (type == 0) {
      const auto facets = ReadBinary(bytes);
      // Every normal a unit vector; the solid faces out: its volume is the
      // area of the picture times the height, positive.
      for (const Facet& f : facets)
        ASSERT_NEAR(std::hypot(f.normal[0], f.normal[1], f.normal[2]), 1.0, 1e-6);
      const double carrier = (2 * 15 * 60 + Pi * 15 * 15 - Pi * 8 * 8 - Pi * 6 * 6) * height;
      const double volume = SignedVolume(facets);
      EXPECT_GT(volume, carrier + Pi * 40 * 40 * height - Pi * 12 * 12 * height);
      EXPECT_LT(volume, carrier + Pi * 47 * 47 * height);
    }
    if (!std::filesystem::exists("/usr/bin/admesh")) GTEST_SKIP() << "admesh (independent STL checker) is not installed";
    const auto summary = Admesh(scratch_.Path(name));
    ASSERT_TRUE(summary.count("Number of facets")) << "no admesh summary for " << name;
    EXPECT_EQ(summary.at("Number of facets"), StlState.StlFacetCount) << name;
    EXPECT_EQ(summary.at("Total disconnected facets"), 0) << name;
    EXPECT_EQ(summary.at("Facets with 1 disconnected edge"), 0) << name;
    EXPECT_EQ(summary.at("Backwards edges"), 0) << name;
    EXPECT_EQ(summary.at("Facets added"), 0) << name;
    EXPECT_EQ(summary.at("Facets removed"), 0) << name;
    EXPECT_EQ(summary.at("Facets reversed"), 0) << name;
    EXPECT_EQ(summary.at("Degenerate facets"), 0) << name;
    EXPECT_EQ(summary.at("Edges fixed"), 0) << name;
    EXPECT_EQ(summary.at("Number of parts"), 2) << name;
    EXPECT_GT(summary.at("Volume"), 0) << name;
  }
}

// A finely drawn gear of many teeth with three bores: thousands of points
// on one face, and more than one hole to join to its outline.
TEST_F(StlWriterTest, FinelyDrawnGearWithThreeBores) {
  if (!std::filesystem::exists("/usr/bin/admesh")) GTEST_SKIP() << "admesh (independent STL checker) is not installed";
  common::CadSettings.CadArcResolution = 0.05L;
  Stl("fine.stl", 5, [] {
    CadPolylineBegin(1);
    const int teeth = 120;
    const Real step = 2 * Pi / teeth;
    for (int i = 0; i < teeth; ++i) {
      const Real a = i * step;
      CadPolylineVertex(200 * std::cos(a), 200 * std::sin(a), 0);
      CadPolylineVertex(210 * std::cos(a + 0.3L * step), 210 * std::sin(a + 0.3L * step), 0.15L * step);
      CadPolylineVertex(210 * std::cos(a + 0.45L * step), 210 * std::sin(a + 0.45L * step), 0);
      CadPolylineVertex(200 * std::cos(a + 0.75L * step), 200 * std::sin(a + 0.75L * step), 0.25L * step);
    }
    CadPolylineEnd();
    CadCircle(0, 0, 50);
    CadCircle(100, 0, 20);
    CadCircle(-100, 20, 20);
  });
  EXPECT_GT(StlState.StlFacetCount, 50000u);
  const auto summary = Admesh(scratch_.Path("fine.stl"));
  ASSERT_TRUE(summary.count("Number of facets"));
  EXPECT_EQ(summary.at("Total disconnected facets"), 0);
  EXPECT_EQ(summary.at("Backwards edges"), 0);
  EXPECT_EQ(summary.at("Facets added"), 0);
  EXPECT_EQ(summary.at("Facets reversed"), 0);
  EXPECT_EQ(summary.at("Number of parts"), 1);
  const double area = Pi * 200 * 200 - Pi * 50 * 50 - 2 * Pi * 20 * 20;
  EXPECT_GT(summary.at("Volume"), area * 5);
  EXPECT_LT(summary.at("Volume"), (area + Pi * (210 * 210 - 200 * 200)) * 5);
}

}  // namespace
