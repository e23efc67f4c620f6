// The texts of the Help menu's system-information and about windows, made
// from fixed facts of a machine, and from this machine's.
#include "app/help/program_information.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/kaldvar.h"
#include "common/number_format.h"

namespace {

TEST(ProgramInformationTest, SystemInformationLines) {
  common::DecimalSign = 1;
  app::SysInfoFacts f;
  f.computerName = "bench";
  f.userName = "anna";
  f.programFile = "/opt/Vob4/vob4";
  f.fileSystem = "ext4";
  f.volumeReadable = true;
  f.volumeTotalBytes = 123456ull * 1024 * 1024;
  f.volumeFreeBytes = 999ull * 1024 * 1024 + 5;
  f.osName = "6.1 Debian GNU/Linux 12 (bookworm)";
  f.cpuMHz = 2904;
  f.summary = "bench/6.1/2.9GHz/16000MB/129GB//";
  f.ipAddresses = {"10.0.0.2", "192.168.1.9"};
  EXPECT_EQ(app::SysInfoLines(f), (std::vector<std::string>{
                                      "PC Name     : bench",
                                      "User        : anna",
                                      "File name   : /opt/Vob4/vob4",
                                      "File syst.  : ext4",
                                      "HD total    : 123,456 MB",
                                      "HD free     :    999 MB",
                                      "Operat.sys. : 6.1 Debian GNU/Linux 12 (bookworm)",
                                      "Clock speed : 2904 MHz",
                                      "bench/6.1/2.9GHz/16000MB/129GB//",
                                      "IP-Adress:",
                                      "10.0.0.2",
                                      "192.168.1.9",
                                  }));
  f.volumeReadable = false;
  const std::vector<std::string> unreadable = app::SysInfoLines(f);
  EXPECT_EQ(unreadable[4], "HD total    :      0 MB");
  EXPECT_EQ(unreadable[5], "File system error");
  common::DecimalSign = 2;
  EXPECT_EQ(app::ThousandsText(1234567, 6), "1.234.567");
  EXPECT_EQ(app::ThousandsText(12, 6), "    12");
  common::DecimalSign = 1;
}

TEST(ProgramInformationTest, AboutTexts) {
  common::SetKaldvarDefaults();
  common::SetProgramIdentity();
  const app::AboutTexts t = app::AboutBoxTexts("Linux", "/opt/vob4/bin/vob4");
  EXPECT_EQ(t.caption, "VOB4");
  EXPECT_EQ(t.title, "VOB4 - Razivudo Redo Zavaz");
  EXPECT_EQ(t.productName, "Version 5.2 for Linux");
  EXPECT_EQ(t.notice, common::ProgramNotice);
  EXPECT_TRUE(t.comments.empty());
  EXPECT_EQ(t.fileVersion, "File Version : 5.2   (vob4:" + std::string(app::BuildTag) + ")");
  // Nothing known of the machine: no system named, the program's name.
  const app::AboutTexts unknown = app::AboutBoxTexts("", "");
  EXPECT_EQ(unknown.productName, "Version 5.2");
  EXPECT_EQ(unknown.fileVersion, "File Version : 5.2   (vob4:" + std::string(app::BuildTag) + ")");
  // This machine: the system it runs on, not another.
  const app::AboutTexts here = app::AboutBoxTexts();
  EXPECT_EQ(here.productName.find("Windows"), std::string::npos);
  EXPECT_EQ(here.fileVersion.find(".exe"), std::string::npos);
  EXPECT_NE(here.productName.find(" for "), std::string::npos) << here.productName;
  EXPECT_EQ(app::SysInfoCaption(), "VOB4 System Info");
}

}  // namespace
