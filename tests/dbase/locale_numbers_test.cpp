// Numbers in file, record, index and expression text under the C locale and
// under a German one (a decimal comma), set as the window program's start
// sets it: the material table imported from delimited text, its index on a
// number field walked and searched, Locate, the expression functions and
// comparisons, the dataset's texts and the text routines give the same
// results under both.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <vector>

#include "common/kaldvar.h"
#include "dbase/common/text_routines.h"
#include "dbase/dataset/tz_file_dataset.h"
#include "dbase/dbase_test_support.h"
#include "dbase/engine/dbf_native.h"
#include "dbase/engine/delimited_text.h"
#include "dbase/engine/navigation.h"
#include "dbase/engine/search_locate.h"
#include "dbase/expr/compiled_expr.h"
#include "dbase/expr/expr_hooks.h"
#include "dbase/index/index_commands.h"
#include "dbase/index/index_search.h"
#include "platform/scripted_dialogs.h"
#include "support/process_locale.h"

namespace {

using namespace dbase;

class LocaleNumbersTest : public dbtest::EngineTest, public ::testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override {
    locale_ = std::make_unique<testsupport::ProcessLocale>(GetParam());
    if (!locale_->Set()) GTEST_SKIP() << "the locale " << GetParam() << " is not installed on this machine";
    EngineTest::SetUp();
    InstallExprHooks();
    IndexInit();
    common::MessagesEnabled = 1;
    dialogs_ = std::make_unique<platform::ScopedDialogs>(scripted_);
  }
  void TearDown() override {
    if (locale_->Set()) {
      dialogs_.reset();
      CloseAll();
      IndexDone();
      RemoveExprHooks();
      EngineTest::TearDown();
    }
    locale_.reset();
  }

  // NAME C(8), RHO N(6,3), BIG N(25,0), open EXCLUSIVE, filled from a
  // delimited file.
  void MaterialTable() {
    ASSERT_TRUE(CreateDbf(Path("mat"), {{"NAME", 'C', 8, 0}, {"RHO", 'N', 6, 3}, {"BIG", 'N', 25, 0}}));
    ASSERT_TRUE(Use(Path("mat") + " EXCLUSIVE"));
    std::ofstream(Path("in.txt"), std::ios::binary) << "\"Steel\",7.850,12\r\n\"Alu\",2.5,3e4\r\n\"Cast\",7.2,-7\r\n"
                                                       "\"Brass\",7.900,1234567890123456789\r\n\"Ti\",7.1,0\r\n"
                                                       "\"Cork\",0.300,5\r\n";
    ASSERT_EQ(AppendFromDelimitedFile(Path("in.txt"), false), 6) << LastReport();
  }
  std::string Name() { return TzTrimRight(NativeString(FieldAddress(1))); }
  CompiledExpr* Run(const std::string& text) {
    CompiledExpr* expr = AssignExpr(text);
    EXPECT_NE(expr, nullptr) << text << "\n" << LastReport();
    if (expr != nullptr) Evaluate(expr);
    owned_.push_back(expr);
    return expr;
  }
  std::string Text(const std::string& text) {
    CompiledExpr* e = Run(text);
    return e != nullptr ? e->ResultText() : "<error>";
  }
  double Number(const std::string& text) {
    CompiledExpr* e = Run(text);
    return e != nullptr ? e->ResultNumber() : -1;
  }
  bool Logical(const std::string& text) {
    CompiledExpr* e = Run(text);
    return e != nullptr && e->ResultLogical();
  }
  ~LocaleNumbersTest() override {
    for (CompiledExpr* e : owned_) FreeExpr(e);
  }

  std::unique_ptr<testsupport::ProcessLocale> locale_;
  platform::ScriptedDialogs scripted_;
  std::unique_ptr<platform::ScopedDialogs> dialogs_;
  std::vector<CompiledExpr*> owned_;
};

