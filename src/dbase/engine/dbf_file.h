// The lowest layer of the table engine: opening a .dbf file and decoding its
// header and field descriptors, creating table files (and their empty memo
// files), reading and writing single records and the deleted flag, keeping
// the header's record count and date current, and closing. It knows nothing
// of work areas, locks or indexes; every routine works on the DbfTable it is
// handed and reports failures through SetError (error_codes.h).
// The layout constants are in dbf_layout.h; the native record in dbf_native.h.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace dbase {

// One field of an open table, in file order.
struct FieldDef {
  std::string name;         // at most 10 characters (11 as stored), upper case
  char type = 'C';          // C, D, F, L, M, N (B, G, P read as M)
  std::uint8_t length = 0;  // bytes in the record
  std::uint8_t decimals = 0;
  std::uint16_t offset = 0;  // in the raw record; the first field at 1
};

// How a table file is opened: for writing or reading only, shared with other
// engine users or alone (an exclusive open is held by a lock on the file that
// shared opens respect too).
struct FileMode {
  bool write = true;
  bool exclusive = true;
  bool operator==(const FileMode&) const = default;
};

// Applied to the record bytes after the deleted flag (buffer, length).
using TranslateProc = std::function<void(char*, std::size_t)>;

// Modification state of an open table.
enum DbfState : int { kClosed = 0, kOpenUnchanged = 1, kRecordsChanged = 2, kRecordsAppended = 3 };

struct DbfTable {
  std::string fileName;   // as passed, with the default extension
  std::string tableName;  // without directory (at most 12 characters shown)
  int fd = -1;
  FileMode mode;
  std::array<std::uint8_t, 32> prolog{};
  std::uint8_t version = 0;
  bool hasMemo = false;
  bool dbase2 = false;
  bool level7 = false;
  std::uint32_t headerLength = 0;
  std::uint16_t recordLength = 0;
  std::vector<FieldDef> fields;
  std::string lastUpdate;  // YYYYMMDD
  std::uint32_t recordCount = 0;
  std::int64_t currentRecord = 0;
  bool eof = true;
  bool bof = true;
  int state = kClosed;
  std::string record;  // the raw record, recordLength bytes, ANSI text
  bool oem = true;
  TranslateProc readTranslate;
  TranslateProc writeTranslate;
  bool isVirtual = false;
  // Records read ahead in their stored bytes, for tables opened exclusively
  // (no other program can change them): records cacheFirst ..
  // cacheFirst + cacheCount - 1.
  std::vector<char> cache;
  std::int64_t cacheFirst = 0;
  std::int64_t cacheCount = 0;
  // When the block was read (steady clock, nanoseconds): a shared table
  // serves records from it only for a short time, as another program may
  // change them.
  std::int64_t cacheLoadedAt = 0;
  // The record count the file held at the last look (shared tables), and
  // when that was (0: never).
  std::uint32_t countOnDisk = 0;
  std::int64_t countCheckedAt = 0;
  // The record count the header claimed when the file holds another number
  // of whole records and the file's count was taken (-1 otherwise).
  std::int64_t claimedRecordCount = -1;
  // The native record as RecordToNative last made it and the record bytes
  // it made it from (while valid): a field whose native value is still the
  // same when the record is written back keeps the bytes it had, so a blank
  // number stays blank and an unknown logical stays unknown, unless a value
  // was assigned to it since (assigned, one flag per field): 0 put into a
  // blank number is written as 0. Code that reads other records and puts
  // the current one back puts this back too.
  struct ReadImage {
    std::vector<std::uint8_t> native;
    std::string record;
    std::vector<bool> assigned;
    bool valid = false;
  } image;

  int FieldCount() const { return static_cast<int>(fields.size()); }
  bool IsOpen() const { return fd >= 0 || isVirtual; }
};

