// The engine's error texts and the three ways a recorded error is reported.
#include "dbase/engine/error_codes.h"

#include <gtest/gtest.h>

#include "common/kaldvar.h"
#include "dbase/engine/work_areas.h"
#include "platform/scripted_dialogs.h"

namespace {

using namespace dbase;

TEST(ErrorCodes, TextsOfTheCodeTable) {
  EXPECT_EQ(ErrorText(215), "Error # 215 (No database in use)");
  EXPECT_EQ(ErrorText(0), "");
  EXPECT_EQ(ErrorText(18), "Error # 18 (Too many open files)");
  EXPECT_EQ(ErrorText(162), "Error # 162 (File sharing violation)");
  EXPECT_EQ(ErrorText(1250), "Error # 1250 (Network Error)");
  EXPECT_EQ(ErrorText(1299), "Error # 1299 (Network Error)");
  EXPECT_EQ(ErrorText(1301), "Error # 1301 (Undefined error)");
  EXPECT_EQ(ErrorMessage(227), "Insufficient disk space ");
  EXPECT_EQ(ErrorMessage(1103), "Invalid Operation ");
}

class ErrorReport : public ::testing::Test {
 protected:
  void SetUp() override {
    TzError = 0;
    TzErrorDetail.clear();
    LastErrorCode = 0;
    Halting = false;
    ErrorProc = nullptr;
  }
  void TearDown() override {
    ReportErrors = true;
    UseExceptions = false;
    ErrorProc = nullptr;
  }
};

TEST_F(ErrorReport, OffOnlyRecordsAndTheMessageIsTakenOnce) {
  ReportErrors = false;
  SetError(212, "Invalid record number = 9 (x.dbf)  [GetDbfRecord]");
  EXPECT_EQ(TzError, 212);
  EXPECT_EQ(LastErrorMessage(), "Error # 212 (Request beyond range)\r\nInvalid record number = 9 (x.dbf)  [GetDbfRecord]");
  EXPECT_EQ(LastErrorMessage(), "");
  EXPECT_EQ(TzError, 212);  // stays until the next operation clears it
}

TEST_F(ErrorReport, ExceptionsCarryCodeLineAndDetail) {
  SetUseExceptions(true);
  InitTzEngine();
  Select(4);
  try {
    RecCount();
    FAIL() << "no exception";
  } catch (const EDidozError& e) {
    EXPECT_EQ(std::string(e.what()), "Error # 215 (No database in use)\r\nNo database in use [RecCount]  WorkArea = 4");
  }
}

TEST_F(ErrorReport, AnErrorProcedureTakesOverTheReport) {
  int calls = 0;
  std::string text;
  ErrorProc = [&] {
    ++calls;
    text = LastErrorMessage();
  };
  platform::ScriptedDialogs dialogs;
  platform::ScopedDialogs scoped(dialogs);
  SetError(33, "detail");
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(text, "Error # 33 (File lock violation)\r\ndetail");
  EXPECT_TRUE(dialogs.Asked().empty());
  EXPECT_FALSE(Halting);
}

TEST_F(ErrorReport, TheProgramsProcedureShowsTheErrorAndGoesOn) {
  platform::ScriptedDialogs dialogs;
  platform::ScopedDialogs scoped(dialogs);
  ErrorProc = ShowErrorAndGoOn;
  common::AbortFlag = 0;
  SetError(213, "File:  t.dbf  [GetDbfRecord]");
  ASSERT_EQ(dialogs.Asked().size(), 1u);
  EXPECT_EQ(dialogs.Asked()[0].caption, "Error  : ");
  EXPECT_EQ(dialogs.Asked()[0].text, "Error # 213 (End of file found unexpectedly)\r\nFile:  t.dbf  [GetDbfRecord]");
  // A file's value (UTF-8) shows as it was beside program text in CP 850.
  SetError(232, "Line 2: Field NAME: Gear \u2713 holds \u2713 (U+2713) in Gr\x94\xE1" "e");
  EXPECT_EQ(dialogs.Asked().back().text,
            "Error # 232 (Lines refused)\r\nLine 2: Field NAME: Gear \u2713 holds \u2713 (U+2713) in Gr\u00f6\u00dfe");
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_FALSE(Halting);
  EXPECT_EQ(TzErrorDetail, "");
}

TEST_F(ErrorReport, WithoutProcedureTheProgramEndsWithANonZeroCode) {
  EXPECT_EXIT(SetError(215, "x"), ::testing::ExitedWithCode(215), "");
  EXPECT_EXIT(SetError(1200, "x"), ::testing::ExitedWithCode(255), "");
  EXPECT_EQ(ExitCodeOf(256), 255);
  EXPECT_EQ(ExitCodeOf(1), 1);
}

}  // namespace
