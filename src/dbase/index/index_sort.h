// The sort phase of an index build: (key, record number) entries collected
// in pools of the pool ring, sorted through an array of pointers, spilled as
// sorted runs to one temporary run file when the pointers are used up, and
// handed out in key order (record number breaking ties) from memory or by
// merging the runs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dbase/index/key_primitives.h"

namespace dbase {

// The largest pool and the pointer capacity that follows from it.
inline constexpr std::size_t kSortPoolSize = 32758;
inline constexpr std::size_t kSortPointers = kSortPoolSize / 4;
inline constexpr std::size_t kRunBufferTotal = 4 * 1024 * 1024;

class KeySorter {
 public:
  // Character keys compare as bytes, others as doubles.
  KeySorter(std::size_t keyLength, bool charKey, std::size_t pointerCapacity = kSortPointers);
  ~KeySorter();
  KeySorter(const KeySorter&) = delete;
  KeySorter& operator=(const KeySorter&) = delete;

  // Adds an entry; false after an error (recorded through SetError).
  bool Add(const std::uint8_t* key, std::uint32_t record);
  // Ends the sort phase: sorts what is in memory and prepares the merge.
  bool Finish();
  // The next entry in order; false at the end or after an error.
  bool Next(const std::uint8_t*& key, std::uint32_t& record);
  std::size_t RunCount() const { return runs_.size(); }

 private:
  struct Run {
    std::int64_t next = 0;       // file position of the next unread part
    std::uint64_t remaining = 0;  // entries not yet read
    std::vector<std::uint8_t> buffer;
    std::size_t filled = 0;
    std::size_t offset = 0;
  };
  bool Less(const std::uint8_t* a, const std::uint8_t* b) const;
  void SortPointers();
  bool WriteRun();
  bool Refill(Run& run);
  std::uint8_t* EntrySlot();

  std::size_t keyLength_;
  std::size_t entrySize_;
  bool charKey_;
  std::size_t capacity_;
  PoolBlock* ring_ = nullptr;
  std::vector<PoolBlock*> pools_;
  std::size_t perPool_;
  std::vector<std::uint8_t*> pointers_;
  std::size_t used_ = 0;
  std::string runFile_;
  int runFd_ = -1;
  std::int64_t runEnd_ = 0;
  std::vector<Run> runs_;
  std::vector<std::size_t> heap_;  // runs ordered by their current entry
  std::size_t output_ = 0;
  bool finished_ = false;
  bool failed_ = false;
  const std::uint8_t* lastOut_ = nullptr;
};

}  // namespace dbase
