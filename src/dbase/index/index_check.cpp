// Checking an index against its table (see index_check.h).
#include "dbase/index/index_check.h"

#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <vector>

#include "dbase/engine/engine_code_page.h"
#include "dbase/engine/engine_hooks.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/work_areas.h"
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

class TreeCheck {
 public:
  TreeCheck(IND& ind, WorkArea& area, std::string operation)
      : ind_(ind), area_(area), operation_(std::move(operation)), count_(area.table.recordCount) {}

  bool Run() {
    struct stat info {};
    blocks_ = ::fstat(ind_.fd, &info) == 0 ? static_cast<std::uint64_t>(info.st_size) / kBlockSize : 0;
    seen_.assign(static_cast<std::size_t>(count_) + 1, false);
    visited_.assign(static_cast<std::size_t>(blocks_), false);
    KeptRecord kept(area_);
    const bool ok = Node(ind_.root, 0, nullptr, nullptr) && Complete();
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

  // The key the record holds now, as the index would store it.
  bool RecordKey(std::int64_t record, std::string& key) {
    if (!ReadIntoNative(area_, record)) return false;
    key = CurrentRecordKey(ind_);
    if (TzError == 358) TzError = 0;
    return TzError == 0;
  }

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
    if (leaf) {
      if (leafDepth_ >= 0 && depth != leafDepth_) return Fail(where + " is a leaf at another depth than the others");
      leafDepth_ = depth;
    }
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
      if (seen_[static_cast<std::size_t>(record)]) return Fail("it lists record " + std::to_string(record) + " twice");
      seen_[static_cast<std::size_t>(record)] = true;
      ++entries_;
      std::string held;
      if (!RecordKey(record, held)) return false;
      if (Compare(held, key) != 0) {
        return Fail("it lists record " + std::to_string(record) + " under a key the record does not have");
      }
      if (ind_.unique) keys_.push_back(key);
    }
    if (leaf) return true;
    const std::uint32_t extra = GetDword(EntryOf(node, count) + kEntryChildOffset);
    if (extra == 0) return Fail(where + " lacks its last child");
    return Node(extra, depth + 1, &lower, high);
  }

  // Every record is there (an index that is not UNIQUE), or its key is (a
  // UNIQUE one keeps the first record of each key).
  bool Complete() {
    for (std::int64_t record = 1; record <= static_cast<std::int64_t>(count_); ++record) {
      if (seen_[static_cast<std::size_t>(record)]) continue;
      if (!ind_.unique) return Fail("record " + std::to_string(record) + " is missing from it");
      std::string key;
      if (!RecordKey(record, key)) return false;
      const bool held = std::binary_search(keys_.begin(), keys_.end(), key,
                                           [this](const std::string& a, const std::string& b) {
                                             return Compare(a, b) < 0;
                                           });
      if (!held) return Fail("the key of record " + std::to_string(record) + " is missing from it");
    }
    return true;
  }

  IND& ind_;
  WorkArea& area_;
  std::string operation_;
  std::uint32_t count_;
  std::uint64_t blocks_ = 0;
  std::vector<bool> seen_;
  std::vector<bool> visited_;
  int leafDepth_ = -1;
  std::string previous_;
  bool hasPrevious_ = false;
  std::uint64_t entries_ = 0;
  std::vector<std::string> keys_;
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
  // Another program's appends count, and its writes wait meanwhile.
  if (IndexHooks.readSemaphore) IndexHooks.readSemaphore(true);
  RefreshRecCountOf(*area);
  TreeCheck check(ind, *area, operation);
  const bool ok = check.Run();
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
