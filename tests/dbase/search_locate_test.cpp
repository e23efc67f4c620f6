// Search, Locate, Continue, LocateFields and the raw field access (Peek,
// Poke) on a table with every field type and memos.
#include "dbase/engine/search_locate.h"

#include <gtest/gtest.h>

#include "dbase/dbase_test_support.h"
#include "dbase/engine/dbf_native.h"
#include "dbase/engine/navigation.h"
#include "dbase/engine/raw_field_access.h"
#include "dbase/memo/memo_text.h"
#include "dbase/memo/memo_unit.h"

namespace {

using namespace dbase;

class SearchTest : public dbtest::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    InitMemoUnit();
    PeekCacheSize = 0;
    SearchAcceptProc = nullptr;
    Located = LocateState{};
  }
  void TearDown() override {
    EngineTest::TearDown();
    PeekCacheSize = 0;
    SearchAcceptProc = nullptr;
  }

  // NAME C(10), QTY N(6,2), BORN D, OK L, NOTES M: four records.
  std::string Parts(const std::string& options = " EXCLUSIVE") {
    const std::string path = Path("parts.dbf");
    EXPECT_TRUE(CreateDbf(path, {{"name", 'C', 10, 0},
                                 {"qty", 'N', 6, 2},
                                 {"born", 'D', 8, 0},
                                 {"ok", 'L', 1, 0},
                                 {"notes", 'M', 10, 0}}));
    EXPECT_TRUE(Use(path + " EXCLUSIVE"));
    Add("ABC", 12.5, "12/24/1999", true, "first memo\r\nmentions gearbox");
    Add("abd", 3, "01/02/2026", false, "");
    Add("XYZ ABC", 12.5, "", true, "another\r\nthe GEARBOX line");
    Add("M\xFCller", 0, "02/28/1900", false, "");
    Use("");
    EXPECT_TRUE(Use(path + options));
    return path;
  }
  void Add(const std::string& name, double qty, const std::string& born, bool ok, const std::string& notes) {
    ClearRecord();
    PutNativeString(FieldAddress(1), 11, name);
    PutNativeDouble(FieldAddress(2), qty);
    if (!born.empty()) PutNativeString(FieldAddress(3), 11, born);
    FieldAddress(4)[0] = ok ? 1 : 0;
    PutNativeInt32(FieldAddress(5), AddMemo(notes));
    ASSERT_TRUE(Append());
  }
  std::string PeekText(int field, std::int64_t record) {
    std::string text;
    Peek(field, record, text);
    return text;
  }
};

TEST_F(SearchTest, LocateWithItsOptions) {
  Parts();
  EXPECT_TRUE(Locate("NAME", std::string("AB")));
  EXPECT_EQ(RecNo(), 1);
  EXPECT_FALSE(Continue());  // "abd" differs in case
  EXPECT_TRUE(dEOF());
  EXPECT_TRUE(Locate("name", std::string("ab"), true));
  EXPECT_EQ(RecNo(), 1);
  EXPECT_TRUE(Continue());
  EXPECT_EQ(RecNo(), 2);
  EXPECT_FALSE(Continue());

  EXPECT_FALSE(Locate("NAME", std::string("AB"), false, 1, true));
  EXPECT_TRUE(Locate("NAME EXACT", std::string("ABC")));
  EXPECT_EQ(RecNo(), 1);
  EXPECT_TRUE(Locate("NAME CONTAINED", std::string("B")));
  EXPECT_EQ(RecNo(), 1);
  EXPECT_TRUE(Continue());
  EXPECT_EQ(RecNo(), 3);
  EXPECT_TRUE(Locate("NAME NOCASE", std::string("m\xDCller")));
  EXPECT_EQ(RecNo(), 4);

  EXPECT_TRUE(Locate("QTY", 12.5));
  EXPECT_EQ(RecNo(), 1);
  EXPECT_TRUE(Continue());
  EXPECT_EQ(RecNo(), 3);
  EXPECT_TRUE(Locate("QTY", 12.5, false, 2));
  EXPECT_EQ(RecNo(), 3);
  // A number as text, with the engine's decimal comma where it writes one.
  EXPECT_TRUE(Locate("QTY", std::string("3")));
  EXPECT_EQ(RecNo(), 2);
  DecimalSeparator = ',';
  EXPECT_TRUE(Locate("QTY", std::string("12,5")));
  DecimalSeparator = '.';
  EXPECT_EQ(RecNo(), 1);
  // Dates compare as stored, from the display form or the stored form.
  EXPECT_TRUE(Locate("BORN", std::string("01/02/26")));
  EXPECT_EQ(RecNo(), 2);
  EXPECT_TRUE(Locate("BORN", std::string("19000228")));
  EXPECT_EQ(RecNo(), 4);
  EXPECT_TRUE(Locate("OK", false));
  EXPECT_EQ(RecNo(), 2);
  // Memos are searched line by line.
  EXPECT_TRUE(Locate("NOTES NOCASE", std::string("gearbox")));
  EXPECT_EQ(RecNo(), 1);
  EXPECT_TRUE(Continue());
  EXPECT_EQ(RecNo(), 3);
  EXPECT_TRUE(Locate("NOTES", std::string("GEARBOX")));
  EXPECT_EQ(RecNo(), 3);
  EXPECT_TRUE(reported_.empty()) << LastReport();
}

