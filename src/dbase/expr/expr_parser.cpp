// AssignExpr: the compiler of the expression language. A recursive descent
// over the precedence levels (lowest first: .OR.; .AND.; = <> #; $ ==;
// < > <= >=; + -; * /; ^; the unary operators) that checks the operand types
// of every operator and function as it is reduced and appends the postfix
// program; it also sums the working pool and derives the result's width and
// decimals. The registry of live expressions and FreeExpr are here too.
#include <memory>
#include <set>
#include <stdexcept>

#include "dbase/engine/error_codes.h"
#include "dbase/expr/compiled_expr.h"
#include "dbase/expr/expr_lexer.h"

namespace dbase {

namespace {

constexpr int kDecimalsNotSet = 19;
constexpr std::size_t kExcerptLength = 51;
constexpr int kFirstExprError = 350;
constexpr int kLastExprError = 362;

std::set<CompiledExpr*>& LiveExpressions() {
  static std::set<CompiledExpr*> live;
  return live;
}

// Thrown inside the compiler to end it at the first error.
struct CompileError {
  std::string message;
};

const char* OperatorName(const std::string& op) {
  if (op == "^") return "** or ^";
  return nullptr;
}

class Compiler {
 public:
  Compiler(const std::string& text, CompiledExpr& expr) : text_(text), lexer_(text), expr_(expr) {}

  void Run() {
    Advance();
    const char type = Binary(1);
    if (token_.kind != TokenKind::End) Fail("Syntax error");
    Emit({ExprOp::End});
    Finish(type);
  }

  // The excerpt around the last character read.
  std::string Excerpt() const {
    const std::size_t read = std::min(lexer_.Position(), text_.size());
    std::size_t start = 0;
    std::size_t end = std::min(text_.size(), kExcerptLength);
    if (read > kExcerptLength - 1 && read > end) {
      end = read;
      start = end - kExcerptLength;
    }
    std::string out = start > 0 ? "[..." : "[";
    out += text_.substr(start, end - start);
    out += end < text_.size() ? "...]" : "]";
    return out;
  }

 private:
  [[noreturn]] void Fail(const std::string& message) { throw CompileError{message}; }

  void Advance() {
    token_ = lexer_.Next();
    switch (token_.kind) {
      case TokenKind::Field:
        lastLength_ = token_.fieldLength;
        if (token_.fieldType == kTypeChar) poolSize_ += token_.fieldLength + 1;
        if (token_.fieldType == kTypeNumeric) {
          decimals_ = decimals_ == kDecimalsNotSet ? token_.fieldDecimals : kDefaultDecimals;
        }
        break;
      case TokenKind::String:
        poolSize_ += static_cast<int>(token_.text.size()) + 1;
        lastLength_ = 0;
        decimals_ = kDefaultDecimals;
        break;
      case TokenKind::Function:
        poolSize_ += token_.function->poolReservation;
        lastLength_ = 0;
        decimals_ = kDefaultDecimals;
        break;
      case TokenKind::Number:
      case TokenKind::True:
      case TokenKind::False:
      case TokenKind::Not:
      case TokenKind::Or:
      case TokenKind::And:
        lastLength_ = 0;
        decimals_ = kDefaultDecimals;
        break;
      default:
        break;
    }
  }

  bool IsOperator(const char* op) const { return token_.kind == TokenKind::Operator && token_.text == op; }

  void Emit(ExprInstruction instruction) { expr_.code.push_back(instruction); }

  void Mismatch(const std::string& op) {
    const char* special = OperatorName(op);
    Fail("PARSER:Type mismatch in expression \"" + std::string(special ? special : op.c_str()) + "\"");
  }

  // The operator of a precedence level at the current token, or "".
  std::string LevelOperator(int level) const {
    switch (level) {
      case 1:
        return token_.kind == TokenKind::Or ? ".OR." : "";
      case 2:
        return token_.kind == TokenKind::And ? ".AND." : "";
      default:
        break;
    }
    if (token_.kind != TokenKind::Operator) return "";
    const std::string& op = token_.text;
    switch (level) {
      case 3:
        return (op == "=" || op == "<>") ? op : "";
      case 4:
        return (op == "$" || op == "==") ? op : "";
      case 5:
        return (op == "<" || op == ">" || op == "<=" || op == ">=") ? op : "";
      case 6:
        return (op == "+" || op == "-") ? op : "";
      case 7:
        return (op == "*" || op == "/") ? op : "";
      case 8:
        return op == "^" ? op : "";
      default:
        return "";
    }
  }

