// Copying and packing memos.
#include "dbase/memo/memo_copy.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "dbase/common/file_routines.h"
#include "dbase/engine/dbf_file.h"
#include "dbase/engine/dbf_layout.h"
#include "dbase/engine/dbf_native.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/file_names.h"
#include "dbase/engine/os_errors.h"
#include "dbase/memo/memo_file.h"

namespace dbase {

namespace {

constexpr char kCopyTag[] = " [AppendFrom/CopyTo]";

// The stored bytes of a value as a block of the target's dialect: a block
// header where the target has one (and for a dBASE III target when the value
// cannot be dBASE III text), else the text and its two 0x1A.
std::string TargetBytes(const MemoFile& target, const std::string& data) {
  std::string bytes;
  const bool headered = target.Dialect() != MemoDialect::Dbase3 || !FitsDbase3Text(data);
  if (headered) {
    bytes.assign(kBlockHeaderSize, '\0');
    std::uint32_t stored = static_cast<std::uint32_t>(data.size());
    if (target.Dialect() == MemoDialect::FoxPro) {
      bytes[3] = 1;
      for (int i = 0; i < 4; ++i) bytes[4 + i] = static_cast<char>(stored >> (24 - 8 * i));
    } else {
      stored += static_cast<std::uint32_t>(kBlockHeaderSize);
      bytes[0] = bytes[1] = static_cast<char>(0xFF);
      bytes[2] = 8;
      for (int i = 0; i < 4; ++i) bytes[4 + i] = static_cast<char>(stored >> (8 * i));
    }
    bytes += data;
  } else {
    bytes = data + kDbase3TextEnd;
  }
  if (target.Dialect() == MemoDialect::Dbase3) {
    bytes.resize((bytes.size() + target.blockSize - 1) / target.blockSize * target.blockSize, '\0');
  }
  return bytes;
}

std::int32_t AbsoluteBlock(std::int32_t block) { return block < 0 ? -block : block; }

}  // namespace

std::int32_t CopyMemo(int sourceArea, std::int32_t block, bool sameBlock) {
  TzError = 0;
  if (block == 0) return 0;
  MemoFile* target = CurrentMemoFile("AppendFrom/CopyTo");
  if (target == nullptr) return 0;
  WorkArea& targetArea = *MemoArea();
  if (sourceArea < 1 || sourceArea > kMaxWorkAreas || !WorkAreas[sourceArea] || !MemoFiles[sourceArea]) {
    SetError(1019, "No Memo Field [AppendFrom/CopyTo]");
    return 0;
  }
  MemoFile& source = *MemoFiles[sourceArea];
  MemoValue value;
  std::string data;
  if (static_cast<std::int64_t>(AbsoluteBlock(block)) * source.blockSize >= MemoFileSize(source) - 1 ||
      !LocateMemoValue(source, block, value) || !ReadMemoBytes(source, value, data)) {
    SetError(30, source.name + kCopyTag);
    return 0;
  }
  MemoReadTranslate(*WorkAreas[sourceArea], data.data(), data.size());
  MemoWriteTranslate(targetArea, data.data(), data.size());
  const std::int64_t end = LockMemoPadAndSeekEOF(*target, "CopyMemo()");
  if (end == 0) return 0;
  const std::int32_t newBlock =
      sameBlock ? AbsoluteBlock(block) : static_cast<std::int32_t>(end / target->blockSize);
  const std::string bytes = TargetBytes(*target, data);
  if (WriteBytesAt(target->fd, bytes.data(), bytes.size(), static_cast<std::int64_t>(newBlock) * target->blockSize) !=
      0) {
    SetError(1005, target->name + kCopyTag);
    ReleaseMemoLock(*target);
    return 0;
  }
  ::fdatasync(target->fd);
  if (!UpdateMemoHeader(*target)) return 0;
  return newBlock;
}

int PackMemofile() {
  TzError = 0;
  WorkArea* area = CheckDbInUse("PackMemofile");
  if (area == nullptr) return 215;
  if (!MemoFiles[area->number]) return 0;
  MemoFile& memo = *MemoFiles[area->number];
  DbfTable& table = area->table;
  const std::int64_t oldSize = MemoFileSize(memo);
  std::string dir, name, ext;
  SplitPath(memo.name, dir, name, ext);
  if (DiskFreeKB(dir) < oldSize / 1024) {
    SetError(1012, memo.name + " [PackMemofile]");
    return 1012;
  }
  MemoFile packed;
  packed.name = memo.name + ".pack-" + std::to_string(::getpid());
  packed.version = memo.version;
  packed.blockSize = memo.blockSize;
  auto fail = [&](int code, const std::string& detail) {
    if (packed.fd >= 0) ::close(packed.fd);
    ::unlink(packed.name.c_str());
    SetError(code, detail);
    return code;
  };
  if (const int err = WriteNewMemoFile(packed.name, memo.version, static_cast<std::uint16_t>(memo.blockSize),
                                       table.fileName);
      err != 0) {
    return fail(OsErrorCode(err, true), packed.name + " [PackMemofile]");
  }
  packed.fd = ::open(packed.name.c_str(), O_RDWR | O_CLOEXEC);
  if (packed.fd < 0) return fail(OsErrorCode(errno), "Memo file not found: " + packed.name);

  // The new block of every memo field of every record, written into the
  // records only once the new memo file is in place.
  struct Change {
    std::int64_t record;
    const FieldDef* field;
    std::int32_t block;
  };
  std::vector<Change> changes;
  std::vector<const FieldDef*> memoFields;
  for (const FieldDef& field : table.fields) {
    if (field.type == 'M') memoFields.push_back(&field);
  }
  std::string record(table.recordLength, ' ');
  const std::int64_t count = RecordCountOnDisk(table);
  for (std::int64_t r = 1; r <= count; ++r) {
    if (ReadBytesAt(table.fd, record.data(), record.size(), table.headerLength + (r - 1) * table.recordLength) !=
        static_cast<std::int64_t>(record.size())) {
      return fail(100, "Error reading " + table.fileName + " [PackMemo]");
    }
    for (const FieldDef* field : memoFields) {
      const std::string digits = record.substr(field->offset, field->length);
      const std::int32_t block = static_cast<std::int32_t>(std::strtol(digits.c_str(), nullptr, 10));
      if (block == 0) continue;
      MemoValue value;
      std::string data;
      if (static_cast<std::int64_t>(AbsoluteBlock(block)) * memo.blockSize >= oldSize - 1) {
        return fail(1003, memo.name + " Memo block # " + std::to_string(block) + " Record # " + std::to_string(r) +
                              " [PackMemo]");
      }
      if (!LocateMemoValue(memo, block, value) || !ReadMemoBytes(memo, value, data)) {
        return fail(30, memo.name + " [PackMemo]");
      }
      const std::int64_t end = LockMemoPadAndSeekEOF(packed, "PackMemo");
      if (end == 0) return fail(TzError, packed.name + " [PackMemo]");
      std::string bytes;
      if (value.headered) {
        // The block header as stored (a FoxPro value keeps its type).
        bytes.resize(kBlockHeaderSize);
        if (ReadBytesAt(memo.fd, bytes.data(), kBlockHeaderSize, value.dataStart - kBlockHeaderSize) !=
            static_cast<std::int64_t>(kBlockHeaderSize)) {
          return fail(30, memo.name + " [PackMemo]");
        }
        bytes += data;
        if (packed.Dialect() == MemoDialect::Dbase3) {
          bytes.resize((bytes.size() + packed.blockSize - 1) / packed.blockSize * packed.blockSize, '\0');
        }
      } else {
        bytes = TargetBytes(packed, data);
      }
      const auto newBlock = static_cast<std::int32_t>(end / packed.blockSize);
      if (WriteBytesAt(packed.fd, bytes.data(), bytes.size(), static_cast<std::int64_t>(newBlock) * packed.blockSize) !=
          0) {
        return fail(1005, packed.name + " [PackMemo]");
      }
      // The record gets the new block; a negative number that an older
      // stream writer left in a dBASE III table becomes the positive one
      // other readers follow.
      if (newBlock != block) changes.push_back({r, field, newBlock});
    }
  }
  if (!UpdateMemoHeader(packed)) return fail(29, packed.name + " [PackMemo]");
  if (::fsync(packed.fd) != 0) return fail(OsErrorCode(errno, true), packed.name + " [PackMemo]");
  if (::close(packed.fd) != 0) {
    packed.fd = -1;
    return fail(OsErrorCode(errno, true), packed.name + " [PackMemo]");
  }
  packed.fd = -1;
  if (::rename(packed.name.c_str(), memo.name.c_str()) != 0) {
    return fail(OsErrorCode(errno, true), memo.name + " [PackMemo]");
  }
  CloseMemofile();
  if (const int code = OpenMemofile(); code != 0) return code;
  // The records now point into the new file.
  for (const Change& change : changes) {
    const std::string text = IntegerFieldText(change.block, change.field->length);
    const std::int64_t offset =
        table.headerLength + (change.record - 1) * table.recordLength + change.field->offset;
    if (const int err = WriteBytesAt(table.fd, text.data(), text.size(), offset); err != 0) {
      SetError(OsErrorCode(err, true), "Error writing " + table.fileName + " [PackMemo]");
      return TzError;
    }
  }
  DropRecordCache(table);
  if (table.currentRecord >= 1 && table.currentRecord <= static_cast<std::int64_t>(table.recordCount)) {
    ReadIntoNative(*area, table.currentRecord);
  }
  return 0;
}

}  // namespace dbase
