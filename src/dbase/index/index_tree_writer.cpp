// Bottom-up writing of the index nodes.
#include "dbase/index/index_tree_writer.h"

#include <cstring>

#include "dbase/engine/dbf_file.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/os_errors.h"

namespace dbase {

using namespace ndx;

IndexTreeWriter::IndexTreeWriter(int fd, std::string fileName, std::uint16_t keyLength, std::uint16_t entrySize,
                                 std::uint16_t keysPerNode, std::size_t writeBuffer)
    : fd_(fd),
      fileName_(std::move(fileName)),
      keyLength_(keyLength),
      entrySize_(entrySize),
      keysPerNode_(keysPerNode),
      levels_(2, Node{}),
      bufferCapacity_(std::max<std::size_t>(writeBuffer / kBlockSize * kBlockSize, kBlockSize)) {
  buffer_.reserve(bufferCapacity_);
}

std::uint8_t* IndexTreeWriter::EntryOf(Node& node, int i) {
  return node.data() + kNodeEntriesOffset + static_cast<std::size_t>(i) * entrySize_;
}

bool IndexTreeWriter::Flush() {
  if (buffer_.empty()) return true;
  const int err = WriteBytesAt(fd_, buffer_.data(), buffer_.size(),
                               static_cast<std::int64_t>(bufferFirstBlock_) * static_cast<std::int64_t>(kBlockSize));
  if (err != 0) {
    SetError(OsErrorCode(err, true), "Error writing index file: " + fileName_ + " [MakeIndex]");
    failed_ = true;
    return false;
  }
  bufferFirstBlock_ += static_cast<std::uint32_t>(buffer_.size() / kBlockSize);
  buffer_.clear();
  return true;
}

bool IndexTreeWriter::WriteNode(Node& node) {
  if (failed_) return false;
  PutWord(node.data() + kNodeModifiedOffset, 0);
  buffer_.insert(buffer_.end(), node.begin(), node.end());
  ++lastBlock_;
  if (buffer_.size() >= bufferCapacity_) return Flush();
  return true;
}

bool IndexTreeWriter::Add(const std::uint8_t* key, std::uint32_t record) {
  if (failed_) return false;
  Node& leaf = levels_[0];
  int count = static_cast<std::int16_t>(GetWord(leaf.data()));
  if (count == keysPerNode_) {
    // The full leaf goes out; its last key climbs into the level above.
    std::uint8_t lastKey[256];
    std::memcpy(lastKey, EntryOf(leaf, count - 1) + kEntryKeyOffset, keyLength_);
    if (!WriteNode(leaf)) return false;
    std::uint32_t written = lastBlock_;
    for (std::size_t level = 1;; ++level) {
      if (level == levels_.size()) levels_.push_back(Node{});
      Node& node = levels_[level];
      const int c = static_cast<std::int16_t>(GetWord(node.data()));
      PutDword(EntryOf(node, c) + kEntryChildOffset, written);
      if (c < keysPerNode_) {
        PutWord(node.data(), static_cast<std::uint16_t>(c + 1));
        std::memcpy(EntryOf(node, c) + kEntryKeyOffset, lastKey, keyLength_);
        break;
      }
      // Full: the child just stored is its extra child.
      if (!WriteNode(node)) return false;
      written = lastBlock_;
      node.fill(0);
    }
    // The climb may have added a level, which moves the nodes.
    levels_[0].fill(0);
    count = 0;
  }
  Node& current = levels_[0];
  std::uint8_t* entry = EntryOf(current, count);
  PutDword(entry + kEntryChildOffset, 0);
  PutDword(entry + kEntryRecordOffset, record);
  std::memcpy(entry + kEntryKeyOffset, key, keyLength_);
  PutWord(current.data(), static_cast<std::uint16_t>(count + 1));
  return true;
}

std::uint32_t IndexTreeWriter::Finish() {
  if (failed_) return 0;
  // The leaf is written even when empty: an empty index has one empty leaf.
  if (!WriteNode(levels_[0])) return 0;
  for (std::size_t level = 1; level < levels_.size(); ++level) {
    Node& node = levels_[level];
    const int c = static_cast<std::int16_t>(GetWord(node.data()));
    if (c < 1) continue;
    PutDword(EntryOf(node, c) + kEntryChildOffset, lastBlock_);
    if (!WriteNode(node)) return 0;
  }
  if (!Flush()) return 0;
  return lastBlock_;
}

}  // namespace dbase
