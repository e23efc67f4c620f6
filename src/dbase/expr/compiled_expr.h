// The dBASE expression language of the table engine: AssignExpr compiles an
// expression text (fields, aliased fields, literals, operators, functions)
// into a CompiledExpr, a postfix program whose operand types were checked at
// compile time, and Evaluate runs it against the current records of the work
// areas on a value stack whose strings live in a working pool sized at
// compile time. The lexer and parser are in expr_parser.cpp, the stack
// machine in expr_evaluator.cpp, the function table in expr_functions.h, the
// field values in expr_field_values.h, the hooks in expr_hooks.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dbase {

// Expression value types by their result letters.
inline constexpr char kTypeChar = 'C';
inline constexpr char kTypeNumeric = 'N';
inline constexpr char kTypeLogical = 'L';
inline constexpr char kTypeDate = 'D';
inline constexpr char kTypeMemo = 'M';

// Limits of the language.
inline constexpr std::size_t kMaxExprText = 255;
inline constexpr std::size_t kMaxExprString = 255;
inline constexpr std::size_t kMemoPoolSize = 256;
inline constexpr int kDefaultDecimals = 2;
// Nesting depth of the parser; deeper texts fail with a stack overflow.
inline constexpr int kParserStackDepth = 150;

// Operations of the postfix program.
enum class ExprOp : std::uint8_t {
  End,
  PushLiteral,
  Field,  // argument: field index (0-based), area (0 = current at evaluation)
  // Infix operators.
  Add, Subtract, Multiply, Divide, Power,
  Equal, ExactEqual, NotEqual, Contains, Less, Greater, LessEqual, GreaterEqual,
  And, Or, Not, Negate, Plus,
  // Functions.
  Abs, Asc, At, Cdow, Chr, Cmonth, Ctod, Date, Day, Deleted, Dow, Dtoc, Dtos, Iif, Int, Left, Len, Lower,
  Ltrim, Max, Min, Mod, Month, Recno, Replicate, Right, Round, Rtrim, Soundex, Space, Str, Stuff, Substr,
  Upper, Val, Year,
};

// One instruction: the operation, its argument count and, for a literal or
// field, its value.
struct ExprInstruction {
  ExprOp op = ExprOp::End;
  int argumentCount = 0;
  char type = 0;          // literal type
  double number = 0;      // N and D literals
  std::int32_t logical = 0;  // L literals; field index
  std::int32_t area = 0;     // field's work area (0 = current)
  std::uint32_t literal = 0;  // index of a string literal
};

// One value on the evaluation stack; strings lie in the working pool.
struct ExprValue {
  char type = 0;
  double number = 0;
  std::int32_t logical = 0;
  std::uint32_t offset = 0;  // C and M
  std::uint32_t length = 0;
};

struct CompiledExpr {
  std::string source;
  char resultType = 0;
  std::uint16_t width = 0;
  std::uint8_t decimals = 0;
  std::vector<std::string> literals;
  std::vector<ExprInstruction> code;
  std::vector<ExprValue> working;
  std::uint16_t poolSize = 0;
  std::vector<char> pool;
  std::size_t cursor = 0;

  // The last result: the text of a C or M result, the number of an N or D
  // result (day number), the truth of an L result.
  std::string ResultText() const;
  double ResultNumber() const;
  bool ResultLogical() const;
};

// Compiles a text; nullptr (with error 351 and its excerpt, or 217) on failure.
CompiledExpr* AssignExpr(const std::string& text);
// Frees an expression and sets the variable to nullptr.
void FreeExpr(CompiledExpr*& expr);
// Runs the program; answers the result: a zero-terminated text for C and M,
// a double for N and D, a 32-bit integer for L; nullptr for none.
const void* Evaluate(CompiledExpr* expr);
std::string ExprText(const CompiledExpr* expr);

// The expression whose result the index layer takes per record.
extern CompiledExpr* CurrentExpr;
const void* EvaluateCurrent();

}  // namespace dbase
