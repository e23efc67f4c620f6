// Field values of the dataset's active record (see dataset_fields.h).
#include "dbase/dataset/dataset_fields.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <vector>

#include "common/c_locale_numbers.h"
#include "common/kaldvar.h"
#include "common/small_dialogs.h"
#include "dbase/common/date_text.h"
#include "dbase/common/text_routines.h"
#include "dbase/dataset/dataset.h"
#include "dbase/engine/date_display.h"
#include "dbase/engine/dbf_native.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/engine_settings.h"
#include "dbase/engine/number_text.h"
#include "dbase/index/day_numbers.h"

namespace dbase {

std::string LogicalTrueText = "True";
std::string LogicalFalseText = "False";
std::string AnswerYesText = "yes";
std::string AnswerNoText = "no";

namespace {

std::string Trimmed(const std::string& text) { return TzAllTrim(text); }

// A number typed or given as text: wholly a number, by the engine's rules
// (its decimal comma on a German desktop).
bool ParseNumber(const std::string& text, double& value) {
  return ReadNumberText(Trimmed(text), value) == NumberReading::Number;
}

bool ParseInteger(const std::string& text, std::int64_t& value) {
  const std::string t = Trimmed(text);
  if (t.empty()) return false;
  char* end = nullptr;
  errno = 0;
  value = std::strtoll(t.c_str(), &end, 10);
  return end != nullptr && *end == '\0' && errno == 0;
}

}  // namespace

void ShowDatasetMessage(const std::string& text) {
  if (common::MessagesEnabled != 0) common::ShowMessageText(text);
}

std::size_t FieldDataSize(TFieldType type, int size) {
  switch (type) {
    case TFieldType::String:
      return static_cast<std::size_t>(size) + 1;
    case TFieldType::Date:
    case TFieldType::Float:
    case TFieldType::LargeInt:
      return 8;
    case TFieldType::Integer:
    case TFieldType::Memo:
      return 4;
    case TFieldType::Boolean:
      return 2;
  }
  return 0;
}

TField::TField(TDataSet* dataSet, std::string name, TFieldType type, int size, int fieldNo)
    : dataSet_(dataSet), name_(std::move(name)), type_(type), size_(size), fieldNo_(fieldNo) {}

bool TField::GetData(void* buffer) const { return dataSet_->GetFieldData(*this, buffer); }

void TField::SetData(const void* buffer) { dataSet_->SetFieldData(*this, buffer); }

bool TField::IsNull() const {
  std::vector<std::uint8_t> scratch(DataSize() + 1, 0);
  return !GetData(scratch.data());
}

void TField::Clear() { SetData(nullptr); }

std::string TField::TrueText() const {
  const std::size_t semicolon = DisplayValues.find(';');
  if (DisplayValues.empty() || semicolon == std::string::npos) return LogicalTrueText;
  return DisplayValues.substr(0, semicolon);
}

std::string TField::FalseText() const {
  const std::size_t semicolon = DisplayValues.find(';');
  if (DisplayValues.empty() || semicolon == std::string::npos) return LogicalFalseText;
  return DisplayValues.substr(semicolon + 1);
}

double TField::DoubleValue() const {
  double value = 0;
  if (!GetData(&value)) return 0;
  return value;
}

std::string TField::AsString() const {
  switch (type_) {
    case TFieldType::String: {
      std::vector<char> text(static_cast<std::size_t>(size_) + 1, '\0');
      if (!GetData(text.data())) return std::string();
      return std::string(text.data());
    }
    case TFieldType::Date: {
      const double day = DoubleValue();
      return day == 0 ? std::string() : JulianToDateText(day);
    }
    case TFieldType::Float: {
      double value = 0;
      if (!GetData(&value)) return std::string();
      // Wide float fields of other programs hold numbers of hundreds of
      // digits.
      std::string result(static_cast<std::size_t>(common::CSnprintf(nullptr, 0, "%.*f", Decimals, value)), '\0');
      common::CSnprintf(result.data(), result.size() + 1, "%.*f", Decimals, value);
      if (DecimalSeparator != '.') {
        for (char& c : result) {
          if (c == '.') c = DecimalSeparator;
        }
      }
      return result;
    }
    case TFieldType::Integer:
    case TFieldType::LargeInt:
    case TFieldType::Memo:
      return IsNull() ? std::string() : std::to_string(AsInteger());
    case TFieldType::Boolean: {
      std::uint16_t value = 0;
      if (!GetData(&value)) return std::string();
      return value != 0 ? TrueText() : FalseText();
    }
  }
  return std::string();
}

void TField::SetAsString(const std::string& text) {
  switch (type_) {
    case TFieldType::String: {
      std::string value = text.substr(0, static_cast<std::size_t>(size_));
      std::vector<char> buffer(static_cast<std::size_t>(size_) + 1, '\0');
      std::memcpy(buffer.data(), value.data(), value.size());
      SetData(buffer.data());
      return;
    }
    case TFieldType::Date: {
      const std::string trimmed = Trimmed(text);
      if (trimmed.empty()) {
        SetData(nullptr);
        return;
      }
      const double day = CtodToJulian(trimmed.substr(0, 10));
      if (day == 0) throw EDatasetError("'" + text + "' is not a valid date");
      SetData(&day);
      return;
    }
    case TFieldType::Float: {
      double value = 0;
      if (Trimmed(text).empty()) {
        SetData(nullptr);
        return;
      }
      if (!ParseNumber(text, value)) throw EDatasetError("'" + text + "' is not a valid floating point value");
      SetAsFloat(value);
      return;
    }
    case TFieldType::Integer:
    case TFieldType::LargeInt:
    case TFieldType::Memo: {
      std::int64_t value = 0;
      if (Trimmed(text).empty()) {
        SetData(nullptr);
        return;
      }
      if (!ParseInteger(text, value)) throw EDatasetError("'" + text + "' is not a valid integer value");
      SetAsInteger(value);
      return;
    }
    case TFieldType::Boolean: {
      const std::string t = TzUpperCase(Trimmed(text));
      if (t.empty()) {
        SetData(nullptr);
        return;
      }
      if (t == TzUpperCase(TrueText()) || t == TzUpperCase(AnswerYesText) || t == "T" || t == "Y" || t == "J") {
        SetAsBoolean(true);
      } else if (t == TzUpperCase(FalseText()) || t == TzUpperCase(AnswerNoText) || t == "F" || t == "N") {
        SetAsBoolean(false);
      } else {
        throw EDatasetError("'" + text + "' is not a valid boolean value for field '" + name_ + "'");
      }
      return;
    }
  }
}

double TField::AsFloat() const {
  switch (type_) {
    case TFieldType::Float:
    case TFieldType::Date:
      return DoubleValue();
    case TFieldType::String: {
      double value = 0;
      return ParseNumber(AsString(), value) ? value : 0;
    }
    default:
      return static_cast<double>(AsInteger());
  }
}

void TField::SetAsFloat(double value) {
  switch (type_) {
    case TFieldType::Float:
    case TFieldType::Date:
      SetData(&value);
      return;
    case TFieldType::String: {
      char text[64];
      common::CSnprintf(text, sizeof text, "%.15g", value);
      SetAsString(text);
      return;
    }
    default:
      // A whole-number field cannot hold a number beyond 64 bits: refused,
      // never clamped.
      if (!(std::fabs(value) < kLargestWholeNumber)) {
        throw EDatasetError("Dataset error: " + ErrorText(205) + " " + WholeNumberOverflowText(name_, value));
      }
      SetAsInteger(static_cast<std::int64_t>(std::llround(value)));
  }
}

std::int64_t TField::AsInteger() const {
  switch (type_) {
    case TFieldType::Integer: {
      std::int32_t value = 0;
      return GetData(&value) ? value : 0;
    }
    case TFieldType::LargeInt: {
      std::int64_t value = 0;
      return GetData(&value) ? value : 0;
    }
    case TFieldType::Memo: {
      std::uint32_t value = 0;
      return GetData(&value) ? value : 0;
    }
    case TFieldType::Boolean:
      return AsBoolean() ? 1 : 0;
    case TFieldType::String: {
      std::int64_t value = 0;
      return ParseInteger(AsString(), value) ? value : 0;
    }
    default:
      return static_cast<std::int64_t>(std::llround(DoubleValue()));
  }
}

void TField::SetAsInteger(std::int64_t value) {
  switch (type_) {
    case TFieldType::Integer: {
      if (value < INT32_MIN || value > INT32_MAX) {
        throw EDatasetError(std::to_string(value) + " is not a valid value for field '" + name_ + "'");
      }
      const auto v = static_cast<std::int32_t>(value);
      SetData(&v);
      return;
    }
    case TFieldType::LargeInt:
      SetData(&value);
      return;
    case TFieldType::Memo: {
      const auto v = static_cast<std::uint32_t>(value);
      SetData(&v);
      return;
    }
    case TFieldType::Boolean:
      SetAsBoolean(value != 0);
      return;
    case TFieldType::String:
      SetAsString(std::to_string(value));
      return;
    default:
      SetAsFloat(static_cast<double>(value));
  }
}

bool TField::AsBoolean() const {
  if (type_ == TFieldType::Boolean) {
    std::uint16_t value = 0;
    return GetData(&value) && value != 0;
  }
  if (type_ == TFieldType::String) {
    const std::string t = TzUpperCase(Trimmed(AsString()));
    return !t.empty() && (t[0] == 'T' || t[0] == 'Y' || t[0] == 'J');
  }
  return AsInteger() != 0;
}

void TField::SetAsBoolean(bool value) {
  if (type_ == TFieldType::Boolean) {
    const std::uint16_t v = value ? 1 : 0;
    SetData(&v);
  } else if (type_ == TFieldType::String) {
    SetAsString(value ? TrueText() : FalseText());
  } else {
    SetAsInteger(value ? 1 : 0);
  }
}

std::string TTzDateField::Text() const {
  const std::string text = AsString();
  std::string first = text.substr(0, 10);
  std::string probe = first;
  return ValidDate(probe) ? first : text;
}

void TTzDateField::SetText(const std::string& text) {
  const std::string value = Trimmed(text).substr(0, 10);
  const std::string cut = text.substr(0, 10);
  if (value.empty() || cut == EmptyDatePicture(DateFormat) || cut == EmptyDatePicture(DateFormat, true) ||
      value == Trimmed(EmptyDatePicture(DateFormat)) || value == Trimmed(EmptyDatePicture(DateFormat, true))) {
    Clear();
    return;
  }
  std::string probe = value;
  if (!ValidDate(probe)) {
    // An impossible date (31 February) is refused with the engine's message
    // and the field left blank.
    ShowDatasetMessage(kInvalidDateText);
    Clear();
    return;
  }
  const double day = CtodToJulian(value);
  if (day == 0) {
    ShowDatasetMessage(kInvalidDateText);
    Clear();
    return;
  }
  SetData(&day);
}

std::string TTzFloatField::Text() const { return AsString(); }

}  // namespace dbase
