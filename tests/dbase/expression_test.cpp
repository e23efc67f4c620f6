// The expression language against real table records: operators with their
// precedence and types, the functions, fields through aliases, the compile
// errors with their excerpts, and the evaluation errors.
#include "dbase/expr/compiled_expr.h"

#include <gtest/gtest.h>

#include "dbase/dbase_test_support.h"
#include "dbase/engine/dbf_native.h"
#include "dbase/engine/engine_hooks.h"
#include "dbase/engine/navigation.h"
#include "dbase/expr/expr_field_values.h"
#include "dbase/expr/expr_hooks.h"
#include "dbase/index/day_numbers.h"

namespace {

using namespace dbase;

class ExpressionTest : public dbtest::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    InstallExprHooks();
    const std::string path = Path("people");
    ASSERT_TRUE(CreateDbf(path, {{"NAME", 'C', 6, 0}, {"QTY", 'N', 7, 2}, {"BIRTH", 'D', 8, 0},
                                 {"OK", 'L', 1, 0}, {"NOTES", 'M', 10, 0}}));
    ASSERT_TRUE(Use(path + " ALIAS CUST EXCLUSIVE"));
    ClearRecord();
    PutNativeString(FieldAddress(1), 7, "ABC");
    PutNativeDouble(FieldAddress(2), 12.5);
    PutNativeString(FieldAddress(3), 11, "03/15/1990");
    FieldAddress(4)[0] = 1;
    ASSERT_TRUE(Append());
    GoTop();
  }
  void TearDown() override {
    // Closing frees the areas' filters through the hooks.
    CloseAll();
    RemoveExprHooks();
    EngineTest::TearDown();
  }

  // Compiles and evaluates; the result type is checked by the caller.
  CompiledExpr* Run(const std::string& text) {
    CompiledExpr* expr = AssignExpr(text);
    if (expr != nullptr) {
      Evaluate(expr);
      owned_.push_back(expr);
    }
    return expr;
  }
  std::string Text(const std::string& text) {
    CompiledExpr* e = Run(text);
    EXPECT_NE(e, nullptr) << text << "\n" << LastReport();
    if (e == nullptr) return "<error>";
    EXPECT_EQ(e->resultType, 'C') << text;
    return e->ResultText();
  }
  double Number(const std::string& text, char type = 'N') {
    CompiledExpr* e = Run(text);
    EXPECT_NE(e, nullptr) << text << "\n" << LastReport();
    if (e == nullptr) return -99999;
    EXPECT_EQ(e->resultType, type) << text;
    return e->ResultNumber();
  }
  bool Logical(const std::string& text) {
    CompiledExpr* e = Run(text);
    EXPECT_NE(e, nullptr) << text << "\n" << LastReport();
    if (e == nullptr) return false;
    EXPECT_EQ(e->resultType, 'L') << text;
    return e->ResultLogical();
  }
  // The detail of the compile error of a text.
  std::string CompileError(const std::string& text) {
    reported_.clear();
    EXPECT_EQ(AssignExpr(text), nullptr) << text;
    EXPECT_EQ(LastCode(), 351) << text;
    return LastReport();
  }
  std::vector<CompiledExpr*> owned_;
  ~ExpressionTest() override {
    for (CompiledExpr* e : owned_) FreeExpr(e);
  }
};

