// A memo writer that the memo file refuses leaves the field's value as it
// was, in all three memo formats: refused in one program because another
// value of the file is being written (1007), and refused because another
// program holds the memo lock while it writes (1017). The second program
// is this test binary started again with VOB_DBASE_MEMO_CHILD set.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <thread>

#include "common/kaldvar.h"
#include "dbase/dataset/tz_blob_stream.h"
#include "dbase/dataset/tz_file_dataset.h"
#include "dbase/dbase_test_support.h"
#include "dbase/memo/memo_stream.h"
#include "dbase/memo/memo_unit.h"
#include "platform/scripted_dialogs.h"

namespace {

using namespace dbase;

constexpr const char* kChildVariable = "VOB_DBASE_MEMO_CHILD";

// The second program: opens the table (shared) named by the job, starts
// writing a memo value and holds the memo file's lock until a file named
// like the table with ".go" appears (at most half a minute).
int RunChild(const std::string& table) {
  ErrorProc = [] { TakeErrorDetail(); };
  InitTzCommon();
  InitTzEngine();
  InitMemoUnit();
  if (!Use(table)) {
    std::cout << "not opened\n" << std::flush;
    return 1;
  }
  const bool writing = OpenBlob(true, 0, 2) != 0 && WriteBlobStream("child's", 7, kNoConversion) == 7;
  std::cout << (writing ? "writing" : "refused") << "\n" << std::flush;
  for (int i = 0; i < 3000 && !std::filesystem::exists(table + ".go"); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  CloseBlob();
  ShutdownTzEngine();
  return 0;
}

const bool kIsChild = dbtest::RunAsSecondProgram(kChildVariable, RunChild);

class MemoRefusalTest : public dbtest::EngineTest, public ::testing::WithParamInterface<int> {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    InitMemoUnit();
    CreateVersion = static_cast<std::uint8_t>(GetParam());
    common::MessagesEnabled = 1;
    dialogs_ = std::make_unique<platform::ScopedDialogs>(scripted_);
  }
  void TearDown() override {
    dialogs_.reset();
    EngineTest::TearDown();
  }

  // NAME, ONE and TWO (memos): one record with "old one" and "old two".
  void Table(TTzDbf& dbf) {
    dbf.SetDbfFileName(Path("notes"));
    dbf.DbfFields = {"NAME,C,8,0", "ONE,M,10,0", "TWO,M,10,0"};
    dbf.Open();
    ASSERT_TRUE(dbf.Active()) << LastReport();
    dbf.Append();
    dbf.FieldByName("NAME").SetAsString("first");
    {
      TTzBlobStream one(dbf.FieldByName("ONE"), TBlobStreamMode::bmWrite);
      one.WriteText("old one");
    }
    {
      TTzBlobStream two(dbf.FieldByName("TWO"), TBlobStreamMode::bmWrite);
      two.WriteText("old two");
    }
    dbf.Post();
  }
  static std::string Memo(TTzDbf& dbf, const char* field) {
    TTzBlobStream stream(dbf.FieldByName(field), TBlobStreamMode::bmRead);
    return stream.ReadToEnd();
  }
  // What the file holds, read by a dataset of its own.
  std::string Stored(const char* field) {
    TTzDbf again("again");
    again.SetDbfFileName(Path("notes"));
    again.Open();
    again.First();
    const std::string text = Memo(again, field);
    again.Close();
    return text;
  }

  platform::ScriptedDialogs scripted_;
  std::unique_ptr<platform::ScopedDialogs> dialogs_;
};

TEST_P(MemoRefusalTest, ASecondWriterInOneProgramLeavesTheMemo) {
  TTzDbf dbf("notes");
  Table(dbf);
  dbf.First();
  {
    TTzBlobStream one(dbf.FieldByName("ONE"), TBlobStreamMode::bmWrite);
    one.WriteText("new one");
    for (const TBlobStreamMode mode : {TBlobStreamMode::bmWrite, TBlobStreamMode::bmReadWrite}) {
      reported_.clear();
      TTzBlobStream two(dbf.FieldByName("TWO"), mode);
      EXPECT_EQ(LastCode(), 1007);
      EXPECT_EQ(two.WriteText("lost"), 0);
      EXPECT_FALSE(two.Modified());
    }
  }
  dbf.Post();
  EXPECT_EQ(Memo(dbf, "ONE"), "new one");
  EXPECT_EQ(Memo(dbf, "TWO"), "old two");
  dbf.Close();
  EXPECT_EQ(Stored("ONE"), "new one");
  EXPECT_EQ(Stored("TWO"), "old two");
}

TEST_P(MemoRefusalTest, AWriterRefusedTheLockAnotherProgramHoldsLeavesTheMemo) {
  TTzDbf dbf("notes");
  Table(dbf);
  dbf.First();
  dbtest::SelfProcess child(kChildVariable, Path("notes.dbf"));
  ASSERT_EQ(child.Line(), "writing");
  {
    reported_.clear();
    TTzBlobStream two(dbf.FieldByName("TWO"), TBlobStreamMode::bmWrite);
    EXPECT_EQ(LastCode(), 1017) << LastReport();
    EXPECT_EQ(two.WriteText("lost"), 0);
  }
  dbf.Post();
  testsupport::Put(Path("notes.dbf.go"), "");
  child.Finish();
  EXPECT_EQ(Memo(dbf, "TWO"), "old two");
  EXPECT_EQ(Memo(dbf, "ONE"), "old one");
  // Once the other program is done, the write goes through.
  {
    TTzBlobStream two(dbf.FieldByName("TWO"), TBlobStreamMode::bmWrite);
    two.WriteText("new two");
  }
  dbf.Post();
  dbf.Close();
  EXPECT_EQ(Stored("TWO"), "new two");
  EXPECT_EQ(Stored("ONE"), "old one");
}

// A value written as a stream leaves a dBASE III memo file on a whole block,
// as a value stored whole does (the next value starts at a block), and every
// format reads its values back.
TEST_P(MemoRefusalTest, StreamWrittenMemoFilesEndOnWholeBlocks) {
  TTzDbf dbf("notes");
  Table(dbf);
  dbf.First();
  {
    TTzBlobStream one(dbf.FieldByName("ONE"), TBlobStreamMode::bmWrite);
    one.WriteText(std::string(700, 'x'));
  }
  {
    TTzBlobStream two(dbf.FieldByName("TWO"), TBlobStreamMode::bmWrite);
    two.WriteText(std::string("binary\0value", 12));
  }
  dbf.Post();
  dbf.Close();
  if (GetParam() == 0x83) {
    const auto size = std::filesystem::file_size(Path("notes.dbt"));
    EXPECT_EQ(size % 512, 0u) << size;
  }
  EXPECT_EQ(Stored("ONE"), std::string(700, 'x'));
  EXPECT_EQ(Stored("TWO"), std::string("binary\0value", 12));
}

INSTANTIATE_TEST_SUITE_P(Dialects, MemoRefusalTest, ::testing::Values(0x83, 0x8B, 0xF5),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return info.param == 0x83 ? std::string("Dbase3")
                                                     : info.param == 0x8B ? std::string("Dbase4") : std::string("Fox");
                         });

}  // namespace
