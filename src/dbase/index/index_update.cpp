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

#include "dbase/engine/dbf_file.h"
#include "dbase/engine/dbf_native.h"
#include "dbase/engine/engine_hooks.h"
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

// A node as an insertion will write it. Every write is planned before the
// first is made, so that they can go out in an order that keeps the tree on
// disk whole should one of them fail (a full disk, a file-size limit).
struct PlannedNode {
  std::uint32_t block = 0;
  Items items;
  bool leaf = false;
  bool fresh = false;  // a block the tree has not used yet
};
using Plan = std::vector<PlannedNode>;

// Reads a node as the plan will write it, else as it is.
bool ReadPlanned(IND& ind, const Plan& plan, std::uint32_t block, std::uint8_t* node) {
  for (auto it = plan.rbegin(); it != plan.rend(); ++it) {
    if (it->block == block) {
      Encode(ind, it->items, it->leaf, node);
      return true;
    }
  }
  return SeekAndRead(ind, block, node);
}

// The greatest key under a node: along the extra children down to a leaf.
bool GreatestKey(IND& ind, const Plan& plan, std::uint32_t block, std::string& key) {
  std::uint8_t node[kBlockSize];
  for (int depth = 0; depth < 64; ++depth) {
    if (!ReadPlanned(ind, plan, block, node)) return false;
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

bool GreatestKey(IND& ind, std::uint32_t block, std::string& key) { return GreatestKey(ind, Plan{}, block, key); }

// The error being reported, kept across the writes that follow it.
class KeptError {
 public:
  KeptError() : code_(TzError), last_(LastErrorCode), detail_(TzErrorDetail) {}
  void Restore() const {
    TzError = code_;
    LastErrorCode = last_;
    TzErrorDetail = detail_;
  }

 private:
  std::uint16_t code_;
  std::uint16_t last_;
  std::string detail_;
};

// The index no longer holds every change of its table: its anchor says so
// (as far as it can still be written), and every open asks for a rebuild.
void MarkOutOfStep(IND& ind) {
  ind.outOfStep = true;
  const KeptError kept;
  RestoreOnExit<bool> quiet(ReportErrors, false);
  WriteAnchorNode(ind);
  kept.Restore();
}

// Writes a planned insertion. The fresh blocks go first: until something
// refers to them a failure leaves the tree as it was. Then what refers to
// them, from the top down (the anchor when the root changes, a parent
// before the node it split): a failure half way leaves every key reachable,
// some twice, none lost, and the index is marked for a rebuild.
bool WriteInsertion(IND& ind, const Plan& plan, std::uint32_t nextFree, std::uint32_t newRoot) {
  for (const PlannedNode& n : plan) {
    if (n.fresh && !WriteItems(ind, n.block, n.items, n.leaf)) return false;
  }
  const std::uint32_t oldRoot = ind.root;
  const std::uint32_t oldNextFree = ind.nextFree;
  ind.nextFree = nextFree;
  ind.anchorModified = true;
  bool changed = false;
  if (newRoot != 0) {
    ind.root = newRoot;
    if (!WriteAnchorNode(ind)) {
      ind.root = oldRoot;
      ind.nextFree = oldNextFree;
      return false;
    }
    changed = true;
  }
  for (auto it = plan.rbegin(); it != plan.rend(); ++it) {
    if (it->fresh) continue;
    if (!WriteItems(ind, it->block, it->items, it->leaf)) {
      if (changed) {
        MarkOutOfStep(ind);
      } else {
        ind.nextFree = oldNextFree;
      }
      return false;
    }
    changed = true;
  }
  return true;
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

// Takes an appended record off the table again; the work area stands on
// the last record. False when the record stays.
bool DropAppendedRecord(WorkArea& area) {
  DbfTable& table = area.table;
  if (table.isVirtual || table.currentRecord != static_cast<std::int64_t>(table.recordCount)) return false;
  const KeptError failure;
  const bool dropped = DropLastRecord(table);
  failure.Restore();
  if (!dropped) return false;
  if (table.recordCount > 0 && ReadIntoNative(area, table.recordCount)) return true;
  table.currentRecord = static_cast<std::int64_t>(table.recordCount) + 1;
  table.eof = true;
  return true;
}

// Puts the bytes of the record being replaced back, as PrepareReplace kept
// them.
bool RestoreReplacedRecord(WorkArea& area) {
  DbfTable& table = area.table;
  const std::string& kept = IndexSlots[static_cast<std::size_t>(CurrentArea)].replacedRecord;
  if (table.isVirtual || kept.size() != table.record.size()) return false;
  const KeptError failure;
  table.record = kept;
  const bool written = PutDbfRecord(table, table.currentRecord);
  if (written) RecordToNative(table, area.native);
  if (written && CommonHooks.updateReadCache) CommonHooks.updateReadCache();
  failure.Restore();
  return written;
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
  Plan plan;
  std::uint32_t nextFree = ind.nextFree;
  std::uint32_t newRoot = 0;
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
    if (at < 0 || at > n) {
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
      plan.push_back({step.block, std::move(items), leaf, false});
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
    lowerBlock = step.block;
    upperBlock = nextFree++;
    const std::uint32_t lowerChild = lower.back().child;
    const std::uint32_t upperChild = upper.back().child;
    if (leaf) {
      lowerKey = lower.back().key;
      upperKey = upper.back().key;
    }
    plan.push_back({lowerBlock, std::move(lower), leaf, false});
    plan.push_back({upperBlock, std::move(upper), leaf, true});
    if (!leaf && (!GreatestKey(ind, plan, lowerChild, lowerKey) || !GreatestKey(ind, plan, upperChild, upperKey))) {
      return -1;
    }
    if (level == 0) {
      // The root split: a new root over both halves.
      newRoot = nextFree++;
      plan.push_back({newRoot, Items{{lowerBlock, 0, lowerKey}, {upperBlock, 0, std::string()}}, false, true});
      break;
    }
    leaf = false;
  }
  if (!WriteInsertion(ind, plan, nextFree, newRoot)) {
    ind.path.clear();
    return -1;
  }
  // The key is in: the anchor takes the count of records the index holds
  // (a failure here leaves an older count, which makes the next open check
  // the tree). A marked change writes its anchor when it is complete.
  if (!ind.changing) WriteAnchorNode(ind);
  if (IsControlling(ind)) {
    StandOnEntry(ind, key, record);
    ind.oldKey = key;
  }
  return 0;
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
  // One write takes the entry out of the tree, and only its success counts:
  // the writes after it tidy up (blocks nothing refers to any more,
  // separators that stay upper bounds), so that a failure of theirs is
  // recorded but misleads no search.
  bool removed = false;
  if (n > 1) {
    items.erase(items.begin() + e);
    removed = WriteItems(ind, leafBlock, items, true);
    // The removed entry was the leaf's greatest: the separators above follow.
    if (removed && e == n - 1 && level > 0) Tighten(ind, level - 1, items.back().key);
  } else if (level == 0) {
    // The index is empty: one empty leaf in block 1.
    removed = WriteItems(ind, leafBlock, Items{}, true);
    if (removed && (leafBlock == 1 || WriteItems(ind, 1, Items{}, true))) {
      ind.root = 1;
      ind.nextFree = 2;
      ind.anchorModified = true;
    }
  } else {
    // The leaf leaves its parent first; cleared afterwards, it is no longer
    // referred to.
    PathStep& parentStep = ind.path[static_cast<std::size_t>(level - 1)];
    Items parent = Decode(ind, parentStep.node.data(), false);
    const int p = parentStep.position;
    if (p < 0 || p >= static_cast<int>(parent.size())) return Corrupted(ind, "DeleteKey") ? 0 : -1;
    parent.erase(parent.begin() + p);
    parent.back().key.clear();
    if (parent.size() > 1) {
      // A removed extra child leaves the separators above as upper bounds.
      removed = WriteItems(ind, parentStep.block, parent, false);
    } else {
      // Only one child is left under the parent: it takes the parent's
      // place, in the anchor or in the grandparent, before the emptied
      // parent is written.
      const std::uint32_t child = parent.front().child;
      if (level - 1 == 0) {
        const std::uint32_t oldRoot = ind.root;
        ind.root = child;
        ind.anchorModified = true;
        removed = WriteAnchorNode(ind);
        if (!removed) ind.root = oldRoot;
      } else {
        PathStep& grandStep = ind.path[static_cast<std::size_t>(level - 2)];
        Items grand = Decode(ind, grandStep.node.data(), false);
        const int q = grandStep.position;
        if (q < 0 || q >= static_cast<int>(grand.size())) return Corrupted(ind, "DeleteKey") ? 0 : -1;
        std::string greatest;
        if (GreatestKey(ind, child, greatest)) {
          const bool extra = q == static_cast<int>(grand.size()) - 1;
          grand[static_cast<std::size_t>(q)].child = child;
          if (!extra) grand[static_cast<std::size_t>(q)].key = greatest;
          removed = WriteItems(ind, grandStep.block, grand, false);
          if (removed && extra) Tighten(ind, level - 3, greatest);
        }
      }
      if (removed) WriteItems(ind, parentStep.block, parent, false);
    }
    if (removed) WriteItems(ind, leafBlock, Items{}, true);
  }
  if (removed && ind.anchorModified) WriteAnchorNode(ind);
  // The path no longer matches the file; the next search starts afresh.
  ind.path.clear();
  return removed ? 0 : -1;
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
    std::array<std::uint32_t, kMaxIndexSlots + 1> held{};
    for (int slot = 1; slot <= kMaxIndexSlots; ++slot) {
      IND* ind = slots.slots[static_cast<std::size_t>(slot)];
      if (ind == nullptr) continue;
      keys[static_cast<std::size_t>(slot)] = CurrentRecordKey(*ind);
      // The anchor written with the key says the index holds the record, if
      // it held every record before it: records other programs appended
      // without this index keep the count below them.
      held[static_cast<std::size_t>(slot)] = ind->heldCount;
      if (static_cast<std::int64_t>(ind->heldCount) + 1 == record) ind->heldCount = static_cast<std::uint32_t>(record);
      if (AppendIndex(*ind, keys[static_cast<std::size_t>(slot)], record) == 0) continue;
      ind->heldCount = held[static_cast<std::size_t>(slot)];
      // An index could not take the key (a full disk): the keys already
      // stored go out again, and the record with them, so that the table
      // and its indexes keep holding the same records.
      KeptError failure;
      for (int lower = 1; lower < slot; ++lower) {
        IND* done = slots.slots[static_cast<std::size_t>(lower)];
        if (done == nullptr) continue;
        done->heldCount = held[static_cast<std::size_t>(lower)];
        if (DeleteKey(*done, keys[static_cast<std::size_t>(lower)], record) == 0) {
          const KeptError deleted;
          RestoreOnExit<bool> quiet(ReportErrors, false);
          WriteAnchorNode(*done);
          deleted.Restore();
          continue;
        }
        SetError(254, "Index file corrupted. " + done->fileName + " [AppendNewKey]");
        failure = KeptError();
        MarkOutOfStep(*done);
      }
      if (!DropAppendedRecord(*area)) {
        // The record stays without its keys.
        for (IND* open : slots.slots) {
          if (open != nullptr) MarkOutOfStep(*open);
        }
      }
      failure.Restore();
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
    // The entries that move: the record's stored key and its new one.
    struct Move {
      IND* ind;
      std::string from;
      std::string to;
      bool inserted = false;
    };
    std::vector<Move> moves;
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
      if (stored != key) moves.push_back({ind, stored, key});
      ind->oldKey = key;
    }
    // The new keys go in first: an index that cannot take one (a full disk)
    // gives the record's old entries back, and the record its old bytes.
    // Only then do the old entries go out, which needs no new block.
    for (Move& move : moves) {
      if (AppendIndex(*move.ind, move.to, current) != 0) break;
      move.inserted = true;
    }
    if (!moves.empty() && !moves.back().inserted) {
      const KeptError failure;
      for (Move& move : moves) {
        move.ind->oldKey = move.from;
        if (move.inserted && DeleteKey(*move.ind, move.to, current) != 0 && !move.ind->unique) {
          MarkOutOfStep(*move.ind);
        }
      }
      const bool backOut = RestoreReplacedRecord(*area);
      for (Move& move : moves) {
        if (!backOut) MarkOutOfStep(*move.ind);
        if (IsControlling(*move.ind)) StandOnEntry(*move.ind, move.from, current);
      }
      failure.Restore();
    } else {
      for (Move& move : moves) {
        if (DeleteKey(*move.ind, move.from, current) != 0) {
          if (TzError == 0) SetError(1, "Key not found in index: " + move.ind->fileName + " [CompareKeys]");
          // A UNIQUE index may lack a record whose key another one holds.
          if (!move.ind->unique) MarkOutOfStep(*move.ind);
        }
        if (IsControlling(*move.ind)) StandOnEntry(*move.ind, move.to, current);
      }
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
  // The record stands as it is stored: its bytes are kept, to be put back
  // should its new keys find no room.
  if (WorkArea* area = CurrentWorkAreaRecord(); area != nullptr && CurrentArea >= 1 && CurrentArea <= kMaxWorkAreas) {
    IndexSlots[static_cast<std::size_t>(CurrentArea)].replacedRecord = area->table.record;
  }
  TableChanged();
  SyncIndexControlling();
  RememberKeys(kMaxIndexSlots, true);
}

}  // namespace dbase
