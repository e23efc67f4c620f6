// Configuration and session files mangled at random (lines deleted, doubled,
// swapped, replaced by random bytes or by numbers at and beyond the limits,
// the file cut short): reading never crashes or hangs, closes the file,
// applies the fall-back rules so that every ranged setting stays in its
// range and every real is finite, and what was loaded settles after one
// write and read. The mutations are seeded, so a failure repeats.
#include "common/config_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "common/cad_settings.h"
#include "common/graphics_settings.h"
#include "common/kaldvar.h"
#include "common/session_file.h"
#include "common/text_file.h"
#include "common/unit_labels.h"
#include "platform/scripted_dialogs.h"
#include "support/file_test_support.h"

using namespace common;
using testsupport::Put;
using testsupport::Slurp;
using testsupport::SplitLines;

namespace {

const char* const Odd[] = {"",           "\r",          "nan",    "-inf",    "1e4000", "-1e4000", "1e5000",
                           "1e-5000",    "2147483647",  "-2147483648", "-1", "65535", "65536",   "4294967296",
                           "0",          "TRUE",        "FALSE",  "|||",     "0|0|0|0|", "99999|99999|1|1|",
                           "1e300",      "-0.0000001",  "8",      "1000000"};

std::string Mutate(const std::vector<std::string>& lines, std::mt19937& rng) {
  return testsupport::MutateLines(lines, rng, Odd, 4);
}

void AllDefaults() {
  SetKaldvarDefaults();
  SetWkaldvarDefaults();
  SetProgramIdentity();
  InitScreenGraphicsSettings();
  InitPrinterGraphicsSettings();
  InitCadSettings();
  InitConfigOnlySettings();
}

class ConfigRobustness : public ::testing::Test {
 protected:
  void SetUp() override {
    AllDefaults();
    ConfigDirectory = dir_.Dir().string();
  }
  void TearDown() override { SharedTextFile.Discard(); }

  // The settings in memory as the writer puts them on disk.
  std::string Written() {
    AbortFlag = 0;
    WriteConfigFile();
    EXPECT_EQ(AbortFlag, 0);
    return Slurp(dir_.Path("vob4.cfg"));
  }

