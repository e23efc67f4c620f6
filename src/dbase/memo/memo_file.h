// The memo file of a work area: a file of fixed-size blocks beside the table
// that keeps the values of its memo fields, the record holding only the
// number of the block where a value begins. Three dialects, chosen by the
// table's version byte: dBASE III (".dbt", 512-byte blocks, text ended by
// 0x1A), dBASE IV (".dbt", blocks with an 8-byte header, a chain of free
// runs) and FoxPro (".fpt", big-endian block headers).
// This file holds the descriptor of each area's open memo file, opening,
// creating and closing, the block headers and the end-of-file protocol every
// write goes through. Reading and writing texts is in memo_text.h, block
// reuse in memo_blocks.h, copying and packing in memo_copy.h, byte streams in
// memo_stream.h; memo_unit.h fills the engine's MemoHooks.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "dbase/engine/work_areas.h"

namespace dbase {

enum class MemoDialect { Dbase3, Dbase4, FoxPro };

// Settings of the memo layer.
extern bool MemoWidthOn;
extern std::uint16_t MemoWidth;
// The most lines the memo-line buffer holds (at least 1): a memo read into
// it keeps its first MaxMemoLines lines.
extern std::uint16_t MaxMemoLines;
// 0xFFFF: the memo file opens for reading and writing (reading only when the
// table is read-only); any other value: its access bits (0 read only).
extern std::uint16_t MemoFileMode;

inline constexpr std::size_t kMemoBufferSize = 512;
inline constexpr std::size_t kBlockHeaderSize = 8;
// The memo lock: one byte of the memo file, taken around every write of a
// shared table.
inline constexpr std::int64_t kMemoLockOffset = 10;
inline constexpr int kMemoLockTries = 11;

// State of the byte stream of an area's memo (memo_stream.h).
struct BlobState {
  bool open = false;
  int mode = 0;  // 1 read, 2 write
  std::int32_t firstBlock = 0;
  std::int64_t dataStart = 0;
  std::uint32_t headerSize = 0;
  std::int64_t length = -1;  // -1 until known (dBASE III text)
  std::int64_t position = 0;
  int conversion = -1;  // -1 undecided, 0 none, 1 OEM <-> ANSI
  std::int64_t written = 0;  // bytes of data written so far
};

// The open memo file of one work area.
struct MemoFile {
  int fd = -1;
  std::string name;
  std::uint8_t version = 0;
  std::uint32_t blockSize = 512;
  bool lockHeld = false;
  // The table is shared with other programs: writes take the memo lock.
  bool shared = false;
  // dBASE IV: the header's first value heads a chain of free runs (decided
  // under the memo lock, kept current by the chain routines), so the header
  // update leaves it.
  bool headIsChain = false;
  // The stream of the engine's stream commands; a stream object of its own
  // (the dataset's blob streams) keeps its own state instead.
  BlobState stream;
  // A value is being written through a stream (at most one at a time: it
  // grows at the file's end).
  bool streamWriting = false;

  MemoDialect Dialect() const;
};

// The descriptor of each area (index = area number), present while the memo
// file is open.
extern std::array<std::unique_ptr<MemoFile>, kMaxWorkAreas + 1> MemoFiles;

MemoDialect DialectOfVersion(std::uint8_t version);
// Byte 0 of the current table's file when it is a memo version, else
// CreateVersion.
std::uint8_t GetMemoType();
// The memo file name of a table file for a version byte.
std::string MemoFileName(const std::string& tableFile, std::uint8_t version);

// Opens the memo file of the current area; 0 or the error code (also
// recorded).
int OpenMemofile();
void CloseMemofile();
// A new memo file for the current table with CreateVersion and MemoBlockSize.
bool CreateMemofile();
// An empty memo file in place of the current area's.
bool ZapMemofile();

// The current area and its memo file; records 215 (no table) or 1019 (no
// memo file) naming the operation and answers nullptr.
MemoFile* CurrentMemoFile(const std::string& operation);
WorkArea* MemoArea();

// File size (-1 when unknown).
std::int64_t MemoFileSize(const MemoFile& memo);
// Takes the memo lock (shared tables on a network), pads the file with zero
// bytes to a whole block and answers its size; a dBASE III file of exactly
// 513 bytes answers 513 (its first memo goes over the 0x1A at 512). 0 on
// failure (recorded).
std::int64_t LockMemoPadAndSeekEOF(MemoFile& memo, const std::string& caller);
// Next free block from the file size (dBASE IV: only while no free run is
// chained), then the memo lock released.
bool UpdateMemoHeader(MemoFile& memo);
bool MainHeaderWrite(MemoFile& memo, std::uint32_t value);
std::uint32_t MainHeaderRead(const MemoFile& memo);
// The block header at a block: FoxPro type 1 and data length; others
// FF FF 08 00 and data length + 8.
bool WriteGroupHeader(MemoFile& memo, std::int64_t offset, std::uint32_t dataLength);
// The blocks the memo at a block fills; 0 when it has no block header.
std::uint32_t ReadGroupHeader(MemoFile& memo, std::int32_t block);
void ReleaseMemoLock(MemoFile& memo);

// Where a value begins and how long it is: a FoxPro or dBASE IV style block
// header gives the length, dBASE III text runs to its 0x1A (or a zero byte).
// dBASE III text ends with two 0x1A bytes (the engine's readers stop at
// the first, other readers look for both).
inline constexpr char kDbase3TextEnd[] = "\x1A\x1A";
// Whether a value can be stored as dBASE III text, which readers take up to
// its first 0x1A (or zero byte): it holds neither and does not begin with
// the mark of a headered block. Any other value gets a block header.
bool FitsDbase3Text(const std::string& data);

struct MemoValue {
  std::int64_t dataStart = 0;
  std::int64_t length = 0;
  bool headered = false;
};
// false on a read fault (error recorded by the caller).
bool LocateMemoValue(const MemoFile& memo, std::int32_t block, MemoValue& value);
// The value's bytes as stored.
bool ReadMemoBytes(const MemoFile& memo, const MemoValue& value, std::string& bytes);

// The table's translation of memo text: the user procedure and the OEM code
// page, as for the record.
void MemoReadTranslate(const WorkArea& area, char* data, std::size_t length);
void MemoWriteTranslate(const WorkArea& area, char* data, std::size_t length);

}  // namespace dbase
