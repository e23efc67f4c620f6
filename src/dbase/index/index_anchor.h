// The anchor block of an index file: its 24 header bytes in the IND, the key
// expression after them, and the trailer with the table's record count and
// name; reading and rewriting it, repairing its next-free block at open, and
// reading it without opening the index (IndexInfo).
#pragma once

#include <cstdint>
#include <string>

#include "dbase/index/index_control.h"

namespace dbase {

struct IndexInfoRecord {
  std::string keyExpression;  // at most 100 characters
  std::uint8_t keyLength = 0;
  char keyType = 0;
  bool unique = false;
  std::int64_t recordCount = -1;  // -1 when the trailer does not check or asks for a rebuild
  std::string tableName;
};

// The 24 header bytes into the IND, and from it.
void DecodeAnchorHeader(IND& ind, const std::uint8_t* bytes);
void EncodeAnchorHeader(const IND& ind, std::uint8_t* bytes);
// Entry size and keys per node of a key length.
std::uint16_t EntrySizeOf(std::uint16_t keyLength);
std::uint16_t KeysPerNodeOf(std::uint16_t entrySize);

// The count of records an anchor block's trailer says its index holds;
// ndx::kChangingCount when the trailer does not check (another program's
// file), ndx::kNeedsRebuildCount when it asks for a rebuild.
std::uint32_t StoredHeldCount(const std::uint8_t* anchorBlock);

// Re-reads the 24 anchor bytes of one index and the count of records its
// trailer says it holds (the operation names the caller in an error), or
// of every open index of the current area.
bool ReadAnchorHeader(IND& ind, const std::string& operation);
bool ReadAnchorNodes();
// Writes the anchor from the IND (expression text as the IND holds it).
bool WriteAnchorNode(IND& ind);
// A new index's anchor: root and next free from root (when > 0), the
// normalised expression in the table's code page or the key-maker marker.
bool WriteNewIndexHeader(IND& ind, std::uint32_t root);
// Corrects the anchor's next free block from the file size, and writes an
// anchor this program changed but could not write, under the write lock
// with the anchor read again first. False after a reported error.
bool RepairNextFree(IND& ind);
// Writes the trailer alone with a count: after a check found the index
// to match its table of count records (the next open trusts it), or
// ndx::kChangingCount before a change of its keys.
bool WriteIndexVerdict(IND& ind, std::uint32_t count);

IndexInfoRecord IndexInfo(const std::string& fileName);
std::int64_t IndexRecordCount(const std::string& fileName);

}  // namespace dbase
