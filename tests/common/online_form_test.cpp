// The generic input/output form: how its keys and buttons move the current
// row, take the inputs, set AbortFlag, and what it restores at the end.
#include "common/online_form.h"

#include <gtest/gtest.h>

#include <deque>

#include "common/help_text.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "support/file_test_support.h"

using namespace common;

namespace {

class OnlineFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetKaldvarDefaults();
    SetWkaldvarDefaults();
    ResetOnlineData();
    previous_ = SetOnlineFormView([this](int row, int helpBase) {
      shownRows_.push_back(row);
      OnlineFormResult r;
      r.edits = OnlineInputValues;
      if (steps_.empty()) {
        r.exit = OnlineExit::Escape;
        return r;
      }
      auto [exit, edit] = steps_.front();
      steps_.pop_front();
      r.exit = exit;
      r.row = row;
      r.edits[row] = edit;
      return r;
    });
  }
  void TearDown() override { SetOnlineFormView(previous_); }

  std::deque<std::pair<OnlineExit, std::string>> steps_;
  std::vector<int> shownRows_;
  OnlineFormView previous_;
};

TEST_F(OnlineFormTest, ArrowsMoveTheFocusButReportTheEditedRow) {
  OnlineBegin("Test", 3, 0);
  steps_ = {{OnlineExit::ArrowDown, "a"}, {OnlineExit::ArrowDown, "b"}, {OnlineExit::ArrowDown, "c"},
            {OnlineExit::ArrowUp, "d"}, {OnlineExit::Enter, "e"}};
  int row = 1, changed = 0;
  std::vector<int> edited;
  do {
    OnlineShow(row, 4000, changed);
    if (!AbortFlag) edited.push_back(row);
  } while (!AbortFlag);
  // Shown on 1, 2, 3; down in the last row keeps it; up goes to 2.
  EXPECT_EQ(shownRows_, (std::vector<int>{1, 2, 3, 3, 2, 2}));
  EXPECT_EQ(edited, (std::vector<int>{1, 2, 3, 3, 2}));
  EXPECT_EQ(OnlineInputValues[1], "a");
  EXPECT_EQ(OnlineInputValues[3], "d");  // "c", then "d" after the refused down arrow
  EXPECT_EQ(OnlineInputValues[2], "e");
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(OnlineRowOrder[2], 1);
  EXPECT_EQ(OnlineRowOrder[4], 12);
}

TEST_F(OnlineFormTest, UpArrowInTheFirstRowKeepsIt) {
  OnlineBegin("Test", 3, 0);
  steps_ = {{OnlineExit::ArrowUp, "x"}};
  int row = 1, changed = 0;
  OnlineShow(row, 4000, changed);
  EXPECT_EQ(row, 1);
  EXPECT_EQ(OnlineLastKey, 0);
  OnlineShow(row, 4000, changed);  // Escape
  EXPECT_EQ(shownRows_, (std::vector<int>{1, 1}));
}

TEST_F(OnlineFormTest, ButtonsAndTheirFlags) {
  OnlineInputValues[1] = "old";
  OnlineBegin("Test", 2, 0);
  int row = 1, changed = 0;
  steps_ = {{OnlineExit::Escape, "lost"}};
  OnlineShow(row, 4000, changed);
  EXPECT_EQ(AbortFlag, 1);
  EXPECT_EQ(OnlineInputValues[1], "old");  // Escape takes no input
  steps_ = {{OnlineExit::Close, "kept"}};
  OnlineShow(row, 4000, changed);
  EXPECT_EQ(AbortFlag, 1);
  EXPECT_EQ(OnlineInputValues[1], "kept");
  steps_ = {{OnlineExit::Ok, "ok"}};
  OnlineShow(row, 4000, changed);
  EXPECT_EQ(AbortFlag, 0);
  EXPECT_EQ(UnitSystem, UnitsMetric);
  steps_ = {{OnlineExit::SwitchUnits, "in"}};
  OnlineShow(row, 4000, changed);
  EXPECT_EQ(UnitSystem, UnitsImperial);
  EXPECT_EQ(AbortFlag, 0);
  EXPECT_EQ(OnlineInputValues[1], "in");
}

TEST_F(OnlineFormTest, BeginSilencesMessagesAndEndRestoresWhatItFound) {
  AddErrorMessage("Warning: old");
  MessagesEnabled = 1;
  OnlineBegin("Hardness", 11, 0);
  EXPECT_EQ(MsgCount, 0);
  EXPECT_EQ(MessagesEnabled, 0);
  EXPECT_EQ(OnlineTitle, "Hardness");
  EXPECT_EQ(OnlineInputCount, 11);
  AbortFlag = 1;
  OnlineEnd();
  EXPECT_EQ(MessagesEnabled, 1);
  EXPECT_EQ(AbortFlag, 0);
  MessagesEnabled = 0;  // command-line output: the form must not switch boxes on
  OnlineBegin("Hardness", 11, 0);
  OnlineEnd();
  EXPECT_EQ(MessagesEnabled, 0);
}

TEST_F(OnlineFormTest, OutputRowsFollowTheSmallWindowSetting) {
  EXPECT_TRUE(OnlineShowsOutputs());
  SmallOnlineWindow = true;
  EXPECT_FALSE(OnlineShowsOutputs());
}

TEST_F(OnlineFormTest, HintsComeFromTheRowsHelpEntries) {
  testsupport::ScratchDirectory dir("online_form");
  SetProgramIdentity();
  PltDirectory = dir.Dir().string();
  testsupport::Put(dir.Path("vob4.hlp"),
                   "4005\r\nsecond input\r\n4070\r\nfirst output\r\n4072\r\nsecond output\r\n"
                   "4180\r\nfirst output of base 4105\r\n");
  EXPECT_EQ(OnlineInputHint(4000, 2), "second input");
  EXPECT_EQ(OnlineOutputHint(4000, 1), "first output");
  EXPECT_EQ(OnlineOutputHint(4000, 2), "second output");
  EXPECT_EQ(OnlineOutputHint(4105, 1), "first output of base 4105");
  EXPECT_EQ(OnlineInputHint(4000, 3), "help text No 4010: No help available.");
}

}  // namespace