// Settings of the table-file layer.
extern std::uint8_t CustomVersionPlain;
extern std::uint8_t CustomVersionMemo;
extern std::uint8_t CreateVersion;
extern std::uint8_t EndOfFileByte;
extern bool FlushAfterWrite;
extern bool RecountOnOpen;
extern std::uint16_t MemoBlockSize;
extern bool AnsiTables;
// The mode OpenDbf uses (read/write, exclusive unless the work-area layer
// chooses otherwise).
extern FileMode CurrentFileMode;

// Opens table.fileName (default extension "DBF") and fills the record.
bool OpenDbf(DbfTable& table);
// Creates the table file (and its memo file); the field list carries name,
// type, length and decimals. Answers success.
bool CreateDbf(const std::string& name, const std::vector<FieldDef>& fields);
// Writes the empty memo file of a table in the dialect of the version byte
// (0x83 dBASE III, 0xF5 FoxPro, others dBASE IV) with the block size (0: the
// MemoBlockSize setting); 0 or the errno value.
int WriteNewMemoFile(const std::string& memoName, std::uint8_t version, std::uint16_t blockSize,
                     const std::string& tableFile);
// Reads record n into the record buffer and makes it current.
bool GetDbfRecord(DbfTable& table, std::int64_t recordNumber);
// Writes the record buffer at record n; beyond the count appends.
bool PutDbfRecord(DbfTable& table, std::int64_t recordNumber);
// Takes the last record off the table (the file is cut after the record
// before it), for an append that could not be completed.
bool DropLastRecord(DbfTable& table);
// Writes only the deleted-flag byte of the record buffer at record n.
bool WriteDeleteFlag(DbfTable& table, std::int64_t recordNumber);
// Rewrites the prolog (and end-of-file byte after an append) when records
// were changed, and flushes the file.
bool FlushHeader(DbfTable& table);
// The header rewrite of FlushHeader without flushing the file to the disk.
bool WriteHeaderNow(DbfTable& table);
// FlushHeader, then closes the file and frees the buffers.
bool CloseDbf(DbfTable& table);
// Flushes the file's buffers to the disk.
void FlushFile(const DbfTable& table);

bool IsValidVersion(std::uint8_t version);
bool IsDbase2(std::uint8_t version);
bool IsLevel7(std::uint8_t version);
bool VersionHasMemo(std::uint8_t version);
// "FPT" for 0xF5 and 0x30, else "DBT"; an unaccepted byte uses CreateVersion.
std::string MemoFileExt(std::uint8_t version);
std::uint32_t SwapLong(std::uint32_t value);
std::uint16_t SwapWord(std::uint16_t value);

// The record count a shared table has on disk now: (file size - header
// length) / record length; the present count when the size is unknown.
std::uint32_t RecordCountOnDisk(const DbfTable& table);
// The same for a shared table, looked up afresh when look is set or the last
// look is more than a moment old (it also refreshes the read-ahead block's
// view of the count).
std::uint32_t SharedRecordCount(DbfTable& table, bool look);
// The table's file size in bytes (-1 when unknown).
std::int64_t DbfFileSize(const DbfTable& table);
// Applies the read translation (user procedure, then OEM -> ANSI) to the
// record buffer.
void TranslateForReading(DbfTable& table);
void TranslateForWriting(DbfTable& table);
// Whole-buffer positioned writes and reads: 0 or the errno value; the
// count read or -1.
int WriteBytesAt(int fd, const void* buffer, std::size_t size, std::int64_t offset);
std::int64_t ReadBytesAt(int fd, void* buffer, std::size_t size, std::int64_t offset);
// Puts today's date and the record count into a prolog.
void StampProlog(std::uint8_t* prolog, std::uint32_t recordCount, bool dbase2);
// Forgets the records read ahead and the record count looked up with them,
// so that the next read goes to the file (after a lock is taken or another
// program's change is seen).
void DropRecordCache(DbfTable& table);
// Today as YYYYMMDD.
std::string TodayStamp();

}  // namespace dbase
