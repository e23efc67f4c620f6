// The logical values that imports read from text.
#include "dbase/engine/logical_text.h"

#include <cctype>

namespace dbase {

namespace {

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

LogicalReading ReadLogicalText(const std::string& text) {
  std::string word = Trimmed(text);
  if (word.empty()) return LogicalReading::Unknown;
  // dBASE writes its literals between dots.
  if (word.size() == 3 && word.front() == '.' && word.back() == '.') word = word.substr(1, 1);
  for (char& c : word) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (word == "?") return LogicalReading::Unknown;
  if (word == "T" || word == "Y" || word == "TRUE" || word == "YES") return LogicalReading::True;
  if (word == "F" || word == "N" || word == "FALSE" || word == "NO") return LogicalReading::False;
  return LogicalReading::NotLogical;
}

std::string NotLogicalText(const std::string& fieldName, const std::string& text) {
  return "Field " + fieldName + ": " + Trimmed(text) + " is not a logical value";
}

}  // namespace dbase
