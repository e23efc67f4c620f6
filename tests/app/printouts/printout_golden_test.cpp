// The printouts end to end: committed designs of every curve family, in
// metric and imperial units and under every calculation method, are read
// by the command-line text printout ("/I") and by the pitch-curve printout,
// and the written files are compared with committed golden files (date
// and time fixed through the platform clock).
//
// After a change of the calculation, VOB_UPDATE_GOLDEN=1 rewrites the
// golden files (and the design files, from the set-ups below); review the
// change with `git diff tests/data` before committing it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>

#include "app/command_line.h"
#include "app/data_file.h"
#include "app/design_extras.h"
#include "app/printouts/gear_printout.h"
#include "app/printouts/pitch_curve_printout.h"
#include "calc/calc_records.h"
#include "calc/spur_gear_data.h"
#include "calc/spur_test_pairs.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/report_writer.h"
#include "drawing/outlines/tooth_warnings.h"
#include "platform/clock.h"
#include "platform/report_viewer.h"
#include "platform/scripted_dialogs.h"
#include "support/file_test_support.h"
#include "support/golden_files.h"
#include "support/report_test_support.h"

namespace fs = std::filesystem;
using testsupport::Slurp;

namespace {

struct GoldenDesign {
  const char* name;
  bool imperial;
  // Sets up the design from the start values; nullptr: a committed design
  // that is not generated here.
  std::function<void()> setUp;
};

// The drive of every generated design: 10 kW at 1000 1/min of gear 1.
void Drive(std::uint16_t method, int family) {
  calc::TSpurGearData& g = calc::SpurGearData;
  g.CalcMethod = method;
  g.P = 10;
  g.n[1] = 1000;
  if (method == 3) calc_test::SetEnteredFactors(g);
  calc_test::SetCurveFamily(family);
}

const GoldenDesign kDesigns[] = {
    {"null", false, nullptr},
    {"formula_din", false,
     [] {
       Drive(1, 1);
       calc::SpurGearData.DrawingName[1] = "Drive wheel <A&B>";
       calc::SpurGearData.DrawingNumber[1] = "4711-1";
       calc::SpurGearData.DrawingName[2] = "Driven wheel";
       calc::SpurGearData.DrawingNumber[2] = "4711-2";
     }},
    {"ellipse_iso", false, [] { Drive(4, 2); }},
    {"sine_din41_imperial", true, [] { Drive(2, 3); }},
    {"sinelinear_input", false, [] { Drive(3, 4); }},
    {"polygon_iso_imperial", true,
     [] {
       Drive(4, 5);
       calc::TSpurGearData& g = calc::SpurGearData;
       g.MachiningAllowance.fill(0.1L);
       g.MachiningAllowanceTol.fill(0.02L);
       app::ToothCorrectionText[1] = "tip relief 0.02";
       app::MaterialName[1] = "16MnCr5";
       app::MaterialName[2] = "18CrNiMo7-6";
     }},
    {"polynomial_din_lifefactors", false,
     [] {
       Drive(1, 6);
       calc::SpurGearData.LifeFactorsInput = 1;
     }},
    {"pointfit_iso_notch", false,
     [] {
       Drive(4, 7);
       calc::SpurGearData.GrindingNotch = true;
       calc::SpurGearData.tgrg.fill(0.5L);
     }},
    {"eccentric_din_imperial", true, [] { Drive(1, 8); }},
    {"polyline_din41_overload", false,
     [] {
       Drive(2, 9);
       calc::SpurGearData.P = 400;  // low safeties: the service-life lines
     }},
    {"ellipse_din_no_load", false,
     [] {
       Drive(1, 2);
       calc::SpurGearData.P = 0;  // no power: the pair is not rated
     }},
};

std::string DesignPath(const std::string& name) {
  if (name == "null") return std::string(VOB_SOURCE_DIR) + "/resources/null.vb4";
  return std::string(VOB_SOURCE_DIR) + "/tests/data/designs/" + name + ".vb4";
}

class PrintoutGolden : public ::testing::TestWithParam<GoldenDesign> {
 protected:
  // The program's start installs the warnings about the teeth.
  PrintoutGolden() {
    app::SetDesignInputDefaults();
    drawing::InstallToothWarnings();
  }

