// The rows of the gear data printout that depend on the data: the
// service-life lines and their thresholds, the rack rows, the flank
// tolerance section by standard and module, the measurement limits of an
// internal gear, and the strength-only printout. The printout is written
// to the screen device and read back from what the viewer was handed.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/data_file.h"
#include "app/inputs/load_input.h"
#include "app/inputs/lubricant_input.h"
#include "app/printouts/gear_printout.h"
#include "calc/calc_records.h"
#include "calc/drive_load.h"
#include "calc/spur_gear_data.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/number_format.h"
#include "common/report_writer.h"
#include "platform/clock.h"
#include "platform/report_viewer.h"
#include "platform/scripted_dialogs.h"
#include "support/file_test_support.h"
#include "support/report_test_support.h"

namespace fs = std::filesystem;

namespace {

class PrintoutSections : public ::testing::Test {
 protected:
  PrintoutSections() {
    common::TextDevice = common::ReportScreen;
    calc::SpurGearData = calc::TSpurGearData{};
    calc::SpurGearData.CalcMethod = 1;
    // A pair under load: one without is not rated, and prints no factors.
    calc::SpurGearData.n[1] = 1000;
    calc::SpurGearData.P = 10;
  }

  // The lines of the printout of the current data set, margins and
  // trailing blanks removed.
  std::vector<std::string> Print(std::uint16_t mode = app::GearReportComplete) {
    viewerObject_.Clear();
    app::PrintGearReport(mode);
    return testsupport::LastReportLines(viewerObject_);
  }

  // A row as the page shows it: label at column 1, symbol at 35, unit at
  // 44, gear values at 51 and 62 (or the one value at 56).
  static std::string At(std::initializer_list<std::pair<int, std::string>> texts) {
    return testsupport::PageRowAt(texts);
  }
  static bool HasRow(const std::vector<std::string>& lines, const std::string& begin) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(begin, 0) == 0; });
  }
  static std::string Row(const std::vector<std::string>& lines, const std::string& begin) {
    return testsupport::LineBeginning(lines, begin);
  }

  testsupport::ReportTestEnvironment env_{"printout_sections"};
  platform::ScriptedDialogs& dialogsObject_ = env_.dialogs;
  platform::RecordingReportViewer& viewerObject_ = env_.viewer;
  calc::TSpurGearData& g = calc::SpurGearData;
};

TEST_F(PrintoutSections, LifeLinesFollowTheSafetyThresholdOfTheMethod) {
  g.LifeFactorsInput = 0;
  g.SafetySH[1] = 1.10L;
  g.SafetySH[2] = 1.20L;
  g.LifeH.fill(5000);
  g.LifeH2.fill(9000);
  g.CyclesH.fill(3e8L);
  g.CyclesH2.fill(5e8L);
  g.CalcMethod = 4;
  auto lines = Print();
  EXPECT_TRUE(HasRow(lines, "time until pitting")) << "ISO 6336 below 1.16";
  EXPECT_TRUE(HasRow(lines, "time until extreme pitting"));
  g.CalcMethod = 1;
  lines = Print();
  EXPECT_FALSE(HasRow(lines, "time until pitting")) << "DIN 3990 at 1.10 and above 1.0";
  g.CalcMethod = 4;
  g.SafetySH.fill(1.16L);
  EXPECT_FALSE(HasRow(Print(), "time until pitting")) << "exactly 1.16";

  // Endurance on gear 1, no life on gear 2; equal stages give two rows only.
  g.SafetySH.fill(0.9L);
  g.CyclesH[1] = 1e10L;
  g.CyclesH2[1] = 1e10L;
  g.LifeH[2] = 0;
  g.LifeH2 = g.LifeH;
  lines = Print();
  EXPECT_EQ(Row(lines, "time until pitting").substr(50), "infinite   Pitting!");
  EXPECT_EQ(Row(lines, "cycles until Pitting").substr(50), "> 1E10      0 !");
  EXPECT_FALSE(HasRow(lines, "time until extreme pitting"));
  EXPECT_FALSE(HasRow(lines, "cycles until extrem.Pitting"));

  // Tooth breakage: a cycle count of 0 is breakage whatever the hours say.
  g.SafetySF.fill(0.5L);
  g.LifeF.fill(12);
  g.CyclesF[1] = 0;
  g.CyclesF[2] = 2e10L;
  lines = Print();
  EXPECT_EQ(Row(lines, "lifetime until tooth breakage").substr(50), "breakage ! infinite");
  EXPECT_EQ(Row(lines, "cycles until tooth breakage").substr(50), "   0 !      > 1E10");

  // Entered life factors: the rows ZNT and YNT, no life lines.
  g.LifeFactorsInput = 1;
  lines = Print();
  EXPECT_TRUE(HasRow(lines, At({{1, "life factor"}, {35, "ZNT"}})));
  EXPECT_TRUE(HasRow(lines, At({{1, "life factor"}, {35, "YNT"}})));
  EXPECT_FALSE(HasRow(lines, "lifetime until tooth breakage"));
}

