// .dbf table files: open, create, record read and write, header rewrite,
// close.
#include "dbase/engine/dbf_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <ctime>

#include "dbase/engine/dbf_layout.h"
#include "dbase/engine/engine_code_page.h"
#include "dbase/engine/engine_hooks.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/file_names.h"
#include "dbase/engine/os_errors.h"
#include "dbase/engine/os_locks.h"

namespace dbase {

using namespace layout;

std::uint8_t CustomVersionPlain = 0;
std::uint8_t CustomVersionMemo = 0;
std::uint8_t CreateVersion = kVersionDbase4Memo;
std::uint8_t EndOfFileByte = kDefaultEndOfFile;
bool FlushAfterWrite = false;
bool RecountOnOpen = false;
std::uint16_t MemoBlockSize = 512;
bool AnsiTables = false;
FileMode CurrentFileMode{true, true};

namespace {

// How long a block read ahead from a shared table, and the record count
// looked up with it, stand for the file: a program stepping through the
// table reads each block once, while a record reached after a pause is read
// afresh with the changes other programs made meanwhile.
constexpr std::int64_t kSharedLookLifetimeNs = 10'000'000;

// The coarse monotonic clock: a few milliseconds of resolution serve here,
// and it costs a fraction of the precise one on every record read.
std::int64_t NowNs() {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec + 1;
}

bool Fresh(std::int64_t lookedAt) { return lookedAt != 0 && NowNs() - lookedAt < kSharedLookLifetimeNs; }

std::uint16_t Get16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t Get32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
void Put16(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Reads exactly size bytes at offset; the count read, or -1 (errno set).
std::int64_t ReadAt(int fd, void* buffer, std::size_t size, std::int64_t offset) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pread(fd, static_cast<char*>(buffer) + done, size - done, static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return static_cast<std::int64_t>(done);
}

// Writes all bytes at offset; 0 or the errno value.
int WriteAt(int fd, const void* buffer, std::size_t size, std::int64_t offset) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n =
        ::pwrite(fd, static_cast<const char*>(buffer) + done, size - done, static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return ENOSPC;
    done += static_cast<std::size_t>(n);
  }
  return 0;
}

std::string TwoDigits(int v) {
  std::string s = std::to_string(v);
  return s.size() < 2 ? "0" + s : s;
}

std::string StampOf(int year, int month, int day) {
  std::string y = std::to_string(year);
  while (y.size() < 4) y.insert(y.begin(), '0');
  return y + TwoDigits(month) + TwoDigits(day);
}

std::string UpperAscii(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string NotDbase(const std::string& name, const std::string& why, const char* tail) {
  return name + " is not a dBASE database." + why + tail;
}

void CloseFd(DbfTable& table) {
  if (table.fd >= 0) ::close(table.fd);
  table.fd = -1;
  table.state = kClosed;
  table.record.clear();
  table.fields.clear();
}

bool AcceptedOnOpen(char type) {
  switch (type) {
    case 'C':
    case 'D':
    case 'F':
    case 'L':
    case 'M':
    case 'N':
      return true;
    default:
      return false;
  }
}

// Decodes one descriptor's name: at most 11 bytes up to the first zero.
std::string DescriptorName(const std::uint8_t* p) {
  std::string name;
  for (std::size_t i = 0; i < kDescNameSize && p[i] != 0; ++i) name.push_back(static_cast<char>(p[i]));
  return UpperAscii(name);
}

}  // namespace

std::string TodayStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return StampOf(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

bool IsValidVersion(std::uint8_t version) {
  if (version != 0 && (version == CustomVersionPlain || version == CustomVersionMemo)) return true;
  switch (version) {
    case kVersionDbase2:
    case kVersionPlain:
    case kVersionDbase3Memo:
    case kVersionDbase4Memo:
    case kVersionFoxMemo:
    case kVersionLevel7:
    case kVersionLevel7Memo:
      return true;
    default:
      return false;
  }
}

bool IsDbase2(std::uint8_t version) {
  return version == kVersionDbase2 && CustomVersionPlain == 0 && CustomVersionMemo == 0;
}

bool IsLevel7(std::uint8_t version) {
  return (version == kVersionLevel7 || version == kVersionLevel7Memo) && CustomVersionPlain == 0 &&
         CustomVersionMemo == 0;
}

bool VersionHasMemo(std::uint8_t version) {
  if (CustomVersionPlain != 0 || CustomVersionMemo != 0) return version == CustomVersionMemo;
  return (version & 0x80) != 0;
}

std::string MemoFileExt(std::uint8_t version) {
  const std::uint8_t v = IsValidVersion(version) ? version : CreateVersion;
  return (v == kVersionFoxMemo || v == kVersionFoxBase) ? "FPT" : "DBT";
}

std::uint32_t SwapLong(std::uint32_t value) {
  return ((value & 0xFF) << 24) | ((value & 0xFF00) << 8) | ((value >> 8) & 0xFF00) | (value >> 24);
}

std::uint16_t SwapWord(std::uint16_t value) { return static_cast<std::uint16_t>((value << 8) | (value >> 8)); }

void FlushFile(const DbfTable& table) {
  if (table.fd >= 0) ::fdatasync(table.fd);
}

std::int64_t DbfFileSize(const DbfTable& table) {
  if (table.fd < 0) return -1;
  struct stat info {};
  if (::fstat(table.fd, &info) != 0) return -1;
  return info.st_size;
}

std::uint32_t SharedRecordCount(DbfTable& table, bool look) {
  if (!look && Fresh(table.countCheckedAt)) return table.countOnDisk;
  table.countOnDisk = RecordCountOnDisk(table);
  table.countCheckedAt = NowNs();
  return table.countOnDisk;
}

namespace {

bool RecordFollowsCount(const DbfTable& table) {
  // After the counted records stands the end-of-file byte, or another
  // record whose first byte is its deleted flag.
  char flag = 0;
  const std::int64_t at = table.headerLength + static_cast<std::int64_t>(table.recordCount) * table.recordLength;
  return ReadAt(table.fd, &flag, 1, at) == 1 && (flag == layout::kActiveMark || flag == layout::kDeletedMark);
}

}  // namespace

std::uint32_t RecordCountOnDisk(const DbfTable& table) {
  const std::int64_t size = DbfFileSize(table);
  if (size < 0 || table.recordLength == 0) return table.recordCount;
  if (size <= static_cast<std::int64_t>(table.headerLength)) return 0;
  return static_cast<std::uint32_t>((size - table.headerLength) / table.recordLength);
}

void TranslateForReading(DbfTable& table) {
  if (table.record.size() < 2) return;
  char* data = table.record.data() + 1;
  const std::size_t length = table.record.size() - 1;
  if (table.readTranslate) table.readTranslate(data, length);
  if (table.oem) OemToAnsiBuffer(data, length);
}

void TranslateForWriting(DbfTable& table) {
  if (table.record.size() < 2) return;
  char* data = table.record.data() + 1;
  const std::size_t length = table.record.size() - 1;
  if (table.oem) AnsiToOemBuffer(data, length);
  if (table.writeTranslate) table.writeTranslate(data, length);
}

namespace {

bool ReadDbase2Header(DbfTable& table, const std::string& messageName) {
  const std::int64_t size = DbfFileSize(table);
  if (size < static_cast<std::int64_t>(kDbase2HeaderSize)) {
    CloseFd(table);
    SetError(210, NotDbase(messageName, "(Header is less than 521 bytes)", " [Use/OpenDBF]"));
    return false;
  }
  const std::uint8_t* p = table.prolog.data();
  table.recordCount = Get16(p + kDbase2RecordCountOffset);
  table.recordLength = Get16(p + kDbase2RecordLengthOffset);
  table.headerLength = kDbase2HeaderSize;
  table.hasMemo = false;
  table.lastUpdate =
      StampOf(p[kDbase2YearOffset] + 1900, p[kDbase2MonthOffset], p[kDbase2DayOffset]);
  std::vector<std::uint8_t> area(kDbase2DescriptorArea);
  const std::int64_t got = ReadAt(table.fd, area.data(), area.size(), kDbase2PrologSize);
  if (got != static_cast<std::int64_t>(area.size())) {
    const int code = got < 0 ? OsErrorCode(errno) : 100;
    CloseFd(table);
    SetError(code, "Error reading " + table.fileName + " [Use/OpenDbf]");
    return false;
  }
  std::uint16_t offset = 1;
  for (int i = 0; i < kDbase2MaxFields; ++i) {
    const std::uint8_t* d = area.data() + i * kDbase2DescriptorSize;
    if (d[0] == kHeaderTerminator) return true;
    FieldDef field;
    field.name = DescriptorName(d);
    field.type = static_cast<char>(std::toupper(d[kDbase2DescTypeOffset]));
    field.length = d[kDbase2DescLengthOffset];
    field.decimals = d[kDbase2DescDecimalsOffset];
    field.offset = offset;
    offset = static_cast<std::uint16_t>(offset + field.length);
    if (!AcceptedOnOpen(field.type)) {
      const char type = static_cast<char>(d[kDbase2DescTypeOffset]);
      CloseFd(table);
      SetError(211, "Field: " + field.name + " [" + std::string(1, type) + "] in " + table.tableName +
                        " is not a valid field type");
      return false;
    }
    table.fields.push_back(field);
  }
  CloseFd(table);
  SetError(210, NotDbase(messageName, "(Number of fields is out of range)", " [Use/OpenDbf]"));
  return false;
}

bool ReadMainHeader(DbfTable& table, const std::string& messageName) {
  const std::uint8_t* p = table.prolog.data();
  table.hasMemo = VersionHasMemo(table.version);
  table.headerLength = Get16(p + kHeaderLengthOffset);
  table.recordLength = Get16(p + kRecordLengthOffset);
  const std::size_t descriptorSize = table.level7 ? kLevel7DescriptorSize : kDescriptorSize;
  const std::int64_t fixed = static_cast<std::int64_t>(kPrologSize) + (table.level7 ? kLevel7ExtensionSize : 0);
  const std::int64_t count =
      (static_cast<std::int64_t>(table.headerLength) - fixed) / static_cast<std::int64_t>(descriptorSize);
  if (count < 1 || count > kMaxFields) {
    CloseFd(table);
    SetError(210, NotDbase(messageName, " (Number of fields is out of range)", " [Use/OpenDbf]"));
    return false;
  }
  table.lastUpdate = StampOf(p[kYearOffset] + 1900, p[kMonthOffset], p[kDayOffset]);
  table.recordCount = Get32(p + kRecordCountOffset);
  if (table.level7) {
    std::uint8_t extension[kLevel7ExtensionSize];
    if (ReadAt(table.fd, extension, sizeof extension, kPrologSize) != static_cast<std::int64_t>(sizeof extension)) {
      CloseFd(table);
      SetError(100, "Error reading " + table.fileName + " [Use/OpenDbf]");
      return false;
    }
  }
  std::vector<std::uint8_t> area(static_cast<std::size_t>(table.headerLength - fixed));
  if (ReadAt(table.fd, area.data(), area.size(), fixed) != static_cast<std::int64_t>(area.size())) {
    CloseFd(table);
    SetError(100, "Error reading " + table.fileName + " [Use/OpenDbf]");
    return false;
  }
  std::uint16_t offset = 1;
  for (std::int64_t i = 0; i < count; ++i) {
    const std::uint8_t* d = area.data() + i * descriptorSize;
    if (d[0] == kHeaderTerminator) {
      if (i == 0) {
        CloseFd(table);
        SetError(222, "Error reading " + table.fileName + " [Use/OpenDbf]");
        return false;
      }
      break;
    }
    FieldDef field;
    field.name = DescriptorName(d);
    const char rawType = static_cast<char>(d[table.level7 ? kL7DescTypeOffset : kDescTypeOffset]);
    char type = static_cast<char>(std::toupper(static_cast<unsigned char>(rawType)));
    if (type == 'B' || type == 'G' || type == 'P') type = 'M';
    field.type = type;
    field.length = d[table.level7 ? kL7DescLengthOffset : kDescLengthOffset];
    field.decimals = d[table.level7 ? kL7DescDecimalsOffset : kDescDecimalsOffset];
    field.offset = offset;
    offset = static_cast<std::uint16_t>(offset + field.length);
    if (!AcceptedOnOpen(type)) {
      CloseFd(table);
      SetError(211, "Field: " + field.name + " [" + std::string(1, rawType) + "] in " + table.tableName +
                        " is not a valid field type");
      return false;
    }
    table.fields.push_back(field);
  }
  return true;
}

}  // namespace

bool OpenDbf(DbfTable& table) {
  table.fileName = ExistingOrNewName(table.fileName, "DBF", true);
  {
    std::string dir, name, ext;
    SplitPath(table.fileName, dir, name, ext);
    table.tableName = name + ext;
  }
  const std::string messageName = RemoveExt(table.fileName);
  table.fields.clear();
  table.mode = CurrentFileMode;
  const int flags = (table.mode.write ? O_RDWR : O_RDONLY) | O_CLOEXEC;
  table.fd = ::open(table.fileName.c_str(), flags);
  if (table.fd < 0) {
    const int code = OsErrorCode(errno);
    table.state = kClosed;
    SetError(code, "Failure to open " + table.fileName + " [USE/OpenDbf]");
    return false;
  }
  if (LockOpenMode(table.fd, table.mode.exclusive, table.mode.write) != 0) {
    CloseFd(table);
    SetError(32, "Failure to open " + table.fileName + " [USE/OpenDbf]");
    return false;
  }
  std::uint8_t prolog[kPrologSize];
  const std::int64_t got = ReadAt(table.fd, prolog, kPrologSize, 0);
  if (got != static_cast<std::int64_t>(kPrologSize)) {
    CloseFd(table);
    SetError(210, NotDbase(messageName, " (Prolog is less than 32 bytes)", " [USE/OpenDBF]"));
    return false;
  }
  std::memcpy(table.prolog.data(), prolog, kPrologSize);
  table.version = prolog[kVersionOffset];
  if (!IsValidVersion(table.version)) {
    CloseFd(table);
    SetError(210, NotDbase(messageName, "(Invalid version byte)", "+ [USE/OpenDBF]"));
    return false;
  }
  table.dbase2 = IsDbase2(table.version);
  table.level7 = IsLevel7(table.version);
  const bool ok = table.dbase2 ? ReadDbase2Header(table, messageName) : ReadMainHeader(table, messageName);
  if (!ok) return false;
  // A record shorter than its fields would put field reads beyond the record.
  const FieldDef& last = table.fields.back();
  if (table.recordLength < 1 || static_cast<std::uint32_t>(last.offset) + last.length > table.recordLength) {
    CloseFd(table);
    SetError(210, NotDbase(messageName, " (Record length does not cover the fields)", " [Use/OpenDbf]"));
    return false;
  }
  table.record.assign(table.recordLength, ' ');
  table.oem = !AnsiTables;
  if (RecountOnOpen) table.recordCount = RecordCountOnDisk(table);
  // A header that counts more records than the file holds (a write cut
  // short) would have every step beyond the last whole record fail and an
  // append land far beyond the end; one that counts fewer (a program that
  // appended and ended before it wrote the header) would have the next
  // append write over the records after its count. Either way the file's
  // own count of whole records is taken.
  table.claimedRecordCount = -1;
  if (const std::uint32_t onDisk = RecordCountOnDisk(table);
      table.recordCount > onDisk || (table.recordCount < onDisk && RecordFollowsCount(table))) {
    table.claimedRecordCount = table.recordCount;
    table.recordCount = onDisk;
  }
  if (table.recordCount < 1) {
    table.currentRecord = 0;
    table.eof = table.bof = true;
  } else {
    table.currentRecord = 1;
    table.eof = table.bof = false;
  }
  table.state = kOpenUnchanged;
  return true;
}

void DropRecordCache(DbfTable& table) {
  table.cache.clear();
  table.cacheFirst = 0;
  table.cacheCount = 0;
  table.cacheLoadedAt = 0;
  table.countCheckedAt = 0;
}

namespace {

// Bytes read ahead at a time.
constexpr std::size_t kReadAheadBytes = 64 * 1024;
// Serves the record from the read-ahead block, reading a new block around it
// when needed; false when the plain read must do. A shared table's block is
// read with one look at the file's record count (another program's
// appends) and serves for a short time only (its changes).
bool ReadCached(DbfTable& table, std::int64_t recordNumber) {
  if (table.isVirtual || table.recordLength == 0) return false;
  const bool shared = !table.mode.exclusive;
  const std::int64_t length = table.recordLength;
  const bool inBlock = recordNumber >= table.cacheFirst && recordNumber < table.cacheFirst + table.cacheCount;
  if (!inBlock || (shared && !Fresh(table.cacheLoadedAt))) {
    const std::int64_t perBlock = std::max<std::int64_t>(1, static_cast<std::int64_t>(kReadAheadBytes) / length);
    // Moving backwards reads the block that ends at the record.
    std::int64_t first = recordNumber;
    if (recordNumber < table.cacheFirst) first = std::max<std::int64_t>(1, recordNumber - perBlock + 1);
    std::int64_t available = table.recordCount;
    if (shared) available = std::min<std::int64_t>(available, SharedRecordCount(table, true));
    const std::int64_t count = std::min<std::int64_t>(perBlock, available - first + 1);
    if (count < 1 || recordNumber >= first + count) {
      DropRecordCache(table);
      return false;
    }
    table.cache.resize(static_cast<std::size_t>(count * length));
    const std::int64_t got =
        ReadAt(table.fd, table.cache.data(), table.cache.size(), table.headerLength + (first - 1) * length);
    if (got != static_cast<std::int64_t>(table.cache.size())) {
      DropRecordCache(table);
      return false;
    }
    table.cacheFirst = first;
    table.cacheCount = count;
    table.cacheLoadedAt = shared ? NowNs() : 0;
  }
  std::memcpy(table.record.data(), table.cache.data() + (recordNumber - table.cacheFirst) * length,
              static_cast<std::size_t>(length));
  return true;
}

// Keeps the read-ahead block equal to the file after a write of bytes at
// the start of a record.
void UpdateCache(DbfTable& table, std::int64_t recordNumber, const char* bytes, std::size_t size) {
  if (recordNumber < table.cacheFirst || recordNumber >= table.cacheFirst + table.cacheCount) return;
  std::memcpy(table.cache.data() + (recordNumber - table.cacheFirst) * table.recordLength, bytes, size);
}

}  // namespace

bool GetDbfRecord(DbfTable& table, std::int64_t recordNumber) {
  if (recordNumber < 1 || recordNumber > static_cast<std::int64_t>(table.recordCount)) {
    SetError(212, "Invalid record number = " + std::to_string(recordNumber) + " (" + table.fileName +
                      ")  [GetDbfRecord]");
    return false;
  }
  table.eof = table.bof = false;
  if (table.isVirtual) {
    if (VirtualFileHook) VirtualFileHook(kVfRead, static_cast<std::int32_t>(recordNumber));
    return TzError == 0;
  }
  if (ReadCached(table, recordNumber)) {
    table.currentRecord = recordNumber;
    TranslateForReading(table);
    return true;
  }
  const std::int64_t offset = table.headerLength + (recordNumber - 1) * table.recordLength;
  const std::int64_t got = ReadAt(table.fd, table.record.data(), table.recordLength, offset);
  if (got < 0) {
    table.eof = true;
    SetError(OsErrorCode(errno), "File:  " + table.fileName + "  [GetDbfRecord]");
    return false;
  }
  if (got < table.recordLength) {
    SetError(213, "File:  " + table.fileName + "  [GetDbfRecord]");
    return false;
  }
  table.currentRecord = recordNumber;
  TranslateForReading(table);
  return true;
}

namespace {

// The record number a write goes to: beyond the count is an append.
std::int64_t WriteTarget(const DbfTable& table, std::int64_t recordNumber, bool& append) {
  append = recordNumber > static_cast<std::int64_t>(table.recordCount);
  return append ? static_cast<std::int64_t>(table.recordCount) + 1 : recordNumber;
}

void NoteWrite(DbfTable& table, std::int64_t target, bool append) {
  if (append) {
    table.recordCount = static_cast<std::uint32_t>(target);
    table.currentRecord = target;
    table.state = kRecordsAppended;
    // The file's count as last seen grows with this program's own append.
    table.countOnDisk = std::max(table.countOnDisk, table.recordCount);
  } else if (table.state != kRecordsAppended) {
    table.state = kRecordsChanged;
  }
}

}  // namespace

bool PutDbfRecord(DbfTable& table, std::int64_t recordNumber) {
  bool append = false;
  const std::int64_t target = WriteTarget(table, recordNumber, append);
  if (target < 1) {
    SetError(212, "Invalid record number = " + std::to_string(recordNumber) + " (" + table.fileName +
                      ")  [Replace/Append/PutDbfRecord]");
    return false;
  }
  if (table.isVirtual) {
    // The list decides where a new record goes (not always at the end) and
    // keeps the count and the current record itself.
    if (!VirtualFileHook) return false;
    VirtualFileHook(kVfWrite, static_cast<std::int32_t>(target));
    if (TzError != 0) return false;
    if (append) {
      table.state = kRecordsAppended;
    } else if (table.state != kRecordsAppended) {
      table.state = kRecordsChanged;
    }
    return true;
  }
  const std::int64_t offset = table.headerLength + (target - 1) * table.recordLength;
  TranslateForWriting(table);
  const int err = WriteAt(table.fd, table.record.data(), table.recordLength, offset);
  if (err == 0) UpdateCache(table, target, table.record.data(), table.recordLength);
  TranslateForReading(table);
  if (err != 0) {
    SetError(OsErrorCode(err, true), "File:  " + table.fileName + " [Replace/Append/PutDbfRecord]");
    return false;
  }
  NoteWrite(table, target, append);
  if (FlushAfterWrite) {
    if (append) return FlushHeader(table);
    FlushFile(table);
  }
  return true;
}

bool DropLastRecord(DbfTable& table) {
  if (table.isVirtual || table.fd < 0 || table.recordCount == 0) return false;
  const std::uint32_t count = table.recordCount - 1;
  const std::int64_t end = table.headerLength + static_cast<std::int64_t>(count) * table.recordLength;
  if (::ftruncate(table.fd, static_cast<off_t>(end)) != 0) {
    SetError(OsErrorCode(errno, true), "File:  " + table.fileName + " [Append/DropLastRecord]");
    return false;
  }
  DropRecordCache(table);
  table.recordCount = count;
  table.countOnDisk = count;
  table.countCheckedAt = 0;
  if (table.currentRecord > static_cast<std::int64_t>(count)) table.currentRecord = static_cast<std::int64_t>(count) + 1;
  // The header takes the count and the end-of-file byte follows the last
  // record, as after an append.
  table.state = kRecordsAppended;
  return WriteHeaderNow(table);
}

bool WriteDeleteFlag(DbfTable& table, std::int64_t recordNumber) {
  bool append = false;
  const std::int64_t target = WriteTarget(table, recordNumber, append);
  if (target < 1) {
    SetError(212, "Invalid record number = " + std::to_string(recordNumber) + " (" + table.fileName +
                      ")  [DeleteRec/RecallRec]");
    return false;
  }
  const std::int64_t offset = table.headerLength + (target - 1) * table.recordLength;
  const int err = WriteAt(table.fd, table.record.data(), 1, offset);
  if (err == 0) UpdateCache(table, target, table.record.data(), 1);
  if (err != 0) {
    SetError(OsErrorCode(err, true), "File:  " + table.fileName + " [DeleteRec/RecallRec]");
    return false;
  }
  NoteWrite(table, target, append);
  if (FlushAfterWrite) FlushFile(table);
  return true;
}

namespace {

// Rewrites the prolog with today's date and the record count; after an
// append also the end-of-file byte. 0 or the errno value.
int RewriteHeader(DbfTable& table) {
  // Another program sharing the table may have appended records since this
  // one counted; its count must not be written back smaller.
  if (!table.mode.exclusive) table.recordCount = std::max(table.recordCount, RecordCountOnDisk(table));
  std::uint8_t* p = table.prolog.data();
  if (!table.dbase2) {
    std::uint8_t foreign[kForeignBytesSize];
    if (ReadAt(table.fd, foreign, sizeof foreign, kForeignBytesOffset) == static_cast<std::int64_t>(sizeof foreign)) {
      std::memcpy(p + kForeignBytesOffset, foreign, sizeof foreign);
    }
  }
  StampProlog(p, table.recordCount, table.dbase2);
  int err = WriteAt(table.fd, p, table.dbase2 ? kDbase2PrologSize : kPrologSize, 0);
  if (err == 0 && table.state == kRecordsAppended) {
    const std::int64_t end =
        table.headerLength + static_cast<std::int64_t>(table.recordCount) * table.recordLength;
    err = WriteAt(table.fd, &EndOfFileByte, 1, end);
  }
  if (err == 0) table.lastUpdate = TodayStamp();
  return err;
}

}  // namespace

bool WriteHeaderNow(DbfTable& table) {
  if (table.isVirtual || table.fd < 0) return true;
  if (table.state == kRecordsChanged || table.state == kRecordsAppended) {
    const int err = RewriteHeader(table);
    if (err != 0) {
      SetError(OsErrorCode(err, true), "File:  " + table.fileName + " [CloseDbf(" + table.fileName + ")]");
      return false;
    }
    table.state = kOpenUnchanged;
  }
  return true;
}

bool FlushHeader(DbfTable& table) {
  if (!WriteHeaderNow(table)) return false;
  FlushFile(table);
  return true;
}

int WriteBytesAt(int fd, const void* buffer, std::size_t size, std::int64_t offset) {
  return WriteAt(fd, buffer, size, offset);
}

std::int64_t ReadBytesAt(int fd, void* buffer, std::size_t size, std::int64_t offset) {
  return ReadAt(fd, buffer, size, offset);
}

void StampProlog(std::uint8_t* prolog, std::uint32_t recordCount, bool dbase2) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  if (dbase2) {
    Put16(prolog + kDbase2RecordCountOffset, recordCount);
    prolog[kDbase2MonthOffset] = static_cast<std::uint8_t>(local.tm_mon + 1);
    prolog[kDbase2DayOffset] = static_cast<std::uint8_t>(local.tm_mday);
    prolog[kDbase2YearOffset] = static_cast<std::uint8_t>(local.tm_year);
  } else {
    prolog[kYearOffset] = static_cast<std::uint8_t>(local.tm_year);
    prolog[kMonthOffset] = static_cast<std::uint8_t>(local.tm_mon + 1);
    prolog[kDayOffset] = static_cast<std::uint8_t>(local.tm_mday);
    Put32(prolog + kRecordCountOffset, recordCount);
  }
}

bool CloseDbf(DbfTable& table) {
  if (table.fd < 0) {
    table.state = kClosed;
    return true;
  }
  bool ok = FlushHeader(table);
  if (::close(table.fd) != 0 && ok) {
    SetError(OsErrorCode(errno, true), "File:  " + table.fileName + " [CloseDbf(" + table.fileName + ")]");
    ok = false;
  }
  table.fd = -1;
  table.state = kClosed;
  table.record.clear();
  table.fields.clear();
  DropRecordCache(table);
  return ok;
}

namespace {

bool AcceptedOnCreate(char type, std::uint8_t version) {
  if (AcceptedOnOpen(type)) return true;
  return (type == 'B' || type == 'G' || type == 'P') &&
         (version == kVersionDbase4Memo || version == kVersionLevel7Memo);
}

}  // namespace

int WriteNewMemoFile(const std::string& memoName, std::uint8_t version, std::uint16_t blockSize,
                     const std::string& tableFile) {
  std::vector<std::uint8_t> header;
  const std::uint16_t block = blockSize == 0 ? (MemoBlockSize == 0 ? 512 : MemoBlockSize) : blockSize;
  if (version == kVersionDbase3Memo) {
    header.assign(kDbase3MemoHeaderSize, 0);
    header[0] = 1;
    header[kMemoHeaderBlock] = kDefaultEndOfFile;
  } else if (version == kVersionFoxMemo || version == kVersionFoxBase) {
    header.assign(kMemoHeaderBlock, 0);
    const std::uint32_t next = 511 / block + 1;
    header[0] = static_cast<std::uint8_t>(next >> 24);
    header[1] = static_cast<std::uint8_t>(next >> 16);
    header[2] = static_cast<std::uint8_t>(next >> 8);
    header[3] = static_cast<std::uint8_t>(next);
    header[6] = static_cast<std::uint8_t>(block >> 8);
    header[7] = static_cast<std::uint8_t>(block);
  } else {
    header.assign(kDbase4MemoHeaderSize, 0);
    Put32(header.data(), 1);
    std::string dir, name, ext;
    SplitPath(tableFile, dir, name, ext);
    for (std::size_t i = 0; i < 8 && i < name.size(); ++i) header[8 + i] = static_cast<std::uint8_t>(name[i]);
    Put16(header.data() + 18, 0x0102);
    Put16(header.data() + 20, block);
  }
  const int fd = ::open(memoName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return errno;
  int err = WriteAt(fd, header.data(), header.size(), 0);
  if (::close(fd) != 0 && err == 0) err = errno;
  return err;
}

bool CreateDbf(const std::string& name, const std::vector<FieldDef>& definitions) {
  const std::uint8_t requested =
      (CustomVersionPlain != 0 || CustomVersionMemo != 0) ? kVersionDbase4Memo : CreateVersion;
  const bool level7 = requested == kVersionLevel7Memo;
  const std::size_t descriptorSize = level7 ? kLevel7DescriptorSize : kDescriptorSize;
  const std::size_t fieldCount = definitions.size();
  bool valid = fieldCount >= 1 && fieldCount <= static_cast<std::size_t>(kMaxFields);
  const std::size_t headerLength = fieldCount * descriptorSize + kPrologSize + 1 + (level7 ? kLevel7ExtensionSize : 0);
  std::vector<std::uint8_t> header(headerLength, 0);
  header.back() = kHeaderTerminator;
  Put16(header.data() + kHeaderLengthOffset, static_cast<std::uint32_t>(headerLength));
  const std::size_t firstDescriptor = kPrologSize + (level7 ? kLevel7ExtensionSize : 0);
  if (level7) std::memcpy(header.data() + kPrologSize, kLevel7LanguageDriver, 8);
  bool memo = false;
  std::uint32_t recordLength = 1;
  for (std::size_t i = 0; valid && i < fieldCount; ++i) {
    const FieldDef& def = definitions[i];
    char type = static_cast<char>(std::toupper(static_cast<unsigned char>(def.type)));
    if (!AcceptedOnCreate(type, requested)) {
      valid = false;
      break;
    }
    if (type == 'B' || type == 'G' || type == 'M' || type == 'P') memo = true;
    if (type == 'F' && requested == kVersionDbase3Memo) type = 'N';
    std::uint8_t length = def.length;
    std::uint8_t decimals = def.decimals;
    if (type == 'C' || type == 'F' || type == 'N') {
      if (length == 0) {
        valid = false;
        break;
      }
    } else if (type == 'D') {
      length = 8;
    } else if (type == 'L') {
      length = 1;
    } else {
      length = 10;
    }
    if (type != 'N' && type != 'F') decimals = 0;
    std::string fieldName = UpperAscii(def.name);
    const std::size_t first = fieldName.find_first_not_of(' ');
    fieldName = first == std::string::npos ? std::string() : fieldName.substr(first);
    fieldName = fieldName.substr(0, fieldName.find_last_not_of(' ') + 1).substr(0, 10);
    std::uint8_t* d = header.data() + firstDescriptor + i * descriptorSize;
    std::memcpy(d, fieldName.data(), fieldName.size());
    d[level7 ? kL7DescTypeOffset : kDescTypeOffset] = static_cast<std::uint8_t>(type);
    d[level7 ? kL7DescLengthOffset : kDescLengthOffset] = length;
    d[level7 ? kL7DescDecimalsOffset : kDescDecimalsOffset] = decimals;
    recordLength += length;
  }
  if (recordLength > 0xFFFF) valid = false;
  if (!valid) {
    SetError(211, "Invalid dBASE field definition [CreateDBF]");
    return false;
  }
  std::uint8_t version;
  if (CustomVersionPlain != 0 || CustomVersionMemo != 0) {
    version = memo ? CustomVersionMemo : CustomVersionPlain;
  } else if (memo) {
    version = requested;
  } else {
    version = level7 ? kVersionLevel7 : kVersionPlain;
  }
  header[kVersionOffset] = version;
  Put16(header.data() + kRecordLengthOffset, recordLength);

  DbfTable table;
  table.fileName = ExistingOrNewName(name, "DBF", true);
  const int fd = ::open(table.fileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    SetError(OsErrorCode(errno, true), "Error writing " + table.fileName + ". [CreateDbf]");
    return false;
  }
  table.fd = fd;
  int err = WriteAt(fd, header.data(), header.size(), 0);
  if (err == 0) {
    std::memcpy(table.prolog.data(), header.data(), kPrologSize);
    table.version = version;
    table.headerLength = static_cast<std::uint32_t>(headerLength);
    table.recordLength = static_cast<std::uint16_t>(recordLength);
    table.recordCount = 0;
    table.state = kRecordsAppended;
    err = RewriteHeader(table);
  }
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err != 0) {
    SetError(OsErrorCode(err, true), "Error writing " + table.fileName + ". [CreateDbf]");
    return false;
  }
  if (memo) {
    const int memoErr = WriteNewMemoFile(ExistingOrNewName(table.fileName, MemoFileExt(CreateVersion), false),
                                         CreateVersion, MemoBlockSize, table.fileName);
    if (memoErr != 0) {
      SetError(OsErrorCode(memoErr, true), "Cannot create memo file " + table.fileName + " [CreateDbf()]");
      return false;
    }
  }
  return true;
}

}  // namespace dbase
