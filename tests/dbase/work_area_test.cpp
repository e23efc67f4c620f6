// Work areas, navigation and record changes on real table files.
#include "dbase/engine/work_areas.h"

#include <gtest/gtest.h>

#include "dbase/dbase_test_support.h"
#include "dbase/engine/dbf_native.h"
#include "dbase/engine/engine_hooks.h"
#include "dbase/engine/navigation.h"
#include "platform/scripted_dialogs.h"

namespace {

using namespace dbase;
using testsupport::Slurp;

class WorkAreaTest : public dbtest::EngineTest {
 protected:
  // A table of n records whose CODE field holds "R1".."Rn".
  std::string Table(const std::string& name, int n) {
    const std::string path = Path(name);
    EXPECT_TRUE(CreateDbf(path, {{"code", 'C', 4, 0}, {"qty", 'N', 5, 0}}));
    EXPECT_TRUE(Use(path + " EXCLUSIVE"));
    for (int i = 1; i <= n; ++i) {
      ClearRecord();
      PutNativeString(FieldAddress(1), 5, "R" + std::to_string(i));
      PutNativeInt32(FieldAddress(2), i * 10);
      EXPECT_TRUE(Append());
    }
    Use("");
    return path;
  }
  std::string Code() { return FieldAsString(1); }
};

TEST_F(WorkAreaTest, SelectingAreas) {
  const std::string path = Table("t", 1);
  for (int n = 1; n <= kLastUserArea; ++n) {
    ASSERT_TRUE(Select(n));
    ASSERT_TRUE(Use(path + " ALIAS A" + std::to_string(n)));
  }
  EXPECT_FALSE(Select(0));
  EXPECT_NE(LastReport().find("No free workarea available [Select(0)]"), std::string::npos);
  EXPECT_FALSE(Select(34));
  EXPECT_NE(LastReport().find("Invalid workarea selected = [Select(34)]"), std::string::npos);
  Select(7);
  Use("");
  ASSERT_TRUE(Select(0));
  EXPECT_EQ(CurrentWorkArea(), 7);
  RecNo();
  EXPECT_EQ(LastCode(), 215);
  EXPECT_NE(LastReport().find("No database in use [RecNo]  WorkArea = 7"), std::string::npos);
  CloseAll();
  EXPECT_EQ(CurrentWorkArea(), 1);
  EXPECT_EQ(CurrentWorkAreaRecord(), nullptr);
}

TEST_F(WorkAreaTest, AliasesBuffersAndFields) {
  const std::string path = Table("parts", 2);
  ASSERT_TRUE(Use(path));
  EXPECT_EQ(Alias(), "PARTS");
  Select(2);
  EXPECT_FALSE(Use(path));
  EXPECT_EQ(LastCode(), 220);
  EXPECT_NE(LastReport().find("Alias name \"PARTS\" already in use. [USE]"), std::string::npos);
  EXPECT_TRUE(Use(path + " alias second"));
  EXPECT_EQ(Alias(), "SECOND");
  Select(3);
  std::vector<std::uint8_t> buffer(1 + 5 + 4 - 1);
  EXPECT_FALSE(Use(path + " ALIAS third", buffer.data(), buffer.size()));
  EXPECT_EQ(LastCode(), 266);
  EXPECT_NE(LastReport().find("Record Size=10, Buffer Size=9"), std::string::npos);
  buffer.resize(10);
  ASSERT_TRUE(Use(path + " ALIAS third", buffer.data(), buffer.size()));
  EXPECT_EQ(NativeString(buffer.data() + 1), "R1  ");
  EXPECT_EQ(FieldNo("qty "), 2);
  EXPECT_EQ(FieldNo("nothing"), 0);
  EXPECT_EQ(FieldType(3), '\0');
  EXPECT_NE(LastReport().find("Invalid field number. [FieldType(3)]"), std::string::npos);
  EXPECT_EQ(RecSize(), 10);
  EXPECT_EQ(CurrentDbfName(), path + ".dbf");
}

TEST_F(WorkAreaTest, MovesOverDeletedRecords) {
  const std::string path = Table("nav", 5);
  ASSERT_TRUE(Use(path + " EXCLUSIVE"));
  EXPECT_EQ(Code(), "R1  ");
  Skip(-1);
  EXPECT_TRUE(dBOF());
  EXPECT_EQ(RecNo(), 1);
  Go(2);
  DeleteRec();
  Go(4);
  DeleteRec();
  SetIgnoreDel(true);
  GoTop();
  Skip(1);
  EXPECT_EQ(RecNo(), 3);
  Skip(1);
  EXPECT_EQ(RecNo(), 5);
  Skip(1);
  EXPECT_TRUE(dEOF());
  EXPECT_EQ(RecNo(), 6);
  EXPECT_EQ(Code(), "    ");
  reported_.clear();
  Skip(1);
  EXPECT_EQ(LastCode(), 212);
  EXPECT_NE(LastReport().find("Database \"nav.dbf\" is past EOF. [SKIP]"), std::string::npos);
  GoBottom();
  EXPECT_EQ(RecNo(), 5);
  Skip(-2);
  EXPECT_EQ(RecNo(), 1);
  EXPECT_FALSE(dBOF());
  Go(6);
  EXPECT_TRUE(dEOF());
  EXPECT_EQ(LastCode(), 212);
  EXPECT_NE(LastReport().find("Invalid record number = 6 \r\nDatabase \"nav.dbf\" [GO]"), std::string::npos);
  Go(1);
  DeleteRec();
  Go(3);
  DeleteRec();
  Go(5);
  DeleteRec();
  GoTop();
  EXPECT_TRUE(dEOF());
  EXPECT_TRUE(dBOF());
  EXPECT_EQ(RecNo(), 6);
}

TEST_F(WorkAreaTest, FilterWhileAndRelation) {
  const std::string path = Table("f", 6);
  ASSERT_TRUE(Use(path + " EXCLUSIVE"));
  SetFilterProc([](void*) { return NativeInt32(FieldAddress(2)) % 20 == 0; }, nullptr);
  GoTop();
  EXPECT_EQ(RecNo(), 2);
  int moves = 0;
  SetRelation([&] { ++moves; });
  Skip(2);
  EXPECT_EQ(RecNo(), 6);
  EXPECT_EQ(moves, 2);
  SetFilterProc(nullptr, nullptr);
  SetWhileProc([](void*) { return NativeInt32(FieldAddress(2)) <= 30; }, nullptr);
  EXPECT_TRUE(IsWhileOn());
  Go(1);
  Skip(5);
  EXPECT_TRUE(dEOF());
  EXPECT_EQ(RecNo(), 4);  // the record that failed stays
  SetRelation([] { Go(1); });
  EXPECT_EQ(LastCode(), 224);
}

TEST_F(WorkAreaTest, ChangesAndPackThroughACopy) {
  const std::string path = Table("p", 4);
  ASSERT_TRUE(Use(path + " EXCLUSIVE"));
  Go(2);
  DeleteRec();
  EXPECT_TRUE(Deleted());
  RecallRec();
  EXPECT_FALSE(Deleted());
  DeleteRec();
  Go(3);
  PutNativeString(FieldAddress(1), 5, "X3");
  ASSERT_TRUE(Replace());
  ASSERT_TRUE(Pack());
  EXPECT_EQ(RecCount(), 3);
  EXPECT_EQ(RecNo(), 1);
  Skip(1);
  EXPECT_EQ(Code(), "X3  ");
  Use("");
  const std::string bytes = Slurp(path + ".dbf");
  EXPECT_EQ(bytes.size(), 2u * 32 + 33 + 3 * 10 + 1);
  EXPECT_EQ(bytes.substr(97, 30), " R1     10 X3     30 R4     40");
  EXPECT_EQ(bytes.back(), '\x1a');

  ASSERT_TRUE(Use(path + " EXCLUSIVE")) << LastReport();
  for (int i = 0; i < 3; ++i) {
    DeleteRec();
    Skip(1);
  }
  ASSERT_TRUE(Pack());
  EXPECT_EQ(RecNo(), 0);
  EXPECT_TRUE(dEOF());
  EXPECT_TRUE(dBOF());
  Use("");
  EXPECT_EQ(Slurp(path + ".dbf").size(), 2u * 32 + 33 + 1);
  EXPECT_EQ(std::filesystem::directory_iterator(dir_) != std::filesystem::directory_iterator(), true);
  for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
    EXPECT_EQ(entry.path().string().find(".pack-"), std::string::npos) << entry.path();
  }
}

