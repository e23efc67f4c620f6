// The node cache of a work area's controlling index: a small table of
// (block, 512 bytes) slots that keeps the upper levels of the tree in
// memory. A hit moves its slot one place toward the front; a miss takes the
// first free slot, or the last one when all are used (writing its node back
// first when it was modified). No cache is kept while NetworkLocking is on,
// because another program may change the file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "dbase/index/ndx_layout.h"

namespace dbase {

struct IND;

// Cache size in bytes for slot 1 of every area opened from now on
// (default 4096, 8 nodes); 0 means none.
extern std::size_t NodeCacheSize;
// Open controlling indexes without a cache.
extern bool NoNodeCache;

// Rounds down to a multiple of 512 and raises a nonzero size below 2048 to
// 2048.
void SetCacheSize(std::size_t size);

class NodeCache {
 public:
  explicit NodeCache(std::size_t bytes);
  // Reads the node into buffer through the cache; false on a read error.
  bool Read(IND& ind, std::uint32_t block, std::uint8_t* buffer);
  // Replaces a cached copy after the node was written.
  void Update(std::uint32_t block, const std::uint8_t* buffer);
  // Writes back the modified nodes and forgets every node.
  void Empty(IND& ind);
  std::size_t Slots() const { return slots_.size(); }

 private:
  struct Slot {
    std::uint32_t block = 0;  // 0 = free
    std::array<std::uint8_t, ndx::kBlockSize> node{};
  };
  std::vector<Slot> slots_;
};

}  // namespace dbase
