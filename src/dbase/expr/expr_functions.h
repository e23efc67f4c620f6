// The functions of the expression language: names with their accepted
// abbreviations, argument signatures with result types, and the working-pool
// bytes each reserves for its result (see compiled_expr.h).
#pragma once

#include <string>
#include <vector>

#include "dbase/expr/compiled_expr.h"

namespace dbase {

struct ExprSignature {
  std::string arguments;  // one type letter per argument
  char result;
};

struct ExprFunction {
  std::string name;  // as named in messages
  std::vector<std::string> abbreviations;
  ExprOp op;
  std::vector<ExprSignature> signatures;
  int poolReservation;
};

// The function a name (upper case) designates, or nullptr.
const ExprFunction* FindExprFunction(const std::string& name);
// Whether some signature of the function has this many arguments.
bool TakesArgumentCount(const ExprFunction& function, std::size_t count);
// The result type for the argument types, or 0 when no signature fits.
char FunctionResult(const ExprFunction& function, const std::string& argumentTypes);

}  // namespace dbase
