#include "common/message_list.h"

#include <gtest/gtest.h>

#include "common/kaldvar.h"

using namespace common;

TEST(MessageList, DuplicatesCapAndCase) {
  ClearErrorMessages();
  AddErrorMessage("Warning: a !");
  AddErrorMessage("Warning: a !");
  EXPECT_EQ(MsgCount, 1);
  AddErrorMessage("warning: a !");  // differs in case: a second entry
  EXPECT_EQ(MsgCount, 2);
  for (int i = 3; i <= 12; ++i) AddErrorMessage("Error  : " + std::to_string(i));
  EXPECT_EQ(MsgCount, 12);
  EXPECT_EQ(MsgText[12], "Error  : 12");
  // A thirteenth text: the last line says how many are not shown.
  AddErrorMessage("Error  : thirteen");
  EXPECT_EQ(MsgCount, 12);
  EXPECT_EQ(MsgText[11], "Error  : 11");
  EXPECT_EQ(MsgText[12], "Warning: list full, 2 more messages not shown !");
  // Texts said before are recognised, shown or not, and counted once.
  AddErrorMessage("Error  : 7");
  AddErrorMessage("Error  : 12");
  AddErrorMessage("Error  : thirteen");
  EXPECT_EQ(MsgText[12], "Warning: list full, 2 more messages not shown !");
  AddErrorMessage("Error  : fourteen");
  EXPECT_EQ(MsgText[12], "Warning: list full, 3 more messages not shown !");
  EXPECT_EQ(MsgText[1], "Warning: a !");
  EXPECT_EQ(SaidMessages().size(), 14u);
}

// A full list keeps what weighs most: the findings of the pair's checks,
// then the fatal texts, then the others in order of arrival; what it shows
// stays in order of arrival.
TEST(MessageList, AFullListKeepsTheWeightiestTexts) {
  ClearErrorMessages();
  for (int i = 1; i <= 12; ++i) AddErrorMessage("Warning: w" + std::to_string(i));
  AddErrorMessage("Fatal  : f1 !");
  AddErrorMessage("Warning: teeth interfere, first at 43\xF8 !", MessageWeight::Finding);
  ASSERT_EQ(MsgCount, 12);
  EXPECT_EQ(MsgText[1], "Warning: w1");
  EXPECT_EQ(MsgText[9], "Warning: w9");
  EXPECT_EQ(MsgText[10], "Fatal  : f1 !");
  EXPECT_EQ(MsgText[11], "Warning: teeth interfere, first at 43\xF8 !");
  EXPECT_EQ(MsgText[12], MessagesNotShownText(3));

  // More findings than room: the earliest, the count of the rest.
  ClearErrorMessages();
  for (int i = 1; i <= 20; ++i) AddErrorMessage("Warning: finding " + std::to_string(i), MessageWeight::Finding);
  EXPECT_EQ(MsgText[11], "Warning: finding 11");
  EXPECT_EQ(MsgText[12], MessagesNotShownText(9));

  // A full list of the calculation's findings, then an output refused: the
  // refusal and a reader's text stand above the list; the later retires it.
  ClearErrorMessages();
  {
    const CalculationMessagesScope calculating;
    for (int i = 1; i <= 20; ++i) AddErrorMessage("Warning: finding " + std::to_string(i), MessageWeight::Finding);
  }
  const std::vector<std::string> pair = PairMessages();
  AddErrorMessage("Fatal  : height 0 mm below 0.0001 mm !");
  EXPECT_FALSE(ShownMessagesAreCalculated());
  AddErrorMessage("Error  : DXF: MPOLYGON");
  EXPECT_EQ(MsgText[1], "Fatal  : height 0 mm below 0.0001 mm !");
  for (int k = 0; k < MaxMessages; ++k) EXPECT_EQ(MsgText[k + 3], pair.at(k));
  RetireAnswersBefore(AnswerMark() - 1);
  EXPECT_EQ(MsgText[1], "Error  : DXF: MPOLYGON");

  // An ordinary text said again as a finding weighs as one.
  ClearErrorMessages();
  for (int i = 1; i <= 14; ++i) AddErrorMessage("Warning: w" + std::to_string(i));
  EXPECT_EQ(MsgText[11], "Warning: w11");
  AddErrorMessage("Warning: w14", MessageWeight::Finding);
  EXPECT_EQ(MsgText[11], "Warning: w14");
  EXPECT_EQ(MsgText[10], "Warning: w10");
}

// Saved and put back whole: the texts not shown come back with the list.
TEST(MessageList, SaveAndRestoreKeepTheTextsNotShown) {
  ClearErrorMessages();
  for (int i = 1; i <= 13; ++i) AddErrorMessage("Warning: w" + std::to_string(i));
  FatalFlag = 1;
  const SavedMessages saved = SaveMessages();
  RestoreMessages({});
  EXPECT_EQ(MsgCount, 0);
  EXPECT_EQ(FatalFlag, 0);
  AddErrorMessage("Warning: other");
  RestoreMessages(saved);
  EXPECT_EQ(FatalFlag, 1);
  EXPECT_EQ(MsgText[12], MessagesNotShownText(2));
  AddErrorMessage("Warning: w13");
  EXPECT_EQ(MsgText[12], MessagesNotShownText(2));
  ClearErrorMessages();
}

TEST(MessageList, ClearResetsBothFlags) {
  FatalFlag = 1;
  AbortFlag = 1;
  AddErrorMessage("Fatal  : x !");
  ClearErrorMessages();
  EXPECT_EQ(MsgCount, 0);
  EXPECT_EQ(FatalFlag, 0);
  EXPECT_EQ(AbortFlag, 0);
}
