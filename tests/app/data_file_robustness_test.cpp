// Design data files mangled at random: lines deleted, doubled, swapped,
// replaced by random bytes or by numbers at and beyond the limits, and the
// file cut short. Every read must either load a design whose lists are in
// range and whose values are finite, or refuse the file with a message and
// leave the design in memory byte for byte as it was; it must never crash
// or hang. The mutations are seeded, so a failure repeats.
#include "app/data_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "app/design_extras.h"
#include "calc/calc_records.h"
#include "calc/spur_gear_data.h"
#include "common/design_documentation.h"
#include "common/equation_matrix.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/text_file.h"
#include "platform/scripted_dialogs.h"
#include "support/file_test_support.h"

namespace fs = std::filesystem;
using testsupport::Joined;
using testsupport::Put;
using testsupport::Slurp;
using testsupport::SplitLines;

namespace {

// Texts that a number line, a count or a text line may hold after damage.
const char* const Odd[] = {"",       "\r",     " ",          "nan",        "-nan",        "inf",     "-Infinity",
                           "1e4000", "-1e4000", "1e5000",   "1e-5000",    "4.9e4932",    "-1",      "-2147483649",
                           "2147483647", "4294967296", "99999999999999999999", "65535", "65536", "-32768",
                           "0x10",   "1,5",    " 3 ",        "1e",         "+-1",         "TRUE",    "|||||||||",
                           "0",      "360",    "1000",       "CHANGES",    "documents",   "Curve"};

// Numbers that keep a number line a number but lie at the edges of what a
// value can mean. (Not values below 1e-7 in size: the file's real form saves
// them as 0, which the calculation may replace by a start value, so that
// they do not read back as loaded.)
const char* const EdgeNumbers[] = {"0",          "-1",          "1e4000", "-1e4000", "-5",      "2147483647",
                                   "-2147483648", "65535",      "65536",  "360",     "1000",    "3.5",
                                   "-0.0000001",  "1e300",      "100",    "7",       "2",       "11"};

class DataFileRobustness : public ::testing::Test {
 protected:
  void SetUp() override {
    common::SetKaldvarDefaults();
    common::SetWkaldvarDefaults();
    common::SetProgramIdentity();
    common::ClearErrorMessages();
    calc::SkipPositionSweep = 0;
    app::StartedWithFile = 0;
    app::SetDesignInputDefaults();
    common::DataDirectory = dir_.Dir().string() + "/";
    common::CurrentFileName = "current";
  }
  void TearDown() override { common::SharedTextFile.Discard(); }

  // The design in memory as the writer puts it on disk.
  std::string Saved() {
    common::AbortFlag = 0;
    app::SaveDataFile(dir_.Path("saved.vb4"));
    EXPECT_EQ(common::AbortFlag, 0);
    return Slurp(dir_.Path("saved.vb4"));
  }

  // A design with every list of the file filled.
  std::string RichDesign() {
    app::SetDesignInputDefaults();
    calc::CurveType = calc::CurveFormula;
    calc::PieceCount = 2;
    calc::FormulaPieces[1] = {180, "37.5/(1-0.5*COS(X))"};
    calc::FormulaPieces[2] = {360, "37.5/(1-0.5*COS(X))"};
    auto& changes = common::ChangeRecords;
    changes.Count = 2;
    changes.Records[1] = {"a", "01.02.2025", "ABC", "first\nsecond"};
    changes.Records[2] = {"b", "02.03.2025", "DEF", "x"};
    common::TitleBlock.FreeTextCount = 2;
    common::TitleBlock.FreeTexts[1] = {12.5L, 200, 3.5L, 0, "one"};
    common::TitleBlock.FreeTexts[2] = {-7.25L, 1.5L, 2.5L, 90, "two"};
    calc::PointCount = 3;
    for (int i = 1; i <= 3; ++i) {
      calc::FitPoints[i] = {i * 0.5L, 40.0L + i};
      common::EquationMatrix.rhs[i] = 40.0L / i;
    }
    calc::PolylineCount = 12;
    for (int i = 1; i <= 12; ++i) calc::PolylinePoints[i] = {(i - 1) * 0.5L, 50.0L + (i % 3)};
    // As loaded: with the values the calculation derives.
    Saved();
    app::ReadDataFile(dir_.Path("saved.vb4"));
    EXPECT_EQ(common::AbortFlag, 0);
    return Saved();
  }

  // The generic damage, and as a further kind: the first number line from a
  // random place on gets another number.
  std::string Mutate(const std::vector<std::string>& lines, std::mt19937& rng) {
    return testsupport::MutateLines(lines, rng, Odd, 3, [](std::vector<std::string>& mutated, std::mt19937& r) {
      std::size_t i = std::uniform_int_distribution<std::size_t>(0, mutated.size() - 1)(r);
      Real ignored = 0;
      while (i < mutated.size() && !common::ParseRealLine(mutated[i], ignored)) ++i;
      if (i < mutated.size())
        mutated[i] = EdgeNumbers[std::uniform_int_distribution<std::size_t>(0, std::size(EdgeNumbers) - 1)(r)];
    });
  }

