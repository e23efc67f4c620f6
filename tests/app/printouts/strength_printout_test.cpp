// What the gear printout says about the noncircular pair beyond the spur
// data set of one position, on the shipped default design (an ellipse rated
// after ISO 6336): the pair's own centre distance in the head, the largest
// resonance ratio of the turn with its drive angle, the slip-layer
// thickness of each gear's root, and the drive angle of the strength view
// on the TXT device.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/data_file.h"
#include "app/main_menu.h"
#include "app/main_window.h"
#include "app/printouts/gear_printout.h"
#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "calc/spur_gear_data.h"
#include "common/angle_date_format.h"
#include "common/code_page.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/number_format.h"
#include "common/numeric_routines.h"
#include "common/report_writer.h"
#include "common/text_utils.h"
#include "common/unit_labels.h"
#include "support/app_start.h"
#include "support/file_test_support.h"
#include "support/report_test_support.h"

namespace fs = std::filesystem;
using testsupport::Slurp;

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The head of a TXT printout: the lines before the blank that closes it.
std::vector<std::string> TxtHead(const std::vector<std::string>& lines) {
  const auto end = std::find(lines.begin(), lines.end(), " ");
  return {lines.begin(), end};
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class StrengthPrintout : public ::testing::Test {
 protected:
  StrengthPrintout() {
    fs::copy_file(fs::path(VOB_SOURCE_DIR) / "resources" / "null.vb4", env_.dir.Path("null.vb4"));
  }

  // The default design read, its pair calculated.
  void ReadDefaultDesign() {
    app::ReadDataFile("null");
    ASSERT_EQ(common::AbortFlag, 0);
    ASSERT_EQ(common::FatalFlag, 0);
  }

  // The strength report of the current data set on the screen device, the
  // page margin and trailing blanks removed.
  std::vector<std::string> PrintStrengthOnScreen() {
    common::TextDevice = common::ReportScreen;
    common::TextDeviceWindow = false;
    env_.viewer.Clear();
    app::PrintGearReport(app::GearReportStrengthOnly);
    return testsupport::LastReportLines(env_.viewer);
  }

  static std::string At(std::initializer_list<std::pair<int, std::string>> texts) {
    return testsupport::PageRowAt(texts);
  }
  static std::string Row(const std::vector<std::string>& lines, const std::string& begin) {
    return testsupport::LineBeginning(lines, begin);
  }

  testsupport::ReportTestEnvironment env_{"strength_printout"};
};

// The default design's shafts stand 109.774 mm apart; the substitute spur
// pair of the printed position (360 degrees) has 110.000. The head says
// which is which.
TEST_F(StrengthPrintout, PairCentreDistanceInTheHead) {
  std::ostringstream out, err;
  ASSERT_EQ(app::RunBatch(app::ParseCommandLine({"null.vb4", "/I"}), out, err, false), app::ExitDone) << err.str();
  EXPECT_NEAR(static_cast<double>(calc::NcPair.a), 109.7736, 1e-4);
  EXPECT_NEAR(static_cast<double>(common::RadToDeg(calc::SubstitutePairPhi)), 360, 1e-12);
  EXPECT_NEAR(static_cast<double>(calc::SpurGearData.CentreDistance), 110, 1e-9);

  const std::vector<std::string> lines = Lines(Slurp(env_.dir.Path("null.txt")));
  const std::vector<std::string> head = TxtHead(lines);
  EXPECT_TRUE(Contains(head, "noncircular pair a = 109.774 mm; substitute pair at phi = 360\xC2\xB0"))
      << ::testing::PrintToString(head);
  EXPECT_TRUE(Contains(lines, "center dist. subst.pair at phi\ta\tmm\t  110.000"));
  EXPECT_FALSE(Contains(lines, "center distance\ta\tmm\t  110.000"));

  // On the page devices the note stands framed in the head of both
  // reports.
  common::TextDevice = common::ReportScreen;
  common::TextDeviceWindow = false;
  env_.viewer.Clear();
  app::PrintGearReport(app::GearReportComplete);
  ASSERT_FALSE(env_.viewer.Recorded().empty());
  int framed = 0;
  for (const std::string& line : env_.viewer.Recorded().back().report.lines)
    if (line.find("noncircular pair a = 109.774 mm; substitute pair at phi = 360") != std::string::npos) ++framed;
  EXPECT_GE(framed, 2);  // every page head of both reports
}

// An upright ellipse (40 x 60) has its largest resonance ratios at inner
// positions (about 60 and 120 degrees, and again half a turn on), a tenth
// above the ratio at the printed position, 360 degrees. At the speed that
// puts the top at N = 0.93, under a line load above 100 N/mm (main
// resonance from 0.85 on), the turn runs through the main resonance while
// the printed position stays subcritical; the printout names the largest
// ratio and the first drive angle of it, found here by rating every
// position once more.
TEST_F(StrengthPrintout, LargestResonanceRatioOfTheTurnAndItsAngle) {
  ReadDefaultDesign();
  calc::EllipseCurve.a = 40;
  calc::EllipseCurve.b = 60;
  calc::SpurGearData.P = 30;
  calc::CalcNoncircularPair();
  ASSERT_EQ(common::FatalFlag, 0);
  const Real slowMax = calc::SafetyExtremes.ResonanceRatioMax;
  ASSERT_GT(slowMax, 0);
  calc::TSpurGearData& g = calc::SpurGearData;
  g.n[1] = 1000 * 0.93L / slowMax;
  g.P = 30 * g.n[1] / 1000;  // the same torque
  calc::CalcNoncircularPair();
  ASSERT_EQ(common::FatalFlag, 0);
  bool warned = false;  // the sweep warns of the resonance somewhere in the turn
  for (int k = 1; k <= common::MsgCount; ++k) warned = warned || common::MsgText[k] == "Warning: resonance (1)";
  EXPECT_TRUE(warned);

  Real top = 0;
  int topDegree = 0;
  for (int degree = 1; degree <= 360; ++degree) {
    calc::CalcSubstituteSpurPair(degree * common::Pi / 180);
    ASSERT_EQ(common::FatalFlag, 0) << degree << " " << (common::MsgCount > 0 ? common::MsgText[1] : std::string());
    if (g.ResonanceRatio > top * (1 + 1e-6L)) {
      top = g.ResonanceRatio;
      topDegree = degree;
    }
  }
  EXPECT_NEAR(static_cast<double>(top), 0.93, 1e-9);
  EXPECT_GT(topDegree, 45);  // an inner position
  EXPECT_LT(topDegree, 90);
  EXPECT_EQ(g.NS, 0.85L);
  EXPECT_LT(g.ResonanceRatio, 0.85L);  // the printed position, 360 degrees, is subcritical
  EXPECT_NEAR(static_cast<double>(calc::SafetyExtremes.PhiAtResonanceRatioMax * 180 / common::Pi), topDegree,
              1e-9);

  const std::vector<std::string> lines = PrintStrengthOnScreen();
  EXPECT_EQ(Row(lines, "resonance ratio  "),
            At({{1, "resonance ratio"}, {35, "nS"}, {44, "n/nE"}, {56, common::FormatRealDigits(3, 4, g.ResonanceRatio)}}));
  EXPECT_EQ(Row(lines, "resonance ratio, largest of turn"),
            At({{1, "resonance ratio, largest of turn"}, {35, "nS max"}, {44, "n/nE"}, {56, "  0.9300"}}));
  EXPECT_EQ(Row(lines, "drive angle of largest ratio"),
            At({{1, "drive angle of largest ratio"}, {35, "phi"}, {44, "deg"},
                {56, common::OemToDisplayText(common::AngleToText(static_cast<Real>(topDegree)))}}));
}

// ISO 6336-3 method B: the slip-layer thickness of each gear's material,
// printed beside the notch sensitivity it gives; DIN 3990 prints no row.
TEST_F(StrengthPrintout, SlipLayerThicknessRows) {
  ReadDefaultDesign();
  calc::TSpurGearData& g = calc::SpurGearData;
  ASSERT_EQ(g.CalcMethod, 4);
  // Gear 1 gas-nitrided, gear 2 a through-hardened steel of SigmaFE 500.
  g.HeatTreatment[1] = 5;
  g.MaterialType[2] = 3;
  g.HeatTreatment[2] = 1;
  g.SigmaFE[2] = 500;
  calc::CalcNoncircularPair();
  ASSERT_EQ(common::FatalFlag, 0);
  EXPECT_EQ(g.rhoPrime[1], 0.1005L);
  EXPECT_EQ(g.rhoPrime[2], 0.0064L);
  for (int i = 1; i <= 2; ++i)
    EXPECT_NEAR(g.YdrelT[i],
                (1 + std::sqrt(0.2L * (1 + 2 * g.qs[i]) * g.rhoPrime[i])) / (1 + std::sqrt(1.2L * g.rhoPrime[i])),
                1e-15);
  std::vector<std::string> lines = PrintStrengthOnScreen();
  EXPECT_EQ(Row(lines, "slip-layer thickness"),
            At({{1, "slip-layer thickness"}, {35, "rho'"}, {44, "mm"}, {51, "  0.1005"}, {62, "  0.0064"}}));
  // The row stands between the two relative factors.
  const auto notch = std::find_if(lines.begin(), lines.end(),
                                  [](const std::string& l) { return l.rfind("rel.notch sensitiv.factor", 0) == 0; });
  ASSERT_NE(notch, lines.end());
  ASSERT_LT(notch + 2, lines.end());
  EXPECT_EQ((notch + 2)->rfind("slip-layer thickness", 0), 0u);  // after the rule line

  g.CalcMethod = 1;
  calc::CalcNoncircularPair();
  ASSERT_EQ(common::FatalFlag, 0);
  EXPECT_EQ(g.rhoPrime[1], 0.1005L);  // computed, not printed
  lines = PrintStrengthOnScreen();
  EXPECT_EQ(Row(lines, "slip-layer thickness"), "");
  EXPECT_NE(Row(lines, "rel.notch sensitiv.factor"), "");
}

// The strength view of the main menu prints the position of the lowest
// pitting safety; on the TXT device its head keeps the drive angle line
// the view sets, and the pair's note.
TEST_F(StrengthPrintout, StrengthViewOnTheTxtDeviceKeepsItsAngle) {
  testsupport::StartProgram();
  common::TempDirectory = env_.dir.Dir().string();
  common::DateFormatCode = 3;
  app::MainFormCreate();
  ASSERT_NEAR(static_cast<double>(calc::NcPair.a), 109.7736, 1e-4);  // the default design
  common::TextDevice = common::ReportTxtFile;
  common::TextDeviceWindow = false;
  app::MenuItemClick("mi_viewprintoutfestigkeitvob1");
  ASSERT_EQ(common::AbortFlag, 0);

  std::string written;
  for (const auto& entry : fs::directory_iterator(env_.dir.Dir()))
    if (entry.path().filename().string().rfind("$$", 0) == 0) written = entry.path().string();
  ASSERT_FALSE(written.empty());
  const std::vector<std::string> head = TxtHead(Lines(Slurp(written)));
  const Real phi = calc::SafetyExtremes.PhiAtSHmin[1];
  EXPECT_TRUE(Contains(head, "phi = " + common::RealToText(common::RadToDeg(phi)) + "\xC2\xB0"))
      << ::testing::PrintToString(head);
  EXPECT_TRUE(Contains(head, common::OemToDisplayText("noncircular pair a = 109.774 mm; substitute pair at phi = " +
                                                      common::TrimBlanks(common::AngleToText(common::RadToDeg(phi))))))
      << ::testing::PrintToString(head);
  EXPECT_EQ(common::SheetTexts[2], "");  // the view's line is the view's only
}

// The strength view computes the weakest position once more; its remarks
// are the pair's, which hold what that position says with the angle where
// it first arose. The message list and the menu's count stay as the pair's
// calculation left them, and the printout says the same.
TEST_F(StrengthPrintout, StrengthViewKeepsThePairsMessages) {
  testsupport::StartProgram();
  common::TempDirectory = env_.dir.Dir().string();
  app::MainFormCreate();
  calc::TSpurGearData& g = calc::SpurGearData;
  g.haP0Factor[1] = g.haP0Factor[2] = 1.05L;  // a clearance below 0.12 mn at every position
  calc::CalcNoncircularPair();
  app::UpdateMessageMenu();
  ASSERT_EQ(common::FatalFlag, 0);
  const auto listed = [] {
    std::vector<std::string> texts;
    for (int n = 1; n <= common::MsgCount; ++n) texts.push_back(common::MsgText[n]);
    return texts;
  };
  const std::vector<std::string> pair = listed();
  ASSERT_EQ(pair, (std::vector<std::string>{"Warning: clearance sh.add. < 0.12mn ! (1) first at 1\xF8",
                                            "Warning: clearance sh.add. < 0.12mn ! (2) first at 1\xF8"}));
  EXPECT_EQ(app::MenuItem("mi_helpErrorMessages").caption, "&Error messages (2)");

  common::TextDevice = common::ReportTxtFile;
  common::TextDeviceWindow = false;
  app::MenuItemClick("mi_viewprintoutfestigkeitvob1");
  ASSERT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(listed(), pair);
  EXPECT_EQ(common::FatalFlag, 0);
  EXPECT_EQ(app::MenuItem("mi_helpErrorMessages").caption, "&Error messages (2)");

  std::string written;
  for (const auto& entry : fs::directory_iterator(env_.dir.Dir()))
    if (entry.path().filename().string().rfind("$$", 0) == 0) written = entry.path().string();
  ASSERT_FALSE(written.empty());
  const std::string text = Slurp(written);
  for (const std::string& message : pair) {
    const std::string shown = common::OemToDisplayText(message);
    const std::size_t at = text.find(shown);
    EXPECT_NE(at, std::string::npos) << shown;
    EXPECT_EQ(text.find(shown, at + 1), std::string::npos) << shown;
  }
}

}  // namespace