TEST_F(WorkAreaTest, AFailedPackLeavesTheTable) {
  const std::string path = Table("keep", 3);
  const std::string before = Slurp(path + ".dbf");
  ASSERT_TRUE(Use(path + " EXCLUSIVE"));
  Go(2);
  DeleteRec();
  // A directory where the copy would go makes the copy fail.
  std::filesystem::create_directory(path + ".dbf.pack-" + std::to_string(::getpid()));
  EXPECT_FALSE(Pack());
  EXPECT_NE(LastReport().find("Error packing"), std::string::npos);
  EXPECT_EQ(RecCount(), 3);
  Go(3);
  EXPECT_EQ(Code(), "R3  ");
  Use("");
  std::string expected = before;
  expected[97 + 10] = '*';
  EXPECT_EQ(Slurp(path + ".dbf").substr(0, 1) + Slurp(path + ".dbf").substr(4), expected.substr(0, 1) + expected.substr(4));
}

TEST_F(WorkAreaTest, IndexHooksFollowReplaceAndAppend) {
  const std::string path = Table("ix", 2);
  ASSERT_TRUE(Use(path + " EXCLUSIVE"));
  std::vector<std::string> calls;
  IndexHooks.indexActive = [] { return true; };
  IndexHooks.indexesOpen = [] { return true; };
  IndexHooks.firstRecord = [] { return 2; };
  IndexHooks.nextRecord = [] { return 1; };
  IndexHooks.prepareReplace = [&] { calls.push_back("prepare " + FieldAsString(1)); };
  IndexHooks.updateKeys = [&] { calls.push_back("update " + FieldAsString(1)); };
  IndexHooks.addKeys = [&] { calls.push_back("add " + FieldAsString(1)); };
  GoTop();
  EXPECT_EQ(RecNo(), 2);
  PutNativeString(FieldAddress(1), 5, "NEW");
  ASSERT_TRUE(Replace());
  ClearRecord();
  PutNativeString(FieldAddress(1), 5, "APP");
  ASSERT_TRUE(Append());
  EXPECT_EQ(calls, (std::vector<std::string>{"prepare R2  ", "update NEW ", "add APP "}));
  ClearEngineHooks();
}

