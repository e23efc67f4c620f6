// Field values from the dBASE record layout, or from the native layout of
// virtual files.
#include "dbase/expr/expr_field_values.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "common/c_locale_numbers.h"
#include "dbase/engine/date_display.h"
#include "dbase/engine/dbf_native.h"
#include "dbase/engine/work_areas.h"
#include "dbase/expr/compiled_expr.h"
#include "dbase/index/day_numbers.h"

namespace dbase {

std::function<std::vector<std::string>(const std::string& storedValue)> MemoTextHook;

namespace {

// The memo text, joined from its lines (each at most 255 characters) and cut
// to 255 characters.
std::string& MemoBuffer() {
  static std::string buffer;
  return buffer;
}

void ReadMemo(const std::string& stored, ExprFieldValue& value) {
  std::string& buffer = MemoBuffer();
  buffer.clear();
  if (MemoTextHook) {
    for (const std::string& line : MemoTextHook(stored)) {
      buffer += line.substr(0, kMaxExprString);
      if (buffer.size() >= kMaxExprString) break;
    }
  }
  if (buffer.size() > kMaxExprString) buffer.resize(kMaxExprString);
  value.text = buffer;
}

double TextNumber(std::string_view text) {
  char digits[64];
  const std::size_t n = std::min(text.size(), sizeof digits - 1);
  std::memcpy(digits, text.data(), n);
  digits[n] = '\0';
  return common::CStrtod(digits, nullptr);
}

void FromNative(const WorkArea& area, const FieldDef& field, int index, char type, ExprFieldValue& value) {
  const std::uint8_t* address = area.FieldAddressOf(index);
  switch (type) {
    case 'C': {
      static std::string text;
      text = NativeString(address);
      text.resize(field.length, ' ');
      value.text = text;
      break;
    }
    case 'D':
      value.number = DtosToJulian(NativeDateToStored(NativeString(address)));
      break;
    case 'N':
      value.number = NativeNumber(field, address);
      break;
    case 'L':
      value.logical = address[0] != 0;
      break;
    case 'M':
      ReadMemo(std::to_string(NativeInt32(address)), value);
      break;
    default:
      break;
  }
}

}  // namespace

void GetFieldValue(int n, int index, char type, ExprFieldValue& value) {
  value = ExprFieldValue{};
  static const std::string blanks(256, ' ');
  const WorkArea* area = (n >= 1 && n <= kMaxWorkAreas) ? WorkAreas[n].get() : nullptr;
  const bool known = area != nullptr && area->table.IsOpen() && index >= 0 && index < area->table.FieldCount();
  const FieldDef* field = known ? &area->table.fields[static_cast<std::size_t>(index)] : nullptr;
  if (field == nullptr || area->table.recordCount == 0) {
    if (type == 'C') value.text = std::string_view(blanks).substr(0, field ? field->length : 0);
    if (type == 'M') value.text = std::string_view();
    return;
  }
  if (area->table.isVirtual) {
    FromNative(*area, *field, index, type, value);
    return;
  }
  const std::string& record = area->table.record;
  if (record.size() < static_cast<std::size_t>(field->offset) + field->length) {
    if (type == 'C') value.text = std::string_view(blanks).substr(0, field->length);
    return;
  }
  const std::string_view bytes(record.data() + field->offset, field->length);
  switch (type) {
    case 'C':
      value.text = bytes;
      break;
    case 'D':
      value.number = DtosToJulian(std::string(bytes));
      break;
    case 'N':
      value.number = TextNumber(bytes);
      break;
    case 'L':
      value.logical = !bytes.empty() && (bytes[0] == 'Y' || bytes[0] == 'y' || bytes[0] == 'T' || bytes[0] == 't');
      break;
    case 'M':
      ReadMemo(std::string(bytes), value);
      break;
    default:
      break;
  }
}

}  // namespace dbase
