// Peek, Poke and GetFieldText with the read cache.
#include "dbase/engine/raw_field_access.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "dbase/engine/date_display.h"
#include "dbase/engine/dbf_file.h"
#include "dbase/engine/dbf_layout.h"
#include "dbase/engine/dbf_native.h"
#include "dbase/engine/engine_code_page.h"
#include "dbase/engine/engine_hooks.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/locking.h"
#include "dbase/engine/navigation.h"
#include "dbase/engine/os_errors.h"
#include "dbase/engine/work_areas.h"

namespace dbase {

std::uint16_t PeekCacheSize = 0;

namespace {

// Records of one table in their stored bytes, first .. first + count - 1.
struct ReadCache {
  std::string alias;
  std::int64_t first = 0;
  std::int64_t count = 0;
  std::vector<char> block;
};
ReadCache Cache;

constexpr char kVirtualText[] = "Operation cannot be used on virtual files.";

void ReadTranslateField(DbfTable& table, std::string& text) {
  if (table.readTranslate) table.readTranslate(text.data(), text.size());
  if (table.oem) OemToAnsiBuffer(text.data(), text.size());
}

void WriteTranslateField(DbfTable& table, std::string& text) {
  if (table.oem) AnsiToOemBuffer(text.data(), text.size());
  if (table.writeTranslate) table.writeTranslate(text.data(), text.size());
}

std::int64_t RecordOffset(const DbfTable& table, std::int64_t record) {
  return static_cast<std::int64_t>(table.headerLength) + (record - 1) * table.recordLength;
}

// Fills the cache from the record on; false after an error was recorded.
bool FillCache(WorkArea& area, std::int64_t record, const std::string& tag) {
  DbfTable& table = area.table;
  const std::int64_t fit = std::min<std::int64_t>(PeekCacheSize, 65520) / table.recordLength;
  if (fit < 1) {
    SetError(217, "Insufficient memory for cache [Peek]");
    return false;
  }
  const std::int64_t count = std::min<std::int64_t>(fit, static_cast<std::int64_t>(table.recordCount) - record + 1);
  Cache.alias = area.alias;
  Cache.first = record;
  Cache.count = 0;
  Cache.block.resize(static_cast<std::size_t>(count * table.recordLength));
  const std::int64_t got = ReadBytesAt(table.fd, Cache.block.data(), Cache.block.size(), RecordOffset(table, record));
  if (got <= 0) {
    SetError(got < 0 ? OsErrorCode(errno) : 100, "DBF: " + table.fileName + tag);
    return false;
  }
  Cache.count = got / table.recordLength;
  return Cache.count > 0;
}

std::string PokeTag(const std::string& text, int fieldNo, std::int64_t recordNo) {
  return "[Poke(" + text + "," + std::to_string(fieldNo) + "," + std::to_string(recordNo) + ")]";
}

}  // namespace

void DropPeekCache(const std::string& alias) {
  if (alias.empty() || Cache.alias == alias) Cache = ReadCache{};
}

void InitPeekCache() {
  Cache = ReadCache{};
  CommonHooks.dropReadCache = [](const std::string& alias) { DropPeekCache(alias); };
  // A changed current record is read again when Peek asks for it.
  CommonHooks.updateReadCache = [] {
    const WorkArea* area = CurrentWorkAreaRecord();
    if (area == nullptr || Cache.alias != area->alias) return;
    const std::int64_t record = area->table.currentRecord;
    if (record >= Cache.first && record < Cache.first + Cache.count) Cache = ReadCache{};
  };
}

void Peek(int fieldNo, std::int64_t recordNo, std::string& text) {
  text.clear();
  WorkArea* area = CheckDbInUse("Peek");
  if (area == nullptr) return;
  DbfTable& table = area->table;
  if (table.isVirtual) {
    SetError(1100, std::string(kVirtualText) + " [Peek]");
    return;
  }
  if (recordNo > static_cast<std::int64_t>(table.recordCount)) RefreshRecCountOf(*area);
  if (fieldNo < 0 || fieldNo > table.FieldCount() || recordNo < 1 ||
      recordNo > static_cast<std::int64_t>(table.recordCount)) {
    return;
  }
  const std::size_t offset = fieldNo == 0 ? 0 : table.fields[static_cast<std::size_t>(fieldNo - 1)].offset;
  const std::size_t length = fieldNo == 0 ? 1 : table.fields[static_cast<std::size_t>(fieldNo - 1)].length;
  const std::string tag = " [Peek(" + std::to_string(fieldNo) + "," + std::to_string(recordNo) + ")]";
  std::string bytes(length, ' ');
  if (PeekCacheSize == 0) {
    const std::int64_t got =
        ReadBytesAt(table.fd, bytes.data(), length, RecordOffset(table, recordNo) + static_cast<std::int64_t>(offset));
    if (got != static_cast<std::int64_t>(length)) {
      SetError(got < 0 ? OsErrorCode(errno) : 100, "DBF: " + table.fileName + tag);
      return;
    }
  } else {
    // The engine must tell the cache of closes, packs and changes.
    if (!CommonHooks.dropReadCache || !CommonHooks.updateReadCache) InitPeekCache();
    if (Cache.alias != area->alias) Cache = ReadCache{};
    if (recordNo < Cache.first || recordNo >= Cache.first + Cache.count) {
      if (!FillCache(*area, recordNo, tag)) return;
    }
    const std::size_t at = static_cast<std::size_t>((recordNo - Cache.first) * table.recordLength) + offset;
    std::memcpy(bytes.data(), Cache.block.data() + at, length);
  }
  if (fieldNo > 0) ReadTranslateField(table, bytes);
  text = std::move(bytes);
}

void Poke(const std::string& text, int fieldNo, std::int64_t recordNo) {
  WorkArea* area = CheckDbInUse("Poke");
  if (area == nullptr) return;
  DbfTable& table = area->table;
  if (table.isVirtual) {
    SetError(1100, std::string(kVirtualText) + PokeTag(text, fieldNo, recordNo));
    return;
  }
  if (area->Shared() && NetworkLocking && area->lockState != kFileLock &&
      std::find(area->lockedRecords.begin(), area->lockedRecords.end(), recordNo) == area->lockedRecords.end()) {
    SetError(1200, "Record not locked " + PokeTag(text, fieldNo, recordNo));
    return;
  }
  if (recordNo > static_cast<std::int64_t>(table.recordCount)) RefreshRecCountOf(*area);
  if (fieldNo < 0 || fieldNo > table.FieldCount() || recordNo < 1 ||
      recordNo > static_cast<std::int64_t>(table.recordCount)) {
    return;
  }
  const std::size_t offset = fieldNo == 0 ? 0 : table.fields[static_cast<std::size_t>(fieldNo - 1)].offset;
  const std::size_t length = fieldNo == 0 ? 1 : table.fields[static_cast<std::size_t>(fieldNo - 1)].length;
  std::string bytes = text.substr(0, length);
  if (bytes.empty()) return;
  const std::string engineText = bytes;
  if (fieldNo > 0) WriteTranslateField(table, bytes);
  if (WriteBytesAt(table.fd, bytes.data(), bytes.size(), RecordOffset(table, recordNo) + static_cast<std::int64_t>(offset)) !=
      0) {
    SetError(101, PokeTag(text, fieldNo, recordNo));
    return;
  }
  DropRecordCache(table);
  if (Cache.alias == area->alias && recordNo >= Cache.first && recordNo < Cache.first + Cache.count) {
    std::memcpy(Cache.block.data() + (recordNo - Cache.first) * table.recordLength + offset, bytes.data(), bytes.size());
  }
  // The current record takes the new value, so that a later Replace of the
  // record does not write the old one back; the other fields keep what the
  // caller may have changed in the native buffer.
  if (recordNo == table.currentRecord && !table.eof) {
    std::memcpy(table.record.data() + offset, engineText.data(), engineText.size());
    std::vector<std::uint8_t> fresh(area->nativeSize, 0);
    RecordToNative(table, fresh.data());
    if (fieldNo == 0) {
      area->native[0] = fresh[0];
    } else {
      const std::size_t at = NativeFieldOffset(table, fieldNo - 1);
      const std::size_t size = NativeFieldSize(table.fields[static_cast<std::size_t>(fieldNo - 1)]);
      std::memcpy(area->native + at, fresh.data() + at, size);
    }
  }
}

void GetFieldText(int fieldNo, std::int64_t recordNo, std::string& text) {
  text.clear();
  WorkArea* area = CheckDbInUse("GetFieldText");
  if (area == nullptr) return;
  if (!area->table.isVirtual) {
    Peek(fieldNo, recordNo, text);
    return;
  }
  if (fieldNo < 1 || fieldNo > area->table.FieldCount()) return;
  const std::int64_t start = area->table.currentRecord;
  Go(recordNo);
  const FieldDef& field = area->table.fields[static_cast<std::size_t>(fieldNo - 1)];
  const std::uint8_t* address = area->FieldAddressOf(fieldNo - 1);
  switch (NativeKindOf(field)) {
    case NativeKind::Text:
      text = NativeString(address);
      text.resize(field.length, ' ');
      break;
    case NativeKind::Date:
      text = NativeDateToStored(NativeString(address));
      break;
    case NativeKind::Double:
      text = NumberFieldText(NativeDouble(address), field.length, field.decimals);
      break;
    case NativeKind::Int32:
    case NativeKind::Memo:
      text = IntegerFieldText(NativeInt32(address), field.length);
      break;
    case NativeKind::Int64:
      text = IntegerFieldText(NativeInt64(address), field.length);
      break;
    case NativeKind::Logical:
      text = address[0] != 0 ? "T" : "F";
      break;
  }
  if (start <= static_cast<std::int64_t>(area->table.recordCount)) {
    Go(start);
  } else {
    GoBottom();
    Skip(1);
  }
}

}  // namespace dbase