TEST_F(WorkAreaTest, PackNeedsTheTableAloneAndMayBeDeclined) {
  const std::string path = Table("shared", 3);
  ASSERT_TRUE(Use(path));
  ASSERT_TRUE(FLock());
  Go(1);
  ASSERT_TRUE(DeleteRec());
  Select(2);
  ASSERT_TRUE(Use(path + " ALIAS OTHER"));
  Select(1);
  EXPECT_FALSE(Pack());
  EXPECT_EQ(LastCode(), 32);
  // The area stays open, shared, with its records.
  EXPECT_EQ(RecCount(), 3);
  EXPECT_FALSE(WorkAreas[1]->exclusive);
  Select(2);
  Use("");
  Select(1);
  ConfirmPack = true;
  platform::ScriptedDialogs dialogs;
  platform::ScopedDialogs scoped(dialogs);
  EXPECT_FALSE(Pack());
  ASSERT_EQ(dialogs.Asked().size(), 1u);
  EXPECT_EQ(dialogs.Asked()[0].text, "PACK SHARED");
  EXPECT_EQ(RecCount(), 3);
  dialogs.Then(platform::ScriptedAnswer::Press(platform::DialogButton::Yes));
  EXPECT_TRUE(Pack());
  EXPECT_EQ(RecCount(), 2);
  EXPECT_FALSE(WorkAreas[1]->exclusive);
}

TEST_F(WorkAreaTest, WhileBoundsAndStepsToVisibleRecords) {
  const std::string path = Table("w", 6);
  ASSERT_TRUE(Use(path + " EXCLUSIVE"));
  SetWhileProc([](void*) { const std::int32_t q = NativeInt32(FieldAddress(2)); return q >= 20 && q <= 40; },
               nullptr);
  Go(3);
  GoTopWhile();
  EXPECT_EQ(RecNo(), 2);
  GoBottomWhile();
  EXPECT_EQ(RecNo(), 4);
  SetWhileProc(nullptr, nullptr);
  SetIgnoreDel(true);
  Go(6);
  DeleteRec();
  EXPECT_TRUE(StepToVisible());
  EXPECT_EQ(RecNo(), 5);
  EXPECT_FALSE(StepToVisible());
  EXPECT_TRUE(GoIfValid(2));
  EXPECT_FALSE(GoIfValid(7));
  EXPECT_EQ(RecNo(), 2);
}

TEST_F(WorkAreaTest, ARaisedErrorLeavesSettingsAndAreasInOrder) {
  const std::string path = Table("raised", 3);
  ASSERT_TRUE(Use(path + " EXCLUSIVE"));
  Select(2);
  ErrorProc = nullptr;
  UseExceptions = true;
  const FileMode before = CurrentFileMode;
  EXPECT_THROW(Use(path + " ALIAS SECOND"), EDidozError);  // held exclusively by area 1
  EXPECT_EQ(CurrentFileMode, before);
  EXPECT_EQ(CurrentWorkAreaRecord(), nullptr);
  Select(1);
  EXPECT_THROW(Go(9), EDidozError);
  std::filesystem::create_directory(path + ".dbf.pack-" + std::to_string(::getpid()));
  FlushAfterWrite = true;
  EXPECT_THROW(Pack(), EDidozError);
  EXPECT_TRUE(FlushAfterWrite);
  EXPECT_FALSE(WorkAreas[1]->relationSuspended);
  FlushAfterWrite = false;
  UseExceptions = false;
  Go(2);
  EXPECT_EQ(Code(), "R2  ");
}

TEST_F(WorkAreaTest, TranslationProceduresSeeTheStoredText) {
  const std::string path = Table("tr", 1);
  // The stored text is kept shifted by one letter.
  const auto down = [](char* b, std::size_t n) { for (std::size_t i = 0; i < 4 && i < n; ++i) if (b[i] != ' ') --b[i]; };
  const auto up = [](char* b, std::size_t n) { for (std::size_t i = 0; i < 4 && i < n; ++i) if (b[i] != ' ') ++b[i]; };
  ASSERT_TRUE(UseTranslated(path + " EXCLUSIVE", nullptr, 0, down, up));
  EXPECT_EQ(Code(), "Q0  ");
  PutNativeString(FieldAddress(1), 5, "AB");
  ASSERT_TRUE(Replace());
  EXPECT_EQ(Code(), "AB  ");
  Use("");
  EXPECT_EQ(Slurp(path + ".dbf").substr(97, 5), " BC  ");
}

}  // namespace
