// AppendFrom: field map, type conversion and the transfer loop.
#include "dbase/engine/append_from.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "common/c_locale_numbers.h"
#include "dbase/common/text_routines.h"
#include "dbase/engine/date_display.h"
#include "dbase/engine/dbf_native.h"
#include "dbase/engine/engine_hooks.h"
#include "dbase/engine/engine_settings.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/file_names.h"
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

// The date as shown, fitted into a character field of width: the century
// digits go first, then the end is cut.
std::string DateForText(const std::string& display, std::size_t width) {
  std::string text = display;
  if (TzAllTrim(NativeDateToStored(display)).empty()) return std::string();
  if (text.size() > width && text.size() >= 10) {
    text.erase(DateFormat == 1 ? 0 : text.size() - 4, 2);
  }
  return text.substr(0, width);
}

void ConvertField(const WorkArea& source, int sourceIndex, WorkArea& target, int targetIndex) {
  const FieldDef& from = source.table.fields[static_cast<std::size_t>(sourceIndex)];
  const FieldDef& to = target.table.fields[static_cast<std::size_t>(targetIndex)];
  const std::uint8_t* in = source.FieldAddressOf(sourceIndex);
  std::uint8_t* out = target.FieldAddressOf(targetIndex);
  const std::size_t capacity = NativeFieldSize(to);
  const TypeGroup toGroup = GroupOf(to.type);
  const TypeGroup fromGroup = GroupOf(from.type);
  switch (toGroup) {
    case kChar: {
      std::string text;
      if (fromGroup == kChar) {
        text = NativeString(in);
      } else if (fromGroup == kNumber) {
        text = NativeKindOf(from) == NativeKind::Double ? NumberFieldText(NativeDouble(in), to.length, from.decimals)
                                                        : IntegerFieldText(static_cast<std::int64_t>(NativeNumber(from, in)), to.length);
      } else if (fromGroup == kLogical) {
        text.assign(1, in[0] != 0 ? 'T' : 'F');
      } else if (fromGroup == kDate) {
        text = DateForText(Century ? NativeString(in) : DisplayDateText(NativeString(in)), to.length);
      } else {
        break;
      }
      PutNativeString(out, capacity, text.substr(0, to.length));
      break;
    }
    case kNumber:
      // A number the field cannot show records error 205: the record is
      // not appended (a row of '*' would be all that is left of it).
      if (fromGroup == kChar) {
        const std::string text = TzAllTrim(NativeString(in));
        const NumberStore stored = PutNumberText(to, out, text, NumberTextRule::Leading);
        if (stored != NumberStore::Stored) SetError(205, RefusedNumberText(to, text, stored) + " [AppendFrom]");
      } else if (fromGroup == kNumber) {
        const double value = NativeNumber(from, in);
        const bool keptText = NativeKindOf(from) == NativeKind::Int64 && NativeInt64(in) == kKeepFieldText;
        if (keptText || !FitsNumberField(to, value)) {
          const std::string text = keptText ? TzAllTrim(source.table.record.substr(from.offset, from.length))
                                   : NativeKindOf(from) == NativeKind::Double
                                       ? common::CFormat("%.*f", static_cast<int>(from.decimals), value)
                                       : std::to_string(static_cast<std::int64_t>(value));
          const NumberStore why = keptText ? NumberStore::BeyondWholeNumbers : NumberStore::DoesNotFit;
          SetError(205, RefusedNumberText(to, text, why) + " [AppendFrom]");
        } else {
          PutNativeNumber(to, out, value);
        }
      }
      break;
    case kLogical:
      out[0] = fromGroup == kLogical ? in[0] : 0;
      break;
    case kDate:
      if (fromGroup == kDate) {
        PutNativeString(out, capacity, NativeString(in));
      } else if (fromGroup == kChar) {
        // A text that is no date refuses the record (error 13), as a number
        // its field cannot show does: an empty date in its place would be
        // a value lost without a word.
        const std::string text = TzAllTrim(NativeString(in));
        std::string stored;
        if (ReadDateText(text, stored)) {
          PutNativeString(out, capacity, StoredDateToNative(stored));
        } else {
          SetError(13, "Field " + to.name + ": " + text + " is not a date [AppendFrom]");
        }
      }
      break;
    case kMemoGroup:
      if (fromGroup == kChar && MemoHooks.addText) {
        PutNativeInt32(out, MemoHooks.addText(NativeString(in)));
      } else if (fromGroup == kMemoGroup && MemoHooks.copy) {
        PutNativeInt32(out, MemoHooks.copy(source.number, NativeInt32(in)));
      }
      break;
    default:
      break;
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
  bool ok = TzError == 0;
  while (ok && !source.table.eof && (!condition || condition())) {
    CurrentArea = targetNumber;
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
      // A refused field refuses the record: the fields after it are not
      // converted (a memo's conversion would clear the error).
      for (int i = 0; i < targetTable.FieldCount() && TzError == 0; ++i) {
        if (map[static_cast<std::size_t>(i)] != 0) ConvertField(source, map[static_cast<std::size_t>(i)] - 1, *target, i);
      }
    }
    ok = TzError == 0 && Append();
    CurrentArea = sourceNumber;
    if (ok) Skip(1);
  }
  return ok && TzError == 0;
}

}  // namespace dbase
