// The function table of the expression language.
#include "dbase/expr/expr_functions.h"

namespace dbase {

namespace {

const std::vector<ExprFunction>& Functions() {
  static const std::vector<ExprFunction> table = {
      {"ABS", {}, ExprOp::Abs, {{"N", 'N'}}, 0},
      {"ASC", {}, ExprOp::Asc, {{"C", 'N'}}, 0},
      {"AT", {}, ExprOp::At, {{"CC", 'N'}}, 0},
      {"CDOW", {}, ExprOp::Cdow, {{"D", 'C'}}, 15},
      {"CHR", {}, ExprOp::Chr, {{"N", 'C'}}, 2},
      {"CMONTH", {"CMON", "CMONT"}, ExprOp::Cmonth, {{"D", 'C'}}, 15},
      {"CTOD", {}, ExprOp::Ctod, {{"C", 'D'}}, 0},
      {"DATE", {}, ExprOp::Date, {{"", 'D'}}, 0},
      {"DAY", {}, ExprOp::Day, {{"D", 'N'}}, 0},
      {"DELETED", {"DELE", "DELET", "DELETE"}, ExprOp::Deleted, {{"", 'L'}}, 0},
      {"DOW", {}, ExprOp::Dow, {{"D", 'N'}}, 0},
      {"DTOC", {}, ExprOp::Dtoc, {{"D", 'C'}}, 11},
      {"DTOS", {}, ExprOp::Dtos, {{"D", 'C'}}, 9},
      {"IIF", {}, ExprOp::Iif, {{"LCC", 'C'}}, 256},
      {"INT", {}, ExprOp::Int, {{"N", 'N'}}, 0},
      {"LEFT", {}, ExprOp::Left, {{"CN", 'C'}}, 0},
      {"LEN", {}, ExprOp::Len, {{"C", 'N'}}, 0},
      {"LOWER", {"LOWE"}, ExprOp::Lower, {{"C", 'C'}}, 0},
      {"LTRIM", {"LTRI"}, ExprOp::Ltrim, {{"C", 'C'}}, 0},
      {"MAX", {}, ExprOp::Max, {{"NN", 'N'}, {"DD", 'D'}}, 0},
      {"MIN", {}, ExprOp::Min, {{"NN", 'N'}, {"DD", 'D'}}, 0},
      {"MOD", {}, ExprOp::Mod, {{"NN", 'N'}}, 0},
      {"MONTH", {"MONT"}, ExprOp::Month, {{"D", 'N'}}, 0},
      {"RECNO", {"RECN"}, ExprOp::Recno, {{"", 'N'}}, 0},
      {"REPLICATE", {"REPL", "REPLI", "REPLIC", "REPLICA", "REPLICAT"}, ExprOp::Replicate, {{"CN", 'C'}}, 256},
      {"RIGHT", {"RIGH"}, ExprOp::Right, {{"CN", 'C'}}, 0},
      {"ROUND", {"ROUN"}, ExprOp::Round, {{"NN", 'N'}}, 0},
      {"RTRIM", {"RTRI"}, ExprOp::Rtrim, {{"C", 'C'}}, 0},
      {"TRIM", {}, ExprOp::Rtrim, {{"C", 'C'}}, 0},
      {"SOUNDEX", {"SOUN", "SOUND", "SOUNDE"}, ExprOp::Soundex, {{"C", 'C'}}, 15},
      {"SPACE", {"SPAC"}, ExprOp::Space, {{"N", 'C'}}, 256},
      {"STR", {}, ExprOp::Str, {{"N", 'C'}, {"NN", 'C'}, {"NNN", 'C'}}, 256},
      {"STUFF", {"STUF"}, ExprOp::Stuff, {{"CNNC", 'C'}}, 0},
      {"SUBSTR", {"SUBS", "SUBST"}, ExprOp::Substr, {{"CNN", 'C'}}, 0},
      {"UPPER", {"UPPE"}, ExprOp::Upper, {{"C", 'C'}}, 0},
      {"VAL", {}, ExprOp::Val, {{"C", 'N'}}, 0},
      {"YEAR", {}, ExprOp::Year, {{"D", 'N'}}, 0},
  };
  return table;
}

}  // namespace

const ExprFunction* FindExprFunction(const std::string& name) {
  for (const ExprFunction& function : Functions()) {
    if (function.name == name) return &function;
    for (const std::string& abbreviation : function.abbreviations) {
      if (abbreviation == name) return &function;
    }
  }
  return nullptr;
}

bool TakesArgumentCount(const ExprFunction& function, std::size_t count) {
  for (const ExprSignature& signature : function.signatures) {
    if (signature.arguments.size() == count) return true;
  }
  return false;
}

char FunctionResult(const ExprFunction& function, const std::string& argumentTypes) {
  for (const ExprSignature& signature : function.signatures) {
    if (signature.arguments == argumentTypes) return signature.result;
  }
  return 0;
}

}  // namespace dbase
