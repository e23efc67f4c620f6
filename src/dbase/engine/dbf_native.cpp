// Conversion between the raw record and the native record.
#include "dbase/engine/dbf_native.h"

#include <algorithm>
#include <charconv>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/c_locale_numbers.h"
#include "dbase/engine/date_display.h"
#include "dbase/engine/dbf_layout.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/number_text.h"
#include "dbase/engine/engine_settings.h"

namespace dbase {

namespace {

// Widest field whose integers fit a 32-bit native value.
constexpr int kMaxInt32Digits = 9;

// The number at the start of a field's trimmed text, as strtod and strtol
// read it; the fast parse serves the usual plain decimal text.
double ParsedDouble(const std::string& text) {
  double value = 0;
  const char* end = text.data() + text.size();
  const std::from_chars_result got = std::from_chars(text.data(), end, value);
  if (got.ec == std::errc() && got.ptr == end) return value;
  return common::CStrtod(text.c_str(), nullptr);
}

long ParsedLong(const std::string& text) {
  long value = 0;
  const char* end = text.data() + text.size();
  const std::from_chars_result got = std::from_chars(text.data(), end, value);
  if (got.ec == std::errc() && got.ptr == end) return value;
  return std::strtol(text.c_str(), nullptr, 10);
}

std::string Trimmed(const char* data, std::size_t length) {
  std::size_t start = 0;
  while (start < length && data[start] == ' ') ++start;
  std::size_t end = length;
  while (end > start && (data[end - 1] == ' ' || data[end - 1] == '\0')) --end;
  return std::string(data + start, end - start);
}

// Whether two native values of a field are the same (a text compares its
// length byte and characters only).
bool SameNativeValue(const FieldDef& field, const std::uint8_t* a, const std::uint8_t* b) {
  switch (NativeKindOf(field)) {
    case NativeKind::Text:
    case NativeKind::Date:
      return a[0] == b[0] && std::memcmp(a + 1, b + 1, std::min<std::size_t>(a[0], NativeFieldSize(field) - 1)) == 0;
    default:
      return std::memcmp(a, b, NativeFieldSize(field)) == 0;
  }
}

// Whether a number's record text shows it (a field too narrow shows '*').
bool Shows(const std::string& fieldText) { return !fieldText.empty() && fieldText[0] != '*'; }

void PutField(DbfTable& table, const FieldDef& field, const std::string& text) {
  std::string value = text.substr(0, field.length);
  value.resize(field.length, ' ');
  std::memcpy(table.record.data() + field.offset, value.data(), field.length);
}

}  // namespace

NativeKind NativeKindOf(const FieldDef& field) {
  switch (field.type) {
    case 'C':
      return NativeKind::Text;
    case 'D':
      return NativeKind::Date;
    case 'N':
    case 'F':
      if (field.decimals > 0) return NativeKind::Double;
      return field.length > kMaxInt32Digits ? NativeKind::Int64 : NativeKind::Int32;
    case 'L':
      return NativeKind::Logical;
    default:
      return NativeKind::Memo;
  }
}

std::size_t NativeFieldSize(const FieldDef& field) {
  switch (NativeKindOf(field)) {
    case NativeKind::Text:
      return static_cast<std::size_t>(field.length) + 1;
    case NativeKind::Date:
      return static_cast<std::size_t>(field.length) + 3;
    case NativeKind::Double:
    case NativeKind::Int64:
      return 8;
    case NativeKind::Int32:
    case NativeKind::Memo:
      return 4;
    case NativeKind::Logical:
      return 1;
  }
  return 0;
}

std::size_t NativeRecordSize(const DbfTable& table) {
  std::size_t size = 1;
  for (const FieldDef& field : table.fields) size += NativeFieldSize(field);
  return size;
}

std::size_t NativeFieldOffset(const DbfTable& table, int index) {
  std::size_t offset = 1;
  for (int i = 0; i < index && i < table.FieldCount(); ++i) offset += NativeFieldSize(table.fields[i]);
  return offset;
}

std::string NativeString(const std::uint8_t* address) {
  return std::string(reinterpret_cast<const char*>(address + 1), address[0]);
}

void PutNativeString(std::uint8_t* address, std::size_t capacity, const std::string& text) {
  const std::size_t n = std::min(text.size(), capacity > 0 ? std::min<std::size_t>(capacity - 1, 255) : 0);
  address[0] = static_cast<std::uint8_t>(n);
  std::memcpy(address + 1, text.data(), n);
}

double NativeDouble(const std::uint8_t* address) {
  double v;
  std::memcpy(&v, address, sizeof v);
  return v;
}
void PutNativeDouble(std::uint8_t* address, double value) { std::memcpy(address, &value, sizeof value); }
std::int32_t NativeInt32(const std::uint8_t* address) {
  std::int32_t v;
  std::memcpy(&v, address, sizeof v);
  return v;
}
void PutNativeInt32(std::uint8_t* address, std::int32_t value) { std::memcpy(address, &value, sizeof value); }
std::int64_t NativeInt64(const std::uint8_t* address) {
  std::int64_t v;
  std::memcpy(&v, address, sizeof v);
  return v;
}
void PutNativeInt64(std::uint8_t* address, std::int64_t value) { std::memcpy(address, &value, sizeof value); }

double NativeNumber(const FieldDef& field, const std::uint8_t* address) {
  switch (NativeKindOf(field)) {
    case NativeKind::Double:
      return NativeDouble(address);
    case NativeKind::Int32:
    case NativeKind::Memo:
      return NativeInt32(address);
    case NativeKind::Int64:
      return static_cast<double>(NativeInt64(address));
    default:
      return 0;
  }
}

std::string WholeNumberOverflowText(const std::string& fieldName, double value) {
  return WholeNumberOverflowText(fieldName, common::CFormat("%g", value));
}

std::string WholeNumberOverflowText(const std::string& fieldName, const std::string& valueText) {
  return "Field " + fieldName + ": " + valueText + " is beyond the whole numbers it holds";
}

NumberStore PutNumberText(const FieldDef& field, std::uint8_t* address, const std::string& given) {
  const std::string text = TzAllTrim(given);
  double value = 0;
  if (!text.empty()) {
    // Not a number at all, or one beyond a double's range.
    const NumberReading read = ReadNumberText(text, value);
    if (read == NumberReading::NotANumber) return NumberStore::NotANumber;
    if (read == NumberReading::OutOfRange) return NumberStore::DoesNotFit;
  }
  if (field.decimals > 0) {
    if (!FitsNumberField(field, value)) return NumberStore::DoesNotFit;
    PutNativeDouble(address, value);
    return NumberStore::Stored;
  }
  // A plain integer keeps every one of its digits; an exponent form or a
  // decimal goes through its real value.
  const std::string cForm = CFormNumberText(text);
  char* end = nullptr;
  errno = 0;
  const long long whole = std::strtoll(cForm.c_str(), &end, 10);
  const bool plain = errno != ERANGE && end != nullptr && *end == '\0' && end != cForm.c_str();
  const bool beyondLongLong = errno == ERANGE;
  // A fraction rounds to the nearest whole number (halves away from zero),
  // as every other way into an integer field rounds it.
  const double real = plain ? static_cast<double>(whole) : std::round(value);
  if (beyondLongLong || !(std::fabs(real) < kLargestWholeNumber)) {
    // Only a field as wide as such numbers could have shown it.
    const bool finite = beyondLongLong || std::isfinite(real);
    return finite && field.length >= kWholeNumberDigits ? NumberStore::BeyondWholeNumbers : NumberStore::DoesNotFit;
  }
  if (NativeKindOf(field) == NativeKind::Int64) {
    const std::int64_t stored = plain ? whole : static_cast<std::int64_t>(real);
    if (!Shows(IntegerFieldText(stored, field.length))) return NumberStore::DoesNotFit;
    PutNativeInt64(address, stored);
    return NumberStore::Stored;
  }
  if (!FitsNumberField(field, real)) return NumberStore::DoesNotFit;
  PutNativeNumber(field, address, real);
  return NumberStore::Stored;
}

std::string RefusedNumberText(const FieldDef& field, const std::string& text, NumberStore why) {
  switch (why) {
    case NumberStore::NotANumber:
      return "Field " + field.name + ": " + text + " is not a number";
    case NumberStore::BeyondWholeNumbers:
      return WholeNumberOverflowText(field.name, text);
    default:
      return DoesNotFitText(field, text);
  }
}

std::string FieldTypeText(const FieldDef& field) {
  const std::string type(1, field.type);
  switch (field.type) {
    case 'C':
      return type + "(" + std::to_string(field.length) + ")";
    case 'N':
    case 'F':
      return type + "(" + std::to_string(field.length) + "," + std::to_string(field.decimals) + ")";
    default:
      return type;
  }
}

std::string DoesNotFitText(const FieldDef& field, const std::string& value) {
  return "Field " + field.name + ": " + value + " does not fit " + FieldTypeText(field);
}

bool PutCharacterText(const FieldDef& field, std::uint8_t* address, const std::string& text) {
  const std::size_t end = text.find_last_not_of(' ');
  const std::size_t used = end == std::string::npos ? 0 : end + 1;
  if (used > field.length) return false;
  PutNativeString(address, NativeFieldSize(field), text.substr(0, std::min<std::size_t>(text.size(), field.length)));
  return true;
}

bool FitsNumberField(const FieldDef& field, double value) {
  if (!std::isfinite(value)) return false;
  if (field.decimals > 0) return Shows(NumberFieldText(value, field.length, field.decimals));
  const double whole = std::round(value);
  if (!(std::fabs(whole) < kLargestWholeNumber)) return false;
  return Shows(IntegerFieldText(static_cast<std::int64_t>(whole), field.length));
}

void PutNativeNumber(const FieldDef& field, std::uint8_t* address, double value) {
  switch (NativeKindOf(field)) {
    case NativeKind::Double:
      PutNativeDouble(address, value);
      break;
    case NativeKind::Int32:
    case NativeKind::Memo:
      PutNativeInt32(address, static_cast<std::int32_t>(std::llround(std::clamp(value, -2147483648.0, 2147483647.0))));
      break;
    case NativeKind::Int64:
      // Beyond 64 bits a value cannot be held whole: a field narrower than
      // such a number shows it as too wide (a row of '*'), a wider one would
      // show a wrong number, so the value is refused there.
      if (!(std::fabs(value) < kLargestWholeNumber) && field.length >= kWholeNumberDigits) {
        SetError(205, WholeNumberOverflowText(field.name, value) + " [PutNativeNumber]");
        break;
      }
      PutNativeInt64(address, std::llround(std::clamp(value, -kLargestWholeNumber, kLargestWholeNumber)));
      break;
    default:
      break;
  }
}

std::string NumberFieldText(double value, int width, int decimals) {
  if (width <= 0) return {};
  if (!std::isfinite(value)) return std::string(static_cast<std::size_t>(width), '*');
  if (value == 0) value = 0;  // no "-0.00"
  // The digits of "%.*f" (exactly rounded), without printf's cost: every
  // number field of every record shown passes here.
  char buffer[700];
  const std::to_chars_result made = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  const auto n = static_cast<std::size_t>(made.ptr - buffer);
  const auto size = static_cast<std::size_t>(width);
  if (made.ec != std::errc() || n > size) return std::string(size, '*');
  std::string text(size - n, ' ');
  text.append(buffer, n);
  // A value that rounds to zero keeps no minus sign ("-0.00").
  if (text.find_first_of("123456789") == std::string::npos) {
    const std::size_t minus = text.find('-');
    if (minus != std::string::npos) text[minus] = ' ';
  }
  return text;
}

std::string IntegerFieldText(std::int64_t value, int width) {
  if (width <= 0) return {};
  // Fields are up to 255 characters wide, far more than any integer needs.
  const std::string digits = std::to_string(value);
  const auto size = static_cast<std::size_t>(width);
  if (digits.size() > size) return std::string(size, '*');
  std::string text(size, ' ');
  std::copy(digits.begin(), digits.end(), text.end() - static_cast<std::ptrdiff_t>(digits.size()));
  return text;
}

void RecordToNative(DbfTable& table, std::uint8_t* native) {
  const char* raw = table.record.data();
  native[0] = raw[0] == layout::kDeletedMark ? 1 : 0;
  std::uint8_t* out = native + 1;
  for (const FieldDef& field : table.fields) {
    const char* text = raw + field.offset;
    const std::size_t size = NativeFieldSize(field);
    switch (NativeKindOf(field)) {
      case NativeKind::Text:
        out[0] = field.length;
        std::memcpy(out + 1, text, field.length);
        break;
      case NativeKind::Date:
        PutNativeString(out, size, StoredDateToNative(std::string(text, std::min<std::size_t>(field.length, 8))));
        break;
      case NativeKind::Double: {
        const std::string t = Trimmed(text, field.length);
        PutNativeDouble(out, t.empty() ? 0.0 : ParsedDouble(t));
        break;
      }
      case NativeKind::Int32: {
        const std::string t = Trimmed(text, field.length);
        PutNativeInt32(out, static_cast<std::int32_t>(t.empty() ? 0 : ParsedLong(t)));
        break;
      }
      case NativeKind::Int64: {
        const std::string t = Trimmed(text, field.length);
        std::int64_t v = 0;
        if (!t.empty()) {
          errno = 0;
          v = std::strtoll(t.c_str(), nullptr, 10);
          if (errno == ERANGE || v == kKeepFieldText) v = kKeepFieldText;
        }
        PutNativeInt64(out, v);
        break;
      }
      case NativeKind::Logical: {
        const char c = field.length > 0 ? text[0] : ' ';
        out[0] = (c == 'T' || c == 't' || c == 'Y' || c == 'y') ? 1 : 0;
        break;
      }
      case NativeKind::Memo: {
        const std::string t = Trimmed(text, field.length);
        PutNativeInt32(out, static_cast<std::int32_t>(t.empty() ? 0 : ParsedLong(t)));
        break;
      }
    }
    out += size;
  }
  const auto nativeSize = static_cast<std::size_t>(out - native);
  table.image.native.assign(native, native + nativeSize);
  table.image.record.assign(table.record);
  table.image.assigned.assign(table.fields.size(), false);
  table.image.valid = true;
}

void MarkAssigned(DbfTable& table, int index) {
  if (index < 0 || index >= table.FieldCount()) return;
  std::vector<bool>& assigned = table.image.assigned;
  if (assigned.size() < table.fields.size()) assigned.resize(table.fields.size(), false);
  assigned[static_cast<std::size_t>(index)] = true;
}

void KeepAsRead(DbfTable& table, int index) {
  if (index < 0 || index >= table.FieldCount()) return;
  std::vector<bool>& assigned = table.image.assigned;
  if (static_cast<std::size_t>(index) < assigned.size()) assigned[static_cast<std::size_t>(index)] = false;
}

void NativeToRecord(DbfTable& table, const std::uint8_t* native) {
  table.record[0] = native[0] != 0 ? layout::kDeletedMark : layout::kActiveMark;
  const std::uint8_t* in = native + 1;
  const DbfTable::ReadImage& image = table.image;
  const bool imaged = image.valid && image.record.size() == table.record.size() &&
                      image.native.size() == NativeRecordSize(table);
  for (std::size_t index = 0; index < table.fields.size(); ++index) {
    const FieldDef& field = table.fields[index];
    const std::size_t size = NativeFieldSize(field);
    const bool assigned = index < image.assigned.size() && image.assigned[index];
    if (imaged && !assigned) {
      const std::uint8_t* before = image.native.data() + (in - native);
      if (SameNativeValue(field, in, before)) {
        std::memcpy(table.record.data() + field.offset, image.record.data() + field.offset, field.length);
        in += size;
        continue;
      }
    }
    switch (NativeKindOf(field)) {
      case NativeKind::Text: {
        const std::size_t n = std::min<std::size_t>(in[0], field.length);
        PutField(table, field, std::string(reinterpret_cast<const char*>(in + 1), n));
        break;
      }
      case NativeKind::Date:
        PutField(table, field, NativeDateToStored(NativeString(in)));
        break;
      case NativeKind::Double:
        PutField(table, field, NumberFieldText(NativeDouble(in), field.length, field.decimals));
        break;
      case NativeKind::Int32:
        PutField(table, field, IntegerFieldText(NativeInt32(in), field.length));
        break;
      case NativeKind::Int64: {
        const std::int64_t v = NativeInt64(in);
        if (v != kKeepFieldText) PutField(table, field, IntegerFieldText(v, field.length));
        break;
      }
      case NativeKind::Logical:
        PutField(table, field, in[0] != 0 ? "T" : "F");
        break;
      case NativeKind::Memo: {
        // No memo is stored as blanks, as other programs expect it.
        const std::int32_t block = NativeInt32(in);
        PutField(table, field, block == 0 ? std::string() : IntegerFieldText(block, field.length));
        break;
      }
    }
    in += size;
  }
}

}  // namespace dbase
