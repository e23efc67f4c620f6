// Node reading, key search and index-order walking.
#include "dbase/index/index_search.h"

#include <algorithm>
#include <cerrno>

#include "dbase/engine/dbf_file.h"
#include "dbase/engine/engine_hooks.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/navigation.h"
#include "dbase/engine/os_errors.h"
#include "dbase/engine/work_areas.h"
#include "dbase/index/index_anchor.h"
#include "dbase/index/index_check.h"
#include "dbase/index/key_primitives.h"

namespace dbase {

using namespace ndx;

namespace {

// A deeper descent means a cycle in a damaged file.
constexpr std::size_t kMaxDepth = 64;

void ReadBracket(bool begin) {
  if (IndexHooks.readSemaphore) IndexHooks.readSemaphore(begin);
}

WorkArea* AreaOf(const IND& ind) {
  return (ind.area >= 1 && ind.area <= kMaxWorkAreas) ? WorkAreas[ind.area].get() : nullptr;
}

std::int64_t RecordCountOf(const IND& ind) {
  const WorkArea* area = AreaOf(ind);
  return area != nullptr ? area->table.recordCount : 0;
}

bool Natural(int area) {
  return area >= 1 && area <= kMaxWorkAreas && IndexSlots[static_cast<std::size_t>(area)].naturalOrder;
}

int NodeCount(const IND& ind, const std::uint8_t* node) {
  (void)ind;
  return static_cast<std::int16_t>(GetWord(node));
}

std::uint32_t NodeChild(const IND& ind, const std::uint8_t* node, int i) {
  return GetDword(node + kNodeEntriesOffset + static_cast<std::size_t>(i) * ind.entrySize);
}

// Loads a node into the IND and pushes it on the path.
bool Push(IND& ind, std::uint32_t block) {
  if (ind.path.size() >= kMaxDepth) {
    SetError(222, "Invalid dBASE key expression or corrupted index file " + ind.fileName);
    return false;
  }
  if (!GetNode(ind, block)) return false;
  PathStep step;
  step.block = block;
  step.node = ind.node;
  ind.path.push_back(step);
  return true;
}

void SetOldKey(IND& ind) {
  if (ind.entryIndex >= 0 && ind.entryIndex < ind.Count()) {
    ind.oldKey.assign(reinterpret_cast<const char*>(ind.KeyAt(ind.entryIndex)), ind.keyLength);
  }
}

// From a block down along first (or last) children to a leaf; the index
// stands on the leaf's first (or last) entry.
bool DescendEdge(IND& ind, std::uint32_t block, bool first) {
  while (true) {
    if (!Push(ind, block)) return false;
    const int n = ind.Count();
    if (ind.IsLeaf()) {
      ind.entryIndex = first ? 0 : std::max(n - 1, 0);
      return true;
    }
    const int position = first ? 0 : n;
    ind.path.back().position = position;
    block = ind.Child(position);
  }
}

// The position of the first entry not less than the key; hint -1 when the
// key is less than the first entry's, 0 when equal to it, -2 when greater
// than the last entry's, else the position.
int NodeSearch(IND& ind, const void* key, int& position) {
  const int n = ind.Count();
  if (n == 0) {
    position = 0;
    return -1;
  }
  const int first = CompareKeys(ind, key, ind.KeyAt(0));
  if (first <= 0) {
    position = 0;
    return first < 0 ? -1 : 0;
  }
  if (CompareKeys(ind, key, ind.KeyAt(n - 1)) > 0) {
    position = n;
    return -2;
  }
  int low = 1;
  int high = n - 1;
  while (low < high) {
    const int mid = (low + high) / 2;
    if (CompareKeys(ind, ind.KeyAt(mid), key) < 0) low = mid + 1;
    else high = mid;
  }
  position = low;
  return low;
}

// Moves to the first entry of the next leaf (or the last entry of the prior
// leaf); false, with the position unchanged, when there is none.
bool MoveLeaf(IND& ind, bool forward) {
  const std::vector<PathStep> saved = ind.path;
  const std::array<std::uint8_t, kBlockSize> node = ind.node;
  const std::uint32_t number = ind.nodeNumber;
  const int entry = ind.entryIndex;
  if (!ind.path.empty()) ind.path.pop_back();
  while (!ind.path.empty()) {
    PathStep& top = ind.path.back();
    if (forward ? top.position < NodeCount(ind, top.node.data()) : top.position > 0) {
      top.position += forward ? 1 : -1;
      if (!DescendEdge(ind, NodeChild(ind, top.node.data(), top.position), forward)) break;
      if (ind.Count() > 0) return true;
      // Only the root of an empty index has no entries: the keys that
      // stood here are lost to the walk.
      ind.damageMet = true;
      ReportIndexMismatch(ind, "block " + std::to_string(ind.nodeNumber) + " is empty", "SkipIndexed");
      break;
    }
    ind.path.pop_back();
  }
  ind.path = saved;
  ind.node = node;
  ind.nodeNumber = number;
  ind.entryIndex = entry;
  return false;
}

bool NextLeaf(IND& ind) { return MoveLeaf(ind, true); }
bool PriorLeaf(IND& ind) { return MoveLeaf(ind, false); }

// One entry forward or back; false at the edge (position unchanged).
bool StepForward(IND& ind) {
  if (ind.entryIndex + 1 < ind.Count()) {
    ++ind.entryIndex;
    return true;
  }
  return NextLeaf(ind);
}

bool StepBackward(IND& ind) {
  if (ind.entryIndex > 0 && ind.Count() > 0) {
    ind.entryIndex = std::min(ind.entryIndex, ind.Count()) - 1;
    return true;
  }
  return PriorLeaf(ind);
}

std::int64_t EntryRecord(IND& ind) {
  if (ind.entryIndex < 0 || ind.entryIndex >= ind.Count()) return -1;
  return ind.RecordAt(ind.entryIndex);
}

// The record of the index's first or last key, without moving the index.
std::int64_t EdgeKeyRecord(IND& ind, bool first) {
  IND probe;
  probe.area = ind.area;
  probe.slot = ind.slot;
  probe.fd = ind.fd;
  probe.fileName = ind.fileName;
  probe.entrySize = ind.entrySize;
  probe.keysPerNode = ind.keysPerNode;
  probe.keyLength = ind.keyLength;
  const bool ok = DescendEdge(probe, ind.root, first);
  probe.fd = -1;
  return ok ? EntryRecord(probe) : -1;
}

std::int64_t LastKeyRecord(IND& ind) { return EdgeKeyRecord(ind, false); }
std::int64_t FirstKeyRecord(IND& ind) { return EdgeKeyRecord(ind, true); }

// Reads a record into the work area without running the move machinery.
void StandOn(WorkArea& area, std::int64_t record) {
  if (ReadIntoNative(area, record)) {
    area.table.eof = false;
    area.table.bof = false;
  }
}

}  // namespace

bool StepIndexForward(IND& ind) { return StepForward(ind); }
bool StepIndexBackward(IND& ind) { return StepBackward(ind); }

bool DescendToEdge(IND& ind, bool first) {
  ind.path.clear();
  return DescendEdge(ind, ind.root, first);
}

std::int64_t CurrentEntryRecord(IND& ind) { return EntryRecord(ind); }

bool SeekAndRead(IND& ind, std::uint32_t block, std::uint8_t* buffer) {
  for (const PathStep& step : ind.path) {
    if (step.block == block) {
      std::memcpy(buffer, step.node.data(), kBlockSize);
      PutWord(buffer + kNodeModifiedOffset, 0);
      return true;
    }
  }
  const std::int64_t got = ReadBytesAt(ind.fd, buffer, kBlockSize, static_cast<std::int64_t>(block) * kBlockSize);
  if (got != static_cast<std::int64_t>(kBlockSize)) {
    SetError(got < 0 ? OsErrorCode(errno) : 100, "Error reading index file: " + ind.fileName + " [SeekAndRead]");
    return false;
  }
  PutWord(buffer + kNodeModifiedOffset, 0);
  return true;
}

bool SeekAndWrite(IND& ind, std::uint32_t block, std::uint8_t* buffer) {
  PutWord(buffer + kNodeModifiedOffset, 0);
  const int err = WriteBytesAt(ind.fd, buffer, kBlockSize, static_cast<std::int64_t>(block) * kBlockSize);
  if (err != 0) {
    SetError(OsErrorCode(err, true), "Error writing index file: " + ind.fileName + " [SeekAndWrite]");
    return false;
  }
  // The copies follow the file only once it holds the node.
  for (PathStep& step : ind.path) {
    if (step.block == block) std::memcpy(step.node.data(), buffer, kBlockSize);
  }
  if (ind.area >= 1 && ind.area <= kMaxWorkAreas) {
    AreaIndexes& slots = IndexSlots[static_cast<std::size_t>(ind.area)];
    if (slots.slots[1] == &ind && slots.cache) slots.cache->Update(block, buffer);
  }
  return true;
}

bool GetNode(IND& ind, std::uint32_t block) {
  if (block == 0) {
    SetError(254, "Invalid Node Number (0) in DBF Area " + std::to_string(ind.area) + ", Order " +
                      std::to_string(ind.slot) + " " + ind.fileName + " [GetNode]");
    return false;
  }
  NodeCache* cache = nullptr;
  if (ind.area >= 1 && ind.area <= kMaxWorkAreas) {
    AreaIndexes& slots = IndexSlots[static_cast<std::size_t>(ind.area)];
    if (slots.slots[1] == &ind) cache = slots.cache.get();
  }
  const bool onPath = std::any_of(ind.path.begin(), ind.path.end(), [&](const PathStep& s) { return s.block == block; });
  if (cache != nullptr && !onPath ? !cache->Read(ind, block, ind.node.data())
                                  : !SeekAndRead(ind, block, ind.node.data())) {
    return false;
  }
  ind.nodeNumber = block;
  ind.entryIndex = 0;
  const int count = ind.Count();
  // A count beyond the node would read past its 512 bytes.
  if (count < 0 || count > ind.keysPerNode) {
    PutWord(ind.node.data(), 0);
    SetError(222, "Invalid dBASE key expression or corrupted index file " + ind.fileName);
    return false;
  }
  return true;
}

bool SeekKey(IND& ind, const std::string& key, bool inserting) {
  IndexFound = false;
  if (RecordCountOf(ind) == 0) {
    ind.path.clear();
    if (GetNode(ind, ind.root)) ind.entryIndex = 0;
    ind.bof = ind.eof = true;
    return false;
  }
  ind.bof = ind.eof = false;
  ind.path.clear();
  std::string search = key;
  search.resize(ind.keyLength, '\0');
  std::uint32_t block = ind.root;
  int hint = 0;
  int position = 0;
  while (true) {
    if (!Push(ind, block)) return false;
    hint = NodeSearch(ind, search.data(), position);
    if (ind.IsLeaf()) break;
    ind.path.back().position = position;
    block = ind.Child(position);
  }
  if (hint == -2) {
    ind.entryIndex = ind.Count();
    if (!inserting) {
      ind.entryIndex = ind.Count() - 1;
      if (!NextLeaf(ind)) {
        ind.entryIndex = ind.Count();
        return false;
      }
    }
    if (inserting) return false;
  } else {
    ind.entryIndex = position;
    if (hint == -1) return false;
  }
  IndexFound = ind.entryIndex < ind.Count() && CompareKeys(ind, ind.KeyAt(ind.entryIndex), search.data()) == 0;
  return IndexFound;
}

std::int64_t FindFirstLastRec(bool first) {
  IndexFound = false;
  IND* ind = ControllingIndex();
  if (ind == nullptr) {
    const WorkArea* area = CurrentWorkAreaRecord();
    SetError(221, "Index not open. (DBF=" + (area != nullptr ? AreaName(*area) : std::string()) +
                      ") [_FindFirst/LastRec]");
    return 0;
  }
  TableChanged();
  ind->path.clear();
  if (!GetNode(*ind, ind->root)) return 0;
  if (ind->Count() == 0) {
    ind->bof = ind->eof = true;
    // Every record has a key: an empty index of a table with records
    // has lost them.
    if (const std::int64_t count = RecordCountOf(*ind); count > 0) {
      ReportIndexMismatch(*ind, "it holds no key of the table's " + std::to_string(count) + " records",
                          "_FindFirst/LastRec");
      return 0;
    }
    return 1;
  }
  ind->path.clear();
  if (!DescendEdge(*ind, ind->root, first)) return 0;
  ind->bof = ind->eof = false;
  const std::int64_t record = EntryRecord(*ind);
  if (!EntryRecordInTable(*ind, record, "_FindFirst/LastRec")) return 0;
  IndexFound = true;
  SetOldKey(*ind);
  return record;
}

std::int64_t GoTopIndexed() {
  if (Natural(CurrentArea)) return 1;
  return FindFirstLastRec(true);
}

std::int64_t GoBottomIndexed() {
  if (Natural(CurrentArea)) {
    const WorkArea* area = CurrentWorkAreaRecord();
    return area != nullptr ? area->table.recordCount : 0;
  }
  return FindFirstLastRec(false);
}

namespace {

// What the next and prior moves share: an empty table, and natural order,
// answer without the index; true with the answer in result.
bool StepWithoutIndex(WorkArea*& area, IND*& ind, bool forward, std::int64_t& result) {
  IndexFound = false;
  area = CurrentWorkAreaRecord();
  ind = ControllingIndex();
  result = 0;
  if (area == nullptr || ind == nullptr) return true;
  ResyncAfterChange();
  const std::int64_t count = area->table.recordCount;
  const std::int64_t current = area->table.currentRecord;
  if (count == 0) {
    ind->bof = ind->eof = true;
    result = count + 1;
    return true;
  }
  if (!Natural(CurrentArea)) return false;
  if (forward ? current < count : current > 1) {
    result = current + (forward ? 1 : -1);
  } else {
    (forward ? area->table.eof : area->table.bof) = true;
    result = current;
  }
  return true;
}

}  // namespace

namespace {

// One step of a walk that judges where it leads: a record beyond the table
// or a key out of order (ascending forward) is reported, and the walk ends
// there instead of going on short. False at the edge or on such a mismatch
// (damaged set).
bool CheckedStep(IND& ind, bool forward, bool& damaged) {
  damaged = false;
  const bool standing = ind.entryIndex >= 0 && ind.entryIndex < ind.Count();
  const std::string before = standing ? std::string(reinterpret_cast<const char*>(ind.KeyAt(ind.entryIndex)),
                                                    ind.keyLength)
                                      : std::string();
  ind.damageMet = false;
  const bool moved = forward ? StepForward(ind) : StepBackward(ind);
  damaged = ind.damageMet;
  if (!moved) return false;
  const char* operation = forward ? "_FindNextRec" : "_FindPriorRec";
  if (standing) {
    const int order = CompareKeys(ind, ind.KeyAt(ind.entryIndex), before.data());
    if (forward ? order < 0 : order > 0) {
      ReportIndexMismatch(ind, "block " + std::to_string(ind.nodeNumber) + " breaks the order of the keys",
                          operation);
      damaged = true;
      return false;
    }
  }
  if (!EntryRecordInTable(ind, EntryRecord(ind), operation)) {
    damaged = true;
    return false;
  }
  return true;
}

}  // namespace

std::int64_t FindNextRec() {
  WorkArea* area = nullptr;
  IND* ind = nullptr;
  std::int64_t result = 0;
  if (StepWithoutIndex(area, ind, true, result)) return result;
  if (ind->eof) return LastKeyRecord(*ind);
  const std::int64_t before = area->table.currentRecord;
  bool damaged = false;
  if (!CheckedStep(*ind, true, damaged)) {
    if (damaged) return 0;
    const std::int64_t last = LastKeyRecord(*ind);
    if (before == last) {
      ind->eof = true;
      if (EntryRecord(*ind) != last) {
        ind->path.clear();
        DescendEdge(*ind, ind->root, false);
      }
    } else {
      ind->path.clear();
      DescendEdge(*ind, ind->root, false);
    }
  }
  ind->bof = false;
  IndexFound = !ind->eof;
  SetOldKey(*ind);
  return EntryRecord(*ind);
}

std::int64_t FindPriorRec() {
  WorkArea* area = nullptr;
  IND* ind = nullptr;
  std::int64_t result = 0;
  if (StepWithoutIndex(area, ind, false, result)) return result;
  if (ind->eof) {
    ind->eof = false;
    ind->path.clear();
    if (!DescendEdge(*ind, ind->root, false)) return 0;
  } else if (ind->bof) {
    return area->table.currentRecord;
  } else if (bool damaged = false; !CheckedStep(*ind, false, damaged)) {
    if (damaged) return 0;
    if (area->table.currentRecord == FirstKeyRecord(*ind)) ind->bof = true;
  }
  IndexFound = !ind->bof;
  SetOldKey(*ind);
  return EntryRecord(*ind);
}

void PositionOnFirstVisibleKey() {
  WorkArea* area = CurrentWorkAreaRecord();
  IND* ind = ControllingIndex();
  if (area == nullptr || ind == nullptr) return;
  if (FindFirstLastRec(true) > area->table.recordCount) return;
  KeptRecord kept(*area);
  while (true) {
    const std::int64_t candidate = EntryRecord(*ind);
    if (candidate >= 1 && ReadIntoNative(*area, candidate) && RecordAccepted(*area)) break;
    bool damaged = false;
    if (!CheckedStep(*ind, true, damaged)) {
      ind->eof = true;
      break;
    }
  }
  SetOldKey(*ind);
  kept.Restore();
}

bool Find(const std::string& text) {
  const std::string wanted = text.substr(0, kMaxKeyLength);
  IndexFound = false;
  TzError = 0;
  WorkArea* area = CheckDbInUse("Find");
  if (area == nullptr) return false;
  IND* ind = ControllingIndex();
  if (ind == nullptr) {
    SetError(221, "Find");
    return false;
  }
  if (Natural(CurrentArea)) {
    SetError(254, "Cannot use Find() with index order 0 (natural order) [Find]");
    return false;
  }
  if (wanted.empty()) return false;
  if (ind->nodeNumber == 0 || area->table.recordCount == 0) {
    ReadBracket(true);
    FindFirstLastRec(true);
    ReadBracket(false);
    if (ind->eof) return false;
  }
  const std::string key = SearchKeyOf(*ind, wanted);
  ReadBracket(true);
  TableChanged();
  SeekKey(*ind, key);
  ReadBracket(false);
  if (ind->entryIndex >= ind->Count()) StepBackward(*ind);
  std::int64_t record = EntryRecord(*ind);
  // A key that leads beyond the table finds nothing: the index is reported.
  bool damaged = record >= 1 && !EntryRecordInTable(*ind, record, "Find");
  if (record >= 1 && !damaged) {
    StandOn(*area, record);
    while (!RecordAccepted(*area) && !ind->eof) {
      if (!CheckedStep(*ind, true, damaged)) {
        ind->eof = true;
        break;
      }
      record = EntryRecord(*ind);
      StandOn(*area, record);
    }
  }
  if (damaged) {
    EnterEndOfFile(*area);
    ind->eof = true;
    return false;
  }
  SetOldKey(*ind);
  std::size_t compared = ind->keyLength;
  if (ind->charKey && !ExactFind && key.size() < compared) compared = key.size();
  std::string search = key;
  search.resize(ind->keyLength, '\0');
  IndexFound = !ind->eof && record >= 1 && ind->entryIndex < ind->Count() &&
               (ind->charKey ? CompareBytes(ind->KeyAt(ind->entryIndex), search.data(), compared) == 0
                             : CompareKeys(*ind, ind->KeyAt(ind->entryIndex), search.data()) == 0);
  if (!IndexFound && !NearFind) {
    EnterEndOfFile(*area);
    ind->eof = true;
  }
  return IndexFound;
}

bool SoftSyncIndex() {
  WorkArea* area = CurrentWorkAreaRecord();
  IND* ind = ControllingIndex();
  if (area == nullptr || ind == nullptr) return false;
  const std::string key = CurrentRecordKey(*ind);
  const std::int64_t current = area->table.currentRecord;
  SeekKey(*ind, key);
  bool holds = false;
  if (IndexFound) {
    if (ind->unique) {
      SetOldKey(*ind);
      return true;
    }
    while (true) {
      if (ind->entryIndex >= ind->Count() || CompareKeys(*ind, ind->KeyAt(ind->entryIndex), key.data()) != 0) break;
      if (EntryRecord(*ind) == current) {
        holds = true;
        break;
      }
      if (!StepForward(*ind)) break;
    }
  }
  if (!holds) {
    SetError(212, "Record with key: \"" + key + "\" not in index: " + ind->fileName + ". [SoftSyncIndex]");
    return false;
  }
  ind->bof = ind->eof = false;
  SetOldKey(*ind);
  return true;
}

void SyncIndexToRecord() {
  WorkArea* area = CurrentWorkAreaRecord();
  IND* ind = ControllingIndex();
  if (area == nullptr || ind == nullptr || Natural(CurrentArea)) return;
  const std::int64_t current = area->table.currentRecord;
  if (current < 1 || current > area->table.recordCount) {
    ind->eof = true;
    return;
  }
  // Another program's change may have moved the root the search starts at,
  // and changed the record after the copy of it read ahead: both are read
  // again.
  const bool changed = TableChanged();
  if (changed && !ReadIntoNative(*area, current)) return;
  if (!changed && !ind->eof && !ind->bof && EntryRecord(*ind) == current) return;
  SoftSyncIndex();
}

bool TableChanged() {
  if (!TableChangedHook || !TableChangedHook(CurrentArea)) return false;
  ReadAnchorNodes();
  // The anchors just read may lead to keys of records another program
  // appended: the record count is taken from the file together with them,
  // or those records would look as if they lay beyond the table's end.
  if (WorkArea* area = CurrentWorkAreaRecord(); area != nullptr && area->Shared()) {
    DropRecordCache(area->table);
    RefreshRecCountOf(*area, true);
  }
  return true;
}

void ResyncAfterChange() {
  if (!TableChanged()) return;
  WorkArea* area = CurrentWorkAreaRecord();
  IND* ind = ControllingIndex();
  if (area == nullptr) return;
  if (area->table.currentRecord > area->table.recordCount) {
    if (ind != nullptr) ind->eof = true;
    return;
  }
  ReadIntoNative(*area, area->table.currentRecord);
  if (!Natural(CurrentArea)) SoftSyncIndex();
}

bool IndexBof() {
  const IND* ind = ControllingIndex();
  if (ind == nullptr || Natural(CurrentArea)) return dBOF();
  return ind->bof;
}

bool IndexEof() {
  const IND* ind = ControllingIndex();
  if (ind == nullptr || Natural(CurrentArea)) return dEOF();
  return ind->eof;
}

void SetIndexBof() {
  if (IND* ind = ControllingIndex()) ind->bof = true;
}

void SetIndexEof() {
  if (IND* ind = ControllingIndex()) ind->eof = true;
}

}  // namespace dbase
