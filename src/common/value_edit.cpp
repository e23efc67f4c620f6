// The value edits of the input dialogs; see value_edit.h.
#include "common/value_edit.h"

#include <cmath>
#include <cstdlib>

#include "common/c_locale_numbers.h"
#include "common/number_format.h"
#include "platform/user_dialogs.h"

namespace common {

namespace {

bool Blank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

// True when the text is a number of any size or "inf"/"nan": the user
// meant a number, only not one the program can take.
bool NumberBeyondRange(const std::string& text) {
  std::string s = text;
  for (char& c : s)
    if (c == ',') c = '.';
  const char* start = s.c_str();
  while (*start == ' ') ++start;
  char* end = nullptr;
  const long double value = common::CStrtold(start, &end);
  return end != start && *end == '\0' && !IsUsableNumber(value);
}

bool Refuse(const std::string& field, std::string& text, const std::string& oldText, const char* what) {
  const std::string kind = NumberBeyondRange(text) ? "not a finite number" : what;
  platform::Dialogs().ShowMessage({"Error  : ", field + ": \"" + text + "\" is " + kind + " !",
                                   platform::MessageKind::Error, platform::MessageButtons::Ok});
  text = oldText;
  return false;
}

}  // namespace

bool AcceptNumberText(const std::string& field, std::string& text, const std::string& oldText) {
  if (Blank(text) || ParseNumberText(text)) return true;
  return Refuse(field, text, oldText, "not a number");
}

bool AcceptWholeNumberText(const std::string& field, std::string& text, const std::string& oldText) {
  if (Blank(text) || ParseWholeNumberText(text)) return true;
  return Refuse(field, text, oldText, "not a whole number");
}

void ValueEdit::Show(Real value, ToText toText) {
  value_ = value;
  text = toText(value);
  shown_ = text;
}

Real ValueEdit::Read(FromText fromText) const { return Edited() ? fromText(text) : value_; }

bool ValueEdit::Accept(const std::string& field) {
  if (!Edited()) return true;
  return AcceptNumberText(field, text, shown_);
}

}  // namespace common
