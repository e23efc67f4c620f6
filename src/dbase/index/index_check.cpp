// Checking an index against its table (see index_check.h).
#include "dbase/index/index_check.h"

#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <functional>
#include <string_view>
#include <vector>

#include "dbase/engine/dbf_file.h"
#include "dbase/engine/engine_code_page.h"
#include "dbase/engine/engine_hooks.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/work_areas.h"
#include "dbase/index/index_anchor.h"
#include "dbase/index/index_build.h"
#include "dbase/index/index_search.h"
#include "dbase/index/key_primitives.h"

namespace dbase {

using namespace ndx;

namespace {

// A deeper tree means a cycle in a damaged file.
constexpr int kMaxDepth = 64;

WorkArea* AreaOf(const IND& ind) {
  return (ind.area >= 1 && ind.area <= kMaxWorkAreas) ? WorkAreas[static_cast<std::size_t>(ind.area)].get()
                                                      : nullptr;
}

// The table's name as an anchor stores it.
std::string StoredTableName(const DbfTable& table) {
  std::string name = table.tableName;
  const std::size_t slash = name.find_last_of('/');
  if (slash != std::string::npos) name = name.substr(slash + 1);
  name = name.substr(0, kTableNameLength);
  return table.oem ? AnsiToOemStr(name) : name;
}

// The key bytes as one number: two keys the index calls equal give the
// same number (a numeric zero may be stored with either sign).
std::uint64_t KeyHash(const IND& ind, const char* key) {
  if (!ind.charKey && KeyNumber(key) == 0) return 0;
  return std::hash<std::string_view>{}(std::string_view(key, ind.keyLength));
}

// The tree is walked once, node by node, and the table then read once in
// file order: a record's key is compared with what the walk noted for it
// (a hash of the key the tree lists it under), so that the check costs
// about what reading the table costs, not a search per record.
class TreeCheck {
 public:
  TreeCheck(IND& ind, WorkArea& area, std::string operation, std::uint32_t count)
      : ind_(ind), area_(area), operation_(std::move(operation)), count_(count) {}

  bool Run() {
    struct stat info {};
    blocks_ = ::fstat(ind_.fd, &info) == 0 ? static_cast<std::uint64_t>(info.st_size) / kBlockSize : 0;
    listed_.assign(static_cast<std::size_t>(count_) + 1, false);
    hashes_.assign(static_cast<std::size_t>(count_) + 1, 0);
    visited_.assign(static_cast<std::size_t>(blocks_), false);
    if (!Node(ind_.root, 0, nullptr, nullptr)) return false;
    KeptRecord kept(area_);
    const bool ok = Complete();
    kept.Restore();
    return ok;
  }

 private:
  bool Fail(const std::string& what) {
    ReportIndexMismatch(ind_, what, operation_);
    return false;
  }

  const std::uint8_t* EntryOf(const std::uint8_t* node, int i) const {
    return node + kNodeEntriesOffset + static_cast<std::size_t>(i) * ind_.entrySize;
  }

  std::string KeyOf(const std::uint8_t* entry) const {
    return std::string(reinterpret_cast<const char*>(entry + kEntryKeyOffset), ind_.keyLength);
  }

  int Compare(const std::string& a, const std::string& b) const { return CompareKeys(ind_, a.data(), b.data()); }

  // Any tree whose keys stand in order, each within the range its parent
  // gives it, is whole: leaves may lie at different depths (the build
  // leaves a shorter branch at the end, and other programs' trees differ).
  bool Node(std::uint32_t block, int depth, const std::string* low, const std::string* high) {
    const std::string where = "block " + std::to_string(block);
    if (block == 0 || block >= blocks_) return Fail(where + " lies outside the file");
    if (visited_[block]) return Fail(where + " is reached twice");
    if (depth > kMaxDepth) return Fail(where + " lies deeper than any tree");
    visited_[block] = true;
    std::uint8_t node[kBlockSize];
    if (!SeekAndRead(ind_, block, node)) return false;
    const int count = static_cast<std::int16_t>(GetWord(node));
    if (count < 0 || count > ind_.keysPerNode) return Fail(where + " counts " + std::to_string(count) + " entries");
    if (count == 0) return depth == 0 ? true : Fail(where + " is empty");
    const bool leaf = GetDword(EntryOf(node, 0) + kEntryChildOffset) == 0;
    std::string lower = low != nullptr ? *low : std::string();
    for (int i = 0; i < count; ++i) {
      const std::uint8_t* entry = EntryOf(node, i);
      const std::string key = KeyOf(entry);
      if ((low != nullptr && Compare(key, *low) < 0) || (high != nullptr && Compare(key, *high) > 0)) {
        return Fail(where + " holds a key outside the range its parent gives it");
      }
      const std::uint32_t child = GetDword(entry + kEntryChildOffset);
      if (!leaf) {
        if (child == 0) return Fail(where + " mixes leaf and inner entries");
        if (i > 0 && Compare(key, lower) < 0) return Fail(where + " holds its keys out of order");
        if (!Node(child, depth + 1, i > 0 || low != nullptr ? &lower : nullptr, &key)) return false;
        lower = key;
        continue;
      }
      if (child != 0) return Fail(where + " mixes leaf and inner entries");
      if (hasPrevious_ && Compare(key, previous_) < 0) return Fail(where + " holds its keys out of order");
      previous_ = key;
      hasPrevious_ = true;
      const std::int64_t record = GetDword(entry + kEntryRecordOffset);
      if (record < 1 || record > static_cast<std::int64_t>(count_)) {
        return Fail("it lists record " + std::to_string(record) + ", which the table (" + std::to_string(count_) +
                    " records) does not have");
      }
      const auto at = static_cast<std::size_t>(record);
      if (listed_[at]) return Fail("it lists record " + std::to_string(record) + " twice");
      listed_[at] = true;
      hashes_[at] = KeyHash(ind_, key.data());
      if (ind_.unique) keys_.push_back(hashes_[at]);
    }
    if (leaf) return true;
    const std::uint32_t extra = GetDword(EntryOf(node, count) + kEntryChildOffset);
    if (extra == 0) return Fail(where + " lacks its last child");
    return Node(extra, depth + 1, &lower, high);
  }