  // A loaded design: every list within its record, every value read finite.
  void ExpectSound() {
    ASSERT_GE(calc::PieceCount, 0);
    ASSERT_LE(calc::PieceCount, calc::MaxFormulaPieces);
    ASSERT_GE(calc::PointCount, 0);
    ASSERT_LE(calc::PointCount, calc::MaxFitPoints);
    ASSERT_GE(calc::PolylineCount, 0);
    ASSERT_LE(calc::PolylineCount, calc::MaxPolylinePoints);
    ASSERT_LE(common::ChangeRecords.Count, common::MaxChangeRecords);
    ASSERT_LE(common::TitleBlock.FreeTextCount, common::MaxFreeTexts);
    ASSERT_GE(calc::NcPair.k, 1);
    for (int i = 1; i <= calc::PieceCount; ++i) ASSERT_TRUE(std::isfinite(calc::FormulaPieces[i].EndAngle));
    for (int i = 1; i <= calc::PointCount; ++i) {
      ASSERT_TRUE(std::isfinite(calc::FitPoints[i].Phi) && std::isfinite(calc::FitPoints[i].R));
      ASSERT_TRUE(std::isfinite(common::EquationMatrix.rhs[i]));
    }
    for (int i = 1; i <= calc::PolylineCount; ++i)
      ASSERT_TRUE(std::isfinite(calc::PolylinePoints[i].Phi) && std::isfinite(calc::PolylinePoints[i].R));
    for (int i = 1; i <= common::TitleBlock.FreeTextCount; ++i) {
      const auto& t = common::TitleBlock.FreeTexts[i];
      ASSERT_TRUE(std::isfinite(t.x) && std::isfinite(t.y) && std::isfinite(t.h) && std::isfinite(t.phi));
    }
    const auto& sg = calc::SpurGearData;
    for (Real x : {calc::EllipseCurve.a, calc::EllipseCurve.b, calc::SineCurve.rw0, calc::SineCurve.A,
                   calc::SineLinearCurve.PhiLin, calc::PolygonCurve.Di, calc::EccentricCurve.D,
                   calc::EccentricCurve.E, sg.PressureAngle, sg.FaceWidth, sg.n[1], sg.P, sg.T[1], sg.KAH, sg.ZW[1],
                   sg.ZW[2], sg.YM[2], sg.BoreDiameter[2]})
      ASSERT_TRUE(std::isfinite(x));
  }

  // Reads the bytes as a design file: either it loads a sound design that
  // saves and reads back to the same file, or it is refused with a message
  // and the design in memory is as before. True when the file loaded.
  bool CheckRead(const std::string& bytes) {
    const std::string before = Saved();
    Put(dir_.Path("bad.vb4"), bytes);
    dialogs_.ClearRecord();
    const auto start = std::chrono::steady_clock::now();
    app::ReadDataFile(dir_.Path("bad.vb4"));
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 2.0);
    if (common::AbortFlag) {
      EXPECT_FALSE(dialogs_.Asked().empty());
      EXPECT_EQ(common::CurrentFileName, "current");
      EXPECT_TRUE(Saved() == before) << "a refused file changed the design";
      return false;
    }
    ExpectSound();
    if (::testing::Test::HasFatalFailure()) return true;
    const std::string saved = Saved();
    app::ReadDataFile(dir_.Path("saved.vb4"));
    EXPECT_EQ(common::AbortFlag, 0);
    EXPECT_TRUE(Saved() == saved) << "a loaded design does not read back";
    return true;
  }

  // Mangles the base file `rounds` times; returns how many reads loaded.
  int Run(const std::string& base, unsigned seed, int rounds) {
    std::mt19937 rng(seed);
    const auto lines = SplitLines(base);
    int loaded = 0;
    for (int round = 0; round < rounds && !::testing::Test::HasFailure(); ++round) {
      const std::string bytes = Mutate(lines, rng);
      SCOPED_TRACE("seed " + std::to_string(seed) + " round " + std::to_string(round));
      if (CheckRead(bytes)) ++loaded;
      if (::testing::Test::HasFailure()) Put(dir_.Dir().parent_path() / "vob4_failed_design.vb4", bytes);
    }
    return loaded;
  }

  testsupport::ScratchDirectory dir_{"data_file_robustness"};
  platform::ScriptedDialogs dialogs_;
  platform::ScopedDialogs scoped_{dialogs_};
};

TEST_F(DataFileRobustness, MangledDefaultDesign) {
  const std::string base = Slurp(fs::path(VOB_SOURCE_DIR) / "resources" / "null.vb4");
  ASSERT_FALSE(base.empty());
  const int loaded = Run(base, 7, 100);
  // Many mutations hit text lines or keep a number a number: both outcomes occur.
  EXPECT_GT(loaded, 10);
  EXPECT_LT(loaded, 100);
}

TEST_F(DataFileRobustness, MangledDesignWithEveryList) {
  const std::string base = RichDesign();
  const int loaded = Run(base, 11, 100);
  EXPECT_GT(loaded, 10);
  EXPECT_LT(loaded, 100);
}

// Every whole-number line at the largest 32-bit value in turn: tooth
// numbers, accuracy grades, codes and counts at a value no form allows.
TEST_F(DataFileRobustness, WholeNumbersAtTheirLimit) {
  const auto lines = SplitLines(Slurp(fs::path(VOB_SOURCE_DIR) / "resources" / "null.vb4"));
  for (std::size_t i = 7; i < lines.size(); ++i) {
    if (lines[i].empty() || lines[i].find_first_not_of("-0123456789") != std::string::npos) continue;
    SCOPED_TRACE("line " + std::to_string(i + 1));
    auto mangled = lines;
    mangled[i] = "2147483647";
    CheckRead(Joined(mangled));
    if (HasFailure()) return;
  }
}

// Lines read with any line end: LF only and CR only give the same design.
TEST_F(DataFileRobustness, LineEndsDoNotMatter) {
  const std::string base = RichDesign();
  for (const char* end : {"\n", "\r"}) {
    std::string bytes;
    for (const auto& line : SplitLines(base)) bytes += line + end;
    Put(dir_.Path("ends.vb4"), bytes);
    app::SetDesignInputDefaults();
    app::ReadDataFile(dir_.Path("ends.vb4"));
    ASSERT_EQ(common::AbortFlag, 0);
    EXPECT_EQ(Saved(), base);
  }
}

}  // namespace
