// The on-disk layout of .ndx index files as named constants: 512-byte
// blocks, block 0 the anchor, the nodes after it; entries of a child block
// number, a record number and the key, padded to a multiple of 4 bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace dbase::ndx {

inline constexpr std::size_t kBlockSize = 512;
// Anchor (block 0).
inline constexpr std::size_t kRootOffset = 0;
inline constexpr std::size_t kNextFreeOffset = 4;
inline constexpr std::size_t kKeyTypeOffset = 9;
inline constexpr std::size_t kKeyLengthOffset = 12;
inline constexpr std::size_t kKeysPerNodeOffset = 14;
inline constexpr std::size_t kNumericFlagOffset = 16;
inline constexpr std::size_t kEntrySizeOffset = 18;
inline constexpr std::size_t kUniqueOffset = 23;
inline constexpr std::size_t kAnchorHeaderSize = 24;
inline constexpr std::size_t kExpressionOffset = 24;
inline constexpr std::size_t kExpressionReadSize = 101;
inline constexpr std::size_t kExpressionSpace = 464;
inline constexpr std::size_t kNotRecordCountOffset = 488;
inline constexpr std::size_t kRecordCountOffset = 492;
inline constexpr std::size_t kTableNameOffset = 496;
inline constexpr std::size_t kTableNameLength = 12;
// The trailer's record count is the number of records the index is known
// to hold (records 1 to that count, each under its key): the count it was
// built or checked to, raised by its own key writes for appended records.
// An open trusts the index only while that count is the table's.
//
// The count an index stores while it is known not to hold every change of
// its table (a failed update, a rewrite under way): every open then asks
// for a rebuild. No table holds this many records.
inline constexpr std::uint32_t kNeedsRebuildCount = 0xFFFFFFFFu;
// The count an index stores while a change of its keys is under way (a
// record written before its keys, a table rewritten before its indexes): a
// program that ends before the change is complete leaves it, and the next
// open checks the index against its table instead of trusting it.
inline constexpr std::uint32_t kChangingCount = 0xFFFFFFFEu;
// Nodes.
inline constexpr std::size_t kNodeCountOffset = 0;
inline constexpr std::size_t kNodeModifiedOffset = 2;
inline constexpr std::size_t kNodeEntriesOffset = 4;
inline constexpr std::size_t kNodeEntrySpace = 504;
inline constexpr std::size_t kEntryChildOffset = 0;
inline constexpr std::size_t kEntryRecordOffset = 4;
inline constexpr std::size_t kEntryKeyOffset = 8;
// Numeric and date keys: one little-endian IEEE double.
inline constexpr std::size_t kNumericKeyLength = 8;

inline std::uint16_t GetWord(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
inline std::uint32_t GetDword(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline void PutWord(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void PutDword(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace dbase::ndx