TEST_F(ExpressionTest, ComparisonsOfTextsNumbersAndLogicals) {
  EXPECT_TRUE(Logical("NAME = 'AB'"));
  EXPECT_FALSE(Logical("NAME == 'AB'"));
  EXPECT_TRUE(Logical("NAME == 'ABC   '"));
  EXPECT_FALSE(Logical("NAME = ''"));
  EXPECT_TRUE(Logical("NAME <> 'AB'"));
  EXPECT_TRUE(Logical("NAME # 'AB'"));
  EXPECT_TRUE(Logical("'a' $ 'cat'"));
  EXPECT_FALSE(Logical("'x' $ 'cat'"));
  EXPECT_TRUE(Logical("'AB' < 'ABC'"));
  EXPECT_TRUE(Logical("'b' > 'B'"));
  EXPECT_TRUE(Logical("QTY >= 12.5 .AND. .NOT. (QTY > 12.5)"));
  EXPECT_TRUE(Logical("ok .or. .f."));
  EXPECT_TRUE(Logical("OK = .T."));
  EXPECT_TRUE(Logical("CUST->NAME = 'ABC'"));
  EXPECT_TRUE(Logical("cust->qty = 12.5"));
}

TEST_F(ExpressionTest, PrecedenceAndArithmetic) {
  EXPECT_DOUBLE_EQ(Number("2^3^2"), 64);
  EXPECT_DOUBLE_EQ(Number("2**3*2"), 16);
  EXPECT_DOUBLE_EQ(Number("-2^2"), 4);  // (-2)^2
  EXPECT_DOUBLE_EQ(Number("1 + 2 * 3 - 4 / 2"), 5);
  EXPECT_DOUBLE_EQ(Number("(1 + 2) * 3"), 9);
  EXPECT_DOUBLE_EQ(Number("1.5E2 + QTY"), 162.5);
  EXPECT_EQ(Text("NAME - 'X'"), "ABCX   ");
  EXPECT_EQ(Text("NAME + 'X'"), "ABC   X");
  EXPECT_TRUE(Logical("1 = 1 = .T."));  // (1 = 1) = .T.
  EXPECT_TRUE(Logical(".T. = 2 > 1"));  // .T. = (2 > 1)
}

TEST_F(ExpressionTest, DatesAreDayNumbers) {
  const double birth = YmdToJulian(1990, 3, 15);
  EXPECT_DOUBLE_EQ(Number("BIRTH", 'D'), birth);
  EXPECT_DOUBLE_EQ(Number("BIRTH + 30", 'D'), birth + 30);
  EXPECT_DOUBLE_EQ(Number("30 + BIRTH", 'D'), birth + 30);
  EXPECT_DOUBLE_EQ(Number("BIRTH - BIRTH"), 0);
  EXPECT_GT(Number("DATE() - BIRTH"), 10000);
  EXPECT_EQ(Text("DTOS(BIRTH + 17)"), "19900401");
  EXPECT_EQ(Text("DTOC(BIRTH)"), "03/15/90");
  EXPECT_EQ(Text("CDOW(BIRTH)"), "Thursday ");
  EXPECT_EQ(Text("TRIM(CMONTH(BIRTH))"), "March");
  EXPECT_DOUBLE_EQ(Number("DOW(BIRTH)"), 5);
  EXPECT_DOUBLE_EQ(Number("YEAR(BIRTH) * 10000 + MONTH(BIRTH) * 100 + DAY(BIRTH)"), 19900315);
  EXPECT_DOUBLE_EQ(Number("CTOD('02/29/2000')", 'D'), YmdToJulian(2000, 2, 29));
  EXPECT_DOUBLE_EQ(Number("CTOD('02/29/1900')", 'D'), 0);
  EXPECT_EQ(Text("DTOS(CTOD('xx'))"), "        ");
  EXPECT_DOUBLE_EQ(Number("MAX(BIRTH, CTOD('01/01/2000'))", 'D'), YmdToJulian(2000, 1, 1));
  // A year outside the two-digit window keeps its century.
  EXPECT_DOUBLE_EQ(Number("YEAR(CTOD('07/04/1850'))"), 1850);
}

