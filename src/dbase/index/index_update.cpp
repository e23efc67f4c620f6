// Inserting, deleting and moving index entries as records change.
//
// A node is handled here as a list of (child, record, key) items; an inner
// node's list ends with its extra child, whose key is not stored (the
// greatest key of its subtree stands in the node above). The descent path
// that SeekKey leaves behind names the node and the child taken on every
// level, so splits climb it and deletions tighten the separators on it.
#include "dbase/index/index_update.h"

#include <cstring>
#include <vector>

#include "dbase/engine/error_codes.h"
#include "dbase/engine/restore_on_exit.h"
#include "dbase/index/index_anchor.h"
#include "dbase/index/index_search.h"

namespace dbase {

using namespace ndx;

namespace {

struct Item {
  std::uint32_t child = 0;
  std::uint32_t record = 0;
  std::string key;
};
using Items = std::vector<Item>;

Items Decode(const IND& ind, const std::uint8_t* node, bool leaf) {
  const int count = static_cast<std::int16_t>(GetWord(node));
  Items items;
  items.reserve(static_cast<std::size_t>(count) + 2);
  auto entry = [&](int i) { return node + kNodeEntriesOffset + static_cast<std::size_t>(i) * ind.entrySize; };
  for (int i = 0; i < count; ++i) {
    const std::uint8_t* e = entry(i);
    items.push_back({GetDword(e + kEntryChildOffset), GetDword(e + kEntryRecordOffset),
                     std::string(reinterpret_cast<const char*>(e + kEntryKeyOffset), ind.keyLength)});
  }
  if (!leaf) items.push_back({GetDword(entry(count) + kEntryChildOffset), 0, std::string()});
  return items;
}

void Encode(const IND& ind, const Items& items, bool leaf, std::uint8_t* node) {
  std::memset(node, 0, kBlockSize);
  const std::size_t keyed = leaf ? items.size() : items.size() - 1;
  PutWord(node, static_cast<std::uint16_t>(keyed));
  for (std::size_t i = 0; i < items.size(); ++i) {
    std::uint8_t* e = node + kNodeEntriesOffset + i * ind.entrySize;
    PutDword(e + kEntryChildOffset, items[i].child);
    if (i == keyed) break;
    PutDword(e + kEntryRecordOffset, items[i].record);
    std::memcpy(e + kEntryKeyOffset, items[i].key.data(), std::min<std::size_t>(items[i].key.size(), ind.keyLength));
  }
}

bool WriteItems(IND& ind, std::uint32_t block, const Items& items, bool leaf) {
  std::uint8_t node[kBlockSize];
  Encode(ind, items, leaf, node);
  return SeekAndWrite(ind, block, node);
}

// The greatest key under a node: along the extra children down to a leaf.
bool GreatestKey(IND& ind, std::uint32_t block, std::string& key) {
  std::uint8_t node[kBlockSize];
  for (int depth = 0; depth < 64; ++depth) {
    if (!SeekAndRead(ind, block, node)) return false;
    const int count = static_cast<std::int16_t>(GetWord(node));
    const std::uint8_t* first = node + kNodeEntriesOffset;
    if (count == 0 || GetDword(first + kEntryChildOffset) == 0) {
      if (count <= 0) return false;
      key.assign(reinterpret_cast<const char*>(first + static_cast<std::size_t>(count - 1) * ind.entrySize +
                                               kEntryKeyOffset),
                 ind.keyLength);
      return true;
    }
    block = GetDword(first + static_cast<std::size_t>(count) * ind.entrySize + kEntryChildOffset);
  }
  SetError(222, "Invalid dBASE key expression or corrupted index file " + ind.fileName);
  return false;
}

bool Corrupted(IND& ind, const char* where) {
  SetError(254, "Index file corrupted. " + ind.fileName + " [" + where + "]");
  return false;
}

bool SameKey(const IND& ind, const std::uint8_t* stored, const std::string& key) {
  return CompareKeys(ind, stored, key.data()) == 0;
}

// Sets, from a level upward, the separator of the node below to the key;
// through extra children (which carry no key) the climb goes on.
bool Tighten(IND& ind, int level, const std::string& key) {
  for (; level >= 0; --level) {
    PathStep& step = ind.path[static_cast<std::size_t>(level)];
    Items items = Decode(ind, step.node.data(), false);
    const int p = step.position;
    if (p < 0 || p >= static_cast<int>(items.size())) return Corrupted(ind, "DeleteKey");
    if (p < static_cast<int>(items.size()) - 1) {
      items[static_cast<std::size_t>(p)].key = key;
      return WriteItems(ind, step.block, items, false);
    }
  }
  return true;
}

bool IsControlling(const IND& ind) { return IndexOfSlot(ind.area, 1) == &ind; }

// Puts an index on the entry (key, record); false when it has none.
bool StandOnEntry(IND& ind, const std::string& key, std::int64_t record) {
  SeekKey(ind, key);
  while (ind.entryIndex < ind.Count() && SameKey(ind, ind.KeyAt(ind.entryIndex), key)) {
    if (ind.RecordAt(ind.entryIndex) == record) return true;
    if (!StepIndexForward(ind)) break;
  }
  return false;
}

}  // namespace

int AppendIndex(IND& ind, const std::string& key, std::int64_t record) {
  const bool found = SeekKey(ind, key, true);
  if (TzError != 0 || ind.path.empty() || ind.path.back().block != ind.nodeNumber) {
    if (TzError == 0) Corrupted(ind, "AppendIndex");
    return -1;
  }
  if (found && ind.unique) return 0;
  // Equal keys stay in record order.
  while (ind.entryIndex < ind.Count() && SameKey(ind, ind.KeyAt(ind.entryIndex), key) &&
         ind.RecordAt(ind.entryIndex) < record) {
    if (!StepIndexForward(ind)) {
      ind.entryIndex = ind.Count();
      break;
    }
  }
  const Item entry{0, static_cast<std::uint32_t>(record), key};
  // The two halves of the last split, for the level above.
  std::uint32_t lowerBlock = 0;
  std::uint32_t upperBlock = 0;
  std::string lowerKey;
  std::string upperKey;
  int at = ind.entryIndex;
  bool leaf = true;
  for (int level = static_cast<int>(ind.path.size()) - 1;; --level) {
    PathStep& step = ind.path[static_cast<std::size_t>(level)];
    if (!leaf) at = step.position;
    Items items = Decode(ind, step.node.data(), leaf);
    const int n = leaf ? static_cast<int>(items.size()) : static_cast<int>(items.size()) - 1;
    if (at < 0 || at > (leaf ? n : n)) {
      Corrupted(ind, "AppendIndex");
      return -1;
    }
    // Leaf: the entry goes in at its place. Inner: the split child keeps its
    // place with its new greatest key and the new node follows it.
    auto place = [&](Items& list, int position) {
      if (leaf) {
        list.insert(list.begin() + position, entry);
        return;
      }
      const bool wasExtra = position == static_cast<int>(list.size()) - 1;
      list[static_cast<std::size_t>(position)].key = lowerKey;
      list.insert(list.begin() + position + 1, Item{upperBlock, 0, wasExtra ? std::string() : upperKey});
    };
    const bool room = n < ind.keysPerNode &&
                      (leaf || kNodeEntriesOffset + static_cast<std::size_t>(n + 1) * ind.entrySize + 4 <= kBlockSize);
    if (room) {
      place(items, at);
      if (!WriteItems(ind, step.block, items, leaf)) return -1;
      break;
    }
    // Split: the new node takes the upper n div 2 entries (and the extra
    // child); the old one keeps the rest, an inner one giving up the key of
    // its last entry, whose child becomes its extra child.
    const int keep = n - n / 2;
    Items lower(items.begin(), items.begin() + keep);
    Items upper(items.begin() + keep, items.end());
    if (!leaf) lower.back().key.clear();
    if (at < keep) {
      place(lower, at);
    } else {
      place(upper, at - keep);
    }
    const std::uint32_t newBlock = ind.nextFree++;
    ind.anchorModified = true;
    if (!WriteItems(ind, step.block, lower, leaf) || !WriteItems(ind, newBlock, upper, leaf)) return -1;
    lowerBlock = step.block;
    upperBlock = newBlock;
    if (leaf) {
      lowerKey = lower.back().key;
      upperKey = upper.back().key;
    } else if (!GreatestKey(ind, lower.back().child, lowerKey) || !GreatestKey(ind, upper.back().child, upperKey)) {
      return -1;
    }
    if (level == 0) {
      // The root split: a new root over both halves.
      const std::uint32_t rootBlock = ind.nextFree++;
      const Items root{{lowerBlock, 0, lowerKey}, {upperBlock, 0, std::string()}};
      if (!WriteItems(ind, rootBlock, root, false)) return -1;
      ind.root = rootBlock;
      break;
    }
    leaf = false;
  }
  ind.anchorModified = true;
  if (!WriteAnchorNode(ind)) return -1;
  if (IsControlling(ind)) {
    StandOnEntry(ind, key, record);
    ind.oldKey = key;
  }
  return TzError == 0 ? 0 : -1;
}

int DeleteKey(IND& ind, const std::string& key, std::int64_t record) {
  const int missing = ind.unique ? 0 : -1;
  if (!SeekKey(ind, key)) return -1;
  while (true) {
    if (ind.entryIndex >= ind.Count() || !SameKey(ind, ind.KeyAt(ind.entryIndex), key)) return missing;
    if (ind.RecordAt(ind.entryIndex) == record) break;
    if (!StepIndexForward(ind)) return missing;
  }
  if (ind.path.empty() || ind.path.back().block != ind.nodeNumber) return Corrupted(ind, "DeleteKey") ? 0 : -1;
  const int level = static_cast<int>(ind.path.size()) - 1;
  PathStep& leafStep = ind.path.back();
  const std::uint32_t leafBlock = leafStep.block;
  Items items = Decode(ind, leafStep.node.data(), true);
  const int e = ind.entryIndex;
  const int n = static_cast<int>(items.size());
  bool ok = true;
  if (n > 1) {
    items.erase(items.begin() + e);
    ok = WriteItems(ind, leafBlock, items, true);
    // The removed entry was the leaf's greatest: the separators above follow.
    if (ok && e == n - 1 && level > 0) ok = Tighten(ind, level - 1, items.back().key);
  } else {
    ok = WriteItems(ind, leafBlock, Items{}, true);
    if (ok && level == 0) {
      // The index is empty: one empty leaf in block 1.
      if (leafBlock != 1) ok = WriteItems(ind, 1, Items{}, true);
      ind.root = 1;
      ind.nextFree = 2;
      ind.anchorModified = true;
    } else if (ok) {
      PathStep& parentStep = ind.path[static_cast<std::size_t>(level - 1)];
      Items parent = Decode(ind, parentStep.node.data(), false);
      const int p = parentStep.position;
      if (p < 0 || p >= static_cast<int>(parent.size())) return Corrupted(ind, "DeleteKey") ? 0 : -1;
      parent.erase(parent.begin() + p);
      parent.back().key.clear();
      ok = WriteItems(ind, parentStep.block, parent, false);
      if (ok && parent.size() == 1) {
        // Only one child is left under the parent: it takes the parent's place.
        const std::uint32_t child = parent.front().child;
        if (level - 1 == 0) {
          ind.root = child;
          ind.anchorModified = true;
        } else {
          std::string greatest;
          ok = GreatestKey(ind, child, greatest);
          PathStep& grandStep = ind.path[static_cast<std::size_t>(level - 2)];
          Items grand = Decode(ind, grandStep.node.data(), false);
          const int q = grandStep.position;
          if (q < 0 || q >= static_cast<int>(grand.size())) return Corrupted(ind, "DeleteKey") ? 0 : -1;
          const bool extra = q == static_cast<int>(grand.size()) - 1;
          grand[static_cast<std::size_t>(q)].child = child;
          if (!extra) grand[static_cast<std::size_t>(q)].key = greatest;
          if (ok) ok = WriteItems(ind, grandStep.block, grand, false);
          if (ok && extra) ok = Tighten(ind, level - 3, greatest);
        }
      }
      // A removed extra child leaves the separators above as upper bounds.
    }
  }
  if (ok && ind.anchorModified) ok = WriteAnchorNode(ind);
  // The path no longer matches the file; the next search starts afresh.
  ind.path.clear();
  return ok && TzError == 0 ? 0 : -1;
}

void AppendNewKey() {
  WorkArea* area = CurrentWorkAreaRecord();
  if (area == nullptr || CurrentArea < 1 || CurrentArea > kMaxWorkAreas) return;
  AreaIndexes& slots = IndexSlots[static_cast<std::size_t>(CurrentArea)];
  {
    RestoreOnExit<bool> natural(slots.naturalOrder, false);
    TableChanged();
    const std::int64_t record = area->table.currentRecord;
    std::array<std::string, kMaxIndexSlots + 1> keys;
    for (int slot = 1; slot <= kMaxIndexSlots; ++slot) {
      IND* ind = slots.slots[static_cast<std::size_t>(slot)];
      if (ind == nullptr) continue;
      keys[static_cast<std::size_t>(slot)] = CurrentRecordKey(*ind);
      if (AppendIndex(*ind, keys[static_cast<std::size_t>(slot)], record) == 0) continue;
      // The keys already inserted go out again.
      const std::uint16_t code = TzError;
      const std::string detail = TzErrorDetail;
      for (int lower = 1; lower < slot; ++lower) {
        IND* done = slots.slots[static_cast<std::size_t>(lower)];
        if (done == nullptr) continue;
        if (DeleteKey(*done, keys[static_cast<std::size_t>(lower)], area->table.recordCount) != 0) {
          SetError(254, "Index file corrupted. " + done->fileName + " [AppendNewKey]");
          return;
        }
      }
      if (TzError == 0 && code != 0) {
        TzError = code;
        TzErrorDetail = detail;
      }
      return;
    }
  }
  SyncIndex(false);
  RememberKeys(1, false);
}

void CompareKeys() {
  WorkArea* area = CurrentWorkAreaRecord();
  if (area == nullptr || CurrentArea < 1 || CurrentArea > kMaxWorkAreas) return;
  AreaIndexes& slots = IndexSlots[static_cast<std::size_t>(CurrentArea)];
  {
    RestoreOnExit<bool> natural(slots.naturalOrder, false);
    const std::int64_t current = area->table.currentRecord;
    for (int slot = 1; slot <= kMaxIndexSlots; ++slot) {
      IND* ind = slots.slots[static_cast<std::size_t>(slot)];
      if (ind == nullptr) continue;
      const std::string key = CurrentRecordKey(*ind);
      const int e = ind->entryIndex;
      const bool inNode = e >= 0 && e < ind->keysPerNode;
      if ((!inNode || ind->RecordAt(e) != current) && !ind->unique) {
        SetError(254, "Record number " + std::to_string(current) + " not found in index. " + ind->fileName +
                          " [CompareKeys]");
        break;
      }
      const std::string stored = inNode ? std::string(reinterpret_cast<const char*>(ind->KeyAt(e)), ind->keyLength)
                                        : ind->oldKey;
      if (stored != key) {
        if (DeleteKey(*ind, stored, current) != 0) {
          if (TzError == 0) SetError(1, "Key not found in index: " + ind->fileName + " [CompareKeys]");
          break;
        }
        if (AppendIndex(*ind, key, current) != 0 || TzError != 0) break;
      }
      ind->oldKey = key;
    }
  }
  RememberKeys(1, false);
}

void SyncIndex(bool all) {
  WorkArea* area = CurrentWorkAreaRecord();
  if (area == nullptr || CurrentArea < 1 || CurrentArea > kMaxWorkAreas) return;
  AreaIndexes& slots = IndexSlots[static_cast<std::size_t>(CurrentArea)];
  RestoreOnExit<bool> natural(slots.naturalOrder, false);
  const std::int64_t current = area->table.currentRecord;
  const bool onRecord = current >= 1 && current <= static_cast<std::int64_t>(area->table.recordCount);
  if (onRecord) TableChanged();
  for (int slot = 1; slot <= (all ? kMaxIndexSlots : 1); ++slot) {
    IND* ind = slots.slots[static_cast<std::size_t>(slot)];
    if (ind == nullptr) continue;
    if (!onRecord) {
      if (slot == 1) {
        ind->eof = true;
      } else {
        DescendToEdge(*ind, false);
      }
      continue;
    }
    const std::string key = CurrentRecordKey(*ind);
    if (!SeekKey(*ind, key)) {
      SetError(212, "Key: \"" + key + "\" not in index: " + ind->fileName + ". [SyncIndex-1] Record: " +
                        std::to_string(current));
      break;
    }
    if (!ind->unique && !StandOnEntry(*ind, key, current)) {
      SetError(212, "Record with key: \"" + key + "\" not in index: " + ind->fileName + ". [SyncIndex-2]");
      break;
    }
    ind->bof = ind->eof = false;
    ind->oldKey = key;
  }
}

void SyncIndexControlling() { SyncIndex(false); }

void RememberKeys(int slotCount, bool setEntry) {
  WorkArea* area = CurrentWorkAreaRecord();
  if (area == nullptr || CurrentArea < 1 || CurrentArea > kMaxWorkAreas) return;
  AreaIndexes& slots = IndexSlots[static_cast<std::size_t>(CurrentArea)];
  const std::int64_t current = area->table.currentRecord;
  const bool onRecord = current >= 1 && current <= static_cast<std::int64_t>(area->table.recordCount);
  for (int slot = 1; slot <= std::min(slotCount, kMaxIndexSlots); ++slot) {
    IND* ind = slots.slots[static_cast<std::size_t>(slot)];
    if (ind == nullptr) continue;
    const std::string key = onRecord ? CurrentRecordKey(*ind) : std::string(ind->keyLength, ind->charKey ? ' ' : '\0');
    ind->oldKey = key;
    if (!setEntry) continue;
    if (ind->eof || ind->entryIndex < 0 || ind->entryIndex >= ind->Count()) ind->entryIndex = 0;
    std::uint8_t* entry = ind->Entry(ind->entryIndex);
    PutDword(entry + kEntryRecordOffset, static_cast<std::uint32_t>(current));
    std::memcpy(entry + kEntryKeyOffset, key.data(), ind->keyLength);
  }
}

void PrepareReplace() {
  TableChanged();
  SyncIndexControlling();
  RememberKeys(kMaxIndexSlots, true);
}

}  // namespace dbase
