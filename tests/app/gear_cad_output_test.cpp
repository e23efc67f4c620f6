// The gears and diagrams written by the program itself from the command
// line ("/CADi:j") for the default design, read back by the independent DXF
// reader: gear 1 with exactly its z1 teeth in one closed outline, and the
// diagrams over the drive angle.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "support/run_command.h"
#include "app/data_file.h"
#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "calc/pitch_curve.h"
#include "calc/spur_gear_data.h"
#include "common/kaldvar.h"
#include "support/dxf_outline.h"
#include "support/file_test_support.h"

namespace fs = std::filesystem;

namespace {

int RunProgram(const testsupport::ScratchDirectory& dir, const std::string& args) {
  const std::string command = "cd '" + dir.Dir().string() + "' && env -u DISPLAY -u WAYLAND_DISPLAY '" +
                              std::string(VOB_PROGRAM) + "' " + args + " >/dev/null 2>&1";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(GearCadOutput, DefaultDesignGearOneHasItsTeeth) {
  if (!testsupport::ReaderPresent()) GTEST_SKIP() << "ezdxf is not installed for /usr/bin/python3";
  const testsupport::ScratchDirectory dir("gear_cad");
  fs::copy_file(std::string(VOB_SOURCE_DIR) + "/resources/null.vb4", dir.Path("x.vb4"));
  ASSERT_EQ(RunProgram(dir, "x.vb4 /CAD1:1"), 0);
  ASSERT_TRUE(fs::exists(dir.Path("x.dxf")));
  const testsupport::DxfOutline out = testsupport::ReadOutline(dir.Path("x.dxf"));
  ASSERT_EQ(out.loadStatus, 0);
  EXPECT_EQ(out.auditErrors, 0);
  ASSERT_EQ(out.closedComponents, 1);

  // The same design in this process, for its pitch curve and tooth number.
  common::SetKaldvarDefaults();
  common::MessagesEnabled = 0;
  app::ReadDataFile(dir.Path("x.vb4"));
  ASSERT_EQ(common::AbortFlag, 0);
  calc::CalcNoncircularPair();
  ASSERT_EQ(common::FatalFlag, 0);
  const double mn = static_cast<double>(calc::SpurGearData.NormalModule);
  const testsupport::ToothCount c =
      testsupport::CountTeeth(out.loops.front(), 0, 0, 0.25 * mn,
                              [](Real phi) { return calc::PitchRadius(calc::NormAngle(phi)); });
  EXPECT_EQ(c.teeth, calc::NcPair.z1);
  EXPECT_EQ(c.falls, calc::NcPair.z1);
}

}  // namespace

namespace {

// The command's standard output.
std::string Output(const std::string& command) { return testsupport::RunCommand(command); }

TEST(GearCadOutput, GearOneAsStlIsOneClosedSolid) {
  if (std::system("command -v admesh >/dev/null 2>&1") != 0) GTEST_SKIP() << "admesh is not installed";
  const testsupport::ScratchDirectory dir("gear_stl");
  fs::copy_file(std::string(VOB_SOURCE_DIR) + "/resources/null.vb4", dir.Path("x.vb4"));
  ASSERT_EQ(RunProgram(dir, "x.vb4 /CAD6:1"), 0);
  ASSERT_TRUE(fs::exists(dir.Path("x.stl")));
  // admesh exits 0 whatever it finds: its summary tells.
  const std::string summary = Output("admesh '" + dir.Path("x.stl") + "' 2>&1");
  EXPECT_NE(summary.find("Number of parts       :     1 "), std::string::npos) << summary;
  EXPECT_NE(summary.find("Total disconnected facets        :     0 "), std::string::npos) << summary;
}

}  // namespace

namespace {

// The default design with changes, saved as dir/name.
void SaveChangedDesign(const testsupport::ScratchDirectory& dir, const std::string& name,
                       const std::function<void()>& change) {
  common::SetKaldvarDefaults();
  common::MessagesEnabled = 0;
  app::ReadDataFile(std::string(VOB_SOURCE_DIR) + "/resources/null.vb4");
  ASSERT_EQ(common::AbortFlag, 0);
  change();
  app::WriteDataFile(dir.Path(name));
  ASSERT_EQ(common::AbortFlag, 0);
}

// The time a run of the program takes, in seconds.
double TimedRun(const testsupport::ScratchDirectory& dir, const std::string& args, int& exitCode) {
  const auto start = std::chrono::steady_clock::now();
  exitCode = RunProgram(dir, args);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST(GearCadOutput, FaceWidthBeyondTheStlRangeWritesNoFileAndFails) {
  const testsupport::ScratchDirectory dir("gear_wide");
  SaveChangedDesign(dir, "x.vb4", [] {
    calc::SpurGearData.FaceWidth = 1e300L;
    calc::SpurGearData.GearFaceWidth[1] = 1e300L;
    calc::SpurGearData.GearFaceWidth[2] = 1e300L;
  });
  // The same design draws as DXF, which has no heights.
  int exitCode = -1;
  TimedRun(dir, "x.vb4 /CAD1:1", exitCode);
  EXPECT_EQ(exitCode, 0);
  EXPECT_TRUE(fs::exists(dir.Path("x.dxf")));
  // The STL file is refused, and the command line says why.
  const std::string said = testsupport::RunCommand("cd '" + dir.Dir().string() +
                                                       "' && env -u DISPLAY -u WAYLAND_DISPLAY '" +
                                                       std::string(VOB_PROGRAM) + "' x.vb4 /CAD6:1 2>&1",
                                                   &exitCode);
  EXPECT_NE(exitCode, 0);
  EXPECT_NE(said.find("Coordinate 1e+300 out of range: x.stl not written"), std::string::npos) << said;
  EXPECT_FALSE(fs::exists(dir.Path("x.stl")));
}

TEST(GearCadOutput, GearKilometresAcrossIsAClosedStlSoon) {
  // An ellipse 40 by 32 km with a bore of 10 m: the points lie beyond the
  // range the STL writer's point grid once had, the bore is a circle of many
  // metres.
  const testsupport::ScratchDirectory dir("gear_huge");
  SaveChangedDesign(dir, "x.vb4", [] {
    calc::CurveType = calc::CurveEllipse;
    calc::EllipseCurve.a = 2e7L;
    calc::EllipseCurve.b = 1.6e7L;
    calc::SpurGearData.BoreDiameter[1] = 20000;
  });
  int exitCode = -1;
  const double seconds = TimedRun(dir, "x.vb4 /CAD6:1", exitCode);
  EXPECT_EQ(exitCode, 0);
  EXPECT_LT(seconds, 20);
  ASSERT_TRUE(fs::exists(dir.Path("x.stl")));
  if (std::system("command -v admesh >/dev/null 2>&1") != 0) GTEST_SKIP() << "admesh is not installed";
  const std::string summary = Output("admesh '" + dir.Path("x.stl") + "' 2>&1");
  EXPECT_NE(summary.find("Number of parts       :     1 "), std::string::npos) << summary;
  EXPECT_NE(summary.find("Total disconnected facets        :     0 "), std::string::npos) << summary;
}

}  // namespace
