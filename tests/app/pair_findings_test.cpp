// What the checks of the whole pair find reaches the engineer however much
// else the positions say: small-tooth designs whose teeth run into each
// other fill the message list with the positions' texts, and still the
// command-line run tells "teeth interfere" with its first drive angle and
// largest overlap on standard error, in the printout's remarks and before
// a CAD file is written, and the list counts the texts it leaves out.
#include <gtest/gtest.h>

#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "calc/calc_records.h"
#include "calc/spur_gear_data.h"
#include "support/batch_runs.h"
#include "support/file_test_support.h"

namespace {

using testsupport::Slurp;

struct Overlapping {
  const char* name;
  std::function<void()> change;
  // An independent check of the outlines: the first overlap at a whole
  // degree and the largest overlap.
  int degree;
  double area;
};

// The interference finding in text (the degree sign in UTF-8): its first
// angle and its largest overlap; false when it is not there.
bool FindInterference(const std::string& text, const std::string& before, const std::string& after, int& degree,
                      double& area) {
  const std::regex finding(before + R"(Warning: teeth interfere, first at (\d+)\xC2\xB0, overlap up to ([0-9.]+) mm2 !)" +
                           after);
  std::smatch m;
  if (!std::regex_search(text, m, finding)) return false;
  degree = std::stoi(m[1].str());
  area = std::stod(m[2].str());
  return true;
}

// Within two degrees on the circle, and within a fifth of the area (the
// overlap is measured on the outlines as drawn, at whole degrees).
void ExpectNear(const Overlapping& o, int degree, double area) {
  const int off = std::abs(degree - o.degree) % 360;
  EXPECT_LE(std::min(off, 360 - off), 2) << degree;
  EXPECT_NEAR(area, o.area, 0.2 * o.area);
}

TEST(PairFindings, InterferingTeethAreToldWhateverElseThePositionsSay) {
  const testsupport::ScratchDirectory dir("pair_findings");
  const std::vector<Overlapping> designs = {
      {"ellipse_z7", [] { calc::NcPair.z1 = 7; }, 43, 6.79},
      {"eccentric_z8",
       [] {
         calc::NcPair.z1 = 8;
         calc::CurveType = calc::CurveEccentric;
         calc::EccentricCurve = calc::TEccentricCurve{100, 10};
       },
       25, 4.20},
      {"focal_z9",
       [] {
         calc::CurveType = calc::CurveFormula;
         calc::PieceCount = 1;
         calc::FormulaPieces[1] = {360, "40/(1-0.5*cos(X))"};
         calc::NcPair.z1 = 9;
         calc::NcPair.ModuleMode = 2;
       },
       0, 9.67},
  };
  const std::regex notShown(R"(Warning: list full, (\d+) more messages not shown !)");
  for (const Overlapping& o : designs) {
    SCOPED_TRACE(o.name);
    const std::string design = std::string(o.name) + ".vb4";
    ASSERT_TRUE(testsupport::SaveDefaultDesignChanged(dir, design, o.change));
    int exitCode = -1;
    const std::string said = testsupport::RunProgramIn(dir, design + " /I", exitCode);
    EXPECT_EQ(exitCode, 0) << said;
    int degree = -1;
    double area = 0;
    ASSERT_TRUE(FindInterference(said, "vob4: ", "\n", degree, area)) << said;
    ExpectNear(o, degree, area);
    // The list is full: twelve lines, the last one counting the rest.
    std::smatch m;
    ASSERT_TRUE(std::regex_search(said, m, notShown)) << said;
    EXPECT_GT(std::stoi(m[1].str()), 0);

    const std::string txt = Slurp(dir.Path(std::string(o.name) + ".txt"));
    const std::string remarks = txt.substr(std::min(txt.find("REMARKS, WARNINGS"), txt.size()));
    ASSERT_TRUE(FindInterference(remarks, "\n", "\t", degree, area)) << remarks;
    ExpectNear(o, degree, area);
    EXPECT_TRUE(std::regex_search(remarks, notShown)) << remarks;

    // The same before a CAD file of gear 1 is written.
    const std::string cad = testsupport::RunProgramIn(dir, design + " /CAD1:1", exitCode);
    EXPECT_EQ(exitCode, 0) << cad;
    ASSERT_TRUE(FindInterference(cad, "vob4: ", "\n", degree, area)) << cad;
    ExpectNear(o, degree, area);
  }
}

}  // namespace