  char Binary(int level) {
    if (level > 8) return Unary();
    char left = Binary(level + 1);
    while (true) {
      const std::string op = LevelOperator(level);
      if (op.empty()) return left;
      Advance();
      const char right = Binary(level + 1);
      left = Reduce(op, left, right);
    }
  }

  char Reduce(const std::string& op, char a, char b) {
    const bool nn = a == 'N' && b == 'N';
    const bool cc = a == 'C' && b == 'C';
    const bool dd = a == 'D' && b == 'D';
    const bool ll = a == 'L' && b == 'L';
    ExprOp code = ExprOp::End;
    char result = 0;
    if (op == "+") {
      code = ExprOp::Add;
      if (nn) result = 'N';
      else if ((a == 'N' && b == 'D') || (a == 'D' && b == 'N')) result = 'D';
      else if (cc) result = 'C';
    } else if (op == "-") {
      code = ExprOp::Subtract;
      if (nn || dd) result = 'N';
      else if (a == 'D' && b == 'N') result = 'D';
      else if (cc) result = 'C';
    } else if (op == "*" || op == "/" || op == "^") {
      code = op == "*" ? ExprOp::Multiply : op == "/" ? ExprOp::Divide : ExprOp::Power;
      if (nn) result = 'N';
    } else if (op == "=") {
      code = ExprOp::Equal;
      if (nn || dd || ll || cc) result = 'L';
    } else if (op == "==" || op == "$") {
      code = op == "==" ? ExprOp::ExactEqual : ExprOp::Contains;
      if (cc) result = 'L';
    } else if (op == "<>") {
      code = ExprOp::NotEqual;
      if (nn || dd || ll || cc) result = 'L';
    } else if (op == "<" || op == ">" || op == "<=" || op == ">=") {
      code = op == "<" ? ExprOp::Less : op == ">" ? ExprOp::Greater : op == "<=" ? ExprOp::LessEqual
                                                                               : ExprOp::GreaterEqual;
      if (nn || dd || cc) result = 'L';
    } else if (op == ".AND." || op == ".OR.") {
      code = op == ".AND." ? ExprOp::And : ExprOp::Or;
      if (ll) result = 'L';
    }
    if (result == 0) Mismatch(op);
    Emit({code, 2});
    return result;
  }

  char Unary() {
    if (++depth_ > kParserStackDepth / 2) Fail("Parser_stack_overflow");
    char type = 0;
    if (token_.kind == TokenKind::Not) {
      Advance();
      type = Unary();
      if (type != 'L') Fail("PARSER:Type mismatch in expression \".NOT.\"");
      Emit({ExprOp::Not, 1});
    } else if (IsOperator("-") || IsOperator("+")) {
      const bool minus = IsOperator("-");
      Advance();
      type = Unary();
      if (type != 'N') Fail(minus ? "PARSER:Type mismatch in expression \"Unary -\""
                                  : "PARSER:Type mismatch in expression \"Unary +\"");
      Emit({minus ? ExprOp::Negate : ExprOp::Plus, 1});
    } else {
      type = Primary();
    }
    --depth_;
    return type;
  }

  char Primary() {
    ExprInstruction push{ExprOp::PushLiteral, 0};
    switch (token_.kind) {
      case TokenKind::Number:
        push.type = 'N';
        push.number = token_.number;
        Emit(push);
        Advance();
        return 'N';
      case TokenKind::String:
        push.type = 'C';
        push.literal = static_cast<std::uint32_t>(expr_.literals.size());
        expr_.literals.push_back(token_.text);
        Emit(push);
        Advance();
        return 'C';
      case TokenKind::True:
      case TokenKind::False:
        push.type = 'L';
        push.logical = token_.kind == TokenKind::True ? 1 : 0;
        Emit(push);
        Advance();
        return 'L';
      case TokenKind::Field: {
        ExprInstruction field{ExprOp::Field, token_.area != 0 ? 2 : 1};
        field.type = token_.fieldType;
        field.logical = token_.fieldIndex;
        field.area = token_.area;
        Emit(field);
        const char type = token_.fieldType;
        Advance();
        return type;
      }
      case TokenKind::Function:
        return Call();
      case TokenKind::Operator:
        if (token_.text == "(") {
          Advance();
          const char type = Binary(1);
          if (!IsOperator(")")) Fail("Syntax error");
          Advance();
          return type;
        }
        break;
      default:
        break;
    }
    Fail("Syntax error");
  }

