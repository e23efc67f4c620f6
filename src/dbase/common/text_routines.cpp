// Text routines of the table engine.
#include "dbase/common/text_routines.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "common/c_locale_numbers.h"
#include "dbase/engine/engine_settings.h"

namespace dbase {

namespace {

bool IsLatinLower(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 0xDF && c != 0xF7 && c != 0xFF); }
bool IsLatinUpper(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7); }

}  // namespace

char UpCaseChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (u == 0xDF) return c;  // sharp s has no single upper-case letter
  return IsLatinLower(u) ? static_cast<char>(u - 0x20) : c;
}

char LowCaseChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  return IsLatinUpper(u) ? static_cast<char>(u + 0x20) : c;
}

std::string TzUpperCase(const std::string& text) {
  std::string out = text;
  for (char& c : out) c = UpCaseChar(c);
  return out;
}

bool IsAlphaFirst(const std::string& text) {
  if (text.empty()) return false;
  const auto u = static_cast<unsigned char>(text[0]);
  return IsLatinLower(u) || IsLatinUpper(u);
}

int Occurs(const std::string& sub, const std::string& text) {
  if (sub.empty() || text.empty()) return 0;
  int count = 0;
  for (std::size_t at = text.find(sub); at != std::string::npos; at = text.find(sub, at + sub.size())) ++count;
  return count;
}

int NthPos(int n, const std::string& sub, const std::string& text) {
  if (n == 0 || sub.empty() || text.size() < sub.size()) return 0;
  if (n > 0) {
    int seen = 0;
    for (std::size_t at = text.find(sub); at != std::string::npos; at = text.find(sub, at + 1)) {
      if (++seen == n) return static_cast<int>(at) + 1;
    }
    return 0;
  }
  int seen = 0;
  for (std::size_t at = text.rfind(sub);; at = text.rfind(sub, at - 1)) {
    if (at == std::string::npos) return 0;
    if (++seen == -n) return static_cast<int>(at) + 1;
    if (at == 0) return 0;
  }
}

std::string Replicate(char c, int n) { return n <= 0 ? std::string() : std::string(static_cast<std::size_t>(n), c); }

std::string TrimRightStr(const std::string& text) {
  const std::size_t end = text.find_last_not_of(' ');
  return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

std::string TrimLeftStr(const std::string& text) {
  const std::size_t start = text.find_first_not_of(' ');
  return start == std::string::npos ? std::string() : text.substr(start);
}

std::string PadRight(const std::string& text, int width) {
  if (width < 1 || static_cast<int>(text.size()) >= width) return text;
  return text + std::string(static_cast<std::size_t>(width) - text.size(), ' ');
}

std::string IIfStr(bool condition, const std::string& a, const std::string& b) { return condition ? a : b; }

std::string IntToStrW(std::int64_t value, int width) {
  const std::string digits = std::to_string(value);
  if (width < 1 || static_cast<int>(digits.size()) >= width) return digits;
  return std::string(static_cast<std::size_t>(width) - digits.size(), ' ') + digits;
}

std::string FloatToStrW(double value, int width, int decimals) {
  char buffer[512];
  common::CSnprintf(buffer, sizeof buffer, "%*.*f", width < 0 ? 0 : width, decimals < 0 ? 0 : decimals, value);
  std::string text = buffer;
  if (decimals > 0) {
    const std::size_t point = text.find('.');
    if (point != std::string::npos) text[point] = DecimalSeparator;
  }
  return text;
}

void CleanNumberText(std::string& text) {
  std::string t;
  for (const char c : text) {
    if (c != '$') t.push_back(c);
  }
  std::size_t start = 0;
  while (start < t.size() && (t[start] == ' ' || t[start] == '+')) ++start;
  t = t.substr(start);
  if (!t.empty() && t[0] == '-') {
    std::size_t run = 0;
    while (run < t.size() && (t[run] == ' ' || t[run] == '+' || t[run] == '-')) ++run;
    t = t.substr(run);
    if (!t.empty()) {
      if (t[0] == DecimalSeparator) t.insert(t.begin(), '0');
      t.insert(t.begin(), '-');
    }
  }
  std::string s;
  if (DecimalSeparator != '.') {
    bool converted = false;
    for (const char c : t) {
      if (c == '.') continue;
      if (c == DecimalSeparator && !converted) {
        s.push_back('.');
        converted = true;
      } else {
        s.push_back(c);
      }
    }
  } else {
    for (const char c : t) {
      if (c != ',') s.push_back(c);
    }
  }
  if (!s.empty() && s[0] == '.') s.insert(s.begin(), '0');
  s = s.substr(0, s.find(' '));
  std::size_t cut = 0;
  while (cut < s.size()) {
    const char c = s[cut];
    const bool digit = std::isdigit(static_cast<unsigned char>(c)) != 0;
    if (!(digit || c == '.' || (c == '-' && cut == 0))) break;
    ++cut;
  }
  s.resize(cut);
  if (!s.empty() && s.back() == '.') s.pop_back();
  text = s;
}

double StrToFloatClean(const std::string& text) {
  std::string t = text;
  CleanNumberText(t);
  if (t.empty()) return 0;
  return common::CStrtod(t.c_str(), nullptr);
}

std::int64_t StrToIntClean(const std::string& text) {
  std::string t = text;
  CleanNumberText(t);
  // The cleaned text holds '.' as its decimal point: the integer part counts.
  t = t.substr(0, t.find('.'));
  t = t.substr(0, t.find(DecimalSeparator));
  if (t.empty() || t == "-") return 0;
  return std::strtoll(t.c_str(), nullptr, 10);
}

std::int16_t StrToSmallInt(const std::string& text) {
  if (text.empty()) return 0;
  std::string t = TrimRightStr(TrimLeftStr(text));
  if (!t.empty() && t[0] == '+') t.erase(0, 1);
  const char thousands = DecimalSeparator != '.' ? '.' : ',';
  std::string s;
  for (const char c : t) {
    if (c != thousands) s.push_back(c);
  }
  const std::size_t dollar = s.find('$');
  if (dollar != std::string::npos) s.erase(dollar, 1);
  s = s.substr(0, s.find(' '));
  std::size_t cut = 0;
  while (cut < s.size() && std::isdigit(static_cast<unsigned char>(s[cut]))) ++cut;
  s.resize(cut);
  if (s.empty()) return 0;
  // Long digit runs are clamped, not wrapped.
  if (s.size() > 6) return 32767;
  const long value = std::strtol(s.c_str(), nullptr, 10);
  return static_cast<std::int16_t>(value > 32767 ? 32767 : value);
}

bool RemoveKeyword(const std::string& word, std::string& command) {
  command = TzUpperCase(command);
  const std::string w = TzUpperCase(word);
  bool removed = false;
  if (!w.empty()) {
    std::size_t from = 0;
    while (true) {
      const std::size_t at = command.find(w, from);
      if (at == std::string::npos) break;
      const std::size_t after = at + w.size();
      bool keep = true;
      if (after >= command.size()) {
        keep = false;  // the end of the text ends the word
      } else {
        const auto c = static_cast<unsigned char>(command[after]);
        keep = std::isdigit(c) || c == '\\' || c == '_' || IsLatinLower(c) || IsLatinUpper(c);
      }
      if (keep) {
        from = at + 1;
      } else {
        command.erase(at, w.size());
        removed = true;
        from = at;
      }
    }
  }
  command = TrimRightStr(TrimLeftStr(command));
  return removed;
}

int PosNoCase(const std::string& sub, const std::string& text) {
  const std::size_t at = TzUpperCase(text).find(TzUpperCase(sub));
  return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
}

}  // namespace dbase