TEST_F(PrintoutSections, RackRowsAndInternalGearLimits) {
  g.BallDiameter.fill(5);
  g.ToothNumbers[2] = 1000;
  g.CentreDistance = 100;
  g.d[2] = 160;
  g.MdKUpper[2] = 410;
  g.MdKLower[2] = 409;
  g.TipDiameter[2] = 400;
  auto lines = Print();
  EXPECT_EQ(Row(lines, "center distance - pitch diam.2/2"),
            At({{1, "center distance - pitch diam.2/2"}, {35, "a-r2"}, {44, "mm"}, {56, "  20.000"}}));
  EXPECT_EQ(Row(lines, At({{1, "control dimension ball-da rack"}, {35, "MKamax"}})),
            At({{1, "control dimension ball-da rack"}, {35, "MKamax"}, {44, "mm"}, {62, "    5.000"}}));
  EXPECT_EQ(Row(lines, At({{1, "control dimension ball-da rack"}, {35, "MKamin"}})),
            At({{1, "control dimension ball-da rack"}, {35, "MKamin"}, {44, "mm"}, {62, "    4.500"}}));

  // Gear 2's limits by size, gear 1's as they are.
  g.ToothNumbers[2] = -60;
  g.WkUpper[1] = -50.2L;
  g.WkLower[1] = -50.3L;
  g.WkUpper[2] = -50.2L;
  g.WkLower[2] = -50.3L;
  lines = Print();
  EXPECT_FALSE(HasRow(lines, "center distance - pitch diam.2/2"));
  EXPECT_EQ(Row(lines, "span meas. finished, max."),
            At({{1, "span meas. finished, max."}, {35, "Wmax"}, {44, "mm"}, {51, "  -50.200"}, {62, "   50.300"}}));
  EXPECT_EQ(Row(lines, "span meas. finished, min."),
            At({{1, "span meas. finished, min."}, {35, "Wmin"}, {44, "mm"}, {51, "  -50.300"}, {62, "   50.200"}}));
}

