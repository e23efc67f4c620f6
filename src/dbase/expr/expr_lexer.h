// The lexer of the expression language: splits an expression text into
// numbers, string literals, operators, field references (with or without an
// alias) and keywords (.T., .F., .NOT., .OR., .AND. and the function names).
// Letters outside string literals are read in upper case.
#pragma once

#include <cstddef>
#include <string>

#include "dbase/expr/expr_functions.h"

namespace dbase {

enum class TokenKind { End, Number, String, Field, True, False, Not, Or, And, Function, Operator, Unknown };

struct ExprToken {
  TokenKind kind = TokenKind::End;
  std::string text;  // operator ("**" read as "^"), literal contents, name
  double number = 0;
  // Fields.
  int fieldIndex = 0;  // 0-based
  int area = 0;        // 0 without alias
  char fieldType = 0;  // C, D, N, L, M (F read as N)
  int fieldLength = 0;
  int fieldDecimals = 0;
  const ExprFunction* function = nullptr;
};

class ExprLexer {
 public:
  explicit ExprLexer(const std::string& text);
  ExprToken Next();
  // Characters read so far.
  std::size_t Position() const { return position_; }

 private:
  int Peek(std::size_t ahead = 0) const;
  ExprToken Name();

  std::string text_;
  std::size_t position_ = 0;
};

}  // namespace dbase
