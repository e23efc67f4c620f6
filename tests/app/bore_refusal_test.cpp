// A bore that does not fit its gear, run from the command line on the
// default ellipse (gear 2's root 89.89 mm across at its narrowest): bores of
// 95 mm and of 1,000,000 mm are named in the printout ("Error  : dB > df"),
// and neither solid device writes a solid of such a gear (STL made a 1 km
// disc with a gear-shaped hole, STEP loose edges): the output is refused
// with the message on standard error and no file. A bore inside the root is
// made as before; the DXF drawing shows any bore.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <string>

#include "calc/spur_gear_data.h"
#include "support/batch_runs.h"

namespace fs = std::filesystem;

namespace {

using testsupport::RunProgramIn;
using testsupport::ScratchDirectory;

struct BoreCase {
  Real bore1, bore2;
  int gear;  // the gear whose bore does not fit
};

TEST(BoreRefusal, BoreBeyondTheRootIsSaidAndMadeNoSolid) {
  for (const BoreCase c : {BoreCase{0, 95, 2}, BoreCase{1e6L, 0, 1}, BoreCase{0, 1e6L, 2}}) {
    SCOPED_TRACE("bores " + std::to_string(static_cast<double>(c.bore1)) + ", " +
                 std::to_string(static_cast<double>(c.bore2)));
    const ScratchDirectory dir("bore_refusal");
    ASSERT_TRUE(testsupport::SaveDefaultDesignChanged(dir, "x.vb4", [&] {
      calc::SpurGearData.BoreDiameter[1] = c.bore1;
      calc::SpurGearData.BoreDiameter[2] = c.bore2;
    }));
    const std::string n = std::to_string(c.gear);
    int exitCode = -1;
    RunProgramIn(dir, "x.vb4 /I", exitCode);
    EXPECT_EQ(exitCode, 0);
    const std::string printout = testsupport::Slurp(dir.Path("x.txt"));
    EXPECT_NE(printout.find("Error  : dB > df ! (" + n + ")"), std::string::npos) << printout;
    EXPECT_EQ(printout.find("Error  : dB > df ! (" + std::to_string(3 - c.gear) + ")"), std::string::npos);

    for (const std::string& format : {std::string("6"), std::string("7")}) {
      const std::string said = RunProgramIn(dir, "x.vb4 /CAD" + format + ":" + n, exitCode);
      EXPECT_EQ(exitCode, 2) << said;
      std::cerr << said;
      EXPECT_NE(said.find("dB > df ! (" + n + "): the bore "), std::string::npos) << said;
      EXPECT_NE(said.find("does not lie inside the root of gear " + n), std::string::npos) << said;
      EXPECT_FALSE(fs::exists(dir.Path(format == "6" ? "x.stl" : "x.stp")));
    }
    // A drawing shows the bore as it is.
    RunProgramIn(dir, "x.vb4 /CAD1:" + n, exitCode);
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(fs::exists(dir.Path("x.dxf")));
  }
}

TEST(BoreRefusal, BoreInsideTheRootIsMade) {
  const ScratchDirectory dir("bore_fits");
  ASSERT_TRUE(testsupport::SaveDefaultDesignChanged(dir, "x.vb4", [] { calc::SpurGearData.BoreDiameter[2] = 85; }));
  int exitCode = -1;
  RunProgramIn(dir, "x.vb4 /I", exitCode);
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(testsupport::Slurp(dir.Path("x.txt")).find("dB > df"), std::string::npos);
  const std::string said = RunProgramIn(dir, "x.vb4 /CAD6:2", exitCode);
  EXPECT_EQ(exitCode, 0) << said;
  EXPECT_TRUE(fs::exists(dir.Path("x.stl")));
}

}  // namespace
