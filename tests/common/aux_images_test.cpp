// The auxiliary-image list: its file format, the first record of a new
// list, and each editing command through the scripted platform, with the
// file checked byte for byte afterwards.
#include "common/aux_images.h"

#include <gtest/gtest.h>

#include "common/help_text.h"
#include "common/kaldvar.h"
#include "platform/scripted_dialogs.h"
#include "support/file_test_support.h"

using namespace common;
using platform::DialogButton;
using platform::ScriptedAnswer;
using testsupport::Put;
using testsupport::Slurp;

namespace {

const std::string kList = "\"gear\",\"The gear pair\"\r\n\"rack\",\"Reference profile\"\r\n";

class AuxImagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetKaldvarDefaults();
    SetWkaldvarDefaults();
    SetProgramIdentity();
    PltDirectory = dir_.Dir().string();
    Put(dir_.Path("demo.dbh"), kList);
    previous_ = SetPlotFileDrawer([this](const std::string& file) { pictures_.push_back(file); });
  }
  void TearDown() override { SetPlotFileDrawer(previous_); }
  std::string File() { return Slurp(dir_.Path("demo.dbh")); }

  testsupport::ScratchDirectory dir_{"aux_images"};
  platform::ScriptedDialogs dialogs_;
  platform::ScopedDialogs scope_{dialogs_};
  std::vector<std::string> pictures_;
  PlotFileDrawer previous_;
};

TEST_F(AuxImagesTest, RecordFieldsAndLines) {
  const std::string line = "\"pic\",\"a, text\"";
  std::size_t pos = 0;
  std::string field;
  ASSERT_TRUE(ReadDbhField(line, pos, field));
  EXPECT_EQ(field, "pic");
  ASSERT_TRUE(ReadDbhField(line, pos, field));
  EXPECT_EQ(field, "a, text");
  EXPECT_EQ(WriteDbhRecord({"pic", "a, text"}), line);
  pos = 0;
  EXPECT_FALSE(ReadDbhField("pic,\"x\"", pos, field));
  EXPECT_EQ(dialogs_.Asked().back().text, "DBH file error");
  EXPECT_EQ(AuxImageLine({"gear", "The gear pair"}), std::string("gear") + std::string(28, ' ') + ": The gear pair");
  EXPECT_EQ(ReadAuxImageList(dir_.Path("demo.dbh")),
            (std::vector<AuxImage>{{"gear", "The gear pair"}, {"rack", "Reference profile"}}));
}

TEST_F(AuxImagesTest, BrowsingShowsTheChosenPicture) {
  dialogs_.Then(ScriptedAnswer::Choose(1));
  RunAuxImages("DEMO");
  EXPECT_EQ(pictures_, (std::vector<std::string>{PltDirectory + "/rack.plt"}));
  ASSERT_EQ(dialogs_.Asked().size(), 2u);
  const auto& list = dialogs_.Asked()[0].items;
  ASSERT_EQ(list.size(), 7u);
  EXPECT_EQ(list[2], "-----  Append  -----");
  EXPECT_EQ(list[6], "-----  Print/Plot HP-GL/2  ------");
  EXPECT_EQ(dialogs_.Asked()[1].preselected, 1);
  EXPECT_EQ(File(), kList);
  EXPECT_EQ(AbortFlag, 0);
}

TEST_F(AuxImagesTest, AppendEditInsertDelete) {
  dialogs_.Then(ScriptedAnswer::Choose(2))  // Append
      .Then(ScriptedAnswer::Enter("tool"))
      .Then(ScriptedAnswer::Enter("Tool data"));
  RunAuxImages("demo");
  EXPECT_EQ(File(), kList + "\"tool\",\"Tool data\"\r\n");

  dialogs_.Then(ScriptedAnswer::Choose(0))  // select "gear"
      .Then(ScriptedAnswer::Choose(5))      // Edit (3 records + 3)
      .Then(ScriptedAnswer::Press(DialogButton::Yes))
      .Then(ScriptedAnswer::Enter("gears"))
      .Then(ScriptedAnswer::Enter("Both gears"));
  RunAuxImages("demo");
  EXPECT_EQ(File(), "\"gears\",\"Both gears\"\r\n\"rack\",\"Reference profile\"\r\n\"tool\",\"Tool data\"\r\n");

  dialogs_.Then(ScriptedAnswer::Choose(6))  // Insert: not the selected one, the third
      .Then(ScriptedAnswer::Press(DialogButton::No))
      .Then(ScriptedAnswer::Choose(2))
      .Then(ScriptedAnswer::Enter("curve"))
      .Then(ScriptedAnswer::Enter("Pitch curve"));
  RunAuxImages("demo");
  EXPECT_EQ(File(), "\"gears\",\"Both gears\"\r\n\"rack\",\"Reference profile\"\r\n"
                    "\"curve\",\"Pitch curve\"\r\n\"tool\",\"Tool data\"\r\n");

  dialogs_.Then(ScriptedAnswer::Choose(5))  // Delete the selected first record
      .Then(ScriptedAnswer::Press(DialogButton::Yes));
  RunAuxImages("demo");
  EXPECT_EQ(File(), "\"rack\",\"Reference profile\"\r\n\"curve\",\"Pitch curve\"\r\n\"tool\",\"Tool data\"\r\n");
}

TEST_F(AuxImagesTest, QuotesAreRefusedAndLeaveTheFile) {
  dialogs_.Then(ScriptedAnswer::Choose(2)).Then(ScriptedAnswer::Enter("pi\"c"));
  RunAuxImages("demo");
  EXPECT_EQ(File(), kList);
  bool refused = false;
  for (const auto& a : dialogs_.Asked())
    refused |= a.text == "\" is not allowed in an auxiliary image entry.";
  EXPECT_TRUE(refused);
}

TEST_F(AuxImagesTest, ANewListStartsWithOneRecord) {
  dialogs_.Then(ScriptedAnswer::Enter("start"));
  RunAuxImages("Fresh");
  EXPECT_EQ(Slurp(dir_.Path("fresh.dbh")), "\"start\",\"\"\r\n");
  EXPECT_EQ(dialogs_.Asked()[0].maxLength, 32);
  EXPECT_EQ(dialogs_.Asked()[1].items.size(), 6u);
}

TEST_F(AuxImagesTest, MovingARecordAndPrintingWithFraming) {
  const auto previousView = SetAuxImageListView([step = 0](const std::vector<std::string>&, int selected) mutable {
    ++step;
    if (step == 1) return AuxImageStep{AuxImageStep::Kind::MoveDown, 1};
    if (step == 2) return AuxImageStep{AuxImageStep::Kind::Choose, 2 + 5};  // Print/Plot
    return AuxImageStep{};
  });
  Put(dir_.Path("gear.plt"), "IN;PU0,0;");
  const std::string out = dir_.Path("out.prn");
  dialogs_.Then(ScriptedAnswer::Press(DialogButton::Yes))  // the moved "gear" is selected
      .Then(ScriptedAnswer::Press(DialogButton::Yes))      // framing
      .Then(ScriptedAnswer::File(out));
  RunAuxImages("demo");
  SetAuxImageListView(previousView);
  EXPECT_EQ(File(), "\"rack\",\"Reference profile\"\r\n\"gear\",\"The gear pair\"\r\n");
  EXPECT_EQ(Slurp(out), "\x1b" "E" "\x1b" "%0BIN;PU0,0;\x1b" "%0A" "\x1b" "E");
}

}  // namespace