TEST_F(ExpressionTest, Functions) {
  EXPECT_DOUBLE_EQ(Number("ROUND(2.567, 2)"), 2.56);
  EXPECT_DOUBLE_EQ(Number("ROUND(-2.567, 1)"), -2.5);
  EXPECT_DOUBLE_EQ(Number("ROUND(7.9, 0)"), 7);
  EXPECT_DOUBLE_EQ(Number("ROUND(2.3, 1)"), 2.3);
  EXPECT_EQ(Text("STR(3.14159)"), "         3");
  EXPECT_EQ(Text("STR(3.14159, 6, 2)"), "  3.14");
  EXPECT_EQ(Text("STR(123456, 3)"), "***");
  EXPECT_DOUBLE_EQ(Number("AT('', 'abc')"), 0);
  EXPECT_DOUBLE_EQ(Number("AT('c', 'abc')"), 3);
  EXPECT_DOUBLE_EQ(Number("ABS(-3) + INT(-2.7) + LEN(NAME) + ASC('A')"), 3 - 2 + 6 + 65);
  EXPECT_DOUBLE_EQ(Number("MOD(-7, 3)"), -1);
  EXPECT_DOUBLE_EQ(Number("VAL('  12.5xyz  ')"), 12.5);
  EXPECT_DOUBLE_EQ(Number("VAL('abc')"), 0);
  EXPECT_DOUBLE_EQ(Number("RECNO()"), 1);
  EXPECT_FALSE(Logical("DELETED()"));
  EXPECT_EQ(Text("UPPER('abc') + LOWER('DEF') + CHR(65)"), "ABCdefA");
  EXPECT_EQ(Text("LEFT(NAME, 2) + RIGHT('xyz', 2) + LEFT('ab', 9)"), "AByzab");
  EXPECT_EQ(Text("LTRIM('  a ') + RTRIM(' b  ') + TRIM(NAME)"), "a  bABC");
  EXPECT_EQ(Text("SUBSTR('abcdef', 2, 3) + SUBSTR('abc', 9, 1) + SUBSTR('abc', 2, 99)"), "bcdbc");
  EXPECT_EQ(Text("STUFF('abcdef', 2, 3, 'XY')"), "aXYef");
  EXPECT_EQ(Text("REPLICATE('ab', 3) + SPACE(2) + REPL('x', 0)"), "ababab  ");
  EXPECT_EQ(Text("IIF(OK, 'yes', 'no')"), "yes");
  EXPECT_EQ(Text("SOUNDEX('Tymczak') + SOUN('')"), "T5220000");
  EXPECT_DOUBLE_EQ(Number("MIN(3, 2) + MAX(3, 2)"), 5);
}

TEST_F(ExpressionTest, ResultWidthsAndDecimals) {
  CompiledExpr* e = Run("NAME");
  EXPECT_EQ(e->width, 6);
  EXPECT_EQ(Run("UPPER(NAME)")->width, 6);
  EXPECT_EQ(Run("LEFT(NAME, 3)")->width, 0);
  CompiledExpr* q = Run("QTY");
  EXPECT_EQ(q->width, 7);
  EXPECT_EQ(q->decimals, 2);
  CompiledExpr* n = Run("QTY * 2");
  EXPECT_EQ(n->width, 13);
  EXPECT_EQ(n->decimals, 2);
  EXPECT_EQ(Run("BIRTH")->width, 8);
  EXPECT_EQ(Run("OK")->width, 1);
  CompiledExpr* m = Run("(NOTES)");
  EXPECT_EQ(m->resultType, 'M');
  EXPECT_EQ(m->width, 256);
  EXPECT_EQ(m->ResultText(), "");
}