  // The design file of the test in the scratch directory, written first
  // from its set-up while the golden files are being rewritten.
  std::string DesignFile() {
    const GoldenDesign& d = GetParam();
    if (d.setUp && testsupport::UpdatingGoldenFiles()) {
      app::SetDesignInputDefaults();
      d.setUp();
      app::SaveDataFile(DesignPath(d.name));
      EXPECT_EQ(common::AbortFlag, 0);
      common::AbortFlag = 0;
    }
    const std::string local = std::string(d.name) + ".vb4";
    fs::copy_file(DesignPath(d.name), dir_.Path(local));
    common::UnitSystem = d.imperial ? common::UnitsImperial : common::UnitsMetric;
    return local;
  }

  testsupport::ReportTestEnvironment env_{std::string("printout_") + GetParam().name, {2026, 3, 7, 14, 30, 0, 0}};
  const testsupport::ScratchDirectory& dir_ = env_.dir;
  platform::ScriptedDialogs& dialogsObject_ = env_.dialogs;
};

TEST_P(PrintoutGolden, CommandLineTextPrintout) {
  const std::string name = GetParam().name;
  const std::string design = DesignFile();
  std::ostringstream out, err;
  const int code = app::RunBatch(app::ParseCommandLine({design, "/I"}), out, err, false);
  EXPECT_EQ(code, app::ExitDone) << err.str();
  const std::string txt = Slurp(dir_.Path(name + ".txt"));
  ASSERT_FALSE(txt.empty());
  testsupport::ExpectGolden(txt, "printouts/" + name + ".txt");
  // Only the design and its printout are left: no spool file, no copy.
  EXPECT_EQ(dir_.Entries(), 2u);
  EXPECT_TRUE(dialogsObject_.Asked().empty()) << "a batch run asks nothing";
}

TEST_P(PrintoutGolden, PitchCurvePrintoutOnTheFileDevice) {
  const std::string name = GetParam().name;
  const std::string design = DesignFile();
  app::ReadDataFile(design);
  ASSERT_EQ(common::AbortFlag, 0);
  common::CurrentFileName = name;
  common::DataDirectory.clear();
  common::TextDevice = common::ReportFile;
  dialogsObject_.Then(platform::ScriptedAnswer::File(name + "_curve.txt"));
  app::PrintPitchCurveReport(3);
  ASSERT_EQ(common::AbortFlag, 0);
  testsupport::ExpectGolden(Slurp(dir_.Path(name + "_curve.txt")), "printouts/" + name + "_curve.txt");
}

// The gear printout on the HTML device: one well-formed page with the row
// texts escaped, on which tidy finds no error.
TEST_P(PrintoutGolden, HtmlGearPrintoutIsWellFormed) {
  const std::string name = GetParam().name;
  app::ReadDataFile(DesignFile());
  ASSERT_EQ(common::AbortFlag, 0);
  common::CurrentFileName = name;
  common::DataDirectory.clear();
  common::TextDevice = common::ReportHtmlFile;
  dialogsObject_.Then(platform::ScriptedAnswer::File(name + ".htm"));
  app::PrintGearReport(app::GearReportComplete);
  ASSERT_EQ(common::AbortFlag, 0);
  const std::string html = Slurp(dir_.Path(name + ".htm"));
  EXPECT_EQ(html.find("<A&B>"), std::string::npos);
  if (name == "formula_din") {
    EXPECT_NE(html.find("Drive wheel &lt;A&amp;B&gt;"), std::string::npos);
  }
  std::size_t heads = 0;
  for (std::size_t at = html.find("<HTML>"); at != std::string::npos; at = html.find("<HTML>", at + 1)) ++heads;
  EXPECT_EQ(heads, 1u);

  if (std::system("command -v tidy >/dev/null 2>&1") != 0) GTEST_SKIP() << "tidy is not installed";
  const std::string report = dir_.Path("tidy.out");
  const int rc = std::system(("tidy -q -e '" + dir_.Path(name + ".htm") + "' >'" + report + "' 2>&1").c_str());
  EXPECT_LT(WEXITSTATUS(rc), 2) << Slurp(report);  // 2: errors; 1: warnings only
  EXPECT_EQ(Slurp(report).find("Error:"), std::string::npos) << Slurp(report);
}

INSTANTIATE_TEST_SUITE_P(Designs, PrintoutGolden, ::testing::ValuesIn(kDesigns),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