// At a pressure angle of 5 degrees the ball for the dimension over balls
// of the default design would touch the flank below the base circle: no
// ball diameter is found ("DmMess" among the remarks), and the printout
// says so in the Dm row and prints no dimension over balls or pins that
// would be computed from a ball of 0 (nor a maximum below its minimum).
// A gear that has its ball keeps its rows beside one that has none.
TEST_F(PrintoutSections, BallAndPinRowsOnlyWithABallDiameter) {
  app::SetDesignInputDefaults();
  app::ReadDataFile(std::string(VOB_SOURCE_DIR) + "/resources/null.vb4");
  ASSERT_EQ(common::AbortFlag, 0);
  calc::SpurGearData.PressureAngle = 5;
  app::WriteDataFile(env_.dir.Path("alpha5.vb4"));
  ASSERT_EQ(common::AbortFlag, 0);
  std::ostringstream out, err;
  ASSERT_EQ(app::RunBatch(app::ParseCommandLine({"alpha5.vb4", "/I"}), out, err, false), app::ExitDone) << err.str();
  std::vector<std::string> lines;
  {
    std::istringstream printout(testsupport::Slurp(env_.dir.Path("alpha5.txt")));
    for (std::string line; std::getline(printout, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
  }
  EXPECT_TRUE(std::ranges::any_of(common::SaidMessages(), [](const common::SaidMessage& m) {  // an error, not fatal
    return common::WithoutFirstAtNote(m.text) == "Error  : Diametr.Dim.o.balls DmMess !";
  }));
  EXPECT_EQ(Row(lines, "ball/pin diameter"), "ball/pin diameter\tDm\tmm\tnot found\tnot found");
  for (const char* computed : {"dimension ov/bw.balls", "dim.ov/bw.balls", "deviation dimen.betw.balls",
                               "dim.ov/betw.pins", "dim.ov/bw.pins", "deviation dimen.betw.pins"})
    EXPECT_FALSE(HasRow(lines, computed)) << computed;

  // The batch run left its device and flags: the screen again, as set up.
  common::TextDevice = common::ReportScreen;
  common::MessagesEnabled = 1;
  common::AbortFlag = 0;
  g = calc::TSpurGearData{};
  g.CalcMethod = 1;
  g.n[1] = 1000;
  g.P = 10;
  g.BallDiameter[1] = 6.8L;
  g.MdKNominal[1] = 129.243L;
  g.MdKUpper[1] = 129.147L;
  g.MdKLower[1] = 129.049L;
  g.MdKUpper[2] = 137.730L;  // what a ball of 0 gives: the maximum below the minimum
  g.MdKLower[2] = 137.810L;
  lines = Print();
  EXPECT_EQ(Row(lines, "ball/pin diameter"),
            At({{1, "ball/pin diameter"}, {35, "Dm"}, {44, "mm"}, {51, "    6.800"}, {62, "not found"}}));
  EXPECT_EQ(Row(lines, "dim.ov/bw.balls finish.max."),
            At({{1, "dim.ov/bw.balls finish.max."}, {35, "MdKmax"}, {44, "mm"}, {51, "  129.147"}}));
  EXPECT_EQ(Row(lines, "dim.ov/bw.balls finish.min."),
            At({{1, "dim.ov/bw.balls finish.min."}, {35, "MdKmin"}, {44, "mm"}, {51, "  129.049"}}));
}

TEST_F(PrintoutSections, FlankToleranceSectionByStandardAndModule) {
  g.ToleranceStandard = 0;  // DIN 3961
  g.NormalModule = 0.9L;
  auto lines = Print();
  EXPECT_FALSE(HasRow(lines, "ALLOWABLE DEVIATIONS"));
  g.NormalModule = 0.91L;
  lines = Print();
  EXPECT_TRUE(HasRow(lines, "ALLOWABLE DEVIATIONS ACC. TO DIN 3961"));
  EXPECT_TRUE(HasRow(lines, "flank tolerance class to DIN 3961"));
  EXPECT_TRUE(HasRow(lines, At({{1, "tooth-to-tooth rad.comp.dev."}, {35, "fi\""}})));
  g.ToleranceStandard = 1;
  g.NormalModule = 0.5L;
  lines = Print();
  EXPECT_TRUE(HasRow(lines, "Flank tolerances according to ISO 1328-1:2013-09"));
  EXPECT_TRUE(HasRow(lines, At({{1, "Single flank comp.tol,tooth-to-t."}, {35, "fisT"}})));
}

TEST_F(PrintoutSections, StrengthOnlyHelixHandAndRefusals) {
  g.HelixHand[1] = 3;
  auto lines = Print();
  EXPECT_TRUE(HasRow(lines, "CALCULATED ANGLES"));
  EXPECT_FALSE(HasRow(lines, "tooth alignment gear 1/2"));
  g.HelixHand[1] = 1;
  g.HelixHand[2] = 2;
  EXPECT_EQ(Row(Print(), "tooth alignment gear 1/2"),
            At({{1, "tooth alignment gear 1/2"}, {35, "right-hand"}, {56, "left-hand"}}));

  lines = Print(app::GearReportStrengthOnly);
  EXPECT_FALSE(HasRow(lines, "pressure angle"));
  EXPECT_FALSE(HasRow(lines, "CALCULATED ANGLES"));
  EXPECT_TRUE(HasRow(lines, "FLANK LOAD-BEARING CAPACITY"));

  // z1 + z2 = 0: a message and no printout; a fatal calculation: nothing.
  g.ToothNumbers[1] = 20;
  g.ToothNumbers[2] = -20;
  EXPECT_TRUE(Print().empty());
  EXPECT_EQ(dialogsObject_.Asked().back().text, "No strength calculation if z2=-z1 !");
  g.ToothNumbers[2] = 40;
  common::FatalFlag = 1;
  EXPECT_TRUE(Print().empty());
  common::FatalFlag = 0;
}

// The lubricant rows come from the lubricant data set, each only when
// positive; the design's viscosity is the one at 50 °C, printed as it is
// both in the lubricant rows and as "nue50" of the flank capacity.
TEST_F(PrintoutSections, LubricantRowsFromTheDataSet) {
  app::SetLubricantDefaults();
  app::Lubricant.Name = "CLP 220";
  app::Lubricant.Nu40 = 220;
  app::Lubricant.Nu100 = 0;  // not given: no row
  app::Lubricant.OilTemperature = 70;
  g.nu40 = 150;  // the viscosity at 50 °C
  auto lines = Print(app::GearReportStrengthOnly);
  EXPECT_EQ(Row(lines, "lubricant "), At({{1, "lubricant"}, {56, "CLP 220"}}));
  EXPECT_EQ(Row(lines, "nominal viscosity at 40 C"),
            At({{1, "nominal viscosity at 40 C"}, {35, "v40"}, {44, "mm2/s"}, {56, "   220.0"}}));
  EXPECT_EQ(Row(lines, "nominal viscosity at 50 C"),
            At({{1, "nominal viscosity at 50 C"}, {35, "v50"}, {44, "mm2/s"}, {56, "   150.0"}}));
  EXPECT_FALSE(HasRow(lines, "nominal viscosity at 100 C"));
  EXPECT_EQ(Row(lines, "lubricant density at 15 C"),
            At({{1, "lubricant density at 15 C"}, {35, "rho15"}, {44, "kg/dm3"}, {56, "   0.900"}}));
  EXPECT_NE(Row(lines, "lubricant temperature").find("70.0"), std::string::npos);
  EXPECT_NE(Row(lines, "oil viscosity at 50 C").find("     150"), std::string::npos);

  app::Lubricant.Nu40 = 0;
  app::Lubricant.Density15 = 0;
  lines = Print(app::GearReportStrengthOnly);
  EXPECT_FALSE(HasRow(lines, "nominal viscosity at 40 C"));
  EXPECT_FALSE(HasRow(lines, "lubricant density at 15 C"));
  EXPECT_TRUE(HasRow(lines, "nominal viscosity at 50 C"));
  app::SetLubricantDefaults();
}

}  // namespace

// The drive printed (/I) is the drive rated: of power, torque and speed
// that disagree or are 0, the one the load choice names follows from the
// others, as the drive dialog shows, with a remark where they disagree; a
// pair at rest is not rated. By both methods, in each unit system.
TEST_F(PrintoutSections, TheDrivePrintedIsTheDriveRated) {
  const Real k = calc::PowerPerSpeedTorque;
  // The printout up to its remarks, and what the run said.
  const auto print = [&](Real P, Real T, Real n, std::uint16_t choice, std::uint16_t method) {
    app::SetDesignInputDefaults();
    app::ReadDataFile(std::string(VOB_SOURCE_DIR) + "/resources/null.vb4");
    g.P = P, g.T[1] = T, g.n[1] = n, g.LoadChoice = choice, g.CalcMethod = method;
    app::SaveDataFile(env_.dir.Path("drive.vb4"));
    std::ostringstream out, err;
    EXPECT_EQ(app::RunBatch(app::ParseCommandLine({"drive.vb4", "/I"}), out, err, false), app::ExitDone);
    const std::string txt = testsupport::Slurp(env_.dir.Path("drive.txt"));
    return std::pair{txt.substr(0, txt.find_last_not_of("\r\n", txt.find("REMARKS, WARNINGS") - 1) + 1), err.str()};
  };
  struct Case { Real P, T, n, ratedP, ratedT, ratedN; std::uint16_t choice; std::string remark; };
  for (const Case& c : std::vector<Case>{
           {60, 286.5L, 1000, 60, 0, 1000, calc::LoadComputesTorque, "T from P and n"},
           {60, 286.5L, 1000, 0, 286.5L, 1000, calc::LoadComputesPower, "P from T and n"},
           {60, 286.5L, 1000, 60, 286.5L, 60 / (286.5L * k), calc::LoadComputesSpeed, "n from P and T"},
           {0, 500, 1000, 500 * 1000 * k, 500, 1000, calc::LoadComputesTorque, ""},
           {10, 0, 0, 0, 0, 0, calc::LoadComputesTorque, "P from T and n"}})
    for (const std::uint16_t method : {1, 4}) {
      common::UnitSystem = static_cast<std::uint16_t>((common::UnitSystem + 1) % 5);
      SCOPED_TRACE(c.remark + " method " + std::to_string(method) + " units " + std::to_string(common::UnitSystem));
      const auto [entered, said] = print(c.P, c.T, c.n, c.choice, method);
      if (c.ratedN > 0) {  // the drive dialog opens on the power rated
        EXPECT_EQ(app::LoadDialog().power.text, common::RealToText(c.ratedP > 0 ? c.ratedP : c.ratedT * c.ratedN * k));
      }
      const auto [asRated, saidAsRated] = print(c.ratedP, c.ratedT, c.ratedN, c.choice, method);
      EXPECT_EQ(entered, asRated);
      EXPECT_EQ(said, (c.remark.empty() ? "" : "vob4: Warning: P<>T*n*2PI, " + c.remark + " !\n") + saidAsRated);
      EXPECT_EQ(entered.find("no load"), std::string::npos);
      EXPECT_EQ(entered.find("not rated") == std::string::npos, c.ratedN > 0);
    }
}
