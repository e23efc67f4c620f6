// Tokens of the expression language and the lookup of field names.
#include "dbase/expr/expr_lexer.h"

#include <cctype>
#include <cstdlib>

#include "common/c_locale_numbers.h"
#include "dbase/engine/work_areas.h"

namespace dbase {

namespace {

// Reading stops after this many characters.
constexpr std::size_t kLexerLimit = 256;
// Aliases are compared over their first 10 characters in areas 1..32.
constexpr std::size_t kAliasCompareLength = 10;
constexpr int kAliasAreas = 32;

bool IsLetter(int c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(int c) { return c >= '0' && c <= '9'; }
bool IsNameStart(int c) { return IsLetter(c) || c == '.' || c == '_'; }
bool IsNameChar(int c) { return IsNameStart(c) || IsDigit(c); }

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// The work area whose alias matches over its first 10 characters; 0 if none.
int AreaOfAlias(const std::string& alias) {
  const std::string wanted = Upper(alias.substr(0, kAliasCompareLength));
  for (int n = 1; n <= kAliasAreas; ++n) {
    const WorkArea* area = WorkAreas[n].get();
    if (area == nullptr || !area->table.IsOpen()) continue;
    if (Upper(area->alias.substr(0, kAliasCompareLength)) == wanted) return n;
  }
  return 0;
}

// Fills the token when the name is a field of the area (0 = current).
bool LookupField(const std::string& name, int area, ExprToken& token) {
  const int n = area == 0 ? CurrentArea : area;
  if (n < 1 || n > kMaxWorkAreas) return false;
  const WorkArea* record = WorkAreas[n].get();
  if (record == nullptr || !record->table.IsOpen()) return false;
  const auto& fields = record->table.fields;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (fields[i].name != name) continue;
    char type = fields[i].type;
    if (type == 'F') type = 'N';
    if (type != 'C' && type != 'D' && type != 'N' && type != 'L' && type != 'M') return false;
    token.kind = TokenKind::Field;
    token.fieldIndex = static_cast<int>(i);
    token.area = area;
    token.fieldType = type;
    token.fieldLength = fields[i].length;
    token.fieldDecimals = fields[i].decimals;
    return true;
  }
  return false;
}

}  // namespace

ExprLexer::ExprLexer(const std::string& text) : text_(text.substr(0, kLexerLimit)) {}

int ExprLexer::Peek(std::size_t ahead) const {
  const std::size_t at = position_ + ahead;
  return at < text_.size() ? static_cast<unsigned char>(text_[at]) : -1;
}

ExprToken ExprLexer::Next() {
  while (Peek() == ' ' || Peek() == '\t') ++position_;
  ExprToken token;
  const int c = Peek();
  if (c < 0) return token;
  if (IsDigit(c)) {
    const std::size_t start = position_;
    bool point = false;
    while (IsDigit(Peek()) || (Peek() == '.' && !point)) {
      if (Peek() == '.') point = true;
      ++position_;
    }
    if ((Peek() == 'E' || Peek() == 'e') && IsDigit(Peek(1))) {
      ++position_;
      while (IsDigit(Peek())) ++position_;
    }
    token.kind = TokenKind::Number;
    token.text = text_.substr(start, position_ - start);
    token.number = common::CStrtod(token.text.c_str(), nullptr);
    return token;
  }
  if (c == '\'' || c == '"') {
    const std::size_t close = text_.find(static_cast<char>(c), position_ + 1);
    if (close == std::string::npos) {
      // An unclosed literal ends the token stream.
      position_ = text_.size();
      token.kind = TokenKind::Unknown;
      return token;
    }
    token.kind = TokenKind::String;
    token.text = text_.substr(position_ + 1, close - position_ - 1);
    position_ = close + 1;
    return token;
  }
  if (IsNameStart(c)) return Name();
  token.kind = TokenKind::Operator;
  const int d = Peek(1);
  auto take = [&](const char* op, std::size_t length) {
    token.text = op;
    position_ += length;
    return token;
  };
  switch (c) {
    case '=':
      return d == '=' ? take("==", 2) : take("=", 1);
    case '*':
      return d == '*' ? take("^", 2) : take("*", 1);
    case '#':
      return take("<>", 1);
    case '<':
      if (d == '>') return take("<>", 2);
      return d == '=' ? take("<=", 2) : take("<", 1);
    case '>':
      return d == '=' ? take(">=", 2) : take(">", 1);
    case '$': return take("$", 1);
    case '+': return take("+", 1);
    case '-': return take("-", 1);
    case '/': return take("/", 1);
    case '^': return take("^", 1);
    case '(': return take("(", 1);
    case ')': return take(")", 1);
    case ',': return take(",", 1);
    default:
      token.kind = TokenKind::Unknown;
      token.text = std::string(1, static_cast<char>(c));
      ++position_;
      return token;
  }
}

ExprToken ExprLexer::Name() {
  ExprToken token;
  const std::size_t start = position_;
  while (IsNameChar(Peek())) ++position_;
  const std::string name = Upper(text_.substr(start, position_ - start));
  token.text = name;
  // An alias: NAME->FIELD.
  if (Peek() == '-' && Peek(1) == '>' && (IsLetter(Peek(2)) || IsDigit(Peek(2)) || Peek(2) == '_')) {
    position_ += 2;
    const std::size_t fieldStart = position_;
    while (IsLetter(Peek()) || IsDigit(Peek()) || Peek() == '_') ++position_;
    const std::string field = Upper(text_.substr(fieldStart, position_ - fieldStart));
    const int area = AreaOfAlias(name);
    token.kind = TokenKind::Unknown;
    if (area != 0) LookupField(field, area, token);
    return token;
  }
  // A name followed by "(" is a function, never a field.
  std::size_t after = position_;
  while (after < text_.size() && (text_[after] == ' ' || text_[after] == '\t')) ++after;
  const bool call = after < text_.size() && text_[after] == '(';
  if (!call && LookupField(name, 0, token)) return token;
  if (name == ".T.") token.kind = TokenKind::True;
  else if (name == ".F.") token.kind = TokenKind::False;
  else if (name == ".NOT.") token.kind = TokenKind::Not;
  else if (name == ".OR.") token.kind = TokenKind::Or;
  else if (name == ".AND.") token.kind = TokenKind::And;
  else if ((token.function = FindExprFunction(name)) != nullptr) token.kind = TokenKind::Function;
  else token.kind = TokenKind::Unknown;
  return token;
}

}  // namespace dbase