TEST_F(ExpressionTest, CompileErrorsNameTheFaultAndQuoteTheText) {
  EXPECT_NE(CompileError(".NOT. QTY = 0").find("PARSER:Type mismatch in expression \".NOT.\""),
            std::string::npos);
  CompiledExpr* negated = AssignExpr(".NOT. (QTY = 0)");
  EXPECT_NE(negated, nullptr);
  FreeExpr(negated);
  EXPECT_EQ(CompileError("UPPER(NOTES)"),
            "Error # 351 (" + ErrorMessage(351) + ")\r\nError in expression : PARSER:Type mismatch in function "
            "\"UPPER\"\r\n[UPPER(NOTES)]\r\n [AssignExpr]");
  EXPECT_NE(CompileError("NAME + 1").find("Type mismatch in expression \"+\""), std::string::npos);
  EXPECT_NE(CompileError("2 ** 'a'").find("Type mismatch in expression \"** or ^\""), std::string::npos);
  EXPECT_NE(CompileError("-NAME").find("\"Unary -\""), std::string::npos);
  EXPECT_NE(CompileError("MAX(1, BIRTH)").find("function \"MAX\""), std::string::npos);
  EXPECT_NE(CompileError("NOCUST->NAME").find("Syntax error"), std::string::npos);
  EXPECT_NE(CompileError("'open").find("Syntax error"), std::string::npos);
  EXPECT_NE(CompileError(".5 + 1").find("Syntax error"), std::string::npos);
  EXPECT_NE(CompileError("OK.AND.OK").find("Syntax error"), std::string::npos);
  EXPECT_NE(CompileError("SUBSTR('a', 1)").find("Syntax error"), std::string::npos);
  // An error after position 60 of a long text: the excerpt is cut in front.
  const std::string longText = "NAME + '" + std::string(50, 'x') + "' + 'y' + QTY + NAME";
  const std::string detail = CompileError(longText);
  const std::size_t open = detail.find("\r\n[");
  ASSERT_NE(open, std::string::npos);
  EXPECT_EQ(detail.substr(open + 2, 4), "[...");
  EXPECT_NE(detail.find("...]"), std::string::npos);
  // Too long a text is refused, never cut.
  EXPECT_NE(CompileError("NAME + '" + std::string(250, 'a') + "'").find("longer than 255"), std::string::npos);
  std::string deep;
  for (int i = 0; i < 200; ++i) deep += "(";
  EXPECT_NE(CompileError(deep + "1").find("Parser_stack_overflow"), std::string::npos);
}

TEST_F(ExpressionTest, EvaluationErrorsGoOn) {
  reported_.clear();
  EXPECT_DOUBLE_EQ(Number("QTY / 0"), 1e250);
  EXPECT_EQ(LastCode(), 358);
  EXPECT_NE(LastReport().find("Error during evaluation: Divide by 0 [Evaluate/Engine]"), std::string::npos);
  reported_.clear();
  EXPECT_DOUBLE_EQ(Number("MOD(5, 0.5)"), 0);
  EXPECT_EQ(LastCode(), 358);
  reported_.clear();
  EXPECT_DOUBLE_EQ(Number("(-8) ^ 0.5"), 0);
  EXPECT_TRUE(reported_.empty());
}

TEST_F(ExpressionTest, HooksAndWorkAreas) {
  // A filter compiled into the engine hides the records it rejects.
  ClearRecord();
  PutNativeString(FieldAddress(1), 7, "XYZ");
  ASSERT_TRUE(Append());
  SetFilterExpr(AssignExpr("NAME = 'X'"));
  GoTop();
  EXPECT_EQ(RecNo(), 2);
  // Unaliased fields follow the area current at evaluation time.
  CompiledExpr* name = AssignExpr("NAME");
  Select(2);
  EXPECT_EQ(static_cast<const char*>(Evaluate(name)), std::string(""));
  Select(1);
  EXPECT_EQ(static_cast<const char*>(Evaluate(name)), std::string("XYZ   "));
  FreeExpr(name);
  EXPECT_EQ(name, nullptr);
  FreeExpr(name);
  // A memo reads through the memo layer's hook.
  MemoTextHook = [](const std::string&) { return std::vector<std::string>{"line one ", "two"}; };
  CompiledExpr* memo = AssignExpr("NOTES");
  EXPECT_EQ(static_cast<const char*>(Evaluate(memo)), std::string("line one two"));
  FreeExpr(memo);
  MemoTextHook = nullptr;
}

}  // namespace
