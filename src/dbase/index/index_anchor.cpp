// Reading and writing the anchor block.
#include "dbase/index/index_anchor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "dbase/engine/dbf_file.h"
#include "dbase/engine/engine_code_page.h"
#include "dbase/engine/engine_hooks.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/os_errors.h"
#include "dbase/index/key_primitives.h"

namespace dbase {

using namespace ndx;

std::uint16_t EntrySizeOf(std::uint16_t keyLength) {
  return static_cast<std::uint16_t>((keyLength + 8 + 3) / 4 * 4);
}

std::uint16_t KeysPerNodeOf(std::uint16_t entrySize) {
  return static_cast<std::uint16_t>(kNodeEntrySpace / entrySize);
}

void DecodeAnchorHeader(IND& ind, const std::uint8_t* bytes) {
  ind.root = GetDword(bytes + kRootOffset);
  ind.nextFree = GetDword(bytes + kNextFreeOffset);
  ind.keyType = static_cast<char>(bytes[kKeyTypeOffset]);
  ind.keyLength = GetWord(bytes + kKeyLengthOffset);
  ind.keysPerNode = GetWord(bytes + kKeysPerNodeOffset);
  ind.numericFlag = GetWord(bytes + kNumericFlagOffset);
  ind.entrySize = GetWord(bytes + kEntrySizeOffset);
  ind.unique = bytes[kUniqueOffset];
}

void EncodeAnchorHeader(const IND& ind, std::uint8_t* bytes) {
  std::memset(bytes, 0, kAnchorHeaderSize);
  PutDword(bytes + kRootOffset, ind.root);
  PutDword(bytes + kNextFreeOffset, ind.nextFree);
  bytes[kKeyTypeOffset] = static_cast<std::uint8_t>(ind.keyType);
  PutWord(bytes + kKeyLengthOffset, ind.keyLength);
  PutWord(bytes + kKeysPerNodeOffset, ind.keysPerNode);
  PutWord(bytes + kNumericFlagOffset, ind.numericFlag);
  PutWord(bytes + kEntrySizeOffset, ind.entrySize);
  bytes[kUniqueOffset] = ind.unique;
}

namespace {

std::string ZText(const std::uint8_t* bytes, std::size_t n) {
  return ZToStrN(reinterpret_cast<const char*>(bytes), n);
}

const DbfTable* TableOf(const IND& ind) {
  const WorkArea* area = (ind.area >= 1 && ind.area <= kMaxWorkAreas) ? WorkAreas[ind.area].get() : nullptr;
  return area != nullptr ? &area->table : nullptr;
}

// The trailer: the table's record count (and its complement) and the
// table's file name, in the table's code page.
void PutTrailer(const IND& ind, std::uint32_t count, std::uint8_t* block) {
  std::memset(block + kNotRecordCountOffset, 0, kBlockSize - kNotRecordCountOffset);
  PutDword(block + kNotRecordCountOffset, ~count);
  PutDword(block + kRecordCountOffset, count);
  if (const DbfTable* table = TableOf(ind)) {
    std::string name = table->tableName;
    const std::size_t slash = name.find_last_of('/');
    if (slash != std::string::npos) name = name.substr(slash + 1);
    name = name.substr(0, kTableNameLength);
    if (table->oem) name = AnsiToOemStr(name);
    std::memcpy(block + kTableNameOffset, name.data(), name.size());
  }
}

// The record count an anchor written now carries: the records the index
// is known to hold, not the table's count, which may include records other
// programs appended without this index open.
std::uint32_t TrailerCount(const IND& ind) {
  if (ind.outOfStep) return kNeedsRebuildCount;
  if (ind.changing) return kChangingCount;
  return ind.heldCount;
}

// The whole anchor block with the given expression bytes.
void BuildAnchor(const IND& ind, const std::string& expression, std::uint8_t* block) {
  std::memset(block, 0, kBlockSize);
  EncodeAnchorHeader(ind, block);
  const std::size_t n = std::min(expression.size(), kExpressionSpace - 1);
  std::memcpy(block + kExpressionOffset, expression.data(), n);
  PutTrailer(ind, TrailerCount(ind), block);
}

bool WriteBlockZero(const IND& ind, const std::uint8_t* block, const std::string& failure) {
  const int err = WriteBytesAt(ind.fd, block, kBlockSize, 0);
  if (err != 0) {
    SetError(OsErrorCode(err, true), failure);
    return false;
  }
  return true;
}

}  // namespace

std::uint32_t StoredHeldCount(const std::uint8_t* anchorBlock) {
  const std::uint32_t count = GetDword(anchorBlock + kRecordCountOffset);
  if (GetDword(anchorBlock + kNotRecordCountOffset) != ~count) return kChangingCount;
  return count;
}

bool ReadAnchorHeader(IND& ind, const std::string& operation) {
  // The trailer comes with the header: another program sharing the table
  // may have raised the count of records the index holds, or left it in
  // doubt, and this one's next anchor write must carry that on.
  std::uint8_t block[kBlockSize];
  const std::int64_t got = ReadBytesAt(ind.fd, block, sizeof block, 0);
  if (got != static_cast<std::int64_t>(sizeof block)) {
    SetError(got < 0 ? OsErrorCode(errno) : 100, "Error reading index file:  " + ind.fileName + " [" + operation + "]");
    return false;
  }
  DecodeAnchorHeader(ind, block);
  const std::uint32_t held = StoredHeldCount(block);
  if (held == kNeedsRebuildCount) {
    ind.outOfStep = true;
  } else if (!ind.changing) {
    ind.heldCount = held;
  }
  return true;
}

bool ReadAnchorNodes() {
  if (CurrentArea < 1 || CurrentArea > kMaxWorkAreas) return false;
  for (IND* ind : IndexSlots[static_cast<std::size_t>(CurrentArea)].slots) {
    if (ind != nullptr && !ReadAnchorHeader(*ind, "ReadAnchorNodes")) return false;
  }
  return true;
}

bool WriteAnchorNode(IND& ind) {
  std::uint8_t block[kBlockSize];
  // The expression keeps the bytes it was read or written with.
  BuildAnchor(ind, ind.exprText, block);
  if (!WriteBlockZero(ind, block, "Error writing index file:  " + ind.fileName + " [WriteAnchorNode]")) return false;
  ind.anchorModified = false;
  return true;
}

bool WriteNewIndexHeader(IND& ind, std::uint32_t root) {
  if (root > 0) {
    ind.root = root;
    ind.nextFree = root + 1;
  }
  // A key expression is stored without blanks outside its strings, as other
  // dBASE readers take the text up to the first blank; the key maker's
  // marker keeps its words apart, as every file written before holds it.
  std::string expression = ind.keyMaker ? std::string(kKeyMakerMarker) : ind.exprText;
  NormalizeKeyExpr(expression, ind.keyMaker != nullptr);
  const DbfTable* table = TableOf(ind);
  if (!ind.keyMaker && table != nullptr && table->oem) expression = AnsiToOemStr(expression);
  ind.exprText = expression;
  std::uint8_t block[kBlockSize];
  BuildAnchor(ind, expression, block);
  if (!WriteBlockZero(ind, block, " [MakeIndex]")) return false;
  ind.anchorModified = false;
  return true;
}

namespace {

// The number of blocks the file holds (at least the anchor).
std::uint32_t BlocksOfFile(const IND& ind) {
  struct stat info {};
  if (::fstat(ind.fd, &info) != 0) return 0;
  const std::int64_t size = info.st_size;
  const std::int64_t block = static_cast<std::int64_t>(kBlockSize);
  return static_cast<std::uint32_t>(size <= block ? 1 : (size - block) / block + 1);
}

}  // namespace

bool RepairNextFree(IND& ind) {
  if (ind.readOnly || (BlocksOfFile(ind) == ind.nextFree && !ind.anchorModified)) return true;
  // Under the write lock the anchor is read again before it is written:
  // another program may have moved the root and grown the file since this
  // one read it, and an anchor written from what this one remembers would
  // cut the other's keys off the tree.
  if (IndexHooks.lockSemaphore) IndexHooks.lockSemaphore(true);
  bool ok = ReadAnchorHeader(ind, "RepairNextFree");
  const std::uint32_t blocks = BlocksOfFile(ind);
  if (ok && blocks != 0 && blocks != ind.nextFree) {
    ind.nextFree = blocks;
    ind.anchorModified = true;
  }
  if (ok && ind.anchorModified) ok = WriteAnchorNode(ind);
  ind.anchorModified = false;
  if (IndexHooks.lockSemaphore) IndexHooks.lockSemaphore(false);
  return ok;
}

bool WriteIndexVerdict(IND& ind, std::uint32_t count) {
  std::uint8_t block[kBlockSize];
  PutTrailer(ind, count, block);
  const int err = WriteBytesAt(ind.fd, block + kNotRecordCountOffset, kBlockSize - kNotRecordCountOffset,
                               static_cast<std::int64_t>(kNotRecordCountOffset));
  if (err != 0) {
    SetError(OsErrorCode(err, true), "Error writing index file:  " + ind.fileName + " [WriteIndexVerdict]");
    return false;
  }
  return true;
}

IndexInfoRecord IndexInfo(const std::string& fileName) {
  IndexInfoRecord info;
  if (fileName.empty()) {
    SetError(220, " [IndexInfo(<>," + fileName + ")]");
    return info;
  }
  const std::string path = FindIndexFile(fileName);
  int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0 && (errno == EACCES || errno == EPERM || errno == EROFS)) fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  std::uint8_t block[kBlockSize] = {};
  const std::int64_t got = fd < 0 ? -1 : ReadBytesAt(fd, block, kBlockSize, 0);
  const int err = errno;
  if (fd >= 0) ::close(fd);
  if (got < static_cast<std::int64_t>(kAnchorHeaderSize + kExpressionReadSize)) {
    SetError(fd < 0 || got < 0 ? OsErrorCode(err) : 100,
             "Error reading index file: \n\r[IndexInfo(<>," + fileName + ")]");
    return info;
  }
  IND ind;
  DecodeAnchorHeader(ind, block);
  info.keyExpression = ZText(block + kExpressionOffset, kExpressionReadSize - 1);
  info.keyLength = static_cast<std::uint8_t>(ind.keyLength);
  info.keyType = ind.keyType;
  info.unique = ind.unique != 0;
  const std::uint32_t count = GetDword(block + kRecordCountOffset);
  // An index marked for a rebuild, or left in the middle of a change, has
  // no count that could be trusted.
  if (GetDword(block + kNotRecordCountOffset) == ~count && count < kChangingCount) {
    info.recordCount = count;
    info.tableName = ZText(block + kTableNameOffset, kTableNameLength);
  }
  return info;
}

std::int64_t IndexRecordCount(const std::string& fileName) { return IndexInfo(fileName).recordCount; }

}  // namespace dbase
