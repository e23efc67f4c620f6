// AppendFrom: field map, type conversion and the transfer loop.
#include "dbase/engine/append_from.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "common/c_locale_numbers.h"
#include "dbase/common/text_routines.h"
#include "dbase/engine/date_display.h"
#include "dbase/engine/dbf_native.h"
#include "dbase/engine/engine_code_page.h"
#include "dbase/engine/engine_hooks.h"
#include "dbase/engine/engine_settings.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/file_names.h"
#include "dbase/engine/import_refusals.h"
#include "dbase/engine/logical_text.h"
#include "dbase/common/file_routines.h"
#include "dbase/engine/navigation.h"
#include "dbase/engine/record_changes.h"
#include "dbase/engine/restore_on_exit.h"
#include "dbase/engine/work_areas.h"

namespace dbase {

namespace {

constexpr int kFromFileArea = kMaxWorkAreas;

enum TypeGroup { kOther = 0, kChar = 1, kNumber = 2, kLogical = 3, kDate = 4, kMemoGroup = 5 };

TypeGroup GroupOf(char type) {
  switch (type) {
    case 'C':
      return kChar;
    case 'N':
    case 'F':
      return kNumber;
    case 'L':
      return kLogical;
    case 'D':
      return kDate;
    case 'M':
      return kMemoGroup;
    default:
      return kOther;
  }
}

bool RemoveWord(std::string& upper, std::string& original, const std::string& word) {
  bool removed = false;
  for (std::size_t at; (at = upper.find(word)) != std::string::npos;) {
    upper.erase(at, word.size());
    original.erase(at, word.size());
    removed = true;
  }
  return removed;
}

// One field of the source's current record, as a conversion reads it.
struct SourceValue {
  const WorkArea& area;
  const FieldDef& field;
  const std::uint8_t* native;
  // The field's text as the table file holds it (empty for a virtual file,
  // which has only its native values).
  std::string stored;
  bool hasStored = false;

  SourceValue(const WorkArea& source, int index)
      : area(source),
        field(source.table.fields[static_cast<std::size_t>(index)]),
        native(source.FieldAddressOf(index)) {
    const std::string& record = source.table.record;
    hasStored = !source.table.isVirtual && record.size() >= static_cast<std::size_t>(field.offset) + field.length;
    if (hasStored) stored = record.substr(field.offset, field.length);
  }

