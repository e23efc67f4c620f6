// One memo of the current area as a byte stream, for values that are not
// plain text (and for the dataset classes): read, written, positioned. A
// written value gets a block header with its length in the dialects that
// have one; in a dBASE III file it is stored as dBASE III text (ended by two
// 0x1A) when it can be, else with a header that the engine's readers
// recognise. Blocks are answered positive, as other readers expect them.
// The commands without a state work on the work area's one stream; a
// caller that keeps streams of its own passes each its BlobState, so that
// every stream has its own position. One value is written at a time per
// memo file.
#pragma once

#include <cstdint>

#include "dbase/memo/memo_file.h"

namespace dbase {

// Conversion arguments of the read and write calls.
enum BlobConversion : int { kConvertIfText = 0, kConvert = 1, kNoConversion = 2 };

// Prepares the stream on the memo at block: mode 1 reads it, mode 2 writes a
// new value of size bytes (0 = not known: at the end of the file) in place of
// the memo at block (0 for none; dBASE IV reuses its blocks). resetConversion
// makes the text test decide again. Answers the first block, 0 on failure
// (also when another value of the file is being written: error 1007).
std::int32_t OpenBlob(bool resetConversion, std::int32_t block, int mode, std::int64_t size = 0);
std::int32_t OpenBlob(BlobState& stream, bool resetConversion, std::int32_t block, int mode, std::int64_t size = 0);
// At most count bytes from the position on; the count delivered.
std::int64_t ReadBlobStream(void* buffer, std::int64_t count, int conversion);
std::int64_t ReadBlobStream(BlobState& stream, void* buffer, std::int64_t count, int conversion);
// The count written (not beyond a size given to OpenBlob).
std::int64_t WriteBlobStream(const void* buffer, std::int64_t count, int conversion);
std::int64_t WriteBlobStream(BlobState& stream, const void* buffer, std::int64_t count, int conversion);
// Origin 0 from the start, 1 from the position, 2 from the end; the new
// position (never below 0).
std::int64_t SeekBlob(std::int64_t offset, int origin);
std::int64_t SeekBlob(BlobState& stream, std::int64_t offset, int origin);
// Finishes a write stream: the value gets its end (block header or the
// dBASE III end marks).
bool CloseBlob();
bool CloseBlob(BlobState& stream);

}  // namespace dbase