  // Every record holds the key it is listed under, and every record is
  // listed (an index that is not UNIQUE) or its key is (a UNIQUE one keeps
  // one record of each key).
  bool Complete() {
    std::sort(keys_.begin(), keys_.end());
    return ForEachRecordInFileOrder(ind_, area_, count_, operation_, [this](std::int64_t record) {
      std::string key = CurrentRecordKey(ind_);
      if (TzError == 358) TzError = 0;
      if (TzError != 0) return false;
      const std::uint64_t hash = KeyHash(ind_, key.data());
      const auto at = static_cast<std::size_t>(record);
      if (listed_[at]) {
        if (hashes_[at] == hash) return true;
        return Fail("it lists record " + std::to_string(record) + " under a key the record does not have");
      }
      if (!ind_.unique) return Fail("record " + std::to_string(record) + " is missing from it");
      if (!std::binary_search(keys_.begin(), keys_.end(), hash)) {
        return Fail("the key of record " + std::to_string(record) + " is missing from it");
      }
      return true;
    });
  }

  IND& ind_;
  WorkArea& area_;
  std::string operation_;
  std::uint32_t count_;
  std::uint64_t blocks_ = 0;
  // Per record whether the tree lists it, and the hash of the key it is
  // listed under.
  std::vector<bool> listed_;
  std::vector<std::uint64_t> hashes_;
  std::vector<bool> visited_;
  std::string previous_;
  bool hasPrevious_ = false;
  std::vector<std::uint64_t> keys_;
};

}  // namespace

TrailerVerdict JudgeTrailer(const std::uint8_t* anchorBlock, const DbfTable& table) {
  const std::uint32_t count = GetDword(anchorBlock + kRecordCountOffset);
  if (GetDword(anchorBlock + kNotRecordCountOffset) != ~count) return TrailerVerdict::Doubtful;
  if (count == kNeedsRebuildCount) return TrailerVerdict::NeedsRebuild;
  if (count != table.recordCount) return TrailerVerdict::Doubtful;
  const std::string stored =
      ZToStrN(reinterpret_cast<const char*>(anchorBlock + kTableNameOffset), kTableNameLength);
  if (::strcasecmp(stored.c_str(), StoredTableName(table).c_str()) != 0) return TrailerVerdict::Doubtful;
  return TrailerVerdict::Trusted;
}

bool CheckIndexAgainstTable(IND& ind, const std::string& operation) {
  WorkArea* area = AreaOf(ind);
  if (area == nullptr) return false;
  // Inside the read bracket no program that has indexes of the table open
  // writes: its appended records have their keys, its changed records their
  // new keys. The anchor, the record count and the records are taken from
  // the file now, not from what this program read before the bracket.
  if (IndexHooks.readSemaphore) IndexHooks.readSemaphore(true);
  const std::uint16_t keyLength = ind.keyLength;
  const char keyType = ind.keyType;
  bool ok = ReadAnchorHeader(ind, operation);
  if (ok && (ind.keyLength != keyLength || ind.keyType != keyType || ind.entrySize != EntrySizeOf(keyLength) ||
             ind.keysPerNode != KeysPerNodeOf(ind.entrySize))) {
    ReportIndexMismatch(ind, "it was built anew while it was being opened", operation);
    ok = false;
  }
  if (ok) {
    RefreshRecCountOf(*area, true);
    DropRecordCache(area->table);
    const std::uint32_t count = area->table.recordCount;
    ok = TreeCheck(ind, *area, operation, count).Run();
    if (ok) ind.heldCount = count;
    // The verdict goes into the trailer, so that the next open trusts the
    // index without checking it again; a table opened read-only leaves its
    // index unwritten, and a verdict that cannot be written is no error.
    if (ok && !ind.readOnly && !area->table.isVirtual) {
      const std::uint16_t code = TzError;
      const std::uint16_t last = LastErrorCode;
      const std::string detail = TzErrorDetail;
      const bool report = SetReportErrors(false);
      WriteIndexVerdict(ind, count);
      SetReportErrors(report);
      TzError = code;
      LastErrorCode = last;
      TzErrorDetail = detail;
    }
  }
  if (IndexHooks.readSemaphore) IndexHooks.readSemaphore(false);
  ind.path.clear();
  return ok;
}

void ReportIndexMismatch(const IND& ind, const std::string& what, const std::string& operation) {
  const WorkArea* area = AreaOf(ind);
  const std::string table = area != nullptr ? AreaName(*area) : std::string();
  SetError(222, "The index " + ind.fileName + " does not match its table " + table + ": " + what +
                    ". Rebuild the index. [" + operation + "]");
}

bool EntryRecordInTable(IND& ind, std::int64_t record, const std::string& operation) {
  WorkArea* area = AreaOf(ind);
  if (area == nullptr || (record >= 1 && record <= static_cast<std::int64_t>(area->table.recordCount))) return true;
  // Another program may have appended the record meanwhile.
  if (record >= 1) {
    RefreshRecCountOf(*area);
    if (record <= static_cast<std::int64_t>(area->table.recordCount)) return true;
  }
  ReportIndexMismatch(ind, "it lists record " + std::to_string(record) + ", which the table (" +
                               std::to_string(area->table.recordCount) + " records) does not have",
                      operation);
  return false;
}

}  // namespace dbase
