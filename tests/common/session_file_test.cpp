// Session file: exactly five lines, not written without a first entry,
// a missing file empties the list, the name in any case.
#include "common/session_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/kaldvar.h"
#include "common/text_file.h"
#include "platform/scripted_dialogs.h"
#include "support/file_test_support.h"

using namespace common;
namespace fs = std::filesystem;
using testsupport::Slurp;

namespace {

class SessionFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetKaldvarDefaults();
    SetWkaldvarDefaults();
    SetProgramIdentity();
    ConfigDirectory = dir_.Dir().string();
  }
  testsupport::ScratchDirectory dir_{"session"};
  platform::ScriptedDialogs dialogs_;
  platform::ScopedDialogs scope_{dialogs_};
};

}  // namespace

TEST_F(SessionFileTest, WritesFiveLinesAndReadsThemBack) {
  DataDirectory = "/home/u/data";
  RecentFiles[1] = "/home/u/data/a.vb4";
  RecentFiles[2] = "/home/u/data/b.vb4";
  RecentFiles[3] = "";
  RecentFiles[4] = "/x/\x81.vb4";
  AbortFlag = 1;  // cleared by the write
  WriteSessionFile();
  EXPECT_EQ(AbortFlag, 0);
  EXPECT_EQ(Slurp(dir_.Path("vob4.cff")),
            "vob4 Session /home/u/data\r\n/home/u/data/a.vb4\r\n/home/u/data/b.vb4\r\n\r\n/x/\x81.vb4\r\n");

  const auto written = RecentFiles;
  for (auto& name : RecentFiles) name = "junk";
  ReadSessionFile();
  EXPECT_TRUE(RecentFiles == written);
}

TEST_F(SessionFileTest, NotWrittenWithoutFirstEntry) {
  { std::ofstream(dir_.Path("vob4.cff")) << "previous"; }
  RecentFiles[1] = "";
  RecentFiles[2] = "b";
  WriteSessionFile();
  EXPECT_EQ(Slurp(dir_.Path("vob4.cff")), "previous");
}

TEST_F(SessionFileTest, MissingFileEmptiesListAndShortFileReadsEmpty) {
  RecentFiles[1] = "a";
  RecentFiles[4] = "d";
  ReadSessionFile();
  for (const auto& name : RecentFiles) EXPECT_EQ(name, "");
  EXPECT_EQ(AbortFlag, 0);

  { std::ofstream(dir_.Path("VOB4.CFF")) << "vob4 Session x\nonly.vb4\n"; }
  ReadSessionFile();
  EXPECT_EQ(RecentFiles[1], "only.vb4");
  EXPECT_EQ(RecentFiles[2], "");
  // Written back under the name it was read from.
  WriteSessionFile();
  EXPECT_FALSE(fs::exists(dir_.Path("vob4.cff")));
  EXPECT_EQ(Slurp(dir_.Path("VOB4.CFF")), "vob4 Session \r\nonly.vb4\r\n\r\n\r\n\r\n");
}
