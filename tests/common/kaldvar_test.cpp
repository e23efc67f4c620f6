#include "common/kaldvar.h"

#include <gtest/gtest.h>

#include "platform/system.h"

using namespace common;

TEST(Kaldvar, DefaultsWithoutConfiguration) {
  SetKaldvarDefaults();
  SetWkaldvarDefaults();
  EXPECT_EQ(UnitSystem, UnitsMetric);
  EXPECT_EQ(SignificantDigits, 3);
  EXPECT_EQ(LinesPerPage, 66);
  EXPECT_EQ(DateFormatCode, 3);
  EXPECT_EQ(LanguageCode, 0);
  EXPECT_EQ(ScreenDpi, 96);  // no screen here
  EXPECT_EQ(TextLines[1], std::string(65, ' '));
  EXPECT_EQ(TextLines[135], std::string(65, ' '));
  EXPECT_EQ(WrappedLines[5], std::string(64, ' '));
  EXPECT_TRUE(SheetTexts[1].empty());
  EXPECT_EQ(ProductCode, "KALDRIM");
  SetProgramIdentity();
  EXPECT_EQ(ProductCode, "VOB4");
  EXPECT_EQ(ProgramName, "vob4");
  EXPECT_EQ(DataFileExtension, "vb4");
  EXPECT_EQ(ProgramVersion, "5.2");
}

// The screen's DPI replaces 96 when the screen answers; the init routines
// run once (a nesting counter) while the Set...Defaults routines always reset.
TEST(Kaldvar, ScreenDpiAndNesting) {
  platform::SetScreenDpiQuery([] { return 120; });
  SetWkaldvarDefaults();
  EXPECT_EQ(ScreenDpi, 120);
  platform::SetScreenDpiQuery(nullptr);
  SetWkaldvarDefaults();
  EXPECT_EQ(ScreenDpi, 96);
  EXPECT_EQ(ConfigDirectory, platform::CurrentDirectory());
  EXPECT_EQ(DefaultDataDirectory, ConfigDirectory + "/");
  EXPECT_EQ(StartDirectory, ConfigDirectory);

  InitKaldvar();
  InitWkaldvar();
  LinesPerPage = 72;
  UnitSystem = UnitsImperial;
  InitKaldvar();  // a second unit start changes nothing
  InitWkaldvar();
  EXPECT_EQ(LinesPerPage, 72);
  EXPECT_EQ(UnitSystem, UnitsImperial);
  SetKaldvarDefaults();
  SetWkaldvarDefaults();
  EXPECT_EQ(LinesPerPage, 66);
  EXPECT_EQ(UnitSystem, UnitsMetric);
  FinalizeWkaldvar();
  FinalizeWkaldvar();
  FinalizeKaldvar();
  FinalizeKaldvar();
}
