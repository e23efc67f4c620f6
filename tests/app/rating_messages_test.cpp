// What the rating finds reaches the engineer: the default design with one
// change each, printed by the command-line run ("/I"), tells its finding in
// the printout's remarks and on standard error, once, with the first drive
// angle where a position raised it; positions that fail are counted and
// named; material values no gear can have are refused by name.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sstream>
#include <tuple>
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
      {"e_zero", [&] { g.E[2] = 0; }, "Fatal  : E = 0 ! (gear 2)"},
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

// A pair at rest (n1 = 0) is not rated, for want of speed, whatever its
// torque; its printout shows the torque with the forces it puts on the
// teeth: 95.5 N m on the pitch circle of 120 mm gives Ft = 2000 * 95.5 /
// 120 = 1592 N, Fnw = Ft / cos 20 deg = 1694 N. A power entered for it is
// remarked as any power that speed and torque do not give, the power rated
// following from them.
TEST(RatingMessages, ARestPairPrintsItsTorqueWithTheForcesItGives) {
  const testsupport::ScratchDirectory dir("rating_rest_pair");
  for (const auto& [name, power, torque, said] : std::vector<std::tuple<std::string, Real, Real, std::string>>{
           {"rest", 0, 95.5L, "vob4: Warning: no speed (n1 = 0): not rated !\n"},
           {"rest_power", 10, 0, "vob4: Warning: P<>T*n*2PI, P from T and n !\nvob4: Warning: no speed (n1 = 0): not rated !\n"}}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(testsupport::SaveDefaultDesignChanged(dir, name + ".vb4", [&] {
      SpurGearData.n[1] = 0;
      SpurGearData.P = power;
      SpurGearData.T[1] = torque;
    }));
    int exitCode = -1;
    EXPECT_EQ(testsupport::RunProgramIn(dir, name + ".vb4 /I", exitCode), said);
    EXPECT_EQ(exitCode, 0);
    const std::string txt = Slurp(dir.Path(name + ".txt"));
    EXPECT_EQ(Occurrences(txt, "\nsafety factor pitting\tSH\t\tnot rated\tnot rated"), 1u) << txt;
    EXPECT_EQ(Occurrences(txt, "the pair has no speed (n1 = 0), not rated"), 2u) << txt;
    EXPECT_EQ(txt.find("no load"), std::string::npos) << txt;
    if (torque == 0) continue;
    for (const char* row : {"\npitch circle diameter\td\tmm\t  120.000\t", "\nnominal torque\tT\tNm\t    95.5\t",
                            "\nnom.transv.load gen.pt.cyl.\tFt\tN\t    1592\r\n",
                            "\nnom.norm.load op.pt.cyl.\tFnw\tN\t    1694\r\n"})
      EXPECT_NE(txt.find(row), std::string::npos) << row << txt.substr(0, 4000);
  }
}

// A printed value: the row's caption and symbol, and the column of the gear.
struct PrintedValue {
  std::string row;  // "caption\tsymbol\tunit"
  int gear;
  Real low, high;
};

struct RatedDesign {
  const char* name;
  std::function<void()> change;
  std::vector<PrintedValue> values;
  std::vector<std::string> absent;  // from the printout and standard error
  std::vector<std::string> said;    // on standard error
};

// Where a number of the printout lies: the row's value in the gear's column.
Real Printed(const std::string& txt, const PrintedValue& v) {
  const std::size_t at = txt.find("\n" + v.row + "\t");
  if (at == std::string::npos) return -1;
  std::istringstream line(txt.substr(at + v.row.size() + 2, txt.find('\n', at + 1) - at - v.row.size() - 2));
  std::string cell;
  for (int k = 0; k < v.gear; ++k) std::getline(line, cell, '\t');
  try {
    return std::stold(cell);
  } catch (const std::exception&) {
    return -1;
  }
}