TEST_F(SearchTest, LocateErrorsAndHiddenRecords) {
  Parts();
  EXPECT_FALSE(Continue());
  EXPECT_EQ(LastCode(), 220);
  EXPECT_NE(LastReport().find("Call to CONTINUE not preceeded by call to LOCATE. [Continue]"), std::string::npos);
  EXPECT_EQ(ParseLocateArgument("  "), 0);
  EXPECT_NE(LastReport().find("No field name specified [Locate/Count/Sum]"), std::string::npos);
  EXPECT_EQ(ParseLocateArgument("nope exact"), 0);
  EXPECT_NE(LastReport().find("Unrecognized field name [Locate/Count/Sum(nope exact)]"), std::string::npos);
  EXPECT_EQ(ParseLocateArgument("qty nocase contained"), 2);
  EXPECT_FALSE(Located.caseSensitive);
  EXPECT_TRUE(Located.contained);
  EXPECT_FALSE(Located.exact);

  Go(1);
  ASSERT_TRUE(DeleteRec());
  SetIgnoreDel(true);
  EXPECT_TRUE(Locate("NAME NOCASE", std::string("AB")));
  EXPECT_EQ(RecNo(), 2);
  SetFilterProc([](void*) { return FieldAsString(1) != "abd       "; }, nullptr);
  EXPECT_FALSE(Locate("NAME NOCASE", std::string("AB")));
  EXPECT_TRUE(dEOF());
}

TEST_F(SearchTest, LocateFieldsNeedsEveryFieldOnOneRecord) {
  Parts();
  Go(4);
  EXPECT_TRUE(LocateFields("NAME;OK", {std::string("ab"), false}, true));
  EXPECT_EQ(RecNo(), 2);
  EXPECT_TRUE(LocateFields("QTY;NAME", {12.5, std::string("XYZ")}));
  EXPECT_EQ(RecNo(), 3);
  EXPECT_FALSE(LocateFields("NAME;QTY", {std::string("ABC"), 3.0}));
  EXPECT_EQ(RecNo(), 3);
  EXPECT_FALSE(LocateFields("NAME;QTY", {std::string("ABC"), 3.0}, false, true));
  EXPECT_TRUE(dEOF());
  EXPECT_TRUE(LocateFields("OK", {true}));
  EXPECT_EQ(RecNo(), 1);
}

TEST_F(SearchTest, SearchScansTheFile) {
  Parts();
  int field = 0;
  Search("müller", field, true);  // UTF-8 text is not the engine's: nothing
  EXPECT_EQ(field, 0);
  Search("m\xFCller ", field, true);
  EXPECT_EQ(field, 1);
  EXPECT_EQ(RecNo(), 4);
  Go(2);
  field = 0;
  Search("abc", field, false);
  EXPECT_EQ(field, 1);
  EXPECT_EQ(RecNo(), 3);
  field = 2;
  Search("12.5", field, true);
  EXPECT_EQ(field, 2);
  EXPECT_EQ(RecNo(), 1);
  // A text running from one field into the next is no hit.
  field = 0;
  Search("ABC        12", field, true);
  EXPECT_EQ(field, 0);
  EXPECT_EQ(RecNo(), 1);
  SearchAcceptProc = [](int f) { return f != 1; };
  field = 0;
  Search("1999", field, true);
  EXPECT_EQ(field, 3);
  field = 0;
  Go(2);
  Search("ABC", field, true);
  EXPECT_EQ(field, 0);
  EXPECT_EQ(RecNo(), 2);
  EXPECT_TRUE(reported_.empty()) << LastReport();
}