  char Call() {
    const ExprFunction& function = *token_.function;
    Advance();
    if (!IsOperator("(")) Fail("Syntax error");
    Advance();
    std::string types;
    if (!IsOperator(")")) {
      while (true) {
        types.push_back(Binary(1));
        if (IsOperator(",")) {
          Advance();
          continue;
        }
        break;
      }
    }
    if (!IsOperator(")") || !TakesArgumentCount(function, types.size())) Fail("Syntax error");
    const char result = FunctionResult(function, types);
    if (result == 0) Fail("PARSER:Type mismatch in function \"" + function.name + "\"");
    Emit({function.op, static_cast<int>(types.size())});
    Advance();
    return result;
  }

  void Finish(char type) {
    expr_.resultType = type;
    expr_.decimals = 0;
    int pool = poolSize_;
    switch (type) {
      case 'C':
        expr_.width = static_cast<std::uint16_t>(pool == lastLength_ + 1 ? lastLength_ : 0);
        break;
      case 'D':
        expr_.width = 8;
        break;
      case 'N': {
        const int decimals = decimals_ == kDecimalsNotSet ? kDefaultDecimals : decimals_;
        expr_.decimals = static_cast<std::uint8_t>(decimals);
        expr_.width = static_cast<std::uint16_t>(lastLength_ >= decimals + 2 ? lastLength_ : decimals + 11);
        break;
      }
      case 'L':
        expr_.width = 1;
        break;
      case 'M':
        pool = static_cast<int>(kMemoPoolSize);
        expr_.width = static_cast<std::uint16_t>(pool);
        break;
      default:
        break;
    }
    expr_.poolSize = static_cast<std::uint16_t>(std::min(pool, 65535));
  }

  std::string text_;
  ExprLexer lexer_;
  CompiledExpr& expr_;
  ExprToken token_;
  int lastLength_ = 0;
  int decimals_ = kDecimalsNotSet;
  int poolSize_ = 0;
  int depth_ = 0;
};

void ReportCompileError(const std::string& message, const std::string& excerpt) {
  SetError(351, "Error in expression : " + message + "\r\n" + excerpt + "\r\n" + " [AssignExpr]");
}

}  // namespace

CompiledExpr* AssignExpr(const std::string& text) {
  if (TzError >= kFirstExprError && TzError <= kLastExprError) TzError = 0;
  auto expr = std::unique_ptr<CompiledExpr>(new (std::nothrow) CompiledExpr);
  if (!expr) {
    SetError(217, " [AssignExpr]");
    return nullptr;
  }
  if (text.size() > kMaxExprText) {
    // Cutting the text would compile a different expression.
    ReportCompileError("Expression longer than 255 characters",
                       "[" + text.substr(0, kExcerptLength) + "...]");
    return nullptr;
  }
  Compiler compiler(text, *expr);
  try {
    compiler.Run();
  } catch (const CompileError& error) {
    ReportCompileError(error.message, compiler.Excerpt());
    return nullptr;
  } catch (const std::bad_alloc&) {
    SetError(217, " [PARSER/SStackCheck]");
    return nullptr;
  }
  expr->source = text;
  expr->pool.assign(expr->poolSize + 1u, '\0');
  expr->working.reserve(expr->code.size() + 1);
  CompiledExpr* result = expr.release();
  LiveExpressions().insert(result);
  return result;
}

void FreeExpr(CompiledExpr*& expr) {
  if (expr == nullptr) return;
  LiveExpressions().erase(expr);
  if (CurrentExpr == expr) CurrentExpr = nullptr;
  delete expr;
  expr = nullptr;
}

std::string ExprText(const CompiledExpr* expr) { return expr == nullptr ? std::string() : expr->source; }

}  // namespace dbase