  testsupport::ScratchDirectory dir_{"config_robustness"};
  platform::ScriptedDialogs dialogs_;
  platform::ScopedDialogs scope_{dialogs_};
};

// Every setting with a fall-back rule is inside its range, and every real
// of the records is finite.
void ExpectSettingsSound() {
  const TCadSettings& c = CadSettings;
  const TScreenGraphicsSettings& s = ScreenGraphicsSettings;
  const TPrinterGraphicsSettings& p = PrinterGraphicsSettings;
  ASSERT_TRUE(SignificantDigits >= 1 && SignificantDigits <= 9);
  ASSERT_TRUE(PrintDensityVertical >= 1 && PrintDensityVertical <= 4);
  ASSERT_GE(LinesPerPage, 5);
  ASSERT_LT(HeaderSpaceLines, 31);
  ASSERT_TRUE(TextDevice >= 1 && TextDevice <= 9);
  ASSERT_TRUE(DecimalSign == 1 || DecimalSign == 2);
  ASSERT_TRUE(InputWindowScale >= 10 && InputWindowScale <= 1000);
  ASSERT_TRUE(HeaderMode == 1 || HeaderMode == 2);
  ASSERT_LE(UnitSystem, UnitsMetricKNNmm2);
  ASSERT_TRUE(ZoomPercent >= 10 && ZoomPercent <= 1000);
  ASSERT_TRUE(AngleFormat == 1 || AngleFormat == 2);
  ASSERT_TRUE(c.CadDecimals >= 1 && c.CadDecimals <= 32);
  ASSERT_LE(c.PlotCommandCount, MaxPlotCommandLines);
  ASSERT_LE(c.PlotCommandIndex, std::max<int>(c.PlotCommandCount, 1));
  for (int i = 0; i <= 5; ++i) ASSERT_TRUE(c.CadLayerLineWidths[i] >= 1 && c.CadLayerLineWidths[i] <= 255);
  ASSERT_GE(CadTextMode, 1);
  ASSERT_NE(p.TextSizePrintout, 0);
  ASSERT_NE(RotateHardcopy, '\0');
  ASSERT_GT(s.TextHeightFactor, 0.1L);
  ASSERT_GT(c.CadArcResolution, 0);
  for (Real x : {c.CadTextWidthRatio, c.CadFontSlant, c.CadScaleSetting, c.CadArcResolution, s.GraphXFactor,
                 s.ZoomIncrement, s.PanFactor, s.TextWidthFactor, s.TextHeightFactor, View3DAngles[1],
                 View3DAngles[2], View3DAngles[3]})
    ASSERT_TRUE(std::isfinite(x));
  for (double x : {p.ScreendumpScale, p.PrintScaleVertical}) ASSERT_TRUE(std::isfinite(x));
  ASSERT_NE(p.ScreendumpScale, 0);
  ASSERT_TRUE(p.PrintScaleVertical > 0.0001 || p.PrintScaleVertical == p.ScreendumpScale);
}

TEST_F(ConfigRobustness, MangledConfigurationFiles) {
  std::mt19937 rng(5);
  const std::vector<std::string> bases[] = {SplitLines(Written()), [&] {
                                              // A file with three plot command lines and settings off
                                              // their defaults.
                                              CadSettings.PlotCommandCount = 3;
                                              CadSettings.PlotCommandLines[2] = "plot two";
                                              CadSettings.PlotCommandLines[3] = "plot three";
                                              SignificantDigits = 5;
                                              DecimalSign = 2;
                                              UnitSystem = UnitsMetricKN;
                                              const auto lines = SplitLines(Written());
                                              AllDefaults();
                                              ConfigDirectory = dir_.Dir().string();
                                              return lines;
                                            }()};
  for (int round = 0; round < 400; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    AllDefaults();
    ConfigDirectory = dir_.Dir().string();
    Put(dir_.Path("vob4.cfg"), Mutate(bases[round % 2], rng));
    const auto start = std::chrono::steady_clock::now();
    ReadConfigFile();
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 2.0);
    ASSERT_FALSE(SharedTextFile.IsOpen());
    ExpectSettingsSound();
    // Written and read again, the settings settle at once: the second file
    // equals the first. (Not the mangled file's own settings: a setting read
    // empty takes another one's value, "empty -> the maker directory".)
    Written();
    std::string written[2];
    for (std::string& file : written) {
      AllDefaults();
      ConfigDirectory = dir_.Dir().string();
      ReadConfigFile();
      ExpectSettingsSound();
      file = Written();
    }
    ASSERT_EQ(written[1], written[0]);
  }
}

TEST_F(ConfigRobustness, MangledSessionFiles) {
  std::mt19937 rng(9);
  const std::vector<std::string> base = {"vob4 Session /data", "/data/a.vb4", "/data/b.vb4", "", "/x/c.vb4"};
  for (int round = 0; round < 200; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    for (std::string& name : RecentFiles) name = "stale";
    std::string bytes = Mutate(base, rng);
    if (round % 50 == 0) bytes += std::string(1 << 20, 'x');  // a last line of a megabyte without its end
    Put(dir_.Path("vob4.cff"), bytes);
    ReadSessionFile();
    ASSERT_FALSE(SharedTextFile.IsOpen());
    // The entries come from the file's lines 2 to 5 (empty past its end).
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
      std::size_t end = bytes.find_first_of("\r\n", start);
      if (end == std::string::npos) end = bytes.size();
      lines.push_back(bytes.substr(start, end - start));
      start = end + 1;
      if (bytes.compare(end, 2, "\r\n") == 0) ++start;
    }
    for (int i = 1; i <= 4; ++i)
      ASSERT_EQ(RecentFiles[i], static_cast<std::size_t>(i) < lines.size() ? lines[static_cast<std::size_t>(i)] : "")
          << i;
  }
}

}  // namespace
