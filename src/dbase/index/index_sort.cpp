// Pools, in-memory sort, run file and k-way merge of an index build.
#include "dbase/index/index_sort.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "dbase/common/file_routines.h"
#include "dbase/engine/dbf_file.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/os_errors.h"
#include "dbase/index/index_control.h"

namespace dbase {

KeySorter::KeySorter(std::size_t keyLength, bool charKey, std::size_t pointerCapacity)
    : keyLength_(keyLength),
      entrySize_(keyLength + 4),
      charKey_(charKey),
      capacity_(std::max<std::size_t>(pointerCapacity, 1)),
      perPool_(kSortPoolSize / (keyLength + 4)) {
  pointers_.reserve(capacity_);
}

KeySorter::~KeySorter() {
  FreePoolRing(ring_);
  if (runFd_ >= 0) ::close(runFd_);
  if (!runFile_.empty()) ::unlink(runFile_.c_str());
}

bool KeySorter::Less(const std::uint8_t* a, const std::uint8_t* b) const {
  const int c = charKey_ ? CompareBytes(a, b, keyLength_) : CompareFloat(KeyNumber(a), KeyNumber(b));
  if (c != 0) return c < 0;
  std::uint32_t ra = 0;
  std::uint32_t rb = 0;
  std::memcpy(&ra, a + keyLength_, 4);
  std::memcpy(&rb, b + keyLength_, 4);
  return ra < rb;
}

void KeySorter::SortPointers() {
  std::sort(pointers_.begin(), pointers_.end(), [this](const std::uint8_t* a, const std::uint8_t* b) {
    return Less(a, b);
  });
}

std::uint8_t* KeySorter::EntrySlot() {
  const std::size_t pool = used_ / perPool_;
  while (pools_.size() <= pool) {
    PoolBlock* block = AllocPoolBlock(ring_, kSortPoolSize);
    if (block == nullptr) {
      SetError(217, " to allocate pools [MakeIndex]");
      return nullptr;
    }
    pools_.push_back(block);
  }
  return pools_[pool]->Data() + (used_ % perPool_) * entrySize_;
}

bool KeySorter::Add(const std::uint8_t* key, std::uint32_t record) {
  if (failed_) return false;
  if (used_ == capacity_ && !WriteRun()) return false;
  std::uint8_t* slot = EntrySlot();
  if (slot == nullptr) {
    failed_ = true;
    return false;
  }
  std::memcpy(slot, key, keyLength_);
  std::memcpy(slot + keyLength_, &record, 4);
  if (pointers_.size() <= used_) pointers_.push_back(slot);
  else pointers_[used_] = slot;
  ++used_;
  return true;
}

bool KeySorter::WriteRun() {
  pointers_.resize(used_);
  SortPointers();
  if (runFd_ < 0) {
    runFile_ = UniqueFilename();
    runFd_ = runFile_.empty() ? -1 : ::open(runFile_.c_str(), O_RDWR | O_TRUNC | O_CLOEXEC);
    if (runFd_ < 0) {
      SetError(OsErrorCode(errno, true), " [MakeIndex]");
      failed_ = true;
      return false;
    }
  }
  Run run;
  run.next = runEnd_;
  run.remaining = used_;
  std::vector<std::uint8_t> buffer;
  buffer.reserve(65536);
  auto flush = [&] {
    const int err = WriteBytesAt(runFd_, buffer.data(), buffer.size(), runEnd_);
    if (err != 0) {
      SetError(OsErrorCode(err, true), " [MakeIndex]");
      failed_ = true;
      return false;
    }
    runEnd_ += static_cast<std::int64_t>(buffer.size());
    buffer.clear();
    return true;
  };
  for (std::size_t i = 0; i < used_; ++i) {
    buffer.insert(buffer.end(), pointers_[i], pointers_[i] + entrySize_);
    if (buffer.size() + entrySize_ > 65536 && !flush()) return false;
  }
  if (!buffer.empty() && !flush()) return false;
  runs_.push_back(std::move(run));
  used_ = 0;
  return true;
}

bool KeySorter::Refill(Run& run) {
  run.offset = 0;
  run.filled = 0;
  if (run.remaining == 0) return false;
  const std::size_t entries = std::min<std::uint64_t>(run.remaining, run.buffer.size() / entrySize_);
  const std::size_t bytes = entries * entrySize_;
  const std::int64_t got = ReadBytesAt(runFd_, run.buffer.data(), bytes, run.next);
  if (got != static_cast<std::int64_t>(bytes)) {
    SetError(got < 0 ? OsErrorCode(errno) : 100, " [MakeIndex]");
    failed_ = true;
    return false;
  }
  run.next += static_cast<std::int64_t>(bytes);
  run.remaining -= entries;
  run.filled = bytes;
  return true;
}

bool KeySorter::Finish() {
  if (failed_) return false;
  finished_ = true;
  if (runs_.empty()) {
    pointers_.resize(used_);
    SortPointers();
    return true;
  }
  if (used_ > 0 && !WriteRun()) return false;
  FreePoolRing(ring_);
  pools_.clear();
  pointers_.clear();
  pointers_.shrink_to_fit();
  const std::size_t share = std::max(entrySize_, kRunBufferTotal / runs_.size() / entrySize_ * entrySize_);
  for (std::size_t i = 0; i < runs_.size(); ++i) {
    runs_[i].buffer.assign(share, 0);
    if (!Refill(runs_[i])) {
      if (failed_) return false;
      continue;
    }
    heap_.push_back(i);
  }
  // A min-heap of runs by their current entry.
  auto greater = [this](std::size_t a, std::size_t b) {
    return Less(runs_[b].buffer.data() + runs_[b].offset, runs_[a].buffer.data() + runs_[a].offset);
  };
  std::make_heap(heap_.begin(), heap_.end(), greater);
  return true;
}

bool KeySorter::Next(const std::uint8_t*& key, std::uint32_t& record) {
  if (!finished_ || failed_) return false;
  if (runs_.empty()) {
    if (output_ >= pointers_.size()) return false;
    key = pointers_[output_++];
    std::memcpy(&record, key + keyLength_, 4);
    return true;
  }
  auto greater = [this](std::size_t a, std::size_t b) {
    return Less(runs_[b].buffer.data() + runs_[b].offset, runs_[a].buffer.data() + runs_[a].offset);
  };
  // The entry handed out last time is given up now: its run moves on.
  if (lastOut_ != nullptr) {
    lastOut_ = nullptr;
    std::pop_heap(heap_.begin(), heap_.end(), greater);
    Run& run = runs_[heap_.back()];
    run.offset += entrySize_;
    if (run.offset >= run.filled && !Refill(run)) {
      if (failed_) return false;
      heap_.pop_back();
    } else {
      std::push_heap(heap_.begin(), heap_.end(), greater);
    }
  }
  if (heap_.empty()) return false;
  const Run& head = runs_[heap_.front()];
  key = head.buffer.data() + head.offset;
  std::memcpy(&record, key + keyLength_, 4);
  lastOut_ = key;
  return true;
}

}  // namespace dbase
