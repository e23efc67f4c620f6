// Message explanations: lookup by the first 15 characters, the dialog after
// a calculation, and the rewrite of one record that leaves every other byte
// of the file as it was.
#include "common/message_help.h"

#include <gtest/gtest.h>

#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/text_utils.h"
#include "platform/scripted_dialogs.h"
#include "support/file_test_support.h"

using namespace common;
using platform::AskedDialog;
using platform::DialogButton;
using platform::ScriptedAnswer;
using testsupport::Put;
using testsupport::Slurp;

namespace {

// Mixed line ends and an unended last line: the rewrite must keep them.
const std::string kFile =
    "Error  : Toothing too thin\r\n"
    "The tooth tip is too narrow.\r\n"
    "Reduce the profile shift.\r\n"
    "Warning: Contact ratio < 1\n"
    "Overlap too small.\n"
    "Increase the tooth number.\n"
    "Fatal  : Centre distance\r\n"
    "The curve does not close.\r\n"
    "Check the turns k.";

class MessageHelpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetKaldvarDefaults();
    SetWkaldvarDefaults();
    SetProgramIdentity();
    SetCommandLineParams({});
    PltDirectory = dir_.Dir().string();
    Put(dir_.Path("vob4.err"), kFile);
    ClearErrorMessages();
    ReleaseErrorMessages();
    {
      const CalculationMessagesScope calculating;
      AddErrorMessage("Warning: Contact ratio < 1.1 at phi = 20");
      AddErrorMessage("Warning: Contact ratio < 1.2 at phi = 30");
      AddErrorMessage("Error  : Bore too large");
    }
    previous_ = SetMessageHelpView([this](const MessageHelpTexts& shown) {
      seen_.push_back(shown);
      MessageHelpTexts left = shown;
      if (edit_) {
        left.origin = "Edited origin\nover two lines";
        left.remedy = std::string(600, 'r');
        left.changed = true;
      }
      return left;
    });
  }
  void TearDown() override {
    SetMessageHelpView(previous_);
    SetCommandLineParams({});
    ClearErrorMessages();
  }

  testsupport::ScratchDirectory dir_{"message_help"};
  platform::ScriptedDialogs dialogs_;
  platform::ScopedDialogs scope_{dialogs_};
  MessageHelpView previous_;
  std::vector<MessageHelpTexts> seen_;
  bool edit_ = false;
};

TEST_F(MessageHelpTest, MessagesSharingFifteenCharactersShareARecord) {
  EXPECT_EQ(GetMessageHelpText(1), "Overlap too small.");
  EXPECT_EQ(GetMessageHelpText(2), "Overlap too small.");
  std::string remedy = "old";
  GetMessageRemedyText(2, remedy);
  EXPECT_EQ(remedy, "Increase the tooth number.");
  EXPECT_EQ(GetMessageHelpText(3), "no help description available for this error message.");
  remedy = "old";
  GetMessageRemedyText(3, remedy);
  EXPECT_EQ(remedy, "old");
  PltDirectory = dir_.Path("none");
  EXPECT_EQ(GetMessageHelpText(1), "");
}

// The sweep over the drive angle writes where a message first arose after
// it. A message shorter than the lookup's 15 characters keeps its record
// with that note, in the lookup and in the rewrite of its explanation; a
// text that only says "first at" within itself keeps its words.
TEST_F(MessageHelpTest, TheSweepsNoteLeavesAShortMessageItsRecord) {
  Put(dir_.Path("vob4.err"), "Fatal  : SH !\r\nNo pitting safety.\r\nCheck the load.\r\n" + kFile);
  ClearErrorMessages();
  AddErrorMessage("Fatal  : SH !" + FirstAtNote(37));
  AddErrorMessage("Warning: Contact ratio < 1.1" + FirstAtNote(5));
  EXPECT_EQ(MsgText[1], "Fatal  : SH ! first at 37\xF8");
  EXPECT_EQ(ExplanationKey(MsgText[1]), "Fatal  : SH !");
  EXPECT_EQ(GetMessageHelpText(1), "No pitting safety.");
  EXPECT_EQ(GetMessageHelpText(2), "Overlap too small.");
  EXPECT_EQ(ExplanationKey("Warning: fatal at 3 positions, first at 12\xF8 !"), "Warning: fatal ");
  EXPECT_EQ(ExplanationKey("Fatal  : x first at \xF8"), "Fatal  : x firs");
  EXPECT_TRUE(RewriteMessageHelp(MsgText[1], "o", "r"));
  EXPECT_EQ(GetMessageHelpText(1), "o");
}

