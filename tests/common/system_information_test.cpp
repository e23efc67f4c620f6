// Machine information texts and form placement numbers: the summary line,
// the version text, file dates, date and time parts from a fixed clock, the
// kernel and os-release readers, pixel scaling and dialog centring.
#include "common/system_information.h"

#include <gtest/gtest.h>

#include "common/form_placement.h"
#include "common/kaldvar.h"
#include "platform/clock.h"
#include "platform/system_info.h"

using namespace common;

TEST(SystemInformation, SummaryVersionFileDateAndClockParts) {
  SetWkaldvarDefaults();
  SetKaldvarDefaults();
  SystemFacts f{"werk7", 6, 1, 2893.4L, 16'777'216'000ULL, 499'000'000'000ULL, "/"};
  EXPECT_EQ(SystemSummaryText(f), "werk7/6.1/2.9GHz/16777MB/499GB//");
  f.volumeBytes = 0;  // a volume that cannot be read
  EXPECT_EQ(SystemSummaryText(f), "werk7/6.1/2.9GHz/16777MB/0GB//");
  EXPECT_EQ(OsVersionText(6, 2, "Debian GNU/Linux 12 (bookworm)"), "6.2 Debian GNU/Linux 12 (bookworm)");
  EXPECT_EQ(OsVersionText(4, 0, ""), "4.0");

  // 2023-07-04 as a packed stamp (time in the low word).
  const std::uint32_t date = ((2023 - 1980) << 9) | (7 << 5) | 4;
  EXPECT_EQ(FileDateText((date << 16) | 0x1234), "2023-07-04");
  EXPECT_EQ(FixedCodeThree(), 3);

  platform::ScopedClock clock({2026, 12, 7, 9, 5, 7, 42});
  std::uint16_t y, mo, d, fourth = 9, h, mi, s, hs;
  GetTodayParts(y, mo, d, fourth);
  GetTimeParts(h, mi, s, hs);
  EXPECT_EQ(std::vector<int>({y, mo, d, fourth, h, mi, s, hs}), std::vector<int>({2026, 12, 7, 0, 9, 5, 7, 42}));
}

TEST(SystemInformation, ThisMachineAnswers) {
  int major = 0, minor = 0;
  platform::ParseKernelRelease("6.1.0-13-amd64", major, minor);
  EXPECT_EQ(major, 6);
  EXPECT_EQ(minor, 1);
  platform::ParseKernelRelease("x", major, minor);
  EXPECT_EQ(major, 0);
  EXPECT_EQ(platform::OsReleaseName("NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian 12\"\n"), "Debian 12");
  EXPECT_EQ(platform::OsReleaseName("NAME=Alpine\n"), "Alpine");
  EXPECT_FALSE(platform::HostName().empty());
  EXPECT_GT(platform::PhysicalMemoryBytes(), 0u);
  EXPECT_GT(platform::VolumeTotalBytes("/"), 0u);
  EXPECT_EQ(platform::VolumeTotalBytes("/no/such/volume/here"), 0u);
  EXPECT_EQ(platform::VolumeRoot("/"), "/");
  const std::string summary = SystemSummaryText();
  EXPECT_EQ(summary.rfind(platform::HostName() + "/", 0), 0u) << summary;
  EXPECT_NE(summary.find("GHz/"), std::string::npos);
  EXPECT_EQ(WindowsVersionName().find('.') != std::string::npos, true);
}

TEST(FormPlacement, PixelScalingCentringAndUnitToggle) {
  SetKaldvarDefaults();
  SetWkaldvarDefaults();
  ZoomPercent = 100;
  ScreenDpi = 96;
  EXPECT_EQ(ScalePixels(50), 50);
  ZoomPercent = 125;
  ScreenDpi = 120;
  EXPECT_EQ(ScalePixels(50), 77);  // 125 * 50 / 100 = 62, 120 * 62 / 96 = 77
  ZoomPercent = 1;
  ScreenDpi = 0;
  EXPECT_EQ(ScalePixels2(50), 50);
  InputWindowScale = 150;
  ScreenDpi = 144;
  EXPECT_EQ(EffectiveInputScale(), 225);
  EXPECT_EQ(ScaledFormSize({0, 0, 301, 201}), (FormRect{0, 0, 451, 301}));

  const FormRect main{100, 50, 800, 600};
  EXPECT_EQ(CenteredOver({0, 0, 400, 200}, main), (FormRect{300, 270, 400, 200}));
  // Wider and taller than the main window: at its edges, still 20 lower.
  EXPECT_EQ(CenteredOver({0, 0, 1000, 900}, main), (FormRect{100, 70, 1000, 900}));

  // Beside the picture: right of it where the screen has room, else left,
  // below, above; over gear 1 (the picture's left half) only as a last
  // resort.
  const FormRect screen{0, 0, 1600, 900};
  const FormRect form{0, 0, 380, 120};
  EXPECT_EQ(BesidePicture(form, {0, 30, 1000, 700}, screen), (FormRect{1004, 30, 380, 120}));
  EXPECT_EQ(BesidePicture(form, {500, 30, 1100, 700}, screen), (FormRect{116, 30, 380, 120}));
  EXPECT_EQ(BesidePicture(form, {0, 30, 1600, 600}, screen), (FormRect{0, 634, 380, 120}));
  EXPECT_EQ(BesidePicture(form, {0, 300, 1600, 600}, screen), (FormRect{1220, 176, 380, 120}));
  // The picture fills the screen: the upper right corner, over gear 2.
  const FormRect full = BesidePicture(form, {0, 0, 1600, 900}, screen);
  EXPECT_EQ(full, (FormRect{1220, 0, 380, 120}));

  UnitSystem = 3;
  ToggleUnitSystem();
  EXPECT_EQ(UnitSystem, 1);
  ToggleUnitSystem();
  EXPECT_EQ(UnitSystem, 0);

  std::string value = "x";
  GetEnvText("VOB4_SURELY_NOT_SET", value);
  EXPECT_EQ(value, "");
  setenv("VOB4_TEST_ENV", std::string(300, 'a').c_str(), 1);
  GetEnvText("VOB4_TEST_ENV", value);
  EXPECT_EQ(value.size(), 255u);
}