// Safeties, lives and factors that the rating prints, each on its line:
// - a pitting safety beyond the bare static factor of its life line but
//   short of the line's static point (that factor over ZL ZV ZR) is a life
//   on the line: the textbook pair mn 4, z 20/40 (a circle of radius 40
//   turning twice per turn of its mate), both gears nitrocarburized, DIN
//   3990, at 7.3 kW has SH 0.895 (1/SH 1.117 > 1.1) and some 4E5 cycles;
// - a safety of 1 or more lasts, whatever ZL ZV ZR: the default design
//   nitrocarburized, flanks Rz 0.5, oil of 1500 mm2/s, 3000 1/min, at 320
//   and 280 kW has ZL ZV ZR = 1.146 * 1.019 * 1.152 above the static 1.1;
//   ISO 6336 gives SH 1.134 and 1.207 and endurance lives (at 320 kW the
//   line beyond the knee: 2e6 * 1.134^(ln 5000 / ln(1 / 0.85)) = 1.5e9
//   cycles), DIN 3990 SH 1.130, where "Pitting!" was printed;
// - the line ends where the size, surface and notch factors that the safety
//   holds take their static values (1; YdeltarelT of a nitrided root 0.20 YS
//   + 0.60): mn 12 (the textbook pair scaled by 3),
//   gas-nitrided heat-treatable steel, DIN 3990, 2250 kW: SH 0.747 on the
//   flank line from 1.3 / (ZL ZV ZR ZX = 1.000 * 1.007 * 0.993 * 0.948) at
//   1e5 to 1 at 2e6 cycles, 1.27E5 cycles; SF 0.597 on the root line from
//   1.6 * (0.20 * 2.029 + 0.60) / (YX YRrelT YdeltarelT = 0.930 * 1.006 *
//   0.997) at 1e3 to 1 at 3e6, some 1540 cycles, where "Pitting!" and
//   "breakage !" were printed;
// - ZB of a small pinion whose mate's tip reaches past its base circle: z
//   12/36, mn 10 (a circle of radius 60 turning three times), no tip
//   allowance, under ISO 6336 from the point one base pitch inside the
//   pinion's tip, 1.2270 as DIN 3990 has it (the shortened contact ratio
//   gave 1.190); the collision and the undercut are still told.
TEST(RatingMessages, SafetiesLivesAndFactorsArePrintedOnTheirLines) {
  const testsupport::ScratchDirectory dir("rating_life_lines");
  auto& g = SpurGearData;
  const auto both = [&g](auto&& set) {
    for (int i = 1; i <= 2; ++i) set(i);
  };
  const auto thickOil = [&g, both](std::uint16_t method, Real power) {
    g.CalcMethod = method;
    both([&](int i) {
      g.HeatTreatment[i] = 7;
      g.RzFlank[i] = 0.5L;
    });
    g.nu40 = 1500;
    g.n[1] = 3000;
    g.P = power;
  };
  // The textbook pair z 20/40 scaled to the module mn (a circle of
  // diameter 20 mn turning twice), b 5 mn, rated under DIN 3990 at
  // 1000 1/min.
  const auto textbookPair = [&g](Real mn, Real power) {
    calc::CurveType = calc::CurveEccentric;
    calc::EccentricCurve = calc::TEccentricCurve{20 * mn, 0};
    calc::NcPair.k = 2;
    calc::NcPair.z1 = 20;
    calc::NcPair.ModuleMode = 2;
    g.CalcMethod = 1;
    g.P = power;
    g.n[1] = 1000;
    g.FaceWidth = 5 * mn;
  };
  const std::string sh = "safety factor pitting\tSH\t", nlh = "cycles until Pitting\tNLH1\t";
  const std::vector<RatedDesign> designs = {
      {"nitrocarburized",
       [&] {
         textbookPair(4, 7.3L);
         both([&](int i) {
           g.HeatTreatment[i] = 7;
           g.SigmaHlim[i] = 750;
           g.SigmaFE[i] = 600;
           g.HB[i] = 450;
           g.AccuracyGrade[i] = 7;
         });
       },
       {{sh, 1, 0.893L, 0.897L}, {nlh, 1, 3e5L, 7e5L}},
       {"Pitting!", "Error  : Pitting"},
       {}},
      {"thick_oil_iso_320", [&] { thickOil(4, 320); },
       {{"lubrication factor\tZL\t", 1, 1.145L, 1.147L}, {"velocity factor\tZv\t", 1, 1.018L, 1.020L},
        {"roughness factor\tZR\t", 1, 1.151L, 1.153L}, {sh, 1, 1.133L, 1.135L}, {sh, 2, 1.110L, 1.112L},
        {nlh, 1, 1.4e9L, 1.6e9L}, {nlh, 2, 2e6L, 1e10L}},
       {"Pitting!", "Error  : Pitting"},
       {}},
      {"thick_oil_iso_280", [&] { thickOil(4, 280); }, {{sh, 1, 1.206L, 1.208L}}, {"Pitting!", "Error  : Pitting"}, {}},
      {"thick_oil_din_320", [&] { thickOil(1, 320); }, {{sh, 1, 1.129L, 1.131L}}, {"Pitting!", "Error  : Pitting"}, {}},
      {"gas_nitrided_m12",
       [&] {
         textbookPair(12, 2250);
         both([&](int i) {
           g.MaterialType[i] = 3;
           g.HeatTreatment[i] = 5;
           g.SigmaFE[i] = 640;
         });
       },
       {{"normal module\tmn\tmm", 1, 12, 12}, {sh, 1, 0.746L, 0.748L}, {nlh, 1, 1.2e5L, 1.35e5L},
        {"safety factor tooth breakage\tSF\t", 1, 0.596L, 0.598L},
        {"cycles until tooth breakage\tNLF\t", 1, 1450, 1600}},
       {"Pitting!", "Error  : Pitting", "breakage !", "fatigue fract."},
       {}},
      {"small_pinion_iso",
       [&] {
         calc::CurveType = calc::CurveEllipse;
         calc::EllipseCurve = {60, 60};
         calc::NcPair.k = 3;
         calc::NcPair.z1 = 12;
         both([&](int i) { g.AllowanceSeries[i] = 0; });
       },
       {{"no. of teeth\tz\t", 2, 36, 36}, {"single contact factor pinion\tZB\t", 1, 1.225L, 1.229L}},
       {},
       {"Error  : tooth collision da2 !", "Warning: undercut ! (1)"}},
  };
  for (const RatedDesign& d : designs) {
    SCOPED_TRACE(d.name);
    const std::string design = std::string(d.name) + ".vb4";
    ASSERT_TRUE(testsupport::SaveDefaultDesignChanged(dir, design, d.change));
    int exitCode = -1;
    const std::string said = testsupport::RunProgramIn(dir, design + " /I", exitCode);
    EXPECT_EQ(exitCode, 0) << said;
    const std::string txt = Slurp(dir.Path(std::string(d.name) + ".txt"));
    for (const PrintedValue& v : d.values) {
      const Real value = Printed(txt, v);
      EXPECT_GE(value, v.low) << v.row << " " << v.gear << "\n" << txt;
      EXPECT_LE(value, v.high) << v.row << " " << v.gear;
    }
    for (const std::string& text : d.absent) {
      EXPECT_EQ(said.find(text), std::string::npos) << said;
      EXPECT_EQ(txt.find(text), std::string::npos) << text;
    }
    for (const std::string& text : d.said) EXPECT_NE(said.find("vob4: " + text), std::string::npos) << said;
  }
}

}  // namespace
