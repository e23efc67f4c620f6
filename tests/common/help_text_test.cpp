// Help entries from the help files: which file holds an entry, how keys,
// continuation lines and the next entry bound it, the box and the picture
// it shows, and the one-line hint form.
#include "common/help_text.h"

#include <gtest/gtest.h>

#include "common/graphics_facade.h"
#include "common/graphics_window.h"
#include "common/kaldvar.h"
#include "platform/scripted_dialogs.h"
#include "support/file_test_support.h"

using namespace common;
using testsupport::Put;

namespace {

class HelpTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetKaldvarDefaults();
    SetWkaldvarDefaults();
    SetProgramIdentity();
    PltDirectory = dir_.Dir().string();
    Put(dir_.Path("kaldrim.hlp"),
        "3995:gear1\r\nFirst line of 3995\r\n3996\r\nSecond line\r\na plain line\r\n"
        "3998\r\nLast of 3995\r\n4000\r\nnot read from here\r\n");
    Put(dir_.Path("vob4.hlp"),
        "1000:NULL\r\nnot this file\r\n4000:pitch\r\nEntry 4000 \x81" "ber\r\n4001\r\nsecond\r\n"
        "4005\r\nnext entry\r\n");
    Put(dir_.Path("pitch.plt"), "IN;");
    previousView_ = SetPlotFileDrawer([this](const std::string& file) { pictures_.push_back(file); });
  }
  void TearDown() override { SetPlotFileDrawer(previousView_); }

  testsupport::ScratchDirectory dir_{"help_text"};
  platform::ScriptedDialogs dialogs_;
  platform::ScopedDialogs scope_{dialogs_};
  std::vector<std::string> pictures_;
  PlotFileDrawer previousView_;
};

TEST_F(HelpTextTest, EntriesBelow4000ComeFromTheCommonFile) {
  EXPECT_EQ(HelpFileName(3999), PltDirectory + "/kaldrim.hlp");
  EXPECT_EQ(HelpFileName(4000), PltDirectory + "/vob4.hlp");
  const HelpEntry common = LookUpHelp(3995);
  ASSERT_TRUE(common.found);
  EXPECT_EQ(common.picture, "gear1");
  EXPECT_EQ(common.lines, (std::vector<std::string>{"First line of 3995", "Second line", "a plain line",
                                                    "Last of 3995"}));
  const HelpEntry own = LookUpHelp(4000);
  ASSERT_TRUE(own.found);
  // Two keys; the next multiple of 5 ends the entry.
  EXPECT_EQ(own.lines, (std::vector<std::string>{"Entry 4000 \x81" "ber", "second"}));
}

TEST_F(HelpTextTest, BoxAndPictureByMode) {
  AbortFlag = 1;
  std::string picture;
  ShowHelpText(4000, picture, 0);
  EXPECT_EQ(picture, "pitch");
  EXPECT_EQ(AbortFlag, 0);
  ASSERT_EQ(dialogs_.Asked().size(), 1u);
  EXPECT_EQ(dialogs_.Asked()[0].caption, "HELP TEXT No.4000");
  EXPECT_EQ(dialogs_.Asked()[0].text, "Entry 4000 über second ");
  EXPECT_EQ(pictures_, (std::vector<std::string>{PltDirectory + "/pitch.plt"}));

  // "NULL": the picture button says that there is none, and the design
  // picture on the screen stays as it was.
  ClearGraphics();
  GraphHeader(0, 0, 100, 100);
  GraphLine(10, 10, 90, 90);
  const std::vector<std::string> design(DisplayList.begin(), DisplayList.end());
  ShowHelpText(1000, picture, 2);
  ASSERT_EQ(dialogs_.Asked().size(), 2u);
  EXPECT_EQ(dialogs_.Asked()[1].caption, "HELP TEXT No.1000");
  EXPECT_EQ(dialogs_.Asked()[1].text, "help text No 1000: No auxiliary image.");
  EXPECT_EQ(pictures_.size(), 1u);
  EXPECT_EQ(std::vector<std::string>(DisplayList.begin(), DisplayList.end()), design);
  // A picture whose plot file is missing: named, and the design stays too.
  std::filesystem::remove(dir_.Path("pitch.plt"));
  ShowHelpText(4000, picture, 2);
  ASSERT_EQ(dialogs_.Asked().size(), 3u);
  EXPECT_EQ(dialogs_.Asked()[2].text, PltDirectory + "/pitch.plt not found !");
  EXPECT_EQ(pictures_.size(), 1u);
  EXPECT_EQ(std::vector<std::string>(DisplayList.begin(), DisplayList.end()), design);
  EXPECT_EQ(AbortFlag, 0);

  SetHelpNumber(3995);
  ShowCurrentHelp();  // box only
  EXPECT_EQ(dialogs_.Asked().back().caption, "HELP TEXT No.3995");
  EXPECT_EQ(pictures_.size(), 1u);
  EXPECT_EQ(std::vector<std::string>(DisplayList.begin(), DisplayList.end()), design);
}

TEST_F(HelpTextTest, MissingEntriesAndFilesAreSaidNotFatal) {
  AbortFlag = 1;
  ShowHelpText(4010, 1);
  EXPECT_EQ(dialogs_.Asked().back().text, "help text No 4010: No help available. ");
  EXPECT_EQ(AbortFlag, 0);
  PltDirectory = dir_.Path("none");
  ShowHelpText(20, 1);
  EXPECT_EQ(dialogs_.Asked().back().text, "File " + PltDirectory + "/kaldrim.hlp not found ! ");
  EXPECT_EQ(GetHelpText(20), "File " + PltDirectory + "/kaldrim.hlp not found !");
}

TEST_F(HelpTextTest, HintLineWithTheNumberAtHigherHelpLevels) {
  EXPECT_EQ(GetHelpText(4000), "Entry 4000 über second");
  HelpLevel = 2;
  EXPECT_EQ(GetHelpText(4000), "Entry 4000 über second (4000)");
  EXPECT_EQ(GetHelpText(4015), "help text No 4015: No help available.");
}

TEST_F(HelpTextTest, DialogHelpButtonsShowTheCurrentEntry) {
  SetHelpNumber(4000);
  auto help = CurrentHelpAction();
  help(platform::HelpView::Image);
  EXPECT_TRUE(dialogs_.Asked().empty());
  EXPECT_EQ(pictures_, (std::vector<std::string>{PltDirectory + "/pitch.plt"}));
  help(platform::HelpView::Text);
  EXPECT_EQ(dialogs_.Asked().size(), 1u);
  PlotToPltFile("start");
  EXPECT_EQ(pictures_.back(), PltDirectory + "/start.plt");
}

}  // namespace