  TypeGroup Group() const { return GroupOf(field.type); }
  // The logical value, from the character the file holds where there is one.
  LogicalReading Logical() const {
    if (hasStored) return ReadLogicalText(stored);
    return native[0] != 0 ? LogicalReading::True : LogicalReading::False;
  }
  // No value: a blank field, an unknown logical value, no memo.
  bool Blank() const {
    if (Group() == kMemoGroup) return NativeInt32(native) == 0;
    if (Group() == kLogical) return Logical() == LogicalReading::Unknown;
    if (hasStored) return TzAllTrim(stored).empty();
    if (Group() == kChar) return TzAllTrim(NativeString(native)).empty();
    if (Group() == kDate) return TzAllTrim(NativeDateToStored(NativeString(native))).empty();
    return false;
  }
  // A number as its field shows it, trimmed: the file's text (every digit
  // of a number beyond 64 bits), or the native value with its decimals.
  std::string NumberText() const {
    if (hasStored) return TzAllTrim(stored);
    if (NativeKindOf(field) == NativeKind::Double) {
      return common::CFormat("%.*f", static_cast<int>(field.decimals), NativeDouble(native));
    }
    return std::to_string(static_cast<std::int64_t>(NativeNumber(field, native)));
  }
  // The value named in a refusal (UTF-8, as every report names values).
  std::string Described() const {
    switch (Group()) {
      case kChar:
        return "the text " + AnsiToUtf8(TzTrimRight(NativeString(native)));
      case kNumber:
        return "the number " + NumberText();
      case kLogical:
        return "the logical value " + (hasStored ? TzAllTrim(stored) : native[0] != 0 ? "T" : "F");
      case kDate:
        return "the date " + NativeString(native);
      default:
        return "a memo";
    }
  }
};

std::string DoesNotGoInto(const SourceValue& from, const FieldDef& to) {
  return "Field " + to.name + ": " + from.Described() + " does not go into " + FieldTypeText(to);
}

// The date in a character field of width as it is shown, else in whichever
// form of it fits (four-digit or two-digit year) and reads back as the same
// day: a year of another century read through the two-digit rule would be
// another date.
bool PutDateAsText(const std::string& native, const FieldDef& to, std::uint8_t* out) {
  const std::string stored = NativeDateToStored(native);
  const std::string shown = DisplayDateText(native);
  for (const std::string& form : {shown, native, TwoDigitYearDate(native)}) {
    std::string readBack;
    if (form.size() <= to.length && ReadDateText(form, readBack) && readBack == stored) {
      PutNativeString(out, NativeFieldSize(to), form);
      return true;
    }
  }
  return false;
}

// Converts one field of the source's record into the target's (not a memo
// target: StoreMemo does those once nothing else refused the record).
// Answers why the value cannot be stored as given (empty: stored). A blank
// source leaves the target blank.
std::string ConvertField(const SourceValue& from, WorkArea& target, int targetIndex) {
  const FieldDef& to = target.table.fields[static_cast<std::size_t>(targetIndex)];
  std::uint8_t* out = target.FieldAddressOf(targetIndex);
  if (from.Blank()) {
    KeepAsRead(target.table, targetIndex);
    return {};
  }
  const TypeGroup fromGroup = from.Group();
  switch (GroupOf(to.type)) {
    case kChar: {
      std::string text;
      if (fromGroup == kChar) {
        text = NativeString(from.native);
        if (!PutCharacterText(to, out, text)) return DoesNotFitText(to, AnsiToUtf8(TzTrimRight(text)));
        return {};
      }
      if (fromGroup == kNumber) {
        // Right-aligned, as a number field shows it.
        text = from.NumberText();
        if (text.size() > to.length) return DoesNotFitText(to, text);
        text.insert(0, to.length - text.size(), ' ');
      } else if (fromGroup == kLogical) {
        if (from.Logical() == LogicalReading::NotLogical) return NotLogicalText(to.name, AnsiToUtf8(from.stored));
        text = from.Logical() == LogicalReading::True ? "T" : "F";
      } else if (fromGroup == kDate) {
        if (!PutDateAsText(NativeString(from.native), to, out)) return DoesNotFitText(to, NativeString(from.native));
        return {};
      } else {
        return DoesNotGoInto(from, to);
      }
      PutNativeString(out, NativeFieldSize(to), text);
      return {};
    }
    case kNumber: {
      if (fromGroup != kChar && fromGroup != kNumber) return DoesNotGoInto(from, to);
      const std::string text = fromGroup == kChar ? TzAllTrim(NativeString(from.native)) : from.NumberText();
      const NumberStore stored = PutNumberText(to, out, text);
      if (stored != NumberStore::Stored) return RefusedNumberText(to, AnsiToUtf8(text), stored);
      return {};
    }
    case kLogical: {
      LogicalReading reading = LogicalReading::NotLogical;
      std::string text;
      if (fromGroup == kChar) {
        text = NativeString(from.native);
        reading = ReadLogicalText(text);
      } else if (fromGroup == kLogical) {
        text = from.stored;
        reading = from.Logical();
      } else {
        return DoesNotGoInto(from, to);
      }
      if (reading == LogicalReading::NotLogical) return NotLogicalText(to.name, AnsiToUtf8(text));
      if (reading == LogicalReading::Unknown) {
        KeepAsRead(target.table, targetIndex);
      } else {
        out[0] = reading == LogicalReading::True ? 1 : 0;
      }
      return {};
    }
    case kDate:
      if (fromGroup == kDate) {
        PutNativeString(out, NativeFieldSize(to), NativeString(from.native));
      } else if (fromGroup == kChar) {
        const std::string text = TzAllTrim(NativeString(from.native));
        std::string stored;
        if (!ReadDateText(text, stored)) return "Field " + to.name + ": " + AnsiToUtf8(text) + " is not a date";
        PutNativeString(out, NativeFieldSize(to), StoredDateToNative(stored));
      } else {
        return DoesNotGoInto(from, to);
      }
      return {};
    default:
      return DoesNotGoInto(from, to);
  }
}

// A memo field takes a text or a memo; anything else refuses the record.
std::string MemoRefusal(const SourceValue& from, const FieldDef& to) {
  if (from.Blank() || from.Group() == kChar || from.Group() == kMemoGroup) return {};
  return DoesNotGoInto(from, to);
}

// Stores a memo target's value (after MemoRefusal had nothing to say).
void StoreMemo(const SourceValue& from, WorkArea& target, int targetIndex) {
  std::uint8_t* out = target.FieldAddressOf(targetIndex);
  if (from.Blank()) return;
  if (from.Group() == kChar) {
    PutNativeInt32(out, MemoHooks.addText(NativeString(from.native)));
  } else {
    PutNativeInt32(out, MemoHooks.copy(from.area.number, NativeInt32(from.native)));
  }
}

bool SameStructure(const DbfTable& a, const DbfTable& b) {
  if (a.FieldCount() != b.FieldCount()) return false;
  for (int i = 0; i < a.FieldCount(); ++i) {
    const FieldDef& x = a.fields[static_cast<std::size_t>(i)];
    const FieldDef& y = b.fields[static_cast<std::size_t>(i)];
    if (x.name != y.name || x.type != y.type || x.length != y.length || x.decimals != y.decimals) return false;
  }
  return true;
}

}  // namespace

bool AppendFrom(const std::string& sourceSpec, const std::function<bool()>& condition) {
  TzError = 0;
  const std::string tag = "[AppendFrom(" + sourceSpec + ")]";
  WorkArea* target = CurrentWorkAreaRecord();
  if (target == nullptr) {
    SetError(215, tag);
    return false;
  }
  const int targetNumber = target->number;
  RestoreOnExit<int> savedArea(CurrentArea);
  std::string original = sourceSpec;
  std::string upper = TzUpperCase(sourceSpec);
  bool isVirtual = false;
  for (const char* word : {" VIRTUAL FILE", " LINKED LIST", " VIRTUAL", " LINKED"}) {
    if (RemoveWord(upper, original, word)) isVirtual = true;
  }
  int sourceNumber = 0;
  bool openedHere = false;
  if (isVirtual) {
    const std::string alias = TzAllTrim(upper);
    for (int n = 1; n <= kLastUserArea; ++n) {
      if (WorkAreas[n] && WorkAreas[n]->table.isVirtual && WorkAreas[n]->alias == alias) sourceNumber = n;
    }
    if (sourceNumber == 0) {
      SetError(215, "Virtual file must be open. " + tag);
      return false;
    }
  } else {
    const std::string file = ExpandPath(ExistingOrNewName(TzAllTrim(original), "DBF", true));
    for (int n = 1; n <= kLastUserArea; ++n) {
      if (WorkAreas[n] && !WorkAreas[n]->table.isVirtual && WorkAreas[n]->table.fileName == file) sourceNumber = n;
    }
    if (sourceNumber == targetNumber) {
      SetError(214, "Attempting to append file to itself. " + tag);
      return false;
    }
    if (sourceNumber == 0) {
      if (!FileExistsS(file)) {
        SetError(2, tag);
        return false;
      }
      CloseWorkArea(kFromFileArea);
      CurrentArea = kFromFileArea;
      if (!Use(file + " ALIAS *FROMFILE")) {
        CloseWorkArea(kFromFileArea);
        return false;
      }
      sourceNumber = kFromFileArea;
      openedHere = true;
    }
  }
  struct CloseSource {
    bool active;
    ~CloseSource() {
      if (active) CloseWorkArea(kFromFileArea);
    }
  } closeSource{openedHere};
  CurrentArea = targetNumber;
  WorkArea& source = *WorkAreas[sourceNumber];
  if (target->table.hasMemo && !(MemoHooks.addText && MemoHooks.copy)) {
    SetError(220, "Memo unit MEMO.TPU not linked into program. " + tag);
    return false;
  }
  const DbfTable& targetTable = target->table;
  std::vector<int> map(static_cast<std::size_t>(targetTable.FieldCount()), 0);
  bool anyMapped = false;
  for (int i = 0; i < targetTable.FieldCount(); ++i) {
    for (int j = 0; j < source.table.FieldCount(); ++j) {
      if (source.table.fields[static_cast<std::size_t>(j)].name == targetTable.fields[static_cast<std::size_t>(i)].name) {
        map[static_cast<std::size_t>(i)] = j + 1;
        anyMapped = true;
        break;
      }
    }
  }
  if (!anyMapped) return true;
  const bool whole = SameStructure(targetTable, source.table) && source.nativeSize == target->nativeSize;
  CurrentArea = sourceNumber;
  if (condition || source.whileProc || source.whileExpr != nullptr) {
    Skip(0);
  } else {
    GoTop();
  }
  // A value the target cannot take as it stands refuses its record, which
  // is noted and passed over; an error of the table (a full disk, a memo
  // that cannot be written) ends the transfer with what was appended.
  ImportRefusals refusals("record");
  std::int64_t appended = 0;
  bool stopped = TzError != 0;
  bool failed = false;
  while (!stopped && !source.table.eof && (!condition || condition())) {
    CurrentArea = targetNumber;
    std::string refused;
    if (whole) {
      std::copy(source.native, source.native + source.nativeSize, target->native);
      // The record goes over with its bytes: a blank number stays blank.
      DbfTable& written = target->table;
      written.image.valid = false;
      if (!source.table.isVirtual && source.table.image.valid) written.image = source.table.image;
      for (int i = 0; i < targetTable.FieldCount(); ++i) {
        if (targetTable.fields[static_cast<std::size_t>(i)].type == 'M') {
          std::uint8_t* address = target->FieldAddressOf(i);
          PutNativeInt32(address, MemoHooks.copy ? MemoHooks.copy(sourceNumber, NativeInt32(address)) : 0);
        }
      }
    } else {
      ClearRecord();
      // Memos are written last, once no other field has refused the
      // record: a refused record leaves no memo behind.
      for (const bool memos : {false, true}) {
        for (int i = 0; i < targetTable.FieldCount() && refused.empty(); ++i) {
          const int from = map[static_cast<std::size_t>(i)];
          if (from == 0 || (targetTable.fields[static_cast<std::size_t>(i)].type == 'M') != memos) continue;
          const SourceValue value(source, from - 1);
          refused = memos ? MemoRefusal(value, targetTable.fields[static_cast<std::size_t>(i)])
                          : ConvertField(value, *target, i);
        }
      }
      for (int i = 0; i < targetTable.FieldCount() && refused.empty() && TzError == 0; ++i) {
        const int from = map[static_cast<std::size_t>(i)];
        if (from != 0 && targetTable.fields[static_cast<std::size_t>(i)].type == 'M') {
          StoreMemo(SourceValue(source, from - 1), *target, i);
        }
      }
    }
    if (TzError != 0) break;
    if (!refused.empty()) {
      refusals.Add("Record " + std::to_string(source.table.currentRecord) + ": " + refused);
    } else if (Append()) {
      ++appended;
    } else {
      failed = true;
      break;
    }
    CurrentArea = sourceNumber;
    Skip(1);
    stopped = TzError != 0;
  }
  if (failed || TzError != 0) return false;
  refusals.ReportUnder(kRecordsRefused, isVirtual ? source.alias : source.table.fileName, appended, tag);
  return TzError == 0;
}

}  // namespace dbase
