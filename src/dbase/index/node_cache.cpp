// The node cache of the controlling index.
#include "dbase/index/node_cache.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include "dbase/engine/dbf_file.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/os_errors.h"
#include "dbase/index/index_control.h"

namespace dbase {

using namespace ndx;

std::size_t NodeCacheSize = 4096;
bool NoNodeCache = false;

namespace {

constexpr std::size_t kSmallestCache = 2048;

bool WriteBack(IND& ind, std::uint32_t block, std::uint8_t* node) {
  PutWord(node + kNodeModifiedOffset, 0);
  const int err = WriteBytesAt(ind.fd, node, kBlockSize, static_cast<std::int64_t>(block) * kBlockSize);
  if (err != 0) {
    SetError(OsErrorCode(err, true), "Error writing index file: " + ind.fileName + " [SeekAndWrite]");
    return false;
  }
  return true;
}

}  // namespace

void SetCacheSize(std::size_t size) {
  size = size / kBlockSize * kBlockSize;
  if (size != 0 && size < kSmallestCache) size = kSmallestCache;
  NodeCacheSize = size;
}

NodeCache::NodeCache(std::size_t bytes) : slots_(bytes / kBlockSize) {}

bool NodeCache::Read(IND& ind, std::uint32_t block, std::uint8_t* buffer) {
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    if (slots_[i].block != block) continue;
    std::size_t at = i;
    if (i > 0) {
      std::swap(slots_[i], slots_[i - 1]);
      at = i - 1;
    }
    std::memcpy(buffer, slots_[at].node.data(), kBlockSize);
    PutWord(buffer + kNodeModifiedOffset, 0);
    return true;
  }
  std::size_t free = slots_.size() - 1;
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    if (slots_[i].block == 0) {
      free = i;
      break;
    }
  }
  Slot& slot = slots_[free];
  if (slot.block != 0 && GetWord(slot.node.data() + kNodeModifiedOffset) != 0 &&
      !WriteBack(ind, slot.block, slot.node.data())) {
    return false;
  }
  slot.block = 0;
  const std::int64_t got =
      ReadBytesAt(ind.fd, slot.node.data(), kBlockSize, static_cast<std::int64_t>(block) * kBlockSize);
  if (got != static_cast<std::int64_t>(kBlockSize)) {
    SetError(got < 0 ? OsErrorCode(errno) : 100, "Error reading index file: " + ind.fileName + " [SeekAndRead]");
    return false;
  }
  slot.block = block;
  std::memcpy(buffer, slot.node.data(), kBlockSize);
  PutWord(buffer + kNodeModifiedOffset, 0);
  return true;
}

void NodeCache::Update(std::uint32_t block, const std::uint8_t* buffer) {
  for (Slot& slot : slots_) {
    if (slot.block == block) std::memcpy(slot.node.data(), buffer, kBlockSize);
  }
}

void NodeCache::Empty(IND& ind) {
  for (Slot& slot : slots_) {
    if (slot.block != 0 && GetWord(slot.node.data() + kNodeModifiedOffset) != 0) {
      WriteBack(ind, slot.block, slot.node.data());
    }
    slot.block = 0;
  }
}

}  // namespace dbase
