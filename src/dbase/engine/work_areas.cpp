// Work areas: Select, Use, closing, field access and the visibility rule.
#include "dbase/engine/work_areas.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "dbase/engine/date_display.h"
#include "dbase/engine/dbf_layout.h"
#include "dbase/engine/dbf_native.h"
#include "dbase/engine/engine_hooks.h"
#include "dbase/engine/engine_settings.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/file_names.h"
#include "dbase/engine/locking.h"
#include "dbase/engine/navigation.h"
#include "dbase/engine/restore_on_exit.h"

namespace dbase {

std::array<std::unique_ptr<WorkArea>, kMaxWorkAreas + 1> WorkAreas;
int CurrentArea = 1;
FileMode SharedFileMode{true, false};
std::optional<FileMode> FileModeOverride;

namespace {

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string Trim(const std::string& text) {
  const std::size_t start = text.find_first_not_of(' ');
  if (start == std::string::npos) return {};
  return text.substr(start, text.find_last_not_of(' ') - start + 1);
}

bool AliasInUse(const std::string& alias, int except) {
  for (int n = 1; n <= kLastUserArea; ++n) {
    if (n != except && WorkAreas[n] && WorkAreas[n]->alias == alias) return true;
  }
  return false;
}

std::string FieldCommandError(const std::string& command, int n) {
  return "Invalid field number. [" + command + "(" + std::to_string(n) + ")]";
}

const FieldDef* CheckedField(WorkArea* area, const std::string& command, int n) {
  if (area == nullptr) return nullptr;
  if (n < 1 || n > area->table.FieldCount()) {
    SetError(220, FieldCommandError(command, n));
    return nullptr;
  }
  return &area->table.fields[static_cast<std::size_t>(n - 1)];
}

bool OpenVirtual(const std::string& command, const std::string& upper, std::uint8_t* buffer, std::size_t size) {
  if (!VirtualFileHook) {
    SetError(1101, "[USE(" + command + ",<@Buffer>,<size>)]");
    return false;
  }
  if (buffer == nullptr) {
    SetError(220, "NIL buffer pointer [USE(" + command + ",Nil,<size>)]");
    return false;
  }
  std::string text = upper;
  for (const std::string word : {" LINKED LIST", " VIRTUAL FILE"}) {
    std::size_t at;
    while ((at = text.find(word)) != std::string::npos) text.erase(at, word.size());
  }
  std::string alias;
  const std::size_t aliasAt = text.find(" ALIAS ");
  if (aliasAt != std::string::npos) {
    alias = Trim(text.substr(aliasAt + 7));
  } else {
    alias = Trim(text);
  }
  alias = alias.substr(0, alias.find(' '));
  alias = alias.substr(0, alias.find('.')).substr(0, kMaxAliasLength);
  if (AliasInUse(alias, CurrentArea)) {
    SetError(220, "Alias name \"" + alias + "\" already in use. [USE]");
    return false;
  }
  auto area = std::make_unique<WorkArea>();
  area->number = CurrentArea;
  area->alias = alias;
  area->exclusive = true;
  area->table.isVirtual = true;
  area->table.fileName = alias;
  area->table.tableName = alias;
  area->table.recordLength = static_cast<std::uint16_t>(std::min<std::size_t>(size, 0xFFFF));
  area->table.record.assign(size, '\0');
  area->table.eof = area->table.bof = true;
  area->table.state = kOpenUnchanged;
  area->native = buffer;
  area->nativeSize = size;
  area->swap.assign(size, 0);
  area->storageKind = 1;
  if (text.find(" TO EMS") != std::string::npos) area->storageKind = 2;
  if (text.find(" TO EXT") != std::string::npos || text.find(" TO XMS") != std::string::npos) area->storageKind = 3;
  if (text.find(" TO BIGGEST") != std::string::npos) area->storageKind = 5;
  WorkAreas[CurrentArea] = std::move(area);
  VirtualFileHook(kVfOpen, 0);
  if (TzError != 0) {
    WorkAreas[CurrentArea].reset();
    return false;
  }
  WorkArea& opened = *WorkAreas[CurrentArea];
  opened.orderMode = 0;
  if (text.find(" LIFO") != std::string::npos) opened.orderMode = 1;
  if (text.find(" INSERTION") != std::string::npos) opened.orderMode = 2;
  if (text.find(" ASCENDING") != std::string::npos) opened.orderMode = 3;
  if (text.find(" DESCENDING") != std::string::npos) opened.orderMode = 4;
  return true;
}

}  // namespace

std::uint8_t* WorkArea::FieldAddressOf(int index) const {
  return native + NativeFieldOffset(table, index);
}

std::string AreaName(const WorkArea& area) { return area.table.tableName; }

WorkArea* CurrentWorkAreaRecord() {
  if (CurrentArea < 1 || CurrentArea > kMaxWorkAreas) return nullptr;
  return WorkAreas[CurrentArea].get();
}

WorkArea* CheckDbInUse(const std::string& command) {
  WorkArea* area = CurrentWorkAreaRecord();
  if (area == nullptr) {
    SetError(215, "No database in use [" + command + "]  WorkArea = " + std::to_string(CurrentArea));
  }
  return area;
}

WorkArea* BeginCommand(const std::string& command) {
  TzError = 0;
  return CheckDbInUse(command);
}

void InitTzEngine() {
  for (auto& slot : WorkAreas) slot.reset();
  SharedFileMode = FileMode{true, false};
  FileModeOverride.reset();
  MemoHooks = MemoHookTable{};
  CurrentArea = 1;
}

void ShutdownTzEngine() {
  CloseWorkArea(34);
  CloseWorkArea(35);
  CloseAll();
}

bool Select(int n) {
  if (n >= 1 && n <= kLastUserArea) {
    CurrentArea = n;
    return true;
  }
  if (n == 0) {
    for (int k = 1; k <= kLastUserArea; ++k) {
      if (!WorkAreas[k]) {
        CurrentArea = k;
        return true;
      }
    }
    SetError(220, "No free workarea available [Select(0)]");
    return false;
  }
  SetError(220, "Invalid workarea selected = [Select(" + std::to_string(n) + ")]");
  return false;
}

int CurrentWorkArea() { return CurrentArea; }

void CloseWorkArea(int n) {
  if (n < 1 || n > kMaxWorkAreas || !WorkAreas[n]) return;
  RestoreOnExit<int> savedArea(CurrentArea, n);
  // The slot is emptied however the close ends.
  struct EmptySlot {
    int n;
    ~EmptySlot() { WorkAreas[n].reset(); }
  } emptySlot{n};
  WorkArea& area = *WorkAreas[n];
  if (IndexHooks.closeIndexes) IndexHooks.closeIndexes();
  if (!area.table.isVirtual) RefreshRecCountOf(area);
  Unlock();
  area.swap.clear();
  if (area.table.hasMemo && MemoHooks.close) MemoHooks.close();
  if (CommonHooks.dropReadCache) CommonHooks.dropReadCache(area.alias);
  if (ExprHooks.free) {
    if (area.filterExpr != nullptr) ExprHooks.free(area.filterExpr);
    if (area.whileExpr != nullptr) ExprHooks.free(area.whileExpr);
  }
  area.filterExpr = area.whileExpr = nullptr;
  if (area.table.isVirtual) {
    if (VirtualFileHook) VirtualFileHook(kVfClose, 0);
  } else {
    CloseDbf(area.table);
  }
}

void CloseAll() {
  for (int n = 1; n <= kLastUserArea; ++n) CloseWorkArea(n);
  CurrentArea = 1;
}

bool UseTranslated(const std::string& command, std::uint8_t* buffer, std::size_t size, TranslateProc readTranslate,
                   TranslateProc writeTranslate) {
  TzError = 0;
  CloseWorkArea(CurrentArea);
  const std::string trimmed = Trim(command);
  if (trimmed.empty()) return true;
  const std::string upper = Upper(trimmed);
  if (upper.find("LINKED LIST") != std::string::npos || upper.find("VIRTUAL FILE") != std::string::npos) {
    return OpenVirtual(trimmed, upper, buffer, size);
  }
  if ((buffer == nullptr && size != 0) || (buffer != nullptr && size == 0)) {
    SetError(220, "Buffer is NIL or size is zero, attempting to open " + command + " [USE]");
    return false;
  }
  // Options are matched on the upper-case copy; the file name keeps its case.
  std::string text = trimmed;
  std::string textUpper = upper;
  bool exclusive = false;
  for (std::size_t at; (at = textUpper.find(" EXCLUSIVE")) != std::string::npos;) {
    exclusive = true;
    text.erase(at, 10);
    textUpper.erase(at, 10);
  }
  std::string fileName = text;
  std::string alias;
  const std::size_t aliasAt = textUpper.find(" ALIAS ");
  if (aliasAt != std::string::npos) {
    fileName = text.substr(0, aliasAt);
    alias = Trim(textUpper.substr(aliasAt + 7));
    alias = alias.substr(0, alias.find(' '));
    alias = alias.substr(0, alias.find('.'));
  }
  fileName = Trim(fileName);
  if (alias.empty()) {
    std::string dir, name, ext;
    SplitPath(fileName, dir, name, ext);
    alias = Upper(name);
  }
  alias = alias.substr(0, kMaxAliasLength);

  exclusive = exclusive || SharedFileMode.exclusive || !NetworkLocking;
  FileMode mode = exclusive ? FileMode{true, true} : SharedFileMode;
  if (FileModeOverride) mode = *FileModeOverride;
  auto area = std::make_unique<WorkArea>();
  area->number = CurrentArea;
  area->alias = alias;
  area->exclusive = mode.exclusive;
  area->table.fileName = ExpandPath(ExistingOrNewName(fileName, "DBF", true));
  area->table.readTranslate = std::move(readTranslate);
  area->table.writeTranslate = std::move(writeTranslate);
  {
    RestoreOnExit<FileMode> savedMode(CurrentFileMode, mode);
    if (!OpenDbf(area->table)) return false;
  }
  const std::size_t needed = NativeRecordSize(area->table);
  if (buffer != nullptr && size != needed) {
    CloseDbf(area->table);
    SetError(266, "Database record/buffer size mismatch: " + command + " [USE()]" + "\r\n" +
                      "Record Size=" + std::to_string(needed) + ", Buffer Size=" + std::to_string(size));
    return false;
  }
  if (AliasInUse(alias, CurrentArea)) {
    CloseDbf(area->table);
    SetError(220, "Alias name \"" + alias + "\" already in use. [USE]");
    return false;
  }
  if (buffer == nullptr) {
    area->ownedNative.assign(needed, 0);
    area->native = area->ownedNative.data();
    area->ownsNative = true;
  } else {
    area->native = buffer;
  }
  area->nativeSize = needed;
  area->swap.assign(needed, 0);
  WorkAreas[CurrentArea] = std::move(area);
  WorkArea& current = *WorkAreas[CurrentArea];
  if (current.table.recordCount < 1) {
    std::fill(current.native, current.native + current.nativeSize, 0);
    ClearRecordOf(current);
    current.table.eof = current.table.bof = true;
  } else {
    GoTop();
  }
  if (current.table.hasMemo && MemoHooks.open) {
    const int code = MemoHooks.open();
    if (code != 0) {
      CloseWorkArea(CurrentArea);
      SetError(code, "Problem opening memo file [USE(" + command + ",<@Buffer>," + std::to_string(size) + ")]");
      return false;
    }
  }
  const bool opened = TzError == 0;
  // A damaged header (a write cut short, or a program that ended before it
  // counted its appends) is reported once; the table is open with the
  // records the file holds. (A shared table may be in the middle of another
  // program's append and counts its records from the file anyway.)
  if (opened && current.exclusive && current.table.claimedRecordCount >= 0) {
    SetError(213, "File:  " + current.table.fileName + " holds " + std::to_string(current.table.recordCount) +
                      " records, its header counts " + std::to_string(current.table.claimedRecordCount) +
                      " [USE/OpenDbf]");
  }
  return opened;
}

bool Use(const std::string& command, std::uint8_t* buffer, std::size_t size) {
  return UseTranslated(command, buffer, size, nullptr, nullptr);
}

KeptRecord::KeptRecord(WorkArea& area)
    : area_(area),
      record_(area.table.record),
      number_(area.table.currentRecord),
      eof_(area.table.eof),
      bof_(area.table.bof),
      image_(area.table.image) {
  if (area.native != nullptr) native_.assign(area.native, area.native + area.nativeSize);
}

void KeptRecord::Restore() {
  DbfTable& table = area_.table;
  table.record = record_;
  table.currentRecord = number_;
  table.eof = eof_;
  table.bof = bof_;
  table.image = image_;
  if (area_.native != nullptr && native_.size() == area_.nativeSize) {
    std::copy(native_.begin(), native_.end(), area_.native);
  }
}

bool ReopenTable(WorkArea& area, bool exclusive) {
  DbfTable& table = area.table;
  const std::uint32_t count = table.recordCount;
  TranslateProc readTranslate = table.readTranslate;
  TranslateProc writeTranslate = table.writeTranslate;
  const std::string fileName = table.fileName;
  CloseDbf(table);
  DbfTable reopened;
  reopened.fileName = fileName;
  reopened.readTranslate = std::move(readTranslate);
  reopened.writeTranslate = std::move(writeTranslate);
  {
    RestoreOnExit<FileMode> savedMode(CurrentFileMode, FileModeOverride ? *FileModeOverride : FileMode{true, exclusive});
    if (!OpenDbf(reopened)) return false;
  }
  if (reopened.recordCount < count) reopened.recordCount = count;
  reopened.currentRecord = area.table.currentRecord;
  reopened.eof = area.table.eof;
  reopened.bof = area.table.bof;
  area.table = std::move(reopened);
  area.exclusive = area.table.mode.exclusive;
  return true;
}

int FieldCount() {
  WorkArea* area = CheckDbInUse("FieldCount");
  return area ? area->table.FieldCount() : 0;
}

std::string Field(int n) {
  const FieldDef* field = CheckedField(CheckDbInUse("Field"), "Field", n);
  return field ? field->name : std::string();
}

int FieldNo(const std::string& name) {
  WorkArea* area = CheckDbInUse("FieldNo");
  if (area == nullptr) return 0;
  std::string wanted = name.substr(0, 10);
  wanted = Upper(wanted.substr(0, wanted.find_last_not_of(' ') + 1));
  for (int i = 0; i < area->table.FieldCount(); ++i) {
    if (area->table.fields[static_cast<std::size_t>(i)].name == wanted) return i + 1;
  }
  return 0;
}

char FieldType(int n) {
  const FieldDef* field = CheckedField(CheckDbInUse("FieldType"), "FieldType", n);
  return field ? field->type : '\0';
}

int FieldLen(int n) {
  const FieldDef* field = CheckedField(CheckDbInUse("FieldLen"), "FieldLen", n);
  if (field == nullptr) return 0;
  if (field->type == 'D') return Century ? 10 : 8;
  return field->length;
}

int FieldDec(int n) {
  const FieldDef* field = CheckedField(CheckDbInUse("FieldDec"), "FieldDec", n);
  return field ? field->decimals : 0;
}

std::uint8_t* FieldAddress(int n) {
  WorkArea* area = CheckDbInUse("FieldAddress");
  if (CheckedField(area, "FieldAddress", n) == nullptr) return nullptr;
  return area->FieldAddressOf(n - 1);
}

void MarkFieldAssigned(int n) {
  WorkArea* area = CheckDbInUse("MarkFieldAssigned");
  if (CheckedField(area, "MarkFieldAssigned", n) != nullptr) MarkAssigned(area->table, n - 1);
}

std::string FieldAsString(int n) {
  WorkArea* area = CheckDbInUse("FieldAsString");
  const FieldDef* field = CheckedField(area, "FieldAsString", n);
  if (field == nullptr) return {};
  const std::uint8_t* address = area->FieldAddressOf(n - 1);
  switch (NativeKindOf(*field)) {
    case NativeKind::Text:
      return NativeString(address);
    case NativeKind::Date:
      return DisplayDateText(NativeString(address));
    case NativeKind::Double: {
      std::string text = NumberFieldText(NativeDouble(address), field->length, field->decimals);
      std::replace(text.begin(), text.end(), '.', DecimalSeparator);
      return text;
    }
    case NativeKind::Int32:
      return IntegerFieldText(NativeInt32(address), field->length);
    case NativeKind::Int64: {
      const std::int64_t v = NativeInt64(address);
      if (v == kKeepFieldText) {
        return area->table.record.substr(field->offset, field->length);
      }
      return IntegerFieldText(v, field->length);
    }
    case NativeKind::Logical:
      return std::string(1, address[0] != 0 ? LogicalTrueChar : LogicalFalseChar);
    case NativeKind::Memo: {
      const std::int32_t block = NativeInt32(address);
      return block == 0 ? "none" : block > 0 ? "MEMO" : "BLOB";
    }
  }
  return {};
}

bool NativeDeleted(const WorkArea& area) {
  // Variable-length virtual records start with their 16-bit length.
  const std::size_t at = area.table.isVirtual && area.nativeSize == 0 ? 2 : 0;
  return area.native != nullptr && area.native[at] != 0;
}

bool Deleted() {
  WorkArea* area = CheckDbInUse("Deleted");
  return area != nullptr && NativeDeleted(*area);
}

void ClearRecordOf(WorkArea& area) {
  if (area.table.isVirtual && area.table.fields.empty()) {
    std::fill(area.native, area.native + area.nativeSize, 0);
    return;
  }
  std::fill(area.table.record.begin(), area.table.record.end(), ' ');
  RecordToNative(area.table, area.native);
  // A new record's fields are written as their values, blanks as 0 and F,
  // unless one is kept blank (KeepAsRead).
  area.table.image.assigned.assign(area.table.fields.size(), true);
}

void ClearRecord() {
  if (WorkArea* area = CheckDbInUse("ClearRecord")) ClearRecordOf(*area);
}

void RefreshRecCountOf(WorkArea& area, bool lookNow) {
  if (area.exclusive || area.table.isVirtual) return;
  area.table.recordCount = SharedRecordCount(area.table, lookNow);
}

std::int64_t RecCount() {
  WorkArea* area = CheckDbInUse("RecCount");
  if (area == nullptr) return 0;
  RefreshRecCountOf(*area);
  return area->table.recordCount;
}

void RefreshRecCount() {
  if (WorkArea* area = CheckDbInUse("RefreshRecCount")) RefreshRecCountOf(*area);
}

std::int64_t RecNo() {
  WorkArea* area = CheckDbInUse("RecNo");
  return area ? area->table.currentRecord : 0;
}

int RecSize() {
  WorkArea* area = CheckDbInUse("RecSize");
  return area ? area->table.recordLength : 0;
}

bool dEOF() {
  WorkArea* area = CheckDbInUse("dEOF");
  if (area == nullptr) return false;
  RefreshRecCountOf(*area, false);
  return area->table.eof;
}

bool dBOF() {
  WorkArea* area = CheckDbInUse("dBOF");
  return area != nullptr && area->table.bof;
}

std::string CurrentDbfName() {
  WorkArea* area = CheckDbInUse("CurrentDbfName");
  return area ? area->table.fileName : std::string();
}

std::string Alias() {
  WorkArea* area = CheckDbInUse("Alias");
  return area ? area->alias : std::string();
}

bool RecordAccepted(const WorkArea& area) {
  if (area.ignoreDeleted) {
    const bool deleted = area.table.isVirtual ? NativeDeleted(area) : area.table.record[0] == layout::kDeletedMark;
    if (deleted) return false;
  }
  if (area.filterProc) return area.filterProc(area.filterArgument);
  if (area.filterExpr != nullptr && ExprHooks.evaluate) return ExprHooks.evaluate(area.filterExpr);
  return true;
}

bool WhileHolds(const WorkArea& area) {
  if (area.whileProc) return area.whileProc(area.whileArgument);
  if (area.whileExpr != nullptr && ExprHooks.evaluate) return ExprHooks.evaluate(area.whileExpr);
  return true;
}

bool IsWhileOn() {
  WorkArea* area = CheckDbInUse("IsWhileOn");
  return area != nullptr && (area->whileProc || area->whileExpr != nullptr);
}

void SetFilterProc(ConditionProc proc, void* argument) {
  if (WorkArea* area = CheckDbInUse("SetFilter")) {
    area->filterProc = std::move(proc);
    area->filterArgument = argument;
  }
}

void SetWhileProc(ConditionProc proc, void* argument) {
  if (WorkArea* area = CheckDbInUse("SetWhile")) {
    area->whileProc = std::move(proc);
    area->whileArgument = argument;
  }
}

void SetFilterExpr(void* compiled) {
  if (WorkArea* area = CheckDbInUse("SetFilter")) {
    if (area->filterExpr != nullptr && ExprHooks.free) ExprHooks.free(area->filterExpr);
    area->filterExpr = compiled;
  }
}

void SetWhileExpr(void* compiled) {
  if (WorkArea* area = CheckDbInUse("SetWhile")) {
    if (area->whileExpr != nullptr && ExprHooks.free) ExprHooks.free(area->whileExpr);
    area->whileExpr = compiled;
  }
}

bool ReadIntoNative(WorkArea& area, std::int64_t record) {
  if (!GetDbfRecord(area.table, record)) return false;
  if (area.table.isVirtual) return true;
  RecordToNative(area.table, area.native);
  return true;
}

}  // namespace dbase
