// The in-memory record lists behind virtual files, the hook through which
// the engine reads and changes them, and the virtual-file commands.
#include "dbase/vfiles/virtual_files.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <new>

#include "dbase/engine/dbf_native.h"
#include "dbase/engine/engine_hooks.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/navigation.h"
#include "dbase/engine/number_text.h"
#include "dbase/engine/work_areas.h"

namespace dbase {

namespace {

using Record = std::vector<std::uint8_t>;

struct VirtualList {
  std::vector<Record> records;
  VFileKeyMaker keyMaker;
  void* keyArgument = nullptr;
};

std::array<VirtualList, kMaxWorkAreas + 1> Lists;

// The key of a record: the key maker's text, cut to 100 characters, and
// its value when the whole text is a number.
struct Key {
  std::string text;
  bool numeric = false;
  double value = 0;
};

constexpr std::size_t kMaxKeyLength = 100;

// A key text is a number as the engine writes numbers (FieldAsString of a
// numeric field, with the engine's decimal separator), whatever the
// process's locale.
Key MakeKey(std::string text) {
  Key key;
  if (text.size() > kMaxKeyLength) text.resize(kMaxKeyLength);
  key.text = std::move(text);
  double value = 0;
  if (ReadNumberText(key.text, value) == NumberReading::Number) {
    key.numeric = true;
    key.value = value;
  }
  return key;
}

// -1, 0 or 1: as numbers when both are numbers, else as bytes (a proper
// prefix is the lesser).
int CompareKeys(const Key& a, const Key& b) {
  if (a.numeric && b.numeric) return a.value < b.value ? -1 : (a.value > b.value ? 1 : 0);
  const int c = a.text.compare(b.text);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// Whether a stands before b in the mode (less ascending, greater descending).
bool Before(const Key& a, const Key& b, int mode) {
  const int c = CompareKeys(a, b);
  return mode == kDescending ? c > 0 : c < 0;
}
bool BeforeOrEqual(const Key& a, const Key& b, int mode) { return CompareKeys(a, b) == 0 || Before(a, b, mode); }

// The place (0-based, count = after the last) a key goes in a sorted list of
// count records whose keys keyAt answers. Equal keys keep their arrival
// order: the new one goes after the last of them. The first and the last
// record are tried before the bisection, so records that arrive in order
// cost no search.
template <typename KeyAt>
std::size_t SortedPlace(const Key& n, std::size_t count, int mode, KeyAt keyAt) {
  if (count == 0) return 0;
  auto afterEquals = [&](std::size_t at) {
    while (at + 1 < count && CompareKeys(keyAt(at + 1), n) == 0) ++at;
    return at + 1;
  };
  const Key first = keyAt(0);
  if (BeforeOrEqual(n, first, mode)) return CompareKeys(n, first) == 0 ? afterEquals(0) : 0;
  if (count == 1) return 1;
  if (BeforeOrEqual(keyAt(count - 1), n, mode)) return count;
  // Record numbers from 1: low's key is before n, high's after it.
  std::size_t low = 1;
  std::size_t high = count;
  while (high - low > 1) {
    const std::size_t middle = low + (high - low) / 2;
    const Key m = keyAt(middle - 1);
    const int c = CompareKeys(m, n);
    if (c == 0) return afterEquals(middle - 1);
    if (Before(n, m, mode)) {
      high = middle;
    } else {
      low = middle;
    }
  }
  const std::size_t answer = BeforeOrEqual(keyAt(high - 1), n, mode) ? high : low;
  return answer;
}

const char* const kVFilesTag = " [VFiles]";

WorkArea* VirtualArea() {
  WorkArea* area = CurrentWorkAreaRecord();
  return area != nullptr && area->table.isVirtual ? area : nullptr;
}

bool FixedLength(const WorkArea& area) { return area.nativeSize > 0; }

std::size_t DeletionByte(const WorkArea& area) { return FixedLength(area) ? 0 : 2; }

// The record in the native buffer, as stored.
Record BufferRecord(const WorkArea& area) {
  std::size_t size = area.nativeSize;
  if (!FixedLength(area)) {
    std::uint16_t length;
    std::memcpy(&length, area.native, sizeof length);
    size = std::size_t{length} + 2;
  }
  return Record(area.native, area.native + size);
}

void LoadRecord(WorkArea& area, const Record& record) {
  std::memcpy(area.native, record.data(), record.size());
}

// Record n (from 1) into the buffer; it becomes current.
bool Position(WorkArea& area, VirtualList& list, std::int64_t n) {
  const std::int64_t count = static_cast<std::int64_t>(list.records.size());
  if (n < 1 || n > count) {
    SetError(212, "Attempted to position to record number " + std::to_string(n) + "  Database record count is " +
                      std::to_string(count) + area.alias + kVFilesTag);
    return false;
  }
  LoadRecord(area, list.records[static_cast<std::size_t>(n - 1)]);
  area.table.currentRecord = n;
  return true;
}

void SetEmpty(WorkArea& area) {
  area.table.recordCount = 0;
  area.table.currentRecord = 0;
  area.table.eof = area.table.bof = true;
  ClearRecordOf(area);
}

void NoteCount(WorkArea& area, const VirtualList& list) {
  area.table.recordCount = static_cast<std::uint32_t>(list.records.size());
}

// The key of the record in the buffer.
Key BufferKey(const VirtualList& list) { return MakeKey(list.keyMaker(list.keyArgument)); }

// Whether the sorted modes can place a record; records error 1100 when the
// key maker is missing.
bool CanSort(const WorkArea& area, const VirtualList& list) {
  if (list.keyMaker) return true;
  SetError(1100, area.alias + " is a \"Sorted\" virtual file with no keymaker function. [Append/InsertRec/PushRec]");
  return false;
}

// The place of a new record in a sorted list. Probing loads other records
// into the buffer, which gets the new record back afterwards.
std::size_t PlaceSorted(WorkArea& area, VirtualList& list, const Record& fresh, int hint) {
  struct PutBack {
    WorkArea& area;
    const Record& fresh;
    ~PutBack() { LoadRecord(area, fresh); }
  } putBack{area, fresh};
  const int mode = area.orderMode;
  const Key n = BufferKey(list);
  auto keyAt = [&](std::size_t i) {
    LoadRecord(area, list.records[i]);
    return BufferKey(list);
  };
  const std::size_t count = list.records.size();
  // A changed record that still belongs beside the neighbour it left goes
  // back to its place at once.
  if (hint == 1 && count > 0) {
    const std::size_t at = static_cast<std::size_t>(area.table.currentRecord - 1);
    if (at < count && BeforeOrEqual(n, keyAt(at), mode) && (at == 0 || BeforeOrEqual(keyAt(at - 1), n, mode))) {
      return at;
    }
  } else if (hint == 2 && count > 0) {
    if (BeforeOrEqual(keyAt(count - 1), n, mode)) return count;
  }
  return SortedPlace(n, count, mode, keyAt);
}

// Adds the buffer as a new record by the order mode; hint as for
// PlaceSorted (0 for a plain add).
void AddRecord(WorkArea& area, VirtualList& list, int hint = 0) {
  try {
    Record fresh = BufferRecord(area);
    const std::size_t count = list.records.size();
    std::size_t at = 0;
    if (count > 0) {
      switch (area.orderMode) {
        case kFifo:
          at = count;
          break;
        case kLifo:
          at = 0;
          break;
        case kInsertion: {
          const std::int64_t current = area.table.currentRecord;
          at = current < 1 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(current - 1), count);
          break;
        }
        case kAscending:
        case kDescending: {
          if (!CanSort(area, list)) return;
          const std::uint16_t before = TzError;
          at = PlaceSorted(area, list, fresh, hint);
          if (TzError != before) return;
          break;
        }
        default:
          SetError(1100, std::to_string(area.orderMode) + " is an invalid VFile mode set for " + area.alias +
                             "  [(AddLL) VFiles INTERNAL ERROR]");
          return;
      }
    }
    list.records.insert(list.records.begin() + static_cast<std::ptrdiff_t>(at), std::move(fresh));
    area.table.currentRecord = static_cast<std::int64_t>(at) + 1;
    NoteCount(area, list);
    area.table.eof = false;
  } catch (const std::bad_alloc&) {
    SetError(217, "Not enough HEAP memory to add new record to " + area.alias + kVFilesTag);
  }
}

// Replaces record n with the buffer; beyond the count the buffer is added.
void WriteRecord(WorkArea& area, VirtualList& list, std::int64_t n) {
  const std::int64_t count = static_cast<std::int64_t>(list.records.size());
  if (n > count) {
    AddRecord(area, list);
    return;
  }
  if (n < 1) {
    SetError(212, "Attempted to position to record number " + std::to_string(n) + "  Database record count is " +
                      std::to_string(count) + area.alias + kVFilesTag);
    return;
  }
  const std::size_t at = static_cast<std::size_t>(n - 1);
  if (area.orderMode == kAscending || area.orderMode == kDescending) {
    if (!CanSort(area, list)) return;
    // Taken out and sorted in again; kept when the new place cannot be found.
    Record old = std::move(list.records[at]);
    list.records.erase(list.records.begin() + static_cast<std::ptrdiff_t>(at));
    area.table.currentRecord = n;
    const int hint = at < list.records.size() ? 1 : 2;
    const std::size_t before = list.records.size();
    const std::uint16_t errorBefore = TzError;
    AddRecord(area, list, hint);
    if (list.records.size() == before || TzError != errorBefore) {
      if (list.records.size() == before) {
        list.records.insert(list.records.begin() + static_cast<std::ptrdiff_t>(at), std::move(old));
      }
      area.table.currentRecord = n;
    }
    NoteCount(area, list);
    return;
  }
  try {
    list.records[at] = BufferRecord(area);
  } catch (const std::bad_alloc&) {
    SetError(217, "Not enough HEAP memory to add new record to " + area.alias + kVFilesTag);
    return;
  }
  area.table.currentRecord = n;
}

void SetDeletion(WorkArea& area, VirtualList& list, std::uint8_t flag) {
  const std::int64_t current = area.table.currentRecord;
  if (current < 1 || current > static_cast<std::int64_t>(list.records.size())) return;
  const std::size_t byte = DeletionByte(area);
  Record& record = list.records[static_cast<std::size_t>(current - 1)];
  if (byte < record.size()) record[byte] = flag;
  area.native[byte] = flag;
}

void PackRecords(WorkArea& area, VirtualList& list) {
  const std::size_t byte = DeletionByte(area);
  std::erase_if(list.records, [byte](const Record& r) { return byte < r.size() && r[byte] != 0; });
  NoteCount(area, list);
  if (list.records.empty()) {
    SetEmpty(area);
    return;
  }
  area.table.eof = area.table.bof = false;
  Position(area, list, 1);
}

void RemoveCurrent(WorkArea& area, VirtualList& list) {
  const std::size_t at = static_cast<std::size_t>(area.table.currentRecord - 1);
  list.records.erase(list.records.begin() + static_cast<std::ptrdiff_t>(at));
  NoteCount(area, list);
  if (list.records.empty()) {
    SetEmpty(area);
    return;
  }
  area.table.eof = area.table.bof = false;
  Position(area, list, static_cast<std::int64_t>(std::min(at, list.records.size() - 1)) + 1);
}

void PopFirst(WorkArea& area, VirtualList& list) {
  if (list.records.empty()) {
    SetError(1100, "Virtual file empty - no more records to POP from " + area.alias + " [(PopRec) VFiles]");
    return;
  }
  if (area.orderMode == kInsertion) {
    SetError(1100, "Cannot POP a record in INSERTION mode from " + area.alias + " [(PopRec) VFiles]");
    return;
  }
  LoadRecord(area, list.records.front());
  list.records.erase(list.records.begin());
  NoteCount(area, list);
  if (list.records.empty()) {
    area.table.currentRecord = 0;
    area.table.eof = area.table.bof = true;
    return;
  }
  // The records behind the first move up by one.
  if (area.table.currentRecord > 1) --area.table.currentRecord;
}

void Zap(WorkArea& area, VirtualList& list) {
  list.records.clear();
  SetEmpty(area);
}

// The engine's entry: every action on the current area's virtual file.
void ServeVirtualFile(int action, std::int32_t record) {
  WorkArea* area = VirtualArea();
  if (area == nullptr) return;
  VirtualList& list = Lists[static_cast<std::size_t>(area->number)];
  switch (action) {
    case kVfClose:
      list = VirtualList{};
      break;
    case kVfDelete:
      SetDeletion(*area, list, 1);
      break;
    case kVfRead:
      Position(*area, list, record);
      break;
    case kVfOpen:
      list = VirtualList{};
      SetEmpty(*area);
      break;
    case kVfPack:
      PackRecords(*area, list);
      break;
    case kVfPop:
      PopFirst(*area, list);
      break;
    case kVfAdd:
      AddRecord(*area, list);
      break;
    case kVfWrite:
      WriteRecord(*area, list, record);
      break;
    case kVfRecall:
      SetDeletion(*area, list, 0);
      break;
    case kVfSnip:
      if (area->table.currentRecord >= 1 && area->table.currentRecord <= static_cast<std::int64_t>(list.records.size())) {
        RemoveCurrent(*area, list);
      }
      break;
    case kVfZap:
      Zap(*area, list);
      break;
    default:
      break;
  }
}

// The start of every command: a table in use that is a virtual file.
WorkArea* BeginVirtual(const std::string& command) {
  WorkArea* area = BeginCommand(command);
  if (area == nullptr) return nullptr;
  if (!area->table.isVirtual) {
    SetError(1100, area->alias + " is not a virtual file." + " [" + command + "]");
    return nullptr;
  }
  return area;
}

VirtualList& ListOf(const WorkArea& area) { return Lists[static_cast<std::size_t>(area.number)]; }

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

void InitVirtualFiles() { VirtualFileHook = ServeVirtualFile; }

bool IsVirtualFile() { return VirtualArea() != nullptr; }

void AddStru(const std::vector<FieldDef>& fields) {
  WorkArea* area = BeginVirtual("AddStru");
  if (area == nullptr) return;
  const std::string where = " in VFile field list. Alias= " + area->alias + " [AddStru]";
  std::vector<FieldDef> list;
  std::uint16_t offset = 1;
  for (FieldDef field : fields) {
    field.name = field.name.substr(0, 10);
    for (char& c : field.name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    field.type = static_cast<char>(std::toupper(static_cast<unsigned char>(field.type)));
    switch (field.type) {
      case 'C':
      case 'F':
      case 'N':
        if (field.length == 0) {
          SetError(211, "Invalid length, field name: " + Quoted(field.name) + where);
          return;
        }
        if (field.type == 'C') field.decimals = 0;
        break;
      case 'D':
        field.length = 8;
        field.decimals = 0;
        break;
      case 'L':
        field.length = 1;
        field.decimals = 0;
        break;
      case 'M':
        // Memo values of a virtual file are plain numbers.
        field.type = 'N';
        field.length = 10;
        field.decimals = 0;
        break;
      default:
        SetError(211, "Invalid type " + Quoted(std::string(1, field.type)) + where);
        return;
    }
    field.offset = offset;
    offset = static_cast<std::uint16_t>(offset + field.length);
    list.push_back(field);
  }
  // The fields are read and written in the caller's buffer: they must fit.
  DbfTable laidOut;
  laidOut.fields = list;
  const std::size_t needed = NativeRecordSize(laidOut);
  if (!list.empty() && needed > area->nativeSize) {
    SetError(266, "Field list needs " + std::to_string(needed) + " bytes, the record buffer holds " +
                      std::to_string(area->nativeSize) + ". Alias= " + area->alias + " [AddStru]");
    return;
  }
  try {
    area->table.fields = std::move(list);
    area->table.record.assign(offset, ' ');
  } catch (const std::bad_alloc&) {
    SetError(217, "Not enough memory to create new structure for" + area->alias + " [AddStru]");
  }
}

void PopRec() {
  if (WorkArea* area = BeginVirtual("PopRec")) PopFirst(*area, ListOf(*area));
}

void SnipRec() {
  WorkArea* area = BeginVirtual("SnipRec");
  if (area == nullptr) return;
  const std::int64_t current = area->table.currentRecord;
  if (current < 1 || current > static_cast<std::int64_t>(ListOf(*area).records.size())) {
    SetError(1103, area->alias + " at EOF [SnipRec]");
    return;
  }
  RemoveCurrent(*area, ListOf(*area));
}

void ZapVFile() {
  if (WorkArea* area = BeginVirtual("ZapVFile")) Zap(*area, ListOf(*area));
}

void Set_VFileKey_To(VFileKeyMaker keyMaker, void* argument) {
  WorkArea* area = BeginVirtual("Set_VFileKey_To");
  if (area == nullptr) return;
  VirtualList& list = ListOf(*area);
  list.keyMaker = std::move(keyMaker);
  list.keyArgument = argument;
}

int Get_VFileMode() {
  WorkArea* area = BeginVirtual("Get_VFileMode");
  return area != nullptr ? area->orderMode : 0;
}

void Set_VFileMode_To(int mode) {
  WorkArea* area = BeginVirtual("Set_VFileMode_To");
  if (area == nullptr) return;
  // A mode the list cannot add by would only fail at the next append.
  if (mode < kFifo || mode > kDescending) {
    SetError(220, "Invalid VFile mode " + std::to_string(mode) + " for " + area->alias +
                      " [(Set_VFileMode_To) VFiles]");
    return;
  }
  const bool sorted = mode == kAscending || mode == kDescending;
  if (ListOf(*area).records.size() >= 2 && sorted && area->orderMode != mode) {
    SetError(1100, "Cannot set a sort mode on a virtual file containing records. (" + area->alias +
                       ") [(Set_VFileMode_To) VFiles]");
    return;
  }
  area->orderMode = mode;
}

void SortVFile(int mode) {
  WorkArea* area = BeginVirtual("SortVFile");
  if (area == nullptr) return;
  VirtualList& list = ListOf(*area);
  if (!list.keyMaker) {
    SetError(1100, area->alias + " has no KeyMaker.  Records cannot be sorted. [SortVFile]");
    return;
  }
  if (mode != kAscending && mode != kDescending) {
    SetError(220, "Sort mode not ASCENDING or DESCENDING for " + area->alias + " [(SortVFile) VFiles]");
    return;
  }
  // Every key once, then each record in turn sorted into a private order
  // list, as adds to a sorted file would place them.
  std::vector<Key> keys;
  keys.reserve(list.records.size());
  {
    const Record saved = BufferRecord(*area);
    struct PutBack {
      WorkArea& area;
      const Record& saved;
      ~PutBack() { LoadRecord(area, saved); }
    } putBack{*area, saved};
    const std::uint16_t before = TzError;
    for (const Record& record : list.records) {
      LoadRecord(*area, record);
      keys.push_back(BufferKey(list));
      if (TzError != before) return;
    }
  }
  std::vector<std::size_t> order;
  order.reserve(keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const std::size_t at = SortedPlace(keys[i], order.size(), mode, [&](std::size_t k) -> const Key& { return keys[order[k]]; });
    order.insert(order.begin() + static_cast<std::ptrdiff_t>(at), i);
  }
  std::vector<Record> sorted;
  sorted.reserve(order.size());
  for (const std::size_t i : order) sorted.push_back(std::move(list.records[i]));
  list.records = std::move(sorted);
  area->orderMode = mode;
  if (list.records.empty()) return;
  GoTop();
}

}  // namespace dbase
