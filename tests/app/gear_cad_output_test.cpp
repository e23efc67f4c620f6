// The gears and diagrams written by the program itself from the command
// line ("/CADi:j") for the default design, read back by the independent
// readers: gear 1 with exactly its z1 teeth in one closed outline (DXF), one
// closed solid (STL), the pitch curves as edges (STEP).
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <numbers>
#include <string>

#include "support/run_command.h"
#include "app/data_file.h"
#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "calc/pitch_curve.h"
#include "calc/spur_gear_data.h"
#include "common/kaldvar.h"
#include "drawing/cad/cad_output.h"
#include "support/dxf_outline.h"
#include "support/file_test_support.h"
#include "support/occt_draw.h"

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

// The pitch curves as STEP: the reader finds each one chain of a few
// smooth curves along its 360 points (as many vertices as edges, a wire
// each) and the centre line in the drawing's plane, no solid and no curve
// with kinks (the gears' solids are read back in the drawing tests).
TEST(GearCadOutput, PitchCurvesAsStepAreEdgesInThePlane) {
  if (!testsupport::OcctDrawPresent()) GTEST_SKIP() << "occt-draw (OpenCASCADE's STEP reader) is not installed";
  const testsupport::ScratchDirectory dir("gear_step");
  fs::copy_file(std::string(VOB_SOURCE_DIR) + "/resources/null.vb4", dir.Path("x.vb4"));
  ASSERT_EQ(RunProgram(dir, "x.vb4 /CAD7:5"), 0);
  ASSERT_TRUE(fs::exists(dir.Path("x.stp")));
  const testsupport::StepShape shape = testsupport::ReadStepShape(dir.Dir().string(), dir.Path("x.stp"));
  EXPECT_TRUE(shape.valid) << shape.output;
  EXPECT_EQ(shape.solids, 0) << shape.output;
  EXPECT_EQ(shape.wires, 2) << shape.output;
  EXPECT_EQ(shape.vertices, shape.edges - 1 + 2) << shape.output;
  EXPECT_LE(shape.edges, 2 * 36 + 1) << shape.output;
  EXPECT_FALSE(shape.c0) << shape.output;
  EXPECT_NEAR(shape.box[2], 0, 1e-6);
  EXPECT_NEAR(shape.box[5], 0, 1e-6);
  // Both curves lie within the frame of the pair.
  common::SetKaldvarDefaults();
  common::MessagesEnabled = 0;
  app::ReadDataFile(dir.Path("x.vb4"));
  ASSERT_EQ(common::AbortFlag, 0);
  calc::CalcNoncircularPair();
  EXPECT_NEAR(shape.box[0], -static_cast<double>(calc::PitchRadius(std::numbers::pi_v<Real>)), 1e-3);
  EXPECT_GT(shape.box[3], static_cast<double>(calc::NcPair.a));
}

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

// Sizes beyond any real pair are refused by the input check before any
// picture is drawn: neither file is written, and the command line says
// which quantity (the STL device's own refusal of coordinates it cannot
// write is held by the drawing tests).
TEST(GearCadOutput, FaceWidthBeyondAnyPairWritesNoFileAndFails) {
  const testsupport::ScratchDirectory dir("gear_wide");
  SaveChangedDesign(dir, "x.vb4", [] {
    calc::SpurGearData.FaceWidth = 1e300L;
    calc::SpurGearData.GearFaceWidth[1] = 1e300L;
    calc::SpurGearData.GearFaceWidth[2] = 1e300L;
  });
  for (const char* args : {"x.vb4 /CAD1:1", "x.vb4 /CAD6:1"}) {
    SCOPED_TRACE(args);
    int exitCode = -1;
    const std::string said = testsupport::RunCommand("cd '" + dir.Dir().string() +
                                                         "' && env -u DISPLAY -u WAYLAND_DISPLAY '" +
                                                         std::string(VOB_PROGRAM) + "' " + args + " 2>&1",
                                                     &exitCode);
    EXPECT_EQ(exitCode, 2);
    EXPECT_NE(said.find("b > 10000 mm"), std::string::npos) << said;
  }
  EXPECT_FALSE(fs::exists(dir.Path("x.dxf")));
  EXPECT_FALSE(fs::exists(dir.Path("x.stl")));
}

// A face width below 0.0001 mm makes no solid: the STEP and the STL output
// of a gear are refused with the reason, no file is written and the run
// fails. At 0.0001 mm itself both formats write their solid: the two share
// one comparison.
TEST(GearCadOutput, GearWithoutHeightWritesNoSolidFileAndFails) {
  for (const Real width : {1e-6L, 0.9e-4L, 1e-4L}) {
    SCOPED_TRACE(static_cast<double>(width));
    const testsupport::ScratchDirectory dir("gear_flat");
    SaveChangedDesign(dir, "x.vb4", [width] {
      calc::SpurGearData.FaceWidth = width;
      calc::SpurGearData.GearFaceWidth[1] = width;
      calc::SpurGearData.GearFaceWidth[2] = width;
    });
    const bool solid = width >= 1e-4L;
    for (const std::string format : {"STEP", "STL"}) {
      SCOPED_TRACE(format);
      int exitCode = -1;
      const std::string said = testsupport::RunCommand(
          "cd '" + dir.Dir().string() + "' && env -u DISPLAY -u WAYLAND_DISPLAY '" + std::string(VOB_PROGRAM) +
              "' x.vb4 " + (format == "STEP" ? "/CAD7:1" : "/CAD6:1") + " 2>&1",
          &exitCode);
      EXPECT_EQ(exitCode, solid ? 0 : 2) << said;
      EXPECT_EQ(said.find(drawing::TooThinForSolidText(format)) != std::string::npos, !solid) << said;
    }
    EXPECT_EQ(fs::exists(dir.Path("x.stp")), solid);
    EXPECT_EQ(fs::exists(dir.Path("x.stl")), solid);
  }
}

TEST(GearCadOutput, GearKilometresAcrossIsRefusedSoon) {
  const testsupport::ScratchDirectory dir("gear_huge");
  SaveChangedDesign(dir, "x.vb4", [] {
    calc::CurveType = calc::CurveEllipse;
    calc::EllipseCurve.a = 2e7L;
    calc::EllipseCurve.b = 1.6e7L;
    calc::SpurGearData.BoreDiameter[1] = 20000;
  });
  int exitCode = -1;
  const double seconds = TimedRun(dir, "x.vb4 /CAD6:1", exitCode);
  EXPECT_EQ(exitCode, 2);
  EXPECT_LT(seconds, 20);
  EXPECT_FALSE(fs::exists(dir.Path("x.stl")));
}

}  // namespace
