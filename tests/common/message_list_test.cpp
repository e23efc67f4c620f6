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
  AddErrorMessage("Error  : thirteen");
  EXPECT_EQ(MsgCount, 12);
  EXPECT_EQ(MsgText[12], "Error  : 12");
  AddErrorMessage("Error  : 7");  // still recognised among the twelve
  EXPECT_EQ(MsgCount, 12);
  EXPECT_EQ(MsgText[1], "Warning: a !");
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
