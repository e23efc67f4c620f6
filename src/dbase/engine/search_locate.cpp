// Search, Locate, Continue and LocateFields.
#include "dbase/engine/search_locate.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "dbase/common/text_routines.h"
#include "dbase/engine/date_display.h"
#include "dbase/engine/dbf_file.h"
#include "dbase/engine/dbf_native.h"
#include "dbase/engine/engine_code_page.h"
#include "dbase/engine/engine_hooks.h"
#include "dbase/engine/engine_settings.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/navigation.h"
#include "dbase/engine/number_text.h"
#include "dbase/engine/raw_field_access.h"
#include "dbase/engine/restore_on_exit.h"
#include "dbase/engine/work_areas.h"

namespace dbase {

std::function<bool(int fieldNo)> SearchAcceptProc;
LocateState Located;

namespace {

constexpr std::size_t kSearchBlockSize = 65520;

bool AllDigits(const std::string& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The number of the field whose bytes hold the record offset (0: the flag).
int FieldAtOffset(const DbfTable& table, std::size_t offset) {
  for (int i = 0; i < table.FieldCount(); ++i) {
    const FieldDef& field = table.fields[static_cast<std::size_t>(i)];
    if (offset >= field.offset && offset < static_cast<std::size_t>(field.offset) + field.length) return i + 1;
  }
  return 0;
}

void GoToEnd() {
  if (RecCount() > 0) {
    GoBottom();
    Skip(1);
  }
}

// The search text of a value for a field: dates as stored (YYYYMMDD),
// numbers as the field shows them.
std::string SearchTextOf(const FieldDef& field, const LocateValue& value, bool exact) {
  switch (field.type) {
    case 'D': {
      const std::string* text = std::get_if<std::string>(&value);
      if (text == nullptr) return {};
      const std::string trimmed = TzAllTrim(*text);
      return AllDigits(trimmed) && trimmed.size() == 8 ? trimmed : NativeDateToStored(trimmed);
    }
    case 'N':
    case 'F': {
      double number = 0;
      if (const double* d = std::get_if<double>(&value)) {
        number = *d;
      } else if (const std::string* t = std::get_if<std::string>(&value)) {
        // As VAL reads it, with the engine's decimal comma where it has one.
        number = LeadingNumber(*t);
      }
      return field.decimals > 0 ? NumberFieldText(number, field.length, field.decimals)
                                : IntegerFieldText(std::llround(number), field.length);
    }
    case 'L': {
      bool flag = false;
      if (const bool* b = std::get_if<bool>(&value)) {
        flag = *b;
      } else if (const std::string* t = std::get_if<std::string>(&value)) {
        flag = !t->empty() && std::string("TtYy").find((*t)[0]) != std::string::npos;
      }
      return flag ? "T" : "F";
    }
    default: {
      const std::string* text = std::get_if<std::string>(&value);
      std::string result = text ? *text : std::string();
      if (exact && field.type == 'C') result.resize(std::max<std::size_t>(result.size(), field.length), ' ');
      return result;
    }
  }
}

bool TextMatches(std::string fieldText) {
  const std::string& wanted = Located.text;
  if (!Located.exact && !Located.contained) fieldText = fieldText.substr(0, wanted.size());
  if (!Located.caseSensitive) fieldText = TzUpperCase(fieldText);
  if (Located.contained) return fieldText.find(wanted) != std::string::npos;
  return fieldText == wanted;
}

// The search from record on with the remembered field and text.
bool SearchFrom(std::int64_t record) {
  WorkArea* area = CurrentWorkAreaRecord();
  if (area == nullptr || Located.field < 1 || Located.field > area->table.FieldCount()) return false;
  const FieldDef& field = area->table.fields[static_cast<std::size_t>(Located.field - 1)];
  const std::int64_t count = RecCount();
  std::string text;
  std::vector<std::string> lines;
  for (std::int64_t r = std::max<std::int64_t>(1, record); r <= count; ++r) {
    GetFieldText(Located.field, r, text);
    if (TzError != 0) break;
    bool match = false;
    if (field.type == 'M') {
      const long block = std::strtol(text.c_str(), nullptr, 10);
      if (block < 1) continue;
      if (!MemoHooks.readLines) {
        SetError(220, "MEMO unit not linked in [Count/Sum/Continue]");
        return false;
      }
      if (!MemoHooks.readLines(static_cast<std::int32_t>(block), lines)) continue;
      for (std::string& line : lines) {
        if (!Located.caseSensitive) line = TzUpperCase(line);
        if (line.find(Located.text) != std::string::npos) {
          match = true;
          break;
        }
      }
    } else {
      match = TextMatches(text);
    }
    if (match) {
      Go(r);
      return true;
    }
  }
  GoToEnd();
  Located.field = 0;
  return false;
}

bool AtEnd() {
  const WorkArea* area = CurrentWorkAreaRecord();
  return area == nullptr || area->table.eof;
}

// Moves on past matches that the visibility rule hides.
bool AcceptedMatch(bool found) {
  WorkArea* area = CurrentWorkAreaRecord();
  while (found && area != nullptr && !area->table.eof && !RecordAccepted(*area)) {
    found = SearchFrom(area->table.currentRecord + 1);
  }
  return found && !AtEnd();
}

}  // namespace

void Search(const std::string& text, int& fieldNo, bool fromTop) {
  const int asked = fieldNo;
  fieldNo = 0;
  WorkArea* area = BeginCommand("Search");
  if (area == nullptr) return;
  DbfTable& table = area->table;
  if (table.isVirtual) {
    SetError(1100, "Operation cannot be used on virtual files. [Search]");
    return;
  }
  const std::string wanted = TzUpperCase(TzTrimRight(text));
  if (wanted.empty()) return;
  const int only = asked >= 1 && asked <= table.FieldCount() ? asked : 0;
  const std::int64_t startRecord = table.currentRecord;
  const std::int64_t count = RecCount();
  const std::int64_t first = fromTop ? 1 : std::max<std::int64_t>(1, startRecord);
  const std::size_t length = table.recordLength;
  const std::int64_t perBlock = std::max<std::int64_t>(1, static_cast<std::int64_t>(kSearchBlockSize / length));
  std::string block;
  for (std::int64_t from = first; from <= count; from += perBlock) {
    const std::int64_t n = std::min(perBlock, count - from + 1);
    block.resize(static_cast<std::size_t>(n) * length);
    if (ReadBytesAt(table.fd, block.data(), block.size(), table.headerLength + (from - 1) * static_cast<std::int64_t>(length)) !=
        static_cast<std::int64_t>(block.size())) {
      return;  // a failed read ends the search where it stands
    }
    // Records are scanned in the engine's text, as the fields read.
    for (std::int64_t k = 0; k < n; ++k) {
      char* record = block.data() + static_cast<std::size_t>(k) * length;
      if (table.readTranslate) table.readTranslate(record + 1, length - 1);
      if (table.oem) OemToAnsiBuffer(record + 1, length - 1);
    }
    const std::string upper = TzUpperCase(block);
    for (std::size_t at = upper.find(wanted); at != std::string::npos; at = upper.find(wanted, at + 1)) {
      const std::int64_t record = from + static_cast<std::int64_t>(at / length);
      const std::size_t within = at % length;
      const int hitField = FieldAtOffset(table, within);
      if (hitField == 0 || record > count) continue;
      const FieldDef& field = table.fields[static_cast<std::size_t>(hitField - 1)];
      if (within + wanted.size() > static_cast<std::size_t>(field.offset) + field.length) continue;
      if (field.type == 'M' || (only != 0 && hitField != only)) continue;
      Go(record);
      if (!RecordAccepted(*area)) continue;
      if (SearchAcceptProc && !SearchAcceptProc(hitField)) continue;
      fieldNo = hitField;
      return;
    }
  }
  if (startRecord >= 1 && startRecord <= RecCount()) {
    Go(startRecord);
  } else {
    GoToEnd();
  }
}

int ParseLocateArgument(const std::string& argument) {
  std::string rest = TzUpperCase(TzAllTrim(argument));
  Located.caseSensitive = !RemoveKeyword(" NOCASE", rest);
  Located.exact = RemoveKeyword(" EXACT", rest);
  Located.contained = RemoveKeyword(" CONTAINED", rest);
  rest = TzAllTrim(rest);
  if (rest.empty()) {
    SetError(220, "No field name specified [Locate/Count/Sum]");
    return 0;
  }
  const int field = FieldNo(rest);
  if (field == 0) SetError(220, "Unrecognized field name [Locate/Count/Sum(" + argument + ")]");
  return field;
}

bool Locate(const std::string& fieldName, const LocateValue& value, bool noCase, std::int64_t start, bool exact) {
  WorkArea* area = BeginCommand("Locate");
  if (area == nullptr) return false;
  std::string argument = fieldName;
  if (noCase) argument += " NOCASE";
  if (exact) argument += " EXACT";
  const int fieldNo = ParseLocateArgument(argument);
  if (fieldNo == 0) return false;
  const FieldDef& field = area->table.fields[static_cast<std::size_t>(fieldNo - 1)];
  if (field.type == 'M' && area->table.isVirtual) {
    GoBottom();
    Skip(1);
    Located.field = fieldNo;
    return false;
  }
  std::string text = SearchTextOf(field, value, Located.exact);
  if (!Located.exact) text = TzTrimRight(text);
  if (!Located.caseSensitive) text = TzUpperCase(text);
  Located.field = fieldNo;
  Located.text = text;
  return AcceptedMatch(SearchFrom(start));
}

bool Continue() {
  WorkArea* area = BeginCommand("Continue");
  if (area == nullptr) return false;
  if (Located.field == 0) {
    SetError(220, "Call to CONTINUE not preceeded by call to LOCATE. [Continue]");
    return false;
  }
  return AcceptedMatch(SearchFrom(area->table.currentRecord + 1));
}

bool LocateFields(const std::string& specs, const std::vector<LocateValue>& values, bool noCase, bool keepPosition,
                  bool exact) {
  WorkArea* area = BeginCommand("LocateFields");
  if (area == nullptr) return false;
  RestoreOnExit<bool> suspended(area->relationSuspended, true);
  std::vector<std::string> list;
  for (std::size_t from = 0;;) {
    const std::size_t semicolon = specs.find(';', from);
    list.push_back(specs.substr(from, semicolon == std::string::npos ? std::string::npos : semicolon - from));
    if (semicolon == std::string::npos) break;
    from = semicolon + 1;
  }
  const std::int64_t startRecord = area->table.currentRecord;
  const auto valueAt = [&](std::size_t i) { return i < values.size() ? values[i] : LocateValue(std::string()); };
  bool found = false;
  if (list.size() == 1) {
    found = Locate(list[0], valueAt(0), noCase, 1, exact);
  } else {
    std::int64_t from = 1;
    bool searching = true;
    while (searching) {
      if (!Locate(list[0], valueAt(0), noCase, from, exact)) break;
      const std::int64_t first = RecNo();
      bool same = true;
      for (std::size_t i = 1; i < list.size(); ++i) {
        if (!Locate(list[i], valueAt(i), noCase, first, exact)) {
          searching = false;
          same = false;
          break;
        }
        if (RecNo() != first) {
          from = RecNo();
          same = false;
          break;
        }
      }
      if (same) {
        found = true;
        searching = false;
      }
    }
  }
  if (!found && !keepPosition && startRecord >= 1 && startRecord <= RecCount()) Go(startRecord);
  return found;
}

}  // namespace dbase
