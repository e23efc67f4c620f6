// Memo files: descriptors, open, create, close, block headers and the
// end-of-file protocol of every write.
#include "dbase/memo/memo_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "dbase/engine/dbf_file.h"
#include "dbase/engine/dbf_layout.h"
#include "dbase/engine/engine_code_page.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/file_names.h"
#include "dbase/engine/locking.h"
#include "dbase/engine/os_errors.h"
#include "dbase/engine/os_locks.h"

namespace dbase {

using namespace layout;

bool MemoWidthOn = false;
std::uint16_t MemoWidth = 78;
std::uint16_t MaxMemoLines = 1024;
std::uint16_t MemoFileMode = 0xFFFF;

std::array<std::unique_ptr<MemoFile>, kMaxWorkAreas + 1> MemoFiles;

namespace {

std::uint32_t Get32Le(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint32_t Get32Be(const std::uint8_t* p) {
  return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
         (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
}
void Put32Le(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void Put32Be(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}

std::uint32_t DefaultBlockSize() { return MemoBlockSize == 0 ? 512 : MemoBlockSize; }

}  // namespace

MemoDialect DialectOfVersion(std::uint8_t version) {
  if (version == kVersionDbase3Memo) return MemoDialect::Dbase3;
  if (version == kVersionFoxMemo) return MemoDialect::FoxPro;
  return MemoDialect::Dbase4;
}

MemoDialect MemoFile::Dialect() const { return DialectOfVersion(version); }

std::uint8_t GetMemoType() {
  WorkArea* area = CheckDbInUse("GetMemoType");
  if (area == nullptr) return CreateVersion;
  switch (area->table.version) {
    case kVersionDbase3Memo:
    case kVersionDbase4Memo:
    case kVersionFoxMemo:
    case kVersionLevel7Memo:
      return area->table.version;
    default:
      return CreateVersion;
  }
}

std::string MemoFileName(const std::string& tableFile, std::uint8_t version) {
  return ExistingOrNewName(tableFile, MemoFileExt(version), false);
}

WorkArea* MemoArea() { return CurrentWorkAreaRecord(); }

MemoFile* CurrentMemoFile(const std::string& operation) {
  WorkArea* area = CheckDbInUse(operation);
  if (area == nullptr) return nullptr;
  MemoFile* memo = MemoFiles[area->number].get();
  if (memo == nullptr || memo->fd < 0) {
    SetError(1019, AreaName(*area) + " No Memo Field [" + operation + "]");
    return nullptr;
  }
  return memo;
}

int OpenMemofile() {
  WorkArea* area = CheckDbInUse("USE");
  if (area == nullptr) return 215;
  const std::uint8_t version = GetMemoType();
  const std::string name = MemoFileName(area->table.fileName, version);
  if (MemoFiles[area->number]) {
    SetError(1007, name + " [USE]");
    return 1007;
  }
  auto memo = std::make_unique<MemoFile>();
  memo->name = name;
  memo->version = CreateVersion;
  memo->blockSize = DefaultBlockSize();
  bool write = area->table.mode.write;
  if (MemoFileMode != 0xFFFF) write = (MemoFileMode & 3) != 0;
  memo->fd = ::open(name.c_str(), (write ? O_RDWR : O_RDONLY) | O_CLOEXEC);
  if (memo->fd < 0) {
    const int code = OsErrorCode(errno);
    SetError(code, "Memo file not found: " + name + " [USE]");
    return code;
  }
  memo->shared = NetworkLocking && area->Shared();
  memo->version = version;
  std::uint8_t header[24] = {};
  switch (memo->Dialect()) {
    case MemoDialect::Dbase3:
      memo->blockSize = 512;
      break;
    case MemoDialect::FoxPro:
      if (ReadBytesAt(memo->fd, header, 8, 0) == 8) memo->blockSize = (header[6] << 8) | header[7];
      break;
    case MemoDialect::Dbase4:
      if (ReadBytesAt(memo->fd, header, 24, 0) == 24) memo->blockSize = header[20] | (header[21] << 8);
      break;
  }
  if (memo->blockSize == 0) memo->blockSize = DefaultBlockSize();
  MemoFiles[area->number] = std::move(memo);
  return 0;
}

void CloseMemofile() {
  WorkArea* area = CurrentWorkAreaRecord();
  if (area == nullptr || !MemoFiles[area->number]) return;
  std::unique_ptr<MemoFile> memo = std::move(MemoFiles[area->number]);
  if (memo->fd >= 0 && ::close(memo->fd) != 0) {
    SetError(OsErrorCode(errno, true), memo->name + " [CloseMemofile]");
  }
}

bool CreateMemofile() {
  WorkArea* area = CheckDbInUse("CreateMemofile()");
  if (area == nullptr) return false;
  const std::string name = MemoFileName(area->table.fileName, CreateVersion);
  const int err = WriteNewMemoFile(name, CreateVersion, MemoBlockSize, area->table.fileName);
  if (err != 0) {
    SetError(OsErrorCode(err, true), name + " [CreateMemofile()]");
    return false;
  }
  return true;
}

bool ZapMemofile() {
  WorkArea* area = CheckDbInUse("ZapMemofile");
  if (area == nullptr) return false;
  CloseMemofile();
  // The new file keeps the table's own dialect.
  const std::uint8_t version = GetMemoType();
  const std::string name = MemoFileName(area->table.fileName, version);
  const int err = WriteNewMemoFile(name, version, MemoBlockSize, area->table.fileName);
  if (err != 0) {
    SetError(OsErrorCode(err, true), name + " [CreateMemofile()]");
    return false;
  }
  return OpenMemofile() == 0;
}

std::int64_t MemoFileSize(const MemoFile& memo) {
  struct stat info {};
  if (memo.fd < 0 || ::fstat(memo.fd, &info) != 0) return -1;
  return info.st_size;
}

std::int64_t LockMemoPadAndSeekEOF(MemoFile& memo, const std::string& caller) {
  if (memo.shared && !memo.lockHeld) {
    bool locked = false;
    for (int attempt = 0; attempt < kMemoLockTries && !locked; ++attempt) {
      locked = OsLockRange(memo.fd, kMemoLockOffset, 1, LockKind::Exclusive) == 0;
    }
    if (!locked) {
      SetError(1017, memo.name + " [" + caller + "]");
      return 0;
    }
    memo.lockHeld = true;
  }
  const std::int64_t size = MemoFileSize(memo);
  if (size < 0) {
    SetError(OsErrorCode(errno), memo.name + " [LockMemoPadAndSeekEOF]");
    ReleaseMemoLock(memo);
    return 0;
  }
  if (memo.Dialect() == MemoDialect::Dbase3 && size == static_cast<std::int64_t>(kDbase3MemoHeaderSize)) {
    return size;
  }
  const std::int64_t block = memo.blockSize;
  const std::int64_t padded = (size + block - 1) / block * block;
  if (memo.Dialect() == MemoDialect::Dbase4) {
    const std::uint32_t head = MainHeaderRead(memo);
    memo.headIsChain = head >= 1 && head < std::max<std::int64_t>(1, padded / block);
  }
  if (padded > size) {
    const std::vector<char> zeros(static_cast<std::size_t>(padded - size), 0);
    if (const int err = WriteBytesAt(memo.fd, zeros.data(), zeros.size(), size); err != 0) {
      SetError(OsErrorCode(err, true), memo.name + " [LockMemoPadAndSeekEOF]");
      ReleaseMemoLock(memo);
      return 0;
    }
  }
  return padded;
}

void ReleaseMemoLock(MemoFile& memo) {
  if (!memo.lockHeld) return;
  memo.lockHeld = false;
  if (OsLockRange(memo.fd, kMemoLockOffset, 1, LockKind::Release) != 0) SetError(1018, memo.name);
}

std::uint32_t MainHeaderRead(const MemoFile& memo) {
  std::uint8_t bytes[4] = {};
  if (ReadBytesAt(memo.fd, bytes, 4, 0) != 4) return 0;
  return memo.Dialect() == MemoDialect::FoxPro ? Get32Be(bytes) : Get32Le(bytes);
}

bool MainHeaderWrite(MemoFile& memo, std::uint32_t value) {
  std::uint8_t bytes[4];
  if (memo.Dialect() == MemoDialect::FoxPro) {
    Put32Be(bytes, value);
  } else {
    Put32Le(bytes, value);
  }
  if (WriteBytesAt(memo.fd, bytes, 4, 0) != 0) {
    SetError(29, memo.name + " [MainHeaderWrite()]");
    return false;
  }
  return true;
}

bool UpdateMemoHeader(MemoFile& memo) {
  bool ok = true;
  const std::int64_t size = MemoFileSize(memo);
  if (size >= 0) {
    const std::int64_t block = memo.blockSize;
    const auto next = static_cast<std::uint32_t>((size + block - 1) / block);
    // A dBASE IV header that heads a chain of free runs keeps it; the end of
    // the file is found from the file size.
    const bool keep = memo.Dialect() == MemoDialect::Dbase4 && memo.headIsChain;
    if (!keep && !MainHeaderWrite(memo, next)) {
      TzErrorDetail = memo.name + " [UpdateMemoHeader()]";
      ok = false;
    }
  }
  ReleaseMemoLock(memo);
  return ok;
}

bool WriteGroupHeader(MemoFile& memo, std::int64_t offset, std::uint32_t dataLength) {
  std::uint8_t header[kBlockHeaderSize];
  if (memo.Dialect() == MemoDialect::FoxPro) {
    Put32Be(header, 1);
    Put32Be(header + 4, dataLength);
  } else {
    header[0] = 0xFF;
    header[1] = 0xFF;
    header[2] = 0x08;
    header[3] = 0x00;
    Put32Le(header + 4, dataLength + static_cast<std::uint32_t>(kBlockHeaderSize));
  }
  if (WriteBytesAt(memo.fd, header, kBlockHeaderSize, offset) != 0) {
    SetError(29, memo.name + " [WriteGroupHeader()]");
    return false;
  }
  return true;
}

namespace {

bool IsDbase4BlockHeader(const std::uint8_t* p) { return p[0] == 0xFF && p[1] == 0xFF && p[2] == 8 && p[3] == 0; }

}  // namespace

bool FitsDbase3Text(const std::string& data) {
  if (data.find('\0') != std::string::npos || data.find(static_cast<char>(kDefaultEndOfFile)) != std::string::npos) {
    return false;
  }
  return data.size() < 4 || !IsDbase4BlockHeader(reinterpret_cast<const std::uint8_t*>(data.data()));
}

std::uint32_t ReadGroupHeader(MemoFile& memo, std::int32_t block) {
  std::uint8_t header[kBlockHeaderSize];
  const std::int64_t offset = static_cast<std::int64_t>(block < 0 ? -block : block) * memo.blockSize;
  if (ReadBytesAt(memo.fd, header, kBlockHeaderSize, offset) != static_cast<std::int64_t>(kBlockHeaderSize)) {
    SetError(30, memo.name + " [ReadGroupHeader()]");
    return 0;
  }
  std::int64_t stored;
  if (memo.Dialect() == MemoDialect::FoxPro) {
    stored = static_cast<std::int64_t>(Get32Be(header + 4)) + static_cast<std::int64_t>(kBlockHeaderSize);
  } else if (IsDbase4BlockHeader(header)) {
    stored = Get32Le(header + 4);
  } else {
    return 0;
  }
  // The blocks the value really fills (at least one).
  return static_cast<std::uint32_t>(std::max<std::int64_t>(1, (stored + memo.blockSize - 1) / memo.blockSize));
}

bool LocateMemoValue(const MemoFile& memo, std::int32_t block, MemoValue& value) {
  const std::int64_t offset = static_cast<std::int64_t>(block < 0 ? -static_cast<std::int64_t>(block) : block) *
                              memo.blockSize;
  std::uint8_t header[kBlockHeaderSize] = {};
  const std::int64_t got = ReadBytesAt(memo.fd, header, kBlockHeaderSize, offset);
  if (memo.Dialect() == MemoDialect::FoxPro) {
    if (got != static_cast<std::int64_t>(kBlockHeaderSize)) return false;
    value.headered = true;
    value.dataStart = offset + static_cast<std::int64_t>(kBlockHeaderSize);
    value.length = Get32Be(header + 4);
  } else if (got == static_cast<std::int64_t>(kBlockHeaderSize) && IsDbase4BlockHeader(header)) {
    value.headered = true;
    value.dataStart = offset + static_cast<std::int64_t>(kBlockHeaderSize);
    const std::uint32_t stored = Get32Le(header + 4);
    value.length = stored >= kBlockHeaderSize ? stored - kBlockHeaderSize : 0;
  } else {
    if (got <= 0) return false;
    // dBASE III text: up to the first 0x1A (or zero byte) or the file end.
    value.headered = false;
    value.dataStart = offset;
    std::int64_t length = 0;
    char buffer[kMemoBufferSize];
    for (;;) {
      const std::int64_t n = ReadBytesAt(memo.fd, buffer, sizeof buffer, offset + length);
      if (n < 0) return false;
      const void* end = nullptr;
      for (std::int64_t i = 0; i < n; ++i) {
        if (buffer[i] == static_cast<char>(kDefaultEndOfFile) || buffer[i] == '\0') {
          end = buffer + i;
          break;
        }
      }
      if (end != nullptr) {
        length += static_cast<const char*>(end) - buffer;
        break;
      }
      length += n;
      if (n < static_cast<std::int64_t>(sizeof buffer)) break;
    }
    value.length = length;
  }
  // A length beyond the file end is cut to the bytes present.
  const std::int64_t size = MemoFileSize(memo);
  if (size >= 0 && value.dataStart + value.length > size) value.length = std::max<std::int64_t>(0, size - value.dataStart);
  return true;
}

bool ReadMemoBytes(const MemoFile& memo, const MemoValue& value, std::string& bytes) {
  bytes.assign(static_cast<std::size_t>(value.length), '\0');
  if (value.length == 0) return true;
  return ReadBytesAt(memo.fd, bytes.data(), bytes.size(), value.dataStart) == value.length;
}

void MemoReadTranslate(const WorkArea& area, char* data, std::size_t length) {
  if (area.table.readTranslate) area.table.readTranslate(data, length);
  if (area.table.oem) OemToAnsiBuffer(data, length);
}

void MemoWriteTranslate(const WorkArea& area, char* data, std::size_t length) {
  if (area.table.oem) AnsiToOemBuffer(data, length);
  if (area.table.writeTranslate) area.table.writeTranslate(data, length);
}

}  // namespace dbase