TEST_F(SearchTest, AMemoBlockNumberIsNoHit) {
  ASSERT_TRUE(CreateDbf(Path("m.dbf"), {{"name", 'C', 5, 0}, {"notes", 'M', 10, 0}}));
  ASSERT_TRUE(Use(Path("m.dbf") + " EXCLUSIVE"));
  ClearRecord();
  PutNativeString(FieldAddress(1), 6, "aaa");
  PutNativeInt32(FieldAddress(2), AddMemo("text"));
  ASSERT_TRUE(Append());
  EXPECT_EQ(PeekText(2, 1), "         1");
  int field = 0;
  Search("1", field, true);
  EXPECT_EQ(field, 0);
  EXPECT_EQ(RecNo(), 1);
}

TEST_F(SearchTest, PeekAndPoke) {
  Parts();
  Go(2);
  ASSERT_TRUE(DeleteRec());
  EXPECT_EQ(PeekText(0, 2), "*");
  EXPECT_EQ(PeekText(0, 1), " ");
  EXPECT_EQ(PeekText(1, 4), "M\xFCller    ");
  EXPECT_EQ(PeekText(3, 1), "19991224");
  EXPECT_EQ(PeekText(6, 1), "");
  EXPECT_EQ(PeekText(1, 5), "");
  for (const std::uint16_t cache : {std::uint16_t{0}, std::uint16_t{100}, std::uint16_t{4096}}) {
    PeekCacheSize = cache;
    EXPECT_EQ(PeekText(2, 3), " 12.50") << cache;
    EXPECT_EQ(PeekText(1, 4), "M\xFCller    ") << cache;
    Go(1);
    PutNativeString(FieldAddress(1), 11, "NEW" + std::to_string(cache));
    ASSERT_TRUE(Replace());
    EXPECT_EQ(PeekText(1, 1), ("NEW" + std::to_string(cache) + "         ").substr(0, 10)) << cache;
  }
  PeekCacheSize = 10;
  DropPeekCache("");
  EXPECT_EQ(PeekText(1, 1), "");
  EXPECT_EQ(LastCode(), 217);
  EXPECT_NE(LastReport().find("Insufficient memory for cache [Peek]"), std::string::npos);
  PeekCacheSize = 0;

  // Poke into the current record: a following Replace keeps the new value.
  Go(3);
  Poke("\xC4rg", 1, 3);
  PutNativeDouble(FieldAddress(2), 7);
  ASSERT_TRUE(Replace());
  EXPECT_EQ(PeekText(1, 3), "\xC4rg ABC   ");
  EXPECT_EQ(PeekText(2, 3), "  7.00");
  EXPECT_EQ(FieldAsString(1), "\xC4rg ABC   ");
  Poke("*", 0, 4);
  EXPECT_EQ(PeekText(0, 4), "*");
  Poke("123456789012", 2, 4);
  EXPECT_EQ(PeekText(2, 4), "123456");
}

TEST_F(SearchTest, PokeInASharedTableNeedsTheRecordLock) {
  Parts("");
  Poke("X", 1, 1);
  EXPECT_EQ(LastCode(), 1200);
  EXPECT_NE(LastReport().find("Record not locked [Poke(X,1,1)]"), std::string::npos);
  ASSERT_TRUE(ALock());
  Poke("X", 1, 1);
  EXPECT_EQ(reported_.size(), 2u);
  Unlock();
  Go(1);
  ASSERT_TRUE(RLock());
  Poke("X", 1, 1);
  EXPECT_EQ(PeekText(1, 1), "XBC       ");
  EXPECT_EQ(reported_.size(), 2u);
}

}  // namespace
