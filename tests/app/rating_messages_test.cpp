// What the rating finds reaches the engineer: the default design with one
// change each, printed by the command-line run ("/I"), tells its finding in
// the printout's remarks and on standard error, once, with the first drive
// angle where a position raised it; positions that fail are counted and
// named; material values no gear can have are refused by name.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "calc/calc_records.h"
#include "calc/spur_gear_data.h"
#include "support/batch_runs.h"
#include "support/file_test_support.h"

namespace {

using calc::SpurGearData;
using testsupport::Slurp;

std::size_t Occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

struct Finding {
  const char* name;
  std::function<void()> change;
  std::string message;  // as printed, the degree sign in UTF-8
};

// The message as the printout and standard error show it.
std::string FirstAt(const std::string& message, int degree) {
  return message + " first at " + std::to_string(degree) + "\xC2\xB0";
}

TEST(RatingMessages, EveryFindingOfThePositionsIsToldOnceWithItsAngle) {
  const testsupport::ScratchDirectory dir("rating_messages");
  auto& g = SpurGearData;
  const std::vector<Finding> findings = {
      // Teeth that lose contact: contact ratio 0.86.
      {"short_teeth", [&] { g.hfP0Factor[1] = g.hfP0Factor[2] = 0.5L; }, FirstAt("eps.alpha < 1 !", 1)},
      // A rim diameter above the root (109.89): rated as a solid blank.
      {"rim", [&] { g.BodyInnerDiameter[1] = 115; },
       FirstAt("Warning: rim di >= df: rated as solid blank (1)", 1)},
      {"clearance", [&] { g.haP0Factor[1] = g.haP0Factor[2] = 1.05L; },
       FirstAt("Warning: clearance sh.add. < 0.12mn ! (1)", 1)},
      {"grade", [&] { g.AccuracyGrade[1] = 8; }, FirstAt("Warning: Tsn < 2Rs !  (1)", 1)},
      {"offset_din",
       [&] {
         g.CalcMethod = 1;
         g.l1 = 100;
         g.s1 = 40;
       },
       FirstAt("Warning: s/l > 0.3 !", 1)},
      // The ISO factor K' takes s/l as well.
      {"offset_iso",
       [&] {
         g.l1 = 100;
         g.s1 = 40;
       },
       FirstAt("Warning: s/l > 0.3 !", 1)},
      {"bore", [&] { g.BoreDiameter[1] = 70; }, FirstAt("Warning: d bore > 0.6 df (1)", 1)},
      {"root_roughness", [&] { g.RzRoot[1] = 50; }, FirstAt("Error  : YRrelT: Rz > 40 !", 1)},
      {"poisson", [&] { g.mue[1] = 1; }, FirstAt("Error  : mue >= 1 !", 1)},
      // 600 teeth on a pitch curve of radius 50 to 60: module 0.2.
      {"module", [&] { calc::NcPair.z1 = 600; }, FirstAt("Warning: Fr: (0.5<=mn<=70)", 1)},
      // A light load: each method says what it takes at 100 N/mm.
      {"light_din",
       [&] {
         g.CalcMethod = 1;
         g.P = 5;
       },
       FirstAt("Warning: Ft/b*KA < 100 !", 1)},
      {"light_iso", [&] { g.P = 5; }, FirstAt("Warning: KHbeta taken at 100 N/mm (Ft/b*KA < 100) !", 1)},
  };
  for (const Finding& f : findings) {
    SCOPED_TRACE(f.name);
    const std::string design = std::string(f.name) + ".vb4";
    ASSERT_TRUE(testsupport::SaveDefaultDesignChanged(dir, design, f.change));
    int exitCode = -1;
    const std::string said = testsupport::RunProgramIn(dir, design + " /I", exitCode);
    EXPECT_EQ(exitCode, 0) << said;
    EXPECT_EQ(Occurrences(said, "vob4: " + f.message + "\n"), 1u) << said;
    const std::string txt = Slurp(dir.Path(std::string(f.name) + ".txt"));
    EXPECT_EQ(Occurrences(txt, "\n" + f.message + "\t"), 1u) << txt.substr(txt.rfind("REMARKS") == std::string::npos ? 0 : txt.rfind("REMARKS"));
  }
}

// Positions that cannot be rated are counted, and the remark is followed by
// what failed, each text with its first angle.
TEST(RatingMessages, FailedPositionsAreNamed) {
  const testsupport::ScratchDirectory dir("rating_failed_positions");
  ASSERT_TRUE(testsupport::SaveDefaultDesignChanged(dir, "z14.vb4", [] { calc::NcPair.z1 = 14; }));
  int exitCode = -1;
  const std::string said = testsupport::RunProgramIn(dir, "z14.vb4 /I", exitCode);
  EXPECT_EQ(exitCode, 0) << said;
  const std::string remark = "vob4: Warning: fatal at 64 positions, first at 1\xC2\xB0 !\n";
  const std::size_t at = said.find(remark);
  ASSERT_NE(at, std::string::npos) << said;
  EXPECT_EQ(said.find("vob4: Fatal  : ", at), at + remark.size()) << said;
  EXPECT_EQ(Occurrences(said, "vob4: Fatal  : spec.slidingalpha e2 ! first at 1\xC2\xB0\n"), 1u) << said;
  const std::string txt = Slurp(dir.Path("z14.txt"));
  EXPECT_NE(txt.find("\nWarning: fatal at 64 positions, first at 1\xC2\xB0 !\t\t\r\nFatal  : spec.slidingalpha e2 ! first at 1\xC2\xB0"),
            std::string::npos)
      << txt;
}

// Material values no gear can have are refused by name, once for the
// whole pair, under either method: a modulus of elasticity below 0 or a
// Poisson ratio beyond 1 (the elasticity factor is undefined; the printout
// would say NAN or INF), endurance limits below 0 (negative safeties were
// printed), a density below 0 (a negative mass and no resonance speed), a
// hardness or a roughness below 0.
TEST(RatingMessages, ImpossibleMaterialValuesAreRefusedByName) {
  const testsupport::ScratchDirectory dir("rating_material_refused");
  auto& g = SpurGearData;
  const std::vector<Finding> refused = {
      {"e_negative", [&] { g.E[1] = -206000; }, "Fatal  : E < 0 ! (gear 1)"},
      {"e_zero", [&] { g.E[2] = 0; }, "Fatal  : E-Modul = 0 !"},
      {"poisson_negative", [&] { g.mue[1] = -3; }, "Fatal  : mue < -1 or mue > 1 !"},
      {"poisson_large", [&] { g.mue[2] = 1.2L; }, "Fatal  : mue < -1 or mue > 1 !"},
      {"sigma_fe", [&] { g.SigmaFE[1] = -800; }, "Fatal  : Sig.FE < 0 ! (gear 1)"},
      {"sigma_hlim", [&] { g.SigmaHlim[2] = -1500; }, "Fatal  : Sig.Hlim < 0 ! (gear 2)"},
      {"density_iso", [&] { g.rho[1] = -7.8L; }, "Fatal  : rho < 0 ! (gear 1)"},
      {"density_din",
       [&] {
         g.rho[2] = -7.8L;
         g.CalcMethod = 1;
       },
       "Fatal  : rho < 0 ! (gear 2)"},
      {"hardness", [&] { g.HB[1] = -740; }, "Fatal  : HB < 0 ! (gear 1)"},
      {"roughness", [&] { g.RzRoot[2] = -5; }, "Fatal  : Rz < 0 ! (gear 2)"},
  };
  for (const Finding& f : refused) {
    SCOPED_TRACE(f.name);
    const std::string design = std::string(f.name) + ".vb4";
    ASSERT_TRUE(testsupport::SaveDefaultDesignChanged(dir, design, f.change));
    int exitCode = -1;
    const std::string said = testsupport::RunProgramIn(dir, design + " /I", exitCode);
    EXPECT_EQ(exitCode, 2) << said;
    // Refused before any position is rated: the one text, nothing else.
    EXPECT_EQ(said, "vob4: the calculation of " + std::string(f.name) + " failed:\n" + f.message + "\n");
    EXPECT_FALSE(std::filesystem::exists(dir.Path(std::string(f.name) + ".txt")));
  }
}

// A pair at rest (n1 = 0) under an entered torque is not rated, and its
// printout shows the torque with the forces it puts on the teeth: 95.5 N m
// on the pitch circle of 120 mm gives Ft = 2000 * 95.5 / 120 = 1592 N,
// Fnw = Ft / cos 20 deg = 1694 N.
TEST(RatingMessages, ARestPairPrintsItsTorqueWithTheForcesItGives) {
  const testsupport::ScratchDirectory dir("rating_rest_pair");
  ASSERT_TRUE(testsupport::SaveDefaultDesignChanged(dir, "rest.vb4", [] {
    SpurGearData.n[1] = 0;
    SpurGearData.P = 0;
    SpurGearData.T[1] = 95.5L;
  }));
  int exitCode = -1;
  const std::string said = testsupport::RunProgramIn(dir, "rest.vb4 /I", exitCode);
  EXPECT_EQ(exitCode, 0) << said;
  EXPECT_EQ(said, "vob4: Warning: no load (n1 = 0): not rated !\n");
  const std::string txt = Slurp(dir.Path("rest.txt"));
  for (const char* row : {"\npitch circle diameter\td\tmm\t  120.000\t", "\nnominal torque\tT\tNm\t    95.5\t",
                          "\nnom.transv.load gen.pt.cyl.\tFt\tN\t    1592\r\n",
                          "\nnom.norm.load op.pt.cyl.\tFnw\tN\t    1694\r\n"})
    EXPECT_NE(txt.find(row), std::string::npos) << row << txt.substr(0, 4000);
}

// A pitting safety beyond the bare static factor of its life line but short
// of the line's static point (that factor over ZL ZV ZR) is a life on the
// line, printed as one: the textbook pair mn 4, z 20/40 (a circle of radius
// 40 turning twice per turn of its mate), both gears nitrocarburized, DIN
// 3990, at 7.3 kW has SH 0.895 (1/SH 1.117 > 1.1) and some 4E5 cycles,
// where "Pitting!" and 0 cycles were printed.
TEST(RatingMessages, APittingLifeOnItsLineIsPrintedAsALife) {
  const testsupport::ScratchDirectory dir("rating_pitting_line");
  ASSERT_TRUE(testsupport::SaveDefaultDesignChanged(dir, "nitrocarburized.vb4", [] {
    auto& g = SpurGearData;
    calc::CurveType = calc::CurveEccentric;
    calc::EccentricCurve = calc::TEccentricCurve{80, 0};
    calc::NcPair.k = 2;
    calc::NcPair.z1 = 20;
    calc::NcPair.ModuleMode = 2;
    g.CalcMethod = 1;
    g.P = 7.3L;
    g.n[1] = 1000;
    g.FaceWidth = 20;
    for (int i = 1; i <= 2; ++i) {
      g.HeatTreatment[i] = 7;
      g.SigmaHlim[i] = 750;
      g.SigmaFE[i] = 600;
      g.HB[i] = 450;
      g.AccuracyGrade[i] = 7;
    }
  }));
  int exitCode = -1;
  const std::string said = testsupport::RunProgramIn(dir, "nitrocarburized.vb4 /I", exitCode);
  EXPECT_EQ(exitCode, 0) << said;
  EXPECT_EQ(said.find("Pitting"), std::string::npos) << said;
  const std::string txt = Slurp(dir.Path("nitrocarburized.txt"));
  EXPECT_EQ(txt.find("Pitting!"), std::string::npos);
  std::smatch m;
  ASSERT_TRUE(std::regex_search(txt, m, std::regex(R"(\nsafety factor pitting\tSH\t\t +([0-9.]+)\t)"))) << txt;
  EXPECT_NEAR(std::stod(m[1]), 0.895, 0.002);
  ASSERT_TRUE(std::regex_search(txt, m, std::regex(R"(\ncycles until Pitting\tNLH1\t\t *([0-9]+)\t)"))) << txt;
  EXPECT_GT(std::stod(m[1]), 3e5);
  EXPECT_LT(std::stod(m[1]), 7e5);
}

}  // namespace
