// The tree phase of an index build: takes the entries in key order and
// writes the B-tree bottom up, strictly sequentially: a leaf is written when
// full, the inner node above it receives the leaf's block and last key, full
// inner nodes are written in turn; at the end the partial nodes are written
// upward and the last block written is the root.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "dbase/index/ndx_layout.h"

namespace dbase {

class IndexTreeWriter {
 public:
  IndexTreeWriter(int fd, std::string fileName, std::uint16_t keyLength, std::uint16_t entrySize,
                  std::uint16_t keysPerNode, std::size_t writeBuffer);
  // Appends the next entry; false after a write error.
  bool Add(const std::uint8_t* key, std::uint32_t record);
  // Writes the partial nodes; answers the root block (0 on failure).
  std::uint32_t Finish();
  std::uint32_t BlocksWritten() const { return lastBlock_; }

 private:
  using Node = std::array<std::uint8_t, ndx::kBlockSize>;
  std::uint8_t* EntryOf(Node& node, int i);
  bool WriteNode(Node& node);
  bool Flush();

  int fd_;
  std::string fileName_;
  std::uint16_t keyLength_;
  std::uint16_t entrySize_;
  int keysPerNode_;
  std::vector<Node> levels_;
  std::uint32_t lastBlock_ = 0;
  std::vector<std::uint8_t> buffer_;
  std::size_t bufferCapacity_;
  std::uint32_t bufferFirstBlock_ = 1;
  bool failed_ = false;
};

}  // namespace dbase