TEST_F(MessageHelpTest, DialogAfterACalculation) {
  // Message 2, then "Continue..." (entry 4).
  dialogs_.Then(ScriptedAnswer::Choose(1)).Then(ScriptedAnswer::Choose(3));
  ShowCalculationMessages();
  ASSERT_EQ(dialogs_.Asked().size(), 2u);
  const AskedDialog& list = dialogs_.Asked()[0];
  EXPECT_EQ(list.text, "Calculation done. Select message for more info or continue.");
  EXPECT_EQ(list.items.back(), "Continue...");
  EXPECT_EQ(list.items.size(), 4u);
  EXPECT_EQ(list.preselected, 3);  // "Continue..." at help level 1
  EXPECT_EQ(dialogs_.Asked()[1].preselected, 2);  // the message after the one shown
  ASSERT_EQ(seen_.size(), 1u);
  EXPECT_EQ(seen_[0].message, "Warning: Contact ratio < 1.2 at phi = 30");
  EXPECT_EQ(seen_[0].origin, "Overlap too small.");
  EXPECT_EQ(seen_[0].remedy, "Increase the tooth number.");
  EXPECT_EQ(AbortFlag, 0);
  // A writer's refusal in the list: no calculation was done.
  AddErrorMessage("Error  : face width below 0.0001 mm, too thin for a solid; no STL file written");
  dialogs_.Then(ScriptedAnswer::Cancel());
  ShowCalculationMessages();
  EXPECT_EQ(dialogs_.Asked().back().text, "Select message for more info or continue.");
}

TEST_F(MessageHelpTest, HelpLevelTwoStartsAtTheFirstMessage) {
  HelpLevel = 2;
  ShowCalculationMessages();  // cancelled at once
  ASSERT_EQ(dialogs_.Asked().size(), 1u);
  EXPECT_EQ(dialogs_.Asked()[0].preselected, 0);
  EXPECT_EQ(AbortFlag, 1);
  // Showing the last message ends the loop.
  dialogs_.ClearRecord();
  dialogs_.Then(ScriptedAnswer::Choose(2));
  ShowCalculationMessages();
  EXPECT_EQ(dialogs_.Asked().size(), 2u);  // the list, then "no help description ..."
  EXPECT_EQ(dialogs_.Asked()[1].text, "no help description available for this error message.");
}

TEST_F(MessageHelpTest, SilentWithNoGuiAndWithoutMessagesEnabled) {
  SetCommandLineParams({"design.vb4", "/nogui"});
  ShowCalculationMessages();
  EXPECT_TRUE(dialogs_.Asked().empty());
  SetCommandLineParams({});
  MessagesEnabled = 0;
  ShowCalculationMessages();
  EXPECT_TRUE(dialogs_.Asked().empty());
  MessagesEnabled = 1;
  ClearErrorMessages();
  ShowCalculationMessages();
  ASSERT_EQ(dialogs_.Asked().size(), 1u);
  EXPECT_EQ(dialogs_.Asked()[0].text, "Calculation successful without error messages");
}

TEST_F(MessageHelpTest, EditingOneRecordLeavesEveryOtherByte) {
  edit_ = true;
  dialogs_.Then(ScriptedAnswer::Press(DialogButton::Yes));
  ShowMessageHelp(1);
  EXPECT_EQ(dialogs_.Asked().back().text, "Save Changes ?");
  std::string expected = kFile;
  const std::string oldRecord = "Overlap too small.\nIncrease the tooth number.\n";
  expected.replace(expected.find(oldRecord), oldRecord.size(),
                   "Edited origin over two lines\n" + std::string(600, 'r') + "\n");
  EXPECT_EQ(Slurp(dir_.Path("vob4.err")), expected);
  EXPECT_EQ(dir_.Entries(), 1u);  // no work copy left behind
  EXPECT_EQ(GetMessageHelpText(2), "Edited origin over two lines");
}

TEST_F(MessageHelpTest, DeclinedSaveAndMissingRecordsChangeNothing) {
  edit_ = true;
  dialogs_.Then(ScriptedAnswer::Press(DialogButton::No));
  ShowMessageHelp(1);
  EXPECT_EQ(Slurp(dir_.Path("vob4.err")), kFile);
  EXPECT_FALSE(RewriteMessageHelp("Error  : Bore too large", "x", "y"));
  EXPECT_EQ(dialogs_.Asked().back().text, "explanation of \"Error  : Bore t\" not found.");
  EXPECT_EQ(Slurp(dir_.Path("vob4.err")), kFile);
  // The last record, cut short, is completed.
  EXPECT_TRUE(RewriteMessageHelp("Fatal  : Centre distance", "o", "r"));
  EXPECT_EQ(Slurp(dir_.Path("vob4.err")).substr(kFile.find("Fatal")), "Fatal  : Centre distance\r\no\r\nr");
}

TEST_F(MessageHelpTest, MissingFileStopsTheLookupWithAbortFlag) {
  PltDirectory = dir_.Path("none");
  ShowMessageHelp(1);
  EXPECT_EQ(AbortFlag, 1);
  EXPECT_TRUE(seen_.empty());
}

}  // namespace