TEST_P(LocaleNumbersTest, ImportIndexFindLocateAndExpressionsReadThePoint) {
  MaterialTable();
  // Every decimal and every whole number arrives (exponent forms too).
  std::vector<std::string> stored;
  for (GoTop(); !dEOF(); Skip(1)) stored.push_back(Name() + " " + TzAllTrim(CurrentWorkAreaRecord()->table.record.substr(9, 6)) + " " +
                                                  TzAllTrim(CurrentWorkAreaRecord()->table.record.substr(15, 25)));
  EXPECT_EQ(stored, (std::vector<std::string>{"Steel 7.850 12", "Alu 2.500 30000", "Cast 7.200 -7",
                                              "Brass 7.900 1234567890123456789", "Ti 7.100 0", "Cork 0.300 5"}));

  // The index orders by value and finds the value asked for.
  Index_On("RHO", Path("rho"));
  ASSERT_EQ(TzError, 0) << LastReport();
  std::vector<std::string> walked;
  for (GoTop(); !dEOF(); Skip(1)) walked.push_back(Name());
  EXPECT_EQ(walked, (std::vector<std::string>{"Cork", "Alu", "Ti", "Cast", "Steel", "Brass"}));
  ASSERT_TRUE(Find("7.9"));
  EXPECT_EQ(Name(), "Brass");
  ASSERT_TRUE(Find("7.85"));
  EXPECT_EQ(Name(), "Steel");
  EXPECT_FALSE(Find("7.5"));
  Index_On("STR(RHO,8,3)", Path("rhotext"));
  ASSERT_EQ(TzError, 0) << LastReport();
  ASSERT_TRUE(Find("   7.200"));
  EXPECT_EQ(Name(), "Cast");

  // Locate with a number as text.
  Set_Order_To(0);
  ASSERT_TRUE(Locate("RHO", std::string("7.2")));
  EXPECT_EQ(Name(), "Cast");
  ASSERT_TRUE(Locate("RHO", 7.85));
  EXPECT_EQ(Name(), "Steel");

  // On Steel: the functions and comparisons.
  EXPECT_EQ(Text("STR(RHO,8,3)"), "   7.850");
  EXPECT_EQ(Text("STR(2.25,6,2)"), "  2.25");
  EXPECT_DOUBLE_EQ(Number("VAL(\"7.85\")"), 7.85);
  EXPECT_DOUBLE_EQ(Number("VAL(\" -0.5e1xyz\")"), -5);
  EXPECT_DOUBLE_EQ(Number("ROUND(7.859,2)"), 7.85);
  EXPECT_DOUBLE_EQ(Number("RHO * 2"), 15.7);
  EXPECT_DOUBLE_EQ(Number("1.5 + 0.25"), 1.75);
  EXPECT_TRUE(Logical("RHO > 7.5"));
  EXPECT_TRUE(Logical("RHO = 7.85"));
  EXPECT_FALSE(Logical("RHO < 7.849"));
  EXPECT_TRUE(Logical("VAL(STR(RHO,8,3)) = RHO"));

  // The export writes the points back.
  ASSERT_EQ(CopyToDelimitedFile(Path("out.txt")), 6);
  const std::string exported = testsupport::Slurp(Path("out.txt"));
  EXPECT_NE(exported.find("\"Steel\",7.850,12\r\n"), std::string::npos) << exported;
  EXPECT_NE(exported.find("\"Cork\",0.300,5\r\n"), std::string::npos) << exported;
}

// The dataset's texts of numbers and the engine's text routines: the point
// (the engine's separator setting), never the locale's comma.
TEST_P(LocaleNumbersTest, DatasetTextsAndTextRoutines) {
  MaterialTable();
  CloseAll();
  {
    TTzDbf dbf("mat");
    dbf.SetDbfFileName(Path("mat"));
    dbf.Open();
    EXPECT_EQ(dbf.FieldByName("RHO").AsString(), "7.850");
    EXPECT_DOUBLE_EQ(dbf.FieldByName("RHO").AsFloat(), 7.85);
    dbf.Edit();
    dbf.FieldByName("RHO").SetAsString("7.25");
    dbf.FieldByName("NAME").SetAsFloat(0.125);
    dbf.Post();
    EXPECT_EQ(dbf.FieldByName("RHO").AsString(), "7.250");
    EXPECT_EQ(dbf.FieldByName("NAME").AsString(), "0.125");
    std::vector<TLocateValue> wanted{std::string("2.5")};
    EXPECT_TRUE(dbf.Locate("RHO", wanted, false, false));
    EXPECT_EQ(dbf.FieldByName("NAME").AsString(), "Alu");
    dbf.Close();
  }
  EXPECT_TRUE(scripted_.Asked().empty());
  ASSERT_TRUE(Use(Path("mat")));
  EXPECT_EQ(CurrentWorkAreaRecord()->table.record.substr(9, 6), " 7.250");
  EXPECT_EQ(FloatToStrW(7.85, 8, 3), "   7.850");
  EXPECT_DOUBLE_EQ(StrToFloatClean("7.85"), 7.85);
  EXPECT_DOUBLE_EQ(StrToFloatClean(" $1,234.5 "), 1234.5);
}

INSTANTIATE_TEST_SUITE_P(Locales, LocaleNumbersTest, ::testing::Values("C", testsupport::kGermanLocale),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           return std::string(info.param) == "C" ? std::string("C") : std::string("German");
                         });

}  // namespace
