// Small string utilities on program texts (see text_utils.h). Lengths and
// positions count bytes: program texts are single-byte code page 850.
#include "common/text_utils.h"

#include <algorithm>

namespace common {

namespace {

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::size_t Count(int n) { return n > 0 ? static_cast<std::size_t>(n) : 0; }

std::vector<std::string>& CommandLineParams() {
  static std::vector<std::string> params;
  return params;
}

}  // namespace

std::string UpperText(const std::string& text) {
  std::string result = text;
  std::transform(result.begin(), result.end(), result.begin(), UpperAscii);
  return result;
}

std::string LowerText(const std::string& text) {
  std::string result = text;
  std::transform(result.begin(), result.end(), result.begin(), LowerAscii);
  return result;
}

std::string LeftText(const std::string& text, int n) { return text.substr(0, Count(n)); }

std::string RightText(const std::string& text, int n) {
  const std::size_t k = std::min(Count(n), text.size());
  return text.substr(text.size() - k);
}

std::string PadRightText(const std::string& text, int n) {
  std::string result = text.substr(0, Count(n));
  result.resize(Count(n), ' ');
  return result;
}

std::string PadLeftText(const std::string& text, int n) {
  const std::string trimmed = TrimBlanks(text);
  if (trimmed.size() <= Count(n)) return std::string(Count(n) - trimmed.size(), ' ') + trimmed;
  return trimmed.substr(0, Count(n));
}

std::string TrimBlanks(const std::string& text) {
  const std::size_t last = text.find_last_not_of(' ');
  if (last == std::string::npos) return std::string();
  const std::size_t first = text.find_first_not_of(' ');
  return text.substr(first, last - first + 1);
}

std::string OneLineText(const std::string& text) {
  std::string line = text;
  for (char& c : line)
    if (c == '\r' || c == '\n') c = ' ';
  return line;
}

std::string PrintableText(const std::string& text) {
  std::string shown = text;
  for (char& c : shown) {
    const auto code = static_cast<unsigned char>(c);
    if (code < 32 || code == 127) c = ' ';
  }
  return shown;
}

std::string RemoveBlanks(const std::string& text) {
  std::string result = text;
  RemoveBlanksInPlace(result);
  return result;
}

void RemoveBlanksInPlace(std::string& text) { std::erase(text, ' '); }

void ReplaceChar(char oldChar, char newChar, std::string& text) {
  std::replace(text.begin(), text.end(), oldChar, newChar);
}

std::string PointToComma(const std::string& text) {
  std::string result = text;
  ReplaceChar('.', ',', result);
  return result;
}

std::string CommaToPoint(const std::string& text) {
  std::string result = text;
  ReplaceChar(',', '.', result);
  return result;
}

std::uint8_t CountChar(char c, const std::string& text) {
  return static_cast<std::uint8_t>(std::count(text.begin(), text.end(), c));
}

int LastSubTextPos(const std::string& sub, const std::string& text) {
  // Repeated forward search, each time continuing behind the previous hit
  // (overlapping occurrences are therefore not found).
  if (sub.empty()) return 0;
  int last = 0;
  std::size_t from = 0;
  for (;;) {
    const std::size_t hit = text.find(sub, from);
    if (hit == std::string::npos) return last;
    last = static_cast<int>(hit) + 1;
    from = hit + sub.size();
  }
}

std::string AbbreviateText(const std::string& text, int n) {
  if (n > static_cast<int>(text.size())) return text;
  if (n < 11) return text.substr(0, Count(n));
  const std::size_t m = Count(n / 2 - 2);
  return text.substr(0, m) + "__" + text.substr(text.size() - m);
}

void PutTextAt(const std::string& text, std::string& line, int column) {
  if (column < 1) return;
  if (column > static_cast<int>(line.size()) + 1 - static_cast<int>(text.size())) return;
  line.replace(static_cast<std::size_t>(column - 1), text.size(), text);
}

std::string AddPlusSign(const std::string& text) {
  if (!text.empty() && text[0] == '-') return text;
  return "+" + text;
}

char IndexToLetter(int n) { return static_cast<char>(n + 64); }

bool IsYesChar(char c) { return c == 'J' || c == 'Y'; }

char YesNoChar(bool b) { return b ? 'J' : 'N'; }

void SetCommandLineParams(const std::vector<std::string>& params) { CommandLineParams() = params; }

void SetCommandLineParams(int argc, const char* const* argv) {
  std::vector<std::string> params;
  for (int i = 1; i < argc; ++i) params.emplace_back(argv[i]);
  SetCommandLineParams(params);
}

int CommandLineParamCount() { return static_cast<int>(CommandLineParams().size()); }

bool HasCommandLineParam(const std::string& text) {
  const std::string wanted = UpperText(text);
  for (const std::string& param : CommandLineParams())
    if (UpperText(param) == wanted) return true;
  return false;
}

void PadRightText(const std::string& text, int n, std::string& result) { result = PadRightText(text, n); }
void PadLeftText(const std::string& text, int n, std::string& result) { result = PadLeftText(text, n); }
void TrimBlanks(const std::string& text, std::string& result) { result = TrimBlanks(text); }
void RemoveBlanks(const std::string& text, std::string& result) { result = RemoveBlanks(text); }
void PointToComma(const std::string& text, std::string& result) { result = PointToComma(text); }
void CommaToPoint(const std::string& text, std::string& result) { result = CommaToPoint(text); }
void AbbreviateText(const std::string& text, int n, std::string& result) {
  result = AbbreviateText(text, n);
}
void AddPlusSign(const std::string& text, std::string& result) { result = AddPlusSign(text); }

}  // namespace common
